#include "native/gtest.h"

#include "toolkit/OXShortcutBarSkin.h"
#include "toolkit/OXSkins.h"
#include "tests/support/Canvas.h"
#include "tests/support/ChildProcess.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kUnpainted = RGB(1, 2, 3); // a colour no operation here draws

COLORREF Sys(int nIndex) {
    return GetSysColor(nIndex);
}

// ---- colour arithmetic

TEST(OXSkinColors, MixColorsTruncatesSinglePrecisionWeightsAndCaps) {
    struct Case {
        COLORREF a, b, c;
        float wa, wb, wc;
        COLORREF expected;
    } cases[] = {
        // 0.7f + 0.3f is exactly 1: white stays white.
        {kWhite, kWhite, kBlack, 0.7f, 0.3f, 0.0f, kWhite},
        // 10 * 0.7f is 6.99999988, truncated.
        {RGB(10, 10, 10), kBlack, kBlack, 0.7f, 0.0f, 0.0f, RGB(6, 6, 6)},
        {RGB(255, 0, 0), RGB(0, 0, 255), kBlack, 0.5f, 0.5f, 0.0f, RGB(127, 0, 127)},
        {RGB(200, 100, 50), RGB(100, 200, 0), RGB(0, 0, 200), 0.42f, 0.48f, 0.1f,
         RGB(131, 137, 40)},
        {kWhite, kWhite, kWhite, 1.0f, 1.0f, 1.0f, kWhite},
        {RGB(255, 255, 255), RGB(240, 240, 240), kBlack, 0.86f, 0.14f, 0.0f, RGB(252, 252, 252)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, COXSkinXP::MixColors(c.a, c.b, c.c, c.wa, c.wb, c.wc))
            << std::hex << c.a << " " << c.b << " " << c.c;
}

TEST(OXSkinColors, ShiftColorClampsEachChannelAndInvertColorComplements) {
    struct Case {
        COLORREF color;
        int dr, dg, db;
        COLORREF expected;
    } cases[] = {
        {kBlack, -9, -9, -9, kBlack},
        {kWhite, 38, 38, 38, kWhite},
        {RGB(100, 150, 200), 38, 38, 38, RGB(138, 188, 238)},
        {RGB(10, 250, 3), -20, 10, 0, RGB(0, 255, 3)},
        {RGB(128, 128, 128), -8, -12, -22, RGB(120, 116, 106)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, COXSkinXP::ShiftColor(c.color, c.dr, c.dg, c.db))
            << std::hex << c.color;
    EXPECT_EQ(RGB(255, 127, 0), COXSkinXP::InvertColor(RGB(0, 128, 255)));
    EXPECT_EQ(kBlack, COXSkinXP::InvertColor(kWhite));
}

// ---- the skins and their element skins

TEST(OXSkins, EachSkinOwnsItsElementSkinsAndTellsItsType) {
    COXSkinClassic classic;
    COXSkinXP xp;
    COXSkin2003 office2003;
    struct Case {
        COXSkin* pSkin;
        const char* name;
        int type;
        int shortcutBarType;
        BOOL classicLayout;
    } cases[] = {
        {&classic, "Classic", OX_SKIN_CLASSIC, OX_SKIN_CLASSIC, TRUE},
        {&xp, "Office XP", OX_SKIN_XP, OX_SKIN_XP, TRUE},
        {&office2003, "Office 2003", OX_SKIN_XP, OX_SKIN_2003, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.name, c.pSkin->GetName());
        EXPECT_EQ(c.type, c.pSkin->GetSkinType());
        const void* elements[] = {c.pSkin->GetToolbarSkin(),     c.pSkin->GetMenuSkin(),
                                  c.pSkin->GetDockbarSkin(),     c.pSkin->GetTabSkin(),
                                  c.pSkin->GetShortcutBarSkin(), c.pSkin->GetMiniFrameSkin(),
                                  c.pSkin->GetStatusbarSkin()};
        for (const void* pElement : elements)
            EXPECT_NE(nullptr, pElement) << c.name;
        ASSERT_NE(nullptr, c.pSkin->GetShortcutBarSkin());
        EXPECT_EQ(c.shortcutBarType, c.pSkin->GetShortcutBarSkin()->GetSkinType());
        EXPECT_EQ(c.classicLayout, c.pSkin->GetShortcutBarSkin()->HasClassicLayout());
    }
}

using ColorOp = COLORREF (COXSkin2003::*)() const;
using XPColorOp = COLORREF (COXSkinXP::*)() const;

// The theme's COLOR_HIGHLIGHT and COLOR_ACTIVECAPTION, or false without a theme.
bool ThemeColors(COLORREF* pHighlight, COLORREF* pCaption) {
    COXUxTheme theme;
    HTHEME hTheme = theme.OpenThemeData(nullptr, "button");
    if (hTheme == nullptr)
        return false;
    *pHighlight = theme.GetThemeSysColor(hTheme, COLOR_HIGHLIGHT);
    *pCaption = theme.GetThemeSysColor(hTheme, COLOR_ACTIVECAPTION);
    theme.CloseThemeData(hTheme);
    return true;
}

COLORREF Mix2(COLORREF a, float wa, COLORREF b, float wb) {
    return COXSkinXP::MixColors(a, b, kBlack, wa, wb, 0.0f);
}

// Wine's "Light" theme is active in the test prefix: Office 2003 takes its
// fixed colours and the theme's.
TEST(OXSkin2003, WithAThemeTheColoursAreFixedOrTakenFromTheTheme) {
    COLORREF crTH = 0, crTC = 0;
    ASSERT_TRUE(ThemeColors(&crTH, &crTC)) << "the prefix's theme (Wine's \"Light\") is off";
    const COLORREF W = Sys(COLOR_WINDOW);
    COXSkin2003 skin;
    struct Case {
        ColorOp op;
        COLORREF expected;
    } cases[] = {
        {&COXSkin2003::GetHotColor, 0xC2EEFF},
        {&COXSkin2003::GetCheckedColor, 0x6FC0FF},
        {&COXSkin2003::GetPressedColor, 0x3E80FE},
        {&COXSkin2003::GetBorderColor, COXSkinXP::ShiftColor(crTC, 0, -84, -99)},
        {&COXSkin2003::GetMenuColor, 0xF6F6F6},
        {&COXSkin2003::GetShadowColor, Mix2(crTC, 0.55f, kBlack, 0.0f)},
        {&COXSkin2003::GetBarColor, Mix2(W, 0.16f, Sys(COLOR_BTNFACE), 0.84f)},
        {&COXSkin2003::GetFaceColor, Mix2(W, 0.7f, crTH, 0.3f)},
        {&COXSkin2003::GetTabTextColor, Sys(COLOR_BTNTEXT)},
        {&COXSkin2003::GetSeparatorColor, Mix2(W, 0.2f, crTH, 0.8f)},
        {&COXSkin2003::GetOutlineColor, Mix2(crTH, 0.5f, kBlack, 0.0f)},
        {&COXSkin2003::GetGripperColor, Mix2(crTH, 0.7f, kBlack, 0.0f)},
        {&COXSkin2003::GetMiniFrameCaptionColor, crTH},
        {&COXSkin2003::GetMiniFrameCaptionTextColor, Sys(COLOR_CAPTIONTEXT)},
        {&COXSkin2003::GetMiniFrameBorderColor, crTH},
        {&COXSkin2003::GetMiniFrameInnerColor, Mix2(W, 0.7f, crTH, 0.3f)},
        {&COXSkin2003::GetDisabledColor, 0x8D8D8D},
        {&COXSkin2003::GetMenuDisabledTextColor, 0x8D8D8D},
        {&COXSkin2003::GetHotGradientStart, 0xCCF4FF},
        {&COXSkin2003::GetHotGradientEnd, 0x91D0FF},
        {&COXSkin2003::GetPressedGradientStart, 0x4E91FE},
        {&COXSkin2003::GetPressedGradientEnd, 0x8ED3FF},
        {&COXSkin2003::GetCheckedGradientStart, 0x8CD5FF},
        {&COXSkin2003::GetCheckedGradientEnd, 0x55ADFF},
        {&COXSkin2003::GetToolbarLightColor, Mix2(W, 0.95f, crTH, 0.05f)},
        {&COXSkin2003::GetToolbarDarkColor, Mix2(W, 0.2f, crTH, 0.8f)},
        {&COXSkin2003::GetDockAreaLightColor, Mix2(W, 0.7f, crTH, 0.3f)},
        {&COXSkin2003::GetDockAreaDarkColor, Mix2(W, 0.5f, crTH, 0.5f)},
        {&COXSkin2003::GetTabSelectedDarkColor, Mix2(W, 0.7f, crTH, 0.3f)},
        {&COXSkin2003::GetDockbarAccentColor, Mix2(W, 0.5f, crTH, 0.5f)},
        {&COXSkin2003::GetShortcutBarDarkColor, Mix2(W, 0.5f, crTH, 0.5f)},
    };
    int nCase = 0;
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, (skin.*c.op)()) << "case " << nCase++;
    // The light colours of every themed gradient are one and the same mix.
    for (ColorOp op : {&COXSkin2003::GetMenuLightColor, &COXSkin2003::GetMenuBarItemLightColor,
                       &COXSkin2003::GetTabLightColor, &COXSkin2003::GetTabSelectedLightColor,
                       &COXSkin2003::GetDockbarLightColor, &COXSkin2003::GetShortcutBarLightColor})
        EXPECT_EQ(Mix2(W, 0.95f, crTH, 0.05f), (skin.*op)());
    for (ColorOp op : {&COXSkin2003::GetMenuDarkColor, &COXSkin2003::GetMenuBarItemDarkColor,
                       &COXSkin2003::GetTabDarkColor, &COXSkin2003::GetDockbarDarkColor})
        EXPECT_EQ(Mix2(W, 0.2f, crTH, 0.8f), (skin.*op)());
}

// Office XP and, without a theme, Office 2003 (checked in the child below).
void ExpectColoursWithoutTheme(COXSkinXP& skin, bool b2003) {
    const COLORREF W = Sys(COLOR_WINDOW), F = Sys(COLOR_BTNFACE), H = Sys(COLOR_HIGHLIGHT),
                   S = Sys(COLOR_BTNSHADOW), G = Sys(COLOR_GRAYTEXT);
    const COLORREF separator = COXSkinXP::ShiftColor(S, 38, 38, 38);
    const COLORREF bar = Mix2(W, 0.16f, F, 0.84f);
    struct Case {
        XPColorOp op;
        COLORREF expected;
    } cases[] = {
        {&COXSkinXP::GetHotColor, Mix2(W, 0.7f, H, 0.3f)},
        {&COXSkinXP::GetCheckedColor, COXSkinXP::MixColors(F, W, H, 0.42f, 0.48f, 0.1f)},
        {&COXSkinXP::GetPressedColor, Mix2(W, 0.5f, H, 0.5f)},
        {&COXSkinXP::GetBorderColor, H},
        {&COXSkinXP::GetMenuColor, Mix2(W, 0.86f, F, 0.14f)},
        {&COXSkinXP::GetShadowColor, S},
        {&COXSkinXP::GetBarColor, bar},
        {&COXSkinXP::GetFaceColor, F},
        {&COXSkinXP::GetTabTextColor,
         b2003 ? Sys(COLOR_BTNTEXT) : COXSkinXP::ShiftColor(G, -8, -12, -22)},
        {&COXSkinXP::GetSeparatorColor, separator},
        // Office 2003 takes the XP separator colour for its outline.
        {&COXSkinXP::GetOutlineColor, b2003 ? separator : S},
        {&COXSkinXP::GetGripperColor, COXSkinXP::ShiftColor(S, 32, 32, 32)},
        {&COXSkinXP::GetMiniFrameCaptionColor, S},
        {&COXSkinXP::GetMiniFrameCaptionTextColor, Sys(COLOR_CAPTIONTEXT)},
        {&COXSkinXP::GetMiniFrameBorderColor, COXSkinXP::ShiftColor(S, -9, -9, -9)},
        {&COXSkinXP::GetMiniFrameInnerColor, b2003 ? F : bar},
        {&COXSkinXP::GetDisabledColor, G},
        {&COXSkinXP::GetMenuDisabledTextColor, separator},
    };
    int nCase = 0;
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, (skin.*c.op)()) << (b2003 ? "2003 " : "XP ") << nCase++;
}

