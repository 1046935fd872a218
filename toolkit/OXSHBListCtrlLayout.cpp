// OXSHBListCtrlLayout.cpp: COXSHBListCtrl: item layout, geometry, hit
// testing, scrolling, mouse tracking and painting.
#include "OXSHBListCtrl.h"

#include "OXShortcutBar.h"
#include "OXShortcutBarSkin.h"

#include "Common/TraceLog.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The gap between two items, and the space kept free at the top and bottom.
const int kItemGap = 6;
const int kVerticalMargin = 2;
// Pixels the cursor moves from the press point before an item drag starts.
const int kDragThreshold = 8;

BOOL IsLeftButtonDown() {
    return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

// The image list of the view: the normal list for large icons, the small one
// for small icons.
HIMAGELIST ViewImageList(HWND hWnd, int nView) {
    const int nType = nView == SHB_SMALLICON ? LVSIL_SMALL : LVSIL_NORMAL;
    return reinterpret_cast<HIMAGELIST>(::SendMessageA(hWnd, LVM_GETIMAGELIST, nType, 0));
}

} // namespace

// ---------------------------------------------------------------------------
// Layout.

CRect COXSHBListCtrl::GetContentRect() const {
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(0, kVerticalMargin);
    return rect;
}

void COXSHBListCtrl::CalculateBoundRects() {
    m_itemRects.clear();
    m_imageRects.clear();
    m_textRects.clear();
    m_rectUp.SetRectEmpty();
    m_rectDown.SetRectEmpty();
    m_nLayoutWidth = -1;
    const int nCount = GetItemCount();
    if (nCount <= 0)
        return;

    CRect rectClient;
    GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty()) {
        m_itemRects.assign(nCount, rectClient);
        m_imageRects.assign(nCount, rectClient);
        m_textRects.assign(nCount, rectClient);
        return;
    }
    const CRect rect = GetContentRect();
    const int nWidth = rect.Width();
    const int nView = GetView();
    HIMAGELIST hImageList = ViewImageList(m_hWnd, nView);

    // One context and font measure every text.
    CClientDC dc(this);
    CFont font;
    CFont* pOldFont = nullptr;
    LOGFONT logFont;
    if (GetItemFont(&logFont) && font.CreateFontIndirect(&logFont))
        pOldFont = dc.SelectObject(&font);

    m_itemRects.reserve(nCount);
    m_imageRects.reserve(nCount);
    m_textRects.reserve(nCount);
    int nTop = rect.top;
    for (int nItem = 0; nItem < nCount; nItem++) {
        CRect rectImage;
        const int nImage = hImageList != nullptr ? GetItemImage(nItem) : -1;
        IMAGEINFO info = {};
        if (nImage >= 0 && ImageList_GetImageInfo(hImageList, nImage, &info)) {
            rectImage = info.rcImage;
            rectImage.InflateRect(3, 3);
            rectImage.OffsetRect(-rectImage.left, -rectImage.top);
        }
        const CRect rectText = CalculateTextRect(&dc, GetItemText(nItem, 0), rectImage, nWidth);
        int nHeight;
        if (nView == SHB_SMALLICON) {
            nHeight = std::max(rectImage.Height(), rectText.Height());
        } else {
            nHeight = rectImage.Height() + rectText.Height();
            rectImage.OffsetRect((nWidth - rectImage.Width()) / 2 - rectImage.left, 0);
        }
        m_itemRects.push_back(CRect(rect.left, nTop, rect.right, nTop + nHeight));
        m_imageRects.push_back(rectImage);
        m_textRects.push_back(rectText);
        nTop += nHeight + kItemGap;
    }
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    m_nLayoutWidth = nWidth;
    CalculateScrollRects();
}

CRect COXSHBListCtrl::CalculateTextRect(const CString& sText, CRect& rectImage, int nWidth) const {
    CClientDC dc(const_cast<COXSHBListCtrl*>(this));
    CFont font;
    CFont* pOldFont = nullptr;
    LOGFONT logFont;
    if (GetItemFont(&logFont) && font.CreateFontIndirect(&logFont))
        pOldFont = dc.SelectObject(&font);
    const CRect rectText = CalculateTextRect(&dc, sText, rectImage, nWidth);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    return rectText;
}

