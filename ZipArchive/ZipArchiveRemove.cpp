// ZipArchiveRemove.cpp: removing entries from an archive and moving the data
// that follows them down, and moving archive data in general.
#include "ZipArchive.h"

#include "ZipException.h"

#include <algorithm>
#include <vector>

namespace {

// A work buffer of size 0 would move nothing per chunk and never finish.
const DWORD kMinMoveBuffer = 4096;

} // namespace

void CZipArchive::IndexesOfNames(const CZipStringArray& aNames, CZipArray<WORD>& aIndexes) {
    for (INT_PTR i = 0; i < aNames.GetSize(); i++)
        aIndexes.Add(FindEntry(aNames[i], ffDefault, false));
}

bool CZipArchive::RemoveEntriesByName(const CZipStringArray& aNames) {
    CZipArray<WORD> aIndexes;
    IndexesOfNames(aNames, aIndexes);
    return RemoveEntriesByIndex(aIndexes);
}

bool CZipArchive::RemoveEntriesByIndex(CZipArray<WORD>& aIndexes) {
    if (!CanModify() || GetCount() == 0)
        return false;
    if (aIndexes.GetSize() == 0)
        return true;
    WORD* pBegin = aIndexes.GetData();
    WORD* pEnd = pBegin + aIndexes.GetSize();
    std::sort(pBegin, pEnd);
    // A name given twice names one entry: it is removed once.
    aIndexes.SetSize(std::unique(pBegin, pEnd) - pBegin);
    for (INT_PTR i = 0; i < aIndexes.GetSize(); i++)
        if (!m_centralDir.IsValidIndex(aIndexes[i]))
            return false;
    const WORD uCount = GetCount();
    if (aIndexes.GetSize() == uCount)
        return RemoveAllEntries();

    // The map runs from the first entry removed to the last entry.
    const WORD uFirst = aIndexes[0];
    std::vector<CZipDeleteInfo> aMap;
    CZipActionCallback* pCallback = GetCallback(CZipActionCallback::cbDeleteCnt);
    if (pCallback) {
        pCallback->Init(nullptr, GetArchivePath());
        pCallback->SetTotal(uCount);
    }
    INT_PTR iNext = 0;
    for (WORD i = uFirst; i < uCount; i++) {
        const bool bDelete = iNext < aIndexes.GetSize() && aIndexes[iNext] == i;
        if (bDelete)
            iNext++;
        aMap.emplace_back(m_centralDir[i], bDelete);
        if (pCallback) {
            const bool bGoOn =
                i + 1 == uCount ? pCallback->RequestLastCallback(1) : pCallback->Step(1);
            if (!bGoOn) {
                pCallback->CallbackEnd();
                m_storage.ThrowError(CZipException::abortedSafely);
            }
        }
    }
    if (pCallback)
        pCallback->CallbackEnd();

    pCallback = GetCallback(CZipActionCallback::cbDelete);
    m_centralDir.CutFromDisk();
    m_storage.Flush();
    const ULONGLONG uDataEnd = m_storage.GetArchiveDataLength();

    // Extents and offsets are taken before any header leaves the directory.
    const size_t iMapSize = aMap.size();
    std::vector<unsigned long long> aStart;
    std::vector<unsigned long long> aEnd;
    ULONGLONG uToMove = 0;
    bool bDeletedSeen = false;
    for (size_t i = 0; i < iMapSize; i++) {
        aStart.push_back(aMap[i].m_pHeader->m_uOffset);
        aEnd.push_back(i + 1 < iMapSize ? ULONGLONG(aMap[i + 1].m_pHeader->m_uOffset) : uDataEnd);
        if (aEnd[i] < aStart[i])
            m_storage.ThrowError(CZipException::badZipFile);
        bDeletedSeen = bDeletedSeen || aMap[i].m_bDelete;
        if (bDeletedSeen && !aMap[i].m_bDelete)
            uToMove += aEnd[i] - aStart[i];
    }
    if (pCallback) {
        pCallback->Init(nullptr, GetArchivePath());
        pCallback->SetTotal(DWORD(std::min<ULONGLONG>(uToMove, 0xFFFFFFFF)));
    }

    ULONGLONG uShift = 0;
    bool bRunPending = false;
    ULONGLONG uRunStart = 0;
    WORD uIndex = uFirst;
    for (size_t i = 0; i < iMapSize; i++) {
        if (aMap[i].m_bDelete) {
            if (bRunPending) {
                MoveArchiveData(uRunStart, aStart[i], uShift, pCallback, false, false);
                bRunPending = false;
            }
            uShift += aEnd[i] - aStart[i];
            m_centralDir.RemoveEntry(aMap[i].m_pHeader, uIndex, true);
        } else {
            if (!bRunPending) {
                bRunPending = true;
                uRunStart = aStart[i];
            }
            aMap[i].m_pHeader->m_uOffset = DWORD(aStart[i] - uShift);
            uIndex++;
        }
    }
    if (bRunPending)
        MoveArchiveData(uRunStart, uDataEnd, uShift, pCallback, false, true);
    else if (pCallback && !pCallback->RequestLastCallback()) {
        pCallback->CallbackEnd();
        m_storage.ThrowError(CZipException::abortedAction);
    }

    m_pBuffer.Release();
    m_storage.m_pFile->SetLength(m_storage.m_uBytesBeforeZip + uDataEnd - uShift);
    m_storage.m_pFile->SeekToEnd();
    if (pCallback)
        pCallback->CallbackEnd();
    FinalizeArchive(true);
    return true;
}

