#pragma once
// Dispatch over typed C++ members. A table binds dispids and names to member
// functions; Invoke converts the Variant arguments to the parameter types and
// the answer back to a Variant.
//
//   class SampleCtrl : public DispatchObject<SampleCtrl, _DSample> {
//   public:
//       static std::span<const DispatchMember<SampleCtrl>> dispatchMembers();
//       std::int32_t Add(std::int32_t a, std::int32_t b);
//       std::string caption() const;
//       void setCaption(const std::string& text);
//       HRESULT Divide(double a, double b, double* quotient);
//   };
//
//   constexpr DispatchMember<SampleCtrl> kMembers[] = {
//       propertyGet<&SampleCtrl::caption>(1, "Caption"),
//       propertyPut<&SampleCtrl::setCaption>(1, "Caption"),
//       method<&SampleCtrl::Add>(3, "Add"),
//       dualMethod<&SampleCtrl::Divide>(4, "Divide"),
//   };
//   static_assert(validDispatchTable(kMembers));
//   std::span<const DispatchMember<SampleCtrl>> SampleCtrl::dispatchMembers() { return kMembers; }
//
// Parameters: bool, VARIANT_BOOL, std::uint8_t, std::int16_t, std::int32_t,
// std::uint32_t, double, std::string (by value or const&), std::string_view,
// const Variant&, I* for an interface I (null for an Empty argument), and the
// out or in/out parameters std::int32_t*, double* and std::string*
// (Variant::ref arguments: the member reads the caller's value and writes
// its answer back).
// Answers: void, the same value types, Variant, ComPtr<I> (I a dispatch
// interface).
//
// Plain members (method, propertyGet, propertyPut) answer their value. To
// fail they throw Error: Invoke answers its hr and leaves its info as the
// thread's error info (the default interface's iid when it names none); any
// other exception is E_FAIL with its text.
//
// Dual members (dualMethod, dualGet, dualPut) are the HRESULT members of a dual
// interface, called by vtable and by dispid alike: their HRESULT is Invoke's,
// with the error info they set themselves (exceptions as for plain members).
// A last parameter T* (T a value type or Variant) or I** (I an interface) is
// the retval: Invoke's answer, whose value in is lost. So a member with an
// in/out parameter or several outs (a point converted in place, a rectangle's
// four outs) binds as a plain method: its pointers are all Variant::ref
// arguments, read and written in the caller's values.
//
// A host's event sink is written the same way: DispatchObject<Sink, IDispatch>
// with a table of its handlers under the events' dispids.
#include <cstddef>
#include <span>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com/error_info.h"
#include "platform/com/variant.h"
#include "platform/text.h"

namespace platform::com {

template <class C>
struct DispatchMember {
    DISPID id;
    std::string_view name;
    InvokeKind kind;
    std::size_t argCount;
    HRESULT (*call)(C& object, std::span<const Variant> args, Variant* result);
};

namespace detail {

template <class... T>
struct TypeList {};

template <class F>
struct MemberTraits;
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Params = std::tuple<A...>;
};
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...) const> : MemberTraits<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...) noexcept> : MemberTraits<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...) const noexcept> : MemberTraits<R (C::*)(A...)> {};

template <auto Fn>
using ClassOf = typename MemberTraits<decltype(Fn)>::Class;
template <auto Fn>
using ParamsOf = typename MemberTraits<decltype(Fn)>::Params;

template <class T>
concept ValueType = VariantScalar<T> || std::same_as<T, std::string>;
template <class I>
concept Interface = std::is_base_of_v<IUnknown, I>;

// An argument converted for the member: load from the Variant, pass to the call.
template <class T>
struct Arg;
template <ValueType T>
struct Arg<T> {
    T value{};
    HRESULT load(const Variant& from) { return from.get(value); }
    T& pass() { return value; }
};
template <>
struct Arg<std::string_view> {
    std::string value;
    HRESULT load(const Variant& from) { return from.get(value); }
    std::string_view pass() { return value; }
};
template <>
struct Arg<Variant> {
    const Variant* value = nullptr;
    HRESULT load(const Variant& from)
    {
        value = &from;
        return S_OK;
    }
    const Variant& pass() { return *value; }
};
template <>
struct Arg<std::int32_t*> {
    std::int32_t* value = nullptr;
    HRESULT load(const Variant& from) { return (value = from.refInt32()) ? S_OK : DISP_E_TYPEMISMATCH; }
    std::int32_t* pass() { return value; }
};
template <>
struct Arg<std::string*> {
    std::string* value = nullptr;
    HRESULT load(const Variant& from) { return (value = from.refString()) ? S_OK : DISP_E_TYPEMISMATCH; }
    std::string* pass() { return value; }
};
template <>
struct Arg<double*> {
    double* value = nullptr;
    HRESULT load(const Variant& from) { return (value = from.refDouble()) ? S_OK : DISP_E_TYPEMISMATCH; }
    double* pass() { return value; }
};
template <Interface I>
struct Arg<I*> {
    ComPtr<I> value;
    HRESULT load(const Variant& from)
    {
        ComPtr<IDispatch> object;
        if (const HRESULT hr = from.get(object); Failed(hr))
            return hr;
        if (!object)
            return S_OK;
        return Succeeded(object.query(value)) ? S_OK : DISP_E_TYPEMISMATCH;
    }
    I* pass() { return value.get(); }
};

