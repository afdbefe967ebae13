// libFuzzer target over the printed page of a task document: any bytes are
// the document Stepwell prints, transformed by the shipped print sheet (with
// the MathML sheet it includes) as the print window does before it shows the
// page. A text that is not well-formed is a CPrintError; every well-formed
// document makes an HTML page. Nothing may crash, leak or hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/xml.h"
#include "shared/print/print_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    bool wellFormed = true;
    try {
        (void)platform::xml::Document::loadText(text);
    } catch (const platform::xml::Error&) {
        wellFormed = false;
    }
    std::string page;
    try {
        page = shared::BuildPrintPage(PRINT_SHEET, text);
    } catch (const shared::CPrintError&) {
        if (wellFormed)
            std::abort();  // a document that reads always prints
        return 0;
    }
    if (!wellFormed || page.find("<html") == std::string::npos)
        std::abort();
    return 0;
}
