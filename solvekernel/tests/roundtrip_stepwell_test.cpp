// The transformation environment's kernel codes (stepwell.clew) between the
// formula library's Aplan writer and reader: one table per operation. Each
// request is written from lexeme texts as the hosts build it; each reply is
// read back into lexeme text, and a reply that becomes a step must give an
// operation tree.
#include "roundtrip_support.h"

namespace kerneltest {
namespace {

class StepwellRoundTrip : public KernelTest {
protected:
    void SetUp() override { start("stepwell.clew"); }
    void check(int code, ReplyUse use, const std::vector<RoundTrip>& rows, const Compose& compose = groupsRequest)
    {
        checkTable(m_kernel, code, use, rows, compose);
    }
};

// One independent step at the kernel's level: the pupil's step is accepted
// and comes back as 2*x=4, a wrong one is refused, and the answer x=2 is
// right and final.
TEST_F(StepwellRoundTrip, WalkThroughOfOneStep)
{
    const std::string right = groupsRequest({"2*x+3=7", "2*x=4"});
    const std::string wrong = groupsRequest({"2*x+3=7", "2*x=5"});
    const std::string answer = groupsRequest({"x=2", "2*x+3=7"});
    EXPECT_EQ(right, "(2*!x+!3=!7),(2*!x=!4)");
    EXPECT_EQ(wrong, "(2*!x+!3=!7),(2*!x=!5)");
    EXPECT_EQ(answer, "(x=!2),(2*!x+!3=!7)");

    const std::string reply = ask(5351, right);
    const std::string step = readReply(reply);
    EXPECT_EQ(step, "2*x=4");
    EXPECT_TRUE(buildsOperationTree(step));
    EXPECT_EQ(ask(5351, wrong), kNoResult);
    EXPECT_EQ(ask(1372, answer), "2");
}

// A picked part (10, 11, 333, 12, 13): computed or simplified.
TEST_F(StepwellRoundTrip, SimplifyPart)
{
    check(10, ReplyUse::Step, {
        {{"2+3*4"}, "14"},
        {{"2*x+3*x"}, "5*x"},
        {{"x-y+y"}, "x"},
        {{"@hor_frac$1$2#+@hor_frac$1$3#"}, "@hor_frac$5$6#"},
        {{"@hor_frac$6*x$3#"}, "2*x"},
        {{"2@hor_frac$3$4#+1"}, "@hor_frac$15$4#"},
        {{"@mixed_frac$2$3$4#+1"}, "@hor_frac$15$4#"},
        {{"-2@hor_frac$3$4#+1"}, "-@hor_frac$7$4#"},
        {{"-@hor_frac$3$4#+1"}, "@hor_frac$1$4#"},
        {{"2,5+1"}, "3,5"},
        {{"-3,5+0,25"}, "-3,25"},
        {{"0,1(6)+@hor_frac$1$6#"}, "@hor_frac$1$3#"},
        {{"2*(-5)"}, "-10"},
        {{"@index_up$x+1$2#"}, "@index_up$x$2#+2*x+1"},
        {{"@index_up$(x+1)$2#"}, "@index_up$x$2#+2*x+1"},
        {{"@index_up$2$3#"}, "8"},
        {{"@index_up$2$-2#"}, "@hor_frac$1$4#"},
        {{"@index_up$x$2#*@index_up$x$-1#"}, "x"},
        {{"@hor_frac$@index_up$x$2#-1$x-1#"}, "x+1"},
        {{"@deriv$@index_up$x$3##"}, "3*@index_up$x$2#"},
        {{"@deriv$@index_up$x$3#+x#"}, "3*@index_up$x$2#+1"},
        {{"@sqrroot$8#"}, "2*@sqrroot$2#"},
        {{"@sqrtcan$12#-@sqrroot$3#"}, "@sqrroot$3#"},
        {{"@br_row_abs$-5#"}, "5"},
        {{"@func$sin$@hor_frac$@spec_atom$pi#$6##"}, "@hor_frac$1$2#"},
        {{"@spec_atom$pi#*2+@spec_atom$pi#"}, "3*@spec_atom$pi#"},
        {{"5%*200"}, "10"},
        {{"@index_dn$x$1#+@index_dn$x$1#"}, "2*@index_dn$x$1#"},
        {{"2*x+3*x=10"}, "5*x=10"},
        {{"@system$2*x+x=3$y+y=4#"}, "@system$3*x=3$2*y=4#"},
        {{"5"}, kNoResult},
        {{"x+y"}, kNoResult},
        {{"@hor_frac$1$0#"}, kNoResult},
    }, partRequest);
    check(333, ReplyUse::Step, {{{"x-y+y"}, "x"}}, partRequest);
}

// A dropped part: the dragged part, the operation's word, the target part.
TEST_F(StepwellRoundTrip, SimplifyDrop)
{
    const auto drop = [](std::string_view word) {
        return [word](const std::vector<std::string>& texts) { return dropRequest(texts, word); };
    };
    check(10, ReplyUse::Step, {{{"2*x", "3*x"}, "5*x"}, {{"@hor_frac$1$2#", "@hor_frac$1$3#"}, "@hor_frac$5$6#"}},
          drop("+!"));
    check(11, ReplyUse::Step, {{{"5*x", "2*x"}, "3*x"}, {{"2,5", "-1"}, "3,5"}}, drop("-!"));
    check(12, ReplyUse::Step, {{{"3*x", "2"}, "6*x"}, {{"x", "x"}, "@index_up$x$2#"}}, drop("*!"));
    check(13, ReplyUse::Step, {{{"6*x", "3"}, "2*x"}, {{"1", "(x+1)"}, "@hor_frac$1$x+1#"}}, drop("/!"));
}

// "(whole)," and the letter: the terms in that letter collected.
TEST_F(StepwellRoundTrip, CollectInLetter)
{
    check(14, ReplyUse::Step, {
        {{"a*x+b*x+c", "x"}, "(a+b)*x+c"},
        {{"a*@index_up$x$2#+@index_up$x$2#+3*x+a*x+1", "x"}, "(a+1)*@index_up$x$2#+(a+3)*x+1"},
        {{"2*x+3=x+7", "x"}, "x=4"},
        {{"a*x+b=c*x+d", "x"}, "(a-c)*x=-b+d"},
        {{"a*y+b", "x"}, kNoResult},
    }, wholeAndPartRequest);
}

// Two equations of a system added termwise.
TEST_F(StepwellRoundTrip, AddEquations)
{
    check(815, ReplyUse::Step, {
        {{"x+y=5", "x-y=1"}, "2*x=6"},
        {{"2*x+3*y=7", "x-3*y=2"}, "3*x=9"},
        {{"x+y=5", "x<1"}, kNoResult},
    });
}

// The pupil's own step: reprinted in the reply forms when equivalent.
TEST_F(StepwellRoundTrip, CheckStep)
{
    check(5351, ReplyUse::Step, {
        {{"2*x+3*x", "5*x"}, "5*x"},
        {{"2*(x+3)", "2*x+6"}, "2*x+6"},
        {{"@index_up$x$2#-9", "(x+3)*(x-3)"}, "(x+3)*(x-3)"},
        {{"x-y", "x-y"}, "x-y"},
        {{"@hor_frac$1$2#+@hor_frac$1$4#", "0,75"}, "0,75"},
        {{"@hor_frac$1$2#+@hor_frac$1$4#", "@hor_frac$3$4#"}, "@hor_frac$3$4#"},
        {{"2@hor_frac$3$4#+1", "@hor_frac$15$4#"}, "@hor_frac$15$4#"},
        {{"@index_up$x$2#=9", "@union$x=3$x=-3#"}, "@union$x=3$x=-3#"},
        {{"@index_up$x$2#=9", "@index_dn$x$1#=3@#@index_dn$x$2#=-3"},
         "@union$@index_dn$x$1#=3$@index_dn$x$2#=-3#"},
        {{"2*x<4", "x<2"}, "x<2"},
        {{"-2*x@spec$<=#4", "x@spec$>=#-2"}, "x@spec$>=#-2"},
        {{"@index_up$x$2#<4", "x@spec$blng#@interval$0$0$-2$2#"}, "x@spec$blng#@interval$0$0$-2$2#"},
        {{"@index_up$x$2#+1=0", "x@spec$blng#@spec_atom$eset#"}, "x@spec$blng#@spec_atom$eset#"},
        {{"x+1=x+1", "x@spec$blng#@spec_atom$real#"}, "x@spec$blng#@spec_atom$real#"},
        {{"x@spec$nequ#1", "x+1@spec$nequ#2"}, "x+1@spec$nequ#2"},
        {{"@system$x+y=5$x-y=1#", "@system$x=3$y=2#"}, "@system$x=3$y=2#"},
        {{"@system$x+y=5$x*y=6#", "@union$@system$x=2$y=3#$@system$x=3$y=2##"},
         "@union$@system$x=2$y=3#$@system$x=3$y=2##"},
        {{"@hor_frac$x$x+1#=0", "x=0"}, "x=0"},
        {{"@index_dn$x$1#+@index_dn$x$1#=2", "@index_dn$x$1#=1"}, "@index_dn$x$1#=1"},
        {{"2", "x=1", "2*x=2"}, "2*x=2"},
        {{"2*x+3=7", "2*x=5"}, kNoResult},
        {{"@index_up$x$2#=9", "x=3"}, kNoResult},
        {{"@index_up$x$2#=x", "x=1"}, kNoResult},
        {{"2*x<4", "x>2"}, kNoResult},
        {{"2*x+3=7", "x+1"}, kNoResult},
        {{"2*x+3=7"}, kNoResult},
    });
}

// A step the pupil typed comes back as the same formula: every form the
// writer makes is read by the kernel and printed so that the reader gives
// the pupil's formula again (compared as the control keeps formulas).
TEST_F(StepwellRoundTrip, CheckStepKeepsThePupilsFormula)
{
    const char* const formulas[] = {
        // Signs folded by the writer, and brackets the pupil wrote.
        "x-y", "-x+3", "x=-5", "-5*x=10", "x-5*y", "x=-5*y", "-x*y", "x*(-5)", "x+(-5)", "(-5)*x", "x-(-5)*y",
        "-(x+1)", "-(-x)", "(x-1)*(x+1)", "2*(x+3)=4*(x-1)",
        // Numbers.
        "-2,5", "x-3,5", "x-0,5*y", "0,1(6)*x", "1,(3)+x", "x=0,(3)", "5%*x", "x=1,5%",
        "x-2@hor_frac$3$4#", "x=2@hor_frac$1$3#", "x=-2@hor_frac$1$3#", "-@mixed_frac$2$3$4#*x",
        // Fractions, with numbers, letters and compound parts.
        "@hor_frac$a$b#", "-@hor_frac$a$4#", "-@hor_frac$1$2#*x", "x-@hor_frac$1$2#*y", "@hor_frac$x+1$2#",
        "@hor_frac$1$x-1#", "@hor_frac$-x$2#", "@hor_frac$-1$2#", "@hor_frac$x$2#*y",
        "x+@hor_frac$@hor_frac$1$2#$x#", "@hor_frac$@index_up$x$2#$@index_up$y$2##", "(@hor_frac$a$b#)",
        "2*(@hor_frac$a$b#)",
        // Powers: the base is bracketed unless it is one letter.
        "@index_up$x+1$2#", "@index_up$(x+1)$2#", "@index_up$2$3#*x", "@index_up$2*x$2#",
        "@index_up$@hor_frac$1$2#$2#", "@index_up$@hor_frac$a$b#$2#", "@index_up$(@hor_frac$a$b#)$2#",
        "@index_up$@br_row_abs$x#$2#", "@index_up$@sqrroot$x#$2#", "@index_up$x$@hor_frac$1$2##",
        "-@index_up$x$2#", "@index_up$x$2#*@index_up$(x+1)$3#", "@index_up$(-2)$2#",
        // Templates and words.
        "@deriv$x+1#", "@deriv$x#", "@deriv$@index_up$x$3#-x#", "@sqrroot$x#", "@sqrroot$@index_up$x$2#+1#",
        "@br_row_abs$x-1#", "@br_row_abs$-x#", "@func$sin$x#", "@func$cos$x+1#", "@func$sin$2*x#",
        "@func$lg$x-1#", "x*@func$ln$x#", "@spec_atom$pi#*x", "2*@spec_atom$pi#", "x-@sqrroot$2#",
        "@index_dn$x$12#+@index_dn$y$2#",
        // Relations, sets, systems and unions.
        "x<1", "x>1", "x@spec$<=#1", "x@spec$>=#1", "x@spec$nequ#1", "x@spec$<=#-@hor_frac$1$2#",
        "x@spec$blng#@spec_atom$eset#", "x@spec$blng#@spec_atom$real#", "x@spec$blng#@br_row_figur$1;-2#",
        "x@spec$blng#@interval$1$0$-@spec_atom$inf#$5#", "x@spec$blng#@interval$0$0$-2,5$+@spec_atom$inf##",
        "x@spec$nblng#@interval$0$0$1$2#", "@system$x+y=1$x-y=3#", "@system$x=1,5$y=-0,5#", "@union$x=1$x=2#",
        "@union$x=@hor_frac$1$2#$x=-@hor_frac$1$2##", "@system$x>1$x<3#", "@union$x<1$x>3#",
    };
    for (const char* formula : formulas) {
        const std::string written = writeAplan(formula);
        SCOPED_TRACE(std::string(formula) + " written " + written);
        const std::string reply = ask(5351, "(" + written + "),(" + written + ")");
        EXPECT_TRUE(wellFormedReply(reply, true)) << reply;
        const std::string step = readReply(reply);
        EXPECT_EQ(normalisedText(step), normalisedText(formula)) << "reply " << reply;
    }
}

// Forms the replies cannot keep: a product is always written with "*", a
// division as a fraction, an index with a power as a power of the indexed
// letter.
TEST_F(StepwellRoundTrip, CheckStepReprintsInReplyForms)
{
    check(5351, ReplyUse::Step, {
        {{"2x", "2x"}, "2*x"},
        {{"2@hor_frac$x$4#", "2@hor_frac$x$4#"}, "2*@hor_frac$x$4#"},
        {{"2*x:y", "2*x:y"}, "2*@hor_frac$x$y#"},
        {{"(x:2)", "(x:2)"}, "@hor_frac$x$2#"},
        {{"@diag_frac$3$4#*x", "@diag_frac$3$4#*x"}, "@hor_frac$3$4#*x"},
        {{"@index_updn$x$2$1#", "@index_updn$x$2$1#"}, "@index_up$@index_dn$x$1#$2#"},
        {{"@sqrtcan$x+1#", "@sqrtcan$x+1#"}, "@sqrroot$x+1#"},
    });
}

TEST_F(StepwellRoundTrip, Expand)
{
    check(101, ReplyUse::Step, {
        {{"2*(x+3)"}, "2*x+6"},
        {{"@index_up$(x-3)$2#"}, "@index_up$x$2#-6*x+9"},
        {{"@index_up$a+b$2#"}, "@index_up$a$2#+2*a*b+@index_up$b$2#"},
        {{"(a+b)*(a-b)"}, "@index_up$a$2#-@index_up$b$2#"},
        {{"-(x-y)"}, "-x+y"},
        {{"x*(x+1)=6"}, "@index_up$x$2#+x=6"},
        {{"1", "2*(x+3)"}, "2*x+6"},
    });
}

TEST_F(StepwellRoundTrip, CollectLikeTerms)
{
    check(102, ReplyUse::Step, {
        {{"2*x+3+5*x"}, "7*x+3"},
        {{"3+2*x-2*x+y"}, "3+y"},
        {{"a*b+2*b*a-a"}, "3*a*b-a"},
        {{"@index_up$x$2#+x+1"}, kNoResult},
    });
}

TEST_F(StepwellRoundTrip, CommonFactor)
{
    check(103, ReplyUse::Step, {
        {{"6*x+9"}, "3*(2*x+3)"},
        {{"-2*x-4"}, "-2*(x+2)"},
        {{"@index_up$x$2#+x"}, "x*(x+1)"},
        {{"6*@index_up$a$2#*b+9*a*@index_up$b$2#"}, "3*a*b*(2*a+3*b)"},
        {{"x+1"}, kNoResult},
    });
}

TEST_F(StepwellRoundTrip, Factor)
{
    check(104, ReplyUse::Step, {
        {{"@index_up$x$2#-9"}, "(x+3)*(x-3)"},
        {{"@index_up$x$2#+6*x+9"}, "@index_up$x+3$2#"},
        {{"@index_up$x$2#-5*x+6"}, "(x-2)*(x-3)"},
        {{"2*@index_up$x$2#-8"}, "2*(x+2)*(x-2)"},
        {{"9-@index_up$x$2#"}, "-(x+3)*(x-3)"},
        {{"@index_up$x$2#+1"}, kNoResult},
    });
}

TEST_F(StepwellRoundTrip, Fractions)
{
    check(105, ReplyUse::Step, {
        {{"@hor_frac$6$8#"}, "@hor_frac$3$4#"},
        {{"@hor_frac$@index_up$x$2#-1$x-1#"}, "x+1"},
        {{"@hor_frac$1$x#+@hor_frac$1$y#"}, "@hor_frac$x+y$x*y#"},
        {{"@hor_frac$x+1$2#+@hor_frac$x-1$3#"}, "@hor_frac$5*x+1$6#"},
        {{"@hor_frac$1$1-x#"}, "-@hor_frac$1$x-1#"},
        {{"@hor_frac$3$4#"}, kNoResult},
    });
}

// "(whole),(sel)": every term to the left; the whole formula comes back.
TEST_F(StepwellRoundTrip, MoveLeft)
{
    check(106, ReplyUse::Step, {
        {{"2*x+3=7", "2*x+3=7"}, "2*x+3-7=0"},
        {{"@index_up$x$2#=9", "@index_up$x$2#=9"}, "@index_up$x$2#-9=0"},
        {{"x=(a+b)", "x=(a+b)"}, "x-(a+b)=0"}, {{"x=a+b", "x=a+b"}, "x-a-b=0"},
        {{"2*x<4", "2*x<4"}, "2*x-4<0"},
        {{"@system$x+y=5$x-y=1#", "x-y=1"}, "@system$x+y=5$x-y-1=0#"},
        {{"3", "x+1=2", "x+1=2"}, "x+1-2=0"},
        {{"2*x+3=0", "2*x+3=0"}, kNoResult},
    });
}

TEST_F(StepwellRoundTrip, SolveQuadratic)
{
    check(107, ReplyUse::Step, {
        {{"@index_up$x$2#-5*x+6=0"}, "@union$x=2$x=3#"},
        {{"@index_up$x$2#-4*x+4=0"}, "x=2"},
        {{"@index_up$x$2#+1=0"}, "x@spec$blng#@spec_atom$eset#"},
        {{"2*@index_up$x$2#+3*x-2=0"}, "@union$x=-2$x=@hor_frac$1$2##"},
        {{"@index_up$x$2#+2*x-1=0"}, "@union$x=-1-@sqrroot$2#$x=-1+@sqrroot$2##"},
        {{"@index_up$x$2#-5*x+3=0"}, "@union$x=@hor_frac$5-@sqrroot$13#$2#$x=@hor_frac$5+@sqrroot$13#$2##"},
        {{"@index_up$y$2#+2*y=0"}, "@union$y=-2$y=0#"},
        {{"2*x+1=0"}, kNoResult},
    });
}

// "(whole),(sel)": a letter expressed from one equation of a system and put
// into the other.
TEST_F(StepwellRoundTrip, Substitute)
{
    check(108, ReplyUse::Step, {
        {{"@system$x+y=5$x-y=1#", "@system$x+y=5$x-y=1#"}, "@system$x=-y+5$(-y+5)-y=1#"},
        {{"@system$2*x+y=5$3*x-y=1#", "y"}, "@system$y=-2*x+5$3*x-(-2*x+5)=1#"},
        {{"@system$2*x=4$x+y=3#", "2*x=4"}, "@system$x=2$2+y=3#"},
        {{"@system$x*y=4$x+y=3#", "x*y=4"}, kNoResult},
    });
}

// "(sel),(entered)": both sides multiplied by the entered number.
TEST_F(StepwellRoundTrip, MultiplySides)
{
    check(512, ReplyUse::Step, {
        {{"2*x=4", "@hor_frac$1$2#"}, "x=2"},
        {{"x+1=3", "2"}, "2*x+2=6"},
        {{"@hor_frac$x$3#=2", "3"}, "x=6"},
        {{"x+1=3", "x"}, kNoResult},
        {{"x+1=3", "0"}, kNoResult},
        {{"x+1<3", "2"}, kNoResult},
    });
}

TEST_F(StepwellRoundTrip, AddToSides)
{
    check(513, ReplyUse::Step, {
        {{"2*x+3=7", "-3"}, "2*x=4"},
        {{"2*x=x+4", "-x"}, "x=4"},
        {{"x+0,5<2", "-0,5"}, "x<1,5"},
        {{"x=1", "@hor_frac$1$x#"}, kNoResult},
    });
}

TEST_F(StepwellRoundTrip, MultiplyInequality)
{
    check(611, ReplyUse::Step, {
        {{"2*x<4", "-@hor_frac$1$2#"}, "-x>-2"},
        {{"-x@spec$>=#3", "-1"}, "x@spec$<=#-3"},
        {{"x@spec$<=#3", "2"}, "2*x@spec$<=#6"},
        {{"x<3", "0"}, kNoResult},
    });
}

// The number axis: the solution set as one interval, in plain text.
TEST_F(StepwellRoundTrip, IntervalForTheNumberAxis)
{
    check(1035, ReplyUse::Text, {
        {{"2*x<4"}, "left ={0} right ={0} xr ={MinusInfSet} yr ={2}"},
        {{"x@spec$>=#-@hor_frac$5$2#"}, "left ={1} right ={0} xr ={-2.5} yr ={PlusInfSet}"},
        {{"@index_up$x$2#<4"}, "left ={0} right ={0} xr ={-2} yr ={2}"},
        {{"@system$x>1$x@spec$<=#3,5#"}, "left ={0} right ={1} xr ={1} yr ={3.5}"},
        {{"x@spec$blng#@interval$1$0$-1$3#"}, "left ={1} right ={0} xr ={-1} yr ={3}"},
        {{"@index_up$x$2#>4"}, kNoResult},
    });
}

// "(answer),(first step)": "0" wrong, "1" right but not final, "2" final.
TEST_F(StepwellRoundTrip, CheckAnswer)
{
    check(1372, ReplyUse::Text, {
        {{"x=2", "2*x+3=7"}, "2"},
        {{"2*x=4", "2*x+3=7"}, "1"},
        {{"x=3", "2*x+3=7"}, "0"},
        {{"x=@hor_frac$2$3#", "3*x=2"}, "2"},
        {{"x=0,5", "2*x=1"}, "2"},
        {{"x=1@hor_frac$1$2#", "2*x=3"}, "2"},
        {{"x=2@hor_frac$3$2#", "2*x=7"}, "1"},
        {{"3*(2*x-1)+4*x", "3*(2*x-1)+4*x"}, "1"},
        {{"10*x-3", "3*(2*x-1)+4*x"}, "2"},
        // x1, x2 as the pupil types them: two lines, one line with ";", a
        // system or a union.
        {{"@index_dn$x$1#=-1@#@index_dn$x$2#=3", "@index_up$x$2#=2*x+3"}, "2"},
        {{"@index_dn$x$1#=-1;@index_dn$x$2#=3", "@index_up$x$2#=2*x+3"}, "2"},
        {{"@system$@index_dn$x$1#=-1$@index_dn$x$2#=3#", "@index_up$x$2#=2*x+3"}, "2"},
        {{"@union$@index_dn$x$1#=-1$@index_dn$x$2#=3#", "@index_up$x$2#=2*x+3"}, "2"},
        {{"@index_dn$x$1#=1@#@index_dn$x$2#=3", "@index_up$x$2#=2*x+3"}, "0"},
        {{"@union$x=2$x=3#", "@index_up$x$2#-5*x+6=0"}, "2"},
        {{"x@spec$blng#@interval$0$1$-@spec_atom$inf#$2#", "x@spec$<=#2"}, "2"},
        {{"x@spec$blng#@spec_atom$eset#", "@index_up$x$2#+1=0"}, "2"},
        {{"@system$x=3$y=2#", "@system$x+y=5$x-y=1#"}, "2"},
        {{"x=2"}, kNoResult},
    });
}

// The begin dialog: the entered formula comes back when it has the
// reference's solution set, and becomes the first step.
TEST_F(StepwellRoundTrip, BeginCheck)
{
    check(2101, ReplyUse::Step, {
        {{"x=2", "2*x+3=7"}, "2*x+3=7"},
        {{"@system$x=1$y=2#", "@system$x+y=3$x-y=-1#"}, "@system$x+y=3$x-y=-1#"},
        {{"x=2", "2*x+3=8"}, kNoResult},
        {{"x=2", "x+2"}, kNoResult},
        {{"x=2", "x=2"}, kNoResult},
        {{"x=2", "2=x"}, kNoResult},
    });
}

}  // namespace
}  // namespace kerneltest
