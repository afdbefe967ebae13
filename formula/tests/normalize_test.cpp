// The normalising pass: brackets, mixed numbers, blanks, sign correction and
// bracket elimination, and the faults it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/model/display_settings.h"
#include "formula/model/parse_context.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

constexpr const char* kInvalid = "<invalid>";

std::string Normalized(const std::string& text, bool correction = true)
{
    CDisplaySettings settings;
    settings.SetCorrection(correction);
    auto root = test::Read(text, &settings);
    ParseContext context;
    root->Normalize(context);
    return context.invalid ? kInvalid : root->LexemText();
}

struct Case {
    std::string text;
    std::string normalized;
};

void Check(const std::vector<Case>& cases, bool correction = true)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Normalized(c.text, correction), c.normalized);
    }
}

TEST(Normalize, PairsBrackets)
{
    Check({
        {"(x+1)", "@br_row_round$x+1#"},
        {"[x]", "@br_row_square$x#"},
        {"(a+(b-c))*2", "@br_row_round$a+@br_row_round$b-c##*2"},
        {"{1;2}", "@br_row_figur$1;2#"},
        {"{1;-2,5;@simple_frac$1$3#}", "@br_row_figur$1;-2,5;@simple_frac$1$3##"},
        {"@system$(x+y)=1$[a]#", "@system$@br_row_round$x+y#=1$@br_row_square$a##"},
        {"@hor_frac$(a+b)$2#", "@hor_frac$@br_row_round$a+b#$2#"},
    });
}

TEST(Normalize, UnpairedBracketsMakeTheFormulaInvalid)
{
    Check({
        {"(x", kInvalid},
        {"x)", kInvalid},
        {"(x]", kInvalid},
        {"([x)]", kInvalid},
        {"@hor_frac$(a$b#", kInvalid},
        {"@system$x=1$y)=2#", kInvalid},
    });
}

TEST(Normalize, FigureBracketsHoldNumbersOnly)
{
    Check({
        {"{x}", kInvalid},
        {"{}", kInvalid},
        {"{1;}", kInvalid},
        {"{1 2}", kInvalid},
        {"@br_row_figur$1;x#", kInvalid},
        {"@br_row_figur$-1; 2#", "@br_row_figur$-1;2#"},
    });
}

TEST(Normalize, MergesMixedNumbers)
{
    Check({
        {"2@hor_frac$1$2#", "@mixed_frac$2$1$2#"},
        {"2@simple_frac$1$2#", "@mixed_frac$2$1$2#"},
        {"x+12 @hor_frac$3$4#", "x+@mixed_frac$12$3$4#"},
        {"2,5@hor_frac$1$2#", "2,5@hor_frac$1$2#"},
        {"0,(3)@hor_frac$1$2#", "0,(3)@hor_frac$1$2#"},
        {"2@hor_frac$1,5$2#", "2@hor_frac$1,5$2#"},
        {"2@hor_frac$x$2#", "2@hor_frac$x$2#"},
        {"2@hor_frac$1+1$2#", "2@hor_frac$1+1$2#"},
        {"x@hor_frac$1$2#", "x@hor_frac$1$2#"},
    });
}

TEST(Normalize, CorrectsSigns)
{
    Check({
        {"x+", "x"},
        {"x-", "x"},
        {"5%", "5%"},
        {"+x", "x"},
        {"*x", "x"},
        {"-x", "-x"},
        {"+", "+"},
        {"a+-b", "a-b"},
        {"a--b", "a+b"},
        {"a-+b", "a-b"},
        {"a**b", "a*b"},
        {"a+=b", "a=b"},
        {"a*+b", "a*b"},  // the product keeps its value
        {"a*=b", "a=b"},
        {"a*-b", "a*-b"},  // not a-b: a*(-b) is another number
        {"a+*b", "a+b"},
        {"a=+b", "a=b"},
        {"a=*b", "a=b"},
        {"a=-b", "a=-b"},
        {"a+-+-b", "a+b"},
        {"a/-b", "a/-b"},
        {"a@spec$intsct#@spec$unite#b", "a@spec$intsct#b"},
        {"a@spec$unite#@spec$intsct#b", "a@spec$intsct#b"},
        {"x@spec$blng#@spec$unite#A", "x@spec$blng#A"},
        {"x=@spec$<=#1", "x@spec$<=#1"},
        {"@system$x+$-y=1-#", "@system$x$-y=1#"},
    });
}

