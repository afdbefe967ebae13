#pragma once
// The central directory: the end record, the archive comment and the central
// headers, and the positioning on an entry's data through its local header.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "exercise/zip/zip_byte_buffer.h"
#include "exercise/zip/zip_entry_header.h"

namespace exercise {

class CZipVolumeStore;

class CZipDirectory {
public:
    static constexpr std::uint32_t kEndSignature = 0x06054B50;
    static constexpr std::uint32_t kLocalSignature = 0x04034B50;
    static constexpr std::uint32_t kDescriptorSignature = 0x08074B50;
    static constexpr std::size_t kEndSize = 22;
    static constexpr std::size_t kLocalSize = 30;

    void Init(CZipVolumeStore* storage) { m_pStorage = storage; }
    // Forgets every header and the end record.
    void Clear();
    // Reads the end record and the central headers; throws CZipException.
    void Read();

    // Positions the storage on the data of entry `index` after checking its
    // local header against the central one; throws CZipException.
    void OpenFile(std::size_t index);
    // Reads and checks the open entry's data descriptor, if it has one.
    void CheckDataDescriptor();
    void CloseFile();

    std::size_t GetCount() const { return m_headers.size(); }
    const CZipEntryHeader& GetHeader(std::size_t index) const { return *m_headers[index]; }
    const CZipEntryHeader* GetCurrentFile() const { return m_pOpenedFile; }
    const std::string& GetComment() const { return m_szComment; }
    int GetBytesBefore() const { return m_iBytesBeforeZip; }
    const CZipByteBuffer& GetLocalExtraField() const { return m_pLocalExtraField; }

    // The end record's fields.
    std::uint16_t m_uThisDisk = 0;
    std::uint16_t m_uDiskWithCD = 0;
    std::uint16_t m_uDiskEntriesNo = 0;
    std::uint16_t m_uEntriesNumber = 0;
    std::uint32_t m_uSize = 0;
    std::uint32_t m_uOffset = 0;

private:
    std::int64_t LocateEndRecord();
    [[noreturn]] void ThrowBad() const;
    void ReadExactly(void* buffer, std::size_t count, bool atOnce);

    CZipVolumeStore* m_pStorage = nullptr;
    std::string m_szComment;
    std::vector<std::unique_ptr<CZipEntryHeader>> m_headers;
    const CZipEntryHeader* m_pOpenedFile = nullptr;
    int m_iBytesBeforeZip = 0;
    std::int64_t m_iEndRecordPos = 0;
    bool m_bHasDataDescriptor = false;
    CZipByteBuffer m_pLocalExtraField;
    std::size_t m_iSearchBlock = 0x8000;
};

}  // namespace exercise
