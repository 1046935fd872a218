// Tests of CMainFrame, the main MDI frame: its creation with the two panels,
// the searches it runs under the progress window (no match, one folder, two
// folders, the reuse of list windows, one search at a time, a rescan that names
// its list, a walk that finds nothing), the private messages (null pointers
// included), the play history, the passphrase, the panels, timer 3's steps and
// the states of its commands. A folder of sample recordings stands in for a
// recorder's folder; every test has configuration folders of its own.
#include "native/gtest.h"

#include "AppMessages.h"
#include "CallScore.h"
#include "CallHistory.h"
#include "ChildFrm.h"
#include "MainFrm.h"
#include "PlayerForm.h"
#include "ProgressWnd.h"
#include "ScoredFileListEntry.h"
#include "Scoring/ScoreFormManager.h"
#include "SearchManager.h"
#include "ZelDorvaneDoc.h"
#include "ZelDorvaneView.h"
#include "resource.h"

#include "tests/app/SearchTestCriteria.h"
#include "tests/app/SkinnedAnsweringApp.h"
#include "tests/app/StoreTestFolders.h"
#include "tests/app/TreeOutline.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/MdiScaffold.h"
#include "tests/support/SampleRecordings.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include "Common/KWString.h"
#include "Common/PlaybackManager.h"
#include "Common/Settings.h"

#include "toolkit/OXSkinnedApp.h"

#include "framework/CmdUI.h"
#include "framework/Ole.h"
#include "framework/OleData.h"

#include <ctime>
#include <deque>
#include <string>
#include <vector>

namespace {

using CFrameTestApp = CSkinnedAnsweringApp;

CFrameTestApp theApp;

const char kNoRecordings[] = "No recordings found which match your specified criteria.";

// The frame with the file dialogs of Append and the phone-book import
// answered by the test.
class CTestMainFrame : public CMainFrame {
public:
    CString m_strChosen; // empty: the dialog is cancelled
    int m_nPrompts = 0;

protected:
    BOOL PromptForOpenFile(LPCTSTR, LPCTSTR, CString& strPath) override {
        ++m_nPrompts;
        strPath = m_strChosen;
        return !m_strChosen.IsEmpty();
    }
};

// Records what the frame's update handlers set.
class CStateProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_nEnabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_nChecked = nCheck; }
    int m_nEnabled = -1;
    int m_nChecked = -1;
};

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        theApp.SetCurrentSkin("Office 2003");
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
        CSettings::GetInstance()->Load();
        CCallHistory::GetInstance()->Clear();
        m_pFrame = new CTestMainFrame;
        ASSERT_TRUE(m_scaffold.SetUp(new CDocManager, IDR_ZELTYPE, RUNTIME_CLASS(CZelDorvaneDoc),
                                     RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CZelDorvaneView),
                                     m_pFrame, IDR_MAINFRAME, CSize(1100, 800)));
        Settle(200);
    }

    void TearDown() override {
        CMainFrame::SetArchiveHooks({nullptr, nullptr, nullptr, nullptr});
        // Lists that were changed are closed without their question.
        for (int i = 0; i < 20; ++i)
            theApp.m_answers.push_back(IDNO);
        m_scaffold.TearDown();
        theApp.m_answers.clear();
        CCallHistory::DeleteInstance();
        CSettings::DeleteInstance();
        PumpPending();
    }

    // A folder with the sample recordings; its path without the last backslash.
    std::string SampleFolder(CTempFolder& folder, const char* name) {
        std::string path = folder.File(name) + "\\";
        ::CreateDirectoryA(path.c_str(), nullptr);
        m_samples = MakeSampleRecordings(path);
        EXPECT_FALSE(m_samples.empty());
        return path.substr(0, path.size() - 1);
    }

    static SearchCriteria Criteria(const std::vector<std::string>& sources) {
        return MatchEverything(sources, 1);
    }

    bool WaitForSearch() {
        return PumpUntil([this] { return !m_pFrame->IsSearching(); });
    }

    // Runs a search to its end; false when it did not start or end.
    bool Search(const std::vector<std::string>& sources, bool bNewWindow = false,
                CZelDorvaneDoc* pTarget = nullptr) {
        if (!m_pFrame->StartSearch(Criteria(sources), bNewWindow, pTarget))
            return false;
        return WaitForSearch();
    }

    int ListWindowCount() {
        int count = 0;
        m_pFrame->ForEachListView([&](CZelDorvaneView*) { ++count; });
        return count;
    }

    bool Prompted(const std::string& text) const {
        for (const auto& prompt : theApp.m_prompts) {
            if (prompt == text)
                return true;
        }
        return false;
    }

    int State(UINT nID, int* pChecked = nullptr) {
        CStateProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(m_pFrame, TRUE);
        if (pChecked != nullptr)
            *pChecked = probe.m_nChecked;
        return probe.m_nEnabled;
    }

    CStoreTestFolders m_folders{"MainFrame"};
    CMdiScaffold m_scaffold;
    CTestMainFrame* m_pFrame = nullptr;
    std::vector<SSampleRecording> m_samples;
};

