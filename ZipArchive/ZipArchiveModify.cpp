// ZipArchiveModify.cpp: changing entries in place: room for a replacing entry,
// local headers rewritten after renames, and entries copied in from another
// archive without recompressing them.
#include "ZipArchive.h"

#include "ZipException.h"

#include <algorithm>

namespace {

// The largest archive position a 32-bit offset or size field can hold.
const ULONGLONG kMaxFieldValue = 0xFFFFFFFFULL;

} // namespace

bool CZipArchive::ResizeReplacedEntrySpace(WORD uReplaceIndex, DWORD uTotal, LPCSTR lpszFileName) {
    // The central directory has just put the replacing header in the old one's
    // place and left the storage at the old entry's local header.
    m_storage.Flush();
    const ULONGLONG uStart = m_storage.GetPosition();
    const ULONGLONG uDataEnd = m_storage.GetArchiveDataLength();
    ULONGLONG uNext = uDataEnd;
    const WORD uCount = GetCount();
    for (WORD i = 0; i < uCount; i++) {
        const ULONGLONG uOffset = m_centralDir[i]->m_uOffset;
        if (i != uReplaceIndex && uOffset > uStart && uOffset < uNext)
            uNext = uOffset;
    }
    const ULONGLONG uOldSize = uNext - uStart;
    if (uOldSize == uTotal)
        return true;
    const bool bGrow = uTotal > uOldSize;
    const ULONGLONG uShift = bGrow ? uTotal - uOldSize : uOldSize - uTotal;
    // Growing past what the 32-bit fields hold is refused before any byte moves.
    if (bGrow && uDataEnd + uShift > kMaxFieldValue)
        m_storage.ThrowError(CZipException::tooBigSize);

    CZipActionCallback* pCallback = GetCallback(CZipActionCallback::cbMoveData);
    if (pCallback) {
        pCallback->Init(lpszFileName, GetArchivePath());
        pCallback->SetTotal(DWORD(uDataEnd - uNext));
    }
    CZipAbstractFile* pFile = m_storage.m_pFile;
    if (bGrow) {
        pFile->SetLength(m_storage.m_uBytesBeforeZip + uDataEnd + uShift);
        MoveArchiveData(uNext, uDataEnd, uShift, pCallback, true, true);
    } else {
        MoveArchiveData(uNext, uDataEnd, uShift, pCallback, false, true);
        pFile->SetLength(m_storage.m_uBytesBeforeZip + uDataEnd - uShift);
    }
    m_pBuffer.Release();
    m_storage.Seek(uStart);
    for (WORD i = WORD(uReplaceIndex + 1); i < uCount; i++) {
        CZipFileHeader* pHeader = m_centralDir[i];
        pHeader->m_uOffset =
            DWORD(bGrow ? pHeader->m_uOffset + uShift : pHeader->m_uOffset - uShift);
    }
    if (pCallback)
        pCallback->CallbackEnd();
    return true;
}

