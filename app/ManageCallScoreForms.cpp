// ManageCallScoreForms.cpp: the score forms manager.
#include "ManageCallScoreForms.h"

#include "AppPaths.h"
#include "CallScoreFormsSettingsDlg.h"
#include "MainFrm.h"
#include "PredefinedQuestionDlgs.h"
#include "QuestionEditDlg.h"
#include "ScoreFormsRes.h"
#include "ScoringRes.h"
#include "SlicedImageList.h"
#include "ZelDorvaneView.h"
#include "resource.h"

#include "Scoring/QuestionRepository.h"
#include "Scoring/ScoreFormManager.h"

#include "framework/CommonDialogs.h"
#include "framework/DataExchange.h"

#include <vector>

namespace {

const int kMaxQuestions = 10;
const char kConfirmRemove[] = "Are you sure you want to remove selected item(s)?";
const char kTooManyQuestions[] = "Only 10 questions can be included in one form.";
const char kFormsFileName[] = "CallScoreForms.xml";
const char kFormsFilter[] = "Call Score Forms (*.xml)|*.xml||";
// 2000-01-01 00:00:00 UTC in seconds since 1970: a form created before it
// has no real creation time.
const LONG kEarliestFormTime = 946684800;
const LONGLONG kUnixEpochInFileTimeSeconds = 11644473600LL;
const ULONGLONG kFileTimeTicksPerSecond = 10000000ULL;

// The toolbars' child ids and places (pixels from the client's left, both
// kBarTop from its top).
const UINT kFormsBarId = 0xE810;
const UINT kQuestionsBarId = 0xE811;
const int kFormsBarLeft = 10;
const int kQuestionsBarLeft = 180;
const int kBarTop = 5;

enum { COLUMN_NUMBER, COLUMN_TYPE, COLUMN_QUESTION, COLUMN_BIAS };

LONG CurrentTime() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return static_cast<LONG>(static_cast<LONGLONG>(ticks.QuadPart / kFileTimeTicksPerSecond) -
                             kUnixEpochInFileTimeSeconds);
}

CString LogonName() {
    char szName[1000] = "";
    DWORD nSize = sizeof szName;
    if (!::GetUserNameA(szName, &nSize))
        szName[0] = '\0';
    return szName;
}

// The time in the user's default date and time format, local time.
CString FormatTime(LONG time) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart =
        static_cast<ULONGLONG>(static_cast<LONGLONG>(time) + kUnixEpochInFileTimeSeconds) *
        kFileTimeTicksPerSecond;
    FILETIME utc = {ticks.LowPart, ticks.HighPart};
    FILETIME local;
    SYSTEMTIME st;
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &st))
        return CString();
    char szDate[128] = "", szTime[128] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, szDate, sizeof szDate);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, szTime, sizeof szTime);
    CString strText;
    strText.Format("%s %s", szDate, szTime);
    return strText;
}

double SumOfBiases(const CScoreFormEntry* pForm) {
    double dSum = 0.0;
    for (int i = 0; i < pForm->GetQuestionCount(); ++i)
        dSum += pForm->GetQuestion(i)->GetBias();
    return dSum;
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CManageCallScoreForms, CBaseShadowedDialog)
    ON_COMMAND(ID_EXPORT_FORMS, &CManageCallScoreForms::OnExportForms)
    ON_COMMAND(ID_IMPORT_FORMS, &CManageCallScoreForms::OnImportForms)
    ON_COMMAND(ID_NEW_SCORE_FORM, &CManageCallScoreForms::OnNewForm)
    ON_COMMAND(ID_SET_SCORE_LOCATION, &CManageCallScoreForms::OnSetLocation)
    ON_COMMAND(ID_DELETE_SELECTED, &CManageCallScoreForms::OnDeleteForm)
    ON_COMMAND(ID_ADD_PREDEFINED_QUESTION, &CManageCallScoreForms::OnAddPredefinedQuestion)
    ON_COMMAND(ID_NEW_QUESTION, &CManageCallScoreForms::OnNewQuestion)
    ON_COMMAND(ID_EDIT_QUESTION, &CManageCallScoreForms::OnEditQuestion)
    ON_COMMAND(ID_DELETE_QUESTION, &CManageCallScoreForms::OnDeleteQuestion)
    ON_UPDATE_COMMAND_UI(ID_DELETE_SELECTED, &CManageCallScoreForms::OnUpdateNeedsForm)
    ON_UPDATE_COMMAND_UI(ID_ADD_PREDEFINED_QUESTION, &CManageCallScoreForms::OnUpdateNeedsForm)
    ON_UPDATE_COMMAND_UI(ID_NEW_QUESTION, &CManageCallScoreForms::OnUpdateNeedsForm)
    ON_UPDATE_COMMAND_UI(ID_EDIT_QUESTION, &CManageCallScoreForms::OnUpdateNeedsQuestion)
    ON_UPDATE_COMMAND_UI(ID_DELETE_QUESTION, &CManageCallScoreForms::OnUpdateNeedsQuestion)
    ON_BN_CLICKED(IDC_EDIT_PREDEFINED_QUESTIONS, &CManageCallScoreForms::OnEditPredefinedQuestions)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_FORMS_TREE, &CManageCallScoreForms::OnFormSelChanged)
    ON_NOTIFY(TVN_BEGINLABELEDITA, IDC_FORMS_TREE, &CManageCallScoreForms::OnBeginLabelEdit)
    ON_NOTIFY(TVN_ENDLABELEDITA, IDC_FORMS_TREE, &CManageCallScoreForms::OnEndLabelEdit)
    ON_NOTIFY(NM_DBLCLK, IDC_FORM_QUESTIONS, &CManageCallScoreForms::OnQuestionDblClk)