TEST(OXSkinXP, ColoursAreBlendedFromTheSystemColours) {
    COXSkinXP skin;
    ExpectColoursWithoutTheme(skin, false);
}

// ---- drawing

COLORREF Pixel(CCanvas& canvas, int x, int y) {
    return canvas.dc.GetPixel(x, y);
}

TEST(OXSkin2003, FillGradientByLinesInterpolatesEachLineTruncatingTowardZero) {
    struct Case {
        CRect rect;
        COLORREF start, end;
        int mode;
        int line;          // row (vertical) or column (horizontal) from the start
        COLORREF expected; // start + (end - start) * line / lines
    } cases[] = {
        {CRect(2, 3, 12, 13), kBlack, kWhite, OX_GRADIENT_VERTICAL, 0, kBlack},
        {CRect(2, 3, 12, 13), kBlack, kWhite, OX_GRADIENT_VERTICAL, 9, RGB(229, 229, 229)},
        {CRect(2, 3, 12, 13), kWhite, kBlack, OX_GRADIENT_VERTICAL, 1, RGB(230, 230, 230)},
        {CRect(0, 0, 7, 4), RGB(255, 0, 100), RGB(0, 255, 100), OX_GRADIENT_HORIZONTAL, 3,
         RGB(146, 109, 100)},
        {CRect(0, 0, 7, 4), RGB(255, 0, 100), RGB(0, 255, 100), OX_GRADIENT_HORIZONTAL, 6,
         RGB(37, 218, 100)},
    };
    for (const Case& c : cases) {
        CCanvas canvas(16, 16, kUnpainted);
        COXSkin2003::FillGradientByLines(&canvas.dc, c.rect, c.start, c.end, c.mode);
        const bool bVertical = c.mode == OX_GRADIENT_VERTICAL;
        // The whole line, and nothing outside the rectangle.
        int nAcross = bVertical ? c.rect.Width() : c.rect.Height();
        for (int i = 0; i < nAcross; ++i) {
            int x = bVertical ? c.rect.left + i : c.rect.left + c.line;
            int y = bVertical ? c.rect.top + c.line : c.rect.top + i;
            EXPECT_EQ(c.expected, Pixel(canvas, x, y)) << x << "," << y;
        }
        EXPECT_EQ(16 * 16 - c.rect.Width() * c.rect.Height(),
                  canvas.Count(kUnpainted, c.rect, false));
    }
}

