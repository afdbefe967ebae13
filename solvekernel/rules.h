#pragma once
// Rule files (".clew"): which operation each kernel function code names.
//
//   # a comment runs to the end of its line
//   5351 check-step
//   10   simplify
//
// One code and one operation name per line; a code appears once. A file
// with any other line is refused as a whole.
#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "solvekernel/kernel.h"

namespace solvekernel {

// The rules of the text; false with `error` set ("line 3: unknown operation
// \"foo\"") when it is not a valid rule file.
bool parseRules(std::string_view text, std::map<std::int32_t, Operation>& rules, std::string& error);

// The rule file named by the start arguments ("-l modules\tessaly\x.clew"),
// resolved against the install root that the library path gives
// (".../kernel/solvekernel/tarvik.so" -> "..."); "\" is taken as "/".
std::string ruleFilePath(std::string_view libraryPath, std::string_view arguments);

// Reads the file (at most 1 MiB); false with `error` set.
bool loadRules(const std::string& path, std::map<std::int32_t, Operation>& rules, std::string& error);

}  // namespace solvekernel
