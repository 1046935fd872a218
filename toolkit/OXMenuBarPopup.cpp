// OXMenuBarPopup.cpp: COXMenuBar's popups (opening, chaining from one item to
// the next, closing), keyboard surfing and the keys routed to the bar.
#include "OXMenuBar.h"

#include "OXBitmapMenu.h"
#include "OXBitmapMenuOrganizer.h"
#include "OXMenuBarKeys.h"

#include "Common/TraceLog.h"
#include "framework/MDIFrameWnd.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

namespace {

// Sends to a window that still exists; 0 otherwise.
LRESULT SendIfAlive(CWnd* pWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
    if (pWnd == nullptr || !::IsWindow(pWnd->GetSafeHwnd()))
        return 0;
    return pWnd->SendMessage(nMsg, wParam, lParam);
}

// Removes every queued nMsg of hWnd; the wParam of the last one, or wParam
// when none was queued. PeekMessage hands out WM_QUIT whatever the filter, so
// a quit met here is put back for the message loop.
WPARAM TakeLastQueued(HWND hWnd, UINT nMsg, WPARAM wParam) {
    MSG msg;
    while (::PeekMessageA(&msg, hWnd, nMsg, nMsg, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        wParam = msg.wParam;
    }
    return wParam;
}

} // namespace

// ---------------------------------------------------------------------------
// Items

LRESULT COXMenuBar::SendToFrame(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return SendIfAlive(m_pFrame, nMsg, wParam, lParam);
}

UINT COXMenuBar::GetItemCommand(int nItem) const {
    if (nItem < 0 || nItem >= GetItemCount())
        return 0;
    return ::GetMenuItemID(m_hMenu, nItem);
}

BOOL COXMenuBar::IsCommandItem(int nItem) const {
    const UINT nID = GetItemCommand(nItem);
    return nID != static_cast<UINT>(-1) && nID != 0xFFFF;
}

BOOL COXMenuBar::IsPopupOpen() const {
    return m_nOpenItem >= 0 && m_nOpenItem <= GetCount();
}

int COXMenuBar::GetHotItem() const {
    return static_cast<int>(const_cast<COXMenuBar*>(this)->SendMessage(TB_GETHOTITEM));
}

void COXMenuBar::SetHotItem(int nItem) {
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nItem));
}

void COXMenuBar::PressItemButton(int nItem, BOOL bPress) {
    SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(nItem + 1), MAKELPARAM(bPress, 0));
}

void COXMenuBar::SendMenuSelect(int nItem) {
    const int nCount = GetItemCount();
    WPARAM wParam = 0;
    if (nItem >= 0 && nItem < nCount)
        wParam = MAKEWPARAM(nItem, MF_POPUP | MF_HILITE);
    else if (nItem == nCount && HasIconItem())
        wParam = MAKEWPARAM(0, MF_SYSMENU);
    else
        return;
    SendToFrame(WM_MENUSELECT, wParam, reinterpret_cast<LPARAM>(m_hMenu));
}

int COXMenuBar::GetNextItem(int nItem, BOOL bCheckVisible) const {
    const int nCount = GetItemCount();
    int nNext = OXStepMenuItem(nItem, nCount, HasIconItem(), TRUE);
    if (bCheckVisible && nNext >= 0 && nNext != nCount) {
        CRect rectItem, rectClient;
        GetItemRect(nNext, &rectItem);
        GetClientRect(&rectClient);
        if (rectItem.left > rectClient.right)
            nNext = HasIconItem() ? nCount : 0;
    }
    return nNext;
}

int COXMenuBar::GetPrevItem(int nItem, BOOL bCheckVisible) const {
    const int nCount = GetItemCount();
    int nPrev = OXStepMenuItem(nItem, nCount, HasIconItem(), FALSE);
    if (bCheckVisible && nPrev >= 0 && nPrev != nCount) {
        CRect rectItem, rectClient;
        GetItemRect(nPrev, &rectItem);
        GetClientRect(&rectClient);
        if (rectItem.left > rectClient.right)
            nPrev = HasIconItem() ? nCount : 0;
    }
    return nPrev;
}

// ---------------------------------------------------------------------------
// Popups

