// Tests of dragging bars: CDockContext's drag loop (dock on each side, float,
// Ctrl and Shift, the ways it is cancelled, WM_QUIT, another window's
// capture), its resize of a floating frame, ToggleDocking, CFrameWnd::CanDock,
// and the mouse handling of bars and floating frames that starts them. The
// loop reads posted mouse and key messages; one test drives it by real input.
#include "ControlBar.h"
#include "DockBar.h"
#include "DockContext.h"
#include "FrameWnd.h"
#include "MiniFrameWnd.h"

#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"
#include "tests/support/WindowRects.h"

#include "native/gtest.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const CSize kHorz(120, 30);
const CSize kVert(30, 120);
const UINT kFirstBarID = AFX_IDW_CONTROLBAR_FIRST + 0x40;

// A bar of one size along the top and bottom and another on the sides; with
// CBRS_SIZE_DYNAMIC it floats at a size that snaps to tens of pixels.
class CDragBar : public CControlBar {
public:
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? kHorz : kVert; }
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override {
        if (nMode & (LM_HORZDOCK | LM_VERTDOCK))
            return CalcFixedLayout(FALSE, (nMode & LM_HORZDOCK) != 0);
        if ((m_dwStyle & CBRS_SIZE_DYNAMIC) == 0)
            return CalcFixedLayout(FALSE, (nMode & LM_HORZ) != 0);
        if (nMode & LM_MRUWIDTH)
            return m_sizeFloat;
        CSize size = m_sizeFloat;
        int nSnapped = std::max(40, nLength / 10 * 10);
        if (nMode & LM_LENGTHY)
            size.cy = nSnapped;
        else
            size.cx = nSnapped;
        if (nMode & LM_COMMIT) {
            m_sizeFloat = size;
            ++m_nCommits;
        }
        return size;
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    CSize m_sizeFloat = CSize(100, 60);
    int m_nCommits = 0;
};

CPoint Mid(CPoint a, CPoint b) {
    return CPoint((a.x + b.x) / 2, (a.y + b.y) / 2);
}

// What a probe window does when its message reaches it inside the loop.
const UINT kProbeRecord = WM_APP;          // notes the capture and the desktop lock
const UINT kProbeTakeCapture = WM_APP + 1; // takes the mouse capture
const UINT kProbeDestroy = WM_APP + 2;     // destroys the window wParam
const UINT kProbeShoot = WM_APP + 3;       // copies the screen and the drawn frame

// What a probe window saw when kProbeRecord reached it.
struct SProbe {
    bool bSeen = false;
    bool bDesktopFree = false; // another window could lock the screen
    HWND hCapture = nullptr;
};
SProbe g_probe;

// The screen's pixels of rect now, read through a context that may draw
// while the desktop is locked.
std::unique_ptr<CCanvas> Shoot(const CRect& rect) {
    auto pCanvas = std::make_unique<CCanvas>(rect.Width(), rect.Height());
    HWND hDesktop = ::GetDesktopWindow();
    HDC hScreen = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    ::BitBlt(pCanvas->dc, 0, 0, rect.Width(), rect.Height(), hScreen, rect.left, rect.top, SRCCOPY);
    ::ReleaseDC(hDesktop, hScreen);
    return pCanvas;
}

