#pragma once
// The exercise a drill shows: found through the module's configuration
// (exercise/exercise.cfg), its statement from the task file of the language
// folder and its pool of tasks from the level file, of which the working
// exercise keeps three chosen at random. No widgets here: the frame shows
// what this holds.
#include <optional>
#include <string>

#include "platform/xml.h"

class QWidget;

namespace exercise {

class CExerciseModel {
public:
    // `modulePath` ends in "/"; `language` is the language folder word.
    CExerciseModel(std::string modulePath, std::string language);

    // Finds the configuration entry of `number`: the first NUMS in document
    // order whose `end` is at least the number. False when there is none or
    // the configuration cannot be read (no message: the window shows no
    // exercise).
    bool LoadExerciseConfig(int number);
    // Loads the statement and the pool and makes the first working exercise.
    // A file that fails shows "Помилка завантаження вправ." (an XPath fault
    // too, its own text on standard error); false then, and nothing is loaded.
    bool LoadExercise(int number, QWidget* messageParent = nullptr);
    // A new working exercise: a copy of the exercise keeping three tasks of
    // its pool, chosen after seeding the C library's generator with the time
    // in seconds. Nothing without a loaded exercise; a copy that fails shows
    // "Помилка завантаження вправ.".
    bool createWorkingExercise(QWidget* messageParent = nullptr);

    bool IsLoaded() const { return m_exercise.has_value(); }
    int GetKernelCode() const { return m_kernelCode; }
    const std::string& GetTaskPath() const { return m_taskPath; }
    const std::string& GetLevelPath() const { return m_levelPath; }
    // The TEST element with the level file's TASKS under it.
    const std::optional<platform::xml::Node>& GetExerciseNode() const { return m_exercise; }
    // The copy that keeps the chosen tasks.
    const std::optional<platform::xml::Node>& GetWorkingExercise() const { return m_working; }

private:
    std::string m_modulePath;
    std::string m_language;
    std::string m_taskPath;
    std::string m_levelPath;
    std::string m_level2;
    int m_kernelCode = 0;
    platform::xml::Document m_taskDocument;
    std::optional<platform::xml::Node> m_exercise;
    std::optional<platform::xml::Node> m_working;
};

}  // namespace exercise
