#pragma once
// The drop-down pop-up of a report list's combo cell: a frameless top-level
// window with a one-pixel border, a list and a scroll bar of its own. It
// tracks the mouse (the item under a resting cursor becomes the selection),
// handles the keys of a list box, and tells its owning list about Return,
// Escape, moving keys and picks. It is a plain top-level window, not a Qt
// pop-up, so that it closes only when its list closes it.
#include <QListWidget>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace shared {

// What the pop-up tells the list that owns it.
class IComboListOwner {
public:
    virtual ~IComboListOwner() = default;
    virtual void OnComboListReturn() = 0;
    virtual void OnComboListEscape() = 0;
    virtual void OnComboListKeyDown() = 0;
    virtual void OnComboListLButtonUp() = 0;
};

class CXComboList : public QWidget {
    Q_OBJECT
public:
    // owner may be nullptr (nothing is then reported); parent gives the
    // font and ties the window's life to it.
    explicit CXComboList(IComboListOwner* owner, QWidget* parent = nullptr);
    ~CXComboList() override;

    // Appends an item (the list keeps insertion order); answers its index.
    int AddString(const QString& text);
    // The first item equal to text, -1 when none.
    int FindStringExact(const QString& text) const;
    int GetCount() const { return m_list->count(); }
    int GetCurSel() const { return m_list->currentRow(); }
    void SetCurSel(int index);
    QString GetText(int index) const;
    int GetItemHeight() const;

    // Gives the list the focus; the first time also sizes the window to
    // whole rows and sets up the scroll bar (scrollBarWidth wide) and timer 1.
    void SetActive(int scrollBarWidth);

    QListWidget* listBox() const { return m_list; }
    QScrollBar* GetScrollBarCtrl() const { return m_scrollBar; }
    int GetScrollPos() const { return m_scrollBar->value(); }
    int GetFocusLossCount() const { return m_focusLosses; }
    bool IsFirstActivation() const { return m_firstActivation; }

    static constexpr int kHoverTimerMs = 80;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool handleKey(int key, const QString& text);
    void trackHover();
    void scrollTo(int position);

    IComboListOwner* m_owner = nullptr;
    QListWidget* m_list = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QTimer m_hoverTimer;
    int m_focusLosses = 0;
    bool m_firstActivation = true;
    int m_rows = 1;
};

}  // namespace shared
