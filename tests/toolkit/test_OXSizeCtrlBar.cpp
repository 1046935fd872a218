// Tests of COXSizeControlBar: its sizes per docking state, the default
// rectangle, the caption press and the live caption drag, the caption
// buttons, size notifications, the context menu and its commands, activation,
// the auto-delete list and the shared mouse hook. The bars live in a real
// main frame with sizeable dock bars and the toolkit's floating frames.
#include "SizeBarTestFrame.h"
#include "test_OXSizeCtrlBar_res.h"

#include "tests/support/SyntheticInput.h"
#include "toolkit/OXDragDockContext.h"

#include <memory>
#include <string>

namespace {

COXSkinnedApp theApp;

class SizeCtrlBarTest : public SizeBarTest {
protected:
    void SetUp() override {
        theApp.SetCurrentSkin("Office 2003");
        SizeBarTest::SetUp();
    }

    // A client point of the caption away from its buttons.
    static CPoint CaptionPoint(COXSizeControlBar* pBar) {
        pBar->UpdateCaptionRects();
        CPoint pt = pBar->m_rectCaption.CenterPoint();
        if (pBar->m_rectCaption.IsRectEmpty() || pBar->m_rectCloseBtn.PtInRect(pt) ||
            pBar->m_rectResizeBtn.PtInRect(pt))
            pt = CPoint(5, 5);
        return pt;
    }
    static LPARAM Point(CPoint pt) {
        return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
    }
    static void Press(CWnd* pBar, CPoint pt) {
        pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Point(pt));
    }
    static void Move(CWnd* pBar, CPoint pt, WPARAM nFlags = MK_LBUTTON) {
        pBar->SendMessage(WM_MOUSEMOVE, nFlags, Point(pt));
    }
    static void Release(CWnd* pBar, CPoint pt) { pBar->SendMessage(WM_LBUTTONUP, 0, Point(pt)); }

    struct SMenuItem {
        UINT nID;
        bool bChecked;
        std::string text;
        bool operator==(const SMenuItem& o) const {
            return nID == o.nID && bChecked == o.bChecked && text == o.text;
        }
    };
    static std::vector<SMenuItem> ContextMenuOf(COXSizeControlBar* pBar) {
        HMENU hMenu = ::CreatePopupMenu();
        EXPECT_EQ(pBar->SendMessage(WM_SIZEBAR_FILLCONTEXTMENU, 0, reinterpret_cast<LPARAM>(hMenu)),
                  1);
        std::vector<SMenuItem> items;
        for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
            char text[64] = {};
            ::GetMenuStringA(hMenu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            UINT nState = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            items.push_back({::GetMenuItemID(hMenu, i), (nState & MF_CHECKED) != 0, text});
        }
        ::DestroyMenu(hMenu);
        return items;
    }
};

} // namespace

TEST_F(SizeCtrlBarTest, DefaultRectangleTakesTheRightHalfAndBottomQuarterOfTheParent) {
    struct Case {
        CSize sizeClient;
        CRect rectExpected;
    };
    const Case cases[] = {
        {{801, 601}, {401, 451, 801, 601}},
        {{100, 41}, {50, 31, 100, 41}},
        {{7, 5}, {4, 4, 7, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sizeClient.cx);
        CWnd parent;
        ASSERT_TRUE(parent.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE,
                                  CRect(CPoint(0, 0), c.sizeClient), m_pFrame, 1000));
        COXSizeControlBar bar;
        ASSERT_TRUE(bar.Create(&parent, "Bar", AFX_IDW_CONTROLBAR_FIRST + 0x30));
        CRect rect = ScreenRect(&bar);
        parent.ScreenToClient(&rect);
        EXPECT_EQ(rect, c.rectExpected);
        const CSize size = c.rectExpected.Size();
        EXPECT_EQ(bar.m_sizeFloat, size);
        EXPECT_EQ(bar.m_sizeHorzDock, size);
        EXPECT_EQ(bar.m_sizeVertDock, CSize(size.cy, size.cx));
    }
}

