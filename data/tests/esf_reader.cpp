#include "esf_reader.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <cctype>

namespace esf {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::int64_t kEndSize = 22;
constexpr std::int64_t kLongestComment = 65535;

[[noreturn]] void bad(const std::string& what) { throw ArchiveError(10, "bad archive: " + what); }

// Little-endian fields at a position, every read checked against the end.
class Cursor {
public:
    Cursor(const QByteArray& bytes, std::int64_t pos) : m_bytes(bytes), m_pos(pos) {}
    std::uint32_t u16() { return std::uint32_t(byte()) | std::uint32_t(byte()) << 8; }
    std::uint32_t u32() { return u16() | u16() << 16; }
    std::string text(std::uint32_t length)
    {
        need(length);
        std::string s(m_bytes.constData() + m_pos, length);
        m_pos += length;
        return s;
    }
    void skip(std::uint32_t length)
    {
        need(length);
        m_pos += length;
    }
    std::int64_t pos() const { return m_pos; }

private:
    void need(std::int64_t length) const
    {
        if (m_pos < 0 || m_pos + length > m_bytes.size())
            bad("unexpected end of data");
    }
    unsigned char byte()
    {
        need(1);
        return static_cast<unsigned char>(m_bytes[qsizetype(m_pos++)]);
    }
    const QByteArray& m_bytes;
    std::int64_t m_pos;
};

// zlib's result as the drill's reader numbers its cause.
int zlibCause(int result) { return result > 0 ? result + 1 : 3 - result; }

std::uint32_t at32(const QByteArray& bytes, std::int64_t pos)
{
    Cursor c(bytes, pos);
    return c.u32();
}

}  // namespace

Archive::Archive(QByteArray bytes) : m_bytes(std::move(bytes))
{
    const std::int64_t length = m_bytes.size();
    const std::int64_t first = std::max<std::int64_t>(0, length - (kEndSize + kLongestComment));
    std::int64_t endPos = -1;
    for (std::int64_t pos = length - 4; pos >= first; --pos) {
        if (at32(m_bytes, pos) == kEndSignature) {
            endPos = pos;
            break;
        }
    }
    if (endPos < 0)
        bad("no end of central directory record");
    Cursor end(m_bytes, endPos + 4);
    const std::uint32_t disk = end.u16();
    end.u16();  // disk where the directory starts
    end.u16();  // entries on this disk
    const std::uint32_t count = end.u16();
    const std::uint32_t size = end.u32();
    const std::uint32_t offset = end.u32();
    const std::uint32_t commentLength = end.u16();
    if (disk != 0)
        bad("a spanned archive");
    if (endPos < std::int64_t(offset) + size)
        bad("the central directory overlaps its end record");
    end.skip(commentLength);
    m_bytesBefore = endPos - offset - size;
    if ((size == 0) != (count == 0))
        bad("entry count and directory size disagree");
    Cursor dir(m_bytes, std::int64_t(offset) + m_bytesBefore);
    for (std::uint32_t k = 0; k < count; ++k) {
        if (dir.u32() != kCentralSignature)
            bad("a central header without its signature");
        Entry e;
        dir.u16();  // version made by
        dir.u16();  // version needed
        e.flags = std::uint16_t(dir.u16());
        e.method = std::uint16_t(dir.u16());
        dir.u16();  // time
        dir.u16();  // date
        e.crc = dir.u32();
        e.packedSize = dir.u32();
        e.size = dir.u32();
        const std::uint32_t nameLength = dir.u16();
        const std::uint32_t extraLength = dir.u16();
        const std::uint32_t entryCommentLength = dir.u16();
        dir.u16();  // disk number start
        dir.u16();  // internal attributes
        dir.u32();  // external attributes
        e.localOffset = dir.u32();
        e.name = dir.text(nameLength);
        dir.skip(extraLength);
        dir.skip(entryCommentLength);
        m_entries.push_back(std::move(e));
    }
}

Archive Archive::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(1, "cannot open " + path.toStdString());
    return Archive(file.readAll());
}

int Archive::find(const std::string& name) const
{
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    };
    for (std::size_t k = 0; k < m_entries.size(); ++k) {
        if (lower(m_entries[k].name) == lower(name))
            return int(k);
    }
    return -1;
}

QByteArray Archive::read(int index) const
{
    const Entry& e = m_entries.at(std::size_t(index));
    Cursor local(m_bytes, std::int64_t(e.localOffset) + m_bytesBefore);
    if (local.u32() != kLocalSignature)
        bad("a local header without its signature");
    local.u16();  // version
    const std::uint32_t flags = local.u16();
    const std::uint32_t method = local.u16();
    local.u16();  // time
    local.u16();  // date
    const std::uint32_t crc = local.u32();
    const std::uint32_t packedSize = local.u32();
    const std::uint32_t size = local.u32();
    const std::uint32_t nameLength = local.u16();
    const std::uint32_t extraLength = local.u16();
    if (method != e.method || (method != 0 && method != 8))
        bad("method " + std::to_string(method) + " of " + e.name);
    if (nameLength != e.name.size())
        bad("local and central names of " + e.name + " differ");
    if (!(flags & 8) && (crc != e.crc || packedSize != e.packedSize || size != e.size))
        bad("local and central sizes or CRC of " + e.name + " differ");
    local.skip(nameLength);
    local.skip(extraLength);
    Cursor data(m_bytes, local.pos());
    data.skip(e.packedSize);
    const auto* packed = reinterpret_cast<const Bytef*>(m_bytes.constData() + local.pos());

    QByteArray out(qsizetype(e.size), '\0');
    if (method == 0) {
        if (e.packedSize != e.size)
            bad("stored entry " + e.name + " changes size");
        std::copy(packed, packed + e.size, reinterpret_cast<Bytef*>(out.data()));
    } else {
        z_stream stream{};
        int result = inflateInit2(&stream, -15);
        if (result != Z_OK)
            throw ArchiveError(zlibCause(result), "inflate: " + std::to_string(result));
        stream.next_in = const_cast<Bytef*>(packed);
        stream.avail_in = e.packedSize;
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = e.size;
        while (stream.avail_out > 0) {
            result = inflate(&stream, Z_SYNC_FLUSH);
            if (result == Z_STREAM_END)
                break;
            if (result != Z_OK && result != Z_NEED_DICT) {
                inflateEnd(&stream);
                throw ArchiveError(zlibCause(result), "inflate of " + e.name + ": " + std::to_string(result));
            }
        }
        const bool complete = stream.avail_out == 0;
        inflateEnd(&stream);
        if (!complete)
            bad(e.name + " ends early");
    }
    const auto computed = std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.constData()), uInt(out.size())));
    if (computed != e.crc)
        throw ArchiveError(11, "CRC-32 mismatch in " + e.name);
    return out;
}

QImage decodeBmp(const QByteArray& bmp, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return QImage();
    };
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M')
        return fail("Not a bitmap!!!");
    Cursor info(bmp, 14);
    info.u32();  // header size
    const auto width = std::int32_t(info.u32());
    const auto height = std::int32_t(info.u32());
    info.u16();  // planes
    const std::uint32_t bits = info.u16();
    const std::uint32_t compression = info.u32();
    if (bits != 24)
        return fail("Not a 24 bit bitmap!!!");
    if (compression != 0 || width <= 0 || height <= 0)
        return fail("not an uncompressed bottom-up bitmap");
    const std::int64_t stride = (3 * std::int64_t(width) + 3) / 4 * 4;
    if (54 + stride * height > bmp.size())
        return fail("pixels missing");
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(bmp.constData()) + 54 + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
    }
    return image;
}

}  // namespace esf
