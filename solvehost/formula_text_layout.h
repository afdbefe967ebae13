#pragma once
// The layout of a task statement or a solution step: running text with live
// formula controls set into it. The statement is a list of items (words,
// spaces, line breaks and formulas) broken into lines for a width; Arrange
// gives each word its rectangle (the owner draws the words) and moves the
// formula controls, which are children of the owner window.
//
//   CFormulaTextLayout layout;
//   layout.AddText("Solve the equation ");
//   layout.AddFormula(mathml, this);
//   layout.AddText(".");
//   CFontMetricsMeasurer measurer{QFontMetrics(font)};
//   int height = layout.Arrange(width(), measurer, 0, true);
#include <QFontMetrics>
#include <QPointer>
#include <QSize>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "solvehost/symbrant_ctrl.h"

class QWidget;

namespace solvehost {

// Measures the word items as the owner will draw them.
class CTextMeasurer {
public:
    virtual ~CTextMeasurer() = default;
    // Width and height of the text as drawn.
    virtual QSize TextExtent(const QString& text) = 0;
};

// The owner's font: horizontalAdvance and height() of its metrics.
class CFontMetricsMeasurer : public CTextMeasurer {
public:
    explicit CFontMetricsMeasurer(const QFontMetrics& metrics) : m_metrics(metrics) {}
    QSize TextExtent(const QString& text) override;

private:
    QFontMetrics m_metrics;
};

enum class LayoutItemKind : std::int32_t { Text = 1, Formula = 2 };

class CLayoutItem {
public:
    virtual ~CLayoutItem() = default;
};

// A word, a space item ("  ", two blanks) or a line-break item ("\n") with
// the rectangle the last line breaking or arrangement gave it.
class CLayoutTextItem : public CLayoutItem {
public:
    explicit CLayoutTextItem(QString text = {}) : text(std::move(text)) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    QString text;
};

// A formula shown by a formula control in viewer mode, a child of the owner
// at (10, 10)-(100, 100) until arranged, with the size it needs. Qt deletes
// the control with an owner that goes first; the item then holds none.
class CLayoutFormulaItem : public CLayoutItem {
public:
    static constexpr int kChildId = 2000;

    // Makes the control in owner with the child id; IsCreated() tells whether
    // that worked.
    explicit CLayoutFormulaItem(QWidget* owner, int childId = kChildId);
    ~CLayoutFormulaItem() override;
    CLayoutFormulaItem(const CLayoutFormulaItem&) = delete;
    CLayoutFormulaItem& operator=(const CLayoutFormulaItem&) = delete;

    bool IsCreated() const { return m_created && m_control; }
    // The control; null once Qt deleted it with its owner.
    CSymbrantCtrl* GetControl() const { return m_control.data(); }

    // The control's optimal size.
    int width = 0;
    int height = 0;

private:
    QPointer<CSymbrantCtrl> m_control;
    bool m_created = false;
};

// The statement's items in order: a doubly linked list of nodes, each with
// its item's kind and the item. The list makes and frees nodes; linking them
// in and out is the caller's (an editor inserts at its caret and deletes
// anywhere), for which head, tail and the nodes' links are open.
class CLayoutItemList {
public:
    struct Node {
        Node* next = nullptr;
        Node* prev = nullptr;
        LayoutItemKind kind = LayoutItemKind::Text;
        CLayoutItem* item = nullptr;
        CLayoutItemList* list = nullptr;
    };

    CLayoutItemList() = default;
    ~CLayoutItemList() { FreeAll(); }
    CLayoutItemList(const CLayoutItemList&) = delete;
    CLayoutItemList& operator=(const CLayoutItemList&) = delete;

    // A new node with these neighbours, counted; the caller links it in.
    Node* NewNode(Node* prev, Node* next, LayoutItemKind kind, CLayoutItem* item);
    // A new node linked in after the tail.
    Node* AddTail(LayoutItemKind kind, CLayoutItem* item);
    // Unlinks the tail node and frees it, giving its kind and item; false
    // when the list is empty.
    bool RemoveTail(LayoutItemKind* kind, CLayoutItem** item);
    // Frees a node the caller has unlinked (its item stays).
    void FreeNode(Node* node);
    // Frees every node (not the items).
    void FreeAll();

    Node* head = nullptr;
    Node* tail = nullptr;
    int count = 0;
};

struct CLayoutEntry {
    LayoutItemKind kind;
    CLayoutItem* item;
};

// One line: its items and the shift that centres it.
struct CLayoutLine {
    std::vector<CLayoutEntry> items;
    std::int16_t indent = 0;
};

class CFormulaTextLayout {
public:
    CFormulaTextLayout() = default;
    ~CFormulaTextLayout();
    CFormulaTextLayout(const CFormulaTextLayout&) = delete;
    CFormulaTextLayout& operator=(const CFormulaTextLayout&) = delete;

    // Appends the text's words, each followed by a space item (none after a
    // last word not followed by a blank, one in front of a leading blank);
    // every "\n" becomes a line-break item where it stands. False for "".
    bool AddText(const QString& text);
    // Appends a formula control made in owner showing the MathML text; false,
    // adding nothing, when the control cannot be made.
    bool AddFormula(const std::string& mathml, QWidget* owner);
    // The back colour, given to every formula control.
    void SetBackColor(OLE_COLOR colour);
    // Breaks the items into lines (only when the usable width changed, or on
    // force); answers top margin + the lines' heights + bottom spacing.
    int BreakLines(int width, CTextMeasurer& measurer, bool force);
    // Breaks the lines, places the words and moves the formula controls from
    // top on; answers 2 x top margin + bottom margin + the lines' heights.
    int Arrange(int width, CTextMeasurer& measurer, int top, bool force);
    // The statement as text: words as they stand, one blank for a space
    // item, "\n" for a line break, each formula's MathML.
    bool GetText(QString& out) const;
    // The height of the line's tallest item; 0 for an empty line.
    static int GetLineHeight(const CLayoutLine& line);
    static bool IsSpaceItem(const QString& text);
    static bool IsPunctuation(const QString& text);
    // Deletes every item (formula controls with them) and forgets the lines.
    void RemoveAllItems();

    const CLayoutItemList& Items() const { return m_items; }
    // For an editor that links items in at its caret and out anywhere; it
    // arranges with force after every change.
    CLayoutItemList& Items() { return m_items; }
    const std::vector<CLayoutLine>& Lines() const { return m_lines; }

    // Set by the owner after construction.
    bool m_showGrid = true;
    std::int32_t m_gridStep = 20;
    std::int16_t m_topMargin = 10;
    std::int16_t m_bottomMargin = 0;
    std::int16_t m_leftMargin = 20;
    std::int16_t m_rightMargin = 20;
    std::int16_t m_bottomSpacing = 5;
    std::int32_t m_alignment = 1;  // 2: every line centred
    OLE_COLOR m_gridColor = 0;

private:
    void addItem(LayoutItemKind kind, CLayoutItem* item) { m_items.AddTail(kind, item); }
    void addPiece(const QString& piece);
    static void deleteItem(LayoutItemKind kind, CLayoutItem* item);

    CLayoutItemList m_items;
    std::vector<CLayoutLine> m_lines;
    std::int32_t m_lastWidth = 0;
    OLE_COLOR m_backColor = 0xFFFFFF;
};

}  // namespace solvehost
