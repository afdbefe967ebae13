#pragma once
// The cursor: a path of (lexeme, position) entries from the formula root down
// to the place where the caret stands. The caret stands right after the top
// entry's lexeme (a leaf, a row head for the start of a row, or a template
// with position 0). Rows keep a list position in their entry, templates the
// number of the row the cursor is in (0: the template as a whole). Entries are
// written by the lexemes' PlaceCursor and MoveCursor; the path grows as deep
// as the tree. Entries are numbered from 1 (0: none).
#include <vector>

#include "formula/model/lexem.h"

namespace formula {

struct CursorEntry {
    CLexem* lexem = nullptr;
    int pos = 0;
};

class CCursorPath {
public:
    void Push(CLexem* lexem);
    void Pop();
    // Position of the top entry.
    void SetPos(int pos);
    int GetPos() const;
    void Reset();
    // Pops until the lexeme is on top or the path is empty.
    void PopTo(const CLexem* lexem);
    // Drops the entries above a depth.
    void Truncate(int depth);

    int Depth() const { return static_cast<int>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }
    const CursorEntry& Entry(int index) const { return m_entries[static_cast<std::size_t>(index - 1)]; }
    CLexem* Top() const { return m_entries.empty() ? nullptr : m_entries.back().lexem; }
    CLexem* Root() const { return m_root; }

    // From the top down, the first entry whose lexeme is a row; 0 when none.
    int NearestRow() const;
    // The same, skipping number rows; entry 1 when there is none.
    int NearestNonNumberRow() const;

    // Empties the path and places the caret at the start (atStart) or the end
    // of the formula.
    void Start(CLexem* root, bool atStart);
    // One step in a direction. True when the top entry handled it; past the
    // start or the end of the formula the caret stays at that edge.
    bool Move(Direction dir);
    bool MoveLeft() { return Move(Direction::Left); }
    bool MoveRight() { return Move(Direction::Right); }
    bool MoveUp() { return Move(Direction::Up); }
    bool MoveDown() { return Move(Direction::Down); }

private:
    std::vector<CursorEntry> m_entries;
    CLexem* m_root = nullptr;
};

}  // namespace formula
