#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ipc/ipc.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/tests/ipc_test_util.h"
#include "shared/launcher.h"
#include "shared/programs.h"
#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

using namespace std::chrono_literals;
using ipctest::logHas;
using ipctest::logLines;
using ipctest::waitFor;

// A bare endpoint that counts connections and answers every whole frame.
class FakeEndpoint {
public:
    explicit FakeEndpoint(const std::string& name)
    {
        const QString path = QString::fromStdString(platform::ipc::ipcFolder() + name + ".socket");
        QLocalServer::removeServer(path);
        EXPECT_TRUE(m_server.listen(path));
        QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] {
            while (QLocalSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                auto buffer = std::make_shared<std::string>();
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer] {
                    buffer->append(socket->readAll().toStdString());
                    platform::ipc::Frame frame;
                    std::size_t consumed = 0;
                    if (platform::ipc::readFrame(*buffer, frame, consumed) == platform::ipc::FrameState::Complete) {
                        frames.push_back(frame);
                        socket->write("\0", 1);
                        socket->disconnectFromServer();
                    }
                });
                QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    int connections = 0;
    std::vector<platform::ipc::Frame> frames;

private:
    QLocalServer m_server;
};

class Launcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, kSuiteRegistryKey,
                                                  "InstallPath", root.path()),
                  0);
        std::filesystem::create_directories(root.file("kernel/bin"));
        m_savedLimit = launcher.StartLimit();
    }
    void TearDown() override
    {
        platform::shell::setRecorder(nullptr);
        launcher.SetStartLimit(m_savedLimit);
        for (const char* name : {"TESSALY_RECEIVER_LOG", "TESSALY_RECEIVER_MODE", "TESSALY_RECEIVER_NAME"})
            ::unsetenv(name);
        // Killed and gone (or a zombie) before the next test looks for a
        // listening window.
        for (std::int64_t pid : m_started) {
            ::kill(static_cast<pid_t>(pid), SIGKILL);
            waitFor([pid] { return !std::filesystem::exists("/proc/" + std::to_string(pid) + "/fd/0"); }, 10s);
        }
        testsupport::resetHives();
    }
    // Installs the stand-in receiver as kernel/bin/<program>, configured
    // through the environment the launcher's child inherits.
    void install(const std::string& program, const std::string& mode)
    {
        const std::string file = root.write("kernel/bin/" + program,
                                            std::string("#!/bin/sh\nexec '") + IPC_RECEIVER + "' \"$@\"\n");
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
        ::setenv("TESSALY_RECEIVER_LOG", log.c_str(), 1);
        ::setenv("TESSALY_RECEIVER_MODE", mode.c_str(), 1);
        ::setenv("TESSALY_RECEIVER_NAME", WindowClassName(ProgramKind::Stepwell).c_str(), 1);
    }
    // The receiver's process id from its log, remembered to be killed.
    std::int64_t startedPid()
    {
        for (const std::string& line : logLines(log))
            if (line.rfind("start ", 0) == 0) {
                const std::int64_t pid = std::stoll(line.substr(6));
                m_started.push_back(pid);
                return pid;
            }
        return 0;
    }

    testsupport::TempDir root;
    std::string log = root.file("receiver.log");
    QWidget sender;
    CProgramLauncher& launcher = CProgramLauncher::Instance();

private:
    std::chrono::milliseconds m_savedLimit{};
    std::vector<std::int64_t> m_started;
};

