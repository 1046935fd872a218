// Tests of COXSizeDockBar in a frame with sizeable dock bars on its four
// sides: sharing a row's length among sizeable bars, the layout signature,
// the splitters a layout makes and the thickness they add, the queries, the
// search for a dock bar under a dragged bar, maximising within a row, fitting
// a row around a docked bar, the split cursors and splitter drags (driven by
// posted mouse and key messages).
#include "SizeDockFrameTest.h"

#include "toolkit/OXDockbarSkin.h"

#include "framework/DockContext.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace {

CWinApp theApp;

// A bar of one fixed size: what the dock bar treats as "not sizeable".
class CFixedBar : public CControlBar {
public:
    explicit CFixedBar(CSize size) : m_size(size) {}
    CSize CalcFixedLayout(BOOL, BOOL) override { return m_size; }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    CSize m_size;
};

class OXSizeDockBarTest : public SizeDockFrameTest {
protected:
    void SetUp() override {
        SizeDockFrameTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(B2X, 2);
        ASSERT_EQ(B2Y, 2);
    }

    CFixedBar* MakeFixedBar(CSize size) {
        CFixedBar* pBar = Own(std::make_unique<CFixedBar>(size));
        EXPECT_TRUE(pBar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(CPoint(0, 0), size),
                                 m_pFrame, NewBarID()));
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        return pBar;
    }
    // Docks the bars into pDock in exactly these rows.
    void SetRows(COXSizeDockBar* pDock, std::initializer_list<std::vector<CControlBar*>> rows) {
        for (const auto& row : rows)
            for (CControlBar* pBar : row)
                m_pFrame->DockControlBar(pBar, pDock);
        ClearRows(pDock, {});
        for (const auto& row : rows) {
            for (CControlBar* pBar : row)
                pDock->m_arrBars.Add(pBar);
            pDock->m_arrBars.Add(nullptr);
        }
    }
    // Destroys the bars and leaves pDock with no rows, for the next case.
    void ClearRows(COXSizeDockBar* pDock, const std::vector<CControlBar*>& bars) {
        for (CControlBar* pBar : bars)
            pBar->DestroyWindow();
        pDock->m_arrBars.RemoveAll();
        pDock->m_arrBars.Add(nullptr);
    }
    // Gives a sizeable bar in pDock this docked size and the window to match.
    void Shape(COXSizeDockBar* pDock, COXSizeControlBar* pBar, int nAlong, int nAcross) {
        if (pDock->IsHorizontal()) {
            pBar->m_sizeHorzDock = CSize(nAlong, nAcross);
            pBar->SetWindowPos(&CWnd::wndTop, 0, 0, nAlong, nAcross,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            pBar->m_sizeVertDock = CSize(nAcross, nAlong);
            pBar->SetWindowPos(&CWnd::wndTop, 0, 0, nAcross, nAlong,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    int Along(COXSizeDockBar* pDock, COXSizeControlBar* pBar) {
        return pDock->IsHorizontal() ? pBar->m_sizeHorzDock.cx : pBar->m_sizeVertDock.cy;
    }
    void Layout() {
        m_pFrame->RecalcLayout();
        PumpPending();
    }

    const int B2X = AfxGetAuxData().cxBorder2;
    const int B2Y = AfxGetAuxData().cyBorder2;
};

// ---- Construction.

TEST_F(OXSizeDockBarTest, EachSideGetsASizeableDockBarWithAnEmptyTabStrip) {
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT,
                     AFX_IDW_DOCKBAR_BOTTOM}) {
        SCOPED_TRACE(nID);
        COXSizeDockBar* pDock = Dock(nID);
        ASSERT_NE(pDock, nullptr);
        EXPECT_FALSE(pDock->m_bFloating);
        EXPECT_EQ(pDock->m_wndTabs.m_pOwnerDockBar, pDock);
        ASSERT_NE(pDock->m_wndTabs.m_hWnd, nullptr);
        EXPECT_EQ(pDock->m_wndTabs.GetDlgCtrlID(), OX_IDC_DOCKTABS);
        EXPECT_EQ(pDock->m_wndTabs.GetStyle() & (WS_CHILD | WS_VISIBLE),
                  static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
        EXPECT_EQ(pDock->m_wndTabs.GetStyle() & (TCS_FOCUSNEVER | TCS_BOTTOM),
                  static_cast<DWORD>(TCS_FOCUSNEVER | TCS_BOTTOM));
        EXPECT_EQ(pDock->GetTabStripHeight(), 0);
        EXPECT_EQ(pDock->GetFirstDockedBar(), nullptr);
    }
}

TEST_F(OXSizeDockBarTest, WithoutASkinnedApplicationTheDockBarOwnsOneClassicSkin) {
    COXSizeDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
    COXDockbarSkin* pSkin = pDock->GetDockbarSkin();
    EXPECT_NE(dynamic_cast<COXDockbarSkinClassic*>(pSkin), nullptr);
    EXPECT_EQ(pDock->GetDockbarSkin(), pSkin);
    EXPECT_EQ(pDock->m_pOwnDockbarSkin, pSkin);
}

// ---- Sharing a row's length.

struct SDistributeCase {
    const char* name;
    std::vector<int> sizeable; // current lengths of the sizeable bars, in order
    int nFixedFirst;           // length of a fixed bar before them, 0 for none
    int nRowLength;
    std::vector<int> expected;
};

const SDistributeCase kDistributeCases[] = {
    // 600 + 2 x 2 - 8 = 596 shared 3:1.
    {"two bars 300 and 100", {300, 100}, 0, 600, {447, 149}},
    {"a sole bar of length 0 takes all", {0}, 0, 600, {602}},
    {"a sole bar keeps the row", {250}, 0, 400, {402}},
    // 600 + 6 - 16 = 590: 196 each, the 2 left over go to the last bar.
    {"three equal bars, the remainder to the last", {100, 100, 100}, 0, 600, {196, 196, 198}},
    // 600 + 2 x 3 - (50 + 8) = 548 shared 3:1.
    {"a fixed bar's length stays out", {300, 100}, 50, 600, {411, 137}},
};

TEST_F(OXSizeDockBarTest, DistributeRowSharesTheLengthInProportion) {
    for (const SDistributeCase& c : kDistributeCases) {
        SCOPED_TRACE(c.name);
        COXSizeDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
        std::vector<CControlBar*> row;
        std::vector<COXSizeControlBar*> bars;
        if (c.nFixedFirst != 0)
            row.push_back(MakeFixedBar(CSize(c.nFixedFirst, 30)));
        for (size_t i = 0; i < c.sizeable.size(); ++i) {
            bars.push_back(MakeBar(CSize(50, 80)));
            row.push_back(bars.back());
        }
        SetRows(pDock, {row});
        for (size_t i = 0; i < bars.size(); ++i)
            Shape(pDock, bars[i], c.sizeable[i], 80);
        EXPECT_TRUE(pDock->DistributeRow(1, c.nRowLength));
        for (size_t i = 0; i < bars.size(); ++i) {
            EXPECT_EQ(bars[i]->m_sizeHorzDock, CSize(c.expected[i], 80)) << i;
            EXPECT_EQ(ChildRect(bars[i]).Width(), c.expected[i]) << i;
        }
        ClearRows(pDock, row);
    }
}

TEST_F(OXSizeDockBarTest, DistributeRowTakesTheRowThicknessAndSkipsRowsWithoutSizeableBars) {
    COXSizeDockBar* pDock = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* pA = MakeBar(CSize(50, 50));
    COXSizeControlBar* pB = MakeBar(CSize(50, 50));
    CFixedBar* pFixed = MakeFixedBar(CSize(40, 40));
    SetRows(pDock, {{pA, pB}, {pFixed}});
    Shape(pDock, pA, 300, 120);
    Shape(pDock, pB, 100, 150);
    // A column of a vertical dock bar: heights shared, widths the thickest.
    EXPECT_TRUE(pDock->DistributeRow(1, 600));
    EXPECT_EQ(pA->m_sizeVertDock, CSize(150, 447));
    EXPECT_EQ(pB->m_sizeVertDock, CSize(150, 149));
    EXPECT_FALSE(pDock->DistributeRow(4, 600));
    EXPECT_TRUE(pDock->DistributeAllRows(400));
    EXPECT_EQ(pA->m_sizeVertDock.cy + pB->m_sizeVertDock.cy, 400 + 2 * B2Y - 8);
}

TEST_F(OXSizeDockBarTest, RowMetricsCountSplittersAndTheThicknessOfFixedBars) {
    COXSizeDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
    CFixedBar* pFixed = MakeFixedBar(CSize(60, 30));
    COXSizeControlBar* pA = MakeBar(CSize(50, 50));
    COXSizeControlBar* pB = MakeBar(CSize(50, 50));
    SetRows(pDock, {{pA, pFixed, pB}});
    Shape(pDock, pA, 200, 90);
    Shape(pDock, pB, 100, 70);
    SRowMetrics metrics;
    pDock->GetRowMetrics(metrics, 1);
    EXPECT_EQ(metrics.nSizeableLength, 300);
    EXPECT_EQ(metrics.nFixedLength, 60); // no splitter: the fixed bar parts them
    EXPECT_EQ(metrics.nThickness, 90);
    EXPECT_EQ(metrics.nFixedThickness, 30);
    EXPECT_EQ(metrics.nSizeableCount, 2);
    EXPECT_EQ(metrics.nBarCount, 3);
    EXPECT_EQ(metrics.nTotal, 360);

    SetRows(pDock, {{pA, pB, pFixed}});
    pDock->GetRowMetrics(metrics, 1);
    EXPECT_EQ(metrics.nFixedLength, 60 + 8);
    // A hidden bar does not count.
    pB->ShowWindow(SW_HIDE);
    pDock->GetRowMetrics(metrics, 1);
    EXPECT_EQ(metrics.nSizeableCount, 1);
    EXPECT_EQ(metrics.nFixedLength, 60);
    EXPECT_EQ(metrics.nTotal, 260);
}

// ---- The layout signature.

TEST_F(OXSizeDockBarTest, TheLayoutSignatureFollowsRowsVisibilityAndSizeablePlaces) {
    COXSizeDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(100, 50));
    COXSizeControlBar* pB = MakeBar(CSize(100, 50));
    CFixedBar* pFixed = MakeFixedBar(CSize(40, 30));
    struct Case {
        const char* name;
        std::initializer_list<std::vector<CControlBar*>> rows;
        BOOL bHideA;
        int nExpected;
    };
    // Counter: a visible bar adds 1 (+ its index when sizeable), a row end
    // doubles; the low byte counts the visible bars.
    const Case cases[] = {
        {"one sizeable bar", {{pA}}, FALSE, 4 * 256 + 1},
        {"two in a row", {{pA, pB}}, FALSE, 10 * 256 + 2},
        {"two rows", {{pA}, {pB}}, FALSE, 16 * 256 + 2},
        {"a fixed bar adds one", {{pFixed, pA}}, FALSE, 8 * 256 + 2},
        {"a hidden bar adds nothing", {{pA, pB}}, TRUE, 6 * 256 + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetRows(pDock, c.rows);
        pA->ShowWindow(c.bHideA ? SW_HIDE : SW_SHOWNA);
        EXPECT_EQ(pDock->GetLayoutSignature(), c.nExpected);
    }
    ClearRows(pDock, {});
    EXPECT_EQ(pDock->GetLayoutSignature(), 0);
}

TEST_F(OXSizeDockBarTest, ResizingTheFrameSharesTheNewLengthButAnUnchangedLayoutKeepsSizes) {
    COXSizeDockBar* pDock = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(300, 80));
    COXSizeControlBar* pB = MakeBar(CSize(100, 80));
    SetRows(pDock, {{pA, pB}});
    Shape(pDock, pA, 300, 80);
    Shape(pDock, pB, 100, 80);
    Layout();
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    EXPECT_EQ(pDock->m_sizeAvail.cx, rectClient.Width());
    const int nShare = rectClient.Width() + 2 * B2X - 8;
    EXPECT_EQ(pA->m_sizeHorzDock.cx, 300 * nShare / 400);
    EXPECT_EQ(pA->m_sizeHorzDock.cx + pB->m_sizeHorzDock.cx, nShare);

    // Same length, same bars: a later layout keeps sizes the user set.
    Shape(pDock, pA, 250, 80);
    Shape(pDock, pB, 120, 80);
    Layout();
    EXPECT_EQ(pA->m_sizeHorzDock.cx, 250);
    EXPECT_EQ(pB->m_sizeHorzDock.cx, 120);

    // Asked to, the next layout shares the row out again (as after a drop).
    pDock->ShareRowsAtNextLayout();
    Layout();
    EXPECT_EQ(pA->m_sizeHorzDock.cx, 250 * nShare / 370);
    EXPECT_EQ(pA->m_sizeHorzDock.cx + pB->m_sizeHorzDock.cx, nShare);
    Shape(pDock, pA, 250, 80);
    Shape(pDock, pB, 120, 80);

    // A narrower frame shares its new length.
    m_pFrame->SetWindowPos(nullptr, 0, 0, 700, 700, SWP_NOMOVE | SWP_NOZORDER);
    Layout();
    m_pFrame->GetClientRect(&rectClient);
    EXPECT_EQ(pDock->m_sizeAvail.cx, rectClient.Width());
    EXPECT_EQ(pA->m_sizeHorzDock.cx + pB->m_sizeHorzDock.cx, rectClient.Width() + 2 * B2X - 8);
    EXPECT_EQ(ChildRect(pB).right, rectClient.Width()); // flush with the end
}

TEST_F(OXSizeDockBarTest, ABarShownAgainKeepsItsLengthWhileTheOthersMakeRoom) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(300, 80));
    COXSizeControlBar* pB = MakeBar(CSize(100, 80));
    COXSizeControlBar* pC = MakeBar(CSize(200, 80));
    SetRows(pTop, {{pA, pB, pC}});
    m_pFrame->ShowControlBar(pC, FALSE, FALSE);
    ASSERT_EQ(pTop->m_arrHiddenBars.GetSize(), 1);
    EXPECT_EQ(pTop->m_arrHiddenBars[0], pC);
    const int W = pTop->m_sizeAvail.cx;
    const int a0 = pA->m_sizeHorzDock.cx, b0 = pB->m_sizeHorzDock.cx;
    ASSERT_EQ(a0 + b0, W + 2 * B2X - 8);
    ASSERT_EQ(ChildRect(pC).Width(), 200);

    m_pFrame->ShowControlBar(pC, TRUE, FALSE);
    EXPECT_EQ(pTop->m_arrHiddenBars.GetSize(), 0);
    // A and B first give up C's 200 (and its splitter); then the changed
    // layout shares the whole row in proportion to those lengths.
    const int nOthers = a0 + b0 + 16 + 2 * B2X - 8;
    const int a1 = a0 * nOthers / (a0 + b0), b1 = nOthers - a1;
    const int nShare = W + 3 * B2X - 16;
    const int a2 = a1 * nShare / (a1 + b1 + 200), b2 = b1 * nShare / (a1 + b1 + 200);
    EXPECT_EQ(pA->m_sizeHorzDock.cx, a2);
    EXPECT_EQ(pB->m_sizeHorzDock.cx, b2);
    EXPECT_EQ(pC->m_sizeHorzDock.cx, nShare - a2 - b2);
}

