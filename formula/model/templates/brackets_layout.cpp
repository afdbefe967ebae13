// Layout and drawing of bracket templates and intervals.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/brackets.h"

namespace formula {

namespace {
char OpeningChar(BracketKind kind, char unknown)
{
    switch (kind) {
    case BracketKind::Round:
        return '(';
    case BracketKind::Square:
        return '[';
    case BracketKind::Figure:
        return '{';
    case BracketKind::Abs:
        return '|';
    case BracketKind::None:
        break;
    }
    return unknown;
}

char ClosingChar(BracketKind kind, char unknown)
{
    switch (kind) {
    case BracketKind::Round:
        return ')';
    case BracketKind::Square:
        return ']';
    case BracketKind::Figure:
        return '}';
    case BracketKind::Abs:
        return '|';
    case BracketKind::None:
        break;
    }
    return unknown;
}
}  // namespace

void CBracketsTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    const int hashWidth = HashSize(canvas).width;
    m_content->DoLayout(canvas, x + hashWidth, axisY);
    const Box& content = m_content->GetBox();
    m_box = {x, content.y, content.width + 2 * hashWidth, content.height, axisY};
}

void CBracketsTemplate::DrawBracketPair(Canvas& canvas, char opening, char closing)
{
    const int hashWidth = HashSize(canvas).width;
    FontSpec font = PlainFont(canvas, 400, false);
    font.height = m_box.height;
    font.width = hashWidth;
    CanvasStateGuard guard(canvas);
    canvas.SetFont(font);
    canvas.TextOut(m_box.x, m_box.y, std::string_view(&opening, 1));
    canvas.TextOut(Right(m_box) - hashWidth + hashWidth / 3, m_box.y, std::string_view(&closing, 1));
}

void CBracketsTemplate::Draw(Canvas& canvas)
{
    const Colour old = canvas.TextColour();
    if (!IsSelected()) {
        canvas.SetTextColour(StyleOf(*this).bracketColour);
    }
    m_content->DoDraw(canvas);
    DrawBracketPair(canvas, OpeningChar(m_bracketKind, '%'), ClosingChar(m_bracketKind, '%'));
    canvas.SetTextColour(old);
}

void CIntervalTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    const int semicolon = canvas.TextExtent(";").width;
    m_content->DoLayout(canvas, x + semicolon, axisY);
    const Box left = m_content->GetBox();
    // The left end with 5 pixels on its left and room for ";" and 5 pixels on
    // its right; the right end after that.
    const int boxX = left.x - 5;
    const int boxWidth = left.width + semicolon + 10;
    m_right->DoLayout(canvas, boxX + boxWidth, axisY);
    const Box& right = m_right->GetBox();
    const int top = std::min(left.y, right.y);
    const int bottom = std::max(Bottom(left), Bottom(right));
    m_box = {boxX + 3 - semicolon, top, boxWidth + semicolon + right.width + 5, bottom - top, axisY};
}

void CIntervalTemplate::Draw(Canvas& canvas)
{
    const Colour old = canvas.TextColour();
    if (!IsSelected()) {
        canvas.SetTextColour(StyleOf(*this).bracketColour);
    }
    m_content->DoDraw(canvas);
    m_right->DoDraw(canvas);
    canvas.TextOut(Right(m_content->GetBox()), m_box.y, ";");
    DrawBracketPair(canvas, OpeningChar(m_bracketKind, '?'), ClosingChar(m_rightKind, '?'));
    canvas.SetTextColour(old);
}

}  // namespace formula
