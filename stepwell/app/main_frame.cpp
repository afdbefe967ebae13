// The main frame: construction behind the splash screen, the menus and the
// tool bar with their handlers, the guide bar, the configuration, and the
// receiving and setting of tasks with their saved solutions.
#include "stepwell/app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/com/font.h"
#include "platform/fonts.h"
#include "platform/shell.h"
#include "platform/xml.h"
#include "shared/language.h"
#include "shared/print/print_html_view.h"
#include "shared/settings.h"
#include "shared/widgets/docking_pane_bar.h"
#include "shared/widgets/splash_screen.h"
#include "solvehost/anim/task_anim_frame.h"
#include "solvehost/premiscope_ctrl.h"
#include "solvehost/proportional_splitter_wnd.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/theme.h"
#include "stepwell/model/received_task.h"
#include "stepwell/model/solution_xml.h"

namespace stepwell {

namespace {

constexpr int kSplitterId = 59648;  // the frame's first pane
constexpr int kGuideBarId = 0xE810;
constexpr int kGuideControlId = 1001;
constexpr int kSplitterBarWidth = 5;
constexpr int kLanguageControlId = 1002;
constexpr int kPanesLeastWidth = 360;

// Texts of missing controls, shown even when the language file did not load.
constexpr const char* kNoConditionViewerText = "Не встановлено переглядач умови задачі: перевірте встановлення.";
constexpr const char* kNoGuideText = "Не встановлено довідник перетворень: перевірте встановлення.";

QString lang(const char* key) { return QString::fromStdString(shared::GetLangString(key)); }

platform::com::FontDescription fontDescription(const QFont& font)
{
    platform::com::FontDescription description;
    description.name = font.family().toStdString();
    // 14 pixels at 96 dots per inch
    description.size = font.pixelSize() > 0 ? font.pixelSize() * 72.0 / 96.0 : font.pointSizeF();
    description.weight = font.bold() ? 700 : 400;
    return description;
}

}  // namespace

CStepwellMainFrame::CStepwellMainFrame()
    : m_guideEvents(this),
      m_receiver({[this] { return receivingHeldBack(); },
                  [this] { return m_solution != nullptr; },
                  [this] { return DoMessageBox(shared::GetLangString("msgCloseTask"), platform::MessageButtons::YesNo) ==
                                  platform::MessageAnswer::Yes; },
                  [this] {
                      for (const QPointer<QDialog>& dialog : m_taskDialogs)
                          if (dialog)
                              dialog->done(2);
                      m_taskDialogs.clear();
                  },
                  [this](const ReceivedTask& task) { openReceivedTask(task); },
                  [this](const ReceivedTask& task) { return formulasRead(task.formulas); },
                  [this] { reportTaskNotRead(); }})
{
    setObjectName(QString::fromLatin1(kWindowClassName));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowIcon(QIcon(QStringLiteral(":/stepwell/icon/128.png")));
    setMinimumSize(640, 480);
    // Other programs find this window by its endpoint from its creation on.
    m_listener = std::make_unique<platform::ipc::Listener>(
        this, kWindowClassName, [this](std::uint32_t code, std::string text) { OnCopyData(code, std::move(text)); });
}

CStepwellMainFrame::~CStepwellMainFrame() { onDestroy(); }

void CStepwellMainFrame::onDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    // The guide's sink goes before anything of the guide does.
    m_guideEvents.Unadvise();
    m_listener.reset();
    m_numberAxis.release();
    // The number axis's holder is not its bar's either.
    if (m_numberAxisWindow)
        delete m_numberAxisWindow->parentWidget();
    if (m_solveWnd)
        m_solveWnd->SetSolution(nullptr);
    if (m_answerWnd)
        m_answerWnd->SetSolution(nullptr);
    m_solution.reset();
    // The splitter does not own its panes, nor the guide bar its control:
    // they go with the frame.
    delete m_guide;
    m_guide = nullptr;
    delete m_conditionWnd;
    delete m_solveWnd;
    delete m_answerWnd;
    m_conditionWnd = nullptr;
    m_solveWnd = nullptr;
    m_answerWnd = nullptr;
    if (m_animFrame)
        delete m_animFrame.data();
}

