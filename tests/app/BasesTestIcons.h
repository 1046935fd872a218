// BasesTestIcons.h: icons of known colours for the image-button tests and
// the control gallery, and the colour a drawn icon leaves at a point.
#pragma once

#include <windows.h>

// An opaque square icon of nSize pixels: its left half crLeft, its right half
// crRight (black, RGB(0, 0, 0), is a colour the automatic copies keep). The
// caller destroys it (or hands it to a button, which does).
inline HICON MakeTestIcon(int nSize, COLORREF crLeft, COLORREF crRight) {
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, nSize, nSize);
    HBITMAP hMask = ::CreateBitmap(nSize, nSize, 1, 1, nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hColor);
    RECT rectLeft = {0, 0, nSize / 2, nSize};
    RECT rectRight = {nSize / 2, 0, nSize, nSize};
    HBRUSH hLeft = ::CreateSolidBrush(crLeft);
    HBRUSH hRight = ::CreateSolidBrush(crRight);
    ::FillRect(hDC, &rectLeft, hLeft);
    ::FillRect(hDC, &rectRight, hRight);
    ::DeleteObject(hLeft);
    ::DeleteObject(hRight);
    ::SelectObject(hDC, hMask);
    ::PatBlt(hDC, 0, 0, nSize, nSize, BLACKNESS); // all opaque
    ::SelectObject(hDC, hOld);
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    return hIcon;
}

// The colour at (x, y) of hIcon drawn at its size on white.
inline COLORREF IconPixel(HICON hIcon, int nSize, int x, int y) {
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, nSize, nSize);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::PatBlt(hDC, 0, 0, nSize, nSize, WHITENESS);
    ::DrawIconEx(hDC, 0, 0, hIcon, nSize, nSize, 0, nullptr, DI_NORMAL);
    const COLORREF crPixel = ::GetPixel(hDC, x, y);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    return crPixel;
}
