// OXMenuSkinXPPopup.cpp: the Office XP menu skin's popup windows (flat border,
// opening toward the bar button, recorded shadow) and the item window over the
// bar button.
#include "OXMenuSkin.h"

#include "OXBitmapMenu.h"
#include "OXShdWnd.h"

#include "framework/Dc.h"
#include "framework/Gdi.h"

#include <algorithm>

namespace {

const int kShadow = 4;     // the shadow strips along the right and bottom
const int kMenuBorder = 3; // the border around a popup's items

// Calls pfn(x, y, darkness) for the right strip (the outermost column first)
// and then the bottom strip (the bottom row first) of a cx by cy popup shadow:
// the order in which a shadow is recorded and replayed. With nKind 2 the
// right-strip rows nSpareFrom..nSpareTo stay unchanged, with nKind 1 the
// bottom-strip columns nSpareFrom..nSpareTo.
template <class Fn>
void ForEachMenuShadowPixel(int cx, int cy, int nKind, int nSpareFrom, int nSpareTo, Fn pfn) {
    for (int i = 1; i <= kShadow; ++i) {
        const int x = cx - i;
        auto spared = [&](int y) {
            return nKind == 2 && y >= nSpareFrom && y <= nSpareTo && y >= 4 && y <= cy - 5;
        };
        for (int y = 0; y <= 3; ++y)
            pfn(x, y, 0);
        for (int k = 1; k <= 4; ++k)
            pfn(x, 3 + k, spared(3 + k) ? 0 : 3 * i * k);
        for (int y = 8; y <= cy - 5; ++y)
            pfn(x, y, spared(y) ? 0 : 15 * i);
        for (int k = 1; k <= 4; ++k)
            pfn(x, cy - k, 3 * i * k);
    }
    for (int k = 1; k <= kShadow; ++k) {
        const int y = cy - k;
        auto spared = [&](int x) {
            return nKind == 1 && x >= nSpareFrom && x <= nSpareTo && x >= 4 && x <= cx - 5;
        };
        for (int x = 0; x <= 3; ++x)
            pfn(x, y, 0);
        for (int i = 1; i <= 4; ++i)
            pfn(8 - i, y, spared(8 - i) ? 0 : (15 - 3 * i) * k);
        for (int x = 8; x <= cx - 5; ++x)
            pfn(x, y, spared(x) ? 0 : 15 * k);
    }
}

// The item window's shadow: nKind 2 has no right strip, 4 a right strip at full
// darkness from row 1, 1 no bottom strip and no bottom-right corner, 3 a bottom
// strip at full darkness from column 1.
template <class Fn> void ForEachItemShadowPixel(int cx, int cy, int nKind, Fn pfn) {
    if (nKind != 2) {
        for (int i = 1; i <= kShadow; ++i) {
            const int x = cx - i;
            if (nKind == 4) {
                for (int y = 1; y <= cy - 5; ++y)
                    pfn(x, y, 15 * i);
            } else {
                for (int y = 0; y <= 3; ++y)
                    pfn(x, y, 0);
                for (int k = 1; k <= 4; ++k)
                    pfn(x, 3 + k, 3 * i * k);
                for (int y = 8; y <= cy - 5; ++y)
                    pfn(x, y, 15 * i);
            }
            if (nKind != 1)
                for (int k = 1; k <= 4; ++k)
                    pfn(x, cy - k, 3 * i * k);
        }
    }
    if (nKind != 1) {
        for (int k = 1; k <= kShadow; ++k) {
            const int y = cy - k;
            if (nKind == 3) {
                for (int x = 1; x <= cx - 5; ++x)
                    pfn(x, y, 15 * k);
                continue;
            }
            for (int x = 0; x <= 3; ++x)
                pfn(x, y, 0);
            for (int i = 1; i <= 4; ++i)
                pfn(8 - i, y, (15 - 3 * i) * k);
            for (int x = 8; x <= cx - 5; ++x)
                pfn(x, y, 15 * k);
        }
    }
}

// The screen under rectWindow, in a memory context; FALSE when it cannot be read.
BOOL CaptureScreen(const CRect& rectWindow, CDC& dcCapture, CBitmap& bitmap) {
    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return FALSE;
    CDCHandle dcScreen(hScreen);
    const BOOL bCaptured =
        dcCapture.CreateCompatibleDC(&dcScreen) &&
        bitmap.CreateCompatibleBitmap(&dcScreen, rectWindow.Width(), rectWindow.Height()) &&
        dcCapture.SelectObject(&bitmap) != nullptr &&
        dcCapture.BitBlt(0, 0, rectWindow.Width(), rectWindow.Height(), &dcScreen, rectWindow.left,
                         rectWindow.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
    return bCaptured;
}

LRESULT CallPrevious(WNDPROC pfnPrevious, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (pfnPrevious == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return ::CallWindowProcA(pfnPrevious, hWnd, nMsg, wParam, lParam);
}

// The bitmap menu a popup window shows, else the tracked one (whose submenus
// the other popups show).
COXBitmapMenu* MenuOfPopup(HWND hWnd, COXBitmapMenu* pTracked) {
    HMENU hMenu = reinterpret_cast<HMENU>(::SendMessageA(hWnd, MN_GETHMENU, 0, 0));
    COXBitmapMenu* pMenu = DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(hMenu));
    return pMenu != nullptr ? pMenu : pTracked;
}

} // namespace

COXBitmapMenu* COXMenuSkinXP::GetTrackedBitmapMenu() {
    return DYNAMIC_DOWNCAST(COXBitmapMenu, CMenu::FromHandlePermanent(CMenu::GetTrackingMenu()));
}

// ---------------------------------------------------------------------------
// The popup procedure

LRESULT COXMenuSkinXP::PopupMenuProc(WNDPROC pfnPrevious, HWND hWnd, UINT nMsg, WPARAM wParam,
                                     LPARAM lParam) {
    COXBitmapMenu* pMenu = GetTrackedBitmapMenu();
    if (pMenu == nullptr)
        return CallPrevious(pfnPrevious, hWnd, nMsg, wParam, lParam);

    switch (nMsg) {
    case WM_WINDOWPOSCHANGING: {
        WINDOWPOS* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (pPos != nullptr) {
            pPos->cx += kShadow;
            pPos->cy += kShadow;
            if (!(pPos->flags & SWP_NOMOVE))
                m_mapPopupPositions[hWnd] = CPoint(pPos->x, pPos->y);
        }
        break;
    }
    case WM_NCCALCSIZE: {
        // Wine's menus take their whole window as client area and paint all of
        // it; the shadow strips must stay out of their reach.
        LRESULT lResult = CallPrevious(pfnPrevious, hWnd, nMsg, wParam, lParam);
        RECT* pRect = reinterpret_cast<RECT*>(lParam);
        if (pRect != nullptr) {
            pRect->right = std::max(pRect->left, pRect->right - kShadow);
            pRect->bottom = std::max(pRect->top, pRect->bottom - kShadow);
        }
        return lResult;
    }
    case WM_CREATE:
        pMenu->GetPopupWndStack().AddHead(new OXPOPUPWND(hWnd));
        break;
    case WM_DESTROY: {
        COXPopupWndStack& stack = pMenu->GetPopupWndStack();
        stack.RemoveWnd(hWnd);
        m_mapPopupPositions.RemoveKey(hWnd);
        // Windows 9x does not repaint the popup that the closed one covered.
        if ((::GetVersion() & 0x80000000) && !stack.IsEmpty())
            ::SendMessageA(stack.GetHead()->hWnd, WM_NCPAINT, 1, 0);
        break;
    }
    case WM_ERASEBKGND:
        return 0;
    case WM_NCPAINT:
        return OnPopupNcPaint(hWnd, wParam, pMenu);
    case WM_PAINT: {
        // Wine's menus paint a frame of their own inside the client area: the
        // border goes over it again (the shadow replays from its record).
        LRESULT lResult = CallPrevious(pfnPrevious, hWnd, nMsg, wParam, lParam);
        HDC hDC = ::GetWindowDC(hWnd);
        if (hDC != nullptr) {
            CDCHandle dc(hDC);
            CRect rectWindow;
            ::GetWindowRect(hWnd, rectWindow);
            DrawPopupBorder(&dc, hWnd, rectWindow, pMenu, pMenu->GetPopupWndStack().Find(hWnd));
            ::ReleaseDC(hWnd, hDC);
        }
        return lResult;
    }
    case WM_PRINT:
        return OnPopupPrint(hWnd, reinterpret_cast<HDC>(wParam), lParam, pMenu);
    default:
        break;
    }
    return CallPrevious(pfnPrevious, hWnd, nMsg, wParam, lParam);
}

LRESULT COXMenuSkinXP::OnPopupNcPaint(HWND hWnd, WPARAM wParam, COXBitmapMenu* pMenu) {
    HDC hDC = wParam == 1
                  ? ::GetWindowDC(hWnd)
                  : ::GetDCEx(hWnd, reinterpret_cast<HRGN>(wParam), DCX_WINDOW | DCX_INTERSECTRGN);
    if (hDC == nullptr)
        return 0;
    CRect rectWindow;
    ::GetWindowRect(hWnd, rectWindow);
    m_mapPopupPositions.RemoveKey(hWnd);
    {
        CDCHandle dc(hDC);
        DrawPopupBorder(&dc, hWnd, rectWindow, pMenu, pMenu->GetPopupWndStack().Find(hWnd));
    }
    ::ReleaseDC(hWnd, hDC);
    return 0;
}

// The menu animation's request for the whole window: the client area as the
// menu prints it, the border around it, the shadow read from the screen.
LRESULT COXMenuSkinXP::OnPopupPrint(HWND hWnd, HDC hDC, LPARAM lParam, COXBitmapMenu* pMenu) {
    // The screen under the popup must be up to date before it is read.
    COXBitmapMenu::DispatchPendingPaint();
    if (hDC == nullptr || !::IsWindow(hWnd))
        return 0;
    CRect rectWindow;
    ::GetWindowRect(hWnd, rectWindow);
    // Where the popup is going: its rectangle may still be elsewhere.
    CPoint ptRequested;
    if (m_mapPopupPositions.Lookup(hWnd, ptRequested)) {
        rectWindow.MoveToXY(ptRequested);
        m_mapPopupPositions.RemoveKey(hWnd);
    }
    CPoint ptClient(0, 0);
    ::ClientToScreen(hWnd, &ptClient);
    CRect rectNow;
    ::GetWindowRect(hWnd, rectNow);

    CDCHandle dcTarget(hDC);
    CDC dcMemory;
    CBitmap bitmap;
    if (!dcMemory.CreateCompatibleDC(&dcTarget) ||
        !bitmap.CreateCompatibleBitmap(&dcTarget, rectWindow.Width(), rectWindow.Height()))
        return 0;
    {
        CScopedSelect selectBitmap(dcMemory, &bitmap);
        dcMemory.IntersectClipRect(0, 0, rectWindow.Width(), rectWindow.Height());
        // The client area's offset in the window (none under Wine, the border on
        // the platform's own menus).
        const CPoint ptOldOrg =
            dcMemory.SetViewportOrg(ptClient.x - rectNow.left, ptClient.y - rectNow.top);
        ::SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dcMemory.GetSafeHdc()),
                       lParam);
        dcMemory.SetViewportOrg(ptOldOrg);
        DrawPopupBorder(&dcMemory, hWnd, rectWindow, pMenu, nullptr);
        dcTarget.BitBlt(0, 0, rectWindow.Width(), rectWindow.Height(), &dcMemory, 0, 0, SRCCOPY);
    }
    return 0;
}

