#pragma once
// The plain property accessors of a component's interface in one line each:
//
//   HRESULT CPoint::get_X(double* value) { return getProperty(value, m_x); }
//   HRESULT CPoint::put_X(double value) { return putProperty(m_x, value); }
//   HRESULT CPoint::get_Shown(VARIANT_BOOL* value) { return getProperty(value, toVariantBool(m_shown)); }
//   HRESULT CPoint::put_Kind(std::int32_t kind) { return putProperty(m_kind, kind, knownKind); }
//
// A getter answers E_POINTER for a null out pointer and writes nothing;
// otherwise it writes the value, converted to the out parameter's type, and
// answers S_OK. An interface out parameter gets a reference of its own (the
// value may be a plain or a held pointer), as every getter of an interface
// must give.
// A putter stores the value and answers S_OK. With a check, the check answers
// first: anything but S_OK (E_INVALIDARG, E_FAIL, or S_FALSE for a value
// quietly ignored) leaves the field as it was and is the putter's answer.
#include <concepts>
#include <type_traits>
#include <utility>

#include "platform/com/unknown.h"
#include "platform/hresult.h"

namespace platform::com {

template <class Out, class Value>
constexpr HRESULT getProperty(Out* out, const Value& value)
{
    if (!out)
        return E_POINTER;
    if constexpr (std::is_pointer_v<Out> && std::is_base_of_v<IUnknown, std::remove_pointer_t<Out>>)
        *out = ComPtr<std::remove_pointer_t<Out>>(value).detach();
    else
        *out = value;
    return S_OK;
}

template <class Field, class Value>
constexpr HRESULT putProperty(Field& field, Value&& value)
{
    field = std::forward<Value>(value);
    return S_OK;
}

template <class Field, class Value, class Check>
    requires std::same_as<std::invoke_result_t<Check&, const std::remove_cvref_t<Value>&>, HRESULT>
constexpr HRESULT putProperty(Field& field, Value&& value, Check&& check)
{
    if (const HRESULT answer = check(std::as_const(value)); answer != S_OK)
        return answer;
    field = std::forward<Value>(value);
    return S_OK;
}

}  // namespace platform::com
