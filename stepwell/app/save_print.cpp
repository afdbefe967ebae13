// Saving hands the task document with its solution to the program that
// gave the task out; printing shows it through the print sheet.
#include "shared/launcher.h"
#include "shared/print/print_html_view.h"
#include "shared/settings.h"
#include "stepwell/app/main_frame.h"

namespace stepwell {

namespace {

constexpr int kTeacherProgram = 4;  // Coursewright
constexpr int kPupilProgram = 5;    // Tutelary
constexpr int kSolvedTaskCode = 6;

}  // namespace

void CStepwellMainFrame::OnSaveTask()
{
    if (!m_solution)
        return;
    // Sent as it comes out, also without a solution.
    std::string document;
    m_solution->GetTaskDocument(document);
    const int kind = shared::CSettings::Instance().IsTeacher() ? kTeacherProgram : kPupilProgram;
    // When the receiver is not running and cannot be started the task is
    // simply not delivered.
    shared::CProgramLauncher::Instance().Launch(this, kind, kSolvedTaskCode, document);
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
