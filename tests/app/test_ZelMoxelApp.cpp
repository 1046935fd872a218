// The program itself, ZelDorvane.exe, started as a user starts it and driven
// from outside with real mouse and keyboard input: a shortcut to a folder of recordings,
// Create Recording List, the progress window, the call list, selecting and
// playing a call, a second start that only brings the first to the front and
// writes nothing, and closing; and the refusal of a resource library that does
// not lie in the program's folder. Screenshots of the main window, the create
// dialog and the player are kept in the test's working folder.
//
// The program reads no command line, so its configuration is made private by
// pointing the shell's application-data folders of this build's Wine prefix
// at a temporary folder while a test runs; the tests run alone (their names
// say Screen and Input), and the folders are pointed back afterwards.
#include "native/gtest.h"

#include "CallHistory.h"
#include "ZelDorvane.h"
#include "ShortCuts.h"
#include "resource.h"

#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/SampleRecordings.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"

#include "Common/KWSysUtils.h"
#include "Common/KWXMLSettings.h"
#include "Common/Settings.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

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

std::string ProgramPath() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string build = path;
    // <build>\tests\app\<test>.exe
    for (int i = 0; i < 3; ++i)
        build = build.substr(0, build.rfind('\\'));
    return build + "\\app\\main\\ZelDorvane.exe.so";
}

