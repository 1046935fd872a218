// PlayerForm.cpp: the player form's creation, display, transport, timer, keys
// and the checked load of a recording (from a drop or another window).
#include "PlayerForm.h"

#include "AppMessages.h"
#include "CallHistory.h"
#include "KWFileListEntry.h"
#include "KWRecordTexts.h"
#include "MainFrm.h"
#include "PlaybackManager.h"
#include "PlayerRes.h"
#include "Settings.h"
#include "TraceLog.h"
#include "resource.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

#include <shellapi.h>
#include <shlwapi.h>

IMPLEMENT_DYNCREATE(CPlayerForm, CFormView)

namespace {

const COLORREF kFormColour = RGB(255, 255, 255);

// Where the transport buttons' right sides stand, in hundredths of the form.
struct SharedRight {
    UINT nID;
    int nShare;
};
const SharedRight kTransportShares[] = {
    {IDC_BACK30, 21},       {IDC_BACK10, 31},         {IDC_PLAY, 41},      {IDC_PAUSE, 41},
    {IDC_STOP, 51},         {IDC_FORWARD10, 61},      {IDC_FORWARD30, 71}, {IDC_BOOKMARK_START, 81},
    {IDC_BOOKMARK_END, 81}, {IDC_BOOKMARK_CLEAR, 81},
};

// The base name of a path: no folder, no extension.
CString BaseName(const char* path) {
    CString name = ::PathFindFileNameA(path);
    const int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CPlayerForm, CFormView)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_WM_DROPFILES()
    ON_BN_CLICKED(IDC_BACK30, &CPlayerForm::OnBack30)
    ON_BN_CLICKED(IDC_BACK10, &CPlayerForm::OnBack10)
    ON_BN_CLICKED(IDC_PLAY, &CPlayerForm::OnPlay)
    ON_BN_CLICKED(IDC_PAUSE, &CPlayerForm::OnPause)
    ON_BN_CLICKED(IDC_STOP, &CPlayerForm::OnStop)
    ON_BN_CLICKED(IDC_FORWARD10, &CPlayerForm::OnForward10)
    ON_BN_CLICKED(IDC_FORWARD30, &CPlayerForm::OnForward30)
    ON_BN_CLICKED(IDC_BOOKMARK_START, &CPlayerForm::OnBookmarkStart)
    ON_BN_CLICKED(IDC_BOOKMARK_END, &CPlayerForm::OnBookmarkEnd)
    ON_BN_CLICKED(IDC_BOOKMARK_CLEAR, &CPlayerForm::OnBookmarkClear)
    ON_BN_CLICKED(IDC_FILE_MENU, &CPlayerForm::OnFileMenu)
    ON_BN_CLICKED(IDC_CALLS_FOR_REVIEW, &CPlayerForm::OnCallsForReview)
    ON_BN_CLICKED(IDC_HISTORY, &CPlayerForm::OnHistory)
    ON_COMMAND(ID_PLAYER_MARK, &CPlayerForm::OnMarkImportant)
    ON_COMMAND(ID_PLAYER_UNMARK, &CPlayerForm::OnUnmarkImportant)
    ON_COMMAND(ID_PLAYER_SEND_ZEL, &CPlayerForm::OnSendZel)
    ON_COMMAND(ID_PLAYER_SEND_WAV, &CPlayerForm::OnSendWav)
    ON_COMMAND(ID_EMAIL_ZEL_BOOKMARK, &CPlayerForm::OnSendBookmarkZel)
    ON_COMMAND(ID_EMAIL_WAV_BOOKMARK, &CPlayerForm::OnSendBookmarkWav)
    ON_COMMAND(ID_PLAYER_CONVERT_ZEL, &CPlayerForm::OnConvertZel)
    ON_COMMAND(ID_PLAYER_CONVERT_WAV, &CPlayerForm::OnConvertWav)
    ON_COMMAND(ID_EXPORT_ZEL_BOOKMARK, &CPlayerForm::OnConvertBookmarkZel)
    ON_COMMAND(ID_EXPORT_WAV_BOOKMARK, &CPlayerForm::OnConvertBookmarkWav)
    ON_COMMAND(ID_PLAYER_DELETE, &CPlayerForm::OnDeleteRecording)
    ON_COMMAND(ID_PLAYER_EJECT, &CPlayerForm::OnEject)
    ON_COMMAND(ID_PLAYER_PAUSE_RESUME, &CPlayerForm::OnPauseResume)
    ON_COMMAND(ID_PLAYER_BOOKMARK_STEP, &CPlayerForm::OnBookmarkStep)
END_MESSAGE_MAP()
// clang-format on

CPlayerForm::CPlayerForm()
    : CFormView(IDD_PLAYER_FORM), m_nBookmarkStart(-1), m_nBookmarkEnd(-1), m_played(0, 10),
      m_hAccel(nullptr) {}

CPlayerForm::~CPlayerForm() = default;

void CPlayerForm::DoDataExchange(CDataExchange* pDX) {
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BACK30, m_btnBack30);
    DDX_Control(pDX, IDC_BACK10, m_btnBack10);
    DDX_Control(pDX, IDC_PLAY, m_btnPlay);
    DDX_Control(pDX, IDC_PAUSE, m_btnPause);
    DDX_Control(pDX, IDC_STOP, m_btnStop);
    DDX_Control(pDX, IDC_FORWARD10, m_btnForward10);
    DDX_Control(pDX, IDC_FORWARD30, m_btnForward30);
    DDX_Control(pDX, IDC_BOOKMARK_START, m_btnBookmarkStart);
    DDX_Control(pDX, IDC_BOOKMARK_END, m_btnBookmarkEnd);
    DDX_Control(pDX, IDC_BOOKMARK_CLEAR, m_btnBookmarkClear);
    DDX_Control(pDX, IDC_FILE_MENU, m_btnFile);
    DDX_Control(pDX, IDC_CALLS_FOR_REVIEW, m_btnCallsForReview);
    DDX_Control(pDX, IDC_HISTORY, m_btnHistory);
    DDX_Text(pDX, IDC_DATE, m_strDate);
    DDX_Text(pDX, IDC_POSITION, m_strPosition);
    DDX_Text(pDX, IDC_DURATION, m_strDuration);
    DDX_Text(pDX, IDC_TITLE, m_strTitle);
    DDX_Control(pDX, IDC_ICON_IMPORTANT, m_iconImportant);
    DDX_Control(pDX, IDC_ICON_BOOKMARK, m_iconBookmark);
    DDX_Control(pDX, IDC_ICON_COMMENT, m_iconComment);
    DDX_Control(pDX, IDC_ICON_ENCRYPTED, m_iconEncrypted);
    DDX_Control(pDX, IDC_SCOPE, m_scope);
}

