#include "formula/model/templates/brackets.h"

#include "formula/model/parse_context.h"
#include "formula/model/templates/template_kinds.h"

namespace formula {
namespace {
TemplateType BracketType(BracketKind kind, bool persistent)
{
    switch (kind) {
    case BracketKind::Round:
        return persistent ? TemplateType::BrPersistRound : TemplateType::BrRound;
    case BracketKind::Square:
        return TemplateType::BrSquare;
    case BracketKind::Figure:
        return TemplateType::BrFigure;
    case BracketKind::Abs:
        return TemplateType::BrAbs;
    case BracketKind::None:
        break;
    }
    return TemplateType::None;
}
}  // namespace

CBracketsTemplate::CBracketsTemplate(BracketKind kind, bool persistent)
    : CBracketsTemplate(BracketType(kind, persistent), TemplateGroup::Brackets, kind, persistent)
{
}

CBracketsTemplate::CBracketsTemplate(TemplateType type, TemplateGroup group, BracketKind kind, bool persistent)
    : CTemplate(type, group)
    , m_bracketKind(kind)
    , m_persistent(persistent)
    , m_content(MakeRow<CArgRow>())
{
}

void CBracketsTemplate::GetLexemText(std::string& out) const
{
    WriteTemplateText(out, GetTemplateName(Type()), {m_content.get()});
}

PartList CBracketsTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_content.get());
    return parts;
}

CLexemRow* CBracketsTemplate::CursorRow(int n) const
{
    return n == 1 ? m_content.get() : nullptr;
}

CRangeTemplate::CRangeTemplate()
    : CBracketsTemplate(BracketKind::Figure, true)
{
}

namespace {
bool IsRangeNumber(const CLexem* lexem)
{
    if (!lexem) {
        return false;
    }
    if (lexem->IsRow()) {
        return lexem->Type() == TemplateType::RealNum;
    }
    return lexem->Type() == TemplateType::MixedFrac || lexem->Type() == TemplateType::SimpleFrac;
}

bool IsChar(const CLexem* lexem, char ch)
{
    const CCharLexem* character = AsCharLexem(lexem);
    return character && lexem->Kind() == LexemKind::Character && character->Char() == ch;
}
}  // namespace

void CRangeTemplate::Normalize(ParseContext& context)
{
    CBracketsTemplate::Normalize(context);
    if (context.invalid) {
        return;
    }
    const CArgRow& row = *m_content;
    int pos = row.FirstPos();
    while (true) {
        if (IsChar(row.Child(pos), '-')) {
            ++pos;
        }
        if (!IsRangeNumber(row.Child(pos))) {
            context.invalid = true;
            return;
        }
        ++pos;
        if (pos >= row.Count()) {
            return;
        }
        if (!IsChar(row.Child(pos), ';')) {
            context.invalid = true;
            return;
        }
        ++pos;
    }
}

CIntervalTemplate::CIntervalTemplate(BracketKind left, BracketKind right, bool persistent)
    : CBracketsTemplate(TemplateType::Interval, TemplateGroup::Interval, left, persistent)
    , m_rightKind(right)
    , m_right(MakeRow<CArgRow>())
{
}

void CIntervalTemplate::GetLexemText(std::string& out) const
{
    out += "@interval$";
    out += m_bracketKind == BracketKind::Square ? '1' : '0';
    out += '$';
    out += m_rightKind == BracketKind::Square ? '1' : '0';
    out += '$';
    m_content->GetLexemText(out);
    out += '$';
    m_right->GetLexemText(out);
    out += '#';
}

PartList CIntervalTemplate::Parts() const
{
    PartList parts;
    parts.Add(m_content.get());
    parts.Add(m_right.get());
    return parts;
}

CLexemRow* CIntervalTemplate::CursorRow(int n) const
{
    switch (n) {
    case 1:
        return m_content.get();
    case 2:
        return m_right.get();
    }
    return nullptr;
}

}  // namespace formula
