// WindowRects.h: where a window stands, as the tests of bars, dock bars and
// frames ask it: on the screen, and in its parent's client area.
#pragma once

#include "framework/Wnd.h"

inline CRect ScreenRect(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return rect;
}
inline CRect ScreenRect(CWnd* pWnd) {
    return ScreenRect(pWnd->m_hWnd);
}
inline CRect ChildRect(CWnd* pWnd) {
    CRect rect = ScreenRect(pWnd);
    pWnd->GetParent()->ScreenToClient(&rect);
    return rect;
}
