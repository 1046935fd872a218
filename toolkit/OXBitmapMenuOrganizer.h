// OXBitmapMenuOrganizer.h: COXBitmapMenuOrganizer, which gives the popup menus of
// one frame window images and a skinned look by turning each popup into an
// owner-drawn COXBitmapMenu when it opens, and keeps shortened menus (rarely used
// items left out behind a show-all entry).
//
// Classes: COXBitmapMenuOrganizer; _tagOXSAVEDMENUITEM (OXSAVEDMENUITEM) and
// COXArrSavedMenuItem, the items left out of a shortened menu;
// _tagOXPOPUPMENUTRACE (OXPOPUPMENUTRACE), one popup opened over the frame.
//
// The organizer subclasses its frame: every message except WM_MEASUREITEM first
// runs the frame's own procedure (and so its message map), then the organizer
// acts on the result. It finds itself again through a process-wide map from frame
// window to organizer, which the menu bar reads as well (FindOrganizer).
//
// Ownership:
// - the organizer owns the image lists of its image-list table (except its
//   embedded default list), its image records, the COXBitmapMenu objects it made
//   or was handed, the saved items of shortened menus and the submenu copies
//   those saved items hold;
// - a COXBitmapMenu owns its item records; restoring a menu turns its items back
//   into plain string items (no item data left) before the object is deleted, so
//   a menu that outlives its bitmap menu or the organizer holds no pointer into
//   freed records;
// - a submenu copy that a restore puts back into a menu belongs to that menu from
//   then on.
//
// Status:
// - Implemented: conversion and restore, images from toolbars and icons, the
//   default check and bullet images, mnemonics, measuring, shortened menus with the
//   show-all entry, the popup trace and the menu hooks, the record of rarely used
//   submenus in the profile.
// - Not implemented: customisation. The mode is handed to every bitmap menu but
//   nothing sets it.
// - Differences: the system commands of a window menu (restore, minimise, close)
//   keep their ids when converted, so they still reach their window. Profile data
//   that does not parse leaves the record of rarely used submenus as it was.
#pragma once

#include "framework/Collections.h"
#include "framework/ImageList.h"
#include "framework/Object.h"

#include <windows.h>

class CArchive;
class CFrameWnd;
class CMenu;
class COXBitmapMenu;
class COXImageInfo;

// Messages between the menu bar, the organizer and the frame. wParam is the
// menu and lParam the profile section name (LPCTSTR) for the first two.
#ifndef WM_OX_SAVEMENUSTATE
#define WM_OX_SAVEMENUSTATE 0x8073
#endif
#ifndef WM_OX_LOADMENUSTATE
#define WM_OX_LOADMENUSTATE 0x8074
#endif
// Sent to the frame when a chosen command changed the record of rarely used items.
#ifndef WM_OX_MENUSTATECHANGED
#define WM_OX_MENUSTATECHANGED 0x8075
#endif
// The show-all entry at the end of a shortened menu.
#ifndef ID_OX_SHOWALLITEMS
#define ID_OX_SHOWALLITEMS 0xFF56
#endif

// One item left out of a shortened menu.
typedef struct _tagOXSAVEDMENUITEM {
    int nIndex; // position in the menu before it was shortened
    // State, id, submenu (a copy the organizer made), check bitmaps, type, data.
    MENUITEMINFO miInfo;
    CString sText;
} OXSAVEDMENUITEM;

class COXArrSavedMenuItem : public CArray<OXSAVEDMENUITEM, const OXSAVEDMENUITEM&> {};

// One popup opened over the frame.
typedef struct _tagOXPOPUPMENUTRACE {
    HMENU hPopupMenu;
    POINT ptTopLeft; // of its window, recorded at its first selection
} OXPOPUPMENUTRACE;

