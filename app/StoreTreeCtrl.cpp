// StoreTreeCtrl.cpp: the tree control over a tree store: filling, walking,
// selection, label editing, keys and removal.
#include "StoreTreeCtrl.h"

#include "SlicedImageList.h"
#include "resource.h"

#include "framework/WinApp.h"

#include <set>

BEGIN_MESSAGE_MAP(CStoreTreeCtrl, CTreeCtrl)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CStoreTreeCtrl::OnItemExpanding)
ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CStoreTreeCtrl::OnBeginLabelEdit)
ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, &CStoreTreeCtrl::OnEndLabelEdit)
ON_NOTIFY_REFLECT(TVN_DELETEITEM, &CStoreTreeCtrl::OnDeleteItem)
ON_COMMAND(ID_EDIT_NAME, &CStoreTreeCtrl::OnEditName)
ON_COMMAND(ID_DELETE_SELECTED, &CStoreTreeCtrl::OnDeleteSelected)
END_MESSAGE_MAP()

namespace {
const int kTreeImageWidth = 16;
const int kTreeImageHeight = 17;
const int kTreeImageCount = 4;

// Turns the tree's drawing off for a bulk change and repaints it once after:
// a tree that draws while thousands of items go in and groups open takes
// seconds. A window without WS_VISIBLE is left alone, since turning drawing
// back on would show it.
class CNoRedraw {
public:
    explicit CNoRedraw(CWnd& wnd) : m_wnd(wnd), m_bActive((wnd.GetStyle() & WS_VISIBLE) != 0) {
        if (m_bActive)
            m_wnd.SetRedraw(FALSE);
    }
    ~CNoRedraw() {
        if (!m_bActive)
            return;
        m_wnd.SetRedraw(TRUE);
        m_wnd.Invalidate();
    }
    CNoRedraw(const CNoRedraw&) = delete;
    CNoRedraw& operator=(const CNoRedraw&) = delete;

private:
    CWnd& m_wnd;
    const BOOL m_bActive;
};
} // namespace

CStoreTreeCtrl::CStoreTreeCtrl(PFNGETSTORE pfnGetStore, int nGroupImage, int nItemImage,
                               BOOL bShiftRanges)
    : m_pfnGetStore(pfnGetStore), m_nGroupImage(nGroupImage), m_nItemImage(nItemImage),
      m_bShiftRanges(bShiftRanges) {}

CStoreTreeCtrl::~CStoreTreeCtrl() = default;

// ---------------------------------------------------------------------------
// Filling

BOOL CStoreTreeCtrl::InitTree() {
    if (GetSafeHwnd() == nullptr)
        return FALSE;
    CreateSlicedImageList(m_images, IDB_TREE_IMAGES, kTreeImageWidth, kTreeImageHeight,
                          kTreeImageCount);
    SetImageList(&m_images, TVSIL_NORMAL);
    CNoRedraw noRedraw(*this);
    SelectItem(nullptr);
    DeleteAllItems();
    InsertChildItems(TVI_ROOT, -1);
    return TRUE;
}

void CStoreTreeCtrl::ReloadTree() {
    CNoRedraw noRedraw(*this);
    SelectItem(nullptr);
    DeleteAllItems();
    if (InsertChildItems(TVI_ROOT, -1) != nullptr)
        Expand(GetRootItem(), TVE_EXPAND);
}

void CStoreTreeCtrl::ExpandAll() {
    CNoRedraw noRedraw(*this);
    for (HTREEITEM hItem = GetRootItem(); hItem != nullptr; hItem = GetNextTreeItem(hItem)) {
        if (ItemHasChildren(hItem))
            Expand(hItem, TVE_EXPAND);
    }
}

HTREEITEM CStoreTreeCtrl::GetNextTreeItem(HTREEITEM hItem) const {
    if (hItem == nullptr)
        return nullptr;
    HTREEITEM hChild = GetChildItem(hItem);
    if (hChild != nullptr)
        return hChild;
    for (; hItem != nullptr; hItem = GetParentItem(hItem)) {
        HTREEITEM hNext = GetNextSiblingItem(hItem);
        if (hNext != nullptr)
            return hNext;
    }
    return nullptr;
}

std::vector<CStoreTreeCtrl::RECORD> CStoreTreeCtrl::GetChildRecords(int nParentID) const {
    std::vector<RECORD> children;
    for (RECORD* p = Store().FindFirst(nParentID, CTreeStore::FIND_BY_PARENT); p != nullptr;
         p = Store().FindNext(nParentID, CTreeStore::FIND_BY_PARENT))
        children.push_back(*p);
    return children;
}

