// Tests of CProgressWnd, the progress window of long operations: its layout
// and owner, the bar's range, the message shown as it stands, cancelling with
// Esc, with the button and with a release over the button while modal, the
// main window given back after a modal cancel, and the pump's handling of
// the quit message.
#include "native/gtest.h"

#include "ProgressWnd.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::WindowText;

const char kTitle[] = "Compiling";

CRect WindowRectOf(HWND hWnd) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return rect;
}

// A child's rectangle in its parent's client coordinates.
CRect ChildRect(HWND hWndParent, int nID) {
    CRect rect = WindowRectOf(::GetDlgItem(hWndParent, nID));
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The height of "M" in the font the window's message control shows.
int LetterHeight(HWND hWndMessage) {
    HDC hDC = ::GetDC(hWndMessage);
    HGDIOBJ hOld =
        ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageA(hWndMessage, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32A(hDC, "M", 1, &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hWndMessage, hDC);
    return size.cy;
}

class ProgressWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make("Progress host", CRect(100, 80, 900, 680)));
        Settle(100);
    }

    // A progress window pumped until the message reached the thread's queue
    // is used up; whether it was cancelled.
    static bool PumpAfterPost(CProgressWnd& wnd, BOOL bCancelOnEsc) {
        wnd.PumpMessages(bCancelOnEsc);
        return wnd.IsCancelled() != FALSE;
    }

    CHostWnd m_host;
};

TEST_F(ProgressWndTest, ScreenLayoutFitsTheMessageLinesTheBarAndTheButton) {
    CProgressWnd wnd(nullptr, kTitle);
    ASSERT_TRUE(::IsWindow(wnd.m_hWnd));
    wnd.SetMessageText("Compiling Recording List...\n\nReading 12 of 40 recordings found.");
    wnd.SetProgressRange(0, 40, 1);
    wnd.SetProgressPos(12);
    Settle();

    EXPECT_EQ(WindowText(wnd.m_hWnd), kTitle);
    EXPECT_TRUE(wnd.IsWindowVisible());
    EXPECT_EQ(wnd.GetStyle() & (WS_POPUP | WS_CAPTION), static_cast<DWORD>(WS_POPUP | WS_CAPTION));
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_DLGMODALFRAME);
    // Without a parent the main window owns it, and it stands centred over it.
    EXPECT_EQ(::GetWindow(wnd.m_hWnd, GW_OWNER), m_host.m_hWnd);
    const CPoint ptHost = WindowRectOf(m_host.m_hWnd).CenterPoint();
    const CPoint ptWnd = WindowRectOf(wnd.m_hWnd).CenterPoint();
    EXPECT_LE(std::abs(ptHost.x - ptWnd.x), 1);
    EXPECT_LE(std::abs(ptHost.y - ptWnd.y), 1);

    const HWND hWndMessage = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kMessageId);
    const HWND hWndButton = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kCancelId);
    ASSERT_NE(hWndMessage, nullptr);
    ASSERT_NE(hWndButton, nullptr);
    ASSERT_NE(::GetDlgItem(wnd.m_hWnd, CProgressWnd::kProgressId), nullptr);
    EXPECT_EQ(WindowText(hWndButton), " Cancel ");
    EXPECT_EQ(::GetWindowLongA(hWndMessage, GWL_STYLE) & SS_NOPREFIX, SS_NOPREFIX);

    const CRect rectMessage = ChildRect(wnd.m_hWnd, CProgressWnd::kMessageId);
    const CRect rectButton = ChildRect(wnd.m_hWnd, CProgressWnd::kCancelId);
    const CRect rectBar = ChildRect(wnd.m_hWnd, CProgressWnd::kProgressId);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    EXPECT_EQ(rectMessage, CRect(10, 10, 400, 10 + 4 * LetterHeight(hWndMessage)));
    EXPECT_EQ(rectButton.top, rectMessage.bottom + 10);
    EXPECT_EQ(rectButton.right, rectMessage.right);
    EXPECT_EQ(rectBar.left, rectMessage.left);
    EXPECT_EQ(rectBar.right, rectButton.left - 10);
    EXPECT_EQ(rectBar.top, rectButton.top + cyEdge);
    EXPECT_EQ(rectBar.bottom, rectButton.bottom - cyEdge);
    CRect rectClient;
    wnd.GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.Width(), 410);
    EXPECT_EQ(rectClient.Height(), rectMessage.Height() + rectButton.Height() + 30);

    EXPECT_TRUE(SaveScreenPng(WindowRectOf(wnd.m_hWnd), "ProgressWnd.png"));
}

TEST_F(ProgressWndTest, GivenParentOwnsTheWindow) {
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "Other", WS_POPUP | WS_VISIBLE,
                               CRect(0, 0, 200, 100), nullptr, 0));
    CProgressWnd wnd(&other, kTitle);
    EXPECT_EQ(::GetWindow(wnd.m_hWnd, GW_OWNER), other.m_hWnd);
}

