// Tests of the menu-bar frame as the application's main frame has it: an MDI
// frame whose menu is shown by a menu bar docked in sizeable menu dock bars on
// all four sides, with bars floating in the toolkit's floating frame. Covered:
// the bar made from the window menu (and an empty, hidden bar without one),
// the tabbed-docking answer, the dock bars, docking and floating the bar, the
// keyboard and mouse through the frame's hooks (real input), the MDI child
// icon and buttons, the MDI client filter and its repair, the length check
// after a layout and the row of its own of the menu bar.
#include "test_OXMenuBarFrame_res.h"

#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include "toolkit/OXMenuBarFrame.h"
#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSkinnedApp.h"

#include "Common/TraceLog.h"

#include "native/gtest.h"

#include <memory>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

using CMenuBarMDIFrame = COXMenuBarFrame<CMDIFrameWnd, COXSizeDockBar>;
using CMenuDockBar = COXMenuDockBar<COXSizeDockBar>;

// The main frame as the application makes it; it counts the popups that open
// over it.
class CTestMainFrame : public CMenuBarMDIFrame {
public:
    CTestMainFrame()
        : CMenuBarMDIFrame(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizableMiniDockFrameWnd)) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITMENUPOPUP)
            ++m_nPopupsOpened;
        return CMenuBarMDIFrame::WindowProc(message, wParam, lParam);
    }
    int m_nPopupsOpened = 0;
};

// What the application's message loop does between two inputs: the messages
// waiting, then the idle time in which delayed layouts and the bars' command
// updates run.
void Idle() {
    PumpPending();
    theApp.OnIdle(0);
    PumpPending();
}

// Runs the thread's messages for a while (real input arrives through the
// X server, a little later than it is sent).
void Pump(int nMilliseconds = 200) {
    const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(nMilliseconds);
    while (static_cast<int>(dwEnd - ::GetTickCount()) > 0) {
        Idle();
        ::Sleep(10);
    }
}

// ---- Real input.

void TapKey(WORD wVk) {
    SendKeyTap(wVk);
    Pump(150);
}

void Click(CPoint ptScreen) {
    SendMouseMove(ptScreen);
    Pump(100);
    SendLeftClick();
    Pump(200);
}

// Inside a popup's own loop the input is only queued (SendKeyTap and
// ClickAsync pump nothing): the loop takes it.
void ClickAsync(CPoint ptScreen) {
    SendMouseMove(ptScreen);
    SendLeftClick();
}

// The popup menu windows on the screen now, outermost first.
std::vector<HWND> OpenPopupWindows() {
    std::vector<HWND> windows;
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); hWnd != nullptr;
         hWnd = ::FindWindowExA(nullptr, hWnd, "#32768", nullptr)) {
        if (::IsWindowVisible(hWnd))
            windows.push_back(hWnd);
    }
    return windows;
}

class MenuBarFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CTestMainFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW));
        m_hFrame = m_pFrame->m_hWnd;
        theApp.m_pMainWnd = m_pFrame;
        ::SetWindowPos(m_hFrame, nullptr, 20, 20, 800, 560, SWP_NOZORDER);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        Idle();
    }
    void TearDown() override {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        PumpPending();
    }

    COXMenuBar& Bar() { return m_pFrame->GetMenuBar(); }
    CRect BarRect() {
        CRect rect;
        Bar().GetWindowRect(&rect);
        return rect;
    }
    // The centre of item nItem's button, in screen coordinates.
    CPoint ItemCentre(int nItem) {
        CRect rect;
        Bar().GetMenuItemRect(nItem, &rect);
        Bar().ClientToScreen(&rect);
        return rect.CenterPoint();
    }
    CMDIChildWnd* NewChild(const char* pszTitle, DWORD dwStyle = WS_OVERLAPPEDWINDOW) {
        auto* pChild = new CMDIChildWnd;
        if (!pChild->Create(nullptr, pszTitle, WS_CHILD | WS_VISIBLE | dwStyle,
                            CFrameWnd::rectDefault, m_pFrame))
            return nullptr;
        return pChild;
    }
    // Gives the frame the keyboard focus, as a user's click on it would, with
    // the cursor parked away from the bar (a cursor over it makes items hot).
    void Activate() {
        CRect rectFrame;
        m_pFrame->GetWindowRect(&rectFrame);
        SendMouseMove(rectFrame.BottomRight() - CSize(60, 60));
        m_pFrame->SetForegroundWindow();
        m_pFrame->SetActiveWindow();
        m_pFrame->SetFocus();
        // The X server confirms the focus later; on a busy machine its event can
        // come after a short pump and take the focus back from the bar a test
        // has just given it, so wait for the frame to be in front, then settle.
        PumpUntil([this] { return ::GetForegroundWindow() == m_hFrame; });
        Pump(400);
    }

    CTestMainFrame* m_pFrame = nullptr; // deletes itself with its window
    HWND m_hFrame = nullptr;
};

} // namespace

