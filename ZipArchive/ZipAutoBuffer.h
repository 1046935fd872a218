// ZipAutoBuffer.h: CZipAutoBuffer, an owned byte array with its size.
#pragma once

#include <windows.h>

class CZipAutoBuffer {
public:
    CZipAutoBuffer();
    explicit CZipAutoBuffer(DWORD iSize, bool bZeroMemory = false);
    CZipAutoBuffer(const CZipAutoBuffer& buffer);
    CZipAutoBuffer& operator=(const CZipAutoBuffer& buffer);
    virtual ~CZipAutoBuffer();

    // A different size frees the old array and makes a new one (none for 0); the
    // same size keeps the array and its bytes. Zero-filled on request either way.
    char* Allocate(DWORD iSize, bool bZeroMemory = false);
    void Release();

    char* GetBuffer() const { return m_pBuffer; }
    DWORD GetSize() const { return m_iSize; }
    bool IsAllocated() const { return m_pBuffer != nullptr; }
    operator char*() { return m_pBuffer; }
    operator const char*() const { return m_pBuffer; }

private:
    char* m_pBuffer;
    DWORD m_iSize;
};