TEST_F(SizeCtrlBarTest, AGivenRectangleGivesTheSizesAndTheStyleIsMasked) {
    COXSizeControlBar bar;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_GRIPPER;
    ASSERT_TRUE(bar.Create(m_pFrame, "Bar", AFX_IDW_CONTROLBAR_FIRST + 0x30, dwStyle,
                           CRect(10, 20, 310, 120)));
    EXPECT_EQ(bar.GetBarStyle(), dwStyle & 0x0040FFFF);
    EXPECT_NE(bar.GetStyle() & WS_CLIPCHILDREN, 0u);
    EXPECT_EQ(bar.m_sizeFloat, CSize(300, 100));
    EXPECT_EQ(bar.m_sizeHorzDock, CSize(300, 100));
    EXPECT_EQ(bar.m_sizeVertDock, CSize(100, 300));
    CString title;
    bar.GetWindowText(title);
    EXPECT_STREQ(title, "Bar");
}

TEST_F(SizeCtrlBarTest, ABarInNoDockBarFloatsAndTheStyleWordAnswersTheGetters) {
    COXSizeControlBar plain;
    EXPECT_TRUE(plain.IsBarFloating());

    struct Case {
        DWORD dwStyle;
        bool bGripper, bClose, bResize, bText, bSolid;
    };
    const Case cases[] = {
        {0, true, true, true, true, false},
        {SCBS_NOCAPTION, false, true, true, true, false},
        {SCBS_NOCLOSEBTN, true, false, true, true, false},
        {SCBS_NORESIZEBTN, true, true, false, true, false},
        {SCBS_NOCAPTIONTEXT, true, true, true, false, false},
        {SCBS_SOLIDCAPTION, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwStyle);
        COXSizeControlBar bar(c.dwStyle);
        EXPECT_EQ(bar.m_dwSizeBarStyle, c.dwStyle);
        EXPECT_EQ(bar.HasGripper() != FALSE, c.bGripper);
        EXPECT_EQ(bar.HasCloseButton() != FALSE, c.bClose);
        EXPECT_EQ(bar.HasResizeButton() != FALSE, c.bResize);
        EXPECT_EQ(bar.ShowsCaptionText() != FALSE, c.bText);
        EXPECT_EQ(bar.HasSolidCaption() != FALSE, c.bSolid);
    }
}

TEST_F(SizeCtrlBarTest, EnableDockingMakesTheDragContextAndTheParentTheOwner) {
    COXSizeControlBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, "Bar", AFX_IDW_CONTROLBAR_FIRST + 0x30, WS_CHILD | CBRS_TOP,
                           CRect(0, 0, 100, 50)));
    EXPECT_EQ(bar.m_pDockContext, nullptr);
    bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP);
    EXPECT_EQ(bar.m_dwDockStyle, static_cast<DWORD>(CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP));
    CDockContext* pContext = bar.m_pDockContext;
    EXPECT_NE(dynamic_cast<COXDragDockContext*>(pContext), nullptr);
    EXPECT_EQ(bar.GetOwner(), m_pFrame);
    bar.EnableDocking(0);
    EXPECT_EQ(bar.m_pDockContext, pContext); // kept
    EXPECT_EQ(bar.m_dwDockStyle, 0u);
}

TEST_F(SizeCtrlBarTest, CalcFixedLayoutAnswersTheSizeOfTheDockingState) {
    CRecordingBar* pBar = MakeBar(CSize(300, 120), AFX_IDW_DOCKBAR_TOP);
    pBar->m_sizeFloat = CSize(210, 110);
    pBar->m_sizeHorzDock = CSize(320, 130);
    pBar->m_sizeVertDock = CSize(140, 330);
    EXPECT_FALSE(pBar->IsBarFloating());
    EXPECT_EQ(pBar->CalcFixedLayout(FALSE, TRUE), CSize(320, 130));
    EXPECT_EQ(pBar->CalcFixedLayout(TRUE, FALSE), CSize(140, 330));

    m_pFrame->FloatControlBar(pBar, CPoint(100, 100), CBRS_ALIGN_TOP);
    ASSERT_TRUE(pBar->IsFloating());
    EXPECT_TRUE(pBar->IsBarFloating());
    EXPECT_EQ(pBar->CalcFixedLayout(FALSE, TRUE), CSize(210, 110));
    EXPECT_EQ(pBar->CalcFixedLayout(FALSE, FALSE), CSize(210, 110));
}

