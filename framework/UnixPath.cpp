// UnixPath.cpp: the Windows/Unix path translation of UnixPath.h, over Wine's
// wine_get_unix_file_name and wine_get_dos_file_name (kernel32).
#include "UnixPath.h"

#include <fcntl.h>
#include <strings.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// A heap block of Wine's that is freed with HeapFree on the process heap.
template <class T> struct WineHeapText {
    T* p;
    ~WineHeapText() {
        if (p)
            HeapFree(GetProcessHeap(), 0, p);
    }
};

// The folder of the last path that UnixPathOfFileToOpen translated, each form
// with its closing separator.
SRWLOCK g_folderLock = SRWLOCK_INIT;
std::string g_windowsFolder;
std::string g_unixFolder;

bool IsDeviceName(const char* name) {
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    size_t base = std::strcspn(name, ".");
    for (const char* device : kDevices)
        if (base == 3 && strncasecmp(name, device, 3) == 0)
            return true;
    return base == 4 && (strncasecmp(name, "COM", 3) == 0 || strncasecmp(name, "LPT", 3) == 0) &&
           name[3] >= '0' && name[3] <= '9';
}

// A name that Wine would put on disk exactly as written: no short-name tilde, no
// characters a name may not hold, no trailing dot or blank (which Windows drops).
bool IsPlainName(const char* name) {
    if (!*name || IsDeviceName(name))
        return false;
    for (const char* p = name; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c > 0x7E || std::strchr("\\/:*?\"<>|~", c))
            return false;
    }
    const char last = name[std::strlen(name) - 1];
    return last != '.' && last != ' ';
}

} // namespace

bool UnixPathOfFileToOpen(LPCSTR fullPath, std::string& unixPath, DWORD* pError) {
    if (!UnixPathFromWindows(fullPath, unixPath, pError))
        return false;
    const char* slash = std::strrchr(fullPath, '\\');
    const size_t cut = unixPath.rfind('/');
    if (slash && IsPlainName(slash + 1) && cut != std::string::npos) {
        AcquireSRWLockExclusive(&g_folderLock);
        g_windowsFolder.assign(fullPath, slash + 1 - fullPath);
        g_unixFolder.assign(unixPath, 0, cut + 1);
        ReleaseSRWLockExclusive(&g_folderLock);
    }
    return true;
}

bool OpenInLastFolder(LPCSTR fullPath, int flags, int* pFd) {
    const char* slash = fullPath ? std::strrchr(fullPath, '\\') : nullptr;
    if (!slash || !IsPlainName(slash + 1))
        return false;
    std::string unixPath;
    AcquireSRWLockShared(&g_folderLock);
    const bool known =
        g_windowsFolder.compare(0, std::string::npos, fullPath, slash + 1 - fullPath) == 0;
    if (known)
        unixPath = g_unixFolder + (slash + 1);
    ReleaseSRWLockShared(&g_folderLock);
    if (!known)
        return false;
    const int fd = ::open(unixPath.c_str(), flags & ~O_CREAT);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
        return false;
    *pFd = fd;
    return true;
}

bool UnixPathFromWindows(LPCSTR windowsPath, std::string& unixPath, DWORD* pError) {
    if (pError)
        *pError = 0;
    unixPath.clear();
    if (!windowsPath || !*windowsPath)
        return false;

    // Most paths fit the stack buffer; longer ones get one of their own.
    WCHAR local[MAX_PATH + 64];
    std::vector<WCHAR> heap;
    WCHAR* wide = local;
    int chars = MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, local, ARRAYSIZE(local));
    if (chars == 0) {
        chars = MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, nullptr, 0);
        if (chars == 0) {
            if (pError)
                *pError = ERROR_INVALID_NAME;
            return false;
        }
        heap.resize(chars);
        MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, heap.data(), chars);
        wide = heap.data();
    }

    SetLastError(0);
    WineHeapText<char> unix{wine_get_unix_file_name(wide)};
    if (!unix.p) {
        if (pError)
            *pError = GetLastError();
        return false;
    }
    unixPath.assign(unix.p);
    return true;
}

bool WindowsPathFromUnix(const char* unixPath, std::string& windowsPath) {
    windowsPath.clear();
    if (!unixPath || !*unixPath)
        return false;
    WineHeapText<WCHAR> dos{wine_get_dos_file_name(unixPath)};
    if (!dos.p)
        return false;
    int bytes = WideCharToMultiByte(CP_ACP, 0, dos.p, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    windowsPath.resize(bytes);
    WideCharToMultiByte(CP_ACP, 0, dos.p, -1, &windowsPath[0], bytes, nullptr, nullptr);
    windowsPath.resize(bytes - 1);
    return true;
}
