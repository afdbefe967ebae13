#pragma once
// Tab controls with a flat look of their own: a row of tabs over a page
// rectangle, with a background colour that fills the rest, and a flat spin
// button that scrolls the row when the tabs do not fit. The tabs are drawn
// by the Qt style, or, when owner-drawn, through the drawing operations
// below (the page border first, the selected tab last, on top).
//
// CColorTabCtrl draws its tabs in a light grey-violet with a bold caption,
// by colour rules over the process-wide flat-tab style word.
#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

class QFontMetrics;
class QPainter;

namespace shared {

class CFlatSpinButton;
class FlatTabBar;

// The process-wide flat-tab style word: flags when enable, else 0. While it
// is non-zero, tab controls made from then on are owner-drawn. Bits 1, 2, 4
// and 16 choose CColorTabCtrl's colours, 8 its gradient fill.
void SetFlatTabStyleFlags(bool enable, unsigned flags);
unsigned GetFlatTabStyleFlags();

// What one drawing operation is given: the item (-1 for the page border),
// its rectangle in the control's coordinates, whether it is selected.
struct TabDrawItem {
    int item = -1;
    QRect rect;
    bool selected = false;
};

class CFlatTabCtrl : public QWidget {
    Q_OBJECT
public:
    // A non-zero drawing mode (0 to 2) makes the tabs owner-drawn.
    explicit CFlatTabCtrl(int drawingMode = 0, QWidget* parent = nullptr);
    ~CFlatTabCtrl() override;

    // Answers the index the tab got; the first tab becomes the current one.
    int InsertItem(int index, const QString& text, void* data = nullptr);
    bool DeleteItem(int index);
    void DeleteAllItems();
    int GetItemCount() const;
    QString GetItemText(int index) const;
    void* GetItemData(int index) const;
    bool SetItemData(int index, void* data);
    // -1 without tabs. SetCurSel answers the previous one (-1 for a bad
    // index, which changes nothing) and reports no selection change.
    int GetCurSel() const;
    int SetCurSel(int index);
    // A tab's rectangle in the control's coordinates (scrolled-out tabs lie
    // left of 0); empty for a bad index.
    QRect GetItemRect(int index) const;
    // The page: the client area without the tab row, inside the border.
    QRect GetPageRect() const;

    // False, changing nothing, outside 0..2.
    bool SetDrawMode(int mode);
    int GetDrawMode() const { return m_drawMode; }
    bool IsOwnerDrawn() const { return m_ownerDrawn; }
    // An invalid colour stands for the system's button face (-1).
    void SetBkColor(const QColor& colour);
    QColor GetBkColor() const;
    // The tab colour of an owner-drawn control (invalid: the button face).
    void SetSecondColor(const QColor& colour);
    QColor GetSecondColor() const { return m_secondColour; }
    // The colour of the border lines (invalid: no borders).
    void SetFrameColor(const QColor& colour);
    QColor GetFrameColor() const { return m_frameColour; }

    // The font of the tab captions (the page's children keep their own).
    void SetTabFont(const QFont& font);
    QFont GetTabFont() const;

    // The first tab shown at the row's left; the spin scrolls it.
    int GetFirstVisible() const { return m_firstVisible; }
    CFlatSpinButton* spinButton() const { return m_spin; }

    // The drawing operations of an owner-drawn control.
    virtual void DrawItem(QPainter& painter, const TabDrawItem& item);
    virtual void DrawMainBorder(QPainter& painter, const TabDrawItem& item);
    virtual void DrawItemBorder(QPainter& painter, const TabDrawItem& item);
    virtual QColor GetTabColor(bool selected) const;
    virtual QColor GetTabTextColor(bool selected) const;

signals:
    // The user chose another tab.
    void selChange(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The style word as it stands now makes the tabs owner-drawn.
    void attach();

private:
    friend class FlatTabBar;
    void paintItems(QPainter& painter);
    void layoutRow();
    void scrollTo(int first);
    void ensureVisible(int index);
    int rowHeight() const;

    FlatTabBar* m_bar = nullptr;
    QWidget* m_row = nullptr;
    CFlatSpinButton* m_spin = nullptr;
    int m_drawMode = 0;
    bool m_ownerDrawn = false;
    bool m_settingSelection = false;
    int m_firstVisible = 0;
    QColor m_bkColour;
    QColor m_secondColour;
    QColor m_frameColour;
};

class CColorTabCtrl : public CFlatTabCtrl {
    Q_OBJECT
public:
    explicit CColorTabCtrl(QWidget* parent = nullptr);

    // Places the control in parent at rect, visible when the style has
    // WS_VISIBLE (0x10000000), with the bold caption font.
    bool Create(unsigned style, const QRect& rect, QWidget* parent, int id);
    int GetDlgCtrlID() const { return m_id; }

    void DrawItem(QPainter& painter, const TabDrawItem& item) override;
    void DrawMainBorder(QPainter& painter, const TabDrawItem& item) override;
    void DrawItemBorder(QPainter& painter, const TabDrawItem& item) override;
    QColor GetTabColor(bool selected) const override;
    QColor GetTabTextColor(bool selected) const override;

    // Each component times the factor limited to 0..1, truncated.
    static QColor Darken(const QColor& colour, double factor);
    // Each component times the factor (below 1 counts as 1), at most 255.
    static QColor Lighten(const QColor& colour, double factor);
    // The text on one line within maxWidth x 20, with an ellipsis at the end
    // when it is longer, and its size.
    static QSize MeasureText(const QFontMetrics& metrics, const QString& text, int maxWidth,
                             QString* shown = nullptr);

private:
    QColor m_itemColour1{224, 223, 227};
    QColor m_itemColour2{224, 223, 227};
    int m_id = 0;
};

}  // namespace shared
