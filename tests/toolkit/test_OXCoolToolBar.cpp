// Tests of COXCoolToolBar: the common-controls version, sizes of empty bars,
// row gaps and drop-down widening by version, wrapping and SizeToolBar as
// tables over button arrays, button texts from command strings and the frame
// menu, the separator clean-up of TB_DELETEBUTTON, SetIcon, the transparent
// style in MDI children, and with real input the press, the drag to float
// and dock, and a drop-down button's menu.
#include "CoolBarTestFrame.h"

#include "test_OXCoolToolBar_res.h"

#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"

#include <cstdlib>
#include <string>

namespace {

CWinApp theApp;

const DWORD kVersion470 = 0x00040046;
const DWORD kVersion471 = 0x00040047;

TBBUTTON Button(int nCommand, BYTE fsStyle = TBSTYLE_BUTTON, BYTE fsState = 0) {
    TBBUTTON button = {};
    button.iBitmap = 0;
    button.idCommand = nCommand;
    button.fsStyle = fsStyle;
    button.fsState = fsState;
    return button;
}

TBBUTTON Separator(int nWidth, BYTE fsState = 0) {
    TBBUTTON button = {};
    button.iBitmap = nWidth;
    button.fsStyle = TBSTYLE_SEP;
    button.fsState = fsState;
    return button;
}

std::vector<int> Wraps(const std::vector<TBBUTTON>& buttons) {
    std::vector<int> wraps;
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].fsState & TBSTATE_WRAP)
            wraps.push_back(static_cast<int>(i));
    return wraps;
}

// ---- Real input.

void Pump(int nMilliseconds, CWnd* pFrame) {
    const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(nMilliseconds);
    while (static_cast<int>(dwEnd - ::GetTickCount()) > 0) {
        PumpWithIdle(pFrame);
        ::Sleep(10);
    }
}

// ---- The common-controls version.

TEST(OXCoolToolBarVersion, ALibraryWithoutVersionExportCountsAsFourZero) {
    DWORD dwMajor = 0, dwMinor = 0;
    EXPECT_EQ(OXGetDllVersion("kernel32.dll", &dwMajor, &dwMinor), S_OK);
    EXPECT_EQ(dwMajor, 4u);
    EXPECT_EQ(dwMinor, 0u);
    EXPECT_EQ(OXGetDllVersion("zm_no_such_library.dll", &dwMajor, &dwMinor), E_FAIL);
    EXPECT_EQ(OXGetDllVersion("comctl32.dll", nullptr, &dwMinor), E_INVALIDARG);
    EXPECT_EQ(OXGetDllVersion("comctl32.dll", &dwMajor, nullptr), E_INVALIDARG);
}

TEST(OXCoolToolBarVersion, TheProcessWideValueIsMajorAndMinorOfComctl32) {
    DWORD dwMajor = 0, dwMinor = 0;
    ASSERT_EQ(OXGetDllVersion("comctl32.dll", &dwMajor, &dwMinor), S_OK);
    COXCoolToolBar bar;
    EXPECT_EQ(COXCoolToolBar::GetComCtlVersion(), (dwMajor << 16) | dwMinor);
    EXPECT_GE(COXCoolToolBar::GetComCtlVersion(), kVersion471);
}

// ---- Sizes.

TEST_F(CoolBarTest, AnEmptyBarIsHalfAButtonAcrossWhenDockedAndOneButtonFloating) {
    MakeBar({});
    const CSize sizeButton = m_pBar->GetButtonsSize();
    struct Case {
        bool bFloating;
        DWORD dwMode;
        CSize sizeInside; // before the margins
    } cases[] = {
        {false, LM_HORZ, CSize(sizeButton.cx / 2, sizeButton.cy)},
        {true, LM_HORZ, CSize(sizeButton.cx, sizeButton.cy)},
        {false, 0, CSize(sizeButton.cx, sizeButton.cy / 2)},
        {true, 0, CSize(sizeButton.cx, sizeButton.cy)},
    };
    const DWORD dwStyle = m_pBar->m_dwStyle;
    for (const Case& c : cases) {
        m_pBar->m_dwStyle = c.bFloating ? (dwStyle | CBRS_FLOATING) : (dwStyle & ~CBRS_FLOATING);
        CRect rectInside(0, 0, 0, 0);
        m_pBar->CalcInsideRect(rectInside, (c.dwMode & LM_HORZ) != 0);
        const CSize expected(c.sizeInside.cx - rectInside.Width(),
                             c.sizeInside.cy - rectInside.Height());
        EXPECT_EQ(m_pBar->CalcLayout(c.dwMode), expected)
            << "floating " << c.bFloating << " mode " << c.dwMode;
    }
    m_pBar->m_dwStyle = dwStyle;
}

