// FrameWndDock.cpp: CFrameWnd's docking of control bars and its delayed layout.
#include "DockBar.h"
#include "FrameWnd.h"
#include "MiniFrameWnd.h"

namespace {

// The frame's dock bars, in the order they are made: the top and bottom dock
// bars come first in z-order and so span the frame's whole width, the left
// and right ones take what lies between them.
struct SDockSide {
    UINT nID;
    DWORD dwStyle;
};
const SDockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

} // namespace

void CFrameWnd::DelayRecalcLayout(BOOL /*bNotify*/) {
    m_nIdleFlags |= idleLayout;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_nIdleFlags & idleLayout)
        RecalcLayout();
    return 0;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != nullptr) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    EnableDocking(dwDockStyle, nullptr);
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle, CRuntimeClass* pDockBarClass) {
    if (m_pFloatingFrameClass == nullptr)
        m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const SDockSide& side : kDockSides) {
        if ((dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY) == 0 ||
            GetControlBar(side.nID) != nullptr)
            continue;
        CObject* pObject = pDockBarClass == nullptr ? new CDockBar : pDockBarClass->CreateObject();
        CDockBar* pDockBar = dynamic_cast<CDockBar*>(pObject);
        if (pDockBar == nullptr) {
            AfxTrace("CFrameWnd::EnableDocking: no dock bar made of %s.\n",
                     pDockBarClass->m_lpszClassName);
            delete pObject;
            return;
        }
        if (!pDockBar->Create(this, side.dwStyle, side.nID)) {
            AfxTrace("CFrameWnd::EnableDocking: dock bar %X not made.\n", side.nID);
            delete pDockBar;
        }
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    CDockBar* pDockBar = nullptr;
    if (nDockBarID != 0) {
        pDockBar = dynamic_cast<CDockBar*>(GetControlBar(nDockBarID));
    } else {
        for (const SDockSide& side : kDockSides) {
            if (pBar->m_dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY) {
                pDockBar = dynamic_cast<CDockBar*>(GetControlBar(side.nID));
                if (pDockBar != nullptr)
                    break;
            }
        }
    }
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    bool bAllowed = pBar != nullptr && pDockBar != nullptr &&
                    (pBar->m_dwDockStyle & pDockBar->m_dwStyle & CBRS_ALIGN_ANY) != 0;
    ASSERT(bAllowed);
    if (!bAllowed) {
        AfxTrace("CFrameWnd::DockControlBar: no dock bar here takes the bar.\n");
        return;
    }
    pDockBar->DockControlBar(pBar, lpRect);
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
    const AUX_DATA& aux = AfxGetAuxData();
    for (const SDockSide& side : kDockSides) {
        const DWORD dwSide = side.dwStyle & CBRS_ALIGN_ANY;
        if ((dwDockStyle & dwSide) == 0)
            continue;
        auto* pDockBar = dynamic_cast<CDockBar*>(GetControlBar(side.nID));
        if (pDockBar == nullptr || !pDockBar->IsWindowVisible())
            continue;
        CRect rectBar;
        pDockBar->GetWindowRect(&rectBar);
        // An empty side lies flat on the client edge: give it some depth inwards.
        if (dwSide == CBRS_ALIGN_TOP && rectBar.Height() < aux.cyBorder2)
            rectBar.bottom = rectBar.top + aux.cyBorder2;
        else if (dwSide == CBRS_ALIGN_BOTTOM && rectBar.Height() < aux.cyBorder2)
            rectBar.top = rectBar.bottom - aux.cyBorder2;
        else if (dwSide == CBRS_ALIGN_LEFT && rectBar.Width() < aux.cxBorder2)
            rectBar.right = rectBar.left + aux.cxBorder2;
        else if (dwSide == CBRS_ALIGN_RIGHT && rectBar.Width() < aux.cxBorder2)
            rectBar.left = rectBar.right - aux.cxBorder2;
        CRect rectHit;
        if (rectHit.IntersectRect(&rectBar, &rect)) {
            if (ppDockBar != nullptr)
                *ppDockBar = pDockBar;
            return dwSide;
        }
    }
    if (ppDockBar != nullptr)
        *ppDockBar = nullptr;
    return 0;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    pBar->DelayShow(bShow);
    CFrameWnd* pFrame = pBar->GetDockingFrame();
    if (pFrame == nullptr)
        pFrame = this;
    // A hidden frame (a floating frame whose bars are all hidden) gets no idle
    // time, so it lays out at once.
    if (bDelay && pFrame->IsWindowVisible())
        pFrame->DelayRecalcLayout();
    else
        pFrame->RecalcLayout();
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
    CRuntimeClass* pClass =
        m_pFloatingFrameClass != nullptr ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* pObject = pClass->CreateObject();
    auto* pFrame = dynamic_cast<CMiniDockFrameWnd*>(pObject);
    if (pFrame == nullptr) {
        AfxTrace("CFrameWnd::CreateFloatingFrame: %s is no floating frame.\n",
                 pClass->m_lpszClassName);
        delete pObject;
        return nullptr;
    }
    if (!pFrame->Create(this, dwStyle))
        return nullptr; // it deleted itself
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
    CFrameWnd* pFloatingFrame = nullptr;
    if (pBar->IsFloating() && pBar->m_pDockBar->GetDockedCount() == 1) {
        pFloatingFrame = pBar->GetDockingFrame();
        // Floated again the other way round: its frame turns with it.
        CDockBar* pDockBar = pBar->m_pDockBar;
        const DWORD dwAlign = dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
        if (dwAlign != 0 && (pDockBar->m_dwStyle & CBRS_ALIGN_ANY) != dwAlign) {
            pDockBar->m_dwStyle = (pDockBar->m_dwStyle & ~CBRS_ALIGN_ANY) | dwAlign;
            pBar->m_dwStyle = (pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | dwAlign;
            pFloatingFrame->RecalcLayout();
        }
    } else {
        CMiniDockFrameWnd* pNew = CreateFloatingFrame(dwStyle);
        if (pNew == nullptr)
            return;
        pNew->m_wndDockBar.DockControlBar(pBar);
        pNew->RecalcLayout();
        pFloatingFrame = pNew;
    }
    ::SetWindowPos(pFloatingFrame->m_hWnd, nullptr, point.x, point.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
