#pragma once
// The Windows system colours that the drawn controls name, taken from the
// application's palette, so the controls follow the desktop's colours.
#include <QColor>

namespace platform {

// Indices of the system colours in use (their Windows numbers).
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;

// The colour of the application palette's role that stands for the index;
// black for an index not in use (as Windows answers an unknown one).
QColor sysColor(int index);

}  // namespace platform
