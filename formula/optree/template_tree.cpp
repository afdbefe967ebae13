// The operation tree of a template in general, and the shape tests that the
// template kinds' own constraints use.
#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/fractions.h"
#include "formula/model/templates/template.h"
#include "formula/optree/tree_support.h"

namespace formula {

COperationNode* CTemplate::BuildOperationTree(ParseContext& context, COperationNode& parent)
{
    auto node = std::make_unique<COperationNode>(this);
    if (!BuildPartTrees(*this, context, *node)) {
        return nullptr;
    }
    return parent.AddChild(std::move(node));
}

bool BuildRowTree(CLexemRow* row, ParseContext& context, COperationNode& parent, bool relationsPermitted)
{
    if (!row) {
        context.invalid = true;
        return false;
    }
    ParseContext fresh = ParseContext::Fresh(relationsPermitted);
    row->BuildOperationTree(fresh, parent);
    if (fresh.invalid) {
        context.invalid = true;
        return false;
    }
    return true;
}

bool BuildPartTrees(const CTemplate& tmpl, ParseContext& context, COperationNode& parent)
{
    for (CLexem* part : tmpl.Parts()) {
        if (CLexemRow* row = AsRow(part)) {
            if (!BuildRowTree(row, context, parent, false)) {
                return false;
            }
        } else if (const CTemplate* inner = AsTemplate(part)) {
            if (!BuildPartTrees(*inner, context, parent)) {
                return false;
            }
        }
    }
    return true;
}

COperationNode* Invalid(ParseContext& context)
{
    context.invalid = true;
    return nullptr;
}

CLexem* OnlyElement(const CLexemRow* row)
{
    return row && row->ElementCount() == 1 ? row->Child(row->FirstPos()) : nullptr;
}

bool IsNumberLexem(const CLexem* lexem)
{
    return lexem && IsNumberRow(*lexem);
}

namespace {
bool IsWholeNumber(const CLexem* lexem)
{
    if (!IsNumberLexem(lexem)) {
        return false;
    }
    if (lexem->Type() == TemplateType::RealNum) {
        return static_cast<const CRealNum*>(lexem)->IsInteger();
    }
    return !static_cast<const CLexemRow*>(lexem)->IsEmpty();
}
}  // namespace

bool IsDigitFraction(const CLexem* lexem)
{
    if (!lexem) {
        return false;
    }
    if (lexem->Type() == TemplateType::SimpleFrac) {
        return true;
    }
    if (lexem->Type() != TemplateType::HorFrac) {
        return false;
    }
    const auto* frac = static_cast<const CHorFracTemplate*>(lexem);
    return IsWholeNumber(OnlyElement(frac->Numerator())) && IsWholeNumber(OnlyElement(frac->Denominator()));
}

bool IsNumberValue(const CLexem* lexem)
{
    return lexem && (IsNumberLexem(lexem) || lexem->Type() == TemplateType::MixedFrac || IsDigitFraction(lexem));
}

bool HoldsSingleLetter(const CLexemRow* row)
{
    const CLexem* only = OnlyElement(row);
    return only && only->IsLetter();
}

bool HoldsSingleNumber(const CLexemRow* row)
{
    if (!row || row->IsEmpty()) {
        return false;
    }
    const CLexem* only = OnlyElement(row);
    if (IsNumberLexem(only) || IsDigitFraction(only)) {
        return true;
    }
    if (!IsNumberRow(*row)) {
        return false;
    }
    // a digit row holding its digits directly
    for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
        const CLexem* child = row->Child(pos);
        const CCharLexem* ch = AsCharLexem(child);
        if (!IsDigitLexem(child) && !(ch && ch->Char() == kDecimalSeparator)) {
            return false;
        }
    }
    return true;
}

bool IsInfinityAtom(const CLexem* lexem)
{
    const CSpecAtom* atom = AsSpecAtom(lexem);
    return atom && atom->AtomCode() == symbol::Infinity;
}

bool IsMinusSign(const CLexem* lexem)
{
    const COperatorSign* sign = AsOperatorSign(lexem);
    return sign && sign->Kind() == LexemKind::Character && sign->Char() == '-';
}

}  // namespace formula
