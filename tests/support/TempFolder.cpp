#include "TempFolder.h"

#include <windows.h>

CTempFolder::CTempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    // Process id and a counter keep parallel test programs apart.
    static LONG counter = 0;
    for (;;) {
        char name[MAX_PATH];
        wsprintfA(name, "%szmtest-%lx-%ld-%lx", base, GetCurrentProcessId(),
                  InterlockedIncrement(&counter), GetTickCount());
        if (CreateDirectoryA(name, nullptr)) {
            m_path = std::string(name) + "\\";
            return;
        }
    }
}

CTempFolder::~CTempFolder() {
    RemoveFolderTree(m_path);
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string content;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        content.append(chunk, read);
    CloseHandle(file);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolderTree(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((base + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = base + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolderTree(path);
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(base.c_str());
}