bool CStepwellMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_conditionWnd && event->type() == QEvent::Resize)
        m_conditionWnd->viewer().setGeometry(m_conditionWnd->rect());
    if (m_numberAxisWindow && watched == m_numberAxisWindow->parentWidget() && event->type() == QEvent::Resize) {
        m_numberAxisWindow->setGeometry(m_numberAxisWindow->parentWidget()->rect());
        placeNumberAxisOrigin();
    }
    // Another room for the panes (the window or a bar resized): their
    // content wants other heights, the condition's wrapping otherwise.
    if (watched == m_splitter && event->type() == QEvent::Resize)
        queuePaneSizes();
    return QMainWindow::eventFilter(watched, event);
}

void CStepwellMainFrame::closeEvent(QCloseEvent* event)
{
    // Steps not yet sent: saved and sent (Yes), given up (No), or the window
    // stays (Cancel, or nothing could be delivered or kept).
    if (!m_destroyed && HasUnsentSteps()) {
        switch (AskUser("msgUnsentSteps", platform::MessageButtons::YesNoCancel)) {
        case platform::MessageAnswer::Yes:
            if (!SaveAndSend()) {
                event->ignore();
                return;
            }
            break;
        case platform::MessageAnswer::No:
            break;
        default:
            event->ignore();
            return;
        }
    }
    onDestroy();
    event->accept();
}

platform::MessageAnswer CStepwellMainFrame::DoMessageBox(const std::string& text, platform::MessageButtons buttons)
{
    const platform::MessageIcon icon =
        buttons == platform::MessageButtons::YesNo || buttons == platform::MessageButtons::YesNoCancel
            ? platform::MessageIcon::Question
            : platform::MessageIcon::Warning;
    return platform::showMessage(text, shared::GetLangString("messageTitle"), icon, buttons, this);
}

platform::MessageAnswer CStepwellMainFrame::AskUser(const std::string& key, platform::MessageButtons buttons)
{
    return DoMessageBox(shared::GetLangString(key), buttons);
}

void CStepwellMainFrame::EnableCommand(int id, bool enable)
{
    if (QAction* command = action(id))
        command->setEnabled(enable);
}

void CStepwellMainFrame::ClearOperationState()
{
    m_clickedOperation = 0;
    m_selection.clear();
}

QAction* CStepwellMainFrame::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

// ---- creation ----

int CStepwellMainFrame::OnCreate()
{
    shared::CSplashScreen splash;
    splash.Create(this, lang("appTitle"), 0, 1 | 2 | 8);
    splash.SetBitmap(137, QStringLiteral("stepwell"), -1, -1, -1);
    splash.SetStatusFormat(41);
    splash.SetStatusFont(QStringLiteral("Arial"), 80, 0);
    splash.SetStatusRect(QRect(QPoint(0, 200), QPoint(450, 340)));
    splash.SetTitleFormat(17);
    splash.SetTitleFont(QStringLiteral("Times"), 130, 1);
    splash.SetTitleColor(Qt::white);
    splash.SetTitleRect(QRect(QPoint(250, 20), QPoint(400, 150)));
    splash.Show();
    splash.SetStatusText(QStringLiteral("Створення головного вікна"));
    setWindowTitle(lang("appTitle"));

    m_font = platform::fonts::defaultGuiFont();
    m_font.setPixelSize(14);
    m_font.setBold(true);

    m_printView = std::make_unique<shared::CPrintHtmlView>(QStringLiteral("PrintView"));
    m_printView->hide();

    m_splitter = new solvehost::CProportionalSplitterWnd(3, 0, 30, kSplitterBarWidth);
    m_splitter->Create(this, kSplitterId);
    setCentralWidget(m_splitter);
    m_conditionWnd = new solvehost::CStepwellConditionWnd(m_splitter);
    if (!m_conditionWnd->viewer().Create(QStringLiteral("Condition Viewer"), solvehost::WS_CHILD | solvehost::WS_VISIBLE,
                                         m_conditionWnd->rect(), m_conditionWnd, kConditionViewerId)) {
        std::fputs("Condition Viewer not installed\n", stderr);
        DoMessageBox(shared::GetLangString("erNoConditionViewer", kNoConditionViewerText));
        return -1;
    }
    m_conditionWnd->installEventFilter(this);
    setFormulaLanguage();
    m_solveWnd = new CStepwellSolveWnd(m_splitter, this, m_font);
    m_answerWnd = new CStepwellAnswerWnd(m_splitter, m_font);
    m_splitter->CreatePane(0, m_conditionWnd);
    m_splitter->CreatePane(1, m_solveWnd);
    m_splitter->CreatePane(2, m_answerWnd);
    m_splitter->SetPaneSizes({40, 100, 10});
    m_conditionWnd->viewer().SetGuiFont(fontDescription(m_font));
    // The panes keep a width to show a step in; a narrow window narrows the guide first.
    m_splitter->setMinimumWidth(kPanesLeastWidth);
    m_splitter->installEventFilter(this);
    m_answerWnd->SetOptimalHeightListener([this] { queuePaneSizes(); });

    buildMenus();
    buildToolBar();
    for (int i = 0; i < 4; ++i) {
        auto* pane = new QLabel(statusBar());
        m_statusPanes.push_back(pane);
        if (i == 0)
            statusBar()->addWidget(pane, 1);
        else
            statusBar()->addPermanentWidget(pane);
    }

    splash.SetStatusText(QStringLiteral("Завантаження сервера обчислень"));
    LoadConfig();
    m_kernel = std::make_unique<solvehost::CKernelFuncMgr>("stepwell.clew");
    m_kernel->InitKernel();

    splash.SetStatusText(QStringLiteral("Завантаження довідника"));
    createGuideBar();
    m_conditionWnd->SetColors(oleColor(Qt::white), oleColor(Qt::black), themeOle(2));

    splash.SetStatusText(QStringLiteral("Налаштування меню"));
    setMenuTexts();
    initMenuState();
    return 0;
}

