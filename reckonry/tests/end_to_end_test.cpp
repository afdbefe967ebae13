// The solver and the calculator end to end, offscreen: conditions typed
// with the keyboard into the real formula control, the stand-in kernel
// tarvik.so with the sample module's rule file in a temporary install root,
// the solving started by the guide's event as the guide fires it; pictures
// of both windows written to the build folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <memory>
#include <regex>

#include "platform/com/com.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "reckonry/main_frame.h"
#include "reckonry/task_wnd.h"
#include "shared/flat_tab_ctrl.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/splash_screen.h"
#include "solvehost/control_wrapper.h"
#include "testsupport/temp_dir.h"

namespace reckonry::test {
namespace {

namespace fs = std::filesystem;

void saveShot(QWidget* widget, const char* name)
{
    ASSERT_NE(widget, nullptr);
    const QImage shot = widget->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_TRUE(shot.save(QString::fromUtf8(SHOT_DIR) + "/" + name));
}

void onNextDialog(std::function<void(QDialog&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start();
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        shared::ProgramLanguageTable() = shared::CLanguageTable();
        platform::setMessageRecorder(&messages);
        const fs::path stage = TESSALY_STAGE_DIR;
        const fs::path base = root.path();
        fs::create_directories(base / "kernel/temp");
        fs::create_directory_symlink(stage / "kernel/data", base / "kernel/data");
        fs::create_directory_symlink(stage / "kernel/solvekernel", base / "kernel/solvekernel");
        fs::create_directory_symlink(stage / "modules", base / "modules");
        ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                                  "InstallPath", root.path()),
                  0);
        // The guide stand-in fires the guide's events as the guide does.
        ASSERT_EQ(platform::com::registerLibrary(fs::absolute(TEST_COMPONENTS).string()), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(fs::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
        ASSERT_TRUE(shared::LoadLanguageFile(root.path() + "kernel/data/lang/ua/reckonry.lng"));
        oldDir = fs::current_path();
        fs::current_path(workDir.path());
    }
    void TearDown() override
    {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shared::SetFlatTabStyleFlags(false, 0);
        fs::current_path(oldDir);
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }

    CReckonryMainFrame& open(Program program)
    {
        frame = std::make_unique<CReckonryMainFrame>(program);
        EXPECT_TRUE(frame->Create());
        frame->resize(900, 600);
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QTest::qWait(20);
        return *frame;
    }
    solvehost::CSymbrantCtrl& condition() { return frame->GetTaskTabs()->GetCurrentPage()->Condition(); }
    solvehost::CSymbrantCtrl& answer() { return frame->GetTaskTabs()->GetCurrentPage()->Answer(); }
    void type(const std::function<void(QWidget*)>& keys)
    {
        QWidget* window = condition().GetControlWindow();
        ASSERT_NE(window, nullptr);
        window->setFocus();
        keys(window);
    }
    // The guide's event for the apply button of the item with this function
    // code, fired as the guide fires it (the stand-in guide fires it on
    // request).
    void pressGuideItem(std::uint32_t code)
    {
        auto* guide = static_cast<solvehost::CControlWrapper*>(frame->GetGuide());
        platform::com::DispatchDriver(platform::com::ComPtr<platform::com::IDispatch>(guide->GetControl()))
            .invoke(9003, std::int32_t{1}, code, std::string("apply"), std::string(""));
    }
    void newTask()
    {
        onNextDialog([](QDialog& dialog) { dialog.accept(); });
        command(ID_NEW_TASK);
    }
    void approximate(const char* digits)
    {
        onNextDialog([digits](QDialog& dialog) {
            auto* upDown = dialog.findChild<QSpinBox*>();
            upDown->selectAll();
            QTest::keyClicks(upDown, digits);
            dialog.accept();
        });
        command(ID_APPROXIMATE_MODE);
    }
    // A command as the user gives it: once the frame's idle update has
    // enabled it, a click on its toolbar button, else on its menu item.
    void command(int id)
    {
        QAction* action = frame->GetAction(id);
        ASSERT_NE(action, nullptr);
        for (int i = 0; i < 100 && !action->isEnabled(); ++i)
            QTest::qWait(20);
        ASSERT_TRUE(action->isEnabled()) << id;
        if (QWidget* button = frame->GetToolBar()->widgetForAction(action))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            action->trigger();
    }
    std::vector<std::string> takeMessages()
    {
        std::vector<std::string> out;
        for (const auto& m : messages.messages)
            out.push_back(m.text);
        messages.messages.clear();
        return out;
    }

    testsupport::TempDir root;
    testsupport::TempDir workDir;
    fs::path oldDir;
    platform::MessageRecorder messages;
    std::unique_ptr<CReckonryMainFrame> frame;
};

TEST_F(EndToEnd, SolverSolvesSimplifiesAndFactors)
{
    CReckonryMainFrame& f = open(Program::Reckonry);
    EXPECT_TRUE(takeMessages().empty());
    EXPECT_TRUE(fs::exists(workDir.path() + "solution.txt"));

    // An equation.
    type([](QWidget* w) { QTest::keyClicks(w, "2*x+3=7"); });
    pressGuideItem(2001);
    EXPECT_EQ(answer().GetLexemText(), "x=2");

    // A system: two rows of the system template.
    newTask();
    type([](QWidget* w) {
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
        QTest::keyClicks(w, "x+y=5");
        QTest::keyClick(w, Qt::Key_Down);
        QTest::keyClicks(w, "x-y=1");
    });
    EXPECT_EQ(condition().GetLexemText(), "@system$x+y=5$x-y=1#");
    pressGuideItem(2001);
    EXPECT_EQ(answer().GetLexemText(), "@system$x=3$y=2#");

    // An inequality.
    newTask();
    QApplication::clipboard()->setText(QStringLiteral("3*x-5<7"));
    command(ID_PASTE_CONDITION);
    EXPECT_EQ(condition().GetLexemText(), "3*x-5<7");
    pressGuideItem(2001);
    EXPECT_EQ(answer().GetLexemText(), "x<4");

    // An expression simplified, and one factored.
    newTask();
    type([](QWidget* w) { QTest::keyClicks(w, "2*x+3*x-x"); });
    pressGuideItem(2002);
    EXPECT_EQ(answer().GetLexemText(), "4*x");
    newTask();
    type([](QWidget* w) {
        QTest::keyClicks(w, "^x");
        QTest::keyClick(w, Qt::Key_Up);
        QTest::keyClicks(w, "2");
        QTest::keyClick(w, Qt::Key_Right);
        QTest::keyClicks(w, "-9");
    });
    EXPECT_EQ(condition().GetLexemText(), "@index_up$x$2#-9");
    pressGuideItem(2003);
    EXPECT_EQ(answer().GetLexemText(), "(x+3)*(x-3)");
    EXPECT_TRUE(takeMessages().empty());
    saveShot(&f, "reckonry_answers.png");

    // Approximately, with three digits after the comma.
    approximate("3");
    newTask();
    type([](QWidget* w) { QTest::keyClicks(w, "3*x=1"); });
    pressGuideItem(2001);
    EXPECT_EQ(answer().GetLexemText(), "x=0,333");
    EXPECT_TRUE(takeMessages().empty());
    saveShot(&f, "reckonry_approximate.png");
}

TEST_F(EndToEnd, CalculatorGivesAFractionExactlyAndADecimalApproximately)
{
    CReckonryMainFrame& f = open(Program::Sumwright);
    EXPECT_TRUE(takeMessages().empty());
    type([](QWidget* w) {
        QTest::keyClicks(w, "/1");
        QTest::keyClick(w, Qt::Key_Down);
        QTest::keyClicks(w, "3");
        QTest::keyClick(w, Qt::Key_Right);
        QTest::keyClicks(w, "+/1");
        QTest::keyClick(w, Qt::Key_Down);
        QTest::keyClicks(w, "6");
    });
    EXPECT_EQ(condition().GetLexemText(), "@hor_frac$1$3#+@hor_frac$1$6#");
    command(ID_CALCULATE);
    EXPECT_EQ(answer().GetLexemText(), "@hor_frac$1$2#");
    EXPECT_TRUE(takeMessages().empty());
    saveShot(&f, "sumwright_exact.png");

    approximate("3");
    command(ID_CALCULATE);
    EXPECT_EQ(answer().GetLexemText(), "0,5");
    // A value with more digits than the precision keeps three of them.
    newTask();
    type([](QWidget* w) {
        QTest::keyClicks(w, "/2");
        QTest::keyClick(w, Qt::Key_Down);
        QTest::keyClicks(w, "3");
    });
    command(ID_CALCULATE);
    EXPECT_EQ(answer().GetLexemText(), "0,667");
    EXPECT_TRUE(takeMessages().empty());
    saveShot(&f, "sumwright_approximate.png");
}

TEST_F(EndToEnd, SplashScreens)
{
    for (Program program : {Program::Reckonry, Program::Sumwright}) {
        shared::CSplashScreen splash;
        CReckonryMainFrame::SetUpSplash(program, splash, nullptr);
        ASSERT_NE(splash.window(), nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.window()));
        saveShot(splash.window(), program == Program::Reckonry ? "reckonry_splash.png" : "sumwright_splash.png");
    }
}

}  // namespace
}  // namespace reckonry::test
