// libFuzzer target over the language files: the input is a ".lng" file in a
// temporary folder under $TMPDIR, loaded into a table of its own and, when that succeeds,
// into the program's table through LoadLanguageFile. Loading the same file
// again gives the same answer and the same number of items (a later item
// replaces an equal key); a failure tells why; the program's lookups answer
// what the table holds for the keys the file seems to name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shared/language.h"
#include "testsupport/temp_dir.h"

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "language_file_fuzz: %s\n", what);
        std::abort();
    }
}

// The raw texts of the file's key="..." and key='...' attributes, as far as
// a plain text search finds them, and a few keys the programs look up.
std::vector<std::string> keysOf(std::string_view text)
{
    std::vector<std::string> keys{"appTitle", "messageTitle", "apply", "answer", ""};
    for (auto at = text.find("key="); at != std::string_view::npos && keys.size() < 24;
         at = text.find("key=", at + 4)) {
        if (at + 4 >= text.size())
            break;
        const char quote = text[at + 4];
        const auto end = text.find(quote, at + 5);
        if (end == std::string_view::npos)
            break;
        keys.emplace_back(text.substr(at + 5, end - at - 5));
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const testsupport::TempDir folder;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string file = folder.write("fuzz.lng", input);

    shared::CLanguageTable table;
    const bool loaded = table.Load(file);
    check(loaded == table.LastError().empty(), "a failed load without a reason, or a reason without a failure");
    const std::size_t items = table.Size();
    check(table.Load(file) == loaded && table.Size() == items, "loading the file again changed the table");

    if (loaded) {
        shared::ProgramLanguageTable() = shared::CLanguageTable();
        check(shared::LoadLanguageFile(file), "the program's table refused what a table read");
        check(shared::ProgramLanguageTable().Size() == items, "the program's table read other items");
        for (const std::string& key : keysOf(input))
            check(shared::GetLangString(key) == table.Get(key), "a lookup differs between the tables");
    }

    // The value escapes only ever shorten a text; without "&" or "\" nothing changes.
    const std::string unescaped = shared::UnescapeLanguageValue(input);
    check(unescaped.size() <= input.size(), "unescaping made a text longer");
    if (input.find_first_of("&\\") == std::string::npos)
        check(unescaped == input, "unescaping changed a text without escapes");
    return 0;
}
