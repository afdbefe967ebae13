// The selection (mouse runs, texts, delete, replace), the undo history, and
// paste over a selection.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/undo_history.h"
#include "formula/layout/fake_canvas.h"
#include "formula/model/templates/all.h"
#include "formula/tests/env_test_util.h"

namespace formula {
namespace {

using test::CaretText;
using test::EditorFixture;
using test::Type;

Point Middle(const CLexem& lexem)
{
    const Box& box = lexem.GetBox();
    return {box.x + box.width / 2, box.y + box.height / 2};
}

// The element at a position of the formula's first line.
CLexem& Element(CFormulaEnv& env, int pos)
{
    return *env.Root().GetFirstRow()->Child(pos);
}

void LayOut(CFormulaEnv& env)
{
    FakeCanvas canvas;
    env.Layout(canvas);
}

TEST(Selection, MouseDragSelectsARunOfTheRow)
{
    EditorFixture f("a+b=c");
    LayOut(f.env);
    ASSERT_TRUE(f.env.OnMouseDown(Middle(Element(f.env, 1))));
    EXPECT_EQ(CaretText(f.env), "a|+b=c");
    ASSERT_TRUE(f.env.OnMouseMove(Middle(Element(f.env, 3)), true));
    CSelection& selection = *f.env.Selection();
    ASSERT_TRUE(selection.HasRowRun());
    EXPECT_EQ(selection.Count(), 2);
    EXPECT_EQ(selection.GetLexemText(), "+b");
    EXPECT_TRUE(Element(f.env, 2).IsSelected());
    EXPECT_FALSE(Element(f.env, 1).IsSelected());
    // Moving without the button changes nothing.
    EXPECT_FALSE(f.env.OnMouseMove(Middle(Element(f.env, 5)), false));
    EXPECT_EQ(selection.GetLexemText(), "+b");
    // The release puts the caret there; typing is refused over a selection
    // and clears it.
    EXPECT_TRUE(f.env.OnMouseUp(Middle(Element(f.env, 3))));
    EXPECT_FALSE(f.env.OnChar('x'));
    EXPECT_TRUE(selection.IsEmpty());
    EXPECT_FALSE(Element(f.env, 2).IsSelected());
    EXPECT_EQ(f.env.GetLexemText(), "a+b=c");
}

TEST(Selection, DeleteKeyRemovesTheRunAndRegroups)
{
    EditorFixture f("12+34");
    LayOut(f.env);
    CLexemRow& line = *f.env.Root().GetFirstRow();
    f.env.Selection()->SelectRange(line, 2, 2);
    ASSERT_EQ(f.env.Selection()->GetLexemText(), "+");
    EXPECT_TRUE(f.env.OnKeyDown({vk::Back}).changed);
    EXPECT_EQ(CaretText(f.env), "12|34");
    EXPECT_EQ(f.env.Root().GetFirstRow()->ElementCount(), 1);
}

TEST(Selection, DigitsInsideANumber)
{
    EditorFixture f("12345+x");
    LayOut(f.env);
    auto& number = static_cast<CLexemRow&>(Element(f.env, 1));
    ASSERT_TRUE(f.env.OnMouseDown(Middle(*number.Child(0))));
    ASSERT_TRUE(f.env.OnMouseMove(Middle(*number.Child(3)), true));
    EXPECT_EQ(f.env.Selection()->GetLexemText(), "234");
    EXPECT_TRUE(f.env.DeleteSelection());
    EXPECT_EQ(CaretText(f.env), "1|5+x");
}

TEST(Selection, LinesOfTheFormula)
{
    EditorFixture f("x=1@#y=2@#z=3");
    LayOut(f.env);
    CAggregateTemplate& root = f.env.Root();
    ASSERT_TRUE(f.env.OnMouseDown(Middle(*root.GetRow(0)->Child(2))));
    ASSERT_TRUE(f.env.OnMouseMove(Middle(*root.GetRow(1)->Child(2)), true));
    CSelection& selection = *f.env.Selection();
    ASSERT_TRUE(selection.HasLineRun());
    EXPECT_EQ(selection.GetLexemText(), "x=1@#y=2");
    EXPECT_EQ(selection.GetAplanText(), "(x=!1),(y=!2)");
    selection.ReplaceByLexemText("a@#b@#c");
    EXPECT_EQ(f.env.GetLexemText(), "a@#b@#c@#z=3");
    selection.SelectLines(root, 1, 2);
    EXPECT_TRUE(f.env.DeleteSelection());
    EXPECT_EQ(f.env.GetLexemText(), "a@#z=3");
    EXPECT_TRUE(test::PathIsWhole(f.env));
}

TEST(Selection, TextsAndReplacement)
{
    EditorFixture f("x-y+@hor_frac$1$2#");
    CLexemRow& line = *f.env.Root().GetFirstRow();
    CSelection& selection = *f.env.Selection();
    selection.SelectRange(line, 1, 3);
    EXPECT_EQ(selection.GetLexemText(), "x-y");
    EXPECT_EQ(selection.GetAplanText(), "x+!(-1)*!y");
    bool incomplete = true;
    selection.GetAplanText(&incomplete);
    EXPECT_FALSE(incomplete);
    selection.ReplaceByAplanText("Sin(x)");
    EXPECT_EQ(f.env.GetLexemText(), "@func$sin$x#+@hor_frac$1$2#");
    EXPECT_TRUE(selection.IsEmpty());
    selection.SelectRange(line, 3, 3);
    selection.ReplaceByLexemText("12");
    EXPECT_EQ(f.env.GetLexemText(), "@func$sin$x#+12");
    // The head is never selected.
    selection.SelectRange(line, 0, 0);
    EXPECT_TRUE(selection.IsEmpty());
}

TEST(Undo, HistoryRules)
{
    CUndoHistory history;
    std::optional<std::string> restore;
    EXPECT_FALSE(history.Undo(restore));
    EXPECT_FALSE(history.Redo(restore));

    // A single snapshot has nothing before it to go back to.
    history.Push("a");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo(restore));
    EXPECT_FALSE(restore);
    EXPECT_EQ(history.UndoList(), (std::vector<std::string>{"a"}));
    EXPECT_FALSE(history.CanRedo());

