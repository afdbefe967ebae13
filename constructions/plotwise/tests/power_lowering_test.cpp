// Powers by a number are lowered when a program is compiled; their values
// must stay std::pow's: NaN, infinities and signed zeros exactly, everything
// else at most one unit in the last place away.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "constructions/plotwise/expression/compiled_program.h"
#include "constructions/plotwise/expression/expression_function.h"

namespace constructions::plotwise {
namespace {

using Limits = std::numeric_limits<double>;

// Doubles as integers in the order of their values.
std::int64_t ordinal(double d)
{
    std::int64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits - 1 : bits;
}

std::string shown(double d)
{
    std::ostringstream out;
    out.precision(17);
    out << d;
    return out.str();
}

// Empty when lowered is pow's value as above; what differs otherwise.
std::string differenceFromPow(double lowered, double exact)
{
    const bool special = std::isnan(lowered) || std::isnan(exact) || std::isinf(lowered) || std::isinf(exact) ||
                         lowered == 0.0 || exact == 0.0;
    if (special) {
        if (std::isnan(lowered) && std::isnan(exact))
            return "";
        if (lowered == exact && std::signbit(lowered) == std::signbit(exact))
            return "";
        return shown(lowered) + " where pow gives " + shown(exact);
    }
    const std::int64_t a = ordinal(lowered);
    const std::int64_t b = ordinal(exact);
    if ((a > b ? a - b : b - a) <= 1)
        return "";
    return shown(lowered) + " where pow gives " + shown(exact) + ": " + std::to_string(a > b ? a - b : b - a) +
           " units apart";
}

// The program x^exponent: the value and whether it is defined at base.
bool runPower(double base, double exponent, double& y)
{
    CompiledProgram program;
    program.appendVariable();
    program.appendConstant(exponent);
    program.append(OpCode::Power);
    program.finish();
    return program.run(base, y);
}

const double kBases[] = {
    0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 3.0, -3.0, 0.5, -0.5, 0.1, -0.7, 1.1, -1.3, 3.3, 10.0, -123.456, 0.9999999999999999,
    1.0000000000000002, 1e-5, -1e-5, 1e5,
    // Tiny and huge: results and partial powers that underflow, fall among
    // the subnormals or overflow.
    1e-20, 1e-100, 1e-155, -1e-155, 1.5e-154, 1e-160, 1e-300, -1e-300, 1e-310, Limits::denorm_min(),
    -Limits::denorm_min(), Limits::min(), 1e20, 1e100, 1e155, -1e155, 1e160, 1e300, -1e300, Limits::max(),
    -Limits::max(), 2e19, 3e-62, 7e30,
    // Infinities and NaN.
    Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN(), -Limits::quiet_NaN()};

const double kExponents[] = {2, 3, 4, 5, 7, 10, 16, -1, -2, -3, 0.5, 0, 1, 64, -64, 65, 2.5};

TEST(PowerLowering, TableOfBasesAndExponentsGivesPowsValues)
{
    for (const double exponent : kExponents) {
        for (const double base : kBases) {
            SCOPED_TRACE("base " + shown(base) + " exponent " + shown(exponent));
            const double exact = std::pow(base, exponent);
            EXPECT_EQ(differenceFromPow(powerByConstant(base, exponent), exact), "");
            double y = 12345.0;
            const bool defined = runPower(base, exponent, y);
            // The language's own rule: a negative base to 0.5 is undefined.
            if (exponent == 0.5 && base < 0.0) {
                EXPECT_FALSE(defined);
                EXPECT_EQ(y, 12345.0);
            } else {
                ASSERT_TRUE(defined);
                EXPECT_EQ(differenceFromPow(y, exact), "");
            }
        }
    }
}

TEST(PowerLowering, RandomBasesOverTheWholeRangeGivePowsValues)
{
    // For each exponent, bases whose power spreads over beyond both ends of
    // the range of doubles, with random significands and signs.
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> scale(-1100.0, 1100.0);
    std::uniform_real_distribution<double> significand(1.0, 2.0);
    std::vector<double> exponents{0.5};
    for (int n = -kMaxLoweredExponent; n <= kMaxLoweredExponent; ++n)
        exponents.push_back(n);
    for (const double exponent : exponents) {
        int failures = 0;
        for (int i = 0; i < 4000 && failures < 5; ++i) {
            const double size = std::exp2(scale(random) / std::max(1.0, std::fabs(exponent)));
            const double base = (i % 2 == 0 ? 1.0 : -1.0) * significand(random) * size;
            const double exact = std::pow(base, exponent);
            const std::string difference = differenceFromPow(powerByConstant(base, exponent), exact);
            double y = 0.0;
            const bool defined = runPower(base, exponent, y);
            const std::string run = defined ? differenceFromPow(y, exact) : "";
            if (!difference.empty() || !run.empty() || defined == (exponent == 0.5 && base < 0.0)) {
                ++failures;
                ADD_FAILURE() << "base " << shown(base) << " exponent " << exponent << ": " << difference << run
                              << (defined ? "" : " undefined");
            }
        }
    }
}

TEST(PowerLowering, OperationsOnNumbersAreDoneWhileCompiling)
{
    // 2^3 leaves one number, the value a run of the power gives.
    CompiledProgram program;
    program.appendConstant(2.0);
    program.appendConstant(3.0);
    program.append(OpCode::Power);
    program.appendConstant(1.0);
    program.append(OpCode::Divide);
    program.append(OpCode::Sin);
    program.finish();
    EXPECT_EQ(program.size(), 1u);
    double y = 0.0;
    ASSERT_TRUE(program.run(0.0, y));
    EXPECT_EQ(y, std::sin(powerByConstant(2.0, 3.0) / 1.0));

    // An undefined power stays in the program, undefined at every x.
    CompiledProgram undefined;
    undefined.appendConstant(-4.0);
    undefined.appendConstant(0.5);
    undefined.append(OpCode::Power);
    undefined.finish();
    EXPECT_EQ(undefined.size(), 2u);
    EXPECT_FALSE(undefined.run(0.0, y));
}

TEST(PowerLowering, ExponentsWrittenAsExpressionsOfNumbersAreLowered)
{
    // No unary minus in the language: a negative exponent is a difference.
    const struct {
        const char* text;
        double x;
        int flag;
        double value;
    } rows[] = {
        {"x^(0-2)", 4, 1, 0.0625},
        {"x^(0-1)", -0.0, 1, -Limits::infinity()},
        {"x^(3-2)", -0.0, 1, -0.0},
        {"x^(1/2)", -0.0, 1, 0.0},
        {"x^(1/2)", -1, 0, 0},
        {"x^(0.5+0)", 9, 1, 3},
        {"x^(2-2)", Limits::quiet_NaN(), 1, 1},
        {"(x-3)^(1+1)*2", 5, 1, 8},
        {"x^((0-4)^0.5)", 2, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        CExpressionFunction f;
        f.SetName("x");
        f.SetText(row.text);
        ASSERT_TRUE(f.Parse());
        double y = 12345.0;
        ASSERT_EQ(f.Evaluate(row.x, y), row.flag);
        if (row.flag == 1) {
            EXPECT_EQ(y, row.value);
            EXPECT_EQ(std::signbit(y), std::signbit(row.value));
        } else {
            EXPECT_EQ(y, 12345.0);
        }
    }
}

}  // namespace
}  // namespace constructions::plotwise