void CStepwellMainFrame::createGuideBar()
{
    m_guide = new solvehost::CPathmentorCtrl;
    const shared::CSettings& settings = shared::CSettings::Instance();
    if (!m_guide->Create(QStringLiteral("Pathmentor"), solvehost::WS_CHILD | solvehost::WS_VISIBLE,
                         QRect(0, 0, 350, 500), this, kGuideControlId)) {
        std::fputs("Guide control not installed\n", stderr);
        DoMessageBox(shared::GetLangString("erNoGuide", kNoGuideText));
    }
    m_guideBar = new shared::CDockingPaneBar;
    m_guideBar->Create(this, m_guide, lang("guideBar"), kGuideBarId, 0);
    m_guideBar->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::LeftDockWidgetArea, m_guideBar);
    if (!m_guide->GetControl())
        return;  // the program goes on without a guide
    std::string document = settings.GetModulePath() + "lang/" + settings.GetLanguage() + "/guide/stepwell.xml";
    std::replace(document.begin(), document.end(), '\\', '/');
    m_guide->SetGuideDocFile(document);
    m_guide->SetForeColor(themeOle(0));
    m_guide->SetBackColor(themeOle(1));
    m_guide->SetBarFrameColor(themeOle(4));
    m_guide->ParseLanguageFile(settings.GetLanguageFilePath(shared::LanguageFile::Guide));
    m_guide->SetShowExtendedTransformations(1);
    m_guide->SetSendExtendedInformation(1);
    m_guide->SetShowRecomendedChapter(255);
    m_guide->InitializeGuide();
    m_guideEvents.Advise(m_guide);
}

void CStepwellMainFrame::setFormulaLanguage()
{
    // The formula control keeps its language for the whole process (its
    // library stays loaded): one call makes the palette's tips and the
    // messages of every formula control the pupil's.
    solvehost::CSymbrantCtrl control;
    if (control.Create(QStringLiteral("Language"), solvehost::WS_CHILD, QRect(0, 0, 10, 10), this, kLanguageControlId))
        control.SetLanguge(solvehost::PupilFormulaLanguage());
}

QAction* CStepwellMainFrame::addCommand(QMenu* menu, int id, const char* key)
{
    auto* command = new QAction(lang(key), this);
    command->setData(id);
    command->setProperty("languageKey", QString::fromLatin1(key));
    if (menu)
        menu->addAction(command);
    m_actions[id] = command;
    return command;
}

