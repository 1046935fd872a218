// ZelDorvaneViewCommands.cpp: the commands on listed recordings: play, the
// clipboard, remove and trim, the important marks, annotation, refresh, the
// find in the list, the longest calls, scoring, export and e-mail, delete, the
// context and archiving menus, and the list's add, drag and edit messages.
//
// The bulk commands pump messages while they work, so anything may run in
// between: they collect the selected paths first, look each row up by its path
// before they touch it, hold the folder watcher back (IsBusy) and stop when the
// view itself has gone.
#include "ZelDorvaneView.h"

#include "AnnotateDlg.h"
#include "AppMessages.h"
#include "DirDialog.h"
#include "ListCommandsRes.h"
#include "MainFrm.h"
#include "ManageCallScoreForms.h"
#include "PlayerForm.h"
#include "ProgressWnd.h"
#include "ScoreCallDlg.h"
#include "ScoredFileListEntry.h"
#include "SearchCriteria.h"
#include "SearchDlg.h"
#include "ZelDorvaneDoc.h"
#include "resource.h"

#include "Common/BookmarkRecordFile.h"
#include "Common/DropFileList.h"
#include "Common/MapiMail.h"
#include "Common/PlaybackManager.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/CmdUI.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/Menu.h"
#include "framework/OleData.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const int kLongestCallsCount = 20;
const int kCommentLength = 1024;
const int kCallerIdLength = 128;

CString LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

CString Passphrase() {
    return CSettings::GetInstance()->GetPassphrase();
}

CPlayerForm* GetPlayerForm() {
    CMainFrame* pFrame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    return pFrame != nullptr ? pFrame->GetPlayerForm() : nullptr;
}

// The view object goes with its window, so after messages ran only its
// handle may be asked whether it is still there.
bool IsViewAlive(HWND hWnd, const CWnd* pView) {
    return ::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == pView;
}

// Dispatches every message waiting in the thread's queue; false when the view
// went meanwhile.
bool PumpPending(HWND hWnd, const CWnd* pView) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!AfxPumpMessage())
            break; // the quit is posted again for the thread's own loop
    }
    return IsViewAlive(hWnd, pView);
}

void DestroyProgress(CProgressWnd*& pProgress) {
    if (pProgress == nullptr)
        return;
    pProgress->DestroyWindow();
    delete pProgress;
    pProgress = nullptr;
}

bool IsProgressUp(const CProgressWnd* pProgress) {
    return pProgress != nullptr && ::IsWindow(pProgress->m_hWnd) && !pProgress->IsCancelled();
}

// A progress window of a bulk command, modal over the main window.
CProgressWnd* MakeBulkProgress(UINT nTextId, int count) {
    CProgressWnd* pProgress = new CProgressWnd(nullptr, LoadText(IDS_TASK_IN_PROGRESS), TRUE);
    CString text;
    text.Format(nTextId, 1, count);
    pProgress->SetMessageText(text);
    pProgress->SetProgressRange(0, count, 1);
    pProgress->PumpMessages(TRUE);
    pProgress->MakeModal(_T("Progress"));
    return pProgress;
}

// The heap text belongs to the frame once posted.
void PostRecordingChanged(WPARAM code, const char* path) {
    CWnd* pMain = AfxGetMainWnd();
    CKWString* pText = new CKWString(path);
    if (pMain == nullptr ||
        !::PostMessageA(pMain->m_hWnd, WM_RECORDING_CHANGED, code, reinterpret_cast<LPARAM>(pText)))
        delete pText;
}

