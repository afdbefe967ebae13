// libFuzzer target over the graph task's text: any text read into a task,
// written, read into a new task and written again gives the same text; any
// text made into a construction writes a text that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "constructions/plotwise/component/task.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace constructions::plotwise;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto first = platform::com::make<CTask>();
    platform::com::ComPtr<IConstruction> made;
    if (first->CreateConstructionFromXml(text, made.put()) == platform::S_OK && made) {
        std::string element;
        if (made->get_xml(&element) != platform::S_OK)
            std::abort();
        platform::com::ComPtr<IConstruction> copy;
        if (first->CreateConstructionFromXml(element, copy.put()) != platform::S_OK || !copy)
            std::abort();
        std::string elementAgain;
        if (copy->get_xml(&elementAgain) != platform::S_OK || elementAgain != element)
            std::abort();
    }
    first->put_xml(text);
    std::string written;
    if (first->get_xml(&written) != platform::S_OK)
        std::abort();
    const auto second = platform::com::make<CTask>();
    second->put_xml(written);
    std::string again;
    if (second->get_xml(&again) != platform::S_OK || again != written)
        std::abort();
    return 0;
}
