// ZipFile.cpp: CZipFile over the framework's CFile.
#include "ZipFile.h"

#include "framework/Exception.h"

IMPLEMENT_DYNAMIC(CZipFile, CFile)

CZipFile::CZipFile() = default;

CZipFile::CZipFile(LPCSTR lpszFileName, UINT openFlags) {
    Open(lpszFileName, openFlags, true);
}

CZipFile::~CZipFile() {
    // A destructor must not throw: a failure reported by the final close is lost.
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

bool CZipFile::Open(LPCSTR lpszFileName, UINT openFlags, bool bThrow) {
    CFileException* e = new CFileException;
    if (CFile::Open(lpszFileName, openFlags, e)) {
        e->Delete();
        return true;
    }
    if (bThrow)
        throw e;
    e->Delete();
    return false;
}

void CZipFile::Close() {
    if (!IsClosed())
        CFile::Close();
}

void CZipFile::Flush() {
    CFile::Flush();
}

ULONGLONG CZipFile::GetPosition() const {
    return CFile::GetPosition();
}

ULONGLONG CZipFile::Seek(LONGLONG lOff, UINT nFrom) {
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CZipFile::GetLength() const {
    return CFile::GetLength();
}

void CZipFile::SetLength(ULONGLONG uNewLen) {
    CFile::SetLength(uNewLen);
}

ULONGLONG CZipFile::SeekToBegin() {
    return CFile::Seek(0, CFile::begin);
}

ULONGLONG CZipFile::SeekToEnd() {
    return CFile::SeekToEnd();
}

CString CZipFile::GetFilePath() const {
    try {
        return CFile::GetFilePath();
    } catch (CException* e) {
        e->Delete();
        return m_strFileName;
    }
}

UINT CZipFile::Read(void* lpBuf, UINT nCount) {
    return CFile::Read(lpBuf, nCount);
}

void CZipFile::Write(const void* lpBuf, UINT nCount) {
    CFile::Write(lpBuf, nCount);
}

bool CZipFile::IsClosed() const {
    return m_hFile == CFile::hFileNull;
}