void CStepwellMainFrame::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QString());
    file->setProperty("languageKey", QStringLiteral("fileMenu"));
    connect(addCommand(file, kCmdFileSave, "fileSave"), &QAction::triggered, this, [this] { OnSaveTask(); });
    connect(addCommand(file, kCmdFilePrintVersion, "filePrintVersion"), &QAction::triggered, this,
            [this] { OnPrintTask(); });
    file->addSeparator();
    connect(addCommand(file, kCmdFileExit, "fileMenuExit"), &QAction::triggered, this, &QWidget::close);

    QMenu* view = bar->addMenu(QString());
    view->setProperty("languageKey", QStringLiteral("viewMenu"));
    QAction* editor = addCommand(view, kCmdViewEditor, "viewEditor");
    editor->setCheckable(true);
    connect(editor, &QAction::triggered, this, [this] { onViewEditor(); });
    QAction* guide = addCommand(view, kCmdViewGuide, "viewGuide");
    guide->setCheckable(true);
    connect(guide, &QAction::triggered, this, [this] { onViewGuide(); });
    QAction* toolbar = addCommand(view, kCmdViewToolbar, "viewToolbar");
    toolbar->setCheckable(true);
    connect(toolbar, &QAction::triggered, this, [this] { onViewToolbar(); });
    // 32814 (the number-axis bar) has no menu item; the action toggles the bar.
    QAction* numberAxis = addCommand(nullptr, kCmdViewNumAxis, "viewNumAxis");
    numberAxis->setCheckable(true);
    addAction(numberAxis);
    connect(numberAxis, &QAction::triggered, this, [this] { onViewNumberAxis(); });
    QAction* exGuide = addCommand(view, kCmdViewExGuide, "viewExGuide");
    exGuide->setCheckable(true);
    connect(exGuide, &QAction::triggered, this, [this] { onViewExGuide(); });
    QAction* autoScroll = addCommand(view, kCmdViewAutoScroll, "viewAutoScroll");
    autoScroll->setCheckable(true);
    connect(autoScroll, &QAction::triggered, this, [this] { onViewAutoScroll(); });
    QAction* stepScroll = addCommand(view, kCmdViewStepScroll, "viewStepScroll");
    stepScroll->setCheckable(true);
    connect(stepScroll, &QAction::triggered, this, [this] { onViewStepScroll(); });

    QMenu* task = bar->addMenu(QString());
    task->setProperty("languageKey", QStringLiteral("taskMenu"));
    m_newTaskMenu = task->addMenu(QString());
    m_newTaskMenu->setProperty("languageKey", QStringLiteral("taskNew"));
    QMenu* modes = task->addMenu(QString());
    modes->setProperty("languageKey", QStringLiteral("taskSolveMode"));
    m_modeGroup = new QActionGroup(this);
    m_modeGroup->setExclusive(true);
    const std::pair<int, const char*> modeCommands[] = {
        {kCmdSmodeAuto, "taskSmodeAuto"}, {kCmdSmodeIndep, "taskSmodeIndep"}, {kCmdSmodeMixed, "taskSmodeMixed"}};
    for (int mode = 1; mode <= 3; ++mode) {
        QAction* command = addCommand(modes, modeCommands[mode - 1].first, modeCommands[mode - 1].second);
        command->setCheckable(true);
        m_modeGroup->addAction(command);
        connect(command, &QAction::triggered, this, [this, mode] {
            if (mode == 1)
                OnModeAuto();
            else if (mode == 2)
                OnModeIndependent();
            else
                OnModeMixed();
        });
    }

    QMenu* solve = bar->addMenu(QString());
    solve->setProperty("languageKey", QStringLiteral("solveMenu"));
    connect(addCommand(solve, kCmdSolveBegin, "solveBegin"), &QAction::triggered, this, [this] { OnBeginSolution(); });
    // 32795 (continue) has no action and is not offered.
    connect(addCommand(solve, kCmdSolveStepCheck, "solveStepCheck"), &QAction::triggered, this, [this] {
        if (!ExecuteTransformation())
            EnableCommand(kCmdSolveStepCheck, false);
    });
    connect(addCommand(solve, kCmdSolveStepExecute, "solveStepExecute"), &QAction::triggered, this,
            [this] { StartIndependentStep(); });

    QMenu* tools = bar->addMenu(QString());
    tools->setProperty("languageKey", QStringLiteral("toolsMenu"));
    connect(addCommand(tools, kCmdToolsCurvance, "toolsCurvance"), &QAction::triggered, this,
            [this] { onStartSibling("Curvance", "toolsCurvance"); });
    connect(addCommand(tools, kCmdToolsReckonry, "toolsReckonry"), &QAction::triggered, this,
            [this] { onStartSibling("Reckonry", "toolsReckonry"); });
    connect(addCommand(tools, kCmdToolsCalc, "toolsCalc"), &QAction::triggered, this,
            [this] { onStartSibling("Sumwright", "toolsCalc"); });

    QMenu* help = bar->addMenu(QString());
    help->setProperty("languageKey", QStringLiteral("helpMenu"));
    connect(addCommand(help, kCmdHelpLexivane, "helpLexivane"), &QAction::triggered, this,
            [this] { onHelpLexivane(); });
    connect(addCommand(help, kCmdHelpMethodRecommend, "helpMethodRecommend"), &QAction::triggered, this,
            [] { shared::CSettings::Instance().OpenHelpDocument(shared::HelpDocument::Stepwell); });
    connect(addCommand(help, kCmdHelpContent, "helpContent"), &QAction::triggered, this,
            [] { shared::CSettings::Instance().OpenHelpDocument(shared::HelpDocument::StepwellManual); });

    // The help button of the tool bar has no command and stays disabled.
    QAction* helpButton = addCommand(nullptr, kCmdHelp, "tlHelp");
    helpButton->setEnabled(false);
}

