// DockContext.cpp: CDockContext, the drag, resize and dock/float toggle of a bar.
#include "DockContext.h"

#include "ControlBar.h"
#include "Dc.h"
#include "DockBar.h"
#include "Gdi.h"
#include "MiniFrameWnd.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

// Moves rect the least that puts pt inside it (right and bottom edges
// excluded), so a rectangle of another size still lies under the mouse.
void AlignRectToPoint(CRect& rect, CPoint pt) {
    int dx = 0, dy = 0;
    if (pt.x < rect.left)
        dx = pt.x - rect.left;
    else if (pt.x >= rect.right)
        dx = pt.x - rect.right + 1;
    if (pt.y < rect.top)
        dy = pt.y - rect.top;
    else if (pt.y >= rect.bottom)
        dy = pt.y - rect.bottom + 1;
    rect.OffsetRect(dx, dy);
}

// The window rectangle of a floating frame around a bar of sizeBar at
// ptTopLeft: the frame's client area is the bar less the border it overlaps
// its dock bar by on each side.
CRect FloatingFrameRect(CFrameWnd* pMeasure, CSize sizeBar, CPoint ptTopLeft) {
    const AUX_DATA& aux = AfxGetAuxData();
    CRect rect(CPoint(0, 0), sizeBar);
    rect.DeflateRect(aux.cxBorder2, aux.cyBorder2);
    pMeasure->CalcWindowRect(&rect);
    rect.OffsetRect(ptTopLeft - rect.TopLeft());
    return rect;
}

CSize ThickFrameSize() {
    return CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
}

} // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_bDitherLast(FALSE), m_pBar(pBar), m_pDockSite(pBar ? pBar->m_pDockSite : nullptr),
      m_dwDockStyle(0), m_dwOverDockStyle(0), m_dwStyle(0), m_bFlip(FALSE), m_bForceFrame(FALSE),
      m_pDC(nullptr), m_bLocked(FALSE), m_bDragging(FALSE), m_nHitTest(HTNOWHERE), m_uMRUDockID(0),
      m_dwMRUFloatStyle(0) {}

CDockContext::~CDockContext() {
    // Its bar went while a loop ran: the desktop must not stay locked.
    if (m_pDC != nullptr || m_bLocked)
        CancelLoop();
}

// ---- The drag.

void CDockContext::StartDrag(CPoint pt) {
    m_pDockSite = m_pBar->m_pDockSite;
    if (m_pDockSite == nullptr || m_pBar->m_hWnd == nullptr)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_bFlip = FALSE;
    m_bForceFrame = ::GetKeyState(VK_CONTROL) < 0;
    m_ptLast = pt;
    m_ptDragStart = pt;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;

    // The bar's size in each place it can take: docked along a side, and in a
    // floating frame (a bar that sizes itself keeps its floating width there).
    CSize sizeHorz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    CSize sizeVert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    CSize sizeFloatHorz = sizeHorz, sizeFloatVert = sizeVert;
    if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
        sizeFloatHorz = sizeFloatVert = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);

    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    m_rectDragHorz = CRect(rectBar.TopLeft(), sizeHorz);
    m_rectDragVert = CRect(rectBar.TopLeft(), sizeVert);

    // A floating bar's frame rectangle starts where its frame stands.
    CPoint ptFrame = rectBar.TopLeft();
    if (m_pBar->IsFloating()) {
        CRect rectFrame;
        m_pBar->GetDockingFrame()->GetWindowRect(&rectFrame);
        ptFrame = rectFrame.TopLeft();
    }
    CMiniDockFrameWnd* pMeasure = m_pDockSite->CreateFloatingFrame(CBRS_ALIGN_TOP);
    if (pMeasure == nullptr) {
        TRACE("CDockContext::StartDrag: no floating frame to measure with.\n");
        return;
    }
    m_rectFrameDragHorz = FloatingFrameRect(pMeasure, sizeFloatHorz, ptFrame);
    m_rectFrameDragVert = FloatingFrameRect(pMeasure, sizeFloatVert, ptFrame);
    pMeasure->DestroyWindow();

    AlignRectToPoint(m_rectDragHorz, pt);
    AlignRectToPoint(m_rectDragVert, pt);
    AlignRectToPoint(m_rectFrameDragHorz, pt);
    AlignRectToPoint(m_rectFrameDragVert, pt);

    m_dwOverDockStyle = CanDock();
    m_bDragging = TRUE;
    Track();
    m_bDragging = FALSE;
}

