// OXSizeDockBarLayout.cpp: COXSizeDockBar::CalcFixedLayout, the row layout
// with splitters, the wrapping of sizeable bars and the tab strip.
#include "OXSizeDockBar.h"

#include "OXSizeCtrlBar.h"

#include "Common/TraceLog.h"
#include "framework/DockContext.h"

#include <algorithm>

namespace {

// Dock bars whose window style carries these bits shorten the room from the
// top (a top dock bar) or from the bottom (a bottom dock bar).
const DWORD kTopDockBits = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
const DWORD kBottomDockBits = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

} // namespace

CSize COXSizeDockBar::CalcMaxSize() {
    if (!m_rectLayout.IsRectEmpty())
        return m_rectLayout.Size();
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == nullptr)
        return CSize(0, 0);
    CRect rect;
    pFrame->GetClientRect(&rect);
    pFrame->ClientToScreen(&rect);
    for (CWnd* pChild = pFrame->GetTopWindow(); pChild != nullptr;
         pChild = pChild->GetNextWindow()) {
        const int nID = pChild->GetDlgCtrlID();
        if (nID < 0xE800 || nID > 0xE8FF || !pChild->IsWindowVisible())
            continue;
        auto* pDockBar = dynamic_cast<CDockBar*>(CWnd::FromHandlePermanent(pChild->m_hWnd));
        if (pDockBar == nullptr || pDockBar->m_bFloating)
            continue;
        CRect rectDock;
        pDockBar->GetWindowRect(&rectDock);
        const DWORD dwStyle = pDockBar->GetStyle();
        if ((dwStyle & kTopDockBits) == kTopDockBits)
            rect.top = std::max(rect.top, rectDock.bottom);
        if ((dwStyle & kBottomDockBits) == kBottomDockBits)
            rect.bottom = std::min(rect.bottom, rectDock.top);
    }
    return rect.Size();
}

