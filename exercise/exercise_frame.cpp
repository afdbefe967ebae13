#include "exercise/exercise_frame.h"

#include <utility>

#include <QAction>
#include <QIcon>
#include <QMenuBar>

#include "shared/language.h"

namespace exercise {

CExerciseFrame::CExerciseFrame(int exerciseNumber, std::string modulePath, std::string language)
    : solvehost::CKernelFuncMgr("exercise.clew"),
      m_exerciseNumber(exerciseNumber),
      m_model(std::move(modulePath), std::move(language))
{
    setMinimumSize(600, 450);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CExerciseFrame::~CExerciseFrame() = default;

void CExerciseFrame::Create()
{
    m_panel = new CExercisePanel(this, this);
    m_panel->setObjectName("panel");
    setCentralWidget(m_panel);
    setWindowTitle(QString::fromStdString(shared::GetLangString("appTitle")));
    setWindowIcon(QIcon(":/rivodadi/icon/128.png"));
    InitKernel();
    CreateMenu();
    m_model.LoadExercise(m_exerciseNumber, this);
    m_panel->LayoutExercise(m_model.GetWorkingExercise());
    m_panel->setFocus();
}

void CExerciseFrame::CreateMenu()
{
    const auto caption = [](const char* key) { return QString::fromStdString(shared::GetLangString(key)); };
    const auto add = [this](QMenu* menu, int id, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        m_commands[id] = action;
        return action;
    };
    QMenu* file = menuBar()->addMenu(caption("mnuFile"));
    connect(add(file, kCommandExit, caption("mnuFileExit")), &QAction::triggered, this, &QWidget::close);
    QMenu* drill = menuBar()->addMenu(caption("mnuExercise"));
    connect(add(drill, kCommandRepeat, caption("mnuExerciseRepeat")), &QAction::triggered, this,
            [this] { OnExerciseRepeat(); });
    connect(add(drill, kCommandCheck, caption("mnuExerciseCheck")), &QAction::triggered, this,
            [this] { m_panel->OnCheck(); });
    QMenu* help = menuBar()->addMenu(caption("mnuHelp"));
    add(help, kCommandAbout, caption("mnuHelpAbout"));  // the About command has no effect
}

QAction* CExerciseFrame::Command(int id) const
{
    const auto found = m_commands.find(id);
    return found == m_commands.end() ? nullptr : found->second;
}

bool CExerciseFrame::ExecKernelRequest(int code, const std::string& text, std::string& result)
{
    if (!m_pSolveKernel)
        return false;
    char* reply = nullptr;
    try {
        const bool ok = m_pSolveKernel->GetResult(text.c_str(), code, &reply);
        if (!reply)
            return false;
        const std::string copy = reply;
        // Every reply goes back to the kernel, that of a failed call too.
        char* handedBack = std::exchange(reply, nullptr);
        m_pSolveKernel->RemoveResult(handedBack);
        if (!ok)
            return false;
        result = copy;
        return result != solvehost::kNoResult;
    } catch (const std::exception&) {
        if (reply)
            m_pSolveKernel->RemoveResult(reply);
        return false;
    }
}

void CExerciseFrame::OnExerciseRepeat()
{
    if (!m_model.IsLoaded())
        return;
    m_model.createWorkingExercise(this);
    m_panel->FillRows(m_model.GetWorkingExercise());
}

}  // namespace exercise
