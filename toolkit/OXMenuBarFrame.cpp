// OXMenuBarFrame.cpp: the part of the menu-bar frames that all hosts share:
// the process-wide map from frame window to host, the thread's mouse and
// keyboard hooks that feed the hosts, and the filter procedure put on the MDI
// client window.
#include "OXMenuBarFrame.h"

#include "framework/Collections.h"

namespace {

// Frame window -> host, for the hooks and the MDI client filter. Made before
// any frame exists and kept for the life of the process.
CMap<HWND, HWND, COXMenuBarHostLink*, COXMenuBarHostLink*> g_mapHosts(10);

HHOOK g_hMouseHook = nullptr;
HHOOK g_hKeyboardHook = nullptr;

// Window properties of an MDI client under the filter: the procedure the
// filter hands messages on to, and the one it replaced first. They live on the
// client itself, so the filter still reaches them after its frame has left the
// map (the client's own WM_DESTROY and WM_NCDESTROY come after the frame's).
const char kNextProcProp[] = "OXMenuBarFrame.NextProc";
const char kFirstProcProp[] = "OXMenuBarFrame.FirstProc";

// The message the filter is handing on right now. A foreign subclass that was
// put under the filter by a repair calls the filter as its own predecessor;
// that call is the message coming back, and goes on to the procedure the
// filter first replaced instead of round the loop again.
struct SForwarded {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
SForwarded g_forwarded = {};

// The top-level window above hWnd: a child's parents, then owners.
HWND TopLevelParentOf(HWND hWnd) {
    while (hWnd != nullptr) {
        const BOOL bChild = (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0;
        HWND hWndUp = bChild ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
        if (hWndUp == nullptr)
            break;
        hWnd = hWndUp;
    }
    return hWnd;
}

// The first registered host of top-level window hWndTop whose hook handler
// takes the event; null when none does.
template <class HANDLER> COXMenuBarHostLink* OfferToHosts(HWND hWndTop, HANDLER handler) {
    POSITION pos = g_mapHosts.GetStartPosition();
    while (pos != nullptr) {
        HWND hWndHost = nullptr;
        COXMenuBarHostLink* pHost = nullptr;
        g_mapHosts.GetNextAssoc(pos, hWndHost, pHost);
        if (pHost != nullptr && ::IsWindow(hWndHost) && hWndHost == hWndTop && handler(pHost))
            return pHost;
    }
    return nullptr;
}

LRESULT CALLBACK HostMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0) {
        const auto* pHookData = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        HWND hWndTop = TopLevelParentOf(::WindowFromPoint(pHookData->pt));
        OfferToHosts(hWndTop, [&](COXMenuBarHostLink* pHost) {
            return pHost->HandleMouseHook(nCode, static_cast<UINT>(wParam), pHookData) != 0;
        });
    }
    // Handled or not, the event goes on: the bars' and floating frames' own
    // mouse hooks, installed earlier, need every move to reset hot buttons.
    return ::CallNextHookEx(g_hMouseHook, nCode, wParam, lParam);
}

LRESULT CALLBACK HostKeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode >= 0) {
        HWND hWndFocus = ::GetFocus();
        HWND hWndTop = hWndFocus != nullptr ? TopLevelParentOf(hWndFocus) : ::GetDesktopWindow();
        if (OfferToHosts(hWndTop, [&](COXMenuBarHostLink* pHost) {
                return pHost->HandleKeyboardHook(nCode, wParam, lParam) != 0;
            }) != nullptr)
            return 1; // the menu bar used the key
    }
    return ::CallNextHookEx(g_hKeyboardHook, nCode, wParam, lParam);
}

BOOL IsForwardedNow(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_forwarded.hWnd == hWnd && g_forwarded.message == message &&
           g_forwarded.wParam == wParam && g_forwarded.lParam == lParam;
}

LRESULT CallProc(WNDPROC pfnProc, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return pfnProc != nullptr ? ::CallWindowProcA(pfnProc, hWnd, message, wParam, lParam) : 0;
}

} // namespace

int COXMenuBarHostLink::s_nAltPressed = 0;
CPoint COXMenuBarHostLink::s_ptLastMouse(-1, -1);

LRESULT COXMenuBarHostLink::MDIClientFilter(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return OXCallNextMDIClientProc(reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kNextProcProp)), hWnd,
                                   message, wParam, lParam);
}

void OXEnterMenuBarHost(HWND hWndFrame, COXMenuBarHostLink* pHost) {
    g_mapHosts[hWndFrame] = pHost;
}

