// OXTabSkinXP.cpp: COXTabSkinXP, the flat Office XP painting of tab controls,
// their scroll arrows, tab window borders and the MDI client's edge, and
// COXTabSkin2003, the same with gradient faces and strips.
#include "OXTabSkin.h"

#include "OXSkinnedTabCtrl.h"

#include "framework/SpinButtonCtrl.h"
#include "framework/TabCtrl.h"

#include <cstring>

namespace {

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

// Item text and image sit this far below the item's top.
const int kItemTextTop = 3;
// The image starts this far right of the item's left edge; the text as far
// right of the image.
const int kImageGap = 3;
// The focus rectangle lies this far inside the item.
const int kFocusInset = 2;
// The separator on an item's right edge leaves this much of its height free
// above and below.
const int kSeparatorInset = 3;
// The strip behind a single row ends (or begins) this far from the display
// area; its line lies one pixel closer below a bottom row.
const int kStripGap = 3;
// Row-line decisions: an item further than this from the display area lies
// in a row behind the first.
const int kRowGap = 3;
// Items that end this close to the control's left edge are scrolled out.
const int kClipLeft = 3;
// The arrows' boxes leave this much of the spin control free at the sides
// and on the strip's side.
const int kSpinInset = 2;
// Arrows are triangles of this size, centred in their box.
const int kArrowWidth = 4;
const int kArrowHeight = 8;
// The MDI client grows over margins of the tab control's display area that
// are narrower than this.
const int kThinMargin = 8;

// Tab controls of this class name hold the arrows the skins subclass; the
// name is read into a buffer of 16 characters.
const char kUpDownClass[] = "msctls_updown32";
const int kClassNameBuffer = 16;

COXSkinnedTabCtrl* AsSkinnedTabCtrl(CWnd* pWnd) {
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(COXSkinnedTabCtrl)))
        return nullptr;
    return static_cast<COXSkinnedTabCtrl*>(pWnd);
}

CRect DisplayRect(CTabCtrl* pTabCtrl) {
    CRect rect;
    pTabCtrl->GetClientRect(&rect);
    pTabCtrl->AdjustRect(FALSE, &rect);
    return rect;
}

void Line(CDC* pDC, int x1, int y1, int x2, int y2) {
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

// The arrow's four points (the first repeated) from the three given ones.
void DrawArrow(CDC* pDC, const POINT (&pts)[3], CPen* pPen, CBrush* pBrush) {
    const POINT polygon[4] = {pts[0], pts[1], pts[2], pts[0]};
    CScopedSelect selectPen(*pDC, pPen);
    if (pBrush != nullptr) {
        CScopedSelect selectBrush(*pDC, pBrush);
        pDC->Polygon(polygon, 4);
    } else {
        // An arrow that cannot act keeps the context's current brush.
        pDC->Polygon(polygon, 4);
    }
}

// The subclassing of the system's arrows by the skinned tab control's member,
// at the first paint that finds them.
void AttachSpinControl(CTabCtrl* pTabCtrl) {
    COXSkinnedTabCtrl* pSkinned = AsSkinnedTabCtrl(pTabCtrl);
    if (pSkinned == nullptr || pSkinned->m_spin.m_hWnd != nullptr)
        return;
    for (HWND hChild = ::GetWindow(pTabCtrl->m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[kClassNameBuffer] = "";
        ::GetClassNameA(hChild, szClass, kClassNameBuffer);
        if (std::strcmp(szClass, kUpDownClass) == 0) {
            pSkinned->m_spin.SubclassWindow(hChild);
            return;
        }
    }
}

} // namespace

COXTabSkinXP::COXTabSkinXP(COXSkinXP* pSkin) : m_pSkin(pSkin) {
    m_penShadow.CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW));
    LOGFONTA lf;
    if (GetMenuFont(&lf))
        m_fontTab.CreateFontIndirect(&lf);
    m_brushText.CreateSolidBrush(m_pSkin->GetTabTextColor());
    m_penText.CreatePen(PS_SOLID, 1, m_pSkin->GetTabTextColor());
}