TEST(OXSkin2003, AnEmptyRectangleGetsNoGradient) {
    COXSkin2003 skin;
    for (CRect rect : {CRect(2, 5, 12, 5), CRect(4, 2, 4, 12)}) {
        CCanvas canvas(16, 16, kUnpainted);
        for (int mode : {OX_GRADIENT_HORIZONTAL, OX_GRADIENT_VERTICAL}) {
            skin.FillGradient(&canvas.dc, rect, kBlack, kWhite, mode);
            COXSkin2003::FillGradientByLines(&canvas.dc, rect, kBlack, kWhite, mode);
        }
        EXPECT_EQ(16 * 16, canvas.Count(kUnpainted, CRect(0, 0, 16, 16)));
    }
}

// Without GradientFill the four-corner gradient runs along the longer side.
TEST(OXSkin2003, FillCornerGradientByLinesFollowsTheLongerSide) {
    const COLORREF tl = RGB(0, 0, 0), tr = RGB(200, 0, 0), bl = RGB(0, 200, 0);
    {
        CCanvas wide(20, 10, kUnpainted);
        COXSkin2003::FillCornerGradientByLines(&wide.dc, CRect(0, 0, 20, 10), tl, tr, bl);
        EXPECT_EQ(tl, Pixel(wide, 19, 0));
        EXPECT_EQ(RGB(0, 180, 0), Pixel(wide, 0, 9));
        EXPECT_EQ(RGB(0, 180, 0), Pixel(wide, 19, 9));
    }
    {
        CCanvas tall(10, 20, kUnpainted);
        COXSkin2003::FillCornerGradientByLines(&tall.dc, CRect(0, 0, 10, 20), tl, tr, bl);
        EXPECT_EQ(tl, Pixel(tall, 0, 19));
        EXPECT_EQ(RGB(180, 0, 0), Pixel(tall, 9, 0));
        EXPECT_EQ(RGB(180, 0, 0), Pixel(tall, 9, 19));
    }
}

