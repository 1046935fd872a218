// Tests of CBufferDC: a paint draws into the memory bitmap only, and the
// window gets the finished picture when the context goes.
#include "native/gtest.h"

#include "BufferDC.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/UiScript.h"

namespace {

CAnsweringApp theApp;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 200, 0);
const COLORREF kRed = RGB(220, 0, 0);

// A scope-like window: black, a green frame, a red bar and a text, painted in
// steps through the buffer. It notes what the window itself showed while the
// picture was being painted.
class CScopeWnd : public CWnd {
public:
    bool m_bPainted = false;
    bool m_bBuffered = false;
    COLORREF m_crWindowDuringPaint = CLR_INVALID;
    COLORREF m_crBufferDuringPaint = CLR_INVALID;

protected:
    afx_msg void OnPaint() {
        CBufferDC dc(this);
        m_bBuffered = dc.IsBuffered() != FALSE;
        CRect rect;
        GetClientRect(&rect);
        dc.FillSolidRect(&rect, kBlack);
        CBrush brushGreen(kGreen);
        dc.FrameRect(&rect, &brushGreen);
        dc.FillSolidRect(CRect(20, 20, 120, 40), kRed);
        dc.SetTextColor(kGreen);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(20, 60, "00:01:30");
        m_crBufferDuringPaint = dc.GetPixel(30, 30);
        HDC hWindowDC = ::GetDC(m_hWnd);
        m_crWindowDuringPaint = ::GetPixel(hWindowDC, 30, 30);
        ::ReleaseDC(m_hWnd, hWindowDC);
        m_bPainted = true;
    }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScopeWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

TEST(BufferDCTest, ScreenPaintGoesToTheBufferAndReachesTheWindowWhole) {
    smalldlg::CHostWnd host;
    ASSERT_TRUE(host.Make("Scope", CRect(80, 80, 480, 280)));
    CScopeWnd scope;
    ASSERT_TRUE(scope.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE,
                               CRect(10, 10, 310, 130), &host, 1052));
    // The window shows white before the paint.
    HDC hWindowDC = ::GetDC(scope.m_hWnd);
    ::PatBlt(hWindowDC, 0, 0, 300, 120, WHITENESS);
    ::ReleaseDC(scope.m_hWnd, hWindowDC);
    scope.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(scope.m_bPainted);
    EXPECT_TRUE(scope.m_bBuffered);
    EXPECT_EQ(Hex(scope.m_crBufferDuringPaint), Hex(kRed));
    EXPECT_NE(Hex(scope.m_crWindowDuringPaint), Hex(kRed));

    Settle(200);
    CRect rectScope;
    scope.GetWindowRect(&rectScope);
    CCanvas screen(rectScope.Width(), rectScope.Height());
    CaptureScreen(screen, rectScope);
    EXPECT_EQ(Hex(screen.dc.GetPixel(30, 30)), Hex(kRed));
    EXPECT_EQ(Hex(screen.dc.GetPixel(0, 0)), Hex(kGreen));
    EXPECT_EQ(Hex(screen.dc.GetPixel(150, 100)), Hex(kBlack));
    // The text went to the buffer too.
    EXPECT_GT(screen.Count(kGreen, CRect(20, 60, 120, 80)), 10);
    CRect rectHost;
    host.GetWindowRect(&rectHost);
    EXPECT_TRUE(SaveScreenPng(rectHost, "BufferDC.png"));
    scope.DestroyWindow();
}

} // namespace
