#pragma once
// GUIDs: the identities of classes (CLSID) and interfaces (IID).
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform::com {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", hex digits in either case;
    // nullopt for anything else.
    static constexpr std::optional<Guid> parse(std::string_view text);
    // For constants: a malformed literal does not compile.
    static consteval Guid literal(std::string_view text);

    // "{0CFF8740-E65A-457C-812E-D6C6C9586028}": braces, upper case.
    std::string toString() const;
    constexpr bool isNull() const { return *this == Guid{}; }

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
    friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

using IID = Guid;
using CLSID = Guid;

constexpr std::optional<Guid> Guid::parse(std::string_view text)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    // The 16 bytes in text order; every group has an even number of digits,
    // so no byte straddles a dash.
    std::array<std::uint8_t, 16> bytes{};
    std::size_t count = 0;
    for (std::size_t i = 1; i < 37; ++i) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (text[i] != '-')
                return std::nullopt;
            continue;
        }
        const int high = platform::text::hexDigitValue(text[i]);
        const int low = platform::text::hexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[count++] = static_cast<std::uint8_t>(high * 16 + low);
        ++i;
    }
    Guid guid;
    guid.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                 (std::uint32_t{bytes[2]} << 8) | bytes[3];
    guid.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (std::size_t i = 0; i < 8; ++i)
        guid.data4[i] = bytes[8 + i];
    return guid;
}

consteval Guid Guid::literal(std::string_view text)
{
    const std::optional<Guid> guid = parse(text);
    if (!guid)
        throw "malformed GUID literal";
    return *guid;
}

}  // namespace platform::com

template <>
struct std::hash<platform::com::Guid> {
    std::size_t operator()(const platform::com::Guid& guid) const noexcept
    {
        std::uint64_t low = 0;
        for (std::uint8_t byte : guid.data4)
            low = (low << 8) | byte;
        const std::uint64_t high = (std::uint64_t{guid.data1} << 32) |
                                   (std::uint64_t{guid.data2} << 16) | guid.data3;
        return std::hash<std::uint64_t>{}(high ^ (low * 0x9E3779B97F4A7C15ull));
    }
};
