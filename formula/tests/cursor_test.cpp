// The cursor path and the cursor rules of rows and templates: scripts of
// moves from the start or the end of a formula, and hit tests on boxes set by
// hand.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/cursor_path.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/all.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

using test::Read;

// The formula's lexeme text with "|" where the caret stands: after the
// element at the position of the nearest row on the path.
std::string CaretText(CAggregateTemplate& root, const CCursorPath& path)
{
    const int index = path.NearestRow();
    if (index == 0) {
        return "<no row>";
    }
    CLexemRow* row = AsRow(path.Entry(index).lexem);
    const int pos = path.Entry(index).pos;
    row->CLexemRow::InsertAfter(pos, std::make_unique<CCharLexem>('|'));
    std::string text = root.LexemText();
    row->Detach(pos + 1);
    return text;
}

// Keys: H home, E end, L R U D arrows.
std::string Keys(CAggregateTemplate& root, const std::string& keys)
{
    CCursorPath path;
    path.Start(&root, false);
    for (char key : keys) {
        switch (key) {
        case 'H':
            path.Start(&root, true);
            break;
        case 'E':
            path.Start(&root, false);
            break;
        case 'L':
            path.MoveLeft();
            break;
        case 'R':
            path.MoveRight();
            break;
        case 'U':
            path.MoveUp();
            break;
        case 'D':
            path.MoveDown();
            break;
        }
    }
    return CaretText(root, path);
}

struct Script {
    std::string formula;
    std::string keys;
    std::string caret;
};

void CheckScripts(const std::vector<Script>& scripts)
{
    for (const Script& s : scripts) {
        SCOPED_TRACE(s.formula + " keys " + s.keys);
        auto root = Read(s.formula);
        EXPECT_EQ(Keys(*root, s.keys), s.caret);
    }
}

TEST(CursorPath, StackOperations)
{
    CCharLexem a('a');
    CCharLexem b('b');
    CArgRow row;
    CCursorPath path;
    EXPECT_EQ(path.Depth(), 0);
    EXPECT_EQ(path.NearestRow(), 0);
    path.Push(&row);
    path.SetPos(3);
    path.Push(&a);
    path.Push(&b);
    path.SetPos(7);
    EXPECT_EQ(path.Depth(), 3);
    EXPECT_EQ(path.GetPos(), 7);
    EXPECT_EQ(path.Top(), &b);
    EXPECT_EQ(path.NearestRow(), 1);
    EXPECT_EQ(path.Entry(1).pos, 3);
    path.PopTo(&a);
    EXPECT_EQ(path.Top(), &a);
    path.Pop();
    EXPECT_EQ(path.GetPos(), 3);
    path.PopTo(&b);
    EXPECT_TRUE(path.IsEmpty());
    path.Pop();
    EXPECT_TRUE(path.IsEmpty());
    path.Push(&a);
    path.Reset();
    EXPECT_EQ(path.Depth(), 0);
}

TEST(CursorPath, NearestNonNumberRow)
{
    auto root = Read("x12");
    CCursorPath path;
    path.Start(root.get(), false);
    ASSERT_EQ(path.Depth(), 4);  // root, line, number, digit
    EXPECT_EQ(path.NearestRow(), 3);
    EXPECT_EQ(path.NearestNonNumberRow(), 2);
}

TEST(CursorPath, GrowsAsDeepAsTheTree)
{
    std::string text = "x";
    for (int i = 0; i < 60; ++i) {
        text = "@sqrroot$" + text + "#";
    }
    auto root = Read(text);
    CCursorPath path;
    path.Start(root.get(), true);
    for (int i = 0; i < 61; ++i) {
        path.MoveRight();
    }
    EXPECT_GT(path.Depth(), 120);
    std::string expected;
    for (int i = 0; i < 60; ++i) {
        expected += "@sqrroot$";
    }
    expected += "x|" + std::string(60, '#');
    EXPECT_EQ(CaretText(*root, path), expected);
}

TEST(Cursor, RowEdges)
{
    CheckScripts({
        {"ab", "E", "ab|"},
        {"ab", "EL", "a|b"},
        {"ab", "ELL", "|ab"},
        {"ab", "ELLL", "|ab"},
        {"ab", "HL", "|ab"},
        {"ab", "ER", "ab|"},
        {"ab", "HRR", "ab|"},
        {"ab", "HRRR", "ab|"},
        {"", "E", "|"},
        {"", "HLR", "|"},
        {"x12+y", "HR", "x|12+y"},
        {"x12+y", "HRR", "x1|2+y"},
        {"x12+y", "HRRR", "x12|+y"},
        {"x12+y", "HRRRR", "x12+|y"},
        {"x12+y", "EUD", "x12+y|"},
        {"a@spec$<=#b", "HRR", "a@spec$<=#|b"},
    });
}

