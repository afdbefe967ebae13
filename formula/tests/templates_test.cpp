// Template kinds: their rows, row flags, optional rows and the types that
// follow them, names and ids.
#include <gtest/gtest.h>

#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/cursor_path.h"
#include "formula/model/display_settings.h"
#include "formula/model/numbers.h"
#include "formula/model/templates/all.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

using test::Describe;

TEST(TemplateNames, BothWaysThroughTheTable)
{
    EXPECT_EQ(GetTemplateName(TemplateType::HorFrac), "hor_frac");
    EXPECT_EQ(GetTemplateName(TemplateType::IntegrationLimit), "integrationLimit");
    EXPECT_EQ(GetTemplateName(TemplateType::Char), "spec");
    EXPECT_EQ(GetTemplateName(TemplateType::OperatorSign), "spec");
    for (TemplateType unnamed : {TemplateType::None, TemplateType::Number, TemplateType::RealNum,
                                 TemplateType::BracketChar, TemplateType::Index}) {
        EXPECT_EQ(GetTemplateName(unnamed), "UNKNOWN_TEMPLATE_NAME_OR_INVALID_TEMPLATE");
    }
    EXPECT_EQ(GetTemplateName(static_cast<TemplateType>(99)), "UNKNOWN_TEMPLATE_NAME_OR_INVALID_TEMPLATE");
    // Every type 2-37 except the unnamed ones has exactly one row.
    int named = 0;
    for (int type = 1; type <= 37; ++type) {
        if (GetTemplateName(static_cast<TemplateType>(type)) != kUnknownTemplateName) {
            ++named;
        }
    }
    EXPECT_EQ(named, 33);
}

TEST(FunctionIds, NamesBothWays)
{
    for (int id = 1; id <= 11; ++id) {
        EXPECT_EQ(GetFuncId(GetFuncName(id)), id);
    }
    EXPECT_EQ(GetFuncName(3), "tg");
    EXPECT_EQ(GetFuncName(0), "");
    EXPECT_EQ(GetFuncName(12), "");
    EXPECT_EQ(GetFuncId("SIN"), 1);
    EXPECT_EQ(GetFuncId("ArcCtg"), 8);
    EXPECT_EQ(GetFuncId("SIN", true), -1);
    EXPECT_EQ(GetFuncId("sin", true), 1);
    EXPECT_EQ(GetFuncId("sinus"), -1);
    EXPECT_EQ(GetFuncId(""), -1);
}

TEST(IndexTemplate, TypeFollowsTheRows)
{
    CIndexTemplate index;
    EXPECT_EQ(index.Type(), TemplateType::Index);
    EXPECT_EQ(index.Group(), TemplateGroup::Index);
    index.SetUpper(true);
    EXPECT_EQ(index.Type(), TemplateType::IndexUp);
    index.SetLower(true);
    EXPECT_EQ(index.Type(), TemplateType::IndexUpDn);
    EXPECT_NE(dynamic_cast<CLowerIndexRow*>(index.Lower()), nullptr);
    EXPECT_TRUE(index.Upper()->HeadIsStop());
    EXPECT_EQ(index.Upper()->Parent(), &index);
    index.SetUpper(false);
    EXPECT_EQ(index.Type(), TemplateType::IndexDn);
    EXPECT_TRUE(index.IsSubscriptOnly());
    index.SetLower(false);
    EXPECT_EQ(index.Type(), TemplateType::Index);
    EXPECT_TRUE(index.Base()->BracketWhenCompound());
    EXPECT_TRUE(index.Base()->HeadIsStop());
}

TEST(IndexTemplate, FamilyKeepsItsType)
{
    CIndexFuncTemplate func(1);
    func.SetUpper(true);
    func.SetLower(true);
    EXPECT_EQ(func.Type(), TemplateType::IndexFunc);
    EXPECT_EQ(func.Group(), TemplateGroup::Function);
    EXPECT_TRUE(func.Base()->AlwaysBracketed());

    CSubSupTemplate subsup;
    EXPECT_EQ(subsup.Type(), TemplateType::SubSup);
    EXPECT_NE(subsup.Upper(), nullptr);
    EXPECT_NE(subsup.Lower(), nullptr);
    CIntegrationLimitTemplate limits;
    EXPECT_EQ(limits.Type(), TemplateType::IntegrationLimit);
    EXPECT_NE(limits.Upper(), nullptr);
    EXPECT_NE(limits.Lower(), nullptr);

    CProgMemTemplate member;
    EXPECT_EQ(member.Type(), TemplateType::ProgMem);
    ASSERT_NE(member.Lower(), nullptr);
    EXPECT_TRUE(member.Lower()->AlwaysBracketed());
    EXPECT_EQ(member.Lower()->InsertAfter(0, MakeCharLexem('n')), 1);
}

