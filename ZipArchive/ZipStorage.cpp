// ZipStorage.cpp: the archive file with its write buffer, the end-record search
// and the volumes of segmented archives.
#include "ZipStorage.h"

#include "ZipException.h"
#include "ZipPlatform.h"

#include <algorithm>
#include <cstring>

namespace {

const int kSegmentationBits =
    CZipStorage::stateSplit | CZipStorage::stateBinarySplit | CZipStorage::stateSpan;
const WORD kNoVolume = 0xFFFF;
const ULONGLONG kLargestSigned = 0x7FFFFFFFFFFFFFFFULL;
const char kSplitSignature[] = {0x50, 0x4B, 0x07, 0x08};

// Every open of the storage's own file denies other writers.
const UINT kCreateFlags = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
const UINT kOpenReadWriteFlags =
    CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyWrite;
const UINT kOpenReadOnlyFlags = CFile::modeNoTruncate | CFile::modeRead | CFile::shareDenyWrite;

} // namespace

const ULONGLONG CZipStorage::kSignatureNotFound;

CZipStorage::CZipStorage()
    : m_pFile(nullptr), m_uSplitData(0), m_uBytesInWriteBuffer(0), m_uCurrentVolSize(0),
      m_uBytesWritten(0), m_uCurrentVolume(kNoVolume), m_uBytesBeforeZip(0),
      m_iWriteBufferSize(kWriteBufferSize), m_iLocateBufferSize(kSearchBufferSize), m_iState(0),
      m_pSplitNamesHandler(nullptr), m_bAutoDeleteSplitNamesHandler(false),
      m_pCachedSizes(nullptr) {}

CZipStorage::~CZipStorage() {
    if (IsOpened()) {
        try {
            Close(false);
        } catch (CException* e) {
            e->Delete();
        }
    }
    ResetState();
}

void CZipStorage::ResetState() {
    m_pWriteBuffer.Release();
    m_uBytesInWriteBuffer = 0;
    m_uBytesWritten = 0;
    m_uCurrentVolSize = 0;
    m_uSplitData = 0;
    m_uCurrentVolume = kNoVolume;
    m_iState = 0;
    m_pFile = nullptr;
    m_uBytesBeforeZip = 0;
    DropSplitNamesHandler();
    delete m_pCachedSizes;
    m_pCachedSizes = nullptr;
}

void CZipStorage::Open(LPCSTR lpszPathName, int iMode, ULONGLONG uVolumeSize) {
    m_uCurrentVolume = kNoVolume;
    m_pWriteBuffer.Allocate(static_cast<DWORD>(m_iWriteBufferSize));
    m_uBytesInWriteBuffer = 0;
    m_iState = stateOpened | stateAutoClose;
    m_pFile = &m_internalfile;
    m_szArchiveName = lpszPathName;
    try {
        if (iMode & zipCreate) {
            m_uCurrentVolume = 0;
            if (!(iMode & zipModeSegmented)) {
                const bool bAppend = (iMode & zipCreateAppend) == zipCreateAppend;
                m_internalfile.Open(lpszPathName, bAppend ? kOpenReadWriteFlags : kCreateFlags,
                                    true);
                // Appending writes after what the file holds, never over it.
                if (bAppend)
                    m_internalfile.SeekToEnd();
                return;
            }
            if (iMode & zipModeSpan)
                ThrowError(CZipException::noCallback);
            if (uVolumeSize == 0)
                ThrowError(CZipException::noVolumeSize);
            // A volume cannot hold more than a 32-bit offset can reach.
            m_uSplitData = static_cast<DWORD>(std::min<ULONGLONG>(uVolumeSize, 0xFFFFFFFFULL));
            if (iMode & zipModeBinSplit) {
                m_iState |= stateBinarySplit;
                delete m_pCachedSizes;
                m_pCachedSizes = new CZipArray<unsigned long long>;
            } else {
                m_iState |= stateSplit;
            }
            MakeSplitNamesHandler();
            m_uBytesWritten = 0;
            StartNextVolume(sizeof(kSplitSignature));
            Write(kSplitSignature, sizeof(kSplitSignature), true);
            return;
        }
        m_iState |= stateExisting;
        const bool bReadOnly = (iMode & zipOpenReadOnly) == zipOpenReadOnly;
        if (bReadOnly)
            m_iState |= stateReadOnly;
        m_internalfile.Open(lpszPathName, bReadOnly ? kOpenReadOnlyFlags : kOpenReadWriteFlags,
                            true);
        if (iMode & zipModeSpan) {
            m_iState |= stateSpan;
        } else if (iMode & zipModeBinSplit) {
            m_iState |= stateBinarySplit;
            MakeSplitNamesHandler();
            const DWORD uNumber = m_pSplitNamesHandler->VolumeNumber(lpszPathName);
            if (uNumber == 0)
                ThrowError(CZipException::badZipFile);
            if (uNumber > kNoVolume)
                ThrowError(CZipException::tooManyVolumes);
            m_uCurrentVolume = static_cast<WORD>(uNumber - 1);
            if (m_uCurrentVolume > 0) {
                m_uSplitData = m_uCurrentVolume;
                CacheSizes();
            } else {
                // A binary split archive of one piece is an ordinary archive.
                DropSplitNamesHandler();
                m_iState &= ~kSegmentationBits;
            }
        } else if (iMode & zipModeSplit) {
            m_iState |= stateSplit;
        }
    } catch (...) {
        m_internalfile.Abort();
        ResetState();
        throw;
    }
}

