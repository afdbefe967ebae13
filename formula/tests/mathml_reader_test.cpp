// The MathML reader: markup of other writers and of older files, and its
// errors by code and message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/notation/lexem_parser.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

std::string Read(std::string_view mathml)
{
    std::string text;
    CLexemParser::ConvertMathMLText(mathml, text);
    return text;
}

std::string InMath(std::string_view body)
{
    return "<math xmlns=\"http://www.w3.org/1998/Math/MathML\">" + std::string(body) + "</math>";
}

struct ReaderCase {
    std::string mathml;
    std::string lexemText;
};

TEST(MathMLReader, ReadsMarkup)
{
    const std::vector<ReaderCase> cases = {
        {"<msup><mi>x</mi><mn>2</mn></msup>", "@index_up$x$2#"},
        {"<msup><mi>f</mi><mn>'</mn></msup>", "@deriv$f#"},
        {"<msup><mi>f</mi><mn xmlns=\"http://www.w3.org/1998/Math/MathML\">'</mn></msup>", "@deriv$f#"},
        {"<msup order=\"3\"><mi>f</mi><mn>'</mn></msup>", "@deriv$f$3#"},
        {"<msup><mfenced><mi>a</mi><mo>+</mo><mi>b</mi></mfenced><mn>2</mn></msup>", "@index_up$a+b$2#"},
        {"<msup><mfenced open=\"[\"><mi>a</mi></mfenced><mn>2</mn></msup>", "@index_up$a$2#"},
        {"<msup><mfenced open=\"|\"><mi>a</mi></mfenced><mn>2</mn></msup>", "@index_up$@br_row_abs$a#$2#"},
        {"<msub><mi>x</mi><mn>1</mn></msub>", "@index_dn$x$1#"},
        {"<msq><mi>a</mi><mi>n</mi></msq>", "@progmem$a$n#"},
        {"<char type=\"saPi\"/>", "@spec_atom$pi#"},
        {"<char type=\"saMu\"/><char type=\"SPEC_ATOM\"/>", "@spec_atom$mu#@spec_atom$Unknown#"},
        {"<mo><char type=\"LessEqual\"/></mo><mo>&lt;=</mo><mo>&gt;=</mo>", "@spec$<=#@spec$<=#@spec$>=#"},
        {"<mo><char type=\"arrow\"/></mo><mo><char type=\"plusMinus\"/></mo>", "@spec$->#@spec$+-#"},
        {"<mo><char type=\"belongSet\"/></mo><mo><char type=\"belongEquSet\"/></mo>",
         "@spec$belongSet#@spec$belongEquSet#"},
        {"<char type=\"Perpendicular\"/><char type=\"less\"/><char type=\"more\"/>", "@spec$perp#<>"},
        {"<char type=\"true\"/><char type=\"false\"/>", "@bool$1#@bool$0#"},
        {"<mi>a</mi><mo>\xC2\xB7</mo><mi>b</mi>", "a*b"},
        {"<mfenced><mi>a</mi></mfenced><mfenced open=\"\"><mi>b</mi></mfenced>", "@br_persist_rr$a#@br_persist_rr$b#"},
        {"<mfenced open=\"[\"><mi>a</mi></mfenced><mfenced open=\"{\"><mn>1</mn></mfenced>",
         "@br_row_square$a#@br_row_figur$1#"},
        {"<mrow><mi>sin</mi><mrow><mfenced open=\"(\" close=\")\"><mi>x</mi></mfenced></mrow></mrow>",
         "@func$sin$x#"},
        {"<mi>Cos</mi><mfenced><mi>x</mi></mfenced>", "@func$cos$x#"},
        {"<mi>sin</mi>", "sin"},
        {"<mi>sin</mi>x", "sinx"},
        // The brackets inside a function's argument stay brackets.
        {"<mrow><mi>sin</mi><mrow><mfenced open=\"(\" close=\")\"><mrow><mfenced open=\"(\" close=\")\"><mrow>"
         "<mi>a</mi><mo>+</mo><mi>b</mi></mrow></mfenced><mo>\xC2\xB7</mo><mi>c</mi></mrow></mfenced></mrow></mrow>",
         "@func$sin$@br_persist_rr$a+b#*c#"},
        {"<mtsf><mtnum>1</mtnum><mtden>2</mtden></mtsf>", "@simple_frac$1$2#"},
        {"<mtmf><mtint>3</mtint><mtnum>1</mtnum><mtden>2</mtden></mtmf>", "@mixed_frac$3$1$2#"},
        {"<mroot><mi>x</mi></mroot>", "@sqrroot$x#"},
        {"<mroot><mi>x</mi><mn>3</mn></mroot>", "@root$3$x#"},
        {"<interval open=\"[\" close=\"]\"><mn>0</mn><mn>1</mn></interval>", "@interval$1$1$0$1#"},
        {"<interval><mn>0</mn><mn>1</mn></interval>", "@interval$0$0$0$1#"},
        {"<mrow><mo>[</mo><mtable><mtr><mtd><mi>a</mi></mtd></mtr></mtable></mrow>", "@union$a#"},
        {"<mrow><mo>{</mo><mtable/></mrow>", "@system$#"},
        {"<mrow><mtable><mtr><mtd><mi>a</mi></mtd></mtr><mtr><mtd><mi>b</mi></mtd></mtr></mtable></mrow>", "a@#b"},
        {"<munderover><mo><char type=\"integral\"/></mo><mn>0</mn><mn>1</mn></munderover><mi>f</mi>",
         "@integral$f$0$1#"},
        {"<munderover><mo><char type=\"ssSumma\"/></mo><mn>1</mn><mi>n</mi></munderover><mi>k</mi>",
         "@summa$k$n$1#"},
        {"<mo><char type=\"integral\"/></mo>", "@integral_undef$#"},
        {"<munder accentunder=\"true\"><mrow><mo>lim</mo></mrow><mrow><mi>x</mi><mo><char type=\"arrow\"/></mo>"
         "<mn>0</mn></mrow></munder>",
         "@lim$$x$0#"},
        // Whitespace between elements, comments and unknown elements.
        {"<mrow>\n  <mi>x</mi>\n  <!-- note -->\n  <mo>+</mo>\n  <mn>1</mn>\n</mrow>", "x+1"},
        {"<mstyle mathcolor=\"red\"><mi>x</mi></mstyle><mspace/>", "x"},
        {"<mi> </mi><mi>a</mi>", " a"},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.mathml);
        EXPECT_EQ(Read(InMath(c.mathml)), c.lexemText);
    }
}

