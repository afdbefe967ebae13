// The formula environment: modes and their objects, the three texts, the
// operation tree, palette commands, the depth limit, layout and caret, the
// message texts and the debug log.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/debug_log.h"
#include "formula/env/tool_table.h"
#include "formula/env/undo_history.h"
#include "formula/layout/fake_canvas.h"
#include "formula/model/chars.h"
#include "formula/model/messages.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/env_test_util.h"
#include "testsupport/temp_dir.h"

namespace formula {
namespace {

using test::EditorFixture;
using test::Type;

std::string SetText(CFormulaEnv& env, std::string_view text)
{
    EnvError error;
    env.SetLexemText(text, error);
    return error.message;
}

TEST(FormulaEnv, ModesCreateAndDestroyTheirObjects)
{
    CFormulaEnv env;
    EXPECT_EQ(env.Mode(), FormulaMode::None);
    EXPECT_EQ(env.Root().GetRowCount(), 1);
    SetText(env, "x+1=3");

    ASSERT_TRUE(env.SetEditorMode());
    EXPECT_EQ(env.Mode(), FormulaMode::Editor);
    EXPECT_NE(env.Editor(), nullptr);
    EXPECT_NE(env.Selection(), nullptr);
    EXPECT_NE(env.UndoHistory(), nullptr);
    EXPECT_EQ(env.TreeRoot(), nullptr);

    ASSERT_TRUE(env.SetTransformerMode());
    EXPECT_EQ(env.Mode(), FormulaMode::Transformer);
    EXPECT_EQ(env.Editor(), nullptr);
    EXPECT_NE(env.Selection(), nullptr);
    EXPECT_EQ(env.UndoHistory(), nullptr);
    EXPECT_NE(env.TreeRoot(), nullptr);

    ASSERT_TRUE(env.SetViewerMode());
    EXPECT_EQ(env.Mode(), FormulaMode::Viewer);
    EXPECT_EQ(env.Editor(), nullptr);
    EXPECT_EQ(env.Selection(), nullptr);
    EXPECT_EQ(env.TreeRoot(), nullptr);
    EXPECT_FALSE(env.HasTreeHolder());
    EXPECT_EQ(env.GetLexemText(), "x+1=3");

    ASSERT_TRUE(env.SetNoneMode());
    EXPECT_EQ(env.Mode(), FormulaMode::None);
    EXPECT_EQ(env.GetLexemText(), "");
}

TEST(FormulaEnv, SwitchingToTheActiveModeChangesNothing)
{
    EditorFixture f("ab");
    Type(f.env, "c{HOME}");
    const std::size_t snapshots = f.env.UndoHistory()->UndoList().size();
    EXPECT_TRUE(f.env.SetEditorMode());
    EXPECT_EQ(test::CaretText(f.env), "|ab*c");
    EXPECT_EQ(f.env.UndoHistory()->UndoList().size(), snapshots);
}

TEST(FormulaEnv, EmptyLinesAfterTheFormulaAreNotRead)
{
    for (const char* keys : {"2+3{ENTER}", "2+3{ENTER}{ENTER}"}) {
        SCOPED_TRACE(keys);
        EditorFixture f;
        Type(f.env, keys);
        EXPECT_NE(f.env.GetLexemText(), "2+3");
        EXPECT_EQ(f.env.GetAplanText(), "2+!3");
        EXPECT_TRUE(f.env.IsFormulaValid());
        CFormulaEnv plain;
        EnvError error;
        ASSERT_TRUE(plain.SetLexemText("2+3", error));
        EXPECT_EQ(f.env.GetMathMLText(), plain.GetMathMLText());
        ASSERT_TRUE(f.env.SetTransformerMode());
        EXPECT_EQ(f.env.GetLexemText(), "2+3");
    }
    // An empty line before the formula, or between two lines, stays a line.
    for (const char* keys : {"{ENTER}2+3", "1{ENTER}{ENTER}2"}) {
        SCOPED_TRACE(keys);
        EditorFixture f;
        Type(f.env, keys);
        EXPECT_FALSE(f.env.IsFormulaValid());
    }
}

TEST(FormulaEnv, TransformerModeNeedsATree)
{
    EditorFixture f("ab");
    EXPECT_FALSE(f.env.SetTransformerMode());
    EXPECT_EQ(f.env.Mode(), FormulaMode::Editor);
    EXPECT_FALSE(f.env.HasTreeHolder());
    EXPECT_NE(f.env.Editor(), nullptr);
    EXPECT_TRUE(test::PathIsWhole(f.env));
}

TEST(FormulaEnv, TextsAndTheirErrors)
{
    CFormulaEnv env;
    EnvError error;
    ASSERT_TRUE(env.SetLexemText("x=1@#y=2@#z", error));
    EXPECT_EQ(env.Root().GetRowCount(), 3);
    EXPECT_EQ(error.code, 0);

    EXPECT_FALSE(env.SetLexemText("@hor_frac$1#", error));
    EXPECT_EQ(error.code, 3);
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(env.GetLexemText(), "x=1@#y=2@#z");

    EXPECT_FALSE(env.SetLexemText("a$b", error));
    EXPECT_EQ(error.code, 5);
    EXPECT_EQ(error.message, GetMessageText(msg::UnsupportedSymbol));

    ASSERT_TRUE(env.SetAplanText("Sin(x)+!1", error));
    EXPECT_EQ(env.GetLexemText(), "@func$sin$x#+1");
    EXPECT_EQ(env.GetAplanText(), "Sin(x)+!1");

    ASSERT_TRUE(env.SetLexemText("@hor_frac$x$2#", error));
    const std::string mathml = env.GetMathMLText();
    EXPECT_NE(mathml.find("<math"), std::string::npos);
    EXPECT_NE(mathml.find("mfrac"), std::string::npos);
    ASSERT_TRUE(env.SetLexemText("", error));
    ASSERT_TRUE(env.SetMathMLText(mathml, error));
    EXPECT_EQ(env.GetLexemText(), "@hor_frac$x$2#");
    EXPECT_FALSE(env.SetMathMLText("<math><mi>x</mi>", error));
    EXPECT_EQ(error.code, 2);
}

TEST(FormulaEnv, AplanIncompleteFlag)
{
    CFormulaEnv env;
    SetText(env, "x+1");
    EXPECT_FALSE(env.IsAplanIncomplete());
    SetText(env, "@root$3$x#");
    EXPECT_TRUE(env.IsAplanIncomplete());
    bool incomplete = false;
    env.GetAplanText(&incomplete);
    EXPECT_TRUE(incomplete);
}

TEST(FormulaEnv, FailedRebuildReportsCode3AndKeepsTheFormula)
{
    CFormulaEnv env;
    SetText(env, "x+1");
    ASSERT_TRUE(env.SetTransformerMode());
    EnvError error;
    EXPECT_FALSE(env.SetLexemText("a=b=c", error));
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.message, GetMessageText(1009));
    EXPECT_EQ(env.GetLexemText(), "a=b=c");
    EXPECT_EQ(env.TreeRoot(), nullptr);
    EXPECT_FALSE(env.IsFormulaValid());
    EXPECT_TRUE(env.SetLexemText("a=b", error));
    EXPECT_NE(env.TreeRoot(), nullptr);
}

int CountSigns(const COperationNode& node, char sign)
{
    int count = 0;
    const COperatorSign* lexem = AsOperatorSign(node.Lexeme());
    if (lexem && !IsPresetSign(lexem) && lexem->Char() == sign) {
        ++count;
    }
    for (const auto& child : node.Children()) {
        count += CountSigns(*child, sign);
    }
    return count;
}

TEST(FormulaEnv, OperationTreeCases)
{
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"a=b=c", false},
        {"ab", false},
        {"2x", false},
        {"5%", true},
        {"x%", false},
        {"a+b+c", true},
        {"x@spec$blng#@interval$0$1$-2$5#", true},
        {"(x+1)*2=4", true},
        {"x+(1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EditorFixture f(c.text);
        EXPECT_EQ(f.env.IsFormulaValid(), c.valid);
        // The check leaves the formula and the mode as they were.
        EXPECT_EQ(f.env.GetLexemText(), c.text);
        EXPECT_EQ(f.env.Mode(), FormulaMode::Editor);
        EXPECT_EQ(f.env.SetTransformerMode(), c.valid);
    }
    CFormulaEnv env;
    SetText(env, "a+b+c");
    ASSERT_TRUE(env.SetTransformerMode());
    EXPECT_EQ(CountSigns(*env.TreeRoot(), '+'), 2);
}

