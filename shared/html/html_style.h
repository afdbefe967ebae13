#pragma once
// The style values of the HTML text drawer: the style record with its
// defaults, the named colours (the CSS keywords and the system-colour
// keywords), reading lengths and colours, style declarations and the style
// sheet.
#include <QColor>
#include <QHash>
#include <QString>

namespace shared {

struct HtmlStyle {
    QString name;
    int fontSize = 16;  // pixels
    int fontWeight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool overline = false;
    QString fontFamily = QStringLiteral("Verdana");
    QColor textColour{0, 0, 0};
    QColor backgroundColour{255, 255, 255};
    QColor borderLight{0, 0, 0};
    QColor borderDark{0, 0, 0};
    QColor backgroundMiddle{255, 255, 255};
    QColor backgroundEnd{255, 255, 255};
    int backgroundMode = 1;     // 1 transparent, 2 opaque
    int backgroundEffect = -1;  // the bitmap effect codes; -1 transparent
    QString backgroundImage;
    int horizontalAlign = 0;  // 0 left, 1 centre, 2 right
    int verticalAlign = 3;    // 0 top, 1 middle, 2 bottom, 3 baseline
    int borderStyle = 0;      // 0 none, 1 solid, 2 dashed, 3 dotted, 6 double
    int borderWidth = 0;
    int textTransform = 0;  // 0 none, 1 upper case, 2 lower case, 3 capitalise
    int marginLeft = 2, marginRight = 2, marginTop = 2, marginBottom = 2;
    int paddingLeft = 0, paddingRight = 0, paddingTop = 0, paddingBottom = 0;
    int linkKind = 0;  // 0 none, 1 href, 2 msg
    QString linkTarget;
};

// What lengths are measured against: the device's vertical dots per inch,
// the height of the letter x in the current font and the body font's
// character height.
struct HtmlLengthUnits {
    int dotsPerInch = 96;
    int xHeight = 0;
    int emHeight = 0;
};

// The colour of a name among the 140 CSS colour keywords and the 28 system
// colour keywords (those follow the current system colours); an invalid
// colour for an unknown name. Names compare without regard to case.
QColor HtmlNamedColour(const QString& name);
// How many names the table holds (CSS keywords, system keywords).
std::pair<int, int> HtmlNamedColourCounts();

// A colour value: empty keeps current; "#rrggbb" (any other length after
// "#" keeps current); a leading digit reads a number (decimal, "0x" hex,
// leading-zero octal) as a Windows colour value 0x00bbggrr; else a name,
// unknown names keeping current.
QColor ReadHtmlColour(const QString& text, const QColor& current);

// A length: empty keeps current; "n%" is current * n / 100 rounded; a
// leading sign is dropped; the units px, ex, em, in, cm, mm, pt and pc;
// anything else the whole text as an unsigned number, which as a font size
// from 1 to 7 becomes 8, 10, 12, 14, 18, 24 or 36.
int ReadHtmlLength(const QString& text, int current, bool fontSize, const HtmlLengthUnits& units);

// Applies "property: value; ..." (put in lower case first) to style.
void ApplyHtmlDeclarations(HtmlStyle& style, const QString& declarations, const HtmlLengthUnits& units);

// The drawer's built-in style sheet, lines ending in CR LF.
QString HtmlDefaultStyleSheet();

// A style sheet: selector to style record. An empty text reads the
// built-in sheet.
using HtmlStyleSheet = QHash<QString, HtmlStyle>;
HtmlStyleSheet ParseHtmlStyleSheet(const QString& text, const HtmlLengthUnits& units);

// The background effect code of a bgeffect name, or the text as a number.
int ReadHtmlEffect(const QString& text);

}  // namespace shared
