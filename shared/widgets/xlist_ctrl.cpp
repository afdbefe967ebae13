#include "shared/widgets/xlist_ctrl.h"

#include <QCursor>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>
#include <vector>

#include "platform/fonts.h"
#include "platform/sys_colors.h"
#include "shared/draw_text.h"
#include "shared/widgets/image_list.h"
#include "shared/widgets/xheader_ctrl.h"

namespace shared {

namespace {

constexpr int kComboScrollBarWidth = 11;
constexpr int kTimer1Ms = 100;
constexpr int kDelayedMs = 50;
constexpr int kHoverSelectMs = 400;
constexpr int kToolTipChars = 79;

// A Windows rectangle (right and bottom exclusive) over a QRect.
struct WinRect {
    int left, top, right, bottom;
    explicit WinRect(const QRect& r)
        : left(r.left()), top(r.top()), right(r.left() + r.width()), bottom(r.top() + r.height())
    {
    }
    WinRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    QRect rect() const { return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top)); }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

void hline(QPainter& p, int x0, int x1, int y)  // x1 exclusive
{
    if (x1 > x0)
        p.drawLine(x0, y, x1 - 1, y);
}

void vline(QPainter& p, int x, int y0, int y1)  // y1 exclusive
{
    if (y1 > y0)
        p.drawLine(x, y0, x, y1 - 1);
}

// A 3-D edge round r: outer top-left / bottom-right colours, then inner.
void drawEdge(QPainter& p, WinRect r, const QColor& outerTL, const QColor& outerBR, const QColor& innerTL,
              const QColor& innerBR)
{
    for (int ring = 0; ring < 2 && r.width() > 1 && r.height() > 1; ++ring) {
        p.setPen(ring == 0 ? outerTL : innerTL);
        hline(p, r.left, r.right - 1, r.top);
        vline(p, r.left, r.top, r.bottom - 1);
        p.setPen(ring == 0 ? outerBR : innerBR);
        hline(p, r.left, r.right, r.bottom - 1);
        vline(p, r.right - 1, r.top, r.bottom);
        r = WinRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    }
}

}  // namespace

// The rows and columns of the list: texts, cell records, item states.
class XListModel : public QAbstractTableModel {
public:
    struct Row {
        QStringList texts;
        std::vector<XListCell> cells;
        unsigned state = 0;
    };
    struct Column {
        QString heading;
        XListAlign align = XListAlign::Left;
    };

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows.size(); }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : columns.size();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return text(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= columns.size())
            return {};
        if (role == Qt::DisplayRole)
            return columns[section].heading;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    QString text(int row, int column) const
    {
        if (row < 0 || row >= rows.size() || column < 0 || column >= rows[row].texts.size())
            return {};
        return rows[row].texts[column];
    }
    void changed(int row, int column) { emit dataChanged(index(row, column), index(row, column)); }

    QVector<Row> rows;
    QVector<Column> columns;
    friend class CXListCtrl;
};

// Hands every cell's painting to the list.
class XListDelegate : public QStyledItemDelegate {
public:
    explicit XListDelegate(CXListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        painter->setClipRect(option.rect);
        m_list->paintCell(*painter, index.row(), index.column(), option.rect);
        painter->restore();
    }

private:
    CXListCtrl* m_list;
};

