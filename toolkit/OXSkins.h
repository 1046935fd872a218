// OXSkins.h: the skins, each a name and nine element skins:
//   COXSkin         the base: name, element skins, skin type;
//   COXSkinClassic  "Classic": system colours, the platform's own look;
//   COXSkinXP       "Office XP": flat, colours blended from system colours,
//                   caption-style buttons drawn with transparent glyphs;
//   COXSkin2003     "Office 2003": gradients, and fixed warm colours while a
//                   visual theme is active (Wine's "Light" theme counts);
//                   without one it takes the Office XP colours.
//
// Every colour is read from the system colours (and the theme) at each call,
// so a change of system colours shows at the next paint; nothing is cached.
//
// Status:
// - Implemented: the colour operations, colour mixing, gradients (through
//   GradientFill when "Msimg32.dll" offers it, line by line otherwise), the
//   gripper pattern, transparent copies and caption-style buttons.
// - The Office 2003 form of DrawFrameButton shows a sizeable bar's caption
//   gradient behind a button that is neither hot nor pressed; the menu bar's
//   frame-wide band comes with the menu bar, and until then other owners get
//   the background colour they pass, as in Office XP.
#pragma once

#include "AfxString.h"
#include "Dc.h"
#include "Geometry.h"
#include "OXUxTheme.h"

#include <windows.h>

class CWnd;
class COXToolbarSkin;
class COXMenuSkin;
class COXDockbarSkin;
class COXTabSkin;
class COXShortcutBarSkin;
class COXMiniFrameSkin;
class COXStatusbarSkin;
class COXFrameSkin;

// Skin types of COXSkin::GetSkinType and of the element skins that have one.
enum {
    OX_SKIN_CLASSIC = 0,
    OX_SKIN_XP = 1, // also the Office 2003 skin
    OX_SKIN_2003 = 2,
    OX_SKIN_BASE = 3
};

// Directions of COXSkin2003::FillGradient.
enum { OX_GRADIENT_HORIZONTAL = 0, OX_GRADIENT_VERTICAL = 1 };

class COXSkin {
public:
    // Deletes the nine element skins.
    virtual ~COXSkin();
    COXSkin(const COXSkin&) = delete;
    COXSkin& operator=(const COXSkin&) = delete;

    virtual int GetSkinType() const { return OX_SKIN_BASE; }

    CString GetName() const { return m_strName; }
    COXToolbarSkin* GetToolbarSkin() const { return m_pToolbarSkin; }
    COXMenuSkin* GetMenuSkin() const { return m_pMenuSkin; }
    COXDockbarSkin* GetDockbarSkin() const { return m_pDockbarSkin; }
    COXTabSkin* GetTabSkin() const { return m_pTabSkin; }
    COXShortcutBarSkin* GetShortcutBarSkin() const { return m_pShortcutBarSkin; }
    COXMiniFrameSkin* GetMiniFrameSkin() const { return m_pMiniFrameSkin; }
    COXStatusbarSkin* GetStatusbarSkin() const { return m_pStatusbarSkin; }

protected:
    // No element skins yet: the derived constructor creates them.
    explicit COXSkin(LPCTSTR lpszName);

    CString m_strName;
    // Each owned; the second toolbar skin and the frame skin live with the skin
    // but no window asks for them.
    COXToolbarSkin* m_pToolbarSkin;
    COXMenuSkin* m_pMenuSkin;
    COXToolbarSkin* m_pToolbarSkin2;
    COXDockbarSkin* m_pDockbarSkin;
    COXTabSkin* m_pTabSkin;
    COXShortcutBarSkin* m_pShortcutBarSkin;
    COXMiniFrameSkin* m_pMiniFrameSkin;
    COXStatusbarSkin* m_pStatusbarSkin;
    COXFrameSkin* m_pFrameSkin;
};

class COXSkinClassic : public COXSkin {
public:
    COXSkinClassic();
    int GetSkinType() const override { return OX_SKIN_CLASSIC; }
};

