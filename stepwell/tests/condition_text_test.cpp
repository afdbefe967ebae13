#include <gtest/gtest.h>

#include "stepwell/model/condition_text.h"

namespace stepwell {
namespace {

TEST(ConditionText, ReadsFormulasAndTypesTheRest)
{
    const std::string x = "<math xmlns=\"m\"><mi>x</mi></math>";
    const ConditionPiece a{false, "a"};
    const ConditionPiece blank{false, "  "};
    struct Case {
        const char* name;
        std::string text;
        std::vector<ConditionPiece> pieces;
    };
    const std::vector<Case> cases = {
        {"empty", "", {}},
        {"words and a formula", "a " + x + "a", {a, blank, {true, x}, a}},
        {"only a formula", x, {{true, x}}},
        {"markup characters and controls are dropped", "a&<>\n\t\ra", {a, a}},
        {"an unclosed formula is typed, its brackets dropped", "<math a", {{false, "m"}, {false, "a"}, {false, "t"},
            {false, "h"}, blank, a}},
        {"<math without its blank is text", "<mathx</math>", {{false, "m"}, {false, "a"}, {false, "t"},
            {false, "h"}, {false, "x"}, {false, "/"}, {false, "m"}, {false, "a"}, {false, "t"}, {false, "h"}}},
        {"letters beyond ASCII stay whole", "Ґ😀", {{false, "Ґ"}, {false, "😀"}}},
        {"two formulas side by side", x + x, {{true, x}, {true, x}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadConditionText(c.text), c.pieces);
    }
}

}  // namespace
}  // namespace stepwell
