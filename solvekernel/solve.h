#pragma once
// Solution sets of equations, inequalities, systems and unions, and the
// equivalence of two formulas built on them: equations and systems are
// equivalent when their solution sets are equal, expressions when their
// difference normalises to zero.
#include <optional>
#include <string>
#include <vector>

#include "solvekernel/realset.h"

namespace solvekernel {

// The letters of a formula, sorted by name.
std::vector<std::string> lettersOf(const Node& node);

// The solution set in one letter ("" for a formula without letters) of a
// relation, membership, system (intersection) or union. Throws Refusal for
// what it cannot solve exactly.
RealSet solveInLetter(const Node& formula, const std::string& letter, Symbols& symbols);

// The solution of a system of equations in several letters.
struct MultiSolution {
    std::vector<std::string> letters;
    bool linear = false;
    bool inconsistent = false;
    std::vector<std::vector<GiNaC::numeric>> rows;  // reduced rows (linear)
    bool finite = false;
    std::vector<std::vector<Surd>> points;         // each in the order of `letters`
};
MultiSolution solveSystem(const Node& formula, const std::vector<std::string>& letters, Symbols& symbols);

// Whether two formulas are equivalent; nullopt when the kernel cannot tell.
std::optional<bool> equivalent(const Node& a, const Node& b);

// The reply of a solution in several letters: "system(x=1,y=2)", a union of
// such systems, or "x in the empty set" for none. Throws Refusal for
// infinitely many solutions.
NodePtr systemSolutionNode(const MultiSolution& solution, const PrintStyle& style);

}  // namespace solvekernel
