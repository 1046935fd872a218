#include "OwnerOnlyFile.h"

#include "TraceLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Frees with HeapFree; null when the path has no Unix name.
char* UnixPath(LPCSTR path) {
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return nullptr;
    return wine_get_unix_file_name(wide);
}

} // namespace

HANDLE CreateOwnerOnlyFile(LPCSTR path, DWORD flags) {
    // A new file rather than a truncated old one: an old file keeps its mode,
    // and whoever held it open could read what comes next.
    DeleteFileA(path);
    bool restricted = false;
    if (char* unixPath = UnixPath(path)) {
        int fd = open(unixPath, O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
        if (fd >= 0)
            close(fd);
        // Also when the old file could not be deleted.
        restricted = chmod(unixPath, S_IRUSR | S_IWUSR) == 0;
        HeapFree(GetProcessHeap(), 0, unixPath);
    }
    if (!restricted)
        KWTRACE_ERROR(("CreateOwnerOnlyFile: cannot restrict <%s> to its owner\n", path));
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        KWTRACE_ERROR(
            ("CreateOwnerOnlyFile: cannot create <%s>, error %u\n", path, GetLastError()));
    return file;
}
