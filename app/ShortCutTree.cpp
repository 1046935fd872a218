// ShortCutTree.cpp: the shortcut tree's records, context menu and commands.
// The drags and moves are in ShortCutTreeDrag.cpp.
#include "ShortCutTree.h"

#include "AppMessages.h"
#include "SelectDirDlg.h"
#include "ShortCuts.h"
#include "resource.h"

#include "KWString.h"
#include "TraceLog.h"

#include "framework/WinApp.h"

#include <iterator>
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CShortCutTree, CStoreTreeCtrl)
ON_WM_CREATE()
ON_WM_MOUSEMOVE()
ON_WM_DROPFILES()
ON_NOTIFY_REFLECT(NM_DBLCLK, &CShortCutTree::OnDblClick)
ON_NOTIFY_REFLECT(TVN_BEGINDRAG, &CShortCutTree::OnBeginDrag)
END_MESSAGE_MAP()

namespace {

CTreeStore* ShortCutsStore() {
    return CShortCuts::GetInstance();
}

// Forward over the multibyte text, so that a trail byte equal to a backslash
// is never taken for one.
void FindLastSeparatorAndPoint(LPCTSTR lpszText, LPCTSTR& pSeparator, LPCTSTR& pPoint) {
    pSeparator = pPoint = nullptr;
    for (LPCTSTR p = lpszText; *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/')
            pSeparator = p;
        else if (*p == '.')
            pPoint = p;
    }
}

} // namespace

CShortCutTree::CShortCutTree()
    : CStoreTreeCtrl(&ShortCutsStore, IMAGE_GROUP, IMAGE_SHORTCUT, FALSE), m_dragItems(0, 10) {}

CShortCutTree::~CShortCutTree() = default;

