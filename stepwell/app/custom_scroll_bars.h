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
#include <QCursor>
#include <QPicture>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <map>
#include <optional>

#include "platform/hresult.h"
#include "stepwell/model/scroll_bar_geometry.h"

class QPainter;
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

// One extra button a bar carries at one of its ends.
struct CustomScrollButton {
    int side = 1;  // 1 at the start (left or top), 2 at the end
    int commandId = 0;
    unsigned style = 0;  // kind in bits 0-4, look bits from scrollbar::kLook*
    bool checked = false;
    int size = 0;  // pixels; negative: that many system arrow sizes
    QPixmap bitmap;
    QPicture picture;  // played stretched when there is no bitmap
    std::optional<QCursor> cursor;
    int preferred = 0;  // sizes of a resizable button
    int minimum = 0;
    int maximum = 0;
};

// Custom drawing, offered to the widget's parent.
constexpr int kCustomDrawCode = -4095;
constexpr unsigned kStagePrePaint = 1;
constexpr unsigned kStageItemPrePaint = 0x10001;
constexpr unsigned kStagePostPaint = 2;
constexpr int kSkipDefault = 4;  // the pre-paint answer that takes a bar over
// Item states.
constexpr unsigned kItemPressed = 1;
constexpr unsigned kItemDisabled = 4;
constexpr unsigned kItemDefault = 32;
constexpr unsigned kItemHot = 64;
// Item values beside the bar kinds.
constexpr int kItemValueCorner = 3;
constexpr int kItemValueButton = -2;

struct CustomScrollDraw {
    QWidget* window = nullptr;  // the widget with the library
    int controlId = 0;          // its object name read as a number, else 0
    int code = kCustomDrawCode;
    unsigned stage = 0;
    QPainter* painter = nullptr;  // in the widget's coordinates
    QRect rect;                   // in the widget's coordinates
    int item = 0;
    unsigned itemState = 0;
    int itemValue = 0;
};

// The press of an extra button, offered to the widget's parent.
constexpr int kButtonClickCode = -2;
struct CustomScrollButtonClick {
    QWidget* window = nullptr;
    int controlId = 0;
    int code = kButtonClickCode;
    QRect rect;    // the button, in screen coordinates
    QPoint point;  // the press, in screen coordinates
    int commandId = 0;
    int reserved = 0;
    int barKind = 0;
};

// What a widget with the library is told.
class ICustomScrollBarWindow {
public:
    virtual ~ICustomScrollBarWindow() = default;
    // A scroll request (0 to 8) with the thumb's position for 4 and 5.
    virtual void OnHScroll(int /*request*/, int /*pos*/) {}
    virtual void OnVScroll(int /*request*/, int /*pos*/) {}
    // An extra button was clicked: its command id with notification code 1.
    virtual void OnScrollBarCommand(int /*commandId*/, int /*code*/) {}
};

// What the parent of a widget with the library may answer.
class ICustomScrollBarParent {
public:
    virtual ~ICustomScrollBarParent() = default;
    // Pre-paint: answer kSkipDefault to draw the bar's parts itself; item
    // notifications then follow for each part. Other answers are not used.
    virtual int OnScrollBarCustomDraw(const CustomScrollDraw& /*draw*/) { return 0; }
    virtual void OnScrollBarButtonClick(const CustomScrollButtonClick& /*click*/) {}
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