TEST_F(SizeCtrlBarTest, DragOffsetFollowsTheCaptionAndStaysBetween5AndWidthLess20) {
    // Docked on the top, the caption runs upwards along the bar's left side.
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    pBar->m_sizeFloat = CSize(200, 90);
    CRect rw = ScreenRect(pBar);
    pBar->ScreenToClient(&rw);
    struct Case {
        CPoint pt;
        CPoint ptExpected;
    };
    const int h = rw.Height();
    const Case docked[] = {
        {{rw.left + 1, rw.bottom}, {5, 10}}, // bottom end: 0 along
        {{rw.left + 3, rw.top}, {180, 10}},  // top end: the whole width, clamped
        {{rw.left + 2, rw.bottom - h / 2}, {static_cast<int>(200.0 * (h / 2) / h), 10}},
        {{rw.left + 2, rw.bottom - h / 3}, {static_cast<int>(200.0 * (h / 3) / h), 10}},
    };
    for (const Case& c : docked) {
        SCOPED_TRACE(c.pt.y);
        pBar->CalcDragOffset(c.pt);
        EXPECT_EQ(pBar->m_ptDragOffset, c.ptExpected);
    }

    m_pFrame->FloatControlBar(pBar, CPoint(100, 100), CBRS_ALIGN_TOP);
    ASSERT_TRUE(pBar->IsBarFloating());
    rw = ScreenRect(pBar);
    pBar->ScreenToClient(&rw);
    const int w = rw.Width();
    const Case floating[] = {
        {{rw.left, rw.top + 7}, {5, 7}},
        {{rw.right, rw.top + 3}, {180, 3}},
        {{rw.left + w / 2, rw.top}, {static_cast<int>(200.0 * (w / 2) / w), 0}},
        {{rw.left + w / 7, rw.top + 1}, {static_cast<int>(200.0 * (w / 7) / w), 1}},
    };
    for (const Case& c : floating) {
        SCOPED_TRACE(c.pt.x);
        pBar->CalcDragOffset(c.pt);
        EXPECT_EQ(pBar->m_ptDragOffset, c.ptExpected);
    }
}

TEST_F(SizeCtrlBarTest, ACaptionDragStartsOnlyPastThreePixels) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    const CRect rectBefore = ScreenRect(pBar);
    const CPoint pt = CaptionPoint(pBar);
    struct Case {
        int dx, dy;
        bool bStarts;
    };
    const Case cases[] = {
        {3, 3, false}, {-3, -3, false}, {3, 0, false}, {4, 0, true},
        {0, 4, true},  {-4, 0, true},   {0, -4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dx << "," << c.dy);
        Press(pBar, pt);
        EXPECT_TRUE(pBar->m_bDragPending);
        EXPECT_EQ(pBar->m_ptCaptionDown, pt);
        Move(pBar, pt + CSize(c.dx, c.dy));
        EXPECT_EQ(pBar->m_bCaptionDragging != FALSE, c.bStarts);
        EXPECT_EQ(pBar->m_bDragPending != FALSE, !c.bStarts);
        EXPECT_EQ(::GetCapture() == pBar->m_hWnd, c.bStarts);
        Release(pBar, pt + CSize(c.dx, c.dy));
        EXPECT_FALSE(pBar->m_bCaptionDragging);
        EXPECT_FALSE(pBar->m_bDragPending);
        EXPECT_NE(::GetCapture(), pBar->m_hWnd);
    }
    // Starting a drag moves nothing yet.
    EXPECT_EQ(ScreenRect(pBar), rectBefore);
}

TEST_F(SizeCtrlBarTest, APendingDragEndsWithItsPress) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    const CPoint pt = CaptionPoint(pBar);
    // A click, then a later move with the button down that began elsewhere.
    Press(pBar, pt);
    Release(pBar, pt);
    EXPECT_FALSE(pBar->m_bDragPending);
    Move(pBar, pt + CSize(10, 10));
    EXPECT_FALSE(pBar->m_bCaptionDragging);

    // A press whose release went elsewhere: the next move without the button.
    Press(pBar, pt);
    Move(pBar, pt + CSize(1, 0), 0);
    EXPECT_FALSE(pBar->m_bDragPending);
    Move(pBar, pt + CSize(10, 10));
    EXPECT_FALSE(pBar->m_bCaptionDragging);
    EXPECT_NE(::GetCapture(), pBar->m_hWnd);
}