BOOL CDockContext::IsHorzNow() const {
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    return m_bFlip ? !bHorz : bHorz;
}

void CDockContext::MoveDrag(CPoint pt) {
    FollowMouse(pt);
    m_dwOverDockStyle = CanDock();
    DrawFocusRect();
}

CSize CDockContext::FollowMouse(CPoint pt) {
    const CSize delta = pt - m_ptLast;
    m_rectDragHorz.OffsetRect(delta);
    m_rectDragVert.OffsetRect(delta);
    m_rectFrameDragHorz.OffsetRect(delta);
    m_rectFrameDragVert.OffsetRect(delta);
    m_ptLast = pt;
    return delta;
}

void CDockContext::OnKey(int nChar, BOOL bDown) {
    if (nChar == VK_CONTROL)
        UpdateState(&m_bForceFrame, bDown);
    else if (nChar == VK_SHIFT)
        UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue) {
    bNewValue = bNewValue ? TRUE : FALSE;
    if (*pFlag == bNewValue)
        return;
    *pFlag = bNewValue;
    m_dwOverDockStyle = CanDock();
    DrawFocusRect();
}

DWORD CDockContext::CanDock() {
    if (m_bForceFrame || m_pDockSite == nullptr)
        return 0;
    const DWORD dwHorzSides = m_dwDockStyle & CBRS_ORIENT_HORZ;
    const DWORD dwVertSides = m_dwDockStyle & CBRS_ORIENT_VERT;
    // The orientation the bar has now first; the other one too, unless Shift
    // asks for exactly this orientation.
    const BOOL bHorz = IsHorzNow();
    DWORD dwDock = 0;
    if (bHorz ? dwHorzSides : dwVertSides)
        dwDock = m_pDockSite->CanDock(bHorz ? m_rectDragHorz : m_rectDragVert,
                                      bHorz ? dwHorzSides : dwVertSides);
    if (dwDock == 0 && !m_bFlip && (bHorz ? dwVertSides : dwHorzSides))
        dwDock = m_pDockSite->CanDock(bHorz ? m_rectDragVert : m_rectDragHorz,
                                      bHorz ? dwVertSides : dwHorzSides);
    return dwDock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle) {
    const BOOL bHorz = (dwOverDockStyle & CBRS_ORIENT_HORZ) != 0;
    return DockBarAt(bHorz ? m_rectDragHorz : m_rectDragVert, dwOverDockStyle);
}

