#pragma once
// The steps view's scroll bar behind the operations the view uses: the
// numbers (range including the page), showing and the style word. This one
// is a plain QScrollBar; the program's own drawn bar takes its place later.
#include <QScrollBar>

#include <functional>

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

class CPlainStepsScrollBar : public QScrollBar, public IStepsScrollBar {
public:
    using ActionHandler = std::function<void(StepsGeometry::ScrollAction action, int value)>;
    CPlainStepsScrollBar(QWidget* parent, ActionHandler handler);

    void SetScrollInfo(const ScrollInfo& info) override;
    ScrollInfo GetScrollInfo() const override { return m_info; }
    void ShowScrollBar(bool show) override { setVisible(show); }
    void SetStyle(unsigned style) override { m_style = style; }
    QWidget* widget() override { return this; }

private:
    ScrollInfo m_info;
    unsigned m_style = 0;
    bool m_setting = false;
};

}  // namespace stepwell
