// Tests of COXDockTabCtrl, the tab strip of a sizeable dock bar: tabs formed
// by dropping a bar onto the bottom of a dock bar at another bar's place, the
// hit test of the strip, inserting, removing and reordering tabs, the bar
// shown for the selected tab and its size, the reflected selection change,
// and pulling a tab out into a caption drag.
#include "SizeDockFrameTest.h"

#include "toolkit/OXDockTabCtrl.h"

#include <utility>
#include <vector>

namespace {

CWinApp theApp;

class OXDockTabCtrlTest : public SizeDockFrameTest {
protected:
    void SetUp() override {
        SizeDockFrameTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        m_pFrame->RecalcLayout();
    }

    using SizeDockFrameTest::MakeBar;
    COXSizeControlBar* MakeBar(const char* lpszTitle, DWORD dwDockStyle = CBRS_ALIGN_ANY) {
        return MakeBar(CSize(180, 200), dwDockStyle, lpszTitle);
    }
    // A bar docked alone in pDock and laid out.
    COXSizeControlBar* DockedBar(COXSizeDockBar* pDock, const char* lpszTitle) {
        COXSizeControlBar* pBar = MakeBar(lpszTitle);
        m_pFrame->DockControlBar(pBar, pDock);
        m_pFrame->RecalcLayout();
        return pBar;
    }
    // Drops pBar, whose window starts nOffset pixels right of pTarget's, with
    // its top-left corner 20 pixels above the bottom of pDock.
    void DropAtSamePlace(COXSizeDockBar* pDock, COXSizeControlBar* pBar, COXSizeControlBar* pTarget,
                         int nOffset) {
        CRect rectTarget;
        pTarget->GetWindowRect(&rectTarget);
        m_pFrame->ScreenToClient(&rectTarget);
        pBar->MoveWindow(rectTarget.left + nOffset, 300, 180, 200);
        CRect rectDock;
        pDock->GetWindowRect(&rectDock);
        CRect rectDrop(CPoint(rectDock.left + 10, rectDock.bottom - 20), CSize(180, 200));
        pDock->DockBarAtRect(pBar, &rectDrop);
    }
    // Bar A docked alone in pDock and bar B dropped at its place (nOffset
    // pixels right of it): two tabs when the places match.
    std::pair<COXSizeControlBar*, COXSizeControlBar*> TwoTabs(COXSizeDockBar* pDock,
                                                              int nOffset = 0) {
        COXSizeControlBar* pA = DockedBar(pDock, "A");
        COXSizeControlBar* pB = MakeBar("B");
        DropAtSamePlace(pDock, pB, pA, nOffset);
        return {pA, pB};
    }
    // Takes two bars and their tabs out of pDock, for the next case of a table.
    void RemoveTwoTabs(COXSizeDockBar* pDock, CControlBar* pA, CControlBar* pB) {
        pA->DestroyWindow();
        pB->DestroyWindow();
        pDock->m_wndTabs.DeleteAllItems();
        m_pFrame->RecalcLayout();
    }
    // Three bars docked in the left dock bar, all with tabs, C selected.
    void ThreeTabs(COXSizeDockBar* pDock, COXSizeControlBar* bars[3]) {
        bars[0] = DockedBar(pDock, "A");
        bars[1] = DockedBar(pDock, "B");
        bars[2] = DockedBar(pDock, "C");
        pDock->m_wndTabs.InsertBar(bars[2], 2, TRUE);
    }
    CPoint TabPoint(COXDockTabCtrl& tabs, int nTab, int dx) {
        CRect rect;
        tabs.GetItemRect(nTab, &rect);
        CPoint pt(rect.CenterPoint().x + dx, rect.CenterPoint().y);
        tabs.ClientToScreen(&pt);
        return pt;
    }
};

TEST_F(OXDockTabCtrlTest, TheStripHasItsFontAndPaddingAndNoHeightWithoutTabs) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    ASSERT_NE(tabs.m_fontTabs.m_hObject, nullptr);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(tabs.SendMessage(WM_GETFONT)), tabs.m_fontTabs.m_hObject);
    EXPECT_EQ(tabs.m_pLastHorzBar, nullptr);
    EXPECT_EQ(tabs.GetItemCount(), 0);
    EXPECT_EQ(ChildRect(&tabs).Height(), 0);
}

