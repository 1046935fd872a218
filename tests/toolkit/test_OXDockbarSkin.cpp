// Tests of the dock-bar skins of the three families: the caption geometry of
// sizeable bars (non-client insets, caption and button rectangles), and their
// drawing read back at pixels whose colours the skins fix: captions, gripper
// marks, caption buttons, splitters, and the dock bars' background and
// non-client area. A sizeable bar docked in a frame's sizeable dock bar is set
// up once per test; its styles and fields are then set directly.
#include "native/gtest.h"

#include "DockingFrameSetUp.h"

#include "toolkit/OXDockbarSkin.h"
#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXSizeDockBar.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"
#include "toolkit/OXSplitterRect.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

COXSkinnedApp theApp;

const COLORREF kUnpainted = RGB(1, 2, 3); // a colour no skin draws here
const UINT kBarID = 140;
const int kBarWidth = 200;
const int kBarHeight = 150;

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

COXSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return theApp.GetCurrentSkin();
}

COXDockbarSkin* DockbarSkin(const char* pszName) {
    return UseSkin(pszName)->GetDockbarSkin();
}

COXSkin2003* Skin2003() {
    return dynamic_cast<COXSkin2003*>(UseSkin("Office 2003"));
}

COXSkinXP* SkinXP() {
    return dynamic_cast<COXSkinXP*>(UseSkin("Office XP"));
}

// A bar-sized bitmap that a skin draws a caption into, read back pixel by pixel.
class CaptionCanvas {
public:
    CaptionCanvas() : canvas(kBarWidth, kBarHeight, kUnpainted) {}
    COLORREF At(int x, int y) { return canvas.dc.GetPixel(x, y); }
    int Count(COLORREF color, const CRect& rect) { return canvas.Count(color, rect); }
    CCanvas canvas;
};

// A sizeable bar whose resize permission the test decides.
class CTestBar : public COXSizeControlBar {
public:
    CTestBar() : COXSizeControlBar(0) {}
    BOOL CanResize() override { return m_bCanResize; }
    BOOL m_bCanResize = TRUE;
};

class DockbarSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(CreateDockingFrame(m_pFrame, CRect(0, 0, 900, 700), nullptr, nullptr, nullptr));
        m_hFrame = m_pFrame->m_hWnd;
        // No main window: the skin switches of these tests must not lay the
        // frame out again over the sizes a test gives its windows.
        theApp.m_pMainWnd = nullptr;
        m_pBar = std::make_unique<CTestBar>();
        ASSERT_TRUE(m_pBar->Create(m_pFrame, "Caption", kBarID, WS_CHILD | WS_VISIBLE | CBRS_LEFT,
                                   CRect(0, 0, kBarWidth, kBarHeight)));
        m_pBar->EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(m_pBar.get(), AFX_IDW_DOCKBAR_LEFT);
        m_pFrame->RecalcLayout();
        PumpPending();
        ASSERT_NE(m_pBar->m_pDockBar, nullptr);
    }
    void TearDown() override {
        DestroyDockingFrame(m_pFrame, m_hFrame);
        m_pBar.reset();
        PumpPending();
    }

    // Gives the bar a side (CBRS_ALIGN_*, maybe with CBRS_FLOATING), its own
    // style word and a window of kBarWidth x kBarHeight at pt in its dock bar,
    // and lets the current skin recompute its non-client area.
    void Place(DWORD dwBarStyle, DWORD dwSizeBarStyle, CPoint pt = CPoint(0, 0)) {
        m_pBar->m_dwSizeBarStyle = dwSizeBarStyle;
        m_pBar->SetBarStyle(dwBarStyle);
        ::SetWindowPos(m_pBar->m_hWnd, nullptr, pt.x, pt.y, kBarWidth, kBarHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_pBar->m_nPressedButton = OX_SIZEBAR_NOBUTTON;
        m_pBar->m_bMaximized = FALSE;
    }
    // Places the bar (see Place), lets pSkin lay out its caption and draws
    // the gripper into canvas.
    void DrawGripper(COXDockbarSkin* pSkin, CaptionCanvas& canvas, DWORD dwBarStyle,
                     DWORD dwSizeBarStyle, CPoint pt = CPoint(0, 0)) {
        Place(dwBarStyle, dwSizeBarStyle, pt);
        pSkin->LayoutCaption(m_pBar.get());
        pSkin->DrawGripper(&canvas.canvas.dc, m_pBar.get());
    }
    // Client coordinates of the bar to its window coordinates.
    CPoint ClientOffset() {
        CRect rectWindow;
        m_pBar->GetWindowRect(&rectWindow);
        CPoint pt(0, 0);
        m_pBar->ClientToScreen(&pt);
        return CPoint(pt.x - rectWindow.left, pt.y - rectWindow.top);
    }
    CRect InWindow(CRect rect) {
        rect.OffsetRect(ClientOffset());
        return rect;
    }
    COXSizeDockBar* DockBar(UINT nID) {
        return dynamic_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(nID));
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    std::unique_ptr<CTestBar> m_pBar;
};

// ---- geometry

TEST_F(DockbarSkinTest, ButtonGapsAndBorderColoursPerFamily) {
    EXPECT_EQ(2, DockbarSkin("Classic")->GetButtonGap());
    EXPECT_EQ(Sys(COLOR_WINDOWFRAME), DockbarSkin("Classic")->GetBorderColor());
    EXPECT_EQ(3, DockbarSkin("Office XP")->GetButtonGap());
    EXPECT_EQ(SkinXP()->GetOutlineColor(), DockbarSkin("Office XP")->GetBorderColor());
    EXPECT_EQ(3, DockbarSkin("Office 2003")->GetButtonGap());
    EXPECT_EQ(Skin2003()->GetOutlineColor(), DockbarSkin("Office 2003")->GetBorderColor());
    // The gap is the skin's own integer, handed out by reference.
    COXDockbarSkin* pSkin = DockbarSkin("Classic");
    EXPECT_EQ(&pSkin->GetButtonGap(), &pSkin->GetButtonGap());
}

