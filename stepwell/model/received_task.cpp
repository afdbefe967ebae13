#include "stepwell/model/received_task.h"

#include <climits>

namespace stepwell {

namespace {

constexpr std::string_view kTaskOpen = "<TASK ";
constexpr std::string_view kConditionClose = "</CONDITION>";
constexpr std::string_view kSolutionOpen = "<SOLUTION>";
constexpr std::string_view kSolutionClose = "</SOLUTION>";

// The characters a sender's formatting puts between elements: removed before
// the cut so that "\r\n" and tabs inside formulas change nothing.
std::string removeFormatting(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\n' || c == '\t' || c == '\r')
            continue;
        if (c == '\xAC' && !out.empty() && out.back() == '\xC2') {
            // U+00AC NOT SIGN, also one that the removal itself brought together
            out.pop_back();
            continue;
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace

std::optional<ReceivedTask> CutReceivedText(std::string_view text)
{
    const std::string clean = removeFormatting(text);
    const std::size_t task = clean.find(kTaskOpen);
    const std::size_t condition = clean.find(kConditionClose);
    if (task == std::string::npos || condition == std::string::npos || condition < task)
        return std::nullopt;
    const std::size_t conditionEnd = condition + kConditionClose.size();

    ReceivedTask result;
    result.task = clean.substr(task, conditionEnd - task) + "</TASK>";
    const std::size_t solution = clean.find(kSolutionOpen, conditionEnd);
    if (solution != std::string::npos) {
        const std::size_t close = clean.find(kSolutionClose, solution);
        if (close != std::string::npos)
            result.solution = clean.substr(solution, close + kSolutionClose.size() - solution);
    }
    return result;
}

std::optional<std::string> ReadTaskType(std::string_view taskText)
{
    constexpr std::string_view kType = " type=\"";
    const std::size_t at = taskText.find(kType);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::size_t begin = at + kType.size();
    const std::size_t end = taskText.find('"', begin);
    if (end == std::string_view::npos)
        return std::nullopt;
    return std::string(taskText.substr(begin, end - begin));
}

int ParseDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;  // clamp; keeps reading the digits
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

}  // namespace stepwell
