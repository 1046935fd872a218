// Tests of the call list's folder search (dropped folders) and its folder
// watcher: new recordings below the source appear, a paused watcher acts once
// when it runs again, a change that meets a bulk delete waits for it, a folder
// that cannot be watched turns the switch off, one search runs at a time, and
// a list window with a running watcher closes at once.
#include "native/gtest.h"

#include "CallDetailsCtrl.h"
#include "resource.h"
#include "tests/app/ListViewTestBed.h"

#include "tests/support/AnsweringApp.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

const DWORD kWaitMs = 20000;

// Runs the thread's messages until pred holds or the time is up.
bool PumpFor(DWORD ms, const std::function<bool()>& pred) {
    const DWORD start = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - start > ms)
            return false;
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

class ViewWatchTest : public CListViewTest {
protected:
    ViewWatchTest() : CListViewTest(theApp, "ViewWatch") {}

    std::string Write(const std::string& name, int minutesAgo = 0) {
        SViewRecording rec;
        rec.name = name;
        rec.startTime = 1000000000 - minutesAgo * 60;
        return m_bed.Write(rec);
    }
    // A folder list of these recordings whose source is the test folder and
    // whose search is that folder's.
    CZelDorvaneView* OpenFolderList(const std::vector<std::string>& paths) {
        CZelDorvaneView* pView = m_bed.OpenList(paths, CZelDorvaneDoc::kFolderList, m_bed.Folder());
        if (pView == nullptr)
            return nullptr;
        SearchCriteria criteria;
        criteria.Add(CKWString(m_bed.Folder().c_str()));
        criteria.IncludeSubFolders = 1;
        criteria.FileNameMask = "*";
        criteria.CallerIdMask = "*";
        criteria.DateKind = SearchCriteria::kDateAll;
        criteria.RangeStart = criteria.RangeEnd = 0;
        criteria.LimitLength = criteria.MinMinutes = 0;
        pView->GetDocument()->SetSearchCriteria(criteria);
        return pView;
    }
    static void SetWatcher(CZelDorvaneView* pView, bool on) {
        ::SendDlgItemMessageA(pView->m_hWnd, IDC_WATCHER, BM_SETCHECK,
                              on ? BST_CHECKED : BST_UNCHECKED, 0);
        CListViewTestBed::Command(pView, IDC_WATCHER);
    }
    static bool WatcherChecked(CZelDorvaneView* pView) {
        return ::SendDlgItemMessageA(pView->m_hWnd, IDC_WATCHER, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // Waits until the watcher thread has posted a change to the view, without
    // letting the view take it.
    static bool WaitForPostedChange(CZelDorvaneView* pView) {
        const DWORD start = ::GetTickCount();
        MSG msg;
        while (!::PeekMessageA(&msg, pView->m_hWnd, WM_LIST_WATCHER_CHANGE, WM_LIST_WATCHER_CHANGE,
                               PM_NOREMOVE)) {
            if (::GetTickCount() - start > kWaitMs)
                return false;
            ::Sleep(20);
        }
        return true;
    }
};

} // namespace

// ---------------------------------------------------------------------------
// The folder search of dropped folders

TEST_F(ViewWatchTest, ADroppedFolderAddsOnlyTheRecordingsNotListedYet) {
    const std::vector<std::string> inside = {Write("drop\\a.zel", 1), Write("drop\\sub\\b.zel", 2),
                                             Write("drop\\c.zel", 3)};
    const std::string other = Write("other.zel", 0);
    CZelDorvaneView* pView = m_bed.OpenList({other, inside[1]}, CZelDorvaneDoc::kFolderList,
                                            m_bed.Folder() + "elsewhere");
    ASSERT_NE(pView, nullptr);
    auto* pFolders = new CKWArray<CKWString>(0, 10);
    pFolders->Add(CKWString((m_bed.Folder() + "drop").c_str()));
    pView->SendMessage(WM_LIST_SEARCH_FOLDERS, IDC_CALL_LIST, reinterpret_cast<LPARAM>(pFolders));
    ASSERT_TRUE(PumpFor(kWaitMs, [&] { return pView->GetDocument()->GetRecordingCount() == 4; }));
    // Newest first, as the view sorts.
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()),
              (std::vector<std::string>{other, inside[0], inside[1], inside[2]}));
    EXPECT_EQ(pView->GetDocument()->GetListKind(), CZelDorvaneDoc::kFolderList);
    EXPECT_STREQ(pView->GetDocument()->GetSource(), (m_bed.Folder() + "elsewhere").c_str());
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(ViewWatchTest, AFolderWithoutRecordingsIsToldAndChangesNothing) {
    const std::string listed = Write("listed.zel");
    ::CreateDirectoryA((m_bed.Folder() + "empty").c_str(), nullptr);
    for (const char* folder : {"missing", "empty"}) {
        theApp.m_prompts.clear();
        CZelDorvaneView* pView = m_bed.OpenList({listed});
        ASSERT_NE(pView, nullptr);
        auto* pFolders = new CKWArray<CKWString>(0, 10);
        pFolders->Add(CKWString((m_bed.Folder() + folder).c_str()));
        pView->SendMessage(WM_LIST_SEARCH_FOLDERS, IDC_CALL_LIST,
                           reinterpret_cast<LPARAM>(pFolders));
        EXPECT_EQ(
            theApp.m_prompts,
            std::vector<std::string>{"No recordings found which match your specified criteria."})
            << folder;
        EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()), std::vector<std::string>{listed});
    }
}

