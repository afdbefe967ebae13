#include "stepwell/model/description_text.h"

namespace stepwell {

std::vector<DescriptionPiece> SplitDescription(std::string_view text)
{
    constexpr std::string_view kOpen = "<math ";
    constexpr std::string_view kClose = "</math>";
    std::vector<DescriptionPiece> pieces;
    std::string gathered;
    auto flush = [&] {
        if (!gathered.empty())
            pieces.push_back({DescriptionPiece::Kind::Text, std::move(gathered)});
        gathered.clear();
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, kOpen.size()) == kOpen) {
            flush();
            const std::size_t close = text.find(kClose, i);
            const std::size_t end = close == std::string_view::npos ? text.size() : close + kClose.size();
            pieces.push_back({DescriptionPiece::Kind::Formula, std::string(text.substr(i, end - i))});
            i = end;
            continue;
        }
        const char c = text[i++];
        if (c == '<')
            continue;
        if (c == ' ')
            gathered += "  ";
        else
            gathered.push_back(c);
    }
    flush();
    return pieces;
}

}  // namespace stepwell
