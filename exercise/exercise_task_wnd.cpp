#include "exercise/exercise_task_wnd.h"

#include <QPainter>

#include <cstdio>

#include "exercise/esf_bitmap.h"
#include "exercise/exercise_messages.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace exercise {

namespace {

QColor colorOf(const shared::Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

platform::com::OLE_COLOR oleColorOf(const shared::Rgb& rgb)
{
    return platform::com::OLE_COLOR(rgb.red | (rgb.green << 8) | (rgb.blue << 16));
}

const CEsfBitmap* lightPicture(int state)
{
    EsfPictures& pictures = esfPictures();
    switch (state) {
    case CExerciseTaskWnd::lightOff: return &pictures.lightOff;
    case CExerciseTaskWnd::lightGreen: return &pictures.green;
    case CExerciseTaskWnd::lightYellow: return &pictures.yellow;
    case CExerciseTaskWnd::lightRed: return &pictures.red;
    default: return nullptr;
    }
}

}  // namespace

int NextChildId()
{
    static int next = 1000;
    return next++;
}

CExerciseTaskWnd::CExerciseTaskWnd(QWidget* parent, int id)
    : QWidget(parent), m_statement(new solvehost::CSymbrantCtrl), m_answer(new solvehost::CSymbrantCtrl), m_id(id)
{
    setObjectName("Task");
    setAttribute(Qt::WA_OpaquePaintEvent);
    const platform::com::OLE_COLOR background = oleColorOf(shared::GetThemeColor(0));
    m_statement->Create("", solvehost::WS_CHILD | solvehost::WS_VISIBLE, QRect(0, 0, 100, 100), this, NextChildId());
    m_statement->SetBackColor(background);
    m_statement->UseViewer();
    m_statement->SetEliminateBrackets(false);
    m_answer->Create("", solvehost::WS_CHILD | solvehost::WS_VISIBLE, QRect(0, 0, 100, 100), this, NextChildId());
    m_answer->SetBackColor(background);
    m_answer->SetEliminateBrackets(false);
    m_answer->UseEditor();
    m_answer->SetLanguge(2);
}

void CExerciseTaskWnd::SetLightState(int state)
{
    m_lightState = state;
    update();
}

void CExerciseTaskWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int sheet = esfPictures().sheet.GetWidth();
    const int light = esfPictures().lightOff.GetWidth();
    const int g = (width() - sheet - light - 20) / 2;
    m_statement->setGeometry(sheet + 10, 5, g - 20, height() - 10);
    m_answer->setGeometry(sheet + 10 + g + 20, 5, g - 20, height() - 10);
}

void CExerciseTaskWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), colorOf(shared::GetThemeColor(0)));
    const EsfPictures& pictures = esfPictures();
    pictures.sheet.Draw(painter, QPoint(2, 5));
    const CEsfBitmap* light = lightPicture(m_lightState);
    if (!light) {
        std::fprintf(stderr, "Unknown constant: light state %d\n", m_lightState);
        ShowExerciseMessage(shared::GetLangString("errLightState"), this);
    } else {
        const int w = pictures.lightOff.GetWidth();
        const int h = pictures.lightOff.GetHeight();
        light->Draw(painter, QRect(width() - w - 2, (height() - h) / 2, w, h));
    }
    // A sunken double frame around the answer: black above and left, grey
    // below and right. Right and bottom are the first pixels outside.
    const QRect answer = m_answer->geometry();
    const int left = answer.left();
    const int top = answer.top();
    const int right = answer.left() + answer.width();
    const int bottom = answer.top() + answer.height();
    painter.setPen(Qt::black);
    painter.drawLine(left - 1, top - 1, left - 1, bottom);
    painter.drawLine(left - 1, top - 1, right, top - 1);
    painter.drawLine(left - 2, top - 2, left - 2, bottom + 1);
    painter.drawLine(left - 2, top - 2, right + 1, top - 2);
    painter.setPen(QColor(120, 120, 120));
    painter.drawLine(left - 2, bottom + 1, right + 1, bottom + 1);
    painter.drawLine(right + 1, top - 2, right + 1, bottom + 1);
    painter.drawLine(left - 1, bottom, right, bottom);
    painter.drawLine(right, top - 1, right, bottom);
}

}  // namespace exercise
