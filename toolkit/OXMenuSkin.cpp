// OXMenuSkin.cpp: what every menu skin shares, and the Classic menu skin.
//
// Positions across an item (the text column, the image strip) count from the
// item's left edge: Wine places a popup's items 3 pixels into its client area,
// where the platform's own menus start them at 0.
#include "OXMenuSkin.h"

#include "OXBitmapMenu.h"

#include "framework/Dc.h"
#include "framework/Gdi.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The image to show: the hot one for a selected item that has one.
int ImageIndexFor(UINT nState, const COXImageInfo* pImageInfo) {
    return (nState & ODS_SELECTED) && pImageInfo->GetHotIndex() >= 0 ? pImageInfo->GetHotIndex()
                                                                     : pImageInfo->GetIndex();
}

HIMAGELIST ImageListOf(const COXImageInfo* pImageInfo) {
    CImageList* pImageList = pImageInfo != nullptr ? pImageInfo->GetImageList() : nullptr;
    return pImageList != nullptr ? pImageList->GetSafeHandle() : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Shared steps

void COXMenuSkin::CalcTextRects(const CRect& rectItem, CRect& rectText, CRect& rectShortcut,
                                COXBitmapMenu* pMenu) {
    const OXMENUMETRICS* pMetrics = GetMenuMetrics();
    rectText = rectItem;
    rectText.left =
        rectItem.left + pMetrics->LeftMargin + pMenu->GetImageWidth() + pMetrics->ImageTextGap;
    rectText.right = rectText.left + pMenu->GetTextWidth();

    rectShortcut = rectItem;
    rectShortcut.right = rectItem.right - pMetrics->RightMargin;
    rectShortcut.left = rectShortcut.right - pMenu->GetShortcutWidth();
    const int nShift = (rectShortcut.left - rectText.right) / 2;
    rectShortcut.left -= nShift;
    rectShortcut.right -= nShift;

    const int nInset = (rectItem.Height() - pMenu->GetTextHeight()) / 2;
    rectText.top += nInset;
    rectText.bottom -= nInset;
    rectShortcut.top = rectText.top;
    rectShortcut.bottom = rectText.bottom;
}

void COXMenuSkin::DrawTextParts(CDC* pDC, const CString& strText, const CRect& rectText,
                                const CRect& rectShortcut, COLORREF crText, BOOL bEmbossed) {
    CString strItem = strText, strShortcut;
    const int nTab = strText.Find('\t');
    if (nTab >= 0) {
        strItem = strText.Left(nTab);
        strShortcut = strText.Mid(nTab + 1);
    }
    pDC->SetTextColor(crText);
    pDC->SetBkMode(TRANSPARENT);
    const UINT nFlags = bEmbossed ? DSS_DISABLED : DSS_NORMAL;
    if (!strItem.IsEmpty())
        pDC->DrawState(rectText.TopLeft(), CSize(0, 0), strItem, nFlags, TRUE);
    if (strShortcut.IsEmpty())
        return;
    CRect rectMeasured(0, 0, 0, 0);
    pDC->DrawText(strShortcut, rectMeasured, DT_CALCRECT | DT_SINGLELINE);
    pDC->DrawState(
        CPoint(rectShortcut.left + rectShortcut.Width() - rectMeasured.Width(), rectShortcut.top),
        CSize(0, 0), strShortcut, nFlags, TRUE);
}

void COXMenuSkin::DrawImageAt(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CPoint pt,
                              BOOL bShadowed) {
    HIMAGELIST hImageList = ImageListOf(pImageInfo);
    if (hImageList == nullptr)
        return;
    const int nImage = ImageIndexFor(nState, pImageInfo);
    if (bShadowed) {
        // The image's shape in the shadow colour: where the mask is black the
        // brush, elsewhere the target stays (PSDPxax).
        CBrush brushShadow(::GetSysColor(COLOR_BTNSHADOW));
        CScopedSelect selectBrush(*pDC, &brushShadow);
        const COLORREF crOldBack = pDC->SetBkColor(RGB(255, 255, 255));
        IMAGELISTDRAWPARAMS params = {};
        params.cbSize = sizeof(params);
        params.himl = hImageList;
        params.i = nImage;
        params.hdcDst = pDC->GetSafeHdc();
        params.x = pt.x + 1;
        params.y = pt.y + 1;
        params.rgbBk = CLR_NONE;
        params.rgbFg = CLR_NONE;
        params.fStyle = ILD_MASK | ILD_ROP;
        params.dwRop = 0xB8074A;
        ::ImageList_DrawIndirect(&params);
        pDC->SetBkColor(crOldBack);
        pt.Offset(-1, -1);
    }
    ::ImageList_Draw(hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, ILD_TRANSPARENT);
}

void COXMenuSkin::DrawDisabledImage(CDC* pDC, COXImageInfo* pImageInfo, const CRect& rectImage,
                                    UINT nStateFlags, CBrush* pBrush) {
    HIMAGELIST hImageList = ImageListOf(pImageInfo);
    HICON hIcon = hImageList != nullptr
                      ? ::ImageList_GetIcon(hImageList, pImageInfo->GetIndex(), ILD_NORMAL)
                      : nullptr;
    if (hIcon == nullptr)
        return;
    pDC->DrawState(rectImage.TopLeft(), rectImage.Size(), hIcon, nStateFlags, pBrush);
    ::DestroyIcon(hIcon);
}

void COXMenuSkin::DrawMarlettGlyph(CDC* pDC, LPCTSTR lpszGlyph, const CRect& rect,
                                   COLORREF crText) {
    CFont font;
    if (!font.CreateFont(::GetSystemMetrics(SM_CYMENUCHECK), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                         FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH, "Marlett"))
        return;
    CScopedSelect selectFont(*pDC, &font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(crText);
    CRect rectGlyph = rect;
    pDC->DrawText(lpszGlyph, -1, rectGlyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---------------------------------------------------------------------------
// Classic

COXMenuSkinClassic::COXMenuSkinClassic() {
    m_metrics.LeftMargin = 2;
    m_metrics.MarginExtra = 0; // no image strip in this family
    m_metrics.ImageTextGap = 8;
    m_metrics.TextShortcutGap = 2;
    m_metrics.RightMargin = 3;
    m_metrics.TextPadding = 4;
    m_metrics.ImagePadding = 3;
    m_metrics.SeparatorHeight = 8;
    m_metrics.MinImageWidth = 0;
    m_metrics.BarItemExtra = 12;
}

COLORREF COXMenuSkinClassic::GetTextColor(UINT nState) {
    if (IsDisabledState(nState))
        return ::GetSysColor(COLOR_GRAYTEXT);
    return ::GetSysColor((nState & ODS_SELECTED) ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

void COXMenuSkinClassic::CalcItemRects(UINT /*nState*/, COXImageInfo* pImageInfo,
                                       const CRect& rectItem, CRect& rectButton, CRect& rectImage,
                                       CRect& rectText, CRect& rectShortcut, COXBitmapMenu* pMenu) {
    rectButton.SetRectEmpty();
    rectImage.SetRectEmpty();
    if (pImageInfo != nullptr) {
        const CSize sizeImage = pImageInfo->GetImageSize();
        rectImage = CRect(rectItem.TopLeft(), sizeImage);
        rectImage.OffsetRect(m_metrics.LeftMargin, (rectItem.Height() - sizeImage.cy) / 2);
        rectButton = rectImage;
        rectButton.InflateRect(2, 2);
    }
    CalcTextRects(rectItem, rectText, rectShortcut, pMenu);
}

void COXMenuSkinClassic::DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                            const CRect& rectItem, const CRect& rectButton,
                                            COXBitmapMenu* pMenu) {
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bChecked = (nState & ODS_CHECKED) != 0;
    const BOOL bRarelyUsed = (nState & OXODS_HIDDEN) != 0;
    const BOOL bDefaultImage = pImageInfo != nullptr && pImageInfo->IsDefaultImage();
    HBRUSH hChecker = COXBitmapMenu::CreateCheckerBrush(::GetSysColor(COLOR_MENU),
                                                        ::GetSysColor(COLOR_BTNHIGHLIGHT));

    // The image column.
    if ((bRarelyUsed && pImageInfo != nullptr && !bDefaultImage) || (bChecked && !bSelected)) {
        if (hChecker != nullptr)
            ::FillRect(pDC->GetSafeHdc(), rectButton, hChecker);
    } else {
        pDC->FillSolidRect(
            rectButton,
            ::GetSysColor(bSelected && !bChecked && bDefaultImage ? COLOR_HIGHLIGHT : COLOR_MENU));
    }

    // The text part.
    if (!bRarelyUsed || bSelected) {
        const int nGap = bChecked ? 2 : (bDefaultImage ? -1 : 1);
        CRect rectText = rectItem;
        rectText.left = std::max<int>(rectButton.right, rectItem.left + m_metrics.LeftMargin +
                                                            pMenu->GetImageWidth() + nGap);
        rectText.bottom -= 1;
        pDC->FillSolidRect(rectText, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));
    } else {
        if (hChecker != nullptr)
            ::FillRect(pDC->GetSafeHdc(), rectItem, hChecker);
        if (nState & OXODS_HIDDENFIRST)
            pDC->FillSolidRect(rectItem.left, rectItem.top, rectItem.Width(), 1,
                               ::GetSysColor(COLOR_BTNSHADOW));
        if (nState & OXODS_HIDDENLAST)
            pDC->FillSolidRect(rectItem.left, rectItem.bottom - 1, rectItem.Width(), 1,
                               ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    if (hChecker != nullptr)
        ::DeleteObject(hChecker);
}

void COXMenuSkinClassic::DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                        const CRect& rectButton, COXBitmapMenu* /*pMenu*/) {
    if (pImageInfo == nullptr)
        return;
    CRect rect = rectButton;
    if (nState & ODS_CHECKED)
        pDC->DrawEdge(rect, BDR_SUNKENOUTER, BF_RECT);
    else if ((nState & ODS_SELECTED) && !IsDisabledState(nState) && !pImageInfo->IsDefaultImage())
        pDC->DrawEdge(rect, BDR_RAISEDINNER, BF_RECT);
}

void COXMenuSkinClassic::DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                       const CRect& rectImage, COXBitmapMenu* /*pMenu*/) {
    if (pImageInfo == nullptr || (pImageInfo->IsDefaultImage() && !(nState & ODS_CHECKED)))
        return;
    if (IsDisabledState(nState))
        DrawDisabledImage(pDC, pImageInfo, rectImage, DSS_DISABLED, nullptr);
    else
        DrawImageAt(pDC, nState, pImageInfo, rectImage.TopLeft(), FALSE);
}

void COXMenuSkinClassic::DrawItemText(CDC* pDC, UINT nState, const CString& strText,
                                      const CRect& rectText, const CRect& rectShortcut,
                                      COXBitmapMenu* /*pMenu*/) {
    DrawTextParts(pDC, strText, rectText, rectShortcut, GetTextColor(nState),
                  IsDisabledState(nState) && !(nState & ODS_SELECTED));
}

void COXMenuSkinClassic::DrawItemSeparator(CDC* pDC, const CRect& rectItem,
                                           COXBitmapMenu* /*pMenu*/) {
    CRect rect = rectItem;
    rect.DeflateRect(2, 0);
    const int y = rect.top + rect.Height() / 2 - 1;
    pDC->Draw3dRect(rect.left, y, rect.Width(), 2, ::GetSysColor(COLOR_BTNSHADOW),
                    ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void COXMenuSkinClassic::DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText,
                                         COXImageInfo* pImageInfo, const CRect& rectItem,
                                         const CRect& rectButton, const CRect& rectText,
                                         const CRect& rectShortcut, COXBitmapMenu* pMenu) {
    pMenu->DrawItemBackground(pDC, nState, pImageInfo, rectItem, rectButton);
    // The platform draws the arrow of a submenu item, except while the menu is
    // customised.
    if (pMenu->IsInCustomizationMode())
        DrawMarlettGlyph(pDC, "8", rectShortcut,
                         IsDisabledState(nState) ? ::GetSysColor(COLOR_BTNSHADOW)
                                                 : GetTextColor(nState));
    DrawItemText(pDC, nState, strText, rectText, rectShortcut, pMenu);
}

void COXMenuSkinClassic::DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState,
                                         COXBitmapMenu* /*pMenu*/) {
    DrawMarlettGlyph(pDC, "6", rectItem, GetTextColor(nState));
}

LRESULT COXMenuSkinClassic::PopupMenuProc(WNDPROC pfnPrevious, HWND hWnd, UINT nMsg, WPARAM wParam,
                                          LPARAM lParam) {
    if (pfnPrevious == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return ::CallWindowProcA(pfnPrevious, hWnd, nMsg, wParam, lParam);
}

// The item window shows what lies under it.
void COXMenuSkinClassic::PaintShadowedItem(COXShadowedItemWnd* pWnd) {
    CPaintDC dc(pWnd);
    pWnd->DrawBackdrop(&dc);
}

void COXMenuSkinClassic::MeasureShowAllItem(int& /*nHeight*/, COXBitmapMenu* /*pMenu*/) {}