END_MESSAGE_MAP()
// clang-format on

CManageCallScoreForms::CManageCallScoreForms(CWnd* pParent)
    : CBaseShadowedDialog(IDD_MANAGE_CALL_SCORE_FORMS, pParent), m_nLabelEdit(0),
      m_bCancellingEdit(false), m_pForm(nullptr) {}

CManageCallScoreForms::~CManageCallScoreForms() = default;

void CManageCallScoreForms::DoDataExchange(CDataExchange* pDX) {
    CBaseShadowedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FORMS_TREE, m_treeForms);
    DDX_Control(pDX, IDC_FORM_QUESTIONS, m_listQuestions);
    DDX_Control(pDX, IDC_FORM_USER_ICON, m_iconUser);
    DDX_Control(pDX, IDC_FORM_BIAS_ICON, m_iconBias);
}

void CManageCallScoreForms::CreateToolbar(CDialogToolbar& bar, UINT nIDResource, UINT nID, int x) {
    if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_TOOLTIPS, nID) ||
        !bar.LoadToolBar(nIDResource)) {
        TRACE("CManageCallScoreForms: toolbar %u cannot be made.\n", nIDResource);
        return;
    }
    bar.SetBarStyle((bar.GetBarStyle() | CBRS_TOOLTIPS) & ~(CBRS_GRIPPER | CBRS_BORDER_ANY));
    // The dialog's update handlers set the buttons, and its commands take
    // them: the control would send them to the frame above the dialog.
    bar.SetOwner(this);
    bar.SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWnd));
    const CSize size = bar.CalcFixedLayout(FALSE, TRUE);
    bar.SetWindowPos(nullptr, x, kBarTop, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CManageCallScoreForms::OnInitDialog() {
    CreateToolbar(m_barForms, IDR_FORMS_TOOLBAR, kFormsBarId, kFormsBarLeft);
    CreateToolbar(m_barQuestions, IDR_FORM_QUESTIONS_TOOLBAR, kQuestionsBarId, kQuestionsBarLeft);

    CBaseShadowedDialog::OnInitDialog();
    m_iconUser.SetIcon(static_cast<HICON>(::LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SCORE_USER), IMAGE_ICON, 16, 16, LR_SHARED)));
    m_iconBias.SetIcon(static_cast<HICON>(::LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SCORE_BIAS), IMAGE_ICON, 16, 16, LR_SHARED)));

    if (CreateSlicedImageList(m_imageList, IDB_TREE_IMAGES, 16, 17, 1))
        m_treeForms.SetImageList(&m_imageList, TVSIL_NORMAL);

    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    if (!pStore->IsLoaded())
        pStore->Load(GetScoreFormsFilePath());

    FillFormsTree();
    m_listQuestions.InsertColumn(COLUMN_NUMBER, "#", LVCFMT_CENTER, 30);
    m_listQuestions.InsertColumn(COLUMN_TYPE, "Type", LVCFMT_LEFT, 50);
    m_listQuestions.InsertColumn(COLUMN_QUESTION, "Question", LVCFMT_LEFT, 270);
    m_listQuestions.InsertColumn(COLUMN_BIAS, "Bias", LVCFMT_LEFT, 50);
    m_listQuestions.EnableToolTips(TRUE);
    m_listQuestions.SetExtendedStyle(m_listQuestions.GetExtendedStyle() | LVS_EX_GRIDLINES |
                                     LVS_EX_FULLROWSELECT);
    SelectFirstForm();
    return TRUE;
}

