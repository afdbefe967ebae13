// The pictures the programs load: each row of the picture table against the
// built resources and the drill's archive.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "data/tests/esf_reader.h"
#include "data/tests/picture_table.h"

namespace {

using namespace picture_table;

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

std::string describe(const PictureRow& row)
{
    return std::string(row.program) + " " + kindFolder(row.kind) + " " + row.id;
}

const esf::Archive& exerciseArchive()
{
    static const esf::Archive archive = esf::Archive::fromFile(TESSALY_EXERCISE_ARCHIVE);
    return archive;
}

QImage load(const PictureRow& row)
{
    if (row.kind == Kind::Archive) {
        const esf::Archive& archive = exerciseArchive();
        const int index = archive.find(std::string(row.id) + ".bmp");
        if (index < 0)
            return {};
        std::string error;
        return esf::decodeBmp(archive.read(index), &error);
    }
    return QImage(QStringLiteral(":/%1/%2/%3.png").arg(row.program, kindFolder(row.kind), row.id));
}

QImage loadById(const char* program, Kind kind, const char* id)
{
    for (const PictureRow& row : kPictures) {
        if (std::string(row.program) == program && row.kind == kind && std::string(row.id) == id)
            return load(row);
    }
    return {};
}

// Mask pixels of one image that the mask area around it does not reach
// (walking from the four corners through pixels of exactly the mask colour,
// side to side): such a pixel would vanish from inside the drawing.
int enclosedMaskPixels(const QImage& image, QRgb mask)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<char> seen(std::size_t(w * h), 0);
    std::deque<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || seen[std::size_t(y * w + x)])
            return;
        if ((image.pixel(x, y) & 0xffffff) != (mask & 0xffffff))
            return;
        seen[std::size_t(y * w + x)] = 1;
        todo.emplace_back(x, y);
    };
    visit(0, 0);
    visit(w - 1, 0);
    visit(0, h - 1);
    visit(w - 1, h - 1);
    while (!todo.empty()) {
        const QPoint p = todo.front();
        todo.pop_front();
        visit(p.x() + 1, p.y());
        visit(p.x() - 1, p.y());
        visit(p.x(), p.y() + 1);
        visit(p.x(), p.y() - 1);
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!seen[std::size_t(y * w + x)] && (image.pixel(x, y) & 0xffffff) == (mask & 0xffffff))
                ++enclosed;
        }
    }
    return enclosed;
}

// Mean brightness (the strongest channel) of the disc of lamp k (0 top).
double lampBrightness(const QImage& light, int k)
{
    const double cx = light.width() / 2.0;
    const double cy = light.height() * (2 * k + 1) / 6.0;
    const double radius = std::min(light.width() * 0.36, light.height() / 6.0 * 0.82) * 0.6;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < light.height(); ++y) {
        for (int x = 0; x < light.width(); ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy > radius * radius)
                continue;
            const QRgb p = light.pixel(x, y);
            sum += std::max({qRed(p), qGreen(p), qBlue(p)});
            ++count;
        }
    }
    return count ? sum / count : 0;
}

int lampIndex(Lamp lamp)
{
    switch (lamp) {
    case Lamp::Red:
        return 0;
    case Lamp::Yellow:
        return 1;
    case Lamp::Green:
        return 2;
    case Lamp::None:
    case Lamp::NotALight:
        break;
    }
    return -1;
}

double meanLuminance(const QImage& image, QRect area)
{
    area = area.intersected(image.rect());
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum += 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p);
        }
    }
    return area.isEmpty() ? 0 : sum / (area.width() * area.height());
}

