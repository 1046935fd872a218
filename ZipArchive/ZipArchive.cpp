// ZipArchive.cpp: opening, closing and the settings of an archive, name
// lookups and predictions, and writing the central directory back.
#include "ZipArchive.h"

#include "ZipCompatibility.h"
#include "ZipException.h"
#include "ZipPathComponent.h"
#include "ZipPlatform.h"

CZipArchive::CZipArchive()
    : m_pAddedHeader(nullptr), m_bAddedReplaces(false), m_uAddedBytes(0), m_uAddedOverhead(0),
      m_bRemoveDriveLetter(true), m_bExhaustiveRead(false), m_bCaseSensitive(false),
      m_pZipCompare(SelectCompareFunction(false, true)), m_iFileOpened(0), m_bAutoFinalize(false),
      m_iCommitMode(1), m_iArchiveSystCompatib(ZipCompatibility::kSystemCompatibility),
      m_pCryptograph(nullptr), m_pCompressor(nullptr),
      m_iEncryptionMethod(CZipFileHeader::encStandard),
      m_uCompressionMethod(CZipCompressor::methodDeflate), m_iBufferSize(65536) {
    m_centralDir.Init(this, &m_storage);
}

CZipArchive::~CZipArchive() {
    ReleaseCompressor();
    ReleaseCryptograph();
}

bool CZipArchive::OpenArchive(LPCSTR lpszPathName, int iMode, ULONGLONG uVolumeSize) {
    if (!IsClosed())
        return false;
    m_storage.Open(lpszPathName, iMode, uVolumeSize);
    OpenInternal(iMode);
    return true;
}

bool CZipArchive::OpenArchiveInMemory(CZipMemFile& mf, int iMode, bool bAutoClose) {
    if (!IsClosed())
        return false;
    if (iMode != zipOpen && iMode != zipOpenReadOnly && iMode != zipCreate &&
        iMode != zipCreateAppend)
        return false;
    m_storage.OpenOnFile(mf, iMode, bAutoClose);
    OpenInternal(iMode);
    return true;
}

void CZipArchive::OpenInternal(int iMode) {
    m_pszPassword.Release();
    m_iFileOpened = 0;
    m_szRootPath.Empty();
    m_centralDir.InitShared();
    m_iArchiveSystCompatib = ZipCompatibility::kSystemCompatibility;
    if ((iMode & CZipStorage::zipOpen) == 0)
        return;
    try {
        m_centralDir.ReadDirectory(m_bExhaustiveRead);
    } catch (...) {
        // A file that is not a readable archive must not stay half open: the
        // caller would otherwise hold a handle and a directory it cannot use.
        m_centralDir.CloseDirectory();
        m_storage.Close(false);
        throw;
    }
    if (GetCount() > 0) {
        int iSystem = m_centralDir[0]->GetSystemCompatibility();
        if (ZipCompatibility::IsPlatformSupported(iSystem))
            m_iArchiveSystCompatib = iSystem;
    }
}

bool CZipArchive::IsClosed(bool bArchive) const {
    if (bArchive)
        return m_storage.IsClosed();
    return m_storage.m_pFile == nullptr || m_storage.m_pFile->IsClosed();
}

CString CZipArchive::CloseArchive(int iAfterException, bool bUpdateTimeStamp) {
    if (IsClosed() && (iAfterException == afNoException || IsClosed(false)))
        return CString();
    bool bAfterException = iAfterException != afNoException;
    if (m_iFileOpened == -1)
        CloseExtractedEntry(nullptr, bAfterException);
    else if (m_iFileOpened == 1)
        CloseNewEntry(bAfterException);
    if (!bAfterException)
        CommitEntryChanges();
    bool bWrite =
        iAfterException != afAfterException && !m_storage.IsReadOnly() && !IsClosed(false);
    if (bWrite)
        WriteDirectory(false);
    time_t tNewest = 0;
    if (bUpdateTimeStamp) {
        for (WORD i = 0; i < GetCount(); i++) {
            time_t tEntry = m_centralDir[i]->GetModificationTime();
            if (tEntry > tNewest)
                tNewest = tEntry;
        }
    }
    m_centralDir.CloseDirectory();
    m_pszPassword.Release();
    ReleaseCompressor();
    ReleaseCryptograph();
    m_iFileOpened = 0;
    CString szPath = m_storage.Close(bWrite, true);
    if (bUpdateTimeStamp && !szPath.IsEmpty())
        ZipPlatform::WriteFileModTime(szPath, tNewest);
    return szPath;
}

