// The normalising pass: brackets, mixed numbers, blanks, sign correction and
// bracket elimination, and the faults it reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/env/formula_env.h"
#include "formula/model/display_settings.h"
#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/notation/lexem_parser.h"
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
        // A run of signs at the end goes in one pass.
        {"x*:", "x"},
        {"x=:?:=:", "x"},
        {"@func$cos$x=:?:=#=1", "@func$cos$x#=1"},
        {"x+-+", "x"},
        {"5%+*", "5%"},
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

std::string Repeat(std::string_view part, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += part;
    }
    return text;
}

// x under square roots nested `levels` deep.
std::string Roots(int levels)
{
    return Repeat("@sqrroot$", levels) + "x" + Repeat("#", levels);
}

// The normalised text reads back, and normalising that changes nothing.
void ExpectReadsBack(const std::string& normalized, bool correction)
{
    ASSERT_NE(normalized, kInvalid);
    EXPECT_NO_THROW(CLexemParser().Parse(normalized));
    EXPECT_EQ(Normalized(normalized, correction), normalized);
}

// Brackets become templates only as deep as the lexeme reader reads a text
// back; deeper ones stay as typed.
TEST(Normalize, NestsNoDeeperThanTheReaderAccepts)
{
    const int limit = CLexemParser::kMaxDepth;
    const std::string round = "@br_row_round$";
    struct Case {
        std::string text;
        std::string normalized;
    };
    const std::vector<Case> cases = {
        {Repeat("(", limit + 1) + "x" + Repeat(")", limit + 1), Repeat(round, limit) + "(x)" + Repeat("#", limit)},
        // What the brackets hold goes one level down with them.
        {"(" + Roots(limit) + ")", "(" + Roots(limit) + ")"},
        {"(" + Roots(limit - 1) + ")", round + Roots(limit - 1) + "#"},
        {"a+(b*(" + Roots(limit - 1) + "))", "a+" + round + "b*(" + Roots(limit - 1) + ")#"},
        // An indexed function is written as three templates around its
        // argument, a root's radicand one level down, a system's lines too.
        {"(@index_up$@index_dn$@func$sin$" + Roots(limit - 3) + "#$1#$2#)",
         "(@index_up$@index_dn$@func$sin$" + Roots(limit - 3) + "#$1#$2#)"},
        {"(@index_up$@index_dn$@func$sin$" + Roots(limit - 4) + "#$1#$2#)",
         round + "@index_up$@index_dn$@func$sin$" + Roots(limit - 4) + "#$1#$2##"},
        {"(@index_dn$@func$sin$" + Roots(limit - 2) + "#$1#)", "(@index_dn$@func$sin$" + Roots(limit - 2) + "#$1#)"},
        {"(@index_dn$@func$sin$" + Roots(limit - 3) + "#$1#)",
         round + "@index_dn$@func$sin$" + Roots(limit - 3) + "#$1##"},
        {"(@root$3$" + Roots(limit - 1) + "#)", "(@root$3$" + Roots(limit - 1) + "#)"},
        {"(@root$3$" + Roots(limit - 2) + "#)", round + "@root$3$" + Roots(limit - 2) + "##"},
        {"(@system$" + Roots(limit - 1) + "$y#)", "(@system$" + Roots(limit - 1) + "$y#)"},
        {"(@system$" + Roots(limit - 2) + "$y#)", round + "@system$" + Roots(limit - 2) + "$y##"},
    };
    // One level more than the limit is refused.
    EXPECT_THROW(CLexemParser().Parse(round + Roots(limit) + "#"), CMEException);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string normalized = Normalized(c.text, false);
        EXPECT_EQ(normalized, c.normalized);
        ExpectReadsBack(normalized, false);
    }
    // Found by the lexeme-text fuzz target: typed brackets past the limit.
    ExpectReadsBack(Normalized("@#(s(3p2(iliac5(1(c3(1pR(ac5(1i(()(3p2(iliac(R(ac3(1pi1Ri1(pi1Ri(a((()(3p2((1piR(ac3("
                               "1(1RR(ac5(1pi(()(3p2(ili5(1piR(ac3(165())25(1piR(ac3(1p1Ri(ac5(1R(()(3p2(i(1i1R(ac5("
                               "1pi1R(()(3p2(R(ac3(i1R(ac5(1pi1R(()(p2(iliac5(1piR3(p11R(ac5(1p(()(3p2(iliac5(1R(ac3("
                               "1R((1p4())2222))4)))422)))4)))46)))4)))41245))222)125))222)))4))))))4)))462)))4))4)"
                               "222)))4))5245)222)))4)))422)))4)))462)))4))4"),
                    true);
}

// The operation tree pairs brackets left as typed no deeper than the
// normalising pass does: the formula keeps a text that reads back.
TEST(Normalize, TreeBuildingKeepsTheTextReadable)
{
    const int limit = CLexemParser::kMaxDepth;
    CFormulaEnv env;
    ASSERT_TRUE(env.SetEditorMode());
    EnvError error;
    ASSERT_TRUE(env.SetLexemText(Repeat("(", limit + 1) + "x" + Repeat(")", limit + 1), error));
    env.UseOperationTree(true);
    EXPECT_FALSE(env.RebuildTree());
    EXPECT_NO_THROW(CLexemParser().Parse(env.GetLexemText()));
}

// A pasted run of signs at the end, longer than the rebuild's passes, still
// leaves a formula whose text is a fixed point of the rebuild.
TEST(Normalize, RebuildRemovesALongRunOfSignsAtTheEnd)
{
    CFormulaEnv env;
    EnvError error;
    ASSERT_TRUE(env.SetLexemText("x" + Repeat("=:?", 60), error));
    env.UseOperationTree(true);
    EXPECT_TRUE(env.RebuildTree());
    EXPECT_EQ(env.GetLexemText(), "x");
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
