// ShellFolderTree.cpp: CShellFolderTree's filling, selection, context menu,
// commands, renaming and drag out. The drops are in ShellFolderTreeDrop.cpp.
#include "ShellFolderTree.h"

#include "AppMessages.h"
#include "NewShortcut.h"
#include "ShortCuts.h"
#include "resource.h"

#include "Common/DropFileList.h"
#include "Common/TraceLog.h"
#include "KWString.h"

#include "framework/AfxResource.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

#include <shellapi.h>

#include <algorithm>

namespace {

// What the tree enumerates: everything, hidden objects too; the filter below
// keeps the folders.
const DWORD kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;

// The folder icon of "shell32.dll" that stands first in the tree's own list.
const int kShellFolderIcon = 34;

bool HasBoth(ULONG dwAttributes, ULONG dwBits) {
    return (dwAttributes & dwBits) == dwBits;
}

SHELLOBJECTINFO* RecordOf(LPARAM lParam) {
    return reinterpret_cast<SHELLOBJECTINFO*>(lParam);
}

// The last component of a path without its extension: the name a new
// shortcut to the folder starts with.
CString FileTitleOf(const CString& strPath) {
    const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    CString strName = strPath.Mid(nSlash + 1);
    const int nDot = strName.ReverseFind('.');
    return nDot >= 0 ? strName.Left(nDot) : strName;
}

void PostToMainWnd(UINT message) {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && ::IsWindow(pMainWnd->GetSafeHwnd()))
        pMainWnd->PostMessage(message, 0, 0);
}

} // namespace

BEGIN_MESSAGE_MAP(CShellFolderTree, CTreeCtrl)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_DROPFILES()
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, &CShellFolderTree::OnItemExpanding)
ON_NOTIFY_REFLECT(TVN_DELETEITEMA, &CShellFolderTree::OnDeleteItem)
ON_NOTIFY_REFLECT(NM_DBLCLK, &CShellFolderTree::OnDblClick)
ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, &CShellFolderTree::OnBeginLabelEdit)
ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, &CShellFolderTree::OnEndLabelEdit)
ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, &CShellFolderTree::OnBeginDrag)
ON_COMMAND(ID_SHELLTREE_CREATE_LIST, &CShellFolderTree::OnCreateRecordingList)
END_MESSAGE_MAP()

CShellFolderTree::CShellFolderTree()
    : m_bUseOwnerWnd(TRUE), m_hSystemImageList(nullptr), m_iconMap(10), m_bEditingLabel(FALSE),
      m_dropTarget(this), m_bDraggingOwnItems(FALSE), m_hAccel(nullptr) {}

// The window goes here, not in CWnd's destructor: its items' records are freed
// with the navigator, which is gone by the time the base destructor runs.
CShellFolderTree::~CShellFolderTree() {
    if (m_hWnd != nullptr)
        DestroyWindow();
}

// ---------------------------------------------------------------------------
// Creation and teardown

int CShellFolderTree::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    DragAcceptFiles(TRUE);
    if (!m_dropTarget.Register(this)) {
        KWTRACE(("CHotListsTree::OnCreate: failed to register the control with COleDropTarget\n"));
        KWTRACE(("you've probably forgot to initialize OLE libraries using AfxOleInit function\n"));
    }
    m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_SHELLTREE_ACCEL));
    return 0;
}

// The records go before the items: TVN_DELETEITEM reaches the tree only
// through its parent's reflection, which a parent already being torn down
// may no longer give.
void CShellFolderTree::OnDestroy() {
    FreeRecords(GetRootItem());
    CTreeCtrl::OnDestroy();
}

void CShellFolderTree::FreeRecords(HTREEITEM hItem) {
    for (; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        FreeRecords(GetChildItem(hItem));
        SHELLOBJECTINFO* pInfo = RecordOf(GetItemData(hItem));
        if (pInfo != nullptr) {
            SetItemData(hItem, 0);
            m_navigator.FreeShellObjectInfo(pInfo);
        }
    }
}

