// CallScoreTree.cpp: the call-score tree: filing scored calls, its walks, its
// context menu and the commands it runs on groups and call links; and the
// window that holds it below its toolbar.
#include "CallScoreTree.h"

#include "CallListHost.h"
#include "CallScore.h"
#include "CallScoreTreeRes.h"
#include "ManageCallScoreForms.h"
#include "ScoredFileListEntry.h"
#include "ScoringRes.h"
#include "Scoring/ScoreFormManager.h"
#include "resource.h"

#include "Common/PlaybackManager.h"
#include "Common/TraceLog.h"

#include "framework/CmdUI.h"
#include "framework/WinApp.h"

#include <iterator>

BEGIN_MESSAGE_MAP(CCallScoreTree, CStoreTreeCtrl)
ON_NOTIFY_REFLECT(NM_DBLCLK, &CCallScoreTree::OnDblClick)
ON_COMMAND(ID_CALLSCORE_PLAY, &CCallScoreTree::OnPlaySelected)
END_MESSAGE_MAP()

namespace {

CTreeStore* GetCallScoreStore() {
    return CCallScore::GetInstance();
}

const char kUntitledForm[] = "Untitled Form";
const char kUnknownUser[] = "Unknown User";

} // namespace

CCallScoreTree::CCallScoreTree()
    : CCallLinkTreeCtrl(&GetCallScoreStore, IMAGE_FORM, IMAGE_CALL, "CallScore") {}

CCallScoreTree::~CCallScoreTree() = default;

UINT CCallScoreTree::GetAcceleratorId() const {
    return IDR_CALLSCORE_ACCEL;
}

int CCallScoreTree::GetRecordImage(HTREEITEM hParent, const RECORD& record) const {
    if (!record.IsGroup)
        return IMAGE_CALL;
    if (hParent == nullptr || hParent == TVI_ROOT)
        return IMAGE_ROOT;
    return GetParentItem(hParent) != nullptr ? IMAGE_SCORER : IMAGE_FORM;
}

CString CCallScoreTree::GetFileName(LPCTSTR lpszPath) {
    const CString strPath(lpszPath);
    return strPath.Mid(strPath.ReverseFind('\\') + 1);
}

// ---------------------------------------------------------------------------
// Filing scored calls

void CCallScoreTree::AddScoredCall(CScoredFileListEntry* pEntry) {
    if (pEntry == nullptr || GetSafeHwnd() == nullptr)
        return;
    const HTREEITEM hRoot = GetRootItem();
    if (!HasRecord(hRoot))
        return;
    const CString strPath(pEntry->GetPath());
    CScoreFormManager* pForms = CScoreFormManager::GetInstance();
    for (auto* pScore = pEntry->GetFirstScore(); pScore != nullptr;
         pScore = pEntry->GetNextScore()) {
        const CScoreFormEntry* pForm = pForms->FindForm(pScore->FormID);
        // A form deleted since the call was scored has nowhere to go.
        if (pForm == nullptr)
            continue;
        const CString strTitle(pForm->GetTitle());
        const CString strUser(pScore->UserName);
        const HTREEITEM hForm =
            FindOrAddGroup(hRoot, strTitle.IsEmpty() ? kUntitledForm : strTitle);
        const HTREEITEM hScorer = FindOrAddGroup(hForm, strUser.IsEmpty() ? kUnknownUser : strUser);
        AddCallLink(hScorer, strPath, GetFileName(strPath));
    }
}

HTREEITEM CCallScoreTree::FindOrAddGroup(HTREEITEM hParent, LPCTSTR lpszName) {
    if (hParent == nullptr)
        return nullptr;
    FillChildItems(hParent);
    HTREEITEM hGroup = FindChildByName(hParent, lpszName);
    if (hGroup == nullptr)
        hGroup = AddGroup(hParent, lpszName, Store().GetNextID());
    if (hGroup != nullptr) {
        Expand(hParent, TVE_EXPAND);
        Expand(hGroup, TVE_EXPAND);
    }
    return hGroup;
}

