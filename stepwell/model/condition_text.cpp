#include "stepwell/model/condition_text.h"

#include <QList>
#include <QString>

namespace stepwell {

std::string TypedItem(char32_t c)
{
    if (c < 32 || c == U'&' || c == U'<' || c == U'>' || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {};
    if (c == U' ')
        return "  ";
    return QString::fromUcs4(&c, 1).toStdString();
}

std::vector<ConditionPiece> ReadConditionText(const std::string& text)
{
    static const std::string kOpen = "<math ";
    static const std::string kClose = "</math>";
    std::vector<ConditionPiece> pieces;
    // Characters between formulas are read as UTF-8 (invalid bytes give the
    // replacement character).
    auto typeRun = [&pieces](const std::string& run) {
        for (char32_t c : QString::fromStdString(run).toUcs4()) {
            std::string item = TypedItem(c);
            if (!item.empty())
                pieces.push_back({false, std::move(item)});
        }
    };
    std::size_t i = 0;
    std::string run;
    while (i < text.size()) {
        if (text.compare(i, kOpen.size(), kOpen) == 0) {
            const std::size_t end = text.find(kClose, i);
            if (end != std::string::npos) {
                typeRun(run);
                run.clear();
                pieces.push_back({true, text.substr(i, end + kClose.size() - i)});
                i = end + kClose.size();
                continue;
            }
        }
        run += text[i];
        ++i;
    }
    typeRun(run);
    return pieces;
}

}  // namespace stepwell
