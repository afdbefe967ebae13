#pragma once
// The suite's palette as Qt colours and as the controls' OLE colours.
#include <QColor>

#include "platform/com/variant.h"
#include "shared/settings.h"

namespace stepwell {

inline QColor themeColor(int index)
{
    const shared::Rgb rgb = shared::GetThemeColor(index);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// 0x00BBGGRR, as a control's colour property takes it.
inline platform::com::OLE_COLOR oleColor(const QColor& colour)
{
    return static_cast<platform::com::OLE_COLOR>(colour.red()) |
           (static_cast<platform::com::OLE_COLOR>(colour.green()) << 8) |
           (static_cast<platform::com::OLE_COLOR>(colour.blue()) << 16);
}

inline platform::com::OLE_COLOR themeOle(int index) { return oleColor(themeColor(index)); }

}  // namespace stepwell
