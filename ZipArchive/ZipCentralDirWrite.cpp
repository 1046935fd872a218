// ZipCentralDirWrite.cpp: writing the central directory and its end record,
// cutting the directory off the file before a change (and putting it back when
// the change fails), and turning a new split archive that fits its first volume
// into a plain one.
#include "ZipCentralDir.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipPlatform.h"
#include "ZipStorage.h"

#include <cstring>

namespace {

const char kEndSignature[] = {0x50, 0x4B, 0x05, 0x06};
const char kSplitSignature[] = {0x50, 0x4B, 0x07, 0x08};
// Room after the directory for what may follow it in another tool's archive:
// Zip64 end records (76 bytes), the end record and the longest comment.
const ULONGLONG kTrailerRoom = 76 + CZipCentralDir::kEndRecordSize + 0xFFFF;
const ULONGLONG kMax32 = 0xFFFFFFFF;

void PutWord(char* p, WORD u) {
    p[0] = char(u & 0xFF);
    p[1] = char(u >> 8);
}
void PutDword(char* p, DWORD u) {
    PutWord(p, WORD(u & 0xFFFF));
    PutWord(p + 2, WORD(u >> 16));
}

} // namespace

ULONGLONG CZipCentralDir::GetDirectorySize64(bool bWhole) const {
    ULONGLONG uSize = kEndRecordSize + m_pInfo->m_pszComment.GetSize();
    if (bWhole)
        for (const CZipFileHeader* pHeader : *m_pHeaders)
            uSize += pHeader->GetCentralSize();
    return uSize;
}

DWORD CZipCentralDir::GetDirectorySize(bool bWhole) const {
    const ULONGLONG uSize = GetDirectorySize64(bWhole);
    return uSize > kMax32 ? DWORD(kMax32) : DWORD(uSize);
}

// ---- cutting and restoring

void CZipCentralDir::ForgetCutDirectory() {
    m_cutDirectory.Release();
    m_iCutHeaderCount = 0;
}

void CZipCentralDir::CutFromDisk() {
    // A directory written without a flush may still sit in the buffer.
    m_pStorage->Flush();
    if (!m_pInfo->m_bInArchive)
        return;
    CZipAbstractFile* pFile = m_pStorage->m_pFile;
    const ULONGLONG uStart = m_pStorage->m_uBytesBeforeZip + m_pInfo->m_uOffset;
    const ULONGLONG uLength = pFile->GetLength();
    ForgetCutDirectory();
    // The bytes are kept so that a change failing before the directory is
    // written again can leave the file exactly as it was.
    if (uLength > uStart && uLength - uStart <= m_pInfo->m_uSize + kTrailerRoom) {
        const DWORD uKept = DWORD(uLength - uStart);
        m_cutDirectory.Allocate(uKept);
        pFile->SafeSeek(uStart);
        DWORD uRead = 0;
        for (UINT uChunk = 1; uRead < uKept && uChunk != 0; uRead += uChunk)
            uChunk = pFile->Read(m_cutDirectory.GetBuffer() + uRead, uKept - uRead);
        if (uRead == uKept) {
            m_uCutDirectoryOffset = uStart;
            m_iCutHeaderCount = m_pHeaders->GetSize();
        } else
            ForgetCutDirectory();
    }
    pFile->SetLength(uStart);
    pFile->SeekToEnd();
    m_pInfo->m_bInArchive = false;
}

bool CZipCentralDir::RestoreCutDirectory() {
    // Only while the archive holds the entries it held at the cut: a failed add
    // has dropped its entry (RemoveLastEntry) before asking for this.
    if (!m_cutDirectory.IsAllocated() || m_pInfo->m_bInArchive ||
        m_pHeaders->GetSize() != m_iCutHeaderCount)
        return false;
    m_pStorage->DiscardWriteBuffer();
    CZipAbstractFile* pFile = m_pStorage->m_pFile;
    pFile->SetLength(m_uCutDirectoryOffset);
    pFile->SafeSeek(m_uCutDirectoryOffset);
    pFile->Write(m_cutDirectory.GetBuffer(), m_cutDirectory.GetSize());
    pFile->Flush();
    m_pInfo->m_bInArchive = true;
    ForgetCutDirectory();
    return true;
}

// ---- storing

