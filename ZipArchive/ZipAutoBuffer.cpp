// ZipAutoBuffer.cpp: CZipAutoBuffer.
#include "ZipAutoBuffer.h"

#include <cstring>

CZipAutoBuffer::CZipAutoBuffer() : m_pBuffer(nullptr), m_iSize(0) {}

CZipAutoBuffer::CZipAutoBuffer(DWORD iSize, bool bZeroMemory) : m_pBuffer(nullptr), m_iSize(0) {
    Allocate(iSize, bZeroMemory);
}

CZipAutoBuffer::CZipAutoBuffer(const CZipAutoBuffer& buffer) : m_pBuffer(nullptr), m_iSize(0) {
    *this = buffer;
}

CZipAutoBuffer& CZipAutoBuffer::operator=(const CZipAutoBuffer& buffer) {
    if (this == &buffer)
        return *this;
    if (buffer.m_iSize == 0) {
        Release();
        return *this;
    }
    Allocate(buffer.m_iSize);
    memcpy(m_pBuffer, buffer.m_pBuffer, buffer.m_iSize);
    return *this;
}

CZipAutoBuffer::~CZipAutoBuffer() {
    Release();
}

char* CZipAutoBuffer::Allocate(DWORD iSize, bool bZeroMemory) {
    if (iSize != m_iSize) {
        Release();
        if (iSize == 0)
            return nullptr;
        m_pBuffer = new char[iSize];
        m_iSize = iSize;
    }
    if (bZeroMemory && m_pBuffer != nullptr)
        memset(m_pBuffer, 0, m_iSize);
    return m_pBuffer;
}

void CZipAutoBuffer::Release() {
    delete[] m_pBuffer;
    m_pBuffer = nullptr;
    m_iSize = 0;
}
