#include "platform/sys_colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace platform {

namespace {

struct PaletteSlot {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// One palette slot per system colour, in index order 0 to 24.
constexpr std::array<PaletteSlot, 25> kSlots{{
    {QPalette::Active, QPalette::Midlight},         // 0 scroll bar
    {QPalette::Active, QPalette::Dark},             // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::WindowText},       // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Inactive, QPalette::Button},         // 11 inactive border
    {QPalette::Active, QPalette::Mid},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Disabled, QPalette::WindowText},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 tool tip text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 tool tip background
}};

}  // namespace

QColor sysColor(int index)
{
    if (index < 0 || index >= static_cast<int>(kSlots.size()))
        return QColor(0, 0, 0);
    const PaletteSlot& slot = kSlots[static_cast<std::size_t>(index)];
    return QGuiApplication::palette().color(slot.group, slot.role);
}

}  // namespace platform
