// OXShortcutBarLayout.cpp: COXShortcutBar's layout of headers and content
// window, its painting through the shortcut-bar skin, the expansion of a group
// with its sliding animation, and the colour functions the skins and lists
// share.
#include "OXShortcutBar.h"

#include "OXShortcutBarSkin.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"
#include "framework/Gdi.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Every repaint of the bar: invalidate, erase and paint before returning.
const UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

// The height of the band the "Office 2003" skin paints above the content
// window in the bottom layout.
const int kTitleBandHeight = 25;

// The animation slides the headers by this many pixels a step, twice as far
// in the second half; the whole slide takes about kAnimationMs.
const int kAnimationStep = 20;
const int kAnimationMs = 100;

int ClampChannel(int nValue) {
    return std::min(255, std::max(0, nValue));
}

} // namespace

BOOL IsSimilarColor(COLORREF clr1, COLORREF clr2, int nTolerance) {
    const int nSum = std::abs(GetRValue(clr1) - GetRValue(clr2)) +
                     std::abs(GetGValue(clr1) - GetGValue(clr2)) +
                     std::abs(GetBValue(clr1) - GetBValue(clr2));
    return nSum / 3 <= nTolerance;
}

COLORREF InvertColor(COLORREF clr) {
    return RGB(255 - GetRValue(clr), 255 - GetGValue(clr), 255 - GetBValue(clr));
}

COLORREF AdjustColor(COLORREF clr, int nDelta) {
    return RGB(ClampChannel(GetRValue(clr) + nDelta), ClampChannel(GetGValue(clr) + nDelta),
               ClampChannel(GetBValue(clr) + nDelta));
}

void COXShortcutBar::CalculateBoundRects() {
    m_rectChild.SetRectEmpty();
    m_headerRects.clear();
    if (!::IsWindow(m_hWnd) || m_groups.empty())
        return;

    CRect rectClient;
    GetClientRect(&rectClient);
    const int nBottom = rectClient.bottom;

    // Headers touch one another, stacked from the top in order.
    int nTop = rectClient.top;
    const int nCount = GetGroupCount();
    for (int nOrder = 0; nOrder < nCount; ++nOrder) {
        HSHBGROUP hGroup = FindGroupByOrder(nOrder);
        if (hGroup == nullptr)
            continue;
        const int nHeight = GetGroupHeaderHeight(hGroup);
        m_headerRects[hGroup] = CRect(rectClient.left, nTop, rectClient.right, nTop + nHeight);
        nTop += nHeight;
    }
    // Negative when the headers need more height than the bar has.
    const int nFree = nBottom - nTop;

    auto itExpanded = m_headerRects.find(m_hExpandedGroup);
    if (itExpanded == m_headerRects.end())
        return;
    const BOOL bSplit = GetShortcutBarSkin()->HasClassicLayout();
    // Without free space the bottom layout keeps the headers stacked from the
    // top and shows no content window.
    if (nFree <= 0 && !bSplit)
        return;

    const CRect rectExpanded = itExpanded->second;
    CRect rectChild;
    if (bSplit)
        rectChild.SetRect(rectExpanded.left, rectExpanded.bottom, rectExpanded.right,
                          rectExpanded.bottom + nFree);
    else
        rectChild.SetRect(rectExpanded.left, kTitleBandHeight, rectExpanded.right, nFree);
    rectChild.DeflateRect(m_rectMargins.left, m_rectMargins.top, m_rectMargins.right,
                          m_rectMargins.bottom);
    if (rectChild.IsRectEmpty())
        rectChild.SetRectEmpty();
    m_rectChild = rectChild;

    for (auto& entry : m_headerRects) {
        if (!bSplit || entry.second.top >= rectExpanded.bottom)
            entry.second.OffsetRect(0, nFree);
    }
}

void COXShortcutBar::ShowChildWnd(HSHBGROUP hGroup, BOOL bRedraw) {
    if (hGroup == nullptr)
        return;
    HWND hWndChild = GetGroupChildWndHandle(hGroup);
    if (hWndChild == nullptr || !::IsWindow(hWndChild))
        return;
    if (m_rectChild.IsRectEmpty()) {
        ::ShowWindow(hWndChild, SW_HIDE);
        return;
    }
    ::MoveWindow(hWndChild, m_rectChild.left, m_rectChild.top, m_rectChild.Width(),
                 m_rectChild.Height(), FALSE);
    if (bRedraw)
        ::RedrawWindow(hWndChild, nullptr, nullptr, kRedrawNow);
    ::ShowWindow(hWndChild, SW_SHOW);
}

