#pragma once
// The guide context: what every guide control of the process shares. The
// active control (the one last created or clicked, to which item pages hand
// their commands), the context-menu and tooltip captions, the back and fore
// colours of the guide (invalid until a control makes them), the two icons of
// the item buttons and the next child id for guide windows.
//
// The context lives while any guide control lives: a control joins it when it
// is made and leaves it when it is destroyed; the last one to leave empties
// it. Destroying the active control clears the active control.
#include <QColor>
#include <QPixmap>
#include <QString>
#include <string>

namespace pathmentor {

class CPathmentorCtrl;

struct GuideContext {
    CPathmentorCtrl* activeControl = nullptr;
    QString expandAll;
    QString collapseAll;
    QString apply;
    QString howtodo;
    QColor backColor;  // the back brush; invalid until made
    QColor foreColor;  // the fore brush; invalid until made
    QPixmap applyIcon;    // icon 5
    QPixmap howtodoIcon;  // icon 201
    int nextId = 2000;
    int controls = 0;

    int takeChildId() { return nextId++; }
    // The back colour, white while no control made it.
    QColor back() const { return backColor.isValid() ? backColor : QColor(Qt::white); }
    QColor fore() const { return foreColor.isValid() ? foreColor : QColor(Qt::white); }
};

// ShowExtendedTransformations: one value for the whole process (TRUE at start).
bool& showExtendedTransformations();
// How many formula pages this process initialised (the "Unknown error" count).
int& formulaPageInitCount();

// An item page's apply button: the active control fires its apply event
// ("Error/nApplication will terminate" when no control is active).
class CTransformationWnd;
void applyTransformation(const CTransformationWnd& page);
// Button 203 of the how-to-do dialog: the active control fires ShowExtendedHowTodo.
void showExtendedHowTodo(const std::string& howToDo);

// The process's context (made on first use).
GuideContext& guideContext();
// A control joins and leaves; the last to leave empties the context.
void joinGuideContext();
void leaveGuideContext(CPathmentorCtrl* control);

}  // namespace pathmentor
