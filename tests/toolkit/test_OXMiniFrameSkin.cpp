// Tests of the floating frames' skins: the Classic skin hands the frame to the
// system, the XP skin (also the Office 2003 skin's, in its colours) paints a
// flat border with rounded inner corners, a caption band and a close button
// whose hot and pressed states follow the real cursor and mouse button. The
// drawing is read back from the frame's window.
#include "native/gtest.h"

#include "toolkit/OXMiniFrameSkin.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"
#include "framework/MiniFrameWnd.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <string>

namespace {

COXSkinnedApp theApp;

const COLORREF kMarker = RGB(1, 2, 3); // a colour no skin draws here

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

COXSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return theApp.GetCurrentSkin();
}

// Where no window of the test lies.
const POINT kParking = {1270, 1010};

void ParkCursor() {
    ::SetCursorPos(kParking.x, kParking.y);
}

// A floating frame that paints through a mini-frame skin and counts the
// activation messages its own procedure sees.
class CSkinnedMiniFrame : public CMiniFrameWnd {
public:
    COXMiniFrameSkin* m_pSkin = nullptr;
    int m_nNcActivateSeen = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCACTIVATE)
            ++m_nNcActivateSeen;
        if (message == WM_NCPAINT && m_pSkin != nullptr) {
            m_pSkin->DrawNonClient(this);
            return 0;
        }
        return CMiniFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class MiniFrameSkinTest : public ::testing::Test {
protected:
    void SetUp() override { ParkCursor(); }
    void TearDown() override {
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        PumpPending();
    }

    // A visible floating frame of 200 x 150 at (100, 100).
    void MakeFrame(DWORD dwStyle, const char* pszTitle = "") {
        m_pFrame = new CSkinnedMiniFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, pszTitle, WS_VISIBLE | dwStyle,
                                     CRect(100, 100, 300, 250), nullptr));
        m_hFrame = m_pFrame->m_hWnd;
        PumpPending();
    }
    CRect WindowRect() {
        CRect rect;
        m_pFrame->GetWindowRect(&rect);
        return rect;
    }
    // The distance from the window's top to its client area's.
    int ClientTop() {
        CPoint pt(0, 0);
        m_pFrame->ClientToScreen(&pt);
        return pt.y - WindowRect().top;
    }
    COLORREF At(int x, int y) {
        CWindowDC dc(m_pFrame);
        return dc.GetPixel(x, y);
    }
    void FillWindow(COLORREF color) {
        CWindowDC dc(m_pFrame);
        dc.FillSolidRect(CRect(CPoint(0, 0), WindowRect().Size()), color);
    }
    CRect CloseButton(COXMiniFrameSkinXP* pSkin) {
        const CRect caption = pSkin->GetCaptionRect(m_pFrame);
        return CRect(caption.right - caption.Height(), caption.top, caption.right, caption.bottom);
    }

    CSkinnedMiniFrame* m_pFrame = nullptr; // deletes itself with its window
    HWND m_hFrame = nullptr;
};

COXMiniFrameSkinXP* XPSkinOf(COXSkin* pSkin) {
    return dynamic_cast<COXMiniFrameSkinXP*>(pSkin->GetMiniFrameSkin());
}

// ---- Office XP and Office 2003

TEST_F(MiniFrameSkinTest, CaptionRectLiesBetweenTheBorderAndTheClientArea) {
    COXMiniFrameSkinXP* pSkin = XPSkinOf(UseSkin("Office XP"));
    ASSERT_NE(pSkin, nullptr);
    for (DWORD dwStyle : {DWORD(MFS_THICKFRAME), DWORD(0)}) {
        MakeFrame(dwStyle);
        const int nWidth = WindowRect().Width();
        EXPECT_EQ(CRect(3, 3, nWidth - 3, ClientTop() - 2), pSkin->GetCaptionRect(m_pFrame))
            << Hex(dwStyle);
        m_pFrame->DestroyWindow();
    }
}

