#include "reckonry/app.h"

#include <QApplication>
#include <QDir>

#include "platform/message_box.h"
#include "platform/qt_translation.h"
#include "reckonry/main_frame.h"
#include "shared/language.h"
#include "shared/settings.h"

namespace reckonry {
namespace {

const char* const kReckonryLanguageError = "Помилка завантаження файлу ресурсів";
const char* const kSumwrightLanguageError = "Error loading language library.\nApplication will be terminated.";

}  // namespace

CReckonryApp::~CReckonryApp() { delete m_frame; }

bool CReckonryApp::InitInstance()
{
    platform::installQtTranslation();
    const shared::CSettings& settings = shared::CSettings::Instance();
    m_installDir = settings.GetInstallPath();
    if (m_program == Program::Sumwright)
        QDir::setCurrent(QString::fromStdString(m_installDir + "kernel/bin"));

    const bool loaded = shared::LoadLanguageFile(settings.GetLanguageFilePath(shared::LanguageFile::Reckonry));
    if (!loaded) {
        if (m_program == Program::Sumwright) {
            platform::showMessage(kSumwrightLanguageError, "", platform::MessageIcon::None);
            return false;
        }
        platform::showMessage(kReckonryLanguageError, "", platform::MessageIcon::Warning);
    }

    m_frame = new CReckonryMainFrame(m_program);
    if (!m_frame->Create()) {
        delete m_frame;
        m_frame = nullptr;
        return false;
    }
    m_frame->show();
    return true;
}

int RunProgram(Program program)
{
    CReckonryApp app(program);
    if (!app.InitInstance())
        return 1;
    return QApplication::exec();
}

}  // namespace reckonry