// Degree, angle, plus-minus and the other additive relation signs stand
// before or after their operand and are never dropped.
TEST(Normalize, KeepsGeometricSigns)
{
    Check({
        {"x=30@spec$deg#", "x=30@spec$deg#"},
        {"@spec$corn#ABC", "@spec$corn#ABC"},
        {"@spec$+-#2", "@spec$+-#2"},
        {"x=@spec$+-#2", "x=@spec$+-#2"},
        {"30@spec$deg#+15@spec$deg#", "30@spec$deg#+15@spec$deg#"},
        {"a@spec$perp#b", "a@spec$perp#b"},
    });
}

TEST(Normalize, RemovesRedundantRoundBrackets)
{
    Check({
        {"(x)", "x"},
        {"((x))", "x"},
        {"(5)", "5"},
        {"2*(x)", "2*x"},
        {"(-x)", "@br_row_round$-x#"},
        {"@br_row_round$@hor_frac$1$2##", "@hor_frac$1$2#"},
        {"@br_persist_rr$x#", "@br_persist_rr$x#"},
        {"@br_row_abs$x#", "@br_row_abs$x#"},
        {"@hor_frac$(x)$(y)#", "@hor_frac$x$y#"},
    });
}

TEST(Normalize, DropsBlanks)
{
    Check({
        {"a b", "ab"},
        {" x + 1 ", "x+1"},
        {"x - ", "x"},
        {"1 x", "1x"},
        {"2 @hor_frac$1$2#", "@mixed_frac$2$1$2#"},
    });
}

// Two numbers side by side would be written as one ("2" and "3" as "23"):
// the blank or the brackets between them stay.
TEST(Normalize, NeverJoinsTwoNumbers)
{
    Check({
        {"1 2", "1 2"},
        {"1   2", "1 2"},
        {"x=1 2", "x=1 2"},
        {"1 ,5", "1 ,5"},
        {"2(3)+1", "2@br_row_round$3#+1"},
        {"x=12(3)", "x=12@br_row_round$3#"},
        {"(2)3", "@br_row_round$2#3"},
        {"2((3))", "2@br_row_round$3#"},
        {"2(3,5)", "2@br_row_round$3,5#"},
        {"2,((5))", "2,@br_row_round$5#"},
        {"(2)(3)", "2@br_row_round$3#"},
        // An integer and a fraction would become a mixed number.
        {"2(@hor_frac$1$2#)", "2@br_row_round$@hor_frac$1$2##"},
        {"(2)@hor_frac$1$2#", "@br_row_round$2#@hor_frac$1$2#"},
        // Brackets that keep nothing apart still go.
        {"2*(3)+(4)", "2*3+4"},
        {"x(3)", "x3"},
        {"(2)x", "2x"},
        {"2(x)", "2x"},
        {"2(@hor_frac$x$2#)", "2@hor_frac$x$2#"},
    });
    Check({{"1 2", "1 2"}, {"1 ,5", "1 ,5"}}, false);
}

TEST(Normalize, WithoutCorrectionKeepsSignsAndBrackets)
{
    Check(
        {
            {"(x)", "@br_row_round$x#"},
            {"x+", "x+"},
            {"a+-b", "a+-b"},
            {"a b", "ab"},
            {"2@hor_frac$1$2#", "@mixed_frac$2$1$2#"},
            {"(x", kInvalid},
        },
        false);
}

TEST(Normalize, EmptyRowsOfTemplatesMakeTheFormulaInvalid)
{
    Check({
        {"@index_up$$2#", kInvalid},
        {"@index_up$x$#", kInvalid},
        {"@index$$$#", kInvalid},
        {"@index_updn$x$2$#", kInvalid},
        {"@progmem$a$#", kInvalid},
        {"@subsup$x$$1#", kInvalid},
        {"@deriv$#", kInvalid},
        {"@deriv$$2#", kInvalid},
        {"@deriv$x$#", "@deriv$x$#"},
        {"@simple_frac$1$#", kInvalid},
        {"@mixed_frac$$1$2#", kInvalid},
        {"@lim$$x$0#", kInvalid},
        {"@lim$f$$0#", kInvalid},
        {"@lim$f$x$#", kInvalid},
        {"@integral$f$$b#", kInvalid},
        {"@integral_undef$#", kInvalid},
        {"@summa$k$n$#", kInvalid},
        {"@hor_frac$$#", "@hor_frac$$#"},
        {"@sqrroot$#", "@sqrroot$#"},
        {"@index_up$x$2#", "@index_up$x$2#"},
        {"@hor_frac$@index_up$$2#$1#", kInvalid},
    });
}

}  // namespace
}  // namespace formula