// ---- Layout and splitters.

TEST_F(OXSizeDockBarTest, ASoleSizeableBarAddsItsSplitterToTheDockBarThickness) {
    struct Case {
        UINT nID;
        int nSplitterPart; // 7 on the left, where the splitter overlaps the border
    };
    const Case cases[] = {{AFX_IDW_DOCKBAR_LEFT, 7},
                          {AFX_IDW_DOCKBAR_TOP, 8},
                          {AFX_IDW_DOCKBAR_RIGHT, 8},
                          {AFX_IDW_DOCKBAR_BOTTOM, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        COXSizeDockBar* pDock = Dock(c.nID);
        COXSizeControlBar* pBar = MakeBar(CSize(200, 200));
        SetRows(pDock, {{pBar}});
        Shape(pDock, pBar, 300, 200);
        Layout();
        const CRect rectDock = ChildRect(pDock);
        EXPECT_EQ(pDock->IsHorizontal() ? rectDock.Height() : rectDock.Width(),
                  200 - B2X + c.nSplitterPart);
        ASSERT_EQ(pDock->m_arrSplitters.GetSize(), 1);
        const COXSplitterRect* pSplitter = pDock->GetSplitter(0);
        EXPECT_EQ(pSplitter->m_nSplitterType,
                  pDock->IsHorizontal() ? OX_SPLITTER_HORZ : OX_SPLITTER_VERT);
        pBar->DestroyWindow();
        Layout();
        EXPECT_EQ(pDock->m_arrSplitters.GetSize(), 0);
    }
}

TEST_F(OXSizeDockBarTest, SplittersLieBetweenSizeableBarsAndOnThePaneSideOfRows) {
    // Top: [A B] in one row; the in-row splitter between, the row splitter after.
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(300, 100));
    COXSizeControlBar* pB = MakeBar(CSize(300, 100));
    SetRows(pTop, {{pA, pB}});
    Shape(pTop, pA, 300, 100);
    Shape(pTop, pB, 300, 100);
    Layout();
    const CRect rectA = ChildRect(pA), rectB = ChildRect(pB);
    EXPECT_EQ(rectA.TopLeft(), CPoint(-B2X, -B2Y));
    ASSERT_EQ(pTop->m_arrSplitters.GetSize(), 2);
    const COXSplitterRect* pInRow = pTop->GetSplitter(0);
    EXPECT_EQ(pInRow->m_nSplitterType, OX_SPLITTER_VERT);
    EXPECT_EQ(pInRow->m_rectSplitter,
              CRect(rectA.right - B2X, -B2Y, rectA.right - B2X + 8, -B2Y + 100 - B2Y));
    EXPECT_EQ(pInRow->m_nBarIndex, 2);
    EXPECT_EQ(rectB.left, pInRow->m_rectSplitter.right);
    const COXSplitterRect* pRow = pTop->GetSplitter(1);
    EXPECT_EQ(pRow->m_nSplitterType, OX_SPLITTER_HORZ);
    EXPECT_EQ(pRow->m_rectSplitter, CRect(-B2X, 100 - 2 * B2Y, 32767, 100 - 2 * B2Y + 8));
    EXPECT_EQ(pRow->m_nBarIndex, 3);

    // Bottom: the row splitter comes first, and the row below it.
    COXSizeDockBar* pBottom = Dock(AFX_IDW_DOCKBAR_BOTTOM);
    COXSizeControlBar* pC = MakeBar(CSize(300, 100));
    SetRows(pBottom, {{pC}});
    Shape(pBottom, pC, 300, 100);
    Layout();
    ASSERT_EQ(pBottom->m_arrSplitters.GetSize(), 1);
    EXPECT_EQ(pBottom->GetSplitter(0)->m_rectSplitter, CRect(-B2X, -B2Y, 32767, -B2Y + 8));
    EXPECT_EQ(pBottom->GetSplitter(0)->m_nBarIndex, 1);
    EXPECT_EQ(ChildRect(pC).top, -B2Y + 8);
}

