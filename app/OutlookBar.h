// OutlookBar.h: COutlookBar, the Access Panel: a sizeable docking bar whose
// whole client area is a shortcut bar of groups, each group showing one of
// the application's trees instead of a list of icons.
//
// The groups are made once, at creation, and never replaced; the trees fill
// themselves from their stores and refill on the main frame's reload
// messages, except the call-score tree, which takes each call as it is
// scored.
#pragma once

#include "CallScoreTree.h"
#include "HotListsTreeWithToolbar.h"
#include "ShellFolderTree.h"
#include "ShortCutTree.h"

#include "OXShortcutBar.h"
#include "OXSizeCtrlBar.h"

#include "framework/ImageList.h"

class COutlookBar : public COXSizeControlBar {
public:
    enum {
        IDC_SHORTCUTBAR = 7565,
        IDC_HOTLISTS = 3000, // the tree's id; its window has 4000
        IDC_SHORTCUTS = 3001,
        IDC_SHELLFOLDERS = 3002,
        IDC_CALLSCORES = 3003, // the tree's id; its window has 4003
        MIN_WIDTH = 200,
        MIN_HEIGHT = 250,
    };

    COutlookBar();
    ~COutlookBar() override;

    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;

    // The main frame's WM_RELOAD_SHORTCUTS and WM_RELOAD_HOTLISTS.
    void ReloadShortcuts();
    void ReloadHotLists();
    // The main frame's WM_CALL_SCORED: files the scored call (not owned) in
    // the call-score tree.
    void AddScoredCall(CScoredFileListEntry* pEntry);

    COXShortcutBar& GetShortcutBar() { return m_wndShortcutBar; }
    CShortCutTree& GetShortCutTree() { return m_wndShortCutTree; }
    CHotListsTreeWithToolbar& GetHotListsWnd() { return m_wndHotLists; }
    CShellFolderTree& GetShellFolderTree() { return m_wndShellTree; }
    CCallScoreTreeWithToolbar& GetCallScoreWnd() { return m_wndCallScores; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnShortcutBarContextMenu(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void CreateGroups();
    HSHBGROUP InsertGroup(LPCTSTR lpszText, CWnd& wndChild, int nImage);

    COXShortcutBar m_wndShortcutBar;
    CHotListsTreeWithToolbar m_wndHotLists;
    CShortCutTree m_wndShortCutTree;
    CShellFolderTree m_wndShellTree;
    CCallScoreTreeWithToolbar m_wndCallScores;
    CImageList m_groupImages;
};