TEST_F(CoolBarTest, AWrappingSeparatorAddsTwoThirdsExceptOnNewFlatBars) {
    MakeBar({kFirstCommand, 0, kFirstCommand + 1});
    const int cy = m_pBar->m_sizeButton.cy;
    struct Case {
        DWORD dwVersion;
        BOOL bFlat;
        int nGap;
    } cases[] = {
        {kVersion470, FALSE, 8},
        {kVersion471, FALSE, 8},
        {kVersion470, TRUE, 8},
        {kVersion471, TRUE, 12},
    };
    for (const Case& c : cases) {
        CTestCoolBar::SetComCtlVersion(c.dwVersion);
        m_pBar->SetFlat(c.bFlat);
        std::vector<TBBUTTON> buttons = {Button(kFirstCommand), Separator(12, TBSTATE_WRAP),
                                         Button(kFirstCommand + 1)};
        const CSize size = m_pBar->CalcSize(buttons.data(), 3);
        EXPECT_EQ(size.cy, 2 * cy + c.nGap) << "version " << c.dwVersion << " flat " << c.bFlat;
        EXPECT_EQ(size.cx, m_pBar->m_sizeButton.cx);
    }
}

TEST_F(CoolBarTest, ADropDownButtonIsWidenedByTheArrowExceptFlatOnOldControls) {
    MakeBar({kFirstCommand});
    const int cx = m_pBar->m_sizeButton.cx;
    const int nArrow = m_pBar->GetDropDownArrowWidth();
    ASSERT_GT(nArrow, 0);
    struct Case {
        DWORD dwVersion;
        BOOL bFlat;
        int cxExpected;
    } cases[] = {
        {kVersion470, TRUE, cx},
        {kVersion471, TRUE, cx + nArrow},
        {kVersion470, FALSE, cx + nArrow},
        {kVersion471, FALSE, cx + nArrow},
    };
    for (const Case& c : cases) {
        CTestCoolBar::SetComCtlVersion(c.dwVersion);
        m_pBar->SetFlat(c.bFlat);
        ASSERT_TRUE(m_pBar->IsDropDownArrow());
        TBBUTTON button = Button(kFirstCommand, TBSTYLE_DROPDOWN);
        EXPECT_EQ(m_pBar->CalcSize(&button, 1).cx, c.cxExpected)
            << "version " << c.dwVersion << " flat " << c.bFlat;
    }
    // Without drop-down arrows nothing is added.
    m_pBar->SetDropDownArrow(FALSE);
    TBBUTTON button = Button(kFirstCommand, TBSTYLE_DROPDOWN);
    EXPECT_EQ(m_pBar->CalcSize(&button, 1).cx, cx);
}

TEST_F(CoolBarTest, WrapToolBarEndsRowsAtSeparatorsElseAfterTheLastButton) {
    MakeBar({kFirstCommand});
    m_pBar->SetFlat(FALSE);
    ASSERT_EQ(m_pBar->m_sizeButton.cx, 23);
    // Button widths 23, separators 8: B B S B B S B.
    struct Case {
        int nWidth;
        int nRows;
        std::vector<int> wraps;
    } cases[] = {
        {200, 1, {}},          {100, 2, {5}}, // the separator that overflows ends the row
        {60, 3, {2, 5}},                      // the separator before the button that overflows
        {30, 5, {0, 2, 3, 5}},                // no separator in the row: after the last button
        {0, 5, {0, 2, 3, 5}},
    };
    for (const Case& c : cases) {
        std::vector<TBBUTTON> buttons = {Button(1), Button(2),    Separator(8), Button(3),
                                         Button(4), Separator(8), Button(5)};
        buttons[0].fsState |= TBSTATE_WRAP; // old marks are cleared first
        EXPECT_EQ(m_pBar->WrapToolBar(buttons.data(), 7, c.nWidth), c.nRows) << c.nWidth;
        EXPECT_EQ(Wraps(buttons), c.wraps) << c.nWidth;
    }
    // Hidden buttons take no room; a placeholder separator (a control's) is no
    // row end, and neither is the button before the last mark.
    std::vector<TBBUTTON> buttons = {Button(1), Button(2, TBSTYLE_BUTTON, TBSTATE_HIDDEN),
                                     Button(3), Separator(8),
                                     Button(4), Button(5)};
    buttons[3].idCommand = 77;
    EXPECT_EQ(m_pBar->WrapToolBar(buttons.data(), 6, 60), 2);
    EXPECT_EQ(Wraps(buttons), std::vector<int>({2}));
}

