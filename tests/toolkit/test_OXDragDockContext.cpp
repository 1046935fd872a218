// Tests of COXDragDockContext, the drag of sizeable bars: the probe and drag
// rectangles made from the bar's three sizes, the target shown as the bar's
// share of a row, docking and floating at the release, Ctrl, the cancels, a
// quit during the drag, and a drag that cannot start. The drag's messages are
// posted to the bar before the drag starts; its loop takes them in order.
#include "SizeBarTestFrame.h"

#include "toolkit/OXDragDockContext.h"

namespace {

COXSkinnedApp theApp;

// A window that asks the application to quit when told to, from inside
// whatever loop dispatches its message.
const UINT WM_TEST_QUIT = WM_APP + 1;
LRESULT CALLBACK QuitterProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_TEST_QUIT) {
        ::PostQuitMessage(static_cast<int>(wParam));
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

class DragDockContextTest : public SizeBarTest {
protected:
    void SetUp() override {
        theApp.SetCurrentSkin("Office 2003");
        SizeBarTest::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = QuitterProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZMDragTestHelper";
        ::RegisterClassA(&wc);
        m_hHelper = ::CreateWindowA("ZMDragTestHelper", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, wc.hInstance, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(m_hHelper);
        SizeBarTest::TearDown();
    }

    static COXDragDockContext* ContextOf(COXSizeControlBar* pBar) {
        return dynamic_cast<COXDragDockContext*>(pBar->m_pDockContext);
    }
    static void PostMove(CWnd* pBar, CPoint ptScreen) {
        CPoint pt(ptScreen);
        pBar->ScreenToClient(&pt);
        pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON,
                          MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    }
    static void PostKey(CWnd* pBar, UINT nMsg, WPARAM nKey) { pBar->PostMessage(nMsg, nKey, 0); }
    // A point in the middle of a bar's client area.
    CPoint StartPoint(CWnd* pBar) {
        CRect rect;
        pBar->GetClientRect(&rect);
        pBar->ClientToScreen(&rect);
        return rect.CenterPoint();
    }
    // Nothing of the drag is held any more.
    void ExpectNothingHeld(COXDragDockContext* pContext) {
        EXPECT_EQ(pContext->m_pDC, nullptr);
        EXPECT_FALSE(pContext->m_bLocked);
        EXPECT_NE(::GetCapture(), pContext->m_pBar->m_hWnd);
        // The desktop is not locked by anyone: locking it works.
        EXPECT_TRUE(::LockWindowUpdate(::GetDesktopWindow()));
        ::LockWindowUpdate(nullptr);
    }

    // Two bars sharing the top row, and the dragged bar docked on the bottom.
    void MakeRowOfTwoAndABottomBar() {
        m_pLeft = MakeBar(CSize(300, 120), AFX_IDW_DOCKBAR_TOP);
        m_pRight = MakeBar(CSize(300, 120), 0);
        CRect rectLeft = ScreenRect(m_pLeft);
        CRect rectDock(CPoint(rectLeft.right + 5, rectLeft.top + 5), CSize(300, 120));
        m_pFrame->DockControlBar(m_pRight, DockBar(AFX_IDW_DOCKBAR_TOP), &rectDock);
        m_pFrame->RecalcLayout();
        m_pDragged = MakeBar(CSize(250, 100), AFX_IDW_DOCKBAR_BOTTOM);
        PumpMessages(m_pFrame);
        ASSERT_EQ(
            DockBar(AFX_IDW_DOCKBAR_TOP)->CountOtherBarsInRow(m_pDragged, ScreenRect(m_pLeft)), 2);
    }
    // A screen point that moves the dragged bar's horizontal probe, which
    // starts at the bar's top, onto the top row.
    CPoint OverTopRow(CPoint ptStart) {
        const int nProbeTop = ScreenRect(m_pDragged).top;
        return CPoint(ptStart.x, ptStart.y + (ScreenRect(m_pLeft).top + 10 - nProbeTop));
    }

    HWND m_hHelper = nullptr;
    CRecordingBar* m_pLeft = nullptr;
    CRecordingBar* m_pRight = nullptr;
    CRecordingBar* m_pDragged = nullptr;
};

} // namespace

TEST_F(DragDockContextTest, DragRectanglesComeFromTheBarsSizesAndAClickMovesNothing) {
    CRecordingBar* pBar = MakeBar(CSize(400, 100), AFX_IDW_DOCKBAR_BOTTOM);
    pBar->m_sizeHorzDock = CSize(890, 100);
    pBar->m_sizeVertDock = CSize(150, 5000);
    pBar->m_sizeFloat = CSize(220, 130);
    const CRect rectBefore = ScreenRect(pBar);
    const CRect rectPane = ScreenRect(&m_pane);
    ASSERT_EQ(rectPane.Width(), 900) << "nothing docked on the left or right";
    COXDragDockContext* pContext = ContextOf(pBar);
    ASSERT_NE(pContext, nullptr);
    m_pFrame->m_prompts.clear();

    const CPoint pt = StartPoint(pBar);
    pBar->PostMessage(WM_LBUTTONUP, 0, 0);
    pContext->StartDrag(pt);

    // 890 of a 900-pixel side would hide the target: a third of it.
    EXPECT_EQ(pContext->m_rectDragHorz.Width(), 300);
    EXPECT_EQ(pContext->m_rectDragHorz.Height(), 100);
    EXPECT_EQ(pContext->m_rectDragVert.Width(), 150);
    EXPECT_EQ(pContext->m_rectDragVert.Height(), rectPane.Height() / 3);
    EXPECT_EQ(pContext->m_rectDragHorz.top, rectBefore.top);
    // The probes span the side, as thick as the docked sizes.
    EXPECT_EQ(pContext->m_rectHorzDock,
              CRect(rectPane.left, rectBefore.top, rectPane.right, rectBefore.top + 100));
    EXPECT_EQ(pContext->m_rectVertDock.Width(), 150);
    EXPECT_EQ(pContext->m_rectVertDock.top, rectPane.top);
    // The floating rectangle is a frame window around the floating size.
    EXPECT_GT(pContext->m_rectFrameDragHorz.Width(), 220);
    EXPECT_GT(pContext->m_rectFrameDragHorz.Height(), 130);
    for (const CRect* pRect : {&pContext->m_rectDragHorz, &pContext->m_rectDragVert,
                               &pContext->m_rectFrameDragHorz, &pContext->m_rectHorzDock}) {
        EXPECT_LE(pRect->left, pt.x);
        EXPECT_GE(pRect->right, pt.x);
    }
    // A press and release in place: nothing docks or floats.
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(ScreenRect(pBar), rectBefore);
    EXPECT_EQ(pBar->m_sizeHorzDock, CSize(890, 100));
    ExpectNothingHeld(pContext);
    EXPECT_EQ(m_pFrame->m_prompts, (std::vector<WPARAM>{ID_SIZEBAR_DRAGPROMPT, 0xE001}));
}

TEST_F(DragDockContextTest, TargetIsTheBarsShareOfARowOrTheWholeEmptyRow) {
    MakeRowOfTwoAndABottomBar();
    COXDragDockContext* pContext = ContextOf(m_pDragged);
    const CRect rectBefore = ScreenRect(m_pDragged);
    const CPoint pt = StartPoint(m_pDragged);

    // Over the top row of two bars: a third of the probe, then Escape.
    PostMove(m_pDragged, pt + CSize(1, 0));
    PostMove(m_pDragged, OverTopRow(pt));
    PostKey(m_pDragged, WM_KEYDOWN, VK_ESCAPE);
    pContext->StartDrag(pt);
    EXPECT_EQ(pContext->m_dwOverDockStyle, static_cast<DWORD>(CBRS_ALIGN_TOP));
    EXPECT_EQ(pContext->m_pTargetDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(pContext->m_rectTarget.Width(), pContext->m_rectHorzDock.Width() / 3);
    EXPECT_EQ(pContext->m_rectTarget.TopLeft(), pContext->m_rectDragHorz.TopLeft());
    EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(ScreenRect(m_pDragged), rectBefore);
    ExpectNothingHeld(pContext);

    // Dock the right bar on the left side, then drag it onto the empty bottom
    // row beside nothing: the whole probe, and the release docks it there.
    DockAndLayout(m_pDragged, AFX_IDW_DOCKBAR_LEFT);
    DockAndLayout(m_pRight, AFX_IDW_DOCKBAR_RIGHT);
    ASSERT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));
    const CPoint ptLeft = StartPoint(m_pDragged);
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->ClientToScreen(&rectClient);
    const int nProbeTop = ScreenRect(m_pDragged).top;
    const CPoint ptBottom(ptLeft.x, ptLeft.y + (rectClient.bottom - 3 - nProbeTop));
    PostMove(m_pDragged, ptBottom);
    m_pDragged->PostMessage(WM_LBUTTONUP, 0, 0);
    pContext->StartDrag(ptLeft);
    EXPECT_EQ(pContext->m_dwOverDockStyle, static_cast<DWORD>(CBRS_ALIGN_BOTTOM));
    EXPECT_EQ(pContext->m_rectTarget, pContext->m_rectHorzDock);
    PumpMessages(m_pFrame);
    EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(m_pDragged->m_sizeHorzDock.cy, pContext->m_rectTarget.Height());
    ExpectNothingHeld(pContext);
}

