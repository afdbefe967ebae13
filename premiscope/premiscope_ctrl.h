#pragma once
// CPremiscopeCtrl: the condition viewer as a component. It reads a task's
// condition (CConditionReader), sets its words and formula controls into a
// CFormulaTextLayout under a caption, and, once a host places it, draws it
// on squared paper in a PremiscopeWidget with its own scroll strip.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "platform/com/com.h"
#include "premiscope/condition_reader.h"
#include "premiscope/premiscope_ids.h"
#include "premiscope/scroll_state.h"
#include "solvehost/formula_text_layout.h"

class QLabel;

namespace premiscope {

using platform::HRESULT;
using platform::com::OLE_COLOR;
using platform::com::VARIANT_BOOL;

class _DPremiscope : public platform::com::IDispatch {
public:
    using Base = platform::com::IDispatch;
    static constexpr platform::com::IID iid = DIID__DPremiscope;
};

class CPremiscopeCtrl;

// The viewer's window: the caption, the paper, the strip and the formula
// controls of the layout as its children.
class PremiscopeWidget : public QWidget {
public:
    PremiscopeWidget(QWidget* parent, CPremiscopeCtrl* control);
    ~PremiscopeWidget() override;
    void detach() { m_control = nullptr; }
    QLabel* caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CPremiscopeCtrl* m_control;
    QLabel* m_caption;
};

class CPremiscopeCtrl final
    : public platform::com::DispatchObject<CPremiscopeCtrl, _DPremiscope, platform::com::IConnectionPointContainer,
                                           platform::com::IControlWindow, platform::com::IPersistPropertyBag> {
public:
    static constexpr int kCellSize = 20;
    static constexpr OLE_COLOR kDefaultGridColor = 0x808080;

    CPremiscopeCtrl();
    ~CPremiscopeCtrl() override;

    static std::span<const platform::com::DispatchMember<CPremiscopeCtrl>> dispatchMembers();

    HRESULT FindConnectionPoint(const platform::com::IID& events, platform::com::IConnectionPoint** point) override;
    QWidget* createWindow(QWidget* parent) override;
    QWidget* window() override;
    // Version 1.0.0 and the stock properties.
    HRESULT InitNew() override;
    HRESULT Load(const platform::com::PropertyBag& bag) override;
    HRESULT Save(platform::com::PropertyBag& bag) override;

    // ---- _DPremiscope ----
    VARIANT_BOOL SetCondition(const std::string& condition);
    std::string GetStartFormula();
    std::uint32_t GetOptimalHeight();
    VARIANT_BOOL IsNeedUserInputToBegin();
    std::string GetTaskJobAttribute(const std::string& name);
    std::string GetTaskJobFormulaByType(const std::string& name);
    OLE_COLOR gridColor() const { return m_gridColor; }
    void setGridColor(OLE_COLOR colour);
    platform::com::ComPtr<platform::com::IDispatch> guiFont() const { return {}; }
    void setGuiFont(platform::com::IDispatch* font);
    OLE_COLOR backColor() const { return m_backColor; }
    void setBackColor(OLE_COLOR colour);
    OLE_COLOR foreColor() const { return m_foreColor; }
    void setForeColor(OLE_COLOR colour);
    platform::com::ComPtr<platform::com::IDispatch> font() const;
    void setFont(platform::com::IDispatch* font);

    // ---- for the widget ----
    void widgetGone();
    // Clamps the offset, lays the content out again at it and repaints.
    void UpdateScrollState();
    // Paints paper, strip and words into an image of the client size.
    QImage PaintItems() const;
    CScrollState& scroll() { return m_scroll; }
    bool isModified() const { return m_modified; }
    const solvehost::CFormulaTextLayout& layout() const { return m_layout; }
    // The font words are measured and drawn in.
    QFont textFont() const;

private:
    void colourCaption();
    void repaint();
    int arrange(int top);

    platform::com::ComPtr<platform::com::ConnectionPoint> m_events;
    platform::com::ComPtr<platform::com::FontObject> m_stockFont;
    CConditionReader m_reader;
    solvehost::CFormulaTextLayout m_layout;
    CScrollState m_scroll;
    PremiscopeWidget* m_widget = nullptr;
    OLE_COLOR m_gridColor = kDefaultGridColor;
    OLE_COLOR m_backColor = 0xFFFFFF;
    OLE_COLOR m_foreColor = 0x000000;
    std::optional<QFont> m_guiFont;
    bool m_modified = false;
};

}  // namespace premiscope
