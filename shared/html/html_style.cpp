#include "shared/html/html_style.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/sys_colors.h"

namespace shared {

namespace {

// The CSS colour keywords the drawer knows, with the standard sRGB values
// (Qt's table of the same keywords).
constexpr const char* kCssColourNames[] = {
    "aqua", "black", "blue", "brown", "cyan", "gold",
    "gray", "green", "magenta", "maroon", "navy", "olive",
    "orange", "pink", "purple", "red", "silver", "snow",
    "violet", "white", "yellow", "aliceblue", "antiquewhite", "aquamarine",
    "azure", "beige", "bisque", "blanchedalmond", "blueviolet", "burlywood",
    "cadetblue", "chartreuse", "chocolate", "coral", "cornflowerblue", "cornsilk",
    "crimson", "darkblue", "darkcyan", "darkgoldenrod", "darkgray", "darkgreen",
    "darkkhaki", "darkmagenta", "darkolivegreen", "darkorange", "darkorchid", "darkred",
    "darksalmon", "darkseagreen", "darkslateblue", "darkslategray", "darkturquoise", "darkviolet",
    "deeppink", "deepskyblue", "dimgray", "dodgerblue", "firebrick", "floralwhite",
    "forestgreen", "fuchsia", "gainsboro", "ghostwhite", "goldenrod", "greenyellow",
    "honeydew", "hotpink", "indianred", "indigo", "ivory", "khaki",
    "lavender", "lavenderblush", "lawngreen", "lemonchiffon", "lightblue", "lightcoral",
    "lightcyan", "lightgoldenrodyellow", "lightgreen", "lightgrey", "lightpink", "lightsalmon",
    "lightseagreen", "lightskyblue", "lightslategray", "lightsteelblue", "lightyellow", "lime",
    "limegreen", "linen", "mediumaquamarine", "mediumblue", "mediumorchid", "mediumpurple",
    "mediumseagreen", "mediumslateblue", "mediumspringgreen", "mediumturquoise", "mediumvioletred", "midnightblue",
    "mintcream", "mistyrose", "moccasin", "navajowhite", "oldlace", "olivedrab",
    "orangered", "orchid", "palegoldenrod", "palegreen", "paleturquoise", "palevioletred",
    "papayawhip", "peachpuff", "peru", "plum", "powderblue", "rosybrown",
    "royalblue", "saddlebrown", "salmon", "sandybrown", "seagreen", "seashell",
    "sienna", "skyblue", "slateblue", "slategray", "springgreen", "steelblue",
    "tan", "teal", "thistle", "tomato", "turquoise", "wheat",
    "whitesmoke", "yellowgreen",
};

struct SystemKeyword {
    const char* name;
    int index;
};

constexpr SystemKeyword kSystemKeywords[] = {
    {"activeborder", 10},
    {"activecaption", 2},
    {"appworkspace", 12},
    {"background", 1},
    {"buttonface", 15},
    {"buttonhighlight", 20},
    {"buttonshadow", 16},
    {"buttontext", 18},
    {"captiontext", 9},
    {"graytext", 17},
    {"highlight", 13},
    {"highlighttext", 14},
    {"inactiveborder", 11},
    {"inactivecaption", 3},
    {"inactivecaptiontext", 19},
    {"infobackground", 24},
    {"infotext", 23},
    {"menu", 4},
    {"menutext", 7},
    {"scrollbar", 0},
    {"threeddarkshadow", 21},
    {"threedface", 15},
    {"threedhighlight", 20},
    {"threedlightshadow", 22},
    {"threedshadow", 16},
    {"window", 5},
    {"windowframe", 6},
    {"windowtext", 8},
};

const QHash<QString, QColor>& cssColours()
{
    static const QHash<QString, QColor> table = [] {
        QHash<QString, QColor> colours;
        for (const char* name : kCssColourNames)
            colours.insert(QString::fromLatin1(name), QColor::fromString(QLatin1String(name)));
        return colours;
    }();
    return table;
}

// An unsigned number in decimal, "0x" hex or (when octal) leading-zero
// octal; false when no digit was read.
bool readUnsigned(const QString& text, bool octal, quint64& value)
{
    const std::string s = text.trimmed().toStdString();
    int base = 10;
    std::size_t start = 0;
    if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        start = 2;
    } else if (octal && s.size() > 1 && s[0] == '0') {
        base = 8;
        start = 1;
    }
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    const auto result = std::from_chars(first, last, value, base);
    if (result.ptr == first) {
        value = 0;
        return base == 8;  // a lone "0" followed by no octal digit
    }
    return result.ec == std::errc();
}

double readNumber(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    double value = 0.0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

// Lengths are held to a million pixels either way (a huge or endless
// number must not overflow the conversion).
constexpr double kLongestLength = 1 << 20;

int toLength(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kLongestLength, kLongestLength));
}

