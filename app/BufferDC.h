// BufferDC.h: CBufferDC, a paint device context that draws into a memory
// bitmap of the window's client size and copies it to the window in one block
// when it goes, so that a picture painted in many steps does not flicker.
//
// Use it in place of CPaintDC in a WM_PAINT handler, for one paint. While it
// lives, both its output and its attribute handle are the memory context, so
// every drawing, text and visibility operation of CDC works on the buffer;
// the buffer starts uninitialised, so the painter fills it whole. Without a
// memory context or bitmap (out of GDI resources) it draws straight on the
// window like a CPaintDC.
#pragma once

#include "framework/Dc.h"
#include "framework/Wnd.h"

class CBufferDC : public CPaintDC {
public:
    explicit CBufferDC(CWnd* pWnd);
    // Copies the buffer to the window, frees it and ends the paint.
    ~CBufferDC() override;

    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    BOOL IsBuffered() const { return m_hMemoryDC != nullptr; }

private:
    HDC m_hOutputDC = nullptr; // the paint context, while the buffer stands in for it
    HDC m_hAttributeDC = nullptr;
    HDC m_hMemoryDC = nullptr;
    HBITMAP m_hPaintBitmap = nullptr;
    HBITMAP m_hOldBitmap = nullptr;
    RECT m_rcClient = {};
};
