// OXDragDockContext.cpp: COXDragDockContext.
#include "OXDragDockContext.h"

#include "OXSizeCtrlBar.h"
#include "OXSizeDockBar.h"

#include "framework/ControlBar.h"
#include "framework/DockBar.h"
#include "framework/Exception.h"
#include "framework/MiniFrameWnd.h"
#include "framework/WinApp.h"

#include <windowsx.h>

namespace {

// The status prompt while a bar that docks anywhere is dragged, and the
// framework's idle prompt that replaces it afterwards.
const UINT kIdsDragPrompt = ID_SIZEBAR_DRAGPROMPT;
const UINT kIdsIdleMessage = 0xE001;

// Moves rect sideways just enough that pt's x lies within it.
void AlignRectToPointX(CRect& rect, CPoint pt) {
    if (pt.x < rect.left)
        rect.OffsetRect(pt.x - rect.left, 0);
    else if (pt.x > rect.right)
        rect.OffsetRect(pt.x - rect.right, 0);
}

void SetMainWindowPrompt(UINT nID) {
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(WM_SETMESSAGESTRING, nID);
}

} // namespace

void COXDragDockContext::StartDrag(CPoint pt) {
    auto* pBar = dynamic_cast<COXSizeControlBar*>(m_pBar);
    m_pDockSite = m_pBar->m_pDockSite;
    if (pBar == nullptr || m_pDockSite == nullptr || m_pBar->m_hWnd == nullptr)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    if ((m_dwDockStyle & CBRS_ALIGN_ANY) == CBRS_ALIGN_ANY)
        SetMainWindowPrompt(kIdsDragPrompt);

    // Let the windows repaint before the desktop is locked. A quit request met
    // here is left for the application's loop, and no drag starts.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        if (!::GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            SetMainWindowPrompt(kIdsIdleMessage);
            return;
        }
        ::DispatchMessageA(&msg);
    }

    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_ptLast = pt;
    m_ptStart = pt;
    const BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;

    // The space a docked bar could span: the pane's area widened over the
    // left and right dock bars.
    CRect rectClient;
    m_pDockSite->RepositionBars(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST,
                                AFX_IDW_PANE_FIRST, reposQuery, &rectClient, nullptr, TRUE);
    m_pDockSite->ClientToScreen(&rectClient);
    CRect rectSide;
    CWnd* pLeft = m_pDockSite->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
    if (pLeft != nullptr && pLeft->IsWindowVisible()) {
        pLeft->GetWindowRect(&rectSide);
        rectClient.left -= rectSide.Width();
    }
    CWnd* pRight = m_pDockSite->GetControlBar(AFX_IDW_DOCKBAR_RIGHT);
    if (pRight != nullptr && pRight->IsWindowVisible()) {
        pRight->GetWindowRect(&rectSide);
        rectClient.right += rectSide.Width();
    }

    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    m_rectHorzDock = CRect(CPoint(rectClient.left, rectBar.top), rectClient.Size());
    m_rectHorzDock.bottom = m_rectHorzDock.top + pBar->m_sizeHorzDock.cy;
    m_rectVertDock = CRect(CPoint(rectBar.left, rectClient.top), rectClient.Size());
    m_rectVertDock.right = m_rectVertDock.left + pBar->m_sizeVertDock.cx;

    // A docked size that nearly fills the side would hide the target: a third.
    CSize sizeHorz = pBar->m_sizeHorzDock;
    if (sizeHorz.cx >= rectClient.Width() - 16)
        sizeHorz.cx = rectClient.Width() / 3;
    CSize sizeVert = pBar->m_sizeVertDock;
    if (sizeVert.cy >= rectClient.Height() - 16)
        sizeVert.cy = rectClient.Height() / 3;
    m_rectDragHorz = CRect(rectBar.TopLeft(), sizeHorz);
    m_rectDragVert = CRect(rectBar.TopLeft(), sizeVert);
    m_rectFrameDragHorz = CRect(rectBar.TopLeft(), pBar->m_sizeFloat);
    m_rectFrameDragVert = CRect(rectBar.TopLeft(), pBar->m_sizeFloat);

    CMiniDockFrameWnd* pMeasure =
        m_pDockSite->CreateFloatingFrame(bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
    if (pMeasure == nullptr) {
        SetMainWindowPrompt(kIdsIdleMessage);
        AfxThrowMemoryException();
    }
    pMeasure->CalcWindowRect(&m_rectFrameDragHorz, adjustBorder);
    pMeasure->CalcWindowRect(&m_rectFrameDragVert, adjustBorder);
    pMeasure->DestroyWindow();

    AlignRectToPointX(m_rectHorzDock, pt);
    AlignRectToPointX(m_rectVertDock, pt);
    AlignRectToPointX(m_rectDragHorz, pt);
    AlignRectToPointX(m_rectDragVert, pt);
    AlignRectToPointX(m_rectFrameDragHorz, pt);
    AlignRectToPointX(m_rectFrameDragVert, pt);

    // Someone else's drag or menu owns the mouse: lock nothing, draw nothing.
    HWND hCapture = ::GetCapture();
    if (hCapture != nullptr && hCapture != m_pBar->m_hWnd) {
        SetMainWindowPrompt(kIdsIdleMessage);
        return;
    }
    InitLoop();

    m_dwOverDockStyle = FindDockTarget();
    MoveDrag(pt);
    RunDragLoop();
}

