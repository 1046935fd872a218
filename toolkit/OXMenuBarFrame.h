// OXMenuBarFrame.h: the frame templates that show a frame's menu in a menu
// bar instead of the window menu. COXMenuBarHost<PARENTWND> creates and owns
// the bar, moves the window menu into it, routes the frame's menu operations
// to it and feeds it the thread's mouse and keyboard, so that hovering over
// another item while a popup is open switches popups, and Alt, Alt+letter,
// the arrows and Esc work on the bar. COXMenuBarFrame<PARENTFRAME,
// PARENTDOCKBAR> adds sizeable docking on the chosen sides (menu dock bars, so
// the menu bar docks on any side and floats), keeps the bar in step with the
// MDI children through a filter on the MDI client, and answers the bars'
// WM_QUERYTABDOCKING.
//
// Classes: COXMenuBarHostLink (what the shared hooks and the MDI client
// filter call, OXMenuBarFrame.cpp); COXMenuBarHost; COXMenuBarFrame.
//
// Process-wide (OXMenuBarFrame.cpp): the map from frame window to host, one
// WH_MOUSE and one WH_KEYBOARD hook installed for the thread of the first host
// whose bar was made and removed when the last host leaves the map, the
// Alt-pressed flag and the last mouse point the mouse hook saw.
//
// The MDI client filter keeps the procedure it replaced on the client window
// itself (window properties), so the client reaches it even after its frame
// has left the map, and it gives the client back at WM_NCDESTROY. When another
// component takes the client over and swallows WM_NULL, the next
// WM_IDLEUPDATECMDUI to the frame finds the filter gone, traces it and puts it
// on top again; the component then sits under the filter and, as it hands its
// messages to the filter it replaced, each message that comes back that way
// goes on to the client's own procedure instead of round the loop.
//
// Where it goes beyond the plain scheme, and why:
// - the mouse hook always passes the event on, so the bars' and floating
//   frames' own mouse hooks keep seeing every move;
// - after a repair only the window's own menu is taken off; the bar keeps its;
// - the framework makes MDI children straight through CreateWindowEx, so the
//   client's WM_PARENTNOTIFY of a child made or destroyed refreshes the bar too;
// - Wine does not select the parent item again when a submenu closes, so a
//   popup leaves the stack of open popups at its WM_UNINITMENUPOPUP as well;
// - the length check compares the bar with the length the menu dock bar gives
//   it (the reference dock bar and the overlap at both ends): against the dock
//   bar alone it would find a difference, and lay out twice, every time;
// - the window menu the frame was made with is destroyed with the frame, as
//   the window no longer holds it.
#pragma once

#include "OXMenuBar.h"
#include "OXMenuDockBar.h"
#include "OXSizeCtrlBar.h"
#include "OXSizeDockBar.h"

#include "Common/TraceLog.h"
#include "framework/Collections.h"
#include "framework/Exception.h"
#include "framework/MDIFrameWnd.h"
#include "framework/MiniFrameWnd.h"

// Control id and window style of the bar the host makes: WS_CHILD, WS_VISIBLE,
// CBRS_GRIPPER, CBRS_ALIGN_TOP, CBRS_BORDER_BOTTOM, CBRS_SIZE_DYNAMIC.
#define OX_IDW_MENUBAR 0xE810
#define OX_MENUBAR_STYLE 0x50402804
// The show-all entry of a shortened popup: the bar then reopens its pending
// item in full.
#ifndef ID_OX_SHOWALLITEMS
#define ID_OX_SHOWALLITEMS 0xFF56
#endif