// The screen and the frame the drag had drawn when kProbeShoot came.
struct SShot {
    std::unique_ptr<CCanvas> pCanvas;
    CRect rect;
    CSize size;
    BOOL bDither;
};
CDockContext* g_pShotContext = nullptr;
CRect g_rectShot;
std::vector<SShot> g_shots;

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == kProbeRecord) {
        g_probe.bSeen = true;
        g_probe.hCapture = ::GetCapture();
        g_probe.bDesktopFree = ::LockWindowUpdate(hWnd) != FALSE;
        if (g_probe.bDesktopFree)
            ::LockWindowUpdate(nullptr);
        return 0;
    }
    if (nMsg == kProbeShoot) {
        g_shots.push_back({Shoot(g_rectShot), g_pShotContext->m_rectLast,
                           g_pShotContext->m_sizeLast, g_pShotContext->m_bDitherLast});
        return 0;
    }
    if (nMsg == kProbeDestroy) {
        ::DestroyWindow(reinterpret_cast<HWND>(wParam)); // the dragged bar goes
        return 0;
    }
    if (nMsg == kProbeTakeCapture) {
        ::SetCapture(hWnd); // someone else takes the mouse in the middle of the drag
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

// A hidden window whose procedure is ProbeProc.
HWND MakeProbe() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "DragProbe";
    ::RegisterClassA(&wc);
    return ::CreateWindowA("DragProbe", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

class DockContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Drag", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(20, 20, 660, 500)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1),
                                  m_pFrame, AFX_IDW_PANE_FIRST));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_pA = MakeBar();
        m_pFrame->DockControlBar(m_pA, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        ::UpdateWindow(m_hFrame);
        m_rectClient = ClientOnScreen();
        PumpPending();
    }
    void TearDown() override {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        for (CDragBar* pBar : m_bars)
            delete pBar;
        while (TakeQuitMessage() != -1) {
        }
        PumpPending();
    }

    CDragBar* MakeBar(DWORD dwStyle = 0, DWORD dwDockStyle = CBRS_ALIGN_ANY) {
        CDragBar* pBar = new CDragBar;
        UINT nID = kFirstBarID + static_cast<UINT>(m_bars.size());
        m_bars.push_back(pBar);
        EXPECT_TRUE(pBar->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | dwStyle,
                                 CRect(0, 0, 1, 1), m_pFrame, nID));
        pBar->EnableDocking(dwDockStyle);
        return pBar;
    }
    CDockBar* DockBar(UINT nID) { return dynamic_cast<CDockBar*>(m_pFrame->GetControlBar(nID)); }
    CRect ClientOnScreen() {
        CRect rect;
        m_pFrame->GetClientRect(&rect);
        m_pFrame->ClientToScreen(&rect);
        return rect;
    }
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
                if (pEntry == m_bars[i])
                    text += static_cast<char>('A' + i);
                else if (reinterpret_cast<UINT_PTR>(pEntry) == kFirstBarID + i)
                    text += std::string("#") + static_cast<char>('A' + i);
            }
        }
        return text;
    }
    // A screen point at (x, y) inside the bar's window.
    CPoint OnBar(CControlBar* pBar, int x, int y) {
        return ScreenRect(pBar).TopLeft() + CSize(x, y);
    }
    void PostTo(CControlBar* pBar, UINT nMsg, WPARAM wParam, CPoint ptScreen) {
        CPoint pt = ptScreen;
        ::ScreenToClient(pBar->m_hWnd, &pt);
        ::PostMessage(pBar->m_hWnd, nMsg, wParam, MAKELPARAM(pt.x, pt.y));
    }
    void PostKey(CControlBar* pBar, UINT nMsg, WPARAM nKey) {
        ::PostMessage(pBar->m_hWnd, nMsg, nKey, 0);
    }
    // Drags pBar from ptFrom to ptTo (screen) and releases it there.
    void Drag(CControlBar* pBar, CPoint ptFrom, CPoint ptTo) {
        ::SetCursorPos(ptFrom.x, ptFrom.y);
        PumpPending();
        PostTo(pBar, WM_MOUSEMOVE, MK_LBUTTON, Mid(ptFrom, ptTo));
        PostTo(pBar, WM_MOUSEMOVE, MK_LBUTTON, ptTo);
        PostTo(pBar, WM_LBUTTONUP, 0, ptTo);
        pBar->m_pDockContext->StartDrag(ptFrom);
    }
    CFrameWnd* FloatingFrameOf(CControlBar* pBar) {
        return pBar->IsFloating() ? pBar->GetDockingFrame() : nullptr;
    }
    bool DesktopUnlocked() {
        if (!::LockWindowUpdate(m_hFrame))
            return false;
        ::LockWindowUpdate(nullptr);
        return true;
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    CDragBar* m_pA = nullptr; // docked on the top, alone
    CRect m_rectClient;       // the frame's client area on the screen
    const int B2X = AfxGetAuxData().cxBorder2;
    const int B2Y = AfxGetAuxData().cyBorder2;
    std::vector<CDragBar*> m_bars; // owned; their windows go with the frame
};

// ---- The drag.

struct SDockCase {
    const char* name;
    UINT nDockBarID;
    DWORD dwAlign;
    int nToX, nToY; // where the mouse lets go, relative to the client area (negative: from its
                    // right or bottom)
};

const SDockCase kDockCases[] = {
    {"left", AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT, 8, 200},
    {"right", AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT, -5, 200},
    {"bottom", AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM, 200, -5},
};

