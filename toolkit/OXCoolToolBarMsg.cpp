// OXCoolToolBarMsg.cpp: COXCoolToolBar's message map: the mouse and the bar's
// own drag, floating and docking changes, idle updates, the control's button
// messages, reflected notifications and the drop target's notifications.
#include "OXCoolToolBar.h"

#include "OXSizeCtrlBar.h"
#include "OXSizeDockBar.h"

#include "framework/DockContext.h"
#include "framework/WinApp.h"

// clang-format off
BEGIN_MESSAGE_MAP(COXCoolToolBar, CMFCToolBar)
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETTINGCHANGE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(TB_INSERTBUTTONA, &COXCoolToolBar::OnInsertButton)
    ON_MESSAGE(TB_DELETEBUTTON, &COXCoolToolBar::OnDeleteButton)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &COXCoolToolBar::OnIdleUpdateCmdUI)
    ON_MESSAGE(SHBDTM_DRAGENTER, &COXCoolToolBar::OnDragEnter)
    ON_MESSAGE(SHBDTM_DRAGLEAVE, &COXCoolToolBar::OnDragLeave)
    ON_MESSAGE(SHBDTM_DRAGOVER, &COXCoolToolBar::OnDragOver)
    ON_MESSAGE(SHBDTM_DROP, &COXCoolToolBar::OnDrop)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &COXCoolToolBar::OnCustomDraw)
    ON_NOTIFY_REFLECT_EX(TBN_DROPDOWN, &COXCoolToolBar::OnTbnDropDown)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Paint messages dispatched at most per mouse move of a drag: a window that
// never validates itself must not hold the drag.
const int kMaxPaintsPerMove = 64;

CFrameWnd* MainFrame() {
    CWinApp* pApp = AfxGetApp();
    CWnd* pMainWnd = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    return pMainWnd != nullptr ? pMainWnd->AsFrameWnd() : nullptr;
}

// Dispatches the waiting paint messages; FALSE when WM_QUIT came up instead,
// which is posted again for the message loop.
BOOL DispatchPendingPaints() {
    MSG msg;
    for (int i = 0;
         i < kMaxPaintsPerMove && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE);
         ++i) {
        if (!::GetMessageA(&msg, nullptr, WM_PAINT, WM_PAINT)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------------------
// Mouse.

void COXCoolToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    const int nHit = static_cast<int>(
        ControlProc(TB_HITTEST, 0, reinterpret_cast<LPARAM>(static_cast<POINT*>(&point))));
    if (!m_bDragAnywhere && nHit < 0)
        return;
    CWinApp* pApp = AfxGetApp();
    CWnd* pMainWnd = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    if (pMainWnd == nullptr || pMainWnd->SendMessage(WM_QUERYTABDOCKING) == 0) {
        CMFCToolBar::OnLButtonDown(nFlags, point);
        return;
    }
    if (m_pDockBar == nullptr || OnToolHitTest(point, nullptr) != -1) {
        Default();
        return;
    }
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    StartBarDrag(ptScreen - rectWindow.TopLeft());
}

void COXCoolToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bDragging) {
        CMFCToolBar::OnMouseMove(nFlags, point);
        return;
    }
    CFrameWnd* pFrame = MainFrame();
    if ((nFlags & MK_LBUTTON) && pFrame != nullptr) {
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        const CRect rect(ptCursor, rectWindow.Size());
        if (!DispatchPendingPaints()) {
            StopBarDrag();
            return;
        }
        if (m_pDockContext != nullptr) {
            COXSizeDockBar* pDockBar = COXSizeDockBar::FindDockBarAt(ptCursor, this);
            if (pDockBar == nullptr || ::GetKeyState(VK_CONTROL) < 0)
                pFrame->FloatControlBar(this, ptCursor - m_ptDragOffset, CBRS_ALIGN_TOP);
            else
                pDockBar->DockBarAtRect(this, &rect);
            return;
        }
        pFrame->FloatControlBar(this, ptCursor, CBRS_ALIGN_TOP);
        return;
    }
    StopBarDrag();
}

void COXCoolToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bDragging) {
        StopBarDrag();
        return;
    }
    CMFCToolBar::OnLButtonUp(nFlags, point);
    // The command may have destroyed the bar.
    if (::IsWindow(m_hWnd))
        SendMessage(WM_IDLEUPDATECMDUI, TRUE);
}

void COXCoolToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    const int nHit = static_cast<int>(
        ControlProc(TB_HITTEST, 0, reinterpret_cast<LPARAM>(static_cast<POINT*>(&point))));
    if (m_bDragAnywhere || nHit >= 0)
        CMFCToolBar::OnLButtonDblClk(nFlags, point);
}

// ---------------------------------------------------------------------------
// Floating, docking, idle time and settings.

void COXCoolToolBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    if (m_pDockContext != nullptr)
        m_pDockContext->m_bDragging = FALSE;
    CMFCToolBar::OnWindowPosChanged(lpwndpos);
    const int nFloating = IsFloating() ? 1 : 0;
    if (nFloating == m_nLastFloatingState) {
        const DWORD dwSide = m_dwStyle & CBRS_ALIGN_ANY;
        if (dwSide != m_dwLastDockSide) {
            m_dwLastDockSide = dwSide;
            OnChangeDockSide(dwSide);
        }
    } else {
        m_nLastFloatingState = nFloating;
        OnFloatingDocking(nFloating);
    }
    m_nPendingUpdates |= OX_TB_PENDING_PLACEWINDOWS;
    SendMessage(WM_NCPAINT, 1);
}

LRESULT COXCoolToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
    // A hidden bar keeps its pending work for when it shows again.
    if (IsWindowVisible()) {
        if (m_nPendingUpdates & OX_TB_PENDING_REDRAW)
            RedrawToolBar(TRUE, TRUE);
        if (m_nPendingUpdates & OX_TB_PENDING_PLACEWINDOWS)
            PlaceButtonWindows();
        m_nPendingUpdates = 0;
    }
    return CMFCToolBar::OnIdleUpdateCmdUI(wParam, lParam);
}

void COXCoolToolBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
    MeasureDropDownArrow();
    RedrawToolBar(TRUE, FALSE);
    CMFCToolBar::OnSettingChange(uFlags, lpszSection);
}

// ---------------------------------------------------------------------------
// The control's button messages.

LRESULT COXCoolToolBar::OnInsertButton(WPARAM wParam, LPARAM) {
    const LRESULT lResult = Default();
    if (lResult) {
        ValidateRect(nullptr);
        if (m_nCustomizedButton != -1 && m_nCustomizedButton >= static_cast<int>(wParam))
            ++m_nCustomizedButton;
        m_bDelayedButtonLayout = TRUE;
    }
    RedrawToolBar(TRUE, TRUE);
    return lResult;
}

LRESULT COXCoolToolBar::OnDeleteButton(WPARAM wParam, LPARAM) {
    const int nIndex = static_cast<int>(wParam);
    const int nCountBefore = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
    const LRESULT lResult = Default();
    if (lResult) {
        ValidateRect(nullptr);
        if (m_nCustomizedButton > nIndex)
            --m_nCustomizedButton;
        else if (m_nCustomizedButton == nIndex)
            m_nCustomizedButton = -1;
        // A separator left at either end separates nothing.
        const BOOL bOuterGuard = m_bInsideInsertDelete;
        m_bInsideInsertDelete = TRUE;
        int nCount = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
        TBBUTTON button = {};
        if (nIndex == nCountBefore - 1 && nCount > 0) {
            GetButton(nCount - 1, &button);
            if (button.fsStyle & TBSTYLE_SEP)
                SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nCount - 1));
        }
        nCount = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
        if (nIndex == 0 && nCount > 0) {
            GetButton(0, &button);
            if (button.fsStyle & TBSTYLE_SEP)
                SendMessage(TB_DELETEBUTTON, 0);
        }
        m_bInsideInsertDelete = bOuterGuard;
        m_bDelayedButtonLayout = TRUE;
    }
    RedrawToolBar(TRUE, TRUE);
    return lResult;
}

// ---------------------------------------------------------------------------
// Reflected notifications.

BOOL COXCoolToolBar::OnTbnDropDown(NMHDR* pNMHDR, LRESULT*) {
    m_nDropDownCommand = reinterpret_cast<NMTOOLBARA*>(pNMHDR)->iItem;
    return FALSE; // the frame opens the menu
}

// ---------------------------------------------------------------------------
// The drop target's notifications.

LRESULT COXCoolToolBar::OnDragEnter(WPARAM wParam, LPARAM lParam) {
    if (!IsCustomizable(TRUE))
        return 0;
    m_bDragDropOperation = TRUE;
    return OnDragOver(wParam, lParam);
}

LRESULT COXCoolToolBar::OnDragOver(WPARAM, LPARAM lParam) {
    if (!IsCustomizable(TRUE))
        return 0;
    reinterpret_cast<SHBDROPTARGETACTION*>(lParam)->result = DROPEFFECT_NONE;
    return 1;
}

LRESULT COXCoolToolBar::OnDragLeave(WPARAM, LPARAM) {
    if (!IsCustomizable(TRUE))
        return 0;
    TBINSERTMARK mark = {-1, 0};
    ControlProc(TB_SETINSERTMARK, 0, reinterpret_cast<LPARAM>(&mark));
    m_bDragDropOperation = FALSE;
    return 1;
}

LRESULT COXCoolToolBar::OnDrop(WPARAM, LPARAM lParam) {
    if (!IsCustomizable(TRUE))
        return 0;
    reinterpret_cast<SHBDROPTARGETACTION*>(lParam)->result = DROPEFFECT_NONE;
    m_bDragDropOperation = FALSE;
    return 1;
}
