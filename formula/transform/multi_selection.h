#pragma once
// The transformer's multi-selection: several terms of one operation (term
// mode) or several lines of one system or union (line mode), picked with
// Shift and handed to the host as one part.
#include <memory>
#include <string>
#include <vector>

#include "formula/model/lexem.h"

namespace formula {

class Canvas;
class CFormulaEnv;
class CLexemRow;
class COperationNode;
class CSelection;

class CRowMultySel {
public:
    // The holder's mode byte.
    enum class Mode : int { Line = 0, Term = 1 };

    // The text written for an item that has no lexeme.
    static constexpr const char* kNoLexemText = "[pLex==NULL: CRowMultySel::GetAplanText()]";

    explicit CRowMultySel(CFormulaEnv& env);
    ~CRowMultySel();
    CRowMultySel(const CRowMultySel&) = delete;
    CRowMultySel& operator=(const CRowMultySel&) = delete;

    // Adds a node by the rules of the mode (the first node chooses it);
    // false when the node is refused.
    bool Add(COperationNode* node);
    // Forgets every item; with unmark the highlighted lexemes are told.
    void Clear(bool unmark);

    bool Empty() const { return m_items.empty(); }
    int Count() const { return static_cast<int>(m_items.size()); }
    Mode GetMode() const { return m_mode; }
    // The node of an item: a term's operation node, or a line's row root.
    COperationNode* ItemNode(int i) const;
    // The first item took the '-' that opens its operation.
    bool TookLeadingMinus() const { return m_leadingMinus; }

    // Line mode: "System(" or "Union(" with the lines joined by " &! ";
    // term mode: each item in brackets, joined by the operation's sign.
    std::string GetAplanText() const;
    // Term mode: the items with the operation's sign between them (none
    // before an item that begins with '-'); line mode: lines joined by "@#".
    std::string GetLexemText() const;
    // The first item is replaced by the lexemes, every other item and its
    // sign deleted; the multi-selection is emptied. False when empty.
    bool Replace(LexemList&& list);
    // The row that Replace puts the lexemes in: the first item's line, or
    // the row of its run; null when empty.
    const CLexemRow* ReplacedRow() const;

    void DrawBackground(Canvas& canvas) const;

private:
    struct Item;
    bool AddTerm(COperationNode* node);
    bool AddLine(COperationNode* node);
    // The item's lexemes (its '-' sign taken in) as lexeme text.
    std::string ItemLexemText(const Item& item) const;

    CFormulaEnv& m_env;
    Mode m_mode = Mode::Term;
    std::vector<std::unique_ptr<Item>> m_items;
    bool m_leadingMinus = false;
};

}  // namespace formula
