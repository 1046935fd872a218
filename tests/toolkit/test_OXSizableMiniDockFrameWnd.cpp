// Tests of COXSizableMiniDockFrameWnd, the floating frame of the main frame's
// bars: how it adapts to its bar (styles, the short system menu), the bar's
// floating size from the frame's size, closing (hiding or deleting the bar),
// the caption press that starts the bar's live drag, and the cursors.
#include "SizeBarTestFrame.h"
#include "test_OXSizableMiniDockFrameWnd_res.h"

#include "toolkit/OXMiniFrameSkin.h"
#include "toolkit/OXSkins.h"

#include "framework/AfxResource.h"
#include "tests/support/Canvas.h"

#include <string>

namespace {

COXSkinnedApp theApp;

// A bar of one fixed size that is not a sizeable bar (as a toolbar is not).
class CFixedBar : public CControlBar {
public:
    CSize CalcFixedLayout(BOOL, BOOL) override { return CSize(120, 30); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class MiniDockFrameTest : public SizeBarTest {
protected:
    void SetUp() override {
        theApp.SetCurrentSkin("Office 2003");
        SizeBarTest::SetUp();
    }
    void TearDown() override {
        for (CFixedBar* pBar : m_fixedBars)
            delete pBar;
        SizeBarTest::TearDown();
    }

    // The floating frame of a sizeable bar floated at (150, 150).
    COXSizableMiniDockFrameWnd* FloatBar(COXSizeControlBar* pBar, DWORD dwStyle = CBRS_ALIGN_TOP) {
        m_pFrame->FloatControlBar(pBar, CPoint(150, 150), dwStyle);
        PumpMessages(m_pFrame);
        auto* pFloating = dynamic_cast<COXSizableMiniDockFrameWnd*>(pBar->GetParentFrame());
        EXPECT_NE(pFloating, nullptr);
        return pFloating;
    }
    CFixedBar* MakeFixedBar(DWORD dwBarStyle) {
        auto* pBar = new CFixedBar;
        m_fixedBars.push_back(pBar);
        UINT nID = AFX_IDW_CONTROLBAR_FIRST + 0x60 + static_cast<UINT>(m_fixedBars.size());
        EXPECT_TRUE(pBar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | dwBarStyle,
                                 CRect(0, 0, 120, 30), m_pFrame, nID));
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        return pBar;
    }
    static std::vector<std::pair<UINT, std::string>> SystemMenuOf(CWnd* pWnd) {
        std::vector<std::pair<UINT, std::string>> items;
        HMENU hMenu = ::GetSystemMenu(pWnd->m_hWnd, FALSE);
        for (int i = 0; hMenu != nullptr && i < ::GetMenuItemCount(hMenu); ++i) {
            char text[64] = {};
            ::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            items.emplace_back(::GetMenuItemID(hMenu, i), text);
        }
        return items;
    }
    static std::string CloseItemText(CWnd* pWnd) {
        for (const auto& item : SystemMenuOf(pWnd))
            if (item.first == SC_CLOSE)
                return item.second;
        return "(none)";
    }
    CSize ClientSize(CWnd* pWnd) {
        CRect rect;
        pWnd->GetClientRect(&rect);
        return rect.Size();
    }

    std::vector<CFixedBar*> m_fixedBars;
};

} // namespace

TEST_F(MiniDockFrameTest, ASizeableBarGetsAResizableFrameWithAShortSystemMenu) {
    CRecordingBar* pBar = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_TOP);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    EXPECT_EQ(pFloating->AdaptToBar(), OX_MINIFRAME_SIZEABLE);
    EXPECT_EQ(pFloating->m_nBarMode, OX_MINIFRAME_SIZEABLE);
    const DWORD dwStyle = pFloating->GetStyle();
    EXPECT_NE(dwStyle & WS_THICKFRAME, 0u);
    EXPECT_EQ(dwStyle & (MFS_MOVEFRAME | MFS_4THICKFRAME), 0u);

    const auto items = SystemMenuOf(pFloating);
    ASSERT_FALSE(items.empty());
    bool bClose = false;
    for (const auto& item : items) {
        SCOPED_TRACE(item.second);
        EXPECT_NE(item.first, 0u) << "no separators";
        for (UINT nGone : {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_TASKLIST})
            EXPECT_NE(item.first, nGone);
        bClose = bClose || item.first == SC_CLOSE;
    }
    EXPECT_TRUE(bClose);
    // Closing only hides the bar, and the close item says so.
    EXPECT_EQ(CloseItemText(pFloating), "Hide");
    // Decided once: later calls change nothing.
    pFloating->ModifyStyle(0, MFS_MOVEFRAME);
    EXPECT_EQ(pFloating->AdaptToBar(), OX_MINIFRAME_SIZEABLE);
    EXPECT_EQ(pFloating->GetStyle() & WS_THICKFRAME, static_cast<DWORD>(WS_THICKFRAME));
}