TEST_F(OXDockTabCtrlTest, HitTestBarAnswersOnlyForTheBottom48Pixels) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* pA = DockedBar(pLeft, "A");
    CRect rectDock;
    pLeft->GetWindowRect(&rectDock);
    const int x = rectDock.left + 10;
    EXPECT_EQ(pLeft->m_wndTabs.HitTestBar(CPoint(x, rectDock.bottom - 50), pA), -1);
    EXPECT_EQ(pLeft->m_wndTabs.HitTestBar(CPoint(x, rectDock.bottom - 48), pA), 0);
    EXPECT_EQ(pLeft->m_wndTabs.HitTestBar(CPoint(x, rectDock.bottom - 1), pA), 0);
    EXPECT_EQ(pLeft->m_wndTabs.HitTestBar(CPoint(x, rectDock.bottom), pA), -1);
    EXPECT_EQ(pLeft->m_wndTabs.HitTestBar(CPoint(rectDock.right + 5, rectDock.bottom - 5), pA), -1);

    // With tabs, the tab under the point, or 0 beside them.
    COXSizeControlBar* pB = MakeBar("B");
    DropAtSamePlace(pLeft, pB, pA, 0);
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    pLeft->PositionTabCtrl();
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    EXPECT_EQ(tabs.HitTestBar(TabPoint(tabs, 1, 0), pA), 1);
    EXPECT_EQ(tabs.HitTestBar(TabPoint(tabs, 0, 0), pA), 0);
}

struct SDropCase {
    const char* name;
    UINT nID;
    int nOffset; // of the dropped bar's window from the docked bar's
    bool bTabs;
};

const SDropCase kDropCases[] = {
    {"left, same left edge", AFX_IDW_DOCKBAR_LEFT, 0, true},
    {"left, 4 pixels right", AFX_IDW_DOCKBAR_LEFT, 4, true},
    {"left, 4 pixels left", AFX_IDW_DOCKBAR_LEFT, -4, true},
    {"left, 5 pixels right", AFX_IDW_DOCKBAR_LEFT, 5, false},
    {"top, same left edge", AFX_IDW_DOCKBAR_TOP, 0, true},
    {"top, 1 pixel right", AFX_IDW_DOCKBAR_TOP, 1, false},
};

TEST_F(OXDockTabCtrlTest, ADropOnTheBottomFormsTabsOnlyWithABarAtTheSamePlace) {
    for (const SDropCase& c : kDropCases) {
        SCOPED_TRACE(c.name);
        COXSizeDockBar* pDock = Dock(c.nID);
        auto [pA, pB] = TwoTabs(pDock, c.nOffset);
        COXDockTabCtrl& tabs = pDock->m_wndTabs;
        EXPECT_EQ(pB->m_pDockBar, pDock);
        if (c.bTabs) {
            ASSERT_EQ(tabs.GetItemCount(), 2);
            EXPECT_EQ(tabs.GetBar(tabs.GetCurSel()), pB);
            EXPECT_NE(tabs.FindBar(pA), -1);
            EXPECT_TRUE(pB->IsVisible());
            EXPECT_FALSE(pA->IsVisible());
            EXPECT_EQ(pDock->GetTabStripHeight(), OX_TABSTRIP_HEIGHT);
            CRect rectClient;
            pDock->GetClientRect(&rectClient);
            EXPECT_EQ(ChildRect(&tabs), CRect(0, rectClient.bottom - OX_TABSTRIP_HEIGHT,
                                              rectClient.right, rectClient.bottom));
            char szText[32] = "";
            TCITEM item = {};
            item.mask = TCIF_TEXT;
            item.pszText = szText;
            item.cchTextMax = sizeof(szText);
            tabs.GetItem(tabs.FindBar(pA), &item);
            EXPECT_STREQ(szText, "A");
        } else {
            EXPECT_EQ(tabs.GetItemCount(), 0);
            EXPECT_TRUE(pA->IsVisible());
            EXPECT_TRUE(pB->IsVisible());
        }
        RemoveTwoTabs(pDock, pA, pB);
    }
}

TEST_F(OXDockTabCtrlTest, ABarAloneGetsNoTab) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* pA = DockedBar(pLeft, "A");
    pLeft->m_wndTabs.InsertBar(pA, 0, TRUE);
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
    pLeft->m_wndTabs.RemoveBar(pA); // nothing to remove
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
}

TEST_F(OXDockTabCtrlTest, RemovingOneOfTwoTabsRemovesBothAndShowsTheOther) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    auto [pA, pB] = TwoTabs(pLeft);
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    ASSERT_FALSE(pA->IsVisible());
    pLeft->m_wndTabs.RemoveBar(pB);
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
    EXPECT_TRUE(pA->IsVisible());
    EXPECT_EQ(pLeft->GetTabStripHeight(), 0);
    EXPECT_EQ(ChildRect(&pLeft->m_wndTabs).Height(), 0);
}

