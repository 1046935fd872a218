// OXSizeCtrlBar.cpp: COXSizeControlBar.
#include "OXSizeCtrlBar.h"

#include "OXDockTabCtrl.h"
#include "OXDockbarSkin.h"
#include "OXDragDockContext.h"
#include "OXMouseHook.h"
#include "OXSizableMiniDockFrameWnd.h"
#include "OXSizeDockBar.h"
#include "OXSkinnedApp.h"
#include "OXSkins.h"

#include "framework/WinApp.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(COXSizeControlBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(COXSizeControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_CONTEXTMENU()
    ON_WM_SYSCOMMAND()
    ON_WM_CAPTURECHANGED()
    ON_COMMAND(ID_SIZEBAR_HIDE, &COXSizeControlBar::OnHideBar)
    ON_COMMAND(ID_SIZEBAR_ALLOWDOCKING, &COXSizeControlBar::OnAllowDocking)
    ON_MESSAGE(WM_SIZEBAR_FILLCONTEXTMENU, &COXSizeControlBar::OnFillContextMenu)
    ON_MESSAGE(WM_SIZEBAR_FLOATED, &COXSizeControlBar::OnFloated)
END_MESSAGE_MAP()
// clang-format on

namespace {

const UINT kCaptionRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;

// Bars created with SCBS_AUTODELETE; the array exists while it holds any.
CPtrArray* g_pAutoDeleteBars = nullptr;

COXSizeControlBar* SizeBarFromHandle(HWND hWnd) {
    CWnd* pWnd = hWnd != nullptr ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    return dynamic_cast<COXSizeControlBar*>(pWnd);
}

// The skins draw hot buttons from the cursor position, so a bar the cursor
// has just left must be redrawn at once to lose its hot look.
void RedrawBarLeft(HWND hWndLast, HWND hWndNow) {
    COXSizeControlBar* pLast = SizeBarFromHandle(hWndLast);
    if (pLast != nullptr && pLast != SizeBarFromHandle(hWndNow))
        pLast->RedrawCaptionButtons();
}

LRESULT CALLBACK SizeBarMouseHook(int nCode, WPARAM wParam, LPARAM lParam);

// The mouse hook shared by all sizeable bars, kept while any bar window lives.
COXMouseHook g_mouseHook(SizeBarMouseHook, RedrawBarLeft, "COXSizeControlBar");

LRESULT CALLBACK SizeBarMouseHook(int nCode, WPARAM wParam, LPARAM lParam) {
    return g_mouseHook.OnHook(nCode, wParam, lParam);
}

BOOL MainWindowAllowsTabDocking() {
    CWnd* pMainWnd = AfxGetMainWnd();
    return pMainWnd != nullptr && pMainWnd->SendMessage(WM_QUERYTABDOCKING) != 0;
}

COXDockTabCtrl* TabsOf(COXSizeDockBar* pDockBar) {
    return pDockBar != nullptr && pDockBar->m_wndTabs.m_hWnd != nullptr ? &pDockBar->m_wndTabs
                                                                        : nullptr;
}

} // namespace

BOOL IsSizeControlBar(const CObject* pObject) {
    return pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(COXSizeControlBar));
}

COXSizeControlBar::COXSizeControlBar(DWORD dwSizeBarStyle)
    : m_sizeFloat(0, 0), m_sizeHorzDock(0, 0), m_sizeVertDock(0, 0), m_sizeBeforeMaximize(0, 0),
      m_dwSavedDockStyle(0), m_dwSizeBarStyle(dwSizeBarStyle), m_sizeLast(65535, 65535),
      m_nLastFloatState(OX_SIZEBAR_NOT_YET_SHOWN), m_bCaptionDragging(FALSE), m_bDragPending(FALSE),
      m_nLastTabIndex(-1), m_rectCaption(0, 0, 0, 0), m_rectCloseBtn(0, 0, 0, 0),
      m_rectResizeBtn(0, 0, 0, 0), m_ptDragOffset(0, 0), m_bFramed(FALSE),
      m_nPressedButton(OX_SIZEBAR_NOBUTTON), m_bMaximized(FALSE), m_bActive(FALSE),
      m_ptCaptionDown(0, 0), m_pOwnSkin(nullptr), m_bHookUser(FALSE) {
    if (m_dwSizeBarStyle & SCBS_AUTODELETE) {
        if (g_pAutoDeleteBars == nullptr)
            g_pAutoDeleteBars = new CPtrArray;
        g_pAutoDeleteBars->Add(this);
    }
}

