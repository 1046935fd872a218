// Tests of the docking layer as the main frame uses it: a frame with sizeable
// dock bars on its four sides and the "Office 2003" skin, holding stand-ins for
// the Access Panel (left, framed) and the Player Panel (bottom, 650 x 220) and
// a third bar that may dock anywhere. Driven by the messages a user's mouse
// makes: docking on each side, rows sharing their length on resize, splitter
// drags, maximise and restore in a row, tabs for bars at one place, floating
// by a caption drag and by the drag context, docking back by double click.
// The rendering is checked at pixels whose colours the skin fixes, and kept as
// docking_frame.png beside the test program.
#include "DockingFrameSetUp.h"
#include "PanelBar.h"

#include "tests/support/Canvas.h"
#include "tests/support/GeometryPrint.h"
#include "tests/support/UiScript.h"
#include "tests/support/WindowRects.h"

#include "toolkit/OXDockbarSkin.h"
#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSizeCtrlBar.h"
#include "toolkit/OXSizeDockBar.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"
#include "toolkit/OXWndGeometry.h"

#include "native/gtest.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

COXSkinnedApp theApp;

const UINT kAccessPanelID = 130;
const UINT kPlayerPanelID = 133;
const UINT kNotesID = 134;

// The main frame's part in docking: it answers whether bars may be dragged by
// their captions and share places as tabs.
class CDockingFrame : public CFrameWnd {
public:
    LRESULT m_nTabbedDocking = 1;

protected:
    afx_msg LRESULT OnQueryTabDocking(WPARAM, LPARAM) { return m_nTabbedDocking; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockingFrame, CFrameWnd)
ON_MESSAGE(WM_QUERYTABDOCKING, &CDockingFrame::OnQueryTabDocking)
END_MESSAGE_MAP()

// What the application's message loop does between two mouse moves: the
// messages waiting, then the idle time in which delayed layouts run.
void Idle() {
    PumpPending();
    theApp.OnIdle(0);
    PumpPending();
}

LPARAM PointParam(CPoint pt) {
    return MAKELPARAM(pt.x, pt.y);
}

class DockingFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
        m_pFrame = new CDockingFrame;
        ASSERT_TRUE(CreateDockingFrame(m_pFrame, CRect(0, 0, 1000, 720), &m_pane, "Static",
                                       RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
        m_hFrame = m_pFrame->m_hWnd;

        m_pAccess = std::make_unique<CPanelBar>(SCBS_CONTEXTMENU);
        ASSERT_TRUE(m_pAccess->CreatePanel(m_pFrame, "Access Panel", kAccessPanelID,
                                           CRect(0, 0, 220, 500)));
        m_pAccess->EnableClientFrame();
        m_pPlayer = std::make_unique<CPanelBar>(0);
        ASSERT_TRUE(m_pPlayer->CreatePanel(m_pFrame, "Player Panel", kPlayerPanelID,
                                           CRect(0, 0, 650, 220)));
        m_pNotes = std::make_unique<CPanelBar>(0);
        ASSERT_TRUE(m_pNotes->CreatePanel(m_pFrame, "Notes", kNotesID, CRect(0, 0, 300, 200)));

        m_pAccess->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        m_pPlayer->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        m_pNotes->EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(m_pAccess.get(), AFX_IDW_DOCKBAR_LEFT);
        m_pFrame->DockControlBar(m_pPlayer.get(), AFX_IDW_DOCKBAR_BOTTOM);
        m_pFrame->DockControlBar(m_pNotes.get(), AFX_IDW_DOCKBAR_RIGHT);
        Layout();
    }
    void TearDown() override {
        DestroyDockingFrame(m_pFrame, m_hFrame);
        m_pAccess.reset();
        m_pPlayer.reset();
        m_pNotes.reset();
        PumpPending();
    }

    void Layout() {
        m_pFrame->RecalcLayout();
        PumpPending();
        m_pFrame->RedrawWindow(nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW |
                                   RDW_ALLCHILDREN);
    }
    COXSizeDockBar* DockBar(UINT nID) {
        return dynamic_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(nID));
    }
    UINT DockBarIDOf(CControlBar* pBar) {
        return pBar->m_pDockBar != nullptr ? pBar->m_pDockBar->GetDlgCtrlID() : 0;
    }
    CRect FrameClientRect(CWnd* pWnd) {
        CRect rect = ScreenRect(pWnd);
        m_pFrame->ScreenToClient(&rect);
        return rect;
    }
    // The row (0 for the first) that pBar sits in within its dock bar.
    int RowOf(CControlBar* pBar) {
        const CPtrArray& bars = pBar->m_pDockBar->m_arrBars;
        int nRow = -1;
        for (int i = 0; i < bars.GetSize(); ++i) {
            if (bars[i] == nullptr && i + 1 < bars.GetSize())
                ++nRow;
            if (bars[i] == pBar)
                return nRow;
        }
        return -1;
    }
    // Puts pBar into the bottom row beside the Player Panel, at its right.
    void DockNotesBesidePlayer() {
        COXSizeDockBar* pBottom = DockBar(AFX_IDW_DOCKBAR_BOTTOM);
        CRect rect = ScreenRect(m_pPlayer.get());
        rect.left = rect.right - 200;
        pBottom->DockBarAtRect(m_pNotes.get(), &rect);
        Layout();
        ASSERT_EQ(DockBarIDOf(m_pNotes.get()), AFX_IDW_DOCKBAR_BOTTOM);
        ASSERT_EQ(RowOf(m_pNotes.get()), RowOf(m_pPlayer.get()));
    }
    // The client point of pBar at the centre of a rectangle in its client
    // coordinates (the caption and its buttons lie at negative ones).
    static CPoint Centre(const CRect& rect) { return rect.CenterPoint(); }
    // Drags the Notes bar by its caption onto the bottom strip of the left
    // dock bar, at the Access Panel's left edge: the first move docks it
    // there, the next finds the two bars at one place.
    void DropNotesOnTheAccessPanel() {
        const CRect dockBar = ScreenRect(DockBar(AFX_IDW_DOCKBAR_LEFT));
        CaptionDragTo(m_pNotes.get(),
                      CPoint(ScreenRect(m_pAccess.get()).left + 30, dockBar.bottom - 20));
        Layout();
        ASSERT_EQ(DockBarIDOf(m_pNotes.get()), AFX_IDW_DOCKBAR_LEFT);
    }
    // A client point on pBar's caption, off its buttons.
    static CPoint CaptionPoint(COXSizeControlBar* pBar) {
        pBar->UpdateCaptionRects();
        const CRect& caption = pBar->m_rectCaption;
        return CPoint(caption.left + 40, caption.CenterPoint().y);
    }
    // Presses pBar's caption, moves past the drag threshold and on to the
    // screen point ptDrop (twice, as a hand comes to rest), and lets go there.
    // The pointer rests on the drop point, so that the moves Wine makes up
    // when windows move under it (which reach the bar holding the capture)
    // carry the same point. Tests that use this run alone ("Input").
    void CaptionDragTo(COXSizeControlBar* pBar, CPoint ptDrop) {
        ::SetCursorPos(ptDrop.x, ptDrop.y);
        const CPoint press = CaptionPoint(pBar);
        SendToBar(pBar, WM_LBUTTONDOWN, MK_LBUTTON, press);
        SendToBar(pBar, WM_MOUSEMOVE, MK_LBUTTON, press + CPoint(5, 0));
        ASSERT_TRUE(pBar->m_bCaptionDragging);
        for (int i = 0; i < 2; ++i) {
            CPoint pt = ptDrop;
            pBar->ScreenToClient(&pt); // the bar moves with every step
            SendToBar(pBar, WM_MOUSEMOVE, MK_LBUTTON, pt);
            Idle();
        }
        CPoint pt = ptDrop;
        pBar->ScreenToClient(&pt);
        SendToBar(pBar, WM_LBUTTONUP, 0, pt);
        PumpPending();
        EXPECT_FALSE(pBar->m_bCaptionDragging);
        EXPECT_EQ(::GetCapture(), nullptr);
    }
    void SendToBar(CWnd* pBar, UINT nMsg, WPARAM wParam, CPoint ptClient) {
        pBar->SendMessage(nMsg, wParam, PointParam(ptClient));
    }

    CDockingFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    const int B2X = AfxGetAuxData().cxBorder2;
    const int B2Y = AfxGetAuxData().cyBorder2;
    std::unique_ptr<CPanelBar> m_pAccess;
    std::unique_ptr<CPanelBar> m_pPlayer;
    std::unique_ptr<CPanelBar> m_pNotes;
};

} // namespace

TEST_F(DockingFrameTest, PanelsDockOnTheirSidesAndThePaneGetsTheRest) {
    CRect client;
    m_pFrame->GetClientRect(&client);
    EXPECT_EQ(DockBarIDOf(m_pAccess.get()), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(DockBarIDOf(m_pPlayer.get()), AFX_IDW_DOCKBAR_BOTTOM);
    const CRect access = FrameClientRect(m_pAccess.get());
    const CRect player = FrameClientRect(m_pPlayer.get());
    const CRect pane = FrameClientRect(&m_pane);
    EXPECT_LE(access.left, client.left + 2);
    EXPECT_GE(player.bottom, client.bottom - 2);
    // The Player Panel keeps its height; the Access Panel its width.
    EXPECT_EQ(player.Height(), 220);
    EXPECT_EQ(access.Width(), 220);
    CRect overlap;
    EXPECT_FALSE(overlap.IntersectRect(&pane, &access)) << "pane under the Access Panel";
    EXPECT_FALSE(overlap.IntersectRect(&pane, &player)) << "pane under the Player Panel";
    EXPECT_GT(pane.Width(), 400);
    EXPECT_GT(pane.Height(), 300);
}

TEST_F(DockingFrameTest, InputCaptionDragDocksTheThirdBarOnEachSide) {
    CRect client;
    m_pFrame->GetClientRect(&client);
    const CPoint centre = client.CenterPoint();
    struct Case {
        UINT nDockBarID;
        DWORD dwAlign;
        CPoint ptDrop; // frame client coordinates, just inside the side
    };
    const Case cases[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP, {centre.x, client.top + 4}},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, {client.left + 4, centre.y}},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, {centre.x, client.bottom - 4}},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, {client.right - 4, centre.y}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nDockBarID);
        CPoint drop = c.ptDrop;
        m_pFrame->ClientToScreen(&drop);
        CaptionDragTo(m_pNotes.get(), drop);
        Layout();
        EXPECT_EQ(DockBarIDOf(m_pNotes.get()), c.nDockBarID);
        EXPECT_EQ(m_pNotes->GetBarStyle() & CBRS_ALIGN_ANY, c.dwAlign);
        EXPECT_FALSE(m_pNotes->IsBarFloating());
        // Docked bars overlap their dock bar's edges by the doubled border.
        CRect dockBar = FrameClientRect(DockBar(c.nDockBarID));
        dockBar.InflateRect(B2X, B2Y);
        const CRect notes = FrameClientRect(m_pNotes.get());
        CRect inside;
        EXPECT_TRUE(inside.IntersectRect(&dockBar, &notes));
        EXPECT_EQ(inside, notes) << "the bar lies inside its dock bar "
                                 << ::testing::PrintToString(dockBar);
        const CRect pane = FrameClientRect(&m_pane);
        EXPECT_FALSE(inside.IntersectRect(&pane, &notes)) << "the pane is not under the bar";
    }
}

