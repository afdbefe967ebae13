#include "exercise/zip/zip_package.h"

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#include <utime.h>

#include <QString>

#include "platform/text.h"

namespace exercise {

namespace {

constexpr int kEntryOpen = 255;

}  // namespace

CZipPackage::CZipPackage()
{
    m_centralDir.Init(&m_storage);
}

CZipPackage::~CZipPackage()
{
    Close();
    for (void* block : m_allocatedBlocks)
        delete[] static_cast<char*>(block);
}

void* CZipPackage::allocate(void* opaque, unsigned items, unsigned size)
{
    auto* self = static_cast<CZipPackage*>(opaque);
    const std::size_t bytes = std::size_t(items) * size;
    char* block = new (std::nothrow) char[bytes ? bytes : 1];
    if (block)
        self->m_allocatedBlocks.insert(block);
    return block;
}

void CZipPackage::release(void* opaque, void* block)
{
    auto* self = static_cast<CZipPackage*>(opaque);
    if (self->m_allocatedBlocks.erase(block))
        delete[] static_cast<char*>(block);
}

void CZipPackage::ThrowError(int code) const
{
    CZipException::Throw(code, m_storage.GetArchiveName());
}

void CZipPackage::Open(const std::string& path, int mode, int /*volumeSize*/)
{
    if (!IsClosed())
        return;
    if (mode != open && mode != openReadOnly)
        throw CZipArgumentException("only existing archives can be opened");
    m_storage.Open(path, mode == openReadOnly);
    m_centralDir.Clear();
    try {
        m_centralDir.Read();
    } catch (...) {
        m_centralDir.Clear();
        m_storage.Close();
        throw;
    }
}

void CZipPackage::Close()
{
    if (m_iFileOpened == kEntryOpen)
        EndEntry();
    m_centralDir.Clear();
    m_storage.Close();
}

bool CZipPackage::GetFileInfo(CZipEntryHeader& header, int index) const
{
    if (IsClosed() || index < 0 || std::size_t(index) >= m_centralDir.GetCount())
        return false;
    header = m_centralDir.GetHeader(std::size_t(index));
    if (m_bOemToAnsi)
        header.m_szFileName = platform::text::utf8FromCp866(header.m_szFileName);
    if (m_bSlashChange)
        std::replace(header.m_szFileName.begin(), header.m_szFileName.end(), '/', '\\');
    return true;
}

int CZipPackage::FindFile(const std::string& name, bool caseSensitive) const
{
    if (IsClosed())
        return -1;
    const QString wanted = QString::fromUtf8(name);
    CZipEntryHeader header;
    for (int i = 0; i < int(m_centralDir.GetCount()); ++i) {
        GetFileInfo(header, i);
        const QString have = QString::fromUtf8(header.m_szFileName);
        if (wanted.compare(have, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool CZipPackage::OpenFile(int index)
{
    if (IsClosed() || index < 0 || std::size_t(index) >= m_centralDir.GetCount() || m_iFileOpened == kEntryOpen)
        return false;
    m_info.m_pBuffer.Allocate(CZipStreamState::kBufferSize);
    try {
        m_centralDir.OpenFile(std::size_t(index));
    } catch (...) {
        m_centralDir.CloseFile();
        m_info.m_pBuffer.Release();
        throw;
    }
    const CZipEntryHeader& header = *m_centralDir.GetCurrentFile();
    m_info.m_stream = z_stream{};
    if (header.m_uMethod == 8) {
        if (m_bOwnAllocator) {
            m_info.m_stream.zalloc = &CZipPackage::allocate;
            m_info.m_stream.zfree = &CZipPackage::release;
            m_info.m_stream.opaque = this;
        }
        // Raw deflate data: negative window bits, no zlib header.
        const int rc = inflateInit2(&m_info.m_stream, -MAX_WBITS);
        if (rc != Z_OK && rc != Z_NEED_DICT) {
            m_centralDir.CloseFile();
            m_info.m_pBuffer.Release();
            ThrowError(rc);
        }
    }
    m_info.m_uComprLeft = header.m_uComprSize;
    m_info.m_uUncomprLeft = header.m_uUncomprSize;
    m_info.m_uCrc32 = 0;
    m_info.m_bStreamEnded = false;
    m_info.m_stream.avail_in = 0;
    m_iFileOpened = kEntryOpen;
    return true;
}

std::uint32_t CZipPackage::ReadFile(void* buffer, std::uint32_t size)
{
    if (m_iFileOpened != kEntryOpen || !buffer || !size)
        return 0;
    const CZipEntryHeader& header = *m_centralDir.GetCurrentFile();
    z_stream& stream = m_info.m_stream;
    auto* out = static_cast<unsigned char*>(buffer);
    const std::uint32_t wanted = std::min(size, m_info.m_uUncomprLeft);
    std::uint32_t delivered = 0;
    while (delivered < wanted) {
        if (stream.avail_in == 0 && m_info.m_uComprLeft > 0) {
            const std::uint32_t chunk = std::min<std::uint32_t>(CZipStreamState::kBufferSize, m_info.m_uComprLeft);
            // A short read means the data ends early, and no next volume
            // continues it.
            if (m_storage.Read(m_info.m_pBuffer.GetBuffer(), chunk, false) != chunk)
                ThrowError(CZipException::codeBadZipFile);
            m_info.m_uComprLeft -= chunk;
            stream.next_in = reinterpret_cast<Bytef*>(m_info.m_pBuffer.GetBuffer());
            stream.avail_in = chunk;
        }
        if (header.m_uMethod == 8) {
            stream.next_out = out + delivered;
            stream.avail_out = wanted - delivered;
            const uInt inBefore = stream.avail_in;
            const int rc = inflate(&stream, Z_SYNC_FLUSH);
            const std::uint32_t produced = (wanted - delivered) - stream.avail_out;
            m_info.m_uCrc32 = std::uint32_t(crc32(m_info.m_uCrc32, out + delivered, produced));
            m_info.m_uUncomprLeft -= produced;
            delivered += produced;
            if (rc == Z_STREAM_END) {
                m_info.m_bStreamEnded = true;
                return delivered;
            }
            // A dictionary request that makes no progress would repeat for ever.
            if (rc == Z_NEED_DICT && produced == 0 && inBefore == stream.avail_in)
                ThrowError(rc);
            if (rc != Z_OK && rc != Z_NEED_DICT)
                ThrowError(rc);
        } else {
            if (stream.avail_in == 0)
                ThrowError(CZipException::codeBadZipFile);
            const std::uint32_t n = std::min<std::uint32_t>(wanted - delivered, stream.avail_in);
            std::memcpy(out + delivered, stream.next_in, n);
            m_info.m_uCrc32 = std::uint32_t(crc32(m_info.m_uCrc32, out + delivered, n));
            stream.next_in += n;
            stream.avail_in -= n;
            m_info.m_uUncomprLeft -= n;
            delivered += n;
        }
    }
    return delivered;
}

void CZipPackage::EndEntry()
{
    if (m_centralDir.GetCurrentFile() && m_centralDir.GetCurrentFile()->m_uMethod == 8)
        inflateEnd(&m_info.m_stream);
    m_info.m_stream = z_stream{};
    m_centralDir.CloseFile();
    m_info.m_pBuffer.Release();
    m_iFileOpened = 0;
}

bool CZipPackage::CloseFile(const std::optional<std::string>& fileName)
{
    if (m_iFileOpened != kEntryOpen)
        return false;
    const CZipEntryHeader header = *m_centralDir.GetCurrentFile();
    // The CRC-32 is only known after the whole entry was delivered.
    const bool crcWrong = m_info.m_uUncomprLeft == 0 && m_info.m_uCrc32 != header.m_uCrc32;
    // The data descriptor follows the data: the storage stands on it only when
    // every compressed byte was read.
    const bool descriptorReachable = m_info.m_uComprLeft == 0;
    if (crcWrong) {
        EndEntry();
        ThrowError(CZipException::codeBadCrc);
    }
    // Deflated data that ends before the size its header gives: the entry
    // cannot be delivered whole, which the caller would not learn otherwise.
    if (m_info.m_bStreamEnded && m_info.m_uUncomprLeft != 0) {
        EndEntry();
        ThrowError(CZipException::codeBadZipFile);
    }
    if (header.m_uMethod == 8)
        inflateEnd(&m_info.m_stream);
    m_info.m_stream = z_stream{};
    bool result = true;
    if (fileName)
        result = SetFileTimeAndAttributes(*fileName, header);
    try {
        if (descriptorReachable)
            m_centralDir.CheckDataDescriptor();
    } catch (...) {
        m_centralDir.CloseFile();
        m_info.m_pBuffer.Release();
        m_iFileOpened = 0;
        throw;
    }
    m_centralDir.CloseFile();
    m_info.m_pBuffer.Release();
    m_iFileOpened = 0;
    return result;
}

bool CZipPackage::SetFileTimeAndAttributes(const std::string& fileName, const CZipEntryHeader& header) const
{
    try {
        const std::time_t stamp = DosTimeToTime(header.m_uModDate, header.m_uModTime);
        utimbuf times{stamp, stamp};
        if (::utime(fileName.c_str(), &times) != 0)
            return false;
        struct stat st {};
        if (::stat(fileName.c_str(), &st) != 0)
            return false;
        // Only the DOS read-only bit has a counterpart: no write permission.
        mode_t permissions = st.st_mode & 07777;
        if (header.m_uExternalAttr & 1)
            permissions &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
        else
            permissions |= S_IWUSR;
        return ::chmod(fileName.c_str(), permissions) == 0;
    } catch (const CZipArgumentException&) {
        return false;
    }
}

std::time_t CZipPackage::DosTimeToTime(std::uint16_t date, std::uint16_t time)
{
    std::tm parts{};
    parts.tm_sec = 2 * (time & 31);
    parts.tm_min = (time >> 5) & 63;
    parts.tm_hour = time >> 11;
    parts.tm_mday = date & 31;
    parts.tm_mon = ((date >> 5) & 15) - 1;
    parts.tm_year = 1980 + (date >> 9) - 1900;
    parts.tm_isdst = -1;
    const std::time_t stamp = std::mktime(&parts);
    if (stamp == std::time_t(-1))
        throw CZipArgumentException("invalid DOS date and time");
    return stamp;
}

}  // namespace exercise
