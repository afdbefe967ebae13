#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/com/connection_point.h"
#include "platform/com/dispatch_driver.h"
#include "platform/com/dispatch_table.h"

namespace platform::com {
namespace {

class IShape : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = Guid::literal("{3F1B5A0E-8C2D-4E7F-9A61-2B4C6D8E0F13}");
    virtual HRESULT get_Area(double* area) = 0;
    virtual HRESULT Resize(double factor) = 0;
};

class INamed : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{7D2E4F60-1A3B-4C5D-8E9F-0A1B2C3D4E5F}");
    virtual std::string name() const = 0;
};

// Members of every kind the binder takes.
class Square final : public DispatchObject<Square, IShape, INamed, ISupportErrorInfo> {
public:
    static std::span<const DispatchMember<Square>> dispatchMembers();

    std::string name() const override { return "square"; }
    HRESULT get_Area(double* area) override
    {
        *area = m_side * m_side;
        return S_OK;
    }
    HRESULT Resize(double factor) override
    {
        if (factor <= 0)
            return reportError("Square", IShape::iid, "Factor must be positive", E_INVALIDARG);
        m_side *= factor;
        return S_OK;
    }

    double side() const { return m_side; }
    void setSide(double side) { m_side = side; }
    std::string Concat(const std::string& a, std::string_view b, std::int16_t times) const
    {
        std::string out;
        for (int i = 0; i < times; ++i)
            out += a + std::string(b);
        return out;
    }
    std::string Describe(bool flag, VARIANT_BOOL exact, std::uint8_t byte, std::uint32_t color)
    {
        return std::to_string(flag) + " " + std::to_string(rawValue(exact)) + " " + std::to_string(byte) + " " +
               std::to_string(color);
    }
    void Split(const std::string& text, std::int32_t* length, std::string* firstWord)
    {
        *length = static_cast<std::int32_t>(text.size());
        *firstWord = text.substr(0, text.find(' '));
    }
    VARIANT_BOOL IsSame(IShape* other) { return toVariantBool(other == static_cast<IShape*>(this)); }
    ComPtr<IShape> Self() { return ComPtr<IShape>(this); }
    Variant Echo(const Variant& value) { return value; }
    void Fail(std::int32_t how)
    {
        if (how == 1)
            throw Error(E_INVALIDARG, "Bad way to fail", "Square");
        throw std::runtime_error("broken");
    }

private:
    double m_side = 2;
};

constexpr DispatchMember<Square> kSquareMembers[] = {
    propertyGet<&Square::side>(1, "Side"),
    propertyPut<&Square::setSide>(1, "Side"),
    method<&Square::Concat>(2, "Concat"),
    method<&Square::Describe>(3, "Describe"),
    method<&Square::Split>(4, "Split"),
    method<&Square::IsSame>(5, "IsSame"),
    method<&Square::Self>(6, "Self"),
    method<&Square::Echo>(7, "Echo"),
    method<&Square::Fail>(8, "Fail"),
    dualGet<&Square::get_Area>(10, "Area"),
    dualMethod<&Square::Resize>(11, "Resize"),
};
static_assert(validDispatchTable(kSquareMembers));

std::span<const DispatchMember<Square>> Square::dispatchMembers() { return kSquareMembers; }

// What validDispatchTable refuses.
constexpr DispatchMember<Square> kTwoGetters[] = {
    propertyGet<&Square::side>(1, "Side"),
    method<&Square::Echo>(1, "Side"),
    propertyGet<&Square::side>(1, "Side"),
};
static_assert(!validDispatchTable(kTwoGetters));
constexpr DispatchMember<Square> kTwoNames[] = {
    propertyGet<&Square::side>(1, "Side"),
    propertyPut<&Square::setSide>(1, "Length"),
};
static_assert(!validDispatchTable(kTwoNames));

