#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "net_test_support.h"
#include "shared/net/net_peer_socket.h"

namespace shared {
namespace {

using namespace std::chrono_literals;
using nettest::FakeNameService;
using nettest::kPatience;
using nettest::RecordingListener;
using nettest::TestClient;

const std::string kRule(76, '=');

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::unique_ptr<CNetPeerSocket> startServer(INetListener* listener)
{
    auto server = std::make_unique<CNetPeerSocket>(listener);
    server->SetServerMode(true);
    EXPECT_TRUE(server->CreateSocket("0", AF_INET, CNetSocket::kStream, CNetSocket::kReuseAddress));
    EXPECT_TRUE(server->StartWatch());
    return server;
}

TEST(NetPeerSocket, SixtyPupilsConnectAtOnceAndAreGreetedByName)
{
    constexpr int kPupils = 60;
    FakeNameService names;
    names.holdFor("127.0.0.2");
    names.failFor("127.0.0.61");
    RecordingListener listener;
    std::unique_ptr<CNetPeerSocket> server;
    // The main frame's greeting: find the peer by its name in other letter
    // case, and write to it.
    listener.afterEvent = [&](CNetPeerSocket* peer, int code) {
        if (code != NetEvent::Established)
            return;
        const std::string name = peer->GetAddress();
        CNetPeerSocket* found = server->FindPeer(upper(name));
        if (found)
            found->Write(("Hello " + name).data(), 6 + name.size(), 30000);
    };
    const std::size_t logStart = nettest::logSize();
    // Set before any watcher runs: the greeting reads it on the watchers.
    server = std::make_unique<CNetPeerSocket>(&listener);
    server->SetServerMode(true);
    ASSERT_TRUE(server->CreateSocket("0", AF_INET, CNetSocket::kStream, CNetSocket::kReuseAddress));
    ASSERT_TRUE(server->StartWatch());
    const std::uint16_t port = server->GetLocalPort();
    const std::thread::id testThread = std::this_thread::get_id();

    std::vector<std::unique_ptr<TestClient>> clients;
    for (int n = 2; n < 2 + kPupils; ++n)
        clients.push_back(std::make_unique<TestClient>());
    // The first pupil's name look-up hangs; everyone else still gets in.
    ASSERT_TRUE(clients[0]->connect(port, "127.0.0.2"));
    ASSERT_TRUE(names.waitUntilHeld());
    for (int n = 3; n < 2 + kPupils; ++n)
        ASSERT_TRUE(clients[n - 2]->connect(port, "127.0.0." + std::to_string(n))) << n;
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == kPupils - 1; }))
        << listener.seen().events.size() << " events; log: " << nettest::logSince(logStart);
    EXPECT_EQ(listener.seen().eventOf("Pc-2", NetEvent::Established), nullptr);
    names.release();
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == kPupils; }));

    const auto seen = listener.seen();
    for (int n = 2; n < 2 + kPupils; ++n) {
        const std::string expected = n == 61 ? "127.0.0.61" : "Pc-" + std::to_string(n);
        SCOPED_TRACE(expected);
        const auto* event = seen.eventOf(expected, NetEvent::Established);
        ASSERT_NE(event, nullptr);
        EXPECT_NE(event->thread, testThread);
        EXPECT_EQ(server->FindPeer(expected), event->peer);
        const std::string greeting = "Hello " + expected;
        EXPECT_EQ(clients[n - 2]->read(greeting.size()), greeting);
    }
    EXPECT_EQ(nettest::countOf(nettest::logSince(logStart), "Connection Established\r\n"), std::size_t(kPupils));
    EXPECT_EQ(server->FindPeer("Pc-99"), nullptr);

    // Closed and destroyed with sixty live peers: it returns, every pupil's
    // connection ends, and no listener call comes after it.
    server->Close();
    server.reset();
    listener.stop();
    for (auto& client : clients)
        EXPECT_TRUE(client->waitForEnd());
    EXPECT_EQ(listener.seen().callsAfterStop, 0);
    EXPECT_EQ(listener.seen().eventCount(NetEvent::Abandoned), 0);
}

