#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "shared/buffered_file.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string text;
    for (const int value : values)
        text.push_back(static_cast<char>(value));
    return text;
}

struct EncodingCase {
    const char* name;
    int encoding;
    std::string text;
    std::string expected;
};

TEST(BufferedFile, WritesEachEncodingWithItsSignature)
{
    const std::vector<EncodingCase> cases = {
        {"ascii utf8", 3, "A", bytes({0xEF, 0xBB, 0xBF, 0x41})},
        {"ascii utf16le", 2, "A", bytes({0xFF, 0xFE, 0x41, 0x00})},
        {"ascii utf16be", 1, "A", bytes({0xFE, 0xFF, 0x00, 0x41})},
        {"ascii ansi", 0, "A", "A"},
        {"cyrillic utf8", 3, "\xD0\x90", bytes({0xEF, 0xBB, 0xBF, 0xD0, 0x90})},
        {"cyrillic utf16le", 2, "\xD0\x90", bytes({0xFF, 0xFE, 0x10, 0x04})},
        {"cyrillic ansi unchanged", 0, "\xD0\x90", "\xD0\x90"},
        {"astral utf8 one sequence", 3, "\xF0\x9F\x98\x80", bytes({0xEF, 0xBB, 0xBF, 0xF0, 0x9F, 0x98, 0x80})},
        {"astral utf16be pair", 1, "\xF0\x9F\x98\x80", bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00})},
        {"astral utf16le pair", 2, "\xF0\x9F\x98\x80", bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE})},
        {"three-byte utf8", 3, "\xE2\x82\xAC", bytes({0xEF, 0xBB, 0xBF, 0xE2, 0x82, 0xAC})},
        {"malformed byte", 3, "a\xFF" "b", bytes({0xEF, 0xBB, 0xBF, 'a', 0xEF, 0xBF, 0xBD, 'b'})},
        {"truncated sequence", 2, "\xD0", bytes({0xFF, 0xFE, 0xFD, 0xFF})},
        {"encoded surrogate", 3, "\xED\xA0\x80", bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD,
                                                          0xEF, 0xBF, 0xBD})},
        {"stops at nul", 0, std::string("ab\0cd", 5), "ab"},
    };
    testsupport::TempDir dir;
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("out.txt");
        {
            CBufferedFile file(path, c.encoding);
            file.WriteString(c.text);
            file.Close();
        }
        EXPECT_EQ(testsupport::readFile(path), c.expected);
    }
}

TEST(BufferedFile, WriteCharEncodesOneUnitInTheFileEncoding)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("units.txt");
    {
        CBufferedFile file(path, CBufferedFile::kUtf16BigEndian);
        file.WriteChar(u'\x0410');
        file.WriteChar(u'a');
    }
    EXPECT_EQ(testsupport::readFile(path), bytes({0xFE, 0xFF, 0x04, 0x10, 0x00, 0x61}));
}

TEST(BufferedFile, KeepsExactlyOneBufferfulUntilTheNextByte)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("big.txt");
    CBufferedFile file(path, CBufferedFile::kAnsi);
    file.WriteString(std::string(1024, 'x'));
    EXPECT_EQ(testsupport::readFile(path), "");
    file.WriteByte('y');
    EXPECT_EQ(testsupport::readFile(path), std::string(1024, 'x'));
    file.Close();
    EXPECT_EQ(testsupport::readFile(path), std::string(1024, 'x') + "y");
    EXPECT_NO_THROW(file.Close());
    EXPECT_EQ(testsupport::readFile(path), std::string(1024, 'x') + "y");
}

TEST(BufferedFile, ReplacesAnExistingFileWithMode0644)
{
    testsupport::TempDir dir;
    const std::string path = dir.write("old.txt", "a much longer old content");
    {
        CBufferedFile file(path, CBufferedFile::kAnsi);
        file.WriteString("new");
    }
    EXPECT_EQ(testsupport::readFile(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0644u & ~mask);
}

TEST(BufferedFile, AFullDeviceThrowsItsErrorAtTheFlush)
{
    CBufferedFile file("/dev/full", CBufferedFile::kUtf8);
    file.WriteString("text");
    try {
        file.Flush();
        FAIL() << "no exception";
    } catch (const CTextFileException& failure) {
        EXPECT_EQ(failure.GetErrorCode(), ENOSPC);
        EXPECT_EQ(failure.GetErrorText(), std::strerror(ENOSPC));
    }
    // The file is closed: writing again is refused, closing does nothing.
    EXPECT_THROW(file.WriteByte('x'), CTextFileException);
    EXPECT_NO_THROW(file.Close());
}

TEST(BufferedFile, AFileThatCouldNotBeCreatedFailsAtCloseEvenWhenShort)
{
    testsupport::TempDir dir;
    CBufferedFile file(dir.file("missing/folder/out.txt"), CBufferedFile::kAnsi);
    file.WriteString("abc");
    try {
        file.Close();
        FAIL() << "no exception";
    } catch (const CTextFileException& failure) {
        EXPECT_EQ(failure.GetErrorCode(), ENOENT);
    }
    EXPECT_NO_THROW(file.Close());
}

TEST(BufferedFile, DestructorsNeverThrow)
{
    testsupport::TempDir dir;
    EXPECT_NO_THROW({
        CBufferedFile missing(dir.file("missing/out.txt"), CBufferedFile::kUtf8);
        missing.WriteString("abc");
    });
    EXPECT_NO_THROW({
        CBufferedFile full("/dev/full", CBufferedFile::kAnsi);
        full.WriteString("abc");
    });
}

TEST(BufferedFile, AnUnknownEncodingIsRefusedBeforeTheFileIsCreated)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("never.txt");
    EXPECT_THROW(CBufferedFile(path, 4), CTextFileException);
    struct stat info {};
    EXPECT_NE(::stat(path.c_str(), &info), 0);
}

}  // namespace
}  // namespace shared