BOOL COXDragDockContext::RunDragLoop() {
    const HWND hBar = m_pBar->m_hWnd;
    HWND hCapture = ::GetCapture();
    if (hCapture != nullptr && hCapture != hBar) {
        EndDragLoop();
        return FALSE;
    }
    ::SetCapture(hBar);
    while (::GetCapture() == hBar) {
        MSG msg;
        BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot == 0) {
            // The application is quitting: its own loop must see the quit too.
            EndDragLoop();
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        if (bGot == -1)
            break;
        switch (msg.message) {
        case WM_LBUTTONUP:
            FinishDrag();
            return TRUE;
        case WM_RBUTTONDOWN:
            EndDragLoop();
            return FALSE;
        case WM_MOUSEMOVE: {
            CPoint ptMove(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &ptMove);
            MoveDrag(ptMove);
            break;
        }
        case WM_KEYDOWN:
            OnDragKey(static_cast<UINT>(msg.wParam), TRUE);
            if (msg.wParam == VK_ESCAPE) {
                EndDragLoop();
                return FALSE;
            }
            break;
        case WM_KEYUP:
            OnDragKey(static_cast<UINT>(msg.wParam), FALSE);
            break;
        default:
            ::DispatchMessageA(&msg);
            // A bar destroyed by that message has ended its drag in its
            // teardown, and this context may be gone with it.
            if (!::IsWindow(hBar))
                return FALSE;
            break;
        }
    }
    // The capture went elsewhere: the drag is over.
    EndDragLoop();
    return FALSE;
}

void COXDragDockContext::MoveDrag(CPoint pt) {
    const CSize delta = FollowMouse(pt);
    m_rectHorzDock.OffsetRect(0, delta.cy);
    m_rectVertDock.OffsetRect(delta.cx, 0);
    m_dwOverDockStyle = m_bForceFrame ? 0 : FindDockTarget();
    DrawDragFrame(FALSE);
}

void COXDragDockContext::OnDragKey(UINT nChar, BOOL bDown) {
    if (nChar == VK_CONTROL)
        SetForceFloat(bDown);
}

void COXDragDockContext::SetForceFloat(BOOL bForce) {
    bForce = bForce ? TRUE : FALSE;
    if (m_bForceFrame == bForce)
        return;
    m_bForceFrame = bForce;
    m_dwOverDockStyle = bForce ? 0 : FindDockTarget();
    DrawDragFrame(FALSE);
}

