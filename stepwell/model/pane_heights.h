#pragma once
// The heights of the main window's three stacked panes (condition, steps,
// answer) in the room the splitter has for them: each shows what it holds
// when the room allows, none is squeezed out of use when it does not, and
// whatever does not fit is scrolled to inside its pane.
namespace stepwell {

struct PaneHeights {
    int condition = 0;
    int steps = 0;
    int answer = 0;
    bool operator==(const PaneHeights&) const = default;
};

struct PaneNeeds {
    // The condition viewer's optimal height (its caption and its content).
    int condition = 0;
    // The answer panel's optimal height; 0 while there is no answer.
    int answer = 0;
};

class PaneFit {
public:
    static constexpr int kMinimum = 30;          // the splitter's least pane (a caption)
    static constexpr int kAnswerDefault = 70;    // an answer panel with nothing in it
    static constexpr int kConditionLeast = 70;   // the caption and a line of the condition
    static constexpr int kStepsLeast = 100;      // the caption and a step

    // The answer takes what it needs (at least its default), up to half the
    // room; the condition what it needs, but leaves the steps their least
    // (never going below its own least); the steps the rest. In a room too
    // small for the leasts the condition, then the answer give way down to
    // the splitter's minimum.
    static PaneHeights Fit(int room, const PaneNeeds& needs);
};

// The number axis's origin on a bar `width` pixels wide with a tick every
// `step` pixels (step at least twice the margin): near the middle, and
// placed so that the first and the last tick lie at least `margin` pixels
// inside the edges, where their labels show whole.
int AxisOriginX(int width, int step, int margin);

}  // namespace stepwell
