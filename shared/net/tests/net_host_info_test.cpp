#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <sstream>

#include "net_test_support.h"
#include "platform/net.h"
#include "shared/net/net_host_info.h"

namespace shared {
namespace {

CNetSocketException thrownBy(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CNetSocketException& failure) {
        return failure;
    }
    ADD_FAILURE() << "nothing thrown";
    return CNetSocketException(-1, "");
}

TEST(NetHostInfo, TheLocalHostHasItsNameAndAnAddress)
{
    char name[256] = {};
    ASSERT_EQ(gethostname(name, sizeof name - 1), 0);
    if (!nettest::localHostNameResolves()) {
        // A machine with no entry for its own name: both ways fail alike,
        // with the look-up's "host not found".
        const auto local = thrownBy([] { CNetHostInfo(); });
        const auto byName = thrownBy([&] { CNetHostInfo(name, CNetHostInfo::kByName); });
        EXPECT_EQ(local.GetErrorCode(), 11001);
        EXPECT_EQ(byName.GetErrorCode(), 11001);
        EXPECT_EQ(local.GetErrorMessage(), byName.GetErrorMessage());
        return;
    }
    const CNetHostInfo local;
    const CNetHostInfo byName(name, CNetHostInfo::kByName);
    EXPECT_EQ(local.GetHostName(), byName.GetHostName());
    ASSERT_FALSE(local.GetAddresses().empty());
    EXPECT_EQ(local.GetAddresses(), byName.GetAddresses());
}

TEST(NetHostInfo, ByNameAndByAddress)
{
    const CNetHostInfo byName("localhost", CNetHostInfo::kByName);
    EXPECT_EQ(byName.GetHostName(), "localhost");
    ASSERT_FALSE(byName.GetAddresses().empty());
    EXPECT_EQ(byName.GetAddresses().front(), "127.0.0.1");

    const CNetHostInfo byAddress("127.0.0.1", CNetHostInfo::kByAddress);
    EXPECT_EQ(byAddress.GetHostName(), "localhost");
    EXPECT_EQ(byAddress.GetAddresses(), std::vector<std::string>{"127.0.0.1"});
}

TEST(NetHostInfo, RefusalsThrowCodeZeroWithTheirTexts)
{
    auto failure = thrownBy([] { CNetHostInfo("localhost", 2); });
    EXPECT_EQ(failure.GetErrorCode(), 0);
    EXPECT_EQ(failure.GetErrorMessage(), "unknown host type: host name/address has to be given ");

    failure = thrownBy([] { CNetHostInfo("1.2.3.400", CNetHostInfo::kByAddress); });
    EXPECT_EQ(failure.GetErrorCode(), 0);
    EXPECT_EQ(failure.GetErrorMessage(), "Error calling inet_addr()");
}

TEST(NetHostInfo, AFailedAddressLookUpThrowsItsCodeAndText)
{
    nettest::FakeNameService names;
    names.failFor("127.0.0.7");
    const auto failure = thrownBy([] { CNetHostInfo("127.0.0.7", CNetHostInfo::kByAddress); });
    EXPECT_EQ(failure.GetErrorCode(), 11001);
    EXPECT_EQ(failure.GetErrorMessage(), "Authoritative Answer Host not found.");
    EXPECT_EQ(CNetHostInfo("127.0.0.8", CNetHostInfo::kByAddress).GetHostName(), "Pc-8");
}

TEST(NetHostInfo, ErrorTextsOfBothTables)
{
    struct Row {
        int code;
        const char* byName;
        const char* byAddress;
    };
    const char* inProgress = "A blocking Windows Sockets 1.1 call is in progress, or the service provider is "
                             "still processing a callback function.";
    const char* canceled = "A blocking Windows Socket 1.1 call was canceled through WSACancelBlockingCall.";
    const Row rows[] = {
        {10093, "need to call WSAStartup to initialize socket system on Window system.",
         "A successful WSAStartup must occur before using this function."},
        {10050, "The network subsystem has failed.", "The network subsystem has failed."},
        {11001, "Authoritative Answer Host not found.", "Authoritative Answer Host not found."},
        {11002, "Non-Authoritative Host not found, or server failure.",
         "Non-Authoritative Host not found, or server failed."},
        {11003, "Nonrecoverable error occurred.", "Nonrecoverable error occurred."},
        {11004, "Valid name, no data record of requested type.", "Valid name, no data record of requested type."},
        {10036, inProgress, inProgress},
        {10047, "", "The type specified is not supported by the Windows Sockets implementation."},
        {10014, "The name parameter is not a valid part of the user address space.",
         "The addr parameter is not a valid part of the user address space, or the len parameter is too small."},
        {10004, canceled, canceled},
        {10054, "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CNetHostInfo::NameErrorText(row.code), row.byName) << row.code;
        EXPECT_EQ(CNetHostInfo::AddressErrorText(row.code), row.byAddress) << row.code;
    }
}

TEST(NetHostInfo, TheErrorPrintsItself)
{
    std::ostringstream out;
    CNetSocketException(11001, "Authoritative Answer Host not found.").Print(out);
    EXPECT_EQ(out.str(), "Error detect: \n\t\t==> error code: 11001\n\t\t==> error message: Authoritative Answer "
                         "Host not found.\n");
    ::testing::internal::CaptureStdout();
    CNetSocketException(0, "Error calling inet_addr()").Print();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Error detect: \n\t\t==> error code: 0\n\t\t==> error message: Error calling inet_addr()\n");
}

}  // namespace
}  // namespace shared
