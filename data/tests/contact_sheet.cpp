// The contact sheet of the suite's pictures, drawn from the compiled resources
// and the drill's archive:
//   tessaly-contact-sheet <out.png>
// writes <out.png> (everything) and, beside it, each section as
// <out>-<section>.png: every picture at its size and four times its size,
// strips cut into their images on their masks, splash faces with a sample
// title and status line in their rectangles, the About face with credits, and
// the drill's task rows with their sheet and lights.
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/tests/esf_reader.h"
#include "data/tests/picture_table.h"

namespace {

using namespace picture_table;

const QColor kSheetGround(250, 250, 250);
const QColor kBarFace(240, 240, 240);

const char* kindFolder(Kind kind)
{
    switch (kind) {
    case Kind::Icon:
        return "icon";
    case Kind::Bitmap:
        return "bitmap";
    case Kind::Archive:
        return "exercise";
    }
    return "";
}

QImage load(const PictureRow& row)
{
    if (row.kind == Kind::Archive) {
        static const esf::Archive archive = esf::Archive::fromFile(TESSALY_EXERCISE_ARCHIVE);
        const int index = archive.find(std::string(row.id) + ".bmp");
        return index < 0 ? QImage() : esf::decodeBmp(archive.read(index), nullptr);
    }
    return QImage(QStringLiteral(":/%1/%2/%3.png").arg(row.program, kindFolder(row.kind), row.id));
}

QImage loadBitmap(const char* program, const char* id)
{
    return QImage(QStringLiteral(":/%1/bitmap/%2.png").arg(program, id));
}

QImage scaled(const QImage& image, int factor)
{
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The image with its mask colour cut away, as a tool bar or a shaped window shows it.
QImage cutOnMask(const QImage& image, QRgb mask)
{
    QImage cut = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cut.height(); ++y) {
        for (int x = 0; x < cut.width(); ++x) {
            if ((cut.pixel(x, y) & 0xffffff) == (mask & 0xffffff))
                cut.setPixel(x, y, 0);
        }
    }
    return cut;
}

QFont labelFont()
{
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    return font;
}

// Places pictures left to right with a caption above each, wrapping at a width.
class Flow {
public:
    explicit Flow(int width) : m_width(width) {}

