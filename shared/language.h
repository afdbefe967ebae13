#pragma once
// Language tables: every user-visible text of a program is looked up by key.
// A table is filled from language files: XML whose "item" elements carry a
// "key" and a "val". A program has one table (LoadLanguageFile,
// GetLangString); a component that loads its own file keeps a table of its
// own, so host and component never overwrite each other's keys.
#include <string>
#include <string_view>
#include <unordered_map>

#include "shared/sax.h"

namespace shared {

class CLanguageTable {
public:
    // Adds the items of the file; a later item replaces an equal key. False
    // when the file cannot be read or parsed, or an item lacks "key" or
    // "val": items before the failure stay, later ones are not read, and
    // LastError() tells why (file, line, parser text).
    bool Load(std::string_view path);
    // The text under `key`; empty when there is none.
    std::string Get(std::string_view key) const;
    void Set(std::string key, std::string value);
    std::size_t Size() const { return m_items.size(); }
    const std::string& LastError() const { return m_lastError; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_items;
    std::string m_lastError;
};

// The content handler of a language file: stores each "item" in its table.
class CLanguageHandler : public CSaxContentHandler {
public:
    explicit CLanguageHandler(CLanguageTable& table) : m_table(table) {}
    void startElement(const std::string& namespaceURI, const std::string& localName, const std::string& qName,
                      const CSaxAttributes& attributes) override;

private:
    CLanguageTable& m_table;
};

// "&lt;" -> "<", then backslash + "n" -> line feed; nothing else.
std::string UnescapeLanguageValue(std::string_view value);

// The program's one table.
CLanguageTable& ProgramLanguageTable();
// Loads into the program's table; on failure the reason also goes to stderr.
bool LoadLanguageFile(std::string_view path);
std::string GetLangString(std::string_view key);

// The key of the program's title in its table, which the shared services
// caption their boxes with (a help file not found): "appTitle" unless the
// program names another (the calculator shares the solver's table and is
// titled by "appTitle2").
void SetProgramTitleKey(std::string key);
const std::string& GetProgramTitleKey();

}  // namespace shared