TEST_F(DockContextTest, InputDragDocksOnTheSideUnderTheBarAtItsPlace) {
    for (const SDockCase& c : kDockCases) {
        SCOPED_TRACE(c.name);
        // Docked on the top again, alone, for every case.
        m_pFrame->DockControlBar(m_pA, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        const CPoint ptFrom = OnBar(m_pA, 10, 10);
        const CPoint ptTo((c.nToX >= 0 ? m_rectClient.left : m_rectClient.right) + c.nToX,
                          (c.nToY >= 0 ? m_rectClient.top : m_rectClient.bottom) + c.nToY);
        CDockBar* pTarget = DockBar(c.nDockBarID);
        // Where the dock bar stands while the top still holds the bar.
        const CPoint ptTargetAtDrop = ScreenRect(pTarget).TopLeft();

        Drag(m_pA, ptFrom, ptTo);
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_TRUE(DesktopUnlocked());
        EXPECT_EQ(m_pA->m_pDockBar, pTarget);
        EXPECT_EQ(m_pA->GetBarStyle() & CBRS_ALIGN_ANY, c.dwAlign);
        EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|");
        EXPECT_EQ(ArrayOf(c.nDockBarID), "|A|");
        // The bar lies where its drag rectangle was: the point under the
        // mouse stays 10 pixels into it along the side.
        const CRect rect = ChildRect(m_pA);
        const bool bHorz = (c.dwAlign & CBRS_ORIENT_HORZ) != 0;
        EXPECT_EQ(rect.Size(), bHorz ? kHorz : kVert);
        if (bHorz)
            EXPECT_EQ(rect.TopLeft(), CPoint(ptTo.x - 10 - ptTargetAtDrop.x, -B2Y));
        else
            EXPECT_EQ(rect.TopLeft(), CPoint(-B2X, ptTo.y - 10 - ptTargetAtDrop.y));
    }
}

TEST_F(DockContextTest, InputDragAlongItsOwnSideMovesTheBarThere) {
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    Drag(m_pA, ptFrom, ptFrom + CSize(60, 3));
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|A|");
    EXPECT_EQ(ChildRect(m_pA), CRect(CPoint(60 - B2X, -B2Y), kHorz));
}

TEST_F(DockContextTest, InputDragOverThePaneFloatsTheBarWhereItsFrameWasDrawn) {
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    const CPoint ptBar = OnBar(m_pA, 0, 0);
    const CPoint ptTo = m_rectClient.CenterPoint();
    Drag(m_pA, ptFrom, ptTo);

    CFrameWnd* pFloating = FloatingFrameOf(m_pA);
    ASSERT_NE(pFloating, nullptr);
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|#A|");
    EXPECT_EQ(m_pA->GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_TOP));
    // The frame's top-left moved with the mouse from the bar's top-left.
    const CPoint ptExpected = ptBar + (ptTo - ptFrom);
    EXPECT_EQ(ScreenRect(pFloating).TopLeft(), ptExpected);
    EXPECT_EQ(m_pA->m_pDockContext->m_ptMRUFloatPos, ptExpected);
    EXPECT_EQ(m_pA->m_pDockContext->m_dwMRUFloatStyle, static_cast<DWORD>(CBRS_ALIGN_TOP));
    CRect rectClient;
    pFloating->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.Size(), kHorz - CSize(2 * B2X, 2 * B2Y));

    // Dragged by its client area, the floating bar docks again on the left.
    const CPoint ptFloatFrom = OnBar(m_pA, 10, 10);
    const HWND hFloating = pFloating->m_hWnd;
    Drag(m_pA, ptFloatFrom, CPoint(m_rectClient.left + 8, m_rectClient.top + 150));
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(::IsWindow(hFloating));
    EXPECT_EQ(DockBar(AFX_IDW_DOCKBAR_TOP)->GetDockedCount(), 0);
}

TEST_F(DockContextTest, InputCtrlForcesFloatingAndShiftFlipsTheFloatingFrame) {
    struct Case {
        const char* name;
        std::vector<std::pair<UINT, WPARAM>> keys; // posted before the moves
        bool bLeftSide;                            // else the middle of the pane
        bool bExpectFloating;
        DWORD dwExpectedAlign;
    };
    const Case cases[] = {
        {"Ctrl held over a side", {{WM_KEYDOWN, VK_CONTROL}}, true, true, CBRS_ALIGN_TOP},
        {"Ctrl let go again",
         {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYUP, VK_CONTROL}},
         true,
         false,
         CBRS_ALIGN_LEFT},
        {"Shift over the pane", {{WM_KEYDOWN, VK_SHIFT}}, false, true, CBRS_ALIGN_LEFT},
        {"Shift let go",
         {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYUP, VK_SHIFT}},
         false,
         true,
         CBRS_ALIGN_TOP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pFrame->DockControlBar(m_pA, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        const CPoint ptFrom = OnBar(m_pA, 10, 10);
        const CPoint ptBar = OnBar(m_pA, 0, 0);
        const CPoint ptTo = c.bLeftSide ? CPoint(m_rectClient.left + 8, m_rectClient.top + 200)
                                        : m_rectClient.CenterPoint();
        ::SetCursorPos(ptFrom.x, ptFrom.y);
        PumpPending();
        for (const auto& key : c.keys)
            PostKey(m_pA, key.first, key.second);
        PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, ptTo);
        PostTo(m_pA, WM_LBUTTONUP, 0, ptTo);
        m_pA->m_pDockContext->StartDrag(ptFrom);

        EXPECT_EQ(m_pA->IsFloating() != FALSE, c.bExpectFloating);
        EXPECT_EQ(m_pA->GetBarStyle() & CBRS_ALIGN_ANY, c.dwExpectedAlign);
        if (c.bExpectFloating) {
            // Both floating rectangles start at the bar and hold the mouse.
            EXPECT_EQ(ScreenRect(FloatingFrameOf(m_pA)).TopLeft(), ptBar + (ptTo - ptFrom));
            CRect rectClient;
            FloatingFrameOf(m_pA)->GetClientRect(&rectClient);
            const CSize sizeBar = c.dwExpectedAlign == CBRS_ALIGN_TOP ? kHorz : kVert;
            EXPECT_EQ(rectClient.Size(), sizeBar - CSize(2 * B2X, 2 * B2Y));
        }
    }
}

