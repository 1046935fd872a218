// ZipArchive.h: CZipArchive, the archive: opening and creating, adding files
// from disk, removing, replacing and copying entries, reading entries back,
// keeping the central directory in step and closing.
//
// Refusals answer false; failures raise CZipException (the framework's file
// exceptions pass unchanged). Not for use from two threads at once.
#pragma once

#include "ZipAutoBuffer.h"
#include "ZipCallbackProvider.h"
#include "ZipCentralDir.h"
#include "ZipCompressor.h"
#include "ZipCryptograph.h"
#include "ZipMemFile.h"
#include "ZipStorage.h"

// Add flags.
enum ZipSmartFlags {
    zipsmCPassDir = 0x0001,     // a directory entry without the password
    zipsmCPFile0 = 0x0002,      // an empty file without the password
    zipsmNotCompSmall = 0x0004, // a file under 5 bytes stored
    zipsmCheckForEff = 0x0008,  // stored instead when compression does not pay
    zipsmMemoryFlag = 0x0010,   // that trial in memory, not in a temporary file
    zipsmSafeSmart = zipsmCPassDir | zipsmCPFile0 | zipsmNotCompSmall,
    zipsmInternal01 = 0xF000, // the stored second attempt after a failed trial
};

// One file to add.
struct CZipAddFileRequest {
    CZipAbstractFile* m_pFile = nullptr; // a source object, or none to read m_szFilePath
    CString m_szFilePath;
    CString m_szFileNameInZip; // empty: predicted from the path
    bool m_bFullPath = true;
    int m_iComprLevel = -1;
    int m_iSmartLevel = zipsmSafeSmart;
    WORD m_uReplaceIndex = 0xFFFF;
    DWORD m_nBufSize = 65536;
};

// One entry of a removal's map.
struct CZipDeleteInfo {
    CZipDeleteInfo() : m_pHeader(nullptr), m_bDelete(false) {}
    CZipDeleteInfo(CZipFileHeader* pHeader, bool bDelete)
        : m_pHeader(pHeader), m_bDelete(bDelete) {}
    CZipFileHeader* m_pHeader;
    bool m_bDelete;
};

// One changed local header of a commit.
struct CZipChangeInfo {
    WORD m_uIndex = 0;
    DWORD m_uOldEnd = 0;
    DWORD m_uRegionEnd = 0;
    LONGLONG m_iDiff = 0;
};

class CZipArchive {
public:
    enum OpenMode {
        zipOpen = CZipStorage::zipOpen,
        zipOpenReadOnly = CZipStorage::zipOpenReadOnly,
        zipCreate = CZipStorage::zipCreate,
        zipCreateAppend = CZipStorage::zipCreateAppend,
        zipCreateSplit = CZipStorage::zipCreate | CZipStorage::zipModeSplit,
        zipCreateBinSplit =
            CZipStorage::zipCreate | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit,
        zipOpenSplit = CZipStorage::zipOpenReadOnly | CZipStorage::zipModeSplit,
        zipOpenBinSplit =
            CZipStorage::zipOpenReadOnly | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit,
    };
    // After-exception modes of CloseArchive.
    enum CloseAfterException { afNoException = 0, afAfterException = 1, afWriteDir = 2 };
    // Case rules of FindEntry.
    enum FFCaseSens { ffDefault = 0, ffCaseSens = 1, ffNoCaseSens = 2 };
    // Results of CloseExtractedEntry.
    enum { ceNotOpen = 0, ceOk = 1, ceNotAllRead = -1, ceAttrFailed = -2 };
    // The most entries an archive without Zip64 can hold.
    enum { kMaxEntries = 0xFFFF };

    CZipArchive();
    virtual ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    bool OpenArchive(LPCSTR lpszPathName, int iMode = zipOpen, ULONGLONG uVolumeSize = 0);
    bool OpenArchiveInMemory(CZipMemFile& mf, int iMode = zipOpen, bool bAutoClose = false);
    CString CloseArchive(int iAfterException = afNoException, bool bUpdateTimeStamp = false);
    bool IsClosed(bool bArchive = true) const;