void CShellFolderTree::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult) {
    NMTREEVIEWA* pTree = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    m_navigator.FreeShellObjectInfo(RecordOf(pTree->itemOld.lParam));
    *pResult = 0;
}

// ---------------------------------------------------------------------------
// Filling

void CShellFolderTree::SetUseOwnerWnd(BOOL bUseOwnerWnd) {
    m_bUseOwnerWnd = bUseOwnerWnd;
    if (::IsWindow(m_hWnd))
        m_navigator.SetOwnerWnd(bUseOwnerWnd ? this : nullptr);
}

BOOL CShellFolderTree::Initialize(LPCTSTR lpszPath) {
    if (!::IsWindow(m_hWnd))
        return FALSE;
    SetUseOwnerWnd(m_bUseOwnerWnd);
    if (m_hSystemImageList == nullptr) {
        m_hSystemImageList = m_navigator.GetSystemImageList(TRUE);
        if (m_hSystemImageList == nullptr)
            return FALSE;
    }
    // The folder is had before anything changes, so that a start folder the
    // shell cannot give leaves the items with the icons they show.
    const char* pszPath = lpszPath != nullptr ? lpszPath : "";
    IShellFolder* pFolder = m_navigator.GetShellFolderFromPath(pszPath);
    if (pFolder == nullptr)
        return FALSE;
    LPITEMIDLIST pidlFolder = nullptr;
    if (!m_navigator.GetPIDLFromPath(pszPath, &pidlFolder)) {
        pFolder->Release();
        return FALSE;
    }

    SelectItem(nullptr);
    DeleteAllItems();
    SetImageList(nullptr, TVSIL_NORMAL);
    if (m_imageList.GetSafeHandle() != nullptr)
        m_imageList.DeleteImageList();
    m_iconMap.RemoveAll();
    int cx = 16;
    int cy = 16;
    ImageList_GetIconSize(m_hSystemImageList, &cx, &cy);
    m_imageList.Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 0);
    HICON hFolderIcon = ::ExtractIconA(AfxGetResourceHandle(), "shell32.dll", kShellFolderIcon);
    if (hFolderIcon != nullptr && hFolderIcon != reinterpret_cast<HICON>(1)) {
        m_imageList.Add(hFolderIcon);
        ::DestroyIcon(hFolderIcon);
    }
    SetImageList(&m_imageList, TVSIL_NORMAL);

    InsertChildren(TVI_ROOT, pFolder, pidlFolder);
    pFolder->Release();
    m_navigator.FreeShellMemory(pidlFolder); // every record holds its own full list
    SortChildren(TVI_ROOT);
    return TRUE;
}

BOOL CShellFolderTree::InsertChildren(HTREEITEM hParent, IShellFolder* pFolder,
                                      LPCITEMIDLIST pidlFolder) {
    CWaitCursor wait;
    if (!m_navigator.InitObjectsEnumerator(pFolder, pidlFolder, kEnumFlags))
        return FALSE;
    for (BOOL bEnd = FALSE;;) {
        SHELLOBJECTINFO* pInfo = m_navigator.GetNextEnumeratedObject(bEnd);
        if (bEnd)
            break;
        if (pInfo == nullptr)
            continue; // an object without a name
        const ULONG dwAttributes = pInfo->dwAttributes;
        BOOL bTaken = HasBoth(dwAttributes, SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER) ||
                      HasBoth(dwAttributes, SFGAO_FILESYSTEM | SFGAO_FOLDER);
        if (bTaken && (dwAttributes & SFGAO_FILESYSTEM) != 0 && (dwAttributes & SFGAO_FOLDER) == 0)
            bTaken = IsFileAccepted(pInfo->szDisplayName);
        if (bTaken)
            bTaken = IsObjectAccepted(pInfo);

        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = hParent;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
        tvis.item.pszText = pInfo->szDisplayName;
        tvis.item.iImage = GetOwnIconIndex(pInfo->nSmallIcon);
        tvis.item.iSelectedImage = GetOwnIconIndex(pInfo->nSmallOpenIcon);
        // The button shows before the children are known.
        tvis.item.cChildren =
            (dwAttributes & (SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER)) != 0 ? 1 : 0;
        tvis.item.lParam = reinterpret_cast<LPARAM>(pInfo);
        // A record that no item takes is freed at once.
        if (!bTaken || InsertItem(&tvis) == nullptr)
            m_navigator.FreeShellObjectInfo(pInfo);
    }
    m_navigator.ReleaseObjectsEnumerator();
    return TRUE;
}