TEST_F(DockbarSkinTest, CalcNonClientSizeInsetsBorderAndCaptionAndClamps) {
    struct Case {
        const char* skin;
        DWORD barStyle;
        DWORD sizeStyle;
        CRect proposed;
        CRect expected;
    } cases[] = {
        // Horizontal caption (bar on the left): the top moves down.
        {"Classic", CBRS_ALIGN_LEFT, 0, {0, 0, 200, 150}, {5, 21, 195, 145}},
        {"Office XP", CBRS_ALIGN_RIGHT, 0, {0, 0, 200, 150}, {5, 21, 195, 145}},
        {"Office 2003", CBRS_ALIGN_LEFT, 0, {0, 0, 200, 150}, {5, 29, 195, 145}},
        // Vertical caption (bar on the top or bottom): the left edge moves.
        {"Classic", CBRS_ALIGN_TOP, 0, {10, 20, 210, 170}, {31, 25, 205, 165}},
        {"Office XP", CBRS_ALIGN_BOTTOM, 0, {0, 0, 200, 150}, {21, 5, 195, 145}},
        {"Office 2003", CBRS_ALIGN_BOTTOM, 0, {0, 0, 200, 150}, {29, 5, 195, 145}},
        // Floating, or without gripper: the border only.
        {"Classic", CBRS_ALIGN_LEFT | CBRS_FLOATING, 0, {0, 0, 200, 150}, {5, 5, 195, 145}},
        {"Office 2003", CBRS_ALIGN_TOP | CBRS_FLOATING, 0, {0, 0, 200, 150}, {5, 5, 195, 145}},
        {"Office XP", CBRS_ALIGN_LEFT, SCBS_NOCAPTION, {0, 0, 200, 150}, {5, 5, 195, 145}},
        {"Office 2003", CBRS_ALIGN_BOTTOM, SCBS_NOCAPTION, {0, 0, 200, 150}, {5, 5, 195, 145}},
        // Too small: the moved edge stops at the opposite one.
        {"Classic", CBRS_ALIGN_LEFT, 0, {0, 0, 30, 20}, {5, 15, 25, 15}},
        {"Office XP", CBRS_ALIGN_TOP, 0, {0, 0, 30, 20}, {21, 5, 25, 15}},
        {"Office 2003", CBRS_ALIGN_TOP, 0, {0, 0, 30, 20}, {25, 5, 25, 15}},
        {"Office 2003", CBRS_ALIGN_LEFT, 0, {0, 0, 60, 30}, {5, 25, 55, 25}},
    };
    for (const Case& c : cases) {
        COXDockbarSkin* pSkin = DockbarSkin(c.skin);
        m_pBar->SetBarStyle(c.barStyle);
        m_pBar->m_dwSizeBarStyle = c.sizeStyle;
        RECT rect = c.proposed;
        pSkin->CalcNonClientSize(TRUE, &rect, m_pBar.get());
        EXPECT_EQ(c.expected, CRect(rect)) << c.skin << " style " << std::hex << c.barStyle;
    }
}

TEST_F(DockbarSkinTest, TheBarsClientAreaFollowsTheSkinsInsets) {
    struct Case {
        const char* skin;
        DWORD barStyle;
        CPoint offset;
    } cases[] = {
        {"Classic", CBRS_ALIGN_LEFT, {5, 21}},
        {"Office XP", CBRS_ALIGN_BOTTOM, {21, 5}},
        {"Office 2003", CBRS_ALIGN_LEFT, {5, 29}},
        {"Office 2003", CBRS_ALIGN_TOP, {29, 5}},
    };
    for (const Case& c : cases) {
        UseSkin(c.skin);
        Place(c.barStyle, 0);
        EXPECT_EQ(c.offset, ClientOffset()) << c.skin;
    }
}

const CRect kUnset(-1000, -1000, -990, -990);

TEST_F(DockbarSkinTest, LayoutCaptionPlacesCaptionAndButtonsInEachFamily) {
    // Rectangles in the bar's window coordinates, 200 x 150; kUnset: left as it was.
    struct Case {
        const char* skin;
        DWORD barStyle;
        DWORD sizeStyle;
        CRect caption, close, resize;
    } cases[] = {
        // Horizontal caption: 11 high at the top, close outermost.
        {"Classic", CBRS_ALIGN_LEFT, 0, {5, 5, 169, 16}, {184, 5, 195, 16}, {171, 5, 182, 16}},
        {"Office XP", CBRS_ALIGN_LEFT, 0, {5, 5, 167, 16}, {184, 5, 195, 16}, {170, 5, 181, 16}},
        {"Classic", CBRS_ALIGN_RIGHT, SCBS_NOCLOSEBTN, {5, 5, 182, 16}, kUnset, {184, 5, 195, 16}},
        {"Office XP",
         CBRS_ALIGN_LEFT,
         SCBS_NORESIZEBTN,
         {5, 5, 181, 16},
         {184, 5, 195, 16},
         kUnset},
        {"Classic",
         CBRS_ALIGN_LEFT,
         SCBS_NOCLOSEBTN | SCBS_NORESIZEBTN,
         {5, 5, 195, 16},
         kUnset,
         kUnset},
        // Vertical caption: 11 wide on the left, close at the top.
        {"Classic", CBRS_ALIGN_BOTTOM, 0, {5, 31, 16, 145}, {5, 5, 16, 16}, {5, 18, 16, 29}},
        {"Office XP", CBRS_ALIGN_TOP, 0, {5, 33, 16, 145}, {5, 5, 16, 16}, {5, 19, 16, 30}},
        {"Office XP", CBRS_ALIGN_TOP, SCBS_NOCLOSEBTN, {5, 19, 16, 145}, kUnset, {5, 5, 16, 16}},
        // Floating or without gripper: the inset window, buttons untouched.
        {"Classic", CBRS_ALIGN_LEFT | CBRS_FLOATING, 0, {5, 5, 195, 145}, kUnset, kUnset},
        {"Office XP", CBRS_ALIGN_TOP, SCBS_NOCAPTION, {5, 5, 195, 145}, kUnset, kUnset},
        // 2003: a 24-pixel band; 11-pixel buttons 7 in from its end, 14 apart.
        {"Office 2003", CBRS_ALIGN_LEFT, 0, {2, 0, 198, 24}, {181, 7, 192, 18}, {167, 7, 178, 18}},
        {"Office 2003",
         CBRS_ALIGN_LEFT,
         SCBS_NOCLOSEBTN,
         {2, 0, 198, 24},
         kUnset,
         {181, 7, 192, 18}},
        {"Office 2003",
         CBRS_ALIGN_LEFT,
         SCBS_NORESIZEBTN,
         {2, 0, 198, 24},
         {181, 7, 192, 18},
         kUnset},
        {"Office 2003", CBRS_ALIGN_BOTTOM, 0, {0, 2, 24, 148}, {7, 9, 18, 20}, {7, 23, 18, 34}},
        {"Office 2003", CBRS_ALIGN_TOP, SCBS_NOCLOSEBTN, {0, 2, 24, 148}, kUnset, {7, 9, 18, 20}},
        {"Office 2003", CBRS_ALIGN_LEFT | CBRS_FLOATING, 0, {0, 0, 200, 150}, kUnset, kUnset},
        {"Office 2003", CBRS_ALIGN_BOTTOM, SCBS_NOCAPTION, {0, 0, 200, 150}, kUnset, kUnset},
    };
    for (const Case& c : cases) {
        COXDockbarSkin* pSkin = DockbarSkin(c.skin);
        Place(c.barStyle, c.sizeStyle);
        const CPoint ptOffset = ClientOffset();
        // Sentinels in client coordinates that map to kUnset in the window.
        CRect rectSentinel = kUnset;
        rectSentinel.OffsetRect(-ptOffset.x, -ptOffset.y);
        m_pBar->m_rectCloseBtn = rectSentinel;
        m_pBar->m_rectResizeBtn = rectSentinel;
        pSkin->LayoutCaption(m_pBar.get());
        const std::string where =
            std::string(c.skin) + " style " + Hex(c.barStyle) + "/" + Hex(c.sizeStyle);
        EXPECT_EQ(c.caption, InWindow(m_pBar->m_rectCaption)) << where;
        EXPECT_EQ(c.close, InWindow(m_pBar->m_rectCloseBtn)) << where;
        EXPECT_EQ(c.resize, InWindow(m_pBar->m_rectResizeBtn)) << where;
    }
}

