#pragma once
// A ZIP archive opened for reading: its entries are found by name and read
// into memory, stored or deflated (zlib's raw inflate). Faults of the archive
// throw CZipException; the operating system's refusals CZipFileException; bad
// arguments CZipArgumentException.
//
// Only reading is built: creating archives (and spanning them over removable
// disks) needs operations that write entries, drive types and volume labels,
// none of which this platform or the programs have. Open refuses the creating
// modes as a bad argument.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <unordered_set>

#include "exercise/zip/zip_directory.h"
#include "exercise/zip/zip_entry_header.h"
#include "exercise/zip/zip_exception.h"
#include "exercise/zip/zip_stream_state.h"
#include "exercise/zip/zip_volume_store.h"

namespace exercise {

class CZipPackage {
public:
    enum OpenMode {
        open = 0,          // an existing archive, for reading and writing
        openReadOnly = 1,  // an existing archive, read-only
        create = 2,        // not built: refused
        createSpan = 3,    // not built: refused
    };

    CZipPackage();
    CZipPackage(const CZipPackage&) = delete;
    CZipPackage& operator=(const CZipPackage&) = delete;
    ~CZipPackage();

    // Opens the archive and reads its central directory; does nothing when an
    // archive is open already. On a failure nothing stays open.
    void Open(const std::string& path, int mode = openReadOnly, int volumeSize = 0);
    // Closes the open entry (unchecked) and the archive.
    void Close();
    bool IsClosed() const { return !m_storage.IsOpen(); }

    int GetNoEntries() const { return IsClosed() ? 0 : int(m_centralDir.GetCount()); }
    const std::string& GetGlobalComment() const { return m_centralDir.GetComment(); }
    // Entry index of `name` (compared as GetFileInfo gives the names), or -1.
    int FindFile(const std::string& name, bool caseSensitive = false) const;
    // The central header of entry `index`, its name converted as the two flags
    // say; false when nothing is open or the index is out of range.
    bool GetFileInfo(CZipEntryHeader& header, int index) const;

    // Opens entry `index` for reading; false for an index out of range or
    // while another entry is open. A bad archive or method throws.
    bool OpenFile(int index);
    // Delivers up to `size` bytes of the open entry; 0 at its end, with no
    // entry open, for a null buffer or a size of 0.
    std::uint32_t ReadFile(void* buffer, std::uint32_t size);
    // Closes the open entry. After a full read a wrong CRC-32 throws cause 11;
    // deflated data that ends short of its size, or a data descriptor that
    // disagrees with the central header, cause 10.
    // With `fileName`, that file gets the entry's modification time and its
    // DOS read-only bit; the result is false when that fails.
    bool CloseFile(const std::optional<std::string>& fileName = std::nullopt);

    // Names from the OEM code page (866) to UTF-8, and '/' to '\' (both on).
    void SetConvertOemToAnsi(bool on) { m_bOemToAnsi = on; }
    void SetSlashChange(bool on) { m_bSlashChange = on; }

    // Blocks zlib holds through the package's allocator.
    std::size_t GetAllocatedBlockCount() const { return m_allocatedBlocks.size(); }

    // A DOS date and time as a local time stamp; an invalid one throws
    // CZipArgumentException.
    static std::time_t DosTimeToTime(std::uint16_t date, std::uint16_t time);

private:
    static void* allocate(void* opaque, unsigned items, unsigned size);
    static void release(void* opaque, void* block);
    [[noreturn]] void ThrowError(int code) const;
    void EndEntry();
    bool SetFileTimeAndAttributes(const std::string& fileName, const CZipEntryHeader& header) const;

    CZipVolumeStore m_storage;
    CZipDirectory m_centralDir;
    CZipStreamState m_info;
    int m_iFileOpened = 0;  // 255 while an entry is open for reading
    bool m_bOemToAnsi = true;
    bool m_bSlashChange = true;
    bool m_bOwnAllocator = true;
    std::unordered_set<void*> m_allocatedBlocks;
};

}  // namespace exercise
