#pragma once
// Installation settings: where the suite is installed, which teaching module
// is active, who is logged in and whether that user is a teacher. Every call
// reads the registry afresh (other programs of the suite change it while this
// one runs); the object keeps no state of its own. Paths use "/".
#include <cstdint>
#include <string>
#include <string_view>

class QBrush;

namespace shared {

// Program kinds of GetLanguageFilePath.
namespace LanguageFile {
constexpr int Stepwell = 1;
constexpr int Curvance = 2;
constexpr int Sumwright = 3;
constexpr int Coursewright = 4;
constexpr int Tutelary = 5;
constexpr int Reckonry = 6;
constexpr int Guide = 7;
constexpr int Person = 9;
constexpr int Modules = 10;
constexpr int Run = 11;
constexpr int TaskBook = 12;
constexpr int TextBook = 13;
constexpr int Exercise = 14;
}  // namespace LanguageFile

// Help document kinds of OpenHelpDocument.
namespace HelpDocument {
constexpr int Stepwell = 1;
constexpr int Curvance = 2;
constexpr int Sumwright = 3;
constexpr int Coursewright = 4;
constexpr int Tutelary = 5;
constexpr int ReckonryMethods = 15;
constexpr int Manual = 16;
constexpr int CurvanceManual = 17;
constexpr int ReckonryManual = 18;
constexpr int StepwellManual = 19;
}  // namespace HelpDocument

// The registry key of the suite under both hives.
inline constexpr std::string_view kSuiteRegistryKey = "SOFTWARE\\Pelmarin\\Tessaly";

// A registry error code of SetUser for a name that would leave the users folder.
constexpr long kErrorInvalidName = 123;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The suite's palette: 0 and 2 (236,233,252), 1 (205,220,242),
// 3 (173,191,191), 4 (128,128,128), any other index black.
Rgb GetThemeColor(int index);

// The part of `path` after the first occurrence of `base` (compared without
// case, both with "/"); empty when `base` does not occur.
std::string MakeRelativePath(std::string_view path, std::string_view base);

class CSettings {
public:
    static CSettings& Instance();

    // InstallPath of the machine hive with "/" and a final "/"; when it is
    // missing, the folder two levels above the running program.
    std::string GetInstallPath() const;
    std::string GetLanguage() const;
    std::string GetModule() const;
    std::string GetClass() const;
    std::string GetModulePath() const;
    std::string GetUserName() const;
    std::string GetUserClass() const;
    bool IsUserPersonified() const;
    bool IsTeacher() const;

    // Registry error codes, 0 on success. SetUser writes both values or
    // neither, and refuses a name with "/", "\" or "..".
    long SetUser(std::string_view userClass, std::string_view userName) const;
    long SetUserPersonified(bool flag) const;
    long SetTeacher() const;
    long SetPupil() const;

    std::string GetUserFolder() const;
    // Empty, after a message (the developer's "Unknown constant" on standard
    // error), for an unknown kind.
    std::string GetLanguageFilePath(int kind) const;
    // Opens the document of the kind (teacher or pupil variant where there
    // are two); a document that is not installed shows a message.
    void OpenHelpDocument(int kind, int unused = 0) const;
    int GetGridStep() const { return 20; }
    // A brush of GetThemeColor(index), made once and kept.
    const QBrush& GetThemeBrush(int index) const;

private:
    CSettings() = default;
};

}  // namespace shared
