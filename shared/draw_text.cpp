#include "shared/draw_text.h"

#include <QPainter>

namespace shared {

int drawTextFlags(unsigned format)
{
    using namespace DrawTextFormat;
    int flags = 0;
    if (format & Center)
        flags |= Qt::AlignHCenter;
    else if (format & Right)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & SingleLine) {
        if (format & VCenter)
            flags |= Qt::AlignVCenter;
        else if (format & Bottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
        flags |= Qt::TextSingleLine;
    } else {
        flags |= Qt::AlignTop;
        if (format & WordBreak)
            flags |= Qt::TextWordWrap;
    }
    return flags;
}

void drawFormattedText(QPainter& painter, const QRect& rect, const QString& text, unsigned format)
{
    if (rect.isEmpty() || text.isEmpty())
        return;
    QString shown = text;
    if (format & DrawTextFormat::SingleLine) {
        shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        shown.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, drawTextFlags(format), shown);
    painter.restore();
}

}  // namespace shared
