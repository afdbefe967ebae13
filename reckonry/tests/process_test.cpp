// The installed programs started as a user starts them: from another
// working folder, by their path under a temporary install root named by
// temporary hives. Each comes up (its kernel's log appears: the solver's in
// the working folder, the calculator's in kernel/bin) and runs until the
// test ends it by its process id.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <csignal>
#include <filesystem>

#include "platform/com/com.h"
#include "platform/registry.h"
#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace reckonry::test {
namespace {

namespace fs = std::filesystem;

struct ProgramCase {
    const char* name;
    const char* binary;
    bool logInBin;  // the kernel log lies in kernel/bin, not in the working folder
};

class Programs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(Programs, ComeUpFromAnotherFolderAndRunUntilEnded)
{
    const ProgramCase c = GetParam();
    testsupport::resetHives();
    testsupport::TempDir root;
    testsupport::TempDir elsewhere;
    const fs::path stage = TESSALY_STAGE_DIR;
    const fs::path base = root.path();
    fs::create_directories(base / "kernel/bin");
    fs::create_directories(base / "kernel/temp");
    fs::create_directory_symlink(stage / "kernel/data", base / "kernel/data");
    fs::create_directory_symlink(stage / "kernel/solvekernel", base / "kernel/solvekernel");
    fs::create_directory_symlink(stage / "modules", base / "modules");
    const fs::path program = base / "kernel/bin" / c.name;
    fs::create_symlink(fs::absolute(c.binary), program);
    ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                              "InstallPath", root.path()),
              0);
    // The formula control and the guide, as the install registers them.
    ASSERT_EQ(platform::com::registerLibrary(fs::absolute(PATHMENTOR_LIBRARY).string()), platform::S_OK);
    ASSERT_EQ(platform::com::registerLibrary(fs::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(elsewhere.path()));
    process.setProgram(QString::fromStdString(program.string()));
    process.start();
    ASSERT_TRUE(process.waitForStarted(10000));
    const qint64 pid = process.processId();
    ASSERT_GT(pid, 0);

    const fs::path log = c.logInBin ? base / "kernel/bin/solution.txt" : fs::path(elsewhere.path()) / "solution.txt";
    const fs::path notHere = c.logInBin ? fs::path(elsewhere.path()) / "solution.txt" : base / "kernel/bin/solution.txt";
    bool appeared = false;
    for (int i = 0; i < 300 && !appeared && process.state() == QProcess::Running; ++i) {
        QTest::qWait(50);
        appeared = fs::exists(log);
    }
    EXPECT_TRUE(appeared) << process.readAllStandardError().toStdString();
    EXPECT_FALSE(fs::exists(notHere));
    // Still running a moment later: it came up and waits for its user.
    QTest::qWait(300);
    EXPECT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();

    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(process.waitForFinished(10000) || process.state() == QProcess::NotRunning);
    testsupport::resetHives();
}

INSTANTIATE_TEST_SUITE_P(Installed, Programs,
                         ::testing::Values(ProgramCase{"Reckonry", RECKONRY_PROGRAM, false},
                                           ProgramCase{"Sumwright", SUMWRIGHT_PROGRAM, true}),
                         [](const ::testing::TestParamInfo<ProgramCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace reckonry::test
