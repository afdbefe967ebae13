#include "shared/widgets/docking_pane_bar.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/sys_colors.h"
#include "shared/settings.h"

namespace shared {
namespace {

constexpr int kButtonSize = 12;
constexpr int kButtonStep = 13;  // from the close button to the docking toggle
constexpr int kButtonInset = 4;
constexpr unsigned kBarStyleMask = 0x40FFFF;
constexpr auto kSeparatorStyleName = "dockingPaneSeparator";

QColor themeColor(int index)
{
    const Rgb colour = GetThemeColor(index);
    return QColor(colour.red, colour.green, colour.blue);
}

// The main window's separator is the bars' sizing edge.
class SeparatorStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_DockWidgetSeparatorExtent)
            return CDockingPaneBar::kSizingEdge;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void useSizingEdge(QMainWindow& window)
{
    if (window.style()->objectName() == QLatin1String(kSeparatorStyleName))
        return;
    auto* style = new SeparatorStyle;
    style->setObjectName(QLatin1String(kSeparatorStyleName));
    style->setParent(&window);
    window.setStyle(style);
}

// The bar's content: the pane fills it; its preferred size is the pane's
// size when the bar took it.
class PaneContent : public QWidget {
public:
    explicit PaneContent(QWidget* parent) : QWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        setMinimumSize(CDockingPaneBar::kMinimumSize, CDockingPaneBar::kMinimumSize);
    }
    QSize sizeHint() const override { return m_size; }
    QSize m_size{100, 100};
};

void draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

CDockingPaneBar::CDockingPaneBar()
{
    setMinimumSize(kMinimumSize, kMinimumSize);
    QPalette background = palette();
    background.setBrush(QPalette::Window, CSettings::Instance().GetThemeBrush(1));
    setPalette(background);
    setAutoFillBackground(true);
}

CDockingPaneBar::~CDockingPaneBar()
{
    if (!m_child)
        return;
    if (m_ownsChild)
        delete m_child.data();
    else
        m_child->setParent(nullptr);
}

