// The HTML drawer's painting: fonts, pictures, one laid-out item and the
// backgrounds of tables and cells.
#include "shared/html/html_drawer.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

#include "platform/fonts.h"
#include "shared/html/html_drawer_internal.h"
#include "shared/widgets/image_list.h"

namespace shared {

namespace html_detail {

QFont FontFor(QHash<QString, QFont>& cache, const HtmlStyle& style)
{
    const int size = std::clamp(style.fontSize, 1, 1024);
    const int weight = std::clamp(style.fontWeight, 1, 1000);
    const QString key = QStringLiteral("%1|%2|%3|%4%5%6")
                            .arg(style.fontFamily)
                            .arg(size)
                            .arg(weight)
                            .arg(int(style.italic))
                            .arg(int(style.underline))
                            .arg(int(style.strikeOut));
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    if (cache.size() > 256)
        cache.clear();
    const QByteArray face = style.fontFamily.toUtf8();
    QFont font = platform::fonts::gdiFont(std::string_view(face.constData(), size_t(face.size())), size, 0, 400);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    cache.insert(key, font);
    return font;
}

}  // namespace html_detail

QImage CHtmlDrawer::LoadPicture(const Token& token, bool icon) const
{
    Q_UNUSED(icon);
    bool found = false;
    const QString id = token.attribute(QStringLiteral("idres"), &found).trimmed();
    if (found) {
        bool ok = false;
        const uint number = id.toUInt(&ok, 0);
        if (!ok || m_module.isEmpty())
            return {};
        return QImage(QStringLiteral(":/%1/bitmap/%2.png").arg(m_module).arg(number));
    }
    const QString file = token.attribute(QStringLiteral("file"), &found);
    if (found && !m_dataFolder.isEmpty() && !file.isEmpty()) {
        // Only pictures inside the data folder are read, links resolved.
        const QString folder = QFileInfo(m_dataFolder).canonicalFilePath();
        const QString path = QFileInfo(QDir(m_dataFolder).absoluteFilePath(file)).canonicalFilePath();
        if (folder.isEmpty() || path.isEmpty() || !path.startsWith(folder + u'/'))
            return {};
        QImage image(path);
        if (image.width() > 8192 || image.height() > 8192)
            return {};
        return image;
    }
    return {};  // srcdll, iddll and handle name nothing here
}

// One laid-out item painted into its box on a line starting at top,
// lineHeight high; a link's item leaves its hot area.
void CHtmlDrawer::DrawItem(QPainter& painter, const Item& item, const QRect& box, int top, int lineHeight)
{
    switch (item.kind) {
    case Item::Text:
        if (item.style.backgroundMode == 2)
            painter.fillRect(box, item.style.backgroundColour);
        painter.setFont(item.font);
        painter.setPen(item.style.textColour);
        painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, item.text);
        if (item.style.overline)
            painter.fillRect(box.left(), box.top(), box.width(), item.style.fontWeight >= 700 ? 2 : 1,
                             item.style.textColour);
        break;
    case Item::Rule:
        painter.fillRect(box.left(), top + (lineHeight - item.ruleThickness) / 2, box.width(),
                         item.ruleThickness, item.ruleColour);
        break;
    case Item::Picture:
        if (item.icon)
            m_effects.DrawIcon(painter, box.left(), box.top(), box.width(), box.height(), item.picture,
                               item.flags, m_shadowX, m_shadowY, m_shadowLook);
        else
            m_effects.DrawBitmap(painter, box.left(), box.top(), box.width(), box.height(), item.picture,
                                 item.useMask, item.mask, item.flags, m_shadowX, m_shadowY, m_shadowLook);
        break;
    case Item::ListImage:
        if (m_imageList)
            m_imageList->Draw(painter, item.listIndex, box.left(), box.top());
        break;
    }
    if (item.link >= 0 && item.kind != Item::Rule)
        m_hotAreas.append({box, item.style.linkTarget, item.style.linkKind, item.link});
}

// A table's or cell's background: its effect, or when transparent its picture
// tiled.
void CHtmlDrawer::FillBackground(QPainter& painter, const HtmlStyle& style, const QRect& rect)
{
    if (style.backgroundEffect == Effect::Transparent) {
        if (!style.backgroundImage.isEmpty()) {
            Token picture;
            picture.attributes.append({QStringLiteral("file"), style.backgroundImage});
            const QImage image = LoadPicture(picture, false);
            if (!image.isNull())
                CDrawEffects::TileBlt(painter, rect, image, 0, 0, image.width(), image.height());
        }
    } else {
        m_effects.FillEffect(painter, style.backgroundEffect, rect, style.backgroundColour,
                             style.backgroundMiddle, style.backgroundEnd, 5, 0);
    }
}

}  // namespace shared
