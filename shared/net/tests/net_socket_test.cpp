#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "net_test_support.h"
#include "platform/net.h"
#include "shared/net/net_log.h"
#include "shared/net/net_socket.h"

namespace shared {
namespace {

using namespace std::chrono_literals;
using nettest::kPatience;
using nettest::TestClient;

// A plain socket that records what its watcher hands on.
class RecordingSocket : public CNetSocket {
public:
    struct Seen {
        std::vector<int> events;
        std::string data;
        int calls = 0;
    };
    ~RecordingSocket() override { Close(); }

    // Called on the watcher after data is recorded (set before it runs).
    std::function<void(RecordingSocket&)> afterData;

    bool waitUntil(const std::function<bool(const Seen&)>& condition)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] { return condition(m_seen); });
    }
    Seen seen()
    {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }

protected:
    void OnEvent(int code) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_seen.events.push_back(code);
            ++m_seen.calls;
        }
        m_changed.notify_all();
    }
    void OnDataReceived(const char* buffer, std::size_t length) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_seen.data.append(buffer, length);
            ++m_seen.calls;
        }
        m_changed.notify_all();
        if (afterData)
            afterData(*this);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Seen m_seen;
};

TEST(NetSocket, CreatesOnlyWhileNoneIsOpen)
{
    CNetSocket socket;
    EXPECT_FALSE(socket.IsOpen());
    ASSERT_TRUE(socket.CreateSocket("0", AF_INET, CNetSocket::kStream, CNetSocket::kReuseAddress));
    EXPECT_TRUE(socket.IsOpen());
    const std::uint16_t port = socket.GetLocalPort();
    EXPECT_NE(port, 0);
    EXPECT_FALSE(socket.CreateSocket("0", AF_INET, CNetSocket::kStream, 0));
    EXPECT_EQ(socket.GetLocalPort(), port);
    socket.Close();
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.GetLocalPort(), 0);
    socket.Close();
    EXPECT_TRUE(socket.CreateSocket("0", AF_INET, CNetSocket::kDatagram, 0));
}

TEST(NetSocket, AFailingStepLeavesNothingOpen)
{
    CNetSocket first;
    ASSERT_TRUE(first.CreateSocket("0", AF_INET, CNetSocket::kStream, 0));
    const std::string taken = std::to_string(first.GetLocalPort());
    CNetSocket second;
    EXPECT_FALSE(second.CreateSocket(taken.c_str(), AF_INET, CNetSocket::kStream, 0));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_FALSE(second.StartWatch());
}

TEST(NetSocket, ListensOnEveryLocalAddress)
{
    CNetSocket server;
    ASSERT_TRUE(server.CreateSocket("0", AF_INET, CNetSocket::kStream, 0));
    // A client on another loopback address reaches it as a pupil's computer
    // reaches the classroom address.
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = nettest::loopback(server.GetLocalPort());
    address.sin_addr.s_addr = inet_addr("127.0.0.9");
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
    ::close(fd);
}

TEST(NetSocket, LocalHostNameAndAddressIntoBuffers)
{
    char expected[256] = {};
    ASSERT_EQ(gethostname(expected, sizeof expected - 1), 0);
    char name[256];
    ASSERT_TRUE(CNetSocket::GetLocalHostName(name, sizeof name));
    EXPECT_STREQ(name, expected);

    char one[1];
    EXPECT_FALSE(CNetSocket::GetLocalHostName(one, 1));
    EXPECT_EQ(platform::net::lastError(), 122);
    EXPECT_FALSE(CNetSocket::GetLocalHostName(nullptr, 64));
    EXPECT_EQ(platform::net::lastError(), 87);
    EXPECT_FALSE(CNetSocket::GetLocalHostName(name, 0));
    EXPECT_EQ(platform::net::lastError(), 87);
    const std::size_t exact = std::strlen(expected) + 1;
    EXPECT_FALSE(CNetSocket::GetLocalHostName(name, exact - 1));
    EXPECT_EQ(platform::net::lastError(), 122);
    EXPECT_TRUE(CNetSocket::GetLocalHostName(name, exact));

    char address[64];
    if (nettest::localHostNameResolves()) {
        ASSERT_TRUE(CNetSocket::GetLocalHostAddress(address, sizeof address));
        const in_addr_t local = htonl(CNetSocket::GetIPAddress(nullptr));
        EXPECT_EQ(address, platform::net::dottedAddress(local));
        EXPECT_FALSE(CNetSocket::GetLocalHostAddress(address, 3));
        EXPECT_EQ(platform::net::lastError(), 122);
    } else {
        // No entry for this machine's own name: the look-up's failure.
        EXPECT_FALSE(CNetSocket::GetLocalHostAddress(address, sizeof address));
        EXPECT_EQ(platform::net::lastError(), 11001);
        EXPECT_EQ(CNetSocket::GetIPAddress(nullptr), INADDR_NONE);
    }
    EXPECT_FALSE(CNetSocket::GetLocalHostAddress(nullptr, 3));
    EXPECT_EQ(platform::net::lastError(), 87);
}

