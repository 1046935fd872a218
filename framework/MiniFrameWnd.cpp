// MiniFrameWnd.cpp: CMiniFrameWnd and CMiniDockFrameWnd.
#include "MiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()
// clang-format on

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                           const RECT& rect, CWnd* pParentWnd, UINT /*nID*/) {
    return CFrameWnd::Create(lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nullptr,
                             WS_EX_TOOLWINDOW);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_POPUP | WS_CAPTION;
    if (cs.style & MFS_THICKFRAME)
        cs.style |= WS_THICKFRAME;
    if ((cs.style & MFS_BLOCKSYSMENU) == 0)
        cs.style |= WS_SYSMENU;
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return CFrameWnd::PreCreateWindow(cs);
}

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    const DWORD dwStyle = MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE | MFS_BLOCKSYSMENU;
    if (!CMiniFrameWnd::Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParent))
        return FALSE; // the object is gone
    DWORD dwDockStyle = (dwBarStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI)) | CBRS_FLOATING;
    if (!m_wndDockBar.Create(this, dwDockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        TRACE("CMiniDockFrameWnd::Create: no dock bar.\n");
        DestroyWindow();
        return FALSE;
    }
    // The dock bar is part of this object and goes with it, not by itself.
    m_wndDockBar.m_bAutoDelete = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL /*bNotify*/) {
    if (m_hWnd == nullptr || m_wndDockBar.m_hWnd == nullptr)
        return;
    m_nIdleFlags &= ~idleLayout;
    BOOL bHorz = (m_wndDockBar.m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CSize size = m_wndDockBar.CalcFixedLayout(FALSE, bHorz);
    ::SetWindowPos(m_wndDockBar.m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rect(0, 0, size.cx, size.cy);
    CalcWindowRect(&rect);
    UINT nShow = 0;
    BOOL bBarsShown = m_wndDockBar.GetDockedVisibleCount() > 0;
    if (bBarsShown != ((GetStyle() & WS_VISIBLE) != 0))
        nShow = bBarsShown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rect.Width(), rect.Height(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nShow);
}

void CMiniDockFrameWnd::OnClose() {
    // The bars are hidden, not destroyed: their owner may show them again.
    for (int nPos = 0; nPos < m_wndDockBar.m_arrBars.GetSize(); ++nPos) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(nPos))
            pBar->DelayShow(FALSE);
    }
    RecalcLayout();
}
