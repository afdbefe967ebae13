#include "shared/widgets/flat_tab_ctrl.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include "platform/fonts.h"
#include "platform/sys_colors.h"
#include "shared/widgets/flat_spin_button.h"

namespace shared {
namespace {

unsigned& styleWord()
{
    static unsigned word = 0;
    return word;
}

constexpr int kSpinGap = 2;
// Unselected tabs sit this much lower than the selected one.
constexpr int kUnselectedDrop = 2;
// The selected tab reaches this much further to each side.
constexpr int kSelectedSpread = 2;

}  // namespace

void SetFlatTabStyleFlags(bool enable, unsigned flags)
{
    styleWord() = enable ? flags : 0;
}

unsigned GetFlatTabStyleFlags()
{
    return styleWord();
}

// The row of tabs: the Qt style draws it, or, owner-drawn, its control.
class FlatTabBar : public QTabBar {
public:
    explicit FlatTabBar(CFlatTabCtrl& control, QWidget* parent) : QTabBar(parent), m_control(control)
    {
        setDrawBase(false);
        setExpanding(false);
        setUsesScrollButtons(false);
        setElideMode(Qt::ElideNone);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!m_control.IsOwnerDrawn())
            return QTabBar::paintEvent(event);
        QPainter painter(this);
        painter.translate(-mapTo(&m_control, QPoint(0, 0)));
        m_control.paintItems(painter);
    }

private:
    CFlatTabCtrl& m_control;
};

CFlatTabCtrl::CFlatTabCtrl(int drawingMode, QWidget* parent) : QWidget(parent)
{
    m_row = new QWidget(this);
    m_bar = new FlatTabBar(*this, m_row);
    m_spin = new CFlatSpinButton(this);
    m_spin->SetVertical(false);
    m_spin->hide();
    m_bar->setFont(platform::fonts::defaultGuiFont());
    connect(m_spin, &CFlatSpinButton::scrolled, this, [this](int position) { scrollTo(position); });
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        ensureVisible(index);
        update();
        if (!m_settingSelection)
            emit selChange(index);
    });
    if (drawingMode >= 0 && drawingMode <= 2)
        m_drawMode = drawingMode;
    m_ownerDrawn = m_drawMode != 0;
    attach();
    layoutRow();
}

CFlatTabCtrl::~CFlatTabCtrl() = default;

void CFlatTabCtrl::attach()
{
    if (GetFlatTabStyleFlags() != 0)
        m_ownerDrawn = true;
}

int CFlatTabCtrl::InsertItem(int index, const QString& text, void* data)
{
    m_settingSelection = true;
    const int at = m_bar->insertTab(std::clamp(index, 0, m_bar->count()), text);
    m_bar->setTabData(at, QVariant::fromValue(data));
    m_settingSelection = false;
    layoutRow();
    return at;
}

bool CFlatTabCtrl::DeleteItem(int index)
{
    if (index < 0 || index >= m_bar->count())
        return false;
    m_settingSelection = true;
    m_bar->removeTab(index);
    m_settingSelection = false;
    layoutRow();
    return true;
}

void CFlatTabCtrl::DeleteAllItems()
{
    m_settingSelection = true;
    while (m_bar->count() > 0)
        m_bar->removeTab(m_bar->count() - 1);
    m_settingSelection = false;
    layoutRow();
}

int CFlatTabCtrl::GetItemCount() const
{
    return m_bar->count();
}

QString CFlatTabCtrl::GetItemText(int index) const
{
    return m_bar->tabText(index);
}

void* CFlatTabCtrl::GetItemData(int index) const
{
    if (index < 0 || index >= m_bar->count())
        return nullptr;
    return m_bar->tabData(index).value<void*>();
}

bool CFlatTabCtrl::SetItemData(int index, void* data)
{
    if (index < 0 || index >= m_bar->count())
        return false;
    m_bar->setTabData(index, QVariant::fromValue(data));
    return true;
}

int CFlatTabCtrl::GetCurSel() const
{
    return m_bar->currentIndex();
}

int CFlatTabCtrl::SetCurSel(int index)
{
    if (index < 0 || index >= m_bar->count())
        return -1;
    const int previous = m_bar->currentIndex();
    m_settingSelection = true;
    m_bar->setCurrentIndex(index);
    m_settingSelection = false;
    return previous;
}

QRect CFlatTabCtrl::GetItemRect(int index) const
{
    if (index < 0 || index >= m_bar->count())
        return {};
    return m_bar->tabRect(index).translated(m_bar->mapTo(this, QPoint(0, 0)));
}

int CFlatTabCtrl::rowHeight() const
{
    return std::max(m_bar->sizeHint().height(), m_bar->fontMetrics().height() + 8);
}

QRect CFlatTabCtrl::GetPageRect() const
{
    // The border runs along the row's last line and the control's edges; the
    // page lies inside it.
    const int top = rowHeight() - 1;
    return QRect(0, top, width(), height() - top).adjusted(1, 1, -1, -1);
}

