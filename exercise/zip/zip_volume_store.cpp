#include "exercise/zip/zip_volume_store.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "exercise/zip/zip_exception.h"

namespace exercise {

CBigFile::~CBigFile()
{
    Close();
}

void CBigFile::Open(const std::string& path, OpenMode mode)
{
    Close();
    const int flags = (mode == modeRead ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        throw CZipFileException(errno, path, "cannot open");
    // A folder or a device is no archive: only a regular file is read.
    struct stat st {};
    const int error = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EISDIR;
    if (error) {
        ::close(fd);
        throw CZipFileException(error, path, "cannot open");
    }
    m_fd = fd;
    m_path = path;
}

void CBigFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::size_t CBigFile::Read(void* buffer, std::size_t count)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CZipFileException(errno, m_path, "cannot read");
        }
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

void CBigFile::Seek(std::int64_t position)
{
    if (position < 0 || ::lseek(m_fd, off_t(position), SEEK_SET) < 0)
        throw CZipFileException(position < 0 ? EINVAL : errno, m_path, "cannot seek in");
}

std::int64_t CBigFile::GetPosition() const
{
    const off_t at = ::lseek(m_fd, 0, SEEK_CUR);
    if (at < 0)
        throw CZipFileException(errno, m_path, "cannot seek in");
    return at;
}

std::int64_t CBigFile::GetLength() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw CZipFileException(errno, m_path, "cannot query");
    return st.st_size;
}

void CZipVolumeStore::Open(const std::string& path, bool readOnly)
{
    m_file.Open(path, readOnly ? CBigFile::modeRead : CBigFile::modeReadWrite);
    m_szArchiveName = path;
    m_bReadOnly = readOnly;
    m_iSpanMode = unknownSpan;
    m_iCurrentVolume = 0;
    m_iVolumeCount = 1;
}

void CZipVolumeStore::Close()
{
    m_file.Close();
    m_iSpanMode = noSpan;
    m_iCurrentVolume = -1;
    m_iVolumeCount = 0;
}

void CZipVolumeStore::SetLastDisk(int diskNumber)
{
    if (diskNumber == 0) {
        m_iSpanMode = noSpan;
        m_iCurrentVolume = 0;
        m_iVolumeCount = 1;
        return;
    }
    // Removable disks have no counterpart here: a spanned archive is read
    // from volume files beside the last one.
    m_iSpanMode = volumeSpan;
    m_iCurrentVolume = diskNumber;
    m_iVolumeCount = diskNumber + 1;
}

std::string CZipVolumeStore::VolumeName(int volume) const
{
    if (volume == m_iVolumeCount - 1)
        return m_szArchiveName;
    std::string base = m_szArchiveName;
    const auto slash = base.rfind('/');
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        base.erase(dot);
    char number[16];
    std::snprintf(number, sizeof number, ".%.3d", volume + 1);
    return base + number;
}

void CZipVolumeStore::ChangeVolume(int volume)
{
    if (volume < 0 || volume >= m_iVolumeCount)
        CZipException::Throw(CZipException::codeBadZipFile, m_szArchiveName);
    if (volume == m_iCurrentVolume)
        return;
    m_file.Open(VolumeName(volume), m_bReadOnly ? CBigFile::modeRead : CBigFile::modeReadWrite);
    m_iCurrentVolume = volume;
}

std::size_t CZipVolumeStore::Read(void* buffer, std::size_t count, bool atOnce)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t done = m_file.Read(out, count);
    while (done < count && !atOnce && IsSpanMode() && m_iCurrentVolume + 1 < m_iVolumeCount) {
        ChangeVolume(m_iCurrentVolume + 1);
        m_file.Seek(0);
        done += m_file.Read(out + done, count - done);
    }
    return done;
}

}  // namespace exercise
