// OXSizeDockBarSplit.cpp: COXSizeDockBar's splitters: making them, the split
// cursors, and dragging one to share room between bars or to resize a row.
#include "OXSizeDockBar.h"

#include "OXRectTracker.h"
#include "OXSizeCtrlBar.h"

#include "framework/AfxResource.h"

#include <algorithm>

namespace {

// The application's own split cursors, when it ships them.
const UINT kIdcSplitWE = 30980;
const UINT kIdcSplitNS = 30981;

HCURSOR LoadSplitCursor(UINT nID, LPCSTR lpszSystemCursor) {
    HCURSOR hCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    return hCursor != nullptr ? hCursor : ::LoadCursorA(nullptr, lpszSystemCursor);
}

// Takes what is still owed (nRemain) from one bar's length, which goes down
// to 0 at the most; a growth (nRemain < 0) the bar takes all of. With bApply
// the length changes, else only nRemain. TRUE when nothing is owed any more.
BOOL TakeFromBar(LONG& nLength, int& nRemain, BOOL bApply) {
    if (nRemain < 0 || nLength >= nRemain) {
        if (bApply)
            nLength -= nRemain;
        nRemain = 0;
        return TRUE;
    }
    nRemain -= nLength;
    if (bApply)
        nLength = 0;
    return FALSE;
}

} // namespace

void COXSizeDockBar::AddSplitter(int nType, int left, int top, int right, int bottom,
                                 int nBarIndex) {
    auto* pSplitter = new COXSplitterRect(nType, CRect(left, top, right, bottom));
    pSplitter->m_nBarIndex = nBarIndex;
    m_arrSplitters.Add(pSplitter);
}

void COXSizeDockBar::DeleteSplitters() {
    for (INT_PTR i = m_arrSplitters.GetSize() - 1; i >= 0; --i)
        delete GetSplitter(static_cast<int>(i));
    m_arrSplitters.RemoveAll();
}

void COXSizeDockBar::SetSplitterLengths(int nFirst, int nType, int nValue) {
    for (INT_PTR i = m_arrSplitters.GetSize() - 1; i >= nFirst; --i) {
        COXSplitterRect* pSplitter = GetSplitter(static_cast<int>(i));
        if (pSplitter->m_nSplitterType != nType)
            continue;
        if (nType == OX_SPLITTER_VERT)
            pSplitter->m_rectSplitter.bottom = nValue;
        else
            pSplitter->m_rectSplitter.right = nValue;
    }
}

COXSplitterRect* COXSizeDockBar::GetSplitter(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_arrSplitters.GetSize())
        return nullptr;
    return static_cast<COXSplitterRect*>(m_arrSplitters[nIndex]);
}

COXSplitterRect* COXSizeDockBar::HitTestSplitter(CPoint ptClient) const {
    for (INT_PTR i = m_arrSplitters.GetSize() - 1; i >= 0; --i) {
        COXSplitterRect* pSplitter = GetSplitter(static_cast<int>(i));
        if (pSplitter->m_rectSplitter.PtInRect(ptClient))
            return pSplitter;
    }
    return nullptr;
}

COXSplitterRect* COXSizeDockBar::SetSplitterCursor(CPoint ptClient) {
    if (m_hcurSizeWE == nullptr)
        m_hcurSizeWE = LoadSplitCursor(kIdcSplitWE, MAKEINTRESOURCEA(32644)); // IDC_SIZEWE
    if (m_hcurSizeNS == nullptr)
        m_hcurSizeNS = LoadSplitCursor(kIdcSplitNS, MAKEINTRESOURCEA(32645)); // IDC_SIZENS
    COXSplitterRect* pSplitter = HitTestSplitter(ptClient);
    if (pSplitter == nullptr)
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // IDC_ARROW
    else
        ::SetCursor(pSplitter->m_nSplitterType == OX_SPLITTER_VERT ? m_hcurSizeWE : m_hcurSizeNS);
    return pSplitter;
}

int COXSizeDockBar::FindRowStartBefore(int nIndex) const {
    return nIndex == m_arrBars.GetSize() - 1 ? FindRowStart(nIndex) : FindRowStart(nIndex - 1);
}

int COXSizeDockBar::ShrinkBarsAfter(int nIndex, int nAmount, BOOL bApply, int* pnCount) {
    const COXDockAxis axis(IsHorizontal());
    int nRemain = nAmount, nCount = 0;
    CControlBar* pLast = nullptr;
    for (int n = std::max(nIndex, 0); n < m_arrBars.GetSize() && m_arrBars[n] != nullptr; ++n) {
        CControlBar* pBar = GetValidBar(n);
        if (pBar == nullptr)
            continue;
        pLast = pBar;
        if (!pBar->IsVisible() || !IsSizeControlBar(pBar))
            continue;
        ++nCount;
        CSize& sizeDock = axis.DockedSize(static_cast<COXSizeControlBar*>(pBar));
        if (TakeFromBar(axis.Along(sizeDock), nRemain, bApply))
            break;
    }
    if (nRemain > 0 && pLast != nullptr) {
        // Beyond the last bar the row may have room of its own.
        CRect rect;
        pLast->GetWindowRect(&rect);
        ScreenToClient(&rect);
        const int nFree = axis.Along(m_sizeAvail) - axis.End(rect);
        nRemain -= std::clamp(nFree, 0, nRemain);
    }
    if (pnCount != nullptr)
        *pnCount = nCount;
    return nAmount - nRemain;
}

