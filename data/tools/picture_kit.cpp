#include "picture_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace pictures {

namespace {

// Outlines grow with the motif, from one pixel to three.
qreal lineWidth(const QRectF& r)
{
    return std::clamp<qreal>(std::round(std::min(r.width(), r.height()) / 16.0), 1.0, 3.0);
}

// A rectangle with its edges on pixel centres, so that a one-pixel outline
// stays sharp at icon sizes.
QRectF aligned(const QRectF& r)
{
    auto half = [](qreal v) { return std::floor(v) + 0.5; };
    return QRectF(QPointF(half(r.left()), half(r.top())), QPointF(half(r.right()), half(r.bottom())));
}

QPen outline(qreal width, const QColor& c = colour::ink)
{
    QPen pen(c, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QPointF at(const QRectF& r, qreal fx, qreal fy)
{
    return {r.left() + r.width() * fx, r.top() + r.height() * fy};
}

// A stroke with a dark rim: the ink first, the colour over it.
void rimmedStroke(QPainter& p, const QPainterPath& path, const QColor& body, qreal width)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(width + 2.0));
    p.drawPath(path);
    p.setPen(outline(width, body));
    p.drawPath(path);
}

}  // namespace

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage onMask(const QImage& art, QRgb mask, QRgb face)
{
    const QImage source = art.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            const int a = qAlpha(pixel);
            if (a < 128) {
                out.setPixel(x, y, mask);
                continue;
            }
            auto mix = [a](int c, int f) { return (c * a + f * (255 - a) + 127) / 255; };
            int r = mix(qRed(pixel), qRed(face));
            int g = mix(qGreen(pixel), qGreen(face));
            int b = mix(qBlue(pixel), qBlue(face));
            if (qRgb(r, g, b) == (mask | 0xff000000u))
                b = b > 0 ? b - 1 : 1;
            out.setPixel(x, y, qRgb(r, g, b));
        }
    }
    // Mask pixels that the mask around the drawing does not reach (gaps
    // between strokes) would show as holes: they take the face colour.
    const int w = out.width();
    const int h = out.height();
    std::vector<char> outside(std::size_t(w * h), 0);
    std::vector<QPoint> todo;
    auto reach = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || outside[std::size_t(y * w + x)] || out.pixel(x, y) != (mask | 0xff000000u))
            return;
        outside[std::size_t(y * w + x)] = 1;
        todo.emplace_back(x, y);
    };
    reach(0, 0);
    reach(w - 1, 0);
    reach(0, h - 1);
    reach(w - 1, h - 1);
    while (!todo.empty()) {
        const QPoint q = todo.back();
        todo.pop_back();
        reach(q.x() + 1, q.y());
        reach(q.x() - 1, q.y());
        reach(q.x(), q.y() + 1);
        reach(q.x(), q.y() - 1);
    }
    const QRgb hole = face == (mask | 0xff000000u) ? (face ^ 1u) : face;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!outside[std::size_t(y * w + x)] && out.pixel(x, y) == (mask | 0xff000000u))
                out.setPixel(x, y, hole);
        }
    }
    return out;
}

QImage flatten(const QImage& art, const QColor& background)
{
    QImage out(art.size(), QImage::Format_RGB32);
    out.fill(background);
    QPainter p(&out);
    p.drawImage(0, 0, art);
    return out;
}

void drawSheet(QPainter& p, const QRectF& r, bool squared)
{
    const qreal lw = std::clamp<qreal>(std::round(std::min(r.width(), r.height()) / 24.0), 1.0, 2.0);
    const qreal fold = std::round(std::min(r.width(), r.height()) * 0.3);
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour::paper);
    p.drawPath(sheet);
    if (squared) {
        const qreal step = std::max<qreal>(3.0, std::round(r.width() / 6.0));
        p.save();
        p.setClipPath(sheet);
        p.setPen(QPen(colour::theme1, std::max<qreal>(1.0, lw / 2)));
        for (qreal x = r.left() + step; x < r.right(); x += step)
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        for (qreal y = r.top() + step; y < r.bottom(); y += step)
            p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.restore();
    }
    p.setPen(outline(lw));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheet);
    QPolygonF corner({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                      QPointF(r.right(), r.top() + fold)});
    p.setBrush(colour::theme1);
    p.drawPolygon(corner);
}