TEST_F(DockContextTest, InputClickWithoutMovingOrBackAtTheStartChangesNothing) {
    // Placed a little along the row, so that docking again would move it.
    CRect rectAt(OnBar(m_pA, 40, 0), kHorz);
    m_pFrame->DockControlBar(m_pA, AFX_IDW_DOCKBAR_TOP, &rectAt);
    m_pFrame->RecalcLayout();
    const CRect rectBefore = ChildRect(m_pA);
    const CPoint ptFrom = OnBar(m_pA, 10, 10);

    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PostTo(m_pA, WM_LBUTTONUP, 0, ptFrom);
    m_pA->m_pDockContext->StartDrag(ptFrom);
    EXPECT_EQ(ChildRect(m_pA), rectBefore);

    Drag(m_pA, ptFrom, ptFrom); // out to the middle and back
    EXPECT_EQ(ChildRect(m_pA), rectBefore);
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(DesktopUnlocked());
}

TEST_F(DockContextTest, InputEscapeOrRightButtonCancelsAndLeavesTheBar) {
    struct Case {
        const char* name;
        UINT nMsg;
        WPARAM wParam;
    };
    const Case cases[] = {{"escape", WM_KEYDOWN, VK_ESCAPE}, {"right button", WM_RBUTTONDOWN, 0}};
    const CRect rectBefore = ChildRect(m_pA);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CPoint ptFrom = OnBar(m_pA, 10, 10);
        const CPoint ptTo(m_rectClient.left + 8, m_rectClient.top + 200);
        ::SetCursorPos(ptFrom.x, ptFrom.y);
        PumpPending();
        PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, ptTo);
        PostTo(m_pA, c.nMsg, c.wParam, ptTo);
        PostTo(m_pA, WM_LBUTTONUP, 0, ptTo); // after the cancel: not the drag's
        m_pA->m_pDockContext->StartDrag(ptFrom);

        EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
        EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|A|");
        EXPECT_EQ(ChildRect(m_pA), rectBefore);
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_TRUE(DesktopUnlocked());
        EXPECT_EQ(m_pA->m_pDockContext->m_pDC, nullptr);
        MSG msg;
        EXPECT_TRUE(::PeekMessage(&msg, m_pA->m_hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
        // The bar is where it was with no frame left on the screen: it can be
        // dragged again.
        PumpPending();
    }
    Drag(m_pA, OnBar(m_pA, 10, 10), CPoint(m_rectClient.left + 8, m_rectClient.top + 200));
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));
}

TEST_F(DockContextTest, InputLoopHoldsTheDesktopOnlyWhileItRunsAndPassesOtherMessagesOn) {
    HWND hProbe = MakeProbe();
    ASSERT_NE(hProbe, nullptr);
    g_probe = SProbe();

    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, m_rectClient.CenterPoint());
    ::PostMessage(hProbe, kProbeRecord, 0, 0);
    PostTo(m_pA, WM_KEYDOWN, VK_ESCAPE, m_rectClient.CenterPoint());
    m_pA->m_pDockContext->StartDrag(ptFrom);

    EXPECT_TRUE(g_probe.bSeen);
    EXPECT_EQ(g_probe.hCapture, m_pA->m_hWnd);
    EXPECT_FALSE(g_probe.bDesktopFree) << "the desktop is locked during the drag";
    EXPECT_TRUE(DesktopUnlocked());
    ::DestroyWindow(hProbe);
}

TEST_F(DockContextTest, InputLosingTheCaptureCancelsTheDrag) {
    HWND hProbe = MakeProbe();
    ASSERT_NE(hProbe, nullptr);
    const CRect rectBefore = ChildRect(m_pA);
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    const CPoint ptTo(m_rectClient.left + 8, m_rectClient.top + 200);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, ptTo);
    ::PostMessage(hProbe, kProbeTakeCapture, 0, 0);
    PostTo(m_pA, WM_LBUTTONUP, 0, ptTo);
    m_pA->m_pDockContext->StartDrag(ptFrom);

    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(ChildRect(m_pA), rectBefore);
    EXPECT_EQ(::GetCapture(), hProbe);
    EXPECT_EQ(m_pA->m_pDockContext->m_pDC, nullptr);
    EXPECT_TRUE(DesktopUnlocked());
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, m_pA->m_hWnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE));
    ::ReleaseCapture();
    ::DestroyWindow(hProbe);
}

TEST_F(DockContextTest, InputABarDestroyedDuringItsDragGivesTheDesktopBack) {
    HWND hProbe = MakeProbe();
    ASSERT_NE(hProbe, nullptr);
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, m_rectClient.CenterPoint());
    ::PostMessage(hProbe, kProbeDestroy, reinterpret_cast<WPARAM>(m_pA->m_hWnd), 0);
    m_pA->m_pDockContext->StartDrag(ptFrom);

    EXPECT_EQ(m_pA->m_hWnd, nullptr);
    EXPECT_EQ(m_pA->m_pDockContext->m_pDC, nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(DesktopUnlocked());
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|");
    ::DestroyWindow(hProbe);
}

