#include "stepwell/app/custom_scroll_bars.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSizeGrip>

#include <algorithm>
#include <array>

#include "platform/sys_colors.h"
#include "stepwell/app/custom_scroll_bar.h"

namespace stepwell {

using namespace scrollbar;

namespace {

constexpr const char* kStateProperty = "CoolSBSubclassPtr";

class CustomScrollBarState;

// The square where the two bars meet: the size grip when the widget sits in
// its parent's lower corner, else the face colour; only offered to the
// parent when it draws the bars itself.
class CScrollCorner : public QWidget {
public:
    CScrollCorner(QWidget* window, const CustomScrollBarState* state) : QWidget(window), m_state(state)
    {
        setObjectName(QStringLiteral("customScrollBarCorner"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const CustomScrollBarState* m_state;
};

// The per-widget state: the two bars, the corner, what the widget had
// before the library came, and the event filter standing for the widget's
// own handling of its frame.
class CustomScrollBarState : public QObject {
public:
    explicit CustomScrollBarState(QWidget* window) : QObject(window), m_window(window)
    {
        m_border = window->contentsMargins();
        m_leftBar = window->layoutDirection() == Qt::RightToLeft;
        auto* area = qobject_cast<QAbstractScrollArea*>(window);
        for (int kind = 0; kind < 2; ++kind) {
            const auto orientation = kind == 0 ? Qt::Horizontal : Qt::Vertical;
            auto* bar = new CCustomScrollBar(window, orientation, [this, kind](int request, int pos) {
                if (auto* target = dynamic_cast<ICustomScrollBarWindow*>(m_window)) {
                    if (kind == 0)
                        target->OnHScroll(request, pos);
                    else
                        target->OnVScroll(request, pos);
                }
            });
            bar->setObjectName(kind == 0 ? QStringLiteral("customScrollBarH") : QStringLiteral("customScrollBarV"));
            bar->SetTooltipSource([this](int commandId) {
                const auto found = m_tips.find(commandId);
                return found == m_tips.end() ? QString() : found->second;
            });
            Bar& record = bar->bar();
            record.flags = 0;
            record.style = 0;
            record.minThumb = 6;
            record.buttonLength = -1;
            record.thickness = -1;
            if (area) {
                // The scroll area's own bar: its numbers and whether it shows.
                QScrollBar* own = kind == 0 ? area->horizontalScrollBar() : area->verticalScrollBar();
                const Qt::ScrollBarPolicy policy =
                    kind == 0 ? area->horizontalScrollBarPolicy() : area->verticalScrollBarPolicy();
                m_policies[static_cast<std::size_t>(kind)] = policy;
                const int page = own->pageStep();
                record.info = {own->minimum(), own->maximum() + std::max(page, 1) - 1, page, own->value()};
                m_styleBits[static_cast<std::size_t>(kind)] =
                    policy == Qt::ScrollBarAlwaysOn || (policy == Qt::ScrollBarAsNeeded && own->isVisibleTo(area));
            }
            if (m_styleBits[static_cast<std::size_t>(kind)]) {
                record.flags |= kShown;
                record.shown = true;
            }
            m_bars[static_cast<std::size_t>(kind)] = bar;
        }
        if (area) {
            area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        }
        m_corner = new CScrollCorner(window, this);
        window->installEventFilter(this);
    }

    // Gives the widget back what it had: its frame and its own bars.
    void Restore()
    {
        m_window->removeEventFilter(this);
        delete m_bars[0];
        delete m_bars[1];
        delete m_corner;
        m_bars = {};
        m_corner = nullptr;
        m_window->setContentsMargins(m_border);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(m_window)) {
            area->setHorizontalScrollBarPolicy(m_policies[0]);
            area->setVerticalScrollBarPolicy(m_policies[1]);
        }
    }

    CCustomScrollBar* bar(int kind) const { return m_bars[static_cast<std::size_t>(kind)]; }
    QWidget* window() const { return m_window; }
    bool leftBar() const { return m_leftBar; }
    QMargins border() const { return m_border; }
    void setStyleBit(int kind, bool on) { m_styleBits[static_cast<std::size_t>(kind)] = on; }
    void setTips(std::map<int, QString> tips) { m_tips = std::move(tips); }

    // A bar takes room in the frame when it is shown and its flag says so.
    bool TakesRoom(int kind) const
    {
        const Bar& record = bar(kind)->bar();
        return record.shown && (record.flags & kShown);
    }

    // The frame computed again: the margins the bars take, the bars and the
    // corner placed in them, the resizable extra buttons fitted.
    void RecalcFrame()
    {
        const int extent = CCustomScrollBar::SystemExtent();
        const bool h = TakesRoom(0);
        const bool v = TakesRoom(1);
        const int hThick = Thickness(bar(0)->bar(), extent);
        const int vThick = Thickness(bar(1)->bar(), extent);
        QMargins margins = m_border;
        if (h)
            margins.setBottom(margins.bottom() + hThick);
        if (v) {
            if (m_leftBar)
                margins.setLeft(margins.left() + vThick);
            else
                margins.setRight(margins.right() + vThick);
        }
        const QRect inside = m_window->rect().marginsRemoved(m_border);
        const QRect hRect(inside.left() + (v && m_leftBar ? vThick : 0), inside.bottom() + 1 - hThick,
                          std::max(0, inside.width() - (v ? vThick : 0)), hThick);
        const QRect vRect(m_leftBar ? inside.left() : inside.right() + 1 - vThick, inside.top(), vThick,
                          std::max(0, inside.height() - (h ? hThick : 0)));
        bar(0)->setGeometry(hRect);
        bar(1)->setGeometry(vRect);
        FitResizable(bar(0)->bar(), hRect.width(), extent);
        FitResizable(bar(1)->bar(), vRect.height(), extent);
        m_corner->setGeometry(vRect.left(), hRect.top(), vThick, hThick);
        bar(0)->setVisible(h);
        bar(1)->setVisible(v);
        m_corner->setVisible(h && v);
        RaiseParts();
        if (m_window->contentsMargins() != margins)
            m_window->setContentsMargins(margins);
        bar(0)->update();
        bar(1)->update();
        m_corner->update();
    }

    // Whether the corner lies on the parent's same client corner, compared
    // on the screen.
    bool CornerReachesParent() const
    {
        const QWidget* parent = m_window->parentWidget();
        if (!parent)
            return false;
        const QRect client(parent->mapToGlobal(QPoint(0, 0)), parent->size());
        const QRect corner(m_window->mapToGlobal(m_corner->pos()), m_corner->size());
        if (corner.bottom() + m_border.bottom() != client.bottom())
            return false;
        return m_leftBar ? corner.left() - m_border.left() == client.left()
                         : corner.right() + m_border.right() == client.right();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Resize: RecalcFrame(); break;
        case QEvent::Move: m_corner->update(); break;
        case QEvent::LayoutDirectionChange:
            m_leftBar = m_window->layoutDirection() == Qt::RightToLeft;
            RecalcFrame();
            break;
        case QEvent::ChildAdded:
            // The bars stay above whatever the widget adds later.
            RaiseParts();
            break;
        default: break;
        }
        return false;
    }

private:
    void RaiseParts()
    {
        bar(0)->raise();
        bar(1)->raise();
        m_corner->raise();
    }

    QWidget* m_window;
    std::array<CCustomScrollBar*, 2> m_bars{};
    CScrollCorner* m_corner = nullptr;
    std::array<bool, 2> m_styleBits{};
    std::array<Qt::ScrollBarPolicy, 2> m_policies{Qt::ScrollBarAsNeeded, Qt::ScrollBarAsNeeded};
    bool m_leftBar = false;
    QMargins m_border;
    std::map<int, QString> m_tips;
};

void CScrollCorner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r(QPoint(0, 0), size());
    QWidget* window = m_state->window();
    if (m_state->bar(0)->TakenOver() || m_state->bar(1)->TakenOver()) {
        if (auto* owner = dynamic_cast<ICustomScrollBarParent*>(window->parentWidget())) {
            painter.translate(-pos());
            CustomScrollDraw draw;
            draw.window = window;
            bool ok = false;
            const int id = window->objectName().toInt(&ok);
            draw.controlId = ok ? id : 0;
            draw.stage = kStageItemPrePaint;
            draw.painter = &painter;
            draw.rect = geometry();
            draw.item = kCorner;
            draw.itemState = kItemDefault;
            draw.itemValue = kItemValueCorner;
            owner->OnScrollBarCustomDraw(draw);
        }
        return;
    }
    painter.fillRect(r, platform::sysColor(platform::COLOR_BTNFACE));
    if (!m_state->CornerReachesParent())
        return;
    QStyleOptionSizeGrip option;
    option.rect = r;
    option.palette = QApplication::palette();
    option.state = QStyle::State_Enabled;
    option.corner = m_state->leftBar() ? Qt::BottomLeftCorner : Qt::BottomRightCorner;
    QApplication::style()->drawControl(QStyle::CE_SizeGrip, &option, &painter, this);
}

CustomScrollBarState* stateOf(QWidget* window)
{
    if (!window)
        return nullptr;
    return dynamic_cast<CustomScrollBarState*>(window->property(kStateProperty).value<QObject*>());
}

QScrollBar* ownBar(QWidget* window, int bar)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(window);
    if (!area || (bar != SB_HORZ && bar != SB_VERT))
        return nullptr;
    return bar == SB_HORZ ? area->horizontalScrollBar() : area->verticalScrollBar();
}

bool names(int bar, int kind) { return bar == kind || bar == SB_BOTH; }

}  // namespace