// ---------------------------------------------------------------------------
// Creation.

void CPlayerForm::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout();
    ResizeParentToFit(TRUE);

    m_brushWhite.CreateSolidBrush(kFormColour);

    struct ButtonPicture {
        CButtonST* pButton;
        int nIcon;
        int nTip; // 0: no tooltip
    };
    const ButtonPicture buttons[] = {
        {&m_btnBack30, IDI_PLAYER_BACK30, IDS_PLAYER_TIP_BACK30},
        {&m_btnBack10, IDI_PLAYER_BACK10, IDS_PLAYER_TIP_BACK10},
        {&m_btnPlay, IDI_PLAYER_PLAY, IDS_PLAYER_TIP_PLAY},
        {&m_btnPause, IDI_PLAYER_PAUSE, IDS_PLAYER_TIP_PAUSE},
        {&m_btnStop, IDI_PLAYER_STOP, IDS_PLAYER_TIP_STOP},
        {&m_btnForward10, IDI_PLAYER_FORWARD10, IDS_PLAYER_TIP_FORWARD10},
        {&m_btnForward30, IDI_PLAYER_FORWARD30, IDS_PLAYER_TIP_FORWARD30},
        {&m_btnBookmarkStart, IDI_PLAYER_BOOKMARK_START, IDS_PLAYER_TIP_BOOKMARK},
        {&m_btnBookmarkEnd, IDI_PLAYER_BOOKMARK_END, IDS_PLAYER_TIP_BOOKMARK},
        {&m_btnBookmarkClear, IDI_PLAYER_BOOKMARK_CLEAR, IDS_PLAYER_TIP_BOOKMARK},
        {&m_btnFile, IDI_PLAYER_FILE, 0},
        {&m_btnCallsForReview, IDI_PLAYER_REVIEW, 0},
        {&m_btnHistory, IDI_PLAYER_HISTORY, 0},
    };
    for (const ButtonPicture& b : buttons) {
        b.pButton->SetIcon(b.nIcon, CButtonST::BTNST_AUTO_DARKER);
        if (b.nTip != 0)
            b.pButton->SetTooltipText(b.nTip, TRUE);
        b.pButton->DrawTransparent(FALSE);
    }
    m_btnPause.ShowWindow(SW_HIDE);
    m_btnBookmarkEnd.ShowWindow(SW_HIDE);
    m_btnBookmarkClear.ShowWindow(SW_HIDE);

    m_layout.Attach(this);
    m_layout.SetConstraint(IDC_SCOPE, OX_LMS_LEFT, OX_LMT_SAME, 20, 0);
    m_layout.SetConstraint(IDC_SCOPE, OX_LMS_RIGHT, OX_LMT_SAME, -20, 0);
    m_layout.SetConstraint(IDC_DATE_LABEL, OX_LMS_LEFT, OX_LMT_OPPOSITE, 10, IDC_ICON_ENCRYPTED);
    m_layout.RemoveConstraint(IDC_DATE_LABEL, OX_LMS_RIGHT);
    m_layout.SetConstraint(IDC_DATE, OX_LMS_LEFT, OX_LMT_OPPOSITE, 5, IDC_DATE_LABEL);
    m_layout.RemoveConstraint(IDC_DATE, OX_LMS_RIGHT);
    m_layout.SetConstraint(IDC_POSITION, OX_LMS_LEFT, OX_LMT_SAME, -4, IDC_STOP);
    m_layout.SetConstraint(IDC_DURATION, OX_LMS_RIGHT, OX_LMT_SAME, -10, IDC_SCOPE);
    m_layout.RemoveConstraint(IDC_DURATION, OX_LMS_LEFT);
    m_layout.SetConstraint(IDC_DURATION_LABEL, OX_LMS_RIGHT, OX_LMT_OPPOSITE, -5, IDC_DURATION);
    m_layout.RemoveConstraint(IDC_DURATION_LABEL, OX_LMS_LEFT);
    for (const SharedRight& share : kTransportShares) {
        m_layout.SetConstraint(share.nID, OX_LMS_RIGHT, OX_LMT_PROPORTIONAL, share.nShare, 0);
        m_layout.RemoveConstraint(share.nID, OX_LMS_LEFT);
    }
    m_layout.RedrawLayout();
    RepaintAll();

    ResetDisplay();
    SetTimer(kPositionTimer, kPositionTimerMs, nullptr);

    if (CMainFrame* pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        pMainFrame->SetPlayerForm(this);

    m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_PLAYER_ACCEL));

    // The drop target switches file drops on for the drags it admits.
    DragAcceptFiles(FALSE);
    if (!m_dropTarget.Register(this)) {
        KWTRACE_ERROR(("CPlayerForm::OnInitialUpdate: failed to register the control with "
                       "COleDropTarget\n"));
        KWTRACE_ERROR(
            ("you've probably forgot to initialize OLE libraries using AfxOleInit function\n"));
    }
}

