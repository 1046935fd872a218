// OXShortcutBarSkin.cpp: COXShortcutBarSkin and its families Classic, Office XP
// and Office 2003: the shortcut bar's default colours, its group headers in
// their states, the frames of list items, the background of the group lists
// and the 2003 title band.
//
// Every state comes from the bar at each call (hot, pressed, dragged and
// drop-target groups, the drag-image flag, the style word), so a skin object
// can serve any number of bars.
#include "OXShortcutBarSkin.h"

#include "OXSHBListCtrl.h"
#include "OXShortcutBar.h"
#include "framework/Dc.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"

#include <algorithm>

namespace {

// The tints of a header or list colour: light for the lit edges, dark for the
// shaded ones.
const int kLightTint = 64;
const int kDarkTint = -128;

// Fixed colours of the 2003 family.
const COLORREF kExpandedHeader = RGB(238, 149, 21);
const COLORREF kHotHeader = RGB(247, 192, 91);
const COLORREF kHeaderBottomLine = RGB(0, 45, 150);
const COLORREF kTitleBandTop = RGB(85, 131, 211);
const COLORREF kTitleBandBottom = RGB(3, 56, 147);
const COLORREF kTitleText = RGB(255, 255, 255);

// 2003 header and title band metrics.
const int kHeaderIndent = 6; // image and text start this far right and down
const int kTitleBandHeight = 25;
const int kTitleTextIndentX = 6;
const int kTitleTextIndentY = 2;
const int kTitleFontHeight = 22;

// The drop marker: red, unless the header itself is too close to red to show it.
const COLORREF kMarkerRed = RGB(255, 0, 0);
const COLORREF kMarkerBlue = RGB(0, 0, 255);
const int kMarkerSimilarity = 64;
const int kMarkerArrowInset = 4;

// Weight added to a bold header font, and its limits.
const int kBoldIncrease = 300;
const int kNormalWeight = 400;
const int kMaxWeight = 1000;

// One arrow of the drop marker, pointing up, in coordinates from the top-left
// corner of the arrow box; mirrored for the other corners. Each segment is drawn
// with MoveTo/LineTo, so it stops one pixel short of its end.
struct ArrowSegment {
    int x1, y1, x2, y2;
};
const ArrowSegment kUpArrow[] = {
    {2, 9, 2, 3}, {3, 9, 3, 3}, {4, 9, 4, 3},               // stem
    {0, 3, 7, 3}, {1, 2, 6, 2}, {2, 1, 5, 1}, {3, 0, 4, 0}, // head
};

// The arrow of kUpArrow anchored at ptCorner; nDirX -1 mirrors it about a right
// edge, nDirY -1 about a bottom edge (pointing down).
void DrawArrow(CDC* pDC, CPoint ptCorner, int nDirX, int nDirY) {
    for (const ArrowSegment& seg : kUpArrow) {
        pDC->MoveTo(ptCorner.x + nDirX * seg.x1, ptCorner.y + nDirY * seg.y1);
        pDC->LineTo(ptCorner.x + nDirX * seg.x2, ptCorner.y + nDirY * seg.y2);
    }
}

HSHBGROUP GroupOfItem(const DRAWITEMSTRUCT* pDrawItemStruct) {
    return reinterpret_cast<HSHBGROUP>(static_cast<UINT_PTR>(pDrawItemStruct->itemID));
}

// The two rings of a Classic or Office XP header's frame, outer first.
struct HeaderFrame {
    COLORREF clrOuterTopLeft, clrOuterBottomRight;
    COLORREF clrInnerTopLeft, clrInnerBottomRight;
};

// Without SHBS_BUTTONHEADERS every header is raised twice. With it the outer
// ring stays raised and the inner one shows the state: flat while dragged,
// raised under the mouse, sunken (both rings) while pressed under the mouse.
HeaderFrame FrameOfHeader(const COXShortcutBar* pBar, HSHBGROUP hGroup, BOOL bDragged, COLORREF clr,
                          COLORREF clrLight, COLORREF clrDark) {
    if ((pBar->GetBarStyle() & SHBS_BUTTONHEADERS) == 0)
        return {clrLight, clrDark, clrLight, clrDark};
    if (bDragged || pBar->IsDrawingDragImage())
        return {clrLight, clrDark, clr, clr};
    const HSHBGROUP hPressed = pBar->GetPressedGroup();
    const BOOL bHot = hGroup == pBar->GetHotGroup();
    if (hPressed != nullptr && hPressed == hGroup)
        return bHot ? HeaderFrame{clrDark, clr, clrDark, clrLight}
                    : HeaderFrame{clrLight, clrDark, clr, clrDark};
    if (hPressed == nullptr && bHot)
        return {clrLight, clrDark, clr, clrDark};
    return {clrLight, clrDark, clr, clr};
}

COXSHBListCtrl* AsShortcutBarList(CWnd* pWnd) {
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(COXSHBListCtrl)))
        return nullptr;
    return static_cast<COXSHBListCtrl*>(pWnd);
}

