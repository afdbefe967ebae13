// The frame, its task tabs and pages, the dialogs and the commands' enable
// and check rules, in both programs.
#include <gmock/gmock.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <algorithm>
#include <filesystem>

#include "formula/control/tests/palette_tips.h"
#include "frame_fixture.h"
#include "reckonry/app.h"
#include "reckonry/dialogs.h"
#include "reckonry/task_wnd.h"
#include "shared/language.h"
#include "platform/com/com.h"
#include "platform/shell.h"
#include "platform/tests/shown_buttons.h"
#include "shared/settings.h"
#include "shared/widgets/docking_pane_bar.h"
#include "solvehost/tests/test_component_ids.h"

namespace reckonry::test {
namespace {

std::string guideLog(CReckonryMainFrame& frame)
{
    return driverOf(frame.GetGuide()).getProperty<std::string>(solvehost::test::kDispLog);
}

TEST_F(FrameTest, SolverStartsWithItsKernelGuideAndFirstTask)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    EXPECT_TRUE(takeMessages().empty());
    ASSERT_NE(kernelLog(), nullptr);
    EXPECT_EQ(kernelLog()->initArguments, "-l modules\\tessaly\\reckonry.clew");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Розв'язувач рівнянь"));
    EXPECT_EQ(f.minimumSize(), QSize(640, 480));
    ASSERT_EQ(f.GetTaskTabs()->GetItemCount(), 1);
    EXPECT_EQ(f.GetTaskTabs()->GetItemText(0), QStringLiteral("Задача 1"));
    EXPECT_EQ(f.GetPromptPane()->text(), QStringLiteral("Готово"));
    EXPECT_EQ(f.statusBar()->findChildren<QLabel*>().size(), 4);
    EXPECT_TRUE(f.IsExactMode());

    // The toolbar's buttons in the strip's order, each with its picture.
    std::vector<int> buttons;
    for (QAction* action : f.GetToolBar()->actions()) {
        buttons.push_back(action->data().toInt());
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(buttons, (std::vector<int>{32795, 32797, 32798, 32804, 32805, 32807}));

    // The guide docked at the right with its properties in order, then loaded.
    ASSERT_NE(f.GetGuideBar(), nullptr);
    EXPECT_EQ(f.dockWidgetArea(f.GetGuideBar()), Qt::RightDockWidgetArea);
    EXPECT_EQ(f.GetGuideBar()->windowTitle(), QStringLiteral("Довідник"));
    EXPECT_EQ(f.GetGuideBar()->id(), 101);
    const std::string guideFile = shared::CSettings::Instance().GetModulePath() + "lang/ua/reckonry/reckonry.xml";
    EXPECT_EQ(guideLog(f), "P -513 UI4 16574956\n"
                           "P -501 UI4 15916237\n"
                           "P 12 String \"" + guideFile + "\"\n"
                           "P 16 UI1 1\n"
                           "P 15 UI1 0\n"
                           "P 18 UI1 0\n"
                           "M 7\n");
    EXPECT_TRUE(f.GetGuideEvents()->IsConnected());

    // The page: condition over answer in equal halves, named by their keys.
    CReckonryTaskWnd* page = f.GetTaskTabs()->GetCurrentPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Condition().objectName(), QStringLiteral("Умова"));
    EXPECT_EQ(page->Answer().objectName(), QStringLiteral("Відповідь"));
    EXPECT_EQ(page->Condition().GetDlgCtrlID(), 101);
    EXPECT_EQ(page->Answer().GetDlgCtrlID(), 102);
    const QRect top = page->Splitter().GetPaneRect(0);
    const QRect bottom = page->Splitter().GetPaneRect(1);
    EXPECT_LE(std::abs(top.height() - bottom.height()), 1);
    EXPECT_GT(top.height(), 100);
    EXPECT_EQ(page->geometry(), f.GetTaskTabs()->GetTaskPageRect());
    EXPECT_EQ(page->geometry().top(), f.GetTaskTabs()->GetItemRect(0).bottom() + 1 + 3);
    EXPECT_EQ(condition().GetState(), 2);
    EXPECT_EQ(answer().GetState(), 1);
}

TEST_F(FrameTest, MissingGuideKernelOrLanguageAreReportedAndTheWindowOpens)
{
    // No guide component and no kernel library.
    makeRoot({.kernel = false, .language = true, .guide = false});
    testing::internal::CaptureStderr();
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Сервер обчислень не запущено: перевірте встановлення.",
                                                        "Не вдалося завантажити довідник."}));
    EXPECT_NE(errors.find("CKernelFuncMgr::m_pSolveKernel->initClew error"), std::string::npos) << errors;
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.GetTaskTabs()->GetItemCount(), 1);
    // Every later request fails.
    typeCondition("1+2");
    f.OnApplyingTransformation(2001, "", "");
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Сервер обчислень не зміг опрацювати вираз."}));
}

