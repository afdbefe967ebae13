#pragma once
// The steps view's scroll bar behind the operations the view uses: the
// numbers (range including the page), showing and the style word.
#include <QWidget>

#include "stepwell/model/steps_geometry.h"

namespace stepwell {

class IStepsScrollBar {
public:
    virtual ~IStepsScrollBar() = default;
    virtual void SetScrollInfo(const ScrollInfo& info) = 0;
    virtual ScrollInfo GetScrollInfo() const = 0;
    virtual void ShowScrollBar(bool show) = 0;
    virtual void SetStyle(unsigned style) = 0;
    virtual QWidget* widget() = 0;
};

}  // namespace stepwell
