#pragma once
// CRollupCtrl: a column of collapsible pages, each under a checkable flat
// title button inside a frame, in a vertically scrollable area with its own
// 10-pixel scroll strip at the right edge. The pages scroll by the strip, the
// wheel or by dragging them; a context menu expands or collapses them.
//
// Geometry: an optional title line (20 high) at the top; the first page row
// starts 28 below the top of the content; each row takes 28 for its title,
// its page's height when expanded, and 3 more.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace pathmentor {

class CRollupCtrl : public QWidget {
public:
    static constexpr int kStripWidth = 10;
    static constexpr int kTitleRow = 28;
    static constexpr int kRowGap = 3;
    static constexpr int kExpandAll = 256;
    static constexpr int kCollapseAll = 257;
    static constexpr int kFirstPageCommand = 258;

    explicit CRollupCtrl(QWidget* parent = nullptr);
    ~CRollupCtrl() override;

    // Places the window at rect with the next child id of the guide context.
    bool Create(const QRect& rect, QWidget* parent);
    int GetDlgCtrlID() const { return m_id; }

    // Appends (index -1) or inserts a page under a title button; the page
    // starts collapsed and enabled with its present height.
    int AddPage(const QString& title, QWidget* page, int index = -1, long userValue = 0);
    void ExpandPage(int index, bool expand);
    void ExpandAll(bool expand);
    bool IsExpanded(int index) const;
    void EnablePage(int index, bool enable);
    int FindPage(const QWidget* titleButton) const;
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    QWidget* GetPage(int index) const;
    QPushButton* GetTitleButton(int index) const;
    QGroupBox* GetFrame(int index) const;
    // Scrolls so that the page's title button is at the top.
    void ScrollToPage(int index);

    // A title line at the top of the content (adds its 28 pixels).
    QLabel* SetTitleLine(const QString& text, const QFont& font);
    QLabel* titleLine() const { return m_title; }

    // Commands 256 expand all, 257 collapse all, 258 + i toggle page i.
    void OnCommand(int id);
    // The context menu as it would open now (the caller owns it).
    QMenu* MakeContextMenu();

    // Clamps the offset and places every title, frame and page.
    void RecalcLayout();

    int offset() const { return m_offset; }
    void setOffset(int offset) { m_offset = offset; }
    int contentHeight() const { return m_content; }
    void addContentHeight(int change) { m_content += change; }
    // The strip's track height and its thumb (top inside the track, height).
    int trackHeight() const { return height() - 4; }
    int thumbTop() const;
    int thumbHeight() const;
    bool scrollable() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Page {
        QPointer<QWidget> page;
        QPushButton* button = nullptr;
        QGroupBox* frame = nullptr;
        int height = 0;
        bool expanded = false;
        bool enabled = true;
        long userValue = 0;
    };
    void dragTo(int y);

    std::vector<Page> m_pages;
    QLabel* m_title = nullptr;
    int m_id = 0;
    int m_offset = 0;
    int m_content = 0;
    int m_grab = 0;
    bool m_stripCaptured = false;
    int m_dragY = 0;
    bool m_pageDragging = false;
};

}  // namespace pathmentor
