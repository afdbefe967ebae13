#pragma once
// A canvas with fixed metrics that records every drawing call, for exact
// layout tests: each character of a text is the font's width wide (half its
// height when the width is 0) and the font's height high, in every face.
#include <string>
#include <vector>

#include "formula/layout/canvas.h"

namespace formula {

struct CanvasCall {
    enum class Kind { Text, CentredText, Line, Polyline, Arc, DottedRect, FillRect };
    Kind kind = Kind::Text;
    std::string text;
    // Text: the cell's top-left corner and the text's extent; centred text,
    // rectangles: the rectangle given.
    Rect rect;
    // Line: both ends; polyline: every point; arc: the centre.
    std::vector<Point> points;
    int radius = 0;
    int startDegrees = 0;
    int spanDegrees = 0;
    Colour colour = 0;  // text colour, or the colour of a rectangle
    FontSpec font;
    PenSpec pen;
};

class FakeCanvas : public Canvas {
public:
    const FontSpec& Font() const override { return m_font; }
    void SetFont(const FontSpec& font) override { m_font = font; }
    const PenSpec& Pen() const override { return m_pen; }
    void SetPen(const PenSpec& pen) override { m_pen = pen; }
    Colour TextColour() const override { return m_colour; }
    void SetTextColour(Colour colour) override { m_colour = colour; }

    Size TextExtent(std::string_view text) override;
    void TextOut(int x, int y, std::string_view text) override;
    void DrawTextCentred(const Rect& rect, std::string_view text) override;
    void Line(Point from, Point to) override;
    void Polyline(std::span<const Point> points) override;
    void Arc(Point centre, int radius, int startDegrees, int spanDegrees) override;
    void DottedRect(const Rect& rect, Colour colour) override;
    void FillRect(const Rect& rect, Colour colour) override;

    // The fixed metrics.
    static int CharWidth(const FontSpec& font);

    const std::vector<CanvasCall>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    // The calls that output this text (top-left or centred), in order.
    std::vector<CanvasCall> TextCalls(std::string_view text) const;
    std::vector<CanvasCall> CallsOf(CanvasCall::Kind kind) const;

private:
    CanvasCall& Record(CanvasCall::Kind kind);

    FontSpec m_font;
    PenSpec m_pen;
    Colour m_colour = 0;
    std::vector<CanvasCall> m_calls;
};

}  // namespace formula
