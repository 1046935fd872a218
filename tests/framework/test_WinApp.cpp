// Tests of CWinApp: the program's run through AfxWinMain, the profile in the
// registry, the recent-file list, message boxes and the wait cursor.
#include "native/gtest.h"

#include "framework/CmdUI.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const RECT kRect = {0, 0, 120, 80};
const UINT WM_TEST_QUIT = WM_APP + 1;
const UINT IDS_TEST_COMPANY = 1000;
const UINT IDS_TEST_PROMPT = 2000;

// Posts the quit message with the code it is given.
class CQuitWnd : public CWnd {
protected:
    afx_msg LRESULT OnTestQuit(WPARAM wParam, LPARAM) {
        ::PostQuitMessage(static_cast<int>(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CQuitWnd, CWnd)
    ON_MESSAGE(WM_TEST_QUIT, &CQuitWnd::OnTestQuit)
END_MESSAGE_MAP()
// clang-format on

class CRunApp : public CWinApp {
public:
    enum EMode { kRuns, kInitFailsWithWindow, kNoMainWindow };
    explicit CRunApp(EMode eMode) : m_eMode(eMode) {}

    std::string m_log;
    HWND m_hWndMain = nullptr;
    bool m_bQuitLeftInQueue = false;

    BOOL InitInstance() override {
        m_log += "init,";
        if (m_eMode == kNoMainWindow)
            return TRUE;
        if (!m_wndMain.CreateEx(0, nullptr, "main", WS_POPUP, kRect, nullptr, 0))
            return FALSE;
        m_hWndMain = m_wndMain.m_hWnd;
        m_pMainWnd = &m_wndMain;
        if (m_eMode == kInitFailsWithWindow)
            return FALSE;
        m_wndMain.PostMessage(WM_TEST_QUIT, 3);
        return TRUE;
    }
    int Run() override {
        m_log += "run,";
        return CWinApp::Run();
    }
    int ExitInstance() override {
        MSG msg;
        m_bQuitLeftInQueue = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
        m_log += "exit,";
        return CWinApp::ExitInstance();
    }

private:
    EMode m_eMode;
    CQuitWnd m_wndMain;
};

TEST(WinAppRun, AfxWinMainRunsTheApplication) {
    struct SCase {
        const char* name;
        CRunApp::EMode eMode;
        int nResult;
        const char* log;
    };
    const SCase cases[] = {
        {"the loop runs until the quit message", CRunApp::kRuns, 3, "init,run,exit,"},
        {"initialisation fails after making the main window", CRunApp::kInitFailsWithWindow, 0,
         "init,exit,"},
        {"no main window: nothing to run", CRunApp::kNoMainWindow, 0, "init,run,exit,"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRunApp app(c.eMode);
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(c.nResult, AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW));
        EXPECT_EQ(c.log, app.m_log);
        EXPECT_FALSE(app.m_bQuitLeftInQueue);
        if (c.eMode == CRunApp::kInitFailsWithWindow) {
            EXPECT_FALSE(::IsWindow(app.m_hWndMain)); // the framework destroyed it
        }
        // Names of the running program: the title string, the program file's name.
        EXPECT_STREQ("Zm Test Title", app.m_pszAppName);
        EXPECT_STREQ("framework_test_WinApp", app.m_pszExeName);
        EXPECT_EQ(::GetModuleHandleA(nullptr), AfxGetInstanceHandle());
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(-1, AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW));
}

TEST(WinAppRun, MainWindowAndThread) {
    CWinApp app("AppName");
    EXPECT_STREQ("AppName", AfxGetAppName());
    EXPECT_EQ(&app, AfxGetThread());
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    app.m_pMainWnd = &wnd;
    EXPECT_EQ(&wnd, AfxGetMainWnd());
    // The main window's end is the thread's: the loop is told to quit.
    wnd.DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// ---------------------------------------------------------------------------
// The profile.

class WinAppProfile : public ::testing::Test {
protected:
    WinAppProfile()
        : m_app("ZmProfileApp"),
          m_strCompany("ZmTestCompany-" + std::to_string(::GetCurrentProcessId())) {}
    void SetUp() override { m_app.SetRegistryKey(m_strCompany.c_str()); }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_strCompany).c_str());
    }
    std::string SectionPath(const char* pszSection) const {
        return "Software\\" + m_strCompany + "\\ZmProfileApp\\" + pszSection;
    }

    CWinApp m_app;
    std::string m_strCompany;
};

TEST_F(WinAppProfile, ValuesRoundTrip) {
    EXPECT_STREQ(m_strCompany.c_str(), m_app.m_pszRegistryKey);
    EXPECT_STREQ("ZmProfileApp", m_app.m_pszProfileName);
    const int ints[] = {0, 1, -5, 0x7FFFFFFF};
    for (int n : ints) {
        ASSERT_TRUE(m_app.WriteProfileInt("Numbers", "Value", n));
        EXPECT_EQ(static_cast<UINT>(n), m_app.GetProfileInt("Numbers", "Value", 99));
    }
    const std::string strings[] = {"", "X", std::string(2000, 'q')};
    for (const std::string& s : strings) {
        ASSERT_TRUE(m_app.WriteProfileString("Texts", "Value", s.c_str()));
        EXPECT_STREQ(s.c_str(), m_app.GetProfileString("Texts", "Value", "default"));
    }
    std::vector<BYTE> bytes(300);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>(i);
    for (UINT nBytes : {0u, 1u, 300u}) {
        ASSERT_TRUE(m_app.WriteProfileBinary("Blobs", "Value", bytes.data(), nBytes));
        LPBYTE pData = nullptr;
        UINT nRead = 12345;
        ASSERT_TRUE(m_app.GetProfileBinary("Blobs", "Value", &pData, &nRead));
        ASSERT_EQ(nBytes, nRead);
        EXPECT_EQ(0, memcmp(bytes.data(), pData, nBytes));
        delete[] pData;
    }
    // Stored where the application's profile lives, in the registry's own types.
    DWORD dwValue = 0, cb = sizeof(dwValue);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueA(HKEY_CURRENT_USER, SectionPath("Numbers").c_str(),
                                            "Value", RRF_RT_REG_DWORD, nullptr, &dwValue, &cb));
    EXPECT_EQ(0x7FFFFFFFu, dwValue);
}