void CStepwellMainFrame::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("toolBar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setMovable(true);
    QPixmap strip(QStringLiteral(":/stepwell/bitmap/136.png"));
    strip.setMask(strip.createMaskFromColor(QColor(243, 241, 240), Qt::MaskInColor));
    const std::pair<int, const char*> buttons[] = {
        {kCmdFileSave, "tlSave"},   {0, nullptr},           {kCmdSmodeAuto, "tlAuto"},
        {kCmdSmodeIndep, "tlInd"},  {kCmdSmodeMixed, "tlMixed"}, {0, nullptr},
        {kCmdSolveBegin, "tlBegin"}, {kCmdSolveStepCheck, "tlCheck"}, {kCmdSolveStepExecute, "tlStep"},
        {0, nullptr},               {kCmdHelp, "tlHelp"},
    };
    int image = 0;
    for (const auto& [id, tip] : buttons) {
        if (!id) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* command = action(id);
        command->setIcon(QIcon(strip.copy(image++ * 24, 0, 24, 24)));
        command->setToolTip(lang(tip));
        command->setProperty("tipKey", QString::fromLatin1(tip));
        m_toolBar->addAction(command);
    }
}

void CStepwellMainFrame::setMenuTexts()
{
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        if (const QVariant key = menu->property("languageKey"); key.isValid())
            menu->setTitle(lang(key.toString().toLatin1().constData()));
    for (const auto& [id, command] : m_actions)
        if (const QVariant key = command->property("languageKey"); key.isValid() && id != kCmdHelp)
            command->setText(lang(key.toString().toLatin1().constData()));
}

void CStepwellMainFrame::initMenuState()
{
    for (int id : {kCmdFileSave, kCmdFilePrintVersion, kCmdSolveBegin, kCmdSolveStepCheck, kCmdSolveStepExecute})
        EnableCommand(id, false);
    action(kCmdSmodeMixed)->setChecked(m_mode == 3);
    action(kCmdViewGuide)->setChecked(m_guideBar && !m_guideBar->isHidden());
    action(kCmdViewToolbar)->setChecked(m_toolBar && !m_toolBar->isHidden());
    action(kCmdViewAutoScroll)->setChecked(m_solveWnd && m_solveWnd->GetAutoScroll());
    action(kCmdViewStepScroll)->setChecked(m_solveWnd && m_solveWnd->GetStepMode());
    action(kCmdViewExGuide)->setChecked(m_guide && m_guide->GetControl() && m_guide->GetShowExtendedTransformations());
    action(kCmdViewEditor)->setChecked(m_editorPanel);
}

// ---- configuration ----

void CStepwellMainFrame::LoadConfig()
{
    const shared::CSettings& settings = shared::CSettings::Instance();
    LoadConfig(settings.GetModulePath() + "lang//" + settings.GetLanguage() + "//stepwellcfg.xml");
}

