#pragma once
// The sending side of the program links: finds a sibling program's main
// window by its window class (programs.h), starts the program from the
// install root's kernel/bin when no window listens, and hands it a text with
// a copy-data code.
#include <chrono>
#include <string_view>

class QWidget;

namespace shared {

class CProgramLauncher {
public:
    static CProgramLauncher& Instance();

    // True when the receiver got the text (its handler returned). False, with
    // nothing looked up or started, for a null sender, a kind that cannot be
    // reached or a code the kind does not accept; false too when the program
    // cannot be started, ends, or does not listen within the start limit, or
    // when no status comes back within 5 s. While it waits, events other
    // than user input are processed.
    bool Launch(QWidget* sender, int programKind, int code, std::string_view text);

    // How long a started program may take to listen (10 s).
    void SetStartLimit(std::chrono::milliseconds limit) { m_startLimit = limit; }
    std::chrono::milliseconds StartLimit() const { return m_startLimit; }

private:
    CProgramLauncher() = default;
    std::chrono::milliseconds m_startLimit{10000};
};

}  // namespace shared
