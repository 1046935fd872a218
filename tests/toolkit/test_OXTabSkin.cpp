// Tests of the tab skins of the three families: the colour helpers they add
// to the XP skin; items drawn into a bitmap (faces, edges of the selected
// item, separators, row lines, focus rectangles); borders, arrows and the
// hover edge of the scroll arrows; how far the MDI client may grow; which
// items the scroll arrows hide; and, read back from the screen, the whole
// painting of skinned tab controls: the strip and its line on either side,
// an empty control, the arrows over the strip and the Classic family's
// system painting. Screenshots of each family and of the dock-bar tabs in
// "Office 2003" are kept.
#include "native/gtest.h"

#include "SizeDockFrameTest.h"

#include "toolkit/OXDockTabCtrl.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkinnedTabCtrl.h"
#include "toolkit/OXTabSkin.h"

#include "tests/support/ColorCheck.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

COXSkinnedApp theApp;

const COLORREF kUnpainted = RGB(1, 2, 3); // a colour no skin draws here
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

COXSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return theApp.GetCurrentSkin();
}

COXTabSkinXP* SkinXPFamily(const char* pszName) {
    return dynamic_cast<COXTabSkinXP*>(UseSkin(pszName)->GetTabSkin());
}

// A top-level window holding one skinned tab control of kTabWidth x kTabHeight.
class TabSkinTest : public ::testing::Test {
protected:
    static const int kTabWidth = 360;
    static const int kTabHeight = 120;

    void SetUp() override {
        theApp.m_pMainWnd = nullptr;
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "Tabs",
                                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 420, 320,
                                    nullptr, nullptr));
    }
    void TearDown() override {
        m_tabs.reset();
        m_host.DestroyWindow();
        PumpPending();
    }

    // A fresh control of dwStyle (TCS_*) with the given tab texts and selection.
    COXSkinnedTabCtrl& MakeTabs(DWORD dwStyle, std::initializer_list<const char*> texts,
                                int nSelected, int x = 10, int y = 10) {
        m_tabs = std::make_unique<COXSkinnedTabCtrl>();
        EXPECT_TRUE(m_tabs->Create(WS_CHILD | WS_VISIBLE | dwStyle,
                                   CRect(x, y, x + kTabWidth, y + kTabHeight), &m_host, 100));
        int i = 0;
        for (const char* pszText : texts)
            m_tabs->InsertItem(i++, pszText);
        m_tabs->SetCurSel(nSelected);
        return *m_tabs;
    }
    // Draws item nItem of the control as the skin's paint does, into dc.
    static void DrawItemInto(COXTabSkinXP* pSkin, CTabCtrl& tabs, int nItem, CDC& dc) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_TAB;
        dis.itemID = static_cast<UINT>(nItem);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = tabs.GetCurSel() == nItem ? ODS_SELECTED : 0;
        dis.hwndItem = tabs.m_hWnd;
        dis.hDC = dc.m_hDC;
        tabs.GetItemRect(nItem, &dis.rcItem);
        pSkin->DrawItem(&dis, &tabs);
        pSkin->DrawItemEdges(&dis, &tabs);
    }
    static CRect ItemRect(CTabCtrl& tabs, int nItem) {
        CRect rect;
        tabs.GetItemRect(nItem, &rect);
        return rect;
    }
    static CRect DisplayRect(CTabCtrl& tabs) {
        CRect rect;
        tabs.GetClientRect(&rect);
        tabs.AdjustRect(FALSE, &rect);
        return rect;
    }

    CWnd m_host;
    std::unique_ptr<COXSkinnedTabCtrl> m_tabs;
};

} // namespace