TEST_F(WinAppProfile, MissingAndMistypedValuesGiveTheDefault) {
    ASSERT_TRUE(m_app.WriteProfileString("Mixed", "Text", "12"));
    ASSERT_TRUE(m_app.WriteProfileInt("Mixed", "Number", 12));
    EXPECT_EQ(7u, m_app.GetProfileInt("Mixed", "Text", 7));
    EXPECT_STREQ("d", m_app.GetProfileString("Mixed", "Number", "d"));
    EXPECT_STREQ("", m_app.GetProfileString("Mixed", "Missing"));
    EXPECT_EQ(7u, m_app.GetProfileInt("NoSuchSection", "Number", 7));
    LPBYTE pData = reinterpret_cast<LPBYTE>(1);
    UINT nBytes = 5;
    EXPECT_FALSE(m_app.GetProfileBinary("Mixed", "Text", &pData, &nBytes));
    EXPECT_EQ(nullptr, pData);
    EXPECT_EQ(0u, nBytes);
    EXPECT_FALSE(m_app.GetProfileBinary("Mixed", "Text", nullptr, &nBytes));
}

TEST_F(WinAppProfile, DeletingEntriesAndSections) {
    ASSERT_TRUE(m_app.WriteProfileString("Gone", "A", "1"));
    ASSERT_TRUE(m_app.WriteProfileString("Gone", "B", "2"));
    EXPECT_TRUE(m_app.WriteProfileString("Gone", "A", nullptr));
    EXPECT_STREQ("none", m_app.GetProfileString("Gone", "A", "none"));
    EXPECT_STREQ("2", m_app.GetProfileString("Gone", "B", "none"));
    EXPECT_TRUE(m_app.WriteProfileString("Gone", "A", nullptr)); // deleting again is fine
    EXPECT_TRUE(m_app.WriteProfileString("Gone", nullptr, nullptr));
    HKEY hKey = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              ::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath("Gone").c_str(), 0, KEY_READ, &hKey));
}

