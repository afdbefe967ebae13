#pragma once
// Paths at the file-system boundary: the suite's data spell folders with
// backslashes and sometimes in two cases; Linux wants "/" and exact names.
#include <optional>
#include <string>
#include <string_view>

namespace platform::paths {

// Every "\" turned into "/".
std::string toSlashes(std::string_view path);
// Ensures one final "/" (an empty path stays empty).
std::string withFinalSlash(std::string_view path);
// base + "/" + name with exactly one separator between them.
std::string join(std::string_view base, std::string_view name);
// The folder of the running program (from /proc/self/exe), ending with "/".
std::string programFolder();
// A base folder of the XDG scheme: $<variable> when set and not empty, else
// $HOME (or ".") + "/" + underHome.
std::string xdgBaseFolder(const char* variable, std::string_view underHome);
// The user's own folder of the suite: $XDG_DATA_HOME (else ~/.local/share)
// + "/Pelmarin/Tessaly/", beside the user hive's naming. Not created here.
std::string userDataFolder();
// Canonical form of an existing folder, ending with "/"; nullopt when missing.
std::optional<std::string> canonicalFolder(std::string_view path);

// Finds an existing file or folder whose components match `path` without
// regard to ASCII case (after toSlashes); the exact spelling wins when it
// exists. nullopt when nothing matches.
std::optional<std::string> findCaseInsensitive(std::string_view path);
// findCaseInsensitive, or the path with slashes when nothing matches (the
// caller then reports a missing file under the name it was given).
std::string resolve(std::string_view path);

bool fileExists(std::string_view path);
bool folderExists(std::string_view path);

}  // namespace platform::paths