TEST_F(SizeCtrlBarTest, WithoutTabDockingACaptionPressLeavesNoPendingDrag) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    m_pFrame->m_nTabDocking = 0;
    const CRect rectBefore = ScreenRect(pBar);
    const CPoint pt = CaptionPoint(pBar);
    // Should the framework's drag start, the release waiting for it makes it a click.
    pBar->PostMessage(WM_LBUTTONUP, 0, Point(pt));
    Press(pBar, pt);
    PumpMessages();
    EXPECT_FALSE(pBar->m_bDragPending);
    EXPECT_FALSE(pBar->m_bCaptionDragging);
    EXPECT_EQ(ScreenRect(pBar), rectBefore);
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
}

TEST_F(SizeCtrlBarTest, CloseButtonPressAndReleaseHidesTheBar) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    pBar->UpdateCaptionRects();
    ASSERT_FALSE(pBar->m_rectCloseBtn.IsRectEmpty());
    const CPoint ptClose = pBar->m_rectCloseBtn.CenterPoint();

    // Released away from the button: nothing.
    Press(pBar, ptClose);
    EXPECT_EQ(pBar->m_nPressedButton, OX_SIZEBAR_CLOSEBTN);
    EXPECT_EQ(::GetCapture(), pBar->m_hWnd);
    EXPECT_FALSE(pBar->m_bDragPending);
    Move(pBar, CPoint(200, 100));
    EXPECT_EQ(pBar->m_nPressedButton, OX_SIZEBAR_NOBUTTON);
    Release(pBar, CPoint(200, 100));
    EXPECT_EQ(pBar->m_nPressedButton, OX_SIZEBAR_NOBUTTON);
    EXPECT_NE(::GetCapture(), pBar->m_hWnd);
    EXPECT_TRUE(pBar->IsVisible());

    Press(pBar, ptClose);
    Release(pBar, ptClose);
    EXPECT_FALSE(pBar->IsVisible());
    PumpMessages(m_pFrame);
    EXPECT_FALSE(pBar->IsWindowVisible());
}

TEST_F(SizeCtrlBarTest, ResizeButtonPressWhileTheBarCannotResizeDoesNothing) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(pBar->CanResize()); // alone in its row
    pBar->UpdateCaptionRects();
    ASSERT_FALSE(pBar->m_rectResizeBtn.IsRectEmpty());
    Press(pBar, pBar->m_rectResizeBtn.CenterPoint());
    EXPECT_EQ(pBar->m_nPressedButton, OX_SIZEBAR_NOBUTTON);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(pBar->m_bDragPending); // not taken as a caption press either
    COXSizeControlBar floating;
    EXPECT_FALSE(floating.CanResize()); // no dock bar
}

TEST_F(SizeCtrlBarTest, ResizePressedThenReleasedOverCloseHidesTheBar) {
    CRecordingBar* pBar = MakeBar(CSize(300, 150), AFX_IDW_DOCKBAR_TOP);
    CRect rectFirst = ScreenRect(pBar);
    CRecordingBar* pOther = MakeBar(CSize(300, 150), 0);
    CRect rectDock(CPoint(rectFirst.right + 5, rectFirst.top + 5), CSize(300, 150));
    m_pFrame->DockControlBar(pOther, DockBar(AFX_IDW_DOCKBAR_TOP), &rectDock);
    m_pFrame->RecalcLayout();
    PumpMessages(m_pFrame);
    ASSERT_TRUE(pBar->CanResize()) << "the two bars share one row";

    pBar->UpdateCaptionRects();
    Press(pBar, pBar->m_rectResizeBtn.CenterPoint());
    EXPECT_EQ(pBar->m_nPressedButton, OX_SIZEBAR_RESIZEBTN);
    EXPECT_EQ(::GetCapture(), pBar->m_hWnd);
    Move(pBar, pBar->m_rectCloseBtn.CenterPoint());
    EXPECT_EQ(pBar->m_nPressedButton, OX_SIZEBAR_CLOSEBTN);
    Release(pBar, pBar->m_rectCloseBtn.CenterPoint());
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_TRUE(pOther->IsVisible());
}

