#pragma once
// The template kinds by type, with the name the lexeme text uses for each.
// The reader looks names up here too (plus "index" for an index template of
// any shape); a type missing here has no name of its own.
#include <string_view>

#include "formula/model/lexem.h"

namespace formula {

struct TemplateKind {
    TemplateType type;
    std::string_view name;
};

inline constexpr TemplateKind kTemplateKinds[] = {
    {TemplateType::Func, "func"},
    {TemplateType::IndexFunc, "indexfunc"},
    {TemplateType::Char, "spec"},
    {TemplateType::OperatorSign, "spec"},
    {TemplateType::HorFrac, "hor_frac"},
    {TemplateType::DiagFrac, "diag_frac"},
    {TemplateType::IndexUp, "index_up"},
    {TemplateType::IndexDn, "index_dn"},
    {TemplateType::IndexUpDn, "index_updn"},
    {TemplateType::ProgMem, "progmem"},
    {TemplateType::Aggregate, "aggregat"},
    {TemplateType::System, "system"},
    {TemplateType::Union, "union"},
    {TemplateType::MixedFrac, "mixed_frac"},
    {TemplateType::SimpleFrac, "simple_frac"},
    {TemplateType::Deriv, "deriv"},
    {TemplateType::BrRound, "br_row_round"},
    {TemplateType::BrPersistRound, "br_persist_rr"},
    {TemplateType::BrAbs, "br_row_abs"},
    {TemplateType::BrFigure, "br_row_figur"},
    {TemplateType::BrSquare, "br_row_square"},
    {TemplateType::SqrRoot, "sqrroot"},
    {TemplateType::SqrtCan, "sqrtcan"},
    {TemplateType::SpecAtom, "spec_atom"},
    {TemplateType::Interval, "interval"},
    {TemplateType::Bool, "bool"},
    {TemplateType::Root, "root"},
    {TemplateType::Lim, "lim"},
    {TemplateType::Integral, "integral"},
    {TemplateType::IntegralUndef, "integral_undef"},
    {TemplateType::SubSup, "subsup"},
    {TemplateType::IntegrationLimit, "integrationLimit"},
    {TemplateType::Summa, "summa"},
};

inline constexpr std::string_view kUnknownTemplateName = "UNKNOWN_TEMPLATE_NAME_OR_INVALID_TEMPLATE";

constexpr std::string_view GetTemplateName(TemplateType type)
{
    for (const TemplateKind& kind : kTemplateKinds) {
        if (kind.type == type) {
            return kind.name;
        }
    }
    return kUnknownTemplateName;
}

}  // namespace formula
