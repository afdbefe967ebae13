#pragma once
// Creating objects of registered classes, and registering libraries.
//
// A class is found in the machine hive (see module.h); its library is loaded
// once per process and never unloaded, so its process-wide state lives once
// however many objects are made, and the shared platform library it links
// holds one copy of this layer's own state.
#include <string>
#include <string_view>

#include "platform/com/unknown.h"

namespace platform::com {

// The CLSID a ProgID names. REGDB_E_CLASSNOTREG when the ProgID is not
// registered, CO_E_CLASSSTRING when its value is no GUID.
HRESULT clsidFromProgId(std::string_view progId, CLSID* clsid);

// The library registered for a class; "" when there is none.
std::string registeredLibrary(const CLSID& clsid);

// A new object of a registered class, answering interface iid.
//   REGDB_E_CLASSNOTREG       the class is not registered
//   CO_E_DLLNOTFOUND          its library is missing or does not load
//   CO_E_ERRORINDLL           the library exports no DllGetClassObject
//   CLASS_E_CLASSNOTAVAILABLE the library does not serve the class
//   E_NOINTERFACE             the object lacks the interface
// Every failure of the lookup leaves error info that says what and where.
HRESULT createInstance(const CLSID& clsid, const IID& iid, void** object);
// By ProgID, or by a CLSID written "{...}".
HRESULT createInstance(std::string_view progIdOrClsid, const IID& iid, void** object);

template <class I>
HRESULT createInstance(const CLSID& clsid, ComPtr<I>& object)
{
    return createInstance(clsid, I::iid, object.putVoid());
}
template <class I>
HRESULT createInstance(std::string_view progIdOrClsid, ComPtr<I>& object)
{
    return createInstance(progIdOrClsid, I::iid, object.putVoid());
}

// Loads a library (as createInstance does) and runs its DllRegisterServer or
// DllUnregisterServer. S_FALSE when the library has no such export (it is no
// component); CO_E_DLLNOTFOUND when it does not load; else the export's own
// result.
HRESULT registerLibrary(std::string_view path);
HRESULT unregisterLibrary(std::string_view path);

}  // namespace platform::com
