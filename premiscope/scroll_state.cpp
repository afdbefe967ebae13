#include "premiscope/scroll_state.h"

namespace premiscope {

void CScrollState::Clamp(int clientHeight)
{
    const int available = clientHeight - kCaptionHeight;
    if (m_offset + m_content < available)
        m_offset = available - m_content;
    if (m_offset > 0)
        m_offset = 0;
}

bool CScrollState::HasThumb(int clientHeight) const
{
    const int d = clientHeight - kCaptionHeight;
    return m_content > d && d - 4 > 0;
}

std::optional<ThumbPlace> CScrollState::Thumb(int clientHeight) const
{
    if (!HasThumb(clientHeight))
        return std::nullopt;
    const int d = clientHeight - kCaptionHeight;
    const int c = m_content;
    const int h = d - 4;
    const int e = (c - d) * h / c;
    return ThumbPlace{kCaptionHeight + 2 - m_offset * h / c, h - e};
}

bool CScrollState::Press(int y, int clientHeight)
{
    if (!HasThumb(clientHeight))
        return false;
    const int d = clientHeight - kCaptionHeight;
    const int c = m_content;
    const int h = d - 4;
    const int rel = y - kCaptionHeight;
    const int top = -(h * m_offset / c);
    const int height = h - (c - d) * h / c;
    if (rel < top)
        m_grab = 0;
    else if (rel > top + height)
        m_grab = -height;
    else
        m_grab = top - rel + 1;
    m_dragging = true;
    m_offset = -((rel + m_grab) * c / h);
    Clamp(clientHeight);
    return true;
}

bool CScrollState::Drag(int y, int clientHeight)
{
    if (!m_dragging || !HasThumb(clientHeight))
        return false;
    const int d = clientHeight - kCaptionHeight;
    const int h = d - 4;
    const int rel = y - kCaptionHeight;
    m_offset = -((m_grab + rel) * m_content / h);
    Clamp(clientHeight);
    return true;
}

void CScrollState::Wheel(int delta, int clientHeight)
{
    m_offset += delta / 4;
    Clamp(clientHeight);
}

}  // namespace premiscope