TEST_F(OXDockTabCtrlTest, RemovingOneOfThreeTabsSelectsTheOneBefore) {
    struct Case {
        int nRemove;
        int nSelected;
    };
    const Case cases[] = {{2, 1}, {1, 0}, {0, 0}};
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* bars[3] = {};
    ThreeTabs(pLeft, bars);
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    ASSERT_EQ(tabs.GetItemCount(), 3);
    // The bars already there get their tabs in front; the new one where asked.
    EXPECT_EQ(tabs.GetBar(0), bars[1]);
    EXPECT_EQ(tabs.GetBar(1), bars[0]);
    EXPECT_EQ(tabs.GetBar(2), bars[2]);
    EXPECT_EQ(tabs.GetCurSel(), 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nRemove);
        tabs.DeleteAllItems();
        for (COXSizeControlBar* pBar : bars)
            m_pFrame->ShowControlBar(pBar, TRUE, FALSE);
        tabs.InsertBar(bars[2], 2, TRUE);
        ASSERT_EQ(tabs.GetItemCount(), 3);
        std::vector<CControlBar*> remaining = {tabs.GetBar(0), tabs.GetBar(1), tabs.GetBar(2)};
        CControlBar* pRemoved = remaining[c.nRemove];
        remaining.erase(remaining.begin() + c.nRemove);
        tabs.RemoveBar(pRemoved);
        ASSERT_EQ(tabs.GetItemCount(), 2);
        EXPECT_EQ(tabs.GetCurSel(), c.nSelected);
        EXPECT_EQ(tabs.GetBar(0), remaining[0]);
        EXPECT_EQ(tabs.GetBar(1), remaining[1]);
        EXPECT_TRUE(remaining[c.nSelected]->IsVisible());
        EXPECT_FALSE(remaining[1 - c.nSelected]->IsVisible());
    }
}

TEST_F(OXDockTabCtrlTest, ATabMovesOnlyOnceTheCursorPassesTheTargetsCentre) {
    struct Case {
        int nFrom, nTo, dx;
        bool bMoves;
    };
    const Case cases[] = {
        {0, 1, -1, false}, {0, 1, 0, true}, {0, 1, 1, true},  // moving right
        {2, 1, 1, false},  {2, 1, 0, true}, {2, 1, -1, true}, // moving left
    };
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* bars[3] = {};
    ThreeTabs(pLeft, bars);
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nFrom << "->" << c.nTo << " " << c.dx);
        std::vector<CControlBar*> before = {tabs.GetBar(0), tabs.GetBar(1), tabs.GetBar(2)};
        tabs.MoveTab(c.nFrom, c.nTo, TabPoint(tabs, c.nTo, c.dx));
        std::vector<CControlBar*> after = {tabs.GetBar(0), tabs.GetBar(1), tabs.GetBar(2)};
        if (c.bMoves) {
            std::vector<CControlBar*> expected = before;
            expected.erase(expected.begin() + c.nFrom);
            expected.insert(expected.begin() + c.nTo, before[c.nFrom]);
            EXPECT_EQ(after, expected);
        } else {
            EXPECT_EQ(after, before);
        }
    }
}

TEST_F(OXDockTabCtrlTest, TheShownBarFillsTheSideDockBarAboveTheStrip) {
    struct Case {
        UINT nID;
        CRect inset; // left and right insets of the shown bar
    };
    const Case cases[] = {{AFX_IDW_DOCKBAR_LEFT, CRect(0, 0, 3, 0)},
                          {AFX_IDW_DOCKBAR_RIGHT, CRect(4, 0, 0, 0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        COXSizeDockBar* pDock = Dock(c.nID);
        auto [pA, pB] = TwoTabs(pDock);
        ASSERT_EQ(pDock->m_wndTabs.GetItemCount(), 2);
        pDock->m_wndTabs.ShowCurrentBar();
        CRect rectClient;
        pDock->GetClientRect(&rectClient);
        const CRect expected(c.inset.left, 0, rectClient.right - c.inset.right,
                             rectClient.bottom - OX_TABSTRIP_HEIGHT);
        EXPECT_EQ(ChildRect(pB), expected);
        EXPECT_EQ(pB->m_sizeVertDock, CSize(expected.Width(), expected.Height() + 5));
        RemoveTwoTabs(pDock, pA, pB);
    }
}

TEST_F(OXDockTabCtrlTest, OnTheTopTheShownBarTakesTheWidthOfTheBarShownBefore) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    auto [pA, pB] = TwoTabs(pTop);
    COXDockTabCtrl& tabs = pTop->m_wndTabs;
    ASSERT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.m_pLastHorzBar, pB);
    pB->m_sizeHorzDock.cx = 333;
    tabs.SetCurSel(tabs.FindBar(pA));
    tabs.ShowCurrentBar();
    EXPECT_EQ(pA->m_sizeHorzDock.cx, 333);
    EXPECT_EQ(tabs.m_pLastHorzBar, pA);
    EXPECT_TRUE(pA->IsVisible());
    EXPECT_FALSE(pB->IsVisible());
    // A bar taken out of the tabs is no longer remembered: it may be destroyed.
    tabs.RemoveBar(pA);
    EXPECT_EQ(tabs.m_pLastHorzBar, nullptr);
}

