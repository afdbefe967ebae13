#include <gtest/gtest.h>

#include <clocale>

#include "platform/text.h"

namespace platform::text {
namespace {

TEST(Cp1251, UkrainianTextRoundTrips)
{
    const std::string utf8 = "Привіт, Їжак! Ґанок є. №5 «так» — ok";
    const std::string bytes = cp1251FromUtf8(utf8);
    EXPECT_EQ(bytes.substr(0, 6), "\xCF\xF0\xE8\xE2\xB3\xF2");
    EXPECT_EQ(utf8FromCp1251(bytes), utf8);
}

TEST(Cp1251, EveryAssignedByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(cp1251FromUtf8(utf8FromCp1251(one)), one) << "byte " << b;
    }
}

TEST(Cp1251, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(cp1251FromUtf8("a\u4E2Db"), "a?b");        // a CJK character
    EXPECT_EQ(cp1251FromUtf8("x\xC3"), "x?");            // truncated sequence
    EXPECT_EQ(cp1251FromUtf8("\xC0\xAF"), "??");         // overlong "/"
    EXPECT_EQ(cp1251FromUtf8("\xED\xA0\x80"), "???");    // surrogate
    EXPECT_EQ(utf8FromCp1251("\x98"), "\uFFFD");
    EXPECT_FALSE(isValidUtf8("\xC3"));
    EXPECT_TRUE(isValidUtf8("Ї"));
}

TEST(Cp866, CyrillicAndGraphicsBytesBecomeUtf8)
{
    // Cyrillic letters as DOS code page 866 writes them; box drawing, the
    // letters of the upper rows and the no-break space; ASCII stays.
    EXPECT_EQ(utf8FromCp866("\x8F\xE0\xA8\xA2\xA5\xE2 a/b.bmp"), "Привет a/b.bmp");
    EXPECT_EQ(utf8FromCp866("\xB0\xC9\xF2\xF3\xF4\xF5\xF8\xFC\xFF"), "░╔ЄєЇї°№\u00A0");
    EXPECT_EQ(utf8FromCp866("\x80\xAF\xE0\xEF"), "Апря");
}

TEST(Numbers, FormatAndParseIgnoreTheCLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    // A comma locale, when the machine has one; the results must not change.
    std::setlocale(LC_NUMERIC, "uk_UA.UTF-8");
    EXPECT_EQ(formatFixed(2.5, 2), "2.50");
    EXPECT_EQ(formatFixed(-0.125, 1), "-0.1");
    EXPECT_EQ(formatGeneral(1234567.0), "1.23457e+06");
    EXPECT_EQ(formatGeneral(0.1), "0.1");
    EXPECT_EQ(parseDouble("2.5"), 2.5);
    EXPECT_EQ(parseDouble("+3"), 3.0);
    EXPECT_FALSE(parseDouble("2,5"));
    EXPECT_FALSE(parseDouble(" 2"));
    EXPECT_FALSE(parseDouble(""));
    EXPECT_EQ(parseInt("-42"), -42);
    EXPECT_FALSE(parseInt("4x"));
    EXPECT_EQ(leadingInt("  17px"), 17);
    EXPECT_EQ(leadingInt("px"), 0);
    EXPECT_DOUBLE_EQ(leadingDouble(" -1.5e1z"), -15.0);
    // A '+' before a '-' starts no number, as for atoi and atof.
    EXPECT_EQ(leadingInt(" +7"), 7);
    EXPECT_EQ(leadingInt("+-7"), 0);
    EXPECT_DOUBLE_EQ(leadingDouble("+-1.5"), 0.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(CaseFolding, OnlyAscii)
{
    EXPECT_EQ(asciiLower("AbC/Ї"), "abc/Ї");
    EXPECT_TRUE(equalsIgnoreCase("Kernel", "kERNEL"));
    EXPECT_FALSE(equalsIgnoreCase("kernel", "kernels"));
}

}  // namespace
}  // namespace platform::text
