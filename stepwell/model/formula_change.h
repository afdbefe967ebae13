#pragma once
// What a change the formula control made by itself (a drop) did to the
// formula, read from its lexeme text before and after: the step it makes is
// described by it.
#include <string_view>

namespace stepwell {

// The part of `before` that the change replaced (what is left between the
// texts' common beginning and common end) holds a relation sign ("=", "<",
// ">" or a relation written "@spec$...#"): a term went across it.
bool MovesAcrossRelation(std::string_view before, std::string_view after);

}  // namespace stepwell