TEST(WinAppProfileKey, NothingHappensBeforeTheKeyIsSet) {
    CWinApp app("ZmNoKeyApp");
    EXPECT_EQ(nullptr, app.m_pszRegistryKey);
    EXPECT_FALSE(app.WriteProfileInt("S", "E", 1));
    EXPECT_EQ(4u, app.GetProfileInt("S", "E", 4));
    EXPECT_STREQ("d", app.GetProfileString("S", "E", "d"));
    EXPECT_EQ(nullptr, app.GetAppRegistryKey());

    // The company from the string table; the profile name is the application name.
    app.SetRegistryKey(IDS_TEST_COMPANY);
    EXPECT_STREQ("ZmResCompany", app.m_pszRegistryKey);
    EXPECT_STREQ("ZmNoKeyApp", app.m_pszProfileName);
    app.SetRegistryKey(static_cast<UINT>(4321)); // no such string: unchanged
    EXPECT_STREQ("ZmResCompany", app.m_pszRegistryKey);
}

// ---------------------------------------------------------------------------
// The recent-file list.

std::vector<std::string> Names(CRecentFileList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetSize(); ++i)
        names.push_back(list[i].GetString());
    return names;
}

TEST(WinAppRecentFiles, AddMovesUpAndDropsTheOldest) {
    CRecentFileList list(0, "Recent File List", "File%d", 4);
    struct SStep {
        const char* pszAdd;
        std::vector<std::string> expected;
    };
    const SStep steps[] = {
        {"C:\\a.reclist", {"C:\\a.reclist", "", "", ""}},
        {"C:\\b.reclist", {"C:\\b.reclist", "C:\\a.reclist", "", ""}},
        {"c:\\A.RECLIST", {"c:\\A.RECLIST", "C:\\b.reclist", "", ""}},
        {"C:\\c", {"C:\\c", "c:\\A.RECLIST", "C:\\b.reclist", ""}},
        {"C:\\d", {"C:\\d", "C:\\c", "c:\\A.RECLIST", "C:\\b.reclist"}},
        {"C:\\e", {"C:\\e", "C:\\d", "C:\\c", "c:\\A.RECLIST"}},
        {"", {"C:\\e", "C:\\d", "C:\\c", "c:\\A.RECLIST"}},
        {"C:\\x\\..\\c", {"C:\\c", "C:\\e", "C:\\d", "c:\\A.RECLIST"}},
    };
    for (const SStep& step : steps) {
        SCOPED_TRACE(step.pszAdd);
        list.Add(step.pszAdd);
        EXPECT_EQ(step.expected, Names(list));
    }
    list.Remove(1);
    EXPECT_EQ((std::vector<std::string>{"C:\\c", "C:\\d", "c:\\A.RECLIST", ""}), Names(list));
    list.Remove(7); // out of range: nothing
    EXPECT_STREQ("", list[9]);
}

TEST(WinAppRecentFiles, DisplayNames) {
    CRecentFileList list(0, "Recent File List", "File%d", 1, 30);
    struct SCase {
        const char* pszPath;
        const char* pszCurDir;
        const char* expected;
    };
    const SCase cases[] = {
        {"C:\\short\\a.reclist", "D:\\elsewhere", "C:\\short\\a.reclist"},
        {"C:\\work\\a.reclist", "C:\\work", "a.reclist"},
        {"C:\\work\\deeper\\a.reclist", "C:\\work", "C:\\work\\deeper\\a.reclist"},
        {"C:\\first\\sub\\deeper\\file.reclist", nullptr, "C:\\...\\sub\\deeper\\file.reclist"},
        {"C:\\one\\sub\\deeper\\file.reclist", nullptr, "C:\\one\\sub\\deeper\\file.reclist"},
        {"C:\\one\\two\\three\\four\\x.reclist", nullptr, "C:\\...\\three\\four\\x.reclist"},
        {"\\\\server\\share\\folder\\deep\\x.reclist", nullptr,
         "\\\\server\\share\\...\\x.reclist"},
        {"C:\\a\\a-name-far-too-long-for-any-menu.reclist", nullptr,
         "a-name-far-too-long-for-any-menu.reclist"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pszPath);
        list.Remove(0);
        list[0] = c.pszPath;
        CString strName;
        int nCurDir = c.pszCurDir != nullptr ? static_cast<int>(strlen(c.pszCurDir)) : 0;
        ASSERT_TRUE(list.GetDisplayName(strName, 0, c.pszCurDir, nCurDir));
        EXPECT_STREQ(c.expected, strName);
        EXPECT_LE(strName.GetLength(), std::max(30, static_cast<int>(strlen(c.expected))));
    }
    list.Remove(0);
    CString strName;
    EXPECT_FALSE(list.GetDisplayName(strName, 0, nullptr, 0));
}