CDockBar* CDockContext::DockBarAt(const CRect& rect, DWORD dwOverDockStyle) {
    if (m_pDockSite == nullptr || (dwOverDockStyle & CBRS_ALIGN_ANY) == 0)
        return nullptr;
    CDockBar* pDockBar = nullptr;
    m_pDockSite->CanDock(rect, dwOverDockStyle & CBRS_ALIGN_ANY, &pDockBar);
    return pDockBar;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
    CRect rect;
    CSize size;
    BOOL bDither;
    if (!m_bDragging) {
        rect = m_rectActualFrameSize;
        size = ThickFrameSize();
        bDither = TRUE;
    } else if (m_dwOverDockStyle != 0) {
        rect = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
        size = CSize(1, 1);
        bDither = FALSE;
    } else {
        rect = IsHorzNow() ? m_rectFrameDragHorz : m_rectFrameDragVert;
        size = ThickFrameSize();
        bDither = TRUE;
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    DrawFrame(rect, size, bDither);
}

void CDockContext::DrawFrame(const CRect& rect, CSize size, BOOL bDither) {
    if (m_pDC == nullptr)
        return; // no loop runs: nothing may be drawn
    if (size == CSize(0, 0) && m_sizeLast == CSize(0, 0))
        return;
    CBrush* pWhite = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CBrush* pBrush = bDither ? CDC::GetHalftoneBrush() : pWhite;
    CBrush* pBrushLast = m_bDitherLast ? CDC::GetHalftoneBrush() : pWhite;
    const BOOL bDrawnBefore = m_sizeLast != CSize(0, 0);
    m_pDC->DrawDragRect(&rect, size, bDrawnBefore ? &m_rectLast : nullptr, m_sizeLast, pBrush,
                        pBrushLast);
    m_rectLast = size == CSize(0, 0) ? CRect(0, 0, 0, 0) : rect;
    m_sizeLast = size;
    m_bDitherLast = bDither;
}

void CDockContext::EndDrag() {
    CancelLoop();
    if (m_ptLast == m_ptDragStart)
        return; // a click: the bar stays exactly where it is
    if (m_dwOverDockStyle != 0) {
        CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
        if (pDockBar == nullptr)
            return;
        CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) ? m_rectDragHorz : m_rectDragVert;
        m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    const BOOL bHorz = IsHorzNow();
    const CRect& rectFrame = bHorz ? m_rectFrameDragHorz : m_rectFrameDragVert;
    m_ptMRUFloatPos = rectFrame.TopLeft();
    m_dwMRUFloatStyle =
        (bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

void CDockContext::CancelDrag() {
    CancelLoop();
}

// ---- The loop.

void CDockContext::InitLoop() {
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    HWND hDesktop = ::GetDesktopWindow();
    m_bLocked = ::LockWindowUpdate(hDesktop);
    DWORD dwFlags = DCX_WINDOW | DCX_CACHE | (m_bLocked ? DCX_LOCKWINDOWUPDATE : 0);
    m_pDC = new CDCHandle(::GetDCEx(hDesktop, nullptr, dwFlags));
}

void CDockContext::CancelLoop() {
    DrawFocusRect(TRUE);
    ReleaseLoop();
}

void CDockContext::ReleaseLoop() {
    if (m_pBar->m_hWnd != nullptr && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    if (m_bLocked) {
        ::LockWindowUpdate(nullptr);
        m_bLocked = FALSE;
    }
    if (m_pDC != nullptr) {
        HDC hDC = m_pDC->GetSafeHdc();
        delete m_pDC;
        m_pDC = nullptr;
        ::ReleaseDC(::GetDesktopWindow(), hDC);
    }
}

BOOL CDockContext::Track() {
    // Someone else's drag (or a menu) owns the mouse: take nothing, draw nothing.
    HWND hCapture = ::GetCapture();
    if (hCapture != nullptr && hCapture != m_pBar->m_hWnd)
        return FALSE;
    ::SetCapture(m_pBar->m_hWnd);
    if (::GetCapture() != m_pBar->m_hWnd)
        return FALSE;
    InitLoop();
    DrawFocusRect();

    const HWND hBar = m_pBar->m_hWnd;
    for (;;) {
        // A message dispatched below may have destroyed the bar (and with its
        // object this context), which gave the desktop back: touch nothing.
        if (!::IsWindow(hBar))
            return FALSE;
        if (::GetCapture() != hBar) {
            CancelLoop();
            return FALSE;
        }
        MSG msg;
        BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
        if (bGot == 0) {
            // The application is quitting: its own loop must see the quit too.
            CancelLoop();
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        if (bGot == -1) {
            CancelLoop();
            return FALSE;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            if (m_bDragging)
                MoveDrag(pt);
            else
                Stretch(pt);
            if (msg.message == WM_LBUTTONUP) {
                if (m_bDragging)
                    EndDrag();
                else
                    EndResize();
                return TRUE;
            }
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.wParam == VK_ESCAPE) {
                if (msg.message == WM_KEYDOWN) {
                    CancelLoop();
                    return FALSE;
                }
            } else if (m_bDragging) {
                OnKey(static_cast<int>(msg.wParam), msg.message == WM_KEYDOWN);
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessage(&msg);
            break;
        }
    }
}

// ---- The resize of a floating frame.

void CDockContext::StartResize(int nHitTest, CPoint pt) {
    m_pDockSite = m_pBar->m_pDockSite;
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    if (!m_pBar->IsFloating() || (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) == 0 || pFrame == nullptr)
        return;
    if (nHitTest < HTLEFT || nHitTest > HTBOTTOMRIGHT)
        return;
    m_nHitTest = nHitTest;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_ptLast = pt;
    m_ptDragStart = pt;

    CRect rectWindow, rectClient;
    pFrame->GetWindowRect(&rectWindow);
    pFrame->GetClientRect(&rectClient);
    pFrame->ClientToScreen(&rectClient);
    m_rectFrameBorders.SetRect(rectClient.left - rectWindow.left, rectClient.top - rectWindow.top,
                               rectWindow.right - rectClient.right,
                               rectWindow.bottom - rectClient.bottom);
    m_rectRequestedSize = rectClient;
    m_rectActualSize = rectClient;
    m_rectActualFrameSize = rectWindow;

    m_bDragging = FALSE;
    Track();
    m_nHitTest = HTNOWHERE;
}

CSize CDockContext::AskBarForSize(DWORD dwCommit) {
    // The bar is the frame's client area plus the border it overlaps its
    // floating dock bar by on each side.
    const AUX_DATA& aux = AfxGetAuxData();
    const int nWidth = m_rectRequestedSize.Width() + 2 * aux.cxBorder2;
    const int nHeight = m_rectRequestedSize.Height() + 2 * aux.cyBorder2;
    BOOL bByHeight;
    switch (m_nHitTest) {
    case HTTOP:
    case HTBOTTOM:
        bByHeight = TRUE;
        break;
    case HTLEFT:
    case HTRIGHT:
        bByHeight = FALSE;
        break;
    default: {
        // A corner: the edge that moved further decides.
        bByHeight = std::abs(nHeight - (m_rectActualSize.Height() + 2 * aux.cyBorder2)) >
                    std::abs(nWidth - (m_rectActualSize.Width() + 2 * aux.cxBorder2));
        break;
    }
    }
    DWORD dwMode = LM_HORZ | dwCommit | (bByHeight ? LM_LENGTHY : 0);
    CSize size = m_pBar->CalcDynamicLayout(bByHeight ? nHeight : nWidth, dwMode);
    size.cx -= 2 * aux.cxBorder2;
    size.cy -= 2 * aux.cyBorder2;
    return size;
}

void CDockContext::Stretch(CPoint pt) {
    CSize delta = pt - m_ptLast;
    m_ptLast = pt;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
        m_rectRequestedSize.left += delta.cx;
    if (m_nHitTest == HTRIGHT || m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMRIGHT)
        m_rectRequestedSize.right += delta.cx;
    if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
        m_rectRequestedSize.top += delta.cy;
    if (m_nHitTest == HTBOTTOM || m_nHitTest == HTBOTTOMLEFT || m_nHitTest == HTBOTTOMRIGHT)
        m_rectRequestedSize.bottom += delta.cy;

    CSize size = AskBarForSize(0);
    // The edges the mouse does not hold stay where they are.
    CRect rect = m_rectActualSize;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
        rect.left = rect.right - size.cx;
    else
        rect.right = rect.left + size.cx;
    if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
        rect.top = rect.bottom - size.cy;
    else
        rect.bottom = rect.top + size.cy;
    m_rectActualSize = rect;
    m_rectActualFrameSize = rect;
    m_rectActualFrameSize.InflateRect(&m_rectFrameBorders);
    DrawFocusRect();
}

void CDockContext::EndResize() {
    CancelLoop();
    if (m_ptLast == m_ptDragStart)
        return;
    AskBarForSize(LM_COMMIT);
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    ::SetWindowPos(pFrame->m_hWnd, nullptr, m_rectActualFrameSize.left, m_rectActualFrameSize.top,
                   m_rectActualFrameSize.Width(), m_rectActualFrameSize.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    pFrame->RecalcLayout();
}

// ---- Toggle between the last docked and the last floating place.

void CDockContext::ToggleDocking() {
    m_pDockSite = m_pBar->m_pDockSite;
    if (m_pDockSite == nullptr || m_pBar->m_hWnd == nullptr)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    if (m_pBar->IsFloating()) {
        CRect rectFrame;
        m_pBar->GetDockingFrame()->GetWindowRect(&rectFrame);
        m_ptMRUFloatPos = rectFrame.TopLeft();
        m_dwMRUFloatStyle =
            (m_pBar->m_dwStyle & CBRS_ALIGN_ANY) | (m_dwDockStyle & CBRS_FLOAT_MULTI);

        auto* pDockBar = dynamic_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
        if (pDockBar != nullptr && (pDockBar->m_dwStyle & m_dwDockStyle & CBRS_ALIGN_ANY) != 0) {
            CRect rect = m_rectMRUDockPos;
            pDockBar->ClientToScreen(&rect);
            m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        } else {
            // Never docked (or not allowed there any more): the first side it may take.
            m_pDockSite->DockControlBar(m_pBar, static_cast<UINT>(0));
        }
        m_pDockSite->RecalcLayout();
        return;
    }
    if (m_pBar->m_pDockBar == nullptr)
        return; // not in a dock bar: nothing to float from
    if (m_dwMRUFloatStyle == 0) {
        // Never floated: next to where the bar sits, as it lies now.
        CRect rectBar;
        m_pBar->GetWindowRect(&rectBar);
        const int nOffset = ::GetSystemMetrics(SM_CYSMCAPTION);
        m_ptMRUFloatPos = rectBar.TopLeft() + CSize(nOffset, nOffset);
        m_dwMRUFloatStyle =
            ((m_pBar->m_dwStyle & CBRS_ORIENT_HORZ) ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) |
            (m_dwDockStyle & CBRS_FLOAT_MULTI);
    }
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}
