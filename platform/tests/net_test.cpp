#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/net.h"

namespace platform::net {
namespace {

TEST(Net, ErrnoValuesBecomeSocketCodesOfTheSameMeaning)
{
    struct Row {
        int errnoValue;
        int code;
    };
    const Row rows[] = {
        {EINTR, 10004},        {EBADF, 10009},        {EACCES, 10013},      {EINVAL, 10022},
        {EMFILE, 10024},       {EAGAIN, 10035},       {EWOULDBLOCK, 10035}, {EINPROGRESS, 10036},
        {ENOTSOCK, 10038},     {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},  {EADDRNOTAVAIL, 10049},
        {ENETDOWN, 10050},     {ENETUNREACH, 10051},  {ECONNABORTED, 10053}, {ECONNRESET, 10054},
        {ENOBUFS, 10055},      {ENOTCONN, 10057},     {EPIPE, 10058},       {ETIMEDOUT, 10060},
        {ECONNREFUSED, 10061}, {EHOSTUNREACH, 10065}, {ENOENT, 10107},
    };
    for (const Row& row : rows)
        EXPECT_EQ(errorFromErrno(row.errnoValue), row.code) << "errno " << row.errnoValue;
}

TEST(Net, LookUpFailuresKeepTheLibraryCodes)
{
    EXPECT_EQ(errorFromLookup(EAI_NONAME, 0), 11001);
    EXPECT_EQ(errorFromLookup(EAI_AGAIN, 0), 11002);
    EXPECT_EQ(errorFromLookup(EAI_FAIL, 0), 11003);
    EXPECT_EQ(errorFromLookup(EAI_NODATA, 0), 11004);
    EXPECT_EQ(errorFromLookup(EAI_FAMILY, 0), 10047);
    EXPECT_EQ(errorFromLookup(EAI_SYSTEM, ECONNREFUSED), 10061);
}

TEST(Net, TheLastErrorBelongsToItsThread)
{
    setLastError(error::InsufficientBuffer);
    int other = -1;
    std::thread([&] {
        other = lastError();
        setLastError(error::InvalidParameter);
    }).join();
    EXPECT_EQ(other, 0);
    EXPECT_EQ(lastError(), error::InsufficientBuffer);
}

TEST(Net, AWaitEndsOnlyWhenItsTimeHasPassed)
{
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(waitFor(pair[0], POLLIN, 100), Wait::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    ASSERT_EQ(write(pair[1], "x", 1), 1);
    EXPECT_EQ(waitFor(pair[0], POLLIN, kInfinite), Wait::Ready);
    close(pair[0]);
    close(pair[1]);
}

TEST(Net, ServicesAreFoundByNameOfAnyProtocol)
{
    EXPECT_EQ(servicePort("http"), 80);
    EXPECT_EQ(servicePort("domain"), 53);
    EXPECT_EQ(servicePort("no-such-service-here"), 0);
}

TEST(Net, DottedAddresses)
{
    struct Row {
        const char* text;
        bool valid;
        const char* dotted;
    };
    const Row rows[] = {
        {"127.0.0.1", true, "127.0.0.1"},
        {"255.255.255.255", true, "255.255.255.255"},
        {"10.1", true, "10.0.0.1"},
        {"1.2.3.400", false, ""},
        {"1.2.3.4 junk", false, ""},
        {"", false, ""},
        {"localhost", false, ""},
    };
    for (const Row& row : rows) {
        std::uint32_t address = 0;
        EXPECT_EQ(parseDottedAddress(row.text, address), row.valid) << row.text;
        if (row.valid) {
            EXPECT_EQ(dottedAddress(address), row.dotted);
        }
    }
}

TEST(Net, NamesOfAddressesComeFromTheSystemUnlessReplaced)
{
    std::uint32_t loopback = 0;
    ASSERT_TRUE(parseDottedAddress("127.0.0.1", loopback));
    std::string name;
    ASSERT_EQ(lookUpName(loopback, name), 0);
    EXPECT_EQ(name, "localhost");

    setNameLookup([](std::uint32_t address, std::string& found) {
        if (dottedAddress(address) == "127.0.0.1")
            return error::HostNotFound;
        found = "replaced";
        return 0;
    });
    EXPECT_EQ(lookUpName(loopback, name), error::HostNotFound);
    EXPECT_EQ(lastError(), error::HostNotFound);
    std::uint32_t other = 0;
    ASSERT_TRUE(parseDottedAddress("127.0.0.9", other));
    ASSERT_EQ(lookUpName(other, name), 0);
    EXPECT_EQ(name, "replaced");

    setNameLookup({});
    ASSERT_EQ(lookUpName(loopback, name), 0);
    EXPECT_EQ(name, "localhost");
}

TEST(Net, ResolvesTheLocalNames)
{
    HostEntry entry;
    ASSERT_EQ(resolveName("localhost", entry), 0);
    std::uint32_t loopback = 0;
    ASSERT_TRUE(parseDottedAddress("127.0.0.1", loopback));
    EXPECT_NE(std::find(entry.addresses.begin(), entry.addresses.end(), loopback), entry.addresses.end());

    std::string local;
    ASSERT_EQ(localHostName(local), 0);
    char expected[256] = {};
    ASSERT_EQ(gethostname(expected, sizeof expected - 1), 0);
    EXPECT_EQ(local, expected);
}

TEST(Net, SocketsAreClosedOnExecAndSendsNeverRaiseSigpipe)
{
    const int fd = openSocket(AF_INET, SOCK_STREAM, false);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
    closeDescriptor(fd);

    // A send on a connection whose peer is gone fails with an error instead
    // of ending the process (SIGPIPE is left at its default here).
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
    close(pair[1]);
    bool wouldBlock = true;
    EXPECT_EQ(sendSome(pair[0], "x", 1, wouldBlock), -1);
    EXPECT_FALSE(wouldBlock);
    EXPECT_EQ(lastError(), 10058);
    close(pair[0]);
}

}  // namespace
}  // namespace platform::net
