#pragma once
// The registry: two hives kept as text files.
//
// The machine hive is $TESSALY_MACHINE_HIVE, else
// <program folder>/../../kernel/data/machine.ini; the user hive is
// $XDG_CONFIG_HOME (else ~/.config) + /Pelmarin/Tessaly.ini. Both paths are
// worked out on every call. Every read of the user hive reads the file as it
// is now: the suite's other programs write it while this one runs. The
// machine hive is read once and shared by the readers of every thread; it is
// read again when its path changes, when its file is another one or its size
// or times changed, and after this process wrote it.
//
// File format (one section per key, values typed):
//   [SOFTWARE\Pelmarin\Tessaly]
//   "InstallPath"="/opt/suite/"
//   "userPersonified"=hex:01
//   "Count"=dword:0000000a
// Strings keep their bytes; "\\", "\"", "\n", "\r", "\t" and "\xHH" are the
// escapes. Key paths and value names compare without regard to ASCII case.
//
// Writes lock the hive, write a temporary file and rename it over the old
// one: a reader sees the old file or the new one, never half of one, and a
// failed write leaves the old file whole.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::registry {

enum class Hive { Machine, User };
enum class ValueType { String, Binary, DWord };

struct Value {
    ValueType type = ValueType::String;
    std::string data;          // String and Binary: the bytes
    std::uint32_t dword = 0;   // DWord
    bool operator==(const Value&) const = default;
};

// Result codes of the writers (the Win32 numbers): 0 is success.
constexpr long kOk = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidData = 13;
constexpr long kErrorWriteFault = 29;

std::string hivePath(Hive hive);

std::optional<Value> readValue(Hive hive, std::string_view key, std::string_view name);
// Typed reads: nullopt when missing or of another type.
std::optional<std::string> readString(Hive hive, std::string_view key, std::string_view name);
std::optional<std::string> readBinary(Hive hive, std::string_view key, std::string_view name);
std::optional<std::uint32_t> readDWord(Hive hive, std::string_view key, std::string_view name);

bool keyExists(Hive hive, std::string_view key);
// Names of the direct subkeys, in file order.
std::vector<std::string> subKeys(Hive hive, std::string_view key);
std::vector<std::pair<std::string, Value>> values(Hive hive, std::string_view key);

long createKey(Hive hive, std::string_view key);
long writeValue(Hive hive, std::string_view key, std::string_view name, const Value& value);
// Several values of one key in one write: all of them or none.
long writeValues(Hive hive, std::string_view key,
                 const std::vector<std::pair<std::string, Value>>& namedValues);
long writeString(Hive hive, std::string_view key, std::string_view name, std::string_view text);
long writeBinary(Hive hive, std::string_view key, std::string_view name, std::string_view bytes);
long writeDWord(Hive hive, std::string_view key, std::string_view name, std::uint32_t number);
// Both succeed when there was nothing to delete.
long deleteValue(Hive hive, std::string_view key, std::string_view name);
long deleteKeyTree(Hive hive, std::string_view key);

// How many times this process has read the machine hive's file for its
// readers (writes read it apart, under their lock).
std::size_t machineHiveReads();

}  // namespace platform::registry