void COXMenuSkinXP::DrawPopupBorder(CDC* pDC, HWND hWnd, const CRect& rectWindow,
                                    COXBitmapMenu* pMenu, OXPOPUPWND* pRecord) {
    const int cx = rectWindow.Width();
    const int cy = rectWindow.Height();
    const CRect rectMenu(0, 0, cx - kShadow, cy - kShadow);
    if (rectMenu.IsRectEmpty())
        return;
    const int nSaved = pDC->SaveDC();
    CRect rectClient = rectMenu;
    rectClient.DeflateRect(kMenuBorder, kMenuBorder);
    pDC->ExcludeClipRect(rectClient);

    // The bar button this popup dropped from, in window coordinates; the opening
    // of the border toward it is cut where the button leaves its monitor.
    CRect rectOpening(0, 0, 0, 0);
    CRect rectDropFrom(0, 0, 0, 0);
    int nKind = 0;
    const CRect rectButton = pMenu->GetBarButtonRect();
    if (!rectButton.IsRectEmpty()) {
        rectDropFrom = rectButton;
        rectDropFrom.OffsetRect(-rectWindow.left, -rectWindow.top);
        int nLeftCut = 0, nRightCut = 0;
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        HMONITOR hMonitor = ::MonitorFromRect(rectButton, MONITOR_DEFAULTTONEAREST);
        const BOOL bMonitor = hMonitor != nullptr && ::GetMonitorInfoA(hMonitor, &mi);
        if (rectButton.left < 0 && rectButton.right >= 0) {
            if (bMonitor && mi.rcMonitor.left < 0)
                nRightCut = rectButton.right + 1;
            else
                nLeftCut = rectButton.left;
        } else if (bMonitor && rectButton.right >= mi.rcMonitor.right) {
            nRightCut = rectButton.right - mi.rcMonitor.right + 1;
        }
        const int nLeft = rectDropFrom.left + 1 - nLeftCut;
        const int nRight = rectDropFrom.right - nRightCut - 1;
        if (rectDropFrom.bottom == 0) {
            rectOpening.SetRect(nLeft, 0, nRight, 1);
        } else if (rectDropFrom.top == cy - kShadow) {
            rectOpening.SetRect(nLeft, cy - 5, nRight, cy - 4);
            nKind = 1;
        } else if (rectDropFrom.right == 0) {
            rectOpening.SetRect(0, rectDropFrom.top + 1, 1, rectDropFrom.bottom - 1);
        } else if (rectDropFrom.left == cx - kShadow) {
            rectOpening.SetRect(cx - 5, rectDropFrom.top + 1, cx - 4, rectDropFrom.bottom - 1);
            nKind = 2;
        }
        rectOpening.IntersectRect(rectOpening, rectMenu);
    }

    DrawMenuShadow(pDC, rectWindow, rectDropFrom, pRecord, nKind);
    pDC->FillSolidRect(rectMenu, m_pSkin->GetMenuColor());
    COXBitmapMenu* pShown = MenuOfPopup(hWnd, pMenu);
    DrawMarginStrip(pDC, CRect(0, 2, m_metrics.LeftMargin + pShown->GetImageWidth() + 8, cy - 8));
    CBrush brushFrame(::GetSysColor(COLOR_BTNSHADOW));
    pDC->FrameRect(rectMenu, &brushFrame);
    if (!rectOpening.IsRectEmpty())
        DrawBarItemGap(pDC, rectOpening);
    pDC->RestoreDC(nSaved);
}

