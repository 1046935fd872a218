// ScoreCallDlg.cpp: CScoreCallDlg.
#include "ScoreCallDlg.h"

#include "AppMessages.h"
#include "AppPaths.h"
#include "ListCommandsRes.h"
#include "MainFrm.h"
#include "PlayerForm.h"
#include "ScoreCallRes.h"
#include "ScoringRes.h"
#include "ZelDorvaneView.h"

#include "Scoring/ScoreFormManager.h"

#include "Common/KWRecordFile.h"
#include "Common/PlaybackManager.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/AfxResource.h"
#include "framework/DataExchange.h"
#include "framework/ToolTipCtrl.h"
#include "framework/WinApp.h"

#include <cstring>

namespace {

const int kUserNameSize = 1000;

CString CurrentUserName() {
    char name[kUserNameSize] = "";
    DWORD size = kUserNameSize;
    if (!::GetUserNameA(name, &size))
        name[0] = '\0';
    return name;
}

// A time in the user's default date and time formats; time 0 is now.
CString FormatScoreTime(LONG time) {
    SYSTEMTIME local;
    if (time == 0) {
        ::GetLocalTime(&local);
    } else {
        // Seconds since 1970 in 100-nanosecond steps since 1601.
        ULARGE_INTEGER ticks;
        ticks.QuadPart =
            (static_cast<ULONGLONG>(static_cast<DWORD>(time)) + 11644473600ULL) * 10000000ULL;
        FILETIME utc = {ticks.LowPart, ticks.HighPart};
        FILETIME localFile;
        if (!::FileTimeToLocalFileTime(&utc, &localFile) ||
            !::FileTimeToSystemTime(&localFile, &local))
            ::GetLocalTime(&local);
    }
    char date[64] = "";
    char clock[64] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, clock, sizeof clock);
    CString text;
    text.Format("%s %s", date, clock);
    return text;
}

// The file name without its folders and extension.
CString BaseNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    }
    CString base(name);
    const int dot = base.ReverseFind('.');
    if (dot >= 0)
        base = base.Left(dot);
    return base;
}

bool HasAnswer(const CScoreFormEntry& form) {
    for (int i = 0; i < form.GetQuestionCount(); ++i) {
        if (form.GetQuestion(i)->GetValue() != CQuestion::VALUE_UNANSWERED)
            return true;
    }
    return false;
}

// Sets the recording's important flag in its header. The file the playback
// engine holds is changed through the engine's recording, so that the
// engine's copy stays current and is not written back stale.
bool WriteImportantFlag(const char* path) {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    CZELRecordFile* pLoaded = pEngine->GetRecordFile();
    if (pEngine->IsLoaded() && pLoaded->GetPath().CompareNoCase(path) == 0) {
        pLoaded->SetImportant(1);
        return pLoaded->FlushHeader();
    }
    CKWRecordFile record;
    if (!record.Load(path, CSettings::GetInstance()->GetPassphrase()))
        return false;
    record.SetImportant(1);
    return record.FlushHeader();
}

CPlayerForm* GetPlayerForm() {
    CMainFrame* pFrame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    return pFrame != nullptr ? pFrame->GetPlayerForm() : nullptr;
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CScoreCallDlg, CBaseShadowedDialog)
    ON_WM_DESTROY()
    ON_NOTIFY(TCN_SELCHANGE, IDC_SCORE_TABS, &CScoreCallDlg::OnTabChange)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_SCORE_NA_FIRST, IDC_SCORE_ANSWER_LAST,
                     &CScoreCallDlg::OnAnswerClicked)
    ON_BN_CLICKED(IDC_SCORE_SAVE, &CScoreCallDlg::OnSave)
END_MESSAGE_MAP()
// clang-format on

CScoreCallDlg::CScoreCallDlg(CWnd* pParent)
    : CBaseShadowedDialog(IDD_SCORE_CALL, pParent), m_hasEntry(false), m_current(0),
      m_rowTipAdded(), m_pToolTip(nullptr), m_hUserIcon(nullptr), m_hTotalIcon(nullptr) {}

CScoreCallDlg::~CScoreCallDlg() {
    delete m_pToolTip;
    if (m_hUserIcon != nullptr)
        ::DestroyIcon(m_hUserIcon);
    if (m_hTotalIcon != nullptr)
        ::DestroyIcon(m_hTotalIcon);
}

void CScoreCallDlg::SetRecording(CScoredFileListEntry* pEntry) {
    m_hasEntry = pEntry != nullptr;
    m_entry = pEntry != nullptr ? *pEntry : CScoredFileListEntry();
    m_incomplete.clear();
}

