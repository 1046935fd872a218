// HotListsTreeDrop.cpp: how call links enter and leave the hot-lists tree: the
// drop filter, the clipboard, the drag of the tree's items and the drops on
// the tree, with its OLE drop target.
#include "HotListsTree.h"

#include "HotLists.h"

#include "framework/WinApp.h"

#include <shellapi.h>

#include <cstring>
#include <algorithm>
#include <set>
#include <vector>

namespace {

// A copy of the list's block in new global memory for the clipboard or a
// drag; null when memory is short.
HGLOBAL CopyBlock(const CDropFileList& fileList) {
    HGLOBAL hGlobal =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, fileList.GetBlockSize());
    if (hGlobal == nullptr)
        return nullptr;
    void* pData = ::GlobalLock(hGlobal);
    if (pData == nullptr) {
        ::GlobalFree(hGlobal);
        return nullptr;
    }
    memcpy(pData, fileList.GetBlock(), fileList.GetBlockSize());
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

// The paths of a drop, in order, each of up to MAX_PATH characters.
std::vector<CString> DroppedPaths(HDROP hDrop) {
    std::vector<CString> paths;
    const UINT nFiles = ::DragQueryFile(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        char szPath[MAX_PATH] = {};
        if (::DragQueryFile(hDrop, i, szPath, MAX_PATH) > 0)
            paths.push_back(szPath);
    }
    return paths;
}

} // namespace

// ---------------------------------------------------------------------------
// The drop filter

void CHotListsTree::SetDropFilter(DWORD dwFlags, LPCTSTR lpszExtension) {
    m_dwDropFlags = dwFlags;
    m_strDropExtension = lpszExtension != nullptr ? lpszExtension : "";
}

