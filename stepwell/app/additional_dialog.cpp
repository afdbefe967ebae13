#include "stepwell/app/additional_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "shared/language.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/app/theme.h"

namespace stepwell {

namespace {

constexpr int kWidth = 750;
constexpr int kHeight = 320;
constexpr int kMinimumWidth = 550;

QString lang(const char* key) { return QString::fromStdString(shared::GetLangString(key)); }

}  // namespace

CAdditionalDialog::CAdditionalDialog(CStepwellMainFrame* frame, int code, std::string args,
                                     const std::string& relation, std::string selected)
    : QDialog(frame), m_frame(frame), m_code(code), m_args(std::move(args)), m_selected(std::move(selected))
{
    setWindowTitle(lang("txtAddTitle"));
    // Resizable down to the height it opens with.
    setMinimumSize(kMinimumWidth, kHeight);
    resize(kWidth, kHeight);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, themeColor(1));
    setPalette(palette);
    setAutoFillBackground(true);

    m_label = new QLabel(lang("txtAddDlg"), this);
    m_label->setObjectName(QStringLiteral("1008"));
    m_label->setWordWrap(true);
    m_mathPanel = new QPushButton(lang("txtAddDlgBtnMathPanel"), this);
    m_mathPanel->setObjectName(QStringLiteral("1001"));
    m_apply = new QPushButton(lang("txtBtnApply"), this);
    m_apply->setObjectName(QStringLiteral("1007"));
    m_apply->setDefault(true);
    m_cancel = new QPushButton(lang("txtBtnCancel"), this);
    m_cancel->setObjectName(QStringLiteral("2"));
    // The red light of a refused expression, above the formulas in the top-right corner.
    m_light = new QLabel(this);
    m_light->setPixmap(QPixmap(QStringLiteral(":/stepwell/bitmap/%1.png").arg(CStepwellSolveWnd::LightBitmapId(0))));
    m_light->resize(m_light->pixmap().size());
    m_light->hide();
    connect(m_mathPanel, &QPushButton::clicked, this, [this] { onMathPanel(); });
    connect(m_apply, &QPushButton::clicked, this, [this] { OnApply(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const QRect start(0, 0, 100, 100);
    if (m_viewer.Create(QStringLiteral("Viewer"), solvehost::WS_CHILD | solvehost::WS_VISIBLE, start, this,
                        kViewerId)) {
        m_viewer.SetBackColor(themeOle(0));
        m_viewer.SetLexemText(m_selected + relation);
        m_viewer.UseViewer();
    }
    if (m_editor.Create(QStringLiteral("Editor"), solvehost::WS_CHILD | solvehost::WS_VISIBLE, start, this,
                        kEditorId)) {
        m_editor.SetBackColor(themeOle(0));
        m_editor.UseEditor();
    }
    layoutControls();
}

CAdditionalDialog::~CAdditionalDialog() = default;

void CAdditionalDialog::resizeEvent(QResizeEvent*) { layoutControls(); }

bool CAdditionalDialog::refusedShown() const { return m_refused && m_light->isVisible(); }

void CAdditionalDialog::layoutControls()
{
    const int w = width();
    const int h = height();
    const int l = m_label->heightForWidth(w) > 0 ? m_label->heightForWidth(w) : m_label->sizeHint().height();
    m_label->setGeometry(0, 10, w, l);
    std::int32_t optimalWidth = 0;
    std::int32_t optimalHeight = 0;
    m_viewer.GetOptimalSize(&optimalWidth, &optimalHeight);
    const int viewerWidth = static_cast<int>(optimalWidth);
    m_viewer.setGeometry(10, l + 20, viewerWidth, h - l - 65);
    m_editor.setGeometry(viewerWidth + 10, l + 20, w - viewerWidth - 20, h - l - 65);
    m_apply->setGeometry(w - 90, h - 35, 80, 25);
    m_cancel->setGeometry(10, h - 35, 80, 25);
    m_mathPanel->setGeometry(w / 2 - 70, h - 35, 140, 25);
    m_light->move(w - m_light->width() - 5, 5);
    m_light->raise();
}

void CAdditionalDialog::onMathPanel()
{
    if (!m_editor.ShowToolsDlg(""))
        m_editor.HideToolsDlg("");
}

void CAdditionalDialog::OnApply()
{
    if (!m_editor.IsFormulaValid() && !m_editor.IsGraficFormulaValid(0)) {
        m_frame->AskUser("erFormulaInvalid", platform::MessageButtons::Ok);
        return;
    }
    std::string reply;
    if (m_frame->CallKernel(m_code, m_args + ",(" + m_editor.GetAplanText() + ")", reply)) {
        m_selected = reply;
        accept();
        return;
    }
    if (m_frame->solveWnd())
        m_frame->solveWnd()->SetCheckState(0);
    m_refused = true;
    m_light->show();
}

}  // namespace stepwell