// What the shared hooks and the MDI client filter reach a host through.
class COXMenuBarHostLink {
public:
    virtual ~COXMenuBarHostLink() = default;
    // Non-zero: the host used the mouse event (it goes on all the same).
    virtual LRESULT HandleMouseHook(int nCode, UINT nMouseMsg,
                                    const MOUSEHOOKSTRUCT* pHookData) = 0;
    // Non-zero: the key is swallowed.
    virtual LRESULT HandleKeyboardHook(int nCode, WPARAM nVirtKey, LPARAM lKeyFlags) = 0;
    // A message to the MDI client of this host's frame; here it only goes on.
    virtual LRESULT MDIClientFilter(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Alt went down alone and has not come up yet (keyboard hook).
    static int s_nAltPressed;
    // The last point the mouse hook looked at, in menu-bar client coordinates.
    static CPoint s_ptLastMouse;
};

// ---- The process-wide part (OXMenuBarFrame.cpp).
void OXEnterMenuBarHost(HWND hWndFrame, COXMenuBarHostLink* pHost);
// Takes the frame out of the map; TRUE when the map is empty then.
BOOL OXRemoveMenuBarHost(HWND hWndFrame);
COXMenuBarHostLink* OXFindMenuBarHost(HWND hWndFrame);
// Installs each hook for this thread unless it is installed already.
void OXInstallMenuBarHostHooks();
void OXRemoveMenuBarHostHooks();
BOOL OXMenuBarHostHooksInstalled();
// The filter procedure put on an MDI client.
LRESULT CALLBACK MDIClientWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Puts the filter on hWndClient unless its procedure is pfnOldProc or the
// filter already; pfnOldProc gets the procedure replaced. TRUE when it did.
BOOL OXSubclassMDIClient(HWND hWndClient, WNDPROC& pfnOldProc);
// Hands a client message on to pfnNext (0 when null).
LRESULT OXCallNextMDIClientProc(WNDPROC pfnNext, HWND hWnd, UINT message, WPARAM wParam,
                                LPARAM lParam);

template <class PARENTWND> class COXMenuBarHost : public PARENTWND, public COXMenuBarHostLink {
public:
    COXMenuBarHost();
    // A frame deletes itself with its window, so its window is gone by now;
    // an object deleted with its window alive still leaves the map and, as
    // the last host, takes the hooks with it.
    ~COXMenuBarHost() override;

    // With the bar made, the menu goes to the bar and the window keeps none.
    BOOL SetMenu(CMenu* pMenu) override;
    CMenu* GetMenu() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual BOOL OnCreateMenuBar(HMENU hMenu, CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    LRESULT HandleMouseHook(int nCode, UINT nMouseMsg, const MOUSEHOOKSTRUCT* pHookData) override;
    LRESULT HandleKeyboardHook(int nCode, WPARAM nVirtKey, LPARAM lKeyFlags) override;
    virtual COXMenuBar& GetMenuBar() { return m_menuBar; }
    virtual void DrawMenuBar();

    BOOL m_bIsFrame;
    BOOL m_bIsMDIFrame;
    COXMenuBar m_menuBar;
    // The window menu the frame was created with: owned from the moment it
    // leaves the window, destroyed with the frame.
    HMENU m_hSavedMenu;
    // The item last highlighted in an open popup opens a submenu.
    BOOL m_bSubmenuHighlighted;
    // The popups open now, in the order they opened (not owned).
    CArray<HMENU, HMENU> m_arrOpenPopups;

protected:
    BOOL HasBarWindow() const { return ::IsWindow(m_menuBar.m_hWnd); }

private:
    LRESULT OnHostCreate(WPARAM wParam, LPARAM lParam);
    void OnHostDestroy();
    void OnMenuSelect(UINT nFlags, HMENU hMenu);
    void OnPopupClosed(HMENU hMenu);
};

template <class PARENTFRAME, class PARENTDOCKBAR>
class COXMenuBarFrame : public COXMenuBarHost<PARENTFRAME> {
public:
    // dwDockSides: the CBRS_ALIGN sides docking is enabled for at creation;
    // pFloatingFrameClass: the frame that floating bars live in.
    COXMenuBarFrame(DWORD dwDockSides, CRuntimeClass* pFloatingFrameClass);

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Menu dock bars on the sides of dwDockStyle that have no dock bar yet.
    using PARENTFRAME::EnableDocking;
    virtual void EnableDocking(DWORD dwDockStyle);
    LRESULT MDIClientFilter(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetTabbedDocking(BOOL bTabbedDocking) { m_bTabbedDocking = bTabbedDocking; }
    // After a layout: a docked bar whose length lags behind the dock bars
    // (the frame has just changed size) gets one more layout. TRUE when it did.
    BOOL CheckMenuBarLength(BOOL bNotify);
    void SubclassMDIClient();

    BOOL m_bTabbedDocking; // the answer to WM_QUERYTABDOCKING
    DWORD m_dwDockSides;
    WNDPROC m_pfnOldMDIClientProc; // the procedure MDIClientWndProc hands on to
    BOOL m_bMDIClientAlive;        // WM_NULL passed the filter since the last check

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

private:
    // The filter is still in the MDI client's chain, else it is put back.
    void CheckMDIClientSubclass();
};

// ---------------------------------------------------------------------------
// COXMenuBarHost

template <class PARENTWND>
COXMenuBarHost<PARENTWND>::COXMenuBarHost()
    : m_bIsFrame(this->IsKindOf(RUNTIME_CLASS(CFrameWnd))),
      m_bIsMDIFrame(this->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))), m_hSavedMenu(nullptr),
      m_bSubmenuHighlighted(FALSE) {
    if (!this->IsKindOf(RUNTIME_CLASS(CWnd))) {
        KWTRACE_ERROR(("COXMenuBarHost has to be derived from CFrameWnd or its derivates\n"));
        AfxThrowNotSupportedException();
    }
}

template <class PARENTWND> COXMenuBarHost<PARENTWND>::~COXMenuBarHost() {
    if (this->m_hWnd != nullptr && OXFindMenuBarHost(this->m_hWnd) == this &&
        OXRemoveMenuBarHost(this->m_hWnd))
        OXRemoveMenuBarHostHooks();
}

template <class PARENTWND> BOOL COXMenuBarHost<PARENTWND>::SetMenu(CMenu* pMenu) {
    if (HasBarWindow())
        return m_menuBar.SetMenu(pMenu != nullptr ? pMenu->m_hMenu : nullptr);
    return PARENTWND::SetMenu(pMenu);
}

template <class PARENTWND> CMenu* COXMenuBarHost<PARENTWND>::GetMenu() const {
    if (HasBarWindow())
        return CMenu::FromHandle(const_cast<COXMenuBar&>(m_menuBar).GetMenuHandle());
    return PARENTWND::GetMenu();
}

template <class PARENTWND> void COXMenuBarHost<PARENTWND>::DrawMenuBar() {
    if (HasBarWindow())
        m_menuBar.RefreshButtons();
    else
        ::DrawMenuBar(this->m_hWnd);
}

template <class PARENTWND>
BOOL COXMenuBarHost<PARENTWND>::OnCreateMenuBar(HMENU hMenu, CWnd* pParentWnd, DWORD dwStyle,
                                                UINT nID) {
    if (hMenu == nullptr)
        dwStyle &= ~WS_VISIBLE;
    if (!m_menuBar.Create(pParentWnd, dwStyle, nID)) {
        KWTRACE_ERROR(("COXMenuBarHost<PARENTWND>::OnCreateMenuBar: failed to create menu bar\n"));
        return FALSE;
    }
    if (!m_menuBar.SetMenu(hMenu)) {
        KWTRACE_ERROR(
            ("COXMenuBarHost<PARENTWND>::OnCreateMenuBar: failed to set menu to menu bar\n"));
        return FALSE;
    }
    this->m_hMenuDefault = hMenu;
    return TRUE;
}

template <class PARENTWND>
LRESULT COXMenuBarHost<PARENTWND>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnHostCreate(wParam, lParam);
    case WM_DESTROY:
        OnHostDestroy();
        break;
    case WM_NCDESTROY:
        // The frame's own menu left the window at creation, so the window
        // does not destroy it; the object goes with this message.
        if (m_hSavedMenu != nullptr && ::IsMenu(m_hSavedMenu) &&
            ::GetMenu(this->m_hWnd) != m_hSavedMenu)
            ::DestroyMenu(m_hSavedMenu);
        m_hSavedMenu = nullptr;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && LOWORD(wParam) == ID_OX_SHOWALLITEMS && HasBarWindow())
            m_menuBar.PostMessage(WM_OX_MENUBAR_REOPENPENDING);
        break;
    case WM_INITMENUPOPUP:
        m_bSubmenuHighlighted = FALSE;
        m_arrOpenPopups.Add(reinterpret_cast<HMENU>(wParam));
        // The framework's command update asks by the bar's item index.
        if (!HIWORD(lParam) && HasBarWindow())
            lParam = MAKELPARAM(m_menuBar.GetOpenItem(), HIWORD(lParam));
        break;
    case WM_MENUSELECT:
        OnMenuSelect(HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_UNINITMENUPOPUP:
        // Wine does not select the parent's item again when a submenu closes
        // (Esc, Left), so the closing popup itself takes the stack down to it.
        OnPopupClosed(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_EXITMENULOOP:
        if (wParam == 0)
            m_arrOpenPopups.RemoveAll();
        break;
    case WM_OX_MENUSTATECHANGED:
        if (HasBarWindow())
            m_menuBar.MarkMenuChanged();
        break;
    default:
        break;
    }
    return PARENTWND::WindowProc(message, wParam, lParam);
}

