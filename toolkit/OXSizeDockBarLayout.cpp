// OXSizeDockBarLayout.cpp: COXSizeDockBar::CalcFixedLayout, the row layout
// with splitters, the wrapping of sizeable bars and the tab strip.
//
// The layout walks the bar array once. A bar that no longer fits its row
// breaks it: a row end is inserted into the array and the walk goes on from
// it, so the array it leaves behind holds the rows as laid out.
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

// The trailing row splitter of a left dock bar overlaps its border by a pixel,
// so the dock bar grows by one less than the splitter.
const int kLeftSplitterOverlap = 1;

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

// What CalcFixedLayout carries from one entry of the bar array to the next.
struct COXSizeDockBar::SLayoutPass {
    explicit SLayoutPass(BOOL bHorz) : axis(bHorz) {}

    COXDockAxis axis;
    AFX_SIZEPARENTPARAMS layout = {}; // the batch of moves; no handle for a query
    BOOL bDeferFailed = FALSE;
    int nMaxAlong = 0; // the room a row may take
    // Row splitters stand before the rows on a right or bottom dock bar (the
    // side facing the pane), after them on a left or top one.
    BOOL bRowSplitterBefore = FALSE;
    CPoint pt;  // where the next bar goes
    CSize size; // extent of the rows so far
    int nThickness = 0;
    int nRowStart = 0;             // index of the current row's first visible bar
    int nRowFirstSplitter = 0;     // the first splitter made for the current row
    int nLastRowEnd = -1;          // the last row end that closed a row with bars
    BOOL bRowStarted = FALSE;      // the current row has met its first visible bar
    BOOL bRowHasBar = FALSE;       // ... and placed one
    BOOL bPrevSizeable = FALSE;    // the bar placed last in the row is sizeable
    BOOL bSplitterPending = FALSE; // a row splitter is owed
    BOOL bWrapped = FALSE;         // the bar at hand begins a row that a wrap made
    BOOL bAnyLaidOut = FALSE;
};

CSize COXSizeDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (m_arrBars.GetSize() <= 1) {
        // The last bar has gone: its splitters must not stay to be hit.
        DeleteSplitters();
        return size;
    }

    SLayoutPass pass(bHorz);
    if (!m_bLayoutQuery) {
        pass.layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
        pass.bDeferFailed = pass.layout.hDWP == nullptr;
    }
    pass.nMaxAlong = pass.axis.Along(CalcMaxSize());
    pass.bRowSplitterBefore = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
    pass.pt = CPoint(-AfxGetAuxData().cxBorder2, -AfxGetAuxData().cyBorder2);
    pass.size = size;
    DeleteSplitters();

    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        if (m_arrBars[n] == nullptr) {
            EndRow(pass, n);
            continue;
        }
        CControlBar* pBar = GetValidBar(n);
        if (pBar == nullptr)
            continue;
        if (!pBar->IsVisible()) {
            pBar->RecalcDelayShow(&pass.layout);
            continue;
        }
        // What this step makes for the bar, undone when it wraps before itself.
        const int nSplittersBefore = static_cast<int>(m_arrSplitters.GetSize());
        const CPoint ptBefore = pass.pt;
        const BOOL bPendingBefore = pass.bSplitterPending;
        const BOOL bFirstInRow = !pass.bRowStarted;
        if (bFirstInRow)
            StartRow(pass, n);
        const BOOL bSizeable = IsSizeControlBar(pBar);
        if (pass.bPrevSizeable && bSizeable) {
            AddSplitterFrom(pass.axis.InRowSplitterType(), pass.pt,
                            pass.axis.Size(OX_SPLITTER_SIZE, 0), n);
            pass.axis.Along(pass.pt) += OX_SPLITTER_SIZE;
        }
        if (bSizeable)
            pass.bSplitterPending = TRUE;

        const CSize sizeBar = CalcRowBarSize(pBar);
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);
        BOOL bWrap = FALSE;
        const int nAlong =
            FindBarAlong(pass, n, bSizeable, pass.axis.Along(sizeBar), rectBar, bWrap);
        pass.bWrapped = FALSE;
        if (bWrap) {
            // A fixed bar always wraps before itself, like the framework's bars.
            if (bSizeable && bFirstInRow) {
                GiveBarItsOwnRow(pass, n);
            } else {
                DeleteSplittersFrom(nSplittersBefore);
                pass.pt = ptBefore;
                pass.bSplitterPending = bPendingBefore;
                BreakRowBefore(pass, n, bSizeable);
            }
            pass.bWrapped = TRUE;
            --n; // on from the bar again, or from the new row end before it
            continue;
        }
        CRect rect(pass.pt, sizeBar);
        pass.axis.MoveAlongTo(rect, nAlong);
        PlaceBar(pass, pBar, rect, rectBar, sizeBar);
        pass.bPrevSizeable = bSizeable;
    }

    if (pass.bAnyLaidOut && pass.bSplitterPending)
        AddTrailingRowSplitter(pass);
    if (!m_bLayoutQuery && (pass.bDeferFailed || !::EndDeferWindowPos(pass.layout.hDWP)))
        KWTRACE_ERROR(("COXSizeDockBar::CalcFixedLayout: DeferWindowPos failed - low system "
                       "resources\n"));
    StretchRowSplitters(pass);

    size = pass.size;
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    if (!(bStretch && bHorz) && size.cx != 0)
        size.cx -= rectInside.Width();
    if (!(bStretch && !bHorz) && size.cy != 0)
        size.cy -= rectInside.Height();
    size.cy += GetTabStripHeight();
    return size;
}

