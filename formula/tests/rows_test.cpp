// Rows and numbers: heads, compound rows, list operations, removal codes and
// the removal of emptied numbers, lines and multi-row templates.
#include <gtest/gtest.h>

#include "formula/model/chars.h"
#include "formula/model/cursor_path.h"
#include "formula/model/errors.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/all.h"
#include "formula/notation/lexem_parser.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

using test::Describe;
using test::DescribeRoot;
using test::Read;

// An argument row filled from lexeme text.
template <class Row = CArgRow>
std::unique_ptr<Row> RowOf(std::string_view text)
{
    auto row = std::make_unique<Row>();
    row->InsertLexems(CLexemParser().Parse(text));
    return row;
}

TEST(Rows, HeadMarksAnEmptyRow)
{
    CArgRow row;
    ASSERT_TRUE(row.HasHead());
    EXPECT_EQ(row.Count(), 1);
    EXPECT_TRUE(row.IsEmpty());
    EXPECT_TRUE(row.Head()->RowIsEmpty());
    EXPECT_EQ(row.LexemText(), "");
    row.AddChild(MakeCharLexem('x'));
    EXPECT_FALSE(row.Head()->RowIsEmpty());
    EXPECT_EQ(row.Child(1)->Parent(), &row);
    EXPECT_EQ(row.RemoveAll(), row.Head());
    EXPECT_TRUE(row.Head()->RowIsEmpty());

    CLexemRow plain;
    EXPECT_FALSE(plain.HasHead());
    EXPECT_TRUE(plain.IsEmpty());
    EXPECT_EQ(plain.Head(), nullptr);
}

TEST(Rows, Compound)
{
    EXPECT_TRUE(RowOf("x+1")->IsCompound());
    EXPECT_TRUE(RowOf("@index_up$x$2#")->IsCompound());
    EXPECT_FALSE(RowOf("x")->IsCompound());
    EXPECT_FALSE(RowOf("@hor_frac$1$2#")->IsCompound());
    EXPECT_FALSE(RowOf("")->IsCompound());

    EXPECT_TRUE(RowOf<CBodyRow>("x+1")->IsCompound());
    EXPECT_FALSE(RowOf<CBodyRow>("(x+1)")->IsCompound());
    EXPECT_TRUE(RowOf<CBodyRow>("(a)(b)")->IsCompound());
    EXPECT_TRUE(RowOf<CBodyRow>("@hor_frac$1$2#")->IsCompound());
    EXPECT_TRUE(RowOf<CBodyRow>("@index_up$x$2#")->IsCompound());
    EXPECT_FALSE(RowOf<CBodyRow>("@br_row_round$x+1#")->IsCompound());
    EXPECT_FALSE(RowOf<CBodyRow>("x")->IsCompound());
    EXPECT_FALSE(RowOf<CBodyRow>("")->IsCompound());
}

TEST(Rows, InsertRemoveAndReplace)
{
    auto row = RowOf("ab");
    EXPECT_EQ(row->InsertAfter(0, MakeCharLexem('x')), 1);
    EXPECT_EQ(row->LexemText(), "xab");
    EXPECT_EQ(row->InsertAfter(3, MakeCharLexem('y')), 4);
    EXPECT_EQ(row->InsertAfter(9, MakeCharLexem('z')), -1);
    EXPECT_EQ(row->LexemText(), "xaby");
    row->AddChild(MakeCharLexem('s'), false);
    EXPECT_EQ(row->LexemText(), "sxaby");

    int code = -1;
    EXPECT_EQ(row->RemoveChild(2, true, code), 1);
    EXPECT_EQ(code, remove_code::Done);
    EXPECT_EQ(row->RemoveChild(2, false, code), 2);
    EXPECT_EQ(row->LexemText(), "sby");
    EXPECT_EQ(row->RemoveChild(3, false, code), -1);
    EXPECT_EQ(row->RemoveChild(0, false, code), 0);
    EXPECT_EQ(code, remove_code::AtHead);
    EXPECT_EQ(row->RemoveChild(7, false, code), -1);
    EXPECT_EQ(code, remove_code::NoPosition);
    EXPECT_EQ(row->LexemText(), "sb");

    EXPECT_TRUE(row->ReplaceChild(1, MakeCharLexem('t')));
    EXPECT_FALSE(row->ReplaceChild(0, MakeCharLexem('t')));
    EXPECT_EQ(row->LexemText(), "tb");
}

