// tessaly-register: run by the install step. Writes the install root into the
// machine hive ("InstallPath" under SOFTWARE\Pelmarin\Tessaly), so that every
// program finds the suite wherever it was installed.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/paths.h"
#include "platform/registry.h"

namespace {

constexpr std::string_view kSuiteKey = "SOFTWARE\\Pelmarin\\Tessaly";

int usage()
{
    std::fprintf(stderr, "usage: tessaly-register --install-root FOLDER\n");
    return 2;
}

int writeInstallRoot(const std::string& folder)
{
    // A staged install (DESTDIR) names a root that does not exist yet.
    auto canonical = platform::paths::canonicalFolder(folder);
    if (!canonical)
        canonical = platform::paths::withFinalSlash(std::filesystem::absolute(folder).lexically_normal().string());
    using namespace platform::registry;
    const long rc = writeString(Hive::Machine, kSuiteKey, "InstallPath", *canonical);
    if (rc != kOk) {
        std::fprintf(stderr, "tessaly-register: cannot write %s (error %ld)\n",
                     hivePath(Hive::Machine).c_str(), rc);
        return 1;
    }
    std::printf("InstallPath=%s written to %s\n", canonical->c_str(), hivePath(Hive::Machine).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--install-root")
        return writeInstallRoot(argv[2]);
    return usage();
}
