// Operations on a picked part (stepwell.clew) and the solver's and
// calculator's expression codes (reckonry.clew): each reply is checked byte
// for byte and, where it is an expression, by its values at sample points
// against the request's meaning.
#include "kernel_fixture.h"

namespace kerneltest {
namespace {

struct Row {
    int code;
    const char* request;
    const char* reply;
    const char* meaning;  // the request in the algebra library's syntax; "" for none
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.code << " " << row.request; }

class PartOperations : public KernelTest, public ::testing::WithParamInterface<Row> {};

TEST_P(PartOperations, ReplyAndMeaning)
{
    start("stepwell.clew");
    const Row& row = GetParam();
    const std::string reply = ask(row.code, row.request);
    EXPECT_EQ(reply, row.reply);
    if (reply != kNoResult) {
        EXPECT_TRUE(wellFormedReply(reply, std::string(row.request).find("x1") != std::string::npos));
        if (*row.meaning) {
            EXPECT_TRUE(sameFunction(reply, row.meaning));
        }
    }
}

const Row kPartRows[] = {
    // Compute or simplify the part (10, 11, 333, 12, 13), drops included.
    {10, "2+!3*!4", "14", "2+3*4"},
    {10, "2*!x+!3*!x", "5*x", "2*x+3*x"},
    {11, "5*!x+!(-1)*!2*!x", "3*x", "5*x-2*x"},
    {333, "x+!(-1)*!y+!y", "x", "x-y+y"},
    {12, "3*!x*!2", "6*x", "3*x*2"},
    {13, "(6*!x/!3)", "2*x", "6*x/3"},
    {10, "1//2+!1//3", "hor_frac(5,6)", "1/2+1/3"},
    // Fractions over one number denominator come out as one fraction.
    {10, "((x+!1)/!2)+!((x+!(-1))/!3)", "hor_frac(5*x+1,6)", "(x+1)/2+(x-1)/3"},
    {10, "(x/!2)+!1//3+!1//6", "hor_frac(x+1,2)", "x/2+1/3+1/6"},
    {10, "(x/!2)+!1//3+!x", "hor_frac(3*x,2)+hor_frac(1,3)", "x/2+1/3+x"},
    {10, "(2#!(3//4))+!1", "hor_frac(15,4)", "2+3/4+1"},
    {10, "(-1)*(2#!(3//4))+!1", "-hor_frac(7,4)", "-(2+3/4)+1"},
    {10, "((-2)#!(3//4))+!1", "-hor_frac(7,4)", "-(2+3/4)+1"},
    {10, "(-3)//4+!1", "hor_frac(1,4)", "-3/4+1"},
    {10, "RealNum(\"2\",\"5\")+!1", "3mrk_comma5", "2.5+1"},
    {10, "RealNum(\"-3\",\"5\")+!RealNum(\"0\",\"25\")", "-3mrk_comma25", "-3.5+0.25"},
    {10, "PeriodNum(\"0\",\"1\",\"(6)\")+!1//6", "hor_frac(1,3)", "1/6+1/6"},
    {10, "(x+!1)^!2", "index_up(x,2)+2*x+1", "(x+1)^2"},
    {10, "2*!(x+!3)", "2*x+6", "2*(x+3)"},
    {10, "2x+!3x", "5*x", "2*x+3*x"},
    {10, "x1+!x1", "2*x1", ""},
    {10, "Derive(x^!3)", "3*index_up(x,2)", "3*x^2"},
    {10, "5%!*!200", "10", "10"},
    {10, "_sqrt(8)", "2*sqrroot(2)", "sqrt(8)"},
    {10, "_sqrt(12)+!(-1)*!_sqrt(3)", "sqrroot(3)", "sqrt(12)-sqrt(3)"},
    {10, "_abs((-5))", "5", "5"},
    {10, "Sin(pi/!6)", "hor_frac(1,2)", "1/2"},
    {10, " pi *!2+! pi ", "3*pi", "3*Pi"},
    {10, "x^!2*!x^!(-1)", "x", "x"},
    {10, "((x^!2+!(-1))/!(x+!(-1)))", "x+1", "x+1"},
    {10, "2*!x+!3*!x=!10", "5*x=10", ""},
    {10, "System((2*!x+!x=!3) &! (y+!y=!4))", "system(3*x=3,2*y=4)", ""},
    {10, "5", kNoResult, ""},
    {10, "x+!y", kNoResult, ""},
    // Expand brackets (101).
    {101, "2*!(x+!3)", "2*x+6", "2*(x+3)"},
    {101, "(x+!(-3))^!2", "index_up(x,2)-6*x+9", "(x-3)^2"},
    {101, "(a+!b)^!2", "index_up(a,2)+2*a*b+index_up(b,2)", "(a+b)^2"},
    {101, "(a+!b)*!(a+!(-1)*!b)", "index_up(a,2)-index_up(b,2)", "(a+b)*(a-b)"},
    {101, "(-1)*!(x+!(-1)*!y)", "-x+y", "-(x-y)"},
    {101, "x*!(x+!1)=!6", "index_up(x,2)+x=6", ""},
    // Collect like terms (102): the pupil's order of terms stays.
    {102, "2*!x+!3+!5*!x", "7*x+3", "2*x+3+5*x"},
    {102, "3+!2*!x+!(-1)*!2*!x+!y", "3+y", "3+y"},
    {102, "a*!b+!2*!b*!a+!(-1)*!a", "3*a*b-a", "3*a*b-a"},
    {102, "x^!2+!x+!1", kNoResult, ""},
    // Common factor (103).
    {103, "6*!x+!9", "3*(2*x+3)", "6*x+9"},
    {103, "(-2)*!x+!(-4)", "-2*(x+2)", "-2*x-4"},
    {103, "x^!2+!x", "x*(x+1)", "x^2+x"},
    {103, "6*!a^!2*!b+!9*!a*!b^!2", "3*a*b*(2*a+3*b)", "6*a^2*b+9*a*b^2"},
    {103, "x+!1", kNoResult, ""},
    // Factor (104).
    {104, "x^!2+!(-9)", "(x+3)*(x-3)", "x^2-9"},
    {104, "x^!2+!6*!x+!9", "index_up(x+3,2)", "x^2+6*x+9"},
    {104, "x^!2+!(-5)*!x+!6", "(x-2)*(x-3)", "x^2-5*x+6"},
    {104, "2*!x^!2+!(-8)", "2*(x+2)*(x-2)", "2*x^2-8"},
    {104, "a^!2+!(-2)*!a*!b+!b^!2", "index_up(a-b,2)", "(a-b)^2"},
    {104, "9+!(-1)*!x^!2", "-(x+3)*(x-3)", "9-x^2"},
    {104, "x^!2+!1", kNoResult, ""},
    // Factor by the chosen formula card (104 "(n),(sel)"): 1 the difference
    // of two squares, 2 the square of a binomial; another shape, no result.
    {104, "(1),(x^!2+!(-9))", "(x+3)*(x-3)", "x^2-9"},
    {104, "(1),(9+!(-1)*!x^!2)", "-(x+3)*(x-3)", "9-x^2"},
    {104, "(1),(4*!x^!2+!(-1)//9)", "hor_frac((6*x+1)*(6*x-1),9)", "4*x^2-1/9"},
    {104, "(1),((x+!1)^!2+!(-9))", "(x+4)*(x-2)", "(x+1)^2-9"},
    {104, "(1),(a^!2*!b^!4+!(-1))", "(a*index_up(b,2)+1)*(a*index_up(b,2)-1)", "a^2*b^4-1"},
    {104, "(2),(x^!2+!(-9))", kNoResult, ""},
    {104, "(1),(x^!2+!9)", kNoResult, ""},
    {104, "(1),(2*!x^!2+!(-8))", kNoResult, ""},
    {104, "(1),(x^!2+!(-5)*!x+!6)", kNoResult, ""},
    {104, "(2),(x^!2+!6*!x+!9)", "index_up(x+3,2)", "x^2+6*x+9"},
    {104, "(2),(9+!x^!2+!(-6)*!x)", "index_up(x-3,2)", "9+x^2-6*x"},
    {104, "(2),(4*!a^!2+!12*!a*!b+!9*!b^!2)", "index_up(2*a+3*b,2)", "4*a^2+12*a*b+9*b^2"},
    {104, "(2),((x+!1)^!2+!2*!(x+!1)+!1)", "index_up(x+2,2)", "(x+1)^2+2*(x+1)+1"},
    {104, "(1),(x^!2+!6*!x+!9)", kNoResult, ""},
    {104, "(2),(x^!2+!4*!x+!(-5))", kNoResult, ""},
    {104, "(2),(x^!2+!5*!x+!9)", kNoResult, ""},
    {104, "(3),(x^!2+!(-9))", kNoResult, ""},
    // Fractions (105): reduce, or a common denominator and add.
    {105, "6//8", "hor_frac(3,4)", "3/4"},
    {105, "((x^!2+!(-1))/!(x+!(-1)))", "x+1", "x+1"},
    {105, "(1/!x)+!(1/!y)", "hor_frac(x+y,x*y)", "1/x+1/y"},
    {105, "((x+!1)/!2)+!((x+!(-1))/!3)", "hor_frac(5*x+1,6)", "(x+1)/2+(x-1)/3"},
    {105, "(1/!(x+!(-1)))+!(1/!(x+!1))", "hor_frac(2*x,(x+1)*(x-1))", "1/(x-1)+1/(x+1)"},
    {105, "(1/!(1+!(-1)*!x))", "-hor_frac(1,x-1)", "1/(1-x)"},
    {105, "3//4", kNoResult, ""},
    // Collect the terms in a letter (14): "(whole),letter".
    {14, "(a*!x+!b*!x+!c),x", "(a+b)*x+c", "a*x+b*x+c"},
    {14, "(a*!x^!2+!x^!2+!3*!x+!a*!x+!1),x", "(a+1)*index_up(x,2)+(a+3)*x+1", "a*x^2+x^2+3*x+a*x+1"},
    {14, "(2*!x+!3=!x+!7),x", "x=4", ""},
    {14, "(a*!x+!b=!c*!x+!d),x", "(a-c)*x=-b+d", ""},
    {14, "(a*!y+!b),x", kNoResult, ""},
};

INSTANTIATE_TEST_SUITE_P(Stepwell, PartOperations, ::testing::ValuesIn(kPartRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return "Code" + std::to_string(info.param.code) + "Row" + std::to_string(info.index);
                         });

// Fractions (105) with a radical in a denominator keep their value: the
// numerator and the denominator come from one normal form, so their signs
// agree. (Which of the two carries the sign may vary; the value may not.)
TEST_F(KernelTest, FractionsWithARadicalInADenominatorKeepTheirValue)
{
    start("stepwell.clew");
    const std::pair<const char*, const char*> rows[] = {
        {"1/!(_sqrt(2)+!(-1)*!x)+!1/!(x+!_sqrt(2))", "1/(sqrt(2)-x)+1/(x+sqrt(2))"},
        {"1/!(x+!_sqrt(2))+!1/!(x+!(-1)*!_sqrt(2))", "1/(x+sqrt(2))+1/(x-sqrt(2))"},
        {"1/!(x+!_sqrt(3))+!(-1)/!(x+!(-1)*!_sqrt(2))", "1/(x+sqrt(3))-1/(x-sqrt(2))"},
        {"x/!(_sqrt(2)+!(-1)*!x)+!_sqrt(3)/!(x+!1)", "x/(sqrt(2)-x)+sqrt(3)/(x+1)"},
        {"1/!(x+!pi)+!(-1)/!(x+!_sqrt(2))", "1/(x+Pi)-1/(x+sqrt(2))"},
    };
    for (const auto& [request, meaning] : rows) {
        const std::string reply = ask(105, request);
        ASSERT_NE(reply, kNoResult) << request;
        EXPECT_TRUE(sameFunction(reply, meaning)) << request;
    }
}

class Calculator : public KernelTest {
protected:
    void SetUp() override { start("reckonry.clew"); }
};

TEST_F(Calculator, ExactValues)
{
    EXPECT_EQ(ask(1, "2+!3*!4"), "14");
    EXPECT_EQ(ask(1, "1//3+!1//6"), "hor_frac(1,2)");
    EXPECT_EQ(ask(1, "RealNum(\"0\",\"5\")+!RealNum(\"0\",\"25\")"), "0mrk_comma75");
    EXPECT_EQ(ask(1, "_sqrt(2)*!_sqrt(8)"), "4");
    EXPECT_EQ(ask(1, "_sqrt(18)"), "3*sqrroot(2)");
    EXPECT_EQ(ask(1, "(-5)"), "-5");
    EXPECT_EQ(ask(1, "2^!(-2)"), "hor_frac(1,4)");
    EXPECT_EQ(ask(1, "x+!1"), kNoResult);
    EXPECT_EQ(ask(1, "_sqrt((-1))"), kNoResult);
    EXPECT_EQ(ask(1, "1/!(2+!(-2))"), kNoResult);
    EXPECT_EQ(ask(1, "x=!1"), kNoResult);
}

// Mode "1" is approximate, with the handle's precision (digits after the
// separator); a bad text changes nothing.
TEST_F(Calculator, ApproximateModeAndPrecision)
{
    EXPECT_EQ(ask(1002, "1"), "6");
    EXPECT_EQ(ask(1001, "1"), "1");
    EXPECT_EQ(ask(1, "1//3"), "0mrk_comma333333");
    EXPECT_EQ(ask(1, "2//3"), "0mrk_comma666667");
    EXPECT_EQ(ask(1, "(-2)//3"), "-0mrk_comma666667");
    EXPECT_EQ(ask(1, "1//2"), "0mrk_comma5");
    EXPECT_EQ(ask(1, "7"), "7");
    EXPECT_EQ(ask(1003, "2"), "2");
    EXPECT_EQ(ask(1, "_sqrt(2)"), "1mrk_comma41");
    EXPECT_EQ(ask(1, "pi"), "3mrk_comma14");
    EXPECT_EQ(ask(1003, "0"), "0");
    EXPECT_EQ(ask(1, "5//2"), "3");
    EXPECT_EQ(ask(1, "(-1)//1000"), "0");
    for (const char* bad : {"34", "-1", "abc", "", "1.5", "100"}) {
        EXPECT_EQ(ask(1003, bad), kNoResult) << bad;
        EXPECT_EQ(ask(1002, "1"), "0") << bad;
    }
    EXPECT_EQ(ask(11, " 33 "), "33");
    EXPECT_EQ(ask(10, ""), "33");
    EXPECT_EQ(ask(1, "1//3"), "0mrk_comma" + std::string(33, '3'));
    EXPECT_EQ(ask(9, "2"), kNoResult);
    EXPECT_EQ(ask(9, "0"), "0");
    EXPECT_EQ(ask(1, "1//3"), "hor_frac(1,3)");
}

// Simplify (2002) and factor (2003): the number and letter content comes
// out first; an expression already in the asked form is its own answer; what
// is no expression or polynomial gets none.
TEST_F(Calculator, SimplifyAndFactorCodes)
{
    const Row rows[] = {
        {2002, "2*!x+!3*!x", "5*x", "2*x+3*x"},
        {2002, "((x+!1)/!2)+!((x+!(-1))/!3)", "hor_frac(5*x+1,6)", "(x+1)/2+(x-1)/3"},
        {2003, "x^!2+!(-9)", "(x+3)*(x-3)", "x^2-9"},
        {2003, "6*!a+!9*!b", "3*(2*a+3*b)", "6*a+9*b"},
        {2003, "2*!x+!4", "2*(x+2)", "2*x+4"},
        {2003, "6*!x+!9", "3*(2*x+3)", "6*x+9"},
        {2003, "2*!x^!2+!(-18)", "2*(x+3)*(x-3)", "2*x^2-18"},
        {2003, "(-2)*!x+!(-4)", "-2*(x+2)", "-2*x-4"},
        {2003, "6*!x^!2+!9*!x", "3*x*(2*x+3)", "6*x^2+9*x"},
        {2003, "x^!3+!(-1)*!x", "x*(x+1)*(x-1)", "x^3-x"},
        {2003, "4*!x^!2+!8*!x+!4", "4*index_up(x+1,2)", "4*x^2+8*x+4"},
        // Nothing to do: the expression itself.
        {2002, "x^!2+!(-9)", "index_up(x,2)-9", "x^2-9"},
        {2002, "10*!x+!(-3)", "10*x-3", "10*x-3"},
        {2003, "10*!x+!(-3)", "10*x-3", "10*x-3"},
        {2003, "x^!2+!1", "index_up(x,2)+1", "x^2+1"},
        {2003, "(-1)*!x+!(-2)", "-x-2", "-x-2"},
        {2003, "3*!(2*!a+!3*!b)", "3*(2*a+3*b)", "3*(2*a+3*b)"},
        // Nothing to work on.
        {2002, "x+!1=!", kNoResult, ""},
        {2003, "x=!1", kNoResult, ""},
        {2003, "Sin(x)+!1", kNoResult, ""},
        {2003, "a*!b*!c*!d*!e+!a*!b*!c*!d*!f", kNoResult, ""},
    };
    for (const Row& row : rows) {
        const std::string reply = ask(row.code, row.request);
        EXPECT_EQ(reply, row.reply) << row.code << " " << row.request;
        if (*row.meaning)
            EXPECT_TRUE(sameFunction(reply, row.meaning)) << row.request;
    }
}

}  // namespace
}  // namespace kerneltest
