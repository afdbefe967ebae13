// Layout and drawing rules on the fake canvas: every character is the font's
// width wide and its height high, so each rule gives exact numbers. The base
// font is 20 high and 10 wide: "#" is 10 x 20.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "formula/layout/fake_canvas.h"
#include "formula/layout/formula_layout.h"
#include "formula/layout/layout_support.h"
#include "formula/model/chars.h"
#include "formula/model/cursor_path.h"
#include "formula/model/display_settings.h"
#include "formula/model/templates/all.h"
#include "formula/tests/canvas_samples.h"
#include "formula/tests/formula_test_util.h"
#include "formula/tests/layout_test_util.h"

namespace formula {
namespace {

using test::FindChar;
using test::FindLexem;
using test::FindType;

class LayoutTest : public ::testing::Test {
protected:
    CAggregateTemplate& Lay(const std::string& text)
    {
        m_root = test::Read(text, &m_settings);
        Relayout();
        return *m_root;
    }
    void Relayout()
    {
        m_canvas.ClearCalls();
        LayoutFormula(m_canvas, *m_root, {0, 0});
        DrawFormula(m_canvas, *m_root);
    }
    const FormulaStyle& Style() const { return m_settings.Style(); }

    CDisplaySettings m_settings;
    FakeCanvas m_canvas;
    std::unique_ptr<CAggregateTemplate> m_root;
};

TEST_F(LayoutTest, EmptyArgumentRowIsAsWideAsHashAndShowsAPlaceholderInTheEditor)
{
    auto& sqrt = static_cast<CSqrtTemplate&>(*FindType(Lay("@sqrroot$#"), TemplateType::SqrRoot));
    const Box radicand = sqrt.Radicand()->GetBox();
    const Box head = sqrt.Radicand()->Head()->GetBox();
    EXPECT_EQ(radicand.width, 10);
    EXPECT_EQ(radicand.height, 20);
    EXPECT_EQ(head.width, 10);
    EXPECT_TRUE(m_canvas.CallsOf(CanvasCall::Kind::DottedRect).empty());

    m_settings.SetMode(FormulaMode::Editor);
    Relayout();
    const auto placeholders = m_canvas.CallsOf(CanvasCall::Kind::DottedRect);
    ASSERT_EQ(placeholders.size(), 1u);
    EXPECT_EQ(placeholders[0].rect.x, head.x + 2);
    EXPECT_EQ(placeholders[0].rect.y, head.y + 2);
    EXPECT_EQ(placeholders[0].rect.width, 6);
    EXPECT_EQ(placeholders[0].rect.height, 16);

    auto& filled = static_cast<CSqrtTemplate&>(*FindType(Lay("@sqrroot$x#"), TemplateType::SqrRoot));
    EXPECT_EQ(filled.Radicand()->Head()->GetBox().width, 0);
    EXPECT_EQ(filled.Radicand()->GetBox().width, 10);
    EXPECT_TRUE(m_canvas.CallsOf(CanvasCall::Kind::DottedRect).empty());
}

TEST_F(LayoutTest, FractionCentresTheNarrowerRowAndDrawsTheBarOnTheAxis)
{
    struct Case {
        std::string text;
        int numeratorShift;
        int denominatorShift;
    };
    for (const Case& c : {Case{"@hor_frac$abc$d#", 0, 10}, Case{"@hor_frac$d$abc#", 10, 0}}) {
        SCOPED_TRACE(c.text);
        auto& frac = static_cast<CHorFracTemplate&>(*FindType(Lay(c.text), TemplateType::HorFrac));
        const Box box = frac.GetBox();
        const Box num = frac.Numerator()->GetBox();
        const Box den = frac.Denominator()->GetBox();
        EXPECT_EQ(box.width, 30);
        EXPECT_EQ(box.height, 40);
        EXPECT_EQ(num.x - box.x, c.numeratorShift);
        EXPECT_EQ(den.x - box.x, c.denominatorShift);
        EXPECT_EQ(Bottom(num), box.axisY);
        EXPECT_EQ(den.y, box.axisY);
        EXPECT_EQ(box.y, num.y);
        const auto lines = m_canvas.CallsOf(CanvasCall::Kind::Line);
        ASSERT_EQ(lines.size(), 2u);  // the root's bar, then the fraction's
        EXPECT_EQ(lines[1].points[0].x, box.x + 2);
        EXPECT_EQ(lines[1].points[0].y, box.axisY);
        EXPECT_EQ(lines[1].points[1].x, box.x + 29);
        EXPECT_EQ(lines[1].points[1].y, box.axisY);
        EXPECT_EQ(lines[1].pen, Style().mainPen);
    }
}

TEST_F(LayoutTest, BarGapsSeparateTheRowsFromTheBar)
{
    m_settings.Style().barGapAbove = 10;
    m_settings.Style().barGapBelow = 20;
    auto& frac = static_cast<CHorFracTemplate&>(*FindType(Lay("@hor_frac$a$b#"), TemplateType::HorFrac));
    EXPECT_EQ(Bottom(frac.Numerator()->GetBox()), frac.GetBox().axisY - 2);
    EXPECT_EQ(frac.Denominator()->GetBox().y, frac.GetBox().axisY + 4);
    EXPECT_EQ(frac.GetBox().height, 46);
}

// A fraction's bar reaches 2 pixels past, on each side, every fraction bar in
// its numerator and denominator, so that the main bar is the longest. Lengths
// are listed depth first, the outer fraction first; the one-level fraction
// keeps its width of 10 and its bar from x + 2 to x + 9.
TEST_F(LayoutTest, NestedFractionBarsReachPastTheBarsUnderThem)
{
    struct Case {
        std::string text;
        std::vector<int> lengths;
    };
    const std::vector<Case> cases = {
        {"@hor_frac$a$b#", {7}},
        {"@hor_frac$@hor_frac$a$b#$c#", {11, 7}},
        {"@hor_frac$@hor_frac$a$b#$@hor_frac$c$d##", {11, 7, 7}},
        {"@hor_frac$a$@hor_frac$b$@hor_frac$c$d###", {15, 11, 7}},
        {"@hor_frac$@hor_frac$@hor_frac$a$b#$c#$d#", {15, 11, 7}},
        // The row around the inner fraction is wider on one side only.
        {"@hor_frac$@hor_frac$a$b#+1$c#", {37, 7}},
        {"@hor_frac$c$1+@hor_frac$a$b##", {37, 7}},
        // Brackets already hold the inner bar well inside.
        {"@hor_frac$(@hor_frac$a$b#)$c#", {27, 7}},
        // A digit fraction's bar runs to its box's right edge.
        {"@hor_frac$@simple_frac$1$2#$c#", {14, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CAggregateTemplate& root = Lay(c.text);
        struct Bar {
            CLexem* fraction;
            int left;
            int right;
        };
        std::vector<Bar> bars;
        const auto lines = m_canvas.CallsOf(CanvasCall::Kind::Line);
        for (CLexem* lexem : test::AllLexems(root)) {
            const bool digits = lexem->Type() == TemplateType::SimpleFrac;
            if (!lexem->IsTemplate() || (lexem->Type() != TemplateType::HorFrac && !digits)) {
                continue;
            }
            const Box& box = lexem->GetBox();
            std::vector<Bar> found;
            for (const CanvasCall& line : lines) {
                const Point a = line.points[0];
                const Point b = line.points[1];
                if (a.y == box.axisY && b.y == box.axisY && a.x >= box.x && b.x <= Right(box)) {
                    found.push_back({lexem, a.x, b.x});
                }
            }
            ASSERT_EQ(found.size(), 1u);
            // The bar keeps its place in its own box.
            EXPECT_EQ(found[0].left, digits ? box.x : box.x + 2);
            EXPECT_EQ(found[0].right, digits ? Right(box) : Right(box) - 1);
            bars.push_back(found[0]);
        }
        std::vector<int> lengths;
        for (const Bar& bar : bars) {
            lengths.push_back(bar.right - bar.left);
        }
        EXPECT_EQ(lengths, c.lengths);
        for (std::size_t i = 0; i < bars.size(); ++i) {
            // Both ends of a bar take the cursor to its own fraction (a
            // digit fraction gives a point on its bar to its denominator).
            for (int x : {bars[i].left, bars[i].right}) {
                if (bars[i].fraction->Type() != TemplateType::HorFrac) {
                    break;
                }
                CCursorPath path;
                ASSERT_TRUE(root.HitTest(path, {x, bars[i].fraction->GetBox().axisY}));
                EXPECT_EQ(path.Top(), bars[i].fraction);
                EXPECT_EQ(path.GetPos(), 0);
            }
            const std::vector<CLexem*> inside = test::AllLexems(*bars[i].fraction);
            for (std::size_t j = i + 1; j < bars.size(); ++j) {
                if (std::find(inside.begin(), inside.end(), bars[j].fraction) != inside.end()) {
                    EXPECT_LE(bars[i].left, bars[j].left - 2);
                    EXPECT_GE(bars[i].right, bars[j].right + 2);
                }
            }
        }
    }
}

TEST_F(LayoutTest, IndexFontsShrinkUntilTheMinimumAndThenStay)
{
    Lay("@index_up$a$@index_up$b$@index_up$c$@index_up$d$e####");
    struct Expected {
        char ch;
        int height;
        int width;
    };
    for (const Expected& e : {Expected{'a', 20, 10}, Expected{'b', 17, 8}, Expected{'c', 14, 6},
                              Expected{'d', 14, 6}, Expected{'e', 14, 6}}) {
        SCOPED_TRACE(std::string(1, e.ch));
        const auto calls = m_canvas.TextCalls(std::string(1, e.ch));
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].font.height, e.height);
        EXPECT_EQ(calls[0].font.width, e.width);
        EXPECT_EQ(calls[0].font.weight, 800);
        EXPECT_TRUE(calls[0].font.italic);
    }
}

TEST_F(LayoutTest, IndexRowsStandAtTheOffsetsFromTheBase)
{
    auto& index = static_cast<CIndexTemplate&>(*FindType(Lay("@index_updn$x$2$1#"), TemplateType::IndexUpDn));
    const Box base = index.Base()->GetBox();
    const Box upper = index.Upper()->GetBox();
    const Box lower = index.Lower()->GetBox();
    // h# is 20: the upper index ends 11 below the base's top, the lower one
    // starts 10 above its bottom; both in the 17 x 8 index font.
    EXPECT_EQ(Bottom(upper), base.y + 11);
    EXPECT_EQ(upper.height, 17);
    EXPECT_EQ(lower.y, Bottom(base) - 10);
    EXPECT_EQ(upper.x, Right(base));
    EXPECT_EQ(lower.x, Right(base));
    EXPECT_EQ(index.GetBox().y, upper.y);
    EXPECT_EQ(Bottom(index.GetBox()), Bottom(lower));
    EXPECT_EQ(index.GetBox().width, base.width + 8);
    const auto digit = m_canvas.TextCalls("1");
    ASSERT_EQ(digit.size(), 1u);
    EXPECT_EQ(digit[0].font.height, 17);
    EXPECT_EQ(digit[0].font.width, 8);
    EXPECT_FALSE(digit[0].font.italic);
}

TEST_F(LayoutTest, SelectedSignDrawsInTheSelectionColour)
{
    CAggregateTemplate& root = Lay("a+b");
    auto sign = [&] { return m_canvas.TextCalls("+").at(0); };
    EXPECT_EQ(sign().colour, Style().signColour);
    EXPECT_EQ(sign().font.face, kSymbolFace);
    EXPECT_EQ(sign().font.weight, 400);
    EXPECT_FALSE(sign().font.italic);

    FindChar(root, '+')->SetSelected(true);
    Relayout();
    EXPECT_EQ(sign().colour, Style().selectionColour);
    EXPECT_EQ(m_canvas.TextCalls("b").at(0).colour, 0u);
}

TEST_F(LayoutTest, OperatorSignsDrawTheirSymbolCodesInTheirBoxes)
{
    struct Case {
        char sign;
        std::string drawn;
        bool symbolFace;
        int shift;  // of the box's left edge
        int width;
    };
    const std::vector<Case> cases = {
        {'*', "\xB7", false, 0, 5}, {'+', "+", true, 2, 16}, {'-', "-", true, 2, 16},
        {'/', "/", true, 0, 10},    {':', ":", false, 0, 10}, {'%', "%", true, 0, 10},
        {'=', "=", true, 2, 24},    {'?', "?", false, 2, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.sign));
        CAggregateTemplate& root = Lay(std::string("a") + c.sign + "b");
        const CLexem* sign = FindChar(root, c.sign);
        ASSERT_NE(sign, nullptr);
        EXPECT_EQ(sign->GetBox().x - Right(FindChar(root, 'a')->GetBox()), c.shift);
        EXPECT_EQ(sign->GetBox().width, c.width);
        const auto calls = m_canvas.TextCalls(c.drawn);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].kind, CanvasCall::Kind::CentredText);
        EXPECT_EQ(calls[0].font.face == kSymbolFace, c.symbolFace);
        EXPECT_EQ(FindChar(root, 'b')->GetBox().x, Right(sign->GetBox()));
    }
}

