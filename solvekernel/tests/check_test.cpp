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
        {"(x=!(1#!(1//2))),(2*!x=!3)", "1"},
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
    };
    for (const auto& [request, verdict] : rows)
        EXPECT_EQ(ask(1372, request), verdict) << request;
    EXPECT_EQ(ask(1372, "(x=!2)"), kNoResult);
    EXPECT_EQ(ask(1372, "(x=!),(x=!2)"), kNoResult);
    EXPECT_EQ(ask(1372, "(Sin(x)=!0),(Sin(x)=!0)"), kNoResult);  // cannot tell
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
    EXPECT_EQ(ask(501, "((2*!x=!5+!1//2),(x=!(2#!(3//4))))#((2*!x=!5+!1//2),(x=!11//4))"), "1,2");
    EXPECT_EQ(ask(501, "((x=!1),(x=!1))#(bad)#((x),(x))#((Sin(x)=!0),(x=!0))"), "2,9,2,9");
    EXPECT_EQ(ask(501, "((x=!1))"), "9");
    EXPECT_EQ(ask(501, ""), kNoResult);
}

}  // namespace
}  // namespace kerneltest
