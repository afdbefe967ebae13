// The transformer without widgets: hit-testing and hover, clicks and the
// pending operation, results, the multi-selection and redundant brackets.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formula/edit/selection.h"
#include "formula/model/messages.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/transformer_test_util.h"
#include "formula/transform/multi_selection.h"
#include "formula/transform/redundant_brackets.h"

namespace formula {
namespace {

using test::TransformerFixture;

std::string Highlighted(const TransformerFixture& f)
{
    return f.env.Selection()->GetLexemText();
}

// A point of the node's box at which the hit test answers that node.
Point PointOn(TransformerFixture& f, const COperationNode* node)
{
    const Box& box = node->Lexeme()->GetBox();
    for (int y = box.y; y < box.y + box.height; ++y) {
        for (int x = box.x; x < box.x + box.width; ++x) {
            if (f.transformer->NodeAt({x, y}) == node) {
                return {x, y};
            }
        }
    }
    ADD_FAILURE() << "no point picks " << node->Lexeme()->LexemText();
    return {-1, -1};
}

// The road of one transformation without the kernel: the host's answer is
// given by hand.
TEST(Transformer, RoadWithoutKernel)
{
    TransformerFixture f("2*x+3=7");
    f.DragTo("3", 0, "=", 0);
    EXPECT_EQ(f.Text(), "2*x=-3+7");
    EXPECT_EQ(f.listener.events, (std::vector<std::string>{"lclick", "transformed"}));

    f.listener.events.clear();
    const Point plus = f.At("+");
    f.transformer->OnMouseMove(plus, false);
    EXPECT_EQ(Highlighted(f), "-3+7");
    EXPECT_TRUE(f.transformer->OnDoubleClick(plus));
    EXPECT_EQ(f.listener.events, std::vector<std::string>{"dblclick 1 (-3)+!7"});
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::DoubleClick);
    f.transformer->SetOperationResult(true, "4", true);
    EXPECT_EQ(f.Text(), "2*x=4");
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
    EXPECT_TRUE(f.messages.empty());
}

struct VertexCase {
    std::string name;
    std::string formula;
    std::string node;
    int nth;
    int vertex;
};

class Vertices : public ::testing::TestWithParam<VertexCase> {
};

// The double click reports the vertex code of the node under the mouse.
TEST_P(Vertices, DoubleClickReportsTheNodesVertex)
{
    const VertexCase& c = GetParam();
    TransformerFixture f(c.formula);
    COperationNode* node = f.Node(c.node, c.nth);
    ASSERT_NE(node, nullptr);
    const Point pt = PointOn(f, node);
    f.transformer->OnMouseMove(pt, false);
    ASSERT_TRUE(f.transformer->OnDoubleClick(pt));
    ASSERT_EQ(f.listener.events.size(), 1u);
    EXPECT_EQ(f.listener.events[0].substr(0, f.listener.events[0].find(' ', 9)),
              "dblclick " + std::to_string(c.vertex));
}

const VertexCase kVertexCases[] = {
    {"HorFracByItsBar", "@hor_frac$a$b#+1", "@hor_frac$a$b#", 0, 5},
    {"MixedFrac", "@mixed_frac$2$3$4#+x", "@mixed_frac$2$3$4#", 0, 13},
    {"RealNumber", "2,5+x", "2,5", 0, 13},
    {"Letter", "x+1", "x", 0, 10},
    {"LowerIndex", "@index_dn$x$1#+1", "@index_dn$x$1#", 0, 10},
    {"Slash", "a/b", "/", 0, 5},
    {"Colon", "a:b", ":", 0, 5},
    {"Plus", "a+b", "+", 0, 1},
    {"BinaryMinus", "a-b", "-", 0, 2},
    {"UnaryMinus", "-a+b", "-", 0, 3},
    {"Times", "a*b", "*", 0, 4},
    {"Less", "x<1", "<", 0, 8},
    {"GreaterOrEqual", "x@spec$>=#1", "@spec$>=#", 0, 8},
    {"Equals", "x=1", "=", 0, 9},
    {"NotEqual", "x@spec$nequ#1", "@spec$nequ#", 0, 9},
    {"Membership", "x@spec$blng#@spec_atom$real#", "@spec$blng#", 0, 17},
    {"UpperIndex", "@index_up$x$2#+1", "@index_up$x$2#", 0, 6},
    {"Function", "@func$sin$x#+1", "@func$sin$x#", 0, 19},
    {"SquareRoot", "@sqrroot$x#+1", "@sqrroot$x#", 0, 14},
    {"AbsoluteValue", "@br_row_abs$x-1#+1", "@br_row_abs$x-1#", 0, 11},
};

INSTANTIATE_TEST_SUITE_P(Transformer, Vertices, ::testing::ValuesIn(kVertexCases),
                         [](const ::testing::TestParamInfo<VertexCase>& info) { return info.param.name; });

TEST(Transformer, HitTestPicksTheFractionNearItsBarOnly)
{
    TransformerFixture f("@hor_frac$a$b#+1");
    COperationNode* fraction = f.Node("@hor_frac$a$b#");
    const Box& box = fraction->Lexeme()->GetBox();
    const int x = box.x + box.width / 2;
    EXPECT_EQ(f.transformer->NodeAt({x, box.axisY + 3}), fraction);
    EXPECT_EQ(f.transformer->NodeAt({x, box.axisY - 3}), fraction);
    const COperationNode* above = f.transformer->NodeAt({x, box.axisY - 4});
    EXPECT_NE(above, fraction);
    // The formula's root is never answered.
    EXPECT_EQ(f.transformer->NodeAt({-100, -100}), nullptr);
}

TEST(Transformer, HoverHighlightsAndShiftTakesTheSignNode)
{
    TransformerFixture f("2*x+3=7");
    EXPECT_TRUE(f.transformer->OnMouseMove(f.At("3"), false));
    EXPECT_EQ(Highlighted(f), "3");
    EXPECT_EQ(f.transformer->HoveredNode(), f.Node("3"));
    // Nothing new over the same node.
    EXPECT_FALSE(f.transformer->OnMouseMove(f.At("3"), false));
    // Off the formula: cleared; back on the node: highlighted again.
    EXPECT_TRUE(f.transformer->OnMouseMove({-50, -50}, false));
    EXPECT_EQ(Highlighted(f), "");
    EXPECT_TRUE(f.transformer->OnMouseMove(f.At("3"), false));
    EXPECT_EQ(Highlighted(f), "3");
    // With Shift, the sign node around the node.
    f.transformer->OnMouseMove(f.At("x"), true);
    EXPECT_EQ(Highlighted(f), "2*x");
    // A double click then works on that sign node.
    EXPECT_TRUE(f.transformer->OnDoubleClick(f.At("x")));
    EXPECT_EQ(f.listener.events, std::vector<std::string>{"dblclick 4 2*!x"});
}

TEST(Transformer, MouseLeaveClearsUnlessARightClickPickedANode)
{
    TransformerFixture f("a+b");
    f.transformer->OnMouseMove(f.At("a"), false);
    EXPECT_TRUE(f.transformer->OnMouseLeave());
    EXPECT_EQ(Highlighted(f), "");
    EXPECT_FALSE(f.env.Root().LexemText().empty());

    f.transformer->OnRightDown(f.At("b"), false);
    EXPECT_TRUE(f.transformer->RightButtonOperation());
    EXPECT_EQ(f.listener.events, std::vector<std::string>{"rclick 10 b"});
    EXPECT_FALSE(f.transformer->OnMouseLeave());
    EXPECT_EQ(Highlighted(f), "b");
    // Hover does not move the highlight while the right-click operation runs.
    EXPECT_FALSE(f.transformer->OnMouseMove(f.At("a"), false));
    EXPECT_EQ(Highlighted(f), "b");
    f.transformer->SetOperationResult(false, "", true);
    EXPECT_FALSE(f.transformer->RightButtonOperation());
    EXPECT_EQ(Highlighted(f), "");
}

TEST(Transformer, PressReleaseAndDoubleClickWithoutMove)
{
    TransformerFixture f("2*x+3+4=7");
    const Point plus = f.At("+", 1);
    f.transformer->OnLeftDown(plus, false);
    EXPECT_TRUE(f.transformer->Dragging());
    EXPECT_EQ(Highlighted(f), "3+4");
    f.transformer->Drop(plus);
    EXPECT_TRUE(f.transformer->OnDoubleClick(plus));
    EXPECT_EQ(f.listener.events, (std::vector<std::string>{"lclick", "dblclick 1 3+!4"}));
}

TEST(Transformer, LockedIgnoresTheMouse)
{
    TransformerFixture f("a+b");
    f.transformer->SetLocked(true);
    EXPECT_FALSE(f.transformer->OnMouseMove(f.At("a"), false));
    EXPECT_FALSE(f.transformer->OnLeftDown(f.At("a"), false));
    EXPECT_FALSE(f.transformer->OnRightDown(f.At("a"), false));
    EXPECT_FALSE(f.transformer->OnDoubleClick(f.At("a")));
    EXPECT_TRUE(f.listener.events.empty());
    EXPECT_EQ(Highlighted(f), "");
}

TEST(Transformer, PendingOperationRefusesFurtherOperations)
{
    TransformerFixture f("a+b");
    f.transformer->OnMouseMove(f.At("a"), false);
    ASSERT_TRUE(f.transformer->OnDoubleClick(f.At("a")));
    f.transformer->OnMouseMove(f.At("b"), false);
    EXPECT_FALSE(f.transformer->OnDoubleClick(f.At("b")));
    EXPECT_FALSE(f.transformer->OnRightDown(f.At("b"), false));
    EXPECT_EQ(f.listener.events, std::vector<std::string>{"dblclick 10 a"});
    EXPECT_EQ(f.transformer->OperatedNode(), f.Node("a"));
}

TEST(Transformer, FailedResultClearsThePendingOperation)
{
    TransformerFixture f("a+b");
    f.transformer->OnMouseMove(f.At("a"), false);
    f.transformer->OnDoubleClick(f.At("a"));
    EXPECT_TRUE(f.transformer->SetOperationResult(false, "c", true));
    EXPECT_EQ(f.Text(), "a+b");
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
    f.transformer->OnMouseMove(f.At("b"), false);
    EXPECT_TRUE(f.transformer->OnDoubleClick(f.At("b")));
    EXPECT_EQ(f.listener.events.back(), "dblclick 10 b");
}

TEST(Transformer, ResultWithNothingPendingChangesNothing)
{
    TransformerFixture f("a+b");
    f.transformer->OnMouseMove(f.At("a"), false);
    EXPECT_TRUE(f.transformer->SetOperationResult(true, "c", true));
    EXPECT_EQ(f.Text(), "a+b");
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
    EXPECT_TRUE(f.messages.empty());
}

// The left click is answered by hosts with a failed result: the pending
// operation goes and the press goes on with a drag.
TEST(Transformer, HostAnswersTheLeftClickFromInside)
{
    TransformerFixture f("a+b");
    f.listener.answer = [&](const std::string& event) {
        if (event == "lclick") {
            f.transformer->SetOperationResult(false, "", true);
        }
    };
    f.transformer->OnMouseMove(f.At("a"), false);
    f.transformer->OnDoubleClick(f.At("a"));
    ASSERT_EQ(f.transformer->Pending(), PendingOperation::DoubleClick);
    f.transformer->OnLeftDown(f.At("b"), false);
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
    EXPECT_TRUE(f.transformer->Dragging());
    EXPECT_EQ(f.transformer->DragSource(), f.Node("b"));
}

struct ResultCase {
    std::string name;
    std::string formula;
    std::string node;
    int nth;
    std::string result;
    bool aplan;
    std::string after;
};

class Results : public ::testing::TestWithParam<ResultCase> {
};

TEST_P(Results, ReplaceTheOperatedPart)
{
    const ResultCase& c = GetParam();
    TransformerFixture f(c.formula);
    const Point pt = PointOn(f, f.Node(c.node, c.nth));
    f.transformer->OnMouseMove(pt, false);
    ASSERT_TRUE(f.transformer->OnDoubleClick(pt));
    f.transformer->SetOperationResult(true, c.result, c.aplan);
    EXPECT_EQ(f.Text(), c.after);
    EXPECT_TRUE(f.messages.empty());
    EXPECT_NE(f.env.TreeRoot(), nullptr);
}

const ResultCase kResultCases[] = {
    // A plus where the part began with '-' (the correction takes "=+").
    {"PlusAfterRelationGoes", "2*x=-3+7", "+", 0, "4", true, "2*x=4"},
    {"PlusKeptInsideASum", "a-b+c", "+", 0, "c-b", true, "a+c-b"},
    {"NegativeResultNoPlus", "a-b+c", "+", 0, "-d", true, "a-d"},
    // Brackets: a factor, or a sum after a '-'.
    {"FactorGetsBrackets", "2*x+3=7", "x", 0, "a+b", true, "2*@br_row_round$a+b#+3=7"},
    {"SumAfterMinus", "a-b", "b", 0, "c+d", false, "a-@br_row_round$c+d#"},
    {"SumAfterPlusNoBrackets", "a+b", "b", 0, "c+d", false, "a+c+d"},
    {"SingleFactorNoBrackets", "2*x+3=7", "x", 0, "5", true, "2*5+3=7"},
    {"WholeSideOfARelation", "x=2+3", "+", 0, "5", true, "x=5"},
    {"LexemeTextResult", "a+b*c", "*", 0, "@hor_frac$b$c#", false, "a+@hor_frac$b$c#"},
};

INSTANTIATE_TEST_SUITE_P(Transformer, Results, ::testing::ValuesIn(kResultCases),
                         [](const ::testing::TestParamInfo<ResultCase>& info) { return info.param.name; });

// "-b" picked (the term with its sign) and replaced by "c".
TEST(Transformer, ReplacingMinusBByCGivesPlusC)
{
    TransformerFixture f("a-b");
    f.transformer->OnLeftDown(f.At("b"), true);
    EXPECT_EQ(f.transformer->MultiSelection().GetLexemText(), "-b");
    EXPECT_TRUE(f.transformer->MultiSelection().TookLeadingMinus());
    f.transformer->OnRightDown(f.At("b"), false);
    EXPECT_EQ(f.listener.events.back(), "rclick 1 ((-1)*!b)");
    f.transformer->SetOperationResult(true, "c", true);
    EXPECT_EQ(f.Text(), "a+c");
    EXPECT_TRUE(f.transformer->MultiSelection().Empty());
}

TEST(Transformer, ResultThatCannotBeReadShows1010)
{
    TransformerFixture f("a+b");
    f.transformer->OnMouseMove(f.At("a"), false);
    f.transformer->OnDoubleClick(f.At("a"));
    f.transformer->SetOperationResult(true, "\xC0", false);
    EXPECT_EQ(f.Text(), "a+b");
    EXPECT_EQ(f.messages, std::vector<std::string>{std::string(GetMessageText(1010))});
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
}

// A whole equation in place of a letter (what a host does for code 14
// before it sets the whole formula): 1009 once, and the control goes on.
TEST(Transformer, ResultThatCannotBePlacedShows1009Once)
{
    TransformerFixture f("2*x+3=7");
    f.transformer->OnMouseMove(f.At("x"), false);
    f.transformer->OnDoubleClick(f.At("x"));
    f.transformer->SetOperationResult(true, "x=2", true);
    EXPECT_EQ(f.messages, std::vector<std::string>{std::string(GetMessageText(1009))});
    EXPECT_EQ(f.env.TreeRoot(), nullptr);
    EXPECT_FALSE(f.transformer->OnMouseMove({5, 5}, false));
    EXPECT_FALSE(f.transformer->OnDoubleClick({5, 5}));
    EnvError error;
    ASSERT_TRUE(f.env.SetAplanText("x=2", error));
    f.Relayout();
    EXPECT_TRUE(f.transformer->OnMouseMove(f.At("2"), false));
    EXPECT_EQ(Highlighted(f), "2");
}

// A text nested `levels` templates deep around `inner`, each opened by
// `open` ("@sqrroot$") and closed by "#".
std::string Nest(int levels, const std::string& inner, const std::string& open = "@sqrroot$")
{
    std::string text;
    for (int i = 0; i < levels; ++i) {
        text += open;
    }
    return text + inner + std::string(static_cast<std::size_t>(levels), '#');
}

// The same as Aplan text: nested sines.
std::string AplanSines(int levels, const std::string& inner)
{
    std::string text;
    for (int i = 0; i < levels; ++i) {
        text += "Sin(";
    }
    return text + inner + std::string(static_cast<std::size_t>(levels), ')');
}

// A result that would nest the formula deeper than the lexeme reader reads
// back is refused as a paste that deep is: the formula stays as it was and
// readable, message 1035, and the control goes on; one level less goes in.
struct DeepResultCase {
    std::string name;
    std::string formula;
    // Picks the operated part and asks the host.
    std::function<void(TransformerFixture&)> ask;
    std::string fits;
    std::string tooDeep;
    bool aplan;
    std::string afterFits;
};

TEST(Transformer, ResultDeeperThanTheReaderReadsIsRefused)
{
    constexpr int kMax = CLexemParser::kMaxDepth;
    constexpr int kDeep = kMax / 2 + 8;
    auto doubleClick = [](std::string node) {
        return [node](TransformerFixture& f) {
            f.transformer->OnMouseMove(f.At(node), false);
            f.transformer->OnDoubleClick(f.At(node));
        };
    };
    const DeepResultCase cases[] = {
        {"Sum", Nest(kDeep, "x+1"), doubleClick("+"), Nest(kMax - kDeep, "y"), Nest(kMax - kDeep + 1, "y"), false,
         Nest(kMax, "y")},
        {"AplanResult", Nest(kDeep, "x+1"), doubleClick("+"), AplanSines(kMax - kDeep, "y"),
         AplanSines(kMax - kDeep + 1, "y"), true, Nest(kDeep, Nest(kMax - kDeep, "y", "@func$sin$"))},
        // The brackets around a sum put in for a factor are a level too.
        {"FactorInBrackets", Nest(kDeep, "2*x"), doubleClick("x"), "y+" + Nest(kMax - kDeep - 1, "z"),
         "y+" + Nest(kMax - kDeep, "z"), false, Nest(kDeep, "2*@br_row_round$y+" + Nest(kMax - kDeep - 1, "z") + "#")},
        {"LinesOfASystem", "@system$x+y=5$x-y=1#",
         [](TransformerFixture& f) {
             f.transformer->OnLeftDown(f.At("=", 0), true);
             f.transformer->OnLeftDown(f.At("=", 1), true);
             f.transformer->OnRightDown(f.At("=", 1), false);
         },
         Nest(kMax - 1, "x") + "=3", Nest(kMax, "x") + "=3", false, "@system$" + Nest(kMax - 1, "x") + "=3#"},
        {"DropOfTwoRelations", "@system$x+y=5$x-y=1#",
         [](TransformerFixture& f) { f.DragTo("=", 0, "=", 1); }, Nest(kMax - 1, "x") + "=3",
         Nest(kMax, "x") + "=3", false, "@system$x+y=5$" + Nest(kMax - 1, "x") + "=3#"},
    };
    for (const DeepResultCase& c : cases) {
        for (const bool fits : {true, false}) {
            SCOPED_TRACE(c.name + (fits ? " fits" : " too deep"));
            TransformerFixture f(c.formula);
            c.ask(f);
            ASSERT_NE(f.transformer->Pending(), PendingOperation::None);
            EXPECT_TRUE(f.transformer->SetOperationResult(true, fits ? c.fits : c.tooDeep, c.aplan));
            EXPECT_EQ(f.Text(), fits ? c.afterFits : c.formula);
            EXPECT_EQ(f.messages, fits ? std::vector<std::string>{}
                                       : std::vector<std::string>{std::string(GetMessageText(msg::TooDeep))});
            EXPECT_NO_THROW(CLexemParser().Parse(f.Text()));
            EXPECT_NE(f.env.TreeRoot(), nullptr);
            EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
        }
    }
}

// A substitution from one line of a system into a deep place of another
// stops at the same depth.
TEST(Transformer, SubstitutionDeeperThanTheReaderReadsIsRefused)
{
    constexpr int kMax = CLexemParser::kMaxDepth;
    const int side = kMax / 2;
    // The system is one level; the rest of the limit is left for x's place.
    for (const int place : {kMax - side - 1, kMax - side}) {
        SCOPED_TRACE(place);
        const bool fits = 1 + place + side <= kMax;
        const std::string formula = "@system$x=" + Nest(side, "y") + "$" + Nest(place, "x") + "=1#";
        TransformerFixture f(formula);
        f.DragTo("x", 0, "x", 1);
        if (fits) {
            EXPECT_EQ(f.Text(), "@system$x=" + Nest(side, "y") + "$" + Nest(place + side, "y") + "=1#");
            EXPECT_TRUE(f.messages.empty());
            EXPECT_EQ(f.listener.events.back(), "transformed");
        } else {
            EXPECT_EQ(f.Text(), formula);
            EXPECT_EQ(f.messages, std::vector<std::string>{std::string(GetMessageText(msg::TooDeep))});
            EXPECT_EQ(f.listener.events, std::vector<std::string>{"lclick"});
        }
        EXPECT_NO_THROW(CLexemParser().Parse(f.Text()));
        EXPECT_NE(f.env.TreeRoot(), nullptr);
    }
}

TEST(MultiSelection, TermModeTextsAndReplacement)
{
    TransformerFixture f("a+b+c");
    f.transformer->OnLeftDown(f.At("a"), true);
    f.transformer->OnLeftDown(f.At("c"), true);
    CRowMultySel& multi = f.transformer->MultiSelection();
    EXPECT_EQ(multi.GetMode(), CRowMultySel::Mode::Term);
    ASSERT_EQ(multi.Count(), 2);
    EXPECT_EQ(multi.GetAplanText(), "(a)+!(c)");
    EXPECT_EQ(multi.GetLexemText(), "a+c");
    // More than one item: no drag starts.
    EXPECT_FALSE(f.transformer->Dragging());
    // A node of another operation, or one already inside, is refused.
    EXPECT_FALSE(multi.Add(f.Node("a")));
    f.transformer->OnMouseMove(f.At("c"), false);
    ASSERT_TRUE(f.transformer->OnDoubleClick(f.At("c")));
    EXPECT_EQ(f.listener.events.back(), "dblclick 1 (a)+!(c)");
    f.transformer->SetOperationResult(true, "x", true);
    EXPECT_EQ(f.Text(), "x+b");
}

TEST(MultiSelection, TermModeRefusesOtherOperations)
{
    TransformerFixture f("a*b+c");
    CRowMultySel& multi = f.transformer->MultiSelection();
    ASSERT_TRUE(multi.Add(f.Node("a")));
    EXPECT_FALSE(multi.Add(f.Node("c")));
    EXPECT_TRUE(multi.Add(f.Node("b")));
    EXPECT_EQ(multi.GetAplanText(), "(a)*!(b)");
    EXPECT_EQ(multi.GetLexemText(), "a*b");
}

TEST(MultiSelection, NegativeItemsKeepTheirMinus)
{
    TransformerFixture f("a-b+c-d");
    CRowMultySel& multi = f.transformer->MultiSelection();
    ASSERT_TRUE(multi.Add(f.Node("a")));
    ASSERT_TRUE(multi.Add(f.Node("d")));
    EXPECT_FALSE(multi.TookLeadingMinus());
    EXPECT_EQ(multi.GetLexemText(), "a-d");
    EXPECT_EQ(multi.GetAplanText(), "(a)+!((-1)*!d)");
}

TEST(MultiSelection, LineModeTextsAndReplacement)
{
    TransformerFixture f("@system$x+y=5$x-y=1$x=0#");
    f.transformer->OnLeftDown(f.At("=", 0), true);
    f.transformer->OnLeftDown(f.At("=", 2), true);
    CRowMultySel& multi = f.transformer->MultiSelection();
    EXPECT_EQ(multi.GetMode(), CRowMultySel::Mode::Line);
    EXPECT_EQ(multi.GetAplanText(), "System(x+!y=!5 &! x=!0)");
    EXPECT_EQ(multi.GetLexemText(), "x+y=5@#x=0");
    // Each line once; no terms in line mode.
    EXPECT_FALSE(multi.Add(f.Node("=", 0)));
    EXPECT_FALSE(multi.Add(f.Node("5")));
    // The right click reports the system.
    f.transformer->OnRightDown(f.At("=", 1), false);
    EXPECT_EQ(f.listener.events.back(), "rclick 12 System(x+!y=!5 &! x=!0 &! x+!(-1)*!y=!1)");
    f.transformer->SetOperationResult(true, "y=5", true);
    EXPECT_EQ(f.Text(), "@system$y=5#");
}

struct BracketCase {
    std::string formula;
    std::string after;
};

TEST(RedundantBrackets, RemovedWhereTheyChangeNothing)
{
    const BracketCase cases[] = {
        {"(a+b)+c", "a+b+c"},
        {"a+(b-c)", "a+b-c"},
        {"a-(b*c)", "a-b*c"},
        {"x=(a+b)", "x=a+b"},
        {"(a+b)", "a+b"},
        {"(a:b):c", "a:b:c"},
        {"a*(b/c)", "a*b/c"},
        {"@hor_frac$(a+b)$2#", "@hor_frac$a+b$2#"},
        {"((a+b))*c", "@br_row_round$a+b#*c"},
        {"a-(b+c)", "a-@br_row_round$b+c#"},
        {"(a+b)*c", "@br_row_round$a+b#*c"},
        {"2*(-3)", "2*@br_row_round$-3#"},
        {"-(a+b)+c", "-@br_row_round$a+b#+c"},
        {"a:(b:c)", "a:@br_row_round$b:c#"},
        {"@index_up$(a+b)$2#", "@index_up$@br_row_round$a+b#$2#"},
        {"@br_persist_rr$a+b#+c", "@br_persist_rr$a+b#+c"},
    };
    for (const BracketCase& c : cases) {
        SCOPED_TRACE(c.formula);
        TransformerFixture f(c.formula);
        EXPECT_TRUE(f.transformer->RemoveRedundantBrackets());
        EXPECT_EQ(f.Text(), c.after);
    }
}

}  // namespace
}  // namespace formula
