#pragma once
// Persistent properties of a control: a key-value property bag. A control
// saves and loads its properties in its own fixed order; the bag keeps the
// order of writing.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/variant.h"

namespace platform::com {

class PropertyBag {
public:
    // Replaces a name's value (it keeps its place) or appends the name.
    void write(std::string_view name, Variant value);
    // nullptr when the name is missing; names compare without regard to ASCII case.
    const Variant* find(std::string_view name) const;
    // The value converted to out's type; false, out untouched, when it is
    // missing or cannot be converted (the caller keeps its default).
    template <class T>
    bool read(std::string_view name, T& out) const
    {
        const Variant* value = find(name);
        return value && Succeeded(value->get(out));
    }
    const std::vector<std::pair<std::string, Variant>>& entries() const { return m_entries; }

private:
    std::vector<std::pair<std::string, Variant>> m_entries;
};

class IPersistPropertyBag : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr IID iid = Guid::literal("{BEB94D61-EE30-4BEC-8CAB-EB6F25D97A6E}");

    // The defaults of a control that is not loaded from anywhere.
    virtual HRESULT InitNew() = 0;
    virtual HRESULT Load(const PropertyBag& bag) = 0;
    virtual HRESULT Save(PropertyBag& bag) = 0;
};

}  // namespace platform::com
