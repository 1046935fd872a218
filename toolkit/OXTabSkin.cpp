// OXTabSkin.cpp: COXTabSkinClassic, the tab skin that leaves the painting to
// the system's tab and up-down controls and to the MDI client.
#include "OXTabSkin.h"

#include "OXUxTheme.h"

#include "framework/SpinButtonCtrl.h"
#include "framework/TabCtrl.h"

#include <cstddef>

namespace {

// The vertical text starts this far above the item's bottom, beside an image.
const int kVerticalTextGap = 10;
// Escapement of text read bottom to top, in tenths of a degree.
const int kEscapementUp = 900;

// NONCLIENTMETRICS as the skins ask for it: the size before Vista added the
// padded border width, which every version of the system accepts.
const UINT kNonClientMetricsSize = 340;
static_assert(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == kNonClientMetricsSize,
              "NONCLIENTMETRICSA without iPaddedBorderWidth");

} // namespace

BOOL COXTabSkin::GetMenuFont(LOGFONTA* pLogFont) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = kNonClientMetricsSize;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &ncm, 0))
        return FALSE;
    *pLogFont = ncm.lfMenuFont;
    return TRUE;
}

void COXTabSkinClassic::DrawTabControl(CTabCtrl* pTabCtrl) {
    pTabCtrl->Default();
    // A themed tab control of Windows XP loses the rotated texts of vertical
    // tabs; only there are they drawn again.
    if ((pTabCtrl->GetStyle() & TCS_VERTICAL) == 0 || !IsThemedWindowsXP())
        return;
    LOGFONTA lf;
    if (!GetMenuFont(&lf))
        return;
    lf.lfEscapement = kEscapementUp;
    HIMAGELIST hImages = TabCtrl_GetImageList(pTabCtrl->m_hWnd);
    int cxImage = 0, cyImage = 0;
    if (hImages != nullptr)
        ImageList_GetIconSize(hImages, &cxImage, &cyImage);
    const BOOL bBottom = (pTabCtrl->GetStyle() & TCS_BOTTOM) != 0;

    CClientDC dc(pTabCtrl);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < pTabCtrl->GetItemCount(); ++i) {
        CRect rect;
        pTabCtrl->GetItemRect(i, &rect);
        char szText[256] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = szText;
        item.cchTextMax = 255;
        if (!pTabCtrl->GetItem(i, &item))
            continue;
        int nOffset = rect.Height();
        if (item.iImage >= 0 && hImages != nullptr)
            nOffset -= bBottom ? kVerticalTextGap : cyImage + kVerticalTextGap;
        rect.OffsetRect(0, nOffset);
        CFont font;
        if (!font.CreateFontIndirect(&lf))
            continue;
        CScopedSelect selectFont(dc, &font);
        dc.DrawText(szText, -1, &rect, DT_NOCLIP);
    }
}

void COXTabSkinClassic::DrawSpinControl(CSpinButtonCtrl* pSpin) {
    pSpin->Default();
}

void COXTabSkinClassic::DrawBorder(CDC* pDC, const CRect& rect, CWnd* /*pWnd*/) {
    pDC->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

void COXTabSkinClassic::DrawMDIClientNonClient(CWnd* pMDIClient) {
    pMDIClient->Default();
}

void COXTabSkinClassic::AdjustClientRect(CRect& /*rect*/, int /*nAmount*/, CTabCtrl* /*pTabCtrl*/) {
}
