// ZipCentralDir.cpp: the central directory of an open archive: reading it from
// the file, the sorted name index, and adding and removing entry headers.
// Writing it back, and cutting it off the file, live in ZipCentralDirWrite.cpp.
#include "ZipCentralDir.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipStorage.h"

#include <algorithm>
#include <cstring>

namespace {

const char kEndSignature[] = {0x50, 0x4B, 0x05, 0x06};
const char kCentralSignature[] = {0x50, 0x4B, 0x01, 0x02};
const char kZip64LocatorSignature[] = {0x50, 0x4B, 0x06, 0x07};
const char kZip64EndSignature[] = {0x50, 0x4B, 0x06, 0x06};
// The Zip64 end record without its extensible data (as zip writes it), and its
// size field's value for that length.
const DWORD kZip64EndSize = 56;
const ULONGLONG kZip64EndSizeField = 44;
const DWORD kZip64LocatorSize = 20;
const ULONGLONG kNotFound = CZipStorage::kSignatureNotFound;

WORD WordAt(const char* p) {
    return WORD(BYTE(p[0]) | (BYTE(p[1]) << 8));
}
DWORD DwordAt(const char* p) {
    return DWORD(WordAt(p)) | (DWORD(WordAt(p + 2)) << 16);
}
ULONGLONG QwordAt(const char* p) {
    return ULONGLONG(DwordAt(p)) | (ULONGLONG(DwordAt(p + 4)) << 32);
}

// The last path component of an entry name, trailing separators dropped.
CString LastComponent(const CString& szName) {
    CString szTrimmed = szName;
    CZipPathComponent::TrimTrailingSeparators(szTrimmed);
    int iCut = std::max(szTrimmed.ReverseFind('\\'), szTrimmed.ReverseFind('/'));
    return iCut < 0 ? szTrimmed : szTrimmed.Mid(iCut + 1);
}

} // namespace

CZipCentralDir::CZipCentralDir()
    : m_pOpenedFile(nullptr), m_iIgnoredChecks(checkDataDescriptor | checkVolumeEntries),
      m_pArchive(nullptr), m_pStorage(nullptr), m_pHeaders(nullptr), m_pFindArray(nullptr),
      m_pInfo(nullptr), m_uCutDirectoryOffset(0), m_iCutHeaderCount(0), m_uLastHeaderVolume(0) {}

CZipCentralDir::~CZipCentralDir() {
    CloseDirectory();
}

void CZipCentralDir::Init(CZipArchive* pArchive, CZipStorage* pStorage) {
    m_pArchive = pArchive;
    m_pStorage = pStorage;
    InitShared();
}

void CZipCentralDir::InitShared(CZipCentralDir* pSource) {
    m_pOpenedFile = nullptr;
    m_iIgnoredChecks = checkDataDescriptor | checkVolumeEntries;
    DestroySharedData();
    ForgetCutDirectory();
    if (pSource != nullptr && pSource->m_pInfo != nullptr) {
        m_pInfo = pSource->m_pInfo;
        m_pHeaders = pSource->m_pHeaders;
        m_pFindArray = pSource->m_pFindArray;
        m_pInfo->m_iReference++;
        m_pStorage->m_uBytesBeforeZip = pSource->m_pStorage->m_uBytesBeforeZip;
        if (m_pInfo->m_bInArchive)
            m_pStorage->SetVolumeMode(m_pInfo->m_uThisVolume);
        return;
    }
    m_pInfo = new CZipDirectoryInfo;
    m_pInfo->m_pCompare = SelectCompareFunction(false);
    m_pHeaders = new CZipArray<CZipFileHeader*>;
    m_pFindArray = new CZipArray<CZipFindFast*>;
}

void CZipCentralDir::DestroySharedData() {
    if (m_pInfo == nullptr)
        return;
    if (--m_pInfo->m_iReference < 1) {
        DeleteHeaders();
        DeleteFindFastRecords();
        delete m_pHeaders;
        delete m_pFindArray;
        delete m_pInfo;
    }
    m_pHeaders = nullptr;
    m_pFindArray = nullptr;
    m_pInfo = nullptr;
}

