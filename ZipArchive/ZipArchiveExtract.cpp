// ZipArchiveExtract.cpp: reading entries back: opening an entry (its local
// header, password and decompressor), reading its bytes, closing it with the
// CRC check, and extracting it below a folder on disk.
#include "ZipArchive.h"

#include "ZipException.h"
#include "ZipPathComponent.h"
#include "ZipPlatform.h"
#include "framework/File.h"

#include <algorithm>

namespace {

// A component that Win32 turns into ".." or into nothing: Win32 drops trailing
// dots and spaces, so "..", ". ." and "..." all climb out.
bool IsDotsComponent(const CString& szPart) {
    if (szPart.IsEmpty() || szPart == ".")
        return false;
    for (int i = 0; i < szPart.GetLength(); i++)
        if (szPart[i] != '.' && szPart[i] != ' ')
            return false;
    return true;
}

// A name that stays below the target folder: relative, no drive, no stream
// (':'), no component that climbs up.
bool IsSafeEntryName(const CString& szName) {
    if (szName.IsEmpty() || CZipPathComponent::IsSeparatorChar(szName[0]) || szName.Find(':') >= 0)
        return false;
    CString szPart;
    for (int i = 0; i <= szName.GetLength(); i++) {
        if (i == szName.GetLength() || CZipPathComponent::IsSeparatorChar(szName[i])) {
            if (IsDotsComponent(szPart))
                return false;
            szPart.Empty();
        } else
            szPart += szName[i];
    }
    return true;
}

// Makes the folder and every missing folder above it.
bool MakeFolders(const CString& szFolder) {
    CString szPath = szFolder;
    CZipPathComponent::TrimTrailingSeparators(szPath);
    if (szPath.IsEmpty() || ZipPlatform::GetPathKind(szPath) == -1)
        return true;
    const int iCut = std::max(szPath.ReverseFind('\\'), szPath.ReverseFind('/'));
    if (iCut > 0 && !MakeFolders(szPath.Left(iCut)))
        return false;
    // A drive root such as "C:" exists without being made.
    if (szPath.GetLength() == 2 && szPath[1] == ':')
        return true;
    return CreateDirectoryA(szPath, nullptr) || ZipPlatform::GetPathKind(szPath) == -1;
}

} // namespace

bool CZipArchive::OpenEntryForExtraction(WORD uIndex) {
    if (IsClosed() || m_iFileOpened != 0 || !m_centralDir.IsValidIndex(uIndex))
        return false;
    CZipFileHeader* pHeader = m_centralDir[uIndex];
    if (pHeader->m_uMethod != CZipCompressor::methodStore &&
        pHeader->m_uMethod != CZipCompressor::methodDeflate)
        return false;
    m_storage.Flush();
    if (!pHeader->VerifyLocalHeader(&m_centralDir, 0))
        m_storage.ThrowError(CZipException::badZipFile);

    CZipCryptograph* pCryptograph = nullptr;
    if (pHeader->IsEncrypted()) {
        PrepareCryptograph(pHeader->m_uEncryptionMethod);
        if (!m_pCryptograph)
            m_storage.ThrowError(CZipException::noAES);
        if (!m_pCryptograph->BeginDecryption(m_pszPassword, *pHeader, m_storage))
            m_storage.ThrowError(CZipException::badPassword);
        pCryptograph = m_pCryptograph;
    } else
        ReleaseCryptograph();

    PrepareCompressor(pHeader->m_uMethod);
    if (!m_pCompressor)
        return false;
    m_pCompressor->BeginDecompression(pHeader, pCryptograph);
    m_centralDir.m_pOpenedFile = pHeader;
    m_iFileOpened = -1;
    return true;
}

DWORD CZipArchive::ReadEntryData(void* pBuf, DWORD uSize) {
    if (m_iFileOpened != -1 || pBuf == nullptr || uSize == 0)
        return 0;
    return m_pCompressor->DecompressBlock(pBuf, uSize);
}