// ---- The tab control

void COXTabSkinXP::DrawTabControl(CTabCtrl* pTabCtrl) {
    CPaintDC dcPaint(pTabCtrl);
    CRect rectClient;
    pTabCtrl->GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty())
        return;

    CDC dcBack, dcItems;
    CBitmap bitmapBack, bitmapItems;
    if (!dcBack.CreateCompatibleDC(&dcPaint) || !dcItems.CreateCompatibleDC(&dcPaint) ||
        !bitmapBack.CreateCompatibleBitmap(&dcPaint, rectClient.right, rectClient.bottom) ||
        !bitmapItems.CreateCompatibleBitmap(&dcPaint, rectClient.Width(), rectClient.Height()))
        return;
    CScopedSelect selectBack(dcBack, &bitmapBack);
    CScopedSelect selectItems(dcItems, &bitmapItems);

    AttachSpinControl(pTabCtrl);
    DrawBackground(&dcBack, rectClient, pTabCtrl);

    const CRect rectDisplay = DisplayRect(pTabCtrl);
    CRect rectBorder = rectDisplay;
    rectBorder.bottom -= 1;
    dcBack.FrameRect(&rectBorder, CBrush::FromHandle(::GetSysColorBrush(COLOR_BTNSHADOW)));

    const BOOL bBottom = (pTabCtrl->GetStyle() & TCS_BOTTOM) != 0;
    if (pTabCtrl->GetRowCount() <= 1) {
        if (bBottom) {
            FillStrip(&dcBack,
                      CRect(0, rectDisplay.bottom + kStripGap, rectClient.right, rectClient.bottom),
                      TRUE);
            CScopedSelect selectPen(dcBack, ::GetStockObject(BLACK_PEN));
            Line(&dcBack, 0, rectDisplay.bottom + kStripGap - 1, rectClient.right,
                 rectDisplay.bottom + kStripGap - 1);
        } else {
            FillStrip(&dcBack,
                      CRect(0, rectClient.top, rectClient.right, rectDisplay.top - kStripGap),
                      FALSE);
            CScopedSelect selectPen(dcBack, ::GetStockObject(WHITE_PEN));
            Line(&dcBack, 0, rectDisplay.top - kStripGap, rectClient.right,
                 rectDisplay.top - kStripGap);
        }
    }

    // An empty control still shows its background, frame and strip: what was
    // on the screen before must not stay.
    const int nCount = pTabCtrl->GetItemCount();
    const int nSelected = pTabCtrl->GetCurSel();
    auto drawItem = [&](int nItem) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_TAB;
        dis.CtlID = static_cast<UINT>(pTabCtrl->GetDlgCtrlID());
        dis.itemID = static_cast<UINT>(nItem);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nItem == nSelected ? ODS_SELECTED : 0;
        dis.hwndItem = pTabCtrl->m_hWnd;
        dis.hDC = dcItems.m_hDC;
        pTabCtrl->GetItemRect(nItem, &dis.rcItem);
        DrawItem(&dis, pTabCtrl);
        DrawItemEdges(&dis, pTabCtrl);
        CRect rectItem = dis.rcItem;
        if (ClipItemToSpin(pTabCtrl, rectItem))
            dcBack.BitBlt(rectItem.left, rectItem.top, rectItem.Width(), rectItem.Height(),
                          &dcItems, rectItem.left, rectItem.top, SRCCOPY);
    };
    for (int i = 0; i < nCount; ++i) {
        if (i != nSelected)
            drawItem(i);
    }
    if (nSelected >= 0 && nSelected < nCount)
        drawItem(nSelected);

    dcPaint.BitBlt(0, 0, rectClient.Width(), rectClient.Height(), &dcBack, 0, 0, SRCCOPY);
    // The arrows paint last, over the strip.
    if (CSpinButtonCtrl* pSpin = GetSpinControl(pTabCtrl)) {
        if (pSpin->m_hWnd != nullptr && pSpin->IsWindowVisible())
            pSpin->Invalidate(TRUE);
    }
}

