#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/text.h"

namespace fs = std::filesystem;

namespace platform::paths {

std::string toSlashes(std::string_view path)
{
    std::string out(path);
    for (char& c : out) {
        if (c == '\\')
            c = '/';
    }
    return out;
}

std::string withFinalSlash(std::string_view path)
{
    std::string out(path);
    if (!out.empty() && out.back() != '/')
        out += '/';
    return out;
}

std::string join(std::string_view base, std::string_view name)
{
    if (base.empty())
        return std::string(name);
    std::string out(base);
    while (!out.empty() && out.back() == '/')
        out.pop_back();
    while (!name.empty() && name.front() == '/')
        name.remove_prefix(1);
    out += '/';
    out += name;
    return out;
}

std::string programFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "./";
    return withFinalSlash(exe.parent_path().string());
}

std::string xdgBaseFolder(const char* variable, std::string_view underHome)
{
    const char* value = std::getenv(variable);
    if (value && *value)
        return value;
    const char* home = std::getenv("HOME");
    return join(home && *home ? home : ".", underHome);
}

std::string userDataFolder()
{
    return withFinalSlash(join(xdgBaseFolder("XDG_DATA_HOME", ".local/share"), "Pelmarin/Tessaly"));
}

std::optional<std::string> canonicalFolder(std::string_view path)
{
    std::error_code ec;
    const fs::path canonical = fs::canonical(fs::path(std::string(path)), ec);
    if (ec || !fs::is_directory(canonical, ec))
        return std::nullopt;
    return withFinalSlash(canonical.string());
}

std::optional<std::string> findCaseInsensitive(std::string_view rawPath)
{
    const std::string path = toSlashes(rawPath);
    if (path.empty())
        return std::nullopt;
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;

    // Walk component by component, matching each one case-insensitively.
    std::string current = path.front() == '/' ? "/" : "";
    std::size_t pos = path.front() == '/' ? 1 : 0;
    while (pos <= path.size()) {
        std::size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        const std::string_view part(path.data() + pos, next - pos);
        pos = next + 1;
        if (part.empty() || part == ".")
            continue;
        std::string candidate = current + std::string(part);
        if (part != ".." && !fs::exists(candidate, ec)) {
            const fs::path folder = current.empty() ? fs::path(".") : fs::path(current);
            bool found = false;
            for (const auto& entry : fs::directory_iterator(folder, ec)) {
                const std::string name = entry.path().filename().string();
                if (text::equalsIgnoreCase(name, part)) {
                    candidate = current + name;
                    found = true;
                    break;
                }
            }
            if (!found)
                return std::nullopt;
        }
        current = candidate;
        if (next < path.size())
            current += '/';
    }
    if (!path.empty() && path.back() == '/' && (current.empty() || current.back() != '/'))
        current += '/';
    return current;
}

std::string resolve(std::string_view path)
{
    if (auto found = findCaseInsensitive(path))
        return *found;
    return toSlashes(path);
}

bool fileExists(std::string_view path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(std::string(path)), ec);
}

bool folderExists(std::string_view path)
{
    std::error_code ec;
    return fs::is_directory(fs::path(std::string(path)), ec);
}

}  // namespace platform::paths