class CountingClient : public IEnvClient {
public:
    void OnTreeReset() override { ++resets; }
    int resets = 0;
};

TEST(FormulaEnv, TreeClientsForgetTheTreeWheneverItGoes)
{
    CFormulaEnv env;
    CountingClient client;
    env.AddClient(&client);
    SetText(env, "a+b");
    ASSERT_TRUE(env.SetTransformerMode());
    const int afterBuild = client.resets;
    EXPECT_GE(afterBuild, 1);
    ASSERT_TRUE(env.RebuildTree());
    EXPECT_EQ(client.resets, afterBuild + 1);
    SetText(env, "a-b");
    EXPECT_GT(client.resets, afterBuild + 1);
    const int beforeReset = client.resets;
    env.Reset();
    EXPECT_GT(client.resets, beforeReset);
    EXPECT_EQ(env.TreeRoot(), nullptr);
    const int beforeViewer = client.resets;
    env.SetViewerMode();
    EXPECT_GT(client.resets, beforeViewer);
    env.RemoveClient(&client);
}

TEST(FormulaEnv, TreeRebuiltHookRunsAfterASuccessfulSet)
{
    CFormulaEnv env;
    int calls = 0;
    env.SetTreeRebuiltHook([&](CFormulaEnv&) { ++calls; });
    SetText(env, "a+b");
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(env.SetTransformerMode());
    SetText(env, "a+c");
    EXPECT_EQ(calls, 1);
    SetText(env, "ac");
    EXPECT_EQ(calls, 1);
}

