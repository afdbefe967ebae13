#pragma once
// The drill's main window: the menu, the solving kernel, the exercise and
// the panel that shows it.
#include <map>
#include <memory>
#include <string>

#include <QMainWindow>

#include "exercise/exercise_model.h"
#include "exercise/exercise_panel.h"
#include "solvehost/solve_kernel.h"

class QAction;

namespace exercise {

class CExerciseFrame : public QMainWindow, public IExerciseOwner, public solvehost::CKernelFuncMgr {
public:
    // Menu commands.
    static constexpr int kCommandExit = 57665;
    static constexpr int kCommandAbout = 57664;
    static constexpr int kCommandCheck = 130;
    static constexpr int kCommandRepeat = 131;

    CExerciseFrame(int exerciseNumber, std::string modulePath, std::string language);
    ~CExerciseFrame() override;

    // The creation steps: the panel, the title and icon, the kernel, the
    // menu, the exercise and its layout.
    void Create();

    bool ExecKernelRequest(int code, const std::string& text, std::string& result) override;
    int GetKernelCode() const override { return m_model.GetKernelCode(); }
    // Command 131: three new tasks in the rows; the lights stay.
    void OnExerciseRepeat();

    int GetExerciseNumber() const { return m_exerciseNumber; }
    CExercisePanel* Panel() const { return m_panel; }
    const CExerciseModel& Model() const { return m_model; }
    QAction* Command(int id) const;

private:
    void CreateMenu();

    int m_exerciseNumber;
    CExerciseModel m_model;
    CExercisePanel* m_panel = nullptr;
    std::map<int, QAction*> m_commands;
};

}  // namespace exercise
