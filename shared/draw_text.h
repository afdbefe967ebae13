#pragma once
// Text lines placed by the Windows DrawText format bits that the suite's
// programs pass: 0x1 centre, 0x2 right, else left; 0x4 centre vertically and
// 0x8 bottom only together with 0x20 (a single line), else top; 0x10 breaks
// words (on more than one line only).
#include <QRect>
#include <QString>

class QPainter;

namespace shared {

namespace DrawTextFormat {
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCenter = 0x4;
constexpr unsigned Bottom = 0x8;
constexpr unsigned WordBreak = 0x10;
constexpr unsigned SingleLine = 0x20;
}  // namespace DrawTextFormat

// The Qt alignment and text flags of a format.
int drawTextFlags(unsigned format);

// Draws the text inside rect (clipped to it) by the format, in the painter's
// font and pen; a single line shows line breaks as spaces.
void drawFormattedText(QPainter& painter, const QRect& rect, const QString& text, unsigned format);

}  // namespace shared