TEST(FormulaEnv, PaletteCommands)
{
    CFormulaEnv viewer;
    viewer.SetViewerMode();
    EXPECT_EQ(viewer.InsertTool(264), ToolResult::NotEditor);

    EditorFixture unknown;
    EXPECT_EQ(unknown.env.InsertTool(999), ToolResult::Unknown);
    ASSERT_EQ(unknown.messages.size(), 1u);
    EXPECT_EQ(unknown.messages.front(), "Unknown template");
    EXPECT_EQ(unknown.env.GetLexemText(), "");

    // Every command inserts an element whose text reads back to itself, and
    // records a snapshot.
    for (const ToolInfo& tool : Tools()) {
        SCOPED_TRACE(tool.lexType);
        EditorFixture f;
        EXPECT_EQ(f.env.InsertTool(tool.lexType), ToolResult::Done);
        const std::string text = f.env.GetLexemText();
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(f.env.UndoHistory()->UndoList().back(), text);
        CFormulaEnv copy;
        EXPECT_EQ(SetText(copy, text), "");
        EXPECT_EQ(copy.GetLexemText(), text);
        EXPECT_TRUE(test::PathIsWhole(f.env));
    }
}

TEST(FormulaEnv, InsertionStopsAtTheDepthLimit)
{
    EditorFixture f;
    for (int i = 0; i < 20; ++i) {
        Type(f.env, "/");
    }
    ASSERT_FALSE(f.messages.empty());
    EXPECT_EQ(f.messages.back(), GetMessageText(msg::TooDeep));
    EXPECT_LT(f.env.Editor()->Depth(), CFormulaEnv::kMaxInsertDepth + 2);
    const std::string text = f.env.GetLexemText();
    int fractions = 0;
    for (std::size_t at = text.find("hor_frac"); at != std::string::npos; at = text.find("hor_frac", at + 1)) {
        ++fractions;
    }
    // Three entries for root, line and head, two for each fraction.
    EXPECT_EQ(fractions, 16);
    // Typing still works at that depth.
    Type(f.env, "7");
    EXPECT_NE(f.env.GetLexemText().find('7'), std::string::npos);
}

