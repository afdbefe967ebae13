#include "stepwell/app/task_begin_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

#include "shared/language.h"
#include "solvehost/anim/task_anim_frame.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/theme.h"

namespace stepwell {

namespace {

QString lang(const char* key) { return QString::fromStdString(shared::GetLangString(key)); }

void centre(QWidget* window, QSize size)
{
    window->resize(size);
    if (const QScreen* screen = QApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

}  // namespace

CTaskBeginFormulaDlg::CTaskBeginFormulaDlg(ITaskDialogHost* host, QWidget* parent, int kind, int functionCode,
                                           std::string reference, std::string animFile)
    : QDialog(parent), m_host(host), m_code(functionCode), m_reference(std::move(reference)),
      m_animFile(std::move(animFile))
{
    setWindowTitle(lang("taskBFDlgTitle"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, themeColor(1));
    setPalette(palette);
    setAutoFillBackground(true);
    // The dialog keeps its size: its layout is made once, here.
    setFixedSize(500, 300);
    centre(this, size());
    const int w = 500;
    const int h = 300;

    auto* group = new QGroupBox(lang("taskBFGroup"), this);
    group->setObjectName(QString::number(kGroup));
    group->setGeometry(3, 5, w - 6, h - 40);
    auto* equation = new QRadioButton(lang("taskBFEquation"), this);
    equation->setObjectName(QString::number(kEquation));
    auto* system = new QRadioButton(lang("taskBFSystem"), this);
    system->setObjectName(QString::number(kSystem));
    const int r = equation->sizeHint().height();
    equation->setGeometry(5, 20, w / 2 - 13, r);
    system->setGeometry(w / 2 + 5, 20, w / 2 - 13, r);

    m_control = new solvehost::CSymbrantCtrl;
    if (m_control->Create(QString(), solvehost::WS_CHILD | solvehost::WS_VISIBLE, QRect(8, r + 25, w - 16, h - r - 65),
                          this, 0)) {
        m_control->SetBackColor(themeOle(0));
        m_control->SetSchoolClass(0);  // the frame has no school class: every tool
        m_control->UseEditor();
        m_control->setGeometry(8, r + 25, w - 16, h - r - 65);
    } else {
        delete m_control;
        m_control = nullptr;
    }

    const bool anim = !m_animFile.empty();
    addButton(kApply, "txtBtnApply")->setGeometry(w - 80, h - 25, 70, 20);
    const int mathPanelLeft = w / 2 - 70 - (anim ? 80 : 0);
    placeAutoComplete(addButton(kAutoComplete, "taskBFAutoComplete"), QRect(10, h - 25, 70, 20), mathPanelLeft - 5);
    addButton(kMathPanel, "txtMathPanel")->setGeometry(mathPanelLeft, h - 25, 140, 20);
    QPushButton* show = addButton(kShowAnim, "taskBFShowAnim");
    show->setGeometry(w / 2 + 10, h - 25, 140, 20);
    show->setVisible(anim);

    if (kind == 1) {
        equation->setChecked(true);
        system->setEnabled(false);
        m_message = shared::GetLangString("beginTaskEquation");
    } else if (kind == 2) {
        system->setChecked(true);
        equation->setEnabled(false);
        m_message = shared::GetLangString("beginTaskSystem");
    } else if (m_host) {
        m_host->ShowDialogMessage("Невідомий тип текстової задачі");
    }
    if (m_host)
        m_host->RegisterTaskDialog(this);
}

CTaskBeginFormulaDlg::~CTaskBeginFormulaDlg()
{
    if (m_anim)
        delete m_anim.data();
}

QWidget* CTaskBeginFormulaDlg::control(int id) const
{
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CTaskBeginFormulaDlg::placeAutoComplete(QPushButton* button, QRect place, int right)
{
    // Seventy pixels cut "taskBFAutoComplete" at both ends: the button grows
    // to its text, up to the math-panel button. A text that still does not
    // fit (beside the animation button) is elided and shown whole as the
    // button's tool tip.
    const QString text = button->text();
    const int wanted = button->sizeHint().width();
    const int room = right - place.left();
    place.setWidth(std::clamp(wanted, place.width(), std::max(room, place.width())));
    button->setGeometry(place);
    if (wanted > place.width()) {
        const int padding = wanted - button->fontMetrics().horizontalAdvance(text);
        button->setText(button->fontMetrics().elidedText(text, Qt::ElideRight, place.width() - padding));
        button->setToolTip(text);
    }
}

QPushButton* CTaskBeginFormulaDlg::addButton(int id, const char* key)
{
    auto* made = new QPushButton(lang(key), this);
    made->setObjectName(QString::number(id));
    made->setAutoDefault(false);
    switch (id) {
    case kApply: connect(made, &QPushButton::clicked, this, [this] { OnApply(); }); break;
    case kAutoComplete: connect(made, &QPushButton::clicked, this, [this] { OnAutoComplete(); }); break;
    case kShowAnim: connect(made, &QPushButton::clicked, this, [this] { OnShowAnim(); }); break;
    case kMathPanel:
        connect(made, &QPushButton::clicked, this, [this] {
            if (m_control && !m_control->ShowToolsDlg(""))
                m_control->HideToolsDlg("");
        });
        break;
    default: break;
    }
    return made;
}

void CTaskBeginFormulaDlg::OnApply()
{
    if (!m_control || !m_control->IsFormulaValid()) {
        if (m_host) {
            m_host->ShowBox(shared::GetLangString("erFormulaInvalid"), shared::GetLangString("appTitle"));
            m_host->SetCheckState(0);
        }
        return;
    }
    const std::string request = "(" + m_reference + "),(" + m_control->GetAplanText() + ")";
    std::string reply;
    if (m_host && m_host->CallKernel(m_code, request, reply)) {
        m_message += shared::GetLangString("beginTaskUser");
        m_formula = m_control->GetMathMLText();
        done(kResultUser);
        return;
    }
    if (m_host)
        m_host->SetCheckState(0);
}

void CTaskBeginFormulaDlg::OnAutoComplete()
{
    m_message += shared::GetLangString("beginTaskProg");
    done(kResultProgram);
}

void CTaskBeginFormulaDlg::OnShowAnim()
{
    if (!m_anim) {
        auto* frame = new solvehost::CTaskAnimFrame("taskanim.xslt");
        frame->Create();
        frame->setWindowTitle(lang("taskBFShowAnim"));
        centre(frame, QSize(850, 650));
        frame->SetAnimFile(m_animFile);
        m_anim = frame;
    }
    m_anim->showNormal();
    m_anim->raise();
    m_anim->activateWindow();
}

}  // namespace stepwell
