// The installed program started as a user starts it, from another folder,
// with the install root's machine hive, a temporary user hive, its own
// endpoint folder and a message log: without a login it says so and ends;
// with one it listens, opens tasks sent by the launcher and starts the
// kernel, whose log appears in kernel/bin. Shown on Qt's VNC platform, it
// takes the pupil's clicks and keys through a viewer's connection: a task
// begun and saved with the frame's commands while no receiver runs is kept
// in the pupil's own folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPoint>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>

#include "platform/ipc/ipc.h"
#include "platform/paths.h"
#include "shared/language.h"
#include "shared/launcher.h"
#include "shared/programs.h"
#include "shared/settings.h"
#include "stepwell/model/received_task.h"
#include "stepwell/model/solution_xml.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

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

// A port no one listens on now.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

// A viewer's connection (the remote framebuffer protocol as Qt's VNC
// platform speaks it, 3.3 without security) to a program shown there: it
// clicks and types as a pupil does and reads nothing of the picture.
class RemoteViewer {
public:
    static constexpr std::uint32_t kReturn = 0xFF0D;
    static constexpr std::uint32_t kDown = 0xFF54;

    ~RemoteViewer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // Connects (the program may still be starting) and greets the server.
    bool connect(int port, std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<std::uint16_t>(port));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
                break;
            ::close(m_fd);
            m_fd = -1;
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(100ms);
        }
        std::array<char, 12> version{};
        if (!read(version.data(), version.size()) || std::string(version.data(), 4) != "RFB ")
            return false;
        std::array<std::uint8_t, 4> security{};
        const std::uint8_t shared = 1;
        std::array<std::uint8_t, 24> init{};
        if (!write("RFB 003.003\n", 12) || !read(security.data(), 4) || security != std::array<std::uint8_t, 4>{0, 0, 0, 1} ||
            !write(&shared, 1) || !read(init.data(), init.size()))
            return false;
        const std::uint32_t nameLength = (std::uint32_t{init[20]} << 24) | (std::uint32_t{init[21]} << 16) |
                                         (std::uint32_t{init[22]} << 8) | init[23];
        std::string name(nameLength, '\0');
        return read(name.data(), name.size());
    }

    // A left click at a point of the screen.
    void click(int x, int y)
    {
        for (const std::uint8_t buttons : {0, 1, 0}) {
            const std::array<std::uint8_t, 6> event{5, buttons, static_cast<std::uint8_t>(x >> 8),
                                                    static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y >> 8),
                                                    static_cast<std::uint8_t>(y)};
            write(event.data(), event.size());
            QTest::qWait(100);
        }
        QTest::qWait(300);
    }

    // A key pressed and let go.
    void key(std::uint32_t keysym)
    {
        for (const std::uint8_t down : {1, 0}) {
            const std::array<std::uint8_t, 8> event{4, down, 0, 0, static_cast<std::uint8_t>(keysym >> 24),
                                                    static_cast<std::uint8_t>(keysym >> 16),
                                                    static_cast<std::uint8_t>(keysym >> 8),
                                                    static_cast<std::uint8_t>(keysym)};
            write(event.data(), event.size());
            QTest::qWait(100);
        }
    }

