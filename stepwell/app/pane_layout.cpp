// The heights of the condition, the steps and the answer in the splitter:
// each pane gets what its content wants as far as the room allows (PaneFit),
// again whenever the room or the answer changes.
#include <QTimer>

#include "solvehost/premiscope_ctrl.h"
#include "solvehost/proportional_splitter_wnd.h"
#include "stepwell/app/answer_wnd.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/model/pane_heights.h"

namespace stepwell {

void CStepwellMainFrame::setPaneSizes()
{
    if (m_destroyed || !m_splitter || !m_conditionWnd || !m_answerWnd)
        return;
    int room = 0;
    for (int i = 0; i < m_splitter->GetPaneCount(); ++i)
        room += m_splitter->GetPaneRect(i).height();
    const PaneHeights heights = PaneFit::Fit(
        room, {static_cast<int>(m_conditionWnd->GetOptimalHeight()), m_answerWnd->OptimalHeight()});
    m_splitter->SetPaneSizes({heights.condition, heights.steps, heights.answer});
}

void CStepwellMainFrame::queuePaneSizes()
{
    // The splitter and the panes finish their own layout first: the
    // condition's height is read at its new width.
    if (m_paneSizesQueued)
        return;
    m_paneSizesQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_paneSizesQueued = false;
        setPaneSizes();
    });
}

}  // namespace stepwell
