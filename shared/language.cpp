#include "shared/language.h"

#include <cstdio>
#include <utility>

namespace shared {

std::string UnescapeLanguageValue(std::string_view value)
{
    std::string lt;
    lt.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value.substr(i, 4) == "&lt;") {
            lt += '<';
            i += 3;
        } else {
            lt += value[i];
        }
    }
    std::string out;
    out.reserve(lt.size());
    for (std::size_t i = 0; i < lt.size(); ++i) {
        if (lt[i] == '\\' && i + 1 < lt.size() && lt[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += lt[i];
        }
    }
    return out;
}

void CLanguageHandler::startElement(const std::string& /*namespaceURI*/, const std::string& localName,
                                    const std::string& /*qName*/, const CSaxAttributes& attributes)
{
    if (localName != "item")
        return;
    std::string value = attributes.GetAttribute("", "val");
    std::string key = attributes.GetAttribute("", "key");
    m_table.Set(std::move(key), UnescapeLanguageValue(value));
}

bool CLanguageTable::Load(std::string_view path)
{
    m_lastError.clear();
    try {
        CLanguageHandler handler(*this);
        CSaxReader reader;
        reader.SetContentHandler(handler);
        reader.ParseURL(path);
        return true;
    } catch (const std::exception& e) {
        m_lastError = e.what();
    } catch (...) {
        m_lastError = std::string(path) + ": unknown error";
    }
    return false;
}

std::string CLanguageTable::Get(std::string_view key) const
{
    const auto found = m_items.find(key);
    return found == m_items.end() ? std::string() : found->second;
}

void CLanguageTable::Set(std::string key, std::string value) { m_items[std::move(key)] = std::move(value); }

CLanguageTable& ProgramLanguageTable()
{
    static CLanguageTable table;
    return table;
}

bool LoadLanguageFile(std::string_view path)
{
    CLanguageTable& table = ProgramLanguageTable();
    if (table.Load(path))
        return true;
    std::fprintf(stderr, "cannot load the language file: %s\n", table.LastError().c_str());
    return false;
}

std::string GetLangString(std::string_view key) { return ProgramLanguageTable().Get(key); }

namespace {

std::string& programTitleKey()
{
    static std::string key = "appTitle";
    return key;
}

}  // namespace

void SetProgramTitleKey(std::string key) { programTitleKey() = std::move(key); }

const std::string& GetProgramTitleKey() { return programTitleKey(); }

}  // namespace shared