void CZipStorage::OpenOnFile(CZipAbstractFile& file, int iMode, bool bAutoClose) {
    m_pWriteBuffer.Allocate(static_cast<DWORD>(m_iWriteBufferSize));
    m_uBytesInWriteBuffer = 0;
    m_iState = stateOpened | (bAutoClose ? stateAutoClose : 0);
    m_pFile = &file;
    m_uCurrentVolume = kNoVolume;
    m_szArchiveName.Empty();
    if (iMode & zipCreate) {
        m_uCurrentVolume = 0;
        if ((iMode & zipCreateAppend) == zipCreateAppend) {
            file.SeekToEnd();
        } else {
            file.SetLength(0);
            file.SeekToBegin();
        }
    } else {
        m_iState |= stateExisting;
        if ((iMode & zipOpenReadOnly) == zipOpenReadOnly)
            m_iState |= stateReadOnly;
        file.SeekToBegin();
    }
}

CString CZipStorage::Close(bool bWrite, bool bGetLastVolumeName) {
    CString szName;
    bool bClosed = false;
    if (bWrite) {
        Flush();
        if (IsSplit() && !IsExisting()) {
            szName = RenameLastVolume();
            bClosed = true;
        }
    }
    if (bGetLastVolumeName && szName.IsEmpty()) {
        if (IsSplit() && IsExisting())
            szName = NamesHandler().VolumeName(m_szArchiveName, m_uSplitData + 1u,
                                               CZipSplitNamesHandler::flLast |
                                                   CZipSplitNamesHandler::flExisting);
        else if (m_pFile != nullptr)
            szName = m_pFile->GetFilePath();
    }
    if (!bClosed && m_pFile != nullptr && !m_pFile->IsClosed()) {
        if (bWrite && !IsReadOnly())
            m_pFile->Flush();
        if (IsState(stateAutoClose))
            m_pFile->Close();
    }
    ResetState();
    return szName;
}

