#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>

#include "exercise/esf_bitmap.h"
#include "exercise/zip/tests/zip_fixture.h"
#include "exercise/zip/zip_package.h"
#include "platform/message_box.h"
#include "shared/language.h"

namespace exercise {
namespace {

void put16(std::string& out, std::uint32_t v)
{
    out += char(v & 0xff);
    out += char((v >> 8) & 0xff);
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// A BMP file: the headers, `gap` bytes, then the rows as given (bottom-up,
// BGR, padded). `claimedHeight` is written into the header.
std::string bmp(int width, std::int32_t claimedHeight, int bitCount, const std::string& rows,
                const std::string& gap = "")
{
    std::string out = "BM";
    put32(out, std::uint32_t(54 + gap.size() + rows.size()));
    put32(out, 0);
    put32(out, std::uint32_t(54 + gap.size()));
    put32(out, 40);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(claimedHeight));
    put16(out, 1);
    put16(out, std::uint16_t(bitCount));
    put32(out, 0);
    put32(out, std::uint32_t(rows.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    return out + gap + rows;
}

// Two rows of two pixels: bottom row red, blue; top row green, white (BGR,
// each row padded from 6 to 8 bytes).
const std::string kRows = std::string("\x00\x00\xff\xff\x00\x00\x00\x00", 8) +
                          std::string("\x00\xff\x00\xff\xff\xff\x00\x00", 8);

class EsfBitmapTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setMessageRecorder(&recorder); }
    void TearDown() override { platform::setMessageRecorder(nullptr); }

    void openArchive(const std::vector<testing::FixtureEntry>& entries)
    {
        testing::Fixture f;
        f.entries = entries;
        const std::string path = dir.filePath("pics.esf").toStdString();
        testing::writeFile(path, testing::buildArchive(f));
        archive.Open(path);
    }

    QTemporaryDir dir;
    platform::MessageRecorder recorder;
    CZipPackage archive;
};

TEST_F(EsfBitmapTest, ReadsTheDrillsArchiveAsItsPicturesShowThem)
{
    CZipPackage esf;
    esf.Open(TESSALY_EXERCISE_ARCHIVE);
    for (const char* name : {"sheet", "sfetofor", "sfet_grn", "sfet_yel", "sfet_red"}) {
        SCOPED_TRACE(name);
        CEsfBitmap picture;
        ASSERT_TRUE(picture.LoadFromArchive(std::string(name) + ".bmp", esf));
        const QImage source =
            QImage(QString(TESSALY_DATA_SOURCE "/resources/exercise/%1.png").arg(name)).convertToFormat(QImage::Format_RGB888);
        ASSERT_FALSE(source.isNull());
        EXPECT_EQ(picture.image(), source);
    }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(EsfBitmapTest, RowsAreBottomUpInBgrOrderAndTheyFollowTheHeadersDirectly)
{
    openArchive({{.name = "plain.bmp", .data = bmp(2, 2, 24, kRows), .method = 8},
                 {.name = "gap.bmp", .data = bmp(2, 2, 24, kRows, std::string(16, '\x40')), .method = 0}});
    CEsfBitmap plain;
    ASSERT_TRUE(plain.LoadFromArchive("PLAIN.BMP", archive));
    EXPECT_EQ(plain.image().pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(plain.image().pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(plain.image().pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(plain.image().pixel(1, 0), qRgb(255, 255, 255));

    // A pixel offset of 70: the 16 gap bytes are read as the first rows.
    CEsfBitmap gap;
    ASSERT_TRUE(gap.LoadFromArchive("gap.bmp", archive));
    EXPECT_EQ(gap.image().pixel(0, 1), qRgb(0x40, 0x40, 0x40));
    EXPECT_EQ(gap.image().pixel(0, 0), qRgb(0x40, 0x40, 0x40));
    EXPECT_TRUE(recorder.messages.empty());

    // A second load keeps the picture.
    EXPECT_TRUE(plain.LoadFromArchive("gap.bmp", archive));
    EXPECT_EQ(plain.image().pixel(0, 1), qRgb(255, 0, 0));
}

TEST_F(EsfBitmapTest, RefusedPicturesSayWhyUnderTheirNameAndDrawNothing)
{
    openArchive({
        {.name = "text.bmp", .data = "XX this is no bitmap at all, but long enough for headers..........", .method = 0},
        {.name = "short.bmp", .data = "BM", .method = 0},
        {.name = "eight.bmp", .data = bmp(2, 2, 8, kRows), .method = 8},
        {.name = "tall.bmp", .data = bmp(2, 3, 24, kRows), .method = 8},
        {.name = "flat.bmp", .data = bmp(0, 2, 24, kRows), .method = 0},
        {.name = "topdown.bmp", .data = bmp(2, -2, 24, kRows), .method = 0},
        {.name = "huge.bmp", .data = bmp(0x7fffffff, 0x7fffffff, 24, kRows), .method = 8},
        {.name = "ok.bmp", .data = bmp(2, 2, 24, kRows), .method = 0},
    });
    const std::pair<const char*, const char*> cases[] = {
        {"missing.bmp", "Bitmap file not found!!!"}, {"text.bmp", "Not a bitmap!!!"},
        {"short.bmp", "Not a bitmap!!!"},            {"eight.bmp", "Not a 24 bit bitmap!!!"},
        {"tall.bmp", "Can't create the bitmap!!!"},  {"flat.bmp", "Can't create the bitmap!!!"},
        {"topdown.bmp", "Can't create the bitmap!!!"}, {"huge.bmp", "Can't create the bitmap!!!"},
    };
    // The pupil reads the drill's text; the reason goes to the error stream.
    ASSERT_TRUE(shared::LoadLanguageFile(TESSALY_DATA_SOURCE "/lang/ua/exercise.lng"));
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        recorder.messages.clear();
        CEsfBitmap picture;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(picture.LoadFromArchive(name, archive));
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(errors, std::string(name) + ": " + reason + "\n");
        EXPECT_FALSE(picture.IsLoaded());
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "Не вдалося прочитати малюнок із файлу малюнків вправ.");
        EXPECT_EQ(recorder.messages[0].caption, name);
        QImage canvas(10, 10, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        picture.Draw(painter, QPoint(0, 0));
        picture.Draw(painter, QRect(0, 0, 10, 10));
        painter.end();
        EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
        // Every refusal closed its entry: the next picture loads.
        CEsfBitmap next;
        EXPECT_TRUE(next.LoadFromArchive("ok.bmp", archive));
    }
}

}  // namespace
}  // namespace exercise