// Through GradientFill: the start colour at the start, the end colour
// approached at the far side, nothing drawn outside.
TEST(OXSkin2003, FillGradientAndCornerGradientFillTheRectangleFromTheStartColour) {
    COXSkin2003 skin;
    const CRect rect(2, 2, 34, 18);
    for (int mode : {OX_GRADIENT_HORIZONTAL, OX_GRADIENT_VERTICAL}) {
        CCanvas canvas(40, 20, kUnpainted);
        skin.FillGradient(&canvas.dc, rect, RGB(0, 0, 0), RGB(0, 0, 240), mode);
        EXPECT_EQ(RGB(0, 0, 0), Pixel(canvas, rect.left, rect.top));
        COLORREF crFar = Pixel(canvas, rect.right - 1, rect.bottom - 1);
        EXPECT_GE(GetBValue(crFar), 240 - 240 / 16 - 1);
        EXPECT_EQ(0, canvas.Count(kUnpainted, rect));
        EXPECT_EQ(40 * 20 - rect.Width() * rect.Height(), canvas.Count(kUnpainted, rect, false));
    }
    CCanvas canvas(40, 20, kUnpainted);
    skin.FillCornerGradient(&canvas.dc, rect, RGB(0, 0, 0), RGB(0, 0, 240), RGB(0, 0, 240),
                            RGB(0, 0, 240));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(canvas, rect.left, rect.top));
    EXPECT_GE(GetBValue(Pixel(canvas, rect.right - 1, rect.bottom - 1)), 200);
    EXPECT_EQ(0, canvas.Count(kUnpainted, rect));
}

