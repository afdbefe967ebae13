// Layout and drawing of the truth value.
#include "formula/layout/layout_support.h"
#include "formula/model/templates/bool_template.h"

namespace formula {

void CBoolTemplate::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetFont(PlainFont(canvas, 400, false));
}

void CBoolTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CBoolTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_box = TextBox(canvas, Text(), x, axisY);
}

void CBoolTemplate::Draw(Canvas& canvas)
{
    const Colour old = canvas.TextColour();
    if (!IsSelected()) {
        canvas.SetTextColour(StyleOf(*this).numberColour);
    }
    canvas.TextOut(m_box.x, m_box.y, Text());
    canvas.SetTextColour(old);
}

}  // namespace formula
