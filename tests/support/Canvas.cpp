#include "Canvas.h"

HBITMAP MakeDib(int w, int h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
}

CCanvas::CCanvas(int w, int h, COLORREF fill) : m_w(w), m_h(h) {
    bitmap.Attach(MakeDib(w, h));
    dc.CreateCompatibleDC(nullptr);
    m_pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, w, h, fill);
}

void CCanvas::Release() {
    if (m_pOld != nullptr)
        dc.SelectObject(m_pOld);
    m_pOld = nullptr;
}

int CCanvas::Count(COLORREF color, const RECT& inside, bool bInside) {
    int n = 0;
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            POINT pt = {x, y};
            if (!!::PtInRect(&inside, pt) == bInside && dc.GetPixel(x, y) == color)
                ++n;
        }
    return n;
}