TEST_F(CoolBarTest, SizeToolBarFindsTheNarrowestWrapOfTheRowsOrTheHeight) {
    MakeBar({kFirstCommand});
    m_pBar->SetFlat(FALSE);
    const int cy = m_pBar->m_sizeButton.cy;
    auto Make = [] {
        return std::vector<TBBUTTON>{Button(1), Button(2),    Separator(8), Button(3),
                                     Button(4), Separator(8), Button(5)};
    };
    // Width 100 gives two rows; 77 is the narrowest width with two.
    std::vector<TBBUTTON> buttons = Make();
    m_pBar->SizeToolBar(buttons.data(), 7, 100, FALSE);
    EXPECT_EQ(Wraps(buttons), std::vector<int>({2}));
    EXPECT_EQ(m_pBar->CalcSize(buttons.data(), 7), CSize(77, 2 * cy + 8 * 2 / 3));
    // One row asked: one row.
    buttons = Make();
    m_pBar->SizeToolBar(buttons.data(), 7, 32767, FALSE);
    EXPECT_EQ(Wraps(buttons), std::vector<int>());
    // A height of exactly two rows and a separator gap.
    buttons = Make();
    m_pBar->SizeToolBar(buttons.data(), 7, 2 * cy + 5, TRUE);
    EXPECT_EQ(m_pBar->CalcSize(buttons.data(), 7).cy, 2 * cy + 5);
    // A height below one row cannot be met: the flattest wrap.
    buttons = Make();
    m_pBar->SizeToolBar(buttons.data(), 7, 5, TRUE);
    EXPECT_EQ(Wraps(buttons), std::vector<int>());
}

TEST_F(CoolBarTest, ALayoutIsCommittedToTheControlWhenTheBarFloatsAndDocks) {
    MakeBar({kFirstCommand, kFirstCommand + 1, 0, kFirstCommand + 2, kFirstCommand + 3});
    CRect rectFirst, rectLast;
    m_pBar->GetItemRect(0, &rectFirst);
    m_pBar->GetItemRect(4, &rectLast);
    EXPECT_EQ(rectFirst.top, rectLast.top); // one row on the top
    m_pFrame->DockControlBar(m_pBar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    PumpWithIdle(m_pFrame);
    m_pBar->GetItemRect(0, &rectFirst);
    m_pBar->GetItemRect(4, &rectLast);
    EXPECT_LT(rectFirst.bottom, rectLast.bottom); // a column on the left
    CRect rectWindow;
    m_pBar->GetWindowRect(&rectWindow);
    EXPECT_LT(rectWindow.Width(), rectWindow.Height());
}

// ---- Texts.

TEST_F(CoolBarTest, ButtonTextsComeFromTheCommandStringsOrTheMenu) {
    MakeBar({kFirstCommand, kFirstCommand + 1, 0, kFirstCommand + 2});
    CMenu menu;
    menu.CreateMenu();
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, kFirstCommand, "&Open...\tCtrl+O");
    popup.AppendMenu(MF_STRING, kFirstCommand + 1, "&Save");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), "&File");
    ::SetMenu(m_pFrame->m_hWnd, menu.GetSafeHmenu());
    struct Case {
        int nKind;
        int nStoredKind;
        const char* texts[4];
    } cases[] = {
        {OX_TB_TEXT_STRING, 0, {"Open", "Save", "", ""}},
        {OX_TB_TEXT_TOOLTIP, 1, {"Open a file", "", "", ""}},
        {OX_TB_TEXT_MENU, 2, {"&Open...", "&Save", "", ""}},
        {OX_TB_TEXT_NONE, 3, {"&Open...", "&Save", "", ""}}, // nothing changes
        {OX_TB_TEXT_EMPTY, 4, {"", "", "", ""}},
        {OX_TB_TEXT_STRING, 0, {"Open", "Save", "", ""}},
        {7, 4, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        m_pBar->SetAllButtonsTextFromID(c.nKind);
        EXPECT_EQ(m_pBar->GetTextKind(), c.nStoredKind) << "kind " << c.nKind;
        for (int i = 0; i < 4; ++i)
            EXPECT_STREQ(m_pBar->GetButtonText(i), c.texts[i]) << "kind " << c.nKind << " " << i;
    }
    // Only the commands of the range.
    m_pBar->SetButtonTextFromID(kFirstCommand + 1, kFirstCommand + 1, OX_TB_TEXT_STRING);
    EXPECT_STREQ(m_pBar->GetButtonText(0), "");
    EXPECT_STREQ(m_pBar->GetButtonText(1), "Save");
    ::SetMenu(m_pFrame->m_hWnd, nullptr);
}

