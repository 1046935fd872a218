// OXBitmapMenuOrganizerProc.cpp: the frame side of COXBitmapMenuOrganizer: the
// process-wide map from frame to organizer, the subclass procedure with the
// popup trace, and the menu hooks of shortened menus.
#include "OXBitmapMenuOrganizer.h"

#include "Common/TraceLog.h"

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

namespace {

typedef CMap<HWND, HWND, COXBitmapMenuOrganizer*, COXBitmapMenuOrganizer*> COrganizerMap;

// Filled by attaching; every subclassed frame finds its organizer here.
COrganizerMap g_organizerMap;

// The frame's procedure from before subclassing, kept on the window as well: when
// a later subclass sits above ours at detach time, our procedure cannot leave
// the chain and keeps forwarding through this property.
const char kPropOldWndProc[] = "OXBitmapMenuOrganizer.OldWndProc";

// Keyboard messages with the repeat count 1 and the scan codes of Esc and Enter,
// as the keyboard itself would send them.
const LPARAM kEscapeKeyData = 0x00010001;
const LPARAM kReturnKeyData = 0x001C0001;

// The window of the popup being selected in: the topmost visible popup-menu
// window of this thread. Windows of other programs, and hidden ones such as
// tooltips created after the popup, can lie above it in the desktop's order;
// only when no popup-menu window is found is the desktop's top window taken.
HWND FindSelectedPopupWindow() {
    const DWORD nThreadId = ::GetCurrentThreadId();
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd != nullptr;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(hWnd) || ::GetWindowThreadProcessId(hWnd, nullptr) != nThreadId)
            continue;
        char szClass[16] = "";
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (lstrcmpA(szClass, "#32768") == 0)
            return hWnd;
    }
    return ::GetTopWindow(nullptr);
}

} // namespace

HHOOK COXBitmapMenuOrganizer::s_hMenuMouseHook = nullptr;
HHOOK COXBitmapMenuOrganizer::s_hMenuKeyboardHook = nullptr;

COXBitmapMenuOrganizer* PASCAL COXBitmapMenuOrganizer::FindOrganizer(HWND hFrameWnd) {
    COXBitmapMenuOrganizer* pOrganizer = nullptr;
    if (hFrameWnd == nullptr || !g_organizerMap.Lookup(hFrameWnd, pOrganizer))
        return nullptr;
    return pOrganizer;
}

BOOL COXBitmapMenuOrganizer::SubclassFrame(HWND hWnd) {
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return FALSE;
    if (FindOrganizer(hWnd) != nullptr) {
        // Two organizers on one window would find the same map entry, and the
        // second would call the shared procedure as its "previous" one for ever.
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::AttachFrameWnd: the window has an organizer "
                       "already\n"));
        return FALSE;
    }
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (pfnOld == nullptr)
        return FALSE;
    // Map entry and previous procedure must be in place before the first message
    // reaches MenuOrganizerProc.
    m_hFrameWnd = hWnd;
    m_pfnOldWndProc = pfnOld;
    g_organizerMap.SetAt(hWnd, this);
    ::SetPropA(hWnd, kPropOldWndProc, reinterpret_cast<HANDLE>(pfnOld));
    if (::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuOrganizerProc)) ==
        0) {
        KWTRACE_ERROR(("COXBitmapMenuOrganizer::AttachFrameWnd: SetWindowLongPtr failed (%u)\n",
                       static_cast<unsigned>(::GetLastError())));
        ::RemovePropA(hWnd, kPropOldWndProc);
        g_organizerMap.RemoveKey(hWnd);
        m_hFrameWnd = nullptr;
        m_pfnOldWndProc = nullptr;
        return FALSE;
    }
    return TRUE;
}

void COXBitmapMenuOrganizer::UnsubclassFrame() {
    if (m_hFrameWnd != nullptr) {
        if (::IsWindow(m_hFrameWnd) && reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(
                                           m_hFrameWnd, GWLP_WNDPROC)) == MenuOrganizerProc) {
            ::SetWindowLongPtrA(m_hFrameWnd, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(m_pfnOldWndProc));
            ::RemovePropA(m_hFrameWnd, kPropOldWndProc);
        }
        g_organizerMap.RemoveKey(m_hFrameWnd);
    }
    m_hFrameWnd = nullptr;
    m_pfnOldWndProc = nullptr;
    m_pFrameWnd = nullptr;
    if (g_organizerMap.IsEmpty())
        RemoveMenuHooks();
}

BOOL COXBitmapMenuOrganizer::AttachFrameWnd(CFrameWnd* pFrameWnd) {
    if (m_pFrameWnd != nullptr || pFrameWnd == nullptr)
        return FALSE;
    if (!SubclassFrame(pFrameWnd->GetSafeHwnd()))
        return FALSE;
    m_pFrameWnd = pFrameWnd;
    return TRUE;
}

