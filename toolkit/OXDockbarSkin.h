// OXDockbarSkin.h: the element skins of sizeable bars, dock bars and their
// splitters: COXDockbarSkin and its families COXDockbarSkinClassic,
// COXDockbarSkinXP and COXDockbarSkin2003.
//
// A dock-bar skin draws what is not the bars' own content: a sizeable bar's
// caption (gripper or title band with its text), its close and
// maximise/restore buttons and its non-client area, the splitters, and the
// non-client area and background of the dock bars. It also decides the
// caption's geometry: the non-client space a bar reserves
// (CalcNonClientSize) and where the caption and its buttons lie
// (LayoutCaption, which fills the bar's m_rectCaption, m_rectCloseBtn and
// m_rectResizeBtn in client coordinates).
//
// Coordinates are those of the bar's window (top-left at 0,0) unless said
// otherwise. A horizontal caption is the band along the top of a bar docked
// on the left or right (or floating); a vertical caption is the band on the
// left of a bar docked on the top or bottom.
//
// Files: OXDockbarSkin.cpp (Classic), OXDockbarSkinXP.cpp, OXDockbarSkin2003.cpp.
#pragma once

#include "OXSkins.h"

#include "framework/Gdi.h"

class COXSizeControlBar;
class COXSizeDockBar;
class COXSplitterRect;

class COXDockbarSkin {
public:
    COXDockbarSkin() = default;
    virtual ~COXDockbarSkin() = default;
    COXDockbarSkin(const COXDockbarSkin&) = delete;
    COXDockbarSkin& operator=(const COXDockbarSkin&) = delete;

    // Nothing for a bar without gripper or a floating one.
    virtual void DrawGripper(CDC* pDC, COXSizeControlBar* pBar) = 0;
    virtual void DrawCloseButton(CDC* pDC, COXSizeControlBar* pBar) = 0;
    virtual void DrawResizeButton(CDC* pDC, COXSizeControlBar* pBar) = 0;
    virtual int& GetButtonGap() = 0;
    // The caller has excluded the client area from clipping.
    virtual void DrawNonClientArea(CDC* pDC, const CRect& rectWindow, COXSizeControlBar* pBar) = 0;
    // In the dock bar's client coordinates.
    virtual void DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar* pDockBar) = 0;
    // After the framework's own non-client painting of the dock bar.
    virtual void DrawDockBarNonClient(COXSizeDockBar* pDockBar) = 0;
    virtual void DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) = 0;
    // Shrinks the proposed client rectangle in place.
    virtual void CalcNonClientSize(BOOL bCalcValidRects, LPRECT lpRect,
                                   COXSizeControlBar* pBar) = 0;
    virtual void LayoutCaption(COXSizeControlBar* pBar) = 0;
    // The one-pixel frame around a framed bar's client area.
    virtual COLORREF GetBorderColor() = 0;

protected:
    static const int kBorder = 5;      // the non-client border on every side
    static const int kButtonSize = 11; // caption buttons are square
    // Bar style bit CBRS_FLOATING.
    static BOOL IsFloatingBar(COXSizeControlBar* pBar);
    // Aligned top or bottom: the caption is a band on the bar's left.
    static BOOL HasVerticalCaption(COXSizeControlBar* pBar);
    // A docked bar with a gripper: the only kind that shows a caption band.
    static BOOL ShowsCaptionBand(COXSizeControlBar* pBar);
    // The bar's window rectangle in its client coordinates.
    static CRect GetWindowInClient(COXSizeControlBar* pBar);
    // The 5-pixel border, then nCaptionInset on the caption side, clamped.
    static void InsetNonClient(LPRECT lpRect, COXSizeControlBar* pBar, int nCaptionInset);
    // The Classic and XP caption layout with buttons nGap apart.
    static void LayoutBandCaption(COXSizeControlBar* pBar, int nGap);
    // The bar's caption text centred across rectBand and starting along
    // rectText; the box the text takes, empty when none was drawn. Opaque text
    // lies on the context's current background colour.
    static CRect DrawCaptionText(CDC* pDC, COXSizeControlBar* pBar, const CRect& rectBand,
                                 const CRect& rectText, CFont* pFont, COLORREF crText,
                                 BOOL bTransparent);
};