// ---- caption drawing

TEST_F(DockbarSkinTest, NothingOfTheCaptionIsDrawnForFloatingBarsOrBarsWithoutGripper) {
    const DWORD styles[][2] = {{CBRS_ALIGN_LEFT | CBRS_FLOATING, 0},
                               {CBRS_ALIGN_BOTTOM | CBRS_FLOATING, SCBS_SOLIDCAPTION},
                               {CBRS_ALIGN_LEFT, SCBS_NOCAPTION},
                               {CBRS_ALIGN_TOP, SCBS_NOCAPTION | SCBS_SOLIDCAPTION}};
    const CRect all(0, 0, kBarWidth, kBarHeight);
    for (const char* pszSkin : {"Classic", "Office XP", "Office 2003"}) {
        COXDockbarSkin* pSkin = DockbarSkin(pszSkin);
        for (const auto& style : styles) {
            Place(style[0], style[1]);
            pSkin->LayoutCaption(m_pBar.get());
            // Buttons where a docked bar would have them, to show they stay undrawn.
            m_pBar->m_rectCloseBtn = m_pBar->m_rectResizeBtn = CRect(10, 10, 21, 21);
            CaptionCanvas c;
            pSkin->DrawGripper(&c.canvas.dc, m_pBar.get());
            pSkin->DrawCloseButton(&c.canvas.dc, m_pBar.get());
            pSkin->DrawResizeButton(&c.canvas.dc, m_pBar.get());
            EXPECT_EQ(kBarWidth * kBarHeight, c.Count(kUnpainted, all))
                << pszSkin << " " << Hex(style[0]) << "/" << Hex(style[1]);
        }
    }
}

TEST_F(DockbarSkinTest, NonClientFillPerFamily) {
    struct Case {
        const char* skin;
        COLORREF expected;
    } cases[] = {{"Classic", Sys(COLOR_BTNFACE)},
                 {"Office XP", Sys(COLOR_BTNFACE)},
                 {"Office 2003", Skin2003()->GetFaceColor()}};
    for (const Case& c : cases) {
        COXDockbarSkin* pSkin = DockbarSkin(c.skin);
        CaptionCanvas canvas;
        const CRect rect(3, 4, 50, 60);
        pSkin->DrawNonClientArea(&canvas.canvas.dc, rect, m_pBar.get());
        EXPECT_EQ(rect.Width() * rect.Height(), canvas.Count(c.expected, rect)) << c.skin;
        EXPECT_EQ(kUnpainted, canvas.At(2, 4)) << c.skin;
        EXPECT_EQ(kUnpainted, canvas.At(50, 59)) << c.skin;
    }
}

TEST_F(DockbarSkinTest, ClassicSolidCaptionTakesTheActiveOrInactiveCaptionColours) {
    COXDockbarSkin* pSkin = DockbarSkin("Classic");
    struct Case {
        BOOL active;
        int band, text, otherText;
    } cases[] = {{TRUE, COLOR_ACTIVECAPTION, COLOR_CAPTIONTEXT, COLOR_INACTIVECAPTIONTEXT},
                 {FALSE, COLOR_INACTIVECAPTION, COLOR_INACTIVECAPTIONTEXT, COLOR_CAPTIONTEXT}};
    for (const Case& c : cases) {
        Place(CBRS_ALIGN_LEFT, SCBS_SOLIDCAPTION);
        m_pBar->m_bActive = c.active;
        pSkin->LayoutCaption(m_pBar.get());
        CaptionCanvas canvas;
        pSkin->DrawGripper(&canvas.canvas.dc, m_pBar.get());
        const CRect band = InWindow(m_pBar->m_rectCaption); // (5,5)-(169,16)
        // Past the text the band is plain; nothing outside it is touched.
        EXPECT_EQ(Sys(c.band), canvas.At(band.right - 2, band.top + 1)) << c.active;
        EXPECT_EQ(Sys(c.band), canvas.At(band.right - 1, band.bottom - 1)) << c.active;
        EXPECT_EQ(kUnpainted, canvas.At(band.right, band.top)) << c.active;
        EXPECT_EQ(kUnpainted, canvas.At(band.left, band.top - 1)) << c.active;
        // The text starts 6 pixels in.
        const CRect rectText(band.left + 6, band.top, band.left + 60, band.bottom);
        if (Sys(c.text) != Sys(c.band)) {
            EXPECT_GT(canvas.Count(Sys(c.text), rectText), 0) << c.active;
        }
        if (Sys(c.otherText) != Sys(c.text) && Sys(c.otherText) != Sys(c.band)) {
            EXPECT_EQ(0, canvas.Count(Sys(c.otherText), band)) << c.active;
        }
        EXPECT_EQ(0,
                  canvas.Count(Sys(c.text), CRect(band.left, band.top, band.left + 6, band.bottom)))
            << c.active;
    }
}

