// The formula control's palettes, language, school class, font size,
// position, grid and optimal size.
#include "formula/control/formavel_ctrl.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

#include "formula/control/formavel_ctrl_detail.h"
#include "formula/control/formavel_widget.h"
#include "formula/env/tool_table.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/messages.h"

namespace formula::control {

using namespace platform::com;
using namespace detail;


VARIANT_BOOL CFormavelCtrl::ShowToolsDlg(const std::string&)
{
    PaletteManager& palettes = PaletteManager::instance();
    palettes.setOwner(this);
    return answer(palettes.show());
}

VARIANT_BOOL CFormavelCtrl::HideToolsDlg(const std::string&)
{
    PaletteManager::instance().hide();
    return kTrue;
}

void CFormavelCtrl::SetLanguge(std::int32_t id)
{
    SetMessageLanguage(id >= 0 && id < kMessageLanguages ? id : 0);
}

std::int32_t CFormavelCtrl::GetLanguage() const
{
    return GetMessageLanguage();
}

VARIANT_BOOL CFormavelCtrl::SetSchoolClass(std::int32_t classId)
{
    return answer(formula::SetSchoolClass(classId), kTrueOne);
}

// ---- Fonts, position, grid, size ------------------------------------------------

// The new size is laid out at once, so the next optimal size is right.
void CFormavelCtrl::SetDefultFontSize(std::int32_t width, std::int32_t height)
{
    m_env.Style().baseFont.width = width;
    m_env.Style().baseFont.height = height;
    m_env.MarkLayoutStale();
    repaint();
}

std::int32_t CFormavelCtrl::GetDefaulFontWidth() const
{
    return m_env.Style().baseFont.width;
}

std::int32_t CFormavelCtrl::GetDefaultFontHeight() const
{
    return m_env.Style().baseFont.height;
}

void CFormavelCtrl::SetTopLeftPosition(std::int32_t x, std::int32_t y)
{
    if (!m_env.ReferenceIsTopLeft()) {
        message(kMsgTopLeftRefused);
        return;
    }
    m_env.SetPosition({x, y});
    repaint();
}

void CFormavelCtrl::SetGridData(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                                VARIANT_BOOL showVertical, VARIANT_BOOL showHorizontal, std::int32_t colour)
{
    m_grid.originX = x;
    m_grid.originY = y;
    m_grid.dx = dx;
    m_grid.dy = dy;
    m_grid.showVertical = isTrue(showVertical);
    m_grid.showHorizontal = isTrue(showHorizontal);
    m_grid.colour = static_cast<OLE_COLOR>(colour);
    repaint();
}

void CFormavelCtrl::optimalSize(std::int32_t& cx, std::int32_t& cy)
{
    QtCanvas canvas;
    if (m_env.LayoutStale()) {
        m_env.Layout(canvas);
    }
    int captionWidth = 0;
    int captionHeight = 0;
    if (!m_caption.empty()) {
        const QFontMetrics metrics(stockFont());
        captionWidth = metrics.horizontalAdvance(QString::fromStdString(m_caption));
        captionHeight = metrics.height();
    }
    const Box& box = m_env.Root().GetBox();
    const int margin = m_env.Margin();
    cx = std::max(captionWidth, box.width + 2 * margin);
    cy = 2 * margin + box.height + 2 * captionHeight;
}

void CFormavelCtrl::GetOptimalSize(std::int32_t* cx, std::int32_t* cy)
{
    if (!m_widget) {
        *cx = 10;
        *cy = 10;
        return;
    }
    optimalSize(*cx, *cy);
}

std::int32_t CFormavelCtrl::GetOptimalHeight()
{
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    GetOptimalSize(&cx, &cy);
    return cy;
}

std::int32_t CFormavelCtrl::GetOptimalWidth()
{
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    GetOptimalSize(&cx, &cy);
    return cx;
}

}  // namespace formula::control
