#include "solvekernel/rules.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

namespace solvekernel {

namespace {

constexpr std::size_t kMaxRuleFileSize = 1024 * 1024;

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string slashes(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c == '\\')
            c = '/';
    }
    return out;
}

// The folder of a path without its last component ("a/b/c" -> "a/b").
std::string parentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash);
}

}  // namespace

bool parseRules(std::string_view text, std::map<std::int32_t, Operation>& rules, std::string& error)
{
    rules.clear();
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        const auto hash = line.find('#');
        if (hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = trim(line);
        if (line.empty())
            continue;
        const auto space = line.find_first_of(" \t");
        const std::string_view codeText = line.substr(0, space);
        const std::string_view name = space == std::string_view::npos ? std::string_view() : trim(line.substr(space));
        std::int32_t code = 0;
        const auto [ptr, ec] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        std::ostringstream where;
        where << "line " << lineNumber << ": ";
        if (ec != std::errc() || ptr != codeText.data() + codeText.size()) {
            error = where.str() + "bad code \"" + std::string(codeText) + "\"";
            return false;
        }
        const auto op = operationByName(name);
        if (!op) {
            error = where.str() + "unknown operation \"" + std::string(name) + "\"";
            return false;
        }
        if (!rules.emplace(code, *op).second) {
            error = where.str() + "code " + std::string(codeText) + " given twice";
            return false;
        }
    }
    if (rules.empty()) {
        error = "no rules";
        return false;
    }
    return true;
}

std::string ruleFilePath(std::string_view libraryPath, std::string_view arguments)
{
    std::string_view args = trim(arguments);
    if (args.substr(0, 2) != "-l")
        return {};
    const std::string path = slashes(trim(args.substr(2)));
    if (path.empty() || path.front() == '/')
        return path;
    const std::string root = parentOf(parentOf(parentOf(slashes(libraryPath))));
    return root.empty() ? path : root + "/" + path;
}

bool loadRules(const std::string& path, std::map<std::int32_t, Operation>& rules, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::string text;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMaxRuleFileSize) {
            error = path + " is too large";
            return false;
        }
    }
    if (!parseRules(text, rules, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace solvekernel
