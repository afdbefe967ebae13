#include "platform/com/module.h"

#include <dlfcn.h>

#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <new>
#include <utility>

#include "platform/com/error_info.h"
#include "platform/registry.h"

namespace platform::com {

namespace {

constexpr std::string_view kClassesKey = "SOFTWARE\\Classes\\";
constexpr std::string_view kSource = "DllRegisterServer";

std::atomic<long> g_serverLocks{0};

std::mutex g_rewriteMutex;
std::pair<std::string, std::string> g_rewrite;

class ClassFactory final : public Object<IClassFactory> {
public:
    explicit ClassFactory(CreateFunction create) : m_create(create) {}

    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        try {
            return m_create(iid, object);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::exception& error) {
            return reportError({}, iid, error.what(), E_FAIL);
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

    HRESULT LockServer(bool lock) override
    {
        g_serverLocks += lock ? 1 : -1;
        return S_OK;
    }

private:
    CreateFunction m_create;
};

std::string classKey(const CLSID& clsid) { return std::string(kClassesKey) + "CLSID\\" + clsid.toString(); }
std::string progIdKey(std::string_view progId) { return std::string(kClassesKey) + std::string(progId); }

std::string recordedPath(std::string path)
{
    const std::lock_guard lock(g_rewriteMutex);
    const auto& [from, to] = g_rewrite;
    if (!from.empty() && path.starts_with(from))
        path = to + path.substr(from.size());
    return path;
}

// Every write of one class; false at the first that fails.
bool writeClass(const ClassEntry& entry, const std::string& libraryPath)
{
    using namespace registry;
    const std::string clsid = entry.clsid.toString();
    const std::string key = classKey(entry.clsid);
    const auto put = [](const std::string& at, std::string_view text) {
        return writeString(Hive::Machine, at, "", text) == kOk;
    };
    bool ok = put(key, entry.description) && put(key + "\\InprocServer32", libraryPath);
    if (ok && !entry.progId.empty()) {
        ok = put(key + "\\ProgID", entry.progId) && put(progIdKey(entry.progId), entry.description) &&
             put(progIdKey(entry.progId) + "\\CLSID", clsid);
    }
    if (ok && !entry.versionIndependentProgId.empty()) {
        const std::string viKey = progIdKey(entry.versionIndependentProgId);
        ok = put(key + "\\VersionIndependentProgID", entry.versionIndependentProgId) &&
             put(viKey, entry.description) && put(viKey + "\\CLSID", clsid) &&
             (entry.progId.empty() || put(viKey + "\\CurVer", entry.progId));
    }
    return ok;
}

// Removes a ProgID key only while it still names this class.
bool removeProgId(std::string_view progId, const CLSID& clsid)
{
    using namespace registry;
    if (progId.empty())
        return true;
    const std::optional<std::string> named = readString(Hive::Machine, progIdKey(progId) + "\\CLSID", "");
    if (!named || Guid::parse(*named) != clsid)
        return true;
    return deleteKeyTree(Hive::Machine, progIdKey(progId)) == kOk;
}

}  // namespace

HRESULT getClassObject(std::span<const ClassEntry> classes, const CLSID* clsid, const IID* iid,
                       void** object) noexcept
{
    if (!clsid || !iid || !object)
        return E_POINTER;
    *object = nullptr;
    try {
        for (const ClassEntry& entry : classes) {
            if (entry.clsid == *clsid)
                return make<ClassFactory>(entry.create)->QueryInterface(*iid, object);
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT canUnloadNow() noexcept { return liveObjectCount() == 0 && g_serverLocks == 0 ? S_OK : S_FALSE; }

HRESULT registerServer(std::span<const ClassEntry> classes, const void* addressInLibrary) noexcept
{
    try {
        const std::string path = libraryPathOf(addressInLibrary);
        if (path.empty())
            return reportError(std::string(kSource), {}, "Cannot find the library's own path", SELFREG_E_CLASS);
        const std::string recorded = recordedPath(path);
        for (const ClassEntry& entry : classes) {
            if (!writeClass(entry, recorded)) {
                return reportError(std::string(kSource), {},
                                   "Cannot register class " + entry.clsid.toString() + " in " +
                                       registry::hivePath(registry::Hive::Machine),
                                   SELFREG_E_CLASS);
            }
        }
        return S_OK;
    } catch (const std::exception& error) {
        return reportError(std::string(kSource), {}, error.what(), SELFREG_E_CLASS);
    }
}

HRESULT unregisterServer(std::span<const ClassEntry> classes) noexcept
{
    try {
        for (const ClassEntry& entry : classes) {
            const bool ok = removeProgId(entry.progId, entry.clsid) &&
                            removeProgId(entry.versionIndependentProgId, entry.clsid) &&
                            registry::deleteKeyTree(registry::Hive::Machine, classKey(entry.clsid)) == registry::kOk;
            if (!ok) {
                return reportError("DllUnregisterServer", {},
                                   "Cannot unregister class " + entry.clsid.toString() + " in " +
                                       registry::hivePath(registry::Hive::Machine),
                                   SELFREG_E_CLASS);
            }
        }
        return S_OK;
    } catch (const std::exception& error) {
        return reportError("DllUnregisterServer", {}, error.what(), SELFREG_E_CLASS);
    }
}

std::string libraryPathOf(const void* address)
{
    Dl_info info{};
    if (!address || ::dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return {};
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : absolute.lexically_normal().string();
}

void setRegistrationPathRewrite(std::string from, std::string to)
{
    const std::lock_guard lock(g_rewriteMutex);
    g_rewrite = {std::move(from), std::move(to)};
}

}  // namespace platform::com
