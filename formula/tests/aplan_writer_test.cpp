// The Aplan writer: lexeme text in, the kernel's request text out, with the
// incomplete flag of parts that have no full Aplan form.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/display_settings.h"
#include "formula/model/parse_context.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/all.h"
#include "formula/notation/aplan_writer.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

struct WriterCase {
    std::string lexemText;
    std::string aplan;
    bool incomplete = false;
    std::vector<TemplateType> covers = {};
};

std::string Aplan(std::string_view lexemText, bool* incomplete = nullptr)
{
    return AplanText(*test::Read(lexemText), incomplete);
}

const std::vector<WriterCase>& WriterCases()
{
    using T = TemplateType;
    static const std::vector<WriterCase> cases = {
        // Signs and sign folding.
        {"", ""},
        {"x+1", "x+!1", false, {T::Char}},
        {"x-y", "x+!(-1)*!y"},
        {"a-5", "a+!(-5)"},
        {"-5", "(-5)"},
        {"-x", "(-1)*!x"},
        {"x=-5", "x=!(-5)"},
        {"2*x:y/z", "2*!x/!y/!z"},
        {"5%", "5%!"},
        {"x<1", "x<!1"},
        {"x>1", "x>!1"},
        {"a?b", "a?!b"},
        {"a;b", "a,b"},
        {"(x-1)", "(x+!(-1))", false, {T::BracketChar}},
        {"x-", "x-"},
        {"-@spec_atom$inf#", " MinusInfSet "},
        {"+@spec_atom$inf#", " PlusInfSet "},
        {"x=1@#y=2", "x=!1,y=!2", false, {T::Aggregate}},
        // Numbers.
        {"12", "12", false, {T::RealNum}},
        {"3,25", "RealNum(\"3\",\"25\")"},
        {"-3,5", "RealNum(\"-3\",\"5\")"},
        {"x-3,5", "x+!RealNum(\"-3\",\"5\")"},
        {"0,1(6)", "PeriodNum(\"0\",\"1\",\"(6)\")"},
        {"-0,1(6)", "PeriodNum(\"-0\",\"1\",\"(6)\")"},
        {"1,(3)", "PeriodNum(\"1\",\"\",\"(3)\")"},
        // Fractions and mixed numbers.
        {"@hor_frac$3$4#", "3//4", false, {T::HorFrac}},
        {"@hor_frac$a$b#", "(a/!b)"},
        {"@hor_frac$x+1$2#", "((x+!1)/!2)"},
        {"@hor_frac$1$x-1#", "(1/!(x+!(-1)))"},
        {"@diag_frac$3$4#", "3//4", false, {T::DiagFrac}},
        {"@diag_frac$a$b+c#", "(a/!(b+!c))"},
        {"-@hor_frac$3$4#", "(-3)//4"},
        {"-@hor_frac$a$4#", "(-1)*!(a/!4)"},
        {"2@hor_frac$3$4#", "(2#!(3//4))"},
        {"-2@hor_frac$3$4#", "(-1)*(2#!(3//4))"},
        {"x-2@hor_frac$3$4#", "x+!(-1)*(2#!(3//4))"},
        {"2@hor_frac$x$4#", "2(x/!4)"},
        {"2,5@hor_frac$3$4#", "RealNum(\"2\",\"5\")3//4"},
        {"@simple_frac$3$4#", "3//4", false, {T::SimpleFrac}},
        {"-@simple_frac$3$4#", "(-3)//4"},
        {"2@simple_frac$3$4#", "(2#!(3//4))"},
        {"@mixed_frac$2$3$4#", "(2#!(3//4))", false, {T::MixedFrac}},
        {"-@mixed_frac$2$3$4#", "((-2)#!(3//4))"},
        // Indexes.
        {"@index_up$x$2#", "x^!2", false, {T::IndexUp}},
        {"@index_up$x$n+1#", "x^!(n+!1)"},
        {"@index_up$x+1$2#", "(x+!1)^!2"},
        {"@index_up$2$3#", "(2)^!3"},
        {"@index_dn$x$1#", "x1", false, {T::IndexDn}},
        {"@index_dn$x$n#", "xn", true},
        {"@index_updn$x$2$1#", "x1^!2", false, {T::IndexUpDn}},
        {"@index$x$$#", "x", false, {T::Index}},
        {"@subsup$x$2$1#", "x1^!2", false, {T::SubSup}},
        {"@integrationLimit$F$b$a#", "Fa^!b", true, {T::IntegrationLimit}},
        {"@progmem$a$n+1#", "i_name(a,n+!1)", false, {T::ProgMem}},
        // Functions.
        {"@func$sin$x#", "Sin(x)", false, {T::Func}},
        {"@func$arcctg$x#", "Arcctg(x)"},
        {"@func$lg$x-1#", "Lg(x+!(-1))"},
        {"@index_up$@func$cos$x#$2#", "", true, {T::IndexFunc}},
        // Lines.
        {"@system$x+y=1$x-y=3#", "System((x+!y=!1) &! (x+!(-1)*!y=!3))", false, {T::System}},
        {"@union$x=1$x=2#", "Union((x=!1) |! (x=!2))", false, {T::Union}},
        // Brackets, sets and intervals.
        {"@br_row_round$x+1#", "(x+!1)", false, {T::BrRound}},
        {"@br_persist_rr$x#", "(x)", false, {T::BrPersistRound}},
        {"@br_row_square$a#", "(a)", false, {T::BrSquare}},
        {"@br_row_abs$x-1#", "_abs(x+!(-1))", false, {T::BrAbs}},
        {"@br_row_figur$1;-2#", "_range((1,(-2)))", false, {T::BrFigure}},
        {"@interval$1$0$-@spec_atom$inf#$5#", "Interval(1,0, MinusInfSet ,5)", false, {T::Interval}},
        {"x@spec$blng#@spec_atom$eset#", "x ||  Sets(EmptySet) ", false, {T::OperatorSign, T::SpecAtom}},
        // Roots, derivatives, big operators.
        {"@sqrroot$x#", "_sqrt(x)", false, {T::SqrRoot}},
        {"@sqrtcan$x+1#", "_sqrt(x+!1)", false, {T::SqrtCan}},
        {"@root$3$x#", "", true, {T::Root}},
        {"@deriv$x+1#", "Derive((x+!1))", false, {T::Deriv}},
        {"@deriv$y$2#", "Derive(y)", true},
        {"@integral$f$a$b#", "integral(f,a,b)", false, {T::Integral}},
        {"@integral_undef$f#", "integral_undef(f)", false, {T::IntegralUndef}},
        {"@summa$k$n$1#", "", true, {T::Summa}},
        {"@lim$f$x$0#", "", true, {T::Lim}},
        {"@bool$1#+@bool$0#", "True+!False", false, {T::Bool}},
        // The flag passes up through everything around the part.
        {"x+@hor_frac$1$@root$3$x##", "x+!(1/!)", true},
    };
    return cases;
}

