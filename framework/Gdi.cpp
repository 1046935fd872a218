// Gdi.cpp: the GDI object wrappers and their handle map.
#include "Gdi.h"

#include "AfxResource.h"
#include "Dc.h"
#include "Exception.h"

#include <cstdlib>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {

using CGdiMap = CHandleMap<CGdiObject, HGDIOBJ>;

// A view of the wrapper class that matches the kind of h; null when h is no GDI
// object. Extended pens are pens to the wrappers.
std::unique_ptr<CGdiObject> MakeView(HGDIOBJ h) {
    switch (::GetObjectType(h)) {
    case 0:
        return nullptr;
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return std::make_unique<CPenHandle>(h);
    case OBJ_BRUSH:
        return std::make_unique<CBrushHandle>(h);
    case OBJ_FONT:
        return std::make_unique<CFontHandle>(h);
    case OBJ_BITMAP:
        return std::make_unique<CBitmapHandle>(h);
    case OBJ_REGION:
        return std::make_unique<CRgnHandle>(h);
    case OBJ_PAL:
        return std::make_unique<CPaletteHandle>(h);
    default:
        return std::make_unique<CGdiObjectHandle>(h);
    }
}

// Stock objects and system-colour brushes are never really deleted, so any
// number of wrappers may hold one.
bool IsUndeletable(HGDIOBJ h) {
    for (int i = WHITE_BRUSH; i <= DC_PEN; ++i)
        if (::GetStockObject(i) == h)
            return true;
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i)
        if (::GetSysColorBrush(i) == h)
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// CGdiObject

CGdiObject::~CGdiObject() {
    DeleteObject();
}

template <class T> T* CGdiObject::FromHandleAs(HGDIOBJ h) {
    if (h == nullptr)
        return nullptr;
    CGdiMap* pMap = CGdiMap::ForThisThread();
    if (pMap != nullptr) {
        if (T* pOwner = dynamic_cast<T*>(pMap->LookupPermanent(h)))
            return pOwner;
        CGdiObject* pTemporary = pMap->LookupTemporary(h);
        // A temporary of another kind means the handle value was recycled.
        if (pTemporary != nullptr && pTemporary->m_hObject == h)
            if (T* p = dynamic_cast<T*>(pTemporary))
                return p;
    }
    std::unique_ptr<CGdiObject> pView = MakeView(h);
    T* p = dynamic_cast<T*>(pView.get());
    // Without a map (the thread is ending) a temporary would have no owner.
    if (p == nullptr || pMap == nullptr)
        return nullptr;
    pMap->AddTemporary(h, std::move(pView));
    return p;
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ h) {
    return FromHandleAs<CGdiObject>(h);
}

void PASCAL CGdiObject::DeleteTempMap() {
    if (CGdiMap* pMap = CGdiMap::ForThisThread())
        pMap->DeleteTemporaries();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
    ASSERT(m_hObject == nullptr);
    if (m_hObject != nullptr || h == nullptr || !AcceptsObjectType(::GetObjectType(h)))
        return FALSE;
    if (CGdiMap* pMap = CGdiMap::ForThisThread()) {
        // Two owners would delete the handle twice.
        CGdiObject* pOwner = pMap->LookupPermanent(h);
        if (pOwner != nullptr && pOwner != this && !IsUndeletable(h))
            return FALSE;
        pMap->SetPermanent(h, this);
    }
    m_hObject = h;
    return TRUE;
}

BOOL CGdiObject::AttachNew(HGDIOBJ h) {
    if (h == nullptr)
        return FALSE;
    if (!Attach(h)) {
        // A fresh handle that cannot be kept must not leak.
        ::DeleteObject(h);
        return FALSE;
    }
    return TRUE;
}

bool CGdiObject::CanCreate() const {
    ASSERT(m_hObject == nullptr);
    return m_hObject == nullptr;
}

void CGdiObject::ForgetHandle() {
    if (m_hObject == nullptr)
        return;
    if (CGdiMap* pMap = CGdiMap::ForThisThread())
        pMap->RemovePermanent(m_hObject, this);
    m_hObject = nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    ForgetHandle();
    return h;
}

BOOL CGdiObject::DeleteObject() {
    HGDIOBJ h = Detach();
    return h != nullptr && ::DeleteObject(h);
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    if (m_hObject == nullptr || lpObject == nullptr)
        return 0;
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const {
    return m_hObject == nullptr ? 0 : ::GetObjectType(m_hObject);
}

BOOL CGdiObject::UnrealizeObject() {
    return m_hObject != nullptr && ::UnrealizeObject(m_hObject);
}

// ---------------------------------------------------------------------------
// CPen

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}

CPen* PASCAL CPen::FromHandle(HPEN hPen) {
    return FromHandleAs<CPen>(hPen);
}