void CZipCentralDir::DeleteHeaders() {
    for (CZipFileHeader* pHeader : *m_pHeaders)
        delete pHeader;
    m_pHeaders->RemoveAll();
}

void CZipCentralDir::DeleteFindFastRecords() {
    for (CZipFindFast* pRecord : *m_pFindArray)
        delete pRecord;
    m_pFindArray->RemoveAll();
}

void CZipCentralDir::CloseDirectory() {
    m_pOpenedFile = nullptr;
    DestroySharedData();
    ForgetCutDirectory();
}

// ---- reading

void CZipCentralDir::ReadDirectory(bool bExhaustiveRead) {
    CZipDirectoryInfo& info = *m_pInfo;
    const ULONGLONG uRecord = LocateEndRecord();
    info.m_uEndOffset = uRecord;

    const bool bSaturated = info.m_uThisVolume == 0xFFFF || info.m_uVolumeWithCD == 0xFFFF ||
                            info.m_uVolumeEntriesNo == 0xFFFF || info.m_uEntriesNumber == 0xFFFF ||
                            info.m_uSize == 0xFFFFFFFF || info.m_uOffset == 0xFFFFFFFF;
    // zip writing from a pipe adds Zip64 end records that nothing needs; they
    // sit between the headers and the end record and are not bytes before the
    // archive. Saturated values, though, mean the real ones are in those records.
    ULONGLONG uZip64Span = 0;
    if (uRecord >= kZip64LocatorSize) {
        char signature[4];
        m_pStorage->Seek(uRecord - kZip64LocatorSize);
        m_pStorage->Read(signature, 4, true);
        if (memcmp(signature, kZip64LocatorSignature, 4) == 0) {
            if (bSaturated)
                m_pStorage->ThrowError(CZipException::noZip64);
            uZip64Span = Zip64RecordsSpan(uRecord);
        }
    }

    if ((m_iIgnoredChecks & checkVolumeEntries) == 0 && info.m_uThisVolume == 0 &&
        (info.m_uVolumeEntriesNo != info.m_uEntriesNumber || info.m_uVolumeWithCD != 0))
        m_pStorage->ThrowError(CZipException::badZipFile);

    m_pStorage->SetVolumeMode(info.m_uThisVolume);
    ULONGLONG uDirectoryEnd = uRecord - uZip64Span;
    if (!m_pStorage->IsSegmented()) {
        const ULONGLONG uExtent = ULONGLONG(info.m_uOffset) + info.m_uSize;
        if (uDirectoryEnd < uExtent + m_pStorage->m_uBytesBeforeZip)
            m_pStorage->ThrowError(CZipException::badZipFile);
        if (m_pStorage->m_uBytesBeforeZip == 0 && info.m_uThisVolume == 0)
            m_pStorage->m_uBytesBeforeZip = uDirectoryEnd - uExtent;
        uDirectoryEnd -= m_pStorage->m_uBytesBeforeZip;
    }

    if ((info.m_uSize == 0) != (info.m_uEntriesNumber == 0))
        m_pStorage->ThrowError(CZipException::badZipFile);
    info.m_bInArchive = true;
    m_pStorage->ChangeVolume(info.m_uVolumeWithCD);
    if (info.m_uSize != 0)
        ReadHeaders(bExhaustiveRead, uDirectoryEnd);
}