void CZipArchive::CommitEntryChanges() {
    if (!CanModify() || !m_centralDir.AnyEntryModified())
        return;
    m_storage.Flush();
    const WORD uCount = GetCount();
    CZipArray<CZipChangeInfo> aChanges;
    LONGLONG iRunning = 0;
    for (WORD i = 0; i < uCount; i++) {
        CZipFileHeader* pHeader = m_centralDir[i];
        if (!pHeader->IsModified())
            continue;
        // Only the old local header's length matters here: its sizes and CRC
        // are the entry's and need no check.
        if (!pHeader->VerifyLocalHeader(&m_centralDir, 0x1E))
            m_storage.ThrowError(CZipException::badZipFile);
        // A Unicode name record that the central header no longer carries was
        // dropped by the rename: the local copy is stale as well.
        if (!pHeader->m_aCentralExtraData.HasHeader(CZipExtraField::idUnicodePath)) {
            const WORD uStale = CZipExtraField::idUnicodePath;
            pHeader->m_aLocalExtraData.RemoveHeaders(&uStale, 1);
        }
        CZipChangeInfo change;
        change.m_uIndex = i;
        change.m_uOldEnd = pHeader->m_uOffset + pHeader->GetLocalSize(true);
        iRunning += LONGLONG(pHeader->GetLocalSize(false)) - LONGLONG(pHeader->GetLocalSize(true));
        change.m_iDiff = iRunning;
        aChanges.Add(change);
    }

    const bool bDirectoryWasInFile = m_centralDir.IsDirectoryInArchive();
    m_centralDir.CutFromDisk();
    m_storage.Flush();
    const ULONGLONG uDataEnd = m_storage.GetArchiveDataLength();
    const INT_PTR iChanges = aChanges.GetSize();
    ULONGLONG uToMove = 0;
    for (INT_PTR k = 0; k < iChanges; k++) {
        CZipChangeInfo& change = aChanges[k];
        const ULONGLONG uEnd = k + 1 < iChanges
                                   ? ULONGLONG(m_centralDir[aChanges[k + 1].m_uIndex]->m_uOffset)
                                   : uDataEnd;
        if (uEnd < change.m_uOldEnd)
            m_storage.ThrowError(CZipException::badZipFile);
        change.m_uRegionEnd = DWORD(uEnd);
        if (change.m_iDiff != 0)
            uToMove += uEnd - change.m_uOldEnd;
    }
    if (iRunning > 0 && uDataEnd + ULONGLONG(iRunning) > kMaxFieldValue)
        m_storage.ThrowError(CZipException::tooBigSize);

    CZipAbstractFile* pFile = m_storage.m_pFile;
    if (iRunning > 0)
        pFile->SetLength(m_storage.m_uBytesBeforeZip + uDataEnd + ULONGLONG(iRunning));
    CZipActionCallback* pCallback = GetCallback(CZipActionCallback::cbModify);
    if (pCallback) {
        pCallback->Init(nullptr, GetArchivePath());
        pCallback->SetTotal(DWORD(std::min(uToMove, kMaxFieldValue)));
    }
    // Regions that move down go first, from the front, and then those that move
    // up, from the back: neither order lets a region land on bytes not yet moved.
    for (INT_PTR k = 0; k < iChanges; k++) {
        const CZipChangeInfo& change = aChanges[k];
        if (change.m_iDiff < 0)
            MoveArchiveData(change.m_uOldEnd, change.m_uRegionEnd, ULONGLONG(-change.m_iDiff),
                            pCallback, false, false);
    }
    for (INT_PTR k = iChanges - 1; k >= 0; k--) {
        const CZipChangeInfo& change = aChanges[k];
        if (change.m_iDiff > 0)
            MoveArchiveData(change.m_uOldEnd, change.m_uRegionEnd, ULONGLONG(change.m_iDiff),
                            pCallback, true, false);
    }
    if (pCallback && !pCallback->RequestLastCallback()) {
        pCallback->CallbackEnd();
        m_storage.ThrowError(CZipException::abortedAction);
    }
    m_pBuffer.Release();
    if (iRunning < 0)
        pFile->SetLength(m_storage.m_uBytesBeforeZip + uDataEnd - ULONGLONG(-iRunning));

    // Every entry moves by the difference of the changed headers before it; a
    // changed header itself by those strictly before it.
    INT_PTR iChange = 0;
    LONGLONG iDiff = 0;
    for (WORD i = 0; i < uCount; i++) {
        CZipFileHeader* pHeader = m_centralDir[i];
        const bool bChanged = iChange < iChanges && aChanges[iChange].m_uIndex == i;
        pHeader->m_uOffset = DWORD(LONGLONG(pHeader->m_uOffset) + iDiff);
        if (bChanged) {
            m_storage.Seek(pHeader->m_uOffset);
            pHeader->WriteLocalHeader(&m_storage);
            m_storage.Flush();
            pHeader->ClearModified();
            iDiff = aChanges[iChange].m_iDiff;
            iChange++;
        }
    }
    m_storage.m_pFile->SeekToEnd();
    if (pCallback)
        pCallback->CallbackEnd();
    // The directory bytes kept by the cut hold the old offsets and the old end
    // of the data; writing the directory anew replaces them, and an archive
    // that was complete before the rename is complete after it.
    if (bDirectoryWasInFile)
        WriteDirectory(true);
    FinalizeArchive(true);
}

