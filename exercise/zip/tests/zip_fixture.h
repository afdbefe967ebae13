#pragma once
// Writes ZIP archives for the tests, byte by byte, so that every field can be
// set wrong on purpose: prefixes, comments, data descriptors with or without
// their signature, any method, sizes that disagree, split volumes.
#include <cstdint>
#include <string>
#include <vector>

namespace exercise::testing {

enum class Descriptor { none, withSignature, withoutSignature };

struct FixtureEntry {
    std::string name{};  // as stored (bytes)
    std::string data{};  // uncompressed
    std::uint16_t method = 8;
    Descriptor descriptor = Descriptor::none;
    std::uint16_t dosDate = (46 << 9) | (3 << 5) | 14;  // 14 March 2026
    std::uint16_t dosTime = (13 << 11) | (45 << 5) | 15;  // 13:45:30
    std::uint32_t externalAttributes = 32;
    // Overrides of the central header (-1: the true value); the local header
    // carries them too unless `localTrue`.
    std::int64_t centralComprSize = -1;
    std::int64_t centralUncomprSize = -1;
    std::int64_t centralCrc = -1;
    bool localTrue = false;
    // Overrides of the data descriptor (-1: the true value).
    std::int64_t descriptorCrc = -1;
};

struct Fixture {
    std::string prefix{};  // bytes before the archive
    std::vector<FixtureEntry> entries{};
    std::string comment{};
    std::string trailer{};  // bytes after the end record (not counted anywhere)
};

// Raw deflate (no zlib header) of `data`.
std::string deflateRaw(const std::string& data);
std::uint32_t crcOf(const std::string& data);

// One archive in one file.
std::string buildArchive(const Fixture& fixture);

// An archive over two volumes: `first` holds the bytes [0, split) of the
// single-file form's entries, `last` the rest with the central directory and
// the end record (disk numbers as a spanning writer gives them).
struct Volumes {
    std::string first;
    std::string last;
};
Volumes buildTwoVolumes(const Fixture& fixture, std::size_t split);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

}  // namespace exercise::testing
