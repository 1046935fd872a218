// SelectDirDlg.h: CSelectDirDlg, the dialog "Select Directory", with which the
// shortcut tree asks for the folder of a new shortcut: a read-only path box
// and a browse button that opens the shell's folder browser (CDirDialog).
//
// The folder browser has no owner window, so this dialog stays usable under
// it; while a browse runs, OK, Cancel and a second browse do nothing.
#pragma once

#include "ButtonST.h"
#include "FilenameEdit.h"
#include "OXShadowedWnd.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CSelectDirDlg : public COXShadowedWnd<CDialog> {
public:
    explicit CSelectDirDlg(CWnd* pParent = nullptr);

    // After OK: the chosen folder; empty when none was chosen.
    CString GetPath() const { return m_strPath; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    afx_msg void OnBrowse();
    DECLARE_MESSAGE_MAP()

    CBrush m_brushBackground; // white; from OnInitDialog until the window is destroyed
    CString m_strPath;        // the chosen folder
    CButtonST m_btnBrowse;    // button 1106
    CFilenameEdit m_editPath; // box 1104, subclassed in OnInitDialog
    BOOL m_bBrowsing;         // a CDirDialog is open
};