void CZipArchive::WriteDirectory(bool bFlush) {
    m_centralDir.Store();
    if (bFlush)
        m_storage.Flush();
}

void CZipArchive::FinalizeArchive(bool bOnlyIfAuto) {
    if (bOnlyIfAuto && !m_bAutoFinalize)
        return;
    if (!CanModify(true) || m_centralDir.AnyEntryModified())
        return;
    WriteDirectory(true);
    if (!m_storage.IsReadOnly())
        m_storage.FlushFile();
    if (m_storage.IsNewSegmented())
        m_storage.FinishSegmentedArchive();
}

bool CZipArchive::CanModify(bool bAllowNewSegmented, bool bNeedsClosed) const {
    if (IsClosed() || m_storage.IsReadOnly())
        return false;
    if (m_storage.IsNewSegmented() && !bAllowNewSegmented)
        return false;
    if (bNeedsClosed && m_iFileOpened != 0)
        return false;
    return true;
}

void CZipArchive::SetActionCallback(CZipActionCallback* pCallback, int iWhich) {
    m_callbacks.Set(pCallback, iWhich);
}

ULONGLONG CZipArchive::GetArchiveLength() {
    if (IsClosed() || IsClosed(false)) {
        TRACE("%s(%i) : ZipArchive or the current volume file is closed.\n", __FILE__, __LINE__);
        return 0;
    }
    ULONGLONG uLength = m_storage.m_pFile->GetLength() + m_storage.m_uBytesInWriteBuffer;
    // A directory still in the file is already part of its length.
    if (!m_centralDir.IsDirectoryInArchive())
        uLength += m_centralDir.GetDirectorySize();
    return uLength;
}

CString CZipArchive::GetArchivePath() const {
    if (IsClosed())
        return CString();
    return m_storage.GetArchiveName();
}

WORD CZipArchive::GetCount() const {
    return m_centralDir.GetCount();
}

CZipFileHeader* CZipArchive::GetEntryInfo(WORD uIndex) {
    if (IsClosed() || !m_centralDir.IsValidIndex(uIndex))
        return nullptr;
    return m_centralDir[uIndex];
}

bool CZipArchive::GetEntryInfo(CZipFileHeader& fhInfo, WORD uIndex) const {
    if (IsClosed() || !m_centralDir.IsValidIndex(uIndex))
        return false;
    fhInfo = *m_centralDir[uIndex];
    return true;
}

CString CZipArchive::GetGlobalComment() const {
    CString szComment;
    const CZipCentralDir::CZipDirectoryInfo* pInfo = m_centralDir.GetInfo();
    if (IsClosed() || !pInfo || !pInfo->m_pszComment.IsAllocated())
        return szComment;
    ZipPlatform::BytesToText(pInfo->m_pszComment.GetBuffer(), pInfo->m_pszComment.GetSize(),
                             szComment,
                             ZipCompatibility::GetDefaultCommentCodePage(m_iArchiveSystCompatib));
    return szComment;
}

void CZipArchive::SetRootPath(LPCSTR lpszPath) {
    if (IsClosed() || m_iFileOpened != 0)
        return;
    m_szRootPath = lpszPath ? lpszPath : "";
    CZipPathComponent::TrimTrailingSeparators(m_szRootPath);
}

bool CZipArchive::SetPassword(LPCSTR lpszPassword, UINT codePage) {
    if (m_iFileOpened != 0)
        return false;
    if (codePage == UINT(-1))
        codePage = ZipCompatibility::GetDefaultPasswordCodePage(m_iArchiveSystCompatib);
    if (lpszPassword == nullptr || *lpszPassword == '\0')
        m_pszPassword.Release();
    else
        ZipPlatform::TextToBytes(CString(lpszPassword), m_pszPassword, codePage);
    return true;
}

CString CZipArchive::GetPassword() const {
    CString szPassword;
    if (m_pszPassword.IsAllocated())
        ZipPlatform::BytesToText(
            m_pszPassword.GetBuffer(), m_pszPassword.GetSize(), szPassword,
            ZipCompatibility::GetDefaultPasswordCodePage(m_iArchiveSystCompatib));
    return szPassword;
}

bool CZipArchive::SetEncryptionMethod(int iEncryptionMethod) {
    if (m_iFileOpened == 1)
        return false;
    if (iEncryptionMethod != CZipFileHeader::encNone &&
        iEncryptionMethod != CZipFileHeader::encStandard)
        return false;
    m_iEncryptionMethod = iEncryptionMethod;
    return true;
}

