// CmdUI.h: CCmdUI, the state object of a command-UI update.
//
// Whoever shows a command (a menu item, a toolbar button, a dialog control) fills
// a CCmdUI with the command id and where the command sits, and calls DoUpdate
// with the target whose routing decides the state. The target's
// ON_UPDATE_COMMAND_UI handler then calls Enable, SetCheck, SetRadio or SetText,
// which act on the menu item (m_pMenu, by position m_nIndex) or on the window
// m_pOther. Toolbars and status bars derive from CCmdUI and override the four
// operations to act on their buttons or panes.
#pragma once

#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    // The operations a handler calls. Each sets m_bEnableChanged (Enable) or acts
    // at once; they do nothing when the object shows nothing.
    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate (a menu item shows 2 as checked).
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Lets the update go on to the next target in the routing after the handler.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Offers the update to pTarget's routing. When no handler called Enable and
    // bDisableIfNoHndler is set, the command is enabled exactly when a command
    // handler exists (commands 0xF000 and above, the system commands, are left
    // alone). TRUE when an update handler took the update.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID;
    UINT m_nIndex;         // position of the item in the menu, or of the button
    CMenu* m_pMenu;        // not owned: the menu that holds the item, else null
    CMenu* m_pSubMenu;     // not owned: the submenu when the item opens one
    CMenu* m_pParentMenu;  // not owned: the menu that holds m_pMenu, when known
    CWnd* m_pOther;        // not owned: the control or bar, else null
    UINT m_nIndexMax;      // end of the positions an updater walks
    BOOL m_bEnableChanged; // a handler called Enable
    BOOL m_bContinueRouting;
};
