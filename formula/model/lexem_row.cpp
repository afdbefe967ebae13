#include "formula/model/lexem_row.h"

#include <cassert>

#include "formula/model/chars.h"
#include "formula/model/cursor_path.h"
#include "formula/model/templates/template.h"
#include "formula/notation/lexem_parser.h"

namespace formula {

CLexemRow::CLexemRow()
    : CLexemRow(TemplateType::None, false)
{
}

CLexemRow::CLexemRow(TemplateType type, bool withHead)
    : CLexem(LexemKind::Row, type)
{
    if (withHead) {
        auto head = std::make_unique<CRowHead>();
        head->SetOwner(nullptr, this);
        m_children.push_back(std::move(head));
    }
}

CLexemRow::~CLexemRow() = default;

CLexem* CLexemRow::Child(int pos) const
{
    return ValidPos(pos) ? m_children[static_cast<std::size_t>(pos)].get() : nullptr;
}

bool CLexemRow::HasHead() const
{
    return !m_children.empty() && m_children.front()->Kind() == LexemKind::RowHead;
}

CRowHead* CLexemRow::Head() const
{
    return HasHead() ? static_cast<CRowHead*>(m_children.front().get()) : nullptr;
}

int CLexemRow::IndexOf(const CLexem* child) const
{
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].get() == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CLexemRow::Adopt(CLexem& lexem)
{
    lexem.SetOwner(m_owner, this);
}

void CLexemRow::SetSelected(bool selected)
{
    CLexem::SetSelected(selected);
    for (auto& child : m_children) {
        child->SetSelected(selected);
    }
}

void CLexemRow::GetLexemText(std::string& out) const
{
    for (const auto& child : m_children) {
        child->GetLexemText(out);
    }
}

void CLexemRow::Offset(int dx, int dy)
{
    CLexem::Offset(dx, dy);
    for (auto& child : m_children) {
        child->Offset(dx, dy);
    }
}

void CLexemRow::SetOwner(CDisplaySettings* owner, CLexem* parent)
{
    CLexem::SetOwner(owner, parent);
    for (auto& child : m_children) {
        child->SetOwner(owner, this);
    }
}

bool CLexemRow::PlaceCursor(CCursorPath& path, Direction dir, Point pt)
{
    if (m_children.empty()) {
        return false;
    }
    path.Push(this);
    const int depth = path.Depth();
    int pos = 0;
    switch (dir) {
    case Direction::Left:
    case Direction::Up:
    case Direction::Down:
    case Direction::ToPoint:
        pos = LastPos();
        break;
    case Direction::Right:
        if (HasHead() && Count() > 1 && !m_headIsStop) {
            pos = 1;
        } else {
            pos = 0;
        }
        break;
    }
    path.SetPos(pos);
    if (!m_children[static_cast<std::size_t>(pos)]->PlaceCursor(path, dir, pt)) {
        // The element holds no caret of its own: the caret stands after it.
        path.Truncate(depth);
    }
    return true;
}

bool CLexemRow::MoveCursor(CCursorPath& path, Direction dir)
{
    if (m_children.empty()) {
        return false;
    }
    const int pos = path.GetPos();
    int next = -1;
    switch (dir) {
    case Direction::Left:
        next = pos - 1;
        if (next == 0 && HasHead() && !m_headIsStop) {
            next = -1;
        }
        break;
    case Direction::Right:
        next = pos + 1;
        break;
    case Direction::Up:
    case Direction::Down:
    case Direction::ToPoint:
        return false;
    }
    if (!ValidPos(next)) {
        return false;
    }
    path.SetPos(next);
    const int depth = path.Depth();
    if (!m_children[static_cast<std::size_t>(next)]->PlaceCursor(path, dir, {})) {
        path.Truncate(depth);
    }
    return true;
}

bool CLexemRow::HitTest(CCursorPath& path, Point pt)
{
    if (!IsPointInside(pt)) {
        return false;
    }
    for (int pos = LastPos(); pos >= 0; --pos) {
        CLexem* child = Child(pos);
        if (!child->IsPointInside(pt)) {
            continue;
        }
        path.Push(this);
        path.SetPos(pos);
        const int depth = path.Depth();
        if (!child->HitTest(path, pt)) {
            path.Truncate(depth);
            if (!child->PlaceCursor(path, Direction::ToPoint, pt)) {
                path.Truncate(depth);
            }
        }
        return true;
    }
    return false;
}

int FlatWeight(const CLexem& child)
{
    if (const CLexemRow* row = AsRow(&child)) {
        int weight = 0;
        for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
            weight += FlatWeight(*row->Child(pos));
        }
        return weight;
    }
    return child.Kind() == LexemKind::RowHead ? 0 : 1;
}

int CLexemRow::GetPosIndex(int pos) const
{
    if (!ValidPos(pos)) {
        return -1;
    }
    int index = 0;
    for (int i = 0; i <= pos; ++i) {
        index += FlatWeight(*m_children[static_cast<std::size_t>(i)]);
    }
    return index;
}

