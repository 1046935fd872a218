// SearchDlg.h: CSearchDlg, the modal dialog "Search for specific calls", which
// asks the call list's find for a text, the column to look in and the call
// direction. The call list performs the find itself.
#pragma once

#include "OXShadowedWnd.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CSearchDlg : public COXShadowedWnd<CDialog> {
public:
    enum { kInUserId = 0, kInCallerId = 1, kInComment = 2, kInAll = 3 };
    enum { kDirectionBoth = 0, kDirectionIncoming = 1, kDirectionOutgoing = 2 };
    // The longest text the find takes.
    static constexpr int kMaxSearchText = 1024;

    CSearchDlg();

    // After OK: the column index (kIn...).
    int GetSearchIn() const { return m_nSearchIn; }
    // After OK: the text to find, upper-cased in place, as the find compares it.
    CString GetSearchText();
    // After OK: the direction index (kDirection...).
    int GetDirection() const { return m_nDirection; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int m_nSearchIn;
    CString m_strSearchFor;
    CBrush m_brushBackground; // white; from OnInitDialog until the window is destroyed
    int m_nDirection;
};
