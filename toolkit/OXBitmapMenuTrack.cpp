// OXBitmapMenuTrack.cpp: dropping a COXBitmapMenu from a bar button, the
// placement of a dropped popup, and COXShadowedItemWnd, the window over the
// button while the popup is open.
#include "OXBitmapMenu.h"

#include "OXCoolToolBar.h"
#include "OXMenuBar.h"
#include "OXMenuSkin.h"

#include "Common/TraceLog.h"
#include "framework/ControlBar.h"
#include "framework/Dc.h"
#include "framework/Gdi.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace {

// Heights counted for the items of a menu that does not measure them.
const int kPlainItemHeight = 17;
const int kPlainSeparatorHeight = 8;
// What a popup adds to its widest item and to the sum of its item heights.
const int kPopupExtraWidth = 18;
const int kPopupExtraHeight = 6;
// The item window covers the button and the shadow beside and below it.
const int kItemShadow = 4;
// A bound on the paint messages dispatched at once: a window whose painting
// leaves its area invalid would otherwise be painted forever.
const int kMaxPaintMessages = 256;

// Past zero a coordinate of -1 stands for the edge itself.
int NonZero(int x) {
    return x == 0 ? -1 : x;
}

} // namespace

// ---------------------------------------------------------------------------
// Placement

void PASCAL COXBitmapMenu::CalcPopupPlacement(const CRect& rectButton, const CSize& sizeMenu,
                                              DWORD dwBarStyle, const CRect& rectMonitor,
                                              const CRect& rectWork, CPoint& pt, UINT& nFlags,
                                              int& nSide) {
    nFlags = 0;
    if (dwBarStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) {
        pt.x = std::max<int>(rectButton.left, rectMonitor.left);
        // Past the right edge the platform moves the popup back onto the monitor.
        if (pt.x + sizeMenu.cx > rectMonitor.right)
            pt.x = rectMonitor.right - 1;
        else if (pt.x + sizeMenu.cx + 1 >= rectWork.right)
            pt.x = NonZero(pt.x + sizeMenu.cx);
        if (rectButton.bottom + sizeMenu.cy > rectWork.bottom) {
            nFlags |= TPM_BOTTOMALIGN;
            nSide = OX_POPUP_ABOVE;
            pt.y = rectButton.top + 1;
        } else {
            nSide = OX_POPUP_BELOW;
            pt.y = rectButton.bottom - 1;
        }
        return;
    }

    if (rectButton.right + sizeMenu.cx > rectMonitor.right) {
        nFlags |= TPM_RIGHTALIGN;
        nSide = OX_POPUP_LEFT;
        pt.x = rectButton.left;
    } else {
        nSide = OX_POPUP_RIGHT;
        pt.x = rectButton.right;
        if (pt.x + sizeMenu.cx + 1 >= rectWork.right)
            pt.x = NonZero(pt.x + sizeMenu.cx);
    }
    pt.y = std::max<int>(rectButton.top + 1, rectWork.top);
    if (pt.y + sizeMenu.cy > rectWork.bottom)
        pt.y = rectWork.bottom - sizeMenu.cy;
}

CSize PASCAL COXBitmapMenu::EstimateMenuSize(CMenu* pMenu) {
    if (pMenu == nullptr || pMenu->m_hMenu == nullptr)
        return CSize(kPopupExtraWidth, kPopupExtraHeight);
    // Only a bitmap menu measures its items; the others count fixed heights.
    COXBitmapMenu* pBitmapMenu = DYNAMIC_DOWNCAST(COXBitmapMenu, pMenu);
    int nWidth = 0, nHeight = 0;
    const int nCount = pMenu->GetMenuItemCount();
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        if (!::GetMenuItemInfoA(pMenu->m_hMenu, i, TRUE, &mii))
            continue;
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = mii.hSubMenu != nullptr
                         ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(mii.hSubMenu))
                         : mii.wID;
        mis.itemData = mii.dwItemData;
        if (pBitmapMenu != nullptr)
            pBitmapMenu->MeasureItem(&mis);
        else
            mis.itemHeight = (mii.fType & MFT_SEPARATOR) ? kPlainSeparatorHeight : kPlainItemHeight;
        nWidth = std::max<int>(nWidth, static_cast<int>(mis.itemWidth));
        nHeight += static_cast<int>(mis.itemHeight);
    }
    return CSize(nWidth + kPopupExtraWidth, nHeight + kPopupExtraHeight);
}