TEST_F(LayoutTest, RelationSignsPadBothSidesNeverBelowZero)
{
    struct Case {
        std::string name;
        int fontWidth;
        int pad;
    };
    const std::vector<Case> cases = {
        {"<=", 10, 8}, {"intsct", 10, 1}, {"unite", 10, 5}, {"blng", 10, 4}, {"intsct", 6, 0}, {"nblng", 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + std::to_string(c.fontWidth));
        m_settings.Style().baseFont.width = c.fontWidth;
        CAggregateTemplate& root = Lay("a@spec$" + c.name + "#b");
        const CLexem* sign = FindLexem(root, [](const CLexem& l) { return l.Kind() == LexemKind::RelationSign; });
        ASSERT_NE(sign, nullptr);
        const int a = Right(FindChar(root, 'a')->GetBox());
        EXPECT_EQ(sign->GetBox().x, a + c.pad);
        EXPECT_EQ(sign->GetBox().width, c.pad + c.fontWidth);
        EXPECT_EQ(FindChar(root, 'b')->GetBox().x, a + 2 * c.pad + c.fontWidth);
        const CanvasCall& drawn = m_canvas.Calls().at(2);  // bar, 'a', the sign
        EXPECT_EQ(drawn.kind, CanvasCall::Kind::Text);
        EXPECT_EQ(drawn.rect.x, sign->GetBox().x);
        EXPECT_EQ(drawn.font.face, kSymbolFace);
    }
}

