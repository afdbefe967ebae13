#pragma once
// The guide's catalogue as plain records: chapters hold groups, groups hold
// transformation items. The loader fills them from the guide and chapter
// files; the guide control's windows show them. No widgets here.
#include <memory>
#include <string>
#include <vector>

namespace pathmentor {

// What kind of page shows an item (the `view` attribute of TR).
enum class ItemView : int {
    Formula = 1,  // a column of formulas, optionally chosen by radio buttons
    Graph = 2,    // one graph drawn by the graph library
    Plain = 3,    // title and buttons only
};

// One formula of a formula item: its lexeme text and the two
// recommendation signs it answers to.
struct GuideFormula {
    std::string text;
    int sign1 = 0;
    int sign2 = 0;
};

// One transformation the pupil can apply.
struct TransformationItem {
    ItemView view = ItemView::Plain;
    std::string guid;
    int aplan = 0;  // the kernel's function code, sent with the apply event
    int type = 0;   // sent as trType
    bool needDialog = false;
    bool needAllExpr = false;
    std::string name;
    std::string action;
    std::string howtodo;
    std::string mathexpl;
    std::string howToDoExtended;

    // Formula items only: whether the pupil chooses one formula, and the list.
    bool formulaChoice = false;
    std::vector<GuideFormula> formulas;

    // Graph items only: the graph task's text for the graph library.
    std::string graphText;
};

// A collapsible group of items. Items are owned here: answer items are shown
// in the recommended chapter's answers group but stay owned by their home group.
struct GuideGroup {
    std::string guid;
    std::string name;
    std::vector<std::unique_ptr<TransformationItem>> items;
};

// One chapter: one tab of the guide.
struct GuideChapter {
    int id = 0;
    std::string guid;
    std::string name;     // the chapter's title line
    std::string tabName;  // the tab caption
    std::vector<std::unique_ptr<GuideGroup>> groups;
};

// Everything one guide file loaded, in load order.
using ChapterList = std::vector<std::unique_ptr<GuideChapter>>;

}  // namespace pathmentor
