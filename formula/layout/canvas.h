#pragma once
// The surface the lexemes lay out and draw on, in the terms of a GDI device
// context: a current font (face, cell height, width, weight, styles), pen and
// text colour; text extents; text at a top-left corner or centred in a
// rectangle; lines, polylines, quarter arcs, dotted and filled rectangles.
//
// Text is 8-bit codes, read by the current face: in the "Symbol" face codes of
// the Adobe Symbol encoding, in every other face Windows-1251 characters.
//
// Implementations: QtCanvas (over a QPainter, or measuring only) and
// FakeCanvas (fixed metrics, records every drawing call) for layout tests.
#include <span>
#include <string_view>

#include "formula/model/display_settings.h"
#include "formula/model/lexem.h"

namespace formula {

inline constexpr std::string_view kSymbolFace = "Symbol";

struct Size {
    int width = 0;
    int height = 0;
};

// Right and bottom edges are x + width and y + height.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline Rect RectOf(const Box& box)
{
    return {box.x, box.y, box.width, box.height};
}

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual const FontSpec& Font() const = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    virtual const PenSpec& Pen() const = 0;
    virtual void SetPen(const PenSpec& pen) = 0;
    virtual Colour TextColour() const = 0;
    virtual void SetTextColour(Colour colour) = 0;

    // Width of the text and the height of the font's cell.
    virtual Size TextExtent(std::string_view text) = 0;
    // Text with its cell's top-left corner at (x, y), in the text colour.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // One line of text centred horizontally in the rectangle, its top at the
    // rectangle's top; not clipped.
    virtual void DrawTextCentred(const Rect& rect, std::string_view text) = 0;

    // With the current pen.
    virtual void Line(Point from, Point to) = 0;
    virtual void Polyline(std::span<const Point> points) = 0;
    // An arc of the circle round the centre, from startDegrees through
    // spanDegrees (0 points right, angles grow counter-clockwise on screen).
    virtual void Arc(Point centre, int radius, int startDegrees, int spanDegrees) = 0;
    // The rectangle's outline in a dotted pen of width 1.
    virtual void DottedRect(const Rect& rect, Colour colour) = 0;
    virtual void FillRect(const Rect& rect, Colour colour) = 0;
};

}  // namespace formula