bool CZipArchive::RemoveAllEntries() {
    if (!CanModify())
        return false;
    CZipActionCallback* pCallback = GetCallback(CZipActionCallback::cbDelete);
    if (pCallback) {
        pCallback->Init(nullptr, GetArchivePath());
        pCallback->SetTotal(GetCount());
    }
    m_centralDir.CutFromDisk();
    m_storage.DiscardWriteBuffer();
    m_storage.m_pFile->SetLength(m_storage.m_uBytesBeforeZip);
    m_storage.m_pFile->SeekToEnd();
    m_centralDir.RemoveAllEntries();
    FinalizeArchive(true);
    if (pCallback)
        pCallback->CallbackEnd();
    return true;
}

void CZipArchive::MoveArchiveData(ULONGLONG uStartOffset, ULONGLONG uEndOffset, ULONGLONG uMoveBy,
                                  CZipActionCallback* pCallback, bool bForward, bool bLastCall) {
    const DWORD uBufferSize = std::max(m_iBufferSize, kMinMoveBuffer);
    if (m_pBuffer.GetSize() != uBufferSize)
        m_pBuffer.Allocate(uBufferSize);
    m_storage.Flush();
    CZipAbstractFile* pFile = m_storage.m_pFile;
    const ULONGLONG uBefore = m_storage.m_uBytesBeforeZip;
    const ULONGLONG uTotal = uEndOffset > uStartOffset ? uEndOffset - uStartOffset : 0;
    if (!bForward && uMoveBy > uStartOffset)
        m_storage.ThrowError(CZipException::internalError);

    ULONGLONG uMoved = 0;
    while (uMoved < uTotal) {
        const DWORD uChunk = DWORD(std::min<ULONGLONG>(uBufferSize, uTotal - uMoved));
        const ULONGLONG uFrom = bForward ? uEndOffset - uMoved - uChunk : uStartOffset + uMoved;
        const ULONGLONG uTo = bForward ? uFrom + uMoveBy : uFrom - uMoveBy;
        pFile->SafeSeek(uBefore + uFrom);
        const UINT uRead = pFile->Read(m_pBuffer, uChunk);
        // A short read in a forward move would shift the wrong bytes: stop.
        if (uRead != uChunk)
            break;
        pFile->SafeSeek(uBefore + uTo);
        pFile->Write(m_pBuffer, uRead);
        uMoved += uRead;
        if (pCallback) {
            const bool bGoOn = bLastCall && uMoved == uTotal ? pCallback->RequestLastCallback(uRead)
                                                             : pCallback->Step(uRead);
            if (!bGoOn) {
                pCallback->CallbackEnd();
                m_storage.ThrowError(CZipException::abortedAction);
            }
        }
    }
    if (uMoved != uTotal)
        m_storage.ThrowError(CZipException::internalError);
    if (uTotal == 0 && bLastCall && pCallback && !pCallback->RequestLastCallback()) {
        pCallback->CallbackEnd();
        m_storage.ThrowError(CZipException::abortedAction);
    }
}
