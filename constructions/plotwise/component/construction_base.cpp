// The shared part of every construction: element text helpers, the name
// label of a function graph, and drawing helpers.
#include "constructions/plotwise/component/construction_base.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/fonts.h"
#include "platform/handles.h"
#include "platform/text.h"
#include "platform/xml.h"

namespace constructions::plotwise {

namespace text = platform::text;

namespace {

constexpr double kPixelLimit = 100000000.0;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Attributes attributesOf(std::string_view tag)
{
    Attributes attributes;
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < tag.size() && isBlank(tag[at]))
            ++at;
    };
    while (at < tag.size()) {
        skipBlanks();
        const std::size_t nameStart = at;
        while (at < tag.size() && !isBlank(tag[at]) && tag[at] != '=' && tag[at] != '"')
            ++at;
        const std::string_view name = tag.substr(nameStart, at - nameStart);
        skipBlanks();
        if (at >= tag.size() || tag[at] != '=') {
            if (at == nameStart)
                ++at;  // a stray quotation mark
            continue;
        }
        ++at;
        skipBlanks();
        if (at >= tag.size() || tag[at] != '"')
            continue;
        const std::size_t close = tag.find('"', at + 1);
        if (close == std::string_view::npos)
            break;
        if (!name.empty() && attributes.find(name) == attributes.end())
            attributes.emplace(std::string(name), platform::xml::unescape(tag.substr(at + 1, close - at - 1)));
        at = close + 1;
    }
    return attributes;
}

std::string_view elementName(std::string_view text)
{
    const std::size_t open = text.find('<');
    if (open == std::string_view::npos)
        return {};
    std::size_t end = open + 1;
    while (end < text.size() && !isBlank(text[end]) && text[end] != '>' && text[end] != '/')
        ++end;
    return text.substr(open + 1, end - open - 1);
}

std::string_view firstTag(std::string_view text)
{
    const std::size_t open = text.find('<');
    if (open == std::string_view::npos)
        return text;
    const std::size_t close = text.find('>', open);
    return text.substr(open, close == std::string_view::npos ? std::string_view::npos : close - open + 1);
}

std::vector<Tag> tagsOf(std::string_view text)
{
    std::vector<Tag> tags;
    std::size_t at = 0;
    while (true) {
        const std::size_t open = text.find('<', at);
        if (open == std::string_view::npos)
            break;
        const std::size_t close = text.find('>', open);
        if (close == std::string_view::npos)
            break;
        const std::string_view tag = text.substr(open, close - open + 1);
        std::string_view name = elementName(tag);
        if (const std::size_t colon = name.find(':'); colon != std::string_view::npos)
            name = name.substr(colon + 1);
        tags.push_back({name, tag});
        at = close + 1;
    }
    return tags;
}

// Liang-Barsky: the part of the segment inside box, false when none is.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& box)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

QColor fromColorRef(std::int32_t color)
{
    const auto bits = static_cast<std::uint32_t>(color);
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

int pixel(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kPixelLimit, kPixelLimit));
}

void drawClippedLine(QPainter& painter, const QRectF& clip, QPointF from, QPointF to)
{
    if (!std::isfinite(from.x()) || !std::isfinite(from.y()) || !std::isfinite(to.x()) || !std::isfinite(to.y()))
        return;
    if (!clipSegment(from, to, clip.adjusted(-10, -10, 10, 10)))
        return;
    painter.drawLine(QLine(int(from.x()), int(from.y()), int(to.x()), int(to.y())));
}

