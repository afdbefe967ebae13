#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/shell.h"
#include "testsupport/temp_dir.h"

namespace platform::shell {
namespace {

TEST(Shell, RecorderTakesTheCalls)
{
    Recorder recorder;
    recorder.result = false;
    setRecorder(&recorder);
    EXPECT_FALSE(openDocument("C:\\suite\\kernel\\doc\\manual.doc"));
    EXPECT_FALSE(startProgram("kernel\\bin\\Rivodadi.EXE", {"/t:12"}, "/opt/suite/kernel/bin"));
    setRecorder(nullptr);

    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].kind, Call::Kind::OpenDocument);
    EXPECT_EQ(recorder.calls[0].target, "C:/suite/kernel/doc/manual.doc");
    EXPECT_EQ(recorder.calls[1].kind, Call::Kind::StartProgram);
    EXPECT_EQ(recorder.calls[1].target, "kernel/bin/Rivodadi");
    EXPECT_EQ(recorder.calls[1].arguments, std::vector<std::string>{"/t:12"});
    EXPECT_EQ(recorder.calls[1].workingFolder, "/opt/suite/kernel/bin");
}

TEST(Shell, MissingFilesFailCleanly)
{
    testsupport::TempDir dir;
    EXPECT_FALSE(openDocument(dir.path() + "hStepwell_t.doc"));
    EXPECT_FALSE(startProgram(dir.path() + "Curvance.exe"));
}

TEST(Shell, StartsAProgramDetachedWithItsArguments)
{
    testsupport::TempDir dir;
    const std::string script = dir.write("Echo", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string out = dir.file("out.txt");
    ASSERT_TRUE(startProgram(dir.path() + "Echo.exe", {"/t:3 x", out}));
    // The child is detached: wait for its file, a bounded number of times.
    for (int i = 0; i < 200 && testsupport::readFile(out).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testsupport::readFile(out), "/t:3 x\n");
}

TEST(Shell, StartedProgramReportsItsProcessId)
{
    testsupport::TempDir dir;
    const std::string script = dir.write("Pid", "#!/bin/sh\necho $$ > \"$1\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string out = dir.file("pid.txt");
    std::int64_t pid = -1;
    ASSERT_TRUE(startProgram(script, {out}, {}, &pid));
    for (int i = 0; i < 500 && testsupport::readFile(out).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testsupport::readFile(out), std::to_string(pid) + "\n");

    pid = -1;
    EXPECT_FALSE(startProgram(dir.path() + "Missing", {}, {}, &pid));
    EXPECT_EQ(pid, 0);
}

}  // namespace
}  // namespace platform::shell
