// SlicedImageList.cpp: image lists cut from one bitmap.
#include "SlicedImageList.h"

#include "framework/Gdi.h"
#include "framework/WinApp.h"

namespace {

const COLORREF kTransparent = RGB(255, 0, 255);

// A 32-bit top-down copy of the slice of hSource that starts at x.
HBITMAP CopySlice(HDC hdcScreen, HBITMAP hSource, int x, int cx, int cy) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hSlice = ::CreateDIBSection(hdcScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hSlice == nullptr)
        return nullptr;
    HDC hdcSource = ::CreateCompatibleDC(hdcScreen);
    HDC hdcSlice = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOldSource = ::SelectObject(hdcSource, hSource);
    HGDIOBJ hOldSlice = ::SelectObject(hdcSlice, hSlice);
    ::BitBlt(hdcSlice, 0, 0, cx, cy, hdcSource, x, 0, SRCCOPY);
    ::SelectObject(hdcSlice, hOldSlice);
    ::SelectObject(hdcSource, hOldSource);
    ::DeleteDC(hdcSlice);
    ::DeleteDC(hdcSource);
    return hSlice;
}

} // namespace

BOOL CreateSlicedImageList(CImageList& imageList, UINT nIDBitmap, int cx, int cy, int count) {
    if (imageList.GetSafeHandle() != nullptr)
        imageList.DeleteImageList();
    if (!imageList.Create(cx, cy, ILC_COLOR32 | ILC_MASK, count, count))
        return FALSE;
    HBITMAP hSource =
        static_cast<HBITMAP>(::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDBitmap),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hSource == nullptr)
        return FALSE;
    BITMAP info = {};
    ::GetObject(hSource, sizeof(info), &info);
    HDC hdcScreen = ::GetDC(nullptr);
    BOOL bAll = TRUE;
    for (int i = 0; i < count; ++i) {
        HBITMAP hSlice = CopySlice(hdcScreen, hSource, i * cx, cx, info.bmHeight);
        if (hSlice == nullptr) {
            bAll = FALSE;
            break;
        }
        CBitmap slice;
        slice.Attach(hSlice);
        if (imageList.Add(&slice, kTransparent) < 0)
            bAll = FALSE;
    }
    ::ReleaseDC(nullptr, hdcScreen);
    ::DeleteObject(hSource);
    return bAll;
}
