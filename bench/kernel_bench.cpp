// Request-to-reply time of the stand-in solving kernel through its C entry
// points, as a host calls it: the pupil waits on every step check and solve
// (goal: under 1 ms each).
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>

namespace {

using ExecInit = int (*)(const char*, const char*, std::int32_t*, std::ostream*);
using ExecGetRes = int (*)(const char*, std::int32_t, char**, std::int32_t);
using ExecRemove = void (*)(char*, int);

struct Kernel {
    ExecGetRes getres = nullptr;
    ExecRemove remove = nullptr;
    std::int32_t handle = 0;

    explicit Kernel(const char* ruleFile)
    {
        void* library = ::dlopen(TARVIK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            std::abort();
        auto init = reinterpret_cast<ExecInit>(::dlsym(library, "exec_init"));
        getres = reinterpret_cast<ExecGetRes>(::dlsym(library, "exec_getres"));
        remove = reinterpret_cast<ExecRemove>(::dlsym(library, "exec_remove"));
        const std::string args = std::string("-l ") + TARVIK_RULES_DIR + "/" + ruleFile;
        if (!init || !getres || !remove || !init(TARVIK_LIBRARY, args.c_str(), &handle, nullptr))
            std::abort();
    }

    void run(benchmark::State& state, std::int32_t code, const char* request) const
    {
        for (auto _ : state) {
            char* reply = nullptr;
            benchmark::DoNotOptimize(getres(request, code, &reply, handle));
            remove(reply, 0);
        }
    }
};

const Kernel& stepwell()
{
    static const Kernel kernel("stepwell.clew");
    return kernel;
}

const Kernel& reckonry()
{
    static const Kernel kernel("reckonry.clew");
    return kernel;
}

void BM_KernelStepCheck(benchmark::State& state)
{
    stepwell().run(state, 5351, "(2*!x+!3=!7),(2*!x=!4)");
}
BENCHMARK(BM_KernelStepCheck)->Unit(benchmark::kMicrosecond);

void BM_KernelStepCheckSystem(benchmark::State& state)
{
    stepwell().run(state, 5351, "(System((x+!y=!5) &! (x+!(-1)*!y=!1))),(System((x=!3) &! (y=!2)))");
}
BENCHMARK(BM_KernelStepCheckSystem)->Unit(benchmark::kMicrosecond);

void BM_KernelQuadraticSolve(benchmark::State& state)
{
    stepwell().run(state, 107, "(x^!2+!(-5)*!x+!6=!0)");
}
BENCHMARK(BM_KernelQuadraticSolve)->Unit(benchmark::kMicrosecond);

void BM_KernelQuadraticSolveIrrational(benchmark::State& state)
{
    stepwell().run(state, 107, "(x^!2+!(-5)*!x+!3=!0)");
}
BENCHMARK(BM_KernelQuadraticSolveIrrational)->Unit(benchmark::kMicrosecond);

void BM_KernelSolverInequality(benchmark::State& state)
{
    reckonry().run(state, 2001, "((x+!1)/!(x+!(-2)))>=!0");
}
BENCHMARK(BM_KernelSolverInequality)->Unit(benchmark::kMicrosecond);

void BM_KernelAnswerCheck(benchmark::State& state)
{
    stepwell().run(state, 1372, "(Union((x=!2) |! (x=!3))),(x^!2+!(-5)*!x+!6=!0)");
}
BENCHMARK(BM_KernelAnswerCheck)->Unit(benchmark::kMicrosecond);

// An expression task's answer: equivalence, then whether its terms would
// combine once expanded.
void BM_KernelAnswerCheckExpression(benchmark::State& state)
{
    stepwell().run(state, 1372, "(10*!x+!(-3)),(3*!(2*!x+!(-1))+!4*!x)");
}
BENCHMARK(BM_KernelAnswerCheckExpression)->Unit(benchmark::kMicrosecond);

}  // namespace
