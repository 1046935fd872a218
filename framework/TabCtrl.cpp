#include "TabCtrl.h"

#include "ImageList.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CTabCtrl::~CTabCtrl() = default;

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(nItem, &item);
}

CSize CTabCtrl::SetItemSize(CSize size) {
    DWORD dwOld = (DWORD)::SendMessage(m_hWnd, TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
    return CSize(LOWORD(dwOld), HIWORD(dwOld));
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
    HIMAGELIST hList = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessage(m_hWnd, TCM_SETIMAGELIST, 0, (LPARAM)hList));
}

CImageList* CTabCtrl::GetImageList() const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, TCM_GETIMAGELIST, 0, 0));
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {
    // An owner-drawn tab control whose class paints nothing: a programming error.
    ASSERT(FALSE);
}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult != nullptr)
        *pResult = TRUE;
    return TRUE;
}