TEST_F(DockbarSkinTest, ClassicGripperMarksAreTwoRaisedBarsAfterTheText) {
    COXDockbarSkin* pSkin = DockbarSkin("Classic");
    const COLORREF light = Sys(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = Sys(COLOR_BTNSHADOW);
    for (const char* pszText : {"", "Caption"}) {
        m_pBar->SetWindowText(pszText);
        // Horizontal: the band (5,5)-(169,16), deflated by 2: bars at y 7..9 and 11..13.
        CaptionCanvas h;
        DrawGripper(pSkin, h, CBRS_ALIGN_LEFT, 0);
        EXPECT_EQ(light, h.At(150, 7)) << pszText;
        EXPECT_EQ(kUnpainted, h.At(150, 8)) << pszText;
        EXPECT_EQ(dark, h.At(150, 9)) << pszText;
        EXPECT_EQ(kUnpainted, h.At(150, 10)) << pszText;
        EXPECT_EQ(light, h.At(150, 11)) << pszText;
        EXPECT_EQ(dark, h.At(150, 13)) << pszText;
        EXPECT_EQ(dark, h.At(166, 8)) << pszText; // the right edge
        EXPECT_EQ(kUnpainted, h.At(167, 8)) << pszText;
        EXPECT_EQ(kUnpainted, h.At(150, 14)) << pszText;
        // Without text the bars start at the band's left; a text pushes them past it.
        if (*pszText == 0) {
            EXPECT_EQ(light, h.At(7, 8));
        } else {
            EXPECT_NE(light, h.At(7, 8));
            EXPECT_NE(light, h.At(20, 7));
        }

        // Vertical: the band (5,31)-(16,145), deflated by 2: bars at x 7..9 and 11..13.
        CaptionCanvas v;
        DrawGripper(pSkin, v, CBRS_ALIGN_BOTTOM, 0);
        EXPECT_EQ(light, v.At(7, 40)) << pszText;
        EXPECT_EQ(dark, v.At(9, 40)) << pszText;
        EXPECT_EQ(light, v.At(11, 40)) << pszText;
        EXPECT_EQ(dark, v.At(13, 40)) << pszText;
        EXPECT_EQ(light, v.At(7, 33)) << pszText;
        if (*pszText == 0) {
            EXPECT_EQ(dark, v.At(8, 142));
        } else {
            // The text reads upward from 6 above the band's bottom.
            EXPECT_NE(dark, v.At(8, 142));
        }
    }
}

TEST_F(DockbarSkinTest, ClassicTextFillingTheBandLeavesNoRoomForMarks) {
    COXDockbarSkin* pSkin = DockbarSkin("Classic");
    m_pBar->SetWindowText("A caption text much longer than the band of this bar");
    Place(CBRS_ALIGN_LEFT, 0);
    m_pBar->m_bActive = FALSE;
    pSkin->LayoutCaption(m_pBar.get());
    CaptionCanvas c;
    const CRect all(0, 0, kBarWidth, kBarHeight);
    // As the bar paints: the non-client fill first, whose colour the opaque text lies on.
    pSkin->DrawNonClientArea(&c.canvas.dc, all, m_pBar.get());
    pSkin->DrawGripper(&c.canvas.dc, m_pBar.get());
    ASSERT_NE(Sys(COLOR_BTNFACE), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(0, c.Count(Sys(COLOR_BTNHIGHLIGHT), all));
    EXPECT_EQ(0, c.Count(Sys(COLOR_BTNSHADOW), all));
    // The text, in the inactive caption colour, runs into the band's last
    // pixels (its ellipsis) and no further.
    const CRect band = InWindow(m_pBar->m_rectCaption);
    const CRect end(band.right - 20, band.top, band.right, band.bottom);
    EXPECT_GT(c.Count(Sys(COLOR_INACTIVECAPTION), band), 0);
    EXPECT_LT(c.Count(Sys(COLOR_BTNFACE), end), end.Width() * end.Height());
    const CRect after(band.right, 0, kBarWidth, kBarHeight);
    EXPECT_EQ(after.Width() * after.Height(), c.Count(Sys(COLOR_BTNFACE), after));
}

TEST_F(DockbarSkinTest, XPGripperIsFourLinesInTheGripperColour) {
    COXSkinXP* pXP = SkinXP();
    COXDockbarSkin* pSkin = pXP->GetDockbarSkin();
    const COLORREF grip = pXP->GetGripperColor();
    m_pBar->SetWindowText("");
    // Horizontal: the band inflated by 3 and deflated (4, 2), then 3 down and
    // 1 in: lines at y 7, 9, 11, 13 from x 6 to 164.
    CaptionCanvas h;
    DrawGripper(pSkin, h, CBRS_ALIGN_LEFT, 0);
    for (int y : {7, 9, 11, 13}) {
        EXPECT_EQ(grip, h.At(6, y)) << y;
        EXPECT_EQ(grip, h.At(164, y)) << y;
        EXPECT_EQ(kUnpainted, h.At(165, y)) << y;
        EXPECT_EQ(kUnpainted, h.At(60, y + 1)) << y;
    }
    EXPECT_EQ(kUnpainted, h.At(5, 7));
    EXPECT_EQ(kUnpainted, h.At(60, 15));
    // Vertical: lines at x 7, 9, 11, 13 from y 30 to 146.
    CaptionCanvas v;
    DrawGripper(pSkin, v, CBRS_ALIGN_TOP, 0);
    for (int x : {7, 9, 11, 13}) {
        EXPECT_EQ(grip, v.At(x, 30)) << x;
        EXPECT_EQ(grip, v.At(x, 146)) << x;
        EXPECT_EQ(kUnpainted, v.At(x, 147)) << x;
        EXPECT_EQ(kUnpainted, v.At(x + 1, 80)) << x;
    }
    EXPECT_EQ(kUnpainted, v.At(7, 29));
}

TEST_F(DockbarSkinTest, XPSolidCaptionFillsUnderTheButtonsInTheInactiveCaptionColour) {
    COXDockbarSkin* pSkin = DockbarSkin("Office XP");
    const COLORREF band = Sys(COLOR_INACTIVECAPTION);
    for (BOOL bActive : {TRUE, FALSE}) {
        m_pBar->m_bActive = bActive;
        // Horizontal: caption and buttons (5,5)-(195,16) inflated by 3, less
        // 1 left, 2 top, 1 right and bottom: (3,4)-(197,18).
        CaptionCanvas h;
        DrawGripper(pSkin, h, CBRS_ALIGN_LEFT, SCBS_SOLIDCAPTION);
        EXPECT_EQ(band, h.At(3, 4));
        EXPECT_EQ(band, h.At(196, 17));
        EXPECT_EQ(band, h.At(190, 10)); // under the close button
        EXPECT_EQ(kUnpainted, h.At(2, 10));
        EXPECT_EQ(kUnpainted, h.At(100, 3));
        EXPECT_EQ(kUnpainted, h.At(197, 10));
        EXPECT_EQ(kUnpainted, h.At(100, 18));
        // No gripper lines on a solid caption.
        EXPECT_EQ(0, h.Count(SkinXP()->GetGripperColor(), CRect(0, 0, kBarWidth, kBarHeight)));
        pSkin = DockbarSkin("Office XP");
        // Vertical: (5,5)-(16,145) inflated: (2,2)-(19,148), less 2 at the left.
        CaptionCanvas v;
        DrawGripper(pSkin, v, CBRS_ALIGN_BOTTOM, SCBS_SOLIDCAPTION);
        EXPECT_EQ(band, v.At(4, 4));
        EXPECT_EQ(band, v.At(17, 146));
        EXPECT_EQ(kUnpainted, v.At(3, 50));
        EXPECT_EQ(kUnpainted, v.At(10, 3));
        EXPECT_EQ(kUnpainted, v.At(18, 50));
    }
}

TEST_F(DockbarSkinTest, Office2003CaptionGradientRunsFromLightToDark) {
    COXSkin2003* p2003 = Skin2003();
    COXDockbarSkin* pSkin = p2003->GetDockbarSkin();
    const COLORREF light = p2003->GetDockbarLightColor();
    const COLORREF dark = p2003->GetDockbarDarkColor();
    const int nTolerance = 16;
    // Horizontal caption (2,0)-(198,24): top to bottom; x = 170 lies between
    // the text (ending before the resize button) and the buttons.
    CaptionCanvas h;
    DrawGripper(pSkin, h, CBRS_ALIGN_LEFT, 0);
    EXPECT_EQ(light, h.At(170, 0)) << Hex(h.At(170, 0));
    EXPECT_TRUE(Near(h.At(170, 23), dark, nTolerance)) << Hex(h.At(170, 23)) << " " << Hex(dark);
    EXPECT_EQ(light, h.At(2, 0));
    EXPECT_EQ(light, h.At(197, 0));
    EXPECT_EQ(kUnpainted, h.At(1, 0));
    EXPECT_EQ(kUnpainted, h.At(198, 0));
    EXPECT_EQ(kUnpainted, h.At(170, 24));
    // Vertical caption (0,2)-(24,148): left to right.
    CaptionCanvas v;
    DrawGripper(pSkin, v, CBRS_ALIGN_BOTTOM, 0);
    EXPECT_EQ(light, v.At(0, 5));
    EXPECT_TRUE(Near(v.At(23, 5), dark, nTolerance)) << Hex(v.At(23, 5)) << " " << Hex(dark);
    EXPECT_EQ(kUnpainted, v.At(24, 5));
    EXPECT_EQ(kUnpainted, v.At(5, 1));
    EXPECT_EQ(kUnpainted, v.At(5, 148));
}

TEST_F(DockbarSkinTest, Office2003SeparatorOnlyWhenTheBarIsNotFirstInItsDockBar) {
    COXSkin2003* p2003 = Skin2003();
    COXDockbarSkin* pSkin = p2003->GetDockbarSkin();
    const COLORREF face = p2003->GetFaceColor();
    const COLORREF light = p2003->GetDockbarLightColor();
    struct Case {
        DWORD barStyle;
        CPoint position; // in the dock bar's client area
        bool separator;
    } cases[] = {
        {CBRS_ALIGN_LEFT, {0, 0}, false},  {CBRS_ALIGN_LEFT, {0, 10}, true},
        {CBRS_ALIGN_LEFT, {10, 0}, false}, {CBRS_ALIGN_BOTTOM, {0, 0}, false},
        {CBRS_ALIGN_TOP, {10, 0}, true},   {CBRS_ALIGN_BOTTOM, {0, 10}, false},
    };
    for (const Case& c : cases) {
        CaptionCanvas canvas;
        DrawGripper(pSkin, canvas, c.barStyle, 0, c.position);
        const bool bVertical = (c.barStyle & CBRS_ORIENT_HORZ) != 0;
        // Two pixels across the band's start, away from the dots and the text.
        const CPoint pt0 = bVertical ? CPoint(0, 60) : CPoint(170, 0);
        const CPoint pt1 = bVertical ? CPoint(1, 60) : CPoint(170, 1);
        const CPoint pt2 = bVertical ? CPoint(2, 60) : CPoint(170, 2);
        const std::string where = Hex(c.barStyle) + " at " + std::to_string(c.position.x) + "," +
                                  std::to_string(c.position.y);
        if (c.separator) {
            EXPECT_EQ(face, canvas.At(pt0.x, pt0.y)) << where;
            EXPECT_EQ(face, canvas.At(pt1.x, pt1.y)) << where;
            if (face != light) {
                EXPECT_NE(face, canvas.At(pt2.x, pt2.y)) << where;
            }
        } else {
            EXPECT_EQ(light, canvas.At(pt0.x, pt0.y)) << where;
        }
    }
}

TEST_F(DockbarSkinTest, Office2003GripperDotsLieAtTheBandsStart) {
    COXSkin2003* p2003 = Skin2003();
    COXDockbarSkin* pSkin = p2003->GetDockbarSkin();
    const COLORREF dark = p2003->GetGripperColor();
    const COLORREF white = Sys(COLOR_WINDOW);
    // Horizontal: a column in (5,6)-(7,18): dark pairs at rows 6, 10, 14, 18
    // and their light pairs one pixel right and down.
    CaptionCanvas h;
    DrawGripper(pSkin, h, CBRS_ALIGN_LEFT, 0);
    for (int y : {6, 10, 14, 18}) {
        EXPECT_EQ(dark, h.At(5, y)) << y;
        EXPECT_EQ(dark, h.At(6, y)) << y;
        EXPECT_EQ(white, h.At(6, y + 1)) << y;
        EXPECT_EQ(white, h.At(7, y + 2)) << y;
    }
    EXPECT_NE(dark, h.At(5, 22));
    // Vertical: a row in (5,141)-(19,143): dark pairs at columns 5, 9, 13, 17.
    CaptionCanvas v;
    DrawGripper(pSkin, v, CBRS_ALIGN_BOTTOM, 0);
    for (int x : {5, 9, 13, 17}) {
        EXPECT_EQ(dark, v.At(x, 141)) << x;
        EXPECT_EQ(dark, v.At(x, 142)) << x;
        EXPECT_EQ(white, v.At(x + 1, 142)) << x;
        EXPECT_EQ(white, v.At(x + 2, 143)) << x;
    }
    EXPECT_NE(dark, v.At(21, 141));
    EXPECT_NE(dark, v.At(5, 139));
}

// Pixels of rect that differ from their row's pixel at column xPlain: what
// was drawn over a band that is uniform along x.
int DrawnOverRows(CaptionCanvas& c, const CRect& rect, int xPlain) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            n += c.At(x, y) != c.At(xPlain, y) ? 1 : 0;
    return n;
}

TEST_F(DockbarSkinTest, CaptionTextFlagHidesTheTextExceptInOffice2003) {
    struct Case {
        const char* skin;
        DWORD sizeStyle;
        bool text;
    } cases[] = {
        {"Classic", SCBS_SOLIDCAPTION, true},
        {"Classic", SCBS_SOLIDCAPTION | SCBS_NOCAPTIONTEXT, false},
        {"Office XP", SCBS_SOLIDCAPTION, true},
        {"Office XP", SCBS_SOLIDCAPTION | SCBS_NOCAPTIONTEXT, false},
        {"Office 2003", 0, true},
        {"Office 2003", SCBS_NOCAPTIONTEXT, true},
    };
    m_pBar->SetWindowText("Caption");
    for (const Case& c : cases) {
        COXDockbarSkin* pSkin = DockbarSkin(c.skin);
        CaptionCanvas canvas;
        DrawGripper(pSkin, canvas, CBRS_ALIGN_LEFT, c.sizeStyle);
        // Between the band's start (and the 2003 dots) and x = 100, the band
        // is plain unless text lies on it; column 150 stays plain.
        const CRect band = InWindow(m_pBar->m_rectCaption);
        const CRect zone(12, band.top + 2, 100, band.bottom - 1);
        const int nDrawn = DrawnOverRows(canvas, zone, 150);
        if (c.text) {
            EXPECT_GT(nDrawn, 0) << c.skin << " " << Hex(c.sizeStyle);
        } else {
            EXPECT_EQ(0, nDrawn) << c.skin << " " << Hex(c.sizeStyle);
        }
    }
    // An empty window text draws none in any family.
    m_pBar->SetWindowText("");
    COXDockbarSkin* pSkin = DockbarSkin("Office 2003");
    CaptionCanvas canvas;
    DrawGripper(pSkin, canvas, CBRS_ALIGN_LEFT, 0);
    EXPECT_EQ(0, DrawnOverRows(canvas, CRect(12, 2, 100, 23), 150));
}

// ---- caption buttons

// Pixels of a rectangle of one canvas that differ from another's.
int Differences(CCanvas& a, CCanvas& b, const CRect& rect) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (a.dc.GetPixel(x, y) != b.dc.GetPixel(x, y))
                ++n;
    return n;
}