TEST_F(LayoutTest, SquareRootBoxAndSign)
{
    struct Case {
        std::string text;
        TemplateType type;
    };
    for (const Case& c : {Case{"@sqrroot$x#", TemplateType::SqrRoot}, Case{"@sqrtcan$x#", TemplateType::SqrtCan}}) {
        SCOPED_TRACE(c.text);
        auto& sqrt = static_cast<CSqrtTemplate&>(*FindType(Lay(c.text), c.type));
        const Box r = sqrt.Radicand()->GetBox();
        const Box b = sqrt.GetBox();
        EXPECT_EQ(r.width, 10);
        EXPECT_EQ(r.height, 20);
        EXPECT_EQ(b.x, r.x - 12);
        EXPECT_EQ(b.y, r.y - 3);
        EXPECT_EQ(b.width, 25);
        EXPECT_EQ(b.height, 23);
        const int x = b.x;
        const int y = b.y;
        const auto strokes = m_canvas.CallsOf(CanvasCall::Kind::Polyline);
        if (c.type == TemplateType::SqrRoot) {
            ASSERT_EQ(strokes.size(), 2u);
            EXPECT_EQ(strokes[0].pen, (PenSpec{PenStyle::Solid, 2, Style().signColour}));
            const std::vector<Point> sign = {{x + 2, y + 11}, {x + 7, y + 20}, {x + 7, y + 3}};
            const std::vector<Point> overline = {{x + 6, y + 3}, {x + 25, y + 3}, {x + 25, y + 6}};
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(strokes[0].points[i].x, sign[i].x);
                EXPECT_EQ(strokes[0].points[i].y, sign[i].y);
                EXPECT_EQ(strokes[1].points[i].x, overline[i].x);
                EXPECT_EQ(strokes[1].points[i].y, overline[i].y);
            }
        } else {
            ASSERT_EQ(strokes.size(), 1u);
            EXPECT_EQ(strokes[0].pen, (PenSpec{PenStyle::Solid, 1, Style().secondRootColour}));
            const std::vector<Point> sign = {{x + 2, y + 11}, {x + 7, y + 20}, {x + 7, y + 3}, {x + 25, y + 3},
                                             {x + 25, y + 6}};
            ASSERT_EQ(strokes[0].points.size(), sign.size());
            for (std::size_t i = 0; i < sign.size(); ++i) {
                EXPECT_EQ(strokes[0].points[i].x, sign[i].x);
                EXPECT_EQ(strokes[0].points[i].y, sign[i].y);
            }
        }
    }
}

