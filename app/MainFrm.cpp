// MainFrm.cpp: the main frame's creation and destruction, its panels, the
// search it runs under the progress window and timer 1, timer 3 of the
// archive schedule, and the private messages of the other windows.
#include "MainFrm.h"

#include "AppMessages.h"
#include "CreateRecordingListDlg.h"
#include "PlayerForm.h"
#include "ProgressWnd.h"
#include "ScoredFileListEntry.h"
#include "SearchManager.h"
#include "ZelDorvaneDoc.h"
#include "ZelDorvaneView.h"
#include "resource.h"

#include "OXSizableMiniDockFrameWnd.h"
#include "Scoring/ScoreFormManager.h"

#include "Common/KWString.h"
#include "Common/PlaybackManager.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/DocTemplate.h"
#include "framework/WinApp.h"

#include <mmsystem.h>

#include <ctime>
#include <memory>
#include <vector>

namespace {

using CMainFrameBase = COXMenuBarFrame<CMDIFrameWnd, COXSizeDockBar>;

const UINT kSearchTimerId = 1;
const UINT kArchiveTimerId = 3;
const UINT kSearchTimerMs = 1000;
// A run that is due already starts after a minute.
const UINT kOverdueRunMs = 60 * 1000;

// The menu icons the frame itself sets: command and icon.
const UINT kMenuIcons[][2] = {
    {ID_FILE_NEW, IDI_MENU_NEW},
    {ID_CREATE_LIST, IDI_MENU_CREATE},
    {ID_FILE_OPEN, IDI_MENU_OPEN},
    {ID_FILE_SAVE, IDI_MENU_SAVE},
    {ID_FILE_SAVE_AS, IDI_MENU_SAVE_AS},
    {ID_EDIT_COPY, IDI_MENU_COPY},
    {ID_EDIT_PASTE, IDI_MENU_PASTE},
    {ID_EDIT_REMOVE, IDI_MENU_REMOVE},
    {ID_EDIT_TRIM, IDI_MENU_TRIM},
    {ID_VIEW_ACCESS_PANEL, IDI_MENU_ACCESS_PANEL},
    {ID_VIEW_PLAYER_PANEL, IDI_MENU_PLAYER_PANEL},
    {ID_RUN_SCHEDULED_NOW, IDI_MENU_RUN_SCHEDULED},
    {ID_SHOW_PLAY_HISTORY, IDI_MENU_PLAY_HISTORY},
    {ID_APPEND, IDI_MENU_APPEND},
    {ID_WINDOW_CASCADE, IDI_MENU_CASCADE},
    {ID_WINDOW_TILE_HORZ, IDI_MENU_TILE},
    {ID_APP_ABOUT, IDI_MENU_ABOUT},
};

// The report commands' icons (AddMenuImages).
const UINT kReportIcons[][2] = {
    {ID_CUSTOM_REPORT, IDI_MENU_CUSTOM_REPORT},
    {ID_REPORT_STATISTICS, IDI_MENU_STATISTICS},
    {ID_REPORT_CHARTS, IDI_MENU_CHARTS},
    {ID_REPORT_SCORES_USER, IDI_MENU_SCORES},
    {ID_REPORT_SCORES_CALLER, IDI_MENU_SCORES},
    {ID_REPORT_LONGEST_CALLS, IDI_MENU_LONGEST_CALLS},
    {ID_REPORT_AGENT_SUMMARY, IDI_MENU_AGENT_SUMMARY},
    {ID_REPORT_ASSESS_USER, IDI_MENU_SCORES},
    {ID_REPORT_ASSESS_CALLER, IDI_MENU_SCORES},
    {ID_REPORT_TEAM_ASSESS_USER, IDI_MENU_SCORES},
};

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

// Delete, Ctrl+C, Ctrl+V, Ctrl+Insert and Shift+Insert: the accelerators of
// Remove, Copy and Paste, and the keys with which a user edits text.
bool IsTextEditingKey(UINT nKey) {
    const bool bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    const bool bShift = ::GetKeyState(VK_SHIFT) < 0;
    switch (nKey) {
    case VK_DELETE:
        return !bCtrl && !bShift;
    case 'C':
    case 'V':
        return bCtrl;
    case VK_INSERT:
        return bCtrl || bShift;
    default:
        return false;
    }
}

bool IsFolder(const char* path) {
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

const char CMainFrame::kSearchRunningText[] =
    "A search is already running. Wait for it to finish or cancel it first.";

CMainFrame::SArchiveHooks CMainFrame::s_archiveHooks = {nullptr, nullptr, nullptr, nullptr};

BEGIN_MESSAGE_MAP(CMainFrame, CMainFrameBase)
ON_WM_TIMER()
ON_WM_CLOSE()
ON_MESSAGE(WM_CREATE_RECORDING_LIST, &CMainFrame::OnCreateRecordingList)
ON_MESSAGE(WM_RECORDING_CHANGED, &CMainFrame::OnRecordingChanged)
ON_MESSAGE(WM_BOOKMARK_CHANGED, &CMainFrame::OnBookmarkChanged)
ON_MESSAGE(WM_RELOAD_HOTLISTS, &CMainFrame::OnReloadHotLists)
ON_MESSAGE(WM_RELOAD_SHORTCUTS, &CMainFrame::OnReloadShortcuts)
ON_MESSAGE(WM_CALL_SCORED, &CMainFrame::OnCallScored)
ON_MESSAGE(WM_RESCAN_FOLDERS, &CMainFrame::OnRescanFolders)
ON_MESSAGE(MM_WOM_DONE, &CMainFrame::OnWaveOutDone)
ON_COMMAND(ID_CREATE_LIST, &CMainFrame::OnCreateList)
ON_COMMAND(ID_FILE_NEW, &CMainFrame::OnFileNew)
ON_COMMAND(ID_EDIT_COPY, &CMainFrame::OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, &CMainFrame::OnEditPaste)
ON_COMMAND(ID_EDIT_REMOVE, &CMainFrame::OnEditRemove)
ON_COMMAND(ID_EDIT_TRIM, &CMainFrame::OnEditTrim)
ON_COMMAND(ID_PLAY, &CMainFrame::OnPlay)
ON_COMMAND(ID_ENCRYPTION, &CMainFrame::OnEncryption)
ON_COMMAND(ID_APPEND, &CMainFrame::OnAppend)
ON_COMMAND(ID_SHOW_PLAY_HISTORY, &CMainFrame::OnShowPlayHistory)
ON_COMMAND(ID_PLAY_HISTORY_AT_START, &CMainFrame::OnPlayHistoryAtStart)
ON_COMMAND(ID_PLAY_HISTORY_AT_START_NOLIST, &CMainFrame::OnPlayHistoryAtStart)
ON_COMMAND(ID_VIEW_ACCESS_PANEL, &CMainFrame::OnViewAccessPanel)
ON_COMMAND(ID_VIEW_PLAYER_PANEL, &CMainFrame::OnViewPlayerPanel)
ON_COMMAND(ID_HELP_GUIDE, &CMainFrame::OnHelpGuide)
ON_COMMAND(ID_HELP_ARCHIVING, &CMainFrame::OnHelpArchiving)
ON_COMMAND(ID_HELP_REPORTS, &CMainFrame::OnHelpReports)
ON_COMMAND(ID_APP_ABOUT, &CMainFrame::OnAppAbout)
ON_COMMAND(ID_IMPORT_PHONEBOOK, &CMainFrame::OnImportPhoneBook)
ON_COMMAND(ID_RUN_SCHEDULED_NOW, &CMainFrame::OnRunScheduledNow)
ON_COMMAND(ID_FORMS_MANAGER, &CMainFrame::OnFormsManager)
ON_UPDATE_COMMAND_UI(ID_PLAY, &CMainFrame::OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CMainFrame::OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_REMOVE, &CMainFrame::OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_TRIM, &CMainFrame::OnUpdateNeedsSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CMainFrame::OnUpdatePaste)
ON_UPDATE_COMMAND_UI(ID_PLAY_HISTORY_AT_START, &CMainFrame::OnUpdatePlayHistoryAtStart)
ON_UPDATE_COMMAND_UI(ID_PLAY_HISTORY_AT_START_NOLIST, &CMainFrame::OnUpdatePlayHistoryAtStart)
ON_UPDATE_COMMAND_UI(ID_RUN_SCHEDULED_NOW, &CMainFrame::OnUpdateRunScheduledNow)
// Reports and the archive settings come with their own issues; an open list
// view takes the report commands first.
ON_UPDATE_COMMAND_UI(ID_CUSTOM_REPORT, &CMainFrame::OnUpdateLaterIssue)
ON_UPDATE_COMMAND_UI_RANGE(ID_ARCHIVE_SETTINGS, ID_ARCHIVE_LOGS, &CMainFrame::OnUpdateLaterIssue)
END_MESSAGE_MAP()

void CMainFrame::SetArchiveHooks(const SArchiveHooks& hooks) {
    s_archiveHooks = hooks;
}

UINT CMainFrame::ArchiveTimerDelay(LONG now, LONG next) {
    if (next <= now)
        return kOverdueRunMs;
    // In 64 bits: a run years ahead must not wrap into a short delay.
    long long ms = (static_cast<long long>(next) - now) * 1000;
    return ms > kMaxTimerStepMs ? kMaxTimerStepMs : static_cast<UINT>(ms);
}

CMainFrame::CMainFrame()
    : CMainFrameBase(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd)) {}

CMainFrame::~CMainFrame() {
    if (m_pProgress != nullptr) {
        m_pProgress->DestroyWindow();
        delete m_pProgress;
        m_pProgress = nullptr;
    }
    // The engines go with the frame; the stores stay for the application's
    // exit. Deleting the search manager stops and waits for a running walk.
    CSearchManager::DeleteInstance();
    delete CPlaybackManager::GetInstance();
    if (s_archiveHooks.release != nullptr)
        s_archiveHooks.release();
    CScoreFormManager::DeleteInstance();
    for (HICON hIcon : m_menuIcons)
        ::DestroyIcon(hIcon);
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                           CCreateContext* pContext) {
    if (!CMainFrameBase::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    if (m_pPlayerForm == nullptr) {
        if (CFrameWnd* pHost = m_wndPlayerPanel.GetHostFrame())
            m_pPlayerForm =
                dynamic_cast<CPlayerForm*>(pHost->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    }
    return TRUE;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CMainFrameBase::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE;
    return TRUE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && IsTextEditingKey(static_cast<UINT>(pMsg->wParam))) {
        char className[16] = "";
        HWND hFocus = ::GetFocus();
        if (hFocus != nullptr && ::GetClassNameA(hFocus, className, sizeof(className)) > 0 &&
            lstrcmpiA(className, "Edit") == 0)
            return FALSE;
    }
    return CMainFrameBase::PreTranslateMessage(pMsg);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The menu bar and its docking are made by the base's WM_CREATE; the
    // panels dock beside them afterwards.
    if (message == WM_CREATE) {
        LRESULT lResult = CMainFrameBase::WindowProc(message, wParam, lParam);
        if (lResult == -1)
            return -1;
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    }
    return CMainFrameBase::WindowProc(message, wParam, lParam);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (!m_wndAccessPanel.Create(this, "Access Panel", IDC_ACCESS_PANEL,
                                 WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT |
                                     CBRS_SIZE_DYNAMIC,
                                 CRect(0, 0, 200, 200))) {
        KWTRACE_ERROR(("CMainFrame::OnCreate: failed to create the Access Panel.\n"));
        return -1;
    }
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!m_wndPlayerPanel.Create(this, RUNTIME_CLASS(CPlayerForm), pContext, "Player Panel",
                                 WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                                 IDC_PLAYER_PANEL)) {
        KWTRACE_ERROR(("CMainFrame::OnCreate: failed to create the Player Panel.\n"));
        return -1;
    }
    m_wndPlayerPanel.SetBarStyle(m_wndPlayerPanel.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY |
                                 CBRS_SIZE_DYNAMIC);
    m_wndPlayerPanel.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
    m_wndAccessPanel.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndAccessPanel, AFX_IDW_DOCKBAR_LEFT);
    DockControlBar(&m_wndPlayerPanel, AFX_IDW_DOCKBAR_BOTTOM);