int mulDiv(int number, int numerator, int denominator)
{
    const long long product = static_cast<long long>(number) * numerator;
    const double exact = static_cast<double>(product) / denominator;
    return toLength(exact < 0 ? -std::floor(-exact + 0.5) : std::floor(exact + 0.5));
}

QString unquoted(QString text)
{
    text = text.trimmed();
    text.remove(u'"');
    text.remove(u'\'');
    return text.trimmed();
}

}  // namespace

QColor HtmlNamedColour(const QString& name)
{
    const QString key = name.trimmed().toLower();
    const auto found = cssColours().constFind(key);
    if (found != cssColours().constEnd())
        return *found;
    for (const SystemKeyword& keyword : kSystemKeywords) {
        if (key == QLatin1String(keyword.name))
            return platform::sysColor(keyword.index);
    }
    return {};
}

std::pair<int, int> HtmlNamedColourCounts()
{
    return {static_cast<int>(cssColours().size()), static_cast<int>(std::size(kSystemKeywords))};
}

QColor ReadHtmlColour(const QString& text, const QColor& current)
{
    const QString value = text.trimmed();
    if (value.isEmpty())
        return current;
    if (value.startsWith(u'#')) {
        quint64 rgb = 0;
        const QString digits = value.mid(1);
        if (digits.size() != 6)
            return current;
        const std::string s = digits.toStdString();
        const auto result = std::from_chars(s.data(), s.data() + s.size(), rgb, 16);
        if (result.ptr != s.data() + s.size())
            return current;
        return QColor(static_cast<int>((rgb >> 16) & 0xff), static_cast<int>((rgb >> 8) & 0xff),
                      static_cast<int>(rgb & 0xff));
    }
    if (value[0].isDigit()) {
        quint64 number = 0;
        readUnsigned(value, true, number);
        // A Windows colour value: red in the low byte.
        return QColor(static_cast<int>(number & 0xff), static_cast<int>((number >> 8) & 0xff),
                      static_cast<int>((number >> 16) & 0xff));
    }
    const QColor named = HtmlNamedColour(value);
    return named.isValid() ? named : current;
}

int ReadHtmlLength(const QString& text, int current, bool fontSize, const HtmlLengthUnits& units)
{
    QString value = text.trimmed();
    if (value.isEmpty())
        return current;
    if (value.endsWith(u'%'))
        return mulDiv(current, toLength(readNumber(value.chopped(1))), 100);
    if (value.startsWith(u'+') || value.startsWith(u'-'))
        value.remove(0, 1);
    const QString unit = value.right(2);
    const double number = value.size() > 2 ? readNumber(value.chopped(2)) : 0.0;
    const double inch = number * units.dotsPerInch;
    if (value.size() > 2) {
        if (unit == QLatin1String("px"))
            return toLength(number);
        if (unit == QLatin1String("ex"))
            return toLength(number * units.xHeight);
        if (unit == QLatin1String("em"))
            return toLength(number * units.emHeight);
        if (unit == QLatin1String("in"))
            return toLength(inch);
        if (unit == QLatin1String("cm"))
            return toLength(inch * 0.39370078740157477);
        if (unit == QLatin1String("mm"))
            return toLength(inch * 0.03937007874015748);
        if (unit == QLatin1String("pt"))
            return toLength(inch / 72);
        if (unit == QLatin1String("pc"))
            return toLength(inch / 6);
    }
    quint64 whole = 0;
    readUnsigned(value, false, whole);
    int result = static_cast<int>(std::min<quint64>(whole, 1u << 20));
    static constexpr std::array<int, 7> kFontSizes{8, 10, 12, 14, 18, 24, 36};
    if (fontSize && result >= 1 && result <= 7)
        result = kFontSizes[static_cast<std::size_t>(result - 1)];
    return result;
}