TEST_F(DragDockContextTest, ReleaseOverARowDocksTheBarWithItsShare) {
    MakeRowOfTwoAndABottomBar();
    COXDragDockContext* pContext = ContextOf(m_pDragged);
    const CPoint pt = StartPoint(m_pDragged);
    PostMove(m_pDragged, pt + CSize(1, 0));
    PostMove(m_pDragged, OverTopRow(pt));
    m_pDragged->PostMessage(WM_LBUTTONUP, 0, 0);
    pContext->StartDrag(pt);
    PumpMessages(m_pFrame);
    EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(DockBar(AFX_IDW_DOCKBAR_TOP)->CountOtherBarsInRow(m_pDragged, ScreenRect(m_pLeft)), 2)
        << "the bar joined the row of the two others";
    ExpectNothingHeld(pContext);
}

TEST_F(DragDockContextTest, CtrlForcesFloatingAndItsReleaseShowsTheTargetAgain) {
    MakeRowOfTwoAndABottomBar();
    COXDragDockContext* pContext = ContextOf(m_pDragged);
    const CPoint pt = StartPoint(m_pDragged);

    // Ctrl held over the row, then let go; Shift means nothing.
    PostMove(m_pDragged, pt + CSize(1, 0));
    PostKey(m_pDragged, WM_KEYDOWN, VK_CONTROL);
    PostMove(m_pDragged, OverTopRow(pt));
    PostKey(m_pDragged, WM_KEYUP, VK_CONTROL);
    PostKey(m_pDragged, WM_KEYDOWN, VK_SHIFT);
    PostKey(m_pDragged, WM_KEYDOWN, VK_ESCAPE);
    pContext->StartDrag(pt);
    EXPECT_FALSE(pContext->m_bForceFrame);
    EXPECT_FALSE(pContext->m_bFlip);
    EXPECT_EQ(pContext->m_dwOverDockStyle, static_cast<DWORD>(CBRS_ALIGN_TOP));
    EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));

    // Ctrl held at the release: the bar floats where the frame was shown.
    PostMove(m_pDragged, pt + CSize(1, 0));
    PostKey(m_pDragged, WM_KEYDOWN, VK_CONTROL);
    PostMove(m_pDragged, OverTopRow(pt));
    m_pDragged->PostMessage(WM_LBUTTONUP, 0, 0);
    pContext->StartDrag(pt);
    EXPECT_TRUE(pContext->m_bForceFrame);
    EXPECT_EQ(pContext->m_dwOverDockStyle, 0u);
    ASSERT_TRUE(m_pDragged->IsFloating());
    auto* pFloating = dynamic_cast<COXSizableMiniDockFrameWnd*>(m_pDragged->GetParentFrame());
    ASSERT_NE(pFloating, nullptr);
    EXPECT_EQ(ScreenRect(pFloating).TopLeft(), pContext->m_rectFrameDragHorz.TopLeft());
    EXPECT_EQ(pContext->m_ptMRUFloatPos, pContext->m_rectFrameDragHorz.TopLeft());
    EXPECT_EQ(pFloating->m_nBarMode, OX_MINIFRAME_SIZEABLE) << "told it was floated";
    EXPECT_NE(pFloating->GetStyle() & 0x0001, 0u);
    ExpectNothingHeld(pContext);
}