TEST_F(MiniDockFrameTest, TheCloseItemKeepsTheSystemTextWhenClosingDeletesOrNoTextExists) {
    auto* pDeleting = new CRecordingBar(SCBS_DELETEONCLOSE);
    m_bars.push_back(pDeleting);
    ASSERT_TRUE(pDeleting->Create(m_pFrame, "Deleting", AFX_IDW_CONTROLBAR_FIRST + 0x50,
                                  WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 200, 100)));
    pDeleting->EnableDocking(CBRS_ALIGN_ANY);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pDeleting);
    ASSERT_NE(pFloating, nullptr);
    EXPECT_EQ(pFloating->AdaptToBar(), OX_MINIFRAME_SIZEABLE);
    const std::string systemText = CloseItemText(pFloating);
    EXPECT_NE(systemText, "Hide");
    EXPECT_NE(systemText, "(none)");

    // Without the text among the resources the system's text stays too.
    CRecordingBar* pHiding = MakeBar(CSize(200, 100), AFX_IDW_DOCKBAR_TOP);
    AfxSetResourceHandle(::GetModuleHandleA("kernel32.dll"));
    COXSizableMiniDockFrameWnd* pOther = FloatBar(pHiding);
    ASSERT_NE(pOther, nullptr);
    pOther->AdaptToBar();
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(CloseItemText(pOther), systemText);
}

TEST_F(MiniDockFrameTest, TheFloatingFrameTakesItsBarsTitleUnlessItHoldsSeveralBars) {
    CRecordingBar* pNotes = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_TOP);
    pNotes->SetWindowText("Notes");
    CFixedBar* pTools = MakeFixedBar(CBRS_TOP);
    pTools->SetWindowText("Tools");
    CRecordingBar* pMulti = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_BOTTOM);
    struct Case {
        CControlBar* pBar;
        DWORD dwStyle;
        const char* pszTitle;
    };
    const Case cases[] = {
        {pNotes, CBRS_ALIGN_TOP, "Notes"},
        {pTools, CBRS_ALIGN_TOP, "Tools"},
        {pMulti, CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszTitle);
        m_pFrame->FloatControlBar(c.pBar, CPoint(150, 150), c.dwStyle);
        PumpMessages(m_pFrame);
        CFrameWnd* pFloating = c.pBar->GetParentFrame();
        ASSERT_NE(pFloating, m_pFrame);
        CString strTitle;
        pFloating->GetWindowText(strTitle);
        EXPECT_STREQ(strTitle, c.pszTitle);
    }
}

TEST_F(MiniDockFrameTest, TheFloatingFramesCaptionShowsTheTitleOnScreen) {
    CRecordingBar* pBar = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_TOP);
    pBar->SetWindowText("Player Panel");
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1); // off the close button
    pFloating->RedrawWindow(nullptr, nullptr,
                            RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages(m_pFrame);
    const CRect rectFrame = ScreenRect(pFloating);
    EXPECT_TRUE(SaveScreenPng(rectFrame, "floating_frame.png"));

    // The title is drawn in the caption band left of the close button, in the
    // skin's caption text colour, which nothing else there has.
    auto* pSkin = dynamic_cast<COXMiniFrameSkinXP*>(pFloating->GetMiniFrameSkin());
    ASSERT_NE(pSkin, nullptr);
    CRect rectText = pSkin->GetCaptionRect(pFloating);
    rectText.right -= rectText.Height();
    CCanvas canvas(rectFrame.Width(), rectFrame.Height());
    CaptureScreen(canvas, rectFrame);
    const COLORREF crText =
        dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin())->GetMiniFrameCaptionTextColor();
    EXPECT_GT(canvas.Count(crText, rectText), 20);
}

