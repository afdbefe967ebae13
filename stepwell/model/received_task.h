#pragma once
// A task text as it arrives from a sibling program (copy-data codes 1 and 3):
// the task with its condition, and perhaps a saved solution behind it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

struct ReceivedTask {
    // From "<TASK " to the end of the first "</CONDITION>", closed by "</TASK>".
    std::string task;
    // "<SOLUTION>" ... "</SOLUTION>" after the condition; empty when there is
    // none or it is not closed.
    std::string solution;
    // The MathML of every formula the statement, the job and the steps show
    // (ReadReceivedTask only), for the formula control to try.
    std::vector<std::string> formulas;
};

// Removes line feeds, tabs, carriage returns and the character U+00AC (the
// two bytes C2 AC: a lone byte 0xAC belongs to another character, as in "Ь"),
// then cuts the task and the solution. None when the text holds no "<TASK "
// before its first "</CONDITION>".
std::optional<ReceivedTask> CutReceivedText(std::string_view text);

// The whole of an arriving text, read as the condition viewer and the steps
// will read it, before anything open is given up for it: the cut above; the
// task well-formed XML whose document element is TASK with a CONDITION; each
// FORMULA of the statement and the job holding a `math` element; each
// FORMULALINK there, and each job element that names a formula by `id`
// (START, HIDDENFORMULA, ANSWER), finding a stored FORMULA that holds one; and
// a solution, when one follows, that reads as steps, each with its formula. None when any of it
// fails: an empty, truncated or binary text, a broken formula or link.
std::optional<ReceivedTask> ReadReceivedTask(std::string_view text);

// The task type: from behind the first ` type="` to the next double quote.
// None when there is no such attribute or it is not closed.
std::optional<std::string> ReadTaskType(std::string_view taskText);

// A decimal number read as the C library's atoi reads it (leading white space,
// a sign, digits up to the first other character; 0 without digits), but
// independent of the locale and clamped to int on overflow.
int ParseDecimal(std::string_view text);

}  // namespace stepwell
