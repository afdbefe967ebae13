// libFuzzer target over an arriving text: any bytes are cut into a task and
// a solution, the task type is read, and the whole text is read as the frame
// reads it before it gives up the open task. Nothing may crash; a cut task
// always runs from "<TASK " to "</CONDITION></TASK>" with no line break, tab
// or U+00AC left in it; a task that reads is that cut, its solution reads as
// steps, and each formula it gives is a MathML element.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "stepwell/model/received_task.h"
#include "stepwell/model/solution_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto cut = stepwell::CutReceivedText(text);
    const auto read = stepwell::ReadReceivedTask(text);
    if (read && (!cut || read->task != cut->task || read->solution != cut->solution))
        std::abort();
    if (!cut)
        return 0;
    const std::string& task = cut->task;
    if (task.rfind("<TASK ", 0) != 0 || !task.ends_with("</CONDITION></TASK>"))
        std::abort();
    if (task.find_first_of("\r\n\t") != std::string::npos || task.find("\xC2\xAC") != std::string::npos)
        std::abort();
    if (!cut->solution.empty() &&
        (cut->solution.rfind("<SOLUTION>", 0) != 0 || !cut->solution.ends_with("</SOLUTION>")))
        std::abort();
    if (read) {
        if (!read->solution.empty())
            (void)stepwell::ReadSolution(read->solution);  // read once already: must not throw
        for (const std::string& formula : read->formulas)
            if (formula.rfind("<", 0) != 0 || formula.find("math") == std::string::npos)
                std::abort();
    }
    (void)stepwell::ReadTaskType(task);
    (void)stepwell::ParseDecimal(text);
    return 0;
}
