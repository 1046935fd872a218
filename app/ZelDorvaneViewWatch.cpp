// ZelDorvaneViewWatch.cpp: the call list's folder search (folders dropped on
// the list, or the list's source again after a change) and the folder watcher,
// a thread per view that reports changes below the list's source.
//
// The watcher thread waits on its change notification together with a stop
// event, and on a run event while the watcher button is off; it is joined when
// the view goes, never suspended or killed, so it cannot leave a lock held.
// It posts WM_LIST_WATCHER_CHANGE and waits until the view has taken it, so at
// most one change waits in the queue; the search that follows runs on the
// user-interface thread's timer, not in a nested loop. A change that meets a
// bulk command or another search is kept and tried again a second later.
#include "ZelDorvaneView.h"

#include "ListCommandsRes.h"
#include "MainFrm.h"
#include "ProgressWnd.h"
#include "SearchManager.h"
#include "ZelDorvaneDoc.h"
#include "resource.h"

#include "Common/TraceLog.h"

#include "framework/WinApp.h"

#include <cstring>
#include <vector>

namespace {

const UINT_PTR kSearchTimerId = 1;
const UINT kSearchTimerMs = 1000;
const UINT_PTR kRetryTimerId = 2; // a held-back watcher change tries again
const UINT kRetryTimerMs = 1000;
const DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE;
// WM_LIST_WATCHER_CHANGE's wParam: 0 a change, kWatcherEnded the thread could
// not watch the folder and ended.
const WPARAM kWatcherEnded = 1;

CString LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

bool IsHandle(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

void CloseAndForget(HANDLE& handle) {
    if (IsHandle(handle))
        ::CloseHandle(handle);
    handle = nullptr;
}

void DestroyProgress(CProgressWnd*& pProgress) {
    if (pProgress == nullptr)
        return;
    pProgress->DestroyWindow();
    delete pProgress;
    pProgress = nullptr;
}

// Wine's server watches only the sub-folders whose inodes it knows of, and a
// folder becomes known when a handle is opened on it: the watcher holds one on
// every folder below the one it watches while it waits. A folder made later
// is reported in its parent, and the next pass holds it too.
const size_t kMaxFolderHandles = 4096;

void OpenSubFolders(const CString& folder, std::vector<HANDLE>& handles) {
    WIN32_FIND_DATAA found;
    const HANDLE hFind = ::FindFirstFileA(folder + "\\*", &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
            continue;
        if (handles.size() >= kMaxFolderHandles) {
            KWTRACE_ERROR(("CZelDorvaneView: more than %u folders below the watched one; the "
                           "rest are not watched.\n",
                           static_cast<unsigned>(kMaxFolderHandles)));
            break;
        }
        const CString path = folder + "\\" + found.cFileName;
        const HANDLE hFolder = ::CreateFileA(
            path, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (hFolder == INVALID_HANDLE_VALUE)
            continue;
        handles.push_back(hFolder);
        OpenSubFolders(path, handles);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

void CloseFolders(std::vector<HANDLE>& handles) {
    for (HANDLE hFolder : handles)
        ::CloseHandle(hFolder);
    handles.clear();
}

// A search of the frame, of another view, or of the manager for anyone.
bool IsSearchRunning() {
    CMainFrame* pFrame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    return (pFrame != nullptr && pFrame->IsSearching()) ||
           CSearchManager::GetInstance()->IsWalking();
}

} // namespace

// ---------------------------------------------------------------------------
// The folder search

LRESULT CZelDorvaneView::OnSearchFolders(WPARAM, LPARAM lParam) {
    CKWArray<CKWString>* pFolders = reinterpret_cast<CKWArray<CKWString>*>(lParam);
    if (pFolders == nullptr)
        return 1;
    StartFolderSearch(*pFolders, false);
    pFolders->RemoveAll();
    delete pFolders;
    return 1;
}

bool CZelDorvaneView::StartFolderSearch(const CKWArray<CKWString>& folders, bool fromWatcher) {
    // One search at a time in the process: the manager has one set of results.
    if (m_searchTimer != 0 || IsSearchRunning()) {
        if (fromWatcher)
            KWTRACE(("CZelDorvaneView::StartFolderSearch: another search runs.\n"));
        else
            AfxMessageBox(IDS_SEARCH_RUNNING, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SearchCriteria criteria;
    criteria.Copy(folders);
    criteria.IncludeSubFolders = 1;
    criteria.FileNameMask = "*";
    criteria.CallerIdMask = "*";
    criteria.DateKind = SearchCriteria::kDateAll;
    criteria.RangeStart = 0;
    criteria.RangeEnd = 0;
    criteria.LimitLength = 0;
    criteria.MinMinutes = 0;

    DestroyProgress(m_pProgress);
    m_pProgress = new CProgressWnd(nullptr, LoadText(IDS_TASK_IN_PROGRESS), TRUE);
    m_pProgress->SetMessageText(LoadText(IDS_SCANNING));
    const HWND hWnd = m_hWnd;
    m_pProgress->PumpMessages(TRUE);
    if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != this)
        return false;
    m_pProgress->MakeModal("Progress");

    CSearchManager* pManager = CSearchManager::GetInstance();
    pManager->SetCriteria(criteria, CSearchManager::kSortStartTime, 1);
    SearchProgress progress;
    pManager->GetProgress(progress);
    if (progress.Error != 0 || progress.Counted == 0) {
        DestroyProgress(m_pProgress);
        if (fromWatcher)
            KWTRACE_ERROR(("CZelDorvaneView::StartFolderSearch: no recordings in \"%s\"; the "
                           "list stays as it was.\n",
                           static_cast<const char*>(folders.GetAt(0))));
        else
            AfxMessageBox(IDS_NO_RECORDINGS_FOUND, MB_OK);
        return false;
    }
    CString text;
    text.Format(IDS_COMPILING_LIST, 1, static_cast<int>(progress.Counted));
    m_pProgress->SetMessageText(text);
    m_pProgress->SetProgressRange(1, progress.Counted, 1);
    pManager->Start();
    m_searchTimer = SetTimer(kSearchTimerId, kSearchTimerMs, nullptr);
    if (m_searchTimer == 0) {
        KWTRACE_ERROR(("Failed to create the status timer"));
        pManager->Stop();
        DestroyProgress(m_pProgress);
        if (!fromWatcher)
            AfxMessageBox(IDS_SEARCH_NOT_STARTED, MB_OK);
        return false;
    }
    ::ResetEvent(m_searchFinished);
    m_watcherSearch = fromWatcher;
    return true;
}

void CZelDorvaneView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRetryTimerId) {
        KillTimer(kRetryTimerId);
        if (m_watcherPending)
            RunWatcherChange();
        return;
    }
    if (m_searchTimer == 0 || nIDEvent != m_searchTimer)
        return;
    CSearchManager* pManager = CSearchManager::GetInstance();
    SearchProgress progress;
    pManager->GetProgress(progress);
    if (m_pProgress != nullptr && ::IsWindow(m_pProgress->m_hWnd) && !m_pProgress->IsCancelled()) {
        CString text;
        text.Format(IDS_COMPILING_LIST, static_cast<int>(progress.Examined),
                    static_cast<int>(progress.Counted));
        m_pProgress->SetProgressPos(progress.Examined);
        const HWND hWnd = m_hWnd;
        m_pProgress->PumpMessages(TRUE);
        if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != this)
            return;
        if (m_searchTimer == 0 || m_pProgress == nullptr)
            return; // a tick run by the pump has ended the search
        m_pProgress->SetMessageText(text);
    }
    // The results are taken only once the walk is over: the manager holds its
    // lock for the whole walk, and the user interface must not wait on it.
    if (pManager->IsWalking()) {
        if (m_pProgress != nullptr && m_pProgress->IsCancelled()) {
            pManager->Stop();
            EndFolderSearch(false);
        }
        return;
    }
    pManager->GetProgress(progress);
    // A walk that examined nothing (every counted file went meanwhile) ends as
    // an empty search.
    EndFolderSearch(progress.Error == 0 && progress.Counted > 0 && progress.Examined > 0);
}

void CZelDorvaneView::EndFolderSearch(bool found) {
    KillTimer(m_searchTimer);
    m_searchTimer = 0;
    DestroyProgress(m_pProgress);
    const bool fromWatcher = m_watcherSearch;
    m_watcherSearch = false;
    CZelDorvaneDoc* pDoc = GetDocument();
    CSearchManager* pManager = CSearchManager::GetInstance();
    if (found) {
        // A folder added to the list does not change the search the list
        // repeats on a refresh; a list without one takes this search's.
        const SearchCriteria kept(*pDoc->GetSearchCriteria());
        // The watcher's list is replaced only now that the new contents exist.
        if (fromWatcher)
            pDoc->RemoveAll();
        pManager->TransferResults(pDoc);
        if (kept.GetSize() > 0)
            pDoc->SetSearchCriteria(kept);
        m_list.SetItemCount(0);
        pDoc->SortRecordings(m_sortColumn, m_sortDescending);
        ShowList(pDoc->GetListKind(), pDoc->GetSource());
    } else {
        pManager->Stop();
        if (fromWatcher)
            KWTRACE_ERROR(("CZelDorvaneView::EndFolderSearch: the search of the watched folder "
                           "found nothing; the list stays as it was.\n"));
    }
    ::SetEvent(m_searchFinished);
    if (fromWatcher && found)
        OnRefresh();
}

// ---------------------------------------------------------------------------
// The watcher

void CZelDorvaneView::OnWatcherButton() {
    const bool on = ::SendDlgItemMessageA(m_hWnd, IDC_WATCHER, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (IsHandle(m_watcherThread) && ::WaitForSingleObject(m_watcherThread, 0) == WAIT_OBJECT_0)
        CloseAndForget(m_watcherThread); // it ended on its own: a new one starts below
    if (!on) {
        if (IsHandle(m_watcherResume))
            ::ResetEvent(m_watcherResume);
        return;
    }
    AcquireSRWLockExclusive(&m_watchLock);
    m_watchedFolder = static_cast<const char*>(GetDocument()->GetSource());
    ReleaseSRWLockExclusive(&m_watchLock);
    if (IsHandle(m_watcherThread)) {
        ::SetEvent(m_watcherResume);
        return;
    }
    if (!IsHandle(m_watcherStop))
        m_watcherStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!IsHandle(m_watcherResume))
        m_watcherResume = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!IsHandle(m_watcherHandled))
        m_watcherHandled = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (IsHandle(m_watcherStop) && IsHandle(m_watcherResume) && IsHandle(m_watcherHandled)) {
        ::ResetEvent(m_watcherStop);
        ::SetEvent(m_watcherResume);
        m_watcherThread = ::CreateThread(nullptr, 0, FolderWatcherProc, this, 0, nullptr);
    }
    if (!IsHandle(m_watcherThread)) {
        m_watcherThread = nullptr;
        KWTRACE_ERROR(("CZelDorvaneView::OnWatcherButton: failed to start the watcher thread.\n"));
        ::SendDlgItemMessageA(m_hWnd, IDC_WATCHER, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

CString CZelDorvaneView::GetWatchedFolder() {
    AcquireSRWLockShared(&m_watchLock);
    const CString folder(m_watchedFolder.GetString()); // a copy of the thread's own
    ReleaseSRWLockShared(&m_watchLock);
    return folder;
}

DWORD WINAPI CZelDorvaneView::FolderWatcherProc(void* pParam) {
    CZelDorvaneView* pView = static_cast<CZelDorvaneView*>(pParam);
    if (pView == nullptr)
        return static_cast<DWORD>(-2);
    if (pView->GetDocument() == nullptr)
        return static_cast<DWORD>(-3);
    try {
        // The view joins this thread before it closes these handles.
        const HANDLE hStop = pView->m_watcherStop;
        const HANDLE hResume = pView->m_watcherResume;
        const HANDLE hHandled = pView->m_watcherHandled;
        const HWND hView = pView->m_hWnd;
        bool changed = false;
        for (;;) {
            const HANDLE run[] = {hStop, hResume};
            if (::WaitForMultipleObjects(2, run, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
                return 0;
            const CString folder = pView->GetWatchedFolder();
            // Asked for before the view hears of the last change, so that
            // changes made while it searches again are not lost.
            const HANDLE hChange = ::FindFirstChangeNotificationA(folder, TRUE, kWatchedChanges);
            if (!IsHandle(hChange)) {
                KWTRACE_ERROR(("\n ERROR: FindFirstChangeNotification function failed.\n"));
                ::PostMessageA(hView, WM_LIST_WATCHER_CHANGE, kWatcherEnded, 0);
                return static_cast<DWORD>(-1);
            }
            if (changed && ::PostMessageA(hView, WM_LIST_WATCHER_CHANGE, 0, 0)) {
                const HANDLE taken[] = {hStop, hHandled};
                if (::WaitForMultipleObjects(2, taken, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                    ::FindCloseChangeNotification(hChange);
                    return 0;
                }
            }
            changed = false;
            CString base = folder;
            base.TrimRight("\\/");
            std::vector<HANDLE> subFolders;
            OpenSubFolders(base, subFolders);
            KWTRACE(("\nWaiting for notification...\n"));
            const HANDLE waits[] = {hStop, hChange};
            const DWORD result = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
            ::FindCloseChangeNotification(hChange);
            CloseFolders(subFolders);
            if (result != WAIT_OBJECT_0 + 1)
                return 0;
            changed = true;
        }
    } catch (...) {
        KWTRACE_ERROR(("Failed to start monitor"));
        return 0;
    }
}

LRESULT CZelDorvaneView::OnWatcherChanged(WPARAM wParam, LPARAM) {
    if (wParam == kWatcherEnded) {
        // The folder cannot be watched: the switch must not claim it is.
        if (IsHandle(m_watcherThread)) {
            ::WaitForSingleObject(m_watcherThread, INFINITE);
            CloseAndForget(m_watcherThread);
        }
        ::SendDlgItemMessageA(m_hWnd, IDC_WATCHER, BM_SETCHECK, BST_UNCHECKED, 0);
        return 0;
    }
    if (!m_closing)
        RunWatcherChange();
    if (IsHandle(m_watcherHandled))
        ::SetEvent(m_watcherHandled);
    return 1;
}

void CZelDorvaneView::RunWatcherChange() {
    // Held back while a bulk command works through its rows or any search
    // runs; tried again a second later.
    if (IsBusy() || m_searchTimer != 0 || IsSearchRunning()) {
        m_watcherPending = true;
        SetTimer(kRetryTimerId, kRetryTimerMs, nullptr);
        return;
    }
    m_watcherPending = false;
    CKWArray<CKWString> folders;
    folders.Add(GetDocument()->GetSource());
    StartFolderSearch(folders, true);
}

void CZelDorvaneView::StopWatcher() {
    if (IsHandle(m_watcherStop))
        ::SetEvent(m_watcherStop);
    if (IsHandle(m_watcherThread))
        ::WaitForSingleObject(m_watcherThread, INFINITE);
    CloseAndForget(m_watcherThread);
    CloseAndForget(m_watcherStop);
    CloseAndForget(m_watcherResume);
    CloseAndForget(m_watcherHandled);
    if (::IsWindow(m_hWnd))
        KillTimer(kRetryTimerId);
    m_watcherPending = false;
    if (m_searchTimer != 0) {
        if (::IsWindow(m_hWnd))
            KillTimer(m_searchTimer);
        m_searchTimer = 0;
        m_watcherSearch = false;
        CSearchManager::GetInstance()->Stop();
        ::SetEvent(m_searchFinished);
    }
    DestroyProgress(m_pProgress);
}
