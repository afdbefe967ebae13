// The installed drill started as the lesson constructor starts it: by its
// path under the install root, from another working folder, with the install
// root's machine hive and a logged-in user. It comes up and starts its kernel,
// whose log appears in the working folder, and runs until it is ended.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <QProcess>

#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kRoot = std::string(TESSALY_INSTALL_ROOT) + "/";

TEST(DrillProcess, TheInstalledProgramComesUpFromAnyWorkingFolder)
{
    const std::string program = kRoot + "kernel/bin/Rivodadi";
    ASSERT_TRUE(fs::exists(program)) << "install root missing: " << kRoot;
    testsupport::resetHives();
    shared::CSettings::Instance().SetUserPersonified(true);
    testsupport::TempDir elsewhere;

    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(elsewhere.path()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TESSALY_MACHINE_HIVE", QString::fromStdString(kRoot + "kernel/data/machine.ini"));
    environment.insert("TESSALY_MESSAGE_LOG", QString::fromStdString(elsewhere.file("messages.log")));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(program), {"/t:1"});
    ASSERT_TRUE(process.waitForStarted(10000));
    const qint64 pid = process.processId();
    ASSERT_GT(pid, 0);

    const std::string log = elsewhere.path() + "solution.txt";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(log) && std::chrono::steady_clock::now() < deadline && process.state() == QProcess::Running)
        process.waitForFinished(100);
    EXPECT_TRUE(fs::exists(log));
    // Up, and still running: nothing ended the start, and it said nothing.
    process.waitForFinished(500);
    EXPECT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
    EXPECT_FALSE(fs::exists(elsewhere.file("messages.log")));

    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    testsupport::resetHives();
}

}  // namespace