void PASCAL COXBitmapMenu::CalcPopupPosition(CMenu* pMenu, const CRect& rectButton,
                                             DWORD dwBarStyle, CPoint& pt, UINT& nFlags,
                                             int& nSide) {
    CRect rectMonitor(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CRect rectWork = rectMonitor;
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    HMONITOR hMonitor = ::MonitorFromRect(rectButton, MONITOR_DEFAULTTONEAREST);
    if (hMonitor != nullptr && ::GetMonitorInfoA(hMonitor, &mi)) {
        rectMonitor = mi.rcMonitor;
        rectWork = mi.rcWork;
    }
    CalcPopupPlacement(rectButton, EstimateMenuSize(pMenu), dwBarStyle, rectMonitor, rectWork, pt,
                       nFlags, nSide);
}

// ---------------------------------------------------------------------------
// The drop

void PASCAL COXBitmapMenu::DispatchPendingPaint() {
    // PeekMessage hands out WM_QUIT whatever the filter (before the paint
    // messages): it is held back and posted again for the message loop.
    BOOL bQuit = FALSE;
    WPARAM nExitCode = 0;
    MSG msg;
    for (int n = 0;
         n < kMaxPaintMessages && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
         ++n) {
        if (msg.message == WM_QUIT) {
            bQuit = TRUE;
            nExitCode = msg.wParam;
            continue;
        }
        ::DispatchMessageA(&msg);
    }
    if (bQuit)
        ::PostQuitMessage(static_cast<int>(nExitCode));
}

BOOL COXBitmapMenu::TrackFromButton(COXCoolToolBar* pBar, CWnd* pOwner, LPCRECT lpExclude) {
    if (pBar == nullptr || !::IsWindow(pBar->GetSafeHwnd()) || m_hMenu == nullptr) {
        KWTRACE_ERROR(("COXBitmapMenu::TrackFromButton: no bar or no menu\n"));
        return FALSE;
    }
    HWND hBar = pBar->GetSafeHwnd();

    // The button the popup drops from: the pressed one, else the one whose
    // drop-down arrow was pressed last.
    int nIndex = -1;
    const int nCount = static_cast<int>(::SendMessageA(hBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount && nIndex < 0; ++i) {
        TBBUTTON button = {};
        if (::SendMessageA(hBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) &&
            ::SendMessageA(hBar, TB_ISBUTTONPRESSED, button.idCommand, 0))
            nIndex = i;
    }
    if (nIndex < 0)
        nIndex = static_cast<int>(
            ::SendMessageA(hBar, TB_COMMANDTOINDEX, pBar->GetDropDownCommand(), 0));

    CRect rectButton(0, 0, 0, 0);
    if (nIndex >= 0) {
        ::SendMessageA(hBar, TB_GETITEMRECT, nIndex,
                       reinterpret_cast<LPARAM>(static_cast<RECT*>(rectButton)));
    } else if (pBar->IsKindOf(RUNTIME_CLASS(COXMenuBar))) {
        // The MDI child's icon: from window to client coordinates.
        rectButton = pBar->GetIconRect();
        CRect rectWindow;
        pBar->GetWindowRect(rectWindow);
        pBar->ScreenToClient(rectWindow);
        rectButton.OffsetRect(rectWindow.left, rectWindow.top);
        rectButton.InflateRect(3, 3);
    } else {
        KWTRACE_ERROR(("COXBitmapMenu::TrackFromButton: no button to drop from\n"));
        return FALSE;
    }

    CRect rectScreen = rectButton;
    pBar->ClientToScreen(rectScreen);
    CPoint pt;
    UINT nFlags = 0;
    int nSide = OX_POPUP_BELOW;
    CalcPopupPosition(this, rectScreen, pBar->GetBarStyle(), pt, nFlags, nSide);

    DispatchPendingPaint();

    // The item window stands over a real button only: the icon has no button
    // face to draw joined to the popup.
    std::unique_ptr<COXShadowedItemWnd> pItemWnd;
    if (nIndex >= 0) {
        m_rectBarButton = rectButton;
        m_rectBarButton.DeflateRect(0, 1);
        pBar->ClientToScreen(m_rectBarButton);
        CRect rectItemWnd = m_rectBarButton;
        rectItemWnd.right += kItemShadow;
        rectItemWnd.bottom += kItemShadow;
        pItemWnd = std::make_unique<COXShadowedItemWnd>(pBar, nIndex, nSide);
        pItemWnd->CaptureBackdrop(rectItemWnd);
        if (!pItemWnd->CreateEx(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, AfxRegisterWndClass(0), "",
                                WS_CHILD | WS_VISIBLE, rectItemWnd,
                                CWnd::FromHandle(::GetDesktopWindow()), 0)) {
            KWTRACE_ERROR(("COXBitmapMenu::TrackFromButton: no item window (%lu)\n",
                           static_cast<unsigned long>(::GetLastError())));
            pItemWnd.reset();
        }
    }

    const BOOL bResult = TrackPopupMenu(nFlags, pt.x, pt.y, pOwner, lpExclude);

    if (pItemWnd != nullptr)
        pItemWnd->DestroyWindow();
    m_rectBarButton.SetRectEmpty();
    return bResult;
}

// ---------------------------------------------------------------------------
// COXShadowedItemWnd

BEGIN_MESSAGE_MAP(COXShadowedItemWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

void COXShadowedItemWnd::OnPaint() {
    COXBitmapMenu::GetMenuSkin()->PaintShadowedItem(this);
}

BOOL COXShadowedItemWnd::CaptureBackdrop(const CRect& rectScreen) {
    m_bitmapBackdrop.DeleteObject();
    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return FALSE;
    CDCHandle dcScreen(hScreen);
    CDC dcCapture;
    BOOL bCaptured =
        dcCapture.CreateCompatibleDC(&dcScreen) &&
        m_bitmapBackdrop.CreateCompatibleBitmap(&dcScreen, rectScreen.Width(), rectScreen.Height());
    if (bCaptured) {
        CScopedSelect selectBitmap(dcCapture, &m_bitmapBackdrop);
        bCaptured = dcCapture.BitBlt(0, 0, rectScreen.Width(), rectScreen.Height(), &dcScreen,
                                     rectScreen.left, rectScreen.top, SRCCOPY);
    }
    ::ReleaseDC(nullptr, hScreen);
    if (!bCaptured) {
        KWTRACE_ERROR(("COXShadowedItemWnd::CaptureBackdrop: the screen cannot be read (%lu)\n",
                       static_cast<unsigned long>(::GetLastError())));
        m_bitmapBackdrop.DeleteObject();
    }
    return bCaptured;
}

void COXShadowedItemWnd::DrawBackdrop(CDC* pDC) {
    BITMAP bm;
    if (GetBackdrop() == nullptr || !m_bitmapBackdrop.GetObject(sizeof(bm), &bm))
        return;
    CDC dcBackdrop;
    if (!dcBackdrop.CreateCompatibleDC(pDC))
        return;
    CScopedSelect selectBitmap(dcBackdrop, &m_bitmapBackdrop);
    pDC->BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &dcBackdrop, 0, 0, SRCCOPY);
}
