// Keystroke scripts in editor mode: the formula before, the keys, and the
// lexeme text after with "|" where the caret stands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/edit/selection.h"
#include "formula/edit/typed_char.h"
#include "formula/env/tool_table.h"
#include "formula/tests/env_test_util.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

using test::CaretText;
using test::EditorFixture;
using test::Type;

struct Script {
    std::string formula;
    std::string keys;
    std::string caret;
};

void CheckScripts(const std::vector<Script>& scripts)
{
    for (const Script& s : scripts) {
        SCOPED_TRACE("formula '" + s.formula + "' keys '" + s.keys + "'");
        EditorFixture f(s.formula);
        Type(f.env, s.keys);
        EXPECT_EQ(CaretText(f.env), s.caret);
        EXPECT_TRUE(test::PathIsWhole(f.env));
    }
}

TEST(EditorKeys, NumbersLettersAndSigns)
{
    CheckScripts({
        {"", "12", "12|"},
        {"", "1+2", "1+2|"},
        {"", "ab", "a*b|"},
        {"", "3,5", "3,5|"},
        {"", "0,1(6)", "0,1(6)|"},
        // Inside a number: a digit joins it, a sign splits it.
        {"", "12{LEFT}5", "15|2"},
        {"", "12{LEFT}+", "1+|2"},
        {"", "2x=10", "2*x=10|"},
        {"x+1", "{HOME}y", "y|x+1"},
        {"", "a b", "a b|"},
    });
}

TEST(EditorKeys, TypedDigitsMakeOneNumber)
{
    EditorFixture f;
    Type(f.env, "12+0,1(6)");
    EXPECT_EQ(test::DescribeRoot(f.env.Root()), "num12 + period0,1(6)");
    Type(f.env, "{HOME}{RIGHT}{RIGHT}{RIGHT}{BS}");
    // 120,1(6) is one periodic number.
    EXPECT_EQ(test::DescribeRoot(f.env.Root()), "period120,1(6)");
}

TEST(EditorKeys, TemplateShortcuts)
{
    CheckScripts({
        {"", "x/", "@hor_frac$x$|#"},
        {"", "x+/1{DOWN}2", "x+@hor_frac$1$2|#"},
        {"", "/1{DOWN}2{RIGHT}+y", "@hor_frac$1$2#+y|"},
        {"", "&2", "@sqrroot$2|#"},
        {"", "x^", "@index_up$x$|#"},
        {"", "x_", "x@index_dn$|$#"},
        {"", "|x", "@br_row_abs$x|#"},
        // A template typed inside a number cuts it.
        {"", "12{LEFT}/", "1@hor_frac$|$#2"},
    });
}

TEST(EditorKeys, PowerAndFractionTakeTheOperandBeforeTheCaret)
{
    CheckScripts({
        {"", "x^2", "@index_up$x$2|#"},
        {"", "2^10", "@index_up$2$10|#"},
        {"", "x^2{RIGHT}+1", "@index_up$x$2#+1|"},
        // A bracketed group: the base draws its own brackets.
        {"", "(x+1)^2", "@index_up$x+1$2|#"},
        {"", "a-(b)^2", "a-@index_up$b$2|#"},
        {"", "2x^2", "2*@index_up$x$2|#"},
        {"", "1/2", "@hor_frac$1$2|#"},
        // The product before the caret, back to the previous other sign.
        {"", "2x/3", "@hor_frac$2*x$3|#"},
        {"", "a+3*b(c)/2", "a+@hor_frac$3*b*(c)$2|#"},
        {"", "-(x+1)/2", "-@hor_frac$(x+1)$2|#"},
        {"", "x^2{RIGHT}/4", "@hor_frac$@index_up$x$2#$4|#"},
        // No operand right before the caret: an empty template.
        {"", "x+^", "x+@index_up$|$#"},
        {"", "(/", "(@hor_frac$|$#"},
        {"", "12{LEFT}^", "1@index_up$|$#2"},
        {"", "x){HOME}{RIGHT}{RIGHT}/", "x)@hor_frac$|$#"},
    });
}

