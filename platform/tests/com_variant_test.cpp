#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <unordered_set>

#include "platform/com/connection_point.h"
#include "platform/com/guid.h"
#include "platform/com/persist.h"
#include "platform/com/variant.h"

namespace platform::com {
namespace {

// ---- GUIDs ----

static_assert(Guid::literal("{0CFF8740-E65A-457C-812E-D6C6C9586028}").data1 == 0x0CFF8740);
static_assert(Guid::literal("{0cff8740-e65a-457c-812e-d6c6c9586028}") ==
              Guid::literal("{0CFF8740-E65A-457C-812E-D6C6C9586028}"));
static_assert(Guid::literal("{00000000-0000-0000-0000-000000000000}").isNull());

TEST(Guid, ParsesFieldsAndPrintsUpperCaseWithBraces)
{
    const std::optional<Guid> guid = Guid::parse("{0cff8740-e65a-457c-812e-d6c6c9586028}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->data1, 0x0CFF8740u);
    EXPECT_EQ(guid->data2, 0xE65Au);
    EXPECT_EQ(guid->data3, 0x457Cu);
    const std::array<std::uint8_t, 8> tail = {0x81, 0x2E, 0xD6, 0xC6, 0xC9, 0x58, 0x60, 0x28};
    EXPECT_EQ(guid->data4, tail);
    EXPECT_EQ(guid->toString(), "{0CFF8740-E65A-457C-812E-D6C6C9586028}");
    EXPECT_EQ(Guid{}.toString(), "{00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(Guid::parse("{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}")->toString(),
              "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}");
}

TEST(Guid, RefusesMalformedTexts)
{
    const char* const bad[] = {
        "",
        "0CFF8740-E65A-457C-812E-D6C6C9586028",     // no braces
        "{0CFF8740-E65A-457C-812E-D6C6C958602}",    // one digit short
        "{0CFF8740-E65A-457C-812E-D6C6C95860288}",  // one digit more
        "{0CFF8740E-65A-457C-812E-D6C6C9586028}",   // dash out of place
        "{0CFF8740-E65A-457C-812E-D6C6C958602G}",   // not hex
        "{0CFF8740-E65A-457C-812ED-6C6C9586028}",   // last dash out of place
        "(0CFF8740-E65A-457C-812E-D6C6C9586028)",   // other brackets
        " {0CFF8740-E65A-457C-812E-D6C6C9586028}",  // blank
    };
    for (const char* text : bad)
        EXPECT_FALSE(Guid::parse(text)) << text;
}

TEST(Guid, ComparesAndHashesByValue)
{
    const Guid a = Guid::literal("{0CFF8740-E65A-457C-812E-D6C6C9586028}");
    const Guid b = Guid::literal("{0CFF8740-E65A-457C-812E-D6C6C9586029}");
    const Guid c = Guid::literal("{1CFF8740-E65A-457C-812E-D6C6C9586028}");
    EXPECT_NE(a, b);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    std::unordered_set<Guid> set = {a, b, c, a};
    EXPECT_EQ(set.size(), 3u);
    EXPECT_TRUE(set.contains(*Guid::parse(a.toString())));
}

// ---- VARIANT_BOOL ----

TEST(VariantBool, UsualAndStrictTruth)
{
    EXPECT_EQ(rawValue(toVariantBool(true)), -1);
    EXPECT_EQ(rawValue(toVariantBool(false)), 0);
    EXPECT_TRUE(isTrue(VARIANT_BOOL{1}));
    EXPECT_FALSE(isVariantTrue(VARIANT_BOOL{1}));
    EXPECT_TRUE(isVariantTrue(VARIANT_TRUE));
    EXPECT_FALSE(isTrue(VARIANT_FALSE));
    // A bool becomes VARIANT_TRUE; a VARIANT_BOOL keeps its exact value.
    EXPECT_EQ(Variant(true), Variant(VARIANT_TRUE));
    VARIANT_BOOL kept = VARIANT_FALSE;
    ASSERT_EQ(Variant(VARIANT_BOOL{1}).get(kept), S_OK);
    EXPECT_EQ(rawValue(kept), 1);
}

// ---- Variant conversions ----

struct Conversion {
    const char* name;
    Variant from;
    VarType to;
    HRESULT hr;
    Variant expected;
};

std::int32_t g_referenced = 77;

const Conversion kConversions[] = {
    // numbers and strings, both ways, '.' only
    {"IntToString", std::int32_t{-42}, VarType::String, S_OK, "-42"},
    {"StringToInt", " 12 ", VarType::I4, S_OK, std::int32_t{12}},
    {"StringToDouble", "1.5", VarType::R8, S_OK, 1.5},
    {"StringExponentToInt", "1e3", VarType::I4, S_OK, std::int32_t{1000}},
    {"StringWithCommaIsNoNumber", "1,5", VarType::R8, DISP_E_TYPEMISMATCH, {}},
    {"DoubleToString", 0.1, VarType::String, S_OK, "0.1"},
    {"DoubleFifteenDigits", 1.0 / 3.0, VarType::String, S_OK, "0.333333333333333"},
    {"LargeDoubleToString", 1e20, VarType::String, S_OK, "1E+20"},
    {"NegativeZeroToString", -0.0, VarType::String, S_OK, "0"},
    {"UnsignedToString", std::uint32_t{4294967295u}, VarType::String, S_OK, "4294967295"},
    // doubles become integers rounding half to even
    {"HalfRoundsToEvenDown", 2.5, VarType::I4, S_OK, std::int32_t{2}},
    {"HalfRoundsToEvenUp", 3.5, VarType::I4, S_OK, std::int32_t{4}},
    {"NegativeHalf", -2.5, VarType::I4, S_OK, std::int32_t{-2}},
    {"AboveHalf", 2.6, VarType::I2, S_OK, std::int16_t{3}},
    {"StringHalfToInt", "13.5", VarType::I4, S_OK, std::int32_t{14}},
    // ranges
    {"IntTooBigForByte", std::int32_t{300}, VarType::UI1, DISP_E_OVERFLOW, {}},
    {"NegativeToByte", std::int32_t{-1}, VarType::UI1, DISP_E_OVERFLOW, {}},
    {"NegativeToUnsigned", std::int32_t{-1}, VarType::UI4, DISP_E_OVERFLOW, {}},
    {"UnsignedTooBigForInt", std::uint32_t{0x80000000u}, VarType::I4, DISP_E_OVERFLOW, {}},
    {"DoubleTooBigForInt", 2147483648.0, VarType::I4, DISP_E_OVERFLOW, {}},
    {"DoubleToUnsignedTop", 4294967295.0, VarType::UI4, S_OK, std::uint32_t{4294967295u}},
    {"StringTooBigForShort", "70000", VarType::I2, DISP_E_OVERFLOW, {}},
    {"HugeDouble", 1e300, VarType::I4, DISP_E_OVERFLOW, {}},
    // impossible
    {"WordToInt", "abc", VarType::I4, DISP_E_TYPEMISMATCH, {}},
    {"EmptyStringToInt", "", VarType::I4, DISP_E_TYPEMISMATCH, {}},
    {"NanIsNoNumber", "nan", VarType::R8, DISP_E_TYPEMISMATCH, {}},
    {"InfinityIsNoNumber", "inf", VarType::R8, DISP_E_TYPEMISMATCH, {}},
    {"IntToObject", std::int32_t{1}, VarType::Dispatch, DISP_E_TYPEMISMATCH, {}},
    {"IntToEmpty", std::int32_t{1}, VarType::Empty, DISP_E_TYPEMISMATCH, {}},
    // booleans: true is -1, any non-zero number is true
    {"TrueToInt", true, VarType::I4, S_OK, std::int32_t{-1}},
    {"TrueToString", true, VarType::String, S_OK, "-1"},
    {"OddTrueKeepsItsValue", VARIANT_BOOL{1}, VarType::I2, S_OK, std::int16_t{1}},
    {"IntToBool", std::int32_t{5}, VarType::Bool, S_OK, VARIANT_TRUE},
    {"ZeroToBool", 0.0, VarType::Bool, S_OK, VARIANT_FALSE},
    {"WordTrueToBool", "True", VarType::Bool, S_OK, VARIANT_TRUE},
    {"WordFalseToBool", " false ", VarType::Bool, S_OK, VARIANT_FALSE},
    {"NumberTextToBool", "-3", VarType::Bool, S_OK, VARIANT_TRUE},
    {"OtherWordToBool", "yes", VarType::Bool, DISP_E_TYPEMISMATCH, {}},
    {"TrueToByteIsAllOnes", true, VarType::UI1, S_OK, std::uint8_t{255}},
    {"TrueToUnsignedIsAllOnes", true, VarType::UI4, S_OK, std::uint32_t{0xFFFFFFFFu}},
    // nothing is zero, empty, false, a null object
    {"EmptyToInt", Variant(), VarType::I4, S_OK, std::int32_t{0}},
    {"EmptyToString", Variant(), VarType::String, S_OK, ""},
    {"EmptyToBool", Variant(), VarType::Bool, S_OK, VARIANT_FALSE},
    {"EmptyToObject", Variant(), VarType::Dispatch, S_OK, ComPtr<IDispatch>()},
    // a reference converts as the value it refers to
    {"ReferenceToString", Variant::ref(g_referenced), VarType::String, S_OK, "77"},
};

void PrintTo(const Conversion& row, std::ostream* out) { *out << row.name; }

class VariantConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(VariantConversion, FollowsAutomation)
{
    const Conversion& row = GetParam();
    Variant out = "untouched";
    EXPECT_EQ(row.from.changeType(row.to, out), row.hr);
    if (Succeeded(row.hr)) {
        EXPECT_EQ(out, row.expected) << out.describe() << " instead of " << row.expected.describe();
        EXPECT_EQ(out.type(), row.to);
    } else {
        EXPECT_EQ(out, Variant("untouched"));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, VariantConversion, ::testing::ValuesIn(kConversions),
                         [](const ::testing::TestParamInfo<Conversion>& info) { return info.param.name; });

TEST(Variant, ObjectsConvertOnlyToObjects)
{
    const ComPtr<IDispatch> object = make<EventSink>(nullptr);
    Variant out;
    EXPECT_EQ(Variant(object).changeType(VarType::Dispatch, out), S_OK);
    EXPECT_EQ(out, Variant(object));
    for (const VarType type : {VarType::String, VarType::I4, VarType::Bool, VarType::R8, VarType::Empty})
        EXPECT_EQ(Variant(object).changeType(type, out), DISP_E_TYPEMISMATCH);
}

TEST(Variant, ReferencesReadAndWriteTheCallersValue)
{
    std::int32_t number = 5;
    std::string text = "old";
    const Variant numberRef = Variant::ref(number);
    const Variant textRef = Variant::ref(text);
    EXPECT_TRUE(numberRef.isRef());
    EXPECT_EQ(numberRef.type(), VarType::I4);
    *numberRef.refInt32() = 9;
    *textRef.refString() = "new";
    EXPECT_EQ(number, 9);
    EXPECT_EQ(text, "new");
    EXPECT_EQ(Variant(number).refInt32(), nullptr);
    EXPECT_EQ(numberRef.refString(), nullptr);

    double real = 2.5;
    const Variant realRef = Variant::ref(real);
    EXPECT_TRUE(realRef.isRef());
    EXPECT_EQ(realRef.type(), VarType::R8);
    double read = 0;
    EXPECT_EQ(realRef.get(read), S_OK);
    EXPECT_EQ(read, 2.5);
    *realRef.refDouble() = -7.25;
    EXPECT_EQ(real, -7.25);
    EXPECT_EQ(realRef.describe(), "Ref R8 -7.25");
    EXPECT_EQ(Variant(real).refDouble(), nullptr);
    EXPECT_EQ(numberRef.refDouble(), nullptr);
}

TEST(PropertyBag, KeepsWritingOrderAndReplacesInPlace)
{
    PropertyBag bag;
    bag.write("LexemText", "x+1");
    bag.write("State", std::int16_t{2});
    bag.write("lexemtext", "y");
    ASSERT_EQ(bag.entries().size(), 2u);
    EXPECT_EQ(bag.entries()[0].first, "LexemText");
    EXPECT_EQ(bag.entries()[0].second, Variant("y"));
    EXPECT_EQ(bag.entries()[1].first, "State");

    std::int32_t state = -1;
    EXPECT_TRUE(bag.read("STATE", state));
    EXPECT_EQ(state, 2);
    std::int32_t missing = 7;
    EXPECT_FALSE(bag.read("BackColor", missing));
    EXPECT_EQ(missing, 7);
    EXPECT_FALSE(bag.read("LexemText", missing));  // "y" is no number: the default stays
    EXPECT_EQ(missing, 7);
}

}  // namespace
}  // namespace platform::com
