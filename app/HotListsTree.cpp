// HotListsTree.cpp: the hot-lists tree's records and items, its walks, its
// context menu and the commands it runs on hot lists and call links.
#include "HotListsTree.h"

#include "CallListHost.h"
#include "HotLists.h"
#include "resource.h"

#include "Common/PlaybackManager.h"
#include "Common/TraceLog.h"

#include "framework/WinApp.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <vector>

BEGIN_MESSAGE_MAP(CHotListsTree, CStoreTreeCtrl)
ON_WM_CREATE()
ON_WM_DROPFILES()
ON_NOTIFY_REFLECT(NM_DBLCLK, &CHotListsTree::OnDblClick)
ON_NOTIFY_REFLECT(TVN_BEGINDRAG, &CHotListsTree::OnBeginDrag)
END_MESSAGE_MAP()

namespace {

CTreeStore* GetHotListsStore() {
    return CHotLists::GetInstance();
}

} // namespace

CHotListsTree::CHotListsTree()
    : CCallLinkTreeCtrl(&GetHotListsStore, IMAGE_GROUP, IMAGE_CALL, "Hotlists"), m_dragItems(0, 10),
      m_dwDropFlags(DROP_FILES | DROP_FOLDERS) {}

CHotListsTree::~CHotListsTree() = default;