void CPlayerForm::OnDestroy() {
    KillTimer(kPositionTimer);
    m_layout.Detach();
    // The main frame must not reach a form whose window is gone.
    if (CMainFrame* pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        if (pMainFrame->GetPlayerForm() == this)
            pMainFrame->SetPlayerForm(nullptr);
    CFormView::OnDestroy();
}

// The layout manager redraws each control it moves at once, before the form
// has erased its own background, which then paints over parts of them: the
// form and its controls are painted again in their proper order.
void CPlayerForm::RepaintAll() {
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CPlayerForm::OnSize(UINT nType, int cx, int cy) {
    CFormView::OnSize(nType, cx, cy);
    RepaintAll();
}

HBRUSH CPlayerForm::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushWhite.GetSafeHandle());
}

// ---------------------------------------------------------------------------
// The display.

void CPlayerForm::EnableAllButtons(BOOL bEnable) {
    CButtonST* const buttons[] = {
        &m_btnBack30,      &m_btnBack10,        &m_btnPlay,      &m_btnPause,
        &m_btnStop,        &m_btnForward10,     &m_btnForward30, &m_btnBookmarkStart,
        &m_btnBookmarkEnd, &m_btnBookmarkClear, &m_btnFile,      &m_btnCallsForReview,
        &m_btnHistory,
    };
    for (CButtonST* pButton : buttons)
        pButton->EnableWindow(bEnable);
}

