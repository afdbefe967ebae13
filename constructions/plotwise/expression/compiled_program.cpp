#include "constructions/plotwise/expression/compiled_program.h"

#include <clocale>
#include <cmath>
#include <charconv>
#include <cstdlib>
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
    case OpCode::PowerVariable: break;
    }
    return op;
}

}  // namespace

void CompiledProgram::append(OpCode op)
{
    // The last instruction pushed the right operand when it is a lone push:
    // a number or x is a whole operand by itself. The left operand is below
    // it, so the instruction before must exist.
    if (m_code.size() >= 2) {
        Instruction& last = m_code.back();
        if (last.op == OpCode::Constant || last.op == OpCode::Variable) {
            const OpCode combined = fused(op, last.op == OpCode::Constant);
            if (combined != op) {
                last.op = combined;
                return;
            }
        }
    }
    m_code.push_back({op, 0.0});
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
    // The top of the stack stays in a register; the rest lies below `below`.
    double top = 0.0;
    double* below = m_stack.data();
    for (const Instruction& step : m_code) {
        switch (step.op) {
        case OpCode::Constant: *below++ = top; top = step.value; break;
        case OpCode::Variable: *below++ = top; top = x; break;
        case OpCode::Add: top = *--below + top; break;
        case OpCode::Subtract: top = *--below - top; break;
        case OpCode::Multiply: top = *--below * top; break;
        case OpCode::Divide: top = *--below / top; break;
        case OpCode::Power: {
            const double base = *--below;
            if (top == 0.5 && base < 0.0)
                return false;
            top = std::pow(base, top);
            break;
        }
        case OpCode::Sin: top = std::sin(top); break;
        case OpCode::Cos: top = std::cos(top); break;
        case OpCode::Abs: top = std::fabs(top); break;
        case OpCode::AddConstant: top = top + step.value; break;
        case OpCode::SubtractConstant: top = top - step.value; break;
        case OpCode::MultiplyConstant: top = top * step.value; break;
        case OpCode::DivideConstant: top = top / step.value; break;
        case OpCode::PowerConstant:
            if (step.value == 0.5 && top < 0.0)
                return false;
            top = std::pow(top, step.value);
            break;
        case OpCode::AddVariable: top = top + x; break;
        case OpCode::SubtractVariable: top = top - x; break;
        case OpCode::MultiplyVariable: top = top * x; break;
        case OpCode::DivideVariable: top = top / x; break;
        case OpCode::PowerVariable:
            if (x == 0.5 && top < 0.0)
                return false;
            top = std::pow(top, x);
            break;
        }
    }
    y = top;
    return true;
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
