// Draws the suite's pictures and writes them as PNG files:
//   tessaly-draw-pictures <data folder>
// writes <data folder>/pictures/<program>/{bitmap,icon}/<id>.png and the drill's
// archive pictures <data folder>/resources/exercise/<name>.png. The files are kept
// in the source tree; run this after changing a picture and look at the contact
// sheet (tessaly-contact-sheet).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "picture_kit.h"

namespace pictures {
namespace {

using Motif = std::function<void(QPainter&)>;

// Tool bars and list headers are drawn on a light grey face.
constexpr QRgb kBarFace = 0xfff0f0f0;

QImage drawArt(int width, int height, const Motif& motif)
{
    QImage art = blankImage(width, height);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    motif(p);
    return art;
}

// A strip of equal images side by side, each on the mask colour.
QImage toolStrip(int width, int height, QRgb mask, const std::vector<Motif>& motifs)
{
    QImage strip(width * int(motifs.size()), height, QImage::Format_RGB32);
    QPainter p(&strip);
    for (std::size_t k = 0; k < motifs.size(); ++k)
        p.drawImage(int(k) * width, 0, onMask(drawArt(width, height, motifs[k]), mask, kBarFace));
    return strip;
}

// ---- Stepwell --------------------------------------------------------------

QImage stepwellTools()
{
    using namespace colour;
    return toolStrip(24, 24, qRgb(243, 241, 240), {
        [](QPainter& p) { drawFloppy(p, QRectF(3.5, 3.5, 17, 17)); },
        [](QPainter& p) { drawGear(p, QPointF(12, 12), 10, 8, violet); },
        [](QPainter& p) { drawPencil(p, QPointF(3.5, 20.5), QPointF(20.5, 3.5), 6); },
        [](QPainter& p) {
            drawGear(p, QPointF(8.5, 8.5), 7.5, 7, violet);
            drawPencil(p, QPointF(8.5, 21.5), QPointF(21.5, 8.5), 5);
        },
        [](QPainter& p) { drawPlay(p, QRectF(6.5, 3.5, 13, 17), green); },
        [](QPainter& p) { drawTick(p, QRectF(3, 4, 18, 15), green, 3.4); },
        [](QPainter& p) {
            drawStairs(p, QRectF(2.5, 9.5, 19, 12), 3, blue);
            drawPencil(p, QPointF(6.5, 9), QPointF(17, 1.5), 3.6);
        },
        [](QPainter& p) { drawLifebuoy(p, QPointF(12, 12), 10); },
    });
}

QImage light(int width, int height, Lamp lit, const QColor& background)
{
    return flatten(drawArt(width, height, [&](QPainter& p) {
        drawTrafficLight(p, QRectF(0, 0, width, height), lit);
    }), background);
}

// The ground of the three rectangular splash faces: a dark band for the white
// title, a light squared band for the black status line.
void splashGround(QPainter& p, int width, int height, int split)
{
    QLinearGradient dark(0, 0, 0, split);
    dark.setColorAt(0, colour::night);
    dark.setColorAt(1, colour::violet);
    p.fillRect(0, 0, width, split, dark);
    p.fillRect(0, split, width, height - split, colour::theme0);
    p.setPen(QPen(QColor(218, 222, 246), 1));
    for (int x = 19; x < width; x += 20)
        p.drawLine(QPointF(x + 0.5, split), QPointF(x + 0.5, height));
    for (int y = split + 19; y < height; y += 20)
        p.drawLine(QPointF(0, y + 0.5), QPointF(width, y + 0.5));
    p.fillRect(0, split, width, 4, colour::theme3);
    p.fillRect(0, split + 4, width, 1, colour::blue);
}

// A soft frame behind the title rectangle (250,20)-(400,150).
void titlePanel(QPainter& p)
{
    p.setPen(QPen(QColor(205, 220, 242, 110), 2));
    p.setBrush(QColor(20, 22, 60, 90));
    p.drawRoundedRect(QRectF(242, 14, 166, 142), 14, 14);
}

QImage stepwellSplash()
{
    return flatten(drawArt(450, 340, [](QPainter& p) {
        splashGround(p, 450, 340, 190);
        titlePanel(p);
        drawStairs(p, QRectF(20.5, 62.5, 180, 116), 4, colour::theme1);
        // a sheet of the solution standing on each step
        for (int k = 0; k < 4; ++k)
            drawSheet(p, QRectF(30.5 + k * 45, 178.5 - (k + 1) * 29 - 28, 24, 28), true);
        drawTrafficLight(p, QRectF(206, 30, 22, 68), Lamp::Green);
    }), colour::theme0);
}

// ---- Reckonry and Sumwright -------------------------------------------------

// A plus and a cross of 7 x 7 pixels for the 16 x 15 tool images, outlined on
// pixel centres so that they stay sharp.
QPolygonF plusShape()
{
    return QPolygonF({{2, 0}, {5, 0}, {5, 2}, {7, 2}, {7, 5}, {5, 5}, {5, 7}, {2, 7}, {2, 5}, {0, 5}, {0, 2}, {2, 2}});
}

QPolygonF crossShape()
{
    return QPolygonF({{0, 1.5}, {1.5, 0}, {3.5, 2}, {5.5, 0}, {7, 1.5}, {5, 3.5}, {7, 5.5}, {5.5, 7}, {3.5, 5},
                      {1.5, 7}, {0, 5.5}, {2, 3.5}});
}

void badge(QPainter& p, QPointF at, const QPolygonF& shape, const QColor& body)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour::ink, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(body);
    p.drawPolygon(shape.translated(at));
    p.restore();
}

QImage calculatorTools(QRgb mask)
{
    using namespace colour;
    return toolStrip(16, 15, mask, {
        [](QPainter& p) { drawCalculator(p, QRectF(2.5, 0.5, 11, 14)); },
        [](QPainter& p) {
            drawSheet(p, QRectF(1.5, 0.5, 9, 12), false);
            badge(p, QPointF(7.5, 6.5), plusShape(), green);
        },
        [](QPainter& p) {
            drawSheet(p, QRectF(1.5, 0.5, 9, 12), false);
            badge(p, QPointF(7.5, 6.5), crossShape(), red);
        },
        [](QPainter& p) {
            drawSheet(p, QRectF(1.5, 0.5, 8, 10), false);
            drawSheet(p, QRectF(6.5, 4.5, 8, 10), false);
        },
        [](QPainter& p) {
            drawClipboard(p, QRectF(1.5, 0.5, 10, 13.5));
            drawSheet(p, QRectF(7.5, 5.5, 7, 9), false);
        },
        [](QPainter& p) { drawLifebuoy(p, QPointF(8, 7.5), 6.8); },
    });
}

// Reckonry's splash is shaped: everything white around the body is cut away.
QImage reckonrySplash()
{
    const QImage art = drawArt(320, 110, [](QPainter& p) {
        const QRectF body(4, 3, 312, 104);
        QPainterPath shape;
        shape.addRoundedRect(body, 18, 18);
        // the outline is the window's edge: drawn without antialiasing so that
        // it stays whole where the white around it is cut away
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::theme0);
        p.drawPath(shape);
        p.save();
        p.setClipPath(shape);
        QLinearGradient dark(0, 0, 0, 50);
        dark.setColorAt(0, colour::night);
        dark.setColorAt(1, colour::violet);
        p.fillRect(QRectF(0, 0, 320, 48), dark);
        p.fillRect(QRectF(0, 48, 320, 3), colour::theme3);
        p.setPen(QPen(QColor(218, 222, 246), 1));
        for (int x = 20; x < 320; x += 12)
            p.drawLine(QPointF(x + 0.5, 51), QPointF(x + 0.5, 110));
        for (int y = 62; y < 110; y += 12)
            p.drawLine(QPointF(0, y + 0.5), QPointF(320, y + 0.5));
        p.restore();
        p.setPen(QPen(colour::ink, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
        p.setRenderHint(QPainter::Antialiasing);
        drawBalance(p, QRectF(10, 56, 36, 42));
    });
    return onMask(art, qRgb(255, 255, 255), colour::ink.rgb());
}

QImage sumwrightSplash()
{
    return flatten(drawArt(450, 340, [](QPainter& p) {
        splashGround(p, 450, 340, 190);
        titlePanel(p);
        drawCalculator(p, QRectF(40.5, 22.5, 110, 150));
        drawPencil(p, QPointF(150, 170), QPointF(226, 40), 12);
    }), colour::theme0);
}

// ---- Coursewright -----------------------------------------------------------

// Books lying on each other, seen from the side.
void bookStack(QPainter& p, const QRectF& r)
{
    const QColor covers[] = {colour::violet, colour::blue, colour::green.darker(110)};
    const qreal h = r.height() / 3;
    for (int k = 0; k < 3; ++k) {
        const qreal inset = (k == 1) ? r.width() * 0.08 : (k == 2 ? r.width() * 0.03 : 0);
        const QRectF book(r.left() + inset, r.bottom() - (k + 1) * h, r.width() - r.width() * 0.1, h - 2);
        p.setPen(QPen(colour::ink, 2));
        p.setBrush(colour::paper);
        p.drawRoundedRect(book, 4, 4);
        p.setBrush(covers[k]);
        p.drawRoundedRect(QRectF(book.left(), book.top(), book.width() * 0.82, book.height()), 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::amber);
        p.drawRect(QRectF(book.left() + book.width() * 0.2, book.top() + book.height() * 0.35, book.width() * 0.36,
                          book.height() * 0.3));
        p.setPen(QPen(colour::theme1, 1));
        for (int line = 1; line <= 3; ++line) {
            const qreal y = book.top() + book.height() * line / 4.0;
            p.drawLine(QPointF(book.left() + book.width() * 0.84, y), QPointF(book.right() - 2, y));
        }
    }
}

QImage coursewrightFace()
{
    return flatten(drawArt(450, 500, [](QPainter& p) {
        splashGround(p, 450, 500, 170);
        titlePanel(p);
        // the version text stands at (20,132)-(230,162): kept free
        drawBoard(p, QRectF(20.5, 14.5, 200, 108));
        bookStack(p, QRectF(362, 400, 76, 84));
        drawPencil(p, QPointF(374, 392), QPointF(436, 300), 9);
    }), colour::theme0);
}

QImage headerImages()
{
    const QRgb magenta = qRgb(255, 0, 255);
    QImage strip(48, 16, QImage::Format_RGB32);
    strip.fill(magenta);
    QPainter p(&strip);
    for (int k = 1; k <= 2; ++k) {
        const QRect box(k * 16 + 2, 2, 11, 11);
        p.fillRect(box, colour::paper);
        p.setPen(colour::ink);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (k == 2) {
            QImage tick = drawArt(16, 16, [](QPainter& t) {
                QPainterPath path;
                path.moveTo(4.5, 7.5);
                path.lineTo(6.8, 10);
                path.lineTo(11, 4.8);
                QPen pen(colour::green, 2);
                pen.setCapStyle(Qt::RoundCap);
                pen.setJoinStyle(Qt::RoundJoin);
                t.setPen(pen);
                t.drawPath(path);
            });
            p.drawImage(32, 0, tick);
        }
    }
    return strip;
}

// ---- Rivodadi's archive pictures -----------------------------------------------

QImage exerciseSheet()
{
    return flatten(drawArt(64, 86, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 146, 190, 90));
        p.drawRect(QRectF(7, 5, 52, 76));
        drawSheet(p, QRectF(3.5, 2.5, 52, 76), true);
        p.setPen(QPen(QColor(226, 120, 120), 1));
        p.drawLine(QPointF(10.5, 4), QPointF(10.5, 77));
        drawPencil(p, QPointF(30, 76), QPointF(60, 46), 7);
    }), colour::theme0);
}

