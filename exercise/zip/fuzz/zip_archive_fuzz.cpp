// libFuzzer target over the archive reader and the picture loader: each input
// is written to a file and opened as an archive; every entry is read to its
// end in bounded chunks and then loaded as a picture. Faults of the archive
// are the reader's exceptions; anything else (a crash, a hang, a read outside
// a buffer) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "exercise/esf_bitmap.h"
#include "exercise/zip/zip_package.h"
#include "platform/message_box.h"

using namespace exercise;

namespace {

std::string inputPath()
{
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/zip_archive_fuzz." + std::to_string(::getpid()) + ".zip";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static platform::MessageRecorder recorder;
    platform::setMessageRecorder(&recorder);
    recorder.messages.clear();
    static const std::string path = inputPath();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    } else {
        return 0;
    }
    CZipPackage zip;
    try {
        zip.Open(path);
    } catch (const CZipException&) {
        return 0;
    } catch (const CZipFileException&) {
        return 0;
    }
    std::vector<char> chunk(4096);
    for (int i = 0; i < zip.GetNoEntries(); ++i) {
        try {
            if (!zip.OpenFile(i))
                std::abort();  // no entry is open between two reads
            while (zip.ReadFile(chunk.data(), std::uint32_t(chunk.size())) != 0) {
            }
        } catch (const CZipException&) {
        } catch (const CZipFileException&) {
        }
        // Closing may report the archive's fault too; the entry is closed then.
        try {
            zip.CloseFile();
        } catch (const CZipException&) {
        } catch (const CZipFileException&) {
        }
        CZipEntryHeader header;
        if (!zip.GetFileInfo(header, i))
            std::abort();
        try {
            CEsfBitmap picture;
            picture.LoadFromArchive(header.m_szFileName, zip);
        } catch (const CZipException&) {
        } catch (const CZipFileException&) {
        }
    }
    return 0;
}
