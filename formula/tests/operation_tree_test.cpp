// The operation tree: lexeme text in, the tree's shape with the vertex code
// of each node out, or "no tree".
//
// Shape: a node is its label and, when it has children, "(" children ")".
// Labels: "row" for a row root; "{+}" for a group with its preset sign; else
// the lexeme (character, number, sign, relation or atom name, template name)
// with ":" and its vertex code. The formula's root and the row root of its
// line are left out: a case shows the nodes of the line's statement.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/display_settings.h"
#include "formula/model/lexem_row.h"
#include "formula/model/parse_context.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/all.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

constexpr const char* kNoTree = "no tree";

std::string LexemLabel(const CLexem& lexem)
{
    if (lexem.IsTemplate()) {
        return std::string(GetTemplateName(lexem.Type()));
    }
    if (lexem.Kind() == LexemKind::RelationSign) {
        return std::string(GetRelationName(AsOperatorSign(&lexem)->SymbolCode()));
    }
    if (const CSpecAtom* atom = AsSpecAtom(&lexem)) {
        return std::string(GetAtomName(atom->AtomCode()));
    }
    return lexem.LexemText();
}

std::string Shape(const COperationNode& node)
{
    std::string out;
    if (node.IsRowRoot()) {
        out = "row";
    } else if (node.IsGroup()) {
        out = "{" + LexemLabel(*node.Lexeme()) + "}";
    } else {
        out = LexemLabel(*node.Lexeme()) + ":" + std::to_string(VertexCode(&node));
    }
    if (node.ChildCount() > 0) {
        out += '(';
        for (int i = 0; i < node.ChildCount(); ++i) {
            out += (i ? " " : "") + Shape(*node.Child(i));
        }
        out += ')';
    }
    return out;
}

// The nodes of the formula's line, as the environment builds the tree: the
// formula normalised first (correction on), then built from its root.
std::string TreeOf(const std::string& text)
{
    auto root = test::Read(text);
    ParseContext normalizing;
    root->Normalize(normalizing);
    if (normalizing.invalid) {
        return "invalid formula";
    }
    std::unique_ptr<COperationNode> tree = BuildFormulaTree(*root);
    if (!tree) {
        return kNoTree;
    }
    EXPECT_EQ(tree->Lexeme(), root.get());
    EXPECT_EQ(tree->ChildCount(), 1);
    const COperationNode& line = *tree->Child(0);
    EXPECT_TRUE(line.IsRowRoot());
    std::string out;
    for (int i = 0; i < line.ChildCount(); ++i) {
        out += (i ? " " : "") + Shape(*line.Child(i));
    }
    return out;
}

struct Case {
    std::string text;
    std::string shape;
};

void Check(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TreeOf(c.text), c.shape);
    }
}

TEST(OperationTree, SumsAndDifferences)
{
    Check({
        {"a", "a:10"},
        {"a+b", "+:1({+}(a:10) {+}(b:10))"},
        // One node per sign; b is built in both.
        {"a+b+c", "+:1({+}(a:10) {+}(b:10)) +:1({+}(b:10) {+}(c:10))"},
        // A negated operand: its group ends with the bare minus.
        {"a-b", "-:2({+}(a:10) {+}(b:10 -:2))"},
        {"a-b+c", "-:2({+}(a:10) {+}(b:10 -:2)) +:1({+}(b:10 -:2) {+}(c:10))"},
        {"-a+b", "-:3({+}(a:10 -:3)) +:1({+}(a:10 -:3) {+}(b:10))"},
        {"-5", "-:3({+}(5:13 -:3))"},
    });
}

