#include "reckonry/task_wnd.h"

#include "platform/com/error_info.h"
#include "reckonry/theme.h"
#include "shared/language.h"

namespace reckonry {

CReckonryTaskWnd::CReckonryTaskWnd(Program program, solvehost::IFormulaEventListener* listener)
    : m_program(program), m_splitter(2, 2, 30, 5)
{
    setProperty("dlgCtrlId", kPageId);
    if (listener)
        m_events = std::make_unique<solvehost::CSymbrantEvents>(listener);
}

CReckonryTaskWnd::~CReckonryTaskWnd()
{
    // The sink lets go of the condition before the control goes.
    if (m_events)
        m_events->Unadvise();
}

bool CReckonryTaskWnd::Create(QWidget* parent, const QRect& rect)
{
    setParent(parent);
    setGeometry(rect);
    if (!m_splitter.Create(this, kSplitterId))
        return false;
    using solvehost::WS_CHILD;
    using solvehost::WS_VISIBLE;
    const QRect start(0, 0, std::max(rect.width(), 1), std::max(rect.height() / 2, 1));
    m_condition.Create(QString::fromStdString(shared::GetLangString("nameCondition")), WS_CHILD | WS_VISIBLE, start,
                       &m_splitter, kConditionId);
    m_answer.Create(QString::fromStdString(shared::GetLangString("nameAnswer")), WS_CHILD | WS_VISIBLE, start,
                    &m_splitter, kAnswerId);
    m_splitter.CreatePane(0, &m_condition);
    m_splitter.CreatePane(1, &m_answer);

    const bool calculator = m_program == Program::Sumwright;
    try {
        m_condition.UseEditor();
        if (calculator)
            m_answer.SetEliminateBrackets(true);
        m_answer.UseViewer();
        if (m_events)
            m_events->Advise(&m_condition, nullptr);
        m_condition.SetBackColor(ThemeOleColor(0));
        m_answer.SetBackColor(ThemeOleColor(0));
        // The solver's tasks hold inequalities: its palette has less or
        // equal and greater or equal, which class 9 shows.
        m_condition.SetSchoolClass(calculator ? 8 : 9);
        // Both programs: the controls' messages and palette tips in the
        // pupil's language (the setting is the process's, not the control's).
        const std::int32_t language = solvehost::PupilFormulaLanguage();
        m_answer.SetLanguge(language);
        m_condition.SetLanguge(language);
    } catch (const platform::com::Error&) {
        // A control that refuses a call keeps its defaults; the page stays.
    }
    return true;
}

void CReckonryTaskWnd::SetAnswerText(const std::string& text) { m_answer.SetAplanText(text); }

std::string CReckonryTaskWnd::GetAnswerText() { return m_answer.GetAplanText(); }

void CReckonryTaskWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_splitter.setGeometry(rect());
}

}  // namespace reckonry