TEST_F(SizeCtrlBarTest, SizeChangesAreToldOnlyWhenSizeOrStateChange) {
    auto* pBar = new CRecordingBar;
    m_bars.push_back(pBar);
    ASSERT_TRUE(pBar->Create(m_pFrame, "Bar", AFX_IDW_CONTROLBAR_FIRST + 0x30, WS_CHILD | CBRS_TOP,
                             CRect(0, 0, 200, 80)));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    const UINT kSame = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0, kSame | SWP_FRAMECHANGED);
    ASSERT_EQ(pBar->m_changes.size(), 1u);
    EXPECT_EQ(pBar->m_changes[0].cx, 200);
    EXPECT_EQ(pBar->m_changes[0].cy, 80);
    EXPECT_TRUE(pBar->m_changes[0].bFloating); // in no dock bar yet
    EXPECT_EQ(pBar->m_changes[0].nMask, 3);    // first time: size and state

    pBar->SetWindowPos(nullptr, 0, 0, 0, 0, kSame | SWP_FRAMECHANGED);
    pBar->SetWindowPos(nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(pBar->m_changes.size(), 1u);

    pBar->SetWindowPos(nullptr, 0, 0, 210, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(pBar->m_changes.size(), 2u);
    EXPECT_EQ(pBar->m_changes[1].cx, 210);
    EXPECT_EQ(pBar->m_changes[1].nMask, 1);

    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->ShowControlBar(pBar, TRUE, FALSE);
    PumpMessages(m_pFrame);
    ASSERT_GE(pBar->m_changes.size(), 3u);
    EXPECT_FALSE(pBar->m_changes.back().bFloating);
    bool bStateChangeSeen = false;
    for (size_t i = 2; i < pBar->m_changes.size(); ++i)
        bStateChangeSeen = bStateChangeSeen || (pBar->m_changes[i].nMask & 2) != 0;
    EXPECT_TRUE(bStateChangeSeen);
}

TEST_F(SizeCtrlBarTest, ContextMenuOffersDockingWhileTheBarHasOrHadSides) {
    CString strAllow, strHide;
    strAllow.LoadString(ID_SIZEBAR_ALLOWDOCKING);
    strHide.LoadString(ID_SIZEBAR_HIDE);
    ASSERT_FALSE(strAllow.IsEmpty());
    const SMenuItem allowChecked{ID_SIZEBAR_ALLOWDOCKING, true, static_cast<LPCTSTR>(strAllow)};
    const SMenuItem allowUnchecked{ID_SIZEBAR_ALLOWDOCKING, false, static_cast<LPCTSTR>(strAllow)};
    const SMenuItem hide{ID_SIZEBAR_HIDE, false, static_cast<LPCTSTR>(strHide)};

    CRecordingBar* pBar = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(ContextMenuOf(pBar), (std::vector<SMenuItem>{allowChecked, hide}));

    // Switching docking off floats a docked bar and remembers its sides.
    pBar->SendMessage(WM_COMMAND, ID_SIZEBAR_ALLOWDOCKING);
    EXPECT_EQ(pBar->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
    EXPECT_EQ(pBar->m_dwSavedDockStyle & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_ANY));
    EXPECT_TRUE(pBar->IsBarFloating());
    EXPECT_EQ(ContextMenuOf(pBar), (std::vector<SMenuItem>{allowUnchecked, hide}));

    pBar->SendMessage(WM_COMMAND, ID_SIZEBAR_ALLOWDOCKING);
    EXPECT_EQ(pBar->m_dwDockStyle & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_ANY));
    EXPECT_EQ(ContextMenuOf(pBar), (std::vector<SMenuItem>{allowChecked, hide}));

    COXSizeControlBar neverDocking;
    ASSERT_TRUE(neverDocking.Create(m_pFrame, "Bar", AFX_IDW_CONTROLBAR_FIRST + 0x30,
                                    WS_CHILD | CBRS_TOP, CRect(0, 0, 100, 50)));
    EXPECT_EQ(ContextMenuOf(&neverDocking), (std::vector<SMenuItem>{hide}));
}

TEST_F(SizeCtrlBarTest, HideCommandHidesTheBarAtOnce) {
    CRecordingBar* pBar = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(pBar->IsWindowVisible());
    pBar->SendMessage(WM_COMMAND, ID_SIZEBAR_HIDE);
    EXPECT_FALSE(pBar->IsWindowVisible());
}

TEST_F(SizeCtrlBarTest, ShowBarShowsAndHidesThroughTheFrame) {
    CRecordingBar* pBar = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    pBar->ShowBar(FALSE);
    EXPECT_FALSE(pBar->IsVisible());
    PumpMessages(m_pFrame);
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_EQ(pBar->m_nLastTabIndex, -1); // no tabs here
    pBar->ShowBar(TRUE);
    EXPECT_TRUE(pBar->IsVisible());
    PumpMessages(m_pFrame);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
}