COXSizeControlBar::~COXSizeControlBar() {
    // The window goes while this object is still whole, so that WM_DESTROY
    // reaches OnDestroy and the hook count stays right.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    if ((m_dwSizeBarStyle & SCBS_AUTODELETE) && g_pAutoDeleteBars != nullptr) {
        for (INT_PTR i = g_pAutoDeleteBars->GetSize() - 1; i >= 0; --i) {
            if (g_pAutoDeleteBars->GetAt(i) == this) {
                g_pAutoDeleteBars->RemoveAt(i);
                break;
            }
        }
        if (g_pAutoDeleteBars->GetSize() == 0) {
            delete g_pAutoDeleteBars;
            g_pAutoDeleteBars = nullptr;
        }
    }
    delete m_pOwnSkin;
    // CControlBar's destructor deletes the dock context.
}

void COXSizeControlBar::DestroyAutoDeleteBars(CFrameWnd* pFrame) {
    if (g_pAutoDeleteBars == nullptr)
        return;
    // Deleting a bar removes it from the array (and the last one deletes the
    // array), so the walk runs backwards and re-reads the array each time.
    for (INT_PTR i = g_pAutoDeleteBars->GetSize() - 1; g_pAutoDeleteBars != nullptr && i >= 0;
         --i) {
        if (i >= g_pAutoDeleteBars->GetSize())
            continue;
        auto* pBar = static_cast<COXSizeControlBar*>(g_pAutoDeleteBars->GetAt(i));
        if (pBar->m_hWnd != nullptr && ::IsWindow(pBar->m_hWnd) &&
            pBar->GetTopLevelFrame() == pFrame)
            pBar->DestroyWindow();
        if (pBar->m_hWnd == nullptr || !::IsWindow(pBar->m_hWnd))
            delete pBar;
    }
}

BOOL COXSizeControlBar::Create(CWnd* pParentWnd, LPCTSTR lpszTitle, UINT nID, DWORD dwStyle,
                               const RECT& rect) {
    return Create(nullptr, lpszTitle, dwStyle, rect, pParentWnd, nID, nullptr);
}

BOOL COXSizeControlBar::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                               const RECT& rect, CWnd* pParentWnd, UINT nID,
                               CCreateContext* pContext) {
    m_dwStyle = dwStyle & CBRS_ALL;
    CRect rectBar(rect);
    if (rectBar == CFrameWnd::rectDefault && pParentWnd != nullptr) {
        // Right half, bottom quarter of the parent's client area.
        pParentWnd->GetClientRect(&rectBar);
        rectBar.left = rectBar.right - rectBar.right / 2;
        rectBar.top = rectBar.bottom - rectBar.bottom / 4;
    }
    m_sizeFloat = rectBar.Size();
    m_sizeHorzDock = rectBar.Size();
    m_sizeVertDock = CSize(rectBar.Height(), rectBar.Width());
    return CWnd::Create(lpszClassName, lpszWindowName, dwStyle | WS_CLIPCHILDREN, rectBar,
                        pParentWnd, nID, pContext);
}

void COXSizeControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == nullptr)
        m_pDockContext = new COXDragDockContext(this);
    if (m_hWndOwner == nullptr)
        SetOwner(GetParent());
}

CSize COXSizeControlBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL bHorz) {
    if (IsFloating())
        return m_sizeFloat;
    return bHorz ? m_sizeHorzDock : m_sizeVertDock;
}

void COXSizeControlBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {
    HWND hFocus = ::GetFocus();
    BOOL bActive = hFocus != nullptr && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
    if (bActive != m_bActive)
        SetActive(bActive, FALSE);
}

BOOL COXSizeControlBar::IsBarFloating() const {
    return m_pDockBar == nullptr || (m_dwStyle & CBRS_FLOATING) != 0;
}

COXDockbarSkin* COXSizeControlBar::GetDockbarSkin() {
    return OXGetElementSkin<COXDockbarSkinClassic>(&COXSkin::GetDockbarSkin, m_pOwnSkin);
}

void COXSizeControlBar::UpdateCaptionRects() {
    GetDockbarSkin()->LayoutCaption(this);
}