TEST(Rows, DetachAndRange)
{
    auto row = RowOf("abcde");
    EXPECT_EQ(row->GetRange(0, 2).size(), 2u);
    EXPECT_EQ(row->GetRange(2, 4).size(), 3u);

    LexemList list;
    row->DetachRange(2, 4, true, list);
    EXPECT_EQ(row->LexemText(), "ae");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(Describe(*list[0]), "b");

    auto other = RowOf("abcde");
    LexemList head;
    other->DetachHead(3, head);
    EXPECT_EQ(head.size(), 2u);
    EXPECT_EQ(other->LexemText(), "cde");
    LexemList tail;
    other->DetachTail(2, tail);
    EXPECT_EQ(other->LexemText(), "c");
    EXPECT_EQ(tail.size(), 2u);
    LexemList all;
    other->DetachAll(all);
    EXPECT_TRUE(other->IsEmpty());
    EXPECT_TRUE(other->HasHead());
}

TEST(Rows, MoveChildrenTo)
{
    auto from = RowOf("xy");
    auto to = RowOf("abc");
    from->MoveChildrenTo(*to);
    EXPECT_EQ(to->LexemText(), "xy");
    EXPECT_TRUE(to->HasHead());
    EXPECT_EQ(to->Child(1)->Parent(), to.get());
    EXPECT_EQ(from->Count(), 0);
}

TEST(Rows, InsertLexemsStartsNewLinesAtBreaks)
{
    auto root = Read("a@#b@#@#c");
    EXPECT_EQ(root->GetRowCount(), 4);
    EXPECT_EQ(DescribeRoot(*root), "a / b /  / c");

    // Outside a multi-row template a break has no line to start: dropped.
    CArgRow row;
    row.InsertLexems(CLexemParser().Parse("a@#b"));
    EXPECT_EQ(row.LexemText(), "ab");
}

TEST(Rows, PasteSplitsTheLineAtBreaks)
{
    auto root = Read("ad");
    CLineRow* line = root->GetRow(0);
    const RowPos caret = line->PasteLexems(CLexemParser().Parse("b@#c@#e"), 1);
    EXPECT_EQ(root->LexemText(), "ab@#c@#ed");
    ASSERT_EQ(root->GetRowCount(), 3);
    EXPECT_EQ(caret.row, root->GetRow(2));
    EXPECT_EQ(caret.pos, 1);

    auto plain = Read("xy");
    const RowPos at = plain->GetRow(0)->InsertText(1, "1+2");
    EXPECT_EQ(plain->LexemText(), "x1+2y");
    EXPECT_EQ(at.pos, 4);
    EXPECT_THROW(plain->GetRow(0)->InsertText(1, "a@foo$b#"), CMEException);
    EXPECT_EQ(plain->LexemText(), "x1+2y");
}

TEST(Rows, PasteIntoADigitRowSkipsWhatItRefuses)
{
    // The letter is refused; the digits after it still go after the head.
    CNumPartRow row;
    ASSERT_TRUE(row.HasHead());
    LexemList list;
    for (const char c : {'1', 'a', '2'})
        list.push_back(std::make_unique<CCharLexem>(c));
    const RowPos caret = row.PasteLexems(std::move(list), 0);
    EXPECT_EQ(row.Child(0)->Kind(), LexemKind::RowHead);
    EXPECT_EQ(row.LexemText(), "12");
    EXPECT_EQ(caret.pos, 2);
}

TEST(Rows, EmptiedNumberIsRemovedAfterTheCall)
{
    auto root = Read("x+7");
    CLineRow* line = root->GetRow(0);
    auto* number = static_cast<CRealNum*>(line->Child(3));
    int code = 0;
    EXPECT_EQ(number->RemoveChild(0, true, code), -1);
    EXPECT_EQ(code, remove_code::NumberEmptied);
    EXPECT_EQ(line->Count(), 4);  // still in place
    const RowPos where = CLexemRow::RemoveEmptied(number, code);
    EXPECT_EQ(where.row, line);
    EXPECT_EQ(where.pos, 2);
    EXPECT_EQ(root->LexemText(), "x+");
}