TEST(Cursor, HorizontalFraction)
{
    CheckScripts({
        {"@hor_frac$1$2#", "HR", "@hor_frac$|1$2#"},
        {"@hor_frac$1$2#", "HRR", "@hor_frac$1|$2#"},
        {"@hor_frac$1$2#", "HRRR", "@hor_frac$1$2#|"},
        {"@hor_frac$1$2#", "E", "@hor_frac$1$2#|"},
        {"@hor_frac$1$2#", "EL", "@hor_frac$1|$2#"},
        {"@hor_frac$1$2#", "ELL", "@hor_frac$|1$2#"},
        {"@hor_frac$1$2#", "ELLL", "|@hor_frac$1$2#"},
        {"@hor_frac$1$2#", "HRD", "@hor_frac$1$2|#"},
        {"@hor_frac$1$2#", "HRDU", "@hor_frac$1|$2#"},
        {"@hor_frac$1$2#", "ED", "@hor_frac$1$2|#"},
        {"@hor_frac$1$2#", "EU", "@hor_frac$1|$2#"},
        {"@hor_frac$1$2#", "HRDR", "@hor_frac$1$2#|"},
        {"@hor_frac$$#", "HR", "@hor_frac$|$#"},
        {"@hor_frac$$#", "HRD", "@hor_frac$$|#"},
    });
}

TEST(Cursor, DiagonalFraction)
{
    CheckScripts({
        {"@diag_frac$a$b#", "HR", "@diag_frac$|a$b#"},
        {"@diag_frac$a$b#", "HRR", "@diag_frac$a|$b#"},
        {"@diag_frac$a$b#", "HRRR", "@diag_frac$a$|b#"},
        {"@diag_frac$a$b#", "HRRRRR", "@diag_frac$a$b#|"},
        {"@diag_frac$a$b#", "EL", "@diag_frac$a$b|#"},
        {"@diag_frac$a$b#", "ELLL", "@diag_frac$a|$b#"},
    });
}

TEST(Cursor, MixedFraction)
{
    CheckScripts({
        {"@mixed_frac$2$1$3#", "HR", "@mixed_frac$2|$1$3#"},
        {"@mixed_frac$2$1$3#", "HRR", "@mixed_frac$2$|1$3#"},
        {"@mixed_frac$2$1$3#", "HRRL", "@mixed_frac$2|$1$3#"},
        {"@mixed_frac$2$1$3#", "HRRLL", "|@mixed_frac$2$1$3#"},
        {"@mixed_frac$2$1$3#", "HRRD", "@mixed_frac$2$1$3|#"},
        {"@mixed_frac$2$1$3#", "HRRRR", "@mixed_frac$2$1$3#|"},
        {"@simple_frac$1$2#", "HR", "@simple_frac$|1$2#"},
        {"@simple_frac$1$2#", "EL", "@simple_frac$1|$2#"},
    });
}

TEST(Cursor, IndexFamily)
{
    CheckScripts({
        {"@index_up$x$2#", "HR", "@index_up$|x$2#"},
        {"@index_up$x$2#", "HRR", "@index_up$x|$2#"},
        {"@index_up$x$2#", "HRRR", "@index_up$x$|2#"},
        {"@index_up$x$2#", "HRRRR", "@index_up$x$2|#"},
        {"@index_up$x$2#", "HRRRRR", "@index_up$x$2#|"},
        {"@index_up$x$2#", "EL", "@index_up$x$2|#"},
        {"@index_up$x$2#", "ELLL", "@index_up$x|$2#"},
        {"@index_up$x$2#", "HRRU", "@index_up$x$2|#"},
        // No lower index: down leaves the template, and the formula's single
        // line is entered again from above.
        {"@index_up$x$2#", "HRRD", "@index_up$x$2|#"},
        {"@index_dn$x$1#", "ED", "@index_dn$x$1|#"},
        {"@index_dn$x$1#", "EL", "@index_dn$x$1|#"},
        {"@index_updn$x$2$1#", "HRRR", "@index_updn$x$|2$1#"},
        {"@index_updn$x$2$1#", "HRRRD", "@index_updn$x$2$1|#"},
        {"@index_updn$x$2$1#", "HRRRDU", "@index_updn$x$2|$1#"},
        {"@index_updn$x$2$1#", "EU", "@index_updn$x$2|$1#"},
        {"@index$x$$#", "HRRR", "@index$x$$#|"},
        {"@index$x$$#", "EL", "@index$x|$$#"},
        {"@progmem$a$n#", "HRRR", "@progmem$a$|n#"},
        {"@index_up$@func$sin$x#$2#", "HRR", "@index_up$@func$sin$x|#$2#"},
        {"@index_up$@func$sin$x#$2#", "HRRR", "@index_up$@func$sin$x#$|2#"},
    });
}

