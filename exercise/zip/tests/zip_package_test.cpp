#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>

#include "exercise/zip/tests/zip_fixture.h"
#include "exercise/zip/zip_package.h"

namespace exercise {
namespace {

using testing::Descriptor;
using testing::Fixture;
using testing::FixtureEntry;

// Text that deflates well but is not all one byte.
std::string sampleText(std::size_t size, int seed = 1)
{
    std::string text;
    unsigned x = unsigned(seed);
    while (text.size() < size) {
        x = x * 1103515245u + 12345u;
        text += "row " + std::to_string((x >> 16) % 97) + "; ";
    }
    text.resize(size);
    return text;
}

class ZipPackageTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
    std::string write(const std::string& name, const std::string& bytes)
    {
        const std::string p = path(name);
        testing::writeFile(p, bytes);
        return p;
    }
    QTemporaryDir dir;
};

// Reads the whole entry in chunks of `chunk` bytes and closes it.
std::string readEntry(CZipPackage& zip, int index, std::uint32_t chunk = 1000)
{
    EXPECT_TRUE(zip.OpenFile(index));
    std::string all;
    std::string buffer(chunk, '\0');
    while (const std::uint32_t n = zip.ReadFile(buffer.data(), chunk))
        all.append(buffer.data(), n);
    zip.CloseFile();
    return all;
}

int causeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CZipException& e) {
        return e.m_iCause;
    }
    return 0;
}

TEST_F(ZipPackageTest, ReadsEveryKindOfEntryBehindAPrefixAndBeforeALongComment)
{
    Fixture f;
    f.prefix = std::string(100, 'P');
    f.comment = std::string(65535, 'c');
    f.entries = {
        {.name = "stored.txt", .data = "plain bytes", .method = 0},
        {.name = "deflated.txt", .data = sampleText(50000), .method = 8},
        {.name = "signed.txt", .data = sampleText(20000, 2), .method = 8, .descriptor = Descriptor::withSignature},
        {.name = "unsigned.txt", .data = sampleText(300, 3), .method = 8, .descriptor = Descriptor::withoutSignature},
        {.name = "stored-descr.txt", .data = "xyz", .method = 0, .descriptor = Descriptor::withoutSignature},
        {.name = "empty.txt", .data = "", .method = 0},
    };
    CZipPackage zip;
    zip.Open(write("a.zip", testing::buildArchive(f)));
    ASSERT_EQ(zip.GetNoEntries(), 6);
    EXPECT_EQ(zip.GetGlobalComment(), f.comment);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(f.entries[i].name);
        EXPECT_EQ(readEntry(zip, i, i == 1 ? 7 : 16384), f.entries[i].data);
        EXPECT_EQ(zip.GetAllocatedBlockCount(), 0u);
    }
}

TEST_F(ZipPackageTest, FindsTheEndRecordAtTheEdgesOfItsSearch)
{
    const FixtureEntry entry{.name = "a", .data = "alpha", .method = 0};
    // The signature split between the last block and the one before it.
    Fixture split{.entries = {entry}};
    split.comment = std::string(0x8000 + 2 - 22, 'c');
    // 22 + 65535 bytes from the end: the farthest place searched.
    Fixture farthest{.entries = {entry}, .comment = std::string(65535, 'c')};
    // One byte beyond the search: not found.
    Fixture beyond{.entries = {entry}, .trailer = std::string(65536, 't')};
    for (const auto& [name, fixture, cause] :
         {std::tuple{"split", split, 0}, std::tuple{"farthest", farthest, 0}, std::tuple{"beyond", beyond, 10}}) {
        SCOPED_TRACE(name);
        CZipPackage zip;
        const std::string file = write(std::string(name) + ".zip", testing::buildArchive(fixture));
        EXPECT_EQ(causeOf([&] { zip.Open(file); }), cause);
        if (cause == 0)
            EXPECT_EQ(readEntry(zip, 0), "alpha");
        else
            EXPECT_TRUE(zip.IsClosed());
    }
}

