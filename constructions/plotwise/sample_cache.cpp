#include "constructions/plotwise/sample_cache.h"

#include <algorithm>
#include <cmath>

#include "constructions/plotwise/expression/expression_function.h"

namespace constructions::plotwise {

namespace {

// Far beyond any view: bounds the work of one fill whatever the numbers.
constexpr double kMaxGridPoints = 10'000'000.0;

bool usable(const CacheView& view)
{
    return std::isfinite(view.left) && std::isfinite(view.right) && std::isfinite(view.abscissScale) &&
           std::isfinite(view.ordinateScale) && view.abscissScale != 0.0 && view.ordinateScale != 0.0;
}

}  // namespace

double SampleCache::PixelStep(double tabStepInPixels)
{
    const double step = std::fabs(tabStepInPixels);
    if (step == 0.0 || !std::isfinite(step))
        return 1.0;
    return std::max(step, 0.1);
}

void SampleCache::Clear()
{
    m_samples.clear();
    m_first = 0;
    m_last = -1;
}

bool SampleCache::valueAt(CExpressionFunction& f, double x, double& y)
{
    ++m_evaluations;
    double value = 0.0;
    if (!f.Evaluate(x, value) || !std::isfinite(value))
        return false;
    y = value;
    return true;
}

// Halves the step between two joined samples while the value in the middle
// lies outside the range of the current ends, always the half whose ends
// differ more. A pole shows as a value undefined, not finite or more than a
// view height beyond both samples; a smooth peak stays within that.
bool SampleCache::poleBetween(CExpressionFunction& f, Sample a, Sample b)
{
    if (a.x > b.x)
        std::swap(a, b);
    const double floor = std::min(a.y, b.y) - m_jumpLimit;
    const double ceiling = std::max(a.y, b.y) + m_jumpLimit;
    for (int i = 0; i < kPoleHalvings; ++i) {
        const double xm = a.x + (b.x - a.x) / 2.0;
        double ym = 0.0;
        if (!valueAt(f, xm, ym) || ym < floor || ym > ceiling)
            return true;
        if (ym >= std::min(a.y, b.y) && ym <= std::max(a.y, b.y))
            return false;
        if (std::fabs(a.y - ym) >= std::fabs(ym - b.y))
            b = {xm, ym, false};
        else
            a = {xm, ym, false};
    }
    return false;
}

bool SampleCache::makeSample(CExpressionFunction& f, std::int64_t i, const Sample* neighbour, Sample& out)
{
    out = {gridX(i), 0.0, true};
    double y = 0.0;
    if (valueAt(f, out.x, y)) {
        out.y = y;
        out.isBreak = false;
        if (neighbour && !neighbour->isBreak) {
            const double jump = std::fabs(y - neighbour->y);
            if (jump > m_jumpLimit)
                out.isBreak = true;
            else if (jump * m_yScale > kPoleCheckPixels && poleBetween(f, *neighbour, out))
                out.isBreak = true;
        }
    }
    // Runs of breaks collapse into one.
    return !(out.isBreak && neighbour && neighbour->isBreak);
}

void SampleCache::fill(CExpressionFunction& f, const CacheView& view, DrawingInterval& interval)
{
    const double width = view.right - view.left;
    double low = view.left - kLeftMargin * width;
    double high = view.right + kRightMargin * width;
    if (interval.UseInterval) {
        if (interval.IntervalRight < interval.IntervalLeft)
            std::swap(interval.IntervalLeft, interval.IntervalRight);
        if (!interval.IntervalLeftIsInfinite && low <= interval.IntervalLeft)
            low = interval.IntervalLeft;
        if (!interval.IntervalRightIsInfinite && high >= interval.IntervalRight)
            high = interval.IntervalRight;
    }
    m_low = low;
    m_high = high;
    m_origin = low;
    m_step = m_gridPixelStep / std::fabs(view.abscissScale);
    m_gridAbscissScale = view.abscissScale;
    m_gridOrdinateScale = view.ordinateScale;
    Clear();
    if (!(high >= low))
        return;
    const auto count = static_cast<std::int64_t>(std::min(std::floor((high - low) / m_step), kMaxGridPoints));
    m_samples.reserve(static_cast<std::size_t>(count) + 1);
    for (std::int64_t i = 0; i <= count; ++i) {
        Sample sample;
        if (makeSample(f, i, m_samples.empty() ? nullptr : &m_samples.back(), sample))
            m_samples.push_back(sample);
    }
    m_first = 0;
    m_last = count;
}

void SampleCache::extend(CExpressionFunction& f, const CacheView& view, const DrawingInterval& interval)
{
    const double width = view.right - view.left;
    const bool rightBound = interval.UseInterval && !interval.IntervalRightIsInfinite;
    const bool leftBound = interval.UseInterval && !interval.IntervalLeftIsInfinite;

    if (view.right > m_high && !(rightBound && m_high >= interval.IntervalRight)) {
        double end = m_high + kRightMargin * width;
        if (rightBound && end > interval.IntervalRight)
            end = interval.IntervalRight;
        // low follows by the same length, but stays the margin left of the
        // view (a cache narrowed by the interval is shorter than seven widths).
        m_low = std::max(m_low, std::min(m_low + (end - m_high), view.left - kLeftMargin * width));
        m_high = end;
        const auto kept = std::find_if(m_samples.begin(), m_samples.end(),
                                       [this](const Sample& s) { return s.x >= m_low; });
        m_samples.erase(m_samples.begin(), kept);
        m_first = std::max(m_first, static_cast<std::int64_t>(std::ceil((m_low - m_origin) / m_step)));
        const auto last = std::min(static_cast<std::int64_t>(std::floor((m_high - m_origin) / m_step)),
                                   m_last + static_cast<std::int64_t>(kMaxGridPoints));
        for (std::int64_t i = m_last + 1; i <= last; ++i) {
            Sample sample;
            if (makeSample(f, i, m_samples.empty() ? nullptr : &m_samples.back(), sample))
                m_samples.push_back(sample);
        }
        m_last = std::max(m_last, last);
    }

    if (view.left < m_low && !(leftBound && m_low <= interval.IntervalLeft)) {
        double start = m_low - kLeftMargin * width;
        if (leftBound && start < interval.IntervalLeft)
            start = interval.IntervalLeft;
        m_high = std::min(m_high, std::max(m_high - (m_low - start), view.right + kRightMargin * width));
        m_low = start;
        const auto kept = std::find_if(m_samples.rbegin(), m_samples.rend(),
                                       [this](const Sample& s) { return s.x <= m_high; });
        m_samples.erase(kept.base(), m_samples.end());
        m_last = std::min(m_last, static_cast<std::int64_t>(std::floor((m_high - m_origin) / m_step)));
        const auto first = std::max(static_cast<std::int64_t>(std::ceil((m_low - m_origin) / m_step)),
                                    m_first - static_cast<std::int64_t>(kMaxGridPoints));
        // Added right to left, each judged against its right neighbour.
        std::vector<Sample> added;
        for (std::int64_t i = m_first - 1; i >= first; --i) {
            const Sample* neighbour = !added.empty()           ? &added.back()
                                      : !m_samples.empty() ? &m_samples.front()
                                                           : nullptr;
            Sample sample;
            if (makeSample(f, i, neighbour, sample))
                added.push_back(sample);
        }
        m_samples.insert(m_samples.begin(), added.rbegin(), added.rend());
        m_first = std::min(m_first, first);
    }
}

std::span<const Sample> SampleCache::Update(CExpressionFunction& f, const CacheView& givenView, int updateCode,
                                            double tabStepInPixels, DrawingInterval& interval)
{
    CacheView view = givenView;
    if (view.left > view.right)
        std::swap(view.left, view.right);
    m_jumpLimit = std::fabs(view.height);
    m_yScale = std::fabs(view.ordinateScale);
    if (!usable(view) || !std::isfinite(m_jumpLimit)) {
        Clear();
        return {};
    }
    if (!f.Parse()) {
        Clear();
        return {};
    }
    const double pixelStep = PixelStep(tabStepInPixels);
    // A cache that reaches an end of the interval covers everything beyond it.
    const bool leftDone = interval.UseInterval && !interval.IntervalLeftIsInfinite && m_low <= interval.IntervalLeft;
    const bool rightDone =
        interval.UseInterval && !interval.IntervalRightIsInfinite && m_high >= interval.IntervalRight;
    const bool whollyOutside = (view.right < m_low && !leftDone) || (view.left > m_high && !rightDone);
    if (!m_drawnOnce || updateCode == kSizingUpdate || m_samples.empty() || whollyOutside ||
        view.abscissScale != m_gridAbscissScale || view.ordinateScale != m_gridOrdinateScale ||
        pixelStep != m_gridPixelStep) {
        m_gridPixelStep = pixelStep;
        fill(f, view, interval);
        m_drawnOnce = true;
    } else if (view.left < m_low || view.right > m_high) {
        extend(f, view, interval);
    }
    const auto start = std::lower_bound(m_samples.begin(), m_samples.end(), view.left,
                                        [](const Sample& s, double x) { return s.x < x; });
    const auto end = std::upper_bound(start, m_samples.end(), view.right,
                                      [](double x, const Sample& s) { return x < s.x; });
    return {start, end};
}

}  // namespace constructions::plotwise