void COXMenuSkinXP::DrawMenuShadow(CDC* pDC, const CRect& rectWindow, const CRect& rectDropFrom,
                                   OXPOPUPWND* pRecord, int nKind) {
    const int cx = rectWindow.Width();
    const int cy = rectWindow.Height();
    const CSize sizeWindow(cx, cy);
    const int nSpareFrom = nKind == 2 ? rectDropFrom.top - 1 : rectDropFrom.left - 1;
    const int nSpareTo = nKind == 2 ? rectDropFrom.bottom : rectDropFrom.right;
    const BOOL bReplay = pRecord != nullptr && pRecord->arrPixels.GetSize() > 0 &&
                         pRecord->sizeRecorded == sizeWindow && pRecord->nShadowKind == nKind;
    if (bReplay) {
        INT_PTR nNext = 0;
        const INT_PTR nRecorded = pRecord->arrPixels.GetSize();
        ForEachMenuShadowPixel(cx, cy, nKind, nSpareFrom, nSpareTo, [&](int x, int y, int) {
            if (nNext < nRecorded)
                pDC->SetPixelV(x, y, pRecord->arrPixels[nNext++]);
        });
        return;
    }

    CDC dcCapture;
    CBitmap bitmap;
    if (!CaptureScreen(rectWindow, dcCapture, bitmap))
        return;
    if (pRecord != nullptr) {
        // A record of another size or kind would put its pixels in the wrong
        // places: record anew.
        pRecord->arrPixels.RemoveAll();
        pRecord->sizeRecorded = sizeWindow;
        pRecord->nShadowKind = nKind;
    }
    ForEachMenuShadowPixel(cx, cy, nKind, nSpareFrom, nSpareTo, [&](int x, int y, int nDarkness) {
        COLORREF crPixel = dcCapture.GetPixel(x, y);
        if (nDarkness > 0)
            crPixel = DarkenColor(nDarkness, crPixel);
        if (pRecord != nullptr)
            pRecord->arrPixels.Add(crPixel);
        pDC->SetPixelV(x, y, crPixel);
    });
}