// The platform's caption control as the Classic skin should show it at rect.
void DrawReferenceControl(CCanvas& canvas, const CRect& rect, UINT nState) {
    CCanvas control(rect.Width(), rect.Height(), kUnpainted);
    RECT rectControl = {0, 0, rect.Width(), rect.Height()};
    ::DrawFrameControl(control.dc, &rectControl, DFC_CAPTION, nState);
    canvas.dc.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &control.dc, 0, 0, SRCCOPY);
}

TEST_F(DockbarSkinTest, ClassicButtonsAreTheCaptionControlsInTheirStates) {
    COXDockbarSkin* pSkin = DockbarSkin("Classic");
    struct Case {
        DWORD barStyle;
        int pressed;
        BOOL maximized;
        BOOL canResize;
        UINT close, resize;
    } cases[] = {
        {CBRS_ALIGN_LEFT, OX_SIZEBAR_NOBUTTON, FALSE, TRUE, DFCS_CAPTIONCLOSE, DFCS_CAPTIONMAX},
        {CBRS_ALIGN_LEFT, OX_SIZEBAR_CLOSEBTN, FALSE, TRUE, DFCS_CAPTIONCLOSE | DFCS_PUSHED,
         DFCS_CAPTIONMAX},
        {CBRS_ALIGN_BOTTOM, OX_SIZEBAR_RESIZEBTN, FALSE, TRUE, DFCS_CAPTIONCLOSE,
         DFCS_CAPTIONMAX | DFCS_PUSHED},
        {CBRS_ALIGN_LEFT, OX_SIZEBAR_NOBUTTON, TRUE, TRUE, DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN},
        {CBRS_ALIGN_TOP, OX_SIZEBAR_NOBUTTON, FALSE, FALSE, DFCS_CAPTIONCLOSE,
         DFCS_CAPTIONMAX | DFCS_INACTIVE},
        {CBRS_ALIGN_LEFT, OX_SIZEBAR_RESIZEBTN, TRUE, FALSE, DFCS_CAPTIONCLOSE,
         DFCS_CAPTIONMIN | DFCS_PUSHED | DFCS_INACTIVE},
    };
    for (const Case& c : cases) {
        Place(c.barStyle, 0);
        m_pBar->m_nPressedButton = c.pressed;
        m_pBar->m_bMaximized = c.maximized;
        m_pBar->m_bCanResize = c.canResize;
        pSkin->LayoutCaption(m_pBar.get());
        const CRect close = InWindow(m_pBar->m_rectCloseBtn);
        const CRect resize = InWindow(m_pBar->m_rectResizeBtn);
        CaptionCanvas drawn;
        pSkin->DrawCloseButton(&drawn.canvas.dc, m_pBar.get());
        pSkin->DrawResizeButton(&drawn.canvas.dc, m_pBar.get());
        CaptionCanvas expected;
        DrawReferenceControl(expected.canvas, close, c.close);
        DrawReferenceControl(expected.canvas, resize, c.resize);
        const CRect all(0, 0, kBarWidth, kBarHeight);
        EXPECT_EQ(0, Differences(drawn.canvas, expected.canvas, all))
            << Hex(c.barStyle) << " pressed " << c.pressed << " max " << c.maximized;
        // Each state looks different from the plain one.
        CaptionCanvas plain;
        DrawReferenceControl(plain.canvas, resize, DFCS_CAPTIONMAX);
        if (c.resize != DFCS_CAPTIONMAX) {
            EXPECT_GT(Differences(drawn.canvas, plain.canvas, resize), 0) << c.resize;
        }
    }
}

