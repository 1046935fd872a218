// ZipPlatform.cpp: the platform functions of the ZIP classes, over Win32.
#include "ZipPlatform.h"

#include "ZipException.h"
#include "ZipFile.h"
#include "ZipPathComponent.h"
#include "framework/Exception.h"

#include <cstring>
#include <vector>

namespace {

// 100-ns units between 1601-01-01 (FILETIME) and 1970-01-01 (time values).
const ULONGLONG kFileTimeOf1970 = 116444736000000000ULL;
const ULONGLONG kFileTimePerSecond = 10000000ULL;

ULONGLONG FileTimeToUInt64(const FILETIME& ft) {
    return ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
}

// A 32-bit time value, as the ZIP classes keep their times.
time_t ToTime32(LONGLONG lSeconds) {
    return (time_t)(INT32)(UINT32)lSeconds;
}

CString DriveOf(LPCSTR lpszPath) {
    CZipPathComponent path(lpszPath);
    return path.Prefix() + path.Drive();
}

// Bytes in one code page to UTF-16; empty when nothing converts.
std::vector<WCHAR> ToWide(const char* pBytes, int iCount, UINT uCodePage) {
    std::vector<WCHAR> wide;
    if (iCount <= 0)
        return wide;
    DWORD uFlags = uCodePage == CP_UTF8 ? 0 : MB_PRECOMPOSED;
    int iWide = ::MultiByteToWideChar(uCodePage, uFlags, pBytes, iCount, nullptr, 0);
    if (iWide <= 0)
        return wide;
    wide.resize(iWide);
    if (::MultiByteToWideChar(uCodePage, uFlags, pBytes, iCount, wide.data(), iWide) != iWide)
        wide.clear();
    return wide;
}

// UTF-16 to bytes in one code page; false when nothing converts.
bool FromWide(const std::vector<WCHAR>& wide, UINT uCodePage, CZipAutoBuffer& buffer) {
    if (wide.empty())
        return false;
    int iBytes = ::WideCharToMultiByte(uCodePage, 0, wide.data(), (int)wide.size(), nullptr, 0,
                                       nullptr, nullptr);
    if (iBytes <= 0)
        return false;
    CZipAutoBuffer converted((DWORD)iBytes);
    if (::WideCharToMultiByte(uCodePage, 0, wide.data(), (int)wide.size(), converted, iBytes,
                              nullptr, nullptr) != iBytes)
        return false;
    buffer = converted;
    return true;
}

// The program's strings are in the ANSI code page, so text in it is its own bytes.
bool IsAnsiCodePage(UINT uCodePage) {
    return uCodePage == CP_ACP || uCodePage == ::GetACP();
}

void CopyBytes(const char* pBytes, DWORD uCount, CZipAutoBuffer& buffer) {
    if (uCount == 0) {
        buffer.Release();
        return;
    }
    buffer.Allocate(uCount);
    memcpy(buffer.GetBuffer(), pBytes, uCount);
}

} // namespace

namespace ZipPlatform {

int GetPathKind(LPCSTR lpszPath) {
    DWORD uAttr = ::GetFileAttributesA(lpszPath);
    if (uAttr == INVALID_FILE_ATTRIBUTES)
        return 0;
    return (uAttr & FILE_ATTRIBUTE_DIRECTORY) != 0 ? -1 : 1;
}

bool ReadFileAttributes(LPCSTR lpszPath, DWORD& uAttr) {
    DWORD uRead = ::GetFileAttributesA(lpszPath);
    if (uRead == INVALID_FILE_ATTRIBUTES)
        return false;
    uAttr = uRead;
    return true;
}

bool WriteFileAttributes(LPCSTR lpszPath, DWORD uAttr) {
    return ::SetFileAttributesA(lpszPath, uAttr) != FALSE;
}

bool ReadFileModTime(LPCSTR lpszPath, time_t& tTime) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA(lpszPath, &data);
    if (hFind == INVALID_HANDLE_VALUE) {
        tTime = CurrentTime();
        return false;
    }
    ::FindClose(hFind);
    ULONGLONG uWritten = FileTimeToUInt64(data.ftLastWriteTime);
    if (uWritten != 0) {
        LONGLONG lSeconds =
            ((LONGLONG)uWritten - (LONGLONG)kFileTimeOf1970) / (LONGLONG)kFileTimePerSecond;
        time_t tValue = ToTime32(lSeconds);
        if (tValue >= 0) {
            tTime = tValue;
            return true;
        }
    }
    tTime = CurrentTime();
    return false;
}

