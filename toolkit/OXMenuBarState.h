// OXMenuBarState.h: the saved state of a menu ("MenuItems" of a "Menu_"
// section of the profile) as plain functions over bytes, so that the layout
// and its checks can be tested without a menu bar.
//
// Classes: OXMENUSTATELOAD; OXStoreMenuItems, OXMenuItemsToBytes,
// OXLoadMenuItems.
//
// Layout of one menu level (framework archive, little-endian):
//   item count (32-bit);
//   per item in position order: type (32-bit MFT_* flags), has-submenu flag
//   (32-bit, 1 or 0), command id (32-bit, -1 for a submenu), text (archive
//   string), then for a submenu its own level.
//
// The profile value comes from outside the program, so loading trusts none of
// it: counts are bounded by the bytes there are, nesting by OX_MENUSTATE_MAXDEPTH,
// texts by what the writer can write, ids by the 16-bit command range; the
// menu is built aside and only a complete, well-formed state replaces the
// items of the menu shown.
#pragma once

#include "framework/Archive.h"

#include <windows.h>

#include <vector>

// The first command of the MDI window list (AFX_IDM_FIRST_MDICHILD): the
// window entries are not restored, since the MDI client adds them itself.
#define OX_MENUSTATE_FIRST_MDICHILD 0xFF00
// Deepest submenu level accepted on load (the top level is 1).
#define OX_MENUSTATE_MAXDEPTH 8
// Longest item text, in characters, as the writer reads it.
#define OX_MENUSTATE_MAXTEXT 1023

// Writes the levels of hMenu into the archive. Throws what the archive throws.
void OXStoreMenuItems(CArchive& ar, HMENU hMenu);
// The bytes of OXStoreMenuItems through a memory file (growth 1024) and a
// storing archive (buffer 4096); false (bytes empty) when memory runs out.
bool OXMenuItemsToBytes(HMENU hMenu, std::vector<BYTE>& bytes);

struct OXMENUSTATELOAD {
    // MDI main window: the window-list entries and the separator before them
    // are dropped and their popup becomes the window menu.
    BOOL bMDIFrame = FALSE;
    // Out: the popup that held the window list, null when none.
    HMENU hWindowMenu = nullptr;
    // Out: the popups made for the submenus, outermost first; owned by hMenu's
    // items from then on.
    std::vector<HMENU> arrBuilt;
};

// Replaces the items of hMenu with the state in pData (nBytes). TRUE when the
// state was complete and well-formed; otherwise FALSE with hMenu unchanged
// and nothing in pLoad's out fields.
BOOL OXLoadMenuItems(const BYTE* pData, UINT nBytes, HMENU hMenu, OXMENUSTATELOAD* pLoad);