void COXSizeControlBar::RedrawCaptionButtons() {
    CWindowDC dc(this);
    DrawCloseButton(&dc);
    DrawResizeButton(&dc);
}

BOOL COXSizeControlBar::DrawCaptionArea(CDC* pDC) {
    GetDockbarSkin()->DrawGripper(pDC, this);
    return TRUE;
}

BOOL COXSizeControlBar::DrawCloseButton(CDC* pDC) {
    GetDockbarSkin()->DrawCloseButton(pDC, this);
    return TRUE;
}

BOOL COXSizeControlBar::DrawResizeButton(CDC* pDC) {
    GetDockbarSkin()->DrawResizeButton(pDC, this);
    return TRUE;
}

void COXSizeControlBar::OnBarSizeChanged(int /*nWidth*/, int /*nHeight*/, BOOL /*bFloating*/,
                                         int /*nMask*/) {}

void COXSizeControlBar::PaintNonClientArea() {
    CWindowDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);
    dc.IntersectClipRect(&rectWindow);

    COXDockbarSkin* pSkin = GetDockbarSkin();
    pSkin->DrawNonClientArea(&dc, rectWindow, this);
    UpdateCaptionRects();
    if (HasGripper())
        DrawCaptionArea(&dc);
    if (HasCloseButton())
        DrawCloseButton(&dc);
    if (HasResizeButton())
        DrawResizeButton(&dc);
    if (m_bFramed) {
        CBrush brush(pSkin->GetBorderColor());
        CRect rectFrame(rectClient);
        rectFrame.InflateRect(1, 1);
        dc.FrameRect(&rectFrame, &brush);
    }
}

COXDockTabCtrl* COXSizeControlBar::GetOwningTabCtrl() const {
    COXDockTabCtrl* pTabs = TabsOf(dynamic_cast<COXSizeDockBar*>(m_pDockBar));
    return pTabs != nullptr && pTabs->FindBar(const_cast<COXSizeControlBar*>(this)) >= 0 ? pTabs
                                                                                         : nullptr;
}

BOOL COXSizeControlBar::CanResize() {
    auto* pDockBar = dynamic_cast<COXSizeDockBar*>(m_pDockBar);
    if (pDockBar == nullptr)
        return FALSE;
    COXDockTabCtrl* pTabs = TabsOf(pDockBar);
    if (pTabs != nullptr && pTabs->GetItemCount() > 0)
        return FALSE;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    return pDockBar->CountOtherBarsInRow(this, rectWindow) > 0;
}

void COXSizeControlBar::SetMaximizedState(BOOL bMaximized) {
    if (bMaximized == m_bMaximized)
        return;
    m_bMaximized = bMaximized;
    RedrawWindow(&m_rectResizeBtn, nullptr, kCaptionRedraw);
}

void COXSizeControlBar::SetActive(BOOL bActive, BOOL bDeactivateOthers) {
    m_bActive = bActive;
    CFrameWnd* pFrame = IsBarFloating() ? GetTopLevelFrame() : GetParentFrame();
    if (pFrame == nullptr)
        pFrame = m_pDockSite;

    auto focusIsInBar = [this]() {
        HWND hFocus = ::GetFocus();
        return hFocus != nullptr && (hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus));
    };
    if (bActive && !focusIsInBar()) {
        for (HWND hWnd = m_hWnd; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_CHILD)) {
            ::SetFocus(hWnd);
            if (focusIsInBar())
                break;
        }
    }
    if (bActive && bDeactivateOthers && pFrame != nullptr) {
        POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
        while (pos != nullptr) {
            auto* pOther = dynamic_cast<COXSizeControlBar*>(
                static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos)));
            if (pOther != nullptr && pOther != this && pOther->IsActive())
                pOther->SetActive(FALSE, FALSE);
        }
    }
    RedrawWindow(&m_rectCaption, nullptr, kCaptionRedraw);
}

