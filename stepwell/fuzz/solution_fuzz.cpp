// libFuzzer target over the reading of a saved solution: any bytes are read
// as a SOLUTION text; what reads is written back and read again, and the
// second reading must equal the first (every saved solution reloads).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml.h"
#include "stepwell/model/solution_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<stepwell::StepRecord> steps;
    try {
        steps = stepwell::ReadSolution(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const platform::xml::Error&) {
        return 0;
    }
    std::string written = "<SOLUTION>";
    for (std::size_t i = 0; i < steps.size(); ++i)
        written += stepwell::WriteStep(steps[i], static_cast<int>(i + 1));
    written += "</SOLUTION>";
    std::vector<stepwell::StepRecord> again;
    try {
        again = stepwell::ReadSolution(written);
    } catch (const platform::xml::Error&) {
        std::abort();  // what was written must read
    }
    std::string rewritten = "<SOLUTION>";
    for (std::size_t i = 0; i < again.size(); ++i)
        rewritten += stepwell::WriteStep(again[i], static_cast<int>(i + 1));
    rewritten += "</SOLUTION>";
    if (rewritten != written)
        std::abort();
    std::string document;
    (void)stepwell::BuildTaskDocument("<TASK id=\"1\"><CONDITION/></TASK>", {written}, document);
    return 0;
}