TEST(Cursor, FunctionDerivativeAndOthers)
{
    CheckScripts({
        {"@func$sin$x#", "HR", "@func$sin$|x#"},
        {"@func$sin$x#", "HRR", "@func$sin$x|#"},
        {"@func$sin$x#", "HRRR", "@func$sin$x#|"},
        {"@func$sin$x#", "HRRU", "@func$sin$x#|"},
        {"@func$sin$x#", "EL", "@func$sin$x|#"},
        {"@deriv$x#", "HR", "@deriv$|x#"},
        {"@deriv$x#", "HRRR", "@deriv$x#|"},
        {"@deriv$x#", "EL", "@deriv$x|#"},
        {"@deriv$y$2#", "HRR", "@deriv$y|$2#"},
        {"@deriv$y$2#", "HRRR", "@deriv$y$|2#"},
        {"@deriv$y$2#", "HRRRRR", "@deriv$y$2#|"},
        {"@deriv$y$2#", "EL", "@deriv$y$2|#"},
        {"@interval$1$0$a$b#", "HRRR", "@interval$1$0$a$|b#"},
        {"@interval$1$0$a$b#", "HRRRRR", "@interval$1$0$a$b#|"},
        {"@interval$1$0$a$b#", "ELLL", "@interval$1$0$a|$b#"},
        {"@root$3$x#", "HR", "@root$|3$x#"},
        {"@root$3$x#", "HRRR", "@root$3$|x#"},
        {"@root$3$x#", "HRRRU", "@root$3|$x#"},
        {"@root$3$x#", "EU", "@root$3|$x#"},
        {"@lim$f$x$0#", "HR", "@lim$f$|x$0#"},
        {"@lim$f$x$0#", "HRRR", "@lim$f$x$|0#"},
        {"@lim$f$x$0#", "HRRRRR", "@lim$|f$x$0#"},
        {"@lim$f$x$0#", "HRRRRRRR", "@lim$f$x$0#|"},
        {"@integral$f$a$b#", "HR", "@integral$f$a$|b#"},
        {"@integral$f$a$b#", "HRRR", "@integral$|f$a$b#"},
        {"@integral$f$a$b#", "HRD", "@integral$f$a|$b#"},
        {"@integral$f$a$b#", "HRRRRR", "@integral$f$a$b#|"},
        {"@integral_undef$f#", "HR", "@integral_undef$|f#"},
        {"@summa$k$n$1#", "EL", "@summa$k|$n$1#"},
        {"@bool$1#", "HR", "@bool$1#|"},
        {"@bool$1#", "HRL", "|@bool$1#"},
        {"@br_row_abs$x#", "HRRR", "@br_row_abs$x#|"},
        {"@sqrroot$x#", "EL", "@sqrroot$x|#"},
    });
}

TEST(Cursor, MultiRow)
{
    CheckScripts({
        {"@system$a$b#", "HR", "@system$|a$b#"},
        {"@system$a$b#", "HRR", "@system$a|$b#"},
        {"@system$a$b#", "HRRR", "@system$a$|b#"},
        {"@system$a$b#", "HRRRRR", "@system$a$b#|"},
        {"@system$a$b#", "HRRU", "@system$a$b|#"},
        {"@system$a$b#", "HRRUD", "@system$a|$b#"},
        {"@system$a$b#", "HRRDD", "@system$a|$b#"},
        {"@system$a$b#", "E", "@system$a$b#|"},
        {"@system$a$b#", "EL", "@system$a|$b#"},
        {"@system$a$b#", "EU", "@system$a|$b#"},
        {"@system$a$b#", "ED", "@system$a$b|#"},
        {"@system$a$b#", "HRRRL", "@system$a|$b#"},
        {"a@#b", "H", "|a@#b"},
        {"a@#b", "HRR", "a@#|b"},
        {"a@#b", "HRRRL", "a@#|b"},
        {"a@#b", "HRD", "a@#b|"},
        {"a@#b", "HRDD", "a|@#b"},
    });
}

