// Geometry.h: CSize, CPoint and CRect, the framework's wrappers of the Win32
// SIZE, POINT and RECT records. Each derives from its record, adds no data, and
// can be passed wherever the record (or a pointer to it) is expected. Default
// construction gives zeros.
//
// Rectangles follow the Win32 rules: the right and bottom edges are outside the
// rectangle (PtInRect), a rectangle whose width or height is not positive is empty,
// and IntersectRect, UnionRect and SubtractRect behave as the user32 functions of
// those names.
#pragma once

#include <windows.h>

class CPoint;
class CRect;

class CSize : public SIZE {
public:
    CSize() noexcept { cx = cy = 0; }
    CSize(int initCX, int initCY) noexcept { cx = initCX, cy = initCY; }
    CSize(SIZE initSize) noexcept { cx = initSize.cx, cy = initSize.cy; }
    CSize(POINT initPt) noexcept { cx = initPt.x, cy = initPt.y; }
    // cx from the low word, cy from the high word, each signed.
    explicit CSize(DWORD dwSize) noexcept {
        cx = static_cast<short>(LOWORD(dwSize));
        cy = static_cast<short>(HIWORD(dwSize));
    }

    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const noexcept { return !(*this == size); }
    void operator+=(SIZE size) noexcept { cx += size.cx, cy += size.cy; }
    void operator-=(SIZE size) noexcept { cx -= size.cx, cy -= size.cy; }
    void SetSize(int CX, int CY) noexcept { cx = CX, cy = CY; }

    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
    CPoint operator+(POINT point) const noexcept;
    CPoint operator-(POINT point) const noexcept;
    CRect operator+(const RECT* lpRect) const noexcept;
    CRect operator-(const RECT* lpRect) const noexcept;
};

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int initX, int initY) noexcept { x = initX, y = initY; }
    CPoint(POINT initPt) noexcept { x = initPt.x, y = initPt.y; }
    CPoint(SIZE initSize) noexcept { x = initSize.cx, y = initSize.cy; }
    // x from the low word, y from the high word, each signed (as in mouse messages).
    explicit CPoint(LPARAM dwPoint) noexcept {
        x = static_cast<short>(LOWORD(dwPoint));
        y = static_cast<short>(HIWORD(dwPoint));
    }

    void Offset(int xOffset, int yOffset) noexcept { x += xOffset, y += yOffset; }
    void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    void Offset(SIZE size) noexcept { Offset(size.cx, size.cy); }
    void SetPoint(int X, int Y) noexcept { x = X, y = Y; }

    bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    bool operator!=(POINT point) const noexcept { return !(*this == point); }
    void operator+=(SIZE size) noexcept { Offset(size); }
    void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
    void operator+=(POINT point) noexcept { Offset(point); }
    void operator-=(POINT point) noexcept { Offset(-point.x, -point.y); }

    CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
    CPoint operator+(POINT point) const noexcept { return CPoint(x + point.x, y + point.y); }
    CSize operator-(POINT point) const noexcept { return CSize(x - point.x, y - point.y); }
    CRect operator+(const RECT* lpRect) const noexcept;
    CRect operator-(const RECT* lpRect) const noexcept;
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l, top = t, right = r, bottom = b; }
    CRect(const RECT& srcRect) noexcept { CopyRect(&srcRect); }
    CRect(LPCRECT lpSrcRect) noexcept { CopyRect(lpSrcRect); }
    CRect(POINT point, SIZE size) noexcept {
        left = point.x, top = point.y, right = point.x + size.cx, bottom = point.y + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept {
        left = topLeft.x, top = topLeft.y, right = bottomRight.x, bottom = bottomRight.y;
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    // The corners as points that alias the rectangle's own fields.
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const noexcept { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    void SwapLeftRight() noexcept { SwapLeftRight(this); }
    static void SwapLeftRight(LPRECT lpRect) noexcept {
        LONG t = lpRect->left;
        lpRect->left = lpRect->right;
        lpRect->right = t;
    }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    // Empty: width or height not positive. Null: all four coordinates 0.
    BOOL IsRectEmpty() const noexcept { return left >= right || top >= bottom; }
    BOOL IsRectNull() const noexcept { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    // Inside: left <= x < right and top <= y < bottom.
    BOOL PtInRect(POINT point) const noexcept {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int x1, int y1, int x2, int y2) noexcept {
        left = x1, top = y1, right = x2, bottom = y2;
    }
    void SetRect(POINT topLeft, POINT bottomRight) noexcept {
        SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    void SetRectEmpty() noexcept { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT lpSrcRect) noexcept {
        if (lpSrcRect)
            left = lpSrcRect->left, top = lpSrcRect->top, right = lpSrcRect->right,
            bottom = lpSrcRect->bottom;
        else
            SetRectEmpty();
    }
    BOOL EqualRect(LPCRECT lpRect) const noexcept {
        return lpRect != nullptr && left == lpRect->left && top == lpRect->top &&
               right == lpRect->right && bottom == lpRect->bottom;
    }

    // Inflate moves each edge outwards (left and top decrease); Deflate inwards.
    void InflateRect(int x, int y) noexcept { InflateRect(x, y, x, y); }
    void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
    void InflateRect(LPCRECT lpRect) noexcept {
        InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    void InflateRect(int l, int t, int r, int b) noexcept {
        left -= l, top -= t, right += r, bottom += b;
    }
    void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }
    void DeflateRect(SIZE size) noexcept { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(LPCRECT lpRect) noexcept {
        InflateRect(-lpRect->left, -lpRect->top, -lpRect->right, -lpRect->bottom);
    }
    void DeflateRect(int l, int t, int r, int b) noexcept { InflateRect(-l, -t, -r, -b); }

    void OffsetRect(int x, int y) noexcept { left += x, right += x, top += y, bottom += y; }
    void OffsetRect(POINT point) noexcept { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
    void MoveToX(int x) noexcept { right = Width() + x, left = x; }
    void MoveToY(int y) noexcept { bottom = Height() + y, top = y; }
    void MoveToXY(int x, int y) noexcept { MoveToX(x), MoveToY(y); }
    void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }
    // Swaps left/right and top/bottom where needed so that width and height are >= 0.
    void NormalizeRect() noexcept;

    // The intersection; empty (all 0) and FALSE when there is none.
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept;
    // The smallest rectangle holding both (empty ones ignored); FALSE when empty.
    BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept;
    // lpRectSrc1 less lpRectSrc2 when that leaves a rectangle, else lpRectSrc1;
    // FALSE when the result is empty.
    BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept;

    CRect& operator=(const RECT& srcRect) noexcept {
        CopyRect(&srcRect);
        return *this;
    }
    bool operator==(const RECT& rect) const noexcept { return EqualRect(&rect) != FALSE; }
    bool operator!=(const RECT& rect) const noexcept { return !EqualRect(&rect); }
    void operator+=(POINT point) noexcept { OffsetRect(point); }
    void operator+=(SIZE size) noexcept { OffsetRect(size); }
    void operator+=(LPCRECT lpRect) noexcept { InflateRect(lpRect); }
    void operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); }
    void operator-=(SIZE size) noexcept { OffsetRect(-size.cx, -size.cy); }
    void operator-=(LPCRECT lpRect) noexcept { DeflateRect(lpRect); }
    void operator&=(const RECT& rect) noexcept { IntersectRect(this, &rect); }
    void operator|=(const RECT& rect) noexcept { UnionRect(this, &rect); }

    CRect operator+(POINT point) const noexcept {
        CRect r(*this);
        r.OffsetRect(point);
        return r;
    }
    CRect operator-(POINT point) const noexcept {
        CRect r(*this);
        r.OffsetRect(-point.x, -point.y);
        return r;
    }
    CRect operator+(SIZE size) const noexcept {
        CRect r(*this);
        r.OffsetRect(size);
        return r;
    }
    CRect operator-(SIZE size) const noexcept {
        CRect r(*this);
        r.OffsetRect(-size.cx, -size.cy);
        return r;
    }
    CRect operator+(LPCRECT lpRect) const noexcept {
        CRect r(*this);
        r.InflateRect(lpRect);
        return r;
    }
    CRect operator-(LPCRECT lpRect) const noexcept {
        CRect r(*this);
        r.DeflateRect(lpRect);
        return r;
    }
    // Beside the LPCRECT form so that `rect - &raw` is not taken for a pointer difference.
    CRect operator-(RECT* lpRect) const noexcept { return *this - static_cast<LPCRECT>(lpRect); }
    CRect operator&(const RECT& rect2) const noexcept {
        CRect r;
        r.IntersectRect(this, &rect2);
        return r;
    }
    CRect operator|(const RECT& rect2) const noexcept {
        CRect r;
        r.UnionRect(this, &rect2);
        return r;
    }
    // Each coordinate scaled by nMultiplier / nDivisor, rounded (Win32 MulDiv).
    CRect MulDiv(int nMultiplier, int nDivisor) const noexcept;
};

inline CPoint CSize::operator+(POINT point) const noexcept {
    return CPoint(cx + point.x, cy + point.y);
}
inline CPoint CSize::operator-(POINT point) const noexcept {
    return CPoint(cx - point.x, cy - point.y);
}
inline CRect CSize::operator+(const RECT* lpRect) const noexcept {
    return CRect(lpRect) + *this;
}
inline CRect CSize::operator-(const RECT* lpRect) const noexcept {
    return CRect(lpRect) - *this;
}
inline CRect CPoint::operator+(const RECT* lpRect) const noexcept {
    return CRect(lpRect) + *this;
}
inline CRect CPoint::operator-(const RECT* lpRect) const noexcept {
    return CRect(lpRect) - *this;
}
