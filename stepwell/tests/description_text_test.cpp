#include <gtest/gtest.h>

#include "stepwell/model/description_text.h"

namespace stepwell {
namespace {

using Kind = DescriptionPiece::Kind;

TEST(DescriptionText, SplitTable)
{
    const std::string math = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi></math>";
    const std::pair<std::string, std::vector<DescriptionPiece>> cases[] = {
        {"", {}},
        {"Спростіть", {{Kind::Text, "Спростіть"}}},
        {"word" + math + "word", {{Kind::Text, "word"}, {Kind::Formula, math}, {Kind::Text, "word"}}},
        {"a b", {{Kind::Text, "a  b"}}},
        {"a<b>c", {{Kind::Text, "ab>c"}}},
        {math + math, {{Kind::Formula, math}, {Kind::Formula, math}}},
        {"x <math a=\"1\"><mi>y</mi>", {{Kind::Text, "x  "}, {Kind::Formula, "<math a=\"1\"><mi>y</mi>"}}},
        {"два\nрядки", {{Kind::Text, "два\nрядки"}}},
    };
    for (const auto& [text, pieces] : cases)
        EXPECT_EQ(SplitDescription(text), pieces) << text;
}

}  // namespace
}  // namespace stepwell
