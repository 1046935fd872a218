// ShellFolderTree.h: CShellFolderTree, the "My Explorer" tree of the Access
// Panel (the folders of the shell namespace), and CShellFolderTreeDropTarget,
// its OLE drop target.
//
// The tree shows folders only. Every shell access goes through the embedded
// COXShellNamespaceNavigator, so the tree sees what the shell sees: virtual
// folders (My Computer) appear, and have no file-system path.
//
// Item data: each item's data is the SHELLOBJECTINFO record of its object,
// owned by the item and freed when the item is deleted (TVN_DELETEITEM).
// Children are read once, at an item's first expansion; Initialize reads the
// tree again from its start folder.
//
// What it sends: WM_CREATE_RECORDING_LIST (a heap CKWArray<CKWString> of one
// path, owned by the receiver) and WM_RELOAD_SHORTCUTS, both posted to the
// program's main window.
//
// Drops: recordings dropped on a folder are copied into it, after a question.
// Files reach the tree by two roads that end in the same code
// (HandleDroppedFiles): a plain WM_DROPFILES, and an OLE drag. Under Wine an
// OLE drag goes to the registered drop target, so the target follows the
// cursor with the caret item, answers a copy over a folder of the file
// system, and its drop hands the file list to the tree as WM_DROPFILES. The
// framework turns a drag that the target refuses into a file drop on a window
// that accepts files, so the refusals (no folder under the cursor, the tree's
// own items) are made again by HandleDroppedFiles.
// Each copy is checked first: a file is never copied onto itself, a different
// file of the destination's name is replaced only when the user says so, and
// the copy goes to a temporary file in the target folder that is renamed into
// place, so a failed copy leaves no half file.
//
// Label notifications are taken in their ANSI form: the tree's parents are
// framework windows, which answer WM_NOTIFYFORMAT with NFR_ANSI.
#pragma once

#include "KWArray.h"
#include "OXShellNamespaceNavigator.h"

#include "framework/Collections.h"
#include "framework/ImageList.h"
#include "framework/Ole.h"
#include "framework/PtrCollections.h"
#include "framework/TreeCtrl.h"

class CShellFolderTree;

class CShellFolderTreeDropTarget : public COleDropTarget {
public:
    // pTree: the tree that holds this target; it outlives the target's registration.
    explicit CShellFolderTreeDropTarget(CShellFolderTree* pTree) : m_pTree(pTree) {}

    // Makes the item under the cursor the caret item, the folder a drop goes
    // to, and answers a copy of a file list over a folder of the file system.
    // The drop itself is the base's: the list goes to the tree as WM_DROPFILES.
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;

private:
    CShellFolderTree* m_pTree; // not owned: the tree this target is a member of
};

class CShellFolderTree : public CTreeCtrl {
public:
    // Which dropped paths a drop takes (IsDropAccepted).
    enum {
        DROP_FILES = 0x01,
        DROP_FOLDERS = 0x02,
        DROP_MATCH_EXTENSION = 0x10, // files only with the filter's extension
    };
    struct DROPFILTER {
        DWORD dwFlags = DROP_FILES | DROP_FOLDERS;
        CString strExtension; // with its dot, e.g. ".zel"; compared without regard to case
    };

    // One marked item, as a drag gathers them.
    struct FOLDERTREEITEM {
        HTREEITEM hItem = nullptr;
        CString strPath; // empty for an object without a file-system path
        CString strText;
    };

    CShellFolderTree();
    // The items (and their records) go with the window; the navigator after them.
    ~CShellFolderTree() override;

    // (Re)fills the tree with the sub-folders of lpszPath (empty: the desktop)
    // as its top level. FALSE, with the tree as it was, when the window does not
    // exist or the shell cannot give the folder.
    BOOL Initialize(LPCTSTR lpszPath);
    void SetDropFilter(const DROPFILTER& filter) { m_dropFilter = filter; }
    const DROPFILTER& GetDropFilter() const { return m_dropFilter; }
    // Whether the tree owns the shell's user interface (the navigator's owner
    // window); applied at once when the window exists, and again by Initialize.
    void SetUseOwnerWnd(BOOL bUseOwnerWnd);

    // The file-system path of the item's object; empty for an item without a
    // record or an object without a path (a virtual folder).
    CString GetItemPath(HTREEITEM hItem) const;
    // A path is taken for a folder's when a '\' or '/' comes after its last '.':
    // C:\Calls and C:\ are, C:\Calls\Calls.old and a bare Calls are not.
    static BOOL IsFolderPath(LPCTSTR lpszPath);
    // Whether a drop takes this path under the drop filter; never for a missing path.
    BOOL IsDropAccepted(LPCTSTR lpszPath) const;
    // The items whose state shows selected, in tree order, expanded children included.
    void CollectSelected(CKWArray<FOLDERTREEITEM>& items) const;
    // The item's record, or null.
    const SHELLOBJECTINFO* GetItemObject(HTREEITEM hItem) const;

    // The commands, on the caret item.
    void OnCreateRecordingList();
    void OnAddToShortcuts();
    void OnExplore();
    void OnCreateShortcutList();

    // Dropped paths, from WM_DROPFILES or from the OLE drop: asks, then copies
    // the accepted files into the caret item's folder. FALSE when the drop was
    // refused or not confirmed, or a copy failed.
    BOOL HandleDroppedFiles(const CStringArray& paths);

    // Extensions accepted for objects that are files (empty list: all).
    virtual BOOL IsFileAccepted(LPCTSTR lpszName) const;
    virtual BOOL IsObjectAccepted(const SHELLOBJECTINFO* pInfo) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    friend class CShellFolderTreeDropTarget;

    void CollectSelectedFrom(HTREEITEM hItem, CKWArray<FOLDERTREEITEM>& items) const;
    // Frees the records of hItem, its siblings after it and all their children.
    void FreeRecords(HTREEITEM hItem);
    BOOL InsertChildren(HTREEITEM hParent, IShellFolder* pFolder, LPCITEMIDLIST pidlFolder);
    void SortChildren(HTREEITEM hItem);
    int GetOwnIconIndex(int nSystemIcon);
    void ClearSelection(HTREEITEM hItem);
    void ShowContextMenu(CPoint ptScreen);
    // Asks and copies; the body of HandleDroppedFiles.
    BOOL CopyDroppedFiles(const CString& strFolder, const CStringArray& paths);
    // Copies one file into strFolder as strDestination; FALSE only when the
    // copy failed (a file skipped after a check or an answer is not a failure).
    BOOL CopyOneFile(const CString& strSource, const CString& strFolder,
                     const CString& strDestination);
    static CString GetPathFromPidl(LPCITEMIDLIST pidl);

    COXShellNamespaceNavigator m_navigator;
    BOOL m_bUseOwnerWnd;                // the tree owns the shell's user interface
    CImageList m_imageList;             // owns: 0 is the "shell32.dll" icon, then the icons in use
    HIMAGELIST m_hSystemImageList;      // not owned: the shell's small-icon list
    CMap<int, int, int, int> m_iconMap; // system icon index -> index in m_imageList
    CStringArray m_extensions;          // for IsFileAccepted; nothing fills it
    BOOL m_bEditingLabel;
    CShellFolderTreeDropTarget m_dropTarget;
    DROPFILTER m_dropFilter;
    BOOL m_bDraggingOwnItems;
    HACCEL m_hAccel; // a resource: not destroyed
};
