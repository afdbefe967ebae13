#pragma once
// Undo and redo of the editor: whole-formula snapshots in lexeme text. The
// tail of the undo list is the newest snapshot, the formula as it stands
// after the last recorded edit; the snapshots before it are the formulas as
// they stood before each recorded edit, newest last. The redo list holds the
// formulas after the undone edits, the next one to redo last.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace formula {

class CUndoHistory {
public:
    // Appends the text unless it equals the newest snapshot (an action that
    // changed nothing is no step of its own); a new snapshot empties the
    // redo list. A text equal to an older snapshot is a new step: undoing it
    // must return to the formula just before it, not to the older one.
    void Push(std::string_view text);
    // Moves the newest snapshot to the redo list; restore receives the
    // snapshot before it, which becomes the newest. False, changing nothing,
    // when there is no snapshot before the newest.
    bool Undo(std::optional<std::string>& restore);
    // Moves the newest redo snapshot back to the undo list; restore receives
    // it. False when there is nothing to redo.
    bool Redo(std::optional<std::string>& restore);
    // Puts a text in place of the newest snapshot (none: nothing happens).
    void ReplaceNewest(std::string_view text);
    bool CanUndo() const { return m_undo.size() > 1; }
    bool CanRedo() const { return !m_redo.empty(); }
    // The newest snapshot; null when there is none.
    const std::string* Newest() const { return m_undo.empty() ? nullptr : &m_undo.back(); }
    const std::vector<std::string>& UndoList() const { return m_undo; }
    const std::vector<std::string>& RedoList() const { return m_redo; }

private:
    std::vector<std::string> m_undo;
    std::vector<std::string> m_redo;
};

}  // namespace formula