ULONGLONG CZipCentralDir::LocateEndRecord() {
    ULONGLONG uDataEnd = 0;
    if (m_pStorage->IsBinarySplit()) {
        for (DWORD uVolume = 0; uVolume <= m_pStorage->m_uSplitData; uVolume++)
            uDataEnd += m_pStorage->GetCachedSize(WORD(uVolume));
    } else
        uDataEnd = m_pStorage->m_pFile->GetLength();

    // The signature can also stand inside an archive comment (or in trailing
    // bytes). The true record's comment reaches exactly the end of the file;
    // failing that, the candidate nearest the end whose comment fits is taken.
    const int iValuesSize = kEndRecordSize - 4;
    char values[kEndRecordSize - 4];
    char chosen[kEndRecordSize - 4];
    ULONGLONG uChosen = kNotFound;
    bool bAnyFound = false;
    for (ULONGLONG uBelow = kNotFound;;) {
        const ULONGLONG uFound =
            m_pStorage->FindSignature(kEndSignature, kMaxEndRecordSearch, uBelow);
        if (uFound == kNotFound)
            break;
        bAnyFound = true;
        uBelow = uFound;
        if (uFound + kEndRecordSize > uDataEnd)
            continue;
        m_pStorage->Seek(uFound + 4);
        m_pStorage->Read(values, iValuesSize, true);
        const ULONGLONG uRecordEnd = uFound + kEndRecordSize + WordAt(values + 16);
        if (uRecordEnd > uDataEnd)
            continue;
        if (uChosen == kNotFound || uRecordEnd == uDataEnd) {
            uChosen = uFound;
            memcpy(chosen, values, iValuesSize);
        }
        if (uRecordEnd == uDataEnd)
            break;
    }
    if (uChosen == kNotFound)
        m_pStorage->ThrowError(bAnyFound ? CZipException::badZipFile : CZipException::cdirNotFound);

    CZipDirectoryInfo& info = *m_pInfo;
    info.m_uThisVolume = WordAt(chosen);
    info.m_uVolumeWithCD = WordAt(chosen + 2);
    info.m_uVolumeEntriesNo = WordAt(chosen + 4);
    info.m_uEntriesNumber = WordAt(chosen + 6);
    info.m_uSize = DwordAt(chosen + 8);
    info.m_uOffset = DwordAt(chosen + 12);
    const WORD uCommentSize = WordAt(chosen + 16);
    if (uCommentSize == 0)
        info.m_pszComment.Release();
    else {
        info.m_pszComment.Allocate(uCommentSize);
        m_pStorage->Seek(uChosen + kEndRecordSize);
        m_pStorage->Read(info.m_pszComment, uCommentSize, true);
    }
    return uChosen;
}

ULONGLONG CZipCentralDir::Zip64RecordsSpan(ULONGLONG uRecord) {
    char locator[kZip64LocatorSize];
    const ULONGLONG uLocator = uRecord - kZip64LocatorSize;
    m_pStorage->Seek(uLocator);
    m_pStorage->Read(locator, kZip64LocatorSize, true);
    const ULONGLONG uDeclared = QwordAt(locator + 8);

    // The Zip64 end record lies right before its locator. Its declared offset
    // counts from the archive's start, so with bytes before the archive it is
    // found by its length instead.
    char record[kZip64EndSize];
    ULONGLONG uStart = kNotFound;
    if (uLocator >= kZip64EndSize) {
        m_pStorage->Seek(uLocator - kZip64EndSize);
        m_pStorage->Read(record, kZip64EndSize, true);
        if (memcmp(record, kZip64EndSignature, 4) == 0 && QwordAt(record + 4) == kZip64EndSizeField)
            uStart = uLocator - kZip64EndSize;
    }
    if (uStart == kNotFound && uLocator >= kZip64EndSize && uDeclared <= uLocator - kZip64EndSize) {
        m_pStorage->Seek(uDeclared);
        m_pStorage->Read(record, kZip64EndSize, true);
        if (memcmp(record, kZip64EndSignature, 4) == 0 &&
            QwordAt(record + 4) == uLocator - uDeclared - 12)
            uStart = uDeclared;
    }
    if (uStart == kNotFound)
        m_pStorage->ThrowError(CZipException::badZipFile);

    // Values that differ from the end record's are the archive's real ones.
    const CZipDirectoryInfo& info = *m_pInfo;
    if (QwordAt(record + 24) != info.m_uVolumeEntriesNo ||
        QwordAt(record + 32) != info.m_uEntriesNumber || QwordAt(record + 40) != info.m_uSize ||
        QwordAt(record + 48) != info.m_uOffset)
        m_pStorage->ThrowError(CZipException::noZip64);
    return uRecord - uStart;
}

