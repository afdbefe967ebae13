#include "exercise/exercise_app.h"

#include <cstdio>
#include <exception>

#include "exercise/esf_bitmap.h"
#include "exercise/exercise_command_line.h"
#include "exercise/exercise_frame.h"
#include "exercise/exercise_messages.h"
#include "exercise/zip/zip_package.h"
#include "platform/qt_translation.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace exercise {

namespace {

// The pupil reads the program's text and the archive's path; why the archive
// failed goes to the error stream.
void ReportPicturesMissing(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "Cannot read the picture archive %s: %s\n", path.c_str(), reason.c_str());
    ShowExerciseMessage(shared::GetLangString("errPictures") + "\n" + path, nullptr, platform::MessageIcon::Warning);
}

}  // namespace

std::unique_ptr<CExerciseFrame> CExerciseApp::InitInstance(const std::string& commandLine)
{
    platform::installQtTranslation();
    const std::optional<int> number = ExerciseNumberFromCommandLine(commandLine);
    if (!number) {
        ShowExerciseMessage("Параметри запуска вказані невірно", nullptr, platform::MessageIcon::Error);
        return nullptr;
    }
    if (!LoadResources())
        return nullptr;
    auto frame = std::make_unique<CExerciseFrame>(*number, shared::CSettings::Instance().GetModulePath(), m_language);
    frame->Create();
    frame->show();
    return frame;
}

bool CExerciseApp::LoadResources()
{
    std::string languageFile;
    bool personified = false;
    try {
        const shared::CSettings& settings = shared::CSettings::Instance();
        m_installPath = settings.GetInstallPath();
        personified = settings.IsUserPersonified();
        languageFile = settings.GetLanguageFilePath(shared::LanguageFile::Exercise);
        m_language = settings.GetLanguage();
    } catch (const std::exception&) {
        ShowExerciseMessage("Error.\nApplication will be close.");
        return false;
    }
    if (!shared::LoadLanguageFile(languageFile)) {
        ShowExerciseMessage("Error when loading the language resource file");
        return false;
    }
    if (!personified) {
        ShowExerciseMessage(shared::GetLangString("needPerson"));
        return false;
    }
    LoadPictures();
    return true;
}

void CExerciseApp::LoadPictures()
{
    const std::string path = m_installPath + "kernel/data/resources/exercise.esf";
    EsfPictures& pictures = esfPictures();
    try {
        CZipPackage archive;
        archive.Open(path, CZipPackage::openReadOnly);
        pictures.sheet.LoadFromArchive("sheet.bmp", archive);
        pictures.lightOff.LoadFromArchive("sfetofor.bmp", archive);
        pictures.green.LoadFromArchive("sfet_grn.bmp", archive);
        pictures.yellow.LoadFromArchive("sfet_yel.bmp", archive);
        pictures.red.LoadFromArchive("sfet_red.bmp", archive);
        archive.Close();
        return;
    } catch (const CZipException& e) {
        ReportPicturesMissing(path, "archive error " + std::to_string(e.m_iCause));
    } catch (const CZipFileException& e) {
        ReportPicturesMissing(path, e.what());
    }
    // The window opens without pictures: nothing half-loaded stays.
    pictures.sheet.Release();
    pictures.lightOff.Release();
    pictures.green.Release();
    pictures.yellow.Release();
    pictures.red.Release();
}

}  // namespace exercise
