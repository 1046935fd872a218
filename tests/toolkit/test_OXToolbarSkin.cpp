// Tests of the toolbar skins of the three families, drawn into canvases and
// read back at the pixels whose colours the skins fix: separators, the Classic
// gripper, hot buttons (raised with a shadow in Office XP, flat in Office
// 2003), the rounded corners of the 2003 ring, the Classic tint of custom
// draw, and the forwarded custom draw a frame may take over; and screenshots
// of a docked toolbar in each family.
#include "CoolBarTestFrame.h"

#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"
#include "tests/support/ColorCheck.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

COXSkinnedApp theApp;

const COLORREF kUnpainted = RGB(1, 2, 3); // a colour no skin draws here
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(220, 0, 0);

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

COXSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return theApp.GetCurrentSkin();
}

COXToolbarSkin* ToolbarSkin(const char* pszName) {
    return UseSkin(pszName)->GetToolbarSkin();
}

class ToolbarSkinTest : public CoolBarTest {
protected:
    void TearDown() override {
        CoolBarTest::TearDown();
        theApp.SetCurrentSkin("Office XP");
    }
    void SetVertical(bool bVertical) {
        m_pBar->m_dwStyle =
            (m_pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | (bVertical ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP);
    }
};

TEST_F(ToolbarSkinTest, SeparatorsOfEachFamily) {
    MakeBar({kFirstCommand});
    const int cxButton = m_pBar->GetButtonsSize().cx;
    const COLORREF crShadow = Sys(COLOR_BTNSHADOW);
    const COLORREF crHighlight = Sys(COLOR_BTNHIGHLIGHT);
    struct Probe {
        int x, y;
        COLORREF color; // kUnpainted: left alone
    };
    struct Case {
        const char* pszSkin;
        bool bVertical;
        CRect rectItem;
        std::vector<Probe> probes;
    };
    const COLORREF crXP = dynamic_cast<COXSkinXP*>(UseSkin("Office XP"))->GetSeparatorColor();
    const COLORREF cr2003 = dynamic_cast<COXSkinXP*>(UseSkin("Office 2003"))->GetSeparatorColor();
    const Case cases[] = {
        // Classic: an etched pair around the middle, nothing past 8 pixels.
        {"Classic",
         false,
         CRect(10, 0, 16, 22),
         {{12, 5, crShadow}, {13, 5, crHighlight}, {11, 5, kUnpainted}, {14, 5, kUnpainted}}},
        {"Classic", false, CRect(10, 0, 22, 22), {{15, 5, kUnpainted}, {16, 5, kUnpainted}}},
        {"Classic",
         true,
         CRect(40, 30, 46, 36),
         {{40 - cxButton, 37, crShadow},
          {40 - cxButton + 3, 38, crHighlight},
          {20, 36, kUnpainted},
          {20, 39, kUnpainted}}},
        // Office XP: one line at the centre less one, across the longer side.
        {"Office XP",
         false,
         CRect(10, 0, 16, 22),
         {{12, 0, crXP}, {12, 21, crXP}, {13, 10, kUnpainted}, {11, 10, kUnpainted}}},
        {"Office XP",
         false,
         CRect(0, 40, 30, 46),
         {{0, 42, crXP}, {29, 42, crXP}, {5, 43, kUnpainted}}},
        // Office 2003: shortened by 4 at both ends, with a white line below right.
        {"Office 2003",
         false,
         CRect(10, 0, 16, 22),
         {{12, 3, kUnpainted},
          {12, 4, cr2003},
          {12, 17, cr2003},
          {12, 18, kUnpainted},
          {13, 5, kWhite},
          {13, 18, kWhite},
          {13, 4, kUnpainted}}},
    };
    for (const Case& c : cases) {
        COXToolbarSkin* pSkin = ToolbarSkin(c.pszSkin);
        SetVertical(c.bVertical);
        CCanvas canvas(80, 60, kUnpainted);
        CRect rect = c.rectItem;
        pSkin->DrawSeparator(&canvas.dc, rect, m_pBar);
        for (const Probe& probe : c.probes)
            EXPECT_EQ(Hex(canvas.dc.GetPixel(probe.x, probe.y)), Hex(probe.color))
                << c.pszSkin << " " << c.rectItem.left << "," << c.rectItem.top << " at " << probe.x
                << "," << probe.y;
    }
    SetVertical(false);
}

TEST_F(ToolbarSkinTest, TheClassicGripperIsTwoRaisedBarsAndAFloatingBarHasNone) {
    MakeBar({kFirstCommand});
    ASSERT_NE(m_pBar->m_pDockContext, nullptr);
    COXToolbarSkin* pSkin = ToolbarSkin("Classic");
    CCanvas canvas(40, 26, kUnpainted);
    CRect rect(0, 0, 40, 26);
    pSkin->DrawGripper(&canvas.dc, rect, m_pBar);
    // Bars at x 3..5 and 6..8, y 2..23: light top-left, dark bottom-right.
    EXPECT_EQ(Hex(canvas.dc.GetPixel(3, 2)), Hex(Sys(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Hex(canvas.dc.GetPixel(5, 23)), Hex(Sys(COLOR_BTNSHADOW)));
    EXPECT_EQ(Hex(canvas.dc.GetPixel(6, 2)), Hex(Sys(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Hex(canvas.dc.GetPixel(8, 23)), Hex(Sys(COLOR_BTNSHADOW)));
    EXPECT_EQ(Hex(canvas.dc.GetPixel(2, 10)), Hex(kUnpainted));
    EXPECT_EQ(Hex(canvas.dc.GetPixel(9, 10)), Hex(kUnpainted));
    EXPECT_EQ(Hex(canvas.dc.GetPixel(4, 24)), Hex(kUnpainted));

    m_pFrame->FloatControlBar(m_pBar, CPoint(200, 200), CBRS_ALIGN_TOP);
    ASSERT_TRUE(m_pBar->IsFloating());
    for (const char* pszSkin : {"Classic", "Office XP", "Office 2003"}) {
        CCanvas floating(40, 26, kUnpainted);
        CRect rectAll(0, 0, 40, 26);
        ToolbarSkin(pszSkin)->DrawGripper(&floating.dc, rectAll, m_pBar);
        EXPECT_EQ(floating.Count(kUnpainted, rectAll), 40 * 26) << pszSkin;
    }
}

TEST_F(ToolbarSkinTest, AHotButtonIsRaisedWithAShadowInXpAndFlatIn2003) {
    MakeBar({kFirstCommand, kFirstCommand + 1});
    m_pBar->SendMessage(TB_SETHOTITEM, 0);
    ASSERT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), 0);
    TBBUTTON button = {};
    m_pBar->SendMessage(TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
    // The image (16 by 15) centres at (3, 3) in a 23 by 22 button; its red
    // square covers (3..12, 2..11) of the image.
    const CRect rectButton(0, 0, 23, 22);
    struct Case {
        const char* pszSkin;
        CPoint ptImage;
        bool bShadow;
    } cases[] = {{"Office XP", CPoint(2, 2), true}, {"Office 2003", CPoint(3, 3), false}};
    for (const Case& c : cases) {
        auto* pSkin = dynamic_cast<COXToolbarSkinXP*>(ToolbarSkin(c.pszSkin));
        ASSERT_NE(pSkin, nullptr);
        CCanvas canvas(30, 30, kUnpainted);
        pSkin->DrawButton(&canvas.dc, button, rectButton, m_pBar, FALSE);
        // The square's top-left and bottom-right pixels.
        EXPECT_EQ(Hex(canvas.dc.GetPixel(c.ptImage.x + 3, c.ptImage.y + 2)), Hex(kRed))
            << c.pszSkin;
        EXPECT_EQ(Hex(canvas.dc.GetPixel(c.ptImage.x + 12, c.ptImage.y + 11)), Hex(kRed))
            << c.pszSkin;
        // Below and right of the square: the shadow, two pixels further on.
        const COLORREF crBelow = canvas.dc.GetPixel(c.ptImage.x + 14, c.ptImage.y + 13);
        EXPECT_EQ(Hex(crBelow), Hex(c.bShadow ? Sys(COLOR_BTNSHADOW) : kUnpainted)) << c.pszSkin;
        // In front of the square nothing is drawn.
        EXPECT_EQ(Hex(canvas.dc.GetPixel(c.ptImage.x + 2, c.ptImage.y + 1)), Hex(kUnpainted))
            << c.pszSkin;
    }
}

TEST_F(ToolbarSkinTest, TheRingOf2003KeepsItsCornerPixelsFromTheBand) {
    MakeBar({kFirstCommand, kFirstCommand + 1});
    COXToolbarSkin* pSkin = ToolbarSkin("Office 2003");
    auto* pSkin2003 = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
    CRect rectWindow;
    m_pBar->GetWindowRect(&rectWindow);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    CCanvas canvas(rectWindow.Width(), rectWindow.Height(), kUnpainted);
    CRect rect = rectWindow;
    pSkin->DrawNonClient(&canvas.dc, rect, m_pBar);
    const int r = rectWindow.right - 3, b = rectWindow.bottom - 3;
    // The ring's top row is the toolbar gradient's start colour.
    EXPECT_TRUE(
        Near(canvas.dc.GetPixel(rectWindow.Width() / 2, 2), pSkin2003->GetToolbarLightColor(), 2));
    const CPoint corners[] = {{2, 2}, {r, 2}, {2, b}, {r, b}};
    for (const CPoint& pt : corners) {
        const COLORREF crCorner = canvas.dc.GetPixel(pt.x, pt.y);
        // The band's colour, as just outside the ring, not the ring's.
        const COLORREF crOutside = canvas.dc.GetPixel(pt.x < 5 ? 1 : r + 1, pt.y);
        EXPECT_TRUE(Near(crCorner, crOutside, 2))
            << pt.x << "," << pt.y << " " << Hex(crCorner) << " " << Hex(crOutside);
        const COLORREF crInside = canvas.dc.GetPixel(pt.x < 5 ? 3 : r - 1, pt.y);
        EXPECT_EQ(Hex(crInside), Hex(canvas.dc.GetPixel(pt.x < 5 ? 4 : r - 2, pt.y)));
    }
    EXPECT_EQ(canvas.Count(kUnpainted, rectWindow), 0);
}

TEST_F(ToolbarSkinTest, AFrameThatDrawsTheForwardedItemStopsTheSkin) {
    MakeBar({kFirstCommand});
    COXToolbarSkin* pSkin = ToolbarSkin("Classic");
    CCanvas canvas(60, 40, kUnpainted);
    NMTBCUSTOMDRAW custom = {};
    custom.nmcd.hdr.hwndFrom = m_pBar->m_hWnd;
    custom.nmcd.hdr.idFrom = kBarID;
    custom.nmcd.hdr.code = NM_CUSTOMDRAW;
    custom.nmcd.dwDrawStage = CDDS_PREPAINT;
    custom.nmcd.hdc = canvas.dc.GetSafeHdc();

    m_pFrame->m_bDrawItself = TRUE;
    m_pFrame->m_lDrawResult = 0x1234;
    LRESULT lResult = 0;
    int nForwarded = m_pFrame->m_nForwarded; // the bar's own paints forward too
    pSkin->OnCustomDraw(&custom.nmcd.hdr, &lResult, m_pBar);
    EXPECT_EQ(m_pFrame->m_nForwarded, nForwarded + 1);
    EXPECT_EQ(lResult, 0x1234);
    EXPECT_EQ(canvas.Count(kUnpainted, CRect(0, 0, 60, 40)), 60 * 40);

    // Left to the skin: the Classic pre-paint fills the face and asks for items.
    m_pFrame->m_bDrawItself = FALSE;
    nForwarded = m_pFrame->m_nForwarded;
    pSkin->OnCustomDraw(&custom.nmcd.hdr, &lResult, m_pBar);
    EXPECT_EQ(m_pFrame->m_nForwarded, nForwarded + 1);
    EXPECT_EQ(lResult, CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(Hex(canvas.dc.GetPixel(1, 1)), Hex(Sys(COLOR_BTNFACE)));
}

TEST_F(ToolbarSkinTest, ClassicItemsTakeTheBarsColoursOnlyWhereSet) {
    MakeBar({kFirstCommand});
    COXToolbarSkin* pSkin = ToolbarSkin("Classic");
    NMTBCUSTOMDRAW custom = {};
    custom.nmcd.hdr.hwndFrom = m_pBar->m_hWnd;
    custom.nmcd.hdr.idFrom = kBarID;
    custom.nmcd.hdr.code = NM_CUSTOMDRAW;
    custom.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    custom.nmcd.dwItemSpec = kFirstCommand;
    custom.nmcd.uItemState = CDIS_HOT;
    custom.nmcd.rc = CRect(0, 0, 23, 22);
    custom.clrText = kUnpainted;

    // No colour set: the control draws alone.
    CCanvas plain(30, 30, kUnpainted);
    custom.nmcd.hdc = plain.dc.GetSafeHdc();
    LRESULT lResult = 0;
    pSkin->OnCustomDraw(&custom.nmcd.hdr, &lResult, m_pBar);
    EXPECT_EQ(lResult, CDRF_NOTIFYPOSTPAINT);
    EXPECT_EQ(plain.Count(kUnpainted, CRect(0, 0, 30, 30)), 30 * 30);
    EXPECT_EQ(custom.clrText, kUnpainted);

    // Hot colours: a frame, the fill inside it, and no edges of the control.
    m_pBar->SetColors(RGB(0, 200, 0), RGB(0, 0, 200));
    CCanvas tinted(30, 30, kUnpainted);
    custom.nmcd.hdc = tinted.dc.GetSafeHdc();
    pSkin->OnCustomDraw(&custom.nmcd.hdr, &lResult, m_pBar);
    EXPECT_EQ(lResult, CDRF_NOTIFYPOSTPAINT | TBCDRF_NOEDGES);
    EXPECT_EQ(Hex(tinted.dc.GetPixel(0, 0)), Hex(RGB(0, 0, 200)));
    EXPECT_EQ(Hex(tinted.dc.GetPixel(22, 21)), Hex(RGB(0, 0, 200)));
    EXPECT_EQ(Hex(tinted.dc.GetPixel(1, 1)), Hex(RGB(0, 200, 0)));
    EXPECT_EQ(Hex(tinted.dc.GetPixel(23, 22)), Hex(kUnpainted));
}

TEST_F(ToolbarSkinTest, ScreenADockedToolbarInEachFamily) {
    MakeBar({kFirstCommand, kFirstCommand + 1, 0, kFirstCommand + 2, kFirstCommand + 3});
    m_pBar->SetButtonState(3, TBSTATE_ENABLED | TBSTATE_CHECKED);
    m_pBar->SetButtonStyle(4, TBSTYLE_DROPDOWN);
    m_pFrame->RecalcLayout();
    CRect rectChecked;
    m_pBar->GetItemRect(3, &rectChecked);
    // A point of the checked button's face, off its image.
    const CPoint ptFace(rectChecked.left + 2, rectChecked.CenterPoint().y);
    for (const char* pszSkin : {"Classic", "Office XP", "Office 2003"}) {
        ASSERT_TRUE(theApp.SetCurrentSkin(pszSkin));
        m_pBar->SendMessage(TB_SETHOTITEM, 1);
        m_pBar->RedrawWindow(nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        Settle(300);
        CRect rectBar;
        m_pBar->GetWindowRect(&rectBar);
        rectBar.InflateRect(4, 4);
        std::string name = std::string("toolbar_") + pszSkin + ".png";
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        EXPECT_TRUE(SaveScreenPng(rectBar, name.c_str()));
        CRect rectClient;
        m_pBar->GetClientRect(&rectClient);
        m_pBar->ClientToScreen(&rectClient);
        CCanvas shot(rectClient.Width(), rectClient.Height(), kUnpainted);
        CaptureScreen(shot, rectClient);
        const COLORREF crFace = shot.dc.GetPixel(ptFace.x, ptFace.y);
        if (strcmp(pszSkin, "Office XP") == 0) {
            auto* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
            EXPECT_TRUE(Near(crFace, pSkin->GetCheckedColor(), 2)) << Hex(crFace);
        } else if (strcmp(pszSkin, "Office 2003") == 0) {
            // Between the checked gradient's start and end colours.
            auto* pSkin = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
            const COLORREF crStart = pSkin->GetCheckedGradientStart();
            const COLORREF crEnd = pSkin->GetCheckedGradientEnd();
            EXPECT_GE(GetGValue(crFace) + 2, std::min(GetGValue(crStart), GetGValue(crEnd)));
            EXPECT_LE(GetGValue(crFace), std::max(GetGValue(crStart), GetGValue(crEnd)) + 2);
            EXPECT_NE(Hex(crFace), Hex(pSkin->GetToolbarLightColor()));
        }
    }
}

} // namespace