TEST(AplanWriter, WritesEveryForm)
{
    for (const WriterCase& c : WriterCases()) {
        SCOPED_TRACE(c.lexemText);
        bool incomplete = !c.incomplete;
        EXPECT_EQ(Aplan(c.lexemText, &incomplete), c.aplan);
        EXPECT_EQ(incomplete, c.incomplete);
    }
}

TEST(AplanWriter, EveryTemplateKindHasARow)
{
    std::set<TemplateType> covered;
    for (const WriterCase& c : WriterCases()) {
        covered.insert(c.covers.begin(), c.covers.end());
    }
    for (const TemplateKind& kind : kTemplateKinds) {
        EXPECT_TRUE(covered.count(kind.type)) << kind.name;
    }
}

// The mixed number of a minus, a number and a fraction, before and after the
// normalising pass has merged number and fraction.
TEST(AplanWriter, NegativeMixedNumberBeforeAndAfterNormalising)
{
    CDisplaySettings settings;
    auto root = test::Read("-2@hor_frac$3$4#", &settings);
    EXPECT_EQ(AplanText(*root), "(-1)*(2#!(3//4))");
    ParseContext context;
    root->Normalize(context);
    ASSERT_FALSE(context.invalid);
    EXPECT_EQ(root->LexemText(), "-@mixed_frac$2$3$4#");
    EXPECT_EQ(AplanText(*root), "((-2)#!(3//4))");
}

TEST(AplanWriter, RelationWordsAndAtoms)
{
    const std::vector<std::pair<int, std::string>> words = {
        {94, " perp "},         {163, "<=!"},    {176, " deg "},     {177, "+-"},         {179, ">=!"},
        {185, " <>! "},         {199, " &! "},   {200, " |! "},      {204, " belongSet "}, {205, " belongEquSet "},
        {206, " || "},          {207, " ||! "},  {208, " corn "},    {219, " dbarrow "},  {220, " rlarrow "},
        {222, " lrarrow "},
    };
    for (const auto& [code, word] : words) {
        bool incomplete = true;
        EXPECT_EQ(AplanText(CRelationSign(code), &incomplete), word) << code;
        EXPECT_FALSE(incomplete) << code;
    }
    for (int code : {174, 112, 63}) {
        bool incomplete = false;
        EXPECT_EQ(AplanText(CRelationSign(code), &incomplete), "???") << code;
        EXPECT_TRUE(incomplete) << code;
    }
    const std::vector<std::pair<int, std::string>> atoms = {
        {109, " mu "}, {112, " pi "}, {165, " Sets(InfSet) "}, {194, " Sets(NumLine) "}, {198, " Sets(EmptySet) "},
    };
    for (const auto& [code, word] : atoms) {
        bool incomplete = true;
        EXPECT_EQ(AplanText(CSpecAtom(code), &incomplete), word) << code;
        EXPECT_FALSE(incomplete) << code;
    }
    for (int code : {68, 97, 98, 101, 103, 63}) {
        bool incomplete = false;
        EXPECT_EQ(AplanText(CSpecAtom(code), &incomplete), " (NotImplemented) ") << code;
        EXPECT_TRUE(incomplete) << code;
    }
}

// A selection starts a range: its leading minus is not a binary one.
TEST(AplanWriter, RangeOfARow)
{
    auto root = test::Read("a-b+c");
    const CLexemRow& line = *root->GetRow(0);
    AplanContext context;
    std::string text;
    line.GetAplanTextRange(2, 3, text, context);
    EXPECT_EQ(text, "(-1)*!b");
    text.clear();
    line.GetAplanTextRange(1, 3, text, context);
    EXPECT_EQ(text, "a+!(-1)*!b");
    text.clear();
    line.GetAplanTextRange(3, 5, text, context);
    EXPECT_EQ(text, "b+!c");
    text.clear();
    line.GetAplanTextRange(0, 100, text, context);
    EXPECT_EQ(text, "a+!(-1)*!b+!c");
}

TEST(AplanWriter, LinesOfAMultiRowTemplate)
{
    CMultiRowTemplate lines;
    lines.InsertNewRow(nullptr, false)->InsertText(0, "x=1");
    lines.InsertNewRow(lines.GetRow(0), false)->InsertText(0, "y-2");
    EXPECT_EQ(AplanText(lines), "(x=!1),(y+!(-2))");
}

}  // namespace
}  // namespace formula