class COXBitmapMenuOrganizer : public CObject {
    DECLARE_DYNAMIC(COXBitmapMenuOrganizer)
public:
    // Builds the default image list (check mark and radio bullet).
    COXBitmapMenuOrganizer();
    // Restores every menu with its texts, unsubclasses the frame and frees what
    // the organizer owns (see the top of the file).
    ~COXBitmapMenuOrganizer() override;
    COXBitmapMenuOrganizer(const COXBitmapMenuOrganizer&) = delete;
    COXBitmapMenuOrganizer& operator=(const COXBitmapMenuOrganizer&) = delete;

    // Subclasses the frame. FALSE for a null frame or when one is attached already.
    BOOL AttachFrameWnd(CFrameWnd* pFrameWnd);

    // Rebuilds the image tables from the frame's toolbars. FALSE without a frame.
    BOOL AutoSetMenuImage();
    // Gives the command the icon (the caller keeps the icon). FALSE without a frame.
    BOOL SetMenuIcon(UINT nCommandID, HICON hIcon, int cx = 16, int cy = 16);

    BOOL GetCustomizationMode() const { return m_bCustomizationMode; }
    BOOL GetShortenedMenus() const { return m_bShortenedMenus; }
    // In the record of rarely used commands and submenus (the bitmap menu draws
    // such items apart once a shortened menu is shown whole).
    BOOL IsHiddenCommand(UINT nCmdID) const;
    BOOL IsHiddenSubmenu(HMENU hSubmenu) const;

    // The organizer attached to that frame window, else null.
    static COXBitmapMenuOrganizer* PASCAL FindOrganizer(HWND hFrameWnd);

    // Makes the popup a COXBitmapMenu (taking its handle over from a plain
    // wrapper), updates its commands and converts it. The menu bar calls it for
    // the popups it drops.
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // MAKELRESULT(position, MNC_EXECUTE) for a mnemonic of a bitmap menu, else 0.
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    virtual BOOL OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    // Makes every item owner-drawn; a new menu in shortened mode loses its rarely
    // used items behind a show-all entry.
    virtual void ConvertBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bNewMenu);
    // Undoes the conversion (bRestoreTexts: back to plain string items), puts the
    // left-out items back and deletes the bitmap menu object.
    virtual void RestoreBitmapMenu(COXBitmapMenu* pBitmapMenu, BOOL bRestoreTexts);
    virtual void SetShortenedMenus(BOOL bShortenedMenus);
    // TRUE when the entry was new; a zero command is refused.
    virtual BOOL AddHiddenCommand(UINT nCmdID);
    virtual BOOL AddHiddenSubmenu(HMENU hSubmenu);
    // TRUE when the entry was there.
    virtual BOOL RemoveHiddenCommand(UINT nCmdID);
    virtual BOOL RemoveHiddenSubmenu(HMENU hSubmenu);
    // The hidden commands as a count followed by the ids. Loading empties the set
    // first. Archive exceptions pass to the caller.
    virtual void SaveHiddenCommands(CArchive& ar);
    virtual void LoadHiddenCommands(CArchive& ar);
    // The hidden submenus as paths of positions from hRootMenu. Loading traces and
    // skips submenus that are no longer there; data that does not parse leaves
    // the set as it was and answers FALSE. Archive exceptions of storing pass on.
    virtual BOOL SaveRUSubmenusContents(HMENU hRootMenu, CArchive& ar);
    virtual BOOL LoadRUSubmenusContents(HMENU hRootMenu, CArchive& ar);

