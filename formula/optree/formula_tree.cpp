// The operation tree of a whole formula, the validity test built on it, and
// the vertex codes of its nodes.
#include "formula/model/chars.h"
#include "formula/model/display_settings.h"
#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"

namespace formula {

std::unique_ptr<COperationNode> BuildFormulaTree(CLexem& root)
{
    ParseContext result;
    return BuildFormulaTree(root, result);
}

std::unique_ptr<COperationNode> BuildFormulaTree(CLexem& root, ParseContext& result)
{
    // The formula's own line may hold a relation.
    ParseContext context{priority::Relation, false, true};
    COperationNode holder(nullptr);
    root.BuildOperationTree(context, holder);
    result = context;
    if (context.invalid || holder.ChildCount() != 1) {
        return nullptr;
    }
    return holder.DetachChild(0);
}

bool CanBuildOperationTree(const CLexem& root, bool correction)
{
    return CanBuildOperationTree(root.LexemText(), correction);
}

bool CanBuildOperationTree(std::string_view lexemText, bool correction)
{
    CDisplaySettings settings;
    settings.SetCorrection(correction);
    try {
        auto root = std::make_unique<CAggregateTemplate>();
        root->SetOwner(&settings, nullptr);
        CLexemParser parser;
        root->InsertNewRow(nullptr, false)->InsertLexems(parser.Parse(lexemText));
        ParseContext normalizing;
        root->Normalize(normalizing);
        return !normalizing.invalid && BuildFormulaTree(*root) != nullptr;
    } catch (const CMEException&) {
        return false;
    }
}

namespace {

int SignVertex(const COperatorSign& sign)
{
    const int code = sign.Kind() == LexemKind::RelationSign ? sign.SymbolCode()
                                                            : static_cast<unsigned char>(sign.Char());
    if (code == symbol::Belongs || code == symbol::NotBelongs) {
        return 17;
    }
    if (sign.PriorityClass() == priority::Relation) {
        return sign.IsLessSign() || sign.IsGreaterSign() ? 8 : 9;
    }
    if (sign.Kind() != LexemKind::Character) {
        return 0;
    }
    switch (sign.Char()) {
    case '*':
        return 4;
    case '+':
        return 1;
    case '-':
        return sign.IsUnary() ? 3 : 2;
    case '/':
    case ':':
        return 5;
    }
    return 0;
}

}  // namespace

int VertexCode(const COperationNode* node)
{
    const CLexem* lexem = node ? node->Lexeme() : nullptr;
    if (!lexem) {
        return 0;
    }
    switch (lexem->Type()) {
    case TemplateType::Func:
        return 19;
    case TemplateType::RealNum:
    case TemplateType::MixedFrac:
    case TemplateType::SimpleFrac:
        return 13;
    case TemplateType::Char:
    case TemplateType::IndexDn:
        return 10;
    case TemplateType::OperatorSign:
        return SignVertex(*AsOperatorSign(lexem));
    case TemplateType::HorFrac:
        return 5;
    case TemplateType::IndexUp:
        return 6;
    case TemplateType::ProgMem:
        return 16;
    case TemplateType::System:
    case TemplateType::Union:
        return 12;
    case TemplateType::Deriv:
        return 18;
    case TemplateType::BrRound:
        return 7;
    case TemplateType::BrAbs:
        return 11;
    case TemplateType::SqrRoot:
    case TemplateType::SqrtCan:
        return 14;
    case TemplateType::None:
    case TemplateType::Number:
    case TemplateType::IndexFunc:
    case TemplateType::BracketChar:
    case TemplateType::DiagFrac:
    case TemplateType::Index:
    case TemplateType::IndexUpDn:
    case TemplateType::Aggregate:
    case TemplateType::BrPersistRound:
    case TemplateType::BrFigure:
    case TemplateType::BrSquare:
    case TemplateType::SpecAtom:
    case TemplateType::Interval:
    case TemplateType::Bool:
    case TemplateType::Root:
    case TemplateType::Lim:
    case TemplateType::Integral:
    case TemplateType::IntegralUndef:
    case TemplateType::SubSup:
    case TemplateType::IntegrationLimit:
    case TemplateType::Summa:
        return 0;
    }
    return 0;
}

}  // namespace formula
