// DecryptionDlg.cpp: the passphrase dialog "Decryption".
#include "DecryptionDlg.h"

#include "resource.h"

#include "framework/DataExchange.h"

BEGIN_MESSAGE_MAP(CDecryptionDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDecryptionDlg::CDecryptionDlg() : COXShadowedWnd<CDialog>(IDD_DECRYPTION), m_bSavePassphrase(0) {}

void CDecryptionDlg::SetPassphrase(LPCTSTR lpszPassphrase) {
    m_strPassphrase = lpszPassphrase;
    m_strPassphrase.Trim(' ');
}

CString CDecryptionDlg::GetPassphrase() {
    m_strPassphrase.Trim(' ');
    return m_strPassphrase;
}

void CDecryptionDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSPHRASE, m_strPassphrase);
    DDX_Check(pDX, IDC_SAVE_PASSPHRASE, m_bSavePassphrase);
}

BOOL CDecryptionDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    return TRUE;
}

HBRUSH CDecryptionDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// The brush goes with the window, not before: the dialog still paints while
// it closes.
void CDecryptionDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushBackground.DeleteObject();
}
