// Archive.h: CArchive, the framework's buffered binary stream over a CFile, with
// the framework's byte layout (little-endian numbers; strings as a length prefix
// of AfxWriteStringLength followed by the characters), and CArchiveStream, an
// IStream over an archive for the common controls' image-list streams.
//
// The program uses archives for bytes, 32-bit numbers and strings (menu states and
// image streams in memory files) and for document files (CDocument::Serialize):
// objects (CObject* with DECLARE_SERIAL, schemas, class maps) are not supported.
//
// Buffering follows the framework: a storing archive writes its buffer to the
// file when it is full, at Flush and at Close (the file itself is not flushed to
// disk); a loading archive reads the file a buffer at a time, and Flush or Close
// seeks the file back over what it read ahead.
//
// Errors: reading a number or a string past the end of the data throws
// CArchiveException::endOfFile (Read and ReadString return less instead);
// storing into a loading archive throws CArchiveException::readOnly, loading
// from a storing one CArchiveException::writeOnly; the file's CFileException
// passes through unchanged.
//
// Types: `long` and `unsigned long` are 64 bits here (LONGLONG, ULONGLONG) and
// are stored as 8 bytes; LONG, DWORD, int and UINT are 4 bytes, as on Windows.
// Pointers (and so string literals) cannot be stored: write text as a CString or
// with WriteString.
#pragma once

#include "AfxString.h"
#include "File.h"
#include "Object.h"

#include <windows.h>

#include <objidl.h>

class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // nMode: store or load, optionally with bNoFlushOnDelete. The buffer is
    // nBufSize bytes (at least 128); lpBuf, when given and nBufSize is at least
    // 128, is used instead of a buffer of the archive's own (and must outlive it).
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Closes the archive (flushing a storing one) unless it was closed, aborted or
    // made with bNoFlushOnDelete. Errors of that flush are dropped.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    // Loading: nothing read ahead is left in the buffer.
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Serialisation schema of the object being loaded (kept for derived code).
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Up to nMax bytes; fewer at the end of the data.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer to the file. Loading: seeks the file back over
    // what was read ahead, leaving the buffer empty.
    void Flush();
    // Flush, then detach from the file (which stays open).
    void Close();
    // Detach from the file without flushing.
    void Abort();

    // The text without a terminating NUL or line end.
    void WriteString(LPCSTR lpsz);
    // One line into lpsz (room for nMax + 1 bytes): at most nMax characters, up
    // to a line end ("\n", "\r\n" or a lone "\r"), which is dropped; with nMax
    // given as a negative number (-n) at most n characters and the line end ('\n')
    // is kept. Null at the end of the data when nothing was read.
    LPSTR ReadString(LPSTR lpsz, UINT nMax);
    // One line of any length without its line end; FALSE at the end of the data
    // when nothing was read.
    BOOL ReadString(CString& rString);

    // Numbers: stored little-endian with the size of their type.
    CArchive& operator<<(bool b);                         // 1 byte
    CArchive& operator<<(char ch);                        // 1 byte
    CArchive& operator<<(signed char ch);                 // 1 byte
    CArchive& operator<<(BYTE by);                        // 1 byte
    CArchive& operator<<(wchar_t ch);                     // 2 bytes (WCHAR)
    CArchive& operator<<(short w);                        // 2 bytes
    CArchive& operator<<(WORD w);                         // 2 bytes
    CArchive& operator<<(int i);                          // 4 bytes (also LONG)
    CArchive& operator<<(unsigned u);                     // 4 bytes (also DWORD, UINT)
    CArchive& operator<<(long l);                         // 8 bytes (also LONGLONG)
    CArchive& operator<<(unsigned long l);                // 8 bytes (also ULONGLONG)
    CArchive& operator<<(long long l);                    // 8 bytes
    CArchive& operator<<(unsigned long long l);           // 8 bytes
    CArchive& operator<<(float f);                        // 4 bytes
    CArchive& operator<<(double d);                       // 8 bytes
    template <class T> CArchive& operator<<(T*) = delete; // see the top

    CArchive& operator>>(bool& b);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(wchar_t& ch);
    CArchive& operator>>(short& w);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(int& i);
    CArchive& operator>>(unsigned& u);
    CArchive& operator>>(long& l);
    CArchive& operator>>(unsigned long& l);
    CArchive& operator>>(long long& l);
    CArchive& operator>>(unsigned long long& l);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);

    // Set by the document that serialises through this archive.
    CDocument* m_pDocument;
    BOOL m_bForceFlat;

protected:
    // Makes at least nBytesNeeded more bytes available in the buffer; throws
    // endOfFile when the data ends first.
    void FillBuffer(UINT nBytesNeeded);
    // Reads from the file into the buffer after what is left in it, until
    // nTotalNeeded bytes are there or the data ends. Returns the bytes available.
    UINT FillAvailable(UINT nTotalNeeded);
    template <class T> void Put(T value);
    template <class T> T Get();
    void CheckStoring() const;
    void CheckLoading() const;
    CFile* File() const;

    UINT m_nMode;
    CFile* m_pFile;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    int m_nBufSize;
    BOOL m_bUserBuf;
    UINT m_nObjectSchema;
    CString m_strFileName;
};

// The framework's string form: a CString is its length prefix (ANSI) followed by
// its bytes. Loading also accepts strings stored as wide text (prefix 0xFF 0xFFFE),
// converted to the ANSI code page. Embedded NULs are kept.
CArchive& AFXAPI operator<<(CArchive& ar, const CString& str);
CArchive& AFXAPI operator>>(CArchive& ar, CString& str);

// Length prefix: one byte below 255; else 0xFF and a WORD below 0xFFFE; else 0xFF,
// 0xFFFF and a DWORD below 0xFFFFFFFF; else 0xFF, 0xFFFF, 0xFFFFFFFF and a
// ULONGLONG. A wide string is tagged by 0xFF 0xFFFE before its prefix.
void AFXAPI AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode);
// The length, and nCharSize 1 (ANSI) or 2 (wide).
UINT_PTR AFXAPI AfxReadStringLength(CArchive& ar, int& nCharSize);

// An IStream over an archive, as the framework gives the common controls for
// image lists (ImageList_Write / ImageList_Read). Read and Write go through the
// archive; Seek flushes the archive and seeks its file (offsets within +-2 GB);
// Stat, SetSize, CopyTo, Commit, Revert, locking and Clone are not implemented.
// Errors become E_UNEXPECTED. It lives on the stack: AddRef and Release count
// nothing.
class CArchiveStream : public IStream {
public:
    explicit CArchiveStream(CArchive* pArchive) : m_pArchive(pArchive) {}
    virtual ~CArchiveStream() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                   ULARGE_INTEGER* plibNewPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                     ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

    CArchive* m_pArchive;
};