CRect COXSHBListCtrl::CalculateTextRect(CDC* pDC, const CString& sText, CRect& rectImage,
                                        int nWidth) const {
    CRect rectText;
    if (sText.IsEmpty() || nWidth <= 0)
        return rectText;
    const int nView = GetView();
    if (nView == SHB_SMALLICON && rectImage.Width() >= nWidth)
        return rectText;

    if (nView == SHB_SMALLICON) {
        pDC->DrawText(sText, &rectText, DT_CALCRECT | DT_VCENTER);
        rectText.right += 4;
        rectText.bottom += 4;
        rectText.OffsetRect(-rectText.left, rectImage.top - rectText.top);
        const int nDiff = rectText.Height() - rectImage.Height();
        if (nDiff > 0)
            rectImage.OffsetRect(0, nDiff / 2);
        else if (nDiff < 0)
            rectText.OffsetRect(0, -nDiff / 2);
        const int nLeft = rectImage.IsRectEmpty() ? 2 : rectImage.right;
        rectText.OffsetRect(nLeft, 0);
        rectText.right = std::min(static_cast<int>(rectText.right), nWidth);
    } else {
        rectText.SetRect(0, 0, nWidth - 4, 0);
        pDC->DrawText(sText, &rectText,
                      DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_CENTER | DT_VCENTER);
        rectText.right += 4;
        rectText.bottom += 4;
        rectText.OffsetRect(-rectText.left, rectImage.bottom - rectText.top);
        if (rectText.Width() > nWidth) {
            rectText.left = 0;
            rectText.right = nWidth;
        } else {
            rectText.OffsetRect((nWidth - rectText.Width()) / 2, 0);
        }
    }
    return rectText;
}

void COXSHBListCtrl::CalculateScrollRects() {
    m_rectUp.SetRectEmpty();
    m_rectDown.SetRectEmpty();
    const CRect rect = GetContentRect();
    if (rect.IsRectEmpty())
        return;
    const CSize size = GetScrollButtonSize();
    if (m_ptOrigin.y != 0)
        m_rectUp.SetRect(rect.right - size.cx, rect.top, rect.right, rect.top + size.cy);
    CRect rectScrollable;
    if (GetScrollableRect(&rectScrollable, -1) &&
        rect.bottom + m_ptOrigin.y < rectScrollable.bottom)
        m_rectDown.SetRect(rect.right - size.cx, rect.bottom - size.cy, rect.right, rect.bottom);
}

// ---------------------------------------------------------------------------
// Geometry.

BOOL COXSHBListCtrl::GetItemRect(int nItem, LPRECT pRect, UINT nCode) const {
    if (pRect == nullptr || nItem < 0 || nItem >= static_cast<int>(m_itemRects.size()))
        return FALSE;
    const CRect& rectItem = m_itemRects[nItem];
    CRect rect;
    switch (static_cast<int>(nCode)) {
    case SHBLC_ENTIREITEM:
        rect = rectItem;
        break;
    case LVIR_ICON:
        rect = m_imageRects[nItem];
        rect.OffsetRect(rectItem.TopLeft());
        break;
    case LVIR_LABEL:
        rect = m_textRects[nItem];
        rect.OffsetRect(rectItem.TopLeft());
        break;
    case LVIR_BOUNDS:
        rect.UnionRect(&m_imageRects[nItem], &m_textRects[nItem]);
        rect.OffsetRect(rectItem.TopLeft());
        break;
    default:
        return FALSE;
    }
    rect.OffsetRect(-m_ptOrigin.x, -m_ptOrigin.y);
    *pRect = rect;
    return TRUE;
}

BOOL COXSHBListCtrl::GetViewRect(LPRECT pRect, BOOL bVisibleOnly) const {
    if (pRect == nullptr)
        return FALSE;
    const CRect rect = GetContentRect();
    int nBottom = rect.top;
    for (const CRect& rectItem : m_itemRects)
        nBottom = std::max(nBottom, static_cast<int>(rectItem.bottom));
    CRect rectView(rect.left, rect.top, rect.right, nBottom);
    if (bVisibleOnly) {
        rectView.top = std::max(rect.top + m_ptOrigin.y, rect.top);
        rectView.bottom = std::min(nBottom, rect.bottom + m_ptOrigin.y);
    }
    *pRect = rectView;
    return TRUE;
}

BOOL COXSHBListCtrl::GetScrollableRect(LPRECT pRect, int nTopItem) const {
    const CRect rect = GetContentRect();
    if (pRect == nullptr || rect.IsRectEmpty())
        return FALSE;
    CRect rectView;
    GetViewRect(&rectView, FALSE);
    *pRect = rectView;
    const int nViewHeight = rectView.Height();
    if (rect.Height() >= nViewHeight + m_ptOrigin.y)
        return TRUE;
    if (rect.Height() + m_ptOrigin.y >= nViewHeight) {
        pRect->bottom += rect.Height() + m_ptOrigin.y - nViewHeight;
        return TRUE;
    }
    const int nLast = static_cast<int>(m_itemRects.size()) - 1;
    int nTop = nTopItem;
    if (nTop == -1) {
        // The first item whose top is in view.
        nTop = GetTopIndex();
        if (nTop < 0)
            return TRUE;
        if (m_itemRects[nTop].top < rect.top + m_ptOrigin.y) {
            if (nTop == nLast)
                return TRUE;
            nTop++;
        }
    }
    if (nTop < 0 || nTop > nLast)
        return TRUE;
    // The last page may scroll on until its first item reaches the top.
    const int nRest = m_itemRects[nLast].bottom - m_itemRects[nTop].top;
    if (nRest < rect.Height())
        pRect->bottom += rect.Height() - nRest;
    return TRUE;
}

