#pragma once
// VARIANT_BOOL and Variant: the values that cross a dispatch interface.
//
// Variant holds nothing (Empty), a VARIANT_BOOL, an 8-bit unsigned (BYTE),
// a 16- or 32-bit signed integer (short, long), a 32-bit unsigned (unsigned
// long, OLE_COLOR), a double, a UTF-8 string (in place of BSTR) or a dispatch
// pointer; or, for out and in/out parameters, a reference to a caller's long,
// double or string.
// Conversions follow Automation's: numbers and strings convert both ways with
// '.' whatever the locale, doubles round half to even when they become
// integers, any non-zero number is true and true is -1; a value out of the
// target's range is DISP_E_OVERFLOW, anything else impossible
// DISP_E_TYPEMISMATCH.
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "platform/com/dispatch.h"

namespace platform::com {

// Automation's boolean: VARIANT_TRUE is -1. A type of its own so that a member
// answering one answers a Bool, not a 16-bit integer, and keeps the exact
// value it gave (some members answer 1 for true).
enum class VARIANT_BOOL : std::int16_t {};
constexpr VARIANT_BOOL VARIANT_TRUE{-1};
constexpr VARIANT_BOOL VARIANT_FALSE{0};

constexpr VARIANT_BOOL toVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
// The usual rule: any value but 0 is true.
constexpr bool isTrue(VARIANT_BOOL value) { return value != VARIANT_FALSE; }
// The strict rule some members follow: only VARIANT_TRUE counts; 1 does not.
constexpr bool isVariantTrue(VARIANT_BOOL value) { return value == VARIANT_TRUE; }
constexpr std::int16_t rawValue(VARIANT_BOOL value) { return static_cast<std::int16_t>(value); }

using OLE_COLOR = std::uint32_t;

enum class VarType { Empty, Bool, UI1, I2, I4, UI4, R8, String, Dispatch };

namespace detail {
template <class T>
concept VariantScalar = std::same_as<T, bool> || std::same_as<T, VARIANT_BOOL> ||
                        std::same_as<T, std::uint8_t> || std::same_as<T, std::int16_t> ||
                        std::same_as<T, std::int32_t> || std::same_as<T, std::uint32_t> ||
                        std::same_as<T, double>;
}

class Variant {
public:
    Variant() = default;
    // Exactly these types (a bool becomes VARIANT_TRUE or VARIANT_FALSE): a
    // 64-bit long must be narrowed by the caller, never guessed.
    template <class T>
        requires detail::VariantScalar<T>
    Variant(T value) : m_value(stored(value))
    {
    }
    Variant(std::string text) : m_value(std::move(text)) {}
    Variant(std::string_view text) : m_value(std::string(text)) {}
    Variant(const char* text) : m_value(std::string(text)) {}
    Variant(ComPtr<IDispatch> object) : m_value(std::move(object)) {}

    // Out parameters: the callee writes through them into the caller's value.
    static Variant ref(std::int32_t& target);
    static Variant ref(std::string& target);
    static Variant ref(double& target);

    // The value's type (for a reference, the referenced value's).
    VarType type() const;
    bool isRef() const;
    bool isEmpty() const { return type() == VarType::Empty; }

    HRESULT changeType(VarType target, Variant& out) const;
    // The value converted to the type of out; out is untouched on failure.
    HRESULT get(bool& out) const;
    HRESULT get(VARIANT_BOOL& out) const;
    HRESULT get(std::uint8_t& out) const;
    HRESULT get(std::int16_t& out) const;
    HRESULT get(std::int32_t& out) const;
    HRESULT get(std::uint32_t& out) const;
    HRESULT get(double& out) const;
    HRESULT get(std::string& out) const;
    HRESULT get(ComPtr<IDispatch>& out) const;

    // The referenced value; nullptr when this is no reference of that type.
    std::int32_t* refInt32() const;
    std::string* refString() const;
    double* refDouble() const;

    // Same type and value (dispatch pointers by identity, references by target).
    bool operator==(const Variant&) const = default;
    // "I4 42", "String \"x\"", "Ref I4 7": for logs and test messages.
    std::string describe() const;

private:
    using Value = std::variant<std::monostate, VARIANT_BOOL, std::uint8_t, std::int16_t, std::int32_t,
                               std::uint32_t, double, std::string, ComPtr<IDispatch>, std::int32_t*,
                               std::string*, double*>;
    template <class T>
    static constexpr auto stored(T value)
    {
        if constexpr (std::same_as<T, bool>)
            return toVariantBool(value);
        else
            return value;
    }
    // A reference replaced by the value it refers to.
    Variant dereferenced() const;

    Value m_value;
};

}  // namespace platform::com
