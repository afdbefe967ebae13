// libFuzzer target over the guide file and its includes. The input is cut at
// NUL bytes into a main guide file and up to two more guide files it may
// include: lang/ua/guide/main.xml, lang/ua/guide/a.xml and
// lang/ua/reckonry/b.xml of a copy of the sample module's guide folders in a
// temporary folder under $TMPDIR, so that the sample chapter pairs are there to be read
// and includes, include cycles and missing includes are all reached. A part
// not given is no file. Loading twice gives the same chapters and messages;
// every item has a view the windows know; every message is a loading error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "pathmentor/model/guide_loader.h"
#include "platform/message_box.h"
#include "testsupport/temp_dir.h"

namespace fs = std::filesystem;

namespace {

platform::MessageRecorder g_recorder;

const std::string& root()
{
    static const testsupport::TempDir folder;
    return folder.path();
}

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "pathmentor_guide_fuzz: %s\n", what);
        std::abort();
    }
}

// The module's guide folders: structure files, and text files beside the
// guide files that name them.
void copyModule()
{
    for (const char* folder : {"guide", "reckonry", "lang/ua/guide", "lang/ua/reckonry"}) {
        fs::create_directories(root() + folder);
        for (const auto& entry : fs::directory_iterator(std::string(PATHMENTOR_MODULE_DIR "/") + folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".xcch" || extension == ".xccl")
                fs::copy_file(entry.path(), root() + folder + "/" + entry.path().filename().string());
        }
    }
}

void place(const std::string& path, std::string_view input, std::size_t& from, bool last)
{
    if (from == std::string_view::npos) {
        ::unlink(path.c_str());
        return;
    }
    const std::size_t end = last ? std::string_view::npos : input.find('\0', from);
    const std::string_view part = input.substr(from, end == std::string_view::npos ? end : end - from);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(part.data(), static_cast<std::streamsize>(part.size()));
    from = end == std::string_view::npos ? end : end + 1;
}

// Everything loaded, as text: two equal loads give equal texts.
std::string summary(const pathmentor::ChapterList& chapters)
{
    std::string text;
    for (const auto& chapter : chapters) {
        check(chapter != nullptr, "a null chapter");
        text += "C" + std::to_string(chapter->id) + chapter->guid + "|" + chapter->name + "|" + chapter->tabName;
        for (const auto& group : chapter->groups) {
            check(group != nullptr, "a null group");
            text += "\nG" + group->guid + "|" + group->name;
            for (const auto& item : group->items) {
                check(item != nullptr, "a null item");
                const int view = static_cast<int>(item->view);
                check(view >= 1 && view <= 3, "an item view the windows do not know");
                text += "\nT" + std::to_string(view) + item->guid + "|" + std::to_string(item->aplan) + "|" +
                        item->name + "|" + item->graphText + "|" + std::to_string(item->formulas.size());
            }
        }
        text += '\n';
    }
    for (const auto& message : g_recorder.messages) {
        check(message.caption == "Loading error." && message.icon == platform::MessageIcon::Error,
              "a message other than a loading error");
        text += "M" + message.text + '\n';
    }
    return text;
}

std::string load(const std::string& main, bool& read)
{
    g_recorder.messages.clear();
    pathmentor::ChapterList chapters;
    read = pathmentor::loadGuide(main, chapters);
    return summary(chapters);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    copyModule();
    platform::setMessageRecorder(&g_recorder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string main = root() + "lang/ua/guide/main.xml";
    std::size_t from = 0;
    place(main, input, from, false);
    place(root() + "lang/ua/guide/a.xml", input, from, false);
    place(root() + "lang/ua/reckonry/b.xml", input, from, true);

    bool first = false;
    bool second = false;
    const std::string once = load(main, first);
    check(load(main, second) == once && first == second, "two loads of the same files differ");
    return 0;
}
