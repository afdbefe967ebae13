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
        {COLOR_HIGHLIGHT, QPalette::Highlight, QColor(19, 20, 21)},
        {COLOR_HIGHLIGHTTEXT, QPalette::HighlightedText, QColor(22, 23, 24)},
        {COLOR_BTNTEXT, QPalette::ButtonText, QColor(25, 26, 27)},
        {COLOR_INFOBK, QPalette::ToolTipBase, QColor(28, 29, 30)},
    };
    for (const auto& row : rows)
        palette.setColor(QPalette::Active, row.role, row.color);
    QApplication::setPalette(palette);
    for (const auto& row : rows)
        EXPECT_EQ(sysColor(row.index), row.color) << row.index;
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(31, 32, 33));
    QApplication::setPalette(palette);
    EXPECT_EQ(sysColor(COLOR_GRAYTEXT), QColor(31, 32, 33));
    EXPECT_EQ(sysColor(-1), QColor(0, 0, 0));
    EXPECT_EQ(sysColor(25), QColor(0, 0, 0));
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
