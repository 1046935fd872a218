// Tests of CRectTracker: the size rules of a dragged handle, the inverted
// drag frame of CDC::DrawDragRect, and the drag loop driven by posted mouse
// and key messages (its ends: kept, cancelled, quit, not started).
#include "Dc.h"
#include "FrameWnd.h"
#include "Gdi.h"
#include "RectTracker.h"

#include "native/gtest.h"
#include "tests/support/UiScript.h"

#include <vector>

namespace {

// ---- Size rules.

struct SAdjustCase {
    const char* name;
    int nHandle;
    CRect rect; // as the drag made it
    CSize sizeMin;
    BOOL bAllowInvert;
    CRect expected;
};

const SAdjustCase kAdjustCases[] = {
    {"move keeps anything",
     CRectTracker::hitMiddle,
     {50, 60, 52, 61},
     {20, 20},
     FALSE,
     {50, 60, 52, 61}},
    {"left edge wide enough",
     CRectTracker::hitLeft,
     {10, 0, 100, 50},
     {20, 20},
     FALSE,
     {10, 0, 100, 50}},
    {"left edge stops short of the right",
     CRectTracker::hitLeft,
     {95, 0, 100, 50},
     {20, 20},
     FALSE,
     {80, 0, 100, 50}},
    {"left edge may not pass the right",
     CRectTracker::hitLeft,
     {130, 0, 100, 50},
     {0, 0},
     FALSE,
     {100, 0, 100, 50}},
    {"left edge passes the right when inverting",
     CRectTracker::hitLeft,
     {130, 0, 100, 50},
     {20, 20},
     TRUE,
     {130, 0, 100, 50}},
    {"inverted left edge kept the minimum beyond",
     CRectTracker::hitLeft,
     {105, 0, 100, 50},
     {20, 20},
     TRUE,
     {120, 0, 100, 50}},
    {"right edge stops short of the left",
     CRectTracker::hitRight,
     {0, 0, 5, 50},
     {20, 20},
     FALSE,
     {0, 0, 20, 50}},
    {"bottom edge stops short of the top",
     CRectTracker::hitBottom,
     {0, 40, 90, 45},
     {20, 30},
     FALSE,
     {0, 40, 90, 70}},
    {"top edge alone leaves x",
     CRectTracker::hitTop,
     {0, 45, 5, 50},
     {20, 30},
     FALSE,
     {0, 20, 5, 50}},
    {"corner holds both edges",
     CRectTracker::hitBottomRight,
     {10, 10, 12, 13},
     {20, 30},
     FALSE,
     {10, 10, 30, 40}},
    {"opposite corner",
     CRectTracker::hitTopLeft,
     {10, 10, 12, 13},
     {20, 30},
     FALSE,
     {-8, -17, 12, 13}},
};

TEST(RectTracker, AdjustRectHoldsTheMinimumSizeOfDraggedEdges) {
    for (const SAdjustCase& c : kAdjustCases) {
        CRectTracker tracker;
        tracker.m_sizeMin = c.sizeMin;
        tracker.m_bAllowInvert = c.bAllowInvert;
        CRect rect = c.rect;
        tracker.AdjustRect(c.nHandle, &rect);
        EXPECT_EQ(rect, c.expected) << c.name;
    }
}

// ---- Drag frames.

// A white memory bitmap to draw frames on.
class DragRectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = kSize;
        bmi.bmiHeader.biHeight = -kSize;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        HBITMAP hBitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_pPixels = static_cast<const DWORD*>(pBits);
        ASSERT_NE(hBitmap, nullptr);
        ASSERT_TRUE(m_bitmap.Attach(hBitmap));
        m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kSize, kSize, RGB(255, 255, 255));
    }
    // Read from the bits: asking the context pixel by pixel is slow.
    int CountNonWhite() {
        ::GdiFlush();
        int n = 0;
        for (int i = 0; i < kSize * kSize; ++i)
            n += (m_pPixels[i] & 0xFFFFFF) != 0xFFFFFF;
        return n;
    }
    static const int kSize = 80;
    CDC m_dc;
    CBitmap m_bitmap;
    const DWORD* m_pPixels = nullptr;
};

struct SPixel {
    int x;
    int y;
    bool bInverted;
};

