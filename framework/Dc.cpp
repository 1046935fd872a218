// Dc.cpp: the device-context wrappers and the scoped selection.
#include "Dc.h"

#include "Exception.h"
#include "HandleMap.h"
#include "Wnd.h"

#include <algorithm>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

using CDCMap = CHandleMap<CDC, HDC>;

bool IsDeviceContext(HDC hDC) {
    switch (::GetObjectType(hDC)) {
    case OBJ_DC:
    case OBJ_MEMDC:
    case OBJ_METADC:
    case OBJ_ENHMETADC:
        return true;
    default:
        return false;
    }
}

// Runs apply on the attribute context (when it is a different one) and then on
// the output context; the answer of the output context, or of the attribute
// context when there is no output context, else failure.
template <class R, class F> R ToBoth(HDC hOutput, HDC hAttrib, R failure, F apply) {
    R result = failure;
    if (hAttrib != nullptr && hAttrib != hOutput)
        result = apply(hAttrib);
    if (hOutput != nullptr)
        result = apply(hOutput);
    return result;
}

// Text length for the calls that take a count; a negative count means "up to the
// terminating zero".
int TextLength(LPCTSTR lpszString, int nCount) {
    if (lpszString == nullptr)
        return 0;
    return nCount < 0 ? lstrlen(lpszString) : nCount;
}