// Polls pred every 50 ms until it holds; false after nMs.
bool WaitFor(const std::function<bool()>& pred, DWORD nMs = kStartTimeoutMs) {
    const DWORD nStart = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - nStart > nMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

std::string WindowText(HWND hWnd) {
    char text[1024] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

// One run of the program, ended by force when a test leaves it running.
class CProgram {
public:
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

    // The visible top-level window of the program whose title begins so.
    HWND FindWindowTitled(const std::string& prefix) const {
        WindowSearch search = {m_process.dwProcessId, &prefix, nullptr};
        ::EnumWindows(&CProgram::MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForWindow(const std::string& prefix, DWORD nMs = kStartTimeoutMs) const {
        HWND hWnd = nullptr;
        WaitFor([&] { return (hWnd = FindWindowTitled(prefix)) != nullptr || !IsRunning(); }, nMs);
        return hWnd;
    }

private:
    struct WindowSearch {
        DWORD pid;
        const std::string* prefix;
        HWND found;
    };
    static BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam) {
        auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == pSearch->pid && ::IsWindowVisible(hWnd) &&
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

BOOL CALLBACK MatchChild(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<ChildSearch*>(lParam);
    if (::GetDlgCtrlID(hWnd) == pSearch->id)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> ChildrenWithId(HWND hParent, int nID) {
    ChildSearch search = {nID, {}};
    ::EnumChildWindows(hParent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildWithId(HWND hParent, int nID) {
    std::vector<HWND> found = ChildrenWithId(hParent, nID);
    return found.empty() ? nullptr : found.front();
}

// The visible call list with count rows, else null.
HWND VisibleListWithCount(HWND hMain, int count) {
    for (HWND hList : ChildrenWithId(hMain, IDC_CALL_LIST)) {
        if (::IsWindowVisible(hList) &&
            ::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(count))
            return hList;
    }
    return nullptr;
}

POINT Center(HWND hWnd) {
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// As a hand moves: onto the point, a pixel further, then the button; the
// image buttons light up as the mouse arrives and take the click after that.
void MoveOnto(POINT pt) {
    SendMouseMove({pt.x - 1, pt.y - 1});
    ::Sleep(150);
    SendMouseMove(pt);
    ::Sleep(150);
}

void Click(POINT pt) {
    MoveOnto(pt);
    SendLeftClick();
    ::Sleep(100);
}

void DoubleClick(POINT pt) {
    MoveOnto(pt);
    SendLeftClick();
    SendLeftClick();
    ::Sleep(100);
}

// The screen point in the middle of a report-view row, from the header's
// height and the rows a page holds (messages that carry no pointer, so they
// work across processes).
POINT ListRowPoint(HWND hList, int row) {
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

void SaveWindowPng(HWND hWnd, const char* name) {
    // A maximised window reaches past the screen by its border: only the
    // screen can be read.
    RECT window, screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT rect;
    ::GetWindowRect(hWnd, &window);
    ::IntersectRect(&rect, &window, &screen);
    EXPECT_TRUE(SaveScreenPng(rect, name)) << name;
}

std::string PerUserConfig(const char* file) {
    return std::string(CSettings::GetConfigFilePath(FALSE, file));
}

TEST(ZelMoxelApp, MakesAListFromAShortcutAndPlaysACallInputScreen) {
    CAudioCapture capture;
    CPrivateConfiguration configuration;
    CTempFolder temp;
    const std::string folder = temp.File("calls");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::vector<SSampleRecording> samples = MakeSampleRecordings(folder + "\\");
    ASSERT_FALSE(samples.empty());

    // What a user has before this start: a shortcut to the recorder's folder,
    // and two calls in the play history, which opens at start-up. The stores
    // find their folders through the program's names, as the program does.
    CString company, product;
    company.LoadString(IDS_COMPANY);
    product.LoadString(IDS_PRODUCT);
    CKWSysUtils::GetInstance()->SetNames(CKWString(company), CKWString(product));
    CShortCuts* pShortcuts = CShortCuts::GetInstance();
    pShortcuts->Load();
    CShortCuts::SHORTCUTENTRY shortcut;
    shortcut.ID = pShortcuts->GetNextID();
    shortcut.ParentID = 0;
    shortcut.Name = "Recorder calls";
    shortcut.Target = folder.c_str();
    shortcut.IsGroup = 0;
    ASSERT_TRUE(pShortcuts->AddEntry(shortcut));
    ASSERT_TRUE(pShortcuts->Save());
    delete pShortcuts;
    CCallHistory* pHistory = CCallHistory::GetInstance();
    pHistory->Add(samples[0].path.c_str());
    pHistory->Add(samples[1].path.c_str());
    ASSERT_TRUE(pHistory->Save());
    CCallHistory::DeleteInstance();

    CProgram program;
    ASSERT_TRUE(program.Start());
    HWND hMain = program.WaitForWindow("Zel Moxel");
    ASSERT_NE(nullptr, hMain);
    ASSERT_TRUE(WaitFor([&] { return VisibleListWithCount(hMain, 2) != nullptr; }))
        << "the play history opens at start-up";
    EXPECT_TRUE(::IsZoomed(hMain));
    ::Sleep(500);
    SaveWindowPng(hMain, "app_main_window.png");

    // A double click on the shortcut opens "Create Recording List" with its folder.
    HWND hTree = ChildWithId(hMain, 3001);
    ASSERT_NE(nullptr, hTree);
    const int itemHeight = static_cast<int>(::SendMessageA(hTree, TVM_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(itemHeight, 0);
    POINT ptShortcut = {70, itemHeight + itemHeight / 2};
    ::ClientToScreen(hTree, &ptShortcut);
    DoubleClick(ptShortcut);
    HWND hCreate = program.WaitForWindow("Create Recording List", 10000);
    ASSERT_NE(nullptr, hCreate);
    HWND hSources = ::GetDlgItem(hCreate, IDC_SOURCES);
    EXPECT_EQ(1, ::SendMessageA(hSources, LB_GETCOUNT, 0, 0));
    ::Sleep(500);
    SaveWindowPng(hCreate, "app_create_dialog.png");

    // Compile: the progress window, then the new list of every recording.
    Click(Center(::GetDlgItem(hCreate, IDOK)));
    HWND hProgress = program.WaitForWindow("Task in progress", 10000);
    ASSERT_NE(nullptr, hProgress) << "the progress window";
    SaveWindowPng(hProgress, "app_progress.png");
    HWND hList = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        hList = VisibleListWithCount(hMain, static_cast<int>(samples.size()));
        return hList != nullptr && program.FindWindowTitled("Task in progress") == nullptr;
    }));
    EXPECT_TRUE(::IsWindowEnabled(hMain));
    EXPECT_NE(std::string::npos, WindowText(hMain).find("calls")) << WindowText(hMain);

    // Selecting the second row loads it into the player; the list's Play plays it.
    HWND hPlayerPanel = ChildWithId(hMain, IDC_PLAYER_PANEL);
    ASSERT_NE(nullptr, hPlayerPanel);
    HWND hTitle = ChildWithId(hPlayerPanel, IDC_TITLE);
    HWND hPause = ChildWithId(hPlayerPanel, IDC_PAUSE);
    ASSERT_NE(nullptr, hTitle);
    ASSERT_NE(nullptr, hPause);
    ::Sleep(700); // the new list takes its first selection before the user's
    Click(ListRowPoint(hList, 1));
    EXPECT_TRUE(WaitFor(
        [&] { return ::SendMessageA(hList, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == 1; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return WindowText(hTitle).rfind("File - ", 0) == 0; }, 5000))
        << WindowText(hTitle);
    const std::string loaded = WindowText(hTitle);
    // The list's own Play button: every list window has one.
    HWND hListPlay = ::GetDlgItem(::GetParent(hList), IDC_PLAY);
    ASSERT_NE(nullptr, hListPlay);
    Click(Center(hListPlay));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(hPause) != FALSE; }, 10000))
        << "Pause shows while the call plays";
    EXPECT_EQ(loaded, WindowText(hTitle));
    ::Sleep(1500);
    SaveWindowPng(hMain, "app_list.png");
    SaveWindowPng(hPlayerPanel, "app_player.png");

    // A second start: the first comes to the front, restored, and no file changes.
    ::ShowWindow(hMain, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(hMain) != FALSE; }, 5000));
    const auto before = configuration.Snapshot();
    {
        CProgram second;
        ASSERT_TRUE(second.Start());
        EXPECT_TRUE(second.WaitForExit());
        EXPECT_EQ(nullptr, second.FindWindowTitled("Zel Moxel"));
    }
    EXPECT_TRUE(WaitFor([&] { return !::IsIconic(hMain); }, 10000));
    EXPECT_EQ(before, configuration.Snapshot());

    // File > Exit from the keyboard (Alt+F, X) asks about the changed list;
    // No closes without saving it, and the settings and the play history
    // are written at exit.
    ::SetForegroundWindow(hMain);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == hMain; }, 5000));
    ::Sleep(300);
    SendKey(VK_MENU, false);
    SendKeyTap('F');
    SendKey(VK_MENU, true);
    ::Sleep(500);
    SendKeyTap('X');
    EXPECT_TRUE(WaitFor([&] {
        if (HWND hBox = program.FindWindowTitled("Zel Moxel")) {
            if (hBox != hMain && ::GetDlgItem(hBox, IDNO) != nullptr)
                ::PostMessageA(hBox, WM_COMMAND, IDNO, 0);
        }
        return !program.IsRunning();
    }));
    EXPECT_TRUE(FileExists(PerUserConfig("config.xml")));
    const std::string history =
        ReadWholeFile(CSettings::GetConfigFilePath(TRUE, "history.reclist").GetString());
    EXPECT_NE(std::string::npos, history.find(loaded.substr(7, loaded.size() - 7 - 4))) << history;
    bool bPlayed = false;
    for (const auto& opening : capture.Openings())
        bPlayed = bPlayed || opening.size() > 8000;
    EXPECT_TRUE(bPlayed) << "at least a second of the call reached the sound device";
}

TEST(ZelMoxelApp, ARefusedResourceLibraryEndsTheStartAndWritesNothingScreen) {
    struct Case {
        const char* name;
        const char* why;
    } cases[] = {{"..\\resources.dll", "outside the program's folder"},
                 {"C:\\windows\\system32\\comctl32.dll", "a full path"},
                 {"missing-resources.dll", "not there"}};
    bool bShot = false;
    for (const Case& c : cases) {
        CPrivateConfiguration configuration;
        const std::string branding = CSettings::GetConfigFilePath(TRUE, "branding.xml").GetString();
        ASSERT_TRUE(WriteWholeFile(branding,
                                   std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                               "<profile version=\"1\"><section name=\"settings\">"
                                               "<ResourceFile>") +
                                       c.name + "</ResourceFile></section></profile>\r\n"))
            << c.why;
        const auto before = configuration.Snapshot();

        CProgram program;
        ASSERT_TRUE(program.Start()) << c.why;
        HWND hBox = program.WaitForWindow("Initialization error");
        ASSERT_NE(nullptr, hBox) << c.why;
        EXPECT_NE(std::string::npos,
                  WindowText(::GetDlgItem(hBox, 0xFFFF)).find(std::string("(") + c.name + ")"))
            << c.why;
        EXPECT_EQ(nullptr, program.FindWindowTitled("Zel Moxel")) << c.why;
        if (!bShot) {
            ::Sleep(300);
            SaveWindowPng(hBox, "app_initialization_error.png");
            bShot = true;
        }
        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(program.WaitForExit()) << c.why;
        EXPECT_EQ(before, configuration.Snapshot()) << c.why;
    }
}

TEST(ZelMoxelApp, OnlyAPlainFileNameNamesAResourceLibrary) {
    struct Case {
        const char* name;
        bool plain;
    } cases[] = {{"ZelBrand.dll", true},
                 {"brand", true},
                 {"", false},
                 {nullptr, false},
                 {".", false},
                 {"..", false},
                 {"..\\brand.dll", false},
                 {"sub\\brand.dll", false},
                 {"sub/brand.dll", false},
                 {"C:brand.dll", false},
                 {"\\\\server\\share\\brand.dll", false}};
    for (const Case& c : cases)
        EXPECT_EQ(c.plain, CZelDorvaneApp::IsPlainFileName(c.name)) << (c.name ? c.name : "null");
    EXPECT_FALSE(CZelDorvaneApp::IsPlainFileName(std::string(MAX_PATH, 'a').c_str()));
}

} // namespace
