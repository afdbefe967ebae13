#pragma once
// Fonts that cross a dispatch interface: a control's stock Font property and
// font-valued properties of other components. A font is a dispatch object
// with the usual font members; a control keeps a font object of its own,
// answers it from its property get and copies a given font's description into
// it on put, so a host that changes the answered object (Bold, Size...) changes
// the control's font and the control redraws.
//
//   DispatchDriver font(control.getProperty<ComPtr<IDispatch>>(DISPID_FONT));
//   font.setProperty(DISPID_FONT_SIZE, 12.0);
//   control.setProperty(DISPID_FONT, makeFont({"Times New Roman", 14.0}));
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/com/dispatch_table.h"

class QFont;

namespace platform::com {

// Dispids of the font members.
constexpr DISPID DISPID_FONT_NAME = 0;
constexpr DISPID DISPID_FONT_SIZE = 2;
constexpr DISPID DISPID_FONT_BOLD = 3;
constexpr DISPID DISPID_FONT_ITALIC = 4;
constexpr DISPID DISPID_FONT_UNDERLINE = 5;
constexpr DISPID DISPID_FONT_STRIKETHROUGH = 6;
constexpr DISPID DISPID_FONT_WEIGHT = 7;
constexpr DISPID DISPID_FONT_CHARSET = 8;

struct FontDescription {
    std::string name = "MS Sans Serif";  // a face name; see platform::fonts::familyFor
    double size = 8.0;                   // points
    std::int16_t weight = 400;           // 0-1000 (0: the normal weight); bold is 600 and more
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::int16_t charset = 0;

    bool bold() const { return weight >= 600; }
    bool operator==(const FontDescription&) const = default;
};

// Sizes and weights a font object takes; anything else is refused.
constexpr double kMinFontSize = 1.0;
constexpr double kMaxFontSize = 1000.0;

// Empty when the description is one a font object takes, else why not
// ("Font name is empty", "Font size must be from 1 to 1000 points", ...).
std::string fontDescriptionError(const FontDescription& font);

class IFontDisp : public IDispatch {
public:
    using Base = IDispatch;
    static constexpr IID iid = Guid::literal("{F7E4574F-55AC-4953-B37A-9CC68E7A9D9F}");
};

// A font object. Puts that would make a description fontDescriptionError
// refuses fail with E_INVALIDARG and change nothing. Setting Bold sets the
// weight to 700 or 400.
class FontObject : public DispatchObject<FontObject, IFontDisp> {
public:
    static std::span<const DispatchMember<FontObject>> dispatchMembers();

    // Throws Error (E_INVALIDARG) for a description fontDescriptionError refuses.
    explicit FontObject(FontDescription description = {});

    const FontDescription& description() const { return m_description; }
    // Replaces the whole description; the change handler runs when it differs.
    // Throws Error (E_INVALIDARG) for a description fontDescriptionError refuses.
    void setDescription(const FontDescription& description);
    // Called after every change of the description (its owner redraws).
    void setChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

    // The dispatch members.
    std::string name() const { return m_description.name; }
    void setName(const std::string& name);
    double size() const { return m_description.size; }
    void setSize(double points);
    VARIANT_BOOL bold() const { return toVariantBool(m_description.bold()); }
    void setBold(bool bold);
    VARIANT_BOOL italic() const { return toVariantBool(m_description.italic); }
    void setItalic(bool italic);
    VARIANT_BOOL underline() const { return toVariantBool(m_description.underline); }
    void setUnderline(bool underline);
    VARIANT_BOOL strikethrough() const { return toVariantBool(m_description.strikethrough); }
    void setStrikethrough(bool strikethrough);
    std::int16_t weight() const { return m_description.weight; }
    void setWeight(std::int16_t weight);
    std::int16_t charset() const { return m_description.charset; }
    void setCharset(std::int16_t charset);

private:
    // The description with one edit made, refused or taken whole.
    template <class Edit>
    void modify(Edit edit);
    void change(FontDescription description);

    FontDescription m_description;
    std::function<void()> m_onChange;
};

// A new font object with that description (throws as FontObject's constructor).
ComPtr<IDispatch> makeFont(const FontDescription& description);

// The description of any dispatch object with the font members, read through
// its dispids. S_OK and *out filled; E_POINTER for a null font; otherwise the
// failure of the first member that could not be read (a dispatch object that
// is no font answers DISP_E_MEMBERNOTFOUND), or E_INVALIDARG for values that
// fontDescriptionError refuses; *out is untouched on failure.
HRESULT readFontDescription(IDispatch* font, FontDescription* out);

// The Qt font for a description: the installed family for its face, its
// point size, weight, italic, underline and strike-out. The caller includes
// <QFont>.
QFont toQFont(const FontDescription& description);

}  // namespace platform::com