CXListCtrl::CXListCtrl(QWidget* parent)
    : QTableView(parent)
{
    m_model = new XListModel;
    m_model->setParent(this);
    m_header = new CXHeaderCtrl(this);
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new XListDelegate(this));
    setFont(platform::fonts::defaultGuiFont());
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    m_header->setStretchLastSection(false);
    connect(m_header, &QHeaderView::sectionClicked, this, &CXListCtrl::onColumnClicked);
    refreshColours();

    m_timer1.setInterval(kTimer1Ms);
    connect(&m_timer1, &QTimer::timeout, this, &CXListCtrl::onTimer1);
    for (QTimer* timer : {&m_timer2, &m_timer3, &m_timer4}) {
        timer->setInterval(kDelayedMs);
        timer->setSingleShot(true);
    }
    connect(&m_timer2, &QTimer::timeout, this, &CXListCtrl::onTimer2);
    connect(&m_timer3, &QTimer::timeout, this, &CXListCtrl::onTimer3);
    connect(&m_timer4, &QTimer::timeout, this, &CXListCtrl::onTimer4);
    m_trackTimer.setSingleShot(true);
    m_trackTimer.setInterval(kHoverSelectMs);
    connect(&m_trackTimer, &QTimer::timeout, this, [this] {
        if (m_trackRow >= 0 && m_trackRow < GetItemCount() && isEnabled()) {
            selectRow(m_trackRow);
            m_selectionMark = m_trackRow;
        }
    });
}

CXListCtrl::~CXListCtrl()
{
    if (m_comboList)
        delete m_comboList.data();
}

void CXListCtrl::refreshColours()
{
    using namespace platform;
    m_colours = Colours{sysColor(COLOR_BTNFACE),   sysColor(COLOR_BTNHIGHLIGHT), sysColor(COLOR_BTNSHADOW),
                        sysColor(COLOR_BTNFACE),   sysColor(COLOR_BTNSHADOW),    sysColor(COLOR_BTNTEXT),
                        sysColor(COLOR_GRAYTEXT),  sysColor(COLOR_HIGHLIGHT),    sysColor(COLOR_HIGHLIGHTTEXT),
                        sysColor(COLOR_WINDOW),    sysColor(COLOR_WINDOWTEXT)};
}

void CXListCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        refreshColours();
        viewport()->update();
    }
    QTableView::changeEvent(event);
}

void CXListCtrl::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CXListCtrl::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

// ---- columns and styles -------------------------------------------------

int CXListCtrl::InsertColumn(int column, const QString& heading, XListAlign align, int width)
{
    if (column < 0)
        return -1;
    column = std::min(column, GetColumns());
    m_model->beginInsertColumns({}, column, column);
    m_model->columns.insert(column, XListModel::Column{heading, align});
    for (auto& row : m_model->rows) {
        if (row.texts.size() >= column)
            row.texts.insert(column, QString());
    }
    m_model->endInsertColumns();
    if (width >= 0)
        m_header->resizeSection(column, width);
    return column;
}

bool CXListCtrl::SetColumnAlign(int column, XListAlign align)
{
    if (column < 0 || column >= GetColumns())
        return false;
    m_model->columns[column].align = align;
    viewport()->update();
    return true;
}

XListAlign CXListCtrl::GetColumnAlign(int column) const
{
    if (column < 0 || column >= GetColumns())
        return XListAlign::Left;
    return m_model->columns[column].align;
}

int CXListCtrl::GetColumns() const
{
    return m_model->columns.size();
}

void CXListCtrl::SetExtendedStyle(unsigned styles)
{
    m_extendedStyle = styles;
    setShowGrid((styles & XListStyle::GridLines) != 0);
    viewport()->update();
}

void CXListCtrl::SetShowSelAlways(bool on)
{
    m_showSelAlways = on;
    viewport()->update();
}

// ---- rows ---------------------------------------------------------------

int CXListCtrl::InsertItem(int row, const QString& text)
{
    return InsertItem(row, text, m_colours.windowText, m_colours.window);
}

int CXListCtrl::InsertItem(int row, const QString& text, const QColor& textColour, const QColor& backgroundColour)
{
    if (row < 0)
        return -1;
    row = std::min(row, GetItemCount());
    XListModel::Row record;
    record.texts.resize(GetColumns());
    if (!record.texts.isEmpty())
        record.texts[0] = text;
    record.cells.resize(static_cast<std::size_t>(GetColumns()));
    for (XListCell& c : record.cells) {
        c.textColour = m_colours.windowText;
        c.backgroundColour = m_colours.window;
    }
    if (!record.cells.empty()) {
        record.cells[0].textColour = textColour;
        record.cells[0].backgroundColour = backgroundColour;
    }
    m_model->beginInsertRows({}, row, row);
    m_model->rows.insert(row, std::move(record));
    m_model->endInsertRows();
    return row;
}