// The process has one search: a second one is refused while the first runs.
TEST_F(ViewWatchTest, ASecondFolderSearchIsRefusedWhileOneRuns) {
    const std::string a = Write("a\\one.zel");
    const std::string b = Write("b\\two.zel");
    CZelDorvaneView* pView = m_bed.OpenList({});
    ASSERT_NE(pView, nullptr);
    for (const char* folder : {"a", "b"}) {
        auto* pFolders = new CKWArray<CKWString>(0, 10);
        pFolders->Add(CKWString((m_bed.Folder() + folder).c_str()));
        pView->SendMessage(WM_LIST_SEARCH_FOLDERS, IDC_CALL_LIST,
                           reinterpret_cast<LPARAM>(pFolders));
    }
    EXPECT_EQ(theApp.m_prompts,
              std::vector<std::string>{
                  "A search is already running. Wait for it to finish or cancel it first."});
    ASSERT_TRUE(PumpFor(kWaitMs, [&] { return pView->GetDocument()->GetRecordingCount() == 1; }));
    PumpFor(1500, [] { return false; }); // the refused search never comes
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()), std::vector<std::string>{a});
    EXPECT_TRUE(Exists(b));
}

// ---------------------------------------------------------------------------
// The watcher

// A recording copied into a sub-folder of the source: the list searches its
// source again, then asks the frame to repeat the list's own search.
TEST_F(ViewWatchTest, ARecordingCopiedIntoASubFolderAppearsInTheWatchedList) {
    const std::vector<std::string> paths = {Write("a.zel", 1), Write("sub\\b.zel", 2)};
    CZelDorvaneView* pView = OpenFolderList(paths);
    ASSERT_NE(pView, nullptr);
    SetWatcher(pView, true);
    ASSERT_TRUE(WatcherChecked(pView));
    PumpFor(300, [] { return false; }); // the thread starts watching

    const std::string added = Write("sub\\deeper\\c.zel", 0);
    ASSERT_TRUE(PumpFor(kWaitMs, [&] { return pView->GetDocument()->GetRecordingCount() == 3; }));
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()),
              (std::vector<std::string>{added, paths[0], paths[1]}));
    ASSERT_TRUE(PumpFor(kWaitMs, [&] { return !m_bed.m_pFrame->m_rescans.empty(); }));
    EXPECT_EQ(m_bed.m_pFrame->m_rescans[0]->pTarget, pView->GetDocument());
    EXPECT_STREQ(m_bed.m_pFrame->m_rescans[0]->criteria.GetAt(0), m_bed.Folder().c_str());
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// Changes made while the switch is off are acted upon once it is on again.
TEST_F(ViewWatchTest, APausedWatcherActsOnTheChangeWhenItRunsAgain) {
    const std::vector<std::string> paths = {Write("a.zel", 1)};
    CZelDorvaneView* pView = OpenFolderList(paths);
    ASSERT_NE(pView, nullptr);
    SetWatcher(pView, true);
    PumpFor(300, [] { return false; });
    SetWatcher(pView, false);

    const std::string added = Write("b.zel", 0);
    PumpFor(2000, [] { return false; });
    EXPECT_EQ(pView->GetDocument()->GetRecordingCount(), 1);

    SetWatcher(pView, true);
    ASSERT_TRUE(PumpFor(kWaitMs, [&] { return pView->GetDocument()->GetRecordingCount() == 2; }));
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()),
              (std::vector<std::string>{added, paths[0]}));
}