TEST_F(LayoutTest, IntegralSignSpansATallBody)
{
    CAggregateTemplate& root = Lay("@integral_undef$@hor_frac$@hor_frac$a$b#$@hor_frac$c$d##dx#");
    auto& integral = static_cast<CIntegralTemplate&>(*FindType(root, TemplateType::IntegralUndef));
    const Box body = integral.Body()->GetBox();
    const Box box = integral.GetBox();
    ASSERT_EQ(body.height, 80);
    const auto top = m_canvas.TextCalls("\xF3");
    const auto extension = m_canvas.TextCalls("\xF4");
    const auto bottom = m_canvas.TextCalls("\xF5");
    ASSERT_EQ(top.size(), 1u);
    ASSERT_EQ(bottom.size(), 1u);
    // Between the pieces a gap of 80 + 3 - 2 x 20 = 43: three copies advancing 17.
    ASSERT_EQ(extension.size(), 3u);
    EXPECT_EQ(integral.ExtensionCount(), 3);
    EXPECT_EQ(top[0].rect.y, body.y);
    EXPECT_EQ(bottom[0].rect.y + bottom[0].rect.height, Bottom(body) + 3);
    int reached = top[0].rect.y + top[0].rect.height;
    for (const CanvasCall& piece : extension) {
        EXPECT_EQ(piece.rect.y, reached - 3);
        reached = piece.rect.y + piece.rect.height;
    }
    EXPECT_GE(reached, bottom[0].rect.y);
    EXPECT_EQ(top[0].font.face, kSymbolFace);
    // No limits: the column is the sign's width; the body 3 pixels after it.
    EXPECT_EQ(top[0].rect.x, box.x);
    EXPECT_EQ(body.x, box.x + 10 + 3);
    EXPECT_EQ(box.y, body.y);
    EXPECT_EQ(box.height, body.height + 3);
}

