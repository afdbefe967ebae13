#include "stepwell/app/answer_wnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "shared/language.h"
#include "stepwell/app/solve_wnd.h"
#include "stepwell/app/theme.h"

namespace stepwell {

namespace {

constexpr int kMargin = 10;  // above and below the answer step

}  // namespace

CStepwellAnswerWnd::CStepwellAnswerWnd(QWidget* parent, const QFont& frameFont) : QWidget(parent), m_font(frameFont)
{
    setObjectName(QStringLiteral("answerPanel"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_caption = new QLabel(QString::fromStdString(shared::GetLangString("answer")), this);
    m_caption->setObjectName(QString::number(kCaptionId));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setGeometry(0, 0, 100, 15);
    m_caption->setFont(m_font);
    m_caption->setAutoFillBackground(true);
    QPalette palette = m_caption->palette();
    palette.setColor(QPalette::Window, themeColor(2));
    m_caption->setPalette(palette);
    for (int i = 0; i < 4; ++i)
        m_lights[i] = QPixmap(QStringLiteral(":/stepwell/bitmap/%1.png").arg(131 + i));
}

void CStepwellAnswerWnd::SetSolution(CTaskSolution* solution)
{
    m_solution = solution;
    m_strip.setOffset(0);
    RecalcLayout();
}

CSolutionStep* CStepwellAnswerWnd::answerStep() const
{
    if (!m_solution || m_solution->Count() == 0)
        return nullptr;
    CSolutionStep* last = m_solution->StepAt(m_solution->Count());
    return last->GetKind() == StepKind::Answer ? last : nullptr;
}

void CStepwellAnswerWnd::RecalcLayout()
{
    m_strip.Clamp(height());
    CSolutionStep* step = answerStep();
    if (step) {
        const int width = m_caption->width() - 30;
        const int top = AnswerStrip::kHeader + m_strip.offset() + kMargin;
        // (grid step - 10 mod grid step - left) for a left of 20
        constexpr int kPhase = -10;
        // The margins above and below the step are content too: scrolled to
        // the end, the answer's last line shows whole.
        m_strip.setContent(kMargin + step->Layout(width, m_font, QRect(20, top, width, 0), kPhase, true) + kMargin);
        m_strip.Clamp(height());
        if (m_strip.offset() != top - AnswerStrip::kHeader - kMargin)
            step->Layout(width, m_font, QRect(20, AnswerStrip::kHeader + m_strip.offset() + kMargin, width, 0),
                         kPhase, true);
    } else {
        m_strip.setContent(0);
    }
    update();
    if (const int optimal = OptimalHeight(); optimal != m_reportedOptimal) {
        m_reportedOptimal = optimal;
        if (m_optimalHeightListener)
            m_optimalHeightListener();
    }
}

int CStepwellAnswerWnd::OptimalHeight() const
{
    if (!answerStep())
        return 0;
    // The light stands 5 below the caption and keeps 5 free under it.
    const int light = AnswerStrip::kHeader + 5 + m_lights[0].height() + 5;
    return std::max(AnswerStrip::kHeader + m_strip.content(), light);
}

QPixmap CStepwellAnswerWnd::Render()
{
    QPixmap pixmap(size().expandedTo(QSize(1, 1)));
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(QPen(themeColor(2), 1));
    for (int x = 0; x < pixmap.width(); x += 20)
        painter.drawLine(x, 0, x, pixmap.height() - 1);
    for (int y = 0; y < pixmap.height(); y += 20)
        painter.drawLine(0, y, pixmap.width() - 1, y);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    if (CSolutionStep* step = answerStep()) {
        step->Draw(painter);
        painter.drawPixmap(width() - 25, AnswerStrip::kHeader + 5,
                           m_lights[CStepwellSolveWnd::LightBitmapId(step->state) - 131]);
    }
    if (const std::optional<AnswerStrip::Thumb> thumb = m_strip.ThumbPlace(height())) {
        const QRect strip(width() - AnswerStrip::kWidth, AnswerStrip::kHeader, AnswerStrip::kWidth,
                          height() - AnswerStrip::kHeader);
        // Raised edge: light above and left, dark below and right.
        painter.fillRect(strip, Qt::black);
        painter.setPen(Qt::white);
        painter.drawLine(strip.topLeft(), strip.topRight());
        painter.drawLine(strip.topLeft(), strip.bottomLeft());
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(strip.bottomLeft(), strip.bottomRight());
        painter.drawLine(strip.topRight(), strip.bottomRight());
        painter.fillRect(QRect(strip.left() + 2, thumb->top, AnswerStrip::kWidth - 4, thumb->height), themeColor(0));
    }
    return pixmap;
}

void CStepwellAnswerWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QPixmap pixmap = Render();
    painter.drawPixmap(event->rect(), pixmap, event->rect());
}

void CStepwellAnswerWnd::resizeEvent(QResizeEvent*)
{
    m_caption->setGeometry(0, 0, width(), AnswerStrip::kHeader);
    m_caption->raise();
    RecalcLayout();
}

void CStepwellAnswerWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || at.x() < width() - AnswerStrip::kWidth || at.y() < AnswerStrip::kHeader)
        return;
    if (m_strip.Press(at.y(), height())) {
        grabMouse();
        RecalcLayout();
    }
}

void CStepwellAnswerWnd::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_strip.Drag(event->position().toPoint().y(), height()))
        RecalcLayout();
}

void CStepwellAnswerWnd::mouseReleaseEvent(QMouseEvent*)
{
    if (m_strip.dragging()) {
        releaseMouse();
        m_strip.Release();
    }
}

void CStepwellAnswerWnd::wheelEvent(QWheelEvent* event)
{
    m_strip.Wheel(event->angleDelta().y(), height());
    RecalcLayout();
    event->accept();
}

}  // namespace stepwell
