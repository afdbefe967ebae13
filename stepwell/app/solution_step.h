#pragma once
// The steps of a solution. A formula step (single) shows a description and
// a formula; an answer step is one too, shown in the answer panel; a
// transformation step (double) adds the pupil's transformation and the text
// received for it, and its own formula starts as an editor for the pupil's
// result. Each step lays itself out, draws its words (its formula controls
// are child windows of the view and draw themselves) and writes itself.
#include <QFont>
#include <QRect>

#include <memory>
#include <string>

#include "solvehost/formula_text_layout.h"
#include "stepwell/app/step_formula_item.h"
#include "stepwell/model/solution_xml.h"

class QPainter;

namespace stepwell {

class CSolutionStep {
public:
    // The view parents the step's controls; kind Single or Answer.
    CSolutionStep(QWidget* view, StepKind kind);
    virtual ~CSolutionStep();
    CSolutionStep(const CSolutionStep&) = delete;
    CSolutionStep& operator=(const CSolutionStep&) = delete;

    // wholeArea: anywhere across the width at the step's height; otherwise
    // within its bounding rectangle.
    virtual bool HitTest(int x, int y, int width, bool wholeArea) const;
    // The step's rectangle joined with its formula windows.
    virtual QRect GetBoundingRect() const;
    virtual bool WriteStep(std::string& out, int id) const;
    // Lays the step out with its top-left at `at` over the width; the grid of
    // its formulas continues the view's squares. Returns the height.
    virtual int Layout(int width, const QFont& font, const QRect& at, int gridPhase, bool force);
    virtual void Draw(QPainter& painter) const;
    StepKind GetKind() const { return m_kind; }

    // The description: words, line breaks and "<math ...>...</math>" formulas.
    void SetDescription(const std::string& text);
    const std::string& GetDescription() const { return m_text; }

    // What the step writes into the task document.
    virtual StepRecord Record() const;

    CStepFormulaItem& formula() { return *m_formula; }
    const CStepFormulaItem& formula() const { return *m_formula; }
    solvehost::CSymbrantCtrl* control() const { return m_formula->GetControl(); }
    // The step's formula window shows (hidden above the view in step-by-step display).
    virtual void ShowWindows(bool show);

    int state = -1;
    int executor = 1;
    QRect rect;

protected:
    void layoutDescription(solvehost::CFormulaTextLayout& layout, int width, const QFont& font, int top,
                           bool force, int& height);
    static void placeFormula(CStepFormulaItem& item, int x, int y, int width);
    static void drawWords(QPainter& painter, const solvehost::CFormulaTextLayout& layout);

    QWidget* m_view;
    StepKind m_kind;
    std::unique_ptr<CStepFormulaItem> m_formula;
    solvehost::CFormulaTextLayout m_description;
    std::string m_text;
};

class CTransformationStep : public CSolutionStep {
public:
    explicit CTransformationStep(QWidget* view);

    QRect GetBoundingRect() const override;
    int Layout(int width, const QFont& font, const QRect& at, int gridPhase, bool force) override;
    void Draw(QPainter& painter) const override;
    StepRecord Record() const override;
    void ShowWindows(bool show) override;

    void SetReceived(const std::string& text);
    const std::string& GetReceived() const { return m_receivedText; }
    CStepFormulaItem& transformation() { return *m_transformation; }

private:
    std::unique_ptr<CStepFormulaItem> m_transformation;
    solvehost::CFormulaTextLayout m_received;
    std::string m_receivedText;
};

// Fills a statement layout from a description text (SplitDescription).
void FillDescription(solvehost::CFormulaTextLayout& layout, const std::string& text, QWidget* owner);

}  // namespace stepwell
