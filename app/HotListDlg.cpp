// HotListDlg.cpp: the hot-list chooser.
#include "HotListDlg.h"

#include "HotLists.h"
#include "SlicedImageList.h"
#include "resource.h"

#include "framework/DataExchange.h"

#include <vector>

namespace {

const int kGroupImage = 1; // the orange folder of the tree bitmap

} // namespace

BEGIN_MESSAGE_MAP(CHotListDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_NOTIFY(TVN_ITEMEXPANDING, IDC_HOTLIST_TREE, &CHotListDlg::OnItemExpanding)
END_MESSAGE_MAP()

CHotListDlg::CHotListDlg(CWnd* pParent) : COXShadowedWnd<CDialog>(IDD_HOTLIST), m_nSelectedID(-1) {
    m_pParentWnd = pParent;
}

void CHotListDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOTLIST_TREE, m_tree);
}

BOOL CHotListDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    if (m_brushWhite.GetSafeHandle() == nullptr)
        m_brushWhite.CreateSolidBrush(RGB(255, 255, 255));
    InitTree();
    return TRUE;
}

void CHotListDlg::OnOK() {
    HTREEITEM hCaret = m_tree.GetSelectedItem();
    if (hCaret != nullptr)
        m_nSelectedID = static_cast<int>(m_tree.GetItemData(hCaret));
    COXShadowedWnd<CDialog>::OnOK();
}

BOOL CHotListDlg::InitTree() {
    if (m_tree.GetSafeHwnd() == nullptr)
        return FALSE;
    CreateSlicedImageList(m_images, IDB_TREE_IMAGES, 16, 17, 4);
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    m_tree.SelectItem(nullptr);
    m_tree.DeleteAllItems();
    InsertGroupItems(TVI_ROOT, -1);
    HTREEITEM hFirst = m_tree.GetRootItem();
    if (hFirst != nullptr) {
        m_tree.SetFocus();
        m_tree.SelectItem(hFirst);
        ExpandAll();
    }
    return TRUE;
}

void CHotListDlg::InsertGroupItems(HTREEITEM hParent, int nParentID) {
    CHotLists* pStore = CHotLists::GetInstance();
    // Copies first: the store's search cursor is shared, and the children's
    // own queries below must not run inside its walk.
    std::vector<CHotLists::HOTLISTENTRY> groups;
    for (CHotLists::HOTLISTENTRY* pEntry = pStore->FindFirst(nParentID, CTreeStore::FIND_BY_PARENT);
         pEntry != nullptr; pEntry = pStore->FindNext(nParentID, CTreeStore::FIND_BY_PARENT))
        if (pEntry->IsGroup != 0)
            groups.push_back(*pEntry);
    for (const CHotLists::HOTLISTENTRY& group : groups) {
        TVINSERTSTRUCT insert = {};
        insert.hParent = hParent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
        insert.item.pszText = const_cast<LPSTR>(group.Name.GetString());
        insert.item.iImage = kGroupImage;
        insert.item.iSelectedImage = kGroupImage;
        insert.item.lParam = group.ID;
        insert.item.cChildren = pStore->HasChildGroups(group.ID) ? 1 : 0;
        m_tree.InsertItem(&insert);
    }
}

void CHotListDlg::ExpandAll() {
    HTREEITEM hItem = m_tree.GetRootItem();
    while (hItem != nullptr) {
        if (m_tree.ItemHasChildren(hItem))
            m_tree.Expand(hItem, TVE_EXPAND);
        HTREEITEM hNext = m_tree.GetChildItem(hItem);
        for (HTREEITEM hUp = hItem; hNext == nullptr && hUp != nullptr;
             hUp = m_tree.GetParentItem(hUp))
            hNext = m_tree.GetNextSiblingItem(hUp);
        hItem = hNext;
    }
}

void CHotListDlg::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    const NMTREEVIEW* pNMTreeView = reinterpret_cast<const NMTREEVIEW*>(pNMHDR);
    HTREEITEM hItem = pNMTreeView->itemNew.hItem;
    if ((m_tree.GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) == 0 &&
        m_tree.GetChildItem(hItem) == nullptr)
        InsertGroupItems(hItem, static_cast<int>(m_tree.GetItemData(hItem)));
    *pResult = 0;
}

HBRUSH CHotListDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushWhite.GetSafeHandle());
}

BOOL CHotListDlg::OnEraseBkgnd(CDC* pDC) {
    CRect rcClient;
    GetClientRect(&rcClient);
    ::FillRect(pDC->GetSafeHdc(), &rcClient, static_cast<HBRUSH>(m_brushWhite.GetSafeHandle()));
    return TRUE;
}

void CHotListDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushWhite.DeleteObject();
}
