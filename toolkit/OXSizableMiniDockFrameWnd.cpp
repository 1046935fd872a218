// OXSizableMiniDockFrameWnd.cpp: COXSizableMiniDockFrameWnd.
#include "OXSizableMiniDockFrameWnd.h"

#include "OXCoolToolBar.h"
#include "OXMiniFrameSkin.h"
#include "OXMouseHook.h"
#include "OXSizeCtrlBar.h"
#include "OXSkinnedApp.h"
#include "OXSkins.h"

#include "framework/DockContext.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(COXSizableMiniDockFrameWnd, CMiniDockFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(COXSizableMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_SYSCOMMAND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEACTIVATE()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()
// clang-format on

namespace {

// The text of the close item of a bar that only hides when closed.
const UINT kIdsHideBar = 61457;

COXSizableMiniDockFrameWnd* FrameFromHandle(HWND hWnd) {
    CWnd* pWnd = hWnd != nullptr ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    return dynamic_cast<COXSizableMiniDockFrameWnd*>(pWnd);
}

// A skin that draws its own close button shows it hot from the cursor
// position, so the frame the cursor has left is redrawn at once.
void RedrawFrameLeft(HWND hWndLast, HWND hWndNow) {
    COXSizableMiniDockFrameWnd* pLast = FrameFromHandle(hWndLast);
    if (pLast != nullptr && pLast != FrameFromHandle(hWndNow))
        pLast->GetMiniFrameSkin()->DrawCloseButton(pLast);
}

LRESULT CALLBACK MiniFrameMouseHook(int nCode, WPARAM wParam, LPARAM lParam);

// The mouse hook shared by all floating frames, kept while any frame lives.
COXMouseHook g_mouseHook(MiniFrameMouseHook, RedrawFrameLeft, "COXSizableMiniDockFrameWnd");

LRESULT CALLBACK MiniFrameMouseHook(int nCode, WPARAM wParam, LPARAM lParam) {
    return g_mouseHook.OnHook(nCode, wParam, lParam);
}

BOOL IsSizingBorder(UINT nHitTest) {
    return nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT;
}

BOOL MainWindowAllowsTabDocking() {
    CWnd* pMainWnd = AfxGetMainWnd();
    return pMainWnd != nullptr && pMainWnd->SendMessage(WM_QUERYTABDOCKING) != 0;
}

// Brings the application's window forward unless the press is in the
// foreground window already.
void ActivateTopParent(CWnd* pWnd) {
    HWND hForeground = ::GetForegroundWindow();
    if (hForeground != nullptr &&
        (hForeground == pWnd->m_hWnd || ::IsChild(hForeground, pWnd->m_hWnd)))
        return;
    if (CWnd* pTop = pWnd->GetTopLevelParent())
        pTop->SetActiveWindow();
}

} // namespace

void AdjustRectForBarBorders(CRect& rect, DWORD dwBarStyle) {
    const AUX_DATA& aux = AfxGetAuxData();
    if (dwBarStyle & CBRS_BORDER_LEFT)
        rect.left -= aux.cxBorder2;
    if (dwBarStyle & CBRS_BORDER_TOP)
        rect.top -= aux.cyBorder2;
    if (dwBarStyle & CBRS_BORDER_RIGHT)
        rect.right += aux.cxBorder2;
    if (dwBarStyle & CBRS_BORDER_BOTTOM)
        rect.bottom += aux.cyBorder2;
}

COXSizableMiniDockFrameWnd::COXSizableMiniDockFrameWnd()
    : m_bClosing(FALSE), m_nBarMode(OX_MINIFRAME_UNDECIDED), m_pOwnMiniFrameSkin(nullptr),
      m_bHookUser(FALSE) {}

COXSizableMiniDockFrameWnd::~COXSizableMiniDockFrameWnd() {
    delete m_pOwnMiniFrameSkin;
}

BOOL COXSizableMiniDockFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_THICKFRAME | MFS_THICKFRAME;
    cs.style &= ~(MFS_4THICKFRAME | MFS_MOVEFRAME);
    // The short system menu and the close box need WS_SYSMENU, which the
    // framework's floating frame leaves out.
    cs.style |= WS_SYSMENU;
    return CMiniDockFrameWnd::PreCreateWindow(cs);
}

COXMiniFrameSkin* COXSizableMiniDockFrameWnd::GetMiniFrameSkin() {
    return OXGetElementSkin<COXMiniFrameSkinClassic>(&COXSkin::GetMiniFrameSkin,
                                                     m_pOwnMiniFrameSkin);
}

BOOL COXSizableMiniDockFrameWnd::IsMultiBar() const {
    return (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) != 0;
}

CControlBar* COXSizableMiniDockFrameWnd::GetFirstBar() const {
    for (int nPos = 1; nPos < m_wndDockBar.m_arrBars.GetSize(); ++nPos) {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(nPos))
            return pBar;
    }
    return nullptr;
}

BOOL COXSizableMiniDockFrameWnd::SystemMenuHasItems() const {
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    return hMenu != nullptr && ::GetMenuItemCount(hMenu) > 0;
}

