// Tests of COXRectTracker: the limit and one-direction rules of AdjustRect,
// the hit-code mapping of Track, its cancel by Escape, and the drag frame it
// draws and takes away again.
#include "toolkit/OXRectTracker.h"

#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "framework/Gdi.h"

#include "native/gtest.h"

#include <vector>

namespace {

CWinApp theApp;

struct SLimitCase {
    const char* name;
    int nHandle;
    UINT nStyle;
    CRect rectLimit;
    CRect rectStart;
    CRect rect; // as the drag made it
    CRect expected;
};

const SLimitCase kLimitCases[] = {
    // A horizontal strip dragged down: its top stays 10 above the limit's bottom.
    {"type-2 top stops 10 above the limit bottom", COXRectTracker::hitMiddle,
     COXRectTracker::vertOnly, CRect(0, 0, 300, 200), CRect(0, 50, 300, 54),
     CRect(0, 195, 300, 199), CRect(0, 190, 300, 194)},
    {"type-2 top at the limit top", COXRectTracker::hitMiddle, COXRectTracker::vertOnly,
     CRect(0, 20, 300, 200), CRect(0, 50, 300, 54), CRect(7, -40, 307, -36), CRect(0, 20, 300, 24)},
    {"type-2 inside the limit moves freely", COXRectTracker::hitMiddle, COXRectTracker::vertOnly,
     CRect(0, 0, 300, 200), CRect(0, 50, 300, 54), CRect(5, 80, 305, 84), CRect(0, 80, 300, 84)},
    // A vertical strip dragged right may reach the limit's right edge itself.
    {"type-1 left reaches the limit right", COXRectTracker::hitMiddle, COXRectTracker::horzOnly,
     CRect(10, 0, 250, 100), CRect(100, 0, 104, 100), CRect(400, 3, 404, 103),
     CRect(250, 0, 254, 100)},
    {"type-1 left at the limit left", COXRectTracker::hitMiddle, COXRectTracker::horzOnly,
     CRect(10, 0, 250, 100), CRect(100, 0, 104, 100), CRect(-50, 0, -46, 100),
     CRect(10, 0, 14, 100)},
    {"the lower bound wins over a limit too short", COXRectTracker::hitMiddle, 0,
     CRect(0, 100, 50, 105), CRect(0, 0, 10, 10), CRect(0, 120, 10, 130), CRect(0, 100, 10, 110)},
    {"no limit: only the direction holds", COXRectTracker::hitMiddle, COXRectTracker::horzOnly,
     CRect(0, 0, 0, 0), CRect(100, 0, 104, 100), CRect(900, 40, 904, 140), CRect(900, 0, 904, 100)},
    {"an edge drag is cut to the limit", COXRectTracker::hitRight, 0, CRect(0, 0, 100, 100),
     CRect(10, 10, 50, 50), CRect(10, 10, 180, 50), CRect(10, 10, 100, 50)},
    {"an edge drag keeps the start's top and bottom with horzOnly", COXRectTracker::hitBottomRight,
     COXRectTracker::horzOnly, CRect(0, 0, 0, 0), CRect(10, 10, 50, 50), CRect(10, 10, 70, 90),
     CRect(10, 10, 70, 50)},
};

TEST(OXRectTrackerTest, AdjustRectHoldsTheRectangleInItsLimitAndDirection) {
    for (const SLimitCase& c : kLimitCases) {
        SCOPED_TRACE(c.name);
        COXRectTracker tracker;
        tracker.m_nStyle = c.nStyle;
        tracker.m_rectLimit = c.rectLimit;
        tracker.m_rectStart = c.rectStart;
        CRect rect = c.rect;
        tracker.AdjustRect(c.nHandle, &rect);
        EXPECT_EQ(rect, c.expected);
    }
}

// A plain window to drag in, and the posted messages a user's drag makes.
class OXRectTrackerDragTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_wnd.CreateEx(0, "Static", "drag", WS_POPUP | WS_VISIBLE,
                                   CRect(100, 100, 500, 400), nullptr, 0));
    }
    void TearDown() override {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        m_wnd.DestroyWindow();
    }
    void Post(UINT message, WPARAM wParam, CPoint pt) {
        ::PostMessage(m_wnd.m_hWnd, message, wParam, MAKELPARAM(pt.x, pt.y));
    }
    CWnd m_wnd;
};

