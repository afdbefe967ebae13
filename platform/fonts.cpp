#include "platform/fonts.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <array>
#include <utility>

#include "platform/text.h"

namespace platform::fonts {

std::string_view familyFor(std::string_view face)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kFamilies{{
        {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"MS Shell Dlg", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
        {"Verdana", "DejaVu Sans"},
        {"System", "Liberation Sans"},
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

void applyCellHeight(QFont& font, int cellHeight, int averageWidth)
{
    const int cell = std::max(1, cellHeight);
    int pixelSize = 1;
    for (int size = cell; size >= 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cell) {
            pixelSize = size;
            break;
        }
    }
    font.setPixelSize(pixelSize);
    if (averageWidth > 0) {
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp((100 * averageWidth + natural / 2) / natural, 1, 4000));
    }
}

QFont gdiFont(std::string_view face, int cellHeight, int averageWidth, int weight)
{
    const std::string_view family = familyFor(face);
    QFont font(QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size())));
    font.setKerning(false);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight > 0 ? weight : 400, 1, 1000)));
    applyCellHeight(font, cellHeight, averageWidth);
    return font;
}

QFont systemFont() { return gdiFont("System", 16, 0, 700); }

}  // namespace platform::fonts
