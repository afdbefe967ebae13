#include "solvekernel/kernel.h"

#include <array>

#include "solvekernel/algebra.h"
#include "solvekernel/ops.h"

namespace solvekernel {

namespace {

struct OperationSpelling {
    const char* name;
    Operation op;
};

constexpr std::array<OperationSpelling, 27> kOperations = {{
    {"simplify", Operation::Simplify},
    {"simplify-result", Operation::SimplifyResult},
    {"collect-letter", Operation::CollectLetter},
    {"add-equations", Operation::AddEquations},
    {"check-step", Operation::CheckStep},
    {"expand", Operation::Expand},
    {"collect-like-terms", Operation::CollectLikeTerms},
    {"common-factor", Operation::CommonFactor},
    {"factor", Operation::Factor},
    {"factor-result", Operation::FactorResult},
    {"factor-by-formula", Operation::FactorByFormula},
    {"fractions", Operation::Fractions},
    {"move-left", Operation::MoveLeft},
    {"solve-quadratic", Operation::SolveQuadratic},
    {"substitute", Operation::Substitute},
    {"multiply-sides", Operation::MultiplySides},
    {"add-to-sides", Operation::AddToSides},
    {"multiply-inequality", Operation::MultiplyInequality},
    {"interval", Operation::Interval},
    {"check-answer", Operation::CheckAnswer},
    {"begin-check", Operation::BeginCheck},
    {"check-rows", Operation::CheckRows},
    {"solve", Operation::Solve},
    {"calculate", Operation::Calculate},
    {"set-mode", Operation::SetMode},
    {"read-precision", Operation::ReadPrecision},
    {"set-precision", Operation::SetPrecision},
}};

}  // namespace

std::optional<Operation> operationByName(std::string_view name)
{
    for (const auto& entry : kOperations) {
        if (name == entry.name)
            return entry.op;
    }
    return std::nullopt;
}

const char* operationName(Operation op)
{
    for (const auto& entry : kOperations) {
        if (entry.op == op)
            return entry.name;
    }
    return "";
}

Args::Args(std::string_view text) : m_text(text), m_groups(splitGroups(text)) {}

std::size_t Args::count() const { return m_groups.bracketed ? m_groups.texts.size() : 1; }

std::string Args::textFromEnd(std::size_t k) const
{
    if (k >= m_groups.texts.size())
        throw Refusal("missing argument");
    return m_groups.texts[m_groups.texts.size() - 1 - k];
}

NodePtr Args::fromEnd(std::size_t k) const
{
    if (!m_groups.bracketed) {
        if (k != 0)
            throw Refusal("missing argument");
        return parseFormula(m_text);
    }
    return parseFormula(textFromEnd(k));
}

std::string runOperation(Operation op, std::string_view text, Instance& instance)
{
    const Args args(text);
    switch (op) {
    case Operation::Simplify: return opSimplify(args, instance);
    case Operation::SimplifyResult: return opSimplifyResult(args, instance);
    case Operation::CollectLetter: return opCollectLetter(args);
    case Operation::AddEquations: return opAddEquations(args);
    case Operation::CheckStep: return opCheckStep(args);
    case Operation::Expand: return opExpand(args);
    case Operation::CollectLikeTerms: return opCollectLikeTerms(args);
    case Operation::CommonFactor: return opCommonFactor(args);
    case Operation::Factor: return opFactor(args);
    case Operation::FactorResult: return opFactorResult(args);
    case Operation::FactorByFormula: return opFactorByFormula(args);
    case Operation::Fractions: return opFractions(args);
    case Operation::MoveLeft: return opMoveLeft(args);
    case Operation::SolveQuadratic: return opSolveQuadratic(args);
    case Operation::Substitute: return opSubstitute(args);
    case Operation::MultiplySides: return opMultiplySides(args);
    case Operation::AddToSides: return opAddToSides(args);
    case Operation::MultiplyInequality: return opMultiplyInequality(args);
    case Operation::Interval: return opInterval(args);
    case Operation::CheckAnswer: return opCheckAnswer(args);
    case Operation::BeginCheck: return opBeginCheck(args);
    case Operation::CheckRows: return opCheckRows(text);
    case Operation::Solve: return opSolve(args, instance);
    case Operation::Calculate: return opCalculate(args, instance);
    case Operation::SetMode: return opSetMode(text, instance);
    case Operation::ReadPrecision: return opReadPrecision(instance);
    case Operation::SetPrecision: return opSetPrecision(text, instance);
    }
    throw Refusal("unknown operation");
}

}  // namespace solvekernel
