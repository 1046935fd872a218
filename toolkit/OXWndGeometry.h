// OXWndGeometry.h: where a window's client area lies within its window
// rectangle, for the skins that paint non-client areas in window coordinates:
// OXClientOffsetInWindow and OXClientRectInWindow.
#pragma once

#include "framework/Wnd.h"

// Adds to client coordinates of pWnd to give its window coordinates.
inline CPoint OXClientOffsetInWindow(CWnd* pWnd) {
    CRect rectWindow;
    pWnd->GetWindowRect(&rectWindow);
    CPoint ptClient(0, 0);
    pWnd->ClientToScreen(&ptClient);
    return CPoint(ptClient.x - rectWindow.left, ptClient.y - rectWindow.top);
}

// The client area of pWnd in its window coordinates.
inline CRect OXClientRectInWindow(CWnd* pWnd) {
    CRect rectWindow;
    pWnd->GetWindowRect(&rectWindow);
    CRect rectClient;
    pWnd->GetClientRect(&rectClient);
    pWnd->ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    return rectClient;
}