TEST_F(ZipPackageTest, LooksNamesUpWithoutCaseAfterTheirConversion)
{
    Fixture f;
    f.entries = {
        {.name = "sheet.bmp", .data = "1", .method = 0},
        {.name = "pics/Sfet_Grn.BMP", .data = "2", .method = 0},
        {.name = "\x8F\xE0\xA8\xA2\xA5\xE2.txt", .data = "3", .method = 0},  // DOS code page 866
        {.name = "SHEET.bmp", .data = "4", .method = 0},
    };
    CZipPackage zip;
    zip.Open(write("n.zip", testing::buildArchive(f)));
    EXPECT_EQ(zip.FindFile("SHEET.BMP"), 0);
    EXPECT_EQ(zip.FindFile("SHEET.bmp", true), 3);
    EXPECT_EQ(zip.FindFile("Sheet.bmp", true), -1);
    EXPECT_EQ(zip.FindFile("PICS\\sfet_grn.bmp"), 1);
    EXPECT_EQ(zip.FindFile("pics/Sfet_Grn.BMP"), -1);
    EXPECT_EQ(zip.FindFile("привет.TXT"), 2);
    CZipEntryHeader header;
    ASSERT_TRUE(zip.GetFileInfo(header, 2));
    EXPECT_EQ(header.m_szFileName, "Привет.txt");
    EXPECT_FALSE(zip.GetFileInfo(header, 4));
    EXPECT_FALSE(zip.GetFileInfo(header, -1));

    zip.SetConvertOemToAnsi(false);
    zip.SetSlashChange(false);
    EXPECT_EQ(zip.FindFile("pics/Sfet_Grn.BMP", true), 1);
    EXPECT_EQ(zip.FindFile("привет.txt"), -1);
    ASSERT_TRUE(zip.GetFileInfo(header, 2));
    EXPECT_EQ(header.m_szFileName, f.entries[2].name);

    zip.Close();
    EXPECT_EQ(zip.FindFile("sheet.bmp"), -1);
    EXPECT_FALSE(zip.GetFileInfo(header, 0));
}

TEST_F(ZipPackageTest, ChecksTheCrcOnlyAfterAFullRead)
{
    // Bytes that hardly compress: half of an entry leaves compressed bytes unread.
    std::string text(40000, '\0');
    unsigned x = 7;
    for (char& c : text)
        c = char((x = x * 1103515245u + 12345u) >> 23);
    Fixture f;
    f.entries = {{.name = "d", .data = text, .method = 8},
                 {.name = "s", .data = text, .method = 0},
                 {.name = "e", .data = text, .method = 8, .descriptor = Descriptor::withSignature}};
    std::string bytes = testing::buildArchive(f);
    CZipPackage good;
    good.Open(write("good.zip", bytes));
    // Half of each entry, then close: no check (the data descriptor is not
    // reached either), and the next entry opens.
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(good.OpenFile(i));
        std::string half(20000, '\0');
        EXPECT_EQ(good.ReadFile(half.data(), 20000), 20000u);
        EXPECT_EQ(half, text.substr(0, 20000));
        EXPECT_NO_THROW(good.CloseFile());
    }
    // One byte of the stored entry's data changed: found at close.
    const std::size_t storedData = bytes.find("\x50\x4B\x03\x04", 4) + 30 + 1 + 4;
    bytes[storedData + 777] ^= 0x20;
    CZipPackage bad;
    bad.Open(write("bad.zip", bytes));
    ASSERT_TRUE(bad.OpenFile(1));
    std::string all(text.size(), '\0');
    EXPECT_EQ(bad.ReadFile(all.data(), std::uint32_t(all.size())), text.size());
    EXPECT_EQ(causeOf([&] { bad.CloseFile(); }), 11);
    // The failed close still ends the entry.
    EXPECT_EQ(readEntry(bad, 0), text);
}