TEST_F(OXSizeDockBarTest, AFixedBarBetweenSizeableBarsGetsNoSplitterAndFixedRowsNone) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(200, 60));
    CFixedBar* pFixed = MakeFixedBar(CSize(80, 30));
    COXSizeControlBar* pB = MakeBar(CSize(200, 60));
    CFixedBar* pOther = MakeFixedBar(CSize(80, 30));
    SetRows(pTop, {{pOther}, {pA, pFixed, pB}});
    Layout();
    // One row splitter after the sizeable row; none between A and the fixed bar.
    ASSERT_EQ(pTop->m_arrSplitters.GetSize(), 1);
    EXPECT_EQ(pTop->GetSplitter(0)->m_nSplitterType, OX_SPLITTER_HORZ);
    EXPECT_EQ(ChildRect(pFixed).left, ChildRect(pA).right - B2X);
    EXPECT_EQ(ChildRect(pA).top, 30 - 2 * B2Y);
}

TEST_F(OXSizeDockBarTest, ABarPastTheEndOfItsRowStartsANewRow) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    CFixedBar* pWide = MakeFixedBar(CSize(rectClient.Width() + 50, 30));
    CFixedBar* pNext = MakeFixedBar(CSize(80, 30));
    SetRows(pTop, {{pWide, pNext}});
    Layout();
    EXPECT_EQ(pTop->m_arrBars.GetSize(), 5); // [null, wide, null, next, null]
    EXPECT_EQ(pTop->m_arrBars[2], nullptr);
    EXPECT_EQ(ChildRect(pNext).TopLeft(), CPoint(-B2X, 30 - 2 * B2Y));
}

