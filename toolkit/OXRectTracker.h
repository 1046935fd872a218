// OXRectTracker.h: COXRectTracker, a tracker rectangle that can be held inside
// a limit and to one direction of movement; it drags the splitters of sizeable
// dock bars.
//
// Classes: COXRectTracker.
#pragma once

#include "framework/RectTracker.h"

class COXRectTracker : public CRectTracker {
public:
    // Style bits of m_nStyle: the rectangle keeps its top and bottom
    // (horzOnly) or its left and right (vertOnly).
    enum { horzOnly = 0x100, vertOnly = 0x200 };

    // Drags the part of m_rect that the hit code nHitTest names (HTLEFT ...
    // HTBOTTOMRIGHT an edge or corner, anything else the whole rectangle).
    // FALSE when the drag was cancelled.
    BOOL Track(int nHitTest, CWnd* pWnd, CPoint point, CWnd* pWndClipTo = nullptr,
               BOOL bAllowInvert = FALSE);

    void AdjustRect(int nHandle, LPRECT lpRect) override;
    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;

    CRect m_rectLimit; // all zero: no limit
    CRect m_rectStart; // the rectangle when the drag began
};