TEST_F(MainFrameTest, CreationDocksBothPanelsAndSetsUpTheMenusScreen) {
    COutlookBar& access = m_pFrame->GetAccessPanel();
    CPlayerBar& player = m_pFrame->GetPlayerPanel();
    ASSERT_TRUE(::IsWindow(access.GetSafeHwnd()));
    ASSERT_TRUE(::IsWindow(player.GetSafeHwnd()));
    EXPECT_EQ(IDC_ACCESS_PANEL, access.GetDlgCtrlID());
    EXPECT_EQ(IDC_PLAYER_PANEL, player.GetDlgCtrlID());
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT), access.m_pDockBar);
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM), player.m_pDockBar);
    EXPECT_NE(nullptr, m_pFrame->GetPlayerForm());
    EXPECT_EQ(1, m_pFrame->SendMessage(WM_QUERYTABDOCKING));
    EXPECT_FALSE(m_pFrame->GetMenuBar().IsDragAnywhere());
    EXPECT_NE(nullptr, COXBitmapMenuOrganizer::FindOrganizer(m_pFrame->m_hWnd));
    // The frame is the playback engine's window: a finished buffer reaches it.
    EXPECT_EQ(1, m_pFrame->SendMessage(MM_WOM_DONE, 0, 0));
    // Maximised at creation (it was shown at a size of its own here).
    CREATESTRUCT cs = {};
    EXPECT_TRUE(m_pFrame->PreCreateWindow(cs));
    EXPECT_EQ(DWORD(WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE), DWORD(cs.style));

    // The panel fills the frame for a moment, and the dock takes it back.
    CRect rectBefore, rectAfter;
    player.GetWindowRect(&rectBefore);
    m_pFrame->FitPlayerPanel();
    player.GetWindowRect(&rectAfter);
    EXPECT_EQ(rectBefore, rectAfter);

    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    Settle(300);
    CRect rectFrame;
    m_pFrame->GetWindowRect(&rectFrame);
    EXPECT_TRUE(SaveScreenPng(rectFrame, "main_frame.png"));

    // The list's File popup: bitmap menu items, kept with the frame around it.
    COXMenuBar& bar = m_pFrame->GetMenuBar();
    HWND hPopup = nullptr;
    bool bOwnerDrawn = false;
    DWORD dwShown = 0;
    CUiScript script(::EndMenu, {[&] {
                                     bar.PostMessage(WM_OX_MENUBAR_OPENITEM, 0);
                                     return true;
                                 },
                                 [&] {
                                     hPopup = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr);
                                     return hPopup != nullptr && ::IsWindowVisible(hPopup);
                                 },
                                 [&] {
                                     if (dwShown == 0)
                                         dwShown = ::GetTickCount();
                                     return ::GetTickCount() - dwShown > 500;
                                 },
                                 [&] {
                                     HMENU hFile = ::GetSubMenu(bar.GetMenuHandle(), 0);
                                     MENUITEMINFOA info = {};
                                     info.cbSize = sizeof(info);
                                     info.fMask = MIIM_FTYPE;
                                     bOwnerDrawn = ::GetMenuItemInfoA(hFile, 0, TRUE, &info) &&
                                                   (info.fType & MFT_OWNERDRAW) != 0;
                                     CRect rectPopup, rectShot;
                                     ::GetWindowRect(hPopup, &rectPopup);
                                     rectShot.UnionRect(rectFrame, rectPopup);
                                     SaveScreenPng(rectShot, "main_frame_file_menu.png");
                                     ::EndMenu();
                                     return true;
                                 }});
    EXPECT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bOwnerDrawn);
    Settle(200);
}

TEST_F(MainFrameTest, ASearchWithoutAMatchOpensNoWindow) {
    CTempFolder temp;
    const std::string empty = temp.File("empty");
    ::CreateDirectoryA(empty.c_str(), nullptr);
    struct Case {
        const char* what;
        std::string source;
    } cases[] = {{"a folder without recordings", empty},
                 {"a folder that does not exist", temp.File("missing")}};
    for (const Case& c : cases) {
        theApp.m_prompts.clear();
        EXPECT_FALSE(m_pFrame->StartSearch(Criteria({c.source}), false, nullptr)) << c.what;
        EXPECT_FALSE(m_pFrame->IsSearching()) << c.what;
        EXPECT_EQ(nullptr, m_pFrame->GetSearchProgress()) << c.what;
        EXPECT_TRUE(Prompted(kNoRecordings)) << c.what;
        EXPECT_EQ(0, ListWindowCount()) << c.what;
        // The main window takes input again.
        EXPECT_TRUE(m_pFrame->IsWindowEnabled()) << c.what;
    }
}