TEST_F(DockContextTest, InputScreenShowsAThinFrameOverASideAHalftoneOneElsewhereAndNoneAfter) {
    HWND hProbe = MakeProbe();
    ASSERT_NE(hProbe, nullptr);
    // Around the client area, as far as the screen goes.
    g_rectShot = m_rectClient;
    g_rectShot.InflateRect(40, 40);
    g_rectShot &= CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    g_pShotContext = m_pA->m_pDockContext;
    g_shots.clear();
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();
    ::UpdateWindow(m_hFrame);
    const std::unique_ptr<CCanvas> pBefore = Shoot(g_rectShot);

    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, CPoint(m_rectClient.left + 8, m_rectClient.top + 200));
    ::PostMessage(hProbe, kProbeShoot, 0, 0);
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, m_rectClient.CenterPoint());
    ::PostMessage(hProbe, kProbeShoot, 0, 0);
    PostKey(m_pA, WM_KEYDOWN, VK_ESCAPE);
    m_pA->m_pDockContext->StartDrag(ptFrom);
    const std::unique_ptr<CCanvas> pAfter = Shoot(g_rectShot);
    ::DestroyWindow(hProbe);
    ASSERT_EQ(g_shots.size(), 2u);

    // A pixel of the screen (screen coordinates) before, during and after.
    auto pixel = [&](CCanvas& canvas, int x, int y) {
        return canvas.dc.GetPixel(x - g_rectShot.left, y - g_rectShot.top) & 0xFFFFFF;
    };
    auto inverted = [&](const SShot& shot, int x, int y) {
        return pixel(*shot.pCanvas, x, y) == (~pixel(*pBefore, x, y) & 0xFFFFFF);
    };
    auto unchanged = [&](const SShot& shot, int x, int y) {
        return pixel(*shot.pCanvas, x, y) == pixel(*pBefore, x, y);
    };

    // Over the left side: the vertical docked rectangle, 1 pixel thin.
    const SShot& thin = g_shots[0];
    EXPECT_EQ(thin.size, CSize(1, 1));
    EXPECT_FALSE(thin.bDither);
    EXPECT_EQ(thin.rect.Size(), kVert);
    for (int y = thin.rect.top + 10; y < thin.rect.bottom - 10; y += 25) {
        SCOPED_TRACE(y);
        EXPECT_TRUE(inverted(thin, thin.rect.left, y));
        EXPECT_TRUE(inverted(thin, thin.rect.right - 1, y));
        EXPECT_TRUE(unchanged(thin, thin.rect.left + 1, y));
        EXPECT_TRUE(unchanged(thin, thin.rect.right + 1, y));
    }
    // Over the pane: the floating frame, thick and every other pixel.
    const SShot& thick = g_shots[1];
    EXPECT_TRUE(thick.bDither);
    EXPECT_GE(thick.size.cx, 2);
    const int y = thick.rect.CenterPoint().y;
    EXPECT_NE(inverted(thick, thick.rect.left, y), inverted(thick, thick.rect.left + 1, y));
    EXPECT_NE(inverted(thick, thick.rect.right - 1, y), inverted(thick, thick.rect.right - 2, y));
    EXPECT_TRUE(unchanged(thick, thick.rect.left + thick.size.cx + 1, y));

    // Cancelled, the screen is as it was.
    int nDiffer = 0;
    for (int x = g_rectShot.left; x < g_rectShot.right; x += 3) {
        for (int yy = g_rectShot.top; yy < g_rectShot.bottom; yy += 7)
            nDiffer += pixel(*pAfter, x, yy) != pixel(*pBefore, x, yy) ? 1 : 0;
    }
    EXPECT_EQ(nDiffer, 0);
    g_shots.clear();
}

TEST_F(DockContextTest, InputQuitDuringTheDragCancelsItAndIsPostedAgain) {
    const CRect rectBefore = ChildRect(m_pA);
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, m_rectClient.CenterPoint());
    ::PostQuitMessage(7);
    m_pA->m_pDockContext->StartDrag(ptFrom);

    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(ChildRect(m_pA), rectBefore);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(DesktopUnlocked());
    EXPECT_EQ(TakeQuitMessage(), 7);
}

TEST_F(DockContextTest, InputDragDoesNotStartWhileAnotherWindowHoldsTheMouse) {
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, "Static", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10),
                               &m_pane, 1));
    ::SetCapture(other.m_hWnd);
    ASSERT_EQ(::GetCapture(), other.m_hWnd);
    const CRect rectBefore = ChildRect(m_pA);
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    CRect rectScreen = ScreenRect(m_pA);
    rectScreen.InflateRect(0, 0, 10, 10);
    ::UpdateWindow(m_hFrame);
    const std::unique_ptr<CCanvas> pBefore = Shoot(rectScreen);
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, m_rectClient.CenterPoint());
    m_pA->m_pDockContext->StartDrag(ptFrom);

    EXPECT_EQ(ChildRect(m_pA), rectBefore);
    // The bar's place on the screen shows no frame.
    const std::unique_ptr<CCanvas> pAfter = Shoot(rectScreen);
    int nDiffer = 0;
    for (int y = 0; y < rectScreen.Height(); ++y) {
        for (int x = 0; x < rectScreen.Width(); x += 2)
            nDiffer += pBefore->dc.GetPixel(x, y) != pAfter->dc.GetPixel(x, y) ? 1 : 0;
    }
    EXPECT_EQ(nDiffer, 0);
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    // Nothing drawn, nothing locked, nothing held.
    CDockContext* pContext = m_pA->m_pDockContext;
    EXPECT_EQ(pContext->m_pDC, nullptr);
    EXPECT_FALSE(pContext->m_bLocked);
    EXPECT_EQ(pContext->m_sizeLast, CSize(0, 0));
    EXPECT_TRUE(::LockWindowUpdate(other.m_hWnd));
    ::LockWindowUpdate(nullptr);
    // The other window keeps the mouse, and the queue keeps its messages.
    EXPECT_EQ(::GetCapture(), other.m_hWnd);
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, m_pA->m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    ::ReleaseCapture();
    other.DestroyWindow();
}