template <class PARENTWND>
LRESULT COXMenuBarHost<PARENTWND>::OnHostCreate(WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = PARENTWND::WindowProc(WM_CREATE, wParam, lParam);
    if (lResult == -1)
        return -1;
    OXEnterMenuBarHost(this->m_hWnd, this);
    if (HasBarWindow())
        m_menuBar.DestroyWindow();
    HMENU hMenu = ::GetMenu(this->m_hWnd);
    if (hMenu != nullptr && ::IsMenu(hMenu)) {
        m_hSavedMenu = hMenu;
        SetMenu(nullptr); // no bar yet: the window's own menu goes
    } else {
        m_hSavedMenu = nullptr;
        KWTRACE_ERROR(("COXMenuBarHost<PARENTWND>::WindowProc: There is no menu associated with "
                       "frame window\n"));
    }
    if (OnCreateMenuBar(m_hSavedMenu, this, OX_MENUBAR_STYLE, OX_IDW_MENUBAR))
        OXInstallMenuBarHostHooks();
    else
        KWTRACE_ERROR(("COXMenuBarHost<PARENTWND>::WindowProc: failed to initialize COXMenuBar "
                       "object\n"));
    return lResult;
}

template <class PARENTWND> void COXMenuBarHost<PARENTWND>::OnHostDestroy() {
    const BOOL bLastHost = OXRemoveMenuBarHost(this->m_hWnd);
    if (HasBarWindow())
        m_menuBar.DestroyWindow();
    if (bLastHost)
        OXRemoveMenuBarHostHooks();
}