TEST_F(FrameTest, SolverWithoutLanguageFileGoesOnCalculatorEnds)
{
    makeRoot({.kernel = true, .language = false, .guide = true});
    // Built-in words: the file that holds the program's cannot be read.
    const std::string missing = "Не вдалося завантажити мовний файл " + root->path() +
                                "kernel/data/lang/ua/reckonry.lng. Перевірте встановлення програми.";
    {
        CReckonryApp app(Program::Reckonry);
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.GetMainFrame(), nullptr);
        EXPECT_TRUE(app.GetMainFrame()->isVisible());
        EXPECT_EQ(app.GetInstallDir(), root->path());
        const std::vector<std::string> shown = takeMessages();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown[0], missing);
        // Empty texts: the first task is named " 1".
        EXPECT_EQ(app.GetMainFrame()->GetTaskTabs()->GetItemText(0), QStringLiteral(" 1"));
        // Qt's own texts are Ukrainian all the same: the start loaded them.
        EXPECT_THAT(platform::test::shownButtonTexts(platform::MessageButtons::YesNoCancel,
                                                     SHOT_DIR "/reckonry_question_box.png"),
                    testing::UnorderedElementsAre("Так", "Ні", "Скасувати"));
    }
    {
        CReckonryApp app(Program::Sumwright);
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.GetMainFrame(), nullptr);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, missing);
        EXPECT_EQ(messages.messages[0].caption, "");
    }
}

TEST_F(FrameTest, NewTaskThroughTheNameDialog)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    // Unedited: the default name alone.
    onNextDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Назва задачі"));
        auto* edit = dialog.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->property("dlgCtrlId").toInt(), 1005);
        EXPECT_EQ(edit->text(), QStringLiteral("Задача"));
        pressButton(dialog, 1);
    });
    trigger(ID_NEW_TASK);
    ASSERT_EQ(f.GetTaskTabs()->GetItemCount(), 2);
    EXPECT_EQ(f.GetTaskTabs()->GetItemText(1), QStringLiteral("Задача"));
    EXPECT_EQ(f.GetTaskTabs()->GetCurSel(), 1);
    EXPECT_EQ(f.GetTaskTabs()->GetCurrentPage(), f.GetTaskTabs()->GetPage(1));
    EXPECT_FALSE(f.GetTaskTabs()->GetPage(0)->isVisible());
    // A typed name.
    onNextDialog([](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, "Task A");
        pressButton(dialog, 1);
    });
    trigger(ID_NEW_TASK);
    ASSERT_EQ(f.GetTaskTabs()->GetItemCount(), 3);
    EXPECT_EQ(f.GetTaskTabs()->GetItemText(2), QStringLiteral("Task A"));
    // Cancel adds none.
    onNextDialog([](QDialog& dialog) { pressButton(dialog, 2); });
    trigger(ID_NEW_TASK);
    EXPECT_EQ(f.GetTaskTabs()->GetItemCount(), 3);
    EXPECT_TRUE(takeMessages().empty());
}

