// ZipArchiveAdd.cpp: adding entries: files and folders from disk or from a
// source object, new entries written by the caller, and taking a failed or
// refused entry back out so that the archive on disk is what it was.
#include "ZipArchive.h"

#include "ZipCompatibility.h"
#include "ZipException.h"
#include "ZipPathComponent.h"
#include "ZipPlatform.h"

namespace {

// Every 32-bit field of the archive must stay below this: 0xFFFFFFFF itself
// tells other tools to look for Zip64 records, which this program never writes.
const ULONGLONG kLimit32 = 0xFFFFFFFFULL;

// The most that raw deflate can make of uUncompressed bytes, generously above
// zlib's own bound (stored blocks of incompressible data and block ends).
ULONGLONG DeflatedBound(ULONGLONG uUncompressed) {
    return uUncompressed + (uUncompressed >> 10) + 64;
}

// Puts the password aside for one add and back when the add ends, however it ends.
class CPasswordAside {
public:
    explicit CPasswordAside(CZipAutoBuffer& password) : m_password(password) {}
    ~CPasswordAside() { Restore(); }
    CPasswordAside(const CPasswordAside&) = delete;
    CPasswordAside& operator=(const CPasswordAside&) = delete;
    void SetAside() {
        if (m_bAside || !m_password.IsAllocated())
            return;
        m_saved = m_password;
        m_password.Release();
        m_bAside = true;
    }
    void Restore() {
        if (!m_bAside)
            return;
        m_password = m_saved;
        m_saved.Release();
        m_bAside = false;
    }

private:
    CZipAutoBuffer& m_password;
    CZipAutoBuffer m_saved;
    bool m_bAside = false;
};

// The length of a request's source, 64-bit so that 4 GiB and more is seen; false
// when the file cannot be opened (opening it for the data then reports why).
bool ReadSourceLength(const CZipAddFileRequest& request, LPCSTR lpszPath, ULONGLONG& uLength) {
    if (request.m_pFile) {
        uLength = request.m_pFile->GetLength();
        return true;
    }
    return ZipPlatform::ReadFileLength(lpszPath, CFile::shareDenyNone, uLength);
}

} // namespace

bool CZipArchive::AddFileFromDisk(LPCSTR lpszFilePath, LPCSTR lpszFileNameInZip, int iComprLevel,
                                  int iSmartLevel, DWORD nBufSize) {
    CZipAddFileRequest request;
    request.m_szFilePath = lpszFilePath ? lpszFilePath : "";
    request.m_szFileNameInZip = lpszFileNameInZip ? lpszFileNameInZip : "";
    request.m_iComprLevel = iComprLevel;
    request.m_iSmartLevel = iSmartLevel;
    request.m_nBufSize = nBufSize;
    return AddFile(request);
}

bool CZipArchive::AddFileFromDiskByPath(LPCSTR lpszFilePath, int iComprLevel, bool bFullPath,
                                        int iSmartLevel, DWORD nBufSize) {
    CZipAddFileRequest request;
    request.m_szFilePath = lpszFilePath ? lpszFilePath : "";
    request.m_bFullPath = bFullPath;
    request.m_iComprLevel = iComprLevel;
    request.m_iSmartLevel = iSmartLevel;
    request.m_nBufSize = nBufSize;
    return AddFile(request);
}

