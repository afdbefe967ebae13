// Layout and drawing of fractions.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/fractions.h"

namespace formula {

namespace {
struct StackedFraction {
    int width = 0;
    int height = 0;  // both rows and both gaps
};

// Lays numerator and denominator out at x, the narrower centred over the
// wider, the numerator's bottom and the denominator's top the bar gaps away
// from the axis (gaps in percent of the current font's height).
StackedFraction StackRows(Canvas& canvas, CLexemRow& numerator, CLexemRow& denominator, int x, int axisY,
                          const FormulaStyle& style)
{
    numerator.DoLayout(canvas, x, axisY);
    denominator.DoLayout(canvas, x, axisY);
    const Box& num = numerator.GetBox();
    const Box& den = denominator.GetBox();
    const int width = std::max(num.width, den.width);
    const int fontHeight = canvas.Font().height;
    const int gapAbove = PercentOf(style.barGapAbove, fontHeight);
    const int gapBelow = PercentOf(style.barGapBelow, fontHeight);
    numerator.Offset((width - num.width) / 2, axisY - gapAbove - Bottom(num));
    denominator.Offset((width - den.width) / 2, axisY + gapBelow - den.y);
    return {width, num.height + den.height + gapAbove + gapBelow};
}
}  // namespace

void CHorFracTemplate::SelectFont(Canvas& canvas)
{
    const FormulaStyle& style = StyleOf(*this);
    FontSpec font = canvas.Font();
    ScaleFont(font, style.fractionScale, style);
    font.italic = true;
    FontSelection selection(*this, canvas);
    selection.SetFont(font);
    selection.SetPen(style.mainPen);
}

void CHorFracTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CHorFracTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    const StackedFraction stacked = StackRows(canvas, *m_numerator, *m_denominator, x, axisY, StyleOf(*this));
    m_box = {x, m_numerator->GetBox().y, stacked.width, stacked.height, axisY};
}

void CHorFracTemplate::Draw(Canvas& canvas)
{
    m_numerator->DoDraw(canvas);
    m_denominator->DoDraw(canvas);
    canvas.Line({m_box.x + 2, m_box.axisY}, {Right(m_box) - 1, m_box.axisY});
}

void CDiagFracTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_numerator->DoLayout(canvas, x, axisY);
    m_denominator->DoLayout(canvas, x, axisY);
    const Box& num = m_numerator->GetBox();
    const Box& den = m_denominator->GetBox();
    m_numerator->Offset(0, axisY - Bottom(num));
    m_denominator->Offset(num.width + 10, axisY - den.y);
    m_box = {num.x, num.y, num.width + den.width + 10, num.height + den.height, axisY};
}

void CDiagFracTemplate::Draw(Canvas& canvas)
{
    m_numerator->DoDraw(canvas);
    m_denominator->DoDraw(canvas);
    const Box& num = m_numerator->GetBox();
    const Box& den = m_denominator->GetBox();
    canvas.Line({Right(num), Bottom(den)}, {den.x, num.y});
}

void CMixedFracTemplate::SelectFont(Canvas& canvas)
{
    const FormulaStyle& style = StyleOf(*this);
    FontSpec font = canvas.Font();
    ScaleFont(font, style.mixedFractionScale, style);
    FontSelection(*this, canvas).SetFont(font);
}

void CMixedFracTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CMixedFracTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    int fractionX = x;
    int wholeWidth = 0;
    if (m_whole) {
        m_whole->DoLayout(canvas, x, axisY);
        wholeWidth = m_whole->GetBox().width;
        fractionX = Right(m_whole->GetBox());
    }
    const StackedFraction stacked =
        StackRows(canvas, *m_numerator, *m_denominator, fractionX, axisY, StyleOf(*this));
    m_box = {x, m_numerator->GetBox().y, wholeWidth + stacked.width, stacked.height, axisY};
}

void CMixedFracTemplate::Draw(Canvas& canvas)
{
    int barX = std::min(m_numerator->GetBox().x, m_denominator->GetBox().x);
    int wholeWidth = 0;
    if (m_whole) {
        m_whole->DoDraw(canvas);
        barX = Right(m_whole->GetBox());
        wholeWidth = m_whole->GetBox().width;
    }
    m_numerator->DoDraw(canvas);
    m_denominator->DoDraw(canvas);
    canvas.Line({barX, m_box.axisY}, {barX + m_box.width - wholeWidth, m_box.axisY});
}

}  // namespace formula
