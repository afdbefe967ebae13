#include "formula/control/palettes/palette_icons.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "formula/env/tool_table.h"
#include "formula/layout/formula_layout.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/templates/multi_row.h"

namespace formula {
namespace {

// Free space between a button's edge and its picture.
constexpr int kMargin = 2;
// The picture is drawn this many times finer than the button shows it, then
// reduced: the reduction smooths its edges.
constexpr double kFineness = 4.0;
// The smallest drawn pixel that still counts as part of the picture.
constexpr int kInkAlpha = 24;
// Below 1: partly covered pixels of the reduced picture are strengthened.
constexpr double kStrokeGamma = 0.7;
// The empty places of a template.
const QColor kPlaceholder(125, 130, 140);
// Percent of the font height between a fraction's bar and its places.
constexpr int kBarGap = 10;

// Editor mode, as the pupil sees the element once it is inserted, at the
// environment's fonts and pens, with a font of the given width.
CDisplaySettings& IconSettings(int fontWidth)
{
    static std::map<int, CDisplaySettings> settings;
    auto found = settings.find(fontWidth);
    if (found == settings.end()) {
        CDisplaySettings s;
        s.SetMode(FormulaMode::Editor);
        s.Style().showAggregate = false;
        s.Style().baseFont.width = fontWidth;
        // Compact places sit close to a fraction's bar: a gap keeps them
        // apart from it.
        s.Style().barGapAbove = kBarGap;
        s.Style().barGapBelow = kBarGap;
        found = settings.emplace(fontWidth, std::move(s)).first;
    }
    return found->second;
}

// The width of the icon's font: the environment's (10 at height 20), and a
// condensed one for functions and truth values, whose word would otherwise
// come out a few pixels high in a narrow button; the narrowest where an
// index follows the function's name.
int IconFontWidth(ToolKind kind)
{
    switch (kind) {
    case ToolKind::Function:
    case ToolKind::BoolTrue:
    case ToolKind::BoolFalse:
        return 5;
    case ToolKind::IndexFunction:
        return 4;
    default:
        return FormulaStyle{}.baseFont.width;
    }
}

// Fractions, indexes and systems get compact places: their places stand
// above and beside one another, and a font cell's height of empty space
// round each would keep the parts far apart and shrink them to dots. The
// other templates keep the full cell: brackets, radicals and the big
// operators' signs take their height from their content.
bool CompactPlaces(ToolKind kind)
{
    switch (kind) {
    case ToolKind::HorFraction:
    case ToolKind::MixedNumber:
    case ToolKind::SimpleFraction:
    case ToolKind::System:
    case ToolKind::Union:
    case ToolKind::Power:
    case ToolKind::LowerIndex:
    case ToolKind::SubSup:
    case ToolKind::IntegrationLimits:
    case ToolKind::Derivative:
        return true;
    default:
        return false;
    }
}

// A lone sign or atom fills the button like a template, except a mark wholly
// above or below the formula's axis (the degree sign): it is framed
// symmetrically about the axis, so that it stays small and raised.
bool LoneSign(ToolKind kind)
{
    return kind == ToolKind::RelationSign || kind == ToolKind::SpecAtom;
}

// Draws the empty places of a template as small grey squares on their axes
// instead of the editor's dotted frames, which vanish when reduced.
class IconCanvas : public QtCanvas {
public:
    IconCanvas(QPainter* painter, bool compactPlaces)
        : QtCanvas(painter), m_painter(painter), m_compactPlaces(compactPlaces)
    {
    }

    // A compact empty place is about as tall as it is wide.
    Size TextExtent(std::string_view text) override
    {
        Size size = QtCanvas::TextExtent(text);
        if (m_compactPlaces && text == "#") {
            size.height = std::min(size.height, std::max(size.width, size.height * 3 / 5));
        }
        return size;
    }