void CZipStorage::Write(const void* pBuf, DWORD iSize, bool bAtOnce) {
    if (iSize == 0)
        return;
    // An existing segmented archive has no write buffer: it is read-only.
    if (!m_pWriteBuffer.IsAllocated())
        ThrowError(CZipException::genericError);
    const char* pSource = static_cast<const char*>(pBuf);
    const DWORD uBufferSize = m_pWriteBuffer.GetSize();
    // In a binary split archive the pieces are cut anywhere, so nothing is kept whole.
    const DWORD uWhole = IsSegmented() && bAtOnce && !IsBinarySplit() ? iSize : 1;
    while (iSize > 0) {
        // Starting a volume flushes the buffer, so its room is measured after.
        if (IsSegmented())
            AssureFree(std::min(uWhole, iSize));
        DWORD uCount = std::min(iSize, uBufferSize - m_uBytesInWriteBuffer);
        if (IsSegmented())
            uCount = std::min(uCount, VolumeLeft());
        memcpy(m_pWriteBuffer.GetBuffer() + m_uBytesInWriteBuffer, pSource, uCount);
        m_uBytesInWriteBuffer += uCount;
        pSource += uCount;
        iSize -= uCount;
        if (m_uBytesInWriteBuffer == uBufferSize)
            Flush();
    }
}

void CZipStorage::Flush() {
    if (m_uBytesInWriteBuffer == 0)
        return;
    m_pFile->Write(m_pWriteBuffer.GetBuffer(), m_uBytesInWriteBuffer);
    if (IsSegmented())
        m_uBytesWritten += m_uBytesInWriteBuffer;
    m_uBytesInWriteBuffer = 0;
}

void CZipStorage::FlushFile() {
    if (m_pFile != nullptr && !IsReadOnly())
        m_pFile->Flush();
}

bool CZipStorage::HasNextVolume() const {
    return IsExistingSegmented() && m_uCurrentVolume < m_uSplitData;
}

DWORD CZipStorage::Read(void* pBuf, DWORD iSize, bool bAtOnce) {
    if (iSize == 0)
        return 0;
    char* pTarget = static_cast<char*>(pBuf);
    DWORD uRead = m_pFile->Read(pTarget, iSize);
    // A read that starts exactly at the end of a volume goes on with the next one.
    while (uRead == 0) {
        if (!HasNextVolume())
            ThrowError(CZipException::badZipFile);
        ChangeVolume(static_cast<WORD>(m_uCurrentVolume + 1));
        uRead = m_pFile->Read(pTarget, iSize);
    }
    if (uRead < iSize) {
        if (!IsSegmented() || (bAtOnce && !IsBinarySplit()))
            ThrowError(CZipException::badZipFile);
        while (uRead < iSize) {
            if (!HasNextVolume())
                ThrowError(CZipException::badZipFile);
            ChangeVolume(static_cast<WORD>(m_uCurrentVolume + 1));
            const DWORD uPiece = m_pFile->Read(pTarget + uRead, iSize - uRead);
            if (uPiece == 0)
                ThrowError(CZipException::badZipFile);
            uRead += uPiece;
        }
    }
    return uRead;
}

ULONGLONG CZipStorage::Seek(ULONGLONG uOffset, bool bFromBeginning) {
    if (IsBinarySplit() && bFromBeginning) {
        if (uOffset > kLargestSigned)
            ThrowError(CZipException::genericError);
        SeekInBinary(static_cast<LONGLONG>(uOffset), true);
        return GetPosition();
    }
    if (bFromBeginning && m_uCurrentVolume == 0 && uOffset <= kLargestSigned)
        uOffset += m_uBytesBeforeZip;
    return m_pFile->SafeSeek(uOffset, bFromBeginning);
}

void CZipStorage::SeekInBinary(LONGLONG lOff, bool bSeekToBegin) {
    LONGLONG lTarget = lOff;
    if (!bSeekToBegin)
        lTarget += static_cast<LONGLONG>(GetPosition());
    if (lTarget < 0)
        ThrowError(CZipException::genericError);
    // A new archive can only move within the volume being written.
    const WORD uLast = IsExisting() ? static_cast<WORD>(m_uSplitData) : m_uCurrentVolume;
    ULONGLONG uRest = static_cast<ULONGLONG>(lTarget);
    WORD uVolume = 0;
    while (uVolume < uLast) {
        const ULONGLONG uSize = GetCachedSize(uVolume);
        if (uRest < uSize)
            break;
        uRest -= uSize;
        uVolume++;
    }
    if (uVolume != m_uCurrentVolume) {
        if (!IsExisting())
            ThrowError(CZipException::genericError);
        ChangeVolume(uVolume);
    }
    if (uVolume == 0)
        uRest += m_uBytesBeforeZip;
    m_pFile->Seek(static_cast<LONGLONG>(uRest), CZipAbstractFile::begin);
}