BOOL CManageCallScoreForms::ContinueModal() {
    // The bars sit in a dialog, not a frame, so the idle-update message would
    // find no frame to ask: the dialog's own handlers are asked directly.
    for (CDialogToolbar* pBar : {&m_barForms, &m_barQuestions}) {
        if (pBar->GetSafeHwnd() != nullptr)
            pBar->OnUpdateCmdUI(nullptr, TRUE);
    }
    return CBaseShadowedDialog::ContinueModal();
}

void CManageCallScoreForms::ClearFormsTree() {
    // Before the store lets go of the forms: the items point into it, and
    // deleting them may report a change of selection.
    m_treeForms.DeleteAllItems();
    ShowForm(nullptr);
}

void CManageCallScoreForms::FillFormsTree() {
    ClearFormsTree();
    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    for (CScoreFormEntry* pForm = pStore->GetFirstForm(); pForm != nullptr;
         pForm = pStore->GetNextForm()) {
        HTREEITEM hItem = m_treeForms.InsertItem(pForm->GetTitle(), 0, 0);
        m_treeForms.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pForm));
    }
}

void CManageCallScoreForms::SelectFirstForm() {
    HTREEITEM hFirst = m_treeForms.GetRootItem();
    if (hFirst == nullptr)
        return;
    m_treeForms.SelectItem(hFirst);
    // Selecting the item that is selected already sends no change.
    if (m_pForm == nullptr)
        ShowForm(reinterpret_cast<CScoreFormEntry*>(m_treeForms.GetItemData(hFirst)));
}

void CManageCallScoreForms::ShowForm(CScoreFormEntry* pForm) {
    m_pForm = pForm;
    SetDlgItemText(IDC_FORM_NAME, "");
    m_listQuestions.DeleteAllItems();
    SetDlgItemText(IDC_FORM_USER, "");
    SetDlgItemText(IDC_FORM_BIAS, "");
    if (pForm == nullptr) {
        GetDlgItem(IDC_FORM_NAME)->EnableWindow(FALSE);
        m_listQuestions.EnableWindow(FALSE);
        UpdateTotalBias();
        return;
    }
    SetDlgItemText(IDC_FORM_NAME, pForm->GetTitle());
    if (pForm->GetTime() < kEarliestFormTime)
        pForm->SetTime(CurrentTime());
    if (pForm->GetOwner()[0] == '\0')
        pForm->SetOwner(LogonName());
    CString strUser;
    strUser.Format("User: %s - %s | ID: %d", pForm->GetOwner(),
                   static_cast<LPCTSTR>(FormatTime(pForm->GetTime())),
                   static_cast<int>(pForm->GetID()));
    SetDlgItemText(IDC_FORM_USER, strUser);
    GetDlgItem(IDC_FORM_NAME)->EnableWindow(TRUE);
    m_listQuestions.EnableWindow(TRUE);
    for (int i = 0; i < pForm->GetQuestionCount(); ++i)
        AddQuestionRow(pForm->GetQuestion(i));
    m_listQuestions.RedrawItems(0, m_listQuestions.GetItemCount() - 1);
    UpdateTotalBias();
}

void CManageCallScoreForms::AddQuestionRow(CQuestion* pQuestion) {
    const int nRow = m_listQuestions.GetItemCount();
    CString strNumber;
    strNumber.Format("%d", nRow + 1);
    m_listQuestions.InsertItem(LVIF_TEXT | LVIF_STATE, nRow, strNumber, LVIS_SELECTED,
                               LVIS_SELECTED, 0, 0);
    UpdateQuestionRow(nRow, pQuestion);
    m_listQuestions.SetItemData(nRow, reinterpret_cast<DWORD_PTR>(pQuestion));
}

void CManageCallScoreForms::UpdateQuestionRow(int nRow, CQuestion* pQuestion) {
    m_listQuestions.SetItemText(nRow, COLUMN_TYPE,
                                pQuestion->GetType() == CQuestion::TYPE_SCALE ? "Scale" : "Yes/No");
    const CKWString prompt = pQuestion->GetPrompt();
    m_listQuestions.SetItemText(nRow, COLUMN_QUESTION, prompt);
    m_listQuestions.SetItemToolTipText(nRow, COLUMN_QUESTION, prompt);
    CString strBias;
    strBias.Format("%d%%", static_cast<int>(pQuestion->GetBias()));
    m_listQuestions.SetItemText(nRow, COLUMN_BIAS, strBias);
    UpdateTotalBias();
}

