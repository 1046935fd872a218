// DecryptionDlg.h: CDecryptionDlg, the modal dialog "Decryption", which asks
// for the passphrase that opens encrypted recordings and whether this PC is
// to remember it. The caller presets both, runs the dialog and, after OK only,
// hands them to the settings.
#pragma once

#include "OXShadowedWnd.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CDecryptionDlg : public COXShadowedWnd<CDialog> {
public:
    CDecryptionDlg();

    // Blanks around a passphrase are never part of it: they are trimmed on
    // the way in and on the way out.
    void SetPassphrase(LPCTSTR lpszPassphrase);
    CString GetPassphrase();
    void SetSavePassphrase(BOOL bSave) { m_bSavePassphrase = bSave ? 1 : 0; }
    BOOL GetSavePassphrase() const { return m_bSavePassphrase != 0; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strPassphrase;
    int m_bSavePassphrase;
    CBrush m_brushBackground; // white; from OnInitDialog until the window is destroyed
};
