#include "shared/buffered_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace shared {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at text[pos] and its length; a malformed, overlong,
// surrogate or out-of-range sequence is one byte of U+FFFD.
char32_t decodeUtf8(std::string_view text, std::size_t pos, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80)
        return lead;
    std::size_t count = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return kReplacement;
    }
    if (pos + count >= text.size())
        return kReplacement;
    for (std::size_t i = 1; i <= count; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kReplacement;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return kReplacement;
    length = count + 1;
    return value;
}

}  // namespace

CTextFileException::CTextFileException(int code) : m_code(code), m_text(std::strerror(code)) {}

CFileHandle::~CFileHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void CFileHandle::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

CBufferedFile::CBufferedFile(const std::string& path, int encoding) : m_encoding(encoding)
{
    if (encoding < kAnsi || encoding > kUtf8)
        throw CTextFileException(EINVAL);
    m_fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (m_fd < 0)
        m_openError = errno;
    switch (encoding) {
    case kUtf16BigEndian:
        WriteByte(0xFE);
        WriteByte(0xFF);
        break;
    case kUtf16LittleEndian:
        WriteByte(0xFF);
        WriteByte(0xFE);
        break;
    case kUtf8:
        WriteByte(0xEF);
        WriteByte(0xBB);
        WriteByte(0xBF);
        break;
    default:
        break;
    }
}

CBufferedFile::~CBufferedFile()
{
    try {
        Close();
    } catch (const CTextFileException& failure) {
        std::fprintf(stderr, "Text file not written completely: %s\n", failure.GetErrorText().c_str());
    }
}

void CBufferedFile::WriteString(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (m_encoding == kAnsi) {
        for (const char c : text)
            WriteByte(static_cast<std::uint8_t>(c));
        return;
    }
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = 1;
        writeCodePoint(decodeUtf8(text, pos, length));
        pos += length;
    }
}

void CBufferedFile::writeCodePoint(char32_t codePoint)
{
    if (m_encoding == kUtf8) {
        writeUtf8(codePoint);
        return;
    }
    if (codePoint > 0xFFFF) {
        const char32_t offset = codePoint - 0x10000;
        WriteChar(static_cast<char16_t>(0xD800 + (offset >> 10)));
        WriteChar(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        return;
    }
    WriteChar(static_cast<char16_t>(codePoint));
}

void CBufferedFile::writeUtf8(char32_t codePoint)
{
    if (codePoint < 0x80) {
        WriteByte(static_cast<std::uint8_t>(codePoint));
    } else if (codePoint < 0x800) {
        WriteByte(static_cast<std::uint8_t>(0xC0 | (codePoint >> 6)));
        WriteByte(static_cast<std::uint8_t>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        WriteByte(static_cast<std::uint8_t>(0xE0 | (codePoint >> 12)));
        WriteByte(static_cast<std::uint8_t>(0x80 | ((codePoint >> 6) & 0x3F)));
        WriteByte(static_cast<std::uint8_t>(0x80 | (codePoint & 0x3F)));
    } else {
        WriteByte(static_cast<std::uint8_t>(0xF0 | (codePoint >> 18)));
        WriteByte(static_cast<std::uint8_t>(0x80 | ((codePoint >> 12) & 0x3F)));
        WriteByte(static_cast<std::uint8_t>(0x80 | ((codePoint >> 6) & 0x3F)));
        WriteByte(static_cast<std::uint8_t>(0x80 | (codePoint & 0x3F)));
    }
}

void CBufferedFile::WriteChar(char16_t unit)
{
    switch (m_encoding) {
    case kUtf16BigEndian:
        WriteByte(static_cast<std::uint8_t>(unit >> 8));
        WriteByte(static_cast<std::uint8_t>(unit & 0xFF));
        break;
    case kUtf16LittleEndian:
        WriteByte(static_cast<std::uint8_t>(unit & 0xFF));
        WriteByte(static_cast<std::uint8_t>(unit >> 8));
        break;
    default:
        writeUtf8(unit);
        break;
    }
}

void CBufferedFile::WriteByte(std::uint8_t byte)
{
    if (m_closed)
        throw CTextFileException(EBADF);
    if (m_used == m_buffer.size())
        Flush();
    m_buffer[m_used++] = byte;
}

void CBufferedFile::Flush()
{
    if (m_fd < 0) {
        m_used = 0;
        if (m_openError != 0) {
            const int code = m_openError;
            m_openError = 0;
            m_closed = true;
            throw CTextFileException(code);
        }
        return;
    }
    std::size_t written = 0;
    while (written < m_used) {
        const ssize_t count = ::write(m_fd, m_buffer.data() + written, m_used - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            const int code = count < 0 ? errno : EIO;
            m_used = 0;
            m_closed = true;
            CFileHandle::Close();
            throw CTextFileException(code);
        }
        written += static_cast<std::size_t>(count);
    }
    m_used = 0;
}

void CBufferedFile::Close()
{
    if (m_closed)
        return;
    Flush();
    m_closed = true;
    if (m_fd >= 0) {
        const int fd = m_fd;
        m_fd = -1;
        // A close that fails may have lost written data (a network file system): report it.
        if (::close(fd) != 0 && errno != EINTR)
            throw CTextFileException(errno);
    }
}

}  // namespace shared