    void place(const QImage& image, const QString& caption, const QColor& ground = kSheetGround)
    {
        const int w = std::max(image.width(), QFontMetrics(labelFont()).horizontalAdvance(caption));
        if (m_x > 10 && m_x + w > m_width - 10)
            newLine();
        m_items.push_back({image, caption, ground, QPoint(m_x, m_y)});
        m_x += w + 18;
        m_lineHeight = std::max(m_lineHeight, image.height() + 16);
    }
    void newLine()
    {
        if (m_lineHeight == 0)
            return;
        m_y += m_lineHeight + 12;
        m_x = 10;
        m_lineHeight = 0;
    }
    QImage render(const QString& title)
    {
        newLine();
        QImage sheet(m_width, m_y, QImage::Format_RGB32);
        sheet.fill(kSheetGround);
        QPainter p(&sheet);
        QFont heading = labelFont();
        heading.setBold(true);
        heading.setPixelSize(14);
        p.setFont(heading);
        p.setPen(Qt::black);
        p.drawText(10, 20, title);
        p.setFont(labelFont());
        for (const Item& item : m_items) {
            p.setPen(QColor(60, 60, 60));
            p.drawText(item.at + QPoint(0, 11), item.caption);
            const QRect area(item.at + QPoint(0, 16), item.image.size());
            p.fillRect(area, item.ground);
            p.drawImage(area.topLeft(), item.image);
        }
        return sheet;
    }

private:
    struct Item {
        QImage image;
        QString caption;
        QColor ground;
        QPoint at;
    };
    int m_width;
    int m_x = 10;
    int m_y = 34;
    int m_lineHeight = 0;
    std::vector<Item> m_items;
};

bool isFace(const PictureRow& row)
{
    for (const FaceRow& face : kFaces) {
        if (std::string(face.program) == row.program && std::string(face.id) == row.id)
            return true;
    }
    return false;
}

QString caption(const PictureRow& row)
{
    return QStringLiteral("%1 %2 %3").arg(row.program, kindFolder(row.kind), row.id);
}

QImage smallPictures()
{
    Flow flow(1000);
    for (const PictureRow& row : kPictures) {
        if (isFace(row) || row.kind == Kind::Archive)
            continue;
        const QImage image = load(row);
        if (row.images > 1)
            flow.newLine();
        flow.place(image, caption(row));
        flow.place(scaled(image, 4), "x4");
        if (row.images > 1) {
            flow.newLine();
            for (int k = 0; k < row.images; ++k) {
                const QImage cut = cutOnMask(image.copy(k * row.width, 0, row.width, row.height), QRgb(row.mask));
                flow.place(cut, QString::number(k), kBarFace);
            }
            for (int k = 0; k < row.images; ++k) {
                const QImage cut = cutOnMask(image.copy(k * row.width, 0, row.width, row.height), QRgb(row.mask));
                flow.place(scaled(cut, 4), QStringLiteral("%1 x4").arg(k), kBarFace);
            }
            for (int k = 0; k < row.images; ++k) {
                const QImage cut = cutOnMask(image.copy(k * row.width, 0, row.width, row.height), QRgb(row.mask));
                flow.place(scaled(cut, 2), QStringLiteral("%1 on blue").arg(k), QColor(205, 220, 242));
            }
            flow.newLine();
        }
    }
    return flow.render("Icons, lights and strips (strips cut on their masks)");
}

// A task row of the drill, painted as the drill paints it: the sheet at (2,5),
// the light at the right, centred, and the sunken frame of the answer field.
QImage drillRow(const QImage& sheet, const QImage& light, const QImage& unlit)
{
    const int w = 560;
    const int h = 100;
    QImage row(w, h, QImage::Format_RGB32);
    row.fill(QColor(236, 233, 252));
    QPainter p(&row);
    p.drawImage(2, 5, sheet);
    p.drawImage(QRect(w - unlit.width() - 2, (h - unlit.height()) / 2, unlit.width(), unlit.height()), light);
    const int s = sheet.width();
    const int g = (w - s - unlit.width() - 20) / 2;
    const QRect answer(s + 10 + g + 20, 5, g - 20, h - 10);
    p.fillRect(QRect(s + 10, 5, g - 20, h - 10), Qt::white);
    p.fillRect(answer, Qt::white);
    p.setPen(Qt::black);
    p.drawLine(answer.left() - 1, answer.top() - 1, answer.left() - 1, answer.bottom());
    p.drawLine(answer.left() - 1, answer.top() - 1, answer.right(), answer.top() - 1);
    p.drawLine(answer.left() - 2, answer.top() - 2, answer.left() - 2, answer.bottom() + 1);
    p.drawLine(answer.left() - 2, answer.top() - 2, answer.right() + 1, answer.top() - 2);
    p.setPen(QColor(120, 120, 120));
    p.drawLine(answer.left() - 2, answer.bottom() + 2, answer.right() + 2, answer.bottom() + 2);
    p.drawLine(answer.right() + 2, answer.top() - 2, answer.right() + 2, answer.bottom() + 2);
    p.drawLine(answer.left() - 1, answer.bottom() + 1, answer.right() + 1, answer.bottom() + 1);
    p.drawLine(answer.right() + 1, answer.top() - 1, answer.right() + 1, answer.bottom() + 1);
    return row;
}

QImage drillPictures()
{
    Flow flow(1400);
    QImage sheet, unlit;
    std::vector<QImage> lights;
    for (const PictureRow& row : kPictures) {
        if (row.kind != Kind::Archive)
            continue;
        const QImage image = load(row);
        flow.place(image, row.id);
        flow.place(scaled(image, 4), QStringLiteral("%1 x4").arg(row.id));
        if (std::string(row.id) == "sheet")
            sheet = image;
        else if (row.lit == Lamp::None)
            unlit = image;
        else
            lights.push_back(image);
    }
    flow.newLine();
    for (const QImage& light : lights) {
        flow.place(drillRow(sheet, light, unlit), "task row");
        flow.newLine();
    }
    flow.place(drillRow(sheet, unlit, unlit), "task row, not checked");
    return flow.render("The drill's archive pictures (read back from exercise.esf) and its task rows");
}

int alignFlags(Align align)
{
    switch (align) {
    case Align::Top:
        return Qt::AlignTop;
    case Align::Middle:
        return Qt::AlignVCenter;
    case Align::Bottom:
        return Qt::AlignBottom;
    }
    return 0;
}

QRect toRect(const Box& b) { return QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1)); }