// ---- The bar and the window menu.

TEST(MenuBarFrameCreation, WithoutAWindowMenuTheBarIsEmptyHiddenAndTheMissingMenuIsTraced) {
    CTraceCapture trace;
    auto* pFrame = new CTestMainFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "No Menu", WS_OVERLAPPEDWINDOW));
    const HWND hFrame = pFrame->m_hWnd;
    COXMenuBar& bar = pFrame->GetMenuBar();
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(bar.GetMenuHandle(), nullptr);
    EXPECT_EQ(::GetMenu(hFrame), nullptr);
    EXPECT_TRUE(trace.Holds("COXMenuBarHost<PARENTWND>::WindowProc: There is no menu associated "
                            "with frame window"));
    pFrame->DestroyWindow();
}

TEST_F(MenuBarFrameTest, TheWindowMenuMovesIntoTheBarAndMenuOperationsFollowIt) {
    COXMenuBar& bar = Bar();
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_EQ(bar.GetDlgCtrlID(), OX_IDW_MENUBAR);
    EXPECT_EQ(::GetMenu(m_hFrame), nullptr);
    const HMENU hMenu = bar.GetMenuHandle();
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(::GetMenuItemCount(hMenu), 4);
    EXPECT_EQ(m_pFrame->m_hMenuDefault, hMenu);
    EXPECT_EQ(m_pFrame->GetMenu()->m_hMenu, hMenu);
    EXPECT_TRUE(OXMenuBarHostHooksInstalled());

    // Another menu goes to the bar; the window still shows none.
    CMenu other;
    ASSERT_TRUE(other.CreateMenu());
    other.AppendMenu(MF_STRING, ID_TEST_ABOUT, "&Only");
    EXPECT_TRUE(m_pFrame->SetMenu(&other));
    EXPECT_EQ(bar.GetMenuHandle(), other.m_hMenu);
    EXPECT_EQ(::GetMenu(m_hFrame), nullptr);
    EXPECT_TRUE(m_pFrame->SetMenu(CMenu::FromHandle(hMenu)));
    EXPECT_EQ(bar.GetMenuHandle(), hMenu);
}

TEST_F(MenuBarFrameTest, TheHooksStayWhileAnyFrameLivesAndGoWithTheLast) {
    auto* pSecond = new CTestMainFrame;
    ASSERT_TRUE(pSecond->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW));
    pSecond->DestroyWindow();
    EXPECT_TRUE(OXMenuBarHostHooksInstalled());
    m_pFrame->DestroyWindow();
    EXPECT_FALSE(OXMenuBarHostHooksInstalled());
}

TEST_F(MenuBarFrameTest, QueryTabDockingAnswersZeroUntilTheFlagIsSet) {
    EXPECT_EQ(m_pFrame->SendMessage(WM_QUERYTABDOCKING), 0);
    m_pFrame->SetTabbedDocking(TRUE);
    EXPECT_EQ(m_pFrame->SendMessage(WM_QUERYTABDOCKING), 1);
}

// ---- Docking.

TEST_F(MenuBarFrameTest, EnableDockingMadeFourMenuDockBarsWithTheirIdsAndStyles) {
    struct SCase {
        UINT nID;
        DWORD dwBarStyle;
    };
    const SCase kCases[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
    };
    const DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    for (const SCase& c : kCases) {
        CControlBar* pBar = m_pFrame->GetControlBar(c.nID);
        ASSERT_NE(pBar, nullptr) << std::hex << c.nID;
        EXPECT_NE(dynamic_cast<CMenuDockBar*>(pBar), nullptr) << std::hex << c.nID;
        // It passes for a sizeable dock bar wherever the docking code asks.
        EXPECT_EQ(pBar->GetRuntimeClass(), RUNTIME_CLASS(COXSizeDockBar));
        EXPECT_EQ(pBar->GetStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY), c.dwBarStyle);
        EXPECT_EQ(pBar->GetStyle() & kWindowStyle, kWindowStyle);
    }
    // Sides that have a dock bar get no second one.
    CControlBar* pTop = m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    const INT_PTR nBars = m_pFrame->m_listControlBars.GetCount();
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(m_pFrame->m_listControlBars.GetCount(), nBars);
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP), pTop);
    EXPECT_EQ(m_pFrame->m_pFloatingFrameClass, RUNTIME_CLASS(COXSizableMiniDockFrameWnd));
}