// Shared by every subclassed frame. The frame's own procedure runs first (it
// updates the commands of a popup before the organizer converts it); it may
// destroy the window or even the organizer (a main frame deletes itself, and its
// organizer member, at WM_NCDESTROY), so the organizer is looked up again after it.
LRESULT CALLBACK COXBitmapMenuOrganizer::MenuOrganizerProc(HWND hWnd, UINT nMsg, WPARAM wParam,
                                                           LPARAM lParam) {
    COXBitmapMenuOrganizer* pOrganizer = FindOrganizer(hWnd);
    WNDPROC pfnOld = pOrganizer != nullptr
                         ? pOrganizer->m_pfnOldWndProc
                         : reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kPropOldWndProc));
    if (pfnOld == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);

    if (nMsg == WM_MEASUREITEM && pOrganizer != nullptr) {
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_MEASUREITEM\n"));
        return pOrganizer->OnMeasureItem(static_cast<int>(wParam),
                                         reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    }

    LRESULT lResult = ::CallWindowProcA(pfnOld, hWnd, nMsg, wParam, lParam);

    pOrganizer = FindOrganizer(hWnd);
    if (nMsg == WM_NCDESTROY) {
        // The handle may be reused: let go of it now.
        if (pOrganizer != nullptr)
            pOrganizer->UnsubclassFrame();
        else
            ::RemovePropA(hWnd, kPropOldWndProc);
        return lResult;
    }
    if (pOrganizer == nullptr || !::IsWindow(hWnd))
        return lResult;

    switch (nMsg) {
    case WM_MENUCHAR: {
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_MENUCHAR\n"));
        char chLower = static_cast<char>(LOWORD(wParam));
        ::CharLowerBuffA(&chLower, 1);
        lResult = pOrganizer->OnMenuChar(static_cast<BYTE>(chLower), HIWORD(wParam),
                                         CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        break;
    }
    case WM_INITMENUPOPUP:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_INITMENUPOPUP\n"));
        pOrganizer->HandleInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam),
                                        HIWORD(lParam));
        break;
    case WM_COMMAND:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_COMMAND\n"));
        // Menus send notification code 0 without a control window; accelerators
        // and controls are not menu choices.
        if (HIWORD(wParam) == 0 && lParam == 0)
            pOrganizer->HandleCommand(LOWORD(wParam));
        break;
    case WM_ENTERMENULOOP:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_ENTERMENULOOP\n"));
        if (wParam == 0)
            pOrganizer->m_bWindowMenuLoop = TRUE;
        break;
    case WM_EXITMENULOOP:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_EXITMENULOOP\n"));
        pOrganizer->HandleExitMenuLoop(wParam != 0);
        break;
    case WM_MENUSELECT:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_MENUSELECT\n"));
        pOrganizer->HandleMenuSelect(reinterpret_cast<HMENU>(lParam));
        break;
    case WM_OX_SAVEMENUSTATE:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc - WM_OX_SAVEMENUSTATE\n"));
        if (wParam != 0)
            pOrganizer->SaveRUSubmenusState(reinterpret_cast<HMENU>(wParam),
                                            reinterpret_cast<LPCTSTR>(lParam));
        break;
    case WM_OX_LOADMENUSTATE:
        KWTRACE(("COXBitmapMenuOrganizer::MenuOrganizerProc\n"));
        if (wParam != 0)
            pOrganizer->LoadRUSubmenusState(reinterpret_cast<HMENU>(wParam),
                                            reinterpret_cast<LPCTSTR>(lParam));
        break;
    default:
        break;
    }
    return lResult;
}

HWND COXBitmapMenuOrganizer::GetPopupWindow(HMENU hPopupMenu) const {
    HWND hWnd = nullptr;
    return m_mapPopupWindows.Lookup(hPopupMenu, hWnd) ? hWnd : nullptr;
}

void COXBitmapMenuOrganizer::RevalidateTracedCount() {
    int nVisible = 0;
    while (nVisible < m_arrPopupTrace.GetSize()) {
        HWND hWnd = GetPopupWindow(m_arrPopupTrace[nVisible].hPopupMenu);
        if (hWnd == nullptr || !::IsWindowVisible(hWnd))
            break;
        ++nVisible;
    }
    if (m_nTracedPopups > nVisible)
        m_nTracedPopups = nVisible;
}

