// OXDockTabCtrl.cpp: COXDockTabCtrl.
#include "OXDockTabCtrl.h"

#include "OXCoolToolBar.h"
#include "OXSizeCtrlBar.h"
#include "OXSizeDockBar.h"

#include <cstdlib>

// clang-format off
BEGIN_MESSAGE_MAP(COXDockTabCtrl, COXSkinnedTabCtrl)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, &COXDockTabCtrl::OnSelChange)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The strip counts as hit from this far above the dock bar's bottom edge.
const int kHitBand = 48;
// A press has to move further than this before a tab is pulled out.
const int kDragThreshold = 3;

void ShowThroughFrame(CControlBar* pBar, BOOL bShow) {
    if (CFrameWnd* pFrame = pBar->GetDockingFrame())
        pFrame->ShowControlBar(pBar, bShow, TRUE);
}

} // namespace

COXDockTabCtrl::COXDockTabCtrl(COXSizeDockBar* pOwnerDockBar)
    : m_pLastHorzBar(nullptr), m_pOwnerDockBar(pOwnerDockBar), m_ptPress(0, 0) {}

COXDockTabCtrl::~COXDockTabCtrl() {
    m_fontTabs.DeleteObject();
}

int COXDockTabCtrl::OnCreate(LPCREATESTRUCT lpcs) {
    if (COXSkinnedTabCtrl::OnCreate(lpcs) == -1)
        return -1;
    m_fontTabs.CreatePointFont(80, "MS Sans Serif");
    SetFont(&m_fontTabs, TRUE);
    SetPadding(CSize(12, 4));
    return 0;
}

CControlBar* COXDockTabCtrl::GetBar(int nIndex) const {
    TCITEM item = {};
    item.mask = TCIF_PARAM;
    if (nIndex < 0 || !GetItem(nIndex, &item))
        return nullptr;
    return reinterpret_cast<CControlBar*>(item.lParam);
}

int COXDockTabCtrl::FindBar(CControlBar* pBar) const {
    if (m_hWnd == nullptr)
        return -1;
    for (int i = 0; i < GetItemCount(); ++i) {
        if (GetBar(i) == pBar)
            return i;
    }
    return -1;
}

int COXDockTabCtrl::HitTestBar(CPoint ptScreen, CControlBar* /*pBar*/) const {
    CRect rectDock;
    m_pOwnerDockBar->GetWindowRect(&rectDock);
    rectDock.top = rectDock.bottom - kHitBand;
    if (!rectDock.PtInRect(ptScreen))
        return -1;
    TCHITTESTINFO info = {};
    info.pt = ptScreen;
    ScreenToClient(&info.pt);
    const int nTab = HitTest(&info);
    return nTab < 0 ? 0 : nTab;
}

// A tab for pBar at nIndex: its window text and the bar itself.
static void InsertTab(COXDockTabCtrl* pTabs, int nIndex, CControlBar* pBar) {
    char szText[256] = "";
    pBar->GetWindowText(szText, static_cast<int>(sizeof(szText)));
    TCITEM item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = szText;
    item.lParam = reinterpret_cast<LPARAM>(pBar);
    pTabs->InsertItem(nIndex, &item);
}

void COXDockTabCtrl::InsertBar(CControlBar* pBar, int nIndex, BOOL bActivate) {
    COXSizeDockBar* pDockBar = m_pOwnerDockBar;
    if (pDockBar->CountOtherSizeBars(pBar) == 0)
        return; // a bar alone gets no tab
    for (int n = 0; n < pDockBar->m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = pDockBar->GetValidBar(n);
        if (pOther != nullptr && pOther != pBar && IsSizeControlBar(pOther) &&
            FindBar(pOther) == -1 && (pOther->GetStyle() & WS_VISIBLE))
            InsertTab(this, 0, pOther);
    }
    InsertTab(this, nIndex, pBar);
    SetCurSel(FindBar(pBar));
    pDockBar->PositionTabCtrl();
    if (bActivate) {
        ShowCurrentBar();
        return;
    }
    const int nSelected = GetCurSel();
    for (int i = 0; i < GetItemCount(); ++i) {
        if (i != nSelected)
            ShowThroughFrame(GetBar(i), FALSE);
    }
}

