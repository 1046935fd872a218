// ControlBar.cpp: CControlBar.
#include "ControlBar.h"

#include "DockBar.h"
#include "DockContext.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()
// clang-format on

const AUX_DATA& AFXAPI AfxGetAuxData() {
    // Read on first use, not at load time, when user32 may not be up yet.
    static const AUX_DATA data = {2 * ::GetSystemMetrics(SM_CXBORDER),
                                  2 * ::GetSystemMetrics(SM_CYBORDER)};
    return data;
}

CControlBar::CControlBar()
    : m_dwStyle(0), m_dwDockStyle(0), m_pDockSite(nullptr), m_pDockBar(nullptr),
      m_pDockContext(nullptr), m_nStateFlags(0) {}

CControlBar::~CControlBar() {
    LeaveDockSite();
    delete m_pDockContext;
}

void CControlBar::LeaveDockSite() {
    if (m_pDockBar != nullptr) {
        CDockBar* pDockBar = m_pDockBar;
        m_pDockBar = nullptr;
        pDockBar->RemoveControlBar(this);
    }
    if (m_pDockSite != nullptr) {
        POSITION pos = m_pDockSite->m_listControlBars.Find(this);
        if (pos != nullptr)
            m_pDockSite->m_listControlBars.RemoveAt(pos);
        m_pDockSite = nullptr;
    }
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),
                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    m_dwStyle = static_cast<DWORD>(cs.style) & CBRS_ALL;
    cs.style &= ~CBRS_GRIPPER;
    return CWnd::PreCreateWindow(cs);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // A bar made straight in a frame docks there; one made in a dock bar
    // belongs to the dock bar's frame.
    CWnd* pParent = GetParent();
    CFrameWnd* pFrame = pParent != nullptr ? pParent->AsFrameWnd() : nullptr;
    if (pFrame == nullptr)
        pFrame = GetParentFrame();
    if (pFrame != nullptr) {
        m_pDockSite = pFrame;
        m_pDockSite->m_listControlBars.AddTail(this);
    }
    return 0;
}

void CControlBar::OnDestroy() {
    // A drag or resize of this bar still running gives the desktop back now.
    if (m_pDockContext != nullptr &&
        (m_pDockContext->m_pDC != nullptr || m_pDockContext->m_bLocked))
        m_pDockContext->CancelLoop();
    LeaveDockSite();
    CWnd::OnDestroy();
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int /*nLength*/, DWORD nMode) {
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL /*bHorz*/) const {
    const AUX_DATA& aux = AfxGetAuxData();
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += aux.cxBorder2;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += aux.cyBorder2;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= aux.cxBorder2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= aux.cyBorder2;
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == nullptr && (dwDockStyle & CBRS_ALIGN_ANY) != 0)
        m_pDockContext = new CDockContext(this);
}

BOOL CControlBar::IsFloating() const {
    return m_pDockBar != nullptr && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const {
    if (m_nStateFlags & delayShow)
        return TRUE;
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL bShow) {
    // A wish that matches the window cancels an earlier opposite wish.
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
    DWORD dwStyle = GetStyle();
    if ((m_nStateFlags & (delayHide | delayShow)) == 0)
        return dwStyle;
    BOOL bShow = (m_nStateFlags & delayShow) != 0;
    dwStyle = bShow ? (dwStyle | WS_VISIBLE) : (dwStyle & ~WS_VISIBLE);
    if (lpLayout != nullptr && lpLayout->hDWP == nullptr)
        return dwStyle; // a query: the wish waits for the real layout
    m_nStateFlags &= ~(delayHide | delayShow);
    UINT nFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                  (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (lpLayout != nullptr)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0, nFlags);
    else
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, nFlags);
    return dwStyle;
}

// A bar straight in a frame (and each dock bar) takes its strip of the free
// space on the side its style names, as long as its CalcDynamicLayout asks,
// at most all of it.
LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD dwStyle = RecalcDelayShow(pLayout);
    if ((dwStyle & WS_VISIBLE) == 0 || (m_dwStyle & CBRS_ALIGN_ANY) == 0)
        return 0;
    CRect rect(pLayout->rect);
    CSize sizeAvail = rect.Size();
    DWORD nMode = pLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        nMode |= LM_HORZ | LM_MRUWIDTH;
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        nMode |= LM_HORZ | LM_HORZDOCK;
    else
        nMode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, nMode);
    size.cx = std::min(size.cx, sizeAvail.cx);
    size.cy = std::min(size.cy, sizeAvail.cy);

    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        pLayout->sizeTotal.cy += size.cy;
        pLayout->sizeTotal.cx = std::max(pLayout->sizeTotal.cx, size.cx);
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            pLayout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            pLayout->rect.bottom -= size.cy;
        }
    } else {
        pLayout->sizeTotal.cx += size.cx;
        pLayout->sizeTotal.cy = std::max(pLayout->sizeTotal.cy, size.cy);
        if (m_dwStyle & CBRS_ALIGN_LEFT) {
            pLayout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            pLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    AfxRepositionWindow(pLayout, m_hWnd, &rect);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if ((GetStyle() & WS_VISIBLE) == 0)
        return 0;
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = pOwner != nullptr ? pOwner->AsFrameWnd() : nullptr;
    if (pTarget == nullptr)
        pTarget = GetParentFrame();
    if (pTarget != nullptr)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

void CControlBar::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    if (m_pDockContext == nullptr || m_pDockBar == nullptr) {
        Default();
        return;
    }
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
}

void CControlBar::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) {
    if (m_pDockContext == nullptr || m_pDockBar == nullptr) {
        Default();
        return;
    }
    m_pDockContext->ToggleDocking();
}
