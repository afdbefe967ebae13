#include "shared/net/net_log.h"

#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>

namespace shared {

namespace {

std::mutex g_processLogMutex;
std::string g_processLogName = "netlog.log";
bool g_processLogOpened = false;

CNetLog& processLog()
{
    // Opened at first use, closed (footer written) at exit.
    static CNetLog log([] {
        std::lock_guard lock(g_processLogMutex);
        g_processLogOpened = true;
        return g_processLogName;
    }());
    return log;
}

}  // namespace

CNetLog::CNetLog(std::string fileName, int level, Clock clock)
    : m_fileName(std::move(fileName)),
      m_level(level),
      m_clock(clock ? std::move(clock) : Clock([] { return std::chrono::system_clock::now(); })),
      m_start(m_clock())
{
    if (IsQuiet()) {
        std::cout << "Logging disabled (QUIET_MODE set)" << std::endl;
        return;
    }
    m_file = std::fopen(m_fileName.c_str(), "wbe");
    if (!m_file) {
        std::cout << "ERROR: Log file " << m_fileName << " could not be opened for write access." << std::endl;
        m_level = kQuietLevel;
        return;
    }
    Write(headerLine() + "\n\n");
}

CNetLog::~CNetLog()
{
    if (!m_file)
        return;
    if (!IsQuiet()) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_clock() - m_start).count();
        char line[96];
        std::snprintf(line, sizeof line, "Execution time: %d minutes %d seconds", static_cast<int>(seconds / 60),
                      static_cast<int>(seconds % 60));
        Write("\n" + headerLine() + line + "\n");
    }
    std::fclose(m_file);
}

void CNetLog::Write(std::string_view text)
{
    std::lock_guard lock(m_mutex);
    if (!m_file || IsQuiet())
        return;
    std::fwrite(text.data(), 1, text.size(), m_file);
    std::fflush(m_file);
}

std::string CNetLog::headerLine() const
{
    const std::time_t now = std::chrono::system_clock::to_time_t(m_clock());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char date[40];
    char time[40];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", utc.tm_mon + 1, utc.tm_mday, utc.tm_year % 100);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", utc.tm_hour, utc.tm_min, utc.tm_sec);
    const int width = 30;
    std::string name = m_fileName;
    if (name.size() < static_cast<std::size_t>(width))
        name.insert(0, width - name.size(), ' ');
    return std::string("DATE: ") + date + " - " + time + name;
}

void NetLogWrite(std::string_view text)
{
    processLog().Write(text);
}

bool SetNetLogFileName(std::string fileName)
{
    std::lock_guard lock(g_processLogMutex);
    if (g_processLogOpened)
        return false;
    g_processLogName = std::move(fileName);
    return true;
}

}  // namespace shared