TEST_F(MainFrameTest, OneFolderMakesAFolderListAndTwoACustomList) {
    CTempFolder temp;
    const std::string first = SampleFolder(temp, "first");
    const std::string second = SampleFolder(temp, "second");
    const int perFolder = static_cast<int>(m_samples.size());

    ASSERT_TRUE(Search({first}));
    CZelDorvaneDoc* pDoc = m_pFrame->GetActiveListDocument();
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ(perFolder, pDoc->GetRecordingCount());
    EXPECT_EQ(CZelDorvaneDoc::kFolderList, pDoc->GetListKind());
    EXPECT_STREQ(first.c_str(), pDoc->GetSource());
    EXPECT_TRUE(pDoc->IsReusable());
    // Newest first.
    for (int i = 1; i < pDoc->GetRecordingCount(); ++i)
        EXPECT_GE(pDoc->GetRecording(i - 1)->m_startTime, pDoc->GetRecording(i)->m_startTime);

    // The reusable list is filled again: no second window.
    ASSERT_TRUE(Search({first, second}));
    EXPECT_EQ(1, ListWindowCount());
    EXPECT_EQ(pDoc, m_pFrame->GetActiveListDocument());
    EXPECT_EQ(2 * perFolder, pDoc->GetRecordingCount());
    EXPECT_EQ(CZelDorvaneDoc::kCustomList, pDoc->GetListKind());
    EXPECT_STREQ("", pDoc->GetSource());

    // A single recording is no folder: it makes a custom list.
    ASSERT_TRUE(Search({m_samples[0].path}));
    EXPECT_EQ(1, pDoc->GetRecordingCount());
    EXPECT_EQ(CZelDorvaneDoc::kCustomList, pDoc->GetListKind());
    EXPECT_STREQ("", pDoc->GetSource());
}

TEST_F(MainFrameTest, ANewListIsNeverReplacedByASearch) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    ASSERT_TRUE(Search({folder}));
    CZelDorvaneDoc* pSearched = m_pFrame->GetActiveListDocument();

    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    CZelDorvaneDoc* pNew = m_pFrame->GetActiveListDocument();
    ASSERT_NE(pSearched, pNew);
    EXPECT_FALSE(pNew->IsReusable());
    EXPECT_EQ(CZelDorvaneDoc::kCustomList, pNew->GetListKind());

    ASSERT_TRUE(Search({folder}));
    EXPECT_EQ(3, ListWindowCount());
    EXPECT_EQ(0, pNew->GetRecordingCount());
    EXPECT_EQ(static_cast<int>(m_samples.size()), pSearched->GetRecordingCount());
    EXPECT_EQ(static_cast<int>(m_samples.size()),
              m_pFrame->GetActiveListDocument()->GetRecordingCount());
}

TEST_F(MainFrameTest, ARescanFillsTheListThatAskedForIt) {
    CTempFolder temp;
    const std::string first = SampleFolder(temp, "first");
    const std::string second = SampleFolder(temp, "second");
    ASSERT_TRUE(Search({first}));
    CZelDorvaneDoc* pAsking = m_pFrame->GetActiveListDocument();
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    CZelDorvaneDoc* pActive = m_pFrame->GetActiveListDocument();
    ASSERT_NE(pAsking, pActive);

    // The rescan of the background list while another window is active.
    auto* pCriteria = new SearchCriteria(Criteria({second, first}));
    EXPECT_EQ(1, m_pFrame->SendMessage(WM_RESCAN_FOLDERS, reinterpret_cast<WPARAM>(pCriteria),
                                       reinterpret_cast<LPARAM>(pAsking)));
    ASSERT_TRUE(WaitForSearch());
    EXPECT_EQ(2, ListWindowCount());
    EXPECT_EQ(pActive, m_pFrame->GetActiveListDocument());
    EXPECT_EQ(0, pActive->GetRecordingCount());
    EXPECT_EQ(2 * static_cast<int>(m_samples.size()), pAsking->GetRecordingCount());

    // Its window closes while the search runs: the results get one of their own.
    pCriteria = new SearchCriteria(Criteria({second}));
    m_pFrame->SendMessage(WM_RESCAN_FOLDERS, reinterpret_cast<WPARAM>(pCriteria),
                          reinterpret_cast<LPARAM>(pAsking));
    ASSERT_TRUE(m_pFrame->IsSearching());
    pAsking->OnCloseDocument();
    EXPECT_FALSE(m_pFrame->IsOpenDocument(pAsking));
    ASSERT_TRUE(WaitForSearch());
    EXPECT_EQ(2, ListWindowCount());
    EXPECT_EQ(0, pActive->GetRecordingCount());
    CZelDorvaneDoc* pResults = m_pFrame->GetActiveListDocument();
    ASSERT_NE(nullptr, pResults);
    EXPECT_NE(pActive, pResults);
    EXPECT_EQ(static_cast<int>(m_samples.size()), pResults->GetRecordingCount());
}

