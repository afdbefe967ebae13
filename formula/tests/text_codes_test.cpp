// The codes the canvases draw, as Unicode.
#include <gtest/gtest.h>

#include "formula/layout/text_codes.h"
#include "formula/model/sign_tables.h"

namespace formula {
namespace {

TEST(TextCodes, SymbolEncodingCoversEverySignAndAtom)
{
    struct Case {
        int code;
        char32_t unicode;
    };
    const Case cases[] = {
        {45, 0x2212},  {42, 0x2217},  {47, '/'},     {94, 0x22A5},  {163, 0x2264}, {174, 0x2192}, {176, 0x00B0},
        {177, 0x00B1}, {179, 0x2265}, {185, 0x2260}, {199, 0x2229}, {200, 0x222A}, {204, 0x2282}, {205, 0x2286},
        {206, 0x2208}, {207, 0x2209}, {208, 0x2220}, {219, 0x21D4}, {220, 0x21D0}, {222, 0x21D2}, {68, 0x0394},
        {97, 0x03B1},  {98, 0x03B2},  {101, 0x03B5}, {103, 0x03B3}, {109, 0x03BC}, {112, 0x03C0}, {165, 0x221E},
        {194, 0x211C}, {198, 0x2205}, {229, 0x2211}, {243, 0x2320}, {244, 0x23AE}, {245, 0x2321},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(SymbolToUnicode(static_cast<unsigned char>(c.code)), c.unicode);
    }
    // Every relation and atom of the tables has a character.
    for (const RelationInfo& relation : kRelations) {
        EXPECT_NE(SymbolToUnicode(static_cast<unsigned char>(relation.code)), U'\xFFFD') << relation.name;
    }
    for (const AtomInfo& atom : kAtoms) {
        EXPECT_NE(SymbolToUnicode(static_cast<unsigned char>(atom.code)), U'\xFFFD') << atom.name;
    }
    EXPECT_EQ(SymbolToUnicode(0), U'\xFFFD');
    EXPECT_EQ(SymbolToUnicode(127), U'\xFFFD');
    EXPECT_EQ(SymbolToUnicode(255), U'\xFFFD');
}

TEST(TextCodes, Cp1251)
{
    EXPECT_EQ(Cp1251ToUnicode('x'), U'x');
    EXPECT_EQ(Cp1251ToUnicode(183), U'\x00B7');
    EXPECT_EQ(Cp1251ToUnicode(0xC0), U'\x0410');
    EXPECT_EQ(Cp1251ToUnicode(0xFF), U'\x044F');
    EXPECT_EQ(Cp1251ToUnicode(0xA8), U'\x0401');
    EXPECT_EQ(Cp1251ToUnicode(0x98), U'\xFFFD');
}

}  // namespace
}  // namespace formula