HTREEITEM CStoreTreeCtrl::InsertChildItems(HTREEITEM hParent, int nParentID) {
    HTREEITEM hLast = nullptr;
    for (const RECORD& record : GetChildRecords(nParentID)) {
        // A record that names itself as its parent (a hand-edited file) would
        // be its own child at every expansion, without end.
        if (record.ID == nParentID)
            continue;
        HTREEITEM hItem = InsertRecordItem(hParent, record, Store().HasChildren(record.ID));
        if (hItem != nullptr)
            hLast = hItem;
    }
    return hLast;
}

HTREEITEM CStoreTreeCtrl::InsertRecordItem(HTREEITEM hParent, const RECORD& record,
                                           BOOL bHasChildren) {
    TVINSERTSTRUCT insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPTSTR>(static_cast<LPCTSTR>(record.Name));
    insert.item.iImage = insert.item.iSelectedImage = GetRecordImage(hParent, record);
    insert.item.lParam = record.ID;
    insert.item.cChildren = bHasChildren ? 1 : 0;
    return InsertItem(&insert);
}

void CStoreTreeCtrl::FillChildItems(HTREEITEM hItem) {
    if (hItem == nullptr || hItem == TVI_ROOT || IsExpandedOnce(hItem))
        return;
    // An item that has child items was filled already, whatever its mark says.
    if (GetChildItem(hItem) == nullptr)
        InsertChildItems(hItem, static_cast<int>(GetItemData(hItem)));
    SetItemState(hItem, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
}

void CStoreTreeCtrl::FillSubtree(HTREEITEM hItem) {
    FillChildItems(hItem);
    for (HTREEITEM hChild = GetChildItem(hItem); hChild != nullptr;
         hChild = GetNextSiblingItem(hChild)) {
        if (IsGroupItem(hChild))
            FillSubtree(hChild);
    }
}

int CStoreTreeCtrl::GetRecordImage(HTREEITEM, const RECORD& record) const {
    return record.IsGroup ? m_nGroupImage : m_nItemImage;
}

BOOL CStoreTreeCtrl::IsExpandedOnce(HTREEITEM hItem) const {
    return (GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) != 0;
}

void CStoreTreeCtrl::SetHasChildren(HTREEITEM hItem, BOOL bHasChildren) {
    TVITEM item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = bHasChildren ? 1 : 0;
    SetItem(&item);
}

// ---------------------------------------------------------------------------
// Items and their records

BOOL CStoreTreeCtrl::GetItemRecord(HTREEITEM hItem, RECORD& record) const {
    if (hItem == nullptr || hItem == TVI_ROOT)
        return FALSE;
    return Store().GetEntryCopy(static_cast<int>(GetItemData(hItem)), record);
}

BOOL CStoreTreeCtrl::HasRecord(HTREEITEM hItem) const {
    RECORD record{};
    return GetItemRecord(hItem, record);
}

BOOL CStoreTreeCtrl::IsGroupItem(HTREEITEM hItem) const {
    RECORD record{};
    return GetItemRecord(hItem, record) && record.IsGroup != 0;
}

CString CStoreTreeCtrl::GetItemTarget(HTREEITEM hItem) const {
    RECORD record{};
    return GetItemRecord(hItem, record) ? record.Target : CString();
}

BOOL CStoreTreeCtrl::ItemExists(HTREEITEM hItem) const {
    if (hItem == nullptr)
        return FALSE;
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h)) {
        if (h == hItem)
            return TRUE;
    }
    return FALSE;
}

BOOL CStoreTreeCtrl::IsAncestorOf(HTREEITEM hAncestor, HTREEITEM hItem) const {
    if (hAncestor == nullptr || hItem == nullptr)
        return FALSE;
    for (HTREEITEM h = GetParentItem(hItem); h != nullptr; h = GetParentItem(h)) {
        if (h == hAncestor)
            return TRUE;
    }
    return FALSE;
}

BOOL CStoreTreeCtrl::RemoveItem(HTREEITEM hItem) {
    if (hItem == nullptr || hItem == TVI_ROOT)
        return FALSE;
    const int nID = static_cast<int>(GetItemData(hItem));
    if (!Store().RemoveEntry(nID))
        return FALSE;
    // The tree shows nothing below a removed group again, so records left
    // there would be kept and saved for ever without a way to reach them.
    RemoveRecordsBelow(nID);
    HTREEITEM hParent = GetParentItem(hItem);
    DeleteItem(hItem);
    if (hParent != nullptr && !Store().HasChildren(static_cast<int>(GetItemData(hParent))))
        SetHasChildren(hParent, FALSE);
    return TRUE;
}

