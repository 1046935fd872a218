// OXSizeDockBar.cpp: COXSizeDockBar's construction, messages, queries and the
// sharing of row lengths among sizeable bars.
#include "OXSizeDockBar.h"

#include "OXCoolToolBar.h"
#include "OXDockbarSkin.h"
#include "OXSizeCtrlBar.h"
#include "OXSkinnedApp.h"
#include "OXSkins.h"

#include "framework/Dc.h"
#include "framework/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COXSizeDockBar, CDockBar)

// clang-format off
BEGIN_MESSAGE_MAP(COXSizeDockBar, CDockBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_SIZEPARENT, &COXSizeDockBar::OnSizeParent)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Entries below this are place holders (control ids), not bars.
const UINT_PTR kFirstBarEntry = 0x10000;

// On a vertical dock bar bars count as at one place when their left edges lie
// closer than this; on a horizontal one only equal edges do.
const int kSamePlaceSlack = 5;

// The window rectangle of a bar, in screen coordinates.
CRect BarWindowRect(CControlBar* pBar) {
    CRect rect;
    pBar->GetWindowRect(&rect);
    return rect;
}

} // namespace

COXSizeDockBar::COXSizeDockBar()
    : CDockBar(FALSE), m_pTrackSplitter(nullptr), m_hcurSizeNS(nullptr), m_hcurSizeWE(nullptr),
      m_sizeAvail(65535, 65535), m_wndTabs(this), m_pOwnDockbarSkin(nullptr),
      m_nLayoutSignature(0) {}

COXSizeDockBar::~COXSizeDockBar() {
    DeleteSplitters();
    delete m_pOwnDockbarSkin;
}

int COXSizeDockBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CDockBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_wndTabs.Create(WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER | TCS_BOTTOM, CRect(0, 0, 0, 0),
                          this, OX_IDC_DOCKTABS))
        return -1;
    return 0;
}

COXDockbarSkin* COXSizeDockBar::GetDockbarSkin() {
    return OXGetElementSkin<COXDockbarSkinClassic>(&COXSkin::GetDockbarSkin, m_pOwnDockbarSkin);
}

int COXSizeDockBar::GetTabStripHeight() const {
    return m_wndTabs.m_hWnd != nullptr && m_wndTabs.GetItemCount() > 0 ? OX_TABSTRIP_HEIGHT : 0;
}

void COXSizeDockBar::PositionTabCtrl() {
    if (m_wndTabs.m_hWnd == nullptr)
        return;
    CRect rect;
    GetClientRect(&rect);
    rect.top = rect.bottom - GetTabStripHeight();
    m_wndTabs.MoveWindow(&rect);
}

// ---- Messages.

void COXSizeDockBar::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/) {
    Default();
    PositionTabCtrl();
}

BOOL COXSizeDockBar::OnEraseBkgnd(CDC* pDC) {
    GetDockbarSkin()->DrawDockBarBackground(pDC, this);
    return FALSE;
}

void COXSizeDockBar::OnPaint() {
    CPaintDC dc(this);
    COXDockbarSkin* pSkin = GetDockbarSkin();
    for (INT_PTR i = m_arrSplitters.GetSize() - 1; i >= 0; --i)
        pSkin->DrawSplitter(&dc, GetSplitter(static_cast<int>(i)), this);
}

void COXSizeDockBar::OnNcPaint() {
    Default();
    GetDockbarSkin()->DrawDockBarNonClient(this);
}

BOOL COXSizeDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT /*message*/) {
    // Over the client area the cursor follows the splitters (OnMouseMove).
    if (nHitTest == HTCLIENT && pWnd == this)
        return TRUE;
    return static_cast<BOOL>(Default());
}

void COXSizeDockBar::OnMouseMove(UINT /*nFlags*/, CPoint point) {
    SetSplitterCursor(point);
    Default();
}

void COXSizeDockBar::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    if (m_pTrackSplitter != nullptr)
        return;
    m_pTrackSplitter = SetSplitterCursor(point);
    if (m_pTrackSplitter != nullptr) {
        TrackSplitter(point);
        m_pTrackSplitter = nullptr;
    }
}

