// tessaly-register: run by the install step, and by hand for one library.
//   --install-root ROOT  writes the install root into the machine hive
//                        ("InstallPath" under SOFTWARE\Pelmarin\Tessaly), so that
//                        every program finds the suite wherever it was installed,
//                        then registers every component library in this program's
//                        own folder
//   --register LIB       runs LIB's DllRegisterServer
//   --unregister LIB     runs LIB's DllUnregisterServer
// A component library is a *.so exporting DllRegisterServer; the suite's own
// shared libraries (libtessaly_*.so) and other libraries are left alone.
// Output: one line per library.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/creation.h"
#include "platform/com/error_info.h"
#include "platform/com/module.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace {

namespace com = platform::com;
namespace fs = std::filesystem;

constexpr std::string_view kSuiteKey = "SOFTWARE\\Pelmarin\\Tessaly";
constexpr std::string_view kBinFolder = "kernel/bin/";

int usage()
{
    std::fprintf(stderr,
                 "usage: tessaly-register --install-root FOLDER\n"
                 "       tessaly-register --register LIBRARY\n"
                 "       tessaly-register --unregister LIBRARY\n");
    return 2;
}

std::string absolutePath(const std::string& path) { return fs::absolute(path).lexically_normal().string(); }

// Runs one library's export; S_FALSE (no such export) counts as success only
// when the caller allows it.
bool runOne(const std::string& path, bool unregister, bool skipNonComponents)
{
    const platform::HRESULT hr = unregister ? com::unregisterLibrary(path) : com::registerLibrary(path);
    if (hr == platform::S_OK) {
        std::printf("%s %s\n", unregister ? "unregistered" : "registered", path.c_str());
        return true;
    }
    if (hr == platform::S_FALSE && skipNonComponents)
        return true;
    std::string reason;
    if (hr == platform::S_FALSE) {
        reason = unregister ? "no DllUnregisterServer export" : "no DllRegisterServer export";
    } else {
        const auto info = com::takeErrorInfo();
        reason = info && !info->description.empty() ? info->description : com::standardMessage(hr);
    }
    std::fprintf(stderr, "tessaly-register: %s %s failed: %s (0x%08X)\n", unregister ? "unregistering" : "registering",
                 path.c_str(), reason.c_str(), static_cast<unsigned>(hr));
    return false;
}

bool writeInstallRoot(const std::string& root)
{
    using namespace platform::registry;
    const long rc = writeString(Hive::Machine, kSuiteKey, "InstallPath", root);
    if (rc != kOk) {
        std::fprintf(stderr, "tessaly-register: cannot write %s (error %ld)\n", hivePath(Hive::Machine).c_str(), rc);
        return false;
    }
    std::printf("InstallPath=%s written to %s\n", root.c_str(), hivePath(Hive::Machine).c_str());
    return true;
}

// Every *.so of the folder that may be a component, in name order.
std::vector<std::string> candidateLibraries(const std::string& folder)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && name.ends_with(".so") && !name.starts_with("libtessaly_"))
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

int install(const std::string& folder)
{
    // A staged install (DESTDIR) names a root that does not exist yet.
    auto root = platform::paths::canonicalFolder(folder);
    if (!root)
        root = platform::paths::withFinalSlash(absolutePath(folder));
    if (!writeInstallRoot(*root))
        return 1;

    // Libraries are recorded where they will live, not where a staged install
    // puts them now.
    const std::string ownFolder = platform::paths::programFolder();
    if (ownFolder.ends_with(kBinFolder)) {
        const std::string ownRoot = ownFolder.substr(0, ownFolder.size() - kBinFolder.size());
        if (ownRoot != *root)
            com::setRegistrationPathRewrite(ownRoot, *root);
    }
    bool ok = true;
    for (const std::string& library : candidateLibraries(ownFolder))
        ok = runOne(library, false, true) && ok;
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    const std::string_view option = argv[1];
    if (option == "--install-root")
        return install(argv[2]);
    if (option == "--register" || option == "--unregister")
        return runOne(absolutePath(argv[2]), option == "--unregister", false) ? 0 : 1;
    return usage();
}
