#include "NewFile.h"

#include "TraceLog.h"

#include "framework/Exception.h"
#include "framework/File.h"

#include <windows.h>

bool WriteNewFile(const char* path, const std::function<bool(CFile&)>& write) {
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
        KWTRACE_ERROR(("WriteNewFile: cannot create \"%s\", error %ld\n", path,
                       static_cast<long>(error.m_lOsError)));
        return false;
    }
    try {
        if (write(file)) {
            file.Close();
            return true;
        }
    } catch (CException* e) {
        e->Delete();
    }
    file.Abort();
    DeleteFileA(path);
    KWTRACE_ERROR(("WriteNewFile: writing \"%s\" failed; removed\n", path));
    return false;
}
