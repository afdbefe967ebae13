#pragma once
// The buttons of the two tool palettes: which school classes show each one,
// its command id, the name of its tool tip and the shortcut or function text
// that follows the name.
#include <span>
#include <string>
#include <string_view>

#include "formula/control/palettes/palette_manager.h"

namespace formula {

// The school classes a button's row of the table admits.
enum class ClassGate {
    Any,
    FromClass8,
    FromClass9,
    FromClass10,
    FromClass11,
    NoClassOnly,
};

struct PaletteButtonInfo {
    int toolId;
    ClassGate gate;
    // A message id for the name, or 0 when the name is the literal below.
    int nameId;
    std::string_view literalName;
    // The shortcut text (" (Alt+X)") or the function's name ("sin").
    std::string_view text;
    int width;
};

// Every button of a palette, in the order they are laid out.
std::span<const PaletteButtonInfo> PaletteButtons(PaletteKind kind);

// Whether the button shows at a school class (0: none): its row's gate and
// the school-class gate of what it inserts must both admit it.
bool ButtonShown(const PaletteButtonInfo& button, int schoolClass);

// The tool tip: the name in the current message language followed by the
// button's text.
std::string ButtonToolTip(const PaletteButtonInfo& button);

}  // namespace formula