TEST_F(SizeCtrlBarTest, ADockedBarTakesItsWholeWindowAsClientForTheMouse) {
    CRecordingBar* pBar = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    CRect rw = ScreenRect(pBar);
    CRect rc;
    pBar->GetClientRect(&rc);
    pBar->ClientToScreen(&rc);
    ASSERT_NE(rw, rc) << "the caption lies outside the client area";
    const CPoint inside[] = {rw.TopLeft(), CPoint(rw.right - 1, rw.bottom - 1), rc.CenterPoint()};
    for (CPoint pt : inside)
        EXPECT_EQ(pBar->SendMessage(WM_NCHITTEST, 0, Point(pt)), HTCLIENT);
    EXPECT_NE(pBar->SendMessage(WM_NCHITTEST, 0, Point(rw.TopLeft() - CSize(3, 3))), HTCLIENT);
}

TEST_F(SizeCtrlBarTest, CursorIsTheArrowOverTheBarOnly) {
    CRecordingBar* pBar = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    ::SetCursor(::LoadCursor(nullptr, IDC_CROSS));
    EXPECT_EQ(pBar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(pBar->m_hWnd),
                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(pBar->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_pane.m_hWnd),
                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              FALSE);
}

TEST_F(SizeCtrlBarTest, FocusMakesABarActiveAndActivatingOneDeactivatesTheOthers) {
    m_pFrame->SetForegroundWindow();
    CRecordingBar* pFirst = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    CRecordingBar* pSecond = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_BOTTOM);
    CWnd edit;
    ASSERT_TRUE(
        edit.Create("Edit", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), pFirst, 1));

    pSecond->SetActive(TRUE, FALSE);
    EXPECT_TRUE(pSecond->IsActive());
    EXPECT_EQ(::GetFocus(), pSecond->m_hWnd);

    pFirst->SetActive(TRUE, TRUE);
    EXPECT_TRUE(pFirst->IsActive());
    EXPECT_FALSE(pSecond->IsActive());
    HWND hFocus = ::GetFocus();
    EXPECT_TRUE(hFocus == pFirst->m_hWnd || ::IsChild(pFirst->m_hWnd, hFocus));

    // Idle time follows the focus.
    m_pane.SetFocus();
    PumpMessages(m_pFrame);
    EXPECT_FALSE(pFirst->IsActive());
    edit.SetFocus();
    PumpMessages(m_pFrame);
    EXPECT_TRUE(pFirst->IsActive());
    EXPECT_FALSE(pSecond->IsActive());
}

TEST_F(SizeCtrlBarTest, AutoDeleteBarsOfAFrameAreDestroyedAndDeleted) {
    CSizeBarTestFrame* pOtherFrame = new CSizeBarTestFrame;
    ASSERT_TRUE(pOtherFrame->Create(nullptr, "Other", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    bool bDeleted[4] = {};
    CRecordingBar* bars[4];
    CWnd* parents[4] = {m_pFrame, m_pFrame, pOtherFrame, m_pFrame};
    for (int i = 0; i < 4; ++i) {
        bars[i] = new CRecordingBar(SCBS_AUTODELETE, &bDeleted[i]);
        ASSERT_TRUE(bars[i]->Create(parents[i], "Auto", AFX_IDW_CONTROLBAR_FIRST + 0x30 + i,
                                    WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 50)));
    }
    bars[3]->DestroyWindow(); // its window is gone already
    COXSizeControlBar::DestroyAutoDeleteBars(m_pFrame);
    EXPECT_TRUE(bDeleted[0]);
    EXPECT_TRUE(bDeleted[1]);
    EXPECT_FALSE(bDeleted[2]);
    EXPECT_TRUE(bDeleted[3]);
    EXPECT_TRUE(::IsWindow(bars[2]->m_hWnd));

    COXSizeControlBar::DestroyAutoDeleteBars(pOtherFrame);
    EXPECT_TRUE(bDeleted[2]);
    pOtherFrame->DestroyWindow();
    COXSizeControlBar::DestroyAutoDeleteBars(m_pFrame); // an empty list is fine
}

TEST_F(SizeCtrlBarTest, QuitDuringACaptionDragIsPostedAgainAndEndsTheDrag) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    const CPoint pt = CaptionPoint(pBar);
    Press(pBar, pt);
    Move(pBar, pt + CSize(10, 0));
    ASSERT_TRUE(pBar->m_bCaptionDragging);
    m_pFrame->Invalidate(); // a paint waits for the drag's paint pump
    ::PostQuitMessage(7);
    Move(pBar, pt + CSize(300, 300));
    EXPECT_FALSE(pBar->m_bCaptionDragging);
    EXPECT_NE(::GetCapture(), pBar->m_hWnd);
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP)); // not moved
    EXPECT_EQ(TakeQuitMessage(), 7);
}