void CStoreTreeCtrl::RemoveRecordsBelow(int nID) {
    // A hand-edited file may hold a cycle of parents; each ID is visited once.
    std::set<int> visited = {nID};
    std::vector<int> pending = {nID};
    while (!pending.empty()) {
        const int nParentID = pending.back();
        pending.pop_back();
        for (const RECORD& child : GetChildRecords(nParentID)) {
            if (!visited.insert(child.ID).second)
                continue;
            Store().RemoveEntry(child.ID);
            pending.push_back(child.ID);
        }
    }
}

void CStoreTreeCtrl::OnDeleteSelected() {
    CKWArray<STORETREEITEM> items(0, 10);
    CollectSelected(items, GetRootItem());
    const HTREEITEM hRoot = GetRootItem();
    // Backwards in tree order: the items below a group go before the group,
    // so no item's turn comes after it went with its group's subtree.
    for (int i = items.GetSize() - 1; i >= 0; --i) {
        const HTREEITEM hItem = items.GetAt(i).hItem;
        if (hItem != hRoot)
            RemoveItem(hItem);
    }
}

// ---------------------------------------------------------------------------
// The selection

BOOL CStoreTreeCtrl::IsItemSelected(HTREEITEM hItem) const {
    return hItem != nullptr && (GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
}

void CStoreTreeCtrl::SetItemSelected(HTREEITEM hItem, BOOL bSelected) {
    if (hItem != nullptr)
        SetItemState(hItem, bSelected ? TVIS_SELECTED : 0, TVIS_SELECTED | TVIS_DROPHILITED);
}

int CStoreTreeCtrl::CountSelected() const {
    int nCount = 0;
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h)) {
        if (IsItemSelected(h))
            ++nCount;
    }
    return nCount;
}

void CStoreTreeCtrl::DeselectAll() {
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h))
        SetItemSelected(h, FALSE);
}

void CStoreTreeCtrl::CollectSelected(CKWArray<STORETREEITEM>& items, HTREEITEM hStart) const {
    for (HTREEITEM hItem = hStart; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        RECORD record{};
        if (!GetItemRecord(hItem, record))
            return;
        if (IsItemSelected(hItem)) {
            STORETREEITEM item;
            item.hItem = hItem;
            item.Target = record.Target;
            item.Text = GetItemText(hItem);
            item.IsGroup = record.IsGroup ? 1 : 0;
            items.Add(item);
        }
        if (record.IsGroup && Store().HasChildren(record.ID))
            CollectSelected(items, GetChildItem(hItem));
    }
}

HTREEITEM CStoreTreeCtrl::FindFirstOf(HTREEITEM hFirst, HTREEITEM hSecond) const {
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h)) {
        if (h == hFirst || h == hSecond)
            return h;
    }
    return nullptr;
}

void CStoreTreeCtrl::SelectRange(HTREEITEM hFrom, HTREEITEM hTo) {
    if (hTo == nullptr)
        return;
    for (HTREEITEM h = hFrom; h != nullptr && HasRecord(h); h = GetNextTreeItem(h)) {
        SetItemSelected(h, TRUE);
        if (h == hTo)
            break;
    }
}

// ---------------------------------------------------------------------------
// Mouse

int CStoreTreeCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_hAccel = ::LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCE(GetAcceleratorId()));
    return 0;
}

void CStoreTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    SetFocus();
    if (m_bEditing)
        return;
    HTREEITEM hItem = HitTest(point);
    if (m_bShiftRanges && (nFlags & MK_SHIFT) && m_hAnchor != nullptr && hItem != nullptr) {
        HTREEITEM hFrom = FindFirstOf(m_hAnchor, hItem);
        SelectRange(hFrom, hFrom == hItem ? m_hAnchor : hItem);
        m_hAnchor = hItem;
        return;
    }
    m_hAnchor = hItem;
    if (nFlags & MK_CONTROL) {
        // Adds to the selection without moving the caret.
        SetItemSelected(hItem, TRUE);
        return;
    }
    DeselectAll();
    SetItemSelected(hItem, TRUE);
    // The control moves the caret, runs the expand buttons and detects drags.
    Default();
}

