#include "shared/settings.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "shared/language.h"

namespace shared {

namespace {

using platform::registry::Hive;
using platform::registry::Value;
using platform::registry::ValueType;

// Texts longer than the suite's 1024-byte read buffer count as missing.
constexpr std::size_t kTextBufferSize = 1024;

void reportWrongType(Hive hive, std::string_view name, const char* expected)
{
    std::fprintf(stderr, "%s: value \"%.*s\" is not %s; using its default\n",
                 platform::registry::hivePath(hive).c_str(), static_cast<int>(name.size()), name.data(),
                 expected);
}

// A text value up to its first NUL; nullopt when missing, of another type,
// empty or too long.
std::optional<std::string> readText(Hive hive, std::string_view name)
{
    const auto value = platform::registry::readValue(hive, kSuiteRegistryKey, name);
    if (!value)
        return std::nullopt;
    if (value->type != ValueType::String) {
        reportWrongType(hive, name, "a text");
        return std::nullopt;
    }
    if (value->data.size() + 1 > kTextBufferSize || value->data.empty())
        return std::nullopt;
    std::string text = value->data.substr(0, value->data.find('\0'));
    return text;
}

std::string readTextOr(Hive hive, std::string_view name, std::string_view fallback)
{
    auto text = readText(hive, name);
    return text ? std::move(*text) : std::string(fallback);
}

// A one-byte flag: true only when exactly one byte is stored and it is not 0.
bool readFlag(std::string_view name)
{
    const auto value = platform::registry::readValue(Hive::User, kSuiteRegistryKey, name);
    if (!value)
        return false;
    if (value->type != ValueType::Binary || value->data.size() != 1) {
        reportWrongType(Hive::User, name, "one byte");
        return false;
    }
    return value->data[0] != 0;
}

long writeFlag(std::string_view name, bool flag)
{
    return platform::registry::writeBinary(Hive::User, kSuiteRegistryKey, name,
                                           std::string(1, flag ? '\1' : '\0'));
}

// A user or class name becomes a folder name under users/: it must stay there.
bool isSafeFolderName(std::string_view name)
{
    return name.find('/') == std::string_view::npos && name.find('\\') == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

std::string programCaption()
{
    std::string caption = GetLangString(GetProgramTitleKey());
    if (caption.empty())
        caption = QCoreApplication::applicationName().toStdString();
    return caption;
}

struct LanguageFileName {
    int kind;
    const char* file;
};

constexpr LanguageFileName kLanguageFiles[] = {
    {1, "stepwell.lng"},  {2, "curvance.lng"}, {3, "Sumwright.lng"}, {4, "coursewright.lng"},
    {5, "tutelary.lng"},  {6, "reckonry.lng"}, {7, "guide.lng"},     {9, "person.lng"},
    {10, "modules.lng"},  {11, "run.lng"},     {12, "taskbook.lng"}, {13, "textbook.lng"},
    {14, "exercise.lng"},
};

struct HelpDocumentName {
    int kind;
    const char* teacher;
    const char* pupil;  // the same document for both when null
};

constexpr HelpDocumentName kHelpDocuments[] = {
    {1, "hStepwell_t.doc", "hStepwell_p.doc"},
    {2, "hCurvance_t.doc", "hCurvance_p.doc"},
    {3, "hSumwright.doc", nullptr},
    {4, "hCoursewright.doc", nullptr},
    {5, "hTutelary.doc", nullptr},
    {15, "reckonry_mp_t.doc", "reckonry_mp_p.doc"},
    {16, "manual.doc", nullptr},
    {17, "mCurvance.doc", nullptr},
    {18, "reckonry_m.doc", nullptr},
    {19, "mStepwell.doc", nullptr},
};

}  // namespace

Rgb GetThemeColor(int index)
{
    switch (index) {
    case 0:
    case 2: return {236, 233, 252};
    case 1: return {205, 220, 242};
    case 3: return {173, 191, 191};
    case 4: return {128, 128, 128};
    default: return {0, 0, 0};
    }
}

std::string MakeRelativePath(std::string_view path, std::string_view base)
{
    const QString fullPath = QString::fromStdString(platform::paths::toSlashes(path));
    const QString basePath = QString::fromStdString(platform::paths::toSlashes(base));
    const qsizetype at = fullPath.indexOf(basePath, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    return fullPath.mid(at + basePath.size()).toStdString();
}

CSettings& CSettings::Instance()
{
    static CSettings* settings = new CSettings;  // never destroyed: used until exit
    return *settings;
}

std::string CSettings::GetInstallPath() const
{
    if (auto root = readText(Hive::Machine, "InstallPath"))
        return platform::paths::withFinalSlash(platform::paths::toSlashes(*root));
    const std::string above = platform::paths::programFolder() + "../../";
    return platform::paths::canonicalFolder(above).value_or(above);
}

std::string CSettings::GetLanguage() const { return "ua"; }

std::string CSettings::GetModule() const { return readTextOr(Hive::User, "Module", "tessaly"); }

std::string CSettings::GetClass() const { return readTextOr(Hive::User, "Class", "tessaly"); }

std::string CSettings::GetModulePath() const
{
    if (auto path = readText(Hive::User, "ModulePath"))
        return platform::paths::toSlashes(*path);
    return platform::paths::toSlashes(GetInstallPath() + "modules\\" + GetModule() + "\\");
}

std::string CSettings::GetUserName() const { return readTextOr(Hive::User, "userName", ""); }

std::string CSettings::GetUserClass() const { return readTextOr(Hive::User, "userClass", ""); }

bool CSettings::IsUserPersonified() const { return readFlag("userPersonified"); }

bool CSettings::IsTeacher() const { return readFlag("IAmTeacher"); }

long CSettings::SetUser(std::string_view userClass, std::string_view userName) const
{
    if (!isSafeFolderName(userClass) || !isSafeFolderName(userName))
        return kErrorInvalidName;
    return platform::registry::writeValues(
        Hive::User, kSuiteRegistryKey,
        {{"userClass", Value{ValueType::String, std::string(userClass), 0}},
         {"userName", Value{ValueType::String, std::string(userName), 0}}});
}

long CSettings::SetUserPersonified(bool flag) const { return writeFlag("userPersonified", flag); }

long CSettings::SetTeacher() const { return writeFlag("IAmTeacher", true); }

long CSettings::SetPupil() const { return writeFlag("IAmTeacher", false); }

std::string CSettings::GetUserFolder() const
{
    return GetInstallPath() + "users/" + (IsTeacher() ? "teachers/" : "pupils/") + GetUserClass() + "/" +
           GetUserName() + "/";
}

std::string CSettings::GetLanguageFilePath(int kind) const
{
    for (const LanguageFileName& entry : kLanguageFiles) {
        if (entry.kind == kind) {
            return platform::paths::toSlashes(GetInstallPath() + "kernel\\data\\lang\\" + GetLanguage() +
                                              "\\" + entry.file);
        }
    }
    platform::showMessage("Unknown constant", programCaption());
    return {};
}

void CSettings::OpenHelpDocument(int kind, int /*unused*/) const
{
    for (const HelpDocumentName& entry : kHelpDocuments) {
        if (entry.kind != kind)
            continue;
        const char* name = (entry.pupil && !IsTeacher()) ? entry.pupil : entry.teacher;
        const std::string path = GetInstallPath() + "kernel/" + "doc/" + name;
        if (!platform::paths::findCaseInsensitive(path)) {
            platform::showMessage("Файл довідки не знайдено:\n" + path, programCaption(),
                                  platform::MessageIcon::Warning);
            return;
        }
        platform::shell::openDocument(path);
        return;
    }
}

const QBrush& CSettings::GetThemeBrush(int index) const
{
    static std::map<int, std::unique_ptr<QBrush>> brushes;
    auto& brush = brushes[index];
    if (!brush) {
        const Rgb color = GetThemeColor(index);
        brush = std::make_unique<QBrush>(QColor(color.red, color.green, color.blue));
    }
    return *brush;
}

}  // namespace shared
