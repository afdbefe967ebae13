#include "constructions/plotwise/expression/compiled_program.h"

#include <clocale>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>
#include <locale.h>
#include <string>

namespace constructions::plotwise {

void CompiledProgram::clear()
{
    m_code.clear();
    m_defined = false;
}

namespace {

// The fused form of a binary operation whose right operand is a constant
// (byConstant) or x; the operation itself when it has none.
OpCode fused(OpCode op, bool byConstant)
{
    switch (op) {
    case OpCode::Add: return byConstant ? OpCode::AddConstant : OpCode::AddVariable;
    case OpCode::Subtract: return byConstant ? OpCode::SubtractConstant : OpCode::SubtractVariable;
    case OpCode::Multiply: return byConstant ? OpCode::MultiplyConstant : OpCode::MultiplyVariable;
    case OpCode::Divide: return byConstant ? OpCode::DivideConstant : OpCode::DivideVariable;
    case OpCode::Power: return byConstant ? OpCode::PowerConstant : OpCode::PowerVariable;
    case OpCode::Constant:
    case OpCode::Variable:
    case OpCode::Sin:
    case OpCode::Cos:
    case OpCode::Abs:
    case OpCode::AddConstant:
    case OpCode::SubtractConstant:
    case OpCode::MultiplyConstant:
    case OpCode::DivideConstant:
    case OpCode::PowerConstant:
    case OpCode::AddVariable:
    case OpCode::SubtractVariable:
    case OpCode::MultiplyVariable:
    case OpCode::DivideVariable:
    case OpCode::PowerVariable:
    case OpCode::One:
    case OpCode::Square:
    case OpCode::Reciprocal:
    case OpCode::SquareRoot:
    case OpCode::IntegerPower: break;
    }
    return op;
}

// The instruction a power by exponent becomes; none for exponent 1, which
// leaves the base as it is (pow(x, 1) is x, NaN and -0 included).
std::optional<Instruction> loweredPower(double exponent)
{
    if (exponent == 1.0)
        return std::nullopt;
    if (exponent == 0.0)
        return Instruction{OpCode::One, 0.0};
    if (exponent == 2.0)
        return Instruction{OpCode::Square, 0.0};
    if (exponent == -1.0)
        return Instruction{OpCode::Reciprocal, 0.0};
    if (exponent == 0.5)
        return Instruction{OpCode::SquareRoot, 0.0};
    if (std::fabs(exponent) <= kMaxLoweredExponent && exponent == std::trunc(exponent))
        return Instruction{OpCode::IntegerPower, exponent};
    return Instruction{OpCode::PowerConstant, exponent};
}

// x * x, 1 / x and the square root are correctly rounded and pow is within
// about half a unit, so the two are at most one unit apart. x * x and 1 / x
// have pow's zeros, infinities and NaN as they are; the square root is made to.
inline double square(double x) noexcept { return x * x; }

inline double reciprocal(double x) noexcept { return 1.0 / x; }

// pow(-0, 0.5) is +0 (sqrt keeps the sign), pow(-inf, 0.5) is +inf; a
// negative base, which the expression language leaves undefined before it
// gets here, by pow itself.
inline double squareRoot(double x) noexcept { return x < 0.0 ? std::pow(x, 0.5) : std::sqrt(x) + 0.0; }

// A value as the unevaluated sum hi + lo, |lo| much smaller than |hi|.
struct DoubleDouble {
    double hi;
    double lo;
};

// The product: the rounding error of hi * hi exactly by fma, the cross terms
// rounded, lo * lo left out. Never renormalised, so fewer roundings wait on
// each other: hi is then the plain product of the his and lo gathers their
// drift, below |n| units of hi for a power x^n, so what is left out or
// rounded stays below 2^-90 of the value for |n| <= kMaxLoweredExponent.
inline DoubleDouble product(DoubleDouble a, DoubleDouble b) noexcept
{
    const double p = a.hi * b.hi;
    return {p, std::fma(a.hi, b.hi, -p) + (a.hi * b.lo + a.lo * b.hi)};
}

// x^n for 2 <= |n| <= kMaxLoweredExponent: square and multiply carried in
// double-double, so that the one rounding at the end leaves the value within
// half a unit (and less than 2^-90 of it more) of the true power; pow's is
// within about half a unit too, so the two are at most one unit apart. Plain
// multiplications would drift by several units from x^4 on. A negative n
// raises the reciprocal. Every partial power lies between the base and the
// result; a result far from the ends of the range therefore never had a
// partial power lose bits of its low half, and a result near them (zeros,
// subnormals, overflow) or NaN is pow's own.
//
// Built twice, the processor choosing at load time: with its fused
// multiply-add where it has one, else with the library's fma.
[[gnu::target_clones("fma", "default")]] double integerPower(double x, int n) noexcept
{
    unsigned remaining = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
    DoubleDouble power{x, 0.0};
    if (n < 0) {
        // The reciprocal and its rounding error.
        const double r = 1.0 / x;
        power = {r, -std::fma(x, r, -1.0) * r};
    }
    while ((remaining & 1u) == 0) {
        power = product(power, power);
        remaining >>= 1;
    }
    DoubleDouble result = power;
    while ((remaining >>= 1) != 0) {
        power = product(power, power);
        if (remaining & 1u)
            result = product(result, power);
    }
    const double value = result.hi + result.lo;
    const double size = std::fabs(value);
    if (size >= 0x1p-960 && size <= std::numeric_limits<double>::max())
        return value;
    return std::pow(x, n);
}

// Runs the steps from first to last on an empty stack at `below`; false
// (y untouched) where the program is undefined at x.
//
// Every step's code ends in the jump to the next step's, through a table of
// label addresses (labels as values, an extension of GCC and Clang): one
// indirect jump per kind of step, which the processor predicts from the kind
// before, where a switch in a loop has one jump for all of them and spends
// more instructions on each step. Plot expressions run in about two thirds
// of the time. The table keeps this from being inlined; a run is one call.
bool execute(const Instruction* first, const Instruction* last, double x, double* below, double& y) noexcept
{
    // In the order of OpCode.
    static const void* const entries[] = {
        &&constant, &&variable, &&add, &&subtract, &&multiply, &&divide, &&power, &&sine, &&cosine, &&absolute,
        &&addConstant, &&subtractConstant, &&multiplyConstant, &&divideConstant, &&powerConstant, &&addVariable,
        &&subtractVariable, &&multiplyVariable, &&divideVariable, &&powerVariable, &&one, &&squared,
        &&reciprocalOf, &&squareRootOf, &&integerPowerOf};
    static_assert(sizeof entries / sizeof entries[0] == static_cast<std::size_t>(OpCode::IntegerPower) + 1);

    // The top of the stack stays in a register; the rest lies below `below`.
    double top = 0.0;
    const Instruction* step = first;
#define PLOTWISE_NEXT_STEP                                     \
    do {                                                       \
        if (++step == last)                                    \
            goto end;                                          \
        goto* entries[static_cast<std::size_t>(step->op)];     \
    } while (false)

    if (step == last)
        goto end;
    goto* entries[static_cast<std::size_t>(step->op)];

constant:
    *below++ = top;
    top = step->value;
    PLOTWISE_NEXT_STEP;
variable:
    *below++ = top;
    top = x;
    PLOTWISE_NEXT_STEP;
add:
    top = *--below + top;
    PLOTWISE_NEXT_STEP;
subtract:
    top = *--below - top;
    PLOTWISE_NEXT_STEP;
multiply:
    top = *--below * top;
    PLOTWISE_NEXT_STEP;
divide:
    top = *--below / top;
    PLOTWISE_NEXT_STEP;
power: {
    const double base = *--below;
    if (top == 0.5 && base < 0.0)
        return false;
    top = std::pow(base, top);
    PLOTWISE_NEXT_STEP;
}
sine:
    top = std::sin(top);
    PLOTWISE_NEXT_STEP;
cosine:
    top = std::cos(top);
    PLOTWISE_NEXT_STEP;
absolute:
    top = std::fabs(top);
    PLOTWISE_NEXT_STEP;
addConstant:
    top = top + step->value;
    PLOTWISE_NEXT_STEP;
subtractConstant:
    top = top - step->value;
    PLOTWISE_NEXT_STEP;
multiplyConstant:
    top = top * step->value;
    PLOTWISE_NEXT_STEP;
divideConstant:
    top = top / step->value;
    PLOTWISE_NEXT_STEP;
powerConstant:
    if (step->value == 0.5 && top < 0.0)
        return false;
    top = std::pow(top, step->value);
    PLOTWISE_NEXT_STEP;
addVariable:
    top = top + x;
    PLOTWISE_NEXT_STEP;
subtractVariable:
    top = top - x;
    PLOTWISE_NEXT_STEP;
multiplyVariable:
    top = top * x;
    PLOTWISE_NEXT_STEP;
divideVariable:
    top = top / x;
    PLOTWISE_NEXT_STEP;
powerVariable:
    if (x == 0.5 && top < 0.0)
        return false;
    top = std::pow(top, x);
    PLOTWISE_NEXT_STEP;
one:
    top = 1.0;
    PLOTWISE_NEXT_STEP;
squared:
    top = square(top);
    PLOTWISE_NEXT_STEP;
reciprocalOf:
    top = reciprocal(top);
    PLOTWISE_NEXT_STEP;
squareRootOf:
    if (top < 0.0)
        return false;
    top = squareRoot(top);
    PLOTWISE_NEXT_STEP;
integerPowerOf:
    top = integerPower(top, static_cast<int>(step->value));
    PLOTWISE_NEXT_STEP;
#undef PLOTWISE_NEXT_STEP

end:
    y = top;
    return true;
}

}  // namespace

double powerByConstant(double base, double exponent) noexcept
{
    const std::optional<Instruction> step = loweredPower(exponent);
    if (!step)
        return base;
    switch (step->op) {
    case OpCode::One: return 1.0;
    case OpCode::Square: return square(base);
    case OpCode::Reciprocal: return reciprocal(base);
    case OpCode::SquareRoot: return squareRoot(base);
    case OpCode::IntegerPower: return integerPower(base, static_cast<int>(step->value));
    default: return std::pow(base, exponent);
    }
}

void CompiledProgram::append(OpCode op)
{
    // The last instruction pushed the right operand when it is a lone push:
    // a number or x is a whole operand by itself. The left operand is below
    // it, so the instruction before must exist.
    if (m_code.size() >= 2) {
        Instruction& last = m_code.back();
        if (last.op == OpCode::Constant || last.op == OpCode::Variable) {
            const bool byConstant = last.op == OpCode::Constant;
            const OpCode combined = fused(op, byConstant);
            if (combined != op) {
                last.op = combined;
                // By a number, the operation reads the top of the stack alone.
                if (byConstant && (combined != OpCode::PowerConstant || lowerPower()))
                    fold();
                return;
            }
        }
    }
    m_code.push_back({op, 0.0});
    if (op == OpCode::Sin || op == OpCode::Cos || op == OpCode::Abs)
        fold();
}

bool CompiledProgram::lowerPower()
{
    const std::optional<Instruction> step = loweredPower(m_code.back().value);
    if (!step) {
        m_code.pop_back();
        return false;
    }
    m_code.back() = *step;
    return true;
}

void CompiledProgram::fold()
{
    // The last operation reads the top of the stack alone; after a number,
    // the number is its whole operand, and running the two gives the value
    // every run would. Left as they are where undefined, so that every run
    // says so.
    const std::size_t size = m_code.size();
    if (size < 2 || m_code[size - 2].op != OpCode::Constant)
        return;
    double stack[2];
    double value = 0.0;
    if (!execute(&m_code[size - 2], &m_code[size - 2] + 2, 0.0, stack, value))
        return;
    m_code.pop_back();
    m_code.back().value = value;
}

void CompiledProgram::appendConstant(double value) { m_code.push_back({OpCode::Constant, value}); }

void CompiledProgram::appendVariable() { m_code.push_back({OpCode::Variable, 0.0}); }

void CompiledProgram::finish()
{
    // A walk that completed pushes one value more than it pops; the deepest
    // stack is at most one slot per instruction.
    m_stack.assign(m_code.size() + 1, 0.0);
    m_defined = !m_code.empty();
}

bool CompiledProgram::run(double x, double& y) noexcept
{
    if (!m_defined)
        return false;
    return execute(m_code.data(), m_code.data() + m_code.size(), x, m_stack.data(), y);
}

double numberValue(std::string_view text)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size())
        return value;
    // Out of range: from_chars leaves value alone; strtod in the C locale
    // gives the infinity or the rounded tiny value.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace constructions::plotwise
