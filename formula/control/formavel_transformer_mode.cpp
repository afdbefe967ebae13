// The switch to transformer mode, with nested unions flattened first.
#include "formula/control/formavel_ctrl.h"

#include "formula/control/formavel_ctrl_detail.h"
#include "formula/model/templates/multi_row.h"

namespace formula::control {

using namespace platform::com;
using namespace detail;

namespace {

// The union template that is the only element of a line; null otherwise.
CSystemTemplate* soleUnion(const CLineRow& line)
{
    if (line.ElementCount() != 1) {
        return nullptr;
    }
    auto* system = dynamic_cast<CSystemTemplate*>(line.Child(line.FirstPos()));
    return system && system->IsUnion() ? system : nullptr;
}

// Every line of a system or union that holds nothing but a union is
// replaced by that union's own lines; the lines moved in are looked at
// again, so a union of unions is flattened too.
bool flattenLines(CSystemTemplate& owner)
{
    bool changed = false;
    for (int i = 0; i < owner.GetRowCount();) {
        CLineRow* line = owner.GetRow(i);
        CSystemTemplate* inner = soleUnion(*line);
        if (!inner) {
            ++i;
            continue;
        }
        std::vector<std::unique_ptr<CLineRow>> lines;
        inner->DetachRows(0, inner->GetRowCount() - 1, lines);
        owner.InsertRows(std::move(lines), i);
        int code = 0;
        owner.RemoveRow(line, code);
        changed = true;
    }
    return changed;
}

// The systems and unions in the lines of the root (the root itself is left
// as it is): unions standing in their lines are replaced by their lines.
bool flattenNestedUnions(CAggregateTemplate& root)
{
    bool changed = false;
    for (int i = 0; i < root.GetRowCount(); ++i) {
        const CLineRow& line = *root.GetRow(i);
        for (int pos = line.FirstPos(); pos < line.Count(); ++pos) {
            if (auto* system = dynamic_cast<CSystemTemplate*>(line.Child(pos))) {
                changed = flattenLines(*system) || changed;
            }
        }
    }
    return changed;
}

}  // namespace

// The flattening runs on a copy of the formula read from its text, so no
// cursor, selection or tree of the control's environment ever points into
// a line that goes; the control's formula is replaced only when it changed.
void CFormavelCtrl::flattenUnions()
{
    const std::string text = m_env.GetLexemText();
    CFormulaEnv copy;
    EnvError error;
    if (!copy.SetLexemText(text, error) || !flattenNestedUnions(copy.Root())) {
        return;
    }
    const std::string flat = copy.GetLexemText();
    if (flat != text) {
        m_env.SetLexemText(flat, error);
    }
}

VARIANT_BOOL CFormavelCtrl::UseTransformer()
{
    const std::string saved = m_env.GetLexemText();
    flattenUnions();
    const bool ok = m_env.SetTransformerMode();
    if (ok) {
        m_transformer->RemoveRedundantBrackets();
        m_transformer->ResetOperation();
        PaletteManager::instance().hide();
    } else {
        EnvError error;
        m_env.SetLexemText(saved, error);
    }
    repaint();
    return answer(ok);
}

}  // namespace formula::control
