// StoreTreeCtrl.h: the shared base of the Access Panel's store trees (the
// shortcut tree and the hot-lists tree).
//   STORETREEITEM      one item collected from a tree
//   CStoreTreeCtrl     a tree control showing a store
//
// Each item carries the ID of its record as item data. An item's children are
// inserted when it is expanded for the first time (the control's expanded-once
// state marks that); code that adds below an item or moves an item first fills
// the item's stored children (FillChildItems), so that a record never hides
// behind an item that was never expanded. The multiple selection is the set of
// items in the selected state, independent of the caret item: Ctrl+click adds
// an item, Shift+click marks a range in tree order when the tree asks for it.
// Every edit goes straight to the store's records.
//
// Status:
// - Implemented: filling, ExpandAll, the tree-order walk, the selection by
//   mouse, the right-button menu frame (the derived tree builds and runs the
//   menu), label editing, Enter/Escape and the accelerators 223, the item
//   images of bitmap 130, removal of items with the records below them.
// - The walks visit the items present in the tree; a group never expanded
//   contributes nothing until it is filled.
#pragma once

#include "KWArray.h"
#include "TreeStore.h"

#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/TreeCtrl.h"

#include <vector>

struct STORETREEITEM {
    HTREEITEM hItem = nullptr;
    CString Target;  // of the item's record
    CString Text;    // the item's label
    int IsGroup = 0; // 1 for a group, 0 for a shortcut or call link
};

class CStoreTreeCtrl : public CTreeCtrl {
public:
    // The store's instance, asked for at every use: tests delete the store and
    // make it again under a living tree.
    typedef CTreeStore* (*PFNGETSTORE)();
    typedef CTreeStore::ENTRY RECORD;

    // nGroupImage and nItemImage index the pictures of bitmap 130;
    // bShiftRanges turns on Shift+click ranges.
    CStoreTreeCtrl(PFNGETSTORE pfnGetStore, int nGroupImage, int nItemImage, BOOL bShiftRanges);
    ~CStoreTreeCtrl() override;

    // Builds the image list, empties the tree and inserts the top-level
    // records; FALSE when there is no window.
    BOOL InitTree();
    // Refills the top level and expands the first top-level item.
    void ReloadTree();
    // Expands every item with children, in tree order; expanding fills, so
    // the walk reaches every level.
    void ExpandAll();
    // The next item in tree order: first child, else next sibling, else the
    // next sibling of the nearest ancestor that has one; null at the end.
    HTREEITEM GetNextTreeItem(HTREEITEM hItem) const;
    // Inserts an item per child record of nParentID at the end of hParent
    // (TVI_ROOT for the top level); the last one inserted, or null.
    HTREEITEM InsertChildItems(HTREEITEM hParent, int nParentID);
    // Fills the stored children of an item that was never expanded and marks
    // it expanded-once; nothing for an item filled already.
    void FillChildItems(HTREEITEM hItem);
    // Fills the item and every group below it, so that walks over the items
    // reach every record below it.
    void FillSubtree(HTREEITEM hItem);

    BOOL GetItemRecord(HTREEITEM hItem, RECORD& record) const;
    BOOL HasRecord(HTREEITEM hItem) const;
    BOOL IsGroupItem(HTREEITEM hItem) const;      // has a record, and it is a group
    CString GetItemTarget(HTREEITEM hItem) const; // empty without a record
    // Whether hItem is one of the items present in the tree (handles of
    // deleted items are compared, never dereferenced).
    BOOL ItemExists(HTREEITEM hItem) const;
    BOOL IsAncestorOf(HTREEITEM hAncestor, HTREEITEM hItem) const;

    // The selection, over the items present in the tree.
    int CountSelected() const;
    void DeselectAll();
    void SetItemSelected(HTREEITEM hItem, BOOL bSelected);
    BOOL IsItemSelected(HTREEITEM hItem) const;
    // Appends the selected items at and after hStart in tree order, descending
    // into groups that have records below them.
    void CollectSelected(CKWArray<STORETREEITEM>& items, HTREEITEM hStart) const;
    // Shift ranges: the item last clicked with either button (null for none).
    HTREEITEM GetAnchorItem() const { return m_hAnchor; }
    // Of hFirst and hSecond, the one that comes first in tree order.
    HTREEITEM FindFirstOf(HTREEITEM hFirst, HTREEITEM hSecond) const;
    // Selects every item from hFrom to hTo in tree order, both included.
    void SelectRange(HTREEITEM hFrom, HTREEITEM hTo);

    // Removes the item's record, the records below it in the store and the
    // item with the items below it; FALSE, leaving the item, when it has no
    // record. A parent left without records below loses its has-children flag.
    BOOL RemoveItem(HTREEITEM hItem);
    // Turns label editing on and edits the item's label.
    void EditItemLabel(HTREEITEM hItem);
    BOOL IsEditing() const { return m_bEditing; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // The right-button menu: the derived tree fills it for the clicked item
    // and runs the command chosen (0: none).
    virtual void BuildContextMenu(CMenu& menu, HTREEITEM hClicked) = 0;
    virtual void RunContextCommand(UINT nCmd, HTREEITEM hClicked) = 0;
    // Whether the context menu offers nCmd enabled for a right click on hClicked.
    virtual BOOL IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const = 0;
    // One line of a context menu; command 0 is a separator.
    struct SContextEntry {
        UINT nCmd;
        const char* pszText;
    };
    // Appends the lines, each enabled or grayed as IsContextCommandEnabled answers.
    void AppendContextEntries(CMenu& menu, const SContextEntry* pEntries, size_t nCount,
                              HTREEITEM hClicked) const;
    // The item that command 32854 renames; null for none.
    virtual HTREEITEM GetItemToRename() const;
    // The picture of bitmap 130 for a record's item inserted below hParent
    // (TVI_ROOT at the top): the group or item picture given at construction.
    virtual int GetRecordImage(HTREEITEM hParent, const RECORD& record) const;
    // The keyboard table loaded at WM_CREATE: 223 (rename and delete).
    virtual UINT GetAcceleratorId() const;

    CTreeStore& Store() const { return *m_pfnGetStore(); }
    // Copies of the records below nParentID, in store order: copied out first,
    // since the store's search cursor is shared and the caller may walk
    // another group before it is done with these.
    std::vector<RECORD> GetChildRecords(int nParentID) const;
    HTREEITEM InsertRecordItem(HTREEITEM hParent, const RECORD& record, BOOL bHasChildren);
    void SetHasChildren(HTREEITEM hItem, BOOL bHasChildren);
    BOOL IsExpandedOnce(HTREEITEM hItem) const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEditName();
    afx_msg void OnDeleteSelected();
    DECLARE_MESSAGE_MAP()

private:
    void RemoveRecordsBelow(int nID);

    const PFNGETSTORE m_pfnGetStore;
    const int m_nGroupImage;
    const int m_nItemImage;
    const BOOL m_bShiftRanges;
    CImageList m_images;
    BOOL m_bEditing = FALSE;       // from the start to the end of a label edit
    HACCEL m_hAccel = nullptr;     // loaded at WM_CREATE; shared, never destroyed
    HTREEITEM m_hAnchor = nullptr; // cleared when its item is deleted
};
