// The expression language and the sample cache of arbitrary constructions.
// A binary of its own: it counts every allocation through operator new, so
// that the evaluation benchmarks can report allocations per evaluation.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "constructions/plotwise/expression/expression_function.h"
#include "constructions/plotwise/sample_cache.h"

namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// The replaced operator new allocates with malloc, so free() matches it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using constructions::plotwise::CacheView;
using constructions::plotwise::CExpressionFunction;
using constructions::plotwise::DrawingInterval;
using constructions::plotwise::SampleCache;

void evaluate(benchmark::State& state, const char* text)
{
    CExpressionFunction f;
    f.SetName("x");
    f.SetText(text);
    if (!f.Parse()) {
        state.SkipWithError("no tree");
        return;
    }
    double x = 0.25;
    const long long before = g_allocations.load();
    for (auto _ : state) {
        double y = 0;
        benchmark::DoNotOptimize(f.Evaluate(x, y));
        benchmark::DoNotOptimize(y);
        x += 1e-6;
    }
    state.counters["allocs/eval"] = benchmark::Counter(
        static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations()));
}

void BM_EvaluateSinTimesSquarePlusOne(benchmark::State& state) { evaluate(state, "sin(x)*x^2+1"); }
BENCHMARK(BM_EvaluateSinTimesSquarePlusOne);

void BM_EvaluateAbsOverSquarePlusOne(benchmark::State& state) { evaluate(state, "ABS(x-3)/(x^2+1)"); }
BENCHMARK(BM_EvaluateAbsOverSquarePlusOne);

// A 1000-pixel view at scale 20: 50 world units, the cache seven of them at
// 0.05 (7001 samples), filled anew as a size change (code 300) does.
void fillCache(benchmark::State& state, const char* text)
{
    CExpressionFunction f;
    f.SetName("x");
    f.SetText(text);
    const CacheView view{-25.0, 25.0, 37.5, 20.0, 20.0};
    DrawingInterval interval;
    SampleCache cache;
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.Update(f, view, SampleCache::kSizingUpdate, 1.0, interval));
    const std::size_t samples = cache.Samples().size();
    state.counters["samples"] = static_cast<double>(samples);
}

void BM_FillCacheSinTimesSquarePlusOne(benchmark::State& state) { fillCache(state, "sin(x)*x^2+1"); }
BENCHMARK(BM_FillCacheSinTimesSquarePlusOne)->Unit(benchmark::kMicrosecond);

void BM_FillCacheLine(benchmark::State& state) { fillCache(state, "0.5*x+1"); }
BENCHMARK(BM_FillCacheLine)->Unit(benchmark::kMicrosecond);

void BM_FillCachePole(benchmark::State& state) { fillCache(state, "1/(x-0.33)+sin(20*x)"); }
BENCHMARK(BM_FillCachePole)->Unit(benchmark::kMicrosecond);

}  // namespace
