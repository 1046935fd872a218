// ZipMemFile.cpp: CZipMemFile, a growing file in memory.
#include "ZipMemFile.h"

#include "ZipException.h"

#include <climits>
#include <cstdlib>
#include <cstring>

CZipMemFile::CZipMemFile(UINT nGrowBy)
    : m_nGrowBy(nGrowBy), m_nPos(0), m_nBufSize(0), m_nDataSize(0), m_lpBuf(nullptr),
      m_bAutoDelete(true), m_bClosed(false) {}

CZipMemFile::~CZipMemFile() {
    Close();
}

void CZipMemFile::Close() {
    if (m_bAutoDelete)
        free(m_lpBuf);
    m_nGrowBy = 0;
    m_nPos = 0;
    m_nBufSize = 0;
    m_nDataSize = 0;
    m_lpBuf = nullptr;
    m_bClosed = true;
}

void CZipMemFile::Grow(UINT nBytes) {
    if (m_nBufSize >= nBytes)
        return;
    if (m_nGrowBy == 0)
        CZipException::Raise(CZipException::memError);
    ULONGLONG uSteps = ((ULONGLONG)nBytes - m_nBufSize + m_nGrowBy - 1) / m_nGrowBy;
    ULONGLONG uNewSize = m_nBufSize + uSteps * m_nGrowBy;
    // The last step may not fit in 32 bits; the exact size still does.
    if (uNewSize > UINT_MAX)
        uNewSize = nBytes;
    BYTE* lpNew = (BYTE*)realloc(m_lpBuf, (size_t)uNewSize);
    if (lpNew == nullptr)
        CZipException::Raise(CZipException::memError);
    m_lpBuf = lpNew;
    m_nBufSize = (UINT)uNewSize;
}

ULONGLONG CZipMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG lNew;
    if (nFrom == begin) {
        if (lOff < 0)
            CZipException::Raise(CZipException::memError);
        lNew = lOff;
    } else if (nFrom == current) {
        lNew = (LONGLONG)m_nPos + lOff;
    } else if (nFrom == end) {
        lNew = (LONGLONG)m_nDataSize + lOff;
    } else {
        CZipException::Raise(CZipException::genericError);
    }
    if (lNew < 0 || lNew > (LONGLONG)UINT_MAX)
        CZipException::Raise(CZipException::memError);
    if ((ULONGLONG)lNew > m_nDataSize)
        Grow((UINT)lNew);
    m_nPos = (UINT)lNew;
    return m_nPos;
}

void CZipMemFile::SetLength(ULONGLONG uNewLen) {
    if (uNewLen > UINT_MAX)
        CZipException::Raise(CZipException::memError);
    UINT nNewLen = (UINT)uNewLen;
    if (nNewLen > m_nBufSize)
        Grow(nNewLen);
    else
        m_nPos = nNewLen;
    // Longer data reads as zeros, not as whatever the buffer held before.
    if (nNewLen > m_nDataSize)
        memset(m_lpBuf + m_nDataSize, 0, nNewLen - m_nDataSize);
    m_nDataSize = nNewLen;
}

UINT CZipMemFile::Read(void* lpBuf, UINT nCount) {
    if (m_nPos >= m_nDataSize)
        return 0;
    UINT nRead = m_nDataSize - m_nPos;
    if (nCount < nRead)
        nRead = nCount;
    memcpy(lpBuf, m_lpBuf + m_nPos, nRead);
    m_nPos += nRead;
    return nRead;
}

void CZipMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return;
    ULONGLONG uEnd = (ULONGLONG)m_nPos + nCount;
    if (uEnd > UINT_MAX)
        CZipException::Raise(CZipException::memError);
    if (uEnd > m_nBufSize)
        Grow((UINT)uEnd);
    // A write after a seek beyond the data leaves a gap that reads as zeros.
    if (m_nPos > m_nDataSize)
        memset(m_lpBuf + m_nDataSize, 0, m_nPos - m_nDataSize);
    memcpy(m_lpBuf + m_nPos, lpBuf, nCount);
    m_nPos = (UINT)uEnd;
    if (m_nPos > m_nDataSize)
        m_nDataSize = m_nPos;
}