class COXSkinXP : public virtual COXSkin {
public:
    COXSkinXP();
    int GetSkinType() const override { return OX_SKIN_XP; }

    virtual COLORREF GetHotColor() const;
    virtual COLORREF GetCheckedColor() const;
    virtual COLORREF GetPressedColor() const;
    virtual COLORREF GetBorderColor() const;
    virtual COLORREF GetMenuColor() const;
    virtual COLORREF GetShadowColor() const;
    virtual COLORREF GetBarColor() const;
    virtual COLORREF GetFaceColor() const;
    virtual COLORREF GetTabTextColor() const;
    virtual COLORREF GetSeparatorColor() const;
    virtual COLORREF GetOutlineColor() const;
    virtual COLORREF GetGripperColor() const;
    virtual COLORREF GetMiniFrameCaptionColor() const;
    virtual COLORREF GetMiniFrameCaptionTextColor() const;
    virtual COLORREF GetMiniFrameBorderColor() const;
    virtual COLORREF GetMiniFrameInnerColor() const;
    virtual COLORREF GetDisabledColor() const;
    virtual COLORREF GetMenuDisabledTextColor() const;
    // A caption-style button (close, minimise, maximise, restore) at rect, in
    // the owner's window coordinates, on pDC: hot or pressed while the cursor is
    // over it, the glyph transparent over crBackground. nGlyphState is a
    // DFC_CAPTION state (DFCS_CAPTIONCLOSE, ..., optionally DFCS_INACTIVE or
    // DFCS_PUSHED). bTint draws the glyph in a tint of crBackground (lighter
    // with bLight); otherwise bLight draws a white glyph while the cursor is
    // elsewhere.
    virtual void DrawFrameButton(CDC* pDC, const CRect& rect, UINT nGlyphState, BOOL bTint,
                                 BOOL bLight, COLORREF crBackground, CWnd* pOwner);

    // Per channel a*wa + b*wb + c*wc, truncated toward zero and capped at 255.
    static COLORREF MixColors(COLORREF crA, COLORREF crB, COLORREF crC, float fWeightA,
                              float fWeightB, float fWeightC);
    // Adds the signed amounts to red, green and blue, each clamped to 0..255.
    static COLORREF ShiftColor(COLORREF crColor, int nRed, int nGreen, int nBlue);
    // 255 minus each channel.
    static COLORREF InvertColor(COLORREF crColor);
    // Each channel times its own factor, truncated toward zero and capped at 255.
    static COLORREF ScaleColor(COLORREF crColor, float fRed, float fGreen, float fBlue);
    // COLOR_BTNFACE scaled by 1.2 in every channel: the face of tabs that are
    // not selected.
    static COLORREF GetLightFaceColor();
    // Copies the bitmap (not selected anywhere) to (x, y) on pDC, leaving the
    // target visible where the bitmap has crTransparent.
    static void DrawTransparentBitmap(CBitmap* pBitmap, CDC* pDC, int x, int y, int nWidth,
                                      int nHeight, COLORREF crTransparent);

protected:
    struct NoElementSkins {};
    // For COXSkin2003, which creates element skins of its own.
    explicit COXSkinXP(NoElementSkins);
    // What shows behind a button of DrawFrameButton that is neither hot nor
    // pressed (or is tinted), on pWorkDC in the button's coordinates: here the
    // background colour.
    virtual void FillButtonBackground(CDC* pWorkDC, const CRect& rectButton, COLORREF crBackground,
                                      CWnd* pOwner);
};

class COXSkin2003 : public COXSkinXP {
public:
    COXSkin2003();
    // Frees "Msimg32.dll"; the theme wrapper frees the theme library.
    ~COXSkin2003() override;