void drawPencil(QPainter& p, QPointF tip, QPointF end, qreal width)
{
    const QPointF along = end - tip;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF d = along / length;
    const QPointF n(-d.y() * width / 2, d.x() * width / 2);
    const qreal cone = width * 1.5;
    const QPointF base = tip + d * cone;
    const QPointF band = end - d * (width * 0.9);
    const qreal lw = std::clamp<qreal>(std::round(width / 5.0), 1.0, 2.0);
    p.setPen(outline(lw));
    p.setBrush(colour::amber);
    p.drawPolygon(QPolygonF({base + n, band + n, band - n, base - n}));
    p.setBrush(QColor(232, 136, 150));
    p.drawPolygon(QPolygonF({band + n, end + n, end - n, band - n}));
    p.setBrush(colour::wood);
    p.drawPolygon(QPolygonF({tip, base + n, base - n}));
    const QPointF lead = tip + d * (cone * 0.42);
    p.setBrush(colour::ink);
    p.drawPolygon(QPolygonF({tip, lead + n * 0.42, lead - n * 0.42}));
}

void drawGear(QPainter& p, QPointF centre, qreal radius, int teeth, const QColor& body)
{
    const qreal root = radius * 0.74;
    const qreal step = 2 * std::numbers::pi / teeth;
    QPolygonF gear;
    auto point = [&](qreal r, qreal a) { return centre + QPointF(r * std::cos(a), r * std::sin(a)); };
    for (int k = 0; k < teeth; ++k) {
        const qreal a = k * step;
        gear << point(root, a - 0.32 * step) << point(radius, a - 0.17 * step)
             << point(radius, a + 0.17 * step) << point(root, a + 0.32 * step);
    }
    const qreal lw = std::clamp<qreal>(std::round(radius / 8.0), 1.0, 3.0);
    p.setPen(outline(lw));
    QRadialGradient shade(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.4);
    shade.setColorAt(0, body.lighter(135));
    shade.setColorAt(1, body);
    p.setBrush(shade);
    p.drawPolygon(gear);
    p.setBrush(colour::theme0);
    const qreal hole = radius * 0.3;
    p.drawEllipse(centre, hole, hole);
}

void drawLifebuoy(QPainter& p, QPointF centre, qreal radius)
{
    const qreal inner = radius * 0.48;
    QPainterPath ring;
    ring.addEllipse(centre, radius, radius);
    ring.addEllipse(centre, inner, inner);
    ring.setFillRule(Qt::OddEvenFill);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::paper);
    p.drawPath(ring);
    p.setBrush(colour::red);
    for (int k = 0; k < 4; ++k) {
        QPainterPath pie;
        pie.moveTo(centre);
        pie.arcTo(QRectF(centre - QPointF(radius * 1.2, radius * 1.2), QSizeF(radius * 2.4, radius * 2.4)),
                  k * 90 + 22.5, 45);
        pie.closeSubpath();
        p.drawPath(ring.intersected(pie));
    }
    p.setBrush(colour::theme1);
    p.drawEllipse(centre, inner, inner);
    const qreal lw = std::clamp<qreal>(std::round(radius / 9.0), 1.0, 3.0);
    p.setPen(outline(lw));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.drawEllipse(centre, inner, inner);
}

