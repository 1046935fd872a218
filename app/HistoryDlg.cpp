// HistoryDlg.cpp: the player's list of played calls.
#include "HistoryDlg.h"

#include "PlayerForm.h"
#include "resource.h"

#include "framework/DataExchange.h"

#include <vector>

namespace {

// "<base name>.zel": the file name without its folder and extension.
CString LineText(const char* path) {
    CString name = path;
    int iSlash = name.ReverseFind('\\');
    int iForward = name.ReverseFind('/');
    if (iForward > iSlash)
        iSlash = iForward;
    name = name.Mid(iSlash + 1);
    int iDot = name.ReverseFind('.');
    if (iDot >= 0)
        name.Truncate(iDot);
    return name + ".zel";
}

} // namespace

BEGIN_MESSAGE_MAP(CHistoryDlg, CDialog)
ON_LBN_SELCHANGE(IDC_HISTORY_LIST, &CHistoryDlg::OnSelChange)
ON_LBN_DBLCLK(IDC_HISTORY_LIST, &CHistoryDlg::OnDblClk)
ON_BN_CLICKED(IDC_PLAY, &CHistoryDlg::OnPlay)
ON_BN_CLICKED(IDC_REMOVE, &CHistoryDlg::OnRemove)
ON_BN_CLICKED(IDC_HISTORY_CLEAR, &CHistoryDlg::OnClear)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CHistoryDlg::CHistoryDlg(CWnd* pParent, CPlayerForm* pPlayer)
    : COXShadowedWnd<CDialog>(IDD_HISTORY), m_paths(0, 10), m_pPlayer(pPlayer) {
    m_pParentWnd = pParent;
}

void CHistoryDlg::SetHistoryList(const CKWArray<CKWString>& paths) {
    m_paths.Copy(paths);
}

void CHistoryDlg::GetHistoryList(CKWArray<CKWString>& paths) const {
    paths.Copy(m_paths);
}

void CHistoryDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HISTORY_LIST, m_list);
}

BOOL CHistoryDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    if (m_brushWhite.GetSafeHandle() == nullptr)
        m_brushWhite.CreateSolidBrush(RGB(255, 255, 255));
    for (int i = 0; i < m_paths.GetSize(); ++i)
        m_list.AddString(LineText(m_paths.GetAt(i)));
    GetDlgItem(IDC_HISTORY_CLEAR)->EnableWindow(m_paths.GetSize() > 0);
    return TRUE;
}

void CHistoryDlg::UpdateButtons() {
    const int nSelected = m_list.GetSelCount();
    GetDlgItem(IDC_PLAY)->EnableWindow(nSelected == 1);
    GetDlgItem(IDC_REMOVE)->EnableWindow(nSelected >= 1);
    GetDlgItem(IDC_HISTORY_CLEAR)->EnableWindow(m_paths.GetSize() > 0);
}

void CHistoryDlg::OnSelChange() {
    UpdateButtons();
}

void CHistoryDlg::OnDblClk() {
    if (m_list.GetSelCount() == 1)
        OnPlay();
}

void CHistoryDlg::OnPlay() {
    // One line only: with several selected no line is "the" call to play.
    int nLine = -1;
    if (m_list.GetSelCount() != 1 || m_list.GetSelItems(1, &nLine) != 1)
        return;
    EndDialog(IDOK);
    const CKWString path = m_paths.GetAt(nLine);
    if (m_pPlayer != nullptr && path.GetLength() > 0)
        m_pPlayer->LoadAndShow(path, true);
}

void CHistoryDlg::OnRemove() {
    const int nSelected = m_list.GetSelCount();
    if (nSelected <= 0)
        return;
    std::vector<int> lines(static_cast<size_t>(nSelected));
    const int nGot = m_list.GetSelItems(nSelected, lines.data());
    // From the last line up, so that the lines still to go keep their numbers.
    for (int i = nGot - 1; i >= 0; --i) {
        m_list.DeleteString(static_cast<UINT>(lines[static_cast<size_t>(i)]));
        m_paths.RemoveAt(lines[static_cast<size_t>(i)]);
    }
    UpdateButtons();
}

void CHistoryDlg::OnClear() {
    m_list.ResetContent();
    m_paths.RemoveAll();
    UpdateButtons();
}

HBRUSH CHistoryDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushWhite.GetSafeHandle());
}

void CHistoryDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushWhite.DeleteObject();
}