int COXSizeDockBar::ShrinkBarsBefore(int nIndex, int nAmount, BOOL bApply, int* pnCount) {
    const COXDockAxis axis(IsHorizontal());
    int nRemain = nAmount, nCount = 0;
    for (int n = std::min(nIndex, static_cast<int>(m_arrBars.GetSize()) - 1);
         n >= 0 && m_arrBars[n] != nullptr; --n) {
        CControlBar* pBar = GetValidBar(n);
        if (pBar == nullptr || !pBar->IsVisible() || !IsSizeControlBar(pBar))
            continue;
        ++nCount;
        CSize& sizeDock = axis.DockedSize(static_cast<COXSizeControlBar*>(pBar));
        if (TakeFromBar(axis.Along(sizeDock), nRemain, bApply))
            break;
    }
    if (pnCount != nullptr)
        *pnCount = nCount;
    return nAmount - nRemain;
}

void COXSizeDockBar::TrackSplitter(CPoint ptClient) {
    if (m_pTrackSplitter == nullptr)
        return;
    // A layout during the drag remakes the splitters: work on a copy.
    const CRect rectSplitter = m_pTrackSplitter->m_rectSplitter;
    const int nType = m_pTrackSplitter->m_nSplitterType;
    int nIndex = m_pTrackSplitter->m_nBarIndex;
    const COXDockAxis axis(IsHorizontal());
    const BOOL bRowSplitter = nType == axis.RowSplitterType();

    COXRectTracker tracker;
    CRect rect = rectSplitter;
    if (nType == OX_SPLITTER_VERT)
        rect.DeflateRect(2, 0);
    else
        rect.DeflateRect(0, 2);
    rect.IntersectRect(&rect, CRect(0, 0, m_sizeAvail.cx, m_sizeAvail.cy));
    tracker.m_rect = rect;
    tracker.m_nStyle =
        nType == OX_SPLITTER_VERT ? COXRectTracker::horzOnly : COXRectTracker::vertOnly;

    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == nullptr)
        return;
    CRect rectBounds;
    pFrame->GetClientRect(&rectBounds);
    pFrame->ClientToScreen(&rectBounds);
    ScreenToClient(&rectBounds);

    SRowMetrics metrics = {};
    if (bRowSplitter) {
        if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP))
            nIndex = FindRowStartBefore(nIndex);
        GetRowMetrics(metrics, nIndex);
        const int T = metrics.nThickness, F = metrics.nFixedThickness;
        const int H = metrics.nMinTrackHeight, W = metrics.nMinTrackWidth;
        const int nTop = rectSplitter.top, nLeft = rectSplitter.left;
        if (m_dwStyle & CBRS_ALIGN_TOP) {
            rectBounds.top = std::max(static_cast<int>(rectBounds.top), nTop - (T - F));
            if (H > 0)
                rectBounds.top = std::max(static_cast<int>(rectBounds.top), nTop - T + H);
        } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
            rectBounds.bottom = std::min(static_cast<int>(rectBounds.bottom), nTop + (T - F));
            if (H > 0)
                rectBounds.bottom = std::min(static_cast<int>(rectBounds.bottom), nTop + T - H);
        } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
            rectBounds.left = std::max(static_cast<int>(rectBounds.left), nLeft - (T - F));
            if (W > 0)
                rectBounds.left = std::max(static_cast<int>(rectBounds.left), nLeft - T + W);
        } else {
            rectBounds.right = std::min(static_cast<int>(rectBounds.right), nLeft + (T - F));
            if (W > 0)
                rectBounds.right = std::min(static_cast<int>(rectBounds.right), nLeft + T - W);
        }
    } else {
        int nCountAfter = 0, nCountBefore = 0;
        int nAfter = ShrinkBarsAfter(nIndex, 16000, FALSE, &nCountAfter);
        int nBefore = ShrinkBarsBefore(nIndex - 1, 16000, FALSE, &nCountBefore);
        if (nCountAfter + nCountBefore <= 1)
            nAfter = nBefore = 0;
        const int nSplitter = axis.Start(rectSplitter);
        axis.Start(rectBounds) =
            std::max(axis.Start(rectBounds), static_cast<LONG>(nSplitter - nBefore));
        axis.End(rectBounds) =
            std::min(axis.End(rectBounds), static_cast<LONG>(nSplitter + nAfter));
    }
    tracker.m_rectLimit = rectBounds;
    if (!tracker.Track(HTCAPTION, this, ptClient, pFrame, FALSE))
        return;

    int nMove = nType == OX_SPLITTER_VERT ? tracker.m_rect.left - tracker.m_rectStart.left
                                          : tracker.m_rect.top - tracker.m_rectStart.top;
    if (nMove == 0)
        return;
    if (bRowSplitter) {
        // Dragging away from the pane makes a row on the left or top thinner.
        if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP))
            nMove = -nMove;
        const int nThickness = std::max(metrics.nFixedThickness, metrics.nThickness - nMove);
        for (int n = nIndex; n < m_arrBars.GetSize() && m_arrBars[n] != nullptr; ++n) {
            CControlBar* pBar = GetValidBar(n);
            if (pBar == nullptr || !pBar->IsVisible() || !IsSizeControlBar(pBar))
                continue;
            axis.Across(axis.DockedSize(static_cast<COXSizeControlBar*>(pBar))) = nThickness;
        }
    } else if (nMove < 0) {
        const int nGiven = ShrinkBarsBefore(nIndex - 1, -nMove, TRUE);
        ShrinkBarsAfter(nIndex, -nGiven, TRUE);
    } else {
        const int nGiven = ShrinkBarsAfter(nIndex, nMove, TRUE);
        ShrinkBarsBefore(nIndex - 1, -nGiven, TRUE);
    }
    Invalidate(TRUE);
    pFrame->RecalcLayout(TRUE);
}
