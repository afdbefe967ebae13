// Hover in transformer mode on a formula of about 40 lexemes: the mouse
// moves constantly, and each move hit-tests the operation tree and, on a new
// node, moves the highlight. The points sweep the formula's line along its
// axis and above it ("repaints": the share of moves that changed the node).
#include <benchmark/benchmark.h>

#include <vector>

#include "formula/env/formula_env.h"
#include "formula/layout/fake_canvas.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/multi_row.h"
#include "formula/model/templates/template.h"
#include "formula/transform/transformer.h"

namespace {

const char* const kFormula = "2*x+3*y-@hor_frac$x+1$2#=5*@index_up$z$2#-7+a*b-c:d+e";

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

void BM_TransformerHover(benchmark::State& state)
{
    formula::CFormulaEnv env;
    formula::EnvError error;
    if (!env.SetLexemText(kFormula, error) || !env.SetTransformerMode()) {
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
    state.counters["lexemes"] = CountLexemes(*env.Root().GetFirstRow());
    state.counters["repaints"] = benchmark::Counter(repaints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TransformerHover)->Unit(benchmark::kMicrosecond);

}  // namespace