TEST(MathMLReader, AppendsToTheOutput)
{
    std::string text = "a+";
    CLexemParser::ConvertMathMLText("<math><mi>b</mi></math>", text);
    EXPECT_EQ(text, "a+b");
}

struct ErrorCase {
    std::string mathml;
    int code;
    int messageId;
};

std::string Nested(std::string_view open, std::string_view inner, std::string_view close, int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

TEST(MathMLReader, RefusesWhatItCannotRead)
{
    const std::vector<ErrorCase> cases = {
        {"", 2, msg::XmlLoad},
        {"x+1", 2, msg::XmlLoad},
        {"<math><mi>x</math>", 2, msg::XmlLoad},
        {"<math><mi>x</mi></math><math/>", 2, msg::XmlLoad},
        {Nested("<mrow>", "x", "</mrow>", 300), 2, msg::XmlLoad},
        {InMath("<char type=\"bogus\"/>"), 3, msg::MathMLTranslation},
        {InMath("<char/>"), 3, msg::MathMLTranslation},
        {InMath("<char type=\"integral\"/>"), 3, msg::MathMLTranslation},
        {InMath("<mo><char type=\"ssSumma\"/></mo><mi>k</mi>"), 3, msg::MathMLTranslation},
        {InMath("<interval><mn>0</mn></interval>"), 3, msg::MathMLTranslation},
        {InMath("<interval><mn>0</mn><mn>1</mn><mn>2</mn></interval>"), 3, msg::MathMLTranslation},
        {InMath("<mfrac><mn>1</mn></mfrac>"), 3, msg::MathMLTranslation},
        {InMath("<msup><mi>x</mi></msup>"), 3, msg::MathMLTranslation},
        {InMath("<msubsup><mi>x</mi><mn>1</mn></msubsup>"), 3, msg::MathMLTranslation},
        {InMath("<mroot/>"), 3, msg::MathMLTranslation},
        {InMath("<mroot><mn>1</mn><mn>2</mn><mn>3</mn></mroot>"), 3, msg::MathMLTranslation},
        {InMath("<mtsf><mtnum>1</mtnum></mtsf>"), 3, msg::MathMLTranslation},
        {InMath("<msup order=\"@foo$x#\"><mi>f</mi><mn>'</mn></msup>"), 3, msg::MathMLTranslation},
        {InMath("<msup order=\"1#@hor_frac$1\"><mi>f</mi><mn>'</mn></msup>"), 3, msg::MathMLTranslation},
        {InMath("<msup order=\"a@#b\"><mi>f</mi><mn>'</mn></msup>"), 3, msg::MathMLTranslation},
        // Markup characters of the lexeme text never come from a text.
        {InMath("<mi>@hor_frac$1$2#</mi>"), 5, msg::UnsupportedSymbol},
        {InMath("<mn>$</mn>"), 5, msg::UnsupportedSymbol},
        {InMath("<mtint>#</mtint>"), 5, msg::UnsupportedSymbol},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.mathml.substr(0, 120));
        try {
            Read(c.mathml);
            ADD_FAILURE() << "no error";
        } catch (const CMEException& error) {
            EXPECT_EQ(error.Code(), c.code);
            EXPECT_EQ(error.MessageId(), c.messageId);
            EXPECT_EQ(error.Message(), GetMessageText(c.messageId, 0));
        }
    }
}

// What the translation yields, the lexeme reader checks: a 64-deep fraction
// reads, a 65-deep one is refused there.
TEST(MathMLReader, SharesTheNestingLimit)
{
    const auto fractions = [](int depth) {
        return InMath(Nested("<mfrac>", "<mn>1</mn>", "<mn>2</mn></mfrac>", depth));
    };
    EXPECT_EQ(test::ReadWrite(Read(fractions(64))), Nested("@hor_frac$", "1", "$2#", 64));
    try {
        test::Read(Read(fractions(65)));
        ADD_FAILURE() << "no error";
    } catch (const CMEException& error) {
        EXPECT_EQ(error.Code(), 3);
        EXPECT_EQ(error.MessageId(), msg::TooDeep);
    }
}

}  // namespace
}  // namespace formula