void CManageCallScoreForms::UpdateTotalBias() {
    // Without a form shown there is nothing to check here; Save Changes
    // checks every form itself.
    BOOL bBalanced = TRUE;
    if (m_pForm != nullptr) {
        const double dSum = SumOfBiases(m_pForm);
        CString strBias;
        strBias.Format("Total Bias: %.0f%%", dSum);
        SetDlgItemText(IDC_FORM_BIAS, strBias);
        bBalanced = dSum == 100.0;
    }
    GetDlgItem(IDC_FORM_BIAS_WARNING)->ShowWindow(bBalanced ? SW_HIDE : SW_SHOW);
    // Hidden is not enough: Enter still reaches a hidden default button.
    CWnd* pSave = GetDlgItem(IDOK);
    pSave->EnableWindow(bBalanced);
    pSave->ShowWindow(bBalanced ? SW_SHOW : SW_HIDE);
}

LONG CManageCallScoreForms::GetNextQuestionID(const CScoreFormEntry* pForm) {
    LONG nNext = CQuestionRepository::GetFirstLocalQuestionID();
    for (int i = 0; i < pForm->GetQuestionCount(); ++i) {
        const LONG nID = pForm->GetQuestion(i)->GetID();
        if (nID >= nNext)
            nNext = nID + 1;
    }
    return nNext;
}

CScoreFormEntry* CManageCallScoreForms::FindUnbalancedForm() {
    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    for (int i = 0; i < pStore->GetFormCount(); ++i) {
        CScoreFormEntry* pForm = pStore->GetFormAt(i);
        if (SumOfBiases(pForm) != 100.0)
            return pForm;
    }
    return nullptr;
}

HTREEITEM CManageCallScoreForms::FindFormItem(const CScoreFormEntry* pForm) const {
    for (HTREEITEM hItem = m_treeForms.GetRootItem(); hItem != nullptr;
         hItem = m_treeForms.GetNextSiblingItem(hItem)) {
        if (reinterpret_cast<CScoreFormEntry*>(m_treeForms.GetItemData(hItem)) == pForm)
            return hItem;
    }
    return nullptr;
}

BOOL CManageCallScoreForms::CanAddQuestion() {
    if (m_listQuestions.GetItemCount() >= kMaxQuestions) {
        AfxMessageBox(kTooManyQuestions, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return m_pForm != nullptr;
}

CQuestion* CManageCallScoreForms::GetSelectedQuestion(int& nRow) const {
    nRow = m_listQuestions.GetNextItem(-1, LVNI_SELECTED);
    if (m_pForm == nullptr || nRow < 0)
        return nullptr;
    return reinterpret_cast<CQuestion*>(m_listQuestions.GetItemData(nRow));
}

// ---------------------------------------------------------------------------
// Forms

void CManageCallScoreForms::OnNewForm() {
    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    LONG nID = pStore->GetNextFormID();
    if (nID < 0)
        nID = 0;
    CScoreFormEntry form(nID);
    form.SetTitle("New Form");
    if (!pStore->AddForm(form))
        return;
    CScoreFormEntry* pStored = pStore->FindForm(nID);
    pStored->SetOwner(LogonName());
    pStored->SetTime(CurrentTime());
    HTREEITEM hItem = m_treeForms.InsertItem(pStored->GetTitle(), 0, 0);
    m_treeForms.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pStored));
    m_treeForms.SelectItem(hItem);
}