    // A text equal to the newest snapshot is no new step; one equal to an
    // older snapshot is.
    history.Push("ab");
    history.Push("ab");
    history.Push("a");
    EXPECT_EQ(history.UndoList(), (std::vector<std::string>{"a", "ab", "a"}));

    // Undo and redo walk through the same snapshots.
    EXPECT_TRUE(history.Undo(restore));
    EXPECT_EQ(restore, "ab");
    EXPECT_TRUE(history.Undo(restore));
    EXPECT_EQ(restore, "a");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.Redo(restore));
    EXPECT_EQ(restore, "ab");
    EXPECT_EQ(history.RedoList(), (std::vector<std::string>{"a"}));

    // Every new snapshot empties the redo list.
    history.Push("abd");
    EXPECT_TRUE(history.RedoList().empty());
    EXPECT_EQ(history.UndoList(), (std::vector<std::string>{"a", "ab", "abd"}));
}

// Types the script into an editor holding the starting formula; the
// formula after every key that changed it is one step. Undo walks back
// through exactly those formulas to the starting one, and no further; redo
// walks forward through them to the end, and no further.
void CheckStepsBackAndForth(std::string_view start, std::string_view script)
{
    EditorFixture f(start);
    std::vector<std::string> states{f.env.GetLexemText()};
    for (std::size_t i = 0; i < script.size(); ++i) {
        const std::size_t end = script[i] == '{' ? script.find('}', i) + 1 : i + 1;
        Type(f.env, script.substr(i, end - i));
        i = end - 1;
        if (f.env.GetLexemText() != states.back()) {
            states.push_back(f.env.GetLexemText());
        }
    }
    ASSERT_GT(states.size(), 2u);
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_TRUE(f.env.CanUndo());
        ASSERT_TRUE(f.env.Undo());
        ASSERT_EQ(f.env.GetLexemText(), states[i - 1]) << "undo " << states.size() - i;
        EXPECT_TRUE(f.env.CanRedo());
    }
    EXPECT_FALSE(f.env.CanUndo());
    EXPECT_FALSE(f.env.Undo());
    EXPECT_EQ(f.env.GetLexemText(), start);
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(f.env.Redo());
        ASSERT_EQ(f.env.GetLexemText(), states[i]) << "redo " << i;
    }
    EXPECT_FALSE(f.env.CanRedo());
    EXPECT_FALSE(f.env.Redo());
    EXPECT_EQ(f.env.GetLexemText(), states.back());
}

