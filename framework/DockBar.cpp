// DockBar.cpp: CDockBar.
#include "DockBar.h"

#include "DockContext.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, &CDockBar::OnSizeParent)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Entries below this are place holders (control ids), not bars.
const UINT_PTR kFirstBarEntry = 0x10000;

// A bar's title is cut to this many characters when its dock bar takes it.
const int kMaxTitle = 260;

void* PlaceHolderOf(CControlBar* pBar) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(pBar->GetDlgCtrlID()));
}

} // namespace

CDockBar::CDockBar(BOOL bFloating)
    : m_bFloating(bFloating), m_bLayoutQuery(FALSE), m_rectLayout(0, 0, 0, 0),
      m_bAutoDelete(FALSE) {
    m_arrBars.Add(nullptr);
}

CDockBar::~CDockBar() {
    // Bars that outlive their dock bar must not come back to it.
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        if (CControlBar* pBar = GetDockedControlBar(nPos);
            pBar != nullptr && pBar->m_pDockBar == this)
            pBar->m_pDockBar = nullptr;
    }
}

void CDockBar::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    // Its bars paint their own caption and border: the dock bar's background
    // must not cover them.
    if (!CWnd::Create(nullptr, nullptr,
                      dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                      CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_bAutoDelete = TRUE;
    return TRUE;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {
    // A dock bar shows no commands; its bars get the update themselves.
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
    void* pEntry = m_arrBars[nPos];
    if (reinterpret_cast<UINT_PTR>(pEntry) < kFirstBarEntry)
        return nullptr;
    return static_cast<CControlBar*>(pEntry);
}

int CDockBar::GetDockedCount() const {
    int nCount = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos)
        nCount += GetDockedControlBar(nPos) != nullptr ? 1 : 0;
    return nCount;
}

int CDockBar::GetDockedVisibleCount() const {
    int nCount = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        nCount += pBar != nullptr && pBar->IsVisible() ? 1 : 0;
    }
    return nCount;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const {
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        if (nPos != nPosExclude && m_arrBars[nPos] == pBar)
            return nPos;
    }
    return -1;
}

// Removes the entry at nPos and, when that leaves its row empty, the row end.
static void RemoveEntry(CPtrArray& arrBars, int nPos) {
    arrBars.RemoveAt(nPos);
    if (nPos < arrBars.GetSize() && arrBars[nPos - 1] == nullptr && arrBars[nPos] == nullptr)
        arrBars.RemoveAt(nPos);
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar) {
    void* pPlaceHolder = PlaceHolderOf(pBar);
    if (pPlaceHolder == nullptr)
        return; // no window, no id: nothing can stand for it
    int nPos = FindBar(static_cast<CControlBar*>(pPlaceHolder));
    if (nPos > 0)
        RemoveEntry(m_arrBars, nPos);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE;
    if (pBar->m_pDockBar == this)
        pBar->m_pDockBar = nullptr;
    void* pPlaceHolder = PlaceHolderOf(pBar);
    if (nAddPlaceHolder == 1 && pPlaceHolder != nullptr) {
        m_arrBars[nPos] = pPlaceHolder;
        // One place per bar: an older place holder goes.
        int nOld = FindBar(static_cast<CControlBar*>(pPlaceHolder), nPos);
        if (nOld > 0)
            RemoveEntry(m_arrBars, nOld);
    } else {
        RemoveEntry(m_arrBars, nPos);
        if (nAddPlaceHolder == 0)
            RemovePlaceHolder(pBar);
    }
    if (m_hWnd != nullptr) {
        if (CFrameWnd* pFrame = GetDockingFrame())
            pFrame->DelayRecalcLayout();
    }
    return TRUE;
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid) {
    const AUX_DATA& aux = AfxGetAuxData();
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nAcross = bHorz ? ptMid.y : ptMid.x;
    int nInsertAfter = 0, nThickness = 0, nRowsEnd = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        if (m_arrBars[nPos] == nullptr) {
            // Rows overlap by the border, as the layout places them.
            nRowsEnd += nThickness - aux.cyBorder2;
            nThickness = 0;
            if (nAcross < nRowsEnd) {
                if (nPos == 0) // before the first row: a row of its own
                    m_arrBars.InsertAt(nInsertAfter + 1, static_cast<void*>(nullptr));
                m_arrBars.InsertAt(nInsertAfter + 1, pBarIns);
                return nInsertAfter + 1;
            }
            nInsertAfter = nPos;
            continue;
        }
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);
        nThickness = std::max(nThickness, bHorz ? rectBar.Height() : rectBar.Width() - 1);
        if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top)
            nInsertAfter = nPos;
    }
    // Beyond the last row: a new row at the end.
    m_arrBars.InsertAt(nInsertAfter + 1, static_cast<void*>(nullptr));
    m_arrBars.InsertAt(nInsertAfter + 1, pBarIns);
    return nInsertAfter + 1;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    ASSERT(pBar != nullptr && pBar->m_hWnd != nullptr);
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (lpRect == nullptr || rectBar == *lpRect))
        return; // already there

    // The bar takes this side, and floats exactly when this dock bar does.
    pBar->m_dwStyle &= ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    pBar->m_dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | (m_bFloating ? CBRS_FLOATING : 0);
    TakeTitleOf(pBar);

    if (pBar->GetParent() != this)
        pBar->SetParent(this);
    int nPosNew;
    if (lpRect != nullptr) {
        CRect rect(*lpRect);
        ScreenToClient(&rect);
        nPosNew = Insert(pBar, rect, rect.CenterPoint());
        ::SetWindowPos(pBar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    } else {
        nPosNew = AddRowAtEnd(pBar);
    }

    CDockBar* pOld = pBar->m_pDockBar;
    TakeBarFrom(pOld, pBar, nPosNew);
    RemovePlaceHolder(pBar);
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout();
    DestroyIfEmptyFloating(pOld);
}