TEST_F(CoolBarTest, MenuTextsWithoutAMainWindowOrMenuAreTracedAndStayEmpty) {
    MakeBar({kFirstCommand});
    CTraceCapture trace;
    m_pBar->SetAllButtonsTextFromID(OX_TB_TEXT_STRING);
    ASSERT_STREQ(m_pBar->GetButtonText(0), "Open");
    AfxGetApp()->m_pMainWnd = nullptr;
    m_pBar->SetAllButtonsTextFromID(OX_TB_TEXT_MENU);
    AfxGetApp()->m_pMainWnd = m_pFrame;
    EXPECT_STREQ(m_pBar->GetButtonText(0), "");
    EXPECT_TRUE(trace.Holds(
        "COXCoolToolBar::SetButtonTextFromID: m_pMainWnd of app is not defined yet menu!"));
    m_pBar->SetAllButtonsTextFromID(OX_TB_TEXT_MENU);
    EXPECT_TRUE(trace.Holds("COXCoolToolBar::SetButtonTextFromID: cannot get framework menu!"));
}

// ---- Control messages and state.

TEST_F(CoolBarTest, DeletingAnEndButtonTakesTheSeparatorLeftAtThatEnd) {
    const std::vector<UINT> ids = {kFirstCommand, 0, kFirstCommand + 1};
    MakeBar(ids);
    ASSERT_TRUE(m_pBar->SendMessage(TB_DELETEBUTTON, 2));
    ASSERT_EQ(m_pBar->GetCount(), 1);
    EXPECT_EQ(m_pBar->GetItemID(0), kFirstCommand);

    ASSERT_TRUE(m_pBar->SetButtons(ids.data(), 3));
    ASSERT_TRUE(m_pBar->SendMessage(TB_DELETEBUTTON, 0));
    ASSERT_EQ(m_pBar->GetCount(), 1);
    EXPECT_EQ(m_pBar->GetItemID(0), kFirstCommand + 1);

    // A separator in the middle stays.
    const std::vector<UINT> longer = {kFirstCommand, 0, kFirstCommand + 1, kFirstCommand + 2};
    ASSERT_TRUE(m_pBar->SetButtons(longer.data(), 4));
    ASSERT_TRUE(m_pBar->SendMessage(TB_DELETEBUTTON, 3));
    EXPECT_EQ(m_pBar->GetCount(), 3);
}

TEST_F(CoolBarTest, SettingTheSameIconAgainDoesNotRedraw) {
    MakeBar({kFirstCommand});
    HICON hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    HICON hOther = ::LoadIconA(nullptr, IDI_INFORMATION);
    m_pBar->SetIcon(hIcon, TRUE);
    PumpWithIdle(m_pFrame);
    const CRect rectIcon = m_pBar->GetIconRect();
    ASSERT_FALSE(rectIcon.IsRectEmpty());
    EXPECT_EQ(rectIcon.Size(),
              CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
    m_pBar->m_nNcPaints = 0;
    m_pBar->SetIcon(hIcon, TRUE);
    PumpWithIdle(m_pFrame);
    EXPECT_EQ(m_pBar->m_nNcPaints, 0);
    EXPECT_EQ(m_pBar->GetIconRect(), rectIcon);
    // Another icon empties the rectangle; without redraw nothing is painted.
    m_pBar->SetIcon(hOther, FALSE);
    EXPECT_TRUE(m_pBar->GetIconRect().IsRectEmpty());
    EXPECT_EQ(m_pBar->m_nNcPaints, 0);
    EXPECT_EQ(m_pBar->GetIcon(), hOther);
}

TEST_F(CoolBarTest, ABarInAnMdiChildLosesTheTransparentStyle) {
    MakeBar({kFirstCommand});
    EXPECT_TRUE(m_pBar->GetStyle() & TBSTYLE_TRANSPARENT);
    EXPECT_TRUE(m_pBar->GetStyle() & TBSTYLE_FLAT);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefMDIChildProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZmCoolBarTestChild";
    ::RegisterClassA(&wc);
    CLIENTCREATESTRUCT ccs = {nullptr, 0xFF00};
    HWND hClient = ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                                     m_pFrame->m_hWnd, nullptr, wc.hInstance, &ccs);
    ASSERT_NE(hClient, nullptr);
    HWND hChild = ::CreateMDIWindowA("ZmCoolBarTestChild", "child", WS_VISIBLE, 0, 0, 200, 150,
                                     hClient, wc.hInstance, 0);
    ASSERT_NE(hChild, nullptr);
    ASSERT_TRUE(::GetWindowLongA(hChild, GWL_EXSTYLE) & WS_EX_MDICHILD);
    CTestCoolBar bar;
    ASSERT_TRUE(bar.Create(CWnd::FromHandle(hChild), 0x50402808, kBarID + 1));
    EXPECT_FALSE(bar.GetStyle() & TBSTYLE_TRANSPARENT);
    EXPECT_TRUE(bar.GetStyle() & TBSTYLE_FLAT);
    bar.DestroyWindow();
    ::DestroyWindow(hClient);
}

