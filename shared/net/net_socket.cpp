#include "shared/net/net_socket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <exception>
#include <string>
#include <system_error>
#include <vector>

#include "platform/net.h"
#include "shared/net/net_log.h"

namespace shared {

namespace net = platform::net;

namespace {

// An accept that failed for want of descriptors or memory is retried after this pause.
constexpr auto kResourcePause = std::chrono::milliseconds(100);

bool sameAddress(const sockaddr_in& a, const sockaddr_in& b)
{
    return a.sin_family == b.sin_family && a.sin_port == b.sin_port && a.sin_addr.s_addr == b.sin_addr.s_addr;
}

bool copyText(const std::string& text, char* buffer, std::size_t size)
{
    if (!buffer || size == 0) {
        net::setLastError(net::error::InvalidParameter);
        return false;
    }
    if (text.size() > size - 1) {
        net::setLastError(net::error::InsufficientBuffer);
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

CNetSocket::CNetSocket() = default;

CNetSocket::CNetSocket(int acceptedHandle)
{
    if (acceptedHandle >= 0) {
        m_fd = acceptedHandle;
        m_open = true;
    }
}

CNetSocket::~CNetSocket()
{
    Close();
}

void CNetSocket::SetServerMode(bool on)
{
    if (!m_hasWatcher)
        m_server = on;
}

void CNetSocket::SetSmartAddressing(bool on)
{
    if (!m_hasWatcher)
        m_smart = on;
}

bool CNetSocket::CreateSocket(const char* service, int family, int type, int options)
{
    if (IsOpen())
        return false;
    // A watcher that ended after a failure is joined before the new socket
    // exists, so it can never read the new one.
    if (m_hasWatcher) {
        if (onWatcherThread())
            return false;
        joinWatcher();
    }
    releaseDescriptor();

    sockaddr_in address{};
    if (!BuildSocketAddress(address, nullptr, service, family))
        return false;
    // Pupils reach the server on the classroom network: listen on every
    // address, not on the local host name's (a loopback address here).
    address.sin_addr.s_addr = htonl(INADDR_ANY);

    const int fd = net::openSocket(family, type, type == kStream);
    if (fd < 0)
        return false;
    bool ok = true;
    if (options & kReuseAddress)
        ok = net::setOption(fd, SOL_SOCKET, SO_REUSEADDR, true);
    const bool broadcast = type == kDatagram && (options & kBroadcast);
    if (ok && broadcast)
        ok = net::setOption(fd, SOL_SOCKET, SO_BROADCAST, true);
    ok = ok && net::bindTo(fd, address);
    if (ok && type == kStream)
        ok = net::listenOn(fd, INT_MAX);  // the system's largest backlog
    if (!ok) {
        net::closeDescriptor(fd);
        return false;
    }
    {
        std::scoped_lock lock(m_readMutex, m_writeMutex, m_fdMutex);
        m_fd = fd;
    }
    m_broadcast = broadcast;
    m_open = true;
    return true;
}

bool CNetSocket::StartWatch()
{
    if (m_hasWatcher || !IsOpen())
        return false;
    std::lock_guard lock(m_threadMutex);
    if (m_thread.joinable() || !IsOpen())
        return false;
    {
        std::lock_guard endLock(m_endMutex);
        m_ended = false;
    }
    m_hasWatcher = true;
    try {
        m_thread = std::thread(&CNetSocket::watcherMain, this);
    } catch (const std::system_error&) {
        m_hasWatcher = false;
        return false;
    }
    return true;
}

void CNetSocket::watcherMain()
{
    m_watcherId = std::this_thread::get_id();
    try {
        Run();
    } catch (const std::exception& failure) {
        NetLogWrite(std::string("Watcher stopped by an error: ") + failure.what() + "\r\n");
        m_open = false;
        releaseDescriptor();
    }
    {
        std::lock_guard lock(m_endMutex);
        m_ended = true;
    }
    m_endSignal.notify_all();
}

bool CNetSocket::onWatcherThread() const
{
    return m_hasWatcher && m_watcherId.load() == std::this_thread::get_id();
}

void CNetSocket::joinWatcher()
{
    std::lock_guard lock(m_threadMutex);
    if (!m_thread.joinable())
        return;
    {
        std::unique_lock endLock(m_endMutex);
        while (!m_endSignal.wait_for(endLock, std::chrono::milliseconds(kCloseWaitMs), [this] { return m_ended; })) {
            // Only a listener call can hold the watcher this long; it must
            // end by itself, since a thread killed mid-call would leave its
            // locks and the listener's state broken.
            endLock.unlock();
            NetLogWrite("Watcher thread still running " + std::to_string(kCloseWaitMs) +
                        " ms after Close; waiting for it\r\n");
            endLock.lock();
        }
    }
    m_thread.join();
    m_watcherId = std::thread::id();
    m_hasWatcher = false;
}

void CNetSocket::Close()
{
    if (m_open.exchange(false))
        shutdownDescriptor();
    if (onWatcherThread()) {
        // The watcher's own listener call closes it: no joining itself; the
        // loop sees the socket closed when the call returns.
        releaseDescriptor();
    } else {
        joinWatcher();
        releaseDescriptor();
    }
    m_broadcast = false;
    std::lock_guard lock(m_peerAddressesMutex);
    m_peerAddresses.clear();
}

void CNetSocket::shutdownDescriptor()
{
    std::lock_guard lock(m_fdMutex);
    net::shutdownBoth(m_fd);
}

void CNetSocket::releaseDescriptor()
{
    std::scoped_lock lock(m_readMutex, m_writeMutex, m_fdMutex);
    net::closeDescriptor(m_fd.exchange(-1));
}

bool CNetSocket::GetPeerName(sockaddr_in& address) const
{
    std::lock_guard lock(m_fdMutex);
    if (!IsOpen() || m_fd < 0)
        return false;
    return net::peerAddress(m_fd, address);
}

std::uint16_t CNetSocket::GetLocalPort() const
{
    std::lock_guard lock(m_fdMutex);
    sockaddr_in address{};
    if (m_fd < 0 || !net::localAddress(m_fd, address))
        return 0;
    return ntohs(address.sin_port);
}

int CNetSocket::Read(char* buffer, std::size_t size, std::uint32_t timeoutMs)
{
    if (!buffer || size == 0)
        return 0;
    std::lock_guard lock(m_readMutex);
    if (m_fd < 0) {
        net::setLastError(net::error::NotSocket);
        return -1;
    }
    switch (net::waitFor(m_fd, POLLIN, timeoutMs)) {
    case net::Wait::TimedOut:
        return 0;
    case net::Wait::Failed:
        return -1;
    case net::Wait::Ready:
        break;
    }
    if (IsBroadcast() || IsSmartAddressing())
        return readDatagram(buffer, size);
    bool wouldBlock = false;
    const long count = net::receiveSome(m_fd, buffer, std::min<std::size_t>(size, INT_MAX), wouldBlock);
    if (wouldBlock)
        return 0;
    return count < 1 ? -1 : static_cast<int>(count);
}

int CNetSocket::readDatagram(char* buffer, std::size_t size)
{
    const bool smart = IsSmartAddressing();
    if (smart && size < kAddressSize) {
        net::setLastError(net::error::InvalidUserBuffer);
        return -1;
    }
    const std::size_t offset = smart ? kAddressSize : 0;
    sockaddr_in from{};
    bool wouldBlock = false;
    long count = net::receiveFrom(m_fd, buffer + offset, std::min<std::size_t>(size - offset, INT_MAX - offset),
                                  from, wouldBlock);
    if (wouldBlock)
        return 0;
    {
        std::lock_guard lock(m_peerAddressesMutex);
        m_peerAddresses.remove_if([&](const sockaddr_in& known) { return sameAddress(known, from); });
        if (count >= 0)
            m_peerAddresses.push_back(from);
    }
    // Only a datagram that arrived gets its sender's address in front: a
    // failed receive stays a failure.
    if (smart && count >= 0) {
        std::memcpy(buffer, &from, kAddressSize);
        count += static_cast<long>(kAddressSize);
    }
    return count < 1 ? -1 : static_cast<int>(count);
}

int CNetSocket::Write(const char* buffer, std::size_t length, std::uint32_t timeoutMs)
{
    if (!buffer)
        return 0;
    if (length > INT_MAX) {
        net::setLastError(net::error::InvalidParameter);
        return -1;
    }
    std::lock_guard lock(m_writeMutex);
    if (!IsOpen() || m_fd < 0)
        return 0;
    if (IsBroadcast() || IsSmartAddressing()) {
        switch (net::waitFor(m_fd, POLLOUT, timeoutMs)) {
        case net::Wait::TimedOut:
        case net::Wait::Failed:
            return 0;
        case net::Wait::Ready:
            break;
        }
        return writeDatagram(buffer, length);
    }
    return writeStream(buffer, length, timeoutMs);
}

int CNetSocket::writeStream(const char* buffer, std::size_t length, std::uint32_t timeoutMs)
{
    std::size_t sent = 0;
    do {
        switch (net::waitFor(m_fd, POLLOUT, timeoutMs)) {
        case net::Wait::TimedOut:
        case net::Wait::Failed:
            return static_cast<int>(sent);
        case net::Wait::Ready:
            break;
        }
        bool wouldBlock = false;
        const long count = net::sendSome(m_fd, buffer + sent, length - sent, wouldBlock);
        if (count < 0 && !wouldBlock)
            return -1;
        if (count > 0)
            sent += static_cast<std::size_t>(count);
    } while (sent < length);
    return static_cast<int>(sent);
}

int CNetSocket::writeDatagram(const char* buffer, std::size_t length)
{
    std::size_t prefix = 0;
    if (IsSmartAddressing()) {
        if (length < kAddressSize) {
            net::setLastError(net::error::InvalidUserBuffer);
            return -1;
        }
        prefix = kAddressSize;
        sockaddr_in to{};
        std::memcpy(&to, buffer, kAddressSize);
        if (to.sin_addr.s_addr != htonl(INADDR_BROADCAST)) {
            const long count = net::sendTo(m_fd, buffer + prefix, length - prefix, to);
            return count < 0 ? -1 : static_cast<int>(count);
        }
    }
    // No destination of its own: to every sender heard from, forgetting
    // those that can no longer be sent to.
    std::lock_guard lock(m_peerAddressesMutex);
    for (auto it = m_peerAddresses.begin(); it != m_peerAddresses.end();) {
        if (net::sendTo(m_fd, buffer + prefix, length - prefix, *it) < 0)
            it = m_peerAddresses.erase(it);
        else
            ++it;
    }
    return static_cast<int>(length - prefix);
}

void CNetSocket::OnDataReceived(const char*, std::size_t) {}

void CNetSocket::OnEvent(int) {}

void CNetSocket::Run()
{
    if (IsServer() && !IsBroadcast()) {
        const int connection = AcceptConnection();
        if (connection < 0) {
            EndWatch(NetEvent::Failed);
            return;
        }
        {
            // The listening socket's work is done: this object now is the connection.
            std::scoped_lock lock(m_readMutex, m_writeMutex, m_fdMutex);
            net::closeDescriptor(m_fd.exchange(connection));
        }
        if (!IsOpen()) {
            releaseDescriptor();
            return;
        }
        OnEvent(NetEvent::Established);
    }
    WatchReads();
}

int CNetSocket::AcceptConnection()
{
    while (IsOpen()) {
        switch (net::waitFor(m_fd, POLLIN, kWatchReadMs)) {
        case net::Wait::TimedOut:
            continue;
        case net::Wait::Failed:
            return -1;
        case net::Wait::Ready:
            break;
        }
        net::Accepted outcome = net::Accepted::ListenerFailed;
        const int connection = net::acceptConnection(m_fd, outcome);
        switch (outcome) {
        case net::Accepted::Connection:
            return connection;
        case net::Accepted::NothingYet:
        case net::Accepted::ConnectionLost:
            // One pupil's failed connection must not lock the class out.
            continue;
        case net::Accepted::OutOfResources:
            std::this_thread::sleep_for(kResourcePause);
            continue;
        case net::Accepted::ListenerFailed:
            return -1;
        }
    }
    return -1;
}

void CNetSocket::WatchReads()
{
    std::vector<char> buffer(kWatchBufferSize);
    while (IsOpen()) {
        const int count = Read(buffer.data(), buffer.size(), kWatchReadMs);
        if (count < 0) {
            if (IsBroadcast()) {
                // A datagram socket serves many senders: one failed read ends nothing.
                if (IsOpen())
                    OnEvent(NetEvent::Abandoned);
                continue;
            }
            EndWatch(NetEvent::Abandoned);
            return;
        }
        if (IsSmartAddressing() && count == static_cast<int>(kAddressSize))
            OnEvent(NetEvent::ZeroLength);
        else if (count > 0)
            OnDataReceived(buffer.data(), static_cast<std::size_t>(count));
        std::this_thread::yield();
    }
    releaseDescriptor();
}

void CNetSocket::EndWatch(int code)
{
    // Marked closed before the event, so the listener (and FindPeer) already
    // sees a socket that can no longer be written to.
    if (m_open.exchange(false))
        OnEvent(code);
    releaseDescriptor();
}

bool CNetSocket::GetLocalHostName(char* buffer, std::size_t size)
{
    if (!buffer || size == 0) {
        net::setLastError(net::error::InvalidParameter);
        return false;
    }
    std::string name;
    if (net::localHostName(name) != 0)
        return false;
    return copyText(name, buffer, size);
}

bool CNetSocket::GetLocalHostAddress(char* buffer, std::size_t size)
{
    if (!buffer || size == 0) {
        net::setLastError(net::error::InvalidParameter);
        return false;
    }
    std::string name;
    net::HostEntry entry;
    if (net::localHostName(name) != 0 || net::resolveName(name, entry) != 0)
        return false;
    return copyText(net::dottedAddress(entry.addresses.front()), buffer, size);
}

std::uint32_t CNetSocket::GetIPAddress(const char* host)
{
    std::string name;
    if (host) {
        name = host;
    } else if (net::localHostName(name) != 0) {
        return INADDR_NONE;
    }
    std::uint32_t address = 0;
    if (net::parseDottedAddress(name, address))
        return ntohl(address);
    net::HostEntry entry;
    if (net::resolveName(name, entry) != 0)
        return INADDR_NONE;
    return ntohl(entry.addresses.front());
}

bool CNetSocket::BuildSocketAddress(sockaddr_in& address, const char* host, const char* service, int family)
{
    address = sockaddr_in{};
    address.sin_family = static_cast<sa_family_t>(family);
    address.sin_addr.s_addr = htonl(GetIPAddress(host));
    std::uint16_t port = 0;
    if (service && *service >= '0' && *service <= '9') {
        unsigned long value = 0;
        for (const char* digit = service; *digit >= '0' && *digit <= '9' && value <= 0xFFFF; ++digit)
            value = value * 10 + static_cast<unsigned long>(*digit - '0');
        // A number no port can have names no port.
        port = value <= 0xFFFF ? static_cast<std::uint16_t>(value) : 0;
    } else if (service && *service) {
        port = net::servicePort(service);
    }
    address.sin_port = htons(port);
    return address.sin_addr.s_addr != 0 || port != 0;
}

}  // namespace shared