TEST_F(ZipPackageTest, RefusesBadEntriesAtOpen)
{
    struct Case {
        const char* what;
        FixtureEntry entry;
    };
    const Case cases[] = {
        {"method 9", {.name = "x", .data = "data", .method = 9}},
        {"stored, sizes differ", {.name = "x", .data = "data", .method = 0, .centralUncomprSize = 9}},
        {"local and central CRC differ", {.name = "x", .data = "data", .method = 8, .centralCrc = 1, .localTrue = true}},
        {"local and central size differ", {.name = "x", .data = "data", .method = 8, .centralComprSize = 2, .localTrue = true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f{.entries = {c.entry, {.name = "ok", .data = "fine", .method = 0}}};
        CZipPackage zip;
        zip.Open(write("bad.zip", testing::buildArchive(f)));
        EXPECT_EQ(causeOf([&] { zip.OpenFile(0); }), 10);
        EXPECT_EQ(readEntry(zip, 1), "fine");  // nothing stays open
    }
}

TEST_F(ZipPackageTest, DataThatEndsEarlyOrDisagreesWithItsDescriptorIsABadArchive)
{
    // Claimed longer than the file: the read runs short.
    Fixture longer{.entries = {{.name = "x", .data = sampleText(5000), .method = 8,
                                .descriptor = Descriptor::withSignature, .centralComprSize = 900000}}};
    CZipPackage zip;
    zip.Open(write("long.zip", testing::buildArchive(longer)));
    ASSERT_TRUE(zip.OpenFile(0));
    std::string buffer(100000, '\0');
    EXPECT_EQ(causeOf([&] { while (zip.ReadFile(buffer.data(), 100000)) {} }), 10);
    zip.CloseFile();

    // A descriptor whose CRC differs from the central header's.
    Fixture wrong{.entries = {{.name = "x", .data = "abc", .method = 0, .descriptor = Descriptor::withoutSignature,
                               .descriptorCrc = 5}}};
    CZipPackage other;
    other.Open(write("descr.zip", testing::buildArchive(wrong)));
    ASSERT_TRUE(other.OpenFile(0));
    EXPECT_EQ(other.ReadFile(buffer.data(), 10), 3u);
    EXPECT_EQ(causeOf([&] { other.CloseFile(); }), 10);
    EXPECT_TRUE(other.OpenFile(0));

    // Deflated data that ends before the size both headers give: delivered
    // as far as it goes, and refused at close.
    Fixture shorter{.entries = {{.name = "x", .data = "0123456789", .method = 8, .centralUncomprSize = 15}}};
    CZipPackage third;
    third.Open(write("short.zip", testing::buildArchive(shorter)));
    ASSERT_TRUE(third.OpenFile(0));
    EXPECT_EQ(third.ReadFile(buffer.data(), 100), 10u);
    EXPECT_EQ(third.ReadFile(buffer.data(), 100), 0u);
    EXPECT_EQ(causeOf([&] { third.CloseFile(); }), 10);
}

TEST_F(ZipPackageTest, EveryCutOfTheArchiveIsRefused)
{
    Fixture f{.entries = {{.name = "a.txt", .data = sampleText(700), .method = 8, .descriptor = Descriptor::withSignature},
                          {.name = "b.txt", .data = "stored", .method = 0}},
              .comment = "note"};
    const std::string whole = testing::buildArchive(f);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        CZipPackage zip;
        const std::string file = write("cut.zip", whole.substr(0, cut));
        ASSERT_EQ(causeOf([&] { zip.Open(file); }), 10) << "cut at " << cut;
    }
    // The first of two volumes cut anywhere: the local header, its name and
    // extra field, the data or the descriptor ends early.
    const testing::Volumes v = testing::buildTwoVolumes(f, whole.size() / 2);
    write("span.zip", v.last);
    for (std::size_t cut = 0; cut < v.first.size(); ++cut) {
        write("span.001", v.first.substr(0, cut));
        CZipPackage zip;
        zip.Open(path("span.zip"));
        EXPECT_NE(causeOf([&] {
                      for (int i = 0; i < zip.GetNoEntries(); ++i)
                          readEntry(zip, i);
                  }),
                  0)
            << "cut at " << cut;
    }
}

TEST_F(ZipPackageTest, ReadsAnArchiveSpannedOverTwoVolumeFiles)
{
    Fixture f{.entries = {{.name = "one", .data = sampleText(3000, 4), .method = 8},
                          {.name = "two", .data = sampleText(9000, 5), .method = 0},
                          {.name = "three", .data = "tail", .method = 8, .descriptor = Descriptor::withSignature}}};
    // The split falls inside the second entry's data.
    const testing::Volumes v = testing::buildTwoVolumes(f, 3000);
    write("pics.001", v.first);
    const std::string last = write("pics.esf", v.last);
    CZipPackage zip;
    zip.Open(last);
    ASSERT_EQ(zip.GetNoEntries(), 3);
    for (int i : {2, 0, 1})
        EXPECT_EQ(readEntry(zip, i, 4096), f.entries[i].data) << f.entries[i].name;

    // Without its first volume the archive opens, and its entries cannot be read.
    QFile::remove(QString::fromStdString(path("pics.001")));
    CZipPackage lonely;
    lonely.Open(last);
    EXPECT_THROW(lonely.OpenFile(0), CZipFileException);
}

TEST_F(ZipPackageTest, RefusesBadArgumentsAndStates)
{
    Fixture f{.entries = {{.name = "a", .data = "alpha", .method = 0}}};
    const std::string file = write("a.zip", testing::buildArchive(f));
    CZipPackage zip;
    EXPECT_THROW(zip.Open(file, CZipPackage::create), CZipArgumentException);
    EXPECT_THROW(zip.Open(file, CZipPackage::createSpan, 1000), CZipArgumentException);
    EXPECT_THROW(zip.Open(path("missing.zip")), CZipFileException);
    EXPECT_THROW(zip.Open(path("")), CZipFileException);  // a folder
    char buffer[8];
    EXPECT_EQ(zip.ReadFile(buffer, 8), 0u);
    EXPECT_FALSE(zip.OpenFile(0));
    EXPECT_EQ(zip.GetNoEntries(), 0);

    zip.Open(file, CZipPackage::open);
    zip.Open(path("missing.zip"));  // already open: nothing happens
    EXPECT_EQ(zip.GetNoEntries(), 1);
    EXPECT_FALSE(zip.OpenFile(1));
    ASSERT_TRUE(zip.OpenFile(0));
    EXPECT_FALSE(zip.OpenFile(0));
    EXPECT_EQ(zip.ReadFile(nullptr, 8), 0u);
    EXPECT_EQ(zip.ReadFile(buffer, 0), 0u);
    EXPECT_EQ(zip.ReadFile(buffer, 8), 5u);
    EXPECT_EQ(zip.ReadFile(buffer, 8), 0u);
    EXPECT_TRUE(zip.CloseFile());
    EXPECT_FALSE(zip.CloseFile());
}

TEST_F(ZipPackageTest, ZlibBlocksLiveWhileADeflatedEntryIsOpen)
{
    Fixture f{.entries = {{.name = "d", .data = sampleText(30000), .method = 8}}};
    auto zip = std::make_unique<CZipPackage>();
    zip->Open(write("z.zip", testing::buildArchive(f)));
    ASSERT_TRUE(zip->OpenFile(0));
    char buffer[100];
    zip->ReadFile(buffer, sizeof buffer);
    EXPECT_GT(zip->GetAllocatedBlockCount(), 0u);
    zip->CloseFile();
    EXPECT_EQ(zip->GetAllocatedBlockCount(), 0u);
    ASSERT_TRUE(zip->OpenFile(0));
    zip->ReadFile(buffer, sizeof buffer);
    zip.reset();  // an open entry at destruction: everything is freed
}

TEST_F(ZipPackageTest, DosDateAndTimeBecomeALocalTimeStamp)
{
    struct Case {
        std::uint16_t date, time;
        int year, month, day, hour, minute, second;
    };
    const Case cases[] = {
        {(46 << 9) | (3 << 5) | 14, (13 << 11) | (45 << 5) | 15, 2026, 3, 14, 13, 45, 30},
        {(0 << 9) | (1 << 5) | 1, 0, 1980, 1, 1, 0, 0, 0},
        {(20 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29, 2000, 12, 31, 23, 59, 58},
    };
    for (const Case& c : cases) {
        const std::time_t stamp = CZipPackage::DosTimeToTime(c.date, c.time);
        std::tm parts{};
        localtime_r(&stamp, &parts);
        EXPECT_EQ(parts.tm_year + 1900, c.year);
        EXPECT_EQ(parts.tm_mon + 1, c.month);
        EXPECT_EQ(parts.tm_mday, c.day);
        EXPECT_EQ(parts.tm_hour, c.hour);
        EXPECT_EQ(parts.tm_min, c.minute);
        EXPECT_EQ(parts.tm_sec, c.second);
    }
}

TEST_F(ZipPackageTest, ClosingWithAFileNameGivesItTheEntrysTimeAndReadOnlyBit)
{
    Fixture f{.entries = {{.name = "ro", .data = "r", .method = 0, .externalAttributes = 32 | 1},
                          {.name = "rw", .data = "w", .method = 0, .externalAttributes = 32}}};
    CZipPackage zip;
    zip.Open(write("t.zip", testing::buildArchive(f)));
    const std::time_t expected = CZipPackage::DosTimeToTime(f.entries[0].dosDate, f.entries[0].dosTime);
    for (int i = 0; i < 2; ++i) {
        const std::string target = write("out" + std::to_string(i), "x");
        ::chmod(target.c_str(), i == 0 ? 0644 : 0444);
        ASSERT_TRUE(zip.OpenFile(i));
        EXPECT_TRUE(zip.CloseFile(target));
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mtime, expected);
        EXPECT_EQ((st.st_mode & 0222) == 0, i == 0) << "entry " << i;
        EXPECT_EQ(st.st_mode & 0444, 0444u);
    }
    ASSERT_TRUE(zip.OpenFile(0));
    EXPECT_FALSE(zip.CloseFile(path("nowhere/file")));
}

// Archives written by the zip tool and by CMake's archiver (deflated, with
// data descriptors) read back as their files.
TEST_F(ZipPackageTest, ReadsArchivesOfCommonTools)
{
    QDir(dir.path()).mkpath("src/sub");
    const std::string big = sampleText(70000, 9);
    write("src/sheet.bmp", big);
    write("src/sub/note.txt", "a short note\n");
    const std::string src = path("src");
    struct Tool {
        const char* archive;
        std::string command;
    };
    const Tool tools[] = {
        {"stored.zip", "zip -q -0 -r ../stored.zip sheet.bmp sub"},
        {"deflated.zip", "zip -q -9 -r ../deflated.zip sheet.bmp sub"},
        {"cmake.zip", std::string("\"") + TESSALY_CMAKE_COMMAND + "\" -E tar cf ../cmake.zip --format=zip sheet.bmp sub"},
    };
    for (const Tool& tool : tools) {
        SCOPED_TRACE(tool.archive);
        ASSERT_EQ(std::system(("cd \"" + src + "\" && " + tool.command).c_str()), 0);
        CZipPackage zip;
        zip.Open(path(tool.archive));
        const int sheet = zip.FindFile("Sheet.BMP");
        const int note = zip.FindFile("sub\\note.txt");
        ASSERT_GE(sheet, 0);
        ASSERT_GE(note, 0);
        CZipEntryHeader header;
        zip.GetFileInfo(header, sheet);
        EXPECT_EQ(header.m_uMethod, tool.archive == std::string("stored.zip") ? 0 : 8);
        EXPECT_EQ(readEntry(zip, sheet, 5000), big);
        EXPECT_EQ(readEntry(zip, note), "a short note\n");
    }
}

}  // namespace
}  // namespace exercise