TEST_F(SizeCtrlBarTest, CaptionDragFloatsTheBarAwayFromDockBarsAndDocksItOverOne) {
    CRecordingBar* pBar = MakeBar(CSize(400, 150), AFX_IDW_DOCKBAR_TOP);
    pBar->m_sizeFloat = CSize(200, 120);
    const CPoint pt = CaptionPoint(pBar);
    Press(pBar, pt);
    Move(pBar, pt + CSize(0, 10));
    ASSERT_TRUE(pBar->m_bCaptionDragging);
    const CPoint offset = pBar->m_ptDragOffset;

    // Over the middle of the pane: the bar floats with the cursor in its caption.
    CRect rectPane = ScreenRect(&m_pane);
    CPoint ptScreen = rectPane.CenterPoint();
    CPoint ptClient(ptScreen);
    pBar->ScreenToClient(&ptClient);
    Move(pBar, ptClient);
    ASSERT_TRUE(pBar->IsFloating());
    EXPECT_EQ(ScreenRect(pBar->GetParentFrame()).TopLeft(), ptScreen - CSize(offset));
    EXPECT_TRUE(pBar->m_bCaptionDragging);

    // Over the bottom dock bar: docked there.
    CRect rectFrame;
    m_pFrame->GetClientRect(&rectFrame);
    m_pFrame->ClientToScreen(&rectFrame);
    ptScreen = CPoint(rectFrame.left + 100, rectFrame.bottom - 2);
    ptClient = ptScreen;
    pBar->ScreenToClient(&ptClient);
    Move(pBar, ptClient);
    EXPECT_EQ(pBar->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
    Release(pBar, ptClient);
    EXPECT_FALSE(pBar->m_bCaptionDragging);
    EXPECT_NE(::GetCapture(), pBar->m_hWnd);
}

namespace {

int g_nChainedHookCalls = 0;
HHOOK g_hChainedHook = nullptr;
LRESULT CALLBACK ChainedMouseHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HC_ACTION)
        ++g_nChainedHookCalls;
    return ::CallNextHookEx(g_hChainedHook, nCode, wParam, lParam);
}

void MoveMouseTo(CPoint ptScreen) {
    SendMouseMove(ptScreen);
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        ::Sleep(10);
    }
}

} // namespace

TEST_F(SizeCtrlBarTest, MouseHookRedrawsTheLeftBarAndOutlivesOtherBarsInput) {
    g_hChainedHook =
        ::SetWindowsHookExA(WH_MOUSE, ChainedMouseHook, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(g_hChainedHook, nullptr);
    m_pFrame->SetForegroundWindow();
    CRecordingBar* pFirst = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_TOP);
    CRecordingBar* pSecond = MakeBar(CSize(300, 100), AFX_IDW_DOCKBAR_BOTTOM);
    {
        // A bar that comes and goes takes no hook with it.
        COXSizeControlBar passing;
        ASSERT_TRUE(passing.Create(m_pFrame, "Passing", AFX_IDW_CONTROLBAR_FIRST + 0x30,
                                   WS_CHILD | CBRS_TOP, CRect(0, 0, 100, 50)));
    }
    CRect rectFirst;
    pFirst->GetClientRect(&rectFirst);
    pFirst->ClientToScreen(&rectFirst);
    CRect rectSecond;
    pSecond->GetClientRect(&rectSecond);
    pSecond->ClientToScreen(&rectSecond);

    MoveMouseTo(rectFirst.CenterPoint());
    MoveMouseTo(rectFirst.CenterPoint() + CSize(2, 1));
    const int nBefore = pFirst->m_nCloseDrawn;
    g_nChainedHookCalls = 0;
    MoveMouseTo(rectSecond.CenterPoint());
    EXPECT_GT(pFirst->m_nCloseDrawn, nBefore) << "the bar the cursor left is redrawn";
    EXPECT_GT(g_nChainedHookCalls, 0) << "the hook passes the event on";
    ::UnhookWindowsHookEx(g_hChainedHook);
    g_hChainedHook = nullptr;
}