    bool AddFileFromDisk(LPCSTR lpszFilePath, LPCSTR lpszFileNameInZip, int iComprLevel = -1,
                         int iSmartLevel = zipsmSafeSmart, DWORD nBufSize = 65536);
    bool AddFileFromDiskByPath(LPCSTR lpszFilePath, int iComprLevel = -1, bool bFullPath = true,
                               int iSmartLevel = zipsmSafeSmart, DWORD nBufSize = 65536);
    bool AddFile(CZipAddFileRequest& request);
    bool OpenNewEntry(CZipFileHeader& header, int iLevel = -1, LPCSTR lpszFilePath = nullptr,
                      WORD uReplaceIndex = 0xFFFF);
    bool WriteNewEntryData(const void* pBuf, DWORD uSize);
    bool CloseNewEntry(bool bAfterException = false);

    // Reading an entry back: open, read until 0, close.
    bool OpenEntryForExtraction(WORD uIndex);
    DWORD ReadEntryData(void* pBuf, DWORD uSize);
    int CloseExtractedEntry(LPCSTR lpszFilePath = nullptr, bool bAfterException = false);
    // Extracts an entry below a folder; a name that would leave the folder (a
    // leading separator, a drive, "..") is refused with false.
    bool ExtractEntry(WORD uIndex, LPCSTR lpszPath, bool bFullPath = true,
                      LPCSTR lpszNewName = nullptr, DWORD nBufSize = 65536);

    bool RemoveEntriesByName(const CZipStringArray& aNames);
    bool RemoveEntriesByIndex(CZipArray<WORD>& aIndexes);
    bool RemoveLastEntry(bool bRemoveAnyway = false);
    void IndexesOfNames(const CZipStringArray& aNames, CZipArray<WORD>& aIndexes);
    WORD FindEntry(LPCSTR lpszFileName, int iCaseSensitive = ffDefault, bool bFileNameOnly = false);

    bool CopyEntryFromArchive(CZipArchive& zip, WORD uIndex, LPCSTR lpszNewFileName = nullptr,
                              WORD uReplaceIndex = 0xFFFF, bool bKeepSystComp = false,
                              CZipActionCallback* pCallback = nullptr);
    void CommitEntryChanges();
    void WriteDirectory(bool bFlush = true);
    void FinalizeArchive(bool bOnlyIfAuto = false);

    void SetActionCallback(CZipActionCallback* pCallback = nullptr,
                           int iWhich = CZipActionCallback::cbAll);
    ULONGLONG GetArchiveLength();
    CString GetArchivePath() const;
    WORD GetCount() const;
    // The header of an entry, or none when closed or out of range.
    CZipFileHeader* GetEntryInfo(WORD uIndex);
    bool GetEntryInfo(CZipFileHeader& fhInfo, WORD uIndex) const;
    CString GetGlobalComment() const;

    void SetRootPath(LPCSTR lpszPath = nullptr);
    void SetTempPath(LPCSTR lpszPath = nullptr) { m_szTempPath = lpszPath ? lpszPath : ""; }
    bool SetPassword(LPCSTR lpszPassword = nullptr, UINT codePage = UINT(-1));
    CString GetPassword() const;
    bool SetEncryptionMethod(int iEncryptionMethod);
    bool SetSystemCompatibility(int iSystemComp);
    void SetCompressionMethod(WORD uMethod) { m_uCompressionMethod = uMethod; }
    void SetAutoFinalize(bool bAutoFinalize) { m_bAutoFinalize = bAutoFinalize; }
    void SetCommitMode(int iCommitMode) { m_iCommitMode = iCommitMode; }
    void SetExhaustiveRead(bool bExhaustiveRead) { m_bExhaustiveRead = bExhaustiveRead; }
    void SetCaseSensitivity(bool bCaseSensitive);
    void SetIgnoredConsistencyChecks(int iChecks);
    void SetBufferSize(DWORD uBufferSize) { m_iBufferSize = uBufferSize; }

    // The name an entry of the path gets: iKind 0 a directory, 1 a file, 2 by a
    // trailing separator.
    CString NameInArchiveFor(LPCSTR lpszFilePath, bool bFullPath, int iKind);