int CustomScrollBar_Install(QWidget* window)
{
    if (!window || stateOf(window))
        return 0;
    auto* state = new CustomScrollBarState(window);
    window->setProperty(kStateProperty, QVariant::fromValue(static_cast<QObject*>(state)));
    state->RecalcFrame();
    return 1;
}

platform::HRESULT CustomScrollBar_Remove(QWidget* window)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state)
        return platform::E_FAIL;
    state->Restore();
    window->setProperty(kStateProperty, QVariant());
    delete state;
    return platform::S_OK;
}

int CustomScrollBar_Show(QWidget* window, int bar, bool show)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state) {
        auto* area = qobject_cast<QAbstractScrollArea*>(window);
        if (!area)
            return 0;
        const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        if (names(bar, SB_HORZ))
            area->setHorizontalScrollBarPolicy(policy);
        if (names(bar, SB_VERT))
            area->setVerticalScrollBarPolicy(policy);
        return 1;
    }
    for (int kind = 0; kind < 2; ++kind) {
        if (!names(bar, kind))
            continue;
        Bar& record = state->bar(kind)->bar();
        if (show)
            record.flags |= kShown;
        else
            record.flags &= ~kShown;
        state->setStyleBit(kind, show);
    }
    state->RecalcFrame();
    return 1;
}