// The cursor where no bar of the test is.
void ParkCursor() {
    ::SetCursorPos(1270, 1010);
}

TEST_F(DockbarSkinTest, XPAndOffice2003ButtonsAreFrameButtonsOnTheCaptionsBackgroundInput) {
    ParkCursor();
    struct Case {
        const char* skin;
        DWORD sizeStyle;
        BOOL canResize;
        BOOL maximized;
        BOOL light;
        COLORREF background;
    } cases[] = {
        {"Office XP", 0, TRUE, FALSE, FALSE, Sys(COLOR_BTNFACE)},
        {"Office XP", SCBS_SOLIDCAPTION, TRUE, TRUE, TRUE, Sys(COLOR_INACTIVECAPTION)},
        {"Office XP", 0, FALSE, FALSE, FALSE, Sys(COLOR_BTNFACE)},
        {"Office 2003", SCBS_SOLIDCAPTION, TRUE, FALSE, FALSE, Sys(COLOR_BTNFACE)},
        {"Office 2003", 0, FALSE, TRUE, FALSE, Sys(COLOR_BTNFACE)},
    };
    for (const Case& c : cases) {
        COXSkinXP* pXP = dynamic_cast<COXSkinXP*>(UseSkin(c.skin));
        COXDockbarSkin* pSkin = pXP->GetDockbarSkin();
        Place(CBRS_ALIGN_LEFT, c.sizeStyle);
        m_pBar->m_bCanResize = c.canResize;
        m_pBar->m_bMaximized = c.maximized;
        pSkin->LayoutCaption(m_pBar.get());
        // 11 x 11 buttons drawn 14 x 14: one more at the left and top, two more
        // at the right and bottom.
        CRect close = InWindow(m_pBar->m_rectCloseBtn);
        CRect resize = InWindow(m_pBar->m_rectResizeBtn);
        close.InflateRect(1, 1, 2, 2);
        resize.InflateRect(1, 1, 2, 2);
        CaptionCanvas drawn;
        pSkin->DrawCloseButton(&drawn.canvas.dc, m_pBar.get());
        pSkin->DrawResizeButton(&drawn.canvas.dc, m_pBar.get());
        CaptionCanvas expected;
        pXP->DrawFrameButton(&expected.canvas.dc, close, DFCS_CAPTIONCLOSE, FALSE, c.light,
                             c.background, m_pBar.get());
        pXP->DrawFrameButton(&expected.canvas.dc, resize,
                             c.maximized ? DFCS_CAPTIONMIN : DFCS_CAPTIONMAX, !c.canResize, c.light,
                             c.background, m_pBar.get());
        const std::string where = std::string(c.skin) + " " + Hex(c.sizeStyle);
        EXPECT_EQ(0, Differences(drawn.canvas, expected.canvas, CRect(0, 0, kBarWidth, kBarHeight)))
            << where;
        // Away from the cursor the corners show the background colour; in
        // Office 2003 the caption's gradient runs on behind the buttons.
        CaptionCanvas band;
        band.canvas.dc.FillSolidRect(0, 0, kBarWidth, kBarHeight, c.background);
        if (auto* p2003 = dynamic_cast<COXSkin2003*>(pXP))
            p2003->FillGradient(&band.canvas.dc, InWindow(m_pBar->m_rectCaption),
                                p2003->GetDockbarLightColor(), p2003->GetDockbarDarkColor(),
                                OX_GRADIENT_VERTICAL);
        EXPECT_EQ(band.At(close.left, close.top), drawn.At(close.left, close.top)) << where;
        EXPECT_EQ(band.At(resize.right - 1, resize.bottom - 1),
                  drawn.At(resize.right - 1, resize.bottom - 1))
            << where;
        EXPECT_EQ(kUnpainted, drawn.At(close.right, close.top)) << where;
        EXPECT_EQ(kUnpainted, drawn.At(close.left, close.top - 1)) << where;
        // The close glyph: white with the light flag, black without. The
        // theme draws the resize glyph in shades, so only its presence counts.
        const COLORREF glyph = c.light ? RGB(255, 255, 255) : RGB(0, 0, 0);
        EXPECT_GT(drawn.Count(glyph, close), 0) << where;
        if (c.canResize) {
            CRect inner = resize;
            inner.DeflateRect(2, 2);
            EXPECT_LT(drawn.Count(c.background, inner), inner.Width() * inner.Height()) << where;
        }
    }
}

