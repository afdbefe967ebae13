// libFuzzer target over the reader of the kernel's interval reply: any bytes
// are read as the reply. Nothing may crash; a field's value never holds its
// closing brace, and an end read as infinite is one the reply names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "stepwell/model/interval_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    for (std::string_view name : {"left", "right", "xr", "yr"})
        if (stepwell::GetReplyField(reply, name).find('}') != std::string::npos)
            std::abort();
    const stepwell::IntervalReply interval = stepwell::ReadIntervalReply(reply);
    if (interval.minusInfinity != (reply.find("MinusInfSet") != std::string_view::npos))
        std::abort();
    if (interval.plusInfinity != (reply.find("PlusInfSet") != std::string_view::npos))
        std::abort();
    return 0;
}
