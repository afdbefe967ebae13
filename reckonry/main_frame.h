#pragma once
// The main frame of the solver (Reckonry) and of the calculator (Sumwright):
// task tabs in the client area, the toolbar and the status bar, the commands
// with their enable and check rules, the solving kernel, and in the solver
// the guide docked at the right, whose events start the solving.
#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/message_box.h"
#include "reckonry/command_ids.h"
#include "reckonry/task_tab_ctrl.h"
#include "solvehost/pathmentor_ctrl.h"
#include "solvehost/solve_kernel.h"
#include "solvehost/symbrant_ctrl.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace shared {
class CDockingPaneBar;
class CSplashScreen;
}  // namespace shared

namespace reckonry {

class CReckonryMainFrame : public QMainWindow,
                           public solvehost::CKernelFuncMgr,
                           public solvehost::IGuideEventListener,
                           public solvehost::IFormulaEventListener,
                           public ITaskTabOwner {
public:
    static constexpr int kMinWidth = 640;
    static constexpr int kMinHeight = 480;
    static constexpr int kToolBarId = 0xE800;
    static constexpr int kStatusBarId = 59393;
    static constexpr int kGuideBarId = 101;
    static constexpr int kImageWidth = 16;
    static constexpr int kImageHeight = 15;
    // The calculator's window title, the program's own.
    static const char* const kSumwrightTitle;

    // Shows the how-to-do text in the animation window `existing` (made when
    // null) and answers the window. The solver's main gives it: the window
    // needs the web engine, which the frame's library does not load.
    using HowTodoPresenter = std::function<QWidget*(QWidget* parent, QWidget* existing, const std::string& text)>;
    static void SetHowTodoPresenter(HowTodoPresenter presenter);

    explicit CReckonryMainFrame(Program program);
    ~CReckonryMainFrame() override;

    // Builds the frame behind its splash screen: bars, commands, kernel,
    // the first task and (solver) the guide. False when a bar cannot be made.
    bool Create();

    Program GetProgram() const { return m_program; }
    CTaskTabCtrl* GetTaskTabs() const { return m_tabs; }
    QAction* GetAction(int id) const;
    QToolBar* GetToolBar() const { return m_toolBar; }
    QLabel* GetPromptPane() const { return m_prompt; }
    QMenu* GetPopup(int position) const;
    shared::CDockingPaneBar* GetGuideBar() const { return m_guideBar; }
    solvehost::CPathmentorCtrl* GetGuide() const { return m_guide.get(); }
    solvehost::CPathmentorCtrlEvents* GetGuideEvents() const { return m_guideEvents.get(); }
    QWidget* GetAnimWindow() const { return m_animWnd; }
    bool IsExactMode() const { return m_exactMode; }
    bool IsToolsPanelOn() const override { return m_toolsPanel; }

    // The enable and check states of every command, as the frame sets them
    // while idle.
    void UpdateCommandUI();

    // Commands.
    void OnNewTask();
    void OnRemoveTask();
    void OnToolsPanel();
    void OnExactMode();
    void OnApproximateMode();
    void OnCalculate();
    void Solve(std::uint32_t code);

    // IGuideEventListener.
    void OnApplyingTransformationEx(std::uint32_t aplanFunction, std::uint8_t trType, const std::string& action,
                                    solvehost::VARIANT_BOOL needDialog, solvehost::VARIANT_BOOL needAllExpression,
                                    solvehost::VARIANT_BOOL multyFormulaChoice, std::uint8_t formulaIndex,
                                    const std::string& additionalParams) override;
    void OnApplyingTransformation(std::uint32_t aplanFunction, const std::string& action,
                                  const std::string& additionalParams) override;
    void OnShowExtendedHowTodo(const std::string& howToDo) override;

    // IFormulaEventListener (the calculator's conditions).
    void OnFormulaChanged() override;
    void OnToolsDialogClosed() override;

    // The program's message box: owned by this window; the calculator's
    // carries "appTitle2", the solver's "appTitle"; the question icon for
    // yes/no, else the exclamation icon, unless `icon` says otherwise.
    platform::MessageAnswer Message(const std::string& text,
                                    platform::MessageButtons buttons = platform::MessageButtons::Ok,
                                    platform::MessageIcon icon = platform::MessageIcon::None);
    // The language text under `key`.
    static std::string Lang(const char* key);
    // The key of the program's title: the calculator's "appTitle2", the
    // solver's "appTitle".
    const char* TitleKey() const;

    // The splash screen of the program as the frame opens it.
    static void SetUpSplash(Program program, shared::CSplashScreen& splash, QWidget* owner);

protected:
    // The kernel binding's messages are the program's boxes too.
    void ShowKernelMessage(const std::string& text) override { Message(text); }
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    bool createToolBar();
    bool createStatusBar();
    void createGuide();
    void setMenuCaptions();
    void onCommand(int id);
    bool addTask(bool ask);
    solvehost::CSymbrantCtrl* currentCondition() const;
    solvehost::CSymbrantCtrl* currentAnswer() const;
    const ModeCodes& modeCodes() const;

    const Program m_program;
    std::map<int, QAction*> m_actions;
    QMenu* m_popups[5] = {};
    CTaskTabCtrl* m_tabs = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_prompt = nullptr;
    shared::CDockingPaneBar* m_guideBar = nullptr;
    std::unique_ptr<solvehost::CPathmentorCtrl> m_guide;
    std::unique_ptr<solvehost::CPathmentorCtrlEvents> m_guideEvents;
    QPointer<QWidget> m_animWnd;
    QTimer* m_idleTimer = nullptr;
    bool m_exactMode = true;
    bool m_toolsPanel = false;
    bool m_firstSize = false;
};

}  // namespace reckonry
