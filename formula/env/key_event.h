#pragma once
// Keys as the editor takes them: the virtual-key codes of the keys it
// handles, with the modifier state, and what a key did.
namespace formula {

namespace vk {
inline constexpr int Back = 8;
inline constexpr int Return = 13;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
}  // namespace vk

struct KeyEvent {
    int virtualKey = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// What the control does after a key: repaint (the layout is then stale),
// show the caret again at its new place (the environment draws it, so this
// too needs a repaint), fire the change event.
struct KeyResult {
    bool repaint = false;
    bool caret = true;
    bool changed = false;
};

}  // namespace formula
