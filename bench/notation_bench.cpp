// The Aplan and MathML notations of a typical school formula: a system of
// two equations with fractions and powers.
#include <benchmark/benchmark.h>

#include <string>

#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/lexem_parser.h"
#include "formula/notation/mathml_writer.h"

namespace {

const std::string kSystem =
    "@system$@hor_frac$x+1$2#+@index_up$y$2#=5$3x-@hor_frac$@index_up$y$3#$x-4#=@index_up$x$2#-1#";
const std::string kReply = "system(x=hor_frac(7,3),spec_equ(eqls,y,mns(2mrk_comma5)))";

void Fill(formula::CAggregateTemplate& root, const std::string& text)
{
    root.InsertNewRow(nullptr, false)->InsertLexems(formula::CLexemParser().Parse(text));
}

void BM_AplanWrite(benchmark::State& state)
{
    formula::CAggregateTemplate root;
    Fill(root, kSystem);
    for (auto _ : state) {
        std::string text = formula::AplanText(root);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_AplanWrite)->Unit(benchmark::kMicrosecond);

// A kernel reply rewritten and read into a tree.
void BM_AplanRead(benchmark::State& state)
{
    for (auto _ : state) {
        std::string text;
        formula::CLexemParser::ConvertAplanText(kReply, text);
        formula::CAggregateTemplate root;
        Fill(root, text);
        benchmark::DoNotOptimize(root);
    }
}
BENCHMARK(BM_AplanRead)->Unit(benchmark::kMicrosecond);

// Tree -> MathML -> lexeme text -> tree.
void BM_MathMLRoundTrip(benchmark::State& state)
{
    formula::CAggregateTemplate source;
    Fill(source, kSystem);
    for (auto _ : state) {
        std::string text;
        formula::CLexemParser::ConvertMathMLText(formula::MathMLDocument(source), text);
        formula::CAggregateTemplate root;
        Fill(root, text);
        if (root.LexemText() != kSystem) {
            state.SkipWithError("round trip changed the formula");
            break;
        }
    }
}
BENCHMARK(BM_MathMLRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
