#pragma once
// The socket library's log: one process-wide file, "netlog.log" in the
// working directory (the programs run from kernel/bin), truncated at every
// start. It opens at the first write and closes at exit; every thread of the
// library writes to it, one whole text at a time.
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace shared {

class CNetLog {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    // Levels from this one on write nothing.
    static constexpr int kQuietLevel = 4;

    // Opens (truncates) the file and writes the header line
    // "DATE: mm/dd/yy - hh:mm:ss" + the file name right-aligned in 30, then
    // two line breaks. At a quiet level only "Logging disabled (QUIET_MODE
    // set)" goes to standard output; a file that cannot be opened prints
    // "ERROR: Log file <name> could not be opened for write access." there
    // and makes the log quiet. The clock (UTC) defaults to the system's.
    explicit CNetLog(std::string fileName, int level = 1, Clock clock = {});
    // Unless quiet: a line break, the header line again and "Execution time:
    // <m> minutes <s> seconds" and a line break.
    ~CNetLog();
    CNetLog(const CNetLog&) = delete;
    CNetLog& operator=(const CNetLog&) = delete;

    // Appends the text as it is (no line break added) and flushes it.
    void Write(std::string_view text);
    bool IsQuiet() const { return m_level >= kQuietLevel; }

private:
    std::string headerLine() const;

    std::string m_fileName;
    int m_level;
    Clock m_clock;
    std::chrono::system_clock::time_point m_start;
    std::FILE* m_file = nullptr;
    std::mutex m_mutex;
};

// Appends the text to the process-wide log, opening it on first use.
void NetLogWrite(std::string_view text);
// The process-wide log's file name ("netlog.log" unless set); only before its
// first write: false once it is open.
bool SetNetLogFileName(std::string fileName);

}  // namespace shared
