#include "formula/layout/qt_canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygon>
#include <QStaticText>
#include <QString>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "formula/layout/text_codes.h"
#include "platform/fonts.h"

namespace formula {

struct QtCanvas::ResolvedFont {
    QFont font;
    int pixelSize = 0;
    int ascent = 0;
    int height = 0;
    bool symbol = false;
    // Advances of the 256 codes; -1 until measured.
    std::array<int, 256> advances{};
    // Laid-out single codes, made when first drawn: most texts are one
    // character, and a prepared text skips shaping on every draw.
    std::array<std::unique_ptr<QStaticText>, 256> singles;
};

namespace {

struct FontSpecHash {
    std::size_t operator()(const FontSpec& font) const
    {
        std::size_t hash = std::hash<std::string>{}(font.face);
        const int values[] = {font.height, font.width, font.weight,
                              (font.italic ? 1 : 0) | (font.underline ? 2 : 0) | (font.strikeOut ? 4 : 0)};
        for (int value : values) {
            hash = hash * 1000003u ^ static_cast<std::size_t>(value);
        }
        return hash;
    }
};

QColor ToQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

char32_t CodeToUnicode(unsigned char code, bool symbol)
{
    return symbol ? SymbolToUnicode(code) : Cp1251ToUnicode(code);
}

QString ToQString(std::string_view text, bool symbol)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char ch : text) {
        out.append(QChar(static_cast<char16_t>(CodeToUnicode(static_cast<unsigned char>(ch), symbol))));
    }
    return out;
}

QFont BaseQFont(const FontSpec& spec)
{
    QFont font(QString::fromUtf8(QtCanvas::FamilyOf(spec.face).data(),
                                 static_cast<qsizetype>(QtCanvas::FamilyOf(spec.face).size())));
    font.setKerning(false);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight > 0 ? spec.weight : 400, 1, 1000)));
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    return font;
}

std::unique_ptr<QtCanvas::ResolvedFont> Resolve(const FontSpec& spec)
{
    auto resolved = std::make_unique<QtCanvas::ResolvedFont>();
    QFont font = BaseQFont(spec);
    platform::fonts::applyCellHeight(font, spec.height, spec.width);
    const QFontMetrics metrics(font);
    resolved->font = font;
    resolved->pixelSize = font.pixelSize();
    resolved->ascent = metrics.ascent();
    resolved->height = metrics.height();
    resolved->symbol = spec.face == kSymbolFace;
    resolved->advances.fill(-1);
    return resolved;
}

// Resolved fonts of the process. Never destroyed: fonts may be asked for
// until the process ends.
class FontCache {
public:
    static FontCache& Instance()
    {
        static FontCache* cache = new FontCache;
        return *cache;
    }

    QtCanvas::ResolvedFont& Get(const FontSpec& spec)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_fonts.find(spec);
        if (it == m_fonts.end()) {
            it = m_fonts.emplace(spec, Resolve(spec)).first;
        }
        return *it->second;
    }

    int Advance(QtCanvas::ResolvedFont& font, unsigned char code)
    {
        std::lock_guard lock(m_mutex);
        int& advance = font.advances[code];
        if (advance < 0) {
            const char32_t ch = CodeToUnicode(code, font.symbol);
            advance = QFontMetrics(font.font).horizontalAdvance(QChar(static_cast<char16_t>(ch)));
        }
        return advance;
    }

    const QStaticText& Single(QtCanvas::ResolvedFont& font, char code)
    {
        std::lock_guard lock(m_mutex);
        std::unique_ptr<QStaticText>& single = font.singles[static_cast<unsigned char>(code)];
        if (!single) {
            single = std::make_unique<QStaticText>(ToQString(std::string_view(&code, 1), font.symbol));
            single->setTextFormat(Qt::PlainText);
            single->prepare(QTransform(), font.font);
        }
        return *single;
    }