void CZipCentralDir::ReadHeaders(bool bExhaustiveRead, ULONGLONG uDirectoryEnd) {
    m_pStorage->Seek(m_pInfo->m_uOffset);
    DeleteHeaders();
    DeleteFindFastRecords();
    for (DWORD i = 0; i < m_pInfo->m_uEntriesNumber; i++) {
        CZipFileHeader* pHeader = new CZipFileHeader(this);
        m_pHeaders->Add(pHeader);
        if (!pHeader->ReadCentralHeader())
            m_pStorage->ThrowError(CZipException::badZipFile);
    }
    if (bExhaustiveRead) {
        const WORD uLastVolume = WORD(m_pStorage->m_uSplitData);
        for (;;) {
            const bool bOnLastVolume = !m_pStorage->IsSegmented() || m_pStorage->IsBinarySplit() ||
                                       m_pStorage->GetCurrentVolume() == uLastVolume;
            if (bOnLastVolume && m_pStorage->GetPosition() + 4 > uDirectoryEnd)
                break;
            char signature[4];
            m_pStorage->Read(signature, 4, false);
            if (memcmp(signature, kCentralSignature, 4) != 0)
                break;
            if (m_pHeaders->GetSize() >= CZipArchive::kMaxEntries)
                m_pStorage->ThrowError(CZipException::noZip64);
            CZipFileHeader* pHeader = new CZipFileHeader(this);
            m_pHeaders->Add(pHeader);
            if (!pHeader->ReadCentralHeader(false))
                m_pStorage->ThrowError(CZipException::badZipFile);
        }
    }
    SortHeaders();
    if (m_pInfo->m_bFindFastEnabled)
        RebuildFindFastArray(m_pInfo->m_bCaseSensitive);
}

void CZipCentralDir::SortHeaders() {
    CZipFileHeader** pBegin = m_pHeaders->GetData();
    CZipFileHeader** pEnd = pBegin + m_pHeaders->GetSize();
    std::stable_sort(pBegin, pEnd, [](const CZipFileHeader* a, const CZipFileHeader* b) {
        return a->m_uVolumeStart != b->m_uVolumeStart ? a->m_uVolumeStart < b->m_uVolumeStart
                                                      : a->m_uOffset < b->m_uOffset;
    });
    for (CZipFileHeader** p = pBegin; p + 1 < pEnd; p++)
        if (p[0]->m_uVolumeStart == p[1]->m_uVolumeStart && p[0]->m_uOffset == p[1]->m_uOffset)
            m_pStorage->ThrowError(CZipException::badZipFile);
}

// ---- the sorted name index

void CZipCentralDir::RebuildFindFastArray(bool bCaseSensitive) {
    DeleteFindFastRecords();
    m_pInfo->m_bCaseSensitive = bCaseSensitive;
    m_pInfo->m_pCompare = SelectCompareFunction(bCaseSensitive);
    m_pInfo->m_bFindFastEnabled = true;
    const INT_PTR iCount = m_pHeaders->GetSize();
    m_pFindArray->SetSize(0, iCount > 0 ? iCount : -1);
    for (INT_PTR i = 0; i < iCount; i++)
        m_pFindArray->Add(new CZipFindFast((*m_pHeaders)[i], WORD(i)));
    const ZIPSTRINGCOMPARE pCompare = m_pInfo->m_pCompare;
    CZipFindFast** pBegin = m_pFindArray->GetData();
    std::stable_sort(pBegin, pBegin + iCount, [pCompare](CZipFindFast* a, CZipFindFast* b) {
        return (a->m_pHeader->GetFileName().*pCompare)(b->m_pHeader->GetFileName()) < 0;
    });
}

WORD CZipCentralDir::FindFileNameIndex(LPCSTR lpszFileName) const {
    const ZIPSTRINGCOMPARE pCompare = m_pInfo->m_pCompare;
    INT_PTR iLow = 0;
    INT_PTR iHigh = m_pFindArray->GetSize() - 1;
    while (iLow <= iHigh) {
        const INT_PTR iMiddle = (iLow + iHigh) / 2;
        CZipFindFast* pRecord = (*m_pFindArray)[iMiddle];
        const int iResult = (pRecord->m_pHeader->GetFileName().*pCompare)(lpszFileName);
        if (iResult == 0)
            return pRecord->m_uIndex;
        if (iResult < 0)
            iLow = iMiddle + 1;
        else {
            if (iMiddle == 0)
                break;
            iHigh = iMiddle - 1;
        }
    }
    return 0xFFFF;
}

