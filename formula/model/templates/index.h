#pragma once
// The index family. Rows: 1 upper index, 2 lower index, 3 base; either index
// may be absent.
//   CIndexTemplate             base CBodyRow (bracketed when compound); upper
//                              CIndexRow; lower CLowerIndexRow; its type
//                              follows the rows: 10 none, 11 upper, 12 lower,
//                              13 both;
//   CIndexFuncTemplate         a function with indexes: the base holds the
//                              argument (always bracketed); written as index
//                              templates around "@func$name$argument#";
//   CSubSupTemplate            sub- and superscript, both rows from creation;
//   CIntegrationLimitTemplate  the bar of integration limits;
//   CProgMemTemplate           progression member: lower row a CArgRow,
//                              always bracketed, present from creation.
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CIndexTemplate : public CTemplate {
public:
    CIndexTemplate();
    CIndexRow* Upper() const { return m_upper.get(); }
    CLexemRow* Lower() const { return m_lower.get(); }
    CBodyRow* Base() const { return m_base.get(); }

    // Creates (true) or deletes (false) the lower or the upper index row.
    virtual void SetLower(bool on);
    virtual void SetUpper(bool on);
    // Hand rows over to another index template (its rows are replaced).
    virtual void MoveAllTo(CIndexTemplate& other);
    virtual void MoveUpperTo(CIndexTemplate& other);
    virtual void MoveLowerTo(CIndexTemplate& other);
    virtual void MoveIndicesTo(CIndexTemplate& other);

    void GetLexemText(std::string& out) const override;
    // Aplan: the base (bracketed unless one character), the lower index
    // glued to it, "^!" and the upper index (bracketed when compound).
    // MathML "msub", "msup" or "msubsup".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    void Normalize(ParseContext& context) override;
    // With both indexes the base must be one letter and the lower index one
    // number or fraction of digits (index_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 3; }
    // The upper index's bottom and the lower index's top at the offsets
    // from the base's top and bottom, both right of the base.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CIndexTemplate(TemplateType type, TemplateGroup group, bool typeFollowsRows);
    // Lays the index rows out at x against the base already laid out; the
    // wider index's width.
    int LayoutIndexes(Canvas& canvas, int x);
    // The box from x over the given width: from the upper index's top (or
    // half the base's height above the axis) to the lower index's bottom (or
    // the base's).
    void SetIndexBox(int x, int width, int axisY);
    virtual std::unique_ptr<CLexemRow> MakeLowerRow();
    void UpdateType();
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

    std::unique_ptr<CIndexRow> m_upper;
    std::unique_ptr<CLexemRow> m_lower;
    std::unique_ptr<CBodyRow> m_base;

private:
    bool m_typeFollowsRows;
};

class CIndexFuncTemplate : public CIndexTemplate {
public:
    explicit CIndexFuncTemplate(int funcId);
    int FuncId() const { return m_funcId; }
    // Written as index templates around a function: the upper index one
    // level down, the lower one below the upper's, the argument below both.
    int TextLevels(const CLexem& part) const override;
    // The name, a third of "#" of space, the indexes, then the argument.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;
    void GetLexemText(std::string& out) const override;
    // No Aplan form; MathML the indexed name and the fenced argument.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;

private:
    int m_funcId;
};

class CSubSupTemplate : public CIndexTemplate {
public:
    CSubSupTemplate();
    void GetLexemText(std::string& out) const override;
    // Aplan as an index (integration limits as a power, incomplete);
    // MathML "msubsup" of the fenced base (with "|" for the limits).
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;

protected:
    explicit CSubSupTemplate(TemplateType type);
};

class CIntegrationLimitTemplate : public CSubSupTemplate {
public:
    CIntegrationLimitTemplate();
    // The indexes 5 pixels further right, a vertical bar in the main pen
    // between them and the base.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;
};

class CProgMemTemplate : public CIndexTemplate {
public:
    CProgMemTemplate();
    void GetLexemText(std::string& out) const override;
    // Aplan "i_name(a,n)"; MathML "msq".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // The base must be one letter; an infinity alone in the lower row is a
    // node of its own (index_optree.cpp).
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;

protected:
    std::unique_ptr<CLexemRow> MakeLowerRow() override;
};

}  // namespace formula
