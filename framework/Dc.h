// Dc.h: the device-context wrappers CDC, CPaintDC, CClientDC and CWindowDC, the
// non-owning view CDCHandle, and CScopedSelect, which selects a GDI object for
// one scope.
//
// Ownership:
// - CDC owns the context that CreateCompatibleDC, CreateDC or Attach gave it and
//   deletes it (DeleteDC) in its destructor.
// - CPaintDC, CClientDC and CWindowDC get their context from a window in the
//   constructor and give it back (EndPaint, ReleaseDC) in the destructor; the
//   constructor throws CResourceException when there is no context to get.
// - CDCHandle borrows a context and never deletes it; FromHandle answers the
//   wrapper that owns the context, else a temporary CDCHandle that lives until
//   the thread's next AfxDeleteTempGdiObjects (HandleMap.h).
//
// m_hDC is the output context (drawing), m_hAttribDC the attribute context
// (queries: text extents and metrics, device capabilities, coordinate
// conversions); both are the same context unless a derived class sets them
// apart. Setters (colours, modes, mapping, clipping, selections except bitmaps)
// go to both. The text operations, PtVisible, RectVisible, GrayString, Escape and
// RestoreDC are virtual so that a double-buffering context can redirect them.
#pragma once

#include "AfxString.h"
#include "Gdi.h"
#include "Geometry.h"
#include "Object.h"

#include <windows.h>

class CWnd;

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    // Deletes an owned context (a view forgets it first).
    ~CDC() override;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // The wrapper that owns hDC, else a temporary view; null for a null handle or
    // one that is no device context.
    static CDC* PASCAL FromHandle(HDC hDC);
    // Frees this thread's temporary views of device contexts.
    static void PASCAL DeleteTempMap();

    // Takes ownership of hDC as both output and attribute context. FALSE when this
    // wrapper holds a context already, hDC is no device context, or another
    // wrapper owns it (the window-context wrappers of one CS_OWNDC window share
    // its one context).
    BOOL Attach(HDC hDC);
    // Gives the context up without deleting it.
    HDC Detach();
    BOOL DeleteDC();
    // A memory context compatible with pDC, or with the screen when pDC is null.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                  const void* lpInitData);

    // Selections answer the previously selected object (its owning wrapper or a
    // temporary view), null when the selection failed or the argument was empty.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    // Makes the region the clipping region: SIMPLEREGION, COMPLEXREGION,
    // NULLREGION or ERROR.
    int SelectObject(CRgn* pRgn);
    // The previous handle, null on failure; regions go through SelectClipRgn.
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    CGdiObject* SelectStockObject(int nIndex);
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    UINT RealizePalette();

    int SaveDC();
    virtual BOOL RestoreDC(int nSavedDC);

    // Attributes.
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    int SetStretchBltMode(int nStretchMode);
    int GetDeviceCaps(int nIndex) const;

    // Mapping.
    int SetMapMode(int nMapMode);
    int GetMapMode() const;
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const;
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
    void LPtoDP(LPRECT lpRect) const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
    void DPtoLP(LPRECT lpRect) const;

    // Clipping.
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT lpRect);
    // A null region removes the clipping region.
    int SelectClipRgn(CRgn* pRgn);
    int SelectClipRgn(CRgn* pRgn, int nMode);
    int GetClipBox(LPRECT lpRect) const;
    virtual BOOL PtVisible(int x, int y) const;
    BOOL PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
    virtual BOOL RectVisible(LPCRECT lpRect) const;

    // Lines and shapes, with the selected pen and brush.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Polyline(const POINT* lpPoints, int nCount);
    BOOL Polygon(const POINT* lpPoints, int nCount);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL RoundRect(LPCRECT lpRect, POINT point);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT lpRect);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor);
    BOOL SetPixelV(POINT point, COLORREF crColor) { return SetPixelV(point.x, point.y, crColor); }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }

    // Rectangles.
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    // Fill with a colour; the background colour is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF crColor);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
    // One-pixel frame: top and left edges in crTopLeft, right and bottom edges
    // (with the top-right and bottom-left corners) in crBottomRight.
    void Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF crTopLeft, COLORREF crBottomRight);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    void DrawFocusRect(LPCRECT lpRect);
    // Rubber-band frame drawn by inversion: the frame of lpRect, size thick
    // (0 thick: none), replaces the frame of lpRectLast, sizeLast thick, that
    // an earlier call drew (null: none), repainting only what differs, so the
    // same call with the old rectangle as the new one's last moves it without
    // flicker and a 0-thick call erases it. Drawing stays inside the context's
    // clipping, which it leaves as it was. A null pBrush means the halftone
    // brush, a null pBrushLast the same brush as pBrush.
    void DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                      CBrush* pBrush = nullptr, CBrush* pBrushLast = nullptr);
    // The 50% grey checker brush of drag frames, shared by the process.
    static CBrush* PASCAL GetHalftoneBrush();
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState);

    // Block transfers; pSrcDC may be null only for raster operations without a
    // source.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);

    // Icons and state drawing.
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, CBrush* pBrush = nullptr);
    // bPrefixText draws "&x" as an underlined x; nTextLen 0 takes the whole text.
    BOOL DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE,
                   int nTextLen = 0, CBrush* pBrush = nullptr);

    // Text. nCount -1 takes the text up to its terminating zero.
    virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str);
    virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString,
                            UINT nCount, LPINT lpDxWidths);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str,
                    LPINT lpDxWidths);
    virtual CSize TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                                LPINT lpnTabStopPositions, int nTabOrigin);
    virtual int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    virtual int DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat,
                           LPDRAWTEXTPARAMS lpDTParams);
    virtual BOOL GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int),
                            LPARAM lpData, int nCount, int x, int y, int nWidth, int nHeight);
    virtual int Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData);
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;

    // Printing.
    int StartDoc(LPDOCINFO lpDocInfo);
    int StartDoc(LPCTSTR lpszDocName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();

protected:
    // True for the wrappers of window contexts, which give their context back to
    // the window instead of deleting it.
    virtual bool GivesContextBack() const { return false; }
    // Clears both handles and the permanent entry that names this wrapper.
    void ForgetHandle();
    // Selects into the output context, and into the attribute context when it
    // differs; the previous object of the output context.
    HGDIOBJ SelectIntoBoth(HGDIOBJ hObject);
};

