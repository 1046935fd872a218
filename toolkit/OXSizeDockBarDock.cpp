// OXSizeDockBarDock.cpp: COXSizeDockBar's docking: which dock bar takes a
// dragged bar, docking at a rectangle with tabs and placement, maximising a
// bar within its row, and fitting a row around a bar docked into it.
#include "OXSizeDockBar.h"

#include "OXMenuBar.h"
#include "OXSizeCtrlBar.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

#include <algorithm>

namespace {

// The frame's dock bars in the order a drag asks them, with the side each takes.
struct SDockSide {
    UINT nID;
    DWORD dwAlign;
};
const SDockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
};

// Near a dock bar counts too, but not the corner the bottom dock bar owns:
// the near band of a side dock bar stops this far above its bottom.
const int kNearMargin = 20;
const int kSideBottomCut = 28;
// A maximised bar leaves each other sizeable bar of its row this long, room
// for its caption.
const int kCaptionRoom = 21;
// Drop points this close outside a dock bar's left or top edge snap onto it.
const int kSnapNear = 3;
const int kSnapFar = 11;

// Window rectangle of pWnd in pOwner's client coordinates.
CRect ClientRectOf(const CWnd* pWnd, const CWnd* pOwner) {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pOwner->ScreenToClient(&rect);
    return rect;
}

} // namespace

COXSizeDockBar* COXSizeDockBar::FindDockBarAt(CPoint ptScreen, CControlBar* pBar) {
    CWinApp* pApp = AfxGetApp();
    CWnd* pMainWnd = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    CFrameWnd* pFrame = pMainWnd != nullptr ? pMainWnd->AsFrameWnd() : nullptr;
    if (pFrame == nullptr)
        return nullptr;
    const BOOL bSizeable = IsSizeControlBar(pBar);
    const BOOL bCoolBar = DYNAMIC_DOWNCAST(COXCoolToolBar, pBar) != nullptr;
    for (int nPass = 0; nPass < 2; ++nPass) {
        for (const SDockSide& side : kDockSides) {
            auto* pDockBar = DYNAMIC_DOWNCAST(COXSizeDockBar, pFrame->GetControlBar(side.nID));
            if (pDockBar == nullptr || (pBar->m_dwDockStyle & side.dwAlign) == 0)
                continue;
            CRect rect;
            pDockBar->GetWindowRect(&rect);
            if (nPass == 1) {
                rect.InflateRect(kNearMargin, kNearMargin);
                if (side.dwAlign & CBRS_ORIENT_VERT)
                    rect.bottom -= kSideBottomCut;
            }
            if (!rect.PtInRect(ptScreen))
                continue;
            // Sizeable bars and cool toolbars keep to dock bars of their own.
            if ((bSizeable && pDockBar->FindOtherCoolToolBar(pBar) != nullptr) ||
                (bCoolBar && pDockBar->FindOtherSizeBar(pBar) != nullptr))
                continue;
            if (pDockBar->m_wndTabs.GetItemCount() != 0 &&
                pDockBar->m_wndTabs.HitTestBar(ptScreen, pBar) == -1)
                continue;
            return pDockBar;
        }
    }
    return nullptr;
}

CPoint COXSizeDockBar::FindInsertPoint(int x, int y) const {
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    const int L = rectWindow.left, T = rectWindow.top;
    if (x >= L - kSnapFar && x <= L - kSnapNear)
        x = L - 2;
    if (y >= T - kSnapFar && y <= T - kSnapNear)
        y = T - 2;
    return CPoint(x, y);
}

CPoint COXSizeDockBar::FindInsertPoint(CControlBar* pBar, int x, int y) const {
    const COXDockAxis axis(IsHorizontal());
    const BOOL bMenuBarMoves = DYNAMIC_DOWNCAST(COXMenuBar, pBar) != nullptr;
    CPoint pt(x, y);
    // Rows come in array order from the top (left), so one walk steps past
    // every row the point meets on its way.
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther == nullptr || pOther == pBar || !pOther->IsVisible() ||
            (!bMenuBarMoves && DYNAMIC_DOWNCAST(COXMenuBar, pOther) == nullptr))
            continue;
        const CRect rect = ClientRectOf(pOther, this);
        const int nAcross = axis.Across(pt);
        if (nAcross >= axis.Across(rect.TopLeft()) && nAcross <= axis.Across(rect.BottomRight()))
            axis.Across(pt) = axis.Across(rect.BottomRight()) + 2;
    }
    return FindInsertPoint(pt.x, pt.y);
}