void ReportHeaderWriteFailure(const char* path) {
    CString text;
    text.Format(IDS_HEADER_WRITE_FAILED, path);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// The engine's recording when the engine holds the file at path, else null.
CZELRecordFile* EngineRecordingOf(const char* path) {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    CZELRecordFile* pRecord = pEngine->GetRecordFile();
    if (!pEngine->IsLoaded() || pRecord->GetPath().CompareNoCase(path) != 0)
        return nullptr;
    return pRecord;
}

// Changes the header of the recording at path and writes it back. The file
// the engine holds is changed through the engine's recording, so that its
// copy stays current and is not written back stale when it unloads; any other
// file through a recording of its own. False when the file did not open or
// the header was not written.
template <class Change> bool WriteRecordingHeader(const char* path, Change change) {
    if (CZELRecordFile* pLoaded = EngineRecordingOf(path)) {
        change(*pLoaded);
        return pLoaded->FlushHeader();
    }
    CKWRecordFile record;
    if (!record.Load(path, Passphrase()))
        return false;
    change(record);
    return record.FlushHeader();
}

// The comment in the header of the recording at path; false when it does not open.
bool ReadRecordingComment(const char* path, CString& comment) {
    if (CZELRecordFile* pLoaded = EngineRecordingOf(path)) {
        comment = pLoaded->GetComment();
        return true;
    }
    CKWRecordFile record;
    if (!record.Load(path, Passphrase()))
        return false;
    comment = record.GetComment();
    return true;
}

// The recording that the single-recording exports and mails act on: the one
// the engine holds, when it is the one selected row (or no row is selected).
CZELRecordFile* GetExportRecording(CZelDorvaneView* pView) {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (!pEngine->IsLoaded())
        return nullptr;
    CZELRecordFile* pRecord = pEngine->GetRecordFile();
    if (pView->GetSelectedCount() == 0)
        return pRecord;
    if (pView->GetSelectedCount() != 1)
        return nullptr;
    const CScoredFileListEntry* pEntry =
        pView->GetDocument()->GetRecording(pView->GetFirstSelected());
    return pEntry != nullptr ? EngineRecordingOf(pEntry->GetPath()) : nullptr;
}

// One selected call with a bookmark area: the buttons then offer a choice.
bool OffersBookmarkChoice(CZelDorvaneView* pView) {
    if (pView->GetSelectedCount() != 1)
        return false;
    CZELRecordFile* pRecord = GetExportRecording(pView);
    int start = 0, end = 0;
    return pRecord != nullptr && pRecord->GetBookmark(&start, &end);
}

std::vector<int> GetSelectedRows(const CListCtrl& list) {
    std::vector<int> rows;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

// The paths as a dropped-files block in shareable global memory, for the
// clipboard or a drag; null when there is nothing to offer.
HGLOBAL MakeFileListBlock(const std::vector<CKWString>& paths) {
    CDropFileList list;
    for (const CKWString& path : paths)
        list.Add(static_cast<const char*>(path));
    list.BuildBlock();
    if (list.GetBlock() == nullptr)
        return nullptr;
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, list.GetBlockSize());
    if (hBlock == nullptr)
        return nullptr;
    void* pBytes = ::GlobalLock(hBlock);
    if (pBytes == nullptr) {
        ::GlobalFree(hBlock);
        return nullptr;
    }
    std::memcpy(pBytes, list.GetBlock(), list.GetBlockSize());
    ::GlobalUnlock(hBlock);
    return hBlock;
}

// Every list view of every open document.
std::vector<CZelDorvaneView*> GetListViews() {
    std::vector<CZelDorvaneView*> views;
    CDocManager* pManager = AfxGetDocManager();
    POSITION posTemplate = pManager->GetFirstDocTemplatePosition();
    while (posTemplate != nullptr) {
        CDocTemplate* pTemplate = pManager->GetNextDocTemplate(posTemplate);
        POSITION posDoc = pTemplate->GetFirstDocPosition();
        while (posDoc != nullptr) {
            CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
            POSITION posView = pDoc->GetFirstViewPosition();
            while (posView != nullptr) {
                if (CZelDorvaneView* pView =
                        DYNAMIC_DOWNCAST(CZelDorvaneView, pDoc->GetNextView(posView)))
                    views.push_back(pView);
            }
        }
    }
    return views;
}

// Opens a new, empty list window through the framework's File New; its view,
// or null when none opened.
CZelDorvaneView* OpenNewListView() {
    const std::vector<CZelDorvaneView*> before = GetListViews();
    AfxGetApp()->OnFileNew();
    for (CZelDorvaneView* pView : GetListViews()) {
        if (std::find(before.begin(), before.end(), pView) == before.end())
            return pView;
    }
    return nullptr;
}

// Offers every item of the popup (and of its submenus) to the view's update
// handlers, so that commands of later features are shown disabled here too.
void UpdatePopupItems(CMenu* pPopup, CCmdTarget* pTarget) {
    const int count = pPopup->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        const UINT nID = pPopup->GetMenuItemID(i);
        if (nID == static_cast<UINT>(-1)) {
            if (CMenu* pSub = pPopup->GetSubMenu(i))
                UpdatePopupItems(pSub, pTarget);
            continue;
        }
        if (nID == 0)
            continue;
        CCmdUI state;
        state.m_pMenu = pPopup;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nIndexMax = static_cast<UINT>(count);
        state.m_nID = nID;
        state.DoUpdate(pTarget, FALSE);
    }
}

void GrayItems(CMenu* pPopup, std::initializer_list<UINT> ids) {
    for (UINT nID : ids)
        pPopup->EnableMenuItem(nID, MF_BYCOMMAND | MF_GRAYED);
}

// Recycles the file; only a regular file is handed to the shell, whose delete
// would take a whole folder tree or every file a wildcard names.
bool RecycleRegularFile(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        std::strpbrk(path, "*?") != nullptr)
        return false;
    std::string from(path);
    from.push_back('\0'); // the list ends with two NULs
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
    if (::SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted)
        return false;
    // A shell that answers success and left the file has not deleted it.
    return ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

