#include "shared/launcher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>

#include "platform/ipc/ipc.h"
#include "platform/shell.h"
#include "shared/programs.h"
#include "shared/settings.h"

namespace shared {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollPeriod{50};
constexpr std::chrono::milliseconds kStatusLimit{5000};

// Whether the process has ended: gone, or a zombie nobody has reaped yet (a
// detached child belongs to whoever adopted it).
bool processEnded(std::int64_t pid)
{
    if (pid <= 0)
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

// Lets events other than user input run for one poll period.
void pause()
{
    QEventLoop loop;
    QTimer::singleShot(kPollPeriod, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// Polls the endpoint until it answers, the program ends or the limit passes.
bool waitForListener(const std::string& name, std::int64_t pid, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (platform::ipc::exists(name, kPollPeriod))
            return true;
        if (processEnded(pid) || Clock::now() >= deadline)
            return false;
        pause();
    }
}

}  // namespace

CProgramLauncher& CProgramLauncher::Instance()
{
    static CProgramLauncher launcher;
    return launcher;
}

bool CProgramLauncher::Launch(QWidget* sender, int programKind, int code, std::string_view text)
{
    if (!sender)
        return false;
    const ProgramEntry* program = FindProgram(programKind);
    if (!program || !AcceptsCode(*program, code))
        return false;
    const std::string name = WindowClassName(programKind);
    if (!platform::ipc::exists(name)) {
        if (!program->hasProgramFile)
            return false;  // Coursewright is reached only while it runs
        const std::string file = CSettings::Instance().GetInstallPath() + "kernel/bin/" + std::string(program->name);
        std::int64_t pid = 0;
        if (!platform::shell::startProgram(file, {}, {}, &pid))
            return false;
        if (!waitForListener(name, pid, m_startLimit))
            return false;
    }
    return platform::ipc::sendCopyData(name, static_cast<std::uint32_t>(code), text, kStatusLimit)
        == platform::ipc::SendResult::Received;
}

}  // namespace shared
