// The Aplan and MathML forms of the leaves.
#include "formula/model/chars.h"
#include "formula/model/sign_tables.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_names.h"
#include "formula/notation/mathml_writer.h"

namespace formula {

void CCharLexem::GetAplanText(std::string& out, AplanContext&) const
{
    out += m_char == ';' ? ',' : m_char;
}

void CCharLexem::GetMathMLText(std::string& out) const
{
    const std::string_view text(&m_char, 1);
    if (Type() == TemplateType::BracketChar) {
        mathml::AppendToken(out, "mo", text);
    } else if (IsOperatorSignChar(m_char)) {
        // The product is the middle dot (Windows-1251 183, U+00B7).
        mathml::AppendToken(out, "mo", m_char == '*' ? "\xB7" : text);
    } else {
        mathml::AppendToken(out, "mi", text);
    }
}

void COperatorSign::GetAplanText(std::string& out, AplanContext&) const
{
    switch (Char()) {
    case '-':
        out += '-';
        return;
    case ':':
        out += "/!";
        return;
    default:
        out += Char();
        out += '!';
    }
}

void CRelationSign::GetAplanText(std::string& out, AplanContext& context) const
{
    const std::string_view word = aplan::RelationWord(m_symbolCode);
    if (word.empty()) {
        out += "???";
        context.incomplete = true;
        return;
    }
    out += word;
}

void CRelationSign::GetMathMLText(std::string& out) const
{
    // A sign that carries an atom's code takes the atom's type (inside "mo",
    // which tells it from the atom itself).
    std::string_view type = mathml::TypeOf(mathml::kSignTypes, m_symbolCode);
    if (type.empty()) {
        type = mathml::TypeOf(mathml::kAtomTypes, m_symbolCode);
    }
    if (type.empty()) {
        type = mathml::kUnknownSignType;
    }
    out += "<mo>";
    mathml::AppendChar(out, type);
    out += "</mo>";
}

void CSpecAtom::GetAplanText(std::string& out, AplanContext& context) const
{
    const std::string_view word = aplan::AtomWord(m_code);
    if (word.empty()) {
        out += " (NotImplemented) ";
        context.incomplete = true;
        return;
    }
    out += word;
}

void CSpecAtom::GetMathMLText(std::string& out) const
{
    const std::string_view type = mathml::TypeOf(mathml::kAtomTypes, m_code);
    mathml::AppendChar(out, type.empty() ? mathml::kUnknownAtomType : type);
}

}  // namespace formula