DWORD COXDragDockContext::FindDockTarget() {
    m_pTargetDockBar = nullptr;
    if (m_pDockSite == nullptr)
        return 0;
    const DWORD dwHorzMask = m_dwDockStyle & ~CBRS_ORIENT_VERT;
    const DWORD dwVertMask = m_dwDockStyle & ~CBRS_ORIENT_HORZ;
    CDockBar* pDockBar = nullptr;
    DWORD dwFound = 0;
    if (m_dwDockStyle & CBRS_ORIENT_HORZ)
        dwFound = m_pDockSite->CanDock(m_rectHorzDock, dwHorzMask, &pDockBar);
    if (dwFound == 0 && (m_dwDockStyle & CBRS_ORIENT_VERT))
        dwFound = m_pDockSite->CanDock(m_rectVertDock, dwVertMask, &pDockBar);
    if (dwFound == 0)
        return 0;
    m_pTargetDockBar = pDockBar;

    const BOOL bHorz = (dwFound & CBRS_ORIENT_HORZ) != 0;
    const CRect& rectProbe = bHorz ? m_rectHorzDock : m_rectVertDock;
    const CRect& rectDrag = bHorz ? m_rectDragHorz : m_rectDragVert;
    m_rectTarget = rectProbe;
    DWORD dwResult = m_pDockSite->CanDock(rectDrag, bHorz ? dwHorzMask : dwVertMask);
    auto* pSizeDockBar = dynamic_cast<COXSizeDockBar*>(pDockBar);
    if (dwResult == 0 || pSizeDockBar == nullptr)
        return dwResult;
    const int nOthers = pSizeDockBar->CountOtherBarsInRow(m_pBar, rectProbe);
    if (nOthers > 0) {
        // Joining a row: the bar's share of it, or its own length when it
        // only moves within this dock bar.
        CRect rectBar;
        m_pBar->GetWindowRect(&rectBar);
        const BOOL bSameDockBar = m_pBar->m_pDockBar == pDockBar;
        m_rectTarget = rectDrag;
        if (bHorz) {
            m_rectTarget.right =
                m_rectTarget.left +
                (bSameDockBar ? rectBar.Width() : rectProbe.Width() / (nOthers + 1));
        } else {
            m_rectTarget.bottom =
                m_rectTarget.top +
                (bSameDockBar ? rectBar.Height() : rectProbe.Height() / (nOthers + 1));
        }
    }
    return dwResult;
}

CDockBar* COXDragDockContext::GetTargetDockBar(DWORD dwOverDockStyle) {
    return DockBarAt(m_rectTarget, dwOverDockStyle);
}

void COXDragDockContext::DrawDragFrame(BOOL bRemove) {
    CRect rect;
    CSize size;
    BOOL bDither;
    if (m_dwOverDockStyle != 0) {
        rect = m_rectTarget;
        rect.DeflateRect(1, 1);
        size = CSize(1, 1);
        bDither = FALSE;
    } else {
        rect = m_rectFrameDragHorz;
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        bDither = TRUE;
    }
    if (bRemove)
        size = CSize(0, 0);
    DrawFrame(rect, size, bDither);
}

void COXDragDockContext::FinishDrag() {
    EndDragLoop();
    if (m_ptLast == m_ptStart)
        return; // a click: the bar stays where it is
    m_dwOverDockStyle = m_bForceFrame ? 0 : FindDockTarget();
    if (m_dwOverDockStyle != 0) {
        CDockBar* pTarget = GetTargetDockBar(m_dwOverDockStyle);
        if (pTarget == nullptr)
            return;
        CDockBar* pOldDockBar = m_pBar->m_pDockBar;
        auto* pOldSizeDockBar = dynamic_cast<COXSizeDockBar*>(pOldDockBar);
        const int nOldSignature =
            pOldSizeDockBar != nullptr ? pOldSizeDockBar->GetLayoutSignature() : -1;
        if (auto* pBar = dynamic_cast<COXSizeControlBar*>(m_pBar)) {
            if (m_dwOverDockStyle & CBRS_ORIENT_HORZ)
                pBar->m_sizeHorzDock = m_rectTarget.Size();
            else
                pBar->m_sizeVertDock = m_rectTarget.Size();
        }
        CRect rectDock(m_rectTarget);
        m_pDockSite->DockControlBar(m_pBar, pTarget, &rectDock);
        if (auto* pSizeDockBar = dynamic_cast<COXSizeDockBar*>(pTarget)) {
            if (pSizeDockBar != pOldDockBar || pSizeDockBar->GetLayoutSignature() != nOldSignature)
                pSizeDockBar->FitRowAroundBar(m_pBar);
            pSizeDockBar->ShareRowsAtNextLayout();
        }
        m_pDockSite->RecalcLayout(TRUE);
        return;
    }
    m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
    m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    m_pBar->SendMessage(WM_SIZEBAR_FLOATED);
    if (CFrameWnd* pFrame = m_pBar->GetParentFrame())
        pFrame->ModifyStyle(0, 0x0001);
}

void COXDragDockContext::EndDragLoop() {
    DrawDragFrame(TRUE);
    ReleaseLoop();
    SetMainWindowPrompt(kIdsIdleMessage);
}

void COXDragDockContext::ToggleDocking() {
    CDockContext::ToggleDocking();
}