BOOL OXRemoveMenuBarHost(HWND hWndFrame) {
    g_mapHosts.RemoveKey(hWndFrame);
    return g_mapHosts.IsEmpty();
}

COXMenuBarHostLink* OXFindMenuBarHost(HWND hWndFrame) {
    COXMenuBarHostLink* pHost = nullptr;
    return g_mapHosts.Lookup(hWndFrame, pHost) ? pHost : nullptr;
}

void OXInstallMenuBarHostHooks() {
    const DWORD dwThread = ::GetCurrentThreadId();
    if (g_hMouseHook == nullptr) {
        g_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, HostMouseHookProc, nullptr, dwThread);
        if (g_hMouseHook == nullptr)
            KWTRACE_ERROR(("COXMenuBarHost: the mouse hook was not installed (%lu)\n",
                           static_cast<unsigned long>(::GetLastError())));
    }
    if (g_hKeyboardHook == nullptr) {
        g_hKeyboardHook = ::SetWindowsHookExA(WH_KEYBOARD, HostKeyboardHookProc, nullptr, dwThread);
        if (g_hKeyboardHook == nullptr)
            KWTRACE_ERROR(("COXMenuBarHost: the keyboard hook was not installed (%lu)\n",
                           static_cast<unsigned long>(::GetLastError())));
    }
}

void OXRemoveMenuBarHostHooks() {
    if (g_hMouseHook != nullptr)
        ::UnhookWindowsHookEx(g_hMouseHook);
    if (g_hKeyboardHook != nullptr)
        ::UnhookWindowsHookEx(g_hKeyboardHook);
    g_hMouseHook = nullptr;
    g_hKeyboardHook = nullptr;
}

BOOL OXMenuBarHostHooksInstalled() {
    return g_hMouseHook != nullptr && g_hKeyboardHook != nullptr;
}

LRESULT CALLBACK MDIClientWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedNow(hWnd, message, wParam, lParam)) {
        const SForwarded saved = g_forwarded;
        g_forwarded = SForwarded{};
        const LRESULT lResult =
            CallProc(reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kFirstProcProp)), hWnd, message,
                     wParam, lParam);
        g_forwarded = saved;
        return lResult;
    }
    auto pfnNext = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kNextProcProp));
    if (message == WM_NCDESTROY) {
        // The last message: hand it on, then leave the client as it was.
        const LRESULT lResult = OXCallNextMDIClientProc(pfnNext, hWnd, message, wParam, lParam);
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == MDIClientWndProc)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnNext));
        ::RemovePropA(hWnd, kNextProcProp);
        ::RemovePropA(hWnd, kFirstProcProp);
        return lResult;
    }
    HWND hWndFrame = ::GetParent(hWnd);
    COXMenuBarHostLink* pHost = OXFindMenuBarHost(hWndFrame);
    if (pHost != nullptr && ::IsWindow(hWndFrame))
        return pHost->MDIClientFilter(hWnd, message, wParam, lParam);
    // No host (its frame is being destroyed): the client still gets its message.
    return OXCallNextMDIClientProc(pfnNext, hWnd, message, wParam, lParam);
}

BOOL OXSubclassMDIClient(HWND hWndClient, WNDPROC& pfnOldProc) {
    auto pfnCurrent = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWndClient, GWLP_WNDPROC));
    // Never the filter as its own successor: that would loop for ever.
    if (pfnCurrent == pfnOldProc || pfnCurrent == MDIClientWndProc)
        return FALSE;
    pfnOldProc = pfnCurrent;
    if (::GetPropA(hWndClient, kFirstProcProp) == nullptr)
        ::SetPropA(hWndClient, kFirstProcProp, reinterpret_cast<HANDLE>(pfnCurrent));
    ::SetPropA(hWndClient, kNextProcProp, reinterpret_cast<HANDLE>(pfnCurrent));
    ::SetWindowLongPtrA(hWndClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MDIClientWndProc));
    return TRUE;
}

LRESULT OXCallNextMDIClientProc(WNDPROC pfnNext, HWND hWnd, UINT message, WPARAM wParam,
                                LPARAM lParam) {
    const SForwarded saved = g_forwarded;
    g_forwarded = SForwarded{hWnd, message, wParam, lParam};
    const LRESULT lResult = CallProc(pfnNext, hWnd, message, wParam, lParam);
    g_forwarded = saved;
    return lResult;
}