TEST(IndexTemplate, HandsRowsOver)
{
    auto root = test::Read("@index_updn$x$2$1#");
    auto* from = static_cast<CIndexTemplate*>(root->GetRow(0)->Child(1));
    CIndexTemplate to;
    from->MoveUpperTo(to);
    EXPECT_EQ(from->Type(), TemplateType::IndexDn);
    EXPECT_EQ(to.Type(), TemplateType::IndexUp);
    EXPECT_EQ(to.Upper()->Parent(), &to);
    from->MoveAllTo(to);
    EXPECT_EQ(to.LexemText(), "@index_dn$x$1#");
    EXPECT_EQ(from->LexemText(), "@index$$$#");
}

TEST(IntegralTemplate, DefiniteAndIndefinite)
{
    CIntegralTemplate integral;
    EXPECT_EQ(integral.Type(), TemplateType::Integral);
    EXPECT_EQ(integral.Group(), TemplateGroup::BigOperator);
    integral.UpperLimit()->AddChild(MakeCharLexem('b'));
    integral.SetDefinite(false);
    EXPECT_EQ(integral.Type(), TemplateType::IntegralUndef);
    EXPECT_EQ(integral.UpperLimit(), nullptr);
    EXPECT_EQ(integral.LowerLimit(), nullptr);
    integral.SetDefinite(true);
    EXPECT_EQ(integral.Type(), TemplateType::Integral);
    ASSERT_NE(integral.UpperLimit(), nullptr);
    ASSERT_NE(integral.LowerLimit(), nullptr);
    EXPECT_TRUE(integral.UpperLimit()->IsEmpty());
    EXPECT_TRUE(integral.LowerLimit()->IsEmpty());
    EXPECT_EQ(integral.UpperLimit()->Parent(), &integral);

    CSummaTemplate sum;
    EXPECT_EQ(sum.Type(), TemplateType::Summa);
    EXPECT_NE(sum.UpperLimit(), nullptr);
}

TEST(MixedFracTemplate, WholePart)
{
    CMixedFracTemplate fraction;
    EXPECT_EQ(fraction.Type(), TemplateType::SimpleFrac);
    EXPECT_EQ(fraction.WholePart(), nullptr);
    EXPECT_TRUE(fraction.Numerator()->HeadIsStop());
    fraction.SetMixed(true);
    EXPECT_EQ(fraction.Type(), TemplateType::MixedFrac);
    ASSERT_NE(fraction.WholePart(), nullptr);
    EXPECT_FALSE(fraction.WholePart()->HeadIsStop());
    // Typing a letter into a part inserts nothing.
    EXPECT_EQ(fraction.Numerator()->InsertAfter(0, MakeCharLexem('a')), -1);
    fraction.SetMixed(false);
    EXPECT_EQ(fraction.Type(), TemplateType::SimpleFrac);
    EXPECT_EQ(fraction.WholePart(), nullptr);
}

TEST(DerivTemplate, PrimeAndOrderRows)
{
    CDerivTemplate deriv;
    EXPECT_EQ(deriv.PrimeRow()->LexemText(), "'");
    EXPECT_TRUE(deriv.Body()->BracketWhenCompound());
    deriv.SetPrime(false);
    EXPECT_EQ(deriv.PrimeRow(), nullptr);
    EXPECT_EQ(deriv.Type(), TemplateType::Deriv);
    deriv.SetPrime(true);
    EXPECT_EQ(deriv.PrimeRow()->LexemText(), "'");

    CNDerivTemplate nderiv;
    EXPECT_EQ(nderiv.Type(), TemplateType::Deriv);
    EXPECT_EQ(nderiv.Group(), TemplateGroup::NDerivative);
    EXPECT_TRUE(nderiv.Order()->IsEmpty());
    EXPECT_TRUE(nderiv.Order()->AlwaysBracketed());
}

TEST(Templates, RowsAndFlags)
{
    CFuncTemplate func(3);
    EXPECT_TRUE(func.Argument()->AlwaysBracketed());
    EXPECT_EQ(func.Group(), TemplateGroup::Function);

    CLimTemplate lim;
    EXPECT_EQ(Describe(*lim.Arrow()), "row(rel174)");
    EXPECT_TRUE(lim.Body()->BracketWhenCompound());

    CRootTemplate root;
    EXPECT_EQ(root.Sqrt()->Type(), TemplateType::SqrRoot);
    EXPECT_EQ(root.Radicand()->Parent(), root.Sqrt());
    EXPECT_EQ(root.Sqrt()->Parent(), &root);

    CSystemTemplate system(false, false);
    EXPECT_EQ(system.GetRowCount(), 2);
    EXPECT_EQ(system.Type(), TemplateType::System);
    CSystemTemplate unionTemplate(true, true);
    EXPECT_EQ(unionTemplate.GetRowCount(), 0);
    EXPECT_EQ(unionTemplate.Type(), TemplateType::Union);
    CAggregateTemplate aggregate;
    EXPECT_EQ(aggregate.GetRowCount(), 0);
    EXPECT_TRUE(aggregate.ShowSymbol());
    EXPECT_EQ(aggregate.SymbolColour(), Rgb(173, 191, 191));

    CBracketsTemplate persistent(BracketKind::Round, true);
    EXPECT_EQ(persistent.Type(), TemplateType::BrPersistRound);
    EXPECT_EQ(CBracketsTemplate(BracketKind::Abs, false).Type(), TemplateType::BrAbs);
    EXPECT_EQ(CRangeTemplate().Type(), TemplateType::BrFigure);
    EXPECT_TRUE(CRangeTemplate().IsPersistent());
    CIntervalTemplate interval(BracketKind::Square, BracketKind::Round);
    EXPECT_EQ(interval.Group(), TemplateGroup::Interval);
    EXPECT_EQ(CBoolTemplate(true).LexemText(), "@bool$1#");
}

