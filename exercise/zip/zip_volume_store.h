#pragma once
// The archive's storage: one file with 64-bit offsets, or, for an archive
// spanned over volume files, the volume that is current. Volumes are files
// named after the archive: "<name>.001", "<name>.002", ... for the first
// ones; the last volume is the archive file itself (the one that holds the
// end record).
#include <cstddef>
#include <cstdint>
#include <string>

namespace exercise {

// A file read and written through 64-bit offsets. The operating system's
// refusals throw CZipFileException.
class CBigFile {
public:
    enum OpenMode { modeRead, modeReadWrite };

    CBigFile() = default;
    CBigFile(const CBigFile&) = delete;
    CBigFile& operator=(const CBigFile&) = delete;
    ~CBigFile();

    void Open(const std::string& path, OpenMode mode);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // Reads up to `count` bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t count);
    void Seek(std::int64_t position);
    std::int64_t GetPosition() const;
    std::int64_t GetLength() const;
    const std::string& GetFilePath() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};

class CZipVolumeStore {
public:
    enum SpanMode {
        noSpan = 0,          // a single file
        pkzipSpan = 1,       // removable disks (never on this platform)
        volumeSpan = 2,      // volume files of a fixed size
        unknownSpan = 3,     // opened for reading; the end record decides
    };

    // Opens an existing archive: read-only, or for reading and writing.
    void Open(const std::string& path, bool readOnly);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    // The end record's disk number decides: 0 a single file, else the archive
    // is spanned and the opened file is its last volume.
    void SetLastDisk(int diskNumber);
    bool IsSpanMode() const { return m_iSpanMode == volumeSpan; }
    int GetCurrentVolume() const { return m_iCurrentVolume; }
    int GetVolumeCount() const { return m_iVolumeCount; }

    // Makes volume `volume` current and positions at its start (when it
    // changes). A volume the archive does not have is a bad archive.
    void ChangeVolume(int volume);
    // The file name of volume `volume` of a spanned archive.
    std::string VolumeName(int volume) const;

    // Reads up to `count` bytes. Unless `atOnce`, a read that reaches the end
    // of a volume goes on at the start of the next one.
    std::size_t Read(void* buffer, std::size_t count, bool atOnce);
    void Seek(std::int64_t position) { m_file.Seek(position); }
    std::int64_t GetPosition() const { return m_file.GetPosition(); }
    std::int64_t GetLength() const { return m_file.GetLength(); }
    const std::string& GetArchiveName() const { return m_szArchiveName; }

private:
    CBigFile m_file;
    std::string m_szArchiveName;
    bool m_bReadOnly = true;
    int m_iSpanMode = noSpan;
    int m_iCurrentVolume = -1;
    int m_iVolumeCount = 0;
};

}  // namespace exercise
