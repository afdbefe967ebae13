// The drag analysis: which drop kind a source and a target make, what the
// local drops leave after the rebuild, and which drops go to the host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/edit/selection.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/transformer_test_util.h"
#include "formula/transform/drag_operation.h"
#include "formula/transform/multi_selection.h"

namespace formula {
namespace {

using test::TransformerFixture;

struct DropCase {
    std::string name;
    std::string formula;
    std::string source;
    int sourceNth;
    std::string target;
    int targetNth;
    DropKind kind;
    // The formula after the drop, and the last event ("" for none).
    std::string after;
    std::string event;
};

std::string LastEvent(const TransformerFixture& f)
{
    // The press always fires the left click first.
    return f.listener.events.size() > 1 ? f.listener.events.back() : "";
}

class DropKinds : public ::testing::TestWithParam<DropCase> {
};

TEST_P(DropKinds, ClassifiesAndApplies)
{
    const DropCase& c = GetParam();
    TransformerFixture f(c.formula);
    COperationNode* source = f.Node(c.source, c.sourceNth);
    COperationNode* target = f.Node(c.target, c.targetNth);
    ASSERT_TRUE(source && target);
    EXPECT_EQ(f.transformer->DragAnalysis().Analyse(source, target), c.kind);
    f.DragTo(c.source, c.sourceNth, c.target, c.targetNth);
    EXPECT_EQ(f.Text(), c.after);
    EXPECT_EQ(LastEvent(f), c.event);
    EXPECT_TRUE(f.messages.empty());
    // A local drop leaves a usable tree and nothing pending behind.
    EXPECT_NE(f.env.TreeRoot(), nullptr);
    const bool asksHost = c.kind == DropKind::CombineTerms || c.kind == DropKind::CombineRelations;
    EXPECT_EQ(f.transformer->Pending(), asksHost ? PendingOperation::DragDrop : PendingOperation::None);
}

const DropCase kDropCases[] = {
    // Across a relation onto the relation sign (the sign left behind goes in
    // the rebuild's correction).
    {"TermOntoEquals", "2*x+3=7", "3", 0, "=", 0, DropKind::AcrossOntoRelation, "2*x=-3+7", "transformed"},
    {"OnlyTermLeavesZero", "2*x+3=7", "7", 0, "=", 0, DropKind::AcrossOntoRelation, "2*x+3-7=0", "transformed"},
    {"ProductTermOntoEquals", "2*x+3=7", "*", 0, "=", 0, DropKind::AcrossOntoRelation, "3=-2*x+7", "transformed"},
    {"NegativeTermOntoEquals", "2*x-3=7", "3", 0, "=", 0, DropKind::AcrossOntoRelation, "2*x=3+7", "transformed"},
    {"LeadingNegativeTerm", "-3+x=7", "3", 0, "=", 0, DropKind::AcrossOntoRelation, "x=3+7", "transformed"},
    {"MiddleNegativeTerm", "a-3+x=7", "3", 0, "=", 0, DropKind::AcrossOntoRelation, "a+x=3+7", "transformed"},
    {"LoneZeroReplaced", "x=0", "x", 0, "=", 0, DropKind::AcrossOntoRelation, "0=-x", "transformed"},
    {"LoneZeroOnTheLeft", "0=x-3", "x", 0, "=", 0, DropKind::AcrossOntoRelation, "-x=-3", "transformed"},
    {"FactorStays", "2*x+3=7", "x", 0, "=", 0, DropKind::None, "2*x+3=7", ""},
    // Anywhere on the other side: as onto the relation sign.
    {"TermOntoLoneZero", "x-3=0", "3", 0, "0", 0, DropKind::AcrossOntoSide, "x=3", "transformed"},
    {"TermOntoNumber", "2*x+3=7", "3", 0, "7", 0, DropKind::AcrossOntoSide, "2*x=-3+7", "transformed"},
    {"TermOntoFactor", "x+3=2*y", "3", 0, "y", 0, DropKind::AcrossOntoSide, "x=-3+2*y", "transformed"},
    {"TermOntoSignInsideBrackets", "x+3=2*(7-1)", "3", 0, "-", 0, DropKind::AcrossOntoSide, "x=-3+2*@br_row_round$7-1#",
     "transformed"},
    {"RightTermOntoLeftTerm", "x=y+5", "5", 0, "x", 0, DropKind::AcrossOntoSide, "x-5=y", "transformed"},
    {"TermOfAnInequality", "2*x+3>7", "3", 0, "7", 0, DropKind::AcrossOntoSide, "2*x>-3+7", "transformed"},
    {"FactorOntoTheOtherSideStays", "2*x+3=7", "x", 0, "7", 0, DropKind::None, "2*x+3=7", ""},
    // Two lone sides: the move across (no longer a request to the host).
    {"TwoSidesOfARelation", "x=y", "x", 0, "y", 0, DropKind::AcrossOntoSide, "0=-x+y", "transformed"},
    // Across a relation onto a sign of the other side.
    {"TermOntoMinus", "x+3=7-1", "3", 0, "-", 0, DropKind::AcrossOntoSign, "x=7-3-1", "transformed"},
    {"NegativeTermOntoPlus", "x-3=7+1", "3", 0, "+", 0, DropKind::AcrossOntoSign, "x=7+3+1", "transformed"},
    {"FirstTermOntoMinus", "x+3=7-1", "x", 0, "-", 0, DropKind::AcrossOntoSign, "3=7-x-1", "transformed"},
    // Within one operation.
    {"FirstTermForward", "a+b+c", "a", 0, "+", 1, DropKind::MoveTerm, "b+a+c", "transformed"},
    {"LastTermBack", "a+b+c", "c", 0, "+", 0, DropKind::MoveTerm, "a+c+b", "transformed"},
    {"TermBeforeMinus", "a-b+c", "c", 0, "-", 0, DropKind::MoveTerm, "a+c-b", "transformed"},
    {"NegativeTermBack", "a+b-c", "c", 0, "+", 0, DropKind::MoveTerm, "a-c+b", "transformed"},
    {"FactorForward", "a*b*c", "a", 0, "*", 1, DropKind::MoveTerm, "b*a*c", "transformed"},
    // Substitution inside a system.
    {"SubstituteProduct", "@system$y=2*x$x+y=3#", "y", 0, "y", 1, DropKind::Substitute,
     "@system$y=2*x$x+2*x=3#", "transformed"},
    {"SubstituteSumInBrackets", "@system$y=x+1$2-y=3#", "y", 0, "y", 1, DropKind::Substitute,
     "@system$y=x+1$2-@br_row_round$x+1#=3#", "transformed"},
    // Handed to the host.
    {"TwoTermsOfASum", "2*x+3+4=7", "3", 0, "4", 0, DropKind::CombineTerms, "2*x+3+4=7", "dragdrop 1 3|4"},
    {"TwoFactors", "a*b+c", "a", 0, "b", 0, DropKind::CombineTerms, "a*b+c", "dragdrop 4 a|b"},
    {"TwoRelations", "@system$x+y=5$x-y=1#", "=", 0, "=", 1, DropKind::CombineRelations, "@system$x+y=5$x-y=1#",
     "dragdrop 12 x+!y=!5|x+!(-1)*!y=!1"},
    // Nothing.
    {"OntoItself", "a+b", "a", 0, "a", 0, DropKind::None, "a+b", ""},
    {"OperandOntoItsSign", "a+b", "b", 0, "+", 0, DropKind::None, "a+b", ""},
};

INSTANTIATE_TEST_SUITE_P(Transformer, DropKinds, ::testing::ValuesIn(kDropCases),
                         [](const ::testing::TestParamInfo<DropCase>& info) { return info.param.name; });

TEST(DropTarget, OutsideAnyNodeNothingHappens)
{
    TransformerFixture f("a+b");
    f.transformer->OnLeftDown(f.At("a"), false);
    EXPECT_EQ(f.transformer->DragEnter(f.At("a")), DropEffect::Move);
    EXPECT_EQ(f.transformer->DragOver({5000, 5000}), DropEffect::None);
    f.transformer->Drop({5000, 5000});
    EXPECT_EQ(f.Text(), "a+b");
    EXPECT_EQ(f.listener.events, std::vector<std::string>{"lclick"});
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
}

TEST(DropTarget, EffectsWhileDragging)
{
    TransformerFixture f("2*x+3+4=7");
    f.transformer->OnLeftDown(f.At("3"), false);
    EXPECT_EQ(f.transformer->DragEnter(f.At("3")), DropEffect::Move);
    EXPECT_EQ(f.transformer->DragOver(f.At("=")), DropEffect::Link);
    // The node under the mouse is highlighted.
    EXPECT_EQ(f.env.Selection()->GetLexemText(), "2*x+3+4=7");
    EXPECT_EQ(f.transformer->DragOver(f.At("4")), DropEffect::Copy);
    EXPECT_EQ(f.env.Selection()->GetLexemText(), "4");
    EXPECT_EQ(f.transformer->DragOver(f.At("x")), DropEffect::Move);
}

TEST(DropTarget, NoDragWhilePending)
{
    TransformerFixture f("2*x+3+4=7");
    f.DragTo("3", 0, "4", 0);
    ASSERT_EQ(f.transformer->Pending(), PendingOperation::DragDrop);
    EXPECT_TRUE(f.transformer->OnLeftDown(f.At("3"), false));
    EXPECT_FALSE(f.transformer->Dragging());
    f.transformer->Drop(f.At("="));
    EXPECT_EQ(f.Text(), "2*x+3+4=7");
}

// The host's answers to the drops it was asked about.
TEST(DropResult, TwoTermsTargetTakesResultSourceGoesWithItsSign)
{
    TransformerFixture f("2*x+3+4=7");
    f.DragTo("3", 0, "4", 0);
    f.transformer->SetOperationResult(true, "7", true);
    EXPECT_EQ(f.Text(), "2*x+7=7");
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);

    TransformerFixture g("a-b+c=0");
    g.DragTo("c", 0, "a", 0);
    ASSERT_EQ(g.listener.events.back(), "dragdrop 1 c|a");
    g.transformer->SetOperationResult(true, "a+c", true);
    EXPECT_EQ(g.Text(), "a+c-b=0");
}

TEST(DropResult, TwoRelationsTargetLineReplaced)
{
    TransformerFixture f("@system$x+y=5$x-y=1#");
    f.DragTo("=", 0, "=", 1);
    f.transformer->SetOperationResult(true, "2*x=6", true);
    EXPECT_EQ(f.Text(), "@system$x+y=5$2*x=6#");
    EXPECT_TRUE(f.messages.empty());
}

TEST(DropResult, HostAnswersFromInsideTheEvent)
{
    TransformerFixture f("2*x+3+4=7");
    f.listener.answer = [&](const std::string& event) {
        if (event.rfind("dragdrop", 0) == 0) {
            f.transformer->SetOperationResult(true, "7", true);
        }
    };
    f.DragTo("3", 0, "4", 0);
    EXPECT_EQ(f.Text(), "2*x+7=7");
    EXPECT_EQ(f.transformer->Pending(), PendingOperation::None);
}

}  // namespace
}  // namespace formula
