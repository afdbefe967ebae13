// The Aplan reader: the kernel's replies in, lexeme text out. There is no
// Aplan round trip: the reader reads the reply dialect, not the requests the
// writer makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/notation/lexem_parser.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

struct ReaderCase {
    std::string aplan;
    std::string lexemText;
};

std::string Convert(std::string_view aplan)
{
    std::string out = "left over";
    CLexemParser::ConvertAplanText(aplan, out);
    return out;
}

void Check(const std::vector<ReaderCase>& cases)
{
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.aplan);
        EXPECT_EQ(Convert(c.aplan), c.lexemText);
    }
}

TEST(AplanReader, RewritesEachStep)
{
    Check({
        {"", ""},
        // 1: the bar words
        {"a|!b", "a;b"},
        {"a||b", "a$b"},
        {"||!", "|;"},
        // 2, 3
        {"plus_inf", "+@spec_atom$inf#"},
        {"xminus_inf", "x-@spec_atom$inf#"},
        {"ashpb", "a#b"},
        // 4
        {"IntNum(\"12\")", "12"},
        {"IntNum(\"-12\")", "(-12)"},
        {"IntNum(\"12", "IntNum(\"12"},
        // 5: each argument goes through every step
        {"_range(1,2)", "@br_row_figur$1;2#"},
        {"_range(x1,mns(2),3mrk_comma5)", "@br_row_figur$@index_dn$x$1#;-2;3,5#"},
        {"_range((1,2))", "@br_row_figur$(1,2)#"},
        {"_range(1,2", "_range(1,2"},
        // 6
        {"spec_equ(eqls,a,b)", "a@spec$<=#b"},
        {"spec_equ(eqmr,a,b)", "a@spec$>=#b"},
        {"spec_equ(nequ,a,b)", "a@spec$nequ#b"},
        {"spec_equ(blng,a,b)", "a@spec$blng#b"},
        {"spec_equ(nblng,a,b)", "a@spec$nblng#b"},
        {"spec_equ(unificSets,a,b)", "a@spec$unite#b"},
        {"spec_equ(crossSets,a,b)", "a@spec$intsct#b"},
        {"spec_equ(eqls,spec_equ(nequ,a,b),c)", "a@spec$nequ#b@spec$<=#c"},
        {"spec_equ(foo,a,b)", "spec_equ(foo,a,b)"},
        {"spec_equ(eqls,a,b,c)", "spec_equ(eqls,a,b,c)"},
        // 7: function names without regard to case, not after a letter
        {"Sin(x)", "@func$sin$x#"},
        {"arcsin(x)", "@func$arcsin$x#"},
        {"ARCCTG(x)", "@func$arcctg$x#"},
        {"Sin(Cos(x))", "@func$sin$@func$cos$x##"},
        {"2Ln(x)+Lg(y)-Log(z)", "2@func$ln$x#+@func$lg$y#-@func$log$z#"},
        {"xsin(x)", "xsin(x)"},
        {"Tg(x", "Tg(x"},
        // 8: template words, matched with case
        {"hor_frac(1,2)", "@hor_frac$1$2#"},
        {"mixed_frac(2,1,3)", "@mixed_frac$2$1$3#"},
        {"simple_frac(1,3)", "@simple_frac$1$3#"},
        {"index_up(x,2)", "@index_up$x$2#"},
        {"br_persist_rr(x)", "@br_persist_rr$x#"},
        {"sqrroot(hor_frac(1,2))", "@sqrroot$@hor_frac$1$2##"},
        {"br_row_abs(x)", "@br_row_abs$x#"},
        {"spec(nequ)", "@spec$nequ#"},
        {"spec_atom(real)", "@spec_atom$real#"},
        {"system(x=1,y=2)", "@system$x=1$y=2#"},
        {"union(x=1,x=2)", "@union$x=1$x=2#"},
        {"_bool(1)", "@bool$1#"},
        {"i_name(a,n)", "@progmem$a$n#"},
        {"Interval(0,1,a,b)", "@interval$0$1$a$b#"},
        {"Derive(x)", "@deriv$x#"},
        {"hor_frac", "hor_frac"},
        {"hor_frac,1,2", "hor_frac,1,2"},
        {"x)hor_frac,1,2)", "x)@hor_frac$1$2#"},
        {"(_range,1,2)", "(@br_row_figur$1;2#"},
        {"hor_frac(1,(2)", "hor_frac(1,(2)"},
        {"hor_frac(1,(2))", "@hor_frac$1$(2)#"},
        {"System(x)", "System(x)"},
        // 9
        {"mns(x)", "-(x)"},
        {"mns(5)", "-5"},
        {"a*mns(b+c)", "a*(-(b+c))"},
        {"a+mns(5)", "a+-5"},
        {"a*mns(2.5)", "a*(-2.5)"},
        {"a*mns(0.1(6))", "a*(-0.1(6))"},
        {"a*mns(1.2(3)(4))", "a*(-(1.2(3)(4)))"},
        {"mns(hor_frac(1,2))", "-@hor_frac$1$2#"},
        {"a*mns(2mrk_comma5)", "a*(-(2,5))"},
        {"a*mns(hor_frac(1,2)+1)", "a*(-(@hor_frac$1$2#+1))"},
        {"mns(mns(x))", "-(-(x))"},
        {"x mns(y)", "x-(y)"},
        {"mns", "-"},
        // 10 to 17
        {"x=1nlny=2", "x=1@#y=2"},
        {"a\";\"b", "a;b"},
        {"a+!b*!c-!d<!e>!f", "a+b*c-d<e>f"},
        {"a/!b", "a/!b"},
        {"\"12\",\"-5\"", "12,-5"},
        {"\"(3)\"", "(3)"},
        {"\"\"", "0"},
        {"2mrk_comma5", "2,5"},
        {"Intr_No+EmptySet", "@spec_atom$eset#+@spec_atom$eset#"},
        {"Intr_All+InfSet", "@spec_atom$inf#+@spec_atom$inf#"},
        {"x more 2", "x>2"},
        {"x less 2", "x<2"},
        {" a + b ", "a+b"},
        // 18, 19
        {"x12", "@index_dn$x$12#"},
        {"2x", "2x"},
        {"ab1", "a@index_dn$b$1#"},
        {"2*pi", "2*@spec_atom$pi#"},
        {"spec_atom(pi)", "@spec_atom$pi#"},
    });
}