int ReadHtmlEffect(const QString& text)
{
    static const QHash<QString, int> kEffects{
        {"transparent", -1}, {"solid", 0},    {"hgradient", 1},   {"vgradient", 2},  {"hcgradient", 3},
        {"vcgradient", 4},   {"3hgradient", 5}, {"3vgradient", 6}, {"noise", 7},      {"diagshade", 8},
        {"hshade", 9},       {"vshade", 10},  {"hbump", 11},      {"vbump", 12},     {"softbump", 13},
        {"hardbump", 14},    {"metal", 15}};
    const QString key = text.trimmed().toLower();
    const auto found = kEffects.constFind(key);
    if (found != kEffects.constEnd())
        return *found;
    return key.toInt();
}

void ApplyHtmlDeclarations(HtmlStyle& style, const QString& declarations, const HtmlLengthUnits& units)
{
    const QStringList pairs = declarations.toLower().split(u';');
    for (const QString& pair : pairs) {
        const int colon = pair.indexOf(u':');
        if (colon < 0)
            continue;
        const QString property = pair.left(colon).trimmed();
        const QString value = pair.mid(colon + 1).trimmed();
        if (property == QLatin1String("font-size")) {
            style.fontSize = ReadHtmlLength(value, style.fontSize, true, units);
        } else if (property == QLatin1String("font-family")) {
            const QString family = unquoted(value);
            if (!family.isEmpty())
                style.fontFamily = family;
        } else if (property == QLatin1String("font-style")) {
            if (value.isEmpty() || value == QLatin1String("normal"))
                style.italic = false;
            else if (value == QLatin1String("italic") || value == QLatin1String("oblique"))
                style.italic = true;
        } else if (property == QLatin1String("font-weight")) {
            if (value.isEmpty() || value == QLatin1String("normal"))
                style.fontWeight = 400;
            else if (value == QLatin1String("bold"))
                style.fontWeight = 700;
            else if (value == QLatin1String("bolder"))
                style.fontWeight = 900;
            else if (value == QLatin1String("lighter"))
                style.fontWeight = 100;
            else if (bool ok = false; value.toInt(&ok), ok)
                style.fontWeight = value.toInt();
        } else if (property == QLatin1String("text-align")) {
            if (value.isEmpty() || value == QLatin1String("left"))
                style.horizontalAlign = 0;
            else if (value == QLatin1String("center"))
                style.horizontalAlign = 1;
            else if (value == QLatin1String("right"))
                style.horizontalAlign = 2;
        } else if (property == QLatin1String("text-transform")) {
            if (value.isEmpty() || value == QLatin1String("none"))
                style.textTransform = 0;
            else if (value == QLatin1String("uppercase"))
                style.textTransform = 1;
            else if (value == QLatin1String("lowercase"))
                style.textTransform = 2;
            else if (value == QLatin1String("capitalize"))
                style.textTransform = 3;
        } else if (property == QLatin1String("color")) {
            style.textColour = ReadHtmlColour(value, style.textColour);
        } else if (property == QLatin1String("background-color")) {
            if (value.isEmpty() || value == QLatin1String("transparent")) {
                style.backgroundMode = 1;
            } else {
                style.backgroundColour = ReadHtmlColour(value, style.backgroundColour);
                style.backgroundMode = 2;
            }
        } else if (property == QLatin1String("text-decoration")) {
            if (value == QLatin1String("none"))
                style.underline = style.strikeOut = style.overline = false;
            else if (value == QLatin1String("underline"))
                style.underline = true;
            else if (value == QLatin1String("line-through"))
                style.strikeOut = true;
            else if (value == QLatin1String("overline"))
                style.overline = true;
        } else if (property == QLatin1String("vertical-align")) {
            if (value.isEmpty() || value == QLatin1String("baseline"))
                style.verticalAlign = 3;
            else if (value == QLatin1String("middle") || value == QLatin1String("vcenter"))
                style.verticalAlign = 1;
            else if (value == QLatin1String("top"))
                style.verticalAlign = 0;
            else if (value == QLatin1String("bottom"))
                style.verticalAlign = 2;
        } else if (property == QLatin1String("border-color")) {
            style.borderLight = ReadHtmlColour(value, style.borderLight);
            style.borderDark = ReadHtmlColour(value, style.borderDark);
        } else if (property == QLatin1String("border-width") || property == QLatin1String("size")) {
            if (value == QLatin1String("thin"))
                style.borderWidth = style.borderWidth * 75 / 100;
            else if (value == QLatin1String("thick"))
                style.borderWidth = style.borderWidth * 125 / 100;
            else if (value != QLatin1String("medium"))
                style.borderWidth = ReadHtmlLength(value, style.borderWidth, false, units);
        } else if (property == QLatin1String("border-style")) {
            if (value.isEmpty() || value == QLatin1String("none"))
                style.borderStyle = 0;
            else if (value == QLatin1String("solid"))
                style.borderStyle = 1;
            else if (value == QLatin1String("dashed"))
                style.borderStyle = 2;
            else if (value == QLatin1String("dotted"))
                style.borderStyle = 3;
            else if (value == QLatin1String("double"))
                style.borderStyle = 6;
        } else {
            int* field = nullptr;
            if (property == QLatin1String("margin-left")) field = &style.marginLeft;
            else if (property == QLatin1String("margin-right")) field = &style.marginRight;
            else if (property == QLatin1String("margin-top")) field = &style.marginTop;
            else if (property == QLatin1String("margin-bottom")) field = &style.marginBottom;
            else if (property == QLatin1String("padding-left")) field = &style.paddingLeft;
            else if (property == QLatin1String("padding-right")) field = &style.paddingRight;
            else if (property == QLatin1String("padding-top")) field = &style.paddingTop;
            else if (property == QLatin1String("padding-bottom")) field = &style.paddingBottom;
            if (field)
                *field = ReadHtmlLength(value, *field, false, units);
        }
    }
}