TEST(OXSkin2003, GripperPatternPairsDarkLinesWithLightOnesOnePixelRightAndDown) {
    COXSkin2003 skin;
    const COLORREF dark = skin.GetGripperColor(), light = Sys(COLOR_WINDOW);
    ASSERT_NE(dark, light);
    struct Probe {
        int x, y;
        COLORREF expected;
    };
    struct Case {
        BOOL bHorizontal;
        std::vector<Probe> probes;
    } cases[] = {
        // Rows 0, 4 and 8 (bottom inclusive) of rect (0, 0, 10, 8); a light
        // line drawn over a dark one wins.
        {TRUE,
         {{0, 0, dark},
          {9, 0, dark},
          {10, 0, kUnpainted},
          {0, 1, dark},
          {1, 1, light},
          {10, 1, light},
          {5, 2, light},
          {5, 3, kUnpainted},
          {5, 4, dark},
          {3, 8, dark},
          {0, 9, dark},
          {3, 9, light},
          {4, 10, light},
          {4, 11, kUnpainted}}},
        // Columns 0, 4 and 8 of rect (0, 0, 8, 7).
        {FALSE,
         {{0, 0, dark},
          {0, 6, dark},
          {0, 7, kUnpainted},
          {1, 0, dark},
          {1, 1, light},
          {1, 7, light},
          {1, 8, kUnpainted},
          {2, 5, light},
          {3, 5, kUnpainted},
          {4, 5, dark},
          {8, 3, dark},
          {8, 0, dark},
          {9, 0, dark},
          {9, 3, light},
          {10, 4, light},
          {11, 4, kUnpainted}}},
    };
    for (const Case& c : cases) {
        CCanvas canvas(16, 16, kUnpainted);
        CRect rect = c.bHorizontal ? CRect(0, 0, 10, 8) : CRect(0, 0, 8, 7);
        skin.DrawGripperPattern(&canvas.dc, rect, c.bHorizontal);
        for (const Probe& p : c.probes)
            EXPECT_EQ(p.expected, Pixel(canvas, p.x, p.y))
                << (c.bHorizontal ? "rows " : "columns ") << p.x << "," << p.y;
    }
}