TEST_F(FrameTest, CommandStatesFollowTasksAnswersAndTheClipboard)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    QApplication::clipboard()->clear();
    struct Row {
        int id;
        bool oneTask;    // an empty task
        bool typed;      // a condition typed
        bool answered;   // and an answer
        bool noTask;     // after removing it
    };
    const Row rows[] = {
        {ID_NEW_TASK, true, true, true, true},
        {ID_REMOVE_TASK, true, true, true, false},
        {ID_TOOLS_PANEL, true, true, true, false},
        {ID_EXACT_MODE, true, true, true, true},
        {ID_APPROXIMATE_MODE, true, true, true, true},
        {ID_UNDO, false, true, true, false},
        {ID_REDO, false, false, false, false},
        {ID_COPY_ANSWER, false, false, true, false},
        {ID_PASTE_CONDITION, false, false, false, false},
        {ID_CALCULATE, false, true, true, false},
        {ID_EXIT, true, true, true, true},
        {ID_USER_MANUAL, true, true, true, true},
        {ID_METHODICAL, true, true, true, true},
        {ID_FILE_SAVE, false, false, false, false},
        {ID_HELP, false, false, false, false},
        {ID_APP_ABOUT, false, false, false, false},
    };
    auto check = [&](bool Row::*column, const char* stage) {
        for (const Row& row : rows)
            EXPECT_EQ(enabled(row.id), row.*column) << stage << " " << row.id;
    };
    check(&Row::oneTask, "one task");
    typeCondition("2*x=4");
    check(&Row::typed, "typed");
    kernelLog()->answers[2001] = "x=2";
    f.OnApplyingTransformation(2001, "", "");
    ASSERT_EQ(answer().GetLexemText(), "x=2");
    check(&Row::answered, "answered");
    // Undo, then redo.
    trigger(ID_UNDO);
    EXPECT_TRUE(enabled(ID_REDO));
    trigger(ID_REDO);
    EXPECT_FALSE(enabled(ID_REDO));

    // The checks: exact mode, toolbar, status bar, tools panel.
    EXPECT_TRUE(checked(ID_EXACT_MODE));
    EXPECT_FALSE(checked(ID_APPROXIMATE_MODE));
    EXPECT_TRUE(checked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR));
    trigger(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(checked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(f.GetToolBar()->isHidden());
    trigger(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(checked(ID_VIEW_STATUS_BAR));
    trigger(ID_VIEW_TOOLBAR);
    trigger(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(checked(ID_VIEW_TOOLBAR) && checked(ID_VIEW_STATUS_BAR));

    // Paste only while the clipboard holds text.
    QApplication::clipboard()->setText(QStringLiteral("x+1"));
    EXPECT_TRUE(enabled(ID_PASTE_CONDITION));
    QApplication::clipboard()->clear();
    EXPECT_FALSE(enabled(ID_PASTE_CONDITION));
    QApplication::clipboard()->setText(QStringLiteral("x+1"));

    trigger(ID_TOOLS_PANEL);
    EXPECT_TRUE(checked(ID_TOOLS_PANEL));
    // Removing the only task greys the task commands and unchecks the panel.
    trigger(ID_REMOVE_TASK);
    EXPECT_EQ(f.GetTaskTabs()->GetItemCount(), 0);
    EXPECT_EQ(f.GetTaskTabs()->GetCurrentPage(), nullptr);
    check(&Row::noTask, "no task");
    EXPECT_FALSE(checked(ID_TOOLS_PANEL));
    // Solving with no task.
    f.OnApplyingTransformation(2001, "", "");
    EXPECT_EQ(takeMessages(), (std::vector<std::string>{"Умову записано неправильно або задачі немає."}));
    QApplication::clipboard()->clear();
}

TEST_F(FrameTest, RemovingATaskShowsTheLastOne)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    for (int i = 0; i < 2; ++i) {
        onNextDialog([](QDialog& dialog) { pressButton(dialog, 1); });
        trigger(ID_NEW_TASK);
    }
    CTaskTabCtrl& tabs = *f.GetTaskTabs();
    ASSERT_EQ(tabs.GetItemCount(), 3);
    CReckonryTaskWnd* last = tabs.GetPage(2);
    // The first task, current, goes; the last one is shown.
    tabs.SetCurSel(0);
    tabs.ShowSelectedPage();
    trigger(ID_REMOVE_TASK);
    ASSERT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(tabs.GetCurrentPage(), last);
    EXPECT_TRUE(last->isVisible());
    EXPECT_EQ(last->geometry(), tabs.GetTaskPageRect());
    EXPECT_FALSE(tabs.GetPage(0)->isVisible());
    trigger(ID_REMOVE_TASK);
    EXPECT_EQ(tabs.GetItemCount(), 1);
    EXPECT_TRUE(tabs.GetPage(0)->isVisible());
    EXPECT_EQ(tabs.GetCurrentPage(), tabs.GetPage(0));
}

// The tools panel follows the shown condition (the stand-in formula records
// the calls it gets).
TEST_F(FrameTest, ToolsPanelOpensForTheConditionShownNext)
{
    makeRoot({});
    // The stand-in formula in place of the real one.
    ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(TEST_COMPONENTS).string()), platform::S_OK);
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    auto log = [](solvehost::CSymbrantCtrl& control) {
        platform::com::DispatchDriver driver = driverOf(&control);
        std::string text = driver.getProperty<std::string>(solvehost::test::kDispLog);
        driver.invoke(solvehost::test::kDispClearLog);
        return text;
    };
    // Made as an editor on palette colour 0 for class 9 (its palette has
    // the signs of inequalities), Ukrainian messages.
    EXPECT_EQ(log(condition()).rfind("M 9\nP 1 UI4 16574956\nM 40 I4 9\nM 38 I4 2\n", 0), 0u);
    EXPECT_EQ(log(answer()).rfind("M 20\nP 1 UI4 16574956\nM 38 I4 2\n", 0), 0u);
    trigger(ID_TOOLS_PANEL);
    EXPECT_TRUE(checked(ID_TOOLS_PANEL));
    EXPECT_NE(log(condition()).find("M 15 String \"\"\n"), std::string::npos);
    onNextDialog([](QDialog& dialog) { pressButton(dialog, 1); });
    trigger(ID_NEW_TASK);
    ASSERT_EQ(f.GetTaskTabs()->GetItemCount(), 2);
    EXPECT_NE(log(condition()).find("M 15 String \"\"\n"), std::string::npos);
    // Back to the first tab with the mouse: its condition opens the panel again.
    solvehost::CSymbrantCtrl& first = f.GetTaskTabs()->GetPage(0)->Condition();
    log(first);
    const QRect tab = f.GetTaskTabs()->GetItemRect(0);
    QWidget* row = f.GetTaskTabs()->childAt(tab.center());
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row, Qt::LeftButton, {}, row->mapFrom(f.GetTaskTabs(), tab.center()));
    EXPECT_EQ(f.GetTaskTabs()->GetCurSel(), 0);
    EXPECT_EQ(f.GetTaskTabs()->GetCurrentPage(), f.GetTaskTabs()->GetPage(0));
    EXPECT_NE(log(first).find("M 15 String \"\"\n"), std::string::npos);
    // Off again.
    trigger(ID_TOOLS_PANEL);
    EXPECT_NE(log(first).find("M 16 String \"\"\n"), std::string::npos);
    EXPECT_FALSE(checked(ID_TOOLS_PANEL));
}

