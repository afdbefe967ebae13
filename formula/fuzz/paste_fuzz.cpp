// libFuzzer target over pasting clipboard text into a formula. The first
// byte chooses the formula in the editor and where the paste goes (the end,
// the start, a few places back, or over the whole first line selected); the
// rest is the clipboard's text, which reaches the editor as UTF-8 through a
// QString as the clipboard hands it over. Pasting is one undo step: undo
// gives back the formula before it and redo the one after; the caret's path
// stays whole and the next key works on it. The formula after it reads back
// from its own text to the same text, its operation tree is a fixed point
// (text -> tree -> text twice gives the same text), it is laid out and
// drawn, and its Aplan and MathML texts are written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include <QString>

#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"
#include "formula/layout/fake_canvas.h"
#include "formula/tests/env_test_util.h"

namespace {

using formula::CFormulaEnv;
using formula::EnvError;

// Formulas a pupil pastes into.
const char* const kFormulas[] = {
    "",
    "x+1=3",
    "@hor_frac$x+1$2#-@index_up$y$2#=5",
    "@system$x+y=5$x-y=1#",
    "@sqrroot$x#+@br_row_abs$-3#",
    "x=1@#y=2",
    "@func$sin$x#*@func$cos$x#=1",
    "@union$x<1$x>2#",
};

void check(bool condition, const char* what, const std::string& text)
{
    if (!condition) {
        std::fprintf(stderr, "formula_paste_fuzz: %s: %s\n", what, text.c_str());
        std::abort();
    }
}

// Keys go to a laid-out formula, as the control paints after each one.
void press(CFormulaEnv& env, formula::FakeCanvas& canvas, int key)
{
    if (env.LayoutStale())
        env.Layout(canvas);
    env.OnKeyDown({key});
}

void placeCaret(CFormulaEnv& env, formula::FakeCanvas& canvas, unsigned where)
{
    formula::CLexemRow* row = env.Root().GetFirstRow();
    switch (where) {
    case 0: break;
    case 1: press(env, canvas, formula::vk::Home); break;
    case 2:
        for (int i = 0; i < 3; ++i)
            press(env, canvas, formula::vk::Left);
        break;
    default:
        if (row && !row->IsEmpty())
            env.Selection()->SelectRange(*row, row->FirstPos(), row->LastPos());
        break;
    }
}

// The formula's text after its operation tree is rebuilt (normalised on the
// way); the tree itself may fail.
std::string Rebuilt(const std::string& text)
{
    CFormulaEnv env;
    EnvError error;
    check(env.SetLexemText(text, error), "a rebuilt formula's text does not read", text);
    env.UseOperationTree(true);
    env.RebuildTree();
    return env.GetLexemText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string start = kFormulas[data[0] % std::size(kFormulas)];
    const QString clipboard = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1,
                                                static_cast<qsizetype>(size - 1));
    const std::string pasted = clipboard.toStdString();

    CFormulaEnv env;
    std::vector<std::string> messages;
    env.SetMessageSink([&](std::string_view text, formula::MessageIcon) { messages.emplace_back(text); });
    EnvError error;
    check(env.SetLexemText(start, error) && env.SetEditorMode(), "cannot open the formula", start);
    formula::FakeCanvas canvas;
    placeCaret(env, canvas, (data[0] / std::size(kFormulas)) % 4);
    const std::string before = env.GetLexemText();

    check(env.PasteText(pasted), "a paste in editor mode refused", pasted);
    const std::string after = env.GetLexemText();
    for (const std::string& message : messages)
        check(!message.empty(), "an empty message", pasted);

    if (after != before) {
        check(env.Undo() && env.GetLexemText() == before, "undo does not give back the formula", pasted);
        check(env.Redo() && env.GetLexemText() == after, "redo does not give back the paste", pasted);
    }
    CFormulaEnv copy;
    check(copy.SetLexemText(after, error), "the pasted formula's text does not read", after);
    check(copy.GetLexemText() == after, "the pasted formula's text reads otherwise", after);
    const std::string once = Rebuilt(after);
    check(Rebuilt(once) == once, "the operation tree is no fixed point", after);

    check(formula::test::PathIsWhole(env), "the caret's path is broken after the paste", pasted);
    press(env, canvas, formula::vk::Back);
    check(formula::test::PathIsWhole(env), "the caret's path is broken after a key", pasted);
    env.Layout(canvas);
    env.SetFocus(true);
    env.Draw(canvas);
    env.GetAplanText();
    env.GetMathMLText();
    return 0;
}