TEST(FormulaEnv, InsertLexemTextAtTheCaret)
{
    EditorFixture f("a+b");
    Type(f.env, "{HOME}{RIGHT}{RIGHT}");
    EnvError error;
    ASSERT_TRUE(f.env.InsertLexemText("@hor_frac$1$2#*", error));
    EXPECT_EQ(test::CaretText(f.env), "a+@hor_frac$1$2#*|b");
    EXPECT_FALSE(f.env.InsertLexemText("@bad", error));
    EXPECT_EQ(error.code, 3);
}

// Pasted or inserted text never nests the formula deeper than the lexeme
// reader reads it back: past that nothing goes in and 1035 is reported.
TEST(FormulaEnv, PasteAndInsertStopAtTheReadersDepth)
{
    auto roots = [](int levels) {
        std::string text;
        for (int i = 0; i < levels; ++i) {
            text += "@sqrroot$";
        }
        return text + "x" + std::string(levels, '#');
    };
    const int half = CLexemParser::kMaxDepth / 2;
    const std::string formula = roots(half);
    // The caret moves left from the end into the innermost row, half the
    // limit deep.
    auto toInnermost = [&](CFormulaEnv& env) {
        Type(env, "{END}");
        for (int i = 0; i < 3 * half && TextDepth(*env.Editor()->Point().row) < half; ++i) {
            Type(env, "{LEFT}");
        }
        ASSERT_EQ(TextDepth(*env.Editor()->Point().row), half);
    };
    struct Case {
        int levels;
        bool fits;
    };
    for (const Case c : {Case{half, true}, Case{half + 1, false}}) {
        SCOPED_TRACE(c.levels);
        EditorFixture pasted(formula);
        toInnermost(pasted.env);
        ASSERT_TRUE(pasted.env.PasteText(roots(c.levels)));
        EXPECT_EQ(pasted.env.GetLexemText() != formula, c.fits);
        EXPECT_EQ(!pasted.messages.empty() && pasted.messages.back() == GetMessageText(msg::TooDeep), !c.fits);
        EXPECT_NO_THROW(CLexemParser().Parse(pasted.env.GetLexemText()));

        EditorFixture inserted(formula);
        toInnermost(inserted.env);
        EnvError error;
        EXPECT_EQ(inserted.env.InsertLexemText(roots(c.levels), error), c.fits);
        EXPECT_EQ(error.message.empty(), c.fits);
        EXPECT_EQ(inserted.env.GetLexemText() != formula, c.fits);
        EXPECT_NO_THROW(CLexemParser().Parse(inserted.env.GetLexemText()));
    }
}

TEST(FormulaEnv, ResetEmptiesAndRecordsASnapshot)
{
    EditorFixture f("x+1");
    f.env.Reset();
    EXPECT_EQ(f.env.GetLexemText(), "");
    EXPECT_EQ(f.env.Root().GetRowCount(), 1);
    EXPECT_EQ(f.env.UndoHistory()->UndoList().back(), "");
    EXPECT_EQ(test::CaretText(f.env), "|");
}

