#pragma once
// The editor of a task condition: typed characters and line breaks with
// formula controls (in editor mode) set into them, laid out as a statement,
// a caret between items, its own thin scroll strip. Its content reads and
// writes as one text in which each formula is its MathML.
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

#include "solvehost/formula_text_layout.h"
#include "solvehost/symbrant_ctrl.h"
#include "stepwell/model/steps_geometry.h"

namespace stepwell {

class CConditionEditorCtrl : public QWidget, public solvehost::IFormulaEventListener {
public:
    static constexpr int kFirstFormulaId = 2000;
    static constexpr int kStripWidth = 10;

    explicit CConditionEditorCtrl(QWidget* parent, const QFont* font = nullptr);
    ~CConditionEditorCtrl() override;

    bool SetText(const std::string& text);
    bool GetText(std::string& text) const;
    // A formula after the caret (empty without MathML); the caret moves to it.
    bool AddFormula(const std::string* mathml = nullptr);
    void SetFont(const QFont& font);
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsReadOnly() const { return m_readOnly; }

    void OnFormulaChanged() override;

    // For tests and the dialogs.
    const solvehost::CFormulaTextLayout& layout() const { return m_layout; }
    // The caret's item (none: before the first) and the caret's rectangle.
    const solvehost::CLayoutItemList::Node* caret() const { return m_caret; }
    QRect caretRect() const { return m_caretRect; }
    solvehost::CSymbrantCtrl* editedFormula() const { return m_edited.data(); }
    const AnswerStrip& strip() const { return m_strip; }
    QColor backColor() const { return m_back; }
    QColor textColor() const { return m_textColour; }
    // The whole control drawn off-screen, formulas included.
    QPixmap Render();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    using Node = solvehost::CLayoutItemList::Node;
    // Handles the key; false when it is not the editor's.
    bool handleKey(QKeyEvent* event);
    void typeCharacter(char32_t c);
    void insertText(const QString& text);
    Node* insertAfterCaret(solvehost::LayoutItemKind kind, solvehost::CLayoutItem* item);
    void deleteNode(Node* node);
    void followFormula(solvehost::CSymbrantCtrl* control);
    void relayout();
    void placeCaret();
    QRect itemRect(const Node* node) const;
    void paintContent(QPainter& painter);

    solvehost::CFormulaTextLayout m_layout;
    solvehost::CSymbrantEvents m_events;
    QPointer<solvehost::CSymbrantCtrl> m_edited;
    Node* m_caret = nullptr;
    QRect m_caretRect;
    bool m_caretShown = false;
    QFont m_font;
    int m_fontHeight = 0;
    QColor m_back;
    QColor m_textColour;  // the strip's thumb
    // Theme colour 1 on theme colour 0 is about 1.2 : 1 and cannot be read:
    // the words and the caret are black, as the formulas' letters are.
    QColor m_inkColour = Qt::black;
    AnswerStrip m_strip{0, 4};
    bool m_readOnly = false;
    int m_nextId = kFirstFormulaId;
};

}  // namespace stepwell