TEST_F(FrameTest, CalculatorPagesSetUpTheirControlsInOrder)
{
    makeRoot({});
    ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(TEST_COMPONENTS).string()), platform::S_OK);
    makeFrame(Program::Sumwright);
    auto log = [](solvehost::CSymbrantCtrl& control) {
        return driverOf(&control).getProperty<std::string>(solvehost::test::kDispLog);
    };
    // Editor, palette colour 0, class 8, Ukrainian messages; the answer
    // leaves out needless brackets before it becomes a viewer.
    EXPECT_EQ(log(condition()).rfind("M 9\nP 1 UI4 16574956\nM 40 I4 8\nM 38 I4 2\n", 0), 0u) << log(condition());
    EXPECT_EQ(log(answer()).rfind("P 4 Bool -1\nM 20\nP 1 UI4 16574956\nM 38 I4 2\n", 0), 0u) << log(answer());
    EXPECT_TRUE(frame->GetTaskTabs()->GetCurrentPage()->Events()->IsConnected());
}

TEST_F(FrameTest, HelpCommandsOpenTheirDocuments)
{
    makeRoot({});
    std::filesystem::create_directories(root->path() + "kernel/doc");
    for (const char* name : {"reckonry_m.doc", "reckonry_mp_p.doc", "hSumwright.doc"})
        root->write(std::string("kernel/doc/") + name, "doc");
    platform::shell::Recorder shell;
    platform::shell::setRecorder(&shell);
    makeFrame(Program::Reckonry);
    trigger(ID_USER_MANUAL);
    trigger(ID_METHODICAL);
    frame.reset();
    makeFrame(Program::Sumwright);
    trigger(ID_USER_MANUAL);
    platform::shell::setRecorder(nullptr);
    std::vector<std::string> opened;
    for (const platform::shell::Call& call : shell.calls)
        opened.push_back(call.target);
    const std::string doc = root->path() + "kernel/doc/";
    EXPECT_EQ(opened, (std::vector<std::string>{doc + "reckonry_m.doc", doc + "reckonry_mp_p.doc", doc + "hSumwright.doc"}));
    EXPECT_TRUE(takeMessages().empty());
}