void CPlayerForm::ResetDisplay() {
    EnableAllButtons(FALSE);
    m_strDate.Empty();
    m_strPosition.Empty();
    m_strDuration.Empty();
    m_strTitle.Empty();
    ShowStatusIcon(m_iconImportant, FALSE, 0);
    ShowStatusIcon(m_iconBookmark, FALSE, 0);
    ShowStatusIcon(m_iconComment, FALSE, 0);
    ShowStatusIcon(m_iconEncrypted, FALSE, 0);
    m_nBookmarkStart = -1;
    m_nBookmarkEnd = -1;
    PushTexts();
}

void CPlayerForm::ShowStatusIcon(CStatic& icon, BOOL bOn, UINT nIconId) {
    // Shared icons belong to the module: nothing to free when they change.
    const UINT nShow = bOn ? nIconId : IDI_STATUS_OFF;
    icon.SetIcon(static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nShow),
                                                 IMAGE_ICON, 16, 16, LR_SHARED)));
}

void CPlayerForm::PushTexts() {
    UpdateData(FALSE);
}

void CPlayerForm::UpdateButtons() {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    // With nothing loaded every command would act on the engine's recording
    // object, which still names the last file: Stop and the step buttons
    // leave an empty player as it is.
    if (!pEngine->IsLoaded()) {
        EnableAllButtons(FALSE);
        PushTexts();
        return;
    }
    EnableAllButtons(TRUE);
    m_btnStop.EnableWindow(pEngine->IsPlaying() || pEngine->IsPaused());
    int start = 0;
    int end = 0;
    const bool bHasArea = pEngine->GetRecordFile()->GetBookmark(&start, &end);
    m_btnBookmarkStart.ShowWindow(bHasArea ? SW_HIDE : SW_SHOW);
    m_btnBookmarkEnd.ShowWindow(SW_HIDE);
    m_btnBookmarkClear.ShowWindow(bHasArea ? SW_SHOW : SW_HIDE);
    PushTexts();
}

void CPlayerForm::ShowPlayState() {
    const bool bPlaying = CPlaybackManager::GetInstance()->IsPlaying() != FALSE;
    m_btnPause.ShowWindow(bPlaying ? SW_SHOW : SW_HIDE);
    m_btnPlay.ShowWindow(bPlaying ? SW_HIDE : SW_SHOW);
}

CKWString CPlayerForm::GetEnginePath() const {
    return CKWString(CPlaybackManager::GetInstance()->GetRecordFile()->GetPath());
}

bool CPlayerForm::IsRecordingLoaded() const {
    return CPlaybackManager::GetInstance()->IsLoaded() != FALSE;
}

bool CPlayerForm::LoadEngineEntry(CKWFileListEntry& entry) const {
    entry.SetPath(GetEnginePath());
    return entry.LoadHeader(CSettings::GetInstance()->GetPassphrase());
}