TEST_F(MenuBarFrameTest, TheMenuBarDocksOnTopFloatsAndDocksBackAsARowOrAColumnScreen) {
    COXMenuBar& bar = Bar();
    CControlBar* pTop = m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(bar.m_pDockBar, pTop);
    EXPECT_TRUE(bar.IsDockedByFrame());
    EXPECT_EQ(bar.m_dwDockStyle & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_ANY));
    CRect rectBar, rectTop;
    bar.GetWindowRect(&rectBar);
    pTop->GetWindowRect(&rectTop);
    EXPECT_GE(rectBar.Width(), rectTop.Width() - 4);
    Settle();
    SaveScreenPng(CRect(20, 20, 820, 580), "menubarframe_docked_top.png");

    m_pFrame->FloatControlBar(&bar, CPoint(300, 300), CBRS_ALIGN_TOP);
    Idle();
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_NE(dynamic_cast<COXSizableMiniDockFrameWnd*>(bar.GetParentFrame()), nullptr);

    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    Idle();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(bar.m_pDockBar, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    bar.GetWindowRect(&rectBar);
    EXPECT_GT(rectBar.Height(), rectBar.Width());
    CRect rectFirst, rectSecond;
    ASSERT_TRUE(bar.GetMenuItemRect(0, &rectFirst));
    ASSERT_TRUE(bar.GetMenuItemRect(1, &rectSecond));
    EXPECT_GE(rectSecond.top, rectFirst.bottom - 1); // the items run down the column
    Settle();
    SaveScreenPng(CRect(20, 20, 820, 580), "menubarframe_docked_left.png");

    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    Idle();
    EXPECT_EQ(bar.m_pDockBar, pTop);
    bar.GetWindowRect(&rectBar);
    EXPECT_GT(rectBar.Width(), rectBar.Height());
}

TEST_F(MenuBarFrameTest, CheckMenuBarLengthLaysOutAgainOnlyWhenTheBarLagsBehind) {
    COXMenuBar& bar = Bar();
    // A docked bar overlaps the frame's edges by the doubled border on each side.
    const int nOverlap = 2 * AfxGetAuxData().cxBorder2;
    auto expectSpansFrame = [&] {
        CRect rectBottom, rectBar;
        m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM)->GetWindowRect(&rectBottom);
        bar.GetWindowRect(&rectBar);
        EXPECT_EQ(rectBar.Width(), rectBottom.Width() + nOverlap);
    };
    expectSpansFrame();
    EXPECT_FALSE(m_pFrame->CheckMenuBarLength(TRUE));

    CRect rectBar;
    bar.GetWindowRect(&rectBar);
    bar.SetWindowPos(nullptr, 0, 0, rectBar.Width() - 60, rectBar.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(m_pFrame->CheckMenuBarLength(TRUE));
    expectSpansFrame();
    EXPECT_FALSE(m_pFrame->CheckMenuBarLength(TRUE));

    // The frame narrower: one layout leaves the bar as wide as the frame.
    ::SetWindowPos(m_hFrame, nullptr, 0, 0, 640, 560, SWP_NOMOVE | SWP_NOZORDER);
    m_pFrame->RecalcLayout();
    expectSpansFrame();

    // A floating bar is left alone.
    m_pFrame->FloatControlBar(&bar, CPoint(300, 300), CBRS_ALIGN_TOP);
    EXPECT_FALSE(m_pFrame->CheckMenuBarLength(TRUE));
}

TEST_F(MenuBarFrameTest, TheMenuBarKeepsARowOfItsOwnAmongOtherBars) {
    struct SCase {
        UINT nDockBarID;
        BOOL bBefore; // the other bar is dropped before the menu bar, else after it
    };
    const SCase kCases[] = {
        {AFX_IDW_DOCKBAR_TOP, TRUE},
        {AFX_IDW_DOCKBAR_TOP, FALSE},
        {AFX_IDW_DOCKBAR_LEFT, FALSE},
    };
    const UINT kButtons[] = {ID_TEST_NEW, ID_TEST_UNDO, ID_TEST_ABOUT};
    for (const SCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.nDockBarID << " before " << c.bBefore);
        COXMenuBar& bar = Bar();
        m_pFrame->DockControlBar(&bar, c.nDockBarID);
        m_pFrame->RecalcLayout();
        const COXDockAxis axis(c.nDockBarID == AFX_IDW_DOCKBAR_TOP);
        COXCoolToolBar other;
        ASSERT_TRUE(other.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                 AFX_IDW_CONTROLBAR_FIRST + 0x20));
        ASSERT_TRUE(other.SetButtons(kButtons, 3));
        other.EnableDocking(CBRS_ALIGN_ANY);
        // Dropped in the menu bar's row (column), at its start or at its end.
        CRect rectBar;
        bar.GetWindowRect(&rectBar);
        CRect rectDrop(rectBar.TopLeft(), CSize(60, 24));
        if (!c.bBefore)
            rectDrop.OffsetRect(axis.Point(axis.Length(rectBar) - 80, 0));
        m_pFrame->DockControlBar(&other, c.nDockBarID, &rectDrop);
        m_pFrame->RecalcLayout();
        Idle();

        auto* pDockBar = static_cast<CDockBar*>(m_pFrame->GetControlBar(c.nDockBarID));
        const int nBar = pDockBar->FindBar(&bar);
        ASSERT_GT(nBar, 0);
        EXPECT_EQ(pDockBar->m_arrBars[nBar - 1], nullptr);
        EXPECT_EQ(pDockBar->m_arrBars[nBar + 1], nullptr);
        CRect rectOther, rectDock;
        bar.GetWindowRect(&rectBar);
        other.GetWindowRect(&rectOther);
        pDockBar->GetWindowRect(&rectDock);
        // The rows do not overlap, and the menu bar spans the dock bar.
        if (c.bBefore)
            EXPECT_GE(axis.Across(rectBar.TopLeft()), axis.Across(rectOther.BottomRight()) - 4);
        else
            EXPECT_GE(axis.Across(rectOther.TopLeft()), axis.Across(rectBar.BottomRight()) - 4);
        EXPECT_GE(axis.Length(rectBar), axis.Length(rectDock));
        other.DestroyWindow();
        m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
    }
}

