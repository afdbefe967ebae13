// The report list's core: construction, columns, rows, check boxes and cell
// fields. Its drawing, the combo cells' drop-down list and the mouse are in
// xlist_ctrl_draw.cpp, xlist_ctrl_combo.cpp and xlist_ctrl_mouse.cpp.
#include "shared/widgets/xlist_ctrl.h"

#include <QEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

#include "platform/fonts.h"
#include "platform/sys_colors.h"
#include "shared/widgets/xheader_ctrl.h"
#include "shared/widgets/xlist_ctrl_internal.h"

namespace shared {

namespace {

constexpr int kTimer1Ms = 100;
constexpr int kDelayedMs = 50;
constexpr int kHoverSelectMs = 400;

}  // namespace

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

}  // namespace shared
