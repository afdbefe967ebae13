#include "exercise/zip/tests/zip_fixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <zlib.h>

namespace exercise::testing {

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

template <typename T>
T pick(std::int64_t override, T value)
{
    return override >= 0 ? T(override) : value;
}

struct Written {
    std::uint32_t crc, compressed, size, offset;
    std::uint16_t disk;
};

// Local headers and data of every entry; where each starts.
std::string writeEntries(const Fixture& fixture, std::vector<Written>& written, std::size_t split)
{
    std::string out;
    for (const FixtureEntry& e : fixture.entries) {
        const std::string packed = e.method == 8 ? deflateRaw(e.data) : e.data;
        Written w{crcOf(e.data), std::uint32_t(packed.size()), std::uint32_t(e.data.size()),
                  std::uint32_t(out.size()), 0};
        if (split && out.size() >= split) {
            w.disk = 1;
            w.offset = std::uint32_t(out.size() - split);
        }
        const bool descriptor = e.descriptor != Descriptor::none;
        put32(out, 0x04034B50);
        put16(out, 20);
        put16(out, descriptor ? 8 : 0);
        put16(out, e.method);
        put16(out, e.dosTime);
        put16(out, e.dosDate);
        const std::int64_t none = -1;
        put32(out, descriptor ? 0 : pick<std::uint32_t>(e.localTrue ? none : e.centralCrc, w.crc));
        put32(out, descriptor ? 0 : pick<std::uint32_t>(e.localTrue ? none : e.centralComprSize, w.compressed));
        put32(out, descriptor ? 0 : pick<std::uint32_t>(e.localTrue ? none : e.centralUncomprSize, w.size));
        put16(out, std::uint16_t(e.name.size()));
        put16(out, 4);
        out += e.name;
        out += std::string("\x55\x54\x00\x00", 4);  // an empty extra block
        out += packed;
        if (descriptor) {
            if (e.descriptor == Descriptor::withSignature)
                put32(out, 0x08074B50);
            put32(out, pick<std::uint32_t>(e.descriptorCrc, w.crc));
            put32(out, w.compressed);
            put32(out, w.size);
        }
        written.push_back(w);
    }
    return out;
}

std::string writeCentral(const Fixture& fixture, const std::vector<Written>& written)
{
    std::string out;
    for (std::size_t i = 0; i < fixture.entries.size(); ++i) {
        const FixtureEntry& e = fixture.entries[i];
        const Written& w = written[i];
        put32(out, 0x02014B50);
        put16(out, 20);
        put16(out, 20);
        put16(out, e.descriptor != Descriptor::none ? 8 : 0);
        put16(out, e.method);
        put16(out, e.dosTime);
        put16(out, e.dosDate);
        put32(out, pick<std::uint32_t>(e.centralCrc, w.crc));
        put32(out, pick<std::uint32_t>(e.centralComprSize, w.compressed));
        put32(out, pick<std::uint32_t>(e.centralUncomprSize, w.size));
        put16(out, std::uint16_t(e.name.size()));
        put16(out, 0);
        put16(out, 0);
        put16(out, w.disk);
        put16(out, 0);
        put32(out, e.externalAttributes);
        put32(out, w.offset);
        out += e.name;
    }
    return out;
}

void writeEnd(std::string& out, const Fixture& fixture, std::uint16_t disk, std::uint32_t cdSize,
              std::uint32_t cdOffset)
{
    put32(out, 0x06054B50);
    put16(out, disk);
    put16(out, disk);
    put16(out, std::uint16_t(fixture.entries.size()));
    put16(out, std::uint16_t(fixture.entries.size()));
    put32(out, cdSize);
    put32(out, cdOffset);
    put16(out, std::uint16_t(fixture.comment.size()));
    out += fixture.comment;
    out += fixture.trailer;
}

}  // namespace

std::string deflateRaw(const std::string& data)
{
    z_stream s{};
    if (deflateInit2(&s, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&s, uLong(data.size())) + 16, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = uInt(data.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    const int rc = deflate(&s, Z_FINISH);
    deflateEnd(&s);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.resize(s.total_out);
    return out;
}

std::uint32_t crcOf(const std::string& data)
{
    return std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

std::string buildArchive(const Fixture& fixture)
{
    std::vector<Written> written;
    const std::string entries = writeEntries(fixture, written, 0);
    const std::string central = writeCentral(fixture, written);
    std::string out = fixture.prefix + entries + central;
    writeEnd(out, fixture, 0, std::uint32_t(central.size()), std::uint32_t(entries.size()));
    return out;
}

Volumes buildTwoVolumes(const Fixture& fixture, std::size_t split)
{
    std::vector<Written> written;
    const std::string entries = writeEntries(fixture, written, split);
    const std::string central = writeCentral(fixture, written);
    Volumes v;
    v.first = entries.substr(0, split);
    v.last = entries.substr(split) + central;
    writeEnd(v.last, fixture, 1, std::uint32_t(central.size()), std::uint32_t(entries.size() - split));
    return v;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

}  // namespace exercise::testing
