#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>

#include "platform/paths.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace platform::registry {

namespace {

struct Entry {
    std::string name;
    Value value;
};

// Key paths compare with "/" and "\" alike, without case, without end slashes.
std::string normalKey(std::string_view key)
{
    std::string out = text::asciiLower(paths::toSlashes(key));
    while (!out.empty() && out.back() == '/')
        out.pop_back();
    while (!out.empty() && out.front() == '/')
        out.erase(out.begin());
    return out;
}

struct Section {
    explicit Section(std::string keyPath) : key(std::move(keyPath)), normal(normalKey(key)) {}
    std::string key;
    std::string normal;  // normalKey(key), for look-ups
    std::vector<Entry> entries;
};

struct HiveFile {
    std::vector<Section> sections;
    bool malformed = false;  // a line could not be read: never rewrite such a file
};

std::string displayKey(std::string_view key)
{
    std::string out(key);
    for (char& c : out) {
        if (c == '/')
            c = '\\';
    }
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    while (!out.empty() && out.front() == '\\')
        out.erase(out.begin());
    return out;
}

// Reads a quoted string starting at line[pos] == '"'; pos ends after the quote.
std::optional<std::string> readQuoted(std::string_view line, std::size_t& pos)
{
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            return std::nullopt;
        switch (line[pos]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
            if (pos + 2 >= line.size())
                return std::nullopt;
            const int hi = text::hexDigitValue(line[pos + 1]);
            const int lo = text::hexDigitValue(line[pos + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string quote(std::string_view raw)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (b < 0x20 || b == 0x7F) {
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::optional<Value> parseData(std::string_view data)
{
    Value value;
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        auto s = readQuoted(data, pos);
        if (!s || pos != data.size())
            return std::nullopt;
        value.type = ValueType::String;
        value.data = std::move(*s);
        return value;
    }
    if (data.starts_with("hex:")) {
        value.type = ValueType::Binary;
        data.remove_prefix(4);
        std::size_t pos = 0;
        while (pos < data.size()) {
            if (pos + 1 >= data.size())
                return std::nullopt;
            const int hi = text::hexDigitValue(data[pos]);
            const int lo = text::hexDigitValue(data[pos + 1]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            value.data += static_cast<char>(hi * 16 + lo);
            pos += 2;
            if (pos < data.size()) {
                if (data[pos] != ',')
                    return std::nullopt;
                ++pos;
            }
        }
        return value;
    }
    if (data.starts_with("dword:")) {
        data.remove_prefix(6);
        if (data.size() != 8)
            return std::nullopt;
        std::uint32_t number = 0;
        for (const char c : data) {
            const int d = text::hexDigitValue(c);
            if (d < 0)
                return std::nullopt;
            number = number * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = ValueType::DWord;
        value.dword = number;
        return value;
    }
    return std::nullopt;
}

std::string formatData(const Value& value)
{
    static constexpr char kHex[] = "0123456789abcdef";
    switch (value.type) {
    case ValueType::String: return quote(value.data);
    case ValueType::Binary: {
        std::string out = "hex:";
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            const auto b = static_cast<unsigned char>(value.data[i]);
            if (i)
                out += ',';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
        return out;
    }
    case ValueType::DWord: {
        std::string out = "dword:";
        for (int shift = 28; shift >= 0; shift -= 4)
            out += kHex[(value.dword >> shift) & 15];
        return out;
    }
    }
    return {};
}

HiveFile parse(const std::string& content)
{
    HiveFile file;
    std::istringstream in(content);
    std::string line;
    Section* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                file.malformed = true;
                current = nullptr;
                continue;
            }
            file.sections.emplace_back(line.substr(1, line.size() - 2));
            current = &file.sections.back();
            continue;
        }
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else if (auto quoted = readQuoted(line, pos)) {
            name = std::move(*quoted);
        } else {
            file.malformed = true;
            continue;
        }
        if (!current || pos >= line.size() || line[pos] != '=') {
            file.malformed = true;
            continue;
        }
        auto value = parseData(std::string_view(line).substr(pos + 1));
        if (!value) {
            file.malformed = true;
            continue;
        }
        current->entries.push_back({std::move(name), std::move(*value)});
    }
    return file;
}

std::string format(const HiveFile& file)
{
    std::string out = "; Tessaly registry hive\n";
    for (const Section& section : file.sections) {
        out += "\n[" + section.key + "]\n";
        for (const Entry& entry : section.entries) {
            out += entry.name.empty() ? std::string("@") : quote(entry.name);
            out += '=';
            out += formatData(entry.value);
            out += '\n';
        }
    }
    return out;
}

// A missing file reads as an empty hive.
HiveFile load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream content;
    content << in.rdbuf();
    return parse(content.str());
}

template <typename File>
auto findSection(File& file, std::string_view key) -> decltype(&file.sections.front())
{
    const std::string wanted = normalKey(key);
    for (auto& section : file.sections) {
        if (section.normal == wanted)
            return &section;
    }
    return nullptr;
}

Section& sectionFor(HiveFile& file, std::string_view key)
{
    if (Section* section = findSection(file, key))
        return *section;
    file.sections.emplace_back(displayKey(key));
    return file.sections.back();
}

// A key path that the file format can hold: not empty, one line, no brackets.
bool validKey(std::string_view key)
{
    if (normalKey(key).empty())
        return false;
    for (const char c : key) {
        if (c == '\n' || c == '\r' || c == '[' || c == ']' || c == '\0')
            return false;
    }
    return true;
}

bool isUnder(const Section& section, std::string_view key)
{
    const std::string& s = section.normal;
    const std::string k = normalKey(key);
    if (k.empty())
        return true;
    return s == k || (s.size() > k.size() && s.starts_with(k) && s[k.size()] == '/');
}

long errnoToCode(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
    case EROFS: return kErrorAccessDenied;
    case ENOENT:
    case ENOTDIR: return kErrorFileNotFound;
    default: return kErrorWriteFault;
    }
}

bool writeAll(int fd, const std::string& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// What tells one state of a hive's file from another without reading it.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    const auto ns = [](const timespec& time) { return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec; };
    return {true, info.st_dev, info.st_ino, info.st_size, ns(info.st_mtim), ns(info.st_ctim)};
}

// The machine hive as last read, shared by the readers of every thread. It
// is written at installation and when components register, rarely while a
// program runs, and read at every look-up of a class: it is read again only
// when its path or its file's stamp changed (a rename over it, as every
// write makes, is a new file), or this process wrote it.
struct MachineHiveCache {
    std::mutex mutex;
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const HiveFile> file;
    std::atomic<std::size_t> reads{0};
};

MachineHiveCache& machineCache()
{
    // Never destroyed: readers may run while the process ends.
    static auto* cache = new MachineHiveCache;
    return *cache;
}

// The user hive is read as it is now every time: the suite's other programs
// rewrite it, in place too, while this one runs.
std::shared_ptr<const HiveFile> loadForReading(Hive hive)
{
    std::string path = hivePath(hive);
    if (hive == Hive::User)
        return std::make_shared<const HiveFile>(load(path));
    MachineHiveCache& cache = machineCache();
    const FileStamp stamp = stampOf(path);
    const std::lock_guard lock(cache.mutex);
    if (!cache.file || cache.path != path || !(cache.stamp == stamp)) {
        cache.file = std::make_shared<const HiveFile>(load(path));
        cache.path = std::move(path);
        cache.stamp = stamp;
        ++cache.reads;
    }
    return cache.file;
}

void forgetMachineHive()
{
    MachineHiveCache& cache = machineCache();
    const std::lock_guard lock(cache.mutex);
    cache.file.reset();
}

// Runs `change` on the hive under an exclusive lock and writes the result
// atomically. `change` answers false when nothing needs writing.
long modify(Hive hive, const std::function<bool(HiveFile&)>& change)
{
    const std::string path = hivePath(hive);
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty())
        fs::create_directories(folder, ec);
    if (ec)
        return errnoToCode(ec.value());

    const std::string lockPath = path + ".lock";
    const int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockFd < 0)
        return errnoToCode(errno);
    while (::flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {
    }

    long result = kOk;
    HiveFile file = load(path);
    if (file.malformed) {
        result = kErrorInvalidData;
    } else if (change(file)) {
        const std::string content = format(file);
        const std::string temp = path + ".tmp." + std::to_string(::getpid());
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            result = errnoToCode(errno);
        } else {
            const bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
            const int err = errno;
            ::close(fd);
            if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
                result = errnoToCode(ok ? errno : err);
                ::unlink(temp.c_str());
            }
        }
    }
    // Its own write is seen at once, whatever the file's times say.
    if (hive == Hive::Machine)
        forgetMachineHive();
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    return result;
}

}  // namespace

