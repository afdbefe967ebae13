// Escaping for text that goes into markup written by hand, and reading the
// predefined entities back.
#include <array>
#include <utility>

#include "platform/xml.h"

namespace platform::xml {

std::string escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string unescape(std::string_view text)
{
    static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities{{
        {"&amp;", '&'},
        {"&lt;", '<'},
        {"&gt;", '>'},
        {"&quot;", '"'},
        {"&apos;", '\''},
    }};
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, character] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += character;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

}  // namespace platform::xml
