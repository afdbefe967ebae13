// Layout and drawing of roots.
#include "formula/layout/layout_support.h"
#include "formula/model/templates/roots.h"

namespace formula {

void CSqrtTemplate::SelectFont(Canvas& canvas)
{
    const FormulaStyle& style = StyleOf(*this);
    PenSpec pen = style.thinPen;
    pen.colour = style.secondRootColour;
    if (Type() == TemplateType::SqrRoot) {
        pen = style.mainPen;
        pen.colour = style.signColour;
    }
    FontSelection(*this, canvas).SetPen(pen);
}

void CSqrtTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CSqrtTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_radicand->DoLayout(canvas, x + 12, axisY);
    const Box& radicand = m_radicand->GetBox();
    m_box = {radicand.x - 12, radicand.y - 3, radicand.width + 15, radicand.height + 3, axisY};
}

void CSqrtTemplate::Draw(Canvas& canvas)
{
    m_radicand->DoDraw(canvas);
    const int x = m_box.x;
    const int y = m_box.y;
    const int width = m_box.width;
    const int height = m_box.height;
    const Point tail = {x + width, y + 3 + height / 7};
    if (Type() == TemplateType::SqrRoot) {
        // The stroke breaks at the top corner and the overline starts again
        // a pixel to the left, so the wide pen leaves a clean corner.
        const Point sign[] = {{x + 2, y + height / 2}, {x + 7, y + height - 3}, {x + 7, y + 3}};
        const Point overline[] = {{x + 6, y + 3}, {x + width, y + 3}, tail};
        canvas.Polyline(sign);
        canvas.Polyline(overline);
    } else {
        const Point sign[] = {{x + 2, y + height / 2}, {x + 7, y + height - 3}, {x + 7, y + 3}, {x + width, y + 3},
                              tail};
        canvas.Polyline(sign);
    }
}

void CRootTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_degree->DoLayout(canvas, x, axisY);
    const Box& degree = m_degree->GetBox();
    m_sqrt->DoLayout(canvas, x + degree.width - 3, axisY);
    const Box& sqrt = m_sqrt->GetBox();
    m_degree->Offset(0, sqrt.y + sqrt.height / 2 - Bottom(degree));
    m_box = UnionBox(degree, sqrt);
    m_box.axisY = axisY;
}

void CRootTemplate::Draw(Canvas& canvas)
{
    m_sqrt->DoDraw(canvas);
    m_degree->DoDraw(canvas);
}

}  // namespace formula
