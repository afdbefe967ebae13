#include "platform/com/persist.h"

#include "platform/text.h"

namespace platform::com {

void PropertyBag::write(std::string_view name, Variant value)
{
    for (auto& [existing, stored] : m_entries) {
        if (text::equalsIgnoreCase(existing, name)) {
            stored = std::move(value);
            return;
        }
    }
    m_entries.emplace_back(std::string(name), std::move(value));
}

const Variant* PropertyBag::find(std::string_view name) const
{
    for (const auto& [existing, stored] : m_entries)
        if (text::equalsIgnoreCase(existing, name))
            return &stored;
    return nullptr;
}

}  // namespace platform::com
