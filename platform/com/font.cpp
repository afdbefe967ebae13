#include "platform/com/font.h"

#include <QFont>
#include <QString>

#include "platform/com/dispatch_driver.h"
#include "platform/fonts.h"

namespace platform::com {

namespace {

using F = FontObject;

constexpr DispatchMember<F> kMembers[] = {
    propertyGet<&F::name>(DISPID_FONT_NAME, "Name"),
    propertyPut<&F::setName>(DISPID_FONT_NAME, "Name"),
    propertyGet<&F::size>(DISPID_FONT_SIZE, "Size"),
    propertyPut<&F::setSize>(DISPID_FONT_SIZE, "Size"),
    propertyGet<&F::bold>(DISPID_FONT_BOLD, "Bold"),
    propertyPut<&F::setBold>(DISPID_FONT_BOLD, "Bold"),
    propertyGet<&F::italic>(DISPID_FONT_ITALIC, "Italic"),
    propertyPut<&F::setItalic>(DISPID_FONT_ITALIC, "Italic"),
    propertyGet<&F::underline>(DISPID_FONT_UNDERLINE, "Underline"),
    propertyPut<&F::setUnderline>(DISPID_FONT_UNDERLINE, "Underline"),
    propertyGet<&F::strikethrough>(DISPID_FONT_STRIKETHROUGH, "Strikethrough"),
    propertyPut<&F::setStrikethrough>(DISPID_FONT_STRIKETHROUGH, "Strikethrough"),
    propertyGet<&F::weight>(DISPID_FONT_WEIGHT, "Weight"),
    propertyPut<&F::setWeight>(DISPID_FONT_WEIGHT, "Weight"),
    propertyGet<&F::charset>(DISPID_FONT_CHARSET, "Charset"),
    propertyPut<&F::setCharset>(DISPID_FONT_CHARSET, "Charset"),
};
static_assert(validDispatchTable(kMembers));

constexpr std::string_view kSource = "Font";

void check(const FontDescription& description)
{
    if (std::string error = fontDescriptionError(description); !error.empty())
        throw Error(E_INVALIDARG, std::move(error), std::string(kSource), IFontDisp::iid);
}

}  // namespace

std::string fontDescriptionError(const FontDescription& font)
{
    if (font.name.empty())
        return "Font name is empty";
    // Also refuses NaN.
    if (!(font.size >= kMinFontSize && font.size <= kMaxFontSize))
        return "Font size must be from 1 to 1000 points";
    if (font.weight < 0 || font.weight > 1000)
        return "Font weight must be from 0 to 1000";
    if (font.charset < 0 || font.charset > 255)
        return "Font character set must be from 0 to 255";
    return {};
}

std::span<const DispatchMember<FontObject>> FontObject::dispatchMembers()
{
    return kMembers;
}

FontObject::FontObject(FontDescription description) : m_description(std::move(description))
{
    check(m_description);
}

void FontObject::setDescription(const FontDescription& description)
{
    change(description);
}

template <class Edit>
void FontObject::modify(Edit edit)
{
    FontDescription next = m_description;
    edit(next);
    change(std::move(next));
}

void FontObject::change(FontDescription description)
{
    check(description);
    if (description == m_description)
        return;
    m_description = std::move(description);
    if (m_onChange)
        m_onChange();
}

void FontObject::setName(const std::string& name)
{
    modify([&](FontDescription& font) { font.name = name; });
}

void FontObject::setSize(double points)
{
    modify([&](FontDescription& font) { font.size = points; });
}

void FontObject::setBold(bool bold)
{
    modify([&](FontDescription& font) { font.weight = bold ? 700 : 400; });
}

void FontObject::setItalic(bool italic)
{
    modify([&](FontDescription& font) { font.italic = italic; });
}

void FontObject::setUnderline(bool underline)
{
    modify([&](FontDescription& font) { font.underline = underline; });
}

void FontObject::setStrikethrough(bool strikethrough)
{
    modify([&](FontDescription& font) { font.strikethrough = strikethrough; });
}

void FontObject::setWeight(std::int16_t weight)
{
    modify([&](FontDescription& font) { font.weight = weight; });
}

void FontObject::setCharset(std::int16_t charset)
{
    modify([&](FontDescription& font) { font.charset = charset; });
}

ComPtr<IDispatch> makeFont(const FontDescription& description)
{
    return ComPtr<IDispatch>(make<FontObject>(description));
}

HRESULT readFontDescription(IDispatch* font, FontDescription* out)
{
    if (!font || !out)
        return E_POINTER;
    FontDescription read;
    try {
        DispatchDriver driver{ComPtr<IDispatch>(font)};
        read.name = driver.getProperty<std::string>(DISPID_FONT_NAME);
        read.size = driver.getProperty<double>(DISPID_FONT_SIZE);
        read.weight = driver.getProperty<std::int16_t>(DISPID_FONT_WEIGHT);
        read.italic = driver.getProperty<bool>(DISPID_FONT_ITALIC);
        read.underline = driver.getProperty<bool>(DISPID_FONT_UNDERLINE);
        read.strikethrough = driver.getProperty<bool>(DISPID_FONT_STRIKETHROUGH);
        read.charset = driver.getProperty<std::int16_t>(DISPID_FONT_CHARSET);
    } catch (const Error& error) {
        return error.hr();
    }
    if (!fontDescriptionError(read).empty())
        return E_INVALIDARG;
    *out = std::move(read);
    return S_OK;
}

QFont toQFont(const FontDescription& description)
{
    const std::string_view family = fonts::familyFor(description.name);
    QFont font(QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size())));
    font.setPointSizeF(description.size);
    font.setWeight(static_cast<QFont::Weight>(description.weight > 0 ? description.weight : 400));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikethrough);
    return font;
}

}  // namespace platform::com
