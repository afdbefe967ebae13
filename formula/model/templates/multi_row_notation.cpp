// The Aplan and MathML forms of multi-row templates.
#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {
namespace {

void WriteLines(const std::vector<std::unique_ptr<CLineRow>>& lines, std::string_view open,
                std::string_view separator, std::string_view close, std::string& out, AplanContext& context)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        out += open;
        lines[i]->GetAplanText(out, context);
        out += close;
    }
}

void WriteTable(const std::vector<std::unique_ptr<CLineRow>>& lines, std::string_view lineEnd, std::string& out)
{
    if (lines.empty()) {
        out += "<mtable/>";
        return;
    }
    out += "<mtable>";
    for (const auto& line : lines) {
        out += "<mtr><mtd>";
        line->GetMathMLText(out);
        out += lineEnd;
        out += "</mtd></mtr>";
    }
    out += "</mtable>";
}

}  // namespace

void CMultiRowTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    WriteLines(m_lines, "(", ",", ")", out, context);
}

void CMultiRowTemplate::GetMathMLText(std::string& out) const
{
    if (m_lines.size() == 1) {
        const CLineRow& line = *m_lines.front();
        if (line.IsCompound()) {
            line.GetMathMLText(out);
        } else {
            out += "<mrow>";
            line.GetMathMLText(out);
            out += "</mrow>";
        }
        return;
    }
    if (m_lines.empty()) {
        out += "<mrow/>";
        return;
    }
    out += "<mrow>";
    WriteTable(m_lines, "", out);
    out += "</mrow>";
}

void CSystemTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    out += IsUnion() ? "Union(" : "System(";
    WriteLines(m_lines, "(", IsUnion() ? " |! " : " &! ", ")", out, context);
    out += ')';
}

void CSystemTemplate::GetMathMLText(std::string& out) const
{
    out += IsUnion() ? "<mrow><mo>[</mo>" : "<mrow><mo>{</mo>";
    WriteTable(m_lines, "\n", out);
    out += "</mrow>";
}

void CAggregateTemplate::GetAplanText(std::string& out, AplanContext& context) const
{
    WriteLines(m_lines, "", ",", "", out, context);
}

void CAggregateTemplate::GetMathMLText(std::string& out) const
{
    CMultiRowTemplate::GetMathMLText(out);
}

}  // namespace formula
