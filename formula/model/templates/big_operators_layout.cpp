// Layout and drawing of integrals and sums.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/big_operators.h"

namespace formula {

namespace {
// The sign's font: the current one in the "Symbol" face, weight 400, upright.
FontSpec SignFont(const Canvas& canvas)
{
    FontSpec font = PlainFont(canvas, 400, false);
    font.face = kSymbolFace;
    return font;
}

std::string_view CodeText(const char& code)
{
    return {&code, 1};
}

constexpr char kIntegralTop = static_cast<char>(CIntegralTemplate::kSignTop);
constexpr char kIntegralExtension = static_cast<char>(CIntegralTemplate::kSignExtension);
constexpr char kIntegralBottom = static_cast<char>(CIntegralTemplate::kSignBottom);
constexpr char kSumSign = static_cast<char>(CSummaTemplate::kSign);
}  // namespace

void CBigOperatorTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    m_body->DoLayout(canvas, x, axisY);
    const Box& body = m_body->GetBox();
    int wider = 0;
    if (m_upper) {
        m_upper->DoLayout(canvas, x, axisY);
        m_upper->Offset(0, body.y - Bottom(m_upper->GetBox()));
        wider = std::max(wider, m_upper->GetBox().width);
    }
    if (m_lower) {
        m_lower->DoLayout(canvas, x, axisY);
        m_lower->Offset(0, Bottom(body) - m_lower->GetBox().y);
        wider = std::max(wider, m_lower->GetBox().width);
    }
    // The column holds the sign too: narrow limits (or none, for an
    // indefinite integral) must not leave it over the body or left of x.
    const int column = std::max(wider, SignWidth(canvas));
    if (m_upper) {
        m_upper->Offset((column - m_upper->GetBox().width) / 2, 0);
    }
    if (m_lower) {
        m_lower->Offset((column - m_lower->GetBox().width) / 2, 0);
    }
    m_body->Offset(column + 3, 0);
    LayoutSign(canvas, x, column);
    const int top = m_upper ? m_upper->GetBox().y : body.y;
    const int bottom = m_lower ? Bottom(m_lower->GetBox()) : Bottom(body) + 3;
    m_box = {x, top, column + 3 + body.width, bottom - top, axisY};
}

void CBigOperatorTemplate::Draw(Canvas& canvas)
{
    if (m_upper) {
        m_upper->DoDraw(canvas);
    }
    m_body->DoDraw(canvas);
    if (m_lower) {
        m_lower->DoDraw(canvas);
    }
    DrawSign(canvas);
}

void CBigOperatorTemplate::Offset(int dx, int dy)
{
    CTemplate::Offset(dx, dy);
    OffsetSign(dx, dy);
}

int CIntegralTemplate::SignWidth(Canvas& canvas)
{
    CanvasStateGuard guard(canvas);
    canvas.SetFont(SignFont(canvas));
    return std::max(canvas.TextExtent(CodeText(kIntegralTop)).width,
                    canvas.TextExtent(CodeText(kIntegralBottom)).width);
}

void CIntegralTemplate::LayoutSign(Canvas& canvas, int columnX, int columnWidth)
{
    CanvasStateGuard guard(canvas);
    canvas.SetFont(SignFont(canvas));
    const Size top = canvas.TextExtent(CodeText(kIntegralTop));
    const Size extension = canvas.TextExtent(CodeText(kIntegralExtension));
    const Size bottom = canvas.TextExtent(CodeText(kIntegralBottom));
    const Box& body = m_body->GetBox();
    const int centre = columnX + columnWidth / 2;
    m_signTop = {centre - top.width / 2, body.y};
    m_signBottom = {centre - bottom.width / 2, Bottom(body) + 3 - bottom.height};
    // Copies from 3 pixels above the top piece's bottom, each 3 pixels over
    // the one before, until the bottom piece is reached.
    const int gapTop = m_signTop.y + top.height;
    const int gap = m_signBottom.y - gapTop;
    m_extensionAdvance = std::max(1, extension.height - 3);
    m_extensionCount = gap > 0 ? (gap + m_extensionAdvance - 1) / m_extensionAdvance : 0;
    m_extensionStart = {centre - extension.width / 2, gapTop - 3};
}

void CIntegralTemplate::OffsetSign(int dx, int dy)
{
    for (Point* point : {&m_signTop, &m_signBottom, &m_extensionStart}) {
        point->x += dx;
        point->y += dy;
    }
}

void CIntegralTemplate::DrawSign(Canvas& canvas)
{
    CanvasStateGuard guard(canvas);
    canvas.SetFont(SignFont(canvas));
    canvas.TextOut(m_signTop.x, m_signTop.y, CodeText(kIntegralTop));
    for (int i = 0; i < m_extensionCount; ++i) {
        canvas.TextOut(m_extensionStart.x, m_extensionStart.y + i * m_extensionAdvance, CodeText(kIntegralExtension));
    }
    canvas.TextOut(m_signBottom.x, m_signBottom.y, CodeText(kIntegralBottom));
}

int CSummaTemplate::SignWidth(Canvas& canvas)
{
    CanvasStateGuard guard(canvas);
    canvas.SetFont(SignFont(canvas));
    return canvas.TextExtent(CodeText(kSumSign)).width;
}

void CSummaTemplate::LayoutSign(Canvas& canvas, int columnX, int columnWidth)
{
    CanvasStateGuard guard(canvas);
    canvas.SetFont(SignFont(canvas));
    const Size sign = canvas.TextExtent(CodeText(kSumSign));
    const Box& body = m_body->GetBox();
    const int upperBottom = m_upper ? Bottom(m_upper->GetBox()) : body.y;
    const int lowerTop = m_lower ? m_lower->GetBox().y : Bottom(body);
    const int width = sign.width + 3;
    const int top = upperBottom - sign.height / 4;
    m_signRect = {columnX + (columnWidth - width) / 2, top, width, lowerTop - top, 0};
}

void CSummaTemplate::OffsetSign(int dx, int dy)
{
    m_signRect.x += dx;
    m_signRect.y += dy;
}

void CSummaTemplate::DrawSign(Canvas& canvas)
{
    CanvasStateGuard guard(canvas);
    canvas.SetFont(SignFont(canvas));
    canvas.DrawTextCentred(RectOf(m_signRect), CodeText(kSumSign));
}

}  // namespace formula