TEST(OperationTree, ProductsQuotientsAndPercent)
{
    Check({
        {"2*x", "*:4({*}(2:13) {*}(x:10))"},
        {"a/b", "/:5({:}(a:10) {:}(b:10))"},
        {"a:b", "::5({:}(a:10) {:}(b:10))"},
        {"a+b*c", "+:1({+}(a:10) {+}(*:4({*}(b:10) {*}(c:10))))"},
        {"a*b/c", "*:4({*}(a:10) {*}(/:5({:}(b:10) {:}(c:10))))"},
        {"2,5*x-1", "-:2({+}(*:4({*}(2,5:13) {*}(x:10))) {+}(1:13 -:2))"},
        {"5%", "%:0(5:13)"},
        {"5%*x", "*:4({*}(%:0(5:13)) {*}(x:10))"},
        {"@simple_frac$1$2#%", "%:0(simple_frac:13(1:13 2:13))"},
        {"x%", kNoTree},
        {"5%2", kNoTree},
    });
}

TEST(OperationTree, SideBySideOperandsGiveNoTree)
{
    Check({
        {"ab", kNoTree},
        {"2x", kNoTree},
        {"2*ab", kNoTree},
        {"a+2@func$sin$x#", kNoTree},
        {"2(x+1)", kNoTree},
        {"2@spec_atom$pi#", kNoTree},
    });
}

TEST(OperationTree, Relations)
{
    Check({
        {"a=b", "=:9({=}(a:10) {=}(b:10))"},
        {"2*x+3=7", "=:9({=}(+:1({+}(*:4({*}(2:13) {*}(x:10))) {+}(3:13))) {=}(7:13))"},
        {"x=-1", "=:9({=}(x:10) {=}(-:3({+}(1:13 -:3))))"},
        {"x<1", "<:8({=}(x:10) {=}(1:13))"},
        {"x@spec$<=#1", "<=:8({=}(x:10) {=}(1:13))"},
        {"x>1", ">:8({=}(x:10) {=}(1:13))"},
        {"x@spec$>=#1", ">=:8({=}(x:10) {=}(1:13))"},
        {"x@spec$nequ#1", "nequ:9({=}(x:10) {=}(1:13))"},
        // One relation per line.
        {"a=b=c", kNoTree},
        {"a<b<c", kNoTree},
    });
}

TEST(OperationTree, Membership)
{
    Check({
        {"x@spec$blng#@interval$0$1$-2$5#",
         "blng:17({blng}(x:10) {blng}(interval:0(row(-:3({+}(2:13 -:3))) row(5:13))))"},
        {"x@spec$nblng#@spec_atom$real#", "nblng:17({blng}(x:10) {blng}(real:0))"},
        {"@index_dn$x$1#@spec$blng#@spec_atom$eset#",
         "blng:17({blng}(index_dn:10(1:13 row(x:10))) {blng}(eset:0))"},
        {"x@spec$blng#@spec_atom$real#@spec$intsct#@interval$0$0$0$1#",
         "blng:17({blng}(x:10) {blng}(intsct:0({intsct}(real:0) {intsct}(interval:0(row(0:13) row(1:13))))))"},
        {"x@spec$blng#@br_row_figur$1;-2#", "blng:17({blng}(x:10) {blng}(br_row_figur:0(1:13 -:3(2:13))))"},
        {"x@spec$blng#@interval$0$1$-2$5#@spec$unite#@interval$0$0$7$9#",
         "blng:17({blng}(x:10) {blng}(unite:0({unite}(interval:0(row(-:3({+}(2:13 -:3))) row(5:13))) "
         "{unite}(interval:0(row(7:13) row(9:13))))))"},
        {"x@spec$blng#@interval$0$0$-@spec_atom$inf#$2#",
         "blng:17({blng}(x:10) {blng}(interval:0(row(-:3(inf:0)) row(2:13))))"},
        // Only a letter belongs; only sets follow the sign.
        {"2@spec$blng#@spec_atom$real#", kNoTree},
        {"x@spec$blng#y", kNoTree},
        {"x@spec$blng#@spec_atom$real#+1", kNoTree},
    });
}

