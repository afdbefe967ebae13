#include "formula/env/undo_history.h"

#include <algorithm>

namespace formula {

void CUndoHistory::Push(std::string_view text)
{
    if (std::find(m_undo.begin(), m_undo.end(), text) != m_undo.end()) {
        return;
    }
    m_undo.emplace_back(text);
    m_redo.clear();
}

bool CUndoHistory::Undo(std::optional<std::string>& restore)
{
    if (m_undo.empty()) {
        return false;
    }
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
    restore.reset();
    if (!m_undo.empty()) {
        restore = m_undo.back();
    }
    return true;
}

bool CUndoHistory::Redo(std::optional<std::string>& restore)
{
    if (m_redo.empty()) {
        return false;
    }
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    restore = m_undo.back();
    return true;
}

}  // namespace formula