TEST(NetSocket, AddressesAndServices)
{
    EXPECT_EQ(CNetSocket::GetIPAddress("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(CNetSocket::GetIPAddress("localhost"), 0x7F000001u);
    EXPECT_EQ(CNetSocket::GetIPAddress("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(CNetSocket::GetIPAddress("1.2.3.400"), INADDR_NONE);

    sockaddr_in address{};
    ASSERT_TRUE(CNetSocket::BuildSocketAddress(address, nullptr, "27005", AF_INET));
    EXPECT_EQ(address.sin_family, AF_INET);
    EXPECT_EQ(ntohs(address.sin_port), 27005);
    EXPECT_EQ(ntohl(address.sin_addr.s_addr), CNetSocket::GetIPAddress(nullptr));

    struct Row {
        const char* host;
        const char* service;
        bool result;
        int port;
    };
    const Row rows[] = {
        {"127.0.0.1", "http", true, 80},
        {"0.0.0.0", "domain", true, 53},
        {"0.0.0.0", "no-such-service", false, 0},
        {"0.0.0.0", "0", false, 0},
        {"0.0.0.0", "70000", false, 0},
        {"127.0.0.1", "no-such-service", true, 0},
        {"0.0.0.0", "", false, 0},
        {"0.0.0.0", nullptr, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.host) + " " + (row.service ? row.service : "null"));
        EXPECT_EQ(CNetSocket::BuildSocketAddress(address, row.host, row.service, AF_INET), row.result);
        EXPECT_EQ(ntohs(address.sin_port), row.port);
    }
}

TEST(NetSocket, AnIdleReadAnswersZeroWhenItsTimeHasPassed)
{
    CNetSocket socket;
    ASSERT_TRUE(socket.CreateSocket("0", AF_INET, CNetSocket::kDatagram, 0));
    char buffer[64];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(socket.Read(buffer, sizeof buffer, 100), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_EQ(socket.Read(nullptr, 64, 100), 0);
    EXPECT_EQ(socket.Read(buffer, 0, 100), 0);
    socket.Close();
    EXPECT_EQ(socket.Read(buffer, sizeof buffer, 100), -1);
    EXPECT_EQ(socket.Write("x", 1, 100), 0);
}

TEST(NetSocket, AServerAcceptsOneConnectionAndReadsIt)
{
    RecordingSocket server;
    server.SetServerMode(true);
    ASSERT_TRUE(server.CreateSocket("0", AF_INET, CNetSocket::kStream, CNetSocket::kReuseAddress));
    const std::uint16_t port = server.GetLocalPort();
    ASSERT_TRUE(server.StartWatch());
    EXPECT_FALSE(server.StartWatch());

    TestClient client;
    ASSERT_TRUE(client.connect(port));
    ASSERT_TRUE(client.sendAll("hello"));
    ASSERT_TRUE(server.waitUntil([](const auto& seen) { return seen.data == "hello"; })) << server.seen().data;
    EXPECT_EQ(server.seen().events, std::vector<int>{NetEvent::Established});

    // The listening socket is gone: nobody else can connect.
    TestClient late;
    EXPECT_FALSE(late.connect(port));

    EXPECT_EQ(server.Write("back", 4, CNetSocket::kInfinite), 4);
    EXPECT_EQ(client.read(4), "back");
}

// A server socket that has accepted one client, with the client.
struct Connected {
    RecordingSocket server;
    TestClient client;

    explicit Connected(int clientReceiveBuffer = 0)
    {
        server.SetServerMode(true);
        EXPECT_TRUE(server.CreateSocket("0", AF_INET, CNetSocket::kStream, 0));
        EXPECT_TRUE(server.StartWatch());
        EXPECT_TRUE(client.connect(server.GetLocalPort(), "127.0.0.1", clientReceiveBuffer));
        EXPECT_TRUE(server.waitUntil([](const auto& seen) { return !seen.events.empty(); }));
    }
};

TEST(NetSocket, WritesFromTwoThreadsArriveEachWhole)
{
    // Eight 1 MB messages from each thread: more than the connection buffers,
    // so sends go out in parts while the other thread waits to write.
    constexpr int kMessages = 8;
    constexpr std::size_t kSize = 1 << 20;
    Connected connection(4096);
    const auto writeAll = [&](char letter) {
        const std::string message(kSize, letter);
        int whole = 0;
        for (int i = 0; i < kMessages; ++i)
            whole += connection.server.Write(message.data(), message.size(), 30000) == static_cast<int>(kSize);
        return whole;
    };
    auto first = std::async(std::launch::async, writeAll, 'a');
    auto second = std::async(std::launch::async, writeAll, 'b');
    const std::string received = connection.client.read(2 * kMessages * kSize);
    EXPECT_EQ(first.get(), kMessages);
    EXPECT_EQ(second.get(), kMessages);
    ASSERT_EQ(received.size(), 2 * kMessages * kSize);
    int interleaved = 0;
    for (std::size_t at = 0; at < received.size(); at += kSize)
        interleaved += received.find_first_not_of(received[at], at) < at + kSize;
    EXPECT_EQ(interleaved, 0) << "messages were interleaved";
}

TEST(NetSocket, AWriteToAClientThatStopsReadingAnswersTheCountSentWhenTheTimeOutPasses)
{
    Connected connection(4096);
    const std::string message(16 << 20, 'x');
    const auto start = std::chrono::steady_clock::now();
    const int sent = connection.server.Write(message.data(), message.size(), 300);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, static_cast<int>(message.size()));
    // What was counted did go out, in order.
    EXPECT_EQ(connection.client.read(static_cast<std::size_t>(sent)), message.substr(0, sent));
}

TEST(NetSocket, AWriteToAClientThatResetsAnswersAnError)
{
    // SIGPIPE keeps its default action here: a send that raised it would end the test binary.
    Connected connection(64 * 1024);
    const std::string message(10 << 20, 'y');
    auto writing = std::async(std::launch::async, [&] {
        return connection.server.Write(message.data(), message.size(), 30000);
    });
    EXPECT_EQ(connection.client.read(1 << 20).size(), std::size_t(1 << 20));
    connection.client.reset();
    ASSERT_EQ(writing.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(writing.get(), -1);
    // The watcher saw the connection go.
    EXPECT_TRUE(connection.server.waitUntil([](const auto& seen) {
        return seen.events == std::vector<int>{NetEvent::Established, NetEvent::Abandoned};
    }));
    EXPECT_FALSE(connection.server.IsOpen());
    EXPECT_EQ(connection.server.Write("x", 1, 100), 0);
}

TEST(NetSocket, ClosingFromItsOwnWatcherEndsItWithoutAnotherCall)
{
    Connected connection;
    connection.server.afterData = [](RecordingSocket& socket) { socket.Close(); };
    ASSERT_TRUE(connection.client.sendAll("bye"));
    ASSERT_TRUE(connection.server.waitUntil([](const auto& seen) { return seen.data == "bye"; }));
    EXPECT_TRUE(connection.client.waitForEnd());
    EXPECT_FALSE(connection.server.IsOpen());
    connection.server.Close();
    // Event 0 and the data: no event 2 for a socket closed on purpose.
    EXPECT_EQ(connection.server.seen().calls, 2);
    EXPECT_EQ(connection.server.seen().events, std::vector<int>{NetEvent::Established});
}

TEST(NetSocket, CloseWaitsForAHeldWatcherAndLogsThatItWaits)
{
    Connected connection;
    std::promise<void> entered;
    std::promise<void> release;
    auto released = release.get_future().share();
    connection.server.afterData = [&](RecordingSocket&) {
        entered.set_value();
        released.wait_for(kPatience);
    };
    ASSERT_TRUE(connection.client.sendAll("hold"));
    ASSERT_EQ(entered.get_future().wait_for(kPatience), std::future_status::ready);
    const std::size_t logStart = nettest::logSize();
    auto closing = std::async(std::launch::async, [&] { connection.server.Close(); });
    const std::string line = "Watcher thread still running 5000 ms after Close; waiting for it\r\n";
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (nettest::logSince(logStart).find(line) == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_NE(nettest::logSince(logStart).find(line), std::string::npos);
    EXPECT_EQ(closing.wait_for(0ms), std::future_status::timeout);
    release.set_value();
    EXPECT_EQ(closing.wait_for(kPatience), std::future_status::ready);
    EXPECT_FALSE(connection.server.IsOpen());
    EXPECT_TRUE(connection.client.waitForEnd());
}

TEST(NetSocket, SmartAddressingNeedsRoomForTheAddress)
{
    CNetSocket socket;
    socket.SetSmartAddressing(true);
    ASSERT_TRUE(socket.CreateSocket("0", AF_INET, CNetSocket::kDatagram, 0));
    int sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in to = nettest::loopback(socket.GetLocalPort());
    ASSERT_EQ(::sendto(sender, "abc", 3, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to), 3);
    char small[8];
    EXPECT_EQ(socket.Read(small, sizeof small, 30000), -1);
    EXPECT_EQ(platform::net::lastError(), 1784);
    EXPECT_EQ(socket.Write("short", 5, 1000), -1);
    EXPECT_EQ(platform::net::lastError(), 1784);

    // With room, the datagram comes after its sender's address.
    char buffer[64];
    const int count = socket.Read(buffer, sizeof buffer, 30000);
    ASSERT_EQ(count, 16 + 3);
    sockaddr_in from{};
    std::memcpy(&from, buffer, 16);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ASSERT_EQ(getsockname(sender, reinterpret_cast<sockaddr*>(&bound), &length), 0);
    EXPECT_EQ(from.sin_port, bound.sin_port);
    EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(std::string(buffer + 16, 3), "abc");
    ::close(sender);
}

}  // namespace
}  // namespace shared
