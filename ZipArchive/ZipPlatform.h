// ZipPlatform.h: the platform functions of the ZIP classes: attributes, times,
// sizes, drives, temporary names, renaming, deleting, code pages and mappings.
// Every path is an ANSI path.
#pragma once

#include "ZipAutoBuffer.h"
#include "framework/AfxString.h"

class CZipFile;

namespace ZipPlatform {

// 0 missing, -1 a directory, 1 a file.
int GetPathKind(LPCSTR lpszPath);
bool ReadFileAttributes(LPCSTR lpszPath, DWORD& uAttr);
bool WriteFileAttributes(LPCSTR lpszPath, DWORD uAttr);
// The last-write time as a 32-bit time value; the current time and false when
// it cannot be read or lies before 1970.
bool ReadFileModTime(LPCSTR lpszPath, time_t& tTime);
bool WriteFileModTime(LPCSTR lpszPath, time_t tTime);
// The length of a file opened for reading with the share mode given (a
// CFile::share* value); false, without raising, when it cannot be opened or read.
bool ReadFileLength(LPCSTR lpszPath, UINT nShareMode, ULONGLONG& uLength);
// False when the file cannot be opened or is 4 GiB or longer.
bool ReadFileSize(LPCSTR lpszPath, ULONGLONG& uSize);
bool GetCurrentFolder(CString& szFolder);
// ANSI to OEM (bAnsiToOem) or back, in place through UTF-16.
void ConvertAnsiOem(CZipAutoBuffer& buffer, bool bAnsiToOem);
// Text to bytes and bytes to text in a code page (CP_ACP, CP_OEMCP, CP_UTF8):
// the program's strings are in the ANSI code page, so OEM and UTF-8 convert
// through UTF-16 and ANSI copies the bytes.
void TextToBytes(const CString& szText, CZipAutoBuffer& buffer, UINT uCodePage);
void BytesToText(const char* pBytes, DWORD uCount, CString& szText, UINT uCodePage);
bool SetVolumeLabelOf(LPCSTR lpszPath, LPCSTR lpszLabel);
bool IsRemovableDrive(LPCSTR lpszPath);
ULONGLONG GetFreeSpaceOf(LPCSTR lpszPath);
// Failures raise error 118 / 117 when bThrow is set, else answer false.
bool MoveFileOrThrow(LPCSTR lpszFrom, LPCSTR lpszTo, bool bThrow = true);
bool DeleteFileOrThrow(LPCSTR lpszPath, bool bThrow = true);
// A new empty file "ZAR*.tmp" in the folder (or the system's temporary folder),
// on a drive with at least uBytesNeeded free; empty text on failure.
CString MakeTempFileName(LPCSTR lpszFolder, ULONGLONG uBytesNeeded);
// The current time as a 32-bit time value.
time_t CurrentTime();

// A view of a whole open file, readable and writable.
struct CZipFileMapping {
    HANDLE m_hFileMap = nullptr;
    void* m_pFileMap = nullptr;
};
bool MapWholeFile(CZipFile& file, CZipFileMapping& mapping);
void UnmapWholeFile(CZipFileMapping& mapping);

} // namespace ZipPlatform
