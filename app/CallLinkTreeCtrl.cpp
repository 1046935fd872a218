// CallLinkTreeCtrl.cpp: what the trees of call links share.

#include "CallLinkTreeCtrl.h"

#include "CallListHost.h"

#include "Common/PlaybackManager.h"

#include "framework/WinApp.h"

namespace {

const char kNothingToPlay[] = "No files have been selected to play.";

} // namespace

CCallLinkTreeCtrl::CCallLinkTreeCtrl(PFNGETSTORE pfnGetStore, int nGroupImage, int nItemImage,
                                     LPCTSTR lpszTreeName)
    : CStoreTreeCtrl(pfnGetStore, nGroupImage, nItemImage, TRUE), m_lpszTreeName(lpszTreeName) {}

CCallLinkTreeCtrl::~CCallLinkTreeCtrl() = default;

ICallListHost* CCallLinkTreeCtrl::FindHost() {
    return dynamic_cast<ICallListHost*>(AfxGetMainWnd());
}

HTREEITEM CCallLinkTreeCtrl::GetNextFilledItem(HTREEITEM hItem) {
    if (IsGroupItem(hItem))
        FillChildItems(hItem);
    return GetNextTreeItem(hItem);
}

HTREEITEM CCallLinkTreeCtrl::AddCallLink(HTREEITEM hParent, LPCTSTR lpszTarget, LPCTSTR lpszName) {
    RECORD parent;
    if (lpszTarget == nullptr || lpszTarget[0] == '\0' || !GetItemRecord(hParent, parent))
        return nullptr;
    FillChildItems(hParent);
    CKWArray<HOTLISTTREEITEM> calls(0, 10);
    CollectCalls(calls, GetChildItem(hParent));
    for (int i = 0; i < calls.GetSize(); ++i) {
        if (calls.GetAt(i).Target.CompareNoCase(lpszTarget) == 0)
            return nullptr;
    }
    RECORD record;
    record.ID = Store().GetNextID();
    record.ParentID = parent.ID;
    record.Name = lpszName;
    record.Target = lpszTarget;
    record.IsGroup = 0;
    HTREEITEM hItem = InsertRecordItem(hParent, record, FALSE);
    if (hItem == nullptr)
        return nullptr;
    SetHasChildren(hParent, TRUE);
    SelectItem(hItem);
    Store().AddEntry(record);
    return hItem;
}

void CCallLinkTreeCtrl::CollectCalls(CKWArray<HOTLISTTREEITEM>& items, HTREEITEM hItem) {
    for (; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        RECORD record;
        if (!GetItemRecord(hItem, record))
            return;
        if (record.IsGroup) {
            if (Store().HasChildren(record.ID)) {
                FillChildItems(hItem);
                CollectCalls(items, GetChildItem(hItem));
            }
            continue;
        }
        HOTLISTTREEITEM item;
        item.hItem = hItem;
        item.Target = record.Target;
        item.Text = GetItemText(hItem);
        item.IsGroup = 0;
        items.Add(item);
    }
}

void CCallLinkTreeCtrl::PlayItem(HTREEITEM hItem) {
    RECORD record;
    if (!GetItemRecord(hItem, record))
        return;
    if (record.IsGroup) {
        FillChildItems(hItem);
        RECORD first;
        if (!GetItemRecord(GetChildItem(hItem), first)) {
            AfxMessageBox(kNothingToPlay);
            return;
        }
        record = first;
    }
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    if (record.Target.IsEmpty() || !pEngine->Load(record.Target)) {
        AfxMessageBox(kNothingToPlay);
        return;
    }
    pEngine->Start(TRUE, FALSE);
    if (ICallListHost* pHost = FindHost())
        pHost->PlayLoadedRecording();
}

void CCallLinkTreeCtrl::ValidateLinks() {
    int nRemoved = 0;
    HTREEITEM hItem = GetRootItem();
    while (hItem != nullptr) {
        HTREEITEM hNext = GetNextFilledItem(hItem);
        RECORD record;
        if (GetItemRecord(hItem, record) && !record.IsGroup &&
            ::GetFileAttributes(record.Target) == INVALID_FILE_ATTRIBUTES) {
            // A call link has no items below it, so the next item stays.
            if (RemoveItem(hItem))
                ++nRemoved;
        }
        hItem = hNext;
    }
    if (nRemoved == 0) {
        AfxMessageBox("All links to calls are valid.", MB_ICONINFORMATION);
        return;
    }
    CString strMessage;
    strMessage.Format("The %d invalid links to calls ware removed from %s tree.", nRemoved,
                      m_lpszTreeName);
    AfxMessageBox(strMessage, MB_ICONINFORMATION);
}

void CCallLinkTreeCtrl::DeleteSelected() {
    OnDeleteSelected();
}