void CStepwellMainFrame::LoadConfig(const std::string& path)
{
    try {
        m_config = LoadStepwellConfig(path);
    } catch (const platform::xml::Error& error) {
        // No types and no items; the program goes on.
        m_config = {};
        std::fprintf(stderr, "%s\n", error.what());
        DoMessageBox(shared::GetLangString("erConfigRead") + "\n" + path);
    }
    buildNewTaskMenu();
}

void CStepwellMainFrame::buildNewTaskMenu()
{
    if (!m_newTaskMenu)
        return;
    for (auto it = m_actions.begin(); it != m_actions.end();)
        it = it->first >= kFirstNewTaskCommand && it->first <= kLastNewTaskCommand ? m_actions.erase(it) : std::next(it);
    m_newTaskMenu->clear();
    appendMenuGroup(m_newTaskMenu, m_config.menu);
}

void CStepwellMainFrame::appendMenuGroup(QMenu* menu, const NewTaskGroup& group)
{
    for (const NewTaskGroup& child : group.groups)
        appendMenuGroup(menu->addMenu(QString::fromStdString(child.caption)), child);
    for (const NewTaskItem& item : group.items) {
        QAction* command = menu->addAction(QString::fromStdString(item.caption));
        if (!item.commandId) {
            command->setEnabled(false);  // past the last new-task command
            continue;
        }
        command->setData(item.commandId);
        m_actions[item.commandId] = command;
        const int id = item.commandId;
        connect(command, &QAction::triggered, this, [this, id] { OnNewTask(id); });
    }
}

const TaskTypeRecord* CStepwellMainFrame::GetCurrentTaskType() const
{
    return m_config.FindTaskType(m_currentTaskType);
}

void CStepwellMainFrame::OnNewTask(int commandId)
{
    const NewTaskItem* item = m_config.FindItem(commandId);
    if (!item) {
        AskUser("erUnknNewTask", platform::MessageButtons::Ok);
        return;
    }
    CNewTaskDialog dialog(this, this, item->taskType, item->content);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_solution && AskUser("msgCloseTask", platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes)
        return;
    SetTaskCondition(dialog.BuildTaskXml());
}

void CStepwellMainFrame::RegisterTaskDialog(QDialog* dialog) { m_taskDialogs.emplace_back(dialog); }

bool CStepwellMainFrame::receivingHeldBack() const
{
    if (platform::isMessageBoxOpen())
        return true;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    // An open task dialog is no reason to wait: the arriving task cancels it.
    for (const QPointer<QDialog>& dialog : m_taskDialogs)
        if (dialog && dialog == modal)
            return false;
    return true;
}

platform::MessageAnswer CStepwellMainFrame::ShowBox(const std::string& text, const std::string& caption)
{
    return platform::showMessage(text, caption, platform::MessageIcon::Warning, platform::MessageButtons::Ok, this);
}

void CStepwellMainFrame::SetCheckState(int state)
{
    if (m_solveWnd)
        m_solveWnd->SetCheckState(state);
}

// ---- receiving and setting a task ----

void CStepwellMainFrame::OnCopyData(std::uint32_t code, std::string text)
{
    if (!m_receiver.Receive(code, std::move(text)))
        return;
    QTimer::singleShot(0, this, [this] { processPendingTasks(); });
}

void CStepwellMainFrame::processPendingTasks()
{
    if (m_destroyed)
        return;
    if (m_receiver.ProcessPending() == CTaskReceiver::Outcome::Busy && !m_retryArmed) {
        // Looked at again once the box that holds the texts back is gone.
        m_retryArmed = true;
        QTimer::singleShot(100, this, [this] {
            m_retryArmed = false;
            processPendingTasks();
        });
    }
}

void CStepwellMainFrame::openReceivedTask(const ReceivedTask& task)
{
    SetTaskCondition(task.task);
    if (!task.solution.empty()) {
        LoadSolution(task.solution);
        // The sender holds these steps already.
        m_solution->GetTaskDocument(m_sentDocument);
    }
    m_solveWnd->RecalcLayout(true);
    m_answerWnd->RecalcLayout();
}

bool CStepwellMainFrame::formulasRead(const std::vector<std::string>& formulas)
{
    if (formulas.empty())
        return true;
    solvehost::CSymbrantCtrl reader;
    if (!reader.Create(QStringLiteral("Temp"), solvehost::WS_CHILD, QRect(0, 0, 100, 100), this, 101))
        return true;  // no formula control: the condition pane cannot show the task either
    for (const std::string& formula : formulas)
        if (!reader.SetMathMLText(formula))
            return false;
    return true;
}