// A borrowed device context: never deleted by the view.
class CDCHandle final : public CDC {
public:
    explicit CDCHandle(HDC hDC = nullptr) {
        m_hDC = hDC;
        m_hAttribDC = hDC;
    }
    ~CDCHandle() override { ForgetHandle(); }
};

// The context of a WM_PAINT: BeginPaint in the constructor, EndPaint in the
// destructor. Throws CResourceException when pWnd is null or has no window.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    bool GivesContextBack() const override { return true; }

    HWND m_hWnd;
};

// The client-area context of a window (the screen for a null window):
// GetDC in the constructor, ReleaseDC in the destructor.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    bool GivesContextBack() const override { return true; }

    HWND m_hWnd;
};

// The whole-window context (non-client area included; the screen for a null
// window): GetWindowDC in the constructor, ReleaseDC in the destructor.
class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    bool GivesContextBack() const override { return true; }

    HWND m_hWnd;
};

// Selects a GDI object into a context for one scope and puts the previous one
// back when the scope ends. Regions are not selectable this way (use
// SelectClipRgn).
class CScopedSelect {
public:
    CScopedSelect(CDC& dc, CGdiObject* pObject);
    CScopedSelect(CDC& dc, HGDIOBJ hObject);
    ~CScopedSelect();
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;

    // False when the selection failed (nothing will be restored).
    bool IsSelected() const { return m_hPrevious != nullptr; }

private:
    CDC& m_dc;           // borrowed; must outlive the scope
    HGDIOBJ m_hPrevious; // what the context held before; not owned
};
