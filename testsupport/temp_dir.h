#pragma once
// Temporary folders for tests, and the process-wide sandbox every test binary
// runs in: the registry hives point into a temporary folder, never at the
// user's own configuration.
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under $TMPDIR, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending with "/".
    const std::string& path() const { return m_path; }
    // path() + name; writes text to it when given.
    std::string file(const std::string& name) const;
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// Points $TESSALY_MACHINE_HIVE, $XDG_CONFIG_HOME, $XDG_CACHE_HOME,
// $XDG_DATA_HOME and $TESSALY_IPC_DIR (endpoints and named mutexes) into a fresh folder; the
// mains call it once before any test runs. Child processes inherit them.
void enterSandbox();
// The sandbox folder, ending with "/".
const std::string& sandboxPath();
// Empties both hives (removes their files) so a test starts from nothing.
void resetHives();

// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string& path);
// The paths of the entries of a folder, sorted; none when it is missing.
std::vector<std::string> filesIn(const std::string& folder);

}  // namespace testsupport
