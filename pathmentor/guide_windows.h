#pragma once
// The windows that show the guide's records: a chapter is a rollup
// (CCommonChapterWnd) whose pages are its groups (CGuideChapterWnd); a group
// stacks the pages of its transformation items (CTransformationWnd, built in
// code after templates 130 formula, 131 graph and 133 plain), each with a
// title (1001), a how-to-do button (1002) and an apply button (1004).
// CDialogInfo (template 143) shows an item's how-to-do text.
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "pathmentor/model/guide_records.h"
#include "pathmentor/rollup_ctrl.h"
#include "platform/com/unknown.h"
#include "platform/com/dispatch.h"

class QLabel;
class QRadioButton;
class QTextEdit;

namespace pathmentor {

class CGuideChapterWnd;

inline constexpr int kRowSize = 20;
inline constexpr int kTitleId = 1001;
inline constexpr int kHowToDoId = 1002;
inline constexpr int kApplyId = 1004;
inline constexpr int kGraphId = 500;

// The process's bold title font: the default GUI font at 14 pixels, weight 700.
QFont boldTitleFont();

// A push button that draws one icon centred in itself, moved by (1, 1) while
// pressed, with a tooltip. A double click counts as a press (a widget's
// double click is handed to its press handler).
class CIconButton : public QPushButton {
public:
    CIconButton(const QPixmap& icon, const QString& tip, QWidget* parent);
    const QPixmap& icon() const { return m_icon; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_icon;
};

// One item's page.
class CTransformationWnd : public QWidget {
public:
    // The page of item, owned by parent (its group window); home is the
    // group the item comes from (it differs only for answer items).
    CTransformationWnd(TransformationItem* item, CGuideChapterWnd* home, QWidget* parent);
    // A page that owns its item (a copy made for the recommended chapter).
    CTransformationWnd(std::unique_ptr<TransformationItem> item, CGuideChapterWnd* home, QWidget* parent);
    ~CTransformationWnd() override;

    // 130 formula, 131 graph, 133 plain.
    int templateId() const;
    TransformationItem* item() const { return m_item; }
    CGuideChapterWnd* home() const { return m_home; }
    // Plain 55, graph 185, formula 35 with its formulas hidden or none, else
    // 30 + their heights + 5 between them + 10; a title that wraps at the
    // page's width adds its lines beyond the first row.
    int PageHeight() const;
    int PageHeight(int w) const;
    bool formulasShown() const;
    // The 1-based position of the first checked radio button; 0 for none or
    // when the item offers no choice.
    int formulaIndex() const;
    bool multyFormulaChoice() const;
    // Places title, buttons, formulas and graph for the page's width.
    void LayoutPage(int w);

    // The commands of the two buttons.
    void OnApply();
    void OnHowTodo();

    QLabel* title() const { return m_title; }
    CIconButton* howToDoButton() const { return m_howToDo; }
    CIconButton* applyButton() const { return m_apply; }
    struct Formula {
        platform::com::ComPtr<platform::com::IDispatch> control;
        QPointer<QWidget> window;
        int height = kRowSize;
        QRadioButton* radio = nullptr;
    };
    const std::vector<Formula>& formulas() const { return m_formulas; }
    QWidget* graphWindow() const { return m_graphWindow; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void initFormulas();
    void initGraph();
    // The title's height at the page width w: one row, or its wrapped lines.
    int titleHeight(int w) const;

    std::unique_ptr<TransformationItem> m_ownedItem;
    TransformationItem* m_item;
    CGuideChapterWnd* m_home;
    QLabel* m_title;
    CIconButton* m_howToDo;
    CIconButton* m_apply;
    std::vector<Formula> m_formulas;
    platform::com::ComPtr<platform::com::IDispatch> m_graph;
    QPointer<QWidget> m_graphWindow;
};

// One group: a plain window that stacks its item pages.
class CGuideChapterWnd : public QWidget {
public:
    explicit CGuideChapterWnd(GuideGroup* group);
    ~CGuideChapterWnd() override;

    // Creates the window in parent with the next child id and a page for
    // every item of the group record.
    bool Create(QWidget* parent);
    GuideGroup* group() const { return m_group; }
    // The pages of the group's own items, in order (wherever they are shown).
    const std::vector<QPointer<CTransformationWnd>>& ownPages() const { return m_pages; }
    // The pages shown here: own pages that are here, then guests (answers).
    std::vector<CTransformationWnd*> pages() const;
    // Makes the page of an item (owned by this window) and appends it.
    CTransformationWnd* CreateItemPage(TransformationItem* item);
    // The same for an item copy that the page then owns (it goes with it).
    CTransformationWnd* CreateItemPage(std::unique_ptr<TransformationItem> item);
    // Shows another group's page here (an answer) until SendGuestsHome
    // gives every guest back to its own group.
    void AddGuest(CTransformationWnd* page);
    void SendGuestsHome();
    // Takes back one of its own pages (shown elsewhere until now).
    void TakeBack(CTransformationWnd* page);
    // Frees every page made here (deleteLater) and forgets them.
    void DestroyPages();
    // Σ(page height + 6) + 6, the pages at the group's width less the gaps.
    int GroupHeight() const;
    // Resizes to the group height at the present width.
    void FitHeight();
    void LayoutPages();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    GuideGroup* m_group;
    std::vector<QPointer<CTransformationWnd>> m_pages;
    std::vector<QPointer<CTransformationWnd>> m_guests;
};

// One chapter: a rollup with the chapter's name as its title line.
class CCommonChapterWnd : public CRollupCtrl {
public:
    explicit CCommonChapterWnd(GuideChapter* chapter);
    ~CCommonChapterWnd() override;

    // Creates the rollup in parent at (0, 25, 100, 100) and every group window.
    bool Create(QWidget* parent);
    GuideChapter* chapter() const { return m_chapter; }
    const std::vector<CGuideChapterWnd*>& groups() const { return m_groups; }
    // Lays out the groups' pages, then the rollup.
    void LayoutChapter();

private:
    GuideChapter* m_chapter;
    std::vector<CGuideChapterWnd*> m_groups;
};

// The how-to-do dialog: the item's text, 202/203 for its extended help and
// 1006 to close.
class CDialogInfo : public QDialog {
public:
    CDialogInfo(const TransformationItem& item, QWidget* parent);
    // Left edge at the mouse x (less the width when x is greater than it),
    // top edge likewise.
    static QPoint PlaceAt(const QPoint& mouse, const QSize& size);
    QTextEdit* text() const { return m_text; }
    QWidget* extendedLabel() const { return m_extendedLabel; }
    QPushButton* extendedButton() const { return m_extended; }
    QPushButton* closeButton() const { return m_close; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TransformationItem& m_item;
    QTextEdit* m_text;
    QWidget* m_extendedLabel;
    QPushButton* m_extended;
    QPushButton* m_close;
};

}  // namespace pathmentor
