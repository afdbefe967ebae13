#include "stepwell/model/steps_geometry.h"

#include <algorithm>

namespace stepwell {

void StepsGeometry::Layout(int count, int clientWidth, int clientHeight, const LayoutStep& layoutStep)
{
    const int width = clientWidth - kWidthLoss;
    m_tops.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    m_heights.assign(m_tops.size(), 0);
    m_total = 0;
    m_scroll = {};
    if (count <= 0) {
        m_current.reset();
        m_offset = 0;
        return;
    }

    auto place = [&](int index, int top) {
        m_tops[index] = top;
        m_heights[index] = layoutStep(index, kLeft, top, width);
        return m_heights[index];
    };

    if (m_stepByStep) {
        if (!m_current || *m_current < 0 || *m_current >= count)
            m_current = 0;
        const int current = *m_current;
        // The current step starts at the margin; the ones before it wait far
        // above the view, where nothing of them shows.
        m_offset = 0;
        for (int i = 0; i < current; ++i)
            place(i, -kAbove);
        int y = kTopMargin + kFirstGap;
        for (int i = current; i < count; ++i)
            y += place(i, y) + kStepGap;
        m_total = y - kStepGap;
        m_scroll = {0, count - 2, 1, current, count >= 3};
        return;
    }

    auto layAll = [&] {
        int y = kTopMargin + kFirstGap + m_offset;
        for (int i = 0; i < count; ++i)
            y += place(i, y) + kStepGap;
        return y - kStepGap - m_offset;  // the bottom of the last step, unscrolled
    };
    m_total = layAll();
    // The last step's bottom never rises above the view's bottom, and the
    // first never comes down past its place.
    const int clamped = std::min(0, std::max(m_offset, clientHeight - m_total));
    if (clamped != m_offset) {
        m_offset = clamped;
        m_total = layAll();
    }
    m_scroll = {0, m_total - clientHeight + kScrollUnit - 1, kScrollUnit, -m_offset, m_total > clientHeight};
}

bool StepsGeometry::MoveCurrent(int direction, int count)
{
    if (!m_current || *m_current < 0 || *m_current >= count) {
        m_current = count > 0 ? std::optional<int>(0) : std::nullopt;
        return false;
    }
    const int index = *m_current + 1;  // from 1, as the list counts
    if (direction == 0) {
        if (index > 1)
            --*m_current;
    } else if (index < count - 1) {
        ++*m_current;
    } else if (index == count && index > 1) {
        --*m_current;
    }
    return true;
}

std::optional<int> StepsGeometry::FirstBelowMargin() const
{
    for (std::size_t i = 0; i < m_tops.size(); ++i)
        if (m_tops[i] + m_heights[i] > kTopMargin)
            return static_cast<int>(i);
    return std::nullopt;
}

bool StepsGeometry::Scroll(ScrollAction action, int value, int count)
{
    if (m_stepByStep) {
        switch (action) {
        case ScrollAction::LineUp:
        case ScrollAction::PageUp: return MoveCurrent(0, count);
        case ScrollAction::LineDown:
        case ScrollAction::PageDown: return MoveCurrent(1, count);
        case ScrollAction::Wheel: return MoveCurrent(value > 0 ? 0 : 1, count);
        case ScrollAction::Thumb:
            if (count > 0)
                m_current = std::clamp(value, 0, count - 1);
            return true;
        }
        return true;
    }
    switch (action) {
    case ScrollAction::LineUp: m_offset += 1; break;
    case ScrollAction::LineDown: m_offset -= 1; break;
    case ScrollAction::PageUp: m_offset += kScrollUnit; break;
    case ScrollAction::PageDown: m_offset -= kScrollUnit; break;
    case ScrollAction::Thumb: m_offset = -value; break;
    case ScrollAction::Wheel: m_offset += value / 10; break;
    }
    m_offset = std::min(m_offset, 0);  // the next layout keeps the end in view
    return true;
}

void AnswerStrip::Clamp(int clientHeight)
{
    const int available = clientHeight - m_header;
    if (m_offset + m_content < available)
        m_offset = available - m_content;
    if (m_offset > 0)
        m_offset = 0;
}

bool AnswerStrip::Shown(int clientHeight) const
{
    return m_content > clientHeight - m_header && track(clientHeight) > 0;
}

std::optional<AnswerStrip::Thumb> AnswerStrip::ThumbPlace(int clientHeight) const
{
    if (!Shown(clientHeight))
        return std::nullopt;
    const int available = clientHeight - m_header;
    const int t = track(clientHeight);
    return Thumb{m_header + 2 - m_offset * t / m_content, t - (m_content - available) * t / m_content};
}

void AnswerStrip::moveTo(int y, int clientHeight)
{
    m_offset = -((y - m_header + m_grab) * m_content / track(clientHeight));
    Clamp(clientHeight);
}

bool AnswerStrip::Press(int y, int clientHeight)
{
    if (!Shown(clientHeight))
        return false;
    const int available = clientHeight - m_header;
    const int t = track(clientHeight);
    const int rel = y - m_header;
    const int top = -(t * m_offset / m_content);
    const int height = t - (m_content - available) * t / m_content;
    // Taken on the thumb, it follows from where it was taken; above it, its
    // top jumps to the mouse; below it, its bottom.
    if (rel < top)
        m_grab = 0;
    else if (rel > top + height)
        m_grab = -height;
    else
        m_grab = top - rel + 1;
    m_dragging = true;
    moveTo(y, clientHeight);
    return true;
}

bool AnswerStrip::Drag(int y, int clientHeight)
{
    if (!m_dragging || !Shown(clientHeight))
        return false;
    moveTo(y, clientHeight);
    return true;
}

void AnswerStrip::Wheel(int delta, int clientHeight)
{
    m_offset += delta / m_wheelDivisor;
    Clamp(clientHeight);
}

int ControlIdCounter::Next()
{
    const int id = m_next;
    m_next = id > kWrapAbove ? kFirst : id + 1;
    return id;
}

ControlIdCounter& ControlIdCounter::Program()
{
    static ControlIdCounter counter;
    return counter;
}

}  // namespace stepwell
