// The solver and the calculator end to end, offscreen: conditions typed
// with the keyboard into the real formula control, the stand-in kernel
// tarvik.so with the sample module's rule file and guide in a temporary
// install root, the solving started by pressing an item's apply button in
// the real guide control; pictures of both windows written to the build
// folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <utility>
#include <vector>

#include "formula/control/tests/palette_tips.h"
#include "platform/com/com.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "reckonry/main_frame.h"
#include "platform/sys_colors.h"
#include "reckonry/task_wnd.h"
#include "reckonry/theme.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/widgets/flat_tab_ctrl.h"
#include "shared/widgets/splash_screen.h"
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
        ASSERT_EQ(platform::com::registerLibrary(fs::absolute(PATHMENTOR_LIBRARY).string()), platform::S_OK);
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
    // The guide's control window.
    QWidget* guideWindow()
    {
        solvehost::CPathmentorCtrl* guide = frame->GetGuide();
        return guide ? guide->GetControlWindow() : nullptr;
    }
    // The item page of the shown chapter whose title is `name`, its group
    // opened by a click on the group's title when it is closed.
    QWidget* itemPage(const QString& name)
    {
        QWidget* guide = guideWindow();
        if (!guide)
            return nullptr;
        for (QWidget* chapter : guide->findChildren<QWidget*>(QStringLiteral("chapter"))) {
            if (!chapter->isVisible())
                continue;
            for (QLabel* title : chapter->findChildren<QLabel*>(QStringLiteral("1001"))) {
                if (title->text() != name)
                    continue;
                QWidget* page = title->parentWidget();
                QWidget* group = page->parentWidget();
                if (!page->isVisible())
                    for (QPushButton* button : chapter->findChildren<QPushButton*>(QStringLiteral("rollupTitle")))
                        if (button->text() == group->windowTitle())
                            QTest::mouseClick(button, Qt::LeftButton);
                QApplication::processEvents();
                return page;
            }
        }
        return nullptr;
    }
    // Presses the apply button of the guide's item with this function code
    // with the mouse, as the pupil does.
    void pressGuideItem(std::uint32_t code)
    {
        static const std::map<std::uint32_t, QString> kItems = {
            {2001, QStringLiteral("Розв'язати")},
            {2002, QStringLiteral("Спростити")},
            {2003, QStringLiteral("Розкласти на множники")},
        };
        QWidget* page = itemPage(kItems.at(code));
        ASSERT_NE(page, nullptr) << code;
        ASSERT_TRUE(page->isVisible()) << code;
        auto* apply = page->findChild<QPushButton*>(QStringLiteral("1004"));
        ASSERT_NE(apply, nullptr);
        ASSERT_TRUE(apply->isVisible());
        QTest::mouseClick(apply, Qt::LeftButton);
        QApplication::processEvents();
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

// Conditions typed as a pupil types them: an inequality in the solver's
// school class, a product without its sign; the palette offers less or
// equal and greater or equal.
TEST_F(EndToEnd, SolverSolvesWhatAPupilTypes)
{
    open(Program::Reckonry);
    type([](QWidget* w) { QTest::keyClicks(w, "3*x-5<7"); });
    EXPECT_EQ(condition().GetLexemText(), "3*x-5<7");
    pressGuideItem(2001);
    EXPECT_EQ(answer().GetLexemText(), "x<4");

    newTask();
    type([](QWidget* w) { QTest::keyClicks(w, "2x+3=7"); });
    EXPECT_EQ(condition().GetLexemText(), "2*x+3=7");
    pressGuideItem(2001);
    EXPECT_EQ(answer().GetLexemText(), "x=2");
    EXPECT_TRUE(takeMessages().empty());

    command(ID_TOOLS_PANEL);
    QWidget* palette = formula::control::test::shownPalette();
    ASSERT_NE(palette, nullptr);
    for (const char* tool : {"tool_227", "tool_229"}) {
        auto* button = palette->findChild<QWidget*>(tool);
        ASSERT_NE(button, nullptr) << tool;
        EXPECT_TRUE(button->isVisible()) << tool;
    }
    command(ID_TOOLS_PANEL);
}

// The real guide shows the solver's guide file from the module; being made,
// it sets the process-wide flat-tab style word, which the task tabs take up:
// owner-drawn, their page frame and tab faces are no longer the style's.
TEST_F(EndToEnd, SolverShowsItsGuideAndItsTabsTakeTheGuideStyle)
{
    ASSERT_EQ(shared::GetFlatTabStyleFlags(), 0u);
    CReckonryMainFrame& f = open(Program::Reckonry);
    EXPECT_TRUE(takeMessages().empty());
    ASSERT_NE(f.GetGuide(), nullptr);
    EXPECT_EQ(f.GetGuide()->GetGuideDocFile(), root.path() + "modules/tessaly/lang/ua/reckonry/reckonry.xml");
    QWidget* guide = guideWindow();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    auto* chapters = guide->findChild<shared::CFlatTabCtrl*>(QStringLiteral("101"));
    ASSERT_NE(chapters, nullptr);
    ASSERT_EQ(chapters->GetItemCount(), 1);
    EXPECT_EQ(chapters->GetItemText(0), "Дії");
    for (const char* name : {"Розв'язати", "Спростити", "Розкласти на множники"}) {
        QWidget* page = itemPage(QString::fromUtf8(name));
        ASSERT_NE(page, nullptr) << name;
        EXPECT_TRUE(page->isVisible()) << name;
    }

    EXPECT_EQ(shared::GetFlatTabStyleFlags(), 14u);
    CTaskTabCtrl* tabs = f.GetTaskTabs();
    EXPECT_TRUE(tabs->IsOwnerDrawn());
    // Drawn by themselves, the tabs still show which task is shown: the
    // selected one in the page's colour, the other in the button face, both
    // framed in grey.
    newTask();
    ASSERT_EQ(tabs->GetItemCount(), 2);
    ASSERT_EQ(tabs->GetCurSel(), 1);
    const QImage picture = tabs->grab().toImage();
    const QRect selected = tabs->GetItemRect(1);
    const QRect other = tabs->GetItemRect(0);
    EXPECT_EQ(picture.pixelColor(selected.left() + 3, selected.center().y()), ThemeQColor(0));
    EXPECT_EQ(picture.pixelColor(other.left() + 3, other.center().y()), platform::sysColor(platform::COLOR_BTNFACE));
    EXPECT_EQ(picture.pixelColor(other.left(), other.center().y()), ThemeQColor(4));
    EXPECT_EQ(ThemeQColor(0), QColor(236, 233, 252));
    EXPECT_EQ(ThemeQColor(4), QColor(128, 128, 128));
    saveShot(&f, "reckonry_guide.png");

    // The solve item's how-to-do dialog offers the extended how-to-do: its
    // button opens the animation window with the item's text, a second
    // request reuses the window.
    std::vector<std::pair<QWidget*, std::string>> shown;
    CReckonryMainFrame::SetHowTodoPresenter([&shown](QWidget* parent, QWidget* existing, const std::string& text) {
        shown.emplace_back(existing, text);
        return existing ? existing : new QWidget(parent, Qt::Window);
    });
    for (int round = 0; round < 2; ++round) {
        QWidget* page = itemPage(QStringLiteral("Розв'язати"));
        ASSERT_NE(page, nullptr);
        auto* howTo = page->findChild<QPushButton*>(QStringLiteral("1002"));
        ASSERT_NE(howTo, nullptr);
        bool pressed = false;
        onNextDialog([&pressed](QDialog& dialog) {
            auto* extended = dialog.findChild<QPushButton*>(QStringLiteral("203"));
            auto* close = dialog.findChild<QPushButton*>(QStringLiteral("1006"));
            if (extended && extended->isVisible() && close) {
                QTest::mouseClick(extended, Qt::LeftButton);
                pressed = true;
                QTest::mouseClick(close, Qt::LeftButton);
            } else {
                dialog.reject();
            }
        });
        QTest::mouseClick(howTo, Qt::LeftButton);
        EXPECT_TRUE(pressed);
    }
    CReckonryMainFrame::SetHowTodoPresenter(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, nullptr);
    EXPECT_EQ(shown[0].second, "solve");
    EXPECT_NE(shown[1].first, nullptr);
    EXPECT_EQ(shown[1].first, f.GetAnimWindow());
    EXPECT_EQ(shown[1].second, "solve");
    EXPECT_TRUE(takeMessages().empty());

    // With no task left the guide stays, and its solve item says so.
    command(ID_REMOVE_TASK);
    command(ID_REMOVE_TASK);
    ASSERT_EQ(tabs->GetItemCount(), 0);
    pressGuideItem(2001);
    EXPECT_EQ(takeMessages(), std::vector<std::string>{CReckonryMainFrame::Lang("ErINVALID")});
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

// A sum of decimals typed with the point, as on a calculator.
TEST_F(EndToEnd, CalculatorAddsDecimalsTypedWithAPoint)
{
    open(Program::Sumwright);
    type([](QWidget* w) { QTest::keyClicks(w, "0.1+0.2"); });
    EXPECT_EQ(condition().GetLexemText(), "0,1+0,2");
    command(ID_CALCULATE);
    EXPECT_EQ(answer().GetLexemText(), "0,3");
    EXPECT_TRUE(takeMessages().empty());
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