template <class PARENTWND> void COXMenuBarHost<PARENTWND>::OnMenuSelect(UINT nFlags, HMENU hMenu) {
    const BOOL bClosing = nFlags == 0xFFFF && hMenu == nullptr;
    m_bSubmenuHighlighted = (nFlags & MF_POPUP) != 0 && !bClosing;
    if ((nFlags & MF_HILITE) == 0)
        return;
    // The closing notice names no menu, so it empties the stack.
    while (m_arrOpenPopups.GetSize() > 0 && m_arrOpenPopups[m_arrOpenPopups.GetSize() - 1] != hMenu)
        m_arrOpenPopups.RemoveAt(m_arrOpenPopups.GetSize() - 1);
}

template <class PARENTWND> void COXMenuBarHost<PARENTWND>::OnPopupClosed(HMENU hMenu) {
    for (INT_PTR i = m_arrOpenPopups.GetSize() - 1; i >= 0; --i) {
        if (m_arrOpenPopups[i] == hMenu) {
            m_arrOpenPopups.SetSize(i);
            return;
        }
    }
}

template <class PARENTWND>
LRESULT COXMenuBarHost<PARENTWND>::HandleMouseHook(int nCode, UINT nMouseMsg,
                                                   const MOUSEHOOKSTRUCT* pHookData) {
    COXMenuBar& bar = GetMenuBar();
    if (!::IsWindow(this->m_hWnd) || !::IsWindow(bar.m_hWnd) || nCode != HC_ACTION ||
        !bar.IsPopupOpen() || pHookData->hwnd == bar.m_hWnd)
        return 0;
    if (nMouseMsg != WM_MOUSEMOVE && nMouseMsg != WM_LBUTTONDOWN)
        return 0;
    CRect rectBar;
    bar.GetWindowRect(&rectBar);
    if (!rectBar.PtInRect(pHookData->pt) || ::WindowFromPoint(pHookData->pt) != bar.m_hWnd)
        return 0;
    CPoint ptClient(pHookData->pt);
    bar.ScreenToClient(&ptClient);
    int nHit = bar.HitTest(ptClient, OX_MENUBAR_HT_CLIENT);
    const int nIconItem = ::GetMenuItemCount(bar.GetMenuHandle());
    if (nHit == OX_MENUBAR_ICON)
        nHit = nIconItem;
    if (nMouseMsg == WM_MOUSEMOVE) {
        if (ptClient != s_ptLastMouse && nHit >= 0 && nHit != bar.GetOpenItem()) {
            // A click beside the open popup closes it; the bar then opens the
            // next item.
            bar.SetNextOpenItem(nHit);
            const LPARAM lPoint = MAKELPARAM(ptClient.x, ptClient.y);
            ::PostMessageA(pHookData->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
            ::PostMessageA(pHookData->hwnd, WM_LBUTTONUP, MK_LBUTTON, lPoint);
            return 1;
        }
    } else if (nHit >= 0) {
        bar.SetJustClosedItem(nHit);
    }
    s_ptLastMouse = ptClient;
    return 0;
}

template <class PARENTWND>
LRESULT COXMenuBarHost<PARENTWND>::HandleKeyboardHook(int nCode, WPARAM nVirtKey,
                                                      LPARAM lKeyFlags) {
    COXMenuBar& bar = GetMenuBar();
    if (nCode != HC_ACTION || !::IsWindow(bar.m_hWnd) || !this->IsWindowEnabled() ||
        ::GetActiveWindow() != this->m_hWnd)
        return 0;
    const BOOL bRelease = (lKeyFlags & 0x80000000) != 0;
    const BOOL bRepeat = (lKeyFlags & 0x40000000) != 0;
    const UINT nKey = static_cast<UINT>(nVirtKey);
    if (bar.IsPopupOpen()) {
        if (bRelease)
            return 0;
        const INT_PTR nOpen = m_arrOpenPopups.GetSize();
        // Left leaves a submenu and Right enters one by themselves; Esc in a
        // submenu closes only the submenu.
        if ((nKey == VK_LEFT && nOpen <= 1) || (nKey == VK_RIGHT && !m_bSubmenuHighlighted) ||
            (nKey == VK_ESCAPE && nOpen == 1))
            return bar.HandleMenuKey(nKey);
        return 0;
    }
    if (nKey == VK_MENU) {
        if (!bRelease && !bRepeat) {
            s_nAltPressed = 1;
            return 1;
        }
        if (bRelease && s_nAltPressed) {
            bar.HandleMenuKey(0); // Alt alone selects the bar
            s_nAltPressed = 0;
            return 1;
        }
        return 0;
    }
    if (::GetKeyState(VK_MENU) >= 0 && !bar.IsInSurfingMode())
        return 0;
    s_nAltPressed = 0;
    if (bRelease || ::GetKeyState(VK_F4) < 0)
        return 0; // Alt+F4 keeps its meaning
    return bar.HandleMenuKey(nKey);
}

// ---------------------------------------------------------------------------
// COXMenuBarFrame

template <class PARENTFRAME, class PARENTDOCKBAR>
COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::COXMenuBarFrame(DWORD dwDockSides,
                                                             CRuntimeClass* pFloatingFrameClass)
    : m_bTabbedDocking(FALSE), m_dwDockSides(dwDockSides), m_pfnOldMDIClientProc(nullptr),
      m_bMDIClientAlive(FALSE) {
    if (!this->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        KWTRACE_ERROR(("COXMenuBarFrame has to be derived from CFrameWnd or its derivates\n"));
        AfxThrowNotSupportedException();
    }
    this->m_pFloatingFrameClass = pFloatingFrameClass;
}

template <class PARENTFRAME, class PARENTDOCKBAR>
BOOL COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle,
                                                            CWnd* pParentWnd,
                                                            CCreateContext* pContext) {
    if (!PARENTFRAME::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE; // the object is gone
    // The framework took the window's menu, which the bar holds now.
    if (this->HasBarWindow())
        this->m_hMenuDefault = this->m_menuBar.GetMenuHandle();
    return TRUE;
}

template <class PARENTFRAME, class PARENTDOCKBAR>
void COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::RecalcLayout(BOOL bNotify) {
    PARENTFRAME::RecalcLayout(bNotify);
    CheckMenuBarLength(bNotify);
}

template <class PARENTFRAME, class PARENTDOCKBAR>
BOOL COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::OnCreateClient(LPCREATESTRUCT lpcs,
                                                                 CCreateContext* pContext) {
    const BOOL bResult = PARENTFRAME::OnCreateClient(lpcs, pContext);
    OXEnterMenuBarHost(this->m_hWnd, this);
    if (bResult)
        SubclassMDIClient();
    return bResult;
}

template <class PARENTFRAME, class PARENTDOCKBAR>
void COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::SubclassMDIClient() {
    if (OXSubclassMDIClient(this->m_hWndMDIClient, m_pfnOldMDIClientProc))
        m_bMDIClientAlive = TRUE;
}

template <class PARENTFRAME, class PARENTDOCKBAR>
void COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::EnableDocking(DWORD dwDockStyle) {
    struct SSide {
        UINT nID;
        DWORD dwBarStyle;
    };
    static const SSide kSides[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
    };
    for (const SSide& side : kSides) {
        if ((dwDockStyle & side.dwBarStyle & CBRS_ALIGN_ANY) == 0 ||
            this->GetControlBar(side.nID) != nullptr)
            continue;
        auto* pDockBar = new COXMenuDockBar<PARENTDOCKBAR>;
        if (!pDockBar->Create(
                this, side.dwBarStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                side.nID)) {
            delete pDockBar;
            AfxThrowResourceException();
        }
    }
}

template <class PARENTFRAME, class PARENTDOCKBAR>
BOOL COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::CheckMenuBarLength(BOOL bNotify) {
    COXMenuBar& bar = this->m_menuBar;
    if (!::IsWindow(bar.m_hWnd) || bar.IsFloating())
        return FALSE;
    const BOOL bHorz = (bar.GetBarStyle() & CBRS_ORIENT_HORZ) != 0;
    if (this->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT) == nullptr)
        return FALSE;
    CControlBar* pReference =
        this->GetControlBar(bHorz ? AFX_IDW_DOCKBAR_BOTTOM : AFX_IDW_DOCKBAR_RIGHT);
    if (pReference == nullptr)
        return FALSE;
    // The menu dock bar stretches the bar as long as the bottom (right) dock
    // bar plus the borders by which it overlaps the frame's edges; a bar of
    // that length is in step.
    CRect rectBar, rectReference;
    bar.GetWindowRect(&rectBar);
    pReference->GetWindowRect(&rectReference);
    const COXDockAxis axis(bHorz);
    if (axis.Length(rectBar) == axis.Length(rectReference) + 2 * axis.BorderAlong())
        return FALSE;
    PARENTFRAME::RecalcLayout(bNotify);
    return TRUE;
}