TEST(MultiRowTemplate, LineOperations)
{
    auto root = test::Read("@system$a$b$c#");
    auto* system = static_cast<CSystemTemplate*>(root->GetRow(0)->Child(1));
    EXPECT_EQ(system->GetRowCount(), 3);
    EXPECT_EQ(system->GetFirstRow()->LexemText(), "a");
    EXPECT_EQ(system->IndexOfRow(system->GetRow(2)), 2);
    EXPECT_EQ(system->GetRow(3), nullptr);

    system->InsertNewRow(system->GetRow(0), false);
    EXPECT_EQ(root->LexemText(), "@system$a$$b$c#");
    EXPECT_EQ(system->GetRow(1)->Parent(), system);
    EXPECT_EQ(system->DeleteRow(1, false), 1);
    EXPECT_EQ(system->DeleteRow(2, false), -1);
    EXPECT_EQ(system->DeleteRow(1, true), 0);
    EXPECT_EQ(root->LexemText(), "@system$a#");
    system->AddLexem(MakeCharLexem('b'), true);
    EXPECT_EQ(root->LexemText(), "@system$a$b#");

    std::vector<std::unique_ptr<CLineRow>> lines;
    system->DetachRows(0, 0, lines);
    ASSERT_EQ(lines.size(), 1u);
    system->InsertRows(std::move(lines), 0);
    EXPECT_EQ(root->LexemText(), "@system$b$a#");
    system->AddLexem(MakeCharLexem('x'));
    EXPECT_EQ(root->LexemText(), "@system$b$ax#");

    int code = -1;
    system->RemoveRow(system->GetRow(0), code);
    EXPECT_EQ(code, remove_code::Done);
    EXPECT_EQ(root->LexemText(), "@system$ax#");
    system->RemoveRow(system->GetRow(0), code);
    EXPECT_EQ(code, remove_code::TemplateEmptied);
    EXPECT_EQ(system->GetRowCount(), 1);

    // With one line left, deleting it empties it.
    EXPECT_EQ(system->DeleteRow(0, false), 0);
    EXPECT_EQ(root->LexemText(), "@system$#");

    system->AddLexem(MakeCharLexem('y'), true);
    system->InsertNewRow(nullptr, true);
    EXPECT_EQ(root->LexemText(), "@system$$$y#");
    system->Reset();
    EXPECT_EQ(root->LexemText(), "@system$#");
    EXPECT_EQ(system->GetRowCount(), 1);
    system->AddLexem(MakeCharLexem('z'), true);
    system->DeleteRows(0, 5);
    EXPECT_EQ(system->GetRowCount(), 1);
    EXPECT_EQ(root->LexemText(), "@system$#");
}

TEST(Templates, OwnerSelectionAndOffsetReachEveryRow)
{
    CDisplaySettings settings;
    auto root = test::Read("@hor_frac$@sqrroot$x#$@root$3$y##");
    root->SetOwner(&settings, nullptr);
    auto* fraction = static_cast<CHorFracTemplate*>(root->GetRow(0)->Child(1));
    auto* nthRoot = static_cast<CRootTemplate*>(fraction->Denominator()->Child(1));
    CLexem* y = nthRoot->Radicand()->Child(1);
    EXPECT_EQ(y->Owner(), &settings);
    EXPECT_EQ(y->Parent(), nthRoot->Radicand());

    root->SetSelected(true);
    EXPECT_TRUE(y->IsSelected());
    EXPECT_TRUE(nthRoot->Degree()->Child(1)->IsSelected());
    fraction->SetSelected(false);
    EXPECT_FALSE(y->IsSelected());
    EXPECT_TRUE(root->IsSelected());

    y->SetBox({10, 20, 5, 6, 23});
    root->Offset(3, -4);
    EXPECT_EQ(y->GetBox().x, 13);
    EXPECT_EQ(y->GetBox().y, 16);
    EXPECT_EQ(y->GetBox().axisY, 19);
}

TEST(Templates, InsertIntoPutsTheCursorAfterIt)
{
    auto root = test::Read("ab");
    CCursorPath path;
    const int pos = CTemplate::InsertInto(std::make_unique<CHorFracTemplate>(), *root->GetRow(0), 1, path);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(root->LexemText(), "a@hor_frac$$#b");
    ASSERT_EQ(path.Depth(), 1);
    EXPECT_EQ(path.Top(), root->GetRow(0)->Child(2));
    EXPECT_EQ(path.GetPos(), 0);
    EXPECT_EQ(path.Top()->Owner(), root->Owner());
}

}  // namespace
}  // namespace formula
