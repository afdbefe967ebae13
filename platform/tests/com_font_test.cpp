// Fonts across the dispatch interface: the font object's members, reading a
// font through its dispids, and the face names that stand for installed families.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

#include <cmath>
#include <limits>
#include <string>

#include "platform/com/dispatch_driver.h"
#include "platform/com/font.h"
#include "platform/fonts.h"

namespace platform::com {
namespace {

TEST(FontObject, MembersByDispidChangeTheDescriptionAndTellTheOwner)
{
    const ComPtr<FontObject> font = make<FontObject>();
    int changes = 0;
    font->setChangeHandler([&] { ++changes; });
    DispatchDriver driver{ComPtr<IDispatch>(font)};

    EXPECT_EQ(driver.getProperty<std::string>(DISPID_FONT_NAME), "MS Sans Serif");
    EXPECT_EQ(driver.getProperty<double>(DISPID_FONT_SIZE), 8.0);
    EXPECT_EQ(driver.getProperty<VARIANT_BOOL>(DISPID_FONT_BOLD), VARIANT_FALSE);

    driver.setProperty(DISPID_FONT_NAME, "Times New Roman");
    driver.setProperty(DISPID_FONT_SIZE, 14.5);
    driver.setProperty(DISPID_FONT_BOLD, true);
    driver.setProperty(DISPID_FONT_ITALIC, true);
    driver.setProperty(DISPID_FONT_UNDERLINE, true);
    driver.setProperty(DISPID_FONT_STRIKETHROUGH, true);
    driver.setProperty(DISPID_FONT_CHARSET, std::int16_t{204});
    EXPECT_EQ(changes, 7);
    const FontDescription expected{"Times New Roman", 14.5, 700, true, true, true, 204};
    EXPECT_EQ(font->description(), expected);
    EXPECT_EQ(driver.getProperty<std::int16_t>(DISPID_FONT_WEIGHT), 700);

    // Bold follows the weight; setting what is already there tells nobody.
    driver.setProperty(DISPID_FONT_WEIGHT, std::int16_t{300});
    EXPECT_EQ(driver.getProperty<VARIANT_BOOL>(DISPID_FONT_BOLD), VARIANT_FALSE);
    driver.setProperty(DISPID_FONT_WEIGHT, std::int16_t{300});
    driver.setProperty(DISPID_FONT_NAME, "Times New Roman");
    EXPECT_EQ(changes, 8);
    // By name, as script hosts call.
    EXPECT_EQ(driver.idOfName("italic"), DISPID_FONT_ITALIC);
}

TEST(FontObject, RefusedValuesFailAndChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ComPtr<FontObject> font = make<FontObject>();
    int changes = 0;
    font->setChangeHandler([&] { ++changes; });
    const FontDescription before = font->description();
    const struct {
        DISPID id;
        Variant value;
    } refused[] = {
        {DISPID_FONT_NAME, ""},
        {DISPID_FONT_SIZE, 0.0},
        {DISPID_FONT_SIZE, -3.0},
        {DISPID_FONT_SIZE, 1000.5},
        {DISPID_FONT_SIZE, nan},
        {DISPID_FONT_WEIGHT, std::int16_t{-1}},
        {DISPID_FONT_WEIGHT, std::int16_t{1001}},
        {DISPID_FONT_CHARSET, std::int16_t{256}},
    };
    for (const auto& [id, value] : refused) {
        Variant result;
        const Variant args[] = {value};
        EXPECT_EQ(font->Invoke(id, InvokeKind::PropertyPut, args, &result), E_INVALIDARG) << value.describe();
        const std::optional<ErrorInfo> info = takeErrorInfo();
        ASSERT_TRUE(info.has_value());
        EXPECT_FALSE(info->description.empty());
    }
    EXPECT_EQ(font->description(), before);
    EXPECT_EQ(changes, 0);
    EXPECT_THROW(make<FontObject>(FontDescription{"Arial", 0.5}), Error);
}

// A dispatch object with a Name and nothing else: not a font.
class NameOnly final : public DispatchObject<NameOnly, IDispatch> {
public:
    static std::span<const DispatchMember<NameOnly>> dispatchMembers();
    std::string name() const { return "Arial"; }
};
constexpr DispatchMember<NameOnly> kNameOnly[] = {propertyGet<&NameOnly::name>(DISPID_FONT_NAME, "Name")};
std::span<const DispatchMember<NameOnly>> NameOnly::dispatchMembers()
{
    return kNameOnly;
}

TEST(FontObject, ReadingAFontThroughItsDispids)
{
    const FontDescription given{"Courier New", 11.0, 600, false, true, false, 0};
    FontDescription read;
    ASSERT_EQ(readFontDescription(makeFont(given).get(), &read), S_OK);
    EXPECT_EQ(read, given);

    const FontDescription untouched{"Untouched", 3.0};
    read = untouched;
    EXPECT_EQ(readFontDescription(nullptr, &read), E_POINTER);
    const ComPtr<NameOnly> notAFont = make<NameOnly>();
    EXPECT_EQ(readFontDescription(notAFont.get(), &read), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(read, untouched);
}

TEST(Fonts, FaceNamesStandForInstalledFamilies)
{
    const struct {
        const char* face;
        const char* family;
    } cases[] = {
        {"Times New Roman", "Liberation Serif"}, {"times new roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},            {"MS Sans Serif", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},      {"Symbol", "DejaVu Sans"},
        {"System", "Liberation Sans"},           {"DejaVu Serif", "DejaVu Serif"},
        {"Verdana", "DejaVu Sans"},              {"courier", "Liberation Mono"},
    };
    for (const auto& [face, family] : cases)
        EXPECT_EQ(fonts::familyFor(face), family) << face;

    const QFont font = toQFont({"Times New Roman", 12.0, 700, true, false, true, 0});
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Serif");
    EXPECT_EQ(font.pointSizeF(), 12.0);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_FALSE(font.underline());
    EXPECT_EQ(toQFont({"Arial", 8.0, 0}).weight(), QFont::Normal);
}

TEST(Fonts, CellHeightIsTheLargestPixelSizeWhoseLineFits)
{
    // Liberation Serif at pixel size 18 is 20 pixels high: a cell of 20 gives 18.
    const QFont serif = fonts::gdiFont("Times New Roman", 20, 0, 400);
    EXPECT_EQ(serif.pixelSize(), 18);
    EXPECT_EQ(QFontMetrics(serif).height(), 20);
    EXPECT_EQ(serif.weight(), QFont::Normal);
    EXPECT_FALSE(serif.kerning());
    for (const int cell : {9, 13, 16, 24, 40}) {
        const QFont font = fonts::gdiFont("Arial", cell, 0, 700);
        EXPECT_LE(QFontMetrics(font).height(), cell) << cell;
        QFont larger = font;
        larger.setPixelSize(font.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(larger).height(), cell) << cell;
    }
    // An average width stretches the glyphs towards it.
    const QFont narrow = fonts::gdiFont("Times New Roman", 20, 5, 400);
    EXPECT_LT(narrow.stretch(), 100);
    EXPECT_NEAR(QFontMetrics(narrow).averageCharWidth(), 5, 1);

    const QFont system = fonts::systemFont();
    EXPECT_EQ(QFontInfo(system).family(), "Liberation Sans");
    EXPECT_EQ(system.weight(), QFont::Bold);
    EXPECT_LE(QFontMetrics(system).height(), 16);
    EXPECT_EQ(fonts::kPixelsPerInch * 10 / 72, 13);
}

}  // namespace
}  // namespace platform::com