BOOL CHotListsTree::MatchesDropFilter(LPCTSTR lpszPath) const {
    const DWORD dwAttributes = ::GetFileAttributes(lpszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return (m_dwDropFlags & DROP_FOLDERS) != 0;
    if ((dwAttributes & FILE_ATTRIBUTE_DEVICE) || !(m_dwDropFlags & DROP_FILES))
        return FALSE;
    if (!(m_dwDropFlags & DROP_EXTENSION))
        return TRUE;
    const CString strPath(lpszPath);
    const CString strName =
        strPath.Mid(std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/')) + 1);
    const int nPoint = strName.ReverseFind('.');
    return nPoint >= 0 && strName.Mid(nPoint).CompareNoCase(m_strDropExtension) == 0;
}

// ---------------------------------------------------------------------------
// The clipboard

void CHotListsTree::CollectSelectionFiles(CDropFileList& fileList, BOOL bFiltered,
                                          CKWArray<HOTLISTTREEITEM>* pDragItems) {
    CKWArray<HOTLISTTREEITEM> selected(0, 10);
    CollectSelected(selected, GetRootItem());
    CKWArray<HOTLISTTREEITEM> groupCalls(0, 10);
    for (int i = 0; i < selected.GetSize(); ++i) {
        const HOTLISTTREEITEM& item = selected.GetAt(i);
        CKWArray<HOTLISTTREEITEM> links(0, 10);
        if (item.IsGroup) {
            FillChildItems(item.hItem);
            CollectCalls(links, GetChildItem(item.hItem));
            groupCalls.Append(links);
        } else {
            links.Add(item);
        }
        for (int j = 0; j < links.GetSize(); ++j) {
            const CString& strTarget = links.GetAt(j).Target;
            if (!bFiltered || MatchesDropFilter(strTarget))
                fileList.Add(strTarget);
        }
    }
    if (pDragItems != nullptr) {
        pDragItems->Copy(selected);
        pDragItems->Append(groupCalls);
    }
    fileList.BuildBlock();
}

void CHotListsTree::CopyToClipboard() {
    if (CountSelected() == 0)
        return;
    CDropFileList fileList;
    CollectSelectionFiles(fileList, TRUE, nullptr);
    if (!::OpenClipboard(m_hWnd))
        return;
    CWaitCursor wait;
    ::EmptyClipboard();
    HGLOBAL hGlobal = CopyBlock(fileList);
    if (hGlobal != nullptr && ::SetClipboardData(CF_HDROP, hGlobal) == nullptr)
        ::GlobalFree(hGlobal);
    ::CloseClipboard();
}

void CHotListsTree::PasteFromClipboard(HTREEITEM hItem) {
    COleDataObject data;
    if (data.AttachClipboard())
        PasteFromDataObject(&data, hItem);
}

BOOL CHotListsTree::PasteFromDataObject(COleDataObject* pDataObject, HTREEITEM hItem) {
    if (pDataObject == nullptr || !pDataObject->IsDataAvailable(CF_HDROP))
        return FALSE;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (!pDataObject->GetData(CF_HDROP, &medium, &format))
        return FALSE;
    BOOL bTaken = FALSE;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr) {
        AddDroppedFiles(static_cast<HDROP>(medium.hGlobal), hItem);
        bTaken = TRUE;
    }
    ::ReleaseStgMedium(&medium);
    return bTaken;
}

BOOL CHotListsTree::AddDroppedFiles(HDROP hDrop, HTREEITEM hItem) {
    const std::vector<CString> paths = DroppedPaths(hDrop);
    if (paths.empty())
        return FALSE;
    // Links below a link would be out of every walk (collecting, copying,
    // validating enter groups only): a paste on a call link goes to its list.
    RECORD record;
    if (GetItemRecord(hItem, record) && !record.IsGroup)
        hItem = GetParentItem(hItem);
    for (const CString& strPath : paths)
        AddCallLink(hItem, strPath, MakeLinkName(strPath));
    return TRUE;
}

// ---------------------------------------------------------------------------
// Dragging the tree's items

BOOL CHotListsTree::BuildDropFileList(CDropFileList& fileList) {
    m_dragItems.RemoveAll();
    if (CountSelected() == 0)
        return FALSE;
    CollectSelectionFiles(fileList, FALSE, &m_dragItems);
    return m_dragItems.GetSize() > 0;
}

void CHotListsTree::OnBeginDrag(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    CDropFileList fileList;
    if (!BuildDropFileList(fileList))
        return;
    HGLOBAL hGlobal = CopyBlock(fileList);
    COleDataSource source;
    if (hGlobal != nullptr && source.CacheGlobalData(CF_HDROP, hGlobal))
        source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    else if (hGlobal != nullptr)
        ::GlobalFree(hGlobal);
    // Whatever became of the drag, a later drop from elsewhere must not be
    // taken for this one.
    m_dragItems.RemoveAll();
}

// ---------------------------------------------------------------------------
// Drops

void CHotListsTree::OnDropFiles(HDROP hDropInfo) {
    DropFiles(hDropInfo);
}

void CHotListsTree::DropFiles(HDROP hDrop) {
    HTREEITEM hTarget = GetSelectedItem();
    if (HasRecord(hTarget)) {
        if (m_dragItems.GetSize() > 0)
            MoveDragItems(hTarget);
        else
            AddFilesFromOutside(hDrop, hTarget);
    }
    ::DragFinish(hDrop);
}

void CHotListsTree::AddFilesFromOutside(HDROP hDrop, HTREEITEM hTarget) {
    if (!IsGroupItem(hTarget))
        return;
    const std::vector<CString> paths = DroppedPaths(hDrop);
    for (const CString& strPath : paths) {
        if (MatchesDropFilter(strPath))
            AddCallLink(hTarget, strPath, MakeLinkName(strPath));
    }
}

void CHotListsTree::MoveDragItems(HTREEITEM hTarget) {
    RECORD target;
    if (!GetItemRecord(hTarget, target))
        return;
    const HTREEITEM hRoot = GetRootItem();
    // Items below a dragged group go with it; on their own they would be
    // moved out of it, or (for a group dropped on itself) re-added in place.
    std::set<HTREEITEM> draggedGroups;
    for (int i = 0; i < m_dragItems.GetSize(); ++i) {
        if (m_dragItems.GetAt(i).IsGroup)
            draggedGroups.insert(m_dragItems.GetAt(i).hItem);
    }
    auto insideDraggedGroup = [&](HTREEITEM hItem) {
        for (HTREEITEM h = GetParentItem(hItem); h != nullptr; h = GetParentItem(h)) {
            if (draggedGroups.count(h) != 0)
                return true;
        }
        return false;
    };
    // Every dragged item goes to the item it was dropped on.
    CKWArray<HOTLISTTREEITEM> items(m_dragItems);
    m_dragItems.RemoveAll();
    for (int i = 0; i < items.GetSize(); ++i) {
        const HOTLISTTREEITEM& dragged = items.GetAt(i);
        RECORD record;
        if (!ItemExists(dragged.hItem) || insideDraggedGroup(dragged.hItem) ||
            !GetItemRecord(dragged.hItem, record))
            continue;
        HTREEITEM hOldParent = GetParentItem(dragged.hItem);
        if (record.IsGroup && target.IsGroup) {
            if (dragged.hItem == hTarget || IsAncestorOf(dragged.hItem, hTarget))
                continue;
            // Filled before the record moves, or the fill would show it too.
            FillChildItems(hTarget);
            Store().RemoveEntry(record.ID);
            record.ParentID = target.ID;
            Store().AddEntry(record);
            DeleteItem(dragged.hItem);
            AddRecordItem(hTarget, record);
            Expand(hTarget, TVE_EXPAND);
        } else {
            if (!target.IsGroup || hTarget == hRoot)
                continue;
            Store().RemoveEntry(record.ID);
            DeleteItem(dragged.hItem);
            AddCallLink(hTarget, record.Target, dragged.Text);
        }
        if (hOldParent != nullptr &&
            !Store().HasChildren(static_cast<int>(GetItemData(hOldParent))))
            SetHasChildren(hOldParent, FALSE);
    }
}

// ---------------------------------------------------------------------------
// The drop target

DROPEFFECT CHotListsTreeDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD,
                                               CPoint point) {
    CHotListsTree* pTree = dynamic_cast<CHotListsTree*>(pWnd);
    if (pTree == nullptr)
        return DROPEFFECT_NONE;
    HTREEITEM hItem = pTree->HitTest(point);
    if (hItem != nullptr) {
        pTree->SetFocus();
        pTree->SelectItem(hItem);
    }
    if (pDataObject == nullptr || !pDataObject->IsDataAvailable(CF_HDROP))
        return DROPEFFECT_NONE;
    return pTree->GetDragItems().GetSize() > 0 ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

void CHotListsTreeDropTarget::OnDragLeave(CWnd* pWnd) {
    COleDropTarget::OnDragLeave(pWnd);
}

BOOL CHotListsTreeDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT, CPoint) {
    CHotListsTree* pTree = dynamic_cast<CHotListsTree*>(pWnd);
    if (pTree == nullptr || pDataObject == nullptr)
        return FALSE;
    HGLOBAL hGlobal = pDataObject->GetGlobalData(CF_HDROP);
    if (hGlobal == nullptr)
        return FALSE;
    pTree->DropFiles(static_cast<HDROP>(hGlobal));
    return TRUE;
}