bool MatchesUpper(const CKWString& pattern, const char* text) {
    CString upper(text);
    upper.MakeUpper();
    return WildcardMatch(pattern, upper.GetString()) != 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Play and the clipboard

void CZelDorvaneView::OnPlayButton() {
    OnPlay();
}

void CZelDorvaneView::OnPlay() {
    if (GetSelectedCount() > 1) {
        // The selection becomes a list of its own, which plays its first row.
        const std::vector<CKWString> paths = GetSelectedPaths();
        CZelDorvaneView* pView = OpenNewListView();
        if (pView == nullptr)
            return;
        pView->ShowList(CZelDorvaneDoc::kCustomList, CKWString());
        pView->AddPaths(paths);
        pView->OnPlay();
        return;
    }
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (!pEngine->IsReadyToPlay())
        return;
    if (CPlayerForm* pPlayer = GetPlayerForm())
        pPlayer->Play();
    pEngine->Start(TRUE, FALSE);
}

void CZelDorvaneView::OnCopy() {
    CWaitCursor wait;
    HGLOBAL hBlock = MakeFileListBlock(GetSelectedPaths());
    if (hBlock == nullptr)
        return;
    if (!::OpenClipboard(m_hWnd)) {
        ::GlobalFree(hBlock);
        return;
    }
    ::EmptyClipboard();
    if (::SetClipboardData(CF_HDROP, hBlock) == nullptr)
        ::GlobalFree(hBlock);
    ::CloseClipboard();
}

void CZelDorvaneView::OnPaste() {
    CWaitCursor wait;
    if (!::IsClipboardFormatAvailable(CF_HDROP) || !::OpenClipboard(m_hWnd))
        return;
    std::vector<CKWString> paths;
    if (HDROP hDrop = static_cast<HDROP>(::GetClipboardData(CF_HDROP))) {
        const UINT count = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = ::DragQueryFileA(hDrop, i, nullptr, 0);
            std::string path(length + 1, '\0');
            ::DragQueryFileA(hDrop, i, &path[0], length + 1);
            paths.push_back(CKWString(path.c_str()));
        }
    }
    ::CloseClipboard();
    if (!paths.empty())
        AddPaths(paths);
}

void CZelDorvaneView::AddPaths(const std::vector<CKWString>& paths) {
    CZelDorvaneDoc* pDoc = GetDocument();
    const CString passphrase = Passphrase();
    for (const CKWString& path : paths) {
        CScoredFileListEntry* pEntry = new CScoredFileListEntry;
        pEntry->SetPath(path);
        pEntry->LoadHeader(passphrase);
        pEntry->LoadScores(FALSE);
        if (!pDoc->AddRecording(pEntry, TRUE))
            delete pEntry;
    }
    pDoc->SetListKind(CZelDorvaneDoc::kCustomList);
    m_list.SetItemCount(0);
    pDoc->SortRecordings(m_sortColumn, m_sortDescending);
    ShowList(CZelDorvaneDoc::kCustomList, pDoc->GetSource());
}

// ---------------------------------------------------------------------------
// Rows of the list

