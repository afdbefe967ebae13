#pragma once
// The drill's message boxes: the program's name as caption, like every
// message the application itself shows.
#include <string_view>

#include "platform/message_box.h"

class QWidget;

namespace exercise {

inline constexpr std::string_view kProgramName = "Rivodadi";

inline void ShowExerciseMessage(std::string_view text, QWidget* parent = nullptr,
                                platform::MessageIcon icon = platform::MessageIcon::None)
{
    platform::showMessage(text, kProgramName, icon, platform::MessageButtons::Ok, parent);
}

}  // namespace exercise