TEST_F(OXSizeDockBarTest, ASizeableBarWithAnEmptyWindowTakesAWholeRow) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(200, 80));
    COXSizeControlBar* pB = MakeBar(CSize(200, 80));
    SetRows(pTop, {{pA}});
    Layout();
    const int W = pTop->m_sizeAvail.cx;
    // Alone in its row it keeps the row, which gains no empty neighbour.
    for (int nPass = 0; nPass < 2; ++nPass) {
        Shape(pTop, pA, 0, 80);
        Layout();
        EXPECT_EQ(pTop->m_arrBars.GetSize(), 3);
        EXPECT_EQ(pA->m_sizeHorzDock.cx, W + B2X);
        EXPECT_EQ(ChildRect(pA), CRect(-B2X, -B2Y, W, 80 - B2Y));
    }
    // First of two, the rest of the row moves to a row of its own.
    SetRows(pTop, {{pA, pB}});
    Layout();
    Shape(pTop, pA, 0, 80);
    Layout();
    ASSERT_EQ(pTop->m_arrBars.GetSize(), 5);
    EXPECT_EQ(pTop->m_arrBars[2], nullptr);
    EXPECT_EQ(pA->m_sizeHorzDock.cx, W + B2X);
    EXPECT_EQ(pB->m_sizeHorzDock.cx, W + B2X);
    EXPECT_EQ(pA->m_pDockContext->m_rectMRUDockPos, ChildRect(pA));
    EXPECT_EQ(pA->m_pDockContext->m_uMRUDockID, static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
}

// ---- Queries.

TEST_F(OXSizeDockBarTest, RowQueriesFindRowsByRectangleAndStart) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* pA = MakeBar(CSize(100, 100));
    COXSizeControlBar* pB = MakeBar(CSize(100, 100));
    COXSizeControlBar* pC = MakeBar(CSize(100, 100));
    SetRows(pLeft, {{pA, pB}, {pC}});
    Layout();
    CRect rectA, rectC;
    pA->GetWindowRect(&rectA);
    pC->GetWindowRect(&rectC);
    EXPECT_EQ(pLeft->FindRowByRect(rectA), 3);
    EXPECT_EQ(pLeft->FindRowByRect(rectC), 5);
    EXPECT_EQ(pLeft->FindRowByRect(rectC + CPoint(500, 0)), 6); // past every row
    EXPECT_EQ(pLeft->FindRowByRect(rectA - CPoint(500, 0)), 0);
    for (int n : {1, 2, 3})
        EXPECT_EQ(pLeft->FindRowStart(n), 1) << n;
    EXPECT_EQ(pLeft->FindRowStart(4), 4);
    EXPECT_EQ(pLeft->FindRowStart(5), 4);
    EXPECT_EQ(pLeft->FindRowStart(0), 0);
    EXPECT_EQ(pLeft->FindRowStartBefore(4), 1);
    EXPECT_EQ(pLeft->FindRowStartBefore(5), 4);

    EXPECT_EQ(pLeft->CountOtherBarsInRow(pA, rectA), 1);
    EXPECT_EQ(pLeft->CountOtherBarsInRow(pC, rectC), 0);
    EXPECT_EQ(pLeft->CountOtherBarsInRow(pC, rectC + CPoint(500, 0)), 0);
    EXPECT_EQ(pLeft->CountOtherSizeBars(pA), 2);
    EXPECT_EQ(pLeft->CountOtherSizeBars(nullptr), 3);
    EXPECT_EQ(pLeft->FindOtherSizeBar(pA), pB);
    EXPECT_EQ(pLeft->FindOtherSizeBar(nullptr), pA);
    EXPECT_EQ(pLeft->FindOtherCoolToolBar(pA), nullptr);
    EXPECT_EQ(pLeft->GetFirstDockedBar(), pA);
    EXPECT_TRUE(pLeft->RowHasSizeBar(4));

    // A place holder and a destroyed bar are no bars.
    pLeft->m_arrBars.InsertAt(1, reinterpret_cast<void*>(static_cast<UINT_PTR>(kFirstBarID)));
    EXPECT_EQ(pLeft->GetValidBar(1), nullptr);
    EXPECT_EQ(pLeft->GetFirstDockedBar(), nullptr);
    pLeft->m_arrBars.RemoveAt(1);
    COXSizeControlBar* pGone = MakeBar(CSize(10, 10));
    pLeft->m_arrBars.InsertAt(1, pGone);
    pGone->DestroyWindow();
    EXPECT_EQ(pLeft->GetValidBar(1), nullptr);
    EXPECT_EQ(pLeft->CountOtherSizeBars(nullptr), 3);
    pLeft->m_arrBars.RemoveAt(1);
}

TEST_F(OXSizeDockBarTest, BarsAtTheSamePlaceShareTheirLeftEdge) {
    struct Case {
        UINT nID;
        int nOffset;
        int nExpected;
    };
    const Case cases[] = {
        {AFX_IDW_DOCKBAR_LEFT, 0, 2},   {AFX_IDW_DOCKBAR_LEFT, 4, 2},
        {AFX_IDW_DOCKBAR_LEFT, -4, 2},  {AFX_IDW_DOCKBAR_LEFT, 5, 1},
        {AFX_IDW_DOCKBAR_TOP, 0, 2},    {AFX_IDW_DOCKBAR_TOP, 1, 1},
        {AFX_IDW_DOCKBAR_RIGHT, 4, 2},  {AFX_IDW_DOCKBAR_RIGHT, -5, 1},
        {AFX_IDW_DOCKBAR_BOTTOM, 0, 2}, {AFX_IDW_DOCKBAR_BOTTOM, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nOffset);
        COXSizeDockBar* pDock = Dock(c.nID);
        COXSizeControlBar* pA = MakeBar(CSize(100, 100));
        COXSizeControlBar* pB = MakeBar(CSize(100, 100));
        SetRows(pDock, {{pA}, {pB}});
        pA->MoveWindow(10, 10, 100, 100);
        pB->MoveWindow(10 + c.nOffset, 150, 100, 100);
        EXPECT_EQ(pDock->CountBarsAtSamePlace(pB), c.nExpected);
        pB->ShowWindow(SW_HIDE);
        EXPECT_EQ(pDock->CountBarsAtSamePlace(pA), 1);
        ClearRows(pDock, {pA, pB});
    }
}

