#include "platform/ipc/frame.h"

namespace platform::ipc {

namespace {

std::uint32_t readLittleEndian(std::string_view bytes)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return value;
}

void appendLittleEndian(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

bool knownKind(std::uint8_t kind)
{
    return kind == static_cast<std::uint8_t>(FrameKind::CopyData)
        || kind == static_cast<std::uint8_t>(FrameKind::Activate);
}

}  // namespace

FrameState readFrame(std::string_view buffer, Frame& frame, std::size_t& consumed)
{
    consumed = 0;
    if (buffer.empty())
        return FrameState::Incomplete;
    const auto kind = static_cast<std::uint8_t>(buffer[0]);
    if (!knownKind(kind))
        return FrameState::UnknownKind;
    if (buffer.size() < kFrameHeaderSize)
        return FrameState::Incomplete;
    const std::uint32_t code = readLittleEndian(buffer.substr(1, 4));
    const std::uint32_t length = readLittleEndian(buffer.substr(5, 4));
    if (length > kMaxFrameBytes)
        return FrameState::Oversized;
    if (buffer.size() - kFrameHeaderSize < length)
        return FrameState::Incomplete;
    frame.kind = static_cast<FrameKind>(kind);
    frame.code = code;
    frame.bytes.assign(buffer.substr(kFrameHeaderSize, length));
    consumed = kFrameHeaderSize + length;
    return FrameState::Complete;
}

std::string encodeFrame(FrameKind kind, std::uint32_t code, std::string_view bytes)
{
    std::string out;
    out.reserve(kFrameHeaderSize + bytes.size());
    out.push_back(static_cast<char>(kind));
    appendLittleEndian(out, code);
    appendLittleEndian(out, static_cast<std::uint32_t>(bytes.size()));
    out.append(bytes);
    return out;
}

std::string_view textBeforeNul(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace platform::ipc