TEST(TabSkinColours, ScaleColorTruncatesAndCapsEachChannel) {
    struct Case {
        COLORREF crIn;
        float r, g, b;
        COLORREF crOut;
    } cases[] = {
        {RGB(100, 100, 100), 1.2f, 1.2f, 1.2f, RGB(120, 120, 120)},
        {RGB(212, 208, 200), 1.2f, 1.2f, 1.2f, RGB(254, 249, 240)},
        {RGB(215, 10, 3), 1.2f, 1.5f, 1.5f, RGB(255, 15, 4)},
        {RGB(255, 255, 255), 1.0f, 0.5f, 0.0f, RGB(255, 127, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COXSkinXP::ScaleColor(c.crIn, c.r, c.g, c.b), c.crOut) << Hex(c.crIn);
    EXPECT_EQ(COXSkinXP::GetLightFaceColor(),
              COXSkinXP::ScaleColor(Sys(COLOR_BTNFACE), 1.2f, 1.2f, 1.2f));
}

TEST_F(TabSkinTest, EachFamilyIsItsOwnTabSkin) {
    EXPECT_NE(dynamic_cast<COXTabSkinClassic*>(UseSkin("Classic")->GetTabSkin()), nullptr);
    COXTabSkin* pXP = UseSkin("Office XP")->GetTabSkin();
    EXPECT_NE(dynamic_cast<COXTabSkinXP*>(pXP), nullptr);
    EXPECT_EQ(dynamic_cast<COXTabSkin2003*>(pXP), nullptr);
    EXPECT_NE(dynamic_cast<COXTabSkin2003*>(UseSkin("Office 2003")->GetTabSkin()), nullptr);
    // The control asks the current skin at every call.
    COXSkinnedTabCtrl& tabs = MakeTabs(0, {"A"}, 0);
    EXPECT_EQ(tabs.GetTabSkin(), theApp.GetCurrentSkin()->GetTabSkin());
    EXPECT_EQ(tabs.m_spin.GetTabSkin(), theApp.GetCurrentSkin()->GetTabSkin());
}

TEST_F(TabSkinTest, ItemFacesPerFamily) {
    for (const char* pszSkin : {"Office XP", "Office 2003"}) {
        SCOPED_TRACE(pszSkin);
        COXTabSkinXP* pSkin = SkinXPFamily(pszSkin);
        auto* p2003 = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
        for (DWORD dwSide : {DWORD(0), DWORD(TCS_BOTTOM)}) {
            SCOPED_TRACE(dwSide ? "bottom" : "top");
            COXSkinnedTabCtrl& tabs = MakeTabs(dwSide, {"One", "Two"}, 1);
            CCanvas canvas(kTabWidth, kTabHeight, kUnpainted);
            DrawItemInto(pSkin, tabs, 0, canvas.dc);
            DrawItemInto(pSkin, tabs, 1, canvas.dc);
            for (int nItem : {0, 1}) {
                const CRect r = ItemRect(tabs, nItem);
                // Inside the edges and row lines: the face near its top and bottom.
                const COLORREF crTop = canvas.dc.GetPixel(r.left + 2, r.top + 1);
                const COLORREF crBottom = canvas.dc.GetPixel(r.left + 2, r.bottom - 2);
                if (p2003 == nullptr) {
                    const COLORREF crFace =
                        nItem == 1 ? Sys(COLOR_BTNFACE) : COXSkinXP::GetLightFaceColor();
                    EXPECT_EQ(crTop, crFace) << Hex(crTop);
                    EXPECT_EQ(crBottom, crFace) << Hex(crBottom);
                    continue;
                }
                // Gradients: the item's colour next to the display area, the
                // other at its far edge.
                COLORREF crNear =
                    nItem == 1 ? p2003->GetTabSelectedDarkColor() : p2003->GetTabLightColor();
                COLORREF crFar =
                    nItem == 1 ? p2003->GetTabSelectedLightColor() : p2003->GetTabDarkColor();
                const int nStep = std::abs(GetGValue(crNear) - GetGValue(crFar)) / 3 + 2;
                EXPECT_TRUE(Near(crTop, dwSide ? crNear : crFar, nStep))
                    << Hex(crTop) << " " << Hex(dwSide ? crNear : crFar);
                EXPECT_TRUE(Near(crBottom, dwSide ? crFar : crNear, nStep))
                    << Hex(crBottom) << " " << Hex(dwSide ? crFar : crNear);
            }
        }
    }
}

TEST_F(TabSkinTest, SelectedEdgesSeparatorsAndRowLines) {
    struct Case {
        const char* skin;
        DWORD dwSide;
    } cases[] = {{"Office XP", 0},
                 {"Office XP", TCS_BOTTOM},
                 {"Office 2003", 0},
                 {"Office 2003", TCS_BOTTOM}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.skin) + (c.dwSide ? ", bottom" : ", top"));
        COXTabSkinXP* pSkin = SkinXPFamily(c.skin);
        auto* pXP = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
        const bool b2003 = dynamic_cast<COXSkin2003*>(pXP) != nullptr;
        const COLORREF crSeparator = b2003 ? pXP->GetOutlineColor() : Sys(COLOR_BTNSHADOW);
        const bool bBottom = c.dwSide != 0;

        // Items 0 and 1 unselected, 2 selected: item 0 has a separator, item 1
        // none (its right neighbour is selected).
        COXSkinnedTabCtrl& tabs = MakeTabs(c.dwSide, {"First", "Second", "Third"}, 2);
        CCanvas canvas(kTabWidth, kTabHeight, kUnpainted);
        for (int i = 0; i < 3; ++i)
            DrawItemInto(pSkin, tabs, i, canvas.dc);
        const CRect r0 = ItemRect(tabs, 0), r1 = ItemRect(tabs, 1), r2 = ItemRect(tabs, 2);
        const int yMid0 = r0.CenterPoint().y;
        EXPECT_EQ(canvas.dc.GetPixel(r0.right - 1, yMid0), crSeparator);
        EXPECT_EQ(canvas.dc.GetPixel(r0.right - 1, r0.top + 3), crSeparator);
        EXPECT_NE(canvas.dc.GetPixel(r0.right - 1, r0.bottom - 3), crSeparator);
        EXPECT_NE(canvas.dc.GetPixel(r1.right - 1, r1.CenterPoint().y), crSeparator);

        // The row line of the unselected items: black (bottom) or white (top)
        // along the edge toward the display area.
        if (bBottom)
            EXPECT_EQ(canvas.dc.GetPixel(r0.left + 4, r0.top), kBlack);
        else
            EXPECT_EQ(canvas.dc.GetPixel(r0.left + 4, r0.bottom - 1), kWhite);

        // The selected item: white on the left, black on the right, and along
        // the far edge white (top) or black (bottom).
        const int yMid2 = r2.CenterPoint().y;
        EXPECT_EQ(canvas.dc.GetPixel(r2.left, yMid2), kWhite);
        EXPECT_EQ(canvas.dc.GetPixel(r2.right - 1, yMid2), kBlack);
        if (bBottom)
            EXPECT_EQ(canvas.dc.GetPixel(r2.left + 4, r2.bottom - 1), kBlack);
        else
            EXPECT_EQ(canvas.dc.GetPixel(r2.left + 4, r2.top), kWhite);
    }
}