void CManageCallScoreForms::OnDeleteForm() {
    HTREEITEM hItem = m_treeForms.GetSelectedItem();
    if (hItem == nullptr || AfxMessageBox(kConfirmRemove, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    auto* pForm = reinterpret_cast<CScoreFormEntry*>(m_treeForms.GetItemData(hItem));
    if (pForm == nullptr)
        return;
    ShowForm(nullptr);
    CScoreFormManager::GetInstance()->RemoveForm(pForm->GetID());
    // The item goes after the form: deleting it may select the next item,
    // which shows that item's form.
    m_treeForms.SetItemData(hItem, 0);
    m_treeForms.DeleteItem(hItem);
    m_treeForms.Invalidate();
}

void CManageCallScoreForms::OnFormSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* pView = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    ShowForm(pView->itemNew.hItem != nullptr
                 ? reinterpret_cast<CScoreFormEntry*>(m_treeForms.GetItemData(pView->itemNew.hItem))
                 : nullptr);
    *pResult = 0;
}

void CManageCallScoreForms::OnBeginLabelEdit(NMHDR*, LRESULT* pResult) {
    m_nLabelEdit = 1;
    *pResult = 0;
}

void CManageCallScoreForms::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    m_nLabelEdit = 0;
    *pResult = 0;
    const auto* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    // A cancelled edit may still carry the edit's text.
    if (m_bCancellingEdit || pInfo->item.pszText == nullptr || pInfo->item.pszText[0] == '\0')
        return;
    auto* pForm = reinterpret_cast<CScoreFormEntry*>(m_treeForms.GetItemData(pInfo->item.hItem));
    if (pForm == nullptr)
        return;
    pForm->SetTitle(pInfo->item.pszText);
    // The item shows the title as the form keeps it (cut, trimmed).
    m_treeForms.SetItemText(pInfo->item.hItem, pForm->GetTitle());
    if (pForm == m_pForm)
        SetDlgItemText(IDC_FORM_NAME, pForm->GetTitle());
}

// ---------------------------------------------------------------------------
// Questions

void CManageCallScoreForms::OnNewQuestion() {
    if (!CanAddQuestion())
        return;
    CQuestion question(-1);
    CQuestionEditDlg dlg(this);
    dlg.SetQuestion(&question);
    if (dlg.DoModal() != IDOK || m_pForm == nullptr)
        return;
    question.SetID(GetNextQuestionID(m_pForm));
    m_pForm->AddQuestion(question);
    AddQuestionRow(m_pForm->GetQuestion(m_pForm->GetQuestionCount() - 1));
}