void textOut(QPainter& painter, int x, int y, const std::string& text)
{
    // As TextOut places it: the top left of the text's cell at (x, y).
    painter.drawText(QRect(x, y, 100000, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QString::fromStdString(text));
}

QFont labelFont()
{
    // LOGPIXELSY * 15 / 72 by LOGPIXELSX * 7 / 72 at 96 pixels per inch.
    return platform::fonts::gdiFont("Arial", 96 * 15 / 72, 96 * 7 / 72, 0);
}

// --- common element text -------------------------------------------------

std::string CConstructionBase::GetCommonXml(std::string_view element) const
{
    std::string out = "<gr:" + std::string(element) + " color=\"" + text::formatInt(Color) + "\" lineWidth=\"" +
                      text::formatInt(LineWidth) + "\" name=\"" + platform::xml::escape(Name) + "\" showName=\"" +
                      text::formatInt(ShowName) + "\" visible=\"" + text::formatInt(Visible) + "\" useInterval=\"" +
                      text::formatInt(UseInterval) + "\"/>";
    if (UseInterval) {
        if (IntervalLeftIsInfinite)
            PutIntAttribute(out, "leftInfinity", 1);
        else
            PutDoubleAttribute(out, "leftInterval", IntervalLeft);
        if (IntervalRightIsInfinite)
            PutIntAttribute(out, "rightInfinity", 1);
        else
            PutDoubleAttribute(out, "rightInterval", IntervalRight);
    }
    return out;
}

bool CConstructionBase::PutAttribute(std::string& out, std::string_view name, std::string_view value)
{
    std::size_t at = std::string::npos;
    const std::size_t slash = out.rfind("/>");
    if (slash != std::string::npos && slash + 3 >= out.size())
        at = slash;
    else if (const std::size_t close = out.rfind('>'); close != std::string::npos && close + 2 >= out.size())
        at = close;
    if (at == std::string::npos)
        return false;
    std::string inserted;
    if (at == 0 || out[at - 1] != ' ')
        inserted += ' ';
    inserted += std::string(name) + "=\"" + std::string(value) + "\"";
    out.insert(at, inserted);
    return true;
}

bool CConstructionBase::PutIntAttribute(std::string& out, std::string_view name, long long value)
{
    return PutAttribute(out, name, text::formatInt(value));
}

bool CConstructionBase::PutDoubleAttribute(std::string& out, std::string_view name, double value)
{
    return PutAttribute(out, name, text::formatFixed(value, 6));
}

std::string CConstructionBase::GetAttributeValue(std::string_view tag, std::string_view name)
{
    const Attributes attributes = attributesOf(tag);
    const auto found = attributes.find(name);
    return found == attributes.end() ? std::string() : found->second;
}

bool CConstructionBase::ReadCommonXml(std::string_view tag)
{
    const Attributes attributes = attributesOf(tag);
    const auto valueOf = [&](std::string_view name) -> std::string {
        const auto found = attributes.find(name);
        return found == attributes.end() ? std::string() : found->second;
    };
    const auto flagOf = [&](std::string_view name) -> std::int32_t {
        return text::leadingInt(valueOf(name)) != 0 ? 1 : 0;
    };
    Color = static_cast<std::int32_t>(text::leadingInt(valueOf("color")));
    LineWidth = static_cast<std::int16_t>(text::leadingInt(valueOf("lineWidth")));
    Name = valueOf("name");
    ShowName = flagOf("showName");
    Visible = flagOf("visible");
    UseInterval = flagOf("useInterval");
    if (UseInterval) {
        IntervalLeftIsInfinite = flagOf("leftInfinity");
        if (!IntervalLeftIsInfinite)
            IntervalLeft = text::leadingDouble(valueOf("leftInterval"));
        IntervalRightIsInfinite = flagOf("rightInfinity");
        if (!IntervalRightIsInfinite)
            IntervalRight = text::leadingDouble(valueOf("rightInterval"));
    }
    return true;
}

// --- drawing --------------------------------------------------------------

void CConstructionBase::RequestUpdate(std::int32_t code)
{
    if (Task)
        Task->Update(code);
}

void CConstructionBase::DrawName(DeviceContextHandle dc, double startX)
{
    if (ShowName == 0 || !Task)
        return;
    QPainter* painter = platform::handles::painterOf(dc);
    if (!painter)
        return;
    double left = 0, top = 0, width = 0, height = 0;
    Task->Get_ClientRect(&left, &top, &width, &height);
    double worldRight = left + width, yLow = height - 20;
    Task->convertPointFromClientToWorld(&worldRight, &yLow);
    double worldLeft = left, yTop = top;
    Task->convertPointFromClientToWorld(&worldLeft, &yTop);
    double scale = 0;
    Task->get_AbscissScale(&scale);

    double x = std::max(startX, worldLeft);
    const double step = 1.0 / scale;
    double y = 0;
    bool defined = FunctionValue(x, &y) != 0;
    // One step a pixel, at most the client's width of them: a step too small
    // to move x would never reach the right edge.
    const long long steps = std::clamp<long long>(static_cast<long long>(width), 0, 100000);
    for (long long i = 0; i < steps && !(defined && yLow < y && y < yTop) && x < worldRight; ++i) {
        x += step;
        defined = FunctionValue(x, &y) != 0;
    }
    double px = x, py = y;
    Task->convertPointFromWorldToClient(&px, &py);
    painter->save();
    painter->setPen(fromColorRef(Color));
    textOut(*painter, pixel(px) + 10, pixel(py), Name);
    painter->restore();
}

void CConstructionBase::DrawNameFromLeft(DeviceContextHandle dc)
{
    if (!Task)
        return;
    double left = 0, top = 0, right = 0, bottom = 0;
    Task->Get_WorldRect(&left, &top, &right, &bottom);
    DrawName(dc, left);
}

}  // namespace constructions::plotwise