TEST(Object, AnswersItsInterfacesWithOneIdentityAndDiesWithItsLastReference)
{
    const std::size_t before = liveObjectCount();
    IShape* shape = nullptr;
    {
        const ComPtr<Square> square = make<Square>();
        EXPECT_EQ(liveObjectCount(), before + 1);
        shape = square.as<IShape>().get();
        const ComPtr<INamed> named = square.as<INamed>();
        ASSERT_TRUE(named);
        EXPECT_EQ(named->name(), "square");
        // IUnknown is the same pointer whichever interface it is asked from.
        EXPECT_EQ(ComPtr<IShape>(shape).as<IUnknown>(), named.as<IUnknown>());
        EXPECT_EQ(square.as<IDispatch>().get(), static_cast<IDispatch*>(shape));

        ComPtr<IConnectionPoint> none;
        EXPECT_EQ(named.query(none), E_NOINTERFACE);
        EXPECT_FALSE(none);
        void* raw = reinterpret_cast<void*>(1);
        EXPECT_EQ(shape->QueryInterface(IConnectionPointContainer::iid, &raw), E_NOINTERFACE);
        EXPECT_EQ(raw, nullptr);

        EXPECT_EQ(shape->AddRef(), 3u);  // square, named and this one
        EXPECT_EQ(shape->Release(), 2u);
    }
    EXPECT_EQ(liveObjectCount(), before);
}