void CManageCallScoreForms::OnAddPredefinedQuestion() {
    if (!CanAddQuestion())
        return;
    CSelectPredefinedQuestionDlg dlg(this);
    if (dlg.DoModal() != IDOK || m_pForm == nullptr)
        return;
    const CQuestion* pChosen = dlg.GetSelectedQuestion();
    if (pChosen == nullptr)
        return;
    // A form asks each question once: the answers are kept by question ID.
    for (int i = 0; i < m_pForm->GetQuestionCount(); ++i) {
        if (m_pForm->GetQuestion(i)->GetID() == pChosen->GetID()) {
            AfxMessageBox("This question is already in the form.", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    m_pForm->AddQuestion(*pChosen);
    AddQuestionRow(m_pForm->GetQuestion(m_pForm->GetQuestionCount() - 1));
}

void CManageCallScoreForms::EditQuestionAt(int nRow) {
    auto* pQuestion = reinterpret_cast<CQuestion*>(m_listQuestions.GetItemData(nRow));
    if (m_pForm == nullptr || pQuestion == nullptr)
        return;
    CQuestionEditDlg dlg(this);
    dlg.SetQuestion(pQuestion);
    if (dlg.DoModal() == IDOK)
        UpdateQuestionRow(nRow, pQuestion);
}

void CManageCallScoreForms::OnEditQuestion() {
    int nRow = -1;
    if (GetSelectedQuestion(nRow) != nullptr)
        EditQuestionAt(nRow);
}

void CManageCallScoreForms::OnQuestionDblClk(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* pActivate = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR);
    if (pActivate->iItem >= 0 && pActivate->iItem < m_listQuestions.GetItemCount())
        EditQuestionAt(pActivate->iItem);
    *pResult = 0;
}

void CManageCallScoreForms::OnDeleteQuestion() {
    int nRow = -1;
    if (GetSelectedQuestion(nRow) == nullptr ||
        AfxMessageBox(kConfirmRemove, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    m_listQuestions.DeleteItem(nRow);
    m_pForm->RemoveQuestionAt(nRow);
    for (int i = nRow; i < m_listQuestions.GetItemCount(); ++i) {
        CString strNumber;
        strNumber.Format("%d", i + 1);
        m_listQuestions.SetItemText(i, COLUMN_NUMBER, strNumber);
    }
    UpdateTotalBias();
}

void CManageCallScoreForms::OnUpdateNeedsForm(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pForm != nullptr);
}

void CManageCallScoreForms::OnUpdateNeedsQuestion(CCmdUI* pCmdUI) {
    int nRow = -1;
    pCmdUI->Enable(GetSelectedQuestion(nRow) != nullptr);
}

void CManageCallScoreForms::OnEditPredefinedQuestions() {
    CEditPredefinedQuestionsDlg dlg(this);
    dlg.DoModal();
}

// ---------------------------------------------------------------------------
// Files and locations

void CManageCallScoreForms::OnExportForms() {
    CFileDialog dlg(FALSE, "xml", kFormsFileName,
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR, kFormsFilter, this);
    if (dlg.DoModal() != IDOK)
        return;
    const CString strPath = dlg.GetPathName();
    ReclaimActivation();
    CString strMessage;
    if (CScoreFormManager::GetInstance()->Save(strPath)) {
        strMessage.Format("Call Score Forms exports successfully into the file: %s",
                          static_cast<LPCTSTR>(strPath));
        AfxMessageBox(strMessage, MB_OK | MB_ICONINFORMATION);
    } else {
        strMessage.Format("Failed to export forms into the file: %s",
                          static_cast<LPCTSTR>(strPath));
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CManageCallScoreForms::ReclaimActivation() {
    // A message box is owned by the main window's last active popup, which
    // right after a common file dialog may be the main window itself; the
    // box would then enable it again under this dialog's modal loop.
    SetActiveWindow();
}

void CManageCallScoreForms::OnImportForms() {
    CFileDialog dlg(TRUE, "xml", kFormsFileName,
                    OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR,
                    kFormsFilter, this);
    if (dlg.DoModal() != IDOK)
        return;
    const CString strPath = dlg.GetPathName();
    ReclaimActivation();
    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    // Kept so that a file that does not parse costs none of the edits made
    // since the dialog opened.
    std::vector<CScoreFormEntry> held;
    for (int i = 0; i < pStore->GetFormCount(); ++i)
        held.push_back(*pStore->GetFormAt(i));
    ClearFormsTree();
    pStore->Clear();
    CString strMessage;
    if (pStore->Load(strPath)) {
        FillFormsTree();
        strMessage.Format("Call Score Forms imports successfully from the file: %s",
                          static_cast<LPCTSTR>(strPath));
        AfxMessageBox(strMessage, MB_OK | MB_ICONINFORMATION);
        return;
    }
    pStore->Clear();
    for (const CScoreFormEntry& form : held)
        pStore->AddForm(form);
    FillFormsTree();
    strMessage.Format("Failed to import forms from the file: %s", static_cast<LPCTSTR>(strPath));
    AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
}

void CManageCallScoreForms::OnSetLocation() {
    CCallScoreFormsSettingsDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    ClearFormsTree();
    pStore->Clear();
    if (pStore->Load(GetScoreFormsFilePath())) {
        FillFormsTree();
        SelectFirstForm();
    }
    pStore->SetFolder(GetCallScoresFolder());
}

// ---------------------------------------------------------------------------
// Save Changes and Cancel

void CManageCallScoreForms::OnOK() {
    if (m_nLabelEdit) {
        m_treeForms.EndEditLabelNow(FALSE);
        return;
    }
    if (m_pForm != nullptr && SumOfBiases(m_pForm) != 100.0)
        return;
    CScoreFormEntry* pUnbalanced = FindUnbalancedForm();
    if (pUnbalanced != nullptr) {
        HTREEITEM hItem = FindFormItem(pUnbalanced);
        if (hItem != nullptr)
            m_treeForms.SelectItem(hItem);
        if (m_pForm != pUnbalanced)
            ShowForm(pUnbalanced);
        return;
    }
    const CKWString path = GetScoreFormsFilePath();
    if (!CScoreFormManager::GetInstance()->Save(path)) {
        CString strMessage;
        strMessage.Format("The score forms could not be saved to the file: %s",
                          static_cast<const char*>(path));
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    CZelDorvaneView* pView = pFrame != nullptr ? pFrame->GetActiveListView() : nullptr;
    if (pView != nullptr)
        pView->UpdateCallScoreColumns();
    EndDialog(IDOK);
}

void CManageCallScoreForms::OnCancel() {
    if (m_nLabelEdit) {
        m_bCancellingEdit = true;
        m_treeForms.EndEditLabelNow(TRUE);
        m_bCancellingEdit = false;
        return;
    }
    ClearFormsTree();
    CScoreFormManager* pStore = CScoreFormManager::GetInstance();
    pStore->Clear();
    pStore->Load(GetScoreFormsFilePath());
    EndDialog(IDCANCEL);
}
