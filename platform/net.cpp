#include "platform/net.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <memory>
#include <mutex>

namespace platform::net {

namespace {

thread_local int t_lastError = 0;

// errno -> the Windows socket layer's code of the same meaning. Its codes
// are 10000 + the BSD number; Linux numbers differ, hence the table.
struct ErrnoCode {
    int errnoValue;
    int code;
};
constexpr ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},           {EBADF, 10009},         {EACCES, 10013},       {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},        {EMFILE, 10024},       {ENFILE, 10024},
    {EAGAIN, 10035},          {EINPROGRESS, 10036},   {EALREADY, 10037},     {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},      {EPROTOTYPE, 10041},   {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045}, {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},    {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENONET, 10050},          {ENETUNREACH, 10051},   {ENETRESET, 10052},    {ECONNABORTED, 10053},
    {EPROTO, 10053},          {ECONNRESET, 10054},    {ENOBUFS, 10055},      {ENOMEM, 10055},
    {EISCONN, 10056},         {ENOTCONN, 10057},      {ESHUTDOWN, 10058},    {EPIPE, 10058},
    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061}, {ELOOP, 10062},
    {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
    {EUSERS, 10068},          {EDQUOT, 10069},        {ESTALE, 10070},       {EREMOTE, 10071},
};
// WSASYSCALLFAILURE: a system call failed in a way the table does not name.
constexpr int kSystemCallFailure = 10107;

int failWithErrno()
{
    const int code = errorFromErrno(errno);
    setLastError(code);
    return code;
}

std::mutex g_lookupMutex;
NameLookup g_lookup;

int systemLookUpName(std::uint32_t address, std::string& name)
{
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = address;
    char host[NI_MAXHOST];
    const int result = getnameinfo(reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress,
                                   host, sizeof host, nullptr, 0, NI_NAMEREQD);
    if (result != 0)
        return errorFromLookup(result, errno);
    name = host;
    return 0;
}

}  // namespace

int lastError()
{
    return t_lastError;
}

void setLastError(int code)
{
    t_lastError = code;
}

int errorFromErrno(int errnoValue)
{
    if (errnoValue == EWOULDBLOCK)
        return error::WouldBlock;
    for (const ErrnoCode& entry : kErrnoCodes) {
        if (entry.errnoValue == errnoValue)
            return entry.code;
    }
    return kSystemCallFailure;
}

int errorFromLookup(int eaiValue, int errnoValue)
{
    switch (eaiValue) {
    case EAI_NONAME:
        return error::HostNotFound;
    case EAI_AGAIN:
        return error::TryAgain;
    case EAI_FAIL:
        return error::NoRecovery;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return error::NoData;
    case EAI_FAMILY:
        return error::FamilyNotSupported;
    case EAI_SOCKTYPE:
        return 10044;  // WSAESOCKTNOSUPPORT
    case EAI_SERVICE:
        return error::TypeNotFound;
    case EAI_MEMORY:
        return 8;  // WSA_NOT_ENOUGH_MEMORY
    case EAI_BADFLAGS:
        return error::InvalidArgument;
    case EAI_OVERFLOW:
        return error::Fault;
    case EAI_SYSTEM:
        return errorFromErrno(errnoValue);
    default:
        return error::NoRecovery;
    }
}

Wait waitFor(int fd, short events, std::uint32_t timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    pollfd entry{fd, events, 0};
    const bool forever = timeoutMs == kInfinite;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    for (;;) {
        int waitMs = -1;
        if (!forever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            waitMs = static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
        }
        entry.revents = 0;
        const int result = poll(&entry, 1, waitMs);
        if (result > 0)
            return Wait::Ready;
        if (result < 0 && errno != EINTR) {
            failWithErrno();
            return Wait::Failed;
        }
        if (!forever && Clock::now() >= deadline)
            return Wait::TimedOut;
    }
}

int openSocket(int family, int type, bool nonBlocking)
{
    const int fd = socket(family, type | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0)
        failWithErrno();
    return fd;
}

bool setOption(int fd, int level, int option, bool on)
{
    const int value = on ? 1 : 0;
    if (setsockopt(fd, level, option, &value, sizeof value) == 0)
        return true;
    failWithErrno();
    return false;
}

bool bindTo(int fd, const sockaddr_in& address)
{
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    failWithErrno();
    return false;
}

bool listenOn(int fd, int backlog)
{
    if (listen(fd, backlog) == 0)
        return true;
    failWithErrno();
    return false;
}

void closeDescriptor(int fd)
{
    // Linux releases the descriptor even when close reports EINTR: never retry.
    if (fd >= 0)
        close(fd);
}

void shutdownBoth(int fd)
{
    if (fd >= 0)
        shutdown(fd, SHUT_RDWR);
}

