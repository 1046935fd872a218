#include "TreeCtrl.h"

#include "Edit.h"
#include "ImageList.h"
#include "ToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CTreeCtrl::~CTreeCtrl() = default;

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage,
                                UINT nState, UINT nStateMask, LPARAM lParam, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = hInsertAfter;
    insert.item.mask = nMask;
    insert.item.pszText = const_cast<LPSTR>(lpszItem);
    insert.item.iImage = nImage;
    insert.item.iSelectedImage = nSelectedImage;
    insert.item.state = nState;
    insert.item.stateMask = nStateMask;
    insert.item.lParam = lParam;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage,
                      0, 0, 0, hParent, hInsertAfter);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) && item.cChildren != 0;
}

BOOL CTreeCtrl::SetItem(HTREEITEM hItem, UINT nMask, LPCTSTR lpszItem, int nImage,
                        int nSelectedImage, UINT nState, UINT nStateMask, LPARAM lParam) {
    TVITEMA item = {};
    item.hItem = hItem;
    item.mask = nMask | TVIF_HANDLE;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    // TVM_GETITEM cuts the text silently; the buffer doubles while it comes
    // back full.
    CString strText;
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    for (int nSize = 256; nSize <= 0x100000; nSize *= 2) {
        item.pszText = strText.GetBuffer(nSize);
        item.cchTextMax = nSize;
        item.pszText[0] = '\0';
        BOOL bOk = GetItem(&item);
        // The control may point pszText at its own storage.
        if (bOk && item.pszText != strText.GetString()) {
            CString strOwn(item.pszText);
            strText.ReleaseBuffer(0);
            return strOwn;
        }
        strText.ReleaseBuffer(bOk ? -1 : 0);
        if (!bOk || strText.GetLength() < nSize - 1)
            break;
    }
    return strText;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
    return SetItem(hItem, TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    item.hItem = hItem;
    if (!GetItem(&item))
        return FALSE;
    nImage = item.iImage;
    nSelectedImage = item.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
    return SetItem(hItem, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, nImage, nSelectedImage, 0, 0,
                   0);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
    return SetItem(hItem, TVIF_STATE, nullptr, 0, 0, nState, nStateMask, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    return SetItem(hItem, TVIF_PARAM, nullptr, 0, 0, 0, 0, (LPARAM)dwData);
}

BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
    return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
    return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
    if (lpRect == nullptr)
        return FALSE;
    // TVM_GETITEMRECT reads the item handle from the rectangle's first bytes.
    *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
    return (BOOL)::SendMessage(m_hWnd, TVM_GETITEMRECT, (WPARAM)bTextOnly, (LPARAM)lpRect);
}

HTREEITEM CTreeCtrl::HitTest(POINT pt, UINT* pFlags) const {
    TVHITTESTINFO info = {};
    info.pt = pt;
    HTREEITEM hItem = HitTest(&info);
    if (pFlags != nullptr)
        *pFlags = info.flags;
    return hItem;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
    return AfxTypedWnd<CEdit>((HWND)::SendMessage(m_hWnd, TVM_EDITLABELA, 0, (LPARAM)hItem));
}

CEdit* CTreeCtrl::GetEditControl() const {
    return AfxTypedWnd<CEdit>((HWND)::SendMessage(m_hWnd, TVM_GETEDITCONTROL, 0, 0));
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
    HIMAGELIST hList = (HIMAGELIST)::SendMessage(m_hWnd, TVM_CREATEDRAGIMAGE, 0, (LPARAM)hItem);
    if (hList == nullptr)
        return nullptr;
    CImageList* pList = new CImageList;
    if (!pList->Attach(hList)) {
        ImageList_Destroy(hList);
        delete pList;
        return nullptr;
    }
    return pList;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageList) {
    HIMAGELIST hList = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessage(m_hWnd, TVM_SETIMAGELIST, (WPARAM)nImageList, (LPARAM)hList));
}

CImageList* CTreeCtrl::GetImageList(int nImageList) const {
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessage(m_hWnd, TVM_GETIMAGELIST, (WPARAM)nImageList, 0));
}

CToolTipCtrl* CTreeCtrl::GetToolTips() const {
    return AfxTypedWnd<CToolTipCtrl>((HWND)::SendMessage(m_hWnd, TVM_GETTOOLTIPS, 0, 0));
}
