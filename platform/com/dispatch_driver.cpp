#include "platform/com/dispatch_driver.h"

namespace platform::com {

DISPID DispatchDriver::idOfName(std::string_view name) const
{
    if (!m_object)
        throw Error(E_POINTER, "No object to call");
    DISPID id = 0;
    const HRESULT hr = m_object->GetIDsOfNames(name, &id);
    if (Failed(hr))
        throw Error(hr, standardMessage(hr) + " (" + std::string(name) + ")");
    return id;
}

Variant DispatchDriver::callRaw(DISPID id, InvokeKind kind, std::span<const Variant> args) const
{
    if (!m_object)
        throw Error(E_POINTER, "No object to call");
    Variant result;
    throwIfFailed(m_object->Invoke(id, kind, args, &result));
    return result;
}

void DispatchDriver::check(HRESULT conversion)
{
    if (Failed(conversion))
        throw Error(conversion);
}

}  // namespace platform::com
