#include <gtest/gtest.h>

#include <QBrush>
#include <QColor>

#include <filesystem>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

using platform::registry::Hive;

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        platform::setMessageRecorder(&m_messages);
        platform::shell::setRecorder(&m_shell);
    }
    void TearDown() override
    {
        platform::setMessageRecorder(nullptr);
        platform::shell::setRecorder(nullptr);
        testsupport::resetHives();
    }
    static void setUserValue(const char* name, const std::string& text)
    {
        ASSERT_EQ(platform::registry::writeString(Hive::User, kSuiteRegistryKey, name, text), 0);
    }
    static void setInstallPath(const std::string& path)
    {
        ASSERT_EQ(platform::registry::writeString(Hive::Machine, kSuiteRegistryKey, "InstallPath", path), 0);
    }

    const CSettings& settings = CSettings::Instance();
    platform::MessageRecorder m_messages;
    platform::shell::Recorder m_shell;
};

TEST_F(Settings, DefaultsWithoutAnyUserKey)
{
    setInstallPath("C:\\Suite\\");
    EXPECT_EQ(settings.GetInstallPath(), "C:/Suite/");
    EXPECT_EQ(settings.GetModule(), "tessaly");
    EXPECT_EQ(settings.GetClass(), "tessaly");
    EXPECT_EQ(settings.GetModulePath(), "C:/Suite/modules/tessaly/");
    EXPECT_EQ(settings.GetUserName(), "");
    EXPECT_EQ(settings.GetUserClass(), "");
    EXPECT_FALSE(settings.IsTeacher());
    EXPECT_FALSE(settings.IsUserPersonified());
    EXPECT_EQ(settings.GetLanguage(), "ua");
    EXPECT_EQ(settings.GetGridStep(), 20);
    EXPECT_EQ(settings.GetUserFolder(), "C:/Suite/users/pupils///");
}

TEST_F(Settings, InstallRootFallsBackToTheFolderAboveThePrograms)
{
    const std::string above = platform::paths::canonicalFolder(platform::paths::programFolder() + "../../").value();
    EXPECT_EQ(settings.GetInstallPath(), above);
    setInstallPath("");  // empty counts as missing
    EXPECT_EQ(settings.GetInstallPath(), above);
    setInstallPath("/opt/suite");  // a final "/" is added
    EXPECT_EQ(settings.GetInstallPath(), "/opt/suite/");
}

TEST_F(Settings, UserValuesAreReadFreshOnEveryCall)
{
    setInstallPath("/opt/suite/");
    setUserValue("Module", "algebra");
    setUserValue("Class", "7a");
    EXPECT_EQ(settings.GetModule(), "algebra");
    EXPECT_EQ(settings.GetClass(), "7a");
    EXPECT_EQ(settings.GetModulePath(), "/opt/suite/modules/algebra/");
    setUserValue("ModulePath", "D:\\Modules\\Algebra\\");
    EXPECT_EQ(settings.GetModulePath(), "D:/Modules/Algebra/");
    setUserValue("Module", "");  // size 0 counts as missing
    EXPECT_EQ(settings.GetModule(), "tessaly");
    // A value longer than the 1024-byte read buffer counts as missing.
    setUserValue("Class", std::string(1024, 'c'));
    EXPECT_EQ(settings.GetClass(), "tessaly");
    setUserValue("Class", std::string(1023, 'c'));
    EXPECT_EQ(settings.GetClass(), std::string(1023, 'c'));
    // The text ends at its first NUL.
    setUserValue("userName", std::string("anna\0rest", 9));
    EXPECT_EQ(settings.GetUserName(), "anna");
}