// The band of a text rectangle in which a line of text stands.
QRect textBand(const Box& box, Align align)
{
    const QRect r(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
    switch (align) {
    case Align::Top:
        return QRect(r.left(), r.top(), r.width(), std::min(r.height(), 24));
    case Align::Bottom:
        return QRect(r.left(), r.bottom() - 17, r.width(), 18);
    case Align::Middle:
        return QRect(r.left(), r.center().y() - 12, r.width(), 24);
    }
    return r;
}

TEST(Pictures, EveryRowLoadsAtItsSize)
{
    for (const PictureRow& row : kPictures) {
        SCOPED_TRACE(describe(row));
        const QImage image = load(row);
        ASSERT_FALSE(image.isNull());
        const int width = row.width * row.images;
        if (row.atLeast) {
            EXPECT_GE(image.width(), width);
            EXPECT_GE(image.height(), row.height);
        } else {
            EXPECT_EQ(image.size(), QSize(width, row.height));
        }
    }
}

TEST(Pictures, MaskColourLiesOnlyAroundEachDrawing)
{
    for (const PictureRow& row : kPictures) {
        if (row.mask == kNone)
            continue;
        const QImage strip = load(row);
        ASSERT_FALSE(strip.isNull()) << describe(row);
        const QRgb mask = QRgb(row.mask);
        const int width = row.images > 1 ? row.width : strip.width();
        for (int k = 0; k < row.images; ++k) {
            SCOPED_TRACE(describe(row) + " image " + std::to_string(k));
            const QImage image = strip.copy(k * width, 0, width, strip.height());
            for (const QPoint corner : {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, image.height() - 1),
                                        QPoint(width - 1, image.height() - 1)})
                EXPECT_EQ(image.pixel(corner) & 0xffffff, mask) << corner.x() << "," << corner.y();
            EXPECT_EQ(enclosedMaskPixels(image, mask), 0);
        }
    }
}

TEST(Pictures, TheLitLampIsTheBrightest)
{
    int lights = 0;
    for (const PictureRow& row : kPictures) {
        if (row.lit == Lamp::NotALight)
            continue;
        SCOPED_TRACE(describe(row));
        ++lights;
        const QImage light = load(row);
        const QImage unlit = loadById(row.program, row.kind, row.unlit);
        ASSERT_FALSE(light.isNull());
        ASSERT_EQ(light.size(), unlit.size());
        const int lit = lampIndex(row.lit);
        for (int k = 0; k < 3; ++k) {
            if (k == lit)
                continue;
            if (lit >= 0) {
                EXPECT_GT(lampBrightness(light, lit), lampBrightness(light, k) + 40) << "lamp " << k;
            }
            // an unlit lamp looks the same as in the light with none lit
            EXPECT_NEAR(lampBrightness(light, k), lampBrightness(unlit, k), 1.0) << "lamp " << k;
        }
        if (lit >= 0) {
            EXPECT_GT(lampBrightness(light, lit), lampBrightness(unlit, lit) + 60);
        }
    }
    EXPECT_EQ(lights, 8);
}

TEST(Pictures, SplashTextsStandOnFittingGround)
{
    for (const FaceRow& face : kFaces) {
        SCOPED_TRACE(std::string(face.program) + " bitmap " + face.id);
        const QImage image = loadById(face.program, Kind::Bitmap, face.id);
        ASSERT_FALSE(image.isNull());
        // white title and light version text on dark ground, black status on light ground
        EXPECT_LT(meanLuminance(image, textBand(face.title, face.titleAlign)), 110);
        EXPECT_GT(meanLuminance(image, textBand(face.status, face.statusAlign)), 180);
        if (face.hasVersion) {
            EXPECT_LT(meanLuminance(image, textBand(face.version, Align::Middle)), 110);
        }
        if (face.hasCredits) {
            EXPECT_GE(image.width(), face.credits.right);
            EXPECT_GE(image.height(), face.credits.bottom);
        }
    }
}