void CScoreCallDlg::DoDataExchange(CDataExchange* pDX) {
    CBaseShadowedDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SCORE_PATH, m_path);
    DDX_Text(pDX, IDC_SCORE_DATE_LENGTH, m_dateLength);
    DDX_Text(pDX, IDC_SCORE_USER, m_scorer);
    DDX_Text(pDX, IDC_SCORE_TOTAL, m_total);
    DDX_Control(pDX, IDC_SCORE_USER_ICON, m_userIcon);
    DDX_Control(pDX, IDC_SCORE_TOTAL_ICON, m_totalIcon);
    DDX_Control(pDX, IDC_SCORE_TABS, m_tabs);
    for (int i = 0; i < ROW_COUNT; ++i) {
        DDX_Control(pDX, IDC_SCORE_QUESTION_FIRST + i, m_rowText[i]);
        DDX_Control(pDX, IDC_SCORE_NA_FIRST + i, m_rowNA[i]);
        DDX_Control(pDX, IDC_SCORE_MARK_FIRST + i, m_rowMark[i]);
        DDX_Control(pDX, IDC_SCORE_YES_FIRST + i, m_rowYes[i]);
        DDX_Control(pDX, IDC_SCORE_NO_FIRST + i, m_rowNo[i]);
    }
}

BOOL CScoreCallDlg::OnInitDialog() {
    CBaseShadowedDialog::OnInitDialog();
    // The call list runs one dialog object once per recording.
    HINSTANCE hResources = AfxGetResourceHandle();
    if (m_hUserIcon != nullptr)
        ::DestroyIcon(m_hUserIcon);
    if (m_hTotalIcon != nullptr)
        ::DestroyIcon(m_hTotalIcon);
    m_hUserIcon = static_cast<HICON>(
        ::LoadImageA(hResources, MAKEINTRESOURCEA(IDI_SCORE_USER), IMAGE_ICON, 16, 16, 0));
    m_hTotalIcon = static_cast<HICON>(
        ::LoadImageA(hResources, MAKEINTRESOURCEA(IDI_SCORE_TOTAL), IMAGE_ICON, 16, 16, 0));
    m_userIcon.SetIcon(m_hUserIcon);
    m_totalIcon.SetIcon(m_hTotalIcon);

    for (int i = 0; i < ROW_COUNT; ++i) {
        m_rowYes[i].ShowWindow(SW_HIDE);
        m_rowNo[i].ShowWindow(SW_HIDE);
        m_rowMark[i].SetButtonStyle(BS_AUTORADIOBUTTON | BS_BITMAP);
        m_rowMark[i].ShowMarkBitmap();
    }

    CScoreFormManager* pForms = CScoreFormManager::GetInstance();
    if (!pForms->IsLoaded())
        pForms->Load(GetScoreFormsFilePath());
    m_formIds.clear();
    m_tabs.DeleteAllItems();
    for (int i = 0; i < pForms->GetFormCount(); ++i) {
        m_tabs.InsertItem(i, pForms->GetFormTitle(i));
        m_formIds.push_back(pForms->GetFormId(i));
    }
    m_current = 0;

    if (!m_hasEntry || m_formIds.empty()) {
        AfxMessageBox("Please add the Score form at first and try again.",
                      MB_OK | MB_ICONEXCLAMATION);
        EndDialog(-1);
        return TRUE;
    }

    m_pToolTip = new CToolTipCtrl;
    if (!m_pToolTip->Create(this)) {
        KWTRACE(("Unable To create ToolTip\n"));
        delete m_pToolTip;
        m_pToolTip = nullptr;
        return TRUE;
    }
    m_pToolTip->Activate(TRUE);

    m_entry.ClearScores();
    m_entry.LoadScores(TRUE);
    m_tabs.SetCurSel(0);
    ShowForm(GetTabForm(0), m_formIds.size() == 1);

    // The user may play the call (and use the main window) while scoring it.
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->EnableWindow(TRUE);
    if (CPlayerForm* pPlayer = GetPlayerForm())
        pPlayer->EnableWindow(TRUE);
    SetForegroundWindow();
    SetActiveWindow();
    // The focus was set here (Save on a single form): the dialog manager must
    // not move it.
    return m_formIds.size() == 1 ? FALSE : TRUE;
}

BOOL CScoreCallDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_pToolTip != nullptr && m_pToolTip->GetSafeHwnd() != nullptr)
        m_pToolTip->RelayEvent(pMsg);
    return CBaseShadowedDialog::PreTranslateMessage(pMsg);
}

