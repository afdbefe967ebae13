#include "formula/model/templates/multi_row.h"

#include <algorithm>

#include "formula/model/cursor_path.h"
#include "formula/model/parse_context.h"

namespace formula {

CMultiRowTemplate::CMultiRowTemplate()
    : CMultiRowTemplate(TemplateType::None)
{
}

CMultiRowTemplate::CMultiRowTemplate(TemplateType type)
    : CTemplate(type, TemplateGroup::MultiRow)
{
}

CMultiRowTemplate::~CMultiRowTemplate() = default;

CLineRow* CMultiRowTemplate::GetRow(int index) const
{
    if (index < 0 || index >= GetRowCount()) {
        return nullptr;
    }
    return m_lines[static_cast<std::size_t>(index)].get();
}

int CMultiRowTemplate::IndexOfRow(const CLexem* line) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].get() == line) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CLexemRow* CMultiRowTemplate::CursorRow(int n) const
{
    return GetRow(n - 1);
}

CLineRow* CMultiRowTemplate::AddRow(std::unique_ptr<CLineRow> line, bool atTail)
{
    CLineRow* added = line.get();
    line->SetOwner(m_owner, this);
    if (atTail) {
        m_lines.push_back(std::move(line));
    } else {
        m_lines.insert(m_lines.begin(), std::move(line));
    }
    return added;
}

CLineRow* CMultiRowTemplate::InsertNewRow(CLineRow* at, bool before)
{
    auto line = std::make_unique<CLineRow>();
    line->SetOwner(m_owner, this);
    CLineRow* added = line.get();
    const int index = IndexOfRow(at);
    int where = 0;
    if (index < 0) {
        where = before ? 0 : GetRowCount();
    } else {
        where = before ? index : index + 1;
    }
    m_lines.insert(m_lines.begin() + where, std::move(line));
    return added;
}

void CMultiRowTemplate::InsertRows(std::vector<std::unique_ptr<CLineRow>>&& lines, int afterIndex)
{
    int where = std::clamp(afterIndex + 1, 0, GetRowCount());
    for (auto& line : lines) {
        line->SetOwner(m_owner, this);
        m_lines.insert(m_lines.begin() + where++, std::move(line));
    }
    lines.clear();
}

void CMultiRowTemplate::RemoveRow(CLineRow* line, int& code)
{
    code = remove_code::Done;
    const int index = IndexOfRow(line);
    if (index < 0) {
        code = remove_code::NoPosition;
        return;
    }
    if (GetRowCount() < 2) {
        code = remove_code::TemplateEmptied;
        return;
    }
    m_lines.erase(m_lines.begin() + index);
}

int CMultiRowTemplate::DeleteRow(int index, bool backward)
{
    CLineRow* line = GetRow(index);
    if (!line) {
        return -1;
    }
    if (GetRowCount() < 2) {
        while (!line->IsEmpty()) {
            int code = 0;
            line->CLexemRow::RemoveChild(line->LastPos(), true, code);
        }
        return index;
    }
    m_lines.erase(m_lines.begin() + index);
    if (backward) {
        return index - 1;
    }
    return index < GetRowCount() ? index : -1;
}

void CMultiRowTemplate::DeleteRows(int from, int to)
{
    from = std::max(from, 0);
    to = std::min(to, GetRowCount() - 1);
    if (from > to) {
        return;
    }
    m_lines.erase(m_lines.begin() + from, m_lines.begin() + to + 1);
    if (m_lines.empty()) {
        InsertNewRow(nullptr, false);
    }
}

void CMultiRowTemplate::DetachRows(int from, int to, std::vector<std::unique_ptr<CLineRow>>& out)
{
    from = std::max(from, 0);
    to = std::min(to, GetRowCount() - 1);
    if (from > to) {
        return;
    }
    for (int i = from; i <= to; ++i) {
        out.push_back(std::move(m_lines[static_cast<std::size_t>(i)]));
    }
    m_lines.erase(m_lines.begin() + from, m_lines.begin() + to + 1);
}

void CMultiRowTemplate::Reset()
{
    if (m_lines.empty()) {
        return;
    }
    m_lines.erase(m_lines.begin() + 1, m_lines.end());
    m_lines.front()->RemoveAll();
}

void CMultiRowTemplate::AddLexem(std::unique_ptr<CLexem> lexem, bool newLine)
{
    if (m_lines.empty() || newLine) {
        InsertNewRow(nullptr, false);
    }
    m_lines.back()->AddChild(std::move(lexem));
}

int CMultiRowTemplate::TextLevels(const CLexem&) const
{
    return Type() == TemplateType::System || Type() == TemplateType::Union ? 1 : 0;
}

void CMultiRowTemplate::GetLexemText(std::string& out) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0) {
            out += "@#";
        }
        m_lines[i]->GetLexemText(out);
    }
}

