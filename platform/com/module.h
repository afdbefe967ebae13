#pragma once
// Component libraries: the classes a library serves, their class factories
// and the library's four exports.
//
// A component library lists its classes once, in a constant table, and gets
// the exports DllGetClassObject, DllCanUnloadNow, DllRegisterServer and
// DllUnregisterServer from one macro:
//
//   constexpr com::ClassEntry kClasses[] = {
//       {CLSID_Formavel, "FORMAVELTessaly.FormavelCtrlTessaly.2", "", "Formavel Control",
//        &com::createObject<CFormavelCtrl>},
//   };
//   TESSALY_COM_EXPORTS(kClasses)
//
// DllRegisterServer writes into the machine hive, under SOFTWARE\Classes
// (every value is the key's default value):
//   CLSID\{clsid}                          the description
//   CLSID\{clsid}\InprocServer32           the library's absolute path
//   CLSID\{clsid}\ProgID                   the ProgID
//   <ProgID>                               the description
//   <ProgID>\CLSID                         {clsid}
// and with a version-independent ProgID also
//   CLSID\{clsid}\VersionIndependentProgID that ProgID
//   <VIProgID>, <VIProgID>\CLSID           as above
//   <VIProgID>\CurVer                      the ProgID
// DllUnregisterServer removes the class's key and each ProgID key that still
// names the class (never one that another class has taken over).
#include <span>
#include <string>
#include <string_view>

#include "platform/com/unknown.h"

namespace platform::com {

class IClassFactory : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{0DCCADA6-FD9E-4658-B77D-3FE8D2CF2643}");

    // A new object of the factory's class; outer must be null (no aggregation).
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
    // Keeps the library in use (DllCanUnloadNow answers S_FALSE) while locked.
    virtual HRESULT LockServer(bool lock) = 0;
};

// Makes one object and answers the interface asked for.
using CreateFunction = HRESULT (*)(const IID& iid, void** object);

template <class T>
HRESULT createObject(const IID& iid, void** object)
{
    const ComPtr<T> created = make<T>();
    return created->QueryInterface(iid, object);
}

struct ClassEntry {
    CLSID clsid;
    std::string_view progId;                    // "" for none
    std::string_view versionIndependentProgId;  // "" for none
    std::string_view description;
    CreateFunction create;
};

// The exports, as a loader looks them up.
using DllGetClassObjectFunction = HRESULT (*)(const CLSID* clsid, const IID* iid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

// What the exports do. No exception leaves them.
// CLASS_E_CLASSNOTAVAILABLE for a class the table lacks.
HRESULT getClassObject(std::span<const ClassEntry> classes, const CLSID* clsid, const IID* iid,
                       void** object) noexcept;
// S_OK when no object is alive in the process and no factory is locked. A
// process-wide answer, so never S_OK while any component object lives.
HRESULT canUnloadNow() noexcept;
// SELFREG_E_CLASS, with error info, when the hive cannot be written.
HRESULT registerServer(std::span<const ClassEntry> classes, const void* addressInLibrary) noexcept;
HRESULT unregisterServer(std::span<const ClassEntry> classes) noexcept;

// The absolute path of the loaded library holding an address; "" if none.
std::string libraryPathOf(const void* address);

// A staged install (DESTDIR) registers libraries where they will live: a
// library path beginning with `from` is recorded with `to` in its place.
void setRegistrationPathRewrite(std::string from, std::string to);

}  // namespace platform::com

#define TESSALY_COM_EXPORT extern "C" __attribute__((visibility("default")))

#define TESSALY_COM_EXPORTS(classes)                                                                     \
    TESSALY_COM_EXPORT platform::HRESULT DllGetClassObject(                                              \
        const platform::com::CLSID* clsid, const platform::com::IID* iid, void** object)                 \
    {                                                                                                    \
        return platform::com::getClassObject(classes, clsid, iid, object);                              \
    }                                                                                                    \
    TESSALY_COM_EXPORT platform::HRESULT DllCanUnloadNow() { return platform::com::canUnloadNow(); }     \
    TESSALY_COM_EXPORT platform::HRESULT DllRegisterServer()                                             \
    {                                                                                                    \
        return platform::com::registerServer(classes, reinterpret_cast<const void*>(&DllRegisterServer)); \
    }                                                                                                    \
    TESSALY_COM_EXPORT platform::HRESULT DllUnregisterServer()                                           \
    {                                                                                                    \
        return platform::com::unregisterServer(classes);                                                \
    }