HBRUSH BrushOf(const CBrush* pBrush) {
    return pBrush != nullptr ? static_cast<HBRUSH>(pBrush->m_hObject) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Handles and ownership

CDC::~CDC() {
    DeleteDC();
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
    if (hDC == nullptr || !IsDeviceContext(hDC))
        return nullptr;
    CDCMap* pMap = CDCMap::ForThisThread();
    if (pMap == nullptr)
        return nullptr;
    if (CDC* pOwner = pMap->LookupPermanent(hDC))
        return pOwner;
    CDC* pTemporary = pMap->LookupTemporary(hDC);
    if (pTemporary != nullptr && pTemporary->m_hDC == hDC)
        return pTemporary;
    return pMap->AddTemporary(hDC, std::make_unique<CDCHandle>(hDC));
}

void PASCAL CDC::DeleteTempMap() {
    if (CDCMap* pMap = CDCMap::ForThisThread())
        pMap->DeleteTemporaries();
}

BOOL CDC::Attach(HDC hDC) {
    ASSERT(m_hDC == nullptr);
    if (m_hDC != nullptr || hDC == nullptr || !IsDeviceContext(hDC))
        return FALSE;
    if (CDCMap* pMap = CDCMap::ForThisThread()) {
        // Two owners would delete the context twice. A window of class style
        // CS_OWNDC hands the same context to every GetDC, but the wrappers of
        // window contexts give it back rather than delete it.
        CDC* pOwner = pMap->LookupPermanent(hDC);
        if (pOwner != nullptr && pOwner != this &&
            !(pOwner->GivesContextBack() && GivesContextBack()))
            return FALSE;
        pMap->SetPermanent(hDC, this);
    }
    m_hDC = hDC;
    m_hAttribDC = hDC;
    return TRUE;
}

void CDC::ForgetHandle() {
    if (m_hDC != nullptr)
        if (CDCMap* pMap = CDCMap::ForThisThread())
            pMap->RemovePermanent(m_hDC, this);
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    ForgetHandle();
    return hDC;
}

BOOL CDC::DeleteDC() {
    HDC hDC = Detach();
    return hDC != nullptr && ::DeleteDC(hDC);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    ASSERT(m_hDC == nullptr);
    if (m_hDC != nullptr || (pDC != nullptr && pDC->m_hDC == nullptr))
        return FALSE;
    HDC hDC = ::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr);
    if (hDC == nullptr)
        return FALSE;
    if (!Attach(hDC)) {
        ::DeleteDC(hDC);
        return FALSE;
    }
    return TRUE;
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData) {
    ASSERT(m_hDC == nullptr);
    if (m_hDC != nullptr)
        return FALSE;
    HDC hDC = ::CreateDC(lpszDriverName, lpszDeviceName, lpszOutput,
                         static_cast<const DEVMODE*>(lpInitData));
    if (hDC == nullptr)
        return FALSE;
    if (!Attach(hDC)) {
        ::DeleteDC(hDC);
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Selections

HGDIOBJ CDC::SelectIntoBoth(HGDIOBJ hObject) {
    return ToBoth<HGDIOBJ>(m_hDC, m_hAttribDC, nullptr,
                           [hObject](HDC hDC) { return ::SelectObject(hDC, hObject); });
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    if (hObject == nullptr)
        return nullptr;
    switch (::GetObjectType(hObject)) {
    case 0:
    case OBJ_REGION: // a region's answer is a region kind, not a handle
        return nullptr;
    case OBJ_BITMAP: // a bitmap can be in one context only: the output context
        return m_hDC != nullptr ? ::SelectObject(m_hDC, hObject) : nullptr;
    default:
        return SelectIntoBoth(hObject);
    }
}

CPen* CDC::SelectObject(CPen* pPen) {
    return pPen == nullptr ? nullptr
                           : CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    if (pBrush == nullptr)
        return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* pFont) {
    if (pFont == nullptr)
        return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(SelectObject(pFont->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (pBitmap == nullptr)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(pBitmap->m_hObject)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return pObject == nullptr ? nullptr : CGdiObject::FromHandle(SelectObject(pObject->m_hObject));
}

int CDC::SelectObject(CRgn* pRgn) {
    return pRgn == nullptr || pRgn->m_hObject == nullptr ? ERROR : SelectClipRgn(pRgn);
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    HGDIOBJ hObject = ::GetStockObject(nIndex);
    return hObject == nullptr ? nullptr : CGdiObject::FromHandle(SelectObject(hObject));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
    if (m_hDC == nullptr || pPalette == nullptr || pPalette->m_hObject == nullptr)
        return nullptr;
    return CPalette::FromHandle(::SelectPalette(m_hDC, *pPalette, bForceBackground));
}

UINT CDC::RealizePalette() {
    return m_hDC == nullptr ? GDI_ERROR : ::RealizePalette(m_hDC);
}

int CDC::SaveDC() {
    return ToBoth<int>(m_hDC, m_hAttribDC, 0, [](HDC hDC) { return ::SaveDC(hDC); });
}

BOOL CDC::RestoreDC(int nSavedDC) {
    BOOL bAllRestored = m_hDC != nullptr || m_hAttribDC != nullptr;
    ToBoth<int>(m_hDC, m_hAttribDC, 0, [&](HDC hDC) {
        if (!::RestoreDC(hDC, nSavedDC))
            bAllRestored = FALSE;
        return 0;
    });
    return bAllRestored;
}

// ---------------------------------------------------------------------------
// Attributes and mapping

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ToBoth<COLORREF>(m_hDC, m_hAttribDC, CLR_INVALID,
                            [crColor](HDC hDC) { return ::SetTextColor(hDC, crColor); });
}

COLORREF CDC::GetTextColor() const {
    return m_hAttribDC == nullptr ? CLR_INVALID : ::GetTextColor(m_hAttribDC);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ToBoth<COLORREF>(m_hDC, m_hAttribDC, CLR_INVALID,
                            [crColor](HDC hDC) { return ::SetBkColor(hDC, crColor); });
}

COLORREF CDC::GetBkColor() const {
    return m_hAttribDC == nullptr ? CLR_INVALID : ::GetBkColor(m_hAttribDC);
}

int CDC::SetBkMode(int nBkMode) {
    return ToBoth<int>(m_hDC, m_hAttribDC, 0,
                       [nBkMode](HDC hDC) { return ::SetBkMode(hDC, nBkMode); });
}

int CDC::GetBkMode() const {
    return m_hAttribDC == nullptr ? 0 : ::GetBkMode(m_hAttribDC);
}

int CDC::SetStretchBltMode(int nStretchMode) {
    return ToBoth<int>(m_hDC, m_hAttribDC, 0,
                       [nStretchMode](HDC hDC) { return ::SetStretchBltMode(hDC, nStretchMode); });
}

int CDC::GetDeviceCaps(int nIndex) const {
    return m_hAttribDC == nullptr ? 0 : ::GetDeviceCaps(m_hAttribDC, nIndex);
}

int CDC::SetMapMode(int nMapMode) {
    return ToBoth<int>(m_hDC, m_hAttribDC, 0,
                       [nMapMode](HDC hDC) { return ::SetMapMode(hDC, nMapMode); });
}

int CDC::GetMapMode() const {
    return m_hAttribDC == nullptr ? 0 : ::GetMapMode(m_hAttribDC);
}

CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE previous = {0, 0};
    ToBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                 [&](HDC hDC) { return ::SetWindowExtEx(hDC, cx, cy, &previous); });
    return CSize(previous);
}

CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE previous = {0, 0};
    ToBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                 [&](HDC hDC) { return ::SetViewportExtEx(hDC, cx, cy, &previous); });
    return CSize(previous);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT previous = {0, 0};
    ToBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                 [&](HDC hDC) { return ::SetWindowOrgEx(hDC, x, y, &previous); });
    return CPoint(previous);
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT previous = {0, 0};
    ToBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                 [&](HDC hDC) { return ::SetViewportOrgEx(hDC, x, y, &previous); });
    return CPoint(previous);
}

