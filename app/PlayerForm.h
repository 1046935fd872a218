// PlayerForm.h: CPlayerForm, the form of the Player Panel where a call is
// played: title, date, duration and position, four status icons, the scope and
// the transport and bookmark buttons. It owns no audio: everything goes
// through the process-wide playback engine.
//
// Classes: CPlayerForm.
//
// Other windows load a recording into the engine and then call the public
// operations; LoadAndShow is the checked load: a recording that does not load
// is reported, leaves the player empty and counts as no play. The form tells
// the main window of changes by the private messages of AppMessages.h, each
// with a heap CKWString of the recording's path that the receiver deletes.
// PlayerForm.cpp: display, transport, timer, keys and drops;
// PlayerFormCommands.cpp: bookmarks, the File menu, Calls for Review, History.
#pragma once

#include "ButtonST.h"
#include "KWArray.h"
#include "KWString.h"
#include "OXLayoutManager.h"
#include "OutputScope.h"
#include "PlayerDropTarget.h"

#include "framework/Gdi.h"
#include "framework/Static.h"
#include "framework/View.h"

#include <cstdint>

class CKWFileListEntry;
class CMenu;

class CPlayerForm : public CFormView {
    DECLARE_DYNCREATE(CPlayerForm)
public:
    CPlayerForm();
    ~CPlayerForm() override;

    // Fills the display from the recording the engine has just loaded.
    void UpdateFromPlayback();
    void Play();
    void Stop();
    void Eject();
    void RefreshCommentFlag();
    void RefreshImportantFlag();
    // Loads a recording into the engine and shows it; on failure tells the
    // user, ejects and answers false. Starts playing when bPlay is set.
    bool LoadAndShow(const char* path, bool bPlay);
    // The paths played since start-up, each once.
    int GetPlayedCount() const;
    // The form's OLE drop target, for code that forwards drags to it.
    CPlayerDropTarget& GetDropTarget() { return m_dropTarget; }

    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Samples of the step buttons.
    static const int32_t kStepShort = 80000;  // 10 seconds
    static const int32_t kStepLong = 240000;  // 30 seconds
    static const UINT_PTR kPositionTimer = 1; // every 200 ms
    static const UINT kPositionTimerMs = 200;

    void DoDataExchange(CDataExchange* pDX) override;

    // The display.
    void ResetDisplay();
    void EnableAllButtons(BOOL bEnable);
    void UpdateButtons();
    // Shows Pause while the engine plays, else Play.
    void ShowPlayState();
    void ShowStatusIcon(CStatic& icon, BOOL bOn, UINT nIconId);
    void PushTexts();
    // The file-list entry of the engine's recording, its header read.
    bool LoadEngineEntry(CKWFileListEntry& entry) const;
    CKWString GetEnginePath() const;
    // Posts msg with a heap copy of path to the main window.
    void PostToMainWindow(UINT msg, WPARAM wParam, const char* path);
    void Step(int32_t nStep);
    bool IsRecordingLoaded() const;

    // Bookmarks.
    void MarkBookmarkStart();
    void MarkBookmarkEnd();
    void ClearBookmark();
    // Writes the header changes made so far; tells the user when that fails.
    bool FlushHeaderOrReport();
    // Grays the items of the File menu's popup that cannot run now.
    void PrepareFileMenu(CMenu* pPopup);
    void MarkImportant(BOOL bImportant);

    void RepaintAll();

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnBack30();
    afx_msg void OnBack10();
    afx_msg void OnPlay();
    afx_msg void OnPause();
    afx_msg void OnStop();
    afx_msg void OnForward10();
    afx_msg void OnForward30();
    afx_msg void OnBookmarkStart();
    afx_msg void OnBookmarkEnd();
    afx_msg void OnBookmarkClear();
    afx_msg void OnFileMenu();
    afx_msg void OnCallsForReview();
    afx_msg void OnHistory();
    afx_msg void OnMarkImportant();
    afx_msg void OnUnmarkImportant();
    afx_msg void OnSendZel();
    afx_msg void OnSendWav();
    afx_msg void OnSendBookmarkZel();
    afx_msg void OnSendBookmarkWav();
    afx_msg void OnConvertZel();
    afx_msg void OnConvertWav();
    afx_msg void OnConvertBookmarkZel();
    afx_msg void OnConvertBookmarkWav();
    afx_msg void OnDeleteRecording();
    afx_msg void OnEject();
    afx_msg void OnPauseResume();
    afx_msg void OnBookmarkStep();
    DECLARE_MESSAGE_MAP()

    CButtonST m_btnBack30;
    CButtonST m_btnBack10;
    CButtonST m_btnPlay;
    CButtonST m_btnPause; // on top of Play: one of the two is visible
    CButtonST m_btnStop;
    CButtonST m_btnForward10;
    CButtonST m_btnForward30;
    CButtonST m_btnBookmarkStart; // the three bookmark buttons overlap:
    CButtonST m_btnBookmarkEnd;   // one of them is visible
    CButtonST m_btnBookmarkClear;
    CButtonST m_btnFile;
    CButtonST m_btnCallsForReview;
    CButtonST m_btnHistory;
    CString m_strDate;
    CString m_strPosition;
    CString m_strDuration;
    CString m_strTitle;
    CStatic m_iconImportant; // the status icons show module-shared icons
    CStatic m_iconBookmark;
    CStatic m_iconComment;
    CStatic m_iconEncrypted;
    COutputScope m_scope;
    int32_t m_nBookmarkStart; // samples; -1 none
    int32_t m_nBookmarkEnd;   // samples; -1 none
    COXLayoutManager m_layout;
    CBrush m_brushWhite; // answers every control-colour request
    CKWArray<CKWString> m_played;
    HACCEL m_hAccel; // the module's table, freed with it
    CPlayerDropTarget m_dropTarget;
};