QString HtmlDefaultStyleSheet()
{
    return QStringLiteral(
        "body {font-size: 10pt; color:black; font-family:Times New Roman}\r\n"
        "p {font-size: 12pt; color:black; font-family:Arial; font-weight:bold}\r\n"
        "h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
        "h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
        "h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
        "h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
        "h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
        "h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
        "pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
        "code {color:#990000; font-family:Arial}\r\n"
        "a:link {text-decoration:none; color:blue}\r\n"
        "a:hover {text-decoration:underline; color:blue}\r\n"
        "sub {font-size:65%; vertical-align:bottom}\r\n"
        "sup {font-size:65%; vertical-align:top}\r\n"
        "big {font-size:125%}\r\n"
        "small {font-size:75%}\r\n"
        ".cpp-comment {color:green; font-style:italic}\r\n");
}

HtmlStyleSheet ParseHtmlStyleSheet(const QString& text, const HtmlLengthUnits& units)
{
    const QString sheet = text.isEmpty() ? HtmlDefaultStyleSheet() : text;
    HtmlStyleSheet styles;
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
        HtmlStyle style;
        style.name = selector;
        ApplyHtmlDeclarations(style, sheet.mid(open + 1, close - open - 1), units);
        styles.insert(selector, style);
        at = close + 1;
    }
    return styles;
}

}  // namespace shared
