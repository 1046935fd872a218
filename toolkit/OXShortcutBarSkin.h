// OXShortcutBarSkin.h: the element skins of the shortcut bar:
// COXShortcutBarSkin and its families COXShortcutBarSkinClassic,
// COXShortcutBarSkinXP and COXShortcutBarSkin2003.
//
// A skin keeps no state: every call reads the group's colours, fonts, texts and
// images and the bar's hot, pressed, dragged and drop-target groups from the
// bar. The bar asks it for its layout (HasClassicLayout: headers split around
// the expanded group; else all at the bottom under a title band) and, through
// GetSkinType, for the default header height.
#pragma once

#include "OXSkins.h"
#include "OXShortcutBarDefs.h"

class CDC;
class CWnd;
class COXShortcutBar;
class COXSHBListCtrl;

class COXShortcutBarSkin {
public:
    virtual ~COXShortcutBarSkin() = default;
    COXShortcutBarSkin(const COXShortcutBarSkin&) = delete;
    COXShortcutBarSkin& operator=(const COXShortcutBarSkin&) = delete;

    // The defaults of a group whose descriptor names no colour: the content
    // area's background and the list items' text.
    virtual COLORREF GetBackgroundColor(CWnd* pWnd) const = 0;
    virtual COLORREF GetTextColor(CWnd* pWnd) const = 0;
    // The frame of a list item's image: bHot for the item under the mouse,
    // bPressed while it is held down (alone: the marked selection).
    virtual void DrawItemFrame(CDC* pDC, const CRect& rect, BOOL bHot, BOOL bPressed,
                               COXSHBListCtrl* pList) = 0;
    // The background of the bar, a group list or another child; clr when
    // bUseColor. A list paints its items into bitmaps of their own, so for a
    // COXSHBListCtrl rect is read as the list's area of that bitmap: Classic
    // and XP fill it from 0,0; 2003 fills the whole bar in the bitmap's
    // coordinates, so that the bar and its lists show one gradient.
    virtual void FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bUseColor,
                                COLORREF clr) = 0;
    // One header; the record's itemID carries the group.
    virtual void DrawGroupHeader(LPDRAWITEMSTRUCT pDrawItemStruct, COXShortcutBar* pBar);
    // OX_SKIN_CLASSIC, OX_SKIN_XP or OX_SKIN_2003; the bar makes its group
    // headers taller for OX_SKIN_2003.
    virtual int GetSkinType() const { return OX_SKIN_BASE; }
    // The band across the top of the bar with the expanded group's name; it is
    // then excluded from pDC's clipping region. Only the 2003 family has one.
    virtual void DrawTitleBand(COXShortcutBar* pBar, CDC* pDC);

    // FALSE for the 2003 family, whose bar keeps a title band above the groups.
    BOOL HasClassicLayout() const { return m_bClassicLayout; }

    // The group's image (expanded image when expanded) at (x, y); the width
    // drawn, 0 without an image.
    int DrawHeaderImage(HSHBGROUP hGroup, COXShortcutBar* pBar, CDC* pDC, int x, int y);
    void DrawHeaderText(HSHBGROUP hGroup, COXShortcutBar* pBar, CDC* pDC, const CRect& rect,
                        UINT nFormat, BOOL bBold);
    // The frame and arrows on the drop-target header of a header drag: red,
    // blue on a header close to red.
    void DrawDropMarker(HSHBGROUP hGroup, COXShortcutBar* pBar, CDC* pDC,
                        LPDRAWITEMSTRUCT pDrawItemStruct);

protected:
    explicit COXShortcutBarSkin(BOOL bClassicLayout) : m_bClassicLayout(bClassicLayout) {}

    BYTE m_bClassicLayout;
};

class COXShortcutBarSkinClassic : public COXShortcutBarSkin {
public:
    COXShortcutBarSkinClassic() : COXShortcutBarSkin(TRUE) {}
    int GetSkinType() const override { return OX_SKIN_CLASSIC; }

    COLORREF GetBackgroundColor(CWnd* pWnd) const override;
    COLORREF GetTextColor(CWnd* pWnd) const override;
    void DrawItemFrame(CDC* pDC, const CRect& rect, BOOL bHot, BOOL bPressed,
                       COXSHBListCtrl* pList) override;
    void FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bUseColor,
                        COLORREF clr) override;

    static COLORREF ShiftColor(COLORREF clr, int nAmount);
};

class COXShortcutBarSkinXP : public COXShortcutBarSkin {
public:
    explicit COXShortcutBarSkinXP(COXSkinXP* pSkin) : COXShortcutBarSkin(TRUE), m_pSkin(pSkin) {}
    int GetSkinType() const override { return OX_SKIN_XP; }

    COLORREF GetBackgroundColor(CWnd* pWnd) const override;
    COLORREF GetTextColor(CWnd* pWnd) const override;
    void DrawItemFrame(CDC* pDC, const CRect& rect, BOOL bHot, BOOL bPressed,
                       COXSHBListCtrl* pList) override;
    void FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bUseColor,
                        COLORREF clr) override;

protected:
    COXShortcutBarSkinXP(COXSkinXP* pSkin, BOOL bClassicLayout)
        : COXShortcutBarSkin(bClassicLayout), m_pSkin(pSkin) {}

    COXSkinXP* m_pSkin; // not owned: the skin owns this element skin and outlives it
};

// Its skin pointer refers to a COXSkin2003.
class COXShortcutBarSkin2003 : public COXShortcutBarSkinXP {
public:
    explicit COXShortcutBarSkin2003(COXSkin2003* pSkin) : COXShortcutBarSkinXP(pSkin, FALSE) {}
    int GetSkinType() const override { return OX_SKIN_2003; }

    void FillBackground(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bUseColor,
                        COLORREF clr) override;
    void DrawGroupHeader(LPDRAWITEMSTRUCT pDrawItemStruct, COXShortcutBar* pBar) override;
    void DrawTitleBand(COXShortcutBar* pBar, CDC* pDC) override;

private:
    COXSkin2003* Get2003Skin() const;
};
