#pragma once
// A small library of plain functions that gives any widget drawn scroll bars
// in place of the toolkit's. Installing it keeps a per-widget state under
// the widget property "CoolSBSubclassPtr", filters the widget's events, adds
// the bars' thickness to the widget's contents margins (the widget's frame)
// and places the bars, and the corner between them, as child widgets in
// those margins. The bars report scrolling to the widget through
// ICustomScrollBarWindow; drawing and extra-button clicks are offered to the
// widget's parent through ICustomScrollBarParent.
//
// Without the library on a widget, the operations act on a
// QAbstractScrollArea's own bars where the widget is one.
#include <QString>

#include <map>

#include "platform/hresult.h"
#include "stepwell/app/custom_scroll_bar_types.h"
#include "stepwell/model/scroll_bar_geometry.h"

class QWidget;

namespace stepwell {

class CCustomScrollBar;

// Bars named by the operations.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;

// The numbers of a bar as the operations give and take them: the range
// includes the page (the last position is max - page + 1).
struct CustomScrollInfo {
    unsigned mask = 0;  // scrollbar::kMaskRange, kMaskPage, kMaskPos, kMaskKeepShown
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
};

// 1 after installing, 0 when the widget has the library already.
int CustomScrollBar_Install(QWidget* window);
// S_OK, or E_FAIL when the widget does not have the library.
platform::HRESULT CustomScrollBar_Remove(QWidget* window);
int CustomScrollBar_Show(QWidget* window, int bar, bool show);
// 1, or 0 without the library.
int CustomScrollBar_SetStyle(QWidget* window, int bar, int style);
// Applies the masked fields; answers the new position.
int CustomScrollBar_SetInfo(QWidget* window, int bar, const CustomScrollInfo& info, bool redraw);
// The bar's numbers (all fields); false when there is no such bar.
bool CustomScrollBar_GetInfo(QWidget* window, int bar, CustomScrollInfo& info);
bool CustomScrollBar_IsTracking(QWidget* window);

// Extra buttons: inserted before index (at the end when index is out of
// range); changed and removed by command id. False without the library or
// without such a button.
bool CustomScrollBar_InsertButton(QWidget* window, int bar, int index, const CustomScrollButton& button);
bool CustomScrollBar_ModifyButton(QWidget* window, int bar, int commandId, const CustomScrollButton& button);
bool CustomScrollBar_RemoveButton(QWidget* window, int bar, int commandId);
// The tooltip texts of the extra buttons, by command id.
bool CustomScrollBar_SetTooltipTexts(QWidget* window, std::map<int, QString> texts);

// The drawn bar widget of a widget with the library (SB_HORZ or SB_VERT),
// else nullptr.
CCustomScrollBar* CustomScrollBar_Bar(QWidget* window, int bar);

}  // namespace stepwell
