#pragma once
// A small text log written around the text conversions: each line is
// appended to the file and the file closed again, so the log survives a
// crash. Files that cannot be opened are ignored.
#include <string>
#include <string_view>

namespace formula {

class CDebugLog {
public:
    // The log every conversion of the environment writes, in the working
    // folder.
    static constexpr std::string_view kTestLogName = "TestLog.txt";

    // Refused (false) when already open or the name is empty. With truncate
    // the file is emptied; with a title a banner of asterisks, the local
    // time and the title is written, even when the log is not active.
    bool Open(std::string_view name, std::string_view title, bool active, bool truncate);
    // Appends the prefix (when set), the text and a line feed; only while
    // open and active.
    void Write(std::string_view text);
    void Close();

    bool IsOpen() const { return m_open; }
    bool IsActive() const { return m_active; }
    void SetPrefix(std::string_view prefix) { m_prefix = prefix; }

private:
    bool m_open = false;
    bool m_active = false;
    std::string m_name;
    std::string m_prefix;
};

}  // namespace formula
