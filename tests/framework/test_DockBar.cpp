// Tests of docking: CFrameWnd's dock bars, CDockBar's bar array with its row
// ends and place holders, its row layout, the client area left to the pane,
// delayed show and hide, CControlBar's idle update and teardown, and floating.
#include "ControlBar.h"
#include "DockBar.h"
#include "DockContext.h"
#include "FrameWnd.h"
#include "MiniFrameWnd.h"

#include "native/gtest.h"
#include "tests/support/WindowRects.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A bar of one fixed size that counts its idle updates.
class CTestBar : public CControlBar {
public:
    explicit CTestBar(CSize size) : m_size(size) {}
    CSize CalcFixedLayout(BOOL, BOOL) override { return m_size; }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override {
        ++m_nUpdates;
        m_pLastTarget = pTarget;
        m_bLastDisable = bDisableIfNoHndler;
    }
    CSize m_size;
    int m_nUpdates = 0;
    CFrameWnd* m_pLastTarget = nullptr;
    BOOL m_bLastDisable = FALSE;
};

const UINT kFirstBarID = AFX_IDW_CONTROLBAR_FIRST + 0x40;

class DockBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Dock", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(0, 0, 600, 400)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1),
                                  m_pFrame, AFX_IDW_PANE_FIRST));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->GetClientRect(&m_rectClient);
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        for (CTestBar* pBar : m_bars)
            delete pBar;
    }

    // A visible bar made in the frame, docking anywhere; its name is its
    // letter in ArrayOf ('A' for the first).
    CTestBar* MakeBar(CSize size, DWORD dwDockStyle = CBRS_ALIGN_ANY) {
        CTestBar* pBar = new CTestBar(size);
        UINT nID = kFirstBarID + static_cast<UINT>(m_bars.size());
        m_bars.push_back(pBar);
        EXPECT_TRUE(pBar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1),
                                 m_pFrame, nID));
        pBar->EnableDocking(dwDockStyle);
        return pBar;
    }
    CDockBar* DockBar(UINT nID) { return dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(nID)); }

    // The bar array as text: "|" a row end, a letter a bar, "#letter" a place holder.
    std::string ArrayOf(UINT nDockBarID) {
        CDockBar* pDockBar = DockBar(nDockBarID);
        std::string text;
        for (int nPos = 0; nPos < pDockBar->m_arrBars.GetSize(); ++nPos) {
            void* pEntry = pDockBar->m_arrBars[nPos];
            if (pEntry == nullptr) {
                text += "|";
                continue;
            }
            for (size_t i = 0; i < m_bars.size(); ++i) {
                char letter = static_cast<char>('A' + i);
                if (pEntry == m_bars[i])
                    text += letter;
                else if (reinterpret_cast<UINT_PTR>(pEntry) == kFirstBarID + i)
                    text += std::string("#") + letter;
            }
        }
        return text;
    }
    CRect PaneRect() { return ChildRect(&m_pane); }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    CRect m_rectClient;
    // The overlap of neighbouring bars: twice the window border.
    const int B2X = AfxGetAuxData().cxBorder2;
    const int B2Y = AfxGetAuxData().cyBorder2;
    std::vector<CTestBar*> m_bars; // owned; their windows go with the frame
};

} // namespace

TEST_F(DockBarTest, EnableDockingMakesADockBarPerSideWithItsSideInTheWindowStyle) {
    struct Case {
        UINT nID;
        DWORD dwSideStyle;
    };
    const Case cases[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        CDockBar* pDockBar = DockBar(c.nID);
        ASSERT_NE(pDockBar, nullptr);
        EXPECT_EQ(pDockBar->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY), c.dwSideStyle);
        EXPECT_EQ(pDockBar->GetStyle() & c.dwSideStyle, c.dwSideStyle);
        EXPECT_FALSE(pDockBar->m_bFloating);
        EXPECT_EQ(ArrayOf(c.nID), "|");
    }
    // Asking again makes no second set.
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    int nDockBars = 0;
    for (CWnd* pChild = m_pFrame->GetTopWindow(); pChild != nullptr;
         pChild = pChild->GetNextWindow())
        nDockBars += dynamic_cast<CDockBar*>(pChild) != nullptr ? 1 : 0;
    EXPECT_EQ(nDockBars, 4);
}

