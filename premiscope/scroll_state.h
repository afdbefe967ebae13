#pragma once
// The condition viewer's own scroll strip: a 10-pixel bar at the right edge
// below the caption, its thumb, and what the mouse and the wheel do to the
// content's offset. Integer arithmetic throughout, as the control draws it.
//
// d is the strip's height (client height - caption), c the content's height.
// The strip shows, and the mouse acts, only when c > d and the track
// (h = d - 4) has room: a viewer lower than its caption, one with no content
// yet, or one whose track is empty shows no thumb and divides by nothing.
#include <optional>

namespace premiscope {

struct ThumbPlace {
    int top = 0;     // client coordinates
    int height = 0;

    bool operator==(const ThumbPlace&) const = default;
};

class CScrollState {
public:
    static constexpr int kCaptionHeight = 30;
    static constexpr int kBarWidth = 10;

    // Keeps no empty paper under the content and the offset at most 0, for a
    // client of that height.
    void Clamp(int clientHeight);
    // Whether the strip is drawn and takes the mouse.
    bool HasThumb(int clientHeight) const;
    // The thumb, when there is one.
    std::optional<ThumbPlace> Thumb(int clientHeight) const;

    // A left press at client y inside the strip: grabs the thumb where it was
    // pressed, its top for a press above it, its bottom for a press below,
    // and moves the content there. False when there is no thumb.
    bool Press(int y, int clientHeight);
    // The mouse at client y while dragging: the grab follows it.
    bool Drag(int y, int clientHeight);
    void Release() { m_dragging = false; }
    // The wheel: delta / 4 pixels (30 for a notch of 120), then clamped.
    void Wheel(int delta, int clientHeight);

    int offset() const { return m_offset; }
    void setOffset(int offset) { m_offset = offset; }
    int content() const { return m_content; }
    void setContent(int content) { m_content = content; }
    bool dragging() const { return m_dragging; }
    int grab() const { return m_grab; }

private:
    int m_offset = 0;
    int m_content = 0;
    int m_grab = 0;
    bool m_dragging = false;
};

}  // namespace premiscope
