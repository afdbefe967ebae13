// The main frame with the real formula control and condition viewer and the
// host services' recording stand-in of the guide: menus, tool bar, guide
// properties, the new-task menu, tasks arriving over the program link (in
// order, held back while a box is open, asked about when a task is open),
// saved solutions, pane sizes and the command handlers. Screenshot:
// stepwell_frame.png. Each case builds one frame (it holds a web view).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include <chrono>
#include <filesystem>
#include <memory>

#include "formula/control/tests/palette_tips.h"
#include "platform/com/com.h"
#include "platform/ipc/ipc.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/tests/shown_buttons.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/widgets/docking_pane_bar.h"
#include "solvehost/anim/task_anim_frame.h"
#include "solvehost/premiscope_ctrl.h"
#include "solvehost/proportional_splitter_wnd.h"
#include "solvehost/tests/test_component_ids.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/condition_editor_ctrl.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/app/stepwell_app.h"
#include "stepwell/app/task_dialogs.h"
#include "stepwell/model/received_task.h"
#include "testsupport/temp_dir.h"

namespace stepwell {
namespace {

namespace registry = platform::registry;
using platform::MessageAnswer;

const std::string kStage = std::string(STAGE_DIR) + "/";
const std::string kEquation =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi><mo>+</mo><mn>1</mn><mo>=</mo><mn>3</mn></math>";

std::string task(const std::string& type, const std::string& id = "1")
{
    return "<TASK id=\"" + id + "\" type=\"" + type + "\" title=\"Задача\"><CONDITION><TEXT>Розв'яжіть рівняння"
           "</TEXT><JOBSLIST><JOB id=\"1\" asTask=\"yes\" number=\"yes\"><FORMULA>" +
           kEquation + "</FORMULA></JOB></JOBSLIST></CONDITION></TASK>";
}

std::string guideLog(solvehost::CPathmentorCtrl& guide, bool clear = true)
{
    platform::com::DispatchDriver driver{platform::com::ComPtr<platform::com::IDispatch>(guide.GetControl())};
    std::string log = driver.getProperty<std::string>(solvehost::test::kDispLog);
    if (clear)
        driver.invoke(solvehost::test::kDispClearLog);
    return log;
}

bool waitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 300 && !done(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return done();
}

// Types a text key by key, letters outside ASCII too (which QTest's
// keyClicks cannot name).
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

std::vector<std::string> texts(const platform::MessageRecorder& recorder)
{
    std::vector<std::string> out;
    for (const platform::MessageRecord& message : recorder.messages)
        out.push_back(message.text);
    return out;
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        auto absolute = [](const char* path) { return std::filesystem::absolute(path).lexically_normal().string(); };
        // The guide stand-in first: the real controls then take their own CLSIDs back.
        ASSERT_EQ(platform::com::registerLibrary(absolute(TEST_COMPONENTS)), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(absolute(FORMAVEL_LIBRARY)), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(absolute(PREMISCOPE_LIBRARY)), platform::S_OK);
        ASSERT_EQ(registry::writeString(registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath", kStage), 0);
        ASSERT_TRUE(shared::LoadLanguageFile(kStage + "kernel/data/lang/ua/stepwell.lng"));
        platform::setMessageRecorder(&messages);
        platform::shell::setRecorder(&shell);
        frame = std::make_unique<CStepwellMainFrame>();
        ASSERT_EQ(frame->OnCreate(), 0);
        frame->resize(1000, 700);
        frame->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::shell::setRecorder(nullptr);
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }

    bool send(std::uint32_t code, const std::string& text)
    {
        return platform::ipc::sendCopyData(kWindowClassName, code, text) == platform::ipc::SendResult::Received;
    }
    // Sends from a sibling process; this one keeps handling events meanwhile.
    bool sendFromAnotherProcess(std::uint32_t code, const std::string& text)
    {
        const std::string file = outbox.write("task" + std::to_string(++sent) + ".xml", text);
        QProcess sender;
        sender.start(TASK_SENDER, {kWindowClassName, QString::number(code), QString::fromStdString(file)});
        if (!sender.waitForStarted(5000))
            return false;
        waitFor([&] { return sender.state() == QProcess::NotRunning; });
        return sender.exitStatus() == QProcess::NormalExit && sender.exitCode() == 0;
    }

    testsupport::TempDir outbox;
    int sent = 0;

    platform::MessageRecorder messages;
    platform::shell::Recorder shell;
    std::unique_ptr<CStepwellMainFrame> frame;
};

TEST_F(Frame, MenusToolBarGuideAndCommands)
{
    EXPECT_EQ(frame->minimumSize(), QSize(640, 480));
    EXPECT_EQ(frame->windowTitle().toStdString(), shared::GetLangString("appTitle"));
    EXPECT_TRUE(frame->listener().isListening());
    EXPECT_EQ(frame->listener().name(), kWindowClassName);

    // Popups by position, texts by key; 32814 has no menu item (its action
    // toggles the number-axis bar) and 32795 is not offered.
    const std::vector<const char*> popups = {"fileMenu", "viewMenu", "taskMenu", "solveMenu", "toolsMenu", "helpMenu"};
    const QList<QAction*> bar = frame->menuBar()->actions();
    ASSERT_EQ(bar.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bar[i]->text().toStdString(), shared::GetLangString(popups[static_cast<std::size_t>(i)]));
    ASSERT_NE(frame->action(kCmdViewNumAxis), nullptr);
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>())
        EXPECT_FALSE(menu->actions().contains(frame->action(kCmdViewNumAxis)));
    EXPECT_EQ(frame->action(kCmdSolveContinue), nullptr);
    EXPECT_EQ(frame->action(kCmdSolveStepCheck)->text().toStdString(), shared::GetLangString("solveStepCheck"));

    // The tool bar: the menu's own actions, in order, with their tips.
    std::vector<int> buttons;
    for (QAction* button : frame->toolBar()->actions())
        buttons.push_back(button->isSeparator() ? 0 : button->data().toInt());
    EXPECT_EQ(buttons, (std::vector<int>{32787, 0, 32822, 32823, 32824, 0, 32794, 32797, 32798, 0, 32828}));
    EXPECT_EQ(frame->action(kCmdSolveBegin)->toolTip().toStdString(), shared::GetLangString("tlBegin"));
    EXPECT_FALSE(frame->action(kCmdHelp)->isEnabled());
    EXPECT_FALSE(frame->action(kCmdFileSave)->isEnabled());
    EXPECT_TRUE(frame->action(kCmdSmodeMixed)->isChecked());
    frame->action(kCmdSmodeAuto)->trigger();
    EXPECT_EQ(frame->solvingMode(), 1);
    EXPECT_FALSE(frame->action(kCmdSmodeMixed)->isChecked());

    // The guide: document, colours, language file, flags, then initialised.
    const std::string log = guideLog(*frame->guide());
    const std::string module = shared::CSettings::Instance().GetModulePath();
    for (const std::string& call :
         {"P 12 String \"" + module + "lang/ua/guide/stepwell.xml\"", std::string("P -513 UI4 16574956"),
          std::string("P -501 UI4 15916237"), std::string("P 19 UI4 8421504"),
          "M 20 String \"" + kStage + "kernel/data/lang/ua/guide.lng\"", std::string("P 16 UI1 1"),
          std::string("P 15 UI1 1"), std::string("P 18 UI1 255"), std::string("M 7")})
        EXPECT_NE(log.find(call), std::string::npos) << call << "\n" << log;
    EXPECT_LT(log.find("M 20 "), log.rfind("M 7"));
    EXPECT_EQ(frame->guideBar()->windowTitle().toStdString(), shared::GetLangString("guideBar"));
    EXPECT_EQ(frame->dockWidgetArea(frame->guideBar()), Qt::LeftDockWidgetArea);

    // The new-task menu of the sample configuration.
    EXPECT_EQ(frame->newTaskMenu()->actions().size(), 3);
    ASSERT_NE(frame->action(32756), nullptr);
    EXPECT_EQ(frame->action(32757), nullptr);
    frame->OnNewTask(32757);
    EXPECT_EQ(texts(messages), (std::vector<std::string>{shared::GetLangString("erUnknNewTask")}));
    EXPECT_EQ(messages.messages[0].caption, shared::GetLangString("messageTitle"));
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_EQ(messages.messages[0].parent, frame.get());
    messages.messages.clear();

    // Handlers.
    frame->action(kCmdViewEditor)->trigger();  // no active step: nothing
    EXPECT_FALSE(frame->action(kCmdViewEditor)->isChecked());
    frame->action(kCmdViewGuide)->trigger();
    EXPECT_TRUE(frame->guideBar()->isHidden());
    EXPECT_FALSE(frame->action(kCmdViewGuide)->isChecked());
    frame->action(kCmdViewToolbar)->trigger();
    EXPECT_TRUE(frame->toolBar()->isHidden());
    frame->action(kCmdViewStepScroll)->trigger();
    EXPECT_FALSE(frame->solveWnd()->GetStepMode());
    frame->action(kCmdViewAutoScroll)->trigger();
    EXPECT_FALSE(frame->solveWnd()->GetAutoScroll());
    guideLog(*frame->guide());
    frame->action(kCmdViewExGuide)->trigger();
    EXPECT_NE(guideLog(*frame->guide()).find("P 16 UI1 "), std::string::npos);
    frame->action(kCmdToolsCurvance)->trigger();
    frame->action(kCmdToolsReckonry)->trigger();
    frame->action(kCmdToolsCalc)->trigger();
    ASSERT_EQ(shell.calls.size(), 3u);
    EXPECT_EQ(shell.calls[0].target, kStage + "kernel/bin/Curvance");
    EXPECT_EQ(shell.calls[2].target, kStage + "kernel/bin/Sumwright");
    frame->action(kCmdHelpLexivane)->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Файл довідки не знайдено:\n" + module + "doc/Lexivane.chm");

    // The guide asks to show how a transformation is done: one animation window.
    platform::com::DispatchDriver guideDriver{
        platform::com::ComPtr<platform::com::IDispatch>(frame->guide()->GetControl())};
    guideDriver.invoke(solvehost::test::kDispFire, std::int32_t{solvehost::pathmentor::event::ShowExtendedHowTodo},
                       std::string("<ANIM/>"));
    solvehost::CTaskAnimFrame* anim = frame->animFrame();
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(anim->windowTitle().toStdString(), shared::GetLangString("guideHowtodoExt"));
    EXPECT_EQ(anim->size(), QSize(850, 650));
    EXPECT_EQ(anim->GetAnimFile(), "<ANIM/>");
    guideDriver.invoke(solvehost::test::kDispFire, std::int32_t{solvehost::pathmentor::event::ShowExtendedHowTodo},
                       std::string("<ANIM n=\"2\"/>"));
    EXPECT_EQ(frame->animFrame(), anim);
    EXPECT_EQ(anim->GetAnimFile(), "<ANIM n=\"2\"/>");
}

// The formula controls speak the pupil's language from the start: the
// palette's tool tips and the box of a right double click on a step.
TEST_F(Frame, FormulaControlsSpeakUkrainian)
{
    const std::string withStep = task("linear").substr(0, task("linear").size() - 7) +
                                 "<SOLUTION><STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\">"
                                 "<DESCRIPTION>Початок</DESCRIPTION><EXPR>" +
                                 kEquation + "</EXPR></STEP></SOLUTION></TASK>";
    ASSERT_TRUE(send(1, withStep));
    ASSERT_TRUE(waitFor([&] { return frame->solution() && frame->solution()->GetActiveStep(); }));
    solvehost::CSymbrantCtrl* step = frame->solution()->GetActiveStep()->control();
    ASSERT_NE(step, nullptr);
    messages.messages.clear();

    QWidget* window = step->GetControlWindow();
    ASSERT_NE(window, nullptr);
    QTest::mouseDClick(window, Qt::RightButton, {}, window->rect().center());
    EXPECT_EQ(texts(messages), std::vector<std::string>{"Формулу скопійовано до буферу обміну"});

    frame->action(kCmdViewEditor)->trigger();
    ASSERT_TRUE(frame->action(kCmdViewEditor)->isChecked());
    EXPECT_THAT(formula::control::test::shownPaletteToolTips(), testing::Contains("Знак системи (Alt+S)"));
    frame->action(kCmdViewEditor)->trigger();
}

// The panes are not the splitter's, nor the guide the bar's: the frame
// takes them with it, with a task open.
TEST_F(Frame, ClosingTheFrameTakesItsPanesAndGuide)
{
    ASSERT_TRUE(send(1, task("linear")));
    ASSERT_NE(frame->solution(), nullptr);
    const QPointer<QWidget> parts[] = {frame->conditionWnd(), frame->solveWnd(), frame->answerWnd(), frame->guide()};
    for (const QPointer<QWidget>& part : parts)
        ASSERT_FALSE(part.isNull());
    frame.reset();
    for (const QPointer<QWidget>& part : parts)
        EXPECT_TRUE(part.isNull());
}

TEST_F(Frame, TasksArriveInOrderAndWaitForBoxes)
{
    // Codes that do not open a task.
    for (std::uint32_t code : {0u, 4u, 6u})
        EXPECT_TRUE(send(code, task("linear")));
    QApplication::processEvents();
    EXPECT_EQ(frame->solution(), nullptr);

    guideLog(*frame->guide());
    ASSERT_TRUE(send(1, "\r\n" + task("linear", "1") + "\r\n"));
    ASSERT_TRUE(waitFor([&] { return frame->solution() != nullptr; }));
    EXPECT_EQ(frame->solution()->GetTaskText(), task("linear", "1"));
    EXPECT_TRUE(messages.messages.empty()) << texts(messages).front();
    const std::string guide = guideLog(*frame->guide());
    EXPECT_NE(guide.find("M 8 String \"" + frame->config().FindTaskType("linear")->guideContent + "\""), std::string::npos);
    EXPECT_TRUE(frame->action(kCmdFileSave)->isEnabled());
    EXPECT_TRUE(frame->action(kCmdSolveBegin)->isEnabled());
    EXPECT_FALSE(frame->action(kCmdSolveStepCheck)->isEnabled());
    // Panes: the condition's optimal height, the answer 70, the steps the rest.
    QApplication::processEvents();
    // (the splitter keeps fractions of its height: a pixel of rounding)
    EXPECT_NEAR(frame->splitter()->GetPaneRect(0).height(),
                static_cast<int>(frame->conditionWnd()->GetOptimalHeight()), 1);
    EXPECT_NEAR(frame->splitter()->GetPaneRect(2).height(), 70, 1);
    EXPECT_EQ(frame->conditionWnd()->viewer().geometry(), frame->conditionWnd()->rect());
    EXPECT_EQ(frame->conditionWnd()->viewer().GetDlgCtrlID(), CStepwellMainFrame::kConditionViewerId);

    // A task open: No keeps it; Yes takes the next, and a registered dialog is cancelled.
    messages.answers = {MessageAnswer::No};
    ASSERT_TRUE(send(3, task("linear", "2")));
    ASSERT_TRUE(waitFor([&] { return !messages.messages.empty(); }));
    EXPECT_EQ(texts(messages), (std::vector<std::string>{shared::GetLangString("msgCloseTask")}));
    EXPECT_EQ(messages.messages[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(frame->solution()->GetTaskText(), task("linear", "1"));
    messages.messages.clear();

    QDialog dialog(frame.get());
    frame->RegisterTaskDialog(&dialog);
    dialog.show();
    ASSERT_TRUE(sendFromAnotherProcess(1, task("linear", "3")));
    ASSERT_TRUE(sendFromAnotherProcess(3, task("quadratic", "4")));
    ASSERT_TRUE(waitFor([&] { return frame->solution()->GetTaskText() == task("quadratic", "4"); }));
    EXPECT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_FALSE(dialog.isVisible());

    // An unknown type still opens, with its message, and the guide keeps its content.
    messages.messages.clear();
    guideLog(*frame->guide());
    ASSERT_TRUE(send(1, task("nosuchtype", "5")));
    ASSERT_TRUE(waitFor([&] { return frame->solution()->GetTaskText() == task("nosuchtype", "5"); }));
    EXPECT_EQ(texts(messages),
              (std::vector<std::string>{shared::GetLangString("msgCloseTask"), shared::GetLangString("erUnkTaskType")}));
    EXPECT_EQ(guideLog(*frame->guide()).find("M 8 "), std::string::npos);

    // A condition that does not read: its message before any question; the
    // open task stays.
    messages.messages.clear();
    const std::string broken =
        "<TASK id=\"7\" type=\"linear\" title=\"x\"><CONDITION><TEXT><FORMULALINK id=\"9\"/></TEXT></CONDITION></TASK>";
    testing::internal::CaptureStderr();
    ASSERT_TRUE(send(1, broken));
    ASSERT_TRUE(waitFor([&] { return !messages.messages.empty(); }));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texts(messages), (std::vector<std::string>{"Не вдалося відкрити умову задачі."}));
    EXPECT_EQ(messages.messages.back().caption, shared::GetLangString("messageTitle"));
    EXPECT_NE(errors.find("Error!\nCann't set task condition"), std::string::npos) << errors;
    EXPECT_EQ(frame->solution()->GetTaskText(), task("nosuchtype", "5"));

    // Under an open box a task waits until the box is answered.
    platform::setMessageRecorder(nullptr);
    bool waited = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(send(1, task("linear", "6")));
        QApplication::processEvents();
        QThread::msleep(150);
        QApplication::processEvents();
        waited = frame->pendingTasks() == 1 && frame->solution()->GetTaskText() == task("nosuchtype", "5");
        platform::setMessageRecorder(&messages);  // the question that follows is answered by script
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    frame->DoMessageBox("box");
    EXPECT_TRUE(waited);
    ASSERT_TRUE(waitFor([&] { return frame->solution()->GetTaskText() == task("linear", "6"); }));
}

// A sibling program that is not installed is named: "Програма … не
// встановлена." with its menu name; one that starts says nothing.
TEST_F(Frame, AnAbsentSiblingProgramIsNamed)
{
    const std::pair<int, std::string> rows[] = {
        {kCmdToolsCurvance, "Програма «Середовище графіків» не встановлена."},
        {kCmdToolsReckonry, "Програма «Розв'язувач рівнянь» не встановлена."},
        {kCmdToolsCalc, "Програма «Калькулятор» не встановлена."},
    };
    for (const auto& [command, text] : rows) {
        SCOPED_TRACE(text);
        messages.messages.clear();
        shell.result = false;
        frame->action(command)->trigger();
        EXPECT_EQ(texts(messages), std::vector<std::string>{text});
        EXPECT_EQ(messages.messages.front().caption, shared::GetLangString("messageTitle"));
        messages.messages.clear();
        shell.result = true;
        frame->action(command)->trigger();
        EXPECT_TRUE(messages.messages.empty());
    }
    EXPECT_EQ(shell.calls.size(), 6u);
    EXPECT_EQ(shell.calls[1].target, kStage + "kernel/bin/Curvance");
}

TEST_F(Frame, SavedSolutionsReloadAndTheDocumentReadsBack)
{
    const std::string mathX = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi><mo>=</mo><mn>2</mn></math>";
    const std::string withSolution =
        task("linear").substr(0, task("linear").size() - 7) +
        "<SOLUTION><STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\"><DESCRIPTION>Початок &amp; кінець"
        "<BR/>другий рядок</DESCRIPTION><EXPR>" +
        kEquation +
        "</EXPR></STEP><STEP type=\"double\" id=\"2\" result=\"2\" executor=\"1\"><DESCRIPTION>Крок</DESCRIPTION>"
        "<USERTR>" +
        kEquation + "</USERTR><RECEIVE>Отримано</RECEIVE><EXPR>" + mathX +
        "</EXPR></STEP><STEP type=\"answer\" id=\"3\" result=\"1\" executor=\"1\"><DESCRIPTION>Відповідь "
        "&lt; 3</DESCRIPTION><EXPR>" +
        mathX + "</EXPR></STEP></SOLUTION></TASK>";
    ASSERT_TRUE(send(1, withSolution));
    ASSERT_TRUE(waitFor([&] { return frame->solution() && frame->solution()->Count() == 3; }));
    CTaskSolution* solution = frame->solution();
    EXPECT_EQ(solution->CountWithoutAnswer(), 2);
    EXPECT_EQ(solution->GetActiveStep(), solution->StepAt(2));
    EXPECT_EQ(solution->StepAt(1)->GetDescription(), "Початок & кінець\nдругий рядок");
    EXPECT_EQ(solution->StepAt(1)->executor, 2);
    EXPECT_EQ(frame->solveWnd()->GetCheckState(), 1);  // the last step's state
    EXPECT_EQ(solution->StepAt(3)->control()->parentWidget(), frame->answerWnd());
    EXPECT_GT(frame->answerWnd()->strip().content(), 0);

    std::string first;
    ASSERT_TRUE(solution->GetTaskDocument(first));
    EXPECT_EQ(first.rfind(std::string(kTaskDocumentHeader), 0), 0u);
    EXPECT_NE(first.find("<DESCRIPTION>Початок &amp; кінець<BR/>другий рядок</DESCRIPTION>"), std::string::npos);
    EXPECT_NE(first.find("<RECEIVE>Отримано</RECEIVE>"), std::string::npos);
    EXPECT_NE(first.find("<DESCRIPTION>Відповідь &lt; 3</DESCRIPTION>"), std::string::npos);
    waitFor([] { return false; });  // let the panes settle
    frame->grab().save(STEPWELL_PNG_DIR "/stepwell_frame.png");

    messages.answers = {MessageAnswer::Yes};
    // The old solution's formula goes with it (the new one may take its address).
    const QPointer<QWidget> gone = solution->StepAt(1)->control();
    ASSERT_FALSE(gone.isNull());
    ASSERT_TRUE(send(1, first));
    ASSERT_TRUE(waitFor([&] { return gone.isNull() && frame->solution() && frame->solution()->Count() == 3; }));
    std::string second;
    ASSERT_TRUE(frame->solution()->GetTaskDocument(second));
    EXPECT_EQ(second, first);

    // A bad configuration: the program's text and the file (the reader's
    // reason on the error stream), no types, no items; the frame goes on.
    messages.messages.clear();
    testsupport::TempDir dir;
    const std::string config = dir.write("stepwellcfg.xml", "<CONFIG><TASKTYPES>");
    testing::internal::CaptureStderr();
    frame->LoadConfig(config);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texts(messages), std::vector<std::string>{"Не вдалося прочитати налаштування задач.\n" + config});
    EXPECT_NE(errors.find(config + ":"), std::string::npos) << errors;
    EXPECT_TRUE(frame->config().taskTypes.empty());
    EXPECT_TRUE(frame->newTaskMenu()->actions().isEmpty());
    EXPECT_EQ(frame->GetCurrentTaskType(), nullptr);

    // A saved solution that does not read: the program's text, the reason
    // on the error stream.
    messages.messages.clear();
    testing::internal::CaptureStderr();
    frame->LoadSolution("<SOLUTION><STEP></SOLUTION>");
    errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texts(messages),
              std::vector<std::string>{"Не вдалося прочитати збережений розв'язок: задачу відкрито без кроків."});
    EXPECT_FALSE(errors.empty());
}

// A step's description edited through the steps view's popup (32816): a
// word, a line break and a formula typed in the description dialog; the
// task document carries it, and the document sent back gives the same
// description and, saved again, the same bytes.
TEST_F(Frame, EditedStepDescriptionSurvivesSavingAndReloading)
{
    const std::string withSteps =
        task("linear").substr(0, task("linear").size() - 7) +
        "<SOLUTION><STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\"><DESCRIPTION>Початок</DESCRIPTION>"
        "<EXPR>" + kEquation + "</EXPR></STEP><STEP type=\"single\" id=\"2\" result=\"2\" executor=\"1\">"
        "<DESCRIPTION>Крок</DESCRIPTION><EXPR>" + kEquation + "</EXPR></STEP></SOLUTION></TASK>";
    ASSERT_TRUE(send(1, withSteps));
    ASSERT_TRUE(waitFor([&] { return frame->solution() && frame->solution()->Count() == 2; }));
    frame->solveWnd()->SetStepMode(false);
    CSolutionStep* first = frame->solution()->StepAt(1);

    // The right button on the first step: it becomes active and the popup shows.
    QTest::mouseClick(frame->solveWnd(), Qt::RightButton, {},
                      QPoint(frame->solveWnd()->width() / 2, first->rect.top() + 2));
    ASSERT_EQ(frame->solution()->GetActiveStep(), first);
    QMenu* menu = frame->solveWnd()->stepMenu();
    ASSERT_TRUE(menu->isVisible());
    QAction* edit = menu->actions().first();
    ASSERT_EQ(edit->data().toInt(), kCmdStepDescrEdit);
    menu->hide();

    std::string typed;
    QTimer::singleShot(0, [&typed] {
        auto* dialog = dynamic_cast<CEditDescriptionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        CConditionEditorCtrl* editor = dialog->editor();
        QTest::keyClick(editor, Qt::Key_End);
        while (editor->layout().Items().head)
            QTest::keyClick(editor, Qt::Key_Backspace);
        typeText(editor, QStringLiteral("Перенесемо 1"));
        QTest::keyClick(editor, Qt::Key_Return);
        typeText(editor, QStringLiteral("маємо"));
        QTest::keyClick(editor, Qt::Key_M, Qt::AltModifier);
        const auto* formula = editor->caret();
        ASSERT_TRUE(formula && formula->kind == solvehost::LayoutItemKind::Formula);
        QTest::keyClicks(
            static_cast<const solvehost::CLayoutFormulaItem*>(formula->item)->GetControl()->GetControlWindow(), "x=2");
        QTest::mouseClick(dialog->button(1007), Qt::LeftButton);
        typed = dialog->text();
    });
    edit->trigger();
    EXPECT_EQ(typed.rfind("Перенесемо 1\nмаємо<math", 0), 0u) << typed;
    EXPECT_NE(typed.find("<mi>x</mi><mo>=</mo><mn>2</mn>"), std::string::npos) << typed;
    EXPECT_EQ(first->GetDescription(), typed);

    std::string saved;
    ASSERT_TRUE(frame->solution()->GetTaskDocument(saved));
    EXPECT_NE(saved.find("<DESCRIPTION>Перенесемо 1<BR/>маємо<math"), std::string::npos) << saved;
    // Sent back: the words, the line break and the formula. (A receiver
    // drops the formatting line breaks the formula control writes inside its
    // MathML, and the formula's attributes come back in the XML writer's order.)
    messages.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    auto reload = [&](const std::string& document) {
        // The old solution's first formula goes with it (its address may
        // come back for the new solution, so that is not compared).
        const QPointer<QWidget> before = frame->solution()->StepAt(1)->control();
        EXPECT_FALSE(before.isNull());
        EXPECT_TRUE(send(3, document));
        EXPECT_TRUE(waitFor([&] { return before.isNull() && frame->solution() && frame->solution()->Count() == 2; }));
        std::string out;
        EXPECT_TRUE(frame->solution()->GetTaskDocument(out));
        return out;
    };
    const std::string again = reload(saved);
    EXPECT_EQ(frame->solution()->StepAt(1)->GetDescription(),
              "Перенесемо 1\nмаємо<math xmlns=\"http://www.w3.org/1998/Math/MathML\" display=\"block\"><mrow><mi>x</mi>"
              "<mo>=</mo><mn>2</mn></mrow></math>");
    EXPECT_EQ(frame->solution()->StepAt(2)->GetDescription(), "Крок");
    // The same document to a receiver, and from then on the same bytes.
    auto received = [](std::string text) {
        std::erase_if(text, [](char c) { return c == '\n' || c == '\r' || c == '\t'; });
        return text;
    };
    EXPECT_EQ(received(again), received(saved));
    EXPECT_EQ(reload(again), again);
}

#if defined(PATHMENTOR_LIBRARY)
// With the real guide: it loads the module's guide, takes a task type's
// content and asks for nothing. Screenshot: stepwell_frame_guide.png.
TEST(FrameWithGuide, TheRealGuideLoadsAndTakesTheTaskTypesContent)
{
    testsupport::resetHives();
    auto absolute = [](const char* path) { return std::filesystem::absolute(path).lexically_normal().string(); };
    for (const char* library : {PATHMENTOR_LIBRARY, FORMAVEL_LIBRARY, PREMISCOPE_LIBRARY, PLOTWISE_LIBRARY})
        ASSERT_EQ(platform::com::registerLibrary(absolute(library)), platform::S_OK) << library;
    ASSERT_EQ(registry::writeString(registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath", kStage), 0);
    ASSERT_TRUE(shared::LoadLanguageFile(kStage + "kernel/data/lang/ua/stepwell.lng"));
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    {
        CStepwellMainFrame frame;
        ASSERT_EQ(frame.OnCreate(), 0);
        frame.resize(1100, 700);
        frame.show();
        ASSERT_NE(frame.guide()->GetControl(), nullptr);
        frame.SetTaskCondition(task("linear"));
        waitFor([] { return false; });
        EXPECT_TRUE(messages.messages.empty()) << texts(messages).front();
        EXPECT_EQ(frame.guide()->GetGuideDocFile(),
                  shared::CSettings::Instance().GetModulePath() + "lang/ua/guide/stepwell.xml");
        frame.grab().save(STEPWELL_PNG_DIR "/stepwell_frame_guide.png");
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}
#endif

// A control that is not installed: the pupil reads the program's text, the
// developer's goes to the error stream. Without the condition viewer the
// frame is not made; without the guide it is.
TEST(StepwellFrame, MissingControlsAreToldInThePupilsLanguage)
{
    struct Case {
        std::vector<const char*> libraries;
        const char* text;
        const char* error;
        int created;
    };
    const Case cases[] = {
        {{FORMAVEL_LIBRARY}, "Не встановлено переглядач умови задачі: перевірте встановлення.",
         "Condition Viewer not installed", -1},
        {{FORMAVEL_LIBRARY, PREMISCOPE_LIBRARY}, "Не встановлено довідник перетворень: перевірте встановлення.",
         "Guide control not installed", 0},
    };
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        testsupport::resetHives();
        for (const char* library : c.libraries)
            ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(library).string()), platform::S_OK);
        ASSERT_EQ(registry::writeString(registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath", kStage), 0);
        ASSERT_TRUE(shared::LoadLanguageFile(kStage + "kernel/data/lang/ua/stepwell.lng"));
        messages.messages.clear();
        testing::internal::CaptureStderr();
        {
            CStepwellMainFrame frame;
            EXPECT_EQ(frame.OnCreate(), c.created);
        }
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(texts(messages), std::vector<std::string>{c.text});
        EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

TEST(StepwellApp, StartWithoutLanguageFileLoginOrConditionViewer)
{
    testsupport::resetHives();
    testsupport::TempDir root;  // an install root without language files or components
    ASSERT_EQ(registry::writeString(registry::Hive::Machine, shared::kSuiteRegistryKey, "InstallPath", root.path()), 0);
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    const std::filesystem::path folder = std::filesystem::current_path();
    {
        CStepwellApp app;
        EXPECT_EQ(app.InitInstance(), 0);  // no login: the message, then the end
    }
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "Не вдалося завантажити мовний файл " + root.path() +
                                             "kernel/data/lang/ua/stepwell.lng. Перевірте встановлення програми.");
    EXPECT_EQ(messages.messages[0].caption, "Stepwell");
    EXPECT_EQ(messages.messages[0].parent, nullptr);
    EXPECT_EQ(messages.messages[1].text, shared::GetLangString("needPerson"));
    EXPECT_EQ(messages.messages[1].icon, platform::MessageIcon::Warning);
    // The start put Qt's own texts into Ukrainian: the standard buttons of
    // the program's boxes read so.
    EXPECT_THAT(platform::test::shownButtonTexts(platform::MessageButtons::YesNoCancel),
                testing::UnorderedElementsAre("Так", "Ні", "Скасувати"));

    // Logged in, but no condition viewer: its message in the words held in
    // code (no language file), and the program ends.
    messages.messages.clear();
    ASSERT_EQ(shared::CSettings::Instance().SetUserPersonified(true), 0);
    std::filesystem::create_directories(root.path() + "kernel/bin");
    {
        CStepwellApp app;
        EXPECT_EQ(app.InitInstance(), 1);
        EXPECT_EQ(app.frame(), nullptr);
    }
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(root.path() + "kernel/bin"));
    std::filesystem::current_path(folder);
    ASSERT_GE(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages.back().text, "Не встановлено переглядач умови задачі: перевірте встановлення.");

    // With its controls but no kernel: the pupil reads the program's text,
    // the developer's goes to the error stream, and the window opens.
    messages.messages.clear();
    ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
    ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(PREMISCOPE_LIBRARY).string()), platform::S_OK);
    std::filesystem::create_directories(root.path() + "kernel/data/lang/ua");
    std::filesystem::copy_file(kStage + "kernel/data/lang/ua/stepwell.lng", root.path() + "kernel/data/lang/ua/stepwell.lng");
    {
        CStepwellApp app;
        testing::internal::CaptureStderr();
        EXPECT_EQ(app.InitInstance(), std::nullopt);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(app.frame(), nullptr);
        EXPECT_THAT(texts(messages), testing::Contains("Сервер обчислень не запущено: перевірте встановлення."));
        EXPECT_NE(errors.find("CKernelFuncMgr::m_pSolveKernel->initClew error"), std::string::npos) << errors;
    }
    std::filesystem::current_path(folder);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

}  // namespace
}  // namespace stepwell
