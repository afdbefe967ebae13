// Builds the drill's picture archive, a ZIP of 24-bit BMP pictures made from PNGs:
//   tessaly-make-esf <archive> <picture.png>...
// Each PNG becomes the entry "<base name>.bmp": "BM", 54 header bytes, then the
// rows bottom-up in BGR order, each padded to four bytes (BI_RGB), as the drill
// reads them. Entries are deflated (method 8) and carry one fixed date, so the
// same pictures always give the same archive. The archive is written to a
// temporary file and renamed into place: a failed run leaves the old one.
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void put16(QByteArray& out, std::uint32_t v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void put32(QByteArray& out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// 1 January 2026, 00:00, in DOS form.
constexpr std::uint16_t kDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr std::uint16_t kDosTime = 0;

QByteArray toBmp(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    const int width = image.width();
    const int height = image.height();
    const int stride = (3 * width + 3) / 4 * 4;
    const std::uint32_t pixelBytes = std::uint32_t(stride) * std::uint32_t(height);
    QByteArray bmp;
    bmp.append("BM");
    put32(bmp, 54 + pixelBytes);
    put32(bmp, 0);
    put32(bmp, 54);
    put32(bmp, 40);
    put32(bmp, std::uint32_t(width));
    put32(bmp, std::uint32_t(height));  // positive: rows bottom-up
    put16(bmp, 1);
    put16(bmp, 24);
    put32(bmp, 0);  // BI_RGB
    put32(bmp, pixelBytes);
    put32(bmp, 2835);
    put32(bmp, 2835);
    put32(bmp, 0);
    put32(bmp, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            bmp.append(char(row[3 * x + 2]));
            bmp.append(char(row[3 * x + 1]));
            bmp.append(char(row[3 * x]));
        }
        bmp.append(QByteArray(stride - 3 * width, '\0'));
    }
    return bmp;
}

bool deflateRaw(const QByteArray& in, QByteArray& out)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(qsizetype(deflateBound(&stream, uLong(in.size()))));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    stream.avail_in = uInt(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

struct Entry {
    QByteArray name;
    std::uint32_t crc = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

void putEntryFields(QByteArray& out, const Entry& e)
{
    put16(out, 20);  // version needed: deflate
    put16(out, 0);   // flags
    put16(out, 8);   // method: deflate
    put16(out, kDosTime);
    put16(out, kDosDate);
    put32(out, e.crc);
    put32(out, e.packedSize);
    put32(out, e.size);
    put16(out, std::uint16_t(e.name.size()));
    put16(out, 0);  // extra field length
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: tessaly-make-esf <archive> <picture.png>...\n");
        return 2;
    }
    QByteArray body;
    std::vector<Entry> entries;
    for (int k = 2; k < argc; ++k) {
        const QString path = QString::fromLocal8Bit(argv[k]);
        QImage picture;
        if (!picture.load(path, "PNG")) {
            std::fprintf(stderr, "%s: not a readable PNG picture\n", argv[k]);
            return 1;
        }
        if (picture.hasAlphaChannel()) {
            std::fprintf(stderr, "%s: a BMP picture has no transparency; draw it on its background\n", argv[k]);
            return 1;
        }
        const QByteArray bmp = toBmp(picture);
        Entry entry;
        entry.name = (QFileInfo(path).completeBaseName() + ".bmp").toLatin1();
        for (const Entry& earlier : entries) {
            if (earlier.name.compare(entry.name, Qt::CaseInsensitive) == 0) {
                std::fprintf(stderr, "%s: a second entry named %s\n", argv[k], entry.name.constData());
                return 1;
            }
        }
        entry.size = std::uint32_t(bmp.size());
        entry.crc = std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bmp.constData()), uInt(bmp.size())));
        QByteArray packed;
        if (!deflateRaw(bmp, packed)) {
            std::fprintf(stderr, "%s: deflate failed\n", argv[k]);
            return 1;
        }
        entry.packedSize = std::uint32_t(packed.size());
        entry.offset = std::uint32_t(body.size());
        put32(body, 0x04034B50);
        putEntryFields(body, entry);
        body.append(entry.name);
        body.append(packed);
        entries.push_back(entry);
    }
    const std::uint32_t directoryOffset = std::uint32_t(body.size());
    for (const Entry& e : entries) {
        put32(body, 0x02014B50);
        put16(body, 20);  // version made by: MS-DOS, 2.0
        putEntryFields(body, e);
        put16(body, 0);   // comment length
        put16(body, 0);   // disk number start
        put16(body, 0);   // internal attributes
        put32(body, 32);  // external attributes: archive
        put32(body, e.offset);
        body.append(e.name);
    }
    const std::uint32_t directorySize = std::uint32_t(body.size()) - directoryOffset;
    put32(body, 0x06054B50);
    put16(body, 0);
    put16(body, 0);
    put16(body, std::uint16_t(entries.size()));
    put16(body, std::uint16_t(entries.size()));
    put32(body, directorySize);
    put32(body, directoryOffset);
    put16(body, 0);

    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(body) != body.size() || !out.commit()) {
        std::fprintf(stderr, "%s: cannot write the archive\n", argv[1]);
        return 1;
    }
    return 0;
}
