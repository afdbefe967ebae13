#pragma once
// Shared by the files of the formula control: message ids and the answer of
// a BOOL member.
#include "formula/control/formavel_ctrl.h"

namespace formula::control::detail {

inline constexpr int kMsgViewerFailed = 1002;
inline constexpr int kMsgEditorFailed = 1003;
inline constexpr int kMsgTopLeftRefused = 1007;
inline constexpr int kMsgUnknownLexem = 1008;
inline constexpr int kMsgCopied = 1034;

// A BOOL member's answer: trueValue (-1 or 1) or FALSE.
inline VARIANT_BOOL answer(bool value, VARIANT_BOOL trueValue = kTrue)
{
    return value ? trueValue : kFalse;
}

}  // namespace formula::control::detail