// Real mouse input: the press reaches the bar, whose drag loop then reads the
// moves and the release that a timer sends while it runs.
void SendMouse(CPoint pt, DWORD dwButton) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (pt.x * 65535 + ::GetSystemMetrics(SM_CXSCREEN) / 2) /
                  (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (pt.y * 65535 + ::GetSystemMetrics(SM_CYSCREEN) / 2) /
                  (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | dwButton;
    ::SendInput(1, &input, sizeof input);
}

TEST_F(DockContextTest, InputRealMouseDragsTheBarToTheRightSide) {
    ::SetForegroundWindow(m_hFrame);
    const CPoint ptFrom = OnBar(m_pA, 10, 10);
    const CPoint ptTo(m_rectClient.right - 5, m_rectClient.top + 180);
    SendMouse(ptFrom, 0);
    ASSERT_TRUE(PumpUntil([&] {
        POINT pt;
        ::GetCursorPos(&pt);
        return CPoint(pt) == ptFrom;
    }));
    int nStep = 0;
    CUiScript script({
        [&] { return m_pA->m_pDockContext->m_bDragging != FALSE; },
        [&] {
            SendMouse(Mid(ptFrom, ptTo), 0);
            return true;
        },
        [&] {
            SendMouse(ptTo, 0);
            return true;
        },
        [&] {
            SendMouse(ptTo, MOUSEEVENTF_LEFTUP);
            ++nStep;
            return true;
        },
    });
    SendMouse(ptFrom, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return m_pA->m_pDockBar == DockBar(AFX_IDW_DOCKBAR_RIGHT); }));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(nStep, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(DesktopUnlocked());
}

// ---- Double click and toggle.

TEST_F(DockContextTest, ToggleDockingReturnsToTheSameDockBarAndRowAndFloatingPlace) {
    CDragBar* pB = MakeBar();
    m_pFrame->DockControlBar(pB, AFX_IDW_DOCKBAR_TOP); // a row of its own, under A
    m_pFrame->RecalcLayout();
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|A|B|");
    const CRect rectDocked = ChildRect(pB);

    pB->m_pDockContext->ToggleDocking();
    ASSERT_TRUE(pB->IsFloating());
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|A|#B|");
    const CPoint ptFloat = ScreenRect(FloatingFrameOf(pB)).TopLeft();
    EXPECT_EQ(pB->m_pDockContext->m_ptMRUFloatPos, ptFloat);
    // Moved while floating: the next float comes back here.
    const CPoint ptMoved = ptFloat + CSize(30, 40);
    m_pFrame->FloatControlBar(pB, ptMoved, CBRS_ALIGN_TOP);

    pB->m_pDockContext->ToggleDocking();
    EXPECT_FALSE(pB->IsFloating());
    EXPECT_EQ(pB->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|A|B|");
    EXPECT_EQ(ChildRect(pB), rectDocked);

    pB->m_pDockContext->ToggleDocking();
    ASSERT_TRUE(pB->IsFloating());
    EXPECT_EQ(ScreenRect(FloatingFrameOf(pB)).TopLeft(), ptMoved);
}

TEST_F(DockContextTest, ABarThatNeverDockedTogglesToTheFirstSideItMayTake) {
    CDragBar* pB = MakeBar(0, CBRS_ALIGN_RIGHT | CBRS_ALIGN_LEFT);
    m_pFrame->FloatControlBar(pB, CPoint(200, 200), CBRS_ALIGN_TOP);
    ASSERT_TRUE(pB->IsFloating());
    pB->m_pDockContext->ToggleDocking();
    EXPECT_EQ(pB->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(pB->GetBarStyle() & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
}

TEST_F(DockContextTest, DoubleClicksOnTheBarAndOnTheFloatingCaptionToggle) {
    m_pA->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    CFrameWnd* pFloating = FloatingFrameOf(m_pA);
    ASSERT_NE(pFloating, nullptr);
    const HWND hFloating = pFloating->m_hWnd;
    CRect rect = ScreenRect(hFloating);
    pFloating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rect.left + 20, rect.top + 5));
    EXPECT_FALSE(::IsWindow(hFloating));
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(ArrayOf(AFX_IDW_DOCKBAR_TOP), "|A|");
}

// ---- The floating frame's mouse.

TEST_F(DockContextTest, InputPressOnTheFloatingCaptionDragsTheBar) {
    m_pFrame->FloatControlBar(m_pA, CPoint(300, 250), CBRS_ALIGN_TOP);
    CFrameWnd* pFloating = FloatingFrameOf(m_pA);
    ASSERT_NE(pFloating, nullptr);
    const CRect rect = ScreenRect(pFloating);
    const CPoint ptFrom(rect.left + 20, rect.top + 5);
    const CPoint ptTo(m_rectClient.left + 150, m_rectClient.bottom - 4);
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();
    PostTo(m_pA, WM_MOUSEMOVE, MK_LBUTTON, ptTo);
    PostTo(m_pA, WM_LBUTTONUP, 0, ptTo);
    pFloating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptFrom.x, ptFrom.y));
    EXPECT_EQ(m_pA->m_pDockBar, DockBar(AFX_IDW_DOCKBAR_BOTTOM));
}