int COXSizeDockBar::GetRowInsertLeft(CControlBar* pBar, int nTop, int nLeft) const {
    return GetInsertStart(pBar, TRUE, nTop, nLeft, ClientRectOf(this, this).left - 2);
}

int COXSizeDockBar::GetColumnInsertTop(CControlBar* pBar, int nLeft, int nTop) const {
    return GetInsertStart(pBar, FALSE, nLeft, nTop, ClientRectOf(this, this).top);
}

int COXSizeDockBar::GetInsertStart(CControlBar* pBar, BOOL bRow, int nAcross, int nAlong,
                                   int nFirst) const {
    const COXDockAxis axis(bRow);
    const BOOL bSizeable = IsSizeControlBar(pBar);
    int nResult = nFirst;
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther == nullptr || pOther == pBar || !pOther->IsVisible())
            continue;
        const CRect rect = ClientRectOf(pOther, this);
        if (axis.Across(rect.TopLeft()) != nAcross)
            continue;
        if (axis.Start(rect) > nAlong)
            break;
        const int nEnd =
            axis.End(rect) + (bSizeable && IsSizeControlBar(pOther) ? OX_SPLITTER_SIZE : 0);
        if (nResult < nEnd)
            nResult = nEnd - 2;
    }
    return nResult;
}

