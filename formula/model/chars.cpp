#include "formula/model/chars.h"

#include "formula/model/lexem_row.h"
#include "formula/model/sign_tables.h"

namespace formula {

CCharLexem::CCharLexem(char ch)
    : CCharLexem(ch, LexemKind::Character, TemplateType::Char)
{
}

CCharLexem::CCharLexem(char ch, LexemKind kind, TemplateType type)
    : CLexem(kind, type)
    , m_char(ch)
{
}

void CCharLexem::GetLexemText(std::string& out) const
{
    out += m_char;
}

CSymbolChar::CSymbolChar(char ch)
    : CCharLexem(ch, LexemKind::Character, TemplateType::Char)
{
}

CSymbolChar::CSymbolChar(char ch, TemplateType type)
    : CCharLexem(ch, LexemKind::Character, type)
{
}

namespace {
struct BracketCharInfo {
    char ch;
    BracketKind kind;
    BracketSide side;
};
constexpr BracketCharInfo kBracketChars[] = {
    {'(', BracketKind::Round, BracketSide::Opening},  {')', BracketKind::Round, BracketSide::Closing},
    {'[', BracketKind::Square, BracketSide::Opening}, {']', BracketKind::Square, BracketSide::Closing},
    {'{', BracketKind::Figure, BracketSide::Opening}, {'}', BracketKind::Figure, BracketSide::Closing},
};

const BracketCharInfo* FindBracketChar(char ch)
{
    for (const BracketCharInfo& info : kBracketChars) {
        if (info.ch == ch) {
            return &info;
        }
    }
    return nullptr;
}
}  // namespace

CBracketChar::CBracketChar(char ch)
    : CCharLexem('?', LexemKind::Character, TemplateType::BracketChar)
{
    if (const BracketCharInfo* info = FindBracketChar(ch)) {
        SetChar(ch);
        m_bracketKind = info->kind;
        m_side = info->side;
    }
}

COperatorSign::COperatorSign(char ch)
    : CCharLexem(ch, LexemKind::Character, TemplateType::OperatorSign)
{
    SetSign(ch);
}

COperatorSign::COperatorSign(int code, int priorityClass, LexemKind kind)
    : CCharLexem(static_cast<char>(code), kind, TemplateType::OperatorSign)
    , m_priorityClass(priorityClass)
    , m_symbolCode(code)
{
}

void COperatorSign::SetSign(char ch)
{
    SetChar(ch);
    if (const OperatorSignInfo* info = FindOperatorSign(ch)) {
        m_priorityClass = info->priorityClass;
        m_symbolCode = info->symbolCode;
    } else {
        m_priorityClass = 0;
        m_symbolCode = static_cast<unsigned char>(ch);
    }
}

bool COperatorSign::IsCommutative() const
{
    if (Kind() != LexemKind::Character) {
        return true;
    }
    switch (Char()) {
    case '-':
    case '/':
    case ':':
    case '^':
        return false;
    }
    return true;
}

std::string_view COperatorSign::GetInverseText() const
{
    if (Kind() != LexemKind::Character) {
        return {};
    }
    const OperatorSignInfo* info = FindOperatorSign(Char());
    return info ? info->inverseText : std::string_view{};
}

bool COperatorSign::IsUnary() const
{
    const CLexemRow* row = AsRow(Parent());
    if (!row) {
        return true;
    }
    int pos = row->IndexOf(this) - 1;
    while (pos >= 0 && row->Child(pos)->IsSpace()) {
        --pos;
    }
    if (pos < 0) {
        return true;
    }
    const CLexem* prev = row->Child(pos);
    if (const COperatorSign* sign = AsOperatorSign(prev)) {
        return sign->PriorityClass() >= m_priorityClass;
    }
    if (const CBracketChar* bracket = AsBracketChar(prev)) {
        return bracket->GetSide() == BracketSide::Opening;
    }
    if (prev->Kind() == LexemKind::RowHead || !prev->IsOperandLike()) {
        return true;
    }
    return prev->LexemText() == ";";
}

CRelationSign::CRelationSign(int code)
    : COperatorSign(code, GetRelationClass(code), LexemKind::RelationSign)
{
}

CRelationSign::CRelationSign(std::string_view name)
    : CRelationSign(GetRelationCode(name))
{
}

void CRelationSign::GetLexemText(std::string& out) const
{
    out += "@spec$";
    out += GetRelationName(m_symbolCode);
    out += '#';
}

CSpecAtom::CSpecAtom(int code)
    : CSymbolChar(static_cast<char>(code), TemplateType::SpecAtom)
    , m_code(code)
{
}

CSpecAtom::CSpecAtom(std::string_view name)
    : CSpecAtom(GetAtomCode(name))
{
}

void CSpecAtom::GetLexemText(std::string& out) const
{
    out += "@spec_atom$";
    out += GetAtomName(m_code);
    out += '#';
}

std::unique_ptr<CLexem> MakeCharLexem(char ch)
{
    if (IsOperatorSignChar(ch)) {
        return std::make_unique<COperatorSign>(ch);
    }
    if (FindBracketChar(ch)) {
        return std::make_unique<CBracketChar>(ch);
    }
    if (IsLatinLetter(ch)) {
        return std::make_unique<CSymbolChar>(ch);
    }
    return std::make_unique<CCharLexem>(ch);
}

const CCharLexem* AsCharLexem(const CLexem* lexem)
{
    if (lexem && (lexem->Kind() == LexemKind::Character || lexem->Kind() == LexemKind::RelationSign)) {
        return static_cast<const CCharLexem*>(lexem);
    }
    return nullptr;
}

const COperatorSign* AsOperatorSign(const CLexem* lexem)
{
    if (lexem && lexem->Type() == TemplateType::OperatorSign &&
        (lexem->Kind() == LexemKind::Character || lexem->Kind() == LexemKind::RelationSign)) {
        return static_cast<const COperatorSign*>(lexem);
    }
    return nullptr;
}

COperatorSign* AsOperatorSign(CLexem* lexem)
{
    return const_cast<COperatorSign*>(AsOperatorSign(static_cast<const CLexem*>(lexem)));
}

const CBracketChar* AsBracketChar(const CLexem* lexem)
{
    if (lexem && lexem->Kind() == LexemKind::Character && lexem->Type() == TemplateType::BracketChar) {
        return static_cast<const CBracketChar*>(lexem);
    }
    return nullptr;
}

const CSpecAtom* AsSpecAtom(const CLexem* lexem)
{
    if (lexem && lexem->Kind() == LexemKind::Character && lexem->Type() == TemplateType::SpecAtom) {
        return static_cast<const CSpecAtom*>(lexem);
    }
    return nullptr;
}

bool IsDigitLexem(const CLexem* lexem)
{
    const CCharLexem* ch = AsCharLexem(lexem);
    return ch && lexem->Type() == TemplateType::Char && IsDigitChar(ch->Char());
}

}  // namespace formula