namespace exercise {
namespace {

TEST(ZipException, InternalCodesMapToTheirCauses)
{
    const std::pair<int, int> table[] = {
        {1, 2},     {2, 3},     {-1, 4},    {-2, 5},    {-3, 6},    {-4, 7},    {-5, 8},   {-6, 9},
        {-101, 10}, {-102, 11}, {-103, 12}, {-104, 13}, {-105, 14}, {-106, 15}, {-107, 16}, {0, 1},
        {3, 1},     {-7, 1},    {-100, 1},  {-108, 1},
    };
    for (const auto& [code, cause] : table)
        EXPECT_EQ(CZipException::causeFromCode(code), cause) << code;
    try {
        CZipException::Throw(-102, "/a/b.esf");
        FAIL();
    } catch (const CZipException& e) {
        EXPECT_EQ(e.m_iCause, 11);
        EXPECT_EQ(e.m_szFileName, "/a/b.esf");
    }
}

TEST(ZipByteBuffer, TheSameSizeKeepsTheArrayAndAnotherReplacesIt)
{
    CZipByteBuffer buffer(8);
    char* first = buffer.GetBuffer();
    std::memcpy(first, "abcdefgh", 8);
    buffer.Allocate(8);
    EXPECT_EQ(buffer.GetBuffer(), first);
    EXPECT_EQ(std::string(buffer.GetBuffer(), 8), "abcdefgh");
    buffer.Allocate(8, true);
    EXPECT_EQ(buffer.GetBuffer(), first);
    EXPECT_EQ(std::string(buffer.GetBuffer(), 8), std::string(8, '\0'));
    const CZipByteBuffer copy = [&] {
        std::memcpy(buffer.GetBuffer(), "12345678", 8);
        return buffer;
    }();
    EXPECT_NE(copy.GetBuffer(), buffer.GetBuffer());
    EXPECT_EQ(std::string(copy.GetBuffer(), copy.GetSize()), "12345678");
    buffer.Allocate(3);
    EXPECT_EQ(buffer.GetSize(), 3u);
    buffer.Allocate(0);
    EXPECT_FALSE(buffer.IsAllocated());
}

}  // namespace
}  // namespace exercise
