// ZelDorvaneView.h: CZelDorvaneView, the call-list view of a recording list: a
// form with a caption, fifteen image buttons, the call list and its counters.
// ZelDorvaneView.cpp shows the list (columns, cells, selection, activation),
// ZelDorvaneViewCommands.cpp holds the commands on listed recordings, and
// ZelDorvaneViewWatch.cpp the folder watcher and the folder search.
#pragma once

#include "ButtonST.h"
#include "CallDetailsCtrl.h"
#include "ImageList.h"
#include "KWArray.h"
#include "KWString.h"
#include "OXLayoutManager.h"
#include "Static.h"
#include "View.h"

#include <atomic>
#include <vector>

class CProgressWnd;
class CScoredFileListEntry;
class CZelDorvaneDoc;
struct SearchCriteria;

class CZelDorvaneView : public CFormView {
    DECLARE_DYNCREATE(CZelDorvaneView)
public:
    enum { kButtonCount = 15 };

    CZelDorvaneView();
    ~CZelDorvaneView() override;

    CZelDorvaneDoc* GetDocument() const;
    CCallDetailsCtrl& GetList() { return m_list; }

    void ShowList(int kind, const CKWString& source);
    void UpdateCallScoreColumns();
    void UpdateButtons();
    void DisableAllButtons();
    void UpdateCounters();
    int GetSelectedCount() const;
    int IsItemSelected(int row) const;
    int GetFirstSelected() const;
    void SelectOnly(int row);
    // The paths of the selected rows, in row order.
    std::vector<CKWString> GetSelectedPaths() const;

    void OnRecordingMarked(const char* path, int flag);
    void OnRecordingDeleted(const char* path);
    void OnBookmarkChanged(const char* path, int start, int end);

    // Commands (ZelDorvaneViewCommands.cpp); the frame calls the first five.
    void OnPlay();
    void OnCopy();
    void OnPaste();
    void OnRemove();
    void OnTrim();
    void OnRefresh();
    void OnMarkImportant(int flag);
    void OnDeleteRecordings();
    void OnAnnotate();
    void OnSearchInList();
    void SearchInList(const CKWString& pattern, int field, int direction);
    void OnLongestCalls();
    void LoadAndPlay(CScoredFileListEntry* pEntry);
    // Scores the selected recordings one after another in the scoring dialog;
    // in play mode each is played first and the rows below follow while the
    // user goes on saving.
    void OnScore(BOOL playMode);
    // After a recording's scores were saved: every open list's entry of that
    // path reads its scores again and is marked important; rows and counters
    // are redrawn.
    static void RefreshScoredRecording(const char* path);
    // Adds these recordings (in this order) to the list as a paste does.
    void AddPaths(const std::vector<CKWString>& paths);
    // True while a bulk operation works through its recordings; the folder
    // watcher holds its changes back until it ends.
    bool IsBusy() const { return m_busy != 0; }
    // Exports the selected recordings into the folder under a progress window,
    // as WAV files (wav) or as copies; an existing file is never replaced.
    void ExportSelectedTo(const CString& folder, bool wav);
    // folder + the source's base name + extension, with " (2)", " (3)" ...
    // before the extension while that file exists.
    static CString MakeExportPath(const CString& folder, const char* sourcePath,
                                  const char* extension);

    CString GetDescription() const { return m_description; }
    void SetDescription(const CString& text) { m_description = text; }

protected:
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // ZelDorvaneView.cpp
    void InsertColumns();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnSortColumn(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResort(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();

    // ZelDorvaneViewCommands.cpp
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnPlayButton();
    afx_msg void OnSelectAll();
    afx_msg void OnMark();
    afx_msg void OnUnmark();
    afx_msg void OnEmailWav();
    afx_msg void OnEmailZel();
    afx_msg void OnExportWav();
    afx_msg void OnExportZel();
    afx_msg void OnExportMenuCommand(UINT nID);
    afx_msg void OnArchiveMenu();
    afx_msg void OnScoreCommand();
    afx_msg void OnScorePlayMode();
    afx_msg void OnScoreForms();
    afx_msg void OnUpdateScorePlayMode(CCmdUI* pCmdUI);
    afx_msg BOOL OnForwardToFrame(UINT nID); // ON_COMMAND_EX_RANGE: FALSE routes on
    afx_msg void OnUpdateNeedsList(CCmdUI* pCmdUI);
    afx_msg void OnUpdateUnavailable(CCmdUI* pCmdUI);
    afx_msg LRESULT OnAddRecording(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBeginDrag(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCellEdited(WPARAM wParam, LPARAM lParam);
    void BulkExport(bool wav);
    void ShowExportPopup(UINT nButton, int popup);

    // ZelDorvaneViewWatch.cpp
    afx_msg LRESULT OnSearchFolders(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWatcherChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnWatcherButton();
    // Ends the watcher thread (joined) and a folder search of this view.
    void StopWatcher();
    static DWORD WINAPI FolderWatcherProc(void* pView);
    bool StartFolderSearch(const CKWArray<CKWString>& folders, bool fromWatcher);
    void EndFolderSearch(bool found);
    void RunWatcherChange();
    CString GetWatchedFolder();

    CButtonST m_buttons[kButtonCount]; // in the order of kButtonIds
    static const UINT kButtonIds[kButtonCount];
    CCallDetailsCtrl m_list;
    CStatic m_kindIcon;
    CBrush m_whiteBrush;
    CImageList m_cellImages;
    int m_sortColumn;
    int m_sortDescending;
    COXLayoutManager m_layout;
    int m_exportBusy;
    CProgressWnd* m_pProgress;
    UINT_PTR m_searchTimer;
    HANDLE m_watcherThread;
    HANDLE m_watcherStop;   // set to end the watcher thread
    HANDLE m_watcherResume; // set while the watcher may run
    int m_forwarding;
    CString m_description;
    std::atomic<int> m_closing;
    HANDLE m_searchFinished; // manual reset; signalled while no folder search runs
    int m_busy;              // a bulk operation works through its recordings
    bool m_watcherPending;   // a watcher change arrived while busy
    CFont m_captionFont;
    // ZelDorvaneViewWatch.cpp: the watcher thread reads the folder it watches
    // under the lock; after each change it posts it waits for m_watcherHandled
    // (the view has taken the change), so at most one waits in the queue.
    HANDLE m_watcherHandled = nullptr; // auto reset
    SRWLOCK m_watchLock = SRWLOCK_INIT;
    CString m_watchedFolder;
    bool m_watcherSearch = false; // the running folder search answers a watcher change

    DECLARE_MESSAGE_MAP()
};
