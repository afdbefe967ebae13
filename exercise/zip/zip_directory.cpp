#include "exercise/zip/zip_directory.h"

#include <algorithm>
#include <limits>

#include "exercise/zip/zip_exception.h"
#include "exercise/zip/zip_volume_store.h"

namespace exercise {

namespace {

std::uint16_t get16(const unsigned char* p)
{
    return std::uint16_t(p[0] | (p[1] << 8));
}

std::uint32_t get32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

// 22 bytes of the end record and the longest comment.
constexpr std::int64_t kEndSearchSpan = 22 + 65535;

}  // namespace

void CZipDirectory::Clear()
{
    m_headers.clear();
    m_szComment.clear();
    m_pOpenedFile = nullptr;
    m_iBytesBeforeZip = 0;
    m_iEndRecordPos = 0;
    m_bHasDataDescriptor = false;
    m_pLocalExtraField.Release();
    m_uThisDisk = m_uDiskWithCD = m_uDiskEntriesNo = m_uEntriesNumber = 0;
    m_uSize = m_uOffset = 0;
}

void CZipDirectory::ThrowBad() const
{
    CZipException::Throw(CZipException::codeBadZipFile, m_pStorage->GetArchiveName());
}

void CZipDirectory::ReadExactly(void* buffer, std::size_t count, bool atOnce)
{
    if (m_pStorage->Read(buffer, count, atOnce) != count)
        ThrowBad();
}

// Reads backwards in blocks of the search block size over the last bytes that
// can hold the end record; blocks overlap by 3 bytes so that a signature split
// between two of them is found. The first hit from the end wins.
std::int64_t CZipDirectory::LocateEndRecord()
{
    const std::int64_t length = m_pStorage->GetLength();
    const std::int64_t lowest = length - std::min(length, kEndSearchSpan);
    std::vector<unsigned char> block(m_iSearchBlock);
    std::int64_t end = length;
    while (end - lowest >= 4) {
        const std::int64_t start = std::max(lowest, end - std::int64_t(m_iSearchBlock));
        const std::size_t size = std::size_t(end - start);
        m_pStorage->Seek(start);
        ReadExactly(block.data(), size, true);
        for (std::size_t i = size - 4 + 1; i-- > 0;) {
            if (get32(&block[i]) == kEndSignature)
                return start + std::int64_t(i);
        }
        if (start == lowest)
            break;
        end = start + 3;
    }
    ThrowBad();
}

void CZipDirectory::Read()
{
    m_iEndRecordPos = LocateEndRecord();
    unsigned char record[kEndSize];
    m_pStorage->Seek(m_iEndRecordPos);
    ReadExactly(record, kEndSize, true);
    m_uThisDisk = get16(record + 4);
    m_uDiskWithCD = get16(record + 6);
    m_uDiskEntriesNo = get16(record + 8);
    m_uEntriesNumber = get16(record + 10);
    m_uSize = get32(record + 12);
    m_uOffset = get32(record + 16);
    const std::uint16_t commentLength = get16(record + 20);

    m_pStorage->SetLastDisk(m_uThisDisk);
    const bool spanned = m_pStorage->IsSpanMode();
    if (!spanned && m_iEndRecordPos < std::int64_t(m_uOffset) + std::int64_t(m_uSize))
        ThrowBad();

    m_szComment.assign(commentLength, '\0');
    if (commentLength)
        ReadExactly(m_szComment.data(), commentLength, true);

    if (spanned) {
        m_iBytesBeforeZip = 0;
    } else {
        const std::int64_t before = m_iEndRecordPos - std::int64_t(m_uOffset) - std::int64_t(m_uSize);
        if (before > std::numeric_limits<int>::max())
            ThrowBad();
        m_iBytesBeforeZip = int(before);
    }
    if ((m_uSize == 0) != (m_uEntriesNumber == 0))
        ThrowBad();

    m_pStorage->ChangeVolume(m_uDiskWithCD);
    if (m_uSize == 0)
        return;
    m_pStorage->Seek(std::int64_t(m_uOffset) + m_iBytesBeforeZip);
    m_headers.reserve(m_uEntriesNumber);
    for (unsigned n = 0; n < m_uEntriesNumber; ++n) {
        unsigned char fixed[CZipEntryHeader::kSize];
        ReadExactly(fixed, sizeof fixed, false);
        if (get32(fixed) != CZipEntryHeader::kSignature)
            ThrowBad();
        auto header = std::make_unique<CZipEntryHeader>();
        header->m_uVersionMadeBy = get16(fixed + 4);
        header->m_uVersionNeeded = get16(fixed + 6);
        header->m_uFlag = get16(fixed + 8);
        header->m_uMethod = get16(fixed + 10);
        header->m_uModTime = get16(fixed + 12);
        header->m_uModDate = get16(fixed + 14);
        header->m_uCrc32 = get32(fixed + 16);
        header->m_uComprSize = get32(fixed + 20);
        header->m_uUncomprSize = get32(fixed + 24);
        const std::uint16_t nameLength = get16(fixed + 28);
        const std::uint16_t extraLength = get16(fixed + 30);
        const std::uint16_t entryCommentLength = get16(fixed + 32);
        header->m_uDiskStart = get16(fixed + 34);
        header->m_uInternalAttr = get16(fixed + 36);
        header->m_uExternalAttr = get32(fixed + 38);
        header->m_uOffset = get32(fixed + 42);
        header->m_szFileName.assign(nameLength, '\0');
        if (nameLength)
            ReadExactly(header->m_szFileName.data(), nameLength, false);
        header->m_pExtraField.Allocate(extraLength);
        if (extraLength)
            ReadExactly(header->m_pExtraField.GetBuffer(), extraLength, false);
        header->m_szComment.assign(entryCommentLength, '\0');
        if (entryCommentLength)
            ReadExactly(header->m_szComment.data(), entryCommentLength, false);
        m_headers.push_back(std::move(header));
    }
}

void CZipDirectory::OpenFile(std::size_t index)
{
    const CZipEntryHeader& central = *m_headers.at(index);
    m_pStorage->ChangeVolume(central.m_uDiskStart);
    m_pStorage->Seek(std::int64_t(central.m_uOffset) + m_iBytesBeforeZip);
    unsigned char local[kLocalSize];
    ReadExactly(local, kLocalSize, true);
    const std::uint16_t flag = get16(local + 6);
    const std::uint16_t method = get16(local + 8);
    const std::uint32_t crc = get32(local + 14);
    const std::uint32_t comprSize = get32(local + 18);
    const std::uint32_t uncomprSize = get32(local + 22);
    const std::uint16_t nameLength = get16(local + 26);
    const std::uint16_t extraLength = get16(local + 28);
    if (get32(local) != kLocalSignature || method != central.m_uMethod || (method != 0 && method != 8) ||
        nameLength != central.m_szFileName.size())
        ThrowBad();
    const bool descriptor = (flag & 8) != 0;
    if (!descriptor &&
        (crc != central.m_uCrc32 || comprSize != central.m_uComprSize || uncomprSize != central.m_uUncomprSize))
        ThrowBad();
    // Stored data is copied byte for byte: its two sizes must agree, or the
    // copy would wait for input that never comes.
    if (method == 0 && central.m_uComprSize != central.m_uUncomprSize)
        ThrowBad();
    m_pStorage->Seek(m_pStorage->GetPosition() + nameLength);
    m_pLocalExtraField.Allocate(extraLength);
    if (extraLength)
        ReadExactly(m_pLocalExtraField.GetBuffer(), extraLength, true);
    m_bHasDataDescriptor = descriptor;
    m_pOpenedFile = &central;
}

void CZipDirectory::CheckDataDescriptor()
{
    if (!m_pOpenedFile || !m_bHasDataDescriptor)
        return;
    unsigned char record[16];
    ReadExactly(record, 4, false);
    std::size_t at = 0;
    if (get32(record) == kDescriptorSignature)
        ReadExactly(record + 4, 12, false), at = 4;
    else
        ReadExactly(record + 4, 8, false);
    if (get32(record + at) != m_pOpenedFile->m_uCrc32 || get32(record + at + 4) != m_pOpenedFile->m_uComprSize ||
        get32(record + at + 8) != m_pOpenedFile->m_uUncomprSize)
        ThrowBad();
}

void CZipDirectory::CloseFile()
{
    m_pOpenedFile = nullptr;
    m_bHasDataDescriptor = false;
    m_pLocalExtraField.Release();
}

}  // namespace exercise