void COXSizeDockBar::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
    Default();
}

LRESULT COXSizeDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    const COXDockAxis axis(IsHorizontal());
    CSize sizeAvail = CRect(pLayout->rect).Size();
    sizeAvail.cy -= GetTabStripHeight();
    const int nLength = axis.Along(sizeAvail);
    const BOOL bLengthChanged = nLength != axis.Along(m_sizeAvail);
    m_sizeAvail = sizeAvail;

    // Bars shown again since the last layout keep their length; the others
    // of their row make room for them.
    for (int nStart = 1; nStart < m_arrBars.GetSize(); ++nStart) {
        CPtrArray arrOthers;
        int nShownLength = 0;
        BOOL bShown = FALSE;
        int nEnd = nStart;
        for (; nEnd < m_arrBars.GetSize() && m_arrBars[nEnd] != nullptr; ++nEnd) {
            CControlBar* pBar = GetValidBar(nEnd);
            if (pBar == nullptr || !pBar->IsVisible())
                continue;
            BOOL bWasHidden = FALSE;
            for (INT_PTR i = 0; i < m_arrHiddenBars.GetSize() && !bWasHidden; ++i)
                bWasHidden = m_arrHiddenBars[i] == pBar;
            if (bWasHidden) {
                nShownLength += std::max(0, axis.Length(BarWindowRect(pBar)));
                bShown = TRUE;
            } else {
                arrOthers.Add(pBar);
            }
        }
        if (bShown && arrOthers.GetSize() > 0) {
            SRowMetrics metrics;
            GetRowMetrics(metrics, nStart);
            arrOthers.Add(nullptr);
            DistributeRow(0, std::max(0, metrics.nTotal - nShownLength), &arrOthers);
        }
        nStart = nEnd;
    }

    m_arrHiddenBars.RemoveAll();
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pBar = GetValidBar(n);
        if (pBar != nullptr && !pBar->IsVisible())
            m_arrHiddenBars.Add(pBar);
    }

    const int nSignature = GetLayoutSignature();
    if (bLengthChanged || nSignature != m_nLayoutSignature) {
        DistributeAllRows(nLength);
        m_nLayoutSignature = nSignature;
        for (INT_PTR i = 0; i < m_arrSplitters.GetSize(); ++i)
            InvalidateRect(&GetSplitter(static_cast<int>(i))->m_rectSplitter);
    }
    // The framework's handling sets the layout-query flag for its duration.
    return CDockBar::OnSizeParent(wParam, lParam);
}

// ---- Queries.

CControlBar* COXSizeDockBar::GetValidBar(int nIndex, const CPtrArray* pArrBars) const {
    const CPtrArray& arrBars = pArrBars != nullptr ? *pArrBars : m_arrBars;
    if (nIndex < 0 || nIndex >= arrBars.GetSize())
        return nullptr;
    void* pEntry = arrBars[nIndex];
    if (reinterpret_cast<UINT_PTR>(pEntry) < kFirstBarEntry)
        return nullptr;
    auto* pBar = static_cast<CControlBar*>(pEntry);
    return pBar->m_hWnd != nullptr && ::IsWindow(pBar->m_hWnd) ? pBar : nullptr;
}

int COXSizeDockBar::CountOtherBarsInRow(CControlBar* pBar, const CRect& rectScreen) {
    const int nRowEnd = FindRowByRect(rectScreen);
    if (nRowEnd == 0 || nRowEnd >= m_arrBars.GetSize())
        return 0;
    int nCount = 0;
    for (int n = FindRowStart(nRowEnd); n < nRowEnd; ++n) {
        CControlBar* pOther = GetValidBar(n);
        nCount += pOther != nullptr && pOther != pBar ? 1 : 0;
    }
    return nCount;
}