TEST_F(DockingFrameTest, RowSharesItsLengthInProportionWhenTheFrameGrows) {
    DockNotesBesidePlayer();
    const int nPlayer = ScreenRect(m_pPlayer.get()).Width();
    const int nNotes = ScreenRect(m_pNotes.get()).Width();
    ASSERT_GT(nNotes, 0);
    m_pFrame->SetWindowPos(nullptr, 0, 0, 1300, 720, SWP_NOMOVE | SWP_NOZORDER);
    Layout();
    const int nPlayerAfter = ScreenRect(m_pPlayer.get()).Width();
    const int nNotesAfter = ScreenRect(m_pNotes.get()).Width();
    // The two bars and the splitter between them fill the row, each bar
    // overlapping the dock bar's edge by the doubled border.
    CRect row;
    DockBar(AFX_IDW_DOCKBAR_BOTTOM)->GetClientRect(&row);
    EXPECT_NEAR(nPlayerAfter + nNotesAfter + OX_SPLITTER_SIZE, row.Width() + 2 * B2X, 1);
    EXPECT_NEAR(double(nPlayerAfter) / nNotesAfter, double(nPlayer) / nNotes, 0.03);
    // Both still share one row.
    EXPECT_EQ(ScreenRect(m_pPlayer.get()).top, ScreenRect(m_pNotes.get()).top);
}

