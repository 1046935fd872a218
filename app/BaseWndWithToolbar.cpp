// BaseWndWithToolbar.cpp: the tree window with a toolbar, and the two toolbars
// that route their buttons' state updates to their owner.
#include "BaseWndWithToolbar.h"

#include "framework/AfxResource.h"

#include <cstdlib>

namespace {

// The toolbar's fixed child id inside the window.
const UINT kToolbarId = 0xE801;
// The window's id is its tree's id plus this.
const UINT kWindowIdOffset = 1000;
// Below this client width or height the window is collapsed and keeps its layout.
const int kMinLayoutExtent = 9;

} // namespace

// ---------------------------------------------------------------------------
// CFrameToolbar

// clang-format off
BEGIN_MESSAGE_MAP(CFrameToolbar, COXCoolToolBar)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CFrameToolbar::OnToolTipText)
    ON_UPDATE_COMMAND_UI_RANGE(0, 0xFFFF, &CFrameToolbar::OnUpdateCmdUI)
END_MESSAGE_MAP()
// clang-format on

INT_PTR CFrameToolbar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    const INT_PTR nHit = COXCoolToolBar::OnToolHitTest(point, pTI);
    if (nHit == -1 || pTI == nullptr)
        return nHit;
    // The framework's bar fills in the text after the line feed; the owner
    // decides instead, asked through OnToolTipText.
    if (pTI->lpszText != nullptr && pTI->lpszText != LPSTR_TEXTCALLBACKA)
        ::free(pTI->lpszText);
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
    return nHit;
}

BOOL CFrameToolbar::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    // The tooltip asks the window under the mouse, this bar; the answer is
    // the owner's.
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || pOwner->GetSafeHwnd() == nullptr)
        return FALSE;
    *pResult = pOwner->SendMessage(WM_NOTIFY, pNMHDR->idFrom, reinterpret_cast<LPARAM>(pNMHDR));
    return TRUE;
}

void CFrameToolbar::OnUpdateCmdUI(CCmdUI* pCmdUI) {
    auto* pOwner = dynamic_cast<CBaseWndWithToolbar*>(GetOwner());
    if (pOwner != nullptr)
        pOwner->OnUpdateToolbarCommand(pCmdUI);
}

// ---------------------------------------------------------------------------
// CDialogToolbar

// clang-format off
BEGIN_MESSAGE_MAP(CDialogToolbar, COXCoolToolBar)
    ON_UPDATE_COMMAND_UI_RANGE(0, 0xFFFF, &CDialogToolbar::OnUpdateCmdUI)
END_MESSAGE_MAP()
// clang-format on

void CDialogToolbar::OnUpdateCmdUI(CCmdUI* pCmdUI) {
    // The dialog's own ON_UPDATE_COMMAND_UI handlers set the button.
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->OnCmdMsg(pCmdUI->m_nID, CN_UPDATE_COMMAND_UI, pCmdUI, nullptr);
}

// ---------------------------------------------------------------------------
// CBaseWndWithToolbar

// clang-format off
BEGIN_MESSAGE_MAP(CBaseWndWithToolbar, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETTINGCHANGE()
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CBaseWndWithToolbar::OnToolTipText)
    ON_COMMAND_RANGE(0, 0xFFFF, &CBaseWndWithToolbar::OnCommandRange)
END_MESSAGE_MAP()
// clang-format on

BOOL CBaseWndWithToolbar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::CreateEx(0, "STATIC", "", dwStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                          pParentWnd, nID + kWindowIdOffset);
}

int CBaseWndWithToolbar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndToolbar.Create(this,
                             WS_VISIBLE | WS_CHILD | CBRS_GRIPPER | CBRS_ALIGN_TOP |
                                 CBRS_BORDER_BOTTOM | CBRS_HIDE_INPLACE,
                             kToolbarId))
        return -1;
    m_wndToolbar.SetBarStyle((m_wndToolbar.GetBarStyle() | CBRS_TOOLTIPS) &
                             ~(CBRS_GRIPPER | CBRS_BORDER_LEFT | CBRS_SIZE_DYNAMIC));
    // The bar sends its commands to the frame it was made in; this window
    // takes them instead, as their handler.
    m_wndToolbar.SetOwner(this);
    m_wndToolbar.SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWnd));
    m_wndToolbar.EnableToolTips(TRUE);
    m_wndToolbar.SetAllButtonsTextFromID(OX_TB_TEXT_TOOLTIP);

    CRect rectClient;
    GetClientRect(&rectClient);
    const UINT nTreeId = static_cast<UINT>(GetDlgCtrlID()) - kWindowIdOffset;
    if (!CreateTree(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rectClient, this,
                    nTreeId)) {
        // A window whose creation fails gets no WM_DESTROY (Wine sends only
        // WM_NCDESTROY down the tree): the bar leaves its frame here.
        m_wndToolbar.DestroyWindow();
        return -1;
    }
    return 0;
}