WORD CZipCentralDir::InsertFindFastElement(CZipFileHeader* pHeader, WORD uIndex) {
    const ZIPSTRINGCOMPARE pCompare = m_pInfo->m_pCompare;
    const CString szName = pHeader->GetFileName();
    INT_PTR iLow = 0;
    INT_PTR iHigh = m_pFindArray->GetSize();
    while (iLow < iHigh) {
        const INT_PTR iMiddle = (iLow + iHigh) / 2;
        if (((*m_pFindArray)[iMiddle]->m_pHeader->GetFileName().*pCompare)(szName) < 0)
            iLow = iMiddle + 1;
        else
            iHigh = iMiddle;
    }
    if (uIndex == 0xFFFF)
        uIndex = GetCount();
    m_pFindArray->InsertAt(iLow, new CZipFindFast(pHeader, uIndex));
    return WORD(iLow);
}

void CZipCentralDir::RemoveFromFindFast(CZipFileHeader* pHeader, bool bShift) {
    // Looked up by the header itself: archives may hold one name twice, and a
    // renamed header is no longer where its new name would sort.
    INT_PTR iFound = -1;
    const INT_PTR iCount = m_pFindArray->GetSize();
    for (INT_PTR i = 0; i < iCount && iFound < 0; i++)
        if ((*m_pFindArray)[i]->m_pHeader == pHeader)
            iFound = i;
    if (iFound < 0)
        return;
    const WORD uRemoved = (*m_pFindArray)[iFound]->m_uIndex;
    delete (*m_pFindArray)[iFound];
    m_pFindArray->RemoveAt(iFound);
    if (bShift)
        for (CZipFindFast* pRecord : *m_pFindArray)
            if (pRecord->m_uIndex > uRemoved)
                pRecord->m_uIndex--;
}

WORD CZipCentralDir::FindEntry(LPCSTR lpszFileName, bool bCaseSensitive, bool bSporadically,
                               bool bFileNameOnly) {
    if (m_pInfo == nullptr) // closed
        return 0xFFFF;
    if (!m_pInfo->m_bFindFastEnabled)
        RebuildFindFastArray(bSporadically ? !bCaseSensitive : bCaseSensitive);
    if (bFileNameOnly) {
        const ZIPSTRINGCOMPARE pCompare = SelectCompareFunction(bCaseSensitive);
        for (CZipFindFast* pRecord : *m_pFindArray)
            if ((LastComponent(pRecord->m_pHeader->GetFileName()).*pCompare)(lpszFileName) == 0)
                return pRecord->m_uIndex;
        return 0xFFFF;
    }
    if (bCaseSensitive == m_pInfo->m_bCaseSensitive)
        return FindFileNameIndex(lpszFileName);
    if (bSporadically) {
        const ZIPSTRINGCOMPARE pCompare = SelectCompareFunction(bCaseSensitive);
        for (CZipFindFast* pRecord : *m_pFindArray)
            if ((pRecord->m_pHeader->GetFileName().*pCompare)(lpszFileName) == 0)
                return pRecord->m_uIndex;
        return 0xFFFF;
    }
    RebuildFindFastArray(bCaseSensitive);
    return FindFileNameIndex(lpszFileName);
}

// ---- adding and removing headers

