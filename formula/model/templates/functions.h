#pragma once
// Function templates and the function ids.
//   CFuncTemplate  row 1: argument (CArgRow, always bracketed); a FuncId.
// The indexed function (CIndexFuncTemplate) is an index template: index.h.
#include <string_view>

#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

// Function ids 1-11 with the names drawn and written; any other id has an
// empty name.
inline constexpr std::string_view kFuncNames[] = {
    "", "sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg", "log", "lg", "ln",
};

std::string_view GetFuncName(int funcId);
// By exact comparison, the name lowered first unless case counts; -1 when
// unknown.
int GetFuncId(std::string_view name, bool caseSensitive = false);

class CFuncTemplate : public CTemplate {
public:
    explicit CFuncTemplate(int funcId);
    int FuncId() const { return m_funcId; }
    CArgRow* Argument() const { return m_argument.get(); }
    // Hands the argument row over (the template keeps an empty one).
    std::unique_ptr<CArgRow> TakeArgument();

    void GetLexemText(std::string& out) const override;
    // Aplan "Sin(x)"; MathML the name's "mi" and the fenced argument.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 1; }
    // The name (weight 800, upright), a third of "#" of space, the argument.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

protected:
    CursorRoute MoveRoute(int from, Direction dir) const override;

private:
    int m_funcId;
    std::unique_ptr<CArgRow> m_argument;
};

}  // namespace formula