void CScoreCallDlg::OnDestroy() {
    if (m_pToolTip != nullptr && m_pToolTip->GetSafeHwnd() != nullptr)
        m_pToolTip->DestroyWindow();
    delete m_pToolTip;
    m_pToolTip = nullptr;
    for (bool& added : m_rowTipAdded)
        added = false;
    CBaseShadowedDialog::OnDestroy();
}

CScoreFormEntry* CScoreCallDlg::GetTabForm(int tab) const {
    if (tab < 0 || tab >= static_cast<int>(m_formIds.size()))
        return nullptr;
    return CScoreFormManager::GetInstance()->FindForm(m_formIds[tab]);
}

// ---------------------------------------------------------------------------
// Rows

int CScoreCallDlg::GetAnswer(int row) const {
    if (row < 0 || row >= ROW_COUNT || m_hWnd == nullptr)
        return CQuestion::VALUE_UNANSWERED;
    if (m_rowMark[row].IsWindowVisible() && m_rowMark[row].GetCheck() == BST_CHECKED)
        return m_rowMark[row].GetMark();
    if (m_rowNA[row].GetCheck() == BST_CHECKED)
        return CQuestion::VALUE_NOT_APPLICABLE;
    if (m_rowYes[row].GetCheck() == BST_CHECKED)
        return 10;
    if (m_rowNo[row].GetCheck() == BST_CHECKED)
        return 0;
    return CQuestion::VALUE_UNANSWERED;
}

void CScoreCallDlg::ShowAnswer(int row, int code, int type) {
    if (row < 0 || row >= ROW_COUNT || m_hWnd == nullptr)
        return;
    m_rowNA[row].SetCheck(BST_UNCHECKED);
    m_rowYes[row].SetCheck(BST_UNCHECKED);
    m_rowNo[row].SetCheck(BST_UNCHECKED);
    m_rowMark[row].SetCheck(BST_UNCHECKED);
    if (type == CQuestion::TYPE_SCALE) {
        switch (code) {
        case 0:
        case 2:
        case 4:
        case 6:
        case 8:
        case 10:
            m_rowMark[row].SetCheck(BST_CHECKED);
            m_rowMark[row].SetMark(code);
            break;
        case CQuestion::VALUE_NOT_APPLICABLE:
            m_rowNA[row].SetCheck(BST_CHECKED);
            m_rowMark[row].SetMark(0);
            break;
        case CQuestion::VALUE_UNANSWERED:
            m_rowMark[row].SetMark(0);
            break;
        default:
            break;
        }
        return;
    }
    switch (code) {
    case 0:
        m_rowNo[row].SetCheck(BST_CHECKED);
        break;
    case 10:
        m_rowYes[row].SetCheck(BST_CHECKED);
        break;
    case CQuestion::VALUE_NOT_APPLICABLE:
        m_rowNA[row].SetCheck(BST_CHECKED);
        break;
    default:
        break;
    }
}

BOOL CScoreCallDlg::IsCurrentFormComplete() const {
    const CScoreFormEntry* pForm = GetTabForm(m_current);
    return pForm != nullptr && pForm->IsComplete();
}

void CScoreCallDlg::SetRowTip(int row, const CString& text) {
    m_rowTip[row] = text;
    if (m_pToolTip == nullptr || m_pToolTip->GetSafeHwnd() == nullptr)
        return;
    CRect rect;
    m_rowText[row].GetWindowRect(&rect);
    ScreenToClient(&rect);
    const UINT_PTR nTool = IDC_SCORE_QUESTION_FIRST + row;
    if (m_rowTipAdded[row])
        m_pToolTip->DelTool(this, nTool);
    m_rowTipAdded[row] = m_pToolTip->AddTool(this, m_rowTip[row], &rect, nTool) != FALSE;
}

void CScoreCallDlg::RefreshRowTips(CScoreFormEntry* pForm) {
    const int count = pForm->GetQuestionCount();
    for (int i = 0; i < count && i < ROW_COUNT; ++i) {
        const CQuestion* pQuestion = pForm->GetQuestion(i);
        CString tip;
        tip.Format("Set Bias Value = %2.f%% / Adjusted Bias Value = %2.f%%", pQuestion->GetBias(),
                   pQuestion->GetAdjustedBias());
        SetRowTip(i, tip);
    }
}

// ---------------------------------------------------------------------------
// Forms

