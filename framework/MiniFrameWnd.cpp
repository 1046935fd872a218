// MiniFrameWnd.cpp: CMiniFrameWnd and CMiniDockFrameWnd.
#include "MiniFrameWnd.h"

#include "DockContext.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCHITTEST()
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()
// clang-format on

namespace {

bool IsSizingBorder(UINT nHitTest) {
    return nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT;
}

// A system hit code as the mini-frame styles in dwStyle want it.
LRESULT MiniFrameHit(LRESULT nHit, DWORD dwStyle) {
    if (!IsSizingBorder(static_cast<UINT>(nHit)))
        return nHit;
    if (dwStyle & MFS_MOVEFRAME)
        return HTCAPTION;
    if (dwStyle & MFS_4THICKFRAME) {
        if (nHit == HTTOPLEFT || nHit == HTBOTTOMLEFT)
            return HTLEFT;
        if (nHit == HTTOPRIGHT || nHit == HTBOTTOMRIGHT)
            return HTRIGHT;
    }
    return nHit;
}

} // namespace

void AFXAPI AfxCancelModes(HWND hWndRcvr) {
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture != nullptr && hWndCapture != hWndRcvr)
        ::SendMessageA(hWndCapture, WM_CANCELMODE, 0, 0);
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != nullptr && hWndFocus != hWndRcvr && hWndFocus != hWndCapture)
        ::SendMessageA(hWndFocus, WM_CANCELMODE, 0, 0);
}

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                           const RECT& rect, CWnd* pParentWnd, UINT /*nID*/) {
    return CFrameWnd::Create(lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nullptr,
                             WS_EX_TOOLWINDOW);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_POPUP | WS_CAPTION;
    if (cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME))
        cs.style |= WS_THICKFRAME;
    if ((cs.style & MFS_BLOCKSYSMENU) == 0)
        cs.style |= WS_SYSMENU;
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return CFrameWnd::PreCreateWindow(cs);
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point) {
    LRESULT nHit = DefWindowProc(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    return MiniFrameHit(nHit, GetStyle());
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    Default();
    CRect rect(0, 0, 0, 0);
    CalcWindowRect(&rect);
    lpMMI->ptMinTrackSize.x = rect.Width();
    lpMMI->ptMinTrackSize.y = rect.Height();
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
    SyncTitleWithDockBar();
}

void CMiniDockFrameWnd::SyncTitleWithDockBar() {
    // Only a change is set: every WM_SETTEXT repaints the caption.
    CString strDockBar, strFrame;
    m_wndDockBar.GetWindowText(strDockBar);
    GetWindowText(strFrame);
    if (strDockBar == strFrame)
        return;
    SetWindowText(strDockBar);
    // WM_SETTEXT paints the system's caption over a visible frame; a frame
    // that paints its own non-client area gets it back through WM_NCPAINT.
    if (IsWindowVisible())
        RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void CMiniDockFrameWnd::OnClose() {
    // The bars are hidden, not destroyed: their owner may show them again.
    for (int nPos = 0; nPos < m_wndDockBar.m_arrBars.GetSize(); ++nPos) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(nPos))
            pBar->DelayShow(FALSE);
    }
    RecalcLayout();
}

CControlBar* CMiniDockFrameWnd::FirstBar() const {
    for (int nPos = 0; nPos < m_wndDockBar.m_arrBars.GetSize(); ++nPos) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(nPos))
            return pBar;
    }
    return nullptr;
}

LRESULT CMiniDockFrameWnd::OnNcHitTest(CPoint point) {
    // A bar that sizes itself is sized at the borders, whatever the style says.
    CControlBar* pBar = FirstBar();
    DWORD dwStyle = GetStyle();
    if (pBar != nullptr && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        dwStyle &= ~MFS_MOVEFRAME;
    LRESULT nHit = DefWindowProc(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    return MiniFrameHit(nHit, dwStyle);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    CControlBar* pBar = FirstBar();
    CDockContext* pContext = pBar != nullptr ? pBar->m_pDockContext : nullptr;
    if (pContext != nullptr && nHitTest == HTCAPTION) {
        pContext->StartDrag(point);
        return;
    }
    if (pContext != nullptr && IsSizingBorder(nHitTest) && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
        pContext->StartResize(static_cast<int>(nHitTest), point);
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint /*point*/) {
    CControlBar* pBar = FirstBar();
    if (nHitTest == HTCAPTION && pBar != nullptr && pBar->m_pDockContext != nullptr) {
        pBar->m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    // Moving or sizing the frame is no reason to take the owner's activation.
    if (nHitTest == HTCAPTION || IsSizingBorder(nHitTest))
        return MA_NOACTIVATE;
    return CMiniFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void CMiniDockFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    AfxCancelModes(m_hWnd);
    CMiniFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}