TEST(OperationTree, TemplatesBuildTheirRows)
{
    Check({
        {"@hor_frac$a+b$2#", "hor_frac:5(row(+:1({+}(a:10) {+}(b:10))) row(2:13))"},
        {"@hor_frac$1$x#*2", "*:4({*}(hor_frac:5(row(1:13) row(x:10))) {*}(2:13))"},
        {"@mixed_frac$2$3$4#", "mixed_frac:13(3:13 4:13 2:13)"},
        {"@index_up$x$2#", "index_up:6(row(2:13) row(x:10))"},
        {"@index_dn$x$1#", "index_dn:10(1:13 row(x:10))"},
        {"@index_updn$x$2$1#", "index_updn:0(row(2:13) 1:13 row(x:10))"},
        {"@sqrroot$x+1#", "sqrroot:14(row(+:1({+}(x:10) {+}(1:13))))"},
        {"@root$3$x#", "root:0(row(3:13) row(x:10))"},
        {"@func$sin$x#", "func:19(row(x:10))"},
        {"@br_row_abs$x-1#", "br_row_abs:11(row(-:2({+}(x:10) {+}(1:13 -:2))))"},
        {"(a+b)*c", "*:4({*}(br_row_round:7(row(+:1({+}(a:10) {+}(b:10))))) {*}(c:10))"},
        {"@deriv$x+1#", "deriv:18(row(':10) row(+:1({+}(x:10) {+}(1:13))))"},
        {"@progmem$a$n+1#", "progmem:16(row(+:1({+}(n:10) {+}(1:13))) row(a:10))"},
        {"@progmem$a$@spec_atom$inf##", "progmem:16(inf:0 row(a:10))"},
        {"@summa$k$n$1#", "summa:0(row(k:10) row(n:10) row(1:13))"},
        {"@lim$f$x$0#", "lim:0(row(f:10) row(x:10) row(0:13))"},
        // A relation inside a template's row is refused.
        {"@hor_frac$a=b$2#", kNoTree},
    });
}

TEST(OperationTree, TemplateConstraints)
{
    Check({
        {"@index_updn$x+y$2$1#", kNoTree},
        {"@index_updn$x$2$n#", kNoTree},
        {"@index_updn$x$2$@hor_frac$1$2##", "index_updn:0(row(2:13) @hor_frac$1$2#:13 row(x:10))"},
        {"@progmem$a+b$n#", kNoTree},
        {"@summa$k+1$n$1#", kNoTree},
        {"@summa$k$n$i#", kNoTree},
        {"@lim$f$x$a#", kNoTree},
        {"@lim$f+g$x$0#", kNoTree},
    });
}

TEST(OperationTree, SystemsAndUnions)
{
    Check({
        {"@system$x+y=1$x-y=2#",
         "system:12(row(=:9({=}(+:1({+}(x:10) {+}(y:10))) {=}(1:13))) "
         "row(=:9({=}(-:2({+}(x:10) {+}(y:10 -:2))) {=}(2:13))))"},
        {"@union$x=1$x=2#", "union:12(row(=:9({=}(x:10) {=}(1:13))) row(=:9({=}(x:10) {=}(2:13))))"},
        // Each line holds one relation at most.
        {"@system$x=y=1$x=2#", kNoTree},
        // A union stands alone in its row.
        {"@union$x=1$x=2#+1", kNoTree},
        // The formula's root holds one line.
        {"x=1@#y=2", kNoTree},
    });
}

// Parent, depth and range of every node below a node; lexeme nodes stand for
// lexemes of the formula (or their groups' preset signs).
void CheckLinks(const COperationNode& node, const CLexem& root)
{
    for (int i = 0; i < node.ChildCount(); ++i) {
        const COperationNode& child = *node.Child(i);
        EXPECT_EQ(child.Parent(), &node);
        EXPECT_EQ(child.Depth(), node.Depth() + 1);
        EXPECT_EQ(node.IndexOf(&child), i);
        CheckLinks(child, root);
    }
    if (node.IsGroup()) {
        EXPECT_TRUE(IsPresetSign(node.Lexeme()));
        EXPECT_EQ(node.Lexeme()->Parent(), nullptr);
    } else if (node.Lexeme()) {
        EXPECT_FALSE(IsPresetSign(node.Lexeme()));
        const CLexem* up = node.Lexeme();
        while (up->Parent()) {
            up = up->Parent();
        }
        EXPECT_EQ(up, &root);
    }
    // A lexeme covers itself; a wider range has both ends in one row, the
    // first not after the last.
    ASSERT_NE(node.First(), nullptr);
    ASSERT_NE(node.Last(), nullptr);
    if (node.First() == node.Last()) {
        return;
    }
    const CLexemRow* row = AsRow(node.First()->Parent());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(node.Last()->Parent(), row);
    EXPECT_LE(row->IndexOf(node.First()), row->IndexOf(node.Last()));
}