bool CDockingPaneBar::Create(QMainWindow* parent, QWidget* child, const QString& title, int id, unsigned style,
                             const ChildFactory& createChild)
{
    if (!parent || m_content)
        return false;
    auto* content = new PaneContent(this);
    content->setPalette(palette());
    content->setAutoFillBackground(true);
    if (child) {
        content->m_size = child->size();
        child->setParent(content);
    } else if (createChild) {
        child = createChild(content, id);
        if (!child) {
            delete content;
            return false;
        }
        content->m_size = child->size();
    } else {
        child = new QWidget(content);
        child->setObjectName(QStringLiteral("Guide"));
        child->resize(350, 500);
        content->m_size = child->size();
        m_ownsChild = true;
    }
    content->layout()->addWidget(child);
    child->show();
    m_content = content;
    m_child = child;
    m_id = id;
    m_style = style & kBarStyleMask;
    setParent(parent);
    setWindowTitle(title);
    setWidget(content);
    m_gripper = new DockingGripper(*this);
    setTitleBarWidget(m_gripper);
    useSizingEdge(*parent);
    connect(this, &QDockWidget::topLevelChanged, this, [this] { updateGripper(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { updateGripper(); });
    return true;
}

DockingGripper* CDockingPaneBar::gripper() const
{
    return titleBarWidget() == m_gripper ? m_gripper : nullptr;
}

void CDockingPaneBar::updateGripper()
{
    if (!m_gripper)
        return;
    if (isFloating()) {
        if (titleBarWidget() != m_gripper)
            return;
        // Not while the bar is being dragged by its gripper: the gripper goes
        // once the drag is over.
        QTimer::singleShot(0, this, [this] {
            if (!isFloating() || titleBarWidget() != m_gripper)
                return;
            if (QWidget::mouseGrabber() == this)
                QTimer::singleShot(50, this, [this] { updateGripper(); });
            else
                setTitleBarWidget(nullptr);
        });
        return;
    }
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    const Qt::DockWidgetArea area = window ? window->dockWidgetArea(this) : Qt::LeftDockWidgetArea;
    const bool across = area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
    setFeatures(across ? features() | DockWidgetVerticalTitleBar : features() & ~DockWidgetVerticalTitleBar);
    if (titleBarWidget() != m_gripper)
        setTitleBarWidget(m_gripper);
    m_gripper->update();
}

// DockingGripper

DockingGripper::DockingGripper(CDockingPaneBar& bar) : QWidget(&bar), m_bar(bar) {}

bool DockingGripper::isVertical() const
{
    return m_bar.features().testFlag(QDockWidget::DockWidgetVerticalTitleBar);
}

QSize DockingGripper::sizeHint() const
{
    return QSize(CDockingPaneBar::kGripperWidth, CDockingPaneBar::kGripperWidth);
}

QSize DockingGripper::minimumSizeHint() const
{
    return sizeHint();
}

QRect DockingGripper::closeButtonRect() const
{
    if (isVertical())
        return QRect(kButtonInset, 2, kButtonSize, kButtonSize);
    return QRect(width() - 2 - kButtonSize, kButtonInset, kButtonSize, kButtonSize);
}

QRect DockingGripper::toggleButtonRect() const
{
    const QRect close = closeButtonRect();
    return isVertical() ? close.translated(0, kButtonStep + 1) : close.translated(-kButtonStep - 1, 0);
}

void DockingGripper::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool vertical = isVertical();
    const QColor first = themeColor(0);
    const QColor second = themeColor(1);
    // Line by line across the gripper's length.
    const int length = vertical ? height() : width();
    for (int line = 0; line < length; ++line) {
        const auto mix = [&](int from, int to) { return from + (to - from) * line / std::max(1, length); };
        painter.setPen(QColor(mix(first.red(), second.red()), mix(first.green(), second.green()),
                              mix(first.blue(), second.blue())));
        if (vertical)
            painter.drawLine(0, line, width() - 1, line);
        else
            painter.drawLine(line, 0, line, height() - 1);
    }
    const QColor ink = themeColor(4);
    const QRect close = closeButtonRect();
    const QRect toggle = toggleButtonRect();
    painter.setPen(ink);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(close.adjusted(0, 0, -1, -1));
    painter.drawRect(toggle.adjusted(0, 0, -1, -1));
    QPen cross(ink, 2);
    cross.setCapStyle(Qt::FlatCap);
    painter.setPen(cross);
    painter.drawLine(QPoint(close.left() + 2, close.top() + 2), QPoint(close.right() - 2, close.bottom() - 2));
    painter.drawLine(QPoint(close.right() - 2, close.top() + 2), QPoint(close.left() + 2, close.bottom() - 2));
    painter.fillRect(QRect(toggle.left() + 2, toggle.top() + 3, toggle.width() - 4, 2), ink);

    const QColor highlight = platform::sysColor(platform::COLOR_BTNHIGHLIGHT);
    const QColor shadow = platform::sysColor(platform::COLOR_BTNSHADOW);
    if (vertical) {
        const int top = toggle.bottom() + 5;
        const int bottom = height() - 5;
        if (bottom > top) {
            draw3dRect(painter, QRect(6, top, 3, bottom - top), highlight, shadow);
            draw3dRect(painter, QRect(10, top, 3, bottom - top), highlight, shadow);
        }
    } else {
        const int left = 4;
        const int right = toggle.left() - 5;
        if (right > left) {
            draw3dRect(painter, QRect(left, 6, right - left, 3), highlight, shadow);
            draw3dRect(painter, QRect(left, 10, right - left, 3), highlight, shadow);
        }
    }
}

void DockingGripper::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && closeButtonRect().contains(at)) {
        m_bar.hide();
        return;
    }
    if (event->button() == Qt::LeftButton && toggleButtonRect().contains(at)) {
        m_bar.setFloating(true);
        return;
    }
    // The bar moves when the gripper is dragged.
    event->ignore();
}

void DockingGripper::mouseReleaseEvent(QMouseEvent* event)
{
    event->ignore();
}

void DockingGripper::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
}

void DockingGripper::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (closeButtonRect().contains(at) || toggleButtonRect().contains(at))
        return;
    // The bar toggles docking.
    event->ignore();
}

}  // namespace shared