ULONGLONG CZipStorage::GetPosition() const {
    ULONGLONG uPosition = m_pFile->GetPosition() + m_uBytesInWriteBuffer;
    if (m_uCurrentVolume == 0) {
        uPosition = uPosition > m_uBytesBeforeZip ? uPosition - m_uBytesBeforeZip : 0;
    } else if (IsBinarySplit() && m_uCurrentVolume != kNoVolume) {
        for (WORD uVolume = 0; uVolume < m_uCurrentVolume; uVolume++)
            uPosition += GetCachedSize(uVolume);
    }
    return uPosition;
}

ULONGLONG CZipStorage::GetArchiveDataLength() const {
    const ULONGLONG uLength = m_pFile->GetLength();
    return uLength > m_uBytesBeforeZip ? uLength - m_uBytesBeforeZip : 0;
}

ULONGLONG CZipStorage::SearchFile(const char* szSignature, ULONGLONG uDepth, ULONGLONG uBase,
                                  ULONGLONG uBelow, char* pCarry, DWORD& uCarry) {
    const ULONGLONG uLength = m_pFile->GetLength();
    const ULONGLONG uStop = uLength - std::min(uLength, uDepth);
    const DWORD uBlockSize = static_cast<DWORD>(std::max(m_iLocateBufferSize, 4));
    // The block is followed by the first bytes of the block searched before it,
    // so that a signature across a block edge (or a volume edge) is seen whole.
    CZipAutoBuffer buffer(uBlockSize + 3);
    char* pBuffer = buffer.GetBuffer();
    ULONGLONG uEnd = uLength;
    while (uEnd > uStop) {
        const DWORD uBlock = static_cast<DWORD>(std::min<ULONGLONG>(uBlockSize, uEnd - uStop));
        const ULONGLONG uStart = uEnd - uBlock;
        m_pFile->Seek(static_cast<LONGLONG>(uStart), CZipAbstractFile::begin);
        if (m_pFile->Read(pBuffer, uBlock) != uBlock)
            ThrowError(CZipException::badZipFile);
        memcpy(pBuffer + uBlock, pCarry, uCarry);
        const DWORD uFilled = uBlock + uCarry;
        for (DWORD i = uBlock; i-- > 0;) {
            if (i + 4 <= uFilled && memcmp(pBuffer + i, szSignature, 4) == 0) {
                const ULONGLONG uFound = uBase + uStart + i;
                if (uFound < uBelow)
                    return uFound;
            }
        }
        uCarry = std::min<DWORD>(3, uFilled);
        memcpy(pCarry, pBuffer, uCarry);
        uEnd = uStart;
    }
    return kSignatureNotFound;
}

ULONGLONG CZipStorage::FindSignature(const char* szSignature, ULONGLONG uMaxDepth,
                                     ULONGLONG uBelow) {
    char carry[3];
    DWORD uCarry = 0;
    if (!IsBinarySplit())
        return SearchFile(szSignature, uMaxDepth, 0, uBelow, carry, uCarry);
    // The pieces of a binary split archive are one byte stream: the search goes
    // on into earlier pieces and answers stream offsets.
    WORD uVolume = static_cast<WORD>(m_uSplitData);
    ULONGLONG uDepth = uMaxDepth;
    for (;;) {
        ChangeVolume(uVolume);
        ULONGLONG uBase = 0;
        for (WORD uEarlier = 0; uEarlier < uVolume; uEarlier++)
            uBase += GetCachedSize(uEarlier);
        const ULONGLONG uFound = SearchFile(szSignature, uDepth, uBase, uBelow, carry, uCarry);
        if (uFound != kSignatureNotFound)
            return uFound;
        const ULONGLONG uSize = GetCachedSize(uVolume);
        if (uSize >= uDepth || uVolume == 0)
            return kSignatureNotFound;
        uDepth -= uSize;
        uVolume--;
    }
}

