// The reader of the kernel's interval reply: the named fields, their
// brackets, numbers whatever the locale, the open ends.
#include <gtest/gtest.h>

#include "stepwell/model/interval_reply.h"

namespace stepwell {
namespace {

TEST(IntervalReply, FieldsTrimmedAndUnwrapped)
{
    struct Row {
        const char* reply;
        const char* name;
        const char* field;
        double asDouble;
        int asInt;
    };
    const Row rows[] = {
        {"xr ={-2.5}", "xr", "-2.5", -2.5, -2},
        {"xr ={  (-2.5) }", "xr", "-2.5", -2.5, -2},
        {"left ={(1)}", "left", "(1)", 0, 1},  // three characters stay wrapped; the integer drops brackets
        {"left ={((1))}", "left", "(1)", 0, 1},
        {"yr ={(12)}", "yr", "12", 12, 12},
        {"yr ={3", "yr", "", 0, 0},            // no closing brace
        {"left ={1} right ={0}", "xr", "", 0, 0},
        {"xr={1}", "xr", "", 0, 0},            // the blank before " ={" belongs to the name's mark
        {"myxr ={7}", "xr", "7", 7, 7},        // found anywhere, as the name is searched
        {"xr ={abc}", "xr", "abc", 0, 0},
        {"left ={99999999999}", "left", "99999999999", 99999999999.0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reply);
        EXPECT_EQ(GetReplyField(row.reply, row.name), row.field);
        EXPECT_EQ(GetReplyDouble(row.reply, row.name), row.asDouble);
        EXPECT_EQ(GetReplyInt(row.reply, row.name), row.asInt);
    }
}

TEST(IntervalReply, EndsAndInfinities)
{
    IntervalReply read = ReadIntervalReply("left ={1} right ={0} xr ={-2.5} yr ={3}");
    EXPECT_TRUE(read.leftIncluded);
    EXPECT_FALSE(read.rightIncluded);
    EXPECT_FALSE(read.minusInfinity);
    EXPECT_FALSE(read.plusInfinity);
    EXPECT_EQ(read.left, -2.5);
    EXPECT_EQ(read.right, 3);

    // Both words: unbounded on both sides whatever xr and yr say.
    read = ReadIntervalReply("left ={(1)} right ={0} xr ={MinusInfSet} yr ={5} PlusInfSet");
    EXPECT_TRUE(read.leftIncluded);
    EXPECT_TRUE(read.minusInfinity);
    EXPECT_TRUE(read.plusInfinity);

    // No xr: the left end 0; left 2 is not 1.
    read = ReadIntervalReply("left ={2} yr ={4}");
    EXPECT_FALSE(read.leftIncluded);
    EXPECT_EQ(read.left, 0);
    EXPECT_EQ(read.right, 4);
}

}  // namespace
}  // namespace stepwell