int COXSHBListCtrl::FindItem(const LVFINDINFO* pFindInfo, int nStart) const {
    if (pFindInfo == nullptr)
        return -1;
    if (!(pFindInfo->flags & LVFI_NEARESTXY))
        return CListCtrl::FindItem(const_cast<LVFINDINFO*>(pFindInfo), nStart);
    const int nCount = static_cast<int>(m_itemRects.size());
    if (nCount == 0)
        return -1;
    const CPoint point = CPoint(pFindInfo->pt) + m_ptOrigin;
    const UINT nDirection = pFindInfo->vkDirection;
    int nNearest = -1;
    int nNearestDistance = 0;
    auto visit = [&](int nItem) {
        const CRect& rectItem = m_itemRects[nItem];
        if (rectItem.PtInRect(point) || (point.y >= rectItem.top && point.y < rectItem.bottom))
            return true;
        int nDistance = 0;
        if (nDirection == VK_UP)
            nDistance = point.y - rectItem.bottom;
        else if (nDirection == VK_DOWN)
            nDistance = rectItem.top - point.y;
        if (nDistance > 0 && (nNearest == -1 || nDistance < nNearestDistance)) {
            nNearest = nItem;
            nNearestDistance = nDistance;
        }
        return false;
    };
    const int nFirst = std::max(nStart + 1, 0);
    for (int nItem = nFirst; nItem < nCount; nItem++)
        if (visit(nItem))
            return nItem;
    if (pFindInfo->flags & LVFI_WRAP)
        for (int nItem = 0; nItem <= nStart && nItem < nCount; nItem++)
            if (visit(nItem))
                return nItem;
    return nNearest;
}

int COXSHBListCtrl::GetTopIndex() const {
    LVFINDINFO findInfo = {};
    findInfo.flags = LVFI_NEARESTXY;
    findInfo.pt.x = 0;
    findInfo.pt.y = kVerticalMargin;
    findInfo.vkDirection = VK_DOWN;
    return FindItem(&findInfo, -1);
}

int COXSHBListCtrl::GetCountPerPage() const {
    CRect rectVisible;
    GetViewRect(&rectVisible, TRUE);
    if (rectVisible.IsRectEmpty())
        return 0;
    int nCount = 0;
    for (const CRect& rectItem : m_itemRects) {
        CRect rectCommon;
        if (rectCommon.IntersectRect(&rectItem, &rectVisible))
            nCount++;
    }
    return nCount;
}

BOOL COXSHBListCtrl::EnsureVisible(int nItem, BOOL bPartialOK) {
    if (nItem < 0 || nItem >= static_cast<int>(m_itemRects.size()))
        return FALSE;
    CRect rectVisible;
    GetViewRect(&rectVisible, TRUE);
    const CRect rectItem = m_itemRects[nItem];
    if (rectItem.Height() >= rectVisible.Height() && !bPartialOK)
        return FALSE;
    const BOOL bInside = rectItem.top >= rectVisible.top && rectItem.bottom <= rectVisible.bottom;
    const BOOL bPartly = rectItem.bottom > rectVisible.top && rectItem.top < rectVisible.bottom;
    if (bInside || (bPartly && bPartialOK))
        return TRUE;
    int nDelta;
    if (rectItem.bottom <= rectVisible.top)
        nDelta = rectItem.top - rectVisible.top;
    else if (rectItem.bottom > rectVisible.bottom)
        nDelta = rectItem.bottom - rectVisible.bottom;
    else
        nDelta = rectItem.top - rectVisible.top;
    Scroll(CSize(0, nDelta));
    if (bPartialOK)
        return TRUE;
    GetViewRect(&rectVisible, TRUE);
    return rectItem.top >= rectVisible.top && rectItem.bottom <= rectVisible.bottom;
}