TEST_F(DockingFrameTest, SplitterDragGivesRoomFromOneBarToItsNeighbour) {
    DockNotesBesidePlayer();
    COXSizeDockBar* pBottom = DockBar(AFX_IDW_DOCKBAR_BOTTOM);
    COXSplitterRect* pSplitter = nullptr;
    for (int i = 0; i < pBottom->m_arrSplitters.GetSize(); ++i) {
        auto* p = static_cast<COXSplitterRect*>(pBottom->m_arrSplitters[i]);
        if (p->m_nSplitterType == OX_SPLITTER_VERT)
            pSplitter = p;
    }
    ASSERT_NE(pSplitter, nullptr) << "no splitter between the two bars";
    const int nPlayer = ScreenRect(m_pPlayer.get()).Width();
    const int nNotes = ScreenRect(m_pNotes.get()).Width();
    const CPoint press = Centre(pSplitter->m_rectSplitter);
    // The tracker's loop reads these after the press.
    pBottom->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(press + CPoint(-30, 0)));
    pBottom->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(press + CPoint(-60, 0)));
    pBottom->PostMessage(WM_LBUTTONUP, 0, PointParam(press + CPoint(-60, 0)));
    pBottom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(press));
    Layout();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_NEAR(ScreenRect(m_pPlayer.get()).Width(), nPlayer - 60, 1);
    EXPECT_NEAR(ScreenRect(m_pNotes.get()).Width(), nNotes + 60, 1);
}

TEST_F(DockingFrameTest, ResizeButtonMaximisesInTheRowAndRestores) {
    DockNotesBesidePlayer();
    const int nPlayer = ScreenRect(m_pPlayer.get()).Width();
    const int nNotes = ScreenRect(m_pNotes.get()).Width();
    ASSERT_TRUE(m_pNotes->CanResize());
    m_pNotes->UpdateCaptionRects();
    const CPoint button = Centre(m_pNotes->m_rectResizeBtn);
    SendToBar(m_pNotes.get(), WM_LBUTTONDOWN, MK_LBUTTON, button);
    EXPECT_EQ(m_pNotes->m_nPressedButton, OX_SIZEBAR_RESIZEBTN);
    SendToBar(m_pNotes.get(), WM_LBUTTONUP, 0, button);
    Layout();
    EXPECT_TRUE(m_pNotes->m_bMaximized);
    EXPECT_EQ(ScreenRect(m_pPlayer.get()).Width(), 21);
    EXPECT_NEAR(ScreenRect(m_pNotes.get()).Width(), nPlayer + nNotes - 21, 1);

    m_pNotes->UpdateCaptionRects();
    const CPoint restore = Centre(m_pNotes->m_rectResizeBtn);
    SendToBar(m_pNotes.get(), WM_LBUTTONDOWN, MK_LBUTTON, restore);
    SendToBar(m_pNotes.get(), WM_LBUTTONUP, 0, restore);
    Layout();
    EXPECT_FALSE(m_pNotes->m_bMaximized);
    EXPECT_NEAR(ScreenRect(m_pPlayer.get()).Width(), nPlayer, 1);
    EXPECT_NEAR(ScreenRect(m_pNotes.get()).Width(), nNotes, 1);
}

TEST_F(DockingFrameTest, InputTwoBarsDroppedAtOnePlaceShareItAsTabs) {
    COXSizeDockBar* pLeft = DockBar(AFX_IDW_DOCKBAR_LEFT);
    DropNotesOnTheAccessPanel();
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    EXPECT_EQ(pLeft->GetTabStripHeight(), OX_TABSTRIP_HEIGHT);
    // Only the dropped bar is shown.
    EXPECT_TRUE(m_pNotes->IsWindowVisible());
    EXPECT_FALSE(m_pAccess->IsWindowVisible());

    // The other tab brings the Access Panel back in its place.
    const int nAccessTab = pLeft->m_wndTabs.FindBar(m_pAccess.get());
    ASSERT_GE(nAccessTab, 0);
    pLeft->m_wndTabs.SetCurSel(nAccessTab);
    pLeft->m_wndTabs.ShowCurrentBar();
    Layout();
    EXPECT_TRUE(m_pAccess->IsWindowVisible());
    EXPECT_FALSE(m_pNotes->IsWindowVisible());

    // Taking one of two bars away ends the tabs.
    pLeft->m_wndTabs.RemoveBar(m_pNotes.get());
    Layout();
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
    EXPECT_EQ(pLeft->GetTabStripHeight(), 0);
}

