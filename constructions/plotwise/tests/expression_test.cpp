#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "constructions/plotwise/expression/expression_function.h"

namespace constructions::plotwise {
namespace {

constexpr double kUntouched = 12345.0;

// The tree as TYPE(child,...): leaves by their text, other nodes by their
// token name ("sin" nodes as "sin"(...)).
std::string shapeOf(antlr::RefAST node)
{
    if (node.get() == nullptr)
        return "";
    std::string out;
    antlr::RefAST child = node->getFirstChild();
    if (child.get() == nullptr)
        return node->getText();
    const CExpressionEvaluator names;
    out = names.getTokenName(node->getType());
    out += '(';
    for (bool first = true; child.get() != nullptr; child = child->getNextSibling(), first = false) {
        if (!first)
            out += ',';
        out += shapeOf(child);
    }
    return out + ')';
}

struct Row {
    const char* text;
    double x;
    int flag;
    double value;          // when flag is 1; NaN compares as NaN
    const char* tree;      // nullptr: not checked; "" the empty tree
    const char* var = "x";
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

const Row kRows[] = {
    {"x^2", -3, 1, 9, "POWER(x,2)"},
    {"x^0.5", -1, 0, 0, nullptr},
    {"x^(1/2)", -1, 0, 0, nullptr},
    {"x^(2/4)", -1, 0, 0, nullptr},
    {"x^0.5", 4, 1, 2, nullptr},
    {"x^0.25", -1, 1, kNaN, nullptr},
    {"1/x", 0, 1, kInf, "SLASH(1,x)"},
    {"0/x", 0, 1, kNaN, nullptr},
    {"2^3^2", 0, 1, 64, "POWER(POWER(2,3),2)"},
    {"(x)", 5, 1, 5, "LPAREN(x)"},
    {"sin(x)", 0, 1, 0, "\"sin\"(x)"},
    {"cos(x)", 0, 1, 1, "\"cos\"(x)"},
    {"ABS(x-3)", 1, 1, 2, "\"ABS\"(MINUS(x,3))"},
    {"a-b-c", 0, 0, 0, ""},
    {"x-2-3", 10, 1, 5, "MINUS(MINUS(x,2),3)"},
    {"x/2/4", 16, 1, 2, nullptr},
    {"1+2*x^2", 3, 1, 19, "PLUS(1,STAR(2,POWER(x,2)))"},
    // Right operands that are a number or x, and those that are not.
    {"(0-4)^x", 0.5, 0, 0, nullptr},
    {"(0-4)^x", 2, 1, 16, nullptr},
    {"2^x", 3, 1, 8, nullptr},
    {"x^x", 2, 1, 4, nullptr},
    {"2/x", 4, 1, 0.5, nullptr},
    {"2-x", 5, 1, -3, nullptr},
    {"(x+1)*x", 2, 1, 6, nullptr},
    {"x-x*x/4+x", 4, 1, 4, nullptr},
    {"(x+1)/(x-1)-x*0.5", 3, 1, 0.5, nullptr},
    {"x+", 0, 0, 0, "PLUS(x)"},
    {"x*-1", 0, 0, 0, "STAR(x)"},
    // The empty tree: syntax errors that leave nothing, lexical errors,
    // identifiers other than the variable.
    {"-x", 1, 0, 0, ""},
    {"(x", 1, 0, 0, ""},
    {"sin(x", 1, 0, 0, ""},
    {"sin x", 1, 0, 0, ""},
    {"1.", 1, 0, 0, ""},
    {"", 1, 0, 0, ""},
    {" ", 1, 0, 0, ""},
    {".5", 1, 0, 0, ""},
    {"3.x", 1, 0, 0, ""},
    {"[x]", 1, 0, 0, ""},
    {"abs(x)", 1, 0, 0, ""},
    {"Sin(x)", 1, 0, 0, ""},
    {"X", 1, 0, 0, ""},
    {"x+1 $", 1, 0, 0, ""},
    {"x+1\xD0\xB0", 1, 0, 0, ""},
    {"x^2", 1, 0, 0, "", ""},
    // The expression ends at the first token that cannot continue it.
    {"2x", 2, 1, 2, "2"},
    {"1x", 2, 1, 1, "1"},
    {"x)", 2, 1, 2, "x"},
    {"x y", 2, 1, 2, "x"},
    {"1.5.2", 2, 1, 1.5, "1.5"},
    {"1 000", 2, 1, 1, "1"},
    {"x+1)$", 2, 1, 3, nullptr},
    {"x\t+\n1\r*\r\n2 ", 2, 1, 4, nullptr},
    // Identifiers with "_" and digits are names of their own.
    {"x_1*2", 2, 1, 4, "STAR(x_1,2)", "x_1"},
    {"_x+1", 2, 1, 3, nullptr, "_x"},
    {"x_1", 2, 0, 0, "", "x"},
};

TEST(Expression, EvaluatesAndBuildsTreesAsTheTableSays)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::string("text \"") + row.text + "\" var \"" + row.var + "\"");
        CExpressionFunction f;
        f.SetName(row.var);
        f.SetText(row.text);
        f.Parse();
        if (row.tree) {
            EXPECT_EQ(shapeOf(f.Tree()), row.tree);
        }
        double y = kUntouched;
        EXPECT_EQ(f.Evaluate(row.x, y), row.flag);
        if (row.flag == 0)
            EXPECT_EQ(y, kUntouched);
        else if (std::isnan(row.value))
            EXPECT_TRUE(std::isnan(y)) << y;
        else
            EXPECT_EQ(y, row.value);
    }
}

