#include "stepwell/app/solve_wnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "shared/language.h"
#include "stepwell/app/command_ids.h"
#include "stepwell/app/theme.h"

namespace stepwell {

namespace {

constexpr int kGrid = 20;
constexpr int kEditorState = 2;  // the formula control's State while the pupil types

void drawGrid(QPainter& painter, const QSize& size)
{
    painter.setPen(QPen(themeColor(2), 1));
    for (int x = kGrid; x < size.width(); x += kGrid)
        painter.drawLine(x, 0, x, size.height() - 1);
    for (int y = kGrid; y < size.height(); y += kGrid)
        painter.drawLine(0, y, size.width() - 1, y);
}

}  // namespace

int CStepwellSolveWnd::LightBitmapId(int state)
{
    switch (state) {
    case 0: return 133;  // red
    case 1: return 134;  // yellow
    case 2: return 132;  // green
    default: return 131;  // none lit
    }
}

CStepwellSolveWnd::CStepwellSolveWnd(QWidget* parent, ISolveHost* host, const QFont& frameFont)
    : QWidget(parent), m_host(host), m_font(frameFont)
{
    setObjectName(QStringLiteral("stepsView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_title = new QLabel(QString::fromStdString(shared::GetLangString("solve")), this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setGeometry(0, 0, 100, 15);
    m_title->setFont(m_font);
    m_title->setAutoFillBackground(true);
    QPalette palette = m_title->palette();
    palette.setColor(QPalette::Window, themeColor(2));
    m_title->setPalette(palette);
    for (int i = 0; i < 4; ++i)
        m_lights[static_cast<std::size_t>(i)] = QPixmap(QStringLiteral(":/stepwell/bitmap/%1.png").arg(131 + i));
    m_light = new QLabel(this);
    m_light->setPixmap(m_lights[0]);
    m_light->resize(m_lights[0].size());
    m_stepMenu = new QMenu(this);
    QAction* edit = m_stepMenu->addAction(QString::fromStdString(shared::GetLangString("stepDescrEdit")));
    edit->setData(kCmdStepDescrEdit);
    connect(edit, &QAction::triggered, this, [this] { EditDescription(); });
    // The program's own vertical bar in the view's frame: flat, hidden until
    // the steps need it.
    CustomScrollBar_Install(this);
    CustomScrollBar_SetInfo(this, SB_VERT, {scrollbar::kMaskRange | scrollbar::kMaskPage | scrollbar::kMaskPos, 0, 100, 20, 0},
                            true);
    CustomScrollBar_SetStyle(this, SB_VERT, 1);
    CustomScrollBar_Show(this, SB_VERT, false);
}

CStepwellSolveWnd::~CStepwellSolveWnd() = default;

void CStepwellSolveWnd::SetSolution(CTaskSolution* solution)
{
    m_solution = solution;
    m_current = nullptr;
    m_geometry.setCurrent(std::nullopt);
    m_geometry.setOffset(0);
    SetCheckState(-1);
    RecalcLayout(true);
}

void CStepwellSolveWnd::SetCurrentStep(CSolutionStep* step)
{
    m_current = step;
    RecalcLayout(true);
}

CSolutionStep* CStepwellSolveWnd::GetCurrentStep() const { return m_current; }

void CStepwellSolveWnd::SetCheckState(int state)
{
    m_checkState = state;
    m_light->setPixmap(m_lights[static_cast<std::size_t>(LightBitmapId(state) - 131)]);
    update();
}

void CStepwellSolveWnd::syncCurrentFromGeometry()
{
    const std::optional<int> index = m_geometry.current();
    m_current = m_solution && index ? m_solution->StepAt(*index + 1) : nullptr;
}

void CStepwellSolveWnd::RecalcLayout(bool redraw)
{
    const int count = m_solution ? m_solution->CountWithoutAnswer() : 0;
    if (m_current && m_solution && m_solution->IndexOf(m_current) <= count)
        m_geometry.setCurrent(m_solution->IndexOf(m_current) - 1);
    else
        m_geometry.setCurrent(std::nullopt);
    m_geometry.Layout(count, paper().width(), paper().height(), [this](int index, int x, int top, int stepWidth) {
        CSolutionStep* step = m_solution->StepAt(index + 1);
        const int phase = kGrid - (((top % kGrid) + kGrid) % kGrid);
        return step->Layout(stepWidth, m_font, QRect(x, top, stepWidth, 0), phase, true);
    });
    if (m_geometry.stepByStep())
        syncCurrentFromGeometry();
    for (int i = 0; i < count; ++i) {
        const bool shown = !m_geometry.stepByStep() || !m_geometry.current() || i >= *m_geometry.current();
        m_solution->StepAt(i + 1)->ShowWindows(shown);
    }
    if (redraw)
        update();
    // Last: a bar that comes or goes changes the client width, and the view
    // is laid out again for it (changeEvent) before this returns.
    const ScrollInfo info = m_geometry.scroll();
    CustomScrollBar_SetInfo(this, SB_VERT,
                            {scrollbar::kMaskRange | scrollbar::kMaskPage | scrollbar::kMaskPos, info.min, info.max,
                             info.page, info.pos},
                            true);
    CustomScrollBar_Show(this, SB_VERT, info.shown);
}

void CStepwellSolveWnd::OnVScroll(int request, int pos)
{
    using A = StepsGeometry::ScrollAction;
    switch (request) {
    case scrollbar::kLineUp: scrollAction(A::LineUp, 0); break;
    case scrollbar::kLineDown: scrollAction(A::LineDown, 0); break;
    case scrollbar::kPageUp: scrollAction(A::PageUp, 0); break;
    case scrollbar::kPageDown: scrollAction(A::PageDown, 0); break;
    case scrollbar::kThumb:
    case scrollbar::kThumbPosition: scrollAction(A::Thumb, pos); break;
    default: break;
    }
}

void CStepwellSolveWnd::scrollAction(StepsGeometry::ScrollAction action, int value)
{
    if (!m_solution)
        return;
    RecalcLayout(false);  // the geometry's current step follows the view's
    if (!m_geometry.Scroll(action, value, m_solution->CountWithoutAnswer()))
        m_host->AskUser("erStepNotFound", platform::MessageButtons::Ok);
    if (m_geometry.stepByStep())
        syncCurrentFromGeometry();
    RecalcLayout(true);
}

bool CStepwellSolveWnd::MoveCurrent(int direction)
{
    if (!m_solution)
        return false;
    const int count = m_solution->CountWithoutAnswer();
    const int index = m_current ? m_solution->IndexOf(m_current) : 0;
    m_geometry.setCurrent(index >= 1 && index <= count ? std::optional<int>(index - 1) : std::nullopt);
    const bool found = m_geometry.MoveCurrent(direction, count);
    if (!found)
        m_host->AskUser("erStepNotFound", platform::MessageButtons::Ok);
    syncCurrentFromGeometry();
    RecalcLayout(true);
    return found;
}

void CStepwellSolveWnd::EnsureLastVisible()
{
    if (m_autoScroll && m_solution) {
        if (m_geometry.stepByStep()) {
            if (!m_current)
                m_current = m_solution->StepAt(1);
            else
                MoveCurrent(1);
        } else {
            m_geometry.setOffset(-10000);  // the layout brings the end back into view
        }
    }
    RecalcLayout(true);
}

void CStepwellSolveWnd::SetStepMode(bool on)
{
    if (on && !m_geometry.stepByStep() && m_solution) {
        const std::optional<int> first = m_geometry.FirstBelowMargin();
        m_current = first ? m_solution->StepAt(*first + 1) : nullptr;
    }
    m_geometry.setStepByStep(on);
    if (!on)
        m_geometry.setOffset(0);
    RecalcLayout(true);
}

QPixmap CStepwellSolveWnd::Render()
{
    QPixmap pixmap(size().expandedTo(QSize(1, 1)));
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    drawGrid(painter, pixmap.size());
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    const int count = m_solution ? m_solution->CountWithoutAnswer() : 0;
    const int first = m_geometry.stepByStep() && m_geometry.current() ? *m_geometry.current() : 0;
    for (int i = first; i < count; ++i)
        m_solution->StepAt(i + 1)->Draw(painter);

    CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr;
    if (active && active->GetKind() != StepKind::Answer && m_solution->IndexOf(active) - 1 >= first &&
        active->control()) {
        const QRect window = active->control()->geometry();
        const int centre = window.top() + window.height() / 2;
        painter.setPen(QPen(themeColor(1), 2));
        painter.drawLine(2, centre - 2, 12, centre - 2);
        painter.drawLine(2, centre + 3, 12, centre + 3);
        const QPoint chevron[] = {{8, centre - 6}, {15, centre}, {8, centre + 6}};
        painter.drawPolyline(chevron, 3);
    }
    painter.drawPixmap(paper().width() - 25, 5, m_lights[static_cast<std::size_t>(LightBitmapId(m_checkState) - 131)]);
    return pixmap;
}

void CStepwellSolveWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, Render());
}

void CStepwellSolveWnd::resizeEvent(QResizeEvent*) { OnSize(); }

void CStepwellSolveWnd::changeEvent(QEvent* event)
{
    // The scroll bar came or went: the client area changed.
    if (event->type() == QEvent::ContentsRectChange)
        OnSize();
    QWidget::changeEvent(event);
}

void CStepwellSolveWnd::OnSize()
{
    const int width = paper().width();
    if (width != m_lastWidth) {
        m_lastWidth = width;
        m_title->setGeometry(0, 0, width, StepsGeometry::kTopMargin);
        m_light->move(width - 25, 5);
        m_light->raise();
    }
    RecalcLayout(true);
}

void CStepwellSolveWnd::wheelEvent(QWheelEvent* event)
{
    scrollAction(StepsGeometry::ScrollAction::Wheel, event->angleDelta().y());
    event->accept();
}

void CStepwellSolveWnd::mousePressEvent(QMouseEvent* event)
{
    const bool button = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    if (!button || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        return;
    clickStep(event->position().toPoint());
    if (event->button() == Qt::RightButton && m_solution && m_solution->GetActiveStep()) {
        m_stepMenu->actions().first()->setText(QString::fromStdString(shared::GetLangString("stepDescrEdit")));
        m_stepMenu->popup(event->globalPosition().toPoint());
    }
}

void CStepwellSolveWnd::EditDescription()
{
    ITaskDialogHost* dialogHost = m_host ? m_host->dialogHost() : nullptr;
    if (!m_solution || !m_solution->GetActiveStep() || !dialogHost)
        return;
    CTaskSolution* solution = m_solution;
    CSolutionStep* step = m_solution->GetActiveStep();
    const std::string before = step->GetDescription();
    CEditDescriptionDialog dialog(dialogHost, this, before);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The solution and the step may have gone while the dialog was open.
    if (m_solution != solution || solution->GetActiveStep() != step)
        return;
    if (dialog.text() == before)
        return;
    step->SetDescription(dialog.text());
    RecalcLayout(true);
}

void CStepwellSolveWnd::clickStep(const QPoint& at)
{
    if (!m_solution)
        return;
    const int count = m_solution->CountWithoutAnswer();
    const int first = m_geometry.stepByStep() && m_geometry.current() ? *m_geometry.current() : 0;
    CSolutionStep* clicked = nullptr;
    for (int i = first; i < count && !clicked; ++i)
        if (m_solution->StepAt(i + 1)->HitTest(at.x(), at.y(), paper().width(), true))
            clicked = m_solution->StepAt(i + 1);
    CSolutionStep* active = m_solution->GetActiveStep();
    if (!clicked || clicked == active)
        return;
    if (active && active->GetKind() == StepKind::Double && active->control() && active->control()->GetState() == 2) {
        if (m_host->AskUser("confirmDeleteLastSteps", platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes) {
            active->control()->setFocus();
            return;
        }
        CSolutionStep* before = m_solution->PrevOf(active);
        m_solution->SetActiveStep(before);
        m_solution->DeleteAfter(before);
        m_host->EnableCommand(kCmdSolveStepCheck, false);
        if (m_current && m_solution->IndexOf(m_current) > m_solution->Count())
            m_current = nullptr;
        if (m_solution->IndexOf(clicked) > m_solution->Count())
            clicked = nullptr;
    }
    if (!clicked)
        return;
    m_host->ClearOperationState();
    m_solution->SetActiveStep(clicked);
    SetCheckState(clicked->state);
    RecalcLayout(true);
}

void CStepwellSolveWnd::OnFormulaChanged()
{
    // The pupil's typing changes the active formula's size.
    if (CSolutionStep* active = m_solution ? m_solution->GetActiveStep() : nullptr) {
        active->formula().UpdateSize();
        // The pupil edits the result of an own step (after a check that
        // refused it, say): the edited result can be checked again.
        if (active->GetKind() == StepKind::Double && m_solution->IsActiveLast() && active->control() &&
            active->control()->GetState() == kEditorState)
            m_host->EnableCommand(kCmdSolveStepCheck, true);
    }
    RecalcLayout(true);
}

}  // namespace stepwell