private:
    bool read(void* data, std::size_t size)
    {
        auto* at = static_cast<char*>(data);
        while (size > 0) {
            const ssize_t got = ::recv(m_fd, at, size, 0);
            if (got <= 0)
                return false;
            at += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }
    bool write(const void* data, std::size_t size)
    {
        return ::send(m_fd, data, size, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
    }

    int m_fd = -1;
};

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

// No receiver runs. The pupil begins the task book's linear task and saves
// it with the tool bar's buttons: the program says the solution was not sent, naming the
// copy in the pupil's own folder, which reads back as the solution. Leaving
// asks about the unsent steps; the log's first button, "Так", keeps a second
// copy, and the program ends ("Вихід" from the menu).
TEST_F(Program, AnUnsentSolutionIsKeptInThePupilsFolder)
{
    ASSERT_EQ(shared::CSettings::Instance().SetUserPersonified(true), 0);
    const std::string folder = platform::paths::userDataFolder();
    fs::remove_all(folder);
    const std::string book = testsupport::readFile(kRoot + "modules/tessaly/lang/ua/taskbook/doc/linear.xml");
    const std::size_t begin = book.find("<TASK id=\"1\"");
    ASSERT_NE(begin, std::string::npos);
    const std::string linear = book.substr(begin, book.find("</TASK>", begin) + 7 - begin);

    const int port = freePort();
    ASSERT_GT(port, 0);
    QProcessEnvironment environment = process.processEnvironment();
    environment.insert("QT_QPA_PLATFORM", QStringLiteral("vnc:size=1024x768:port=%1").arg(port));
    environment.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    environment.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    process.setProcessEnvironment(environment);
    process.start();
    ASSERT_TRUE(process.waitForStarted(5000));
    RemoteViewer screen;
    ASSERT_TRUE(screen.connect(port, 15s)) << process.readAllStandardError().toStdString();
    const auto start = std::chrono::steady_clock::now();
    bool listening = false;
    while (!listening && std::chrono::steady_clock::now() - start < 10s && process.state() == QProcess::Running)
        listening = platform::ipc::exists("Stepwell_tessaly_WindowClassName", 200ms);
    ASSERT_TRUE(listening) << testsupport::readFile(log);
    QWidget sender;
    ASSERT_TRUE(shared::CProgramLauncher::Instance().Launch(&sender, shared::ProgramKind::Stepwell,
                                                            shared::CopyDataCode::OpenTask, linear));
    QTest::qWait(500);

    // The maximised window on a 1024 x 768 screen: the tool bar's buttons
    // (24 pixels, in their order) and the menu bar's first menu.
    const QPoint saveButton(27, 40);
    const QPoint beginButton(163, 40);
    const QPoint fileMenu(20, 10);
    screen.click(beginButton.x(), beginButton.y());  // Почати розв'язування
    screen.click(saveButton.x(), saveButton.y());    // Зберегти й надіслати
    auto kept = [&] { return testsupport::filesIn(folder); };
    for (int i = 0; i < 100 && kept().empty(); ++i)
        QTest::qWait(100);
    ASSERT_EQ(kept().size(), 1u) << testsupport::readFile(log);
    const std::string file = kept()[0];
    const std::string notSent =
        QString::fromStdString(shared::GetLangString("erTaskNotSent")).arg(QString::fromStdString(file)).toStdString();
    for (int i = 0; i < 50 && testsupport::readFile(log).find(notSent) == std::string::npos; ++i)
        QTest::qWait(100);
    EXPECT_EQ(testsupport::readFile(log), shared::GetLangString("messageTitle") + ": " + notSent + "\n");
    EXPECT_EQ(fs::path(file).filename().string().rfind("Лінійне рівняння ", 0), 0u) << file;
    // Read back: the task with the step "Почати розв'язування" made.
    const std::optional<stepwell::ReceivedTask> read = stepwell::ReadReceivedTask(testsupport::readFile(file));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->task, stepwell::CutReceivedText(linear)->task);
    const std::vector<stepwell::StepRecord> steps = stepwell::ReadSolution(read->solution);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].description, shared::GetLangString("msgSolveStart"));
    EXPECT_NE(steps[0].formula.find("<mn>7</mn>"), std::string::npos) << steps[0].formula;
    EXPECT_EQ(process.state(), QProcess::Running);

    // Файл: Зберегти й надіслати, Версія для друку, Вихід.
    screen.click(fileMenu.x(), fileMenu.y());
    for (int i = 0; i < 3; ++i)
        screen.key(RemoteViewer::kDown);
    screen.key(RemoteViewer::kReturn);
    for (int i = 0; i < 150 && process.state() != QProcess::NotRunning; ++i)
        QTest::qWait(100);
    ASSERT_EQ(process.state(), QProcess::NotRunning) << testsupport::readFile(log);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const std::vector<std::string> both = kept();
    ASSERT_EQ(both.size(), 2u);
    const std::string second = both[0] == file ? both[1] : both[0];
    const std::string messages = testsupport::readFile(log);
    EXPECT_NE(messages.find(shared::GetLangString("msgUnsentSteps")), std::string::npos) << messages;
    EXPECT_EQ(testsupport::readFile(second), testsupport::readFile(file));
}

}  // namespace
