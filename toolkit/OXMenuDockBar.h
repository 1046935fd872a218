// OXMenuDockBar.h: COXMenuDockBar<PARENTDOCKBAR>, the dock bar that the
// menu-bar frame puts on its sides. It lays out like PARENTDOCKBAR, except
// that a menu bar that spans its frame always takes a row (a column on the
// left and right) of its own: bars before it in its row stay, the menu bar
// moves to the next row, bars after it move to a row below it.
//
// Classes: COXMenuDockBar.
//
// It answers the run-time class of PARENTDOCKBAR, so every test for a
// COXSizeDockBar holds for it too.
#pragma once

#include "OXDockAxis.h"
#include "OXMenuBar.h"

#include "Common/TraceLog.h"
#include "framework/DockBar.h"
#include "framework/Exception.h"

#include <algorithm>

template <class PARENTDOCKBAR> class COXMenuDockBar : public PARENTDOCKBAR {
public:
    COXMenuDockBar();

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

private:
    // pBar is a visible menu bar that spans its frame.
    static COXMenuBar* AsRowMenuBar(CControlBar* pBar);
    // The window rectangle of pBar in this dock bar's client coordinates.
    CRect ClientRectOf(CControlBar* pBar) const;
    // The visible bar nearest before (nStep -1) or after (+1) nIndex in its
    // row, or null.
    CControlBar* FindRowNeighbour(int nIndex, int nStep) const;
};

template <class PARENTDOCKBAR> COXMenuDockBar<PARENTDOCKBAR>::COXMenuDockBar() {
    if (!this->IsKindOf(RUNTIME_CLASS(CDockBar))) {
        g_TraceLog.Enter();
        g_TraceLog.SetLine(__LINE__);
        g_TraceLog.SetFile("OXMenuBar");
        g_TraceLog.TraceError(
            "COXMenuDockBar has to be derived from CDockBar or its derivations\n");
        AfxThrowNotSupportedException();
    }
}

template <class PARENTDOCKBAR>
COXMenuBar* COXMenuDockBar<PARENTDOCKBAR>::AsRowMenuBar(CControlBar* pBar) {
    auto* pMenuBar = DYNAMIC_DOWNCAST(COXMenuBar, pBar);
    return pMenuBar != nullptr && pMenuBar->IsVisible() && pMenuBar->IsFullWidth() ? pMenuBar
                                                                                   : nullptr;
}

template <class PARENTDOCKBAR>
CRect COXMenuDockBar<PARENTDOCKBAR>::ClientRectOf(CControlBar* pBar) const {
    CRect rect;
    pBar->GetWindowRect(&rect);
    this->ScreenToClient(&rect);
    return rect;
}

template <class PARENTDOCKBAR>
CControlBar* COXMenuDockBar<PARENTDOCKBAR>::FindRowNeighbour(int nIndex, int nStep) const {
    for (int n = nIndex + nStep; n >= 0 && n < this->m_arrBars.GetSize(); n += nStep) {
        if (this->m_arrBars[n] == nullptr)
            return nullptr;
        CControlBar* pBar = this->GetValidBar(n);
        if (pBar != nullptr && pBar->IsVisible())
            return pBar;
    }
    return nullptr;
}

template <class PARENTDOCKBAR>
CSize COXMenuDockBar<PARENTDOCKBAR>::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CPtrArray arrMenuBars;
    for (int n = 0; n < this->m_arrBars.GetSize(); ++n) {
        if (COXMenuBar* pMenuBar = AsRowMenuBar(this->GetValidBar(n))) {
            pMenuBar->SetLayoutInProgress(TRUE);
            arrMenuBars.Add(pMenuBar);
        }
    }
    CSize size = PARENTDOCKBAR::CalcFixedLayout(bStretch, bHorz);
    if (arrMenuBars.GetSize() == 0)
        return size;
    const CSize sizeMax = this->CalcMaxSize();
    const COXDockAxis axis(this->IsHorizontal());

    HDWP hDWP = nullptr;
    if (!this->m_bLayoutQuery)
        hDWP = ::BeginDeferWindowPos(static_cast<int>(this->m_arrBars.GetSize()));
    BOOL bDeferFailed = !this->m_bLayoutQuery && hDWP == nullptr;
    int nOffset = 0; // how far the bars after a moved menu bar go across
    for (int n = 0; n < this->m_arrBars.GetSize(); ++n) {
        CControlBar* pBar = this->GetValidBar(n);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        const CRect rectBar = ClientRectOf(pBar);
        COXMenuBar* pMenuBar = AsRowMenuBar(pBar);
        if (pMenuBar == nullptr) {
            if (nOffset != 0 && hDWP != nullptr) {
                CRect rect(rectBar);
                rect.OffsetRect(axis.Point(0, nOffset));
                hDWP =
                    ::DeferWindowPos(hDWP, pBar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                     rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
                bDeferFailed = bDeferFailed || hDWP == nullptr;
            }
            continue;
        }
        if (pMenuBar->IsFloating())
            continue;
        // Along the row it spans the dock bar; across it keeps its place.
        CRect rectTarget(rectBar);
        axis.Start(rectTarget) = -axis.BorderAlong();
        axis.End(rectTarget) = axis.Along(sizeMax) + axis.BorderAlong();
        const int nThickness = axis.Thickness(rectBar);
        if (axis.Start(rectTarget) < axis.Start(rectBar)) {
            // A bar before it in its row: the menu bar begins the next row.
            if (CControlBar* pBefore = FindRowNeighbour(n, -1)) {
                const int nBefore = axis.Thickness(ClientRectOf(pBefore));
                rectTarget.OffsetRect(axis.Point(0, nBefore - axis.BorderAcross()));
                nOffset += std::min(nBefore, nThickness) - axis.BorderAcross();
            }
            this->m_arrBars.InsertAt(n, static_cast<void*>(nullptr));
            ++n;
        }
        if (FindRowNeighbour(n, +1) != nullptr) {
            // Bars after it go to a row of their own below it.
            this->m_arrBars.InsertAt(n + 1, static_cast<void*>(nullptr));
            nOffset += nThickness - axis.BorderAcross();
        }
        if (rectTarget != rectBar && axis.Length(rectTarget) >= axis.Length(rectBar) &&
            hDWP != nullptr) {
            hDWP = ::DeferWindowPos(hDWP, pBar->m_hWnd, nullptr, rectTarget.left, rectTarget.top,
                                    rectTarget.Width(), rectTarget.Height(),
                                    SWP_NOZORDER | SWP_NOACTIVATE);
            bDeferFailed = bDeferFailed || hDWP == nullptr;
        }
    }
    if (!this->m_bLayoutQuery && (bDeferFailed || !::EndDeferWindowPos(hDWP))) {
        g_TraceLog.Enter();
        g_TraceLog.SetLine(__LINE__);
        g_TraceLog.SetFile("OXMenuBar");
        g_TraceLog.TraceError("Warning: DeferWindowPos failed - low system resources\n");
    }
    axis.Across(size) += nOffset;
    for (INT_PTR i = 0; i < arrMenuBars.GetSize(); ++i)
        static_cast<COXMenuBar*>(arrMenuBars[i])->SetLayoutInProgress(FALSE);
    return size;
}