// Classic and Office XP: a list draws its items into bitmaps of their own
// size, so its rectangles start at 0,0; other windows fill in place.
void FillFlatBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, COLORREF clr) {
    CRect rectFill = rect;
    if (AsShortcutBarList(pWnd) != nullptr)
        rectFill.OffsetRect(-rectFill.left, -rectFill.top);
    pDC->FillSolidRect(&rectFill, clr);
}

} // namespace

// ---- COXShortcutBarSkin: the Classic and Office XP header, and the parts every
// family draws

void COXShortcutBarSkin::DrawGroupHeader(LPDRAWITEMSTRUCT pDrawItemStruct, COXShortcutBar* pBar) {
    CDCHandle dc(pDrawItemStruct->hDC);
    const HSHBGROUP hGroup = GroupOfItem(pDrawItemStruct);
    const int nSavedDC = dc.SaveDC();

    COLORREF clr = pBar->GetGroupHeaderBkColor(hGroup);
    const BOOL bDragged = hGroup == pBar->GetDragGroup();
    if (bDragged)
        clr = InvertColor(clr);
    const COLORREF clrLight = AdjustColor(clr, kLightTint);
    const COLORREF clrDark = AdjustColor(clr, kDarkTint);

    const HeaderFrame frame = FrameOfHeader(pBar, hGroup, bDragged, clr, clrLight, clrDark);
    CRect rect = pDrawItemStruct->rcItem;
    dc.Draw3dRect(&rect, frame.clrOuterTopLeft, frame.clrOuterBottomRight);
    rect.DeflateRect(1, 1);
    dc.Draw3dRect(&rect, frame.clrInnerTopLeft, frame.clrInnerBottomRight);
    rect.DeflateRect(1, 1);
    dc.FillSolidRect(&rect, clr);

    // Keep the text clear of the frame by two spaces of the current font.
    const int nMargin = 2 * dc.GetTextExtent(_T(" "), 1).cx;
    rect.DeflateRect(nMargin, 0);
    rect.left += DrawHeaderImage(hGroup, pBar, &dc, rect.left, rect.top);
    DrawHeaderText(hGroup, pBar, &dc, rect, pBar->GetGroupHeaderTextFormat(hGroup), FALSE);
    DrawDropMarker(hGroup, pBar, &dc, pDrawItemStruct);

    dc.RestoreDC(nSavedDC);
}

void COXShortcutBarSkin::DrawTitleBand(COXShortcutBar*, CDC*) {
    // The split layout has no title band.
}