TEST_F(CoolBarTest, APlainBarRefusesOleDragsAndKeepsNoDragState) {
    MakeBar({kFirstCommand});
    SHBDROPTARGETACTION action;
    action.result = DROPEFFECT_COPY;
    EXPECT_EQ(m_pBar->SendMessage(SHBDTM_DRAGENTER, 0, reinterpret_cast<LPARAM>(&action)), 0);
    EXPECT_EQ(m_pBar->SendMessage(SHBDTM_DRAGOVER, 0, reinterpret_cast<LPARAM>(&action)), 0);
    EXPECT_EQ(m_pBar->SendMessage(SHBDTM_DROP, 0, reinterpret_cast<LPARAM>(&action)), 0);
    EXPECT_FALSE(m_pBar->IsDragDropOperation());
    // The drop target, asked by OLE, gives the default refusal.
    COleDataObject data;
    EXPECT_EQ(m_pBar->GetDropTarget()->OnDragOver(m_pBar, &data, MK_LBUTTON, CPoint(2, 2)),
              DROPEFFECT_NONE);
}

TEST_F(CoolBarTest, TooltipsFollowTheBarStyleAndShowTheCommandsTooltipPart) {
    MakeBar({kFirstCommand, 0, kFirstCommand + 2});
    EXPECT_TRUE(m_pBar->HasToolTips());
    m_pBar->SetBarStyle(m_pBar->GetBarStyle() & ~CBRS_TOOLTIPS);
    EXPECT_FALSE(m_pBar->HasToolTips());
    EXPECT_EQ(m_pBar->GetBarStyle() & CBRS_TOOLTIPS, 0u);
    m_pBar->SetBarStyle(m_pBar->GetBarStyle() | CBRS_TOOLTIPS);
    EXPECT_TRUE(m_pBar->HasToolTips());

    CRect rect;
    m_pBar->GetItemRect(0, &rect);
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    ASSERT_EQ(m_pBar->OnToolHitTest(rect.CenterPoint(), &info),
              static_cast<INT_PTR>(kFirstCommand));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Open a file");
    ::free(info.lpszText);
    // No tool on a separator.
    m_pBar->GetItemRect(1, &rect);
    EXPECT_EQ(m_pBar->OnToolHitTest(rect.CenterPoint(), nullptr), -1);
}

TEST_F(CoolBarTest, AQuitMetWhilePumpingPaintsDuringADragIsPostedAgain) {
    MakeBar({kFirstCommand, 0, kFirstCommand + 1});
    PumpWithIdle(m_pFrame);
    // A paint is waiting and so is a quit: the drag's pump meets the quit.
    m_pane.Invalidate();
    ::PostQuitMessage(7);
    m_pBar->StartBarDrag(CPoint(3, 3));
    ASSERT_TRUE(m_pBar->IsDragging());
    m_pBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_FALSE(m_pBar->IsDragging());
    EXPECT_NE(::GetCapture(), m_pBar->m_hWnd);
    EXPECT_EQ(TakeQuitMessage(), 7);
}

// ---- Real input.