int COXSizeDockBar::CountBarsAtSamePlace(CControlBar* pBar) {
    const CRect rectBar = BarWindowRect(pBar);
    const int nSlack = IsHorizontal() ? 1 : kSamePlaceSlack;
    int nCount = 1;
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther == nullptr || pOther == pBar || !pOther->IsVisible() ||
            !IsSizeControlBar(pOther))
            continue;
        const int nDistance = std::abs(static_cast<int>(BarWindowRect(pOther).left - rectBar.left));
        if (nDistance < nSlack)
            ++nCount;
    }
    return nCount;
}

int COXSizeDockBar::CountOtherSizeBars(CControlBar* pBar) {
    int nCount = 0;
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        nCount += pOther != nullptr && pOther != pBar && IsSizeControlBar(pOther) ? 1 : 0;
    }
    return nCount;
}

COXSizeControlBar* COXSizeDockBar::FindOtherSizeBar(CControlBar* pBar) {
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther != nullptr && pOther != pBar && IsSizeControlBar(pOther))
            return static_cast<COXSizeControlBar*>(pOther);
    }
    return nullptr;
}

COXCoolToolBar* COXSizeDockBar::FindOtherCoolToolBar(CControlBar* pBar) {
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        CControlBar* pOther = GetValidBar(n);
        if (pOther != nullptr && pOther != pBar) {
            if (auto* pCoolBar = DYNAMIC_DOWNCAST(COXCoolToolBar, pOther))
                return pCoolBar;
        }
    }
    return nullptr;
}

CControlBar* COXSizeDockBar::GetFirstDockedBar() const {
    return m_arrBars.GetSize() < 2 ? nullptr : GetValidBar(1);
}

int COXSizeDockBar::FindRowByRect(const CRect& rectScreen) {
    CPoint ptCentre = rectScreen.CenterPoint();
    ScreenToClient(&ptCentre);
    const COXDockAxis axis(IsHorizontal());
    const int nAcross = axis.Across(ptCentre);
    const int nOverlap = AfxGetAuxData().cyBorder2;
    int nThickness = 0, nRowsEnd = 0;
    int n = 0;
    for (; n < m_arrBars.GetSize(); ++n) {
        if (m_arrBars[n] == nullptr) {
            nRowsEnd += nThickness - nOverlap;
            if (nAcross < nRowsEnd)
                return n;
            nThickness = 0;
            continue;
        }
        CControlBar* pBar = GetValidBar(n);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        // A column is measured one pixel thinner than its bars, as
        // CDockBar::Insert measures it, so that both find the same row.
        const int nBarThickness = axis.Thickness(BarWindowRect(pBar)) - (axis.IsHorz() ? 0 : 1);
        nThickness = std::max(nThickness, nBarThickness);
    }
    return n;
}

int COXSizeDockBar::FindRowStart(int nIndex) const {
    if (nIndex <= 0)
        return 0;
    nIndex = std::min(nIndex, static_cast<int>(m_arrBars.GetSize()) - 1);
    if (m_arrBars[nIndex] == nullptr)
        --nIndex;
    while (nIndex > 0 && m_arrBars[nIndex] != nullptr)
        --nIndex;
    return nIndex + 1;
}

BOOL COXSizeDockBar::RowHasSizeBar(int nStart) const {
    for (int n = nStart; n < m_arrBars.GetSize() && m_arrBars[n] != nullptr; ++n) {
        CControlBar* pBar = GetValidBar(n);
        if (pBar != nullptr && pBar->IsVisible() && IsSizeControlBar(pBar))
            return TRUE;
    }
    return FALSE;
}

// ---- Row metrics and distribution.