CSize COXSizeDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (m_arrBars.GetSize() <= 1) {
        // The last bar has gone: its splitters must not stay to be hit.
        DeleteSplitters();
        return size;
    }

    const UINT nID = GetDlgCtrlID();
    AFX_SIZEPARENTPARAMS layout = {};
    BOOL bDeferFailed = FALSE;
    if (!m_bLayoutQuery) {
        layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
        bDeferFailed = layout.hDWP == nullptr;
    }
    const CSize sizeMax = CalcMaxSize();
    const AUX_DATA& aux = AfxGetAuxData();
    const int nBorderAlong = bHorz ? aux.cxBorder2 : aux.cyBorder2;
    const int nMaxAlong = bHorz ? sizeMax.cx : sizeMax.cy;
    // Row splitters stand before the rows on a right or bottom dock bar (the
    // side facing the pane), after them on a left or top one.
    const BOOL bSplitterBefore = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
    const int nInRowType = bHorz ? OX_SPLITTER_VERT : OX_SPLITTER_HORZ;

    DeleteSplitters();
    CPoint pt(-aux.cxBorder2, -aux.cyBorder2);
    int nThickness = 0, nLastRowEnd = -1, nRowFirstSplitter = 0, nRowStart = 0;
    BOOL bWrapped = FALSE, bPrevSizeable = FALSE, bSplitterPending = FALSE, bFirstBar = TRUE;
    BOOL bRowHasBar = FALSE, bAnyLaidOut = FALSE;
    auto along = [bHorz](CPoint& point) -> LONG& { return bHorz ? point.x : point.y; };

    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        if (m_arrBars[n] == nullptr) {
            if (bRowHasBar) {
                if (bHorz)
                    pt.y += nThickness - aux.cyBorder2;
                else
                    pt.x += nThickness - aux.cxBorder2;
                size.cx = std::max(size.cx, pt.x);
                size.cy = std::max(size.cy, pt.y);
                along(pt) = -nBorderAlong;
                SetSplitterLengths(nRowFirstSplitter, nInRowType, bHorz ? pt.y : pt.x);
                nLastRowEnd = n;
            }
            nRowFirstSplitter = static_cast<int>(m_arrSplitters.GetSize());
            nThickness = 0;
            bPrevSizeable = FALSE;
            bFirstBar = TRUE;
            bRowHasBar = FALSE;
            continue;
        }
        CControlBar* pBar = GetValidBar(n);
        if (pBar == nullptr)
            continue;
        if (!pBar->IsVisible()) {
            pBar->RecalcDelayShow(&layout);
            continue;
        }
        const int nSplittersBefore = static_cast<int>(m_arrSplitters.GetSize());
        const CPoint ptBefore = pt;
        const BOOL bPendingBefore = bSplitterPending;
        const BOOL bWasFirstBar = bFirstBar;
        if (bFirstBar) {
            bFirstBar = FALSE;
            nRowStart = n;
            if (bSplitterBefore)
                bSplitterPending = RowHasSizeBar(n);
            if (bSplitterPending) {
                if (bHorz) {
                    AddSplitter(OX_SPLITTER_HORZ, pt.x, pt.y, pt.x, pt.y + OX_SPLITTER_SIZE, n);
                    pt.y += OX_SPLITTER_SIZE;
                } else {
                    AddSplitter(OX_SPLITTER_VERT, pt.x, pt.y, pt.x + OX_SPLITTER_SIZE, pt.y, n);
                    pt.x += OX_SPLITTER_SIZE;
                }
                bSplitterPending = FALSE;
            }
        }
        const BOOL bSizeable = IsSizeControlBar(pBar);
        if (bPrevSizeable && bSizeable) {
            if (bHorz)
                AddSplitter(OX_SPLITTER_VERT, pt.x, pt.y, pt.x + OX_SPLITTER_SIZE, pt.y, n);
            else
                AddSplitter(OX_SPLITTER_HORZ, pt.x, pt.y, pt.x, pt.y + OX_SPLITTER_SIZE, n);
            along(pt) += OX_SPLITTER_SIZE;
        }
        if (bSizeable)
            bSplitterPending = TRUE;

        const CSize sizeBar = CalcRowBarSize(pBar);
        CRect rect(pt, sizeBar);
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);
        const int nLength = bHorz ? sizeBar.cx : sizeBar.cy;
        const int nAlongPt = along(pt);
        int nAlong = nAlongPt;
        BOOL bWrapNow = FALSE, bFirstOfRow = bWasFirstBar;

        if (!bSizeable) {
            if (!bWrapped && !m_bFloating) {
                const int nAlongBar = bHorz ? rectBar.left : rectBar.top;
                // A bar the user placed further along stays there, unless
                // sizeable bars share the row.
                if (!bPrevSizeable && !RowHasSizeBar(nRowStart) && nAlongBar > nAlong)
                    nAlong = nAlongBar;
                if (nAlong + nLength > nMaxAlong)
                    nAlong = std::max(nMaxAlong - (nLength - nBorderAlong), nAlongPt);
            }
            if (bWrapped)
                nAlong = -nBorderAlong;
            else if (!m_bFloating && nAlong >= nMaxAlong - nBorderAlong && n > 0 &&
                     m_arrBars[n - 1] != nullptr)
                bWrapNow = TRUE;
            bFirstOfRow = FALSE; // wraps before itself, like the framework's bars
        } else if (bWrapped) {
            nAlong = -nBorderAlong;
        } else {
            const int nBarAlongStart = bHorz ? rectBar.left : rectBar.top;
            const int nBarAlongEnd = bHorz ? rectBar.right : rectBar.bottom;
            if (!(nAlongPt < nMaxAlong - nBorderAlong && nBarAlongEnd > nBarAlongStart &&
                  nBarAlongEnd > 0))
                bWrapNow = TRUE;
        }
        bWrapped = FALSE;

        if (bWrapNow) {
            if (bFirstOfRow) {
                // The rest of the row moves to a row of its own; both take
                // the whole length.
                if (n + 1 < m_arrBars.GetSize() && m_arrBars[n + 1] != nullptr) {
                    m_arrBars.InsertAt(n + 1, static_cast<void*>(nullptr));
                    DistributeRow(n + 2, nMaxAlong);
                }
                DistributeRow(n, nMaxAlong);
                bWrapped = TRUE;
                --n; // the same bar again, at the row start
            } else {
                // The bar begins the next row: what this pass made for it goes.
                while (m_arrSplitters.GetSize() > nSplittersBefore) {
                    INT_PTR nLast = m_arrSplitters.GetSize() - 1;
                    delete GetSplitter(static_cast<int>(nLast));
                    m_arrSplitters.RemoveAt(nLast);
                }
                pt = ptBefore;
                bSplitterPending = bPendingBefore;
                m_arrBars.InsertAt(n, static_cast<void*>(nullptr));
                if (bSizeable)
                    DistributeRow(n + 1, nMaxAlong);
                bWrapped = TRUE;
                --n; // the new row end, then the bar
            }
            continue;
        }

        rect.OffsetRect(bHorz ? nAlong - rect.left : 0, bHorz ? 0 : nAlong - rect.top);
        DeferBarMove(layout, pBar, rect, rectBar);
        StepPastBar(pt, nThickness, rect, sizeBar, bHorz);
        if (!m_bLayoutQuery && pBar->m_pDockContext != nullptr) {
            pBar->m_pDockContext->m_rectMRUDockPos = rect;
            pBar->m_pDockContext->m_uMRUDockID = nID;
        }
        pBar->RecalcDelayShow(&layout);
        bPrevSizeable = bSizeable;
        bRowHasBar = TRUE;
        bAnyLaidOut = TRUE;
    }

    if (bAnyLaidOut && bSplitterPending) {
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            AddSplitter(OX_SPLITTER_HORZ, pt.x, pt.y, pt.x, pt.y + OX_SPLITTER_SIZE, nLastRowEnd);
            size.cy += OX_SPLITTER_SIZE;
        } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
            AddSplitter(OX_SPLITTER_VERT, pt.x, pt.y, pt.x + OX_SPLITTER_SIZE, pt.y, nLastRowEnd);
            size.cx += OX_SPLITTER_SIZE - 1;
        }
    }
    if (!m_bLayoutQuery && (bDeferFailed || !::EndDeferWindowPos(layout.hDWP)))
        KWTRACE_ERROR(("COXSizeDockBar::CalcFixedLayout: DeferWindowPos failed - low system "
                       "resources\n"));

    // Row splitters span the whole dock bar.
    for (INT_PTR i = 0; i < m_arrSplitters.GetSize(); ++i) {
        COXSplitterRect* pSplitter = GetSplitter(static_cast<int>(i));
        if (bHorz && pSplitter->m_nSplitterType == OX_SPLITTER_HORZ)
            pSplitter->m_rectSplitter.right = size.cx;
        else if (!bHorz && pSplitter->m_nSplitterType == OX_SPLITTER_VERT)
            pSplitter->m_rectSplitter.bottom = size.cy;
    }

    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    if (!(bStretch && bHorz) && size.cx != 0)
        size.cx -= rectInside.Width();
    if (!(bStretch && !bHorz) && size.cy != 0)
        size.cy -= rectInside.Height();
    size.cy += GetTabStripHeight();
    return size;
}
