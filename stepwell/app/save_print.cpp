// Saving hands the task document with its solution to the program that
// gave the task out; when that fails the pupil's own folder keeps a copy.
// Printing shows the document through the print sheet.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/paths.h"
#include "shared/language.h"
#include "shared/launcher.h"
#include "shared/print/print_html_view.h"
#include "shared/settings.h"
#include "stepwell/app/main_frame.h"
#include "stepwell/model/saved_task_name.h"

namespace stepwell {

namespace {

constexpr int kTeacherProgram = 4;  // Coursewright
constexpr int kPupilProgram = 5;    // Tutelary
constexpr int kSolvedTaskCode = 6;

std::string withArgument(const char* key, const std::string& argument)
{
    return QString::fromStdString(shared::GetLangString(key)).arg(QString::fromStdString(argument)).toStdString();
}

}  // namespace

void CStepwellMainFrame::OnSaveTask()
{
    if (m_solution)
        SaveAndSend();
}

bool CStepwellMainFrame::SaveAndSend()
{
    if (!m_solution)
        return true;
    // Sent as it comes out, also without a solution.
    std::string document;
    m_solution->GetTaskDocument(document);
    const int kind = shared::CSettings::Instance().IsTeacher() ? kTeacherProgram : kPupilProgram;
    if (shared::CProgramLauncher::Instance().Launch(this, kind, kSolvedTaskCode, document)) {
        m_sentDocument = document;
        return true;
    }
    // Not delivered (no receiver runs or can be started): the task stays
    // open and the pupil's own folder keeps the work.
    const std::string kept = keepTaskDocument(document);
    if (kept.empty()) {
        DoMessageBox(withArgument("erTaskNotKept", platform::paths::userDataFolder()));
        return false;
    }
    DoMessageBox(withArgument("erTaskNotSent", kept));
    return true;
}

bool CStepwellMainFrame::HasUnsentSteps() const
{
    if (!m_solution || m_solution->Count() == 0)
        return false;
    std::string document;
    m_solution->GetTaskDocument(document);
    return document != m_sentDocument;
}

std::string CStepwellMainFrame::keepTaskDocument(const std::string& document)
{
    const QString folder = QString::fromStdString(platform::paths::userDataFolder());
    if (!QDir().mkpath(folder))
        return {};
    const QString name = QString::fromStdString(SavedTaskFileName(
        m_solution->GetTaskText(), QDateTime::currentDateTime(), shared::GetLangString("savedTaskName")));
    // A second copy within the same second gets a number.
    QString path = folder + name;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + name.chopped(4) + QStringLiteral(" (%1).xml").arg(n);
    // Written through a temporary file: an interrupted write leaves no half document.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    const auto size = static_cast<qint64>(document.size());
    if (file.write(document.data(), size) != size || !file.commit())
        return {};
    return path.toStdString();
}

void CStepwellMainFrame::OnPrintTask()
{
    if (!m_solution || !m_printView)
        return;
    std::string document;
    if (!m_solution->GetTaskDocument(document))
        return;
    const shared::CSettings& settings = shared::CSettings::Instance();
    const std::string sheet =
        settings.GetInstallPath() + "kernel/data/lang/" + settings.GetLanguage() + "/taskbaseprintLang.xslt";
    m_printView->ShowDocument(sheet, document);
}

}  // namespace stepwell
