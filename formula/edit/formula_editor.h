#pragma once
// The editor: the cursor path of editor mode with the caret, typing,
// deletion and line breaks. The caret stands right after the path's top
// entry; every edit works on a place (edit_point.h) and builds the path
// again from the place it leaves, so no entry points at a lexeme that an
// edit destroyed.
#include <optional>

#include "formula/edit/edit_point.h"
#include "formula/layout/canvas.h"
#include "formula/model/cursor_path.h"

namespace formula {

class CFormulaEnv;

class CFormulaEditor : public CCursorPath {
public:
    explicit CFormulaEditor(CFormulaEnv& env);

    bool Overwrite() const { return m_overwrite; }
    void ToggleOverwrite() { m_overwrite = !m_overwrite; }
    bool CaretVisible() const { return m_caretVisible; }
    void ShowCaret() { m_caretVisible = true; }
    void HideCaret() { m_caretVisible = false; }
    // The caret in the laid-out formula: 2 pixels wide, as high as the
    // lexeme it follows, at its right edge; in an empty row 3 pixels inside
    // the placeholder and 6 pixels shorter. None while hidden.
    std::optional<Rect> CaretRect() const;

    // Caret at the end or the start of the formula.
    void ToEnd();
    void ToStart();
    EditPoint Point() const { return PointOf(*this); }
    void PlaceAt(const EditPoint& point);
    // Caret into the element at a row position, arriving from the left.
    void EnterAt(CLexemRow& row, int pos);

    // A typed character that the environment accepted: shortcuts insert
    // templates, any other character goes in at the caret and the run
    // around it is read again. As a pupil types: "^" and "/" right after an
    // operand make it the base or the numerator, "=" right after "<" or ">"
    // makes one sign, "." in a number is the decimal comma, and an operand
    // typed right after a number, a letter or a closing bracket gets the
    // product sign before it. True when something was inserted.
    bool OnChar(char ch);
    // Delete (forward) and Backspace: a selection is deleted; an element
    // next to the caret is removed, a template selected first; at a line's
    // edge the neighbouring line is joined. True when the formula changed.
    bool Delete(bool forward);
    bool Backspace() { return Delete(false); }
    // Enter: the current line is split at the caret; the caret goes to the
    // start of the new line.
    bool SplitLine();
    // Deletes the selection's run; the caret where it began.
    bool DeleteSelection();

private:
    CLexem& Root() const;
    // The pupil's typing (typing.cpp). "^" or "/": the operand before the
    // caret (for "/" the product before it) goes into a new power's base or
    // a new fraction's numerator and the caret into the index or the
    // denominator; false, changing nothing, without an operand there.
    bool TakeOperand(char shortcut);
    // "=" right after "<" or ">": the sign becomes less or equal or greater
    // or equal; false when neither stands before the caret.
    bool JoinRelation();
    // Whether a template typed at the caret goes after a product sign.
    bool ProductSignBeforeTemplate();
    // A character typed into a row that is not a digit row.
    bool TypeIntoRun(CLexemRow& row, int flat, char ch);
    bool JoinLines(CLexemRow& row, bool forward);
    // A line of a multi-row template that a removal left empty goes, as
    // the lines' own removal rule has it; then the caret is placed.
    void AfterRemoval(CLexemRow& row, int flat);

    CFormulaEnv& m_env;
    bool m_overwrite = false;
    bool m_caretVisible = true;
};

}  // namespace formula