TEST(Pictures, EveryPictureFileHasARow)
{
    QSet<QString> named;
    for (const PictureRow& row : kPictures) {
        named.insert(row.kind == Kind::Archive
                         ? QStringLiteral("resources/exercise/%1.png").arg(row.id)
                         : QStringLiteral("pictures/%1/%2/%3.png").arg(row.program, kindFolder(row.kind), row.id));
    }
    const QDir data(TESSALY_DATA_SOURCE);
    int files = 0;
    for (const char* folder : {"pictures", "resources/exercise"}) {
        QDirIterator it(data.filePath(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = data.relativeFilePath(it.next());
            ++files;
            EXPECT_TRUE(named.contains(path)) << path.toStdString() << " is named by no row";
        }
    }
    EXPECT_EQ(files, named.size());
}

TEST(ExerciseArchive, HoldsTheFiveBitmapsOfItsPictures)
{
    const esf::Archive& archive = exerciseArchive();
    const std::string names[] = {"sheet", "sfetofor", "sfet_grn", "sfet_yel", "sfet_red"};
    ASSERT_EQ(archive.entries().size(), std::size(names));
    std::map<std::string, QSize> sizes;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const int index = archive.find(name + ".bmp");
        ASSERT_GE(index, 0);
        EXPECT_EQ(archive.find(QString::fromStdString(name + ".BMP").toStdString()), index);
        EXPECT_EQ(archive.entries()[std::size_t(index)].method, 8);
        const QByteArray bmp = archive.read(index);
        ASSERT_GE(bmp.size(), 54);
        EXPECT_EQ(bmp.left(2), "BM");
        auto field = [&bmp](int at, int bytes) {
            std::uint32_t v = 0;
            for (int k = bytes - 1; k >= 0; --k)
                v = v << 8 | static_cast<unsigned char>(bmp[at + k]);
            return v;
        };
        EXPECT_EQ(field(10, 4), 54u);  // pixels right after the headers
        EXPECT_EQ(field(14, 4), 40u);  // BITMAPINFOHEADER
        EXPECT_EQ(field(28, 2), 24u);
        EXPECT_EQ(field(30, 4), 0u);   // BI_RGB
        const int width = int(field(18, 4));
        const int height = int(field(22, 4));
        EXPECT_EQ(bmp.size(), 54 + (3 * width + 3) / 4 * 4 * height);
        std::string error;
        const QImage decoded = esf::decodeBmp(bmp, &error);
        ASSERT_FALSE(decoded.isNull()) << error;
        const QImage png = QImage(QDir(TESSALY_DATA_SOURCE).filePath(
                                      QString::fromStdString("resources/exercise/" + name + ".png")))
                               .convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(png.isNull());
        EXPECT_EQ(decoded, png);
        sizes[name] = decoded.size();
    }
    // a task row is 100 high: the sheet at (2,5) and the lights fit in it
    EXPECT_LE(sizes["sheet"].height(), 90);
    for (const char* light : {"sfet_grn", "sfet_yel", "sfet_red"})
        EXPECT_EQ(sizes[light], sizes["sfetofor"]) << light;
    EXPECT_LE(sizes["sfetofor"].height(), 80);
}

TEST(ExerciseArchive, DamageIsNoticed)
{
    QFile file(TESSALY_EXERCISE_ARCHIVE);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    const esf::Archive archive(good);
    const esf::Entry& first = archive.entries().front();
    const int dataStart = int(first.localOffset) + 30 + int(first.name.size());

    struct Case {
        const char* what;
        std::function<QByteArray()> damage;
        int cause;
    };
    const Case cases[] = {
        {"no end record", [&] { return good.left(good.size() - 22); }, 10},
        {"a changed compressed byte",
         [&] {
             QByteArray bad = good;
             bad[dataStart + int(first.packedSize) / 2] = char(bad[dataStart + int(first.packedSize) / 2] ^ 0x20);
             return bad;
         },
         -1},
        {"an unknown method",
         [&] {
             QByteArray bad = good;
             bad[int(first.localOffset) + 8] = 9;
             return bad;
         },
         10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            esf::Archive damaged(c.damage());
            damaged.read(0);
            ADD_FAILURE() << "read without complaint";
        } catch (const esf::ArchiveError& e) {
            if (c.cause >= 0)
                EXPECT_EQ(e.cause, c.cause) << e.what();
            else  // inflate's data error, an early end or a CRC-32 mismatch, as it falls
                EXPECT_GE(e.cause, 2) << e.what();
        }
    }
}

}  // namespace
