#include "exercise/esf_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <QPainter>

#include "exercise/zip/zip_package.h"
#include "platform/message_box.h"
#include "shared/language.h"

namespace exercise {

namespace {

std::uint32_t get32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

EsfPictures& esfPictures()
{
    static EsfPictures pictures;
    return pictures;
}

bool CEsfBitmap::LoadFromArchive(const std::string& name, CZipPackage& archive, QWidget* messageParent)
{
    if (IsLoaded())
        return true;
    // The pupil reads the program's text under the picture's name; why the
    // picture was refused goes to the error stream.
    const auto fail = [&](const char* reason) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), reason);
        platform::showMessage(shared::GetLangString("errPicture"), name, platform::MessageIcon::None,
                              platform::MessageButtons::Ok, messageParent);
        return false;
    };
    const int index = archive.FindFile(name, false);
    if (index < 0)
        return fail("Bitmap file not found!!!");
    CZipEntryHeader header;
    archive.GetFileInfo(header, index);
    if (!archive.OpenFile(index))
        return false;
    // An early way out closes the entry without a check (the CRC-32 is only
    // known after a full read); the regular end closes it checked.
    struct Closer {
        CZipPackage& archive;
        bool armed = true;
        ~Closer()
        {
            if (!armed)
                return;
            try {
                archive.CloseFile();
            } catch (...) {
            }
        }
    } closer{archive};

    unsigned char fileHeader[kFileHeaderSize];
    if (archive.ReadFile(fileHeader, kFileHeaderSize) != kFileHeaderSize || fileHeader[0] != 'B' ||
        fileHeader[1] != 'M')
        return fail("Not a bitmap!!!");
    unsigned char info[kInfoHeaderSize];
    if (archive.ReadFile(info, kInfoHeaderSize) != kInfoHeaderSize)
        return fail("Not a bitmap!!!");
    const auto width = std::int32_t(get32(info + 4));
    const auto height = std::int32_t(get32(info + 8));
    const std::uint16_t bitCount = std::uint16_t(info[14] | (info[15] << 8));
    if (bitCount != 24)
        return fail("Not a 24 bit bitmap!!!");

    // The header must describe rows the entry can hold: a picture is never
    // made larger than the data behind it.
    const std::uint64_t stride = (3 * std::uint64_t(width > 0 ? width : 0) + 3) / 4 * 4;
    const std::uint64_t rows = std::uint64_t(height > 0 ? height : 0);
    const std::uint64_t headers = kFileHeaderSize + kInfoHeaderSize;
    const std::uint64_t available = header.m_uUncomprSize > headers ? header.m_uUncomprSize - headers : 0;
    if (width < 1 || height < 1 || stride * rows > available)
        return fail("Can't create the bitmap!!!");

    // The pixels follow the 54 header bytes; the file's pixel offset is not
    // consulted. They are read before the picture is made, so memory follows
    // the data the entry really holds, not the size its header claims.
    std::vector<unsigned char> pixels;
    const std::uint64_t wanted = stride * rows;
    constexpr std::uint32_t kChunk = 0x10000;
    while (pixels.size() < wanted) {
        const std::size_t at = pixels.size();
        const auto chunk = std::uint32_t(std::min<std::uint64_t>(kChunk, wanted - at));
        pixels.resize(at + chunk);
        const std::uint32_t got = archive.ReadFile(pixels.data() + at, chunk);
        pixels.resize(at + got);
        if (got == 0)
            break;
    }
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return fail("Can't create the bitmap!!!");
    image.fill(Qt::black);
    // Rows are stored bottom-up, in BGR order; rows the entry lacks stay black.
    for (std::int32_t stored = 0; std::uint64_t(stored + 1) * stride <= pixels.size(); ++stored) {
        const unsigned char* row = pixels.data() + std::uint64_t(stored) * stride;
        uchar* line = image.scanLine(height - 1 - stored);
        for (std::int32_t x = 0; x < width; ++x) {
            line[3 * x] = row[3 * x + 2];
            line[3 * x + 1] = row[3 * x + 1];
            line[3 * x + 2] = row[3 * x];
        }
    }
    closer.armed = false;
    archive.CloseFile();
    m_image = std::move(image);
    return true;
}

void CEsfBitmap::Draw(QPainter& painter, const QPoint& at) const
{
    if (IsLoaded())
        painter.drawImage(at, m_image);
}

void CEsfBitmap::Draw(QPainter& painter, const QRect& target) const
{
    if (IsLoaded())
        painter.drawImage(target, m_image);
}

}  // namespace exercise
