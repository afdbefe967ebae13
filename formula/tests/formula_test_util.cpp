#include "formula/tests/formula_test_util.h"

#include <vector>

#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/all.h"
#include "formula/notation/lexem_parser.h"

namespace formula::test {

std::unique_ptr<CAggregateTemplate> Read(std::string_view text, CDisplaySettings* owner)
{
    auto root = std::make_unique<CAggregateTemplate>();
    root->SetOwner(owner, nullptr);
    CLexemParser parser;
    root->InsertNewRow(nullptr, false)->InsertLexems(parser.Parse(text));
    return root;
}

std::string ReadWrite(std::string_view text)
{
    return Read(text)->LexemText();
}

namespace {

std::string DescribeRow(const CLexemRow* row)
{
    if (!row) {
        return "-";
    }
    std::string out;
    for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
        if (!out.empty()) {
            out += ' ';
        }
        out += Describe(*row->Child(pos));
    }
    return out;
}

std::string TemplateName(const CTemplate& tmpl)
{
    const TemplateType type = tmpl.Type();
    if (type == TemplateType::Index) {
        return "index";
    }
    if (type == TemplateType::Deriv) {
        return tmpl.Group() == TemplateGroup::NDerivative ? "nderiv" : "deriv";
    }
    if (type == TemplateType::IndexFunc) {
        return "indexfunc:" + std::string(GetFuncName(static_cast<const CIndexFuncTemplate&>(tmpl).FuncId()));
    }
    if (type == TemplateType::Func) {
        return "func:" + std::string(GetFuncName(static_cast<const CFuncTemplate&>(tmpl).FuncId()));
    }
    if (type == TemplateType::Bool) {
        return static_cast<const CBoolTemplate&>(tmpl).Value() ? "true" : "false";
    }
    if (type == TemplateType::Interval) {
        const auto& interval = static_cast<const CIntervalTemplate&>(tmpl);
        return std::string("interval") + (interval.LeftKind() == BracketKind::Square ? "[" : "(") +
               (interval.RightKind() == BracketKind::Square ? "]" : ")");
    }
    return std::string(GetTemplateName(type));
}

// Rows in the order the lexeme text writes them; "-" for an absent one.
std::vector<const CLexem*> DescribedParts(const CTemplate& tmpl)
{
    if (const auto* index = dynamic_cast<const CIndexTemplate*>(&tmpl)) {
        return {index->Base(), index->Upper(), index->Lower()};
    }
    if (const auto* big = dynamic_cast<const CBigOperatorTemplate*>(&tmpl)) {
        return {big->Body(), big->UpperLimit(), big->LowerLimit()};
    }
    if (const auto* lim = dynamic_cast<const CLimTemplate*>(&tmpl)) {
        return {lim->Body(), lim->Variable(), lim->Value()};
    }
    if (const auto* mixed = dynamic_cast<const CMixedFracTemplate*>(&tmpl)) {
        return {mixed->WholePart(), mixed->Numerator(), mixed->Denominator()};
    }
    if (const auto* deriv = dynamic_cast<const CDerivTemplate*>(&tmpl)) {
        return {deriv->Body(), deriv->PrimeRow()};
    }
    if (const auto* root = dynamic_cast<const CRootTemplate*>(&tmpl)) {
        return {root->Degree(), root->Radicand()};
    }
    std::vector<const CLexem*> parts;
    for (const CLexem* part : tmpl.Parts()) {
        parts.push_back(part);
    }
    return parts;
}

}  // namespace

std::string Describe(const CLexem& lexem)
{
    if (const CLexemRow* row = AsRow(&lexem)) {
        std::string digits;
        for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
            row->Child(pos)->GetLexemText(digits);
        }
        if (dynamic_cast<const CPeriodNum*>(row)) {
            return "period" + digits;
        }
        if (lexem.Type() == TemplateType::RealNum) {
            return "num" + digits;
        }
        if (lexem.Type() == TemplateType::Number) {
            return "int" + digits;
        }
        return "row(" + DescribeRow(row) + ")";
    }
    if (const CSpecAtom* atom = AsSpecAtom(&lexem)) {
        return "atom" + std::to_string(atom->AtomCode());
    }
    if (lexem.Kind() == LexemKind::RelationSign) {
        return "rel" + std::to_string(AsOperatorSign(&lexem)->SymbolCode());
    }
    if (const COperatorSign* sign = AsOperatorSign(&lexem)) {
        return std::string(1, sign->Char());
    }
    if (const CBracketChar* bracket = AsBracketChar(&lexem)) {
        return std::string("br") + bracket->Char();
    }
    if (lexem.IsLetter()) {
        return std::string(1, AsCharLexem(&lexem)->Char());
    }
    if (const CCharLexem* ch = AsCharLexem(&lexem)) {
        return std::string("'") + ch->Char() + "'";
    }
    const CTemplate* tmpl = AsTemplate(&lexem);
    if (!tmpl) {
        return "?";
    }
    std::string out = TemplateName(*tmpl) + "[";
    if (tmpl->IsMultiRow()) {
        const auto* multi = static_cast<const CMultiRowTemplate*>(tmpl);
        for (int i = 0; i < multi->GetRowCount(); ++i) {
            out += (i ? ";" : "") + DescribeRow(multi->GetRow(i));
        }
        return out + "]";
    }
    bool first = true;
    for (const CLexem* part : DescribedParts(*tmpl)) {
        out += first ? "" : ";";
        first = false;
        out += DescribeRow(AsRow(part));
    }
    return out + "]";
}

std::string DescribeRoot(const CAggregateTemplate& root)
{
    std::string out;
    for (int i = 0; i < root.GetRowCount(); ++i) {
        out += (i ? " / " : "") + DescribeRow(root.GetRow(i));
    }
    return out;
}

}  // namespace formula::test