TEST_F(ProgressWndTest, BarRangeDefaultsAndFollowsTheOwner) {
    CProgressWnd wnd(nullptr, kTitle, TRUE);
    const HWND hWndBar = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kProgressId);
    EXPECT_TRUE(::GetWindowLongA(hWndBar, GWL_STYLE) & PBS_SMOOTH);

    // Before any range: 0 to 100.
    EXPECT_EQ(wnd.SetProgressPos(50), 0);
    PBRANGE range = {};
    ::SendMessageA(hWndBar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(::SendMessageA(hWndBar, PBM_GETPOS, 0, 0), 50);

    wnd.SetProgressRange(10, 70000, 7);
    EXPECT_EQ(wnd.SetProgressPos(65000), 50);
    ::SendMessageA(hWndBar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 10);
    EXPECT_EQ(range.iHigh, 70000);
    EXPECT_EQ(::SendMessageA(hWndBar, PBM_GETPOS, 0, 0), 65000);
    ::SendMessageA(hWndBar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(::SendMessageA(hWndBar, PBM_GETPOS, 0, 0), 65007);
}

// What an owner sets before the window exists is kept and shown once it does;
// until then the operations do nothing.
TEST_F(ProgressWndTest, WithoutWindowOperationsOnlyKeepTheirValues) {
    CProgressWnd wnd;
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    wnd.SetProgressRange(0, 20, 2);
    EXPECT_EQ(wnd.SetProgressPos(5), 0);
    EXPECT_EQ(wnd.SetProgressPos(6), 0); // nothing was stored without a window
    wnd.SetMessageText("ignored");
    wnd.PumpMessages();
    wnd.ShowProgressWindow();
    wnd.HideWindow();
    EXPECT_FALSE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);

    ASSERT_TRUE(wnd.CreateProgressWindow(nullptr, kTitle));
    const HWND hWndBar = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kProgressId);
    PBRANGE range = {};
    ::SendMessageA(hWndBar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iHigh, 20);
}

// The message is never read as a format, and a long one is cut to 511 bytes.
TEST_F(ProgressWndTest, MessageTextIsShownAsItStands) {
    CProgressWnd wnd(nullptr, kTitle);
    const HWND hWndMessage = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kMessageId);
    const std::string strLong(700, 'x');
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"100%s done %n%d%%", "100%s done %n%d%%"},
        {"Reading 3 of 9 recordings found.", "Reading 3 of 9 recordings found."},
        {"", ""},
        {strLong, strLong.substr(0, 511)},
    };
    for (const auto& c : cases) {
        wnd.SetMessageText(c.text.c_str());
        EXPECT_EQ(WindowText(hWndMessage), c.shown) << c.text.substr(0, 40);
    }
}

// Esc cancels only when the owner pumps with the flag set.
TEST_F(ProgressWndTest, EscCancelsOnlyWithTheFlag) {
    for (const BOOL bFlag : {TRUE, FALSE}) {
        CProgressWnd wnd(nullptr, kTitle);
        ASSERT_TRUE(wnd.PostMessage(WM_CHAR, VK_ESCAPE, 1));
        EXPECT_EQ(PumpAfterPost(wnd, bFlag), bFlag != FALSE) << "flag " << bFlag;
        EXPECT_EQ(wnd.IsWindowVisible() != FALSE, bFlag == FALSE) << "flag " << bFlag;
    }
}

TEST_F(ProgressWndTest, CancelButtonCancelsAndHides) {
    CProgressWnd wnd(nullptr, kTitle);
    wnd.SetProgressPos(10);
    const HWND hWndButton = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kCancelId);
    ::SendMessageA(hWndButton, BM_CLICK, 0, 0);
    EXPECT_TRUE(wnd.IsCancelled());
    EXPECT_FALSE(wnd.IsWindowVisible());
    EXPECT_FALSE(wnd.GetStyle() & WS_VISIBLE);
    // Not modal: the window stays for its owner to destroy, and a step that
    // the owner reports before it polls does not show it again.
    PumpPending();
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    EXPECT_EQ(wnd.SetProgressPos(11), 10);
    EXPECT_FALSE(wnd.IsWindowVisible());
}

// A release over the button, without the press the button itself would need,
// cancels while the window is modal and is left to the button otherwise.
TEST_F(ProgressWndTest, CursorReleaseOverCancelCancelsOnlyWhileModal) {
    for (const bool bModal : {true, false}) {
        CProgressWnd wnd(nullptr, kTitle);
        if (bModal) {
            ASSERT_TRUE(wnd.MakeModal());
        }
        const HWND hWndButton = ::GetDlgItem(wnd.m_hWnd, CProgressWnd::kCancelId);
        const CPoint ptButton = WindowRectOf(hWndButton).CenterPoint();
        ::SetCursorPos(ptButton.x, ptButton.y);
        ASSERT_TRUE(::PostMessageA(hWndButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)));
        EXPECT_EQ(PumpAfterPost(wnd, FALSE), bModal) << "modal " << bModal;
        ::SetCursorPos(0, 0);
    }
}

