#pragma once
// A 24-bit picture read from an entry of the drill's archive: "BM", the
// 40-byte information header, and the pixel rows right after those 54 bytes
// (bottom-up, BGR, each row padded to four bytes). Kept as a QImage; a picture
// that failed to load stays empty and draws nothing.
#include <string>

#include <QImage>

class QPainter;
class QPoint;
class QRect;
class QWidget;

namespace exercise {

class CZipPackage;

class CEsfBitmap {
public:
    // Reads entry `name` (found without regard to case). A missing entry, a
    // file that is no bitmap or not 24-bit, or a header the entry cannot
    // hold shows the language text "errPicture" with `name` as the caption
    // (the reason on standard error) and gives false. A
    // picture already loaded stays as it is. Faults of the archive itself
    // throw as the reader's exceptions.
    bool LoadFromArchive(const std::string& name, CZipPackage& archive, QWidget* messageParent = nullptr);

    bool IsLoaded() const { return !m_image.isNull(); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    const QImage& image() const { return m_image; }
    void Release() { m_image = QImage(); }

    // At its own size; nothing for an empty picture.
    void Draw(QPainter& painter, const QPoint& at) const;
    // Stretched to `target`; nothing for an empty picture.
    void Draw(QPainter& painter, const QRect& target) const;

private:
    QImage m_image;
};

// The five pictures of the drill, loaded once at start.
struct EsfPictures {
    CEsfBitmap sheet;     // "sheet.bmp": the left picture of every row
    CEsfBitmap lightOff;  // "sfetofor.bmp": state -1; its size is the light's room
    CEsfBitmap green;     // "sfet_grn.bmp": state 0
    CEsfBitmap yellow;    // "sfet_yel.bmp": state 1
    CEsfBitmap red;       // "sfet_red.bmp": state 2
};
EsfPictures& esfPictures();

}  // namespace exercise
