// RunningProgram.h: what the tests that start the real program (ZelDorvane.exe)
// and drive it from outside share: a private configuration for the run, the
// program's process and its windows, waiting, real clicks, and screenshots.
//
// The program reads no command line, so its configuration is made private by
// pointing the shell's application-data folders of this build's Wine prefix at
// a temporary folder while a test runs; such tests run alone (their names say
// Screen and Input), and the folders are pointed back afterwards.
#pragma once

#include "native/gtest.h"

#include "resource.h"

#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"

#include "Common/KWXMLSettings.h"
#include "Common/Settings.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

const DWORD kStartTimeoutMs = 60000;

// The shell's application-data folders of the prefix, pointed at folders of
// the test's own for its lifetime.
class CPrivateConfiguration {
public:
    CPrivateConfiguration() {
        for (Folder& folder : m_folders) {
            const std::string path = m_root.File(folder.leaf);
            ::CreateDirectoryA(path.c_str(), nullptr);
            folder.saved = Read(folder);
            // A run that ended without putting them back left its own there.
            if (folder.saved.find("zmtest-") != std::string::npos)
                folder.saved = folder.standard;
            Write(folder, path);
        }
    }
    ~CPrivateConfiguration() {
        CKWXMLSettings::DeleteInstance();
        for (Folder& folder : m_folders)
            Write(folder, folder.saved.empty() ? folder.standard : folder.saved);
    }
    CPrivateConfiguration(const CPrivateConfiguration&) = delete;
    CPrivateConfiguration& operator=(const CPrivateConfiguration&) = delete;

    // Every file below the private folders with its content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        Collect(m_root.Path(), files);
        return files;
    }

private:
    struct Folder {
        HKEY root;
        const char* value;
        const char* standard;
        const char* leaf;
        std::string saved;
    };
    static constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

    static std::string Read(const Folder& folder) {
        char text[MAX_PATH] = "";
        DWORD size = sizeof(text);
        if (::RegGetValueA(folder.root, kKey, folder.value, RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                           nullptr, text, &size) != ERROR_SUCCESS)
            return std::string();
        return text;
    }
    static void Write(const Folder& folder, const std::string& text) {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(folder.root, kKey, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
            return;
        ::RegSetValueExA(hKey, folder.value, 0, REG_EXPAND_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
        ::RegCloseKey(hKey);
    }
    static void Collect(const std::string& folder, std::map<std::string, std::string>& files) {
        WIN32_FIND_DATAA found;
        HANDLE hFind = ::FindFirstFileA((folder + "*").c_str(), &found);
        if (hFind == INVALID_HANDLE_VALUE)
            return;
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                Collect(folder + name + "\\", files);
            else
                files[folder + name] = ReadWholeFile(folder + name);
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }

    CTempFolder m_root;
    Folder m_folders[2] = {
        {HKEY_CURRENT_USER, "AppData", "%USERPROFILE%\\AppData\\Roaming", "Roaming", ""},
        {HKEY_LOCAL_MACHINE, "Common AppData", "%ProgramData%", "Common", ""}};
};

inline std::string ProgramPath() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string build = path;
    // <build>\tests\app\<test>.exe
    for (int i = 0; i < 3; ++i)
        build = build.substr(0, build.rfind('\\'));
    return build + "\\app\\main\\ZelDorvane.exe.so";
}

