// Checks of the pupil's work: an independent step (5351), an answer (1372),
// the begin dialog (2101) and the drill rows (501).
#include "kernel_fixture.h"

namespace kerneltest {
namespace {

class Checks : public KernelTest {
protected:
    void SetUp() override { start("stepwell.clew"); }
};

// An equivalent step comes back reprinted in the reply forms, keeping the
// pupil's form; anything else is "NORES".
TEST_F(Checks, StepIsReprintedWhenEquivalent)
{
    const std::pair<const char*, const char*> accepted[] = {
        {"(2*!x+!3=!7),(2*!x=!4)", "2*x=4"},
        {"(2*!x+!3*!x),(5*!x)", "5*x"},
        {"(2*!(x+!3)),(2*!x+!6)", "2*x+6"},
        {"(x^!2+!(-9)),((x+!3)*!(x+!(-3)))", "(x+3)*(x-3)"},
        {"(x+!(-1)*!y),(x+!(-1)*!y)", "x-y"},
        {"(1//2+!1//4),(RealNum(\"0\",\"75\"))", "0mrk_comma75"},
        {"(1//2+!1//4),(3//4)", "hor_frac(3,4)"},
        {"(x^!2=!9),(Union((x=!3) |! (x=!(-3))))", "union(x=3,x=-3)"},
        {"(2*!x<!4),(x<!2)", "x<2"},
        {"((-2)*!x<=!4),(x>=!(-2))", "spec_equ(eqmr,x,-2)"},
        {"(x^!2<!4),(x || Interval(0,0,(-2),2))", "spec_equ(blng,x,Interval(0,0,-2,2))"},
        {"(x^!2+!1=!0),(x || Sets(EmptySet) )", "spec_equ(blng,x,EmptySet)"},
        {"(x+!1=!x+!1),(x || Sets(NumLine) )", "spec_equ(blng,x,spec_atom(real))"},
        {"(x<>!1),(x+!1 <>! 2)", "spec_equ(nequ,x+1,2)"},
        {"(System((x+!y=!5) &! (x+!(-1)*!y=!1))),(System((x=!3) &! (y=!2)))", "system(x=3,y=2)"},
        {"(System((x+!y=!5) &! (x*!y=!6))),(Union((System((x=!2) &! (y=!3))) |! (System((x=!3) &! (y=!2)))))",
         "union(system(x=2,y=3),system(x=3,y=2))"},
        {"((x/!(x+!1))=!0),(x=!0)", "x=0"},
        {"(x1+!x1=!2),(x1=!1)", "x1=1"},
        {"(2),(x=!1),(2*!x=!2)", "2*x=2"},
        {"(x^!2=!2*!x+!3),(Union((x1=!(-1)) |! (x2=!3)))", "union(x1=-1,x2=3)"},
        {"(x^!2=!2*!x+!3),(x1=!(-1),x2=!3)", "union(x1=-1,x2=3)"},
    };
    for (const auto& [request, reply] : accepted) {
        EXPECT_EQ(ask(5351, request), reply) << request;
        EXPECT_TRUE(wellFormedReply(reply, std::string(request).find("x1") != std::string::npos));
    }
}

TEST_F(Checks, StepIsRefusedWhenNotEquivalent)
{
    for (const char* request : {
             "(2*!x+!3=!7),(2*!x=!5)",
             "(x^!2=!9),(x=!3)",               // a root lost
             "(x^!2=!x),(x=!1)",               // divided by x, which may be zero
             "(x=!1),(x^!2=!1)",               // a root gained
             "((x/!x)=!1),(1=!1)",             // x = 0 gained
             "(2*!x+!3*!x),(6*!x)",
             "(2*!x<!4),(x>!2)",
             "(x+!y=!5),(x=!5)",
             "(System((x+!y=!5) &! (x+!(-1)*!y=!1))),(System((x=!2) &! (y=!3)))",
             "(2*!x+!3=!7),(x+!1)",            // an expression for an equation
             "(2*!x+!3=!7)",                   // nothing entered
             "(2*!x+!3=!7),(2*!x=!)",          // unreadable
         }) {
        EXPECT_EQ(ask(5351, request), kNoResult) << request;
    }
}

// "0" wrong, "1" right but not final, "2" right and final.
TEST_F(Checks, AnswerVerdicts)
{
    const std::pair<const char*, const char*> rows[] = {
        {"(x=!2),(2*!x+!3=!7)", "2"},
        {"(2*!x=!4),(2*!x+!3=!7)", "1"},
        {"(2=!x),(2*!x+!3=!7)", "1"},
        {"(x=!3),(2*!x+!3=!7)", "0"},
        {"(x=!4//2),(2*!x+!3=!7)", "1"},
        {"(x=!2//3),(3*!x=!2)", "2"},
        {"(x=!(2/!3)),(3*!x=!2)", "2"},
        {"(x=!RealNum(\"0\",\"5\")),(2*!x=!1)", "2"},
        // A mixed number with a proper, reduced fraction part is final.
        {"(x=!(1#!(1//2))),(2*!x=!3)", "2"},
        {"(x=!(2#!(3//2))),(2*!x=!7)", "1"},
        {"(x=!(2#!(2//4))),(2*!x=!5)", "1"},
        {"(Union((x=!2) |! (x=!3))),(x^!2+!(-5)*!x+!6=!0)", "2"},
        {"(Union((x=!2) |! (x=!4))),(x^!2+!(-5)*!x+!6=!0)", "0"},
        {"(x || Interval(0,1,MinusInfSet,2)),(x<=!2)", "2"},
        {"(2>!x),(x<!2)", "2"},
        {"(x<!4//2),(x<!2)", "1"},
        {"(x || Sets(EmptySet) ),(x^!2+!1=!0)", "2"},
        {"(x || Sets(NumLine) ),(x^!2+!1>!0)", "2"},
        {"(Union((x=!_sqrt(2)) |! (x=!(-1)*!_sqrt(2)))),(x^!2=!2)", "2"},
        {"(Union((x=!_sqrt(8)) |! (x=!(-1)*!_sqrt(8)))),(x^!2=!8)", "1"},
        {"(System((x=!3) &! (y=!2))),(System((x+!y=!5) &! (x+!(-1)*!y=!1)))", "2"},
        {"(System((x=!3) &! (y=!5+!(-3)))),(System((x+!y=!5) &! (x+!(-1)*!y=!1)))", "1"},
        {"(5),(2+!3)", "2"},
        {"(4+!1),(2+!3)", "1"},
        {"(6),(2+!3)", "0"},
        {"(5*!x),(2*!x+!3*!x)", "2"},
        {"(2*!x+!3*!x),(2*!x+!3*!x)", "1"},
        {"((x+!3)*!(x+!(-3))),(x^!2+!(-9))", "2"},
        {"(2*!x+!3=!7),(2*!x+!3=!7)", "1"},
        // Roots written with indices, for a task in one letter: the set of
        // roots, as two lines, lines in one, a system or a union.
        {"(x1=!(-1),x2=!3),(x^!2=!2*!x+!3)", "2"},
        {"(x1=!(-1), x2=!3),(x^!2=!2*!x+!3)", "2"},
        {"(System((x1=!(-1)) &! (x2=!3))),(x^!2=!2*!x+!3)", "2"},
        {"(Union((x2=!3) |! (x1=!(-1)))),(x^!2=!2*!x+!3)", "2"},
        {"(x1=!(-1),x2=!6//2),(x^!2=!2*!x+!3)", "1"},
        {"(x1=!1,x2=!3),(x^!2=!2*!x+!3)", "0"},
        {"(x1=!(-1)),(x^!2=!2*!x+!3)", "0"},
        {"(x1=!1),(x1+!x1=!2)", "2"},
    };
    for (const auto& [request, verdict] : rows)
        EXPECT_EQ(ask(1372, request), verdict) << request;
    EXPECT_EQ(ask(1372, "(x=!2)"), kNoResult);
    EXPECT_EQ(ask(1372, "(x=!),(x=!2)"), kNoResult);
    EXPECT_EQ(ask(1372, "(Sin(x)=!0),(Sin(x)=!0)"), kNoResult);  // cannot tell
}

// An expression task: the task handed back as it stands (however its terms
// and factors are arranged) is never final; a sum whose terms would combine
// once its brackets are opened, a fraction that reduces and fractions to
// bring over one denominator are not final; a factored form is.
TEST_F(Checks, ExpressionAnswerVerdicts)
{
    const std::string task1 = "3*!(2*!x+!(-1))+!4*!x";
    const std::string task2 = "(a+!b)^!2+!(-2)*!a*!b";
    const std::string task4 = "((x+!1)/!2)+!((x+!(-1))/!3)";
    const std::string task5 = "6*!a+!9*!b";
    const std::pair<std::string, std::string> rows[] = {
        {task1, "1"},
        {"4*!x+!(3*!(2*!x+!(-1)))", "1"},
        {"((x*!4)+!3*!((-1)+!2*!x))", "1"},
        {"2*!(5*!x+!(-1))+!(-1)", "1"},
        {"10*!x+!(-3)", "2"},
        {"(-3)+!10*!x", "2"},
    };
    for (const auto& [answer, verdict] : rows)
        EXPECT_EQ(ask(1372, "(" + answer + "),(" + task1 + ")"), verdict) << answer;
    const std::pair<std::string, std::string> others[] = {
        {"(" + task2 + "),(" + task2 + ")", "1"},
        {"(" + task2 + "),(a^!2+!b^!2)", "1"},
        {"(a^!2+!b^!2),(" + task2 + ")", "2"},
        {"(b^!2+!a^!2),(" + task2 + ")", "2"},
        {"(((10*!x+!2)/!12)),(" + task4 + ")", "1"},
        {"(((5*!x+!1)/!6)),(" + task4 + ")", "2"},
        {"((x/!6)+!1//6),(((x+!1)/!6))", "1"},
        {"((1/!x)+!(1/!(x+!1))),(((2*!x+!1)/!(x*!(x+!1))))", "1"},
        {"(((2*!x+!1)/!(x*!(x+!1)))),((1/!x)+!(1/!(x+!1)))", "2"},
        {"(((x^!2+!(-1))/!(x+!1))),(x+!(-1))", "1"},
        {"(" + task5 + "),(" + task5 + ")", "1"},
        {"(3*!(2*!a+!3*!b)),(" + task5 + ")", "2"},
        {"(3*!(3*!b+!2*!a)),(" + task5 + ")", "2"},
        {"((x+!3)^!2),(x^!2+!6*!x+!9)", "2"},
        {"((x+!3)*!(x+!(-3))),(x^!2+!(-9))", "2"},
    };
    for (const auto& [request, verdict] : others)
        EXPECT_EQ(ask(1372, request), verdict) << request;
}

// The begin dialog: the entered equation or system must have the
// reference's solution set.
TEST_F(Checks, BeginDialog)
{
    EXPECT_EQ(ask(2101, "(x=!2),(2*!x+!3=!7)"), "2*x+3=7");
    EXPECT_EQ(ask(2101, "(System((x=!1) &! (y=!2))),(System((x+!y=!3) &! (x+!(-1)*!y=!(-1))))"),
              "system(x+y=3,x-y=-1)");
    EXPECT_EQ(ask(2101, "(x=!2),(2*!x+!3=!8)"), kNoResult);
    EXPECT_EQ(ask(2101, "(x=!2),(x+!2)"), kNoResult);  // not an equation
    EXPECT_EQ(ask(2101, "(2*!x+!3=!7)"), kNoResult);
}

// A start formula that is already solved is no model of the task; an
// equation with the same solution set that still needs solving is.
TEST_F(Checks, BeginDialogRefusesSolvedStarts)
{
    const std::pair<const char*, const char*> rows[] = {
        {"(x=!5),(x=!5)", kNoResult},
        {"(x=!5),(5=!x)", kNoResult},
        {"(x=!5),(x=!2+!3)", kNoResult},
        {"(x=!5),(x=!10//2)", kNoResult},
        {"(System((x=!8) &! (y=!4))),(System((x=!8) &! (y=!4)))", kNoResult},
        {"(System((x=!8) &! (y=!4))),(System((y=!4) &! (x=!12+!(-4))))", kNoResult},
        {"(x=!5),(2*!x=!10)", "2*x=10"},
        {"(x=!5),(x+!0=!5)", "x+0=5"},
        {"(x=!5),(10=!2*!x)", "10=2*x"},
        {"(System((x=!8) &! (y=!4))),(System((x=!8) &! (x+!y=!12)))", "system(x=8,x+y=12)"},
    };
    for (const auto& [request, reply] : rows)
        EXPECT_EQ(ask(2101, request), reply) << request;
}

class Drill : public KernelTest {
protected:
    void SetUp() override { start("exercise.clew"); }
};

// One digit per row joined by ","; "9" for a row it cannot read or tell.
TEST_F(Drill, RowsGetOneDigitEach)
{
    EXPECT_EQ(ask(501, "((2*!x=!4),(x=!2))#((x+!1=!3),(x=!5))#((x^!2=!4),(x=!2))"), "2,0,0");
    EXPECT_EQ(ask(501, "((x+!1=!3),(2*!x=!4))"), "1");
    EXPECT_EQ(ask(501, "((2+!3),(5))#((2+!3),(4+!1))#((2+!3),(6))"), "2,1,0");
    // A mixed number's "#!" does not split a row.
    EXPECT_EQ(ask(501, "((2*!x=!5+!1//2),(x=!(2#!(3//4))))#((2*!x=!5+!1//2),(x=!11//4))"), "2,2");
    EXPECT_EQ(ask(501, "((x=!1),(x=!1))#(bad)#((x),(x))#((Sin(x)=!0),(x=!0))"), "2,9,1,9");
    // A mixed number is final when its fraction part is proper and reduced.
    EXPECT_EQ(ask(501, "((4*!x=!10),(x=!(2#!(1//2))))#((4*!x=!10),(x=!5//2))#((4*!x=!10),(x=!RealNum(\"2\",\"5\")))#"
                       "((4*!x=!10),(x=!(1#!(3//2))))#((4*!x=!10),(x=!(2#!(2//4))))"),
              "2,2,2,1,1");
    // Roots with indices in one formula of several lines.
    EXPECT_EQ(ask(501, "((x^!2=!2*!x+!3),(x1=!(-1),x2=!3))#((x^!2=!2*!x+!3),(x1=!(-1),x2=!2))"), "2,0");
    EXPECT_EQ(ask(501, "((x=!1))"), "9");
    EXPECT_EQ(ask(501, ""), kNoResult);
}

}  // namespace
}  // namespace kerneltest
