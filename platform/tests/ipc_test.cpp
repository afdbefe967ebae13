#include <gtest/gtest.h>

#include <QApplication>
#include <QLocalSocket>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/ipc/ipc.h"
#include "platform/tests/ipc_test_util.h"
#include "testsupport/temp_dir.h"

namespace platform::ipc {
namespace {

using namespace std::chrono_literals;
using ipctest::logHas;
using ipctest::Receiver;
using ipctest::waitFor;

TEST(IpcFrame, ReadsWhatItWritesAndWaitsForTheRest)
{
    const std::string text("ab\0c", 4);
    const std::string wire = encodeFrame(FrameKind::CopyData, 0x01020304u, text);
    ASSERT_EQ(wire.size(), kFrameHeaderSize + 4);
    EXPECT_EQ(wire.substr(0, 9), std::string("\x01\x04\x03\x02\x01\x04\x00\x00\x00", 9));
    Frame frame;
    std::size_t consumed = 0;
    for (std::size_t n = 0; n < wire.size(); ++n)
        EXPECT_EQ(readFrame(wire.substr(0, n), frame, consumed), FrameState::Incomplete) << n;
    ASSERT_EQ(readFrame(wire + "tail", frame, consumed), FrameState::Complete);
    EXPECT_EQ(consumed, wire.size());
    EXPECT_EQ(frame.kind, FrameKind::CopyData);
    EXPECT_EQ(frame.code, 0x01020304u);
    EXPECT_EQ(frame.bytes, text);
    EXPECT_EQ(textBeforeNul(frame.bytes), "ab");
}

TEST(IpcFrame, RefusesUnknownKindsAndOversizedLengths)
{
    struct Case {
        std::string wire;
        FrameState state;
    };
    const std::string limit = encodeFrame(FrameKind::Activate, 0, {}).substr(0, 5);
    const std::vector<Case> cases = {
        {std::string("\x00", 1), FrameState::UnknownKind},
        {std::string("\x03\x00\x00\x00\x00\x00\x00\x00\x00", 9), FrameState::UnknownKind},
        {"\xff", FrameState::UnknownKind},
        // 16 MiB is allowed (more bytes awaited), one more is refused at once.
        {limit + std::string("\x00\x00\x00\x01", 4), FrameState::Incomplete},
        {limit + std::string("\x01\x00\x00\x01", 4), FrameState::Oversized},
        {limit + std::string("\xff\xff\xff\xff", 4), FrameState::Oversized},
    };
    for (const Case& c : cases) {
        Frame frame;
        std::size_t consumed = 7;
        EXPECT_EQ(readFrame(c.wire, frame, consumed), c.state);
        EXPECT_EQ(consumed, 0u);
    }
}

TEST(IpcFolder, IsPrivateToTheUser)
{
    const std::string folder = ipcFolder();
    ASSERT_EQ(folder, std::string(std::getenv("TESSALY_IPC_DIR")) + "/");
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    // An existing folder that others could read is narrowed.
    testsupport::TempDir dir;
    const std::string wide = dir.file("wide");
    std::filesystem::create_directory(wide);
    ::chmod(wide.c_str(), 0755);
    ::setenv("TESSALY_IPC_DIR", wide.c_str(), 1);
    EXPECT_EQ(ipcFolder(), wide + "/");
    ::setenv("TESSALY_IPC_DIR", folder.substr(0, folder.size() - 1).c_str(), 1);
    ASSERT_EQ(::stat(wide.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

// A main window and another window of the program in front of it.
class IpcListener : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        window.show();
        other.resize(100, 50);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &other; }));
    }
    Listener::CopyDataHandler recorder()
    {
        return [this](std::uint32_t code, std::string text) { received.emplace_back(code, std::move(text)); };
    }
    // Writes raw bytes to the endpoint and returns the status byte, or -1.
    static int rawStatus(const std::string& name, const std::string& bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(ipcFolder() + name + ".socket"));
        if (!waitFor([&] { return socket.state() == QLocalSocket::ConnectedState; }, 10s))
            return -1;
        socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (!waitFor([&] { return socket.bytesAvailable() > 0 || socket.state() != QLocalSocket::ConnectedState; }))
            return -1;
        char status = 0;
        return socket.read(&status, 1) == 1 ? static_cast<unsigned char>(status) : -1;
    }

    QWidget window;
    QWidget other;
    std::vector<std::pair<std::uint32_t, std::string>> received;
};

TEST_F(IpcListener, HandsTheTextOverAfterRaisingTheWindow)
{
    Listener listener(&window, "Sample_tessaly_WindowClassName", recorder());
    ASSERT_TRUE(listener.isListening());
    EXPECT_TRUE(exists("Sample_tessaly_WindowClassName"));
    EXPECT_FALSE(exists("Other_tessaly_WindowClassName"));

    EXPECT_EQ(sendCopyData("Sample_tessaly_WindowClassName", 3, std::string("<TASK/>\0x", 9)),
              SendResult::Received);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].first, 3u);
    EXPECT_EQ(received[0].second, "<TASK/>");
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));

    // Activation alone hands nothing over.
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &other; }));
    EXPECT_EQ(activate("Sample_tessaly_WindowClassName"), SendResult::Received);
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    EXPECT_EQ(received.size(), 1u);

    EXPECT_EQ(sendCopyData("Missing_tessaly_WindowClassName", 1, "x"), SendResult::NoEndpoint);
    EXPECT_EQ(sendCopyData("../escape", 1, "x"), SendResult::NoEndpoint);
}