// ---- The MDI client filter.

CMDIChildWnd* NewChildOfClass(CMDIFrameWnd* pFrame, LPCSTR lpszIcon, const char* pszTitle,
                              DWORD dwStyle = 0) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                            ::LoadIconA(nullptr, lpszIcon));
    auto* pChild = new CMDIChildWnd;
    if (!pChild->Create(lpszClass, pszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | dwStyle,
                        CFrameWnd::rectDefault, pFrame))
        return nullptr;
    return pChild;
}

TEST_F(MenuBarFrameTest, CreatingActivatingAndDestroyingChildrenRefreshTheBar) {
    COXMenuBar& bar = Bar();
    // Only the messages waiting run here, no idle time: the bar learns of the
    // children from what the filter posts it.
    CMDIChildWnd* pFirst = NewChildOfClass(m_pFrame, IDI_WARNING, "First", WS_MAXIMIZE);
    ASSERT_NE(pFirst, nullptr);
    PumpPending();
    const HICON hFirstIcon = bar.GetIcon();
    EXPECT_NE(hFirstIcon, nullptr);
    EXPECT_FALSE(bar.GetCloseRect().IsRectEmpty());

    CMDIChildWnd* pSecond = NewChildOfClass(m_pFrame, IDI_QUESTION, "Second", WS_MAXIMIZE);
    ASSERT_NE(pSecond, nullptr);
    PumpPending();
    EXPECT_NE(bar.GetIcon(), nullptr);
    EXPECT_NE(bar.GetIcon(), hFirstIcon);

    m_pFrame->MDIActivate(pFirst);
    PumpPending();
    EXPECT_EQ(bar.GetIcon(), hFirstIcon);

    pSecond->MDIDestroy();
    pFirst->MDIDestroy();
    PumpPending();
    EXPECT_EQ(bar.GetIcon(), nullptr);
    EXPECT_TRUE(bar.GetCloseRect().IsRectEmpty());
}

// A component that subclasses the MDI client after the frame and keeps
// WM_NULL to itself: it passes everything else on.
WNDPROC g_pfnForeignNext = nullptr;
std::vector<UINT> g_foreignMessages;

LRESULT CALLBACK ForeignClientProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_foreignMessages.push_back(message);
    if (message == WM_NULL)
        return 0;
    return ::CallWindowProcA(g_pfnForeignNext, hWnd, message, wParam, lParam);
}

bool Saw(UINT message) {
    for (UINT m : g_foreignMessages) {
        if (m == message)
            return true;
    }
    return false;
}

TEST_F(MenuBarFrameTest, AForeignSubclassSwallowingWmNullIsTracedUndercutAndKeptInTheChain) {
    const HWND hClient = m_pFrame->m_hWndMDIClient;
    ASSERT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hClient, GWLP_WNDPROC)),
              MDIClientWndProc);
    const HMENU hMenu = Bar().GetMenuHandle();
    g_foreignMessages.clear();
    g_pfnForeignNext = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignClientProc)));
    // While the filter was away a menu got onto the window.
    CMenu stray;
    ASSERT_TRUE(stray.CreateMenu());
    stray.AppendMenu(MF_STRING, ID_TEST_ABOUT, "&Stray");
    ::SetMenu(m_hFrame, stray.m_hMenu);
    {
        CTraceCapture trace;
        m_pFrame->SendMessage(WM_IDLEUPDATECMDUI);
        EXPECT_TRUE(trace.Holds("COXMenuBarFrame: menubar has been removed out of the list of "
                                "objects that subclass MDIClient"));
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hClient, GWLP_WNDPROC)),
              MDIClientWndProc);
    EXPECT_EQ(m_pFrame->m_pfnOldMDIClientProc, &ForeignClientProc);
    EXPECT_EQ(Bar().GetMenuHandle(), hMenu);
    EXPECT_EQ(::GetMenu(m_hFrame), nullptr);

    // Messages pass the filter, the component and the client's own procedure
    // once each: a child is made, shown maximised on the bar, and the window
    // keeps no menu.
    {
        CTraceCapture trace;
        CMDIChildWnd* pChild = NewChildOfClass(m_pFrame, IDI_WARNING, "Child", WS_MAXIMIZE);
        ASSERT_NE(pChild, nullptr);
        PumpPending();
        EXPECT_TRUE(Saw(WM_PARENTNOTIFY));
        EXPECT_EQ(m_pFrame->MDIGetActive(), pChild);
        EXPECT_NE(Bar().GetIcon(), nullptr);
        EXPECT_EQ(::GetMenu(m_hFrame), nullptr);
        // The filter is in the chain again: the next check finds it.
        m_pFrame->SendMessage(WM_IDLEUPDATECMDUI);
        EXPECT_FALSE(trace.Holds("menubar has been removed"));
    }

    // The client's last messages still reach the component and, through the
    // filter, the client's own procedure, after the frame has left the map.
    g_foreignMessages.clear();
    m_pFrame->DestroyWindow();
    EXPECT_TRUE(Saw(WM_DESTROY));
    EXPECT_TRUE(Saw(WM_NCDESTROY));
}

