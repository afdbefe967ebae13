#pragma once
// Sockets over POSIX, in the terms the socket library of the shared services
// speaks: descriptors that never leak into started programs, waits bounded in
// milliseconds, sends that never raise SIGPIPE, host look-ups, and one error
// code per thread numbered as the Windows socket layer numbers it, so the
// library's error texts and codes stay those its callers know.
#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::net {

// Error codes of the thread's last error.
namespace error {
constexpr int InvalidParameter = 87;      // ERROR_INVALID_PARAMETER
constexpr int InsufficientBuffer = 122;   // ERROR_INSUFFICIENT_BUFFER
constexpr int InvalidUserBuffer = 1784;   // ERROR_INVALID_USER_BUFFER
constexpr int Interrupted = 10004;        // WSAEINTR
constexpr int BadDescriptor = 10009;      // WSAEBADF
constexpr int Fault = 10014;              // WSAEFAULT
constexpr int InvalidArgument = 10022;    // WSAEINVAL
constexpr int WouldBlock = 10035;         // WSAEWOULDBLOCK
constexpr int InProgress = 10036;         // WSAEINPROGRESS
constexpr int NotSocket = 10038;          // WSAENOTSOCK
constexpr int FamilyNotSupported = 10047; // WSAEAFNOSUPPORT
constexpr int NetworkDown = 10050;        // WSAENETDOWN
constexpr int NoBuffers = 10055;          // WSAENOBUFS
constexpr int ConnectionReset = 10054;    // WSAECONNRESET
constexpr int Shutdown = 10058;           // WSAESHUTDOWN
constexpr int NotInitialised = 10093;     // WSANOTINITIALISED
constexpr int TypeNotFound = 10109;       // WSATYPE_NOT_FOUND
constexpr int HostNotFound = 11001;       // WSAHOST_NOT_FOUND
constexpr int TryAgain = 11002;           // WSATRY_AGAIN
constexpr int NoRecovery = 11003;         // WSANO_RECOVERY
constexpr int NoData = 11004;             // WSANO_DATA
}  // namespace error

// The calling thread's last error (0 until one is set).
int lastError();
void setLastError(int code);

// An errno value as the socket error code of the same meaning; one the
// socket layer has no code for is 10107 (WSASYSCALLFAILURE).
int errorFromErrno(int errnoValue);
// A getaddrinfo/getnameinfo failure: EAI_NONAME, EAI_AGAIN, EAI_FAIL and
// EAI_NODATA are 11001 to 11004; EAI_SYSTEM takes errnoValue.
int errorFromLookup(int eaiValue, int errnoValue);

// A time-out in milliseconds; this value waits without limit.
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

enum class Wait { Ready, TimedOut, Failed };
// Waits until `events` (POLLIN, POLLOUT) are ready on the descriptor, or it
// reports an error or hang-up (Ready: the next call on it tells which).
// TimedOut only once the whole time-out has passed: an interrupted or early
// wake-up waits again for the rest.
Wait waitFor(int fd, short events, std::uint32_t timeoutMs);

// A new socket descriptor, closed on exec; -1 with the last error set.
int openSocket(int family, int type, bool nonBlocking);
bool setOption(int fd, int level, int option, bool on);
bool bindTo(int fd, const sockaddr_in& address);
bool listenOn(int fd, int backlog);
void closeDescriptor(int fd);
// Ends both directions; a watcher waiting on the descriptor wakes up.
void shutdownBoth(int fd);
bool peerAddress(int fd, sockaddr_in& address);
bool localAddress(int fd, sockaddr_in& address);

// What became of one accept.
enum class Accepted {
    Connection,     // a new connection: the descriptor returned
    NothingYet,     // no connection waiting (or a signal): wait again
    ConnectionLost, // one connection failed before it was taken: try again
    OutOfResources, // no descriptor or memory for it now: try again after a pause
    ListenerFailed, // the listening socket itself is unusable
};
// accept4 on a listening descriptor: the new descriptor (blocking, closed on
// exec) or -1; `outcome` says which.
int acceptConnection(int fd, Accepted& outcome);

// One receive or send that never blocks and never raises SIGPIPE: the count,
// or -1 with the last error set; `wouldBlock` is set when nothing could move
// now (the count is then -1 and the last error WSAEWOULDBLOCK).
long receiveSome(int fd, void* buffer, std::size_t size, bool& wouldBlock);
long receiveFrom(int fd, void* buffer, std::size_t size, sockaddr_in& from, bool& wouldBlock);
long sendSome(int fd, const void* buffer, std::size_t size, bool& wouldBlock);
long sendTo(int fd, const void* buffer, std::size_t size, const sockaddr_in& to);

// The local host's name (0), or a socket error code.
int localHostName(std::string& name);

// The canonical name and IPv4 addresses (network order) of a host name.
struct HostEntry {
    std::string name;
    std::vector<std::uint32_t> addresses;
};
// 0, or a socket error code (11001-11004 for the name service's answers).
int resolveName(const std::string& name, HostEntry& entry);

// The host name of an IPv4 address (network order): 0 and the name, or a
// socket error code. The one peer-name look-up of the library; tests replace it.
int lookUpName(std::uint32_t address, std::string& name);
using NameLookup = std::function<int(std::uint32_t address, std::string& name)>;
// Replaces the look-up (an empty function restores the system's).
void setNameLookup(NameLookup lookup);

// The port (host order) of a named service of any protocol; 0 when unknown.
std::uint16_t servicePort(const std::string& name);

// "a.b.c.d" (and the shorter forms inet_aton takes) -> network order; false
// for anything else. "255.255.255.255" is an address like any other.
bool parseDottedAddress(const std::string& text, std::uint32_t& address);
// Network order -> "a.b.c.d".
std::string dottedAddress(std::uint32_t address);

}  // namespace platform::net
