#include "pathmentor/model/model_text.h"

#include <QString>

#include <algorithm>
#include <climits>

#include "platform/text.h"

namespace pathmentor::detail {

int readInt(std::string_view text)
{
    // leadingInt gives 0 for a number past the range of long long; anything
    // past int's range is held at its edge, as atoi does.
    return static_cast<int>(std::clamp<long long>(platform::text::leadingInt(text), INT_MIN, INT_MAX));
}

std::string foldCase(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toStdString();
}

}  // namespace pathmentor::detail
