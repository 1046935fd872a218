// TreeOutline.h: the store trees and their stores written out as one line of
// text, "Name(child,child(...))", so that a test compares a whole tree at once.
#pragma once

#include "TreeStore.h"

#include "framework/TreeCtrl.h"

#include <string>
#include <vector>

// The items from hFirst on, with their siblings, in tree order.
inline std::string TreeOutline(const CTreeCtrl& tree, HTREEITEM hFirst) {
    std::string outline;
    for (HTREEITEM h = hFirst; h != nullptr; h = tree.GetNextSiblingItem(h)) {
        if (!outline.empty())
            outline += ",";
        outline += static_cast<LPCTSTR>(tree.GetItemText(h));
        if (HTREEITEM hChild = tree.GetChildItem(h))
            outline += "(" + TreeOutline(tree, hChild) + ")";
    }
    return outline;
}
inline std::string TreeOutline(const CTreeCtrl& tree) {
    return TreeOutline(tree, tree.GetRootItem());
}

// The records of the store below nParentID the same way, in store order.
inline std::string StoreOutlineOf(CTreeStore& store, int nParentID) {
    std::vector<CTreeStore::ENTRY> children;
    for (CTreeStore::ENTRY* p = store.FindFirst(nParentID, CTreeStore::FIND_BY_PARENT); p;
         p = store.FindNext(nParentID, CTreeStore::FIND_BY_PARENT))
        children.push_back(*p);
    std::string outline;
    for (const CTreeStore::ENTRY& entry : children) {
        if (!outline.empty())
            outline += ",";
        outline += static_cast<LPCTSTR>(entry.Name);
        if (store.HasChildren(entry.ID))
            outline += "(" + StoreOutlineOf(store, entry.ID) + ")";
    }
    return outline;
}
