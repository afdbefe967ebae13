#pragma once
// The dispatch interface: members called by number (dispid) with Variant
// arguments. Hosts talk to controls only this way; events reach sinks this way.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/com/unknown.h"

namespace platform::com {

class Variant;

using DISPID = std::int32_t;

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// Dispids of the stock properties and methods of controls.
constexpr DISPID DISPID_BACKCOLOR = -501;
constexpr DISPID DISPID_BORDERSTYLE = -504;
constexpr DISPID DISPID_FONT = -512;
constexpr DISPID DISPID_FORECOLOR = -513;
constexpr DISPID DISPID_CAPTION = -518;
constexpr DISPID DISPID_APPEARANCE = -520;
constexpr DISPID DISPID_ABOUTBOX = -552;

class IDispatch : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{00020400-0000-0000-C000-000000000046}");

    // The dispid of a member; names compare without regard to ASCII case.
    // DISP_E_UNKNOWNNAME when no member has the name.
    virtual HRESULT GetIDsOfNames(std::string_view name, DISPID* id) = 0;
    // Calls a member. args are in declaration order (first parameter first);
    // a property put takes the new value as its one argument. Out parameters
    // are Variant::ref arguments. result may be null.
    // DISP_E_MEMBERNOTFOUND: no member with this dispid and kind;
    // DISP_E_BADPARAMCOUNT: another number of arguments;
    // DISP_E_TYPEMISMATCH / DISP_E_OVERFLOW: an argument cannot be converted;
    // anything else: the member's own failure, with error info when it set it.
    virtual HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args, Variant* result) = 0;
};

}  // namespace platform::com