void CZelDorvaneView::OnSelectAll() {
    m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void CZelDorvaneView::OnRemove() {
    CWaitCursor wait;
    CZelDorvaneDoc* pDoc = GetDocument();
    const std::vector<int> rows = GetSelectedRows(m_list);
    SelectOnly(-1);
    // Highest first, so that the rows still to go keep their numbers.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        pDoc->RemoveAt(*it);
    ShowList(pDoc->GetListKind(), pDoc->GetSource());
    UpdateCounters();
}

void CZelDorvaneView::OnTrim() {
    CWaitCursor wait;
    CZelDorvaneDoc* pDoc = GetDocument();
    std::vector<int> others;
    for (int row = 0; row < pDoc->GetRecordingCount(); ++row) {
        if (!IsItemSelected(row))
            others.push_back(row);
    }
    SelectOnly(-1);
    for (auto it = others.rbegin(); it != others.rend(); ++it)
        pDoc->RemoveAt(*it);
    ShowList(pDoc->GetListKind(), pDoc->GetSource());
    UpdateCounters();
}

void CZelDorvaneView::OnMark() {
    OnMarkImportant(1);
}

void CZelDorvaneView::OnUnmark() {
    OnMarkImportant(0);
}

void CZelDorvaneView::OnMarkImportant(int flag) {
    CWaitCursor wait;
    const std::vector<CKWString> paths = GetSelectedPaths();
    if (paths.empty())
        return;
    CZelDorvaneDoc* pDoc = GetDocument();
    const HWND hWnd = m_hWnd;
    CString failed;
    // Writes the mark into the file, then into the row, which is looked up by
    // its path: the messages pumped in between may have moved or removed it.
    auto mark = [&](const CKWString& path) {
        if (pDoc->FindRecording(path) < 0)
            return;
        if (!WriteRecordingHeader(path,
                                  [flag](CKWRecordFile& record) { record.SetImportant(flag); })) {
            if (failed.IsEmpty())
                failed = static_cast<const char*>(path);
            return;
        }
        const int row = pDoc->FindRecording(path);
        pDoc->SetRecordingImportant(row, flag);
        pDoc->GetRecording(row)->m_important = flag;
        m_list.RedrawItems(row, row);
        PostRecordingChanged(flag ? 0 : 1, path);
    };
    if (paths.size() == 1) {
        mark(paths.front());
        if (failed.IsEmpty()) {
            if (CPlayerForm* pPlayer = GetPlayerForm())
                pPlayer->RefreshImportantFlag();
        }
    } else {
        ++m_busy;
        for (const CKWString& path : paths) {
            if (!PumpPending(hWnd, this))
                return;
            mark(path);
        }
        --m_busy;
    }
    UpdateCounters();
    if (!failed.IsEmpty())
        ReportHeaderWriteFailure(failed);
}

void CZelDorvaneView::OnAnnotate() {
    if (GetSelectedCount() != 1)
        return;
    CZelDorvaneDoc* pDoc = GetDocument();
    const CScoredFileListEntry* pEntry = pDoc->GetRecording(GetFirstSelected());
    if (pEntry == nullptr)
        return;
    const CKWString path = pEntry->GetPath();
    CString comment;
    if (!ReadRecordingComment(path, comment)) {
        ReportHeaderWriteFailure(path);
        return;
    }
    CAnnotateDlg dlg;
    dlg.SetComment(comment);
    const HWND hWnd = m_hWnd;
    if (dlg.DoModal() != IDOK || !IsViewAlive(hWnd, this))
        return;
    // The dialog's loop ran everything else meanwhile: find the row again.
    const int row = pDoc->FindRecording(path);
    if (row < 0)
        return;
    const CString text = dlg.GetComment().Left(kCommentLength);
    if (!WriteRecordingHeader(
            path, [&text](CKWRecordFile& record) { record.SetComment(text.GetString()); })) {
        ReportHeaderWriteFailure(path);
        return;
    }
    pDoc->GetRecording(row)->SetComment(text.GetString());
    m_list.RedrawItems(row, row);
    if (CPlayerForm* pPlayer = GetPlayerForm())
        pPlayer->RefreshCommentFlag();
}

void CZelDorvaneView::OnRefresh() {
    CZelDorvaneDoc* pDoc = GetDocument();
    const SearchCriteria* pCriteria = pDoc->GetSearchCriteria();
    // A list that came from a search is searched again by the frame; one whose
    // criteria name no source (pasted, dropped files) has nothing to repeat and
    // rereads its headers instead.
    if (pDoc->IsReusable() && pCriteria->GetSize() > 0) {
        SearchCriteria* pCopy = new SearchCriteria(*pCriteria);
        SelectOnly(0);
        CWnd* pMain = AfxGetMainWnd();
        if (pMain == nullptr ||
            !::PostMessageA(pMain->m_hWnd, WM_RESCAN_FOLDERS, reinterpret_cast<WPARAM>(pCopy),
                            reinterpret_cast<LPARAM>(pDoc)))
            delete pCopy;
        return;
    }
    CWaitCursor wait;
    m_list.SetItemCount(0);
    const CString passphrase = Passphrase();
    for (int row = 0; row < pDoc->GetRecordingCount(); ++row) {
        CScoredFileListEntry* pEntry = pDoc->GetRecording(row);
        // The important count follows a mark that changed in the file.
        const int32_t before = pEntry->m_important;
        pEntry->LoadHeader(passphrase);
        const int32_t now = pEntry->m_important;
        pEntry->m_important = before;
        pDoc->SetRecordingImportant(row, now);
        pEntry->m_important = now;
    }
    ShowList(pDoc->GetListKind(), pDoc->GetSource());
    UpdateCallScoreColumns();
}

// ---------------------------------------------------------------------------
// Finding calls

void CZelDorvaneView::OnSearchInList() {
    if (GetDocument()->GetRecordingCount() == 0)
        return;
    CSearchDlg dlg;
    const HWND hWnd = m_hWnd;
    if (dlg.DoModal() != IDOK || !IsViewAlive(hWnd, this))
        return;
    CString text = dlg.GetSearchText();
    text.MakeUpper();
    if (text.IsEmpty())
        return;
    if (text[0] != '*')
        text = "*" + text;
    if (text[text.GetLength() - 1] != '*')
        text += "*";
    SearchInList(CKWString(text.GetString()), dlg.GetSearchIn(), dlg.GetDirection());
}

void CZelDorvaneView::SearchInList(const CKWString& pattern, int field, int direction) {
    if (field < CSearchDlg::kInUserId || field > CSearchDlg::kInAll) {
        KWTRACE(("Unsupported search type %d\n", field));
        return;
    }
    CZelDorvaneDoc* pDoc = GetDocument();
    std::vector<int> matches;
    for (int row = 0; row < pDoc->GetRecordingCount(); ++row) {
        const CScoredFileListEntry* pEntry = pDoc->GetRecording(row);
        const char* callerId = pEntry->GetCallerId();
        // Incoming calls carry '>' before the number, outgoing ones '<'.
        if (direction == CSearchDlg::kDirectionIncoming && callerId[0] != '>')
            continue;
        if (direction == CSearchDlg::kDirectionOutgoing &&
            (callerId[0] != '<' || std::strchr(callerId + 1, '>') != nullptr))
            continue;
        const bool userId = (field == CSearchDlg::kInUserId || field == CSearchDlg::kInAll) &&
                            MatchesUpper(pattern, pEntry->GetUserId());
        const bool caller = (field == CSearchDlg::kInCallerId || field == CSearchDlg::kInAll) &&
                            MatchesUpper(pattern, callerId);
        const bool comment = (field == CSearchDlg::kInComment || field == CSearchDlg::kInAll) &&
                             MatchesUpper(pattern, pEntry->GetComment());
        if (userId || caller || comment)
            matches.push_back(row);
    }
    if (matches.empty())
        return;
    CZelDorvaneView* pView = OpenNewListView();
    if (pView == nullptr)
        return;
    CZelDorvaneDoc* pFound = pView->GetDocument();
    for (auto it = matches.rbegin(); it != matches.rend(); ++it)
        pFound->AddRecording(pDoc->GetRecording(*it), FALSE);
    pView->ShowList(pFound->GetListKind(), pFound->GetSource());
}

void CZelDorvaneView::OnLongestCalls() {
    for (CZelDorvaneView* pView : GetListViews()) {
        if (pView->GetDocument()->GetListKind() == CZelDorvaneDoc::kLongestCalls) {
            if (CFrameWnd* pFrame = pView->GetParentFrame())
                pFrame->ActivateFrame();
            return;
        }
    }
    CZelDorvaneDoc* pDoc = GetDocument();
    const CScoredFileListEntry* pFirst = pDoc->GetRecording(GetFirstSelected());
    if (pFirst == nullptr)
        return;
    const CKWString userId = pFirst->GetUserId();
    std::vector<CScoredFileListEntry*> calls;
    for (int row = 0; row < pDoc->GetRecordingCount(); ++row) {
        CScoredFileListEntry* pEntry = pDoc->GetRecording(row);
        if (std::strcmp(pEntry->GetUserId(), userId) == 0)
            calls.push_back(pEntry);
    }
    std::stable_sort(calls.begin(), calls.end(),
                     [](const CScoredFileListEntry* a, const CScoredFileListEntry* b) {
                         return a->GetDuration() > b->GetDuration();
                     });
    CZelDorvaneView* pView = OpenNewListView();
    if (pView == nullptr)
        return;
    pView->SetDescription(CString(static_cast<const char*>(userId)));
    CZelDorvaneDoc* pLongest = pView->GetDocument();
    const size_t count = std::min<size_t>(calls.size(), kLongestCallsCount);
    for (size_t i = 0; i < count; ++i)
        pLongest->AddRecording(calls[i], FALSE);
    pView->ShowList(CZelDorvaneDoc::kLongestCalls, CKWString());
    pLongest->SetModifiedFlag(FALSE);
}

void CZelDorvaneView::LoadAndPlay(CScoredFileListEntry* pEntry) {
    if (pEntry == nullptr)
        return;
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    CPlayerForm* pPlayer = GetPlayerForm();
    if (pEngine->IsLoaded()) {
        pEngine->Unload();
        if (pPlayer != nullptr) {
            pPlayer->Stop();
            pPlayer->Eject();
        }
    }
    // The player shows only what actually loaded.
    if (!pEngine->Load(pEntry->GetPath())) {
        if (pPlayer != nullptr)
            pPlayer->Eject();
        return;
    }
    if (pPlayer != nullptr)
        pPlayer->UpdateFromPlayback();
    if (!pEngine->IsReadyToPlay())
        return;
    if (pPlayer != nullptr)
        pPlayer->Play();
    pEngine->Start(TRUE, FALSE);
}

// ---------------------------------------------------------------------------
// Scoring

namespace {

// The scoring dialog while one runs. There is one for the whole program: the
// main window stays usable while it is open, so another list could ask again.
CScoreCallDlg* s_pOpenScoreDlg = nullptr;

} // namespace

void CZelDorvaneView::OnScoreCommand() {
    OnScore(FALSE);
}

void CZelDorvaneView::OnScorePlayMode() {
    OnScore(TRUE);
}

void CZelDorvaneView::OnUpdateScorePlayMode(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}

void CZelDorvaneView::OnScore(BOOL playMode) {
    if (s_pOpenScoreDlg != nullptr) {
        if (s_pOpenScoreDlg->GetSafeHwnd() != nullptr)
            s_pOpenScoreDlg->SetForegroundWindow();
        return;
    }
    CScoreCallDlg dialog(this);
    s_pOpenScoreDlg = &dialog;
    const HWND hWnd = m_hWnd;
    // The list may change while the dialog is open: each row is looked up by
    // its path when its turn comes, and a row that went is passed over.
    const std::vector<CKWString> paths = GetSelectedPaths();
    INT_PTR result = IDOK;
    CKWString last;
    // False when the view went while the dialog was open.
    auto score = [&](const CKWString& path) {
        const int row = GetDocument()->FindRecording(path);
        if (row < 0)
            return true;
        if (playMode) {
            SelectOnly(row);
            LoadAndPlay(GetDocument()->GetRecording(row));
        }
        dialog.SetRecording(GetDocument()->GetRecording(row));
        result = dialog.DoModal();
        last = path;
        return IsViewAlive(hWnd, this);
    };
    for (const CKWString& path : paths) {
        if (result != IDOK)
            break;
        if (!score(path)) {
            s_pOpenScoreDlg = nullptr;
            return;
        }
    }
    if (playMode) {
        CZelDorvaneDoc* pDoc = GetDocument();
        int next = last.IsEmpty() ? 1 : pDoc->FindRecording(last) + 1;
        while (result == IDOK && next > 0 && next < pDoc->GetRecordingCount()) {
            if (!score(pDoc->GetRecording(next)->GetPath())) {
                s_pOpenScoreDlg = nullptr;
                return;
            }
            next = pDoc->FindRecording(last) + 1;
        }
    }
    s_pOpenScoreDlg = nullptr;
    UpdateCounters();
}

void CZelDorvaneView::RefreshScoredRecording(const char* path) {
    for (CZelDorvaneView* pView : GetListViews()) {
        CZelDorvaneDoc* pDoc = pView->GetDocument();
        const int row = pDoc != nullptr ? pDoc->FindRecording(path) : -1;
        if (row < 0)
            continue;
        CScoredFileListEntry* pEntry = pDoc->GetRecording(row);
        const bool wasScored = pEntry->GetScoreCount() > 0;
        pEntry->ClearScores();
        pEntry->LoadScores(TRUE);
        const bool isScored = pEntry->GetScoreCount() > 0;
        if (wasScored != isScored)
            pDoc->IncrementScoredCount(isScored ? 1 : -1);
        pDoc->SetRecordingImportant(row, 1);
        pEntry->m_important = 1;
        if (pView->GetSafeHwnd() != nullptr) {
            pView->m_list.RedrawItems(row, row);
            pView->UpdateCounters();
        }
    }
}

void CZelDorvaneView::OnScoreForms() {
    if (CPlaybackManager::GetInstance()->IsPlaying()) {
        OnScore(TRUE);
        return;
    }
    CManageCallScoreForms dialog(this);
    dialog.DoModal();
}

// ---------------------------------------------------------------------------
// Export and e-mail

void CZelDorvaneView::ShowExportPopup(UINT nButton, int popup) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_EXPORT_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(popup);
    HWND hButton = ::GetDlgItem(m_hWnd, static_cast<int>(nButton));
    if (pPopup == nullptr || hButton == nullptr)
        return;
    CRect rect;
    ::GetWindowRect(hButton, &rect);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, rect.left, rect.bottom, this);
}

