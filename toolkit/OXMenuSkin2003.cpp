// OXMenuSkin2003.cpp: the Office 2003 menu skin: gradient image strips, flat
// images, the gradient popup margin and opening, and the item window drawn as
// the bar button over a gradient.
#include "OXMenuSkin.h"

#include "OXBitmapMenu.h"
#include "OXCoolToolBar.h"
#include "OXToolbarSkin.h"

#include "framework/Dc.h"
#include "framework/Gdi.h"

#include <commctrl.h>

// Starts 2 pixels left of the item; a rarely used item's strip is darker.
void COXMenuSkin2003::FillItemMargin(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu,
                                     BOOL bRarelyUsed) {
    CRect rectStrip = rectItem;
    rectStrip.left = rectItem.left - 2;
    rectStrip.right =
        rectItem.left + m_metrics.LeftMargin + pMenu->GetImageWidth() + m_metrics.MarginExtra;
    COLORREF crLight = Skin2003()->GetMenuLightColor();
    COLORREF crDark = Skin2003()->GetMenuDarkColor();
    if (bRarelyUsed) {
        crLight = COXSkinXP::MixColors(crLight, RGB(0, 0, 0), RGB(0, 0, 0), 0.93f, 0.07f, 0.0f);
        crDark = COXSkinXP::MixColors(crDark, RGB(0, 0, 0), RGB(0, 0, 0), 0.93f, 0.07f, 0.0f);
    }
    Skin2003()->FillGradient(pDC, rectStrip, crLight, crDark, OX_GRADIENT_HORIZONTAL);
}

// Never raised over a shadow.
void COXMenuSkin2003::DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                    const CRect& rectImage, COXBitmapMenu* /*pMenu*/) {
    DrawImageOfItem(pDC, nState, pImageInfo, rectImage, FALSE);
}

void COXMenuSkin2003::DrawMarginStrip(CDC* pDC, const CRect& rect) {
    CRect rectStrip = rect;
    rectStrip.bottom += 2;
    Skin2003()->FillGradient(pDC, rectStrip, Skin2003()->GetMenuLightColor(),
                             Skin2003()->GetMenuDarkColor(), OX_GRADIENT_HORIZONTAL);
}

void COXMenuSkin2003::DrawBarItemGap(CDC* pDC, const CRect& rect) {
    Skin2003()->FillGradient(pDC, rect, Skin2003()->GetMenuBarItemLightColor(),
                             Skin2003()->GetMenuBarItemDarkColor(), OX_GRADIENT_VERTICAL);
}

void COXMenuSkin2003::PaintShadowedItem(COXShadowedItemWnd* pWnd) {
    CPaintDC dc(pWnd);
    pWnd->DrawBackdrop(&dc);
    COXCoolToolBar* pBar = pWnd->GetBar();
    CRect rectButton(0, 0, 0, 0);
    if (pBar != nullptr && ::IsWindow(pBar->GetSafeHwnd()) &&
        ::SendMessageA(pBar->GetSafeHwnd(), TB_GETITEMRECT, pWnd->GetItemIndex(),
                       reinterpret_cast<LPARAM>(static_cast<RECT*>(rectButton)))) {
        // The button in the item window's coordinates.
        pBar->ClientToScreen(rectButton);
        CPoint ptOrigin(0, 0);
        pWnd->ClientToScreen(&ptOrigin);
        rectButton.OffsetRect(-ptOrigin.x, -ptOrigin.y);
        Skin2003()->FillGradient(&dc, rectButton, Skin2003()->GetMenuBarItemLightColor(),
                                 Skin2003()->GetMenuBarItemDarkColor(), OX_GRADIENT_VERTICAL);
        // Only the flat families draw single buttons; a Classic toolbar skin
        // under this menu skin leaves the gradient.
        TBBUTTON button = {};
        COXToolbarSkinXP* pToolbarSkin = dynamic_cast<COXToolbarSkinXP*>(pBar->GetToolbarSkin());
        if (pToolbarSkin != nullptr &&
            ::SendMessageA(pBar->GetSafeHwnd(), TB_GETBUTTON, pWnd->GetItemIndex(),
                           reinterpret_cast<LPARAM>(&button)))
            pToolbarSkin->DrawButton(&dc, button, rectButton, pBar, FALSE);
    }
    PaintItemFrame(&dc, pWnd, Skin2003()->GetShadowColor());
}
