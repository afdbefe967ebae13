#pragma once
// Palette colours as the controls take them (OLE_COLOR, 0x00BBGGRR).
#include <QColor>

#include "platform/com/variant.h"
#include "shared/settings.h"

namespace reckonry {

inline platform::com::OLE_COLOR ThemeOleColor(int index)
{
    const shared::Rgb c = shared::GetThemeColor(index);
    return static_cast<platform::com::OLE_COLOR>(c.red) | (static_cast<platform::com::OLE_COLOR>(c.green) << 8) |
           (static_cast<platform::com::OLE_COLOR>(c.blue) << 16);
}

inline QColor ThemeQColor(int index)
{
    const shared::Rgb c = shared::GetThemeColor(index);
    return QColor(c.red, c.green, c.blue);
}

}  // namespace reckonry
