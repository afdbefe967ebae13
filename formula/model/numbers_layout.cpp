// Fonts and colours of the number rows; they lay out as rows.
#include "formula/layout/layout_support.h"
#include "formula/model/numbers.h"

namespace formula {

void CNumber::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetFont(PlainFont(canvas, 100, false));
}

void CRealNum::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetFont(PlainFont(canvas, 600, false));
}

void CRealNum::Draw(Canvas& canvas)
{
    if (IsSelected()) {
        CLexemRow::Draw(canvas);
        return;
    }
    const Colour old = canvas.TextColour();
    canvas.SetTextColour(StyleOf(*this).numberColour);
    CLexemRow::Draw(canvas);
    canvas.SetTextColour(old);
}

void CLowerIndexRow::SelectFont(Canvas& canvas)
{
    FontSpec font = PlainFont(canvas, 200, false);
    ScaleFont(font, StyleOf(*this).indexScale, StyleOf(*this));
    FontSelection(*this, canvas).SetFont(font);
}

}  // namespace formula
