#include "platform/com/guid.h"

namespace platform::com {

std::string Guid::toString() const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(38);
    const auto put = [&out](std::uint64_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            out += kDigits[(value >> shift) & 0xF];
    };
    out += '{';
    put(data1, 8);
    out += '-';
    put(data2, 4);
    out += '-';
    put(data3, 4);
    out += '-';
    put(data4[0], 2);
    put(data4[1], 2);
    out += '-';
    for (std::size_t i = 2; i < 8; ++i)
        put(data4[i], 2);
    out += '}';
    return out;
}

}  // namespace platform::com
