// OXMenuBarKeys.h: the menu bar's keyboard rules as plain functions, so that
// they can be checked as tables without a window: the mnemonic of an item
// text, the step from one item to the next or previous one, and the decision
// of COXMenuBar::HandleMenuKey (which key does what in which state).
//
// Classes: OXMENUKEYSTATE, OXMENUKEYACTION; OXMenuMnemonic, OXStepMenuItem,
// OXDecideMenuKey.
//
// Item indices: 0 to n-1 are the top-level items of a menu of n items; n
// stands for the maximised MDI child's icon (its system menu) while the bar
// shows it.
#pragma once

#include <windows.h>

// The upper-case character after the first single '&' of an item text, 0 when
// there is none. "&&" is a literal ampersand and no mnemonic, so "Save && E&xit"
// answers 'X' and "Save && Exit" answers 0.
TCHAR OXMenuMnemonic(LPCTSTR lpszText);

// The item after (bNext) or before nItem in a menu of nCount items. With the
// icon shown the items cycle 0..n, else 0..n-1. nItem -1 starts from n with
// the icon and from 0 without. -1 when there are no items.
int OXStepMenuItem(int nItem, int nCount, BOOL bIcon, BOOL bNext);

// What HandleMenuKey sees when it decides (after the main window has had its
// WM_KEYDOWN and left the key alone).
struct OXMENUKEYSTATE {
    UINT nKey;         // virtual-key code; 0 for Alt pressed and released alone
    BOOL bSurfing;     // the bar is in surfing mode
    BOOL bPopupOpen;   // a popup of the bar is open
    int nButtons;      // buttons on the bar
    BOOL bHorz;        // docked (or floating) along the top or bottom
    BOOL bCtrl;        // Ctrl is held down
    int nMnemonicItem; // the item whose mnemonic is nKey, -1 none
};

// The decision; the bar carries out the action.
enum OXMenuKeyAction {
    OXMK_NONE,            // nothing to do
    OXMK_TOGGLE_SURFING,  // surfing toggled on the hot item (0 when none)
    OXMK_END_SURFING,     // surfing ends on the hot item, the menu loop ends
    OXMK_BACK_TO_SURFING, // the open popup closes itself; surf again afterwards
    OXMK_MOVE_HOT,        // surfing: the previous or next item becomes hot
    OXMK_CHAIN_POPUP,     // a popup is open: open the previous or next item's instead
    OXMK_OPEN_HOT,        // surfing: open the hot item (n when none)
    OXMK_OPEN_MNEMONIC    // open nMnemonicItem
};

struct OXMENUKEYACTION {
    OXMenuKeyAction nAction;
    BOOL bNext;     // OXMK_MOVE_HOT, OXMK_CHAIN_POPUP: toward the next item
    BOOL bSelect;   // OXMK_MOVE_HOT: tell the frame with WM_MENUSELECT
    BOOL bConsumed; // the key is used up (OXMK_CHAIN_POPUP: decided by the bar)
};

OXMENUKEYACTION OXDecideMenuKey(const OXMENUKEYSTATE& state);
