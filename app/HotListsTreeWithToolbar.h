// HotListsTreeWithToolbar.h: CHotListsTreeWithToolbar, the hot-lists tree below
// its toolbar (resource 224: Cut, Copy, Paste, Delete and Validate), the
// window of the "My Calls for Review" group of the Access Panel.
//
// The buttons act on the tree: Cut copies the selection's recordings to the
// clipboard and then removes the selected items; Paste adds the clipboard's
// files below the caret item. A button is enabled when its command can act:
// Copy with a selection, Cut and Delete with a selection and the caret item
// not the root, Paste with exactly one item selected and files on the
// clipboard, Validate always.
#pragma once

#include "BaseWndWithToolbar.h"
#include "HotListsTree.h"

class CHotListsTreeWithToolbar : public CBaseWndWithToolbar {
public:
    CHotListsTreeWithToolbar();
    ~CHotListsTreeWithToolbar() override;

    CHotListsTree& GetHotListsTree() { return m_wndTree; }

    BOOL CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
    CTreeCtrl* GetTree() override { return &m_wndTree; }
    UINT GetToolbarId() override;
    BOOL OnToolbarCommand(UINT nID) override;
    void OnUpdateToolbarCommand(CCmdUI* pCmdUI) override;
    // Whether the button of nID would be enabled now (the rule of
    // OnUpdateToolbarCommand).
    BOOL IsToolbarCommandEnabled(UINT nID);

private:
    CHotListsTree m_wndTree;
};