template <class PARENTFRAME, class PARENTDOCKBAR>
LRESULT COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::WindowProc(UINT message, WPARAM wParam,
                                                                LPARAM lParam) {
    using Host = COXMenuBarHost<PARENTFRAME>;
    switch (message) {
    case WM_CREATE: {
        const LRESULT lResult = Host::WindowProc(message, wParam, lParam);
        if (lResult == -1)
            return -1;
        this->SendMessage(WM_IDLEUPDATECMDUI);
        // A bar that could not be made has nothing to dock.
        if (this->HasBarWindow()) {
            this->m_menuBar.EnableDocking(m_dwDockSides, TRUE);
            if (m_dwDockSides != 0) {
                EnableDocking(m_dwDockSides);
                CRect rectEmpty(0, 0, 0, 0);
                this->DockControlBar(&this->m_menuBar, 0u, &rectEmpty);
            }
        }
        return lResult;
    }
    case WM_INITMENU:
        if (this->HasBarWindow() && this->m_menuBar.GetMenuHandle() != nullptr)
            wParam = reinterpret_cast<WPARAM>(this->m_menuBar.GetMenuHandle());
        break;
    case WM_QUERYTABDOCKING:
        return m_bTabbedDocking;
    case WM_IDLEUPDATECMDUI:
        CheckMDIClientSubclass();
        break;
    default:
        break;
    }
    return Host::WindowProc(message, wParam, lParam);
}

