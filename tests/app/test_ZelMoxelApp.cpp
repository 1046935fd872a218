// The program itself, ZelDorvane.exe, started as a user starts it and driven
// from outside with real mouse and keyboard input: a shortcut to a folder of recordings,
// Create Recording List, the progress window, the call list, selecting and
// playing a call, a second start that only brings the first to the front and
// writes nothing, and closing; and the refusal of a resource library that does
// not lie in the program's folder. Screenshots of the main window, the create
// dialog and the player are kept in the test's working folder. Each run gets a
// private configuration (RunningProgram.h).
#include "native/gtest.h"

#include "CallHistory.h"
#include "ZelDorvane.h"
#include "ShortCuts.h"
#include "resource.h"

#include "tests/app/RunningProgram.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/SampleRecordings.h"

#include "Common/KWSysUtils.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

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