void COXDockTabCtrl::RemoveBar(CControlBar* pBar) {
    if (GetItemCount() == 0)
        return;
    if (m_pOwnerDockBar->CountOtherSizeBars(pBar) == 1) {
        // One bar needs no tabs.
        CControlBar* pOther = m_pOwnerDockBar->FindOtherSizeBar(pBar);
        const int nOther = FindBar(pOther);
        if (nOther != -1)
            DeleteItem(nOther);
        ShowThroughFrame(pOther, TRUE);
    }
    const int nTab = FindBar(pBar);
    if (m_pLastHorzBar == pBar)
        m_pLastHorzBar = nullptr;
    if (nTab != -1) {
        DeleteItem(nTab);
        if (GetItemCount() > 1) {
            SetCurSel(nTab > 0 ? nTab - 1 : 0);
            ShowCurrentBar();
        }
    }
    m_pOwnerDockBar->PositionTabCtrl();
}

void COXDockTabCtrl::MoveTab(int nFrom, int nTo, CPoint ptScreen) {
    CRect rectTo;
    if (!GetItemRect(nTo, &rectTo))
        return;
    CPoint pt = ptScreen;
    ScreenToClient(&pt);
    // The tab changes place only once the cursor is past the target's middle.
    const int nCentre = rectTo.CenterPoint().x;
    if (nFrom >= nTo ? pt.x > nCentre : pt.x < nCentre)
        return;
    char szText[256 + 1] = "";
    TCITEM item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = szText;
    item.cchTextMax = 256;
    if (!GetItem(nFrom, &item))
        return;
    const BOOL bSelected = GetCurSel() == nFrom;
    DeleteItem(nFrom);
    item.pszText = szText;
    InsertItem(nTo, &item);
    if (bSelected)
        SetCurSel(nTo);
}

void COXDockTabCtrl::ShowCurrentBar() {
    const int nSelected = GetCurSel();
    for (int i = 0; i < GetItemCount(); ++i) {
        if (CControlBar* pBar = GetBar(i))
            ShowThroughFrame(pBar, i == nSelected);
    }
    CRect rect;
    m_pOwnerDockBar->GetClientRect(&rect);
    CControlBar* pSelected = GetBar(nSelected);
    if (pSelected == nullptr)
        return;
    auto* pSizeBar =
        IsSizeControlBar(pSelected) ? static_cast<COXSizeControlBar*>(pSelected) : nullptr;
    if (m_pOwnerDockBar->IsHorizontal()) {
        // The dock bar's layout places it; it only takes the width the last
        // shown bar had.
        if (pSizeBar != nullptr) {
            if (m_pLastHorzBar != nullptr)
                pSizeBar->m_sizeHorzDock.cx = m_pLastHorzBar->m_sizeHorzDock.cx;
            m_pLastHorzBar = pSizeBar;
        }
        return;
    }
    const UINT nID = m_pOwnerDockBar->GetDlgCtrlID();
    if (nID == AFX_IDW_DOCKBAR_LEFT)
        rect.right -= 3;
    else if (nID == AFX_IDW_DOCKBAR_RIGHT)
        rect.left += 4;
    rect.bottom -= m_pOwnerDockBar->GetTabStripHeight();
    pSelected->MoveWindow(&rect, TRUE);
    if (pSizeBar != nullptr)
        pSizeBar->m_sizeVertDock = CSize(rect.Width(), rect.Height() + 5);
}

void COXDockTabCtrl::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    m_ptPress = point;
    Default();
}

void COXDockTabCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    if ((nFlags & MK_LBUTTON) &&
        (std::abs(static_cast<int>(point.x - m_ptPress.x)) > kDragThreshold ||
         std::abs(static_cast<int>(point.y - m_ptPress.y)) > kDragThreshold)) {
        TCHITTESTINFO info = {};
        info.pt = point;
        CControlBar* pBar = GetBar(HitTest(&info));
        if (auto* pCoolBar = DYNAMIC_DOWNCAST(COXCoolToolBar, pBar)) {
            pCoolBar->StartBarDrag(CPoint(0, 0)); // its own drag carries it from here
            return;
        }
        if (pBar != nullptr && IsSizeControlBar(pBar)) {
            // The bar's own mouse handling carries the caption drag from here.
            auto* pSizeBar = static_cast<COXSizeControlBar*>(pBar);
            pSizeBar->CalcDragOffset(CPoint(0, 0));
            pSizeBar->SetCapture();
            pSizeBar->m_bCaptionDragging = TRUE;
            ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32646))); // IDC_SIZEALL
            return;
        }
    }
    Default();
}

void COXDockTabCtrl::OnSelChange(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    ShowCurrentBar();
    *pResult = 0;
}
