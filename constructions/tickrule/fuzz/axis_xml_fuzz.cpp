// libFuzzer target over the number-axis task's xml put: any text is read into
// a task without a crash or a hang; what that task writes, read into a new
// task, is written again as the same text.
//
// One exception the format itself makes: a scale that writes as zero
// ("0.000000") is refused when read, so the second task keeps its own; from
// then on the text must be stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "constructions/tickrule/axis_task_xml.h"
#include "constructions/tickrule/tickrule_classes.h"

namespace {

using constructions::tickrule::CAxisTask;
using platform::com::ComPtr;
using platform::com::make;

std::string readAndWrite(const std::string& text)
{
    const ComPtr<CAxisTask> task = make<CAxisTask>();
    task->put_xml(text);
    std::string written;
    if (platform::Failed(task->get_xml(&written)))
        std::abort();
    return written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const ComPtr<CAxisTask> first = make<CAxisTask>();
    first->put_xml(input);
    std::string once;
    if (platform::Failed(first->get_xml(&once)))
        std::abort();
    double scale = 0;
    first->get_AbscissScale(&scale);
    const bool scaleWritesAsZero =
        constructions::tickrule::axisxml::readReal(constructions::tickrule::axisxml::formatReal(scale)) == 0.0;

    const std::string twice = readAndWrite(once);
    if (scaleWritesAsZero) {
        if (readAndWrite(twice) != twice)
            std::abort();
    } else if (twice != once) {
        std::abort();
    }
    return 0;
}
