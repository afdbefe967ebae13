// The installed programs started as a user starts them: from another
// working folder, by their path under the install root, with its machine
// hive and a temporary user hive. Each comes up (its kernel's log appears: the solver's in
// the working folder, the calculator's in kernel/bin) and runs until the
// test ends it by its process id.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <csignal>
#include <filesystem>

#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace reckonry::test {
namespace {

namespace fs = std::filesystem;

struct ProgramCase {
    const char* name;
    bool logInBin;  // the kernel log lies in kernel/bin, not in the working folder
};

class Programs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(Programs, ComeUpFromAnotherFolderAndRunUntilEnded)
{
    const ProgramCase c = GetParam();
    testsupport::resetHives();
    testsupport::TempDir elsewhere;
    const fs::path base = TESSALY_INSTALL_ROOT;
    const fs::path program = base / "kernel/bin" / c.name;
    ASSERT_TRUE(fs::exists(program)) << "install root missing: " << base;
    fs::remove(base / "kernel/bin/solution.txt");

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSALY_MACHINE_HIVE"),
                       QString::fromStdString((base / "kernel/data/machine.ini").string()));
    const fs::path messages = fs::path(elsewhere.path()) / "messages.log";
    environment.insert(QStringLiteral("TESSALY_MESSAGE_LOG"), QString::fromStdString(messages.string()));
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
    // Still running a moment later: it came up, said nothing (its guide, kernel
    // and language file were all found) and waits for its user.
    QTest::qWait(300);
    EXPECT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
    EXPECT_FALSE(fs::exists(messages));

    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(process.waitForFinished(10000) || process.state() == QProcess::NotRunning);
    testsupport::resetHives();
}

INSTANTIATE_TEST_SUITE_P(Installed, Programs,
                         ::testing::Values(ProgramCase{"Reckonry", false}, ProgramCase{"Sumwright", true}),
                         [](const ::testing::TestParamInfo<ProgramCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace reckonry::test