// The watcher reports a change while a bulk delete works through its rows: the
// delete still deletes exactly the selected files, and the change is handled
// once it has ended.
TEST_F(ViewWatchTest, AWatcherChangeDuringABulkDeleteWaitsForIt) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i)
        paths.push_back(Write("r" + std::to_string(i) + ".zel", i));
    CZelDorvaneView* pView = OpenFolderList(paths);
    ASSERT_NE(pView, nullptr);
    SetWatcher(pView, true);
    PumpFor(300, [] { return false; });

    const std::string added = Write("new.zel", 10);
    ASSERT_TRUE(WaitForPostedChange(pView));
    CListViewTestBed::Select(pView, {1, 3, 5});
    theApp.m_answers.push_back(IDYES);
    pView->OnDeleteRecordings(); // its first pump hands the change to the view
    // No search began meanwhile: it would hold the frame disabled under its
    // progress window.
    EXPECT_TRUE(::IsWindowEnabled(m_bed.m_pFrame->m_hWnd));

    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Exists(paths[i]), i % 2 == 0) << i;
    EXPECT_TRUE(Exists(added));
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()),
              (std::vector<std::string>{paths[0], paths[2], paths[4]}));
    // The held-back change then searches the folder again.
    ASSERT_TRUE(PumpFor(kWaitMs, [&] { return pView->GetDocument()->GetRecordingCount() == 4; }));
    EXPECT_EQ(Sorted(CListViewTestBed::Paths(pView->GetDocument())),
              Sorted({paths[0], paths[2], paths[4], added}));
    EXPECT_EQ(theApp.m_prompts.size(), 1u); // the question only
}

TEST_F(ViewWatchTest, AWatcherThatCannotWatchItsFolderTurnsItsSwitchOff) {
    const std::string listed = Write("a.zel");
    CZelDorvaneView* pView =
        m_bed.OpenList({listed}, CZelDorvaneDoc::kFolderList, m_bed.Folder() + "gone");
    ASSERT_NE(pView, nullptr);
    SetWatcher(pView, true);
    EXPECT_TRUE(PumpFor(kWaitMs, [&] { return !WatcherChecked(pView); }));
    EXPECT_EQ(CListViewTestBed::Paths(pView->GetDocument()), std::vector<std::string>{listed});
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// The view joins its watcher when it goes, whether it watches or is paused.
TEST_F(ViewWatchTest, ClosingAListEndsItsWatcherAtOnce) {
    for (bool paused : {false, true}) {
        CZelDorvaneView* pView = OpenFolderList({Write("a.zel")});
        ASSERT_NE(pView, nullptr);
        SetWatcher(pView, true);
        PumpFor(300, [] { return false; });
        if (paused)
            SetWatcher(pView, false);
        CFrameWnd* pChild = pView->GetParentFrame();
        const HWND hChild = pChild->m_hWnd;
        pView->GetDocument()->SetModifiedFlag(FALSE);
        const DWORD start = ::GetTickCount();
        pChild->SendMessage(WM_CLOSE);
        EXPECT_FALSE(::IsWindow(hChild)) << paused;
        EXPECT_LT(::GetTickCount() - start, 5000u) << paused;
        // A change after the close reaches nobody.
        Write("late.zel");
        PumpFor(500, [] { return false; });
    }
}
