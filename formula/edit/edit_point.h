#pragma once
// Places in the formula as the editor sees them. A place is a row and a flat
// index in it: the number of items before the caret, where every element
// counts one and a number counts its characters (the caret may stand between
// the digits of a number, but the number belongs to the row around it).
// Typing works on runs: the plain characters, bracket characters and numbers
// around the caret are written as text, changed, and read back, so digits
// typed one by one become one number and a sign typed inside a number splits
// it. Structural edits keep the flat index, and the cursor path is built
// again from it (CLexemRow::SetCursorIndex), never kept across a change.
#include <string>
#include <string_view>

#include "formula/model/lexem.h"
#include "formula/model/lexem_row.h"

namespace formula {

class CCursorPath;

struct EditPoint {
    CLexemRow* row = nullptr;
    int flat = 0;
};

// A number without a head (integer, decimal, periodic decimal): it lives in
// a row like a character and the caret inside it belongs to that row.
bool IsInlineNumber(const CLexem& lexem);
// A digit row with a head (the parts of a mixed number, a lower index): it
// takes digits one by one.
bool IsDigitRow(const CLexem& lexem);
// An element that typing regroups: a plain or bracket character, or an
// inline number.
bool IsRunElement(const CLexem& lexem);

// Items of the children before a position.
int FlatBefore(const CLexemRow& row, int pos);
int FlatLength(const CLexemRow& row);

// The child holding the n-th item (from 1) and the items before that child;
// pos -1 when there is none.
struct FlatItem {
    int pos = -1;
    int before = 0;
};
FlatItem ItemAt(const CLexemRow& row, int n);

// The run of run elements around a flat index: children first..last and
// their text. An empty run (last < first) marks where lexemes go in: after
// position first - 1.
struct Run {
    int first = 0;
    int last = -1;
    int flatStart = 0;
    std::string text;
    bool Empty() const { return last < first; }
};
Run FindRun(const CLexemRow& row, int flat);

// Reads the text into lexemes (no line breaks) and puts them in place of the
// run; false (the row unchanged) when the text cannot be read.
bool ReplaceRun(CLexemRow& row, const Run& run, std::string_view text);
// Reads the run around a flat index again: adjacent digits become one
// number. The flat index stays valid.
void Regroup(CLexemRow& row, int flat);
// Splits the run at a flat index (a number is cut in two) and inserts the
// list there; line breaks in the list split the line. The place right after
// the last inserted lexeme (row null when nothing could go in).
RowPos InsertListAt(CLexemRow& row, int flat, LexemList&& list);
// Whether the lexemes, put into the row, keep the formula's text within the
// nesting the lexeme reader accepts; extraLevels counts templates that will
// wrap them (bracket characters around them that pair into brackets).
bool FitsTextDepth(const CLexemRow& row, const LexemList& list, int extraLevels = 0);

// The place of the caret of a path; row null for an empty path.
EditPoint PointOf(const CCursorPath& path);
// The place right after a row position.
EditPoint PointAfter(CLexemRow& row, int pos);
// Builds the path from the root down to the place; false (the path put at
// the end of the formula) when the row cannot be reached from the root.
bool PlacePath(CCursorPath& path, CLexem& root, const EditPoint& point);
// Builds the path to a row position and lets the element there take the
// cursor arriving from the left (a template enters its first row); the
// caret stays after the element when it takes none.
bool EnterElement(CCursorPath& path, CLexem& root, CLexemRow& row, int pos);

}  // namespace formula