void drawCalculator(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    const qreal unit = r.width() / 10.0;
    p.setPen(outline(lw));
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, colour::blue);
    body.setColorAt(1, colour::blueDark);
    p.setBrush(body);
    p.drawRoundedRect(r, unit * 0.8, unit * 0.8);
    const QRectF display(r.left() + unit * 1.5, r.top() + unit * 1.3, r.width() - unit * 3,
                         std::max<qreal>(2.0, r.height() * 0.2));
    p.setPen(outline(std::max<qreal>(1.0, lw / 2)));
    p.setBrush(QColor(206, 232, 206));
    p.drawRect(display);
    const int cols = r.width() < 24 ? 3 : 4;
    const int rows = r.width() < 24 ? 3 : 4;
    const QRectF keys(display.left(), display.bottom() + unit * 1.2, display.width(),
                      r.bottom() - display.bottom() - unit * 2.4);
    const qreal gap = std::max<qreal>(1.0, std::round(unit * 0.6));
    const qreal kw = (keys.width() - gap * (cols - 1)) / cols;
    const qreal kh = (keys.height() - gap * (rows - 1)) / rows;
    p.setPen(r.width() < 24 ? Qt::NoPen : outline(std::max<qreal>(1.0, lw / 2)));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const bool last = row == rows - 1 && col == cols - 1;
            p.setBrush(last ? colour::amber : colour::theme0);
            p.drawRect(QRectF(keys.left() + col * (kw + gap), keys.top() + row * (kh + gap), kw, kh));
        }
    }
}

void drawTrafficLight(QPainter& p, const QRectF& r, Lamp lit)
{
    const qreal lw = std::max<qreal>(1.0, std::round(r.width() / 14.0));
    p.setPen(outline(lw, QColor(24, 26, 34)));
    QLinearGradient shell(r.topLeft(), r.topRight());
    shell.setColorAt(0, colour::housing.lighter(125));
    shell.setColorAt(1, colour::housing);
    p.setBrush(shell);
    const qreal corner = r.width() * 0.28;
    p.drawRoundedRect(r.adjusted(lw / 2, lw / 2, -lw / 2, -lw / 2), corner, corner);
    struct LampLook {
        Lamp lamp;
        QColor off, core, rim;
    };
    const LampLook lamps[] = {
        {Lamp::Red, QColor(92, 34, 32), QColor(255, 150, 130), QColor(236, 36, 24)},
        {Lamp::Yellow, QColor(98, 84, 30), QColor(255, 246, 170), QColor(248, 192, 20)},
        {Lamp::Green, QColor(28, 76, 42), QColor(170, 255, 180), QColor(36, 196, 72)},
    };
    const qreal radius = std::min(r.width() * 0.36, r.height() / 6.0 * 0.82);
    for (int k = 0; k < 3; ++k) {
        const QPointF c(r.center().x(), r.top() + r.height() * (2 * k + 1) / 6.0);
        const LampLook& look = lamps[k];
        p.setPen(Qt::NoPen);
        if (look.lamp == lit) {
            QRadialGradient glow(c - QPointF(radius * 0.25, radius * 0.3), radius * 1.05);
            glow.setColorAt(0, look.core);
            glow.setColorAt(0.55, look.rim.lighter(112));
            glow.setColorAt(1, look.rim);
            p.setBrush(glow);
        } else {
            p.setBrush(look.off);
        }
        p.drawEllipse(c, radius, radius);
        if (r.width() >= 24) {
            p.setPen(outline(lw, QColor(24, 26, 34)));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, radius, radius);
        }
    }
}

void drawStairs(QPainter& p, const QRectF& r, int steps, const QColor& body)
{
    const qreal sw = r.width() / steps;
    const qreal sh = r.height() / steps;
    QPolygonF stairs;
    stairs << r.bottomLeft();
    for (int k = 0; k < steps; ++k) {
        stairs << QPointF(r.left() + k * sw, r.bottom() - (k + 1) * sh)
               << QPointF(r.left() + (k + 1) * sw, r.bottom() - (k + 1) * sh);
    }
    stairs << r.bottomRight();
    const qreal lw = lineWidth(r);
    QLinearGradient shade(r.topLeft(), r.bottomRight());
    shade.setColorAt(0, body.lighter(130));
    shade.setColorAt(1, body);
    p.setPen(outline(lw));
    p.setBrush(shade);
    p.drawPolygon(stairs);
}

