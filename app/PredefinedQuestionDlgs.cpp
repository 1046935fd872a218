// PredefinedQuestionDlgs.cpp: the repository editor and the predefined-question
// picker.
#include "PredefinedQuestionDlgs.h"

#include "AppPaths.h"
#include "QuestionsRes.h"
#include "ScoringRes.h"
#include "Scoring/QuestionRepository.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

namespace {

// Loads "questions.xml" when nobody did before in this run.
void LoadRepositoryOnce() {
    CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
    if (!pRepository->IsLoaded())
        pRepository->Load(GetQuestionsFilePath());
}

} // namespace

// ---------------------------------------------------------------------------
// CEditPredefinedQuestionsDlg

CEditPredefinedQuestionsDlg::CEditPredefinedQuestionsDlg(CWnd* pParent)
    : CBaseShadowedDialog(IDD_PREDEFINED_QUESTIONS, pParent) {}

CEditPredefinedQuestionsDlg::~CEditPredefinedQuestionsDlg() = default;

BOOL CEditPredefinedQuestionsDlg::OnInitDialog() {
    // The template's tree only marks where the window with the toolbar goes.
    CWnd* pPlaceholder = GetDlgItem(IDC_PREDEFINED_TREE);
    CRect rect;
    if (pPlaceholder != nullptr) {
        pPlaceholder->ShowWindow(SW_HIDE);
        pPlaceholder->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    // Made hidden and then shown: the toolbar's buttons are loaded when the
    // window is shown.
    if (m_wndQuestions.Create(WS_CHILD, rect, this, IDC_PREDEFINED_TREE))
        m_wndQuestions.ShowWindow(SW_SHOW);
    CBaseShadowedDialog::OnInitDialog();

    LoadRepositoryOnce();
    CQuestionsTree& tree = m_wndQuestions.GetQuestionsTree();
    tree.InitTree();
    tree.ExpandAll();
    return TRUE;
}

BOOL CEditPredefinedQuestionsDlg::ContinueModal() {
    if (m_wndQuestions.GetSafeHwnd() != nullptr)
        m_wndQuestions.UpdateToolbarButtons();
    return CBaseShadowedDialog::ContinueModal();
}

void CEditPredefinedQuestionsDlg::OnOK() {
    CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
    const CKWString path = GetQuestionsFilePath();
    // An empty repository writes nothing, by design of its file; any other
    // failed save would lose the user's changes at the end of the run.
    if (!pRepository->Save(path) && pRepository->GetCount() > 0) {
        CString strMessage;
        strMessage.Format("Failed to save questions repository into the file: %s",
                          static_cast<const char*>(path));
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CBaseShadowedDialog::OnOK();
}

void CEditPredefinedQuestionsDlg::OnCancel() {
    CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
    pRepository->Clear();
    pRepository->Load(GetQuestionsFilePath());
    CBaseShadowedDialog::OnCancel();
}

// ---------------------------------------------------------------------------
// CSelectPredefinedQuestionDlg

BEGIN_MESSAGE_MAP(CSelectPredefinedQuestionDlg, CBaseShadowedDialog)
ON_NOTIFY(TVN_SELCHANGED, IDC_PREDEFINED_TREE, &CSelectPredefinedQuestionDlg::OnSelChanged)
ON_NOTIFY(NM_DBLCLK, IDC_PREDEFINED_TREE, &CSelectPredefinedQuestionDlg::OnTreeDblClick)
END_MESSAGE_MAP()

CSelectPredefinedQuestionDlg::CSelectPredefinedQuestionDlg(CWnd* pParent)
    : CBaseShadowedDialog(IDD_PREDEFINED_QUESTIONS, pParent) {}

CSelectPredefinedQuestionDlg::~CSelectPredefinedQuestionDlg() = default;

CQuestion* CSelectPredefinedQuestionDlg::GetSelectedQuestion() const {
    return m_pSelected;
}

void CSelectPredefinedQuestionDlg::DoDataExchange(CDataExchange* pDX) {
    CBaseShadowedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PREDEFINED_TREE, m_wndTree);
}

BOOL CSelectPredefinedQuestionDlg::OnInitDialog() {
    CBaseShadowedDialog::OnInitDialog();
    SetWindowText("Please select one of the predefined Question");
    LoadRepositoryOnce();
    m_wndTree.Editable = FALSE;
    m_wndTree.InitTree();
    m_wndTree.ExpandAll();
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(FALSE);
    return TRUE;
}

void CSelectPredefinedQuestionDlg::TakeSelection() {
    m_pSelected = m_wndTree.GetItemQuestion(m_wndTree.GetSelectedItem());
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(m_pSelected != nullptr);
}

void CSelectPredefinedQuestionDlg::OnSelChanged(NMHDR*, LRESULT* pResult) {
    TakeSelection();
    *pResult = 0;
}

void CSelectPredefinedQuestionDlg::OnTreeDblClick(NMHDR*, LRESULT* pResult) {
    TakeSelection();
    *pResult = 0;
    if (m_pSelected != nullptr)
        EndDialog(IDOK);
}

void CSelectPredefinedQuestionDlg::OnOK() {
    TakeSelection();
    if (m_pSelected != nullptr)
        EndDialog(IDOK);
}