void CScoreCallDlg::StoreAnswers(CScoredFileListEntry* pEntry, CScoreFormEntry* pForm) {
    if (pEntry == nullptr || pForm == nullptr)
        return;
    for (int i = 0; i < pForm->GetQuestionCount(); ++i)
        pForm->SetQuestionValue(i, GetAnswer(i));
    const double total = pForm->GetTotal(TRUE);
    // A form without a single answer was only looked at: it keeps the score
    // the entry held (none, or the one from the file).
    if (!HasAnswer(*pForm)) {
        m_incomplete.erase(pForm->GetID());
        return;
    }
    if (pForm->IsComplete())
        m_incomplete.erase(pForm->GetID());
    else
        m_incomplete.insert(pForm->GetID());
    pEntry->SetScore(pForm->GetID(), CurrentUserName(), total, 0);
}

void CScoreCallDlg::ShowForm(CScoreFormEntry* pForm, BOOL last) {
    if (pForm == nullptr || !m_hasEntry)
        return;
    const CScoredFileListEntry::SCallScoreEntry* pScore = m_entry.FindScore(pForm->GetID());

    m_path = m_entry.GetPath();
    m_dateLength.Format("Date/Time: %s  |  Length: %s", m_entry.GetDateTimeText(),
                        m_entry.GetDurationText());
    CString caption;
    caption.Format("Score Call - %s.zel", static_cast<const char*>(BaseNameOf(m_entry.GetPath())));
    SetWindowText(caption);

    const CString user = pScore != nullptr && pScore->UserName[0] != '\0'
                             ? CString(pScore->UserName)
                             : CurrentUserName();
    m_scorer.Format(
        "Scored by: %s - %s", static_cast<const char*>(user),
        static_cast<const char*>(FormatScoreTime(pScore != nullptr ? pScore->Time : 0)));
    if (pScore != nullptr)
        m_total.Format("Total Score: %.02f", pScore->Value);
    else
        m_total = "Total Score: Incomplete";

    CWnd* pNext = GetDlgItem(IDOK);
    CWnd* pSave = GetDlgItem(IDC_SCORE_SAVE);
    if (pNext != nullptr) {
        pNext->ShowWindow(last ? SW_HIDE : SW_SHOW);
        pNext->EnableWindow(!last);
    }
    if (last) {
        SetDefID(IDC_SCORE_SAVE);
        if (pSave != nullptr)
            GotoDlgCtrl(pSave);
    } else {
        SetDefID(IDOK);
    }

    const int count = pForm->GetQuestionCount();
    for (int i = 0; i < count; ++i)
        pForm->SetQuestionValue(i, CQuestion::VALUE_UNANSWERED);
    for (const ScoreData& answer : m_entry.GetScoreData(pForm->GetID())) {
        for (int i = 0; i < count; ++i) {
            if (pForm->GetQuestion(i)->GetID() == answer.QuestionID) {
                pForm->SetQuestionValue(i, answer.Value);
                break;
            }
        }
    }
    // The tooltips show the shares of these answers, not of the last call.
    pForm->ComputeTotal();

    for (int i = 0; i < ROW_COUNT; ++i) {
        const bool shown = i < count;
        const int show = shown ? SW_SHOW : SW_HIDE;
        m_rowText[i].ShowWindow(show);
        m_rowNA[i].ShowWindow(show);
        m_rowYes[i].ShowWindow(show);
        m_rowNo[i].ShowWindow(show);
        m_rowMark[i].ShowWindow(show);
        if (!shown)
            continue;
        const CQuestion* pQuestion = pForm->GetQuestion(i);
        CString text;
        text.Format(" %d. %s", i + 1, static_cast<const char*>(pQuestion->GetPrompt()));
        m_rowText[i].SetWindowText(text);
        m_rowText[i].EnableWindow(pQuestion->GetValue() != CQuestion::VALUE_NOT_APPLICABLE);
        if (pQuestion->IsScaled()) {
            m_rowYes[i].ShowWindow(SW_HIDE);
            m_rowNo[i].ShowWindow(SW_HIDE);
        } else {
            m_rowMark[i].ShowWindow(SW_HIDE);
        }
        ShowAnswer(i, pQuestion->GetValue(), pQuestion->GetType());
    }
    RefreshRowTips(pForm);
    UpdateData(FALSE);
}