bool CZipArchive::AddFile(CZipAddFileRequest& request) {
    // A zero read buffer would never get past the first block.
    if (request.m_nBufSize == 0 || m_iBufferSize == 0 || !CanModify(true))
        return false;
    CString szPath;
    if (request.m_pFile) {
        szPath = request.m_pFile->GetFilePath();
    } else {
        szPath = request.m_szFilePath;
        CZipPathComponent::TrimTrailingSeparators(szPath);
        if (szPath.IsEmpty())
            return false;
    }

    WORD uReplaceIndex = request.m_uReplaceIndex;
    if (uReplaceIndex != 0xFFFF &&
        (m_storage.IsSegmented() || !m_centralDir.IsValidIndex(uReplaceIndex)))
        return false;
    if (uReplaceIndex == 0xFFFF && GetCount() >= kMaxEntries)
        return false;

    DWORD uAttr = FILE_ATTRIBUTE_ARCHIVE;
    time_t tTime = 0;
    if (request.m_pFile) {
        tTime = ZipPlatform::CurrentTime();
    } else {
        if (!ZipPlatform::ReadFileAttributes(szPath, uAttr))
            ThrowError(CZipException::fileError);
        ZipPlatform::ReadFileModTime(szPath, tTime);
    }

    CZipFileHeader templ;
    templ.SetSystemCompatibility(m_iArchiveSystCompatib);
    templ.SetSystemAttributes(uAttr);
    CString szName = request.m_szFileNameInZip;
    if (szName.IsEmpty())
        szName = NameInArchiveFor(szPath, request.m_bFullPath,
                                  (uAttr & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : 1);
    templ.SetFileName(szName);
    templ.SetModificationTime(tTime);

    CPasswordAside password(m_pszPassword);
    if (templ.IsDirectory()) {
        if (uReplaceIndex != 0xFFFF && uReplaceIndex == GetCount() - 1) {
            RemoveLastEntry(true);
            uReplaceIndex = 0xFFFF;
        }
        CZipActionCallback* pCallback = GetCallback(CZipActionCallback::cbAdd);
        if (pCallback) {
            pCallback->Init(templ.GetFileName(), szPath);
            pCallback->SetTotal(0);
        }
        if (request.m_iSmartLevel & zipsmCPassDir)
            password.SetAside();
        bool bRet = OpenNewEntry(templ, 0, nullptr, uReplaceIndex);
        if (bRet)
            CloseNewEntry();
        if (pCallback)
            pCallback->CallbackEnd();
        return bRet;
    }

    int iLevel = request.m_iComprLevel;
    if (m_uCompressionMethod == CZipCompressor::methodStore)
        iLevel = 0;
    const bool bCompress = iLevel != 0;
    bool bEff = (request.m_iSmartLevel & zipsmCheckForEff) && bCompress;
    const bool bClearZero = (request.m_iSmartLevel & zipsmCPFile0) && WillEncryptNextEntry();
    const bool bSmall = (request.m_iSmartLevel & zipsmNotCompSmall) && bCompress;
    const bool bTemp = (bEff && m_storage.IsSegmented()) || (uReplaceIndex != 0xFFFF && bCompress);

    ULONGLONG uLength = 0;
    const bool bKnownLength = ReadSourceLength(request, szPath, uLength);
    if (!bKnownLength) {
        bEff = false;
    } else {
        if (uLength == 0 && bClearZero)
            password.SetAside();
        if (uLength < 5 && bSmall)
            iLevel = 0;
        // Refused before anything is written, so that the archive stays as it was.
        templ.m_uMethod = iLevel == 0 ? WORD(CZipCompressor::methodStore) : m_uCompressionMethod;
        templ.m_uEncryptionMethod =
            WillEncryptNextEntry() ? BYTE(m_iEncryptionMethod) : BYTE(CZipFileHeader::encNone);
        if (!EntryFits(templ, uLength, EntryOverhead(templ, GetDataEnd())))
            ThrowError(CZipException::tooBigSize);
    }

    if (uReplaceIndex != 0xFFFF && uReplaceIndex == GetCount() - 1) {
        RemoveLastEntry(true);
        uReplaceIndex = 0xFFFF;
    }

    CZipAddFileRequest effective = request;
    effective.m_iComprLevel = iLevel;
    effective.m_uReplaceIndex = uReplaceIndex;
    effective.m_szFileNameInZip = templ.GetFileName();
    if (bTemp)
        return AddSmallOrTemp(effective, templ, bEff);
    return AddDirect(effective, templ, iLevel, bEff, uReplaceIndex);
}

bool CZipArchive::AddSmallOrTemp(CZipAddFileRequest& request, CZipFileHeader& templ, bool bEff) {
    CZipMemFile memFile(1024);
    CString szTempFile;
    const bool bInMemory = bEff && (request.m_iSmartLevel & zipsmMemoryFlag) != 0;
    CZipArchive temp;
    if (bInMemory) {
        temp.OpenArchiveInMemory(memFile, zipCreate);
    } else {
        ULONGLONG uNeeded = 0;
        if (!ReadSourceLength(request, request.m_szFilePath, uNeeded))
            uNeeded = 0;
        szTempFile = ZipPlatform::MakeTempFileName(
            m_szTempPath.IsEmpty() ? nullptr : m_szTempPath.GetString(), uNeeded);
        if (szTempFile.IsEmpty())
            return AddDirect(request, templ, request.m_iComprLevel, bEff, request.m_uReplaceIndex);
        temp.OpenArchive(szTempFile, zipCreate);
    }
    temp.m_szRootPath = m_szRootPath;
    temp.m_pszPassword = m_pszPassword;
    temp.m_iEncryptionMethod = m_iEncryptionMethod;
    temp.m_iArchiveSystCompatib = m_iArchiveSystCompatib;
    temp.SetActionCallback(GetCallback(CZipActionCallback::cbAdd), CZipActionCallback::cbAdd);

    CZipAddFileRequest tempRequest = request;
    tempRequest.m_iSmartLevel = 0;
    tempRequest.m_uReplaceIndex = 0xFFFF;
    bool bRet = false;
    try {
        bRet = temp.AddFile(tempRequest);
        if (bRet) {
            if (bEff && !temp.m_centralDir[0]->CompressionEfficient()) {
                CZipAddFileRequest stored = request;
                stored.m_iComprLevel = 0;
                stored.m_iSmartLevel = zipsmInternal01;
                bRet = AddFile(stored);
            } else {
                temp.m_storage.Flush();
                bRet = CopyEntryFromArchive(temp, 0, nullptr, request.m_uReplaceIndex, false,
                                            GetCallback(CZipActionCallback::cbAddTmp));
            }
        }
        temp.CloseArchive(bRet ? afNoException : afAfterException);
    } catch (...) {
        temp.CloseArchive(afAfterException);
        if (!szTempFile.IsEmpty())
            ZipPlatform::DeleteFileOrThrow(szTempFile, false);
        m_pBuffer.Release();
        throw;
    }
    if (!szTempFile.IsEmpty())
        ZipPlatform::DeleteFileOrThrow(szTempFile, false);
    m_pBuffer.Release();
    return bRet;
}

bool CZipArchive::AddDirect(CZipAddFileRequest& request, CZipFileHeader& templ, int iLevel,
                            bool bEff, WORD uReplaceIndex) {
    CZipFile diskFile;
    CZipAbstractFile* pSource = request.m_pFile;
    if (pSource) {
        pSource->SeekToBegin();
    } else {
        diskFile.Open(request.m_szFilePath, CFile::modeRead | CFile::shareDenyNone, true);
        pSource = &diskFile;
    }
    const ULONGLONG uLength = pSource->GetLength();
    templ.m_uUncomprSize = DWORD(uLength);
    if (iLevel == 0)
        templ.m_uComprSize = DWORD(uLength);
    const bool bReplacing = uReplaceIndex != 0xFFFF;
    // The length is checked on the opened source too: it may differ from what
    // was seen before, or could not be seen at all.
    templ.m_uMethod = iLevel == 0 ? WORD(CZipCompressor::methodStore) : m_uCompressionMethod;
    templ.m_uEncryptionMethod =
        WillEncryptNextEntry() ? BYTE(m_iEncryptionMethod) : BYTE(CZipFileHeader::encNone);
    if (!EntryFits(templ, uLength, EntryOverhead(templ, GetDataEnd())))
        ThrowError(CZipException::tooBigSize);
    if (!OpenNewEntry(templ, bReplacing ? 0 : iLevel, nullptr, uReplaceIndex))
        return false;

    const CString szName = m_centralDir.m_pOpenedFile->GetFileName();
    CZipActionCallback* pCallback =
        GetCallback((request.m_iSmartLevel & zipsmInternal01) ? CZipActionCallback::cbAddStore
                                                              : CZipActionCallback::cbAdd);
    if (pCallback) {
        pCallback->Init(szName, request.m_pFile ? pSource->GetFilePath() : request.m_szFilePath);
        pCallback->SetTotal(DWORD(uLength));
    }

    const DWORD uBlock = request.m_nBufSize;
    int iAborted = 0;
    try {
        CZipAutoBuffer buffer(uBlock);
        DWORD uRead = 0;
        do {
            uRead = pSource->Read(buffer, uBlock);
            if (uRead == 0)
                break;
            WriteNewEntryData(buffer, uRead);
            if (pCallback && !pCallback->Step(uRead)) {
                char cMore = 0;
                if (uRead == uBlock && pSource->Read(&cMore, 1) != 0) {
                    // Stopped with data left: the entry is incomplete and goes.
                    iAborted = (m_storage.IsSegmented() || bReplacing)
                                   ? int(CZipException::abortedAction)
                                   : int(CZipException::abortedSafely);
                    CloseNewEntry(true);
                } else {
                    iAborted = CZipException::aborted;
                }
                break;
            }
        } while (uRead == uBlock);

        if (pCallback) {
            if (iAborted == 0 && !pCallback->RequestLastCallback())
                iAborted = CZipException::aborted;
            if (iAborted == CZipException::aborted) {
                // Everything was read: the entry is complete when it closes.
                if (CloseNewEntry())
                    iAborted = CZipException::abortedSafely;
                else {
                    CloseNewEntry(true);
                    iAborted = CZipException::abortedAction;
                }
            }
        }
        if (iAborted == 0)
            CloseNewEntry();
    } catch (...) {
        if (m_iFileOpened == 1)
            CloseNewEntry(true);
        if (pCallback)
            pCallback->CallbackEnd();
        throw;
    }
    if (pCallback)
        pCallback->CallbackEnd();
    if (iAborted != 0)
        ThrowError(iAborted);

    if (bEff) {
        if (!request.m_pFile)
            diskFile.Close();
        m_pBuffer.Release();
        if (RemoveLastEntry(false)) {
            CZipAddFileRequest stored = request;
            stored.m_iComprLevel = 0;
            stored.m_iSmartLevel = zipsmInternal01;
            stored.m_uReplaceIndex = 0xFFFF;
            return AddFile(stored);
        }
    }
    return true;
}

bool CZipArchive::OpenNewEntry(CZipFileHeader& header, int iLevel, LPCSTR lpszFilePath,
                               WORD uReplaceIndex) {
    if (!CanModify(true) || GetCount() >= kMaxEntries)
        return false;
    if (uReplaceIndex != 0xFFFF && !m_centralDir.IsValidIndex(uReplaceIndex))
        return false;

    if (lpszFilePath) {
        DWORD uAttr = 0;
        if (!ZipPlatform::ReadFileAttributes(lpszFilePath, uAttr))
            ThrowError(CZipException::fileError);
        time_t tTime = 0;
        ZipPlatform::ReadFileModTime(lpszFilePath, tTime);
        header.SetModificationTime(tTime);
        header.SetSystemCompatibility(m_iArchiveSystCompatib);
        header.SetSystemAttributes(uAttr);
    } else {
        header.SetSystemCompatibility(m_iArchiveSystCompatib, true);
        if (!header.IsModificationTimeSet())
            header.SetModificationTime(ZipPlatform::CurrentTime());
    }

    CString szName = header.GetFileName();
    const bool bDirectory = header.IsDirectory();
    if (bDirectory && (szName.IsEmpty() || !CZipPathComponent::EndsWithSeparator(szName)))
        szName += '\\';
    if (szName.IsEmpty())
        szName.Format("file%u", unsigned(GetCount()));
    header.SetFileName(szName);

    if (WillEncryptNextEntry()) {
        header.m_uEncryptionMethod = BYTE(m_iEncryptionMethod);
        PrepareCryptograph(m_iEncryptionMethod);
    } else {
        header.m_uEncryptionMethod = CZipFileHeader::encNone;
        ReleaseCryptograph();
    }

    if (iLevel < -1 || iLevel > 9)
        iLevel = -1;
    header.m_uMethod = m_uCompressionMethod;
    if (header.m_uMethod == CZipCompressor::methodStore)
        iLevel = 0;
    else if (iLevel == 0)
        header.m_uMethod = CZipCompressor::methodStore;
    if (bDirectory) {
        header.m_uMethod = CZipCompressor::methodStore;
        iLevel = 0;
    }

    // Refusals come before the directory is cut off the file.
    const ULONGLONG uOverhead = EntryOverhead(header, GetDataEnd());
    if (!EntryFits(header, header.m_uUncomprSize, uOverhead))
        ThrowError(CZipException::tooBigSize);
    PrepareCompressor(header.m_uMethod);
    if (!m_pCompressor)
        return false;

    const bool bReplacing = uReplaceIndex != 0xFFFF;
    const DWORD uReplacedData = header.m_uComprSize;
    const WORD uCountBefore = GetCount();
    CZipFileHeader* pHeader = nullptr;
    try {
        pHeader = m_centralDir.AddEntry(header, uReplaceIndex, iLevel);
    } catch (...) {
        // Refused after the directory was cut off (a name too long): put it back.
        m_pAddedHeader = GetCount() > uCountBefore ? m_centralDir[uCountBefore] : nullptr;
        m_bAddedReplaces = false;
        if (m_pAddedHeader) {
            RollBackFailedAdd();
        } else {
            try {
                m_centralDir.RestoreCutDirectory();
            } catch (CException* e) {
                e->Delete();
            }
        }
        throw;
    }
    m_pAddedHeader = pHeader;
    m_bAddedReplaces = bReplacing;
    m_uAddedBytes = 0;
    m_uAddedOverhead = uOverhead;
    try {
        if (bReplacing) {
            const DWORD uTotal = pHeader->GetLocalSize(false) + uReplacedData +
                                 pHeader->GetEncryptionHeaderSize() +
                                 pHeader->GetDataDescriptorSize(true);
            ResizeReplacedEntrySpace(uReplaceIndex, uTotal, szName);
        }
        pHeader->WriteLocalHeader(&m_storage);
        if (m_pCryptograph)
            m_pCryptograph->BeginEncryption(m_pszPassword, *pHeader, m_storage);
        m_pCompressor->BeginCompression(iLevel, pHeader, m_pCryptograph);
    } catch (...) {
        RollBackFailedAdd();
        throw;
    }
    m_iFileOpened = 1;
    return true;
}

bool CZipArchive::WriteNewEntryData(const void* pBuf, DWORD uSize) {
    if (m_iFileOpened != 1)
        return false;
    if (uSize == 0)
        return true;
    CZipFileHeader* pHeader = m_centralDir.m_pOpenedFile;
    try {
        // More data than was announced when the entry opened (or none was).
        if (!EntryFits(*pHeader, m_uAddedBytes + uSize, m_uAddedOverhead))
            ThrowError(CZipException::tooBigSize);
        m_pCompressor->CompressBlock(pBuf, uSize);
        m_uAddedBytes += uSize;
    } catch (...) {
        CloseNewEntry(true);
        throw;
    }
    return true;
}

bool CZipArchive::CloseNewEntry(bool bAfterException) {
    if (m_iFileOpened != 1)
        return false;
    if (bAfterException) {
        try {
            m_pCompressor->EndCompression(true);
        } catch (CException* e) {
            e->Delete();
        }
        RollBackFailedAdd();
        return true;
    }
    try {
        m_pCompressor->EndCompression(false);
        if (m_pCryptograph)
            m_pCryptograph->EndEncryption(*m_centralDir.m_pOpenedFile, m_storage);
        m_centralDir.CloseNewEntry();
        m_iFileOpened = 0;
        ReleaseCryptograph();
        FinalizeArchive(true);
    } catch (...) {
        RollBackFailedAdd();
        throw;
    }
    m_pAddedHeader = nullptr;
    return true;
}

void CZipArchive::RollBackFailedAdd() {
    CZipFileHeader* pAdded = m_pAddedHeader;
    m_pAddedHeader = nullptr;
    m_centralDir.m_pOpenedFile = nullptr;
    m_iFileOpened = 0;
    ReleaseCryptograph();
    if (!pAdded)
        return;
    try {
        const WORD uCount = GetCount();
        if (!m_bAddedReplaces && !m_storage.IsSegmented() && uCount > 0 &&
            m_centralDir[WORD(uCount - 1)] == pAdded) {
            // Nothing of the entry may reach the file; what is in it already is
            // cut off, and the directory the add cut off goes back.
            m_storage.DiscardWriteBuffer();
            m_centralDir.RemoveLastEntry(pAdded, WORD(uCount - 1));
            m_centralDir.RestoreCutDirectory();
        } else {
            // The entry's bytes cannot be taken back here (another volume, or a
            // replaced entry's place), but no header may describe them.
            m_centralDir.RemoveEntry(pAdded, -1, true);
        }
    } catch (CException* e) {
        // The exception that led here is the one the caller must see.
        e->Delete();
    }
}

bool CZipArchive::RemoveLastEntry(bool bRemoveAnyway) {
    const WORD uCount = GetCount();
    if (uCount == 0 || !CanModify())
        return false;
    CZipFileHeader* pHeader = m_centralDir[WORD(uCount - 1)];
    if (!bRemoveAnyway && pHeader->CompressionEfficient())
        return false;
    m_centralDir.RemoveLastEntry(pHeader, WORD(uCount - 1));
    return true;
}

ULONGLONG CZipArchive::GetDataEnd() const {
    const CZipCentralDir::CZipDirectoryInfo* pInfo = m_centralDir.GetInfo();
    if (pInfo && pInfo->m_bInArchive)
        return pInfo->m_uOffset;
    return m_storage.GetArchiveDataLength() + m_storage.m_uBytesInWriteBuffer;
}

ULONGLONG CZipArchive::EntryOverhead(const CZipFileHeader& header, ULONGLONG uOffset) const {
    return uOffset + header.GetLocalSize(false) + 16 + m_centralDir.GetDirectorySize(true) +
           header.GetCentralSize();
}

bool CZipArchive::EntryFits(const CZipFileHeader& header, ULONGLONG uUncompressed,
                            ULONGLONG uOverhead) const {
    if (uUncompressed >= kLimit32)
        return false;
    ULONGLONG uData = header.m_uMethod == CZipCompressor::methodStore
                          ? uUncompressed
                          : DeflatedBound(uUncompressed);
    uData += header.GetEncryptionHeaderSize();
    if (uData >= kLimit32)
        return false;
    // Volumes of a segmented archive are far smaller; their offsets are per volume.
    return m_storage.IsSegmented() || uOverhead + uData < kLimit32;
}