TEST_F(Launcher, OnlyTheTablesPairsGoOn)
{
    platform::shell::Recorder shell;
    shell.result = false;
    platform::shell::setRecorder(&shell);
    std::map<int, std::unique_ptr<FakeEndpoint>> endpoints;
    for (const ProgramEntry& program : kPrograms)
        endpoints[program.kind] = std::make_unique<FakeEndpoint>(WindowClassName(program.kind));
    const std::string text = "0123456789";
    const std::map<int, std::vector<int>> allowed = {{1, {1, 3}}, {2, {4, 5}}, {4, {6, 8}}, {5, {6, 8}}, {6, {0}}};

    for (int kind = -1; kind <= 8; ++kind) {
        for (int code : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 32769}) {
            SCOPED_TRACE("kind " + std::to_string(kind) + " code " + std::to_string(code));
            for (auto& [k, endpoint] : endpoints) {
                endpoint->connections = 0;
                endpoint->frames.clear();
            }
            const bool expected = allowed.count(kind) && std::count(allowed.at(kind).begin(), allowed.at(kind).end(), code);
            EXPECT_FALSE(launcher.Launch(nullptr, kind, code, text));
            for (auto& [k, endpoint] : endpoints)
                EXPECT_EQ(endpoint->connections, 0);
            EXPECT_EQ(launcher.Launch(&sender, kind, code, text), expected);
            for (auto& [k, endpoint] : endpoints) {
                if (expected && k == kind) {
                    EXPECT_GT(endpoint->connections, 0);
                    ASSERT_EQ(endpoint->frames.size(), 1u);
                    EXPECT_EQ(endpoint->frames[0].kind, platform::ipc::FrameKind::CopyData);
                    EXPECT_EQ(endpoint->frames[0].code, static_cast<std::uint32_t>(code));
                    // 10 characters travel as 11 bytes, the last one 0.
                    EXPECT_EQ(endpoint->frames[0].bytes, std::string("0123456789\0", 11));
                } else {
                    EXPECT_EQ(endpoint->connections, 0);
                    EXPECT_TRUE(endpoint->frames.empty());
                }
            }
        }
    }
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(Launcher, RunningReceiverGetsTheTextAfterComingForward)
{
    platform::shell::Recorder shell;
    platform::shell::setRecorder(&shell);
    ipctest::Receiver receiver(log, "listen", WindowClassName(ProgramKind::Stepwell));
    ASSERT_TRUE(waitFor([&] { return logHas(log, "listening"); })) << testsupport::readFile(log);

    EXPECT_TRUE(launcher.Launch(&sender, ProgramKind::Stepwell, CopyDataCode::OpenTask, "0123456789"));
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_TRUE(waitFor([&] { return logHas(log, "text 1 30313233343536373839"); })) << testsupport::readFile(log);
    const std::vector<std::string> lines = logLines(log);
    const auto activated = std::find(lines.begin(), lines.end(), "activated");
    const auto text = std::find(lines.begin(), lines.end(), "text 1 30313233343536373839");
    EXPECT_LT(activated, text) << testsupport::readFile(log);
}

TEST_F(Launcher, StartsAnInstalledProgramAndReachesIt)
{
    install("Stepwell", "listen");
    launcher.SetStartLimit(30s);  // a loaded machine may start it slowly
    EXPECT_TRUE(launcher.Launch(&sender, ProgramKind::Stepwell, CopyDataCode::OpenLibraryTask, "<TASK/>"));
    EXPECT_NE(startedPid(), 0);
    EXPECT_TRUE(logHas(log, "listening"));
    EXPECT_TRUE(waitFor([&] { return logHas(log, "text 3 3c5441534b2f3e"); })) << testsupport::readFile(log);
}

TEST_F(Launcher, AProgramThatEndsAtOnceIsNotWaitedFor)
{
    install("Stepwell", "exit");
    launcher.SetStartLimit(60s);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(launcher.Launch(&sender, ProgramKind::Stepwell, CopyDataCode::OpenTask, "<TASK/>"));
    EXPECT_LT(timer.elapsed(), 60000);
    EXPECT_NE(startedPid(), 0) << testsupport::readFile(log);
}

TEST_F(Launcher, AProgramThatNeverListensIsGivenUpAtTheLimit)
{
    install("Stepwell", "idle");
    launcher.SetStartLimit(1500ms);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(launcher.Launch(&sender, ProgramKind::Stepwell, CopyDataCode::OpenTask, "<TASK/>"));
    EXPECT_GE(timer.elapsed(), 1500);
    const std::int64_t pid = startedPid();
    ASSERT_NE(pid, 0);
    EXPECT_EQ(::kill(static_cast<pid_t>(pid), 0), 0);  // still running: given up, not ended
}

TEST_F(Launcher, ProgramsThatAreNeitherRunningNorInstalledAreNotReached)
{
    EXPECT_FALSE(launcher.Launch(&sender, ProgramKind::Coursewright, CopyDataCode::SavedFormulaTask, "<TASK/>"));
    EXPECT_FALSE(launcher.Launch(&sender, ProgramKind::Tutelary, CopyDataCode::SavedFormulaTask, "<TASK/>"));
    // Coursewright has no program file: nothing is even tried.
    platform::shell::Recorder shell;
    platform::shell::setRecorder(&shell);
    EXPECT_FALSE(launcher.Launch(&sender, ProgramKind::Coursewright, CopyDataCode::SavedGraphicTask, "<TASK/>"));
    EXPECT_TRUE(shell.calls.empty());
}

}  // namespace
}  // namespace shared
