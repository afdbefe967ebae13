#pragma once
// What the socket library's tests share: a plain client on loopback, a
// listener that records every call and lets the test wait for a condition,
// a replaceable name service, and the test binary's own network log.
#include <netinet/in.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shared/net/net_peer_socket.h"

namespace shared::nettest {

// How long a test waits for something that should happen at once: generous,
// since several builds share the machine.
constexpr std::chrono::milliseconds kPatience{30000};

// The network log of this test binary (set before its first use).
std::string logPath();
std::size_t logSize();
std::string logSince(std::size_t offset);
std::size_t countOf(const std::string& text, const std::string& part);

// Whether this machine's own name resolves to an IPv4 address, asked of the
// system resolver directly: a minimal system may have no entry for it.
bool localHostNameResolves();

// Bytes 0-255 in a pattern that repeats every 251 bytes.
std::string patternBytes(std::size_t size, unsigned seed = 0);

// A plain TCP client on loopback.
class TestClient {
public:
    TestClient() = default;
    ~TestClient();
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    // A socket bound to `from` (any port), with a small receive buffer when given.
    bool open(const std::string& from = "127.0.0.1", int receiveBuffer = 0);
    bool connectTo(std::uint16_t port);
    bool connect(std::uint16_t port, const std::string& from = "127.0.0.1", int receiveBuffer = 0)
    {
        return open(from, receiveBuffer) && connectTo(port);
    }
    bool sendAll(const std::string& bytes);
    // Up to `count` bytes: fewer when the connection ends or the patience runs out.
    std::string read(std::size_t count, std::chrono::milliseconds patience = kPatience);
    // True when the server closed the connection within the patience (data before it is dropped).
    bool waitForEnd(std::chrono::milliseconds patience = kPatience);
    void close();
    // Closes with a reset instead of an orderly end.
    void reset();

private:
    int m_fd = -1;
};

// Records every listener call; tests wait on conditions over what it saw.
class RecordingListener : public INetListener {
public:
    struct Event {
        CNetPeerSocket* peer;
        int code;
        std::string name;  // the peer's name when the event came
        std::thread::id thread;
    };
    struct Seen {
        std::vector<Event> events;
        std::map<CNetPeerSocket*, std::vector<std::string>> pieces;
        std::map<CNetPeerSocket*, std::string> data;
        int callsAfterStop = 0;
        int eventCount(int code) const;
        const Event* eventOf(const std::string& name, int code) const;
    };

    void OnPeerEvent(CNetPeerSocket* peer, int code) override;
    void OnPeerData(CNetPeerSocket* peer, const std::string& text) override;

    // Called on the watcher after an event is recorded (set before sockets run).
    std::function<void(CNetPeerSocket*, int)> afterEvent;

    // Waits (bounded by the patience) until the condition holds over what was seen.
    bool waitUntil(const std::function<bool(const Seen&)>& condition, std::chrono::milliseconds patience = kPatience);
    Seen seen() const;
    // From now on every call counts as one after the sockets were gone.
    void stop();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Seen m_seen;
    bool m_stopped = false;
};

// The name service of the tests: 127.0.0.n is "Pc-n"; one address can be
// made to fail and one to wait until released.
class FakeNameService {
public:
    FakeNameService();
    ~FakeNameService();
    void failFor(const std::string& dotted);
    void holdFor(const std::string& dotted);
    // Waits until the held look-up has begun.
    bool waitUntilHeld(std::chrono::milliseconds patience = kPatience);
    void release();

private:
    int lookUp(std::uint32_t address, std::string& name);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_failing;
    std::string m_held;
    bool m_holding = false;
    bool m_released = false;
};

// Socket address of 127.0.0.1 and the port.
sockaddr_in loopback(std::uint16_t port);

}  // namespace shared::nettest
