// The Aplan and MathML forms of bracket templates and intervals.
#include "formula/model/templates/brackets.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {
namespace {

struct Pair {
    std::string_view open;
    std::string_view close;
};

constexpr Pair MathMLPair(BracketKind kind)
{
    switch (kind) {
    case BracketKind::Square:
        return {"[", "]"};
    case BracketKind::Figure:
        return {"{", "}"};
    case BracketKind::Abs:
        return {"|", "|"};
    case BracketKind::None:
    case BracketKind::Round:
        break;
    }
    return {"(", ")"};
}

}  // namespace

void CBracketsTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    // {1;2} -> "_range((1,2))"
    if (dynamic_cast<const CRangeTemplate*>(this)) {
        out += "_range((";
        aplan::WriteRowContent(*m_content, out, context);
        out += "))";
        return;
    }
    std::string_view open = "(";
    std::string_view close = ")";
    switch (m_bracketKind) {
    case BracketKind::Figure:
        open = "{";
        close = "}";
        break;
    case BracketKind::Abs:
        open = "_abs(";
        break;
    case BracketKind::None:
    case BracketKind::Round:
    case BracketKind::Square:
        break;
    }
    out += open;
    aplan::WriteRowContent(*m_content, out, context);
    out += close;
}

void CBracketsTemplate::GetMathMLText(std::string& out) const
{
    const Pair pair = MathMLPair(m_bracketKind);
    out += "<mfenced open=\"";
    out += pair.open;
    out += "\" close=\"";
    out += pair.close;
    out += "\">";
    m_content->GetMathMLText(out);
    out += "</mfenced>";
}

void CIntervalTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    out += "Interval(";
    out += m_bracketKind == BracketKind::Square ? '1' : '0';
    out += ',';
    out += m_rightKind == BracketKind::Square ? '1' : '0';
    out += ',';
    aplan::WriteRowContent(*m_content, out, context);
    out += ',';
    aplan::WriteRowContent(*m_right, out, context);
    out += ')';
}

void CIntervalTemplate::GetMathMLText(std::string& out) const
{
    out += "<interval open=\"";
    out += MathMLPair(m_bracketKind).open;
    out += "\" close=\"";
    out += MathMLPair(m_rightKind).close;
    out += "\">";
    mathml::WriteArg(*m_content, out);
    mathml::WriteArg(*m_right, out);
    out += "</interval>";
}

}  // namespace formula
