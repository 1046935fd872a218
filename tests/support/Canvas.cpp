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

void CaptureScreen(CCanvas& canvas, const RECT& rect) {
    HDC hScreen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, hScreen, rect.left,
             rect.top, SRCCOPY);
    ::ReleaseDC(nullptr, hScreen);
}

bool SaveScreenBitmap(const RECT& rect, const char* pszPath) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    CCanvas canvas(w, h);
    CaptureScreen(canvas, rect);
    canvas.Release();
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = -h;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD nBits = static_cast<DWORD>(w * h * 4);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + nBits;
    DIBSECTION section = {};
    if (::GetObjectA(canvas.bitmap, sizeof section, &section) != sizeof section)
        return false;
    HANDLE hFile = ::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD nWritten = 0;
    const bool bWritten = ::WriteFile(hFile, &file, sizeof file, &nWritten, nullptr) &&
                          ::WriteFile(hFile, &info, sizeof info, &nWritten, nullptr) &&
                          ::WriteFile(hFile, section.dsBm.bmBits, nBits, &nWritten, nullptr) &&
                          nWritten == nBits;
    ::CloseHandle(hFile);
    return bWritten;
}