int CXListCtrl::GetItemCount() const
{
    return m_model->rows.size();
}

bool CXListCtrl::inRange(int row, int column) const
{
    return row >= 0 && row < GetItemCount() && column >= 0 && column < GetColumns();
}

XListCell* CXListCtrl::cell(int row, int column)
{
    if (!inRange(row, column))
        return nullptr;
    auto& cells = m_model->rows[row].cells;
    return column < static_cast<int>(cells.size()) ? &cells[static_cast<std::size_t>(column)] : nullptr;
}

const XListCell* CXListCtrl::cell(int row, int column) const
{
    return const_cast<CXListCtrl*>(this)->cell(row, column);
}

const XListCell* CXListCtrl::GetCell(int row, int column) const
{
    return cell(row, column);
}

bool CXListCtrl::SetItemText(int row, int column, const QString& text)
{
    if (!inRange(row, column))
        return false;
    QStringList& texts = m_model->rows[row].texts;
    if (texts.size() <= column)
        texts.resize(column + 1);
    texts[column] = text;
    m_model->changed(row, column);
    UpdateSubItem(row, column);
    return true;
}

QString CXListCtrl::GetItemText(int row, int column) const
{
    if (!inRange(row, column))
        return {};
    return m_model->text(row, column);
}

bool CXListCtrl::SetItemState(int row, unsigned state, unsigned mask)
{
    if (row < 0 || row >= GetItemCount())
        return false;
    XListModel::Row& record = m_model->rows[row];
    record.state = (record.state & ~mask) | (state & mask);
    if (mask & LVIS_SELECTED) {
        const QItemSelection rowSelection(m_model->index(row, 0),
                                          m_model->index(row, std::max(0, GetColumns() - 1)));
        selectionModel()->select(rowSelection, (state & LVIS_SELECTED) ? QItemSelectionModel::Select
                                                                       : QItemSelectionModel::Deselect);
    }
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED))
        selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
    viewport()->update();
    return true;
}

unsigned CXListCtrl::GetItemState(int row, unsigned mask) const
{
    if (row < 0 || row >= GetItemCount())
        return 0;
    unsigned state = m_model->rows[row].state & LVIS_CUT;
    if (selectionModel()->isRowSelected(row, {}))
        state |= LVIS_SELECTED;
    if (currentIndex().isValid() && currentIndex().row() == row)
        state |= LVIS_FOCUSED;
    return state & mask;
}

int CXListCtrl::SetSelectionMark(int row)
{
    const int previous = m_selectionMark;
    m_selectionMark = row;
    return previous;
}

// ---- check boxes ----------------------------------------------------------

int CXListCtrl::GetCheckbox(int row, int column) const
{
    const XListCell* c = cell(row, column);
    return c ? c->checkState : -1;
}

bool CXListCtrl::SetCheckbox(int row, int column, int state)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->checkState = state;
    UpdateSubItem(row, column);
    updateHeaderFromRows(column);
    return true;
}

void CXListCtrl::updateHeaderFromRows(int column)
{
    if (GetHeaderCheckedState(column) <= 0)
        return;
    bool all = true;
    for (int row = 0; row < GetItemCount() && all; ++row)
        all = GetCheckbox(row, column) == 1;
    SetHeaderCheckedState(column, all ? 2 : 1);
}

int CXListCtrl::GetHeaderCheckedState(int column) const
{
    if (column < 0 || column >= GetColumns())
        return -1;
    return m_header->GetItemImage(column);
}

