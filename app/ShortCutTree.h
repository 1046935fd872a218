// ShortCutTree.h: the tree of the "My Shortcuts" group of the Access Panel.
//   CShortCutTreeDropTarget  the tree's OLE drop target: takes only drags
//                            that began in the tree
//   CShortCutTree            the shortcut store as a tree of groups and
//                            shortcuts to folders of recordings
//
// From the tree the user builds recording lists (a double click, or the menu's
// "Create Recording List...", posts the folders to the main window), opens a
// shortcut's folder in the shell, makes, renames and removes groups and
// shortcuts, moves them by dragging within the tree, and drags their folders
// onto other windows as a list of dropped files.
//
// A drag of the tree's own items ends in a move onto the item under the
// cursor. It arrives as WM_DROPFILES while the tree accepts dropped files, or,
// when OLE hands the drop to the registered target (as Wine does), through
// the target itself; both run DropDragItems. Drags from elsewhere are refused.
// A move copies the records with new IDs below the target's group, last, with
// the structure below a group, and never puts a group below itself.
#pragma once

#include "StoreTreeCtrl.h"

#include "framework/OleDragDrop.h"

class CShortCutTree;

class CShortCutTreeDropTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                CPoint point) override;

    // The caret item when a drag of the tree's own began; null when no such
    // drag is under way.
    HTREEITEM m_hDragStart = nullptr;
    // The item under the cursor during such a drag.
    HTREEITEM m_hDropItem = nullptr;
};

class CShortCutTree : public CStoreTreeCtrl {
public:
    using SHORTCUTTREEITEM = STORETREEITEM;
    enum { IMAGE_GROUP = 0, IMAGE_SHORTCUT = 2 };

    CShortCutTree();
    ~CShortCutTree() override;

    // Adds the record and its item at the end of hGroup, fills hGroup's stored
    // children first when it was never expanded, and expands it. Null when the
    // target is empty (a shortcut) or hGroup has no record.
    HTREEITEM AddShortcut(HTREEITEM hGroup, int nID, LPCTSTR lpszName, LPCTSTR lpszTarget);
    HTREEITEM AddGroup(HTREEITEM hGroup, int nID, LPCTSTR lpszName);
    // Moves hSource, with everything below it, into hTarget's group (the
    // parent of a shortcut target); TRUE when something moved.
    BOOL MoveItem(HTREEITEM hSource, HTREEITEM hTarget);

    // Posts WM_CREATE_RECORDING_LIST with the folders of the selection.
    void CreateRecordingList();
    // Appends the shortcuts at or below hItem and, with bSiblings, at or below
    // its following siblings.
    void CollectShortcuts(CKWArray<SHORTCUTTREEITEM>& items, HTREEITEM hItem, BOOL bSiblings) const;

    // TRUE when, read from the end, a backslash or slash comes before a point.
    static BOOL IsFolderPath(LPCTSTR lpszPath);
    // The name of a new shortcut to a folder: its last component without the
    // extension ("D:\Calls\2009.Q1" gives "2009").
    static CString MakeShortcutName(LPCTSTR lpszPath);

    // Whether the context menu offers nCmd (32969..32976) enabled for a right
    // click on hClicked with the current selection.
    BOOL IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const override;

    // The context menu's commands on a group.
    void SelectAllShortcuts(HTREEITEM hGroup);
    void NewGroup(HTREEITEM hGroup);
    void NewShortcut(HTREEITEM hGroup);
    void ClearShortcuts(HTREEITEM hGroup);

    // Moves each collected drag item onto the drop item and ends the drag;
    // FALSE when no drag of the tree's own was under way.
    BOOL DropDragItems();
    CShortCutTreeDropTarget& GetDropTarget() { return m_dropTarget; }
    const CKWArray<SHORTCUTTREEITEM>& GetDragItems() const { return m_dragItems; }

protected:
    void BuildContextMenu(CMenu& menu, HTREEITEM hClicked) override;
    void RunContextCommand(UINT nCmd, HTREEITEM hClicked) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    HTREEITEM AddRecordItem(HTREEITEM hGroup, RECORD record);
    void BeginDrag();

    CShortCutTreeDropTarget m_dropTarget;
    CKWArray<SHORTCUTTREEITEM> m_dragItems; // of the last drag, in tree order
};
