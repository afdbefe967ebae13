#pragma once
// The command ids of the solver's and the calculator's frame (menu and
// toolbar 128), carried by their QActions as data.
namespace reckonry {

enum CommandId : int {
    ID_CALCULATE = 32795,
    ID_NEW_TASK = 32797,
    ID_REMOVE_TASK = 32798,
    ID_TOOLS_PANEL = 32799,
    ID_EXACT_MODE = 32800,
    ID_APPROXIMATE_MODE = 32801,
    ID_UNDO = 32802,
    ID_REDO = 32803,
    ID_COPY_ANSWER = 32804,
    ID_PASTE_CONDITION = 32805,
    ID_HELP = 32807,
    ID_VIEW_TOOLBAR = 32810,
    ID_VIEW_STATUS_BAR = 32811,
    ID_EXIT = 32812,
    ID_USER_MANUAL = 32813,
    ID_FILE_SAVE = 32815,
    ID_METHODICAL = 32817,
    ID_APP_ABOUT = 57664,
};

// Which program the shared frame, tab and page code is built for.
enum class Program { Reckonry, Sumwright };

// Kernel function codes of the mode commands: exact/approximate, read the
// precision, set the precision.
struct ModeCodes {
    int setMode;
    int readPrecision;
    int setPrecision;
};
inline constexpr ModeCodes kReckonryModeCodes{9, 10, 11};
inline constexpr ModeCodes kSumwrightModeCodes{1001, 1002, 1003};
// Sumwright's calculation.
inline constexpr int kCalculateCode = 1;

}  // namespace reckonry