bool CZipArchive::SetSystemCompatibility(int iSystemComp) {
    if (IsClosed() || m_iFileOpened == 1 || !ZipCompatibility::IsPlatformSupported(iSystemComp))
        return false;
    m_iArchiveSystCompatib = iSystemComp;
    return true;
}

void CZipArchive::SetCaseSensitivity(bool bCaseSensitive) {
    m_bCaseSensitive = bCaseSensitive;
    m_pZipCompare = SelectCompareFunction(bCaseSensitive, true);
}

void CZipArchive::SetIgnoredConsistencyChecks(int iChecks) {
    m_centralDir.m_iIgnoredChecks = iChecks;
}

WORD CZipArchive::FindEntry(LPCSTR lpszFileName, int iCaseSensitive, bool bFileNameOnly) {
    if (IsClosed() || lpszFileName == nullptr)
        return 0xFFFF;
    bool bCaseSensitive = m_bCaseSensitive;
    bool bSporadically = false;
    if (iCaseSensitive == ffCaseSens || iCaseSensitive == ffNoCaseSens) {
        bCaseSensitive = iCaseSensitive == ffCaseSens;
        bSporadically = true;
    }
    return m_centralDir.FindEntry(lpszFileName, bCaseSensitive, bSporadically, bFileNameOnly);
}

CString CZipArchive::NameInArchiveFor(LPCSTR lpszFilePath, bool bFullPath, int iKind) {
    CString szPath = lpszFilePath ? lpszFilePath : "";
    if (szPath.IsEmpty())
        return szPath;
    bool bAppendSeparator =
        iKind == 0 || (iKind == 2 && CZipPathComponent::EndsWithSeparator(szPath));
    CZipPathComponent::TrimTrailingSeparators(szPath);
    if (szPath.IsEmpty())
        return szPath;

    CString szName;
    if (!bFullPath) {
        szName = CZipPathComponent(szPath).NameWithExtension();
        int iRoot = m_szRootPath.GetLength();
        if (iRoot > 0 && szPath.GetLength() >= iRoot &&
            (szPath.Left(iRoot).*m_pZipCompare)(m_szRootPath) == 0) {
            if (szPath.GetLength() == iRoot) {
                szName.Empty();
            } else if (CZipPathComponent::IsSeparatorChar(szPath[iRoot])) {
                szName = szPath.Mid(iRoot);
                CZipPathComponent::TrimLeadingSeparators(szName);
            }
        }
    } else {
        szName = m_bRemoveDriveLetter ? CZipPathComponent(szPath).PathWithoutDrive() : szPath;
        // A name must never be absolute: other tools would extract it outside
        // the target folder or strip it with a warning.
        CZipPathComponent::TrimLeadingSeparators(szName);
    }
    if (bAppendSeparator && !szName.IsEmpty())
        CZipPathComponent::AddTrailingSeparator(szName);
    return szName;
}

void CZipArchive::PrepareCryptograph(int iEncryptionMethod) {
    if (m_pCryptograph && m_pCryptograph->HandlesMethod(iEncryptionMethod))
        return;
    ReleaseCryptograph();
    m_pCryptograph = CZipCryptograph::CreateCryptographFor(iEncryptionMethod);
}

void CZipArchive::PrepareCompressor(WORD uMethod) {
    if (m_pCompressor && m_pCompressor->CanProcess(uMethod))
        return;
    ReleaseCompressor();
    m_pCompressor = CZipCompressor::CreateCompressorFor(uMethod, &m_storage);
    if (m_pCompressor) {
        const CZipCompressor::COptions* pOptions = m_pCompressor->GetOptions();
        if (pOptions) {
            CZipCompressor::COptions* pStored = m_compressorsOptions.Get(pOptions->GetType());
            if (pStored)
                m_pCompressor->ApplyOptions(pStored);
        }
    }
}

void CZipArchive::ReleaseCompressor() {
    delete m_pCompressor;
    m_pCompressor = nullptr;
}

void CZipArchive::ReleaseCryptograph() {
    delete m_pCryptograph;
    m_pCryptograph = nullptr;
}

void CZipArchive::ThrowError(int iErr) const {
    CZipException::Raise(iErr, IsClosed() ? "" : m_storage.GetArchiveName().GetString());
}

bool CZipArchive::WillEncryptNextEntry() const {
    return m_pszPassword.GetSize() != 0 && m_iEncryptionMethod != CZipFileHeader::encNone;
}
