// The MathML writer: its markup, and round trips lexeme text -> MathML ->
// lexeme text for every template kind, sign and atom.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/all.h"
#include "formula/notation/lexem_parser.h"
#include "formula/notation/mathml_writer.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

// The markup of the formula root of a lexeme text.
std::string Markup(std::string_view lexemText)
{
    return MathMLText(*test::Read(lexemText));
}

std::string ReadMathML(std::string_view mathml)
{
    std::string text;
    CLexemParser::ConvertMathMLText(mathml, text);
    return text;
}

TEST(MathMLWriter, Markup)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "<mrow><mrow/></mrow>"},
        {"x", "<mrow><mi>x</mi></mrow>"},
        {"x+1", "<mrow>\n<mi>x</mi><mo>+</mo><mn>1</mn>\n</mrow>"},
        {"a*b:c", "<mrow>\n<mi>a</mi><mo>\xC2\xB7</mo><mi>b</mi><mo>:</mo><mi>c</mi>\n</mrow>"},
        {"a<b", "<mrow>\n<mi>a</mi><mo>&lt;</mo><mi>b</mi>\n</mrow>"},
        {"(a)&", "<mrow>\n<mo>(</mo><mi>a</mi><mo>)</mo><mi>&amp;</mi>\n</mrow>"},
        {"3,25", "<mrow><mn>3,25</mn></mrow>"},
        {"a@#b", "<mrow><mtable><mtr><mtd><mi>a</mi></mtd></mtr><mtr><mtd><mi>b</mi></mtd></mtr></mtable></mrow>"},
        {"@spec_atom$pi#@spec$<=#",
         "<mrow>\n<char type=\"saPi\"/><mo><char type=\"LessEqual\"/></mo>\n</mrow>"},
        {"@hor_frac$1$x+1#", "<mrow><mfrac><mn>1</mn><mrow>\n<mi>x</mi><mo>+</mo><mn>1</mn>\n</mrow></mfrac></mrow>"},
        {"@index_up$x+1$2#",
         "<mrow>\n<msup><mfenced open='(' close=')'><mrow>\n<mi>x</mi><mo>+</mo><mn>1</mn>\n</mrow></mfenced>"
         "<mn>2</mn></msup>\n</mrow>"},
        {"@index_up$@br_row_abs$x#$2#",
         "<mrow>\n<msup><mrow><mfenced open=\"|\" close=\"|\"><mi>x</mi></mfenced></mrow><mn>2</mn></msup>\n</mrow>"},
        {"@index_updn$x$2$1#", "<mrow>\n<msubsup><mi>x</mi><mn>1</mn><mn>2</mn></msubsup>\n</mrow>"},
        {"@subsup$x$2$1#",
         "<mrow>\n<msubsup><mfenced open='(' close=')'><mi>x</mi></mfenced><mn>1</mn><mn>2</mn></msubsup>\n</mrow>"},
        {"@integrationLimit$F$b$a#",
         "<mrow>\n<msubsup><mrow><mfenced open='(' close=')'><mi>F</mi></mfenced><mo>|</mo></mrow>"
         "<mn>a</mn><mi>b</mi></msubsup>\n</mrow>"},
        {"@system$x$y#",
         "<mrow><mrow><mo>{</mo><mtable><mtr><mtd><mi>x</mi>\n</mtd></mtr><mtr><mtd><mi>y</mi>\n</mtd></mtr>"
         "</mtable></mrow></mrow>"},
        {"@mixed_frac$2$1$3#", "<mrow><mtmf><mtint>2</mtint><mtnum>1</mtnum><mtden>3</mtden></mtmf></mrow>"},
        {"@interval$1$0$a$b#", "<mrow><interval open=\"[\" close=\")\"><mi>a</mi><mi>b</mi></interval></mrow>"},
        {"@root$3$x#", "<mrow><mroot>\r\n\t<mi>x</mi>\r\n\t<mn>3</mn>\r\n</mroot></mrow>"},
        {"@deriv$y$2#", "<mrow><msup order=\"2\"><mi>y</mi><mn>'</mn></msup></mrow>"},
        {"@func$sin$x#", "<mrow><mrow><mi>sin</mi><mrow><mfenced open=\"(\" close=\")\"><mi>x</mi></mfenced></mrow>"
                         "</mrow></mrow>"},
        {"@integral_undef$f#", "<mrow><mrow><mo><char type=\"integral\"/></mo><mi>f</mi></mrow></mrow>"},
        {"@bool$1#", "<mrow><char type=\"true\"/></mrow>"},
    };
    for (const auto& [text, markup] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Markup(text), markup);
    }
}

