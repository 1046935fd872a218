// OXMenuSkin.h: the element skins of bitmap menus and the menu bar: COXMenuSkin
// and its families COXMenuSkinClassic, COXMenuSkinXP and COXMenuSkin2003, with
// the metrics record OXMENUMETRICS they measure with.
//
// A menu skin lays out and draws the owner-drawn items of a COXBitmapMenu (each
// drawing step gets the menu last), measures its show-all entry, and paints the
// item window that stands over a bar button while its popup is open. The XP and
// 2003 families also take over the procedure of the popup-menu windows of a
// tracked bitmap menu: a flat border, an opening toward the bar button the
// popup dropped from, and a soft shadow recorded at the first paint and
// replayed afterwards.
//
// Item states: the platform's ODS_* bits with OXODS_HIDDEN, OXODS_HIDDENFIRST
// and OXODS_HIDDENLAST (OXBitmapMenu.h).
//
// Status:
// - Implemented: layout, every drawing step of the three families, the popup
//   border and shadow, the item window.
// - Differences: Wine draws a popup menu's frame inside its client area, where
//   the platform these skins were made for keeps it outside. The XP and 2003
//   procedures therefore keep the 4-pixel shadow strips out of the client area
//   (WM_NCCALCSIZE) and draw the border again after the menu's own painting.
//   WM_PRINT dispatches only waiting paint messages before reading the screen
//   (a WM_QUIT found is posted again) and takes the window's rectangle when no
//   position was remembered for it.
//
// Files: OXMenuSkin.cpp (base and Classic), OXMenuSkinXP.cpp (XP items),
// OXMenuSkinXPPopup.cpp (XP popup windows, shadows and the item window),
// OXMenuSkin2003.cpp.
#pragma once

#include "OXSkins.h"

#include "framework/Collections.h"
#include "framework/Gdi.h"

#include <windows.h>

class COXBitmapMenu;
class COXImageInfo;
class COXShadowedItemWnd;
struct OXPOPUPWND;

// What a bitmap menu and the menu bar measure with, in pixels.
struct OXMENUMETRICS {
    int LeftMargin;      // left of the image column
    int MarginExtra;     // added to the image column for the XP image strip
    int ImageTextGap;    // between the image column and the text
    int TextShortcutGap; // between text and shortcut, only when a shortcut column exists
    int RightMargin;     // right of the shortcut column
    int TextPadding;     // added to the text height for the item height
    int ImagePadding;    // added to the image height + 2 for the item height
    int SeparatorHeight;
    int MinImageWidth; // smallest image column
    int BarItemExtra;  // added to the text width of each menu-bar button
};

class COXMenuSkin {
public:
    COXMenuSkin() = default;
    virtual ~COXMenuSkin() = default;
    COXMenuSkin(const COXMenuSkin&) = delete;
    COXMenuSkin& operator=(const COXMenuSkin&) = delete;

    virtual void DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                    const CRect& rectItem, const CRect& rectButton,
                                    COXBitmapMenu* pMenu) = 0;
    virtual void DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                const CRect& rectButton, COXBitmapMenu* pMenu) = 0;
    virtual void DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                               const CRect& rectImage, COXBitmapMenu* pMenu) = 0;
    // strText: the item text, then a tab and the shortcut.
    virtual void DrawItemText(CDC* pDC, UINT nState, const CString& strText, const CRect& rectText,
                              const CRect& rectShortcut, COXBitmapMenu* pMenu) = 0;
    virtual void DrawItemSeparator(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu) = 0;
    virtual void DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText,
                                 COXImageInfo* pImageInfo, const CRect& rectItem,
                                 const CRect& rectButton, const CRect& rectText,
                                 const CRect& rectShortcut, COXBitmapMenu* pMenu) = 0;
    virtual void DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState,
                                 COXBitmapMenu* pMenu) = 0;
    virtual OXMENUMETRICS* GetMenuMetrics() = 0;
    // Every message of a popup-menu window; pfnPrevious is the platform's own
    // procedure of the class.
    virtual LRESULT PopupMenuProc(WNDPROC pfnPrevious, HWND hWnd, UINT nMsg, WPARAM wParam,
                                  LPARAM lParam) = 0;
    // WM_PAINT of the item window.
    virtual void PaintShadowedItem(COXShadowedItemWnd* pWnd) = 0;
    // The show-all entry's height, given the height measured as for other items.
    virtual void MeasureShowAllItem(int& nHeight, COXBitmapMenu* pMenu) = 0;
    // The image column (button), image, text and shortcut rectangles of an item.
    virtual void CalcItemRects(UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                               CRect& rectButton, CRect& rectImage, CRect& rectText,
                               CRect& rectShortcut, COXBitmapMenu* pMenu) = 0;

