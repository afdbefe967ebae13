// The kernel's entry points, rule files, limits and determinism, with
// requests written by hand (the same operations between the real Aplan
// writer and reader are in roundtrip_*_test.cpp).
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kernel_fixture.h"
#include "testsupport/temp_dir.h"

namespace kerneltest {
namespace {

class Entry : public KernelTest {};

// The walk-through of one independent step at the kernel's level.
TEST_F(Entry, WalkThroughOfOneStep)
{
    start("stepwell.clew");
    EXPECT_EQ(ask(5351, "(2*!x+!3=!7),(2*!x=!4)"), "2*x=4");
    EXPECT_EQ(ask(5351, "(2*!x+!3=!7),(2*!x=!5)"), kNoResult);
    EXPECT_EQ(ask(1372, "(x=!2),(2*!x+!3=!7)"), "2");
}

TEST_F(Entry, UnknownCodeAndUnknownHandle)
{
    start("stepwell.clew");
    EXPECT_EQ(ask(501, "((x=!1),(x=!1))"), kNoResult);  // a drill code, not in this file
    const Library& lib = Library::get();
    char* reply = nullptr;
    EXPECT_EQ(lib.getres("2+!3", 10, &reply, m_kernel.handle() + 1000), 0);
    EXPECT_EQ(reply, nullptr);
    EXPECT_EQ(lib.getres(nullptr, 10, &reply, m_kernel.handle()), 0);
    EXPECT_EQ(lib.getres("2+!3", 10, nullptr, m_kernel.handle()), 0);
    lib.remove(nullptr, 0);
}

// A code means what its own file says: 10 and 11 differ between files.
TEST_F(Entry, CodesDifferBetweenRuleFiles)
{
    start("stepwell.clew");
    EXPECT_EQ(ask(10, "2+!3"), "5");
    Kernel reckonry;
    reckonry.start("reckonry.clew");
    EXPECT_EQ(reckonry.ask(10, ""), "6");
    EXPECT_EQ(reckonry.ask(11, "12"), "12");
    EXPECT_EQ(reckonry.ask(10, "1"), "12");
    // Precision is kept per handle.
    Kernel other;
    other.start("reckonry.clew");
    EXPECT_EQ(other.ask(1002, "1"), "6");
}

TEST_F(Entry, ExerciseFileReadsRows)
{
    start("exercise.clew");
    EXPECT_EQ(ask(501, "((2*!x=!4),(x=!2))#((x+!1=!3),(x=!5))"), "2,0");
}

class RuleFiles : public ::testing::Test {
protected:
    int init(const std::string& libPath, const std::string& args, std::ostream* log = nullptr)
    {
        std::int32_t handle = 0;
        return Library::get().init(libPath.c_str(), args.c_str(), &handle, log);
    }
    testsupport::TempDir m_dir;
};

// The hosts send a relative path with backslashes; it is found under the
// install root that the library path gives.
TEST_F(RuleFiles, RelativePathResolvedAgainstInstallRoot)
{
    m_dir.write("modules/tessaly/stepwell.clew", "5351 check-step\n");
    const std::string lib = m_dir.path() + "kernel/solvekernel/tarvik.so";
    EXPECT_EQ(init(lib, "-l modules\\tessaly\\stepwell.clew"), 1);
    const std::string windowsLib = m_dir.path() + "kernel\\solvekernel\\tarvik.dll";
    EXPECT_EQ(init(windowsLib, "-l modules\\tessaly\\stepwell.clew"), 1);
    EXPECT_EQ(init(lib, "-l modules\\tessaly\\missing.clew"), 0);
}

TEST_F(RuleFiles, BadFilesAreRefusedWithTheReasonInTheLog)
{
    const std::string lib = m_dir.path() + "kernel/solvekernel/tarvik.so";
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"5351 check-step\n10 no-such-operation\n", "line 2: unknown operation \"no-such-operation\""},
        {"10 simplify\n10 expand\n", "line 2: code 10 given twice"},
        {"ten simplify\n", "line 1: bad code \"ten\""},
        {"99999999999 simplify\n", "bad code"},
        {"# nothing but a comment\n", "no rules"},
    };
    for (const Case& c : cases) {
        m_dir.write("modules/m/bad.clew", c.text);
        std::ostringstream log;
        EXPECT_EQ(init(lib, "-l modules\\m\\bad.clew", &log), 0) << c.text;
        EXPECT_NE(log.str().find(c.reason), std::string::npos) << log.str();
    }
    EXPECT_EQ(init(lib, "modules\\m\\bad.clew"), 0);  // no "-l"
    EXPECT_EQ(init(lib, "-l "), 0);
}