bool CXListCtrl::SetHeaderCheckedState(int column, int state)
{
    if (column < 0 || column >= GetColumns())
        return false;
    if (m_header->GetItemImage(column) == state)
        return true;
    m_header->SetItemImage(column, state);
    m_header->viewport()->repaint();
    emit headerCheckedStateChanged(column, state);
    return true;
}

int CXListCtrl::CountCheckedItems(int column) const
{
    if (column < 0 || column >= GetColumns())
        return 0;
    int count = 0;
    for (int row = 0; row < GetItemCount(); ++row)
        count += GetCheckbox(row, column) == 1 ? 1 : 0;
    return count;
}

void CXListCtrl::onColumnClicked(int column)
{
    const int state = GetHeaderCheckedState(column);
    if (state <= 0)
        return;
    const int flipped = state == 1 ? 2 : 1;
    SetHeaderCheckedState(column, flipped);
    for (int row = 0; row < GetItemCount(); ++row) {
        XListCell* c = cell(row, column);
        if (c && c->checkState != -1) {
            c->checkState = flipped == 2 ? 1 : 0;
            UpdateSubItem(row, column);
        }
    }
}

// ---- cell fields ------------------------------------------------------------

quint32 CXListCtrl::GetItemData(int row) const
{
    const XListCell* c = cell(row, 0);
    return c ? c->userData : 0;
}

bool CXListCtrl::SetItemData(int row, quint32 data)
{
    XListCell* c = cell(row, 0);
    if (!c)
        return false;
    c->userData = data;
    return true;
}

bool CXListCtrl::SetEnabled(int row, bool enabled)
{
    XListCell* c = cell(row, 0);
    if (!c)
        return false;
    c->enabled = enabled;
    viewport()->update();
    return true;
}

bool CXListCtrl::GetEnabled(int row) const
{
    const XListCell* c = cell(row, 0);
    return c && c->enabled;
}

bool CXListCtrl::SetBold(int row, int column, bool bold)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->bold = bold;
    UpdateSubItem(row, column);
    return true;
}

bool CXListCtrl::SetItemImage(int row, int column, int image)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->image = image;
    UpdateSubItem(row, column);
    return true;
}

bool CXListCtrl::SetItemToolTipText(int row, int column, const QString& text)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->toolTip = text;
    return true;
}

QString CXListCtrl::GetItemToolTipText(int row, int column) const
{
    const XListCell* c = cell(row, column);
    return c ? c->toolTip : QString();
}

bool CXListCtrl::SetItemColors(int row, int column, const QColor& text, const QColor& background)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->textColour = text;
    c->backgroundColour = background;
    UpdateSubItem(row, column);
    return true;
}

bool CXListCtrl::SetComboBox(int row, int column, bool enable, const QStringList* strings, int listHeight,
                             int initialSelection)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->combo = enable;
    c->comboStrings = strings;
    c->comboListHeight = std::max(1, listHeight);
    c->initialComboSelection = initialSelection;
    UpdateSubItem(row, column);
    return true;
}

bool CXListCtrl::SetProgress(int row, int column, bool showText, const QString& text)
{
    XListCell* c = cell(row, column);
    if (!c)
        return false;
    c->progress = true;
    c->progressPercent = 0;
    c->showProgressText = showText;
    c->progressText = text;
    UpdateSubItem(row, column);
    return true;
}

bool CXListCtrl::UpdateProgress(int row, int column, int percent)
{
    XListCell* c = cell(row, column);
    if (!c || !c->progress)
        return false;
    c->progressPercent = std::clamp(percent, 0, 100);
    UpdateSubItem(row, column);
    return true;
}

void CXListCtrl::UpdateSubItem(int row, int column)
{
    const QRect rect = GetSubItemRect(row, column);
    if (!rect.isEmpty())
        viewport()->repaint(rect);
}

QRect CXListCtrl::GetSubItemRect(int row, int column) const
{
    if (!inRange(row, column))
        return {};
    return visualRect(m_model->index(row, column));
}

