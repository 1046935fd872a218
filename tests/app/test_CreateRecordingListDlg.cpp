// Tests of CCreateRecordingListDlg, "Create Recording List": how Add...,
// Remove and "Include Sub-directories" keep the sources list (whole path
// components, without regard to case, each folder once), the controls it
// opens with, the minutes of the up-down control, the date range of one day,
// the criteria Compile fills, and Enter and Esc leaving it open. The folder
// picker is replaced by a queue of answers.
#include "native/gtest.h"

#include "CreateRecordingListDlg.h"
#include "resource.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::WindowText;
using Folders = std::vector<std::string>;

// The dialog with the folder picker answered from a queue; an empty queue
// is a cancelled picker.
class CTestCreateDlg : public CCreateRecordingListDlg {
public:
    std::deque<std::string> m_choices;
    int m_nPickerRuns = 0;
    std::function<void()> m_onPicker; // runs while the picker would be open

protected:
    BOOL ChooseFolder(CString& strFolder) override {
        ++m_nPickerRuns;
        if (m_onPicker)
            m_onPicker();
        if (m_choices.empty())
            return FALSE;
        strFolder = m_choices.front().c_str();
        m_choices.pop_front();
        return TRUE;
    }
};

CKWArray<CKWString> ToArray(const Folders& folders) {
    CKWArray<CKWString> array;
    for (const std::string& strFolder : folders)
        array.Add(CKWString(strFolder.c_str()));
    return array;
}

class CreateRecordingListDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make("Create host", CRect(20, 20, 700, 700))); }
    void TearDown() override {
        if (::IsWindow(m_dlg.m_hWnd))
            m_dlg.DestroyWindow();
    }

    void Open(const Folders& initial = {}) {
        if (!initial.empty())
            m_dlg.SetInitialFolders(ToArray(initial));
        ASSERT_TRUE(m_dlg.Create(IDD_CREATE_LIST, &m_host));
        m_dlg.ShowWindow(SW_SHOW);
    }
    HWND Item(int nID) const { return ::GetDlgItem(m_dlg.m_hWnd, nID); }
    // A click as the user's: the button's own state changes and its notification.
    void Click(int nID) { ::SendMessageA(Item(nID), BM_CLICK, 0, 0); }

    Folders Sources() const {
        Folders folders;
        const LRESULT nCount = ::SendMessageA(Item(IDC_SOURCES), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < nCount; ++i) {
            char szText[MAX_PATH * 2] = "";
            ::SendMessageA(Item(IDC_SOURCES), LB_GETTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(szText));
            folders.push_back(szText);
        }
        return folders;
    }
    int Selected() const {
        return static_cast<int>(::SendMessageA(Item(IDC_SOURCES), LB_GETCURSEL, 0, 0));
    }
    // Puts entries into the list as they stand, without the dialog's rules.
    void Seed(const Folders& folders) {
        for (const std::string& strFolder : folders)
            ::SendMessageA(Item(IDC_SOURCES), LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(strFolder.c_str()));
    }
    void Add(const std::string& strFolder) {
        m_dlg.m_choices.push_back(strFolder);
        Click(IDC_ADD_SOURCE);
    }
    void SetSubFolders(bool bOn) {
        ::SendMessageA(Item(IDC_SUBFOLDERS), BM_SETCHECK, bOn ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    bool Enabled(int nID) const { return ::IsWindowEnabled(Item(nID)) != FALSE; }
    bool Visible(int nID) const {
        return (::GetWindowLongA(Item(nID), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool Checked(int nID) const {
        return ::SendMessageA(Item(nID), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Spin(int nDelta) {
        NMUPDOWN info = {};
        info.hdr.hwndFrom = Item(IDC_MINUTES_SPIN);
        info.hdr.idFrom = IDC_MINUTES_SPIN;
        info.hdr.code = UDN_DELTAPOS;
        info.iDelta = nDelta;
        m_dlg.SendMessage(WM_NOTIFY, IDC_MINUTES_SPIN, reinterpret_cast<LPARAM>(&info));
    }
    std::string Minutes() const { return WindowText(Item(IDC_MINUTES)); }

    CHostWnd m_host;
    CTestCreateDlg m_dlg;
};

TEST_F(CreateRecordingListDlgTest, OpensWithTheDefaults) {
    Open();
    EXPECT_EQ(WindowText(m_dlg.m_hWnd), "Create Recording List");
    EXPECT_TRUE(Sources().empty());
    EXPECT_EQ(WindowText(Item(IDC_FILENAME_MASK)), "*");
    EXPECT_EQ(WindowText(Item(IDC_CALLERID_MASK)), "*");
    EXPECT_TRUE(Checked(IDC_SUBFOLDERS));
    EXPECT_TRUE(Checked(IDC_DATE_30DAYS));
    EXPECT_TRUE(Checked(IDC_LENGTH_ALL));
    EXPECT_EQ(Minutes(), "0");
    for (int nID : {IDOK, IDC_REMOVE, IDC_MINUTES, IDC_MINUTES_SPIN})
        EXPECT_FALSE(Enabled(nID)) << nID;
    EXPECT_TRUE(Enabled(IDC_ADD_SOURCE));
    for (int nID : {IDC_DATE_AFTER_LABEL, IDC_DATE_AFTER, IDC_DATE_AND_LABEL, IDC_DATE_BEFORE_LABEL,
                    IDC_DATE_BEFORE})
        EXPECT_FALSE(Visible(nID)) << nID;
    EXPECT_TRUE(::GetWindowLongA(Item(IDC_MINUTES), GWL_STYLE) & ES_READONLY);
}

// A shortcut group's folders: sorted, each once (however it is written),
// Compile enabled, the last one selected.
TEST_F(CreateRecordingListDlgTest, InitialFoldersAreListedSortedOnce) {
    Open({"C:\\Rec\\Zeta", "C:\\Rec\\Alpha", "C:\\Rec\\Mid", "C:\\Rec\\Alpha", "c:\\rec\\mid\\"});
    EXPECT_EQ(Sources(), (Folders{"C:\\Rec\\Alpha", "C:\\Rec\\Mid", "C:\\Rec\\Zeta"}));
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_TRUE(Enabled(IDC_REMOVE));
}

// The rules of Add..., by the sub-folders flag: the list before, the chosen
// folder, the list after and its selection.
TEST_F(CreateRecordingListDlgTest, AddKeepsEachFolderOnceAndNoneInsideAnother) {
    const struct {
        bool bSubFolders;
        Folders before;
        std::string strAdded;
        Folders after;
        int nSelected; // -2: as it was
    } cases[] = {
        {true, {}, "C:\\Rec", {"C:\\Rec"}, 0},
        {true, {"C:\\Rec"}, "C:\\Rec\\A", {"C:\\Rec"}, -2},
        {true, {"C:\\Rec\\A", "C:\\Rec\\B"}, "C:\\Rec", {"C:\\Rec"}, 0},
        {true,
         {"C:\\Rec\\A", "D:\\Other", "C:\\Rec\\B\\C"},
         "C:\\REC",
         {"D:\\Other", "C:\\REC"},
         0},
        {true, {"C:\\Rec"}, "C:\\Records", {"C:\\Rec", "C:\\Records"}, 1},
        {true, {"C:\\Records"}, "C:\\Rec", {"C:\\Records", "C:\\Rec"}, 1},
        {true, {"C:\\Rec"}, "c:\\REC\\", {"C:\\Rec"}, -2},
        {true, {"C:\\Rec"}, "C:/Rec/A", {"C:\\Rec"}, -2},
        {true, {"C:\\"}, "C:\\Rec", {"C:\\"}, -2},
        {true, {"C:\\Rec", "C:\\Rec"}, "C:\\", {"C:\\"}, 0},
        {false, {}, "C:\\Rec", {"C:\\Rec"}, 0},
        {false, {"C:\\Rec"}, "C:\\Rec\\A", {"C:\\Rec", "C:\\Rec\\A"}, 1},
        {false, {"C:\\Rec\\A"}, "C:\\Rec", {"C:\\Rec\\A", "C:\\Rec"}, 1},
        {false, {"C:\\Rec"}, "c:\\rec", {"C:\\Rec"}, -2},
    };
    for (const auto& c : cases) {
        Open();
        SetSubFolders(c.bSubFolders);
        Seed(c.before);
        const int nBefore = Selected();
        Add(c.strAdded);
        const std::string strCase =
            std::string(c.bSubFolders ? "sub-folders, add " : "no sub-folders, add ") + c.strAdded;
        EXPECT_EQ(Sources(), c.after) << strCase;
        EXPECT_EQ(Selected(), c.nSelected == -2 ? nBefore : c.nSelected) << strCase;
        if (c.nSelected != -2) {
            EXPECT_TRUE(Enabled(IDOK)) << strCase;
            EXPECT_TRUE(Enabled(IDC_REMOVE)) << strCase;
        }
        EXPECT_EQ(m_dlg.m_nPickerRuns, 1) << strCase;
        m_dlg.DestroyWindow();
        m_dlg.m_nPickerRuns = 0;
    }
}

TEST_F(CreateRecordingListDlgTest, CancelledPickerAddsNothing) {
    Open();
    Click(IDC_ADD_SOURCE);
    EXPECT_EQ(m_dlg.m_nPickerRuns, 1);
    EXPECT_TRUE(Sources().empty());
    EXPECT_FALSE(Enabled(IDOK));
}

// The picker leaves the dialog usable: a second Add... while it is open
// does not open another one.
TEST_F(CreateRecordingListDlgTest, AddDoesNotRunTwiceAtOnce) {
    Open();
    m_dlg.m_onPicker = [this] {
        m_dlg.m_onPicker = nullptr;
        Click(IDC_ADD_SOURCE);
    };
    Add("C:\\Rec");
    EXPECT_EQ(m_dlg.m_nPickerRuns, 1);
    EXPECT_EQ(Sources(), (Folders{"C:\\Rec"}));
    // Once it ended, Add... works again.
    Add("D:\\Rec");
    EXPECT_EQ(m_dlg.m_nPickerRuns, 2);
    EXPECT_EQ(Sources(), (Folders{"C:\\Rec", "D:\\Rec"}));
}

// Checking the box drops every entry inside another one, and one of two
// equal entries; unchecking changes nothing.
TEST_F(CreateRecordingListDlgTest, CheckingSubFoldersDropsCoveredEntries) {
    const struct {
        Folders before;
        Folders after;
    } cases[] = {
        {{"C:\\Rec", "C:\\Rec\\A"}, {"C:\\Rec"}},
        {{"C:\\Rec\\A", "C:\\Rec", "C:\\Records"}, {"C:\\Rec", "C:\\Records"}},
        {{"D:\\X\\Y", "C:\\Rec", "D:\\X"}, {"C:\\Rec", "D:\\X"}},
        {{"C:\\Rec", "c:\\rec\\", "C:\\REC"}, {"C:\\Rec"}},
        {{"C:\\Rec\\B", "C:\\Rec\\A"}, {"C:\\Rec\\B", "C:\\Rec\\A"}},
    };
    for (const auto& c : cases) {
        Open();
        SetSubFolders(false);
        Seed(c.before);
        Click(IDC_SUBFOLDERS);
        ASSERT_TRUE(Checked(IDC_SUBFOLDERS));
        EXPECT_EQ(Sources(), c.after) << c.before.front();
        EXPECT_EQ(Selected(), 0) << c.before.front();
        m_dlg.DestroyWindow();
    }

    Open();
    Seed({"C:\\Rec", "C:\\Rec\\A", "C:\\Rec\\A"});
    Click(IDC_SUBFOLDERS);
    ASSERT_FALSE(Checked(IDC_SUBFOLDERS));
    EXPECT_EQ(Sources(), (Folders{"C:\\Rec", "C:\\Rec\\A", "C:\\Rec\\A"}));
}

// Remove selects the entry above the removed one; the last one gone, Compile
// and Remove are disabled.
TEST_F(CreateRecordingListDlgTest, RemoveSelectsTheEntryAbove) {
    const struct {
        int nRemoved;
        Folders after;
        int nSelected;
    } cases[] = {
        {2, {"C:\\A", "C:\\B"}, 1},
        {1, {"C:\\A", "C:\\C"}, 0},
        {0, {"C:\\B", "C:\\C"}, -1},
        {-1, {"C:\\A", "C:\\B", "C:\\C"}, -1},
    };
    for (const auto& c : cases) {
        Open({"C:\\A", "C:\\B", "C:\\C"});
        ::SendMessageA(Item(IDC_SOURCES), LB_SETCURSEL, static_cast<WPARAM>(c.nRemoved), 0);
        Click(IDC_REMOVE);
        EXPECT_EQ(Sources(), c.after) << c.nRemoved;
        EXPECT_EQ(Selected(), c.nSelected) << c.nRemoved;
        EXPECT_TRUE(Enabled(IDOK)) << c.nRemoved;
        m_dlg.DestroyWindow();
    }

    Open({"C:\\A"});
    Click(IDC_REMOVE);
    EXPECT_TRUE(Sources().empty());
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDC_REMOVE));
}

// The up-down control's up arrow (a negative change) raises the minutes, its
// down arrow lowers them, within 0 to 300; "All calls" sets them back.
TEST_F(CreateRecordingListDlgTest, MinutesStayWithinZeroAndThreeHundred) {
    Open();
    Click(IDC_LENGTH_LARGER);
    EXPECT_TRUE(Enabled(IDC_MINUTES));
    EXPECT_TRUE(Enabled(IDC_MINUTES_SPIN));
    const struct {
        int nDelta;
        int nTimes;
        const char* pszShown;
    } steps[] = {
        {1, 1, "0"},    {-1, 1, "1"},  {-1, 298, "299"}, {-1, 1, "300"},
        {-1, 5, "300"}, {1, 1, "299"}, {5, 299, "0"},    {1, 3, "0"},
    };
    for (const auto& step : steps) {
        for (int i = 0; i < step.nTimes; ++i)
            Spin(step.nDelta);
        EXPECT_EQ(Minutes(), step.pszShown) << step.nDelta << " x " << step.nTimes;
    }

    Spin(-1);
    Spin(-1);
    ASSERT_EQ(Minutes(), "2");
    Click(IDC_LENGTH_ALL);
    EXPECT_EQ(Minutes(), "0");
    EXPECT_FALSE(Enabled(IDC_MINUTES));
    EXPECT_FALSE(Enabled(IDC_MINUTES_SPIN));
    Click(IDC_LENGTH_LARGER);
    EXPECT_EQ(Minutes(), "0");
}

// The real up and down arrows of the control, as the user presses them.
TEST_F(CreateRecordingListDlgTest, FocusInputSpinArrowsChangeTheMinutes) {
    Open();
    m_dlg.SetForegroundWindow();
    Click(IDC_LENGTH_LARGER);
    ::SetFocus(Item(IDC_MINUTES));
    for (int i = 0; i < 3; ++i) {
        SendKeyTap(VK_UP);
        PumpUntil([&] { return Minutes() == std::to_string(i + 1); });
    }
    EXPECT_EQ(Minutes(), "3");
    SendKeyTap(VK_DOWN);
    PumpUntil([&] { return Minutes() == "2"; });
    EXPECT_EQ(Minutes(), "2");
}

// Each date kind from its radio button; only the range shows its pickers.
TEST_F(CreateRecordingListDlgTest, DateKindsComeFromTheRadioButtons) {
    const int ids[] = {IDC_DATE_ALL, IDC_DATE_YESTERDAY, IDC_DATE_7DAYS, IDC_DATE_30DAYS,
                       IDC_DATE_RANGE};
    for (int nKind = 0; nKind < 5; ++nKind) {
        Open({"C:\\Rec"});
        Click(ids[nKind]);
        for (int nID : {IDC_DATE_AFTER_LABEL, IDC_DATE_AFTER, IDC_DATE_AND_LABEL,
                        IDC_DATE_BEFORE_LABEL, IDC_DATE_BEFORE})
            EXPECT_EQ(Visible(nID), nKind == SearchCriteria::kDateRange) << nKind << " " << nID;
        Click(IDOK);
        EXPECT_EQ(m_dlg.GetCriteria()->DateKind, nKind);
        m_dlg.DestroyWindow();
    }
}

// Compile takes every control as it stands.
TEST_F(CreateRecordingListDlgTest, CompileFillsTheCriteria) {
    Open({"D:\\Calls", "C:\\Rec"});
    SetSubFolders(false);
    Add("E:\\More");
    ::SetWindowTextA(Item(IDC_FILENAME_MASK), "agent?");
    ::SetWindowTextA(Item(IDC_CALLERID_MASK), "");
    Click(IDC_DATE_7DAYS);
    Click(IDC_LENGTH_LARGER);
    for (int i = 0; i < 4; ++i)
        Spin(-1);
    Click(IDOK);
    EXPECT_FALSE(m_dlg.IsWindowVisible());

    const SearchCriteria& criteria = *m_dlg.GetCriteria();
    ASSERT_EQ(criteria.GetSize(), 3);
    EXPECT_STREQ(criteria.GetAt(0), "C:\\Rec");
    EXPECT_STREQ(criteria.GetAt(1), "D:\\Calls");
    EXPECT_STREQ(criteria.GetAt(2), "E:\\More");
    EXPECT_EQ(criteria.IncludeSubFolders, 0);
    EXPECT_STREQ(criteria.FileNameMask, "agent?");
    EXPECT_STREQ(criteria.CallerIdMask, "");
    EXPECT_EQ(criteria.DateKind, SearchCriteria::kDate7Days);
    EXPECT_EQ(criteria.LimitLength, 1);
    EXPECT_EQ(criteria.MinMinutes, 4);
}

SYSTEMTIME LocalTimeOf(LONG nSeconds) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (static_cast<ULONGLONG>(nSeconds) + 11644473600ULL) * 10000000ULL;
    FILETIME fileTime = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc = {}, local = {};
    ::FileTimeToSystemTime(&fileTime, &utc);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

// Both pickers on one day select that whole day, 00:00:00 to 23:59:59 local
// time, whatever the time of day the pickers hold.
TEST_F(CreateRecordingListDlgTest, RangeOfOneDayRunsFromMidnightToTheLastSecond) {
    const SYSTEMTIME days[] = {
        {2024, 7, 1, 15, 13, 45, 10, 0},
        {2024, 3, 0, 31, 1, 0, 0, 0},
        {1999, 12, 5, 31, 23, 59, 59, 0},
    };
    for (const SYSTEMTIME& day : days) {
        Open({"C:\\Rec"});
        Click(IDC_DATE_RANGE);
        ASSERT_TRUE(::SendMessageA(Item(IDC_DATE_AFTER), DTM_SETSYSTEMTIME, GDT_VALID,
                                   reinterpret_cast<LPARAM>(&day)));
        ASSERT_TRUE(::SendMessageA(Item(IDC_DATE_BEFORE), DTM_SETSYSTEMTIME, GDT_VALID,
                                   reinterpret_cast<LPARAM>(&day)));
        Click(IDOK);
        const SearchCriteria& criteria = *m_dlg.GetCriteria();
        EXPECT_EQ(criteria.DateKind, SearchCriteria::kDateRange);
        const SYSTEMTIME start = LocalTimeOf(criteria.RangeStart);
        const SYSTEMTIME end = LocalTimeOf(criteria.RangeEnd);
        for (const SYSTEMTIME& t : {start, end}) {
            EXPECT_EQ(t.wYear, day.wYear);
            EXPECT_EQ(t.wMonth, day.wMonth);
            EXPECT_EQ(t.wDay, day.wDay);
        }
        EXPECT_EQ(start.wHour * 3600 + start.wMinute * 60 + start.wSecond, 0) << day.wYear;
        EXPECT_EQ(end.wHour * 3600 + end.wMinute * 60 + end.wSecond, 86399) << day.wYear;
        m_dlg.DestroyWindow();
    }
}

// Enter and Esc, with "Compile" enabled and the focus in the list, leave the
// dialog open; "Cancel" closes it.
TEST_F(CreateRecordingListDlgTest, EnterAndEscKeepItOpen) {
    m_dlg.SetInitialFolders(ToArray({"C:\\Rec"}));
    bool bOpenAfterEnter = false, bOpenAfterEsc = false;
    HWND hWndDlg = nullptr;
    int nTicks = 0;
    CUiScript script([] { ::PostMessageA(FindThreadDialog(), WM_CLOSE, 0, 0); },
                     {
                         [&] {
                             hWndDlg = FindThreadDialog(m_host.m_hWnd);
                             if (hWndDlg == nullptr)
                                 return false;
                             const HWND hWndList = ::GetDlgItem(hWndDlg, IDC_SOURCES);
                             ::SetFocus(hWndList);
                             ::PostMessageA(hWndList, WM_KEYDOWN, VK_RETURN, 1);
                             return true;
                         },
                         [&] {
                             if (++nTicks < 5)
                                 return false;
                             bOpenAfterEnter = ::IsWindowVisible(hWndDlg) != FALSE;
                             ::PostMessageA(::GetDlgItem(hWndDlg, IDC_SOURCES), WM_KEYDOWN,
                                            VK_ESCAPE, 1);
                             nTicks = 0;
                             return true;
                         },
                         [&] {
                             if (++nTicks < 5)
                                 return false;
                             bOpenAfterEsc = ::IsWindowVisible(hWndDlg) != FALSE;
                             ::PostMessageA(::GetDlgItem(hWndDlg, IDCANCEL), BM_CLICK, 0, 0);
                             return true;
                         },
                     });
    EXPECT_EQ(m_dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bOpenAfterEnter);
    EXPECT_TRUE(bOpenAfterEsc);
}

TEST_F(CreateRecordingListDlgTest, ScreenShowsTheSourcesAndTheDateRange) {
    Open({"C:\\Recordings\\Sales", "C:\\Recordings\\Support", "\\\\recorder\\calls\\2024"});
    Click(IDC_DATE_RANGE);
    Click(IDC_LENGTH_LARGER);
    Spin(-1);
    Spin(-1);
    m_dlg.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    Settle();
    CRect rect;
    m_dlg.GetWindowRect(&rect);
    rect.InflateRect(0, 0, 4, 4);
    EXPECT_TRUE(SaveScreenPng(rect, "CreateRecordingListDlg.png"));
}

} // namespace
