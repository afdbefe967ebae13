#pragma once
// AxisTaskXml: the element texts of the number-axis task, interval and end
// point. Written by formatting, read back by plain text search (no XML
// parser): element order is positional and attribute names are exact.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace constructions::tickrule::axisxml {

// The namespace declaration every element carries (never read back).
constexpr std::string_view kNamespaceDeclaration = "xmlns:na=\"urn:pelmarin:tessaly:axis\"";
// Between two attributes of the task's start tag: a blank, twelve tabs and a blank.
constexpr std::string_view kTaskAttributeSeparator = " \t\t\t\t\t\t\t\t\t\t\t\t ";

// The n-th (from 0) start tag "<" + name ... ">" in text; "" when there is no
// such occurrence or no ">" after it. Occurrence n is searched from one
// character after occurrence n - 1.
std::string startTag(std::string_view text, std::string_view name, int n);

enum class ElementScan {
    Found,
    Absent,     // no n-th occurrence, or no end tag after it
    Unclosed,   // the n-th "<" + name has no ">" after it anywhere
};
// The n-th element: a start tag ending in "/>" alone, else from "<" through the
// first "</" + name + ">" after it.
ElementScan element(std::string_view text, std::string_view name, int n, std::string& out);

// The values of keys (each an attribute name with "=\"") in a start tag, in
// the keys' order: the text from the first occurrence of the key outside a
// quoted value up to the next double quote, entities read back. A key that
// does not occur, or has no closing quote, gives an empty text.
std::vector<std::string> attributeValues(std::string_view tag, std::span<const std::string_view> keys);

// Number forms: "%f" (six decimals, full stop) and "%d" (32-bit signed).
std::string formatReal(double value);
std::string formatInteger(long long value);
// Decimal conversions as atof and atoi read them: leading blanks skipped, the
// longest numeric prefix, 0 without one; integers wrap to 32 bits.
double readReal(std::string_view text);
std::int32_t readInteger(std::string_view text);

}  // namespace constructions::tickrule::axisxml
