// ZipMemFile.h: CZipMemFile, a ZIP file held in memory (a trial archive).
#pragma once

#include "ZipAbstractFile.h"

class CZipMemFile : public CZipAbstractFile {
public:
    explicit CZipMemFile(UINT nGrowBy = 1024);
    ~CZipMemFile() override;
    CZipMemFile(const CZipMemFile&) = delete;
    CZipMemFile& operator=(const CZipMemFile&) = delete;

    // Frees the buffer (when auto-delete is set); a closed memory file cannot grow.
    void Close() override;
    void Flush() override {}
    ULONGLONG GetPosition() const override { return m_nPos; }
    // Error 505 for a position below 0 or beyond 32 bits; beyond the data it grows
    // the capacity, not the data size.
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override { return m_nDataSize; }
    void SetLength(ULONGLONG uNewLen) override;
    CString GetFilePath() const override { return CString(); }
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    // A new memory file is open although it holds no buffer yet: an empty
    // archive made in memory must still get its end record.
    bool IsClosed() const override { return m_bClosed; }

    // The bytes and their count (for tests and for copying out).
    const BYTE* GetData() const { return m_lpBuf; }
    void SetAutoDelete(bool bAutoDelete) { m_bAutoDelete = bAutoDelete; }

private:
    // Whole grow steps up to nBytes; error 505 when the step is 0 or memory short.
    void Grow(UINT nBytes);

    UINT m_nGrowBy;
    UINT m_nPos;
    UINT m_nBufSize;
    UINT m_nDataSize;
    BYTE* m_lpBuf;
    bool m_bAutoDelete;
    bool m_bClosed;
};
