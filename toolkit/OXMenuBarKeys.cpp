// OXMenuBarKeys.cpp: the keyboard rules of the menu bar (see the header).
#include "OXMenuBarKeys.h"

TCHAR OXMenuMnemonic(LPCTSTR lpszText) {
    if (lpszText == nullptr)
        return 0;
    for (LPCTSTR p = lpszText; *p != 0; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') { // a literal ampersand
            ++p;
            continue;
        }
        if (p[1] == 0)
            return 0;
        // CharUpperA on a single character passes it in the low word.
        return static_cast<TCHAR>(reinterpret_cast<UINT_PTR>(
            ::CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<BYTE>(p[1]))))));
    }
    return 0;
}

int OXStepMenuItem(int nItem, int nCount, BOOL bIcon, BOOL bNext) {
    if (nCount <= 0 && !bIcon)
        return -1;
    const int nLast = bIcon ? nCount : nCount - 1; // the cycle is 0..nLast
    int nFrom = nItem;
    if (nFrom < 0 || nFrom > nLast)
        nFrom = bIcon ? nCount : 0;
    if (bNext)
        return nFrom >= nLast ? 0 : nFrom + 1;
    return nFrom <= 0 ? nLast : nFrom - 1;
}

OXMENUKEYACTION OXDecideMenuKey(const OXMENUKEYSTATE& s) {
    const OXMENUKEYACTION none = {OXMK_NONE, FALSE, FALSE, FALSE};
    if (s.nKey == 0)
        return {OXMK_TOGGLE_SURFING, FALSE, FALSE, TRUE};
    if (s.nKey == VK_ESCAPE && s.bSurfing)
        return {OXMK_END_SURFING, FALSE, FALSE, TRUE};
    if (s.nButtons <= 0)
        return none;
    if (s.nKey == VK_ESCAPE && s.bPopupOpen)
        return {OXMK_BACK_TO_SURFING, FALSE, FALSE, FALSE};

    // Keys that move along the bar: Left/Right across a horizontal bar, Up/Down
    // along a vertical one.
    const UINT nPrevKey = s.bHorz ? VK_LEFT : VK_UP;
    const UINT nNextKey = s.bHorz ? VK_RIGHT : VK_DOWN;
    if (s.nKey == nPrevKey || s.nKey == nNextKey) {
        const BOOL bNext = s.nKey == nNextKey;
        if (s.bSurfing) {
            // Down on a vertical bar moves without a WM_MENUSELECT.
            const BOOL bSelect = s.bHorz || s.nKey != VK_DOWN;
            return {OXMK_MOVE_HOT, bNext, bSelect, TRUE};
        }
        if (s.bHorz && s.bPopupOpen)
            return {OXMK_CHAIN_POPUP, bNext, FALSE, TRUE};
        return none;
    }

    // Keys that open the hot item while surfing.
    const bool bOpenKey =
        s.nKey == VK_RETURN || (s.bHorz && s.nKey == VK_DOWN) ||
        (!s.bHorz && (s.nKey == VK_LEFT || s.nKey == VK_RIGHT || s.nKey == VK_UP));
    if (bOpenKey)
        return s.bSurfing ? OXMENUKEYACTION{OXMK_OPEN_HOT, FALSE, FALSE, TRUE} : none;

    if (s.bPopupOpen || s.bCtrl)
        return none;
    if (s.nMnemonicItem >= 0)
        return {OXMK_OPEN_MNEMONIC, FALSE, FALSE, TRUE};
    return none;
}
