#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "shared/net/net_log.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

using namespace std::chrono;

// 2026-12-11 09:05:03 UTC.
const system_clock::time_point kStart = sys_days{2026y / December / 11} + hours(9) + minutes(5) + seconds(3);

TEST(NetLog, WritesHeaderTextsAndFooterUnderTheClock)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("netlog.log");
    system_clock::time_point now = kStart;
    {
        CNetLog log(path, 1, [&] { return now; });
        log.Write("Connection Established\r\n");
        log.Write("abc");
        now += minutes(2) + seconds(5);
    }
    char name[31];
    std::snprintf(name, sizeof name, "%30s", path.c_str());
    const std::string padded = path.size() < 30 ? std::string(name) : path;
    EXPECT_EQ(testsupport::readFile(path),
              "DATE: 12/11/26 - 09:05:03" + padded + "\n\n" + "Connection Established\r\nabc" +
                  "\nDATE: 12/11/26 - 09:07:08" + padded + "Execution time: 2 minutes 5 seconds\n");
}

TEST(NetLog, AShortNameIsRightAlignedInThirtyCharacters)
{
    testsupport::TempDir dir;
    const std::string folder = dir.path();
    // The name as given: relative to the working directory, as the programs use it.
    const std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        CNetLog log("netlog.log", 1, [] { return kStart; });
    }
    std::filesystem::current_path(cwd);
    EXPECT_EQ(testsupport::readFile(folder + "netlog.log"),
              "DATE: 12/11/26 - 09:05:03                    netlog.log\n\n"
              "\nDATE: 12/11/26 - 09:05:03                    netlog.logExecution time: 0 minutes 0 seconds\n");
}

TEST(NetLog, AnUnopenableFileIsReportedOnceAndTheLogFallsQuiet)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("missing/netlog.log");
    ::testing::internal::CaptureStdout();
    {
        CNetLog log(path, 1, [] { return kStart; });
        EXPECT_TRUE(log.IsQuiet());
        log.Write("lost");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ERROR: Log file " + path + " could not be opened for write access.\n");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(NetLog, AQuietLevelWritesNoFile)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("netlog.log");
    ::testing::internal::CaptureStdout();
    {
        CNetLog log(path, CNetLog::kQuietLevel, [] { return kStart; });
        log.Write("nothing");
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Logging disabled (QUIET_MODE set)\n");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(NetLog, TheProcessLogKeepsItsNameOnceOpen)
{
    // The binary's environment named the process log before any test ran.
    NetLogWrite("");
    EXPECT_FALSE(SetNetLogFileName("elsewhere.log"));
    EXPECT_FALSE(std::filesystem::exists("elsewhere.log"));
    const std::string log = testsupport::readFile(testsupport::sandboxPath() + "netlog.log");
    EXPECT_EQ(log.rfind("DATE: ", 0), 0u);
}

}  // namespace
}  // namespace shared