CPoint CDC::GetViewportOrg() const {
    POINT origin = {0, 0};
    if (m_hAttribDC != nullptr)
        ::GetViewportOrgEx(m_hAttribDC, &origin);
    return CPoint(origin);
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const {
    if (m_hAttribDC != nullptr && lpPoints != nullptr && nCount > 0)
        ::LPtoDP(m_hAttribDC, lpPoints, nCount);
}

void CDC::LPtoDP(LPRECT lpRect) const {
    LPtoDP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const {
    if (m_hAttribDC != nullptr && lpPoints != nullptr && nCount > 0)
        ::DPtoLP(m_hAttribDC, lpPoints, nCount);
}

void CDC::DPtoLP(LPRECT lpRect) const {
    DPtoLP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

// ---------------------------------------------------------------------------
// Clipping

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    return ToBoth<int>(m_hDC, m_hAttribDC, ERROR,
                       [=](HDC hDC) { return ::IntersectClipRect(hDC, x1, y1, x2, y2); });
}

int CDC::IntersectClipRect(LPCRECT lpRect) {
    if (lpRect == nullptr)
        return ERROR;
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
    return ToBoth<int>(m_hDC, m_hAttribDC, ERROR,
                       [=](HDC hDC) { return ::ExcludeClipRect(hDC, x1, y1, x2, y2); });
}

int CDC::ExcludeClipRect(LPCRECT lpRect) {
    if (lpRect == nullptr)
        return ERROR;
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::SelectClipRgn(CRgn* pRgn) {
    if (pRgn != nullptr && pRgn->m_hObject == nullptr)
        return ERROR;
    HRGN hRgn = pRgn != nullptr ? static_cast<HRGN>(pRgn->m_hObject) : nullptr;
    return ToBoth<int>(m_hDC, m_hAttribDC, ERROR,
                       [hRgn](HDC hDC) { return ::SelectClipRgn(hDC, hRgn); });
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
    if (pRgn != nullptr && pRgn->m_hObject == nullptr)
        return ERROR;
    HRGN hRgn = pRgn != nullptr ? static_cast<HRGN>(pRgn->m_hObject) : nullptr;
    return ToBoth<int>(m_hDC, m_hAttribDC, ERROR,
                       [=](HDC hDC) { return ::ExtSelectClipRgn(hDC, hRgn, nMode); });
}

int CDC::GetClipBox(LPRECT lpRect) const {
    if (m_hDC == nullptr || lpRect == nullptr)
        return ERROR;
    return ::GetClipBox(m_hDC, lpRect);
}

BOOL CDC::PtVisible(int x, int y) const {
    return m_hDC != nullptr && ::PtVisible(m_hDC, x, y);
}

BOOL CDC::RectVisible(LPCRECT lpRect) const {
    return m_hDC != nullptr && lpRect != nullptr && ::RectVisible(m_hDC, lpRect);
}

// ---------------------------------------------------------------------------
// Lines and shapes

CPoint CDC::MoveTo(int x, int y) {
    POINT previous = {0, 0};
    ToBoth<BOOL>(m_hDC, m_hAttribDC, FALSE,
                 [&](HDC hDC) { return ::MoveToEx(hDC, x, y, &previous); });
    return CPoint(previous);
}

BOOL CDC::LineTo(int x, int y) {
    if (m_hDC == nullptr)
        return FALSE;
    // The attribute context keeps the same current position.
    if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount) {
    return m_hDC != nullptr && lpPoints != nullptr && nCount >= 2 &&
           ::Polyline(m_hDC, lpPoints, nCount);
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount) {
    return m_hDC != nullptr && lpPoints != nullptr && nCount >= 2 &&
           ::Polygon(m_hDC, lpPoints, nCount);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    return m_hDC != nullptr && ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT lpRect) {
    return lpRect != nullptr && Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    return m_hDC != nullptr && ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT lpRect, POINT point) {
    if (lpRect == nullptr)
        return FALSE;
    return RoundRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) {
    return m_hDC != nullptr && ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Ellipse(LPCRECT lpRect) {
    return lpRect != nullptr && Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
    return m_hDC == nullptr ? CLR_INVALID : ::SetPixel(m_hDC, x, y, crColor);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) {
    return m_hDC != nullptr && ::SetPixelV(m_hDC, x, y, crColor);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return m_hDC == nullptr ? CLR_INVALID : ::GetPixel(m_hDC, x, y);
}

// ---------------------------------------------------------------------------
// Rectangles

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    if (m_hDC != nullptr && lpRect != nullptr && BrushOf(pBrush) != nullptr)
        ::FillRect(m_hDC, lpRect, BrushOf(pBrush));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    if (m_hDC != nullptr && lpRect != nullptr && BrushOf(pBrush) != nullptr)
        ::FrameRect(m_hDC, lpRect, BrushOf(pBrush));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
    if (m_hDC == nullptr || lpRect == nullptr)
        return;
    // An opaque empty text fills its rectangle with the background colour, with no
    // brush to make.
    COLORREF crPrevious = ::SetBkColor(m_hDC, crColor);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, crPrevious);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor) {
    // A negative extent reaches left of x or above y.
    RECT rect = {std::min(x, x + cx), std::min(y, y + cy), std::max(x, x + cx),
                 std::max(y, y + cy)};
    FillSolidRect(&rect, crColor);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight) {
    if (lpRect == nullptr)
        return;
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, crTopLeft, crBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF crTopLeft, COLORREF crBottomRight) {
    if (cx <= 0 || cy <= 0)
        return;
    FillSolidRect(x, y, cx - 1, 1, crTopLeft);
    FillSolidRect(x, y, 1, cy - 1, crTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, crBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, crBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
    return m_hDC != nullptr && lpRect != nullptr && ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}

void CDC::DrawFocusRect(LPCRECT lpRect) {
    if (m_hDC != nullptr && lpRect != nullptr)
        ::DrawFocusRect(m_hDC, lpRect);
}

namespace {

// The region covered by a frame of rect, size thick: empty for no rectangle or
// no thickness.
void MakeFrameRgn(CRgn& rgn, LPCRECT lpRect, SIZE size) {
    rgn.CreateRectRgn(0, 0, 0, 0);
    if (lpRect == nullptr || (size.cx <= 0 && size.cy <= 0))
        return;
    CRgn rgnOuter;
    CRgn rgnInner;
    CRect rectInner(lpRect);
    rectInner.DeflateRect(size.cx, size.cy);
    rgnOuter.CreateRectRgnIndirect(lpRect);
    rgnInner.CreateRectRgnIndirect(&rectInner);
    rgn.CombineRgn(&rgnOuter, &rgnInner, RGN_DIFF);
}

// Inverts the pixels of rgn, within the context's own clipping, through
// pBrush's pattern; the context's clipping and brush stay as they were.
void InvertRegion(CDC& dc, CRgn& rgn, CBrush* pBrush) {
    CRect rectBox;
    if (rgn.GetRgnBox(&rectBox) == NULLREGION)
        return;
    int nSaved = dc.SaveDC();
    dc.SelectClipRgn(&rgn, RGN_AND);
    dc.SelectObject(pBrush);
    dc.PatBlt(rectBox.left, rectBox.top, rectBox.Width(), rectBox.Height(), PATINVERT);
    dc.RestoreDC(nSaved);
}

} // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
    if (m_hDC == nullptr)
        return;
    if (pBrush == nullptr)
        pBrush = GetHalftoneBrush();
    if (pBrushLast == nullptr)
        pBrushLast = pBrush;
    CRgn rgnNew;
    CRgn rgnLast;
    MakeFrameRgn(rgnNew, lpRect, size);
    MakeFrameRgn(rgnLast, lpRectLast, sizeLast);
    // Inverting a pixel twice restores it: with one brush only the pixels in
    // exactly one of the two frames need painting.
    if (pBrush->m_hObject == pBrushLast->m_hObject) {
        rgnLast.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
        InvertRegion(*this, rgnLast, pBrush);
    } else {
        InvertRegion(*this, rgnLast, pBrushLast);
        InvertRegion(*this, rgnNew, pBrush);
    }
}

CBrush* PASCAL CDC::GetHalftoneBrush() {
    static CBrush s_brush;
    if (s_brush.m_hObject == nullptr) {
        static const WORD kPattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA,
                                         0x5555, 0xAAAA, 0x5555, 0xAAAA};
        CBitmap bitmap;
        if (bitmap.CreateBitmap(8, 8, 1, 1, kPattern))
            s_brush.CreatePatternBrush(&bitmap);
    }
    return &s_brush;
}

BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) {
    return m_hDC != nullptr && lpRect != nullptr &&
           ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}