void COXSizeControlBar::ShowBar(BOOL bShow) {
    if ((IsVisible() != FALSE) == (bShow != FALSE))
        return;
    CFrameWnd* pFrame = m_pDockSite != nullptr ? m_pDockSite : GetParentFrame();
    auto* pDockBar = dynamic_cast<COXSizeDockBar*>(m_pDockBar);
    COXDockTabCtrl* pTabs = TabsOf(pDockBar);
    if (bShow) {
        if (COXDockTabCtrl* pOwning = GetOwningTabCtrl()) {
            pOwning->SetCurSel(pOwning->FindBar(this));
            pOwning->ShowCurrentBar();
            return;
        }
        if (pFrame != nullptr)
            pFrame->ShowControlBar(this, TRUE, TRUE);
        if (pTabs != nullptr && m_nLastTabIndex != -1 &&
            pDockBar->CountBarsAtSamePlace(this) >= 2) {
            int nIndex = pTabs->FindBar(this);
            if (nIndex < 0) {
                pTabs->InsertBar(this, m_nLastTabIndex, TRUE);
            } else {
                pTabs->SetCurSel(nIndex);
                pTabs->ShowCurrentBar();
            }
        }
        return;
    }
    if (pFrame != nullptr)
        pFrame->ShowControlBar(this, FALSE, TRUE);
    if (pTabs != nullptr && pTabs->GetItemCount() > 0) {
        m_nLastTabIndex = pTabs->FindBar(this);
        pTabs->RemoveBar(this);
    }
}

void COXSizeControlBar::CalcDragOffset(CPoint ptClient) {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    const BOOL bFloating = IsBarFloating();
    int nAlong = 0;
    int nLength = 0;
    int y = 0;
    if ((m_dwStyle & CBRS_ORIENT_HORZ) != 0 && !bFloating) {
        // The caption of a bar docked on the top or bottom runs upwards.
        nAlong = rectWindow.bottom - ptClient.y;
        nLength = rectWindow.Height();
        y = ptClient.x - rectWindow.left;
    } else {
        nAlong = ptClient.x - rectWindow.left;
        nLength = rectWindow.Width();
        y = ptClient.y - rectWindow.top;
    }
    int x =
        nLength != 0 ? static_cast<int>(static_cast<double>(m_sizeFloat.cx) * nAlong / nLength) : 0;
    if (x < 5)
        x = 5;
    if (x > m_sizeFloat.cx - 20)
        x = m_sizeFloat.cx - 20;
    if (!bFloating)
        y = 10;
    m_ptDragOffset = CPoint(x, y);
}

LRESULT COXSizeControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && OnCommand(wParam, lParam))
        return 1;
    return CControlBar::WindowProc(message, wParam, lParam);
}

int COXSizeControlBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CControlBar::OnCreate(lpcs) == -1)
        return -1;
    g_mouseHook.AddUser();
    m_bHookUser = TRUE;
    return 0;
}

void COXSizeControlBar::OnDestroy() {
    if (m_bHookUser) {
        m_bHookUser = FALSE;
        g_mouseHook.RemoveUser();
    }
    CControlBar::OnDestroy();
}

void COXSizeControlBar::OnPaint() {
    // The content is the derived bar's children; the caption is non-client.
    ::ValidateRect(m_hWnd, nullptr);
}

