#include "stepwell/app/task_begin_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

#include "shared/language.h"
#include "solvehost/anim/task_anim_frame.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/app/theme.h"

namespace stepwell {

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 300;

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
    const bool anim = !m_animFile.empty();
    // The dialog keeps its size: its layout is made once, here.
    const int w = placeButtons(anim);
    const int h = kHeight;
    setFixedSize(w, h);
    centre(this, size());

    auto* group = new QGroupBox(lang("taskBFGroup"), this);
    group->setObjectName(QString::number(kGroup));
    group->setGeometry(3, 5, w - 6, h - 40);
    group->lower();
    auto* equation = new QRadioButton(lang("taskBFEquation"), this);
    equation->setObjectName(QString::number(kEquation));
    auto* system = new QRadioButton(lang("taskBFSystem"), this);
    system->setObjectName(QString::number(kSystem));
    const int r = equation->sizeHint().height();
    equation->setGeometry(5, 20, w / 2 - 13, r);
    system->setGeometry(w / 2 + 5, 20, w / 2 - 13, r);

    m_formulaPlace = QRect(8, r + 25, w - 16, h - r - 65);
    m_control = new solvehost::CSymbrantCtrl;
    if (m_control->Create(QString(), solvehost::WS_CHILD | solvehost::WS_VISIBLE, m_formulaPlace, this, 0)) {
        m_control->SetBackColor(themeOle(0));
        m_control->SetSchoolClass(0);  // the frame has no school class: every tool
        m_control->UseEditor();
    } else {
        delete m_control;
        m_control = nullptr;
    }

    // The refusal: the red light in the formula's top-right corner, the words under the formula.
    m_light = new QLabel(this);
    m_light->setObjectName(QStringLiteral("refusedLight"));
    m_light->setPixmap(QPixmap(QStringLiteral(":/stepwell/bitmap/%1.png").arg(CStepwellSolveWnd::LightBitmapId(0))));
    m_light->resize(m_light->pixmap().size());
    m_light->move(m_formulaPlace.right() - m_light->width() - 6, m_formulaPlace.top() + 4);
    m_light->hide();
    m_refusalText = new QLabel(lang("beginTaskRefused"), this);
    m_refusalText->setObjectName(QStringLiteral("refusedText"));
    m_refusalText->setWordWrap(true);
    QPalette red = m_refusalText->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    m_refusalText->setPalette(red);
    m_refusalText->hide();
    placeFormula();

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

int CTaskBeginFormulaDlg::placeButtons(bool anim)
{
    QPushButton* apply = addButton(kApply, "txtBtnApply");
    QPushButton* autoComplete = addButton(kAutoComplete, "taskBFAutoComplete");
    QPushButton* mathPanel = addButton(kMathPanel, "txtMathPanel");
    QPushButton* show = addButton(kShowAnim, "taskBFShowAnim");
    show->setVisible(anim);
    auto wide = [](QPushButton* button, int least) { return std::max(least, button->sizeHint().width()); };
    const int applyWidth = wide(apply, 70);
    const int autoWidth = wide(autoComplete, 70);
    const int mathWidth = wide(mathPanel, 140);
    const int showWidth = wide(show, 140);
    // Math panel (and the animation 20 to its right) in the middle, auto-complete
    // at the left and Apply at the right (10 from the edges), 20 clear of them.
    const int middle = mathWidth + (anim ? 20 + showWidth : 0);
    const int w = std::max(kWidth, middle + 2 * (10 + std::max(autoWidth, applyWidth) + 20));
    const int height = std::max(20, mathPanel->fontMetrics().height() + 4);
    const int top = kHeight - 5 - height;
    const int left = w / 2 - middle / 2;
    apply->setGeometry(w - 10 - applyWidth, top, applyWidth, height);
    autoComplete->setGeometry(10, top, autoWidth, height);
    mathPanel->setGeometry(left, top, mathWidth, height);
    show->setGeometry(left + mathWidth + 20, top, showWidth, height);
    return w;
}

void CTaskBeginFormulaDlg::placeFormula()
{
    QRect formula = m_formulaPlace;
    if (m_refusalText->isVisibleTo(this)) {
        const int words = m_refusalText->heightForWidth(formula.width());
        formula.setBottom(formula.bottom() - words - 4);
        m_refusalText->setGeometry(formula.left(), formula.bottom() + 3, formula.width(), words);
    }
    if (m_control)
        m_control->setGeometry(formula);
    m_light->raise();
}

void CTaskBeginFormulaDlg::showRefusal(bool light, bool words)
{
    m_light->setVisible(light);
    m_refusalText->setVisible(words);
    placeFormula();
}

bool CTaskBeginFormulaDlg::refusalShown() const { return m_light->isVisibleTo(this); }

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
    // The main window's light is behind the dialog: the dialog shows the
    // refusal itself.
    if (!m_control || !m_control->IsFormulaValid()) {
        showRefusal(true, false);
        if (m_host) {
            m_host->ShowBox(shared::GetLangString("erFormulaInvalid"), shared::GetLangString("appTitle"));
            m_host->SetCheckState(0);
        }
        return;
    }
    const std::string request = "(" + m_reference + "),(" + m_control->GetAplanText() + ")";
    std::string reply;
    if (m_host && m_host->CallKernel(m_code, request, reply)) {
        showRefusal(false, false);
        m_message += shared::GetLangString("beginTaskUser");
        m_formula = m_control->GetMathMLText();
        done(kResultUser);
        return;
    }
    showRefusal(true, true);
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
        // A window of the dialog's own: above it, and not blocked while the
        // dialog waits for the pupil (its close box works).
        frame->setParent(this, Qt::Window);
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