void COXSizeDockBar::GetRowMetrics(SRowMetrics& metrics, int nStart, const CPtrArray* pArrBars) {
    metrics = SRowMetrics{};
    const CPtrArray& arrBars = pArrBars != nullptr ? *pArrBars : m_arrBars;
    const COXDockAxis axis(IsHorizontal());
    BOOL bPrevSizeable = FALSE;
    for (int n = nStart; n < arrBars.GetSize() && arrBars[n] != nullptr; ++n) {
        CControlBar* pBar = GetValidBar(n, &arrBars);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        const CRect rect = BarWindowRect(pBar);
        const int nAlong = std::max(0, axis.Length(rect));
        const int nAcross = std::max(0, axis.Thickness(rect));
        const BOOL bSizeable = IsSizeControlBar(pBar);
        if (bSizeable) {
            metrics.nSizeableLength += nAlong;
            ++metrics.nSizeableCount;
            if (bPrevSizeable)
                metrics.nFixedLength += OX_SPLITTER_SIZE;
        } else {
            metrics.nFixedLength += nAlong;
            metrics.nFixedThickness = std::max(metrics.nFixedThickness, nAcross);
        }
        metrics.nThickness = std::max(metrics.nThickness, nAcross);
        ++metrics.nBarCount;
        MINMAXINFO info = {};
        pBar->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        metrics.nMinTrackHeight =
            std::max(metrics.nMinTrackHeight, static_cast<int>(info.ptMinTrackSize.y));
        metrics.nMinTrackWidth =
            std::max(metrics.nMinTrackWidth, static_cast<int>(info.ptMinTrackSize.x));
        bPrevSizeable = bSizeable;
    }
    metrics.nTotal = metrics.nFixedLength + metrics.nSizeableLength;
}

BOOL COXSizeDockBar::DistributeRow(int nStart, int nLength, CPtrArray* pArrBars) {
    SRowMetrics metrics;
    GetRowMetrics(metrics, nStart, pArrBars);
    if (metrics.nSizeableCount == 0)
        return FALSE;
    const CPtrArray& arrBars = pArrBars != nullptr ? *pArrBars : m_arrBars;
    const COXDockAxis axis(IsHorizontal());
    // Neighbours overlap by the border, so the bars together may be that much longer.
    const int nShare = nLength + axis.BorderAlong() * metrics.nBarCount - metrics.nFixedLength;
    int nLeft = nShare;
    int nSizeableSeen = 0;
    for (int n = nStart; n < arrBars.GetSize() && arrBars[n] != nullptr; ++n) {
        CControlBar* pBar = GetValidBar(n, &arrBars);
        if (pBar == nullptr || !pBar->IsVisible() || !IsSizeControlBar(pBar))
            continue;
        auto* pSizeBar = static_cast<COXSizeControlBar*>(pBar);
        ++nSizeableSeen;
        int nNew;
        if (metrics.nSizeableLength == 0 || nSizeableSeen == metrics.nSizeableCount) {
            // The last bar takes what the integer division left over, so that
            // the row ends where it should instead of leaving a gap.
            nNew = nLeft;
        } else {
            const int nOld = std::max(0, axis.Length(BarWindowRect(pBar)));
            nNew =
                static_cast<int>(static_cast<long long>(nOld) * nShare / metrics.nSizeableLength);
        }
        nLeft -= nNew;
        CSize& sizeDock = axis.DockedSize(pSizeBar);
        sizeDock = axis.Size(nNew, metrics.nThickness);
        if (!m_bLayoutQuery)
            ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, sizeDock.cx, sizeDock.cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL COXSizeDockBar::DistributeAllRows(int nLength) {
    BOOL bAny = FALSE;
    for (int n = 0; n + 1 < m_arrBars.GetSize(); ++n) {
        if (m_arrBars[n] == nullptr && DistributeRow(n + 1, nLength))
            bAny = TRUE;
    }
    return bAny;
}

int COXSizeDockBar::GetLayoutSignature() const {
    unsigned int nCounter = 0, nBytes = 0;
    for (int n = 0; n < m_arrBars.GetSize(); ++n) {
        if (m_arrBars[n] == nullptr) {
            nCounter <<= 1;
            continue;
        }
        CControlBar* pBar = GetValidBar(n);
        if (pBar == nullptr || !pBar->IsVisible())
            continue;
        nCounter += 1 + (IsSizeControlBar(pBar) ? static_cast<unsigned int>(n) : 0u);
        ++nBytes;
    }
    return static_cast<int>(nCounter * 256u + (nBytes % 256u));
}
