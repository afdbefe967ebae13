#include <gtest/gtest.h>

#include "stepwell/model/formula_change.h"

namespace stepwell {
namespace {

TEST(FormulaChange, MovesAcrossRelationTable)
{
    struct Case {
        const char* before;
        const char* after;
        bool across;
    };
    const Case cases[] = {
        // Terms across "=" in both directions, onto a sign or a lone zero.
        {"2*x+3=7", "2*x=-3+7", true},
        {"2*x+3=7", "2*x+3-7=0", true},
        {"x+3=7-1", "x=7-3-1", true},
        {"x=y+5", "x-5=y", true},
        {"x-3=0", "x=3", true},
        {"0=x-3", "-x=-3", true},
        {"x=y", "0=-x+y", true},
        // Inequalities, a line of a system.
        {"2*x+3>7", "2*x>-3+7", true},
        {"x-1<3", "x<1+3", true},
        {"x+1@spec$LessEqual#3", "x@spec$LessEqual#-1+3", true},
        {"@system$x+y=5$x-y=1#", "@system$x=5-y$x-y=1#", true},
        // Within one side, a substitution: no relation crossed.
        {"a+b+c=7", "b+a+c=7", false},
        {"a*b*c=d", "b*a*c=d", false},
        {"@system$y=2*x$x+y=3#", "@system$y=2*x$x+2*x=3#", false},
        {"2*x=4", "2*x=4", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MovesAcrossRelation(c.before, c.after), c.across) << c.before << " -> " << c.after;
}

}  // namespace
}  // namespace stepwell
