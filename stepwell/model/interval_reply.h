#pragma once
// The kernel's answer to an interval request: named fields written as the
// name, " ={", the value and "}", and the words "MinusInfSet" and
// "PlusInfSet" for ends that are open to infinity.
#include <string>
#include <string_view>

namespace stepwell {

// The value of the field: the text between name + " ={" and the next "}",
// trimmed; a value of 4 or more characters in one pair of outer brackets
// loses them. Empty when the field is missing.
std::string GetReplyField(std::string_view reply, std::string_view name);
// The value as a decimal number, whatever the locale; 0 when it is not one.
double GetReplyDouble(std::string_view reply, std::string_view name);
// The value without any brackets, as a whole number; 0 when it is not one.
int GetReplyInt(std::string_view reply, std::string_view name);

struct IntervalReply {
    bool leftIncluded = false;
    bool rightIncluded = false;
    bool minusInfinity = false;
    bool plusInfinity = false;
    double left = 0;
    double right = 0;
};

IntervalReply ReadIntervalReply(std::string_view reply);

}  // namespace stepwell
