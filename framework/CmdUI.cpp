// CmdUI.cpp: CCmdUI, the state object of a command-UI update.
#include "CmdUI.h"

#include "CmdTarget.h"
#include "Menu.h"
#include "Wnd.h"

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pParentMenu(nullptr),
      m_pOther(nullptr), m_nIndexMax(0), m_bEnableChanged(FALSE), m_bContinueRouting(FALSE) {}

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu != nullptr) {
        // An item that opens a submenu follows its first item; it is not set itself.
        if (m_pSubMenu != nullptr)
            return;
        m_pMenu->EnableMenuItem(m_nIndex,
                                MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
        // A control that loses its enable while it has the focus hands the focus on
        // first, or the keyboard would be stuck on a dead control.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            if (HWND hWndParent = ::GetParent(m_pOther->m_hWnd))
                ::SendMessageA(hWndParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
            m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;
        // The radio bullet instead of the check mark.
        if (bOn)
            m_pMenu->CheckMenuRadioItem(m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
        else
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | MF_UNCHECKED);
    } else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCTSTR lpszText) {
    if (lpszText == nullptr)
        lpszText = "";
    if (m_pMenu != nullptr) {
        if (m_pSubMenu != nullptr)
            return;
        // Keeps the item's state; only the text changes.
        UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        if (nState == static_cast<UINT>(-1))
            return;
        nState &= MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK |
                  MF_HILITE | MF_DEFAULT;
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    // Separators and static controls (IDC_STATIC) have no command.
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;
    if (pTarget == nullptr)
        return FALSE;
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    // No handler called Enable: a command nobody handles is not offered. System commands
    // (0xF000 and up) are the system's to enable.
    if (bDisableIfNoHndler && !m_bEnableChanged && m_nID < 0xF000) {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return bResult;
}
