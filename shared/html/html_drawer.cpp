#include "shared/html/html_drawer.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QSet>

#include <algorithm>

#include "platform/fonts.h"
#include "shared/widgets/image_list.h"

namespace shared {

namespace {

constexpr int kTabStop = 32;
constexpr int kMaxCount = 64;         // br=n and t=n
constexpr int kMaxSpan = 64;          // colspan and rowspan
constexpr int kMaxTableDepth = 16;    // nested tables
constexpr int kMaxColumns = 256;      // cells beyond are dropped
constexpr int kMaxRows = 4096;
constexpr int kMaxStyleDepth = 1024;  // deeper tags still apply but are not undone
constexpr int kMaxPicture = 2048;     // a picture's side in pixels

}  // namespace

struct CHtmlDrawer::Token {
    enum Kind { Text, Open, Close, Tab, Break } kind = Text;
    QString name;  // tag name, lower case
    QString text;  // a run's text
    int count = 1;
    QVector<QPair<QString, QString>> attributes;  // names lower case, values without quotes

    QString attribute(const QString& key, bool* found = nullptr) const
    {
        for (const auto& [name, value] : attributes) {
            if (name == key) {
                if (found)
                    *found = true;
                return value;
            }
        }
        if (found)
            *found = false;
        return {};
    }
};

struct CHtmlDrawer::Item {
    enum Kind { Text, Rule, Picture, ListImage } kind = Text;
    int x = 0;  // from the line's left
    int width = 0;
    int height = 0;
    int ascent = 0;
    QString text;
    QFont font;
    HtmlStyle style;
    int link = -1;
    QImage picture;
    bool icon = false;
    unsigned flags = 0;
    bool useMask = false;
    QColor mask;
    int listIndex = 0;
    QColor ruleColour;
    int ruleThickness = 0;
};

struct CHtmlDrawer::Context {
    struct State {
        HtmlStyle style;
        int link = -1;  // the running index of the link the runs belong to
    };
    QPainter* painter = nullptr;
    QVector<Token> tokens;
    State state;
    QVector<State> stack;
    HtmlLengthUnits units;
    int bodyHeight = 0;
    int linkCounter = 0;
    int depth = 0;
    bool measuring = false;  // the measuring pass records the tables
};

namespace {

using Token = CHtmlDrawer::Token;

QString Unquote(QString value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

int ReadCount(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (!ok || text.isEmpty())
        return 1;
    return std::clamp(count, 0, kMaxCount);
}

// Reads what lies between "<" and ">".
Token ReadTag(const QString& content)
{
    Token token;
    qsizetype at = 0;
    const qsizetype size = content.size();
    while (at < size && content[at].isSpace())
        ++at;
    token.kind = Token::Open;
    if (at < size && content[at] == u'/') {
        token.kind = Token::Close;
        ++at;
    }
    const qsizetype nameStart = at;
    while (at < size && !content[at].isSpace() && content[at] != u'=')
        ++at;
    token.name = content.mid(nameStart, at - nameStart).toLower();
    if (at < size && content[at] == u'=') {  // br=n, t=n
        const qsizetype valueStart = ++at;
        while (at < size && !content[at].isSpace())
            ++at;
        token.count = ReadCount(content.mid(valueStart, at - valueStart));
    }
    while (at < size) {
        while (at < size && content[at].isSpace())
            ++at;
        if (at >= size)
            break;
        const qsizetype keyStart = at;
        while (at < size && !content[at].isSpace() && content[at] != u'=')
            ++at;
        const QString key = content.mid(keyStart, at - keyStart).toLower();
        while (at < size && content[at].isSpace())
            ++at;
        QString value;
        if (at < size && content[at] == u'=') {
            ++at;
            while (at < size && content[at].isSpace())
                ++at;
            if (at < size && (content[at] == u'"' || content[at] == u'\'')) {
                const QChar quote = content[at];
                const qsizetype close = content.indexOf(quote, at + 1);
                const qsizetype stop = close < 0 ? size : close;
                value = content.mid(at + 1, stop - at - 1);
                at = close < 0 ? size : close + 1;
            } else {
                const qsizetype valueStart = at;
                while (at < size && !content[at].isSpace())
                    ++at;
                value = Unquote(content.mid(valueStart, at - valueStart));
            }
        }
        if (!key.isEmpty())
            token.attributes.append({key, value});
    }
    return token;
}

// Cuts the text into runs and tags at "<", tab, line feed and carriage
// return; "<<" is a literal "<".
QVector<Token> Tokenize(const QString& text, bool controlCharacters)
{
    QVector<Token> tokens;
    QString run;
    const auto flush = [&] {
        if (!run.isEmpty()) {
            Token token;
            token.text = run;
            tokens.append(token);
            run.clear();
        }
    };
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        const QChar c = text[at];
        if (c == u'<') {
            if (at + 1 < size && text[at + 1] == u'<') {
                run += u'<';
                at += 2;
                continue;
            }
            flush();
            qsizetype close = text.indexOf(u'>', at + 1);
            if (close < 0)
                close = size;
            tokens.append(ReadTag(text.mid(at + 1, close - at - 1)));
            at = close + 1;
        } else if (c == u'\t' || c == u'\n' || c == u'\r') {
            flush();
            if (controlCharacters && c != u'\r') {
                Token token;
                token.kind = c == u'\t' ? Token::Tab : Token::Break;
                tokens.append(token);
            }
            ++at;
        } else {
            run += c;
            ++at;
        }
    }
    flush();
    return tokens;
}

const QSet<QString>& ContainerTags()
{
    static const QSet<QString> tags = {
        "b",    "bold",   "i",    "em",    "u",   "underline", "s",   "strike", "font",  "left",  "center",
        "right", "baseline", "top", "middle", "vcenter", "bottom", "body", "h1",  "h2",    "h3",    "h4",
        "h5",   "h6",     "code", "pre",   "big", "small",     "sub", "sup",    "p",     "span",  "a"};
    return tags;
}

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

int Alignment(const QString& value, int current)
{
    const QString v = value.trimmed().toLower();
    if (v == u"left")
        return 0;
    if (v == u"center" || v == u"centre")
        return 1;
    if (v == u"right")
        return 2;
    return current;
}

int VerticalAlignment(const QString& value, int current)
{
    const QString v = value.trimmed().toLower();
    if (v == u"top")
        return 0;
    if (v == u"middle" || v == u"vcenter")
        return 1;
    if (v == u"bottom")
        return 2;
    if (v == u"baseline")
        return 3;
    return current;
}

// The table and cell attributes.
void ApplyTableAttributes(HtmlStyle& style, const Token& token, const HtmlLengthUnits& units)
{
    for (const auto& [key, value] : token.attributes) {
        if (key == u"border") {
            style.borderWidth = std::clamp(ReadHtmlLength(value, style.borderWidth, false, units), 0, 64);
            if (style.borderWidth > 0 && style.borderStyle == 0)
                style.borderStyle = 1;
        } else if (key == u"borderstyle") {
            ApplyHtmlDeclarations(style, QStringLiteral("border-style:") + value, units);
        } else if (key == u"bordercolor") {
            style.borderLight = ReadHtmlColour(value, style.borderLight);
            style.borderDark = ReadHtmlColour(value, style.borderDark);
        } else if (key == u"bordercolorlight") {
            style.borderLight = ReadHtmlColour(value, style.borderLight);
        } else if (key == u"bordercolordark") {
            style.borderDark = ReadHtmlColour(value, style.borderDark);
        } else if (key == u"bgcolor") {
            style.backgroundColour = ReadHtmlColour(value, style.backgroundColour);
            style.backgroundEffect = Effect::Solid;
            style.backgroundMode = 2;
        } else if (key == u"bgmidcolor") {
            style.backgroundMiddle = ReadHtmlColour(value, style.backgroundMiddle);
        } else if (key == u"bgendcolor") {
            style.backgroundEnd = ReadHtmlColour(value, style.backgroundEnd);
        } else if (key == u"bgeffect") {
            style.backgroundEffect = std::clamp(ReadHtmlEffect(value), -1, 15);
        } else if (key == u"align") {
            style.horizontalAlign = Alignment(value, style.horizontalAlign);
        } else if (key == u"valign") {
            style.verticalAlign = VerticalAlignment(value, style.verticalAlign);
        } else if (key == u"cellpadding") {
            const int p = std::clamp(ReadHtmlLength(value, style.paddingLeft, false, units), 0, 1024);
            style.paddingLeft = style.paddingRight = style.paddingTop = style.paddingBottom = p;
        } else if (key == u"cellspacing") {
            const int m = std::clamp(ReadHtmlLength(value, style.marginLeft, false, units), 0, 1024);
            style.marginLeft = style.marginRight = style.marginTop = style.marginBottom = m;
        } else if (key == u"background") {
            style.backgroundImage = value;
        } else if (key == u"style") {
            ApplyHtmlDeclarations(style, value, units);
        }
    }
}

}  // namespace

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

QFont FontFor(QHash<QString, QFont>& cache, const HtmlStyle& style)
{
    const int size = std::clamp(style.fontSize, 1, 1024);
    const int weight = std::clamp(style.fontWeight, 1, 1000);
    const QString key = QStringLiteral("%1|%2|%3|%4%5%6")
                            .arg(style.fontFamily)
                            .arg(size)
                            .arg(weight)
                            .arg(int(style.italic))
                            .arg(int(style.underline))
                            .arg(int(style.strikeOut));
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    if (cache.size() > 256)
        cache.clear();
    const QByteArray face = style.fontFamily.toUtf8();
    QFont font = platform::fonts::gdiFont(std::string_view(face.constData(), size_t(face.size())), size, 0, 400);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    cache.insert(key, font);
    return font;
}

}  // namespace

