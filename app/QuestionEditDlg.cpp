// QuestionEditDlg.cpp: the dialog that edits one question's type, bias and
// prompt.
#include "QuestionEditDlg.h"

#include "QuestionsRes.h"
#include "ScoringRes.h"
#include "Scoring/Question.h"

#include "framework/DataExchange.h"

BEGIN_MESSAGE_MAP(CQuestionEditDlg, CBaseShadowedDialog)
ON_BN_CLICKED(IDC_QUESTION_TYPE_YESNO, &CQuestionEditDlg::OnTypeYesNo)
ON_BN_CLICKED(IDC_QUESTION_TYPE_SCALE, &CQuestionEditDlg::OnTypeScale)
ON_EN_KILLFOCUS(IDC_QUESTION_BIAS, &CQuestionEditDlg::OnBiasKillFocus)
ON_NOTIFY(UDN_DELTAPOS, IDC_QUESTION_BIAS_SPIN, &CQuestionEditDlg::OnBiasDeltaPos)
END_MESSAGE_MAP()

namespace {
const UINT kMaxBias = 100;
} // namespace

CQuestionEditDlg::CQuestionEditDlg(CWnd* pParent)
    : CBaseShadowedDialog(IDD_QUESTION_EDIT, pParent) {}

CQuestionEditDlg::~CQuestionEditDlg() = default;

void CQuestionEditDlg::SetQuestion(CQuestion* pQuestion) {
    m_pQuestion = pQuestion;
}

void CQuestionEditDlg::DoDataExchange(CDataExchange* pDX) {
    CBaseShadowedDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_QUESTION_BIAS, m_nBias);
    DDV_MinMaxUInt(pDX, m_nBias, 0, kMaxBias);
    DDX_Text(pDX, IDC_QUESTION_PROMPT, m_strPrompt);
    DDX_Control(pDX, IDC_QUESTION_BIAS_SPIN, m_wndSpin);
    DDX_Radio(pDX, IDC_QUESTION_TYPE_YESNO, m_nTypeRadio);
}

BOOL CQuestionEditDlg::OnInitDialog() {
    CBaseShadowedDialog::OnInitDialog();
    m_wndSpin.SetRange32(0, kMaxBias);
    if (m_pQuestion != nullptr) {
        m_strPrompt = static_cast<const char*>(m_pQuestion->GetPrompt());
        m_nType = m_pQuestion->GetType();
        // A bias outside 0..100 (a hand-edited file) is shown at the nearest
        // end, so that OK can always pass.
        const double dBias = m_pQuestion->GetBias();
        m_nBias = dBias <= 0.0 ? 0 : dBias >= kMaxBias ? kMaxBias : static_cast<UINT>(dBias);
        if (m_nType == CQuestion::TYPE_YESNO)
            m_nTypeRadio = 0;
        else if (m_nType == CQuestion::TYPE_SCALE)
            m_nTypeRadio = 1;
    }
    UpdateData(FALSE);
    return TRUE;
}

void CQuestionEditDlg::OnTypeYesNo() {
    m_nType = CQuestion::TYPE_YESNO;
}

void CQuestionEditDlg::OnTypeScale() {
    m_nType = CQuestion::TYPE_SCALE;
}

void CQuestionEditDlg::OnBiasKillFocus() {
    UpdateData(TRUE);
}

void CQuestionEditDlg::OnBiasDeltaPos(NMHDR* pNMHDR, LRESULT* pResult) {
    // The bias field, not the spin's own position, holds the value.
    *pResult = 1;
    if (!UpdateData(TRUE))
        return;
    const int nDelta = reinterpret_cast<NMUPDOWN*>(pNMHDR)->iDelta;
    if (nDelta < 0 && m_nBias > 0)
        --m_nBias;
    else if (nDelta > 0 && m_nBias < kMaxBias)
        ++m_nBias;
    UpdateData(FALSE);
}

void CQuestionEditDlg::OnOK() {
    if (m_pQuestion == nullptr)
        return;
    if (!UpdateData(TRUE))
        return;
    m_pQuestion->SetPrompt(m_strPrompt);
    m_pQuestion->SetType(m_nType);
    m_pQuestion->SetBias(static_cast<double>(m_nBias));
    EndDialog(IDOK);
}