TEST_F(TabSkinTest, FocusRectangleOnlyWithoutFocusNever) {
    COXTabSkinXP* pSkin = SkinXPFamily("Office XP");
    for (DWORD dwFocus : {DWORD(0), DWORD(TCS_FOCUSNEVER)}) {
        SCOPED_TRACE(dwFocus ? "TCS_FOCUSNEVER" : "focus allowed");
        COXSkinnedTabCtrl& tabs = MakeTabs(dwFocus, {"Selected", "Other"}, 0);
        CCanvas canvas(kTabWidth, kTabHeight, kUnpainted);
        DrawItemInto(pSkin, tabs, 0, canvas.dc);
        const CRect r = ItemRect(tabs, 0);
        // The focus rectangle's top line lies 2 pixels inside, above the text.
        const CRect rectLine(r.left + 3, r.top + 2, r.right - 3, r.top + 3);
        const int nFace = canvas.Count(Sys(COLOR_BTNFACE), rectLine);
        if (dwFocus)
            EXPECT_EQ(nFace, rectLine.Width());
        else
            EXPECT_LT(nFace, rectLine.Width() * 3 / 4);
    }
}

TEST_F(TabSkinTest, BordersPerFamily) {
    struct Case {
        const char* skin;
        COLORREF topLeft, bottomRight;
    };
    UseSkin("Office XP");
    const COLORREF crOutlineXP =
        dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin())->GetOutlineColor();
    UseSkin("Office 2003");
    const COLORREF crOutline2003 =
        dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin())->GetOutlineColor();
    const Case cases[] = {
        {"Classic", Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)},
        {"Office XP", crOutlineXP, crOutlineXP},
        {"Office 2003", crOutline2003, crOutline2003},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        CCanvas canvas(40, 30, kUnpainted);
        UseSkin(c.skin)->GetTabSkin()->DrawBorder(&canvas.dc, CRect(2, 2, 38, 28), &m_host);
        EXPECT_EQ(canvas.dc.GetPixel(2, 10), c.topLeft);
        EXPECT_EQ(canvas.dc.GetPixel(20, 2), c.topLeft);
        EXPECT_EQ(canvas.dc.GetPixel(37, 10), c.bottomRight);
        EXPECT_EQ(canvas.dc.GetPixel(20, 27), c.bottomRight);
        EXPECT_EQ(canvas.dc.GetPixel(20, 10), kUnpainted);
    }
}