TEST_F(MiniFrameSkinTest, FlatBorderWithRoundedInnerCornersAndCaptionBandScreen) {
    for (const char* pszSkin : {"Office XP", "Office 2003"}) {
        COXSkinXP* pColours = dynamic_cast<COXSkinXP*>(UseSkin(pszSkin));
        COXMiniFrameSkinXP* pSkin = XPSkinOf(pColours);
        ASSERT_NE(pSkin, nullptr) << pszSkin;
        MakeFrame(MFS_THICKFRAME);
        FillWindow(kMarker);
        pSkin->DrawNonClient(m_pFrame);
        const COLORREF outer = pColours->GetMiniFrameBorderColor();
        const COLORREF inner = pColours->GetMiniFrameInnerColor();
        const COLORREF caption = pColours->GetMiniFrameCaptionColor();
        const int w = WindowRect().Width(), h = WindowRect().Height(), t = ClientTop();
        ASSERT_NE(outer, inner) << pszSkin;
        // The outer two pixels.
        EXPECT_EQ(outer, At(0, 0)) << pszSkin;
        EXPECT_EQ(outer, At(1, 60)) << pszSkin;
        EXPECT_EQ(outer, At(w - 1, h - 1)) << pszSkin;
        EXPECT_EQ(outer, At(100, h - 2)) << pszSkin;
        // The inner frame, its corners in the outer colour.
        EXPECT_EQ(inner, At(3, 2)) << pszSkin;
        EXPECT_EQ(inner, At(2, 60)) << pszSkin;
        EXPECT_EQ(inner, At(w - 3, 60)) << pszSkin;
        EXPECT_EQ(inner, At(3, h - 3)) << pszSkin;
        EXPECT_EQ(outer, At(2, 2)) << pszSkin;
        EXPECT_EQ(outer, At(w - 3, 2)) << pszSkin;
        EXPECT_EQ(outer, At(w - 3, h - 3)) << pszSkin;
        EXPECT_EQ(outer, At(2, h - 3)) << pszSkin;
        // The caption band from (3, 3) to (w - 3, t - 2), the close button at its end.
        const CRect close = CloseButton(pSkin);
        EXPECT_EQ(caption, At(3, 3)) << pszSkin;
        EXPECT_EQ(caption, At(close.left - 1, t - 3)) << pszSkin;
        EXPECT_EQ(inner, At(3, t - 2)) << pszSkin;
        EXPECT_EQ(caption, At(close.left + 1, close.top + 1)) << pszSkin;
        EXPECT_EQ(inner, At(w - 3, 10)) << pszSkin;
        // The client area is left alone.
        EXPECT_EQ(kMarker, At(50, t + 5)) << pszSkin;
        m_pFrame->DestroyWindow();
    }
}

// Pixels of the close button in one colour.
int CountInButton(CWnd* pFrame, const CRect& button, COLORREF color) {
    CWindowDC dc(pFrame);
    int n = 0;
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x)
            n += dc.GetPixel(x, y) == color ? 1 : 0;
    return n;
}

TEST_F(MiniFrameSkinTest, CloseButtonIdleHotAndPressedInput) {
    COXSkinXP* pColours = dynamic_cast<COXSkinXP*>(UseSkin("Office XP"));
    COXMiniFrameSkinXP* pSkin = XPSkinOf(pColours);
    // A thin border as well as a sizing one: the hover test must not assume one.
    for (DWORD dwStyle : {DWORD(MFS_THICKFRAME), DWORD(0)}) {
        MakeFrame(dwStyle, "Floating");
        const CRect window = WindowRect();
        const CRect close = CloseButton(pSkin);
        const CPoint ptOver(window.left + close.CenterPoint().x,
                            window.top + close.CenterPoint().y);
        const std::string where = Hex(dwStyle);

        ParkCursor();
        EXPECT_TRUE(pSkin->DrawCloseButton(m_pFrame)) << where;
        EXPECT_EQ(pColours->GetMiniFrameCaptionColor(), At(close.left, close.top)) << where;
        EXPECT_GT(CountInButton(m_pFrame, close, pColours->GetMiniFrameCaptionTextColor()), 0)
            << where;

        ::SetCursorPos(ptOver.x, ptOver.y);
        EXPECT_TRUE(pSkin->DrawCloseButton(m_pFrame)) << where;
        EXPECT_EQ(pColours->GetBorderColor(), At(close.left, close.top)) << where;
        EXPECT_EQ(pColours->GetHotColor(), At(close.left + 1, close.top + 1)) << where;
        EXPECT_GT(CountInButton(m_pFrame, close, Sys(COLOR_BTNTEXT)), 0) << where;
        // Its edges exactly, from the real window position: the first row
        // counts, the last row and column and the column before it do not.
        struct Edge {
            int x, y;
            bool hot;
        } edges[] = {{close.CenterPoint().x, close.top, true},
                     {close.left, close.CenterPoint().y, true},
                     {close.right - 1, close.CenterPoint().y, false},
                     {close.CenterPoint().x, close.bottom - 1, false},
                     {close.left - 1, close.CenterPoint().y, false}};
        for (const Edge& edge : edges) {
            ::SetCursorPos(window.left + edge.x, window.top + edge.y);
            pSkin->DrawCloseButton(m_pFrame);
            EXPECT_EQ(edge.hot ? pColours->GetBorderColor() : pColours->GetMiniFrameCaptionColor(),
                      At(close.left, close.top))
                << where << " at " << edge.x << "," << edge.y;
        }

        // Pressed where nothing takes the press, then held over the button.
        ParkCursor();
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        ::SetCursorPos(ptOver.x, ptOver.y);
        pSkin->DrawCloseButton(m_pFrame);
        const COLORREF pressedCorner = At(close.left + 1, close.top + 1);
        const int nHighlightText = CountInButton(m_pFrame, close, Sys(COLOR_HIGHLIGHTTEXT));
        // Held but off the button: the idle look.
        ParkCursor();
        pSkin->DrawCloseButton(m_pFrame);
        const COLORREF offCorner = At(close.left + 1, close.top + 1);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(pColours->GetPressedColor(), pressedCorner) << where << " " << Hex(pressedCorner);
        EXPECT_GT(nHighlightText, 0) << where;
        EXPECT_EQ(pColours->GetMiniFrameCaptionColor(), offCorner) << where;
        m_pFrame->DestroyWindow();
        PumpPending();
    }
}

