// CallLinkTreeCtrl.h: CCallLinkTreeCtrl, the shared base of the Access Panel's
// trees of call links (the hot-lists tree and the call-score tree): groups
// with links to single recordings below them, played, collected and checked
// alike.
//
// Playing goes to the main window's ICallListHost; without one, a call is
// still loaded and started in the playback engine.
#pragma once

#include "StoreTreeCtrl.h"

class ICallListHost;

class CCallLinkTreeCtrl : public CStoreTreeCtrl {
public:
    // The record in which commands collect items.
    using HOTLISTTREEITEM = STORETREEITEM;

    // lpszTreeName names the tree in the message of ValidateLinks.
    CCallLinkTreeCtrl(PFNGETSTORE pfnGetStore, int nGroupImage, int nItemImage,
                      LPCTSTR lpszTreeName);
    ~CCallLinkTreeCtrl() override;

    // Adds a call link below hParent unless a link below it, at any depth,
    // already names the same recording (whatever the case of its letters: a
    // different recording that only shares the file name, and so the label,
    // is another call); the new item becomes the caret item. Null when nothing
    // was added (empty target, no parent, a duplicate).
    HTREEITEM AddCallLink(HTREEITEM hParent, LPCTSTR lpszTarget, LPCTSTR lpszName);
    // Appends the call links at hItem and its following siblings, entering
    // groups with records below them (filled first); from a group's first
    // child item it yields every call link below the group.
    void CollectCalls(CKWArray<HOTLISTTREEITEM>& items, HTREEITEM hItem);
    // Loads the call link (a group: its first child) into the playback engine,
    // starts it and has the main window's player show it; "No files have been
    // selected to play." when there is nothing to load or it cannot be loaded.
    void PlayItem(HTREEITEM hItem);
    // Removes every call link whose file no longer exists and says how many.
    void ValidateLinks();
    // Removes the selected items (the root never), with everything below them.
    void DeleteSelected();

protected:
    // The next item in tree order after filling hItem when it is a group
    // never expanded, so that walks see every record.
    HTREEITEM GetNextFilledItem(HTREEITEM hItem);
    // The main window as a call-list host; null when there is none.
    static ICallListHost* FindHost();

private:
    const LPCTSTR m_lpszTreeName;
};