template <class R>
Variant toResult(R&& value)
{
    using T = std::remove_cvref_t<R>;
    if constexpr (isComPtr<T>) {
        static_assert(std::is_convertible_v<decltype(value.get()), IDispatch*>,
                      "an answered object must be a dispatch interface");
        return Variant(ComPtr<IDispatch>(value));
    } else {
        return Variant(std::forward<R>(value));
    }
}

// The retval of a dual member.
template <class P>
struct Retval;
template <ValueType T>
struct Retval<T*> {
    T value{};
    T* slot() { return &value; }
    Variant result() { return Variant(std::move(value)); }
};
template <>
struct Retval<Variant*> {
    Variant value;
    Variant* slot() { return &value; }
    Variant result() { return std::move(value); }
};
template <Interface I>
struct Retval<I**> {
    static_assert(std::is_base_of_v<IDispatch, I>, "an answered object must be a dispatch interface");
    ComPtr<I> value;
    I** slot() { return value.put(); }
    Variant result() { return Variant(ComPtr<IDispatch>(value)); }
};

// An explicit specialisation of a variable template is not implicitly
// inline: each one must say so, or every includer defines it.
template <class P>
inline constexpr bool isRetval = false;
template <ValueType T>
inline constexpr bool isRetval<T*> = true;
template <>
inline constexpr bool isRetval<Variant*> = true;
template <Interface I>
inline constexpr bool isRetval<I**> = true;

template <auto Fn, bool Dual>
constexpr std::size_t argCountOf()
{
    using Params = ParamsOf<Fn>;
    constexpr std::size_t count = std::tuple_size_v<Params>;
    if constexpr (Dual && count > 0)
        return isRetval<std::tuple_element_t<count - 1, Params>> ? count - 1 : count;
    else
        return count;
}

template <auto Fn, bool Dual, std::size_t... I>
HRESULT callBound(ClassOf<Fn>& object, [[maybe_unused]] std::span<const Variant> args,
                  [[maybe_unused]] Variant* result, std::index_sequence<I...>)
{
    using Params = ParamsOf<Fn>;
    using R = typename MemberTraits<decltype(Fn)>::Result;
    [[maybe_unused]] std::tuple<Arg<std::remove_cvref_t<std::tuple_element_t<I, Params>>>...> holders;
    HRESULT hr = S_OK;
    ((hr = Failed(hr) ? hr : std::get<I>(holders).load(args[I])), ...);
    if (Failed(hr))
        return hr;
    if constexpr (Dual) {
        static_assert(std::is_same_v<R, HRESULT>, "a dual member answers an HRESULT");
        if constexpr (sizeof...(I) < std::tuple_size_v<Params>) {
            Retval<std::tuple_element_t<sizeof...(I), Params>> retval;
            hr = (object.*Fn)(std::get<I>(holders).pass()..., retval.slot());
            if (Succeeded(hr) && result)
                *result = retval.result();
            return hr;
        } else {
            return (object.*Fn)(std::get<I>(holders).pass()...);
        }
    } else if constexpr (std::is_void_v<R>) {
        (object.*Fn)(std::get<I>(holders).pass()...);
        return S_OK;
    } else {
        Variant value = toResult((object.*Fn)(std::get<I>(holders).pass()...));
        if (result)
            *result = std::move(value);
        return S_OK;
    }
}

// What method<>() and the others answer: converts to the table's entry type,
// which may be a class derived from the member's own.
template <auto Fn, InvokeKind Kind, bool Dual>
struct Binding {
    DISPID id;
    std::string_view name;

    static constexpr std::size_t argCount = argCountOf<Fn, Dual>();

    template <class D>
    static HRESULT call(D& object, std::span<const Variant> args, Variant* result)
    {
        return callBound<Fn, Dual>(object, args, result, std::make_index_sequence<argCount>{});
    }

