#include "formula/control/palettes/palette_icons.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include <algorithm>

#include "formula/env/tool_table.h"
#include "formula/layout/formula_layout.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/templates/multi_row.h"

namespace formula {
namespace {

// Drawn at a font that fills a button with a sign or an atom; larger
// elements are scaled down to fit.
constexpr int kIconFontHeight = 19;
constexpr int kIconFontWidth = 8;
constexpr int kInset = 1;

// Editor mode: the empty places of a template are drawn, as the pupil sees
// them once it is inserted.
CDisplaySettings& IconSettings()
{
    static CDisplaySettings settings = [] {
        CDisplaySettings s;
        s.SetMode(FormulaMode::Editor);
        FormulaStyle& style = s.Style();
        style.showAggregate = false;
        style.baseFont.height = kIconFontHeight;
        style.baseFont.width = kIconFontWidth;
        style.mainPen.width = 1;
        style.minFontHeight = 4;
        style.minFontWidth = 3;
        return s;
    }();
    return settings;
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
    const ToolInfo* tool = FindTool(toolId);
    if (!tool) {
        return;
    }
    CAggregateTemplate root;
    root.SetOwner(&IconSettings(), nullptr);
    LexemList elements;
    elements.push_back(MakeToolLexem(*tool));
    root.InsertNewRow(nullptr, false)->InsertLexems(std::move(elements));

    // Measured first, then drawn, scaled down to the button when too large.
    QtCanvas measure;
    LayoutFormula(measure, root, {0, 0});
    const Box measured = root.GetBox();
    if (measured.width <= 0 || measured.height <= 0) {
        return;
    }
    const QRect inner = rect.adjusted(kInset, kInset, -kInset, -kInset);
    const double scale = std::min({1.0, double(inner.width()) / measured.width,
                                   double(inner.height()) / measured.height});
    painter.save();
    painter.translate(inner.x() + (inner.width() - measured.width * scale) / 2.0,
                      inner.y() + (inner.height() - measured.height * scale) / 2.0);
    painter.scale(scale, scale);
    QtCanvas canvas(&painter);
    LayoutFormula(canvas, root, {0, 0});
    DrawFormula(canvas, root);
    painter.restore();
}

}  // namespace formula
