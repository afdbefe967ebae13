// The expression language's compiled evaluator beside muParser, the speed
// reference, on the same expressions and the same 4,096 x values. Every
// iteration is one round: both evaluators over all values, timed apart, in
// turns (each goes first every other round). Counters: nanoseconds per value
// of each and their ratio (ours / muParser) for the run; run with
// --benchmark_repetitions and read the medians.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "constructions/plotwise/expression/expression_function.h"

namespace {

using constructions::plotwise::CExpressionFunction;
using Clock = std::chrono::steady_clock;

constexpr int kValues = 4096;

// Midpoints of 4,096 equal steps over [-10, 10]: no value is exactly 2, where
// one of the expressions divides by zero.
std::vector<double> xValues()
{
    std::vector<double> xs(kValues);
    for (int i = 0; i < kValues; ++i)
        xs[static_cast<std::size_t>(i)] = -10.0 + (i + 0.5) * (20.0 / kValues);
    return xs;
}

double oursOver(CExpressionFunction& f, const std::vector<double>& xs)
{
    double sum = 0.0;
    for (const double x : xs) {
        double y = 0.0;
        if (f.Evaluate(x, y))
            sum += y;
    }
    return sum;
}

double muParserOver(mu::Parser& parser, double& variable, const std::vector<double>& xs)
{
    double sum = 0.0;
    for (const double x : xs) {
        variable = x;
        sum += parser.Eval();
    }
    return sum;
}

bool close(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return std::isnan(a) == std::isnan(b) && (std::isnan(a) || a == b);
    return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b));
}

// ours: the text in the expression language; theirs: the same in muParser's.
void compare(benchmark::State& state, const char* ours, const char* theirs)
{
    const std::vector<double> xs = xValues();
    CExpressionFunction f;
    f.SetName("x");
    f.SetText(ours);
    if (!f.Parse()) {
        state.SkipWithError("no tree");
        return;
    }
    double variable = 0.0;
    mu::Parser parser;
    try {
        parser.DefineVar("x", &variable);
        parser.SetExpr(theirs);
        for (const double x : xs) {
            variable = x;
            double y = 0.0;
            if (!f.Evaluate(x, y) || !close(y, parser.Eval())) {
                state.SkipWithError("the two evaluators disagree");
                return;
            }
        }
    } catch (const mu::Parser::exception_type& e) {
        state.SkipWithError(e.GetMsg().c_str());
        return;
    }

    Clock::duration oursTime{};
    Clock::duration theirsTime{};
    bool oursFirst = true;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            const auto start = Clock::now();
            if ((turn == 0) == oursFirst) {
                benchmark::DoNotOptimize(oursOver(f, xs));
                oursTime += Clock::now() - start;
            } else {
                benchmark::DoNotOptimize(muParserOver(parser, variable, xs));
                theirsTime += Clock::now() - start;
            }
        }
        oursFirst = !oursFirst;
    }
    const double values = static_cast<double>(state.iterations()) * kValues;
    const double oursNs = std::chrono::duration<double, std::nano>(oursTime).count();
    const double theirsNs = std::chrono::duration<double, std::nano>(theirsTime).count();
    state.counters["ours_ns"] = oursNs / values;
    state.counters["muparser_ns"] = theirsNs / values;
    state.counters["ratio"] = oursNs / theirsNs;
}

void BM_PeerSinTimesSquarePlusOne(benchmark::State& state)
{
    compare(state, "sin(x)*x^2+1", "sin(x)*x^2+1");
}
BENCHMARK(BM_PeerSinTimesSquarePlusOne)->Unit(benchmark::kMicrosecond);

void BM_PeerAbsOverSquarePlusOne(benchmark::State& state)
{
    compare(state, "ABS(x-3)/(x^2+1)", "abs(x-3)/(x^2+1)");
}
BENCHMARK(BM_PeerAbsOverSquarePlusOne)->Unit(benchmark::kMicrosecond);

void BM_PeerRootOverLinear(benchmark::State& state)
{
    compare(state, "(x^2+1)^0.5/(x-2)", "(x^2+1)^0.5/(x-2)");
}
BENCHMARK(BM_PeerRootOverLinear)->Unit(benchmark::kMicrosecond);

void BM_PeerHornerPolynomial(benchmark::State& state)
{
    compare(state, "(((0.5*x-1.5)*x+2)*x-3.25)*x+1", "(((0.5*x-1.5)*x+2)*x-3.25)*x+1");
}
BENCHMARK(BM_PeerHornerPolynomial)->Unit(benchmark::kMicrosecond);

}  // namespace