// Index 0 is the "shell32.dll" icon; each system icon in use is copied into
// the own list once.
int CShellFolderTree::GetOwnIconIndex(int nSystemIcon) {
    int nOwn = 0;
    if (m_iconMap.Lookup(nSystemIcon, nOwn))
        return nOwn;
    HICON hIcon = ImageList_GetIcon(m_hSystemImageList, nSystemIcon, ILD_NORMAL);
    if (hIcon == nullptr)
        return 0;
    nOwn = m_imageList.Add(hIcon);
    ::DestroyIcon(hIcon);
    if (nOwn < 0)
        return 0;
    m_iconMap.SetAt(nSystemIcon, nOwn);
    return nOwn;
}

void CShellFolderTree::SortChildren(HTREEITEM hItem) {
    TVSORTCB sort = {hItem, &COXShellNamespaceNavigator::CompareObjectsProc, 0};
    SortChildrenCB(&sort);
}

// Children are read once: at the first expansion of an item.
void CShellFolderTree::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    NMTREEVIEWA* pTree = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    *pResult = 0;
    const HTREEITEM hItem = pTree->itemNew.hItem;
    if ((GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) != 0)
        return;
    const SHELLOBJECTINFO* pInfo = GetItemObject(hItem);
    if (pInfo == nullptr)
        return;
    CWaitCursor wait;
    IShellFolder* pFolder = m_navigator.GetShellFolder(pInfo->pParentFolder, pInfo->pidlRelative);
    if (pFolder == nullptr)
        return;
    InsertChildren(hItem, pFolder, pInfo->pidlFull);
    pFolder->Release();
    SortChildren(hItem);
}

// ---------------------------------------------------------------------------
// Items and paths

const SHELLOBJECTINFO* CShellFolderTree::GetItemObject(HTREEITEM hItem) const {
    return hItem != nullptr ? RecordOf(GetItemData(hItem)) : nullptr;
}

CString CShellFolderTree::GetPathFromPidl(LPCITEMIDLIST pidl) {
    char szPath[MAX_PATH] = "";
    if (pidl == nullptr || !::SHGetPathFromIDListA(pidl, szPath))
        return CString();
    return CString(szPath);
}

CString CShellFolderTree::GetItemPath(HTREEITEM hItem) const {
    const SHELLOBJECTINFO* pInfo = GetItemObject(hItem);
    return pInfo != nullptr ? GetPathFromPidl(pInfo->pidlFull) : CString();
}

BOOL CShellFolderTree::IsFolderPath(LPCTSTR lpszPath) {
    if (lpszPath == nullptr)
        return FALSE;
    for (int i = lstrlenA(lpszPath) - 1; i >= 0; --i) {
        if (lpszPath[i] == '.')
            return FALSE;
        if (lpszPath[i] == '\\' || lpszPath[i] == '/')
            return TRUE;
    }
    return FALSE;
}

BOOL CShellFolderTree::IsFileAccepted(LPCTSTR lpszName) const {
    if (m_extensions.GetSize() == 0)
        return TRUE;
    const CString strName(lpszName != nullptr ? lpszName : "");
    const int nDot = strName.Find('.');
    const CString strExtension = nDot >= 0 ? strName.Mid(nDot + 1) : strName;
    for (INT_PTR i = 0; i < m_extensions.GetSize(); ++i)
        if (strExtension.CompareNoCase(m_extensions[i]) == 0)
            return TRUE;
    return FALSE;
}