TEST_F(DockingFrameTest, InputATabbedBarHiddenAndShownAgainGetsItsTabBack) {
    COXSizeDockBar* pLeft = DockBar(AFX_IDW_DOCKBAR_LEFT);
    DropNotesOnTheAccessPanel();
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    const int nTab = pLeft->m_wndTabs.FindBar(m_pNotes.get());

    // Hidden, it leaves the tabs, and the Access Panel stands alone again.
    m_pNotes->ShowBar(FALSE);
    Layout();
    EXPECT_EQ(m_pNotes->m_nLastTabIndex, nTab);
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
    EXPECT_FALSE(m_pNotes->IsWindowVisible());
    EXPECT_TRUE(m_pAccess->IsWindowVisible());

    // Shown, it takes its old tab again and is the bar on show.
    m_pNotes->ShowBar(TRUE);
    Layout();
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    EXPECT_EQ(pLeft->m_wndTabs.FindBar(m_pNotes.get()), nTab);
    EXPECT_TRUE(m_pNotes->IsWindowVisible());
    EXPECT_FALSE(m_pAccess->IsWindowVisible());
}

TEST_F(DockingFrameTest, InputDoubleClickOnATabbedBarTakesItOutOfTheTabsAndFloatsIt) {
    COXSizeDockBar* pLeft = DockBar(AFX_IDW_DOCKBAR_LEFT);
    DropNotesOnTheAccessPanel();
    ASSERT_EQ(pLeft->m_wndTabs.GetItemCount(), 2);
    SendToBar(m_pNotes.get(), WM_LBUTTONDBLCLK, MK_LBUTTON, CaptionPoint(m_pNotes.get()));
    Layout();
    EXPECT_TRUE(m_pNotes->IsBarFloating());
    EXPECT_EQ(pLeft->m_wndTabs.GetItemCount(), 0);
    EXPECT_TRUE(m_pAccess->IsWindowVisible());
}

TEST_F(DockingFrameTest, InputCaptionDragOrDoubleClickFloatsTheBarAndDoubleClickDocksItBack) {
    CPoint overPane = FrameClientRect(&m_pane).CenterPoint();
    m_pFrame->ClientToScreen(&overPane);
    CaptionDragTo(m_pNotes.get(), overPane);
    ASSERT_TRUE(m_pNotes->IsBarFloating());
    CFrameWnd* pFloating = m_pNotes->GetParentFrame();
    ASSERT_NE(pFloating, nullptr);
    EXPECT_TRUE(pFloating->IsKindOf(RUNTIME_CLASS(COXSizableMiniDockFrameWnd)));
    EXPECT_TRUE(pFloating->IsWindowVisible());
    EXPECT_TRUE(ScreenRect(pFloating).PtInRect(overPane));

    const CPoint floatingAt = ScreenRect(pFloating).TopLeft();

    // A double click on the floating bar puts it back where it was docked.
    SendToBar(m_pNotes.get(), WM_LBUTTONDBLCLK, MK_LBUTTON, CPoint(10, 10));
    Layout();
    EXPECT_FALSE(m_pNotes->IsBarFloating());
    EXPECT_EQ(DockBarIDOf(m_pNotes.get()), AFX_IDW_DOCKBAR_RIGHT);

    // A double click on its docked caption floats it again where it floated.
    SendToBar(m_pNotes.get(), WM_LBUTTONDBLCLK, MK_LBUTTON, CaptionPoint(m_pNotes.get()));
    Layout();
    ASSERT_TRUE(m_pNotes->IsBarFloating());
    EXPECT_EQ(ScreenRect(m_pNotes->GetParentFrame()).TopLeft(), floatingAt);
}

