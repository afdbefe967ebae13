// One keystroke in editor mode on a formula of about 40 lexemes, from the
// key to the finished layout through the Qt canvas (measuring, as the control
// lays out before it paints): a digit typed in the middle of the formula,
// then Backspace taking it out again, so the formula stays the same size.
#include <benchmark/benchmark.h>

#include "bench/formula_bench_support.h"
#include "formula/env/formula_env.h"
#include "formula/layout/qt_canvas.h"

namespace {

void BM_EditKeystrokeToLayout(benchmark::State& state)
{
    bench::EnsureGuiApplication();
    formula::CFormulaEnv env;
    formula::EnvError error;
    if (!env.SetLexemText(bench::kFortyLexemeFormula, error) || !env.SetEditorMode()) {
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
    state.counters["lexemes"] = bench::CountLexemes(*env.Root().GetFirstRow()) - 1;
    // Seconds per keystroke (two per iteration).
    state.counters["per_key"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2.0,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EditKeystrokeToLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