void CZelDorvaneView::OnExportMenuCommand(UINT nID) {
    CZELRecordFile* pRecord = GetExportRecording(this);
    if (pRecord == nullptr)
        return;
    CWaitCursor wait;
    switch (nID) {
    case ID_EXPORT_WAV_FULL:
        pRecord->SaveAsWavDlg();
        return;
    case ID_EXPORT_ZEL_FULL:
        pRecord->SaveAsZelDlg();
        return;
    case ID_EMAIL_WAV_FULL:
        pRecord->EmailAsWav();
        return;
    case ID_EMAIL_ZEL_FULL: {
        CBookmarkRecordFile copy(pRecord);
        copy.Email(pRecord->GetPath(), false);
        return;
    }
    default:
        break;
    }
    // The bookmark area alone, from a copy cut to it.
    CBookmarkRecordFile copy(pRecord);
    copy.CropToBookmark();
    switch (nID) {
    case ID_EXPORT_WAV_BOOKMARK:
        copy.SaveAsWavDlg();
        break;
    case ID_EXPORT_ZEL_BOOKMARK:
        copy.SaveAsZelDlg();
        break;
    case ID_EMAIL_WAV_BOOKMARK:
        copy.EmailAsWav();
        break;
    case ID_EMAIL_ZEL_BOOKMARK: {
        const CString path = copy.MakeTempPath(".zel");
        if (copy.SaveAsZel(path))
            copy.Email(path, true);
        break;
    }
    default:
        break;
    }
}