bool peerAddress(int fd, sockaddr_in& address)
{
    socklen_t length = sizeof address;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        failWithErrno();
        return false;
    }
    if (address.sin_family == AF_INET)
        return true;
    setLastError(error::FamilyNotSupported);
    return false;
}

bool localAddress(int fd, sockaddr_in& address)
{
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        failWithErrno();
        return false;
    }
    if (address.sin_family == AF_INET)
        return true;
    setLastError(error::FamilyNotSupported);
    return false;
}

int acceptConnection(int fd, Accepted& outcome)
{
    const int connection = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) {
        outcome = Accepted::Connection;
        return connection;
    }
    const int reason = errno;
    failWithErrno();
    switch (reason) {
    case EAGAIN:
    case EINTR:
        outcome = Accepted::NothingYet;
        break;
    // Failures of the one connection being taken (accept(2) passes pending
    // network errors of the new connection on), never of the listener.
    case ECONNABORTED:
    case EPROTO:
    case EPERM:
    case ENETDOWN:
    case ENOPROTOOPT:
    case EHOSTDOWN:
    case ENONET:
    case EHOSTUNREACH:
    case EOPNOTSUPP:
    case ENETUNREACH:
        outcome = Accepted::ConnectionLost;
        break;
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
        outcome = Accepted::OutOfResources;
        break;
    default:
        outcome = Accepted::ListenerFailed;
        break;
    }
    return -1;
}

long receiveSome(int fd, void* buffer, std::size_t size, bool& wouldBlock)
{
    const ssize_t count = recv(fd, buffer, size, MSG_DONTWAIT);
    wouldBlock = count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    if (count < 0)
        failWithErrno();
    return static_cast<long>(count);
}

long receiveFrom(int fd, void* buffer, std::size_t size, sockaddr_in& from, bool& wouldBlock)
{
    socklen_t length = sizeof from;
    from = sockaddr_in{};
    const ssize_t count = recvfrom(fd, buffer, size, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &length);
    wouldBlock = count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    if (count < 0)
        failWithErrno();
    return static_cast<long>(count);
}

long sendSome(int fd, const void* buffer, std::size_t size, bool& wouldBlock)
{
    const ssize_t count = send(fd, buffer, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    wouldBlock = count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    if (count < 0)
        failWithErrno();
    return static_cast<long>(count);
}

long sendTo(int fd, const void* buffer, std::size_t size, const sockaddr_in& to)
{
    const ssize_t count =
        sendto(fd, buffer, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (count < 0)
        failWithErrno();
    return static_cast<long>(count);
}

int localHostName(std::string& name)
{
    char buffer[260] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return failWithErrno();
    name = buffer;
    return 0;
}

int resolveName(const std::string& name, HostEntry& entry)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* list = nullptr;
    const int result = getaddrinfo(name.c_str(), nullptr, &hints, &list);
    if (result != 0) {
        const int code = errorFromLookup(result, errno);
        setLastError(code);
        return code;
    }
    std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(list, &freeaddrinfo);
    entry.name = list->ai_canonname ? list->ai_canonname : name;
    entry.addresses.clear();
    for (const addrinfo* item = list; item; item = item->ai_next) {
        if (item->ai_family != AF_INET)
            continue;
        const std::uint32_t address = reinterpret_cast<const sockaddr_in*>(item->ai_addr)->sin_addr.s_addr;
        if (std::find(entry.addresses.begin(), entry.addresses.end(), address) == entry.addresses.end())
            entry.addresses.push_back(address);
    }
    if (entry.addresses.empty()) {
        setLastError(error::NoData);
        return error::NoData;
    }
    return 0;
}

int lookUpName(std::uint32_t address, std::string& name)
{
    NameLookup lookup;
    {
        std::lock_guard lock(g_lookupMutex);
        lookup = g_lookup;
    }
    const int code = lookup ? lookup(address, name) : systemLookUpName(address, name);
    if (code != 0)
        setLastError(code);
    return code;
}

void setNameLookup(NameLookup lookup)
{
    std::lock_guard lock(g_lookupMutex);
    g_lookup = std::move(lookup);
}

std::uint16_t servicePort(const std::string& name)
{
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (getservbyname_r(name.c_str(), nullptr, &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return 0;
    return ntohs(static_cast<std::uint16_t>(found->s_port));
}

bool parseDottedAddress(const std::string& text, std::uint32_t& address)
{
    // inet_aton stops at a blank and ignores what follows it: refuse blanks.
    if (text.empty() || text.find_first_of(" \t\r\n\f\v") != std::string::npos)
        return false;
    in_addr parsed{};
    if (inet_aton(text.c_str(), &parsed) == 0)
        return false;
    address = parsed.s_addr;
    return true;
}

std::string dottedAddress(std::uint32_t address)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    return std::to_string(bytes[0]) + '.' + std::to_string(bytes[1]) + '.' + std::to_string(bytes[2]) + '.' +
           std::to_string(bytes[3]);
}

}  // namespace platform::net
