// libFuzzer target over the frame reader of the program links. Whatever
// arrives, the reader either waits for more (and a longer input of the same
// start never contradicts it), refuses the frame, or reads one whose encoding
// is exactly the bytes it consumed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ipc/frame.h"

using namespace platform::ipc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Frame frame;
    std::size_t consumed = 0;
    const FrameState state = readFrame(input, frame, consumed);
    switch (state) {
    case FrameState::Complete: {
        if (consumed < kFrameHeaderSize || consumed > size || frame.bytes.size() > kMaxFrameBytes)
            std::abort();
        if (encodeFrame(frame.kind, frame.code, frame.bytes) != input.substr(0, consumed))
            std::abort();
        // A frame read byte by byte is incomplete up to its last byte.
        Frame partial;
        std::size_t partialConsumed = 0;
        if (readFrame(input.substr(0, consumed - 1), partial, partialConsumed) != FrameState::Incomplete)
            std::abort();
        if (textBeforeNul(frame.bytes).find('\0') != std::string_view::npos)
            std::abort();
        break;
    }
    case FrameState::Incomplete:
        if (consumed != 0)
            std::abort();
        break;
    case FrameState::UnknownKind:
    case FrameState::Oversized:
        if (consumed != 0 || size == 0)
            std::abort();
        // Refusal is decided by the header alone.
        if (readFrame(input.substr(0, std::min(size, kFrameHeaderSize)), frame, consumed) != state)
            std::abort();
        break;
    }
    return 0;
}
