// WndToolTip.cpp: the framework's tooltips. One tooltip control per thread, made
// on first need; windows that called EnableToolTips relay their mouse messages to
// it from PreTranslateMessage, and OnToolHitTest names the tool under the mouse.
// The control asks the tool's window for texts with TTN_NEEDTEXT (WM_NOTIFY).
#include "Wnd.h"

#include "WinThread.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

// The thread's tooltip state; plain data.
struct SToolTipState {
    HWND hWndToolTip;   // the control; owned by the top-level window it was made for
    HWND hWndHitOwner;  // the window whose OnToolHitTest found the current tool
    INT_PTR nLastHit;   // its answer; -1 for no tool
    TOOLINFOA lastInfo; // the tool registered with the control (text not kept)
    bool bCancelled;    // a press hid the tip; it stays hidden until the tool changes
};
thread_local SToolTipState t_tip = {nullptr, nullptr, -1, {}, false};

void RemoveCurrentTool() {
    if (t_tip.nLastHit != -1 && ::IsWindow(t_tip.hWndToolTip))
        ::SendMessageA(t_tip.hWndToolTip, TTM_DELTOOLA, 0,
                       reinterpret_cast<LPARAM>(&t_tip.lastInfo));
    t_tip.nLastHit = -1;
    t_tip.hWndHitOwner = nullptr;
}

HWND ToolTipFor(HWND hWnd) {
    if (t_tip.hWndToolTip != nullptr && ::IsWindow(t_tip.hWndToolTip))
        return t_tip.hWndToolTip;
    // The control went with its owner, or was never made.
    t_tip.nLastHit = -1;
    t_tip.hWndHitOwner = nullptr;
    HWND hWndTop = hWnd;
    for (HWND hWndUp; (hWndUp = ::GetParent(hWndTop)) != nullptr;)
        hWndTop = hWndUp;
    t_tip.hWndToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWndTop,
                                          nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (t_tip.hWndToolTip == nullptr)
        AfxTrace("CWnd tooltips: cannot create the tooltip control, error %lu.\n",
                 static_cast<unsigned long>(::GetLastError()));
    else
        ::SendMessageA(t_tip.hWndToolTip, TTM_ACTIVATE, TRUE, 0);
    return t_tip.hWndToolTip;
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsPress(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
    if (bEnable) {
        m_nFlags |= WF_TOOLTIPS;
    } else {
        m_nFlags &= ~WF_TOOLTIPS;
        if (t_tip.hWndHitOwner == m_hWnd)
            CancelToolTips();
    }
    return TRUE;
}

void PASCAL CWnd::CancelToolTips(BOOL) {
    if (t_tip.hWndToolTip != nullptr && ::IsWindow(t_tip.hWndToolTip))
        ::SendMessageA(t_tip.hWndToolTip, TTM_POP, 0, 0);
    RemoveCurrentTool();
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    // The visible child control under the point (static texts aside).
    HWND hWndHit = nullptr;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(hChild) == 0xFFFF || !(::GetWindowLongA(hChild, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rc;
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
        if (::PtInRect(&rc, point)) {
            hWndHit = hChild;
            break;
        }
    }
    if (hWndHit == nullptr)
        return -1;
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hWndHit);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return ::GetDlgCtrlID(hWndHit);
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
    UINT message = pMsg->message;
    bool bKey = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (!IsMouseMessage(message) && !bKey)
        return;
    // The innermost window with tooltips on the message's way handles it alone.
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr && hWnd != m_hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && (pWnd->m_nFlags & WF_TOOLTIPS))
            return;
    }
    if (bKey || IsPress(message)) {
        // A press or a key hides the tip until the mouse reaches another tool.
        if (t_tip.hWndToolTip != nullptr && ::IsWindow(t_tip.hWndToolTip))
            ::SendMessageA(t_tip.hWndToolTip, TTM_POP, 0, 0);
        t_tip.bCancelled = true;
        return;
    }
    HWND hWndToolTip = ToolTipFor(m_hWnd);
    if (hWndToolTip == nullptr)
        return;

    POINT pt = pMsg->pt;
    ::ScreenToClient(m_hWnd, &pt);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    INT_PTR nHit = OnToolHitTest(CPoint(pt.x, pt.y), &ti);
    bool bSameTool = nHit == t_tip.nLastHit && t_tip.hWndHitOwner == m_hWnd &&
                     ti.hwnd == t_tip.lastInfo.hwnd && ti.uId == t_tip.lastInfo.uId;
    if (!bSameTool) {
        RemoveCurrentTool();
        ::SendMessageA(hWndToolTip, TTM_POP, 0, 0);
        t_tip.bCancelled = false;
        if (nHit != -1) {
            if (ti.lpszText == nullptr)
                ti.lpszText = LPSTR_TEXTCALLBACKA;
            ::SendMessageA(hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
            t_tip.nLastHit = nHit;
            t_tip.hWndHitOwner = m_hWnd;
            t_tip.lastInfo = ti;
            t_tip.lastInfo.lpszText = LPSTR_TEXTCALLBACKA;
        }
    }
    // A text that OnToolHitTest allocated has been copied by the control.
    if (ti.lpszText != nullptr && ti.lpszText != LPSTR_TEXTCALLBACKA)
        free(ti.lpszText);
    if (t_tip.nLastHit == -1 || t_tip.bCancelled)
        return;

    // Relayed as coming from the tool's own window, where the control looks for it.
    HWND hWndTool = (t_tip.lastInfo.uFlags & TTF_IDISHWND)
                        ? reinterpret_cast<HWND>(t_tip.lastInfo.uId)
                        : t_tip.lastInfo.hwnd;
    MSG relay = *pMsg;
    relay.hwnd = hWndTool;
    relay.message = WM_MOUSEMOVE;
    POINT ptTool = pMsg->pt;
    ::ScreenToClient(hWndTool, &ptTool);
    relay.lParam = MAKELPARAM(ptTool.x, ptTool.y);
    ::SendMessageA(hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}
