#pragma once
// The sample cache of an arbitrary construction: the graph y = f(x) sampled on
// a step given in pixels, kept in world units three view widths beyond each
// side of the view, so that dragging the view evaluates only the strip that
// comes into the cache and a redraw evaluates nothing.
//
// Samples lie on one grid, x = origin + i * step for a counted i; a break
// sample ends a stroke (runs of breaks collapse into one). A sample is a break
// where f is undefined, infinite or NaN, where it jumps by more than the view's
// height from its neighbour, or where halving the step between them finds a
// pole (a value undefined, not finite, or more than a view height beyond both).
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace constructions::plotwise {

class CExpressionFunction;

struct Sample {
    double x = 0.0;
    double y = 0.0;
    bool isBreak = false;
};

// What the task tells of its view at a draw: the world x of its left and right
// edges, its height in world units, and its scales (pixels per world unit).
struct CacheView {
    double left = 0.0;
    double right = 0.0;
    double height = 0.0;
    double abscissScale = 20.0;
    double ordinateScale = 20.0;
};

// The construction's drawing interval; filling the cache exchanges the ends
// when the right one is smaller, and they stay exchanged.
struct DrawingInterval {
    bool UseInterval = false;
    double IntervalLeft = -10.0;
    bool IntervalLeftIsInfinite = true;
    double IntervalRight = 10.0;
    bool IntervalRightIsInfinite = true;
};

class SampleCache {
public:
    static constexpr double kInitialJumpLimit = 500.0;
    static constexpr int kLeftMargin = 3;   // view widths beyond the left edge
    static constexpr int kRightMargin = 3;  // and beyond the right edge
    // Strokes steeper than this many pixels between two samples are checked
    // for a pole between them, halving the step at most kPoleHalvings times.
    static constexpr double kPoleCheckPixels = 8.0;
    static constexpr int kPoleHalvings = 16;
    // Redraw code that rebuilds the cache (a size change).
    static constexpr int kSizingUpdate = 300;

    // Brings the cache up to date for one draw of f (parsing it when needed)
    // and answers the samples from the first at or right of the view's left
    // edge to the last not right of its right edge. The cache is filled anew
    // on the first draw, on code 300, for an empty list, a new scale, or a view
    // wholly outside it; a view partly outside extends it. The answer lives
    // until the next call.
    std::span<const Sample> Update(CExpressionFunction& f, const CacheView& view, int updateCode,
                                   double tabStepInPixels, DrawingInterval& interval);

    // The expression, its variable or the task changed: the list is emptied.
    void Clear();
    // The interval changed: the next draw fills the cache anew.
    void Reset() { m_drawnOnce = false; }

    const std::vector<Sample>& Samples() const { return m_samples; }
    double Low() const { return m_low; }
    double High() const { return m_high; }
    double JumpLimit() const { return m_jumpLimit; }
    // Every evaluation of f so far (for checking that a redraw evaluates nothing).
    std::uint64_t Evaluations() const { return m_evaluations; }

    // The step in pixels actually sampled: TabStepInPixels as given, every
    // pixel for 0, NaN or an infinity, at least 0.1 pixel.
    static double PixelStep(double tabStepInPixels);

private:
    void fill(CExpressionFunction& f, const CacheView& view, DrawingInterval& interval);
    void extend(CExpressionFunction& f, const CacheView& view, const DrawingInterval& interval);
    bool valueAt(CExpressionFunction& f, double x, double& y);
    // The sample at grid index i, judged against its neighbour on that side
    // (null: none); false when it is a break next to a break (not kept).
    bool makeSample(CExpressionFunction& f, std::int64_t i, const Sample* neighbour, Sample& out);
    bool poleBetween(CExpressionFunction& f, Sample a, Sample b);
    double gridX(std::int64_t i) const { return m_origin + static_cast<double>(i) * m_step; }

    std::vector<Sample> m_samples;
    double m_low = 0.0;
    double m_high = 0.0;
    bool m_drawnOnce = false;
    double m_jumpLimit = kInitialJumpLimit;
    double m_yScale = 20.0;
    // The grid: its origin, step, the scales it was made for, and the
    // indices of the first and last sample.
    double m_origin = 0.0;
    double m_step = 0.0;
    double m_gridAbscissScale = 0.0;
    double m_gridOrdinateScale = 0.0;
    double m_gridPixelStep = 0.0;
    std::int64_t m_first = 0;
    std::int64_t m_last = -1;
    std::uint64_t m_evaluations = 0;
};

}  // namespace constructions::plotwise
