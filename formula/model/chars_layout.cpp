// Layout, drawing and fonts of the leaves.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/chars.h"
#include "formula/model/sign_tables.h"

namespace formula {

namespace {
std::string_view CodeText(const char& code)
{
    return {&code, 1};
}
}  // namespace

void CCharLexem::Layout(Canvas& canvas, int x, int axisY)
{
    m_box = TextBox(canvas, CodeText(m_char), x, axisY);
}

void CCharLexem::Draw(Canvas& canvas)
{
    canvas.DrawTextCentred(RectOf(m_box), CodeText(m_char));
}

void CSymbolChar::SelectFont(Canvas& canvas)
{
    FontSpec font = canvas.Font();
    font.weight = 800;
    font.italic = true;
    FontSelection(*this, canvas).SetFont(font);
}

void CSymbolChar::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CBracketChar::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetFont(PlainFont(canvas, 100, false));
}

void CBracketChar::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void COperatorSign::SelectFont(Canvas& canvas)
{
    FontSpec font = PlainFont(canvas, 400, false);
    const char ch = Char();
    if (ch != '*' && ch != ':' && ch != '?') {
        font.face = kSymbolFace;
    }
    FontSelection selection(*this, canvas);
    selection.SetFont(font);
    if (!IsSelected()) {
        selection.SetTextColour(StyleOf(*this).signColour);
    }
}

void COperatorSign::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void COperatorSign::Layout(Canvas& canvas, int x, int axisY)
{
    const char ch = Char();
    m_box = TextBox(canvas, CodeText(ch), x, axisY);
    switch (ch) {
    case '*':
        m_box.width /= 2;
        break;
    case '+':
    case '-':
        m_box.x += 2;
        m_box.width = 2 * m_box.width - 4;
        break;
    case '<':
    case '=':
    case '>':
    case '?':
        m_box.x += 2;
        m_box.width = 2 * m_box.width + 4;
        break;
    }
}

void COperatorSign::Draw(Canvas& canvas)
{
    const char code = static_cast<char>(m_symbolCode);
    canvas.DrawTextCentred(RectOf(m_box), CodeText(code));
}

void CRelationSign::SelectFont(Canvas& canvas)
{
    FontSpec font = PlainFont(canvas, 400, false);
    font.face = kSymbolFace;
    FontSelection selection(*this, canvas);
    selection.SetFont(font);
    if (!IsSelected()) {
        selection.SetTextColour(StyleOf(*this).signColour);
    }
}

void CRelationSign::Layout(Canvas& canvas, int x, int axisY)
{
    const char code = static_cast<char>(m_symbolCode);
    const Size size = canvas.TextExtent(CodeText(code));
    int margin = 2;
    switch (m_symbolCode) {
    case symbol::Intersection:
        margin = 9;
        break;
    case symbol::Union:
        margin = 5;
        break;
    case symbol::Belongs:
    case symbol::NotBelongs:
        margin = 6;
        break;
    }
    // The margins were tuned to narrow glyphs: a wide glyph pads, a narrow
    // one never overlaps its neighbours.
    const int pad = std::max(0, size.width - margin);
    m_box = {x + pad, axisY - size.height / 2, pad + size.width, size.height, axisY};
}

void CRelationSign::Draw(Canvas& canvas)
{
    const char code = static_cast<char>(m_symbolCode);
    canvas.TextOut(m_box.x, m_box.y, CodeText(code));
}

void CSpecAtom::SelectFont(Canvas& canvas)
{
    FontSpec font = canvas.Font();
    font.face = kSymbolFace;
    font.weight = m_code == symbol::RealSet ? 600 : 400;
    font.italic = false;
    font.underline = false;
    FontSelection selection(*this, canvas);
    selection.SetFont(font);
    if (!IsSelected()) {
        selection.SetTextColour(StyleOf(*this).atomColour);
    }
}

void CSpecAtom::Layout(Canvas& canvas, int x, int axisY)
{
    const char code = static_cast<char>(m_code);
    const Size size = canvas.TextExtent(CodeText(code));
    const int pad = size.width / 3;
    m_box = {x + pad, axisY - size.height / 2, pad + size.width, size.height, axisY};
}

void CSpecAtom::Draw(Canvas& canvas)
{
    const char code = static_cast<char>(m_code);
    canvas.TextOut(m_box.x, m_box.y, CodeText(code));
}

}  // namespace formula
