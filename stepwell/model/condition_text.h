#pragma once
// How the condition editor reads a text: each "<math " that has a closing
// "</math>" is one formula (its MathML, closing tag included); every other
// character is typed as from the keyboard, so characters below 32 and "&",
// "<", ">" are dropped and a blank becomes the two-blank item "  ".
#include <string>
#include <vector>

namespace stepwell {

struct ConditionPiece {
    bool formula = false;
    std::string text;  // the MathML, or the text of one item
    bool operator==(const ConditionPiece&) const = default;
};

std::vector<ConditionPiece> ReadConditionText(const std::string& text);
// The item a typed character gives; empty when the character cannot be typed.
std::string TypedItem(char32_t c);

}  // namespace stepwell