TEST(OperationTree, NodesAreLinkedAndCoverTheirLexemes)
{
    for (const char* text : {"a-b+c", "-a+b", "2*x+3=7", "5%*x", "@system$x+y=1$x-y=2#",
                             "x@spec$blng#@interval$0$1$-2$5#@spec$unite#@interval$0$0$7$9#",
                             "@hor_frac$a+b$2#*@index_up$x$2#", "x@spec$blng#@br_row_figur$1;-2#",
                             "x@spec$blng#@interval$0$0$-@spec_atom$inf#$2#"}) {
        SCOPED_TRACE(text);
        auto root = test::Read(text);
        ParseContext normalizing;
        root->Normalize(normalizing);
        std::unique_ptr<COperationNode> tree = BuildFormulaTree(*root);
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->Parent(), nullptr);
        EXPECT_EQ(tree->Depth(), 0);
        CheckLinks(*tree, *root);
    }
}

TEST(OperationTree, RangesOfSignsAndGroups)
{
    auto root = test::Read("a-b+c");
    std::unique_ptr<COperationNode> tree = BuildFormulaTree(*root);
    ASSERT_NE(tree, nullptr);
    const COperationNode& line = *tree->Child(0);
    const CLexemRow& row = *root->GetFirstRow();
    auto at = [&row](int pos) { return row.Child(pos); };
    // a - b + c at positions 1 to 5
    EXPECT_EQ(line.First(), at(1));
    EXPECT_EQ(line.Last(), at(5));
    const COperationNode& minus = *line.Child(0);
    const COperationNode& plus = *line.Child(1);
    EXPECT_EQ(minus.First(), at(1));
    EXPECT_EQ(minus.Last(), at(3));
    EXPECT_EQ(plus.First(), at(3));
    EXPECT_EQ(plus.Last(), at(5));
    const COperationNode& negated = *minus.Child(1);
    EXPECT_EQ(negated.First(), at(3));
    EXPECT_EQ(negated.Last(), at(3));
    EXPECT_TRUE(negated.Child(1)->IsBareMinus());
    EXPECT_FALSE(negated.Child(0)->IsBareMinus());
    EXPECT_FALSE(minus.IsBareMinus());
    EXPECT_EQ(minus.SignClass(), 57);
    EXPECT_EQ(negated.SignClass(), 57);
}

TEST(OperationTree, GroupsCarryTheVertexOfTheirPresetSign)
{
    struct GroupCase {
        int priorityClass;
        int vertex;
    };
    for (GroupCase c : {GroupCase{57, 1}, GroupCase{56, 4}, GroupCase{55, 5}, GroupCase{58, 9},
                        GroupCase{4, 17}, GroupCase{3, 0}, GroupCase{2, 0}}) {
        SCOPED_TRACE(c.priorityClass);
        auto group = COperationNode::MakeGroup(c.priorityClass);
        EXPECT_TRUE(group->IsGroup());
        EXPECT_FALSE(group->IsRowRoot());
        EXPECT_EQ(group->SignClass(), c.priorityClass);
        EXPECT_EQ(VertexCode(group.get()), c.vertex);
    }
    EXPECT_EQ(VertexCode(nullptr), 0);
    COperationNode rowRoot(nullptr);
    EXPECT_EQ(VertexCode(&rowRoot), 0);
}

