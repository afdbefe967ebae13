#pragma once
// What a drawn scroll bar and the widgets round it exchange: the description
// of an extra button, the drawing and button-click notifications offered to
// the parent of the widget the bar serves (with their codes and item states),
// and the two interfaces those widgets answer through. The bar
// (custom_scroll_bar.h) and the library that gives a widget two bars
// (custom_scroll_bars.h) both use them.
#include <QCursor>
#include <QPicture>
#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <optional>

class QPainter;
class QWidget;

namespace stepwell {

// One extra button a bar carries at one of its ends.
struct CustomScrollButton {
    int side = 1;  // 1 at the start (left or top), 2 at the end
    int commandId = 0;
    unsigned style = 0;  // kind in bits 0-4, look bits from scrollbar::kLook*
    bool checked = false;
    int size = 0;  // pixels; negative: that many system arrow sizes
    QPixmap bitmap{};
    QPicture picture{};  // played stretched when there is no bitmap (direct-initialised: its constructor is explicit)
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

}  // namespace stepwell
