// Menu.h: CMenu, the menu wrapper, and its non-owning view CMenuHandle.
//
// Ownership:
// - CMenu owns the menu that CreateMenu, CreatePopupMenu, LoadMenu or Attach gave
//   it and destroys it (DestroyMenu, which takes the submenus along; wrappers of
//   those submenus let go of them) in its destructor. It is entered in the thread's permanent map,
//   so FromHandle and FromHandlePermanent find it; a derived menu class that takes over a popup's
//   handle (Detach from the old wrapper, Attach to the new one) is what the
//   framework then hands out for that popup.
// - CMenuHandle borrows a menu and never destroys it. FromHandle answers the
//   owning wrapper when there is one, else a temporary view that lives until the
//   thread's next AfxDeleteTempGdiObjects (HandleMap.h). GetSubMenu answers the
//   same way.
//
// Owner-drawn items: the framework calls MeasureItem and DrawItem of the
// permanent wrapper of the menu that holds the item; the base versions are not
// meant to be reached and only report that.
#pragma once

#include "AfxString.h"
#include "Object.h"

#include <windows.h>

#include <vector>

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    // Destroys an owned menu (a view forgets it first).
    ~CMenu() override;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    // The wrapper that owns hMenu, else a temporary view; null for a null handle
    // or one that is no menu.
    static CMenu* PASCAL FromHandle(HMENU hMenu);
    // The wrapper that owns hMenu on this thread, else null.
    static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);
    // Frees this thread's temporary menu views.
    static void PASCAL DeleteTempMap();

    // Takes ownership of hMenu. FALSE when this wrapper holds a menu already,
    // hMenu is no menu, or another wrapper owns it.
    BOOL Attach(HMENU hMenu);
    // Gives the menu up without destroying it.
    HMENU Detach();
    BOOL DestroyMenu();
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the framework's resource handle (AfxGetResourceHandle).
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource);

    // Reading. Item positions count from 0; nFlags MF_BYCOMMAND or MF_BYPOSITION.
    // -1 without a menu.
    int GetMenuItemCount() const;
    // The command id; 0 for a separator, (UINT)-1 for a submenu or no item.
    UINT GetMenuItemID(int nPos) const;
    // The submenu at nPos (its owner or a temporary view), null when none.
    CMenu* GetSubMenu(int nPos) const;
    // The item's MF_ flags, (UINT)-1 when there is no such item.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    // Characters copied (the text is cut to nMaxCount - 1), 0 when none.
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    // The whole text into rString; its length, 0 (and an empty string) when none.
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE) const;
    // The default item (an id, or a position with GMDI flags' fByPos), (UINT)-1 when none.
    UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) const;

    // Changing. For MF_POPUP, nIDNewItem is the submenu's handle, which the menu
    // owns from then on.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
    // Takes the item out; a submenu survives (its owner must destroy it).
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    // Takes the item out and destroys its submenu (whose wrapper lets go of it).
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // The previous MF_ENABLED/MF_GRAYED/MF_DISABLED state, (UINT)-1 when no item.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    // The previous MF_CHECKED/MF_UNCHECKED state, (UINT)-1 when no item.
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);

    // Shows the menu as a popup owned by pWnd and runs its modal loop. The answer
    // of the platform: with TPM_RETURNCMD the chosen command (0 for none), else
    // success. FALSE without a menu or a window.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    // While TrackPopupMenu runs on this thread: the menu and the window it was
    // given; null otherwise.
    static HMENU PASCAL GetTrackingMenu();
    static HWND PASCAL GetTrackingWindow();

    // Owner-drawn items of this menu; derived menus that make items owner-drawn
    // override both.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    // Clears m_hMenu and the permanent entry that names this wrapper.
    void ForgetHandle();
    // The wrappers (on this thread) of the submenus of hMenu at any depth: they
    // must let go when hMenu is destroyed, or they would destroy a dead handle.
    static void PASCAL CollectSubmenuOwners(HMENU hMenu, std::vector<CMenu*>& owners,
                                            int nDepth = 0);
    // Attach for the Create and Load calls; destroys hMenu when it cannot be kept.
    BOOL AttachNew(HMENU hMenu);
};

// A borrowed menu: never destroyed by the view.
class CMenuHandle final : public CMenu {
public:
    explicit CMenuHandle(HMENU hMenu = nullptr) { m_hMenu = hMenu; }
    ~CMenuHandle() override { ForgetHandle(); }
};