TEST_F(DockingFrameTest, InputDragContextFloatsAndDocksWhenCaptionDraggingIsOff) {
    m_pFrame->m_nTabbedDocking = 0;
    const CPoint press = CaptionPoint(m_pNotes.get());
    // The drag probes the sides with the bar's docked sizes laid from its
    // corner: far enough that they lie over the middle of the pane, clear of
    // every side.
    CPoint pressScreen = press;
    m_pNotes->ClientToScreen(&pressScreen);
    CPoint overPane = FrameClientRect(&m_pane).CenterPoint();
    m_pFrame->ClientToScreen(&overPane);
    const CRect bar = ScreenRect(m_pNotes.get());
    overPane += pressScreen - CPoint(bar.left + m_pNotes->m_sizeVertDock.cx / 2,
                                     bar.top + m_pNotes->m_sizeHorzDock.cy / 2);
    CPoint moveTo = overPane;
    m_pNotes->ScreenToClient(&moveTo);
    // The drag loop reads these after the press; a posted message carries the
    // cursor's position of its posting.
    ::SetCursorPos(overPane.x, overPane.y);
    m_pNotes->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(moveTo));
    m_pNotes->PostMessage(WM_LBUTTONUP, 0, PointParam(moveTo));
    SendToBar(m_pNotes.get(), WM_LBUTTONDOWN, MK_LBUTTON, press);
    Idle();
    EXPECT_EQ(::GetCapture(), nullptr);
    ASSERT_TRUE(m_pNotes->IsBarFloating());
    EXPECT_TRUE(ScreenRect(m_pNotes->GetParentFrame()).PtInRect(overPane));

    // Dragged by its floating frame's caption onto the top side, it docks there.
    CFrameWnd* pFloating = m_pNotes->GetParentFrame();
    CRect frameRect = ScreenRect(pFloating);
    CPoint captionPoint(frameRect.left + 30, frameRect.top + 8);
    // The bar's top edge, which hangs below the cursor as the frame does,
    // reaches the top of the frame's client area.
    const int nBelowCursor = ScreenRect(m_pNotes.get()).top - captionPoint.y;
    CPoint overTop(FrameClientRect(&m_pane).CenterPoint().x, 1 - nBelowCursor);
    m_pFrame->ClientToScreen(&overTop);
    CPoint loopPoint = overTop;
    m_pNotes->ScreenToClient(&loopPoint);
    ::SetCursorPos(overTop.x, overTop.y);
    m_pNotes->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(loopPoint));
    m_pNotes->PostMessage(WM_LBUTTONUP, 0, PointParam(loopPoint));
    pFloating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, PointParam(captionPoint));
    Layout();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(m_pNotes->IsBarFloating());
    EXPECT_EQ(DockBarIDOf(m_pNotes.get()), AFX_IDW_DOCKBAR_TOP);
}

namespace {

// The screen's colour at a point of pWnd's window (wx, wy from its top-left).
COLORREF WindowPixel(CWnd* pWnd, int wx, int wy) {
    const CRect rect = ScreenRect(pWnd);
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(hScreen, rect.left + wx, rect.top + wy);
    ::ReleaseDC(nullptr, hScreen);
    return color;
}

// Within nSteps steps (and one for rounding) of crAt on a gradient of nRows
// rows from crFrom to crTo.
bool OnGradientNear(COLORREF seen, COLORREF crAt, COLORREF crFrom, COLORREF crTo, int nRows,
                    int nSteps) {
    auto channelOk = [&](int shift) {
        const int from = (crFrom >> shift) & 0xFF, to = (crTo >> shift) & 0xFF;
        const int value = (seen >> shift) & 0xFF, at = (crAt >> shift) & 0xFF;
        return std::abs(value - at) <= std::abs(to - from) * nSteps / (nRows - 1) + 1;
    };
    return channelOk(0) && channelOk(8) && channelOk(16);
}

} // namespace

