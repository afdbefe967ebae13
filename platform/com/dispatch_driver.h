#pragma once
// A host's side of a dispatch interface: calls by dispid with C++ arguments
// and a typed answer. A failed call throws Error carrying the callee's error
// info, as a wrapper class's invoke helper does.
//
//   DispatchDriver formula(control);
//   bool ok = isTrue(formula.invoke<VARIANT_BOOL>(19, aplanText));
//   std::int32_t cx = 0, cy = 0;
//   formula.invoke(27, &cx, &cy);              // out parameters
//   formula.setProperty(1, OLE_COLOR{0xFFFFFF});
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/error_info.h"
#include "platform/com/variant.h"

namespace platform::com {

class DispatchDriver {
public:
    DispatchDriver() = default;
    explicit DispatchDriver(ComPtr<IDispatch> object) : m_object(std::move(object)) {}

    void attach(ComPtr<IDispatch> object) { m_object = std::move(object); }
    void release() { m_object.reset(); }
    IDispatch* get() const { return m_object.get(); }
    explicit operator bool() const { return static_cast<bool>(m_object); }

    template <class R = void, class... A>
    R invoke(DISPID id, A&&... args)
    {
        return call<R>(id, InvokeKind::Method, argument(std::forward<A>(args))...);
    }
    template <class R>
    R getProperty(DISPID id)
    {
        return call<R>(id, InvokeKind::PropertyGet);
    }
    template <class T>
    void setProperty(DISPID id, T&& value)
    {
        call<void>(id, InvokeKind::PropertyPut, argument(std::forward<T>(value)));
    }
    // Throws Error (DISP_E_UNKNOWNNAME) for a name the object lacks.
    DISPID idOfName(std::string_view name) const;

    // Pointers to a long, a double or a string are out (or in/out) parameters.
    static Variant argument(std::int32_t* target) { return Variant::ref(*target); }
    static Variant argument(double* target) { return Variant::ref(*target); }
    static Variant argument(std::string* target) { return Variant::ref(*target); }
    template <class T>
    static Variant argument(T&& value)
    {
        return Variant(std::forward<T>(value));
    }

private:
    // Throws Error when the call fails.
    Variant callRaw(DISPID id, InvokeKind kind, std::span<const Variant> args) const;
    // Throws Error (DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW) when it cannot convert.
    static void check(HRESULT conversion);

    template <class R, class... V>
    R call(DISPID id, InvokeKind kind, V... args)
    {
        const std::array<Variant, sizeof...(V)> list{std::move(args)...};
        Variant result = callRaw(id, kind, list);
        if constexpr (std::is_void_v<R>) {
            return;
        } else if constexpr (std::is_same_v<R, Variant>) {
            return result;
        } else if constexpr (detail::isComPtr<R>) {
            ComPtr<IDispatch> object;
            check(result.get(object));
            R out;
            if (object)
                check(object.query(out));
            return out;
        } else {
            R out{};
            check(result.get(out));
            return out;
        }
    }

    ComPtr<IDispatch> m_object;
};

}  // namespace platform::com
