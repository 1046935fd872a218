// MiniFrameWnd.h: CMiniFrameWnd, a small tool-window frame, and
// CMiniDockFrameWnd, the floating frame in which a control bar floats.
//
// Classes: CMiniFrameWnd, CMiniDockFrameWnd.
//
// A floating frame is a popup tool window owned by its dock site; it holds
// one floating CDockBar (m_wndDockBar, id AFX_IDW_DOCKBAR_FLOAT, embedded) and
// takes the size of that dock bar's rows. It is shown exactly while a bar in
// it is visible; closing it hides its bars (they can be shown again with
// ShowControlBar). Like every frame it deletes itself with its window. It is
// made by CFrameWnd::FloatControlBar and destroyed by its dock bar when the
// last bar leaves it.
//
// Mouse: MFS_MOVEFRAME makes the sizing borders hit-test as the caption (the
// whole frame moves), MFS_4THICKFRAME turns the corners into the left and
// right sides. A floating frame never lets the system move or size it: a
// press on its caption drags its first bar (CDockContext::StartDrag, which
// can dock it again), a press on a sizing border of a bar with
// CBRS_SIZE_DYNAMIC resizes through the bar (StartResize), and a double click
// on the caption docks the bar back. Presses on its non-client area do not
// take the activation from the owner frame.
//
// Status: no own caption painting, no close handling beyond the system's.
#pragma once

#include "DockBar.h"
#include "FrameWnd.h"

// Mini-frame styles beside the window styles.
#define MFS_SYNCACTIVE 0x00000100L   // active with its owner
#define MFS_4THICKFRAME 0x00000200L  // sizes only at its four sides
#define MFS_THICKFRAME 0x00000400L   // a sizing border
#define MFS_MOVEFRAME 0x00000800L    // the whole frame moves
#define MFS_BLOCKSYSMENU 0x00001000L // no system menu

// Ends the modes of other windows before hWndRcvr shows a menu or a modal
// loop of its own: the window holding the mouse capture and the focus window
// (a dropped-down combo box) get WM_CANCELMODE, unless they are hWndRcvr.
void AFXAPI AfxCancelModes(HWND hWndRcvr);

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd() = default;
    // A popup tool window owned by pParentWnd; MFS_THICKFRAME gives it a
    // sizing border. On failure the object has deleted itself.
    virtual BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd = nullptr, UINT nID = 0);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    // A sizing border is no reason for the system's least window size: the
    // frame may be as small as the bar in it.
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);

    DECLARE_MESSAGE_MAP()
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // Makes the frame, owned by pParent, and its dock bar with dwBarStyle's
    // side (CBRS_ALIGN_TOP or CBRS_ALIGN_LEFT) and CBRS_FLOAT_MULTI bit. On
    // failure the object has deleted itself.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // Lays the dock bar out, fits the frame around it, shows the frame
    // while a bar in it is visible, and takes the dock bar's text as title.
    void RecalcLayout(BOOL bNotify = TRUE) override;

    CDockBar m_wndDockBar; // the floating dock bar; its window is a child of ours

protected:
    afx_msg void OnClose();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()

private:
    // The first bar in the dock bar, or null.
    CControlBar* FirstBar() const;
    // The frame's title is its dock bar's window text (CDockBar::TakeTitleOf).
    void SyncTitleWithDockBar();
};
