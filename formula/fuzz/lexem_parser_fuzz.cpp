// libFuzzer target over the lexeme-text reader. Any input either fails with
// CMEException or gives a tree whose text reads back to the same text; the
// tree also survives the normalising pass and a walk of the cursor over it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formula/model/cursor_path.h"
#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/lexem_parser.h"

namespace {

std::unique_ptr<formula::CAggregateTemplate> Read(const std::string& text)
{
    auto root = std::make_unique<formula::CAggregateTemplate>();
    root->InsertNewRow(nullptr, false)->InsertLexems(formula::CLexemParser().Parse(text));
    return root;
}

void WalkCursor(formula::CAggregateTemplate& root, std::size_t steps)
{
    formula::CCursorPath path;
    path.Start(&root, true);
    for (std::size_t i = 0; i < steps; ++i) {
        path.Move(static_cast<formula::Direction>(i % 7 < 4 ? 1 : i % 4));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<formula::CAggregateTemplate> root;
    try {
        root = Read(text);
    } catch (const formula::CMEException&) {
        return 0;
    }
    const std::string written = root->LexemText();
    try {
        if (Read(written)->LexemText() != written) {
            std::abort();
        }
    } catch (const formula::CMEException&) {
        std::abort();  // the writer wrote something the reader refuses
    }
    WalkCursor(*root, 2 * size + 8);

    formula::ParseContext context;
    root->Normalize(context);
    const std::string normalized = root->LexemText();
    try {
        Read(normalized);
    } catch (const formula::CMEException&) {
        std::abort();
    }
    WalkCursor(*root, 2 * size + 8);
    return 0;
}