TEST(Cursor, MultiRowEntersTheWidestLine)
{
    auto root = Read("a@#bc");
    root->GetRow(1)->SetBox({0, 20, 20, 20, 30});
    root->GetRow(0)->SetBox({0, 0, 10, 20, 10});
    EXPECT_EQ(Keys(*root, "E"), "a@#bc|");
    EXPECT_EQ(Keys(*root, "H"), "a@#|bc");

    auto system = Read("@system$a$bc#");
    auto* tmpl = static_cast<CSystemTemplate*>(system->GetRow(0)->Child(1));
    tmpl->GetRow(1)->SetBox({0, 20, 20, 20, 30});
    EXPECT_EQ(Keys(*system, "EL"), "@system$a$bc|#");
}

// Boxes laid out by hand: leaves 10 wide and 20 high; rows left to right;
// fractions put the numerator above the denominator; multi-row templates
// stack their lines. Enough to hit every lexeme at its centre.
Box LayOut(CLexem& lexem, int x, int y);

Box LayOutRow(CLexemRow& row, int x, int y)
{
    int right = x;
    int bottom = y + 20;
    for (int pos = 0; pos < row.Count(); ++pos) {
        const Box box = LayOut(*row.Child(pos), right, y);
        right += box.width;
        bottom = std::max(bottom, box.y + box.height);
    }
    const Box box{x, y, right - x, bottom - y, y + 10};
    row.SetBox(box);
    return box;
}

Box LayOut(CLexem& lexem, int x, int y)
{
    Box box{x, y, 10, 20, y + 10};
    if (lexem.Kind() == LexemKind::RowHead) {
        box.width = 0;
    } else if (CLexemRow* row = AsRow(&lexem)) {
        return LayOutRow(*row, x, y);
    } else if (CTemplate* tmpl = AsTemplate(&lexem)) {
        int right = x + 5;
        int bottom = y + 20;
        if (tmpl->IsMultiRow() || lexem.Type() == TemplateType::HorFrac) {
            int top = y;
            for (int n = 1; n <= tmpl->CursorRowCount(); ++n) {
                const Box row = LayOutRow(*tmpl->CursorRow(n), x + 5, top);
                right = std::max(right, row.x + row.width);
                top = row.y + row.height + 4;
                bottom = row.y + row.height;
            }
            box = {x, y, right + 5 - x, bottom - y, lexem.Type() == TemplateType::HorFrac ? y + 22 : y + 10};
        } else {
            for (CLexem* part : tmpl->Parts()) {
                const Box row = LayOut(*part, right, y);
                right = row.x + row.width + 5;
                bottom = std::max(bottom, row.y + row.height);
            }
            box = {x, y, right - x, bottom - y, y + 10};
        }
    }
    lexem.SetBox(box);
    return box;
}

// Every leaf on a row the cursor can enter is hit at its centre; a leaf on a
// row it never enters (a derivative's prime, a limit's arrow) hits the
// template as a whole.
TEST(HitTest, CentreOfEveryLeafHitsIt)
{
    const std::vector<std::string> formulas = {
        "x+12*y",
        "@hor_frac$a+1$@index_up$b$2##=3",
        "@system$x+y=1$x-@sqrroot$y#=0#",
        "@mixed_frac$2$1$3#-@simple_frac$1$2#",
        "@index_updn$x$2$1#+@progmem$a$n#+@subsup$y$1$2#",
        "@index_up$@func$sin$x#$2#+@func$ln$x#",
        "@deriv$x#+@deriv$y$2#",
        "@interval$1$0$a$b#@br_row_abs$x#@br_row_figur$1;2#",
        "@root$3$x#+@lim$f$x$0#",
        "@integral$f$a$b#+@summa$k$n$1#+@integral_undef$g#",
        "a@spec$<=#b@spec_atom$pi#",
        "@diag_frac$a$b#@integrationLimit$F$a$b#",
    };
    for (const std::string& formula : formulas) {
        SCOPED_TRACE(formula);
        auto root = Read(formula);
        LayOut(*root, 0, 0);
        std::function<void(CLexem&)> visit = [&](CLexem& lexem) {
            if (CLexemRow* row = AsRow(&lexem)) {
                for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
                    visit(*row->Child(pos));
                }
                return;
            }
            if (CTemplate* tmpl = AsTemplate(&lexem)) {
                if (tmpl->IsMultiRow()) {
                    for (int n = 1; n <= tmpl->CursorRowCount(); ++n) {
                        visit(*tmpl->CursorRow(n));
                    }
                } else {
                    for (CLexem* part : tmpl->Parts()) {
                        visit(*part);
                    }
                }
                return;
            }
            // A leaf: what should the centre hit?
            CLexem* expected = &lexem;
            for (CLexem* up = lexem.Parent(); up; up = up->Parent()) {
                CTemplate* tmpl = AsTemplate(up);
                CLexem* row = nullptr;
                for (CLexem* child = &lexem; child->Parent() != up; child = child->Parent()) {
                    row = child->Parent();
                }
                if (!tmpl || !row || !row->IsRow() || tmpl->IsMultiRow()) {
                    continue;
                }
                bool entered = false;
                for (int n = 1; n <= tmpl->CursorRowCount(); ++n) {
                    entered = entered || tmpl->CursorRow(n) == row;
                }
                if (!entered && up->Type() != TemplateType::Root) {
                    expected = up;
                }
            }
            const Box box = lexem.GetBox();
            CCursorPath path;
            ASSERT_TRUE(root->HitTest(path, {box.x + box.width / 2, box.y + box.height / 2}));
            EXPECT_EQ(path.Top(), expected) << test::Describe(lexem);
            if (expected != &lexem) {
                EXPECT_EQ(path.GetPos(), 0);
            }
        };
        visit(*root);
    }
}