void CDockBar::TakeTitleOf(CControlBar* pBar) {
    // Several bars in one floating frame have no single title to give it.
    if (m_dwStyle & CBRS_FLOAT_MULTI)
        return;
    char szTitle[kMaxTitle + 1] = "";
    pBar->GetWindowText(szTitle, static_cast<int>(sizeof(szTitle)));
    SetWindowText(szTitle);
}

int CDockBar::AddRowAtEnd(CControlBar* pBar) {
    const int nPos = static_cast<int>(m_arrBars.Add(pBar));
    m_arrBars.Add(nullptr);
    const AUX_DATA& aux = AfxGetAuxData();
    ::SetWindowPos(pBar->m_hWnd, nullptr, -aux.cxBorder2, -aux.cyBorder2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    return nPos;
}

void CDockBar::TakeBarFrom(CDockBar* pOld, CControlBar* pBar, int nPosNew) {
    if (pOld == this) {
        RemoveControlBar(pBar, nPosNew, -1);
    } else if (pOld != nullptr) {
        // Leaving the frame for a floating one keeps the place to come back to.
        pOld->RemoveControlBar(pBar, -1, m_bFloating && !pOld->m_bFloating ? 1 : 0);
    }
    pBar->m_pDockBar = this;
}

void CDockBar::DestroyIfEmptyFloating(CDockBar* pOld) {
    // A floating frame left empty has nothing more to show; it goes, and its
    // dock bar with it.
    if (pOld != nullptr && pOld != this && pOld->m_bFloating && pOld->GetDockedCount() == 0) {
        if (CWnd* pFloatingFrame = pOld->GetParent())
            pFloatingFrame->DestroyWindow();
    }
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    BOOL bQuerySaved = m_bLayoutQuery;
    m_rectLayout = pLayout->rect;
    m_bLayoutQuery = pLayout->hDWP == nullptr;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = bQuerySaved;
    return lResult;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (m_arrBars.GetSize() <= 1)
        return sizeFixed;

    const AUX_DATA& aux = AfxGetAuxData();
    CSize sizeMax = m_rectLayout.Size();
    if (m_rectLayout.IsRectEmpty()) {
        CRect rectParent;
        GetParent()->GetClientRect(&rectParent);
        sizeMax = rectParent.Size();
    }
    // Bars move (and show or hide) in one batch; a query moves nothing.
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP =
        m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
    const UINT nID = GetDlgCtrlID();

    CPoint pt(-aux.cxBorder2, -aux.cyBorder2);
    CSize size(0, 0);
    int nThickness = 0;
    bool bRowHasBar = false, bWrapped = false;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
        if (m_arrBars[nPos] == nullptr) {
            if (bRowHasBar) {
                if (bHorz) {
                    size.cx = std::max(size.cx, pt.x);
                    pt.y += nThickness - aux.cyBorder2;
                    pt.x = -aux.cxBorder2;
                } else {
                    size.cy = std::max(size.cy, pt.y);
                    pt.x += nThickness - aux.cxBorder2;
                    pt.y = -aux.cyBorder2;
                }
                size.cx = std::max(size.cx, pt.x);
                size.cy = std::max(size.cy, pt.y);
            }
            nThickness = 0;
            bRowHasBar = false;
            continue;
        }
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar == nullptr)
            continue; // a place holder
        if (pBar->IsVisible()) {
            const CSize sizeBar = CalcRowBarSize(pBar);
            CRect rect(pt, sizeBar);
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);

            // Along the row, as x of a horizontal dock bar or y of a vertical one.
            const int nAlongPt = bHorz ? pt.x : pt.y;
            const int nAlongBar = bHorz ? rectBar.left : rectBar.top;
            const int nLength = bHorz ? sizeBar.cx : sizeBar.cy;
            const int nBorder = bHorz ? aux.cxBorder2 : aux.cyBorder2;
            const int nMax = bHorz ? sizeMax.cx : sizeMax.cy;
            int nAlong = nAlongPt;
            if (!bWrapped && !m_bFloating) {
                // A bar the user placed further along stays there, but inside.
                if (nAlongBar > nAlong)
                    nAlong = nAlongBar;
                if (nAlong + nLength > nMax)
                    nAlong = std::max(nMax - (nLength - nBorder), nAlongPt);
            }
            bWrapped = false;
            if (!m_bFloating && nAlong >= nMax - nBorder && nPos > 0 &&
                m_arrBars[nPos - 1] != nullptr) {
                // No room left in this row: the bar begins the next one.
                m_arrBars.InsertAt(nPos, static_cast<void*>(nullptr));
                bWrapped = true;
                --nPos;
                continue;
            }
            rect.OffsetRect(bHorz ? nAlong - rect.left : 0, bHorz ? 0 : nAlong - rect.top);
            DeferBarMove(layout, pBar, rect, rectBar);
            // Only a frame's side is a docked place to come back to.
            if (!m_bLayoutQuery && !m_bFloating && pBar->m_pDockContext != nullptr) {
                pBar->m_pDockContext->m_rectMRUDockPos = rect;
                pBar->m_pDockContext->m_uMRUDockID = nID;
            }
            StepPastBar(pt, nThickness, rect, sizeBar, bHorz);
            bRowHasBar = true;
        }
        pBar->RecalcDelayShow(&layout);
    }
    if (layout.hDWP != nullptr && !::EndDeferWindowPos(layout.hDWP))
        TRACE("CDockBar::CalcFixedLayout: deferred window positions failed.\n");

    if (bStretch) {
        if (bHorz)
            size.cx = sizeFixed.cx;
        else
            size.cy = sizeFixed.cy;
    }
    // The dock bar's own borders come on top of its rows.
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    if (!(bStretch && bHorz) && size.cx != 0)
        size.cx += rectInside.left - rectInside.right;
    if (!(bStretch && !bHorz) && size.cy != 0)
        size.cy += rectInside.top - rectInside.bottom;
    return size;
}