void CStepwellMainFrame::reportTaskNotRead()
{
    std::fputs("Error!\nCann't set task condition\n", stderr);
    AskUser("erSetCondition", platform::MessageButtons::Ok);
}

void CStepwellMainFrame::clearTaskViews()
{
    ReleaseRecommended();
    if (m_editorPanel) {
        CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
        if (active && active->control())
            active->control()->HideToolsDlg("");
        m_editorPanel = false;
        action(kCmdViewEditor)->setChecked(false);
    }
    if (m_printView)
        m_printView->hide();
    clearNumberAxis();
}

void CStepwellMainFrame::SetTaskCondition(const std::string& taskText)
{
    clearTaskViews();
    m_solveWnd->SetSolution(nullptr);
    m_answerWnd->SetSolution(nullptr);
    m_solution.reset();
    m_sentDocument.clear();
    for (const QPointer<QDialog>& dialog : m_taskDialogs)
        if (dialog)
            dialog->done(2);
    m_taskDialogs.clear();

    m_solution = std::make_unique<CTaskSolution>(taskText, m_solveWnd);
    ++m_taskSerial;
    m_solveWnd->SetSolution(m_solution.get());
    m_answerWnd->SetSolution(m_solution.get());
    m_solveWnd->SetCheckState(-1);
    // A part picked in the previous task must not reach the kernel.
    ClearOperationState();

    if (!m_conditionWnd->SetCondition(taskText))
        reportTaskNotRead();

    const std::optional<std::string> type = ReadTaskType(taskText);
    m_currentTaskType = type.value_or("");
    const TaskTypeRecord* record = type ? m_config.FindTaskType(*type) : nullptr;
    if (record) {
        if (m_guide && m_guide->GetControl())
            m_guide->InitializeGuideContent(record->guideContent);
    } else {
        AskUser("erUnkTaskType", platform::MessageButtons::Ok);
    }
    setPaneSizes();
    EnableCommand(kCmdFileSave, true);
    EnableCommand(kCmdFilePrintVersion, true);
    EnableCommand(kCmdSolveBegin, true);
    EnableCommand(kCmdSolveStepCheck, false);
    EnableCommand(kCmdSolveStepExecute, false);
}

void CStepwellMainFrame::LoadSolution(const std::string& solutionXml)
{
    std::vector<StepRecord> steps;
    try {
        steps = ReadSolution(solutionXml);
    } catch (const platform::xml::Error& error) {
        // The task stays open without steps.
        std::fprintf(stderr, "%s\n", error.what());
        AskUser("erSolutionRead", platform::MessageButtons::Ok);
        return;
    }
    for (const StepRecord& record : steps) {
        switch (record.kind) {
        case StepKind::Single:
        case StepKind::Answer:
            AddStep(record.formula, record.description, static_cast<int>(record.kind), record.state, record.executor,
                    false);
            break;
        case StepKind::Double: {
            auto step = std::make_unique<CTransformationStep>(m_solveWnd);
            step->SetDescription(record.description);
            if (solvehost::CSymbrantCtrl* transformation = step->transformation().GetControl())
                transformation->SetMathMLText(record.transformation);
            step->transformation().UpdateSize();
            if (solvehost::CSymbrantCtrl* result = step->control())
                result->SetMathMLText(record.formula);
            step->formula().UpdateSize();
            step->formula().StoreLexemText();
            step->SetReceived(record.received);
            step->state = record.state;
            m_solution->Append(std::move(step), true);
            break;
        }
        }
        m_solveWnd->SetCheckState(record.state);
    }
}

