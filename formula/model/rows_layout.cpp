// Layout, drawing and fonts of rows and row heads.
#include <algorithm>
#include <climits>

#include "formula/layout/layout_support.h"
#include "formula/model/lexem_row.h"

namespace formula {

bool CLexemRow::HasAutoBrackets() const
{
    return m_alwaysBracketed || (m_bracketWhenCompound && IsCompound());
}

void CLexemRow::SelectFont(Canvas& canvas)
{
    FontSpec font = canvas.Font();
    font.weight = 800;
    font.italic = true;
    font.strikeOut = false;
    FontSelection(*this, canvas).SetFont(font);
}

void CLexemRow::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CLexemRow::Layout(Canvas& canvas, int x, int axisY)
{
    // Automatic brackets take one font width on each side.
    const int pad = HasAutoBrackets() ? canvas.Font().width : 0;
    int run = x + pad;
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (auto& child : m_children) {
        child->DoLayout(canvas, run, axisY);
        const Box& box = child->GetBox();
        run = Right(box);
        top = std::min(top, box.y);
        bottom = std::max(bottom, Bottom(box));
    }
    if (m_children.empty()) {
        top = bottom = axisY;
    }
    m_box = {x, top, run + pad - x, bottom - top, axisY};
}

void CLexemRow::Draw(Canvas& canvas)
{
    if (HasAutoBrackets()) {
        const int pad = canvas.Font().width;
        FontSpec font = PlainFont(canvas, 400, false);
        font.height = m_box.height;
        CanvasStateGuard guard(canvas);
        canvas.SetFont(font);
        canvas.TextOut(m_box.x, m_box.y, "(");
        canvas.TextOut(Right(m_box) - pad, m_box.y, ")");
    }
    for (auto& child : m_children) {
        child->DoDraw(canvas);
    }
}

void CRowHead::Layout(Canvas& canvas, int x, int axisY)
{
    m_box = TextBox(canvas, "#", x, axisY);
    if (!RowIsEmpty()) {
        m_box.width = 0;
    }
}

void CRowHead::Draw(Canvas& canvas)
{
    if (RowIsEmpty() && SettingsOf(*this).Mode() == FormulaMode::Editor) {
        canvas.DottedRect({m_box.x + 2, m_box.y + 2, m_box.width - 4, m_box.height - 4}, canvas.TextColour());
    }
}

void CIndexRow::SelectFont(Canvas& canvas)
{
    FontSpec font = canvas.Font();
    ScaleFont(font, StyleOf(*this).indexScale, StyleOf(*this));
    FontSelection(*this, canvas).SetFont(font);
}

}  // namespace formula