void CHtmlDrawer::ApplyEntry(Context& context, const QString& selector)
{
    const auto found = m_declarations.constFind(selector);
    if (found != m_declarations.constEnd())
        ApplyHtmlDeclarations(context.state.style, *found, context.units);
}

void CHtmlDrawer::OpenTag(Context& context, const Token& token, bool draw)
{
    Q_UNUSED(draw);
    if (context.stack.size() < kMaxStyleDepth)
        context.stack.append(context.state);
    HtmlStyle& style = context.state.style;
    context.units.xHeight = QFontMetrics(FontFor(m_fonts, style)).xHeight();
    const QString& name = token.name;
    if (name == u"b" || name == u"bold") {
        style.fontWeight = 700;
    } else if (name == u"i" || name == u"em") {
        style.italic = true;
    } else if (name == u"u" || name == u"underline") {
        style.underline = true;
    } else if (name == u"s" || name == u"strike") {
        style.strikeOut = true;
    } else if (name == u"font") {
        for (const auto& [key, value] : token.attributes) {
            if (key == u"face") {
                const QString face = Unquote(value.trimmed());
                if (!face.isEmpty())
                    style.fontFamily = face;
            } else if (key == u"size") {
                style.fontSize = std::clamp(ReadHtmlLength(value, style.fontSize, true, context.units), 1, 1024);
            } else if (key == u"color") {
                style.textColour = ReadHtmlColour(value, style.textColour);
            } else if (key == u"weight") {
                ApplyHtmlDeclarations(style, QStringLiteral("font-weight:") + value, context.units);
            } else if (key == u"bkgnd") {
                const QString v = value.trimmed().toLower();
                if (v.isEmpty() || v == u"transparent") {
                    style.backgroundMode = 1;
                } else {
                    style.backgroundColour = ReadHtmlColour(value, style.backgroundColour);
                    style.backgroundMode = 2;
                }
            } else if (key == u"style") {
                bool on = true;
                for (const QChar c : value) {
                    switch (c.toLatin1()) {
                    case '-': on = false; continue;
                    case '+': on = true; continue;
                    case 'b': style.fontWeight = on ? 700 : 400; break;
                    case 'i': style.italic = on; break;
                    case 'u': style.underline = on; break;
                    case 's': style.strikeOut = on; break;
                    case 'o': style.overline = on; break;
                    default: break;
                    }
                    on = true;
                }
            }
        }
        return;
    } else if (name == u"left" || name == u"center" || name == u"right") {
        style.horizontalAlign = Alignment(name, 0);
    } else if (name == u"baseline" || name == u"top" || name == u"middle" || name == u"vcenter" ||
               name == u"bottom") {
        style.verticalAlign = VerticalAlignment(name, 3);
    } else if (name == u"span") {
        ApplyEntry(context, QStringLiteral(".") + token.attribute(QStringLiteral("class")).trimmed());
    } else if (name == u"a") {
        bool hasHref = false;
        bool hasMsg = false;
        const QString href = token.attribute(QStringLiteral("href"), &hasHref);
        const QString msg = token.attribute(QStringLiteral("msg"), &hasMsg);
        style.linkKind = hasHref ? 1 : 2;
        style.linkTarget = hasHref ? href : (hasMsg ? msg : QString());
        context.state.link = context.linkCounter++;
        ApplyEntry(context, context.state.link == m_hotLink ? QStringLiteral("a:hover") : QStringLiteral("a:link"));
    } else {
        ApplyEntry(context, name);  // body, h1-h6, code, pre, big, small, sub, sup, p
    }
    const QString declarations = token.attribute(QStringLiteral("style"));
    if (!declarations.isEmpty())
        ApplyHtmlDeclarations(style, declarations, context.units);
    style.fontSize = std::clamp(style.fontSize, 1, 1024);
}

