#pragma once
// The state of the entry being read: zlib's stream, the input buffer, what is
// still to read from the archive and to deliver, and the running CRC-32.
#include <cstdint>

#include <zlib.h>

#include "exercise/zip/zip_byte_buffer.h"

namespace exercise {

struct CZipStreamState {
    static constexpr std::size_t kBufferSize = 0x4000;

    z_stream m_stream{};
    CZipByteBuffer m_pBuffer;
    std::uint32_t m_uComprLeft = 0;
    std::uint32_t m_uUncomprLeft = 0;
    std::uint32_t m_uCrc32 = 0;
    bool m_bStreamEnded = false;  // zlib reported the end of the deflated data
};

}  // namespace exercise
