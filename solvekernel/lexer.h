#pragma once
// Tokens of the Aplan request text.
#include <string>
#include <string_view>
#include <vector>

namespace solvekernel {

enum class Tok {
    End,
    Number,    // a run of digits
    Letter,    // a letter, with its digit index ("x1")
    Word,      // a known word of the notation ("RealNum", "System", "Sin", ...)
    String,    // the text between double quotes
    LParen,
    RParen,
    Comma,
    Plus,      // "+!" or "+"
    Minus,     // "-!" or "-"
    Times,     // "*!" or "*"
    Divide,    // "/!" or "/"
    FracBar,   // "//" of a numeric fraction
    MixedBar,  // "#!" of a mixed number
    Power,     // "^!"
    Percent,   // "%!"
    Eq,
    Lt,
    Gt,
    Le,
    Ge,
    Ne,
    And,       // "&!" between the lines of a system
    Or,        // "|!" between the lines of a union
    In,        // "||"
    NotIn,     // "||!"
};

struct Token {
    Tok kind = Tok::End;
    std::string text;
};

// Throws ParseError for a character or word the notation does not have.
std::vector<Token> tokenize(std::string_view text);

}  // namespace solvekernel