void CBaseWndWithToolbar::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

void CBaseWndWithToolbar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    CWnd::OnSettingChange(uFlags, lpszSection);
    RecalcLayout();
}

void CBaseWndWithToolbar::OnShowWindow(BOOL bShow, UINT nStatus) {
    CWnd::OnShowWindow(bShow, nStatus);
    if (bShow && m_wndToolbar.GetSafeHwnd() != nullptr) {
        const UINT nToolbarId = GetToolbarId();
        if (nToolbarId != 0) {
            m_wndToolbar.LoadToolBar(nToolbarId);
            m_wndToolbar.ShowWindow(SW_SHOWNOACTIVATE);
        } else {
            m_wndToolbar.ShowWindow(SW_HIDE);
        }
        RecalcLayout();
    }
    CTreeCtrl* pTree = GetTree();
    if (pTree != nullptr && pTree->GetSafeHwnd() != nullptr) {
        pTree->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        pTree->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CBaseWndWithToolbar::RecalcLayout() {
    CTreeCtrl* pTree = GetTree();
    if (pTree == nullptr || pTree->GetSafeHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    if (rectClient.Height() <= kMinLayoutExtent || rectClient.Width() <= kMinLayoutExtent)
        return;
    int nToolbarHeight = 0;
    if (m_wndToolbar.GetSafeHwnd() != nullptr && m_wndToolbar.GetCount() > 0) {
        nToolbarHeight = m_wndToolbar.CalcFixedLayout(FALSE, TRUE).cy;
        m_wndToolbar.MoveWindow(0, 0, rectClient.Width(), nToolbarHeight, TRUE);
    }
    pTree->MoveWindow(0, nToolbarHeight, rectClient.Width(), rectClient.Height() - nToolbarHeight,
                      FALSE);
    pTree->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CBaseWndWithToolbar::OnDestroy() {
    CTreeCtrl* pTree = GetTree();
    if (pTree != nullptr && pTree->GetSafeHwnd() != nullptr)
        pTree->DestroyWindow();
    if (m_wndToolbar.GetSafeHwnd() != nullptr)
        m_wndToolbar.DestroyWindow();
    CWnd::OnDestroy();
}

BOOL CBaseWndWithToolbar::ContinueModal() {
    if (m_wndToolbar.GetSafeHwnd() != nullptr)
        m_wndToolbar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    return CWnd::ContinueModal();
}

void CBaseWndWithToolbar::OnCommandRange(UINT nID) {
    // The answer says whether the derived window knew the command; either
    // way the command ends here.
    OnToolbarCommand(nID);
}

BOOL CBaseWndWithToolbar::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    auto* pTTT = reinterpret_cast<TOOLTIPTEXTA*>(pNMHDR);
    *pResult = 0;
    if (pTTT->uFlags & TTF_IDISHWND) {
        const int nControlId = ::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom));
        if (nControlId == 0)
            return FALSE;
        pTTT->lpszText = MAKEINTRESOURCEA(nControlId);
        pTTT->hinst = AfxGetResourceHandle();
        return TRUE;
    }
    if (pNMHDR->idFrom == 0)
        return FALSE;
    CString strTip;
    strTip.LoadString(static_cast<UINT>(pNMHDR->idFrom));
    const int nLineFeed = strTip.Find('\n');
    if (nLineFeed >= 0)
        strTip = strTip.Left(nLineFeed);
    // The notification's buffer holds 80 characters with the terminator; a
    // longer text is cut there.
    ::lstrcpynA(pTTT->szText, strTip, static_cast<int>(sizeof(pTTT->szText)));
    pTTT->lpszText = pTTT->szText;
    pTTT->hinst = AfxGetResourceHandle();
    return TRUE;
}
