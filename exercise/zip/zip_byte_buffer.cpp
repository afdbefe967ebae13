#include "exercise/zip/zip_byte_buffer.h"

#include <cstring>

namespace exercise {

CZipByteBuffer::CZipByteBuffer(const CZipByteBuffer& other)
{
    *this = other;
}

CZipByteBuffer& CZipByteBuffer::operator=(const CZipByteBuffer& other)
{
    if (this == &other)
        return *this;
    Allocate(other.m_size);
    if (m_size)
        std::memcpy(m_pData.get(), other.m_pData.get(), m_size);
    return *this;
}

void CZipByteBuffer::Allocate(std::size_t size, bool zeroMemory)
{
    if (size != m_size || (size && !m_pData)) {
        Release();
        if (size)
            m_pData.reset(new char[size]);
        m_size = size;
    }
    if (zeroMemory && m_size)
        std::memset(m_pData.get(), 0, m_size);
}

void CZipByteBuffer::Release()
{
    m_pData.reset();
    m_size = 0;
}

}  // namespace exercise