TEST_F(WinAppProfile, RecentFilesThroughTheProfile) {
    // A list saved with a hole reads back closed up.
    ASSERT_TRUE(m_app.WriteProfileString("Recent File List", "File1", "C:\\one.reclist"));
    ASSERT_TRUE(m_app.WriteProfileString("Recent File List", "File3", "C:\\three.reclist"));
    m_app.LoadStdProfileSettings(4);
    ASSERT_NE(nullptr, m_app.m_pRecentFileList);
    EXPECT_EQ((std::vector<std::string>{"C:\\one.reclist", "C:\\three.reclist", "", ""}),
              Names(*m_app.m_pRecentFileList));

    m_app.AddToRecentFileList("C:\\new.reclist");
    m_app.ExitInstance();
    EXPECT_STREQ("C:\\new.reclist", m_app.GetProfileString("Recent File List", "File1"));
    EXPECT_STREQ("C:\\one.reclist", m_app.GetProfileString("Recent File List", "File2"));
    EXPECT_STREQ("C:\\three.reclist", m_app.GetProfileString("Recent File List", "File3"));
    EXPECT_STREQ("none", m_app.GetProfileString("Recent File List", "File4", "none"));

    m_app.LoadStdProfileSettings(0);
    EXPECT_EQ(nullptr, m_app.m_pRecentFileList);
}

std::vector<std::string> MenuTexts(CMenu& menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        CString strText;
        menu.GetMenuString(i, strText, MF_BYPOSITION);
        UINT nState = menu.GetMenuState(i, MF_BYPOSITION);
        if ((nState & MF_GRAYED) && !(nState & MF_SEPARATOR))
            strText += " (grayed)";
        texts.push_back(strText.GetString());
    }
    return texts;
}

TEST(WinAppRecentFiles, UpdateMenuReplacesThePlaceholder) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 0x8001, "&Open");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 0x8002, "E&xit");

    CRecentFileList list(0, "Recent File List", "File%d", 4);
    auto update = [&](UINT nIndex) {
        CCmdUI state;
        state.m_pMenu = &menu;
        state.m_nIndex = nIndex;
        state.m_nID = ID_FILE_MRU_FILE1;
        state.m_nIndexMax = static_cast<UINT>(menu.GetMenuItemCount());
        list.UpdateMenu(&state);
        return state;
    };

    update(1);
    EXPECT_EQ((std::vector<std::string>{"&Open", "Recent File (grayed)", "", "E&xit"}),
              MenuTexts(menu));

    list.Add("C:\\zz\\b.reclist");
    list.Add("C:\\zz\\a&b.reclist");
    CCmdUI state = update(1);
    EXPECT_EQ((std::vector<std::string>{"&Open", "&1 C:\\zz\\a&&b.reclist", "&2 C:\\zz\\b.reclist",
                                        "", "E&xit"}),
              MenuTexts(menu));
    EXPECT_EQ(ID_FILE_MRU_FILE1 + 1, menu.GetMenuItemID(2));
    EXPECT_EQ(2u, state.m_nIndex); // the walk goes on after the inserted items
    EXPECT_EQ(5u, state.m_nIndexMax);
    EXPECT_TRUE(state.m_bEnableChanged);

    // Emptied again: back to the placeholder alone.
    list.Remove(0);
    list.Remove(0);
    update(1);
    EXPECT_EQ((std::vector<std::string>{"&Open", "Recent File (grayed)", "", "E&xit"}),
              MenuTexts(menu));
}

