// The Aplan and MathML forms of numbers.
#include "formula/model/chars.h"
#include "formula/model/numbers.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/mathml_writer.h"

namespace formula {
namespace {

void WriteChildrenAplan(const CLexemRow& row, std::string& out, AplanContext& context)
{
    for (int pos = row.FirstPos(); pos < row.Count(); ++pos) {
        row.Child(pos)->GetAplanText(out, context);
    }
}

void WriteQuoted(std::string& out, std::string_view text)
{
    out += '"';
    out += text;
    out += '"';
}

// 3,25 -> RealNum("3","25"); negative RealNum("-3","5"); an integer alone.
void WriteRealNum(const CRealNum& number, bool negative, std::string& out)
{
    if (number.IsInteger()) {
        if (negative) {
            out += "(-";
        }
        out += number.LexemText();
        if (negative) {
            out += ')';
        }
        return;
    }
    out += "RealNum(";
    WriteQuoted(out, (negative ? "-" : "") + number.GetIntegerDigits());
    out += ',';
    WriteQuoted(out, number.GetFractionDigits());
    out += ')';
}

// 0,1(6) -> PeriodNum("0","1","(6)")
void WritePeriodNum(const CPeriodNum& number, bool negative, std::string& out)
{
    out += "PeriodNum(";
    WriteQuoted(out, (negative ? "-" : "") + number.GetIntegerDigits());
    out += ',';
    WriteQuoted(out, number.GetFractionDigits());
    out += ',';
    WriteQuoted(out, "(" + number.GetPeriodDigits() + ")");
    out += ')';
}

}  // namespace

namespace aplan {

void WriteNegativeNumber(const CLexem& number, std::string& out)
{
    if (const auto* period = dynamic_cast<const CPeriodNum*>(&number)) {
        WritePeriodNum(*period, true, out);
    } else if (const auto* real = dynamic_cast<const CRealNum*>(&number)) {
        WriteRealNum(*real, true, out);
    } else {
        out += "(-";
        out += number.LexemText();
        out += ')';
    }
}

}  // namespace aplan

void CNumber::GetAplanText(std::string& out, AplanContext& context) const
{
    WriteChildrenAplan(*this, out, context);
}

void CNumber::GetMathMLText(std::string& out) const
{
    mathml::AppendEscaped(out, LexemText());
}

void CRealNum::GetAplanText(std::string& out, AplanContext&) const
{
    WriteRealNum(*this, false, out);
}

void CRealNum::GetMathMLText(std::string& out) const
{
    mathml::AppendToken(out, "mn", LexemText());
}

void CPeriodNum::GetAplanText(std::string& out, AplanContext&) const
{
    WritePeriodNum(*this, false, out);
}

void CNumPartRow::GetAplanText(std::string& out, AplanContext& context) const
{
    WriteChildrenAplan(*this, out, context);
}

void CNumPartRow::GetMathMLText(std::string& out) const
{
    if (mathml::IsPlainNumberPart(*this)) {
        mathml::AppendToken(out, "mn", LexemText());
    } else {
        CLexemRow::GetMathMLText(out);
    }
}

}  // namespace formula