QImage CHtmlDrawer::LoadPicture(const Token& token, bool icon) const
{
    Q_UNUSED(icon);
    bool found = false;
    const QString id = token.attribute(QStringLiteral("idres"), &found).trimmed();
    if (found) {
        bool ok = false;
        const uint number = id.toUInt(&ok, 0);
        if (!ok || m_module.isEmpty())
            return {};
        return QImage(QStringLiteral(":/%1/bitmap/%2.png").arg(m_module).arg(number));
    }
    const QString file = token.attribute(QStringLiteral("file"), &found);
    if (found && !m_dataFolder.isEmpty() && !file.isEmpty()) {
        // Only pictures inside the data folder are read, links resolved.
        const QString folder = QFileInfo(m_dataFolder).canonicalFilePath();
        const QString path = QFileInfo(QDir(m_dataFolder).absoluteFilePath(file)).canonicalFilePath();
        if (folder.isEmpty() || path.isEmpty() || !path.startsWith(folder + u'/'))
            return {};
        QImage image(path);
        if (image.width() > 8192 || image.height() > 8192)
            return {};
        return image;
    }
    return {};  // srcdll, iddll and handle name nothing here
}

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
                switch (item.kind) {
                case Item::Text:
                    if (item.style.backgroundMode == 2)
                        painter.fillRect(box, item.style.backgroundColour);
                    painter.setFont(item.font);
                    painter.setPen(item.style.textColour);
                    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, item.text);
                    if (item.style.overline)
                        painter.fillRect(box.left(), box.top(), box.width(), item.style.fontWeight >= 700 ? 2 : 1,
                                         item.style.textColour);
                    break;
                case Item::Rule:
                    painter.fillRect(box.left(), top + (lineHeight - item.ruleThickness) / 2, box.width(),
                                     item.ruleThickness, item.ruleColour);
                    break;
                case Item::Picture:
                    if (item.icon)
                        m_effects.DrawIcon(painter, box.left(), box.top(), box.width(), box.height(), item.picture,
                                           item.flags, m_shadowX, m_shadowY, m_shadowLook);
                    else
                        m_effects.DrawBitmap(painter, box.left(), box.top(), box.width(), box.height(), item.picture,
                                             item.useMask, item.mask, item.flags, m_shadowX, m_shadowY, m_shadowLook);
                    break;
                case Item::ListImage:
                    if (m_imageList)
                        m_imageList->Draw(painter, item.listIndex, box.left(), box.top());
                    break;
                }
                if (item.link >= 0 && item.kind != Item::Rule)
                    m_hotAreas.append({box, item.style.linkTarget, item.style.linkKind, item.link});
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
        const auto fill = [&](const HtmlStyle& style, const QRect& rect) {
            if (style.backgroundEffect == Effect::Transparent) {
                if (!style.backgroundImage.isEmpty()) {
                    Token picture;
                    picture.attributes.append({QStringLiteral("file"), style.backgroundImage});
                    const QImage image = LoadPicture(picture, false);
                    if (!image.isNull())
                        CDrawEffects::TileBlt(painter, rect, image, 0, 0, image.width(), image.height());
                }
            } else {
                m_effects.FillEffect(painter, style.backgroundEffect, rect, style.backgroundColour,
                                     style.backgroundMiddle, style.backgroundEnd, 5, 0);
            }
        };
        fill(tableStyle, tableRect);
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
            fill(s, slot);
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