void CPlayerForm::UpdateFromPlayback() {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    CKWRecordFile* pRecord = pEngine->GetRecordFile();
    const CKWString path = GetEnginePath();
    m_strTitle.Format("File - %s.zel", BaseName(path).GetString());

    CKWFileListEntry entry;
    LoadEngineEntry(entry);
    m_strDate = entry.GetDateTimeText();
    m_strDuration = entry.GetDurationText();
    m_strPosition = FormatDuration(pEngine->GetPosition() / CPlaybackManager::kSamplesPerSecond);

    int start = 0;
    int end = 0;
    const bool bHasArea = pRecord->GetBookmark(&start, &end);
    if (bHasArea)
        m_scope.SetSelection(start * CPlaybackManager::kSamplesPerSecond,
                             end * CPlaybackManager::kSamplesPerSecond);
    else
        m_scope.SetSelection(-1, -1);
    ShowStatusIcon(m_iconBookmark, bHasArea, IDI_STATUS_BOOKMARK);

    m_scope.SetLength(pRecord->GetSampleCount());
    m_scope.SetPosition(pEngine->GetPosition());

    ShowStatusIcon(m_iconImportant, entry.IsImportant(), IDI_STATUS_IMPORTANT);
    CString comment = entry.GetComment();
    comment.Trim(" ");
    ShowStatusIcon(m_iconComment, !comment.IsEmpty(), IDI_STATUS_COMMENT);
    ShowStatusIcon(m_iconEncrypted, entry.IsEncrypted(), IDI_STATUS_ENCRYPTED);

    UpdateButtons();
    ShowPlayState();
    PushTexts();
}

void CPlayerForm::RefreshCommentFlag() {
    // Without a recording the icons stand blank: the engine's recording
    // object still names the last file, which the form no longer shows.
    if (!IsRecordingLoaded())
        return;
    CKWFileListEntry entry;
    LoadEngineEntry(entry);
    CString comment = entry.GetComment();
    comment.Trim(" ");
    ShowStatusIcon(m_iconComment, !comment.IsEmpty(), IDI_STATUS_COMMENT);
}

void CPlayerForm::RefreshImportantFlag() {
    if (!IsRecordingLoaded())
        return;
    CKWFileListEntry entry;
    LoadEngineEntry(entry);
    ShowStatusIcon(m_iconImportant, entry.IsImportant(), IDI_STATUS_IMPORTANT);
}

void CPlayerForm::PostToMainWindow(UINT msg, WPARAM wParam, const char* path) {
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || pMain->GetSafeHwnd() == nullptr)
        return;
    CKWString* pPath = path != nullptr ? new CKWString(path) : nullptr;
    if (!pMain->PostMessage(msg, wParam, reinterpret_cast<LPARAM>(pPath)))
        delete pPath; // nobody else will
}

int CPlayerForm::GetPlayedCount() const {
    return m_played.GetSize();
}

// ---------------------------------------------------------------------------
// Loading.

bool CPlayerForm::LoadAndShow(const char* path, bool bPlay) {
    Eject();
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (path == nullptr || *path == '\0' || !pEngine->Load(path)) {
        CString text;
        text.Format(IDS_PLAYER_LOAD_FAILED, path != nullptr ? path : "");
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        // The engine unloaded itself; the form must not show a stale call.
        Eject();
        return false;
    }
    UpdateFromPlayback();
    if (bPlay) {
        pEngine->Start(TRUE, FALSE);
        Play();
    }
    return true;
}

void CPlayerForm::OnDropFiles(HDROP hDropInfo) {
    char path[MAX_PATH] = {};
    const UINT nFiles = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    if (nFiles > 0)
        ::DragQueryFileA(hDropInfo, 0, path, MAX_PATH);
    ::DragFinish(hDropInfo);
    if (nFiles > 0)
        LoadAndShow(path, true);
    DragAcceptFiles(FALSE);
}

// ---------------------------------------------------------------------------
// Transport.

