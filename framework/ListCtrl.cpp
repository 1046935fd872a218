#include "ListCtrl.h"

#include "Edit.h"
#include "ImageList.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CListCtrl::~CListCtrl() = default;

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(WC_LISTVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID) {
    if (!Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    // The list-view's own extended styles (LVS_EX_*), not the window's.
    SetExtendedStyle(dwExStyle);
    return TRUE;
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask,
                          int nImage, LPARAM lParam) {
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage,
                        UINT nState, UINT nStateMask, LPARAM lParam) {
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    item.lParam = lParam;
    return SetItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // LVM_GETITEMTEXT answers the bytes copied; a full buffer may mean the text
    // was cut, so the buffer doubles until the text fits.
    CString strText;
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    for (int nSize = 256; nSize <= 0x100000; nSize *= 2) {
        item.cchTextMax = nSize;
        item.pszText = strText.GetBuffer(nSize);
        int nCopied = (int)::SendMessage(m_hWnd, LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
        strText.ReleaseBuffer(std::max(0, std::min(nCopied, nSize - 1)));
        if (nCopied < nSize - 1)
            break;
    }
    return strText;
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
    if (lpszText == nullptr || nLen <= 0)
        return 0;
    // Read whole, then cut here: Wine's list view writes its terminating NUL
    // one byte past a buffer that the text fills.
    CString strText = GetItemText(nItem, nSubItem);
    lstrcpynA(lpszText, strText, nLen);
    return std::min(strText.GetLength(), nLen - 1);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)dwData;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return SetItemState(nItem, &item);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    int nFirst = GetNextItem(-1, LVNI_SELECTED);
    return nFirst < 0 ? nullptr : reinterpret_cast<POSITION>((INT_PTR)nFirst + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    if (pos == nullptr)
        return -1;
    int nItem = (int)(reinterpret_cast<INT_PTR>(pos) - 1);
    int nNext = GetNextItem(nItem, LVNI_SELECTED);
    pos = nNext < 0 ? nullptr : reinterpret_cast<POSITION>((INT_PTR)nNext + 1);
    return nItem;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth,
                            int nSubItem) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = nFormat;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

int CListCtrl::GetColumnCount() const {
    HWND hHeader = (HWND)::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0);
    return hHeader == nullptr ? 0 : (int)::SendMessage(hHeader, HDM_GETITEMCOUNT, 0, 0);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    return AfxTypedWnd<CHeaderCtrl>((HWND)::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    HIMAGELIST hOld =
        (HIMAGELIST)::SendMessage(m_hWnd, LVM_SETIMAGELIST, (WPARAM)nImageListType,
                                  (LPARAM)(pImageList ? pImageList->m_hImageList : nullptr));
    return CImageList::FromHandle(hOld);
}

CImageList* CListCtrl::GetImageList(int nImageListType) const {
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessage(m_hWnd, LVM_GETIMAGELIST, (WPARAM)nImageListType, 0));
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
    if (lpRect == nullptr)
        return FALSE;
    lpRect->left = (LONG)nCode; // LVM_GETITEMRECT reads the part to measure from here
    return (BOOL)::SendMessage(m_hWnd, LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, RECT& ref) const {
    ref.top = iSubItem; // LVM_GETSUBITEMRECT reads the sub-item and the part from here
    ref.left = nArea;
    return (BOOL)::SendMessage(m_hWnd, LVM_GETSUBITEMRECT, (WPARAM)iItem, (LPARAM)&ref);
}

int CListCtrl::HitTest(POINT pt, UINT* pFlags) const {
    LVHITTESTINFO info = {};
    info.pt = pt;
    int nItem = HitTest(&info);
    if (pFlags != nullptr)
        *pFlags = info.flags;
    return nItem;
}

CEdit* CListCtrl::EditLabel(int nItem) {
    return AfxTypedWnd<CEdit>((HWND)::SendMessage(m_hWnd, LVM_EDITLABELA, (WPARAM)nItem, 0));
}

CEdit* CListCtrl::GetEditControl() const {
    return AfxTypedWnd<CEdit>((HWND)::SendMessage(m_hWnd, LVM_GETEDITCONTROL, 0, 0));
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint) {
    HIMAGELIST hList =
        (HIMAGELIST)::SendMessage(m_hWnd, LVM_CREATEDRAGIMAGE, (WPARAM)nItem, (LPARAM)lpPoint);
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