private:
    std::mutex m_mutex;
    std::unordered_map<FontSpec, std::unique_ptr<QtCanvas::ResolvedFont>, FontSpecHash> m_fonts;
};

}  // namespace

QtCanvas::QtCanvas(QPainter* painter)
    : m_painter(painter)
{
    if (m_painter) {
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    }
}

QtCanvas::~QtCanvas() = default;

std::string_view QtCanvas::FamilyOf(std::string_view face)
{
    return platform::fonts::familyFor(face);
}

void QtCanvas::SetFont(const FontSpec& font)
{
    if (!(font == m_font)) {
        m_font = font;
        m_resolved = nullptr;
    }
}

QtCanvas::ResolvedFont& QtCanvas::Resolved()
{
    if (!m_resolved) {
        m_resolved = &FontCache::Instance().Get(m_font);
    }
    return *m_resolved;
}

int QtCanvas::PixelSize()
{
    return Resolved().pixelSize;
}

Size QtCanvas::TextExtent(std::string_view text)
{
    ResolvedFont& font = Resolved();
    int width = 0;
    for (char ch : text) {
        width += FontCache::Instance().Advance(font, static_cast<unsigned char>(ch));
    }
    return {width, font.height};
}

void QtCanvas::DrawCodes(int x, int y, std::string_view text)
{
    if (!m_painter || text.empty()) {
        return;
    }
    ResolvedFont& font = Resolved();
    if (m_painterFont != &font) {
        m_painter->setFont(font.font);
        m_painterFont = &font;
    }
    m_painter->setPen(ToQColor(m_colour));
    if (text.size() == 1) {
        m_painter->drawStaticText(QPointF(x, y), FontCache::Instance().Single(font, text[0]));
        return;
    }
    m_painter->drawText(QPointF(x, y + font.ascent), ToQString(text, font.symbol));
}

void QtCanvas::TextOut(int x, int y, std::string_view text)
{
    DrawCodes(x, y, text);
}

void QtCanvas::DrawTextCentred(const Rect& rect, std::string_view text)
{
    const Size size = TextExtent(text);
    DrawCodes(rect.x + (rect.width - size.width) / 2, rect.y, text);
}

void QtCanvas::ApplyPen()
{
    QPen pen(ToQColor(m_pen.colour));
    pen.setWidth(std::max(1, m_pen.width));
    switch (m_pen.style) {
    case PenStyle::Solid:
        pen.setStyle(Qt::SolidLine);
        break;
    case PenStyle::Dot:
        pen.setStyle(Qt::DotLine);
        break;
    }
    m_painter->setPen(pen);
    m_painter->setBrush(Qt::NoBrush);
}

void QtCanvas::Line(Point from, Point to)
{
    if (!m_painter) {
        return;
    }
    ApplyPen();
    m_painter->drawLine(from.x, from.y, to.x, to.y);
}

void QtCanvas::Polyline(std::span<const Point> points)
{
    if (!m_painter || points.empty()) {
        return;
    }
    ApplyPen();
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& point : points) {
        polygon.append(QPoint(point.x, point.y));
    }
    m_painter->drawPolyline(polygon);
}

void QtCanvas::Arc(Point centre, int radius, int startDegrees, int spanDegrees)
{
    if (!m_painter) {
        return;
    }
    ApplyPen();
    m_painter->drawArc(QRect(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius), startDegrees * 16,
                       spanDegrees * 16);
}

void QtCanvas::DottedRect(const Rect& rect, Colour colour)
{
    if (!m_painter || rect.width <= 0 || rect.height <= 0) {
        return;
    }
    m_painter->setPen(QPen(ToQColor(colour), 1, Qt::DotLine));
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawRect(QRect(rect.x, rect.y, rect.width - 1, rect.height - 1));
}

void QtCanvas::FillRect(const Rect& rect, Colour colour)
{
    if (!m_painter) {
        return;
    }
    m_painter->fillRect(QRect(rect.x, rect.y, rect.width, rect.height), ToQColor(colour));
}

}  // namespace formula