int COXShortcutBarSkin::DrawHeaderImage(HSHBGROUP hGroup, COXShortcutBar* pBar, CDC* pDC, int x,
                                        int y) {
    const int nImage = hGroup == pBar->GetExpandedGroup() ? pBar->GetGroupImageExpanded(hGroup)
                                                          : pBar->GetGroupImage(hGroup);
    CImageList* pImageList = pBar->GetGroupImageList();
    if (nImage < 0 || pImageList == nullptr || pImageList->GetSafeHandle() == nullptr)
        return 0;
    // An index the list does not hold draws nothing and takes no room.
    IMAGEINFO info;
    if (!pImageList->GetImageInfo(nImage, &info))
        return 0;
    pImageList->Draw(pDC, nImage, CPoint(x, y), ILD_TRANSPARENT);
    return info.rcImage.right - info.rcImage.left;
}

void COXShortcutBarSkin::DrawHeaderText(HSHBGROUP hGroup, COXShortcutBar* pBar, CDC* pDC,
                                        const CRect& rect, UINT nFormat, BOOL bBold) {
    if (rect.left >= rect.right)
        return;
    const CString strText = pBar->GetGroupText(hGroup);
    LOGFONT lf;
    if (strText.IsEmpty() || !pBar->GetGroupHeaderTextFont(hGroup, &lf))
        return;

    if (bBold || ((pBar->GetBarStyle() & SHBS_BOLDEXPANDEDGROUP) != 0 &&
                  hGroup == pBar->GetExpandedGroup())) {
        const int nWeight = lf.lfWeight == 0 ? kNormalWeight : (int)lf.lfWeight;
        lf.lfWeight = std::min(nWeight + kBoldIncrease, kMaxWeight);
    }
    CFont font;
    if (!font.CreateFontIndirect(&lf))
        return;

    COLORREF clrText = pBar->GetGroupHeaderTextColor(hGroup);
    if (hGroup == pBar->GetDragGroup())
        clrText = InvertColor(clrText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = pDC->SetTextColor(clrText);
    {
        CScopedSelect selectFont(*pDC, &font);
        CRect rectText = rect;
        pDC->DrawText(strText, &rectText, nFormat);
    }
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
}

void COXShortcutBarSkin::DrawDropMarker(HSHBGROUP hGroup, COXShortcutBar* pBar, CDC* pDC,
                                        LPDRAWITEMSTRUCT pDrawItemStruct) {
    const HSHBGROUP hDragged = pBar->GetDragGroup();
    if (hDragged == nullptr || hGroup != pBar->GetDropTargetGroup() || hGroup == hDragged)
        return;

    const COLORREF clrMarker =
        IsSimilarColor(kMarkerRed, pBar->GetGroupHeaderBkColor(hGroup), kMarkerSimilarity)
            ? kMarkerBlue
            : kMarkerRed;
    CRect rect = pDrawItemStruct->rcItem;
    CBrush brush;
    if (brush.CreateSolidBrush(clrMarker))
        pDC->FrameRect(&rect, &brush);

    // The arrows point the way the dragged header will move.
    const int nTargetOrder = pBar->GetGroupOrder(hGroup);
    const int nDraggedOrder = pBar->GetGroupOrder(hDragged);
    if (nTargetOrder == nDraggedOrder)
        return;
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, clrMarker))
        return;
    CScopedSelect selectPen(*pDC, &pen);
    rect.DeflateRect(kMarkerArrowInset, kMarkerArrowInset);
    if (nTargetOrder < nDraggedOrder) {
        DrawArrow(pDC, CPoint(rect.left, rect.top), 1, 1);
        DrawArrow(pDC, CPoint(rect.right, rect.top), -1, 1);
    } else {
        DrawArrow(pDC, CPoint(rect.left, rect.bottom), 1, -1);
        DrawArrow(pDC, CPoint(rect.right, rect.bottom), -1, -1);
    }
}

// ---- COXShortcutBarSkinClassic: system colours and 3D item frames

COLORREF COXShortcutBarSkinClassic::GetBackgroundColor(CWnd*) const {
    return ::GetSysColor(COLOR_BTNSHADOW);
}

