// A reader of the drill's picture archive for the tests: it reads a ZIP file
// the way the drill does (end record, central headers, local header checks,
// stored or raw-deflated data, CRC-32), and decodes its 24-bit BMP entries.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace esf {

// A fault in the archive; `cause` as the drill's archive reader numbers it
// (10 a bad archive, 11 a CRC-32 mismatch, 2-9 zlib's results).
class ArchiveError : public std::runtime_error {
public:
    ArchiveError(int cause, const std::string& what) : std::runtime_error(what), cause(cause) {}
    int cause;
};

struct Entry {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t localOffset = 0;
};

class Archive {
public:
    // Reads the central directory of `bytes`; throws ArchiveError.
    explicit Archive(QByteArray bytes);
    static Archive fromFile(const QString& path);

    const std::vector<Entry>& entries() const { return m_entries; }
    // The index of the entry called `name` (without regard to case), or -1.
    int find(const std::string& name) const;
    // The entry's bytes, checked against its local header and CRC-32.
    QByteArray read(int index) const;

private:
    QByteArray m_bytes;
    std::vector<Entry> m_entries;
    std::int64_t m_bytesBefore = 0;
};

// A 24-bit BI_RGB BMP whose pixels follow its 54 header bytes, rows bottom-up;
// a null image with `error` set for anything else.
QImage decodeBmp(const QByteArray& bmp, std::string* error);

}  // namespace esf