// A manual that is not installed: the box carries the program's own title.
TEST_F(FrameTest, MissingManualIsToldUnderTheProgramsTitle)
{
    makeRoot({});
    platform::shell::Recorder shell;
    platform::shell::setRecorder(&shell);
    const std::pair<Program, const char*> programs[] = {{Program::Sumwright, "Калькулятор"},
                                                        {Program::Reckonry, "Розв'язувач рівнянь"}};
    for (const auto& [program, title] : programs) {
        SCOPED_TRACE(title);
        makeFrame(program);
        messages.messages.clear();
        trigger(ID_USER_MANUAL);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].caption, title);
        EXPECT_EQ(messages.messages[0].text.rfind("Файл довідки не знайдено:\n" + root->path() + "kernel/doc/", 0), 0u)
            << messages.messages[0].text;
        frame.reset();
    }
    platform::shell::setRecorder(nullptr);
    EXPECT_TRUE(shell.calls.empty());
}

// The solver's formula controls speak Ukrainian: the palette's tool tips and
// the box of a right double click on the answer. The language is the
// process's: English is put back through the first page, and the next page
// made sets it again.
#ifdef FORMAVEL_LIBRARY
TEST_F(FrameTest, SolverControlsSpeakUkrainian)
{
    makeRoot({});
    makeFrame(Program::Reckonry);
    answer().SetLanguge(0);
    onNextDialog([](QDialog& dialog) { pressButton(dialog, 1); });
    trigger(ID_NEW_TASK);
    ASSERT_EQ(frame->GetTaskTabs()->GetItemCount(), 2);
    takeMessages();

    answer().SetLexemText("x=5");
    QWidget* answerWindow = answer().GetControlWindow();
    ASSERT_NE(answerWindow, nullptr);
    QTest::mouseDClick(answerWindow, Qt::RightButton, {}, answerWindow->rect().center());
    EXPECT_EQ(takeMessages(), std::vector<std::string>{"Формулу скопійовано до буферу обміну"});

    trigger(ID_TOOLS_PANEL);
    EXPECT_THAT(formula::control::test::shownPaletteToolTips(), testing::Contains("Знак системи (Alt+S)"));
    trigger(ID_TOOLS_PANEL);
}
#endif

// Every caption, tooltip and prompt the frame shows comes from its key in
// the sample language file.
struct TextRow {
    Program program;
    int id;       // a command, or -1 - n for popup n
    char kind;    // 'c' caption, 't' tooltip, 'p' prompt
    const char* key;
};

