#include "shared/widgets/xheader_ctrl.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>

#include "platform/fonts.h"
#include "platform/sys_colors.h"
#include "shared/widgets/image_list.h"

namespace shared {

CXHeaderCtrl::CXHeaderCtrl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setFont(platform::fonts::defaultGuiFont());
    refreshColours();
    connect(this, &QHeaderView::sectionCountChanged, this, [this] { syncItems(); });
}

void CXHeaderCtrl::refreshColours()
{
    m_highlight = platform::sysColor(platform::COLOR_BTNHIGHLIGHT);
    m_shadow = platform::sysColor(platform::COLOR_BTNSHADOW);
    m_face = platform::sysColor(platform::COLOR_BTNFACE);
    m_text = platform::sysColor(platform::COLOR_BTNTEXT);
}

void CXHeaderCtrl::syncItems()
{
    // Keeps one record per section; the list inserts columns at the end or
    // moves records itself before the count changes.
    if (m_items.size() != count())
        m_items.resize(count());
}

void CXHeaderCtrl::setModel(QAbstractItemModel* newModel)
{
    disconnect(m_inserted);
    disconnect(m_removed);
    m_items.clear();
    if (newModel) {
        // Connected before the view's own handlers, so the records have moved
        // when the section count changes.
        m_inserted = connect(newModel, &QAbstractItemModel::columnsInserted, this, &CXHeaderCtrl::columnsInserted);
        m_removed = connect(newModel, &QAbstractItemModel::columnsAboutToBeRemoved, this,
                            &CXHeaderCtrl::columnsAboutToBeRemoved);
    }
    QHeaderView::setModel(newModel);
    syncItems();
}

void CXHeaderCtrl::columnsInserted(const QModelIndex& parent, int first, int last)
{
    if (!parent.isValid() && first >= 0 && first <= m_items.size() && last >= first)
        m_items.insert(first, last - first + 1, Item{});
}

void CXHeaderCtrl::columnsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (!parent.isValid() && first >= 0 && last < m_items.size() && last >= first)
        m_items.remove(first, last - first + 1);
}

void CXHeaderCtrl::SetImageList(const CImageList* images)
{
    m_images = images;
    m_imageSize = images ? images->GetImageSize() : QSize(0, 0);
    viewport()->update();
}

bool CXHeaderCtrl::SetItemImage(int item, int image)
{
    syncItems();
    if (item < 0 || item >= m_items.size())
        return false;
    m_items[item].image = image;
    viewport()->update();
    return true;
}

int CXHeaderCtrl::GetItemImage(int item) const
{
    if (item < 0 || item >= m_items.size() || item >= count())
        return -1;
    return m_items[item].image;
}

bool CXHeaderCtrl::SetItemBitmap(int item, const QPixmap& bitmap)
{
    syncItems();
    if (item < 0 || item >= m_items.size())
        return false;
    m_items[item].bitmap = bitmap;
    viewport()->update();
    return true;
}

bool CXHeaderCtrl::SetItemOwnerDrawn(int item, bool ownerDrawn)
{
    syncItems();
    if (item < 0 || item >= m_items.size())
        return false;
    m_items[item].ownerDrawn = ownerDrawn;
    viewport()->update();
    return true;
}

void CXHeaderCtrl::DrawItem(QPainter&, const HeaderDrawItem&) {}

QSize CXHeaderCtrl::sizeHint() const
{
    QSize hint = QHeaderView::sizeHint();
    const int imageHeight = m_imageSize.height() + 4;
    hint.setHeight(std::max({hint.height(), fontMetrics().height() + 8, imageHeight}));
    return hint;
}

void CXHeaderCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        refreshColours();
    QHeaderView::changeEvent(event);
}

void CXHeaderCtrl::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    QPainter target(viewport());
    if (!m_doubleBuffer) {
        paintItems(target, viewport()->rect(), area);
        return;
    }
    // Drawn off screen over the area being painted, then copied in one step.
    QImage buffer(area.size(), QImage::Format_RGB32);
    {
        QPainter painter(&buffer);
        painter.translate(-area.topLeft());
        paintItems(painter, viewport()->rect(), area);
    }
    target.drawImage(area.topLeft(), buffer);
}

QImage CXHeaderCtrl::Render()
{
    syncItems();
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintItems(painter, image.rect(), image.rect());
    return image;
}

void CXHeaderCtrl::paintItems(QPainter& painter, const QRect& client, const QRect& area)
{
    syncItems();
    painter.fillRect(client, m_face);
    painter.setFont(font());
    painter.setPen(m_text);

    int extentLeft = 0;
    int extentRight = 0;
    bool any = false;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (logical < 0 || isSectionHidden(logical))
            continue;
        const int left = sectionViewportPosition(logical);
        const int width = sectionSize(logical);
        if (!any) {
            extentLeft = left;
            any = true;
        }
        extentRight = left + width;
        const QRect rect(left, 0, width, client.height());
        const Item& item = m_items[logical];
        if (rect.intersects(area) && width > 0) {
            if (item.ownerDrawn) {
                painter.save();
                DrawItem(painter, HeaderDrawItem{logical, rect});
                painter.restore();
            } else {
                int x = rect.left() + m_spacing;
                int right = rect.left() + rect.width() - m_spacing;  // exclusive
                if (m_images && item.image > 0 && item.image < m_images->GetImageCount() &&
                    x + m_imageSize.width() <= right) {
                    painter.save();
                    painter.setClipRect(QRect(x, rect.top(), right - x, rect.height()));
                    m_images->Draw(painter, item.image, x,
                                   rect.top() + (rect.height() - m_imageSize.height()) / 2);
                    painter.restore();
                    x += m_imageSize.width() + m_spacing;
                }
                if (!item.bitmap.isNull() && right - item.bitmap.width() >= x) {
                    painter.drawPixmap(right - item.bitmap.width(),
                                       rect.top() + (rect.height() - item.bitmap.height()) / 2,
                                       item.bitmap);
                    right -= item.bitmap.width() + m_spacing;
                }
                const QString text =
                    model() ? model()->headerData(logical, orientation(), Qt::DisplayRole).toString().left(80)
                            : QString();
                if (!text.isEmpty() && right > x) {
                    const QRect textRect(x, rect.top(), right - x, rect.height());
                    painter.setPen(QColor::fromRgb(kTextColour));
                    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine,
                                     painter.fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
                    painter.setPen(m_text);
                }
            }
        }
        if (visual + 1 < count()) {
            const int edge = rect.left() + rect.width();
            painter.setPen(m_shadow);
            painter.drawLine(edge - 1, rect.top() + 2, edge - 1, rect.bottom() - 2);
            painter.setPen(m_highlight);
            painter.drawLine(edge, rect.top() + 2, edge, rect.bottom() - 2);
            painter.setPen(m_text);
        }
    }
    if (any && extentRight - extentLeft > 0) {
        // The 3-D frame: highlight at the top and left, shadow at the bottom
        // and right of the items' extent.
        const int bottom = client.height() - 1;
        const int right = extentRight - 1;
        painter.setPen(m_highlight);
        painter.drawLine(extentLeft, 0, right - 1, 0);
        painter.drawLine(extentLeft, 0, extentLeft, bottom - 1);
        painter.setPen(m_shadow);
        painter.drawLine(extentLeft, bottom, right, bottom);
        painter.drawLine(right, 0, right, bottom);
    }
}

}  // namespace shared