TEST(FormulaEnv, LayoutDrawAndCaret)
{
    EditorFixture f("x+1");
    f.env.SetPosition({10, 20});
    FakeCanvas canvas;
    f.env.Draw(canvas);
    EXPECT_FALSE(f.env.LayoutStale());
    const Box& box = f.env.Root().GetBox();
    EXPECT_EQ(box.x, 10);
    EXPECT_EQ(box.y, 20);
    // Without the focus no caret is drawn.
    EXPECT_TRUE(canvas.CallsOf(CanvasCall::Kind::FillRect).empty());

    f.env.SetFocus(true);
    canvas.ClearCalls();
    f.env.Draw(canvas);
    const auto fills = canvas.CallsOf(CanvasCall::Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    const std::optional<Rect> caret = f.env.CaretRect();
    ASSERT_TRUE(caret);
    EXPECT_EQ(fills.front().rect.width, 2);
    EXPECT_EQ(fills.front().rect.x, box.x + box.width);
    EXPECT_EQ(caret->x, fills.front().rect.x);

    // In an empty row the caret stands inside the placeholder.
    Type(f.env, "/");
    f.env.Layout(canvas);
    const CLexem* head = f.env.Editor()->Top();
    ASSERT_EQ(head->Kind(), LexemKind::RowHead);
    const std::optional<Rect> inside = f.env.CaretRect();
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->x, head->GetBox().x + 3);
    EXPECT_EQ(inside->y, head->GetBox().y + 3);
    EXPECT_EQ(inside->height, head->GetBox().height - 6);

    f.env.Editor()->HideCaret();
    EXPECT_FALSE(f.env.CaretRect());
}

TEST(FormulaEnv, MessageTexts)
{
    CFormulaEnv env;
    EXPECT_EQ(env.GetMessageText(1009), "Cannot rebuild tree.");
    EXPECT_EQ(env.GetMessageText(999), "Unknown message");
    SetMessageLanguage(2);
    EXPECT_EQ(env.GetMessageText(1009), "Не вдалося перебудувати дерево.");
    SetMessageLanguage(0);
}

class LogFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(m_old, sizeof m_old), nullptr);
        ASSERT_EQ(chdir(m_dir.path().c_str()), 0);
    }
    void TearDown() override { ASSERT_EQ(chdir(m_old), 0); }
    std::string LogText() const { return testsupport::readFile(m_dir.file("TestLog.txt")); }

private:
    testsupport::TempDir m_dir;
    char m_old[PATH_MAX] = {};
};

TEST_F(LogFolder, CreateLexListKeepsOnlyTheLatestBanner)
{
    CFormulaEnv env;
    LexemList list;
    EnvError error;
    ASSERT_TRUE(env.CreateLexList("x+!1", true, list, error));
    EXPECT_EQ(list.size(), 3u);
    ASSERT_TRUE(env.CreateLexList("a+b", false, list, error));
    EXPECT_EQ(list.size(), 3u);
    const std::string log = LogText();
    EXPECT_EQ(log.find("Log started: "), log.rfind("Log started: "));
    EXPECT_EQ(log.rfind(std::string(78, '*') + "\n", 0), 0u);
    EXPECT_NE(log.find("\nCreateLexList\n"), std::string::npos);
    EXPECT_FALSE(env.CreateLexList("@x", false, list, error));
    EXPECT_EQ(error.code, 3);
}

TEST_F(LogFolder, DebugLogRules)
{
    CDebugLog log;
    EXPECT_FALSE(log.Open("", "t", true, true));
    ASSERT_TRUE(log.Open("TestLog.txt", "", false, true));
    EXPECT_FALSE(log.Open("TestLog.txt", "", true, false));
    log.Write("hidden");
    log.Close();
    EXPECT_EQ(LogText(), "");
    ASSERT_TRUE(log.Open("TestLog.txt", "", true, false));
    log.SetPrefix("> ");
    log.Write("one");
    log.Write("two");
    log.Close();
    EXPECT_EQ(LogText(), "> one\n> two\n");
}

}  // namespace
}  // namespace formula
