// ZipCentralDir.h: CZipCentralDir, the in-memory central directory of an open
// archive: the end record, the entry headers in file order, a name index, and
// the reading and writing of both.
#pragma once

#include "ZipAutoBuffer.h"
#include "ZipCollections.h"
#include "ZipFileHeader.h"
#include "ZipPathComponent.h"

class CZipArchive;
class CZipStorage;

class CZipCentralDir {
public:
    enum { kEndRecordSize = 22, kMaxEndRecordSearch = 65557 };
    // Consistency checks that can be skipped (bits of the ignored set).
    enum {
        checkCrc = 0x0001,
        checkDataDescriptor = 0x0100,
        checkVolumeEntries = 0x0200,
    };

    struct CZipFindFast {
        CZipFindFast() : m_pHeader(nullptr), m_uIndex(0) {}
        CZipFindFast(CZipFileHeader* pHeader, WORD uIndex) : m_pHeader(pHeader), m_uIndex(uIndex) {}
        CZipFileHeader* m_pHeader;
        WORD m_uIndex;
    };

    // End-record values and index settings; shared between archives opened on
    // the same data, counted by references.
    struct CZipDirectoryInfo {
        ULONGLONG m_uEndOffset = 0; // a file position: 64-bit like every other
        WORD m_uThisVolume = 0;
        WORD m_uVolumeWithCD = 0;
        WORD m_uVolumeEntriesNo = 0;
        WORD m_uEntriesNumber = 0;
        DWORD m_uSize = 0;
        DWORD m_uOffset = 0;
        CZipAutoBuffer m_pszComment;
        bool m_bInArchive = false;
        bool m_bCaseSensitive = false;
        bool m_bFindFastEnabled = false;
        ZIPSTRINGCOMPARE m_pCompare = nullptr;
        int m_iReference = 1;
    };

    CZipCentralDir();
    virtual ~CZipCentralDir();
    CZipCentralDir(const CZipCentralDir&) = delete;
    CZipCentralDir& operator=(const CZipCentralDir&) = delete;

    void Init(CZipArchive* pArchive, CZipStorage* pStorage);
    // Forgets the open entry, releases the shared data, then shares the source's
    // or makes fresh data.
    void InitShared(CZipCentralDir* pSource = nullptr);
    void ReadDirectory(bool bExhaustiveRead);
    WORD FindEntry(LPCSTR lpszFileName, bool bCaseSensitive, bool bSporadically,
                   bool bFileNameOnly);
    CZipFileHeader* AddEntry(const CZipFileHeader& header, WORD uReplaceIndex, int iLevel,
                             bool bRichHeaderTemplateCopy = false);
    void RemoveEntry(CZipFileHeader* pHeader, int iIndex = -1, bool bShift = true);
    void RemoveLastEntry(CZipFileHeader* pHeader = nullptr, WORD uIndex = 0xFFFF);
    void RemoveAllEntries();
    // Cuts the directory off the file, keeping its bytes, so that a change that
    // fails before the directory is written again can put the file back as it was.
    void CutFromDisk();
    // Truncates the file to where the directory stood and writes the kept bytes
    // back; false when nothing was kept.
    bool RestoreCutDirectory();
    void Store();
    DWORD GetDirectorySize(bool bWhole = true) const;
    void CloseNewEntry();
    void CloseExtractedEntry(bool bAfterException);
    bool OnEntryChanged(CZipFileHeader* pHeader);
    void CloseDirectory();
    bool IsValidIndex(WORD uIndex) const;
    bool AnyEntryModified() const;

    WORD GetCount() const { return m_pHeaders ? WORD(m_pHeaders->GetSize()) : 0; }
    CZipFileHeader* operator[](WORD uIndex) const { return (*m_pHeaders)[uIndex]; }
    bool IsDirectoryInArchive() const { return m_pInfo && m_pInfo->m_bInArchive; }
    const CZipDirectoryInfo* GetInfo() const { return m_pInfo; }
    CZipStorage* GetStorage() const { return m_pStorage; }
    CZipArchive* GetArchive() const { return m_pArchive; }
    // The index the sorted name index gives a header, for renames and removals.
    void RebuildFindFastArray(bool bCaseSensitive);

    CZipFileHeader* m_pOpenedFile;
    int m_iIgnoredChecks;

private:
    void DestroySharedData();
    // Finds the end record, reads its values and comment; returns its position.
    ULONGLONG LocateEndRecord();
    // The bytes that the Zip64 end record and its locator take before the end
    // record at uRecord.
    ULONGLONG Zip64RecordsSpan(ULONGLONG uRecord);
    // uDirectoryEnd: the archive position where the headers must end.
    void ReadHeaders(bool bExhaustiveRead, ULONGLONG uDirectoryEnd);
    void DeleteHeaders();
    void DeleteFindFastRecords();
    // The whole directory's size, not cut to 32 bits.
    ULONGLONG GetDirectorySize64(bool bWhole) const;
    // The kept bytes of a cut directory no longer describe the archive.
    void ForgetCutDirectory();
    void WriteHeaders(bool bOneDisk);
    DWORD WriteEndRecord();
    void SortHeaders();
    WORD FindFileNameIndex(LPCSTR lpszFileName) const;
    WORD InsertFindFastElement(CZipFileHeader* pHeader, WORD uIndex);
    void RemoveFromFindFast(CZipFileHeader* pHeader, bool bShift);
    // Turns a new segmented archive that fits its first volume into a plain one.
    bool RemoveDataDescr(bool bFromBuffer);

    CZipArchive* m_pArchive;
    CZipStorage* m_pStorage;
    CZipArray<CZipFileHeader*>* m_pHeaders;
    CZipArray<CZipFindFast*>* m_pFindArray;
    CZipDirectoryInfo* m_pInfo;
    CZipAutoBuffer m_cutDirectory;
    ULONGLONG m_uCutDirectoryOffset;
    // The header count when the directory was cut: the kept bytes fit only that.
    INT_PTR m_iCutHeaderCount;
    // The volume that the last central header went to while storing.
    WORD m_uLastHeaderVolume;
};
