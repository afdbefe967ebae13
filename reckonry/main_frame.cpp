#include "reckonry/main_frame.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "platform/com/error_info.h"
#include "reckonry/dialogs.h"
#include "reckonry/task_wnd.h"
#include "reckonry/theme.h"
#include "shared/draw_text.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "shared/widgets/docking_pane_bar.h"
#include "shared/widgets/splash_screen.h"

namespace reckonry {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

const char* const kGuideExtNotSupported = "OnApplyingTransformationEx does not support in this module";
const char* const kBadTask = "Некоректна постановка задачі";
// The reply of the calculator's kernel for "no value".
const char* const kNoValue = "NORESE";

// Texts of the items the language file has no key for.
const char* const kUserManualText = "Посібник користувача";
const char* const kMethodicalText = "Методичні рекомендації";
const char* const kAboutText = "Про програму";

// The toolbar's buttons in the order of the picture strip's images.
constexpr int kToolBarButtons[] = {ID_CALCULATE, ID_NEW_TASK, ID_REMOVE_TASK, ID_COPY_ANSWER, ID_PASTE_CONDITION, ID_HELP};
// The mask colour of the strip.
constexpr QRgb kMaskColour = qRgb(1, 241, 240);

struct KeyOfCommand {
    int id;
    const char* key;
};

constexpr KeyOfCommand kReckonryCaptions[] = {
    {ID_FILE_SAVE, "fileSave"},          {ID_EXIT, "menuExit"},
    {ID_UNDO, "menuUndo"},               {ID_REDO, "menuRedo"},
    {ID_COPY_ANSWER, "menuCopy"},        {ID_PASTE_CONDITION, "menuPaste"},
    {ID_REMOVE_TASK, "menuRemoveTask"},  {ID_EXACT_MODE, "menuExa\xd1\x81tCalc"},
    {ID_APPROXIMATE_MODE, "menuNotExa\xd1\x81tCalc"}, {ID_VIEW_STATUS_BAR, "menuStatusBar"},
    {ID_VIEW_TOOLBAR, "menuEditPanel"},  {ID_NEW_TASK, "menuNewTask"},
    {ID_TOOLS_PANEL, "menuInstrumentPanel"}, {ID_HELP, "menuHelp"},
    {ID_CALCULATE, "menuCalc"},
};

constexpr KeyOfCommand kSumwrightCaptions[] = {
    {ID_EXIT, "menuExit"},               {ID_UNDO, "menuUndo"},
    {ID_REDO, "menuRedo"},               {ID_COPY_ANSWER, "menuCopy"},
    {ID_PASTE_CONDITION, "menuPaste"},   {ID_REMOVE_TASK, "menuRemoveTask"},
    {ID_NEW_TASK, "menuNewTask"},        {ID_CALCULATE, "menuCalc"},
    {ID_EXACT_MODE, "menuExa\xd1\x81tCalc"}, {ID_APPROXIMATE_MODE, "menuNotExa\xd1\x81tCalc"},
    {ID_VIEW_STATUS_BAR, "menuStatusBar"}, {ID_VIEW_TOOLBAR, "menuEditPanel"},
    {ID_TOOLS_PANEL, "menuInstrumentPanel"}, {ID_VIEW_STATUS_BAR, "statusBar"},
    {ID_USER_MANUAL, "menuManual"},
};

constexpr const char* kPopupKeys[] = {"mnFile", "mnEdit", "mnView", "mnAction", "mnHelp"};

constexpr KeyOfCommand kToolTips[] = {
    {ID_CALCULATE, "tlCalc"},     {ID_NEW_TASK, "tlNewTask"},       {ID_REMOVE_TASK, "tlRemoveTask"},
    {ID_COPY_ANSWER, "tlCopy"},   {ID_PASTE_CONDITION, "tlPaste"}, {ID_HELP, "tlHelp"},
};

constexpr KeyOfCommand kPrompts[] = {
    {ID_CALCULATE, "sbmCalc"},          {ID_NEW_TASK, "sbmNewTask"},
    {ID_REMOVE_TASK, "sbmRemoveTask"},  {ID_TOOLS_PANEL, "sbmInstrumentBar"},
    {ID_EXACT_MODE, "sbmExactCalc"},    {ID_APPROXIMATE_MODE, "sbmNoExactCalc"},
    {ID_UNDO, "sbmUndo"},               {ID_REDO, "sbmRedo"},
    {ID_COPY_ANSWER, "sbmCopy"},        {ID_PASTE_CONDITION, "sbmPaste"},
    {ID_HELP, "sbmHelp"},               {ID_VIEW_TOOLBAR, "sbmToolBar"},
    {ID_VIEW_STATUS_BAR, "sbmStatusBar"}, {ID_EXIT, "sbmExit"},
};

CReckonryMainFrame::HowTodoPresenter& howTodoPresenter()
{
    static CReckonryMainFrame::HowTodoPresenter presenter;
    return presenter;
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

const char* const CReckonryMainFrame::kSumwrightTitle = "Калькулятор Sumwright";

void CReckonryMainFrame::SetHowTodoPresenter(HowTodoPresenter presenter) { howTodoPresenter() = std::move(presenter); }

std::string CReckonryMainFrame::Lang(const char* key) { return shared::GetLangString(key); }

const char* CReckonryMainFrame::TitleKey() const { return m_program == Program::Sumwright ? "appTitle2" : "appTitle"; }

CReckonryMainFrame::CReckonryMainFrame(Program program)
    : CKernelFuncMgr("reckonry.clew"), m_program(program)
{
    setObjectName(program == Program::Reckonry ? QStringLiteral("Reckonry") : QStringLiteral("Sumwright"));
    setMinimumSize(kMinWidth, kMinHeight);
}

CReckonryMainFrame::~CReckonryMainFrame()
{
    if (m_idleTimer)
        m_idleTimer->stop();
    // The pages (whose sinks name this frame) and the guide's sink go while
    // the frame is whole; the sink lets go before its control.
    delete m_tabs;
    m_tabs = nullptr;
    if (m_guideEvents)
        m_guideEvents->Unadvise();
    m_guideEvents.reset();
    m_guide.reset();
    delete m_animWnd.data();
}

void CReckonryMainFrame::SetUpSplash(Program program, shared::CSplashScreen& splash, QWidget* owner)
{
    namespace fmt = shared::DrawTextFormat;
    using shared::SplashFontStyle::Bold;
    constexpr unsigned kOptions = 11;
    if (program == Program::Reckonry) {
        splash.Create(owner, qs(Lang("appTitle")), 0, kOptions);
        splash.SetBitmap(196, QStringLiteral("reckonry"), 255, 255, 255);
        splash.SetStatusFont(QStringLiteral("Arial"), 80, 0);
        splash.SetStatusRect(QRect(QPoint(50, 0), QPoint(300, 99)));
        splash.SetStatusFormat(fmt::SingleLine | fmt::Bottom);
        splash.SetTitleFont(QStringLiteral("Times"), 130, Bold);
        splash.SetTitleColor(Qt::white);
        splash.SetTitleRect(QRect(QPoint(20, 10), QPoint(300, 100)));
        splash.SetTitleFormat(fmt::SingleLine | fmt::Center);
        splash.SetStatusText(qs(Lang("splash_initclew")));
    } else {
        splash.Create(owner, QString(), 0, kOptions);
        splash.SetBitmap(136, QStringLiteral("sumwright"), -1, -1, -1);
        splash.SetStatusFont(QStringLiteral("Arial"), 80, 0);
        splash.SetStatusRect(QRect(QPoint(0, 200), QPoint(450, 340)));
        splash.SetStatusFormat(fmt::SingleLine | fmt::Bottom | fmt::Center);
        splash.SetTitleFont(QStringLiteral("Times"), 130, Bold);
        splash.SetTitleColor(Qt::white);
        splash.SetTitleRect(QRect(QPoint(250, 20), QPoint(400, 150)));
        splash.SetTitleFormat(fmt::Center | fmt::WordBreak);
        splash.SetStatusText(qs(Lang("createMainFrame")));
    }
    splash.Show();
}

bool CReckonryMainFrame::Create()
{
    const bool solver = m_program == Program::Reckonry;
    // The boxes the shared services show for the program carry its title.
    shared::SetProgramTitleKey(TitleKey());
    shared::CSplashScreen splash;
    SetUpSplash(m_program, splash, this);

    m_tabs = new CTaskTabCtrl(m_program, *this, solver ? nullptr : this, this);
    setCentralWidget(m_tabs);
    createActions();
    createMenus();
    if (!createToolBar() || !createStatusBar())
        return false;
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    setDockNestingEnabled(false);
    setWindowIcon(QIcon(QStringLiteral(":/%1/icon/128.png").arg(solver ? "reckonry" : "sumwright")));

    if (!solver)
        splash.SetStatusText(qs(Lang("loadServer")));
    InitKernel();

    m_toolsPanel = false;
    setWindowTitle(solver ? qs(Lang("appTitle")) : QString::fromUtf8(kSumwrightTitle));
    if (!solver)
        splash.SetStatusText(qs(Lang("loadMenu")));
    setMenuCaptions();

    addTask(false);
    m_firstSize = true;
    if (solver) {
        splash.SetStatusText(qs(Lang("splash_initguide")));
        createGuide();
        splash.SetStatusText(qs(Lang("splash_initother")));
        setMenuCaptions();
    } else {
        m_tabs->SetDrawMode(2);
        shared::SetFlatTabStyleFlags(true, 14);
        m_tabs->SetBkColor(ThemeQColor(1));
    }
    m_tabs->setFocus();

    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(200);
    connect(m_idleTimer, &QTimer::timeout, this, &CReckonryMainFrame::UpdateCommandUI);
    m_idleTimer->start();
    UpdateCommandUI();
    return true;
}

void CReckonryMainFrame::createActions()
{
    const bool solver = m_program == Program::Reckonry;
    std::vector<int> ids = {ID_CALCULATE,     ID_NEW_TASK, ID_REMOVE_TASK, ID_TOOLS_PANEL, ID_EXACT_MODE,
                            ID_APPROXIMATE_MODE, ID_UNDO,  ID_REDO,        ID_COPY_ANSWER, ID_PASTE_CONDITION,
                            ID_HELP,          ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_EXIT, ID_USER_MANUAL,
                            ID_APP_ABOUT};
    if (solver) {
        ids.push_back(ID_FILE_SAVE);
        ids.push_back(ID_METHODICAL);
    }
    for (int id : ids) {
        auto* action = new QAction(this);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        m_actions[id] = action;
    }
    for (int id : {ID_TOOLS_PANEL, ID_EXACT_MODE, ID_APPROXIMATE_MODE, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
        m_actions[id]->setCheckable(true);
    m_actions[ID_USER_MANUAL]->setText(QString::fromUtf8(kUserManualText));
    m_actions[ID_APP_ABOUT]->setText(QString::fromUtf8(kAboutText));
    if (solver)
        m_actions[ID_METHODICAL]->setText(QString::fromUtf8(kMethodicalText));

    for (const KeyOfCommand& tip : kToolTips)
        m_actions[tip.id]->setToolTip(qs(Lang(tip.key)));
    for (const KeyOfCommand& prompt : kPrompts) {
        // The calculator's help prompt belongs to its user manual.
        const int id = !solver && prompt.id == ID_HELP ? ID_USER_MANUAL : prompt.id;
        m_actions[id]->setStatusTip(qs(Lang(prompt.key)));
    }
}

void CReckonryMainFrame::createMenus()
{
    const bool solver = m_program == Program::Reckonry;
    QMenuBar* bar = menuBar();
    for (int i = 0; i < 5; ++i) {
        m_popups[i] = bar->addMenu(QString());
        connect(m_popups[i], &QMenu::aboutToShow, this, &CReckonryMainFrame::UpdateCommandUI);
    }
    if (solver) {
        m_popups[0]->addAction(m_actions[ID_FILE_SAVE]);
        m_popups[0]->addSeparator();
    }
    m_popups[0]->addAction(m_actions[ID_EXIT]);
    m_popups[1]->addAction(m_actions[ID_UNDO]);
    m_popups[1]->addAction(m_actions[ID_REDO]);
    m_popups[1]->addSeparator();
    m_popups[1]->addAction(m_actions[ID_COPY_ANSWER]);
    m_popups[1]->addAction(m_actions[ID_PASTE_CONDITION]);
    m_popups[2]->addAction(m_actions[ID_VIEW_TOOLBAR]);
    m_popups[2]->addAction(m_actions[ID_VIEW_STATUS_BAR]);
    m_popups[2]->addAction(m_actions[ID_TOOLS_PANEL]);
    m_popups[3]->addAction(m_actions[ID_NEW_TASK]);
    m_popups[3]->addAction(m_actions[ID_REMOVE_TASK]);
    m_popups[3]->addSeparator();
    m_popups[3]->addAction(m_actions[ID_CALCULATE]);
    m_popups[3]->addSeparator();
    m_popups[3]->addAction(m_actions[ID_EXACT_MODE]);
    m_popups[3]->addAction(m_actions[ID_APPROXIMATE_MODE]);
    if (solver)
        m_popups[4]->addAction(m_actions[ID_HELP]);
    m_popups[4]->addAction(m_actions[ID_USER_MANUAL]);
    if (solver)
        m_popups[4]->addAction(m_actions[ID_METHODICAL]);
    m_popups[4]->addSeparator();
    m_popups[4]->addAction(m_actions[ID_APP_ABOUT]);
}

bool CReckonryMainFrame::createToolBar()
{
    const bool solver = m_program == Program::Reckonry;
    const QImage strip(QStringLiteral(":/%1/bitmap/%2.png").arg(solver ? "reckonry" : "sumwright").arg(solver ? 136 : 132));
    if (strip.isNull())
        return false;
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setProperty("dlgCtrlId", kToolBarId);
    m_toolBar->setIconSize(QSize(kImageWidth, kImageHeight));
    m_toolBar->setMovable(true);
    int image = 0;
    for (int id : kToolBarButtons) {
        QImage picture = strip.copy(image * kImageWidth, 0, kImageWidth, kImageHeight)
                             .convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if ((picture.pixel(x, y) & 0xFFFFFF) == (kMaskColour & 0xFFFFFF))
                    picture.setPixel(x, y, 0);
        m_actions[id]->setIcon(QIcon(QPixmap::fromImage(picture)));
        m_toolBar->addAction(m_actions[id]);
        ++image;
    }
    return true;
}

bool CReckonryMainFrame::createStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setProperty("dlgCtrlId", kStatusBarId);
    m_prompt = new QLabel(qs(Lang("sbmReady")), bar);
    bar->addWidget(m_prompt, 1);
    // The keyboard indicator panes, sized for their texts.
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(bar);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString::fromLatin1(indicator)) + 8);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(pane);
    }
    setStatusBar(bar);
    return true;
}

