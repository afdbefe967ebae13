#pragma once
// An owned byte array with its size. Allocating the same size again keeps the
// array (zero-filled on request); any other size replaces it.
#include <cstddef>
#include <memory>

namespace exercise {

class CZipByteBuffer {
public:
    CZipByteBuffer() = default;
    explicit CZipByteBuffer(std::size_t size, bool zeroMemory = false) { Allocate(size, zeroMemory); }
    CZipByteBuffer(const CZipByteBuffer& other);
    CZipByteBuffer& operator=(const CZipByteBuffer& other);
    CZipByteBuffer(CZipByteBuffer&&) noexcept = default;
    CZipByteBuffer& operator=(CZipByteBuffer&&) noexcept = default;

    void Allocate(std::size_t size, bool zeroMemory = false);
    void Release();

    char* GetBuffer() { return m_pData.get(); }
    const char* GetBuffer() const { return m_pData.get(); }
    std::size_t GetSize() const { return m_size; }
    bool IsAllocated() const { return m_pData != nullptr; }

private:
    std::unique_ptr<char[]> m_pData;
    std::size_t m_size = 0;
};

}  // namespace exercise
