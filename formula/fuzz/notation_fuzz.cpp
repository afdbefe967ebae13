// libFuzzer target over the Aplan and MathML readers. The first byte picks
// the reader (odd: MathML), the rest is the text. Any input either fails with
// CMEException or gives lexeme text; when that text reads, the tree's Aplan
// and MathML are written, the MathML reopens without error, and a second
// trip through MathML changes nothing more (the first may merge kinds: a
// diagonal fraction becomes a horizontal one, and so on).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/lexem_parser.h"
#include "formula/notation/mathml_writer.h"

namespace {

using formula::CAggregateTemplate;
using formula::CLexemParser;
using formula::CMEException;

std::unique_ptr<CAggregateTemplate> Read(const std::string& text)
{
    auto root = std::make_unique<CAggregateTemplate>();
    root->InsertNewRow(nullptr, false)->InsertLexems(CLexemParser().Parse(text));
    return root;
}

// Template nesting of a lexeme text.
int Depth(const std::string& text)
{
    int depth = 0;
    int deepest = 0;
    for (char ch : text) {
        depth += ch == '@' ? 1 : ch == '#' ? -1 : 0;
        deepest = depth > deepest ? depth : deepest;
    }
    return deepest;
}

// MathML of a tree, read back, as lexeme text normalised by the lexeme reader.
std::string ThroughMathML(const CAggregateTemplate& root)
{
    std::string text;
    try {
        CLexemParser::ConvertMathMLText(formula::MathMLDocument(root), text);
        return Read(text)->LexemText();
    } catch (const CMEException&) {
        std::abort();  // the writer wrote something the reader refuses
    }
}

void CheckWriters(CAggregateTemplate& root)
{
    const std::string aplan = formula::AplanText(root);
    std::string reply;
    try {
        CLexemParser::ConvertAplanText(aplan, reply);
    } catch (const CMEException&) {
    }
    // Beyond about 48 template levels the markup is deeper than the XML
    // layer's 256 element levels.
    if (Depth(root.LexemText()) > 48) {
        return;
    }
    const std::string once = ThroughMathML(root);
    if (ThroughMathML(*Read(once)) != once) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string text;
    std::unique_ptr<CAggregateTemplate> root;
    try {
        if (data[0] & 1) {
            CLexemParser::ConvertMathMLText(input, text);
        } else {
            CLexemParser::ConvertAplanText(input, text);
        }
        root = Read(text);
    } catch (const CMEException&) {
        return 0;
    }
    CheckWriters(*root);
    formula::ParseContext context;
    root->Normalize(context);
    CheckWriters(*root);
    return 0;
}
