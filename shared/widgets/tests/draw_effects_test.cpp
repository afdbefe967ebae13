// Bitmap effects: gradient bands, the textures through the palette picture,
// borders, colour helpers, picture effects with masks and shadows, tiles,
// and a screenshot of effects 1 to 15.
#include <QPainter>

#include <gtest/gtest.h>

#include "shared/widgets/draw_effects.h"

namespace shared {
namespace {

QImage canvas(int w, int h, QColor fill = Qt::white)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

TEST(DrawEffects, GradientOf64BandsEndsAt251)
{
    QImage image = canvas(128, 10);
    {
        QPainter p(&image);
        CDrawEffects effects;
        effects.FillEffect(p, Effect::HGradient, image.rect(), Qt::black, Qt::gray, Qt::white, 5, 0);
    }
    EXPECT_EQ(image.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 5), qRgb(3, 3, 3));
    EXPECT_EQ(image.pixel(126, 0), qRgb(251, 251, 251));
    EXPECT_EQ(image.pixel(127, 9), qRgb(251, 251, 251));
    // The centre gradient turns back at the middle.
    QImage centre = canvas(128, 4);
    {
        QPainter p(&centre);
        CDrawEffects().FillEffect(p, Effect::HCGradient, centre.rect(), Qt::black, Qt::gray, Qt::white, 5, 0);
    }
    EXPECT_EQ(centre.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(centre.pixel(64, 0), qRgb(255, 255, 255));
    EXPECT_EQ(centre.pixel(127, 0), qRgb(3, 3, 3));
}

TEST(DrawEffects, NoiseAtGranularityZeroIsFlatExceptAtTheLargestRandom)
{
    CDrawEffects effects;
    for (const auto& [value, index] : {std::pair{0, 128}, std::pair{32766, 128}, std::pair{32767, 129}}) {
        effects.SetRandomSource([v = value] { return v; });
        QImage image = canvas(6, 4);
        QPainter p(&image);
        effects.FillEffect(p, Effect::Noise, image.rect(), Qt::white, Qt::gray, Qt::black, 0, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(effects.paletteDib().GetPixel(x, y), index) << value;
    }
    // A negative granularity reads as 0, a large one as 255.
    effects.SetRandomSource([] { return 32766; });
    QImage image = canvas(2, 2);
    QPainter p(&image);
    effects.FillEffect(p, Effect::Noise, image.rect(), Qt::white, Qt::gray, Qt::black, -7, 0);
    EXPECT_EQ(effects.paletteDib().GetPixel(0, 0), 128);
}

TEST(DrawEffects, TexturesCountRowsFromTheBottomAndThePaletteRunsEndToBegin)
{
    CDrawEffects effects;
    effects.SetRandomSource([] { return 0; });
    QImage image = canvas(4, 10);
    QPainter p(&image);
    effects.FillEffect(p, Effect::HShade, image.rect(), QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200),
                       0, 0);
    const CPaletteDib& dib = effects.paletteDib();
    EXPECT_EQ(dib.GetPixel(0, 9), 0);              // bottom row: y = 0
    EXPECT_EQ(dib.GetPixel(0, 0), 255 * 9 / 10);  // top row: y = 9
    EXPECT_EQ(dib.paletteEntry(0), QColor(0, 0, 200));
    EXPECT_EQ(dib.paletteEntry(128), QColor(1, 198, 0));  // the second run's first entry
    EXPECT_EQ(dib.paletteEntry(255), QColor(200, 0, 0));
    EXPECT_EQ(image.pixel(0, 9), qRgb(0, 0, 200));
    // Colouring blends the whole palette toward the begin colour.
    effects.FillEffect(p, Effect::HShade, image.rect(), QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200),
                       0, 50);
    EXPECT_EQ(effects.paletteDib().paletteEntry(0), QColor(100, 0, 100));
}

TEST(DrawEffects, EmptyRectanglesDrawNothingTinyOnesStayInside)
{
    CDrawEffects effects;
    QImage image = canvas(8, 8, QColor(1, 2, 3));
    const QImage before = image;
    {
        QPainter p(&image);
        for (int effect = -1; effect <= 15; ++effect) {
            effects.FillEffect(p, effect, QRect(3, 3, 0, 0), Qt::red, Qt::green, Qt::blue, 5, 0);
            effects.FillEffect(p, effect, QRect(3, 3, 0, 4), Qt::red, Qt::green, Qt::blue, 5, 0);
            effects.FillEffect(p, effect, QRect(3, 3, 4, 0), Qt::red, Qt::green, Qt::blue, 5, 0);
        }
    }
    EXPECT_EQ(image, before);
    // 1 x 1 for every texture, and a hard bump too narrow for its bevel.
    for (int effect = 7; effect <= 15; ++effect) {
        QImage one = canvas(3, 3, QColor(1, 2, 3));
        QPainter p(&one);
        effects.FillEffect(p, effect, QRect(1, 1, 1, 1), Qt::red, Qt::green, Qt::blue, 5, 0);
        p.end();
        EXPECT_NE(one.pixel(1, 1), qRgb(1, 2, 3)) << effect;
        EXPECT_EQ(one.pixel(0, 0), qRgb(1, 2, 3)) << effect;
        EXPECT_EQ(one.pixel(2, 2), qRgb(1, 2, 3)) << effect;
    }
    QImage narrow = canvas(5, 40);
    QPainter p(&narrow);
    effects.FillEffect(p, Effect::HardBump, narrow.rect(), Qt::red, Qt::green, Qt::blue, 5, 0);
    EXPECT_EQ(effects.paletteDib().width(), 5);
}

TEST(DrawEffects, ColourHelpers)
{
    const QColor c(100, 150, 200);
    EXPECT_EQ(CDrawEffects::GrayColor(c), QColor(140, 140, 140));
    EXPECT_EQ(CDrawEffects::InvertColor(c), QColor(155, 105, 55));
    EXPECT_EQ(CDrawEffects::DarkenColor(c, 1.0), c);
    EXPECT_EQ(CDrawEffects::DarkenColor(c, -0.5), c);
    EXPECT_EQ(CDrawEffects::DarkenColor(c, 0.75), QColor(75, 112, 150));
    EXPECT_EQ(CDrawEffects::LightenColor(c, 0.0), c);
    EXPECT_EQ(CDrawEffects::LightenColor(c, 1.0), QColor(200, 255, 255));
    EXPECT_EQ(CDrawEffects::LightenColor(c, 0.25), QColor(125, 187, 250));
}

TEST(DrawEffects, PictureEffectsAndTransparentDrawing)
{
    QImage picture = canvas(2, 1, QColor(100, 150, 200));
    picture.setPixel(1, 0, qRgb(255, 0, 255));
    const struct {
        unsigned flags;
        QRgb pixel;
    } rows[] = {{0, qRgb(100, 150, 200)},
                {ImageEffect::Grey, qRgb(140, 140, 140)},
                {ImageEffect::Grey | ImageEffect::Darker, qRgb(105, 105, 105)},
                {ImageEffect::Lighter, qRgb(125, 187, 250)},
                {ImageEffect::OneColour, qRgb(9, 8, 7)},
                {ImageEffect::OneColour | ImageEffect::Inverted, qRgb(246, 247, 248)}};
    for (const auto& row : rows) {
        const QImage out = CDrawEffects::CreateImageEffect(picture, 2, 1, row.flags, true, QColor(255, 0, 255),
                                                           QColor(9, 8, 7));
        EXPECT_EQ(out.pixel(0, 0), row.pixel) << row.flags;
        EXPECT_EQ(out.pixel(1, 0), (row.flags & ImageEffect::Inverted) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    // The mask colour shows what lies under the picture.
    QImage target = canvas(4, 4, QColor(10, 200, 10));
    {
        QPainter p(&target);
        CDrawEffects().DrawBitmap(p, 1, 1, 2, 1, picture, true, QColor(255, 0, 255), 0, 0, 0);
    }
    EXPECT_EQ(target.pixel(1, 1), qRgb(100, 150, 200));
    EXPECT_EQ(target.pixel(2, 1), qRgb(10, 200, 10));
    EXPECT_EQ(target.pixel(0, 0), qRgb(10, 200, 10));
}

TEST(DrawEffects, ShadowIsABoxBlurOfTheMask)
{
    QImage mask = canvas(5, 5);
    mask.setPixel(2, 2, qRgb(0, 0, 0));
    QImage target = canvas(5, 5);
    {
        QPainter p(&target);
        CDrawEffects().DrawShadow(p, 0, 0, 5, 5, mask, false, 2, 3);  // 2 becomes 3
    }
    // Rows average over 3, columns over 3: the centre keeps 8 of 9 whites.
    EXPECT_NEAR(qRed(target.pixel(2, 2)), 255 * 8 / 9, 1);
    EXPECT_NEAR(qRed(target.pixel(1, 1)), 255 * 8 / 9, 1);
    EXPECT_EQ(target.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
    // A plain shadow (window 1) copies the mask's darkness as it is.
    QImage plain = canvas(5, 5);
    {
        QPainter p(&plain);
        CDrawEffects().DrawShadow(p, 0, 0, 5, 5, mask, false, 1, 1);
    }
    EXPECT_EQ(plain.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(plain.pixel(2, 1), qRgb(255, 255, 255));
    // A grey shadow at darkness 50 lays half of RGB(128,128,128) over white.
    QImage grey = canvas(5, 5);
    {
        QPainter p(&grey);
        CDrawEffects().DrawShadow(p, 0, 0, 5, 5, mask, false, 1, 1, QColor(128, 128, 128), 50);
    }
    EXPECT_NEAR(qRed(grey.pixel(2, 2)), 192, 1);
    EXPECT_EQ(grey.pixel(2, 1), qRgb(255, 255, 255));
    // No area, no shadow.
    const QImage before = plain;
    QPainter p(&plain);
    CDrawEffects().DrawShadow(p, 0, 0, 0, 5, mask, true, 3, 3);
    p.end();
    EXPECT_EQ(plain, before);
}

TEST(DrawEffects, BordersLinesAndTiles)
{
    CDrawEffects effects;
    QImage image = canvas(12, 12);
    {
        QPainter p(&image);
        effects.DrawRectangle(p, QRect(0, 0, 12, 12), Qt::red, Qt::blue, 6, 1);
        effects.DrawRectangle(p, QRect(0, 0, 12, 12), Qt::green, Qt::green, 0, 1);
    }
    EXPECT_EQ(image.pixel(0, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(11, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(5, 11), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 5), qRgb(255, 0, 0));  // the double's inner ring
    EXPECT_EQ(image.pixel(9, 5), qRgb(0, 0, 255));

    QImage line = canvas(10, 6);
    {
        QPainter p(&line);
        effects.DrawLine(p, 0, 1, 9, 1, Qt::black, 6, 1);
    }
    EXPECT_EQ(line.pixel(4, 1), qRgb(0, 0, 0));
    EXPECT_EQ(line.pixel(4, 3), qRgb(0, 0, 0));
    EXPECT_EQ(line.pixel(4, 2), qRgb(255, 255, 255));

    QImage tile = canvas(2, 2, Qt::black);
    tile.setPixel(1, 1, qRgb(255, 0, 0));
    QImage tiled = canvas(5, 3);
    {
        QPainter p(&tiled);
        CDrawEffects::TileBlt(p, QRect(0, 0, 5, 3), tile, 0, 0, 2, 2);
    }
    EXPECT_EQ(tiled.pixel(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(tiled.pixel(4, 2), qRgb(0, 0, 0));
    EXPECT_EQ(CDrawEffects::GetBitmapSize(tile), QSize(2, 2));
    EXPECT_EQ(CDrawEffects::GetIconSize(QImage()), QSize(0, 0));
    EXPECT_EQ(CDrawEffects::StretchIcon(tile, 6, 4).size(), QSize(6, 4));
}

TEST(DrawEffects, ScreenshotOfEffectsOneToFifteen)
{
    QImage sheet = canvas(4 * 110, 4 * 70);
    CDrawEffects effects;
    QPainter p(&sheet);
    for (int effect = 1; effect <= 15; ++effect) {
        const QRect cell(((effect - 1) % 4) * 110 + 5, ((effect - 1) / 4) * 70 + 5, 100, 60);
        effects.FillEffect(p, effect, cell, QColor(30, 60, 160), QColor(240, 240, 250), QColor(160, 40, 40), 5, 0);
        effects.DrawRectangle(p, cell, Qt::white, Qt::black, 1, 1);
    }
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter ip(&icon);
    ip.setBrush(QColor(220, 160, 0));
    ip.drawEllipse(1, 1, 13, 13);
    ip.end();
    effects.DrawIcon(p, 3 * 110 + 20, 3 * 70 + 10, 32, 32, icon, ImageEffect::SoftShadow, 4, 4);
    effects.DrawIcon(p, 3 * 110 + 60, 3 * 70 + 10, 32, 32, icon, ImageEffect::Grey | ImageEffect::Shadow, 3, 3);
    p.end();
    EXPECT_TRUE(sheet.save(LIST_PNG_DIR "/effects_1_15.png"));
}

}  // namespace
}  // namespace shared
