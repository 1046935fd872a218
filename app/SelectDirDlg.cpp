// SelectDirDlg.cpp: the dialog "Select Directory".
#include "SelectDirDlg.h"

#include "DirDialog.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CSelectDirDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_SELECTDIR_BROWSE, &CSelectDirDlg::OnBrowse)
END_MESSAGE_MAP()

CSelectDirDlg::CSelectDirDlg(CWnd* pParent)
    : COXShadowedWnd<CDialog>(IDD_SELECT_DIR), m_bBrowsing(FALSE) {
    m_pParentWnd = pParent;
}

void CSelectDirDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SELECTDIR_BROWSE, m_btnBrowse);
    DDX_FilenameEdit(pDX, IDC_SELECTDIR_PATH, m_strPath);
}

BOOL CSelectDirDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    m_btnBrowse.SetIcon(IDI_BROWSE_FOLDER, CButtonST::BTNST_AUTO_DARKER);
    m_btnBrowse.SetTooltipText(IDS_SELECTDIR_BROWSE_TIP);
    m_btnBrowse.DrawTransparent();
    m_editPath.SubclassDlgItem(IDC_SELECTDIR_PATH, this);
    m_editPath.SetPath(m_strPath);
    return TRUE;
}

void CSelectDirDlg::OnBrowse() {
    UpdateData(TRUE);
    if (m_bBrowsing)
        return;
    m_bBrowsing = TRUE;
    CDirDialog dlg;
    dlg.m_strTitle.LoadString(IDS_SELECTDIR_BROWSE_TITLE);
    if (dlg.DoBrowse() == 1) {
        m_strPath = dlg.m_strSelDir;
        // The dialog may have gone while the browser was open (its owner
        // closed it); the path is kept all the same.
        if (::IsWindow(m_editPath.m_hWnd))
            m_editPath.SetPath(m_strPath);
    }
    m_bBrowsing = FALSE;
}

void CSelectDirDlg::OnOK() {
    if (m_bBrowsing)
        return;
    COXShadowedWnd<CDialog>::OnOK();
}

void CSelectDirDlg::OnCancel() {
    if (m_bBrowsing)
        return;
    COXShadowedWnd<CDialog>::OnCancel();
}

HBRUSH CSelectDirDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// The brush goes with the window, not before: the dialog still paints while
// it closes.
void CSelectDirDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushBackground.DeleteObject();
}