void COXMenuBar::TrackItemPopup(int nItem) {
    m_nPendingItem = nItem;
    const int nCount = GetItemCount();
    const bool bNoPopup = m_hMenu == nullptr || nItem < 0 || nItem > nCount ||
                          (nItem == nCount && !HasIconItem()) ||
                          (nItem < nCount && IsCommandItem(nItem));
    if (bNoPopup) {
        if (m_hMenu != nullptr && m_bSurfing && nItem >= 0 && nItem < nCount)
            SendIfAlive(AfxGetMainWnd(), WM_COMMAND, MAKEWPARAM(GetItemCommand(nItem), 0));
        EndPopup();
        return;
    }

    const BOOL bWasOpen = IsPopupOpen();
    const BOOL bWasSurfing = m_bSurfing;
    SetSurfingMode(FALSE, -1);

    HMENU hPopup = nullptr;
    if (nItem == nCount) {
        CMDIChildWnd* pChild = GetMaximizedChild();
        if (pChild == nullptr)
            return;
        hPopup = ::GetSystemMenu(pChild->m_hWnd, FALSE);
    } else if ((::GetMenuState(m_hMenu, static_cast<UINT>(nItem), MF_BYPOSITION) &
                (MF_GRAYED | MF_DISABLED)) == 0) {
        hPopup = ::GetSubMenu(m_hMenu, nItem);
    }
    if (hPopup == nullptr) {
        EndPopup();
        return;
    }

    if (!bWasSurfing) {
        if (!bWasOpen) {
            // The bar's popups run as the frame's own menu loop (wParam 0).
            SendToFrame(WM_ENTERMENULOOP, FALSE);
            SendToFrame(WM_INITMENU, reinterpret_cast<WPARAM>(m_hMenu));
        }
        SendMenuSelect(nItem);
    }

    CRect rectItem;
    GetMenuItemRect(nItem, &rectItem);
    ClientToScreen(&rectItem);

    CWnd* pMainWnd = AfxGetMainWnd();
    COXBitmapMenu* pBitmapMenu = nullptr;
    COXBitmapMenuOrganizer* pOrganizer =
        pMainWnd != nullptr ? COXBitmapMenuOrganizer::FindOrganizer(pMainWnd->m_hWnd) : nullptr;
    if (pOrganizer != nullptr) {
        // The organizer turns the popup into a bitmap menu (taking its handle
        // over from a plain wrapper), keeps that object and converts it.
        pOrganizer->OnInitMenuPopup(CMenu::FromHandle(hPopup), static_cast<UINT>(nItem),
                                    nItem == nCount);
        pBitmapMenu = dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(hPopup));
    }

    CPoint ptPopup;
    UINT nFlags = 0;
    int nSide = 0;
    COXBitmapMenu::CalcPopupPosition(CMenu::FromHandle(hPopup), rectItem, m_dwStyle, ptPopup,
                                     nFlags, nSide);

    EndPopup();
    m_nOpenItem = nItem;
    m_nNextItem = -1;
    PressItemButton(nItem, TRUE);
    // The control's own hot tracking stops while the popup's loop holds the
    // mouse, so an item left hot before would stay lit beside this one.
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nItem < GetItemCount() ? nItem : -1));

    if (pBitmapMenu != nullptr)
        pBitmapMenu->TrackFromButton(this, pMainWnd);
    else
        CMenuHandle(hPopup).TrackPopupMenu(nFlags, ptPopup.x, ptPopup.y, pMainWnd, &rectItem);
    if (!::IsWindow(m_hWnd))
        return; // the command closed the frame

    // A next item set while the popup was open opens now, unless the mouse
    // has left the bar for somewhere else.
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    const int nHit =
        static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&ptCursor)));
    if (m_nNextItem != -1 && m_nNextItem != nItem && m_nNextItem != nHit) {
        bool bOverItem = false;
        for (int i = 0; i <= nCount && !bOverItem; ++i) {
            CRect rect;
            bOverItem = GetMenuItemRect(i, &rect) && rect.PtInRect(ptCursor);
        }
        if (!bOverItem)
            m_nNextItem = -1;
    }
    if (m_nNextItem != -1) {
        PostMessage(WM_OX_MENUBAR_OPENITEM, static_cast<WPARAM>(m_nNextItem));
        return;
    }
    if (nHit == nItem)
        m_nJustClosedItem = nItem; // the press on this button closed it
    EndPopup();
}

void COXMenuBar::EndPopup() {
    const int nWasOpen = m_nOpenItem;
    if (nWasOpen == -1) {
        // Nothing was open, so no menu loop runs to be ended.
        m_bBackToSurfing = FALSE;
        return;
    }
    PressItemButton(nWasOpen, FALSE);
    m_nOpenItem = -1;
    if (m_nNextItem == -1 && !m_bBackToSurfing)
        SendToFrame(WM_EXITMENULOOP, FALSE);
    if (m_bBackToSurfing) {
        SetSurfingMode(TRUE, nWasOpen);
        m_nJustClosedItem = -1;
    }
    m_bBackToSurfing = FALSE;
}

void COXMenuBar::OnDropDown(NMHDR* pNotify, LRESULT* pResult) {
    *pResult = 0;
    const int nItem = reinterpret_cast<NMTOOLBARA*>(pNotify)->iItem - 1;
    if (nItem == m_nJustClosedItem) {
        m_nJustClosedItem = -1; // this press closed the item's popup
        return;
    }
    const UINT nID = GetItemCommand(nItem);
    if (nID == 0)
        return;
    if (nID == static_cast<UINT>(-1) || nID == 0xFFFF) {
        PostMessage(WM_OX_MENUBAR_OPENITEM, static_cast<WPARAM>(nItem));
        return;
    }
    // A command at the top level: its button stays pressed while it runs.
    EndPopup();
    m_nOpenItem = nItem;
    m_nNextItem = -1;
    m_nJustClosedItem = nItem;
    PressItemButton(nItem, TRUE);
    SendToFrame(WM_COMMAND, MAKEWPARAM(nID, 0));
    if (!::IsWindow(m_hWnd))
        return;
    m_nJustClosedItem = -1;
    EndPopup();
}