TEST_F(Settings, SetUserWritesBothTextsAndTheFolderFollows)
{
    setInstallPath("/opt/suite/");
    ASSERT_EQ(settings.SetUser("7-a", "Kovalenk"), 0);
    EXPECT_EQ(platform::registry::readString(Hive::User, kSuiteRegistryKey, "userClass"), "7-a");
    EXPECT_EQ(platform::registry::readString(Hive::User, kSuiteRegistryKey, "userName"), "Kovalenk");
    EXPECT_EQ(settings.GetUserFolder(), "/opt/suite/users/pupils/7-a/Kovalenk/");
    ASSERT_EQ(settings.SetTeacher(), 0);
    EXPECT_TRUE(settings.IsTeacher());
    EXPECT_EQ(settings.GetUserFolder(), "/opt/suite/users/teachers/7-a/Kovalenk/");
    ASSERT_EQ(settings.SetPupil(), 0);
    EXPECT_FALSE(settings.IsTeacher());
    ASSERT_EQ(settings.SetUserPersonified(true), 0);
    EXPECT_TRUE(settings.IsUserPersonified());
    EXPECT_EQ(platform::registry::readBinary(Hive::User, kSuiteRegistryKey, "userPersonified"), "\x01");
    ASSERT_EQ(settings.SetUserPersonified(false), 0);
    EXPECT_FALSE(settings.IsUserPersonified());
}

TEST_F(Settings, NamesThatLeaveTheUsersFolderAreRefused)
{
    ASSERT_EQ(settings.SetUser("7a", "anna"), 0);
    for (const auto& [userClass, userName] : std::vector<std::pair<std::string, std::string>>{
             {"7a", "../../kernel"}, {"..", "x"}, {"7a", "a/b"}, {"7a\\b", "x"}}) {
        EXPECT_NE(settings.SetUser(userClass, userName), 0) << userClass << " " << userName;
    }
    EXPECT_EQ(settings.GetUserClass(), "7a");
    EXPECT_EQ(settings.GetUserName(), "anna");
}

TEST_F(Settings, AnUnwritableHiveReportsAndWritesNothing)
{
    testsupport::TempDir dir;
    dir.write("blocker", "");
    const std::string old = std::getenv("XDG_CONFIG_HOME");
    ::setenv("XDG_CONFIG_HOME", (dir.path() + "blocker").c_str(), 1);
    EXPECT_NE(settings.SetUser("7a", "anna"), 0);
    EXPECT_NE(settings.SetTeacher(), 0);
    EXPECT_EQ(settings.GetUserName(), "");
    EXPECT_FALSE(settings.IsTeacher());
    ::setenv("XDG_CONFIG_HOME", old.c_str(), 1);
}

TEST_F(Settings, FlagsOfTheWrongShapeReadFalse)
{
    namespace reg = platform::registry;
    ASSERT_EQ(reg::writeString(Hive::User, kSuiteRegistryKey, "IAmTeacher", "1"), 0);
    EXPECT_FALSE(settings.IsTeacher());
    ASSERT_EQ(reg::writeDWord(Hive::User, kSuiteRegistryKey, "IAmTeacher", 1), 0);
    EXPECT_FALSE(settings.IsTeacher());
    ASSERT_EQ(reg::writeBinary(Hive::User, kSuiteRegistryKey, "IAmTeacher", "\x01\x01"), 0);
    EXPECT_FALSE(settings.IsTeacher());
    ASSERT_EQ(reg::writeBinary(Hive::User, kSuiteRegistryKey, "IAmTeacher", "\x02"), 0);
    EXPECT_TRUE(settings.IsTeacher());
    // A text value of binary type is not a text.
    ASSERT_EQ(reg::writeBinary(Hive::User, kSuiteRegistryKey, "Module", "algebra"), 0);
    EXPECT_EQ(settings.GetModule(), "tessaly");
}

TEST_F(Settings, LanguageFilePaths)
{
    setInstallPath("C:\\Suite\\");
    const std::pair<int, const char*> kinds[] = {
        {1, "stepwell.lng"},  {2, "curvance.lng"}, {3, "Sumwright.lng"}, {4, "coursewright.lng"},
        {5, "tutelary.lng"},  {6, "reckonry.lng"}, {7, "guide.lng"},     {9, "person.lng"},
        {10, "modules.lng"},  {11, "run.lng"},     {12, "taskbook.lng"}, {13, "textbook.lng"},
        {14, "exercise.lng"},
    };
    for (const auto& [kind, file] : kinds)
        EXPECT_EQ(settings.GetLanguageFilePath(kind), std::string("C:/Suite/kernel/data/lang/ua/") + file);
    EXPECT_TRUE(m_messages.messages.empty());

    ProgramLanguageTable().Set("appTitle", "Tessaly");
    testing::internal::CaptureStderr();
    for (const int kind : {8, 0, 15, -1})
        EXPECT_EQ(settings.GetLanguageFilePath(kind), "") << kind;
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Unknown constant: language file kind 15\n"), std::string::npos) << errors;
    ASSERT_EQ(m_messages.messages.size(), 4u);
    EXPECT_EQ(m_messages.messages[0].text, "Не вдалося знайти мовний файл програми: перевірте встановлення.");
    EXPECT_EQ(m_messages.messages[0].caption, "Tessaly");
    EXPECT_EQ(m_messages.messages[0].buttons, platform::MessageButtons::Ok);
}

