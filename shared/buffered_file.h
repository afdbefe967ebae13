#pragma once
// A new text file written through a 1024-byte buffer in one of four
// encodings, starting with the encoding's byte-order signature. Write
// failures throw CTextFileException with the system's error number.
#include <array>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace shared {

class CTextFileException : public std::exception {
public:
    explicit CTextFileException(int code);
    // The errno value of the failure.
    int GetErrorCode() const { return m_code; }
    // Its strerror text.
    const std::string& GetErrorText() const { return m_text; }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    int m_code;
    std::string m_text;
};

// Owns one file descriptor; Close() closes it (once).
class CFileHandle {
public:
    CFileHandle() = default;
    virtual ~CFileHandle();
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    virtual void Close();
    bool IsOpen() const { return m_fd >= 0; }

protected:
    int m_fd = -1;
};

class CBufferedFile : public CFileHandle {
public:
    // Encodings.
    static constexpr int kAnsi = 0;              // the bytes of the text as they are, no signature
    static constexpr int kUtf16BigEndian = 1;    // FE FF
    static constexpr int kUtf16LittleEndian = 2; // FF FE
    static constexpr int kUtf8 = 3;              // EF BB BF
    static constexpr std::size_t kBufferSize = 1024;

    // Creates or truncates the file (mode 0644) and buffers the signature. A
    // file that cannot be created is reported by the first Flush or by Close,
    // with the errno of the creation. An encoding other than 0-3 throws EINVAL.
    CBufferedFile(const std::string& path, int encoding);
    // Closes the file; never throws: a failure goes to the standard error
    // stream. A caller that must know calls Close() first.
    ~CBufferedFile() override;

    // The UTF-8 text up to its first NUL. Encoding 0 writes its bytes as they
    // are; the others write each character in the file's encoding (beyond
    // U+FFFF: one four-byte sequence in UTF-8, a surrogate pair in UTF-16); a
    // malformed byte becomes U+FFFD.
    void WriteString(std::string_view text);
    // One UTF-16 unit: big- or little-endian, or UTF-8 of the unit by itself
    // (encodings 3 and 0).
    void WriteChar(char16_t unit);
    // Writes the full buffer out first, then appends the byte.
    void WriteByte(std::uint8_t byte);
    // Writes out the buffered bytes. On failure the file is closed, the
    // buffered bytes are dropped and CTextFileException is thrown.
    void Flush();
    // Flushes and closes; closing a closed file does nothing.
    void Close() override;

private:
    void writeCodePoint(char32_t codePoint);
    void writeUtf8(char32_t codePoint);

    int m_encoding;
    std::array<std::uint8_t, kBufferSize> m_buffer{};
    std::size_t m_used = 0;
    // errno of a creation that failed, until reported.
    int m_openError = 0;
    bool m_closed = false;
};

}  // namespace shared