    COLORREF GetHotColor() const override;
    COLORREF GetCheckedColor() const override;
    COLORREF GetPressedColor() const override;
    COLORREF GetBorderColor() const override;
    COLORREF GetMenuColor() const override;
    COLORREF GetShadowColor() const override;
    COLORREF GetFaceColor() const override;
    COLORREF GetTabTextColor() const override;
    COLORREF GetSeparatorColor() const override;
    COLORREF GetOutlineColor() const override;
    COLORREF GetGripperColor() const override;
    COLORREF GetMiniFrameCaptionColor() const override;
    COLORREF GetMiniFrameBorderColor() const override;
    COLORREF GetMiniFrameInnerColor() const override;
    COLORREF GetDisabledColor() const override;
    COLORREF GetMenuDisabledTextColor() const override;

    COLORREF GetHotGradientStart() const;
    COLORREF GetHotGradientEnd() const;
    COLORREF GetPressedGradientStart() const;
    COLORREF GetPressedGradientEnd() const;
    COLORREF GetCheckedGradientStart() const;
    COLORREF GetCheckedGradientEnd() const;
    COLORREF GetToolbarLightColor() const;
    COLORREF GetToolbarDarkColor() const;
    COLORREF GetDockAreaLightColor() const;
    COLORREF GetDockAreaDarkColor() const;
    COLORREF GetMenuLightColor() const;
    COLORREF GetMenuDarkColor() const;
    COLORREF GetMenuBarItemLightColor() const;
    COLORREF GetMenuBarItemDarkColor() const;
    COLORREF GetTabLightColor() const;
    COLORREF GetTabDarkColor() const;
    COLORREF GetTabSelectedLightColor() const;
    COLORREF GetTabSelectedDarkColor() const;
    COLORREF GetDockbarLightColor() const;
    COLORREF GetDockbarDarkColor() const;
    COLORREF GetDockbarAccentColor() const;
    COLORREF GetShortcutBarLightColor() const;
    COLORREF GetShortcutBarDarkColor() const;

    // A two-colour gradient over rect, OX_GRADIENT_HORIZONTAL (left to right)
    // or OX_GRADIENT_VERTICAL (top to bottom).
    void FillGradient(CDC* pDC, const CRect& rect, COLORREF crStart, COLORREF crEnd,
                      int nMode) const;
    // The same drawn with one line per row or column; what FillGradient does
    // without GradientFill.
    static void FillGradientByLines(CDC* pDC, const CRect& rect, COLORREF crStart, COLORREF crEnd,
                                    int nMode);
    // A gradient between the colours of the four corners, as two triangles.
    void FillCornerGradient(CDC* pDC, const CRect& rect, COLORREF crTopLeft, COLORREF crTopRight,
                            COLORREF crBottomLeft, COLORREF crBottomRight) const;
    // Without GradientFill: a two-colour gradient along the longer side; the
    // bottom-right colour is not used.
    static void FillCornerGradientByLines(CDC* pDC, const CRect& rect, COLORREF crTopLeft,
                                          COLORREF crTopRight, COLORREF crBottomLeft);
    // Pairs of dark and light lines every 4 pixels, across rect (rows when
    // bHorizontal, columns otherwise).
    void DrawGripperPattern(CDC* pDC, const CRect& rect, BOOL bHorizontal) const;

protected:
    // Behind a sizeable bar's caption button: the caption's gradient.
    void FillButtonBackground(CDC* pWorkDC, const CRect& rectButton, COLORREF crBackground,
                              CWnd* pOwner) override;

private:
    typedef BOOL(WINAPI* PFN_GRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    // TRUE while a visual theme is active; then *pHighlight and *pCaption are
    // the theme's COLOR_HIGHLIGHT and COLOR_ACTIVECAPTION.
    BOOL GetThemeColors(COLORREF* pHighlight, COLORREF* pCaption) const;

    HMODULE m_hMsimg32;                 // owns one reference; null when it failed to load
    PFN_GRADIENTFILL m_pfnGradientFill; // from m_hMsimg32; null when missing
    COXUxTheme m_uxTheme;
};
