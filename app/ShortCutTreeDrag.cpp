// ShortCutTreeDrag.cpp: the shortcut tree's moves and drags: the drag of
// the selection as a list of dropped files, the drop target that takes only
// the tree's own drags, and the move of items within the tree.
#include "ShortCutTree.h"

#include "DropFileList.h"

#include <shellapi.h>

#include <cstring>

// ---------------------------------------------------------------------------
// Moves

BOOL CShortCutTree::MoveItem(HTREEITEM hSource, HTREEITEM hTarget) {
    RECORD source{};
    RECORD target{};
    for (;;) {
        if (!GetItemRecord(hSource, source) || !GetItemRecord(hTarget, target))
            return FALSE;
        if (target.IsGroup)
            break;
        // Onto a shortcut: into its group.
        hTarget = GetParentItem(hTarget);
    }
    if (hSource == hTarget || GetParentItem(hSource) == hTarget)
        return FALSE;
    // A group cannot go below itself.
    if (source.IsGroup && IsAncestorOf(hSource, hTarget))
        return FALSE;
    // The children move as items: a group never expanded has its stored
    // children filled first, or they would stay behind below a removed ID.
    FillChildItems(hSource);
    const int nNewID = Store().GetNextID();
    HTREEITEM hNew = source.IsGroup ? AddGroup(hTarget, nNewID, source.Name)
                                    : AddShortcut(hTarget, nNewID, source.Name, source.Target);
    if (hNew == nullptr)
        return FALSE;
    if (source.IsGroup) {
        FillChildItems(hNew);
        HTREEITEM hChild = GetChildItem(hSource);
        while (hChild != nullptr) {
            // A child that cannot move (a shortcut without a target) goes with
            // the source; the walk goes on past it.
            HTREEITEM hNext = GetNextSiblingItem(hChild);
            MoveItem(hChild, hNew);
            hChild = hNext;
        }
    }
    RemoveItem(hSource);
    return TRUE;
}

BOOL CShortCutTree::DropDragItems() {
    const BOOL bOwnDrag = m_dropTarget.m_hDragStart != nullptr;
    HTREEITEM hDrop = m_dropTarget.m_hDropItem;
    DragAcceptFiles(FALSE);
    if (bOwnDrag && hDrop != nullptr) {
        for (int i = 0; i < m_dragItems.GetSize(); ++i) {
            // Items that went with a group moved before their turn are gone.
            HTREEITEM hItem = m_dragItems.GetAt(i).hItem;
            if (ItemExists(hItem) && ItemExists(hDrop))
                MoveItem(hItem, hDrop);
        }
    }
    m_dropTarget.m_hDragStart = nullptr;
    m_dropTarget.m_hDropItem = nullptr;
    return bOwnDrag;
}

void CShortCutTree::OnDropFiles(HDROP hDropInfo) {
    // The paths are not read: the tree only takes its own drags, whose items
    // it holds already.
    DropDragItems();
    ::DragFinish(hDropInfo);
}

// ---------------------------------------------------------------------------
// Drags

void CShortCutTree::OnMouseMove(UINT nFlags, CPoint point) {
    // After a Ctrl+click the control's own drag detection did not run.
    if ((nFlags & MK_LBUTTON) && !IsEditing() && CountSelected() > 0) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        if (::DragDetect(m_hWnd, ptScreen)) {
            BeginDrag();
            return;
        }
    }
    Default();
}

void CShortCutTree::OnBeginDrag(NMHDR*, LRESULT* pResult) {
    BeginDrag();
    *pResult = 1;
}

void CShortCutTree::BeginDrag() {
    m_dragItems.RemoveAll();
    CollectSelected(m_dragItems, GetRootItem());
    if (m_dragItems.GetSize() == 0) {
        DragAcceptFiles(FALSE);
        return;
    }
    // Marks the drag as the tree's own; with no caret item (a selection made
    // by Ctrl+clicks alone) the first dragged item stands in for it.
    HTREEITEM hCaret = GetSelectedItem();
    m_dropTarget.m_hDragStart = hCaret != nullptr ? hCaret : m_dragItems.GetAt(0).hItem;
    DragAcceptFiles(TRUE);

    CDropFileList files;
    for (int i = 0; i < m_dragItems.GetSize(); ++i) {
        const SHORTCUTTREEITEM& item = m_dragItems.GetAt(i);
        if (!item.IsGroup) {
            files.Add(item.Target);
            continue;
        }
        FillSubtree(item.hItem);
        CKWArray<SHORTCUTTREEITEM> shortcuts(0, 10);
        CollectShortcuts(shortcuts, item.hItem, FALSE);
        for (int j = 0; j < shortcuts.GetSize(); ++j)
            files.Add(shortcuts.GetAt(j).Target);
    }
    files.BuildBlock();

    COleDataSource source;
    HGLOBAL hBlock =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, files.GetBlockSize());
    if (hBlock != nullptr) {
        void* pBlock = ::GlobalLock(hBlock);
        if (pBlock != nullptr) {
            memcpy(pBlock, files.GetBlock(), files.GetBlockSize());
            ::GlobalUnlock(hBlock);
        }
        if (pBlock != nullptr && source.CacheGlobalData(CF_HDROP, hBlock))
            source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
        else
            ::GlobalFree(hBlock);
    }
    // A drag that ended elsewhere, or was cancelled, leaves no trace that a
    // later drop from outside could be taken for.
    m_dropTarget.m_hDragStart = nullptr;
    m_dropTarget.m_hDropItem = nullptr;
    DragAcceptFiles(FALSE);
    DeselectAll();
}

// ---------------------------------------------------------------------------
// CShortCutTreeDropTarget

DROPEFFECT CShortCutTreeDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD,
                                               CPoint point) {
    CShortCutTree* pTree = dynamic_cast<CShortCutTree*>(pWnd);
    if (pTree != nullptr && m_hDragStart != nullptr && pDataObject != nullptr) {
        pTree->DragAcceptFiles(TRUE);
        HTREEITEM hItem = pTree->HitTest(point);
        if (hItem != nullptr) {
            pTree->SelectItem(hItem);
            m_hDropItem = hItem;
        }
        pTree->SetFocus();
        return DROPEFFECT_MOVE;
    }
    // Files from the shell or another window are no shortcuts' folders.
    if (pTree != nullptr)
        pTree->DragAcceptFiles(FALSE);
    return DROPEFFECT_NONE;
}

void CShortCutTreeDropTarget::OnDragLeave(CWnd* pWnd) {
    CShortCutTree* pTree = dynamic_cast<CShortCutTree*>(pWnd);
    if (pTree != nullptr)
        pTree->DragAcceptFiles(FALSE);
    m_hDropItem = nullptr;
    m_hDragStart = nullptr;
    COleDropTarget::OnDragLeave(pWnd);
}

BOOL CShortCutTreeDropTarget::OnDrop(CWnd* pWnd, COleDataObject*, DROPEFFECT, CPoint) {
    // OLE hands the drop here rather than as WM_DROPFILES: the same move.
    CShortCutTree* pTree = dynamic_cast<CShortCutTree*>(pWnd);
    return pTree != nullptr && pTree->DropDragItems();
}