// ---- Finding the dock bar under a dragged bar.

TEST_F(OXSizeDockBarTest, FindDockBarAtLooksNearEachSideInASecondPassButNotInTheSidesBottomCut) {
    struct Side {
        UINT nID;
        DWORD dwAlign;
        CPoint outward; // away from the pane
        bool bBottomCut;
    };
    const Side sides[] = {
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, CPoint(-1, 0), true},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, CPoint(1, 0), true},
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, CPoint(0, -1), false},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, CPoint(0, 1), false},
    };
    for (const Side& side : sides) {
        SCOPED_TRACE(side.nID);
        COXSizeDockBar* pDock = Dock(side.nID);
        COXSizeControlBar* pDocked = MakeBar(CSize(150, 200), side.dwAlign);
        SetRows(pDock, {{pDocked}});
        Layout();
        COXSizeControlBar* pThisSide = MakeBar(CSize(100, 100), side.dwAlign);
        const DWORD dwOtherSide =
            side.dwAlign & CBRS_ORIENT_HORZ ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
        COXSizeControlBar* pOtherSide = MakeBar(CSize(100, 100), dwOtherSide);
        CRect rect;
        pDock->GetWindowRect(&rect);
        const CPoint centre = rect.CenterPoint();
        // The point d pixels beyond the dock bar's outer edge (d < 0: its pane
        // edge), level with its centre.
        auto beyond = [&](int d) {
            CPoint pt = centre;
            if (side.outward.x != 0)
                pt.x = side.outward.x < 0 ? rect.left - d : rect.right - 1 + d;
            else
                pt.y = side.outward.y < 0 ? rect.top - d : rect.bottom - 1 + d;
            return pt;
        };
        // Beside the dock bar's far end (its bottom on the left and right,
        // its right end on the top and bottom), 10 pixels out.
        auto nearEnd = [&](int nFromEnd) {
            CPoint pt = beyond(10);
            if (side.outward.x != 0)
                pt.y = rect.bottom - nFromEnd;
            else
                pt = CPoint(rect.right - 1 + 10, rect.bottom - nFromEnd);
            return pt;
        };
        struct Case {
            const char* name;
            CPoint pt;
            CControlBar* pBar;
            bool bFound;
        };
        const Case cases[] = {
            {"inside", centre, pThisSide, true},
            {"15 pixels out: second pass", beyond(15), pThisSide, true},
            {"25 pixels out: none", beyond(25), pThisSide, false},
            {"15 pixels on the pane's side", beyond(-15), pThisSide, true},
            {"a side the bar may not take", centre, pOtherSide, false},
            {"near the end, above the cut", nearEnd(10), pThisSide, true},
            {"near the end, in the cut of a side dock bar", nearEnd(5), pThisSide,
             !side.bBottomCut},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(COXSizeDockBar::FindDockBarAt(c.pt, c.pBar), c.bFound ? pDock : nullptr);
        }
        ClearRows(pDock, {pDocked});
        Layout();
    }
    COXSizeControlBar* pAny = MakeBar(CSize(100, 100));
    theApp.m_pMainWnd = nullptr;
    EXPECT_EQ(COXSizeDockBar::FindDockBarAt(CPoint(5, 5), pAny), nullptr);
}

TEST_F(OXSizeDockBarTest, FindDockBarAtTriesLeftRightTopBottomInTurn) {
    COXSizeControlBar* pAny = MakeBar(CSize(100, 100));
    Layout();
    CRect rectTop, rectLeft;
    Dock(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&rectTop);
    Dock(AFX_IDW_DOCKBAR_LEFT)->GetWindowRect(&rectLeft);
    // The top-left corner is near both empty dock bars: the left one wins.
    EXPECT_EQ(COXSizeDockBar::FindDockBarAt(rectTop.TopLeft() + CPoint(3, 3), pAny),
              Dock(AFX_IDW_DOCKBAR_LEFT));
    pAny->m_dwDockStyle = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
    EXPECT_EQ(COXSizeDockBar::FindDockBarAt(rectTop.TopLeft() + CPoint(3, 3), pAny),
              Dock(AFX_IDW_DOCKBAR_TOP));
}

// ---- Docking at a rectangle.

TEST_F(OXSizeDockBarTest, DockBarAtRectWithoutARectangleAppendsARow) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(200, 80));
    COXSizeControlBar* pB = MakeBar(CSize(200, 80));
    SetRows(pTop, {{pA}});
    pB->SetWindowText("Notes");
    pTop->DockBarAtRect(pB, nullptr);
    EXPECT_EQ(pTop->m_arrBars.GetSize(), 5);
    EXPECT_EQ(pTop->m_arrBars[3], pB);
    EXPECT_EQ(pB->m_pDockBar, pTop);
    EXPECT_EQ(pB->GetParent(), pTop);
    EXPECT_EQ(pB->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING),
              static_cast<DWORD>(CBRS_ALIGN_TOP | CBRS_BORDER_ANY));
    EXPECT_EQ(ChildRect(pB).TopLeft(), CPoint(-B2X, -B2Y));
    CString strTitle;
    pTop->GetWindowText(strTitle);
    EXPECT_STREQ(static_cast<LPCTSTR>(strTitle), "Notes");

    // Docked again at its own place: nothing changes.
    pTop->DockBarAtRect(pB, nullptr);
    EXPECT_EQ(pTop->m_arrBars.GetSize(), 5);

    // From another dock bar it leaves that one.
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    pLeft->DockBarAtRect(pB, nullptr);
    EXPECT_EQ(pTop->FindBar(pB), -1);
    EXPECT_EQ(pTop->m_arrBars.GetSize(), 3);
    EXPECT_EQ(pLeft->FindBar(pB), 1);
    EXPECT_TRUE(pB->IsWindowVisible());
}

