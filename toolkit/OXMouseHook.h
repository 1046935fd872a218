// OXMouseHook.h: COXMouseHook, a thread's WH_MOUSE hook shared by the windows
// of one kind, which draw hot buttons from the cursor position: the hook is
// installed for the first user window and removed after the last, and it tells
// its kind whenever a mouse move reaches a window other than the last one, so
// that the window left behind can lose its hot look at once.
//
// Classes: COXMouseHook.
//
// A hook procedure carries no context, so each kind keeps one COXMouseHook and
// a CALLBACK procedure of its own that hands every call to OnHook.
#pragma once

#include <windows.h>

class COXMouseHook {
public:
    // Called on every mouse move with the window of the last move (null at
    // first) and the window of this one.
    using MouseMovedFn = void (*)(HWND hWndLast, HWND hWndNow);

    constexpr COXMouseHook(HOOKPROC pfnHookProc, MouseMovedFn pfnMouseMoved, LPCSTR lpszOwner)
        : m_pfnHookProc(pfnHookProc), m_pfnMouseMoved(pfnMouseMoved), m_lpszOwner(lpszOwner),
          m_hHook(nullptr), m_nUsers(0), m_hWndLast(nullptr) {}
    COXMouseHook(const COXMouseHook&) = delete;
    COXMouseHook& operator=(const COXMouseHook&) = delete;

    // Counts one more user window; the first installs the hook on this thread.
    void AddUser();
    // Counts one user window less; after the last the hook goes. A call
    // without a user counted does nothing.
    void RemoveUser();
    // The hook's work, for the kind's hook procedure; passes the call on.
    LRESULT OnHook(int nCode, WPARAM wParam, LPARAM lParam);

private:
    HOOKPROC m_pfnHookProc;
    MouseMovedFn m_pfnMouseMoved;
    LPCSTR m_lpszOwner; // names the kind in the trace of a failed install
    HHOOK m_hHook;
    int m_nUsers;
    HWND m_hWndLast; // window of the last mouse move
};