bool CPen::AcceptsObjectType(DWORD nType) const {
    return nType == OBJ_PEN || nType == OBJ_EXTPEN;
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return CanCreate() && AttachNew(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) {
    return lpLogPen != nullptr && CanCreate() && AttachNew(::CreatePenIndirect(lpLogPen));
}

int CPen::GetLogPen(LOGPEN* pLogPen) const {
    return GetObject(sizeof(LOGPEN), pLogPen);
}

// ---------------------------------------------------------------------------
// CBrush

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
    if (!CreateHatchBrush(nIndex, crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(const CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap))
        AfxThrowResourceException();
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush) {
    return FromHandleAs<CBrush>(hBrush);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return CanCreate() && AttachNew(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
    return CanCreate() && AttachNew(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreatePatternBrush(const CBitmap* pBitmap) {
    if (pBitmap == nullptr || pBitmap->m_hObject == nullptr || !CanCreate())
        return FALSE;
    return AttachNew(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return lpLogBrush != nullptr && CanCreate() && AttachNew(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) {
    return CanCreate() && AttachNew(::GetSysColorBrush(nIndex));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const {
    return GetObject(sizeof(LOGBRUSH), pLogBrush);
}

// ---------------------------------------------------------------------------
// CFont

CFont* PASCAL CFont::FromHandle(HFONT hFont) {
    return FromHandleAs<CFont>(hFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return lpLogFont != nullptr && CanCreate() && AttachNew(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCTSTR lpszFacename) {
    if (!CanCreate())
        return FALSE;
    return AttachNew(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                  bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                  nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT logFont;
    std::memset(&logFont, 0, sizeof(logFont));
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName != nullptr)
        lstrcpyn(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (lpLogFont == nullptr || !CanCreate())
        return FALSE;
    HDC hDC = pDC != nullptr ? pDC->m_hAttribDC : ::GetDC(nullptr);
    if (hDC == nullptr)
        return FALSE;
    // Tenths of a point to device pixels (720 per inch), then to the logical units
    // of the context's mapping mode; negative asks for that character height.
    POINT pt[2] = {{0, 0},
                   {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lpLogFont->lfHeight, 720)}};
    ::DPtoLP(hDC, pt, 2);
    if (pDC == nullptr)
        ::ReleaseDC(nullptr, hDC);
    LOGFONT logFont = *lpLogFont;
    logFont.lfHeight = -std::abs(pt[1].y - pt[0].y);
    return AttachNew(::CreateFontIndirect(&logFont));
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return GetObject(sizeof(LOGFONT), pLogFont);
}

// ---------------------------------------------------------------------------
// CBitmap

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) {
    return FromHandleAs<CBitmap>(hBitmap);
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    if (lpszResourceName == nullptr || !CanCreate())
        return FALSE;
    return AttachNew(::LoadBitmap(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return LoadBitmap(MAKEINTRESOURCE(nIDResource));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) {
    return CanCreate() && AttachNew(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
    return lpBitmap != nullptr && CanCreate() && AttachNew(::CreateBitmapIndirect(lpBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (pDC == nullptr || pDC->m_hDC == nullptr || !CanCreate())
        return FALSE;
    return AttachNew(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return GetObject(sizeof(BITMAP), pBitMap);
}

// ---------------------------------------------------------------------------
// CRgn

CRgn* PASCAL CRgn::FromHandle(HRGN hRgn) {
    return FromHandleAs<CRgn>(hRgn);
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return CanCreate() && AttachNew(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
    return lpRect != nullptr && CanCreate() && AttachNew(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return CanCreate() && AttachNew(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
    return CanCreate() && AttachNew(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
    if (lpPoints == nullptr || nCount < 3 || !CanCreate())
        return FALSE;
    return AttachNew(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) {
    if (m_hObject == nullptr || pRgn1 == nullptr || pRgn1->m_hObject == nullptr)
        return ERROR;
    HRGN hRgn2 = pRgn2 != nullptr ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr;
    if (hRgn2 == nullptr && nCombineMode != RGN_COPY)
        return ERROR;
    return ::CombineRgn(*this, *pRgn1, hRgn2, nCombineMode);
}

int CRgn::CopyRgn(const CRgn* pRgnSrc) {
    return CombineRgn(pRgnSrc, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(const CRgn* pRgn) const {
    if (m_hObject == nullptr || pRgn == nullptr || pRgn->m_hObject == nullptr)
        return FALSE;
    return ::EqualRgn(*this, *pRgn);
}

int CRgn::OffsetRgn(int x, int y) {
    return m_hObject == nullptr ? ERROR : ::OffsetRgn(*this, x, y);
}

int CRgn::GetRgnBox(LPRECT lpRect) const {
    if (m_hObject == nullptr || lpRect == nullptr)
        return ERROR;
    return ::GetRgnBox(*this, lpRect);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    return m_hObject != nullptr && ::PtInRegion(*this, x, y);
}

BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
    return m_hObject != nullptr && lpRect != nullptr && ::RectInRegion(*this, lpRect);
}

BOOL CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
    return m_hObject != nullptr && ::SetRectRgn(*this, x1, y1, x2, y2);
}

BOOL CRgn::SetRectRgn(LPCRECT lpRect) {
    return lpRect != nullptr &&
           SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

// ---------------------------------------------------------------------------
// CPalette

CPalette* PASCAL CPalette::FromHandle(HPALETTE hPalette) {
    return FromHandleAs<CPalette>(hPalette);
}

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) {
    return lpLogPalette != nullptr && CanCreate() && AttachNew(::CreatePalette(lpLogPalette));
}

int CPalette::GetEntryCount() const {
    WORD nEntries = 0;
    return GetObject(sizeof(nEntries), &nEntries) != 0 ? nEntries : 0;
}