TEST_F(MainFrameTest, OnlyOneSearchRunsAtATime) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    ASSERT_TRUE(m_pFrame->StartSearch(Criteria({folder}), false, nullptr));
    CProgressWnd* pProgress = m_pFrame->GetSearchProgress();
    ASSERT_NE(nullptr, pProgress);

    // The timer polls once a second, so the first search is still on.
    EXPECT_FALSE(m_pFrame->StartSearch(Criteria({folder}), true, nullptr));
    auto* pCriteria = new SearchCriteria(Criteria({folder}));
    m_pFrame->SendMessage(WM_RESCAN_FOLDERS, reinterpret_cast<WPARAM>(pCriteria), 0);
    auto* pFolders = new CKWArray<CKWString>(0, 10);
    pFolders->Add(CKWString(folder.c_str()));
    m_pFrame->SendMessage(WM_CREATE_RECORDING_LIST, reinterpret_cast<WPARAM>(pFolders), 0);
    int refusals = 0;
    for (const auto& prompt : theApp.m_prompts)
        refusals += prompt == CMainFrame::kSearchRunningText ? 1 : 0;
    EXPECT_EQ(3, refusals);
    EXPECT_EQ(pProgress, m_pFrame->GetSearchProgress());

    ASSERT_TRUE(WaitForSearch());
    EXPECT_EQ(1, ListWindowCount());
    EXPECT_EQ(static_cast<int>(m_samples.size()),
              m_pFrame->GetActiveListDocument()->GetRecordingCount());
}

TEST_F(MainFrameTest, AWalkThatExaminedNothingEndsAsAnEmptySearch) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    ASSERT_TRUE(m_pFrame->StartSearch(Criteria({folder}), false, nullptr));
    // The walk is over and has examined nothing of what was counted, as when
    // every counted file vanished before the walk reached it.
    CSearchManager* pManager = CSearchManager::GetInstance();
    pManager->Stop();
    pManager->SetCriteria(Criteria({folder}), CSearchManager::kSortStartTime, 1);
    SearchProgress progress;
    pManager->GetProgress(progress);
    ASSERT_GT(progress.Counted, 0);
    ASSERT_EQ(0, progress.Examined);

    ASSERT_TRUE(WaitForSearch());
    EXPECT_EQ(nullptr, m_pFrame->GetSearchProgress());
    EXPECT_TRUE(Prompted(kNoRecordings));
    EXPECT_EQ(0, ListWindowCount());
}

TEST_F(MainFrameTest, CreateRecordingListOpensItsWindowBeforeTheWalkAndFillsIt) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    auto* pFolders = new CKWArray<CKWString>(0, 10);
    pFolders->Add(CKWString(folder.c_str()));
    bool bListed = false;
    CUiScript script(::EndMenu, {[&] { return FindThreadDialog(m_pFrame->m_hWnd) != nullptr; },
                                 [&] {
                                     HWND hDlg = FindThreadDialog(m_pFrame->m_hWnd);
                                     char text[MAX_PATH] = "";
                                     ::SendDlgItemMessageA(hDlg, IDC_SOURCES, LB_GETTEXT, 0,
                                                           reinterpret_cast<LPARAM>(text));
                                     bListed = folder == text;
                                     ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                                     return true;
                                 }});
    m_pFrame->PostMessage(WM_CREATE_RECORDING_LIST, reinterpret_cast<WPARAM>(pFolders), 0);
    ASSERT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
    EXPECT_TRUE(bListed);
    // The new window is there while the walk runs.
    ASSERT_TRUE(PumpUntil([&] { return m_pFrame->IsSearching() || ListWindowCount() > 0; }));
    EXPECT_EQ(1, ListWindowCount());
    CZelDorvaneDoc* pDoc = m_pFrame->GetActiveListDocument();
    ASSERT_TRUE(WaitForSearch());
    EXPECT_EQ(pDoc, m_pFrame->GetActiveListDocument());
    EXPECT_EQ(static_cast<int>(m_samples.size()), pDoc->GetRecordingCount());
    EXPECT_EQ(CZelDorvaneDoc::kFolderList, pDoc->GetListKind());
}