void CZipCentralDir::Store() {
    if (m_pInfo->m_bInArchive)
        return;
    CZipDirectoryInfo& info = *m_pInfo;
    const ULONGLONG uDirectorySize = GetDirectorySize64(true);
    if (uDirectorySize > kMax32)
        m_pStorage->ThrowError(CZipException::tooBigSize);
    info.m_uEntriesNumber = GetCount();

    bool bConverted = false;
    if (!m_pStorage->IsSegmented()) {
        m_pStorage->Flush();
        m_pStorage->m_pFile->SeekToEnd();
    } else if (m_pStorage->IsNewSegmented() && m_pStorage->GetCurrentVolume() == 0) {
        ULONGLONG uNeeded = uDirectorySize - 4;
        for (const CZipFileHeader* pHeader : *m_pHeaders)
            if (pHeader->m_uEncryptionMethod != CZipFileHeader::encStandard)
                uNeeded -= pHeader->GetDataDescriptorSize(true);
        if (ULONGLONG(m_pStorage->m_uBytesWritten) + m_pStorage->m_uBytesInWriteBuffer + uNeeded <=
            m_pStorage->m_uCurrentVolSize)
            bConverted = RemoveDataDescr(m_pStorage->m_uBytesWritten == 0);
    }
    if (m_pStorage->IsSegmented() && !bConverted)
        m_pStorage->AssureFree(DWORD(uDirectorySize));

    try {
        WriteHeaders(bConverted || !m_pStorage->IsSegmented());
        WriteEndRecord();
        if (bConverted && m_pStorage->GetCurrentVolume() != 0)
            m_pStorage->ThrowError(CZipException::badZipFile);
    } catch (...) {
        if (bConverted) {
            try {
                m_pStorage->FinishSegmentedArchive();
            } catch (CException* e) {
                e->Delete(); // the first failure is the one to report
            }
            info.m_uThisVolume = 0;
        }
        throw;
    }
    info.m_bInArchive = true;
    ForgetCutDirectory();
}

void CZipCentralDir::WriteHeaders(bool bOneDisk) {
    CZipDirectoryInfo& info = *m_pInfo;
    const ULONGLONG uStart = m_pStorage->GetPosition();
    if (uStart > kMax32)
        m_pStorage->ThrowError(CZipException::tooBigSize);
    // Where the directory begins in the current file, to cut back to on a refusal.
    const ULONGLONG uStartInFile =
        m_pStorage->m_pFile->GetPosition() + m_pStorage->m_uBytesInWriteBuffer;
    const bool bVolumes = m_pStorage->IsSegmented() && !m_pStorage->IsBinarySplit();
    const WORD uCount = GetCount();

    CZipActionCallback* pCallback =
        m_pArchive != nullptr ? m_pArchive->GetCallback(CZipActionCallback::cbSave) : nullptr;
    if (pCallback != nullptr) {
        pCallback->Init();
        pCallback->SetTotal(uCount);
    }
    info.m_uVolumeEntriesNo = 0;
    info.m_uVolumeWithCD = bVolumes ? m_pStorage->GetCurrentVolume() : 0;
    info.m_uOffset = DWORD(uStart);
    m_uLastHeaderVolume = info.m_uVolumeWithCD;
    ULONGLONG uSize = 0;
    for (WORD i = 0; i < uCount; i++) {
        uSize += (*m_pHeaders)[i]->WriteCentralHeader(m_pStorage);
        const WORD uVolume = bVolumes ? m_pStorage->GetCurrentVolume() : 0;
        if (uVolume != m_uLastHeaderVolume) {
            m_uLastHeaderVolume = uVolume;
            info.m_uVolumeEntriesNo = 1;
            if (i == 0) {
                info.m_uOffset = 0;
                info.m_uVolumeWithCD = uVolume;
            }
        } else
            info.m_uVolumeEntriesNo++;
        if (pCallback == nullptr)
            continue;
        const bool bGoOn = i + 1 == uCount ? pCallback->RequestLastCallback(1) : pCallback->Step(1);
        if (bGoOn)
            continue;
        pCallback->CallbackEnd();
        if (!bOneDisk)
            m_pStorage->ThrowError(CZipException::abortedAction);
        // Drop the directory's bytes, wherever they are, and keep what precedes it.
        CZipAbstractFile* pFile = m_pStorage->m_pFile;
        const ULONGLONG uFlushed = pFile->GetPosition();
        if (uStartInFile >= uFlushed)
            m_pStorage->m_uBytesInWriteBuffer = DWORD(uStartInFile - uFlushed);
        else {
            m_pStorage->DiscardWriteBuffer();
            pFile->SetLength(uStartInFile);
            pFile->SeekToEnd();
            if (m_pStorage->IsSegmented())
                m_pStorage->m_uBytesWritten = DWORD(uStartInFile);
        }
        m_pStorage->ThrowError(CZipException::abortedSafely);
    }
    info.m_uSize = DWORD(uSize);
    if (pCallback != nullptr)
        pCallback->CallbackEnd();
}