TEST_F(LayoutTest, SumSignStandsInTheColumnOfItsLimits)
{
    auto& sum = static_cast<CSummaTemplate&>(*FindType(Lay("@summa$k$n$k=1#"), TemplateType::Summa));
    const Box upper = sum.UpperLimit()->GetBox();
    const Box lower = sum.LowerLimit()->GetBox();
    const Box body = sum.Body()->GetBox();
    EXPECT_EQ(Bottom(upper), body.y);
    EXPECT_EQ(lower.y, Bottom(body));
    EXPECT_EQ(upper.x + upper.width / 2, lower.x + lower.width / 2);
    EXPECT_EQ(body.x, sum.GetBox().x + lower.width + 3);
    const auto sign = m_canvas.TextCalls("\xE5");
    ASSERT_EQ(sign.size(), 1u);
    EXPECT_EQ(sign[0].kind, CanvasCall::Kind::CentredText);
    EXPECT_EQ(sign[0].rect.y, Bottom(upper) - 5);
    EXPECT_EQ(sign[0].rect.y + sign[0].rect.height, lower.y);
    EXPECT_EQ(sign[0].rect.width, 13);
}

TEST_F(LayoutTest, UnknownBracketKindDrawsPercentSigns)
{
    CAggregateTemplate& root = Lay("");
    auto brackets = std::make_unique<CBracketsTemplate>(BracketKind::None, false);
    brackets->Content()->InsertText(0, "x");
    CBracketsTemplate* tmpl = brackets.get();
    root.GetFirstRow()->AddChild(std::move(brackets));
    Relayout();
    const Box box = tmpl->GetBox();
    EXPECT_EQ(box.width, 30);
    const auto marks = m_canvas.TextCalls("%");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].rect.x, box.x);
    EXPECT_EQ(marks[1].rect.x, Right(box) - 10 + 3);
    for (const CanvasCall& mark : marks) {
        EXPECT_EQ(mark.rect.y, box.y);
        EXPECT_EQ(mark.font.height, box.height);
        EXPECT_EQ(mark.font.width, 10);
        EXPECT_EQ(mark.font.weight, 400);
        EXPECT_FALSE(mark.font.italic);
        EXPECT_EQ(mark.colour, Style().bracketColour);
    }
}

