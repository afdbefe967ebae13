#pragma once
// Where the steps view puts its steps and what its scroll bar shows, in both
// displays (all steps one under the other, or one step at a time), and the
// arithmetic of the answer panel's scroll strip. Plain integers: the windows
// lay the steps out through a callback and draw what these answer.
#include <functional>
#include <optional>
#include <vector>

namespace stepwell {

// The numbers of a scroll bar as the program sets them: the range includes
// the page, so the highest position is max - page + 1.
struct ScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
    bool shown = false;

    bool operator==(const ScrollInfo&) const = default;
};

class StepsGeometry {
public:
    static constexpr int kTopMargin = 30;
    static constexpr int kFirstGap = 10;   // between the margin and the first step
    static constexpr int kLeft = 20;
    static constexpr int kWidthLoss = 56;  // the steps' width is the client width less this
    static constexpr int kStepGap = 10;
    static constexpr int kAbove = 1000;    // steps before the current one lie this far above the view
    static constexpr int kScrollUnit = 20;

    // Lays one step out with its top-left corner at (x, top) over the width
    // and answers its height.
    using LayoutStep = std::function<int(int index, int x, int top, int width)>;

    // Lays out `count` steps (the answer step not among them) in a client of
    // this size. Step-by-step display uses the current step (0-based; none or
    // one out of range counts as the first).
    void Layout(int count, int clientWidth, int clientHeight, const LayoutStep& layoutStep);

    bool stepByStep() const { return m_stepByStep; }
    void setStepByStep(bool on) { m_stepByStep = on; }
    std::optional<int> current() const { return m_current; }
    void setCurrent(std::optional<int> index) { m_current = index; }
    int offset() const { return m_offset; }
    void setOffset(int offset) { m_offset = offset; }

    // The last layout's results.
    const std::vector<int>& tops() const { return m_tops; }
    const std::vector<int>& heights() const { return m_heights; }
    int totalHeight() const { return m_total; }
    const ScrollInfo& scroll() const { return m_scroll; }

    // The current step one back (direction 0) or on (1): on stops at the step
    // before the last and goes back to it from the last. False when the
    // current step lies outside the list (the first then becomes current).
    bool MoveCurrent(int direction, int count);
    // The first step whose bottom lies below the top margin, by the last layout.
    std::optional<int> FirstBelowMargin() const;
    // A scroll-bar or wheel action: lines and pages of the bar, a thumb
    // position, or the wheel's delta. Answers false when the current step
    // could not be found (MoveCurrent's false).
    enum class ScrollAction { LineUp, LineDown, PageUp, PageDown, Thumb, Wheel };
    bool Scroll(ScrollAction action, int value, int count);

private:
    bool m_stepByStep = true;
    std::optional<int> m_current;
    int m_offset = 0;
    std::vector<int> m_tops;
    std::vector<int> m_heights;
    int m_total = 0;
    ScrollInfo m_scroll;
};

// The answer panel's strip: the rules of the guide's rollup with the
// panel's caption of 30 pixels taken off the top. Nothing divides by a track
// of 0 or less, and the strip takes the mouse only while it shows. The
// condition editor's strip is the same without a caption, its wheel moving
// by a quarter of the delta.
class AnswerStrip {
public:
    static constexpr int kHeader = 30;
    static constexpr int kWidth = 10;

    explicit AnswerStrip(int header = kHeader, int wheelDivisor = 10) : m_header(header), m_wheelDivisor(wheelDivisor) {}

    struct Thumb {
        int top = 0;  // client coordinates
        int height = 0;
        bool operator==(const Thumb&) const = default;
    };

    // No empty paper under the content, the offset at most 0.
    void Clamp(int clientHeight);
    bool Shown(int clientHeight) const;
    std::optional<Thumb> ThumbPlace(int clientHeight) const;
    bool Press(int y, int clientHeight);
    bool Drag(int y, int clientHeight);
    void Release() { m_dragging = false; }
    // The wheel moves the content by a tenth (or the given part) of the delta.
    void Wheel(int delta, int clientHeight);

    int offset() const { return m_offset; }
    void setOffset(int offset) { m_offset = offset; }
    int content() const { return m_content; }
    void setContent(int content) { m_content = content; }
    bool dragging() const { return m_dragging; }

private:
    int track(int clientHeight) const { return clientHeight - m_header - 4; }
    void moveTo(int y, int clientHeight);

    int m_header;
    int m_wheelDivisor;

    int m_offset = 0;
    int m_content = 0;
    int m_grab = 0;
    bool m_dragging = false;
};

// The window ids of the formula controls: 40000 on, one program-wide
// sequence that starts again at 40000 after an id above 54000.
class ControlIdCounter {
public:
    static constexpr int kFirst = 40000;
    static constexpr int kWrapAbove = 54000;
    int Next();
    static ControlIdCounter& Program();

private:
    int m_next = kFirst;
};

}  // namespace stepwell
