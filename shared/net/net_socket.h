#pragma once
// The socket library of the teacher's pupil server: a socket object that owns
// one IPv4 socket and one watcher thread that reads from it (CNetSocket), and
// the listener its derived peer sockets report to (INetListener). Bytes pass
// unchanged both ways: the pupil wire is 8-bit text that the listener converts.
//
// Threads: the watcher calls OnEvent and OnDataReceived (and through them the
// listener) on its own thread. Close() from another thread waits for the
// watcher to end; a class that overrides the virtual operations must call
// Close() in its own destructor, so that the watcher never calls into a
// half-destroyed object. A socket is never destroyed on its own watcher.
#include <netinet/in.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <thread>

namespace shared {

class CNetPeerSocket;

// Connection events: codes of OnEvent and INetListener::OnPeerEvent.
namespace NetEvent {
constexpr int Established = 0;
constexpr int Failed = 1;     // accepting failed: the listening socket is unusable
constexpr int Abandoned = 2;  // the connection was lost (read error or the peer closed)
constexpr int ZeroLength = 3; // an empty datagram arrived (smart addressing)
}  // namespace NetEvent

// Receives a peer socket's events and data; implemented by the program's main
// frame. Both calls come on the socket's watcher thread and must return
// without waiting for the user-interface thread: hand the work over to it.
class INetListener {
public:
    virtual void OnPeerEvent(CNetPeerSocket* peer, int code) = 0;
    // The bytes one read received, as they came (prefixed by the sender's
    // address with smart addressing).
    virtual void OnPeerData(CNetPeerSocket* peer, const std::string& text) = 0;

protected:
    ~INetListener() = default;
};

class CNetSocket {
public:
    // A time-out that waits without limit.
    static constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
    // Options of CreateSocket.
    static constexpr int kReuseAddress = 4;
    static constexpr int kBroadcast = 32;
    // Socket types of CreateSocket.
    static constexpr int kStream = 1;
    static constexpr int kDatagram = 2;
    // Each watcher reads into a buffer of this size, waiting this long per read.
    static constexpr std::size_t kWatchBufferSize = 102400;
    static constexpr std::uint32_t kWatchReadMs = 100;
    // Close logs a line when the watcher has not ended after this long.
    static constexpr std::uint32_t kCloseWaitMs = 5000;
    // The 16-byte IPv4 address that smart addressing puts before the data.
    static constexpr std::size_t kAddressSize = sizeof(sockaddr_in);

    CNetSocket();
    virtual ~CNetSocket();
    CNetSocket(const CNetSocket&) = delete;
    CNetSocket& operator=(const CNetSocket&) = delete;

    bool IsOpen() const { return m_open.load(); }
    // Change the flag only while no watcher thread exists (else ignored).
    void SetServerMode(bool on);
    void SetSmartAddressing(bool on);

    // Only while no socket is open: a socket of the family and type (kStream,
    // kDatagram) bound on every local address to the port of `service` (a
    // number, or a service name of /etc/services; "0" lets the system choose).
    // Option kReuseAddress reuses the address; kBroadcast (datagrams)
    // allows broadcasts and keeps a list of the senders, to which Write
    // without a destination sends. A stream socket then listens. False, with
    // nothing left open, when a step fails.
    bool CreateSocket(const char* service, int family, int type, int options);
    // Starts the watcher thread: false when one exists or no socket is open.
    bool StartWatch();
    // Shuts the socket down, waits for the watcher to end (logging a line each
    // time kCloseWaitMs passes, then waiting on: only a listener call can hold
    // it) and closes the socket. On the watcher's own thread it does not wait:
    // the watcher ends when the listener call returns, calling no listener
    // again. Closing a closed socket does nothing.
    void Close();

