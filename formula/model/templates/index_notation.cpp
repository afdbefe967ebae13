// The Aplan and MathML forms of the index family.
#include "formula/model/chars.h"
#include "formula/model/templates/functions.h"
#include "formula/model/templates/index.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {
namespace {

bool IsDigitsOnly(const CLexemRow& row)
{
    const std::string text = row.LexemText();
    for (char ch : text) {
        if (!IsDigitChar(ch)) {
            return false;
        }
    }
    return !text.empty();
}

// x with lower index 1 and upper index n+1 -> "x1^!(n+!1)". The lower index
// is glued to the base: only digits make an indexed variable of it.
void WriteIndexAplan(const CLexemRow& base, const CLexemRow* lower, const CLexemRow* upper, std::string& out,
                     AplanContext& context)
{
    const bool oneCharacter = base.ElementCount() == 1 && base.Child(base.FirstPos())->Kind() == LexemKind::Character;
    if (!oneCharacter) {
        out += '(';
    }
    aplan::WriteRowContent(base, out, context);
    if (!oneCharacter) {
        out += ')';
    }
    if (lower) {
        lower->GetAplanText(out, context);
        if (!IsDigitsOnly(*lower)) {
            context.incomplete = true;
        }
    }
    if (upper) {
        out += "^!";
        aplan::WriteOperand(*upper, out, context);
    }
}

// A row that a template may have dropped: an empty row in its place.
void WriteOptionalArg(const CLexemRow* row, std::string& out)
{
    if (row) {
        mathml::WriteArg(*row, out);
    } else {
        out += "<mrow/>";
    }
}

}  // namespace

void CIndexTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    WriteIndexAplan(*m_base, m_lower.get(), m_upper.get(), out, context);
}

void CIndexTemplate::GetMathMLText(std::string& out) const
{
    if (m_upper && m_lower) {
        out += "<msubsup>";
        mathml::WriteArg(*m_base, out);
        mathml::WriteArg(*m_lower, out);
        mathml::WriteArg(*m_upper, out);
        out += "</msubsup>";
    } else if (m_upper) {
        out += "<msup>";
        mathml::WriteBase(*m_base, true, out);
        mathml::WriteArg(*m_upper, out);
        out += "</msup>";
    } else if (m_lower) {
        out += "<msub>";
        mathml::WriteBase(*m_base, false, out);
        mathml::WriteArg(*m_lower, out);
        out += "</msub>";
    } else {
        // Without any index the template is its base.
        mathml::WriteArg(*m_base, out);
    }
}

void CIndexFuncTemplate::GetAplanText(std::string&, AplanContext& context) const
{
    context.incomplete = true;
}

void CIndexFuncTemplate::GetMathMLText(std::string& out) const
{
    std::string head;
    mathml::AppendToken(head, "mi", GetFuncName(m_funcId));
    if (m_lower) {
        std::string lower;
        mathml::WriteArg(*m_lower, lower);
        head = "<msub>" + head + lower + "</msub>\n";
    }
    if (m_upper) {
        std::string upper;
        mathml::WriteArg(*m_upper, upper);
        head = "<msup>" + head + upper + "</msup>\n";
    }
    out += "<mrow>";
    out += head;
    out += "<mrow><mfenced open=\"(\" close=\")\">";
    m_base->GetMathMLText(out);
    out += "</mfenced></mrow>\n</mrow>";
}

// Integration limits have no form of their own: written as a power.
void CSubSupTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    WriteIndexAplan(*m_base, m_lower.get(), m_upper.get(), out, context);
    if (Type() == TemplateType::IntegrationLimit) {
        context.incomplete = true;
    }
}

void CSubSupTemplate::GetMathMLText(std::string& out) const
{
    out += "<msubsup>";
    if (Type() == TemplateType::IntegrationLimit) {
        out += "<mrow>";
        mathml::WriteFenced(*m_base, out);
        out += "<mo>|</mo></mrow>";
    } else {
        mathml::WriteFenced(*m_base, out);
    }
    WriteOptionalArg(m_lower.get(), out);
    WriteOptionalArg(m_upper.get(), out);
    out += "</msubsup>";
}

void CProgMemTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    out += "i_name(";
    m_base->GetAplanText(out, context);
    out += ',';
    if (m_lower) {
        m_lower->GetAplanText(out, context);
    }
    out += ')';
}

void CProgMemTemplate::GetMathMLText(std::string& out) const
{
    out += "<msq>";
    mathml::WriteArg(*m_base, out);
    WriteOptionalArg(m_lower.get(), out);
    out += "</msq>";
}

}  // namespace formula