void CZelDorvaneView::OnEmailWav() {
    if (OffersBookmarkChoice(this)) {
        ShowExportPopup(IDC_EMAIL_WAV, 2);
        return;
    }
    if (GetSelectedCount() != 1)
        return;
    if (CZELRecordFile* pRecord = GetExportRecording(this)) {
        CWaitCursor wait;
        pRecord->EmailAsWav();
    }
}

void CZelDorvaneView::OnEmailZel() {
    if (OffersBookmarkChoice(this)) {
        ShowExportPopup(IDC_EMAIL_ZEL, 3);
        return;
    }
    const std::vector<CKWString> paths = GetSelectedPaths();
    if (paths.empty())
        return;
    CWaitCursor wait;
    CMapiMail mail;
    const HWND hWnd = m_hWnd;
    for (const CKWString& path : paths) {
        if (!PumpPending(hWnd, this))
            return;
        mail.AddAttachment(path);
    }
    mail.SetSubject(LoadText(IDS_MAIL_SUBJECT));
    mail.SetBody(LoadText(IDS_MAIL_BODY) + " " + LoadText(IDS_PLAYER_URL));
    mail.Send(MAPI_DIALOG);
}

void CZelDorvaneView::OnExportWav() {
    if (OffersBookmarkChoice(this)) {
        ShowExportPopup(IDC_EXPORT_WAV, 0);
        return;
    }
    if (GetSelectedCount() >= 2) {
        BulkExport(true);
        return;
    }
    if (CZELRecordFile* pRecord = GetExportRecording(this))
        pRecord->SaveAsWavDlg();
}

void CZelDorvaneView::OnExportZel() {
    if (OffersBookmarkChoice(this)) {
        ShowExportPopup(IDC_EXPORT_ZEL, 1);
        return;
    }
    if (GetSelectedCount() >= 2) {
        BulkExport(false);
        return;
    }
    if (CZELRecordFile* pRecord = GetExportRecording(this))
        pRecord->SaveAsZelDlg();
}

void CZelDorvaneView::BulkExport(bool wav) {
    if (m_exportBusy)
        return;
    CDirDialog dlg;
    dlg.m_strTitle = LoadText(wav ? IDS_EXPORT_WAV_FOLDER : IDS_EXPORT_ZEL_FOLDER);
    m_exportBusy = 1;
    const HWND hWnd = m_hWnd;
    // The browser has no owner window, so the view may go while it is open.
    const int chosen = dlg.DoBrowse();
    if (!IsViewAlive(hWnd, this))
        return;
    m_exportBusy = 0;
    if (chosen == 1)
        ExportSelectedTo(dlg.m_strSelDir, wav);
}