TEST(OXSkinXP, DrawTransparentBitmapLeavesTheTargetWhereTheBitmapIsTransparent) {
    const COLORREF key = RGB(255, 0, 255), ink = RGB(10, 200, 30), target = RGB(0, 0, 200);
    CCanvas image(4, 4, key);
    image.dc.FillSolidRect(1, 1, 2, 2, ink);
    image.Release();
    CCanvas canvas(8, 8, target);
    canvas.dc.SetBkColor(RGB(1, 1, 1));
    canvas.dc.SetTextColor(RGB(2, 2, 2));
    COXSkinXP::DrawTransparentBitmap(&image.bitmap, &canvas.dc, 3, 3, 4, 4, key);
    EXPECT_EQ(4, canvas.Count(ink, CRect(4, 4, 6, 6)));
    EXPECT_EQ(8 * 8 - 4, canvas.Count(target, CRect(4, 4, 6, 6), false));
    // The target's colours are given back.
    EXPECT_EQ(RGB(1, 1, 1), canvas.dc.GetBkColor());
    EXPECT_EQ(RGB(2, 2, 2), canvas.dc.GetTextColor());
}

// A hidden owner window placed so that rect, in its window coordinates, lies
// under the cursor (bUnderCursor) or well away from it.
struct CButtonOwner {
    explicit CButtonOwner(bool bUnderCursor) {
        POINT pt;
        GetCursorPos(&pt);
        hWnd = CreateWindowA("STATIC", "", WS_POPUP, pt.x - 40, pt.y - 30, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
        rect = bUnderCursor ? CRect(30, 20, 46, 34) : CRect(120, 60, 136, 74);
    }
    ~CButtonOwner() { DestroyWindow(hWnd); }
    HWND hWnd;
    CRect rect;
};

TEST(OXSkinXP, DrawFrameButtonByTheCursorDrawsTheGlyphPlainHotPressedTintedOrLight) {
    COXSkinXP skin;
    const COLORREF bg = RGB(100, 120, 140);
    struct Case {
        bool bUnderCursor;
        bool bCaptured; // a window holds the mouse: the button under it is pressed
        BOOL bTint, bLight;
        COLORREF corner; // the button's top-left pixel
        COLORREF inside; // just inside it
        COLORREF glyph;  // the ink of the glyph
    } cases[] = {
        {false, false, FALSE, FALSE, bg, bg, kBlack},
        {false, false, TRUE, TRUE, bg, bg, RGB(164, 184, 204)},
        {false, false, TRUE, FALSE, bg, bg, RGB(4, 24, 44)},
        {false, false, FALSE, TRUE, bg, bg, kWhite},
        {false, true, FALSE, FALSE, bg, bg, kBlack},
        {true, false, FALSE, FALSE, skin.GetBorderColor(), skin.GetHotColor(), kBlack},
        {true, false, FALSE, TRUE, skin.GetBorderColor(), skin.GetHotColor(), kBlack},
        {true, true, FALSE, FALSE, skin.GetBorderColor(), skin.GetPressedColor(), kWhite},
    };
    int nCase = 0;
    for (const Case& c : cases) {
        CButtonOwner owner(c.bUnderCursor);
        CWnd* pOwner = CWnd::FromHandle(owner.hWnd);
        CCanvas canvas(160, 90, kUnpainted);
        if (c.bCaptured)
            SetCapture(owner.hWnd);
        skin.DrawFrameButton(&canvas.dc, owner.rect, DFCS_CAPTIONCLOSE, c.bTint, c.bLight, bg,
                             pOwner);
        if (c.bCaptured)
            ReleaseCapture();
        EXPECT_EQ(c.corner, Pixel(canvas, owner.rect.left, owner.rect.top)) << nCase;
        EXPECT_EQ(c.inside, Pixel(canvas, owner.rect.left + 1, owner.rect.top + 1)) << nCase;
        EXPECT_GT(canvas.Count(c.glyph, owner.rect), 4) << nCase;
        if (c.glyph != kBlack) {
            EXPECT_EQ(0, canvas.Count(kBlack, owner.rect)) << nCase;
        }
        EXPECT_EQ(160 * 90 - owner.rect.Width() * owner.rect.Height(),
                  canvas.Count(kUnpainted, owner.rect, false))
            << nCase;
        ++nCase;
    }
}

// ---- without the theme library and without GradientFill

// Runs in a child process that Wine starts without both libraries (below).
TEST(OXSkin2003, DISABLED_ChildWithoutThemeAndGradientLibraries) {
    ASSERT_EQ(nullptr, GetModuleHandleA("uxtheme.dll"));
    COXSkin2003 skin;
    ASSERT_EQ(nullptr, GetModuleHandleA("msimg32.dll"));
    ExpectColoursWithoutTheme(skin, true);
    COXSkinXP xp;
    const COLORREF W = Sys(COLOR_WINDOW), F = Sys(COLOR_BTNFACE);
    struct Case {
        ColorOp op;
        COLORREF expected;
    } cases[] = {
        {&COXSkin2003::GetHotGradientStart, xp.GetHotColor()},
        {&COXSkin2003::GetHotGradientEnd, xp.GetHotColor()},
        {&COXSkin2003::GetPressedGradientStart, xp.GetPressedColor()},
        {&COXSkin2003::GetPressedGradientEnd, xp.GetPressedColor()},
        {&COXSkin2003::GetCheckedGradientStart, xp.GetCheckedColor()},
        {&COXSkin2003::GetCheckedGradientEnd, xp.GetCheckedColor()},
        {&COXSkin2003::GetToolbarLightColor, Mix2(W, 0.78f, F, 0.22f)},
        {&COXSkin2003::GetToolbarDarkColor, Mix2(W, 0.04f, F, 0.96f)},
        {&COXSkin2003::GetDockAreaLightColor, Mix2(W, 0.8f, F, 0.2f)},
        {&COXSkin2003::GetDockAreaDarkColor, F},
        {&COXSkin2003::GetMenuLightColor, Mix2(W, 0.86f, F, 0.14f)},
        {&COXSkin2003::GetMenuDarkColor, Mix2(W, 0.08f, F, 0.92f)},
        {&COXSkin2003::GetMenuBarItemLightColor, Mix2(W, 0.86f, F, 0.14f)},
        {&COXSkin2003::GetMenuBarItemDarkColor, Mix2(W, 0.58f, F, 0.42f)},
        {&COXSkin2003::GetTabLightColor, Mix2(W, 0.78f, F, 0.22f)},
        {&COXSkin2003::GetTabDarkColor, Mix2(W, 0.04f, F, 0.96f)},
        {&COXSkin2003::GetTabSelectedLightColor, Mix2(W, 0.73f, F, 0.27f)},
        {&COXSkin2003::GetTabSelectedDarkColor, F},
        {&COXSkin2003::GetDockbarLightColor, Mix2(W, 0.73f, F, 0.27f)},
        {&COXSkin2003::GetDockbarDarkColor, F},
        {&COXSkin2003::GetDockbarAccentColor, xp.GetSeparatorColor()},
        {&COXSkin2003::GetShortcutBarLightColor, Mix2(W, 0.86f, F, 0.14f)},
        {&COXSkin2003::GetShortcutBarDarkColor, xp.GetBarColor()},
    };
    int nCase = 0;
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, (skin.*c.op)()) << "case " << nCase++;