// System colours and the platform's caption controls.
class COXDockbarSkinClassic : public COXDockbarSkin {
public:
    COXDockbarSkinClassic();
    void DrawGripper(CDC* pDC, COXSizeControlBar* pBar) override;
    void DrawCloseButton(CDC* pDC, COXSizeControlBar* pBar) override;
    void DrawResizeButton(CDC* pDC, COXSizeControlBar* pBar) override;
    int& GetButtonGap() override { return m_nButtonGap; }
    void DrawNonClientArea(CDC* pDC, const CRect& rectWindow, COXSizeControlBar* pBar) override;
    void DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar* pDockBar) override;
    void DrawDockBarNonClient(COXSizeDockBar* pDockBar) override;
    void DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) override;
    void CalcNonClientSize(BOOL bCalcValidRects, LPRECT lpRect, COXSizeControlBar* pBar) override;
    void LayoutCaption(COXSizeControlBar* pBar) override;
    COLORREF GetBorderColor() override;

protected:
    CFont m_fontLarge; // Arial, 10 points
    CFont m_fontSmall; // Arial, 8 points
    int m_nButtonGap;  // 2
};

// The flat Office XP look in the colours of its skin.
class COXDockbarSkinXP : public COXDockbarSkin {
public:
    explicit COXDockbarSkinXP(COXSkinXP* pSkin);
    void DrawGripper(CDC* pDC, COXSizeControlBar* pBar) override;
    void DrawCloseButton(CDC* pDC, COXSizeControlBar* pBar) override;
    void DrawResizeButton(CDC* pDC, COXSizeControlBar* pBar) override;
    int& GetButtonGap() override { return m_nButtonGap; }
    void DrawNonClientArea(CDC* pDC, const CRect& rectWindow, COXSizeControlBar* pBar) override;
    void DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar* pDockBar) override;
    void DrawDockBarNonClient(COXSizeDockBar* pDockBar) override;
    void DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) override;
    void CalcNonClientSize(BOOL bCalcValidRects, LPRECT lpRect, COXSizeControlBar* pBar) override;
    void LayoutCaption(COXSizeControlBar* pBar) override;
    COLORREF GetBorderColor() override;

protected:
    // The light flag and background colour of the caption buttons.
    virtual void GetButtonLook(COXSizeControlBar* pBar, BOOL* pbLight, COLORREF* pcrBackground);
    void DrawCaptionButton(CDC* pDC, COXSizeControlBar* pBar, const CRect& rectButton,
                           UINT nGlyphState, BOOL bTint);
    // S limited to 8000 down, filled, and a line through its centre.
    static void DrawFlatSplitter(CDC* pDC, COXSplitterRect* pSplitter, COLORREF crFill,
                                 COLORREF crLine);

    COXSkinXP* m_pSkin;  // not owned: the skin owns this element skin and outlives it
    CFont m_fontCaption; // "Tahoma BOLD", 8.5 points
    int m_nButtonGap;    // 3
};

// Gradient captions, dotted grippers and a gradient dock background; its skin
// pointer refers to a COXSkin2003.
class COXDockbarSkin2003 : public COXDockbarSkinXP {
public:
    explicit COXDockbarSkin2003(COXSkin2003* pSkin) : COXDockbarSkinXP(pSkin) {}
    void DrawGripper(CDC* pDC, COXSizeControlBar* pBar) override;
    void DrawNonClientArea(CDC* pDC, const CRect& rectWindow, COXSizeControlBar* pBar) override;
    void DrawSplitter(CDC* pDC, COXSplitterRect* pSplitter, COXSizeDockBar* pDockBar) override;
    void DrawDockBarNonClient(COXSizeDockBar* pDockBar) override;
    void DrawDockBarBackground(CDC* pDC, COXSizeDockBar* pDockBar) override;
    void CalcNonClientSize(BOOL bCalcValidRects, LPRECT lpRect, COXSizeControlBar* pBar) override;
    void LayoutCaption(COXSizeControlBar* pBar) override;

protected:
    void GetButtonLook(COXSizeControlBar* pBar, BOOL* pbLight, COLORREF* pcrBackground) override;

private:
    COXSkin2003* Skin2003() const { return static_cast<COXSkin2003*>(m_pSkin); }
    // The dock area's half gradient over rectBand: dark to light up to its
    // centre, light after it.
    void FillDockAreaBand(CDC* pDC, const CRect& rectBand) const;
};
