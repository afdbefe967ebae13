#pragma once
// The frame that one program of the suite sends another over a local
// endpoint: kind (1 byte), code (4 bytes, little-endian), length (4 bytes,
// little-endian), then `length` bytes. The receiver answers every frame with
// one status byte. Pure code without Qt, so it can be fuzzed alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::ipc {

enum class FrameKind : std::uint8_t {
    CopyData = 1,  // a text for the receiving window (code, UTF-8 text and its NUL)
    Activate = 2,  // only bring the receiving window to the front
};

// The receiver's answer, one byte.
enum class Status : std::uint8_t {
    Received = 0,     // the frame was handed over
    UnknownKind = 1,  // refused: a kind this receiver does not know
    Oversized = 2,    // refused: longer than kMaxFrameBytes
    Truncated = 3,    // refused: the frame stopped arriving before its end
};

inline constexpr std::size_t kFrameHeaderSize = 9;
inline constexpr std::uint32_t kMaxFrameBytes = 16u * 1024u * 1024u;

struct Frame {
    FrameKind kind = FrameKind::CopyData;
    std::uint32_t code = 0;
    std::string bytes;
};

enum class FrameState {
    Incomplete,  // more bytes are needed
    Complete,    // `frame` holds it; `consumed` bytes of the buffer belong to it
    UnknownKind,
    Oversized,
};

// Reads the frame at the start of `buffer`. An unknown kind or an oversized
// length is reported as soon as the header is there, without waiting for the
// bytes.
FrameState readFrame(std::string_view buffer, Frame& frame, std::size_t& consumed);

// The frame's bytes on the wire. The caller keeps `bytes` within kMaxFrameBytes.
std::string encodeFrame(FrameKind kind, std::uint32_t code, std::string_view bytes);

// The bytes a copy-data handler gets: those before the first NUL.
std::string_view textBeforeNul(std::string_view bytes);

}  // namespace platform::ipc
