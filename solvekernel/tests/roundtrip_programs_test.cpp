// The drill program's and the solver's kernel codes (exercise.clew,
// reckonry.clew) between the formula library's Aplan writer and reader.
#include "roundtrip_support.h"

namespace kerneltest {
namespace {

// "((statement),(answer))#..." from pairs of lexeme texts.
std::string drillRequest(const std::vector<std::string>& lexemTexts)
{
    std::string request;
    for (std::size_t i = 0; i + 1 < lexemTexts.size(); i += 2) {
        request += request.empty() ? "" : "#";
        request += "(" + groupsRequest({lexemTexts[i], lexemTexts[i + 1]}) + ")";
    }
    return request;
}

class DrillRoundTrip : public KernelTest {
protected:
    void SetUp() override { start("exercise.clew"); }
};

// One digit per row; a mixed number's "#!" does not split a row.
TEST_F(DrillRoundTrip, CheckRows)
{
    EXPECT_EQ(drillRequest({"2*x=4", "x=2", "x+1=3", "x=5"}), "((2*!x=!4),(x=!2))#((x+!1=!3),(x=!5))");
    checkTable(m_kernel, 501, ReplyUse::Text, {
        {{"2*x=4", "x=2", "x+1=3", "x=5", "@index_up$x$2#=4", "x=2"}, "2,0,0"},
        {{"x+1=3", "2*x=4"}, "1"},
        {{"2+3", "5", "2+3", "4+1", "2+3", "6"}, "2,1,0"},
        {{"2*x=5+@hor_frac$1$2#", "x=2@hor_frac$3$4#", "2*x=5+@hor_frac$1$2#", "x=@hor_frac$11$4#"}, "2,2"},
        {{"x=1", "x=1", "@func$sin$x#=0", "x=0"}, "2,9"},
    }, drillRequest);
}

class SolverRoundTrip : public KernelTest {
protected:
    void SetUp() override { start("reckonry.clew"); }
};

// The whole solution set of an equation, a system or an inequality.
TEST_F(SolverRoundTrip, Solve)
{
    checkTable(m_kernel, 2001, ReplyUse::Formula, {
        {{"2*x+3=7"}, "x=2"},
        {{"@index_up$x$2#-5*x+6=0"}, "@union$x=2$x=3#"},
        {{"@index_up$x$2#=2"}, "@union$x=-@sqrroot$2#$x=@sqrroot$2##"},
        {{"@index_up$x$2#>4"}, "@union$x<-2$x>2#"},
        {{"@index_up$x$2#@spec$>=#4"}, "@union$x@spec$<=#-2$x@spec$>=#2#"},
        {{"@index_up$x$2#<0"}, "x@spec$blng#@spec_atom$eset#"},
        {{"@index_up$x$2#@spec$>=#0"}, "x@spec$blng#@spec_atom$real#"},
        {{"@hor_frac$x$x#=1"}, "x@spec$nequ#0"},
        {{"@system$x>1$x@spec$<=#5#"}, "x@spec$blng#@interval$0$1$1$5#"},
        {{"x@spec$blng#@interval$1$1$-1$3#"}, "x@spec$blng#@interval$1$1$-1$3#"},
        {{"@system$x+y=5$x-y=1#"}, "@system$x=3$y=2#"},
        {{"@system$x+y=5$x*y=6#"}, "@union$@system$x=2$y=3#$@system$x=3$y=2##"},
        {{"2*x=1,5"}, "x=0,75"},
        {{"x+1"}, kNoResult},
    }, partRequest);
}

TEST_F(SolverRoundTrip, SimplifyAndFactor)
{
    checkTable(m_kernel, 2002, ReplyUse::Formula, {
        {{"2*x+3*x"}, "5*x"},
        {{"@index_up$(x+1)$2#"}, "@index_up$x$2#+2*x+1"},
        {{"@hor_frac$x+1$2#+@hor_frac$x-1$3#"}, "@hor_frac$5*x+1$6#"},
        {{"@index_up$x$2#-9"}, "@index_up$x$2#-9"},
    }, partRequest);
    checkTable(m_kernel, 2003, ReplyUse::Formula, {
        {{"@index_up$x$2#-9"}, "(x+3)*(x-3)"},
        {{"6*a+9*b"}, "3*(2*a+3*b)"},
        {{"@index_up$x$2#+1"}, "@index_up$x$2#+1"},
        {{"10*x-3"}, "10*x-3"},
        {{"x=1"}, kNoResult},
    }, partRequest);
}

TEST_F(SolverRoundTrip, Calculate)
{
    checkTable(m_kernel, 1, ReplyUse::Formula, {
        {{"2+3*4"}, "14"},
        {{"@hor_frac$1$3#+@hor_frac$1$6#"}, "@hor_frac$1$2#"},
        {{"0,5+0,25"}, "0,75"},
        {{"@sqrroot$18#"}, "3*@sqrroot$2#"},
        {{"-5"}, "-5"},
        {{"@index_up$2$-2#"}, "@hor_frac$1$4#"},
        {{"x+1"}, kNoResult},
    }, partRequest);
}

// Mode, and the precision read and set: plain texts, kept per handle; the
// approximate values read back as decimals.
TEST_F(SolverRoundTrip, ModeAndPrecision)
{
    checkTable(m_kernel, 1002, ReplyUse::Text, {{{"1"}, "6"}}, partRequest);
    checkTable(m_kernel, 1001, ReplyUse::Text, {{{"1"}, "1"}}, partRequest);
    checkTable(m_kernel, 1003, ReplyUse::Text, {{{"2"}, "2"}, {{"34"}, kNoResult}, {{"-1"}, kNoResult}}, partRequest);
    checkTable(m_kernel, 10, ReplyUse::Text, {{{""}, "2"}}, partRequest);
    checkTable(m_kernel, 1, ReplyUse::Formula, {
        {{"@hor_frac$1$3#"}, "0,33"},
        {{"-@hor_frac$2$3#"}, "-0,67"},
        {{"@sqrroot$2#"}, "1,41"},
    }, partRequest);
    checkTable(m_kernel, 11, ReplyUse::Text, {{{"12"}, "12"}}, partRequest);
    checkTable(m_kernel, 9, ReplyUse::Text, {{{"0"}, "0"}}, partRequest);
    checkTable(m_kernel, 1, ReplyUse::Formula, {{{"@hor_frac$1$3#"}, "@hor_frac$1$3#"}}, partRequest);
}

}  // namespace
}  // namespace kerneltest