TEST_F(DockBarTest, ADockedBarTakesItsThicknessLessTheBorderFromThePane) {
    struct Case {
        UINT nID;
        DWORD dwAlign;
        CSize size;
    };
    const Case cases[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, CSize(100, 30)},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, CSize(100, 24)},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, CSize(40, 90)},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, CSize(50, 90)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        CTestBar* pBar = MakeBar(c.size);
        m_pFrame->DockControlBar(pBar, c.nID);
        m_pFrame->RecalcLayout();

        CDockBar* pDockBar = DockBar(c.nID);
        EXPECT_EQ(pBar->m_pDockBar, pDockBar);
        EXPECT_EQ(pBar->GetParent(), pDockBar);
        EXPECT_EQ(pBar->GetBarStyle() & CBRS_ALIGN_ANY, c.dwAlign);
        EXPECT_FALSE(pBar->IsFloating());
        // Rows start at (-B2x, -B2y) and the dock bar's own border comes on top.
        const CRect rectBar = ChildRect(pBar);
        EXPECT_EQ(rectBar, CRect(CPoint(-B2X, -B2Y), c.size));
        EXPECT_EQ(pBar->m_pDockContext->m_rectMRUDockPos, rectBar);
        EXPECT_EQ(pBar->m_pDockContext->m_uMRUDockID, c.nID);

        CRect rectExpected = m_rectClient;
        if (c.dwAlign == CBRS_ALIGN_TOP)
            rectExpected.top += c.size.cy - B2Y;
        else if (c.dwAlign == CBRS_ALIGN_BOTTOM)
            rectExpected.bottom -= c.size.cy - B2Y;
        else if (c.dwAlign == CBRS_ALIGN_LEFT)
            rectExpected.left += c.size.cx - B2X;
        else
            rectExpected.right -= c.size.cx - B2X;
        EXPECT_EQ(PaneRect(), rectExpected);

        // Gone again, the side gives its space back.
        pBar->DestroyWindow();
        m_pFrame->RecalcLayout();
        EXPECT_EQ(PaneRect(), m_rectClient);
    }
}