void COXSizeDockBar::DockBarAtRect(CControlBar* pBar, LPCRECT lpRect) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    const BOOL bSizeable = IsSizeControlBar(pBar);
    auto* pOldSizeDockBar = DYNAMIC_DOWNCAST(COXSizeDockBar, pBar->m_pDockBar);
    if (pOldSizeDockBar != nullptr && pOldSizeDockBar != this &&
        pOldSizeDockBar->m_wndTabs.FindBar(pBar) != -1)
        pOldSizeDockBar->m_wndTabs.RemoveBar(pBar);

    BOOL bTabbed = FALSE;
    if (lpRect != nullptr && bSizeable) {
        const int nTab = m_wndTabs.FindBar(pBar);
        const CPoint ptCorner(lpRect->left, lpRect->top);
        const int nHit = m_wndTabs.HitTestBar(ptCorner, pBar);
        if (nHit != -1) {
            if (nTab != -1 && nTab != nHit) {
                m_wndTabs.MoveTab(nTab, nHit, ptCorner);
            } else if (nTab == -1 &&
                       (m_wndTabs.GetItemCount() > 0 || CountBarsAtSamePlace(pBar) > 1)) {
                m_wndTabs.InsertBar(pBar, nHit, TRUE);
                bTabbed = TRUE;
            }
        } else if (nTab != -1) {
            m_wndTabs.RemoveBar(pBar);
        }
    }

    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (lpRect == nullptr || rectBar == *lpRect))
        return;

    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    TakeTitleOf(pBar);
    pBar->m_dwStyle &= ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING);
    pBar->m_dwStyle |=
        (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY | (m_bFloating ? CBRS_FLOATING : 0);

    CDockBar* pOld = pBar->m_pDockBar;
    const BOOL bFromElsewhere = pOld != nullptr && pOld != this;
    const BOOL bHidden = bFromElsewhere && pBar->IsWindowVisible();
    if (bHidden)
        ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Reparenting keeps the numbers of the position, so it may come first.
    if (pBar->GetParent() != this)
        pBar->SetParent(this);

    int nPosNew;
    if (lpRect != nullptr) {
        CRect rect(*lpRect);
        ScreenToClient(&rect);
        const CPoint ptInsert = FindInsertPoint(pBar, rect.left - 5, rect.top);
        nPosNew = Insert(pBar, rect, ptInsert);
        const CRect rectCurrent = ClientRectOf(pBar, this);
        CRect rectClient;
        GetClientRect(&rectClient);
        auto* pSizeBar = bSizeable ? static_cast<COXSizeControlBar*>(pBar) : nullptr;
        // Along the row the bar keeps the drop's place and length; across it
        // stays in its row, a sizeable bar coming from elsewhere as thick as
        // it was wide floating.
        const COXDockAxis axis(IsHorizontal());
        int nAlong = axis.Start(rect);
        const int nAcross = axis.Across(rectCurrent.TopLeft());
        const int nLength = axis.Length(rect);
        int nThickness = axis.Thickness(rectCurrent);
        if (pSizeBar != nullptr && bFromElsewhere && !bTabbed)
            nThickness = pSizeBar->m_sizeFloat.cx;
        const int nMinAlong = axis.IsHorz() ? GetRowInsertLeft(pBar, nAcross, nAlong)
                                            : GetColumnInsertTop(pBar, nAcross, nAlong);
        // A fixed bar ends inside the client area (above the tab strip).
        const int nMaxAlong =
            axis.End(rectClient) - (axis.IsHorz() ? 0 : GetTabStripHeight()) - nLength;
        nAlong = pSizeBar != nullptr ? nMinAlong : std::max(nMinAlong, std::min(nAlong, nMaxAlong));
        const CPoint ptBar = axis.Point(nAlong, nAcross);
        const CSize sizeBar = axis.Size(nLength, nThickness);
        ::SetWindowPos(pBar->m_hWnd, nullptr, ptBar.x, ptBar.y, sizeBar.cx, sizeBar.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    } else {
        nPosNew = AddRowAtEnd(pBar);
    }

    TakeBarFrom(pOld, pBar, nPosNew);
    if (bHidden)
        ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RemovePlaceHolder(pBar);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout(TRUE);
    DestroyIfEmptyFloating(pOld);
}

void COXSizeDockBar::MaximizeBar(COXSizeControlBar* pBar, BOOL bMaximize) {
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    const int nStart = FindRowStart(FindRowByRect(rectBar));
    const COXDockAxis axis(IsHorizontal());

    // With another bar of the row already maximised the saved sizes are the
    // ones from before that: keep them.
    BOOL bSave = TRUE;
    if (bMaximize) {
        for (int n = nStart; n < m_arrBars.GetSize() && m_arrBars[n] != nullptr; ++n) {
            CControlBar* pOther = GetValidBar(n);
            if (pOther != nullptr && pOther != pBar && IsSizeControlBar(pOther) &&
                static_cast<COXSizeControlBar*>(pOther)->m_bMaximized)
                bSave = FALSE;
        }
    }

    int nGained = 0;
    for (int n = nStart; n < m_arrBars.GetSize() && m_arrBars[n] != nullptr; ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther == nullptr || pOther == pBar || !pOther->IsVisible() ||
            !IsSizeControlBar(pOther))
            continue;
        auto* pSizeBar = static_cast<COXSizeControlBar*>(pOther);
        CSize& sizeDock = axis.DockedSize(pSizeBar);
        if (bMaximize) {
            if (bSave)
                pSizeBar->m_sizeBeforeMaximize = sizeDock;
            LONG& nLength = axis.Along(sizeDock);
            nGained += nLength - kCaptionRoom;
            nLength = kCaptionRoom;
        } else {
            sizeDock = pSizeBar->m_sizeBeforeMaximize;
        }
        pSizeBar->SetMaximizedState(FALSE);
    }
    CSize& sizeDock = axis.DockedSize(pBar);
    if (bMaximize) {
        if (bSave)
            pBar->m_sizeBeforeMaximize = sizeDock;
        axis.Along(sizeDock) += nGained;
    } else {
        sizeDock = pBar->m_sizeBeforeMaximize;
    }
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->RecalcLayout(TRUE);
    pBar->SetMaximizedState(bMaximize);
}

void COXSizeDockBar::FitRowAroundBar(CControlBar* pBar) {
    const int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    CPtrArray arrOthers;
    for (int n = FindRowStart(nPos); n < m_arrBars.GetSize() && m_arrBars[n] != nullptr; ++n) {
        if (n != nPos)
            arrOthers.Add(m_arrBars[n]);
    }
    arrOthers.Add(nullptr);
    SRowMetrics metrics;
    GetRowMetrics(metrics, 0, &arrOthers);
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    int nLength = std::max(0, COXDockAxis(IsHorizontal()).Length(rectBar));
    if (IsSizeControlBar(pBar) && metrics.nSizeableCount > 0)
        nLength += OX_SPLITTER_SIZE;
    DistributeRow(0, std::max(0, metrics.nTotal - nLength), &arrOthers);
}
