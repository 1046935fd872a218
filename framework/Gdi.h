// Gdi.h: the GDI object wrappers CGdiObject, CPen, CBrush, CFont, CBitmap, CRgn
// and CPalette, and their non-owning views CGdiHandleView<T> (CGdiObjectHandle,
// CPenHandle, CBrushHandle, CFontHandle, CBitmapHandle, CRgnHandle,
// CPaletteHandle).
//
// Ownership shows in the type:
// - A wrapper (CPen, CBrush, ...) owns the handle that a Create or Load call made
//   or that Attach gave it, and deletes it in its destructor. It is entered in
//   the thread's permanent map, so FromHandle finds it. Create refuses to run on
//   a wrapper that already holds a handle; Attach refuses a handle that another
//   wrapper already owns (stock objects and system-colour brushes excepted: the
//   platform never deletes them).
// - A view (CPenHandle, ...) borrows a handle and never deletes it. FromHandle
//   answers the owning wrapper when there is one, else a temporary view that
//   lives until the thread's next AfxDeleteTempGdiObjects (HandleMap.h).
// The constructors that create an object (CPen(style, width, colour), CBrush
// (colour), ...) throw CResourceException when the platform refuses.
#pragma once

#include "HandleMap.h"
#include "Object.h"

#include <windows.h>

// <windowsx.h> defines CopyRgn as a function-like macro, which would hide
// CRgn::CopyRgn in every file that includes both.
#ifdef CopyRgn
#undef CopyRgn
#endif

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    // Deletes the owned handle (a view forgets it first).
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // The wrapper that owns h, else a temporary view of the kind of object h is;
    // null for a null handle or one that is no GDI object.
    static CGdiObject* PASCAL FromHandle(HGDIOBJ h);
    // Frees this thread's temporary GDI views (see AfxDeleteTempGdiObjects).
    static void PASCAL DeleteTempMap();

    // Takes ownership of h. FALSE when this wrapper holds a handle already, h is
    // null, not of this wrapper's kind, or owned by another wrapper.
    BOOL Attach(HGDIOBJ h);
    // Gives the handle up without deleting it; null when there was none.
    HGDIOBJ Detach();
    // Deletes the handle now; FALSE when there is none or the platform refuses.
    BOOL DeleteObject();

    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    BOOL UnrealizeObject();

protected:
    // Whether a handle of the platform object type nType suits this wrapper.
    virtual bool AcceptsObjectType(DWORD nType) const { return nType != 0; }
    // Clears m_hObject and the permanent entry that names this wrapper, without
    // deleting the handle.
    void ForgetHandle();
    // Attach for the Create and Load calls: a null handle (the platform refused)
    // is FALSE.
    BOOL AttachNew(HGDIOBJ h);
    // Create and Load may run only on an empty wrapper.
    bool CanCreate() const;

    // FromHandle of a typed wrapper: the owner when it is a T, else a temporary
    // view of type T; null for a null handle or one of another kind.
    template <class T> static T* FromHandleAs(HGDIOBJ h);
};

// A borrowed GDI handle seen through the wrapper T: never deleted by the view.
// Assigning a handle to it does not enter any map.
template <class T> class CGdiHandleView final : public T {
public:
    explicit CGdiHandleView(HGDIOBJ h = nullptr) { this->m_hObject = h; }
    ~CGdiHandleView() override { this->ForgetHandle(); }
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor); // throws CResourceException

    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* PASCAL FromHandle(HPEN hPen);

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen);
    int GetLogPen(LOGPEN* pLogPen) const;

protected:
    bool AcceptsObjectType(DWORD nType) const override;
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);       // solid; throws CResourceException
    CBrush(int nIndex, COLORREF crColor);    // hatched; throws CResourceException
    explicit CBrush(const CBitmap* pBitmap); // pattern; throws CResourceException

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* PASCAL FromHandle(HBRUSH hBrush);

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreatePatternBrush(const CBitmap* pBitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    // The system's own brush of a system colour; deleting it is harmless.
    BOOL CreateSysColorBrush(int nIndex);
    int GetLogBrush(LOGBRUSH* pLogBrush) const;

protected:
    bool AcceptsObjectType(DWORD nType) const override { return nType == OBJ_BRUSH; }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* PASCAL FromHandle(HFONT hFont);

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                    LPCTSTR lpszFacename);
    // nPointSize in tenths of a point, measured on pDC (the screen when null).
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // As CreateFontIndirect with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;

protected:
    bool AcceptsObjectType(DWORD nType) const override { return nType == OBJ_FONT; }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);

    // From the framework's resource handle (AfxGetResourceHandle).
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const;

protected:
    bool AcceptsObjectType(DWORD nType) const override { return nType == OBJ_BITMAP; }
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* PASCAL FromHandle(HRGN hRgn);

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);

    // The region's content becomes pRgn1 combined with pRgn2 (RGN_AND, RGN_OR,
    // RGN_XOR, RGN_DIFF; RGN_COPY ignores pRgn2). This region must exist already.
    // The region kind (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);
    int CopyRgn(const CRgn* pRgnSrc);
    BOOL EqualRgn(const CRgn* pRgn) const;
    int OffsetRgn(int x, int y);
    int OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }
    int GetRgnBox(LPRECT lpRect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(LPCRECT lpRect) const;
    BOOL SetRectRgn(int x1, int y1, int x2, int y2);
    BOOL SetRectRgn(LPCRECT lpRect);

protected:
    bool AcceptsObjectType(DWORD nType) const override { return nType == OBJ_REGION; }
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
    static CPalette* PASCAL FromHandle(HPALETTE hPalette);

    BOOL CreatePalette(LPLOGPALETTE lpLogPalette);
    int GetEntryCount() const;

protected:
    bool AcceptsObjectType(DWORD nType) const override { return nType == OBJ_PAL; }
};

using CGdiObjectHandle = CGdiHandleView<CGdiObject>;
using CPenHandle = CGdiHandleView<CPen>;
using CBrushHandle = CGdiHandleView<CBrush>;
using CFontHandle = CGdiHandleView<CFont>;
using CBitmapHandle = CGdiHandleView<CBitmap>;
using CRgnHandle = CGdiHandleView<CRgn>;
using CPaletteHandle = CGdiHandleView<CPalette>;
