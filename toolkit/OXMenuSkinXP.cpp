// OXMenuSkinXP.cpp: the Office XP menu skin's items: layout, backgrounds with the
// image strip, image frames, images, texts, separators and the show-all entry.
// Its popup windows and the item window are in OXMenuSkinXPPopup.cpp.
#include "OXMenuSkin.h"

#include "OXBitmapMenu.h"

#include "framework/Dc.h"
#include "framework/Gdi.h"

COXMenuSkinXP::COXMenuSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {
    m_metrics.LeftMargin = 3;
    m_metrics.MarginExtra = 5;
    m_metrics.ImageTextGap = 15;
    m_metrics.TextShortcutGap = 12;
    m_metrics.RightMargin = 6;
    m_metrics.TextPadding = 10;
    m_metrics.ImagePadding = 4;
    m_metrics.SeparatorHeight = 3;
    m_metrics.MinImageWidth = 16;
    m_metrics.BarItemExtra = 16;
}

COLORREF COXMenuSkinXP::GetRarelyUsedMarginColor() {
    return COXSkinXP::ShiftColor(::GetSysColor(COLOR_BTNFACE), -8, -8, -8);
}

void COXMenuSkinXP::CalcItemRects(UINT /*nState*/, COXImageInfo* pImageInfo, const CRect& rectItem,
                                  CRect& rectButton, CRect& rectImage, CRect& rectText,
                                  CRect& rectShortcut, COXBitmapMenu* pMenu) {
    rectButton.SetRectEmpty();
    rectImage.SetRectEmpty();
    if (pImageInfo != nullptr) {
        const CSize sizeImage = pImageInfo->GetImageSize();
        rectImage = CRect(rectItem.TopLeft(), sizeImage);
        rectImage.OffsetRect(m_metrics.LeftMargin, (rectItem.Height() - sizeImage.cy) / 2);
        rectButton.SetRect(rectItem.left + 1, rectItem.top + 1,
                           rectItem.left + pMenu->GetImageWidth() + 5, rectItem.bottom - 1);
        // The check mark and bullet sit in the middle of the column.
        if (pImageInfo->IsDefaultImage())
            rectImage.OffsetRect((rectButton.Width() - sizeImage.cx) / 2 - 1, 0);
    }
    CalcTextRects(rectItem, rectText, rectShortcut, pMenu);
}

void COXMenuSkinXP::FillItemMargin(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu,
                                   BOOL bRarelyUsed) {
    CRect rectStrip = rectItem;
    rectStrip.right =
        rectItem.left + m_metrics.LeftMargin + pMenu->GetImageWidth() + m_metrics.MarginExtra;
    pDC->FillSolidRect(rectStrip,
                       bRarelyUsed ? GetRarelyUsedMarginColor() : m_pSkin->GetBarColor());
}

void COXMenuSkinXP::DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* /*pImageInfo*/,
                                       const CRect& rectItem, const CRect& /*rectButton*/,
                                       COXBitmapMenu* pMenu) {
    if (!(nState & ODS_SELECTED) || IsDisabledState(nState)) {
        pDC->FillSolidRect(rectItem, m_pSkin->GetMenuColor());
        FillItemMargin(pDC, rectItem, pMenu, (nState & OXODS_HIDDEN) != 0);
        return;
    }
    CPen pen(PS_SOLID, 1, m_pSkin->GetBorderColor());
    CBrush brush(m_pSkin->GetHotColor());
    CScopedSelect selectPen(*pDC, &pen);
    CScopedSelect selectBrush(*pDC, &brush);
    pDC->Rectangle(rectItem);
}

void COXMenuSkinXP::DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                   const CRect& rectButton, COXBitmapMenu* /*pMenu*/) {
    if (pImageInfo == nullptr || !(nState & ODS_CHECKED))
        return;
    CPen pen(PS_SOLID, 1, m_pSkin->GetBorderColor());
    CBrush brush((nState & ODS_SELECTED) ? m_pSkin->GetPressedColor() : m_pSkin->GetCheckedColor());
    CScopedSelect selectPen(*pDC, &pen);
    CScopedSelect selectBrush(*pDC, &brush);
    pDC->Rectangle(rectButton);
}

void COXMenuSkinXP::DrawImageOfItem(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                    const CRect& rectImage, BOOL bRaiseSelected) {
    if (pImageInfo == nullptr || (pImageInfo->IsDefaultImage() && !(nState & ODS_CHECKED)))
        return;
    if (IsDisabledState(nState)) {
        CBrush brush(::GetSysColor(COLOR_BTNSHADOW));
        DrawDisabledImage(pDC, pImageInfo, rectImage, DSS_MONO, &brush);
        return;
    }
    DrawImageAt(pDC, nState, pImageInfo, rectImage.TopLeft(),
                bRaiseSelected && (nState & ODS_SELECTED) && !(nState & ODS_CHECKED));
}

void COXMenuSkinXP::DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                  const CRect& rectImage, COXBitmapMenu* /*pMenu*/) {
    DrawImageOfItem(pDC, nState, pImageInfo, rectImage, TRUE);
}

// Selection does not change the text colour: the hot colour is light.
void COXMenuSkinXP::DrawItemText(CDC* pDC, UINT nState, const CString& strText,
                                 const CRect& rectText, const CRect& rectShortcut,
                                 COXBitmapMenu* /*pMenu*/) {
    DrawTextParts(pDC, strText, rectText, rectShortcut,
                  IsDisabledState(nState) ? m_pSkin->GetMenuDisabledTextColor()
                                          : ::GetSysColor(COLOR_MENUTEXT),
                  FALSE);
}

void COXMenuSkinXP::DrawItemSeparator(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu) {
    pDC->FillSolidRect(rectItem, m_pSkin->GetMenuColor());
    FillItemMargin(pDC, rectItem, pMenu, FALSE);
    const int x =
        rectItem.left + m_metrics.LeftMargin + pMenu->GetImageWidth() + m_metrics.ImageTextGap;
    if (x < rectItem.right)
        pDC->FillSolidRect(x, rectItem.top + rectItem.Height() / 2, rectItem.right - x, 1,
                           m_pSkin->GetSeparatorColor());
}

// The platform draws the submenu arrow.
void COXMenuSkinXP::DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText,
                                    COXImageInfo* pImageInfo, const CRect& rectItem,
                                    const CRect& rectButton, const CRect& rectText,
                                    const CRect& rectShortcut, COXBitmapMenu* pMenu) {
    pMenu->DrawItemBackground(pDC, nState, pImageInfo, rectItem, rectButton);
    DrawItemText(pDC, nState, strText, rectText, rectShortcut, pMenu);
}

void COXMenuSkinXP::DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState,
                                    COXBitmapMenu* /*pMenu*/) {
    DrawMarlettGlyph(pDC, "6", rectItem,
                     IsDisabledState(nState) ? m_pSkin->GetSeparatorColor()
                                             : ::GetSysColor(COLOR_MENUTEXT));
}

void COXMenuSkinXP::MeasureShowAllItem(int& nHeight, COXBitmapMenu* /*pMenu*/) {
    nHeight = nHeight / 2 + 1;
}