BOOL CShellFolderTree::IsObjectAccepted(const SHELLOBJECTINFO*) const {
    return TRUE;
}

void CShellFolderTree::CollectSelected(CKWArray<FOLDERTREEITEM>& items) const {
    CollectSelectedFrom(GetRootItem(), items);
}

// Only folders have inserted children, so the walk descends wherever there are some.
void CShellFolderTree::CollectSelectedFrom(HTREEITEM hItem, CKWArray<FOLDERTREEITEM>& items) const {
    for (; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        if ((GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0) {
            FOLDERTREEITEM item;
            item.hItem = hItem;
            item.strPath = GetItemPath(hItem);
            item.strText = GetItemText(hItem);
            items.Add(item);
        }
        CollectSelectedFrom(GetChildItem(hItem), items);
    }
}

// ---------------------------------------------------------------------------
// Mouse and keyboard

void CShellFolderTree::ClearSelection(HTREEITEM hItem) {
    for (; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        if ((GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0)
            SetItemState(hItem, 0, TVIS_SELECTED | TVIS_DROPHILITED);
        ClearSelection(GetChildItem(hItem));
    }
}

void CShellFolderTree::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bEditingLabel) {
        SetFocus(); // the click only ends the edit
        return;
    }
    const HTREEITEM hHit = HitTest(point);
    ClearSelection(GetRootItem());
    if (hHit != nullptr)
        SetItemState(hHit, TVIS_SELECTED, TVIS_SELECTED);
    CTreeCtrl::OnLButtonDown(nFlags, point);
}

void CShellFolderTree::OnRButtonDown(UINT, CPoint point) {
    const HTREEITEM hHit = HitTest(point);
    SetFocus();
    ClearSelection(GetRootItem());
    if (hHit != nullptr) {
        SelectItem(hHit);
        // The item may have been the caret already (Wine's tree makes its first
        // item the caret when it takes the focus): it shows selected again.
        SetItemState(hHit, TVIS_SELECTED, TVIS_SELECTED);
    }
    SetCapture();
}

void CShellFolderTree::OnRButtonUp(UINT, CPoint point) {
    if (GetSelectedItem() != nullptr) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        ShowContextMenu(ptScreen);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

// Escape goes straight to a running label edit; Ctrl+Enter makes a recording list.
BOOL CShellFolderTree::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
        return TRUE;
    }
    if (m_hAccel != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

void CShellFolderTree::OnDblClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    CPoint point;
    if (!::GetCursorPos(&point)) {
        KWTRACE(("COXShellFolderTree::OnDblClick: GetCursorPos() failed\n"));
        return;
    }
    ScreenToClient(&point);
    const HTREEITEM hItem = HitTest(point);
    const SHELLOBJECTINFO* pInfo = GetItemObject(hItem);
    if (pInfo == nullptr)
        return;
    if ((pInfo->dwAttributes & SFGAO_FOLDER) != 0) {
        // The list is made of the folder under the cursor, even when the first
        // click did not select it (a click on its button).
        if (GetSelectedItem() != hItem)
            SelectItem(hItem);
        OnCreateRecordingList();
        *pResult = 1; // neither expanded nor collapsed
        return;
    }
    if (!m_navigator.InvokeDefaultCommand(pInfo->pParentFolder, pInfo->pidlRelative))
        KWTRACE(("COXShellFolderTree::OnDblClick: InvokeDefaultCommand() failed\n"));
}

// ---------------------------------------------------------------------------
// Context menu and commands