bool CFlatTabCtrl::SetDrawMode(int mode)
{
    if (mode < 0 || mode > 2)
        return false;
    m_drawMode = mode;
    m_ownerDrawn = mode != 0;
    update();
    m_bar->update();
    return true;
}

void CFlatTabCtrl::SetBkColor(const QColor& colour)
{
    m_bkColour = colour;
    update();
    m_bar->update();
}

QColor CFlatTabCtrl::GetBkColor() const
{
    return m_bkColour.isValid() ? m_bkColour : platform::sysColor(platform::COLOR_BTNFACE);
}

void CFlatTabCtrl::SetSecondColor(const QColor& colour)
{
    m_secondColour = colour;
    update();
    m_bar->update();
}

void CFlatTabCtrl::SetFrameColor(const QColor& colour)
{
    m_frameColour = colour;
    update();
    m_bar->update();
}

void CFlatTabCtrl::layoutRow()
{
    const int height = rowHeight();
    const int total = m_bar->sizeHint().width();
    const bool overflow = m_bar->count() > 1 && total > width();
    int available = width();
    if (overflow) {
        const QSize spin = m_spin->sizeHint();
        available = std::max(0, width() - spin.width() - kSpinGap);
        m_spin->setGeometry(width() - spin.width(), std::max(0, height - spin.height() - 3), spin.width(),
                            spin.height());
        // The last first tab that still fills the row to its end.
        int lastFirst = m_bar->count() - 1;
        while (lastFirst > 0 && total - m_bar->tabRect(lastFirst - 1).x() <= available)
            --lastFirst;
        m_spin->SetRange(0, lastFirst);
        m_firstVisible = std::min(m_firstVisible, lastFirst);
        m_spin->SetPos(m_firstVisible);
        m_spin->show();
        m_spin->raise();
    } else {
        m_firstVisible = 0;
        m_spin->hide();
    }
    m_row->setGeometry(0, 0, available, height);
    const int offset = m_bar->count() > 0 ? m_bar->tabRect(m_firstVisible).x() : 0;
    m_bar->setGeometry(-offset, 0, std::max(total, available), height);
    update();
}

void CFlatTabCtrl::scrollTo(int first)
{
    if (first < 0 || first >= std::max(1, m_bar->count()))
        return;
    m_firstVisible = first;
    layoutRow();
    // Drawn at once, as a scrolled row is.
    repaint();
}

void CFlatTabCtrl::ensureVisible(int index)
{
    if (index < 0 || !m_spin->isVisible())
        return;
    const QRect tab = GetItemRect(index);
    if (tab.left() < 0) {
        scrollTo(index);
    } else if (tab.right() >= m_row->width()) {
        int first = m_firstVisible;
        while (first < index && m_bar->tabRect(index).right() - m_bar->tabRect(first).x() >= m_row->width())
            ++first;
        scrollTo(std::min(first, m_spin->GetMaximum()));
    }
}

void CFlatTabCtrl::resizeEvent(QResizeEvent*)
{
    layoutRow();
}

void CFlatTabCtrl::SetTabFont(const QFont& font)
{
    m_bar->setFont(font);
    layoutRow();
}

QFont CFlatTabCtrl::GetTabFont() const
{
    return m_bar->font();
}

void CFlatTabCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), GetBkColor());
    const QRect page = GetPageRect();
    if (m_ownerDrawn) {
        DrawMainBorder(painter, TabDrawItem{-1, page, false});
        return;
    }
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = page.adjusted(-1, -1, 1, 1);
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void CFlatTabCtrl::paintItems(QPainter& painter)
{
    painter.setFont(m_bar->font());
    const int current = m_bar->currentIndex();
    const auto drawOne = [&](int index, bool selected) {
        const QRect tab = GetItemRect(index);
        const QRect shown = selected ? tab.adjusted(-kSelectedSpread, 0, kSelectedSpread, 0)
                                     : tab.adjusted(0, kUnselectedDrop, 0, -1);
        const TabDrawItem item{index, shown, selected};
        painter.save();
        DrawItem(painter, item);
        painter.restore();
        painter.save();
        DrawItemBorder(painter, item);
        painter.restore();
    };
    for (int index = 0; index < m_bar->count(); ++index) {
        if (index != current)
            drawOne(index, false);
    }
    if (current >= 0)
        drawOne(current, true);
}

QColor CFlatTabCtrl::GetTabColor(bool) const
{
    return m_secondColour.isValid() ? m_secondColour : platform::sysColor(platform::COLOR_BTNFACE);
}

QColor CFlatTabCtrl::GetTabTextColor(bool) const
{
    return platform::sysColor(platform::COLOR_WINDOWTEXT);
}

void CFlatTabCtrl::DrawItem(QPainter& painter, const TabDrawItem& item)
{
    painter.fillRect(item.rect, GetTabColor(item.selected));
    painter.setPen(GetTabTextColor(item.selected));
    const QRect text = item.rect.adjusted(3, 0, -3, 0);
    painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(GetItemText(item.item), Qt::ElideRight, text.width()));
}