TEST_F(DragDockContextTest, EscapeAndTheRightButtonCancel) {
    MakeRowOfTwoAndABottomBar();
    COXDragDockContext* pContext = ContextOf(m_pDragged);
    const CRect rectBefore = ScreenRect(m_pDragged);
    const CPoint pt = StartPoint(m_pDragged);
    struct Case {
        UINT nMsg;
        WPARAM wParam;
    };
    const Case cases[] = {{WM_KEYDOWN, VK_ESCAPE}, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nMsg);
        m_pFrame->m_prompts.clear();
        PostMove(m_pDragged, pt + CSize(1, 0));
        PostMove(m_pDragged, OverTopRow(pt));
        m_pDragged->PostMessage(c.nMsg, c.wParam, 0);
        m_pDragged->PostMessage(WM_LBUTTONUP, 0, 0); // after the cancel: no drag takes it
        pContext->StartDrag(pt);
        PumpMessages(m_pFrame);
        EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
        EXPECT_EQ(ScreenRect(m_pDragged), rectBefore);
        ExpectNothingHeld(pContext);
        ASSERT_FALSE(m_pFrame->m_prompts.empty());
        EXPECT_EQ(m_pFrame->m_prompts.back(), 0xE001u);
    }
}

TEST_F(DragDockContextTest, QuitDuringTheDragIsPostedAgainAndCancels) {
    MakeRowOfTwoAndABottomBar();
    COXDragDockContext* pContext = ContextOf(m_pDragged);
    const CRect rectBefore = ScreenRect(m_pDragged);
    const CPoint pt = StartPoint(m_pDragged);
    PostMove(m_pDragged, OverTopRow(pt));
    // The quit comes once nothing else waits, so nothing else is posted.
    ::PostMessageA(m_hHelper, WM_TEST_QUIT, 9, 0);
    pContext->StartDrag(pt);
    ExpectNothingHeld(pContext);
    EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(ScreenRect(m_pDragged), rectBefore);
    EXPECT_EQ(TakeQuitMessage(), 9);
    PumpMessages(m_pFrame);
    EXPECT_EQ(m_pDragged->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
}

TEST_F(DragDockContextTest, ABarDestroyedDuringItsDragGivesTheDesktopBack) {
    MakeRowOfTwoAndABottomBar();
    COXDragDockContext* pContext = ContextOf(m_pDragged);
    const CPoint pt = StartPoint(m_pDragged);
    PostMove(m_pDragged, OverTopRow(pt));
    // Closing a child window destroys it; the loop dispatches the close.
    m_pDragged->PostMessage(WM_CLOSE, 0, 0);
    pContext->StartDrag(pt);
    EXPECT_EQ(m_pDragged->m_hWnd, nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(pContext->m_pDC, nullptr);
    EXPECT_FALSE(pContext->m_bLocked);
    EXPECT_TRUE(::LockWindowUpdate(::GetDesktopWindow()));
    ::LockWindowUpdate(nullptr);
}

TEST_F(DragDockContextTest, ADragThatCannotCaptureTheMouseLocksAndDrawsNothing) {
    CRecordingBar* pBar = MakeBar(CSize(400, 100), AFX_IDW_DOCKBAR_BOTTOM);
    COXDragDockContext* pContext = ContextOf(pBar);
    const CRect rectBefore = ScreenRect(pBar);
    ::SetCapture(m_hHelper);
    ASSERT_EQ(::GetCapture(), m_hHelper);
    m_pFrame->m_prompts.clear();
    const CPoint pt = StartPoint(pBar);
    PostMove(pBar, pt + CSize(0, -200));
    pBar->PostMessage(WM_LBUTTONUP, 0, 0);
    pContext->StartDrag(pt);
    EXPECT_EQ(::GetCapture(), m_hHelper);
    EXPECT_EQ(pContext->m_pDC, nullptr);
    EXPECT_FALSE(pContext->m_bLocked);
    EXPECT_EQ(pContext->m_sizeLast, CSize(0, 0)) << "no frame was drawn";
    ::ReleaseCapture();
    EXPECT_TRUE(::LockWindowUpdate(::GetDesktopWindow()));
    ::LockWindowUpdate(nullptr);
    PumpMessages(m_pFrame);
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(ScreenRect(pBar), rectBefore);
    ASSERT_FALSE(m_pFrame->m_prompts.empty());
    EXPECT_EQ(m_pFrame->m_prompts.back(), 0xE001u);
}

TEST_F(DragDockContextTest, ToggleDockingFloatsAndDocksBack) {
    CRecordingBar* pBar = MakeBar(CSize(400, 100), AFX_IDW_DOCKBAR_BOTTOM);
    COXDragDockContext* pContext = ContextOf(pBar);
    pContext->ToggleDocking();
    EXPECT_TRUE(pBar->IsFloating());
    pContext->ToggleDocking();
    PumpMessages(m_pFrame);
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
}