TEST(OperationTree, BuildingPairsBracketCharactersLeftInARow)
{
    // Not normalised: the brackets are still characters.
    auto root = test::Read("(a+b)*c");
    std::unique_ptr<COperationNode> tree = BuildFormulaTree(*root);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(root->LexemText(), "@br_row_round$a+b#*c");
    EXPECT_EQ(Shape(*tree->Child(0)), "row(*:4({*}(br_row_round:7(row(+:1({+}(a:10) {+}(b:10))))) {*}(c:10)))");

    for (const char* text : {"(a+b", "a+b)", "=b", "a=", "+"}) {
        SCOPED_TRACE(text);
        auto raw = test::Read(text);
        EXPECT_EQ(BuildFormulaTree(*raw), nullptr);
    }
}

TEST(OperationTree, RelationAllowanceOfARow)
{
    auto root = test::Read("a=b");
    root->GetFirstRow()->SetRelationAllowance(0);
    EXPECT_EQ(BuildFormulaTree(*root), nullptr);
    root->GetFirstRow()->SetRelationAllowance(1);
    EXPECT_NE(BuildFormulaTree(*root), nullptr);
}

TEST(OperationTree, ContextReportsTheFault)
{
    ParseContext result;
    auto invalid = test::Read("ab");
    EXPECT_EQ(BuildFormulaTree(*invalid, result), nullptr);
    EXPECT_TRUE(result.invalid);
    auto valid = test::Read("a*b");
    EXPECT_NE(BuildFormulaTree(*valid, result), nullptr);
    EXPECT_FALSE(result.invalid);
}

TEST(OperationTree, CanBuildDecidesOnACopy)
{
    struct ValidCase {
        const char* text;
        bool corrected;
        bool uncorrected;
    };
    for (ValidCase c : {ValidCase{"2*x+3=7", true, true}, ValidCase{"a+", true, false},
                        ValidCase{"a+*b", true, false}, ValidCase{"ab", false, false},
                        ValidCase{"(x", false, false}, ValidCase{"", false, false},
                        ValidCase{"@nosuch$x#", false, false}, ValidCase{"@hor_frac$$1#", false, false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CanBuildOperationTree(c.text, true), c.corrected);
        EXPECT_EQ(CanBuildOperationTree(c.text, false), c.uncorrected);
    }
    // The formula asked about keeps its characters.
    auto root = test::Read("(a)+");
    EXPECT_TRUE(CanBuildOperationTree(*root, true));
    EXPECT_EQ(root->LexemText(), "(a)+");
}

// Random formulas from pieces: normalised or not, every tree built is linked
// as above, and building again (brackets now paired) gives the same tree.
TEST(OperationTree, RandomFormulasBuildConsistentTrees)
{
    const char* const pieces[] = {
        "a", "b", "x", "2", "3,5", "+", "-", "*", "/", ":", "%", "=", "<", "(", ")",
        "@spec$blng#", "@spec$unite#", "@spec$intsct#", "@spec_atom$real#", "@spec_atom$inf#",
        "@spec_atom$pi#", "@interval$0$1$-2$x+1#", "@br_row_figur$1;-2#", "@hor_frac$a-1$2#",
        "@index_dn$x$1#", "@index_updn$y$2$1#", "@system$x=1$y-x=a#", "@union$x=1$x=2#",
        "@sqrroot$x#", "@func$sin$x*2#", "@simple_frac$1$2#", "@progmem$a$n#", "@summa$k$n$1#",
    };
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    int built = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::uint32_t length = 1 + next(7);
        for (std::uint32_t i = 0; i < length; ++i) {
            text += pieces[next(std::size(pieces))];
        }
        SCOPED_TRACE(text);
        auto root = test::Read(text);
        if (round % 2 == 0) {
            ParseContext normalizing;
            root->Normalize(normalizing);
        }
        std::unique_ptr<COperationNode> tree = BuildFormulaTree(*root);
        if (!tree) {
            continue;
        }
        ++built;
        CheckLinks(*tree, *root);
        std::unique_ptr<COperationNode> again = BuildFormulaTree(*root);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(Shape(*again), Shape(*tree));
    }
    // The pieces give trees often enough for the checks to mean something.
    EXPECT_GT(built, 300);
}

}  // namespace
}  // namespace formula