// The face with its texts drawn over it as the splash screen (or About box) does.
QImage dressedFace(const FaceRow& face, bool about)
{
    QImage image = loadBitmap(face.program, face.id).convertToFormat(QImage::Format_ARGB32);
    const bool shaped = std::string(face.program) == "reckonry";
    if (shaped)
        image = cutOnMask(image, qRgb(255, 255, 255));
    QImage out(image.size() + QSize(40, 40), QImage::Format_RGB32);
    QLinearGradient desktop(0, 0, out.width(), out.height());
    desktop.setColorAt(0, QColor(70, 110, 90));
    desktop.setColorAt(1, QColor(150, 120, 80));
    QPainter p(&out);
    p.fillRect(out.rect(), desktop);
    p.translate(20, 20);
    p.drawImage(0, 0, image);
    QFont status("Liberation Sans");
    status.setPointSize(8);
    QFont title("Liberation Serif");
    title.setPointSize(13);
    title.setBold(true);
    if (about) {
        p.setFont(status);
        p.setPen(QColor(205, 220, 242));
        p.drawText(toRect(face.version), Qt::AlignVCenter | Qt::AlignLeft, "Версія 1.0.0");
        const QRect credits = toRect(face.credits);
        p.fillRect(credits, QColor(204, 214, 224));
        p.setPen(Qt::black);
        p.drawText(credits.adjusted(5, 70 - 3, -10, 0), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                   "Автори програми\n\nМетодика: автори курсу\nПрограмування: команда розробників\n"
                   "Ілюстрації: художник\n\nДякуємо вчителям, які випробували програму.");
        return out;
    }
    p.setFont(status);
    p.setPen(Qt::black);
    p.drawText(toRect(face.status), alignFlags(face.statusAlign) | Qt::AlignHCenter | Qt::TextSingleLine,
               "Створення головного вікна");
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(toRect(face.title), alignFlags(face.titleAlign) | Qt::AlignHCenter | Qt::TextWordWrap,
               shaped ? "Розв'язування рівнянь" : "Алгебра крок за кроком");
    p.setPen(QPen(QColor(255, 80, 80, 160), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(toRect(face.status));
    p.drawRect(toRect(face.title));
    return out;
}

QImage faces()
{
    Flow flow(1400);
    for (const FaceRow& face : kFaces) {
        flow.place(dressedFace(face, false),
                   QStringLiteral("%1 bitmap %2 with title and status (dotted: their rectangles)")
                       .arg(face.program, face.id));
        if (face.hasCredits)
            flow.place(dressedFace(face, true), QStringLiteral("%1 bitmap %2 as the About face").arg(face.program, face.id));
    }
    return flow.render("Splash and About faces, as the programs dress them");
}

QImage facesLarge(const FaceRow& face)
{
    Flow flow(1900);
    flow.place(scaled(loadBitmap(face.program, face.id), 4), QStringLiteral("%1 bitmap %2 x4").arg(face.program, face.id));
    return flow.render(QStringLiteral("%1 bitmap %2 at four times its size").arg(face.program, face.id));
}

QImage stack(const std::vector<QImage>& parts)
{
    int width = 0;
    int height = 0;
    for (const QImage& part : parts) {
        width = std::max(width, part.width());
        height += part.height();
    }
    QImage all(width, height, QImage::Format_RGB32);
    all.fill(kSheetGround);
    QPainter p(&all);
    int y = 0;
    for (const QImage& part : parts) {
        p.drawImage(0, y, part);
        y += part.height();
    }
    return all;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly-contact-sheet <out.png>\n");
        return 2;
    }
    const QFileInfo out(QString::fromLocal8Bit(argv[1]));
    std::vector<std::pair<QString, QImage>> sections = {
        {"small", smallPictures()}, {"drill", drillPictures()}, {"faces", faces()}};
    for (const FaceRow& face : kFaces)
        sections.emplace_back(QStringLiteral("%1-%2-x4").arg(face.program, face.id), facesLarge(face));
    std::vector<QImage> parts;
    bool ok = true;
    for (const auto& [name, image] : sections) {
        parts.push_back(image);
        ok &= image.save(out.dir().filePath(out.completeBaseName() + "-" + name + ".png"), "PNG");
    }
    ok &= stack(parts).save(out.filePath(), "PNG");
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
