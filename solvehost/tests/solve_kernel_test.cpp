// The solving-kernel binding against scripted kernel libraries and the real
// stand-in kernel, laid out under a temporary install root.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/message_box.h"
#include "platform/registry.h"
#include "scripted_state.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "solvehost/solve_kernel.h"
#include "testsupport/temp_dir.h"

namespace solvehost {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInitError = "CKernelFuncMgr::m_pSolveKernel->initClew error";
constexpr const char* kInitText = "Сервер обчислень не запущено: перевірте встановлення.";
constexpr const char* kServerError = "Помилка в сервері обчислень";

ScriptedState& scriptedState(const char* library)
{
    // The binding loaded the same file: dlopen gives that same instance.
    void* handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
    auto state = reinterpret_cast<ScriptedState* (*)()>(::dlsym(handle, "scripted_state"));
    return *state();
}

// An executor that counts its entry-point look-ups.
class CountingSolveKernel : public CSolveKernel {
public:
    using CSolveKernel::CSolveKernel;
    std::vector<std::string> lookups;

protected:
    void* lookupEntry(const char* name) override
    {
        lookups.emplace_back(name);
        return CSolveKernel::lookupEntry(name);
    }
};

class Binding : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        platform::setMessageRecorder(&m_messages);
        m_oldDir = fs::current_path();
        fs::current_path(m_workDir.path());
    }
    void TearDown() override
    {
        fs::current_path(m_oldDir);
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }

    // An install root with `library` as its kernel.
    void installKernel(const std::string& library)
    {
        ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                                  "InstallPath", m_root.path()),
                  0);
        if (library.empty())
            return;
        fs::create_directories(m_root.path() + "kernel/solvekernel");
        fs::create_symlink(library, m_root.path() + "kernel/solvekernel/tarvik.so");
    }

    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : m_messages.messages)
            texts.push_back(m.text);
        return texts;
    }

    platform::MessageRecorder m_messages;
    testsupport::TempDir m_root;
    testsupport::TempDir m_workDir;
    fs::path m_oldDir;
};

// A missing library: the start-up message once, the program runs on, and
// every request fails without a further message.
TEST_F(Binding, MissingLibraryReportsOnceAndRequestsFail)
{
    installKernel("");
    CKernelFuncMgr manager("stepwell.clew");
    EXPECT_TRUE(manager.InitKernel());
    EXPECT_FALSE(manager.IsStarted());
    ASSERT_NE(manager.solveKernel(), nullptr);
    EXPECT_FALSE(manager.solveKernel()->isLoaded());
    std::string out = "kept";
    EXPECT_FALSE(manager.CallKernel(5351, "(x),(x)", out));
    EXPECT_FALSE(manager.CallKernel(10, "2+!3", out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kInitText});
    EXPECT_TRUE(fs::exists(m_workDir.path() + "solution.txt"));
}

TEST_F(Binding, CallBeforeInitFails)
{
    CKernelFuncMgr manager("stepwell.clew");
    std::string out;
    EXPECT_FALSE(manager.CallKernel(10, "x", out));
    EXPECT_TRUE(m_messages.messages.empty());
}

// The kernel gets the library path, "-l modules\<module>\<rule file>" and
// the executor as its log stream.
TEST_F(Binding, StartsWithTheRuleFileOfTheProgram)
{
    installKernel(SCRIPTED_KERNEL);
    ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::User, shared::kSuiteRegistryKey, "Module",
                                              "algebra7"),
              0);
    CKernelFuncMgr manager("reckonry.clew");
    EXPECT_FALSE(manager.IsStarted());
    EXPECT_TRUE(manager.InitKernel());
    EXPECT_TRUE(manager.IsStarted());
    EXPECT_TRUE(m_messages.messages.empty());
    ScriptedState& state = scriptedState(SCRIPTED_KERNEL);
    EXPECT_EQ(state.libraryPath, m_root.path() + "kernel/solvekernel/tarvik.so");
    EXPECT_EQ(state.arguments, "-l modules\\algebra7\\reckonry.clew");
    manager.solveKernel()->flush();
    EXPECT_EQ(testsupport::readFile(m_workDir.path() + "solution.txt"),
              "scripted kernel started with -l modules\\algebra7\\reckonry.clew\n");
}

