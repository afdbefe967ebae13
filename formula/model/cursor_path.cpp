#include "formula/model/cursor_path.h"

#include <cassert>

#include "formula/model/numbers.h"

namespace formula {

void CCursorPath::Push(CLexem* lexem)
{
    m_entries.push_back({lexem, 0});
}

void CCursorPath::Pop()
{
    if (!m_entries.empty()) {
        m_entries.pop_back();
    }
}

void CCursorPath::SetPos(int pos)
{
    assert(!m_entries.empty());
    if (!m_entries.empty()) {
        m_entries.back().pos = pos;
    }
}

int CCursorPath::GetPos() const
{
    return m_entries.empty() ? 0 : m_entries.back().pos;
}

void CCursorPath::Reset()
{
    m_entries.clear();
}

void CCursorPath::PopTo(const CLexem* lexem)
{
    while (!m_entries.empty() && m_entries.back().lexem != lexem) {
        m_entries.pop_back();
    }
}

void CCursorPath::Truncate(int depth)
{
    if (depth >= 0 && depth < Depth()) {
        m_entries.resize(static_cast<std::size_t>(depth));
    }
}

int CCursorPath::NearestRow() const
{
    for (int i = Depth(); i >= 1; --i) {
        if (Entry(i).lexem->IsRow()) {
            return i;
        }
    }
    return 0;
}

int CCursorPath::NearestNonNumberRow() const
{
    for (int i = Depth(); i >= 1; --i) {
        const CLexem* lexem = Entry(i).lexem;
        if (lexem->IsRow() && !IsNumberRow(*lexem)) {
            return i;
        }
    }
    return IsEmpty() ? 0 : 1;
}

void CCursorPath::Start(CLexem* root, bool atStart)
{
    m_entries.clear();
    m_root = root;
    if (root) {
        root->PlaceCursor(*this, atStart ? Direction::Right : Direction::Left, {});
    }
}

bool CCursorPath::Move(Direction dir)
{
    if (m_entries.empty()) {
        return m_root && m_root->PlaceCursor(*this, dir, {});
    }
    bool first = true;
    while (!m_entries.empty()) {
        if (m_entries.back().lexem->MoveCursor(*this, dir)) {
            return first;
        }
        first = false;
        m_entries.pop_back();
    }
    // Past an edge of the formula: left stays at the start, the rest at the end.
    if (m_root) {
        m_root->PlaceCursor(*this, dir == Direction::Left ? Direction::Right : Direction::Left, {});
    }
    return false;
}

}  // namespace formula
