#pragma once
// Derivatives. Rows: 1 prime row (CIndexRow), 3 body (CBodyRow, bracketed
// when compound).
//   CDerivTemplate   the prime row holds "'" and is never entered;
//   CNDerivTemplate  the prime row, emptied and always bracketed, holds the
//                    order; the cursor reaches it like an upper index.
#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace formula {

class CDerivTemplate : public CTemplate {
public:
    CDerivTemplate();
    CIndexRow* PrimeRow() const { return m_prime.get(); }
    CBodyRow* Body() const { return m_body.get(); }
    // Creates the prime row (holding "'") or deletes it; the type stays 20.
    void SetPrime(bool on);

    void GetLexemText(std::string& out) const override;
    // Aplan "Derive(f)"; MathML "msup" of the body and a prime.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // The body must not be empty.
    void Normalize(ParseContext& context) override;
    PartList Parts() const override;
    CLexemRow* CursorRow(int n) const override;
    int CursorRowCount() const override { return 3; }
    // The prime row right of the body, raised like an upper index.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;

protected:
    CDerivTemplate(TemplateGroup group);
    CursorRoute ArriveRoute(Direction dir) const override;
    CursorRoute MoveRoute(int from, Direction dir) const override;

    std::unique_ptr<CIndexRow> m_prime;
    std::unique_ptr<CBodyRow> m_body;
};

class CNDerivTemplate : public CDerivTemplate {
public:
    CNDerivTemplate();
    CIndexRow* Order() const { return m_prime.get(); }

    void GetLexemText(std::string& out) const override;
    // Aplan as a first derivative (incomplete); MathML with the order's
    // lexeme text in the "order" attribute of the "msup".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    CLexemRow* CursorRow(int n) const override;

protected:
    CursorRoute MoveRoute(int from, Direction dir) const override;
};

}  // namespace formula
