// Random editing with a fixed seed: thousands of sequences of typed
// characters, keys, palette commands, mouse selections, pastes, undo and
// redo on formulas from a small corpus. After every step the cursor path is
// whole, the lexeme text can be read, and the formula reaches a
// fixed point: text -> tree -> text -> tree -> text, the last two texts
// equal (the rebuild normalises, which may change the first). Undo and redo
// follow a model of the history kept from the texts the walk saw: every
// undo returns the formula before the edit it takes back, every redo the one
// after it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/tool_table.h"
#include "formula/layout/fake_canvas.h"
#include "formula/tests/env_test_util.h"

namespace formula {
namespace {

const char* const kCorpus[] = {
    "",
    "x+1=3",
    "2*x+3=7",
    "@hor_frac$x+1$2#-@index_up$y$2#=5",
    "@system$x+y=5$x-y=1#",
    "@sqrroot$x#+@br_row_abs$-3#",
    "0,1(6)+@mixed_frac$2$1$3#",
    "@func$sin$x#*@func$cos$x#=1",
    "x@spec$blng#@interval$0$1$-2$5#",
    "(a+b)*(a-b)=@index_up$a$2#-@index_up$b$2#",
    "x=1@#y=2",
    "@root$3$x#+@lim$x$x$0#",
    "@union$x<1$x>2#",
    "5%*x=12,5",
};

const char kTyped[] = "0123456789xyab+-*=<>()/,^_&|: %;.tgln[";
const int kKeys[] = {vk::Back, vk::Delete, vk::Return, vk::Home, vk::End,
                     vk::Left, vk::Right,  vk::Up,     vk::Down, vk::Insert};

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed)
        : m_random(seed)
    {
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    // One step; a short description of it for the failure message.
    std::string Step(CFormulaEnv& env)
    {
        const int kind = Pick(100);
        if (kind < 45) {
            const char ch = kTyped[Pick(static_cast<int>(sizeof kTyped - 1))];
            env.OnChar(ch);
            return std::string("char ") + ch;
        }
        if (kind < 75) {
            const int key = kKeys[Pick(static_cast<int>(std::size(kKeys)))];
            env.OnKeyDown({key});
            return "key " + std::to_string(key);
        }
        if (kind < 82) {
            const ToolInfo& tool = Tools()[static_cast<std::size_t>(Pick(static_cast<int>(Tools().size())))];
            env.InsertTool(tool.lexType);
            return "tool " + std::to_string(tool.lexType);
        }
        if (kind < 88) {
            const Box box = env.Root().GetBox();
            const Point from{box.x + Pick(box.width + 1), box.y + Pick(box.height + 1)};
            const Point to{box.x + Pick(box.width + 1), box.y + Pick(box.height + 1)};
            env.OnMouseDown(from);
            env.OnMouseMove(to, true);
            if (Pick(2) == 0) {
                env.OnMouseUp(to);
            }
            return "mouse";
        }
        if (kind < 92) {
            const std::string text = kCorpus[Pick(static_cast<int>(std::size(kCorpus)))];
            env.PasteText(text);
            return "paste " + text;
        }
        if (kind < 96) {
            m_answer = env.Undo();
            return "undo";
        }
        m_answer = env.Redo();
        return "redo";
    }

    // What the last undo or redo answered.
    bool Answer() const { return m_answer; }

private:
    std::mt19937 m_random;
    bool m_answer = false;
};

// The history as a user sees it: the formulas before and after each edit
// not undone (the newest is the formula on screen), and the formulas after
// each undone edit, the next one to redo last. Built from the texts alone.
struct HistoryModel {
    std::vector<std::string> done;
    std::vector<std::string> undone;

    explicit HistoryModel(std::string start) { done.push_back(std::move(start)); }

    // An edit from the newest formula to the text; one that changed nothing
    // is no step.
    void Edit(const std::string& text)
    {
        if (text != done.back()) {
            done.push_back(text);
            undone.clear();
        }
    }
    bool Undo()
    {
        if (done.size() < 2) {
            return false;
        }
        undone.push_back(done.back());
        done.pop_back();
        return true;
    }
    bool Redo()
    {
        if (undone.empty()) {
            return false;
        }
        done.push_back(undone.back());
        undone.pop_back();
        return true;
    }
};

// The text after a rebuild of the text's formula (normalised on the way);
// the tree itself may fail.
std::string Rebuilt(const std::string& text)
{
    CFormulaEnv env;
    EnvError error;
    if (!env.SetLexemText(text, error)) {
        return "<unreadable: " + error.message + ">";
    }
    env.UseOperationTree(true);
    env.RebuildTree();
    return env.GetLexemText();
}

TEST(EditFuzz, RandomEditingKeepsTheFormulaWhole)
{
    constexpr int kSequences = 2000;
    constexpr int kSteps = 25;
    Fuzzer fuzzer(20240607u);
    FakeCanvas canvas;
    int trees = 0;
    for (int sequence = 0; sequence < kSequences; ++sequence) {
        test::EditorFixture f(kCorpus[fuzzer.Pick(static_cast<int>(std::size(kCorpus)))]);
        SetSchoolClass(fuzzer.Pick(4) == 0 ? 7 + fuzzer.Pick(5) : 0);
        std::string log = f.env.GetLexemText();
        HistoryModel history(log);
        for (int step = 0; step < kSteps; ++step) {
            if (f.env.LayoutStale()) {
                f.env.Layout(canvas);
            }
            const std::string what = fuzzer.Step(f.env);
            log += " | " + what;
            SCOPED_TRACE("sequence " + std::to_string(sequence) + ": " + log);
            ASSERT_TRUE(test::PathIsWhole(f.env));
            const std::string text = f.env.GetLexemText();
            if (what == "undo") {
                ASSERT_EQ(fuzzer.Answer(), history.Undo());
            } else if (what == "redo") {
                ASSERT_EQ(fuzzer.Answer(), history.Redo());
            } else {
                history.Edit(text);
            }
            ASSERT_EQ(text, history.done.back());
            ASSERT_EQ(f.env.CanUndo(), history.done.size() > 1);
            ASSERT_EQ(f.env.CanRedo(), !history.undone.empty());
            CFormulaEnv copy;
            EnvError error;
            ASSERT_TRUE(copy.SetLexemText(text, error)) << text << ": " << error.message;
            const std::string once = Rebuilt(text);
            ASSERT_EQ(Rebuilt(once), once) << "from " << text;
            trees += copy.IsFormulaValid() ? 1 : 0;
        }
        f.env.SetFocus(true);
        f.env.Draw(canvas);
        canvas.ClearCalls();

        SCOPED_TRACE("sequence " + std::to_string(sequence) + ": " + log);
        // Undo then redo gives back the same text.
        const std::string last = f.env.GetLexemText();
        if (f.env.Undo()) {
            ASSERT_TRUE(f.env.Redo());
            ASSERT_EQ(f.env.GetLexemText(), last);
        }
        // All the way back to the start and forward again, through the same
        // formulas.
        const std::vector<std::string> states = history.done;
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(f.env.Undo());
            ASSERT_EQ(f.env.GetLexemText(), states[i - 1]);
        }
        ASSERT_FALSE(f.env.Undo());
        ASSERT_EQ(f.env.GetLexemText(), states.front());
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(f.env.Redo());
            ASSERT_EQ(f.env.GetLexemText(), states[i]);
        }
        ASSERT_EQ(f.env.GetLexemText(), last);
    }
    SetSchoolClass(0);
    // The walk reaches formulas with trees, not only broken ones.
    EXPECT_GT(trees, kSequences);
}

}  // namespace
}  // namespace formula
