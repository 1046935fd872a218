// ImageList.cpp: the image-list wrapper and its handle map.
#include "ImageList.h"

#include "Archive.h"
#include "Dc.h"
#include "Gdi.h"
#include "HandleMap.h"
#include "Wnd.h"

#include <memory>

IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {

using CImageListMap = CHandleMap<CImageList, HIMAGELIST>;

// The common controls check a list handle themselves (a stale or foreign one is
// refused without harm); the icon size is the cheapest question to ask.
bool IsImageList(HIMAGELIST hImageList) {
    int cx = 0;
    int cy = 0;
    return hImageList != nullptr && ImageList_GetIconSize(hImageList, &cx, &cy);
}

// The common controls accept any index below the list's capacity, even where no
// image is stored yet; the wrapper takes only the images that exist.
bool HasImage(HIMAGELIST hImageList, int nImage) {
    return nImage >= 0 && nImage < ImageList_GetImageCount(hImageList);
}

HBITMAP BitmapOf(const CBitmap* pBitmap) {
    return pBitmap != nullptr ? static_cast<HBITMAP>(pBitmap->m_hObject) : nullptr;
}

HWND WindowOf(CWnd* pWnd) {
    return pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Handles and ownership

CImageList::~CImageList() {
    DeleteImageList();
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList) {
    if (!IsImageList(hImageList))
        return nullptr;
    CImageListMap* pMap = CImageListMap::ForThisThread();
    if (pMap == nullptr)
        return nullptr;
    if (CImageList* pOwner = pMap->LookupPermanent(hImageList))
        return pOwner;
    CImageList* pTemporary = pMap->LookupTemporary(hImageList);
    if (pTemporary != nullptr && pTemporary->m_hImageList == hImageList)
        return pTemporary;
    return pMap->AddTemporary(hImageList, std::make_unique<CImageListHandle>(hImageList));
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList) {
    if (hImageList == nullptr)
        return nullptr;
    CImageListMap* pMap = CImageListMap::ForThisThread();
    return pMap == nullptr ? nullptr : pMap->LookupPermanent(hImageList);
}

void PASCAL CImageList::DeleteTempMap() {
    if (CImageListMap* pMap = CImageListMap::ForThisThread())
        pMap->DeleteTemporaries();
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    ASSERT(m_hImageList == nullptr);
    if (m_hImageList != nullptr || !IsImageList(hImageList))
        return FALSE;
    if (CImageListMap* pMap = CImageListMap::ForThisThread()) {
        // Two owners would destroy the list twice.
        CImageList* pOwner = pMap->LookupPermanent(hImageList);
        if (pOwner != nullptr && pOwner != this)
            return FALSE;
        pMap->SetPermanent(hImageList, this);
    }
    m_hImageList = hImageList;
    return TRUE;
}

void CImageList::ForgetHandle() {
    if (m_hImageList != nullptr)
        if (CImageListMap* pMap = CImageListMap::ForThisThread())
            pMap->RemovePermanent(m_hImageList, this);
    m_hImageList = nullptr;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST hImageList = m_hImageList;
    ForgetHandle();
    return hImageList;
}

BOOL CImageList::DeleteImageList() {
    HIMAGELIST hImageList = Detach();
    return hImageList != nullptr && ImageList_Destroy(hImageList);
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    ASSERT(m_hImageList == nullptr);
    if (m_hImageList != nullptr || cx <= 0 || cy <= 0 || nInitial < 0 || nGrow < 0)
        return FALSE;
    HIMAGELIST hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    if (hImageList == nullptr)
        return FALSE;
    if (!Attach(hImageList)) {
        ImageList_Destroy(hImageList);
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::Create(CImageList* pImageList) {
    ASSERT(m_hImageList == nullptr);
    if (m_hImageList != nullptr || pImageList == nullptr || pImageList->m_hImageList == nullptr)
        return FALSE;
    HIMAGELIST hImageList = ImageList_Duplicate(pImageList->m_hImageList);
    if (hImageList == nullptr)
        return FALSE;
    if (!Attach(hImageList)) {
        ImageList_Destroy(hImageList);
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Images

int CImageList::GetImageCount() const {
    return m_hImageList == nullptr ? 0 : ImageList_GetImageCount(m_hImageList);
}

BOOL CImageList::SetImageCount(UINT nNewCount) {
    return m_hImageList != nullptr && ImageList_SetImageCount(m_hImageList, nNewCount);
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
    if (m_hImageList == nullptr || pImageInfo == nullptr)
        return FALSE;
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

COLORREF CImageList::SetBkColor(COLORREF cr) {
    return m_hImageList == nullptr ? CLR_NONE : ImageList_SetBkColor(m_hImageList, cr);
}

COLORREF CImageList::GetBkColor() const {
    return m_hImageList == nullptr ? CLR_NONE : ImageList_GetBkColor(m_hImageList);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    if (m_hImageList == nullptr || BitmapOf(pbmImage) == nullptr)
        return -1;
    return ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    if (m_hImageList == nullptr || BitmapOf(pbmImage) == nullptr)
        return -1;
    return ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}

int CImageList::Add(HICON hIcon) {
    if (m_hImageList == nullptr || hIcon == nullptr)
        return -1;
    return ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
    if (m_hImageList == nullptr || BitmapOf(pbmImage) == nullptr || !HasImage(m_hImageList, nImage))
        return FALSE;
    return ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Replace(int nImage, HICON hIcon) {
    // -1 appends.
    if (m_hImageList == nullptr || hIcon == nullptr ||
        (nImage != -1 && !HasImage(m_hImageList, nImage)))
        return -1;
    return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}

BOOL CImageList::Remove(int nImage) {
    if (m_hImageList == nullptr || (nImage != -1 && !HasImage(m_hImageList, nImage)))
        return FALSE;
    return ImageList_Remove(m_hImageList, nImage);
}

HICON CImageList::ExtractIcon(int nImage) {
    if (m_hImageList == nullptr || !HasImage(m_hImageList, nImage))
        return nullptr;
    return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}

BOOL CImageList::Read(CArchive* pArchive) {
    ASSERT(m_hImageList == nullptr);
    if (m_hImageList != nullptr || pArchive == nullptr || !pArchive->IsLoading())
        return FALSE;
    CArchiveStream stream(pArchive);
    HIMAGELIST hImageList = ImageList_Read(&stream);
    if (hImageList == nullptr)
        return FALSE;
    if (!Attach(hImageList)) {
        ImageList_Destroy(hImageList);
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::Write(CArchive* pArchive) {
    if (m_hImageList == nullptr || pArchive == nullptr || !pArchive->IsStoring())
        return FALSE;
    CArchiveStream stream(pArchive);
    return ImageList_Write(m_hImageList, &stream);
}

// ---------------------------------------------------------------------------
// Drawing and dragging

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    if (m_hImageList == nullptr || pDC == nullptr || pDC->m_hDC == nullptr ||
        !HasImage(m_hImageList, nImage))
        return FALSE;
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) {
    if (m_hImageList == nullptr || pimldp == nullptr || !HasImage(m_hImageList, pimldp->i))
        return FALSE;
    if (pimldp->cbSize == 0)
        pimldp->cbSize = sizeof(IMAGELISTDRAWPARAMS);
    pimldp->himl = m_hImageList;
    return ImageList_DrawIndirect(pimldp);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot) {
    if (m_hImageList == nullptr || !HasImage(m_hImageList, nImage))
        return FALSE;
    return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

BOOL PASCAL CImageList::DragEnter(CWnd* pWndLock, CPoint point) {
    return ImageList_DragEnter(WindowOf(pWndLock), point.x, point.y);
}

BOOL PASCAL CImageList::DragMove(CPoint pt) {
    return ImageList_DragMove(pt.x, pt.y);
}

BOOL PASCAL CImageList::DragShowNolock(BOOL bShow) {
    return ImageList_DragShowNolock(bShow);
}

BOOL PASCAL CImageList::DragLeave(CWnd* pWndLock) {
    return ImageList_DragLeave(WindowOf(pWndLock));
}

void PASCAL CImageList::EndDrag() {
    ImageList_EndDrag();
}
