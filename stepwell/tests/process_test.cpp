// The installed program started as a user starts it, from another folder,
// with the install root's machine hive, a temporary user hive, its own
// endpoint folder and a message log: without a login it says so and ends;
// with one it listens, opens tasks sent by the launcher and starts the
// kernel, whose log appears in kernel/bin.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QWidget>

#include <chrono>
#include <filesystem>

#include "platform/ipc/ipc.h"
#include "shared/language.h"
#include "shared/launcher.h"
#include "shared/programs.h"
#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace std::chrono_literals;

const std::string kRoot = std::string(STEPWELL_ROOT) + "/";

std::string task(const std::string& type)
{
    return "<TASK id=\"1\" type=\"" + type + "\" title=\"Задача\"><CONDITION><TEXT>Розв'яжіть</TEXT><JOBSLIST>"
           "<JOB id=\"1\" asTask=\"yes\" number=\"yes\"><FORMULA><math xmlns=\"http://www.w3.org/1998/Math/MathML\">"
           "<mi>x</mi><mo>=</mo><mn>1</mn></math></FORMULA></JOB></JOBSLIST></CONDITION></TASK>";
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

class Program : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_TRUE(std::filesystem::exists(kRoot + "kernel/bin/Stepwell")) << "install root missing: " << kRoot;
        ASSERT_TRUE(shared::LoadLanguageFile(kRoot + "kernel/data/lang/ua/stepwell.lng"));
        log = elsewhere.file("messages.log");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TESSALY_MACHINE_HIVE", QString::fromStdString(kRoot + "kernel/data/machine.ini"));
        environment.insert("TESSALY_MESSAGE_LOG", QString::fromStdString(log));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(elsewhere.path()));
        process.setProgram(QString::fromStdString(kRoot + "kernel/bin/Stepwell"));
    }
    void TearDown() override
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(5000)) {
                process.kill();
                process.waitForFinished(5000);
            }
        }
        testsupport::resetHives();
    }

    testsupport::TempDir elsewhere;
    std::string log;
    QProcess process;
};

TEST_F(Program, WithoutLoginItAsksForOneAndEnds)
{
    process.start();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(testsupport::readFile(log),
              shared::GetLangString("messageTitle") + ": " + shared::GetLangString("needPerson") + "\n");
}

TEST_F(Program, LoggedInItListensOpensTasksAndStartsTheKernel)
{
    ASSERT_EQ(shared::CSettings::Instance().SetUserPersonified(true), 0);
    std::filesystem::remove(kRoot + "kernel/bin/solution.txt");
    process.start();
    ASSERT_TRUE(process.waitForStarted(5000));
    const auto start = std::chrono::steady_clock::now();
    bool listening = false;
    while (!listening && std::chrono::steady_clock::now() - start < 10s && process.state() == QProcess::Running)
        listening = platform::ipc::exists("Stepwell_tessaly_WindowClassName", 200ms);
    ASSERT_TRUE(listening) << testsupport::readFile(log) << process.readAllStandardError().toStdString();

    QWidget sender;
    shared::CProgramLauncher& launcher = shared::CProgramLauncher::Instance();
    ASSERT_TRUE(launcher.Launch(&sender, shared::ProgramKind::Stepwell, shared::CopyDataCode::OpenTask, task("linear")));
    ASSERT_TRUE(launcher.Launch(&sender, shared::ProgramKind::Stepwell, shared::CopyDataCode::OpenLibraryTask,
                                task("linear")));
    ASSERT_TRUE(launcher.Launch(&sender, shared::ProgramKind::Stepwell, shared::CopyDataCode::OpenTask,
                                task("nosuchtype")));
    // The log answers every question with its first button: each task after
    // the first asks to close the open one.
    const std::string closeTask = shared::GetLangString("msgCloseTask");
    const std::string unknownType = shared::GetLangString("erUnkTaskType");
    std::string messages;
    for (int i = 0; i < 200 && count(messages, unknownType) == 0; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        messages = testsupport::readFile(log);
    }
    EXPECT_EQ(count(messages, closeTask), 2u) << messages;
    EXPECT_EQ(count(messages, unknownType), 1u) << messages;
    EXPECT_LT(messages.find(closeTask), messages.find(unknownType));
    EXPECT_TRUE(std::filesystem::exists(kRoot + "kernel/bin/solution.txt"));
    EXPECT_EQ(process.state(), QProcess::Running);
}

}  // namespace
