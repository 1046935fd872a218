// Canvas.h: CCanvas, a memory device context over a 32-bit bitmap that drawing
// tests paint into and read back pixel by pixel.
#pragma once

#include "framework/Dc.h"
#include "framework/Gdi.h"

// A top-down 32-bit section of w by h pixels; the caller owns it.
HBITMAP MakeDib(int w, int h);

class CCanvas {
public:
    // w by h pixels, filled with one colour.
    CCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255));
    ~CCanvas() { Release(); }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    // Takes the bitmap out of the context, so that it can be handed on (an image
    // list refuses a bitmap that a context still holds).
    void Release();
    // Pixels of one colour inside the rectangle, or outside it.
    int Count(COLORREF color, const RECT& inside, bool bInside = true);

    CDC dc;
    CBitmap bitmap;

private:
    int m_w, m_h;
    CBitmap* m_pOld; // the context's own bitmap while ours is selected
};

// Copies the screen's pixels of rect into the canvas's top-left corner.
void CaptureScreen(CCanvas& canvas, const RECT& rect);
// Keeps the screen's pixels of rect as an opaque PNG file at pszPath, a test
// artefact to look at; false when the file cannot be written.
bool SaveScreenPng(const RECT& rect, const char* pszPath);
