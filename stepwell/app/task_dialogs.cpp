#include "stepwell/app/task_dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

#include "shared/language.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/condition_editor_ctrl.h"
#include "stepwell/app/theme.h"

namespace stepwell {

namespace {

QString lang(const char* key) { return QString::fromStdString(shared::GetLangString(key)); }

}  // namespace

std::string BuildNewTaskXml(const std::string& taskType, const std::string& condition, const std::string& start)
{
    return "<TASK id=\"1\" type=\"" + taskType + "\" title=\"Задача\"><CONDITION><TEXT>" + condition +
           "</TEXT><JOBSLIST><JOB id=\"1\" asTask=\"yes\" number=\"yes\"><FORMULA>" + start +
           "</FORMULA></JOB></JOBSLIST></CONDITION></TASK>";
}

// ---- the shared part ----

CConditionDialogBase::CConditionDialogBase(ITaskDialogHost* host, QWidget* parent, const std::string& text)
    : QDialog(parent), m_host(host)
{
    setMinimumSize(550, 400);
    // Statics and edits on theme colour 1.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, themeColor(1));
    palette.setColor(QPalette::Base, themeColor(1));
    setPalette(palette);
    setAutoFillBackground(true);
    const QFont font = host ? host->frameFont() : QDialog::font();
    m_editor = new CConditionEditorCtrl(this, &font);
    m_editor->SetText(text);
    if (host)
        host->RegisterTaskDialog(this);
}

QPushButton* CConditionDialogBase::button(int id) const
{
    return findChild<QPushButton*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QLabel* CConditionDialogBase::label(int id) const
{
    return findChild<QLabel*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QPushButton* CConditionDialogBase::addButton(int id, const char* key)
{
    auto* made = new QPushButton(lang(key), this);
    made->setObjectName(QString::number(id));
    made->setAutoDefault(false);
    switch (id) {
    case kMathPanel: connect(made, &QPushButton::clicked, this, [this] { onMathPanel(); }); break;
    case kInsertFormula: connect(made, &QPushButton::clicked, this, [this] { onInsertFormula(); }); break;
    case kOk: connect(made, &QPushButton::clicked, this, [this] { onOk(); }); break;
    case kCancel: connect(made, &QPushButton::clicked, this, &QDialog::reject); break;
    default: break;
    }
    return made;
}

QLabel* CConditionDialogBase::addLabel(int id, const char* key)
{
    auto* made = new QLabel(lang(key), this);
    made->setObjectName(QString::number(id));
    return made;
}

solvehost::CSymbrantCtrl* CConditionDialogBase::makeFormulaControl(int id, bool visible)
{
    auto* control = new solvehost::CSymbrantCtrl;
    const solvehost::WindowStyle style = visible ? (solvehost::WS_CHILD | solvehost::WS_VISIBLE) : solvehost::WS_CHILD;
    if (!control->Create(QString(), style, QRect(0, 0, 100, 100), this, id)) {
        delete control;
        return nullptr;
    }
    control->setObjectName(QString::number(id));
    control->SetBackColor(themeOle(0));
    // The frame has no school class: every tool is offered.
    control->SetSchoolClass(0);
    control->UseEditor();
    if (!visible)
        control->hide();
    return control;
}

int CConditionDialogBase::labelHeight() const
{
    const QLabel* any = label(kLabel);
    return any ? any->sizeHint().height() : fontMetrics().height();
}

void CConditionDialogBase::placeButtons(int w, int h)
{
    if (QPushButton* b = button(kCancel))
        b->setGeometry(10, h - 35, 80, 25);
    if (QPushButton* b = button(kOk))
        b->setGeometry(w - 90, h - 35, 80, 25);
    if (QPushButton* b = button(kMathPanel))
        b->setGeometry(w / 2 - 70, h - 35, 140, 25);
    if (QPushButton* b = button(kInsertFormula))
        b->setGeometry(w - 190, 5, 180, 20);
}

void CConditionDialogBase::onMathPanel()
{
    if (!m_paletteControl)
        return;
    if (!m_paletteControl->ShowToolsDlg(""))
        m_paletteControl->HideToolsDlg("");
}

void CConditionDialogBase::onInsertFormula()
{
    m_editor->AddFormula();
    m_editor->setFocus();
}

// ---- editing a description ----

CEditDescriptionDialog::CEditDescriptionDialog(ITaskDialogHost* host, QWidget* parent, const std::string& text)
    : CConditionDialogBase(host, parent, text)
{
    setWindowTitle(lang("txtNewTaskTitle"));
    addLabel(kLabel, "txtNewTaskCondition");
    addButton(kMathPanel, "txtMathPanel");
    addButton(kInsertFormula, "txtNewTaskInstME");
    addButton(kOk, "txtBtnOk");
    addButton(kCancel, "txtBtnCancel");
    m_hidden = makeFormulaControl(0, false);
    setPaletteControl(m_hidden);
    resize(600, 450);
}

void CEditDescriptionDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int l = labelHeight();
    label(kLabel)->setGeometry(10, 10, w - 20, l);
    m_editor->setGeometry(10, l + 15, w - 20, h - (l + 10) - 60);
    placeButtons(w, h);
}

void CEditDescriptionDialog::onOk()
{
    std::string text;
    m_editor->GetText(text);
    if (text.empty()) {
        if (m_host)
            m_host->ShowDialogMessage(shared::GetLangString("erEmptyCondition"));
        return;
    }
    m_text = text;
    accept();
}

// ---- a new task ----

CNewTaskDialog::CNewTaskDialog(ITaskDialogHost* host, QWidget* parent, std::string taskType,
                               const std::string& condition)
    : CConditionDialogBase(host, parent, condition), m_taskType(std::move(taskType))
{
    setWindowTitle(lang("txtNewTaskTitle"));
    m_editor->setObjectName(QStringLiteral("Condition"));
    m_editor->setProperty("controlId", kEditor);
    addLabel(kLabel, "txtNewTaskCondition");
    addLabel(kStartLabel, "txtNewTaskStartFormula");
    addButton(kMathPanel, "txtMathPanel");
    addButton(kInsertFormula, "txtNewTaskInstME");
    addButton(kOk, "txtBtnOk");
    addButton(kCancel, "txtBtnCancel");
    m_startControl = makeFormulaControl(kStartFormula, true);
    if (m_startControl)
        m_startControl->SetLexemText(m_start);
    setPaletteControl(m_startControl);
    resize(600, 450);
}

void CNewTaskDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int l = labelHeight();
    const int m = (h - (2 * l + 10) - 60) / 2;
    label(kLabel)->setGeometry(10, 10, w - 20, l);
    m_editor->setGeometry(10, l + 15, w - 20, m);
    label(kStartLabel)->setGeometry(10, l + m + 20, w - 20, l);
    if (m_startControl)
        m_startControl->setGeometry(10, m + 2 * l + 25, w - 20, m);
    placeButtons(w, h);
}

void CNewTaskDialog::onOk()
{
    std::string condition;
    m_editor->GetText(condition);
    m_condition = condition;
    if (!m_startControl || !m_startControl->IsFormulaValid()) {
        if (m_host)
            m_host->ShowDialogMessage(shared::GetLangString("erFormulaInvalid"));
        return;
    }
    if (condition.empty()) {
        if (m_host)
            m_host->ShowDialogMessage(shared::GetLangString("erEmptyCondition"));
        return;
    }
    m_start = m_startControl->GetMathMLText();
    accept();
}

std::string CNewTaskDialog::BuildTaskXml() const { return BuildNewTaskXml(m_taskType, m_condition, m_start); }

}  // namespace stepwell
