// Reading and writing the lexeme text of a typical school formula: a system
// of two equations with fractions and powers.
#include <benchmark/benchmark.h>

#include <string>

#include "formula/model/templates/multi_row.h"
#include "formula/notation/lexem_parser.h"

namespace {

const std::string kSystem =
    "@system$@hor_frac$x+1$2#+@index_up$y$2#=5$3x-@hor_frac$@index_up$y$3#$x-4#=@index_up$x$2#-1#";

void BM_LexemTextRoundTrip(benchmark::State& state)
{
    formula::CLexemParser parser;
    for (auto _ : state) {
        formula::CAggregateTemplate root;
        root.InsertNewRow(nullptr, false)->InsertLexems(parser.Parse(kSystem));
        std::string text = root.LexemText();
        benchmark::DoNotOptimize(text);
        if (text != kSystem) {
            state.SkipWithError("round trip changed the text");
            break;
        }
    }
}
BENCHMARK(BM_LexemTextRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