class FrameTexts : public FrameTest, public ::testing::WithParamInterface<TextRow> {};

TEST_P(FrameTexts, ComeFromTheLanguageFile)
{
    const TextRow row = GetParam();
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(row.program);
    const std::string expected = shared::GetLangString(row.key);
    ASSERT_FALSE(expected.empty()) << row.key;
    QString shown;
    if (row.id < 0) {
        shown = f.GetPopup(-1 - row.id)->title();
        EXPECT_TRUE(f.menuBar()->actions().contains(f.GetPopup(-1 - row.id)->menuAction()));
    } else {
        QAction* action = f.GetAction(row.id);
        ASSERT_NE(action, nullptr);
        shown = row.kind == 'c' ? action->text() : row.kind == 't' ? action->toolTip() : action->statusTip();
        if (row.kind == 'c') {
            bool inMenu = false;
            for (int i = 0; i < 5; ++i)
                inMenu = inMenu || f.GetPopup(i)->actions().contains(action);
            EXPECT_TRUE(inMenu);
        }
    }
    EXPECT_EQ(shown.toStdString(), expected);
}

std::vector<TextRow> textRows()
{
    std::vector<TextRow> rows;
    for (Program p : {Program::Reckonry, Program::Sumwright}) {
        const char* popups[] = {"mnFile", "mnEdit", "mnView", "mnAction", "mnHelp"};
        for (int i = 0; i < 5; ++i)
            rows.push_back({p, -1 - i, 'c', popups[i]});
        for (const auto& [id, key] : std::vector<std::pair<int, const char*>>{
                 {32795, "tlCalc"}, {32797, "tlNewTask"}, {32798, "tlRemoveTask"},
                 {32804, "tlCopy"}, {32805, "tlPaste"}, {32807, "tlHelp"}})
            rows.push_back({p, id, 't', key});
        for (const auto& [id, key] : std::vector<std::pair<int, const char*>>{
                 {32795, "sbmCalc"}, {32797, "sbmNewTask"}, {32798, "sbmRemoveTask"},
                 {32799, "sbmInstrumentBar"}, {32800, "sbmExactCalc"}, {32801, "sbmNoExactCalc"},
                 {32802, "sbmUndo"}, {32803, "sbmRedo"}, {32804, "sbmCopy"}, {32805, "sbmPaste"},
                 {32810, "sbmToolBar"}, {32811, "sbmStatusBar"}, {32812, "sbmExit"}})
            rows.push_back({p, id, 'p', key});
        rows.push_back({p, p == Program::Reckonry ? 32807 : 32813, 'p', "sbmHelp"});
        for (const auto& [id, key] : std::vector<std::pair<int, const char*>>{
                 {32812, "menuExit"}, {32802, "menuUndo"}, {32803, "menuRedo"}, {32804, "menuCopy"},
                 {32805, "menuPaste"}, {32798, "menuRemoveTask"}, {32800, "menuExaсtCalc"},
                 {32801, "menuNotExaсtCalc"}, {32810, "menuEditPanel"}, {32797, "menuNewTask"},
                 {32799, "menuInstrumentPanel"}, {32795, "menuCalc"}})
            rows.push_back({p, id, 'c', key});
    }
    rows.push_back({Program::Reckonry, 32815, 'c', "fileSave"});
    rows.push_back({Program::Reckonry, 32807, 'c', "menuHelp"});
    rows.push_back({Program::Reckonry, 32811, 'c', "menuStatusBar"});
    rows.push_back({Program::Sumwright, 32811, 'c', "statusBar"});
    rows.push_back({Program::Sumwright, 32813, 'c', "menuManual"});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Keys, FrameTexts, ::testing::ValuesIn(textRows()),
                         [](const ::testing::TestParamInfo<TextRow>& info) {
                             return std::string(info.param.program == Program::Reckonry ? "Reckonry" : "Sumwright") +
                                    "_" + info.param.kind + "_" + std::to_string(info.index);
                         });

