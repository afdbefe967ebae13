// The drawing kit of the suite's pictures: its colours and the motifs that the
// icons, tool images, lights and splash faces share, so that a motif looks the
// same at 16 pixels and at 200.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace pictures {

// The suite's palette (the shared GetThemeColor) and the accents drawn with it.
namespace colour {
inline const QColor theme0{236, 233, 252};
inline const QColor theme1{205, 220, 242};
inline const QColor theme3{173, 191, 191};
inline const QColor theme4{128, 128, 128};
inline const QColor ink{44, 52, 78};
inline const QColor paper{252, 252, 255};
inline const QColor blue{58, 104, 178};
inline const QColor blueDark{36, 62, 120};
inline const QColor violet{104, 92, 168};
inline const QColor night{40, 42, 92};
inline const QColor green{40, 150, 70};
inline const QColor red{206, 52, 44};
inline const QColor amber{238, 180, 32};
inline const QColor wood{222, 178, 118};
inline const QColor housing{56, 60, 72};
}  // namespace colour

// A transparent canvas to draw on.
QImage blankImage(int width, int height);

// The picture on a mask colour: a pixel the art covers at least half keeps the
// art's colour laid over `face` (the bar the image is shown on), every other
// pixel becomes exactly `mask`; a covered pixel that comes out equal to the mask
// is moved one step off it, so that the mask never appears inside a drawing.
QImage onMask(const QImage& art, QRgb mask, QRgb face);

// The picture laid over a solid background, without alpha.
QImage flatten(const QImage& art, const QColor& background);

// Lamps of a traffic light, top to bottom.
enum class Lamp { None, Red, Yellow, Green };

void drawSheet(QPainter& p, const QRectF& r, bool squared);
void drawPencil(QPainter& p, QPointF tip, QPointF end, qreal width);
void drawGear(QPainter& p, QPointF centre, qreal radius, int teeth, const QColor& body);
void drawLifebuoy(QPainter& p, QPointF centre, qreal radius);
void drawCalculator(QPainter& p, const QRectF& r);
void drawTrafficLight(QPainter& p, const QRectF& r, Lamp lit);
void drawStairs(QPainter& p, const QRectF& r, int steps, const QColor& body);
void drawBalance(QPainter& p, const QRectF& r);
void drawBoard(QPainter& p, const QRectF& r);
void drawTick(QPainter& p, const QRectF& r, const QColor& body, qreal width);
void drawFloppy(QPainter& p, const QRectF& r);
void drawPlay(QPainter& p, const QRectF& r, const QColor& body);
void drawClipboard(QPainter& p, const QRectF& r);
void drawBook(QPainter& p, const QRectF& r);
void drawPrinter(QPainter& p, const QRectF& r);
void drawBulb(QPainter& p, const QRectF& r);
void drawArrowRight(QPainter& p, const QRectF& r, const QColor& body);
// A rounded tile in the palette's colours: the ground of the window icons.
void drawTile(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom);

}  // namespace pictures