TEST_F(MainFrameTest, MessagesWithoutTheirDataAreAnsweredAndIgnored) {
    const UINT messages[] = {
        WM_CREATE_RECORDING_LIST, WM_RECORDING_CHANGED, WM_BOOKMARK_CHANGED, WM_RESCAN_FOLDERS,
        WM_RELOAD_HOTLISTS,       WM_RELOAD_SHORTCUTS,  WM_CALL_SCORED};
    for (UINT message : messages) {
        EXPECT_EQ(1, m_pFrame->SendMessage(message, 0, 0)) << std::hex << message;
        EXPECT_EQ(0, ListWindowCount()) << std::hex << message;
        EXPECT_FALSE(m_pFrame->IsSearching()) << std::hex << message;
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(MainFrameTest, ACallScoredIsFiledInTheAccessPanelsCallScoreTree) {
    CCallScore::GetInstance()->Load(); // the default tree
    CCallScoreTree& tree = m_pFrame->GetAccessPanel().GetCallScoreWnd().GetCallScoreTree();
    tree.InitTree();
    tree.ExpandAll();
    CScoreFormEntry form(7);
    form.SetTitle("Quality");
    ASSERT_TRUE(CScoreFormManager::GetInstance()->AddForm(form));
    CScoredFileListEntry entry;
    entry.SetPath("C:\\calls\\0412-1030.zel");
    entry.SetScore(7, "alice", 90.0);
    EXPECT_EQ(1, m_pFrame->SendMessage(WM_CALL_SCORED, 0, reinterpret_cast<LPARAM>(&entry)));
    EXPECT_EQ(TreeOutline(tree), "Links to Scored Recordings...(Sample Sales Calls,Sample Customer "
                                 "Service,Quality(alice(0412-1030.zel)))");
    EXPECT_EQ(StoreOutlineOf(*CCallScore::GetInstance(), -1), TreeOutline(tree));
    // The entry stays the sender's, untouched.
    EXPECT_EQ(1, entry.GetScoreCount());
    CScoreFormManager::GetInstance()->Clear();
    delete CCallScore::GetInstance();
}

TEST_F(MainFrameTest, FormsManagerOpensTheFormsDialogModally) {
    std::string caption;
    CUiScript script(::EndMenu, {[&] { return FindThreadDialog(m_pFrame->m_hWnd) != nullptr; },
                                 [&] {
                                     HWND hDlg = FindThreadDialog(m_pFrame->m_hWnd);
                                     char szText[64] = {};
                                     ::GetWindowTextA(hDlg, szText, sizeof(szText));
                                     caption = szText;
                                     EXPECT_FALSE(m_pFrame->IsWindowEnabled());
                                     ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
                                     return true;
                                 }});
    m_pFrame->SendMessage(WM_COMMAND, ID_FORMS_MANAGER);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, "Manage Call Score Forms");
    EXPECT_TRUE(m_pFrame->IsWindowEnabled());
}

TEST_F(MainFrameTest, RecordingMessagesReachEveryOpenList) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    ASSERT_TRUE(Search({folder}));
    CZelDorvaneDoc* pFirst = m_pFrame->GetActiveListDocument();
    ASSERT_TRUE(Search({folder}, true));
    CZelDorvaneDoc* pSecond = m_pFrame->GetActiveListDocument();
    ASSERT_NE(pFirst, pSecond);

    const SSampleRecording* pPlain = nullptr;
    const SSampleRecording* pMarked = nullptr;
    for (const auto& sample : m_samples) {
        if (!sample.encrypted && !sample.important && !sample.bookmarked && pPlain == nullptr)
            pPlain = &sample;
        if (!sample.encrypted && sample.bookmarked && pMarked == nullptr)
            pMarked = &sample;
    }
    ASSERT_NE(nullptr, pPlain);
    ASSERT_NE(nullptr, pMarked);
    const char* plain = pPlain->path.c_str();
    auto post = [&](UINT message, WPARAM wParam, const char* path) {
        m_pFrame->PostMessage(message, wParam, reinterpret_cast<LPARAM>(new CKWString(path)));
        PumpPending();
    };
    auto entry = [](CZelDorvaneDoc* pDoc, const char* path) {
        const int row = pDoc->FindRecording(path);
        return row < 0 ? nullptr : pDoc->GetRecording(row);
    };

    post(WM_RECORDING_CHANGED, 0, plain);
    for (CZelDorvaneDoc* pDoc : {pFirst, pSecond})
        EXPECT_TRUE(entry(pDoc, plain)->IsImportant());
    post(WM_RECORDING_CHANGED, 1, plain);
    for (CZelDorvaneDoc* pDoc : {pFirst, pSecond})
        EXPECT_FALSE(entry(pDoc, plain)->IsImportant());
    // A cleared bookmark arrives as 65535 to 65535, which is no bookmark.
    post(WM_BOOKMARK_CHANGED, static_cast<WPARAM>(-1), pMarked->path.c_str());
    for (CZelDorvaneDoc* pDoc : {pFirst, pSecond})
        EXPECT_FALSE(entry(pDoc, pMarked->path.c_str())->HasBookmark());
    post(WM_BOOKMARK_CHANGED, (4 << 16) | 1, plain);
    for (CZelDorvaneDoc* pDoc : {pFirst, pSecond})
        EXPECT_TRUE(entry(pDoc, plain)->HasBookmark());
    // The player's Play changes no list.
    const int count = pFirst->GetRecordingCount();
    post(WM_RECORDING_CHANGED, 3, plain);
    EXPECT_EQ(count, pFirst->GetRecordingCount());
    post(WM_RECORDING_CHANGED, 2, plain);
    for (CZelDorvaneDoc* pDoc : {pFirst, pSecond}) {
        EXPECT_EQ(count - 1, pDoc->GetRecordingCount());
        EXPECT_EQ(nullptr, entry(pDoc, plain));
    }
}

