// The HTML drawer's style values: lengths, colours, named colours, style
// declarations and the style sheet.
#include <gtest/gtest.h>

#include "platform/sys_colors.h"
#include "shared/html/html_style.h"

namespace shared {
namespace {

TEST(HtmlStyle, Lengths)
{
    HtmlLengthUnits units;
    units.dotsPerInch = 96;
    units.xHeight = 7;
    units.emHeight = 15;
    const struct {
        const char* text;
        int current;
        bool fontSize;
        int length;
    } rows[] = {
        {"10pt", 16, false, 13}, {"65%", 16, false, 10}, {"150%", 5, false, 8},   {"+3", 16, false, 3},
        {"+3", 16, true, 12},    {"7", 16, true, 36},    {"8", 16, true, 8},      {"12px", 16, false, 12},
        {"2em", 0, false, 30},   {"3ex", 0, false, 21},  {"2in", 0, false, 192},  {"1cm", 0, false, 37},
        {"10mm", 0, false, 37},  {"1pc", 0, false, 16},  {"0x10", 0, false, 16},  {"", 9, false, 9},
        {"-4px", 0, false, 4},   {"1.5pt", 0, false, 2}, {"junk", 5, false, 0},
        // Huge numbers are held to a million pixels.
        {"1e308pt", 0, false, 1 << 20}, {"1e300%", 16, false, 167772}, {"99999999999", 0, false, 1 << 20},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ReadHtmlLength(row.text, row.current, row.fontSize, units), row.length) << row.text;
    units.dotsPerInch = 192;
    EXPECT_EQ(ReadHtmlLength("10pt", 0, false, units), 26);
}

TEST(HtmlStyle, Colours)
{
    const QColor current(1, 2, 3);
    const struct {
        const char* text;
        QColor colour;
    } rows[] = {
        {"#ff9900", QColor(255, 153, 0)}, {"#f90", current},         {"#ff99zz", current},
        {"", current},                    {"navy", QColor(0, 0, 128)}, {"NAVY", QColor(0, 0, 128)},
        {"255", QColor(255, 0, 0)},       {"0x00ff00", QColor(0, 255, 0)}, {"010", QColor(8, 0, 0)},
        {"nocolour", current},            {"lightgrey", QColor(211, 211, 211)}, {"fuchsia", QColor(255, 0, 255)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ReadHtmlColour(row.text, current), row.colour) << row.text;
    EXPECT_EQ(ReadHtmlColour("buttonface", current), platform::sysColor(platform::COLOR_BTNFACE));
    EXPECT_EQ(ReadHtmlColour("infobackground", current), platform::sysColor(platform::COLOR_INFOBK));
    EXPECT_EQ(ReadHtmlColour("threedlightshadow", current), platform::sysColor(platform::COLOR_3DLIGHT));
    EXPECT_EQ(HtmlNamedColourCounts(), std::make_pair(140, 28));
    for (const char* name : {"aqua", "snow", "yellowgreen", "whitesmoke", "cornflowerblue"})
        EXPECT_TRUE(HtmlNamedColour(name).isValid()) << name;
    EXPECT_FALSE(HtmlNamedColour("grey").isValid());  // not among the names the drawer knows
}

TEST(HtmlStyle, Declarations)
{
    const HtmlLengthUnits units;
    HtmlStyle style;
    style.borderWidth = 8;
    ApplyHtmlDeclarations(style,
                          "Font-Weight: BOLDER; font-style:oblique; text-decoration:underline; "
                          "border-width:thin; background-color:#102030; text-align:right; "
                          "vertical-align:vcenter; border-style:double; text-transform:capitalize; "
                          "margin-left:5px; padding-bottom:1pc; font-family:\"Courier New\"; bogus:1",
                          units);
    EXPECT_EQ(style.fontWeight, 900);
    EXPECT_TRUE(style.italic);
    EXPECT_TRUE(style.underline);
    EXPECT_EQ(style.borderWidth, 6);
    EXPECT_EQ(style.backgroundColour, QColor(16, 32, 48));
    EXPECT_EQ(style.backgroundMode, 2);
    EXPECT_EQ(style.horizontalAlign, 2);
    EXPECT_EQ(style.verticalAlign, 1);
    EXPECT_EQ(style.borderStyle, 6);
    EXPECT_EQ(style.textTransform, 3);
    EXPECT_EQ(style.marginLeft, 5);
    EXPECT_EQ(style.paddingBottom, 16);
    EXPECT_EQ(style.fontFamily, "courier new");
    ApplyHtmlDeclarations(style,
                          "font-weight:heavy; text-decoration:none; background-color:transparent; "
                          "font-family:; border-width:thick; text-align:justify",
                          units);
    EXPECT_EQ(style.fontWeight, 900);
    EXPECT_FALSE(style.underline);
    EXPECT_EQ(style.backgroundMode, 1);
    EXPECT_EQ(style.fontFamily, "courier new");
    EXPECT_EQ(style.borderWidth, 7);
    EXPECT_EQ(style.horizontalAlign, 2);
    EXPECT_EQ(ReadHtmlEffect("HardBump"), 14);
    EXPECT_EQ(ReadHtmlEffect("3vgradient"), 6);
    EXPECT_EQ(ReadHtmlEffect("12"), 12);
}

TEST(HtmlStyle, DefaultAndReplacedStyleSheets)
{
    const HtmlLengthUnits units;
    const HtmlStyleSheet sheet = ParseHtmlStyleSheet(QString(), units);
    EXPECT_EQ(sheet.size(), 17);
    EXPECT_EQ(sheet["body"].fontSize, 13);
    EXPECT_EQ(sheet["body"].fontFamily, "times new roman");
    EXPECT_EQ(sheet["h2"].textColour, QColor(255, 153, 0));
    EXPECT_EQ(sheet["h6"].fontSize, 10);
    EXPECT_EQ(sheet["h6"].textColour, QColor(0x62, 0x62, 0x62));
    EXPECT_EQ(sheet["pre"].fontFamily, "courier");
    EXPECT_EQ(sheet["pre"].backgroundMode, 2);
    EXPECT_EQ(sheet["pre"].backgroundColour, QColor(0xfb, 0xed, 0xbb));
    EXPECT_TRUE(sheet["a:hover"].underline);
    EXPECT_FALSE(sheet["a:link"].underline);
    EXPECT_EQ(sheet["sup"].verticalAlign, 0);
    EXPECT_EQ(sheet[".cpp-comment"].textColour, QColor(0, 128, 0));
    EXPECT_TRUE(sheet[".cpp-comment"].italic);

    const HtmlStyleSheet own = ParseHtmlStyleSheet("  td{color:red}\ntd {color:blue} b {font-size:3", units);
    EXPECT_EQ(own.size(), 2);
    EXPECT_EQ(own["td"].textColour, QColor(0, 0, 255));
    EXPECT_EQ(own["b"].fontSize, 12);  // size 3 as a font size
    EXPECT_TRUE(ParseHtmlStyleSheet("selector without a block", units).isEmpty());
}

}  // namespace
}  // namespace shared