// ---- splitters

struct SplitterCase {
    int type;
    CRect rect;
};

TEST_F(DockbarSkinTest, ClassicSplitterLinesInTheFourSystemColours) {
    COXDockbarSkin* pSkin = DockbarSkin("Classic");
    COXSizeDockBar* pDockBar = DockBar(AFX_IDW_DOCKBAR_LEFT);
    const COLORREF face = Sys(COLOR_BTNFACE), light = Sys(COLOR_BTNHIGHLIGHT),
                   frame = Sys(COLOR_WINDOWFRAME), shadow = Sys(COLOR_BTNSHADOW);
    {
        COXSplitterRect splitter(OX_SPLITTER_VERT, CRect(10, 5, 18, 35));
        CCanvas c(40, 40, kUnpainted);
        pSkin->DrawSplitter(&c.dc, &splitter, pDockBar);
        for (int y : {5, 20, 34}) {
            EXPECT_EQ(kUnpainted, c.dc.GetPixel(10, y)) << y;
            EXPECT_EQ(face, c.dc.GetPixel(11, y)) << y;
            EXPECT_EQ(light, c.dc.GetPixel(12, y)) << y;
            EXPECT_EQ(kUnpainted, c.dc.GetPixel(13, y)) << y;
            EXPECT_EQ(kUnpainted, c.dc.GetPixel(15, y)) << y;
            EXPECT_EQ(shadow, c.dc.GetPixel(16, y)) << y;
            EXPECT_EQ(frame, c.dc.GetPixel(17, y)) << y;
        }
        EXPECT_EQ(kUnpainted, c.dc.GetPixel(11, 4));
        EXPECT_EQ(kUnpainted, c.dc.GetPixel(17, 35));
        EXPECT_EQ(40 * 40 - 4 * 30, c.Count(kUnpainted, CRect(0, 0, 40, 40)));
    }
    {
        COXSplitterRect splitter(OX_SPLITTER_HORZ, CRect(5, 10, 35, 18));
        CCanvas c(40, 40, kUnpainted);
        pSkin->DrawSplitter(&c.dc, &splitter, pDockBar);
        for (int x : {5, 20, 34}) {
            EXPECT_EQ(kUnpainted, c.dc.GetPixel(x, 10)) << x;
            EXPECT_EQ(face, c.dc.GetPixel(x, 11)) << x;
            EXPECT_EQ(light, c.dc.GetPixel(x, 12)) << x;
            EXPECT_EQ(kUnpainted, c.dc.GetPixel(x, 14)) << x;
            EXPECT_EQ(shadow, c.dc.GetPixel(x, 16)) << x;
            EXPECT_EQ(frame, c.dc.GetPixel(x, 17)) << x;
        }
        EXPECT_EQ(40 * 40 - 4 * 30, c.Count(kUnpainted, CRect(0, 0, 40, 40)));
    }
    {
        COXSplitterRect splitter(3, CRect(5, 10, 35, 18));
        CCanvas c(40, 40, kUnpainted);
        pSkin->DrawSplitter(&c.dc, &splitter, pDockBar);
        EXPECT_EQ(40 * 40, c.Count(kUnpainted, CRect(0, 0, 40, 40)));
    }
}

TEST_F(DockbarSkinTest, FlatSplittersAreFilledWithALineThroughTheCentre) {
    struct Case {
        const char* skin;
        COLORREF fill, line;
    } cases[] = {
        {"Office XP", Sys(COLOR_BTNFACE), SkinXP()->GetSeparatorColor()},
        {"Office 2003", Skin2003()->GetFaceColor(), Skin2003()->GetDockbarAccentColor()},
    };
    for (const Case& c : cases) {
        COXDockbarSkin* pSkin = DockbarSkin(c.skin);
        COXSizeDockBar* pDockBar = DockBar(AFX_IDW_DOCKBAR_LEFT);
        COXSplitterRect vertical(OX_SPLITTER_VERT, CRect(10, 5, 18, 35));
        CCanvas v(40, 40, kUnpainted);
        pSkin->DrawSplitter(&v.dc, &vertical, pDockBar);
        EXPECT_EQ(30, v.Count(c.line, CRect(14, 5, 15, 35))) << c.skin;
        EXPECT_EQ(7 * 30, v.Count(c.fill, CRect(10, 5, 18, 35))) << c.skin;
        EXPECT_EQ(40 * 40 - 8 * 30, v.Count(kUnpainted, CRect(0, 0, 40, 40))) << c.skin;

        COXSplitterRect horizontal(OX_SPLITTER_HORZ, CRect(5, 10, 35, 17));
        CCanvas h(40, 40, kUnpainted);
        pSkin->DrawSplitter(&h.dc, &horizontal, pDockBar);
        EXPECT_EQ(30, h.Count(c.line, CRect(5, 13, 35, 14))) << c.skin;
        EXPECT_EQ(6 * 30, h.Count(c.fill, CRect(5, 10, 35, 17))) << c.skin;

        // Nothing below y = 8000.
        COXSplitterRect tall(OX_SPLITTER_VERT, CRect(2, 7990, 10, 9000));
        CCanvas t(12, 8010, kUnpainted);
        pSkin->DrawSplitter(&t.dc, &tall, pDockBar);
        EXPECT_EQ(c.fill, t.dc.GetPixel(2, 7999)) << c.skin;
        EXPECT_EQ(c.line, t.dc.GetPixel(6, 7999)) << c.skin;
        EXPECT_EQ(kUnpainted, t.dc.GetPixel(2, 8000)) << c.skin;
        EXPECT_EQ(kUnpainted, t.dc.GetPixel(6, 8005)) << c.skin;
    }
}

