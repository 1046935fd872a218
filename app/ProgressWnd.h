// ProgressWnd.h: CProgressWnd, the modeless progress window of long operations
// on the user-interface thread: a message, a bar and a " Cancel " button. Its
// owner pumps it, polls IsCancelled, destroys and deletes it.
#pragma once

#include "Wnd.h"

#include "framework/Button.h"
#include "framework/Gdi.h"
#include "framework/ProgressCtrl.h"
#include "framework/Static.h"

class CProgressWnd : public CWnd {
public:
    CProgressWnd();
    CProgressWnd(CWnd* pParent, LPCTSTR pszTitle, BOOL bSmooth = FALSE);
    ~CProgressWnd() override;

    BOOL CreateProgressWindow(CWnd* pParent, LPCTSTR pszTitle, BOOL bSmooth = FALSE);
    BOOL MakeModal(LPCTSTR pszTitle = nullptr, BOOL bSmooth = FALSE);
    void SetProgressRange(int nLower, int nUpper, int nStep);
    int SetProgressPos(int nPos);
    // Shows the text as it stands: it is never read as a format. Callers
    // format first; the text is cut to 511 bytes.
    void SetMessageText(LPCTSTR pszText);
    void PumpMessages(BOOL bCancelOnEsc = TRUE);
    BOOL IsCancelled() const { return m_bCancelled; }
    void Cancel();
    void HideWindow();
    void ShowProgressWindow();
    BOOL DestroyWindow() override;

    // The parts the tests look at.
    static const UINT kMessageId = 11, kProgressId = 12, kCancelId = 10;

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // A modal window's cancel closes it by a posted WM_CLOSE; it goes through
    // DestroyWindow so that the disabled ancestor is enabled again first.
    afx_msg void OnClose();
    afx_msg void OnCancelClicked();
    DECLARE_MESSAGE_MAP()

private:
    void SetDefaults();
    // Places the message, the bar and the button for nLines lines of text in
    // a message area nWidth wide, and fits the window around them.
    void Layout(int nLines, int nWidth);
    // The top-most ancestor that MakeModal disabled, given back its input.
    void EnableDisabledAncestor();

    HWND m_hWndDisabledAncestor; // a handle: the window may be gone by the time we re-enable it
    BOOL m_bCancelled;
    BOOL m_bModal;
    int m_nPos;
    int m_nStep;
    int m_nMaxValue;
    int m_nMinValue;
    int m_nNumTextLines;
    CStatic m_wndMessage;
    CProgressCtrl m_wndProgress;
    CButton m_wndCancel;
    CString m_strTitle;
    CString m_strCancelLabel;
    CFont m_font;
    CBrush m_brushBackground; // white, for the children's backgrounds
};
