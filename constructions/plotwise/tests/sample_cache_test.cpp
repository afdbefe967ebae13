#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "constructions/plotwise/expression/expression_function.h"
#include "constructions/plotwise/sample_cache.h"

namespace constructions::plotwise {
namespace {

// A 400 by 300 pixel view at one scale, centred on (cx, cy) in world units.
CacheView viewAt(double cx, double scale = 20.0)
{
    return {cx - 200.0 / scale, cx + 200.0 / scale, 300.0 / scale, scale, scale};
}

struct Graph {
    explicit Graph(const std::string& text)
    {
        f.SetName("x");
        f.SetText(text);
    }
    std::span<const Sample> draw(const CacheView& view, int code = 0, double step = 1.0)
    {
        return cache.Update(f, view, code, step, interval);
    }
    CExpressionFunction f;
    SampleCache cache;
    DrawingInterval interval;
};

TEST(SampleCache, FillsThreeViewWidthsBeyondEachSide)
{
    Graph g("x");
    EXPECT_EQ(g.cache.JumpLimit(), 500.0);
    const std::span<const Sample> drawn = g.draw(viewAt(0));
    EXPECT_EQ(g.cache.JumpLimit(), 15.0);
    const std::vector<Sample>& samples = g.cache.Samples();
    ASSERT_EQ(samples.size(), 2801u);
    EXPECT_EQ(g.cache.Evaluations(), 2801u);
    EXPECT_EQ(samples.front().x, -70.0);
    EXPECT_NEAR(samples.back().x, 70.0, 1e-9);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_NEAR(samples[i].x, -70.0 + 0.05 * static_cast<double>(i), 1e-9);
        EXPECT_FALSE(samples[i].isBreak);
    }
    // The samples drawn: from the view's left edge to its right edge.
    ASSERT_EQ(drawn.size(), 401u);
    EXPECT_GE(drawn.front().x, -10.0);
    EXPECT_NEAR(drawn.front().x, -10.0, 1e-9);
    EXPECT_LE(drawn.back().x, 10.0);

    // A redraw evaluates nothing.
    g.draw(viewAt(0), 200);
    EXPECT_EQ(g.cache.Evaluations(), 2801u);
}

TEST(SampleCache, AnIntervalGivenBackwardsIsExchangedAndBoundsTheSamples)
{
    Graph g("x^2");
    g.interval = {true, 5.0, false, -5.0, false};
    g.draw(viewAt(0));
    EXPECT_EQ(g.interval.IntervalLeft, -5.0);
    EXPECT_EQ(g.interval.IntervalRight, 5.0);
    const std::vector<Sample>& samples = g.cache.Samples();
    ASSERT_EQ(samples.size(), 201u);
    EXPECT_EQ(samples.front().x, -5.0);
    EXPECT_NEAR(samples.back().x, 5.0, 1e-9);
    // Dragging past the interval's end evaluates nothing more.
    const auto evaluations = g.cache.Evaluations();
    g.draw(viewAt(50), 100);
    g.draw(viewAt(-50), 100);
    EXPECT_EQ(g.cache.Evaluations(), evaluations);
    EXPECT_EQ(g.cache.Samples().size(), 201u);
}

TEST(SampleCache, DraggingEvaluatesOnlyTheStripThatComesIn)
{
    for (const int code : {100, 0}) {
        SCOPED_TRACE(code);
        Graph g("x");
        g.draw(viewAt(0));
        const auto filled = g.cache.Evaluations();
        // Less than three view widths: nothing evaluated, the view still drawn.
        const std::span<const Sample> near = g.draw(viewAt(59.0), code);
        EXPECT_EQ(g.cache.Evaluations(), filled);
        ASSERT_EQ(near.size(), 401u);
        EXPECT_NEAR(near.front().x, 49.0, 1e-9);

        // Further: the strip (70, 130] only, and the left end dropped.
        const std::span<const Sample> far = g.draw(viewAt(65.0), code);
        EXPECT_EQ(g.cache.Evaluations() - filled, 1200u);
        EXPECT_NEAR(g.cache.Low(), -10.0, 1e-9);
        EXPECT_NEAR(g.cache.High(), 130.0, 1e-9);
        const std::vector<Sample>& samples = g.cache.Samples();
        EXPECT_NEAR(samples.front().x, -10.0, 1e-9);
        EXPECT_NEAR(samples.back().x, 130.0, 1e-9);
        EXPECT_NEAR(static_cast<double>(samples.size()), 2801.0, 1.0);
        ASSERT_FALSE(far.empty());
        EXPECT_NEAR(far.front().x, 55.0, 1e-9);
        EXPECT_NEAR(far.back().x, 75.0, 1e-9);

        // And back to the left: the strip on the left only.
        const auto before = g.cache.Evaluations();
        g.draw(viewAt(-11.0), code);
        EXPECT_NEAR(g.cache.Low(), -70.0, 1e-9);
        EXPECT_NEAR(g.cache.High(), 70.0, 1e-9);
        EXPECT_EQ(g.cache.Evaluations() - before, 1200u);
        for (std::size_t i = 1; i < g.cache.Samples().size(); ++i)
            EXPECT_NEAR(g.cache.Samples()[i].x - g.cache.Samples()[i - 1].x, 0.05, 1e-9);
    }
}

// Breaks collapse: never two in a row.
void expectRunsCollapsed(const std::vector<Sample>& samples)
{
    for (std::size_t i = 1; i < samples.size(); ++i)
        EXPECT_FALSE(samples[i].isBreak && samples[i - 1].isBreak) << "at x " << samples[i].x;
}

// No stroke joins across p by more than 8 pixels.
void expectNoStrokeOver(const std::vector<Sample>& samples, double p, double scale = 20.0)
{
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Sample& a = samples[i - 1];
        const Sample& b = samples[i];
        if (!a.isBreak && !b.isBreak && a.x <= p && b.x >= p) {
            EXPECT_LE(std::fabs(b.y - a.y) * scale, 8.0) << "from " << a.x << " to " << b.x << " over " << p;
        }
    }
}

