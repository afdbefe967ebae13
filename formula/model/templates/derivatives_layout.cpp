// Layout and drawing of derivatives.
#include "formula/layout/layout_support.h"
#include "formula/model/templates/derivatives.h"

namespace formula {

void CDerivTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_body->DoLayout(canvas, x, axisY);
    const Box& body = m_body->GetBox();
    int top = body.y;
    int width = body.width;
    if (m_prime) {
        const int bottom = body.y - PercentOf(StyleOf(*this).upperOffset, HashSize(canvas).height);
        m_prime->DoLayout(canvas, Right(body), bottom);
        m_prime->Offset(0, bottom - Bottom(m_prime->GetBox()));
        top = m_prime->GetBox().y;
        width += m_prime->GetBox().width;
    }
    m_box = {x, top, width, Bottom(body) - top, axisY};
}

void CDerivTemplate::Draw(Canvas& canvas)
{
    m_body->DoDraw(canvas);
    if (m_prime) {
        m_prime->DoDraw(canvas);
    }
}

}  // namespace formula