TEST(Expression, ATextEndsAtItsFirstNul)
{
    EXPECT_EQ(shapeOf(ParseExpression(std::string_view("x+1\0$", 5), std::string_view("x\0y", 3))),
              "PLUS(x,1)");
    CExpressionFunction f;
    f.SetName(std::string_view("x\0y", 3));
    f.SetText(std::string_view("x*2\0+", 5));
    EXPECT_EQ(f.Text(), "x*2");
    ASSERT_TRUE(f.Parse());
    double y = 0;
    EXPECT_EQ(f.Evaluate(3, y), 1);
    EXPECT_EQ(y, 6);
}

TEST(Expression, NumbersConvertWhateverTheirLength)
{
    CExpressionFunction f;
    f.SetName("x");
    f.SetText(std::string(400, '9'));
    ASSERT_TRUE(f.Parse());
    double y = 0;
    ASSERT_EQ(f.Evaluate(0, y), 1);
    EXPECT_EQ(y, kInf);

    f.SetText("0." + std::string(400, '0') + "1");
    ASSERT_TRUE(f.Parse());
    y = kUntouched;
    ASSERT_EQ(f.Evaluate(0, y), 1);
    EXPECT_EQ(y, 0.0);

    f.SetText("0.1+12345678901234567890.5");
    ASSERT_TRUE(f.Parse());
    ASSERT_EQ(f.Evaluate(0, y), 1);
    EXPECT_EQ(y, 0.1 + 12345678901234567890.5);
}

TEST(Expression, RenamingTheVariableAnswersForTheNewName)
{
    // Renamed without a parse: the kept tree names the old variable.
    CExpressionFunction f;
    f.SetName("x");
    f.SetText("x+1");
    ASSERT_TRUE(f.Parse());
    double y = kUntouched;
    f.SetName("t");
    EXPECT_TRUE(f.Dirty());
    EXPECT_EQ(f.Evaluate(1, y), 0);
    EXPECT_EQ(y, kUntouched);
    EXPECT_FALSE(f.Parse());
    EXPECT_EQ(f.Evaluate(1, y), 0);

    CExpressionFunction g;
    g.SetName("x");
    g.SetText("t+1");
    EXPECT_FALSE(g.Parse());
    g.SetName("t");
    EXPECT_TRUE(g.Parse());
    EXPECT_EQ(g.Evaluate(1, y), 1);
    EXPECT_EQ(y, 2);
}

TEST(Expression, ABrokenTextIsParsedAndReportedOnceUntilItChanges)
{
    CExpressionFunction f;
    f.SetName("x");
    f.SetText("-x");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(f.Parse());
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    testing::internal::CaptureStderr();
    for (int i = 0; i < 999; ++i)
        EXPECT_FALSE(f.Parse());
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(reports.begin(), reports.end(), '\n'), 0);

    // A change parses again.
    f.SetText("0-x");
    EXPECT_TRUE(f.Parse());
    double y = 0;
    EXPECT_EQ(f.Evaluate(2, y), 1);
    EXPECT_EQ(y, -2);
}

std::string nested(int depth)
{
    return std::string(static_cast<std::size_t>(depth), '(') + "x" + std::string(static_cast<std::size_t>(depth), ')');
}

TEST(Expression, TextsBeyondTheLimitsGiveTheEmptyTree)
{
    double y = kUntouched;
    CExpressionFunction f;
    f.SetName("x");

    f.SetText(nested(64));
    ASSERT_TRUE(f.Parse());
    EXPECT_EQ(f.Evaluate(3, y), 1);
    EXPECT_EQ(y, 3);
    f.SetText(nested(65));
    EXPECT_FALSE(f.Parse());
    EXPECT_EQ(f.Evaluate(3, y), 0);
    // Closed ones do not count: 64 open at once, 200 in all.
    std::string many;
    for (int i = 0; i < 3; ++i)
        many += nested(64) + "+";
    f.SetText(many + "x");
    ASSERT_TRUE(f.Parse());
    EXPECT_EQ(f.Evaluate(1, y), 1);
    EXPECT_EQ(y, 4);

    // 4096 bytes: x+x+...+x and one space.
    std::string sum = "x";
    while (sum.size() < 4095)
        sum += "+x";
    ASSERT_EQ(sum.size(), 4095u);
    f.SetText(sum + " ");
    ASSERT_TRUE(f.Parse());
    EXPECT_EQ(f.Evaluate(1, y), 1);
    EXPECT_EQ(y, 2048);
    f.SetText(sum + "  ");
    EXPECT_FALSE(f.Parse());
    EXPECT_EQ(f.Evaluate(1, y), 0);

    // What crashed the process: deep nesting, and a long run of "+x".
    EXPECT_EQ(ParseExpression(nested(100000), "x").get(), nullptr);
    std::string signs;
    for (int i = 0; i < 100000; ++i)
        signs += "+x";
    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseExpression(signs, "x").get(), nullptr);
    testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace constructions::plotwise
