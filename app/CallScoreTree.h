// CallScoreTree.h: the tree of the "My Call Score" group of the Access Panel.
//   CCallScoreTree             the call-score store as a tree: the root, one
//                              group per score-form title, below it one group
//                              per scorer, and below that the call links to
//                              the scored recordings
//   CCallScoreTreeWithToolbar  the tree below its toolbar (resource 228:
//                              Play, Delete, Manage Call Score Forms and
//                              Validate Links), the group's window
//
// The tree is a view of CCallScore: each item carries its record's ID and
// every change goes to the store at once; the store is written at exit only.
// Labels never change after insertion (no label editing), and the tree takes
// no drops and starts no drags.
//
// Call links are told apart by their recordings: below one scorer a path is
// linked once, whatever the case of its letters, and two recordings that
// share a file name (and so a label) both get a link.
//
// Playing and recording lists go to the main window's ICallListHost; without
// one, a call is still loaded and started in the playback engine.
#pragma once

#include "BaseWndWithToolbar.h"
#include "CallLinkTreeCtrl.h"

class CScoredFileListEntry;

class CCallScoreTree : public CCallLinkTreeCtrl {
public:
    // The pictures of the tree bitmap, by the item's place.
    enum { IMAGE_ROOT = 0, IMAGE_FORM = 1, IMAGE_SCORER = 2, IMAGE_CALL = 3 };

    CCallScoreTree();
    ~CCallScoreTree() override;

    // Files the entry's scores: for each score whose form still exists, a
    // link to the recording below form title > scorer, the groups made when
    // missing. A null entry does nothing.
    void AddScoredCall(CScoredFileListEntry* pEntry);

    // The direct child of hParent whose record's Name is lpszName exactly;
    // null for none (also when hParent has no children).
    HTREEITEM FindChildByName(HTREEITEM hParent, LPCTSTR lpszName);
    // Adds a group record and its item at the end of hParent (a scorer group,
    // IsGroup 2, when hParent has a parent item; else a form group, 1). The
    // new item counts as filled and expanded. Null, adding no record, when
    // the item cannot be inserted.
    HTREEITEM AddGroup(HTREEITEM hParent, LPCTSTR lpszName, int nID);

    // Plays each selected item but the root, in tree order: the last one
    // that loads is left playing.
    void OnPlaySelected();
    // Opens the links' recordings as a new recording list of the main window;
    // FALSE, opening nothing, when there are no links or no main window.
    BOOL CreateRecordingList(const CKWArray<HOTLISTTREEITEM>& links);
    // The score forms manager, modal, without a parent.
    void OnManageCallScoreForms();

    // Whether the context menu offers nCmd enabled for a right click on
    // hClicked with the current selection.
    BOOL IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const override;
    // The file name of a path: the text after its last backslash.
    static CString GetFileName(LPCTSTR lpszPath);

protected:
    void BuildContextMenu(CMenu& menu, HTREEITEM hClicked) override;
    void RunContextCommand(UINT nCmd, HTREEITEM hClicked) override;
    int GetRecordImage(HTREEITEM hParent, const RECORD& record) const override;
    UINT GetAcceleratorId() const override;

    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // The child group named lpszName, made when missing, expanded.
    HTREEITEM FindOrAddGroup(HTREEITEM hParent, LPCTSTR lpszName);
};

class CCallScoreTreeWithToolbar : public CBaseWndWithToolbar {
public:
    CCallScoreTreeWithToolbar();
    ~CCallScoreTreeWithToolbar() override;

    CCallScoreTree& GetCallScoreTree() { return m_wndTree; }

    BOOL CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
    CTreeCtrl* GetTree() override { return &m_wndTree; }
    UINT GetToolbarId() override;
    BOOL OnToolbarCommand(UINT nID) override;
    void OnUpdateToolbarCommand(CCmdUI* pCmdUI) override;
    // Whether the button of nID would be enabled now: Play and Delete with a
    // selection and the caret item not the root, the others always.
    BOOL IsToolbarCommandEnabled(UINT nID);

private:
    CCallScoreTree m_wndTree;
};