TEST(NetPeerSocket, BytesPassUnchangedAndEachTextIsLoggedWithItsRule)
{
    FakeNameService names;
    RecordingListener listener;
    const std::size_t logStart = nettest::logSize();
    auto server = startServer(&listener);
    TestClient client;
    ASSERT_TRUE(client.connect(server->GetLocalPort(), "127.0.0.5"));
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == 1; }));
    CNetPeerSocket* peer = server->FindPeer("pc-5");
    ASSERT_NE(peer, nullptr);

    // 300 KB in small pieces with pauses, then 300 KB in one burst.
    const std::string pieces = nettest::patternBytes(300 * 1024, 1);
    for (std::size_t at = 0; at < pieces.size(); at += 1000) {
        ASSERT_TRUE(client.sendAll(pieces.substr(at, 1000)));
        if (at % 50000 == 0)
            std::this_thread::sleep_for(2ms);
    }
    const std::string burst = nettest::patternBytes(300 * 1024, 2);
    ASSERT_TRUE(client.sendAll(burst));
    const std::string all = pieces + burst;
    ASSERT_TRUE(listener.waitUntil([&](const auto& seen) {
        const auto it = seen.data.find(peer);
        return it != seen.data.end() && it->second.size() >= all.size();
    }));
    const auto seen = listener.seen();
    EXPECT_TRUE(seen.data.at(peer) == all) << "the bytes changed on the way";

    std::string expectedLog = "Connection Established\r\n";
    for (const std::string& text : seen.pieces.at(peer))
        expectedLog += text + kRule;
    EXPECT_TRUE(nettest::logSince(logStart) == expectedLog) << "the log differs";
}

TEST(NetPeerSocket, APupilWhoLeavesIsAbandonedAndAReconnectionIsFound)
{
    FakeNameService names;
    RecordingListener listener;
    auto server = startServer(&listener);
    TestClient client;
    ASSERT_TRUE(client.connect(server->GetLocalPort(), "127.0.0.7"));
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == 1; }));
    CNetPeerSocket* old = server->FindPeer("PC-7");
    ASSERT_NE(old, nullptr);

    const std::size_t logStart = nettest::logSize();
    client.close();
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Abandoned) == 1; }));
    EXPECT_EQ(listener.seen().events.back().peer, old);
    EXPECT_EQ(nettest::logSince(logStart), "Connection Abandonned\r\n");
    EXPECT_FALSE(old->IsOpen());
    EXPECT_EQ(server->FindPeer("pc-7"), nullptr);
    EXPECT_EQ(old->Write("late", 4, 1000), 0);
    // What the main frame does with event 2: it closes the peer later.
    old->Close();

    ASSERT_TRUE(client.connect(server->GetLocalPort(), "127.0.0.7"));
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == 2; }));
    CNetPeerSocket* renewed = server->FindPeer("pc-7");
    ASSERT_NE(renewed, nullptr);
    EXPECT_NE(renewed, old);
    EXPECT_EQ(renewed->Write("again", 5, 30000), 5);
    EXPECT_EQ(client.read(5), "again");
}

TEST(NetPeerSocket, TheSystemNameServiceNamesTheLoopbackPeer)
{
    RecordingListener listener;
    auto server = startServer(&listener);
    TestClient client;
    ASSERT_TRUE(client.connect(server->GetLocalPort(), "127.0.0.1"));
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == 1; }));
    EXPECT_EQ(listener.seen().events.front().name, "localhost");
    EXPECT_NE(server->FindPeer("LOCALHOST"), nullptr);
}

TEST(NetPeerSocket, AnAcceptThatFindsNoDescriptorIsRetried)
{
    FakeNameService names;
    RecordingListener listener;
    auto server = startServer(&listener);
    TestClient client;
    ASSERT_TRUE(client.open("127.0.0.4"));

    // Use up every descriptor the process may have, so the server's accept
    // fails for want of one while the pupil connects.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &original), 0);
    rlimit lowered = original;
    lowered.rlim_cur = std::min<rlim_t>(original.rlim_cur, 1024);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    std::vector<int> spares;
    for (int fd = dup(0); fd >= 0; fd = dup(0))
        spares.push_back(fd);
    const bool exhausted = errno == EMFILE;
    const bool connected = client.connectTo(server->GetLocalPort());
    // Give the server's accept a chance to meet the exhausted table; the
    // outcome below does not depend on whether it did.
    std::this_thread::sleep_for(300ms);
    for (const int fd : spares)
        close(fd);
    setrlimit(RLIMIT_NOFILE, &original);
    ASSERT_TRUE(exhausted);
    ASSERT_TRUE(connected);

    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::Established) == 1; }));
    EXPECT_EQ(listener.seen().eventCount(NetEvent::Failed), 0);
    EXPECT_TRUE(server->IsOpen());
    CNetPeerSocket* peer = server->FindPeer("pc-4");
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(peer->Write("in", 2, 30000), 2);
    EXPECT_EQ(client.read(2), "in");
}

