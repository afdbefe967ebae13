#pragma once
// The pictures of the palette buttons: the element a button inserts, drawn
// through the formula canvas with its empty places showing, fitted into the
// button. The active picture (hovered or pressed) sits on a lit frame.
class QPainter;
class QRect;

namespace formula {

void DrawToolIcon(QPainter& painter, const QRect& rect, int toolId, bool active);

}  // namespace formula
