#include "stepwell/model/formula_change.h"

#include <algorithm>

namespace stepwell {

bool MovesAcrossRelation(std::string_view before, std::string_view after)
{
    if (before == after)
        return false;
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::string_view changed = before.substr(head, before.size() - tail - head);
    return changed.find_first_of("=<>") != std::string_view::npos || changed.find("@spec$") != std::string_view::npos;
}

}  // namespace stepwell
