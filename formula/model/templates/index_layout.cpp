// Layout and drawing of the index family: indexes, indexed functions,
// integration limits and progression members.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/functions.h"
#include "formula/model/templates/index.h"

namespace formula {

int CIndexTemplate::LayoutIndexes(Canvas& canvas, int x)
{
    const Box& base = m_base->GetBox();
    const FormulaStyle& style = StyleOf(*this);
    const int hashHeight = HashSize(canvas).height;
    int wider = 0;
    if (m_upper) {
        // The offset is negative: a raise.
        const int bottom = base.y - PercentOf(style.upperOffset, hashHeight);
        m_upper->DoLayout(canvas, x, bottom);
        m_upper->Offset(0, bottom - Bottom(m_upper->GetBox()));
        wider = std::max(wider, m_upper->GetBox().width);
    }
    if (m_lower) {
        const int top = Bottom(base) + PercentOf(style.lowerOffset, hashHeight);
        m_lower->DoLayout(canvas, x, top);
        m_lower->Offset(0, top - m_lower->GetBox().y);
        wider = std::max(wider, m_lower->GetBox().width);
    }
    return wider;
}

void CIndexTemplate::SetIndexBox(int x, int width, int axisY)
{
    const Box& base = m_base->GetBox();
    const int top = m_upper ? m_upper->GetBox().y : axisY - base.height / 2;
    const int bottom = m_lower ? Bottom(m_lower->GetBox()) : Bottom(base);
    m_box = {x, top, width, bottom - top, axisY};
}

void CIndexTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_base->DoLayout(canvas, x, axisY);
    const Box& base = m_base->GetBox();
    const int wider = LayoutIndexes(canvas, Right(base));
    SetIndexBox(x, base.width + wider, axisY);
}

void CIndexTemplate::Draw(Canvas& canvas)
{
    m_base->DoDraw(canvas);
    if (m_upper) {
        m_upper->DoDraw(canvas);
    }
    if (m_lower) {
        m_lower->DoDraw(canvas);
    }
}

void CIndexFuncTemplate::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetFont(PlainFont(canvas, 800, false));
}

void CIndexFuncTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CIndexFuncTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    const int nameWidth = canvas.TextExtent(GetFuncName(m_funcId)).width + HashSize(canvas).width / 3;
    const int indexX = x + nameWidth;
    // The argument first, for the indexes to stand against; then it moves
    // past the wider index.
    m_base->DoLayout(canvas, indexX, axisY);
    const int wider = LayoutIndexes(canvas, indexX);
    m_base->Offset(wider, 0);
    SetIndexBox(x, nameWidth + wider + m_base->GetBox().width, axisY);
}

void CIndexFuncTemplate::Draw(Canvas& canvas)
{
    CIndexTemplate::Draw(canvas);
    const std::string_view name = GetFuncName(m_funcId);
    const int nameHeight = canvas.TextExtent(name).height;
    const Box& argument = m_base->GetBox();
    canvas.TextOut(m_box.x, argument.y + argument.height / 2 - nameHeight / 2, name);
}

void CIntegrationLimitTemplate::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetPen(StyleOf(*this).mainPen);
}

void CIntegrationLimitTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CIntegrationLimitTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    CIndexTemplate::Layout(canvas, x, axisY);
    if (m_upper) {
        m_upper->Offset(5, 0);
    }
    if (m_lower) {
        m_lower->Offset(5, 0);
    }
    m_box.width += 5;
}

void CIntegrationLimitTemplate::Draw(Canvas& canvas)
{
    CIndexTemplate::Draw(canvas);
    const int barX = Right(m_base->GetBox()) + 3;
    canvas.Line({barX, m_box.y + 3}, {barX, Bottom(m_box) - 3});
}

}  // namespace formula
