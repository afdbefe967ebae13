// The HTML drawer's tables: rows and cells read, cells placed round row and
// column spans, measured, widened to the table's width and drawn.
#include "shared/html/html_drawer.h"

#include <QPainter>
#include <QSet>

#include <algorithm>

#include "shared/html/html_drawer_internal.h"

namespace shared {

using namespace html_detail;

QSize CHtmlDrawer::LayoutTable(Context& context, int begin, int end, const QRect& area, bool draw, int depth)
{
    if (depth >= kMaxTableDepth)
        return {0, 0};
    struct Cell {
        int begin = 0;
        int end = 0;
        int row = 0;
        int column = 0;
        int columns = 1;
        int rows = 1;
        HtmlStyle style;
        QSize content;
    };
    const Token& tableToken = context.tokens[begin];
    HtmlStyle tableStyle;
    const auto entry = m_declarations.constFind(QStringLiteral("table"));
    if (entry != m_declarations.constEnd())
        ApplyHtmlDeclarations(tableStyle, *entry, context.units);
    ApplyTableAttributes(tableStyle, tableToken, context.units);

    // The rows and cells of this table; nested tables stay in their cell.
    QVector<Cell> cells;
    int rows = 0;
    int nesting = 0;
    int open = -1;  // the cell whose content is being read
    for (int at = begin + 1; at < end; ++at) {
        const Token& token = context.tokens[at];
        if (token.name == u"table" && (token.kind == Token::Open || token.kind == Token::Close)) {
            nesting += token.kind == Token::Open ? 1 : -1;
            continue;
        }
        if (nesting > 0)
            continue;
        if (token.name != u"tr" && token.name != u"td")
            continue;
        if (open >= 0) {
            cells[open].end = at;
            open = -1;
        }
        if (token.kind == Token::Open && token.name == u"tr") {
            ++rows;
        } else if (token.kind == Token::Open && token.name == u"td") {
            if (rows == 0)
                rows = 1;
            if (rows > kMaxRows)
                continue;
            Cell cell;
            cell.begin = at + 1;
            cell.end = end;
            cell.row = rows - 1;
            cell.style = HtmlStyle();
            const auto cellEntry = m_declarations.constFind(QStringLiteral("td"));
            if (cellEntry != m_declarations.constEnd())
                ApplyHtmlDeclarations(cell.style, *cellEntry, context.units);
            // Cells take the table's frame, padding and spacing.
            cell.style.borderStyle = tableStyle.borderStyle;
            cell.style.borderWidth = tableStyle.borderWidth;
            cell.style.borderLight = tableStyle.borderLight;
            cell.style.borderDark = tableStyle.borderDark;
            cell.style.paddingLeft = tableStyle.paddingLeft;
            cell.style.paddingRight = tableStyle.paddingRight;
            cell.style.paddingTop = tableStyle.paddingTop;
            cell.style.paddingBottom = tableStyle.paddingBottom;
            cell.style.marginLeft = tableStyle.marginLeft;
            cell.style.marginRight = tableStyle.marginRight;
            cell.style.marginTop = tableStyle.marginTop;
            cell.style.marginBottom = tableStyle.marginBottom;
            ApplyTableAttributes(cell.style, token, context.units);
            cell.columns = std::clamp(ReadCount(token.attribute(QStringLiteral("colspan"))), 1, kMaxSpan);
            cell.rows = std::clamp(ReadCount(token.attribute(QStringLiteral("rowspan"))), 1, kMaxSpan);
            cells.append(cell);
            open = int(cells.size()) - 1;
        }
    }
    rows = std::min(rows, kMaxRows);
    if (cells.isEmpty() || rows == 0)
        return {0, 0};  // a table without cells is skipped

    // Places the cells row by row, a slot taken by a row span above skipped.
    QSet<qint64> taken;
    int columns = 0;
    int previousRow = -1;
    int column = 0;
    QVector<Cell> placed;
    for (Cell& cell : cells) {
        if (cell.row != previousRow) {
            previousRow = cell.row;
            column = 0;
        }
        cell.rows = std::min(cell.rows, rows - cell.row);
        while (taken.contains(qint64(cell.row) * kMaxColumns * 2 + column))
            ++column;
        if (column + cell.columns > kMaxColumns)
            continue;
        cell.column = column;
        for (int r = cell.row; r < cell.row + cell.rows; ++r) {
            for (int c = column; c < column + cell.columns; ++c)
                taken.insert(qint64(r) * kMaxColumns * 2 + c);
        }
        column += cell.columns;
        columns = std::max(columns, column);
        placed.append(cell);
    }
    if (placed.isEmpty())
        return {0, 0};

    const auto frameOf = [](const HtmlStyle& style) {
        return style.borderWidth == 0 ? 0 : (style.borderStyle == 6 ? 3 : 1);
    };
    const int tableFrame = tableStyle.borderWidth * (tableStyle.borderStyle == 6 ? 6 : 2);
    const int available = std::max(area.width() - tableFrame, 1);

    // Measures every cell's content in its own copy of the text style.
    const Context::State saved = context.state;
    const QVector<Context::State> savedStack = context.stack;
    const int linkStart = context.linkCounter;
    ++context.depth;
    QVector<QSize> outer(placed.size());
    for (int i = 0; i < placed.size(); ++i) {
        Cell& cell = placed[i];
        context.state = saved;
        cell.content = Layout(context, cell.begin, cell.end, QRect(0, 0, available, 0), false);
        const HtmlStyle& s = cell.style;
        const int frame = 2 * frameOf(s);
        outer[i] = QSize(cell.content.width() + s.marginLeft + s.marginRight + frame + s.paddingLeft + s.paddingRight,
                         cell.content.height() + s.marginTop + s.marginBottom + frame + s.paddingTop +
                             s.paddingBottom);
    }
    QVector<int> widths(columns, 0);
    QVector<int> heights(rows, 0);
    for (int i = 0; i < placed.size(); ++i) {
        if (placed[i].columns == 1)
            widths[placed[i].column] = std::max(widths[placed[i].column], outer[i].width());
        if (placed[i].rows == 1)
            heights[placed[i].row] = std::max(heights[placed[i].row], outer[i].height());
    }
    // A spanning cell wider or taller than its slots widens the last of them.
    for (int i = 0; i < placed.size(); ++i) {
        const Cell& cell = placed[i];
        int span = 0;
        for (int c = cell.column; c < cell.column + cell.columns; ++c)
            span += widths[c];
        if (span < outer[i].width())
            widths[cell.column + cell.columns - 1] += outer[i].width() - span;
        span = 0;
        for (int r = cell.row; r < cell.row + cell.rows; ++r)
            span += heights[r];
        if (span < outer[i].height())
            heights[cell.row + cell.rows - 1] += outer[i].height() - span;
    }
    int columnsWidth = 0;
    for (const int w : widths)
        columnsWidth += w;
    int target = area.width();
    bool hasWidth = false;
    const QString widthText = tableToken.attribute(QStringLiteral("width"), &hasWidth).trimmed();
    if (hasWidth && !widthText.isEmpty()) {
        target = widthText.endsWith(u'%')
                     ? std::min(area.width(), ReadHtmlLength(widthText, area.width(), false, context.units))
                     : ReadHtmlLength(widthText, area.width(), false, context.units);
    }
    const int spread = target - tableFrame - columnsWidth;
    if (spread > 0) {
        for (int& w : widths)
            w += spread / columns;
        widths[0] += spread % columns;
        columnsWidth += spread;
    }
    int rowsHeight = 0;
    for (const int h : heights)
        rowsHeight += h;
    const QSize size(columnsWidth + tableFrame, rowsHeight + tableFrame);
    if (context.measuring)
        m_tables.append({widths, heights});

    if (draw) {
        QPainter& painter = *context.painter;
        int left = area.left();
        if (size.width() < area.width()) {
            if (tableStyle.horizontalAlign == 1)
                left += (area.width() - size.width()) / 2;
            else if (tableStyle.horizontalAlign == 2)
                left += area.width() - size.width();
        }
        const QRect tableRect(left, area.top(), size.width(), size.height());
        FillBackground(painter, tableStyle, tableRect);
        m_effects.DrawRectangle(painter, tableRect, tableStyle.borderLight, tableStyle.borderDark,
                                tableStyle.borderStyle, tableStyle.borderWidth);
        context.linkCounter = linkStart;
        QVector<int> columnLeft(columns + 1, left + tableFrame / 2);
        for (int c = 0; c < columns; ++c)
            columnLeft[c + 1] = columnLeft[c] + widths[c];
        QVector<int> rowTop(rows + 1, area.top() + tableFrame / 2);
        for (int r = 0; r < rows; ++r)
            rowTop[r + 1] = rowTop[r] + heights[r];
        for (const Cell& cell : placed) {
            const HtmlStyle& s = cell.style;
            const QRect slot = QRect(QPoint(columnLeft[cell.column], rowTop[cell.row]),
                                     QPoint(columnLeft[cell.column + cell.columns] - 1,
                                            rowTop[cell.row + cell.rows] - 1))
                                   .adjusted(s.paddingLeft, s.paddingTop, -s.paddingRight, -s.paddingBottom);
            FillBackground(painter, s, slot);
            m_effects.DrawRectangle(painter, slot, s.borderLight, s.borderDark, s.borderStyle, 1);
            const int frame = frameOf(s);
            const QRect inner = slot.adjusted(frame + s.marginLeft, frame + s.marginTop, -frame - s.marginRight,
                                              -frame - s.marginBottom);
            int x = inner.left();
            int y = inner.top();
            if (s.horizontalAlign == 1)
                x += std::max(0, (inner.width() - cell.content.width()) / 2);
            else if (s.horizontalAlign == 2)
                x += std::max(0, inner.width() - cell.content.width());
            if (s.verticalAlign == 1)
                y += std::max(0, (inner.height() - cell.content.height()) / 2);
            else if (s.verticalAlign == 2)
                y += std::max(0, inner.height() - cell.content.height());
            context.state = saved;
            Layout(context, cell.begin, cell.end, QRect(x, y, std::max(cell.content.width(), 1), 0), true);
        }
    }
    --context.depth;
    context.state = saved;
    context.stack = savedStack;
    return size;
}

}  // namespace shared
