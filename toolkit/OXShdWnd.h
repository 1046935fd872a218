// OXShdWnd.h: COXShdWnd, the borderless popup that draws the drop shadow of a
// dialog (see OXShadowedWnd.h), with the pixel rules it paints by:
// ShadowPixelDarkness and DarkenColor.
//
// Status:
// - Implemented: the right and bottom strips, 4 pixels wide, painted pixel by
//   pixel from one capture of the screen under the shadow, darkest next to the
//   dialog and fading outwards and at the ends.
// - Differences from a layered-window shadow: the shadow is an opaque window
//   that copies what lay under it when it was last erased. Its interior, which
//   the dialog covers, is never painted. Before capturing, only this thread's
//   own windows are brought up to date on the screen, each once.
// - The screen capture also reads the shadow's own earlier output wherever the
//   shadow already lies (under Wine the window's old pixels move and stay with
//   it). A captured pixel that is exactly what the shadow last painted at that
//   place in its window stands for what lay under it then, so erasing again
//   does not darken the strips further. Over a backdrop that is not uniform a
//   moved shadow can therefore show what lay under its previous place.
// - Where a strip comes to lie on a place the dialog covered a moment before
//   (the dialog moved up or left, or shrank), the capture still holds the
//   dialog's old pixels, which the windows beneath could not repaint under the
//   shadow; the strip then shows them darkened.
#pragma once

#include "Dc.h"
#include "Wnd.h"

#include <windows.h>

#include <vector>

// Width of the shadow strips, and the offset of the shadow window from the
// dialog's window rectangle in both directions.
enum { OX_SHADOW_SIZE = 4 };

// How dark one pixel of a shadow window of cx by cy pixels is painted: -1 for
// a pixel the shadow never paints (it lies under the dialog), 0 for one copied
// unchanged from the screen, otherwise the k of DarkenColor.
int ShadowPixelDarkness(int x, int y, int cx, int cy);

// The position of pixel (x, y) in a list of the strip pixels of a cx by cy
// shadow (the right strip column by column, then the bottom strip row by
// row), or -1 for a pixel outside the strips.
int ShadowStripIndex(int x, int y, int cx, int cy);

// Each of red, green and blue becomes MulDiv(c, 255 - k, 255); the fourth byte
// of the result is 0.
COLORREF DarkenColor(int k, COLORREF color);

class COXShdWnd : public CWnd {
public:
    COXShdWnd();
    // The shadow window, when it still exists, is destroyed by CWnd's
    // destructor after the object has been unbound from it.
    ~COXShdWnd() override;

    // The dialog that casts this shadow; borrowed, it owns this object.
    void SetShadowedWnd(CWnd* pWnd) { m_pShadowedWnd = pWnd; }
    CWnd* GetShadowedWnd() const { return m_pShadowedWnd; }

    // Paints the strips of a shadow whose window lies at rect (screen
    // coordinates) into pDC, in the shadow's own coordinates, from a capture of
    // the screen under rect.
    void PaintShadow(CDC* pDC, const RECT& rect);

protected:
    void PostNcDestroy() override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()

private:
    // Lets this thread's windows under the shadow paint what they have pending.
    void UpdateWindowsBelow();
    static BOOL CALLBACK UpdateIfBelow(HWND hWnd, LPARAM lParam);

    CWnd* m_pShadowedWnd = nullptr; // borrowed; null until the dialog sets it
    // The last paint, by strip pixel (ShadowStripIndex for m_sizeLast): what
    // lay under each pixel and what was painted there.
    CSize m_sizeLast;
    std::vector<COLORREF> m_lastUnder;
    std::vector<COLORREF> m_lastPainted;
};
