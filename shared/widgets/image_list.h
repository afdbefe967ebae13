#pragma once
// A row of equally sized images, as the list and header controls index
// them: made from one picture strip cut into images of a given width, with
// one colour made transparent.
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QVector>

class QPainter;

namespace shared {

class CImageList {
public:
    // Cuts the strip into images imageWidth pixels wide (a partial last
    // image is dropped); pixels of the transparent colour become clear.
    // False, leaving the list empty, for an empty strip or a width below 1.
    bool Create(const QImage& strip, int imageWidth, const QColor& transparent);
    // Appends one image; the first one sets the list's image size.
    int Add(const QPixmap& image);

    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    // 0 by 0 while the list is empty.
    QSize GetImageSize() const { return m_size; }
    // Draws image index with its top-left corner at (x, y); false, drawing
    // nothing, for an index outside the list.
    bool Draw(QPainter& painter, int index, int x, int y) const;

private:
    QVector<QPixmap> m_images;
    QSize m_size{0, 0};
};

}  // namespace shared