protected:
    // The text rectangle and the right-aligned shortcut rectangle of an item,
    // the same in every family; the image column is the family's.
    void CalcTextRects(const CRect& rectItem, CRect& rectText, CRect& rectShortcut,
                       COXBitmapMenu* pMenu);
    // The item text and the shortcut in crText, prefix characters underlined;
    // bEmbossed draws both disabled.
    static void DrawTextParts(CDC* pDC, const CString& strText, const CRect& rectText,
                              const CRect& rectShortcut, COLORREF crText, BOOL bEmbossed);
    // The image at pt (the hot image when selected and there is one);
    // bShadowed first draws its shape at (+1, +1) in COLOR_BTNSHADOW and the
    // image at (-1, -1).
    static void DrawImageAt(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, CPoint pt,
                            BOOL bShadowed);
    // A disabled image drawn from its icon with DrawState; nothing without one.
    static void DrawDisabledImage(CDC* pDC, COXImageInfo* pImageInfo, const CRect& rectImage,
                                  UINT nStateFlags, CBrush* pBrush);
    // The "Marlett" glyph centred in rect; the font is SM_CYMENUCHECK high.
    static void DrawMarlettGlyph(CDC* pDC, LPCTSTR lpszGlyph, const CRect& rect, COLORREF crText);
    // Disabled or grayed: both look the same in every family.
    static BOOL IsDisabledState(UINT nState) { return (nState & (ODS_DISABLED | ODS_GRAYED)) != 0; }
};

// System colours; popup windows keep the platform's look.
class COXMenuSkinClassic : public COXMenuSkin {
public:
    COXMenuSkinClassic();

    void DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                            const CRect& rectButton, COXBitmapMenu* pMenu) override;
    void DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectButton,
                        COXBitmapMenu* pMenu) override;
    void DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectImage,
                       COXBitmapMenu* pMenu) override;
    void DrawItemText(CDC* pDC, UINT nState, const CString& strText, const CRect& rectText,
                      const CRect& rectShortcut, COXBitmapMenu* pMenu) override;
    void DrawItemSeparator(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu) override;
    void DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText, COXImageInfo* pImageInfo,
                         const CRect& rectItem, const CRect& rectButton, const CRect& rectText,
                         const CRect& rectShortcut, COXBitmapMenu* pMenu) override;
    void DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState,
                         COXBitmapMenu* pMenu) override;
    OXMENUMETRICS* GetMenuMetrics() override { return &m_metrics; }
    LRESULT PopupMenuProc(WNDPROC pfnPrevious, HWND hWnd, UINT nMsg, WPARAM wParam,
                          LPARAM lParam) override;
    void PaintShadowedItem(COXShadowedItemWnd* pWnd) override;
    void MeasureShowAllItem(int& nHeight, COXBitmapMenu* pMenu) override;
    void CalcItemRects(UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                       CRect& rectButton, CRect& rectImage, CRect& rectText, CRect& rectShortcut,
                       COXBitmapMenu* pMenu) override;

protected:
    // COLOR_GRAYTEXT disabled, COLOR_HIGHLIGHTTEXT selected, else COLOR_MENUTEXT.
    static COLORREF GetTextColor(UINT nState);

    OXMENUMETRICS m_metrics;
};

// Flat items on the menu colour with an image strip, flat popup borders with a
// shadow.
class COXMenuSkinXP : public COXMenuSkin {
public:
    explicit COXMenuSkinXP(COXSkinXP* pSkin);

