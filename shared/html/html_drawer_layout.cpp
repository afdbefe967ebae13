// The HTML drawer's layout: a text's blocks between tables, and the runs,
// tabs, breaks, rules and pictures of a block set in lines.
#include "shared/html/html_drawer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "shared/html/html_drawer_internal.h"
#include "shared/widgets/image_list.h"

namespace shared {

using namespace html_detail;

namespace {

QString Transform(const QString& text, int transform)
{
    switch (transform) {
    case 1:
        return text.toUpper();
    case 2:
        return text.toLower();
    case 3: {
        QString result = text.toLower();
        for (qsizetype i = 0; i < result.size(); ++i) {
            const QChar c = result[i];
            if (c >= u'a' && c <= u'z' && (i == 0 || result[i - 1] == u' '))
                result[i] = c.toUpper();
        }
        return result;
    }
    default:
        return text;
    }
}

}  // namespace

QSize CHtmlDrawer::Layout(Context& context, int begin, int end, const QRect& area, bool draw)
{
    int width = 0;
    int height = 0;
    int at = begin;
    while (at < end) {
        int tableAt = at;
        while (tableAt < end &&
               !(context.tokens[tableAt].kind == Token::Open && context.tokens[tableAt].name == u"table"))
            ++tableAt;
        if (tableAt > at) {
            const QSize size =
                LayoutLines(context, at, tableAt, QRect(area.left(), area.top() + height, area.width(), 0), draw);
            width = std::max(width, size.width());
            height += size.height();
        }
        if (tableAt >= end)
            break;
        int close = tableAt + 1;
        for (int nesting = 0; close < end; ++close) {
            const Token& token = context.tokens[close];
            if (token.name != u"table" || (token.kind != Token::Open && token.kind != Token::Close))
                continue;
            if (token.kind == Token::Open)
                ++nesting;
            else if (nesting-- == 0)
                break;
        }
        const QRect below(area.left(), area.top() + height, area.width(), 0);
        const QSize size = LayoutTable(context, tableAt, close, below, draw, context.depth);
        width = std::max(width, size.width());
        height += size.height();
        at = close + 1;
    }
    return {width, height};
}

QSize CHtmlDrawer::LayoutLines(Context& context, int begin, int end, const QRect& area, bool draw)
{
    QPainter& painter = *context.painter;
    QVector<Item> items;
    int x = 0;
    int top = area.top();
    int width = 0;
    const int available = std::max(area.width(), 1);

    const auto finishLine = [&](int breaks) {
        int lineWidth = 0;
        int ascent = 0;
        int descent = 0;
        int tallest = 0;
        for (const Item& item : items) {
            lineWidth = std::max(lineWidth, item.x + item.width);
            if (item.style.verticalAlign == 3) {
                ascent = std::max(ascent, item.ascent);
                descent = std::max(descent, item.height - item.ascent);
            } else {
                tallest = std::max(tallest, item.height);
            }
        }
        int lineHeight = std::max(tallest, ascent + descent);
        if (items.isEmpty())
            lineHeight = context.bodyHeight;
        if (draw && !items.isEmpty()) {
            const int align = items.front().style.horizontalAlign;
            int offset = align == 1 ? (area.width() - lineWidth) / 2 : align == 2 ? area.width() - lineWidth : 0;
            offset = std::max(offset, 0);
            for (const Item& item : items) {
                int y = top;
                switch (item.style.verticalAlign) {
                case 1: y += (lineHeight - item.height) / 2; break;
                case 2: y += lineHeight - item.height; break;
                case 3: y += ascent - item.ascent; break;
                default: break;
                }
                const QRect box(area.left() + offset + item.x, y, item.width, item.height);
                DrawItem(painter, item, box, top, lineHeight);
            }
        }
        width = std::max(width, lineWidth);
        top += lineHeight * breaks;
        items.clear();
        x = 0;
    };
    const auto tab = [&](int count) {
        for (int i = 0; i < count; ++i)
            x = (x / kTabStop + 1) * kTabStop;
    };

    for (int at = begin; at < end; ++at) {
        const Token& token = context.tokens[at];
        const HtmlStyle& style = context.state.style;
        switch (token.kind) {
        case Token::Text: {
            const QString text = Transform(token.text, style.textTransform);
            Item item;
            item.font = FontFor(m_fonts, style);
            const QFontMetrics metrics(item.font);
            const QRect bounds = metrics.boundingRect(QRect(0, 0, available, 1 << 20),
                                                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
            item.x = x;
            item.width = bounds.width();
            item.height = bounds.height();
            item.ascent = metrics.ascent();
            item.text = text;
            item.style = style;
            item.link = context.state.link;
            items.append(item);
            x += item.width;
            break;
        }
        case Token::Tab:
            tab(token.count);
            break;
        case Token::Break:
            finishLine(token.count);
            break;
        case Token::Close:
            if (ContainerTags().contains(token.name) && !context.stack.isEmpty())
                context.state = context.stack.takeLast();
            break;
        case Token::Open: {
            const QString& name = token.name;
            if (name == u"br") {
                finishLine(token.count);
            } else if (name == u"t" || name == u"tab") {
                tab(token.count);
            } else if (name == u"hr") {
                Item item;
                item.kind = Item::Rule;
                HtmlStyle ruleStyle = style;
                const auto entry = m_declarations.constFind(QStringLiteral("hr"));
                if (entry != m_declarations.constEnd())
                    ApplyHtmlDeclarations(ruleStyle, *entry, context.units);
                item.style = ruleStyle;
                item.style.verticalAlign = 0;
                item.width = std::clamp(
                    ReadHtmlLength(token.attribute(QStringLiteral("width")), available, false, context.units), 0,
                    available);
                bool found = false;
                const QString size = token.attribute(QStringLiteral("size"), &found);
                item.ruleThickness =
                    std::clamp(found ? ReadHtmlLength(size, 2, false, context.units) : 2, 0, 256);
                item.ruleColour = ReadHtmlColour(token.attribute(QStringLiteral("color")), ruleStyle.textColour);
                item.height = item.ruleThickness + 8;
                item.x = x;
                items.append(item);
                x += item.width;
            } else if (name == u"bmp" || name == u"icon" || name == u"ilst") {
                Item item;
                item.style = style;
                item.link = context.state.link;
                QSize own;
                if (name == u"ilst") {
                    bool ok = false;
                    item.listIndex = token.attribute(QStringLiteral("index")).toInt(&ok);
                    if (!ok || !m_imageList || item.listIndex < 0 || item.listIndex >= m_imageList->GetImageCount())
                        break;
                    item.kind = Item::ListImage;
                    own = m_imageList->GetImageSize();
                } else {
                    item.kind = Item::Picture;
                    item.icon = name == u"icon";
                    item.picture = LoadPicture(token, item.icon);
                    if (item.picture.isNull())
                        break;
                    own = item.picture.size();
                    if (item.icon) {
                        bool okX = false;
                        bool okY = false;
                        const int cx = token.attribute(QStringLiteral("cx")).toInt(&okX);
                        const int cy = token.attribute(QStringLiteral("cy")).toInt(&okY);
                        if (okX && cx > 0)
                            own.setWidth(std::min(cx, kMaxPicture));
                        if (okY && cy > 0)
                            own.setHeight(std::min(cy, kMaxPicture));
                    }
                    bool hasMask = false;
                    const QString mask = token.attribute(QStringLiteral("mask"), &hasMask);
                    if (hasMask) {
                        item.mask = ReadHtmlColour(mask, QColor());
                        item.useMask = item.mask.isValid();
                    }
                    bool hasHot = false;
                    const QString letters = token.attribute(QStringLiteral("style"));
                    const QString hotLetters = token.attribute(QStringLiteral("hotstyle"), &hasHot);
                    const QString& chosen = item.link >= 0 && item.link == m_hotLink && hasHot ? hotLetters : letters;
                    for (const QChar c : chosen) {
                        switch (c.toLower().toLatin1()) {
                        case 'g': item.flags |= ImageEffect::Grey; break;
                        case 'd': item.flags |= ImageEffect::Darker; break;
                        case 'l': item.flags |= ImageEffect::Lighter; break;
                        case 's':
                            if (m_shadowX != 0 || m_shadowY != 0)
                                item.flags |= m_softShadow ? ImageEffect::SoftShadow : ImageEffect::Shadow;
                            break;
                        default: break;
                        }
                    }
                }
                bool hasWidth = false;
                bool hasHeight = false;
                const QString w = token.attribute(QStringLiteral("width"), &hasWidth);
                const QString h = token.attribute(QStringLiteral("height"), &hasHeight);
                int pw = own.width();
                int ph = own.height();
                if (item.kind == Item::Picture) {
                    if (hasWidth)
                        pw = ReadHtmlLength(w, own.width(), false, context.units);
                    if (hasHeight)
                        ph = ReadHtmlLength(h, own.height(), false, context.units);
                    // One side given: the other keeps the picture's proportions.
                    if (hasWidth && !hasHeight && own.width() > 0)
                        ph = int(qint64(own.height()) * pw / own.width());
                    if (hasHeight && !hasWidth && own.height() > 0)
                        pw = int(qint64(own.width()) * ph / own.height());
                }
                item.width = std::clamp(pw, 0, kMaxPicture);
                item.height = std::clamp(ph, 0, kMaxPicture);
                item.ascent = item.height;
                item.x = x;
                if (item.width > 0 && item.height > 0) {
                    items.append(item);
                    x += item.width;
                }
            } else if (ContainerTags().contains(name)) {
                OpenTag(context, token, draw);
            }
            break;
        }
        }
    }
    if (!items.isEmpty())
        finishLine(1);
    return {width, top - area.top()};
}

}  // namespace shared
