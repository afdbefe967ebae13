// Hover in transformer mode on a formula of about 40 lexemes: the mouse
// moves constantly, and each move hit-tests the operation tree and, on a new
// node, moves the highlight. The points sweep the formula's line along its
// axis and above it ("repaints": the share of moves that changed the node).
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/formula_bench_support.h"
#include "formula/env/formula_env.h"
#include "formula/layout/fake_canvas.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/multi_row.h"
#include "formula/model/templates/template.h"
#include "formula/transform/transformer.h"

namespace {

void BM_TransformerHover(benchmark::State& state)
{
    formula::CFormulaEnv env;
    formula::EnvError error;
    if (!env.SetLexemText(bench::kFortyLexemeFormula, error) || !env.SetTransformerMode()) {
        state.SkipWithError("cannot set the formula");
        return;
    }
    formula::FakeCanvas canvas;
    env.Layout(canvas);
    formula::CTransformer transformer(env);
    const formula::Box& box = env.Root().GetBox();
    std::vector<formula::Point> points;
    for (int x = box.x; x < box.x + box.width; x += 3) {
        points.push_back({x, box.axisY});
        points.push_back({x, box.y + box.height / 3});
    }
    std::size_t i = 0;
    int repaints = 0;
    for (auto _ : state) {
        repaints += transformer.OnMouseMove(points[i], false) ? 1 : 0;
        i = (i + 1) % points.size();
    }
    benchmark::DoNotOptimize(repaints);
    state.counters["lexemes"] = bench::CountLexemes(*env.Root().GetFirstRow());
    state.counters["repaints"] = benchmark::Counter(repaints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TransformerHover)->Unit(benchmark::kMicrosecond);

}  // namespace