TEST(Undo, EveryStepBackAndForthThroughTyping)
{
    struct Case {
        const char* start;
        const char* script;
    };
    const Case cases[] = {
        {"", "2*x+1{BS}"},
        {"", "2*x+1{HOME}{DEL}"},
        {"", "ab{LEFT}{ENTER}"},
        // Back to texts the history already holds.
        {"", "ab{BS}{BS}ab"},
        {"", "12{LEFT}3{END}{BS}{BS}{BS}7"},
        {"", "x=1{ENTER}y=2{UP}{END}{BS}3"},
        {"", "1/2{BS}{BS}"},
        {"", "ab{HOME}{INS}cd"},
        // A starting formula the history did not record.
        {"x+1=3", "{BS}5{HOME}{DEL}{DEL}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " then " + c.script);
        CheckStepsBackAndForth(c.start, c.script);
    }
}

TEST(Undo, ThroughTheEnvironment)
{
    EditorFixture f;
    Type(f.env, "ab");
    // The formula the editor started with, then one snapshot per character.
    EXPECT_EQ(f.env.UndoHistory()->UndoList(), (std::vector<std::string>{"", "a", "a*b"}));
    // Keys that change nothing take no step.
    Type(f.env, "{LEFT}{HOME}{END}");
    EXPECT_EQ(f.env.UndoHistory()->UndoList().size(), 3u);
    EXPECT_TRUE(f.env.Undo());
    EXPECT_EQ(f.env.GetLexemText(), "a");
    // A new edit empties the redo list.
    Type(f.env, "c");
    EXPECT_FALSE(f.env.CanRedo());
    EXPECT_EQ(f.env.UndoHistory()->UndoList(), (std::vector<std::string>{"", "a", "a*c"}));
    // The host's text is a change without a snapshot: undo takes it back,
    // redo brings it back.
    EnvError error;
    ASSERT_TRUE(f.env.SetLexemText("x=1", error));
    EXPECT_TRUE(f.env.CanUndo());
    EXPECT_TRUE(f.env.Undo());
    EXPECT_EQ(f.env.GetLexemText(), "a*c");
    EXPECT_TRUE(f.env.Redo());
    EXPECT_EQ(f.env.GetLexemText(), "x=1");
    // After an undo, a changed formula is not thrown away by a redo.
    EXPECT_TRUE(f.env.Undo());
    ASSERT_TRUE(f.env.SetLexemText("y", error));
    EXPECT_FALSE(f.env.CanRedo());
    EXPECT_FALSE(f.env.Redo());
    EXPECT_EQ(f.env.GetLexemText(), "y");
    EXPECT_TRUE(f.env.Undo());
    EXPECT_EQ(f.env.GetLexemText(), "a*c");
    // Clearing is a step of its own.
    f.env.Reset();
    EXPECT_EQ(f.env.GetLexemText(), "");
    EXPECT_TRUE(f.env.Undo());
    EXPECT_EQ(f.env.GetLexemText(), "a*c");
}

// A snapshot that reads back as another text (a lower index around sine
// in a power reads as one indexed sine) still lets undo go on to the start.
TEST(Undo, ASnapshotThatReadsBackOtherwiseIsOneStep)
{
    EditorFixture f;
    Type(f.env, "_");
    ASSERT_EQ(f.env.InsertTool(330), ToolResult::Done);
    Type(f.env, "{LEFT}b");
    ASSERT_EQ(f.env.GetLexemText(), "@index_dn$b@index_up$@func$sin$#$#$#");
    std::vector<std::string> undone;
    while (undone.size() < 10 && f.env.Undo()) {
        undone.push_back(f.env.GetLexemText());
    }
    EXPECT_EQ(undone, (std::vector<std::string>{"@index_up$@index_dn$@func$sin$#$#$#", "@index_dn$$#", ""}));
    EXPECT_TRUE(f.env.Redo());
    EXPECT_EQ(f.env.GetLexemText(), "@index_dn$$#");
}

TEST(Undo, WithoutAHistoryNothingHappens)
{
    CFormulaEnv env;
    EnvError error;
    env.SetLexemText("x", error);
    env.SetViewerMode();
    EXPECT_FALSE(env.CanUndo());
    EXPECT_FALSE(env.CanRedo());
    EXPECT_FALSE(env.Undo());
    EXPECT_FALSE(env.Redo());
    EXPECT_EQ(env.GetLexemText(), "x");
}

TEST(Paste, OverASelectionAndAtTheCaret)
{
    EditorFixture f("x+y");
    CLexemRow& line = *f.env.Root().GetFirstRow();
    f.env.Selection()->SelectRange(line, 3, 3);
    EXPECT_TRUE(f.env.PasteText("2*z"));
    EXPECT_EQ(f.env.GetLexemText(), "x+2*z");
    EXPECT_TRUE(f.env.Selection()->IsEmpty());
    EXPECT_EQ(CaretText(f.env), "x+2*z|");

    // Pasted digits join the number around them once the formula is read
    // again.
    EditorFixture g("15");
    Type(g.env, "{LEFT}");
    EXPECT_TRUE(g.env.PasteText("234"));
    EXPECT_EQ(g.env.GetLexemText(), "12345");
    EXPECT_EQ(g.env.Root().GetFirstRow()->ElementCount(), 1);

    // A text that cannot be read keeps the selection; nothing is pasted.
    EditorFixture h("a+b");
    h.env.Selection()->SelectRange(*h.env.Root().GetFirstRow(), 1, 1);
    EXPECT_TRUE(h.env.PasteText("@oops"));
    EXPECT_EQ(h.env.GetLexemText(), "a+b");
    EXPECT_EQ(h.messages.size(), 1u);

    // Pasting lines splits the line at the caret.
    EditorFixture lines("ab");
    Type(lines.env, "{HOME}{RIGHT}");
    EXPECT_TRUE(lines.env.PasteText("1@#2"));
    EXPECT_EQ(lines.env.GetLexemText(), "a1@#2b");

    CFormulaEnv viewer;
    viewer.SetViewerMode();
    EXPECT_FALSE(viewer.PasteText("x"));
}

}  // namespace
}  // namespace formula