// ---------------------------------------------------------------------------
// Block transfers, icons and state drawing

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    if (m_hDC == nullptr)
        return FALSE;
    HDC hSrc = pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr;
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, hSrc, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
    if (m_hDC == nullptr)
        return FALSE;
    HDC hSrc = pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr;
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, hSrc, xSrc, ySrc, nSrcWidth, nSrcHeight,
                        dwRop);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return m_hDC != nullptr && ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return m_hDC != nullptr && hIcon != nullptr && ::DrawIcon(m_hDC, x, y, hIcon);
}

// The low four bits of DrawState's flags name the kind of image; the overload
// decides the kind, so a kind among the caller's flags is replaced.
static const UINT kDrawStateKindMask = 0x000F;

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
    if (m_hDC == nullptr || hIcon == nullptr)
        return FALSE;
    return ::DrawState(m_hDC, BrushOf(pBrush), nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x,
                       pt.y, size.cx, size.cy, (nFlags & ~kDrawStateKindMask) | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, CBrush* pBrush) {
    if (m_hDC == nullptr || hBitmap == nullptr)
        return FALSE;
    return ::DrawState(m_hDC, BrushOf(pBrush), nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x,
                       pt.y, size.cx, size.cy, (nFlags & ~kDrawStateKindMask) | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText,
                    int nTextLen, CBrush* pBrush) {
    if (m_hDC == nullptr || lpszText == nullptr)
        return FALSE;
    UINT nKind = bPrefixText ? DST_PREFIXTEXT : DST_TEXT;
    int nLength = nTextLen > 0 ? nTextLen : lstrlen(lpszText);
    return ::DrawState(m_hDC, BrushOf(pBrush), nullptr, reinterpret_cast<LPARAM>(lpszText),
                       static_cast<WPARAM>(nLength), pt.x, pt.y, size.cx, size.cy,
                       (nFlags & ~kDrawStateKindMask) | nKind);
}

// ---------------------------------------------------------------------------
// Text

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
    if (m_hDC == nullptr || lpszString == nullptr)
        return FALSE;
    return ::TextOut(m_hDC, x, y, lpszString, TextLength(lpszString, nCount));
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return TextOut(x, y, str, str.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
    if (m_hDC == nullptr)
        return FALSE;
    // No text is allowed: the options may only fill or clip the rectangle.
    if (lpszString == nullptr)
        nCount = 0;
    return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str,
                     LPINT lpDxWidths) {
    return ExtTextOut(x, y, nOptions, lpRect, str, static_cast<UINT>(str.GetLength()), lpDxWidths);
}

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                         LPINT lpnTabStopPositions, int nTabOrigin) {
    if (m_hDC == nullptr || lpszString == nullptr)
        return CSize(0, 0);
    LONG extent = ::TabbedTextOut(m_hDC, x, y, lpszString, TextLength(lpszString, nCount),
                                  nTabPositions, lpnTabStopPositions, nTabOrigin);
    return CSize(LOWORD(extent), HIWORD(extent));
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    if (m_hDC == nullptr || lpszString == nullptr || lpRect == nullptr)
        return 0;
    return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(static_cast<LPCTSTR>(str), str.GetLength(), lpRect, nFormat);
}

