// UnixPath.cpp: the Windows/Unix path translation of UnixPath.h, over Wine's
// wine_get_unix_file_name and wine_get_dos_file_name (kernel32).
#include "UnixPath.h"

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

} // namespace

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
