#pragma once
// The program's command ids, as the menus and the tool bar carry them.
namespace stepwell {

inline constexpr int kCmdNewTaskFirst = 32750;  // the new-task items, to 32780
inline constexpr int kCmdFileSave = 32787;
inline constexpr int kCmdViewGuide = 32789;
inline constexpr int kCmdViewEditor = 32791;
inline constexpr int kCmdViewToolbar = 32792;
inline constexpr int kCmdSolveBegin = 32794;
inline constexpr int kCmdSolveContinue = 32795;
inline constexpr int kCmdSolveStepCheck = 32797;
inline constexpr int kCmdSolveStepExecute = 32798;
inline constexpr int kCmdToolsCurvance = 32806;
inline constexpr int kCmdToolsReckonry = 32807;
inline constexpr int kCmdViewAutoScroll = 32810;
inline constexpr int kCmdViewExGuide = 32812;
inline constexpr int kCmdViewNumAxis = 32814;
inline constexpr int kCmdStepDescrEdit = 32816;
inline constexpr int kCmdSmodeAuto = 32822;
inline constexpr int kCmdSmodeIndep = 32823;
inline constexpr int kCmdSmodeMixed = 32824;
inline constexpr int kCmdHelpLexivane = 32825;
inline constexpr int kCmdHelpMethodRecommend = 32826;
inline constexpr int kCmdHelpContent = 32827;
inline constexpr int kCmdHelp = 32828;
inline constexpr int kCmdViewStepScroll = 32830;
inline constexpr int kCmdFilePrintVersion = 32833;
inline constexpr int kCmdToolsCalc = 32836;
inline constexpr int kCmdFileExit = 57665;

}  // namespace stepwell
