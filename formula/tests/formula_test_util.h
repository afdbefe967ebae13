#pragma once
// Helpers of the formula tests: reading a text into a formula root, and a
// compact description of a tree's structure.
#include <memory>
#include <string>
#include <string_view>

#include "formula/model/lexem.h"
#include "formula/model/templates/multi_row.h"

namespace formula::test {

// A formula root holding the text's lines (as the environment builds it).
std::unique_ptr<CAggregateTemplate> Read(std::string_view text, CDisplaySettings* owner = nullptr);
// Read, then the lexeme text of the root.
std::string ReadWrite(std::string_view text);

// Structure of a lexeme: letters as themselves, 'c' for another character,
// +/-... for operator signs, br( for bracket characters, rel163 and atom112
// for relation signs and atoms, num12 / period1,(3) / int12 for numbers, and
// name[row;row] for templates (rows as their elements joined by spaces).
std::string Describe(const CLexem& lexem);
// The lines of a root, joined by " / ".
std::string DescribeRoot(const CAggregateTemplate& root);

}  // namespace formula::test
