// RectTracker.h: CRectTracker, a rectangle the user drags with the mouse, whole
// or by one of its edges or corners, shown as a rubber-band frame while the
// drag runs.
//
// Classes: CRectTracker.
//
// The drag (TrackHandle) runs its own message loop while the window it tracks
// in holds the mouse capture: mouse moves move the handle's edges and redraw
// the frame, the left button's release keeps the new rectangle, the right
// button, Escape, a loss of the capture or WM_QUIT (which is posted again for
// the caller's loop) cancel and put the rectangle back. Other messages are
// dispatched as usual. A drag that cannot capture the mouse, because another
// window holds it, does not start and draws nothing.
//
// Derived trackers hold the rectangle to their own rules in AdjustRect (called
// on every move) and draw their own frame in DrawTrackerRect.
#pragma once

#include "Geometry.h"

#include <windows.h>

class CDC;
class CWnd;

class CRectTracker {
public:
    // What a drag moves: a corner, an edge, or the whole rectangle.
    enum TrackerHit {
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8
    };

    CRectTracker() = default;
    virtual ~CRectTracker() = default;
    CRectTracker(const CRectTracker&) = delete;
    CRectTracker& operator=(const CRectTracker&) = delete;

    // Drags handle nHandle of m_rect (pWnd's client coordinates) from point
    // (the same coordinates) until the left button is released (TRUE, m_rect
    // holds the result) or the drag is cancelled or cannot start (FALSE,
    // m_rect unchanged). The frame is drawn in pWndClipTo's client area when
    // it is given, else in pWnd's.
    BOOL TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo);

    // Holds the rectangle nHandle's drag made to the tracker's rules. This
    // base keeps it at least m_sizeMin in size by moving the dragged edges;
    // without m_bAllowInvert a dragged edge also stops there instead of
    // passing the opposite one.
    virtual void AdjustRect(int nHandle, LPRECT lpRect);
    // Draws the frame of lpRect (pWnd's client coordinates) on pDC, which
    // belongs to pWndClipTo when that is given. m_bErase is set for the call
    // that takes the previous frame away before a new one is drawn,
    // m_bFinalErase for the last one of a drag. This base draws a 1-pixel
    // halftone frame by inversion (CDC::DrawDragRect), each drawing replacing
    // the last, so an erase that is not the final one draws nothing.
    virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);

    CRect m_rect;                // the tracked rectangle
    CSize m_sizeMin;             // smallest size a dragged edge leaves
    UINT m_nStyle = 0;           // style bits of derived trackers
    BOOL m_bAllowInvert = FALSE; // dragged edges may pass the opposite ones

protected:
    BOOL m_bErase = FALSE;      // set during the erase before a redraw
    BOOL m_bFinalErase = FALSE; // set during the erase that ends a drag
    CRect m_rectLast;           // the frame drawn last (drawing coordinates)
    CSize m_sizeLast;           // its thickness; 0 when nothing is drawn

private:
    // Final erase, capture release and the DC given back; after a cancel,
    // the rectangle the drag started with.
    void EndTrack(BOOL bCancel, const CRect& rectStart, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
};