TEST_F(OXSizeDockBarTest, DockBarAtRectPlacesASizeableBarAfterTheBarsBeforeIt) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(200, 80));
    SetRows(pTop, {{pA}});
    Layout();
    Shape(pTop, pA, 200, 80);
    const CRect rectA = ChildRect(pA);
    ASSERT_EQ(rectA, CRect(-B2X, -B2Y, 200 - B2X, 80 - B2Y));

    // Dropped over A's middle, level with A: after A and its splitter.
    COXSizeControlBar* pB = MakeBar(CSize(150, 80));
    pB->MoveWindow(300, rectA.top, 150,
                   80); // the frame's client area starts where the dock bar's does
    CRect rectDrop(CPoint(rectA.left + 50, rectA.top), CSize(150, 80));
    pTop->ClientToScreen(&rectDrop);
    pTop->DockBarAtRect(pB, &rectDrop);
    EXPECT_EQ(pTop->FindBar(pB), 2);
    EXPECT_EQ(ChildRect(pB),
              CRect(rectA.right + 8 - 2, rectA.top, rectA.right + 6 + 150, rectA.bottom));
    EXPECT_EQ(pTop->GetRowInsertLeft(pB, rectA.top, rectA.left - 1), -2);
    EXPECT_EQ(pTop->GetRowInsertLeft(pB, rectA.top + 1, rectA.left + 50), -2);

    // A fixed bar keeps its place, but not within the bars before it.
    CFixedBar* pFixed = MakeFixedBar(CSize(100, 80));
    pFixed->MoveWindow(500, rectA.top, 100, 80);
    CRect rectFixed(CPoint(rectA.left + 20, rectA.top), CSize(100, 80));
    pTop->ClientToScreen(&rectFixed);
    pTop->DockBarAtRect(pFixed, &rectFixed);
    EXPECT_EQ(pTop->FindBar(pFixed), 2);
    EXPECT_EQ(ChildRect(pFixed).left, rectA.right - 2);

    // Points just outside the left or top edge snap onto it.
    EXPECT_EQ(pTop->FindInsertPoint(-8, 5), CPoint(-2, 5));
    EXPECT_EQ(pTop->FindInsertPoint(-12, -3), CPoint(-12, -2));
    EXPECT_EQ(pTop->FindInsertPoint(-2, -11), CPoint(-2, -2));
}

TEST_F(OXSizeDockBarTest, ColumnInsertTopStartsAtTheTopAndSkipsTheBarsAbove) {
    COXSizeDockBar* pLeft = Dock(AFX_IDW_DOCKBAR_LEFT);
    COXSizeControlBar* pA = MakeBar(CSize(100, 100));
    COXSizeControlBar* pB = MakeBar(CSize(100, 100));
    SetRows(pLeft, {{pA}});
    Layout();
    Shape(pLeft, pA, 120, 100);
    const CRect rectA = ChildRect(pA);
    EXPECT_EQ(pLeft->GetColumnInsertTop(pB, rectA.left, rectA.top + 10), rectA.bottom + 8 - 2);
    EXPECT_EQ(pLeft->GetColumnInsertTop(pB, rectA.left, rectA.top - 1), 0);
    EXPECT_EQ(pLeft->GetColumnInsertTop(pB, rectA.left + 3, rectA.top + 10), 0);
}

// ---- Maximising within a row.

class OXSizeDockBarRowTest : public OXSizeDockBarTest {
protected:
    void SetUp() override {
        OXSizeDockBarTest::SetUp();
        m_pTop = Dock(AFX_IDW_DOCKBAR_TOP);
        for (COXSizeControlBar*& pBar : m_bars)
            pBar = MakeBar(CSize(100, 100));
        SetRows(m_pTop, {{m_bars[0], m_bars[1], m_bars[2]}});
        Layout();
        // The user's sizes, after the first layout has shared the row out.
        Shape(m_pTop, m_bars[0], 200, 100);
        Shape(m_pTop, m_bars[1], 300, 100);
        Shape(m_pTop, m_bars[2], 100, 100);
        Layout();
    }
    std::vector<int> Lengths() {
        return {m_bars[0]->m_sizeHorzDock.cx, m_bars[1]->m_sizeHorzDock.cx,
                m_bars[2]->m_sizeHorzDock.cx};
    }
    COXSizeDockBar* m_pTop = nullptr;
    COXSizeControlBar* m_bars[3] = {};
};

TEST_F(OXSizeDockBarRowTest, MaximisingTheMiddleBarLeavesTheOthersTheirCaptions) {
    ASSERT_EQ(Lengths(), (std::vector<int>{200, 300, 100}));
    m_pTop->MaximizeBar(m_bars[1], TRUE);
    EXPECT_EQ(Lengths(), (std::vector<int>{21, 558, 21}));
    EXPECT_TRUE(m_bars[1]->m_bMaximized);
    EXPECT_FALSE(m_bars[0]->m_bMaximized);
    EXPECT_EQ(ChildRect(m_bars[1]).Width(), 558);

    m_pTop->MaximizeBar(m_bars[1], FALSE);
    EXPECT_EQ(Lengths(), (std::vector<int>{200, 300, 100}));
    EXPECT_FALSE(m_bars[1]->m_bMaximized);
    EXPECT_EQ(ChildRect(m_bars[0]).Width(), 200);
}

TEST_F(OXSizeDockBarRowTest, ASecondMaximiseKeepsTheSizesSavedByTheFirst) {
    m_pTop->MaximizeBar(m_bars[1], TRUE);
    m_pTop->MaximizeBar(m_bars[0], TRUE);
    EXPECT_EQ(Lengths(), (std::vector<int>{558, 21, 21}));
    EXPECT_EQ(m_bars[0]->m_sizeBeforeMaximize.cx, 200);
    EXPECT_EQ(m_bars[1]->m_sizeBeforeMaximize.cx, 300);
    EXPECT_EQ(m_bars[2]->m_sizeBeforeMaximize.cx, 100);
    m_pTop->MaximizeBar(m_bars[0], FALSE);
    EXPECT_EQ(Lengths(), (std::vector<int>{200, 300, 100}));
}

TEST_F(OXSizeDockBarRowTest, FittingARowAroundABarShrinksTheOthersByItsLengthAndSplitter) {
    // [200, 300, 100] with a 120-long bar docked between the first two.
    COXSizeControlBar* pNew = MakeBar(CSize(120, 100));
    m_pFrame->DockControlBar(pNew, m_pTop);
    m_pTop->m_arrBars.RemoveAt(m_pTop->FindBar(pNew));
    m_pTop->m_arrBars.SetSize(m_pTop->m_arrBars.GetSize() - 1); // its row end
    m_pTop->m_arrBars.InsertAt(2, pNew);
    Shape(m_pTop, pNew, 120, 100);
    m_pTop->FitRowAroundBar(pNew);
    // Others: 600 long with two splitters (616); they share 616 - 128 = 488,
    // and 488 + 2 x 3 - 16 = 478 in 2:3:1.
    EXPECT_EQ(m_bars[0]->m_sizeHorzDock.cx, 159);
    EXPECT_EQ(m_bars[1]->m_sizeHorzDock.cx, 239);
    EXPECT_EQ(m_bars[2]->m_sizeHorzDock.cx, 80);
    EXPECT_EQ(pNew->m_sizeHorzDock.cx, 120);
}

