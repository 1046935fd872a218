// ZipStorage.h: CZipStorage, the byte layer under an archive: the archive file
// with its write buffer, reads, seeks, the end-record search, and the volumes of
// split, binary split and spanned archives.
//
// Positions handed in and out are archive positions: they exclude the bytes
// before the archive on volume 0 and, in a binary split archive, run across
// the volumes. Failures raise CZipException; the framework's file exceptions
// pass unchanged.
#pragma once

#include "ZipAutoBuffer.h"
#include "ZipCollections.h"
#include "ZipFile.h"
#include "ZipSplitNamesHandler.h"

class CZipStorage {
public:
    enum State {
        stateOpened = 0x01,
        stateReadOnly = 0x02,
        stateAutoClose = 0x04,
        stateExisting = 0x08,
        stateSegmented = 0x10,
        stateSplit = 0x20 | stateSegmented,
        stateBinarySplit = 0x40 | stateSplit,
        stateSpan = 0x80 | stateSegmented,
    };
    enum OpenMode {
        zipOpen = 0x0001,
        zipOpenReadOnly = 0x0003,
        zipCreate = 0x0004,
        zipCreateAppend = 0x000C,
        zipModeSplit = 0x0100,
        zipModeBinSplit = 0x0200,
        zipModeSpan = 0x0400,
        zipModeSegmented = 0x0700,
    };
    enum { kWriteBufferSize = 65536, kSearchBufferSize = 32768 };
    // No end-record signature was found.
    static const ULONGLONG kSignatureNotFound = ~0ULL;

    CZipStorage();
    virtual ~CZipStorage();
    CZipStorage(const CZipStorage&) = delete;
    CZipStorage& operator=(const CZipStorage&) = delete;

    void Open(LPCSTR lpszPathName, int iMode, ULONGLONG uVolumeSize);
    // On a caller's file object (a memory file); bAutoClose closes it at Close.
    void OpenOnFile(CZipAbstractFile& file, int iMode, bool bAutoClose);
    // Flushes when bWrite; a new split archive gets its last volume's final name.
    // Returns that name, or with bGetLastVolumeName the archive's path.
    CString Close(bool bWrite, bool bGetLastVolumeName = false);

    // Buffered; in a segmented archive bAtOnce keeps the piece on one volume.
    void Write(const void* pBuf, DWORD iSize, bool bAtOnce);
    DWORD Read(void* pBuf, DWORD iSize, bool bAtOnce);
    // The write buffer to the current file.
    void Flush();
    // The current file itself to disk (skipped when read-only).
    void FlushFile();
    // Drops what the write buffer holds without writing it.
    void DiscardWriteBuffer() { m_uBytesInWriteBuffer = 0; }

    ULONGLONG Seek(ULONGLONG uOffset, bool bFromBeginning = true);
    // A signed move within a binary split archive, across its volumes.
    void SeekInBinary(LONGLONG lOff, bool bSeekToBegin = false);
    ULONGLONG GetPosition() const;
    // The current file's length less the bytes before the archive.
    ULONGLONG GetArchiveDataLength() const;

    // Searches back from the end for a 4-byte signature within uMaxDepth bytes;
    // kSignatureNotFound when absent. Returns an offset in the (last) file, the
    // bytes before the archive included; in a binary split archive an offset in
    // the stream of all its volumes. uBelow continues a search: only a signature
    // that starts before that offset counts (a candidate end record that proved
    // false).
    ULONGLONG FindSignature(const char* szSignature, ULONGLONG uMaxDepth,
                            ULONGLONG uBelow = kSignatureNotFound);

    void SetVolumeMode(WORD uLastVolume);
    void ChangeVolume(WORD uNumber);
    void StartNextVolume(DWORD uNeeded);
    void FinishSegmentedArchive();
    // Ensures uNeeded bytes fit on the current volume (segmented archives).
    void AssureFree(DWORD uNeeded);
    DWORD VolumeLeft() const;

    [[noreturn]] void ThrowError(int iErr) const;

    // The handler is made when needed; set one before opening to name volumes
    // differently. bAutoDelete makes the storage delete it.
    void SetSplitNamesHandler(CZipSplitNamesHandler* pHandler, bool bAutoDelete);
    ULONGLONG GetCachedSize(WORD uVolume) const;

    bool IsState(int iState) const { return (m_iState & iState) == iState; }
    bool IsOpened() const { return IsState(stateOpened); }
    bool IsClosed() const { return !IsOpened(); }
    bool IsExisting() const { return IsState(stateExisting); }
    bool IsSegmented() const { return IsState(stateSegmented); }
    bool IsSplit() const { return IsState(stateSplit); }
    bool IsBinarySplit() const { return IsState(stateBinarySplit); }
    bool IsSpanned() const { return IsState(stateSpan); }
    bool IsExistingSegmented() const { return IsSegmented() && IsExisting(); }
    bool IsNewSegmented() const { return IsSegmented() && !IsExisting(); }
    bool IsReadOnly() const { return IsState(stateReadOnly) || IsExistingSegmented(); }
    WORD GetCurrentVolume() const { return m_uCurrentVolume; }
    const CString& GetArchiveName() const { return m_szArchiveName; }

    // Shared with the central directory and the entry headers, which patch the
    // file and the buffer directly.
    CZipAbstractFile* m_pFile;
    DWORD m_uSplitData;
    DWORD m_uBytesInWriteBuffer;
    DWORD m_uCurrentVolSize;
    CZipAutoBuffer m_pWriteBuffer;
    ULONGLONG m_uBytesWritten;
    WORD m_uCurrentVolume;
    ULONGLONG m_uBytesBeforeZip;
    int m_iWriteBufferSize;
    int m_iLocateBufferSize;
    int m_iState;

private:
    // Back to closed: buffers, handler and sizes released, counters cleared.
    void ResetState();
    void MakeSplitNamesHandler();
    void DropSplitNamesHandler();
    CZipSplitNamesHandler& NamesHandler() const;
    // Reads the length of every volume of an existing binary split archive.
    void CacheSizes();
    // Whether an existing segmented archive has a volume after the current one.
    bool HasNextVolume() const;
    // Step 1 of finishing a new split archive: the last volume is closed and
    // gets its final name, which is returned.
    CString RenameLastVolume();
    // The search of FindSignature in one file: the last uDepth bytes of the
    // current file, whose first byte is at uBase in the returned offsets.
    // pCarry holds the bytes that follow the file (a later volume), if any.
    ULONGLONG SearchFile(const char* szSignature, ULONGLONG uDepth, ULONGLONG uBase,
                         ULONGLONG uBelow, char* pCarry, DWORD& uCarry);

    CString m_szArchiveName;
    CZipFile m_internalfile;
    CZipSplitNamesHandler* m_pSplitNamesHandler;
    bool m_bAutoDeleteSplitNamesHandler;
    CZipArray<unsigned long long>* m_pCachedSizes;
};
