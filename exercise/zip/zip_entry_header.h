#pragma once
// The fields of one central directory header. The name and the comment are
// kept as the archive stores them (bytes); the extra field as a buffer.
#include <cstdint>
#include <string>

#include "exercise/zip/zip_byte_buffer.h"

namespace exercise {

class CZipEntryHeader {
public:
    static constexpr std::uint32_t kSignature = 0x02014B50;
    static constexpr std::size_t kSize = 46;

    std::uint16_t m_uVersionMadeBy = 0;
    std::uint16_t m_uVersionNeeded = 0;
    std::uint16_t m_uFlag = 0;
    std::uint16_t m_uMethod = 8;
    std::uint16_t m_uModTime = 0;
    std::uint16_t m_uModDate = 0;
    std::uint32_t m_uCrc32 = 0;
    std::uint32_t m_uComprSize = 0;
    std::uint32_t m_uUncomprSize = 0;
    std::uint16_t m_uDiskStart = 0;
    std::uint16_t m_uInternalAttr = 0;
    std::uint32_t m_uExternalAttr = 32;  // the DOS archive bit
    std::uint32_t m_uOffset = 0;         // of the local header
    std::string m_szFileName;
    CZipByteBuffer m_pExtraField;
    std::string m_szComment;

    // Bit 3 of the flags: sizes and CRC follow the data in a descriptor.
    bool IsDataDescr() const { return (m_uFlag & 8) != 0; }
};

}  // namespace exercise
