// Layout and drawing of fractions.
#include <algorithm>
#include <optional>

#include "formula/layout/layout_support.h"
#include "formula/model/lexem_row.h"
#include "formula/model/templates/fractions.h"
#include "formula/model/templates/multi_row.h"

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

void Cover(std::optional<BarSpan>& span, const BarSpan& bar)
{
    if (!span) {
        span = bar;
    } else {
        span->left = std::min(span->left, bar.left);
        span->right = std::max(span->right, bar.right);
    }
}

// Widens the span to the bars of the fractions laid out in the lexeme. A
// fraction's bar already covers every bar inside it, so the walk stops there.
void CoverFractionBars(CLexem& lexem, std::optional<BarSpan>& span)
{
    const TemplateType type = lexem.IsTemplate() ? lexem.Type() : TemplateType::None;
    if (type == TemplateType::HorFrac) {
        Cover(span, static_cast<const CHorFracTemplate&>(lexem).Bar());
        return;
    }
    if (type == TemplateType::MixedFrac || type == TemplateType::SimpleFrac) {
        Cover(span, static_cast<const CMixedFracTemplate&>(lexem).Bar());
        return;
    }
    if (CLexemRow* row = AsRow(&lexem)) {
        for (int pos = 0; pos < row->Count(); ++pos) {
            CoverFractionBars(*row->Child(pos), span);
        }
    } else if (lexem.IsMultiRow()) {
        auto& multi = static_cast<CMultiRowTemplate&>(lexem);
        for (int i = 0; i < multi.GetRowCount(); ++i) {
            CoverFractionBars(*multi.GetRow(i), span);
        }
    } else if (CTemplate* tmpl = AsTemplate(&lexem)) {
        for (CLexem* part : tmpl->Parts()) {
            CoverFractionBars(*part, span);
        }
    }
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
    // With the rows at x the bar would run from x + margin to
    // x + width - 1; it must reach the margin past the nested bars.
    int padLeft = 0;
    int padRight = 0;
    std::optional<BarSpan> nested;
    CoverFractionBars(*m_numerator, nested);
    CoverFractionBars(*m_denominator, nested);
    if (nested) {
        padLeft = std::max(0, x + 2 * kBarMargin - nested->left);
        padRight = std::max(0, nested->right + kBarMargin + 1 - (x + stacked.width));
        m_numerator->Offset(padLeft, 0);
        m_denominator->Offset(padLeft, 0);
    }
    m_box = {x, m_numerator->GetBox().y, padLeft + stacked.width + padRight, stacked.height, axisY};
}

BarSpan CHorFracTemplate::Bar() const
{
    return {m_box.x + kBarMargin, Right(m_box) - 1};
}

void CHorFracTemplate::Draw(Canvas& canvas)
{
    m_numerator->DoDraw(canvas);
    m_denominator->DoDraw(canvas);
    const BarSpan bar = Bar();
    canvas.Line({bar.left, m_box.axisY}, {bar.right, m_box.axisY});
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

BarSpan CMixedFracTemplate::Bar() const
{
    int barX = std::min(m_numerator->GetBox().x, m_denominator->GetBox().x);
    int wholeWidth = 0;
    if (m_whole) {
        barX = Right(m_whole->GetBox());
        wholeWidth = m_whole->GetBox().width;
    }
    return {barX, barX + m_box.width - wholeWidth};
}

void CMixedFracTemplate::Draw(Canvas& canvas)
{
    if (m_whole) {
        m_whole->DoDraw(canvas);
    }
    m_numerator->DoDraw(canvas);
    m_denominator->DoDraw(canvas);
    const BarSpan bar = Bar();
    canvas.Line({bar.left, m_box.axisY}, {bar.right, m_box.axisY});
}

}  // namespace formula