void CMultiRowTemplate::SetSelected(bool selected)
{
    CLexem::SetSelected(selected);
    for (auto& line : m_lines) {
        line->SetSelected(selected);
    }
}

void CMultiRowTemplate::Offset(int dx, int dy)
{
    CLexem::Offset(dx, dy);
    for (auto& line : m_lines) {
        line->Offset(dx, dy);
    }
}

void CMultiRowTemplate::SetOwner(CDisplaySettings* owner, CLexem* parent)
{
    CLexem::SetOwner(owner, parent);
    for (auto& line : m_lines) {
        line->SetOwner(owner, this);
    }
}

int CMultiRowTemplate::WidestRow() const
{
    int widest = 0;
    for (int i = 1; i < GetRowCount(); ++i) {
        if (GetRow(i)->GetBox().width > GetRow(widest)->GetBox().width) {
            widest = i;
        }
    }
    return widest;
}

bool CMultiRowTemplate::EnterRow(CCursorPath& path, int index, Direction dir, Point pt)
{
    CLineRow* line = GetRow(index);
    if (!line) {
        return false;
    }
    const int depth = path.Depth();
    path.SetPos(index + 1);
    if (line->PlaceCursor(path, dir, pt)) {
        return true;
    }
    path.Truncate(depth);
    return false;
}

bool CMultiRowTemplate::PlaceCursor(CCursorPath& path, Direction dir, Point pt)
{
    if (m_lines.empty()) {
        return false;
    }
    path.Push(this);
    path.SetPos(0);
    if ((dir == Direction::Left || dir == Direction::ToPoint) && m_wholeStop) {
        return true;
    }
    if (!EnterRow(path, WidestRow(), dir, pt)) {
        path.SetPos(0);
    }
    return true;
}

// Leaving the last line to the right stops at the template as a whole (where
// the whole-stop flag is set), so the caret never skips the place after it.
bool CMultiRowTemplate::MoveCursor(CCursorPath& path, Direction dir)
{
    const int pos = path.GetPos();
    const int count = GetRowCount();
    if (count == 0 || pos < 0 || pos > count) {
        return false;
    }
    if (pos == 0) {
        switch (dir) {
        case Direction::Left:
            return EnterRow(path, WidestRow(), Direction::Left, {});
        case Direction::Up:
            return EnterRow(path, 0, Direction::Up, {});
        case Direction::Down:
            return EnterRow(path, count - 1, Direction::Down, {});
        case Direction::Right:
        case Direction::ToPoint:
            return false;
        }
        return false;
    }
    const int line = pos - 1;
    switch (dir) {
    case Direction::Left:
        return line > 0 && EnterRow(path, line - 1, Direction::Left, {});
    case Direction::Right:
        if (line + 1 < count) {
            return EnterRow(path, line + 1, Direction::Right, {});
        }
        if (m_wholeStop) {
            path.SetPos(0);
            return true;
        }
        return false;
    case Direction::Up:
        return EnterRow(path, (line + count - 1) % count, Direction::Up, {});
    case Direction::Down:
        return EnterRow(path, (line + 1) % count, Direction::Down, {});
    case Direction::ToPoint:
        return false;
    }
    return false;
}

bool CMultiRowTemplate::HitTest(CCursorPath& path, Point pt)
{
    if (!IsPointInside(pt)) {
        return false;
    }
    for (int n = GetRowCount(); n >= 1; --n) {
        if (HitRow(path, n, pt)) {
            return true;
        }
    }
    return PlaceCursor(path, Direction::ToPoint, pt);
}

void CMultiRowTemplate::Normalize(ParseContext& context)
{
    for (auto& line : m_lines) {
        line->Normalize(context);
        if (context.invalid) {
            return;
        }
    }
}

CSystemTemplate::CSystemTemplate(bool isUnion, bool empty)
    : CSystemTemplate(isUnion ? TemplateType::Union : TemplateType::System)
{
    if (!empty) {
        InsertNewRow(nullptr, false);
        InsertNewRow(nullptr, false);
    }
}

CSystemTemplate::CSystemTemplate(TemplateType type)
    : CMultiRowTemplate(type)
{
}

void CSystemTemplate::GetLexemText(std::string& out) const
{
    out += IsUnion() ? "@union$" : "@system$";
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (i > 0) {
            out += '$';
        }
        m_lines[i]->GetLexemText(out);
    }
    out += '#';
}

CAggregateTemplate::CAggregateTemplate()
    : CSystemTemplate(TemplateType::Aggregate)
{
    m_wholeStop = false;
}

void CAggregateTemplate::GetLexemText(std::string& out) const
{
    CMultiRowTemplate::GetLexemText(out);
}

}  // namespace formula
