// BaseWndWithToolbar.h: CBaseWndWithToolbar, a child window with a cool toolbar
// across its top and a tree control below it, the base of the tree windows of
// the Access Panel; and the two cool toolbars that send their buttons' state
// updates to their owner: CFrameToolbar to a CBaseWndWithToolbar, CDialogToolbar
// to a dialog's own update handlers.
//
// A derived window supplies the tree, the toolbar's resource id and the command
// handling; the base creates both, lays them out and routes commands and
// tooltips. Every command that reaches the window ends in OnToolbarCommand.
//
// - The toolbar resource is loaded each time the window is shown (ShowWindow);
//   a window created visible shows an empty toolbar until it is shown again.
// - A button's tooltip is the part of its command string before the first line
//   feed, at most 79 characters; the window answers the tooltip's text request
//   (TTN_NEEDTEXTA), which CFrameToolbar passes on from its buttons' tips.
// - The layout leaves both children where they are while the window is 9
//   pixels or less high or wide (a collapsed panel group).
#pragma once

#include "OXCoolToolBar.h"

#include "framework/TreeCtrl.h"
#include "framework/Wnd.h"

class CFrameToolbar : public COXCoolToolBar {
public:
    using COXCoolToolBar::OnUpdateCmdUI;
    // The button under the point, its text left to a request (TTN_NEEDTEXTA)
    // that the bar passes on to its owner.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnUpdateCmdUI(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class CDialogToolbar : public COXCoolToolBar {
public:
    using COXCoolToolBar::OnUpdateCmdUI;

protected:
    afx_msg void OnUpdateCmdUI(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class CBaseWndWithToolbar : public CWnd {
public:
    // The window gets the id nID + 1000; its tree gets nID.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual void RecalcLayout();
    virtual BOOL CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) = 0;
    virtual CTreeCtrl* GetTree() = 0;
    // 0: the window has no toolbar.
    virtual UINT GetToolbarId() = 0;
    virtual BOOL OnToolbarCommand(UINT nID) = 0;
    virtual void OnUpdateToolbarCommand(CCmdUI* pCmdUI) = 0;

    // Keeps the buttons' state current while a modal loop runs on the window.
    BOOL ContinueModal() override;
    CFrameToolbar& GetToolbar() { return m_wndToolbar; }

protected:
    using CWnd::Create;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnDestroy();
    afx_msg void OnCommandRange(UINT nID);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CFrameToolbar m_wndToolbar;
};
