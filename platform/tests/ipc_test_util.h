#pragma once
// Helpers of the program-link tests: the stand-in receiver program
// (ipc_receiver.cpp) started as a child, its log, and bounded waits that keep
// the event loop running.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTimer>

#include <chrono>
#include <string>
#include <vector>

#include "testsupport/temp_dir.h"

namespace ipctest {

// Waits (events running) until `done` or `limit`; whether it came true.
template <typename Done>
bool waitFor(Done done, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

inline std::vector<std::string> logLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::string text = testsupport::readFile(path);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

inline bool logHas(const std::string& path, const std::string& line)
{
    for (const std::string& l : logLines(path))
        if (l == line)
            return true;
    return false;
}

// The receiver as a child process of the test, killed with the object.
class Receiver {
public:
    Receiver(const std::string& log, const std::string& mode, const std::string& name = {},
             const std::string& mutex = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TESSALY_RECEIVER_LOG", QString::fromStdString(log));
        env.insert("TESSALY_RECEIVER_MODE", QString::fromStdString(mode));
        env.insert("TESSALY_RECEIVER_NAME", QString::fromStdString(name));
        env.insert("TESSALY_RECEIVER_MUTEX", QString::fromStdString(mutex));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QString::fromUtf8(IPC_RECEIVER), {});
        m_process.waitForStarted(30000);
    }
    ~Receiver() { kill(); }
    void kill()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30000);
        }
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

}  // namespace ipctest
