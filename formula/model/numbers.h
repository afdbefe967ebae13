#pragma once
// Numbers are rows of digit characters, so the cursor can move between the
// digits while the transformer takes a whole number as one operand.
//   CNumRow         base of the digit rows (no head); refuses replacement;
//   CNumber         an integer (type 1);
//   CRealNum        digits, one separator, digits (type 4);
//   CPeriodNum      a decimal with its period in round brackets;
//   CNumPartRow     a digit row with a head: the parts of a mixed fraction;
//                   takes only digit characters;
//   CLowerIndexRow  the lower index row of an index template.
// A number that loses its last digit reports NumberEmptied and stays in place;
// CLexemRow::RemoveEmptied takes it out of its row.
#include <string>
#include <string_view>

#include "formula/model/lexem_row.h"

namespace formula {

// The decimal separator of the notations.
inline constexpr char kDecimalSeparator = ',';

class CNumRow : public CLexemRow {
public:
    int RemoveChild(int pos, bool backward, int& code) override;
    bool ReplaceChild(int pos, std::unique_ptr<CLexem> lexem) override;
    void Normalize(ParseContext& context) override;
    // A whole number is one operand: one node, its digits not walked.
    COperationNode* BuildOperationTree(ParseContext& context, COperationNode& parent) override;

protected:
    CNumRow(TemplateType type, bool withHead, std::string_view text);
};

class CNumber : public CNumRow {
public:
    explicit CNumber(std::string_view text = {});
    // The children's texts in order (no sign folding); MathML without element.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // Weight 100, upright.
    void SelectFont(Canvas& canvas) override;

protected:
    CNumber(TemplateType type, bool withHead, std::string_view text);
};

class CRealNum : public CNumber {
public:
    explicit CRealNum(std::string_view text = {});
    // The texts of the elements before the separator ("0" when none).
    std::string GetIntegerDigits() const;
    // The digits after the separator.
    std::string GetFractionDigits() const;
    // The digits alone, nothing else (an integer).
    bool IsInteger() const;
    // The digits, or RealNum("3","25") with a separator; MathML "mn".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
    // Weight 600, upright; digits in the number colour unless selected.
    void SelectFont(Canvas& canvas) override;
    void Draw(Canvas& canvas) override;

protected:
    CRealNum(bool withHead, std::string_view text);
};

class CPeriodNum : public CRealNum {
public:
    explicit CPeriodNum(std::string_view text = {});
    // The digits inside the closing bracket pair at the end.
    std::string GetPeriodDigits() const;
    // PeriodNum("0","1","(6)").
    void GetAplanText(std::string& out, AplanContext& context) const override;
};

class CNumPartRow : public CRealNum {
public:
    CNumPartRow();
    // Takes only digit characters; anything else is destroyed (-1).
    int InsertAfter(int pos, std::unique_ptr<CLexem> lexem) override;
    // The head stays: removing at it, or from an empty row, does nothing.
    int RemoveChild(int pos, bool backward, int& code) override;
    // The children's texts in order (no sign folding); MathML "mn" when it
    // holds characters and numbers only, else as a row.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
};

class CLowerIndexRow : public CNumPartRow {
public:
    CLowerIndexRow();
    // Weight 200, upright, scaled by the index scale.
    void SelectFont(Canvas& canvas) override;
};

// A number row of any kind.
bool IsNumberRow(const CLexem& lexem);

}  // namespace formula
