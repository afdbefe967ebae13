#include "stepwell/app/steps_scroll_bar.h"

#include <algorithm>

namespace stepwell {

CPlainStepsScrollBar::CPlainStepsScrollBar(QWidget* parent, ActionHandler handler) : QScrollBar(Qt::Vertical, parent)
{
    connect(this, &QAbstractSlider::actionTriggered, this, [this, handler](int action) {
        if (m_setting || !handler)
            return;
        using A = StepsGeometry::ScrollAction;
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: handler(A::LineUp, 0); break;
        case QAbstractSlider::SliderSingleStepAdd: handler(A::LineDown, 0); break;
        case QAbstractSlider::SliderPageStepSub: handler(A::PageUp, 0); break;
        case QAbstractSlider::SliderPageStepAdd: handler(A::PageDown, 0); break;
        case QAbstractSlider::SliderMove: handler(A::Thumb, sliderPosition()); break;
        default: break;
        }
    });
}

void CPlainStepsScrollBar::SetScrollInfo(const ScrollInfo& info)
{
    m_info = info;
    m_setting = true;
    // The program's range includes the page; Qt's maximum is the last position.
    setRange(info.min, std::max(info.min, info.max - std::max(info.page, 1) + 1));
    setPageStep(std::max(info.page, 1));
    setSingleStep(1);
    setValue(info.pos);
    m_setting = false;
}

}  // namespace stepwell