int COXSizableMiniDockFrameWnd::AdaptToBar() {
    if (m_nBarMode != OX_MINIFRAME_UNDECIDED)
        return m_nBarMode;
    m_nBarMode = OX_MINIFRAME_ORDINARY;
    CControlBar* pBar = IsMultiBar() ? nullptr : GetFirstBar();
    if (auto* pSizeBar = dynamic_cast<COXSizeControlBar*>(pBar)) {
        m_nBarMode = OX_MINIFRAME_SIZEABLE;
        TrimSystemMenu((pSizeBar->m_dwSizeBarStyle & SCBS_DELETEONCLOSE) == 0);
    } else if (pBar != nullptr && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
        ModifyStyle(0, MFS_4THICKFRAME);
        return m_nBarMode;
    }
    if (m_nBarMode == OX_MINIFRAME_ORDINARY)
        ModifyStyle(WS_THICKFRAME, MFS_MOVEFRAME);
    return m_nBarMode;
}

void COXSizableMiniDockFrameWnd::TrimSystemMenu(BOOL bCloseHides) {
    ::GetSystemMenu(m_hWnd, TRUE);
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (hMenu == nullptr)
        return;
    const UINT kRemoved[] = {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_TASKLIST};
    for (UINT nCmd : kRemoved)
        ::DeleteMenu(hMenu, nCmd, MF_BYCOMMAND);
    for (int nPos = ::GetMenuItemCount(hMenu) - 1; nPos >= 0; --nPos) {
        if (::GetMenuItemID(hMenu, nPos) == 0)
            ::DeleteMenu(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
    }
    CString strHide;
    if (bCloseHides && strHide.LoadString(kIdsHideBar))
        ::ModifyMenuA(hMenu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, strHide);
}

int COXSizableMiniDockFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
    if (CMiniDockFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    m_nBarMode = OX_MINIFRAME_UNDECIDED;
    m_bClosing = FALSE;
    g_mouseHook.AddUser();
    m_bHookUser = TRUE;
    return 1;
}

void COXSizableMiniDockFrameWnd::OnDestroy() {
    if (m_bHookUser) {
        m_bHookUser = FALSE;
        g_mouseHook.RemoveUser();
    }
    CMiniDockFrameWnd::OnDestroy();
}

void COXSizableMiniDockFrameWnd::OnClose() {
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    if (!IsMultiBar()) {
        auto* pSizeBar = dynamic_cast<COXSizeControlBar*>(GetFirstBar());
        if (pSizeBar != nullptr && (pSizeBar->m_dwSizeBarStyle & SCBS_DELETEONCLOSE)) {
            // The frame deletes itself with its window; the bar goes after it.
            DestroyWindow();
            delete pSizeBar;
            return;
        }
    }
    CMiniDockFrameWnd::OnClose();
    m_bClosing = FALSE;
}

void COXSizableMiniDockFrameWnd::OnSize(UINT /*nType*/, int cx, int cy) {
    if (cx == 0 && cy == 0)
        return;
    if (!IsMultiBar()) {
        auto* pSizeBar = dynamic_cast<COXSizeControlBar*>(GetFirstBar());
        if (pSizeBar != nullptr && pSizeBar->IsVisible()) {
            // The floating dock bar lays the bar out overlapping its edges, so
            // the client area is the floating size less that overlap. The bar
            // takes the size that fills the client again; the bar's borders
            // alone would shrink it at every layout this size starts.
            const BOOL bHorz = (m_wndDockBar.m_dwStyle & CBRS_ORIENT_HORZ) != 0;
            const CSize sizeOverlap =
                pSizeBar->m_sizeFloat - m_wndDockBar.CalcFixedLayout(FALSE, bHorz);
            pSizeBar->m_sizeFloat = CSize(cx, cy) + sizeOverlap;
        }
    }
    RecalcLayout(TRUE);
}

LRESULT COXSizableMiniDockFrameWnd::OnNcHitTest(CPoint point) {
    return CMiniDockFrameWnd::OnNcHitTest(point);
}

void COXSizableMiniDockFrameWnd::OnNcPaint() {
    GetMiniFrameSkin()->DrawNonClient(this);
}

BOOL COXSizableMiniDockFrameWnd::OnNcActivate(BOOL bActive) {
    return GetMiniFrameSkin()->OnNcActivate(bActive, this);
}

void COXSizableMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
    GetMiniFrameSkin()->DrawCloseButton(this);
    CMiniDockFrameWnd::OnNcMouseMove(nHitTest, point);
}

void COXSizableMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    const int nMode = AdaptToBar();
    if (nMode == OX_MINIFRAME_SIZEABLE) {
        if (IsSizingBorder(nHitTest)) {
            ActivateTopParent(this);
            Default(); // the system's sizing loop
            return;
        }
        if (nHitTest == HTSYSMENU) {
            TrackSystemMenuBelowIcon();
            return;
        }
    }
    if (nHitTest == HTCLOSE) {
        if (!GetMiniFrameSkin()->DrawCloseButton(this))
            CMiniDockFrameWnd::OnNcLButtonDown(HTCLOSE, point);
        else if (!SystemMenuHasItems())
            CMiniDockFrameWnd::OnNcLButtonDown(HTCAPTION, point);
        // Otherwise the release on the button closes the frame.
        return;
    }
    if (nHitTest == HTCAPTION) {
        ActivateTopParent(this);
        if (IsMultiBar()) {
            Default();
            return;
        }
        CControlBar* pBar = GetFirstBar();
        if (pBar == nullptr || !MainWindowAllowsTabDocking()) {
            CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
            return;
        }
        auto* pSizeBar = dynamic_cast<COXSizeControlBar*>(pBar);
        auto* pCoolBar = DYNAMIC_DOWNCAST(COXCoolToolBar, pBar);
        if (pSizeBar == nullptr && pCoolBar == nullptr) {
            Default();
            return;
        }
        CPoint ptBar(point);
        pBar->ScreenToClient(&ptBar);
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        CRect rectFrame;
        GetWindowRect(&rectFrame);
        ptBar.Offset(rectBar.left - rectFrame.left, rectBar.top - rectFrame.top);
        // From here the bar's own mouse handling carries it.
        if (pCoolBar != nullptr) {
            pCoolBar->StartBarDrag(ptBar);
            return;
        }
        pSizeBar->CalcDragOffset(ptBar);
        pSizeBar->SetCapture();
        pSizeBar->m_bCaptionDragging = TRUE;
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32646))); // IDC_SIZEALL
        return;
    }
    if (IsSizingBorder(nHitTest)) {
        ActivateTopParent(this);
        CControlBar* pBar = GetFirstBar();
        if (pBar != nullptr && pBar->m_pDockContext != nullptr)
            pBar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
        return;
    }
    Default();
}

void COXSizableMiniDockFrameWnd::TrackSystemMenuBelowIcon() {
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (hMenu == nullptr)
        return;
    CPoint point(0, 0);
    ClientToScreen(&point);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    TPMPARAMS params = {sizeof(TPMPARAMS),
                        {rectWindow.left, rectWindow.top, rectWindow.left + 12, point.y}};
    UINT nCmd = static_cast<UINT>(
        ::TrackPopupMenuEx(hMenu, TPM_RETURNCMD, point.x, point.y, m_hWnd, &params));
    if (nCmd != 0)
        SendMessage(WM_SYSCOMMAND, nCmd);
}

void COXSizableMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point) {
    if (nHitTest == HTCLOSE && SystemMenuHasItems()) {
        SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        return;
    }
    CMiniDockFrameWnd::OnNcLButtonUp(nHitTest, point);
}

void COXSizableMiniDockFrameWnd::OnNcRButtonDown(UINT /*nHitTest*/, CPoint point) {
    HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (hMenu == nullptr)
        return;
    UINT nCmd = static_cast<UINT>(
        ::TrackPopupMenu(hMenu, TPM_RETURNCMD, point.x, point.y, 0, m_hWnd, nullptr));
    if (nCmd != 0)
        SendMessage(WM_SYSCOMMAND, nCmd);
}

void COXSizableMiniDockFrameWnd::OnSysCommand(UINT nID, LPARAM lParam) {
    GetMiniFrameSkin()->DrawCaption(this);
    CMiniDockFrameWnd::OnSysCommand(nID, lParam);
}

BOOL COXSizableMiniDockFrameWnd::OnSetCursor(CWnd* /*pWnd*/, UINT nHitTest, UINT /*message*/) {
    LPCSTR lpszCursor = MAKEINTRESOURCEA(32512); // IDC_ARROW
    switch (nHitTest) {
    case HTLEFT:
    case HTRIGHT:
        lpszCursor = MAKEINTRESOURCEA(32644); // IDC_SIZEWE
        break;
    case HTTOP:
    case HTBOTTOM:
        lpszCursor = MAKEINTRESOURCEA(32645); // IDC_SIZENS
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        lpszCursor = MAKEINTRESOURCEA(32642); // IDC_SIZENWSE
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        lpszCursor = MAKEINTRESOURCEA(32643); // IDC_SIZENESW
        break;
    default:
        break;
    }
    ::SetCursor(::LoadCursorA(nullptr, lpszCursor));
    return TRUE;
}

int COXSizableMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    if (AdaptToBar() == OX_MINIFRAME_SIZEABLE && IsSizingBorder(nHitTest))
        return static_cast<int>(Default());
    return CMiniDockFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

void COXSizableMiniDockFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CMiniDockFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

void COXSizableMiniDockFrameWnd::OnInitMenuPopup(CMenu* /*pPopupMenu*/, UINT /*nIndex*/,
                                                 BOOL /*bSysMenu*/) {
    AfxCancelModes(m_hWnd);
}

void COXSizableMiniDockFrameWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CMiniDockFrameWnd::OnWindowPosChanged(lpwndpos);
}
