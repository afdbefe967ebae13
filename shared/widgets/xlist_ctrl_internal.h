#pragma once
// What the report list's source files share: the rows and columns behind the
// list and a Windows rectangle over a QRect.
#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <vector>

#include "shared/widgets/xlist_ctrl.h"

namespace shared {

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

}  // namespace shared