    template <class D>
        requires std::is_base_of_v<ClassOf<Fn>, D>
    constexpr operator DispatchMember<D>() const
    {
        return {id, name, Kind, argCount, &call<D>};
    }
};

}  // namespace detail

template <auto Fn>
constexpr detail::Binding<Fn, InvokeKind::Method, false> method(DISPID id, std::string_view name)
{
    return {id, name};
}
template <auto Fn>
constexpr detail::Binding<Fn, InvokeKind::PropertyGet, false> propertyGet(DISPID id, std::string_view name)
{
    return {id, name};
}
template <auto Fn>
constexpr detail::Binding<Fn, InvokeKind::PropertyPut, false> propertyPut(DISPID id, std::string_view name)
{
    return {id, name};
}
template <auto Fn>
constexpr detail::Binding<Fn, InvokeKind::Method, true> dualMethod(DISPID id, std::string_view name)
{
    return {id, name};
}
template <auto Fn>
constexpr detail::Binding<Fn, InvokeKind::PropertyGet, true> dualGet(DISPID id, std::string_view name)
{
    return {id, name};
}
template <auto Fn>
constexpr detail::Binding<Fn, InvokeKind::PropertyPut, true> dualPut(DISPID id, std::string_view name)
{
    return {id, name};
}

// For a static_assert on a table: no dispid bound twice for one kind, one
// name per dispid, and a property put takes its value.
template <class C>
constexpr bool validDispatchTable(std::span<const DispatchMember<C>> members)
{
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (members[i].kind == InvokeKind::PropertyPut && members[i].argCount == 0)
            return false;
        for (std::size_t j = i + 1; j < members.size(); ++j) {
            if (members[i].id != members[j].id)
                continue;
            if (members[i].kind == members[j].kind || members[i].name != members[j].name)
                return false;
        }
    }
    return true;
}
template <class C, std::size_t N>
constexpr bool validDispatchTable(const DispatchMember<C> (&members)[N])
{
    return validDispatchTable(std::span<const DispatchMember<C>>(members));
}

// IDispatch::GetIDsOfNames over a table.
template <class C>
HRESULT idOfName(std::span<const DispatchMember<C>> members, std::string_view name, DISPID* id)
{
    if (!id)
        return E_POINTER;
    for (const DispatchMember<C>& member : members) {
        if (text::equalsIgnoreCase(member.name, name)) {
            *id = member.id;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

// IDispatch::Invoke over a table. Clears the thread's error info first, so a
// caller never reads an earlier call's error.
template <class C>
HRESULT invokeMember(std::span<const DispatchMember<C>> members, C& object, DISPID id, InvokeKind kind,
                     std::span<const Variant> args, Variant* result, const IID& defaultIid)
{
    clearErrorInfo();
    const DispatchMember<C>* found = nullptr;
    for (const DispatchMember<C>& member : members)
        if (member.id == id && member.kind == kind)
            found = &member;
    if (!found)
        return DISP_E_MEMBERNOTFOUND;
    if (args.size() != found->argCount)
        return DISP_E_BADPARAMCOUNT;
    try {
        return found->call(object, args, result);
    } catch (const Error& error) {
        ErrorInfo info = error.info();
        if (info.iid.isNull())
            info.iid = defaultIid;
        setErrorInfo(std::move(info));
        return Failed(error.hr()) ? error.hr() : E_FAIL;
    } catch (const std::exception& error) {
        setErrorInfo({{}, defaultIid, error.what()});
        return E_FAIL;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// IDispatch (and the interfaces extending it) answered from Derived's table:
// Derived declares `static std::span<const DispatchMember<Derived>> dispatchMembers();`.
// The first interface is the default one, named in error info.
template <class Derived, class... Interfaces>
class DispatchObject : public Object<Interfaces...> {
    static_assert((detail::chainHas<Interfaces>(IDispatch::iid) || ...),
                  "one of the interfaces must extend IDispatch (with `using Base`)");

public:
    HRESULT GetIDsOfNames(std::string_view name, DISPID* id) override
    {
        return idOfName(Derived::dispatchMembers(), name, id);
    }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args, Variant* result) override
    {
        // A member may fire an event whose sink drops the last reference.
        ComPtr<Derived> keepAlive(static_cast<Derived*>(this));
        using Default = std::tuple_element_t<0, std::tuple<Interfaces...>>;
        return invokeMember(Derived::dispatchMembers(), static_cast<Derived&>(*this), id, kind, args, result,
                            Default::iid);
    }
};

}  // namespace platform::com
