#pragma once
// A report list whose cells can be more than text: a cell can carry a check
// box, a drop-down list of texts (a combo cell), a progress bar, an image,
// its own colours, a bold font and a tool tip. Every cell is painted by the
// list itself. The column header can carry a check box (the header item's
// image index: 0 none, 1 unchecked, 2 checked) that ticks or clears the
// whole column. Clicks and picks are reported through the signals.
#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <QVector>

#include <memory>

#include "shared/widgets/xcombo_list.h"

namespace shared {

class CImageList;
class CXHeaderCtrl;
class XListModel;

// One cell's record; a row holds one per column the header had when the
// row was inserted.
struct XListCell {
    bool enabled = true;  // the row's first record: false greys the row and swallows its clicks
    bool bold = false;
    int image = -1;
    QString toolTip;
    bool combo = false;
    bool comboOpen = false;
    const QStringList* comboStrings = nullptr;  // not owned
    int comboListHeight = 10;
    int initialComboSelection = 0;
    QColor textColour;
    QColor backgroundColour;
    bool progress = false;
    int progressPercent = 0;
    QString progressText;  // "%d" stands for the percent, "%%" for "%"
    bool showProgressText = true;
    int checkState = -1;  // -1 none, 0 unchecked, 1 checked
    quint32 userData = 0;
};

// Extended styles (the values of the list view's extended style word).
namespace XListStyle {
constexpr unsigned GridLines = 0x01;
constexpr unsigned CheckBoxes = 0x04;
constexpr unsigned TrackSelect = 0x08;
constexpr unsigned FullRowSelect = 0x20;
}  // namespace XListStyle

// Item state bits.
constexpr unsigned LVIS_FOCUSED = 0x1;
constexpr unsigned LVIS_SELECTED = 0x2;
constexpr unsigned LVIS_CUT = 0x4;

// Column alignment (the header item's format).
enum class XListAlign { Left, Right, Center };

class CXListCtrl : public QTableView, private IComboListOwner {
    Q_OBJECT
public:
    explicit CXListCtrl(QWidget* parent = nullptr);
    ~CXListCtrl() override;

    // Columns.
    int InsertColumn(int column, const QString& heading, XListAlign align = XListAlign::Left, int width = -1);
    bool SetColumnAlign(int column, XListAlign align);
    XListAlign GetColumnAlign(int column) const;
    int GetColumns() const;
    CXHeaderCtrl* GetHeaderCtrl() const { return m_header; }

    // Styles.
    void SetExtendedStyle(unsigned styles);
    unsigned GetExtendedStyle() const { return m_extendedStyle; }
    void SetShowSelAlways(bool on);

    // Rows. The new row's index, -1 for a negative row.
    int InsertItem(int row, const QString& text);
    int InsertItem(int row, const QString& text, const QColor& textColour, const QColor& backgroundColour);
    int GetItemCount() const;
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    bool SetItemState(int row, unsigned state, unsigned mask);
    unsigned GetItemState(int row, unsigned mask) const;
    int GetSelectionMark() const { return m_selectionMark; }
    int SetSelectionMark(int row);

    // Check boxes.
    int GetCheckbox(int row, int column) const;
    bool SetCheckbox(int row, int column, int state);
    int GetHeaderCheckedState(int column) const;
    bool SetHeaderCheckedState(int column, int state);
    int CountCheckedItems(int column) const;

    // The row's user data word (its first record); 0 / false out of range.
    quint32 GetItemData(int row) const;
    bool SetItemData(int row, quint32 data);

    // The cell fields (false out of range or for a short row).
    bool SetEnabled(int row, bool enabled);
    bool GetEnabled(int row) const;
    bool SetBold(int row, int column, bool bold);
    bool SetItemImage(int row, int column, int image);
    bool SetItemToolTipText(int row, int column, const QString& text);
    QString GetItemToolTipText(int row, int column) const;
    bool SetItemColors(int row, int column, const QColor& text, const QColor& background);
    // strings stays the caller's and must outlive the cell.
    bool SetComboBox(int row, int column, bool enable, const QStringList* strings, int listHeight,
                     int initialSelection);
    bool SetProgress(int row, int column, bool showText = true, const QString& text = QString());
    bool UpdateProgress(int row, int column, int percent);
    const XListCell* GetCell(int row, int column) const;

    void SetImageList(const CImageList* images) { m_images = images; viewport()->update(); }

    void UpdateSubItem(int row, int column);
    // The cell's rectangle in viewport coordinates; empty out of range.
    QRect GetSubItemRect(int row, int column) const;

    // The tool tip under a viewport point: its id (row * 1000 + column + 1)
    // and text, or 0 when the point is not over a label.
    int ToolHitTest(const QPoint& point, QString* text) const;

    // The open drop-down list of a combo cell, nullptr when none.
    CXComboList* GetComboList() const { return m_comboList; }

    // The progress text with the percent put in: the first "%d" becomes the
    // percent and "%%" a "%"; nothing else is read.
    static QString FormatProgressText(const QString& text, int percent);

    // The list painted as the window shows it.
    QImage Render();

    // The colour slots from the system colours.
    struct Colours {
        QColor face, highlight3d, shadow, faceUnfocusedSelection, comboFrame, buttonText, greyText,
            highlight, highlightText, window, windowText;
    };
    const Colours& colours() const { return m_colours; }

    static constexpr int kCheckboxTextGap = 4;

signals:
    // A pick in a combo cell's list was kept.
    void comboSelection(int row, int column);
    // A cell's check box was toggled by a click, then the plain notification.
    void checkboxClicked(int row, int column);
    void checkboxToggled(int row, int column);
    // A header check box changed to state.
    void headerCheckedStateChanged(int column, int state);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class XListDelegate;
    void OnComboListReturn() override;
    void OnComboListEscape() override;
    void OnComboListKeyDown() override;
    void OnComboListLButtonUp() override;

    XListCell* cell(int row, int column);
    const XListCell* cell(int row, int column) const;
    bool inRange(int row, int column) const;
    void refreshColours();
    void onColumnClicked(int column);
    void updateHeaderFromRows(int column);
    void paintCell(QPainter& painter, int row, int column, const QRect& rect);
    void selectionColours(int row, int column, QColor& text, QColor& background) const;
    void drawText(QPainter& painter, int row, int column, QRect rect, const QColor& text, const QColor& back);
    void drawImage(QPainter& painter, int row, int column, QRect& rect, const QColor& back);
    void drawCheckbox(QPainter& painter, int row, int column, const QRect& rect, QColor text, QColor back);
    void drawProgress(QPainter& painter, int row, int column, const QRect& rect, const QColor& text,
                      const QColor& back);
    void drawCombo(QPainter& painter, int row, int column, const QRect& rect);
    void openComboList(int row, int column);
    void closeComboList();
    void cancelComboList();
    void unpressComboButton();
    void onTimer1();
    void onTimer2();
    void onTimer3();
    void onTimer4();

    XListModel* m_model = nullptr;
    CXHeaderCtrl* m_header = nullptr;
    const CImageList* m_images = nullptr;
    Colours m_colours;
    unsigned m_extendedStyle = 0;
    bool m_showSelAlways = false;
    int m_selectionMark = -1;

    // Combo state.
    bool m_comboButtonPressed = false;
    int m_comboRow = -1;
    int m_comboColumn = -1;
    QRect m_comboButtonRect;
    QPointer<CXComboList> m_comboList;
    QString m_initialText;
    bool m_inClick = false;
    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_timer3;
    QTimer m_timer4;
    QTimer m_trackTimer;
    int m_trackRow = -1;
};

}  // namespace shared
