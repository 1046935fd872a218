// ZipAbstractFile.cpp: what the file interface does itself.
#include "ZipAbstractFile.h"

#include <climits>

bool CZipAbstractFile::Open(LPCSTR, UINT, bool) {
    return false;
}

ULONGLONG CZipAbstractFile::SafeSeek(ULONGLONG uOffset, bool bFromBeginning) {
    if (uOffset > (ULONGLONG)LLONG_MAX) {
        uOffset = GetLength() - uOffset;
        bFromBeginning = !bFromBeginning;
    }
    if (bFromBeginning)
        return Seek((LONGLONG)uOffset, begin);
    return Seek(-(LONGLONG)uOffset, end);
}