// Elsewhere the release does nothing even while modal.
TEST_F(ProgressWndTest, CursorReleaseBesideCancelDoesNotCancel) {
    CProgressWnd wnd(nullptr, kTitle);
    ASSERT_TRUE(wnd.MakeModal());
    const CRect rectButton = WindowRectOf(::GetDlgItem(wnd.m_hWnd, CProgressWnd::kCancelId));
    ::SetCursorPos(rectButton.left - 5, rectButton.top + 2);
    ASSERT_TRUE(wnd.PostMessage(WM_LBUTTONUP, 0, 0));
    EXPECT_FALSE(PumpAfterPost(wnd, FALSE));
    ::SetCursorPos(0, 0);
}

TEST_F(ProgressWndTest, MakeModalDisablesTheMainWindowAndDestroyGivesItBack) {
    CProgressWnd wnd;
    ASSERT_TRUE(wnd.MakeModal(kTitle));
    EXPECT_EQ(::GetWindow(wnd.m_hWnd, GW_OWNER), m_host.m_hWnd);
    EXPECT_EQ(WindowText(wnd.m_hWnd), kTitle);
    EXPECT_FALSE(m_host.IsWindowEnabled());
    EXPECT_TRUE(wnd.IsWindowEnabled());
    // A second call changes nothing, and one destroy still gives the input back.
    ASSERT_TRUE(wnd.MakeModal());
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(m_host.IsWindowEnabled());
    EXPECT_FALSE(::IsWindow(wnd.m_hWnd));
}

TEST_F(ProgressWndTest, DestructorGivesTheMainWindowBack) {
    {
        CProgressWnd wnd(nullptr, kTitle);
        ASSERT_TRUE(wnd.MakeModal());
        EXPECT_FALSE(m_host.IsWindowEnabled());
    }
    EXPECT_TRUE(m_host.IsWindowEnabled());
}

// A real Esc while the owner pumps a modal window: the window closes itself,
// and the main window is enabled and in front again.
TEST_F(ProgressWndTest, FocusInputEscOnModalWindowGivesTheMainWindowBack) {
    m_host.SetForegroundWindow();
    CProgressWnd wnd(nullptr, kTitle);
    ASSERT_TRUE(wnd.MakeModal());
    wnd.PumpMessages();
    ASSERT_TRUE(::GetFocus() == wnd.m_hWnd || ::IsChild(wnd.m_hWnd, ::GetFocus()));
    SendKeyTap(VK_ESCAPE);
    const DWORD dwStart = ::GetTickCount();
    while (!wnd.IsCancelled() && ::GetTickCount() - dwStart < 5000) {
        wnd.PumpMessages();
        ::Sleep(10);
    }
    ASSERT_TRUE(wnd.IsCancelled());
    EXPECT_TRUE(PumpUntil([&wnd] { return !::IsWindow(wnd.m_hWnd); }));
    EXPECT_TRUE(m_host.IsWindowEnabled());
    EXPECT_TRUE(PumpUntil([this] { return ::GetForegroundWindow() == m_host.m_hWnd; }));
    // The owner's own destroy afterwards finds nothing left to do.
    EXPECT_FALSE(wnd.DestroyWindow());
    EXPECT_TRUE(m_host.IsWindowEnabled());
}

// A real click on the button of a modal window, taken by the pump's check of
// the release.
TEST_F(ProgressWndTest, FocusInputClickOnCancelWhileModal) {
    m_host.SetForegroundWindow();
    CProgressWnd wnd(nullptr, kTitle);
    ASSERT_TRUE(wnd.MakeModal());
    wnd.PumpMessages();
    SendMouseMove(WindowRectOf(::GetDlgItem(wnd.m_hWnd, CProgressWnd::kCancelId)).CenterPoint());
    SendLeftClick();
    const DWORD dwStart = ::GetTickCount();
    while (!wnd.IsCancelled() && ::GetTickCount() - dwStart < 5000) {
        wnd.PumpMessages();
        ::Sleep(10);
    }
    EXPECT_TRUE(wnd.IsCancelled());
    EXPECT_TRUE(PumpUntil([&wnd] { return !::IsWindow(wnd.m_hWnd); }));
    EXPECT_TRUE(m_host.IsWindowEnabled());
    SendMouseMove(CPoint(0, 0));
}

// The pump stops at the quit message and leaves it for the thread's own loop.
TEST_F(ProgressWndTest, PumpLeavesTheQuitMessageForTheThreadsLoop) {
    CProgressWnd wnd(nullptr, kTitle);
    PumpPending();
    ::PostQuitMessage(7);
    wnd.PumpMessages();
    EXPECT_FALSE(wnd.IsCancelled());
    EXPECT_EQ(TakeQuitMessage(), 7);
}

} // namespace
