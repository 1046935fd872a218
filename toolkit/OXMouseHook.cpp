// OXMouseHook.cpp: COXMouseHook.
#include "OXMouseHook.h"

#include "framework/Object.h"

void COXMouseHook::AddUser() {
    if (m_nUsers++ == 0) {
        m_hHook = ::SetWindowsHookExA(WH_MOUSE, m_pfnHookProc, nullptr, ::GetCurrentThreadId());
        if (m_hHook == nullptr)
            TRACE("%s::OnCreate: the mouse hook was not installed.\n", m_lpszOwner);
    }
}

void COXMouseHook::RemoveUser() {
    if (m_nUsers > 0 && --m_nUsers == 0) {
        if (m_hHook != nullptr)
            ::UnhookWindowsHookEx(m_hHook);
        m_hHook = nullptr;
        m_hWndLast = nullptr;
    }
}

LRESULT COXMouseHook::OnHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION && (wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE)) {
        HWND hWnd = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->hwnd;
        m_pfnMouseMoved(m_hWndLast, hWnd);
        m_hWndLast = hWnd;
    }
    return ::CallNextHookEx(m_hHook, nCode, wParam, lParam);
}