TEST_F(DragRectTest, MovingAFrameRepaintsOnlyWhatDiffersAndErasingRestores) {
    CBrush white(RGB(255, 255, 255)); // inverts white to black
    const CRect rectFirst(10, 10, 50, 40);
    const CRect rectSecond(20, 20, 60, 50);
    m_dc.DrawDragRect(&rectFirst, CSize(2, 2), nullptr, CSize(0, 0), &white);
    const SPixel kFirst[] = {{10, 10, true},  {11, 20, true}, {12, 20, false},
                             {30, 25, false}, {49, 39, true}, {50, 40, false}};
    for (const SPixel& p : kFirst)
        EXPECT_EQ(m_dc.GetPixel(p.x, p.y) == RGB(0, 0, 0), p.bInverted) << p.x << "," << p.y;
    EXPECT_EQ(CountNonWhite(), 40 * 30 - 36 * 26);

    m_dc.DrawDragRect(&rectSecond, CSize(2, 2), &rectFirst, CSize(2, 2), &white);
    const SPixel kSecond[] = {{10, 10, false}, {49, 25, false}, {20, 20, true},
                              {21, 30, true},  {59, 49, true},  {48, 20, true}};
    for (const SPixel& p : kSecond)
        EXPECT_EQ(m_dc.GetPixel(p.x, p.y) == RGB(0, 0, 0), p.bInverted) << p.x << "," << p.y;
    EXPECT_EQ(CountNonWhite(), 40 * 30 - 36 * 26);

    m_dc.DrawDragRect(&rectSecond, CSize(0, 0), &rectSecond, CSize(2, 2), &white);
    EXPECT_EQ(CountNonWhite(), 0);
}

TEST_F(DragRectTest, HalftoneFramesWithTwoBrushesEraseCleanly) {
    CBrush white(RGB(255, 255, 255));
    const CRect rectFirst(5, 5, 40, 40);
    const CRect rectSecond(15, 15, 70, 60);
    m_dc.DrawDragRect(&rectFirst, CSize(3, 3), nullptr, CSize(0, 0));
    int nHalftone = CountNonWhite();
    // Every other pixel of the 3-pixel frame.
    EXPECT_NEAR(nHalftone, (35 * 35 - 29 * 29) / 2, 2);
    m_dc.DrawDragRect(&rectSecond, CSize(1, 1), &rectFirst, CSize(3, 3), &white,
                      CDC::GetHalftoneBrush());
    EXPECT_EQ(CountNonWhite(), 55 * 45 - 53 * 43);
    m_dc.DrawDragRect(&rectSecond, CSize(0, 0), &rectSecond, CSize(1, 1), nullptr, &white);
    EXPECT_EQ(CountNonWhite(), 0);
}

TEST_F(DragRectTest, FramesStayInsideTheCallersClipping) {
    CBrush white(RGB(255, 255, 255));
    const CRect rect(10, 10, 50, 40);
    m_dc.IntersectClipRect(0, 0, 30, kSize);
    m_dc.DrawDragRect(&rect, CSize(2, 2), nullptr, CSize(0, 0), &white);
    EXPECT_EQ(m_dc.GetPixel(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetPixel(49, 39), RGB(255, 255, 255));
    CRect rectClip;
    m_dc.GetClipBox(&rectClip);
    EXPECT_EQ(rectClip, CRect(0, 0, 30, kSize));
}

// ---- The drag loop.

// Records what the drag asks it to draw.
class CRecordingTracker : public CRectTracker {
public:
    struct SDraw {
        BOOL bErase;
        BOOL bFinalErase;
    };
    void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override {
        m_draws.push_back({m_bErase, m_bFinalErase});
        CRectTracker::DrawTrackerRect(lpRect, pWndClipTo, pDC, pWnd);
    }
    CSize LastFrameSize() const { return m_sizeLast; }
    std::vector<SDraw> m_draws;
};

class TrackInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Track", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(0, 0, 400, 300)));
        m_hFrame = m_pFrame->m_hWnd;
        ::UpdateWindow(m_hFrame);
        // The pointer rests on the press, so moves the system makes up for
        // it cannot move the rectangle.
        CPoint pt = kPress;
        ::ClientToScreen(m_hFrame, &pt);
        ::SetCursorPos(pt.x, pt.y);
        PumpPending();
    }
    void TearDown() override {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        while (TakeQuitMessage() != -1) {
        }
    }
    void Post(UINT nMsg, WPARAM wParam, CPoint pt) {
        ::PostMessage(m_hFrame, nMsg, wParam, MAKELPARAM(pt.x, pt.y));
    }
    static constexpr POINT kPress = {100, 100};
    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
};

struct STrackCase {
    const char* name;
    int nHandle;
    CPoint ptRelease;
    CRect expected;
};