// ---- Split cursors and splitter drags.

TEST_F(OXSizeDockBarRowTest, TheCursorShowsTheSplitterDirection) {
    ASSERT_EQ(m_pTop->m_arrSplitters.GetSize(), 3);
    const CPoint ptInRow = m_pTop->GetSplitter(0)->m_rectSplitter.CenterPoint();
    const CRect rectRow = m_pTop->GetSplitter(2)->m_rectSplitter;
    const CPoint ptRow(100, rectRow.CenterPoint().y);
    const CPoint ptElsewhere = ChildRect(m_bars[0]).CenterPoint();
    struct Case {
        CPoint pt;
        LPCSTR lpszCursor;
        const COXSplitterRect* pSplitter;
    };
    const Case cases[] = {
        {ptInRow, MAKEINTRESOURCEA(32644), m_pTop->GetSplitter(0)}, // IDC_SIZEWE
        {ptRow, MAKEINTRESOURCEA(32645), m_pTop->GetSplitter(2)},   // IDC_SIZENS
        {ptElsewhere, MAKEINTRESOURCEA(32512), nullptr},            // IDC_ARROW
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pt.x);
        EXPECT_EQ(m_pTop->SetSplitterCursor(c.pt), c.pSplitter);
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, c.lpszCursor));
    }
    EXPECT_EQ(m_pTop->m_hcurSizeWE, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32644)));
    EXPECT_EQ(m_pTop->m_hcurSizeNS, ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32645)));
}

// Drags splitter nSplitter of pDock by delta with posted messages; bCancel
// ends with Escape instead of a release.
void DragSplitter(COXSizeDockBar* pDock, int nSplitter, CSize delta, BOOL bCancel = FALSE) {
    COXSplitterRect* pSplitter = pDock->GetSplitter(nSplitter);
    ASSERT_NE(pSplitter, nullptr);
    const CPoint ptStart = pSplitter->m_rectSplitter.TopLeft() + CPoint(4, 4);
    const CPoint ptEnd = ptStart + delta;
    ::PostMessage(pDock->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
    if (bCancel)
        ::PostMessage(pDock->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    else
        ::PostMessage(pDock->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptEnd.x, ptEnd.y));
    pDock->m_pTrackSplitter = pSplitter;
    pDock->TrackSplitter(ptStart);
    pDock->m_pTrackSplitter = nullptr;
}

TEST_F(OXSizeDockBarRowTest, DraggingAnInRowSplitterMovesLengthBetweenNeighbours) {
    struct Case {
        int nSplitter;
        int dx;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {0, 30, {230, 270, 100}},  // the first splitter right: A grows, B gives
        {0, -50, {150, 350, 100}}, // left: A gives, B grows
        {1, 40, {200, 340, 60}},   // the second splitter right: C gives
        {0, 0, {200, 300, 100}},   // no move, no change
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        Shape(m_pTop, m_bars[0], 200, 100);
        Shape(m_pTop, m_bars[1], 300, 100);
        Shape(m_pTop, m_bars[2], 100, 100);
        Layout();
        DragSplitter(m_pTop, c.nSplitter, CSize(c.dx, 7));
        EXPECT_EQ(Lengths(), c.expected);
        EXPECT_EQ(ChildRect(m_bars[0]).Width(), c.expected[0]);
    }
}

TEST_F(OXSizeDockBarRowTest, APressOnASplitterDragsItAndAPressElsewhereDoesNothing) {
    const CPoint ptSplitter = m_pTop->GetSplitter(0)->m_rectSplitter.CenterPoint();
    const CPoint ptEnd = ptSplitter + CSize(25, 0);
    ::PostMessage(m_pTop->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
    ::PostMessage(m_pTop->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(ptEnd.x, ptEnd.y));
    m_pTop->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptSplitter.x, ptSplitter.y));
    EXPECT_EQ(Lengths(), (std::vector<int>{225, 275, 100}));
    EXPECT_EQ(m_pTop->m_pTrackSplitter, nullptr);

    const CPoint ptBar = ChildRect(m_bars[0]).CenterPoint();
    const CPoint ptInside(ptBar.x, 50);
    m_pTop->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptInside.x, ptInside.y));
    EXPECT_EQ(Lengths(), (std::vector<int>{225, 275, 100}));
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(OXSizeDockBarRowTest, MouseMovesSetTheCursorAndTheClientAreaKeepsIt) {
    const CPoint ptSplitter = m_pTop->GetSplitter(0)->m_rectSplitter.CenterPoint();
    m_pTop->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptSplitter.x, ptSplitter.y));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32644)));
    EXPECT_EQ(m_pTop->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_pTop->m_hWnd),
                                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32644)));
}

TEST_F(OXSizeDockBarRowTest, EscapeCancelsASplitterDrag) {
    DragSplitter(m_pTop, 0, CSize(60, 0), TRUE);
    EXPECT_EQ(Lengths(), (std::vector<int>{200, 300, 100}));
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(OXSizeDockBarTest, AnInRowSplitterIsHeldByWhatEachSideCanGive) {
    // [fixed 50, A 100, B 100] and 50 pixels of room after B: the frame's
    // client area is made 302 wide.
    CRect rectWindow, rectClient;
    m_pFrame->GetWindowRect(&rectWindow);
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 302 + rectWindow.Width() - rectClient.Width(),
                           rectWindow.Height(), SWP_NOMOVE | SWP_NOZORDER);
    m_pFrame->GetClientRect(&rectClient);
    ASSERT_EQ(rectClient.Width(), 302);
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    CFixedBar* pFixed = MakeFixedBar(CSize(50, 40));
    COXSizeControlBar* pA = MakeBar(CSize(100, 100));
    COXSizeControlBar* pB = MakeBar(CSize(100, 100));
    for (int nDrag : {400, -400}) {
        SCOPED_TRACE(nDrag);
        // The first layout of the frame shares the row out; the second keeps
        // the user's sizes.
        SetRows(pTop, {{pFixed, pA, pB}});
        for (int nPass = 0; nPass < 2; ++nPass) {
            Shape(pTop, pA, 100, 100);
            Shape(pTop, pB, 100, 100);
            Layout();
        }
        ASSERT_EQ(ChildRect(pB).right, 302 - 50);
        const CRect rectSplitter = pTop->GetSplitter(0)->m_rectSplitter;
        ASSERT_EQ(rectSplitter.left, ChildRect(pA).right - B2X);
        int nCountAfter = 0, nCountBefore = 0;
        EXPECT_EQ(pTop->ShrinkBarsAfter(3, 16000, FALSE, &nCountAfter), 150);
        EXPECT_EQ(pTop->ShrinkBarsBefore(2, 16000, FALSE, &nCountBefore), 100);
        EXPECT_EQ(nCountAfter, 1);
        EXPECT_EQ(nCountBefore, 1);
        EXPECT_EQ(pA->m_sizeHorzDock.cx, 100); // only asked

        // The tracked rectangle starts at S.left + 2 and is held within
        // S.left - 100 .. S.left + 150.
        DragSplitter(pTop, 0, CSize(nDrag, 0));
        if (nDrag > 0) {
            EXPECT_EQ(pA->m_sizeHorzDock.cx, 100 + 148);
            // B, given up whole, now starts past the row's end: the layout
            // moved it to a row of its own, which it fills.
            EXPECT_EQ(pTop->FindBar(pB), 4);
            EXPECT_EQ(pTop->m_arrBars[3], nullptr);
            EXPECT_EQ(pB->m_sizeHorzDock.cx, 302 + B2X);
        } else {
            EXPECT_EQ(pA->m_sizeHorzDock.cx, 0);
            EXPECT_EQ(pB->m_sizeHorzDock.cx, 200);
        }
    }
}

