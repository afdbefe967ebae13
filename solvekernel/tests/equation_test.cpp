// Operations on equations, inequalities and systems (stepwell.clew). Their
// reply forms are fixed, so replies are compared byte for byte; each
// transformed equation is also checked to have the solution set of the one
// it came from (through the kernel's own check of a step, code 5351).
#include "kernel_fixture.h"

namespace kerneltest {
namespace {

struct Row {
    int code;
    const char* request;
    const char* reply;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.code << " " << row.request; }

class EquationOperations : public KernelTest, public ::testing::WithParamInterface<Row> {};

TEST_P(EquationOperations, Reply)
{
    start("stepwell.clew");
    const Row& row = GetParam();
    const std::string reply = ask(row.code, row.request);
    EXPECT_EQ(reply, row.reply);
    if (reply != kNoResult) {
        EXPECT_TRUE(wellFormedReply(reply));
    }
}

const Row kRows[] = {
    // Every term to the left (106): "(whole),(sel)"; the whole comes back.
    {106, "(2*!x+!3=!7),(2*!x+!3=!7)", "2*x+3-7=0"},
    {106, "(x^!2=!9),(x^!2=!9)", "index_up(x,2)-9=0"},
    {106, "(2*!x+!3=!x+!(-1)*!y+!(-5)),(2*!x+!3=!x+!(-1)*!y+!(-5))", "2*x+3-x+y+5=0"},
    {106, "(x=!(a+!b)),(x=!(a+!b))", "x-(a+b)=0"},
    {106, "(2*!x<!4),(2*!x<!4)", "2*x-4<0"},
    {106, "(System((x+!y=!5) &! (x+!(-1)*!y=!1))),(x+!(-1)*!y=!1)", "system(x+y=5,x-y-1=0)"},
    {106, "(2*!x+!3=!0),(2*!x+!3=!0)", kNoResult},
    {106, "(3),(x+!1=!2)", "x+1-2=0"},
    // Multiply both sides by a non-zero number (512); "1//n" divides.
    {512, "(2*!x=!4),(1//2)", "x=2"},
    {512, "(x+!1=!3),(2)", "2*x+2=6"},
    {512, "((x/!3)=!2),(3)", "x=6"},
    {512, "(x+!1=!3),(x)", kNoResult},
    {512, "(x+!1=!3),(0)", kNoResult},
    {512, "(x+!1=!3),(1+!(-1))", kNoResult},
    {512, "(x+!1<!3),(2)", kNoResult},
    {512, "(x+!1=!3)", kNoResult},
    // Add a term to both sides (513).
    {513, "(2*!x+!3=!7),((-3))", "2*x=4"},
    {513, "(2*!x=!x+!4),((-1)*!x)", "x=4"},
    {513, "(x+!RealNum(\"0\",\"5\")<!2),(RealNum(\"-0\",\"5\"))", "x<1mrk_comma5"},
    {513, "(x=!1),(1/!x)", kNoResult},
    // Multiply an inequality by a number; a negative one turns the sign (611).
    {611, "(2*!x<!4),((-1//2))", "-x>-2"},
    {611, "((-1)*!x>=!3),((-1))", "spec_equ(eqls,x,-3)"},
    {611, "(x<=!3),(2)", "spec_equ(eqls,2*x,6)"},
    {611, "(x<!3),(_sqrt(2))", kNoResult},
    {611, "(x<!3),(0)", kNoResult},
    // Add two equations of a system (815).
    {815, "(x+!y=!5),(x+!(-1)*!y=!1)", "2*x=6"},
    {815, "(2*!x+!3*!y=!7),(x+!(-3)*!y=!2)", "3*x=9"},
    {815, "(x+!y=!5),(x<!1)", kNoResult},
    // Express a letter from one equation and put it into the other (108).
    {108, "(System((x+!y=!5) &! (x+!(-1)*!y=!1))),(System((x+!y=!5) &! (x+!(-1)*!y=!1)))",
     "system(x=-y+5,(-y+5)-y=1)"},
    {108, "(System((2*!x+!y=!5) &! (3*!x+!(-1)*!y=!1))),(y)", "system(y=-2*x+5,3*x-(-2*x+5)=1)"},
    {108, "(System((x+!y=!5) &! (3*!x+!2*!y=!12))),(3*!x+!2*!y=!12)", "system((-hor_frac(2*y,3)+4)+y=5,x=-hor_frac(2*y,3)+4)"},
    {108, "(System((2*!x=!4) &! (x+!y=!3))),(2*!x=!4)", "system(x=2,2+y=3)"},
    {108, "(System((x*!y=!4) &! (x+!y=!3))),(x*!y=!4)", kNoResult},
    {108, "(x+!y=!5),(x+!y=!5)", kNoResult},
};

INSTANTIATE_TEST_SUITE_P(Stepwell, EquationOperations, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return "Code" + std::to_string(info.param.code) + "Row" + std::to_string(info.index);
                         });

// What the operations give is an equivalent formula (checked by the kernel's
// step check on the Aplan form of the result, written here by hand).
TEST_F(EquationOperations, ResultsAreEquivalentSteps)
{
    start("stepwell.clew");
    const std::pair<const char*, const char*> steps[] = {
        {"2*!x+!3=!7", "2*!x+!3+!(-7)=!0"},
        {"x+!1=!3", "2*!x+!2=!6"},
        {"2*!x<!4", "(-1)*!x>!(-2)"},
        {"System((x+!y=!5) &! (x+!(-1)*!y=!1))", "System((x=!(-1)*!y+!5) &! ((-1)*!y+!5+!(-1)*!y=!1))"},
    };
    for (const auto& [before, after] : steps)
        EXPECT_NE(ask(5351, std::string("(") + before + "),(" + after + ")"), kNoResult) << before;
}

}  // namespace
}  // namespace kerneltest