TEST_F(RuleFiles, CommentsAndBlankLinesAreAllowed)
{
    m_dir.write("r.clew", "# codes\n\n  10   simplify   # a comment\r\n-5 expand\n");
    std::int32_t handle = 0;
    ASSERT_EQ(Library::get().init("", ("-l " + m_dir.path() + "r.clew").c_str(), &handle, nullptr), 1);
    char* reply = nullptr;
    ASSERT_EQ(Library::get().getres("2*!(x+!1)", -5, &reply, handle), 1);
    EXPECT_STREQ(reply, "2*x+2");
    Library::get().remove(reply, 0);
}

// Limits before any algebra: beyond them the reply is "NORES", never a
// crash or a hang.
TEST_F(Entry, LimitsGiveNoResult)
{
    start("stepwell.clew");
    const std::string deep = std::string(65, '(') + "x" + std::string(65, ')');
    const std::string ok = std::string(60, '(') + "x+!x" + std::string(60, ')');
    EXPECT_EQ(ask(10, deep), kNoResult);
    EXPECT_EQ(ask(10, ok), "2*x");
    EXPECT_EQ(ask(10, "x^!65*!x"), kNoResult);
    EXPECT_EQ(ask(10, "x^!64*!x"), "index_up(x,65)");
    EXPECT_EQ(ask(10, "x^!(-65)"), kNoResult);
    EXPECT_EQ(ask(10, std::string(41, '9') + "+!1"), kNoResult);
    EXPECT_EQ(ask(10, std::string(40, '9') + "+!1"), "1" + std::string(40, '0'));
    EXPECT_EQ(ask(10, "RealNum(\"" + std::string(30, '1') + "\",\"" + std::string(11, '2') + "\")"), kNoResult);
    std::string longRequest = "1";
    while (longRequest.size() <= 64 * 1024)
        longRequest += "+!1";
    EXPECT_EQ(ask(10, longRequest), kNoResult);
    // Expansions that would run away are refused before they start.
    EXPECT_EQ(ask(101, "(a+!b+!x+!y+!1)^!64"), kNoResult);
    EXPECT_EQ(ask(101, "((x+!1)^!64)^!64"), kNoResult);
    EXPECT_EQ(ask(10, "x^!y"), kNoResult);
    EXPECT_EQ(ask(10, "1/!0"), kNoResult);
    EXPECT_EQ(ask(10, "3//0"), kNoResult);
    EXPECT_EQ(ask(10, "_sqrt((-4))"), kNoResult);
    EXPECT_EQ(ask(101, "h+!Z*!(9+!(-9))^!0"), kNoResult);  // 0^0
    EXPECT_EQ(ask(10, "(x+!(-1)*!x)^!(-1)"), kNoResult);
    // More than eight letters, or factoring in more than four, is refused.
    EXPECT_EQ(ask(10, "a+!b+!c+!d+!e+!f+!g+!h+!k"), kNoResult);
    EXPECT_EQ(ask(104, "a*!b*!c*!d*!e+!a*!b*!c*!d*!f"), kNoResult);
    EXPECT_EQ(ask(104, "a*!b*!c+!a*!b*!d"), "a*b*(c+d)");
}

TEST_F(Entry, UnreadableTextsGiveNoResult)
{
    start("stepwell.clew");
    for (const char* text : {"", "(", ")", "x+!", "+-x", "x=!1=!2", "\"", "a;b", "2\xd0\xb0", "@hor_frac$1$2#",
                             "True", " (NotImplemented) ", "integral(x)", "x || 5", "Sets(Foo)"}) {
        EXPECT_EQ(ask(10, text), kNoResult) << text;
    }
}

// The same request gives the same reply, byte for byte, in any order of
// requests and across kernels.
TEST_F(Entry, RepliesAreDeterministic)
{
    start("stepwell.clew");
    const std::pair<int, const char*> requests[] = {
        {101, "(x+!y+!(-1)*!b)^!3"},
        {104, "x^!4+!(-1)*!y^!4"},
        {105, "(1/!x)+!(1/!(y+!1))+!(1/!(a+!(-1)*!b))"},
        {10, "(x+!y)*!(a+!(-1)*!b)+!3*!x*!a"},
    };
    std::vector<std::string> first;
    for (const auto& [code, text] : requests)
        first.push_back(ask(code, text));
    Kernel again;
    again.start("stepwell.clew");
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = std::size(requests); i-- > 0;)
            EXPECT_EQ(again.ask(requests[i].first, requests[i].second), first[i]);
    }
    // Letters alphabetically, higher powers of the earlier letter first.
    EXPECT_EQ(first[0], "-index_up(b,3)+3*index_up(b,2)*x+3*index_up(b,2)*y-3*b*index_up(x,2)-6*b*x*y-"
                        "3*b*index_up(y,2)+index_up(x,3)+3*index_up(x,2)*y+3*x*index_up(y,2)+index_up(y,3)");
    EXPECT_EQ(first[1], "(x+y)*(x-y)*(index_up(x,2)+index_up(y,2))");
}

}  // namespace
}  // namespace kerneltest
