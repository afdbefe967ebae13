// The HTML drawer's set-up and its two passes, measuring and drawing. Tag
// reading is in html_drawer_tags.cpp, the layout of runs in
// html_drawer_layout.cpp, tables in html_drawer_table.cpp and the painting
// of items, backgrounds and pictures in html_drawer_paint.cpp.
#include "shared/html/html_drawer.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

#include "shared/html/html_drawer_internal.h"

namespace shared {

using namespace html_detail;

CHtmlDrawer::CHtmlDrawer()
{
    SetCssStyles(QString());
}

void CHtmlDrawer::SetCssStyles(const QString& text)
{
    m_sheet = ParseHtmlStyleSheet(text, HtmlLengthUnits{});
    // The declarations are kept as written too: they are applied onto the
    // style in force when a tag opens, with the lengths of the painter being
    // drawn on, so "65%" is of the surrounding size.
    m_declarations.clear();
    const QString sheet = text.isEmpty() ? HtmlDefaultStyleSheet() : text;
    qsizetype at = 0;
    const qsizetype size = sheet.size();
    while (at < size) {
        while (at < size && sheet[at].isSpace())
            ++at;
        if (at >= size)
            break;
        const qsizetype selectorStart = at;
        while (at < size && !sheet[at].isSpace() && sheet[at] != u'{')
            ++at;
        const QString selector = sheet.mid(selectorStart, at - selectorStart);
        const qsizetype open = sheet.indexOf(u'{', at);
        if (open < 0)
            break;
        qsizetype close = sheet.indexOf(u'}', open + 1);
        if (close < 0)
            close = size;
        m_declarations.insert(selector, sheet.mid(open + 1, close - open - 1));
        at = close + 1;
    }
}

void CHtmlDrawer::SetShadow(int offsetX, int offsetY, bool soft)
{
    m_shadowX = std::clamp(offsetX, -64, 64);
    m_shadowY = std::clamp(offsetY, -64, 64);
    m_softShadow = soft;
}

int CHtmlDrawer::HotAreaAt(const QPoint& point) const
{
    for (int i = 0; i < m_hotAreas.size(); ++i) {
        if (m_hotAreas[i].rect.contains(point))
            return i;
    }
    return -1;
}

namespace {

QString Wrapped(const QString& text)
{
    return QStringLiteral("<body>") + text + QStringLiteral("</body>");
}

}  // namespace

QSize CHtmlDrawer::DrawHtmlOnBitmap(QPainter& painter, const QString& text)
{
    m_tables.clear();
    if (text.isEmpty() || !painter.device())
        return {0, 0};
    Context context;
    context.painter = &painter;
    context.tokens = Tokenize(Wrapped(text), m_controlCharacters);
    context.units.dotsPerInch = std::max(painter.device()->logicalDpiY(), 1);
    context.measuring = true;
    m_tables.clear();
    ApplyEntry(context, QStringLiteral("body"));
    context.units.emHeight = context.bodyHeight = QFontMetrics(FontFor(m_fonts, context.state.style)).height();
    const QSize size = Layout(context, 0, int(context.tokens.size()), QRect(0, 0, painter.device()->width(), 0), false);
    return {size.width() + 1, size.height() + 1};
}

void CHtmlDrawer::DrawHtml(QPainter& painter, const QString& text, const QRect& rect)
{
    m_hotAreas.clear();
    if (text.isEmpty())
        return;
    const QRect area = rect.adjusted(0, 0, -1, -1);
    if (area.isEmpty())
        return;
    Context context;
    context.painter = &painter;
    context.tokens = Tokenize(Wrapped(text), m_controlCharacters);
    context.units.dotsPerInch = painter.device() ? std::max(painter.device()->logicalDpiY(), 1) : 96;
    ApplyEntry(context, QStringLiteral("body"));
    context.units.emHeight = context.bodyHeight = QFontMetrics(FontFor(m_fonts, context.state.style)).height();
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    Layout(context, 0, int(context.tokens.size()), area, true);
    painter.restore();
}

}  // namespace shared