void drawBalance(QPainter& p, const QRectF& r)
{
    const qreal lw = std::max<qreal>(1.0, lineWidth(r) - 1);
    const QColor brass(222, 170, 56);
    p.setPen(outline(lw));
    p.setBrush(brass);
    // post and foot
    p.drawRect(QRectF(at(r, 0.44, 0.16), at(r, 0.56, 0.86)));
    p.drawRoundedRect(QRectF(at(r, 0.28, 0.86), at(r, 0.72, 0.98)), lw, lw);
    // beam
    p.drawRect(QRectF(at(r, 0.06, 0.17), at(r, 0.94, 0.26)));
    p.drawEllipse(at(r, 0.5, 0.14), r.width() * 0.06, r.width() * 0.06);
    // strings and pans
    for (const qreal x : {0.16, 0.84}) {
        p.drawLine(at(r, x, 0.25), at(r, x - 0.12, 0.58));
        p.drawLine(at(r, x, 0.25), at(r, x + 0.12, 0.58));
        QPainterPath pan;
        pan.moveTo(at(r, x - 0.16, 0.58));
        pan.arcTo(QRectF(at(r, x - 0.16, 0.48), at(r, x + 0.16, 0.70)), 180, 180);
        pan.closeSubpath();
        p.drawPath(pan);
    }
}

void drawBoard(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    const qreal frame = std::max<qreal>(2.0, std::round(r.width() / 12.0));
    p.setPen(outline(lw));
    p.setBrush(QColor(150, 98, 52));
    p.drawRoundedRect(r, frame / 2, frame / 2);
    const QRectF face = r.adjusted(frame, frame, -frame, -frame);
    p.setBrush(QColor(36, 86, 66));
    p.drawRect(face);
    // chalk: two axes and a parabola
    const QColor chalk(236, 242, 236);
    const qreal cw = std::clamp<qreal>(std::round(r.width() / 22.0), 1.0, 4.0);
    p.setPen(outline(cw, chalk));
    p.setBrush(Qt::NoBrush);
    const QPointF origin = at(face, 0.5, 0.8);
    p.drawLine(QPointF(face.left() + face.width() * 0.12, origin.y()),
               QPointF(face.right() - face.width() * 0.12, origin.y()));
    p.drawLine(QPointF(origin.x(), face.bottom() - face.height() * 0.1),
               QPointF(origin.x(), face.top() + face.height() * 0.12));
    QPainterPath parabola;
    for (int k = 0; k <= 20; ++k) {
        const qreal t = -1.0 + k / 10.0;
        const QPointF point(origin.x() + t * face.width() * 0.34, origin.y() - (1 - t * t) * face.height() * 0.55);
        if (k == 0)
            parabola.moveTo(point);
        else
            parabola.lineTo(point);
    }
    p.setPen(outline(cw, QColor(255, 226, 120)));
    p.drawPath(parabola);
}

void drawTick(QPainter& p, const QRectF& r, const QColor& body, qreal width)
{
    QPainterPath tick;
    tick.moveTo(at(r, 0.1, 0.55));
    tick.lineTo(at(r, 0.4, 0.85));
    tick.lineTo(at(r, 0.9, 0.15));
    rimmedStroke(p, tick, body, width);
}

void drawFloppy(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    const qreal cut = r.width() * 0.16;
    QPolygonF body({r.topLeft(), QPointF(r.right() - cut, r.top()), QPointF(r.right(), r.top() + cut),
                    r.bottomRight(), r.bottomLeft()});
    p.setPen(outline(lw));
    p.setBrush(colour::blue);
    p.drawPolygon(body);
    p.setBrush(colour::theme1);
    p.drawRect(aligned(QRectF(at(r, 0.24, 0.0), at(r, 0.72, 0.36))));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::ink);
    p.drawRect(QRectF(at(r, 0.52, 0.08), at(r, 0.64, 0.28)).toAlignedRect());
    p.setPen(outline(lw));
    p.setBrush(colour::paper);
    p.drawRect(aligned(QRectF(at(r, 0.16, 0.52), at(r, 0.84, 1.0))));
    p.setPen(QPen(colour::theme1, lw));
    p.drawLine(at(r, 0.26, 0.68), at(r, 0.74, 0.68));
    p.drawLine(at(r, 0.26, 0.84), at(r, 0.74, 0.84));
}

