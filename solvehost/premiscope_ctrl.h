#pragma once
// The host side of the condition viewer: the wrapper window CPremiscopeCtrl,
// which calls _DPremiscope by dispid, and Stepwell's condition pane
// CStepwellConditionWnd, which holds one. Without a control (a failed
// Create) the members answer FALSE, 0 or an empty text and change nothing;
// a failing call on a control throws platform::com::Error.
#include <cstdint>
#include <string>

#include "platform/com/font.h"
#include "platform/com/variant.h"
#include "solvehost/control_wrapper.h"

namespace solvehost {

using platform::com::OLE_COLOR;

class CPremiscopeCtrl : public CControlWrapper {
public:
    // Makes the condition viewer by its CLSID at rect in parent.
    bool Create(const QString& name, WindowStyle style, const QRect& rect, QWidget* parent, int id);

    // Shows a task (its XML text); true when the viewer took it.
    bool SetCondition(const std::string& condition);
    std::string GetStartFormula();
    // The height the viewer needs for its content at its width.
    std::uint32_t GetOptimalHeight();
    bool IsNeedUserInputToBegin();
    std::string GetTaskJobAttribute(const std::string& attrName);
    std::string GetTaskJobFormulaByType(const std::string& typeName);
    void SetBackColor(OLE_COLOR colour);
    void SetForeColor(OLE_COLOR colour);
    void SetGridColor(OLE_COLOR colour);
    // Puts a font object with this description.
    void SetGuiFont(const platform::com::FontDescription& font);
};

// Stepwell's condition pane: the viewer covers it, so it paints nothing of
// its own. The program creates the viewer in it and sizes it (viewer()).
class CStepwellConditionWnd : public QWidget {
public:
    explicit CStepwellConditionWnd(QWidget* parent = nullptr);

    CPremiscopeCtrl& viewer() { return m_viewer; }

    std::uint32_t GetOptimalHeight();
    // True when the viewer answered TRUE.
    bool SetCondition(const std::string& condition);
    // BackColor, ForeColor and GridColor of the viewer, in this order.
    void SetColors(OLE_COLOR back, OLE_COLOR fore, OLE_COLOR grid);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CPremiscopeCtrl m_viewer;
};

}  // namespace solvehost
