// XHyperLink.h: CXHyperLink, a static text control that behaves as a web link:
// coloured text (unvisited, visited, under the mouse), underlined while the
// mouse is over it, the hand cursor, a tooltip with the target, and a click
// that opens the target through the shell.
//
// - The control is subclassed from a dialog's static control; the dialog sets
//   the target (and the background) in its initialisation. A link whose target
//   is empty takes its window text as target; a link without text shows its
//   target.
// - The text colours come from the reflected colour request: the parent must
//   pass WM_CTLCOLORSTATIC on to its control (CWnd's and CBaseDialog's
//   handlers do).
// - A click that the shell cannot open is tried once more with the command
//   line registered for ".htm" documents. That command line is built within
//   260 characters; a longer one is not run (the link stays unvisited and the
//   click beeps, as for any target that cannot be opened).
// - When notify-parent is on, a click sends the registered message
//   WM_XHYPERLINK_CLICKED to the parent (wParam the control id, lParam 0).
#pragma once

#include "framework/Gdi.h"
#include "framework/Static.h"
#include "framework/ToolTipCtrl.h"

// Registered at start-up.
extern const UINT WM_XHYPERLINK_CLICKED;

class CXHyperLink : public CStatic {
public:
    enum { ulHover = -1, ulNone = 0, ulAlways = 1 };
    // The size of the buffers of the ".htm" fallback: registry values and the
    // command line, terminator included.
    enum { kCommandBufferSize = 260 };

    CXHyperLink();
    ~CXHyperLink() override;

    void SetURL(LPCTSTR lpszURL);
    CString GetURL() const { return m_strURL; }
    // Stores the colour and makes the solid background brush of it.
    void SetBackgroundColor(COLORREF crBackground);
    COLORREF GetBackgroundColor() const { return m_crBackground; }
    void SetVisited(BOOL bVisited = TRUE);
    BOOL GetVisited() const { return m_bVisited; }
    void SetUnderline(int nUnderline = ulHover);
    int GetUnderline() const { return m_nUnderline; }
    // Empties the text, redraws at once, sets the text and fits the size.
    void SetLinkText(LPCTSTR lpszText);
    // Off: a click opens nothing and counts as successful.
    void EnableURL(BOOL bEnable = TRUE) { m_bGoToTarget = bEnable; }
    void SetNotifyParent(BOOL bNotify = TRUE) { m_bNotifyParent = bNotify; }
    BOOL IsOver() const { return m_bOverControl; }
    COLORREF GetLinkColor() const { return m_crLinkColour; }
    COLORREF GetVisitedColor() const { return m_crVisitedColour; }
    COLORREF GetHoverColor() const { return m_crHoverColour; }
    HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }

    // Opens lpszURL with the shell ("new" or "open"), else through the ".htm"
    // command line; the shell's or the launcher's result (above 32: opened).
    // 36 for an empty target.
    static INT_PTR GotoURL(LPCTSTR lpszURL, int nShowCmd, BOOL bAlwaysOpenNew);
    // The ".htm" command line for lpszTarget from the registered command
    // lpszCommand: cut before its "%1" placeholder (quoted or not), then a
    // blank and the target appended. FALSE, with strCommandLine empty, when
    // the result would not fit kCommandBufferSize.
    static BOOL BuildCommandLine(LPCTSTR lpszCommand, LPCTSTR lpszTarget, CString& strCommandLine);
    // The unnamed value of a key into a kCommandBufferSize buffer, always
    // terminated; the error of opening or reading the key.
    static LONG ReadRegistryDefault(HKEY hKey, LPCTSTR lpszSubKey, LPTSTR lpszBuffer);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL DestroyWindow() override;

protected:
    void PreSubclassWindow() override;

    void AdjustSize();
    void LoadHandCursor();
    void NotifyParent();

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClicked();
    DECLARE_MESSAGE_MAP()

    COLORREF m_crLinkColour;
    COLORREF m_crVisitedColour;
    COLORREF m_crHoverColour;
    COLORREF m_crBackground; // (COLORREF)-1: none
    CBrush m_Brush;          // made by SetBackgroundColor
    BOOL m_bOverControl;
    BOOL m_bVisited;
    int m_nUnderline;
    BOOL m_bAdjustToFit;
    CString m_strURL;
    CFont m_UnderlineFont;
    CFont m_StdFont;
    HCURSOR m_hLinkCursor; // owned
    CToolTipCtrl m_ToolTip;
    int m_nTimerID; // also the hover timer's period in milliseconds
    BOOL m_bGoToTarget;
    BOOL m_bNotifyParent;
    BOOL m_bShowToolTip;
    BOOL m_bNewWindow;
};