void CStoreTreeCtrl::OnRButtonDown(UINT, CPoint point) {
    HTREEITEM hItem = HitTest(point);
    SetFocus();
    if (hItem != nullptr) {
        if (!IsItemSelected(hItem))
            DeselectAll();
        SetItemSelected(hItem, TRUE);
    } else {
        DeselectAll();
    }
    m_hAnchor = hItem;
    // The control's own right-click loop does not run: the button's release
    // comes here and opens the menu.
    SetCapture();
}

void CStoreTreeCtrl::OnRButtonUp(UINT, CPoint point) {
    HTREEITEM hClicked = HitTest(point);
    if (hClicked != nullptr && !m_bEditing) {
        CMenu menu;
        if (menu.CreatePopupMenu()) {
            BuildContextMenu(menu, hClicked);
            CPoint ptScreen = point;
            ClientToScreen(&ptScreen);
            const UINT nCmd = static_cast<UINT>(
                menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, ptScreen.x, ptScreen.y, this));
            // Released before the command runs: a command may open a dialog.
            if (GetCapture() == this)
                ReleaseCapture();
            if (nCmd != 0)
                RunContextCommand(nCmd, hClicked);
            menu.DestroyMenu();
        }
    }
    if (GetCapture() == this)
        ReleaseCapture();
}

// ---------------------------------------------------------------------------
// Notifications

void CStoreTreeCtrl::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    FillChildItems(reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem);
    *pResult = 0;
}

void CStoreTreeCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult) {
    if (reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemOld.hItem == m_hAnchor)
        m_hAnchor = nullptr;
    *pResult = 0;
}

// ---------------------------------------------------------------------------
// Label editing and keys

void CStoreTreeCtrl::EditItemLabel(HTREEITEM hItem) {
    if (hItem == nullptr)
        return;
    ModifyStyle(0, TVS_EDITLABELS);
    EditLabel(hItem);
}

UINT CStoreTreeCtrl::GetAcceleratorId() const {
    return IDR_TREE_ACCEL;
}

HTREEITEM CStoreTreeCtrl::GetItemToRename() const {
    HTREEITEM hCaret = GetSelectedItem();
    return HasRecord(hCaret) ? hCaret : nullptr;
}

void CStoreTreeCtrl::OnEditName() {
    EditItemLabel(GetItemToRename());
}

void CStoreTreeCtrl::OnBeginLabelEdit(NMHDR*, LRESULT* pResult) {
    m_bEditing = TRUE;
    *pResult = 0;
}

void CStoreTreeCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    const TVITEM& item = reinterpret_cast<NMTVDISPINFO*>(pNMHDR)->item;
    BOOL bAccepted = FALSE;
    // The control may report the end of an edit once more while it takes
    // the edit box down (then with the box's text even after a cancel): only
    // the first report counts.
    if (!m_bEditing) {
        *pResult = FALSE;
        return;
    }
    RECORD* pRecord = Store().GetEntry(static_cast<int>(GetItemData(item.hItem)));
    if (item.pszText != nullptr && item.pszText[0] != '\0' && pRecord != nullptr) {
        pRecord->Name = item.pszText;
        SetItemText(item.hItem, item.pszText);
        bAccepted = TRUE;
    }
    m_bEditing = FALSE;
    ModifyStyle(TVS_EDITLABELS, 0);
    // A cleared or cancelled label keeps the item's old text, as the record
    // keeps its name: the control would otherwise show the empty text.
    *pResult = bAccepted;
}

BOOL CStoreTreeCtrl::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        // Straight to the label's edit box (or the tree), never to the dialog
        // or frame around it, which would take them as OK or Cancel.
        ::TranslateMessage(pMsg);
        ::DispatchMessage(pMsg);
        return TRUE;
    }
    // Not while a label is edited: Delete and Insert belong to its edit box
    // then, and would otherwise remove the selected items.
    if (m_hAccel != nullptr && !m_bEditing && ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

void CStoreTreeCtrl::AppendContextEntries(CMenu& menu, const SContextEntry* pEntries, size_t nCount,
                                          HTREEITEM hClicked) const {
    for (size_t i = 0; i < nCount; ++i) {
        const SContextEntry& entry = pEntries[i];
        if (entry.nCmd == 0)
            menu.AppendMenu(MF_SEPARATOR);
        else
            menu.AppendMenu(MF_STRING | (IsContextCommandEnabled(entry.nCmd, hClicked) ? MF_ENABLED
                                                                                       : MF_GRAYED),
                            entry.nCmd, entry.pszText);
    }
}