TEST_F(DockBarTest, TopAndBottomSpanTheFrameAndLeftAndRightFitBetween) {
    CTestBar* pTop = MakeBar(CSize(100, 30));
    CTestBar* pLeft = MakeBar(CSize(40, 90));
    m_pFrame->DockControlBar(pLeft, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->DockControlBar(pTop, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    const int nTop = 30 - B2Y, nLeft = 40 - B2X;
    EXPECT_EQ(ChildRect(DockBar(AFX_IDW_DOCKBAR_TOP)), CRect(0, 0, m_rectClient.right, nTop));
    EXPECT_EQ(ChildRect(DockBar(AFX_IDW_DOCKBAR_LEFT)), CRect(0, nTop, nLeft, m_rectClient.bottom));
    EXPECT_EQ(PaneRect(), CRect(nLeft, nTop, m_rectClient.right, m_rectClient.bottom));
}

TEST_F(DockBarTest, DockingWithoutAPlaceTakesTheFirstSideTheBarAllows) {
    struct Case {
        DWORD dwDockStyle;
        UINT nExpectedID;
    };
    const Case cases[] = {
        {CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},
        {CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
        {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwDockStyle);
        CTestBar* pBar = MakeBar(CSize(60, 20), c.dwDockStyle);
        m_pFrame->DockControlBar(pBar);
        EXPECT_EQ(pBar->m_pDockBar, DockBar(c.nExpectedID));
    }
}

TEST_F(DockBarTest, BarArrayKeepsRowEndsAndPlaceHoldersThroughRemoveAndRedock) {
    const UINT kTop = AFX_IDW_DOCKBAR_TOP;
    CTestBar* pA = MakeBar(CSize(100, 30));
    CTestBar* pB = MakeBar(CSize(80, 30));
    m_pFrame->DockControlBar(pA, kTop);
    m_pFrame->DockControlBar(pB, kTop);
    EXPECT_EQ(ArrayOf(kTop), "|A|B|"); // without a place, each bar gets a row
    CDockBar* pDockBar = DockBar(kTop);
    EXPECT_EQ(pDockBar->GetDockedCount(), 2);
    EXPECT_EQ(pDockBar->FindBar(pB), 3);

    // Leaving with a place holder keeps the row; the holder does not count.
    EXPECT_TRUE(pDockBar->RemoveControlBar(pA, -1, 1));
    EXPECT_EQ(ArrayOf(kTop), "|#A|B|");
    EXPECT_EQ(pDockBar->GetDockedCount(), 1);
    EXPECT_EQ(pDockBar->GetDockedControlBar(1), nullptr);
    EXPECT_FALSE(pDockBar->RemoveControlBar(pA));
    // Docking the bar again gives its place holder up.
    m_pFrame->DockControlBar(pA, kTop);
    EXPECT_EQ(ArrayOf(kTop), "|B|A|");

    // Docked at a place in B's row, after B: the two share a row.
    m_pFrame->RecalcLayout();
    CRect rectB;
    pB->GetWindowRect(&rectB);
    CRect rectAt(rectB.left + 10, rectB.top, rectB.left + 110, rectB.bottom);
    m_pFrame->DockControlBar(pA, kTop, &rectAt);
    EXPECT_EQ(ArrayOf(kTop), "|BA|");
    // Above every row: a new first row.
    rectAt.OffsetRect(0, -200);
    m_pFrame->DockControlBar(pA, kTop, &rectAt);
    EXPECT_EQ(ArrayOf(kTop), "|A|B|");

    // Moving to another side leaves nothing behind.
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(ArrayOf(kTop), "|B|");
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_LEFT), "|A|");
    EXPECT_EQ(pA->GetParent(), DockBar(AFX_IDW_DOCKBAR_LEFT));
    // The last bar out takes its row end along.
    EXPECT_TRUE(pDockBar->RemoveControlBar(pB));
    EXPECT_EQ(ArrayOf(kTop), "|");
}

TEST_F(DockBarTest, RowLayoutPacksKeepsAPlacedBarAndPullsItBackInside) {
    const UINT kTop = AFX_IDW_DOCKBAR_TOP;
    const int nWidth = m_rectClient.Width();
    struct Case {
        const char* name;
        int nPlacedLeft; // where B is put, relative to A's left
        int nExpectedLeft;
    };
    const Case cases[] = {
        {"packed after A", 10, -B2X + 100 - B2X},
        {"kept where placed", 300, 300 - B2X},
        {"pulled back inside", nWidth - 10, nWidth - (80 - B2X)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestBar* pA = MakeBar(CSize(100, 30));
        CTestBar* pB = MakeBar(CSize(80, 20));
        m_pFrame->DockControlBar(pA, kTop);
        m_pFrame->RecalcLayout();
        CRect rectA;
        pA->GetWindowRect(&rectA);
        CRect rectAt(CPoint(rectA.left + c.nPlacedLeft, rectA.top), CSize(80, 20));
        m_pFrame->DockControlBar(pB, kTop, &rectAt);
        m_pFrame->RecalcLayout();

        EXPECT_EQ(ChildRect(pA), CRect(-B2X, -B2Y, 100 - B2X, 30 - B2Y));
        EXPECT_EQ(ChildRect(pB), CRect(CPoint(c.nExpectedLeft, -B2Y), CSize(80, 20)));
        EXPECT_EQ(PaneRect().top, 30 - B2Y); // one row, as thick as A
        pA->DestroyWindow();
        pB->DestroyWindow();
    }
}

TEST_F(DockBarTest, RowsStackAndABarWithoutRoomWrapsToANewRow) {
    const UINT kTop = AFX_IDW_DOCKBAR_TOP;
    CTestBar* pA = MakeBar(CSize(m_rectClient.Width() + 50, 30));
    CTestBar* pB = MakeBar(CSize(80, 20));
    CTestBar* pC = MakeBar(CSize(60, 40));
    m_pFrame->DockControlBar(pA, kTop);
    m_pFrame->RecalcLayout();
    CRect rectA;
    pA->GetWindowRect(&rectA);
    CRect rectAt(CPoint(rectA.left + 10, rectA.top), CSize(80, 20));
    m_pFrame->DockControlBar(pB, kTop, &rectAt); // into A's full row
    m_pFrame->DockControlBar(pC, kTop);          // a row of its own
    EXPECT_EQ(ArrayOf(kTop), "|AB|C|");
    m_pFrame->RecalcLayout();

    EXPECT_EQ(ArrayOf(kTop), "|A|B|C|");
    const int nRow2 = -B2Y + 30 - B2Y, nRow3 = nRow2 + 20 - B2Y;
    EXPECT_EQ(ChildRect(pB), CRect(CPoint(-B2X, nRow2), CSize(80, 20)));
    EXPECT_EQ(ChildRect(pC), CRect(CPoint(-B2X, nRow3), CSize(60, 40)));
    EXPECT_EQ(PaneRect().top, nRow3 + 40 - B2Y + B2Y);
}

TEST_F(DockBarTest, ShowControlBarWaitsForTheLayoutItIsAskedFor) {
    const UINT kLeft = AFX_IDW_DOCKBAR_LEFT;
    CTestBar* pBar = MakeBar(CSize(40, 90));
    m_pFrame->DockControlBar(pBar, kLeft);
    m_pFrame->RecalcLayout();
    CDockBar* pDockBar = DockBar(kLeft);
    const CRect rectDocked = PaneRect();

    // Delayed: only the wish changes until idle time lays the frame out.
    m_pFrame->ShowControlBar(pBar, FALSE, TRUE);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(pDockBar->GetDockedVisibleCount(), 0);
    EXPECT_EQ(pDockBar->GetDockedCount(), 1);
    EXPECT_EQ(PaneRect(), rectDocked);
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_EQ(PaneRect(), m_rectClient);
    EXPECT_EQ(ArrayOf(kLeft), "|A|"); // hidden, still docked

    // A wish taken back before the layout leaves the bar as it was.
    m_pFrame->ShowControlBar(pBar, TRUE, TRUE);
    m_pFrame->ShowControlBar(pBar, FALSE, TRUE);
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pBar->IsWindowVisible());

    // Not delayed: shown by the layout that runs at once.
    m_pFrame->ShowControlBar(pBar, TRUE, FALSE);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_EQ(PaneRect(), rectDocked);
}

TEST_F(DockBarTest, IdleUpdateReachesVisibleBarsWithTheirFrameAsTarget) {
    CTestBar* pShown = MakeBar(CSize(60, 20));
    CTestBar* pHidden = MakeBar(CSize(60, 20));
    m_pFrame->DockControlBar(pShown, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(pHidden, AFX_IDW_DOCKBAR_BOTTOM);
    m_pFrame->ShowControlBar(pHidden, FALSE, FALSE);
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_EQ(pShown->m_nUpdates, 1);
    EXPECT_EQ(pShown->m_pLastTarget, m_pFrame);
    EXPECT_TRUE(pShown->m_bLastDisable);
    EXPECT_EQ(pHidden->m_nUpdates, 0);
}

TEST_F(DockBarTest, AGoneBarLeavesItsDockBarAndTheFramesList) {
    struct Case {
        const char* name;
        bool bDeleteObject; // else only the window goes
    };
    const Case cases[] = {{"window destroyed", false}, {"object deleted", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestBar* pKept = MakeBar(CSize(60, 20));
        CTestBar* pGone = MakeBar(CSize(60, 20));
        const UINT nGoneID = static_cast<UINT>(pGone->GetDlgCtrlID());
        m_pFrame->DockControlBar(pGone, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->DockControlBar(pKept, AFX_IDW_DOCKBAR_TOP);
        EXPECT_EQ(m_pFrame->GetControlBar(nGoneID), pGone);
        if (c.bDeleteObject) {
            m_bars.erase(std::find(m_bars.begin(), m_bars.end(), pGone));
            delete pGone;
        } else {
            pGone->DestroyWindow();
            EXPECT_EQ(pGone->m_pDockBar, nullptr);
            EXPECT_EQ(pGone->m_pDockSite, nullptr);
        }
        CDockBar* pDockBar = DockBar(AFX_IDW_DOCKBAR_TOP);
        EXPECT_EQ(pDockBar->m_arrBars.GetSize(), 3);
        EXPECT_EQ(pDockBar->GetDockedControlBar(1), pKept);
        EXPECT_EQ(m_pFrame->GetControlBar(nGoneID), nullptr);
        pKept->DestroyWindow();
    }
}

TEST_F(DockBarTest, AFloatedBarLeavesAPlaceHolderAndItsFrameGoesWhenItDocksAgain) {
    const UINT kTop = AFX_IDW_DOCKBAR_TOP;
    CTestBar* pA = MakeBar(CSize(100, 30));
    m_pFrame->DockControlBar(pA, kTop);
    m_pFrame->RecalcLayout();

    m_pFrame->FloatControlBar(pA, CPoint(200, 150), CBRS_ALIGN_TOP);
    EXPECT_TRUE(pA->IsFloating());
    EXPECT_TRUE(pA->GetBarStyle() & CBRS_FLOATING);
    auto* pFloating = dynamic_cast<CMiniDockFrameWnd*>(pA->GetDockingFrame());
    ASSERT_NE(pFloating, nullptr);
    const HWND hFloating = pFloating->m_hWnd;
    EXPECT_EQ(pA->m_pDockBar, &pFloating->m_wndDockBar);
    EXPECT_EQ(::GetWindow(hFloating, GW_OWNER), m_hFrame);
    EXPECT_TRUE(::IsWindowVisible(hFloating));
    EXPECT_EQ(ArrayOf(kTop), "|#A|");
    // The frame fits the floating dock bar's one row.
    CRect rectFloating;
    pFloating->GetWindowRect(&rectFloating);
    EXPECT_EQ(rectFloating.TopLeft(), CPoint(200, 150));
    CRect rectClient;
    pFloating->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.Size(), CSize(100 - 2 * B2X, 30 - 2 * B2Y));
    // The side is empty at the next idle time.
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(PaneRect(), m_rectClient);

    // Floated again, the bar alone in its frame moves with it.
    m_pFrame->FloatControlBar(pA, CPoint(250, 180), CBRS_ALIGN_TOP);
    EXPECT_EQ(pA->GetDockingFrame(), pFloating);
    pFloating->GetWindowRect(&rectFloating);
    EXPECT_EQ(rectFloating.TopLeft(), CPoint(250, 180));

    // Docked again: the floating frame goes and so does the place holder.
    m_pFrame->DockControlBar(pA, kTop);
    EXPECT_FALSE(::IsWindow(hFloating));
    EXPECT_FALSE(pA->IsFloating());
    EXPECT_EQ(ArrayOf(kTop), "|A|");
    m_pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(PaneRect().top, 30 - B2Y);
}

TEST_F(DockBarTest, AFloatingFrameShowsWhileItsBarDoesAndClosingOnlyHidesIt) {
    CTestBar* pA = MakeBar(CSize(100, 30));
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->FloatControlBar(pA, CPoint(200, 150), CBRS_ALIGN_TOP);
    CFrameWnd* pFloating = pA->GetDockingFrame();
    const HWND hFloating = pFloating->m_hWnd;

    struct Step {
        const char* name;
        bool bClose; // else ShowControlBar(bShow, bDelay)
        BOOL bShow, bDelay;
        bool bExpectShown;
    };
    const Step steps[] = {
        {"hidden at once", false, FALSE, FALSE, false},
        {"shown from a hidden frame, asked to wait", false, TRUE, TRUE, true},
        {"closed", true, FALSE, FALSE, false},
        {"shown after closing", false, TRUE, FALSE, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.bClose)
            ::SendMessageA(hFloating, WM_CLOSE, 0, 0);
        else
            m_pFrame->ShowControlBar(pA, step.bShow, step.bDelay);
        ASSERT_TRUE(::IsWindow(hFloating));
        EXPECT_EQ(pA->IsWindowVisible() != FALSE, step.bExpectShown);
        EXPECT_EQ(::IsWindowVisible(hFloating) != FALSE, step.bExpectShown);
        EXPECT_EQ(pA->GetDockingFrame(), pFloating);
    }
}

TEST_F(DockBarTest, ABarStraightInTheFrameTakesItsSideWhenShown) {
    // Made hidden, on the bottom, outside any dock bar (as a status bar sits).
    CTestBar* pBar = new CTestBar(CSize(50, 22));
    m_bars.push_back(pBar);
    ASSERT_TRUE(pBar->Create(nullptr, nullptr, WS_CHILD | CBRS_ALIGN_BOTTOM, CRect(0, 0, 1, 1),
                             m_pFrame, AFX_IDW_CONTROLBAR_FIRST + 1));
    m_pFrame->RecalcLayout();
    EXPECT_EQ(PaneRect(), m_rectClient);

    // Shown and placed by the same layout.
    m_pFrame->ShowControlBar(pBar, TRUE, FALSE);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_EQ(ChildRect(pBar), CRect(0, m_rectClient.bottom - 22, 50, m_rectClient.bottom));
    CRect rectPane = m_rectClient;
    rectPane.bottom -= 22;
    EXPECT_EQ(PaneRect(), rectPane);
}
