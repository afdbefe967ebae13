// libFuzzer target over the cutting of a received text: any bytes are cut
// into a task and a solution and the task type is read. Nothing may crash,
// and a cut task always runs from "<TASK " to "</CONDITION></TASK>" with no
// line break, tab or U+00AC left in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "stepwell/model/received_task.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto cut = stepwell::CutReceivedText(text);
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
    (void)stepwell::ReadTaskType(task);
    (void)stepwell::ParseDecimal(text);
    return 0;
}