CString CZelDorvaneView::MakeExportPath(const CString& folder, const char* sourcePath,
                                        const char* extension) {
    CString name(sourcePath);
    const int separator = std::max(name.ReverseFind('\\'), name.ReverseFind('/'));
    name = name.Mid(separator + 1);
    // A leading dot names the file ("\.zel"), it starts no extension.
    const int dot = name.ReverseFind('.');
    if (dot > 0)
        name = name.Left(dot);
    CString stem = folder;
    if (!stem.IsEmpty() && stem[stem.GetLength() - 1] != '\\' && stem[stem.GetLength() - 1] != '/')
        stem += '\\';
    stem += name;
    CString target = stem + extension;
    for (int n = 2; ::GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES; ++n)
        target.Format("%s (%d)%s", stem.GetString(), n, extension);
    return target;
}

void CZelDorvaneView::ExportSelectedTo(const CString& folder, bool wav) {
    if (m_exportBusy)
        return;
    const std::vector<CKWString> paths = GetSelectedPaths();
    if (paths.empty())
        return;
    CZelDorvaneDoc* pDoc = GetDocument();
    const HWND hWnd = m_hWnd;
    const int count = static_cast<int>(paths.size());
    m_exportBusy = 1;
    ++m_busy;
    DestroyProgress(m_pProgress);
    m_pProgress = MakeBulkProgress(IDS_EXPORTING, count);
    if (!IsViewAlive(hWnd, this))
        return;
    CKWRecordFile record; // one for every WAV, reloaded for each
    for (int i = 0; i < count; ++i) {
        if (!IsProgressUp(m_pProgress))
            break;
        if (!PumpPending(hWnd, this))
            return;
        const CKWString& source = paths[static_cast<size_t>(i)];
        if (pDoc->FindRecording(source) < 0)
            continue; // no longer listed
        const CString target = MakeExportPath(folder, source, wav ? ".wav" : ".zel");
        if (IsProgressUp(m_pProgress)) {
            CString text;
            text.Format(IDS_EXPORTING, i + 1, count);
            m_pProgress->SetMessageText(text);
            m_pProgress->SetProgressPos(i + 1);
            m_pProgress->PumpMessages(TRUE);
            if (!IsViewAlive(hWnd, this))
                return;
        }
        // The target was free a moment ago; still, nothing is ever replaced.
        const bool exported = wav ? record.LoadAndWait(source) &&
                                        ::GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES &&
                                        record.SaveAsWav(target, false)
                                  : ::CopyFileA(source, target, TRUE) != FALSE;
        if (!exported) {
            DestroyProgress(m_pProgress);
            AfxMessageBox(IDS_EXPORT_FAILED, MB_OK | MB_ICONEXCLAMATION);
            if (!IsViewAlive(hWnd, this))
                return;
            break;
        }
    }
    DestroyProgress(m_pProgress);
    --m_busy;
    m_exportBusy = 0;
}

// ---------------------------------------------------------------------------
// Delete

void CZelDorvaneView::OnDeleteRecordings() {
    const std::vector<CKWString> paths = GetSelectedPaths();
    if (paths.empty()) {
        UpdateCounters();
        return;
    }
    if (CSettings::GetInstance()->IsDeleteDisabled())
        return;
    const int count = static_cast<int>(paths.size());
    CString question;
    question.Format(IDS_ASK_DELETE, count);
    const HWND hWnd = m_hWnd;
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES || !IsViewAlive(hWnd, this))
        return;
    CZelDorvaneDoc* pDoc = GetDocument();
    // Busy before the progress window first pumps: a watcher change taken
    // there must wait, not start a search under this command.
    ++m_busy;
    DestroyProgress(m_pProgress);
    if (count > 1)
        m_pProgress = MakeBulkProgress(IDS_DELETING, count);
    if (!IsViewAlive(hWnd, this))
        return;
    int handled = 0;
    // Highest row first, so that the rows still to go keep their numbers.
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        if (!PumpPending(hWnd, this))
            return;
        if (m_pProgress != nullptr && !IsProgressUp(m_pProgress))
            break; // cancelled
        const int row = pDoc->FindRecording(*it);
        if (row < 0)
            continue; // no longer listed
        ++handled;
        const bool deleted = RecycleRegularFile(*it);
        if (IsProgressUp(m_pProgress)) {
            CString text;
            text.Format(IDS_DELETING, handled, count);
            m_pProgress->SetMessageText(text);
            m_pProgress->SetProgressPos(handled);
        }
        if (!deleted) {
            // The row stays: its file is still there.
            DestroyProgress(m_pProgress);
            AfxMessageBox(IDS_DELETE_FAILED, MB_OK | MB_ICONEXCLAMATION);
            if (!IsViewAlive(hWnd, this))
                return;
            break;
        }
        PostRecordingChanged(2, *it);
        pDoc->RemoveAt(row);
        // Without its focus too: a focused row would be loaded as a new choice.
        m_list.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    --m_busy;
    DestroyProgress(m_pProgress);
    if (pDoc->GetRecordingCount() == 0) {
        CPlaybackManager::GetInstance()->Unload();
        if (CPlayerForm* pPlayer = GetPlayerForm())
            pPlayer->Eject();
    } else {
        m_list.SetFocus();
        m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_list.SetItemCount(pDoc->GetRecordingCount());
    UpdateButtons();
    UpdateCounters();
}