template <class PARENTFRAME, class PARENTDOCKBAR>
void COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::CheckMDIClientSubclass() {
    if (!::IsWindow(this->m_hWndMDIClient))
        return;
    m_bMDIClientAlive = FALSE;
    ::SendMessageA(this->m_hWndMDIClient, WM_NULL, 0, 0);
    if (m_bMDIClientAlive)
        return;
    KWTRACE_ERROR(("COXMenuBarFrame: menubar has been removed out of the list of objects that "
                   "subclass MDIClient\n"));
    SubclassMDIClient();
    // Whatever put a menu on the window while the filter was away: the bar
    // keeps the menu, the window shows none.
    if (::GetMenu(this->m_hWnd) != nullptr)
        ::SetMenu(this->m_hWnd, nullptr);
}

template <class PARENTFRAME, class PARENTDOCKBAR>
LRESULT COXMenuBarFrame<PARENTFRAME, PARENTDOCKBAR>::MDIClientFilter(HWND hWnd, UINT message,
                                                                     WPARAM wParam, LPARAM lParam) {
    COXMenuBar& bar = this->m_menuBar;
    switch (message) {
    case WM_NULL:
        m_bMDIClientAlive = TRUE;
        break;
    case WM_PARENTNOTIFY:
        // The framework makes its children straight through CreateWindowEx,
        // so the client hears of them only as their parent.
        if (LOWORD(wParam) != WM_CREATE && LOWORD(wParam) != WM_DESTROY)
            break;
        [[fallthrough]];
    case WM_MDICREATE:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
        // The bar refreshes its child icon and buttons at once.
        if (::IsWindow(bar.m_hWnd))
            bar.PostMessage(WM_IDLEUPDATECMDUI);
        break;
    case WM_MDISETMENU:
        if (wParam != 0 && ::IsWindow(bar.m_hWnd))
            bar.SetMenu(reinterpret_cast<HMENU>(wParam));
        // The client leaves the frame's window menu alone and keeps its list
        // of children in the bar's window menu.
        wParam = 0;
        if (bar.GetWindowMenu() != nullptr)
            lParam = reinterpret_cast<LPARAM>(bar.GetWindowMenu());
        break;
    default:
        break;
    }
    return OXCallNextMDIClientProc(m_pfnOldMDIClientProc, hWnd, message, wParam, lParam);
}
