#include "formula/model/lexem.h"

#include "formula/model/chars.h"
#include "formula/model/cursor_path.h"
#include "formula/model/display_settings.h"
#include "formula/model/lexem_row.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/template.h"

namespace formula {

CLexem::CLexem(LexemKind kind, TemplateType type)
    : m_kind(kind)
    , m_type(type)
{
}

CLexem::~CLexem() = default;

bool CLexem::IsPointInside(Point pt) const
{
    return pt.x >= m_box.x && pt.x <= m_box.x + m_box.width && pt.y >= m_box.y &&
           pt.y <= m_box.y + m_box.height;
}

void CLexem::SetSelected(bool selected)
{
    m_selected = selected;
}

void CLexem::Layout(Canvas&, int x, int axisY)
{
    m_box = {x, axisY, 0, 0, axisY};
}

void CLexem::Offset(int dx, int dy)
{
    m_box.x += dx;
    m_box.y += dy;
    m_box.axisY += dy;
}

void CLexem::SetOwner(CDisplaySettings* owner, CLexem* parent)
{
    m_owner = owner;
    m_parent = parent;
}

bool CLexem::PlaceCursor(CCursorPath& path, Direction, Point)
{
    path.Push(this);
    return true;
}

bool CLexem::MoveCursor(CCursorPath&, Direction)
{
    return false;
}

bool CLexem::HitTest(CCursorPath& path, Point pt)
{
    if (!IsPointInside(pt)) {
        return false;
    }
    return PlaceCursor(path, Direction::ToPoint, pt);
}

void CLexem::Normalize(ParseContext&) {}

void CLexem::Draw(Canvas&) {}

void CLexem::SelectFont(Canvas&) {}

void CLexem::RestoreFont(Canvas&) {}

std::string CLexem::LexemText() const
{
    std::string text;
    GetLexemText(text);
    return text;
}

bool CLexem::IsMultiRow() const
{
    return m_kind == LexemKind::Template &&
           static_cast<const CTemplate*>(this)->Group() == TemplateGroup::MultiRow;
}

bool CLexem::IsSpace() const
{
    const CCharLexem* ch = AsCharLexem(this);
    return ch && m_kind == LexemKind::Character && m_type == TemplateType::Char && ch->Char() == ' ';
}

bool CLexem::IsSubscriptOnly() const
{
    return m_type == TemplateType::IndexDn;
}

bool CLexem::IsBelongSign() const
{
    if (m_kind != LexemKind::RelationSign) {
        return false;
    }
    const int code = static_cast<const COperatorSign*>(this)->SymbolCode();
    return code == symbol::Belongs || code == symbol::NotBelongs;
}

bool CLexem::IsLetter() const
{
    const CCharLexem* ch = AsCharLexem(this);
    return ch && m_kind == LexemKind::Character && m_type == TemplateType::Char && IsLatinLetter(ch->Char());
}

bool CLexem::IsOperandLike() const
{
    switch (m_kind) {
    case LexemKind::Character:
    case LexemKind::RelationSign:
    case LexemKind::Template:
        return true;
    case LexemKind::Row:
    case LexemKind::RowHead:
        return m_type == TemplateType::Char || m_type == TemplateType::RealNum;
    }
    return false;
}

bool CLexem::IsLessSign() const
{
    const COperatorSign* sign = AsOperatorSign(this);
    return sign && (sign->SymbolCode() == '<' || sign->SymbolCode() == symbol::LessOrEqual);
}

bool CLexem::IsGreaterSign() const
{
    const COperatorSign* sign = AsOperatorSign(this);
    return sign && (sign->SymbolCode() == '>' || sign->SymbolCode() == symbol::GreaterOrEqual);
}

int CLexem::CharCode() const
{
    const CCharLexem* ch = AsCharLexem(this);
    return ch ? static_cast<unsigned char>(ch->Char()) : 0;
}

CLexem* CLexem::GetPrevInRow() const
{
    const CLexemRow* row = AsRow(m_parent);
    if (!row) {
        return nullptr;
    }
    const int pos = row->IndexOf(this);
    if (pos <= row->FirstPos()) {
        return nullptr;
    }
    return row->Child(pos - 1);
}

bool CorrectionOn(const CLexem& lexem)
{
    return lexem.Owner() ? lexem.Owner()->CorrectionOn() : true;
}

}  // namespace formula
