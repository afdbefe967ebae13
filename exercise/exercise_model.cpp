#include "exercise/exercise_model.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "exercise/exercise_messages.h"
#include "platform/text.h"

namespace exercise {

namespace xml = platform::xml;

namespace {

constexpr const char* kLoadError = "Помилка завантаження вправ.";

}  // namespace

CExerciseModel::CExerciseModel(std::string modulePath, std::string language)
    : m_modulePath(std::move(modulePath)), m_language(std::move(language))
{
}

bool CExerciseModel::LoadExerciseConfig(int number)
{
    m_taskPath.clear();
    m_levelPath.clear();
    try {
        const xml::Document config = xml::Document::loadFile(m_modulePath + "exercise/exercise.cfg");
        // A relational comparison is numeric: "10" is at least 9.
        const auto nums = xml::selectSingle(config.node(), "CONFIG//NUMS[@end >= $n]",
                                            {{"n", std::to_string(number)}});
        if (!nums)
            return false;
        m_levelPath = m_modulePath + "exercise/" + nums->attribute("level1").value_or("");
        m_level2 = nums->attribute("level2").value_or("");
        m_taskPath = m_modulePath + "lang/" + m_language + "/exercise/" + nums->attribute("task").value_or("");
        return true;
    } catch (const xml::Error&) {
        return false;
    }
}

bool CExerciseModel::LoadExercise(int number, QWidget* messageParent)
{
    m_exercise.reset();
    m_working.reset();
    if (!LoadExerciseConfig(number))
        return false;
    const auto fail = [&](const std::string& text) {
        m_exercise.reset();
        m_working.reset();
        m_taskDocument = xml::Document();
        ShowExerciseMessage(text, messageParent);
        return false;
    };
    const xml::NamedValues id = {{"n", std::to_string(number)}};
    try {
        m_taskDocument = xml::Document::loadFile(m_taskPath);
        const auto test = xml::selectSingle(m_taskDocument.node(), "//TEST[@id = $n]", id);
        const xml::Document level = xml::Document::loadFile(m_levelPath);
        const auto tasks = xml::selectSingle(level.node(), "//TASKS[@id = $n]", id);
        if (!test || !tasks)
            return fail(kLoadError);
        const xml::Node appended = test->appendChild(m_taskDocument.importNode(*tasks));
        m_kernelCode = int(platform::text::leadingInt(appended.attribute("applan").value_or("")));
        m_exercise = *test;
    } catch (const xml::Error& e) {
        // A failing query is the program's fault: its account goes to the
        // error stream, the pupil reads the same text as for broken files.
        if (e.kind == xml::ErrorKind::XPath)
            std::fprintf(stderr, "%s\n", e.what());
        return fail(kLoadError);
    } catch (const std::exception&) {
        return fail(kLoadError);
    }
    return createWorkingExercise(messageParent);
}

bool CExerciseModel::createWorkingExercise(QWidget* messageParent)
{
    if (!m_exercise)
        return false;
    try {
        m_working = m_exercise->clone();
        const auto tasks = xml::selectSingle(*m_working, "TASKS");
        const int n = tasks ? int(xml::selectList(*tasks, "TASK").size()) : 0;
        std::srand(unsigned(std::time(nullptr)));
        for (int i = 0; i < n - 3; ++i) {
            const int d = std::rand() % (n - i);
            // Counted from 0 among the tasks that remain.
            const auto task = xml::selectSingle(*tasks, "TASK[position() = $p]", {{"p", std::to_string(d + 1)}});
            if (task)
                tasks->removeChild(*task);
        }
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Error.\nCExercStepwellMainFrame::createWorkingExercise(): %s\n", e.what());
        ShowExerciseMessage(kLoadError, messageParent);
        return false;
    }
}

}  // namespace exercise