void COXMenuSkinXP::DrawMarginStrip(CDC* pDC, const CRect& rect) {
    pDC->FillSolidRect(rect, m_pSkin->GetBarColor());
}

void COXMenuSkinXP::DrawBarItemGap(CDC* pDC, const CRect& rect) {
    CBrush brush(m_pSkin->GetBarColor());
    pDC->FrameRect(rect, &brush);
}

// ---------------------------------------------------------------------------
// The item window over the bar button

void COXMenuSkinXP::DrawItemShadow(CDC* pDC, const CRect& rectWindow, int nKind,
                                   CBitmap* pBackdrop) {
    CDC dcCapture;
    CBitmap bitmap;
    if (pBackdrop != nullptr) {
        if (!dcCapture.CreateCompatibleDC(pDC) || dcCapture.SelectObject(pBackdrop) == nullptr)
            return;
    } else if (!CaptureScreen(rectWindow, dcCapture, bitmap)) {
        return;
    }
    ForEachItemShadowPixel(rectWindow.Width(), rectWindow.Height(), nKind,
                           [&](int x, int y, int nDarkness) {
                               COLORREF crPixel = dcCapture.GetPixel(x, y);
                               if (nDarkness > 0)
                                   crPixel = DarkenColor(nDarkness, crPixel);
                               pDC->SetPixel(x, y, crPixel);
                           });
}