void COXShortcutBar::HideChildWnd(HSHBGROUP hGroup) {
    if (GetGroupInfo(hGroup) == nullptr)
        return;
    HWND hWndChild = GetGroupChildWndHandle(hGroup);
    if (hWndChild != nullptr && ::IsWindow(hWndChild))
        ::ShowWindow(hWndChild, SW_HIDE);
}

void COXShortcutBar::UpdateBar() {
    ShowChildWnd(m_hExpandedGroup, TRUE);
    if (::IsWindow(m_hWnd))
        RedrawWindow(nullptr, nullptr, kRedrawNow);
}

BOOL COXShortcutBar::UpdateHeader(HSHBGROUP hGroup) {
    if (hGroup == nullptr)
        return FALSE;
    auto it = m_headerRects.find(hGroup);
    if (it == m_headerRects.end())
        return FALSE;
    RedrawRect(it->second);
    return TRUE;
}

void COXShortcutBar::RedrawRect(const CRect& rect) {
    if (::IsWindow(m_hWnd))
        RedrawWindow(&rect, nullptr, kRedrawNow);
}

HSHBGROUP COXShortcutBar::ExpandGroup(HSHBGROUP hGroup) {
    StopAutoExpand();
    if (hGroup == m_hExpandedGroup)
        return m_hExpandedGroup;
    // An unknown handle would stay behind as the expanded group with no
    // record; a null one collapses every group.
    if (hGroup != nullptr && GetGroupInfo(hGroup) == nullptr) {
        KWTRACE_ERROR(("COXShortcutBar::ExpandGroup: group wasn't created\n"));
        return m_hExpandedGroup;
    }
    if (SendSHBNotification(SHBN_GROUPEXPANDING, hGroup, -1, 0) != 0)
        return m_hExpandedGroup;

    const HSHBGROUP hPrevious = m_hExpandedGroup;
    m_hExpandedGroup = hGroup;

    const int nPreviousOrder = hPrevious != nullptr ? GetGroupOrder(hPrevious) : -1;
    if (GetShortcutBarSkin()->HasClassicLayout() && (m_dwBarStyle & SHBS_ANIMATEEXPAND) &&
        hPrevious != nullptr && hGroup != nullptr && !m_rectChild.IsRectEmpty() &&
        nPreviousOrder != -1)
        AnimateExpand(hPrevious, nPreviousOrder, GetGroupOrder(hGroup));

    CalculateBoundRects();
    HideChildWnd(hPrevious);
    if (::IsWindow(m_hWnd))
        RedrawWindow(nullptr, nullptr, kRedrawNow);
    ShowChildWnd(hGroup, TRUE);

    SendSHBNotification(SHBN_GROUPEXPANDED, hGroup, -1, 0);
    return hPrevious;
}

// Slides the headers between the previous and the new expanded group towards
// their new place while the previous content window shrinks out of their way.
// It blocks the user-interface thread for about kAnimationMs and dispatches
// nothing: each step is painted at once.
void COXShortcutBar::AnimateExpand(HSHBGROUP hPrevious, int nPreviousOrder, int nNewOrder) {
    const BOOL bMoveUp = nPreviousOrder < nNewOrder;
    std::vector<HSHBGROUP> moving;
    for (int nOrder = std::min(nPreviousOrder, nNewOrder) + 1;
         nOrder <= std::max(nPreviousOrder, nNewOrder); ++nOrder) {
        HSHBGROUP hGroup = FindGroupByOrder(nOrder);
        if (hGroup != nullptr && m_headerRects.count(hGroup) != 0)
            moving.push_back(hGroup);
    }
    HWND hWndPrevious = GetGroupChildWndHandle(hPrevious);

    CRect rectShrinking = m_rectChild;
    const int nSteps = rectShrinking.Height() / kAnimationStep;
    int nStep = kAnimationStep;
    for (int i = 0; i < nSteps - 1;) {
        // The second half covers the distance in double steps.
        if (i > nSteps / 2) {
            ++i;
            nStep = 2 * kAnimationStep;
        }
        CRect rectUpdate(0xFFFF, 0xFFFF, 0, 0);
        for (HSHBGROUP hGroup : moving) {
            CRect& rectHeader = m_headerRects[hGroup];
            rectUpdate.left = std::min(rectUpdate.left, rectHeader.left);
            rectUpdate.top = std::min(rectUpdate.top, rectHeader.top);
            rectUpdate.right = std::max(rectUpdate.right, rectHeader.right);
            rectUpdate.bottom = std::max(rectUpdate.bottom, rectHeader.bottom);
            rectHeader.OffsetRect(0, bMoveUp ? -nStep : nStep);
            rectUpdate.top = std::min(rectUpdate.top, rectHeader.top);
            rectUpdate.bottom = std::max(rectUpdate.bottom, rectHeader.bottom);
        }
        if (bMoveUp)
            rectShrinking.bottom -= nStep;
        else
            rectShrinking.top += nStep;
        m_rectChild = rectShrinking;
        if (hWndPrevious != nullptr && ::IsWindow(hWndPrevious))
            ::MoveWindow(hWndPrevious, rectShrinking.left, rectShrinking.top, rectShrinking.Width(),
                         rectShrinking.Height(), FALSE);

        RedrawRect(rectUpdate);
        ::Sleep(kAnimationMs / nSteps);
        ++i;
    }
}