int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat,
                    LPDRAWTEXTPARAMS lpDTParams) {
    if (m_hDC == nullptr || lpszString == nullptr || lpRect == nullptr)
        return 0;
    return ::DrawTextEx(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

BOOL CDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData,
                     int nCount, int x, int y, int nWidth, int nHeight) {
    if (m_hDC == nullptr)
        return FALSE;
    return ::GrayString(m_hDC, BrushOf(pBrush), lpfnOutput, lpData, nCount, x, y, nWidth, nHeight);
}

int CDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData) {
    return m_hDC == nullptr ? 0 : ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    if (m_hAttribDC != nullptr && lpszString != nullptr)
        ::GetTextExtentPoint32(m_hAttribDC, lpszString, TextLength(lpszString, nCount), &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const {
    return GetTextExtent(str, str.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const {
    return m_hAttribDC != nullptr && lpMetrics != nullptr &&
           ::GetTextMetrics(m_hAttribDC, lpMetrics);
}

// ---------------------------------------------------------------------------
// Printing

int CDC::StartDoc(LPDOCINFO lpDocInfo) {
    return m_hDC == nullptr || lpDocInfo == nullptr ? SP_ERROR : ::StartDoc(m_hDC, lpDocInfo);
}

int CDC::StartDoc(LPCTSTR lpszDocName) {
    DOCINFO docInfo;
    std::memset(&docInfo, 0, sizeof(docInfo));
    docInfo.cbSize = sizeof(docInfo);
    docInfo.lpszDocName = lpszDocName;
    return StartDoc(&docInfo);
}

int CDC::StartPage() {
    return m_hDC == nullptr ? SP_ERROR : ::StartPage(m_hDC);
}
int CDC::EndPage() {
    return m_hDC == nullptr ? SP_ERROR : ::EndPage(m_hDC);
}
int CDC::EndDoc() {
    return m_hDC == nullptr ? SP_ERROR : ::EndDoc(m_hDC);
}
int CDC::AbortDoc() {
    return m_hDC == nullptr ? SP_ERROR : ::AbortDoc(m_hDC);
}

// ---------------------------------------------------------------------------
// Window contexts

namespace {

// The window of pWnd; a wrapper without a window is refused like a failed call.
HWND WindowOf(CWnd* pWnd) {
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    if (pWnd != nullptr && (hWnd == nullptr || !::IsWindow(hWnd)))
        AfxThrowResourceException();
    return hWnd;
}

} // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(WindowOf(pWnd)) {
    std::memset(&m_ps, 0, sizeof(m_ps));
    if (m_hWnd == nullptr)
        AfxThrowResourceException();
    HDC hDC = ::BeginPaint(m_hWnd, &m_ps);
    if (!Attach(hDC)) {
        ::EndPaint(m_hWnd, &m_ps);
        AfxThrowResourceException();
    }
}

CPaintDC::~CPaintDC() {
    // A derived context that drew elsewhere has put the paint context back by now.
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(WindowOf(pWnd)) {
    HDC hDC = ::GetDC(m_hWnd);
    if (!Attach(hDC)) {
        if (hDC != nullptr)
            ::ReleaseDC(m_hWnd, hDC);
        AfxThrowResourceException();
    }
}

CClientDC::~CClientDC() {
    if (HDC hDC = Detach())
        ::ReleaseDC(m_hWnd, hDC);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(WindowOf(pWnd)) {
    HDC hDC = ::GetWindowDC(m_hWnd);
    if (!Attach(hDC)) {
        if (hDC != nullptr)
            ::ReleaseDC(m_hWnd, hDC);
        AfxThrowResourceException();
    }
}

CWindowDC::~CWindowDC() {
    if (HDC hDC = Detach())
        ::ReleaseDC(m_hWnd, hDC);
}

// ---------------------------------------------------------------------------
// CScopedSelect

CScopedSelect::CScopedSelect(CDC& dc, CGdiObject* pObject)
    : CScopedSelect(dc, pObject != nullptr ? pObject->m_hObject : nullptr) {}

CScopedSelect::CScopedSelect(CDC& dc, HGDIOBJ hObject) : m_dc(dc), m_hPrevious(nullptr) {
    m_hPrevious = m_dc.SelectObject(hObject);
}

CScopedSelect::~CScopedSelect() {
    if (m_hPrevious != nullptr)
        m_dc.SelectObject(m_hPrevious);
}
