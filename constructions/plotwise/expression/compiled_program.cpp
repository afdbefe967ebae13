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

void CompiledProgram::emit(OpCode op) { m_code.push_back({op, 0.0}); }

void CompiledProgram::emitConstant(double value) { m_code.push_back({OpCode::Constant, value}); }

void CompiledProgram::emitVariable() { m_code.push_back({OpCode::Variable, 0.0}); }

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
    double* top = m_stack.data();  // the next free slot
    for (const Instruction& step : m_code) {
        switch (step.op) {
        case OpCode::Constant: *top++ = step.value; break;
        case OpCode::Variable: *top++ = x; break;
        case OpCode::Add: --top; top[-1] = top[-1] + top[0]; break;
        case OpCode::Subtract: --top; top[-1] = top[-1] - top[0]; break;
        case OpCode::Multiply: --top; top[-1] = top[-1] * top[0]; break;
        case OpCode::Divide: --top; top[-1] = top[-1] / top[0]; break;
        case OpCode::Power:
            --top;
            if (top[0] == 0.5 && top[-1] < 0.0)
                return false;
            top[-1] = std::pow(top[-1], top[0]);
            break;
        case OpCode::Sin: top[-1] = std::sin(top[-1]); break;
        case OpCode::Cos: top[-1] = std::cos(top[-1]); break;
        case OpCode::Abs: top[-1] = std::fabs(top[-1]); break;
        }
    }
    y = top[-1];
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
