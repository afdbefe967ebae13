#include "shared/widgets/image_list.h"

#include <QPainter>

namespace shared {

bool CImageList::Create(const QImage& strip, int imageWidth, const QColor& transparent)
{
    m_images.clear();
    m_size = QSize(0, 0);
    if (strip.isNull() || imageWidth < 1)
        return false;
    QImage image = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = transparent.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00ffffffu) == (clear & 0x00ffffffu))
                line[x] = 0;
        }
    }
    for (int left = 0; left + imageWidth <= image.width(); left += imageWidth)
        Add(QPixmap::fromImage(image.copy(left, 0, imageWidth, image.height())));
    return !m_images.isEmpty();
}

int CImageList::Add(const QPixmap& image)
{
    if (m_images.isEmpty())
        m_size = image.size();
    m_images.push_back(image);
    return static_cast<int>(m_images.size()) - 1;
}

bool CImageList::Draw(QPainter& painter, int index, int x, int y) const
{
    if (index < 0 || index >= GetImageCount())
        return false;
    painter.drawPixmap(x, y, m_images[index]);
    return true;
}

}  // namespace shared