std::string hivePath(Hive hive)
{
    switch (hive) {
    case Hive::Machine: {
        const char* env = std::getenv("TESSALY_MACHINE_HIVE");
        if (env && *env)
            return env;
        return paths::programFolder() + "../../kernel/data/machine.ini";
    }
    case Hive::User:
        return paths::join(paths::xdgBaseFolder("XDG_CONFIG_HOME", ".config"), "Pelmarin/Tessaly.ini");
    }
    return {};
}

std::size_t machineHiveReads()
{
    return machineCache().reads;
}

std::optional<Value> readValue(Hive hive, std::string_view key, std::string_view name)
{
    const auto file = loadForReading(hive);
    const Section* section = findSection(*file, key);
    if (!section)
        return std::nullopt;
    for (const Entry& entry : section->entries) {
        if (text::equalsIgnoreCase(entry.name, name))
            return entry.value;
    }
    return std::nullopt;
}

namespace {
std::optional<std::string> readBytes(Hive hive, std::string_view key, std::string_view name,
                                     ValueType type)
{
    auto value = readValue(hive, key, name);
    if (!value || value->type != type)
        return std::nullopt;
    return std::move(value->data);
}
}  // namespace

std::optional<std::string> readString(Hive hive, std::string_view key, std::string_view name)
{
    return readBytes(hive, key, name, ValueType::String);
}