CZipFileHeader* CZipCentralDir::AddEntry(const CZipFileHeader& header, WORD uReplaceIndex,
                                         int iLevel, bool bRichHeaderTemplateCopy) {
    m_pOpenedFile = nullptr;
    const bool bReplace = IsValidIndex(uReplaceIndex);
    if (!bReplace && m_pHeaders->GetSize() >= CZipArchive::kMaxEntries)
        m_pStorage->ThrowError(CZipException::tooManyFiles);

    CZipFileHeader* pHeader = new CZipFileHeader(this);
    pHeader->m_uMethod = header.m_uMethod;
    pHeader->m_uModTime = header.m_uModTime;
    pHeader->m_uModDate = header.m_uModDate;
    pHeader->m_uExternalAttr = header.m_uExternalAttr;
    // The header prepares its own flags; it keeps only what describes the name.
    pHeader->m_uFlag = header.m_uFlag;
    pHeader->m_uComprSize = header.m_uComprSize;
    pHeader->m_uUncomprSize = header.m_uUncomprSize;
    // The local header goes out first with the sizes known now (the source's
    // length); the real ones are patched in after the data.
    pHeader->m_uLocalComprSize = header.m_uComprSize;
    pHeader->m_uLocalUncomprSize = header.m_uUncomprSize;
    pHeader->m_fileName = header.m_fileName;
    pHeader->m_comment = header.m_comment;
    pHeader->m_aLocalExtraData = header.m_aLocalExtraData;
    pHeader->m_aCentralExtraData = header.m_aCentralExtraData;
    // Unicode name and comment records stay: the header drops them itself once
    // they no longer match the stored name.
    const WORD aOwnRecords[] = {CZipExtraField::idZip64, CZipExtraField::idOwnData,
                                CZipExtraField::idAes};
    pHeader->m_aCentralExtraData.RemoveHeaders(aOwnRecords,
                                               int(sizeof(aOwnRecords) / sizeof(WORD)));
    pHeader->m_iSystemCompatibility = header.m_iSystemCompatibility;
    pHeader->m_uEncryptionMethod = header.m_uEncryptionMethod;

    try {
        if (!bReplace) {
            // The entry starts where the data ends; its offset field has 32 bits.
            const ULONGLONG uAppendAt = m_pInfo->m_bInArchive
                                            ? ULONGLONG(m_pInfo->m_uOffset)
                                            : m_pStorage->m_pFile->GetLength() +
                                                  m_pStorage->m_uBytesInWriteBuffer -
                                                  m_pStorage->m_uBytesBeforeZip;
            if (uAppendAt > 0xFFFFFFFF)
                m_pStorage->ThrowError(CZipException::tooBigSize);
        }
        CutFromDisk();
        pHeader->PrepareForWriting(iLevel, m_pStorage->IsSegmented());
        if (bRichHeaderTemplateCopy) {
            pHeader->m_uCrc32 = header.m_uCrc32;
            pHeader->m_uComprSize = header.m_uComprSize;
            pHeader->m_uUncomprSize = header.m_uUncomprSize;
        }
        if (bReplace) {
            pHeader->PrepareStringBuffers();
            if (pHeader->m_fileName.m_buffer.GetSize() > 0xFFFF ||
                pHeader->m_comment.m_buffer.GetSize() > 0xFFFF ||
                !pHeader->m_aLocalExtraData.Validate() || !pHeader->m_aCentralExtraData.Validate())
                m_pStorage->ThrowError(CZipException::tooLongData);
        }
    } catch (...) {
        delete pHeader;
        throw;
    }

    if (bReplace) {
        // The old entry's bytes are overwritten: the kept directory no longer fits.
        ForgetCutDirectory();
        CZipFileHeader* pOld = (*m_pHeaders)[uReplaceIndex];
        m_pStorage->Seek(pOld->m_uOffset);
        if (m_pInfo->m_bFindFastEnabled)
            RemoveFromFindFast(pOld, false);
        pHeader->m_uOffset = pOld->m_uOffset;
        pHeader->m_uVolumeStart = pOld->m_uVolumeStart;
        delete pOld;
        (*m_pHeaders)[uReplaceIndex] = pHeader;
    } else {
        uReplaceIndex = WORD(m_pHeaders->Add(pHeader));
        m_pStorage->m_pFile->SeekToEnd();
        // Known before the local header is written, so that an add failing even
        // before that is cut off at the right place (RemoveLastEntry).
        pHeader->m_uOffset = DWORD(m_pStorage->GetPosition());
        pHeader->m_uVolumeStart = m_pStorage->IsBinarySplit() ? 0 : m_pStorage->GetCurrentVolume();
    }
    m_pOpenedFile = pHeader;
    if (m_pInfo->m_bFindFastEnabled)
        InsertFindFastElement(pHeader, uReplaceIndex);
    return pHeader;
}

void CZipCentralDir::RemoveEntry(CZipFileHeader* pHeader, int iIndex, bool bShift) {
    if (iIndex == -1) {
        const INT_PTR iCount = m_pHeaders->GetSize();
        for (INT_PTR i = 0; i < iCount && iIndex == -1; i++)
            if ((*m_pHeaders)[i] == pHeader)
                iIndex = int(i);
        if (iIndex == -1)
            return;
    } else if (pHeader == nullptr)
        pHeader = (*m_pHeaders)[iIndex];
    ForgetCutDirectory();
    if (m_pInfo->m_bFindFastEnabled)
        RemoveFromFindFast(pHeader, bShift);
    if (m_pOpenedFile == pHeader)
        m_pOpenedFile = nullptr;
    delete pHeader;
    m_pHeaders->RemoveAt(iIndex);
}

