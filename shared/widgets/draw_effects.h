#pragma once
// Drawing services under the HTML text drawer: rectangles filled with a
// background effect (solid, two- and three-colour gradients, and nine
// textures drawn through a 256-colour palette picture), borders and lines
// in six styles, colour arithmetic, picture effects (grey, darker, lighter,
// one colour, inverted), transparent drawing through masks, soft shadows
// made with a box blur, icon scaling and tiling.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>

class QPainter;

namespace shared {

// An 8-bit indexed picture with its own palette (2, 16 or 256 entries for
// 1, 4 or 8 bits per pixel). Its pixel setter counts y from the top.
class CPaletteDib {
public:
    // False (and no picture) for a size below 1 by 1.
    bool Create(int width, int height, int bitsPerPixel = 8);
    void SetPaletteEntry(int index, int red, int green, int blue);
    // Every entry moves percent (at most 100) of the way toward colour.
    void BlendPalette(const QColor& colour, int percent);
    void Fill(int index);
    void SetPixel(int x, int y, int index);
    int GetPixel(int x, int y) const;
    void Draw(QPainter& painter, int x, int y) const;

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    int paletteSize() const { return static_cast<int>(m_palette.size()); }
    QColor paletteEntry(int index) const;
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
    QVector<QRgb> m_palette;
};

// Effect codes.
namespace Effect {
constexpr int Transparent = -1;
constexpr int Solid = 0;
constexpr int HGradient = 1;
constexpr int VGradient = 2;
constexpr int HCGradient = 3;
constexpr int VCGradient = 4;
constexpr int H3Gradient = 5;
constexpr int V3Gradient = 6;
constexpr int Noise = 7;
constexpr int DiagShade = 8;
constexpr int HShade = 9;
constexpr int VShade = 10;
constexpr int HBump = 11;
constexpr int VBump = 12;
constexpr int SoftBump = 13;
constexpr int HardBump = 14;
constexpr int Metal = 15;
}  // namespace Effect

// Picture effect flags.
namespace ImageEffect {
constexpr unsigned Grey = 0x1;
constexpr unsigned Darker = 0x2;
constexpr unsigned Lighter = 0x4;
constexpr unsigned OneColour = 0x8;
constexpr unsigned Shadow = 0x100;
constexpr unsigned SoftShadow = 0x200;
constexpr unsigned Inverted = 0x8000;
}  // namespace ImageEffect

// How a picture's shadow looks: its blur window (0: twice the offset plus
// one for a soft shadow, 1 for a plain one), its colour and how much of
// the colour it lays over what is under it, in percent.
struct ShadowLook {
    int blurX = 0;
    int blurY = 0;
    QColor colour{0, 0, 0};
    int darkness = 100;
};

class CDrawEffects {
public:
    CDrawEffects();

    // The textures' random numbers, 0 to 32767; a 15-bit generator of the
    // object's own unless replaced.
    void SetRandomSource(std::function<int()> source);

    void FillEffect(QPainter& painter, int effect, const QRect& rect, const QColor& begin, const QColor& middle,
                    const QColor& end, int granularity, int colouring);
    // Style 0 none, 1 solid, 2 dashed, 3 dotted, 4 dash-dot, 5 dash-dot-dot,
    // 6 double.
    void DrawRectangle(QPainter& painter, const QRect& rect, const QColor& light, const QColor& dark, int style,
                       int width);
    void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour, int style, int width);

    static QColor GrayColor(const QColor& colour);
    static QColor InvertColor(const QColor& colour);
    static QColor DarkenColor(const QColor& colour, double factor);
    static QColor LightenColor(const QColor& colour, double factor);

    // The picture copied into a 32-bit picture of the given size with the
    // effects applied to every pixel (a mask-coloured pixel becomes black).
    static QImage CreateImageEffect(const QImage& bitmap, int width, int height, unsigned flags, bool useMask,
                                    const QColor& maskColour, const QColor& oneColour);
    // Draws the picture (scaled to width x height) with the effects; the
    // mask colour shows what is under it. Shadow flags draw a shadow first,
    // moved by the shadow depths.
    void DrawBitmap(QPainter& painter, int x, int y, int width, int height, const QImage& bitmap, bool useMask,
                    const QColor& maskColour, unsigned flags, int shadowX, int shadowY,
                    const ShadowLook& look = {});
    // An icon's clear pixels show what is under it.
    void DrawIcon(QPainter& painter, int x, int y, int width, int height, const QImage& icon, unsigned flags,
                  int shadowX, int shadowY, const ShadowLook& look = {});
    // Darkens what lies under the mask's black pixels through a box blur of
    // blurX by blurY (made odd); with gradient the mask is first shrunk by
    // the blur sizes and centred. Where the blurred mask is black the
    // shadow multiplies what is under it by colour, darkness percent of the
    // way (black at 100: black).
    void DrawShadow(QPainter& painter, int x, int y, int width, int height, const QImage& mask, bool gradient,
                    int blurX, int blurY, const QColor& colour = QColor(0, 0, 0), int darkness = 100);

    static QImage StretchIcon(const QImage& icon, int width, int height);
    static QSize GetIconSize(const QImage& icon);
    static QSize GetBitmapSize(const QImage& bitmap);
    static void TileBlt(QPainter& painter, const QRect& rect, const QImage& source, int sourceX, int sourceY,
                        int tileWidth, int tileHeight);

    const CPaletteDib& paletteDib() const { return m_dib; }

private:
    int random();
    void fillTexture(QPainter& painter, int effect, const QRect& rect, const QColor& begin, const QColor& middle,
                     const QColor& end, int granularity, int colouring);

    CPaletteDib m_dib;
    std::function<int()> m_random;
    std::uint32_t m_seed = 1;
};

// The 64 bands of a gradient from begin to end across (horizontal) or down
// the rectangle.
void FillGradientBands(QPainter& painter, const QRect& rect, const QColor& begin, const QColor& end, bool horizontal);

}  // namespace shared
