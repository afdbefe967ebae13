#include "formula/layout/fake_canvas.h"

namespace formula {

int FakeCanvas::CharWidth(const FontSpec& font)
{
    return font.width > 0 ? font.width : font.height / 2;
}

Size FakeCanvas::TextExtent(std::string_view text)
{
    return {static_cast<int>(text.size()) * CharWidth(m_font), m_font.height};
}

CanvasCall& FakeCanvas::Record(CanvasCall::Kind kind)
{
    CanvasCall& call = m_calls.emplace_back();
    call.kind = kind;
    call.colour = m_colour;
    call.font = m_font;
    call.pen = m_pen;
    return call;
}

void FakeCanvas::TextOut(int x, int y, std::string_view text)
{
    const Size size = TextExtent(text);
    CanvasCall& call = Record(CanvasCall::Kind::Text);
    call.text = text;
    call.rect = {x, y, size.width, size.height};
}

void FakeCanvas::DrawTextCentred(const Rect& rect, std::string_view text)
{
    CanvasCall& call = Record(CanvasCall::Kind::CentredText);
    call.text = text;
    call.rect = rect;
}

void FakeCanvas::Line(Point from, Point to)
{
    Record(CanvasCall::Kind::Line).points = {from, to};
}

void FakeCanvas::Polyline(std::span<const Point> points)
{
    Record(CanvasCall::Kind::Polyline).points.assign(points.begin(), points.end());
}

void FakeCanvas::Arc(Point centre, int radius, int startDegrees, int spanDegrees)
{
    CanvasCall& call = Record(CanvasCall::Kind::Arc);
    call.points = {centre};
    call.radius = radius;
    call.startDegrees = startDegrees;
    call.spanDegrees = spanDegrees;
}

void FakeCanvas::DottedRect(const Rect& rect, Colour colour)
{
    CanvasCall& call = Record(CanvasCall::Kind::DottedRect);
    call.rect = rect;
    call.colour = colour;
}

void FakeCanvas::FillRect(const Rect& rect, Colour colour)
{
    CanvasCall& call = Record(CanvasCall::Kind::FillRect);
    call.rect = rect;
    call.colour = colour;
}

std::vector<CanvasCall> FakeCanvas::TextCalls(std::string_view text) const
{
    std::vector<CanvasCall> out;
    for (const CanvasCall& call : m_calls) {
        if ((call.kind == CanvasCall::Kind::Text || call.kind == CanvasCall::Kind::CentredText) &&
            call.text == text) {
            out.push_back(call);
        }
    }
    return out;
}

std::vector<CanvasCall> FakeCanvas::CallsOf(CanvasCall::Kind kind) const
{
    std::vector<CanvasCall> out;
    for (const CanvasCall& call : m_calls) {
        if (call.kind == kind) {
            out.push_back(call);
        }
    }
    return out;
}

}  // namespace formula