void drawPlay(QPainter& p, const QRectF& r, const QColor& body)
{
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, body.lighter(140));
    shade.setColorAt(1, body);
    p.setPen(outline(lineWidth(r)));
    p.setBrush(shade);
    p.drawPolygon(QPolygonF({r.topLeft(), QPointF(r.right(), r.center().y()), r.bottomLeft()}));
}

void drawClipboard(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    p.setPen(outline(lw));
    p.setBrush(QColor(184, 132, 74));
    p.drawRoundedRect(aligned(r.adjusted(0, r.height() * 0.08, 0, 0)), lw, lw);
    p.setBrush(colour::paper);
    p.drawRect(aligned(QRectF(at(r, 0.18, 0.26), at(r, 0.82, 0.9))));
    p.setBrush(QColor(168, 176, 190));
    p.drawRect(aligned(QRectF(at(r, 0.3, 0.0), at(r, 0.7, 0.2))));
}

void drawBook(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    p.setPen(outline(lw));
    p.setBrush(colour::paper);
    p.drawRect(aligned(QRectF(at(r, 0.2, 0.08), at(r, 1.0, 1.0))));
    QLinearGradient cover(r.topLeft(), r.topRight());
    cover.setColorAt(0, colour::violet.lighter(120));
    cover.setColorAt(1, colour::violet);
    p.setBrush(cover);
    p.drawRect(aligned(QRectF(at(r, 0.0, 0.0), at(r, 0.84, 0.88))));
    p.setBrush(colour::blueDark);
    p.drawRect(aligned(QRectF(at(r, 0.0, 0.0), at(r, 0.24, 0.88))));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::amber);
    p.drawRect(QRectF(at(r, 0.4, 0.2), at(r, 0.74, 0.36)).toAlignedRect());
}

void drawPrinter(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    p.setPen(outline(lw));
    p.setBrush(colour::paper);
    p.drawRect(aligned(QRectF(at(r, 0.24, 0.0), at(r, 0.76, 0.5))));
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(214, 218, 228));
    body.setColorAt(1, colour::theme4);
    p.setBrush(body);
    p.drawRoundedRect(aligned(QRectF(at(r, 0.0, 0.36), at(r, 1.0, 0.8))), lw, lw);
    p.setBrush(colour::paper);
    p.drawRect(aligned(QRectF(at(r, 0.2, 0.66), at(r, 0.8, 1.0))));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::green);
    p.drawRect(QRectF(at(r, 0.78, 0.46), at(r, 0.9, 0.56)));
}

void drawBulb(QPainter& p, const QRectF& r)
{
    const qreal lw = lineWidth(r);
    const QPointF c = at(r, 0.5, 0.38);
    const qreal radius = r.width() * 0.36;
    QRadialGradient glow(c - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
    glow.setColorAt(0, QColor(255, 250, 200));
    glow.setColorAt(1, colour::amber);
    p.setPen(outline(lw));
    p.setBrush(glow);
    QPainterPath bulb;
    bulb.addEllipse(c, radius, radius);
    QPainterPath neck;
    neck.addPolygon(QPolygonF({at(r, 0.24, 0.5), at(r, 0.76, 0.5), at(r, 0.66, 0.74), at(r, 0.34, 0.74)}));
    p.drawPath(bulb.united(neck).simplified());
    p.setBrush(QColor(160, 166, 178));
    p.drawRect(QRectF(at(r, 0.34, 0.74), at(r, 0.66, 0.96)));
}

void drawArrowRight(QPainter& p, const QRectF& r, const QColor& body)
{
    QPolygonF arrow({at(r, 0.0, 0.32), at(r, 0.5, 0.32), at(r, 0.5, 0.0), at(r, 1.0, 0.5), at(r, 0.5, 1.0),
                     at(r, 0.5, 0.68), at(r, 0.0, 0.68)});
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, body.lighter(150));
    shade.setColorAt(1, body);
    p.setPen(outline(lineWidth(r)));
    p.setBrush(shade);
    p.drawPolygon(arrow);
}

void drawTile(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(150), 1));
    p.setBrush(shade);
    const qreal corner = r.width() * 0.2;
    p.drawRoundedRect(r, corner, corner);
}

}  // namespace pictures