HTREEITEM CCallScoreTree::FindChildByName(HTREEITEM hParent, LPCTSTR lpszName) {
    if (hParent == nullptr || !ItemHasChildren(hParent))
        return nullptr;
    FillChildItems(hParent);
    for (HTREEITEM hChild = GetChildItem(hParent); hChild != nullptr;
         hChild = GetNextSiblingItem(hChild)) {
        RECORD record;
        if (GetItemRecord(hChild, record) && record.Name == lpszName)
            return hChild;
    }
    return nullptr;
}

HTREEITEM CCallScoreTree::AddGroup(HTREEITEM hParent, LPCTSTR lpszName, int nID) {
    RECORD parent;
    if (!GetItemRecord(hParent, parent) || Store().Contains(nID))
        return nullptr;
    // The parent's stored children go in first: its first expansion would
    // otherwise find the new record in the store and show it twice.
    FillChildItems(hParent);
    RECORD record;
    record.ID = nID;
    record.ParentID = parent.ID;
    record.Name = lpszName;
    record.IsGroup = GetParentItem(hParent) != nullptr ? 2 : 1;
    HTREEITEM hItem = InsertRecordItem(hParent, record, FALSE);
    if (hItem == nullptr)
        return nullptr;
    SetHasChildren(hParent, TRUE);
    // Its records are all added through the tree: expanding never fills it.
    SetItemState(hItem, TVIS_EXPANDED | TVIS_EXPANDEDONCE, TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    Store().AddEntry(record);
    return hItem;
}

// ---------------------------------------------------------------------------
// Walks

// ---------------------------------------------------------------------------
// Commands

void CCallScoreTree::OnPlaySelected() {
    CKWArray<HOTLISTTREEITEM> selected(0, 10);
    const HTREEITEM hRoot = GetRootItem();
    CollectSelected(selected, hRoot);
    for (int i = 0; i < selected.GetSize(); ++i) {
        if (selected.GetAt(i).hItem != hRoot)
            PlayItem(selected.GetAt(i).hItem);
    }
}

BOOL CCallScoreTree::CreateRecordingList(const CKWArray<HOTLISTTREEITEM>& links) {
    CKWArray<CKWString> paths(0, 10);
    for (int i = 0; i < links.GetSize(); ++i) {
        if (!links.GetAt(i).Target.IsEmpty())
            paths.Add(CKWString(links.GetAt(i).Target));
    }
    // A list without recordings would open an empty window to no purpose.
    ICallListHost* pHost = FindHost();
    if (pHost == nullptr || paths.GetSize() == 0)
        return FALSE;
    pHost->OpenRecordingList(paths);
    return TRUE;
}

void CCallScoreTree::OnManageCallScoreForms() {
    // The tree shows calls already scored: what the user changes in the
    // forms touches none of them, so nothing is refreshed afterwards.
    CManageCallScoreForms dlg(nullptr);
    dlg.DoModal();
}

// ---------------------------------------------------------------------------
// Context menu and double click

BOOL CCallScoreTree::IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const {
    const CString strTarget = GetItemTarget(hClicked);
    switch (nCmd) {
    case ID_CALLSCORE_PLAY:
        return !strTarget.IsEmpty() && CountSelected() == 1;
    case ID_CALLSCORE_CREATE_LIST:
        return strTarget.IsEmpty();
    case ID_DELETE_SELECTED:
        return hClicked != GetRootItem();
    case ID_CALLSCORE_MANAGE_FORMS:
    case ID_VALIDATE_LINKS:
        return TRUE;
    }
    return FALSE;
}

void CCallScoreTree::BuildContextMenu(CMenu& menu, HTREEITEM hClicked) {
    static const SContextEntry kEntries[] = {
        {ID_CALLSCORE_PLAY, "Play\tCtrl+P"},
        {ID_CALLSCORE_CREATE_LIST, "Create Recording List..."},
        {0, nullptr},
        {ID_DELETE_SELECTED, "Delete\tDel"},
        {0, nullptr},
        {ID_CALLSCORE_MANAGE_FORMS, "Manage Call Score Forms"},
        {ID_VALIDATE_LINKS, "Validate Links"},
    };
    AppendContextEntries(menu, kEntries, std::size(kEntries), hClicked);
}

void CCallScoreTree::RunContextCommand(UINT nCmd, HTREEITEM hClicked) {
    switch (nCmd) {
    case ID_CALLSCORE_PLAY:
        PlayItem(hClicked);
        break;
    case ID_CALLSCORE_CREATE_LIST: {
        CKWArray<HOTLISTTREEITEM> links(0, 10);
        FillChildItems(hClicked);
        CollectCalls(links, GetChildItem(hClicked));
        CreateRecordingList(links);
        break;
    }
    case ID_DELETE_SELECTED:
        OnDeleteSelected();
        break;
    case ID_CALLSCORE_MANAGE_FORMS:
        OnManageCallScoreForms();
        break;
    case ID_VALIDATE_LINKS:
        ValidateLinks();
        break;
    }
}

void CCallScoreTree::OnDblClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    SetFocus();
    CPoint point;
    if (!::GetCursorPos(&point)) {
        KWTRACE(("CCallScoreTree::OnDblClick: GetCursorPos() failed\n"));
        return;
    }
    ScreenToClient(&point);
    HTREEITEM hItem = HitTest(point);
    if (hItem == nullptr)
        return;
    if (GetCapture() == this)
        ReleaseCapture();
    if (IsGroupItem(hItem)) {
        CKWArray<HOTLISTTREEITEM> links(0, 10);
        FillChildItems(hItem);
        CollectCalls(links, GetChildItem(hItem));
        // An opened list keeps the group as it was; otherwise the control
        // expands or collapses it as usual.
        *pResult = CreateRecordingList(links) ? 1 : 0;
        return;
    }
    PlayItem(hItem);
}