int CShortCutTree::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CStoreTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_dropTarget.Register(this)) {
        KWTRACE_ERROR(("CShortCutTree::OnCreate: failed to register the control with "
                       "COleDropTarget\n"));
        KWTRACE_ERROR(("you've probably forgot to initialize OLE libraries using AfxOleInit "
                       "function\n"));
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Paths

BOOL CShortCutTree::IsFolderPath(LPCTSTR lpszPath) {
    if (lpszPath == nullptr)
        return FALSE;
    LPCTSTR pSeparator = nullptr;
    LPCTSTR pPoint = nullptr;
    FindLastSeparatorAndPoint(lpszPath, pSeparator, pPoint);
    return pSeparator != nullptr && (pPoint == nullptr || pSeparator > pPoint);
}

CString CShortCutTree::MakeShortcutName(LPCTSTR lpszPath) {
    CString strPath(lpszPath != nullptr ? lpszPath : "");
    // A folder given with its closing separator is named by its last component.
    while (strPath.GetLength() > 1 &&
           (strPath[strPath.GetLength() - 1] == '\\' || strPath[strPath.GetLength() - 1] == '/'))
        strPath = strPath.Left(strPath.GetLength() - 1);
    LPCTSTR pSeparator = nullptr;
    LPCTSTR pPoint = nullptr;
    FindLastSeparatorAndPoint(strPath, pSeparator, pPoint);
    LPCTSTR pName = pSeparator != nullptr ? pSeparator + 1 : static_cast<LPCTSTR>(strPath);
    if (pName == static_cast<LPCTSTR>(strPath) && strPath.GetLength() >= 2 && strPath[1] == ':')
        pName += 2; // "D:name"
    CString strName(pName);
    if (pPoint != nullptr && pPoint >= pName)
        strName = strName.Left(static_cast<int>(pPoint - pName));
    return strName;
}

// ---------------------------------------------------------------------------
// Records and items

HTREEITEM CShortCutTree::AddShortcut(HTREEITEM hGroup, int nID, LPCTSTR lpszName,
                                     LPCTSTR lpszTarget) {
    if (lpszTarget == nullptr || lpszTarget[0] == '\0')
        return nullptr;
    RECORD record{};
    record.ID = nID;
    record.Name = lpszName;
    record.Target = lpszTarget;
    record.IsGroup = 0;
    return AddRecordItem(hGroup, record);
}

HTREEITEM CShortCutTree::AddGroup(HTREEITEM hGroup, int nID, LPCTSTR lpszName) {
    RECORD record{};
    record.ID = nID;
    record.Name = lpszName;
    record.IsGroup = 1;
    return AddRecordItem(hGroup, record);
}

HTREEITEM CShortCutTree::AddRecordItem(HTREEITEM hGroup, RECORD record) {
    if (!HasRecord(hGroup))
        return nullptr;
    record.ParentID = static_cast<int>(GetItemData(hGroup));
    // A group never expanded has its stored children still to come: filled
    // after the new item, they would be inserted with it and hide nothing,
    // but marking the group expanded-once without them would hide them.
    FillChildItems(hGroup);
    if (!Store().AddEntry(record))
        return nullptr;
    HTREEITEM hItem = InsertRecordItem(hGroup, record, FALSE);
    if (hItem == nullptr) {
        Store().RemoveEntry(record.ID);
        return nullptr;
    }
    SetHasChildren(hGroup, TRUE);
    Expand(hGroup, TVE_EXPAND);
    return hItem;
}

void CShortCutTree::CollectShortcuts(CKWArray<SHORTCUTTREEITEM>& items, HTREEITEM hItem,
                                     BOOL bSiblings) const {
    for (; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        RECORD record{};
        if (!GetItemRecord(hItem, record))
            return;
        if (!record.IsGroup) {
            SHORTCUTTREEITEM item;
            item.hItem = hItem;
            item.Target = record.Target;
            item.Text = GetItemText(hItem);
            item.IsGroup = 0;
            items.Add(item);
        } else if (GetChildItem(hItem) != nullptr) {
            CollectShortcuts(items, GetChildItem(hItem), TRUE);
        }
        if (!bSiblings)
            return;
    }
}

// ---------------------------------------------------------------------------
// Context menu

BOOL CShortCutTree::IsContextCommandEnabled(UINT nCmd, HTREEITEM hClicked) const {
    RECORD record{};
    const BOOL bHasRecord = GetItemRecord(hClicked, record);
    const BOOL bFolder = bHasRecord && !record.Target.IsEmpty() && IsFolderPath(record.Target);
    const BOOL bOneSelected = CountSelected() == 1;
    const BOOL bShortcut = bHasRecord && !record.IsGroup;
    const BOOL bRoot = hClicked != nullptr && hClicked == GetRootItem();
    switch (nCmd) {
    case ID_SHORTCUT_CREATE_LIST: {
        if (bFolder)
            return TRUE;
        CKWArray<SHORTCUTTREEITEM> shortcuts(0, 10);
        CollectShortcuts(shortcuts, hClicked, FALSE);
        return shortcuts.GetSize() > 0;
    }
    case ID_SHORTCUT_EXPLORE:
        return bFolder && bOneSelected;
    case ID_SHORTCUT_SELECT_ALL:
    case ID_SHORTCUT_NEW_GROUP:
    case ID_SHORTCUT_NEW_SHORTCUT:
    case ID_SHORTCUT_CLEAR:
        return !bShortcut && bOneSelected;
    case ID_SHORTCUT_RENAME:
        return !bRoot && bOneSelected;
    case ID_SHORTCUT_REMOVE:
        return !bRoot;
    default:
        return FALSE;
    }
}

void CShortCutTree::BuildContextMenu(CMenu& menu, HTREEITEM hClicked) {
    // The menu's answers depend on the shortcuts below the clicked group:
    // one never expanded has them filled first.
    FillSubtree(hClicked);
    static const SContextEntry kItems[] = {
        {ID_SHORTCUT_CREATE_LIST, "Create Recording List..."},
        {ID_SHORTCUT_EXPLORE, "Explore"},
        {0, nullptr},
        {ID_SHORTCUT_SELECT_ALL, "Select All"},
        {ID_SHORTCUT_NEW_GROUP, "New Group"},
        {ID_SHORTCUT_NEW_SHORTCUT, "New Shortcut"},
        {ID_SHORTCUT_RENAME, "Rename\tF2,Ins"},
        {ID_SHORTCUT_CLEAR, "Clear Shortcuts"},
        {0, nullptr},
        {ID_SHORTCUT_REMOVE, "Remove\tDel"},
    };
    AppendContextEntries(menu, kItems, std::size(kItems), hClicked);
}

void CShortCutTree::RunContextCommand(UINT nCmd, HTREEITEM hClicked) {
    switch (nCmd) {
    case ID_SHORTCUT_CREATE_LIST:
        CreateRecordingList();
        break;
    case ID_SHORTCUT_EXPLORE:
        ::ShellExecuteA(nullptr, nullptr, GetItemTarget(hClicked), nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case ID_SHORTCUT_SELECT_ALL:
        SelectAllShortcuts(hClicked);
        break;
    case ID_SHORTCUT_NEW_GROUP:
        NewGroup(hClicked);
        break;
    case ID_SHORTCUT_NEW_SHORTCUT:
        NewShortcut(hClicked);
        break;
    case ID_SHORTCUT_RENAME:
        EditItemLabel(hClicked);
        break;
    case ID_SHORTCUT_CLEAR:
        ClearShortcuts(hClicked);
        break;
    case ID_SHORTCUT_REMOVE:
        OnDeleteSelected();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Commands

void CShortCutTree::CreateRecordingList() {
    CKWArray<SHORTCUTTREEITEM> selected(0, 10);
    CollectSelected(selected, GetRootItem());
    if (selected.GetSize() == 0)
        return;
    // Owned by the main window once posted.
    CKWArray<CKWString>* pFolders = new CKWArray<CKWString>(0, 10);
    for (int i = 0; i < selected.GetSize(); ++i) {
        const SHORTCUTTREEITEM& item = selected.GetAt(i);
        if (!item.Target.IsEmpty()) {
            pFolders->Add(CKWString(item.Target));
            continue;
        }
        FillSubtree(item.hItem);
        CKWArray<SHORTCUTTREEITEM> shortcuts(0, 10);
        CollectShortcuts(shortcuts, item.hItem, FALSE);
        for (int j = 0; j < shortcuts.GetSize(); ++j) {
            if (!shortcuts.GetAt(j).Target.IsEmpty())
                pFolders->Add(CKWString(shortcuts.GetAt(j).Target));
        }
    }
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pFolders->GetSize() == 0 || pMainWnd == nullptr ||
        !pMainWnd->PostMessage(WM_CREATE_RECORDING_LIST, reinterpret_cast<WPARAM>(pFolders), 0))
        delete pFolders;
}

void CShortCutTree::SelectAllShortcuts(HTREEITEM hGroup) {
    RECORD group{};
    if (!GetItemRecord(hGroup, group) || !Store().HasChildren(group.ID))
        return;
    FillChildItems(hGroup);
    SetItemSelected(hGroup, FALSE);
    for (HTREEITEM hChild = GetChildItem(hGroup); hChild != nullptr;
         hChild = GetNextSiblingItem(hChild)) {
        RECORD child{};
        if (GetItemRecord(hChild, child) && !child.IsGroup)
            SetItemSelected(hChild, TRUE);
    }
}

void CShortCutTree::NewGroup(HTREEITEM hGroup) {
    HTREEITEM hItem = AddGroup(hGroup, Store().GetNextID(), "New Group");
    if (hItem == nullptr)
        return;
    SelectItem(hItem);
    EditItemLabel(hItem);
}

void CShortCutTree::NewShortcut(HTREEITEM hGroup) {
    CSelectDirDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    const CString strPath = dlg.GetPath();
    if (strPath.IsEmpty())
        return;
    HTREEITEM hItem = AddShortcut(hGroup, Store().GetNextID(), MakeShortcutName(strPath), strPath);
    if (hItem != nullptr)
        SelectItem(hItem);
}

void CShortCutTree::ClearShortcuts(HTREEITEM hGroup) {
    RECORD group{};
    if (!GetItemRecord(hGroup, group) || !Store().HasChildren(group.ID))
        return;
    FillChildItems(hGroup);
    HTREEITEM hChild = GetChildItem(hGroup);
    while (hChild != nullptr) {
        HTREEITEM hNext = GetNextSiblingItem(hChild);
        RECORD child{};
        if (GetItemRecord(hChild, child) && !child.IsGroup)
            RemoveItem(hChild);
        hChild = hNext;
    }
    if (!Store().HasChildren(group.ID))
        SetHasChildren(hGroup, FALSE);
}

void CShortCutTree::OnDblClick(NMHDR*, LRESULT* pResult) {
    SetFocus();
    CreateRecordingList();
    // Handled: the double click neither expands nor collapses.
    *pResult = 1;
}