bool CStepwellMainFrame::AddStep(const std::string& formulaText, const std::string& description, int kind,
                                 int state, int executor, bool isLexemText)
{
    if (!m_solution || (kind != static_cast<int>(StepKind::Single) && kind != static_cast<int>(StepKind::Answer)))
        return false;
    const bool answer = kind == static_cast<int>(StepKind::Answer);
    QWidget* parent = answer ? static_cast<QWidget*>(m_answerWnd) : m_solveWnd;
    auto step = std::make_unique<CSolutionStep>(parent, answer ? StepKind::Answer : StepKind::Single);
    if (solvehost::CSymbrantCtrl* control = step->control()) {
        if (!isLexemText && formulaText.rfind("<math", 0) == 0)
            control->SetMathMLText(formulaText);
        else
            control->SetLexemText(formulaText);
        control->SetBackColor(oleColor(Qt::white));
        if (answer)
            control->SetLocked(true);
    }
    step->formula().UpdateSize();
    step->formula().StoreLexemText();
    step->SetDescription(description);
    step->state = state;
    step->executor = executor;
    // An answer joins the list without becoming active; it shows in the answer panel.
    m_solution->Append(std::move(step), !answer);
    m_solveWnd->SetCheckState(state);
    if (answer)
        m_answerWnd->RecalcLayout();
    else
        m_solveWnd->EnsureLastVisible();
    return true;
}

// ---- guide ----

solvehost::CTaskAnimFrame* CStepwellMainFrame::animFrame() const { return m_animFrame.data(); }

void CStepwellMainFrame::OnShowExtendedHowTodo(const std::string& howToDo)
{
    if (!m_animFrame) {
        auto* frame = new solvehost::CTaskAnimFrame("guideanim.xslt");
        frame->Create();
        frame->setWindowTitle(lang("guideHowtodoExt"));
        frame->resize(850, 650);
        if (const QScreen* screen = QApplication::primaryScreen()) {
            const QRect work = screen->availableGeometry();
            frame->move(work.center() - QPoint(425, 325));
        }
        m_animFrame = frame;
    }
    m_animFrame->SetAnimFile(howToDo);
    m_animFrame->showNormal();
    m_animFrame->raise();
    m_animFrame->activateWindow();
}

// ---- commands ----

void CStepwellMainFrame::onViewEditor()
{
    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    solvehost::CSymbrantCtrl* control = active ? active->control() : nullptr;
    if (!control) {
        action(kCmdViewEditor)->setChecked(m_editorPanel);  // nothing to show it for
        return;
    }
    m_editorPanel = !m_editorPanel;
    if (m_editorPanel && !control->ShowToolsDlg("")) {
        control->HideToolsDlg("");
        m_editorPanel = false;
    } else if (!m_editorPanel) {
        control->HideToolsDlg("");
    }
    action(kCmdViewEditor)->setChecked(m_editorPanel);
}

void CStepwellMainFrame::onViewGuide()
{
    m_guideBar->setVisible(m_guideBar->isHidden());
    action(kCmdViewGuide)->setChecked(!m_guideBar->isHidden());
}

void CStepwellMainFrame::onViewToolbar()
{
    m_toolBar->setVisible(m_toolBar->isHidden());
    action(kCmdViewToolbar)->setChecked(!m_toolBar->isHidden());
}

void CStepwellMainFrame::onViewExGuide()
{
    if (!m_guide || !m_guide->GetControl()) {
        action(kCmdViewExGuide)->setChecked(false);
        return;
    }
    const bool on = !m_guide->GetShowExtendedTransformations();
    m_guide->SetShowExtendedTransformations(on ? 1 : 0);
    action(kCmdViewExGuide)->setChecked(on);
}

void CStepwellMainFrame::onViewAutoScroll()
{
    m_solveWnd->SetAutoScroll(!m_solveWnd->GetAutoScroll());
    action(kCmdViewAutoScroll)->setChecked(m_solveWnd->GetAutoScroll());
}

void CStepwellMainFrame::onViewStepScroll()
{
    m_solveWnd->SetStepMode(!m_solveWnd->GetStepMode());
    action(kCmdViewStepScroll)->setChecked(m_solveWnd->GetStepMode());
}

void CStepwellMainFrame::onStartSibling(const char* program, const char* nameKey)
{
    if (!platform::shell::startProgram(shared::CSettings::Instance().GetInstallPath() + "kernel/bin/" + program))
        DoMessageBox(lang("erProgramNotInstalled").arg(lang(nameKey)).toStdString());
}

void CStepwellMainFrame::onHelpLexivane()
{
    const std::string path = shared::CSettings::Instance().GetModulePath() + "doc/Lexivane.chm";
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        platform::showMessage("Файл довідки не знайдено:\n" + path, shared::GetLangString("appTitle"),
                              platform::MessageIcon::Warning, platform::MessageButtons::Ok, this);
        return;
    }
    platform::shell::openDocument(path);
}

}  // namespace stepwell