int CHotListsTree::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CStoreTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    DragAcceptFiles(TRUE);
    if (!m_dropTarget.Register(this)) {
        KWTRACE(("CHotListsTree::OnCreate: failed to register the control with COleDropTarget\n"));
        KWTRACE(("you've probably forgot to initialize OLE libraries using AfxOleInit function\n"));
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Records and items

HTREEITEM CHotListsTree::AddRecordItem(HTREEITEM hParent, const RECORD& record) {
    HTREEITEM hItem = InsertRecordItem(hParent, record, Store().HasChildren(record.ID));
    if (hItem != nullptr)
        SetHasChildren(hParent, TRUE);
    return hItem;
}

HTREEITEM CHotListsTree::AddHotList(HTREEITEM hParent, LPCTSTR lpszName, int nID, BOOL bEdit) {
    RECORD parent;
    if (!GetItemRecord(hParent, parent))
        return nullptr;
    // The parent's stored children go in first: its first expansion would
    // otherwise find the new record in the store and show it twice.
    FillChildItems(hParent);
    RECORD record;
    record.ID = nID;
    record.ParentID = parent.ID;
    record.Name = (lpszName != nullptr && lpszName[0] != '\0') ? lpszName : "New Hotlist";
    record.IsGroup = 1;
    HTREEITEM hItem = InsertRecordItem(hParent, record, FALSE);
    if (hItem == nullptr)
        return nullptr;
    SetHasChildren(hParent, TRUE);
    Store().AddEntry(record);
    if (bEdit) {
        SelectItem(hItem);
        EditItemLabel(hItem);
    }
    return hItem;
}

CString CHotListsTree::MakeLinkName(LPCTSTR lpszPath) {
    CString strPath(lpszPath);
    const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    CString strName = strPath.Mid(nSlash + 1);
    const int nPoint = strName.ReverseFind('.');
    if (nPoint >= 0)
        strName = strName.Left(nPoint);
    CString strLabel;
    strLabel.Format("%s.zel", static_cast<LPCTSTR>(strName));
    return strLabel;
}

// ---------------------------------------------------------------------------
// Walks

// ---------------------------------------------------------------------------
// Commands

void CHotListsTree::CreateRecordingList() {
    CKWArray<HOTLISTTREEITEM> selected(0, 10);
    CollectSelected(selected, GetRootItem());
    if (selected.GetSize() == 0)
        return;
    CKWArray<CKWString> paths(0, 10);
    for (int i = 0; i < selected.GetSize(); ++i) {
        const HOTLISTTREEITEM& item = selected.GetAt(i);
        CKWArray<HOTLISTTREEITEM> links(0, 10);
        if (item.Target.IsEmpty() && item.IsGroup) {
            FillChildItems(item.hItem);
            CollectCalls(links, GetChildItem(item.hItem));
        } else {
            links.Add(item);
        }
        for (int j = 0; j < links.GetSize(); ++j) {
            if (!links.GetAt(j).Target.IsEmpty())
                paths.Add(CKWString(links.GetAt(j).Target));
        }
    }
    // A list without recordings would open an empty window to no purpose.
    ICallListHost* pHost = FindHost();
    if (pHost != nullptr && paths.GetSize() > 0)
        pHost->OpenRecordingList(paths);
}

void CHotListsTree::SelectAllCalls(HTREEITEM hGroup) {
    RECORD group;
    if (!GetItemRecord(hGroup, group) || !Store().HasChildren(group.ID))
        return;
    FillChildItems(hGroup);
    SetItemSelected(hGroup, FALSE);
    for (HTREEITEM hChild = GetChildItem(hGroup); hChild != nullptr;
         hChild = GetNextSiblingItem(hChild)) {
        RECORD record;
        if (GetItemRecord(hChild, record) && !record.IsGroup)
            SetItemSelected(hChild, TRUE);
    }
}

void CHotListsTree::ClearCalls(HTREEITEM hGroup) {
    RECORD group;
    if (!GetItemRecord(hGroup, group) || !Store().HasChildren(group.ID))
        return;
    FillChildItems(hGroup);
    HTREEITEM hChild = GetChildItem(hGroup);
    while (hChild != nullptr) {
        HTREEITEM hNext = GetNextSiblingItem(hChild);
        RECORD record;
        if (GetItemRecord(hChild, record) && !record.IsGroup)
            RemoveItem(hChild);
        hChild = hNext;
    }
    if (!Store().HasChildren(group.ID))
        SetHasChildren(hGroup, FALSE);
}

void CHotListsTree::RemoveDuplicates(HTREEITEM hGroup) {
    if (hGroup == nullptr || !ItemHasChildren(hGroup))
        return;
    FillChildItems(hGroup);
    std::vector<HTREEITEM> children;
    std::vector<RECORD> records;
    for (HTREEITEM hChild = GetChildItem(hGroup); hChild != nullptr;
         hChild = GetNextSiblingItem(hChild)) {
        RECORD record;
        if (GetItemRecord(hChild, record)) {
            children.push_back(hChild);
            records.push_back(record);
        }
    }
    if (children.size() < 2) {
        AfxMessageBox("No duplicates found.", MB_ICONINFORMATION);
        return;
    }
    auto same = [](const RECORD& a, const RECORD& b) {
        if ((a.IsGroup != 0) != (b.IsGroup != 0))
            return false;
        return a.IsGroup ? a.Name == b.Name : a.Target.CompareNoCase(b.Target) == 0;
    };
    // Of each set, the first is kept; a group with records below it is kept
    // too, since removing it would take the call links in it along.
    std::vector<bool> removed(children.size(), false);
    int nRemoved = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        if (removed[i])
            continue;
        for (size_t j = i + 1; j < children.size(); ++j) {
            if (removed[j] || !same(records[i], records[j]))
                continue;
            if (records[j].IsGroup && Store().HasChildren(records[j].ID))
                continue;
            if (RemoveItem(children[j])) {
                removed[j] = true;
                ++nRemoved;
            }
        }
    }
    if (nRemoved == 0) {
        AfxMessageBox("No duplicates found.", MB_ICONINFORMATION);
        return;
    }
    CString strMessage;
    strMessage.Format("%d entries removed as duplicates.", nRemoved);
    AfxMessageBox(strMessage, MB_ICONINFORMATION);
}

void CHotListsTree::ExploreItem(HTREEITEM hItem) {
    const CString strTarget = GetItemTarget(hItem);
    const int nSlash = strTarget.ReverseFind('\\');
    const CString strFolder = nSlash >= 0 ? strTarget.Left(nSlash) : strTarget;
    ::ShellExecute(nullptr, nullptr, strFolder, nullptr, nullptr, SW_SHOWNORMAL);
}

// ---------------------------------------------------------------------------
// Context menu

BOOL CHotListsTree::ClipboardHasFiles() {
    return ::IsClipboardFormatAvailable(CF_HDROP);
}

