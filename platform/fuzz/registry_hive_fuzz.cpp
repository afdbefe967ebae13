// libFuzzer target over the registry hives: the input is the text of both
// hive files, in the test binaries' sandbox (the hive variables point into a
// temporary folder under $TMPDIR). The machine hive is only read: its keys
// are walked through the subkey lists and every value read by name agrees
// with the key's list. The user hive is then written: a write either refuses
// and leaves the file's bytes as they were, or reads back what it wrote and
// keeps every other value that was there.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/text.h"
#include "testsupport/temp_dir.h"

using namespace platform::registry;

namespace {

using Values = std::vector<std::pair<std::string, Value>>;

struct Key {
    std::string path;
    Values values;
};

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "registry_hive_fuzz: %s\n", what);
        std::abort();
    }
}

void writeFile(const std::string& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    check(static_cast<bool>(out), "cannot write the hive file");
}

// The first value of the list with that name, as readValue finds it.
const Value* firstNamed(const Values& values, std::string_view name)
{
    for (const auto& [entry, value] : values)
        if (platform::text::equalsIgnoreCase(entry, name))
            return &value;
    return nullptr;
}

// Keys reached from the root through the subkey lists, with their values;
// a bounded number, so that a hive of many keys stays quick.
std::vector<Key> walk(Hive hive)
{
    constexpr std::size_t kMaxKeys = 48;
    std::vector<Key> keys{{"", values(hive, "")}};
    for (std::size_t i = 0; i < keys.size() && keys.size() < kMaxKeys; ++i) {
        for (const std::string& child : subKeys(hive, keys[i].path)) {
            check(!child.empty(), "an empty subkey name");
            const std::string path = keys[i].path.empty() ? child : keys[i].path + "\\" + child;
            check(keyExists(hive, path), "a listed subkey does not exist");
            keys.push_back({path, values(hive, path)});
            if (keys.size() == kMaxKeys)
                break;
        }
    }
    for (const Key& key : keys) {
        for (const auto& [name, value] : key.values) {
            const auto read = readValue(hive, key.path, name);
            check(read && *read == *firstNamed(key.values, name), "a value reads otherwise than listed");
            check(readString(hive, key.path, name).has_value() == (read->type == ValueType::String),
                  "a typed read disagrees with the type");
            check(readDWord(hive, key.path, name).has_value() == (read->type == ValueType::DWord),
                  "a typed read disagrees with the type");
        }
    }
    return keys;
}

// After a write of `written` into key `at` (or its removal, `removed`), the
// keys walked before still hold what they held.
void checkKept(const std::vector<Key>& before, std::string_view at, const Values& written, bool removed)
{
    for (const Key& key : before) {
        Values expected = key.values;
        if (platform::text::equalsIgnoreCase(key.path, at)) {
            for (const auto& change : written) {
                const std::string& name = change.first;
                if (removed) {
                    std::erase_if(expected, [&](const auto& entry) {
                        return platform::text::equalsIgnoreCase(entry.first, name);
                    });
                    continue;
                }
                bool replaced = false;
                for (auto& entry : expected) {
                    if (!replaced && platform::text::equalsIgnoreCase(entry.first, name)) {
                        entry.second = change.second;
                        replaced = true;
                    }
                }
                if (!replaced)
                    expected.push_back(change);
            }
        }
        check(values(Hive::User, key.path) == expected, "a write changed or lost other values");
    }
}

// A write either succeeds or leaves the file's bytes alone.
bool wrote(long result, const std::string& before)
{
    if (result != kOk)
        check(testsupport::readFile(hivePath(Hive::User)) == before, "a refused write changed the file");
    return result == kOk;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    testsupport::enterSandbox();
    std::filesystem::create_directories(std::filesystem::path(hivePath(Hive::User)).parent_path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    writeFile(hivePath(Hive::Machine), input);
    writeFile(hivePath(Hive::User), input);

    walk(Hive::Machine);
    const std::vector<Key> keys = walk(Hive::User);

    // Into the deepest key walked, over its first value and beside it; the
    // text is the input's last bytes, whatever they are.
    const Key& target = keys.back();
    const std::string path = target.path.empty() ? std::string("Software\\Fuzz") : target.path;
    const std::string name = target.values.empty() ? std::string("Fuzz") : target.values.front().first;
    const Values written{
        {name, Value{ValueType::String, input.substr(size > 24 ? size - 24 : 0), 0}},
        {"bytes", Value{ValueType::Binary, input.substr(0, 8), 0}},
        {"number", Value{ValueType::DWord, {}, static_cast<std::uint32_t>(size * 2654435761u)}},
    };
    std::string before = testsupport::readFile(hivePath(Hive::User));
    if (wrote(writeValues(Hive::User, path, written), before)) {
        for (const auto& [entry, value] : written)
            check(readValue(Hive::User, path, entry) == value, "a written value reads otherwise");
        checkKept(keys, path, written, false);
        const std::vector<Key> after = walk(Hive::User);

        // The file is now the writer's own: it never refuses it.
        check(deleteValue(Hive::User, path, name) == kOk, "the writer refused its own file");
        check(!readValue(Hive::User, path, name), "a deleted value is still there");
        checkKept(after, path, {{name, {}}}, true);
        check(deleteKeyTree(Hive::User, path) == kOk, "the writer refused its own file");
        check(!keyExists(Hive::User, path), "a deleted key is still there");
    }
    // A new key under the root, and a key name the file format cannot hold.
    before = testsupport::readFile(hivePath(Hive::User));
    if (wrote(createKey(Hive::User, "Software\\Fuzz\\New"), before))
        check(keyExists(Hive::User, "software/fuzz/new"), "a created key is missing");
    before = testsupport::readFile(hivePath(Hive::User));
    check(!wrote(writeString(Hive::User, "Software\\[Fuzz]", "x", "y"), before), "a bracketed key was written");
    return 0;
}