TEST_F(MainFrameTest, ShowPlayHistoryTwiceKeepsOneHistoryWindow) {
    CTempFolder temp;
    SampleFolder(temp, "calls");
    for (int i = 0; i < 3; ++i)
        CCallHistory::GetInstance()->Add(m_samples[i].path.c_str());
    m_pFrame->SendMessage(WM_COMMAND, ID_SHOW_PLAY_HISTORY);
    CZelDorvaneDoc* pHistory = m_pFrame->GetActiveListDocument();
    ASSERT_NE(nullptr, pHistory);
    EXPECT_EQ(CZelDorvaneDoc::kPlayHistory, pHistory->GetListKind());
    EXPECT_EQ(3, pHistory->GetRecordingCount());
    EXPECT_FALSE(pHistory->IsModified());

    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_NE(pHistory, m_pFrame->GetActiveListDocument());
    m_pFrame->SendMessage(WM_COMMAND, ID_SHOW_PLAY_HISTORY);
    EXPECT_EQ(pHistory, m_pFrame->GetActiveListDocument());
    EXPECT_EQ(2, ListWindowCount());
}

TEST_F(MainFrameTest, EncryptionStoresThePassphraseWithoutBlanks) {
    CSettings* pSettings = CSettings::GetInstance();
    pSettings->SetPassphrase("old");
    pSettings->SetSavePassphrase(FALSE);
    struct Case {
        const char* typed;
        UINT button;
        const char* stored;
        BOOL saved;
    } cases[] = {{"  moxel sample  ", IDOK, "moxel sample", TRUE},
                 {"other", IDCANCEL, "moxel sample", TRUE}};
    for (const Case& c : cases) {
        CUiScript script(::EndMenu, {[&] { return FindThreadDialog(m_pFrame->m_hWnd) != nullptr; },
                                     [&] {
                                         HWND hDlg = FindThreadDialog(m_pFrame->m_hWnd);
                                         ::SetDlgItemTextA(hDlg, IDC_PASSPHRASE, c.typed);
                                         ::CheckDlgButton(hDlg, IDC_SAVE_PASSPHRASE, BST_CHECKED);
                                         ::PostMessageA(hDlg, WM_COMMAND, c.button, 0);
                                         return true;
                                     }});
        m_pFrame->SendMessage(WM_COMMAND, ID_ENCRYPTION);
        EXPECT_TRUE(script.Finished()) << c.typed;
        EXPECT_STREQ(c.stored, pSettings->GetPassphrase().GetString()) << c.typed;
        EXPECT_EQ(c.saved, pSettings->GetSavePassphrase()) << c.typed;
    }
}

TEST_F(MainFrameTest, HidingThePlayerPanelStopsTheCall) {
    CAudioCapture capture;
    CTempFolder temp;
    SampleFolder(temp, "calls");
    const SSampleRecording* pLong = nullptr;
    for (const auto& sample : m_samples) {
        if (!sample.encrypted && (pLong == nullptr || sample.duration > pLong->duration))
            pLong = &sample;
    }
    ASSERT_NE(nullptr, pLong);
    CPlayerForm* pPlayer = m_pFrame->GetPlayerForm();
    ASSERT_NE(nullptr, pPlayer);
    ASSERT_TRUE(pPlayer->LoadAndShow(pLong->path.c_str(), true));
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    EXPECT_TRUE(pEngine->IsPlaying());

    CPlayerBar& player = m_pFrame->GetPlayerPanel();
    COutlookBar& access = m_pFrame->GetAccessPanel();
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_ACCESS_PANEL);
    EXPECT_FALSE(access.IsVisible());
    EXPECT_TRUE(pEngine->IsPlaying());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_PLAYER_PANEL);
    EXPECT_FALSE(player.IsVisible());
    EXPECT_FALSE(pEngine->IsPlaying());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_PLAYER_PANEL);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_ACCESS_PANEL);
    EXPECT_TRUE(player.IsVisible());
    EXPECT_TRUE(access.IsVisible());
    EXPECT_FALSE(pEngine->IsPlaying());
}