TEST(MathMLWriter, DocumentRootAndEncoding)
{
    auto root = test::Read("x");
    EXPECT_EQ(MathMLDocument(*root),
              "<math display=\"block\" xmlns=\"http://www.w3.org/1998/Math/MathML\"><mrow><mi>x</mi></mrow></math>");
    // 8-bit characters of the model are Windows-1251; control characters have no XML form.
    EXPECT_EQ(MathMLText(CCharLexem('\xC0')), "<mi>\xD0\x90</mi>");
    EXPECT_EQ(MathMLText(CCharLexem('\x01')), "<mi>\xEF\xBF\xBD</mi>");
    EXPECT_EQ(MathMLText(CCharLexem('"')), "<mi>&quot;</mi>");
}

struct RoundTripCase {
    std::string text;
    std::string expected = {};  // empty: the text itself
    std::vector<TemplateType> covers = {};
    bool nestable = true;
};

const std::vector<RoundTripCase>& RoundTrips()
{
    using T = TemplateType;
    static const std::vector<RoundTripCase> cases = {
        {"x+1-y*2:z/3", {}, {T::Char}},
        {"3,25+0,1(6)-1,(3)", {}, {T::RealNum}},
        {"5%"},
        {"(a+b)*[c]", {}, {T::BracketChar}},
        {"a b"},
        {"x<y>z=w?v;u"},
        {"a&b\"c'd"},
        {"@func$sin$x#", {}, {T::Func}},
        {"@func$ln$x+1#"},
        {"@func$sin$@func$cos$x##"},
        {"@func$tg$@br_row_round$a+b#*c#", "@func$tg$@br_persist_rr$a+b#*c#"},
        {"@func$cos$@br_persist_rr$x##"},
        {"@index_up$@func$cos$x#$2#", {}, {T::IndexFunc}},
        {"@index_dn$@func$log$x#$2#"},
        {"@index_up$@index_dn$@func$sin$x#$1#$2#"},
        {"@index_up$@func$sin$x#$@br_row_square$a##"},
        {"a@spec$<=#b", {}, {T::OperatorSign}},
        {"x@spec$blng#@spec_atom$real#", {}, {T::SpecAtom}},
        {"@hor_frac$1$2#+@index_up$x$2#", {}, {T::HorFrac, T::IndexUp}},
        {"@hor_frac$$#"},
        {"@hor_frac$@br_row_square$a#$b#"},
        {"@diag_frac$a$b#", "@hor_frac$a$b#", {T::DiagFrac}},
        {"@index_up$x+1$n-1#"},
        {"@index_up$@br_row_abs$x#$2#"},
        {"@index_up$@br_row_square$x#$2#"},
        {"@index_up$@br_row_round$x+1#$2#", "@index_up$@br_persist_rr$x+1#$2#"},
        {"@index_up$@sqrroot$x#$2#"},
        {"@index_up$x$@br_row_square$a##"},
        {"@index_up$(x)$2#"},
        {"@index_dn$x$1#", {}, {T::IndexDn}},
        {"@index_dn$x+y$12#"},
        {"@index_dn$x$<=#"},
        {"@index_dn$x$a,1#"},
        {"@index_dn$@br_row_square$x#$1#"},
        {"@index_updn$x$2$1#", {}, {T::IndexUpDn}},
        {"@index_updn$a+b$2$1#"},
        {"@index_updn$@br_row_square$a#$2$1#"},
        {"@index$x$$#", "x", {T::Index}},
        {"@progmem$a$n+1#", {}, {T::ProgMem}},
        {"a@#b", {}, {T::Aggregate}, false},
        {"@#", {}, {}, false},
        {"x=1@#@system$a$b#@#y", {}, {}, false},
        {"@system$x+y=1$x-y=3#", {}, {T::System}},
        {"@system$#"},
        {"@system$@system$a$b#$c#"},
        {"@union$x=1$x=2$x=3#", {}, {T::Union}},
        {"@mixed_frac$2$1$3#", {}, {T::MixedFrac}},
        {"@simple_frac$12$5#", {}, {T::SimpleFrac}},
        {"@simple_frac$$#"},
        {"@deriv$x+1#", {}, {T::Deriv}},
        {"@deriv$y$2#"},
        {"@deriv$y$n+1#"},
        {"@deriv$@func$sin$x##"},
        {"@deriv$@br_row_square$x##"},
        {"@br_row_round$x+1#", "@br_persist_rr$x+1#", {T::BrRound}},
        {"@br_persist_rr$x#", {}, {T::BrPersistRound}},
        {"@br_row_abs$x#", {}, {T::BrAbs}},
        {"@br_row_figur$1;-2#", {}, {T::BrFigure}},
        {"@br_row_square$a#", {}, {T::BrSquare}},
        {"@sqrroot$x#", {}, {T::SqrRoot}},
        {"@sqrtcan$x#", "@sqrroot$x#", {T::SqrtCan}},
        {"@spec_atom$pi#"},
        {"x@spec$blng#@interval$1$0$a$b#", {}, {T::Interval}},
        {"@interval$0$1$-@spec_atom$inf#$5#"},
        {"@bool$1#+@bool$0#", {}, {T::Bool}},
        {"@root$3$x#", {}, {T::Root}},
        {"@root$n+1$x-1#"},
        {"@lim$f$x$@spec_atom$inf##", {}, {T::Lim}},
        {"@lim$$x$0#"},
        {"@lim$x+1$n$0#"},
        {"@integral$f$a$b#", {}, {T::Integral}},
        {"@integral$x+1$0$@spec_atom$pi##"},
        {"@integral_undef$f#", {}, {T::IntegralUndef}},
        {"@integral_undef$#"},
        {"@integral_undef$f#+@integral$g$a$b#"},
        {"@subsup$x$1$2#", {}, {T::SubSup}},
        {"@subsup$a+b$1$2#"},
        {"@integrationLimit$F$a$b#", {}, {T::IntegrationLimit}},
        {"@summa$k$n$1#", {}, {T::Summa}},
        {"@summa$k+1$n$k=1#"},
    };
    return cases;
}