TEST_F(LayoutTest, IntervalDrawsEachEndsBracketAndTheSemicolon)
{
    auto& interval = static_cast<CIntervalTemplate&>(*FindType(Lay("@interval$1$0$a$b#"), TemplateType::Interval));
    const Box box = interval.GetBox();
    const Box left = interval.LeftEnd()->GetBox();
    const Box right = interval.RightEnd()->GetBox();
    const int x = left.x - 10;  // where the interval was placed
    EXPECT_EQ(box.x, x - 2);
    EXPECT_EQ(right.x, Right(left) + 10 + 5);
    EXPECT_EQ(Right(box), Right(right) + 8);
    ASSERT_EQ(m_canvas.TextCalls("[").size(), 1u);
    ASSERT_EQ(m_canvas.TextCalls(")").size(), 1u);
    EXPECT_EQ(m_canvas.TextCalls("[")[0].rect.x, box.x);
    const auto semicolon = m_canvas.TextCalls(";");
    ASSERT_EQ(semicolon.size(), 1u);
    EXPECT_EQ(semicolon[0].rect.x, Right(left));
    EXPECT_EQ(semicolon[0].rect.y, box.y);
}

TEST_F(LayoutTest, FunctionNameThenBracketedArgument)
{
    auto& func = static_cast<CFuncTemplate&>(*FindType(Lay("@func$sin$x+1#"), TemplateType::Func));
    const Box box = func.GetBox();
    const Box arg = func.Argument()->GetBox();
    // "sin" 30 wide, a third of "#"; the argument: brackets of one font
    // width round "x" (10), "+" (2 + 16) and "1" (10).
    EXPECT_EQ(arg.x, box.x + 33);
    EXPECT_EQ(arg.width, 58);
    EXPECT_EQ(box.width, 33 + 58);
    const auto name = m_canvas.TextCalls("sin");
    ASSERT_EQ(name.size(), 1u);
    EXPECT_EQ(name[0].rect.x, box.x);
    EXPECT_EQ(name[0].rect.y, box.y);
    EXPECT_EQ(name[0].font.weight, 800);
    EXPECT_FALSE(name[0].font.italic);
    const auto opening = m_canvas.TextCalls("(");
    const auto closing = m_canvas.TextCalls(")");
    ASSERT_EQ(opening.size(), 1u);
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(opening[0].rect.x, arg.x);
    EXPECT_EQ(closing[0].rect.x, Right(arg) - 10);
    EXPECT_EQ(opening[0].font.height, arg.height);
    EXPECT_EQ(opening[0].font.weight, 400);
}