TEST_F(MainFrameTest, CommandStatesFollowTheListAndTheClipboard) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    const UINT needsSelection[] = {ID_PLAY, ID_EDIT_COPY, ID_EDIT_REMOVE, ID_EDIT_TRIM};
    const UINT later[] = {ID_ARCHIVE_SETTINGS, ID_ARCHIVE_LOGS, ID_RUN_SCHEDULED_NOW,
                          ID_CUSTOM_REPORT};
    const UINT always[] = {ID_CREATE_LIST,      ID_ENCRYPTION,        ID_SHOW_PLAY_HISTORY,
                           ID_APPEND,           ID_VIEW_ACCESS_PANEL, ID_VIEW_PLAYER_PANEL,
                           ID_IMPORT_PHONEBOOK, ID_HELP_GUIDE,        ID_APP_ABOUT,
                           ID_FORMS_MANAGER};
    struct Case {
        const char* what;
        std::function<void()> arrange;
        int selection; // the state of the commands that need a selected row
    } cases[] = {
        {"no list", [] {}, 0},
        {"a list without a selection",
         [&] {
             ASSERT_TRUE(Search({folder}));
             m_pFrame->GetActiveListView()->SelectOnly(-1);
         },
         0},
        {"a selected row", [&] { m_pFrame->GetActiveListView()->SelectOnly(2); }, 1},
    };
    for (const Case& c : cases) {
        c.arrange();
        for (UINT nID : needsSelection)
            EXPECT_EQ(c.selection, State(nID)) << c.what << " " << nID;
        for (UINT nID : later)
            EXPECT_EQ(0, State(nID)) << c.what << " " << nID;
        for (UINT nID : always)
            EXPECT_EQ(1, State(nID)) << c.what << " " << nID;
    }

    // Paste follows a list of files on the clipboard.
    struct Clip {
        bool files;
        int state;
    } clips[] = {{false, 0}, {true, 1}};
    for (const Clip& clip : clips) {
        ASSERT_TRUE(::OpenClipboard(m_pFrame->m_hWnd));
        ::EmptyClipboard();
        if (clip.files) {
            const std::string path = m_samples[0].path;
            const size_t size = sizeof(DROPFILES) + path.size() + 2;
            HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
            auto* pDrop = static_cast<DROPFILES*>(::GlobalLock(hDrop));
            pDrop->pFiles = sizeof(DROPFILES);
            memcpy(reinterpret_cast<char*>(pDrop) + sizeof(DROPFILES), path.c_str(), path.size());
            ::GlobalUnlock(hDrop);
            ::SetClipboardData(CF_HDROP, hDrop);
        }
        ::CloseClipboard();
        EXPECT_EQ(clip.state, State(ID_EDIT_PASTE)) << clip.files;
    }

    // The start-up flag is one toggle, checked in both menus.
    const int before = CSettings::GetInstance()->GetShowHistory() ? 1 : 0;
    int checked = -1;
    for (UINT nID : {ID_PLAY_HISTORY_AT_START, ID_PLAY_HISTORY_AT_START_NOLIST}) {
        State(nID, &checked);
        EXPECT_EQ(before, checked) << nID;
    }
    m_pFrame->SendMessage(WM_COMMAND, ID_PLAY_HISTORY_AT_START_NOLIST);
    EXPECT_EQ(!before, CSettings::GetInstance()->GetShowHistory() ? 1 : 0);
    State(ID_PLAY_HISTORY_AT_START, &checked);
    EXPECT_EQ(!before, checked);
}

// The hooks of the tests below, with what they saw.
LONG g_nextRun = 0;
bool g_scheduled = false;
int g_runs = 0;
bool NextRun(LONG& when) {
    when = g_nextRun;
    return g_scheduled;
}
void RunScheduled(CMainFrame*) {
    ++g_runs;
}

TEST_F(MainFrameTest, TimerThreeWaitsInStepsOfAtMostTwentyFourDays) {
    const LONG now = 1700000000;
    const UINT day = 24u * 3600 * 1000;
    struct Case {
        LONG next;
        UINT delay;
    } cases[] = {{now - 5, 60000},
                 {now, 60000},
                 {now + 10, 10000},
                 {now + 86400, day},
                 {now + 24 * 86400, 24 * day},
                 {now + 30 * 86400, 24 * day},
                 {0x7FFFFFFF, 24 * day}};
    for (const Case& c : cases)
        EXPECT_EQ(c.delay, CMainFrame::ArchiveTimerDelay(now, c.next)) << c.next;

    CMainFrame::SetArchiveHooks({nullptr, NextRun, RunScheduled, nullptr});
    g_runs = 0;
    g_scheduled = false;
    m_pFrame->ScheduleArchiveTimer();
    EXPECT_FALSE(m_pFrame->IsArchiveTimerSet());
    EXPECT_EQ(1, State(ID_RUN_SCHEDULED_NOW));

    // Thirty days ahead: the first step ends before the run is due and arms
    // the next step without running anything.
    g_scheduled = true;
    g_nextRun = static_cast<LONG>(time(nullptr)) + 30 * 86400;
    m_pFrame->ScheduleArchiveTimer();
    EXPECT_TRUE(m_pFrame->IsArchiveTimerSet());
    m_pFrame->SendMessage(WM_TIMER, 3);
    EXPECT_TRUE(m_pFrame->IsArchiveTimerSet());
    EXPECT_EQ(0, g_runs);
    // Due: the run starts.
    g_nextRun = static_cast<LONG>(time(nullptr)) - 1;
    m_pFrame->SendMessage(WM_TIMER, 3);
    EXPECT_EQ(1, g_runs);
    EXPECT_FALSE(m_pFrame->IsArchiveTimerSet());
}

