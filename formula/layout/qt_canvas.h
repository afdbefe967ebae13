#pragma once
// The canvas over a QPainter. GDI faces resolve to the fonts the suite ships:
// "Times New Roman" to Liberation Serif, "Arial" to Liberation Sans, and the
// "Symbol" face to DejaVu Sans with its codes mapped through the Adobe Symbol
// encoding. A GDI cell height H becomes the largest pixel size whose line
// height is at most H; a GDI width becomes a horizontal stretch of the face's
// average character width. Resolved fonts are cached by their description for
// the whole process. Text is measured as GDI measures it: the sum of the
// characters' advances, no kerning.
//
// Needs a QGuiApplication. Without a painter the canvas only measures. While
// it draws, the canvas sets the painter's font, pen and render hints (lines
// unantialiased as GDI draws them, text antialiased).
#include <string_view>

#include "formula/layout/canvas.h"

class QPainter;

namespace formula {

class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter* painter = nullptr);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    const FontSpec& Font() const override { return m_font; }
    void SetFont(const FontSpec& font) override;
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

    // The font family a GDI face name resolves to.
    static std::string_view FamilyOf(std::string_view face);
    // The pixel size the current font resolved to.
    int PixelSize();

    struct ResolvedFont;

private:
    ResolvedFont& Resolved();
    void DrawCodes(int x, int y, std::string_view text);
    void ApplyPen();

    QPainter* m_painter;
    FontSpec m_font;
    PenSpec m_pen;
    Colour m_colour = 0;
    ResolvedFont* m_resolved = nullptr;
    // The font last given to the painter.
    const ResolvedFont* m_painterFont = nullptr;
};

}  // namespace formula