bool CLexemRow::SetCursorIndex(CCursorPath& path, int index)
{
    if (index < 0) {
        return false;
    }
    if (index == 0) {
        if (!HasHead()) {
            return false;
        }
        path.Push(this);
        path.SetPos(0);
        m_children.front()->PlaceCursor(path, Direction::Left, {});
        return true;
    }
    int reached = 0;
    for (int pos = FirstPos(); pos < Count(); ++pos) {
        CLexem* child = Child(pos);
        const int weight = FlatWeight(*child);
        if (index > reached + weight) {
            reached += weight;
            continue;
        }
        path.Push(this);
        path.SetPos(pos);
        const int depth = path.Depth();
        CLexemRow* nested = AsRow(child);
        if (nested && nested->SetCursorIndex(path, index - reached)) {
            return true;
        }
        path.Truncate(depth);
        if (!child->PlaceCursor(path, Direction::Left, {})) {
            path.Truncate(depth);
        }
        return true;
    }
    return false;
}

void CLexemRow::MoveChildrenTo(CLexemRow& other)
{
    other.m_children = std::move(m_children);
    m_children.clear();
    for (auto& child : other.m_children) {
        other.Adopt(*child);
    }
}

RowPos CLexemRow::InsertText(int pos, std::string_view text)
{
    CLexemParser parser;
    return PasteLexems(parser.Parse(text), pos);
}

int CLexemRow::InsertAfter(int pos, std::unique_ptr<CLexem> lexem)
{
    assert(lexem);
    if (!lexem || pos < -1 || pos >= Count()) {
        return -1;
    }
    Adopt(*lexem);
    const int at = pos + 1;
    m_children.insert(m_children.begin() + at, std::move(lexem));
    return at;
}

void CLexemRow::AddChild(std::unique_ptr<CLexem> lexem, bool atTail)
{
    assert(lexem);
    if (!lexem) {
        return;
    }
    Adopt(*lexem);
    if (atTail) {
        m_children.push_back(std::move(lexem));
    } else {
        m_children.insert(m_children.begin() + FirstPos(), std::move(lexem));
    }
}

int CLexemRow::RemoveChild(int pos, bool backward, int& code)
{
    code = remove_code::Done;
    if (!ValidPos(pos)) {
        code = remove_code::NoPosition;
        return -1;
    }
    if (pos == 0 && HasHead()) {
        code = remove_code::AtHead;
        return pos;
    }
    m_children.erase(m_children.begin() + pos);
    if (backward) {
        return pos - 1;
    }
    return ValidPos(pos) ? pos : -1;
}

bool CLexemRow::IsCompound() const
{
    if (ElementCount() > 1) {
        return true;
    }
    if (ElementCount() == 1) {
        const CLexem* only = Child(FirstPos());
        return only->IsTemplate() && static_cast<const CTemplate*>(only)->Group() == TemplateGroup::Index;
    }
    return false;
}

bool CLexemRow::ReplaceChild(int pos, std::unique_ptr<CLexem> lexem)
{
    if (!lexem || !ValidPos(pos) || (pos == 0 && HasHead())) {
        return false;
    }
    Adopt(*lexem);
    m_children[static_cast<std::size_t>(pos)] = std::move(lexem);
    return true;
}

CRowHead* CLexemRow::RemoveAll()
{
    m_children.erase(m_children.begin() + FirstPos(), m_children.end());
    return Head();
}

CRowHead::CRowHead()
    : CLexem(LexemKind::RowHead, TemplateType::None)
{
}

bool CRowHead::RowIsEmpty() const
{
    const CLexemRow* row = AsRow(m_parent);
    return row && row->Count() < 2;
}

void CRowHead::GetLexemText(std::string&) const {}

CArgRow::CArgRow()
    : CLexemRow(TemplateType::None, true)
{
    m_headIsStop = true;
}

CLineRow::CLineRow() = default;

int CLineRow::RemoveChild(int pos, bool backward, int& code)
{
    const int result = CLexemRow::RemoveChild(pos, backward, code);
    if (code == remove_code::Done && IsEmpty() && Parent() && Parent()->IsMultiRow()) {
        code = remove_code::LineEmptied;
    }
    return result;
}

CIndexRow::CIndexRow() = default;

CBodyRow::CBodyRow() = default;

bool CBodyRow::IsCompound() const
{
    const int count = ElementCount();
    if (count == 1) {
        const CLexem* only = Child(FirstPos());
        return only->IsTemplate() && static_cast<const CTemplate*>(only)->Group() != TemplateGroup::Brackets;
    }
    if (count > 1) {
        const CBracketChar* open = AsBracketChar(Child(FirstPos()));
        const CBracketChar* close = AsBracketChar(Child(LastPos()));
        const bool wrapped = open && close && open->GetBracketKind() == BracketKind::Round &&
                             open->GetSide() == BracketSide::Opening && MatchBracket(FirstPos()) == LastPos();
        return !wrapped;
    }
    return false;
}

}  // namespace formula