TEST_F(MiniFrameSkinTest, EmptySystemMenuMeansNoButtonButHandledScreen) {
    COXMiniFrameSkinXP* pSkin = XPSkinOf(UseSkin("Office 2003"));
    MakeFrame(MFS_THICKFRAME, "Floating");
    HMENU hMenu = ::GetSystemMenu(m_hFrame, FALSE);
    ASSERT_NE(hMenu, nullptr);
    while (::GetMenuItemCount(hMenu) > 0)
        ::DeleteMenu(hMenu, 0, MF_BYPOSITION);
    FillWindow(kMarker);
    const CRect close = CloseButton(pSkin);
    EXPECT_TRUE(pSkin->DrawCloseButton(m_pFrame));
    EXPECT_EQ(close.Width() * close.Height(), CountInButton(m_pFrame, close, kMarker));
    // The caption is still drawn, without the button.
    pSkin->DrawCaption(m_pFrame);
    const COLORREF caption =
        dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin())->GetMiniFrameCaptionColor();
    EXPECT_EQ(caption, At(4, 4));
    EXPECT_EQ(close.Width() * close.Height(), CountInButton(m_pFrame, close, caption));
}

TEST_F(MiniFrameSkinTest, XPActivationIsAnsweredWithoutRepaintingScreen) {
    COXMiniFrameSkinXP* pSkin = XPSkinOf(UseSkin("Office XP"));
    MakeFrame(MFS_THICKFRAME);
    FillWindow(kMarker);
    const int nSeen = m_pFrame->m_nNcActivateSeen;
    EXPECT_TRUE(pSkin->OnNcActivate(TRUE, m_pFrame));
    EXPECT_TRUE(pSkin->OnNcActivate(FALSE, m_pFrame));
    EXPECT_EQ(kMarker, At(10, 1));
    EXPECT_EQ(kMarker, At(WindowRect().Width() / 2, ClientTop() / 2));
    EXPECT_EQ(nSeen, m_pFrame->m_nNcActivateSeen);
}

// ---- Classic

TEST_F(MiniFrameSkinTest, ClassicLeavesTheFrameToTheSystemScreen) {
    COXMiniFrameSkin* pSkin = UseSkin("Classic")->GetMiniFrameSkin();
    ASSERT_NE(pSkin, nullptr);
    EXPECT_EQ(nullptr, dynamic_cast<COXMiniFrameSkinXP*>(pSkin));
    MakeFrame(MFS_THICKFRAME, "Floating");
    m_pFrame->m_pSkin = pSkin;
    FillWindow(kMarker);
    // Nothing of its own: no caption, no close button.
    pSkin->DrawCaption(m_pFrame);
    EXPECT_FALSE(pSkin->DrawCloseButton(m_pFrame));
    EXPECT_EQ(kMarker, At(10, 1));
    EXPECT_EQ(kMarker, At(WindowRect().Width() - 10, ClientTop() / 2));
    // Outside a WM_NCPAINT there is no message to default: nothing happens.
    pSkin->DrawNonClient(m_pFrame);
    EXPECT_EQ(kMarker, At(0, 0));
    // Inside one the system paints the border.
    m_pFrame->SendMessage(WM_NCPAINT, 1, 0);
    EXPECT_NE(kMarker, At(0, 0));
    EXPECT_NE(kMarker, At(WindowRect().Width() / 2, ClientTop() / 2));
}

TEST_F(MiniFrameSkinTest, ClassicActivationGoesStraightToTheDefaultProcedure) {
    COXMiniFrameSkin* pSkin = UseSkin("Classic")->GetMiniFrameSkin();
    MakeFrame(MFS_THICKFRAME, "Floating");
    const int nSeen = m_pFrame->m_nNcActivateSeen;
    EXPECT_TRUE(pSkin->OnNcActivate(TRUE, m_pFrame));
    EXPECT_TRUE(pSkin->OnNcActivate(FALSE, m_pFrame));
    // The frame's own procedure was not entered again.
    EXPECT_EQ(nSeen, m_pFrame->m_nNcActivateSeen);
}

} // namespace
