// ImageList.h: CImageList, the common-controls image-list wrapper, and its
// non-owning view CImageListHandle.
//
// Ownership:
// - CImageList owns the list that Create or Attach gave it and destroys it
//   (ImageList_Destroy) in its destructor. It is entered in the thread's
//   permanent map, so FromHandle and FromHandlePermanent find it.
// - CImageListHandle borrows a list (a control's list, the shell's system list)
//   and never destroys it. FromHandle answers the owning wrapper when there is
//   one, else a temporary view that lives until the thread's next
//   AfxDeleteTempGdiObjects (HandleMap.h).
//
// The image drag (BeginDrag, DragEnter, DragMove, DragShowNolock, DragLeave,
// EndDrag) is one per thread, as in the platform: the static calls act on the
// drag that BeginDrag started.
#pragma once

#include "Geometry.h"
#include "Object.h"

#include <commctrl.h>
#include <windows.h>

class CArchive;
class CBitmap;
class CDC;
class CWnd;

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    // Destroys an owned list (a view forgets it first).
    ~CImageList() override;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // The wrapper that owns hImageList, else a temporary view; null for a null
    // handle.
    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    // The wrapper that owns hImageList on this thread, else null.
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    // Frees this thread's temporary image-list views.
    static void PASCAL DeleteTempMap();

    // Takes ownership of hImageList. FALSE when this wrapper holds a list already,
    // hImageList is null, or another wrapper owns it.
    BOOL Attach(HIMAGELIST hImageList);
    // Gives the list up without destroying it.
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    // A list of cx by cy images (ILC_ flags: colour depth, ILC_MASK), room for
    // nInitial images, growing by nGrow.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A copy of another list with all its images.
    BOOL Create(CImageList* pImageList);

    int GetImageCount() const;
    BOOL SetImageCount(UINT nNewCount);
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;

    // The index of the (first) new image, -1 on failure. A bitmap as wide as
    // several images adds them all. With a colour mask, the pixels of that
    // colour become transparent (and black in the bitmap itself).
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    // The index of the replaced image (-1 appends), -1 on failure.
    int Replace(int nImage, HICON hIcon);
    // nImage -1 removes every image. Every call that names an image refuses an
    // index without one.
    BOOL Remove(int nImage);
    // A new icon of the image, which the caller destroys; null on failure.
    HICON ExtractIcon(int nImage);

    // nStyle: ILD_NORMAL, ILD_TRANSPARENT, ILD_MASK, ILD_BLEND25/50, ...
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    // Draws with a filled-in record; its list becomes this list.
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp);

    // The common controls' image-list stream, through an archive. Read makes the
    // list (FALSE on a wrapper that holds one already, a storing archive or bad
    // data); Write needs a storing archive.
    BOOL Read(CArchive* pArchive);
    BOOL Write(CArchive* pArchive);

    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    // pWndLock null locks the desktop window; points are in its window coordinates.
    static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL PASCAL DragMove(CPoint pt);
    static BOOL PASCAL DragShowNolock(BOOL bShow);
    static BOOL PASCAL DragLeave(CWnd* pWndLock);
    static void PASCAL EndDrag();

protected:
    // Clears m_hImageList and the permanent entry that names this wrapper.
    void ForgetHandle();
};

// A borrowed image list: never destroyed by the view.
class CImageListHandle final : public CImageList {
public:
    explicit CImageListHandle(HIMAGELIST hImageList = nullptr) { m_hImageList = hImageList; }
    ~CImageListHandle() override { ForgetHandle(); }
};