void CPlayerForm::Play() {
    // Without a recording the engine's object may still name the last file:
    // a press of Play must not record a play of it.
    if (!IsRecordingLoaded())
        return;
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (pEngine->IsReadyToPlay()) {
        if (pEngine->IsPaused())
            pEngine->TogglePause();
        else
            pEngine->Start(TRUE, FALSE);
    }
    // Callers may have started the engine themselves: the buttons follow it.
    ShowPlayState();
    UpdateButtons();
    const CKWString path = GetEnginePath();
    CCallHistory::GetInstance()->Add(path);
    if (m_played.Find(path) < 0)
        m_played.Add(path);
    PostToMainWindow(WM_RECORDING_CHANGED, 3, path);
}

void CPlayerForm::OnPlay() {
    Play();
}

void CPlayerForm::OnPause() {
    CPlaybackManager::GetInstance()->TogglePause();
    ShowPlayState();
    UpdateButtons();
}

void CPlayerForm::Stop() {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (pEngine->IsLoaded() && (pEngine->IsPlaying() || pEngine->IsPaused()))
        pEngine->Start(FALSE, TRUE);
    m_scope.SetPosition(0);
    ShowPlayState();
    UpdateButtons();
}

void CPlayerForm::OnStop() {
    Stop();
}

void CPlayerForm::Step(int32_t nStep) {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    const bool bWasPlaying = pEngine->IsPlaying() != FALSE;
    if (bWasPlaying)
        OnPause();
    const int32_t target = pEngine->GetPosition() + nStep;
    if ((nStep < 0 && target < 0) ||
        (nStep > 0 && target > pEngine->GetRecordFile()->GetSampleCount())) {
        Stop();
        return;
    }
    m_scope.SetPosition(target);
    pEngine->SetPosition(target);
    if (bWasPlaying)
        Play();
}

void CPlayerForm::OnBack30() {
    Step(-kStepLong);
}

void CPlayerForm::OnBack10() {
    Step(-kStepShort);
}

void CPlayerForm::OnForward10() {
    Step(kStepShort);
}

void CPlayerForm::OnForward30() {
    Step(kStepLong);
}

void CPlayerForm::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kPositionTimer) {
        CFormView::OnTimer(nIDEvent);
        return;
    }
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (pEngine->IsLoaded()) {
        const int32_t position = pEngine->GetPosition();
        m_strPosition = FormatDuration(position / CPlaybackManager::kSamplesPerSecond);
        m_scope.SetPosition(position);
        // The texts compare as "hh:mm:ss": the first tick at or past the
        // recording's duration ends the play.
        if (m_strPosition.Compare(m_strDuration) >= 0)
            Stop();
        PushTexts();
    }
    m_scope.Invalidate(TRUE);
}

void CPlayerForm::OnEject() {
    Eject();
}

void CPlayerForm::Eject() {
    Stop();
    CPlaybackManager::GetInstance()->Unload();
    ResetDisplay();
    m_strTitle.Empty();
    m_nBookmarkStart = -1;
    m_nBookmarkEnd = -1;
    PushTexts();
}

// ---------------------------------------------------------------------------
// Keys.

BOOL CPlayerForm::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_MENU) {
        // A floating panel has no menu: Alt belongs to the main window's.
        CWnd* pHost = GetParent();
        auto* pBar =
            pHost != nullptr ? dynamic_cast<COXSizeControlBar*>(pHost->GetParent()) : nullptr;
        if (pBar != nullptr && pBar->IsBarFloating())
            if (CWnd* pMain = AfxGetMainWnd())
                pMain->SetFocus();
    }
    if (m_hAccel != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CFormView::PreTranslateMessage(pMsg);
}

void CPlayerForm::OnPauseResume() {
    // The key stands for the Play and Pause buttons, which have nothing to do
    // while no recording is loaded.
    if (!IsRecordingLoaded())
        return;
    if (CPlaybackManager::GetInstance()->IsPaused())
        Play();
    else
        OnPause();
}