    void DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                            const CRect& rectButton, COXBitmapMenu* pMenu) override;
    void DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectButton,
                        COXBitmapMenu* pMenu) override;
    void DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectImage,
                       COXBitmapMenu* pMenu) override;
    void DrawItemText(CDC* pDC, UINT nState, const CString& strText, const CRect& rectText,
                      const CRect& rectShortcut, COXBitmapMenu* pMenu) override;
    void DrawItemSeparator(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu) override;
    void DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText, COXImageInfo* pImageInfo,
                         const CRect& rectItem, const CRect& rectButton, const CRect& rectText,
                         const CRect& rectShortcut, COXBitmapMenu* pMenu) override;
    void DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState,
                         COXBitmapMenu* pMenu) override;
    OXMENUMETRICS* GetMenuMetrics() override { return &m_metrics; }
    LRESULT PopupMenuProc(WNDPROC pfnPrevious, HWND hWnd, UINT nMsg, WPARAM wParam,
                          LPARAM lParam) override;
    void PaintShadowedItem(COXShadowedItemWnd* pWnd) override;
    void MeasureShowAllItem(int& nHeight, COXBitmapMenu* pMenu) override;
    void CalcItemRects(UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                       CRect& rectButton, CRect& rectImage, CRect& rectText, CRect& rectShortcut,
                       COXBitmapMenu* pMenu) override;

    // The strip along a popup's left border, in window coordinates.
    virtual void DrawMarginStrip(CDC* pDC, const CRect& rect);
    // The opening of a popup's border toward the bar button it dropped from.
    virtual void DrawBarItemGap(CDC* pDC, const CRect& rect);

    // The shadow strips of a popup window of rectWindow (screen) on its window
    // context: from the screen, or replayed from pRecord when it was recorded
    // for this size and kind (and recorded into it otherwise). nKind 2 spares
    // the right-edge pixels beside rectDropFrom (window coordinates), 1 the
    // bottom-edge pixels under it.
    static void DrawMenuShadow(CDC* pDC, const CRect& rectWindow, const CRect& rectDropFrom,
                               OXPOPUPWND* pRecord, int nKind);
    // The shadow of the item window of rectWindow (screen), from the screen
    // or, when given, from pBackdrop (what lay under the window); nKind 1 to 4
    // for a popup below, to the right, above and to the left of the button.
    static void DrawItemShadow(CDC* pDC, const CRect& rectWindow, int nKind,
                               CBitmap* pBackdrop = nullptr);

protected:
    // The image of an item (nothing for a default image that is not checked);
    // bRaiseSelected lifts a selected, enabled, unchecked image over its shadow.
    void DrawImageOfItem(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectImage,
                         BOOL bRaiseSelected);
    // Shift(COLOR_BTNFACE; -8, -8, -8): the image strip of a rarely used item.
    static COLORREF GetRarelyUsedMarginColor();
    // The image strip of an item or separator, from the item's left edge.
    virtual void FillItemMargin(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu,
                                BOOL bRarelyUsed);
    // The tracked bitmap menu, when the framework tracks one.
    static COXBitmapMenu* GetTrackedBitmapMenu();
    // Border, opening, margin strip and (recorded) shadow of a popup window
    // whose screen rectangle is rectWindow, on its window context.
    void DrawPopupBorder(CDC* pDC, HWND hWnd, const CRect& rectWindow, COXBitmapMenu* pMenu,
                         OXPOPUPWND* pRecord);
    LRESULT OnPopupNcPaint(HWND hWnd, WPARAM wParam, COXBitmapMenu* pMenu);
    // WM_PRINT: the client area as the menu prints it, the border around it.
    LRESULT OnPopupPrint(HWND hWnd, HDC hDC, LPARAM lParam, COXBitmapMenu* pMenu);
    // The outline of the item window open toward its popup, in client
    // coordinates of rect (the client less the shadow).
    static void DrawItemOutline(CDC* pDC, const CRect& rect, int nSide, COLORREF crOutline);
    // DrawItemShadow's kind for a popup on that side (OX_POPUP_*).
    static int ItemShadowKind(int nSide);
    // The item window's outline in crOutline and its shadow.
    void PaintItemFrame(CDC* pDC, COXShadowedItemWnd* pWnd, COLORREF crOutline);

    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
    OXMENUMETRICS m_metrics;
    CMap<HWND, HWND, CPoint, CPoint> m_mapPopupPositions; // last requested (x, y) per popup
};

// Gradients in the image strip, the popup border and the item window; its skin
// pointer refers to a COXSkin2003.
class COXMenuSkin2003 : public COXMenuSkinXP {
public:
    explicit COXMenuSkin2003(COXSkin2003* pSkin) : COXMenuSkinXP(pSkin) {}

    void DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo, const CRect& rectImage,
                       COXBitmapMenu* pMenu) override;
    void PaintShadowedItem(COXShadowedItemWnd* pWnd) override;
    void DrawMarginStrip(CDC* pDC, const CRect& rect) override;
    void DrawBarItemGap(CDC* pDC, const CRect& rect) override;

protected:
    void FillItemMargin(CDC* pDC, const CRect& rectItem, COXBitmapMenu* pMenu,
                        BOOL bRarelyUsed) override;

private:
    COXSkin2003* Skin2003() const { return static_cast<COXSkin2003*>(m_pSkin); }
};
