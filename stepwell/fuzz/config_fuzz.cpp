// libFuzzer target over the configuration reader: any bytes are read as
// stepwellcfg.xml. Nothing may crash; every command id handed out lies in the
// new-task range and names its own item.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/xml.h"
#include "stepwell/model/stepwell_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const stepwell::StepwellConfig config =
            stepwell::ParseStepwellConfig(std::string_view(reinterpret_cast<const char*>(data), size));
        for (const auto& [id, item] : config.itemsByCommand)
            if (id < stepwell::kFirstNewTaskCommand || id > stepwell::kLastNewTaskCommand || item.commandId != id)
                std::abort();
    } catch (const platform::xml::Error&) {
    }
    return 0;
}