struct Picture {
    QString path;
    std::function<QImage()> draw;
};

std::vector<Picture> allPictures()
{
    auto icon32 = [](const QColor& top, const QColor& bottom, Motif motif) {
        return [=] {
            return drawArt(32, 32, [&](QPainter& p) {
                drawTile(p, QRectF(0.5, 0.5, 31, 31), top, bottom);
                motif(p);
            });
        };
    };
    auto icon16 = [](Motif motif) { return [=] { return drawArt(16, 16, motif); }; };
    return {
        {"pictures/stepwell/icon/128.png", icon32(colour::violet, colour::night, [](QPainter& p) {
             drawStairs(p, QRectF(4.5, 9.5, 23, 18), 3, colour::theme1);
             drawTrafficLight(p, QRectF(5, 2, 6, 15), Lamp::Green);
         })},
        {"pictures/stepwell/bitmap/131.png", [] { return light(14, 44, Lamp::None, Qt::white); }},
        {"pictures/stepwell/bitmap/132.png", [] { return light(14, 44, Lamp::Green, Qt::white); }},
        {"pictures/stepwell/bitmap/133.png", [] { return light(14, 44, Lamp::Red, Qt::white); }},
        {"pictures/stepwell/bitmap/134.png", [] { return light(14, 44, Lamp::Yellow, Qt::white); }},
        {"pictures/stepwell/bitmap/136.png", stepwellTools},
        {"pictures/stepwell/bitmap/137.png", stepwellSplash},
        {"pictures/printview/icon/202.png", icon16([](QPainter& p) { drawPrinter(p, QRectF(1.5, 1.5, 13, 13)); })},
        {"pictures/pathmentor/icon/5.png",
         icon16([](QPainter& p) { drawArrowRight(p, QRectF(1.5, 2.5, 13, 11), colour::green); })},
        {"pictures/pathmentor/icon/201.png", icon16([](QPainter& p) { drawBulb(p, QRectF(2, 0.5, 12, 15)); })},
        {"pictures/rivodadi/icon/128.png", icon32(colour::theme1, colour::blue, [](QPainter& p) {
             drawTrafficLight(p, QRectF(10, 3, 12, 26), Lamp::Green);
         })},
        {"pictures/reckonry/icon/128.png", icon32(colour::theme0, colour::theme3, [](QPainter& p) {
             drawBalance(p, QRectF(3, 4, 26, 25));
         })},
        {"pictures/reckonry/bitmap/136.png", [] { return calculatorTools(qRgb(1, 241, 240)); }},
        {"pictures/reckonry/bitmap/196.png", reckonrySplash},
        {"pictures/sumwright/icon/128.png", icon32(colour::theme0, colour::theme1, [](QPainter& p) {
             drawCalculator(p, QRectF(7.5, 3.5, 17, 25));
         })},
        {"pictures/sumwright/bitmap/132.png", [] { return calculatorTools(qRgb(1, 241, 240)); }},
        {"pictures/sumwright/bitmap/136.png", sumwrightSplash},
        {"pictures/coursewright/icon/128.png", icon32(colour::theme1, colour::violet, [](QPainter& p) {
             drawBoard(p, QRectF(3.5, 6.5, 25, 19));
         })},
        {"pictures/coursewright/bitmap/163.png", coursewrightFace},
        {"pictures/coursewright/bitmap/149.png", headerImages},
        {"pictures/coursewright/icon/161.png", icon16([](QPainter& p) { drawBook(p, QRectF(1.5, 1.5, 13, 13)); })},
        {"pictures/coursewright/icon/162.png",
         icon16([](QPainter& p) { drawSheet(p, QRectF(2.5, 0.5, 11, 15), true); })},
        {"resources/exercise/sheet.png", exerciseSheet},
        {"resources/exercise/sfetofor.png", [] { return light(30, 78, Lamp::None, colour::theme0); }},
        {"resources/exercise/sfet_grn.png", [] { return light(30, 78, Lamp::Green, colour::theme0); }},
        {"resources/exercise/sfet_yel.png", [] { return light(30, 78, Lamp::Yellow, colour::theme0); }},
        {"resources/exercise/sfet_red.png", [] { return light(30, 78, Lamp::Red, colour::theme0); }},
    };
}

}  // namespace
}  // namespace pictures

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly-draw-pictures <data folder>\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    for (const pictures::Picture& picture : pictures::allPictures()) {
        const QString path = data.filePath(picture.path);
        QDir().mkpath(QFileInfo(path).path());
        if (!picture.draw().save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
