#include "platform/com/variant.h"

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

#include "platform/text.h"

namespace platform::com {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> finiteNumber(std::string_view text)
{
    const std::optional<double> value = text::parseDouble(trimmed(text));
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

// Round half to even, as Automation turns doubles into integers.
double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

// Any value as a number, before the range check of the target type.
struct Number {
    bool integral = true;
    long long integer = 0;
    double real = 0;
};

HRESULT numberOf(const Variant& value, Number& out)
{
    switch (value.type()) {
    case VarType::Empty:
        out = {};
        return S_OK;
    case VarType::Bool:
    case VarType::UI1:
    case VarType::I2:
    case VarType::I4:
    case VarType::UI4: {
        double real = 0;
        value.get(real);
        out = {true, static_cast<long long>(real), real};
        return S_OK;
    }
    case VarType::R8:
    case VarType::String:
        break;
    case VarType::Dispatch:
        return DISP_E_TYPEMISMATCH;
    }
    if (value.type() == VarType::R8) {
        double real = 0;
        value.get(real);
        out = {false, 0, real};
        return S_OK;
    }
    std::string text;
    value.get(text);
    if (const std::optional<long long> integer = text::parseInt(trimmed(text))) {
        out = {true, *integer, static_cast<double>(*integer)};
        return S_OK;
    }
    if (const std::optional<double> real = finiteNumber(text)) {
        out = {false, 0, *real};
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

template <class T>
HRESULT integerOf(const Variant& value, T& out)
{
    // A boolean becomes an unsigned type by its bits: true is all ones.
    if constexpr (std::is_unsigned_v<T>) {
        VARIANT_BOOL flag = VARIANT_FALSE;
        if (value.type() == VarType::Bool && Succeeded(value.get(flag))) {
            out = static_cast<T>(rawValue(flag));
            return S_OK;
        }
    }
    Number number;
    if (const HRESULT hr = numberOf(value, number); Failed(hr))
        return hr;
    long long integer = number.integer;
    if (!number.integral) {
        const double rounded = roundHalfEven(number.real);
        // Beyond every target's range, and beyond what long long holds.
        if (!std::isfinite(rounded) || std::fabs(rounded) > 9.0e18)
            return DISP_E_OVERFLOW;
        integer = static_cast<long long>(rounded);
    }
    if (integer < std::numeric_limits<T>::min() || integer > std::numeric_limits<T>::max())
        return DISP_E_OVERFLOW;
    out = static_cast<T>(integer);
    return S_OK;
}

std::string formatReal(double value)
{
    if (value == 0)
        return "0";
    std::string out = text::formatGeneral(value, 15);
    for (char& c : out)
        if (c == 'e')
            c = 'E';
    return out;
}

}  // namespace

Variant Variant::ref(std::int32_t& target)
{
    Variant out;
    out.m_value = &target;
    return out;
}

Variant Variant::ref(std::string& target)
{
    Variant out;
    out.m_value = &target;
    return out;
}

Variant Variant::ref(double& target)
{
    Variant out;
    out.m_value = &target;
    return out;
}

VarType Variant::type() const
{
    struct Visitor {
        VarType operator()(std::monostate) const { return VarType::Empty; }
        VarType operator()(VARIANT_BOOL) const { return VarType::Bool; }
        VarType operator()(std::uint8_t) const { return VarType::UI1; }
        VarType operator()(std::int16_t) const { return VarType::I2; }
        VarType operator()(std::int32_t) const { return VarType::I4; }
        VarType operator()(std::uint32_t) const { return VarType::UI4; }
        VarType operator()(double) const { return VarType::R8; }
        VarType operator()(const std::string&) const { return VarType::String; }
        VarType operator()(const ComPtr<IDispatch>&) const { return VarType::Dispatch; }
        VarType operator()(std::int32_t*) const { return VarType::I4; }
        VarType operator()(std::string*) const { return VarType::String; }
        VarType operator()(double*) const { return VarType::R8; }
    };
    return std::visit(Visitor{}, m_value);
}

bool Variant::isRef() const
{
    return std::holds_alternative<std::int32_t*>(m_value) || std::holds_alternative<std::string*>(m_value) ||
           std::holds_alternative<double*>(m_value);
}

std::int32_t* Variant::refInt32() const
{
    const auto* target = std::get_if<std::int32_t*>(&m_value);
    return target ? *target : nullptr;
}

std::string* Variant::refString() const
{
    const auto* target = std::get_if<std::string*>(&m_value);
    return target ? *target : nullptr;
}

double* Variant::refDouble() const
{
    const auto* target = std::get_if<double*>(&m_value);
    return target ? *target : nullptr;
}

Variant Variant::dereferenced() const
{
    if (const double* target = refDouble())
        return Variant(*target);
    if (const std::int32_t* target = refInt32())
        return Variant(*target);
    if (const std::string* target = refString())
        return Variant(*target);
    return *this;
}

HRESULT Variant::get(double& out) const
{
    const Variant value = dereferenced();
    const auto scalar = [](const auto& item) -> std::optional<double> {
        using T = std::decay_t<decltype(item)>;
        if constexpr (std::is_same_v<T, std::monostate>)
            return 0.0;
        else if constexpr (std::is_same_v<T, VARIANT_BOOL>)
            return rawValue(item);
        else if constexpr (std::is_arithmetic_v<T>)
            return static_cast<double>(item);
        else
            return std::nullopt;
    };
    std::optional<double> number = std::visit(scalar, value.m_value);
    if (const auto* text = std::get_if<std::string>(&value.m_value))
        number = finiteNumber(*text);
    if (!number)
        return DISP_E_TYPEMISMATCH;
    out = *number;
    return S_OK;
}

HRESULT Variant::get(std::uint8_t& out) const { return integerOf(dereferenced(), out); }
HRESULT Variant::get(std::int16_t& out) const { return integerOf(dereferenced(), out); }
HRESULT Variant::get(std::int32_t& out) const { return integerOf(dereferenced(), out); }
HRESULT Variant::get(std::uint32_t& out) const { return integerOf(dereferenced(), out); }

HRESULT Variant::get(VARIANT_BOOL& out) const
{
    const Variant value = dereferenced();
    if (const auto* own = std::get_if<VARIANT_BOOL>(&value.m_value)) {
        out = *own;  // kept exactly, 1 included
        return S_OK;
    }
    if (const auto* text = std::get_if<std::string>(&value.m_value)) {
        const std::string_view word = trimmed(*text);
        if (text::equalsIgnoreCase(word, "true")) {
            out = VARIANT_TRUE;
            return S_OK;
        }
        if (text::equalsIgnoreCase(word, "false")) {
            out = VARIANT_FALSE;
            return S_OK;
        }
    }
    double number = 0;
    if (const HRESULT hr = value.get(number); Failed(hr))
        return hr;
    out = toVariantBool(number != 0);
    return S_OK;
}

HRESULT Variant::get(bool& out) const
{
    VARIANT_BOOL value = VARIANT_FALSE;
    if (const HRESULT hr = get(value); Failed(hr))
        return hr;
    out = isTrue(value);
    return S_OK;
}

HRESULT Variant::get(std::string& out) const
{
    const Variant value = dereferenced();
    switch (value.type()) {
    case VarType::Empty:
        out.clear();
        return S_OK;
    case VarType::Bool:
    case VarType::UI1:
    case VarType::I2:
    case VarType::I4:
    case VarType::UI4: {
        double number = 0;
        value.get(number);
        out = text::formatInt(static_cast<long long>(number));
        return S_OK;
    }
    case VarType::R8:
        out = formatReal(std::get<double>(value.m_value));
        return S_OK;
    case VarType::String:
        out = std::get<std::string>(value.m_value);
        return S_OK;
    case VarType::Dispatch:
        return DISP_E_TYPEMISMATCH;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT Variant::get(ComPtr<IDispatch>& out) const
{
    if (const auto* object = std::get_if<ComPtr<IDispatch>>(&m_value)) {
        out = *object;
        return S_OK;
    }
    if (std::holds_alternative<std::monostate>(m_value)) {
        out = nullptr;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT Variant::changeType(VarType target, Variant& out) const
{
    const auto convert = [this, &out]<class T>(T value) {
        const HRESULT hr = get(value);
        if (Succeeded(hr))
            out.m_value.template emplace<T>(std::move(value));
        return hr;
    };
    switch (target) {
    case VarType::Empty:
        if (!isEmpty())
            return DISP_E_TYPEMISMATCH;
        out = Variant();
        return S_OK;
    case VarType::Bool: return convert(VARIANT_FALSE);
    case VarType::UI1: return convert(std::uint8_t{0});
    case VarType::I2: return convert(std::int16_t{0});
    case VarType::I4: return convert(std::int32_t{0});
    case VarType::UI4: return convert(std::uint32_t{0});
    case VarType::R8: return convert(0.0);
    case VarType::String: return convert(std::string());
    case VarType::Dispatch: return convert(ComPtr<IDispatch>());
    }
    return DISP_E_TYPEMISMATCH;
}

std::string Variant::describe() const
{
    std::string prefix = isRef() ? "Ref " : "";
    std::string value;
    dereferenced().get(value);
    switch (type()) {
    case VarType::Empty: return prefix + "Empty";
    case VarType::Bool: return prefix + "Bool " + value;
    case VarType::UI1: return prefix + "UI1 " + value;
    case VarType::I2: return prefix + "I2 " + value;
    case VarType::I4: return prefix + "I4 " + value;
    case VarType::UI4: return prefix + "UI4 " + value;
    case VarType::R8: return prefix + "R8 " + value;
    case VarType::String: return prefix + "String \"" + value + "\"";
    case VarType::Dispatch: return std::get<ComPtr<IDispatch>>(m_value) ? "Dispatch" : "Dispatch null";
    }
    return prefix;
}

}  // namespace platform::com