void CZipStorage::SetVolumeMode(WORD uLastVolume) {
    // Other volumes are files beside the archive's path: a caller's file object
    // (a memory archive) has none, and changing volume would close it.
    if (uLastVolume > 0 && m_pFile != &m_internalfile)
        ThrowError(CZipException::badZipFile);
    if (!IsBinarySplit())
        m_uCurrentVolume = uLastVolume;
    if (uLastVolume == 0 && !IsBinarySplit()) {
        m_iState &= ~kSegmentationBits;
        return;
    }
    if (!IsSegmented())
        m_iState |= ZipPlatform::IsRemovableDrive(m_szArchiveName) ? stateSpan : stateSplit;
    // Reading a spanned archive needs a volume-change callback, which there is not.
    if (IsSpanned())
        ThrowError(CZipException::noCallback);
    MakeSplitNamesHandler();
    if (!IsBinarySplit())
        m_uSplitData = uLastVolume;
    m_pWriteBuffer.Release();
    m_uBytesInWriteBuffer = 0;
}

void CZipStorage::ChangeVolume(WORD uNumber) {
    if (uNumber == m_uCurrentVolume || !IsSegmented())
        return;
    const int iFlags = (uNumber == m_uSplitData ? CZipSplitNamesHandler::flLast : 0) |
                       CZipSplitNamesHandler::flExisting;
    const CString szName = NamesHandler().VolumeName(m_szArchiveName, uNumber + 1u, iFlags);
    m_uCurrentVolume = uNumber;
    m_pFile->Close();
    m_internalfile.Open(szName, kOpenReadOnlyFlags, true);
    m_pFile = &m_internalfile;
}

void CZipStorage::StartNextVolume(DWORD /* uNeeded: AssureFree sizes the volume */) {
    Flush();
    const WORD uClosedVolume = m_uCurrentVolume;
    if (m_uBytesWritten > 0) {
        m_uBytesWritten = 0;
        if (m_uCurrentVolume + 1 >= kNoVolume)
            ThrowError(CZipException::tooManyVolumes);
        m_uCurrentVolume++;
    }
    const CString szName =
        NamesHandler().VolumeName(m_szArchiveName, m_uCurrentVolume + 1u,
                                  IsExisting() ? CZipSplitNamesHandler::flExisting : 0);
    if (!m_pFile->IsClosed()) {
        m_pFile->Flush();
        if (IsBinarySplit() && uClosedVolume != m_uCurrentVolume)
            m_pCachedSizes->SetAtGrow(uClosedVolume, m_pFile->GetLength());
        m_pFile->Close();
    }
    m_uCurrentVolSize = m_uSplitData;
    m_internalfile.Open(szName, kCreateFlags, true);
    m_pFile = &m_internalfile;
}

CString CZipStorage::RenameLastVolume() {
    const CString szCurrent = NamesHandler().VolumeName(m_szArchiveName, m_uCurrentVolume + 1u, 0);
    // An archive that stayed on its first volume takes the archive's own name
    // (a binary split piece would otherwise keep its ".001").
    const CString szFinal = m_uCurrentVolume == 0
                                ? m_szArchiveName
                                : NamesHandler().VolumeName(m_szArchiveName, m_uCurrentVolume + 1u,
                                                            CZipSplitNamesHandler::flLast);
    Flush();
    m_pFile->Flush();
    if (IsBinarySplit() && m_uCurrentVolume > 0)
        m_pCachedSizes->SetAtGrow(m_uCurrentVolume, m_pFile->GetLength());
    m_pFile->Close();
    if (szCurrent.CollateNoCase(szFinal) != 0) {
        if (ZipPlatform::GetPathKind(szFinal) != 0)
            ZipPlatform::DeleteFileOrThrow(szFinal);
        ZipPlatform::MoveFileOrThrow(szCurrent, szFinal);
    }
    return szFinal;
}