QString CXListCtrl::FormatProgressText(const QString& text, int percent)
{
    const QString format = text.isEmpty() ? QStringLiteral("%d%%") : text;
    QString out;
    bool placed = false;
    for (int i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (format[i + 1] == u'd' && !placed) {
                out += QString::number(percent);
                placed = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

// ---- painting ---------------------------------------------------------------

QImage CXListCtrl::Render()
{
    return grab().toImage();
}

void CXListCtrl::selectionColours(int row, int column, QColor& text, QColor& background) const
{
    if (!selectionModel()->isRowSelected(row, {}))
        return;
    if (column != 0 && !(m_extendedStyle & XListStyle::FullRowSelect))
        return;
    if (hasFocus()) {
        text = m_colours.highlightText;
        background = m_colours.highlight;
    } else if (m_showSelAlways) {
        text = m_colours.windowText;
        background = m_colours.faceUnfocusedSelection;
    }
}

void CXListCtrl::paintCell(QPainter& painter, int row, int column, const QRect& rect)
{
    const XListCell* c = cell(row, column);
    const XListCell* first = cell(row, 0);
    QColor text = m_colours.windowText;
    QColor back = m_colours.window;
    if (c) {
        text = c->textColour.isValid() ? c->textColour : text;
        back = c->backgroundColour.isValid() ? c->backgroundColour : back;
    }
    const bool grey = (first && !first->enabled) || (m_model->rows[row].state & LVIS_CUT);
    if (grey)
        text = m_colours.greyText;
    if (c && c->progress) {
        drawProgress(painter, row, column, rect, text, back);
    } else if (c && c->combo && selectionModel()->isRowSelected(row, {})) {
        drawCombo(painter, row, column, rect);
    } else if (c && c->checkState != -1) {
        drawCheckbox(painter, row, column, rect, text, back);
    } else {
        QRect area = rect;
        selectionColours(row, column, text, back);
        if (grey)
            text = m_colours.greyText;
        painter.fillRect(area, back);
        drawImage(painter, row, column, area, back);
        drawText(painter, row, column, area, text, back);
    }
}

void CXListCtrl::drawText(QPainter& painter, int row, int column, QRect rect, const QColor& text, const QColor&)
{
    const QString value = m_model->text(row, column);
    if (value.isEmpty())
        return;
    unsigned format = DrawTextFormat::VCenter | DrawTextFormat::SingleLine;
    const XListAlign align = GetColumnAlign(column);
    if (align == XListAlign::Center)
        format |= DrawTextFormat::Center;
    else if (align == XListAlign::Right)
        format |= DrawTextFormat::Right;
    QFont font = painter.font();
    const XListCell* c = cell(row, column);
    if (c && c->bold)
        font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setPen(text);
    drawFormattedText(painter, rect, value, format);
}

void CXListCtrl::drawImage(QPainter& painter, int row, int column, QRect& rect, const QColor& back)
{
    const XListCell* c = cell(row, column);
    if (!m_images || !c || c->image < 0)
        return;
    const int spacing = m_header->GetSpacing();
    const QSize size = m_images->GetImageSize();
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(QRect(rect.left() + spacing, rect.top(), size.width(), rect.height()) & rect, back);
    m_images->Draw(painter, c->image, rect.left() + spacing, rect.top() + (rect.height() - size.height()) / 2);
    painter.restore();
    rect.setLeft(rect.left() + spacing + size.width());
}

void CXListCtrl::drawCheckbox(QPainter& painter, int row, int column, const QRect& rect, QColor text, QColor back)
{
    selectionColours(row, column, text, back);
    const XListCell* c = cell(row, column);
    const XListCell* first = cell(row, 0);
    const bool disabled = first && !first->enabled;
    painter.fillRect(rect, back);
    const WinRect cellRect(rect);
    const int side = cellRect.height() - 1;
    const QString value = m_model->text(row, column);
    const int left = value.isEmpty() ? cellRect.left + cellRect.width() / 2 - side / 2 - 1 : cellRect.left + 9;
    WinRect box(left, cellRect.top, left + side, cellRect.top + side);
    painter.fillRect(box.rect(), m_colours.window);
    box.left += 1;
    drawEdge(painter, box, m_colours.shadow, m_colours.highlight3d, platform::sysColor(platform::COLOR_3DDKSHADOW),
             platform::sysColor(platform::COLOR_3DLIGHT));
    if (c->checkState == 1) {
        painter.setPen(QPen(disabled ? m_colours.greyText : QColor(Qt::black), 1));
        for (int stroke = 0; stroke < 7; ++stroke) {
            const int x = box.left + 9 - stroke;
            const int y = box.top + 3 + (stroke <= 3 ? stroke : 6 - stroke);
            painter.drawLine(x, y, x, y + 2);
        }
    }
    if (!value.isEmpty()) {
        painter.setPen(text);
        drawFormattedText(painter, WinRect(box.right + kCheckboxTextGap, cellRect.top, cellRect.right, cellRect.bottom).rect(),
                          value, DrawTextFormat::VCenter | DrawTextFormat::SingleLine);
    }
}

void CXListCtrl::drawProgress(QPainter& painter, int row, int column, const QRect& rect, const QColor& text,
                              const QColor& back)
{
    const XListCell* c = cell(row, column);
    WinRect r(rect);
    r.left += 1;
    r.right -= 2;
    r.bottom -= 1;
    painter.fillRect(rect, back);
    painter.setPen(m_colours.shadow);
    hline(painter, r.left, r.right + 1, r.top);
    hline(painter, r.left, r.right + 1, r.bottom);
    vline(painter, r.left, r.top, r.bottom + 1);
    vline(painter, r.right, r.top, r.bottom + 1);
    painter.fillRect(WinRect(r.left + 1, r.top + 1, r.right, r.bottom).rect(), QColor(224, 224, 224));
    painter.setPen(Qt::black);
    hline(painter, r.left + 1, r.right, r.top + 1);
    vline(painter, r.left + 1, r.top + 1, r.bottom);
    const WinRect bar(r.left + 2, r.top + 2, r.right, r.bottom);
    int filledRight = bar.left;
    if (c->progressPercent > 0) {
        filledRight = bar.left + bar.width() * c->progressPercent / 100 + 1;
        painter.fillRect(WinRect(bar.left, bar.top, filledRight, bar.bottom).rect(), m_colours.highlight);
    }
    if (c->showProgressText) {
        const QString value = FormatProgressText(c->progressText, c->progressPercent);
        const QRect textRect = WinRect(r.left + 2, r.top + 1, r.right - 1, r.bottom - 1).rect();
        const unsigned format = DrawTextFormat::Center | DrawTextFormat::VCenter | DrawTextFormat::SingleLine;
        painter.save();
        painter.setClipRect(WinRect(r.left, r.top, filledRight, r.bottom).rect());
        painter.setPen(back);
        drawFormattedText(painter, textRect, value, format);
        painter.setClipRect(WinRect(filledRight, r.top, r.right + 1, r.bottom + 1).rect());
        painter.setPen(text);
        drawFormattedText(painter, textRect, value, format);
        painter.restore();
    }
}

void CXListCtrl::drawCombo(QPainter& painter, int row, int column, const QRect& rect)
{
    XListCell* c = cell(row, column);
    const XListCell* first = cell(row, 0);
    const bool disabled = first && !first->enabled;
    painter.fillRect(rect, m_colours.window);
    WinRect r(rect);
    r.left += 1;
    r.top += 1;
    r.right -= 2;
    painter.setPen(m_colours.comboFrame);
    painter.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    const int side = r.height();
    const WinRect button(r.right - side, r.top, r.right, r.bottom);
    painter.fillRect(WinRect(r.left + 2, r.top + 2, button.left, r.bottom - 2).rect(), Qt::white);
    QString& text = m_model->rows[row].texts[column];
    if (text.isEmpty() && c->comboStrings && c->initialComboSelection >= 0 &&
        c->initialComboSelection < c->comboStrings->size())
        text = c->comboStrings->at(c->initialComboSelection);
    if (!text.isEmpty()) {
        painter.setPen(disabled ? m_colours.greyText : m_colours.windowText);
        drawFormattedText(painter, WinRect(r.left + 2, r.top, button.left - 1, r.bottom).rect(), text,
                          DrawTextFormat::VCenter | DrawTextFormat::SingleLine);
    }
    painter.fillRect(button.rect(), m_colours.face);
    const int shift = c->comboOpen ? 1 : 0;
    if (c->comboOpen) {
        m_comboButtonRect = button.rect();
        drawEdge(painter, button, m_colours.shadow, m_colours.highlight3d,
                 platform::sysColor(platform::COLOR_3DDKSHADOW), platform::sysColor(platform::COLOR_3DLIGHT));
    } else {
        drawEdge(painter, button, platform::sysColor(platform::COLOR_3DLIGHT),
                 platform::sysColor(platform::COLOR_3DDKSHADOW), m_colours.highlight3d, m_colours.shadow);
    }
    painter.setPen(Qt::black);
    const int x = button.left + (button.width() - 5) / 2 + shift;
    const int y = button.top + (button.height() - 3) / 2 + shift;
    for (int line = 0; line < 3; ++line)
        hline(painter, x + line, x + 5 - line, y + line);
}

// ---- the combo cell's drop-down list ---------------------------------------

void CXListCtrl::openComboList(int row, int column)
{
    XListCell* c = cell(row, column);
    if (!c || m_comboList)
        return;
    m_comboRow = row;
    m_comboColumn = column;
    WinRect r(GetSubItemRect(row, column));
    r.left += 1;
    r.top += 1;
    r.right -= 2;
    const int height = std::max(1, (r.height() - 2) * c->comboListHeight);
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(r.left, r.bottom - 1));
    auto* popup = new CXComboList(this, this);
    popup->setFont(font());
    if (c->comboStrings) {
        for (const QString& item : *c->comboStrings)
            if (!item.isEmpty())
                popup->AddString(item);
    }
    int selection = -1;
    QString& text = m_model->rows[row].texts[column];
    if (text.isEmpty()) {
        if (popup->GetCount() > 0) {
            selection = 0;
            SetItemText(row, column, popup->GetText(0));
        }
    } else {
        selection = std::max(0, popup->FindStringExact(text));
        if (popup->GetCount() == 0)
            selection = -1;
    }
    popup->SetCurSel(selection);
    m_initialText = selection >= 0 ? popup->GetText(selection) : QString();
    popup->setGeometry(QRect(topLeft, QSize(std::max(1, r.width() - 1), height)));
    m_comboList = popup;
    popup->show();
    popup->SetActive(kComboScrollBarWidth);
}

void CXListCtrl::closeComboList()
{
    if (!m_comboList)
        return;
    CXComboList* popup = m_comboList;
    m_comboList = nullptr;
    popup->hide();
    popup->deleteLater();
}

void CXListCtrl::cancelComboList()
{
    if (m_comboList)
        OnComboListEscape();
}

void CXListCtrl::unpressComboButton()
{
    if (m_inClick || !m_comboButtonPressed)
        return;
    m_inClick = true;
    if (XListCell* c = cell(m_comboRow, m_comboColumn)) {
        c->comboOpen = false;
        UpdateSubItem(m_comboRow, m_comboColumn);
    }
    m_comboButtonPressed = false;
    m_inClick = false;
}

void CXListCtrl::OnComboListReturn()
{
    m_timer1.stop();
    m_timer3.start();
}

void CXListCtrl::OnComboListLButtonUp()
{
    OnComboListReturn();
}

void CXListCtrl::OnComboListKeyDown()
{
    m_timer4.start();
}

void CXListCtrl::OnComboListEscape()
{
    m_timer1.stop();
    m_timer2.start();
    if (inRange(m_comboRow, m_comboColumn))
        SetItemText(m_comboRow, m_comboColumn, m_initialText);
}

void CXListCtrl::onTimer1()
{
    if (m_comboButtonPressed) {
        const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
        if (!m_comboButtonRect.contains(at))
            unpressComboButton();
        return;
    }
    if (!m_comboList)
        m_timer1.stop();
    else
        m_comboList->SetActive(kComboScrollBarWidth);
}

void CXListCtrl::onTimer2()
{
    closeComboList();
}

void CXListCtrl::onTimer3()
{
    if (m_comboList && m_comboList->GetCurSel() >= 0 && inRange(m_comboRow, m_comboColumn)) {
        SetItemText(m_comboRow, m_comboColumn, m_comboList->GetText(m_comboList->GetCurSel()));
        emit comboSelection(m_comboRow, m_comboColumn);
    }
    closeComboList();
}

void CXListCtrl::onTimer4()
{
    if (m_comboList && m_comboList->GetCurSel() >= 0 && inRange(m_comboRow, m_comboColumn))
        SetItemText(m_comboRow, m_comboColumn, m_comboList->GetText(m_comboList->GetCurSel()));
}

// ---- mouse and tool tips -----------------------------------------------------

void CXListCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    if (row < 0 || column < 0) {
        cancelComboList();
        QTableView::mousePressEvent(event);
        return;
    }
    const XListCell* first = cell(row, 0);
    if (!first || !first->enabled)
        return;  // the row ignores the click: not even selected
    XListCell* c = cell(row, column);
    if (c && c->checkState != -1) {
        c->checkState = c->checkState != 0 ? 0 : 1;
        UpdateSubItem(row, column);
        emit checkboxClicked(row, column);
        emit checkboxToggled(row, column);
        updateHeaderFromRows(column);
    } else if (c && c->combo) {
        closeComboList();
        const QRect rect = GetSubItemRect(row, column);
        if (point.x() >= rect.left() + rect.width() - rect.height()) {
            c->comboOpen = true;
            m_comboButtonPressed = true;
            m_comboRow = row;
            m_comboColumn = column;
            QTableView::mousePressEvent(event);
            m_selectionMark = row;
            UpdateSubItem(row, column);
            openComboList(row, column);
            m_timer1.start();
            return;
        }
    } else {
        cancelComboList();
    }
    QTableView::mousePressEvent(event);
    m_selectionMark = row;
}

void CXListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if ((m_extendedStyle & XListStyle::TrackSelect) && event->buttons() == Qt::NoButton) {
        const int row = rowAt(event->position().toPoint().y());
        if (row != m_trackRow || !m_trackTimer.isActive()) {
            m_trackRow = row;
            if (row >= 0)
                m_trackTimer.start();
            else
                m_trackTimer.stop();
        }
    }
    QTableView::mouseMoveEvent(event);
}

int CXListCtrl::ToolHitTest(const QPoint& point, QString* text) const
{
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    if (row < 0 || column < 0)
        return 0;
    QRect label = GetSubItemRect(row, column);
    const XListCell* c = cell(row, column);
    if (m_images && c && c->image >= 0)
        label.setLeft(label.left() + m_header->GetSpacing() + m_images->GetImageSize().width());
    if (!label.contains(point))
        return 0;
    if (text)
        *text = c ? c->toolTip.left(kToolTipChars) : QString();
    return row * 1000 + column + 1;
}

bool CXListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QString text;
        if (ToolHitTest(help->pos(), &text) != 0 && !text.isEmpty())
            QToolTip::showText(help->globalPos(), text, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // The click is complete: a pressed combo button comes up.
        const bool result = QTableView::viewportEvent(event);
        unpressComboButton();
        return result;
    }
    return QTableView::viewportEvent(event);
}

}  // namespace shared
