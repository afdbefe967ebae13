#include "formula/env/undo_history.h"

namespace formula {

void CUndoHistory::Push(std::string_view text)
{
    if (!m_undo.empty() && m_undo.back() == text) {
        return;
    }
    m_undo.emplace_back(text);
    m_redo.clear();
}

bool CUndoHistory::Undo(std::optional<std::string>& restore)
{
    restore.reset();
    if (!CanUndo()) {
        return false;
    }
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
    restore = m_undo.back();
    return true;
}

void CUndoHistory::ReplaceNewest(std::string_view text)
{
    if (!m_undo.empty()) {
        m_undo.back() = text;
    }
}

bool CUndoHistory::Redo(std::optional<std::string>& restore)
{
    restore.reset();
    if (m_redo.empty()) {
        return false;
    }
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
    restore = m_undo.back();
    return true;
}

}  // namespace formula
