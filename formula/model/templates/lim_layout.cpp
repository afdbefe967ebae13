// Layout and drawing of the limit.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/lim.h"

namespace formula {

void CLimTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    const Size text = canvas.TextExtent(kText);
    m_body->DoLayout(canvas, x + text.width + 7, axisY);
    const Box& body = m_body->GetBox();
    const int lineTop = Bottom(body);
    // Variable, arrow and value each start 8 pixels before the right edge of
    // the one before (the arrow's padding takes the overlap), each first with
    // its top at the body's bottom, then all on the lower of their axes.
    int nextX = x;
    for (CIndexRow* row : {m_variable.get(), m_arrow.get(), m_value.get()}) {
        row->DoLayout(canvas, nextX, lineTop);
        row->Offset(0, lineTop - row->GetBox().y);
        nextX = Right(row->GetBox()) - 8;
    }
    const int lineAxis = std::max(m_variable->GetBox().axisY, m_value->GetBox().axisY);
    int right = Right(body);
    int bottom = Bottom(body);
    for (CIndexRow* row : {m_variable.get(), m_arrow.get(), m_value.get()}) {
        row->Offset(0, lineAxis - row->GetBox().axisY);
        right = std::max(right, Right(row->GetBox()));
        bottom = std::max(bottom, Bottom(row->GetBox()));
    }
    m_box = {x, body.y, right + 2 - x, bottom - body.y, axisY};
}

void CLimTemplate::Draw(Canvas& canvas)
{
    const Size text = canvas.TextExtent(kText);
    canvas.TextOut(m_box.x, m_box.axisY - text.height / 2, kText);
    m_body->DoDraw(canvas);
    m_variable->DoDraw(canvas);
    m_arrow->DoDraw(canvas);
    m_value->DoDraw(canvas);
}

}  // namespace formula
