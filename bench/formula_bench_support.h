#pragma once
// What the formula benchmarks share: a typical school formula of about forty
// lexemes, a GUI application for the fonts, and a lexeme count.

namespace formula {
class CLexem;
}

namespace bench {

// Forty-odd lexemes: sums, products, a fraction, a power, a relation.
inline constexpr const char* kFortyLexemeFormula = "2*x+3*y-@hor_frac$x+1$2#=5*@index_up$z$2#-7+a*b-c:d+e";

// Fonts need a GUI application; one is made for the process when the
// benchmark runs without one (never destroyed: fonts stay cached).
void EnsureGuiApplication();

// Lexemes below and including `lexem`, row heads not counted.
int CountLexemes(const formula::CLexem& lexem);

}  // namespace bench