TEST(Rows, EmptiedLinesAndTemplatesAreRemovedUpward)
{
    auto root = Read("@system$x$7#");
    auto* system = static_cast<CSystemTemplate*>(root->GetRow(0)->Child(1));
    int code = 0;
    system->GetRow(1)->RemoveChild(1, true, code);
    EXPECT_EQ(code, remove_code::LineEmptied);
    EXPECT_EQ(system->GetRowCount(), 2);
    CLexemRow::RemoveEmptied(system->GetRow(1), code);
    EXPECT_EQ(root->LexemText(), "@system$x#");

    system->GetRow(0)->RemoveChild(1, true, code);
    EXPECT_EQ(code, remove_code::LineEmptied);
    const RowPos where = CLexemRow::RemoveEmptied(system->GetRow(0), code);
    EXPECT_EQ(root->LexemText(), "");
    EXPECT_EQ(where.row, root->GetRow(0));
    EXPECT_EQ(where.pos, 0);
    // The root keeps its one line.
    EXPECT_EQ(root->GetRowCount(), 1);

    // A number emptied in the only line of a system takes the system along.
    auto nested = Read("a+@system$5#");
    auto* inner = static_cast<CSystemTemplate*>(nested->GetRow(0)->Child(3));
    auto* number = static_cast<CRealNum*>(inner->GetRow(0)->Child(1));
    number->RemoveChild(0, true, code);
    CLexemRow::RemoveEmptied(number, code);
    EXPECT_EQ(nested->LexemText(), "a+");

    // A line removed while others remain.
    auto lines = Read("a@#b@#c");
    lines->GetRow(1)->RemoveChild(1, true, code);
    const RowPos after = CLexemRow::RemoveEmptied(lines->GetRow(1), code);
    EXPECT_EQ(lines->LexemText(), "a@#c");
    EXPECT_EQ(after.row, lines->GetRow(0));
}

TEST(Rows, LineRemovalCodes)
{
    auto root = Read("@system$ab$c#");
    auto* system = static_cast<CSystemTemplate*>(root->GetRow(0)->Child(1));
    int code = 0;
    system->GetRow(0)->RemoveChild(0, true, code);
    EXPECT_EQ(code, remove_code::AtHead);
    system->GetRow(0)->RemoveChild(1, true, code);
    EXPECT_EQ(code, remove_code::Done);
    EXPECT_EQ(root->LexemText(), "@system$b$c#");
}

TEST(Rows, FlatPositionIndex)
{
    auto row = RowOf("x12y");
    EXPECT_EQ(row->GetPosIndex(0), 0);
    EXPECT_EQ(row->GetPosIndex(1), 1);
    EXPECT_EQ(row->GetPosIndex(2), 3);
    EXPECT_EQ(row->GetPosIndex(3), 4);
    EXPECT_EQ(row->GetPosIndex(4), -1);
    EXPECT_EQ(row->GetPosIndex(-1), -1);

    CCursorPath path;
    ASSERT_TRUE(row->SetCursorIndex(path, 2));
    EXPECT_EQ(path.Depth(), 3);
    EXPECT_EQ(path.Entry(1).pos, 2);
    EXPECT_EQ(path.Entry(2).pos, 0);
    EXPECT_EQ(Describe(*path.Top()), "'1'");
    path.Reset();
    ASSERT_TRUE(row->SetCursorIndex(path, 4));
    EXPECT_EQ(Describe(*path.Top()), "y");
    path.Reset();
    ASSERT_TRUE(row->SetCursorIndex(path, 0));
    EXPECT_EQ(path.Top(), row->Head());
    path.Reset();
    EXPECT_FALSE(row->SetCursorIndex(path, 5));
    EXPECT_TRUE(path.IsEmpty());

    // Inverse of GetPosIndex for every position.
    for (int pos = 0; pos < row->Count(); ++pos) {
        path.Reset();
        ASSERT_TRUE(row->SetCursorIndex(path, row->GetPosIndex(pos)));
        EXPECT_EQ(path.Entry(1).pos, pos);
    }
}

