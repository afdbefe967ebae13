// libFuzzer target over the condition editor's reading of a text: any bytes
// are read as a condition. Nothing may crash; no piece typed as text holds a
// character the keyboard cannot give, and every formula piece is a whole
// "<math ...</math>".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "stepwell/model/condition_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const stepwell::ConditionPiece& piece : stepwell::ReadConditionText(text)) {
        if (piece.formula) {
            if (piece.text.rfind("<math ", 0) != 0 || piece.text.size() < 13 ||
                piece.text.compare(piece.text.size() - 7, 7, "</math>") != 0)
                std::abort();
        } else if (piece.text.empty() || piece.text.find_first_of("&<>\n\r\t") != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