void CReckonryMainFrame::createGuide()
{
    using namespace solvehost;
    m_guideBar = new shared::CDockingPaneBar;
    const bool made = m_guideBar->Create(this, nullptr, qs(Lang("guideBar")), kGuideBarId, 0x50001400,
                                         [this](QWidget* parent, int) -> QWidget* {
                                             m_guide = std::make_unique<CPathmentorCtrl>();
                                             m_guide->Create(QString(), WS_CHILD | WS_VISIBLE, QRect(0, 0, 250, 400),
                                                             parent, 1);
                                             return m_guide.get();
                                         });
    if (!made) {
        delete m_guideBar;
        m_guideBar = nullptr;
        m_guide.reset();
        return;
    }
    m_guideBar->setObjectName(QStringLiteral("guideBar"));
    m_guideBar->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, m_guideBar);

    bool loaded = false;
    try {
        m_guide->SetForeColor(ThemeOleColor(0));
        m_guide->SetBackColor(ThemeOleColor(1));
        std::string guideFile = shared::CSettings::Instance().GetModulePath() + "lang\\" +
                                shared::CSettings::Instance().GetLanguage() + "\\reckonry\\reckonry.xml";
        std::replace(guideFile.begin(), guideFile.end(), '\\', '/');
        m_guide->SetGuideDocFile(guideFile);
        m_guide->SetShowExtendedTransformations(1);
        m_guide->SetSendExtendedInformation(0);
        m_guide->SetShowRecomendedChapter(0);
        loaded = m_guide->InitializeGuide();
    } catch (const platform::com::Error&) {
        loaded = false;
    }
    if (!loaded)
        Message(Lang("errGuideLoad"));
    m_guideEvents = std::make_unique<CPathmentorCtrlEvents>(this);
    m_guideEvents->Advise(m_guide.get());
    // The guide's flat-tab style word holds for the task tabs too.
    m_tabs->FollowStyleFlags();
}

