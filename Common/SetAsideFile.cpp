// SetAsideFile.cpp: renaming unreadable files aside.
#include "SetAsideFile.h"

#include "TraceLog.h"

#include <windows.h>

bool HoldsSomething(const CString& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.nFileSizeLow ||
           data.nFileSizeHigh;
}

bool MoveAside(const CString& path, CString& backup) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString stem;
    stem.Format("%s.unreadable-%04u%02u%02u-%02u%02u%02u", path.GetString(), now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
    for (int n = 1; n <= 100; ++n) {
        backup = stem;
        if (n > 1)
            backup.AppendFormat("-%d", n);
        if (MoveFileExA(path, backup, 0))
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            KWTRACE_ERROR(("Cannot rename %s to %s, error %lu", path.GetString(),
                           backup.GetString(), static_cast<unsigned long>(error)));
            return false;
        }
    }
    return false;
}
