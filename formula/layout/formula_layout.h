#pragma once
// Layout and drawing of a whole formula: the canvas is set to the owner's
// base font, black text and a black pen of width 1 (what the environment
// selects into its device context), then the root lays itself out.
#include "formula/layout/canvas.h"
#include "formula/model/lexem.h"

namespace formula {

void PrepareCanvas(Canvas& canvas, const FormulaStyle& style);
// Lays the root out with its box's top-left corner at the point.
void LayoutFormula(Canvas& canvas, CLexem& root, Point topLeft);
void DrawFormula(Canvas& canvas, CLexem& root);

}  // namespace formula