BOOL COXSizeControlBar::OnEraseBkgnd(CDC* pDC) {
    CRect rect;
    pDC->GetClipBox(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void COXSizeControlBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    CControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
    GetDockbarSkin()->CalcNonClientSize(bCalcValidRects, &lpncsp->rgrc[0], this);
}

void COXSizeControlBar::OnNcPaint() {
    PaintNonClientArea();
}

LRESULT COXSizeControlBar::OnNcHitTest(CPoint point) {
    if (!IsBarFloating()) {
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        if (rectWindow.PtInRect(point))
            return HTCLIENT;
    }
    return CControlBar::OnNcHitTest(point);
}

BOOL COXSizeControlBar::OnSetCursor(CWnd* pWnd, UINT /*nHitTest*/, UINT /*message*/) {
    if (pWnd != this)
        return FALSE;
    ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // IDC_ARROW
    return TRUE;
}

void COXSizeControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (!IsBarFloating()) {
        m_nPressedButton = OX_SIZEBAR_NOBUTTON;
        if (m_rectCloseBtn.PtInRect(point)) {
            SetCapture();
            m_nPressedButton = OX_SIZEBAR_CLOSEBTN;
            RedrawWindow(&m_rectCloseBtn, nullptr, kCaptionRedraw);
            return;
        }
        if (m_rectResizeBtn.PtInRect(point)) {
            if (!CanResize())
                return;
            SetCapture();
            m_nPressedButton = OX_SIZEBAR_RESIZEBTN;
            RedrawWindow(&m_rectResizeBtn, nullptr, kCaptionRedraw);
            return;
        }
        if (MainWindowAllowsTabDocking()) {
            // The live caption drag starts once the mouse has moved far enough.
            m_ptCaptionDown = point;
            m_bDragPending = TRUE;
            return;
        }
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

void COXSizeControlBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (::GetCapture() == m_hWnd) {
        int nButton = OX_SIZEBAR_NOBUTTON;
        if (m_rectCloseBtn.PtInRect(point))
            nButton = OX_SIZEBAR_CLOSEBTN;
        else if (m_rectResizeBtn.PtInRect(point) && CanResize())
            nButton = OX_SIZEBAR_RESIZEBTN;
        if (nButton != m_nPressedButton)
            m_nPressedButton = nButton;
    }
    RedrawCaptionButtons();

    if (!m_bCaptionDragging) {
        // A pending drag lives only as long as the press that began it.
        if (m_bDragPending && (nFlags & MK_LBUTTON) == 0)
            m_bDragPending = FALSE;
        if (m_bDragPending && (std::abs(point.x - m_ptCaptionDown.x) > 3 ||
                               std::abs(point.y - m_ptCaptionDown.y) > 3)) {
            m_bDragPending = FALSE;
            CalcDragOffset(point);
            m_bCaptionDragging = TRUE;
            SetCapture();
            ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32646))); // IDC_SIZEALL
            return;
        }
        Default();
        return;
    }
    CaptionDragTo(point);
}

void COXSizeControlBar::EndCaptionDrag() {
    m_bCaptionDragging = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

// One step of the live caption drag: the bar itself floats at the cursor or
// docks into the sizeable dock bar under it.
void COXSizeControlBar::CaptionDragTo(CPoint point) {
    CPoint ptScreen(point);
    ClientToScreen(&ptScreen);
    CWnd* pMainWnd = AfxGetMainWnd();
    CFrameWnd* pFrame = pMainWnd != nullptr ? pMainWnd->AsFrameWnd() : nullptr;
    if (pFrame == nullptr) {
        EndCaptionDrag();
        return;
    }
    // Let the windows uncovered by the last move repaint first. A quit request
    // met here is left for the application's loop and ends the drag.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        if (!::GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            EndCaptionDrag();
            return;
        }
        ::DispatchMessageA(&msg);
    }
    if (m_pDockContext == nullptr) {
        pFrame->FloatControlBar(this, ptScreen, CBRS_ALIGN_TOP);
        return;
    }
    COXSizeDockBar* pTarget = COXSizeDockBar::FindDockBarAt(ptScreen, this);
    if (pTarget == nullptr || ::GetKeyState(VK_CONTROL) < 0) {
        if (COXDockTabCtrl* pTabs = TabsOf(dynamic_cast<COXSizeDockBar*>(m_pDockBar)))
            pTabs->RemoveBar(this);
        pFrame->FloatControlBar(this, ptScreen - m_ptDragOffset, CBRS_ALIGN_TOP);
        return;
    }
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectDock(ptScreen, rectWindow.Size());
    pTarget->DockBarAtRect(this, &rectDock);
}

void COXSizeControlBar::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    m_bDragPending = FALSE;
    if (m_bCaptionDragging) {
        EndCaptionDrag();
        return;
    }
    int nPressed = m_nPressedButton;
    m_nPressedButton = OX_SIZEBAR_NOBUTTON;
    if (nPressed == OX_SIZEBAR_CLOSEBTN)
        RedrawWindow(&m_rectCloseBtn, nullptr, kCaptionRedraw);
    else if (nPressed == OX_SIZEBAR_RESIZEBTN)
        RedrawWindow(&m_rectResizeBtn, nullptr, kCaptionRedraw);

    if (::GetCapture() != m_hWnd) {
        Default();
        return;
    }
    ::ReleaseCapture();
    if (nPressed == OX_SIZEBAR_CLOSEBTN && m_rectCloseBtn.PtInRect(point)) {
        ShowBar(FALSE);
    } else if (m_pDockBar != nullptr && nPressed == OX_SIZEBAR_RESIZEBTN &&
               m_rectResizeBtn.PtInRect(point)) {
        if (auto* pDockBar = dynamic_cast<COXSizeDockBar*>(m_pDockBar))
            pDockBar->MaximizeBar(this, !m_bMaximized);
    }
}