BOOL COXSHBListCtrl::Scroll(CSize size) {
    const int nCount = static_cast<int>(m_itemRects.size());
    const CRect rect = GetContentRect();
    if (nCount == 0 || rect.IsRectEmpty())
        return FALSE;
    int nTop = GetTopIndex();
    if (size.cy < 0 && nTop > 0)
        nTop--;
    else if (size.cy > 0 && nTop >= 0 && nTop < nCount - 1)
        nTop++;
    CRect rectScrollable;
    if (!GetScrollableRect(&rectScrollable, nTop))
        return FALSE;
    CRect rectBefore = rect;
    rectBefore.OffsetRect(m_ptOrigin);
    CRect rectAfter = rectBefore;
    rectAfter.OffsetRect(size);

    // Each direction stops where the scrollable extent ends.
    auto clamp = [](int nDelta, int nBefore, int nAfter, int nLimit, int nBeforeEnd, int nAfterEnd,
                    int nLimitEnd) {
        if (nDelta < 0) {
            if (nBefore <= nLimit)
                return 0;
            if (nAfter < nLimit)
                return nDelta + (nLimit - nAfter);
        } else if (nDelta > 0) {
            if (nBeforeEnd >= nLimitEnd)
                return 0;
            if (nAfterEnd > nLimitEnd)
                return nDelta - (nAfterEnd - nLimitEnd);
        }
        return nDelta;
    };
    const int dy = clamp(size.cy, rectBefore.top, rectAfter.top, rectScrollable.top,
                         rectBefore.bottom, rectAfter.bottom, rectScrollable.bottom);
    const int dx = clamp(size.cx, rectBefore.left, rectAfter.left, rectScrollable.left,
                         rectBefore.right, rectAfter.right, rectScrollable.right);
    if (dx == 0 && dy == 0)
        return FALSE;
    m_ptOrigin.Offset(dx, dy);
    CalculateScrollRects();
    RedrawRect(CRect());
    return TRUE;
}

BOOL COXSHBListCtrl::UpdateItem(int nItem) {
    if (nItem < 0 || nItem >= static_cast<int>(m_itemRects.size()))
        return FALSE;
    CRect rect;
    if (GetItemRect(nItem, &rect, LVIR_ICON) && !rect.IsRectEmpty())
        RedrawRect(rect);
    if (GetItemRect(nItem, &rect, LVIR_LABEL) && !rect.IsRectEmpty())
        RedrawRect(rect);
    return TRUE;
}

BOOL COXSHBListCtrl::RedrawItems(int nFirst, int nLast) {
    for (int nItem = nFirst; nItem <= nLast; nItem++)
        if (!UpdateItem(nItem))
            return FALSE;
    return TRUE;
}

int COXSHBListCtrl::GetItemImage(int nItem) const {
    HIMAGELIST hImageList = ViewImageList(m_hWnd, GetView());
    if (hImageList == nullptr)
        return -1;
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    if (!CListCtrl::GetItem(&item))
        return -1;
    if (item.iImage < 0 || item.iImage >= ImageList_GetImageCount(hImageList))
        return -1;
    return item.iImage;
}

int COXSHBListCtrl::HitTest(CPoint point, UINT* pnFlags, BOOL bIgnoreScrollButtons) const {
    int nFlags = LVHT_NOWHERE;
    int nResult = -1;
    CRect rectVisible;
    GetViewRect(&rectVisible, TRUE);
    const CPoint ptView = point + m_ptOrigin;
    const BOOL bButtons = !bIgnoreScrollButtons && !(GetBarStyle() & SHBS_NOSCROLL);
    if (bButtons && m_rectUp.PtInRect(point)) {
        nFlags = SHBLC_ONUPBUTTON;
    } else if (bButtons && m_rectDown.PtInRect(point)) {
        nFlags = SHBLC_ONDOWNBUTTON;
    } else if (!rectVisible.PtInRect(ptView)) {
        nFlags = 0;
        if (ptView.x < rectVisible.left)
            nFlags |= LVHT_TOLEFT;
        else if (ptView.x >= rectVisible.right)
            nFlags |= LVHT_TORIGHT;
        if (ptView.y < rectVisible.top)
            nFlags |= LVHT_ABOVE;
        else if (ptView.y >= rectVisible.bottom)
            nFlags |= LVHT_BELOW;
    } else {
        for (int nItem = 0; nItem < static_cast<int>(m_itemRects.size()); nItem++) {
            const CRect& rectItem = m_itemRects[nItem];
            if (!rectItem.PtInRect(ptView))
                continue;
            nResult = nItem;
            const CPoint ptItem = ptView - rectItem.TopLeft();
            CRect rectBounds;
            rectBounds.UnionRect(&m_imageRects[nItem], &m_textRects[nItem]);
            if (m_imageRects[nItem].PtInRect(ptItem))
                nFlags = LVHT_ONITEMICON;
            else if (m_textRects[nItem].PtInRect(ptItem))
                nFlags = LVHT_ONITEMLABEL;
            else if (rectBounds.PtInRect(ptItem))
                nFlags = SHBLC_ONITEMBOUNDS;
            else
                nFlags = SHBLC_ONITEMOUTSIDE;
            break;
        }
    }
    if (pnFlags != nullptr)
        *pnFlags = static_cast<UINT>(nFlags);
    return nResult;
}