TEST(HitTest, BoxesSetByHand)
{
    auto root = Read("x+y@hor_frac$1$2#");
    CLineRow* line = root->GetRow(0);
    auto* fraction = static_cast<CHorFracTemplate*>(line->Child(4));
    root->SetBox({0, 0, 50, 42, 21});
    line->SetBox({0, 0, 50, 42, 21});
    line->Child(0)->SetBox({0, 11, 0, 20, 21});
    line->Child(1)->SetBox({0, 11, 10, 20, 21});
    line->Child(2)->SetBox({10, 11, 10, 20, 21});
    line->Child(3)->SetBox({20, 11, 10, 20, 21});
    fraction->SetBox({30, 0, 20, 42, 21});
    CArgRow* numerator = fraction->Numerator();
    numerator->SetBox({30, 0, 20, 19, 9});
    numerator->Child(0)->SetBox({30, 0, 0, 19, 9});
    numerator->Child(1)->SetBox({35, 0, 10, 19, 9});
    static_cast<CLexemRow*>(numerator->Child(1))->Child(0)->SetBox({35, 0, 10, 19, 9});
    CArgRow* denominator = fraction->Denominator();
    denominator->SetBox({30, 23, 20, 19, 32});
    denominator->Child(0)->SetBox({30, 23, 0, 19, 32});
    denominator->Child(1)->SetBox({35, 23, 10, 19, 32});
    static_cast<CLexemRow*>(denominator->Child(1))->Child(0)->SetBox({35, 23, 10, 19, 32});

    struct Hit {
        Point pt;
        std::string caret;
    };
    const std::vector<Hit> hits = {
        {{5, 20}, "x|+y@hor_frac$1$2#"},
        {{10, 20}, "x+|y@hor_frac$1$2#"},  // shared edge: the later child wins
        {{0, 11}, "x|+y@hor_frac$1$2#"},
        {{25, 31}, "x+y|@hor_frac$1$2#"},
        {{40, 21}, "x+y@hor_frac$1$2#|"},  // on the bar
        {{40, 23}, "x+y@hor_frac$1$2#|"},
        {{40, 5}, "x+y@hor_frac$1|$2#"},
        {{40, 30}, "x+y@hor_frac$1$2|#"},
        {{30, 5}, "x+y@hor_frac$|1$2#"},  // the numerator's head
        {{48, 5}, "x+y@hor_frac$1$2#|"},  // in the numerator, on no element
    };
    for (const Hit& hit : hits) {
        SCOPED_TRACE(std::to_string(hit.pt.x) + "," + std::to_string(hit.pt.y));
        CCursorPath path;
        ASSERT_TRUE(root->HitTest(path, hit.pt));
        EXPECT_EQ(CaretText(*root, path), hit.caret);
    }
    CCursorPath path;
    EXPECT_FALSE(root->HitTest(path, {51, 20}));
    EXPECT_FALSE(root->HitTest(path, {10, -1}));
    EXPECT_TRUE(path.IsEmpty());
}

TEST(HitTest, LeafEdgesIncluded)
{
    CCharLexem leaf('x');
    leaf.SetBox({10, 10, 10, 20, 20});
    CCursorPath path;
    EXPECT_TRUE(leaf.HitTest(path, {10, 10}));
    EXPECT_TRUE(leaf.HitTest(path, {20, 30}));
    EXPECT_FALSE(leaf.HitTest(path, {21, 30}));
    EXPECT_FALSE(leaf.HitTest(path, {9, 10}));
    EXPECT_EQ(path.Depth(), 2);
    EXPECT_EQ(path.Top(), &leaf);
}

}  // namespace
}  // namespace formula