void COXSizeDockBar::EndRow(SLayoutPass& pass, int n) {
    if (pass.bRowHasBar) {
        pass.axis.Across(pass.pt) += pass.nThickness - pass.axis.BorderAcross();
        pass.size.cx = std::max(pass.size.cx, pass.pt.x);
        pass.size.cy = std::max(pass.size.cy, pass.pt.y);
        pass.axis.Along(pass.pt) = -pass.axis.BorderAlong();
        // The splitters between the row's bars reach down to the next row.
        SetSplitterLengths(pass.nRowFirstSplitter, pass.axis.InRowSplitterType(),
                           pass.axis.Across(pass.pt));
        pass.nLastRowEnd = n;
    }
    pass.nRowFirstSplitter = static_cast<int>(m_arrSplitters.GetSize());
    pass.nThickness = 0;
    pass.bPrevSizeable = FALSE;
    pass.bRowStarted = FALSE;
    pass.bRowHasBar = FALSE;
}

void COXSizeDockBar::StartRow(SLayoutPass& pass, int n) {
    pass.bRowStarted = TRUE;
    pass.nRowStart = n;
    if (pass.bRowSplitterBefore)
        pass.bSplitterPending = RowHasSizeBar(n);
    // On a left or top dock bar the splitter owed is the previous row's.
    if (!pass.bSplitterPending)
        return;
    AddSplitterFrom(pass.axis.RowSplitterType(), pass.pt, pass.axis.Size(0, OX_SPLITTER_SIZE), n);
    pass.axis.Across(pass.pt) += OX_SPLITTER_SIZE;
    pass.bSplitterPending = FALSE;
}