DWORD CZipCentralDir::WriteEndRecord() {
    CZipDirectoryInfo& info = *m_pInfo;
    const DWORD uCommentSize = info.m_pszComment.GetSize();
    const DWORD uLength = kEndRecordSize + uCommentSize;
    info.m_uThisVolume = 0;
    if (m_pStorage->IsSegmented()) {
        m_pStorage->AssureFree(uLength);
        if (!m_pStorage->IsBinarySplit()) {
            info.m_uThisVolume = m_pStorage->GetCurrentVolume();
            if (info.m_uThisVolume != m_uLastHeaderVolume)
                info.m_uVolumeEntriesNo = 0;
        }
    }
    info.m_uEndOffset = m_pStorage->m_pFile->GetPosition() + m_pStorage->m_uBytesInWriteBuffer;

    CZipAutoBuffer record(uLength);
    char* p = record.GetBuffer();
    memcpy(p, kEndSignature, 4);
    PutWord(p + 4, info.m_uThisVolume);
    PutWord(p + 6, info.m_uVolumeWithCD);
    PutWord(p + 8, info.m_uVolumeEntriesNo);
    PutWord(p + 10, info.m_uEntriesNumber);
    PutDword(p + 12, info.m_uSize);
    PutDword(p + 16, info.m_uOffset);
    PutWord(p + 20, WORD(uCommentSize));
    if (uCommentSize != 0)
        memcpy(p + kEndRecordSize, info.m_pszComment.GetBuffer(), uCommentSize);
    m_pStorage->Write(p, uLength, true);
    return uLength;
}

// ---- a split archive that fits its first volume

bool CZipCentralDir::RemoveDataDescr(bool bFromBuffer) {
    char* pData = nullptr;
    ULONGLONG uLength = 0;
    CZipFile* pFile = nullptr;
    ZipPlatform::CZipFileMapping mapping;
    if (bFromBuffer) {
        pData = m_pStorage->m_pWriteBuffer.GetBuffer();
        uLength = m_pStorage->m_uBytesInWriteBuffer;
    } else {
        m_pStorage->Flush();
        // Split volumes are always the storage's own files; without a mapping
        // the archive simply stays split.
        pFile = dynamic_cast<CZipFile*>(m_pStorage->m_pFile);
        if (pFile == nullptr || !ZipPlatform::MapWholeFile(*pFile, mapping))
            return false;
        pData = static_cast<char*>(mapping.m_pFileMap);
        uLength = pFile->GetLength();
    }
    if (uLength < 4 || memcmp(pData, kSplitSignature, 4) != 0) {
        if (pFile != nullptr)
            ZipPlatform::UnmapWholeFile(mapping);
        return false;
    }

    // Entries move down over the split signature and over every data
    // descriptor removed before them; an entry encrypted the traditional way
    // keeps its descriptor (its check byte came from the time, not the CRC).
    DWORD uShift = 4;
    const INT_PTR iCount = m_pHeaders->GetSize();
    for (INT_PTR i = 0; i < iCount; i++) {
        CZipFileHeader* pHeader = (*m_pHeaders)[i];
        const ULONGLONG uStart = pHeader->m_uOffset;
        const ULONGLONG uEnd =
            i + 1 < iCount ? ULONGLONG((*m_pHeaders)[i + 1]->m_uOffset) : uLength;
        DWORD uDescriptor = 0;
        if (pHeader->IsDataDescriptor() &&
            pHeader->m_uEncryptionMethod != CZipFileHeader::encStandard) {
            uDescriptor = pHeader->GetDataDescriptorSize(true);
            pHeader->m_uFlag &= ~WORD(CZipFileHeader::flDataDescriptor);
            pHeader->m_uLocalComprSize = pHeader->m_uComprSize;
            pHeader->m_uLocalUncomprSize = pHeader->m_uUncomprSize;
            char* pLocal = pData + uStart;
            PutWord(pLocal + 6, pHeader->m_uFlag);
            PutDword(pLocal + 14, pHeader->m_bIgnoreCrc32 ? 0 : pHeader->m_uCrc32);
            PutDword(pLocal + 18, pHeader->m_uLocalComprSize);
            PutDword(pLocal + 22, pHeader->m_uLocalUncomprSize);
        }
        memmove(pData + uStart - uShift, pData + uStart, size_t(uEnd - uStart - uDescriptor));
        pHeader->m_uOffset -= uShift;
        uShift += uDescriptor;
    }

    const ULONGLONG uNewLength = uLength - uShift;
    if (bFromBuffer)
        m_pStorage->m_uBytesInWriteBuffer = DWORD(uNewLength);
    else {
        ZipPlatform::UnmapWholeFile(mapping);
        pFile->SetLength(uNewLength);
        pFile->SeekToEnd();
        m_pStorage->m_uBytesWritten = DWORD(uNewLength);
    }
    return true;
}