// Every reply form the solving kernel uses, as the lexeme text it must give.
TEST(AplanReader, KernelRepliesReadAsIntended)
{
    const std::vector<ReaderCase> replies = {
        {"2*x=4", "2*x=4"},
        {"x=2", "x=2"},
        {"x<2", "x<2"},
        {"x>2", "x>2"},
        {"spec_equ(eqls,x,2)", "x@spec$<=#2"},
        {"spec_equ(eqmr,x,2)", "x@spec$>=#2"},
        {"spec_equ(nequ,x,2)", "x@spec$nequ#2"},
        {"system(x=1,y=2)", "@system$x=1$y=2#"},
        {"union(x=2,x=3)", "@union$x=2$x=3#"},
        {"hor_frac(7,3)", "@hor_frac$7$3#"},
        {"-hor_frac(7,3)", "-@hor_frac$7$3#"},
        {"hor_frac(x+1,2)", "@hor_frac$x+1$2#"},
        {"x=-5", "x=-5"},
        {"x-5", "x-5"},
        {"-x+3", "-x+3"},
        {"2*(-5)", "2*(-5)"},
        {"index_up((-5),2)", "@index_up$(-5)$2#"},
        {"index_up(2,(-5))", "@index_up$2$(-5)#"},
        {"2mrk_comma5", "2,5"},
        {"-0mrk_comma25", "-0,25"},
        {"index_up(x,2)", "@index_up$x$2#"},
        {"sqrroot(2)", "@sqrroot$2#"},
        {"br_row_abs(x-1)", "@br_row_abs$x-1#"},
        {"spec_equ(blng,x,EmptySet)", "x@spec$blng#@spec_atom$eset#"},
        {"spec_equ(blng,x,spec_atom(real))", "x@spec$blng#@spec_atom$real#"},
        {"spec_equ(blng,x,Interval(0,1,minus_inf,2))", "x@spec$blng#@interval$0$1$-@spec_atom$inf#$2#"},
        {"spec_equ(blng,x,Interval(1,0,-2mrk_comma5,plus_inf))",
         "x@spec$blng#@interval$1$0$-2,5$+@spec_atom$inf##"},
        {"x1=2", "@index_dn$x$1#=2"},
        {"union(x=hor_frac(-1,2),x=3)", "@union$x=@hor_frac$-1$2#$x=3#"},
    };
    for (const ReaderCase& c : replies) {
        SCOPED_TRACE(c.aplan);
        const std::string text = Convert(c.aplan);
        EXPECT_EQ(text, c.lexemText);
        EXPECT_EQ(test::ReadWrite(text), c.lexemText);  // the lexeme reader takes it as it is
    }
    EXPECT_EQ(test::DescribeRoot(*test::Read(Convert("2mrk_comma5"))), "num2,5");
    EXPECT_EQ(test::DescribeRoot(*test::Read(Convert("x1=2"))), "index_dn[x;-;num1] = num2");
}