TEST_F(LayoutTest, SystemStacksLinesAroundTheAxisRightOfItsBrace)
{
    auto& system = static_cast<CSystemTemplate&>(*FindType(Lay("@system$a$@hor_frac$1$2##"), TemplateType::System));
    const Box box = system.GetBox();
    const Box first = system.GetRow(0)->GetBox();
    const Box second = system.GetRow(1)->GetBox();
    EXPECT_EQ(first.height, 20);
    EXPECT_EQ(second.height, 40);
    EXPECT_EQ(second.axisY, first.axisY + 10 + 20);
    EXPECT_EQ(first.y, box.y);
    EXPECT_EQ(Bottom(second), Bottom(box));
    EXPECT_EQ(box.y, box.axisY - 30);
    EXPECT_EQ(first.x, box.x + 10);
    EXPECT_EQ(box.width, 10 + second.width);
    const auto arcs = m_canvas.CallsOf(CanvasCall::Kind::Arc);
    ASSERT_EQ(arcs.size(), 4u);
    const int middle = box.y + 30;
    EXPECT_EQ(arcs[1].points[0].x, box.x);
    EXPECT_EQ(arcs[1].points[0].y, middle - 5);
    EXPECT_EQ(arcs[2].points[0].y, middle + 5);
    for (const CanvasCall& arc : arcs) {
        EXPECT_EQ(arc.radius, 5);
        EXPECT_EQ(arc.spanDegrees, 90);
        EXPECT_EQ(arc.pen, (PenSpec{PenStyle::Solid, 1, 0}));
    }
}

TEST_F(LayoutTest, RootBarFollowsTheOwnersAggregateSettings)
{
    CAggregateTemplate& root = Lay("x");
    const auto bars = m_canvas.CallsOf(CanvasCall::Kind::Line);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].pen, (PenSpec{PenStyle::Solid, 2, 0}));
    EXPECT_EQ(bars[0].points[0].x, 2);
    EXPECT_EQ(bars[0].points[1].y, root.GetBox().height);
    EXPECT_EQ(root.GetFirstRow()->GetBox().x, 10);

    m_settings.Style().aggregateColour = Rgb(1, 2, 3);
    Relayout();
    EXPECT_EQ(m_canvas.CallsOf(CanvasCall::Kind::Line).at(0).pen.colour, Rgb(1, 2, 3));
    m_settings.Style().showAggregate = false;
    Relayout();
    EXPECT_TRUE(m_canvas.CallsOf(CanvasCall::Kind::Line).empty());
}

TEST_F(LayoutTest, NumbersAndTruthValuesDrawInTheNumberColour)
{
    CAggregateTemplate& root = Lay("x=12;@bool$1#");
    EXPECT_EQ(m_canvas.TextCalls("1").at(0).colour, Style().numberColour);
    EXPECT_EQ(m_canvas.TextCalls("1").at(0).font.weight, 600);
    EXPECT_EQ(m_canvas.TextCalls("True").at(0).colour, Style().numberColour);
    EXPECT_EQ(m_canvas.TextCalls("x").at(0).colour, 0u);
    root.SetSelected(true);
    Relayout();
    EXPECT_EQ(m_canvas.TextCalls("1").at(0).colour, Style().selectionColour);
    EXPECT_EQ(m_canvas.TextCalls("True").at(0).colour, Style().selectionColour);
}

// Every selection of fonts, pens and colours is put back: after a formula
// the canvas is as the formula found it and the owner's stack is empty.
TEST_F(LayoutTest, FontStackIsBalancedForEverySample)
{
    for (const SampleFormula& sample : SampleFormulas()) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(sample.text);
            CAggregateTemplate& root = Lay(sample.text);
            if (selected) {
                root.SetSelected(true);
                Relayout();
            }
            EXPECT_EQ(m_settings.GetFontStack().FrameCount(), 0);
            EXPECT_EQ(m_canvas.Font(), Style().baseFont);
            EXPECT_EQ(m_canvas.Pen(), PenSpec{});
            EXPECT_EQ(m_canvas.TextColour(), 0u);
            EXPECT_GT(root.GetBox().width, 0);
            EXPECT_GT(root.GetBox().height, 0);
        }
    }
}

TEST(FontScaling, StopsAtTheMinimums)
{
    FormulaStyle style;
    FontSpec font{"Times New Roman", 20, 10, 400};
    ScaleFont(font, 85, style);
    EXPECT_EQ(font.height, 17);
    EXPECT_EQ(font.width, 8);
    font = {"Times New Roman", 7, 20, 400};
    ScaleFont(font, 85, style);
    EXPECT_EQ(font.height, 7);  // 5 would fall below the minimum height
    EXPECT_EQ(font.width, 20);
}

}  // namespace
}  // namespace formula
