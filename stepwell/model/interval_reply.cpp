#include "stepwell/model/interval_reply.h"

#include <limits>

#include "platform/text.h"

namespace stepwell {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string GetReplyField(std::string_view reply, std::string_view name)
{
    const std::string opening = std::string(name) + " ={";
    const std::size_t start = reply.find(opening);
    if (start == std::string_view::npos)
        return {};
    const std::size_t from = start + opening.size();
    const std::size_t end = reply.find('}', from);
    if (end == std::string_view::npos)
        return {};
    std::string_view value = reply.substr(from, end - from);
    while (!value.empty() && isBlank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && isBlank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 4 && value.front() == '(' && value.back() == ')')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

double GetReplyDouble(std::string_view reply, std::string_view name)
{
    return platform::text::leadingDouble(GetReplyField(reply, name));
}

int GetReplyInt(std::string_view reply, std::string_view name)
{
    std::string digits;
    for (char c : GetReplyField(reply, name))
        if (c != '(' && c != ')')
            digits += c;
    const long long value = platform::text::leadingInt(digits);
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(value);
}

IntervalReply ReadIntervalReply(std::string_view reply)
{
    IntervalReply interval;
    interval.leftIncluded = GetReplyInt(reply, "left") == 1;
    interval.rightIncluded = GetReplyInt(reply, "right") == 1;
    interval.minusInfinity = reply.find("MinusInfSet") != std::string_view::npos;
    interval.plusInfinity = reply.find("PlusInfSet") != std::string_view::npos;
    interval.left = GetReplyDouble(reply, "xr");
    interval.right = GetReplyDouble(reply, "yr");
    return interval;
}

}  // namespace stepwell
