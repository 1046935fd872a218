// Geometry.cpp: the rectangle operations of CRect that are more than one line.
#include "Geometry.h"

#include <algorithm>

void CRect::NormalizeRect() noexcept {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

namespace {
bool Empty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}
} // namespace

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    if (lpRect1 == nullptr || lpRect2 == nullptr) {
        SetRectEmpty();
        return FALSE;
    }
    RECT a = *lpRect1, b = *lpRect2; // either may be this rectangle
    RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (Empty(a) || Empty(b) || Empty(r)) {
        SetRectEmpty();
        return FALSE;
    }
    CopyRect(&r);
    return TRUE;
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept {
    if (lpRect1 == nullptr || lpRect2 == nullptr) {
        SetRectEmpty();
        return FALSE;
    }
    RECT a = *lpRect1, b = *lpRect2;
    if (Empty(a)) {
        if (Empty(b)) {
            SetRectEmpty();
            return FALSE;
        }
        CopyRect(&b);
        return TRUE;
    }
    if (Empty(b)) {
        CopyRect(&a);
        return TRUE;
    }
    RECT r = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
    CopyRect(&r);
    return TRUE;
}

BOOL CRect::SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) noexcept {
    if (lpRectSrc1 == nullptr) {
        SetRectEmpty();
        return FALSE;
    }
    RECT r = *lpRectSrc1;
    if (Empty(r)) {
        SetRectEmpty();
        return FALSE;
    }
    if (lpRectSrc2 != nullptr) {
        CRect cut;
        if (cut.IntersectRect(&r, lpRectSrc2)) {
            if (cut.EqualRect(&r)) {
                SetRectEmpty();
                return FALSE;
            }
            // Only a cut across the full width or height shortens the rectangle.
            if (cut.top == r.top && cut.bottom == r.bottom) {
                if (cut.left == r.left)
                    r.left = cut.right;
                else if (cut.right == r.right)
                    r.right = cut.left;
            } else if (cut.left == r.left && cut.right == r.right) {
                if (cut.top == r.top)
                    r.top = cut.bottom;
                else if (cut.bottom == r.bottom)
                    r.bottom = cut.top;
            }
        }
    }
    CopyRect(&r);
    return TRUE;
}

CRect CRect::MulDiv(int nMultiplier, int nDivisor) const noexcept {
    return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                 ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
}