    // What the central directory needs of its archive.
    bool CanModify(bool bAllowNewSegmented = false, bool bNeedsClosed = true) const;
    int GetCommitMode() const { return m_iCommitMode; }
    CZipActionCallback* GetCallback(int iType) { return m_callbacks.Get(iType); }
    bool IsCaseSensitive() const { return m_bCaseSensitive; }
    CZipStorage* GetStorage() { return &m_storage; }

protected:
    virtual void PrepareCryptograph(int iEncryptionMethod);
    virtual void PrepareCompressor(WORD uMethod);

    void OpenInternal(int iMode);
    void ReleaseCompressor();
    void ReleaseCryptograph();
    bool WillEncryptNextEntry() const;
    bool ResizeReplacedEntrySpace(WORD uReplaceIndex, DWORD uTotal, LPCSTR lpszFileName);
    void MoveArchiveData(ULONGLONG uStartOffset, ULONGLONG uEndOffset, ULONGLONG uMoveBy,
                         CZipActionCallback* pCallback, bool bForward = false,
                         bool bLastCall = true);
    bool RemoveAllEntries();
    bool AddSmallOrTemp(CZipAddFileRequest& request, CZipFileHeader& templ, bool bEff);
    // Cleans up an entry that failed midway so that the archive on disk is what
    // it was before the add began.
    void RollBackFailedAdd();
    // The direct route of AddFile: the source read block by block into a new entry.
    bool AddDirect(CZipAddFileRequest& request, CZipFileHeader& templ, int iLevel, bool bEff,
                   WORD uReplaceIndex);
    // Whether an entry of the header with so many uncompressed bytes keeps every
    // 32-bit field of the archive below 0xFFFFFFFF (that value means Zip64 to
    // other tools); uOverhead is what EntryOverhead gave for it.
    bool EntryFits(const CZipFileHeader& header, ULONGLONG uUncompressed,
                   ULONGLONG uOverhead) const;
    // The end of the archive without the entry's data, for an entry that starts
    // at uOffset: its local header, the longest data descriptor, the directory
    // with its central header and the end record.
    ULONGLONG EntryOverhead(const CZipFileHeader& header, ULONGLONG uOffset) const;
    // Where the next appended entry starts (an archive position).
    ULONGLONG GetDataEnd() const;
    [[noreturn]] void ThrowError(int iErr) const;

    // The header that the add in progress put into the central directory, so
    // that a failure can take it out again; whether it took a replaced entry's place.
    CZipFileHeader* m_pAddedHeader;
    bool m_bAddedReplaces;
    // The open new entry's bytes so far and its overhead (see EntryOverhead).
    ULONGLONG m_uAddedBytes;
    ULONGLONG m_uAddedOverhead;

    bool m_bRemoveDriveLetter;
    bool m_bExhaustiveRead;
    ZipArchiveLib::CZipCallbackProvider m_callbacks;
    bool m_bCaseSensitive;
    ZIPSTRINGCOMPARE m_pZipCompare;
    CZipStorage m_storage;
    CZipCentralDir m_centralDir;
    int m_iFileOpened;
    bool m_bAutoFinalize;
    int m_iCommitMode;
    CString m_szRootPath;
    CString m_szTempPath;
    int m_iArchiveSystCompatib;
    CZipAutoBuffer m_pszPassword;
    CZipCryptograph* m_pCryptograph;
    CZipCompressor* m_pCompressor;
    int m_iEncryptionMethod;
    WORD m_uCompressionMethod;
    CZipAutoBuffer m_pBuffer;
    DWORD m_iBufferSize;
    CZipCompressor::COptionsMap m_compressorsOptions;

    // Removal, modification and extraction (ZipArchiveRemove.cpp,
    // ZipArchiveModify.cpp, ZipArchiveExtract.cpp).
    // Drops a copied entry that failed midway and puts the cut directory back.
    void RollBackCopy();
    // Where the entries' data ends: the directory's offset while it is in the
    // file, else the data written so far.
    ULONGLONG ArchiveDataEnd() const;
    // An entry's bytes: from its local header to the next one or the data end.
    ULONGLONG EntryExtent(WORD uIndex) const;
    // Writes an entry being extracted into the file at the path.
    bool ExtractToFile(WORD uIndex, LPCSTR lpszTarget, DWORD nBufSize);
};