// ---------------------------------------------------------------------------
// Menus

void CZelDorvaneView::OnContextMenu(CWnd* pWnd, CPoint) {
    if (pWnd == nullptr || pWnd->m_hWnd != m_list.m_hWnd)
        return;
    CMenu menu;
    if (!menu.LoadMenu(IDR_CALLLIST_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return;
    UpdatePopupItems(pPopup, this);
    if (GetSelectedCount() == 0) {
        GrayItems(pPopup, {ID_LIST_PLAY, ID_SCORE, ID_SCORE_PLAY_MODE, ID_LIST_COPY, ID_LIST_REMOVE,
                           ID_LIST_TRIM, ID_LIST_MARK, ID_LIST_UNMARK, ID_LIST_DELETE});
        DisableAllButtons();
    }
    if (GetDocument()->GetRecordingCount() == 0)
        GrayItems(pPopup, {ID_LIST_SELECT_ALL, ID_LIST_MARK, ID_LIST_UNMARK, ID_LIST_DELETE,
                           ID_LIST_REMOVE, ID_LIST_TRIM});
    if (CSettings::GetInstance()->IsDeleteDisabled())
        GrayItems(pPopup, {ID_LIST_DELETE});
    if (!::IsClipboardFormatAvailable(CF_HDROP))
        GrayItems(pPopup, {ID_LIST_PASTE});
    CPoint point;
    ::GetCursorPos(&point);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CZelDorvaneView::OnArchiveMenu() {
    CMenu menu;
    if (!menu.LoadMenu(IDR_ARCHIVE_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    HWND hButton = ::GetDlgItem(m_hWnd, IDC_ARCHIVE_MENU);
    if (pPopup == nullptr || hButton == nullptr)
        return;
    UpdatePopupItems(pPopup, this);
    CRect rect;
    ::GetWindowRect(hButton, &rect);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, rect.left, rect.bottom, this);
}

BOOL CZelDorvaneView::OnForwardToFrame(UINT nID) {
    // The frame routes the command to its active view first, which may be this
    // one: the second pass answers "not handled", so the frame's own handler runs.
    CWnd* pMain = AfxGetMainWnd();
    if (m_forwarding || pMain == nullptr)
        return FALSE;
    m_forwarding = 1;
    const HWND hWnd = m_hWnd;
    pMain->SendMessage(WM_COMMAND, MAKEWPARAM(nID, GetDlgCtrlID()), 0);
    if (IsViewAlive(hWnd, this))
        m_forwarding = 0;
    return TRUE;
}

void CZelDorvaneView::OnUpdateNeedsList(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetDocument()->GetRecordingCount() > 0);
}

// The reports and archiving come with features of their own: until
// then their commands have no handler here and OnUpdateUnavailable shows them
// disabled wherever the view's menus offer them.
void CZelDorvaneView::OnUpdateUnavailable(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

// ---------------------------------------------------------------------------
// Messages of the list control

LRESULT CZelDorvaneView::OnAddRecording(WPARAM, LPARAM lParam) {
    CPlaybackManager::GetInstance()->Unload();
    if (CPlayerForm* pPlayer = GetPlayerForm())
        pPlayer->Eject();
    CScoredFileListEntry* pEntry = reinterpret_cast<CScoredFileListEntry*>(lParam);
    if (pEntry != nullptr && !GetDocument()->AddRecording(pEntry, TRUE))
        delete pEntry;
    return 1;
}

LRESULT CZelDorvaneView::OnBeginDrag(WPARAM, LPARAM) {
    HGLOBAL hBlock = MakeFileListBlock(GetSelectedPaths());
    if (hBlock == nullptr)
        return 1;
    COleDataSource source;
    if (!source.CacheGlobalData(CF_HDROP, hBlock)) {
        ::GlobalFree(hBlock);
        return 1;
    }
    source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    return 1;
}

LRESULT CZelDorvaneView::OnCellEdited(WPARAM, LPARAM lParam) {
    const NMLVDISPINFOA* pInfo = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
    if (GetFirstSelected() < 0 || pInfo == nullptr || pInfo->item.pszText == nullptr)
        return 1;
    CZelDorvaneDoc* pDoc = GetDocument();
    const int row = pInfo->item.iItem;
    CScoredFileListEntry* pEntry = pDoc->GetRecording(row);
    if (pEntry == nullptr)
        return 1;
    const CString text = CString(pInfo->item.pszText).Left(kCallerIdLength);
    // The same text changes nothing: neither the list nor the file.
    if (text == pEntry->GetCallerId())
        return 1;
    pDoc->SetModifiedFlag();
    pEntry->SetCallerId(text.GetString());
    m_list.SetItemToolTipText(row, 3, text.GetString());
    if (!WriteRecordingHeader(pEntry->GetPath(), [&text](CKWRecordFile& record) {
            record.SetCallerId(text.GetString());
        }))
        ReportHeaderWriteFailure(pEntry->GetPath());
    return 1;
}