// ---- The keyboard and the mouse, through the frame's hooks.

// Runs the steps from a thread timer, which keeps ticking inside the popups'
// own message loops; a script that stalls closes every menu and leaves surfing.
bool RunScript(COXMenuBar& bar, std::vector<CUiScript::Step> steps) {
    CUiScript script(
        [&bar] {
            ::EndMenu();
            bar.SetSurfingMode(FALSE, -1);
        },
        std::move(steps));
    PumpUntil([&script] { return script.Finished() || script.Stalled(); });
    return script.Finished() && !script.Stalled();
}

// A step that lets nMilliseconds pass (the popup paints and reaches the screen).
CUiScript::Step WaitStep(DWORD nMilliseconds) {
    auto pdwStart = std::make_shared<DWORD>(0);
    return [pdwStart, nMilliseconds] {
        if (*pdwStart == 0)
            *pdwStart = ::GetTickCount();
        return ::GetTickCount() - *pdwStart >= nMilliseconds;
    };
}

int HotItem(COXMenuBar& bar) {
    return static_cast<int>(bar.SendMessage(TB_GETHOTITEM));
}

TEST_F(MenuBarFrameTest, AltAloneSelectsTheBarArrowsMoveAndEscReturnsInput) {
    Activate();
    COXMenuBar& bar = Bar();
    const HWND hFocusBefore = ::GetFocus();
    TapKey(VK_MENU);
    EXPECT_TRUE(bar.IsInSurfingMode());
    EXPECT_EQ(::GetFocus(), bar.m_hWnd);
    EXPECT_EQ(HotItem(bar), 0);
    TapKey(VK_RIGHT);
    EXPECT_EQ(HotItem(bar), 1);
    TapKey(VK_RIGHT);
    TapKey(VK_LEFT);
    EXPECT_EQ(HotItem(bar), 1);
    EXPECT_FALSE(bar.IsPopupOpen());
    TapKey(VK_ESCAPE);
    EXPECT_FALSE(bar.IsInSurfingMode());
    EXPECT_EQ(::GetFocus(), hFocusBefore);
    // Alt again and again: on and off.
    TapKey(VK_MENU);
    EXPECT_TRUE(bar.IsInSurfingMode());
    TapKey(VK_MENU);
    EXPECT_FALSE(bar.IsInSurfingMode());
}

TEST_F(MenuBarFrameTest, AltAndALetterOpenThatPopupAndEscInItReturnsToTheBarInput) {
    Activate();
    COXMenuBar& bar = Bar();
    int nOpenSeen = -1;
    const bool bDone =
        RunScript(bar, {[] {
                            SendKey(VK_MENU, false);
                            SendKey('E', false);
                            SendKey('E', true);
                            SendKey(VK_MENU, true);
                            return true;
                        },
                        [&] {
                            if (!bar.IsPopupOpen() || OpenPopupWindows().empty())
                                return false;
                            nOpenSeen = bar.GetOpenItem();
                            return true;
                        },
                        WaitStep(400),
                        [] {
                            SaveScreenPng(CRect(20, 20, 820, 580), "menubarframe_popup.png");
                            return true;
                        },
                        [] {
                            SendKeyTap(VK_ESCAPE);
                            return true;
                        },
                        [&] { return !bar.IsPopupOpen(); }});
    EXPECT_TRUE(bDone);
    EXPECT_EQ(nOpenSeen, 1);
    Pump(200);
    // Back on the bar, surfing on the item that was open.
    EXPECT_TRUE(bar.IsInSurfingMode());
    EXPECT_EQ(HotItem(bar), 1);
    TapKey(VK_ESCAPE);
    EXPECT_FALSE(bar.IsInSurfingMode());
}

