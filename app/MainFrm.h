// MainFrm.h: CMainFrame, the application's main MDI frame: the menu bar and
// bitmap menus, the Access Panel on the left, the Player Panel at the bottom,
// tabs over the list windows. It runs searches under a progress window, takes
// the private messages by which the other windows report changes, and hands
// finished wave-out buffers to the playback engine.
// MainFrm.cpp: creation, timers, searches, messages; MainFrmCommands.cpp: the
// frame's commands and their states.
#pragma once

#include "CallListHost.h"
#include "MDIFrameWnd.h"
#include "OXBitmapMenuOrganizer.h"
#include "OXMenuBarFrame.h"
#include "OXSizeDockBar.h"
#include "OXTabClientWnd.h"
#include "OutlookBar.h"
#include "PlayerBar.h"
#include "SearchCriteria.h"

#include <functional>
#include <vector>

class CPlayerForm;
class CProgressWnd;
class CZelDorvaneDoc;
class CZelDorvaneView;

class CMainFrame : public COXMenuBarFrame<CMDIFrameWnd, COXSizeDockBar>, public ICallListHost {
    DECLARE_DYNAMIC(CMainFrame)
public:
    // Scheduled archiving comes with the archiving itself, which sets these
    // once at start-up; until then nothing is scheduled and the frame's
    // archiving commands stay disabled. Every member may be null.
    struct SArchiveHooks {
        // Reads the schedule and the archive log, at the frame's creation.
        void (*load)();
        // True with the next run's time (seconds since 1970) while the
        // scheduler is enabled.
        bool (*nextRun)(LONG& when);
        // Run Scheduled Now, also when timer 3 comes due.
        void (*runScheduled)(CMainFrame* pFrame);
        // Frees the archiving engines, at the frame's destruction.
        void (*release)();
    };
    static void SetArchiveHooks(const SArchiveHooks& hooks);
    // Timer 3's period for a run due at next, seen at now: the time left, or a
    // minute when the run is due already; never more than kMaxTimerStepMs,
    // after which the timer is simply armed again.
    static UINT ArchiveTimerDelay(LONG now, LONG next);
    static const UINT kMaxTimerStepMs = 24u * 24 * 3600 * 1000;
    bool IsArchiveTimerSet() const { return m_archiveTimer != 0; }

    CMainFrame();
    ~CMainFrame() override;

    CZelDorvaneView* GetActiveListView();
    CZelDorvaneDoc* GetActiveListDocument();
    CPlayerForm* GetPlayerForm() const { return m_pPlayerForm; }
    void SetPlayerForm(CPlayerForm* pForm) { m_pPlayerForm = pForm; }
    COutlookBar& GetAccessPanel() { return m_wndAccessPanel; }
    CPlayerBar& GetPlayerPanel() { return m_wndPlayerPanel; }
    void FitPlayerPanel();
    void ScheduleArchiveTimer();
    // Starts a search under the progress window. bNewWindow opens an empty list
    // window first; a target document receives the results when it is still
    // open (a rescan), else the usual rules choose the window. False when the
    // search could not start (another one runs, or nothing was found).
    bool StartSearch(const SearchCriteria& criteria, bool bNewWindow, CZelDorvaneDoc* pTarget);
    bool IsSearching() const { return m_searchTimer != 0; }
    void OnSearchFinished();
    // Calls fn for the active view of every list window, the active one first.
    void ForEachListView(const std::function<void(CZelDorvaneView*)>& fn);
    // True while pDoc is the document of an open list window.
    bool IsOpenDocument(CZelDorvaneDoc* pDoc);
    // The progress window of the running search, null when none runs.
    CProgressWnd* GetSearchProgress() const { return m_pProgress; }

    // ICallListHost
    void PlayLoadedRecording() override;
    void OpenRecordingList(const CKWArray<CKWString>& paths) override;

    // Also finds the player form: while the frame loads it is nobody's main
    // window yet, so the form cannot find the frame by itself.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The keys that edit text (Delete, copy and paste) stay with an edit box
    // that has the focus instead of acting on the list through the frame's
    // accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The text of the refusal while a search runs.
    static const char kSearchRunningText[];

protected:
    // The open-file dialog of Append and of the phone-book import: TRUE with
    // the chosen path. A test puts its own choice here.
    virtual BOOL PromptForOpenFile(LPCTSTR lpszDefExt, LPCTSTR lpszFilter, CString& strPath);

private:
    // (members and handlers: added by the family's owner, in this order first)
    COXBitmapMenuOrganizer m_menuOrganizer;
    COXTabClientWnd m_mdiTabs;
    COutlookBar m_wndAccessPanel;
    CPlayerBar m_wndPlayerPanel;
    CPlayerForm* m_pPlayerForm = nullptr;
    UINT_PTR m_searchTimer = 0;
    int m_showHistoryAtStart = 0;
    CProgressWnd* m_pProgress = nullptr;
    UINT_PTR m_archiveTimer = 0;
    // The document a running search fills (a rescan's, or the window opened
    // for it); only while m_bSearchHasTarget. Checked with IsOpenDocument
    // before use: the user may close that window meanwhile.
    CZelDorvaneDoc* m_pSearchTarget = nullptr;
    bool m_bSearchHasTarget = false;
    bool m_bInSearchTimer = false; // the timer pumps messages, and so may meet itself
    // The menu icons, loaded once; the organizer draws them but does not own them.
    std::vector<HICON> m_menuIcons;

    static SArchiveHooks s_archiveHooks;

    // MainFrm.cpp
    int OnCreate(LPCREATESTRUCT lpcs);
    void AddMenuImages();
    void SetMenuIcon(UINT nCommand, UINT nIcon);
    // Ends the running search: timer, progress window and, with bStop, the walk.
    void EndSearch(bool bStop);
    void OnSearchTimer();
    CZelDorvaneView* ViewOf(CZelDorvaneDoc* pDoc);
    // The framework's File New: a new, empty list window.
    CZelDorvaneView* NewListWindow();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg LRESULT OnCreateRecordingList(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRecordingChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBookmarkChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReloadHotLists(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReloadShortcuts(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCallScored(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRescanFolders(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWaveOutDone(WPARAM wParam, LPARAM lParam);

    // MainFrmCommands.cpp
    // Tells the user and answers true while a search runs.
    bool RefuseWhileSearching();
    afx_msg void OnCreateList();
    afx_msg void OnFileNew();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnEditRemove();
    afx_msg void OnEditTrim();
    afx_msg void OnPlay();
    afx_msg void OnEncryption();
    afx_msg void OnAppend();
    afx_msg void OnShowPlayHistory();
    afx_msg void OnPlayHistoryAtStart();
    afx_msg void OnViewAccessPanel();
    afx_msg void OnViewPlayerPanel();
    afx_msg void OnHelpGuide();
    afx_msg void OnHelpArchiving();
    afx_msg void OnHelpReports();
    afx_msg void OnAppAbout();
    afx_msg void OnImportPhoneBook();
    afx_msg void OnRunScheduledNow();
    afx_msg void OnFormsManager();
    afx_msg void OnUpdateNeedsSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePlayHistoryAtStart(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRunScheduledNow(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLaterIssue(CCmdUI* pCmdUI);
    // Opens a manual of the program's folder; question is what the user is
    // asked when the shell cannot open it.
    void OpenManual(const CString& fileName, const CString& question);

    DECLARE_MESSAGE_MAP()
};