void CFlatTabCtrl::DrawMainBorder(QPainter& painter, const TabDrawItem& item)
{
    if (!m_frameColour.isValid())
        return;
    painter.setPen(m_frameColour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(item.rect.adjusted(-1, -1, 0, 0));
}

void CFlatTabCtrl::DrawItemBorder(QPainter& painter, const TabDrawItem& item)
{
    if (!m_frameColour.isValid())
        return;
    const QRect r = item.rect;
    painter.setPen(m_frameColour);
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

// CColorTabCtrl

CColorTabCtrl::CColorTabCtrl(QWidget* parent) : CFlatTabCtrl(0, parent) {}

bool CColorTabCtrl::Create(unsigned style, const QRect& rect, QWidget* parent, int id)
{
    if (!parent)
        return false;
    constexpr unsigned kVisible = 0x10000000;
    setParent(parent);
    setGeometry(rect);
    m_id = id;
    QFont caption = platform::fonts::defaultGuiFont();
    caption.setPixelSize(14);
    caption.setWeight(QFont::Bold);
    SetTabFont(caption);
    attach();
    setVisible((style & kVisible) != 0);
    return true;
}

QColor CColorTabCtrl::Darken(const QColor& colour, double factor)
{
    const double f = std::clamp(factor, 0.0, 1.0);
    return QColor(static_cast<int>(colour.red() * f), static_cast<int>(colour.green() * f),
                  static_cast<int>(colour.blue() * f));
}

QColor CColorTabCtrl::Lighten(const QColor& colour, double factor)
{
    const double f = std::max(factor, 1.0);
    const auto lift = [f](int component) { return std::min(255, static_cast<int>(component * f)); };
    return QColor(lift(colour.red()), lift(colour.green()), lift(colour.blue()));
}

QSize CColorTabCtrl::MeasureText(const QFontMetrics& metrics, const QString& text, int maxWidth, QString* shown)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString elided = metrics.elidedText(line, Qt::ElideRight, std::max(0, maxWidth));
    if (shown)
        *shown = elided;
    return QSize(metrics.horizontalAdvance(elided), metrics.height());
}

QColor CColorTabCtrl::GetTabColor(bool selected) const
{
    const unsigned f = GetFlatTabStyleFlags();
    if (!selected)
        return (((f & 1) && !(f & 16)) || (f & 2)) ? m_itemColour1 : m_itemColour2;
    if (!(f & 4))
        return platform::sysColor(platform::COLOR_BTNFACE);
    return (f & 2) ? m_itemColour2 : m_itemColour1;
}

QColor CColorTabCtrl::GetTabTextColor(bool selected) const
{
    if (selected)
        return platform::sysColor(platform::COLOR_WINDOWTEXT);
    const unsigned f = GetFlatTabStyleFlags();
    const QColor base = (f & (1 | 2)) ? GetBkColor() : platform::sysColor(platform::COLOR_BTNFACE);
    return Darken(base, 0.5);
}

void CColorTabCtrl::DrawItem(QPainter& painter, const TabDrawItem& item)
{
    const QColor base = GetTabColor(item.selected);
    const QRect r = item.rect;
    if ((GetFlatTabStyleFlags() & 8) && r.height() > 1) {
        // Line by line from a lighter tone at the top to the tab colour.
        const QColor top = Lighten(base, 1.12);
        for (int line = 0; line < r.height(); ++line) {
            const auto mix = [&](int from, int to) { return from + (to - from) * line / (r.height() - 1); };
            painter.setPen(QColor(mix(top.red(), base.red()), mix(top.green(), base.green()),
                                  mix(top.blue(), base.blue())));
            painter.drawLine(r.left(), r.top() + line, r.right(), r.top() + line);
        }
    } else {
        painter.fillRect(r, base);
    }
    QString shown;
    const QSize size = MeasureText(painter.fontMetrics(), GetItemText(item.item), r.width() - 8, &shown);
    painter.setPen(GetTabTextColor(item.selected));
    const QRect text(r.left() + (r.width() - size.width()) / 2, r.top() + (r.height() - size.height()) / 2,
                     size.width(), size.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void CColorTabCtrl::DrawItemBorder(QPainter& painter, const TabDrawItem& item)
{
    const QColor base = GetTabColor(item.selected);
    const QColor light = Lighten(base, 1.5);
    const QColor dark = Darken(base, 0.75);
    const QRect r = item.rect;
    if (!item.selected && !(GetFlatTabStyleFlags() & 16)) {
        painter.setPen(dark);
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.drawLine(r.topRight(), r.bottomRight());
        return;
    }
    painter.setPen(light);
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.drawLine(r.topLeft(), r.topRight());
    painter.setPen(dark);
    painter.drawLine(r.topRight(), r.bottomRight());
}

void CColorTabCtrl::DrawMainBorder(QPainter& painter, const TabDrawItem& item)
{
    const QColor base = GetTabColor(false);
    const QRect r = item.rect.adjusted(-1, -1, 0, 0);
    painter.setPen(Lighten(base, 1.5));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(Darken(base, 0.75));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace shared