// Opens only paths without "missing" in them.
class CFakeDocManager : public CDocManager {
public:
    std::vector<std::string>* m_pOpened = nullptr;
    CDocument* m_pDocument = nullptr;
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override {
        m_pOpened->push_back(lpszFileName);
        return strstr(lpszFileName, "missing") != nullptr ? nullptr : m_pDocument;
    }
};

TEST(WinAppRecentFiles, OpeningAnEntryThroughItsCommand) {
    CWinApp app("Recent");
    app.m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", 4);
    app.AddToRecentFileList("C:\\kept.reclist");
    app.AddToRecentFileList("C:\\missing.reclist");
    std::vector<std::string> opened;
    CDocument document;
    CFakeDocManager* pManager = new CFakeDocManager;
    pManager->m_pOpened = &opened;
    pManager->m_pDocument = &document;
    AfxSetDocManager(pManager);

    // The second entry opens; the first cannot and leaves the list.
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1 + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{"C:\\kept.reclist", "C:\\missing.reclist"}), opened);
    EXPECT_EQ((std::vector<std::string>{"C:\\kept.reclist", "", "", ""}),
              Names(*app.m_pRecentFileList));
    // Commands of entries the list does not have are not handled.
    EXPECT_FALSE(app.OnCmdMsg(ID_FILE_MRU_FILE1 + 3, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(2u, opened.size());
    AfxSetDocManager(nullptr);
}

// ---------------------------------------------------------------------------
// Message boxes and the wait cursor.

struct SBoxSeen {
    std::string caption;
    std::vector<std::string> texts;
    HICON hIcon = nullptr;
    HWND hWndOwner = nullptr;
};
SBoxSeen* g_pBoxSeen = nullptr;
HHOOK g_hBoxHook = nullptr;

BOOL CALLBACK CollectBoxChild(HWND hWnd, LPARAM) {
    char szText[256] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    g_pBoxSeen->texts.push_back(szText);
    if ((::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        g_pBoxSeen->hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, STM_GETICON, 0, 0));
    return TRUE;
}

// Reads the box as it comes up and answers it with its default button.
LRESULT CALLBACK BoxHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_ACTIVATE && g_pBoxSeen != nullptr) {
        HWND hWndBox = reinterpret_cast<HWND>(wParam);
        char szCaption[256] = "";
        ::GetWindowTextA(hWndBox, szCaption, sizeof(szCaption));
        g_pBoxSeen->caption = szCaption;
        g_pBoxSeen->hWndOwner = ::GetWindow(hWndBox, GW_OWNER);
        ::EnumChildWindows(hWndBox, CollectBoxChild, 0);
        ::PostMessageA(hWndBox, WM_KEYDOWN, VK_RETURN, 0);
        g_pBoxSeen = nullptr;
    }
    return ::CallNextHookEx(g_hBoxHook, nCode, wParam, lParam);
}

bool Contains(const std::vector<std::string>& texts, const char* psz) {
    for (const std::string& s : texts) {
        if (s == psz)
            return true;
    }
    return false;
}