LRESULT COXMenuBar::OnOpenItem(WPARAM wParam, LPARAM) {
    TrackItemPopup(static_cast<int>(TakeLastQueued(m_hWnd, WM_OX_MENUBAR_OPENITEM, wParam)));
    return 0;
}

LRESULT COXMenuBar::OnReopenPending(WPARAM, LPARAM) {
    TakeLastQueued(m_hWnd, WM_OX_MENUBAR_REOPENPENDING, 0);
    if (m_nPendingItem != -1)
        TrackItemPopup(m_nPendingItem);
    return 0;
}

// ---------------------------------------------------------------------------
// Surfing and keys

BOOL COXMenuBar::SetSurfingMode(BOOL bOn, int nItem) {
    if (nItem == GetCount())
        nItem = -1;
    if (bOn != m_bSurfing) {
        if (bOn) {
            if (IsPopupOpen()) {
                KWTRACE_ERROR(("COXMenuBar::SetSurfingMode: Cannot be set in the surfing mode "
                               "while displaying popup menus\n"));
                return FALSE;
            }
            s_hWndFocusBeforeSurfing = ::GetFocus();
            SetFocus();
            SetHotItem(nItem);
            if (!m_bBackToSurfing) {
                SendToFrame(WM_ENTERMENULOOP, FALSE);
                SendToFrame(WM_INITMENU, reinterpret_cast<WPARAM>(m_hMenu));
                SendMenuSelect(nItem);
            }
        } else {
            const HWND hWndFocus = s_hWndFocusBeforeSurfing;
            s_hWndFocusBeforeSurfing = nullptr;
            ::SetFocus(::IsWindow(hWndFocus) ? hWndFocus : nullptr);
            SetHotItem(-1);
        }
        m_bSurfing = bOn;
    } else if (bOn) {
        SetHotItem(nItem);
    }
    return TRUE;
}

BOOL COXMenuBar::ChainPopup(BOOL bNext) {
    const int nItem = bNext ? GetNextItem(m_nOpenItem, TRUE) : GetPrevItem(m_nOpenItem, TRUE);
    if (nItem == m_nOpenItem)
        return FALSE;
    if (nItem < GetItemCount() && IsCommandItem(nItem))
        return TRUE;
    m_nNextItem = nItem;
    // A click on the bar closes the open popup; TrackItemPopup then opens the
    // next item. For the icon, the click goes to button 0's centre in screen
    // coordinates, away from every button of the bar.
    CRect rect;
    CPoint pt;
    if (nItem == GetItemCount()) {
        GetItemRect(0, &rect);
        pt = rect.CenterPoint();
        ClientToScreen(&pt);
    } else {
        GetItemRect(nItem, &rect);
        pt = rect.CenterPoint();
    }
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
    PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    PostMessage(WM_LBUTTONUP, 0, lParam);
    return TRUE;
}

BOOL COXMenuBar::HandleMenuKey(UINT nKey) {
    if (SendIfAlive(AfxGetMainWnd(), WM_KEYDOWN, nKey, 1) != 0)
        return TRUE;

    OXMENUKEYSTATE state = {};
    state.nKey = nKey;
    state.bSurfing = m_bSurfing;
    state.bPopupOpen = IsPopupOpen();
    state.nButtons = GetCount();
    state.bHorz = IsHorzBar();
    state.bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    const auto it = m_mapMnemonics.find(static_cast<TCHAR>(nKey));
    state.nMnemonicItem = nKey <= 0xFF && it != m_mapMnemonics.end() ? it->second : -1;
    const OXMENUKEYACTION action = OXDecideMenuKey(state);

    int nHot = GetHotItem();
    switch (action.nAction) {
    case OXMK_NONE:
        break;
    case OXMK_TOGGLE_SURFING:
        SetSurfingMode(!m_bSurfing, nHot >= 0 ? nHot : 0);
        if (!m_bSurfing)
            SendToFrame(WM_EXITMENULOOP, FALSE);
        break;
    case OXMK_END_SURFING:
        SetSurfingMode(FALSE, nHot >= 0 ? nHot : 0);
        SendToFrame(WM_EXITMENULOOP, FALSE);
        break;
    case OXMK_BACK_TO_SURFING:
        m_bBackToSurfing = TRUE;
        break;
    case OXMK_MOVE_HOT:
        nHot = action.bNext ? GetNextItem(nHot, TRUE) : GetPrevItem(nHot, TRUE);
        if (nHot < 0 || nHot >= GetCount())
            nHot = -1; // the icon is no button
        SetHotItem(nHot);
        if (action.bSelect)
            SendMenuSelect(nHot);
        break;
    case OXMK_CHAIN_POPUP:
        return ChainPopup(action.bNext);
    case OXMK_OPEN_HOT:
        TrackItemPopup(nHot >= 0 ? nHot : GetItemCount());
        break;
    case OXMK_OPEN_MNEMONIC:
        TrackItemPopup(state.nMnemonicItem);
        break;
    }
    return action.bConsumed;
}