int CustomScrollBar_SetStyle(QWidget* window, int bar, int style)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state)
        return 0;
    for (int kind = 0; kind < 2; ++kind)
        if (names(bar, kind))
            state->bar(kind)->SetStyle(style);
    return 1;
}

int CustomScrollBar_SetInfo(QWidget* window, int bar, const CustomScrollInfo& info, bool redraw)
{
    const Info given{info.min, info.max, info.page, info.pos};
    CustomScrollBarState* state = stateOf(window);
    if (state && (bar == SB_HORZ || bar == SB_VERT)) {
        CCustomScrollBar* drawn = state->bar(bar);
        const SetInfoResult result = drawn->SetInfo(info.mask, given);
        if (redraw && !CustomScrollBar_IsTracking(window)) {
            if (result.visibilityChanged)
                state->RecalcFrame();
            else
                drawn->update();
        }
        return result.pos;
    }
    QScrollBar* own = ownBar(window, bar);
    if (!own)
        return 0;
    // The toolkit's bar counts positions; the range given includes the page.
    Bar record;
    const int page = own->pageStep();
    record.info = {own->minimum(), own->maximum() + std::max(page, 1) - 1, page, own->value()};
    const SetInfoResult result = scrollbar::SetInfo(record, info.mask, given);
    const Info& kept = record.info;
    const int last = std::max(kept.min, kept.max - std::max(kept.page, 1) + 1);
    own->setRange(kept.min, last);
    own->setPageStep(kept.page);
    own->setValue(result.pos);
    return result.pos;
}

bool CustomScrollBar_GetInfo(QWidget* window, int bar, CustomScrollInfo& info)
{
    if (bar != SB_HORZ && bar != SB_VERT)
        return false;
    if (CustomScrollBarState* state = stateOf(window)) {
        const Info& kept = state->bar(bar)->bar().info;
        info = {kMaskRange | kMaskPage | kMaskPos, kept.min, kept.max, kept.page, kept.pos};
        return true;
    }
    QScrollBar* own = ownBar(window, bar);
    if (!own)
        return false;
    const int page = own->pageStep();
    info = {kMaskRange | kMaskPage | kMaskPos, own->minimum(), own->maximum() + std::max(page, 1) - 1, page,
            own->value()};
    return true;
}

bool CustomScrollBar_IsTracking(QWidget* window)
{
    CustomScrollBarState* state = stateOf(window);
    return state && (state->bar(0)->IsTracking() || state->bar(1)->IsTracking());
}

bool CustomScrollBar_InsertButton(QWidget* window, int bar, int index, const CustomScrollButton& button)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state || (bar != SB_HORZ && bar != SB_VERT))
        return false;
    state->bar(bar)->InsertButton(index, button);
    state->RecalcFrame();
    return true;
}

bool CustomScrollBar_ModifyButton(QWidget* window, int bar, int commandId, const CustomScrollButton& button)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state || (bar != SB_HORZ && bar != SB_VERT) || !state->bar(bar)->ModifyButton(commandId, button))
        return false;
    state->RecalcFrame();
    return true;
}

bool CustomScrollBar_RemoveButton(QWidget* window, int bar, int commandId)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state || (bar != SB_HORZ && bar != SB_VERT) || !state->bar(bar)->RemoveButton(commandId))
        return false;
    state->RecalcFrame();
    return true;
}

bool CustomScrollBar_SetTooltipTexts(QWidget* window, std::map<int, QString> texts)
{
    CustomScrollBarState* state = stateOf(window);
    if (!state)
        return false;
    state->setTips(std::move(texts));
    return true;
}

CCustomScrollBar* CustomScrollBar_Bar(QWidget* window, int bar)
{
    CustomScrollBarState* state = stateOf(window);
    return state && (bar == SB_HORZ || bar == SB_VERT) ? state->bar(bar) : nullptr;
}

}  // namespace stepwell