    void DottedRect(const Rect& rect, Colour) override
    {
        if (!m_painter) {
            return;
        }
        // The frame is inset by 2 from the place's box; the square leaves a
        // hairline of it.
        const int side = std::max(1, std::min(rect.width, rect.height) + 3);
        const double cx = rect.x + rect.width / 2.0;
        const double cy = rect.y + rect.height / 2.0;
        m_painter->fillRect(QRectF(cx - side / 2.0, cy - side / 2.0, side, side), kPlaceholder);
    }

private:
    QPainter* m_painter;
    bool m_compactPlaces;
};

// The bounding rectangle of the pixels drawn into a transparent image.
QRect InkBounds(const QImage& image)
{
    int left = image.width();
    int top = image.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) >= kInkAlpha) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Reduction spreads a thin stroke over two pixels at half strength: the
// partly covered pixels are strengthened, so that strokes and small letters
// keep their contrast.
void Strengthen(QImage& picture)
{
    static const std::array<int, 256> table = [] {
        std::array<int, 256> t{};
        for (int a = 0; a < 256; ++a) {
            t[a] = int(std::lround(255.0 * std::pow(a / 255.0, kStrokeGamma)));
        }
        return t;
    }();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 0 || alpha == 255) {
                continue;
            }
            // Premultiplied: the colour grows with the coverage.
            const int stronger = table[alpha];
            const auto scale = [&](int c) { return std::min(stronger, c * stronger / alpha); };
            line[x] = qRgba(scale(qRed(pixel)), scale(qGreen(pixel)), scale(qBlue(pixel)), stronger);
        }
    }
}

// The element drawn by the formula layout, cut to its ink and scaled to fit
// the size keeping its proportions; null when nothing is drawn.
QImage RenderTool(int toolId, QSize fit)
{
    const ToolInfo* tool = FindTool(toolId);
    if (!tool || fit.isEmpty()) {
        return {};
    }
    CAggregateTemplate root;
    root.SetOwner(&IconSettings(IconFontWidth(tool->kind)), nullptr);
    std::unique_ptr<CLexem> made = MakeToolLexem(*tool);
    if (!made) {
        return {};
    }
    const CLexem& element = *made;
    LexemList elements;
    elements.push_back(std::move(made));
    root.InsertNewRow(nullptr, false)->InsertLexems(std::move(elements));

    const bool compact = CompactPlaces(tool->kind);
    IconCanvas measure(nullptr, compact);
    LayoutFormula(measure, root, {0, 0});
    const Box box = root.GetBox();
    if (box.width <= 0 || box.height <= 0) {
        return {};
    }
    // Fine enough for the largest the ink may become: the ink lies within
    // the box, but a small sign may be scaled up to fill the button.
    const double fitScale = std::min(double(fit.width()) / box.width, double(fit.height()) / box.height);
    const double fine = std::clamp(kFineness * std::max(1.0, fitScale * 3.0), kFineness, 24.0);
    // Room round the box for strokes and glyphs that reach past it.
    const int pad = box.height / 2 + 4;
    QImage large(int(std::ceil((box.width + 2 * pad) * fine)), int(std::ceil((box.height + 2 * pad) * fine)),
                 QImage::Format_ARGB32_Premultiplied);
    large.fill(Qt::transparent);
    {
        QPainter painter(&large);
        painter.scale(fine, fine);
        painter.translate(pad - box.x, pad - box.y);
        IconCanvas canvas(&painter, compact);
        painter.setRenderHint(QPainter::Antialiasing, true);
        LayoutFormula(canvas, root, {0, 0});
        DrawFormula(canvas, root);
    }
    QRect ink = InkBounds(large);
    if (ink.isEmpty()) {
        return {};
    }
    if (LoneSign(tool->kind)) {
        const int axis = int(std::lround((element.GetBox().axisY + pad - box.y) * fine));
        if (ink.bottom() < axis || ink.top() > axis) {
            const int reach = std::max(axis - ink.top(), ink.bottom() - axis);
            ink.setTop(std::max(0, axis - reach));
            ink.setBottom(std::min(large.height() - 1, axis + reach));
        }
    }
    QImage picture = large.copy(ink).scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    Strengthen(picture);
    return picture;
}

// The pictures made so far, by element and size: a palette repaints its
// buttons whenever the pointer crosses them.
const QImage& ToolPicture(int toolId, QSize fit)
{
    static std::map<std::tuple<int, int, int>, QImage> pictures;
    const auto key = std::make_tuple(toolId, fit.width(), fit.height());
    auto found = pictures.find(key);
    if (found == pictures.end()) {
        found = pictures.emplace(key, RenderTool(toolId, fit)).first;
    }
    return found->second;
}

}  // namespace

void DrawToolIcon(QPainter& painter, const QRect& rect, int toolId, bool active)
{
    if (active) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QColor(60, 110, 190));
        painter.setBrush(QColor(250, 252, 255));
        painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter.restore();
    }
    const QRect inner = rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QImage& picture = ToolPicture(toolId, inner.size());
    if (picture.isNull()) {
        return;
    }
    painter.drawImage(inner.x() + (inner.width() - picture.width()) / 2,
                      inner.y() + (inner.height() - picture.height()) / 2, picture);
}

}  // namespace formula