TEST_F(CoolBarTest, InputPressOnTheEmptyPartWithDragAnywhereOffDoesNothing) {
    MakeBar({kFirstCommand, 0, kFirstCommand + 1});
    m_pFrame->SetForegroundWindow();
    Pump(100, m_pFrame);
    const CPoint ptGap = ItemRectOnScreen(1).CenterPoint();
    CRect rectBefore;
    m_pBar->GetWindowRect(&rectBefore);

    m_pBar->SetDragAnywhere(FALSE);
    SendMouseMove(ptGap);
    Pump(100, m_pFrame);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(150, m_pFrame);
    EXPECT_FALSE(m_pBar->IsDragging());
    EXPECT_NE(::GetCapture(), m_pBar->m_hWnd);
    SendMouseMove(ptGap + CSize(60, 120));
    Pump(150, m_pFrame);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(150, m_pFrame);
    CRect rectAfter;
    m_pBar->GetWindowRect(&rectAfter);
    EXPECT_EQ(rectAfter, rectBefore);
    EXPECT_FALSE(m_pBar->IsFloating());
    EXPECT_TRUE(m_pFrame->m_commands.empty());

    // With drag-anywhere on, the same press starts the bar's own drag.
    m_pBar->SetDragAnywhere(TRUE);
    SendMouseMove(ptGap);
    Pump(100, m_pFrame);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(150, m_pFrame);
    EXPECT_TRUE(m_pBar->IsDragging());
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(150, m_pFrame);
    EXPECT_FALSE(m_pBar->IsDragging());
}

TEST_F(CoolBarTest, InputDragFloatsTheBarOverThePaneAndDocksItAgainOnTheTop) {
    MakeBar({kFirstCommand, 0, kFirstCommand + 1});
    m_pFrame->SetForegroundWindow();
    Pump(100, m_pFrame);
    const CPoint ptGap = ItemRectOnScreen(1).CenterPoint();
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->ClientToScreen(&rectClient);

    SendMouseMove(ptGap);
    Pump(100, m_pFrame);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(150, m_pFrame);
    ASSERT_TRUE(m_pBar->IsDragging());
    SendMouseMove(rectClient.CenterPoint());
    Pump(300, m_pFrame);
    EXPECT_TRUE(m_pBar->IsFloating());
    EXPECT_TRUE(m_pBar->IsDragging());
    SaveScreenPng(rectClient, "coolbar_dragged_floating.png");

    SendMouseMove(CPoint(rectClient.left + 60, rectClient.top + 2));
    Pump(300, m_pFrame);
    EXPECT_FALSE(m_pBar->IsFloating());
    ASSERT_NE(m_pBar->m_pDockBar, nullptr);
    EXPECT_EQ(m_pBar->m_pDockBar->GetDlgCtrlID(), static_cast<int>(AFX_IDW_DOCKBAR_TOP));
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(150, m_pFrame);
    EXPECT_FALSE(m_pBar->IsDragging());
    EXPECT_NE(::GetCapture(), m_pBar->m_hWnd);
    EXPECT_TRUE(m_pFrame->m_commands.empty());
}

TEST_F(CoolBarTest, InputADropDownButtonOpensItsMenuThroughTbnDropDown) {
    MakeBar({kFirstCommand, kFirstCommand + 1});
    m_pBar->SetButtonStyle(1, TBSTYLE_DROPDOWN);
    m_pFrame->RecalcLayout();
    m_pFrame->SetForegroundWindow();
    Pump(150, m_pFrame);
    const CRect rectButton = ItemRectOnScreen(1);
    // The arrow part at the button's right end.
    const CPoint ptArrow(rectButton.right - 4, rectButton.CenterPoint().y);
    for (int nPress = 1; nPress <= 2; ++nPress) {
        m_pBar->SetDropDownCommand(-1);
        SendMouseMove(ptArrow);
        Pump(100, m_pFrame);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        Pump(600, m_pFrame);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        Pump(150, m_pFrame);
        ASSERT_EQ(m_pFrame->m_dropDowns.size(), static_cast<size_t>(nPress));
        EXPECT_EQ(m_pFrame->m_dropDowns.back(), static_cast<int>(kFirstCommand + 1));
        EXPECT_EQ(m_pFrame->m_nMenusSeen, nPress);
        // The bar took the arrow's command before the frame opened the menu.
        EXPECT_EQ(m_pFrame->m_barDropDownCommands.back(), static_cast<int>(kFirstCommand + 1));
    }
    EXPECT_TRUE(m_pFrame->m_commands.empty());
}

} // namespace