void COXSizeControlBar::OnCaptureChanged(CWnd* pWnd) {
    // Whoever took the capture gets the rest of the press.
    m_bDragPending = FALSE;
    if (m_bCaptionDragging && (pWnd == nullptr || pWnd->m_hWnd != m_hWnd))
        m_bCaptionDragging = FALSE;
    CControlBar::OnCaptureChanged(pWnd);
}

void COXSizeControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pDockBar == nullptr || OnToolHitTest(point, nullptr) != -1) {
        CControlBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    auto* pDockBar = dynamic_cast<COXSizeDockBar*>(m_pDockBar);
    COXDockTabCtrl* pTabs = TabsOf(pDockBar);
    if (pTabs != nullptr && MainWindowAllowsTabDocking() && pTabs->FindBar(this) >= 0)
        pTabs->RemoveBar(this);
    if (m_pDockContext != nullptr)
        m_pDockContext->ToggleDocking();
}

void COXSizeControlBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CControlBar::OnWindowPosChanged(lpwndpos);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CSize size = rectWindow.Size();
    const int nFloatState = IsBarFloating() ? OX_SIZEBAR_FLOATING : OX_SIZEBAR_DOCKED;
    int nMask = (size != m_sizeLast ? 1 : 0) | (nFloatState != m_nLastFloatState ? 2 : 0);
    if (nMask != 0) {
        m_sizeLast = size;
        m_nLastFloatState = nFloatState;
        OnBarSizeChanged(size.cx, size.cy, nFloatState, nMask);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    UpdateCaptionRects();
    if (m_bMaximized)
        SetMaximizedState(FALSE);
}

void COXSizeControlBar::OnContextMenu(CWnd* pWnd, CPoint point) {
    if ((m_dwSizeBarStyle & SCBS_CONTEXTMENU) == 0) {
        CControlBar::OnContextMenu(pWnd, point);
        return;
    }
    CMenu menu;
    if (!menu.CreatePopupMenu()) {
        TRACE("COXSizeControlBar::OnContextMenu: no popup menu made.\n");
        return;
    }
    SendMessage(WM_SIZEBAR_FILLCONTEXTMENU, 0, reinterpret_cast<LPARAM>(menu.m_hMenu));
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void COXSizeControlBar::OnSysCommand(UINT nID, LPARAM lParam) {
    CControlBar::OnSysCommand(nID, lParam);
}

void COXSizeControlBar::OnHideBar() {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr)
        pFrame = m_pDockSite;
    if (pFrame != nullptr)
        pFrame->ShowControlBar(this, FALSE, FALSE);
}

void COXSizeControlBar::OnAllowDocking() {
    if (m_dwDockStyle & CBRS_ALIGN_ANY) {
        m_dwSavedDockStyle = m_dwDockStyle;
        if (!IsBarFloating() && m_pDockContext != nullptr)
            m_pDockContext->ToggleDocking();
        EnableDocking(0);
    } else {
        EnableDocking(m_dwSavedDockStyle);
    }
}

LRESULT COXSizeControlBar::OnFillContextMenu(WPARAM /*wParam*/, LPARAM lParam) {
    HMENU hMenu = reinterpret_cast<HMENU>(lParam);
    const BOOL bDocking = (m_dwDockStyle & CBRS_ALIGN_ANY) != 0;
    if (bDocking || m_dwSavedDockStyle != 0) {
        CString strAllow;
        strAllow.LoadString(ID_SIZEBAR_ALLOWDOCKING);
        ::AppendMenuA(hMenu, MF_STRING | (bDocking ? MF_CHECKED : MF_UNCHECKED),
                      ID_SIZEBAR_ALLOWDOCKING, strAllow);
    }
    CString strHide;
    strHide.LoadString(ID_SIZEBAR_HIDE);
    ::AppendMenuA(hMenu, MF_STRING | MF_UNCHECKED, ID_SIZEBAR_HIDE, strHide);
    return 1;
}

LRESULT COXSizeControlBar::OnFloated(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (auto* pFrame = dynamic_cast<COXSizableMiniDockFrameWnd*>(GetParentFrame()))
        pFrame->AdaptToBar();
    return 1;
}
