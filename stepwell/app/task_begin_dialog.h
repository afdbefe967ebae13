#pragma once
// The dialog in which the pupil writes the equation or system a text task
// leads to; the kernel checks it against the task's own. Auto-complete lets
// the program supply it. Built in code; each control's object name is its id.
#include <QDialog>
#include <QPointer>
#include <QRect>

#include <string>

#include "solvehost/anim/task_anim_frame.h"
#include "stepwell/app/task_dialogs.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace solvehost {
class CSymbrantCtrl;
}

namespace stepwell {

class CTaskBeginFormulaDlg : public QDialog {
public:
    static constexpr int kGroup = 1010;
    static constexpr int kEquation = 1011;
    static constexpr int kSystem = 1012;
    static constexpr int kMathPanel = 1001;
    static constexpr int kApply = 1007;
    static constexpr int kAutoComplete = 1009;
    static constexpr int kShowAnim = 1015;
    // Results besides Cancel: the pupil's formula was right, or the program supplies it.
    static constexpr int kResultUser = 1;
    static constexpr int kResultProgram = 5;

    // kind 1 equation, 2 system; the reference formula is the task's Aplan.
    CTaskBeginFormulaDlg(ITaskDialogHost* host, QWidget* parent, int kind, int functionCode, std::string reference,
                         std::string animFile);
    ~CTaskBeginFormulaDlg() override;

    const std::string& message() const { return m_message; }
    // The entered formula's MathML after a right answer.
    const std::string& formula() const { return m_formula; }
    solvehost::CSymbrantCtrl* formulaControl() const { return m_control; }
    QWidget* control(int id) const;
    solvehost::CTaskAnimFrame* animFrame() const { return m_anim.data(); }

    void OnApply();
    void OnAutoComplete();
    void OnShowAnim();

    // The kernel refused the formula (or it does not read): the dialog's own
    // red light, and for a refusal its words under the formula.
    bool refusalShown() const;
    QLabel* refusalText() const { return m_refusalText; }

private:
    QPushButton* addButton(int id, const char* key);
    // The buttons' row at the bottom: each button as wide as its text at the
    // dialog's font (at least its own width); the dialog as wide as the row.
    // Answers the dialog's width.
    int placeButtons(bool anim);
    // The formula control in the group, less the room of a refusal's words.
    void placeFormula();
    void showRefusal(bool light, bool words);

    ITaskDialogHost* m_host;
    int m_code;
    std::string m_reference;
    std::string m_animFile;
    std::string m_message;
    std::string m_formula;
    solvehost::CSymbrantCtrl* m_control = nullptr;
    QPointer<solvehost::CTaskAnimFrame> m_anim;
    QLabel* m_light = nullptr;
    QLabel* m_refusalText = nullptr;
    QRect m_formulaPlace;
};

}  // namespace stepwell
