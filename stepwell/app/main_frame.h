#pragma once
// The program's main window: the condition, the steps and the answer in a
// proportional splitter, the guide in a docking bar, the menus and the tool
// bar; it receives tasks from the sibling programs on its endpoint
// "Stepwell_tessaly_WindowClassName" from its creation on.
#include <QFont>
#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/dispatch_driver.h"
#include "platform/ipc/ipc.h"
#include "platform/message_box.h"
#include "solvehost/pathmentor_ctrl.h"
#include "solvehost/solve_kernel.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/app/task_dialogs.h"
#include "stepwell/model/stepwell_config.h"
#include "stepwell/model/task_receiver.h"

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QToolBar;

namespace shared {
class CDockingPaneBar;
class CPrintHtmlView;
class CSplashScreen;
}
namespace solvehost {
class CProportionalSplitterWnd;
class CStepwellConditionWnd;
class CTaskAnimFrame;
}

namespace stepwell {

class CStepwellAnswerWnd;

inline constexpr const char* kWindowClassName = "Stepwell_tessaly_WindowClassName";

class CStepwellMainFrame : public QMainWindow,
                           public solvehost::IGuideEventListener,
                           public ISolveHost,
                           public ITaskDialogHost {
public:
    static constexpr int kConditionViewerId = 102;

    CStepwellMainFrame();
    ~CStepwellMainFrame() override;

    // Builds the panes, bars and menus behind the splash screen; -1 when the
    // condition viewer cannot be made (the program then ends).
    int OnCreate();

    // Every message box of the program: caption "messageTitle", a question
    // mark for Yes/No, else an exclamation mark, modal to the frame.
    platform::MessageAnswer DoMessageBox(const std::string& text,
                                         platform::MessageButtons buttons = platform::MessageButtons::Ok);

    // A text that arrived with a copy-data code; handled in order once no
    // message box is open.
    void OnCopyData(std::uint32_t code, std::string text);
    void SetTaskCondition(const std::string& taskText);
    void LoadSolution(const std::string& solutionXml);
    bool AddStep(const std::string& formulaText, const std::string& description, int kind, int state,
                 int executor, bool isLexemText);
    const TaskTypeRecord* GetCurrentTaskType() const;
    void OnNewTask(int commandId);
    void LoadConfig();
    void LoadConfig(const std::string& path);
    // A task dialog that an arriving task closes (with code 2).
    void RegisterTaskDialog(QDialog* dialog) override;

    // The command's action; null for an id the frame does not carry.
    QAction* action(int id) const;
    QMenu* newTaskMenu() const { return m_newTaskMenu; }
    QToolBar* toolBar() const { return m_toolBar; }
    CStepwellSolveWnd* solveWnd() const { return m_solveWnd; }
    CStepwellAnswerWnd* answerWnd() const { return m_answerWnd; }
    solvehost::CStepwellConditionWnd* conditionWnd() const { return m_conditionWnd; }
    solvehost::CProportionalSplitterWnd* splitter() const { return m_splitter; }
    solvehost::CPathmentorCtrl* guide() const { return m_guide; }
    shared::CDockingPaneBar* guideBar() const { return m_guideBar; }
    CTaskSolution* solution() const { return m_solution.get(); }
    const StepwellConfig& config() const { return m_config; }
    const platform::ipc::Listener& listener() const { return *m_listener; }
    int solvingMode() const { return m_mode; }
    const QFont& frameFont() const override { return m_font; }
    std::size_t pendingTasks() const { return m_receiver.pending(); }
    solvehost::CTaskAnimFrame* animFrame() const;

    // IGuideEventListener
    void OnApplyingTransformationEx(std::uint32_t aplanFunction, std::uint8_t trType, const std::string& action,
                                    solvehost::VARIANT_BOOL needDialog, solvehost::VARIANT_BOOL needAllExpression,
                                    solvehost::VARIANT_BOOL multyFormulaChoice,
                                    std::uint8_t formulaIndex, const std::string& additionalParams) override;
    void OnApplyingTransformation(std::uint32_t aplanFunction, const std::string& action,
                                  const std::string& additionalParams) override;
    void OnShowExtendedHowTodo(const std::string& howToDo) override;

    // The transformation workflow (transformation_workflow.cpp).
    bool BuildTransformationArgs(bool needAllExpression, bool multyFormulaChoice, int formulaIndex,
                                 std::string& args);
    bool CheckStep(int code, const std::string& action, bool needDialog, bool needAllExpression,
                   const std::string& args);
    bool CheckAnswer(int code, const std::string& action, const std::string& args);
    bool ExecuteTransformation();
    // The kernel's interval for the guide arguments, drawn on the number
    // axis (number_axis.cpp); a failing control call throws.
    bool ExchangeInterval(const std::string& args);
    shared::CDockingPaneBar* numberAxisBar() const { return m_numberAxisBar; }
    platform::com::IDispatch* numberAxis() const { return m_numberAxis.get(); }
    const std::string& selection() const { return m_selection; }
    int clickedOperation() const { return m_clickedOperation; }
    solvehost::CKernelFuncMgr* kernel() const { return m_kernel.get(); }

    // Saving and printing the task (save_print.cpp).
    void OnSaveTask();
    // Sends the task document to the program that gave the task out; when it
    // cannot be delivered, keeps a copy in the pupil's own folder and says so,
    // naming the file. True when the work was delivered or kept.
    bool SaveAndSend();
    // Steps that the program that gave the task out has not received.
    bool HasUnsentSteps() const;
    void OnPrintTask();
    shared::CPrintHtmlView* printView() const { return m_printView.get(); }

    // Modes and beginning a solution (solving_modes.cpp).
    void OnModeAuto();
    void OnModeIndependent();
    void OnModeMixed();
    void OnBeginSolution();
    // False with an empty formula: nothing begins.
    bool GetStartFormula(std::string& formula, std::string& message, int& executor);
    // The begin dialog's path of a job that wants the pupil's start formula.
    bool AskStartFormula(std::string& formula, std::string& message, int& executor);
    void StartSolution(const std::string& formula, const std::string& message, int executor);

    // ISolveHost
    platform::MessageAnswer AskUser(const std::string& key, platform::MessageButtons buttons) override;
    void EnableCommand(int id, bool enable) override;
    void ClearOperationState() override;
    int SolvingMode() const override { return m_mode; }
    void SetSelection(const std::string& part) override { m_selection = part; }
    void SetClickedOperation(int operation) override { m_clickedOperation = operation; }
    void LockGuide(bool locked) override;
    void FillRecommended(int operation) override;
    void ReleaseRecommended() override;
    void StartIndependentStep() override;
    bool CallKernel(int code, const std::string& request, std::string& reply) override;
    bool ApplyResult(const std::string& result, const std::string& description, bool wholeFormula,
                     bool throughControl, bool sameDescriptionUpdates, bool asLexemText) override;
    void ShowText(const std::string& text) override { DoMessageBox(text); }
    // ITaskDialogHost (CallKernel above serves both)
    ITaskDialogHost* dialogHost() override { return this; }

    platform::MessageAnswer ShowDialogMessage(const std::string& text) override { return DoMessageBox(text); }
    platform::MessageAnswer ShowBox(const std::string& text, const std::string& caption) override;
    void SetCheckState(int state) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Keeps the condition viewer the size of its pane.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildNewTaskMenu();
    void appendMenuGroup(QMenu* menu, const NewTaskGroup& group);
    void createGuideBar();
    // The formula controls' messages and palette tips in the pupil's language.
    void setFormulaLanguage();
    void setMenuTexts();
    void initMenuState();
    QAction* addCommand(QMenu* menu, int id, const char* key);
    void processPendingTasks();
    // A box is open, or a modal window other than a task dialog: arriving
    // tasks wait.
    bool receivingHeldBack() const;
    void openReceivedTask(const ReceivedTask& task);
    // The three panes at the heights their content wants in the room there
    // is (pane_layout.cpp); queued: once the events in hand are handled.
    void setPaneSizes();
    void queuePaneSizes();
    // The number axis's origin where its labels fit at the bar's size.
    void placeNumberAxisOrigin();
    void onDestroy();

    // Command handlers.
    void onViewEditor();
    void onViewGuide();
    void onViewToolbar();
    void onViewExGuide();
    void onViewAutoScroll();
    void onViewStepScroll();
    void onSolvingMode(int mode, int commandId);
    // Starts a sibling program; one that is not installed is named to the
    // pupil by the menu text under `nameKey`.
    void onStartSibling(const char* program, const char* nameKey);
    // Resets what the previous task left in the views: the number axis, the
    // guide's recommended chapter, the editor panel and the print view.
    void clearTaskViews();
    // A task text that does not read: the pupil's text, the developer's on
    // the error stream.
    void reportTaskNotRead();
    // A kernel request that cannot be made: the missing-kernel text, once
    // for everything one action asks.
    void reportKernelMissing();
    // The formulas of an arriving task through a hidden formula control;
    // false when one does not read.
    bool formulasRead(const std::vector<std::string>& formulas);
    // The pupil's copy of a task document in the user's own folder; its path,
    // or empty when it cannot be written.
    std::string keepTaskDocument(const std::string& document);
    void onHelpLexivane();
    void onViewNumberAxis();
    // The bar with the number-axis control, made by the first exchange.
    bool createNumberAxis();
    // The intervals of the previous task taken off the axis, and its bar hidden.
    void clearNumberAxis();

    std::unique_ptr<CTaskSolution> m_solution;
    // Counts the tasks set: a handler that waited in a dialog sees whether
    // its task is still the one open.
    std::uint64_t m_taskSerial = 0;
    std::string m_selection;
    int m_mode = 3;
    StepwellConfig m_config;
    std::string m_currentTaskType;
    bool m_editorPanel = false;
    int m_clickedOperation = 0;
    QFont m_font;

    QToolBar* m_toolBar = nullptr;
    std::vector<QLabel*> m_statusPanes;
    solvehost::CProportionalSplitterWnd* m_splitter = nullptr;
    solvehost::CStepwellConditionWnd* m_conditionWnd = nullptr;
    CStepwellSolveWnd* m_solveWnd = nullptr;
    CStepwellAnswerWnd* m_answerWnd = nullptr;
    std::unique_ptr<shared::CPrintHtmlView> m_printView;
    solvehost::CPathmentorCtrl* m_guide = nullptr;
    shared::CDockingPaneBar* m_guideBar = nullptr;
    solvehost::CPathmentorCtrlEvents m_guideEvents;
    QPointer<solvehost::CTaskAnimFrame> m_animFrame;
    std::unique_ptr<solvehost::CKernelFuncMgr> m_kernel;
    shared::CDockingPaneBar* m_numberAxisBar = nullptr;
    QPointer<QWidget> m_numberAxisWindow;
    platform::com::DispatchDriver m_numberAxis;

    std::map<int, QAction*> m_actions;
    QMenu* m_newTaskMenu = nullptr;
    QActionGroup* m_modeGroup = nullptr;
    std::vector<QPointer<QDialog>> m_taskDialogs;

    // The task document as it was last delivered (or as it arrived).
    std::string m_sentDocument;
    bool m_kernelReported = false;

    CTaskReceiver m_receiver;
    bool m_paneSizesQueued = false;
    bool m_retryArmed = false;
    bool m_destroyed = false;
    std::unique_ptr<platform::ipc::Listener> m_listener;
};

}  // namespace stepwell