TEST_F(DockContextTest, FloatingFrameBordersMoveItUnlessTheBarSizesItself) {
    CDragBar* pSizing = MakeBar(CBRS_SIZE_DYNAMIC);
    m_pFrame->FloatControlBar(m_pA, CPoint(300, 250), CBRS_ALIGN_TOP);
    m_pFrame->FloatControlBar(pSizing, CPoint(600, 250), CBRS_ALIGN_TOP);
    struct Case {
        const char* name;
        CControlBar* pBar;
        UINT nLeftEdge, nTopLeftCorner, nCaption;
    };
    const Case cases[] = {
        {"fixed bar: the whole frame moves", m_pA, HTCAPTION, HTCAPTION, HTCAPTION},
        {"sizing bar: four sides", pSizing, HTLEFT, HTLEFT, HTCAPTION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFrameWnd* pFloating = FloatingFrameOf(c.pBar);
        ASSERT_NE(pFloating, nullptr);
        const CRect rect = ScreenRect(pFloating);
        auto hit = [&](int x, int y) {
            return pFloating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y));
        };
        EXPECT_EQ(hit(rect.left + 1, rect.CenterPoint().y), static_cast<LRESULT>(c.nLeftEdge));
        EXPECT_EQ(hit(rect.left + 1, rect.top + 1), static_cast<LRESULT>(c.nTopLeftCorner));
        EXPECT_EQ(hit(rect.left + 20, rect.top + ::GetSystemMetrics(SM_CYFRAME) + 3),
                  static_cast<LRESULT>(c.nCaption));
        // A press on the frame's border or caption leaves the owner active.
        EXPECT_EQ(pFloating->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_hFrame),
                                         MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN)),
                  MA_NOACTIVATE);
    }
}

TEST_F(DockContextTest, InputCancelModesEndsAnotherWindowsCaptureButNotTheReceiversOwn) {
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, "Static", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10),
                               &m_pane, 1));
    ::SetCapture(other.m_hWnd);
    AfxCancelModes(other.m_hWnd);
    EXPECT_EQ(::GetCapture(), other.m_hWnd);
    AfxCancelModes(m_hFrame);
    EXPECT_EQ(::GetCapture(), nullptr);
    other.DestroyWindow();
}

// ---- The resize of a floating frame.

struct SResizeCase {
    const char* name;
    int nHitTest;
    CSize move;
    CSize expectedBar; // as the bar snaps it
    bool bLeftMoves, bTopMoves;
};

const SResizeCase kResizeCases[] = {
    {"right edge, out", HTRIGHT, {37, 5}, {130, 60}, false, false},
    {"left edge, in", HTLEFT, {33, 0}, {60, 60}, true, false},
    {"bottom edge, out", HTBOTTOM, {0, 45}, {100, 100}, false, false},
    {"top edge, out", HTTOP, {0, -25}, {100, 80}, false, true},
};

TEST_F(DockContextTest, InputResizeAsksTheBarAndKeepsTheOppositeEdges) {
    for (const SResizeCase& c : kResizeCases) {
        SCOPED_TRACE(c.name);
        CDragBar* pBar = MakeBar(CBRS_SIZE_DYNAMIC);
        m_pFrame->FloatControlBar(pBar, CPoint(300, 300), CBRS_ALIGN_TOP);
        CFrameWnd* pFloating = FloatingFrameOf(pBar);
        ASSERT_NE(pFloating, nullptr);
        const CRect rectBefore = ScreenRect(pFloating);
        CRect rectClient;
        pFloating->GetClientRect(&rectClient);
        ASSERT_EQ(rectClient.Size(), CSize(100 - 2 * B2X, 60 - 2 * B2Y));

        const CPoint ptFrom = rectBefore.CenterPoint();
        ::SetCursorPos(ptFrom.x, ptFrom.y);
        PumpPending();
        PostTo(pBar, WM_MOUSEMOVE, MK_LBUTTON, ptFrom + c.move);
        PostTo(pBar, WM_LBUTTONUP, 0, ptFrom + c.move);
        pBar->m_pDockContext->StartResize(c.nHitTest, ptFrom);

        EXPECT_EQ(pBar->m_sizeFloat, c.expectedBar);
        EXPECT_EQ(pBar->m_nCommits, 1);
        const CRect rectAfter = ScreenRect(pFloating);
        pFloating->GetClientRect(&rectClient);
        EXPECT_EQ(rectClient.Size(), c.expectedBar - CSize(2 * B2X, 2 * B2Y));
        const CSize grown = rectAfter.Size() - rectBefore.Size();
        EXPECT_EQ(grown, c.expectedBar - CSize(100, 60));
        EXPECT_EQ(rectAfter.left, c.bLeftMoves ? rectBefore.left - grown.cx : rectBefore.left);
        EXPECT_EQ(rectAfter.top, c.bTopMoves ? rectBefore.top - grown.cy : rectBefore.top);
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_TRUE(DesktopUnlocked());
    }
}

