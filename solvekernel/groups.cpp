// Splitting a request into its groups, and a drill request into its rows.
#include <algorithm>

#include "solvekernel/parser.h"

namespace solvekernel {

namespace {

std::string_view trimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Whether the text is one pair of round brackets around the rest.
bool enclosedInBrackets(std::string_view text)
{
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return false;
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0 && i + 1 != text.size())
            return false;
    }
    return depth == 0;
}

}  // namespace

Groups splitGroups(std::string_view text)
{
    Groups groups;
    int depth = 0;
    bool quoted = false;
    std::size_t start = 0;
    auto add = [&](std::size_t end) {
        const std::string_view group = trimSpaces(text.substr(start, end - start));
        const bool enclosed = enclosedInBrackets(group);
        groups.texts.emplace_back(enclosed ? group.substr(1, group.size() - 2) : group);
        groups.enclosed.push_back(enclosed);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (c == ',' && depth == 0) {
            add(i);
            start = i + 1;
        }
    }
    add(text.size());
    groups.bracketed = std::all_of(groups.enclosed.begin(), groups.enclosed.end(),
                                   [](bool enclosed) { return enclosed; });
    return groups;
}

std::vector<std::string> splitRows(std::string_view text)
{
    std::vector<std::string> rows;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (c == '#' && depth == 0 && (i + 1 >= text.size() || text[i + 1] != '!')) {
            rows.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    rows.emplace_back(text.substr(start));
    return rows;
}

}  // namespace solvekernel