TEST(EditorKeys, RelationSignsDecimalPointAndProductSigns)
{
    CheckScripts({
        {"", "x<=1", "x@spec$<=#1|"},
        {"", "x>=", "x@spec$>=#|"},
        {"", "x=<", "x=<|"},
        {"", "0.5", "0,5|"},
        {"", "0.1(6)", "0,1(6)|"},
        {"", "x.", "x.|"},
        // An operand after a number, a letter or a closing bracket.
        {"", "2x", "2*x|"},
        {"", "x2", "x*2|"},
        {"", "abc", "a*b*c|"},
        {"", "(a)(b)", "(a)*(b)|"},
        {"", "(a)2", "(a)*2|"},
        {"", "2(", "2*(|"},
        {"", "12(3)", "12*(3)|"},
        {"", "2&", "2*@sqrroot$|#"},
        {"", "x|", "x*@br_row_abs$|#"},
        {"", "x_", "x@index_dn$|$#"},
        {"", "x+y", "x+y|"},
        {"", "2 x", "2 x|"},
        {"x", "{HOME}2", "2|x"},
        // Letters of a function name stay together, and so does what
        // follows the name.
        {"", "sin", "sin|"},
        {"", "sinx", "sinx|"},
        {"", "2cos(x)", "2*cos(x)|"},
        {"", "arcctg", "arcctg|"},
        {"", "log", "log|"},
        {"", "xln", "x*ln|"},
        {"", "si+", "s*i+|"},
    });
}

TEST(EditorKeys, KeysOfAUkrainianLayout)
{
    const std::pair<char32_t, char> cases[] = {
        {U'x', 'x'}, {U' ', ' '}, {U'х', 'x'}, {U'Х', 'X'}, {U'і', 'i'}, {U'а', 'a'}, {U'с', 'c'},
        {U'у', 'y'}, {U'р', 'p'}, {U'ш', 0},   {U'В', 0},   {U'ї', 0},   {U'@', 0},   {U'#', 0},
        {U'$', 0},   {0x7F, 0},   {U'\n', 0},
    };
    for (const auto& [code, latin] : cases) {
        EXPECT_EQ(TypedFormulaChar(code), latin) << static_cast<std::uint32_t>(code);
    }
}

TEST(EditorKeys, DeleteSelectsATemplateThenRemovesIt)
{
    EditorFixture f("a+@hor_frac$1$2#");
    Type(f.env, "{END}{LEFT}{LEFT}{LEFT}");
    ASSERT_EQ(CaretText(f.env), "a+|@hor_frac$1$2#");
    const KeyResult first = f.env.OnKeyDown({vk::Delete});
    EXPECT_FALSE(first.changed);
    EXPECT_TRUE(first.repaint);
    ASSERT_TRUE(f.env.Selection()->HasRowRun());
    EXPECT_EQ(f.env.Selection()->GetLexemText(), "@hor_frac$1$2#");
    EXPECT_EQ(f.env.GetLexemText(), "a+@hor_frac$1$2#");
    const KeyResult second = f.env.OnKeyDown({vk::Delete});
    EXPECT_TRUE(second.changed);
    EXPECT_TRUE(f.env.Selection()->IsEmpty());
    EXPECT_EQ(CaretText(f.env), "a+|");
}

TEST(EditorKeys, Deletion)
{
    CheckScripts({
        {"", "12{BS}{BS}", "|"},
        {"", "1+2{LEFT}{BS}", "1|2"},
        {"", "12+3{HOME}{DEL}", "|2+3"},
        {"", "ab{HOME}{BS}", "|a*b"},
        {"", "ab{END}{DEL}", "a*b|"},
        // A template is selected by the first press and removed by the second.
        {"", "/1{DOWN}2{RIGHT}{BS}{BS}", "|"},
        {"", "x=/{HOME}{RIGHT}{RIGHT}{DEL}{DEL}", "x=|"},
        // Backspace at the start of the second line of a system joins it.
        {"@system$a$b#", "{END}{LEFT}{RIGHT}{BS}", "@system$a|b#"},
        {"@system$1$2#", "{END}{LEFT}{RIGHT}{BS}", "@system$1|2#"},
        {"@system$a$b#", "{END}{LEFT}{DEL}", "@system$a|b#"},
        // A line emptied by a removal goes.
        {"@system$a$b#", "{END}{LEFT}{DOWN}{BS}", "@system$a|#"},
    });
}