void CReckonryMainFrame::setMenuCaptions()
{
    for (int i = 0; i < 5; ++i)
        m_popups[i]->setTitle(qs(Lang(kPopupKeys[i])));
    auto apply = [this](const KeyOfCommand& caption) {
        const auto found = m_actions.find(caption.id);
        if (found == m_actions.end())
            return;
        // Only an item the menu holds takes a caption.
        for (QMenu* popup : m_popups)
            if (popup->actions().contains(found->second))
                found->second->setText(qs(Lang(caption.key)));
    };
    if (m_program == Program::Reckonry)
        for (const KeyOfCommand& caption : kReckonryCaptions)
            apply(caption);
    else
        for (const KeyOfCommand& caption : kSumwrightCaptions)
            apply(caption);
}

QAction* CReckonryMainFrame::GetAction(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QMenu* CReckonryMainFrame::GetPopup(int position) const
{
    return position >= 0 && position < 5 ? m_popups[position] : nullptr;
}

solvehost::CSymbrantCtrl* CReckonryMainFrame::currentCondition() const
{
    CReckonryTaskWnd* page = m_tabs ? m_tabs->GetCurrentPage() : nullptr;
    return page ? &page->Condition() : nullptr;
}

solvehost::CSymbrantCtrl* CReckonryMainFrame::currentAnswer() const
{
    CReckonryTaskWnd* page = m_tabs ? m_tabs->GetCurrentPage() : nullptr;
    return page ? &page->Answer() : nullptr;
}

const ModeCodes& CReckonryMainFrame::modeCodes() const
{
    return m_program == Program::Reckonry ? kReckonryModeCodes : kSumwrightModeCodes;
}

void CReckonryMainFrame::UpdateCommandUI()
{
    if (m_actions.empty())
        return;
    solvehost::CSymbrantCtrl* condition = currentCondition();
    solvehost::CSymbrantCtrl* answer = currentAnswer();
    const bool task = condition != nullptr;
    bool canUndo = false, canRedo = false, hasAnswer = false, hasCondition = false;
    try {
        if (condition) {
            canUndo = condition->CanUndo();
            canRedo = condition->CanRedo();
            hasCondition = !condition->GetAplanText().empty();
        }
        if (answer)
            hasAnswer = !answer->GetAplanText().empty();
    } catch (const platform::com::Error&) {
    }
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    const bool clipText = clip && clip->hasText();

    auto set = [this](int id, bool enabled) {
        if (QAction* a = GetAction(id))
            a->setEnabled(enabled);
    };
    auto check = [this](int id, bool checked) {
        if (QAction* a = GetAction(id))
            a->setChecked(checked);
    };
    set(ID_NEW_TASK, true);
    set(ID_REMOVE_TASK, task);
    set(ID_TOOLS_PANEL, task);
    check(ID_TOOLS_PANEL, m_toolsPanel);
    set(ID_EXACT_MODE, true);
    set(ID_APPROXIMATE_MODE, true);
    check(ID_EXACT_MODE, m_exactMode);
    check(ID_APPROXIMATE_MODE, !m_exactMode);
    set(ID_UNDO, canUndo);
    set(ID_REDO, canRedo);
    set(ID_COPY_ANSWER, task && hasAnswer);
    set(ID_PASTE_CONDITION, task && clipText);
    check(ID_VIEW_TOOLBAR, m_toolBar && !m_toolBar->isHidden());
    check(ID_VIEW_STATUS_BAR, statusBar() && !statusBar()->isHidden());
    set(ID_EXIT, true);
    set(ID_USER_MANUAL, true);
    set(ID_METHODICAL, true);
    set(ID_CALCULATE, task && hasCondition);
    // What nothing handles is greyed.
    set(ID_FILE_SAVE, false);
    set(ID_HELP, false);
    set(ID_APP_ABOUT, false);
}

void CReckonryMainFrame::onCommand(int id)
{
    const bool solver = m_program == Program::Reckonry;
    switch (id) {
    case ID_NEW_TASK: OnNewTask(); break;
    case ID_REMOVE_TASK: OnRemoveTask(); break;
    case ID_TOOLS_PANEL: OnToolsPanel(); break;
    case ID_EXACT_MODE: OnExactMode(); break;
    case ID_APPROXIMATE_MODE: OnApproximateMode(); break;
    case ID_UNDO:
        if (auto* c = currentCondition())
            c->Undo();
        break;
    case ID_REDO:
        if (auto* c = currentCondition())
            c->Redo();
        break;
    case ID_COPY_ANSWER:
        if (auto* a = currentAnswer())
            a->CopyAll();
        break;
    case ID_PASTE_CONDITION:
        if (auto* c = currentCondition())
            c->Paste();
        break;
    case ID_VIEW_TOOLBAR: m_toolBar->setVisible(m_toolBar->isHidden()); break;
    case ID_VIEW_STATUS_BAR: statusBar()->setVisible(statusBar()->isHidden()); break;
    case ID_EXIT: close(); break;
    case ID_USER_MANUAL:
        shared::CSettings::Instance().OpenHelpDocument(solver ? shared::HelpDocument::ReckonryManual
                                                              : shared::HelpDocument::Sumwright);
        break;
    case ID_METHODICAL: shared::CSettings::Instance().OpenHelpDocument(shared::HelpDocument::ReckonryMethods); break;
    case ID_CALCULATE:
        // The solver has no calculation of its own: its guide solves.
        if (!solver)
            OnCalculate();
        break;
    default: break;
    }
    UpdateCommandUI();
}

bool CReckonryMainFrame::addTask(bool ask)
{
    bool cancelled = false;
    if (m_tabs->AddTask(ask, &cancelled))
        return true;
    if (!cancelled)
        Message(Lang("ErTaskAdd"));
    return false;
}

void CReckonryMainFrame::OnNewTask() { addTask(true); }

void CReckonryMainFrame::OnRemoveTask()
{
    if (!m_tabs->GetCurrentPage())
        return;
    if (m_program == Program::Sumwright &&
        Message(Lang("removeAsk"), MessageButtons::OkCancel, MessageIcon::Question) != MessageAnswer::Ok)
        return;
    m_tabs->RemoveCurrentTask();
    if (m_tabs->GetItemCount() == 0)
        m_toolsPanel = false;
    UpdateCommandUI();
}

void CReckonryMainFrame::OnToolsPanel()
{
    solvehost::CSymbrantCtrl* condition = currentCondition();
    if (!condition)
        return;
    try {
        if (m_toolsPanel) {
            condition->HideToolsDlg("");
            m_toolsPanel = false;
        } else {
            condition->ShowToolsDlg("");
            m_toolsPanel = true;
        }
    } catch (const platform::com::Error&) {
    }
    UpdateCommandUI();
}

void CReckonryMainFrame::OnExactMode()
{
    m_exactMode = true;
    std::string reply;
    CallKernel(modeCodes().setMode, "0", reply);
    UpdateCommandUI();
}

void CReckonryMainFrame::OnApproximateMode()
{
    const ModeCodes& codes = modeCodes();
    std::string precision;
    CallKernel(codes.readPrecision, m_program == Program::Reckonry ? "" : "1", precision);
    CExactDialog dialog(qs(precision), this);
    if (dialog.exec() == QDialog::Accepted) {
        std::string reply;
        CallKernel(codes.setMode, "1", reply);
        CallKernel(codes.setPrecision, dialog.GetText().toStdString(), reply);
        m_exactMode = false;
    }
    UpdateCommandUI();
}

void CReckonryMainFrame::Solve(std::uint32_t code)
{
    std::string condition;
    if (!m_tabs->IsConditionValid(&condition)) {
        Message(Lang("ErINVALID"));
        return;
    }
    std::string reply;
    if (!CallKernel(static_cast<std::int32_t>(code), condition, reply)) {
        Message(reply == solvehost::kNoResult ? std::string(kBadTask) : Lang("ErExpr"));
        return;
    }
    m_tabs->SetAnswer(reply);
    UpdateCommandUI();
}

void CReckonryMainFrame::OnCalculate()
{
    std::string condition;
    if (!m_tabs->IsConditionValid(&condition)) {
        Message(Lang("ErINVALID"));
        return;
    }
    std::string reply;
    // No reply, "NORESE" and "\"NORES\"" all mean the kernel found no value.
    if (!CallKernel(kCalculateCode, condition, reply) || reply == kNoValue) {
        Message(Lang("ErExpr"));
        return;
    }
    m_tabs->SetAnswer(reply);
    UpdateCommandUI();
}

void CReckonryMainFrame::OnApplyingTransformationEx(std::uint32_t, std::uint8_t, const std::string&,
                                                    solvehost::VARIANT_BOOL, solvehost::VARIANT_BOOL,
                                                    solvehost::VARIANT_BOOL, std::uint8_t, const std::string&)
{
    Message(kGuideExtNotSupported);
}

void CReckonryMainFrame::OnApplyingTransformation(std::uint32_t aplanFunction, const std::string&, const std::string&)
{
    Solve(aplanFunction);
}

void CReckonryMainFrame::OnShowExtendedHowTodo(const std::string& howToDo)
{
    if (howTodoPresenter())
        m_animWnd = howTodoPresenter()(this, m_animWnd.data(), howToDo);
}

void CReckonryMainFrame::OnFormulaChanged()
{
    if (CReckonryTaskWnd* page = m_tabs ? m_tabs->GetCurrentPage() : nullptr) {
        try {
            page->SetAnswerText("");
        } catch (const platform::com::Error&) {
        }
    }
}

void CReckonryMainFrame::OnToolsDialogClosed()
{
    m_toolsPanel = false;
    UpdateCommandUI();
}

MessageAnswer CReckonryMainFrame::Message(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    if (icon == MessageIcon::None)
        icon = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageIcon::Question
                                                                                          : MessageIcon::Warning;
    return platform::showMessage(text, Lang(TitleKey()), icon, buttons, this);
}

void CReckonryMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!m_firstSize || !m_tabs)
        return;
    m_firstSize = false;
    // The halves are set once the new size has reached the page.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (CReckonryTaskWnd* page = m_tabs ? m_tabs->GetCurrentPage() : nullptr) {
                const int half = std::max(page->Splitter().contentsRect().height() / 2, 1);
                page->Splitter().SetPaneSizes({half, half});
            }
        },
        Qt::QueuedConnection);
}

void CReckonryMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_animWnd)
        m_animWnd->close();
    QMainWindow::closeEvent(event);
}

}  // namespace reckonry