TEST_F(MiniDockFrameTest, OtherBarsGetAFrameThatMovesAsAWhole) {
    struct Case {
        DWORD dwBarStyle;
        DWORD dwStyleSet, dwStyleClear;
    };
    const Case cases[] = {
        {CBRS_TOP, MFS_MOVEFRAME, WS_THICKFRAME | MFS_4THICKFRAME},
        {CBRS_TOP | CBRS_SIZE_DYNAMIC, WS_THICKFRAME | MFS_4THICKFRAME, MFS_MOVEFRAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwBarStyle);
        CFixedBar* pBar = MakeFixedBar(c.dwBarStyle);
        m_pFrame->FloatControlBar(pBar, CPoint(100, 100), CBRS_ALIGN_TOP);
        auto* pFloating = dynamic_cast<COXSizableMiniDockFrameWnd*>(pBar->GetParentFrame());
        ASSERT_NE(pFloating, nullptr);
        EXPECT_EQ(pFloating->AdaptToBar(), OX_MINIFRAME_ORDINARY);
        EXPECT_EQ(pFloating->GetStyle() & c.dwStyleSet, c.dwStyleSet);
        EXPECT_EQ(pFloating->GetStyle() & c.dwStyleClear, 0u);
    }
    // A frame for several bars does not look at its first bar.
    CRecordingBar* pSizeable = MakeBar(CSize(200, 100), AFX_IDW_DOCKBAR_TOP);
    COXSizableMiniDockFrameWnd* pMulti = FloatBar(pSizeable, CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI);
    ASSERT_NE(pMulti, nullptr);
    EXPECT_EQ(pMulti->AdaptToBar(), OX_MINIFRAME_ORDINARY);
    EXPECT_NE(pMulti->GetStyle() & MFS_MOVEFRAME, 0u);
}

TEST_F(MiniDockFrameTest, FloatedMessageMakesTheFrameAdapt) {
    CRecordingBar* pBar = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_TOP);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    pFloating->m_nBarMode = OX_MINIFRAME_UNDECIDED;
    EXPECT_EQ(pBar->SendMessage(WM_SIZEBAR_FLOATED), 1);
    EXPECT_EQ(pFloating->m_nBarMode, OX_MINIFRAME_SIZEABLE);
}

TEST_F(MiniDockFrameTest, ResizingTheFrameSetsTheFloatingSizeThatFillsItsClientArea) {
    CRecordingBar* pBar = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_TOP);
    pBar->SetBarStyle((pBar->GetBarStyle() & ~CBRS_BORDER_ANY) | CBRS_BORDER_LEFT |
                      CBRS_BORDER_RIGHT);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    // What the floating dock bar overlaps of the bar stays the same.
    const CSize sizeOverlap = pBar->m_sizeFloat - ClientSize(pFloating);

    const CSize sizes[] = {{200, 100}, {260, 140}, {320, 90}};
    for (CSize size : sizes) {
        SCOPED_TRACE(size.cx);
        CRect rect(CPoint(0, 0), size);
        ::AdjustWindowRectEx(&rect, pFloating->GetStyle(), FALSE, pFloating->GetExStyle());
        pFloating->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages(m_pFrame);
        EXPECT_EQ(pBar->m_sizeFloat, size + sizeOverlap);
        EXPECT_EQ(pBar->m_sizeFloat.cx, size.cx + 2 * B2X);
        EXPECT_EQ(ClientSize(pFloating), size) << "the layout keeps the size it was given";
    }

    // A 0 x 0 size changes nothing and lays nothing out.
    const CRect rectFrame = ScreenRect(pFloating);
    const CSize sizeFloat = pBar->m_sizeFloat;
    pBar->m_sizeFloat = CSize(400, 300);
    pFloating->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 0));
    EXPECT_EQ(pBar->m_sizeFloat, CSize(400, 300));
    EXPECT_EQ(ScreenRect(pFloating), rectFrame);
    pBar->m_sizeFloat = sizeFloat;
}

TEST_F(MiniDockFrameTest, AdjustRectForBarBordersMovesTheEdgesWithBorders) {
    struct Case {
        DWORD dwStyle;
        CRect rectExpected;
    };
    const Case cases[] = {
        {0, {10, 20, 110, 70}},
        {CBRS_BORDER_LEFT, {10 - B2X, 20, 110, 70}},
        {CBRS_BORDER_TOP, {10, 20 - B2Y, 110, 70}},
        {CBRS_BORDER_RIGHT, {10, 20, 110 + B2X, 70}},
        {CBRS_BORDER_BOTTOM, {10, 20, 110, 70 + B2Y}},
        {CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT, {10 - B2X, 20, 110 + B2X, 70}},
        {CBRS_BORDER_ANY | CBRS_ALIGN_TOP, {10 - B2X, 20 - B2Y, 110 + B2X, 70 + B2Y}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwStyle);
        CRect rect(10, 20, 110, 70);
        AdjustRectForBarBorders(rect, c.dwStyle);
        EXPECT_EQ(rect, c.rectExpected);
    }
}