void COXTabSkinXP::DrawBackground(CDC* pDC, const CRect& rect, CWnd* /*pWnd*/) {
    pDC->FillSolidRect(rect, Sys(COLOR_BTNFACE));
}

void COXTabSkinXP::FillStrip(CDC* pDC, const CRect& rect, BOOL /*bBottom*/) {
    pDC->FillSolidRect(rect, COXSkinXP::GetLightFaceColor());
}

// ---- Items

void COXTabSkinXP::DrawItem(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl) {
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    const COLORREF crFace =
        (lpdis->itemState & ODS_SELECTED) ? Sys(COLOR_BTNFACE) : COXSkinXP::GetLightFaceColor();
    pDC->FillSolidRect(&lpdis->rcItem, crFace);
    // Opaque text lies on the face colour.
    pDC->SetBkColor(crFace);
    DrawItemContent(lpdis, pTabCtrl, FALSE);
}

void COXTabSkinXP::DrawItemContent(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl,
                                   BOOL bTransparentText) {
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    const BOOL bSelected = (lpdis->itemState & ODS_SELECTED) != 0;
    pDC->SetTextColor(bSelected ? Sys(COLOR_BTNTEXT) : m_pSkin->GetTabTextColor());

    char szText[256] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = szText;
    item.cchTextMax = 255;
    if (!pTabCtrl->GetItem(static_cast<int>(lpdis->itemID), &item))
        item.iImage = -1;

    CRect rect = lpdis->rcItem;
    rect.top += kItemTextTop;
    HIMAGELIST hImages = TabCtrl_GetImageList(pTabCtrl->m_hWnd);
    if (item.iImage >= 0 && hImages != nullptr) {
        ImageList_Draw(hImages, item.iImage, pDC->m_hDC, rect.left + kImageGap, rect.top - 1,
                       ILD_TRANSPARENT);
        int cxImage = 0, cyImage = 0;
        ImageList_GetIconSize(hImages, &cxImage, &cyImage);
        rect.left += cxImage + kImageGap;
    }
    {
        CScopedSelect selectFont(*pDC, &m_fontTab);
        pDC->SetBkMode(bTransparentText ? TRANSPARENT : OPAQUE);
        pDC->DrawText(szText, -1, &rect, DT_CENTER);
    }
    rect.top -= kItemTextTop;

    if (bSelected && (pTabCtrl->GetStyle() & TCS_FOCUSNEVER) == 0) {
        rect.DeflateRect(kFocusInset, kFocusInset);
        pDC->DrawFocusRect(&rect);
    }
}

void COXTabSkinXP::DrawItemEdges(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl) {
    DrawEdges(lpdis, pTabCtrl, FALSE);
}

