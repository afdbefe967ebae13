#pragma once
// The task dialogs with the condition editor: editing a text with formulas
// (a step's description) and making a new task from a condition text and a
// start formula. Built in code; each control's object name is its id. While
// a dialog exists the frame keeps it, so that an arriving task ends it with
// Cancel.
#include <QDialog>
#include <QFont>

#include <string>

#include "platform/message_box.h"

class QLabel;
class QPushButton;

namespace solvehost {
class CSymbrantCtrl;
}

namespace stepwell {

class CConditionEditorCtrl;

// What the dialogs ask of the frame.
class ITaskDialogHost {
public:
    virtual ~ITaskDialogHost() = default;
    // Kept while the dialog exists (the pointer clears with it).
    virtual void RegisterTaskDialog(QDialog* dialog) = 0;
    // A message box of the program with this text.
    virtual platform::MessageAnswer ShowDialogMessage(const std::string& text) = 0;
    virtual const QFont& frameFont() const = 0;
    // A message box with its own caption and the exclamation mark.
    virtual platform::MessageAnswer ShowBox(const std::string& text, const std::string& caption)
    {
        (void)caption;
        return ShowDialogMessage(text);
    }
    // One kernel request; true with the reply when it has a result.
    virtual bool CallKernel(int code, const std::string& request, std::string& reply)
    {
        (void)code;
        (void)request;
        (void)reply;
        return false;
    }
    // The check state the steps view shows.
    virtual void SetCheckState(int state) { (void)state; }
};

// Label 1004, the condition editor, math panel 1005, empty formula 1006,
// OK 1007 and Cancel 2; resizable down to 550 x 400.
class CConditionDialogBase : public QDialog {
public:
    static constexpr int kLabel = 1004;
    static constexpr int kMathPanel = 1005;
    static constexpr int kInsertFormula = 1006;
    static constexpr int kOk = 1007;
    static constexpr int kCancel = 2;

    CConditionEditorCtrl* editor() const { return m_editor; }
    QPushButton* button(int id) const;
    QLabel* label(int id) const;
    // The formula control whose palette the math-panel button toggles.
    solvehost::CSymbrantCtrl* paletteControl() const { return m_paletteControl; }

protected:
    CConditionDialogBase(ITaskDialogHost* host, QWidget* parent, const std::string& text);
    // Colours, control background and the editor's start.
    solvehost::CSymbrantCtrl* makeFormulaControl(int id, bool visible);
    void setPaletteControl(solvehost::CSymbrantCtrl* control) { m_paletteControl = control; }
    QPushButton* addButton(int id, const char* key);
    QLabel* addLabel(int id, const char* key);
    void placeButtons(int w, int h);
    int labelHeight() const;
    void onMathPanel();
    void onInsertFormula();
    virtual void onOk() = 0;

    ITaskDialogHost* m_host;
    CConditionEditorCtrl* m_editor = nullptr;
    solvehost::CSymbrantCtrl* m_paletteControl = nullptr;
};

class CEditDescriptionDialog : public CConditionDialogBase {
public:
    CEditDescriptionDialog(ITaskDialogHost* host, QWidget* parent, const std::string& text);
    // The text after OK.
    const std::string& text() const { return m_text; }
    solvehost::CSymbrantCtrl* hiddenFormula() const { return m_hidden; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void onOk() override;

private:
    solvehost::CSymbrantCtrl* m_hidden = nullptr;
    std::string m_text;
};

class CNewTaskDialog : public CConditionDialogBase {
public:
    static constexpr int kStartLabel = 1002;
    static constexpr int kStartFormula = 105;
    static constexpr int kEditor = 106;

    CNewTaskDialog(ITaskDialogHost* host, QWidget* parent, std::string taskType, const std::string& condition);
    const std::string& conditionText() const { return m_condition; }
    const std::string& startFormula() const { return m_start; }
    solvehost::CSymbrantCtrl* startControl() const { return m_startControl; }
    // The new task's XML on one line, nothing escaped.
    std::string BuildTaskXml() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void onOk() override;

private:
    std::string m_taskType;
    std::string m_condition;
    std::string m_start;
    solvehost::CSymbrantCtrl* m_startControl = nullptr;
};

// The XML of a new task from its pieces.
std::string BuildNewTaskXml(const std::string& taskType, const std::string& condition, const std::string& start);

}  // namespace stepwell