TEST(Dispatch, ConvertsArgumentsAndAnswers)
{
    const ComPtr<Square> square = make<Square>();
    DispatchDriver driver(square);

    driver.setProperty(1, "3");  // a string converts to the double parameter
    EXPECT_EQ(driver.getProperty<double>(1), 3.0);
    EXPECT_EQ(driver.invoke<std::string>(2, "ab", 1.5, std::int32_t{2}), "ab1.5ab1.5");
    EXPECT_EQ(driver.invoke<std::string>(3, std::int32_t{7}, VARIANT_BOOL{1}, "255", std::uint32_t{0xFFFFFF}),
              "1 1 255 16777215");

    std::int32_t length = 0;
    std::string word;
    driver.invoke(4, "hello world", &length, &word);
    EXPECT_EQ(length, 11);
    EXPECT_EQ(word, "hello");

    EXPECT_EQ(driver.invoke<VARIANT_BOOL>(5, ComPtr<IDispatch>(square)), VARIANT_TRUE);
    EXPECT_EQ(driver.invoke<VARIANT_BOOL>(5, Variant()), VARIANT_FALSE);  // Empty is a null interface
    const Variant notAShape[] = {ComPtr<IDispatch>(make<EventSink>(nullptr))};
    EXPECT_EQ(square->Invoke(5, InvokeKind::Method, notAShape, nullptr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(driver.invoke<ComPtr<IShape>>(6).get(), static_cast<IShape*>(square.get()));
    EXPECT_EQ(driver.invoke<Variant>(7, std::int16_t{-4}), Variant(std::int16_t{-4}));

    // Dual members: the retval is the answer, the HRESULT the result.
    EXPECT_EQ(driver.getProperty<double>(10), 9.0);
    driver.invoke(11, 2.0);
    EXPECT_EQ(square->side(), 6.0);
}

struct BadCall {
    const char* name;
    DISPID id;
    InvokeKind kind;
    std::vector<Variant> args;
    HRESULT hr;
};

const BadCall kBadCalls[] = {
    {"UnknownDispid", 99, InvokeKind::Method, {}, DISP_E_MEMBERNOTFOUND},
    {"PropertyCalledAsMethod", 1, InvokeKind::Method, {}, DISP_E_MEMBERNOTFOUND},
    {"MethodReadAsProperty", 2, InvokeKind::PropertyGet, {}, DISP_E_MEMBERNOTFOUND},
    {"PutOfReadOnlyProperty", 10, InvokeKind::PropertyPut, {1.0}, DISP_E_MEMBERNOTFOUND},
    {"TooFewArguments", 2, InvokeKind::Method, {"a", "b"}, DISP_E_BADPARAMCOUNT},
    {"TooManyArguments", 6, InvokeKind::Method, {std::int32_t{1}}, DISP_E_BADPARAMCOUNT},
    {"WordForNumber", 1, InvokeKind::PropertyPut, {"wide"}, DISP_E_TYPEMISMATCH},
    {"OutOfShortRange", 2, InvokeKind::Method, {"a", "b", std::int32_t{70000}}, DISP_E_OVERFLOW},
    {"ValueForOutParameter", 4, InvokeKind::Method, {"x", std::int32_t{1}, "y"}, DISP_E_TYPEMISMATCH},
    {"NumberForInterface", 5, InvokeKind::Method, {std::int32_t{1}}, DISP_E_TYPEMISMATCH},
};

void PrintTo(const BadCall& call, std::ostream* out) { *out << call.name; }

class DispatchErrors : public ::testing::TestWithParam<BadCall> {};

TEST_P(DispatchErrors, AreReportedAndLeaveTheResultAlone)
{
    const BadCall& call = GetParam();
    const ComPtr<Square> square = make<Square>();
    Variant result = "untouched";
    EXPECT_EQ(square->Invoke(call.id, call.kind, call.args, &result), call.hr);
    EXPECT_EQ(result, Variant("untouched"));
    EXPECT_EQ(square->side(), 2.0);
}

INSTANTIATE_TEST_SUITE_P(Table, DispatchErrors, ::testing::ValuesIn(kBadCalls),
                         [](const ::testing::TestParamInfo<BadCall>& info) { return info.param.name; });

TEST(Dispatch, FindsNamesWithoutRegardToCase)
{
    const ComPtr<Square> square = make<Square>();
    DISPID id = 0;
    EXPECT_EQ(square->GetIDsOfNames("resize", &id), S_OK);
    EXPECT_EQ(id, 11);
    EXPECT_EQ(square->GetIDsOfNames("SIDE", &id), S_OK);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(square->GetIDsOfNames("Perimeter", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(DispatchDriver(square).idOfName("area"), 10);
    EXPECT_THROW(DispatchDriver(square).idOfName(""), Error);
}

TEST(Dispatch, FailuresLeaveErrorInfoForTheCaller)
{
    const ComPtr<Square> square = make<Square>();
    const Variant how1[] = {std::int32_t{1}};
    const Variant how2[] = {std::int32_t{2}};
    const Variant negative[] = {-1.0};

    // A thrown Error: its code and text; the default interface when it names none.
    EXPECT_EQ(square->Invoke(8, InvokeKind::Method, how1, nullptr), E_INVALIDARG);
    EXPECT_EQ(errorInfoFor(square.as<IUnknown>().get(), IShape::iid),
              (ErrorInfo{"Square", IShape::iid, "Bad way to fail"}));
    // Any other exception: E_FAIL with its text.
    EXPECT_EQ(square->Invoke(8, InvokeKind::Method, how2, nullptr), E_FAIL);
    EXPECT_EQ(takeErrorInfo(), (ErrorInfo{"", IShape::iid, "broken"}));
    // A dual member's own report.
    EXPECT_EQ(square->Invoke(11, InvokeKind::Method, negative, nullptr), E_INVALIDARG);
    const std::optional<ErrorInfo> info = takeErrorInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->description, "Factor must be positive");

    // A later call starts clean: no stale text for the next failure.
    EXPECT_EQ(square->Invoke(8, InvokeKind::Method, how1, nullptr), E_INVALIDARG);
    EXPECT_EQ(square->Invoke(1, InvokeKind::PropertyGet, {}, nullptr), S_OK);
    EXPECT_FALSE(takeErrorInfo());

    // Only an object that supports error info has its text reported.
    setErrorInfo({"Other", {}, "stale"});
    const ComPtr<EventSink> sink = make<EventSink>(nullptr);
    EXPECT_FALSE(errorInfoFor(sink.as<IUnknown>().get(), IDispatch::iid));
    EXPECT_FALSE(takeErrorInfo());
}

TEST(DispatchDriver, ThrowsWithTheCalleesErrorInfo)
{
    DispatchDriver driver(make<Square>());
    try {
        driver.invoke(11, 0.0);
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), E_INVALIDARG);
        EXPECT_EQ(error.info(), (ErrorInfo{"Square", IShape::iid, "Factor must be positive"}));
        EXPECT_STREQ(error.what(), "Factor must be positive");
    }
    try {
        driver.invoke(99);
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), DISP_E_MEMBERNOTFOUND);
        EXPECT_STREQ(error.what(), "Member not found.");
    }
    // An answer that does not convert to the type asked for.
    try {
        driver.invoke<std::int32_t>(2, "a", "b", std::int16_t{1});
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_EQ(error.hr(), DISP_E_TYPEMISMATCH);
    }
    EXPECT_THROW(DispatchDriver().invoke(1), Error);
}

TEST(StandardMessage, NamesKnownCodesAndShowsOthersInHex)
{
    EXPECT_EQ(standardMessage(E_FAIL), "Unspecified error");
    EXPECT_EQ(standardMessage(REGDB_E_CLASSNOTREG), "Class not registered");
    EXPECT_EQ(standardMessage(static_cast<HRESULT>(0x80041234u)), "Unknown error 0x80041234");
}

}  // namespace
}  // namespace platform::com
