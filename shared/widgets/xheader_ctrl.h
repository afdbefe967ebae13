#pragma once
// The report list's column header: it paints itself through an off-screen
// image (button-face fill, each item's image at the left, its bitmap at the
// right, its text centred in blue with an ellipsis, dividers and a 3-D frame
// round the items), and keeps per item an image index, which the report
// list uses as the column's check box (0 none, 1 unchecked, 2 checked).
#include <QColor>
#include <QHeaderView>
#include <QPixmap>
#include <QRect>
#include <QVector>

class QPainter;

namespace shared {

class CImageList;

// What an owner-drawn item is handed: the item (logical column) and its
// rectangle in the header's coordinates.
struct HeaderDrawItem {
    int item = -1;
    QRect rect;
};

class CXHeaderCtrl : public QHeaderView {
    Q_OBJECT
public:
    explicit CXHeaderCtrl(QWidget* parent = nullptr);

    // The image list is not owned; nullptr takes it away. Its image 0's
    // size is remembered.
    void SetImageList(const CImageList* images);
    const CImageList* GetImageList() const { return m_images; }
    QSize GetImageSize() const { return m_imageSize; }

    // Per item (logical section): image index (0, the default, draws none),
    // a bitmap drawn at the right, and whether the item is owner-drawn.
    // False for an item outside the header's count.
    bool SetItemImage(int item, int image);
    int GetItemImage(int item) const;
    bool SetItemBitmap(int item, const QPixmap& bitmap);
    bool SetItemOwnerDrawn(int item, bool ownerDrawn);

    int GetSpacing() const { return m_spacing; }
    void SetDoubleBuffer(bool on) { m_doubleBuffer = on; }

    // The four colours, refreshed from the system colours on a palette change.
    QColor highlightColour() const { return m_highlight; }
    QColor shadowColour() const { return m_shadow; }
    QColor faceColour() const { return m_face; }
    QColor textColour() const { return m_text; }

    // Item records move with the model's inserted and removed columns.
    void setModel(QAbstractItemModel* model) override;

    // The header painted as the window shows it.
    QImage Render();

    static constexpr QRgb kTextColour = 0xff0000ffu;  // RGB(0, 0, 255)

protected:
    // Draws an owner-drawn item; the base draws nothing.
    virtual void DrawItem(QPainter& painter, const HeaderDrawItem& item);

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    struct Item {
        int image = 0;
        QPixmap bitmap;
        bool ownerDrawn = false;
    };
    void refreshColours();
    void syncItems();
    void columnsInserted(const QModelIndex& parent, int first, int last);
    void columnsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void paintItems(QPainter& painter, const QRect& client, const QRect& area);

    QVector<Item> m_items;
    QMetaObject::Connection m_inserted;
    QMetaObject::Connection m_removed;
    const CImageList* m_images = nullptr;
    QSize m_imageSize{0, 0};
    int m_spacing = 6;
    bool m_doubleBuffer = true;
    QColor m_highlight;
    QColor m_shadow;
    QColor m_face;
    QColor m_text;
};

}  // namespace shared