TEST_F(MiniDockFrameTest, ClosingDeletesADeleteOnCloseBarAndOnlyHidesOthers) {
    bool bDeleted = false;
    auto* pDeleting = new CRecordingBar(SCBS_DELETEONCLOSE, &bDeleted);
    ASSERT_TRUE(pDeleting->Create(m_pFrame, "Deleting", AFX_IDW_CONTROLBAR_FIRST + 0x50,
                                  WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 200, 100)));
    pDeleting->EnableDocking(CBRS_ALIGN_ANY);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pDeleting);
    ASSERT_NE(pFloating, nullptr);
    HWND hFloating = pFloating->m_hWnd;
    ::SendMessageA(hFloating, WM_CLOSE, 0, 0);
    EXPECT_TRUE(bDeleted);
    EXPECT_FALSE(::IsWindow(hFloating));

    CRecordingBar* pHiding = MakeBar(CSize(200, 100), AFX_IDW_DOCKBAR_TOP);
    pFloating = FloatBar(pHiding);
    ASSERT_NE(pFloating, nullptr);
    // A close that arrives while one is handled is ignored.
    pFloating->m_bClosing = TRUE;
    pFloating->SendMessage(WM_CLOSE);
    EXPECT_TRUE(pHiding->IsVisible());
    pFloating->m_bClosing = FALSE;

    pFloating->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pHiding->IsVisible());
    EXPECT_FALSE(pFloating->IsWindowVisible());
    EXPECT_FALSE(pFloating->m_bClosing);
    m_pFrame->ShowControlBar(pHiding, TRUE, FALSE);
    EXPECT_TRUE(pHiding->IsWindowVisible());
    EXPECT_TRUE(pFloating->IsWindowVisible());
}

TEST_F(MiniDockFrameTest, ReleaseOnTheCloseBoxClosesTheFrame) {
    CRecordingBar* pBar = MakeBar(CSize(200, 100), AFX_IDW_DOCKBAR_TOP);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    pFloating->AdaptToBar();
    CRect rect = ScreenRect(pFloating);
    pFloating->SendMessage(WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(rect.right - 5, rect.top + 5));
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_FALSE(pFloating->IsWindowVisible());
}

TEST_F(MiniDockFrameTest, CaptionPressStartsTheBarsLiveDragWhenTabDockingIsOn) {
    CRecordingBar* pBar = MakeBar(CSize(200, 100), AFX_IDW_DOCKBAR_TOP);
    pBar->m_sizeFloat = CSize(200, 100);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    CRect rect = ScreenRect(pFloating);
    const CPoint pt(rect.left + 60, rect.top + 4);
    pFloating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(pBar->m_bCaptionDragging);
    EXPECT_EQ(::GetCapture(), pBar->m_hWnd);
    // The cursor sits where it pressed the caption, 60 pixels along a
    // caption as wide as the floating size.
    CRect rectBar = ScreenRect(pBar);
    EXPECT_EQ(pBar->m_ptDragOffset.x,
              static_cast<int>(200.0 * (pt.x - rect.left) / rectBar.Width()));
    pBar->SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(pBar->m_bCaptionDragging);
    EXPECT_NE(::GetCapture(), pBar->m_hWnd);

    // Without tab docking the framework's drag runs; a release that is
    // already waiting makes it a click that moves nothing.
    m_pFrame->m_nTabDocking = 0;
    pBar->PostMessage(WM_LBUTTONUP, 0, 0);
    pFloating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
    PumpMessages();
    EXPECT_FALSE(pBar->m_bCaptionDragging);
    EXPECT_EQ(ScreenRect(pFloating), rect);
    EXPECT_EQ(pBar->GetParentFrame(), pFloating);
}

TEST_F(MiniDockFrameTest, CursorFollowsTheSizingBorder) {
    CRecordingBar* pBar = MakeBar(CSize(200, 100), AFX_IDW_DOCKBAR_TOP);
    COXSizableMiniDockFrameWnd* pFloating = FloatBar(pBar);
    ASSERT_NE(pFloating, nullptr);
    struct Case {
        UINT nHitTest;
        LPCSTR lpszCursor;
    };
    const Case cases[] = {
        {HTLEFT, IDC_SIZEWE},       {HTRIGHT, IDC_SIZEWE},        {HTTOP, IDC_SIZENS},
        {HTBOTTOM, IDC_SIZENS},     {HTTOPLEFT, IDC_SIZENWSE},    {HTBOTTOMRIGHT, IDC_SIZENWSE},
        {HTTOPRIGHT, IDC_SIZENESW}, {HTBOTTOMLEFT, IDC_SIZENESW}, {HTCAPTION, IDC_ARROW},
        {HTCLIENT, IDC_ARROW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nHitTest);
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        EXPECT_EQ(pFloating->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(pFloating->m_hWnd),
                                         MAKELPARAM(c.nHitTest, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, c.lpszCursor));
    }
}
