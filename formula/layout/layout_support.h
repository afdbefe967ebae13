#pragma once
// What the layout and drawing of every lexeme class share: the display
// settings of the lexeme's owner, font selection through the owner's font
// stack, scaling of fonts, the size of "#".
#include <string_view>

#include "formula/layout/canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/lexem.h"

namespace formula {

// The owner's settings; a lexeme without owner reads the defaults.
const CDisplaySettings& SettingsOf(const CLexem& lexem);
const FormulaStyle& StyleOf(const CLexem& lexem);

// Used in SelectFont: opens a frame on the owner's font stack; each change
// saves what it replaces, and RestoreSelection puts the frame back.
class FontSelection {
public:
    FontSelection(const CLexem& lexem, Canvas& canvas);
    void SetFont(const FontSpec& font);
    void SetPen(const PenSpec& pen);
    void SetTextColour(Colour colour);

private:
    FontStack& m_stack;
    Canvas& m_canvas;
};

// RestoreFont of a class whose SelectFont made a FontSelection.
void RestoreSelection(const CLexem& lexem, Canvas& canvas);

// The current font with a weight and italic flag; underline and strike-out off.
FontSpec PlainFont(const Canvas& canvas, int weight, bool italic);
// Height and width times percent / 100, truncated; the font stays as it is
// when either would fall below the style's minimums.
void ScaleFont(FontSpec& font, int percent, const FormulaStyle& style);

// Width and height of "#" in the current font.
Size HashSize(Canvas& canvas);
// (percent x h#) / 100, truncated toward zero.
inline int PercentOf(int percent, int value)
{
    return percent * value / 100;
}

// Lays out a text like a character: its extent, centred vertically on the axis.
Box TextBox(Canvas& canvas, std::string_view text, int x, int axisY);

// Keeps the canvas's font, pen and text colour and puts them back when it
// goes out of scope (for changes inside one Draw).
class CanvasStateGuard {
public:
    explicit CanvasStateGuard(Canvas& canvas);
    ~CanvasStateGuard();
    CanvasStateGuard(const CanvasStateGuard&) = delete;
    CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

private:
    Canvas& m_canvas;
    FontSpec m_font;
    PenSpec m_pen;
    Colour m_colour;
};

// The box of two boxes together (axis of the first).
Box UnionBox(const Box& a, const Box& b);
inline int Right(const Box& box)
{
    return box.x + box.width;
}
inline int Bottom(const Box& box)
{
    return box.y + box.height;
}

}  // namespace formula