    m_menuOrganizer.AttachFrameWnd(this);
    m_menuOrganizer.AutoSetMenuImage();
    m_showHistoryAtStart = CSettings::GetInstance()->GetShowHistory() ? 1 : 0;
    for (const UINT* pPair : kMenuIcons)
        SetMenuIcon(pPair[0], pPair[1]);
    AddMenuImages();
    m_mdiTabs.Attach(this, TCS_HOTTRACK);
    // A press on a docked panel arms a drag rather than starting it at once.
    SetTabbedDocking(TRUE);
    GetMenuBar().SetDragAnywhere(FALSE);

    CPlaybackManager::GetInstance()->SetNotifyWindow(this);
    if (s_archiveHooks.load != nullptr)
        s_archiveHooks.load();
    ScheduleArchiveTimer();
    return 0;
}

void CMainFrame::AddMenuImages() {
    for (const UINT* pPair : kReportIcons)
        SetMenuIcon(pPair[0], pPair[1]);
}

void CMainFrame::SetMenuIcon(UINT nCommand, UINT nIcon) {
    // Whatever module holds the icon: a resource library replaces only some.
    HINSTANCE hModule = AfxGetResourceHandle();
    if (::FindResourceA(hModule, MAKEINTRESOURCEA(nIcon),
                        reinterpret_cast<LPCSTR>(RT_GROUP_ICON)) == nullptr)
        hModule = AfxGetInstanceHandle();
    auto hIcon = static_cast<HICON>(
        ::LoadImageA(hModule, MAKEINTRESOURCEA(nIcon), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    if (hIcon == nullptr)
        return;
    m_menuIcons.push_back(hIcon);
    m_menuOrganizer.SetMenuIcon(nCommand, hIcon, 16, 16);
}

void CMainFrame::FitPlayerPanel() {
    if (!::IsWindow(m_wndPlayerPanel.GetSafeHwnd()))
        return;
    // The form lays itself out over the width it is given first; the dock
    // then puts the panel back in its place.
    CRect rectClient;
    GetClientRect(&rectClient);
    m_wndPlayerPanel.MoveWindow(&rectClient, TRUE);
    RecalcLayout();
    m_wndPlayerPanel.RedrawWindow(nullptr, nullptr,
                                  RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------
// Timer 3: the scheduled archive run

void CMainFrame::ScheduleArchiveTimer() {
    if (m_archiveTimer != 0) {
        KillTimer(m_archiveTimer);
        m_archiveTimer = 0;
    }
    LONG next = 0;
    if (s_archiveHooks.nextRun == nullptr || !s_archiveHooks.nextRun(next))
        return;
    UINT delay = ArchiveTimerDelay(static_cast<LONG>(time(nullptr)), next);
    m_archiveTimer = SetTimer(kArchiveTimerId, delay, nullptr);
}

// ---------------------------------------------------------------------------
// Searches

bool CMainFrame::StartSearch(const SearchCriteria& criteria, bool bNewWindow,
                             CZelDorvaneDoc* pTarget) {
    if (RefuseWhileSearching())
        return false;
    auto* pProgress = new CProgressWnd;
    if (!pProgress->CreateProgressWindow(this, LoadText(IDS_TASK_IN_PROGRESS), TRUE)) {
        delete pProgress;
        return false;
    }
    m_pProgress = pProgress;
    m_pProgress->SetMessageText(LoadText(IDS_SCANNING));
    m_pProgress->PumpMessages(TRUE);
    m_pProgress->MakeModal("Progress");

    CSearchManager* pManager = CSearchManager::GetInstance();
    pManager->SetCriteria(criteria, CSearchManager::kSortStartTime, 1);
    SearchProgress progress;
    pManager->GetProgress(progress);
    if (progress.Error || progress.Counted == 0) {
        EndSearch(false);
        AfxMessageBox("No recordings found which match your specified criteria.", MB_OK);
        return false;
    }
    CString text;
    text.Format(LoadText(IDS_COMPILING_LIST), 0, static_cast<int>(progress.Counted));
    m_pProgress->SetMessageText(text);
    m_pProgress->SetProgressRange(1, progress.Counted, 1);

    m_bSearchHasTarget = bNewWindow || pTarget != nullptr;
    m_pSearchTarget = pTarget;
    if (bNewWindow) {
        CZelDorvaneView* pView = NewListWindow();
        m_pSearchTarget = pView != nullptr ? pView->GetDocument() : nullptr;
    }

    pManager->Start();
    m_searchTimer = SetTimer(kSearchTimerId, kSearchTimerMs, nullptr);
    if (m_searchTimer == 0) {
        KWTRACE_ERROR(("Failed to create the status timer"));
        EndSearch(true);
        AfxMessageBox("Falied to start search.", MB_OK);
        return false;
    }
    return true;
}

bool CMainFrame::RefuseWhileSearching() {
    // The view's folder search shares the one search manager: a walk of its
    // counts as much as the frame's own.
    if (!IsSearching() && !CSearchManager::GetInstance()->IsWalking())
        return false;
    AfxMessageBox(kSearchRunningText, MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void CMainFrame::EndSearch(bool bStop) {
    if (m_searchTimer != 0) {
        KillTimer(m_searchTimer);
        m_searchTimer = 0;
    }
    if (bStop)
        CSearchManager::GetInstance()->Stop();
    if (m_pProgress != nullptr) {
        CProgressWnd* pProgress = m_pProgress;
        m_pProgress = nullptr;
        pProgress->DestroyWindow();
        delete pProgress;
    }
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kArchiveTimerId) {
        KillTimer(kArchiveTimerId);
        m_archiveTimer = 0;
        // A run further ahead than one timer step waits for the next step.
        LONG next = 0;
        if (s_archiveHooks.nextRun != nullptr && s_archiveHooks.nextRun(next) &&
            next > static_cast<LONG>(time(nullptr)))
            ScheduleArchiveTimer();
        else
            OnRunScheduledNow();
        return;
    }
    if (nIDEvent == kSearchTimerId && m_searchTimer != 0 && !m_bInSearchTimer) {
        m_bInSearchTimer = true;
        OnSearchTimer();
        m_bInSearchTimer = false;
        return;
    }
    CMainFrameBase::OnTimer(nIDEvent);
}

void CMainFrame::OnSearchTimer() {
    CSearchManager* pManager = CSearchManager::GetInstance();
    SearchProgress progress;
    pManager->GetProgress(progress);
    if (m_pProgress != nullptr && !m_pProgress->IsCancelled()) {
        CString text;
        text.Format(LoadText(IDS_COMPILING_LIST), static_cast<int>(progress.Examined),
                    static_cast<int>(progress.Counted));
        m_pProgress->SetProgressPos(progress.Examined);
        m_pProgress->PumpMessages(TRUE);
        m_pProgress->SetMessageText(text);
    }
    // A cancelled search ends without touching any list, even when its walk
    // has just finished.
    if (m_pProgress != nullptr && m_pProgress->IsCancelled()) {
        EndSearch(true);
        return;
    }
    // Until the walk and its sort are over the manager holds its lock; the
    // results are taken only then, so the user-interface thread never waits.
    if (pManager->IsWalking())
        return;
    if (!progress.Error && progress.Counted != 0 && progress.Examined != 0) {
        EndSearch(false);
        OnSearchFinished();
        return;
    }
    // Every counted recording vanished before the walk reached it.
    EndSearch(true);
    m_bSearchHasTarget = false;
    m_pSearchTarget = nullptr;
    AfxMessageBox("No recordings found which match your specified criteria.", MB_OK);
}

CZelDorvaneView* CMainFrame::NewListWindow() {
    AfxGetApp()->OnFileNew();
    return GetActiveListView();
}

void CMainFrame::OnSearchFinished() {
    CZelDorvaneView* pView = nullptr;
    if (m_bSearchHasTarget) {
        CZelDorvaneDoc* pTarget = m_pSearchTarget;
        m_bSearchHasTarget = false;
        m_pSearchTarget = nullptr;
        pView = pTarget != nullptr && IsOpenDocument(pTarget) ? ViewOf(pTarget) : nullptr;
        if (pView != nullptr)
            pTarget->RemoveAll();
        else
            pView = NewListWindow();
    } else {
        pView = GetActiveListView();
        if (pView != nullptr && pView->GetDocument()->IsReusable())
            pView->GetDocument()->RemoveAll();
        else
            pView = NewListWindow();
    }
    if (pView == nullptr)
        return;
    CSearchManager* pManager = CSearchManager::GetInstance();
    SearchCriteria criteria(*pManager->GetCriteria());
    pManager->TransferResults(pView->GetDocument());
    // Only a folder can be a list's source: its watcher and its rescan need
    // one. A single recording makes a custom list.
    if (criteria.GetSize() == 1 && IsFolder(criteria.GetAt(0)))
        pView->ShowList(CZelDorvaneDoc::kFolderList, criteria.GetAt(0));
    else
        pView->ShowList(CZelDorvaneDoc::kCustomList, CKWString());
}

// ---------------------------------------------------------------------------
// List windows

CZelDorvaneView* CMainFrame::GetActiveListView() {
    CMDIChildWnd* pChild = MDIGetActive();
    if (pChild == nullptr)
        return nullptr;
    return dynamic_cast<CZelDorvaneView*>(pChild->GetActiveView());
}

CZelDorvaneDoc* CMainFrame::GetActiveListDocument() {
    CZelDorvaneView* pView = GetActiveListView();
    return pView != nullptr ? pView->GetDocument() : nullptr;
}

void CMainFrame::ForEachListView(const std::function<void(CZelDorvaneView*)>& fn) {
    // The windows are collected first: a handler may close its own.
    std::vector<HWND> children;
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != nullptr)
        children.push_back(pActive->GetSafeHwnd());
    for (HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (pActive == nullptr || hChild != pActive->GetSafeHwnd())
            children.push_back(hChild);
    }
    for (HWND hChild : children) {
        if (!::IsWindow(hChild))
            continue;
        auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hChild));
        if (pFrame == nullptr)
            continue;
        if (auto* pView = dynamic_cast<CZelDorvaneView*>(pFrame->GetActiveView()))
            fn(pView);
    }
}

bool CMainFrame::IsOpenDocument(CZelDorvaneDoc* pDoc) {
    if (pDoc == nullptr)
        return false;
    bool bOpen = false;
    ForEachListView([&](CZelDorvaneView* pView) {
        if (pView->GetDocument() == pDoc)
            bOpen = true;
    });
    return bOpen;
}

CZelDorvaneView* CMainFrame::ViewOf(CZelDorvaneDoc* pDoc) {
    CZelDorvaneView* pFound = nullptr;
    ForEachListView([&](CZelDorvaneView* pView) {
        if (pFound == nullptr && pView->GetDocument() == pDoc)
            pFound = pView;
    });
    return pFound;
}

// ---------------------------------------------------------------------------
// ICallListHost

void CMainFrame::PlayLoadedRecording() {
    if (m_pPlayerForm == nullptr)
        return;
    m_pPlayerForm->UpdateFromPlayback();
    m_pPlayerForm->Play();
}

void CMainFrame::OpenRecordingList(const CKWArray<CKWString>& paths) {
    CZelDorvaneView* pView = NewListWindow();
    if (pView == nullptr)
        return;
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    CString passphrase = CSettings::GetInstance()->GetPassphrase();
    for (int i = 0; i < paths.GetSize(); ++i) {
        auto* pEntry = new CScoredFileListEntry;
        pEntry->SetPath(paths.GetAt(i));
        pEntry->LoadHeader(passphrase);
        pEntry->LoadScores(FALSE);
        // Refused: listed already, or no such file.
        if (!pDoc->AddRecording(pEntry, TRUE))
            delete pEntry;
    }
    pView->ShowList(CZelDorvaneDoc::kCustomList, CKWString());
}

// ---------------------------------------------------------------------------
// Private messages

LRESULT CMainFrame::OnCreateRecordingList(WPARAM wParam, LPARAM /*lParam*/) {
    std::unique_ptr<CKWArray<CKWString>> pFolders(reinterpret_cast<CKWArray<CKWString>*>(wParam));
    if (pFolders == nullptr || RefuseWhileSearching())
        return 1;
    CCreateRecordingListDlg dlg;
    dlg.SetInitialFolders(*pFolders);
    pFolders.reset();
    if (dlg.DoModal() == IDOK) {
        SearchCriteria criteria(*dlg.GetCriteria());
        StartSearch(criteria, true, nullptr);
    }
    return 1;
}

LRESULT CMainFrame::OnRecordingChanged(WPARAM wParam, LPARAM lParam) {
    std::unique_ptr<CKWString> pPath(reinterpret_cast<CKWString*>(lParam));
    if (pPath == nullptr)
        return 1;
    const CKWString path = *pPath;
    ForEachListView([&](CZelDorvaneView* pView) {
        switch (wParam) {
        case 0:
            pView->OnRecordingMarked(path, 1);
            break;
        case 1:
            pView->OnRecordingMarked(path, 0);
            break;
        case 2:
            pView->OnRecordingDeleted(path);
            break;
        default: // 3, the player's Play: nothing in a list changes
            break;
        }
    });
    return 1;
}

LRESULT CMainFrame::OnBookmarkChanged(WPARAM wParam, LPARAM lParam) {
    std::unique_ptr<CKWString> pPath(reinterpret_cast<CKWString*>(lParam));
    if (pPath == nullptr)
        return 1;
    const CKWString path = *pPath;
    // A cleared bookmark (-1) reaches the views as 65535, 65535.
    const int start = static_cast<int>(wParam & 0xFFFF);
    const int end = static_cast<int>((wParam >> 16) & 0xFFFF);
    ForEachListView([&](CZelDorvaneView* pView) { pView->OnBookmarkChanged(path, start, end); });
    return 1;
}

LRESULT CMainFrame::OnReloadHotLists(WPARAM, LPARAM) {
    m_wndAccessPanel.ReloadHotLists();
    return 1;
}

LRESULT CMainFrame::OnReloadShortcuts(WPARAM, LPARAM) {
    m_wndAccessPanel.ReloadShortcuts();
    return 1;
}

LRESULT CMainFrame::OnCallScored(WPARAM, LPARAM lParam) {
    // Sent, not posted: the entry stays the sender's and lives through the call.
    m_wndAccessPanel.AddScoredCall(reinterpret_cast<CScoredFileListEntry*>(lParam));
    return 1;
}

LRESULT CMainFrame::OnRescanFolders(WPARAM wParam, LPARAM lParam) {
    std::unique_ptr<SearchCriteria> pCriteria(reinterpret_cast<SearchCriteria*>(wParam));
    if (pCriteria == nullptr)
        return 1;
    // The list that asked is filled again, whichever window is active by now.
    auto* pTarget = reinterpret_cast<CZelDorvaneDoc*>(lParam);
    StartSearch(*pCriteria, false, pTarget);
    return 1;
}

LRESULT CMainFrame::OnWaveOutDone(WPARAM wParam, LPARAM lParam) {
    CPlaybackManager::GetInstance()->OnWaveOutMessage(MM_WOM_DONE, wParam, lParam);
    return 1;
}

// ---------------------------------------------------------------------------
// Closing

void CMainFrame::OnClose() {
    CWinApp* pApp = AfxGetApp();
    const bool bMainWindow = pApp != nullptr && pApp->m_pMainWnd == this;
    if (bMainWindow) {
        // Every modified list is offered for saving, not only the active one:
        // closing the program must not drop another window's changes unasked.
        if (!pApp->SaveAllModified())
            return;
        const HWND hWnd = m_hWnd;
        pApp->CloseAllDocuments(FALSE);
        if (!::IsWindow(hWnd))
            return;
    } else {
        CDocument* pDoc = GetActiveDocument();
        if (pDoc != nullptr && !pDoc->CanCloseFrame(this))
            return;
    }
    if (m_archiveTimer != 0) {
        KillTimer(m_archiveTimer);
        m_archiveTimer = 0;
    }
    // A search still running ends here, before the engines go.
    if (m_searchTimer != 0 || m_pProgress != nullptr)
        EndSearch(true);
    // As the main window, its destruction posts the quit message that ends
    // the message loop and leads to the application's exit.
    DestroyWindow();
}
