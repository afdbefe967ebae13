// The layout and drawing frame of every lexeme, and of a whole formula.
#include "formula/layout/formula_layout.h"
#include "formula/layout/layout_support.h"

namespace formula {

void CLexem::DoLayout(Canvas& canvas, int x, int axisY)
{
    SelectFont(canvas);
    Layout(canvas, x, axisY);
    RestoreFont(canvas);
}

void CLexem::DoDraw(Canvas& canvas)
{
    SelectFont(canvas);
    if (IsSelected()) {
        const Colour selection = StyleOf(*this).selectionColour;
        const Colour oldColour = canvas.TextColour();
        const PenSpec oldPen = canvas.Pen();
        PenSpec pen = oldPen;
        pen.colour = selection;
        canvas.SetTextColour(selection);
        canvas.SetPen(pen);
        Draw(canvas);
        canvas.SetPen(oldPen);
        canvas.SetTextColour(oldColour);
    } else {
        Draw(canvas);
    }
    RestoreFont(canvas);
}

void PrepareCanvas(Canvas& canvas, const FormulaStyle& style)
{
    canvas.SetFont(style.baseFont);
    canvas.SetTextColour(0);
    canvas.SetPen(PenSpec{});
}

void LayoutFormula(Canvas& canvas, CLexem& root, Point topLeft)
{
    PrepareCanvas(canvas, StyleOf(root));
    root.DoLayout(canvas, topLeft.x, topLeft.y);
    const Box& box = root.GetBox();
    root.Offset(topLeft.x - box.x, topLeft.y - box.y);
}

void DrawFormula(Canvas& canvas, CLexem& root)
{
    PrepareCanvas(canvas, StyleOf(root));
    root.DoDraw(canvas);
}

}  // namespace formula
