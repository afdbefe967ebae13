#include "constructions/tickrule/axis_task_xml.h"

#include <cstdint>

#include "platform/text.h"
#include "platform/xml.h"

namespace constructions::tickrule::axisxml {

namespace {

// Position of the n-th "<" + name, or npos.
std::size_t nthOpening(std::string_view text, std::string_view name, int n)
{
    const std::string opening = "<" + std::string(name);
    std::size_t at = text.find(opening);
    for (int i = 0; i < n && at != std::string_view::npos; ++i)
        at = text.find(opening, at + 1);
    return at;
}

}  // namespace

std::string startTag(std::string_view text, std::string_view name, int n)
{
    const std::size_t at = nthOpening(text, name, n);
    if (at == std::string_view::npos)
        return {};
    const std::size_t close = text.find('>', at);
    if (close == std::string_view::npos)
        return {};
    return std::string(text.substr(at, close - at + 1));
}

ElementScan element(std::string_view text, std::string_view name, int n, std::string& out)
{
    out.clear();
    const std::size_t at = nthOpening(text, name, n);
    if (at == std::string_view::npos)
        return ElementScan::Absent;
    const std::size_t close = text.find('>', at);
    if (close == std::string_view::npos)
        return ElementScan::Unclosed;
    if (text[close - 1] == '/') {
        out = std::string(text.substr(at, close - at + 1));
        return ElementScan::Found;
    }
    const std::string endTag = "</" + std::string(name) + ">";
    const std::size_t end = text.find(endTag, at);
    if (end == std::string_view::npos)
        return ElementScan::Absent;
    out = std::string(text.substr(at, end + endTag.size() - at));
    return ElementScan::Found;
}

std::vector<std::string> attributeValues(std::string_view tag, std::span<const std::string_view> keys)
{
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string_view key : keys) {
        // A key only counts between attributes, never inside a quoted value,
        // so a value that reads like another attribute cannot stand in for it.
        bool quoted = false;
        std::size_t found = std::string_view::npos;
        for (std::size_t i = 0; i < tag.size(); ++i) {
            if (!quoted && tag.compare(i, key.size(), key) == 0) {
                found = i;
                break;
            }
            if (tag[i] == '"')
                quoted = !quoted;
        }
        std::string value;
        if (found != std::string_view::npos) {
            const std::size_t begin = found + key.size();
            const std::size_t end = tag.find('"', begin);
            if (end != std::string_view::npos)
                value = platform::xml::unescape(tag.substr(begin, end - begin));
        }
        values.push_back(std::move(value));
    }
    return values;
}

std::string formatReal(double value) { return platform::text::formatFixed(value, 6); }

std::string formatInteger(long long value) { return platform::text::formatInt(value); }

double readReal(std::string_view text) { return platform::text::leadingDouble(text); }

std::int32_t readInteger(std::string_view text)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(platform::text::leadingInt(text)));
}

}  // namespace constructions::tickrule::axisxml