// ---- dock bars

TEST_F(DockbarSkinTest, DockBarBackgroundIsFaceOrTheDockAreasHalfGradient) {
    COXSizeDockBar* pDockBar = DockBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(pDockBar, nullptr);
    // Wider than half the screen, so that the solid half shows.
    ::SetWindowPos(pDockBar->m_hWnd, nullptr, 0, 0, 1000, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    pDockBar->GetClientRect(&client);
    ASSERT_GT(client.Width(), 700);
    for (const char* pszSkin : {"Classic", "Office XP"}) {
        COXDockbarSkin* pSkin = DockbarSkin(pszSkin);
        CCanvas c(1100, 50, kUnpainted);
        pSkin->DrawDockBarBackground(&c.dc, pDockBar);
        EXPECT_EQ(client.Width() * client.Height(), c.Count(Sys(COLOR_BTNFACE), client)) << pszSkin;
        EXPECT_EQ(kUnpainted, c.dc.GetPixel(client.right, 0)) << pszSkin;
    }
    COXSkin2003* p2003 = Skin2003();
    const int nCentre = std::max(::GetSystemMetrics(SM_CXSCREEN), client.Width()) / 2;
    ASSERT_LT(nCentre + 10, client.right);
    CCanvas c(1100, 50, kUnpainted);
    p2003->GetDockbarSkin()->DrawDockBarBackground(&c.dc, pDockBar);
    EXPECT_EQ(p2003->GetDockAreaDarkColor(), c.dc.GetPixel(0, 5));
    EXPECT_TRUE(Near(c.dc.GetPixel(nCentre - 1, 5), p2003->GetDockAreaLightColor(), 2))
        << Hex(c.dc.GetPixel(nCentre - 1, 5));
    EXPECT_EQ(p2003->GetDockAreaLightColor(), c.dc.GetPixel(nCentre, 5));
    EXPECT_EQ(p2003->GetDockAreaLightColor(), c.dc.GetPixel(client.right - 1, client.bottom - 1));
}

// The dock bar's non-client pixels, read back from its window.
struct NonClientSample {
    CPoint ptInWindow;
    CPoint ptInClient;
};

TEST_F(DockbarSkinTest, XPDockBarNonClientIsTheFaceColourScreen) {
    COXSkinXP* pXP = SkinXP();
    COXSizeDockBar* pDockBar = DockBar(AFX_IDW_DOCKBAR_TOP);
    pDockBar->ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    ::SetWindowPos(pDockBar->m_hWnd, nullptr, 0, 0, 300, 60,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOREDRAW);
    CRect rectClient;
    pDockBar->GetClientRect(&rectClient);
    {
        CWindowDC dc(pDockBar);
        dc.FillSolidRect(CRect(0, 0, 300, 60), kUnpainted);
    }
    pXP->GetDockbarSkin()->DrawDockBarNonClient(pDockBar);
    CWindowDC dc(pDockBar);
    EXPECT_EQ(pXP->GetFaceColor(), dc.GetPixel(0, 0));
    EXPECT_EQ(pXP->GetFaceColor(), dc.GetPixel(299, 59));
    // The client area is excluded.
    EXPECT_EQ(kUnpainted, dc.GetPixel(150, 30));
}

TEST_F(DockbarSkinTest, Office2003DockBarNonClientIsFlatOnlyWhenItHoldsASizeableBarScreen) {
    COXSkin2003* p2003 = Skin2003();
    COXDockbarSkin* pSkin = p2003->GetDockbarSkin();
    m_pFrame->RecalcLayout();
    PumpPending();
    struct Case {
        UINT id;
        bool holdsSizeBar;
    } cases[] = {{AFX_IDW_DOCKBAR_LEFT, true}, {AFX_IDW_DOCKBAR_TOP, false}};
    for (const Case& c : cases) {
        COXSizeDockBar* pDockBar = DockBar(c.id);
        ASSERT_NE(pDockBar, nullptr);
        // Give the dock bar a non-client border to paint.
        pDockBar->ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
        ::SetWindowPos(pDockBar->m_hWnd, nullptr, 0, 0, 300, 60,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOREDRAW);
        CRect rectWindow, rectClient;
        pDockBar->GetWindowRect(&rectWindow);
        pDockBar->GetClientRect(&rectClient);
        pDockBar->ClientToScreen(&rectClient);
        ASSERT_GT(rectClient.left, rectWindow.left);
        pSkin->DrawDockBarNonClient(pDockBar);
        CWindowDC dc(pDockBar);
        const COLORREF left = dc.GetPixel(0, 30);
        const COLORREF right = dc.GetPixel(rectWindow.Width() - 1, 30);
        if (c.holdsSizeBar) {
            EXPECT_EQ(p2003->GetFaceColor(), left) << Hex(left);
            EXPECT_EQ(p2003->GetFaceColor(), right) << Hex(right);
        } else {
            // The band starts at the frame's left edge, dark there.
            CRect rectFrame;
            m_pFrame->GetWindowRect(&rectFrame);
            const int nWidth = std::max(::GetSystemMetrics(SM_CXSCREEN), rectFrame.Width());
            const int nLeft = rectFrame.left - rectWindow.left;
            const COLORREF dark = p2003->GetDockAreaDarkColor();
            const COLORREF light = p2003->GetDockAreaLightColor();
            EXPECT_TRUE(
                Near(left, dark,
                     std::abs(GetGValue(light) - GetGValue(dark)) * (1 - nLeft) / (nWidth / 2) + 2))
                << Hex(left) << " " << Hex(dark);
            EXPECT_NE(left, p2003->GetFaceColor());
        }
    }
}

} // namespace
