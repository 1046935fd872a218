// HotListsTree.h: the tree of the "My Calls for Review" group of the Access
// Panel.
//   CHotListsTreeDropTarget  the tree's OLE drop target
//   CHotListsTree            the hot-list store as a tree of hot lists (groups)
//                            and call links to single recordings
//
// From the tree the user plays a call, opens the calls of hot lists as a new
// recording list, makes, renames, empties and removes hot lists, removes call
// links, links to the same recording twice in one hot list and links whose
// file is gone, and moves links by the clipboard and by dragging.
//
// Call links are told apart by their recordings: two links are the same when
// their Targets name the same path, whatever the case of its letters, so two
// different recordings that share a file name (and so a label) are both kept.
// Groups, which have no Target, are told apart by their names.
//
// Walks over the tree (collecting calls, validation, clearing, duplicates)
// first fill the groups that were never expanded, so that they act on every
// record, not only on those that happen to be shown.
//
// Drops: recording files come from the shell or another window as a file-drop
// list (CF_HDROP) and become call links below the hot list under the cursor,
// when they pass the drop filter; the tree's own items, dragged inside it,
// move to the hot list under the cursor. A drop reaches the tree either as
// WM_DROPFILES or, when OLE hands it to the registered target (as Wine does),
// through the target itself; both run DropFiles. Pasting takes the clipboard's
// file-drop list without the filter.
//
// Playing and recording lists go to the main window's ICallListHost; without
// one, a call is still loaded and started in the playback engine.
#pragma once

#include "CallLinkTreeCtrl.h"

#include "Common/DropFileList.h"

#include "framework/OleDragDrop.h"

class CHotListsTree;

class CHotListsTreeDropTarget : public COleDropTarget {
public:
    // Over an item: the tree takes the focus and the item becomes the caret
    // item, the drop's destination. Answers a move for the tree's own drag,
    // a copy for files from elsewhere (never a move, which would have the
    // shell delete the files), nothing for data without a file-drop list.
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    // Hands the file-drop list to CHotListsTree::DropFiles.
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                CPoint point) override;
};

class CHotListsTree : public CCallLinkTreeCtrl {
public:
    enum { IMAGE_GROUP = 1, IMAGE_CALL = 3 };
    // The drop filter's flags.
    enum {
        DROP_FILES = 0x01,     // regular files pass
        DROP_FOLDERS = 0x02,   // folders pass
        DROP_EXTENSION = 0x10, // a file passes only with the filter's extension
    };

    CHotListsTree();
    ~CHotListsTree() override;

    // Which dropped paths the tree takes: DROP_* flags and an extension with
    // its point (".zel"). A new tree takes files and folders of any kind.
    void SetDropFilter(DWORD dwFlags, LPCTSTR lpszExtension);
    DWORD GetDropFilterFlags() const { return m_dwDropFlags; }
    // True when the path exists and passes the drop filter.
    BOOL MatchesDropFilter(LPCTSTR lpszPath) const;

    // Adds a group record named lpszName ("New Hotlist" when empty) and its
    // item at the end of hParent; with bEdit the new item becomes the caret
    // item and its label is edited. Null, adding no record, when the item
    // cannot be inserted.
    HTREEITEM AddHotList(HTREEITEM hParent, LPCTSTR lpszName, int nID, BOOL bEdit);
    // The label of a call link to a recording: its file name without folder
    // and extension, followed by ".zel".
    static CString MakeLinkName(LPCTSTR lpszPath);

    // Opens the recordings of the selected links and hot lists, in tree
    // order, as a new recording list of the main window.
    void CreateRecordingList();
    // Of a group's direct children that name the same recording (call links)
    // or carry the same name (groups), keeps one and removes the others, and
    // says how many went. A group with records below it is never removed as
    // a duplicate: only empty same-named groups go, so no call link is lost.
    void RemoveDuplicates(HTREEITEM hGroup);
    // Removes the call links directly below the group; its groups stay.
    void ClearCalls(HTREEITEM hGroup);
    // Replaces the group in the selection by its direct call links.
    void SelectAllCalls(HTREEITEM hGroup);

    // Whether the context menu offers nCmd (33069..33080) enabled for a right
    // click on hClicked with the current selection and clipboard.
    BOOL IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const override;
    // Whether the clipboard holds a file-drop list.
    static BOOL ClipboardHasFiles();

    // The clipboard: the recordings of the selection that pass the drop
    // filter go to it as a file-drop list; nothing selected leaves it alone.
    void CopyToClipboard();
    void PasteFromClipboard(HTREEITEM hItem);
    // Adds the data's files below hItem; TRUE when the data held a file list.
    BOOL PasteFromDataObject(COleDataObject* pDataObject, HTREEITEM hItem);
    // Adds every file of the drop below hItem, unfiltered; FALSE when the
    // drop holds no file. The caller keeps the handle.
    BOOL AddDroppedFiles(HDROP hDrop, HTREEITEM hItem);

    // Collects the selection into the drag items and their recordings into
    // the list (with its block built); FALSE when nothing is selected.
    BOOL BuildDropFileList(CDropFileList& fileList);
    // A drop on the caret item: the tree's own drag moves its items there,
    // files from elsewhere become call links. Frees the handle.
    void DropFiles(HDROP hDrop);
    // The items of the drag under way; empty outside a drag of the tree.
    const CKWArray<HOTLISTTREEITEM>& GetDragItems() const { return m_dragItems; }
    CHotListsTreeDropTarget& GetDropTarget() { return m_dropTarget; }

protected:
    void BuildContextMenu(CMenu& menu, HTREEITEM hClicked) override;
    void RunContextCommand(UINT nCmd, HTREEITEM hClicked) override;
    // The anchor item, when it is a group: call links are not renamed.
    HTREEITEM GetItemToRename() const override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    HTREEITEM AddRecordItem(HTREEITEM hParent, const RECORD& record);
    // Adds the targets of the selection (the call links below a selected
    // group) that pass the filter when bFiltered; with pDragItems, appends
    // each group's call links to it after the selection.
    void CollectSelectionFiles(CDropFileList& fileList, BOOL bFiltered,
                               CKWArray<HOTLISTTREEITEM>* pDragItems);
    void MoveDragItems(HTREEITEM hTarget);
    void AddFilesFromOutside(HDROP hDrop, HTREEITEM hTarget);
    void ExploreItem(HTREEITEM hItem);

    CKWArray<HOTLISTTREEITEM> m_dragItems; // filled while a drag of the tree runs
    DWORD m_dwDropFlags;
    CString m_strDropExtension;
    CHotListsTreeDropTarget m_dropTarget;
};
