// One keystroke in editor mode on a formula of about 40 lexemes, from the
// key to the finished layout through the Qt canvas (measuring, as the control
// lays out before it paints): a digit typed in the middle of the formula,
// then Backspace taking it out again, so the formula stays the same size.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>

#include "formula/env/formula_env.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace {

const char* const kFormula =
    "2*x+3*y-@hor_frac$x+1$2#=5*@index_up$z$2#-7+a*b-c:d+e";

void EnsureGuiApplication()
{
    if (QGuiApplication::instance()) {
        return;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    static int argc = 1;
    static char name[] = "tessaly_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

int CountLexemes(const formula::CLexem& lexem)
{
    int count = lexem.Kind() == formula::LexemKind::RowHead ? 0 : 1;
    if (const formula::CLexemRow* row = formula::AsRow(&lexem)) {
        for (int pos = 0; pos < row->Count(); ++pos) {
            count += CountLexemes(*row->Child(pos));
        }
    } else if (const formula::CTemplate* tmpl = formula::AsTemplate(&lexem)) {
        for (const formula::CLexem* part : tmpl->Parts()) {
            count += CountLexemes(*part);
        }
    }
    return count;
}

void BM_EditKeystrokeToLayout(benchmark::State& state)
{
    EnsureGuiApplication();
    formula::CFormulaEnv env;
    formula::EnvError error;
    if (!env.SetLexemText(kFormula, error) || !env.SetEditorMode()) {
        state.SkipWithError("cannot set the formula");
        return;
    }
    formula::QtCanvas canvas;
    env.Layout(canvas);
    env.OnKeyDown({formula::vk::Home});
    for (int i = 0; i < 14; ++i) {
        env.OnKeyDown({formula::vk::Right});
    }
    const std::string before = env.GetLexemText();
    for (auto _ : state) {
        env.OnChar('7');
        env.Layout(canvas);
        env.OnKeyDown({formula::vk::Back});
        env.Layout(canvas);
    }
    if (env.GetLexemText() != before) {
        state.SkipWithError("the keystrokes did not cancel out");
    }
    state.counters["lexemes"] = CountLexemes(*env.Root().GetFirstRow()) - 1;
    // Seconds per keystroke (two per iteration).
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2.0,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EditKeystrokeToLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
