// libFuzzer target over the chapter-pair reader: the input up to its first
// NUL byte is the structure file, the rest the text file. The pair is read
// as a chapter of its own, then again as an addition to the chapter it made
// (inheriting by its guid), so REMOVETR and found items run too. Nothing may
// crash or hang; a failed pair adds no chapter.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "pathmentor/model/guide_loader.h"

namespace {

const std::string& folder()
{
    static const std::string path = [] {
        std::string pattern = "/tmp/pathmentor-pair-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return pattern + "/";
    }();
    return path;
}

void writeFile(const std::string& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.find('\0');
    const std::string structure = folder() + "pair.xcch";
    const std::string text = folder() + "pair.xccl";
    writeFile(structure, input.substr(0, split));
    writeFile(text, split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    pathmentor::ChapterList chapters;
    const bool read = pathmentor::readChapterPair(structure, text, std::nullopt, chapters);
    if (!read && !chapters.empty())
        std::abort();
    if (chapters.empty())
        return 0;
    const std::string guid = chapters.front()->guid;
    const bool added = pathmentor::readChapterPair(structure, text, guid, chapters);
    // Inheriting adds to the chapter found, never a second one with that guid.
    if (added && chapters.size() != 1)
        std::abort();
    for (const auto& chapter : chapters)
        for (const auto& group : chapter->groups)
            for (const auto& item : group->items)
                if (!item || static_cast<int>(item->view) < 1 || static_cast<int>(item->view) > 3)
                    std::abort();
    return 0;
}