TEST_F(IpcListener, BadFramesGetAnErrorStatusAndChangeNothing)
{
    Listener listener(&window, "Sample_tessaly_WindowClassName", recorder());
    listener.setStallLimit(300ms);
    ASSERT_TRUE(listener.isListening());
    const std::string header = encodeFrame(FrameKind::CopyData, 1, "0123456789");
    struct Case {
        const char* what;
        std::string bytes;
        Status status;
    };
    const std::vector<Case> cases = {
        {"truncated", header.substr(0, header.size() - 4), Status::Truncated},
        {"truncated header", header.substr(0, 5), Status::Truncated},
        {"oversized", std::string("\x01\x01\x00\x00\x00\x01\x00\x00\x01", 9) + "abc", Status::Oversized},
        {"unknown kind", std::string("\x07\x01\x00\x00\x00\x01\x00\x00\x00x", 10), Status::UnknownKind},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rawStatus("Sample_tessaly_WindowClassName", c.bytes), static_cast<int>(c.status)) << c.what;
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(QApplication::activeWindow(), &other);

    // The endpoint still serves whole frames.
    EXPECT_EQ(rawStatus("Sample_tessaly_WindowClassName", header), static_cast<int>(Status::Received));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].second, "0123456789");
}

TEST_F(IpcListener, ALiveEndpointKeepsItsFirstOwner)
{
    {
        Listener first(&window, "Sample_tessaly_WindowClassName", recorder());
        ASSERT_TRUE(first.isListening());
        std::vector<std::string> seconds;
        Listener second(&other, "Sample_tessaly_WindowClassName",
                        [&](std::uint32_t, std::string text) { seconds.push_back(text); });
        EXPECT_FALSE(second.isListening());
        EXPECT_EQ(sendCopyData("Sample_tessaly_WindowClassName", 1, "one"), SendResult::Received);
        EXPECT_EQ(received.size(), 1u);
        EXPECT_TRUE(seconds.empty());
    }
    // Once the owner is gone, so is the endpoint, and a new one can listen.
    EXPECT_FALSE(exists("Sample_tessaly_WindowClassName"));
    Listener third(&window, "Sample_tessaly_WindowClassName", recorder());
    EXPECT_TRUE(third.isListening());
}

TEST_F(IpcListener, AHandlerMayEndItsListener)
{
    std::unique_ptr<Listener> listener;
    listener = std::make_unique<Listener>(&window, "Sample_tessaly_WindowClassName",
                                          [&](std::uint32_t, std::string text) {
                                              received.emplace_back(0, text);
                                              listener.reset();  // the window closes at once
                                          });
    ASSERT_TRUE(listener->isListening());
    EXPECT_EQ(sendCopyData("Sample_tessaly_WindowClassName", 1, "last"), SendResult::NoAnswer);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_FALSE(listener);
    EXPECT_FALSE(exists("Sample_tessaly_WindowClassName"));
}

TEST_F(IpcListener, OtherProcessKeepsItsEndpointUntilKilled)
{
    testsupport::TempDir dir;
    const std::string log = dir.file("receiver.log");
    Receiver receiver(log, "listen", "Taken_tessaly_WindowClassName");
    ASSERT_TRUE(waitFor([&] { return logHas(log, "listening"); })) << testsupport::readFile(log);

    {
        Listener mine(&window, "Taken_tessaly_WindowClassName", recorder());
        EXPECT_FALSE(mine.isListening());
        EXPECT_EQ(sendCopyData("Taken_tessaly_WindowClassName", 5, "to the first"), SendResult::Received);
        EXPECT_TRUE(received.empty());
        EXPECT_TRUE(waitFor([&] { return logHas(log, "text 5 746f20746865206669727374"); }))
            << testsupport::readFile(log);
    }

    // Killed: its endpoint file stays behind, stale, and is taken over.
    receiver.kill();
    EXPECT_TRUE(std::filesystem::exists(ipcFolder() + "Taken_tessaly_WindowClassName.socket"));
    EXPECT_FALSE(exists("Taken_tessaly_WindowClassName"));
    Listener mine(&window, "Taken_tessaly_WindowClassName", recorder());
    ASSERT_TRUE(mine.isListening());
    EXPECT_EQ(sendCopyData("Taken_tessaly_WindowClassName", 5, "now mine"), SendResult::Received);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].second, "now mine");
}

TEST(IpcMutex, HeldUntilItsHolderEndsOrDies)
{
    {
        NamedMutex first("APP_SAMPLE_V1");
        EXPECT_EQ(first.result(), NamedMutex::Result::Acquired);
        NamedMutex second("APP_SAMPLE_V1");
        EXPECT_EQ(second.result(), NamedMutex::Result::AlreadyHeld);
        EXPECT_FALSE(second.owned());
    }
    EXPECT_TRUE(NamedMutex("APP_SAMPLE_V1").owned());

    testsupport::TempDir dir;
    const std::string log = dir.file("receiver.log");
    Receiver holder(log, "mutex", {}, "APP_HELD_V1");
    ASSERT_TRUE(waitFor([&] { return logHas(log, "mutex acquired"); })) << testsupport::readFile(log);
    EXPECT_EQ(NamedMutex("APP_HELD_V1").result(), NamedMutex::Result::AlreadyHeld);
    holder.kill();
    EXPECT_EQ(NamedMutex("APP_HELD_V1").result(), NamedMutex::Result::Acquired);
}

TEST(IpcMutex, ALockFileThatCannotBeOpenedCountsAsHeld)
{
    std::filesystem::create_directory(ipcFolder() + "APP_BLOCKED_V1.lock");
    EXPECT_EQ(NamedMutex("APP_BLOCKED_V1").result(), NamedMutex::Result::AccessDenied);
    EXPECT_EQ(NamedMutex("../APP_V1").result(), NamedMutex::Result::AccessDenied);
    EXPECT_EQ(NamedMutex("").result(), NamedMutex::Result::AccessDenied);
}

}  // namespace
}  // namespace platform::ipc
