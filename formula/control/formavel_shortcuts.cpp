// Alt+letter shortcuts of the formula control in editor mode.
#include "formula/control/formavel_ctrl.h"

#include "formula/env/tool_table.h"

namespace formula::control {

using namespace platform::com;
using namespace detail;

namespace {

struct Shortcut {
    char letter;
    int tool;
};
constexpr Shortcut kShortcuts[] = {
    {'A', 275}, {'B', 239}, {'D', 290}, {'E', 211}, {'F', 243}, {'G', 223}, {'I', 225},
    {'J', 219}, {'L', 227}, {'M', 229}, {'N', 242}, {'O', 228}, {'P', 230}, {'Q', 279},
    {'R', 267}, {'S', 273}, {'T', 240}, {'U', 224}, {'W', 241}, {'X', 277},
};

}  // namespace

bool CFormavelCtrl::isAltShortcut(char letter)
{
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.letter == letter) {
            return true;
        }
    }
    return false;
}

// The letters insert what they name without the school-class gate that the
// palettes and AddLexem go through.
bool CFormavelCtrl::altShortcut(char letter)
{
    if (m_env.Mode() != FormulaMode::Editor) {
        return false;
    }
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.letter == letter) {
            if (const ToolInfo* tool = FindTool(shortcut.tool)) {
                m_env.InsertElementUngated(MakeToolLexem(*tool));
            }
            repaint();
            fireFormulaChanged();
            return true;
        }
    }
    return false;
}

}  // namespace formula::control