void CShellFolderTree::ShowContextMenu(CPoint ptScreen) {
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING, ID_SHELLTREE_CREATE_RECORDING_LIST, "Create Recording List...");
    menu.AppendMenu(MF_STRING, ID_SHELLTREE_CREATE_SHORTCUT_LIST, "Create Shortcut List...");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_SHELLTREE_ADD_TO_SHORTCUTS, "Add to Shortcuts");
    menu.AppendMenu(MF_STRING, ID_SHELLTREE_EXPLORE, "Explore");
    const CString strPath = GetItemPath(GetSelectedItem());
    if (strPath.IsEmpty() || !IsFolderPath(strPath)) {
        for (UINT nID : {ID_SHELLTREE_CREATE_RECORDING_LIST, ID_SHELLTREE_ADD_TO_SHORTCUTS,
                         ID_SHELLTREE_EXPLORE})
            menu.EnableMenuItem(nID, MF_BYCOMMAND | MF_GRAYED);
    }
    const UINT nCommand = static_cast<UINT>(menu.TrackPopupMenu(
        TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, ptScreen.x, ptScreen.y, this));
    switch (nCommand) {
    case ID_SHELLTREE_CREATE_RECORDING_LIST:
        OnCreateRecordingList();
        break;
    case ID_SHELLTREE_ADD_TO_SHORTCUTS:
        OnAddToShortcuts();
        break;
    case ID_SHELLTREE_EXPLORE:
        OnExplore();
        break;
    case ID_SHELLTREE_CREATE_SHORTCUT_LIST:
        OnCreateShortcutList();
        break;
    default:
        break;
    }
}

// The array belongs to the main window once posted; without a main window to
// take it, nothing is made.
void CShellFolderTree::OnCreateRecordingList() {
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || !::IsWindow(pMainWnd->GetSafeHwnd())) {
        KWTRACE_ERROR(("CShellFolderTree::OnCreateRecordingList: there is no main window\n"));
        return;
    }
    CKWArray<CKWString>* pFolders = new CKWArray<CKWString>(0, 10);
    pFolders->Add(CKWString(GetItemPath(GetSelectedItem())));
    if (!pMainWnd->PostMessage(WM_CREATE_RECORDING_LIST, reinterpret_cast<WPARAM>(pFolders), 0)) {
        KWTRACE_ERROR(("CShellFolderTree::OnCreateRecordingList: PostMessage failed, error %u\n",
                       static_cast<unsigned>(::GetLastError())));
        delete pFolders;
    }
}

void CShellFolderTree::OnAddToShortcuts() {
    const CString strPath = GetItemPath(GetSelectedItem());
    CNewShortcut dlg(this);
    dlg.SetName(FileTitleOf(strPath));
    if (dlg.DoModal() != IDOK)
        return;
    CShortCuts* pShortCuts = CShortCuts::GetInstance();
    CShortCuts::SHORTCUTENTRY entry;
    entry.ID = pShortCuts->GetNextID();
    entry.ParentID = dlg.GetParentID();
    entry.Name = dlg.GetName();
    entry.Target = strPath;
    entry.IsGroup = 0;
    pShortCuts->AddEntry(entry);
    PostToMainWnd(WM_RELOAD_SHORTCUTS);
}

// One shortcut per sub-folder, named as the sub-folder, into the group chosen
// in the dialog; the name typed there is not used.
void CShellFolderTree::OnCreateShortcutList() {
    const CString strPath = GetItemPath(GetSelectedItem());
    if (!IsFolderPath(strPath))
        return;
    CNewShortcut dlg(this);
    dlg.SetName(FileTitleOf(strPath));
    if (dlg.DoModal() != IDOK)
        return;
    CString strFolder = strPath;
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    CShortCuts* pShortCuts = CShortCuts::GetInstance();
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA(strFolder + "*", &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
                lstrcmpA(found.cFileName, ".") == 0 || lstrcmpA(found.cFileName, "..") == 0)
                continue;
            CShortCuts::SHORTCUTENTRY entry;
            entry.ID = pShortCuts->GetNextID();
            entry.ParentID = dlg.GetParentID();
            entry.Name = found.cFileName;
            entry.Target = strFolder + found.cFileName;
            entry.IsGroup = 0;
            pShortCuts->AddEntry(entry);
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }
    PostToMainWnd(WM_RELOAD_SHORTCUTS);
}

