// The HTML drawer's tag reading: the text cut into runs and tags, the tags'
// attributes, and what an opening tag does to the style in force.
#include "shared/html/html_drawer.h"

#include <QFontMetrics>

#include <algorithm>

#include "shared/html/html_drawer_internal.h"

namespace shared {

using namespace html_detail;

namespace {

QString Unquote(QString value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
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

}  // namespace

namespace html_detail {

int ReadCount(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    if (!ok || text.isEmpty())
        return 1;
    return std::clamp(count, 0, kMaxCount);
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

}  // namespace html_detail

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

}  // namespace shared