TEST_F(Settings, HelpDocuments)
{
    testsupport::TempDir root;
    for (const char* doc : {"hStepwell_t.doc", "hStepwell_p.doc", "reckonry_mp_p.doc", "manual.doc"})
        root.write(std::string("kernel/doc/") + doc, "doc");
    setInstallPath(root.path());

    ASSERT_EQ(settings.SetTeacher(), 0);
    settings.OpenHelpDocument(HelpDocument::Stepwell, 0);
    ASSERT_EQ(settings.SetPupil(), 0);
    settings.OpenHelpDocument(HelpDocument::Stepwell);
    settings.OpenHelpDocument(HelpDocument::ReckonryMethods);
    settings.OpenHelpDocument(HelpDocument::Manual);
    for (const int nothing : {6, 7, 14, 0, 20})
        settings.OpenHelpDocument(nothing);

    ASSERT_EQ(m_shell.calls.size(), 4u);
    EXPECT_EQ(m_shell.calls[0].target, root.path() + "kernel/doc/hStepwell_t.doc");
    EXPECT_EQ(m_shell.calls[1].target, root.path() + "kernel/doc/hStepwell_p.doc");
    EXPECT_EQ(m_shell.calls[2].target, root.path() + "kernel/doc/reckonry_mp_p.doc");
    EXPECT_EQ(m_shell.calls[3].target, root.path() + "kernel/doc/manual.doc");
    EXPECT_TRUE(m_messages.messages.empty());

    // A document that is not installed: a message naming it, nothing opened.
    ProgramLanguageTable().Set("appTitle", "Stepwell");
    settings.OpenHelpDocument(HelpDocument::StepwellManual);
    EXPECT_EQ(m_shell.calls.size(), 4u);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, "Файл довідки не знайдено:\n" + root.path() + "kernel/doc/mStepwell.doc");
    EXPECT_EQ(m_messages.messages[0].caption, "Stepwell");
}

TEST(SettingsHelpers, MakeRelativePath)
{
    EXPECT_EQ(MakeRelativePath("C:\\Suite\\Modules\\X.xml", "c:/suite/"), "Modules/X.xml");
    EXPECT_EQ(MakeRelativePath("/opt/Suite/users/T/a.xml", "/OPT/suite/"), "users/T/a.xml");
    EXPECT_EQ(MakeRelativePath("/Шлях/Уроки/a.xml", "/шлях/"), "Уроки/a.xml");
    EXPECT_EQ(MakeRelativePath("C:\\Suite\\X.xml", "D:/other/"), "");
}

TEST(SettingsHelpers, ThemePalette)
{
    EXPECT_EQ(GetThemeColor(0), (Rgb{236, 233, 252}));
    EXPECT_EQ(GetThemeColor(1), (Rgb{205, 220, 242}));
    EXPECT_EQ(GetThemeColor(2), (Rgb{236, 233, 252}));
    EXPECT_EQ(GetThemeColor(3), (Rgb{173, 191, 191}));
    EXPECT_EQ(GetThemeColor(4), (Rgb{128, 128, 128}));
    EXPECT_EQ(GetThemeColor(7), (Rgb{0, 0, 0}));
    const QBrush& brush = CSettings::Instance().GetThemeBrush(1);
    EXPECT_EQ(brush.color(), QColor(205, 220, 242));
    EXPECT_EQ(&brush, &CSettings::Instance().GetThemeBrush(1));  // made once
    EXPECT_EQ(CSettings::Instance().GetThemeBrush(9).color(), QColor(0, 0, 0));
}

}  // namespace
}  // namespace shared
