#pragma once
// The character a typed key gives the formula.

namespace formula {

// Printable 7-bit characters stand for themselves; the Cyrillic letters of a
// Ukrainian keyboard layout that look like Latin letters (а е і к о р с у х
// and their capitals) become those letters, so a pupil who left the layout
// on Ukrainian still types x, a, c... 0 for a character a formula cannot
// hold: any other letter or symbol, a control character, and "@", "#", "$"
// (the syntax characters of the lexeme text).
char TypedFormulaChar(char32_t code);

}  // namespace formula