void COXShortcutBar::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    CalculateBoundRects();
    UpdateBar();
}

BOOL COXShortcutBar::OnEraseBkgnd(CDC* /*pDC*/) {
    // OnPaint covers every pixel outside the content window.
    return TRUE;
}

LRESULT COXShortcutBar::OnNcHitTest(CPoint /*point*/) {
    return HTCLIENT;
}

void COXShortcutBar::OnPaint() {
    CPaintDC dc(this);
    const int nSavedDC = dc.SaveDC();
    CRect rectClient;
    GetClientRect(&rectClient);
    dc.IntersectClipRect(&rectClient);
    // The content window paints itself.
    if (!m_rectChild.IsRectEmpty())
        dc.ExcludeClipRect(&m_rectChild);

    FillBackground(&dc);

    const int nCount = GetGroupCount();
    for (int nOrder = 0; nOrder < nCount; ++nOrder) {
        HSHBGROUP hGroup = FindGroupByOrder(nOrder);
        auto it = m_headerRects.find(hGroup);
        if (it == m_headerRects.end() || !dc.RectVisible(&it->second))
            continue;
        if (!PaintHeader(&dc, hGroup, it->second))
            break;
    }
    dc.RestoreDC(nSavedDC);
}

// Each header is drawn off-screen and copied in one block so that it never
// flickers while the skin layers its gradient, frame, image and text.
BOOL COXShortcutBar::PaintHeader(CDC* pDC, HSHBGROUP hGroup, const CRect& rcDest) {
    CDC dcMemory;
    if (!dcMemory.CreateCompatibleDC(pDC)) {
        KWTRACE_ERROR(("COXShortcutBar::OnPaint:Failed to create compatible DC\n"));
        return FALSE;
    }
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(pDC, rcDest.Width(), rcDest.Height())) {
        KWTRACE_ERROR(("COXShortcutBar::OnPaint:Failed to create compatible bitmap\n"));
        return FALSE;
    }
    CScopedSelect selectBitmap(dcMemory, &bitmap);

    DRAWITEMSTRUCT dis;
    ZeroMemory(&dis, sizeof(dis));
    dis.CtlType = 0;
    dis.CtlID = GetDlgCtrlID();
    dis.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hGroup));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ODS_DEFAULT;
    dis.hwndItem = m_hWnd;
    dis.hDC = dcMemory.GetSafeHdc();
    dis.rcItem = CRect(0, 0, rcDest.Width(), rcDest.Height());
    dis.itemData = reinterpret_cast<ULONG_PTR>(hGroup);
    DrawHeader(&dis);

    return pDC->BitBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &dcMemory, 0, 0,
                       SRCCOPY);
}

void COXShortcutBar::FillBackground(CDC* pDC) {
    COXShortcutBarSkin* pSkin = GetShortcutBarSkin();
    const COLORREF clrBack = m_hExpandedGroup != nullptr ? GetGroupBkColor(m_hExpandedGroup)
                                                         : pSkin->GetBackgroundColor(this);
    const int nSavedDC = pDC->SaveDC();
    for (const auto& entry : m_headerRects)
        pDC->ExcludeClipRect(&entry.second);
    if (!m_rectChild.IsRectEmpty())
        pDC->ExcludeClipRect(&m_rectChild);

    pSkin->DrawTitleBand(this, pDC);

    CRect rectClient;
    GetClientRect(&rectClient);
    const BOOL bUseColor = m_hExpandedGroup != nullptr && HasGroupBkColor(m_hExpandedGroup);
    pSkin->FillBackground(pDC, rectClient, this, bUseColor, clrBack);
    pDC->RestoreDC(nSavedDC);
}

LRESULT COXShortcutBar::DrawHeader(LPDRAWITEMSTRUCT pDrawItemStruct) {
    HSHBGROUP hGroup = reinterpret_cast<HSHBGROUP>(static_cast<UINT_PTR>(pDrawItemStruct->itemID));
    // The owner may draw the header itself.
    const LRESULT lResult =
        SendSHBNotification(SHBN_DRAWHEADER, hGroup, -1, reinterpret_cast<LPARAM>(pDrawItemStruct));
    if (lResult != 0)
        return lResult;
    GetShortcutBarSkin()->DrawGroupHeader(pDrawItemStruct, this);
    return TRUE;
}