void CScoreCallDlg::UpdateTotal() {
    UpdateData(TRUE);
    if (!m_hasEntry)
        return;
    CScoreFormEntry* pForm = GetTabForm(m_current);
    CScoredFileListEntry copy(m_entry);
    // The copy is thrown away: what the user answered so far must not count
    // as visited-and-left.
    const std::set<LONG> incomplete = m_incomplete;
    StoreAnswers(&copy, pForm);
    m_incomplete = incomplete;
    // SetScore left the copy's cursor on the form's score.
    if (pForm != nullptr && pForm->IsComplete() && copy.FindScore(pForm->GetID()) != nullptr) {
        m_total.Format("Total Score: %.02f", copy.GetCurrentScoreValue());
    } else {
        m_total = "Total Score: Incomplete";
    }
    SetDlgItemText(IDC_SCORE_TOTAL, m_total);
}

void CScoreCallDlg::SelectTab(int tab) {
    m_current = tab;
    ShowForm(GetTabForm(tab), tab == static_cast<int>(m_formIds.size()) - 1);
}

// ---------------------------------------------------------------------------
// Handlers

void CScoreCallDlg::OnAnswerClicked(UINT) {
    UpdateTotal();
    CScoreFormEntry* pForm = GetTabForm(m_current);
    if (pForm == nullptr)
        return;
    for (int i = 0; i < pForm->GetQuestionCount() && i < ROW_COUNT; ++i) {
        const bool notApplicable =
            pForm->GetQuestion(i)->GetValue() == CQuestion::VALUE_NOT_APPLICABLE;
        m_rowText[i].EnableWindow(!notApplicable);
        if (notApplicable)
            m_rowMark[i].SetMark(0);
    }
    RefreshRowTips(pForm);
}

void CScoreCallDlg::OnTabChange(NMHDR*, LRESULT* pResult) {
    StoreAnswers(&m_entry, GetTabForm(m_current));
    const int tab = m_tabs.GetCurSel();
    if (tab >= 0)
        SelectTab(tab);
    *pResult = 0;
}

void CScoreCallDlg::OnOK() {
    StoreAnswers(&m_entry, GetTabForm(m_current));
    const int next = m_current + 1;
    if (next >= static_cast<int>(m_formIds.size()))
        return;
    m_tabs.SetCurSel(next);
    SelectTab(next);
}

bool CScoreCallDlg::ConfirmIncompleteForms() {
    // The form on show counts as it stands now; the others as they were left.
    bool incomplete = false;
    LONG currentId = -1;
    if (const CScoreFormEntry* pForm = GetTabForm(m_current)) {
        currentId = pForm->GetID();
        bool answered = false;
        bool missing = false;
        for (int i = 0; i < pForm->GetQuestionCount(); ++i) {
            if (GetAnswer(i) == CQuestion::VALUE_UNANSWERED)
                missing = true;
            else
                answered = true;
        }
        incomplete = answered && missing;
    }
    for (LONG id : m_incomplete) {
        if (id != currentId && CScoreFormManager::GetInstance()->FindForm(id) != nullptr)
            incomplete = true;
    }
    if (!incomplete)
        return true;
    return AfxMessageBox("One or more forms are not completed. Continue with save?",
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CScoreCallDlg::OnSave() {
    if (!m_hasEntry)
        return;
    if (!ConfirmIncompleteForms())
        return;
    StoreAnswers(&m_entry, GetTabForm(m_current));
    if (m_entry.GetScoreCount() == 0) {
        // Nothing answered on any form and no earlier score: there is no
        // score to keep, and the call is not a scored call.
        EndDialog(IDOK);
        return;
    }
    if (!m_entry.SaveScores()) {
        CString text;
        text.Format("The scores could not be saved to the file: %s",
                    static_cast<const char*>(m_entry.GetScoreFilePath()));
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    PublishSavedScores();
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(WM_CALL_SCORED, 0, reinterpret_cast<LPARAM>(&m_entry));
    EndDialog(IDOK);
}

void CScoreCallDlg::PublishSavedScores() {
    const CString path(m_entry.GetPath());
    m_entry.m_important = 1;
    const bool headerWritten = WriteImportantFlag(path);
    CZelDorvaneView::RefreshScoredRecording(path);
    if (headerWritten) {
        if (CPlayerForm* pPlayer = GetPlayerForm())
            pPlayer->RefreshImportantFlag();
    } else {
        CString text;
        text.Format(IDS_HEADER_WRITE_FAILED, static_cast<const char*>(path));
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CScoreCallDlg::OnCancel() {
    if (m_hasEntry) {
        m_entry.ClearScores();
        m_entry.LoadScores(TRUE);
    }
    EndDialog(IDCANCEL);
}
