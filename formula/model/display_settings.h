#pragma once
// What the lexemes read from the environment that owns their tree: the
// correction flag (bracket elimination and sign correction while
// normalising), the mode, the fonts, colours and pens of layout and drawing,
// and the font stack; the formula environment derives from this class.
#include <cstdint>
#include <string>
#include <vector>

namespace formula {

class Canvas;

enum class FormulaMode : int { None = 0, Viewer = 1, Editor = 2, Transformer = 3 };

// A colour as Windows stores it: 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b)
{
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum class PenStyle : int { Solid = 0, Dot = 2 };

// A font as GDI describes it: face name, cell height, average character width
// (0: the face's own), weight 100-900 and styles.
struct FontSpec {
    std::string face;
    int height = 0;
    int width = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontSpec&) const = default;
};

struct PenSpec {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Colour colour = 0;
    bool operator==(const PenSpec&) const = default;
};

// The fonts, pens, colours and proportions the lexemes lay out and draw with,
// in device pixels; the defaults are the environment's.
struct FormulaStyle {
    Colour atomColour = 0;
    Colour secondRootColour = 0;
    Colour signColour = Rgb(150, 0, 0);
    Colour selectionColour = Rgb(20, 170, 20);
    Colour bracketColour = 0;
    Colour numberColour = Rgb(0, 0, 150);
    PenSpec mainPen{PenStyle::Solid, 2, Rgb(150, 0, 0)};
    PenSpec thinPen{PenStyle::Solid, 1, 0};
    FontSpec baseFont{"Times New Roman", 20, 10, 400};
    // A scaled font is used only when both scaled values reach these.
    int minFontHeight = 6;
    int minFontWidth = 6;
    // Percent of the height of "#": raise of upper indexes and primes, drop of
    // lower indexes.
    int upperOffset = -55;
    int lowerOffset = -50;
    // Percent of the current font.
    int indexScale = 85;
    int fractionScale = 100;
    int mixedFractionScale = 100;
    // Percent of the font height between a fraction's rows and its bar.
    int barGapAbove = 0;
    int barGapBelow = 0;
    // The vertical bar at the left of the formula root.
    bool showAggregate = true;
    Colour aggregateColour = 0;
};

// What SelectFont replaced on the canvas (fonts, pens, text colours), restored
// in reverse by RestoreFont. Each SelectFont that changes something opens a
// frame; RestoreFont puts the whole frame back. Grows as deep as the tree.
class FontStack {
public:
    void OpenFrame();
    void SaveFont(const FontSpec& font);
    void SavePen(const PenSpec& pen);
    void SaveColour(Colour colour);
    // Puts the newest frame's entries back on the canvas, newest first; does
    // nothing when no frame is open.
    void RestoreFrame(Canvas& canvas);
    int FrameCount() const { return static_cast<int>(m_frames.size()); }

private:
    enum class EntryKind : std::uint8_t { Font, Pen, Colour };
    struct Entry {
        EntryKind kind = EntryKind::Font;
        FontSpec font;
        PenSpec pen;
        Colour colour = 0;
    };
    std::vector<Entry> m_entries;
    std::vector<std::size_t> m_frames;
};

class CDisplaySettings {
public:
    virtual ~CDisplaySettings() = default;

    bool CorrectionOn() const { return m_correction; }
    void SetCorrection(bool on) { m_correction = on; }
    FormulaMode Mode() const { return m_mode; }
    void SetMode(FormulaMode mode) { m_mode = mode; }
    const FormulaStyle& Style() const { return m_style; }
    FormulaStyle& Style() { return m_style; }
    FontStack& GetFontStack() { return m_fontStack; }

private:
    bool m_correction = true;
    FormulaMode m_mode = FormulaMode::None;
    FormulaStyle m_style;
    FontStack m_fontStack;
};

}  // namespace formula
