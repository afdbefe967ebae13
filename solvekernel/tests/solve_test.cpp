// Solving: the quadratic through the discriminant (107), the number-axis
// interval (1035) and the solver's whole solution set (2001).
#include <cmath>
#include <string>
#include <vector>

#include "kernel_fixture.h"

namespace kerneltest {
namespace {

class Solving : public KernelTest {
protected:
    void SetUp() override { start("stepwell.clew"); }
};

TEST_F(Solving, QuadraticThroughTheDiscriminant)
{
    EXPECT_EQ(ask(107, "(x^!2+!(-5)*!x+!6=!0)"), "union(x=2,x=3)");
    EXPECT_EQ(ask(107, "(x^!2+!(-4)*!x+!4=!0)"), "x=2");
    EXPECT_EQ(ask(107, "(x^!2+!1=!0)"), "spec_equ(blng,x,EmptySet)");
    EXPECT_EQ(ask(107, "(2*!x^!2+!3*!x+!(-2)=!0)"), "union(x=-2,x=hor_frac(1,2))");
    EXPECT_EQ(ask(107, "(x^!2=!5*!x+!(-6))"), "union(x=2,x=3)");
    EXPECT_EQ(ask(107, "(y^!2+!2*!y=!0)"), "union(y=-2,y=0)");
    EXPECT_EQ(ask(107, "(x^!2+!(-5)*!x+!3=!0)"),
              "union(x=hor_frac(5-sqrroot(13),2),x=hor_frac(5+sqrroot(13),2))");
    EXPECT_EQ(ask(107, "(x^!2+!2*!x+!(-1)=!0)"), "union(x=-1-sqrroot(2),x=-1+sqrroot(2))");
    EXPECT_EQ(ask(107, "(x^!2+!(-8)=!0)"), "union(x=-2*sqrroot(2),x=2*sqrroot(2))");
    EXPECT_EQ(ask(107, "(4*!x^!2+!(-3)=!0)"), "union(x=-hor_frac(sqrroot(3),2),x=hor_frac(sqrroot(3),2))");
    EXPECT_EQ(ask(107, "(2*!x+!1=!0)"), kNoResult);  // not quadratic
    EXPECT_EQ(ask(107, "(x^!2+!y=!0)"), kNoResult);
    EXPECT_EQ(ask(107, "(x^!2+!(-1)*!x)"), kNoResult);
    // The roots are roots: each reply value makes the trinomial zero.
    const std::string reply = ask(107, "(3*!x^!2+!(-7)*!x+!1=!0)");
    ASSERT_EQ(reply, "union(x=hor_frac(7-sqrroot(37),6),x=hor_frac(7+sqrroot(37),6))");
    for (const std::string root : {"hor_frac(7-sqrroot(37),6)", "hor_frac(7+sqrroot(37),6)"}) {
        const double x = replyValue(root, {});
        EXPECT_NEAR(3 * x * x - 7 * x + 1, 0.0, 1e-12);
    }
}

// "left ={l} right ={r} xr ={a} yr ={b}" for a set that is one interval.
TEST_F(Solving, IntervalForTheNumberAxis)
{
    const std::pair<const char*, const char*> rows[] = {
        {"(2*!x<!4)", "left ={0} right ={0} xr ={MinusInfSet} yr ={2}"},
        {"(x>=!(-5//2))", "left ={1} right ={0} xr ={-2.5} yr ={PlusInfSet}"},
        {"(x^!2<!4)", "left ={0} right ={0} xr ={-2} yr ={2}"},
        {"(x^!2<=!2)", "left ={1} right ={1} xr ={-1.414214} yr ={1.414214}"},
        {"(System((x>!1) &! (x<=!RealNum(\"3\",\"5\"))))", "left ={0} right ={1} xr ={1} yr ={3.5}"},
        {"(x || Interval(1,0,(-1),3))", "left ={1} right ={0} xr ={-1} yr ={3}"},
        {"(x^!2+!1>!0)", "left ={0} right ={0} xr ={MinusInfSet} yr ={PlusInfSet}"},
        {"(3*!x=!1)", "left ={1} right ={1} xr ={0.333333} yr ={0.333333}"},
    };
    for (const auto& [request, reply] : rows)
        EXPECT_EQ(ask(1035, request), reply) << request;
    for (const char* request : {"(x^!2>!4)", "(x^!2<!0)", "(x+!y<!1)", "(x<>!1)", "(2*!x+!1)"})
        EXPECT_EQ(ask(1035, request), kNoResult) << request;
}

// With a radical in a denominator the set is still the right one: one
// interval, or none when the set has two parts.
TEST_F(Solving, IntervalWithARadicalInADenominator)
{
    EXPECT_EQ(ask(1035, "(((x+!_sqrt(2))/!(x+!(-1)*!_sqrt(2)))<!0)"),
              "left ={0} right ={0} xr ={-1.414214} yr ={1.414214}");
    EXPECT_EQ(ask(1035, "(((x+!_sqrt(3))/!(x+!(-1)*!_sqrt(2)))<!0)"),
              "left ={0} right ={0} xr ={-1.732051} yr ={1.414214}");
    EXPECT_EQ(ask(1035, "(((x+!1)/!(x+!(-1)*!_sqrt(2)))>!0)"), kNoResult);
    EXPECT_EQ(ask(1035, "(((x+!2*!_sqrt(5))/!(x+!(-1)*!_sqrt(2)))>=!0)"), kNoResult);
}

class Solver : public KernelTest {
protected:
    void SetUp() override { start("reckonry.clew"); }
};

TEST_F(Solver, WholeSolutionSets)
{
    const std::pair<const char*, const char*> rows[] = {
        {"2*!x+!3=!7", "x=2"},
        {"x^!2+!(-5)*!x+!6=!0", "union(x=2,x=3)"},
        {"x^!3+!(-1)*!x=!0", "union(x=-1,x=0,x=1)"},
        {"x^!2=!2", "union(x=-sqrroot(2),x=sqrroot(2))"},
        {"x^!2>!4", "union(x<-2,x>2)"},
        {"x^!2>=!4", "union(spec_equ(eqls,x,-2),spec_equ(eqmr,x,2))"},
        {"x^!2<!0", "spec_equ(blng,x,EmptySet)"},
        {"x^!2>=!0", "spec_equ(blng,x,spec_atom(real))"},
        {"(x/!x)=!1", "spec_equ(nequ,x,0)"},
        {"((x^!2+!(-1))/!(x+!(-1)))=!2", "spec_equ(blng,x,EmptySet)"},
        {"((x+!1)/!(x+!(-2)))>=!0", "union(spec_equ(eqls,x,-1),x>2)"},
        {"System((x>!1) &! (x<=!5))", "spec_equ(blng,x,Interval(0,1,1,5))"},
        {"Union((x<!1) |! (x>!1))", "spec_equ(nequ,x,1)"},
        {"x || Interval(1,1,(-1),3)", "spec_equ(blng,x,Interval(1,1,-1,3))"},
        {"System((x+!y=!5) &! (x+!(-1)*!y=!1))", "system(x=3,y=2)"},
        {"System((x+!y=!5) &! (x+!y=!6))", "spec_equ(blng,x,EmptySet)"},
        {"System((x+!y=!5) &! (x*!y=!6))", "union(system(x=2,y=3),system(x=3,y=2))"},
        {"System((x+!y+!z=!6) &! (x+!(-1)*!y=!0) &! (z=!3))", "system(x=hor_frac(3,2),y=hor_frac(3,2),z=3)"},
        {"2*!x=!RealNum(\"1\",\"5\")", "x=0mrk_comma75"},
    };
    for (const auto& [request, reply] : rows) {
        EXPECT_EQ(ask(2001, request), reply) << request;
        EXPECT_TRUE(wellFormedReply(reply));
    }
    for (const char* request : {"x+!1", "System((x+!y=!5) &! (2*!x+!2*!y=!10))", "x^!5+!x+!1=!0",
                                "Sin(x)=!0", "_abs(x)=!1", "1=!1"})
        EXPECT_EQ(ask(2001, request), kNoResult) << request;
}

// The values "x=v" of a reply (one, or the lines of a union).
std::vector<std::string> rootsOf(const std::string& reply)
{
    std::string body = reply;
    if (body.rfind("union(", 0) == 0)
        body = body.substr(6, body.size() - 7);
    std::vector<std::string> roots;
    int depth = 0;
    std::string current;
    for (char c : body + ",") {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (c == ',' && depth == 0) {
            if (current.rfind("x=", 0) == 0)
                roots.push_back(current.substr(2));
            current.clear();
        } else {
            current += c;
        }
    }
    return roots;
}

// Each root of the reply, read back numerically, makes the equation's
// difference of sides zero, and no root is missing.
TEST_F(Solver, RootsSatisfyTheEquation)
{
    struct Row {
        const char* request;
        const char* difference;
        std::size_t roots;
    };
    const Row rows[] = {
        {"x^!2+!(-5)*!x+!3=!0", "x^2-5*x+3", 2},
        {"3*!x^!2=!7*!x+!(-1)", "3*x^2-7*x+1", 2},
        {"x^!3+!(-2)*!x=!0", "x^3-2*x", 3},
        {"2*!x^!4+!(-7)*!x^!2+!3=!0", "2*x^4-7*x^2+3", 4},
        {"((x+!1)/!(x+!(-3)))=!x", "(x+1)/(x-3)-x", 2},
        {"x^!2+!x+!1=!0", "x^2+x+1", 0},
    };
    for (const Row& row : rows) {
        const std::string reply = ask(2001, row.request);
        const auto roots = rootsOf(reply);
        EXPECT_EQ(roots.size(), row.roots) << reply;
        for (const std::string& root : roots) {
            const double x = replyValue(root, {});
            EXPECT_NEAR(plainValue(row.difference, {{"x", x}}), 0.0, 1e-9) << reply;
        }
    }
}

// A radical in a denominator: the sign chart reads numerator and denominator
// of one and the same normal form, so no region comes out with its sign
// turned over.
TEST_F(Solver, RadicalInADenominator)
{
    const std::pair<const char*, const char*> rows[] = {
        {"((x+!_sqrt(2))/!(x+!(-1)*!_sqrt(2)))>!0", "union(x<-sqrroot(2),x>sqrroot(2))"},
        {"((x+!_sqrt(2))/!(x+!(-1)*!_sqrt(2)))<=!0", "spec_equ(blng,x,Interval(1,0,-sqrroot(2),sqrroot(2)))"},
        {"((x+!1)/!(x+!(-1)*!_sqrt(2)))<!0", "spec_equ(blng,x,Interval(0,0,-1,sqrroot(2)))"},
        {"((x+!(-3))/!(x+!(-1)*!_sqrt(2)))>!0", "union(x<sqrroot(2),x>3)"},
        {"((x+!2*!_sqrt(5))/!(x+!(-1)*!_sqrt(2)))>=!0", "union(spec_equ(eqls,x,-2*sqrroot(5)),x>sqrroot(2))"},
        {"(1/!(x+!_sqrt(2))+!1/!(x+!(-1)*!_sqrt(2)))>!0",
         "union(spec_equ(blng,x,Interval(0,0,-sqrroot(2),0)),x>sqrroot(2))"},
        {"(1/!(x+!(-1)*!_sqrt(2))+!1/!(x+!_sqrt(2)))>!1",
         "union(spec_equ(blng,x,Interval(0,0,-sqrroot(2),1-sqrroot(3))),"
         "spec_equ(blng,x,Interval(0,0,sqrroot(2),1+sqrroot(3))))"},
        {"(1/!(x+!(-1)*!_sqrt(2))+!1/!(x+!(-1)*!_sqrt(2)))<=!0", "x<sqrroot(2)"},
    };
    for (const auto& [request, reply] : rows)
        EXPECT_EQ(ask(2001, request), reply) << request;
}

TEST_F(Solver, ApproximateRoots)
{
    ASSERT_EQ(ask(9, "1"), "1");
    ASSERT_EQ(ask(11, "3"), "3");
    EXPECT_EQ(ask(2001, "x^!2=!2"), "union(x=-1mrk_comma414,x=1mrk_comma414)");
    EXPECT_EQ(ask(2001, "3*!x=!1"), "x=0mrk_comma333");
    EXPECT_EQ(ask(2001, "2*!x=!4"), "x=2");
}

}  // namespace
}  // namespace kerneltest
