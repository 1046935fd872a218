#include "HeaderCtrl.h"

#include "ImageList.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CHeaderCtrl::~CHeaderCtrl() = default;

CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
    HIMAGELIST hList = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessage(m_hWnd, HDM_SETIMAGELIST, 0, (LPARAM)hList));
}

CImageList* CHeaderCtrl::GetImageList() const {
    return CImageList::FromHandle((HIMAGELIST)::SendMessage(m_hWnd, HDM_GETIMAGELIST, 0, 0));
}