TEST_F(DockContextTest, InputResizeEndsOnQuitAndEscapeWithoutChangingTheBar) {
    CDragBar* pBar = MakeBar(CBRS_SIZE_DYNAMIC);
    m_pFrame->FloatControlBar(pBar, CPoint(300, 300), CBRS_ALIGN_TOP);
    CFrameWnd* pFloating = FloatingFrameOf(pBar);
    const CRect rectBefore = ScreenRect(pFloating);
    const CPoint ptFrom = rectBefore.CenterPoint();
    ::SetCursorPos(ptFrom.x, ptFrom.y);
    PumpPending();

    PostTo(pBar, WM_MOUSEMOVE, MK_LBUTTON, ptFrom + CSize(50, 0));
    PostKey(pBar, WM_KEYDOWN, VK_ESCAPE);
    pBar->m_pDockContext->StartResize(HTRIGHT, ptFrom);
    EXPECT_EQ(ScreenRect(pFloating), rectBefore);

    PostTo(pBar, WM_MOUSEMOVE, MK_LBUTTON, ptFrom + CSize(50, 0));
    ::PostQuitMessage(3);
    pBar->m_pDockContext->StartResize(HTRIGHT, ptFrom);
    EXPECT_EQ(ScreenRect(pFloating), rectBefore);
    EXPECT_EQ(pBar->m_nCommits, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(DesktopUnlocked());
    EXPECT_EQ(TakeQuitMessage(), 3);
}

// ---- Which side takes a rectangle.

TEST_F(DockContextTest, CanDockAnswersTheSideWhoseDockBarTheRectangleTouches) {
    const CRect& rc = m_rectClient;
    struct Case {
        const char* name;
        CRect rect;
        DWORD dwDockStyle;
        DWORD dwExpected;
        UINT nExpectedID;
    };
    const Case cases[] = {
        {"on the bars of the top",
         {rc.left + 300, rc.top + 5, rc.left + 400, rc.top + 20},
         CBRS_ALIGN_ANY,
         CBRS_ALIGN_TOP,
         AFX_IDW_DOCKBAR_TOP},
        {"top not allowed",
         {rc.left + 300, rc.top + 5, rc.left + 400, rc.top + 20},
         CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM,
         0,
         0},
        {"empty left side, touched",
         {rc.left - 20, rc.top + 100, rc.left + 1, rc.top + 200},
         CBRS_ALIGN_ANY,
         CBRS_ALIGN_LEFT,
         AFX_IDW_DOCKBAR_LEFT},
        {"empty right side, touched",
         {rc.right - 1, rc.top + 100, rc.right + 30, rc.top + 200},
         CBRS_ALIGN_ANY,
         CBRS_ALIGN_RIGHT,
         AFX_IDW_DOCKBAR_RIGHT},
        {"empty bottom side, touched",
         {rc.left + 100, rc.bottom - 1, rc.left + 200, rc.bottom + 9},
         CBRS_ALIGN_ANY,
         CBRS_ALIGN_BOTTOM,
         AFX_IDW_DOCKBAR_BOTTOM},
        {"near but not on the left",
         {rc.left + 3, rc.top + 100, rc.left + 60, rc.top + 200},
         CBRS_ALIGN_ANY,
         0,
         0},
        {"the middle of the pane",
         {rc.left + 200, rc.top + 200, rc.left + 300, rc.top + 230},
         CBRS_ALIGN_ANY,
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDockBar* pDockBar = reinterpret_cast<CDockBar*>(1);
        EXPECT_EQ(m_pFrame->CanDock(c.rect, c.dwDockStyle, &pDockBar), c.dwExpected);
        EXPECT_EQ(pDockBar, c.nExpectedID != 0 ? DockBar(c.nExpectedID) : nullptr);
        EXPECT_EQ(m_pFrame->CanDock(c.rect, c.dwDockStyle), c.dwExpected);
    }
    // A hidden dock bar takes nothing.
    DockBar(AFX_IDW_DOCKBAR_LEFT)->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_pFrame->CanDock(CRect(rc.left - 20, rc.top + 100, rc.left + 1, rc.top + 200),
                                CBRS_ALIGN_ANY),
              0u);
}

} // namespace