TEST(TabSkinArrows, ArrowsAreOutlinedTrianglesFilledOnlyWhenGiven) {
    CPen pen(PS_SOLID, 1, RGB(0, 0, 200));
    CBrush brush(RGB(200, 0, 0));
    const CRect box(0, 0, 14, 16); // arrow at x 5..9, y 4..12, middle 8
    struct Case {
        const char* name;
        bool bLeft;
        CBrush* pBrush;
        CPoint ptTip, ptInside;
        COLORREF crInside;
    } cases[] = {
        {"left, can act", true, &brush, CPoint(5, 7), CPoint(8, 7), RGB(200, 0, 0)},
        {"left, at the start", true, nullptr, CPoint(5, 7), CPoint(8, 7), kWhite},
        {"right, can act", false, &brush, CPoint(9, 7), CPoint(6, 7), RGB(200, 0, 0)},
        {"right, at the end", false, nullptr, CPoint(9, 7), CPoint(6, 7), kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCanvas canvas(box.Width(), box.Height(), kUnpainted);
        canvas.dc.SelectStockObject(WHITE_BRUSH);
        if (c.bLeft)
            COXTabSkinXP::DrawLeftArrow(&canvas.dc, box, &pen, c.pBrush);
        else
            COXTabSkinXP::DrawRightArrow(&canvas.dc, box, &pen, c.pBrush);
        EXPECT_EQ(canvas.dc.GetPixel(c.ptTip), RGB(0, 0, 200));
        EXPECT_EQ(canvas.dc.GetPixel(c.ptInside), c.crInside);
        EXPECT_EQ(canvas.dc.GetPixel(1, 1), kUnpainted);
        EXPECT_EQ(canvas.dc.GetPixel(12, 14), kUnpainted);
    }
}

TEST(TabSkinArrows, HoverEdgeIsRaisedInsideTheBox) {
    CCanvas canvas(16, 16, kUnpainted);
    ASSERT_GE(::GetKeyState(VK_LBUTTON), 0);
    COXTabSkinXP::DrawSpinButtonEdge(&canvas.dc, CRect(0, 0, 15, 16));
    EXPECT_EQ(canvas.dc.GetPixel(1, 8), kWhite);  // left
    EXPECT_EQ(canvas.dc.GetPixel(7, 1), kWhite);  // top
    EXPECT_EQ(canvas.dc.GetPixel(14, 8), kBlack); // right
    EXPECT_EQ(canvas.dc.GetPixel(7, 15), kBlack); // bottom
    EXPECT_EQ(canvas.dc.GetPixel(0, 8), kUnpainted);
    EXPECT_EQ(canvas.dc.GetPixel(7, 8), kUnpainted);
}

TEST_F(TabSkinTest, AdjustClientRectGrowsOverThinMargins) {
    struct Case {
        const char* skin;
        DWORD dwSide;
        CRect grow;
    } cases[] = {
        {"Classic", 0, CRect(0, 0, 0, 0)},
        {"Office XP", 0, CRect(5, 0, 5, 5)},
        {"Office 2003", TCS_BOTTOM, CRect(5, 5, 5, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        COXSkinnedTabCtrl& tabs = MakeTabs(c.dwSide, {"A"}, 0);
        CRect rect(100, 100, 200, 200);
        UseSkin(c.skin)->GetTabSkin()->AdjustClientRect(rect, 5, &tabs);
        CRect expected(100, 100, 200, 200);
        expected.InflateRect(c.grow);
        EXPECT_EQ(rect, expected);
        // A control without a client area changes nothing.
        tabs.MoveWindow(0, 0, 0, 0);
        rect.SetRect(100, 100, 200, 200);
        UseSkin(c.skin)->GetTabSkin()->AdjustClientRect(rect, 5, &tabs);
        EXPECT_EQ(rect, CRect(100, 100, 200, 200));
    }
}

TEST_F(TabSkinTest, ItemsBehindTheArrowsAreCutOrLeftOut) {
    UseSkin("Office XP");
    COXSkinnedTabCtrl& tabs = MakeTabs(
        0, {"January", "February", "March", "April", "May", "June", "July", "August", "September"},
        0);
    tabs.UpdateWindow();
    // The first paint found the arrows and subclassed them.
    ASSERT_NE(tabs.m_spin.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(tabs.m_spin.m_hWnd), &tabs.m_spin);
    EXPECT_EQ(COXTabSkinXP::GetSpinControl(&tabs), &tabs.m_spin);
    ASSERT_TRUE(tabs.m_spin.IsWindowVisible());
    CRect rectClient, rectSpin;
    tabs.GetClientRect(&rectClient);
    tabs.m_spin.GetClientRect(&rectSpin);
    const int xSpin = rectClient.right - rectSpin.Width();
    struct Case {
        const char* name;
        CRect item;
        BOOL bAccepted;
        int nRight;
    } cases[] = {
        {"before the arrows", CRect(10, 2, 60, 20), TRUE, 60},
        {"under their left edge", CRect(xSpin - 20, 2, xSpin + 20, 20), TRUE, xSpin},
        {"ending at it", CRect(xSpin - 20, 2, xSpin, 20), TRUE, xSpin},
        {"behind them", CRect(xSpin + 1, 2, xSpin + 40, 20), FALSE, 0},
        {"scrolled out on the left", CRect(-40, 2, 3, 20), FALSE, 0},
        {"just visible on the left", CRect(-40, 2, 4, 20), TRUE, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRect rect = c.item;
        EXPECT_EQ(COXTabSkinXP::ClipItemToSpin(&tabs, rect), c.bAccepted);
        if (c.bAccepted) {
            EXPECT_EQ(rect.right, c.nRight);
        }
    }
    // A plain tab control has no arrows of its own to clip to.
    CTabCtrl plain;
    ASSERT_TRUE(plain.Create(WS_CHILD, CRect(0, 0, 100, 30), &m_host, 101));
    EXPECT_EQ(COXTabSkinXP::GetSpinControl(&plain), nullptr);
    CRect rect(500, 0, 600, 20);
    EXPECT_TRUE(COXTabSkinXP::ClipItemToSpin(&plain, rect));
    EXPECT_EQ(rect, CRect(500, 0, 600, 20));
    // IsNextItemSelected looks only at the next item.
    tabs.SetCurSel(3);
    EXPECT_TRUE(COXTabSkinXP::IsNextItemSelected(&tabs, 2));
    EXPECT_FALSE(COXTabSkinXP::IsNextItemSelected(&tabs, 3));
    EXPECT_FALSE(COXTabSkinXP::IsNextItemSelected(&tabs, 1));
    tabs.SetCurSel(8);
    EXPECT_FALSE(COXTabSkinXP::IsNextItemSelected(&tabs, 8));
}

TEST_F(TabSkinTest, StripAndItsLineOnEitherSideScreen) {
    for (const char* pszSkin : {"Office XP", "Office 2003"}) {
        for (DWORD dwSide : {DWORD(0), DWORD(TCS_BOTTOM)}) {
            SCOPED_TRACE(std::string(pszSkin) + (dwSide ? ", bottom" : ", top"));
            UseSkin(pszSkin);
            auto* p2003 = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
            COXSkinnedTabCtrl& tabs = MakeTabs(dwSide, {"One", "Two"}, 0);
            tabs.RedrawWindow();
            const CRect d = DisplayRect(tabs);
            CRect rectClient;
            tabs.GetClientRect(&rectClient);
            const int x = rectClient.right - 4; // beyond the tabs
            CClientDC dc(&tabs);
            // The display area's frame.
            EXPECT_EQ(dc.GetPixel(d.left, d.CenterPoint().y), Sys(COLOR_BTNSHADOW));
            EXPECT_EQ(dc.GetPixel(d.CenterPoint().x, d.bottom - 2), Sys(COLOR_BTNSHADOW));
            int yLine, yStrip;
            COLORREF crLine, crStripNear;
            if (dwSide) {
                yLine = d.bottom + 2;
                yStrip = d.bottom + 3;
                crLine = kBlack;
            } else {
                yLine = d.top - 3;
                yStrip = d.top - 4;
                crLine = kWhite;
            }
            crStripNear =
                p2003 != nullptr ? p2003->GetTabLightColor() : COXSkinXP::GetLightFaceColor();
            EXPECT_EQ(dc.GetPixel(x, yLine), crLine);
            EXPECT_EQ(dc.GetPixel(rectClient.right - 30, yLine), crLine);
            const COLORREF crStrip = dc.GetPixel(x, yStrip);
            EXPECT_TRUE(Near(crStrip, crStripNear, p2003 != nullptr ? 16 : 0))
                << Hex(crStrip) << " " << Hex(crStripNear);
            // Between the line and the display area: the background.
            const COLORREF crFace = p2003 != nullptr ? p2003->GetFaceColor() : Sys(COLOR_BTNFACE);
            EXPECT_EQ(dc.GetPixel(x, dwSide ? d.bottom : d.top - 1), crFace);
        }
    }
}

TEST_F(TabSkinTest, EmptyControlStillPaintsOverWhatWasThereScreen) {
    UseSkin("Office XP");
    COXSkinnedTabCtrl& tabs = MakeTabs(0, {}, -1);
    tabs.UpdateWindow();
    CRect rectClient;
    tabs.GetClientRect(&rectClient);
    {
        CClientDC dc(&tabs);
        dc.FillSolidRect(rectClient, kUnpainted);
    }
    // A paint without erasing: only the skin can cover what is there.
    tabs.InvalidateRect(nullptr, FALSE);
    tabs.UpdateWindow();
    CClientDC dc(&tabs);
    const CRect d = DisplayRect(tabs);
    EXPECT_EQ(dc.GetPixel(d.CenterPoint()), Sys(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(d.left, d.CenterPoint().y), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(rectClient.right - 3, d.top - 3), kWhite);
}

TEST_F(TabSkinTest, ArrowsPaintOverTheStripWithTheirRangeScreen) {
    COXTabSkinXP* pSkin = SkinXPFamily("Office XP");
    ASSERT_NE(pSkin, nullptr);
    const COLORREF crText = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin())->GetTabTextColor();
    COXSkinnedTabCtrl& tabs = MakeTabs(
        0, {"January", "February", "March", "April", "May", "June", "July", "August", "September"},
        0);
    tabs.UpdateWindow();
    ASSERT_NE(tabs.m_spin.m_hWnd, nullptr);
    // Park the cursor away from the arrows.
    CRect rectSpin;
    tabs.m_spin.GetClientRect(&rectSpin);
    struct Step {
        const char* name;
        int nSelect;
        bool bLeftFilled, bRightFilled;
    } steps[] = {
        {"at the start", 0, false, true},
        {"at the end", 8, true, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        tabs.SetCurSel(step.nSelect);
        tabs.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        tabs.m_spin.UpdateWindow();
        int nLower = 0, nUpper = 0;
        tabs.m_spin.GetRange32(nLower, nUpper);
        ASSERT_GT(nUpper, 0);
        // Inner boxes: 2 pixels in from the sides and the top; each half wide.
        const int nHalf = (rectSpin.Width() - 4) / 2;
        const CRect rectLeft(2, 2, 2 + nHalf, rectSpin.bottom);
        const CRect rectRight(rectLeft.right, 2, rectLeft.right + nHalf, rectSpin.bottom);
        // Points inside each triangle, next to its flat side.
        const int yMiddle = rectLeft.top + (rectLeft.Height() - 8) / 2 + 3;
        const CPoint ptLeft(rectLeft.left + (nHalf - 4) / 2 + 3, yMiddle);
        const CPoint ptRight(rectRight.left + (nHalf - 4) / 2 + 1, yMiddle);
        CClientDC dc(&tabs.m_spin);
        EXPECT_EQ(dc.GetPixel(ptLeft), step.bLeftFilled ? crText : kWhite)
            << Hex(dc.GetPixel(ptLeft));
        EXPECT_EQ(dc.GetPixel(ptRight), step.bRightFilled ? crText : kWhite)
            << Hex(dc.GetPixel(ptRight));
        // The background is the strip's.
        EXPECT_EQ(dc.GetPixel(0, 0), COXSkinXP::GetLightFaceColor());
    }
    Settle(200);
    CRect rectTabs;
    tabs.GetWindowRect(&rectTabs);
    EXPECT_TRUE(SaveScreenPng(rectTabs, "OXTabSkin_XP_Arrows.png"));
}

TEST_F(TabSkinTest, ClassicLeavesThePaintingToTheSystemScreen) {
    UseSkin("Classic");
    for (DWORD dwStyle : {DWORD(0), DWORD(TCS_VERTICAL | TCS_MULTILINE)}) {
        SCOPED_TRACE(dwStyle ? "vertical" : "horizontal");
        COXSkinnedTabCtrl& skinned = MakeTabs(dwStyle, {"One", "Two", "Three"}, 1);
        CTabCtrl plain;
        ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | dwStyle,
                                 CRect(10, 150, 10 + kTabWidth, 150 + kTabHeight), &m_host, 101));
        plain.InsertItem(0, "One");
        plain.InsertItem(1, "Two");
        plain.InsertItem(2, "Three");
        plain.SetCurSel(1);
        m_host.RedrawWindow(nullptr, nullptr,
                            RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Settle(100);
        CRect rectA, rectB;
        skinned.GetWindowRect(&rectA);
        plain.GetWindowRect(&rectB);
        CCanvas a(kTabWidth, kTabHeight), b(kTabWidth, kTabHeight);
        CaptureScreen(a, rectA);
        CaptureScreen(b, rectB);
        int nDiffer = 0;
        for (int y = 0; y < kTabHeight; ++y) {
            for (int x = 0; x < kTabWidth; ++x)
                nDiffer += a.dc.GetPixel(x, y) != b.dc.GetPixel(x, y);
        }
        EXPECT_EQ(nDiffer, 0);
        // Something was painted: the selected tab's text at least.
        EXPECT_LT(a.Count(Sys(COLOR_BTNFACE), CRect(0, 0, kTabWidth, kTabHeight)),
                  kTabWidth * kTabHeight);
    }
}

TEST_F(TabSkinTest, FamiliesSideBySideScreen) {
    int y = 10;
    std::unique_ptr<COXSkinnedTabCtrl> keep[3];
    int i = 0;
    for (const char* pszSkin : {"Classic", "Office XP", "Office 2003"}) {
        UseSkin(pszSkin);
        MakeTabs(i == 2 ? TCS_BOTTOM : 0, {"Calls", "R&D", "Scores", "Reports"}, 1, 10, y);
        m_tabs->SetWindowPos(nullptr, 0, 0, kTabWidth, 90, SWP_NOMOVE | SWP_NOZORDER);
        m_tabs->RedrawWindow();
        Settle(200);
        CRect rect;
        m_tabs->GetWindowRect(&rect);
        const std::string sFile = std::string("OXTabSkin_") +
                                  (i == 0   ? "Classic"
                                   : i == 1 ? "XP"
                                            : "2003") +
                                  ".png";
        EXPECT_TRUE(SaveScreenPng(rect, sFile.c_str()));
        keep[i++] = std::move(m_tabs);
        y += 100;
    }
}

// The dock-bar tabs of a dock bar shared by two bars, in "Office 2003".
class DockTabsLookTest : public SizeDockFrameTest {};

TEST_F(DockTabsLookTest, DockTabsInOffice2003Screen) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* pA = MakeBar(CSize(180, 200), CBRS_ALIGN_ANY, "Recordings");
    m_pFrame->DockControlBar(pA, pLeft);
    m_pFrame->RecalcLayout();
    COXSizeControlBar* pB = MakeBar(CSize(180, 200), CBRS_ALIGN_ANY, "Bookmarks");
    m_pFrame->DockControlBar(pB, pLeft);
    m_pFrame->RecalcLayout();
    pLeft->m_wndTabs.InsertBar(pB, 1, TRUE);
    m_pFrame->RecalcLayout();
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    m_pFrame->RedrawWindow(
        nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    CRect rect;
    pLeft->GetWindowRect(&rect);
    EXPECT_TRUE(SaveScreenPng(rect, "OXDockTabCtrl_Office2003.png"));
    // The strip is painted by the skin: the selected tab has its white left edge
    // and black bottom edge (tabs at the bottom).
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    CRect rectSel;
    tabs.GetItemRect(tabs.GetCurSel(), &rectSel);
    CClientDC dc(&tabs);
    EXPECT_EQ(dc.GetPixel(rectSel.left + 4, rectSel.bottom - 1), kBlack);
    EXPECT_EQ(dc.GetPixel(rectSel.left, rectSel.CenterPoint().y), kWhite);
}
