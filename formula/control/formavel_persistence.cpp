// The formula control's properties in a property bag: LexemText, State,
// BackColor, Locked, ScrollingLocked, EliminateBrackets in this order.
#include "formula/control/formavel_ctrl.h"

namespace formula::control {

using namespace platform::com;
using namespace detail;


HRESULT CFormavelCtrl::InitNew()
{
    m_locked = kFalse;
    m_scrollingLocked = kFalse;
    m_transformer->SetLocked(false);
    m_transformer->ResetOperation();
    m_env.SetNoneMode();
    repaint();
    return platform::S_OK;
}

HRESULT CFormavelCtrl::Load(const PropertyBag& bag)
{
    std::string text;
    std::int16_t state = 0;
    bag.read("LexemText", text);
    bag.read("State", state);
    SetLexemText(text);
    SetState(state);
    OLE_COLOR colour = 0xFFFFFF;
    VARIANT_BOOL locked = kFalse;
    VARIANT_BOOL scrollingLocked = kFalse;
    VARIANT_BOOL eliminate = kFalse;
    bag.read("BackColor", colour);
    bag.read("Locked", locked);
    bag.read("ScrollingLocked", scrollingLocked);
    bag.read("EliminateBrackets", eliminate);
    setBackColor(colour);
    setLocked(locked);
    setScrollingLocked(scrollingLocked);
    setEliminateBrackets(eliminate);
    return platform::S_OK;
}

HRESULT CFormavelCtrl::Save(PropertyBag& bag)
{
    bag.write("LexemText", m_env.GetLexemText());
    bag.write("State", GetState());
    bag.write("BackColor", m_backColor);
    bag.write("Locked", m_locked);
    bag.write("ScrollingLocked", m_scrollingLocked);
    bag.write("EliminateBrackets", m_eliminateBrackets);
    m_modified = false;
    return platform::S_OK;
}

}  // namespace formula::control
