#pragma once
// An expression lowered to a flat program for a small stack machine: operands
// first, then their operation, in the order a recursive walk of the tree
// evaluates them, so that every value comes out bit for bit as that walk's.
// A binary operation whose right operand is a number or x takes it from the
// instruction instead of the stack: the same arithmetic, fewer steps.
// An operation whose operands are all numbers is done while compiling, by the
// same code that runs it, and leaves its value as a number. A power by a number
// is lowered to a cheaper operation where one gives pow's value within one unit
// in the last place (see powerByConstant); the walk that matches a program
// bit for bit takes such powers by powerByConstant, the others by std::pow.
#include <cstdint>
#include <string_view>
#include <vector>

namespace constructions::plotwise {

// The run finds each step's code in a table in this order: a new operation
// goes at the end and takes IntegerPower's place in the table's size check.
enum class OpCode : std::uint8_t {
    Constant,  // push the instruction's value
    Variable,  // push x
    Add,
    Subtract,
    Multiply,
    Divide,    // IEEE: a zero divisor gives an infinity or NaN
    Power,     // std::pow; undefined when the exponent is 0.5 and the base negative
    Sin,
    Cos,
    Abs,
    // The binary operations with their right operand in the instruction (a
    // constant) or x, fused with the push that would have preceded them.
    AddConstant,
    SubtractConstant,
    MultiplyConstant,
    DivideConstant,
    PowerConstant,
    AddVariable,
    SubtractVariable,
    MultiplyVariable,
    DivideVariable,
    PowerVariable,
    // PowerConstant lowered, by the exponent: 0, 2, -1, 0.5 (undefined for a
    // negative base, as PowerConstant), and an integer in the instruction.
    One,
    Square,
    Reciprocal,
    SquareRoot,
    IntegerPower,
};

// Integer exponents up to this size are lowered to multiplications.
constexpr int kMaxLoweredExponent = 64;

// base^exponent as a program computes it for a power by the number exponent:
// std::pow's value within one unit in the last place, with exactly its
// zeros, infinities and NaN. Where a negative base has no value by the
// expression language (exponent 0.5) this is pow's value all the same.
double powerByConstant(double base, double exponent) noexcept;

struct Instruction {
    OpCode op;
    double value;
};

class CompiledProgram {
public:
    // Starts a new program (undefined until finish()).
    void clear();
    void append(OpCode op);
    void appendConstant(double value);
    void appendVariable();
    // Makes the program runnable: sizes the stack once, so run() never allocates.
    void finish();

    // A program that is undefined at every x.
    bool defined() const { return m_defined; }
    std::size_t size() const { return m_code.size(); }

    // The value at x; false (y untouched) when undefined there.
    bool run(double x, double& y) noexcept;

private:
    // With the last instruction an operation of the top of the stack alone:
    // computes it in place when its operand is a number.
    void fold();
    // Lowers the last instruction, a power by a number; false when nothing is
    // left of it (a power by 1).
    bool lowerPower();

    std::vector<Instruction> m_code;
    std::vector<double> m_stack;
    bool m_defined = false;
};

// A NUM text (digits with an optional "." and digits) as a double, whatever
// the C locale; beyond the range of doubles what strtod gives (an infinity,
// or the nearest subnormal or zero).
double numberValue(std::string_view text);

}  // namespace constructions::plotwise
