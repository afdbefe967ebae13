// libFuzzer target over a step's description: any bytes are a description.
// The steps view's split gives whole pieces (a formula opens with "<math ",
// and ends with its "</math>" or with the text; words hold no "<" and two
// runs of words never stand side by side), and the task document keeps the
// description: written into a STEP it reads back, and what reads writes
// again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml.h"
#include "stepwell/model/description_text.h"
#include "stepwell/model/solution_xml.h"

namespace {

using stepwell::DescriptionPiece;

void checkPieces(std::string_view text)
{
    constexpr std::string_view kClose = "</math>";
    const std::vector<DescriptionPiece> pieces = stepwell::SplitDescription(text);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i].text;
        if (pieces[i].kind == DescriptionPiece::Kind::Text) {
            if (piece.empty() || piece.find('<') != std::string::npos)
                std::abort();
            if (i > 0 && pieces[i - 1].kind == DescriptionPiece::Kind::Text)
                std::abort();
            continue;
        }
        if (piece.rfind("<math ", 0) != 0)
            std::abort();
        const std::size_t close = piece.find(kClose);
        const bool closed = close != std::string::npos && close + kClose.size() == piece.size();
        // Only the last piece may run unclosed to the end of the text.
        if (!closed && (close != std::string::npos || i + 1 != pieces.size() || !text.ends_with(piece)))
            std::abort();
    }
}

std::string stepOf(std::string_view description)
{
    stepwell::StepRecord step;
    step.description = description;
    return "<SOLUTION>" + stepwell::WriteStep(step, 1) + "</SOLUTION>";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkPieces(text);

    const std::string written = stepOf(text);
    std::vector<stepwell::StepRecord> steps;
    try {
        steps = stepwell::ReadSolution(written);
    } catch (const platform::xml::Error&) {
        std::abort();  // a saved description always reloads
    }
    if (steps.size() != 1 || stepOf(steps[0].description) != written)
        std::abort();
    checkPieces(steps[0].description);
    return 0;
}