TEST_F(MainFrameTest, AManualThatCannotOpenIsNamedInTheQuestion) {
    struct Case {
        UINT command;
        const char* question;
    } cases[] = {
        {ID_HELP_GUIDE, "Failed to open User Manual (ZEL Moxel Guide.pdf). Try to open Help file?"},
        {ID_HELP_ARCHIVING, "Failed to open User Manual (Quarrit.pdf). Try to open Help file?"},
        {ID_HELP_REPORTS,
         "Failed to open User Manual (ZEL Moxel Reports and Scoring Guide.pdf). Try to open Help "
         "file?"},
    };
    for (const Case& c : cases) {
        theApp.m_prompts.clear();
        m_pFrame->SendMessage(WM_COMMAND, c.command);
        ASSERT_EQ(1u, theApp.m_prompts.size()) << c.command;
        EXPECT_EQ(c.question, theApp.m_prompts[0]);
    }
}

TEST_F(MainFrameTest, AppendAddsTheRecordingsOfAListFile) {
    CTempFolder temp;
    SampleFolder(temp, "calls");
    // Without a list window the command does nothing.
    m_pFrame->m_strChosen = temp.File("more.reclist").c_str();
    std::string list = "<root>\r\n";
    for (int i = 0; i < 3; ++i)
        list += "   <rec>" + m_samples[i].path + "</rec>\r\n";
    list += "   <Folder></Folder>\r\n</root>\r\n";
    ASSERT_TRUE(WriteWholeFile(temp.File("more.reclist"), list));
    m_pFrame->SendMessage(WM_COMMAND, ID_APPEND);
    EXPECT_EQ(0, ListWindowCount());

    CKWArray<CKWString> paths(0, 10);
    paths.Add(CKWString(m_samples[0].path.c_str()));
    paths.Add(CKWString(m_samples[5].path.c_str()));
    paths.Add(CKWString(m_samples[0].path.c_str()));
    paths.Add(CKWString(temp.File("gone.zel").c_str()));
    m_pFrame->OpenRecordingList(paths);
    CZelDorvaneDoc* pDoc = m_pFrame->GetActiveListDocument();
    ASSERT_NE(nullptr, pDoc);
    ASSERT_EQ(2, pDoc->GetRecordingCount());
    EXPECT_STREQ(m_samples[5].path.c_str(), pDoc->GetRecording(1)->GetPath());

    m_pFrame->SendMessage(WM_COMMAND, ID_APPEND);
    // The first sample is listed already.
    EXPECT_EQ(4, pDoc->GetRecordingCount());
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(0, pDoc->FindRecording(m_samples[i].path.c_str())) << i;
}

TEST_F(MainFrameTest, APhoneBookThatCannotBeReadIsNamed) {
    CTempFolder temp;
    m_pFrame->m_strChosen = temp.File("missing.csv").c_str();
    m_pFrame->SendMessage(WM_COMMAND, ID_IMPORT_PHONEBOOK);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("Unable to load the CSV file 'missing.csv' please check that the file is in a CSV "
              "format.",
              theApp.m_prompts[0]);
}

TEST_F(MainFrameTest, TheEditingKeysStayWithAnEditBoxFocus) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    ASSERT_TRUE(Search({folder}));
    CZelDorvaneView* pView = m_pFrame->GetActiveListView();
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    const int count = pDoc->GetRecordingCount();
    HWND hEdit = ::CreateWindowExA(0, "Edit", "caller", WS_CHILD | WS_VISIBLE, 5, 5, 80, 20,
                                   pView->m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hEdit);
    struct Case {
        HWND hFocus;
        BOOL translated;
        int removed;
    } cases[] = {{hEdit, FALSE, 0}, {pView->GetList().m_hWnd, TRUE, 1}};
    for (const Case& c : cases) {
        pView->SelectOnly(0);
        ::SetFocus(c.hFocus);
        ASSERT_EQ(c.hFocus, ::GetFocus());
        MSG msg = {c.hFocus, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
        EXPECT_EQ(c.translated, m_pFrame->PreTranslateMessage(&msg)) << c.removed;
        PumpPending();
        EXPECT_EQ(count - c.removed, pDoc->GetRecordingCount()) << c.removed;
    }
    ::DestroyWindow(hEdit);
}

TEST_F(MainFrameTest, ClosingAsksAboutEveryChangedList) {
    CTempFolder temp;
    const std::string folder = SampleFolder(temp, "calls");
    ASSERT_TRUE(Search({folder}));
    ASSERT_TRUE(Search({folder}, true));
    ASSERT_EQ(2, ListWindowCount());
    const char kQuestion[] = "You are about to close current list window";
    auto questions = [&] {
        int n = 0;
        for (const auto& prompt : theApp.m_prompts)
            n += prompt.compare(0, sizeof(kQuestion) - 1, kQuestion) == 0 ? 1 : 0;
        return n;
    };
    // Cancel at the first list keeps everything open.
    theApp.m_answers = {IDCANCEL};
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, questions());
    EXPECT_EQ(2, ListWindowCount());
    ASSERT_TRUE(::IsWindow(m_scaffold.m_hFrame));
    // No for both: each list is asked about, then the frame goes.
    theApp.m_prompts.clear();
    theApp.m_answers = {IDNO, IDNO};
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(2, questions());
    EXPECT_FALSE(::IsWindow(m_scaffold.m_hFrame));
}

} // namespace