TEST(SampleCache, UndefinedPointsAndPolesBreakTheLine)
{
    const struct {
        const char* text;
        double from;  // no defined sample strictly inside (from, to)
        double to;
        double pole;  // NaN: none
    } cases[] = {
        {"1/x", 0, 0, 0},
        {"x^0.5", -1e9, 0, NAN},
        {"x^0.25", -1e9, 0, NAN},
        {"(x^2-1)^0.5", -1, 1, NAN},
        {"0.1/(x-0.33)", 0.30, 0.35, 0.33},
        {"1/(x-0.025)", 0, 0, 0.025},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Graph g(c.text);
        g.draw(viewAt(0));
        const std::vector<Sample>& samples = g.cache.Samples();
        expectRunsCollapsed(samples);
        bool brokeInside = false;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const Sample& s = samples[i];
            if (s.x > c.from && s.x < c.to) {
                EXPECT_TRUE(s.isBreak) << "defined at " << s.x;
            }
            if (s.isBreak && s.x >= c.from - 0.05 && s.x <= c.to + 0.05)
                brokeInside = true;
        }
        EXPECT_TRUE(brokeInside);
        if (!std::isnan(c.pole))
            expectNoStrokeOver(samples, c.pole);
    }
}

std::string number(double value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4).ptr;
    return std::string(buffer, end);
}

TEST(SampleCache, StrokesOverRandomPolesStayShort)
{
    std::mt19937 random(20261211);
    std::uniform_real_distribution<double> cs(0.001, 10.0);
    std::uniform_real_distribution<double> ps(-60.0, 60.0);
    for (int i = 0; i < 1000; ++i) {
        const double c = cs(random);
        const double p = ps(random);
        const bool negative = i % 2 == 1;
        // No unary minus in the language: 0-c, and x+|p| for a negative p.
        const std::string text = (negative ? "(0-" + number(c) + ")" : number(c)) + "/(x" +
                                 (p < 0 ? "+" + number(-p) : "-" + number(p)) + ")";
        SCOPED_TRACE(text);
        Graph g(text);
        g.draw(viewAt(0));
        double pole = 0;
        const std::string digits = number(std::fabs(p));
        std::from_chars(digits.data(), digits.data() + digits.size(), pole);
        expectNoStrokeOver(g.cache.Samples(), p < 0 ? -pole : pole);
        expectRunsCollapsed(g.cache.Samples());
        if (HasFailure())
            break;
    }
}