TEST_F(OXSizeDockBarTest, ShrinkingTakesFromTheNearestBarsFirstAndGrowthGoesToTheNearest) {
    COXSizeDockBar* pTop = Dock(AFX_IDW_DOCKBAR_TOP);
    COXSizeControlBar* pA = MakeBar(CSize(100, 100));
    COXSizeControlBar* pB = MakeBar(CSize(100, 100));
    COXSizeControlBar* pC = MakeBar(CSize(100, 100));
    SetRows(pTop, {{pA, pB, pC}});
    Layout();
    Shape(pTop, pA, 100, 100);
    Shape(pTop, pB, 60, 100);
    Shape(pTop, pC, 100, 100);
    pTop->m_sizeAvail.cx = ChildRect(pC).right; // no free room
    int nCount = 0;
    EXPECT_EQ(pTop->ShrinkBarsAfter(2, 90, TRUE, &nCount), 90);
    EXPECT_EQ(nCount, 2);
    EXPECT_EQ(pB->m_sizeHorzDock.cx, 0);
    EXPECT_EQ(pC->m_sizeHorzDock.cx, 70);
    EXPECT_EQ(pTop->ShrinkBarsAfter(2, 500, FALSE, &nCount), 70);
    EXPECT_EQ(pTop->ShrinkBarsBefore(3, 120, TRUE, &nCount), 120);
    EXPECT_EQ(nCount, 3);
    EXPECT_EQ(pC->m_sizeHorzDock.cx, 0);
    EXPECT_EQ(pA->m_sizeHorzDock.cx, 50);
    EXPECT_EQ(pTop->ShrinkBarsBefore(2, -30, TRUE), -30);
    EXPECT_EQ(pB->m_sizeHorzDock.cx, 30);
    EXPECT_EQ(pTop->ShrinkBarsAfter(2, -25, TRUE), -25);
    EXPECT_EQ(pB->m_sizeHorzDock.cx, 55);
}

struct SRowDragCase {
    const char* name;
    UINT nID;
    int nFixedThickness; // 0: no fixed bar in the row
    int nMove;           // across the rows, down or right
    int nExpected;       // kAtLeastFixed: thinner, but not below the fixed thickness
};

const int kAtLeastFixed = -1;

const SRowDragCase kRowDragCases[] = {
    {"top, down 30: the row above grows", AFX_IDW_DOCKBAR_TOP, 0, 30, 130},
    {"top, up 30", AFX_IDW_DOCKBAR_TOP, 0, -30, 70},
    {"bottom, down 30: the row below shrinks", AFX_IDW_DOCKBAR_BOTTOM, 0, 30, 70},
    // T - F = 20 and the top stops 10 short: at most 8 of the 30.
    {"bottom, held above the fixed thickness", AFX_IDW_DOCKBAR_BOTTOM, 80, 30, 92},
    // The bounds let the splitter go 22 (the 20 of T - F and its 2-pixel
    // inset) towards the row: the row stops at its fixed thickness.
    {"top, held at the fixed thickness", AFX_IDW_DOCKBAR_TOP, 80, -30, 80},
    {"left, right 30", AFX_IDW_DOCKBAR_LEFT, 0, 30, 130},
    {"left, held at the fixed thickness", AFX_IDW_DOCKBAR_LEFT, 80, -30, 80},
    {"right, right 30", AFX_IDW_DOCKBAR_RIGHT, 0, 30, 70},
    {"right, held above the fixed thickness", AFX_IDW_DOCKBAR_RIGHT, 80, 30, kAtLeastFixed},
};

TEST_F(OXSizeDockBarTest, DraggingARowSplitterChangesTheRowThickness) {
    for (const SRowDragCase& c : kRowDragCases) {
        SCOPED_TRACE(c.name);
        COXSizeDockBar* pDock = Dock(c.nID);
        COXSizeControlBar* pA = MakeBar(CSize(100, 100));
        COXSizeControlBar* pB = MakeBar(CSize(100, 100));
        std::vector<CControlBar*> row = {pA, pB};
        if (c.nFixedThickness != 0)
            row.push_back(MakeFixedBar(CSize(c.nFixedThickness, c.nFixedThickness)));
        SetRows(pDock, {row});
        Layout();
        Shape(pDock, pA, 150, 100);
        Shape(pDock, pB, 150, 100);
        Layout();
        int nRowSplitter = -1;
        for (int i = 0; i < pDock->m_arrSplitters.GetSize(); ++i) {
            const int nType = pDock->GetSplitter(i)->m_nSplitterType;
            if (pDock->IsHorizontal() ? nType == OX_SPLITTER_HORZ : nType == OX_SPLITTER_VERT)
                nRowSplitter = i;
        }
        ASSERT_NE(nRowSplitter, -1);
        DragSplitter(pDock, nRowSplitter,
                     pDock->IsHorizontal() ? CSize(5, c.nMove) : CSize(c.nMove, 5));
        for (COXSizeControlBar* pBar : {pA, pB}) {
            const int nThickness =
                pDock->IsHorizontal() ? pBar->m_sizeHorzDock.cy : pBar->m_sizeVertDock.cx;
            if (c.nExpected != kAtLeastFixed) {
                EXPECT_EQ(nThickness, c.nExpected);
                continue;
            }
            EXPECT_GE(nThickness, c.nFixedThickness);
            EXPECT_LT(nThickness, 100);
        }
        for (CControlBar* pBar : row)
            pBar->DestroyWindow();
        Layout();
    }
}

} // namespace
