// The one-line property accessors: the out pointer checked, values copied or
// converted, interfaces handed out with a reference, a checked put refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/com/connection_point.h"
#include "platform/com/property.h"
#include "platform/com/variant.h"

namespace platform::com {
namespace {

// Both work in constant expressions.
static_assert([] {
    double field = 1.0;
    double out = 0.0;
    return putProperty(field, 2.0) == S_OK && getProperty(&out, field) == S_OK && out == 2.0;
}());

TEST(Property, GetChecksTheOutPointerAndCopiesOrConverts)
{
    EXPECT_EQ(getProperty(static_cast<double*>(nullptr), 2.5), E_POINTER);

    std::string text = "old";
    EXPECT_EQ(getProperty(&text, std::string("axis")), S_OK);
    EXPECT_EQ(text, "axis");

    // A narrower field widens into the out parameter's type.
    std::int32_t wide = 0;
    EXPECT_EQ(getProperty(&wide, std::int16_t{-7}), S_OK);
    EXPECT_EQ(wide, -7);

    VARIANT_BOOL flag = VARIANT_FALSE;
    EXPECT_EQ(getProperty(&flag, toVariantBool(true)), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
}

TEST(Property, GetOfAnInterfaceHandsOutAReferenceOfItsOwn)
{
    const ComPtr<IDispatch> held(make<EventSink>(nullptr));
    IDispatch* const plain = held.get();

    EXPECT_EQ(getProperty(static_cast<IDispatch**>(nullptr), held), E_POINTER);
    EXPECT_EQ(plain->AddRef(), 2u) << "a refused get takes no reference";
    plain->Release();

    IDispatch* out = nullptr;
    EXPECT_EQ(getProperty(&out, held), S_OK);
    EXPECT_EQ(out, plain);
    EXPECT_EQ(out->Release(), 1u);

    out = nullptr;
    EXPECT_EQ(getProperty(&out, plain), S_OK);
    EXPECT_EQ(out, plain);
    EXPECT_EQ(out->Release(), 1u);

    IDispatch* const none = nullptr;
    out = plain;
    EXPECT_EQ(getProperty(&out, none), S_OK);
    EXPECT_EQ(out, nullptr);
}

HRESULT positiveWidth(std::int32_t width)
{
    if (width < 0)
        return E_INVALIDARG;
    return width == 0 ? S_FALSE : S_OK;
}

TEST(Property, PutStoresOrLeavesTheFieldAsTheCheckAnswers)
{
    double plain = 1.0;
    EXPECT_EQ(putProperty(plain, 4.25), S_OK);
    EXPECT_EQ(plain, 4.25);

    const struct {
        std::int32_t value;
        HRESULT answer;
        std::int32_t stored;
    } cases[] = {
        {12, S_OK, 12},
        {-3, E_INVALIDARG, 7},
        {0, S_FALSE, 7},
    };
    for (const auto& c : cases) {
        std::int32_t width = 7;
        EXPECT_EQ(putProperty(width, c.value, positiveWidth), c.answer) << c.value;
        EXPECT_EQ(width, c.stored) << c.value;
    }

    std::string name = "kept";
    const auto nonEmpty = [](const std::string& text) { return text.empty() ? E_FAIL : S_OK; };
    EXPECT_EQ(putProperty(name, std::string(), nonEmpty), E_FAIL);
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(putProperty(name, std::string("taken"), nonEmpty), S_OK);
    EXPECT_EQ(name, "taken");
}

}  // namespace
}  // namespace platform::com
