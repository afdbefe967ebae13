#pragma once
// The reply printer: the kernel's tree in the forms that the formula
// control's Aplan reader turns into lexeme text ("2*x=4", "hor_frac(7,3)",
// "index_up(x,2)", "spec_equ(eqls,x,2)", "system(x=1,y=2)", ...). Plain
// ASCII, every product with an explicit "*", negative numbers in brackets
// only as a factor, base or exponent. Throws Refusal for a node that has no
// reply form.
#include <string>

#include "solvekernel/node.h"

namespace solvekernel {

std::string printReply(const Node& node);

}  // namespace solvekernel
