#include <gtest/gtest.h>

#include <antlr/RecognitionException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "constructions/plotwise/expression/CExpressionLexer.hpp"
#include "constructions/plotwise/expression/CExpressionParser.hpp"
#include "constructions/plotwise/expression/expression_function.h"

namespace constructions::plotwise {
namespace {

constexpr int kLexicalError = -1;

// The token types of a text up to the end of input; kLexicalError at the
// first character no rule accepts.
std::vector<int> typesOf(const std::string& text)
{
    std::istringstream stream(text);
    CExpressionLexer lexer(stream);
    std::vector<int> types;
    try {
        for (;;) {
            const antlr::RefToken token = lexer.nextToken();
            types.push_back(token->getType());
            if (token->getType() == antlr::Token::EOF_TYPE)
                break;
        }
    } catch (const antlr::TokenStreamRecognitionException&) {
        types.push_back(kLexicalError);
    }
    return types;
}

int expectedTypeOf(int code)
{
    switch (code) {
    case ' ': case '\t': case '\n': case '\r': return antlr::Token::EOF_TYPE;  // skipped
    case '+': return 4;
    case '-': return 5;
    case '*': return 6;
    case '/': return 7;
    case '^': return 8;
    case '(': return 10;
    case ')': return 11;
    case '[': return 17;
    case ']': return 18;
    case ',': return 19;
    case '.': return 20;
    default: break;
    }
    if (code >= '0' && code <= '9')
        return 9;
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '_')
        return 12;
    return kLexicalError;
}

TEST(ExpressionLexer, EveryByteGivesItsTokenOrALexicalError)
{
    // The characters no rule accepts.
    std::vector<int> errors;
    for (int code = 0; code <= 255; ++code) {
        const std::vector<int> types = typesOf(std::string(1, static_cast<char>(code)));
        ASSERT_FALSE(types.empty());
        EXPECT_EQ(types.front(), expectedTypeOf(code)) << "code " << code;
        if (types.front() == kLexicalError)
            errors.push_back(code);
    }
    std::vector<int> listed;
    const auto range = [&listed](int from, int to) {
        for (int code = from; code <= to; ++code)
            listed.push_back(code);
    };
    range(0, 8), range(11, 12), range(14, 31), range(33, 39), range(58, 64), range(92, 92), range(96, 96),
        range(123, 255);
    EXPECT_EQ(errors, listed);
}

TEST(ExpressionLexer, NumbersNamesAndLiterals)
{
    const struct {
        const char* text;
        std::vector<int> types;
    } cases[] = {
        {"12.50", {9, 1}},
        {"1.", {kLexicalError}},
        {"3.x", {kLexicalError}},
        {".5", {20, 9, 1}},
        {"1.5.2", {9, 20, 9, 1}},
        {"sin cos ABS", {13, 14, 15, 1}},
        {"Sin COS abs sine x_1 _x", {12, 12, 12, 12, 12, 12, 1}},
        {"2x", {9, 12, 1}},
        {"x\t\r\n+ 1", {12, 4, 9, 1}},
        {"x $", {12, kLexicalError}},
    };
    for (const auto& [text, types] : cases)
        EXPECT_EQ(typesOf(text), types) << text;

    // Blanks do not count lines: a token after line breaks is on line 1.
    std::istringstream stream("\n\n\r\nx");
    CExpressionLexer lexer(stream);
    const antlr::RefToken token = lexer.nextToken();
    EXPECT_EQ(token->getText(), "x");
    EXPECT_EQ(token->getLine(), 1);
}

TEST(ExpressionLexer, TokenNamesAndNumbers)
{
    const char* const names[] = {
        "<0>",    "EOF",     "<2>",     "NULL_TREE_LOOKAHEAD", "PLUS",    "MINUS",  "STAR",   "SLASH",
        "POWER",  "NUM",     "LPAREN",  "RPAREN",              "IDENT",   "\"sin\"", "\"cos\"", "\"ABS\"",
        "WS",     "LSPAREN", "RSPAREN", "COMMA",               "POINT",   "LETTER", "DIGIT",
    };
    std::istringstream stream("");
    CExpressionLexer lexer(stream);
    CExpressionParser parser(lexer);
    const CExpressionEvaluator evaluator;
    EXPECT_EQ(parser.getNumTokens(), 23);
    EXPECT_EQ(evaluator.getNumTokens(), 23);
    for (int type = 0; type < 23; ++type) {
        EXPECT_STREQ(parser.getTokenName(type), names[type]) << type;
        EXPECT_STREQ(evaluator.getTokenName(type), names[type]) << type;
    }
    EXPECT_EQ(parser.getTokenName(23), nullptr);
    EXPECT_EQ(evaluator.getTokenName(23), nullptr);

    const int types[] = {CExpressionParser::PLUS,   CExpressionParser::MINUS,       CExpressionParser::STAR,
                         CExpressionParser::SLASH,  CExpressionParser::POWER,       CExpressionParser::NUM,
                         CExpressionParser::LPAREN, CExpressionParser::RPAREN,      CExpressionParser::IDENT,
                         CExpressionParser::LITERAL_sin, CExpressionParser::LITERAL_cos,
                         CExpressionParser::LITERAL_ABS, CExpressionParser::WS,     CExpressionParser::LSPAREN,
                         CExpressionParser::RSPAREN, CExpressionParser::COMMA,      CExpressionParser::POINT,
                         CExpressionParser::LETTER, CExpressionParser::DIGIT};
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(types[i], i + 4);
    EXPECT_TRUE(lexer.getCaseSensitiveLiterals());

}

}  // namespace
}  // namespace constructions::plotwise