// ---------------------------------------------------------------------------
// Scrolling.

void COXSHBListCtrl::StartScrolling(BOOL bUp) {
    if (m_bScrollingUp || m_bScrollingDown) {
        // The caller may have just asked for auto-scrolling; that stays.
        const BOOL bAutoScrolling = m_bAutoScrolling;
        StopScrolling();
        m_bAutoScrolling = bAutoScrolling;
    }
    UpdateItem(SetPressedItem(-1));

    const BOOL bHideDragImage =
        m_bDragFromThisList && m_pDragImage != nullptr && (GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE);
    if (bHideDragImage)
        CImageList::DragShowNolock(FALSE);
    if (bUp) {
        m_bScrollingUp = TRUE;
        RedrawRect(m_rectUp);
        if (!m_bOleDragOver)
            ScrollStep(TRUE);
    } else {
        m_bScrollingDown = TRUE;
        RedrawRect(m_rectDown);
        if (!m_bOleDragOver)
            ScrollStep(FALSE);
    }
    if (bHideDragImage)
        CImageList::DragShowNolock(TRUE);

    UINT nDelay = m_bAutoScrolling ? GetAutoScrollingDelay() : GetScrollingDelay();
    if (m_bOleDragOver)
        nDelay /= 4;
    m_nScrollTimer = SetTimer(SHBLC_IDTSCROLL, nDelay, nullptr);
}

void COXSHBListCtrl::ScrollStep(BOOL bUp) {
    const int nCount = static_cast<int>(m_itemRects.size());
    if (nCount == 0)
        return;
    const CRect rect = GetContentRect();
    int nTop = GetTopIndex();
    if (bUp) {
        if (nTop == -1)
            nTop = nCount - 1;
        if (m_itemRects[nTop].top >= rect.top + m_ptOrigin.y)
            nTop--;
        if (nTop >= 0)
            Scroll(CSize(0, m_itemRects[nTop].top - rect.top - m_ptOrigin.y));
    } else if (nTop != -1) {
        if (nTop == nCount - 1)
            Scroll(CSize(0, m_itemRects[nTop].bottom - rect.bottom - m_ptOrigin.y));
        else
            Scroll(CSize(0, m_itemRects[nTop + 1].top - rect.top - m_ptOrigin.y));
    }
}

void COXSHBListCtrl::StopScrolling() {
    if (m_nScrollTimer != 0) {
        KillTimer(SHBLC_IDTSCROLL);
        m_nScrollTimer = 0;
    }
    m_bScrollingUp = FALSE;
    m_bScrollingDown = FALSE;
    m_bAutoScrolling = FALSE;
    RedrawRect(m_rectUp);
    RedrawRect(m_rectDown);
}

void COXSHBListCtrl::OnScrollTimer() {
    // A press on a button that was released outside the list never reached
    // the list's button-up; the scrolling ends with the button.
    if (!m_bAutoScrolling && !m_bOleDragOver && !IsLeftButtonDown()) {
        StopScrolling();
        return;
    }
    CPoint point(::GetMessagePos());
    ScreenToClient(&point);
    UINT nFlags = 0;
    HitTest(point, &nFlags, FALSE);
    int nCode = static_cast<int>(nFlags);
    if (m_bOleDragOver)
        nCode = m_bScrollingUp ? SHBLC_ONUPBUTTON : SHBLC_ONDOWNBUTTON;
    const BOOL bUp = m_bScrollingUp && nCode == SHBLC_ONUPBUTTON;
    const BOOL bDown = m_bScrollingDown && nCode == SHBLC_ONDOWNBUTTON;
    if (!bUp && !bDown)
        return;
    const BOOL bHideDragImage = m_bOleDragOver && m_bDragFromThisList && m_pDragImage != nullptr &&
                                (GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE);
    if (bHideDragImage)
        CImageList::DragShowNolock(FALSE);
    RedrawRect(bUp ? m_rectUp : m_rectDown);
    ScrollStep(bUp);
    if (bHideDragImage)
        CImageList::DragShowNolock(TRUE);
    if ((bUp ? m_rectUp : m_rectDown).IsRectEmpty())
        StopScrolling();
}

// ---------------------------------------------------------------------------
// Mouse tracking.