int COXSizeDockBar::FindBarAlong(const SLayoutPass& pass, int n, BOOL bSizeable, int nLength,
                                 const CRect& rectBar, BOOL& bWrap) const {
    const COXDockAxis& axis = pass.axis;
    const int nRowStartAlong = -axis.BorderAlong();
    const int nAlongPt = axis.Along(pass.pt);
    const int nLastStart = pass.nMaxAlong - axis.BorderAlong(); // beyond it nothing shows
    bWrap = FALSE;
    if (pass.bWrapped)
        return nRowStartAlong;
    if (bSizeable) {
        // A sizeable bar with an empty window, or none left of it in the
        // dock bar, or no room left, begins a row.
        const BOOL bHasLength = axis.End(rectBar) > axis.Start(rectBar) && axis.End(rectBar) > 0;
        bWrap = !(nAlongPt < nLastStart && bHasLength);
        return nAlongPt;
    }
    if (m_bFloating)
        return nAlongPt;
    int nAlong = nAlongPt;
    // A bar the user placed further along stays there, unless sizeable bars
    // share the row; it is pulled back to end inside the dock bar.
    if (!pass.bPrevSizeable && !RowHasSizeBar(pass.nRowStart) && axis.Start(rectBar) > nAlong)
        nAlong = axis.Start(rectBar);
    if (nAlong + nLength > pass.nMaxAlong)
        nAlong = std::max(pass.nMaxAlong - (nLength - axis.BorderAlong()), nAlongPt);
    bWrap = nAlong >= nLastStart && n > 0 && m_arrBars[n - 1] != nullptr;
    return nAlong;
}

void COXSizeDockBar::GiveBarItsOwnRow(const SLayoutPass& pass, int n) {
    if (n + 1 < m_arrBars.GetSize() && m_arrBars[n + 1] != nullptr) {
        m_arrBars.InsertAt(n + 1, static_cast<void*>(nullptr));
        DistributeRow(n + 2, pass.nMaxAlong);
    }
    DistributeRow(n, pass.nMaxAlong);
}

void COXSizeDockBar::BreakRowBefore(const SLayoutPass& pass, int n, BOOL bSizeable) {
    m_arrBars.InsertAt(n, static_cast<void*>(nullptr));
    if (bSizeable)
        DistributeRow(n + 1, pass.nMaxAlong);
}

void COXSizeDockBar::PlaceBar(SLayoutPass& pass, CControlBar* pBar, const CRect& rect,
                              const CRect& rectBar, CSize sizeBar) {
    DeferBarMove(pass.layout, pBar, rect, rectBar);
    StepPastBar(pass.pt, pass.nThickness, rect, sizeBar, pass.axis.IsHorz());
    if (!m_bLayoutQuery && pBar->m_pDockContext != nullptr) {
        pBar->m_pDockContext->m_rectMRUDockPos = rect;
        pBar->m_pDockContext->m_uMRUDockID = GetDlgCtrlID();
    }
    pBar->RecalcDelayShow(&pass.layout);
    pass.bRowHasBar = TRUE;
    pass.bAnyLaidOut = TRUE;
}

void COXSizeDockBar::AddTrailingRowSplitter(SLayoutPass& pass) {
    if ((m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) == 0)
        return;
    AddSplitterFrom(pass.axis.RowSplitterType(), pass.pt, pass.axis.Size(0, OX_SPLITTER_SIZE),
                    pass.nLastRowEnd);
    pass.axis.Across(pass.size) +=
        OX_SPLITTER_SIZE - ((m_dwStyle & CBRS_ALIGN_TOP) ? 0 : kLeftSplitterOverlap);
}

void COXSizeDockBar::StretchRowSplitters(const SLayoutPass& pass) {
    for (INT_PTR i = 0; i < m_arrSplitters.GetSize(); ++i) {
        COXSplitterRect* pSplitter = GetSplitter(static_cast<int>(i));
        if (pSplitter->m_nSplitterType == pass.axis.RowSplitterType())
            pass.axis.End(pSplitter->m_rectSplitter) = pass.axis.Along(pass.size);
    }
}

void COXSizeDockBar::AddSplitterFrom(int nType, CPoint pt, CSize sizeStrip, int nBarIndex) {
    AddSplitter(nType, pt.x, pt.y, pt.x + sizeStrip.cx, pt.y + sizeStrip.cy, nBarIndex);
}

void COXSizeDockBar::DeleteSplittersFrom(int nKeep) {
    while (m_arrSplitters.GetSize() > nKeep) {
        const INT_PTR nLast = m_arrSplitters.GetSize() - 1;
        delete GetSplitter(static_cast<int>(nLast));
        m_arrSplitters.RemoveAt(nLast);
    }
}
