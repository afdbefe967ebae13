// Layout and drawing of the multi-row templates: systems, unions and the
// formula root.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/multi_row.h"

namespace formula {

namespace {
// Room on the left of a system's lines for its brace.
constexpr int kBraceWidth = 10;
constexpr int kBraceRadius = 5;
}  // namespace

void CMultiRowTemplate::LayoutLines(Canvas& canvas, int x, int axisY)
{
    if (m_lines.empty()) {
        m_box = {x, axisY, 0, 0, axisY};
        return;
    }
    // Each line's axis lies below the previous line's depth by its own height
    // above the axis.
    int width = 0;
    int lineAxis = 0;
    int previousDepth = 0;
    int top = 0;
    int bottom = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        CLineRow& line = *m_lines[i];
        line.DoLayout(canvas, x, 0);
        const Box& box = line.GetBox();
        const int above = -box.y;
        if (i == 0) {
            top = box.y;
        } else {
            lineAxis += previousDepth + above;
            line.Offset(0, lineAxis);
        }
        previousDepth = Bottom(box) - box.axisY;
        bottom = Bottom(line.GetBox());
        width = std::max(width, box.width);
    }
    const int height = bottom - top;
    const int newTop = axisY - height / 2;
    for (auto& line : m_lines) {
        line->Offset(0, newTop - top);
    }
    m_box = {x, newTop, width, height, axisY};
}

void CMultiRowTemplate::DrawLines(Canvas& canvas)
{
    for (auto& line : m_lines) {
        line->DoDraw(canvas);
    }
}

void CMultiRowTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    LayoutLines(canvas, x, axisY);
}

void CMultiRowTemplate::Draw(Canvas& canvas)
{
    DrawLines(canvas);
}

void CSystemTemplate::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetPen({PenStyle::Solid, 1, canvas.TextColour()});
}

void CSystemTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CSystemTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    LayoutLines(canvas, x, axisY);
    for (auto& line : m_lines) {
        line->Offset(kBraceWidth, 0);
    }
    m_box.width += kBraceWidth;
}

void CSystemTemplate::Draw(Canvas& canvas)
{
    const int x = m_box.x;
    const int top = m_box.y;
    const int bottom = Bottom(m_box);
    if (IsUnion()) {
        const Point bracket[] = {{x + 10, top + 1}, {x + 5, top + 1}, {x + 5, bottom - 1}, {x + 10, bottom - 1}};
        canvas.Polyline(bracket);
    } else {
        // Four quarter arcs: the top hook, two meeting at (x, middle), the
        // bottom hook; vertical strokes at x + 5 join them. The strokes end
        // where the middle arcs begin (a stroke reaching 3 pixels from the
        // middle would stick out beside the arcs of radius 5).
        const int r = kBraceRadius;
        const int middle = top + m_box.height / 2;
        canvas.Arc({x + 2 * r, top + r}, r, 90, 90);
        canvas.Line({x + r, top + r}, {x + r, middle - r});
        canvas.Arc({x, middle - r}, r, 270, 90);
        canvas.Arc({x, middle + r}, r, 0, 90);
        canvas.Line({x + r, middle + r}, {x + r, bottom - r});
        canvas.Arc({x + 2 * r, bottom - r}, r, 180, 90);
    }
    DrawLines(canvas);
}

void CAggregateTemplate::Draw(Canvas& canvas)
{
    const FormulaStyle& style = StyleOf(*this);
    if (style.showAggregate) {
        const PenSpec old = canvas.Pen();
        canvas.SetPen({PenStyle::Solid, 2, style.aggregateColour});
        canvas.Line({m_box.x + 2, m_box.y}, {m_box.x + 2, Bottom(m_box)});
        canvas.SetPen(old);
    }
    DrawLines(canvas);
}

}  // namespace formula