void CZipStorage::FinishSegmentedArchive() {
    const CString szLast = RenameLastVolume();
    m_iState |= stateExisting;
    if (m_uCurrentVolume > 0) {
        m_uSplitData = m_uCurrentVolume;
        m_szArchiveName = szLast;
        m_pWriteBuffer.Release();
    } else {
        DropSplitNamesHandler();
        delete m_pCachedSizes;
        m_pCachedSizes = nullptr;
        m_iState &= ~kSegmentationBits;
    }
    // An archive that became ordinary is rewritten by the central directory, so
    // it must stay writable; a segmented one is read-only from now on.
    m_internalfile.Open(szLast, IsSegmented() ? kOpenReadOnlyFlags : kOpenReadWriteFlags, true);
    m_pFile = &m_internalfile;
}

void CZipStorage::AssureFree(DWORD uNeeded) {
    while (VolumeLeft() < uNeeded) {
        if (IsSplit() && m_uBytesWritten == 0 && m_uBytesInWriteBuffer == 0)
            m_uCurrentVolSize = uNeeded;
        else
            StartNextVolume(uNeeded);
    }
}

DWORD CZipStorage::VolumeLeft() const {
    const ULONGLONG uUsed = m_uBytesWritten + m_uBytesInWriteBuffer;
    return uUsed >= m_uCurrentVolSize ? 0 : static_cast<DWORD>(m_uCurrentVolSize - uUsed);
}

void CZipStorage::ThrowError(int iErr) const {
    const CString szPath =
        m_pFile != nullptr && !m_pFile->IsClosed() ? m_pFile->GetFilePath() : m_szArchiveName;
    CZipException::Raise(iErr, szPath);
}

void CZipStorage::SetSplitNamesHandler(CZipSplitNamesHandler* pHandler, bool bAutoDelete) {
    DropSplitNamesHandler();
    m_pSplitNamesHandler = pHandler;
    m_bAutoDeleteSplitNamesHandler = bAutoDelete;
}

void CZipStorage::MakeSplitNamesHandler() {
    if (m_pSplitNamesHandler == nullptr) {
        if (IsBinarySplit())
            m_pSplitNamesHandler = new CZipBinSplitNamesHandler;
        else
            m_pSplitNamesHandler = new CZipRegularSplitNamesHandler;
        m_bAutoDeleteSplitNamesHandler = true;
    }
    m_pSplitNamesHandler->Prepare(m_szArchiveName);
}

void CZipStorage::DropSplitNamesHandler() {
    if (m_bAutoDeleteSplitNamesHandler)
        delete m_pSplitNamesHandler;
    m_pSplitNamesHandler = nullptr;
    m_bAutoDeleteSplitNamesHandler = false;
}

CZipSplitNamesHandler& CZipStorage::NamesHandler() const {
    if (m_pSplitNamesHandler == nullptr)
        ThrowError(CZipException::genericError);
    return *m_pSplitNamesHandler;
}

ULONGLONG CZipStorage::GetCachedSize(WORD uVolume) const {
    if (m_pCachedSizes == nullptr || uVolume >= m_pCachedSizes->GetSize())
        ThrowError(CZipException::genericError);
    return (*m_pCachedSizes)[uVolume];
}

void CZipStorage::CacheSizes() {
    const WORD uLast = m_uCurrentVolume;
    delete m_pCachedSizes;
    m_pCachedSizes = new CZipArray<unsigned long long>;
    m_pCachedSizes->SetSize(uLast + 1);
    for (int iVolume = uLast; iVolume >= 0; iVolume--) {
        ChangeVolume(static_cast<WORD>(iVolume));
        (*m_pCachedSizes)[iVolume] = m_pFile->GetLength();
    }
    ChangeVolume(uLast);
}