CSize CDockBar::CalcRowBarSize(CControlBar* pBar) {
    DWORD nMode;
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
        nMode = LM_HORZ | LM_MRUWIDTH;
    else if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
        nMode = LM_HORZ | LM_HORZDOCK;
    else
        nMode = LM_VERTDOCK;
    return pBar->CalcDynamicLayout(-1, nMode);
}

void CDockBar::DeferBarMove(AFX_SIZEPARENTPARAMS& layout, CControlBar* pBar, const CRect& rect,
                            const CRect& rectBar) {
    if (rect != rectBar && layout.hDWP != nullptr)
        layout.hDWP = ::DeferWindowPos(layout.hDWP, pBar->m_hWnd, nullptr, rect.left, rect.top,
                                       rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDockBar::StepPastBar(CPoint& pt, int& nThickness, const CRect& rect, CSize sizeBar,
                           BOOL bHorz) {
    // Neighbours overlap by the border, as rows do.
    const AUX_DATA& aux = AfxGetAuxData();
    if (bHorz) {
        pt.x = rect.left + sizeBar.cx - aux.cxBorder2;
        nThickness = std::max(nThickness, static_cast<int>(sizeBar.cy));
    } else {
        pt.y = rect.top + sizeBar.cy - aux.cyBorder2;
        nThickness = std::max(nThickness, static_cast<int>(sizeBar.cx));
    }
}