// The pupil reads the program's own text of a kernel that does not start
// (the binding's own words when the program has no table); the developer's
// text goes to the error stream.
TEST_F(Binding, KernelThatCannotStartIsReported)
{
    installKernel(SCRIPTED_KERNEL);
    struct Case {
        const char* programText;  // "erKernelStart" in the program's table
        const char* shown;
    };
    const Case cases[] = {{"", kInitText}, {"Обчислення недоступні.", "Обчислення недоступні."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        shared::ProgramLanguageTable() = shared::CLanguageTable();
        if (*c.programText)
            shared::ProgramLanguageTable().Set("erKernelStart", c.programText);
        m_messages.messages.clear();
        testing::internal::CaptureStderr();
        CKernelFuncMgr manager("fail.clew");
        EXPECT_TRUE(manager.InitKernel());
        EXPECT_FALSE(manager.IsStarted());
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(messageTexts(), std::vector<std::string>{c.shown});
        EXPECT_NE(errors.find(kInitError), std::string::npos) << errors;
    }
    shared::ProgramLanguageTable() = shared::CLanguageTable();
}

TEST_F(Binding, RepliesAndTheirRemoval)
{
    installKernel(SCRIPTED_KERNEL);
    CKernelFuncMgr manager("stepwell.clew");
    manager.InitKernel();
    ScriptedState& state = scriptedState(SCRIPTED_KERNEL);
    const int removedBefore = state.removed;
    std::string out;

    // A result: copied, handed back with 0, the handle passed on.
    EXPECT_TRUE(manager.CallKernel(5351, "(a),(b)", out));
    EXPECT_EQ(out, "echo (a),(b) 5351");
    EXPECT_EQ(state.lastHandle, 7);
    EXPECT_EQ(state.removed, removedBefore + 1);
    EXPECT_EQ(state.lastZero, 0);

    // "NORES" is no result but stays in `out`; another case is a result.
    EXPECT_FALSE(manager.CallKernel(1, "nores", out));
    EXPECT_EQ(out, "\"NORES\"");
    EXPECT_TRUE(manager.CallKernel(1, "nores-lower", out));
    EXPECT_EQ(out, "\"nores\"");
    EXPECT_EQ(state.removed, removedBefore + 3);

    // True without a reply: false, nothing handed back, `out` unchanged.
    out = "kept";
    EXPECT_FALSE(manager.CallKernel(1, "true-without-reply", out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(state.removed, removedBefore + 3);

    // False with a reply: the reply is still handed back. Only the low byte
    // of the answer counts.
    EXPECT_FALSE(manager.CallKernel(1, "false-with-reply", out));
    EXPECT_FALSE(manager.CallKernel(1, "high-byte-false", out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(state.removed, removedBefore + 5);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(Binding, ExceptionInTheKernelIsAMessageAndFalse)
{
    installKernel(SCRIPTED_KERNEL);
    CKernelFuncMgr manager("stepwell.clew");
    manager.InitKernel();
    std::string out = "kept";
    EXPECT_FALSE(manager.CallKernel(1, "throw", out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kServerError});
    EXPECT_TRUE(manager.CallKernel(1, "again", out));
}

TEST_F(Binding, GetResultLooksItsEntryUpOnce)
{
    CountingSolveKernel kernel(SCRIPTED_KERNEL);
    ASSERT_TRUE(kernel.initClew("-l x.clew"));
    char* reply = nullptr;
    ASSERT_TRUE(kernel.GetResult("one", 1, &reply));
    kernel.RemoveResult(reply);
    reply = nullptr;
    ASSERT_TRUE(kernel.GetResult("two", 2, &reply));
    kernel.RemoveResult(reply);
    ASSERT_TRUE(kernel.initClew("-l y.clew"));
    EXPECT_EQ(kernel.lookups, (std::vector<std::string>{"exec_init", "exec_remove", "exec_getres"}));
}

// Without exec_init the start fails, and the entry is looked up again at
// the next start; requests still reach exec_getres.
TEST_F(Binding, MissingInitIsLookedUpAgain)
{
    CountingSolveKernel kernel(KERNEL_WITHOUT_INIT);
    ASSERT_TRUE(kernel.isLoaded());
    EXPECT_FALSE(kernel.initClew("-l x.clew"));
    EXPECT_FALSE(kernel.initClew("-l x.clew"));
    EXPECT_EQ(kernel.lookups, (std::vector<std::string>{"exec_init", "exec_init"}));
    char* reply = nullptr;
    EXPECT_TRUE(kernel.GetResult("hello", 3, &reply));
    ASSERT_NE(reply, nullptr);
    EXPECT_STREQ(reply, "echo hello 3");
    kernel.RemoveResult(reply);  // exec_remove was never looked up: nothing happens
    std::free(reply);
}

TEST_F(Binding, NoLibraryNoEntries)
{
    CountingSolveKernel kernel(m_root.path() + "none/tarvik.so");
    EXPECT_FALSE(kernel.initClew("-l x.clew"));
    char* reply = nullptr;
    EXPECT_FALSE(kernel.GetResult("x", 1, &reply));
    EXPECT_TRUE(kernel.lookups.empty());
}

// The real stand-in kernel under an install root with the shipped rule file.
TEST_F(Binding, RealKernelChecksAStep)
{
    installKernel(TARVIK_LIBRARY);
    fs::create_directories(m_root.path() + "modules/tessaly");
    fs::copy_file(std::string(TARVIK_RULES_DIR) + "/stepwell.clew", m_root.path() + "modules/tessaly/stepwell.clew");
    CKernelFuncMgr manager("stepwell.clew");
    EXPECT_TRUE(manager.InitKernel());
    EXPECT_TRUE(m_messages.messages.empty());
    std::string out;
    EXPECT_TRUE(manager.CallKernel(5351, "(2*!x+!3=!7),(2*!x=!4)", out));
    EXPECT_EQ(out, "2*x=4");
    EXPECT_FALSE(manager.CallKernel(5351, "(2*!x+!3=!7),(2*!x=!5)", out));
    EXPECT_EQ(out, "\"NORES\"");
    EXPECT_TRUE(manager.CallKernel(1372, "(x=!2),(2*!x+!3=!7)", out));
    EXPECT_EQ(out, "2");
    manager.solveKernel()->flush();
    const std::string log = testsupport::readFile(m_workDir.path() + "solution.txt");
    EXPECT_NE(log.find("5351 (2*!x+!3=!7),(2*!x=!4) -> 2*x=4"), std::string::npos) << log;
}

}  // namespace
}  // namespace solvehost
