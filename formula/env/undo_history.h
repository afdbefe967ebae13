#pragma once
// Undo and redo of the editor: whole-formula snapshots in lexeme text. The
// tail of the undo list is the newest snapshot; a snapshot equal to one that
// the undo list already holds anywhere is not taken again, so going back to
// an earlier state adds nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace formula {

class CUndoHistory {
public:
    // Appends the text unless the undo list holds an equal one; a new
    // snapshot empties the redo list.
    void Push(std::string_view text);
    // Moves the newest snapshot to the redo list; restore receives the
    // snapshot the formula goes back to when one remains (else it stays
    // empty). False when there is nothing to undo.
    bool Undo(std::optional<std::string>& restore);
    // Moves the newest redo snapshot back to the undo list; restore receives
    // it. False when there is nothing to redo.
    bool Redo(std::optional<std::string>& restore);
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    const std::vector<std::string>& UndoList() const { return m_undo; }
    const std::vector<std::string>& RedoList() const { return m_redo; }

private:
    std::vector<std::string> m_undo;
    std::vector<std::string> m_redo;
};

}  // namespace formula
