// OXTabSkin.h: the element skins of skinned tab controls and the MDI tabs:
//   COXTabSkin         the interface: the whole painting of a tab control and
//                      of its scroll arrows, the border of a tab window, the
//                      MDI client's non-client area, and how far the MDI
//                      client may grow over the tab control's frame;
//   COXTabSkinClassic  leaves the painting to the system controls (only the
//                      item texts of vertical tabs are drawn again under a
//                      visual theme on Windows XP);
//   COXTabSkinXP       paints everything itself, double-buffered, in flat
//                      colours;
//   COXTabSkin2003     the XP painting with gradients instead of flat fills.
//
// A tab skin keeps no state per control: every paint reads the control again
// (its style, items, rectangles, image list and, for a COXSkinnedTabCtrl, its
// scroll arrows). The operations that pass the current message on to the
// control's own procedure (Default) expect to be called from that message's
// handler: DrawTabControl from WM_PAINT, DrawSpinControl from the arrows'
// WM_PAINT, DrawMDIClientNonClient from the MDI client's WM_NCPAINT.
//
// Files: OXTabSkin.cpp (Classic), OXTabSkinXP.cpp (XP and 2003).
#pragma once

#include "OXSkins.h"

#include "framework/Gdi.h"

#include <commctrl.h>

class CSpinButtonCtrl;
class CTabCtrl;
class CWnd;

class COXTabSkin {
public:
    COXTabSkin() = default;
    virtual ~COXTabSkin() = default;
    COXTabSkin(const COXTabSkin&) = delete;
    COXTabSkin& operator=(const COXTabSkin&) = delete;

    // The paint message of the tab control; makes its own paint context.
    virtual void DrawTabControl(CTabCtrl* pTabCtrl) = 0;
    // The paint message of the tab control's scroll arrows.
    virtual void DrawSpinControl(CSpinButtonCtrl* pSpin) = 0;
    // The border of a tab window's non-client area over rect (window
    // coordinates of pDC).
    virtual void DrawBorder(CDC* pDC, const CRect& rect, CWnd* pWnd) = 0;
    // The non-client paint message of the MDI client under the MDI tabs.
    virtual void DrawMDIClientNonClient(CWnd* pMDIClient) = 0;
    // Widens rect by nAmount on the sides where pTabCtrl's display area lies
    // close to its edge, so that the window placed over it hides the frame.
    virtual void AdjustClientRect(CRect& rect, int nAmount, CTabCtrl* pTabCtrl) = 0;

protected:
    // The menu font of the non-client metrics; FALSE when the system gives none.
    static BOOL GetMenuFont(LOGFONTA* pLogFont);
};

// System painting; on Windows XP with a visual theme the texts of vertical
// tabs are drawn again, rotated.
class COXTabSkinClassic : public COXTabSkin {
public:
    void DrawTabControl(CTabCtrl* pTabCtrl) override;
    void DrawSpinControl(CSpinButtonCtrl* pSpin) override;
    void DrawBorder(CDC* pDC, const CRect& rect, CWnd* pWnd) override;
    void DrawMDIClientNonClient(CWnd* pMDIClient) override;
    void AdjustClientRect(CRect& rect, int nAmount, CTabCtrl* pTabCtrl) override;
};

// The flat Office XP look in the colours of its skin.
class COXTabSkinXP : public COXTabSkin {
public:
    // Makes the pens, brush and font from the skin's colours as they are now.
    explicit COXTabSkinXP(COXSkinXP* pSkin);

    void DrawTabControl(CTabCtrl* pTabCtrl) override;
    void DrawSpinControl(CSpinButtonCtrl* pSpin) override;
    void DrawBorder(CDC* pDC, const CRect& rect, CWnd* pWnd) override;
    void DrawMDIClientNonClient(CWnd* pMDIClient) override;
    void AdjustClientRect(CRect& rect, int nAmount, CTabCtrl* pTabCtrl) override;

    // One item into lpdis->hDC: its face, image, text and focus rectangle.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl);
    // The tab control's whole client area before anything else.
    virtual void DrawBackground(CDC* pDC, const CRect& rect, CWnd* pWnd);
    // One item's edges, separator and row line.
    virtual void DrawItemEdges(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl);

    // The item after nItem exists and is the selected one.
    static BOOL IsNextItemSelected(CTabCtrl* pTabCtrl, int nItem);
    // The control's scroll arrows when it is a COXSkinnedTabCtrl, else null.
    static CSpinButtonCtrl* GetSpinControl(CTabCtrl* pTabCtrl);
    // FALSE when the item lies hidden behind the visible scroll arrows; cuts
    // rectItem where the arrows begin.
    static BOOL ClipItemToSpin(CTabCtrl* pTabCtrl, CRect& rectItem);
    // The raised (or, with the left button down, sunken) edge of a hot arrow box.
    static void DrawSpinButtonEdge(CDC* pDC, const CRect& rectBox);
    // The arrows of the boxes, outlined with pPen and filled with pBrush.
    static void DrawLeftArrow(CDC* pDC, const CRect& rectBox, CPen* pPen, CBrush* pBrush);
    static void DrawRightArrow(CDC* pDC, const CRect& rectBox, CPen* pPen, CBrush* pBrush);

protected:
    // The strip behind a single row of tabs, on the far side of the display
    // area from it (below it with bBottom).
    virtual void FillStrip(CDC* pDC, const CRect& rect, BOOL bBottom);
    // What shows behind the scroll arrows over rectClient.
    virtual void FillSpinBackground(CDC* pDC, const CRect& rectClient, CSpinButtonCtrl* pSpin);
    // Image, text and focus rectangle of DrawItem after the face: the text
    // transparent over the face, or opaque on the face colour left in the
    // context's background colour.
    void DrawItemContent(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl, BOOL bTransparentText);
    // DrawItemEdges with the separator drawn by the shadow pen or, with
    // bFilledSeparator, as a one-pixel fill of the outline colour.
    void DrawEdges(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl, BOOL bFilledSeparator);

    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
    CPen m_penShadow;   // COLOR_BTNSHADOW, one pixel
    CFont m_fontTab;    // the non-client metrics' menu font
    CBrush m_brushText; // the skin's tab text colour
    CPen m_penText;     // the skin's tab text colour, one pixel
};

// Gradient faces and strips; its skin pointer refers to a COXSkin2003.
class COXTabSkin2003 : public COXTabSkinXP {
public:
    explicit COXTabSkin2003(COXSkin2003* pSkin) : COXTabSkinXP(pSkin) {}

    void DrawItem(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl) override;
    void DrawBackground(CDC* pDC, const CRect& rect, CWnd* pWnd) override;
    void DrawItemEdges(LPDRAWITEMSTRUCT lpdis, CTabCtrl* pTabCtrl) override;

protected:
    void FillStrip(CDC* pDC, const CRect& rect, BOOL bBottom) override;
    void FillSpinBackground(CDC* pDC, const CRect& rectClient, CSpinButtonCtrl* pSpin) override;

private:
    COXSkin2003* Skin2003() const { return static_cast<COXSkin2003*>(m_pSkin); }
};
