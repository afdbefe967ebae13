#include "formula/notation/mathml_writer.h"

#include "formula/model/lexem_row.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/template.h"
#include "platform/text.h"

namespace formula {

std::string MathMLText(const CLexem& lexem)
{
    std::string out;
    lexem.GetMathMLText(out);
    return out;
}

std::string MathMLDocument(const CLexem& root)
{
    std::string out = "<math display=\"block\" xmlns=\"";
    out += kMathMLNamespace;
    out += "\">";
    root.GetMathMLText(out);
    out += "</math>";
    return out;
}

namespace mathml {

void AppendEscaped(std::string& out, std::string_view text)
{
    for (char ch : text) {
        const auto code = static_cast<unsigned char>(ch);
        switch (ch) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += "&quot;";
            continue;
        }
        if (code < 0x20) {
            out += "\xEF\xBF\xBD";  // XML 1.0 has no place for control characters
        } else if (code >= 0x80) {
            out += platform::text::utf8FromCp1251(std::string_view(&ch, 1));
        } else {
            out += ch;
        }
    }
}

void AppendToken(std::string& out, std::string_view name, std::string_view text)
{
    out += '<';
    out += name;
    out += '>';
    AppendEscaped(out, text);
    out += "</";
    out += name;
    out += '>';
}

void AppendChar(std::string& out, std::string_view type)
{
    out += "<char type=\"";
    AppendEscaped(out, type);
    out += "\"/>";
}

bool IsPlainNumberPart(const CLexemRow& row)
{
    for (int pos = row.FirstPos(); pos < row.Count(); ++pos) {
        const CLexem* child = row.Child(pos);
        if (child->Kind() != LexemKind::Character && !IsNumberRow(*child)) {
            return false;
        }
        // An atom has its own element; "<" or ">" before "=" would read as a relation sign.
        const int ch = child->CharCode();
        if (child->Type() == TemplateType::SpecAtom || ch == '<' || ch == '>') {
            return false;
        }
    }
    return true;
}

bool WritesOneElement(const CLexem& lexem)
{
    switch (lexem.Kind()) {
    case LexemKind::RowHead:
        return false;
    case LexemKind::Character:
    case LexemKind::RelationSign:
        return true;
    case LexemKind::Template:
        // Bracket templates read as index brackets straight under msup/msub.
        return static_cast<const CTemplate&>(lexem).Group() != TemplateGroup::Brackets;
    case LexemKind::Row:
        break;
    }
    const auto& row = static_cast<const CLexemRow&>(lexem);
    if (lexem.Type() == TemplateType::Number) {
        return false;  // written as bare text
    }
    if (const auto* part = dynamic_cast<const CNumPartRow*>(&row)) {
        if (IsPlainNumberPart(*part)) {
            return true;
        }
    } else if (lexem.Type() == TemplateType::RealNum) {
        return true;
    }
    if (row.IsEmpty() || row.IsCompound()) {
        return true;
    }
    return row.ElementCount() == 1 && WritesOneElement(*row.Child(row.FirstPos()));
}

void WriteArg(const CLexemRow& row, std::string& out)
{
    if (WritesOneElement(row)) {
        row.GetMathMLText(out);
        return;
    }
    out += "<mrow>";
    row.GetMathMLText(out);
    out += "</mrow>";
}

void WriteFenced(const CLexemRow& row, std::string& out)
{
    out += "<mfenced open='(' close=')'>";
    row.GetMathMLText(out);
    out += "</mfenced>";
}

void WriteBase(const CLexemRow& base, bool fenced, std::string& out)
{
    if (fenced && base.IsCompound()) {
        WriteFenced(base, out);
    } else {
        WriteArg(base, out);
    }
}

}  // namespace mathml
}  // namespace formula
