#include "formula/layout/layout_support.h"

#include <algorithm>

namespace formula {

void FontStack::OpenFrame()
{
    m_frames.push_back(m_entries.size());
}

void FontStack::SaveFont(const FontSpec& font)
{
    Entry& entry = m_entries.emplace_back();
    entry.kind = EntryKind::Font;
    entry.font = font;
}

void FontStack::SavePen(const PenSpec& pen)
{
    Entry& entry = m_entries.emplace_back();
    entry.kind = EntryKind::Pen;
    entry.pen = pen;
}

void FontStack::SaveColour(Colour colour)
{
    Entry& entry = m_entries.emplace_back();
    entry.kind = EntryKind::Colour;
    entry.colour = colour;
}

void FontStack::RestoreFrame(Canvas& canvas)
{
    if (m_frames.empty()) {
        return;
    }
    const std::size_t start = m_frames.back();
    m_frames.pop_back();
    while (m_entries.size() > start) {
        const Entry& entry = m_entries.back();
        switch (entry.kind) {
        case EntryKind::Font:
            canvas.SetFont(entry.font);
            break;
        case EntryKind::Pen:
            canvas.SetPen(entry.pen);
            break;
        case EntryKind::Colour:
            canvas.SetTextColour(entry.colour);
            break;
        }
        m_entries.pop_back();
    }
}

namespace {
// Settings of lexemes laid out without an owner. Per thread, since a
// lexeme's font stack is written while it lays out.
CDisplaySettings& DefaultSettings()
{
    thread_local CDisplaySettings settings;
    return settings;
}

FontStack& FontStackOf(const CLexem& lexem)
{
    return lexem.Owner() ? lexem.Owner()->GetFontStack() : DefaultSettings().GetFontStack();
}
}  // namespace

const CDisplaySettings& SettingsOf(const CLexem& lexem)
{
    return lexem.Owner() ? *lexem.Owner() : DefaultSettings();
}

const FormulaStyle& StyleOf(const CLexem& lexem)
{
    return SettingsOf(lexem).Style();
}

FontSelection::FontSelection(const CLexem& lexem, Canvas& canvas)
    : m_stack(FontStackOf(lexem))
    , m_canvas(canvas)
{
    m_stack.OpenFrame();
}

void FontSelection::SetFont(const FontSpec& font)
{
    m_stack.SaveFont(m_canvas.Font());
    m_canvas.SetFont(font);
}

void FontSelection::SetPen(const PenSpec& pen)
{
    m_stack.SavePen(m_canvas.Pen());
    m_canvas.SetPen(pen);
}

void FontSelection::SetTextColour(Colour colour)
{
    m_stack.SaveColour(m_canvas.TextColour());
    m_canvas.SetTextColour(colour);
}

void RestoreSelection(const CLexem& lexem, Canvas& canvas)
{
    FontStackOf(lexem).RestoreFrame(canvas);
}

FontSpec PlainFont(const Canvas& canvas, int weight, bool italic)
{
    FontSpec font = canvas.Font();
    font.weight = weight;
    font.italic = italic;
    font.underline = false;
    font.strikeOut = false;
    return font;
}

void ScaleFont(FontSpec& font, int percent, const FormulaStyle& style)
{
    const int height = PercentOf(percent, font.height);
    const int width = PercentOf(percent, font.width);
    if (height >= style.minFontHeight && width >= style.minFontWidth) {
        font.height = height;
        font.width = width;
    }
}

Size HashSize(Canvas& canvas)
{
    return canvas.TextExtent("#");
}

Box TextBox(Canvas& canvas, std::string_view text, int x, int axisY)
{
    const Size size = canvas.TextExtent(text);
    return {x, axisY - size.height / 2, size.width, size.height, axisY};
}

CanvasStateGuard::CanvasStateGuard(Canvas& canvas)
    : m_canvas(canvas)
    , m_font(canvas.Font())
    , m_pen(canvas.Pen())
    , m_colour(canvas.TextColour())
{
}

CanvasStateGuard::~CanvasStateGuard()
{
    m_canvas.SetFont(m_font);
    m_canvas.SetPen(m_pen);
    m_canvas.SetTextColour(m_colour);
}

Box UnionBox(const Box& a, const Box& b)
{
    const int x = std::min(a.x, b.x);
    const int y = std::min(a.y, b.y);
    return {x, y, std::max(Right(a), Right(b)) - x, std::max(Bottom(a), Bottom(b)) - y, a.axisY};
}

}  // namespace formula