COLORREF COXShortcutBarSkinClassic::GetTextColor(CWnd*) const {
    return ::GetSysColor(COLOR_CAPTIONTEXT);
}

void COXShortcutBarSkinClassic::DrawItemFrame(CDC* pDC, const CRect& rect, BOOL bHot, BOOL bPressed,
                                              COXSHBListCtrl* pList) {
    // Tinted from the list's own background, so lists with their own colours
    // get matching frames.
    const COLORREF clrBack = pList != nullptr ? pList->GetBkColor() : GetBackgroundColor(nullptr);
    const COLORREF clrLight = ShiftColor(clrBack, kLightTint);
    const COLORREF clrDark = ShiftColor(clrBack, kDarkTint);
    if (bPressed)
        pDC->Draw3dRect(&rect, clrDark, clrLight);
    else if (bHot)
        pDC->Draw3dRect(&rect, clrLight, clrDark);
}

void COXShortcutBarSkinClassic::FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd,
                                               BOOL bUseColor, COLORREF clr) {
    FillFlatBackground(pDC, rect, pWnd, bUseColor ? clr : GetBackgroundColor(pWnd));
}

COLORREF COXShortcutBarSkinClassic::ShiftColor(COLORREF clr, int nAmount) {
    return AdjustColor(clr, nAmount);
}

// ---- COXShortcutBarSkinXP: the Office XP colour set and flat item frames

COLORREF COXShortcutBarSkinXP::GetBackgroundColor(CWnd*) const {
    return m_pSkin->GetBarColor();
}

COLORREF COXShortcutBarSkinXP::GetTextColor(CWnd*) const {
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

void COXShortcutBarSkinXP::DrawItemFrame(CDC* pDC, const CRect& rect, BOOL bHot, BOOL bPressed,
                                         COXSHBListCtrl*) {
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, m_pSkin->GetBorderColor()))
        return;
    // With neither flag the context's current brush fills the rectangle.
    CBrush brush;
    BOOL bBrush = TRUE;
    if (bHot && bPressed)
        bBrush = brush.CreateSolidBrush(m_pSkin->GetPressedColor());
    else if (bHot)
        bBrush = brush.CreateSolidBrush(m_pSkin->GetHotColor());
    else if (bPressed)
        bBrush = brush.CreateSolidBrush(m_pSkin->GetCheckedColor());
    if (!bBrush)
        return;
    CScopedSelect selectPen(*pDC, &pen);
    CScopedSelect selectBrush(*pDC, &brush); // selects nothing while brush is empty
    pDC->Rectangle(&rect);
}

void COXShortcutBarSkinXP::FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bUseColor,
                                          COLORREF clr) {
    FillFlatBackground(pDC, rect, pWnd, bUseColor ? clr : GetBackgroundColor(pWnd));
}

// ---- COXShortcutBarSkin2003: gradients and the title band

COXSkin2003* COXShortcutBarSkin2003::Get2003Skin() const {
    // The constructor takes a COXSkin2003 only.
    return static_cast<COXSkin2003*>(m_pSkin);
}

void COXShortcutBarSkin2003::FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bUseColor,
                                            COLORREF clr) {
    CRect rectFill = rect;
    if (COXSHBListCtrl* pList = AsShortcutBarList(pWnd)) {
        // The whole client area of the bar, in the coordinates of the list's
        // rectangle, so that every list and the bar show one gradient.
        COXShortcutBar* pBar = pList->GetShortcutBar();
        if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr && pList->GetSafeHwnd() != nullptr) {
            CRect rectBar;
            pBar->GetClientRect(&rectBar);
            CPoint ptOffset(0, 0);
            ::MapWindowPoints(pList->GetSafeHwnd(), pBar->GetSafeHwnd(), &ptOffset, 1);
            rectFill =
                CRect(CPoint(-rect.left - ptOffset.x, -rect.top - ptOffset.y), rectBar.Size());
        } else {
            rectFill.OffsetRect(-rectFill.left, -rectFill.top);
        }
    }
    if (bUseColor) {
        pDC->FillSolidRect(&rectFill, clr);
        return;
    }
    COXSkin2003* pSkin = Get2003Skin();
    const COLORREF clrLight = pSkin->GetShortcutBarLightColor();
    const COLORREF clrDark = pSkin->GetShortcutBarDarkColor();
    pSkin->FillCornerGradient(pDC, rectFill, clrLight, clrDark, clrDark, clrDark);
}

