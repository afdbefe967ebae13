#pragma once
// CFormavelCtrl: the formula control as a component. It embeds one formula
// environment and its transformer, answers _DFormavel by dispid, fires the
// seven events of _DFormavelEvents through its connection point, saves its
// properties to a property bag and, once a host places it, shows itself in
// a FormavelWidget that forwards mouse, keys, focus and painting here.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include <QFont>

#include "formula/control/formavel_ids.h"
#include "formula/control/palettes/palette_manager.h"
#include "formula/env/formula_env.h"
#include "formula/transform/transform_listener.h"
#include "formula/transform/transformer.h"
#include "platform/com/com.h"

namespace formula::control {

using platform::HRESULT;
using platform::com::OLE_COLOR;
using platform::com::VARIANT_BOOL;

class FormavelWidget;

class _DFormavel : public platform::com::IDispatch {
public:
    using Base = platform::com::IDispatch;
    static constexpr platform::com::IID iid = DIID__DFormavel;
};

// Squared paper behind the formula.
struct GridSettings {
    bool showHorizontal = false;
    bool showVertical = false;
    int dx = 20;
    int dy = 20;
    int originX = 0;
    int originY = 0;
    OLE_COLOR colour = 0;
};

class CFormavelCtrl final
    : public platform::com::DispatchObject<CFormavelCtrl, _DFormavel, platform::com::IConnectionPointContainer,
                                           platform::com::IControlWindow, platform::com::ISupportErrorInfo,
                                           platform::com::IPersistPropertyBag>,
      public ITransformListener,
      public IPaletteClient {
public:
    CFormavelCtrl();
    ~CFormavelCtrl() override;

    static std::span<const platform::com::DispatchMember<CFormavelCtrl>> dispatchMembers();

    // IConnectionPointContainer
    HRESULT FindConnectionPoint(const platform::com::IID& events, platform::com::IConnectionPoint** point) override;
    // IControlWindow
    QWidget* createWindow(QWidget* parent) override;
    QWidget* window() override;
    // IPersistPropertyBag: LexemText, State, BackColor, Locked,
    // ScrollingLocked, EliminateBrackets in this order.
    HRESULT InitNew() override;
    HRESULT Load(const platform::com::PropertyBag& bag) override;
    HRESULT Save(platform::com::PropertyBag& bag) override;

    // ---- _DFormavel ----
    void AboutBox() {}
    OLE_COLOR backColor() const { return m_backColor; }
    void setBackColor(OLE_COLOR colour);
    VARIANT_BOOL locked() const { return m_locked; }
    void setLocked(VARIANT_BOOL locked);
    VARIANT_BOOL scrollingLocked() const { return m_scrollingLocked; }
    void setScrollingLocked(VARIANT_BOOL locked);
    VARIANT_BOOL eliminateBrackets() const { return m_eliminateBrackets; }
    void setEliminateBrackets(VARIANT_BOOL on);
    std::string GetLexemText() const;
    void SetLexemText(const std::string& text);
    std::int16_t GetState() const;
    void SetState(std::int16_t state);
    void UseEditor();
    VARIANT_BOOL Copy();
    VARIANT_BOOL Paste();
    void Clear();
    VARIANT_BOOL DeleteSelection();
    VARIANT_BOOL Cut();
    VARIANT_BOOL ShowToolsDlg(const std::string& dialogId);
    VARIANT_BOOL HideToolsDlg(const std::string& dialogId);
    std::string GetMathMLText() const;
    std::string GetAplanText() const;
    VARIANT_BOOL SetAplanText(const std::string& text);
    void UseViewer();
    void SetOperationResult(VARIANT_BOOL success, const std::string& data);
    void SetDefultFontSize(std::int32_t width, std::int32_t height);
    std::int32_t GetDefaulFontWidth() const;
    std::int32_t GetDefaultFontHeight() const;
    void SetTopLeftPosition(std::int32_t x, std::int32_t y);
    void GetOptimalSize(std::int32_t* cx, std::int32_t* cy);
    VARIANT_BOOL Undo();
    VARIANT_BOOL CanUndo() const;
    VARIANT_BOOL Redo();
    VARIANT_BOOL CanRedo() const;
    VARIANT_BOOL AddLexem(std::int32_t lexType);
    void SetGridData(std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy, VARIANT_BOOL showVertical,
                     VARIANT_BOOL showHorizontal, std::int32_t colour);
    VARIANT_BOOL AddTool(std::int32_t id);
    VARIANT_BOOL AddToolsGroup(std::int32_t id);
    VARIANT_BOOL IsFormulaValid();
    void RemoveAllTools() {}
    void SetLanguge(std::int32_t id);
    std::int32_t GetLanguage() const;
    VARIANT_BOOL SetSchoolClass(std::int32_t classId);
    VARIANT_BOOL GetSelectedLexemText(std::string* text);
    VARIANT_BOOL GetValidAplanText(std::string* text);
    VARIANT_BOOL CopyAll();
    VARIANT_BOOL CutAll();
    VARIANT_BOOL PasteAll(std::string* lexemText);
    VARIANT_BOOL UseTransformer();
    std::int32_t IsGraficFormulaValid(std::int32_t flags);
    VARIANT_BOOL SetLexemOperationResult(VARIANT_BOOL success, const std::string& lexemText);
    VARIANT_BOOL SetMathMLText(const std::string& text);
    VARIANT_BOOL showAggregativeSymbol() const { return m_showAggregate; }
    void setShowAggregativeSymbol(VARIANT_BOOL show);
    OLE_COLOR colorAggregativeSymbol() const { return m_aggregateColour; }
    void setColorAggregativeSymbol(OLE_COLOR colour);
    std::int32_t GetOptimalHeight();
    std::int32_t GetOptimalWidth();
    // Stock properties.
    std::string caption() const { return m_caption; }
    void setCaption(const std::string& caption);
    std::int16_t borderStyle() const { return m_borderStyle; }
    void setBorderStyle(std::int16_t style);
    std::int16_t appearance() const { return m_appearance; }
    void setAppearance(std::int16_t appearance);
    // The control's own font object; a put copies the given font's
    // description into it (a null font restores the default one).
    platform::com::ComPtr<platform::com::IDispatch> font() const;
    void setFont(platform::com::IDispatch* font);
    // The stock font as drawn: the caption, the design text, GetOptimalSize.
    QFont stockFont() const;

    // ---- ITransformListener: the transformer's events go to the host ----
    void OnOperationLClick() override;
    void OnOperationRClick(int vertex, const std::string& data) override;
    void OnOperationDblClick(int vertex, const std::string& data) override;
    void OnOperationDragDrop(int vertex, const std::string& sourceData, const std::string& destinationData) override;
    void OnFormulaTransformed() override;

    // ---- IPaletteClient ----
    void insertTool(int toolId) override;
    QWidget* paletteParent() override;
    void toolsDialogClosed() override;

    // ---- for the widget ----
    CFormulaEnv& env() { return m_env; }
    CTransformer& transformer() { return *m_transformer; }
    const GridSettings& grid() const { return m_grid; }
    bool isLocked() const { return m_locked != platform::com::VARIANT_FALSE; }
    bool isScrollingLocked() const { return m_scrollingLocked != platform::com::VARIANT_FALSE; }
    void fireFormulaChanged();
    // Repaints the widget when there is one.
    void repaint();
    // A message of the control's table in the current language.
    void message(int id, MessageIcon icon = MessageIcon::Information);
    // Copy of the whole formula from the menu or a right double click:
    // copied, then message 1034.
    void copyAllWithMessage();
    // The widget is going (its parent destroys it): messages have no parent
    // window from now on.
    void widgetGone();
    // Alt+letter in editor mode: true when the letter is a shortcut.
    bool altShortcut(char letter);
    // Whether Alt with this capital letter is one of the control's shortcuts.
    static bool isAltShortcut(char letter);

private:
    bool fromLexemText(const std::string& text);
    // Unions standing alone in lines of systems and unions give way to
    // their own lines (before the switch to transformer mode).
    void flattenUnions();
    // The caption block height and the formula's size for GetOptimalSize.
    void optimalSize(std::int32_t& cx, std::int32_t& cy);

    platform::com::ComPtr<platform::com::ConnectionPoint> m_events;
    CFormulaEnv m_env;
    std::unique_ptr<CTransformer> m_transformer;
    FormavelWidget* m_widget = nullptr;
    GridSettings m_grid;
    OLE_COLOR m_backColor = 0xFFFFFF;
    VARIANT_BOOL m_locked = platform::com::VARIANT_FALSE;
    VARIANT_BOOL m_scrollingLocked = platform::com::VARIANT_FALSE;
    VARIANT_BOOL m_eliminateBrackets = platform::com::VARIANT_FALSE;
    VARIANT_BOOL m_showAggregate = platform::com::VARIANT_TRUE;
    OLE_COLOR m_aggregateColour = 0;
    std::string m_caption;
    platform::com::ComPtr<platform::com::FontObject> m_font;
    std::int16_t m_borderStyle = 0;
    std::int16_t m_appearance = 0;
    bool m_modified = false;
};

// 1 and -1: the two TRUE values of the dispatch map.
inline constexpr VARIANT_BOOL kTrueOne{1};
inline constexpr VARIANT_BOOL kTrue = platform::com::VARIANT_TRUE;
inline constexpr VARIANT_BOOL kFalse = platform::com::VARIANT_FALSE;

// IsGraficFormulaValid over an environment's formula: 1 valid, 0 not.
int CheckGraphicFormula(const CFormulaEnv& env, int flags);

}  // namespace formula::control
