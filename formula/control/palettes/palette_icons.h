#pragma once
// The pictures of the palette buttons: the element a button inserts, drawn
// by the formula layout with its empty places as small grey squares, then
// scaled to fill the button within a 2-pixel margin (a lone sign fills the
// button's height). The active picture (hovered or pressed) sits on a lit
// frame.
class QPainter;
class QRect;

namespace formula {

void DrawToolIcon(QPainter& painter, const QRect& rect, int toolId, bool active);

}  // namespace formula