void COXTabSkinXP::DrawEdges(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl, BOOL bFilledSeparator) {
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    const CRect r = lpdis->rcItem;
    const BOOL bBottom = (pTabCtrl->GetStyle() & TCS_BOTTOM) != 0;
    CGdiObject* pWhite = CGdiObject::FromHandle(::GetStockObject(WHITE_PEN));
    CGdiObject* pBlack = CGdiObject::FromHandle(::GetStockObject(BLACK_PEN));

    if (lpdis->itemState & ODS_SELECTED) {
        if (bBottom) {
            CScopedSelect selectWhite(*pDC, pWhite);
            Line(pDC, r.left, r.top, r.left, r.bottom - 1);
            CScopedSelect selectBlack(*pDC, pBlack);
            pDC->LineTo(r.right, r.bottom - 1);
            Line(pDC, r.right - 1, r.top, r.right - 1, r.bottom - 1);
        } else {
            CScopedSelect selectWhite(*pDC, pWhite);
            Line(pDC, r.left, r.bottom - 1, r.left, r.top);
            pDC->LineTo(r.right, r.top);
            CScopedSelect selectBlack(*pDC, pBlack);
            Line(pDC, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
        }
        return;
    }

    // The selected item's own edge stands where its left neighbour's
    // separator would be.
    if (!IsNextItemSelected(pTabCtrl, static_cast<int>(lpdis->itemID))) {
        const int nTop = r.top + kSeparatorInset;
        const int nBottom = r.bottom - kSeparatorInset;
        if (bFilledSeparator) {
            if (nBottom > nTop)
                pDC->FillSolidRect(r.right - 1, nTop, 1, nBottom - nTop,
                                   m_pSkin->GetOutlineColor());
        } else {
            CScopedSelect selectShadow(*pDC, &m_penShadow);
            Line(pDC, r.right - 1, nTop, r.right - 1, nBottom);
        }
    }

    // The row line: along the edge toward the display area, black or white
    // where the item touches it, in the shadow colour for rows behind.
    const CRect rectDisplay = DisplayRect(pTabCtrl);
    CGdiObject* pPen = &m_penShadow;
    BOOL bAlongTop = TRUE;
    if (bBottom) {
        const int g = r.top - rectDisplay.bottom;
        if (g >= 0 && g <= kRowGap)
            pPen = pBlack;
        bAlongTop = g >= 0;
    } else {
        const int g = rectDisplay.top - r.top;
        if (g >= 1 && g <= r.Height() + kRowGap)
            pPen = pWhite;
        bAlongTop = g <= 0;
    }
    CScopedSelect selectPen(*pDC, pPen);
    const int y = bAlongTop ? r.top : r.bottom - 1;
    Line(pDC, r.left, y, r.right, y);
}

BOOL COXTabSkinXP::IsNextItemSelected(CTabCtrl* pTabCtrl, int nItem) {
    return nItem + 1 < pTabCtrl->GetItemCount() && pTabCtrl->GetCurSel() == nItem + 1;
}

CSpinButtonCtrl* COXTabSkinXP::GetSpinControl(CTabCtrl* pTabCtrl) {
    COXSkinnedTabCtrl* pSkinned = AsSkinnedTabCtrl(pTabCtrl);
    return pSkinned != nullptr ? &pSkinned->m_spin : nullptr;
}

BOOL COXTabSkinXP::ClipItemToSpin(CTabCtrl* pTabCtrl, CRect& rectItem) {
    CSpinButtonCtrl* pSpin = GetSpinControl(pTabCtrl);
    if (pSpin == nullptr || pSpin->m_hWnd == nullptr || !pSpin->IsWindowVisible())
        return TRUE;
    CRect rectClient, rectSpin;
    pTabCtrl->GetClientRect(&rectClient);
    pSpin->GetClientRect(&rectSpin);
    const int nSpinLeft = rectClient.right - rectSpin.Width();
    if (nSpinLeft < rectItem.left || rectClient.left + kClipLeft >= rectItem.right)
        return FALSE;
    if (nSpinLeft < rectItem.right)
        rectItem.right = nSpinLeft;
    return TRUE;
}

// ---- The scroll arrows

void COXTabSkinXP::DrawSpinControl(CSpinButtonCtrl* pSpin) {
    CPaintDC dcPaint(pSpin);
    CRect rectClient;
    pSpin->GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty())
        return;
    CDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(&dcPaint) ||
        !bitmap.CreateCompatibleBitmap(&dcPaint, rectClient.Width(), rectClient.Height()))
        return;
    CScopedSelect selectBitmap(dc, &bitmap);
    FillSpinBackground(&dc, rectClient, pSpin);

    CWnd* pParent = pSpin->GetParent();
    const BOOL bBottom = pParent != nullptr && (pParent->GetStyle() & TCS_BOTTOM) != 0;
    CRect rectInner = rectClient;
    rectInner.DeflateRect(kSpinInset, bBottom ? 0 : kSpinInset, kSpinInset,
                          bBottom ? kSpinInset : 0);
    // Two boxes side by side: the right one starts where the left one ends.
    const int nHalf = rectInner.Width() / 2;
    const CRect rectLeft(rectInner.left, rectInner.top, rectInner.left + nHalf, rectInner.bottom);
    const CRect rectRight(rectLeft.right, rectInner.top, rectLeft.right + nHalf, rectInner.bottom);

    const int nPos = LOWORD(pSpin->SendMessage(UDM_GETPOS));
    int nLower = 0, nUpper = 0;
    pSpin->GetRange32(nLower, nUpper);
    const BOOL bLeftActs = nPos != 0;
    const BOOL bRightActs = nPos != nUpper;
    DrawLeftArrow(&dc, rectLeft, &m_penText, bLeftActs ? &m_brushText : nullptr);
    DrawRightArrow(&dc, rectRight, &m_penText, bRightActs ? &m_brushText : nullptr);

    CPoint pt;
    ::GetCursorPos(&pt);
    pSpin->ScreenToClient(&pt);
    if (rectRight.PtInRect(pt) && bRightActs)
        DrawSpinButtonEdge(&dc, rectRight);
    else if (rectLeft.PtInRect(pt) && bLeftActs)
        DrawSpinButtonEdge(&dc, rectLeft);

    dcPaint.BitBlt(0, 0, rectClient.Width(), rectClient.Height(), &dc, 0, 0, SRCCOPY);
}