TEST_F(MenuBarFrameTest, EscInASubmenuClosesOnlyTheSubmenuInput) {
    Activate();
    COXMenuBar& bar = Bar();
    INT_PTR nOpenInSubmenu = 0, nOpenAfterEsc = 0;
    const bool bDone =
        RunScript(bar, {[] {
                            SendKey(VK_MENU, false);
                            SendKey('E', false);
                            SendKey('E', true);
                            SendKey(VK_MENU, true);
                            return true;
                        },
                        [&] { return bar.IsPopupOpen() && !OpenPopupWindows().empty(); },
                        [] {
                            SendKeyTap('O'); // the Options submenu by its mnemonic
                            return true;
                        },
                        [&] {
                            nOpenInSubmenu = m_pFrame->m_arrOpenPopups.GetSize();
                            return OpenPopupWindows().size() == 2;
                        },
                        [] {
                            SendKeyTap(VK_ESCAPE);
                            return true;
                        },
                        [&] {
                            if (OpenPopupWindows().size() != 1)
                                return false;
                            nOpenAfterEsc = m_pFrame->m_arrOpenPopups.GetSize();
                            return bar.IsPopupOpen() != FALSE;
                        },
                        [] {
                            SendKeyTap(VK_ESCAPE);
                            return true;
                        },
                        [&] { return !bar.IsPopupOpen(); }});
    EXPECT_TRUE(bDone);
    EXPECT_EQ(nOpenInSubmenu, 2);
    EXPECT_EQ(nOpenAfterEsc, 1);
    Pump(200);
    EXPECT_TRUE(bar.IsInSurfingMode());
    TapKey(VK_ESCAPE);
}

TEST_F(MenuBarFrameTest, HoveringOverAnotherItemWhileAPopupIsOpenSwitchesPopupsInput) {
    Activate();
    COXMenuBar& bar = Bar();
    const CPoint ptFile = ItemCentre(0), ptWindow = ItemCentre(2);
    int nPopupsAtFile = 0, nPopupsAfterStill = 0, nOpenAfterHover = -1, nHotAfterHover = -1;
    DWORD dwStill = 0;
    const bool bDone =
        RunScript(bar, {[&] {
                            ClickAsync(ptFile);
                            return true;
                        },
                        [&] {
                            if (bar.GetOpenItem() != 0 || OpenPopupWindows().empty())
                                return false;
                            nPopupsAtFile = m_pFrame->m_nPopupsOpened;
                            // Within the same item nothing changes.
                            SendMouseMove(ptFile + CPoint(3, 1));
                            return true;
                        },
                        [&] {
                            dwStill = ::GetTickCount();
                            return true;
                        },
                        [&] {
                            if (::GetTickCount() - dwStill < 200)
                                return false;
                            nPopupsAfterStill = m_pFrame->m_nPopupsOpened;
                            SendMouseMove(ptWindow);
                            return true;
                        },
                        [&] {
                            if (bar.GetOpenItem() != 2 || OpenPopupWindows().empty())
                                return false;
                            nOpenAfterHover = bar.GetOpenItem();
                            nHotAfterHover = static_cast<int>(bar.SendMessage(TB_GETHOTITEM));
                            return true;
                        },
                        WaitStep(400),
                        [] {
                            SaveScreenPng(CRect(20, 20, 820, 580), "menubarframe_hover.png");
                            ::EndMenu();
                            return true;
                        },
                        [&] { return !bar.IsPopupOpen(); }});
    EXPECT_TRUE(bDone);
    EXPECT_EQ(nPopupsAfterStill, nPopupsAtFile);
    EXPECT_EQ(nOpenAfterHover, 2);
    EXPECT_EQ(nHotAfterHover, 2); // the item left behind is not lit any more
}

TEST_F(MenuBarFrameTest, AMaximisedChildShowsItsIconAndButtonsAndTheCloseButtonClosesItInput) {
    Activate();
    COXMenuBar& bar = Bar();
    CMDIChildWnd* pChild = NewChildOfClass(m_pFrame, IDI_WARNING, "Call 1");
    ASSERT_NE(pChild, nullptr);
    const HWND hChild = pChild->m_hWnd;
    pChild->MDIMaximize();
    Pump(200);
    ASSERT_NE(bar.GetIcon(), nullptr);
    const CRect rectClose = bar.GetCloseRect();
    ASSERT_FALSE(rectClose.IsRectEmpty());
    EXPECT_FALSE(bar.GetRestoreRect().IsRectEmpty());
    EXPECT_FALSE(bar.GetMinimizeRect().IsRectEmpty());
    EXPECT_EQ(bar.HitTest(rectClose.CenterPoint(), OX_MENUBAR_HT_WINDOW), OX_MENUBAR_CLOSE);
    Settle();
    SaveScreenPng(CRect(20, 20, 820, 580), "menubarframe_mdichild.png");

    CRect rectWindow;
    bar.GetWindowRect(&rectWindow);
    Click(rectClose.CenterPoint() + rectWindow.TopLeft());
    Pump(300);
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_EQ(bar.GetIcon(), nullptr);
}

