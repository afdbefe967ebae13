#include "formula/env/debug_log.h"

#include <cstdio>
#include <ctime>

namespace formula {
namespace {

void Append(const std::string& name, std::string_view text)
{
    std::FILE* file = std::fopen(name.c_str(), "a+");
    if (!file) {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
    std::fclose(file);
}

// The local time as asctime writes it, with its line feed.
std::string LocalTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64] = {};
    if (!asctime_r(&local, buffer)) {
        return "\n";
    }
    return buffer;
}

}  // namespace

bool CDebugLog::Open(std::string_view name, std::string_view title, bool active, bool truncate)
{
    if (m_open || name.empty()) {
        return false;
    }
    m_name = name;
    m_active = active;
    m_open = true;
    if (truncate) {
        if (std::FILE* file = std::fopen(m_name.c_str(), "wb")) {
            std::fclose(file);
        }
    }
    if (!title.empty()) {
        const std::string stars(78, '*');
        std::string banner = stars + "\nLog started: " + LocalTimeText();
        banner += title;
        banner += '\n';
        banner += stars;
        banner += '\n';
        Append(m_name, banner);
    }
    return true;
}

void CDebugLog::Write(std::string_view text)
{
    if (!m_open || !m_active) {
        return;
    }
    std::string line = m_prefix;
    line += text;
    line += '\n';
    Append(m_name, line);
}

void CDebugLog::Close()
{
    m_name.clear();
    m_open = false;
}

}  // namespace formula
