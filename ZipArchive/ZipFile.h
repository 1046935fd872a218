// ZipFile.h: CZipFile, a ZIP file on disk through the framework's CFile.
#pragma once

#include "ZipAbstractFile.h"
#include "framework/File.h"

class CZipFile : public CZipAbstractFile, public CFile {
    DECLARE_DYNAMIC(CZipFile)
public:
    CZipFile();
    CZipFile(LPCSTR lpszFileName, UINT openFlags); // opens, throwing on failure
    ~CZipFile() override;

    // On failure throws the framework's file exception when bThrow is set,
    // else answers false.
    bool Open(LPCSTR lpszFileName, UINT openFlags, bool bThrow) override;
    using CFile::Open;
    void Close() override; // only when open
    void Flush() override;
    ULONGLONG GetPosition() const override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG uNewLen) override;
    ULONGLONG SeekToBegin() override;
    ULONGLONG SeekToEnd() override;
    // The framework's path; the name it keeps when asking for the path fails.
    CString GetFilePath() const override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    bool IsClosed() const override;
};