TEST_F(DockingFrameTest, Office2003ColoursOfCaptionsGrippersAndSplittersOnScreen) {
    DockNotesBesidePlayer();
    ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1); // off every button
    m_pFrame->SetForegroundWindow();
    Layout();
    Settle();
    auto* pSkin = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    EXPECT_TRUE(SaveScreenPng(ScreenRect(m_pFrame), "docking_frame.png"));

    // The Access Panel, docked on the left, has its caption band along its top:
    // 24 pixels of gradient from the light to the dark dock-bar colour, between
    // the text and the buttons. Its first rows lie under the dock bar's edge,
    // which every docked bar overlaps by the doubled border.
    const COLORREF crLight = pSkin->GetDockbarLightColor();
    const COLORREF crDark = pSkin->GetDockbarDarkColor();
    const int x = 150;
    EXPECT_TRUE(
        OnGradientNear(WindowPixel(m_pAccess.get(), x, B2Y), crLight, crLight, crDark, 24, B2Y));
    EXPECT_TRUE(
        OnGradientNear(WindowPixel(m_pAccess.get(), x, 23), crDark, crLight, crDark, 24, 1));
    EXPECT_NE(WindowPixel(m_pAccess.get(), x, 24), WindowPixel(m_pAccess.get(), x, 23));
    // Behind its close button, which is neither hot nor pressed, the band's
    // gradient runs on: the button's corner has the colour of the band beside it.
    m_pAccess->UpdateCaptionRects();
    CRect closeButton = m_pAccess->m_rectCloseBtn;
    closeButton.OffsetRect(OXClientOffsetInWindow(m_pAccess.get()));
    closeButton.InflateRect(1, 1, 2, 2);
    const COLORREF crBesideButton =
        WindowPixel(m_pAccess.get(), closeButton.right + 1, closeButton.top);
    EXPECT_EQ(WindowPixel(m_pAccess.get(), closeButton.left, closeButton.top), crBesideButton);
    EXPECT_NE(crBesideButton, pSkin->GetFaceColor());
    // Its gripper: a column of dot pairs at the band's left end, from 6 pixels down.
    EXPECT_EQ(WindowPixel(m_pAccess.get(), 5, 6), pSkin->GetGripperColor());
    EXPECT_EQ(WindowPixel(m_pAccess.get(), 5, 10), pSkin->GetGripperColor());
    // The framed Access Panel: a line of the outline colour around its client area.
    CPoint frameLine(-1, 40);
    m_pAccess->ClientToScreen(&frameLine);
    const CRect access = ScreenRect(m_pAccess.get());
    EXPECT_EQ(WindowPixel(m_pAccess.get(), frameLine.x - access.left, frameLine.y - access.top),
              pSkin->GetOutlineColor());

    // The Player Panel, docked at the bottom, has its band on its left, with
    // the gradient running left to right.
    EXPECT_TRUE(
        OnGradientNear(WindowPixel(m_pPlayer.get(), B2X, 120), crLight, crLight, crDark, 24, B2X));
    EXPECT_TRUE(
        OnGradientNear(WindowPixel(m_pPlayer.get(), 23, 120), crDark, crLight, crDark, 24, 1));

    // Splitters: the face colour with a one-pixel accent line through the middle.
    COXSizeDockBar* pBottom = DockBar(AFX_IDW_DOCKBAR_BOTTOM);
    int nChecked = 0;
    for (int i = 0; i < pBottom->m_arrSplitters.GetSize(); ++i) {
        const auto* p = static_cast<COXSplitterRect*>(pBottom->m_arrSplitters[i]);
        CRect visible;
        CRect client;
        pBottom->GetClientRect(&client);
        visible.IntersectRect(&p->m_rectSplitter, &client);
        if (visible.IsRectEmpty())
            continue;
        // The line runs through the middle of the strip, along all of it.
        CPoint centre = visible.CenterPoint();
        if (p->m_nSplitterType == OX_SPLITTER_VERT)
            centre.x = p->m_rectSplitter.CenterPoint().x;
        else
            centre.y = p->m_rectSplitter.CenterPoint().y;
        CPoint off =
            centre + (p->m_nSplitterType == OX_SPLITTER_VERT ? CPoint(2, 0) : CPoint(0, 2));
        pBottom->ClientToScreen(&centre);
        pBottom->ClientToScreen(&off);
        HDC hScreen = ::GetDC(nullptr);
        EXPECT_EQ(::GetPixel(hScreen, centre.x, centre.y), pSkin->GetDockbarAccentColor()) << i;
        EXPECT_EQ(::GetPixel(hScreen, off.x, off.y), pSkin->GetFaceColor()) << i;
        ::ReleaseDC(nullptr, hScreen);
        ++nChecked;
    }
    EXPECT_GE(nChecked, 2) << "the row splitter and the one between the two bars";
}
