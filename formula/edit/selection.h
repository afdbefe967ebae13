#pragma once
// The selection: a run of elements in one row (positions first..last), or a
// run of lines of one multi-row template, or nothing. Selected lexemes are
// marked (CLexem::SetSelected) and drawn in the selection colour; the editor
// deletes and replaces the run, the transformer highlights operation nodes
// with it.
#include <string>
#include <string_view>

#include "formula/edit/edit_point.h"
#include "formula/model/lexem.h"

namespace formula {

class Canvas;
class CCursorPath;
class CFormulaEnv;
class CMultiRowTemplate;
class COperationNode;

// What deleting a selection left: the place where a row run began, or the
// template whose lines were removed.
struct SelectionRemoval {
    EditPoint point;
    CMultiRowTemplate* lines = nullptr;
};

class CSelection {
public:
    explicit CSelection(CFormulaEnv* env = nullptr);

    // Forgets the run; with unmark the selected lexemes are told first. A
    // formula that was replaced is cleared without unmarking (its lexemes
    // are gone).
    void Clear(bool unmark);
    bool IsEmpty() const { return !m_row && !m_lines; }
    bool HasRowRun() const { return m_row != nullptr; }
    bool HasLineRun() const { return m_lines != nullptr; }
    CLexemRow* Row() const { return m_row; }
    CMultiRowTemplate* Lines() const { return m_lines; }
    int First() const { return m_first; }
    int Last() const { return m_last; }

    // The children first..last of a row (both included, head never), marked.
    void SelectRange(CLexemRow& row, int first, int last);
    // Lines first..last of a multi-row template (indexes from 0), marked.
    void SelectLines(CMultiRowTemplate& lines, int first, int last);
    // The lexemes an operation node covers; nothing for a node that covers
    // none or lexemes of different rows.
    void SelectNode(const COperationNode& node);
    // The run between two cursor paths (a press and the current place): at
    // their deepest common entry, the elements of a row between the two
    // positions, or the lines of a multi-row template between them; else
    // nothing. False when nothing is selected.
    bool Extend(const CCursorPath& from, const CCursorPath& to);

    // Elements or lines selected.
    int Count() const;
    // A row run: its elements' texts; a line run: the lines joined by "@#".
    std::string GetLexemText() const;
    // A row run with its signs folded; a line run: each line as "(" line ")",
    // joined by ",". *incomplete tells whether a part had no full form.
    std::string GetAplanText(bool* incomplete = nullptr) const;

    // Removes the run's elements (an emptied number goes too) or lines, and
    // empties the selection.
    SelectionRemoval Delete();
    // Deletes the run and inserts the list in its place (line breaks make
    // new lines). The place after the last inserted lexeme (row null when it
    // could not be told).
    RowPos Replace(LexemList&& list);
    // Parse first (throw CMEException), then Replace.
    RowPos ReplaceByLexemText(std::string_view text);
    RowPos ReplaceByAplanText(std::string_view aplan);

    // A pale band behind the run, drawn before the formula (laid out).
    void DrawBackground(Canvas& canvas) const;

private:
    void Mark(bool on);
    void MarkStale();

    CFormulaEnv* m_env;
    CLexemRow* m_row = nullptr;
    CMultiRowTemplate* m_lines = nullptr;
    int m_first = 0;
    int m_last = -1;
};

}  // namespace formula