void COXTabSkinXP::FillSpinBackground(CDC* pDC, const CRect& rectClient,
                                      CSpinButtonCtrl* /*pSpin*/) {
    pDC->FillSolidRect(rectClient, COXSkinXP::GetLightFaceColor());
}

void COXTabSkinXP::DrawSpinButtonEdge(CDC* pDC, const CRect& rectBox) {
    CRect rect = rectBox;
    rect.DeflateRect(1, 1);
    const BOOL bPressed = ::GetKeyState(VK_LBUTTON) < 0;
    HGDIOBJ hWhite = ::GetStockObject(WHITE_PEN);
    HGDIOBJ hBlack = ::GetStockObject(BLACK_PEN);
    {
        CScopedSelect selectFirst(*pDC, bPressed ? hBlack : hWhite);
        Line(pDC, rect.left, rect.bottom, rect.left, rect.top);
        pDC->LineTo(rect.right, rect.top);
    }
    CScopedSelect selectSecond(*pDC, bPressed ? hWhite : hBlack);
    pDC->LineTo(rect.right, rect.bottom);
    pDC->LineTo(rect.left, rect.bottom);
}

void COXTabSkinXP::DrawLeftArrow(CDC* pDC, const CRect& rectBox, CPen* pPen, CBrush* pBrush) {
    const int x = rectBox.left + (rectBox.Width() - kArrowWidth) / 2;
    const int y = rectBox.top + (rectBox.Height() - kArrowHeight) / 2;
    const int m = y + kArrowHeight / 2;
    const POINT pts[3] = {{x, m - 1}, {x + kArrowWidth, y - 1}, {x + kArrowWidth, y + 7}};
    DrawArrow(pDC, pts, pPen, pBrush);
}

void COXTabSkinXP::DrawRightArrow(CDC* pDC, const CRect& rectBox, CPen* pPen, CBrush* pBrush) {
    const int x = rectBox.left + (rectBox.Width() - kArrowWidth) / 2;
    const int y = rectBox.top + (rectBox.Height() - kArrowHeight) / 2;
    const int m = y + kArrowHeight / 2;
    const POINT pts[3] = {{x + kArrowWidth, m - 1}, {x, y - 1}, {x, y + 7}};
    DrawArrow(pDC, pts, pPen, pBrush);
}

// ---- Borders

void COXTabSkinXP::DrawBorder(CDC* pDC, const CRect& rect, CWnd* /*pWnd*/) {
    const COLORREF crOutline = m_pSkin->GetOutlineColor();
    pDC->Draw3dRect(rect, crOutline, crOutline);
}