// ---------------------------------------------------------------------------
// The window with the toolbar

CCallScoreTreeWithToolbar::CCallScoreTreeWithToolbar() = default;

CCallScoreTreeWithToolbar::~CCallScoreTreeWithToolbar() = default;

BOOL CCallScoreTreeWithToolbar::CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                                           UINT nID) {
    return m_wndTree.Create(dwStyle | WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT,
                            rect, pParentWnd, nID);
}

UINT CCallScoreTreeWithToolbar::GetToolbarId() {
    return IDR_CALLSCORE_TOOLBAR;
}

BOOL CCallScoreTreeWithToolbar::OnToolbarCommand(UINT nID) {
    switch (nID) {
    case ID_CALLSCORE_PLAY:
        m_wndTree.OnPlaySelected();
        return TRUE;
    case ID_DELETE_SELECTED:
        m_wndTree.DeleteSelected();
        return TRUE;
    case ID_CALLSCORE_MANAGE_FORMS:
        m_wndTree.OnManageCallScoreForms();
        return TRUE;
    case ID_VALIDATE_LINKS:
        m_wndTree.ValidateLinks();
        return TRUE;
    }
    return FALSE;
}

BOOL CCallScoreTreeWithToolbar::IsToolbarCommandEnabled(UINT nID) {
    if (m_wndTree.GetSafeHwnd() == nullptr)
        return FALSE;
    switch (nID) {
    case ID_CALLSCORE_PLAY:
    case ID_DELETE_SELECTED:
        return m_wndTree.CountSelected() > 0 &&
               m_wndTree.GetSelectedItem() != m_wndTree.GetRootItem();
    case ID_CALLSCORE_MANAGE_FORMS:
    case ID_VALIDATE_LINKS:
        return TRUE;
    }
    return FALSE;
}

void CCallScoreTreeWithToolbar::OnUpdateToolbarCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsToolbarCommandEnabled(pCmdUI->m_nID));
}
