// libFuzzer target over the condition viewer's reading of a task: any bytes
// are loaded as the task text; the statement, the start formula and the
// job's answers are read. None may crash or hang, and a failed load leaves a
// reader that answers nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "premiscope/condition_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    premiscope::CConditionReader reader;
    const bool loaded = reader.Load(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<premiscope::ConditionItem> items;
    const bool read = reader.ReadStatement(items);
    if (!loaded && (read || !items.empty() || !reader.GetStartFormula().empty()))
        std::abort();
    (void)reader.Caption();
    (void)reader.IsNeedUserInputToBegin();
    (void)reader.GetTaskJobAttribute("check");
    (void)reader.GetTaskJobFormulaByType("ANSWER");
    (void)reader.GetTaskJobFormulaByType("HIDDENFORMULA");
    return 0;
}