void COXShortcutBarSkin2003::DrawGroupHeader(LPDRAWITEMSTRUCT pDrawItemStruct,
                                             COXShortcutBar* pBar) {
    CDCHandle dc(pDrawItemStruct->hDC);
    const HSHBGROUP hGroup = GroupOfItem(pDrawItemStruct);
    const int nSavedDC = dc.SaveDC();
    COXSkin2003* pSkin = Get2003Skin();

    const COLORREF clrLight = pSkin->GetShortcutBarLightColor();
    const BOOL bHot = hGroup == pBar->GetHotGroup();
    COLORREF clrTop = clrLight;
    COLORREF clrBottom = pSkin->GetShortcutBarDarkColor();
    if (hGroup == pBar->GetExpandedGroup()) {
        clrTop = bHot ? kExpandedHeader : clrLight;
        clrBottom = bHot ? clrLight : kExpandedHeader;
    } else if (bHot) {
        clrBottom = kHotHeader;
    }
    const CRect rect = pDrawItemStruct->rcItem;
    pSkin->FillCornerGradient(&dc, rect, clrTop, clrTop, clrBottom, clrBottom);
    dc.FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, kHeaderBottomLine);

    CRect rectText = rect;
    rectText.OffsetRect(kHeaderIndent, kHeaderIndent);
    rectText.left +=
        DrawHeaderImage(hGroup, pBar, &dc, rectText.left, rectText.top) + kHeaderIndent;
    // DT_VCENTER without DT_SINGLELINE leaves the text at the top, kHeaderIndent
    // below the header's edge, in line with the image.
    DrawHeaderText(hGroup, pBar, &dc, rectText, DT_VCENTER, TRUE);
    DrawDropMarker(hGroup, pBar, &dc, pDrawItemStruct);

    dc.RestoreDC(nSavedDC);
}

void COXShortcutBarSkin2003::DrawTitleBand(COXShortcutBar* pBar, CDC* pDC) {
    CRect rectBand;
    pBar->GetClientRect(&rectBand);
    rectBand.bottom = kTitleBandHeight;
    Get2003Skin()->FillCornerGradient(pDC, rectBand, kTitleBandTop, kTitleBandTop, kTitleBandBottom,
                                      kTitleBandBottom);

    const HSHBGROUP hExpanded = pBar->GetExpandedGroup();
    const CString strText = hExpanded != nullptr ? pBar->GetGroupText(hExpanded) : CString();
    LOGFONT lf;
    if (!strText.IsEmpty() && pBar->GetGroupHeaderTextFont(hExpanded, &lf)) {
        lf.lfHeight = kTitleFontHeight;
        lf.lfWeight = FW_BOLD;
        CFont font;
        if (font.CreateFontIndirect(&lf)) {
            CScopedSelect selectFont(*pDC, &font);
            const int nOldMode = pDC->SetBkMode(TRANSPARENT);
            const COLORREF clrOldText = pDC->SetTextColor(kTitleText);
            CRect rectText = rectBand;
            rectText.OffsetRect(kTitleTextIndentX, kTitleTextIndentY);
            // DT_VCENTER alone: the text stands at the top of its rectangle.
            pDC->DrawText(strText, &rectText, DT_VCENTER);
            pDC->SetTextColor(clrOldText);
            pDC->SetBkMode(nOldMode);
        }
    }
    // The rest of the background painting leaves the band alone.
    pDC->ExcludeClipRect(&rectBand);
}