// Lexeme text -> MathML -> lexeme text, and the MathML of what was read back
// is the MathML written first.
void CheckRoundTrip(const std::string& text, const std::string& expected)
{
    SCOPED_TRACE(text);
    std::string mathml;
    std::string back;
    try {
        mathml = MathMLDocument(*test::Read(text));
        back = ReadMathML(mathml);
        EXPECT_EQ(test::ReadWrite(back), expected) << mathml;
    } catch (const CMEException& error) {
        FAIL() << error.Message() << "\n" << mathml << "\n" << back;
    }
    if (expected == text) {
        EXPECT_EQ(MathMLDocument(*test::Read(back)), mathml);
    }
}

TEST(MathMLWriter, EveryTextReadsBack)
{
    for (const RoundTripCase& c : RoundTrips()) {
        CheckRoundTrip(c.text, c.expected.empty() ? c.text : c.expected);
    }
}

// Each case inside four other kinds, in turn.
TEST(MathMLWriter, NestedFourDeepReadsBack)
{
    const std::vector<std::pair<std::string, std::string>> wrappers = {
        {"@hor_frac$", "$2#"},  {"@sqrroot$", "#"},         {"@index_up$x$", "#"}, {"@system$", "$y=1#"},
        {"@br_row_abs$", "#"},  {"@lim$", "$x$0#"},         {"@integral$", "$a$b#"}, {"@func$tg$", "#"},
        {"@root$3$", "#"},      {"@index_dn$@func$sin$", "#$2#"}, {"@summa$", "$n$1#"}, {"@deriv$", "#"},
    };
    for (const RoundTripCase& c : RoundTrips()) {
        if (!c.nestable) {
            continue;
        }
        for (std::size_t first = 0; first < wrappers.size(); ++first) {
            std::string text = c.text;
            std::string expected = c.expected.empty() ? c.text : c.expected;
            for (std::size_t level = 0; level < 4; ++level) {
                const auto& wrapper = wrappers[(first + level) % wrappers.size()];
                text = wrapper.first + text + wrapper.second;
                expected = wrapper.first + expected + wrapper.second;
            }
            CheckRoundTrip(text, expected);
        }
    }
}

TEST(MathMLWriter, EveryTemplateKindHasARoundTrip)
{
    std::set<TemplateType> covered;
    for (const RoundTripCase& c : RoundTrips()) {
        covered.insert(c.covers.begin(), c.covers.end());
    }
    for (const TemplateKind& kind : kTemplateKinds) {
        EXPECT_TRUE(covered.count(kind.type)) << kind.name;
    }
}

TEST(MathMLWriter, SignsAndAtomsReadBack)
{
    for (const RelationInfo& relation : kRelations) {
        CheckRoundTrip(CRelationSign(relation.code).LexemText(), CRelationSign(relation.code).LexemText());
    }
    for (int code : {68, 97, 98, 101, 103, 109, 112, 165, 194, 198, 63, 95}) {
        CheckRoundTrip(CRelationSign(code).LexemText(), CRelationSign(code).LexemText());
    }
    for (const AtomInfo& atom : kAtoms) {
        CheckRoundTrip(CSpecAtom(atom.code).LexemText(), CSpecAtom(atom.code).LexemText());
    }
    CheckRoundTrip(CSpecAtom(50).LexemText(), "@spec_atom$Unknown#");
    EXPECT_EQ(MathMLText(CSpecAtom(50)), "<char type=\"SPEC_ATOM\"/>");
    EXPECT_EQ(MathMLText(CRelationSign(95)), "<mo><char type=\"SPEC_SIGN\"/></mo>");
    EXPECT_EQ(MathMLText(CRelationSign(112)), "<mo><char type=\"saPi\"/></mo>");
}

}  // namespace
}  // namespace formula
