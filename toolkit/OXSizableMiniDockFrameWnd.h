// OXSizableMiniDockFrameWnd.h: COXSizableMiniDockFrameWnd, the floating frame
// of the main frame's bars. For a sizeable bar it is a resizable tool window
// with a short system menu whose caption starts the bar's live caption drag
// and whose border sets the bar's floating size; for other bars it moves as a
// whole like the framework's floating frame. The mini-frame skin paints its
// non-client area.
//
// Classes: COXSizableMiniDockFrameWnd; AdjustRectForBarBorders.
//
// A shared mouse hook (counted per frame, so it stays while any floating
// frame lives) takes the hot state off the close button of the frame the
// cursor has left; it always passes the event on to the next hook.
#pragma once

#include "framework/MiniFrameWnd.h"

class COXMiniFrameSkin;

// Bar modes of the frame (m_nBarMode).
#define OX_MINIFRAME_UNDECIDED 0
#define OX_MINIFRAME_ORDINARY 1
#define OX_MINIFRAME_SIZEABLE 2

class COXSizableMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(COXSizableMiniDockFrameWnd)
public:
    COXSizableMiniDockFrameWnd();
    ~COXSizableMiniDockFrameWnd() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    COXMiniFrameSkin* GetMiniFrameSkin();
    // Decides once, from the first bar, how the frame behaves; answers the mode.
    int AdaptToBar();

    BOOL m_bClosing;
    int m_nBarMode;
    COXMiniFrameSkin* m_pOwnMiniFrameSkin; // owned: Classic skin of an unskinned application

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);

    DECLARE_MESSAGE_MAP()

private:
    BOOL IsMultiBar() const;
    // The first bar in the dock bar's array, or null.
    CControlBar* GetFirstBar() const;
    BOOL SystemMenuHasItems() const;
    // The system's menu less the window-state items and separators; with
    // bCloseHides the close item says that closing hides the bar.
    void TrimSystemMenu(BOOL bCloseHides);
    void TrackSystemMenuBelowIcon();

    BOOL m_bHookUser; // this frame's window counts among the mouse hook's users
};

// Moves each edge of rect out by B2x (B2y) where dwBarStyle has its border bit.
void AdjustRectForBarBorders(CRect& rect, DWORD dwBarStyle);