const STrackCase kTrackCases[] = {
    {"move", CRectTracker::hitMiddle, {130, 90}, {80, 50, 180, 110}},
    {"right edge", CRectTracker::hitRight, {140, 130}, {50, 60, 190, 120}},
    {"bottom-left corner", CRectTracker::hitBottomLeft, {90, 120}, {40, 60, 150, 140}},
    {"top edge held at the minimum", CRectTracker::hitTop, {100, 200}, {50, 110, 150, 120}},
};

TEST_F(TrackInputTest, ReleaseKeepsTheDraggedRectangle) {
    for (const STrackCase& c : kTrackCases) {
        CRecordingTracker tracker;
        tracker.m_rect.SetRect(50, 60, 150, 120);
        tracker.m_sizeMin = CSize(10, 10);
        Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(110, 105));
        Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(120, 115));
        Post(WM_LBUTTONUP, 0, c.ptRelease);
        EXPECT_TRUE(tracker.TrackHandle(c.nHandle, m_pFrame, kPress, nullptr)) << c.name;
        EXPECT_EQ(tracker.m_rect, c.expected) << c.name;
        EXPECT_EQ(::GetCapture(), nullptr) << c.name;
        // Drawn first, erased last, and nothing left on the screen.
        ASSERT_GE(tracker.m_draws.size(), 2u) << c.name;
        EXPECT_FALSE(tracker.m_draws.front().bErase) << c.name;
        EXPECT_TRUE(tracker.m_draws.back().bFinalErase) << c.name;
        EXPECT_EQ(tracker.LastFrameSize(), CSize(0, 0)) << c.name;
        PumpPending();
    }
}

struct SCancelCase {
    const char* name;
    UINT nMsg;
    WPARAM wParam;
};

const SCancelCase kCancelCases[] = {
    {"escape", WM_KEYDOWN, VK_ESCAPE},
    {"right button", WM_RBUTTONDOWN, MK_RBUTTON},
};

TEST_F(TrackInputTest, EscapeOrRightButtonPutsTheRectangleBack) {
    for (const SCancelCase& c : kCancelCases) {
        CRecordingTracker tracker;
        tracker.m_rect.SetRect(50, 60, 150, 120);
        Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(140, 140));
        Post(c.nMsg, c.wParam, CPoint(140, 140));
        Post(WM_LBUTTONUP, 0, CPoint(140, 140)); // after the cancel: not the drag's
        EXPECT_FALSE(tracker.TrackHandle(CRectTracker::hitMiddle, m_pFrame, kPress, nullptr))
            << c.name;
        EXPECT_EQ(tracker.m_rect, CRect(50, 60, 150, 120)) << c.name;
        EXPECT_EQ(::GetCapture(), nullptr) << c.name;
        EXPECT_EQ(tracker.LastFrameSize(), CSize(0, 0)) << c.name;
        MSG msg;
        EXPECT_TRUE(::PeekMessage(&msg, m_hFrame, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) << c.name;
        PumpPending();
    }
}

TEST_F(TrackInputTest, QuitDuringTheDragCancelsItAndIsPostedAgain) {
    CRecordingTracker tracker;
    tracker.m_rect.SetRect(50, 60, 150, 120);
    Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(140, 140));
    ::PostQuitMessage(7);
    EXPECT_FALSE(tracker.TrackHandle(CRectTracker::hitMiddle, m_pFrame, kPress, nullptr));
    EXPECT_EQ(tracker.m_rect, CRect(50, 60, 150, 120));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(TakeQuitMessage(), 7);
}

TEST_F(TrackInputTest, DragDoesNotStartWhileAnotherWindowHoldsTheMouse) {
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, "Static", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10),
                               m_pFrame, 1));
    ::SetCapture(other.m_hWnd);
    ASSERT_EQ(::GetCapture(), other.m_hWnd);
    CRecordingTracker tracker;
    tracker.m_rect.SetRect(50, 60, 150, 120);
    Post(WM_MOUSEMOVE, MK_LBUTTON, CPoint(140, 140));
    EXPECT_FALSE(tracker.TrackHandle(CRectTracker::hitMiddle, m_pFrame, kPress, nullptr));
    EXPECT_EQ(tracker.m_rect, CRect(50, 60, 150, 120));
    EXPECT_TRUE(tracker.m_draws.empty());
    // The other window keeps the mouse, and the queue keeps its messages.
    EXPECT_EQ(::GetCapture(), other.m_hWnd);
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, m_hFrame, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    ::ReleaseCapture();
    other.DestroyWindow();
}

} // namespace
