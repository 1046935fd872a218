// Tests of COXSkinnedTabCtrl and COXSkinnedSpinCtrl without a skinned
// application: each control's own Classic tab skin, the arrows subclassed at
// the first paint, an erase that paints nothing, and the shared hover hook
// that makes arrows the mouse leaves repaint once, which stays for the
// remaining arrows when other arrows go.
#include "native/gtest.h"

#include "toolkit/OXSkinnedTabCtrl.h"
#include "toolkit/OXTabSkin.h"

#include "framework/WinApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <map>
#include <memory>

namespace {

CWinApp theApp;

const COLORREF kUnpainted = RGB(1, 2, 3);

// Counts the WM_MOUSEMOVE messages with no arguments that windows receive:
// what the hover hook sends to arrows the mouse has left.
std::map<HWND, int> g_leaveMoves;
std::map<HWND, LONG_PTR> g_previousProcs; // the procedures replaced, as window longs

LRESULT CALLBACK CountingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE && wParam == 0 && lParam == 0)
        ++g_leaveMoves[hWnd];
    return ::CallWindowProcA(reinterpret_cast<WNDPROC>(g_previousProcs[hWnd]), hWnd, message,
                             wParam, lParam);
}

void CountLeaveMoves(HWND hWnd) {
    g_previousProcs[hWnd] =
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
}

class SkinnedTabCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "Tabs",
                                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 500, 300,
                                    nullptr, nullptr));
        g_leaveMoves.clear();
    }
    void TearDown() override {
        for (auto& pTabs : m_tabs)
            pTabs.reset();
        m_host.DestroyWindow();
        PumpPending();
    }

    // A control with more tabs than fit, so the system shows its arrows,
    // painted once so that the arrows are subclassed.
    COXSkinnedTabCtrl& MakeCrowded(int nIndex, int y) {
        m_tabs[nIndex] = std::make_unique<COXSkinnedTabCtrl>();
        COXSkinnedTabCtrl& tabs = *m_tabs[nIndex];
        EXPECT_TRUE(
            tabs.Create(WS_CHILD | WS_VISIBLE, CRect(10, y, 250, y + 80), &m_host, 100 + nIndex));
        const char* texts[] = {"January", "February", "March", "April", "May", "June", "July"};
        for (int i = 0; i < 7; ++i)
            tabs.InsertItem(i, texts[i]);
        tabs.UpdateWindow();
        return tabs;
    }
    static CPoint SpinCentre(COXSkinnedTabCtrl& tabs) {
        CRect rect;
        tabs.m_spin.GetWindowRect(&rect);
        return rect.CenterPoint();
    }
    void MoveCursor(CPoint pt) {
        ::SetCursorPos(pt.x, pt.y);
        Settle(150);
    }

    CWnd m_host;
    std::unique_ptr<COXSkinnedTabCtrl> m_tabs[2];
};

} // namespace

TEST_F(SkinnedTabCtrlTest, WithoutASkinnedAppEachControlMakesItsOwnClassicSkin) {
    COXSkinnedTabCtrl& a = MakeCrowded(0, 10);
    COXSkinnedTabCtrl& b = MakeCrowded(1, 110);
    COXTabSkin* pA = a.GetTabSkin();
    COXTabSkin* pB = b.GetTabSkin();
    EXPECT_NE(dynamic_cast<COXTabSkinClassic*>(pA), nullptr);
    EXPECT_NE(dynamic_cast<COXTabSkinClassic*>(pB), nullptr);
    EXPECT_NE(pA, pB);
    EXPECT_EQ(a.GetTabSkin(), pA); // made once
    COXTabSkin* pSpinA = a.m_spin.GetTabSkin();
    EXPECT_NE(dynamic_cast<COXTabSkinClassic*>(pSpinA), nullptr);
    EXPECT_NE(pSpinA, pA);
    EXPECT_EQ(a.m_spin.GetTabSkin(), pSpinA);
    EXPECT_EQ(a.GetRuntimeClass(), RUNTIME_CLASS(COXSkinnedTabCtrl));
    // The Classic paint leaves the arrows to the system: it does not look for them.
    EXPECT_EQ(a.m_spin.m_hWnd, nullptr);
}

TEST_F(SkinnedTabCtrlTest, ErasingTheArrowsPaintsNothing) {
    COXSkinnedTabCtrl& tabs = MakeCrowded(0, 10);
    HWND hSpin = ::FindWindowExA(tabs.m_hWnd, nullptr, UPDOWN_CLASSA, nullptr);
    ASSERT_NE(hSpin, nullptr);
    ASSERT_TRUE(tabs.m_spin.SubclassWindow(hSpin));
    CCanvas canvas(40, 40, kUnpainted);
    EXPECT_EQ(tabs.m_spin.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc.m_hDC)),
              TRUE);
    EXPECT_EQ(canvas.Count(kUnpainted, CRect(0, 0, 40, 40)), 40 * 40);
}

TEST_F(SkinnedTabCtrlTest, ArrowsTheMouseLeavesRepaintOnceWhileAnyArrowsLiveCursor) {
    COXSkinnedTabCtrl& a = MakeCrowded(0, 10);
    COXSkinnedTabCtrl& b = MakeCrowded(1, 110);
    // Classic paints leave the arrows alone: subclass them as the XP paint would.
    for (COXSkinnedTabCtrl* pTabs : {&a, &b}) {
        HWND hSpin = ::FindWindowExA(pTabs->m_hWnd, nullptr, UPDOWN_CLASSA, nullptr);
        ASSERT_NE(hSpin, nullptr);
        ASSERT_TRUE(pTabs->m_spin.SubclassWindow(hSpin));
    }
    const HWND hSpinA = a.m_spin.m_hWnd;
    CountLeaveMoves(hSpinA);
    CRect rectHost;
    m_host.GetWindowRect(&rectHost);
    const CPoint ptOff(rectHost.right - 20, rectHost.bottom - 20);

    struct Step {
        const char* name;
        int nLeaves; // counted by arrows A after the step
    } steps[] = {{"while both arrows live", 1}, {"after arrows B went", 2}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        MoveCursor(ptOff);
        MoveCursor(SpinCentre(a));
        MoveCursor(CPoint(SpinCentre(a).x - 1, SpinCentre(a).y)); // within A: nothing
        EXPECT_EQ(g_leaveMoves[hSpinA], step.nLeaves - 1);
        MoveCursor(ptOff);
        EXPECT_EQ(g_leaveMoves[hSpinA], step.nLeaves);
        // Arrows B go with their control's window; A's hover hook must stay.
        if (m_tabs[1] != nullptr)
            m_tabs[1]->DestroyWindow();
    }
}