TEST(WinAppMessageBoxFocus, CaptionTextIconAndOwner) {
    CWinApp app("Box Caption");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    g_hBoxHook = ::SetWindowsHookExA(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, g_hBoxHook);

    struct SCase {
        const char* name;
        std::function<int()> show;
        const char* text;
        LPCSTR iconId; // null: no icon
        bool bOwnedByMain;
    };
    const SCase cases[] = {
        {"OK box gets the exclamation mark", [] { return AfxMessageBox("plain", MB_OK); }, "plain",
         IDI_EXCLAMATION, false},
        {"yes/no box gets the question mark", [] { return AfxMessageBox("ask", MB_YESNO); }, "ask",
         IDI_QUESTION, false},
        {"an icon given stays", [] { return AfxMessageBox("stop", MB_OK | MB_ICONSTOP); }, "stop",
         IDI_HAND, false},
        {"text from the string table", [] { return AfxMessageBox(IDS_TEST_PROMPT); },
         "Prompt from the resources", IDI_EXCLAMATION, false},
        {"owned by the main window", [] { return AfxMessageBox("owned"); }, "owned",
         IDI_EXCLAMATION, true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        app.m_pMainWnd = c.bOwnedByMain ? &main : nullptr;
        SBoxSeen seen;
        g_pBoxSeen = &seen;
        int nResult = c.show();
        EXPECT_TRUE(nResult == IDOK || nResult == IDYES);
        EXPECT_EQ("Box Caption", seen.caption);
        EXPECT_TRUE(Contains(seen.texts, c.text));
        EXPECT_EQ(::LoadIconA(nullptr, c.iconId), seen.hIcon);
        EXPECT_EQ(c.bOwnedByMain ? main.m_hWnd : nullptr, seen.hWndOwner);
    }
    app.m_pMainWnd = nullptr;
    ::UnhookWindowsHookEx(g_hBoxHook);
    main.DestroyWindow();
}

// Under a modal dialog the main window is disabled; after a common dialog
// closed, its last active popup can be the main window itself. The box must
// still go to the dialog: owned by the disabled main window it would enable it
// again when it closes, under the running dialog.
TEST(WinAppMessageBoxFocus, UnderAModalLoopTheBoxGoesToTheEnabledPopup) {
    CWinApp app("Box Owner");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, kRect, nullptr, 0));
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, kRect, &main, 0));
    ASSERT_EQ(main.m_hWnd, ::GetWindow(dialog.m_hWnd, GW_OWNER));
    app.m_pMainWnd = &main;
    ::SetActiveWindow(main.m_hWnd);
    ASSERT_EQ(main.m_hWnd, ::GetLastActivePopup(main.m_hWnd));
    main.EnableWindow(FALSE);
    EXPECT_EQ(dialog.m_hWnd, CWnd::GetSafeOwner(nullptr)->GetSafeHwnd());

    g_hBoxHook = ::SetWindowsHookExA(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, g_hBoxHook);
    SBoxSeen seen;
    g_pBoxSeen = &seen;
    AfxMessageBox("owned by the dialog");
    ::UnhookWindowsHookEx(g_hBoxHook);
    EXPECT_TRUE(Contains(seen.texts, "owned by the dialog"));
    EXPECT_EQ(dialog.m_hWnd, seen.hWndOwner);
    EXPECT_FALSE(main.IsWindowEnabled()) << "the box gave the main window its input back";

    // A main window that is enabled keeps its boxes.
    main.EnableWindow(TRUE);
    ::SetActiveWindow(main.m_hWnd);
    g_hBoxHook = ::SetWindowsHookExA(WH_CBT, BoxHook, nullptr, ::GetCurrentThreadId());
    SBoxSeen seenMain;
    g_pBoxSeen = &seenMain;
    AfxMessageBox("owned by the main window");
    ::UnhookWindowsHookEx(g_hBoxHook);
    EXPECT_EQ(main.m_hWnd, seenMain.hWndOwner);

    app.m_pMainWnd = nullptr;
    dialog.DestroyWindow();
    main.DestroyWindow();
}

TEST(WinAppWaitCursor, CountedBeginsAndEnds) {
    CWinApp app("Cursor");
    HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR hWait = ::LoadCursorA(nullptr, IDC_WAIT);
    ::SetCursor(hArrow);
    struct SStep {
        int nCode;
        HCURSOR hExpected;
    };
    const SStep steps[] = {{1, hWait},   {1, hWait}, {-1, hWait}, {-1, hArrow},
                           {-1, hArrow}, {1, hWait}, {-1, hArrow}};
    for (const SStep& step : steps) {
        app.DoWaitCursor(step.nCode);
        EXPECT_EQ(step.hExpected, ::GetCursor());
    }
    {
        CWaitCursor wait;
        EXPECT_EQ(hWait, ::GetCursor());
        ::SetCursor(hArrow); // as a message box would
        wait.Restore();
        EXPECT_EQ(hWait, ::GetCursor());
    }
    EXPECT_EQ(hArrow, ::GetCursor());
}

} // namespace