    // Waits up to the time-out for data and reads it: the count, 0 when
    // nothing came in time, -1 on an error or a stream the peer closed. With
    // smart addressing the buffer starts with the sender's 16-byte address
    // (a buffer smaller than that fails with error 1784).
    int Read(char* buffer, std::size_t size, std::uint32_t timeoutMs);
    // Sends the whole message under the socket's write lock, waiting at most
    // the time-out for each part to go out: the count sent (on a time-out the
    // count so far, 0 when none or when the socket is closed) or -1 on an
    // error. Datagrams: with smart addressing the message starts with the
    // destination's 16-byte address; without one (or to 255.255.255.255) it
    // goes to every sender in the list.
    int Write(const char* buffer, std::size_t length, std::uint32_t timeoutMs);

    bool GetPeerName(sockaddr_in& address) const;
    // The port the socket is bound to (host order); 0 when closed.
    std::uint16_t GetLocalPort() const;

    // The local host's name, or its first IPv4 address as "a.b.c.d", into the
    // buffer. A null buffer or size 0 fails with error 87, a buffer too small
    // for the text with its terminating zero with error 122 (the thread's
    // last error, platform::net::lastError()).
    static bool GetLocalHostName(char* buffer, std::size_t size);
    static bool GetLocalHostAddress(char* buffer, std::size_t size);
    // Host byte order: a null host is the local host; a dotted address is
    // taken as it is; a name is resolved to its first address;
    // INADDR_NONE when it cannot be.
    static std::uint32_t GetIPAddress(const char* host);
    // A zeroed address of the family, GetIPAddress(host) and the port of the
    // service (a decimal number when it starts with a digit, else the named
    // service's, 0 when unknown). True when the address or the port is not 0.
    static bool BuildSocketAddress(sockaddr_in& address, const char* host, const char* service, int family);

protected:
    // Around a connection accepted by a listening socket.
    explicit CNetSocket(int acceptedHandle);

    virtual void OnDataReceived(const char* buffer, std::size_t length);
    virtual void OnEvent(int code);
    // The watcher: a server accepts one connection (then reads it), any other
    // socket reads until it closes.
    virtual void Run();

    bool IsServer() const { return m_server.load(); }
    bool IsSmartAddressing() const { return m_smart.load(); }
    bool IsBroadcast() const { return m_broadcast.load(); }
    bool HasWatcher() const { return m_hasWatcher.load(); }

    // Accepts a connection on the listening socket, retrying failures that
    // concern one connection only: the new descriptor, or -1 when the
    // listening socket failed or was closed.
    int AcceptConnection();
    // Reads until the socket closes, handing data and events on.
    void WatchReads();
    // The watcher's end after a failure: the socket is no longer open; the
    // event is raised only when nobody closed it first; then the descriptor
    // is released.
    void EndWatch(int code);

private:
    void watcherMain();
    bool onWatcherThread() const;
    void joinWatcher();
    void shutdownDescriptor();
    void releaseDescriptor();
    int readDatagram(char* buffer, std::size_t size);
    int writeDatagram(const char* buffer, std::size_t length);
    int writeStream(const char* buffer, std::size_t length, std::uint32_t timeoutMs);

    // The descriptor is replaced or closed only under all three locks below,
    // and never while the watcher may still use it.
    std::atomic<int> m_fd{-1};
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_server{false};
    std::atomic<bool> m_smart{false};
    std::atomic<bool> m_broadcast{false};
    mutable std::mutex m_readMutex;
    mutable std::mutex m_writeMutex;
    mutable std::mutex m_fdMutex;

    // Senders of received datagrams, most recent last.
    std::list<sockaddr_in> m_peerAddresses;
    std::mutex m_peerAddressesMutex;

    // The watcher: started and joined under m_threadMutex; it signals its end
    // through m_endMutex and m_ended.
    std::thread m_thread;
    std::atomic<bool> m_hasWatcher{false};
    std::atomic<std::thread::id> m_watcherId{};
    std::mutex m_threadMutex;
    std::mutex m_endMutex;
    std::condition_variable m_endSignal;
    bool m_ended = false;
};

}  // namespace shared
