#include "platform/sys_colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <utility>

namespace platform {

QColor sysColor(int index)
{
    static constexpr std::array<std::pair<int, QPalette::ColorRole>, 6> kRoles{{
        {COLOR_BTNFACE, QPalette::Button},
        {COLOR_WINDOWTEXT, QPalette::WindowText},
        {COLOR_BTNSHADOW, QPalette::Dark},
        {COLOR_BTNHIGHLIGHT, QPalette::Light},
        {COLOR_3DDKSHADOW, QPalette::Shadow},
        {COLOR_WINDOW, QPalette::Base},
    }};
    for (const auto& [systemIndex, role] : kRoles) {
        if (systemIndex == index)
            return QGuiApplication::palette().color(QPalette::Active, role);
    }
    return QColor(0, 0, 0);
}

}  // namespace platform
