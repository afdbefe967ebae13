// Layout and drawing of the function template.
#include <algorithm>

#include "formula/layout/layout_support.h"
#include "formula/model/templates/functions.h"

namespace formula {

void CFuncTemplate::SelectFont(Canvas& canvas)
{
    FontSelection(*this, canvas).SetFont(PlainFont(canvas, 800, false));
}

void CFuncTemplate::RestoreFont(Canvas& canvas)
{
    RestoreSelection(*this, canvas);
}

void CFuncTemplate::Layout(Canvas& canvas, int x, int axisY)
{
    const Size name = canvas.TextExtent(GetFuncName(m_funcId));
    const int nameWidth = name.width + HashSize(canvas).width / 3;
    m_argument->DoLayout(canvas, x + nameWidth, axisY);
    const Box& argument = m_argument->GetBox();
    const int height = std::max(argument.height, name.height);
    m_box = {x, axisY - height / 2, nameWidth + argument.width, height, axisY};
}

void CFuncTemplate::Draw(Canvas& canvas)
{
    const std::string_view name = GetFuncName(m_funcId);
    const int nameHeight = canvas.TextExtent(name).height;
    canvas.TextOut(m_box.x, m_box.y + m_box.height / 2 - nameHeight / 2, name);
    m_argument->DoDraw(canvas);
}

}  // namespace formula
