#include "net_test_support.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/net.h"
#include "shared/net/net_log.h"
#include "testsupport/temp_dir.h"

namespace shared::nettest {

namespace {

// The binary's network log lives in its sandbox: test binaries run in
// parallel and must not share one "netlog.log".
class NetLogEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        SetNetLogFileName(logPath());
        // Opened now, so a test's offsets into it never include the header.
        NetLogWrite("");
    }
};
const ::testing::Environment* const g_logEnvironment =
    ::testing::AddGlobalTestEnvironment(new NetLogEnvironment);

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

std::string logPath()
{
    return testsupport::sandboxPath() + "netlog.log";
}

std::size_t logSize()
{
    return testsupport::readFile(logPath()).size();
}

std::string logSince(std::size_t offset)
{
    const std::string text = testsupport::readFile(logPath());
    return offset < text.size() ? text.substr(offset) : std::string();
}

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

bool localHostNameResolves()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    const bool resolves = getaddrinfo(name, nullptr, &hints, &found) == 0 && found;
    if (found)
        freeaddrinfo(found);
    return resolves;
}

std::string patternBytes(std::size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed) % 251 + (i % 5 == 0 ? 4 : 0));
    return bytes;
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

TestClient::~TestClient()
{
    close();
}

bool TestClient::open(const std::string& from, int receiveBuffer)
{
    close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    if (receiveBuffer > 0)
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    if (inet_aton(from.c_str(), &local.sin_addr) == 0)
        return false;
    return ::bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

bool TestClient::connectTo(std::uint16_t port)
{
    const sockaddr_in server = loopback(port);
    return m_fd >= 0 && ::connect(m_fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0;
}

bool TestClient::sendAll(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

std::string TestClient::read(std::size_t count, std::chrono::milliseconds patience)
{
    std::string bytes;
    const auto deadline = Clock::now() + patience;
    std::vector<char> buffer(65536);
    while (bytes.size() < count) {
        pollfd entry{m_fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t got = ::recv(m_fd, buffer.data(), std::min(buffer.size(), count - bytes.size()), 0);
        if (got <= 0)
            break;
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return bytes;
}

bool TestClient::waitForEnd(std::chrono::milliseconds patience)
{
    const auto deadline = Clock::now() + patience;
    char buffer[4096];
    for (;;) {
        pollfd entry{m_fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, remainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return true;
    }
}

void TestClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void TestClient::reset()
{
    if (m_fd < 0)
        return;
    const linger abort{1, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    close();
}

int RecordingListener::Seen::eventCount(int code) const
{
    int count = 0;
    for (const Event& event : events)
        count += event.code == code ? 1 : 0;
    return count;
}

const RecordingListener::Event* RecordingListener::Seen::eventOf(const std::string& name, int code) const
{
    for (const Event& event : events) {
        if (event.code == code && event.name == name)
            return &event;
    }
    return nullptr;
}

void RecordingListener::OnPeerEvent(CNetPeerSocket* peer, int code)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped)
            ++m_seen.callsAfterStop;
        m_seen.events.push_back({peer, code, peer->GetAddress(), std::this_thread::get_id()});
    }
    m_changed.notify_all();
    if (afterEvent)
        afterEvent(peer, code);
}

void RecordingListener::OnPeerData(CNetPeerSocket* peer, const std::string& text)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped)
            ++m_seen.callsAfterStop;
        m_seen.pieces[peer].push_back(text);
        m_seen.data[peer] += text;
    }
    m_changed.notify_all();
}

bool RecordingListener::waitUntil(const std::function<bool(const Seen&)>& condition,
                                  std::chrono::milliseconds patience)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, patience, [&] { return condition(m_seen); });
}

RecordingListener::Seen RecordingListener::seen() const
{
    std::lock_guard lock(m_mutex);
    return m_seen;
}

void RecordingListener::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
}

FakeNameService::FakeNameService()
{
    platform::net::setNameLookup([this](std::uint32_t address, std::string& name) { return lookUp(address, name); });
}

FakeNameService::~FakeNameService()
{
    release();
    platform::net::setNameLookup({});
}

void FakeNameService::failFor(const std::string& dotted)
{
    std::lock_guard lock(m_mutex);
    m_failing = dotted;
}

void FakeNameService::holdFor(const std::string& dotted)
{
    std::lock_guard lock(m_mutex);
    m_held = dotted;
}

bool FakeNameService::waitUntilHeld(std::chrono::milliseconds patience)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, patience, [this] { return m_holding; });
}

void FakeNameService::release()
{
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
    }
    m_changed.notify_all();
}

int FakeNameService::lookUp(std::uint32_t address, std::string& name)
{
    const std::string dotted = platform::net::dottedAddress(address);
    std::unique_lock lock(m_mutex);
    if (dotted == m_failing)
        return platform::net::error::HostNotFound;
    if (dotted == m_held) {
        m_holding = true;
        m_changed.notify_all();
        if (!m_changed.wait_for(lock, kPatience, [this] { return m_released; }))
            return platform::net::error::TryAgain;
    }
    if (dotted.rfind("127.0.0.", 0) != 0)
        return platform::net::error::HostNotFound;
    name = "Pc-" + dotted.substr(8);
    return 0;
}

}  // namespace shared::nettest
