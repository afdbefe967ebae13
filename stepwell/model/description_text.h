#pragma once
// A step's description split as the step lays it out: runs of text and the
// MathML formulas set into them.
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

struct DescriptionPiece {
    enum class Kind { Text, Formula };
    Kind kind = Kind::Text;
    std::string text;  // the words (a blank as two blanks) or the formula's MathML

    bool operator==(const DescriptionPiece&) const = default;
};

// "<math " opens a formula that runs to the next "</math>" (an unclosed one
// runs to the end); any other "<" is dropped; a blank becomes two blanks,
// the layout's space; everything else gathers into text.
std::vector<DescriptionPiece> SplitDescription(std::string_view text);

}  // namespace stepwell
