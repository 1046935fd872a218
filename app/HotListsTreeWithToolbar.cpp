// HotListsTreeWithToolbar.cpp: the hot-lists tree under its toolbar.
#include "HotListsTreeWithToolbar.h"

#include "resource.h"

#include "framework/CmdUI.h"

CHotListsTreeWithToolbar::CHotListsTreeWithToolbar() = default;

CHotListsTreeWithToolbar::~CHotListsTreeWithToolbar() = default;

BOOL CHotListsTreeWithToolbar::CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                                          UINT nID) {
    return m_wndTree.Create(dwStyle | WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT,
                            rect, pParentWnd, nID);
}

UINT CHotListsTreeWithToolbar::GetToolbarId() {
    return IDR_HOTLISTS_TOOLBAR;
}

BOOL CHotListsTreeWithToolbar::OnToolbarCommand(UINT nID) {
    switch (nID) {
    case ID_VALIDATE_LINKS:
        m_wndTree.ValidateLinks();
        return TRUE;
    case ID_EDIT_COPY:
        m_wndTree.CopyToClipboard();
        return TRUE;
    case ID_EDIT_CUT:
        m_wndTree.CopyToClipboard();
        m_wndTree.DeleteSelected();
        return TRUE;
    case ID_DELETE_SELECTED:
        m_wndTree.DeleteSelected();
        return TRUE;
    case ID_EDIT_PASTE:
        m_wndTree.PasteFromClipboard(m_wndTree.GetSelectedItem());
        return TRUE;
    }
    return FALSE;
}

BOOL CHotListsTreeWithToolbar::IsToolbarCommandEnabled(UINT nID) {
    if (m_wndTree.GetSafeHwnd() == nullptr)
        return FALSE;
    const int nSelected = m_wndTree.CountSelected();
    const HTREEITEM hCaret = m_wndTree.GetSelectedItem();
    switch (nID) {
    case ID_EDIT_COPY:
        return nSelected > 0;
    case ID_EDIT_CUT:
    case ID_DELETE_SELECTED:
        return nSelected > 0 && hCaret != m_wndTree.GetRootItem();
    case ID_EDIT_PASTE:
        return nSelected == 1 && CHotListsTree::ClipboardHasFiles();
    case ID_VALIDATE_LINKS:
        return TRUE;
    }
    return FALSE;
}

void CHotListsTreeWithToolbar::OnUpdateToolbarCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsToolbarCommandEnabled(pCmdUI->m_nID));
}
