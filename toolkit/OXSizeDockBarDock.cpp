// OXSizeDockBarDock.cpp: COXSizeDockBar's docking: which dock bar takes a
// dragged bar, docking at a rectangle with tabs and placement, maximising a
// bar within its row, and fitting a row around a bar docked into it.
#include "OXSizeDockBar.h"

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

// Near a dock bar counts too, but not the corner the bottom dock bar owns.
const int kNearMargin = 20;
const int kSideBottomCut = 28;

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
    if (x >= L - 11 && x <= L - 3)
        x = L - 2;
    if (y >= T - 11 && y <= T - 3)
        y = T - 2;
    return CPoint(x, y);
}

int COXSizeDockBar::GetRowInsertLeft(CControlBar* pBar, int nTop, int nLeft) const {
    return GetInsertStart(pBar, TRUE, nTop, nLeft, ClientRectOf(this, this).left - 2);
}

int COXSizeDockBar::GetColumnInsertTop(CControlBar* pBar, int nLeft, int nTop) const {
    return GetInsertStart(pBar, FALSE, nLeft, nTop, ClientRectOf(this, this).top);
}

int COXSizeDockBar::GetInsertStart(CControlBar* pBar, BOOL bRow, int nAcross, int nAlong,
                                   int nFirst) const {
    const BOOL bSizeable = IsSizeControlBar(pBar);
    int nResult = nFirst;
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther == nullptr || pOther == pBar || !pOther->IsVisible())
            continue;
        const CRect rect = ClientRectOf(pOther, this);
        if ((bRow ? rect.top : rect.left) != nAcross)
            continue;
        if ((bRow ? rect.left : rect.top) > nAlong)
            break;
        const int nEnd = (bRow ? rect.right : rect.bottom) +
                         (bSizeable && IsSizeControlBar(pOther) ? OX_SPLITTER_SIZE : 0);
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
    if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
        char szTitle[260 + 1] = "";
        pBar->GetWindowText(szTitle, static_cast<int>(sizeof(szTitle)));
        SetWindowText(szTitle);
    }
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
        const CPoint ptInsert = FindInsertPoint(rect.left - 5, rect.top);
        nPosNew = Insert(pBar, rect, ptInsert);
        const CRect rectCurrent = ClientRectOf(pBar, this);
        CRect rectClient;
        GetClientRect(&rectClient);
        auto* pSizeBar = bSizeable ? static_cast<COXSizeControlBar*>(pBar) : nullptr;
        int x, y, cx, cy;
        if (IsHorizontal()) {
            x = rect.left;
            y = rectCurrent.top;
            cx = rect.Width();
            cy = rectCurrent.Height();
            if (pSizeBar != nullptr && bFromElsewhere && !bTabbed)
                cy = pSizeBar->m_sizeFloat.cx;
            const int nMinLeft = GetRowInsertLeft(pBar, y, x);
            x = pSizeBar != nullptr
                    ? nMinLeft
                    : std::max(nMinLeft, std::min(x, static_cast<int>(rectClient.right) - cx));
        } else {
            x = rectCurrent.left;
            y = rect.top;
            cx = rectCurrent.Width();
            cy = rect.Height();
            if (pSizeBar != nullptr && bFromElsewhere && !bTabbed)
                cx = pSizeBar->m_sizeFloat.cx;
            const int nMinTop = GetColumnInsertTop(pBar, x, y);
            const int nMaxTop = static_cast<int>(rectClient.bottom) - GetTabStripHeight() - cy;
            y = pSizeBar != nullptr ? nMinTop : std::max(nMinTop, std::min(y, nMaxTop));
        }
        ::SetWindowPos(pBar->m_hWnd, nullptr, x, y, cx, cy,
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
    const BOOL bHorz = IsHorizontal();

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
        CSize& sizeDock = bHorz ? pSizeBar->m_sizeHorzDock : pSizeBar->m_sizeVertDock;
        if (bMaximize) {
            if (bSave)
                pSizeBar->m_sizeBeforeMaximize = sizeDock;
            LONG& nLength = bHorz ? sizeDock.cx : sizeDock.cy;
            nGained += nLength - 21; // a caption's room stays
            nLength = 21;
        } else {
            sizeDock = pSizeBar->m_sizeBeforeMaximize;
        }
        pSizeBar->SetMaximizedState(FALSE);
    }
    CSize& sizeDock = bHorz ? pBar->m_sizeHorzDock : pBar->m_sizeVertDock;
    if (bMaximize) {
        if (bSave)
            pBar->m_sizeBeforeMaximize = sizeDock;
        (bHorz ? sizeDock.cx : sizeDock.cy) += nGained;
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
    int nLength =
        std::max(0, static_cast<int>(IsHorizontal() ? rectBar.Width() : rectBar.Height()));
    if (IsSizeControlBar(pBar) && metrics.nSizeableCount > 0)
        nLength += OX_SPLITTER_SIZE;
    DistributeRow(0, std::max(0, metrics.nTotal - nLength), &arrOthers);
}