TEST_F(OXDockTabCtrlTest, TheTabStripAddsItsHeightToTheDockBar) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    TwoTabs(pTop);
    ASSERT_EQ(pTop->m_wndTabs.GetItemCount(), 2);
    m_pFrame->RecalcLayout();
    const int nWithTabs = ChildRect(pTop).Height();
    pTop->m_wndTabs.DeleteAllItems();
    m_pFrame->RecalcLayout();
    EXPECT_EQ(nWithTabs - ChildRect(pTop).Height(), OX_TABSTRIP_HEIGHT);
}

TEST_F(OXDockTabCtrlTest, TheReflectedSelectionChangeShowsTheSelectedBar) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    auto [pA, pB] = TwoTabs(pLeft);
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    ASSERT_EQ(tabs.GetItemCount(), 2);
    tabs.SetCurSel(tabs.FindBar(pA)); // no notification of its own
    ASSERT_FALSE(pA->IsVisible());
    NMHDR hdr = {};
    hdr.hwndFrom = tabs.m_hWnd;
    hdr.idFrom = OX_IDC_DOCKTABS;
    hdr.code = TCN_SELCHANGE;
    EXPECT_EQ(pLeft->SendMessage(WM_NOTIFY, OX_IDC_DOCKTABS, reinterpret_cast<LPARAM>(&hdr)), 0);
    EXPECT_TRUE(pA->IsVisible());
    EXPECT_FALSE(pB->IsVisible());
}

TEST_F(OXDockTabCtrlTest, ATabPulledMoreThanThreePixelsStartsItsBarsCaptionDrag) {
    struct Case {
        CSize move;
        UINT nFlags;
        bool bDrags;
    };
    const Case cases[] = {
        {CSize(3, 0), MK_LBUTTON, false}, {CSize(0, -3), MK_LBUTTON, false},
        {CSize(4, 0), 0, false},          {CSize(4, 0), MK_LBUTTON, true},
        {CSize(0, -4), MK_LBUTTON, true},
    };
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    TwoTabs(pLeft);
    COXDockTabCtrl& tabs = pLeft->m_wndTabs;
    ASSERT_EQ(tabs.GetItemCount(), 2);
    pLeft->PositionTabCtrl();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.move.cx << "," << c.move.cy << " " << c.nFlags);
        CRect rectTab;
        tabs.GetItemRect(0, &rectTab);
        auto* pBar = static_cast<COXSizeControlBar*>(tabs.GetBar(0));
        tabs.m_ptPress = rectTab.CenterPoint();
        const CPoint pt = rectTab.CenterPoint() + c.move;
        tabs.SendMessage(WM_MOUSEMOVE, c.nFlags, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(pBar->m_bCaptionDragging != FALSE, c.bDrags);
        EXPECT_EQ(::GetCapture() == pBar->m_hWnd, c.bDrags);
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        pBar->m_bCaptionDragging = FALSE;
    }
}

TEST_F(OXDockTabCtrlTest, ADockBarWithTabsTakesABarOnlyOverItsStrip) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    TwoTabs(pLeft);
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    COXSizeControlBar* pC = MakeBar("C", CBRS_ALIGN_LEFT);
    CRect rectDock;
    pLeft->GetWindowRect(&rectDock);
    EXPECT_EQ(COXSizeDockBar::FindDockBarAt(CPoint(rectDock.left + 5, rectDock.top + 60), pC),
              nullptr);
    EXPECT_EQ(COXSizeDockBar::FindDockBarAt(CPoint(rectDock.left + 5, rectDock.bottom - 30), pC),
              pLeft);
}

TEST_F(OXDockTabCtrlTest, DockingElsewhereTakesTheBarOutOfItsTabs) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeDockBar* pRight = Dock(AFX_IDW_DOCKBAR_RIGHT);
    auto [pA, pB] = TwoTabs(pLeft);
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    pRight->DockBarAtRect(pB, nullptr);
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
    EXPECT_TRUE(pA->IsVisible());
    EXPECT_EQ(pB->m_pDockBar, pRight);
    EXPECT_EQ(pLeft->FindBar(pB), -1);
}

} // namespace
