// System colours from the application palette, and the default GUI font.
#include <QApplication>
#include <QFontInfo>
#include <QPalette>

#include <gtest/gtest.h>

#include "platform/fonts.h"
#include "platform/sys_colors.h"

namespace platform {
namespace {

TEST(SysColor, EachIndexFollowsItsPaletteRole)
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    const struct {
        int index;
        QPalette::ColorRole role;
        QColor color;
    } rows[] = {
        {COLOR_BTNFACE, QPalette::Button, QColor(1, 2, 3)},
        {COLOR_WINDOWTEXT, QPalette::WindowText, QColor(4, 5, 6)},
        {COLOR_BTNSHADOW, QPalette::Dark, QColor(7, 8, 9)},
        {COLOR_BTNHIGHLIGHT, QPalette::Light, QColor(10, 11, 12)},
        {COLOR_3DDKSHADOW, QPalette::Shadow, QColor(13, 14, 15)},
        {COLOR_WINDOW, QPalette::Base, QColor(16, 17, 18)},
    };
    for (const auto& row : rows)
        palette.setColor(QPalette::Active, row.role, row.color);
    QApplication::setPalette(palette);
    for (const auto& row : rows)
        EXPECT_EQ(sysColor(row.index), row.color) << row.index;
    EXPECT_EQ(sysColor(1), QColor(0, 0, 0));
    QApplication::setPalette(saved);
}

TEST(DefaultGuiFont, IsLiberationSansAtPixelSizeEleven)
{
    const QFont font = fonts::defaultGuiFont();
    EXPECT_EQ(font.family(), "Liberation Sans");
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
}

}  // namespace
}  // namespace platform