// Polls pred every 50 ms until it holds; false after nMs.
inline bool WaitFor(const std::function<bool()>& pred, DWORD nMs = kStartTimeoutMs) {
    const DWORD nStart = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - nStart > nMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

inline std::string WindowText(HWND hWnd) {
    char text[1024] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

// One run of the program, ended by force when a test leaves it running.
class CProgram {
public:
    CProgram() = default;
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    bool Start() {
        std::string command = "\"" + ProgramPath() + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        return ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &m_process) != FALSE;
    }
    ~CProgram() {
        if (m_process.hProcess == nullptr)
            return;
        if (IsRunning()) {
            ::TerminateProcess(m_process.hProcess, 1);
            ::WaitForSingleObject(m_process.hProcess, 10000);
        }
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    bool IsRunning() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD nMs = kStartTimeoutMs) const {
        return ::WaitForSingleObject(m_process.hProcess, nMs) == WAIT_OBJECT_0;
    }
    HANDLE Process() const { return m_process.hProcess; }

    // The visible top-level window of the program whose title begins so, other
    // than hExclude.
    HWND FindWindowTitled(const std::string& prefix, HWND hExclude = nullptr) const {
        WindowSearch search = {m_process.dwProcessId, &prefix, hExclude, nullptr};
        ::EnumWindows(&CProgram::MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForWindow(const std::string& prefix, DWORD nMs = kStartTimeoutMs,
                       HWND hExclude = nullptr) const {
        HWND hWnd = nullptr;
        WaitFor(
            [&] { return (hWnd = FindWindowTitled(prefix, hExclude)) != nullptr || !IsRunning(); },
            nMs);
        return hWnd;
    }

private:
    struct WindowSearch {
        DWORD pid;
        const std::string* prefix;
        HWND exclude;
        HWND found;
    };
    static BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam) {
        auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == pSearch->pid && hWnd != pSearch->exclude && ::IsWindowVisible(hWnd) &&
            WindowText(hWnd).compare(0, pSearch->prefix->size(), *pSearch->prefix) == 0) {
            pSearch->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION m_process = {};
};

// The descendants of hParent with the control id, in window order.
struct ChildSearch {
    int id;
    std::vector<HWND> found;
};

inline BOOL CALLBACK MatchChild(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<ChildSearch*>(lParam);
    if (::GetDlgCtrlID(hWnd) == pSearch->id)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

inline std::vector<HWND> ChildrenWithId(HWND hParent, int nID) {
    ChildSearch search = {nID, {}};
    ::EnumChildWindows(hParent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND ChildWithId(HWND hParent, int nID) {
    std::vector<HWND> found = ChildrenWithId(hParent, nID);
    return found.empty() ? nullptr : found.front();
}

// The visible call list with count rows, else null.
inline HWND VisibleListWithCount(HWND hMain, int count) {
    for (HWND hList : ChildrenWithId(hMain, IDC_CALL_LIST)) {
        if (::IsWindowVisible(hList) &&
            ::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(count))
            return hList;
    }
    return nullptr;
}

inline POINT Center(HWND hWnd) {
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// As a hand moves: onto the point, a pixel further, then the button; the
// image buttons light up as the mouse arrives and take the click after that.
inline void MoveOnto(POINT pt) {
    SendMouseMove({pt.x - 1, pt.y - 1});
    ::Sleep(150);
    SendMouseMove(pt);
    ::Sleep(150);
}

inline void Click(POINT pt) {
    MoveOnto(pt);
    SendLeftClick();
    ::Sleep(100);
}

inline void DoubleClick(POINT pt) {
    MoveOnto(pt);
    SendLeftClick();
    SendLeftClick();
    ::Sleep(100);
}

// The screen point in the middle of a report-view row, from the header's
// height and the rows a page holds (messages that carry no pointer, so they
// work across processes).
inline POINT ListRowPoint(HWND hList, int row) {
    RECT client, header = {0, 0, 0, 0};
    ::GetClientRect(hList, &client);
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(hList, LVM_GETHEADER, 0, 0));
    if (hHeader != nullptr)
        ::GetWindowRect(hHeader, &header);
    const int headerHeight = header.bottom - header.top;
    const int perPage = static_cast<int>(::SendMessageA(hList, LVM_GETCOUNTPERPAGE, 0, 0));
    const int rowHeight = perPage > 0 ? (client.bottom - headerHeight) / perPage : 17;
    POINT pt = {120, headerHeight + rowHeight * row + rowHeight / 2};
    ::ClientToScreen(hList, &pt);
    return pt;
}

inline void SaveWindowPng(HWND hWnd, const char* name) {
    // A maximised window reaches past the screen by its border: only the
    // screen can be read.
    RECT window, screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT rect;
    ::GetWindowRect(hWnd, &window);
    ::IntersectRect(&rect, &window, &screen);
    EXPECT_TRUE(SaveScreenPng(rect, name)) << name;
}

inline std::string PerUserConfig(const char* file) {
    return std::string(CSettings::GetConfigFilePath(FALSE, file));
}
