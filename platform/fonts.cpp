#include "platform/fonts.h"

#include <array>
#include <utility>

#include "platform/text.h"

namespace platform::fonts {

std::string_view familyFor(std::string_view face)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kFamilies{{
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"MS Shell Dlg", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Symbol", "DejaVu Sans"},
    }};
    for (const auto& [windowsFace, family] : kFamilies) {
        if (text::equalsIgnoreCase(windowsFace, face))
            return family;
    }
    return face;
}

QFont defaultGuiFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    return font;
}

}  // namespace platform::fonts