void CZipCentralDir::RemoveLastEntry(CZipFileHeader* pHeader, WORD uIndex) {
    if (pHeader == nullptr) {
        if (m_pHeaders->GetSize() == 0)
            return;
        uIndex = WORD(m_pHeaders->GetSize() - 1);
        pHeader = (*m_pHeaders)[uIndex];
    } else if (uIndex == 0xFFFF) {
        for (INT_PTR i = 0; i < m_pHeaders->GetSize() && uIndex == 0xFFFF; i++)
            if ((*m_pHeaders)[i] == pHeader)
                uIndex = WORD(i);
        if (uIndex == 0xFFFF)
            return;
    }
    const ULONGLONG uCut = pHeader->m_uOffset + m_pStorage->m_uBytesBeforeZip;
    // A failed add drops its entry here and then puts the cut directory back,
    // so the kept bytes survive unless this cut destroys a directory in the file.
    if (m_pInfo->m_bInArchive)
        ForgetCutDirectory();
    if (m_pInfo->m_bFindFastEnabled)
        RemoveFromFindFast(pHeader, true);
    if (m_pOpenedFile == pHeader)
        m_pOpenedFile = nullptr;
    delete pHeader;
    m_pHeaders->RemoveAt(uIndex);
    // What the buffer holds belongs to the entry being dropped.
    m_pStorage->DiscardWriteBuffer();
    m_pStorage->m_pFile->SetLength(uCut);
    m_pStorage->m_pFile->SeekToEnd();
    m_pInfo->m_bInArchive = false;
}

void CZipCentralDir::RemoveAllEntries() {
    ForgetCutDirectory();
    m_pOpenedFile = nullptr;
    DeleteHeaders();
    DeleteFindFastRecords();
}

// ---- entries and headers

void CZipCentralDir::CloseNewEntry() {
    CZipFileHeader* pHeader = m_pOpenedFile;
    m_pOpenedFile = nullptr;
    if (pHeader != nullptr)
        pHeader->OnDataWritten(m_pStorage);
}

void CZipCentralDir::CloseExtractedEntry(bool bAfterException) {
    CZipFileHeader* pHeader = m_pOpenedFile;
    m_pOpenedFile = nullptr;
    if (!bAfterException && (m_iIgnoredChecks & checkDataDescriptor) == 0 && pHeader != nullptr &&
        !pHeader->VerifyDataDescriptor(m_pStorage))
        m_pStorage->ThrowError(CZipException::badZipFile);
}

bool CZipCentralDir::OnEntryChanged(CZipFileHeader* pHeader) {
    if (m_pArchive != nullptr && !m_pArchive->CanModify())
        return false;
    ForgetCutDirectory();
    INT_PTR iIndex = -1;
    for (INT_PTR i = 0; i < m_pHeaders->GetSize() && iIndex < 0; i++)
        if ((*m_pHeaders)[i] == pHeader)
            iIndex = i;
    if (m_pInfo->m_bFindFastEnabled && iIndex >= 0) {
        RemoveFromFindFast(pHeader, false);
        InsertFindFastElement(pHeader, WORD(iIndex));
    }
    // The header is already marked modified with its new text in place, so the
    // commit writes its local header now rather than on close.
    if (m_pArchive != nullptr && m_pArchive->GetCommitMode() == 1 && iIndex >= 0)
        m_pArchive->CommitEntryChanges();
    return true;
}

bool CZipCentralDir::IsValidIndex(WORD uIndex) const {
    return uIndex != 0xFFFF && uIndex < GetCount();
}

bool CZipCentralDir::AnyEntryModified() const {
    if (m_pHeaders == nullptr)
        return false;
    for (const CZipFileHeader* pHeader : *m_pHeaders)
        if (pHeader->IsModified())
            return true;
    return false;
}
