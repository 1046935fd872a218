// RectTracker.cpp: CRectTracker's drag loop, its size rules and its frame.
#include "RectTracker.h"

#include "Dc.h"
#include "Wnd.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

// The edges of a rectangle that a handle moves with the mouse.
struct SHandleEdges {
    bool bLeft;
    bool bTop;
    bool bRight;
    bool bBottom;
};

SHandleEdges EdgesOf(int nHandle) {
    switch (nHandle) {
    case CRectTracker::hitTopLeft:
        return {true, true, false, false};
    case CRectTracker::hitTopRight:
        return {false, true, true, false};
    case CRectTracker::hitBottomRight:
        return {false, false, true, true};
    case CRectTracker::hitBottomLeft:
        return {true, false, false, true};
    case CRectTracker::hitTop:
        return {false, true, false, false};
    case CRectTracker::hitRight:
        return {false, false, true, false};
    case CRectTracker::hitBottom:
        return {false, false, false, true};
    case CRectTracker::hitLeft:
        return {true, false, false, false};
    default:
        return {true, true, true, true};
    }
}

// Keeps the moved edge nMoved at least nMin from the fixed edge nFixed;
// bLowEdge says the moved edge is the left (top) one. Without bAllowInvert
// the moved edge cannot pass the fixed one.
void HoldMinimum(LONG& nMoved, LONG nFixed, int nMin, bool bLowEdge, BOOL bAllowInvert) {
    if (!bAllowInvert) {
        if (bLowEdge && nMoved > nFixed - nMin)
            nMoved = nFixed - nMin;
        else if (!bLowEdge && nMoved < nFixed + nMin)
            nMoved = nFixed + nMin;
        return;
    }
    if (std::abs(nMoved - nFixed) >= nMin)
        return;
    // On its own side of the fixed edge, or past it when the drag inverted it.
    bool bBelowFixed = bLowEdge ? nMoved <= nFixed : nMoved < nFixed;
    nMoved = bBelowFixed ? nFixed - nMin : nFixed + nMin;
}

} // namespace

void CRectTracker::AdjustRect(int nHandle, LPRECT lpRect) {
    SHandleEdges edges = EdgesOf(nHandle);
    if (edges.bLeft != edges.bRight) {
        if (edges.bLeft)
            HoldMinimum(lpRect->left, lpRect->right, m_sizeMin.cx, true, m_bAllowInvert);
        else
            HoldMinimum(lpRect->right, lpRect->left, m_sizeMin.cx, false, m_bAllowInvert);
    }
    if (edges.bTop != edges.bBottom) {
        if (edges.bTop)
            HoldMinimum(lpRect->top, lpRect->bottom, m_sizeMin.cy, true, m_bAllowInvert);
        else
            HoldMinimum(lpRect->bottom, lpRect->top, m_sizeMin.cy, false, m_bAllowInvert);
    }
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) {
    CRect rect(lpRect);
    rect.NormalizeRect();
    if (pWndClipTo != nullptr) {
        pWnd->ClientToScreen(&rect);
        pWndClipTo->ScreenToClient(&rect);
    }
    CSize size(1, 1);
    if (m_bFinalErase)
        size = CSize(0, 0);
    if (m_bFinalErase || !m_bErase)
        pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast);
    m_rectLast = rect;
    m_sizeLast = size;
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo) {
    // Someone else's drag (or a menu) owns the mouse: do not start, so that
    // nothing is drawn and nothing needs undoing.
    if (::GetCapture() != nullptr)
        return FALSE;
    ::SetCapture(pWnd->m_hWnd);
    if (::GetCapture() != pWnd->m_hWnd)
        return FALSE;
    HWND hWndDraw = pWndClipTo != nullptr ? pWndClipTo->m_hWnd : pWnd->m_hWnd;
    CDCHandle dc(::GetDCEx(hWndDraw, nullptr, DCX_CACHE));

    const CRect rectStart = m_rect;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bErase = FALSE;
    m_bFinalErase = FALSE;
    SHandleEdges edges = EdgesOf(nHandle);
    for (;;) {
        MSG msg;
        BOOL bGot = ::GetMessage(&msg, nullptr, 0, 0);
        if (bGot == 0) {
            // The application is quitting: its own loop must see the quit too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            EndTrack(TRUE, rectStart, pWndClipTo, &dc, pWnd);
            return FALSE;
        }
        if (bGot == -1 || ::GetCapture() != pWnd->m_hWnd) {
            EndTrack(TRUE, rectStart, pWndClipTo, &dc, pWnd);
            return FALSE;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint ptNow(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            CSize delta = ptNow - point;
            CRect rect = rectStart;
            if (edges.bLeft)
                rect.left += delta.cx;
            if (edges.bRight)
                rect.right += delta.cx;
            if (edges.bTop)
                rect.top += delta.cy;
            if (edges.bBottom)
                rect.bottom += delta.cy;
            AdjustRect(nHandle, &rect);
            if (rect != m_rect || m_sizeLast == CSize(0, 0)) {
                CRect rectOld = m_rect;
                m_rect = rect;
                if (m_sizeLast != CSize(0, 0)) {
                    m_bErase = TRUE;
                    DrawTrackerRect(&rectOld, pWndClipTo, &dc, pWnd);
                    m_bErase = FALSE;
                }
                if (msg.message == WM_MOUSEMOVE)
                    DrawTrackerRect(&m_rect, pWndClipTo, &dc, pWnd);
            }
            if (msg.message == WM_LBUTTONUP) {
                EndTrack(FALSE, rectStart, pWndClipTo, &dc, pWnd);
                return TRUE;
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                EndTrack(TRUE, rectStart, pWndClipTo, &dc, pWnd);
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            EndTrack(TRUE, rectStart, pWndClipTo, &dc, pWnd);
            return FALSE;
        default:
            ::DispatchMessage(&msg);
            break;
        }
    }
}

void CRectTracker::EndTrack(BOOL bCancel, const CRect& rectStart, CWnd* pWndClipTo, CDC* pDC,
                            CWnd* pWnd) {
    if (m_sizeLast != CSize(0, 0)) {
        m_bFinalErase = TRUE;
        DrawTrackerRect(&m_rect, pWndClipTo, pDC, pWnd);
        m_bFinalErase = FALSE;
    }
    if (::GetCapture() == pWnd->m_hWnd)
        ::ReleaseCapture();
    HWND hWndDraw = pWndClipTo != nullptr ? pWndClipTo->m_hWnd : pWnd->m_hWnd;
    ::ReleaseDC(hWndDraw, pDC->Detach());
    if (bCancel)
        m_rect = rectStart;
}