bool CZipArchive::CopyEntryFromArchive(CZipArchive& zip, WORD uIndex, LPCSTR lpszNewFileName,
                                       WORD uReplaceIndex, bool bKeepSystComp,
                                       CZipActionCallback* pCallback) {
    if (&zip == this || IsClosed() || zip.IsClosed() || zip.m_iFileOpened != 0 || !CanModify(true))
        return false;
    if (!zip.m_centralDir.IsValidIndex(uIndex))
        return false;
    const bool bReplace = uReplaceIndex != 0xFFFF;
    if (bReplace && (m_storage.IsSegmented() || !m_centralDir.IsValidIndex(uReplaceIndex)))
        return false;
    if (!bReplace && GetCount() >= kMaxEntries)
        return false;

    CZipFileHeader* pSource = zip.m_centralDir[uIndex];
    zip.m_storage.Flush();
    if (!pSource->VerifyLocalHeader(&zip.m_centralDir, 0))
        zip.m_storage.ThrowError(CZipException::badZipFile);

    CZipFileHeader templ(*pSource);
    templ.m_pCentralDir = nullptr;
    CString szName = pSource->GetFileName();
    bool bNewName = false;
    if (lpszNewFileName && *lpszNewFileName && szName != lpszNewFileName) {
        szName = lpszNewFileName;
        bNewName = true;
    }
    if (!bKeepSystComp && templ.GetSystemCompatibility() != m_iArchiveSystCompatib) {
        templ.SetSystemCompatibility(m_iArchiveSystCompatib, true);
        // The raw bytes were encoded for the old host; UTF-8 ones stay valid.
        if ((templ.m_uFlag & CZipFileHeader::flUtf8) == 0) {
            bNewName = true;
            templ.SetComment(pSource->GetComment());
        }
    }
    if (bNewName) {
        templ.SetFileName(szName);
        const WORD uStale = CZipExtraField::idUnicodePath;
        templ.m_aLocalExtraData.RemoveHeaders(&uStale, 1);
        templ.m_aCentralExtraData.RemoveHeaders(&uStale, 1);
    }

    // Refused before the file is touched when a 32-bit field would overflow.
    const DWORD uDescriptor = pSource->IsDataDescriptor() || m_storage.IsSegmented() ? 16 : 0;
    const ULONGLONG uNeeded =
        ULONGLONG(templ.GetLocalSize(false)) + pSource->m_uComprSize + uDescriptor;
    ULONGLONG uFreed = 0;
    if (bReplace) {
        uFreed = EntryExtent(uReplaceIndex);
    }
    if (ArchiveDataEnd() + uNeeded - uFreed + m_centralDir.GetDirectorySize() +
            templ.GetCentralSize() >
        kMaxFieldValue)
        m_storage.ThrowError(CZipException::tooBigSize);

    CZipFileHeader* pNew =
        m_centralDir.AddEntry(templ, uReplaceIndex, pSource->GetCompressionLevel(), true);
    // Encrypted data keeps its encryption header, whose check byte depends on
    // whether a data descriptor follows: the flag must stay as it was.
    if (pSource->IsEncrypted() && !m_storage.IsSegmented())
        pNew->m_uFlag = WORD((pNew->m_uFlag & ~CZipFileHeader::flDataDescriptor) |
                             (pSource->m_uFlag & CZipFileHeader::flDataDescriptor));
    pNew->m_uLocalComprSize = pNew->m_uComprSize;
    pNew->m_uLocalUncomprSize = pNew->m_uUncomprSize;
    const bool bCanRollBack = !bReplace && !m_storage.IsSegmented();
    bool bAbortedAtEnd = false;
    try {
        if (bReplace) {
            const DWORD uTotal =
                pNew->GetLocalSize(false) + pNew->m_uComprSize +
                pNew->GetDataDescriptorSize(m_storage.IsSegmented() || pNew->IsEncrypted());
            ResizeReplacedEntrySpace(uReplaceIndex, uTotal, szName);
        } else {
            m_storage.Flush();
            // A failure before the local header is out must still cut here.
            pNew->m_uOffset = DWORD(m_storage.GetPosition());
        }
        pNew->WriteLocalHeader(&m_storage);

        const DWORD uBufferSize = std::max<DWORD>(m_iBufferSize, 4096);
        if (m_pBuffer.GetSize() != uBufferSize)
            m_pBuffer.Allocate(uBufferSize);
        if (pCallback) {
            pCallback->Init(szName, zip.GetArchivePath());
            pCallback->SetTotal(pSource->m_uComprSize);
        }
        DWORD uLeft = pSource->m_uComprSize;
        while (uLeft > 0) {
            const DWORD uRead = zip.m_storage.Read(m_pBuffer, std::min(uBufferSize, uLeft), false);
            m_storage.Write(m_pBuffer, uRead, false);
            uLeft -= uRead;
            if (!pCallback)
                continue;
            const bool bGoOn =
                uLeft == 0 ? pCallback->RequestLastCallback(uRead) : pCallback->Step(uRead);
            if (bGoOn)
                continue;
            if (uLeft == 0) {
                bAbortedAtEnd = true;
                break;
            }
            pCallback->CallbackEnd();
            if (!bCanRollBack) {
                m_centralDir.m_pOpenedFile = nullptr;
                m_storage.ThrowError(CZipException::abortedAction);
            }
            RollBackCopy();
            m_storage.ThrowError(CZipException::abortedSafely);
        }
        m_centralDir.CloseNewEntry();
    } catch (...) {
        if (bCanRollBack && m_centralDir.m_pOpenedFile == pNew)
            RollBackCopy();
        else if (m_centralDir.m_pOpenedFile == pNew)
            m_centralDir.m_pOpenedFile = nullptr;
        m_pBuffer.Release();
        throw;
    }
    m_pBuffer.Release();
    if (pCallback)
        pCallback->CallbackEnd();
    FinalizeArchive(true);
    if (bAbortedAtEnd)
        m_storage.ThrowError(CZipException::abortedSafely);
    return true;
}

void CZipArchive::RollBackCopy() {
    m_centralDir.RemoveLastEntry();
    m_centralDir.RestoreCutDirectory();
}

ULONGLONG CZipArchive::ArchiveDataEnd() const {
    const CZipCentralDir::CZipDirectoryInfo* pInfo = m_centralDir.GetInfo();
    if (pInfo && pInfo->m_bInArchive)
        return pInfo->m_uOffset;
    return m_storage.GetArchiveDataLength() + m_storage.m_uBytesInWriteBuffer;
}

ULONGLONG CZipArchive::EntryExtent(WORD uIndex) const {
    const ULONGLONG uStart = m_centralDir[uIndex]->m_uOffset;
    ULONGLONG uNext = ArchiveDataEnd();
    for (WORD i = 0; i < GetCount(); i++) {
        const ULONGLONG uOffset = m_centralDir[i]->m_uOffset;
        if (uOffset > uStart && uOffset < uNext)
            uNext = uOffset;
    }
    return uNext > uStart ? uNext - uStart : 0;
}
