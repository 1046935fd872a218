// OXRectTracker.cpp: COXRectTracker.
#include "OXRectTracker.h"

#include "framework/Dc.h"
#include "framework/Wnd.h"

#include <algorithm>

BOOL COXRectTracker::Track(int nHitTest, CWnd* pWnd, CPoint point, CWnd* pWndClipTo,
                           BOOL bAllowInvert) {
    m_rectStart = m_rect;
    m_bAllowInvert = bAllowInvert;
    int nHandle;
    switch (nHitTest) {
    case HTLEFT:
        nHandle = hitLeft;
        break;
    case HTRIGHT:
        nHandle = hitRight;
        break;
    case HTTOP:
        nHandle = hitTop;
        break;
    case HTTOPLEFT:
        nHandle = hitTopLeft;
        break;
    case HTTOPRIGHT:
        nHandle = hitTopRight;
        break;
    case HTBOTTOM:
        nHandle = hitBottom;
        break;
    case HTBOTTOMLEFT:
        nHandle = hitBottomLeft;
        break;
    case HTBOTTOMRIGHT:
        nHandle = hitBottomRight;
        break;
    default:
        nHandle = hitMiddle;
        break;
    }
    return TrackHandle(nHandle, pWnd, point, pWndClipTo);
}

void COXRectTracker::AdjustRect(int nHandle, LPRECT lpRect) {
    CRect& rect = *static_cast<CRect*>(lpRect);
    if (!m_rectLimit.IsRectNull()) {
        if (nHandle == hitMiddle) {
            // A move keeps the size; the top stops 10 pixels short of the
            // limit's bottom so that something stays to grab.
            int nLeft = std::min(rect.left, m_rectLimit.right);
            nLeft = std::max(nLeft, static_cast<int>(m_rectLimit.left));
            int nTop = std::min(rect.top, m_rectLimit.bottom - 10);
            nTop = std::max(nTop, static_cast<int>(m_rectLimit.top));
            rect = CRect(CPoint(nLeft, nTop), m_rectStart.Size());
        } else {
            rect.IntersectRect(&rect, &m_rectLimit);
        }
    }
    CRectTracker::AdjustRect(nHandle, lpRect);
    if (m_nStyle & horzOnly) {
        rect.top = m_rectStart.top;
        rect.bottom = m_rectStart.bottom;
    }
    if (m_nStyle & vertOnly) {
        rect.left = m_rectStart.left;
        rect.right = m_rectStart.right;
    }
}

void COXRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) {
    CRect rect(*lpRect);
    rect.NormalizeRect();
    if (pWndClipTo != nullptr) {
        pWnd->ClientToScreen(&rect);
        pWndClipTo->ScreenToClient(&rect);
    }
    const CSize size = m_bFinalErase ? CSize(0, 0) : CSize(2, 2);
    // An erase before a redraw draws nothing: the next frame replaces this one.
    if (m_bFinalErase || !m_bErase)
        pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast);
    m_rectLast = rect;
    m_sizeLast = size;
}