void COXBitmapMenuOrganizer::HandleInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu) {
    RevalidateTracedCount();
    // The popups after the still shown ones have closed; the new popup takes the
    // place (and, until its first selection, the window) of the first of them.
    for (INT_PTR i = m_arrPopupTrace.GetUpperBound(); i >= m_nTracedPopups; --i) {
        const HMENU hOldMenu = m_arrPopupTrace[i].hPopupMenu;
        const HWND hOldWnd = GetPopupWindow(hOldMenu);
        m_mapPopupWindows.RemoveKey(hOldMenu);
        if (i == m_nTracedPopups && hOldWnd != nullptr)
            m_mapPopupWindows.SetAt(hPopupMenu, hOldWnd);
        m_arrPopupTrace.RemoveAt(i);
    }
    ++m_nTracedPopups;
    if (bSysMenu) {
        KWTRACE(("\nCOXBitmapMenuOrganizer::MenuOrganizerProc: System Menu skipping Ownerdraw\n"));
        return;
    }
    OnInitMenuPopup(CMenu::FromHandle(hPopupMenu), nIndex, FALSE);
    OXPOPUPMENUTRACE trace = {hPopupMenu, {0, 0}};
    m_arrPopupTrace.Add(trace);
}

void COXBitmapMenuOrganizer::HandleMenuSelect(HMENU hMenu) {
    if (hMenu == nullptr || m_arrPopupTrace.IsEmpty())
        return;
    OXPOPUPMENUTRACE& last = m_arrPopupTrace[m_arrPopupTrace.GetUpperBound()];
    if (last.hPopupMenu != hMenu)
        return;
    HWND hWnd = FindSelectedPopupWindow();
    RECT rect = {};
    if (hWnd != nullptr && ::GetWindowRect(hWnd, &rect)) {
        last.ptTopLeft.x = rect.left;
        last.ptTopLeft.y = rect.top;
    }
    m_mapPopupWindows.SetAt(hMenu, hWnd);
    if (m_bShortenedMenus)
        InstallMenuHooks();
}

void COXBitmapMenuOrganizer::HandleExitMenuLoop(BOOL bTrackPopupMenu) {
    if (!bTrackPopupMenu) {
        if (m_bExpanded) {
            m_bExpanded = FALSE;
            if (m_bShortenedMenus)
                RestoreAllBitmapMenus(TRUE);
        }
        m_bWindowMenuLoop = FALSE;
        m_nTracedPopups = 0;
    }
    RemoveMenuHooks();
}

void COXBitmapMenuOrganizer::HandleCommand(UINT nCmdID) {
    if (nCmdID == ID_OX_SHOWALLITEMS) {
        HandleShowAllItems();
        return;
    }
    if (nCmdID == 0 || !m_bShortenedMenus || m_arrPopupTrace.IsEmpty())
        return;
    // The command and the submenus that led to it are in use again.
    BOOL bChanged = RemoveHiddenCommand(nCmdID);
    for (INT_PTR i = 1; i < m_arrPopupTrace.GetSize(); ++i)
        if (RemoveHiddenSubmenu(m_arrPopupTrace[i].hPopupMenu))
            bChanged = TRUE;
    if (bChanged && m_pFrameWnd != nullptr && ::IsWindow(m_hFrameWnd))
        ::SendMessageA(m_hFrameWnd, WM_OX_MENUSTATECHANGED, 0, 0);
}

void COXBitmapMenuOrganizer::HandleShowAllItems() {
    RestoreAllBitmapMenus(FALSE);
    m_bExpanded = TRUE;
    RevalidateTracedCount();
    if (m_nTracedPopups <= 0)
        return;
    const int nLast = m_nTracedPopups - 1;
    const HWND hLastWnd = GetPopupWindow(m_arrPopupTrace[nLast].hPopupMenu);
    // Without a window menu the menu bar shows the popups: it reopens its own
    // item on the same command, so a first-level popup only closes, without
    // the frame flashing meanwhile.
    const BOOL bMenuBar = ::GetMenu(m_hFrameWnd) == nullptr;
    const BOOL bLock = bMenuBar && m_nTracedPopups == 1;
    HWND hReopen = nullptr;
    if (!bLock)
        hReopen = m_nTracedPopups == 1 ? m_hFrameWnd
                                       : GetPopupWindow(m_arrPopupTrace[nLast - 1].hPopupMenu);
    if (bLock)
        ::LockWindowUpdate(m_hFrameWnd);
    if (hLastWnd != nullptr) {
        if (bMenuBar) {
            KWTRACE(("MenuOrganizerProc ::SendMessage(hWnd,WM_KEYDOWN,VK_ESCAPE,0x00010001);"));
            ::SendMessageA(hLastWnd, WM_KEYDOWN, VK_ESCAPE, kEscapeKeyData);
        } else {
            KWTRACE(("MenuOrganizerProc ::PostMessage(hWnd,WM_KEYDOWN,VK_ESCAPE,0x00010001);"));
            ::PostMessageA(hLastWnd, WM_KEYDOWN, VK_ESCAPE, kEscapeKeyData);
        }
    }
    if (bLock)
        ::LockWindowUpdate(nullptr);
    if (!bLock && hReopen != nullptr) {
        if (bMenuBar)
            ::SendMessageA(hReopen, WM_KEYDOWN, VK_RETURN, kReturnKeyData);
        else
            ::PostMessageA(hReopen, WM_KEYDOWN, VK_RETURN, kReturnKeyData);
    }
}

