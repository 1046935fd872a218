// ZipAbstractFile.h: CZipAbstractFile, the file interface that the archive
// storage reads and writes: a file on disk (CZipFile) or in memory (CZipMemFile).
#pragma once

#include "framework/AfxString.h"

#include <windows.h>

class CZipAbstractFile {
public:
    enum { begin = 0, current = 1, end = 2 };

    virtual ~CZipAbstractFile() = default;

    // Open flags are the framework's CFile flags. The base cannot open anything.
    virtual bool Open(LPCSTR lpszFileName, UINT openFlags, bool bThrow);
    virtual void Close() = 0;
    virtual void Flush() = 0;
    virtual ULONGLONG GetPosition() const = 0;
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom) = 0;
    virtual ULONGLONG GetLength() const = 0;
    virtual void SetLength(ULONGLONG uNewLen) = 0;
    virtual ULONGLONG SeekToBegin() { return Seek(0, begin); }
    virtual ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual CString GetFilePath() const = 0;
    virtual UINT Read(void* lpBuf, UINT nCount) = 0;
    virtual void Write(const void* lpBuf, UINT nCount) = 0;
    virtual bool IsClosed() const = 0;

    // An unsigned offset: one above the largest signed value counts back from the
    // end (the length minus the offset) and the direction flips.
    ULONGLONG SafeSeek(ULONGLONG uOffset, bool bFromBeginning = true);
};