protected:
    typedef CMap<CString, LPCTSTR, CImageList*, CImageList*> CMapImageLists;
    typedef CMap<UINT, UINT, COXImageInfo*, COXImageInfo*> CMapImageInfos;
    typedef CList<COXBitmapMenu*, COXBitmapMenu*> CListBitmapMenus;
    typedef CMap<int, int, int, int> CMapHiddenCommands;
    typedef CMap<HMENU, HMENU, int, int> CMapHiddenSubmenus;
    typedef CMap<COXBitmapMenu*, COXBitmapMenu*, COXArrSavedMenuItem*, COXArrSavedMenuItem*>
        CMapSavedItems;
    typedef CArray<OXPOPUPMENUTRACE, const OXPOPUPMENUTRACE&> CArrPopupTrace;
    typedef CMap<HMENU, HMENU, HWND, HWND> CMapPopupWindows;

    // The frame window procedure while subclassed.
    static LRESULT CALLBACK MenuOrganizerProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Installed for the thread while a popup of a shortened menu is selected.
    static LRESULT CALLBACK MenuMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuKeyboardHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    // The organizer's part of each frame message, after the frame's procedure.
    void HandleInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);
    void HandleMenuSelect(HMENU hMenu);
    void HandleExitMenuLoop(BOOL bTrackPopupMenu);
    void HandleCommand(UINT nCmdID);
    void HandleShowAllItems();
    // A button message of the mouse hook at the screen point pt.
    void HandleMenuMouse(UINT nMsg, POINT pt);
    // Lowers the traced count to the leading trace entries whose windows are
    // still visible.
    void RevalidateTracedCount();
    HWND GetPopupWindow(HMENU hPopupMenu) const;
    static void InstallMenuHooks();
    static void RemoveMenuHooks();

    // Subclassing, and its end when the organizer or the window goes.
    BOOL SubclassFrame(HWND hWnd);
    void UnsubclassFrame();

    // The record of a key (command id, or 0xFFFFFFFF for submenus); made with the
    // default image list when there is none yet.
    COXImageInfo* GetImageInfo(UINT nKey);
    // Deletes every image list except the default one and every image record,
    // after restoring every bitmap menu with texts.
    void ClearImageTables();
    void RestoreAllBitmapMenus(BOOL bTraceEach);
    // The text of an item: its record's text for an owner-drawn item of one of
    // the organizer's bitmap menus, else the menu string.
    CString GetItemText(HMENU hMenu, int nPos, const MENUITEMINFO& miInfo) const;
    // A new popup with the items of hSubmenu as string items and copies of its
    // submenus, each recorded among the created menus; a hidden submenu's copy
    // takes its place in the hidden set.
    HMENU CopySubmenu(HMENU hSubmenu, int nDepth);
    // A created menu put back into a menu belongs to that menu from then on.
    void ForgetCreatedMenu(HMENU hMenu);

    // The profile side of the record of rarely used submenus: the section is the
    // menu bar's section followed by "_RecentlyUsedSubmenuItems".
    BOOL SaveRUSubmenusState(HMENU hRootMenu, LPCTSTR lpszSection);
    BOOL LoadRUSubmenusState(HMENU hRootMenu, LPCTSTR lpszSection);

    CMapImageLists m_mapImageLists;     // owns all but &m_defaultImageList
    CMapImageInfos m_mapImageInfos;     // owns the records
    CFrameWnd* m_pFrameWnd;             // not owned
    HWND m_hFrameWnd;                   // the subclassed window
    WNDPROC m_pfnOldWndProc;            // the frame's procedure before subclassing
    CImageList m_defaultImageList;      // image 0 a check mark, image 1 a radio bullet
    BOOL m_bCustomizationMode;          // handed to every bitmap menu; nothing sets it
    HWND m_hWndCustomizationNotify;     // handed with the mode
    CListBitmapMenus m_listBitmapMenus; // owns them; newest last
    BOOL m_bShortenedMenus;
    CMapHiddenCommands m_mapHiddenCommands;
    CMapHiddenSubmenus m_mapHiddenSubmenus;
    CMapSavedItems m_mapSavedItems;     // owns the arrays
    CArrPopupTrace m_arrPopupTrace;     // outermost first
    BOOL m_bWindowMenuLoop;             // a window menu's loop (not TrackPopupMenu's) runs
    int m_nTracedPopups;                // leading trace entries whose popups are still shown
    CMapPopupWindows m_mapPopupWindows; // the "#32768" window of each traced popup
    COXBitmapMenu* m_pPendingMenu;      // owned: restored with its show-all entry, deleted later
    CArray<HMENU, HMENU> m_arrCreatedMenus; // owned until put back into a menu
    BOOL m_bExpanded;                       // the show-all entry was chosen

    static HHOOK s_hMenuMouseHook;
    static HHOOK s_hMenuKeyboardHook;
};