void CShellFolderTree::OnExplore() {
    ::ShellExecuteA(m_hWnd, nullptr, GetItemPath(GetSelectedItem()), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

// ---------------------------------------------------------------------------
// Renaming

void CShellFolderTree::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    NMTVDISPINFOA* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    const SHELLOBJECTINFO* pObject = GetItemObject(pInfo->item.hItem);
    if (pObject != nullptr && (pObject->dwAttributes & SFGAO_CANRENAME) != 0) {
        m_bEditingLabel = TRUE;
        *pResult = FALSE;
    } else {
        *pResult = TRUE; // the shell does not let it take a new name
    }
}

void CShellFolderTree::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    NMTVDISPINFOA* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    CWaitCursor wait;
    m_bEditingLabel = FALSE;
    *pResult = FALSE;
    SHELLOBJECTINFO* pObject = RecordOf(GetItemData(pInfo->item.hItem));
    if (pInfo->item.pszText == nullptr || pInfo->item.pszText[0] == '\0' || pObject == nullptr)
        return;
    LPITEMIDLIST pidlNewRelative = nullptr;
    if (!m_navigator.RenameShellObject(pObject->pParentFolder, pObject->pidlRelative,
                                       &pidlNewRelative, pInfo->item.pszText))
        return;
    // The new full list is the old one with its last item replaced. It is not
    // built from the parent item: a top-level item's parent is the start
    // folder, which has no item, and is the desktop only when no start path
    // was given.
    LPITEMIDLIST pidlFolder = m_navigator.CopyPIDL(pObject->pidlFull);
    LPITEMIDLIST pidlNewFull = nullptr;
    if (pidlFolder != nullptr) {
        LPITEMIDLIST pidlLast = pidlFolder;
        for (LPITEMIDLIST pidlNext = pidlFolder;
             (pidlNext = m_navigator.GetNextItemID(pidlNext)) != nullptr;)
            pidlLast = pidlNext;
        pidlLast->mkid.cb = 0;
        pidlNewFull = m_navigator.ConcatenatePIDLs(pidlFolder, pidlNewRelative);
        m_navigator.FreeShellMemory(pidlFolder);
    }
    m_navigator.FreeShellMemory(pObject->pidlRelative);
    pObject->pidlRelative = pidlNewRelative;
    if (pidlNewFull != nullptr) {
        m_navigator.FreeShellMemory(pObject->pidlFull);
        pObject->pidlFull = pidlNewFull;
    }
    lstrcpynA(pObject->szDisplayName, pInfo->item.pszText, MAX_PATH);
    // Children already read carry lists of the old name, which leads nowhere
    // now: they go, and are read again at the next expansion.
    if (GetChildItem(pInfo->item.hItem) != nullptr)
        Expand(pInfo->item.hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
    *pResult = TRUE;
}

// ---------------------------------------------------------------------------
// Dragging out

void CShellFolderTree::OnBeginDrag(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    m_bDraggingOwnItems = TRUE;
    CKWArray<FOLDERTREEITEM> items(0, 10);
    CollectSelected(items);
    CDropFileList files;
    for (int i = 0; i < items.GetSize(); ++i)
        if (!items.GetAt(i).strPath.IsEmpty())
            files.Add(items.GetAt(i).strPath);
    if (files.GetSize() > 0) {
        files.BuildBlock();
        HGLOBAL hBlock =
            ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, files.GetBlockSize());
        void* pBlock = hBlock != nullptr ? ::GlobalLock(hBlock) : nullptr;
        if (pBlock != nullptr) {
            memcpy(pBlock, files.GetBlock(), files.GetBlockSize());
            ::GlobalUnlock(hBlock);
            COleDataSource source;
            if (source.CacheGlobalData(CF_HDROP, hBlock))
                source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
            else
                ::GlobalFree(hBlock);
        } else if (hBlock != nullptr) {
            ::GlobalFree(hBlock);
        }
    }
    m_bDraggingOwnItems = FALSE;
}