void COXTabSkinXP::DrawMDIClientNonClient(CWnd* pMDIClient) {
    pMDIClient->Default();
    CRect rectWindow, rectClient;
    pMDIClient->GetWindowRect(&rectWindow);
    pMDIClient->GetClientRect(&rectClient);
    pMDIClient->ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);

    CWindowDC dc(pMDIClient);
    dc.ExcludeClipRect(&rectClient);
    dc.FrameRect(&rectWindow, CBrush::FromHandle(::GetSysColorBrush(COLOR_BTNFACE)));
    rectWindow.DeflateRect(1, 1);
    dc.FrameRect(&rectWindow, CBrush::FromHandle(::GetSysColorBrush(COLOR_3DDKSHADOW)));
}

void COXTabSkinXP::AdjustClientRect(CRect& rect, int nAmount, CTabCtrl* pTabCtrl) {
    CRect rectClient;
    pTabCtrl->GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty())
        return;
    const CRect rectDisplay = DisplayRect(pTabCtrl);
    if (rectDisplay.left - rectClient.left < kThinMargin)
        rect.left -= nAmount;
    if (rectDisplay.top - rectClient.top < kThinMargin)
        rect.top -= nAmount;
    if (rectClient.right - rectDisplay.right < kThinMargin)
        rect.right += nAmount;
    if (rectClient.bottom - rectDisplay.bottom < kThinMargin)
        rect.bottom += nAmount;
}

// ---- COXTabSkin2003

void COXTabSkin2003::DrawBackground(CDC* pDC, const CRect& rect, CWnd* /*pWnd*/) {
    pDC->FillSolidRect(rect, m_pSkin->GetFaceColor());
}

void COXTabSkin2003::FillStrip(CDC* pDC, const CRect& rect, BOOL bBottom) {
    const COLORREF crLight = Skin2003()->GetTabLightColor();
    const COLORREF crDark = Skin2003()->GetTabDarkColor();
    // Light next to the display area, dark at the far edge.
    Skin2003()->FillGradient(pDC, rect, bBottom ? crLight : crDark, bBottom ? crDark : crLight,
                             OX_GRADIENT_VERTICAL);
}

void COXTabSkin2003::DrawItem(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl) {
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    const BOOL bBottom = (pTabCtrl->GetStyle() & TCS_BOTTOM) != 0;
    COLORREF crNear, crFar; // at the display area's side and at the far side
    if (lpdis->itemState & ODS_SELECTED) {
        crNear = Skin2003()->GetTabSelectedDarkColor();
        crFar = Skin2003()->GetTabSelectedLightColor();
    } else {
        crNear = Skin2003()->GetTabLightColor();
        crFar = Skin2003()->GetTabDarkColor();
    }
    Skin2003()->FillGradient(pDC, lpdis->rcItem, bBottom ? crNear : crFar, bBottom ? crFar : crNear,
                             OX_GRADIENT_VERTICAL);
    DrawItemContent(lpdis, pTabCtrl, TRUE);
}

void COXTabSkin2003::DrawItemEdges(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl) {
    DrawEdges(lpdis, pTabCtrl, TRUE);
}

void COXTabSkin2003::FillSpinBackground(CDC* pDC, const CRect& /*rectClient*/,
                                        CSpinButtonCtrl* pSpin) {
    // The tab strip's gradient, continued under the arrows.
    CWnd* pParent = pSpin->GetParent();
    if (pParent == nullptr)
        return;
    CRect rectParent;
    pParent->GetWindowRect(&rectParent);
    CRect rectDisplay = rectParent;
    pParent->SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rectDisplay));
    pSpin->ScreenToClient(&rectParent);
    pSpin->ScreenToClient(&rectDisplay);
    const COLORREF crLight = Skin2003()->GetTabLightColor();
    const COLORREF crDark = Skin2003()->GetTabDarkColor();
    if (pParent->GetStyle() & TCS_BOTTOM)
        Skin2003()->FillGradient(pDC,
                                 CRect(rectParent.left, rectDisplay.bottom + kStripGap,
                                       rectParent.right, rectParent.bottom),
                                 crLight, crDark, OX_GRADIENT_VERTICAL);
    else
        Skin2003()->FillGradient(
            pDC, CRect(rectParent.left, rectParent.top, rectParent.right, rectDisplay.top), crDark,
            crLight, OX_GRADIENT_VERTICAL);
}