TEST_F(OXRectTrackerDragTest, TrackMapsTheHitCodeToTheEdgesThatMove) {
    struct Case {
        int nHitTest;
        CRect expected; // from (100, 100, 200, 160) dragged by (+10, +20)
    };
    const Case cases[] = {
        {HTLEFT, {110, 100, 200, 160}},       {HTRIGHT, {100, 100, 210, 160}},
        {HTTOP, {100, 120, 200, 160}},        {HTBOTTOM, {100, 100, 200, 180}},
        {HTTOPLEFT, {110, 120, 200, 160}},    {HTTOPRIGHT, {100, 120, 210, 160}},
        {HTBOTTOMLEFT, {110, 100, 200, 180}}, {HTBOTTOMRIGHT, {100, 100, 210, 180}},
        {HTCAPTION, {110, 120, 210, 180}},    {HTCLIENT, {110, 120, 210, 180}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nHitTest);
        COXRectTracker tracker;
        tracker.m_rect = CRect(100, 100, 200, 160);
        const CPoint ptStart(150, 130);
        Post(WM_MOUSEMOVE, MK_LBUTTON, ptStart + CSize(10, 20));
        Post(WM_LBUTTONUP, 0, ptStart + CSize(10, 20));
        EXPECT_TRUE(tracker.Track(c.nHitTest, &m_wnd, ptStart));
        EXPECT_EQ(tracker.m_rect, c.expected);
        EXPECT_EQ(tracker.m_rectStart, CRect(100, 100, 200, 160));
        EXPECT_EQ(::GetCapture(), nullptr);
    }
}

TEST_F(OXRectTrackerDragTest, EscapeCancelsTheDragAndKeepsTheRectangle) {
    COXRectTracker tracker;
    tracker.m_rect = CRect(50, 50, 58, 250);
    tracker.m_nStyle = COXRectTracker::horzOnly;
    tracker.m_rectLimit = CRect(0, 0, 400, 300);
    Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(90, 100));
    Post(WM_KEYDOWN, VK_ESCAPE, CPoint(0, 0));
    EXPECT_FALSE(tracker.Track(HTCAPTION, &m_wnd, CPoint(54, 100)));
    EXPECT_EQ(tracker.m_rect, CRect(50, 50, 58, 250));
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(OXRectTrackerDragTest, TheLimitHoldsWhileDragging) {
    COXRectTracker tracker;
    tracker.m_rect = CRect(50, 50, 58, 250);
    tracker.m_nStyle = COXRectTracker::horzOnly;
    tracker.m_rectLimit = CRect(20, 0, 120, 300);
    Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(300, 10));
    Post(WM_LBUTTONUP, 0, CPoint(300, 10));
    EXPECT_TRUE(tracker.Track(HTCAPTION, &m_wnd, CPoint(54, 100)));
    EXPECT_EQ(tracker.m_rect, CRect(120, 50, 128, 250));
}

// Exposes the erase flags that the drag loop sets.
class CTestTracker : public COXRectTracker {
public:
    void Draw(const CRect& rect, CDC* pDC, BOOL bErase, BOOL bFinalErase) {
        m_bErase = bErase;
        m_bFinalErase = bFinalErase;
        DrawTrackerRect(&rect, nullptr, pDC, nullptr);
        m_bErase = m_bFinalErase = FALSE;
    }
};

std::vector<COLORREF> Pixels(CDC* pDC, int cx, int cy) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pixels.push_back(pDC->GetPixel(x, y));
    return pixels;
}

TEST(OXRectTrackerDrawTest, TheFrameIsTwoPixelsAndTheFinalEraseTakesItAway) {
    CClientDC dcScreen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&dcScreen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dcScreen, 60, 60));
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 60, 60, RGB(255, 255, 255));
    const std::vector<COLORREF> blank = Pixels(&dc, 60, 60);

    CTestTracker tracker;
    tracker.Draw(CRect(40, 40, 10, 10), &dc, FALSE, FALSE); // normalised before drawing
    const std::vector<COLORREF> drawn = Pixels(&dc, 60, 60);
    int nChanged = 0, nChangedInside = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            const bool bChanged = drawn[y * 60 + x] != blank[y * 60 + x];
            nChanged += bChanged ? 1 : 0;
            nChangedInside += bChanged && x >= 12 && x < 38 && y >= 12 && y < 38 ? 1 : 0;
            if (x < 10 || x >= 40 || y < 10 || y >= 40) {
                EXPECT_FALSE(bChanged) << x << "," << y;
            }
        }
    }
    EXPECT_GT(nChanged, 0);
    EXPECT_EQ(nChangedInside, 0); // a 2-pixel border, not a filled rectangle

    // An erase before a redraw draws nothing; the final erase restores all.
    tracker.Draw(CRect(10, 10, 40, 40), &dc, TRUE, FALSE);
    EXPECT_EQ(Pixels(&dc, 60, 60), drawn);
    tracker.Draw(CRect(10, 10, 40, 40), &dc, FALSE, TRUE);
    EXPECT_EQ(Pixels(&dc, 60, 60), blank);
    dc.SelectObject(pOld);
}

} // namespace