int CZipArchive::CloseExtractedEntry(LPCSTR lpszFilePath, bool bAfterException) {
    if (m_iFileOpened != -1)
        return ceNotOpen;
    CZipFileHeader* pHeader = m_centralDir.m_pOpenedFile;
    int iResult = ceOk;
    bool bBadCrc = false;
    try {
        if (bAfterException)
            m_pCompressor->EndDecompression(true);
        else {
            iResult = ceNotAllRead;
            if (m_pCompressor->m_uUncomprLeft == 0) {
                bBadCrc = (m_centralDir.m_iIgnoredChecks & CZipCentralDir::checkCrc) == 0 &&
                          !pHeader->m_bIgnoreCrc32 && m_pCompressor->m_uCrc32 != pHeader->m_uCrc32;
                iResult = ceOk;
            }
            m_pCompressor->EndDecompression(false);
            if (lpszFilePath && !bBadCrc &&
                (!ZipPlatform::WriteFileModTime(lpszFilePath, pHeader->GetModificationTime()) ||
                 !ZipPlatform::WriteFileAttributes(lpszFilePath, pHeader->GetSystemAttributes())))
                iResult = ceAttrFailed;
            if (m_pCryptograph)
                m_pCryptograph->EndDecryption(*pHeader, m_storage);
        }
        m_centralDir.CloseExtractedEntry(bAfterException || bBadCrc || iResult == ceNotAllRead);
    } catch (...) {
        m_centralDir.m_pOpenedFile = nullptr;
        m_iFileOpened = 0;
        ReleaseCryptograph();
        throw;
    }
    m_iFileOpened = 0;
    ReleaseCryptograph();
    if (bBadCrc)
        m_storage.ThrowError(CZipException::badCrc);
    return iResult;
}

bool CZipArchive::ExtractEntry(WORD uIndex, LPCSTR lpszPath, bool bFullPath, LPCSTR lpszNewName,
                               DWORD nBufSize) {
    if (nBufSize == 0 || IsClosed() || m_iFileOpened != 0 || !m_centralDir.IsValidIndex(uIndex))
        return false;
    CZipFileHeader* pHeader = m_centralDir[uIndex];
    const CString szName = lpszNewName ? CString(lpszNewName) : pHeader->GetFileName();
    if (!IsSafeEntryName(szName))
        return false;

    CString szFolder = lpszPath ? lpszPath : "";
    CZipPathComponent::TrimTrailingSeparators(szFolder);
    CString szRelative = szName;
    CZipPathComponent::TrimTrailingSeparators(szRelative);
    const bool bDirectory = pHeader->IsDirectory();
    if (!bFullPath) {
        if (bDirectory)
            return MakeFolders(szFolder);
        szRelative = CZipPathComponent(szRelative).NameWithExtension();
    }
    szRelative.Replace('/', '\\');
    const CString szTarget = szFolder.IsEmpty() ? szRelative : szFolder + "\\" + szRelative;
    if (bDirectory) {
        if (!MakeFolders(szTarget))
            return false;
        ZipPlatform::WriteFileAttributes(szTarget, pHeader->GetSystemAttributes());
        return true;
    }
    const int iCut = szTarget.ReverseFind('\\');
    if (iCut > 0 && !MakeFolders(szTarget.Left(iCut)))
        return false;
    return ExtractToFile(uIndex, szTarget, nBufSize);
}

bool CZipArchive::ExtractToFile(WORD uIndex, LPCSTR lpszTarget, DWORD nBufSize) {
    if (!OpenEntryForExtraction(uIndex))
        return false;
    CFile file;
    CZipAutoBuffer buffer(nBufSize);
    int iResult = ceNotOpen;
    bool bCreated = false;
    try {
        CFileException error;
        if (!file.Open(lpszTarget, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite,
                       &error))
            CFileException::ThrowOsError(error.m_lOsError, lpszTarget);
        bCreated = true;
        for (;;) {
            const DWORD uRead = ReadEntryData(buffer, nBufSize);
            if (uRead == 0)
                break;
            file.Write(buffer, uRead);
        }
        file.Close();
        iResult = CloseExtractedEntry(lpszTarget);
    } catch (...) {
        CloseExtractedEntry(nullptr, true);
        file.Abort();
        // Half an entry, or one whose CRC failed, must not pass for the file;
        // a file that could not even be opened is someone else's.
        if (bCreated)
            DeleteFileA(lpszTarget);
        throw;
    }
    if (iResult == ceNotAllRead) {
        DeleteFileA(lpszTarget);
        return false;
    }
    return true;
}