TEST(EditorKeys, EnterSplitsTheLine)
{
    CheckScripts({
        {"", "x+{ENTER}", "x+@#|"},
        {"", "x+{ENTER}1", "x+@#1|"},
        {"123", "{END}{LEFT}{LEFT}{ENTER}", "1@#|23"},
        {"@system$a=1$b#", "{END}{LEFT}{LEFT}{ENTER}", "@system$a=$|1$b#"},
        // The caret inside a fraction: the line is split after it.
        {"@hor_frac$1$2#+x", "{HOME}{RIGHT}{ENTER}", "@hor_frac$1$2#@#|+x"},
    });
}

TEST(EditorKeys, HomeEndAndArrowsAtTheEdges)
{
    CheckScripts({
        {"ab", "{HOME}{LEFT}", "|ab"},
        {"ab", "{END}{RIGHT}", "ab|"},
        {"ab", "{HOME}{LEFT}{LEFT}x", "x|ab"},
        {"ab", "{END}{RIGHT}{RIGHT}x", "ab*x|"},
        {"ab", "{HOME}{RIGHT}", "a|b"},
    });
}

TEST(EditorKeys, KeyResults)
{
    EditorFixture f("ab");
    KeyResult result = f.env.OnKeyDown({vk::Insert});
    EXPECT_FALSE(result.caret);
    EXPECT_FALSE(result.repaint);
    result = f.env.OnKeyDown({65});
    EXPECT_FALSE(result.caret);
    result = f.env.OnKeyDown({vk::Back});
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(f.env.LayoutStale());
    Type(f.env, "{HOME}");
    EXPECT_FALSE(f.env.OnKeyDown({vk::Back}).changed);
    // Outside editor mode keys do nothing.
    f.env.SetViewerMode();
    result = f.env.OnKeyDown({vk::Back});
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(f.env.GetLexemText(), "a");
}

TEST(EditorKeys, MixedNumberPartsTakeDigitsOnly)
{
    EditorFixture f;
    ASSERT_EQ(f.env.InsertTool(277), ToolResult::Done);
    Type(f.env, "2a");
    EXPECT_EQ(CaretText(f.env), "@mixed_frac$2|$$#");
    Type(f.env, "{BS}x");
    EXPECT_EQ(CaretText(f.env), "@mixed_frac$|$$#");
}

struct GateCase {
    int schoolClass;
    int lexType;
    bool inserted;
};

TEST(EditorKeys, SchoolClassGates)
{
    const GateCase cases[] = {
        {7, 213, false},  // angle
        {7, 226, false},  // plus-minus
        {7, 215, false},  // degree
        {8, 242, true},   // not equal
        {8, 227, false},  // less or equal
        {9, 227, true},
        {9, 327, true},   // pi
        {8, 327, false},
        {11, 213, false},
        {0, 213, true},
        {0, 226, true},
        {7, 264, true},   // templates are never gated
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE("class " + std::to_string(c.schoolClass) + " tool " + std::to_string(c.lexType));
        SetSchoolClass(c.schoolClass);
        EditorFixture f;
        EXPECT_EQ(f.env.InsertTool(c.lexType), ToolResult::Done);
        EXPECT_EQ(f.env.GetLexemText() != "", c.inserted);
        EXPECT_TRUE(f.messages.empty());
    }
    SetSchoolClass(7);
    {
        EditorFixture f;
        // Typed relation signs pass no gate.
        Type(f.env, "a<b>c");
        EXPECT_EQ(f.env.GetLexemText(), "a<b>c");
    }
    SetSchoolClass(8);
    {
        EditorFixture f;
        Type(f.env, "a<b");
        EXPECT_EQ(f.env.GetLexemText(), "a<b");
    }
    SetSchoolClass(0);
}

}  // namespace
}  // namespace formula
