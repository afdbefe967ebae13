// libFuzzer target over the drill's reading of an exercise: the first byte is
// the exercise number (signed), the rest is cut at NUL bytes into
// exercise/exercise.cfg, the statement file lang/ua/exercise/exercise.xml and
// the level files exercise/level_1.xml and exercise/level_2.xml of a
// temporary module (a file the input does not reach is missing). Nothing may crash
// or hang; a loaded exercise is the TEST of that number with a working copy
// of at most three tasks of its pool, in the pool's order, and making a
// working copy leaves the pool whole; a failure after the configuration
// was found shows one message, and leaves nothing loaded.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "exercise/exercise_model.h"
#include "platform/message_box.h"

namespace {

namespace fs = std::filesystem;
namespace xml = platform::xml;

const std::string& module()
{
    static const std::string path = [] {
        std::string pattern = "/tmp/exercise-model-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        fs::create_directories(pattern + "/exercise");
        fs::create_directories(pattern + "/lang/ua/exercise");
        return pattern + "/";
    }();
    static const bool removedAtExit = std::atexit([] {
        std::error_code ignored;
        fs::remove_all(module(), ignored);
    }) == 0;
    (void)removedAtExit;
    return path;
}

// Each file is written anew rather than truncated: the file system then
// does not flush it to disk on every input.
void place(const std::string& name, const std::string_view* content)
{
    const std::string path = module() + name;
    std::remove(path.c_str());
    if (!content)
        return;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content->data(), static_cast<std::streamsize>(content->size()));
}

std::vector<std::string> taskTexts(const xml::Node& exercise)
{
    std::vector<std::string> texts;
    if (const auto tasks = xml::selectSingle(exercise, "TASKS"))
        for (const xml::Node& task : xml::selectList(*tasks, "TASK"))
            texts.push_back(task.text());
    return texts;
}

// True when every text of `chosen` stands in `whole`, in the same order.
bool inOrderWithin(const std::vector<std::string>& chosen, const std::vector<std::string>& whole)
{
    std::size_t at = 0;
    for (const std::string& text : chosen) {
        while (at < whole.size() && whole[at] != text)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static platform::MessageRecorder recorder;
    platform::setMessageRecorder(&recorder);
    recorder.messages.clear();
    if (size == 0)
        return 0;
    const int number = static_cast<std::int8_t>(data[0]);
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string_view> parts;
    for (std::size_t cut = rest.find('\0'); parts.size() < 3 && cut != std::string_view::npos;
         cut = rest.find('\0')) {
        parts.push_back(rest.substr(0, cut));
        rest.remove_prefix(cut + 1);
    }
    parts.push_back(rest);
    const char* names[] = {"exercise/exercise.cfg", "lang/ua/exercise/exercise.xml", "exercise/level_1.xml",
                           "exercise/level_2.xml"};
    for (std::size_t i = 0; i < 4; ++i)
        place(names[i], i < parts.size() ? &parts[i] : nullptr);

    exercise::CExerciseModel model(module(), "ua");
    const bool loaded = model.LoadExercise(number);
    const bool configFound = !model.GetLevelPath().empty();
    if (!loaded) {
        if (model.IsLoaded() || model.GetWorkingExercise())
            std::abort();
        if (recorder.messages.size() != (configFound ? 1u : 0u))
            std::abort();
        return 0;
    }
    if (!configFound || !model.IsLoaded() || !model.GetWorkingExercise() || !recorder.messages.empty())
        std::abort();
    const xml::Node& test = *model.GetExerciseNode();
    if (test.name() != "TEST" || test.attribute("id") != std::to_string(number))
        std::abort();
    const std::vector<std::string> pool = taskTexts(test);
    for (int round = 0; round < 2; ++round) {
        const std::vector<std::string> working = taskTexts(*model.GetWorkingExercise());
        if (working.size() != std::min<std::size_t>(pool.size(), 3) || !inOrderWithin(working, pool))
            std::abort();
        if (!model.createWorkingExercise() || taskTexts(test) != pool)
            std::abort();
    }
    return 0;
}
