#pragma once
// The answer panel: the solution's answer step (the last step when it is an
// answer) on squared paper under the caption "answer", with its check-state
// light and a thin scroll strip of its own.
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include <functional>

#include "stepwell/app/task_solution.h"
#include "stepwell/model/steps_geometry.h"

namespace stepwell {

class CStepwellAnswerWnd : public QWidget {
public:
    static constexpr int kCaptionId = 0xFFFF;

    CStepwellAnswerWnd(QWidget* parent, const QFont& frameFont);

    void SetSolution(CTaskSolution* solution);
    // Clamps the offset and lays the answer out, then redraws; tells the
    // listener when the height the answer wants has changed.
    void RecalcLayout();
    // The caption with the whole answer under it (its margins included) and
    // its light beside it; 0 while there is no answer.
    int OptimalHeight() const;
    void SetOptimalHeightListener(std::function<void()> listener) { m_optimalHeightListener = std::move(listener); }
    QPixmap Render();

    const AnswerStrip& strip() const { return m_strip; }
    QLabel* caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CSolutionStep* answerStep() const;

    QFont m_font;
    CTaskSolution* m_solution = nullptr;
    QLabel* m_caption = nullptr;
    AnswerStrip m_strip;
    QPixmap m_lights[4];
    std::function<void()> m_optimalHeightListener;
    int m_reportedOptimal = 0;
};

}  // namespace stepwell
