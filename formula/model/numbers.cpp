#include "formula/model/numbers.h"

#include "formula/model/chars.h"

namespace formula {

CNumRow::CNumRow(TemplateType type, bool withHead, std::string_view text)
    : CLexemRow(type, withHead)
{
    for (char ch : text) {
        AddChild(MakeCharLexem(ch));
    }
}

int CNumRow::RemoveChild(int pos, bool backward, int& code)
{
    const int result = CLexemRow::RemoveChild(pos, backward, code);
    if (code == remove_code::Done && Count() == 0) {
        code = remove_code::NumberEmptied;
    }
    return result;
}

bool CNumRow::ReplaceChild(int, std::unique_ptr<CLexem>)
{
    return false;
}

void CNumRow::Normalize(ParseContext&) {}

CNumber::CNumber(std::string_view text)
    : CNumber(TemplateType::Number, false, text)
{
}

CNumber::CNumber(TemplateType type, bool withHead, std::string_view text)
    : CNumRow(type, withHead, text)
{
}

CRealNum::CRealNum(std::string_view text)
    : CRealNum(false, text)
{
}

CRealNum::CRealNum(bool withHead, std::string_view text)
    : CNumber(TemplateType::RealNum, withHead, text)
{
}

std::string CRealNum::GetIntegerDigits() const
{
    std::string digits;
    for (int pos = FirstPos(); pos < Count() && IsDigitLexem(Child(pos)); ++pos) {
        Child(pos)->GetLexemText(digits);
    }
    return digits.empty() ? "0" : digits;
}

std::string CRealNum::GetFractionDigits() const
{
    int pos = FirstPos();
    while (pos < Count() && IsDigitLexem(Child(pos))) {
        ++pos;
    }
    std::string digits;
    for (++pos; pos < Count() && IsDigitLexem(Child(pos)); ++pos) {
        Child(pos)->GetLexemText(digits);
    }
    return digits;
}

bool CRealNum::IsInteger() const
{
    if (IsEmpty()) {
        return false;
    }
    for (int pos = FirstPos(); pos < Count(); ++pos) {
        if (!IsDigitLexem(Child(pos))) {
            return false;
        }
    }
    return true;
}

CPeriodNum::CPeriodNum(std::string_view text)
    : CRealNum(false, text)
{
}

std::string CPeriodNum::GetPeriodDigits() const
{
    int pos = LastPos();
    if (pos < FirstPos() || !AsBracketChar(Child(pos))) {
        return {};
    }
    --pos;
    int first = pos + 1;
    while (pos >= FirstPos() && !AsBracketChar(Child(pos))) {
        first = pos--;
    }
    std::string digits;
    for (int i = first; i < LastPos(); ++i) {
        Child(i)->GetLexemText(digits);
    }
    return digits;
}

CNumPartRow::CNumPartRow()
    : CRealNum(true, {})
{
}

int CNumPartRow::InsertAfter(int pos, std::unique_ptr<CLexem> lexem)
{
    if (!IsDigitLexem(lexem.get())) {
        return -1;
    }
    return CLexemRow::InsertAfter(pos, std::move(lexem));
}

int CNumPartRow::RemoveChild(int pos, bool backward, int& code)
{
    code = remove_code::Done;
    if (pos == 0) {
        code = remove_code::AtHead;
        return pos;
    }
    if (IsEmpty()) {
        return pos;
    }
    return CLexemRow::RemoveChild(pos, backward, code);
}

CLowerIndexRow::CLowerIndexRow() = default;

bool IsNumberRow(const CLexem& lexem)
{
    return lexem.IsRow() && (lexem.Type() == TemplateType::Number || lexem.Type() == TemplateType::RealNum);
}

}  // namespace formula
