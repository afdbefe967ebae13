#pragma once
// The drill's scrolling panel: the exercise statement (wrapped text with
// formulas), the task rows, the buttons Check and Editor panel, and the
// worked example row. It checks the answers through its owner's kernel.
#include <optional>
#include <string>
#include <vector>

#include <QFont>
#include <QWidget>

#include "platform/xml.h"
#include "solvehost/formula_text_layout.h"

class QPushButton;
class QScrollBar;

namespace exercise {

class CExerciseTaskWnd;

// What the panel asks of the frame.
class IExerciseOwner {
public:
    virtual ~IExerciseOwner() = default;
    // One kernel request: true with the reply in `result` when it holds one.
    virtual bool ExecKernelRequest(int code, const std::string& text, std::string& result) = 0;
    // The kernel function code of the exercise's check.
    virtual int GetKernelCode() const = 0;
};

class CExercisePanel : public QWidget {
public:
    static constexpr int kCheckId = 101;
    static constexpr int kEditorPanelId = 102;
    static constexpr int kMinRowHeight = 50;
    static constexpr int kRowHeight = 90;

    CExercisePanel(QWidget* parent, IExerciseOwner* owner);
    ~CExercisePanel() override;

    // Shows the working exercise (once, after loading): statement, example
    // and task rows. Without one the panel stays empty.
    void LayoutExercise(const std::optional<platform::xml::Node>& working);
    // Puts the tasks of a new working exercise into the rows (the lights
    // keep their state) and lays the panel out again.
    void FillRows(const std::optional<platform::xml::Node>& working);

    // Button 101 and command 130: sends every answer to the kernel in one
    // request and sets the lights by its verdicts.
    void OnCheck();
    // Button 102: the formula tools of the first row's answer, shown or hidden.
    void OnEditorPanel();

    const std::vector<CExerciseTaskWnd*>& Rows() const { return m_rows; }
    CExerciseTaskWnd* ExampleRow() const { return m_example; }
    QPushButton* CheckButton() const { return m_check; }
    QPushButton* EditorPanelButton() const { return m_editorPanel; }
    QScrollBar* ScrollBar() const { return m_scrollBar; }
    int GetScrollPos() const { return m_scrollPos; }
    int GetContentHeight() const { return m_contentHeight; }
    int GetRowsTop() const { return m_rowsTop; }
    const solvehost::CFormulaTextLayout& StatementLayout() const { return m_statement; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The width the contents are placed for: the client less a shown scroll bar.
    int PlacedWidth() const;
    // Lays the statement out and places the rows, buttons and example.
    void Arrange();
    void Place(int width);
    // Arrange, then the scroll bar's range, position and visibility.
    void Relayout();
    void OnScroll(int position);
    void ShowLangMessage(const char* key);

    IExerciseOwner* m_owner;
    std::vector<CExerciseTaskWnd*> m_rows;
    CExerciseTaskWnd* m_example;
    QPushButton* m_check;
    QPushButton* m_editorPanel;
    QScrollBar* m_scrollBar;
    solvehost::CFormulaTextLayout m_statement;
    QFont m_font;
    bool m_loaded = false;
    bool m_scrollShown = false;
    int m_rowsTop = 100;
    int m_scrollPos = 0;
    int m_contentHeight = 0;
};

}  // namespace exercise