BOOL CHotListsTree::IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const {
    RECORD record;
    const BOOL bRecord = GetItemRecord(hClicked, record);
    const BOOL bCallLink = bRecord && !record.IsGroup;
    const BOOL bRoot = hClicked != nullptr && hClicked == GetRootItem();
    const int nSelected = CountSelected();
    const BOOL bOne = nSelected == 1;
    switch (nCmd) {
    case ID_HOTLIST_PLAY:
        return bOne;
    case ID_HOTLIST_SELECT_ALL:
    case ID_HOTLIST_NEW:
    case ID_HOTLIST_CLEAR:
    case ID_HOTLIST_REMOVE_DUPLICATES:
        return bOne && !bCallLink;
    case ID_HOTLIST_RENAME:
        return bOne && !bCallLink && !bRoot;
    case ID_HOTLIST_COPY:
    case ID_HOTLIST_VALIDATE:
        return TRUE;
    case ID_HOTLIST_PASTE: {
        // A clipboard that cannot be looked at is given the benefit of the
        // doubt: the paste itself finds out.
        if (!::OpenClipboard(m_hWnd))
            return TRUE;
        const BOOL bFiles = ::IsClipboardFormatAvailable(CF_HDROP);
        ::CloseClipboard();
        return bFiles;
    }
    case ID_HOTLIST_DELETE:
        return !bRoot;
    case ID_HOTLIST_EXPLORE:
        return bOne && bRecord && !record.Target.IsEmpty();
    case ID_HOTLIST_CREATE_LIST:
        return nSelected > 0;
    }
    return FALSE;
}

void CHotListsTree::BuildContextMenu(CMenu& menu, HTREEITEM hClicked) {
    static const SContextEntry kEntries[] = {
        {ID_HOTLIST_PLAY, "Play"},
        {0, nullptr},
        {ID_HOTLIST_SELECT_ALL, "Select All"},
        {ID_HOTLIST_COPY, "Copy"},
        {ID_HOTLIST_PASTE, "Paste"},
        {ID_HOTLIST_DELETE, "Delete"},
        {0, nullptr},
        {ID_HOTLIST_NEW, "New Calls for Review"},
        {ID_HOTLIST_RENAME, "Rename Calls for Review"},
        {ID_HOTLIST_CLEAR, "Clear Calls for Review"},
        {ID_HOTLIST_REMOVE_DUPLICATES, "Remove Duplicates"},
        {0, nullptr},
        {ID_HOTLIST_EXPLORE, "Explore"},
        {ID_HOTLIST_CREATE_LIST, "Create Recording List..."},
        {ID_HOTLIST_VALIDATE, "Validate Calls for Review"},
    };
    AppendContextEntries(menu, kEntries, std::size(kEntries), hClicked);
}

void CHotListsTree::RunContextCommand(UINT nCmd, HTREEITEM hClicked) {
    switch (nCmd) {
    case ID_HOTLIST_PLAY:
        PlayItem(hClicked);
        break;
    case ID_HOTLIST_SELECT_ALL:
        SelectAllCalls(hClicked);
        break;
    case ID_HOTLIST_COPY:
        CopyToClipboard();
        break;
    case ID_HOTLIST_PASTE:
        PasteFromClipboard(hClicked);
        break;
    case ID_HOTLIST_DELETE:
        OnDeleteSelected();
        break;
    case ID_HOTLIST_NEW:
        AddHotList(hClicked, "", Store().GetNextID(), TRUE);
        break;
    case ID_HOTLIST_RENAME:
        EditItemLabel(hClicked);
        break;
    case ID_HOTLIST_CLEAR:
        ClearCalls(hClicked);
        break;
    case ID_HOTLIST_REMOVE_DUPLICATES:
        RemoveDuplicates(hClicked);
        break;
    case ID_HOTLIST_EXPLORE:
        ExploreItem(hClicked);
        break;
    case ID_HOTLIST_CREATE_LIST:
        CreateRecordingList();
        break;
    case ID_HOTLIST_VALIDATE:
        ValidateLinks();
        break;
    }
}

HTREEITEM CHotListsTree::GetItemToRename() const {
    HTREEITEM hAnchor = GetAnchorItem();
    return IsGroupItem(hAnchor) ? hAnchor : nullptr;
}

void CHotListsTree::OnDblClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    SetFocus();
    CPoint point;
    if (!::GetCursorPos(&point)) {
        KWTRACE(("CHotListsTree::OnDblClick: GetCursorPos() failed\n"));
        return;
    }
    ScreenToClient(&point);
    HTREEITEM hItem = HitTest(point);
    if (hItem == nullptr)
        return;
    if (GetCapture() == this)
        ReleaseCapture();
    PlayItem(hItem);
}
