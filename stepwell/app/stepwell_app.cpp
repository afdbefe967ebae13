#include "stepwell/app/stepwell_app.h"

#include <filesystem>

#include "platform/qt_translation.h"
#include "shared/language.h"
#include "shared/settings.h"
#include "stepwell/app/main_frame.h"

namespace stepwell {

CStepwellApp::CStepwellApp() = default;
CStepwellApp::~CStepwellApp() = default;

platform::MessageAnswer CStepwellApp::DoMessageBox(const std::string& text, platform::MessageButtons buttons)
{
    if (m_frame)
        return m_frame->DoMessageBox(text, buttons);
    const platform::MessageIcon icon =
        buttons == platform::MessageButtons::YesNo ? platform::MessageIcon::Question : platform::MessageIcon::Warning;
    return platform::showMessage(text, shared::GetLangString("messageTitle"), icon, buttons, nullptr);
}

std::optional<int> CStepwellApp::InitInstance()
{
    platform::installQtTranslation();
    const shared::CSettings& settings = shared::CSettings::Instance();
    if (!shared::LoadLanguageFile(settings.GetLanguageFilePath(shared::LanguageFile::Stepwell)))
        platform::showMessage("Помилка завантаження файлу ресурсів", "Stepwell", platform::MessageIcon::Error,
                              platform::MessageButtons::Ok, nullptr);
    if (!settings.IsUserPersonified()) {
        DoMessageBox(shared::GetLangString("needPerson"));
        return 0;
    }
    std::error_code error;
    std::filesystem::current_path(settings.GetInstallPath() + "kernel/bin", error);

    m_frame = std::make_unique<CStepwellMainFrame>();
    if (m_frame->OnCreate() != 0) {
        m_frame.reset();
        return 1;
    }
    m_frame->showMaximized();
    return std::nullopt;
}

}  // namespace stepwell