    // Every gradient is drawn line by line.
    const CRect rect(1, 1, 30, 12);
    for (int mode : {OX_GRADIENT_HORIZONTAL, OX_GRADIENT_VERTICAL}) {
        CCanvas drawn(32, 14, kUnpainted), lines(32, 14, kUnpainted);
        skin.FillGradient(&drawn.dc, rect, RGB(10, 20, 30), RGB(250, 150, 0), mode);
        COXSkin2003::FillGradientByLines(&lines.dc, rect, RGB(10, 20, 30), RGB(250, 150, 0), mode);
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(Pixel(lines, x, y), Pixel(drawn, x, y)) << mode << ": " << x << "," << y;
    }
    CCanvas corner(32, 14, kUnpainted);
    skin.FillCornerGradient(&corner.dc, rect, kBlack, RGB(0, 0, 200), RGB(0, 200, 0), kWhite);
    EXPECT_EQ(kBlack, Pixel(corner, 29, 1));
    EXPECT_EQ(RGB(0, 181, 0), Pixel(corner, 1, 11));
}

TEST(OXSkin2003, WithoutThemeOrGradientLibraryItTakesTheOfficeXPColoursAndDrawsLineByLine) {
    EXPECT_TRUE(RunTestInChild("OXSkin2003.DISABLED_ChildWithoutThemeAndGradientLibraries",
                               "uxtheme=d;msimg32=d"));
}

} // namespace
