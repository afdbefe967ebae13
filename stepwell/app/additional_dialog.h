#pragma once
// The dialog of a guide transformation that needs one more expression: the
// picked part with its relation on the left, the pupil's expression in an
// editor on the right; Apply has the kernel compute the result with it.
#include <QDialog>

#include <memory>
#include <string>

#include "solvehost/symbrant_ctrl.h"

class QLabel;
class QPushButton;

namespace stepwell {

class CStepwellMainFrame;

class CAdditionalDialog : public QDialog {
public:
    static constexpr int kEditorId = 103;
    static constexpr int kViewerId = 104;

    // code and args: the kernel request the entered expression completes;
    // the viewer shows selected + relation.
    CAdditionalDialog(CStepwellMainFrame* frame, int code, std::string args, const std::string& relation,
                      std::string selected);
    ~CAdditionalDialog() override;

    // The kernel's reply after OK.
    const std::string& result() const { return m_selected; }

    solvehost::CSymbrantCtrl& editor() { return m_editor; }
    solvehost::CSymbrantCtrl& viewer() { return m_viewer; }
    QLabel* label() const { return m_label; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* mathPanelButton() const { return m_mathPanel; }
    // The red light shown after a refused expression.
    bool refusedShown() const;

    void OnApply();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutControls();
    void onMathPanel();

    CStepwellMainFrame* m_frame;
    int m_code;
    std::string m_args;
    std::string m_selected;
    solvehost::CSymbrantCtrl m_editor;
    solvehost::CSymbrantCtrl m_viewer;
    QLabel* m_label = nullptr;
    QPushButton* m_mathPanel = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    QLabel* m_light = nullptr;
    bool m_refused = false;
};

}  // namespace stepwell