// ---- The docking layer with cool toolbars and the menu bar.

TEST_F(MenuBarFrameTest, SizeableBarsAndCoolToolbarsKeepToDockBarsOfTheirOwn) {
    COXMenuBar& bar = Bar();
    COXSizeControlBar panel;
    ASSERT_TRUE(panel.Create(m_pFrame, "Panel", AFX_IDW_CONTROLBAR_FIRST + 0x30,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 200, 300)));
    panel.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(&panel, AFX_IDW_DOCKBAR_LEFT);
    COXCoolToolBar toolbar;
    const UINT kButtons[] = {ID_TEST_NEW, ID_TEST_UNDO};
    ASSERT_TRUE(toolbar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                               AFX_IDW_CONTROLBAR_FIRST + 0x31));
    ASSERT_TRUE(toolbar.SetButtons(kButtons, 2));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->FloatControlBar(&toolbar, CPoint(400, 400), CBRS_ALIGN_TOP);
    m_pFrame->RecalcLayout();

    auto* pTop = static_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    auto* pLeft = static_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(pTop->FindOtherCoolToolBar(nullptr), &bar);
    EXPECT_EQ(pTop->FindOtherCoolToolBar(&bar), nullptr);
    EXPECT_EQ(pLeft->FindOtherCoolToolBar(nullptr), nullptr);

    CRect rectTop, rectLeft;
    pTop->GetWindowRect(&rectTop);
    pLeft->GetWindowRect(&rectLeft);
    const CPoint ptTop = rectTop.CenterPoint(), ptLeft = rectLeft.CenterPoint();
    struct SCase {
        CControlBar* pBar;
        CPoint pt;
        CDockBar* pExpected;
    };
    const SCase kCases[] = {
        {&panel, ptTop, nullptr},    // the menu bar's dock bar refuses a sizeable bar
        {&panel, ptLeft, pLeft},     // its own
        {&toolbar, ptLeft, nullptr}, // a sizeable bar's dock bar refuses a cool toolbar
        {&toolbar, ptTop, pTop},     // beside the menu bar
    };
    for (const SCase& c : kCases)
        EXPECT_EQ(COXSizeDockBar::FindDockBarAt(c.pt, c.pBar), c.pExpected)
            << c.pBar->GetDlgCtrlID() << " at " << c.pt.x << "," << c.pt.y;
    toolbar.DestroyWindow();
    panel.DestroyWindow();
}

TEST_F(MenuBarFrameTest, ABarDroppedIntoTheMenuBarsRowLandsInTheRowBelow) {
    COXMenuBar& bar = Bar();
    auto* pTop = static_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    COXCoolToolBar toolbar;
    const UINT kButtons[] = {ID_TEST_NEW, ID_TEST_UNDO};
    ASSERT_TRUE(toolbar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                               AFX_IDW_CONTROLBAR_FIRST + 0x31));
    ASSERT_TRUE(toolbar.SetButtons(kButtons, 2));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->FloatControlBar(&toolbar, CPoint(400, 400), CBRS_ALIGN_TOP);

    CRect rectBar;
    bar.GetWindowRect(&rectBar);
    pTop->ScreenToClient(&rectBar);
    // Within the menu bar's row the point steps below it; below it stays.
    EXPECT_EQ(pTop->FindInsertPoint(&toolbar, 100, rectBar.top + 3),
              CPoint(100, rectBar.bottom + 2));
    EXPECT_EQ(pTop->FindInsertPoint(&toolbar, 100, rectBar.bottom + 10),
              CPoint(100, rectBar.bottom + 10));

    CRect rectDrop;
    bar.GetWindowRect(&rectDrop);
    rectDrop.right = rectDrop.left + 60;
    rectDrop.OffsetRect(200, 0);
    pTop->DockBarAtRect(&toolbar, &rectDrop);
    m_pFrame->RecalcLayout();
    Idle();
    CRect rectToolbar;
    bar.GetWindowRect(&rectBar);
    toolbar.GetWindowRect(&rectToolbar);
    EXPECT_EQ(toolbar.m_pDockBar, pTop);
    EXPECT_GE(rectToolbar.top, rectBar.bottom - 2 * AfxGetAuxData().cyBorder2);
    const int nBar = pTop->FindBar(&bar);
    EXPECT_EQ(pTop->m_arrBars[nBar + 1], nullptr);
    // The menu bar, moving, steps past the toolbar's row too.
    pTop->ScreenToClient(&rectToolbar);
    EXPECT_EQ(pTop->FindInsertPoint(&bar, 100, rectToolbar.top + 3),
              CPoint(100, rectToolbar.bottom + 2));
    toolbar.DestroyWindow();
}