// ---------------------------------------------------------------------------
// Menu hooks

void COXBitmapMenuOrganizer::InstallMenuHooks() {
    if (s_hMenuMouseHook == nullptr)
        s_hMenuMouseHook =
            ::SetWindowsHookExA(WH_MOUSE, MenuMouseHookProc, nullptr, ::GetCurrentThreadId());
    if (s_hMenuKeyboardHook == nullptr)
        s_hMenuKeyboardHook =
            ::SetWindowsHookExA(WH_KEYBOARD, MenuKeyboardHookProc, nullptr, ::GetCurrentThreadId());
}

void COXBitmapMenuOrganizer::RemoveMenuHooks() {
    if (s_hMenuMouseHook != nullptr)
        ::UnhookWindowsHookEx(s_hMenuMouseHook);
    if (s_hMenuKeyboardHook != nullptr)
        ::UnhookWindowsHookEx(s_hMenuKeyboardHook);
    s_hMenuMouseHook = nullptr;
    s_hMenuKeyboardHook = nullptr;
}

LRESULT CALLBACK COXBitmapMenuOrganizer::MenuMouseHookProc(int nCode, WPARAM wParam,
                                                           LPARAM lParam) {
    KWTRACE(("COXBitmapMenuOrganizer::MenuMouseHookProc code: %0X, wParam: %0X, lParam: %0X \n",
             static_cast<unsigned>(nCode), static_cast<unsigned>(wParam),
             static_cast<unsigned>(lParam)));
    if (nCode >= 0 && wParam >= WM_LBUTTONDOWN && wParam <= WM_RBUTTONDBLCLK && lParam != 0) {
        CWnd* pMainWnd = AfxGetMainWnd();
        COXBitmapMenuOrganizer* pOrganizer =
            pMainWnd != nullptr ? FindOrganizer(pMainWnd->GetSafeHwnd()) : nullptr;
        if (pOrganizer != nullptr)
            pOrganizer->HandleMenuMouse(static_cast<UINT>(wParam),
                                        reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam)->pt);
    }
    return ::CallNextHookEx(s_hMenuMouseHook, nCode, wParam, lParam);
}

// Kept beside the mouse hook for the length of a menu loop; it only passes keys on.
LRESULT CALLBACK COXBitmapMenuOrganizer::MenuKeyboardHookProc(int nCode, WPARAM wParam,
                                                              LPARAM lParam) {
    return ::CallNextHookEx(s_hMenuKeyboardHook, nCode, wParam, lParam);
}

void COXBitmapMenuOrganizer::HandleMenuMouse(UINT nMsg, POINT pt) {
    const HWND hHit = ::WindowFromPoint(pt);
    const INT_PTR nSize = m_arrPopupTrace.GetSize();
    for (INT_PTR i = 0; i < nSize; ++i) {
        const HMENU hMenu = m_arrPopupTrace[i].hPopupMenu;
        const HWND hWnd = GetPopupWindow(hMenu);
        if (hWnd == nullptr || hWnd != hHit)
            continue;
        // A press in an outer popup closes the submenus opened from it.
        if (i + 1 < m_nTracedPopups) {
            for (INT_PTR j = i + 1; j < nSize; ++j) {
                const HWND hLater = GetPopupWindow(m_arrPopupTrace[j].hPopupMenu);
                if (hLater != nullptr && ::IsWindow(hLater))
                    ::SendMessageA(hLater, WM_KEYDOWN, VK_ESCAPE, kEscapeKeyData);
            }
            m_nTracedPopups = static_cast<int>(i + 1);
        }
        const int nItem = ::MenuItemFromPoint(nullptr, hMenu, pt);
        if (nItem >= 0 && ::GetMenuItemID(hMenu, nItem) == ID_OX_SHOWALLITEMS &&
            nMsg != WM_LBUTTONDOWN && nMsg != WM_RBUTTONDOWN)
            ::PostMessageA(m_hFrameWnd, WM_COMMAND, ID_OX_SHOWALLITEMS, 0);
        break;
    }
}