BOOL COXSHBListCtrl::CheckMousePosition() {
    CPoint ptScreen;
    ::GetCursorPos(&ptScreen);
    if (::WindowFromPoint(ptScreen) != m_hWnd || !IsWindowEnabled()) {
        if (!IsLeftButtonDown()) {
            if (m_nCheckMouseTimer != 0) {
                KillTimer(SHBLC_IDTCHECKMOUSE);
                m_nCheckMouseTimer = 0;
            }
            m_bMouseInside = FALSE;
            UpdateItem(SetHotItem(-1));
            return FALSE;
        }
        m_bMouseInside = FALSE;
    } else {
        if (m_nCheckMouseTimer == 0)
            m_nCheckMouseTimer = SetTimer(SHBLC_IDTCHECKMOUSE, 200, nullptr);
        m_bMouseInside = TRUE;
    }
    UpdateHotItem();
    return TRUE;
}

void COXSHBListCtrl::UpdateHotItem() {
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    UINT nFlags = 0;
    const int nHit = HitTest(point, &nFlags, FALSE);
    const int nCode = static_cast<int>(nFlags);
    int nCandidate = nHit;
    if (!m_bMouseInside || nCode == SHBLC_ONITEMOUTSIDE || nCode == SHBLC_ONITEMBOUNDS)
        nCandidate = -1;
    const int nOldHot = SetHotItem(nCandidate);

    const DWORD dwStyle = GetBarStyle();
    if (m_nDragItem == -1 && nCandidate != -1 && nCandidate == m_nDragCandidate &&
        !(dwStyle & SHBS_DISABLEDRAGITEM) &&
        std::abs(point.x - m_ptPress.x) + std::abs(point.y - m_ptPress.y) > kDragThreshold) {
        m_ptDragHotSpot += point - m_ptPress;
        SetDragItem(nCandidate);
    }
    if (!IsLeftButtonDown() || m_nDragItem != -1)
        m_nDragCandidate = -1;
    if (nOldHot != m_nHotItem) {
        UpdateItem(m_nHotItem);
        UpdateItem(nOldHot);
    }

    if (m_bScrollingUp && nCode != SHBLC_ONUPBUTTON)
        RedrawRect(m_rectUp);
    if (m_bScrollingDown && nCode != SHBLC_ONDOWNBUTTON)
        RedrawRect(m_rectDown);
    if ((dwStyle & SHBS_AUTOSCROLL) && m_nDragItem == -1) {
        if (nCode == SHBLC_ONUPBUTTON && !m_bScrollingUp) {
            m_bAutoScrolling = TRUE;
            StartScrolling(TRUE);
        } else if (nCode == SHBLC_ONDOWNBUTTON && !m_bScrollingDown) {
            m_bAutoScrolling = TRUE;
            StartScrolling(FALSE);
        }
    }
    if (m_bAutoScrolling && ((m_bScrollingUp && nCode != SHBLC_ONUPBUTTON) ||
                             (m_bScrollingDown && nCode != SHBLC_ONDOWNBUTTON)))
        StopScrolling();
}

// ---------------------------------------------------------------------------
// Mouse messages.

void COXSHBListCtrl::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    UINT nFlags = 0;
    const int nItem = HitTest(point, &nFlags, FALSE);
    const int nCode = static_cast<int>(nFlags);
    if (nItem != -1 && nCode != SHBLC_ONITEMOUTSIDE) {
        const int nOldPressed = SetPressedItem(nItem);
        if (!(GetBarStyle() & SHBS_DISABLEDRAGITEM) && HitTest(point, nullptr, FALSE) == nItem) {
            m_ptPress = point;
            CRect rectBounds;
            if ((GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE) &&
                GetItemRect(nItem, &rectBounds, LVIR_BOUNDS))
                m_ptDragHotSpot = point - rectBounds.TopLeft();
            m_nDragCandidate = nItem;
        }
        UpdateItem(nItem);
        if (nOldPressed != nItem)
            UpdateItem(nOldPressed);
    } else if (nCode == SHBLC_ONUPBUTTON || nCode == SHBLC_ONDOWNBUTTON) {
        // A press scrolls by the button, whatever hovering had started.
        m_bAutoScrolling = FALSE;
        StartScrolling(nCode == SHBLC_ONUPBUTTON);
    } else if (m_bAutoScrolling) {
        StopScrolling();
    }
    // The control's own handling would select and track items itself.
}

void COXSHBListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
    OnLButtonDown(nFlags, point);
}