TEST_F(MenuBarFrameTest, TheCaptionOfAFloatingCoolToolbarStartsItsOwnDrag) {
    m_pFrame->SetTabbedDocking(TRUE);
    COXCoolToolBar toolbar;
    const UINT kButtons[] = {ID_TEST_NEW, ID_TEST_UNDO};
    ASSERT_TRUE(toolbar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                               AFX_IDW_CONTROLBAR_FIRST + 0x31));
    ASSERT_TRUE(toolbar.SetButtons(kButtons, 2));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->FloatControlBar(&toolbar, CPoint(400, 400), CBRS_ALIGN_TOP);
    m_pFrame->RecalcLayout();
    auto* pMiniFrame = dynamic_cast<COXSizableMiniDockFrameWnd*>(toolbar.GetParentFrame());
    ASSERT_NE(pMiniFrame, nullptr);

    CRect rectFrame, rectToolbar;
    pMiniFrame->GetWindowRect(&rectFrame);
    toolbar.GetWindowRect(&rectToolbar);
    const CPoint ptCaption(rectFrame.left + 10, rectFrame.top + 4);
    pMiniFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    EXPECT_TRUE(toolbar.IsDragging());
    EXPECT_EQ(::GetCapture(), toolbar.m_hWnd);
    ::ReleaseCapture();
    toolbar.DestroyWindow();
}

TEST_F(MenuBarFrameTest, AltRepeatsDoNothingMoreAndAltF4StillClosesTheFrameInput) {
    Activate();
    COXMenuBar& bar = Bar();
    // What the keyboard hook hands the frame: a first press, repeats, the release.
    const LPARAM kPress = 0x20380001, kRepeat = 0x60380001,
                 kRelease = static_cast<LPARAM>(0xE0380001);
    EXPECT_EQ(m_pFrame->HandleKeyboardHook(HC_ACTION, VK_MENU, kPress), 1);
    EXPECT_EQ(m_pFrame->HandleKeyboardHook(HC_ACTION, VK_MENU, kRepeat), 0);
    EXPECT_EQ(m_pFrame->HandleKeyboardHook(HC_ACTION, VK_MENU, kRepeat), 0);
    EXPECT_FALSE(bar.IsInSurfingMode());
    EXPECT_EQ(m_pFrame->HandleKeyboardHook(HC_ACTION, VK_MENU, kRelease), 1);
    EXPECT_TRUE(bar.IsInSurfingMode());
    // A release without its press, and anything but the action code, is left alone.
    EXPECT_EQ(m_pFrame->HandleKeyboardHook(HC_ACTION, VK_MENU, kRelease), 0);
    EXPECT_EQ(m_pFrame->HandleKeyboardHook(HC_NOREMOVE, VK_MENU, kPress), 0);
    TapKey(VK_ESCAPE);
    EXPECT_FALSE(bar.IsInSurfingMode());

    SendKey(VK_MENU, false);
    SendKey(VK_F4, false);
    SendKey(VK_F4, true);
    SendKey(VK_MENU, true);
    Pump(400);
    EXPECT_FALSE(::IsWindow(m_hFrame));
    TakeQuitMessage();
}

TEST_F(MenuBarFrameTest, ACoolToolbarsTabPulledOutStartsItsOwnDrag) {
    COXCoolToolBar toolbar;
    const UINT kButtons[] = {ID_TEST_NEW, ID_TEST_UNDO};
    ASSERT_TRUE(toolbar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP,
                               AFX_IDW_CONTROLBAR_FIRST + 0x31));
    ASSERT_TRUE(toolbar.SetButtons(kButtons, 2));
    toolbar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(&toolbar, AFX_IDW_DOCKBAR_BOTTOM);
    m_pFrame->RecalcLayout();
    auto* pBottom = static_cast<COXSizeDockBar*>(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    COXDockTabCtrl& tabs = pBottom->m_wndTabs;
    TCITEM item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    char szText[] = "Toolbar";
    item.pszText = szText;
    item.lParam = reinterpret_cast<LPARAM>(&toolbar);
    ASSERT_EQ(tabs.InsertItem(0, &item), 0);
    pBottom->PositionTabCtrl();
    CRect rectTab;
    ASSERT_TRUE(tabs.GetItemRect(0, &rectTab));

    // A press on the tab, then a move of more than 3 pixels with the button down.
    tabs.m_ptPress = rectTab.CenterPoint();
    const CPoint ptMove = rectTab.CenterPoint() + CPoint(4, 0);
    tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptMove.x, ptMove.y));
    EXPECT_TRUE(toolbar.IsDragging());
    EXPECT_EQ(::GetCapture(), toolbar.m_hWnd);
    ::ReleaseCapture();
    tabs.DeleteAllItems();
    toolbar.DestroyWindow();
}