// The request words of the writer have no rule here and stay as characters.
TEST(AplanReader, WriterDialectIsNotRead)
{
    for (std::string_view request : {"x=!1", "(a/!b)", "System((x=!1)", "RealNum(", "PeriodNum(", "Union(",
                                     "_sqrt(", "_abs(", "True", "False"}) {
        const std::string text = Convert(request);
        EXPECT_EQ(text.find('@'), std::string::npos) << request << " -> " << text;
    }
}

TEST(AplanReader, RewritesInPlace)
{
    std::string text = "hor_frac(1,2)+Sin(x)";
    CLexemParser::AplanToLexemText(text);
    EXPECT_EQ(text, "@hor_frac$1$2#+@func$sin$x#");
}

// A call nested depth times: open, the innermost argument, close each.
std::string Nested(std::string_view open, std::string_view inner, std::string_view close, int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

// The recursive steps (5, 6, 8) stop where the lexeme reader would.
TEST(AplanReader, SharesTheNestingLimit)
{
    EXPECT_EQ(test::ReadWrite(Convert(Nested("hor_frac(", "1", ",2)", 64))),
              Nested("@hor_frac$", "1", "$2#", 64));
    EXPECT_EQ(Convert(Nested("spec_equ(eqls,a,", "b", ")", 64)), Nested("a@spec$<=#", "b", "", 64));
    EXPECT_EQ(Convert(Nested("(", "x", ")", 1000)), Nested("(", "x", ")", 1000));
    for (const std::string& deep : {Nested("hor_frac(", "1", ",2)", 65), Nested("spec_equ(eqls,a,", "b", ")", 66),
                                    Nested("_range(", "1", ")", 66)}) {
        SCOPED_TRACE(deep.substr(0, 20));
        try {
            Convert(deep);
            ADD_FAILURE() << "no error";
        } catch (const CMEException& error) {
            EXPECT_EQ(error.Code(), 3);
            EXPECT_EQ(error.MessageId(), msg::TooDeep);
            EXPECT_EQ(error.Message(), GetMessageText(msg::TooDeep, 0));
        }
    }
}

// What the rewriting leaves that is not lexeme text, the lexeme reader refuses.
TEST(AplanReader, LeftoversAreRefusedByTheLexemeReader)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"hor_frac(1)", 1014},
        {"spec(qq,x)", 1015},
        {"a||b", 1036},
        {"shp", 1036},
    };
    for (const auto& [aplan, messageId] : cases) {
        SCOPED_TRACE(aplan);
        try {
            test::Read(Convert(aplan));
            ADD_FAILURE() << "no error";
        } catch (const CMEException& error) {
            EXPECT_EQ(error.MessageId(), messageId);
        }
    }
}

}  // namespace
}  // namespace formula