TEST(SampleCache, SmoothGraphsKeepEverySampleInTheView)
{
    for (const char* text : {"x^3", "sin(20*x)", "0.5*x^2", "5*sin(30*x)", "sin(50*x)", "400*(x-0.013)^2"}) {
        SCOPED_TRACE(text);
        Graph g(text);
        const std::span<const Sample> drawn = g.draw(viewAt(0));
        ASSERT_EQ(drawn.size(), 401u);
        // Samples inside the view (its height is 15 units around 0) are all
        // joined; far above it the jump limit may break a steep graph.
        int inside = 0;
        for (const Sample& s : drawn) {
            if (std::fabs(s.y) <= 7.5) {
                ++inside;
                EXPECT_FALSE(s.isBreak) << "at " << s.x;
            }
        }
        EXPECT_GT(inside, 3);
    }
}

TEST(SampleCache, StepInPixelsNeverLoops)
{
    const struct {
        double step;
        std::size_t samples;
    } cases[] = {
        {1.0, 2801}, {0.0, 2801}, {NAN, 2801}, {INFINITY, 2801}, {-2.0, 1401}, {0.01, 28001}, {0.1, 28001},
    };
    for (const auto& [step, samples] : cases) {
        SCOPED_TRACE(step);
        Graph g("x");
        g.draw(viewAt(0), 0, step);
        EXPECT_EQ(g.cache.Samples().size(), samples);
    }
}

TEST(SampleCache, FollowsTheViewWhateverTheCode)
{
    Graph g("x");
    g.draw(viewAt(0));
    // Moved far away with code 0: filled anew around the view.
    const std::span<const Sample> far = g.draw(viewAt(1000.0), 0);
    ASSERT_EQ(far.size(), 401u);
    EXPECT_NEAR(far.front().x, 990.0, 1e-9);
    EXPECT_NEAR(g.cache.Low(), 930.0, 1e-9);
    EXPECT_EQ(g.cache.Samples().size(), 2801u);
    // A new scale with code 0: the grid of the new scale.
    const std::span<const Sample> zoomed = g.draw(viewAt(0, 40.0), 0);
    ASSERT_EQ(zoomed.size(), 401u);
    EXPECT_NEAR(zoomed[1].x - zoomed[0].x, 0.025, 1e-12);
    EXPECT_NEAR(g.cache.Low(), -35.0, 1e-9);
    // Code 300 fills anew even for the same view.
    const auto before = g.cache.Evaluations();
    g.draw(viewAt(0, 40.0), 300);
    EXPECT_EQ(g.cache.Evaluations() - before, 2801u);
    // The interval changed: the next draw fills anew.
    g.cache.Reset();
    g.draw(viewAt(0, 40.0), 200);
    EXPECT_EQ(g.cache.Evaluations() - before, 2 * 2801u);
}

TEST(SampleCache, OddScalesAndViewsEnd)
{
    Graph half("x");
    EXPECT_EQ(half.draw(viewAt(0, 0.5)).size(), 401u);
    EXPECT_EQ(half.cache.Samples().size(), 2801u);

    Graph negative("x");
    EXPECT_EQ(negative.draw(viewAt(0, -20.0)).size(), 401u);
    EXPECT_EQ(negative.cache.Samples().size(), 2801u);

    for (const double scale : {0.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Graph odd("x");
        EXPECT_TRUE(odd.draw(viewAt(0, scale)).empty());
    }

    // Nothing to draw without a tree.
    Graph broken("x+*");
    EXPECT_TRUE(broken.draw(viewAt(0)).empty());
    Graph undefined("x^0.5");
    undefined.f.SetName("t");
    EXPECT_TRUE(undefined.draw(viewAt(0)).empty());
}

}  // namespace
}  // namespace constructions::plotwise
