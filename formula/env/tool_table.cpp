#include "formula/env/tool_table.h"

#include <atomic>

#include "formula/model/chars.h"
#include "formula/model/templates/all.h"

namespace formula {
namespace {

constexpr ToolInfo kTools[] = {
    {211, ToolKind::RoundBrackets, 0},
    {290, ToolKind::AbsBrackets, 0},
    // Relation and set signs.
    {213, ToolKind::RelationSign, 208},  // angle
    {215, ToolKind::RelationSign, 176},  // degree
    {217, ToolKind::RelationSign, 94},   // perpendicular
    {224, ToolKind::RelationSign, 200},  // union
    {225, ToolKind::RelationSign, 199},  // intersection
    {226, ToolKind::RelationSign, 177},  // plus-minus
    {227, ToolKind::RelationSign, 163},  // less or equal
    {229, ToolKind::RelationSign, 179},  // greater or equal
    {232, ToolKind::RelationSign, 222},  // double arrow right
    {234, ToolKind::RelationSign, 220},  // double arrow left
    {236, ToolKind::RelationSign, 219},  // double arrow both ways
    {239, ToolKind::RelationSign, 206},  // belongs
    {241, ToolKind::RelationSign, 207},  // not belongs
    {242, ToolKind::RelationSign, 185},  // not equal
    {246, ToolKind::RelationSign, 204},  // proper subset
    {247, ToolKind::RelationSign, 205},  // subset or equal
    // Special atoms.
    {218, ToolKind::SpecAtom, 101},  // epsilon
    {219, ToolKind::SpecAtom, 198},  // empty set
    {223, ToolKind::SpecAtom, 165},  // infinity
    {228, ToolKind::SpecAtom, 194},  // real set
    {237, ToolKind::SpecAtom, 68},   // Delta
    {238, ToolKind::SpecAtom, 109},  // mu
    {325, ToolKind::SpecAtom, 97},   // alpha
    {326, ToolKind::SpecAtom, 98},   // beta
    {327, ToolKind::SpecAtom, 112},  // pi
    {328, ToolKind::SpecAtom, 103},  // gamma
    // Templates.
    {214, ToolKind::NthRoot, 0},
    {216, ToolKind::DefiniteIntegral, 0},
    {230, ToolKind::ProgressionMember, 0},
    {231, ToolKind::Derivative, 0},
    {235, ToolKind::Limit, 0},
    {240, ToolKind::BoolTrue, 0},
    {243, ToolKind::BoolFalse, 0},
    {244, ToolKind::SubSup, 0},
    {245, ToolKind::IntegrationLimits, 0},
    {248, ToolKind::Summa, 0},
    {249, ToolKind::IndefiniteIntegral, 0},
    {250, ToolKind::NthDerivative, 0},
    {264, ToolKind::HorFraction, 0},
    {267, ToolKind::SquareRoot, 0},
    {269, ToolKind::Power, 0},
    {271, ToolKind::LowerIndex, 0},
    {273, ToolKind::System, 0},
    {275, ToolKind::Union, 0},
    {277, ToolKind::MixedNumber, 0},
    {279, ToolKind::SimpleFraction, 0},
    // Functions: sin cos tg ctg arcsin arccos arctg arcctg, lg log ln.
    {317, ToolKind::Function, 1},
    {318, ToolKind::Function, 2},
    {319, ToolKind::Function, 3},
    {320, ToolKind::Function, 4},
    {321, ToolKind::Function, 5},
    {322, ToolKind::Function, 6},
    {323, ToolKind::Function, 7},
    {324, ToolKind::Function, 8},
    {333, ToolKind::Function, 10},
    {334, ToolKind::Function, 9},
    {335, ToolKind::Function, 11},
    // Functions with an index (a power): cos sin ctg tg.
    {329, ToolKind::IndexFunction, 2},
    {330, ToolKind::IndexFunction, 1},
    {331, ToolKind::IndexFunction, 4},
    {332, ToolKind::IndexFunction, 3},
};

// Symbol codes admitted from class 9 on; not-equal from class 8.
constexpr int kFromClass9[] = {97, 98, 103, 112, 163, 165, 179, 194, 198, 199, 200, 206, 207};
constexpr int kNotEqual = 185;

std::atomic<int> g_schoolClass{0};

}  // namespace

std::span<const ToolInfo> Tools()
{
    return kTools;
}

const ToolInfo* FindTool(int lexType)
{
    for (const ToolInfo& tool : kTools) {
        if (tool.lexType == lexType) {
            return &tool;
        }
    }
    return nullptr;
}

std::unique_ptr<CLexem> MakeToolLexem(const ToolInfo& tool)
{
    switch (tool.kind) {
    case ToolKind::RoundBrackets:
        return std::make_unique<CBracketsTemplate>(BracketKind::Round, true);
    case ToolKind::AbsBrackets:
        return std::make_unique<CBracketsTemplate>(BracketKind::Abs, false);
    case ToolKind::RelationSign:
        return std::make_unique<CRelationSign>(tool.code);
    case ToolKind::SpecAtom:
        return std::make_unique<CSpecAtom>(tool.code);
    case ToolKind::NthRoot:
        return std::make_unique<CRootTemplate>();
    case ToolKind::DefiniteIntegral:
        return std::make_unique<CIntegralTemplate>(true);
    case ToolKind::IndefiniteIntegral:
        return std::make_unique<CIntegralTemplate>(false);
    case ToolKind::ProgressionMember:
        return std::make_unique<CProgMemTemplate>();
    case ToolKind::Derivative:
        return std::make_unique<CDerivTemplate>();
    case ToolKind::NthDerivative:
        return std::make_unique<CNDerivTemplate>();
    case ToolKind::Limit:
        return std::make_unique<CLimTemplate>();
    case ToolKind::BoolTrue:
        return std::make_unique<CBoolTemplate>(true);
    case ToolKind::BoolFalse:
        return std::make_unique<CBoolTemplate>(false);
    case ToolKind::SubSup:
        return std::make_unique<CSubSupTemplate>();
    case ToolKind::IntegrationLimits:
        return std::make_unique<CIntegrationLimitTemplate>();
    case ToolKind::Summa:
        return std::make_unique<CSummaTemplate>();
    case ToolKind::HorFraction:
        return std::make_unique<CHorFracTemplate>();
    case ToolKind::SquareRoot:
        return std::make_unique<CSqrtTemplate>();
    case ToolKind::Power: {
        auto index = std::make_unique<CIndexTemplate>();
        index->SetUpper(true);
        return index;
    }
    case ToolKind::LowerIndex: {
        auto index = std::make_unique<CIndexTemplate>();
        index->SetLower(true);
        return index;
    }
    case ToolKind::System:
        return std::make_unique<CSystemTemplate>(false, false);
    case ToolKind::Union:
        return std::make_unique<CSystemTemplate>(true, false);
    case ToolKind::MixedNumber:
        return std::make_unique<CMixedFracTemplate>(true);
    case ToolKind::SimpleFraction:
        return std::make_unique<CMixedFracTemplate>(false);
    case ToolKind::Function:
        return std::make_unique<CFuncTemplate>(tool.code);
    case ToolKind::IndexFunction: {
        auto func = std::make_unique<CIndexFuncTemplate>(tool.code);
        func->SetUpper(true);
        return func;
    }
    }
    return nullptr;
}

bool SetSchoolClass(int schoolClass)
{
    const bool valid = schoolClass >= 7 && schoolClass < 12;
    g_schoolClass = valid ? schoolClass : 0;
    return valid;
}

int GetSchoolClass()
{
    return g_schoolClass;
}

bool SymbolAllowed(int symbolCode, int schoolClass)
{
    if (schoolClass == 0) {
        return true;
    }
    for (int code : kFromClass9) {
        if (code == symbolCode) {
            return schoolClass >= 9;
        }
    }
    if (symbolCode == kNotEqual) {
        return schoolClass >= 8;
    }
    return false;
}

bool ToolAllowed(const ToolInfo& tool, int schoolClass)
{
    switch (tool.kind) {
    case ToolKind::RelationSign:
    case ToolKind::SpecAtom:
        return SymbolAllowed(tool.code, schoolClass);
    case ToolKind::RoundBrackets:
    case ToolKind::AbsBrackets:
    case ToolKind::NthRoot:
    case ToolKind::DefiniteIntegral:
    case ToolKind::IndefiniteIntegral:
    case ToolKind::ProgressionMember:
    case ToolKind::Derivative:
    case ToolKind::NthDerivative:
    case ToolKind::Limit:
    case ToolKind::BoolTrue:
    case ToolKind::BoolFalse:
    case ToolKind::SubSup:
    case ToolKind::IntegrationLimits:
    case ToolKind::Summa:
    case ToolKind::HorFraction:
    case ToolKind::SquareRoot:
    case ToolKind::Power:
    case ToolKind::LowerIndex:
    case ToolKind::System:
    case ToolKind::Union:
    case ToolKind::MixedNumber:
    case ToolKind::SimpleFraction:
    case ToolKind::Function:
    case ToolKind::IndexFunction:
        return true;
    }
    return true;
}

}  // namespace formula
