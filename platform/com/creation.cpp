#include "platform/com/creation.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/com/error_info.h"
#include "platform/com/module.h"
#include "platform/dynlib.h"
#include "platform/registry.h"

namespace platform::com {

namespace {

constexpr std::string_view kSource = "CreateInstance";

std::string classKey(const CLSID& clsid) { return "SOFTWARE\\Classes\\CLSID\\" + clsid.toString(); }

// Component libraries stay loaded for the life of the process: objects and
// widgets of theirs may outlive any one user, down to static destructors.
DynamicLibrary* loadLibrary(const std::string& path, std::string& reason)
{
    static std::mutex mutex;
    static auto* loaded = new std::map<std::string, std::unique_ptr<DynamicLibrary>>();
    const std::lock_guard lock(mutex);
    if (const auto found = loaded->find(path); found != loaded->end())
        return found->second.get();
    auto library = std::make_unique<DynamicLibrary>();
    if (!library->load(path)) {
        reason = library->errorText();
        return nullptr;
    }
    return loaded->emplace(path, std::move(library)).first->second.get();
}

HRESULT runRegistration(std::string_view path, const char* exportName)
{
    clearErrorInfo();
    std::string reason;
    DynamicLibrary* library = loadLibrary(std::string(path), reason);
    if (!library)
        return reportError(exportName, {}, "Cannot load " + std::string(path) + ": " + reason, CO_E_DLLNOTFOUND);
    const auto function = library->function<DllRegisterServerFunction>(exportName);
    if (!function)
        return S_FALSE;
    return function();
}

}  // namespace

HRESULT clsidFromProgId(std::string_view progId, CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    const std::optional<std::string> text =
        registry::readString(registry::Hive::Machine, "SOFTWARE\\Classes\\" + std::string(progId) + "\\CLSID", "");
    if (!text || progId.empty())
        return REGDB_E_CLASSNOTREG;
    const std::optional<Guid> parsed = Guid::parse(*text);
    if (!parsed)
        return CO_E_CLASSSTRING;
    *clsid = *parsed;
    return S_OK;
}

std::string registeredLibrary(const CLSID& clsid)
{
    return registry::readString(registry::Hive::Machine, classKey(clsid) + "\\InprocServer32", "").value_or("");
}

HRESULT createInstance(const CLSID& clsid, const IID& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    clearErrorInfo();
    const std::string name = clsid.toString();
    const std::string path = registeredLibrary(clsid);
    if (path.empty())
        return reportError(std::string(kSource), iid, "Class " + name + " is not registered", REGDB_E_CLASSNOTREG);

    std::string reason;
    DynamicLibrary* library = loadLibrary(path, reason);
    if (!library) {
        return reportError(std::string(kSource), iid,
                           "Cannot load " + path + " for class " + name + ": " + reason, CO_E_DLLNOTFOUND);
    }
    const auto getClassObject = library->function<DllGetClassObjectFunction>("DllGetClassObject");
    if (!getClassObject)
        return reportError(std::string(kSource), iid, path + " exports no DllGetClassObject", CO_E_ERRORINDLL);

    ComPtr<IClassFactory> factory;
    if (const HRESULT hr = getClassObject(&clsid, &IClassFactory::iid, factory.putVoid()); Failed(hr))
        return reportError(std::string(kSource), iid, path + " does not serve class " + name, hr);
    return factory->CreateInstance(nullptr, iid, object);
}

HRESULT createInstance(std::string_view progIdOrClsid, const IID& iid, void** object)
{
    if (const std::optional<Guid> clsid = Guid::parse(progIdOrClsid))
        return createInstance(*clsid, iid, object);
    if (object)
        *object = nullptr;
    CLSID clsid;
    if (const HRESULT hr = clsidFromProgId(progIdOrClsid, &clsid); Failed(hr)) {
        const std::string what = hr == CO_E_CLASSSTRING ? " is registered with a malformed CLSID" : " is not registered";
        return reportError(std::string(kSource), iid, "ProgID " + std::string(progIdOrClsid) + what, hr);
    }
    return createInstance(clsid, iid, object);
}

HRESULT registerLibrary(std::string_view path) { return runRegistration(path, "DllRegisterServer"); }

HRESULT unregisterLibrary(std::string_view path) { return runRegistration(path, "DllUnregisterServer"); }

}  // namespace platform::com