std::optional<std::string> readBinary(Hive hive, std::string_view key, std::string_view name)
{
    return readBytes(hive, key, name, ValueType::Binary);
}

std::optional<std::uint32_t> readDWord(Hive hive, std::string_view key, std::string_view name)
{
    auto value = readValue(hive, key, name);
    if (!value || value->type != ValueType::DWord)
        return std::nullopt;
    return value->dword;
}

bool keyExists(Hive hive, std::string_view key)
{
    const auto file = loadForReading(hive);
    for (const Section& section : file->sections) {
        if (isUnder(section, key))
            return true;
    }
    return false;
}

std::vector<std::string> subKeys(Hive hive, std::string_view key)
{
    const auto file = loadForReading(hive);
    const std::string parent = normalKey(key);
    std::vector<std::string> names;
    for (const Section& section : file->sections) {
        const std::string display = paths::toSlashes(displayKey(section.key));
        const std::string& normal = section.normal;
        std::size_t start = 0;
        if (!parent.empty()) {
            if (!(normal.size() > parent.size() && normal.starts_with(parent) &&
                  normal[parent.size()] == '/'))
                continue;
            start = parent.size() + 1;
        }
        const std::size_t end = display.find('/', start);
        std::string child = display.substr(start, end == std::string::npos ? std::string::npos : end - start);
        bool seen = false;
        for (const std::string& name : names)
            seen = seen || text::equalsIgnoreCase(name, child);
        if (!seen && !child.empty())
            names.push_back(std::move(child));
    }
    return names;
}

std::vector<std::pair<std::string, Value>> values(Hive hive, std::string_view key)
{
    const auto file = loadForReading(hive);
    std::vector<std::pair<std::string, Value>> out;
    if (const Section* section = findSection(*file, key)) {
        for (const Entry& entry : section->entries)
            out.emplace_back(entry.name, entry.value);
    }
    return out;
}

long createKey(Hive hive, std::string_view key)
{
    if (!validKey(key))
        return kErrorInvalidData;
    return modify(hive, [&](HiveFile& file) {
        if (findSection(file, key))
            return false;
        sectionFor(file, key);
        return true;
    });
}

namespace {
void setEntry(Section& section, std::string_view name, const Value& value)
{
    for (Entry& entry : section.entries) {
        if (text::equalsIgnoreCase(entry.name, name)) {
            entry.value = value;
            return;
        }
    }
    section.entries.push_back({std::string(name), value});
}
}  // namespace

long writeValue(Hive hive, std::string_view key, std::string_view name, const Value& value)
{
    return writeValues(hive, key, {{std::string(name), value}});
}

long writeValues(Hive hive, std::string_view key,
                 const std::vector<std::pair<std::string, Value>>& namedValues)
{
    if (!validKey(key))
        return kErrorInvalidData;
    return modify(hive, [&](HiveFile& file) {
        Section& section = sectionFor(file, key);
        for (const auto& [name, value] : namedValues)
            setEntry(section, name, value);
        return true;
    });
}

long writeString(Hive hive, std::string_view key, std::string_view name, std::string_view text)
{
    return writeValue(hive, key, name, Value{ValueType::String, std::string(text), 0});
}

long writeBinary(Hive hive, std::string_view key, std::string_view name, std::string_view bytes)
{
    return writeValue(hive, key, name, Value{ValueType::Binary, std::string(bytes), 0});
}

long writeDWord(Hive hive, std::string_view key, std::string_view name, std::uint32_t number)
{
    return writeValue(hive, key, name, Value{ValueType::DWord, {}, number});
}

long deleteValue(Hive hive, std::string_view key, std::string_view name)
{
    return modify(hive, [&](HiveFile& file) {
        Section* section = findSection(file, key);
        if (!section)
            return false;
        const auto before = section->entries.size();
        std::erase_if(section->entries,
                      [&](const Entry& entry) { return text::equalsIgnoreCase(entry.name, name); });
        return section->entries.size() != before;
    });
}

long deleteKeyTree(Hive hive, std::string_view key)
{
    if (normalKey(key).empty())
        return kErrorInvalidData;
    return modify(hive, [&](HiveFile& file) {
        const auto before = file.sections.size();
        std::erase_if(file.sections, [&](const Section& section) { return isUnder(section, key); });
        return file.sections.size() != before;
    });
}

}  // namespace platform::registry