bool WriteFileModTime(LPCSTR lpszPath, time_t tTime) {
    HANDLE hFile =
        ::CreateFileA(lpszPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    ULONGLONG uTime = (ULONGLONG)((LONGLONG)tTime * (LONGLONG)kFileTimePerSecond) + kFileTimeOf1970;
    FILETIME ft;
    ft.dwLowDateTime = (DWORD)uTime;
    ft.dwHighDateTime = (DWORD)(uTime >> 32);
    bool bSet = ::SetFileTime(hFile, nullptr, nullptr, &ft) != FALSE;
    ::CloseHandle(hFile);
    return bSet;
}

bool ReadFileLength(LPCSTR lpszPath, UINT nShareMode, ULONGLONG& uLength) {
    CZipFile file;
    if (!file.Open(lpszPath, CFile::modeRead | nShareMode, false))
        return false;
    bool bRead = true;
    try {
        uLength = file.GetLength();
    } catch (CException* e) {
        e->Delete();
        bRead = false;
    }
    try {
        file.Close();
    } catch (CException* e) {
        e->Delete();
    }
    return bRead;
}

bool ReadFileSize(LPCSTR lpszPath, ULONGLONG& uSize) {
    ULONGLONG uLength = 0;
    if (!ReadFileLength(lpszPath, CFile::shareDenyWrite, uLength) || uLength >= 0x100000000ULL)
        return false;
    uSize = uLength;
    return true;
}

bool GetCurrentFolder(CString& szFolder) {
    DWORD uSize = ::GetCurrentDirectoryA(0, nullptr);
    if (uSize == 0)
        return false;
    char* pBuffer = szFolder.GetBuffer((int)uSize);
    DWORD uWritten = ::GetCurrentDirectoryA(uSize, pBuffer);
    if (uWritten == 0 || uWritten >= uSize) {
        szFolder.ReleaseBuffer(0);
        return false;
    }
    szFolder.ReleaseBuffer((int)uWritten);
    return true;
}

void ConvertAnsiOem(CZipAutoBuffer& buffer, bool bAnsiToOem) {
    UINT uFrom = bAnsiToOem ? CP_ACP : CP_OEMCP;
    UINT uTo = bAnsiToOem ? CP_OEMCP : CP_ACP;
    FromWide(ToWide(buffer.GetBuffer(), (int)buffer.GetSize(), uFrom), uTo, buffer);
}

void TextToBytes(const CString& szText, CZipAutoBuffer& buffer, UINT uCodePage) {
    DWORD uLength = (DWORD)szText.GetLength();
    if (uLength == 0 || IsAnsiCodePage(uCodePage) ||
        !FromWide(ToWide(szText, (int)uLength, CP_ACP), uCodePage, buffer))
        CopyBytes(szText, uLength, buffer);
}

void BytesToText(const char* pBytes, DWORD uCount, CString& szText, UINT uCodePage) {
    if (uCount == 0 || pBytes == nullptr) {
        szText.Empty();
        return;
    }
    CZipAutoBuffer converted;
    if (IsAnsiCodePage(uCodePage) ||
        !FromWide(ToWide(pBytes, (int)uCount, uCodePage), CP_ACP, converted))
        szText = CString(pBytes, (int)uCount);
    else
        szText = CString(converted.GetBuffer(), (int)converted.GetSize());
}

bool SetVolumeLabelOf(LPCSTR lpszPath, LPCSTR lpszLabel) {
    CString szRoot = DriveOf(lpszPath);
    CZipPathComponent::AddTrailingSeparator(szRoot);
    return ::SetVolumeLabelA(szRoot, lpszLabel) != FALSE;
}

bool IsRemovableDrive(LPCSTR lpszPath) {
    CString szRoot = DriveOf(lpszPath);
    CZipPathComponent::AddTrailingSeparator(szRoot);
    return ::GetDriveTypeA(szRoot) == DRIVE_REMOVABLE;
}

ULONGLONG GetFreeSpaceOf(LPCSTR lpszPath) {
    CString szDrive = DriveOf(lpszPath);
    ULARGE_INTEGER uFree;
    if (::GetDiskFreeSpaceExA(szDrive, nullptr, nullptr, &uFree))
        return uFree.QuadPart;
    CZipPathComponent::AddTrailingSeparator(szDrive);
    if (::GetDiskFreeSpaceExA(szDrive, nullptr, nullptr, &uFree))
        return uFree.QuadPart;
    return 0;
}

bool MoveFileOrThrow(LPCSTR lpszFrom, LPCSTR lpszTo, bool bThrow) {
    if (::MoveFileA(lpszFrom, lpszTo))
        return true;
    if (bThrow)
        CZipException::Raise(CZipException::notRenamed, lpszFrom);
    return false;
}

bool DeleteFileOrThrow(LPCSTR lpszPath, bool bThrow) {
    if (::DeleteFileA(lpszPath))
        return true;
    if (bThrow)
        CZipException::Raise(CZipException::notRemoved, lpszPath);
    return false;
}

CString MakeTempFileName(LPCSTR lpszFolder, ULONGLONG uBytesNeeded) {
    CString szFolder;
    if (lpszFolder != nullptr && *lpszFolder != '\0' &&
        (uBytesNeeded == 0 || GetFreeSpaceOf(lpszFolder) >= uBytesNeeded)) {
        szFolder = lpszFolder;
    } else {
        DWORD uSize = ::GetTempPathA(0, nullptr);
        if (uSize == 0)
            return CString();
        DWORD uWritten = ::GetTempPathA(uSize, szFolder.GetBuffer((int)uSize));
        szFolder.ReleaseBuffer(uWritten < uSize ? (int)uWritten : 0);
        if (szFolder.IsEmpty())
            return CString();
        if (uBytesNeeded != 0 && GetFreeSpaceOf(szFolder) < uBytesNeeded) {
            if (!GetCurrentFolder(szFolder) || GetFreeSpaceOf(szFolder) < uBytesNeeded)
                return CString();
        }
    }
    char szName[MAX_PATH];
    if (::GetTempFileNameA(szFolder, "ZAR", 0, szName) == 0)
        return CString();
    char szFull[MAX_PATH];
    DWORD uFull = ::GetFullPathNameA(szName, MAX_PATH, szFull, nullptr);
    if (uFull == 0 || uFull >= MAX_PATH)
        return CString(szName);
    return CString(szFull);
}

time_t CurrentTime() {
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    LONGLONG lSeconds =
        ((LONGLONG)FileTimeToUInt64(ft) - (LONGLONG)kFileTimeOf1970) / (LONGLONG)kFileTimePerSecond;
    return ToTime32(lSeconds);
}

bool MapWholeFile(CZipFile& file, CZipFileMapping& mapping) {
    HANDLE hFile = file.GetOsHandle();
    if (hFile == CFile::hFileNull || hFile == nullptr)
        return false;
    // Unnamed: a named mapping is shared by name across the whole session, so a
    // second archive mapped at the same time would be given the first one's view.
    mapping.m_hFileMap = ::CreateFileMappingA(hFile, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    if (mapping.m_hFileMap == nullptr)
        return false;
    mapping.m_pFileMap = ::MapViewOfFile(mapping.m_hFileMap, FILE_MAP_WRITE, 0, 0, 0);
    if (mapping.m_pFileMap == nullptr) {
        ::CloseHandle(mapping.m_hFileMap);
        mapping.m_hFileMap = nullptr;
        return false;
    }
    return true;
}

void UnmapWholeFile(CZipFileMapping& mapping) {
    if (mapping.m_pFileMap != nullptr) {
        ::UnmapViewOfFile(mapping.m_pFileMap);
        mapping.m_pFileMap = nullptr;
    }
    if (mapping.m_hFileMap != nullptr) {
        ::CloseHandle(mapping.m_hFileMap);
        mapping.m_hFileMap = nullptr;
    }
}

} // namespace ZipPlatform