TEST(Rows, PreviousInRow)
{
    auto row = RowOf("ab");
    EXPECT_EQ(row->Child(1)->GetPrevInRow(), nullptr);
    EXPECT_EQ(row->Child(2)->GetPrevInRow(), row->Child(1));
}

TEST(Rows, MatchAndPairBrackets)
{
    auto row = RowOf("(a(b)c)[d");
    EXPECT_EQ(row->MatchBracket(1), 7);
    EXPECT_EQ(row->MatchBracket(3), 5);
    EXPECT_EQ(row->MatchBracket(8), -1);
    EXPECT_EQ(row->MatchBracket(2), -1);
    EXPECT_FALSE(row->PairBrackets());
    EXPECT_EQ(Describe(*row->Child(1)), "br_row_round[a br_row_round[b] c]");
    EXPECT_EQ(Describe(*row->Child(2)), "br[");

    auto paired = RowOf("{1;2}*[x]");
    EXPECT_TRUE(paired->PairBrackets());
    EXPECT_EQ(paired->LexemText(), "@br_row_figur$1;2#*@br_row_square$x#");
}

TEST(Numbers, Digits)
{
    CRealNum decimal("3,25");
    EXPECT_EQ(decimal.GetIntegerDigits(), "3");
    EXPECT_EQ(decimal.GetFractionDigits(), "25");
    EXPECT_FALSE(decimal.IsInteger());
    CRealNum fraction(",5");
    EXPECT_EQ(fraction.GetIntegerDigits(), "0");
    EXPECT_EQ(fraction.GetFractionDigits(), "5");
    CRealNum integer("42");
    EXPECT_TRUE(integer.IsInteger());
    EXPECT_EQ(integer.GetFractionDigits(), "");
    CPeriodNum periodic("0,1(6)");
    EXPECT_EQ(periodic.GetIntegerDigits(), "0");
    EXPECT_EQ(periodic.GetFractionDigits(), "1");
    EXPECT_EQ(periodic.GetPeriodDigits(), "6");
    EXPECT_EQ(CPeriodNum("1,(33)").GetPeriodDigits(), "33");
    EXPECT_EQ(periodic.Type(), TemplateType::RealNum);
    EXPECT_EQ(CNumber("7").Type(), TemplateType::Number);
    EXPECT_TRUE(IsNumberRow(periodic));
    EXPECT_FALSE(IsNumberRow(CArgRow()));
}

TEST(Numbers, PartRowsTakeDigitsOnly)
{
    CNumPartRow part;
    EXPECT_TRUE(part.HasHead());
    EXPECT_EQ(part.InsertAfter(0, MakeCharLexem('x')), -1);
    EXPECT_EQ(part.InsertAfter(0, MakeCharLexem('+')), -1);
    EXPECT_EQ(part.InsertAfter(0, MakeCharLexem('4')), 1);
    EXPECT_EQ(part.InsertAfter(1, MakeCharLexem('2')), 2);
    EXPECT_EQ(part.LexemText(), "42");
    EXPECT_FALSE(part.ReplaceChild(1, MakeCharLexem('5')));

    int code = 0;
    EXPECT_EQ(part.RemoveChild(0, true, code), 0);
    EXPECT_EQ(code, remove_code::AtHead);
    part.RemoveChild(2, true, code);
    part.RemoveChild(1, true, code);
    EXPECT_EQ(code, remove_code::Done);
    EXPECT_TRUE(part.IsEmpty());
    EXPECT_EQ(part.RemoveChild(1, true, code), 1);
    EXPECT_EQ(code, remove_code::Done);
    EXPECT_TRUE(part.HasHead());

    CLowerIndexRow lower;
    EXPECT_EQ(lower.InsertAfter(0, MakeCharLexem('n')), -1);
    EXPECT_EQ(lower.InsertAfter(0, MakeCharLexem('1')), 1);
}

TEST(Numbers, RemovingWithoutPosition)
{
    CRealNum number("12");
    int code = 0;
    EXPECT_EQ(number.RemoveChild(5, true, code), -1);
    EXPECT_EQ(code, remove_code::NoPosition);
    EXPECT_EQ(number.RemoveChild(1, true, code), 0);
    EXPECT_EQ(code, remove_code::Done);
    EXPECT_EQ(number.LexemText(), "1");
}

}  // namespace
}  // namespace formula