// A datagram socket of the test, sending from 127.0.0.1.
struct DatagramClient {
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    DatagramClient()
    {
        const sockaddr_in any = nettest::loopback(0);
        EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    }
    ~DatagramClient() { ::close(fd); }
    sockaddr_in address() const
    {
        sockaddr_in bound{};
        socklen_t length = sizeof bound;
        getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
        return bound;
    }
    std::uint16_t port() const { return ntohs(address().sin_port); }
    void send(const std::string& bytes, std::uint16_t to) const
    {
        const sockaddr_in target = nettest::loopback(to);
        EXPECT_EQ(::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target), sizeof target),
                  static_cast<ssize_t>(bytes.size()));
    }
    std::string receive() const
    {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(kPatience.count())) <= 0)
            return "<nothing>";
        char buffer[2048];
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        return count < 0 ? "<error>" : std::string(buffer, static_cast<std::size_t>(count));
    }
};

TEST(NetPeerSocket, SmartAddressingCarriesTheSenderOfEachDatagram)
{
    RecordingListener listener;
    CNetPeerSocket socket(&listener);
    socket.SetSmartAddressing(true);
    ASSERT_TRUE(socket.CreateSocket("0", AF_INET, CNetSocket::kDatagram, 0));
    ASSERT_TRUE(socket.StartWatch());
    DatagramClient client;
    const std::string from = "127.0.0.1 (" + std::to_string(client.port()) + ")>";
    const std::size_t logStart = nettest::logSize();

    client.send("hi", socket.GetLocalPort());
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return !seen.pieces.empty(); }));
    EXPECT_EQ(listener.seen().pieces.at(&socket), std::vector<std::string>{from + "hi"});

    client.send("", socket.GetLocalPort());
    ASSERT_TRUE(listener.waitUntil([](const auto& seen) { return seen.eventCount(NetEvent::ZeroLength) == 1; }));

    // A long datagram is handed on as far as the 276 bytes taken from it reach.
    const std::string longer = nettest::patternBytes(300, 3);
    client.send(longer, socket.GetLocalPort());
    ASSERT_TRUE(listener.waitUntil([&](const auto& seen) {
        const auto it = seen.pieces.find(&socket);
        return it != seen.pieces.end() && it->second.size() == 2;
    }));
    EXPECT_EQ(listener.seen().pieces.at(&socket).back(), from + longer.substr(0, 260));
    EXPECT_EQ(nettest::logSince(logStart), from + "hi" + kRule + "Zero Length Message\r\n" + from + longer.substr(0, 260) + kRule);

    // Writing: the destination's address comes first.
    const sockaddr_in to = client.address();
    std::string message(reinterpret_cast<const char*>(&to), sizeof to);
    message += "back";
    EXPECT_EQ(socket.Write(message.data(), message.size(), 30000), 4);
    EXPECT_EQ(client.receive(), "back");
}

TEST(NetPeerSocket, ABroadcastSocketWritesToEverySenderItHeard)
{
    RecordingListener listener;
    CNetPeerSocket socket(&listener);
    ASSERT_TRUE(socket.CreateSocket("0", AF_INET, CNetSocket::kDatagram, CNetSocket::kBroadcast));
    ASSERT_TRUE(socket.StartWatch());
    DatagramClient first;
    DatagramClient second;
    first.send("one", socket.GetLocalPort());
    second.send("two", socket.GetLocalPort());
    first.send("three", socket.GetLocalPort());
    ASSERT_TRUE(listener.waitUntil([&](const auto& seen) {
        const auto it = seen.data.find(&socket);
        return it != seen.data.end() && it->second.size() == 11;
    }));
    // Without smart addressing the texts come bare.
    EXPECT_EQ(listener.seen().pieces.at(&socket), (std::vector<std::string>{"one", "two", "three"}));

    EXPECT_EQ(socket.Write("all", 3, 30000), 3);
    EXPECT_EQ(first.receive(), "all");
    EXPECT_EQ(second.receive(), "all");
    socket.Close();
    EXPECT_EQ(socket.Write("none", 4, 100), 0);
}

}  // namespace
}  // namespace shared