TEST_F(FrameTest, PromptsShowWhileAnItemIsUnderTheMouseAndExitCloses)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    QMenu* actions = f.GetPopup(3);
    actions->popup(f.mapToGlobal(QPoint(300, 250)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(actions));
    const QRect item = actions->actionGeometry(f.GetAction(ID_NEW_TASK));
    QTest::mouseMove(actions, item.center());
    EXPECT_EQ(f.statusBar()->currentMessage(), QStringLiteral("Додати нову задачу"));
    EXPECT_FALSE(f.GetPromptPane()->isVisible());
    actions->close();
    QTest::qWait(10);
    EXPECT_TRUE(f.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(f.GetPromptPane()->isVisible());
    EXPECT_EQ(f.GetPromptPane()->text(), QStringLiteral("Готово"));

    trigger(ID_EXIT);
    EXPECT_FALSE(f.isVisible());
}

// The guide sets the process-wide flat-tab style word when it is made,
// after the task tabs: the tabs take it up.
TEST_F(FrameTest, TaskTabsFollowTheStyleWordTheGuideSets)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    EXPECT_FALSE(f.GetTaskTabs()->IsOwnerDrawn());
    shared::SetFlatTabStyleFlags(true, 14);
    f.GetTaskTabs()->FollowStyleFlags();
    EXPECT_TRUE(f.GetTaskTabs()->IsOwnerDrawn());
    onNextDialog([](QDialog& dialog) { pressButton(dialog, 1); });
    trigger(ID_NEW_TASK);
    EXPECT_TRUE(f.grab().save(QStringLiteral(SHOT_DIR "/reckonry_tabs_styled.png")));
}

TEST_F(FrameTest, ItemsWithoutKeysAndMissingItems)
{
    makeRoot({});
    CReckonryMainFrame& f = makeFrame(Program::Reckonry);
    EXPECT_EQ(f.GetAction(ID_USER_MANUAL)->text(), QStringLiteral("Посібник користувача"));
    EXPECT_EQ(f.GetAction(ID_METHODICAL)->text(), QStringLiteral("Методичні рекомендації"));
    EXPECT_EQ(f.GetAction(ID_APP_ABOUT)->text(), QStringLiteral("Про програму"));
    frame.reset();
    CReckonryMainFrame& s = makeFrame(Program::Sumwright);
    // The calculator has no save, no help item in its menu, no recommendations.
    EXPECT_EQ(s.GetAction(ID_FILE_SAVE), nullptr);
    EXPECT_EQ(s.GetAction(ID_METHODICAL), nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(s.GetPopup(i)->actions().contains(s.GetAction(ID_HELP)));
    EXPECT_TRUE(s.GetToolBar()->actions().contains(s.GetAction(ID_HELP)));
    EXPECT_EQ(s.GetAction(ID_APP_ABOUT)->text(), QStringLiteral("Про програму"));
}

TEST_F(FrameTest, DialogsHoldTheirIdsAndRanges)
{
    makeRoot({});
    CExactDialog exact(QStringLiteral("7"), nullptr);
    EXPECT_EQ(exact.windowTitle(), QStringLiteral("Точність обчислень"));
    EXPECT_EQ(exact.property("dlgCtrlId").toInt(), 130);
    EXPECT_EQ(exact.upDown()->property("dlgCtrlId").toInt(), 1002);
    EXPECT_EQ(exact.upDown()->minimum(), 0);
    EXPECT_EQ(exact.upDown()->maximum(), 33);
    EXPECT_EQ(exact.upDown()->value(), 7);
    CNameDialog name(QStringLiteral("Задача"), nullptr);
    EXPECT_EQ(name.property("dlgCtrlId").toInt(), 131);
    std::vector<QString> buttons;
    for (QAbstractButton* b : name.findChildren<QAbstractButton*>())
        buttons.push_back(b->text());
    std::sort(buttons.begin(), buttons.end());
    EXPECT_EQ(buttons, (std::vector<QString>{QStringLiteral("Гаразд"), QStringLiteral("Скасувати")}));
}

}  // namespace
}  // namespace reckonry::test
