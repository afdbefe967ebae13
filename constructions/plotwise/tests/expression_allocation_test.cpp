// Evaluation allocates nothing: a counting operator new for this binary.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "constructions/plotwise/expression/expression_function.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace constructions::plotwise {
namespace {

TEST(ExpressionAllocation, EvaluationAllocatesNothing)
{
    // The last is undefined everywhere: a missing operand.
    const struct {
        const char* text;
        bool definedSomewhere;
    } cases[] = {{"sin(x)*x^2+1", true}, {"ABS(x-3)/(x^2+1)", true}, {"x^0.5", true}, {"cos((x))-2^3^2", true},
                 {"x+", false}};
    for (const auto& [text, definedSomewhere] : cases) {
        CExpressionFunction f;
        f.SetName("x");
        f.SetText(text);
        f.Parse();
        const long before = g_allocations.load();
        int defined = 0;
        for (int i = 0; i < 10000; ++i) {
            double y = 0;
            defined += f.Evaluate(-5.0 + i * 0.001, y);
        }
        EXPECT_EQ(g_allocations.load() - before, 0) << text;
        EXPECT_EQ(defined > 0, definedSomewhere) << text;
    }
    // The counter counts: a parse allocates.
    const long before = g_allocations.load();
    CExpressionFunction f;
    f.SetText("x+1");
    f.Parse();
    EXPECT_GT(g_allocations.load(), before);
}

}  // namespace
}  // namespace constructions::plotwise
