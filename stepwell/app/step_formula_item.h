#pragma once
// A step's formula: the statement layout's formula item with the text it
// stands for kept beside the control, so a transformation that changes the
// control can be taken back.
#include <string>

#include "solvehost/formula_text_layout.h"

namespace stepwell {

class CStepFormulaItem : public solvehost::CLayoutFormulaItem {
public:
    CStepFormulaItem(QWidget* owner, int childId);

    // Puts the lexeme text into the control and takes its optimal size; with
    // store, what the control made of it becomes the stored text.
    void SetFormula(const std::string& lexemText, bool store);
    void StoreLexemText();
    void RestoreLexemText();
    // Takes the control's optimal size into width and height.
    void UpdateSize();

    std::string LexemText;
};

}  // namespace stepwell