void COXMenuSkinXP::DrawItemOutline(CDC* pDC, const CRect& rect, int nSide, COLORREF crOutline) {
    CPen pen(PS_SOLID, 1, crOutline);
    CScopedSelect selectPen(*pDC, &pen);
    switch (nSide) {
    case OX_POPUP_BELOW:
        pDC->MoveTo(rect.left, rect.bottom);
        pDC->LineTo(rect.left, rect.top);
        pDC->LineTo(rect.right - 1, rect.top);
        pDC->LineTo(rect.right - 1, rect.bottom + 1);
        break;
    case OX_POPUP_RIGHT:
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.left, rect.top);
        pDC->LineTo(rect.left, rect.bottom - 1);
        pDC->LineTo(rect.right, rect.bottom - 1);
        break;
    case OX_POPUP_ABOVE:
        pDC->MoveTo(rect.left, rect.top);
        pDC->LineTo(rect.left, rect.bottom - 1);
        pDC->LineTo(rect.right - 1, rect.bottom - 1);
        pDC->LineTo(rect.right - 1, rect.top - 1);
        break;
    case OX_POPUP_LEFT:
        pDC->MoveTo(rect.left, rect.top);
        pDC->LineTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom - 1);
        pDC->LineTo(rect.left - 1, rect.bottom - 1);
        break;
    default:
        break;
    }
}

int COXMenuSkinXP::ItemShadowKind(int nSide) {
    switch (nSide) {
    case OX_POPUP_BELOW:
        return 1;
    case OX_POPUP_RIGHT:
        return 2;
    case OX_POPUP_ABOVE:
        return 4;
    default:
        return 3;
    }
}

void COXMenuSkinXP::PaintItemFrame(CDC* pDC, COXShadowedItemWnd* pWnd, COLORREF crOutline) {
    CRect rectClient, rectWindow;
    pWnd->GetClientRect(rectClient);
    pWnd->GetWindowRect(rectWindow);
    CRect rectOutline = rectClient;
    rectOutline.right -= kShadow;
    rectOutline.bottom -= kShadow;
    DrawItemOutline(pDC, rectOutline, pWnd->GetSide(), crOutline);
    DrawItemShadow(pDC, rectWindow, ItemShadowKind(pWnd->GetSide()), pWnd->GetBackdrop());
}

// The button as the bar shows it, in an outline open toward the popup.
void COXMenuSkinXP::PaintShadowedItem(COXShadowedItemWnd* pWnd) {
    CPaintDC dc(pWnd);
    pWnd->DrawBackdrop(&dc);
    PaintItemFrame(&dc, pWnd, ::GetSysColor(COLOR_BTNSHADOW));
}