void COXSHBListCtrl::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    Default();
    m_nDragCandidate = -1;
    UINT nFlags = 0;
    const int nItem = HitTest(point, &nFlags, FALSE);
    if (nItem != -1 && static_cast<int>(nFlags) != SHBLC_ONITEMOUTSIDE && nItem == m_nPressedItem) {
        const int nOldSelected = SelectItem(nItem);
        if (nOldSelected != nItem)
            UpdateItem(nOldSelected);
        UpdateItem(nItem);
    }
    if (m_bScrollingUp || m_bScrollingDown)
        StopScrolling();
}

void COXSHBListCtrl::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/) {
    Default();
    const BOOL bHeaderEdited =
        m_pShortcutBar != nullptr && m_pShortcutBar->GetEditGroup() != nullptr;
    if (m_nEditItem == -1 && !bHeaderEdited)
        CheckMousePosition();
}

void COXSHBListCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == SHBLC_IDTSCROLL) {
        OnScrollTimer();
    } else if (nIDEvent == SHBLC_IDTCHECKMOUSE) {
        if (!m_bOleDragOver)
            PostMessage(SHBM_CHECKMOUSE, 0, 0);
    } else {
        Default();
    }
}

// ---------------------------------------------------------------------------
// Painting.

void COXSHBListCtrl::RedrawRect(const CRect& rect) {
    if (m_hWnd == nullptr)
        return;
    if (rect.IsRectNull())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    else if (!rect.IsRectEmpty())
        RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void COXSHBListCtrl::FillListBackground(CDC* pDC, const CRect& rect) {
    if (m_pShortcutBar != nullptr) {
        if (COXShortcutBarSkin* pSkin = GetShortcutBarSkin()) {
            pSkin->FillBackground(pDC, rect, this, m_pShortcutBar->HasGroupBkColor(m_hGroup),
                                  m_pShortcutBar->GetGroupBkColor(m_hGroup));
            return;
        }
    }
    // As the skins do for a list: rect's top-left is pDC's origin.
    pDC->FillSolidRect(0, 0, rect.Width(), rect.Height(), GetBkColor());
}

void COXSHBListCtrl::OnPaint() {
    CPaintDC dc(this);
    const int nSaved = dc.SaveDC();
    if (!(GetBarStyle() & SHBS_NOSCROLL)) {
        DrawScrollButtons(&dc);
        dc.ExcludeClipRect(&m_rectUp);
        dc.ExcludeClipRect(&m_rectDown);
    }

    CRect rectClient;
    GetClientRect(&rectClient);
    const int nCount = static_cast<int>(m_itemRects.size());
    {
        const int nBeforeItems = dc.SaveDC();
        CRect rectItem;
        for (int nItem = 0; nItem < nCount; nItem++)
            if (GetItemRect(nItem, &rectItem, SHBLC_ENTIREITEM))
                dc.ExcludeClipRect(&rectItem);
        FillListBackground(&dc, rectClient);
        dc.RestoreDC(nBeforeItems);
    }

    CDC dcMem;
    for (int nItem = 0; nItem < nCount; nItem++) {
        CRect rectItem;
        if (!GetItemRect(nItem, &rectItem, SHBLC_ENTIREITEM) || rectItem.IsRectEmpty() ||
            !dc.RectVisible(&rectItem))
            continue;
        if (dcMem.GetSafeHdc() == nullptr && !dcMem.CreateCompatibleDC(&dc)) {
            KWTRACE_ERROR(("COXSHBListCtrl::OnPaint:Failed to create compatible DC"));
            break;
        }
        CBitmap bitmap;
        if (!bitmap.CreateCompatibleBitmap(&dc, rectItem.Width(), rectItem.Height())) {
            KWTRACE_ERROR(("COXSHBListCtrl::OnPaint:Failed to create compatible bitmap"));
            break;
        }
        CBitmap* pOldBitmap = dcMem.SelectObject(&bitmap);
        FillListBackground(&dcMem, rectItem);

        DrawItemAt(&dcMem, nItem, rectItem.Size());

        dc.BitBlt(rectItem.left, rectItem.top, rectItem.Width(), rectItem.Height(), &dcMem, 0, 0,
                  SRCCOPY);
        dcMem.SelectObject(pOldBitmap);
    }

    DrawInsertMark(&dc);
    dc.RestoreDC(nSaved);
}

void COXSHBListCtrl::DrawItemAt(CDC* pDC, int nItem, CSize sizeItem) {
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.itemID = static_cast<UINT>(nItem);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ODS_DEFAULT;
    dis.hwndItem = m_hWnd;
    dis.hDC = pDC->GetSafeHdc();
    dis.rcItem = CRect(CPoint(0, 0), sizeItem);
    DrawItem(&dis);
}

void COXSHBListCtrl::DrawScrollButtons(CDC* pDC) {
    if (GetBarStyle() & SHBS_NOSCROLL) {
        KWTRACE_ERROR(("COXSHBListCtrl::DrawScrollButtons: scroll buttons won't be displayed - "
                       "SHBS_NOSCROLL style is set"));
        return;
    }
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    const BOOL bHeld = IsLeftButtonDown() || m_bAutoScrolling;
    auto draw = [&](CRect rect, UINT nState, BOOL bScrolling) {
        if (rect.IsRectEmpty() || !pDC->RectVisible(&rect))
            return;
        if (bScrolling && bHeld && rect.PtInRect(ptCursor))
            nState |= DFCS_PUSHED;
        pDC->DrawFrameControl(&rect, DFC_SCROLL, nState);
    };
    draw(m_rectUp, DFCS_SCROLLUP, m_bScrollingUp);
    draw(m_rectDown, DFCS_SCROLLDOWN, m_bScrollingDown);
}

void COXSHBListCtrl::DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct) {
    if (pDrawItemStruct == nullptr)
        return;
    const int nItem = static_cast<int>(pDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= static_cast<int>(m_itemRects.size()))
        return;
    if (!m_bDrawingDragImage &&
        SendSHBNotification(SHBN_DRAWITEM, nItem, reinterpret_cast<LPARAM>(pDrawItemStruct)) != 0)
        return;

    CDCHandle dc(pDrawItemStruct->hDC);
    const CPoint ptItem = CRect(pDrawItemStruct->rcItem).TopLeft();
    const DWORD dwStyle = GetBarStyle();
    const int nView = GetView();

    HIMAGELIST hImageList = ViewImageList(m_hWnd, nView);
    const int nImage = GetItemImage(nItem);
    if (nImage >= 0 && hImageList != nullptr) {
        CRect rect = m_imageRects[nItem];
        rect.OffsetRect(ptItem);
        rect.DeflateRect(1, 1);
        if (!m_bDrawingDragImage) {
            const COLORREF clrBack = GetBkColor();
            const COLORREF clrLight = AdjustColor(clrBack, 64);
            const COLORREF clrDark = AdjustColor(clrBack, -128);
            COXShortcutBarSkin* pSkin = GetShortcutBarSkin();
            if (nItem == m_nHotItem) {
                const BOOL bPressed = nItem == m_nPressedItem && IsLeftButtonDown();
                if (pSkin != nullptr)
                    pSkin->DrawItemFrame(&dc, rect, TRUE, bPressed, this);
                else if (bPressed)
                    dc.Draw3dRect(&rect, clrDark, clrLight);
                else
                    dc.Draw3dRect(&rect, clrLight, clrDark);
            } else if (nItem == m_nSelectedItem && (dwStyle & SHBS_SHOWACTIVEALWAYS)) {
                if (pSkin != nullptr)
                    pSkin->DrawItemFrame(&dc, rect, FALSE, TRUE, this);
                else
                    dc.Draw3dRect(&rect, clrDark, clrLight);
            }
        }
        ImageList_Draw(hImageList, nImage, dc.GetSafeHdc(), rect.left + 2, rect.top + 2,
                       ILD_TRANSPARENT);
    }

    CRect rectText = m_textRects[nItem];
    const CString sText = GetItemText(nItem, 0);
    if (rectText.IsRectEmpty() || sText.IsEmpty())
        return;
    rectText.OffsetRect(ptItem);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetTextColor());
    CFont font;
    CFont* pOldFont = nullptr;
    LOGFONT logFont;
    if (GetItemFont(&logFont)) {
        if (!m_bDrawingDragImage && (dwStyle & SHBS_UNDERLINEHOTITEM) && nItem == m_nHotItem)
            logFont.lfUnderline = TRUE;
        if (font.CreateFontIndirect(&logFont))
            pOldFont = dc.SelectObject(&font);
    }
    if (nView == SHB_SMALLICON) {
        dc.DrawText(sText, &rectText, DT_SINGLELINE | DT_VCENTER);
    } else {
        rectText.DeflateRect(2, 2);
        dc.DrawText(sText, &rectText,
                    DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
    }
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}

// ---------------------------------------------------------------------------
// Tooltips.

INT_PTR COXSHBListCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (!(GetBarStyle() & SHBS_INFOTIP))
        return -1;
    UINT nFlags = 0;
    const int nItem = HitTest(point, &nFlags, TRUE);
    if (nItem == -1 || static_cast<int>(nFlags) == SHBLC_ONITEMOUTSIDE)
        return -1;
    if (pTI != nullptr) {
        CRect rect;
        GetItemRect(nItem, &rect, LVIR_BOUNDS);
        pTI->hwnd = m_hWnd;
        pTI->rect = rect;
        pTI->uId = static_cast<UINT_PTR>(nItem + 1);
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return nItem + 1;
}
